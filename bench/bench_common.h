// Pre-generated benchmark inputs: random signs and magnitudes, so that branch
// prediction cannot learn the data and flatter a result.
#ifndef KELVOR_BENCH_COMMON_H
#define KELVOR_BENCH_COMMON_H

#include <cstdint>
#include <random>
#include <vector>

namespace kelvor_bench {

constexpr std::size_t kInputs = 4096;  // power of two: index with a mask

// Values spread over all magnitudes (log-uniform) with random signs.
inline std::vector<std::int32_t> varied_int32(std::uint32_t seed, int max_bits = 31) {
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int> bits(0, max_bits - 1);
  std::uniform_int_distribution<std::uint32_t> raw;
  std::vector<std::int32_t> v(kInputs);
  for (auto& x : v) {
    const std::uint32_t m = raw(rng) >> (32 - 1 - bits(rng));
    x = (raw(rng) & 1) ? -static_cast<std::int32_t>(m >> 1) : static_cast<std::int32_t>(m >> 1);
  }
  return v;
}

inline std::vector<std::int32_t> uniform_int32(std::uint32_t seed, std::int32_t lo,
                                               std::int32_t hi) {
  std::mt19937 rng(seed);
  std::uniform_int_distribution<std::int32_t> d(lo, hi);
  std::vector<std::int32_t> v(kInputs);
  for (auto& x : v) x = d(rng);
  return v;
}

inline std::vector<double> uniform_double(std::uint32_t seed, double lo, double hi) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> d(lo, hi);
  std::vector<double> v(kInputs);
  for (auto& x : v) x = d(rng);
  return v;
}

}  // namespace kelvor_bench

#endif  // KELVOR_BENCH_COMMON_H
