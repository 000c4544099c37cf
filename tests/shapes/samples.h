// Helpers and generated figures for the shape tests (fixed seeds).
#ifndef KELVOR_TESTS_SHAPES_SAMPLES_H
#define KELVOR_TESTS_SHAPES_SAMPLES_H

#include <kelvor/kelvor.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace samples {

using Q = std::array<std::int32_t, 4>;  // a rectangle as (ptMin.x, ptMin.y, ptMax.x, ptMax.y)
inline Q q(const KRECT& r) { return {r.ptMin.x, r.ptMin.y, r.ptMax.x, r.ptMax.y}; }
inline std::int32_t uniform(std::mt19937& rng, std::int32_t lo, std::int32_t hi) {
  return std::uniform_int_distribution<std::int32_t>(lo, hi)(rng);
}
inline tagPOINT point(std::mt19937& rng, std::int32_t lo, std::int32_t hi) {
  return {uniform(rng, lo, hi), uniform(rng, lo, hi)};
}
// n vertices within radius r of the origin: star-shaped (simple) or random (often self-crossing).
inline std::vector<tagPOINT> ring(std::mt19937& rng, bool star, std::int32_t n, std::int32_t r) {
  std::vector<tagPOINT> v;
  for (std::int32_t i = 0; i < n; ++i) {
    const double a = 6.283185307179586 * i / n, d = uniform(rng, 2, r);
    v.push_back(star ? tagPOINT{std::int32_t(d * std::cos(a)), std::int32_t(d * std::sin(a))}
                     : point(rng, -r, r));
  }
  return v;
}
inline std::int32_t size(const std::vector<tagPOINT>& v) { return std::int32_t(v.size()); }

}  // namespace samples

#endif  // KELVOR_TESTS_SHAPES_SAMPLES_H
