// A world of about 250 country areas with some 10 million vertices and
// 50,000 rings (world_areas() in bench_rings.h: coastlines, lakes, islands,
// each country one area), located in batches of 2^20 points so that the
// index is read from memory, not from a warm cache:
//   BM_World_Locate        points uniform over the world's box
//   BM_World_LocateNear    points within 2,000 units of random vertices
//   BM_World_Build         ZoneIndex construction: seconds, per_vertex and
//                          bytes_per_vertex (memory_bytes())
// Both rules are the same here (no edge can wrap); the exact rule is used.
#include <benchmark/benchmark.h>
#include <kelvor/prepared.h>

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "bench_common.h"
#include "bench_rings.h"

namespace {

constexpr std::size_t kBatch = std::size_t{1} << 20;

struct WorldScene {
  std::vector<kelvor_bench::WorldArea> areas;
  std::vector<std::vector<kelvor::Ring>> rings;
  std::vector<kelvor::Area> given;
  std::int64_t vertices = 0, ring_count = 0;
  std::vector<tagPOINT> uniform, near;
  std::unique_ptr<kelvor::ZoneIndex> index;
};

const WorldScene& scene() {
  static std::unique_ptr<WorldScene> s;
  if (s) return *s;
  s = std::make_unique<WorldScene>();
  s->areas = kelvor_bench::world_areas();
  std::vector<const std::vector<tagPOINT>*> all;
  for (const auto& a : s->areas) {
    std::vector<kelvor::Ring> r;
    for (std::size_t k = 0; k < a.rings.size(); ++k) {
      r.push_back({a.rings[k].data(), static_cast<std::int32_t>(a.rings[k].size()), a.hole[k]});
      s->vertices += static_cast<std::int64_t>(a.rings[k].size());
      all.push_back(&a.rings[k]);
    }
    s->ring_count += static_cast<std::int64_t>(r.size());
    s->rings.push_back(std::move(r));
  }
  for (std::size_t i = 0; i < s->areas.size(); ++i) {
    s->given.push_back({s->rings[i].data(), s->rings[i].size(), s->areas[i].id});
  }
  std::mt19937 rng(77);
  s->uniform = kelvor_bench::points_in_box(
      rng, kelvor_bench::Box{{-18000000, -9000000}, {18000000, 9000000}}, kBatch);
  s->near = kelvor_bench::points_near_vertices(rng, all, kBatch, 2000);
  s->index =
      std::make_unique<kelvor::ZoneIndex>(s->given.data(), s->given.size(), kelvor::Rule::Exact);
  return *s;
}

void locate(benchmark::State& state, const std::vector<tagPOINT>& pts) {
  const WorldScene& s = scene();
  std::vector<std::int32_t> out(pts.size());
  for (auto _ : state) {
    s.index->Locate(pts.data(), pts.size(), out.data());
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  std::int64_t found = 0;
  for (const std::int32_t z : out) found += z != kelvor::ZoneIndex::kNoZone;
  kelvor_bench::report_points(state, pts.size(), found, static_cast<std::int64_t>(pts.size()));
}

void BM_World_Locate(benchmark::State& state) { locate(state, scene().uniform); }
void BM_World_LocateNear(benchmark::State& state) { locate(state, scene().near); }

void BM_World_Build(benchmark::State& state) {
  const WorldScene& s = scene();
  std::size_t bytes = 0;
  for (auto _ : state) {
    kelvor::ZoneIndex index(s.given.data(), s.given.size(), kelvor::Rule::Exact);
    benchmark::DoNotOptimize(index);
    bytes = index.memory_bytes();
  }
  kelvor_bench::report_build(state, s.vertices, bytes);
  state.counters["vertices"] = static_cast<double>(s.vertices);
  state.counters["rings"] = static_cast<double>(s.ring_count);
}

BENCHMARK(BM_World_Locate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_World_LocateNear)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_World_Build)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
