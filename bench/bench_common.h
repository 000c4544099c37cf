// Pre-generated benchmark inputs: random signs and magnitudes, so that branch
// prediction cannot learn the data and flatter a result.
#ifndef KELVOR_BENCH_COMMON_H
#define KELVOR_BENCH_COMMON_H

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
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

// Setup checks stay on in release builds: a benchmark of wrong answers, or of
// inputs that are not what they claim to be, is worse than none.
inline void require(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "benchmark setup check failed: %s\n", what);
    std::abort();
  }
}

// Counters for point queries: per_point, the CPU time per query point
// (printed in ns), and the share of queries found inside (or in a zone),
// which should be the same for every method on the same scene.
inline void report_points(benchmark::State& state, std::size_t points_per_iteration,
                          std::int64_t inside, std::int64_t asked) {
  const auto items = static_cast<std::int64_t>(points_per_iteration) * state.iterations();
  state.SetItemsProcessed(items);
  state.counters["per_point"] = benchmark::Counter(
      static_cast<double>(items), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["inside"] =
      asked > 0 ? static_cast<double>(inside) / static_cast<double>(asked) : 0.0;
}

// Counters for building from `vertices` points: per_vertex, the CPU time per
// vertex (printed in ns), and bytes_per_vertex when `bytes` is known.
inline void report_build(benchmark::State& state, std::int64_t vertices, std::size_t bytes) {
  state.counters["per_vertex"] = benchmark::Counter(
      static_cast<double>(vertices),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  if (bytes > 0) {
    state.counters["bytes_per_vertex"] = static_cast<double>(bytes) / static_cast<double>(vertices);
  }
}

}  // namespace kelvor_bench

#endif  // KELVOR_BENCH_COMMON_H
