// Points near a detailed border, where an answer is hardest: fractal
// coastlines of 32,768 to 524,288 vertices (bench_rings.h), 4096 query points
// within 2,000 units of random vertices (BM_Border_*) or uniform over the
// ring's box (BM_BorderBox_*), one point per call.
//   Kelvor         PreparedPolygon::Contain, compatible rule
//   KelvorExact    the same with Rule::Exact
//   GeosPrepared   GEOSPreparedContains_r, pre-built point
// Build: PreparedPolygon construction per vertex, and bytes per vertex.
#include <benchmark/benchmark.h>
#include <kelvor/prepared.h>

#include <cstdint>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench_common.h"
#include "bench_geos.h"
#include "bench_rings.h"

namespace {

using kelvor_bench::kInputs;

struct BorderScene {
  std::vector<tagPOINT> ring;
  std::vector<tagPOINT> near, box;
  kelvor::PreparedPolygon compatible, exact;
#if KELVOR_HAVE_GEOS
  std::unique_ptr<kelvor_bench::GeosPrepared> geos;
  std::unique_ptr<kelvor_bench::GeosPoints> geos_near, geos_box;
#endif
};

#if KELVOR_HAVE_GEOS
GEOSContextHandle_t geos_context() {
  static kelvor_bench::GeosContext context;
  return context.get();
}
#endif

// 16 corners refined `levels` times, about 10 degrees across in 1/100000
// degree.
const BorderScene& scene(std::int64_t vertices) {
#if KELVOR_HAVE_GEOS
  geos_context();
#endif
  static std::map<std::int64_t, std::unique_ptr<BorderScene>> cache;
  auto& slot = cache[vertices];
  if (slot) return *slot;
  slot = std::make_unique<BorderScene>();
  BorderScene& s = *slot;
  int levels = 0;
  while ((std::int64_t{16} << levels) < vertices) ++levels;
  s.ring = kelvor_bench::fractal_ring(static_cast<std::uint32_t>(vertices), 16, levels, 0.0, 0.0,
                                      450000.0);
  std::mt19937 rng(static_cast<std::uint32_t>(vertices) + 3);
  s.near = kelvor_bench::points_near_vertices(rng, {&s.ring}, kInputs, 2000);
  s.box = kelvor_bench::points_in_box(rng, kelvor_bench::box_of(s.ring), kInputs);
  const auto n = static_cast<std::int32_t>(s.ring.size());
  kelvor_bench::require(!kelvor::RingCanWrap(s.ring.data(), n), "fractal rings must not wrap");
  s.compatible = kelvor::PreparedPolygon(s.ring.data(), n);
  s.exact = kelvor::PreparedPolygon(s.ring.data(), n, kelvor::Rule::Exact);
#if KELVOR_HAVE_GEOS
  s.geos = std::make_unique<kelvor_bench::GeosPrepared>(geos_context(), s.ring);
  s.geos_near = std::make_unique<kelvor_bench::GeosPoints>(geos_context(), s.near);
  s.geos_box = std::make_unique<kelvor_bench::GeosPoints>(geos_context(), s.box);
  kelvor_bench::require(s.geos->contains((*s.geos_near)[0]) != 2, "GEOS prepared contains");
#endif
  return s;
}

void kelvor_points(benchmark::State& state, const kelvor::PreparedPolygon& p,
                   const std::vector<tagPOINT>& pts) {
  std::size_t i = 0;
  std::int64_t inside = 0;
  for (auto _ : state) {
    const std::int32_t r = p.Contain(pts[i++ & (kInputs - 1)]);
    benchmark::DoNotOptimize(r);
    inside += r;
  }
  kelvor_bench::report_points(state, 1, inside, state.iterations());
}

void BM_Border_Kelvor(benchmark::State& state) {
  const BorderScene& s = scene(state.range(0));
  kelvor_points(state, s.compatible, s.near);
}
void BM_Border_KelvorExact(benchmark::State& state) {
  const BorderScene& s = scene(state.range(0));
  kelvor_points(state, s.exact, s.near);
}
void BM_BorderBox_Kelvor(benchmark::State& state) {
  const BorderScene& s = scene(state.range(0));
  kelvor_points(state, s.compatible, s.box);
}

#if KELVOR_HAVE_GEOS
void geos_points(benchmark::State& state, const BorderScene& s,
                 const kelvor_bench::GeosPoints& pts) {
  std::size_t i = 0;
  std::int64_t inside = 0;
  for (auto _ : state) {
    const char r = s.geos->contains(pts[i++ & (kInputs - 1)]);
    benchmark::DoNotOptimize(r);
    inside += r == 1;
  }
  kelvor_bench::report_points(state, 1, inside, state.iterations());
}
void BM_Border_GeosPrepared(benchmark::State& state) {
  const BorderScene& s = scene(state.range(0));
  geos_points(state, s, *s.geos_near);
}
void BM_BorderBox_GeosPrepared(benchmark::State& state) {
  const BorderScene& s = scene(state.range(0));
  geos_points(state, s, *s.geos_box);
}
#endif

void BM_Border_Build(benchmark::State& state) {
  const BorderScene& s = scene(state.range(0));
  const auto n = static_cast<std::int32_t>(s.ring.size());
  std::size_t bytes = 0;
  for (auto _ : state) {
    kelvor::PreparedPolygon p(s.ring.data(), n);
    benchmark::DoNotOptimize(p);
    bytes = p.memory_bytes();
  }
  kelvor_bench::report_build(state, n, bytes);
}

const int kRegistered = [] {
  for (const std::int64_t n : {32768, 262144, 524288}) {
    benchmark::RegisterBenchmark("BM_Border_Kelvor", BM_Border_Kelvor)->Arg(n);
    benchmark::RegisterBenchmark("BM_Border_KelvorExact", BM_Border_KelvorExact)->Arg(n);
#if KELVOR_HAVE_GEOS
    benchmark::RegisterBenchmark("BM_Border_GeosPrepared", BM_Border_GeosPrepared)->Arg(n);
#endif
    benchmark::RegisterBenchmark("BM_BorderBox_Kelvor", BM_BorderBox_Kelvor)->Arg(n);
#if KELVOR_HAVE_GEOS
    benchmark::RegisterBenchmark("BM_BorderBox_GeosPrepared", BM_BorderBox_GeosPrepared)->Arg(n);
#endif
    benchmark::RegisterBenchmark("BM_Border_Build", BM_Border_Build)->Arg(n);
  }
  return 0;
}();

}  // namespace
