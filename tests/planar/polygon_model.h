// Literal model of the scan-line rules (straddle test, 32-bit wrapping
// crossing coordinate, even-odd count, truncated crossing list); generators.
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

// Two's-complement low 32 bits (GCC and Clang convert modulo 2^32).
inline std::int32_t low32(std::int64_t v) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(v)); }

// Rows (row == true) read y across and x along; columns the other way.
inline std::int32_t across(const tagPOINT& p, bool row) { return row ? p.y : p.x; }
inline std::int32_t along(const tagPOINT& p, bool row) { return row ? p.x : p.y; }
inline bool same(const tagPOINT& a, const tagPOINT& b) { return a.x == b.x && a.y == b.y; }

inline bool model_straddles(const tagPOINT& a, const tagPOINT& b, std::int32_t h, bool row) {
  const std::int32_t ay = across(a, row), by = across(b, row);
  return (ay <= h && h < by) || (by <= h && h < ay);
}

inline std::int32_t model_crossing(const tagPOINT& a, const tagPOINT& b, std::int32_t h, bool row) {
  const std::int32_t dx = low32(static_cast<std::int64_t>(along(b, row)) - along(a, row));
  const std::int32_t dh = low32(static_cast<std::int64_t>(h) - across(a, row));
  const std::int32_t dy = low32(static_cast<std::int64_t>(across(b, row)) - across(a, row));
  const std::int32_t num = low32(static_cast<std::int64_t>(dx) * dh);
  return low32(along(a, row) + static_cast<std::int64_t>(low32(static_cast<std::int64_t>(num) / dy)));
}

inline int model_even_odd(const Ring& r, const tagPOINT& p) {
  int count = 0;
  for (std::size_t i = 0; i < r.size(); ++i) {  // a closed ring's closing edge never straddles
    const tagPOINT &a = r[i], &b = r[(i + 1) % r.size()];
    count += model_straddles(a, b, p.y, true) && p.x < model_crossing(a, b, p.y, true);
  }
  return count & 1;
}

// Sorted crossing list: at most 30 from the open edges, then the closing edge
// from the vertex where the scan stopped.
inline std::vector<std::int32_t> model_scan(const Ring& r, std::int32_t h, bool row) {
  std::vector<std::int32_t> list;
  std::size_t i = 0;
  if (r.empty()) return list;
  for (; i + 1 < r.size() && list.size() < 30; ++i)
    if (model_straddles(r[i], r[i + 1], h, row)) list.push_back(model_crossing(r[i], r[i + 1], h, row));
  if (model_straddles(r[i], r[0], h, row)) list.push_back(model_crossing(r[i], r[0], h, row));
  std::sort(list.begin(), list.end());
  return list;
}

// Index of the first inside span [list[k], list[k+1]) met by [from, to), or -1.
inline int model_span_met(const std::vector<std::int32_t>& list, std::int32_t from, std::int32_t to) {
  for (std::size_t k = 0; k + 1 < list.size(); k += 2)
    if ((from > list[k] && from < list[k + 1]) || (from <= list[k] && to > list[k])) return static_cast<int>(k);
  return -1;
}

inline int model_span_contained(const std::vector<std::int32_t>& list, std::int32_t from, std::int32_t to) {
  for (std::size_t k = 0; k + 1 < list.size(); k += 2)
    if (list[k] <= from && to < list[k + 1]) return 1;
  return 0;
}

inline Ring closed(Ring r) {
  r.push_back(r.front());
  return r;
}

// Simple star-shaped ring around the origin.
inline Ring star_ring(std::mt19937& rng, int n, double rmin, double rmax) {
  std::uniform_real_distribution<double> ang(0.0, 6.283185307179586), rad(rmin, rmax);
  std::vector<double> angles(static_cast<std::size_t>(n));
  for (auto& a : angles) a = ang(rng);
  std::sort(angles.begin(), angles.end());
  Ring r;
  for (double a : angles) {
    const double d = rad(rng);
    r.push_back({static_cast<std::int32_t>(d * std::cos(a)), static_cast<std::int32_t>(d * std::sin(a))});
  }
  return r;
}

// Arbitrary (often self-crossing) ring with coordinates in [-range, range].
inline Ring random_ring(std::mt19937& rng, int n, std::int32_t range) {
  std::uniform_int_distribution<std::int32_t> c(-range, range);
  Ring r;
  for (int i = 0; i < n; ++i) r.push_back({c(rng), c(rng)});
  return r;
}

// Comb of `teeth` teeth (x-extent 10 each) on a base at y == 0, walked right
// to left: the row y == 5 crosses it 2 * teeth times, rightmost first; inside
// spans are [10t + 1, 10t + 10). The closing edge (0,1)-(0,0) never crosses.
inline Ring comb(int teeth) {
  Ring r{{0, 0}, {10 * teeth, 0}};
  for (int t = teeth - 1; t >= 0; --t) {
    r.push_back({10 * t + 8, 10});
    r.push_back({10 * t + 2, 10});
    r.push_back({10 * t, 1});
  }
  return r;
}

}  // namespace polytest

#endif  // KELVOR_TESTS_PLANAR_POLYGON_MODEL_H
