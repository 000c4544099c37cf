// Independent model of the scan-line rules of the polygon predicates:
// straddle rule, crossings in wrapping 32-bit arithmetic measured from the
// edge's start point, the even-odd count, and the crossing list of a scan
// line (30 crossings from the open edges at most, then the closing edge from
// the vertex where the scan stopped) with its inside spans.
#ifndef KELVOR_TESTS_FUZZ_RING_MODEL_H
#define KELVOR_TESTS_FUZZ_RING_MODEL_H

#include <algorithm>
#include <cstdint>
#include <vector>

#include "fuzz_input.h"

namespace fuzz {

// Rows read y across the line and x along it; columns the other way.
inline I32 across(const tagPOINT& p, bool row) { return row ? p.y : p.x; }
inline I32 along(const tagPOINT& p, bool row) { return row ? p.x : p.y; }

inline bool straddles(const tagPOINT& a, const tagPOINT& b, I32 h, bool row) {
  const I32 ah = across(a, row), bh = across(b, row);
  return (ah <= h && h < bh) || (bh <= h && h < ah);
}

// a + (b - a) * (h - a) / (b - a) with every step wrapping to 32 bits; the
// quotient is taken in 64 bits, so -2^31 / -1 wraps as well.
inline I32 wrapping_crossing(const tagPOINT& a, const tagPOINT& b, I32 h, bool row) {
  const I32 d_along = wrap_sub(along(b, row), along(a, row));
  const I32 d_across = wrap_sub(across(b, row), across(a, row));
  const I32 num = wrap_mul(d_along, wrap_sub(h, across(a, row)));
  return wrap_add(along(a, row), low32(static_cast<U64>(I64{num} / d_across)));
}

inline int even_odd(const tagPOINT* pts, I32 n, const tagPOINT& p) {
  if (n <= 1) return 0;
  int count = 0;
  for (I32 i = 0; i < n; ++i) {
    const tagPOINT& a = pts[i];
    const tagPOINT& b = pts[i + 1 == n ? 0 : i + 1];
    if (i + 1 == n && same(a, b)) break;
    if (straddles(a, b, p.y, true) && p.x < wrapping_crossing(a, b, p.y, true)) ++count;
  }
  return count & 1;
}

// The sorted crossing list of the scan line h; `full` tells whether every
// open edge was scanned (fewer than 30 crossings from the open edges, or the
// 30th on the last one).
inline std::vector<I32> scan(const tagPOINT* pts, I32 n, I32 h, bool row, bool* full = nullptr) {
  std::vector<I32> list;
  if (full) *full = true;
  if (n <= 0) return list;
  I32 i = 0;
  for (; i + 1 < n; ++i) {
    if (list.size() == 30) {
      if (full) *full = false;
      break;
    }
    if (straddles(pts[i], pts[i + 1], h, row))
      list.push_back(wrapping_crossing(pts[i], pts[i + 1], h, row));
  }
  const tagPOINT& last = pts[i];
  if (!same(last, pts[0]) && straddles(last, pts[0], h, row))
    list.push_back(wrapping_crossing(last, pts[0], h, row));
  if (list.size() >= 2) std::sort(list.begin(), list.end());
  return list;
}

// Index k of the first inside span (list[k], list[k+1]) that [from, to)
// meets, or -1.
inline int first_met(const std::vector<I32>& list, I32 from, I32 to) {
  if (list.size() < 2) return -1;
  for (std::size_t k = 0; k + 1 < list.size(); k += 2) {
    const I32 lo = list[k], hi = list[k + 1];
    if ((from > lo && from < hi) || (from <= lo && to > lo)) return static_cast<int>(k);
  }
  return -1;
}

inline int span_contained(const std::vector<I32>& list, I32 from, I32 to) {
  if (list.size() < 2) return 0;
  for (std::size_t k = 0; k + 1 < list.size(); k += 2)
    if (list[k] <= from && to < list[k + 1]) return 1;
  return 0;
}

}  // namespace fuzz

#endif  // KELVOR_TESTS_FUZZ_RING_MODEL_H
