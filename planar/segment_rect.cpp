// Segment against half-open rectangle: region codes settle most cases; the
// rest test the one or two edges that the first endpoint's code points at.
#include "kelvor/planar.h"
#include "planar/rect_edges.h"

namespace {

using kelvor::detail::Edge;

// Edges to try for each region code of the first endpoint, in order.
struct EdgeOrder {
  int count;
  Edge edges[2];
};

EdgeOrder edges_for(int code) {
  switch (code) {
    case 1: return {1, {Edge::kLeft, Edge::kLeft}};
    case 2: return {1, {Edge::kRight, Edge::kRight}};
    case 4: return {1, {Edge::kBottom, Edge::kBottom}};
    case 8: return {1, {Edge::kTop, Edge::kTop}};
    case 9: return {2, {Edge::kTop, Edge::kLeft}};
    case 10: return {2, {Edge::kTop, Edge::kRight}};
    case 6: return {2, {Edge::kRight, Edge::kBottom}};
    case 5: return {2, {Edge::kLeft, Edge::kBottom}};
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
  const EdgeOrder order = edges_for(cp);
  for (int i = 0; i < order.count; ++i) {
    const kelvor::detail::EdgeSegment e = kelvor::detail::edge_segment(order.edges[i], *min, *max);
    if (Segment_Segment_Intersect(p, q, &e.from, &e.to, nullptr)) return 1;
  }
  return 0;
}
