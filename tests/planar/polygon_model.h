// Literal model of the scan-line rules: wrapping 32-bit crossings, the even-odd
// rule, the truncated crossing list and its inside spans.
#ifndef KELVOR_TESTS_PLANAR_POLYGON_MODEL_H
#define KELVOR_TESTS_PLANAR_POLYGON_MODEL_H

#include <kelvor/types.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "support/rings.h"

namespace polytest {

using rings::Ring;
using I32 = std::int32_t;
using I64 = std::int64_t;

// Two's-complement low 32 bits (GCC and Clang convert modulo 2^32).
inline I32 low32(I64 v) { return static_cast<I32>(static_cast<std::uint32_t>(v)); }
// Rows read y across and x along; columns the other way.
inline I32 across(const tagPOINT& p, bool row) { return row ? p.y : p.x; }
inline I32 along(const tagPOINT& p, bool row) { return row ? p.x : p.y; }

inline bool model_straddles(const tagPOINT& a, const tagPOINT& b, I32 h, bool row) {
  const I32 ay = across(a, row), by = across(b, row);
  return (ay <= h && h < by) || (by <= h && h < ay);
}

inline I32 model_crossing(const tagPOINT& a, const tagPOINT& b, I32 h, bool row) {
  const I32 dx = low32(I64{along(b, row)} - along(a, row));
  const I32 dh = low32(I64{h} - across(a, row)), dy = low32(I64{across(b, row)} - across(a, row));
  return low32(along(a, row) + I64{low32(I64{low32(I64{dx} * dh)} / dy)});
}

inline int model_even_odd(const Ring& r, const tagPOINT& p) {
  int count = 0;
  for (std::size_t i = 0; i < r.size(); ++i) {  // a closed ring's closing edge never straddles
    const tagPOINT &a = r[i], &b = r[(i + 1) % r.size()];
    count += model_straddles(a, b, p.y, true) && p.x < model_crossing(a, b, p.y, true);
  }
  return count & 1;
}

// Sorted list: at most 30 crossings of the open edges, then the closing edge
// from the vertex where the scan stopped.
inline std::vector<I32> model_scan(const Ring& r, I32 h, bool row) {
  std::vector<I32> list;
  if (r.empty()) return list;
  std::size_t i = 0;
  auto add = [&](const tagPOINT& a, const tagPOINT& b) {
    if (model_straddles(a, b, h, row)) list.push_back(model_crossing(a, b, h, row));
  };
  for (; i + 1 < r.size() && list.size() < 30; ++i) add(r[i], r[i + 1]);
  add(r[i], r[0]);
  std::sort(list.begin(), list.end());
  return list;
}

// Index of the first inside span [list[k], list[k+1]) met by [from, to), or -1.
// With contain, instead 1 when some inside span holds [from, to], else 0.
inline int model_span(const std::vector<I32>& list, I32 from, I32 to, bool contain = false) {
  for (std::size_t k = 0; k + 1 < list.size(); k += 2) {
    if (contain && list[k] <= from && to < list[k + 1]) return 1;
    if (!contain && ((from > list[k] && from < list[k + 1]) || (from <= list[k] && to > list[k])))
      return int(k);
  }
  return contain ? 0 : -1;
}

}  // namespace polytest

#endif  // KELVOR_TESTS_PLANAR_POLYGON_MODEL_H
