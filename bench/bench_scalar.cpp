// Fixed-point scalars, segment predicates and distances, with their baselines:
// libfixmath, Boost.Geometry and the bare arithmetic they wrap.
#include <benchmark/benchmark.h>
#include <kelvor/kelvor.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "bench_common.h"

#if KELVOR_HAVE_FIXMATH
#include <libfixmath/fixmath.h>
#endif
#if KELVOR_HAVE_BOOST
#include <boost/geometry.hpp>
#include <boost/geometry/geometries/point_xy.hpp>
#include <boost/geometry/geometries/segment.hpp>
#endif

namespace {

using kelvor_bench::kInputs;
constexpr std::size_t kMask = kInputs - 1;

// Operands for products: magnitudes up to about 2^15.16 so results stay in range.
const std::vector<std::int32_t>& mul_a() {
  static auto v = kelvor_bench::varied_int32(1, 24);
  return v;
}
const std::vector<std::int32_t>& mul_b() {
  static auto v = kelvor_bench::varied_int32(2, 23);
  return v;
}
const std::vector<std::int32_t>& div_a() {
  static auto v = kelvor_bench::varied_int32(3, 24);
  return v;
}
const std::vector<std::int32_t>& div_b() {
  static auto v = [] {
    auto w = kelvor_bench::varied_int32(4, 24);
    for (auto& x : w) x = x == 0 ? 1 : x;
    return w;
  }();
  return v;
}
const std::vector<std::int32_t>& sqrt_in() {
  static auto v = [] {
    auto w = kelvor_bench::varied_int32(5, 31);
    for (auto& x : w) x = x < 0 ? -(x + 1) : x;  // non-negative, every magnitude
    return w;
  }();
  return v;
}

template <typename F>
void run_binary(benchmark::State& state, const std::vector<std::int32_t>& a,
                const std::vector<std::int32_t>& b, F f) {
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(f(a[i & kMask], b[i & kMask]));
    ++i;
  }
  state.SetItemsProcessed(state.iterations());
}

template <typename F>
void run_unary(benchmark::State& state, const std::vector<std::int32_t>& a, F f) {
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(f(a[i & kMask]));
    ++i;
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_KMF_MulFix(benchmark::State& s) { run_binary(s, mul_a(), mul_b(), KMF_MulFix); }
void BM_Bare_RoundedProduct(benchmark::State& s) {
  run_binary(s, mul_a(), mul_b(), [](std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>((static_cast<std::int64_t>(a) * b + 0x8000) >> 16);
  });
}
void BM_KMF_DivFix(benchmark::State& s) { run_binary(s, div_a(), div_b(), KMF_DivFix); }
void BM_KMF_Sqrt32(benchmark::State& s) { run_unary(s, sqrt_in(), KMF_Sqrt32); }
void BM_KMF_SqrtFixed(benchmark::State& s) { run_unary(s, sqrt_in(), KMF_SqrtFixed); }
BENCHMARK(BM_KMF_MulFix);
BENCHMARK(BM_Bare_RoundedProduct);
BENCHMARK(BM_KMF_DivFix);
BENCHMARK(BM_KMF_Sqrt32);
BENCHMARK(BM_KMF_SqrtFixed);

#if KELVOR_HAVE_FIXMATH
void BM_fix16_mul(benchmark::State& s) { run_binary(s, mul_a(), mul_b(), fix16_mul); }
void BM_fix16_div(benchmark::State& s) { run_binary(s, div_a(), div_b(), fix16_div); }
void BM_fix16_sqrt(benchmark::State& s) { run_unary(s, sqrt_in(), fix16_sqrt); }
BENCHMARK(BM_fix16_mul);
BENCHMARK(BM_fix16_div);
BENCHMARK(BM_fix16_sqrt);
#endif

// Segments on a 10 km grid: short random segments, about a third of pairs cross.
struct SegmentPair {
  tagPOINT a, b, c, d;
};
const std::vector<SegmentPair>& segment_pairs() {
  static auto v = [] {
    const auto base = kelvor_bench::uniform_int32(10, 0, 10000);
    const auto off = kelvor_bench::uniform_int32(11, -3000, 3000);
    std::vector<SegmentPair> w(kInputs);
    for (std::size_t i = 0; i < kInputs; ++i) {
      auto at = [&](std::size_t k) { return base[(i * 8 + k) & kMask]; };
      auto d = [&](std::size_t k) { return off[(i * 8 + k) & kMask]; };
      w[i].a = {at(0), at(1)};
      w[i].b = {at(0) + d(2), at(1) + d(3)};
      w[i].c = {at(0) + d(4) / 2, at(1) + d(5) / 2};
      w[i].d = {w[i].c.x + d(6), w[i].c.y + d(7)};
    }
    return w;
  }();
  return v;
}

void BM_Segment_Segment_Intersect(benchmark::State& state) {
  const auto& v = segment_pairs();
  std::size_t i = 0;
  tagPOINT out;
  for (auto _ : state) {
    const auto& p = v[i++ & kMask];
    benchmark::DoNotOptimize(Segment_Segment_Intersect(&p.a, &p.b, &p.c, &p.d, &out));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Segment_Segment_Intersect);

void BM_Segment_Rect_Intersect(benchmark::State& state) {
  const auto& v = segment_pairs();
  std::size_t i = 0;
  for (auto _ : state) {
    const auto& p = v[i++ & kMask];
    // c..(c + |d - c|) as a rectangle
    const tagPOINT mn{std::min(p.c.x, p.d.x), std::min(p.c.y, p.d.y)};
    const tagPOINT mx{std::max(p.c.x, p.d.x), std::max(p.c.y, p.d.y)};
    benchmark::DoNotOptimize(Segment_Rect_Intersect(&p.a, &p.b, &mn, &mx));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Segment_Rect_Intersect);

#if KELVOR_HAVE_BOOST
namespace bg = boost::geometry;
using BPoint = bg::model::d2::point_xy<int>;
using BSegment = bg::model::segment<BPoint>;

void BM_Boost_Intersects_IntegerSegments(benchmark::State& state) {
  std::vector<std::pair<BSegment, BSegment>> v;
  for (const auto& p : segment_pairs())
    v.emplace_back(BSegment(BPoint(p.a.x, p.a.y), BPoint(p.b.x, p.b.y)),
                   BSegment(BPoint(p.c.x, p.c.y), BPoint(p.d.x, p.d.y)));
  std::size_t i = 0;
  for (auto _ : state) {
    const auto& p = v[i++ & kMask];
    benchmark::DoNotOptimize(bg::intersects(p.first, p.second));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Boost_Intersects_IntegerSegments);
#endif

// Geographic pairs around Europe, tens to hundreds of kilometres apart.
struct GeoPair {
  tagLonLat a, b;
};
const std::vector<GeoPair>& geo_pairs() {
  static auto v = [] {
    const auto lon = kelvor_bench::uniform_double(20, -10.0, 30.0);
    const auto lat = kelvor_bench::uniform_double(21, 35.0, 65.0);
    std::vector<GeoPair> w(kInputs);
    for (std::size_t i = 0; i < kInputs; ++i)
      w[i] = {{lon[i], lat[i]}, {lon[(i * 7 + 3) & kMask], lat[(i * 5 + 1) & kMask]}};
    return w;
  }();
  return v;
}

void BM_SegmentLength(benchmark::State& state) {
  const auto& v = geo_pairs();
  std::size_t i = 0;
  for (auto _ : state) {
    const auto& p = v[i++ & kMask];
    benchmark::DoNotOptimize(SegmentLength(p.a, p.b));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SegmentLength);

// The floor: the C library calls SegmentLength makes, with nothing around them.
void BM_Bare_LawOfCosinesCalls(benchmark::State& state) {
  const auto& v = geo_pairs();
  constexpr double k = 0.017453292519943295;
  std::size_t i = 0;
  for (auto _ : state) {
    const auto& p = v[i++ & kMask];
    const double f1 = p.a.lat * k, f2 = p.b.lat * k;
    const double x = std::sin(f1) * std::sin(f2) +
                     std::cos(f1) * std::cos(f2) * std::cos(p.a.lon * k - p.b.lon * k);
    benchmark::DoNotOptimize(std::acos(x) * 6378137.0);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Bare_LawOfCosinesCalls);

#if KELVOR_HAVE_BOOST
void BM_Boost_Haversine(benchmark::State& state) {
  using GPoint = bg::model::point<double, 2, bg::cs::spherical_equatorial<bg::degree>>;
  std::vector<std::pair<GPoint, GPoint>> v;
  for (const auto& p : geo_pairs())
    v.emplace_back(GPoint(p.a.lon, p.a.lat), GPoint(p.b.lon, p.b.lat));
  const bg::strategy::distance::haversine<double> haversine(6378137.0);
  std::size_t i = 0;
  for (auto _ : state) {
    const auto& p = v[i++ & kMask];
    benchmark::DoNotOptimize(bg::distance(p.first, p.second, haversine));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Boost_Haversine);
#endif

}  // namespace
