// The correctly rounded sin, cos and acos (kelvor::detail::cr_*) against the
// C library's (glibc here) on the arguments the geographic functions pass:
// angles in radians of a few units, and acos of cosines, many near 1.
// Compare each BM_Cr* time with its BM_Std* twin; the aim is at most 2x.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "bench_common.h"
#include "crmath/crmath.h"

namespace {

using kelvor_bench::kInputs;
constexpr std::size_t kMask = kInputs - 1;

// Latitudes, longitudes and their differences, in radians.
const std::vector<double>& angles() {
  static const auto v = kelvor_bench::uniform_double(41, -3.2, 3.2);
  return v;
}

// acos arguments as the great-circle distance makes them: cosines of central
// angles, half of them short hops (cosines within 1e-3 of 1), and a few
// exactly +-1.
const std::vector<double>& cosines() {
  static const auto v = [] {
    std::mt19937 rng(42);
    std::uniform_real_distribution<double> wide(0.0, 3.14159), hop(0.0, 0.045);
    std::vector<double> a(kInputs);
    for (std::size_t i = 0; i < kInputs; ++i) {
      const double angle = (rng() & 1) ? hop(rng) : wide(rng);
      a[i] = std::cos(angle);
    }
    a[7] = 1.0;
    a[11] = -1.0;
    return a;
  }();
  return v;
}

// Within one ulp of the C library (which is within one of the truth).
template <typename F, typename G>
bool close_to(const std::vector<double>& in, F f, G libm) {
  for (const double x : in) {
    const double a = f(x), b = libm(x);
    if (a != b && a != std::nextafter(b, 1e9) && a != std::nextafter(b, -1e9)) return false;
  }
  return true;
}

template <typename F>
void run(benchmark::State& state, const std::vector<double>& in, F f) {
  kelvor_bench::require(in.size() == kInputs, "input count");
  static const bool checked = [] {
    using kelvor::detail::cr_acos;
    using kelvor::detail::cr_cos;
    using kelvor::detail::cr_sin;
    return close_to(angles(), cr_sin, [](double x) { return std::sin(x); }) &&
           close_to(angles(), cr_cos, [](double x) { return std::cos(x); }) &&
           close_to(cosines(), cr_acos, [](double x) { return std::acos(x); });
  }();
  kelvor_bench::require(checked, "cr_sin, cr_cos and cr_acos within an ulp of the C library");
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(f(in[i & kMask]));
    ++i;
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["per_call"] =
      benchmark::Counter(static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_CrSin(benchmark::State& s) { run(s, angles(), kelvor::detail::cr_sin); }
void BM_StdSin(benchmark::State& s) {
  run(s, angles(), [](double x) { return std::sin(x); });
}
void BM_CrCos(benchmark::State& s) { run(s, angles(), kelvor::detail::cr_cos); }
void BM_StdCos(benchmark::State& s) {
  run(s, angles(), [](double x) { return std::cos(x); });
}
void BM_CrAcos(benchmark::State& s) { run(s, cosines(), kelvor::detail::cr_acos); }
void BM_StdAcos(benchmark::State& s) {
  run(s, cosines(), [](double x) { return std::acos(x); });
}

}  // namespace

BENCHMARK(BM_CrSin);
BENCHMARK(BM_StdSin);
BENCHMARK(BM_CrCos);
BENCHMARK(BM_StdCos);
BENCHMARK(BM_CrAcos);
BENCHMARK(BM_StdAcos);
