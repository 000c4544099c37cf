// Generated figures for the shape property tests (fixed seeds).
#ifndef KELVOR_TESTS_SHAPES_SAMPLES_H
#define KELVOR_TESTS_SHAPES_SAMPLES_H

#include <kelvor/kelvor.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace samples {

inline std::int32_t uniform(std::mt19937& rng, std::int32_t lo, std::int32_t hi) {
  return std::uniform_int_distribution<std::int32_t>(lo, hi)(rng);
}

inline tagPOINT point(std::mt19937& rng, std::int32_t lo, std::int32_t hi) {
  return tagPOINT{uniform(rng, lo, hi), uniform(rng, lo, hi)};
}

// A star-shaped ring around (cx, cy): n vertices at increasing angles with
// random radii, so it is simple but usually not convex.
inline std::vector<tagPOINT> star(std::mt19937& rng, std::int32_t n, std::int32_t cx, std::int32_t cy,
                                  std::int32_t rmin, std::int32_t rmax) {
  std::vector<tagPOINT> ring;
  for (std::int32_t i = 0; i < n; ++i) {
    const double a = 6.283185307179586 * i / n;
    const double r = uniform(rng, rmin, rmax);
    ring.push_back(tagPOINT{cx + static_cast<std::int32_t>(r * std::cos(a)),
                            cy + static_cast<std::int32_t>(r * std::sin(a))});
  }
  return ring;
}

// Any ring at all: random vertices, often self-intersecting.
inline std::vector<tagPOINT> scribble(std::mt19937& rng, std::int32_t n, std::int32_t lo, std::int32_t hi) {
  std::vector<tagPOINT> ring;
  for (std::int32_t i = 0; i < n; ++i) ring.push_back(point(rng, lo, hi));
  return ring;
}

inline KRECT rect(std::mt19937& rng, std::int32_t lo, std::int32_t hi) {
  const tagPOINT a = point(rng, lo, hi);
  return KRECT(a.x, a.y, a.x + uniform(rng, 0, (hi - lo) / 2), a.y + uniform(rng, 0, (hi - lo) / 2));
}

inline std::int32_t size(const std::vector<tagPOINT>& v) { return static_cast<std::int32_t>(v.size()); }

}  // namespace samples

#endif  // KELVOR_TESTS_SHAPES_SAMPLES_H
