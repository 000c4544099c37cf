// GetMCR on outline rings about 100,000 units tall (bench_rings.h), 16 to
// 65,536 vertices, steps 1 and 16: time per call.
//
// This program calls only GetMCR, GetMBR and KPGON, which every build of the
// library has exported, so the same binary can time an older build:
//   LD_LIBRARY_PATH=/path/to/old/lib build/release/bench/kelvor_bench_mcr
// Each benchmark's label prints the rectangle found, so the two runs also show
// whether the answers are the same.
#include <benchmark/benchmark.h>
#include <kelvor/shapes.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "bench_rings.h"

namespace {

constexpr double kTall = 100000.0;

void BM_GetMCR(benchmark::State& state) {
  const auto n = static_cast<std::int32_t>(state.range(0));
  const auto step = static_cast<std::int32_t>(state.range(1));
  std::vector<tagPOINT> ring = kelvor_bench::outline_ring(
      static_cast<std::uint32_t>(500 + n), n, 0.0, 0.0, kelvor_bench::outline_radius_for(kTall));
  KRECT rc;
  for (auto _ : state) {
    GetMCR(rc, n, ring.data(), step);
    benchmark::DoNotOptimize(rc);
  }
  // The seed corner must be inside the ring (KPGON's half-open rule).
  KRECT box;
  GetMBR(box, n, ring.data());
  const KPGON polygon(n, ring.data());
  char label[160];
  std::snprintf(label, sizeof label, "rect (%d,%d)-(%d,%d) in box %dx%d%s", rc.ptMin.x, rc.ptMin.y,
                rc.ptMax.x, rc.ptMax.y, box.ptMax.x - box.ptMin.x, box.ptMax.y - box.ptMin.y,
                rc.IsEmpty() || polygon.Contain(rc.ptMin) ? "" : " CORNER OUTSIDE");
  state.SetLabel(label);
}
// One large call can take tens of milliseconds (far more in older builds):
// a short minimum time keeps the run bounded while small rings still repeat.
BENCHMARK(BM_GetMCR)
    ->ArgNames({"n", "step"})
    ->ArgsProduct({{16, 256, 4096, 65536}, {1, 16}})
    ->MinTime(0.5)
    ->Unit(benchmark::kMillisecond);

}  // namespace
