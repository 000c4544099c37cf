// Scan-line machinery shared by the polygon predicates: which edges straddle a
// horizontal or vertical line, where they cross it, the even-odd rule, and the
// fixed crossing list that cuts a polygon into inside spans.
#ifndef KELVOR_PLANAR_CROSSING_SCAN_H
#define KELVOR_PLANAR_CROSSING_SCAN_H

#include <cstdint>
#include <cstring>

#include "common/crossing.h"
#include "kelvor/types.h"

namespace kelvor::detail {

// Index of the lowest non-zero byte of a non-zero word.
inline std::int32_t lowest_set_byte(std::uint64_t w) {
#if defined(__GNUC__)
  return __builtin_ctzll(w) >> 3;
#else
  std::int32_t k = 0;
  while ((w & 0xFFu) == 0) {
    w >>= 8;
    ++k;
  }
  return k;
#endif
}

// Visits the open edges pts[i] -> pts[i+1] (i = 0 .. n-2) that straddle the
// line at h, in order, as visit(i); visit returns false to stop. Returns the
// index of the vertex where the scan ended: n - 1 when every edge was
// scanned, else i + 1 for the edge whose visit stopped it. n < 2 scans
// nothing and reads nothing.
//
// The straddle test is done a block at a time into a byte table without
// branching on the data, so it vectorises; only straddling edges (usually a
// small fraction) reach the visitor.
template <class Line, class Visit>
inline std::int32_t for_each_straddling_edge(const tagPOINT* pts, std::int32_t n, std::int32_t h,
                                             Visit&& visit) {
  if (n < 2) return n < 1 ? 0 : n - 1;
  constexpr std::int32_t kBlock = 256;
  unsigned char below[kBlock + 1 + 8];
  const std::int32_t edges = n - 1;
  for (std::int32_t base = 0; base < edges; base += kBlock) {
    const std::int32_t count = edges - base < kBlock ? edges - base : kBlock;
    const tagPOINT* block = pts + base;
    // Fixed 16-wide groups vectorise even under the cheap -O2 cost model.
    const std::int32_t points = count + 1;
    const std::int32_t grouped = points & ~15;
    for (std::int32_t g = 0; g < grouped; g += 16) {
      for (std::int32_t k = 0; k < 16; ++k) {
        below[g + k] = static_cast<unsigned char>(Line::across(block[g + k]) <= h);
      }
    }
    for (std::int32_t j = grouped; j < points; ++j) {
      below[j] = static_cast<unsigned char>(Line::across(block[j]) <= h);
    }
    // Pad with the last flag so that edges past the block never straddle.
    std::memset(below + count + 1, below[count], 8);
    for (std::int32_t j = 0; j < count; j += 8) {
      std::uint64_t lo;
      std::uint64_t hi;
      std::memcpy(&lo, below + j, 8);
      std::memcpy(&hi, below + j + 1, 8);
      std::uint64_t flags = lo ^ hi;  // one byte per edge, 0 or 1
      while (flags != 0) {
        const std::int32_t i = base + j + lowest_set_byte(flags);
        flags &= flags - 1;
        if (!visit(i)) return i + 1;
      }
    }
  }
  return n - 1;
}

// Even-odd rule on the row through p: counts the edges that straddle y == p.y
// and cross strictly right of p, the closing edge taken from the last point
// to the first. 1 for an odd count. n < 1 reads nothing and gives 0.
std::int32_t even_odd_inside(const tagPOINT* pts, std::int32_t n, const tagPOINT& p);

// Room for 30 crossings from the open edges plus one from the closing edge.
constexpr std::int32_t kMaxOpenCrossings = 30;
constexpr std::int32_t kCrossingListSize = kMaxOpenCrossings + 1;

// Ascending exchange sort of a crossing list (at most 31 entries).
void sort_crossings(std::int32_t* list, std::int32_t count);

// Crossings of the polygon with the line y == h (row) or x == h (column):
// open edges until 30 crossings are held, then the closing edge from the
// vertex where that scan stopped back to pts[0] (skipped when it is pts[0]).
// Returns the count; the list is sorted ascending when the count is >= 2.
// n < 1 reads nothing and gives 0.
template <class Line>
std::int32_t scan_crossings(const tagPOINT* pts, std::int32_t n, std::int32_t h,
                            std::int32_t (&list)[kCrossingListSize]);
extern template std::int32_t scan_crossings<Row>(const tagPOINT*, std::int32_t, std::int32_t,
                                                 std::int32_t (&)[kCrossingListSize]);
extern template std::int32_t scan_crossings<Column>(const tagPOINT*, std::int32_t, std::int32_t,
                                                    std::int32_t (&)[kCrossingListSize]);

// Index k of the first inside span (list[k], list[k+1]), k even, that the
// span from..to meets: from > lo && from < hi, or from <= lo && to > lo.
// -1 when none does.
std::int32_t first_span_met(const std::int32_t* list, std::int32_t count, std::int32_t from,
                            std::int32_t to);

}  // namespace kelvor::detail

#endif  // KELVOR_PLANAR_CROSSING_SCAN_H
