// Generated rings and point helpers shared by the planar and inscribed-rectangle
// tests. Every generator draws from the caller's seeded
// engine, so a failing case replays from its seed; rings are given open (last
// point different from the first) unless passed through closed().
#ifndef KELVOR_TESTS_SUPPORT_RINGS_H
#define KELVOR_TESTS_SUPPORT_RINGS_H

#include <kelvor/types.h>

#include <cmath>
#include <cstdint>
#include <ostream>
#include <random>
#include <utility>
#include <vector>

// Failure messages print points as (x, y).
inline std::ostream& operator<<(std::ostream& os, const tagPOINT& p) {
  return os << '(' << p.x << ", " << p.y << ')';
}

namespace rings {

using Ring = std::vector<tagPOINT>;

// The vertex count as the library takes it.
inline std::int32_t count(const Ring& r) { return static_cast<std::int32_t>(r.size()); }

// A point as a comparable, printable pair: EXPECT_EQ(xy(got), xy(want)).
inline std::pair<std::int32_t, std::int32_t> xy(const tagPOINT& p) { return {p.x, p.y}; }

// Uniform integer in [lo, hi].
inline std::int32_t uniform(std::mt19937& rng, std::int32_t lo, std::int32_t hi) {
  return std::uniform_int_distribution<std::int32_t>(lo, hi)(rng);
}

// Point with both coordinates uniform in [lo, hi].
inline tagPOINT random_point(std::mt19937& rng, std::int32_t lo, std::int32_t hi) {
  return {uniform(rng, lo, hi), uniform(rng, lo, hi)};
}

// The same ring given closed: the first point repeated at the end.
inline Ring closed(Ring r) {
  if (!r.empty()) r.push_back(r.front());
  return r;
}

// Simple star-shaped ring around the origin: n vertices in counterclockwise
// order at jittered angles, radii in [min_radius, max_radius), truncated to
// integers (neighbours may coincide when n is large against the radius).
inline Ring star(std::mt19937& rng, int n, double min_radius, double max_radius) {
  std::uniform_real_distribution<double> jitter(0.0, 0.9), radius(min_radius, max_radius);
  Ring r;
  for (int i = 0; i < n; ++i) {
    const double a = (i + jitter(rng)) * 6.283185307179586 / n, d = radius(rng);
    r.push_back(
        {static_cast<std::int32_t>(d * std::cos(a)), static_cast<std::int32_t>(d * std::sin(a))});
  }
  return r;
}

// Arbitrary ring, usually self-crossing: n vertices uniform in
// [-range, range] in both coordinates.
inline Ring random_ring(std::mt19937& rng, int n, std::int32_t range) {
  Ring r;
  for (int i = 0; i < n; ++i) r.push_back(random_point(rng, -range, range));
  return r;
}

// Axis-parallel ring of n (even, >= 4) vertices alternating long horizontal
// runs (ends anywhere in [-range, range]) and vertical steps between a few
// shared rows (multiples of 4), so that many vertices and whole edges lie on
// the rows a test probes. Usually self-crossing and self-overlapping.
inline Ring horizontal_runs(std::mt19937& rng, int n, std::int32_t range) {
  const std::int32_t rows = range / 4 < 3 ? range / 4 : 3;
  const std::int32_t x0 = uniform(rng, -range, range);
  Ring r;
  std::int32_t x = x0;
  for (int i = 0; i < n / 2; ++i) {
    const std::int32_t y = 4 * uniform(rng, -rows, rows);
    const std::int32_t next = i + 1 == n / 2 ? x0 : uniform(rng, -range, range);
    r.push_back({x, y});
    r.push_back({next, y});  // then a vertical step to the next row (or back to the start)
    x = next;
  }
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
