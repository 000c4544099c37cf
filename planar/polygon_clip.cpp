// Cutting a horizontal or vertical span to the inside of a polygon: the span
// is cut to the first inside span it meets, so one covering several inside
// spans keeps only the leftmost (bottommost) of them.
#include "crossing_scan.h"
#include "kelvor/planar.h"

namespace {

template <class Line>
std::int32_t polygon_clip_span(const tagPOINT* pts, std::int32_t n, std::int32_t* from,
                               std::int32_t* to, std::int32_t at) {
  std::int32_t list[kelvor::detail::kCrossingListSize];
  const std::int32_t count = kelvor::detail::scan_crossings<Line>(pts, n, at, list);
  if (count < 2) return 0;
  const std::int32_t f = *from;
  const std::int32_t t = *to;
  const std::int32_t k = kelvor::detail::first_span_met(list, count, f, t);
  if (k < 0) return 0;
  const std::int32_t lo = list[k];
  const std::int32_t hi = list[k + 1];
  // A span starting inside keeps its start; one starting before the inside
  // span is moved up to it.
  if (!(f > lo && f < hi)) *from = lo;
  *to = t < hi ? t : hi;
  return 1;
}

}  // namespace

std::int32_t Polygon_Clip_Horizon(const tagPOINT* pts, std::int32_t n, std::int32_t* from,
                                  std::int32_t* to, std::int32_t at) {
  return polygon_clip_span<kelvor::detail::Row>(pts, n, from, to, at);
}

std::int32_t Polygon_Clip_Vertical(const tagPOINT* pts, std::int32_t n, std::int32_t* from,
                                   std::int32_t* to, std::int32_t at) {
  return polygon_clip_span<kelvor::detail::Column>(pts, n, from, to, at);
}
