// Test fixtures and a literal, unoptimised model of the scan-line rules
// (straddle test, crossing coordinate, even-odd count, truncated crossing
// list), written independently of the library's vectorised code paths.
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

// Two's-complement low 32 bits, emulated through 64-bit arithmetic.
inline std::int32_t low32(std::int64_t v) {
  std::uint32_t u = static_cast<std::uint32_t>(static_cast<std::uint64_t>(v));
  return u < 0x80000000u ? static_cast<std::int32_t>(u)
                         : static_cast<std::int32_t>(static_cast<std::int64_t>(u) - 0x100000000LL);
}

// Scan-line axis: horizontal lines read y across and x along.
inline std::int32_t across(const tagPOINT& p, bool row) { return row ? p.y : p.x; }
inline std::int32_t along(const tagPOINT& p, bool row) { return row ? p.x : p.y; }

inline bool model_straddles(const tagPOINT& a, const tagPOINT& b, std::int32_t h, bool row) {
  const std::int32_t ay = across(a, row), by = across(b, row);
  return (ay <= h && h < by) || (by <= h && h < ay);
}

inline std::int32_t model_crossing(const tagPOINT& a, const tagPOINT& b, std::int32_t h, bool row) {
  const std::int32_t dx = low32(static_cast<std::int64_t>(along(b, row)) - along(a, row));
  const std::int32_t dh = low32(static_cast<std::int64_t>(h) - across(a, row));
  const std::int32_t dy = low32(static_cast<std::int64_t>(across(b, row)) - across(a, row));
  const std::int32_t num = low32(static_cast<std::int64_t>(dx) * dh);
  const std::int32_t q = low32(static_cast<std::int64_t>(num) / dy);  // C++ truncates toward zero
  return low32(static_cast<std::int64_t>(along(a, row)) + q);
}

inline bool same(const tagPOINT& a, const tagPOINT& b) { return a.x == b.x && a.y == b.y; }

inline int model_even_odd(const Ring& r, const tagPOINT& p) {
  const int n = static_cast<int>(r.size());
  if (n == 0) return 0;
  int count = 0;
  for (int i = 0; i + 1 < n; ++i) {
    if (model_straddles(r[i], r[i + 1], p.y, true) && p.x < model_crossing(r[i], r[i + 1], p.y, true))
      ++count;
  }
  if (!same(r[n - 1], r[0]) && model_straddles(r[n - 1], r[0], p.y, true) &&
      p.x < model_crossing(r[n - 1], r[0], p.y, true))
    ++count;
  return count & 1;
}

// The crossing list, sorted: at most 30 from the open edges, then the closing
// edge from the vertex where that scan stopped.
inline std::vector<std::int32_t> model_scan(const Ring& r, std::int32_t h, bool row) {
  std::vector<std::int32_t> list;
  const int n = static_cast<int>(r.size());
  if (n == 0) return list;
  int i = 0;
  for (; i + 1 < n; ++i) {
    if (list.size() == 30) break;
    if (model_straddles(r[i], r[i + 1], h, row)) list.push_back(model_crossing(r[i], r[i + 1], h, row));
  }
  const tagPOINT& last = r[std::max(i, 0)];
  if (!same(last, r[0]) && model_straddles(last, r[0], h, row))
    list.push_back(model_crossing(last, r[0], h, row));
  std::sort(list.begin(), list.end());
  return list;
}

inline int model_span_contained(const std::vector<std::int32_t>& list, std::int32_t from, std::int32_t to) {
  for (std::size_t k = 0; k + 1 < list.size(); k += 2)
    if (list[k] <= from && to < list[k + 1]) return 1;
  return 0;
}

inline int model_span_met(const std::vector<std::int32_t>& list, std::int32_t from, std::int32_t to) {
  for (std::size_t k = 0; k + 1 < list.size(); k += 2) {
    const std::int32_t lo = list[k], hi = list[k + 1];
    if ((from > lo && from < hi) || (from <= lo && to > lo)) return static_cast<int>(k);
  }
  return -1;
}

inline Ring square10() { return {{0, 0}, {10, 0}, {10, 10}, {0, 10}}; }

inline Ring closed(Ring r) {
  r.push_back(r.front());
  return r;
}

// Star-shaped simple ring: random radii at sorted random angles.
inline Ring star_ring(std::mt19937& rng, int n, std::int32_t cx, std::int32_t cy, double rmin, double rmax) {
  std::uniform_real_distribution<double> ang(0.0, 6.283185307179586);
  std::uniform_real_distribution<double> rad(rmin, rmax);
  std::vector<double> angles(static_cast<std::size_t>(n));
  for (auto& a : angles) a = ang(rng);
  std::sort(angles.begin(), angles.end());
  Ring r;
  for (double a : angles) {
    const double d = rad(rng);
    r.push_back({cx + static_cast<std::int32_t>(d * std::cos(a)), cy + static_cast<std::int32_t>(d * std::sin(a))});
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

// A comb of `teeth` teeth, x-extent 10 each, rising from a base on y == 0 and
// traversed from the base's right end leftwards; the row y == 5 crosses it
// 2 * teeth times (rightmost crossings first), the closing edge
// (0, 1)-(0, 0) never.
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
