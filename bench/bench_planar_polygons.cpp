// Polygon predicates on spiky star rings (spiky_ring in bench_rings.h: random radii at jittered
// angles) with query points spread over each ring's bounding box; Boost
// within (default winding strategy, and crossings_multiply) as baselines on
// the same rings and points.
#include <benchmark/benchmark.h>
#include <kelvor/planar.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <memory>
#include <random>
#include <vector>

#include "bench_rings.h"

#if KELVOR_HAVE_BOOST
#include <boost/geometry.hpp>
#include <boost/geometry/geometries/point_xy.hpp>
#include <boost/geometry/geometries/polygon.hpp>
#include <boost/geometry/strategies/cartesian/point_in_poly_crossings_multiply.hpp>
#endif

namespace {

constexpr std::size_t kQueries = 4096;  // power of two, cycled through

#if KELVOR_HAVE_BOOST
namespace bg = boost::geometry;
using BoostPoint = bg::model::d2::point_xy<int>;
using BoostPolygon =
    bg::model::polygon<BoostPoint, false /* counterclockwise */, true /* closed */>;
#endif

struct Scene {
  std::vector<tagPOINT> ring;
  std::vector<tagPOINT> queries;
  std::vector<tagPOINT> seg_a, seg_b;  // short segments around the queries
  tagPOINT box_min{}, box_max{};
#if KELVOR_HAVE_BOOST
  BoostPolygon boost_ring;
  std::vector<BoostPoint> boost_queries;
#endif
};

// Radii up to 20000 keep every 32-bit product of the baselines exact.
const Scene& scene(std::int32_t n) {
  static std::map<std::int32_t, std::unique_ptr<Scene>> cache;
  auto& slot = cache[n];
  if (slot) return *slot;
  slot = std::make_unique<Scene>();
  Scene& s = *slot;
  std::mt19937 rng(static_cast<std::uint32_t>(1000 + n));
  s.ring = kelvor_bench::spiky_ring(rng, n);
  const kelvor_bench::Box box = kelvor_bench::box_of(s.ring);
  s.box_min = box.min;
  s.box_max = box.max;
  std::uniform_int_distribution<std::int32_t> qx(s.box_min.x, s.box_max.x),
      qy(s.box_min.y, s.box_max.y);
  std::uniform_int_distribution<std::int32_t> step(-3000, 3000);
  for (std::size_t i = 0; i < kQueries; ++i) {
    const tagPOINT q{qx(rng), qy(rng)};
    s.queries.push_back(q);
    s.seg_a.push_back({q.x + step(rng), q.y + step(rng)});
    s.seg_b.push_back({q.x + step(rng), q.y + step(rng)});
  }
#if KELVOR_HAVE_BOOST
  for (const tagPOINT& p : s.ring) bg::append(s.boost_ring.outer(), BoostPoint(p.x, p.y));
  bg::append(s.boost_ring.outer(), BoostPoint(s.ring[0].x, s.ring[0].y));
  for (const tagPOINT& q : s.queries) s.boost_queries.emplace_back(q.x, q.y);
#endif
  return s;
}

void per_vertex(benchmark::State& state, std::int32_t n, std::int64_t inside) {
  state.counters["per_vertex"] =
      benchmark::Counter(static_cast<double>(n), benchmark::Counter::kIsIterationInvariantRate |
                                                     benchmark::Counter::kInvert);
  state.counters["inside"] = static_cast<double>(inside) / static_cast<double>(state.iterations());
}

void BM_Point_Polygon_Intersect(benchmark::State& state) {
  const auto n = static_cast<std::int32_t>(state.range(0));
  const Scene& s = scene(n);
  std::size_t i = 0;
  std::int64_t inside = 0;
  for (auto _ : state) {
    const std::int32_t r =
        Point_Polygon_Intersect(&s.queries[i++ & (kQueries - 1)], s.ring.data(), n);
    benchmark::DoNotOptimize(r);
    inside += r;
  }
  per_vertex(state, n, inside);
}
BENCHMARK(BM_Point_Polygon_Intersect)->Arg(4)->Arg(64)->Arg(1024)->Arg(16384);

#if KELVOR_HAVE_BOOST
void BM_Boost_Within(benchmark::State& state) {
  const auto n = static_cast<std::int32_t>(state.range(0));
  const Scene& s = scene(n);
  std::size_t i = 0;
  std::int64_t inside = 0;
  for (auto _ : state) {
    const bool r = bg::within(s.boost_queries[i++ & (kQueries - 1)], s.boost_ring);
    benchmark::DoNotOptimize(r);
    inside += r;
  }
  per_vertex(state, n, inside);
}
BENCHMARK(BM_Boost_Within)->Arg(4)->Arg(64)->Arg(1024)->Arg(16384);

void BM_Boost_Within_CrossingsMultiply(benchmark::State& state) {
  const auto n = static_cast<std::int32_t>(state.range(0));
  const Scene& s = scene(n);
  const bg::strategy::within::crossings_multiply<BoostPoint> strategy;
  std::size_t i = 0;
  std::int64_t inside = 0;
  for (auto _ : state) {
    const bool r = bg::within(s.boost_queries[i++ & (kQueries - 1)], s.boost_ring, strategy);
    benchmark::DoNotOptimize(r);
    inside += r;
  }
  per_vertex(state, n, inside);
}
BENCHMARK(BM_Boost_Within_CrossingsMultiply)->Arg(4)->Arg(64)->Arg(1024)->Arg(16384);
#endif

void BM_Polygon_Contain_Segment(benchmark::State& state) {
  const auto n = static_cast<std::int32_t>(state.range(0));
  const Scene& s = scene(n);
  std::size_t i = 0;
  for (auto _ : state) {
    const std::size_t k = i++ & (kQueries - 1);
    benchmark::DoNotOptimize(Polygon_Contain_Segment(s.ring.data(), n, &s.seg_a[k], &s.seg_b[k]));
  }
}
BENCHMARK(BM_Polygon_Contain_Segment)->Arg(64)->Arg(1024)->Arg(16384);

void BM_Polygon_Contain_Rect(benchmark::State& state) {
  const auto n = static_cast<std::int32_t>(state.range(0));
  const Scene& s = scene(n);
  std::size_t i = 0;
  for (auto _ : state) {
    const std::size_t k = i++ & (kQueries - 1);
    const tagPOINT& a = s.seg_a[k];
    const tagPOINT& b = s.seg_b[k];
    const tagPOINT min{std::min(a.x, b.x), std::min(a.y, b.y)},
        max{std::max(a.x, b.x), std::max(a.y, b.y)};
    benchmark::DoNotOptimize(Polygon_Contain_Rect(s.ring.data(), n, &min, &max));
  }
}
BENCHMARK(BM_Polygon_Contain_Rect)->Arg(64)->Arg(1024)->Arg(16384);

void BM_Rect_Clip_Segment(benchmark::State& state) {
  const Scene& s = scene(64);
  const tagPOINT min{-8000, -6000}, max{9000, 7000};
  std::size_t i = 0;
  for (auto _ : state) {
    const std::size_t k = i++ & (kQueries - 1);
    tagPOINT p = s.queries[k];
    tagPOINT q = s.queries[(k * 7 + 1) & (kQueries - 1)];
    benchmark::DoNotOptimize(Rect_Clip_Segment(&min, &max, &p, &q));
    benchmark::DoNotOptimize(p);
    benchmark::DoNotOptimize(q);
  }
}
BENCHMARK(BM_Rect_Clip_Segment);

void BM_Polygon_Clip_Horizon(benchmark::State& state) {
  const auto n = static_cast<std::int32_t>(state.range(0));
  const Scene& s = scene(n);
  std::size_t i = 0;
  for (auto _ : state) {
    const tagPOINT& q = s.queries[i++ & (kQueries - 1)];
    std::int32_t from = q.x - 4000, to = q.x + 4000;
    benchmark::DoNotOptimize(Polygon_Clip_Horizon(s.ring.data(), n, &from, &to, q.y));
    benchmark::DoNotOptimize(from);
    benchmark::DoNotOptimize(to);
  }
}
BENCHMARK(BM_Polygon_Clip_Horizon)->Arg(4)->Arg(64)->Arg(1024)->Arg(16384);

}  // namespace
