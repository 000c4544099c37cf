// In-place clipping of a rectangle and of a segment to a half-open rectangle.
// A rejected case writes nothing.
#include "common/wrap.h"
#include "kelvor/planar.h"
#include "rect_edges.h"

namespace {

using kelvor::detail::Edge;
using kelvor::detail::EdgeSegment;
using kelvor::detail::kAbove;
using kelvor::detail::kBelow;
using kelvor::detail::kLeft;
using kelvor::detail::kRight;

bool crossing(const tagPOINT& p, const tagPOINT& q, Edge edge, const tagPOINT& min,
              const tagPOINT& max, tagPOINT* out) {
  const EdgeSegment e = kelvor::detail::edge_segment(edge, min, max);
  return Segment_Segment_Intersect(&p, &q, &e.from, &e.to, out) != 0;
}

// The segment's point on the edge's line when the crossing search finds none
// because the boxes only touch: an endpoint already on the line is that point;
// a segment lying along the edge's perpendicular boundary (both ends on one
// line y == min.y or x == min.x) meets the line at (line, its y) or (its x,
// line). Anything else keeps the fallback value.
tagPOINT point_on_line(const tagPOINT& p, const tagPOINT& q, Edge edge, const tagPOINT& min,
                       const tagPOINT& max, const tagPOINT& fallback) {
  if (edge == Edge::kLeft || edge == Edge::kRight) {
    const std::int32_t x = edge == Edge::kLeft ? min.x : max.x;
    if (p.x == x) return p;
    if (q.x == x) return q;
    if (p.y == q.y) return {x, p.y};
  } else {
    const std::int32_t y = edge == Edge::kBottom ? min.y : max.y;
    if (p.y == y) return p;
    if (q.y == y) return q;
    if (p.x == q.x) return {p.x, y};
  }
  return fallback;
}

tagPOINT crossing_or_point_on_line(const tagPOINT& p, const tagPOINT& q, Edge edge,
                                   const tagPOINT& min, const tagPOINT& max,
                                   const tagPOINT& fallback) {
  tagPOINT c;
  if (crossing(p, q, edge, min, max, &c)) return c;
  return point_on_line(p, q, edge, min, max, fallback);
}

// Edges the outside endpoint's code selects when the other end is inside.
kelvor::detail::EdgeOrder clip_edges_for(std::int32_t code) {
  switch (code) {
    case kLeft: return {1, {Edge::kLeft, Edge::kLeft}};
    case kRight: return {1, {Edge::kRight, Edge::kRight}};
    case kBelow: return {1, {Edge::kBottom, Edge::kBottom}};
    case kAbove: return {1, {Edge::kTop, Edge::kTop}};
    case kLeft | kAbove: return {2, {Edge::kLeft, Edge::kTop}};
    case kRight | kAbove: return {2, {Edge::kTop, Edge::kRight}};
    case kRight | kBelow: return {2, {Edge::kBottom, Edge::kRight}};
    case kLeft | kBelow: return {2, {Edge::kLeft, Edge::kBottom}};
    default: return {0, {Edge::kLeft, Edge::kLeft}};
  }
}

// Positive, zero or negative, as -1, 0, 1, of a 32-bit wrapping difference.
std::int32_t sign_of_difference(std::int32_t a, std::int32_t b) {
  const std::int32_t d = kelvor::detail::wrap_sub(a, b);
  return (d > 0) - (d < 0);
}

}  // namespace

std::int32_t Rect_Clip_Rect(const tagPOINT* min, const tagPOINT* max, tagPOINT* c1, tagPOINT* c2) {
  if (min->x >= c2->x || min->y >= c2->y || max->x <= c1->x || max->y <= c1->y) return 0;
  const tagPOINT lo{c1->x > min->x ? c1->x : min->x, c1->y > min->y ? c1->y : min->y};
  const tagPOINT hi{c2->x < max->x ? c2->x : max->x, c2->y < max->y ? c2->y : max->y};
  *c1 = lo;
  *c2 = hi;
  return 1;
}

std::int32_t Rect_Clip_Segment(const tagPOINT* min, const tagPOINT* max, tagPOINT* p, tagPOINT* q) {
  const tagPOINT p0 = *p;
  const tagPOINT q0 = *q;
  const std::int32_t cp = kelvor::detail::region_code(p0, *min, *max);
  const std::int32_t cq = kelvor::detail::region_code(q0, *min, *max);
  if ((cp & cq) != 0) return 0;
  if (cp == 0 && cq == 0) return 1;
  if (cp == 0 || cq == 0) {
    // The outside end E is itself the crossing output: it moves onto the
    // first edge met, measured on the copies p0, q0 of the segment as given,
    // and keeps its value when none is met.
    kelvor::detail::meets_first_edge(p0, q0, clip_edges_for(cp != 0 ? cp : cq), *min, *max,
                                     cp != 0 ? p : q);
    return 1;
  }
  if ((cp | cq) == (kLeft | kRight)) {
    const tagPOINT l =
        crossing_or_point_on_line(p0, q0, Edge::kLeft, *min, *max, cp == kLeft ? p0 : q0);
    const tagPOINT r =
        crossing_or_point_on_line(p0, q0, Edge::kRight, *min, *max, cp == kLeft ? q0 : p0);
    *p = cp == kLeft ? l : r;
    *q = cp == kLeft ? r : l;
    return 1;
  }
  if ((cp | cq) == (kBelow | kAbove)) {
    const tagPOINT t =
        crossing_or_point_on_line(p0, q0, Edge::kTop, *min, *max, cp == kAbove ? p0 : q0);
    const tagPOINT b =
        crossing_or_point_on_line(p0, q0, Edge::kBottom, *min, *max, cp == kAbove ? q0 : p0);
    *p = cp == kAbove ? t : b;
    *q = cp == kAbove ? b : t;
    return 1;
  }
  // Both ends outside on different sides: gather the first two crossings in
  // the order left, top, right, bottom.
  const Edge edges[4] = {Edge::kLeft, Edge::kTop, Edge::kRight, Edge::kBottom};
  tagPOINT found[2];
  std::int32_t count = 0;
  for (std::int32_t i = 0; i < 4 && count < 2; ++i) {
    if (crossing(p0, q0, edges[i], *min, *max, &found[count])) ++count;
  }
  if (count < 2) return 0;
  // Keep the given direction: p gets the crossing nearer to where p was.
  const bool by_x = q0.x != p0.x;
  const std::int32_t given = by_x ? sign_of_difference(q0.x, p0.x) : sign_of_difference(q0.y, p0.y);
  const std::int32_t between = by_x ? sign_of_difference(found[1].x, found[0].x)
                                    : sign_of_difference(found[1].y, found[0].y);
  const bool same = given != 0 && given == between;
  *p = same ? found[0] : found[1];
  *q = same ? found[1] : found[0];
  return 1;
}
