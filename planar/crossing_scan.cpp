// Crossing list and even-odd rule shared by the polygon predicates.
#include "crossing_scan.h"

namespace kelvor::detail {

namespace {

bool same_point(const tagPOINT& a, const tagPOINT& b) { return a.x == b.x && a.y == b.y; }

}  // namespace

void sort_crossings(std::int32_t* list, std::int32_t count) {
  for (std::int32_t i = 0; i + 1 < count; ++i) {
    for (std::int32_t j = i + 1; j < count; ++j) {
      if (list[i] > list[j]) {
        const std::int32_t t = list[i];
        list[i] = list[j];
        list[j] = t;
      }
    }
  }
}

template <class Line>
std::int32_t scan_crossings(const tagPOINT* pts, std::int32_t n, std::int32_t h,
                            std::int32_t (&list)[kCrossingListSize]) {
  if (n < 1) return 0;
  std::int32_t count = 0;
  const std::int32_t stop = for_each_straddling_edge<Line>(pts, n, h, [&](std::int32_t i) {
    list[count++] = wrapping_crossing_at<Line>(pts[i], pts[i + 1], h);
    return count < kMaxOpenCrossings;
  });
  // The closing edge starts where the open-edge scan ended, so a truncated
  // scan still closes its ring.
  const tagPOINT& last = pts[stop];
  if (!same_point(last, pts[0]) && straddles(Line::across(last), Line::across(pts[0]), h)) {
    list[count++] = wrapping_crossing_at<Line>(last, pts[0], h);
  }
  if (count >= 2) sort_crossings(list, count);
  return count;
}

template std::int32_t scan_crossings<Row>(const tagPOINT*, std::int32_t, std::int32_t,
                                          std::int32_t (&)[kCrossingListSize]);
template std::int32_t scan_crossings<Column>(const tagPOINT*, std::int32_t, std::int32_t,
                                             std::int32_t (&)[kCrossingListSize]);

std::int32_t first_span_met(const std::int32_t* list, std::int32_t count, std::int32_t from,
                            std::int32_t to) {
  for (std::int32_t k = 0; k < count - 1; k += 2) {
    const std::int32_t lo = list[k];
    const std::int32_t hi = list[k + 1];
    if ((from > lo && from < hi) || (from <= lo && to > lo)) return k;
  }
  return -1;
}

}  // namespace kelvor::detail
