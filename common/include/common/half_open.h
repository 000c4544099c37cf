// The rectangle rules shared by the planar predicates, the shape classes and
// the bulk queries. A rectangle is given by its minimum and maximum corners
// and is never sorted or repaired; an inverted (empty) one satisfies none of
// these rules.
#ifndef KELVOR_COMMON_HALF_OPEN_H
#define KELVOR_COMMON_HALF_OPEN_H

#include "kelvor/types.h"

namespace kelvor::detail {

// Half-open: min.x <= x < max.x and min.y <= y < max.y.
inline bool half_open_holds(const tagPOINT& min, const tagPOINT& max, const tagPOINT& p) {
  return min.x <= p.x && p.x < max.x && min.y <= p.y && p.y < max.y;
}

// A point meets a rectangle as above, except that the top edge
// (y == max.y) counts.
inline bool point_meets_rect(const tagPOINT& min, const tagPOINT& max, const tagPOINT& p) {
  return min.x <= p.x && p.x < max.x && min.y <= p.y && p.y <= max.y;
}

// Strict overlap: rectangles sharing only an edge or a corner do not overlap.
inline bool rects_overlap(const tagPOINT& min1, const tagPOINT& max1, const tagPOINT& min2,
                          const tagPOINT& max2) {
  return min1.x < max2.x && min1.y < max2.y && max1.x > min2.x && max1.y > min2.y;
}

}  // namespace kelvor::detail

#endif  // KELVOR_COMMON_HALF_OPEN_H
