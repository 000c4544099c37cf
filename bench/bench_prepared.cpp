// Prepared rings against the plain even-odd test and peer libraries, on
// outline and spiky rings of 64 to 262,144 vertices (see bench_rings.h), with
// 4096 query points uniform over each ring's bounding box.
//
// Names read as BM_<ring>_<method>/<vertices>, so ratios can be read down a
// ring size:
//   Prepared        PreparedPolygon batch Contain over all 4096 points
//   PreparedExact   the same with Rule::Exact
//   PreparedSingle  PreparedPolygon::Contain one point per call
//   Plain           Polygon_Contain_Point, one point per call
//   GeosPrepared    GEOSPreparedContains_r, one pre-built point per call
//   BoostWithin     boost::geometry::within, one point per call
//   Build           PreparedPolygon construction (and destruction)
//   BuildExact      the same with Rule::Exact
//   GeosBuild       GEOS polygon from the coordinates, GEOSPrepare_r and
//                   the first query (which builds GEOS's index)
// Query benchmarks report per_point (CPU time per query point) and the share
// of points inside; build benchmarks report per_vertex (CPU time per vertex)
// and bytes_per_vertex (memory_bytes()).
#include <benchmark/benchmark.h>
#include <kelvor/planar.h>
#include <kelvor/prepared.h>

#include <cstdint>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "bench_common.h"
#include "bench_geos.h"
#include "bench_rings.h"

#if KELVOR_HAVE_BOOST
#include <boost/geometry.hpp>
#include <boost/geometry/geometries/point_xy.hpp>
#include <boost/geometry/geometries/polygon.hpp>
#endif

namespace {

using kelvor_bench::kInputs;
using kelvor_bench::require;

#if KELVOR_HAVE_BOOST
namespace bg = boost::geometry;
// Doubles hold every coordinate and product of these rings exactly.
using BoostPoint = bg::model::d2::point_xy<double>;
using BoostPolygon = bg::model::polygon<BoostPoint, false /* counterclockwise */>;
#endif

enum class Shape { Outline, Spiky };

struct RingScene {
  std::vector<tagPOINT> ring;
  std::vector<tagPOINT> queries;
  std::vector<std::uint8_t> expected;  // Polygon_Contain_Point of each query
  std::int64_t expected_inside = 0;
  kelvor::PreparedPolygon prepared, exact;
#if KELVOR_HAVE_GEOS
  std::unique_ptr<kelvor_bench::GeosPrepared> geos;
  std::unique_ptr<kelvor_bench::GeosPoints> geos_points;
#endif
#if KELVOR_HAVE_BOOST
  BoostPolygon boost_ring;
  std::vector<BoostPoint> boost_queries;
#endif
};

std::int32_t count_of(const RingScene& s) { return static_cast<std::int32_t>(s.ring.size()); }

#if KELVOR_HAVE_GEOS
// Declared before the scene cache, so it is destroyed after every GEOS object.
GEOSContextHandle_t geos_context() {
  static kelvor_bench::GeosContext context;
  return context.get();
}
#endif

void make_ring(RingScene& s, Shape shape, std::int32_t n) {
  if (shape == Shape::Outline) {
    s.ring = kelvor_bench::outline_ring(
        static_cast<std::uint32_t>(n), n, 0.0, 0.0,
        kelvor_bench::outline_radius_for(kelvor_bench::outline_extent(n)));
    std::mt19937 rng(static_cast<std::uint32_t>(2000 + n));
    s.queries = kelvor_bench::points_in_box(rng, kelvor_bench::box_of(s.ring), kInputs);
  } else {
    // The ring of the planar benchmarks' scene for the same n.
    std::mt19937 rng(static_cast<std::uint32_t>(1000 + n));
    s.ring = kelvor_bench::spiky_ring(rng, n);
    s.queries = kelvor_bench::points_in_box(rng, kelvor_bench::box_of(s.ring), kInputs);
  }
}

const RingScene& scene(Shape shape, std::int32_t n) {
#if KELVOR_HAVE_GEOS
  geos_context();
#endif
  static std::map<std::pair<Shape, std::int32_t>, std::unique_ptr<RingScene>> cache;
  auto& slot = cache[{shape, n}];
  if (slot) return *slot;
  slot = std::make_unique<RingScene>();
  RingScene& s = *slot;
  make_ring(s, shape, n);
  require(!kelvor::RingCanWrap(s.ring.data(), n), "benchmark rings must not wrap");

  for (const tagPOINT& q : s.queries) {
    const std::int32_t r = Polygon_Contain_Point(s.ring.data(), n, &q);
    s.expected.push_back(static_cast<std::uint8_t>(r));
    s.expected_inside += r;
  }
  s.prepared = kelvor::PreparedPolygon(s.ring.data(), n, kelvor::Rule::Compatible);
  s.exact = kelvor::PreparedPolygon(s.ring.data(), n, kelvor::Rule::Exact);
  std::vector<std::uint8_t> got(kInputs);
  s.prepared.Contain(s.queries.data(), kInputs, got.data());
  require(got == s.expected, "PreparedPolygon answers as Polygon_Contain_Point");
  s.exact.Contain(s.queries.data(), kInputs, got.data());
  require(got == s.expected, "the exact rule agrees where nothing wraps");

#if KELVOR_HAVE_GEOS
  s.geos = std::make_unique<kelvor_bench::GeosPrepared>(geos_context(), s.ring);
  s.geos_points = std::make_unique<kelvor_bench::GeosPoints>(geos_context(), s.queries);
  // The first query builds GEOS's point-in-area index; keep that out of the
  // timed loop.
  require(s.geos->contains((*s.geos_points)[0]) != 2, "GEOS prepared contains");
#endif
#if KELVOR_HAVE_BOOST
  for (const tagPOINT& p : s.ring) bg::append(s.boost_ring.outer(), BoostPoint(p.x, p.y));
  bg::append(s.boost_ring.outer(), BoostPoint(s.ring[0].x, s.ring[0].y));
  for (const tagPOINT& q : s.queries) s.boost_queries.emplace_back(q.x, q.y);
#endif
  return s;
}

// --- Point queries -----------------------------------------------------------

void batch_contain(benchmark::State& state, const RingScene& s, const kelvor::PreparedPolygon& p) {
  std::vector<std::uint8_t> out(kInputs);
  for (auto _ : state) {
    p.Contain(s.queries.data(), kInputs, out.data());
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  std::int64_t inside = 0;
  for (std::uint8_t r : out) inside += r;
  kelvor_bench::report_points(state, kInputs, inside, kInputs);
}

void BM_Prepared(benchmark::State& state, Shape shape) {
  const RingScene& s = scene(shape, static_cast<std::int32_t>(state.range(0)));
  batch_contain(state, s, s.prepared);
}

void BM_PreparedExact(benchmark::State& state, Shape shape) {
  const RingScene& s = scene(shape, static_cast<std::int32_t>(state.range(0)));
  batch_contain(state, s, s.exact);
}

void BM_PreparedSingle(benchmark::State& state, Shape shape) {
  const RingScene& s = scene(shape, static_cast<std::int32_t>(state.range(0)));
  std::size_t i = 0;
  std::int64_t inside = 0;
  for (auto _ : state) {
    const std::int32_t r = s.prepared.Contain(s.queries[i++ & (kInputs - 1)]);
    benchmark::DoNotOptimize(r);
    inside += r;
  }
  kelvor_bench::report_points(state, 1, inside, state.iterations());
}

void BM_Plain(benchmark::State& state, Shape shape) {
  const RingScene& s = scene(shape, static_cast<std::int32_t>(state.range(0)));
  const std::int32_t n = count_of(s);
  std::size_t i = 0;
  std::int64_t inside = 0;
  for (auto _ : state) {
    const std::int32_t r = Polygon_Contain_Point(s.ring.data(), n, &s.queries[i++ & (kInputs - 1)]);
    benchmark::DoNotOptimize(r);
    inside += r;
  }
  kelvor_bench::report_points(state, 1, inside, state.iterations());
}

#if KELVOR_HAVE_GEOS
void BM_GeosPrepared(benchmark::State& state, Shape shape) {
  const RingScene& s = scene(shape, static_cast<std::int32_t>(state.range(0)));
  std::size_t i = 0;
  std::int64_t inside = 0;
  for (auto _ : state) {
    const char r = s.geos->contains((*s.geos_points)[i++ & (kInputs - 1)]);
    benchmark::DoNotOptimize(r);
    inside += r == 1;
  }
  kelvor_bench::report_points(state, 1, inside, state.iterations());
}
#endif

#if KELVOR_HAVE_BOOST
void BM_BoostWithin(benchmark::State& state, Shape shape) {
  const RingScene& s = scene(shape, static_cast<std::int32_t>(state.range(0)));
  std::size_t i = 0;
  std::int64_t inside = 0;
  for (auto _ : state) {
    const bool r = bg::within(s.boost_queries[i++ & (kInputs - 1)], s.boost_ring);
    benchmark::DoNotOptimize(r);
    inside += r;
  }
  kelvor_bench::report_points(state, 1, inside, state.iterations());
}
#endif

// --- Building ----------------------------------------------------------------

void build(benchmark::State& state, Shape shape, kelvor::Rule rule) {
  const RingScene& s = scene(shape, static_cast<std::int32_t>(state.range(0)));
  const std::int32_t n = count_of(s);
  std::size_t bytes = 0;
  for (auto _ : state) {
    kelvor::PreparedPolygon p(s.ring.data(), n, rule);
    benchmark::DoNotOptimize(p);
    bytes = p.memory_bytes();
  }
  kelvor_bench::report_build(state, n, bytes);
}

void BM_Build(benchmark::State& state, Shape shape) {
  build(state, shape, kelvor::Rule::Compatible);
}

void BM_BuildExact(benchmark::State& state, Shape shape) {
  build(state, shape, kelvor::Rule::Exact);
}

#if KELVOR_HAVE_GEOS
void BM_GeosBuild(benchmark::State& state, Shape shape) {
  const RingScene& s = scene(shape, static_cast<std::int32_t>(state.range(0)));
  for (auto _ : state) {
    kelvor_bench::GeosPrepared g(geos_context(), s.ring);
    benchmark::DoNotOptimize(g.contains((*s.geos_points)[0]));
  }
  kelvor_bench::report_build(state, count_of(s), 0);
}
#endif

// Registered by ring size, so that one size's methods print together.
const int kRegistered = [] {
  using Fn = void (*)(benchmark::State&, Shape);
  const std::pair<const char*, Fn> methods[] = {
      {"Prepared", BM_Prepared},
      {"PreparedExact", BM_PreparedExact},
      {"PreparedSingle", BM_PreparedSingle},
      {"Plain", BM_Plain},
#if KELVOR_HAVE_GEOS
      {"GeosPrepared", BM_GeosPrepared},
#endif
#if KELVOR_HAVE_BOOST
      {"BoostWithin", BM_BoostWithin},
#endif
      {"Build", BM_Build},
      {"BuildExact", BM_BuildExact},
#if KELVOR_HAVE_GEOS
      {"GeosBuild", BM_GeosBuild},
#endif
  };
  const std::pair<const char*, Shape> shapes[] = {{"Outline", Shape::Outline},
                                                  {"Spiky", Shape::Spiky}};
  for (const auto& shape : shapes) {
    for (const std::int64_t n : {64, 1024, 16384, 262144}) {
      for (const auto& method : methods) {
        const std::string name = std::string("BM_") + shape.first + "_" + method.first;
        benchmark::RegisterBenchmark(name.c_str(), method.second, shape.second)->Arg(n);
      }
    }
  }
  return 0;
}();

}  // namespace
