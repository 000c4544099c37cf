// Containment in a polygon: the even-odd rule for points, inside spans of the
// crossing list for spans and rectangles, and both (plus edge tests) for
// segments. A container of no points holds nothing and is never read; inner
// figures without edges are held vacuously.
#include "crossing_scan.h"
#include "kelvor/planar.h"

namespace {

template <class Line>
std::int32_t polygon_contain_span(const tagPOINT* pts, std::int32_t n, std::int32_t from,
                                  std::int32_t to, std::int32_t at) {
  std::int32_t list[kelvor::detail::kCrossingListSize];
  const std::int32_t count = kelvor::detail::scan_crossings<Line>(pts, n, at, list);
  for (std::int32_t k = 0; k < count - 1; k += 2) {
    // Strict at hi: a span running up to a crossing leaves the polygon there.
    if (list[k] <= from && to < list[k + 1]) return 1;
  }
  return 0;
}

}  // namespace

std::int32_t Polygon_Contain_Horizon(const tagPOINT* pts, std::int32_t n, std::int32_t from,
                                     std::int32_t to, std::int32_t at) {
  return polygon_contain_span<kelvor::detail::Row>(pts, n, from, to, at);
}

std::int32_t Polygon_Contain_Vertical(const tagPOINT* pts, std::int32_t n, std::int32_t from,
                                      std::int32_t to, std::int32_t at) {
  return polygon_contain_span<kelvor::detail::Column>(pts, n, from, to, at);
}

std::int32_t Polygon_Contain_Rect(const tagPOINT* pts, std::int32_t n, const tagPOINT* min,
                                  const tagPOINT* max) {
  // The four sides only; the interior is not examined.
  return static_cast<std::int32_t>(Polygon_Contain_Horizon(pts, n, min->x, max->x, min->y) &&
                                   Polygon_Contain_Horizon(pts, n, min->x, max->x, max->y) &&
                                   Polygon_Contain_Vertical(pts, n, min->y, max->y, min->x) &&
                                   Polygon_Contain_Vertical(pts, n, min->y, max->y, max->x));
}

std::int32_t Polygon_Contain_Segment(const tagPOINT* pts, std::int32_t n, const tagPOINT* a,
                                     const tagPOINT* b) {
  if (n < 1) return 0;
  // Cheap first: four scan lines around the segment's bounding box.
  const tagPOINT box_min{a->x < b->x ? a->x : b->x, a->y < b->y ? a->y : b->y};
  const tagPOINT box_max{a->x < b->x ? b->x : a->x, a->y < b->y ? b->y : a->y};
  if (Polygon_Contain_Rect(pts, n, &box_min, &box_max)) return 1;
  if (!Polygon_Contain_Point(pts, n, a) || !Polygon_Contain_Point(pts, n, b)) return 0;
  if (Segment_Polyline_Intersect(a, b, pts, n)) return 0;
  return static_cast<std::int32_t>(!Segment_Segment_Intersect(a, b, &pts[0], &pts[n - 1], nullptr));
}

std::int32_t Polygon_Contain_Polyline(const tagPOINT* pts, std::int32_t n, const tagPOINT* pl,
                                      std::int32_t m) {
  for (std::int32_t i = 0; i + 1 < m; ++i) {
    if (!Polygon_Contain_Segment(pts, n, &pl[i], &pl[i + 1])) return 0;
  }
  return 1;
}

std::int32_t Polygon_Contain_Polygon(const tagPOINT* pts, std::int32_t n, const tagPOINT* pg,
                                     std::int32_t m) {
  if (m < 1) return 1;
  if (!Polygon_Contain_Polyline(pts, n, pg, m)) return 0;
  // Closing edge from the first point to the last; for one point this is the
  // degenerate segment (pg[0], pg[0]).
  return Polygon_Contain_Segment(pts, n, &pg[0], &pg[m - 1]);
}
