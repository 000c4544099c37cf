// Literal model of the scan-line rules (wrapping 32-bit crossings, truncated list); rings.
#ifndef KELVOR_TESTS_PLANAR_POLYGON_MODEL_H
#define KELVOR_TESTS_PLANAR_POLYGON_MODEL_H

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include <kelvor/types.h>

namespace polytest {

using Ring = std::vector<tagPOINT>;
using I32 = std::int32_t;
using I64 = std::int64_t;

// Two's-complement low 32 bits (GCC and Clang convert modulo 2^32).
inline I32 low32(I64 v) { return static_cast<I32>(static_cast<std::uint32_t>(v)); }
// Rows read y across and x along; columns the other way.
inline I32 across(const tagPOINT& p, bool row) { return row ? p.y : p.x; }
inline I32 along(const tagPOINT& p, bool row) { return row ? p.x : p.y; }
inline bool same(const tagPOINT& a, const tagPOINT& b) { return a.x == b.x && a.y == b.y; }

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

inline Ring closed(Ring r) { r.push_back(r.front()); return r; }

// Simple star-shaped ring around the origin, radii in [10, 60).
inline Ring star_ring(std::mt19937& rng, int n) {
  std::uniform_real_distribution<double> jitter(0.0, 0.9), rad(10.0, 60.0);
  Ring r;
  for (int i = 0; i < n; ++i) {
    const double a = (i + jitter(rng)) * 6.283185307179586 / n, d = rad(rng);
    r.push_back({static_cast<I32>(d * std::cos(a)), static_cast<I32>(d * std::sin(a))});
  }
  return r;
}

// Arbitrary (often self-crossing) ring with coordinates in [-range, range].
inline Ring random_ring(std::mt19937& rng, int n, I32 range) {
  std::uniform_int_distribution<I32> c(-range, range);
  Ring r;
  for (int i = 0; i < n; ++i) r.push_back({c(rng), c(rng)});
  return r;
}

// Comb of `teeth` teeth on a base at y == 0, walked right to left: the row y == 5
// crosses it 2 * teeth times, rightmost first; inside spans [10t + 1, 10t + 10).
inline Ring comb(int teeth) {
  Ring r{{0, 0}, {10 * teeth, 0}};
  for (int t = teeth - 1; t >= 0; --t)
    r.insert(r.end(), {{10 * t + 8, 10}, {10 * t + 2, 10}, {10 * t, 1}});
  return r;
}

}  // namespace polytest

#endif  // KELVOR_TESTS_PLANAR_POLYGON_MODEL_H
