// Meeting tests against polygons. The segment-based tests take the closing
// edge from the first point to the last and never skip it; a polygon of no
// points meets nothing and is never read.
#include "crossing_scan.h"
#include "kelvor/planar.h"

namespace {

template <class Line>
std::int32_t polygon_span_intersect(const tagPOINT* pts, std::int32_t n, std::int32_t from,
                                    std::int32_t to, std::int32_t at) {
  std::int32_t list[kelvor::detail::kCrossingListSize];
  const std::int32_t count = kelvor::detail::scan_crossings<Line>(pts, n, at, list);
  if (count < 2) return 0;
  return static_cast<std::int32_t>(kelvor::detail::first_span_met(list, count, from, to) >= 0);
}

}  // namespace

std::int32_t Segment_Polygon_Intersect(const tagPOINT* a, const tagPOINT* b, const tagPOINT* pts,
                                       std::int32_t n) {
  if (n < 1) return 0;
  if (Point_Polygon_Intersect(a, pts, n) || Point_Polygon_Intersect(b, pts, n)) return 1;
  if (Segment_Polyline_Intersect(a, b, pts, n)) return 1;
  return Segment_Segment_Intersect(a, b, &pts[0], &pts[n - 1], nullptr);
}

std::int32_t Rect_Polygon_Intersect(const tagPOINT* min, const tagPOINT* max, const tagPOINT* pts,
                                    std::int32_t n) {
  if (n < 1) return 0;
  const tagPOINT top_left{min->x, max->y};
  const tagPOINT bottom_right{max->x, min->y};
  if (Point_Polygon_Intersect(min, pts, n) || Point_Polygon_Intersect(max, pts, n) ||
      Point_Polygon_Intersect(&top_left, pts, n) ||
      Point_Polygon_Intersect(&bottom_right, pts, n)) {
    return 1;
  }
  if (Rect_Polyline_Intersect(min, max, pts, n)) return 1;
  return Segment_Rect_Intersect(&pts[0], &pts[n - 1], min, max);
}

std::int32_t Polyline_Polygon_Intersect(const tagPOINT* pts, std::int32_t n, const tagPOINT* pg,
                                        std::int32_t m) {
  if (m < 1) return 0;
  for (std::int32_t i = 0; i + 1 < n; ++i) {
    if (Segment_Polygon_Intersect(&pts[i], &pts[i + 1], pg, m)) return 1;
  }
  return 0;
}

std::int32_t Polygon_Horizon_Intersect(const tagPOINT* pts, std::int32_t n, std::int32_t from,
                                       std::int32_t to, std::int32_t at) {
  return polygon_span_intersect<kelvor::detail::Row>(pts, n, from, to, at);
}

std::int32_t Polygon_Vertical_Intersect(const tagPOINT* pts, std::int32_t n, std::int32_t from,
                                        std::int32_t to, std::int32_t at) {
  return polygon_span_intersect<kelvor::detail::Column>(pts, n, from, to, at);
}

std::int32_t Polygon_Polygon_Intersect(const tagPOINT* G, std::int32_t n, const tagPOINT* H,
                                       std::int32_t m) {
  if (n < 1 || m < 1) return 0;
  // Open edges of each ring as a polyline, then its closing edge (first to
  // last point) as a segment; the point-in-polygon steps inside these catch
  // one ring lying wholly inside the other.
  if (Polyline_Polygon_Intersect(H, m, G, n)) return 1;
  if (Segment_Polygon_Intersect(&H[0], &H[m - 1], G, n)) return 1;
  if (Polyline_Polygon_Intersect(G, n, H, m)) return 1;
  return Segment_Polygon_Intersect(&G[0], &G[n - 1], H, m);
}
