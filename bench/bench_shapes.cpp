// Shape benchmarks: the cached bounding rectangle in KPGON::Contain against
// the bare even-odd test, the sampled polygon-polygon test, and GetMCR.
#include <benchmark/benchmark.h>
#include <kelvor/kelvor.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#if KELVOR_HAVE_BOOST
#include <boost/geometry.hpp>
#include <boost/geometry/geometries/point_xy.hpp>
#include <boost/geometry/geometries/polygon.hpp>
#endif

namespace {

// Star-shaped ring of n vertices, radii 600..1000 m, around (cx, cy).
std::vector<tagPOINT> star(std::mt19937& rng, int n, std::int32_t cx, std::int32_t cy) {
  std::uniform_int_distribution<std::int32_t> radius(600, 1000);
  std::vector<tagPOINT> ring;
  for (int i = 0; i < n; ++i) {
    const double a = 6.283185307179586 * i / n;
    const double r = radius(rng);
    ring.push_back(tagPOINT{cx + static_cast<std::int32_t>(r * std::cos(a)),
                            cy + static_cast<std::int32_t>(r * std::sin(a))});
  }
  return ring;
}

// Query points over a 100 km map tile around a 2 km polygon: most miss the
// bounding rectangle.
std::vector<tagPOINT> tile_points(std::mt19937& rng, std::size_t count) {
  std::uniform_int_distribution<std::int32_t> c(-50000, 50000);
  std::vector<tagPOINT> pts(count);
  for (auto& p : pts) p = tagPOINT{c(rng), c(rng)};
  return pts;
}

void BM_KPGON_ContainPoint(benchmark::State& state) {
  std::mt19937 rng(11);
  auto ring = star(rng, static_cast<int>(state.range(0)), 0, 0);
  const KPGON g(static_cast<std::int32_t>(ring.size()), ring.data());
  const auto pts = tile_points(rng, 4096);
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(g.Contain(pts[i++ & 4095]));
  }
}
BENCHMARK(BM_KPGON_ContainPoint)->Arg(16)->Arg(256)->Arg(4096);

void BM_Polygon_Contain_Point(benchmark::State& state) {
  std::mt19937 rng(11);
  auto ring = star(rng, static_cast<int>(state.range(0)), 0, 0);
  const auto n = static_cast<std::int32_t>(ring.size());
  const auto pts = tile_points(rng, 4096);
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(Polygon_Contain_Point(ring.data(), n, &pts[i++ & 4095]));
  }
}
BENCHMARK(BM_Polygon_Contain_Point)->Arg(16)->Arg(256)->Arg(4096);

// The same points, all within the polygon's bounding rectangle: the exact
// test runs every time.
void BM_KPGON_ContainPointNear(benchmark::State& state) {
  std::mt19937 rng(11);
  auto ring = star(rng, static_cast<int>(state.range(0)), 0, 0);
  const KPGON g(static_cast<std::int32_t>(ring.size()), ring.data());
  std::uniform_int_distribution<std::int32_t> c(-1000, 1000);
  std::vector<tagPOINT> pts(4096);
  for (auto& p : pts) p = tagPOINT{c(rng), c(rng)};
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(g.Contain(pts[i++ & 4095]));
  }
}
BENCHMARK(BM_KPGON_ContainPointNear)->Arg(16)->Arg(256)->Arg(4096);

// Pairs of polygons scattered over a 6 km square: a mix of far apart,
// overlapping bounds and real overlaps.
void BM_KPGON_IntersectPolygon(benchmark::State& state) {
  std::mt19937 rng(12);
  std::uniform_int_distribution<std::int32_t> c(-3000, 3000);
  const int n = static_cast<int>(state.range(0));
  std::vector<std::vector<tagPOINT>> rings;
  for (int i = 0; i < 64; ++i) rings.push_back(star(rng, n, c(rng), c(rng)));
  std::vector<KPGON> polys;
  for (auto& r : rings) polys.emplace_back(static_cast<std::int32_t>(r.size()), r.data());
  std::size_t i = 0;
  for (auto _ : state) {
    const KPGON& a = polys[i & 63];
    const KPGON& b = polys[(i * 7 + 3) & 63];
    ++i;
    benchmark::DoNotOptimize(a.Intersect(b));
  }
}
BENCHMARK(BM_KPGON_IntersectPolygon)->Arg(16)->Arg(256);

// The exact planar test on the same pairs, for comparison.
void BM_Polygon_Polygon_Intersect(benchmark::State& state) {
  std::mt19937 rng(12);
  std::uniform_int_distribution<std::int32_t> c(-3000, 3000);
  const int n = static_cast<int>(state.range(0));
  std::vector<std::vector<tagPOINT>> rings;
  for (int i = 0; i < 64; ++i) rings.push_back(star(rng, n, c(rng), c(rng)));
  std::size_t i = 0;
  for (auto _ : state) {
    const auto& a = rings[i & 63];
    const auto& b = rings[(i * 7 + 3) & 63];
    ++i;
    benchmark::DoNotOptimize(Polygon_Polygon_Intersect(a.data(), n, b.data(), n));
  }
}
BENCHMARK(BM_Polygon_Polygon_Intersect)->Arg(16)->Arg(256);

void BM_GetMCR(benchmark::State& state) {
  std::mt19937 rng(13);
  auto ring = star(rng, static_cast<int>(state.range(0)), 0, 0);
  const auto n = static_cast<std::int32_t>(ring.size());
  const auto step = static_cast<std::int32_t>(state.range(1));
  for (auto _ : state) {
    KRECT r;
    GetMCR(r, n, ring.data(), step);
    benchmark::DoNotOptimize(r);
  }
}
BENCHMARK(BM_GetMCR)
    ->Args({16, 1})
    ->Args({256, 1})
    ->Args({4096, 1})
    ->Args({4096, 16})
    ->Unit(benchmark::kMicrosecond);

#if KELVOR_HAVE_BOOST
namespace bg = boost::geometry;
using BPoint = bg::model::d2::point_xy<double>;
using BPolygon = bg::model::polygon<BPoint, false>;  // counterclockwise rings

void BM_Boost_WithinPoint(benchmark::State& state) {
  std::mt19937 rng(11);
  auto ring = star(rng, static_cast<int>(state.range(0)), 0, 0);
  BPolygon poly;
  for (const auto& p : ring) bg::append(poly.outer(), BPoint(p.x, p.y));
  bg::correct(poly);
  const auto pts = tile_points(rng, 4096);
  std::vector<BPoint> bpts;
  for (const auto& p : pts) bpts.emplace_back(p.x, p.y);
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(bg::within(bpts[i++ & 4095], poly));
  }
}
BENCHMARK(BM_Boost_WithinPoint)->Arg(16)->Arg(256)->Arg(4096);
#endif

}  // namespace
