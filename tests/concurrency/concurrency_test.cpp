// Every function family called from eight threads at once on shared
// read-only inputs (the same point arrays, shapes, prepared rings and zone
// index), each thread's results compared with a single-threaded run. Under
// ThreadSanitizer (the tsan preset) this also proves the calls race-free.
#include <gtest/gtest.h>
#include <kelvor/kelvor.h>
#include <kelvor/prepared.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <ostream>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

using Results = std::vector<std::int64_t>;
using Ring = std::vector<tagPOINT>;
constexpr int kThreads = 8;

// The shared inputs: built once, then only read.
struct Inputs {
  std::vector<std::int32_t> values;
  std::vector<double> reals;
  std::vector<tagPOINT> points;
  std::vector<Ring> rings;
  std::vector<kelvor::Zone> zones;
  std::vector<KPGON> polygons;
  std::vector<KPLINE> polylines;
  std::vector<KRECT> rects;
  std::vector<kelvor::PreparedPolygon> compatible, exact;
  kelvor::ZoneIndex zone_index, exact_zone_index;

  Inputs() {
    std::mt19937 rng(20240611u);
    auto in = [&](std::int32_t lo, std::int32_t hi) {
      return std::uniform_int_distribution<std::int32_t>(lo, hi)(rng);
    };
    for (int i = 0; i < 400; ++i) {
      const std::int32_t v = static_cast<std::int32_t>(rng());
      values.push_back(i % 3 == 0 ? v : v >> in(0, 31));
      reals.push_back(in(-1800000, 1800000) / 10000.0);
      points.push_back({in(-120, 120), in(-120, 120)});
    }
    for (int k = 0; k < 12; ++k) {
      Ring r;
      const int n = in(3, 40);
      for (int i = 0; i < n; ++i) {
        const double a = 6.283185307179586 * i / n, d = in(20, 100);
        r.push_back(k % 2 ? tagPOINT{in(-100, 100), in(-100, 100)}
                          : tagPOINT{static_cast<std::int32_t>(d * std::cos(a)),
                                     static_cast<std::int32_t>(d * std::sin(a))});
      }
      rings.push_back(r);
    }
    // Long edges, so that both rules and the densifier have work.
    rings.push_back({{-2000000000, -1900000000}, {2100000000, -50000}, {30000, 2000000000}});
    for (std::size_t k = 0; k < rings.size(); ++k) {
      Ring& r = rings[k];
      polygons.emplace_back(static_cast<std::int32_t>(r.size()), r.data());
      polylines.emplace_back(static_cast<std::int32_t>(r.size()), r.data());
      rects.emplace_back(in(-100, 0), in(-100, 0), in(0, 100), in(0, 100));
      compatible.emplace_back(r.data(), static_cast<std::int32_t>(r.size()),
                              kelvor::Rule::Compatible);
      exact.emplace_back(r.data(), static_cast<std::int32_t>(r.size()), kelvor::Rule::Exact);
      zones.push_back(
          {r.data(), static_cast<std::int32_t>(r.size()), static_cast<std::int32_t>(k % 5)});
    }
    zone_index = kelvor::ZoneIndex(zones.data(), zones.size(), kelvor::Rule::Compatible);
    exact_zone_index = kelvor::ZoneIndex(zones.data(), zones.size(), kelvor::Rule::Exact);
  }
};

const Inputs& inputs() {
  static const Inputs shared;
  return shared;
}

void add(Results& out, double d) {
  std::int64_t bits;
  std::memcpy(&bits, &d, sizeof bits);
  out.push_back(bits);
}
void add(Results& out, const KRECT& r) {
  out.insert(out.end(), {r.ptMin.x, r.ptMin.y, r.ptMax.x, r.ptMax.y});
}

void fixed_point(Results& out) {
  const auto& v = inputs().values;
  for (std::size_t i = 0; i + 2 < v.size(); ++i) {
    const std::int32_t a = v[i], b = v[i + 1], c = v[i + 2];
    out.insert(out.end(), {KMF_RoundFix(a), KMF_CeilFix(a), KMF_FloorFix(a), KMF_MulDiv(a, b, c),
                           KMF_MulDiv_No_Round(a, b, c), KMF_MulFix(a, b), KMF_DivFix(a, b),
                           KMF_Sqrt32(a), KMF_SqrtFixed(a), KMF_Sin(a), KMF_Cos(a), KMF_Tan(a),
                           KMF_Atan2(a, b), KMF_Angle_Diff(a, b)});
    KMF_Vector w{a >> 4, b >> 4};
    KMF_Vector_Rotate(&w, c);
    std::int32_t length = 0, angle = 0;
    KMF_Vector_Polarize(&w, &length, &angle);
    KMF_Vector u;
    KMF_Vector_Unit(&u, c);
    const KMF_Matrix m{a, b, c, a};
    KMF_Vector t{b, c};
    KMF_Vector_Transform(&t, &m);
    out.insert(out.end(), {w.x, w.y, length, angle, KMF_Vector_Length(&w), u.x, u.y, t.x, t.y});
  }
}

void planar(Results& out) {
  const Inputs& s = inputs();
  const auto& p = s.points;
  for (const Ring& r : s.rings) {
    const std::int32_t n = static_cast<std::int32_t>(r.size());
    for (std::size_t i = 0; i + 1 < p.size(); i += 7) {
      const tagPOINT &a = p[i], &b = p[i + 1];
      tagPOINT mn{std::min(a.x, b.x), std::min(a.y, b.y)},
          mx{std::max(a.x, b.x), std::max(a.y, b.y)};
      std::int32_t from = a.x, to = b.x;
      const std::int32_t clipped = Polygon_Clip_Horizon(r.data(), n, &from, &to, a.y);
      tagPOINT c = a, d = b, cross{0, 0};
      const std::int32_t seg = Rect_Clip_Segment(&s.rects[0].ptMin, &s.rects[0].ptMax, &c, &d);
      out.insert(
          out.end(),
          {Polygon_Contain_Point(r.data(), n, &a), Polygon_Contain_Segment(r.data(), n, &a, &b),
           Polygon_Contain_Rect(r.data(), n, &mn, &mx),
           Segment_Polygon_Intersect(&a, &b, r.data(), n),
           Rect_Polygon_Intersect(&mn, &mx, r.data(), n),
           Polygon_Horizon_Intersect(r.data(), n, a.x, b.x, a.y),
           Polygon_Contain_Vertical(r.data(), n, a.y, b.y, a.x), clipped, from, to,
           Polyline_Polygon_Intersect(p.data() + i, 5, r.data(), n), seg, c.x, c.y, d.x, d.y,
           Segment_Segment_Intersect(&a, &b, &r[0], &r[1], &cross), cross.x, cross.y});
    }
  }
}

void shape_relations(Results& out) {
  const Inputs& s = inputs();
  for (std::size_t k = 0; k < s.polygons.size(); ++k) {
    const KPGON& g = s.polygons[k];
    const KPGON& h = s.polygons[(k + 1) % s.polygons.size()];
    const KPLINE& l = s.polylines[(k + 2) % s.polylines.size()];
    const KRECT& r = s.rects[k];
    const KShape& gs = g;
    const KShape& rs = r;
    out.insert(out.end(),
               {gs.Intersect(h), gs.Contain(h), gs.Intersect(l), gs.Contain(l), gs.Intersect(r),
                gs.Contain(r), rs.Intersect(g), rs.Contain(g), l.Intersect(h), l.Intersect(r)});
    for (std::size_t i = 0; i + 1 < s.points.size(); i += 11) {
      const tagPOINT &a = s.points[i], &b = s.points[i + 1];
      out.insert(out.end(), {gs.Contain(a), gs.Contain(a, b), gs.Intersect(a, b), rs.Contain(a),
                             l.Intersect(a), KPOINT(a).Intersect(g)});
    }
    KRECT bound;
    GetMBR(bound, g.nCount, g.pPoints);
    add(out, bound);
  }
}

void inscribed(Results& out) {
  const Inputs& s = inputs();
  for (std::size_t k = 0; k + 1 < s.rings.size(); ++k) {  // the long-edged ring scans too long
    const Ring& r = s.rings[k];
    for (std::int32_t step : {1, 3}) {
      KRECT rc;
      GetMCR(rc, static_cast<std::int32_t>(r.size()), r.data(), step);
      add(out, rc);
      add(out, kelvor::InscribedRect(r.data(), static_cast<std::int32_t>(r.size()), step,
                                     kelvor::Rule::Exact));
    }
  }
}

void geographic(Results& out) {
  const auto& d = inputs().reals;
  const auto& v = inputs().values;
  for (std::size_t i = 0; i + 5 < d.size(); ++i) {
    const tagLonLat a{d[i], d[i + 1] / 2}, b{d[i + 2], d[i + 3] / 2}, c{d[i + 4], d[i + 5] / 2};
    const _Bin_LonLat ia{v[i] >> 8, v[i + 1] >> 9}, ib{v[i + 2] >> 8, v[i + 3] >> 9},
        ic{v[i + 4] >> 8, v[i + 5] >> 9};
    tagLonLat f{0, 0}, lo{0, 0}, hi{0, 0};
    _Bin_LonLat fi{0, 0};
    const std::int32_t code = GetProjectBase(a, b, c, f), icode = GetProjectBase(ia, ib, ic, fi);
    GetRectCenterPt(a, d[i + 2] * 100, lo, hi);
    out.insert(out.end(), {code, icode, fi.lon, fi.lat});
    for (double x :
         {SegmentLength(a, b), SegmentLength(ia, ib), GetAbsoluteAngle(a), GetSharpAngle(a, b, c),
          GetTurnAngle(ia, ib, ic), f.lon, f.lat, lo.lon, hi.lat})
      add(out, x);
  }
}

void prepared(Results& out) {
  const Inputs& s = inputs();
  std::vector<std::uint8_t> flags(s.points.size());
  std::vector<std::int32_t> ids(s.points.size());
  for (std::size_t k = 0; k < s.rings.size(); ++k) {
    s.compatible[k].Contain(s.points.data(), s.points.size(), flags.data());
    out.insert(out.end(), flags.begin(), flags.end());
    s.exact[k].ContainBounded(s.points.data(), s.points.size(), flags.data());
    out.insert(out.end(), flags.begin(), flags.end());
    const Ring& r = s.rings[k];
    out.push_back(kelvor::RingCanWrap(r.data(), static_cast<std::int32_t>(r.size())));
    out.push_back(static_cast<std::int64_t>(
        kelvor::DensifyRing(r.data(), static_cast<std::int32_t>(r.size())).size()));
  }
  s.zone_index.Locate(s.points.data(), s.points.size(), ids.data());
  out.insert(out.end(), ids.begin(), ids.end());
  for (const tagPOINT& p : s.points) out.push_back(s.exact_zone_index.Locate(p));
}

struct Family {
  const char* name;
  void (*run)(Results&);
};
void PrintTo(const Family& f, std::ostream* os) { *os << f.name; }
const Family kFamilies[] = {{"fixed_point", fixed_point},         {"planar", planar},
                            {"shape_relations", shape_relations}, {"inscribed", inscribed},
                            {"geographic", geographic},           {"prepared", prepared}};

class Concurrency : public ::testing::TestWithParam<Family> {};

// Each thread runs the family as often as `rounds` says, keeping its last
// result; all start together so the calls overlap.
std::vector<Results> run_threads(const std::function<void(int, Results&)>& body) {
  std::vector<Results> got(kThreads);
  std::vector<std::thread> pool;
  for (int t = 0; t < kThreads; ++t) pool.emplace_back([&, t] { body(t, got[t]); });
  for (std::thread& th : pool) th.join();
  return got;
}

TEST_P(Concurrency, EightThreadsAgreeWithOneThread) {
  inputs();  // built before any thread starts
  Results reference;
  GetParam().run(reference);
  ASSERT_FALSE(reference.empty());
  const std::vector<Results> got = run_threads([](int, Results& out) {
    for (int round = 0; round < 2; ++round) {
      out.clear();
      GetParam().run(out);
    }
  });
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(got[t], reference) << "thread " << t;
}

INSTANTIATE_TEST_SUITE_P(Families, Concurrency, ::testing::ValuesIn(kFamilies),
                         [](const ::testing::TestParamInfo<Family>& param) {
                           return std::string(param.param.name);
                         });

// All families at once, each thread taking them in a different order.
TEST(ConcurrencyMixed, EveryFamilyOnEveryThreadInRotatedOrder) {
  inputs();
  const std::size_t count = sizeof kFamilies / sizeof kFamilies[0];
  std::vector<Results> reference(count);
  for (std::size_t f = 0; f < count; ++f) kFamilies[f].run(reference[f]);
  std::vector<std::vector<Results>> got(kThreads, std::vector<Results>(count));
  std::vector<std::thread> pool;
  for (int t = 0; t < kThreads; ++t)
    pool.emplace_back([&, t] {
      for (std::size_t k = 0; k < count; ++k) {
        const std::size_t f = (k + static_cast<std::size_t>(t)) % count;
        kFamilies[f].run(got[t][f]);
      }
    });
  for (std::thread& th : pool) th.join();
  for (int t = 0; t < kThreads; ++t)
    for (std::size_t f = 0; f < count; ++f)
      EXPECT_EQ(got[t][f], reference[f]) << kFamilies[f].name << ", thread " << t;
}

}  // namespace
