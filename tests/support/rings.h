// Generated rings for the tests (fixed seeds give fixed rings).
#ifndef KELVOR_TESTS_SUPPORT_RINGS_H
#define KELVOR_TESTS_SUPPORT_RINGS_H

#include <kelvor/types.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace rings {

using Ring = std::vector<tagPOINT>;

// The ring given closed: its first point repeated at the end.
inline Ring closed(Ring r) {
  if (!r.empty()) r.push_back(r.front());
  return r;
}

// Star-shaped (simple) ring around the origin: n points at increasing
// angles, radii in [lo, hi].
inline Ring star(std::mt19937& rng, int n, std::int32_t lo, std::int32_t hi) {
  std::uniform_real_distribution<double> jitter(0.0, 0.9);
  std::uniform_int_distribution<std::int32_t> radius(lo, hi);
  Ring r;
  for (int i = 0; i < n; ++i) {
    const double a = (i + jitter(rng)) * 6.283185307179586 / n;
    const double d = radius(rng);
    r.push_back(
        {static_cast<std::int32_t>(d * std::cos(a)), static_cast<std::int32_t>(d * std::sin(a))});
  }
  return r;
}

// Arbitrary (mostly self-crossing) ring with coordinates in [-range, range].
inline Ring random(std::mt19937& rng, int n, std::int32_t range) {
  std::uniform_int_distribution<std::int32_t> c(-range, range);
  Ring r;
  for (int i = 0; i < n; ++i) r.push_back({c(rng), c(rng)});
  return r;
}

// Comb of `teeth` teeth on a base at y == 0, walked right to left: the row
// y == 5 crosses it 2 * teeth times; inside spans [10t + 1, 10t + 10).
inline Ring comb(int teeth) {
  Ring r{{0, 0}, {10 * teeth, 0}};
  for (int t = teeth - 1; t >= 0; --t) {
    r.insert(r.end(), {{10 * t + 8, 10}, {10 * t + 2, 10}, {10 * t, 1}});
  }
  return r;
}

// Every second edge made horizontal (each odd point takes the y of the point
// before it), so rows run along edges and through their ends.
inline Ring with_horizontal_runs(Ring r) {
  for (std::size_t i = 1; i < r.size(); i += 2) r[i].y = r[i - 1].y;
  return r;
}

// The ring moved by (dx, dy), each coordinate clamped to the 32-bit range.
inline Ring offset(Ring r, std::int64_t dx, std::int64_t dy) {
  auto clamp = [](std::int64_t v) {
    return static_cast<std::int32_t>(v < INT32_MIN ? INT32_MIN : v > INT32_MAX ? INT32_MAX : v);
  };
  for (tagPOINT& p : r) p = {clamp(p.x + dx), clamp(p.y + dy)};
  return r;
}

}  // namespace rings

#endif  // KELVOR_TESTS_SUPPORT_RINGS_H
