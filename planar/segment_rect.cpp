// Segment against half-open rectangle: region codes settle most cases; the
// rest test the one or two edges that the first endpoint's code points at.
#include "kelvor/planar.h"
#include "rect_edges.h"

namespace {

using kelvor::detail::Edge;
using kelvor::detail::EdgeOrder;
using kelvor::detail::kAbove;
using kelvor::detail::kBelow;
using kelvor::detail::kLeft;
using kelvor::detail::kRight;

// Edges to try for each region code of the first endpoint, in order.
EdgeOrder edges_for(int code) {
  switch (code) {
    case kLeft: return {1, {Edge::kLeft, Edge::kLeft}};
    case kRight: return {1, {Edge::kRight, Edge::kRight}};
    case kBelow: return {1, {Edge::kBottom, Edge::kBottom}};
    case kAbove: return {1, {Edge::kTop, Edge::kTop}};
    case kLeft | kAbove: return {2, {Edge::kTop, Edge::kLeft}};
    case kRight | kAbove: return {2, {Edge::kTop, Edge::kRight}};
    case kRight | kBelow: return {2, {Edge::kRight, Edge::kBottom}};
    case kLeft | kBelow: return {2, {Edge::kLeft, Edge::kBottom}};
    default: return {0, {Edge::kLeft, Edge::kLeft}};
  }
}

}  // namespace

std::int32_t Segment_Rect_Intersect(const tagPOINT* p, const tagPOINT* q, const tagPOINT* min,
                                    const tagPOINT* max) {
  using kelvor::detail::region_code;
  const int cp = region_code(*p, *min, *max);
  const int cq = region_code(*q, *min, *max);
  if (cp == 0 || cq == 0) return 1;
  if ((cp & cq) != 0) return 0;
  if ((cp | cq) == 3 || (cp | cq) == 12) return 1;
  return kelvor::detail::meets_first_edge(*p, *q, edges_for(cp), *min, *max, nullptr);
}
