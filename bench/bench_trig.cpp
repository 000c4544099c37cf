// Trigonometry, CORDIC vector operations and the geographic angle functions,
// with libfixmath's sine and arctangent as baselines when available.
#include <benchmark/benchmark.h>
#include <kelvor/kelvor.h>

#include <cstdint>
#include <random>
#include <vector>

#if KELVOR_HAVE_FIXMATH
#include <libfixmath/fixmath.h>
#endif

namespace {

// A power of two (index by mask), and well above the 4096-entry result
// caches inside libfixmath, which would otherwise serve repeated inputs.
constexpr std::size_t kCount = 65536;
constexpr std::size_t kMask = kCount - 1;

// Magnitudes of every size and both signs, so no branch can learn them.
std::int32_t RandomComponent(std::mt19937& rng, int max_bits) {
  const int bits = 1 + static_cast<int>(rng() % static_cast<unsigned>(max_bits));
  const std::int32_t v = static_cast<std::int32_t>(rng() >> (32 - bits));
  return (rng() & 1) ? -v : v;
}

const std::vector<std::int32_t>& Angles() {
  static const std::vector<std::int32_t> v = [] {
    std::mt19937 rng(31);
    std::vector<std::int32_t> a(kCount);
    for (auto& x : a) x = static_cast<std::int32_t>(rng());  // many turns, both signs
    return a;
  }();
  return v;
}

const std::vector<KMF_Vector>& Vectors() {
  static const std::vector<KMF_Vector> v = [] {
    std::mt19937 rng(32);
    std::vector<KMF_Vector> a(kCount);
    for (auto& x : a) x = {RandomComponent(rng, 29), RandomComponent(rng, 29)};
    return a;
  }();
  return v;
}

struct Triple {
  tagLonLat a, b, c;
};

const std::vector<Triple>& Triples() {
  static const std::vector<Triple> v = [] {
    std::mt19937_64 rng(33);
    std::uniform_real_distribution<double> lon(-100.0, 100.0), lat(-60.0, 60.0);
    std::vector<Triple> a(kCount);
    for (auto& t : a) t = {{lon(rng), lat(rng)}, {lon(rng), lat(rng)}, {lon(rng), lat(rng)}};
    return a;
  }();
  return v;
}

void BM_KMF_Sin(benchmark::State& state) {
  const auto& in = Angles();
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(KMF_Sin(in[i++ & kMask]));
}
BENCHMARK(BM_KMF_Sin);

void BM_KMF_Cos(benchmark::State& state) {
  const auto& in = Angles();
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(KMF_Cos(in[i++ & kMask]));
}
BENCHMARK(BM_KMF_Cos);

void BM_KMF_Tan(benchmark::State& state) {
  const auto& in = Angles();
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(KMF_Tan(in[i++ & kMask]));
}
BENCHMARK(BM_KMF_Tan);

void BM_KMF_Atan2(benchmark::State& state) {
  const auto& in = Vectors();
  std::size_t i = 0;
  for (auto _ : state) {
    const KMF_Vector& v = in[i++ & kMask];
    benchmark::DoNotOptimize(KMF_Atan2(v.x, v.y));
  }
}
BENCHMARK(BM_KMF_Atan2);

void BM_KMF_Vector_Rotate(benchmark::State& state) {
  const auto& in = Vectors();
  const auto& angles = Angles();
  std::size_t i = 0;
  for (auto _ : state) {
    KMF_Vector v = in[i & kMask];
    KMF_Vector_Rotate(&v, angles[i & kMask]);
    ++i;
    benchmark::DoNotOptimize(v);
  }
}
BENCHMARK(BM_KMF_Vector_Rotate);

void BM_KMF_Vector_Length(benchmark::State& state) {
  const auto& in = Vectors();
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(KMF_Vector_Length(&in[i++ & kMask]));
}
BENCHMARK(BM_KMF_Vector_Length);

void BM_GetTurnAngle(benchmark::State& state) {
  const auto& in = Triples();
  std::size_t i = 0;
  for (auto _ : state) {
    const Triple& t = in[i++ & kMask];
    benchmark::DoNotOptimize(GetTurnAngle(t.a, t.b, t.c));
  }
}
BENCHMARK(BM_GetTurnAngle);

void BM_GetProjectBase(benchmark::State& state) {
  const auto& in = Triples();
  std::size_t i = 0;
  for (auto _ : state) {
    const Triple& t = in[i++ & kMask];
    tagLonLat foot{};
    benchmark::DoNotOptimize(GetProjectBase(t.a, t.b, t.c, foot));
    benchmark::DoNotOptimize(foot);
  }
}
BENCHMARK(BM_GetProjectBase);

#if KELVOR_HAVE_FIXMATH
// The same angles in fix16 radians (1.0 rad == 65536).
const std::vector<fix16_t>& Radians() {
  static const std::vector<fix16_t> v = [] {
    std::vector<fix16_t> a;
    for (std::int32_t deg : Angles())
      a.push_back(static_cast<fix16_t>(deg * (3.141592653589793 / 180.0)));
    return a;
  }();
  return v;
}

void BM_fix16_sin(benchmark::State& state) {
  const auto& in = Radians();
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(fix16_sin(in[i++ & kMask]));
}
BENCHMARK(BM_fix16_sin);

void BM_fix16_atan2(benchmark::State& state) {
  const auto& in = Vectors();
  std::size_t i = 0;
  for (auto _ : state) {
    const KMF_Vector& v = in[i++ & kMask];
    benchmark::DoNotOptimize(fix16_atan2(v.y, v.x));  // y first in libfixmath
  }
}
BENCHMARK(BM_fix16_atan2);
#endif

}  // namespace
