// Meeting tests against polylines: loops over the open edges i -> i+1.
#include "crossing_scan.h"
#include "kelvor/planar.h"

namespace {

template <class Line>
std::int32_t polyline_span_intersect(const tagPOINT* pts, std::int32_t n, std::int32_t from,
                                     std::int32_t to, std::int32_t at) {
  if (n < 2) return 0;
  std::int32_t met = 0;
  kelvor::detail::for_each_straddling_edge<Line>(pts, n, at, [&](std::int32_t i) {
    const std::int32_t c = kelvor::detail::wrapping_crossing_at<Line>(pts[i], pts[i + 1], at);
    met = static_cast<std::int32_t>(from <= c && c < to);
    return met == 0;
  });
  return met;
}

}  // namespace

std::int32_t Point_Polyline_Intersect(const tagPOINT* p, const tagPOINT* pts, std::int32_t n) {
  for (std::int32_t i = 0; i + 1 < n; ++i) {
    if (Point_Segment_Intersect(p, &pts[i], &pts[i + 1])) return 1;
  }
  return 0;
}

std::int32_t Segment_Polyline_Intersect(const tagPOINT* a, const tagPOINT* b, const tagPOINT* pts,
                                        std::int32_t n) {
  for (std::int32_t i = 0; i + 1 < n; ++i) {
    if (Segment_Segment_Intersect(a, b, &pts[i], &pts[i + 1], nullptr)) return 1;
  }
  return 0;
}

std::int32_t Rect_Polyline_Intersect(const tagPOINT* min, const tagPOINT* max, const tagPOINT* pts,
                                     std::int32_t n) {
  for (std::int32_t i = 0; i + 1 < n; ++i) {
    if (Segment_Rect_Intersect(&pts[i], &pts[i + 1], min, max)) return 1;
  }
  return 0;
}

std::int32_t Polyline_Horizon_Intersect(const tagPOINT* pts, std::int32_t n, std::int32_t from,
                                        std::int32_t to, std::int32_t at) {
  return polyline_span_intersect<kelvor::detail::Row>(pts, n, from, to, at);
}

std::int32_t Polyline_Vertical_Intersect(const tagPOINT* pts, std::int32_t n, std::int32_t from,
                                         std::int32_t to, std::int32_t at) {
  return polyline_span_intersect<kelvor::detail::Column>(pts, n, from, to, at);
}

std::int32_t Polyline_Polyline_Intersect(const tagPOINT* P, std::int32_t n, const tagPOINT* Q,
                                         std::int32_t m) {
  // The second polyline's edges drive the loop; a first polyline without
  // edges meets nothing, so Q need not be read at all then.
  if (n < 2) return 0;
  for (std::int32_t i = 0; i + 1 < m; ++i) {
    if (Segment_Polyline_Intersect(&Q[i], &Q[i + 1], P, n)) return 1;
  }
  return 0;
}
