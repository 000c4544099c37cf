// Region codes and edge segments of a half-open rectangle given by its
// minimum and maximum corners; shared by the segment tests and clipping.
#ifndef KELVOR_PLANAR_RECT_EDGES_H
#define KELVOR_PLANAR_RECT_EDGES_H

#include "kelvor/planar.h"
#include "kelvor/types.h"

namespace kelvor::detail {

enum RegionBits : int { kLeft = 1, kRight = 2, kBelow = 4, kAbove = 8 };

// 0 inside the half-open rectangle; otherwise left/right and below/above bits.
inline int region_code(const tagPOINT& p, const tagPOINT& min, const tagPOINT& max) {
  int code = 0;
  if (p.x < min.x)
    code = kLeft;
  else if (p.x >= max.x)
    code = kRight;
  if (p.y < min.y)
    code |= kBelow;
  else if (p.y >= max.y)
    code |= kAbove;
  return code;
}

enum class Edge { kLeft, kTop, kRight, kBottom };

struct EdgeSegment {
  tagPOINT from;
  tagPOINT to;
};

// Edge endpoints in the library's fixed order: left runs up, top runs left,
// right runs down, bottom runs right.
inline EdgeSegment edge_segment(Edge e, const tagPOINT& min, const tagPOINT& max) {
  switch (e) {
    case Edge::kLeft: return {{min.x, min.y}, {min.x, max.y}};
    case Edge::kTop: return {{max.x, max.y}, {min.x, max.y}};
    case Edge::kRight: return {{max.x, max.y}, {max.x, min.y}};
    case Edge::kBottom: break;
  }
  return {{min.x, min.y}, {max.x, min.y}};
}

// Up to two edges to try, in order, for one region code.
struct EdgeOrder {
  int count;
  Edge edges[2];
};

// Tries the edges of `order` against segment p-q and stops at the first that
// the segment meets, writing the crossing to out when out is not null.
inline bool meets_first_edge(const tagPOINT& p, const tagPOINT& q, const EdgeOrder& order,
                             const tagPOINT& min, const tagPOINT& max, tagPOINT* out) {
  for (int i = 0; i < order.count; ++i) {
    const EdgeSegment e = edge_segment(order.edges[i], min, max);
    if (Segment_Segment_Intersect(&p, &q, &e.from, &e.to, out)) return true;
  }
  return false;
}

}  // namespace kelvor::detail

#endif  // KELVOR_PLANAR_RECT_EDGES_H
