// The three rectangle rules the shape relations evaluate inline. None holds
// for an empty rectangle, so callers need no separate emptiness test.
#ifndef KELVOR_SHAPES_RECT_RULES_H
#define KELVOR_SHAPES_RECT_RULES_H

#include "kelvor/shapes.h"

namespace kelvor::detail {

// Half-open: ptMin.x <= x < ptMax.x and ptMin.y <= y < ptMax.y.
inline bool rect_holds(const KRECT& r, const tagPOINT& q) {
  return r.ptMin.x <= q.x && q.x < r.ptMax.x && r.ptMin.y <= q.y && q.y < r.ptMax.y;
}

// Point meets rectangle: as above but the top edge (y == ptMax.y) counts.
inline bool rect_meets_point(const KRECT& r, const tagPOINT& q) {
  return r.ptMin.x <= q.x && q.x < r.ptMax.x && r.ptMin.y <= q.y && q.y <= r.ptMax.y;
}

// Strict overlap: sharing only an edge or a corner is not overlapping.
inline bool rects_overlap(const KRECT& a, const KRECT& b) {
  return a.ptMin.x < b.ptMax.x && a.ptMin.y < b.ptMax.y && a.ptMax.x > b.ptMin.x &&
         a.ptMax.y > b.ptMin.y;
}

}  // namespace kelvor::detail

#endif  // KELVOR_SHAPES_RECT_RULES_H
