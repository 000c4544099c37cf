// Locating points among about 200 country-sized zones (world_zones() in
// bench_rings.h), the lowest id winning where zones overlap; 4096 query points
// uniform over the union of the zones' bounding boxes.
//   BM_Zones_Index          ZoneIndex batch Locate over all 4096 points
//   BM_Zones_IndexExact     the same with Rule::Exact
//   BM_Zones_IndexSingle    ZoneIndex::Locate one point per call
//   BM_Zones_LinearKPGON    KPGON::Contain over the zones in id order, first hit
//   BM_Zones_GeosPrepared   the same loop over GEOS prepared polygons, each
//                           behind an integer bounding-box test
//   BM_Zones_GeosSTRtree    a GEOS STRtree of the zones' envelopes, then
//                           GEOSPreparedContains_r on the candidates
//   BM_Zones_Build          ZoneIndex construction: per_vertex (CPU time per
//                           vertex of all zones), bytes_per_vertex from
//                           memory_bytes()
// Query benchmarks report per_point (CPU time per query point) and the share
// of points found in some zone.
#include <benchmark/benchmark.h>
#include <kelvor/prepared.h>
#include <kelvor/shapes.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "bench_common.h"
#include "bench_geos.h"
#include "bench_rings.h"

namespace {

using kelvor_bench::kInputs;
using kelvor_bench::require;

struct ZoneScene {
  std::vector<kelvor_bench::ZoneRing> rings;  // sorted by id
  std::vector<kelvor::Zone> zones;
  std::vector<KPGON> kpgons;  // in id order; borrow the rings' points
  std::vector<kelvor_bench::Box> boxes;
  std::vector<tagPOINT> queries;
  std::vector<std::int32_t> expected;  // the linear loop's answer per query
  std::int64_t vertices = 0;
  kelvor::ZoneIndex index, exact;
#if KELVOR_HAVE_GEOS
  struct GeosZone {
    std::int32_t id;
    std::unique_ptr<kelvor_bench::GeosPrepared> prepared;
  };
  std::vector<GeosZone> geos;  // in id order; never resized once the tree holds them
  std::unique_ptr<kelvor_bench::GeosPoints> geos_points;
  GEOSContextHandle_t ctx = nullptr;
  GEOSSTRtree* tree = nullptr;
  std::int64_t geos_differs = 0;  // queries where GEOS disagrees (boundary points)
  ZoneScene() = default;
  ZoneScene(const ZoneScene&) = delete;
  ZoneScene& operator=(const ZoneScene&) = delete;
  ~ZoneScene() {
    if (tree) GEOSSTRtree_destroy_r(ctx, tree);
  }
#endif
};

// First hit in id order, as ZoneIndex defines the answer.
std::int32_t locate_linear(const ZoneScene& s, const tagPOINT& p) {
  for (std::size_t z = 0; z < s.kpgons.size(); ++z) {
    if (s.kpgons[z].Contain(p)) return s.rings[z].id;
  }
  return kelvor::ZoneIndex::kNoZone;
}

std::int64_t hits(const std::int32_t* ids, std::size_t count) {
  return std::count_if(ids, ids + count,
                       [](std::int32_t id) { return id != kelvor::ZoneIndex::kNoZone; });
}

#if KELVOR_HAVE_GEOS
// Declared before the scene, so it is destroyed after every GEOS object.
GEOSContextHandle_t geos_context() {
  static kelvor_bench::GeosContext context;
  return context.get();
}

// The loop of prepared polygons, each behind its bounding box.
std::int32_t locate_geos_loop(const ZoneScene& s, std::size_t q) {
  const tagPOINT& p = s.queries[q];
  const GEOSGeometry* point = (*s.geos_points)[q];
  for (std::size_t z = 0; z < s.geos.size(); ++z) {
    if (s.boxes[z].holds(p) && s.geos[z].prepared->contains(point) == 1) return s.geos[z].id;
  }
  return kelvor::ZoneIndex::kNoZone;
}

struct TreeQuery {
  const GEOSGeometry* point;
  std::int32_t best;
};

// Called for every zone whose envelope holds the point, in no set order.
void test_candidate(void* item, void* userdata) {
  const auto& zone = *static_cast<const ZoneScene::GeosZone*>(item);
  auto& query = *static_cast<TreeQuery*>(userdata);
  if ((query.best == kelvor::ZoneIndex::kNoZone || zone.id < query.best) &&
      zone.prepared->contains(query.point) == 1) {
    query.best = zone.id;
  }
}

std::int32_t locate_geos_tree(const ZoneScene& s, std::size_t q) {
  TreeQuery query{(*s.geos_points)[q], kelvor::ZoneIndex::kNoZone};
  GEOSSTRtree_query_r(s.ctx, s.tree, query.point, test_candidate, &query);
  return query.best;
}

void build_geos(ZoneScene& s) {
  s.ctx = geos_context();
  for (const auto& z : s.rings) {
    s.geos.push_back({z.id, std::make_unique<kelvor_bench::GeosPrepared>(s.ctx, z.ring)});
  }
  s.geos_points = std::make_unique<kelvor_bench::GeosPoints>(s.ctx, s.queries);
  s.tree = GEOSSTRtree_create_r(s.ctx, 10);
  require(s.tree != nullptr, "GEOS STRtree");
  for (auto& z : s.geos) GEOSSTRtree_insert_r(s.ctx, s.tree, z.prepared->polygon(), &z);
  // The first queries build the tree and each polygon's point-in-area index:
  // keep that out of the timed loops.
  for (std::size_t q = 0; q < kInputs; ++q) {
    const std::int32_t by_loop = locate_geos_loop(s, q);
    require(locate_geos_tree(s, q) == by_loop, "both GEOS searches agree");
    s.geos_differs += by_loop != s.expected[q];
  }
}
#endif

const ZoneScene& scene() {
#if KELVOR_HAVE_GEOS
  geos_context();
#endif
  static const std::unique_ptr<ZoneScene> built = [] {
    auto sp = std::make_unique<ZoneScene>();
    ZoneScene& s = *sp;
    s.rings = kelvor_bench::world_zones();
    for (auto& z : s.rings) {
      const auto n = static_cast<std::int32_t>(z.ring.size());
      require(!kelvor::RingCanWrap(z.ring.data(), n), "zones must not wrap");
      s.zones.push_back({z.ring.data(), n, z.id});
      s.kpgons.emplace_back(n, z.ring.data());
      s.boxes.push_back(kelvor_bench::box_of(z.ring));
      s.vertices += n;
    }
    std::mt19937 rng(31);
    s.queries = kelvor_bench::points_in_zone_boxes(rng, s.rings, kInputs);
    for (const tagPOINT& q : s.queries) s.expected.push_back(locate_linear(s, q));

    s.index = kelvor::ZoneIndex(s.zones.data(), s.zones.size(), kelvor::Rule::Compatible);
    s.exact = kelvor::ZoneIndex(s.zones.data(), s.zones.size(), kelvor::Rule::Exact);
    std::vector<std::int32_t> got(kInputs);
    s.index.Locate(s.queries.data(), kInputs, got.data());
    require(got == s.expected, "ZoneIndex answers as the linear KPGON loop");
    s.exact.Locate(s.queries.data(), kInputs, got.data());
    require(got == s.expected, "the exact rule agrees where nothing wraps");
#if KELVOR_HAVE_GEOS
    build_geos(s);
#endif
    return sp;
  }();
  return *built;
}

void BM_Zones_Index(benchmark::State& state) {
  const ZoneScene& s = scene();
  std::vector<std::int32_t> out(kInputs);
  for (auto _ : state) {
    s.index.Locate(s.queries.data(), kInputs, out.data());
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  kelvor_bench::report_points(state, kInputs, hits(out.data(), kInputs), kInputs);
}
BENCHMARK(BM_Zones_Index);

void BM_Zones_IndexExact(benchmark::State& state) {
  const ZoneScene& s = scene();
  std::vector<std::int32_t> out(kInputs);
  for (auto _ : state) {
    s.exact.Locate(s.queries.data(), kInputs, out.data());
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  kelvor_bench::report_points(state, kInputs, hits(out.data(), kInputs), kInputs);
}
BENCHMARK(BM_Zones_IndexExact);

void BM_Zones_IndexSingle(benchmark::State& state) {
  const ZoneScene& s = scene();
  std::size_t i = 0;
  std::int64_t found = 0;
  for (auto _ : state) {
    const std::int32_t id = s.index.Locate(s.queries[i++ & (kInputs - 1)]);
    benchmark::DoNotOptimize(id);
    found += id != kelvor::ZoneIndex::kNoZone;
  }
  kelvor_bench::report_points(state, 1, found, state.iterations());
}
BENCHMARK(BM_Zones_IndexSingle);

void BM_Zones_LinearKPGON(benchmark::State& state) {
  const ZoneScene& s = scene();
  std::size_t i = 0;
  std::int64_t found = 0;
  for (auto _ : state) {
    const std::int32_t id = locate_linear(s, s.queries[i++ & (kInputs - 1)]);
    benchmark::DoNotOptimize(id);
    found += id != kelvor::ZoneIndex::kNoZone;
  }
  kelvor_bench::report_points(state, 1, found, state.iterations());
}
BENCHMARK(BM_Zones_LinearKPGON);

#if KELVOR_HAVE_GEOS
void BM_Zones_GeosPrepared(benchmark::State& state) {
  const ZoneScene& s = scene();
  std::size_t i = 0;
  std::int64_t found = 0;
  for (auto _ : state) {
    const std::int32_t id = locate_geos_loop(s, i++ & (kInputs - 1));
    benchmark::DoNotOptimize(id);
    found += id != kelvor::ZoneIndex::kNoZone;
  }
  kelvor_bench::report_points(state, 1, found, state.iterations());
  state.counters["differs"] = static_cast<double>(s.geos_differs);
}
BENCHMARK(BM_Zones_GeosPrepared);

void BM_Zones_GeosSTRtree(benchmark::State& state) {
  const ZoneScene& s = scene();
  std::size_t i = 0;
  std::int64_t found = 0;
  for (auto _ : state) {
    const std::int32_t id = locate_geos_tree(s, i++ & (kInputs - 1));
    benchmark::DoNotOptimize(id);
    found += id != kelvor::ZoneIndex::kNoZone;
  }
  kelvor_bench::report_points(state, 1, found, state.iterations());
  state.counters["differs"] = static_cast<double>(s.geos_differs);
}
BENCHMARK(BM_Zones_GeosSTRtree);
#endif

void BM_Zones_Build(benchmark::State& state) {
  const ZoneScene& s = scene();
  std::size_t bytes = 0;
  for (auto _ : state) {
    kelvor::ZoneIndex index(s.zones.data(), s.zones.size(), kelvor::Rule::Compatible);
    benchmark::DoNotOptimize(index);
    bytes = index.memory_bytes();
  }
  kelvor_bench::report_build(state, s.vertices, bytes);
  state.counters["zones"] = static_cast<double>(s.zones.size());
  state.counters["vertices"] = static_cast<double>(s.vertices);
}
BENCHMARK(BM_Zones_Build)->Unit(benchmark::kMillisecond);

}  // namespace
