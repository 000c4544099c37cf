// Every function family from eight threads at once, each thread's digest of its
// answers compared with a single-threaded run: the determinism families on inputs
// each thread generates alike, and shapes, prepared rings and zone indexes built
// once and shared by every thread. Under ThreadSanitizer (the tsan preset) this
// also proves the calls race-free.
#include <gtest/gtest.h>
#include <kelvor/kelvor.h>
#include <kelvor/prepared.h>

#include <cmath>
#include <cstdint>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "determinism/families.h"

namespace {

using families::Digest;
using families::SplitMix;
using Ring = std::vector<tagPOINT>;
constexpr int kThreads = 8;
constexpr int kRounds = 2000;

// The shared inputs: built once, then only read.
struct Shared {
  std::vector<Ring> rings;
  std::vector<tagPOINT> points;
  std::vector<KPGON> polygons;
  std::vector<KPLINE> polylines;
  std::vector<KRECT> rects;
  std::vector<kelvor::PreparedPolygon> compatible, exact;
  std::vector<kelvor::Zone> zones;
  kelvor::ZoneIndex zone_index, exact_zone_index;

  Shared() {
    SplitMix r{20240611u};
    for (int i = 0; i < 400; ++i) points.push_back({r.in(-120, 120), r.in(-120, 120)});
    for (int k = 0; k < 12; ++k) {
      Ring ring;
      const int n = r.in(3, 40);
      for (int i = 0; i < n; ++i) {
        const double a = 6.283185307179586 * i / n, d = r.in(20, 100);
        ring.push_back(k % 2 ? tagPOINT{r.in(-100, 100), r.in(-100, 100)}
                             : tagPOINT{static_cast<std::int32_t>(d * std::cos(a)),
                                        static_cast<std::int32_t>(d * std::sin(a))});
      }
      rings.push_back(ring);
    }
    // Long edges, so that both rules and the densifier have work.
    rings.push_back({{-2000000000, -1900000000}, {2100000000, -50000}, {30000, 2000000000}});
    for (std::size_t k = 0; k < rings.size(); ++k) {
      Ring& ring = rings[k];
      const auto n = static_cast<std::int32_t>(ring.size());
      polygons.emplace_back(n, ring.data());
      polylines.emplace_back(n, ring.data());
      rects.emplace_back(r.in(-100, 0), r.in(-100, 0), r.in(0, 100), r.in(0, 100));
      compatible.emplace_back(ring.data(), n, kelvor::Rule::Compatible);
      exact.emplace_back(ring.data(), n, kelvor::Rule::Exact);
      zones.push_back({ring.data(), n, static_cast<std::int32_t>(k % 5)});
    }
    zone_index = kelvor::ZoneIndex(zones.data(), zones.size(), kelvor::Rule::Compatible);
    exact_zone_index = kelvor::ZoneIndex(zones.data(), zones.size(), kelvor::Rule::Exact);
  }
};

const Shared& shared() {
  static const Shared s;
  return s;
}

Digest shared_objects(SplitMix&, int) {
  const Shared& s = shared();
  Digest d;
  std::vector<std::uint8_t> flags(s.points.size());
  std::vector<std::int32_t> ids(s.points.size());
  for (std::size_t k = 0; k < s.rings.size(); ++k) {
    const KShape &g = s.polygons[k], &r = s.rects[k], &l = s.polylines[(k + 2) % s.rings.size()];
    const KPGON& h = s.polygons[(k + 1) % s.rings.size()];
    for (const std::int32_t v :
         {g.Intersect(h), g.Contain(h), g.Intersect(s.polylines[k]), g.Contain(s.polylines[k]),
          g.Intersect(s.rects[k]), g.Contain(s.rects[k]), r.Intersect(h), r.Contain(h),
          l.Intersect(h), l.Intersect(s.rects[k])})
      d.i(v);
    for (std::size_t i = 0; i + 1 < s.points.size(); i += 11) {
      const tagPOINT &a = s.points[i], &b = s.points[i + 1];
      for (const std::int32_t v : {g.Contain(a), g.Contain(a, b), g.Intersect(a, b), r.Contain(a),
                                   l.Intersect(a), KPOINT(a).Intersect(s.polygons[k])})
        d.i(v);
    }
    s.compatible[k].Contain(s.points.data(), s.points.size(), flags.data());
    d.add(flags.data(), flags.size());
    s.exact[k].ContainBounded(s.points.data(), s.points.size(), flags.data());
    d.add(flags.data(), flags.size());
    const Ring& ring = s.rings[k];
    const auto n = static_cast<std::int32_t>(ring.size());
    d.i(kelvor::RingCanWrap(ring.data(), n));
    for (const tagPOINT& p : kelvor::DensifyRing(ring.data(), n)) d.p(p);
  }
  s.zone_index.Locate(s.points.data(), s.points.size(), ids.data());
  d.add(ids.data(), ids.size() * sizeof ids[0]);
  for (const tagPOINT& p : s.points) d.i(s.exact_zone_index.Locate(p));
  return d;
}

struct Family {
  const char* name;
  Digest (*run)(SplitMix&, int);
};
void PrintTo(const Family& f, std::ostream* os) { *os << f.name; }
const Family kFamilies[] = {{"scalar", families::scalar},      {"trig", families::trig},
                            {"planar", families::planar},      {"geo", families::geo},
                            {"bulk", families::bulk},          {"area", families::area},
                            {"shared_objects", shared_objects}};
constexpr std::size_t kCount = sizeof kFamilies / sizeof kFamilies[0];

std::uint64_t run(const Family& f) {
  SplitMix r{families::kSeed};
  return f.run(r, kRounds).h;
}

class Concurrency : public ::testing::TestWithParam<Family> {};

TEST_P(Concurrency, EightThreadsAgreeWithOneThread) {
  shared();  // built before any thread starts
  const std::uint64_t reference = run(GetParam());
  std::vector<std::uint64_t> got(kThreads);
  std::vector<std::thread> pool;
  for (int t = 0; t < kThreads; ++t) pool.emplace_back([&, t] { got[t] = run(GetParam()); });
  for (std::thread& th : pool) th.join();
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(got[t], reference) << "thread " << t;
}

INSTANTIATE_TEST_SUITE_P(Families, Concurrency, ::testing::ValuesIn(kFamilies),
                         [](const ::testing::TestParamInfo<Family>& param) {
                           return std::string(param.param.name);
                         });

// All families at once, each thread taking them in a different order.
TEST(ConcurrencyMixed, EveryFamilyOnEveryThreadInRotatedOrder) {
  shared();
  std::uint64_t reference[kCount];
  for (std::size_t f = 0; f < kCount; ++f) reference[f] = run(kFamilies[f]);
  std::vector<std::vector<std::uint64_t>> got(kThreads, std::vector<std::uint64_t>(kCount));
  std::vector<std::thread> pool;
  for (int t = 0; t < kThreads; ++t)
    pool.emplace_back([&, t] {
      for (std::size_t k = 0; k < kCount; ++k) {
        const std::size_t f = (k + static_cast<std::size_t>(t)) % kCount;
        got[t][f] = run(kFamilies[f]);
      }
    });
  for (std::thread& th : pool) th.join();
  for (int t = 0; t < kThreads; ++t)
    for (std::size_t f = 0; f < kCount; ++f)
      EXPECT_EQ(got[t][f], reference[f]) << kFamilies[f].name << ", thread " << t;
}

}  // namespace
