// Prepared rings and the zone index against the plain functions and against
// an exact model; the wrap check and the densifier; the inscribed rectangle
// by rule.
#include <gtest/gtest.h>
#include <kelvor/kelvor.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "support/rings.h"

namespace {

using rings::Ring;

// The even-odd rule with every crossing exact (128-bit), the closing edge
// from the last point to the first.
int exact_model(const Ring& r, const tagPOINT& p) {
  __extension__ typedef __int128 wide;
  int inside = 0;
  for (std::size_t i = 0; i < r.size(); ++i) {
    const tagPOINT& a = r[i];
    const tagPOINT& b = r[(i + 1) % r.size()];
    if ((a.y <= p.y) == (b.y <= p.y)) continue;
    const wide xc = a.x + (wide{b.x} - a.x) * (wide{p.y} - a.y) / (wide{b.y} - a.y);
    inside ^= static_cast<int>(p.x < xc);
  }
  return inside;
}

std::int32_t count_of(const Ring& r) { return static_cast<std::int32_t>(r.size()); }

// The points worth asking about a ring: a grid over and around its bounding
// rectangle, every vertex and its eight neighbours, and the crossing of each
// edge on a few of its rows with the points one unit either side.
std::vector<tagPOINT> probes(const Ring& r, std::mt19937& rng) {
  std::vector<tagPOINT> out;
  auto add = [&](std::int64_t x, std::int64_t y) {
    if (x >= INT32_MIN && x <= INT32_MAX && y >= INT32_MIN && y <= INT32_MAX) {
      out.push_back({static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)});
    }
  };
  if (r.empty()) return out;
  std::int64_t lo_x = r[0].x, hi_x = r[0].x, lo_y = r[0].y, hi_y = r[0].y;
  for (const tagPOINT& p : r) {
    lo_x = std::min<std::int64_t>(lo_x, p.x), hi_x = std::max<std::int64_t>(hi_x, p.x);
    lo_y = std::min<std::int64_t>(lo_y, p.y), hi_y = std::max<std::int64_t>(hi_y, p.y);
  }
  const std::int64_t wx = hi_x - lo_x + 4, wy = hi_y - lo_y + 4;
  for (int i = 0; i <= 40; ++i) {
    for (int j = 0; j <= 40; ++j) add(lo_x - 2 + wx * i / 40, lo_y - 2 + wy * j / 40);
  }
  for (const tagPOINT& v : r) {
    for (int dx = -1; dx <= 1; ++dx) {
      for (int dy = -1; dy <= 1; ++dy) add(std::int64_t{v.x} + dx, std::int64_t{v.y} + dy);
    }
  }
  for (std::size_t i = 0; i < r.size(); ++i) {
    const tagPOINT& a = r[i];
    const tagPOINT& b = r[(i + 1) % r.size()];
    const std::int64_t dy = std::int64_t{b.y} - a.y;
    if (dy == 0) continue;
    for (int k = 0; k < 3; ++k) {
      const std::int64_t y =
          a.y + static_cast<std::int64_t>(rng() % static_cast<std::uint64_t>(dy < 0 ? -dy : dy)) *
                    (dy < 0 ? -1 : 1);
      __extension__ typedef __int128 wide;
      const auto xc =
          static_cast<std::int64_t>(a.x + (wide{b.x} - a.x) * (wide{y} - a.y) / wide{dy});
      for (int d = -1; d <= 1; ++d) add(xc + d, y);
    }
  }
  return out;
}

struct NamedRing {
  std::string name;
  Ring ring;
};

// Every shape of ring the index must handle, open and closed.
std::vector<NamedRing> corpus() {
  std::mt19937 rng(20261206u);
  std::vector<NamedRing> out;
  auto both = [&](const std::string& name, const Ring& r) {
    out.push_back({name, r});
    if (!r.empty()) out.push_back({name + " closed", rings::closed(r)});
  };
  both("empty", {});
  both("one point", {{5, 5}});
  both("two points", {{0, 0}, {1, 2}});
  both("flat", {{0, 0}, {10, 0}, {20, 0}});
  both("upright", {{0, 0}, {0, 10}, {0, 20}});
  both("square", {{0, 0}, {10, 0}, {10, 10}, {0, 10}});
  both("repeated vertices", {{0, 0}, {0, 0}, {10, 0}, {10, 10}, {10, 10}, {0, 10}});
  for (int n : {3, 8, 64, 700}) both("star " + std::to_string(n), rings::star(rng, n, 40, 400));
  for (int n : {4, 9, 30})
    both("self-crossing " + std::to_string(n), rings::random_ring(rng, n, 300));
  both("comb", rings::comb(25));
  both("horizontal runs", rings::horizontal_runs(rng, 60, 1000));
  // Long edges whose 32-bit crossing product wraps, near the ends of the range.
  both("wrapping diamond", {{0, -46341}, {46341, 0}, {0, 46341}, {-46341, 0}});
  both("flat wrapping triangle", {{0, 0}, {10000000, 0}, {0, 300}});
  for (int n : {3, 5, 12}) {
    both("full range " + std::to_string(n), rings::random_ring(rng, n, INT32_MAX));
    both("near max " + std::to_string(n),
         rings::offset(rings::random_ring(rng, n, 200000), INT32_MAX - 200000, INT32_MAX - 200000));
    both("near min " + std::to_string(n),
         rings::offset(rings::random_ring(rng, n, 200000), INT32_MIN + 200000, INT32_MIN + 200000));
  }
  both("wide star", rings::star(rng, 200, 100000, 3000000));
  return out;
}

TEST(PreparedPolygon, CompatibleRuleAnswersAsThePlainFunctions) {
  std::mt19937 rng(1u);
  for (const NamedRing& c : corpus()) {
    const kelvor::PreparedPolygon prepared(c.ring.data(), count_of(c.ring));
    Ring copy = c.ring;  // KPGON borrows a writable array
    const KPGON polygon(count_of(copy), copy.data());
    const std::vector<tagPOINT> points = probes(c.ring, rng);
    std::vector<std::uint8_t> batch(points.size()), bounded(points.size());
    prepared.Contain(points.data(), points.size(), batch.data());
    prepared.ContainBounded(points.data(), points.size(), bounded.data());
    for (std::size_t i = 0; i < points.size(); ++i) {
      const tagPOINT& p = points[i];
      const std::int32_t plain = Polygon_Contain_Point(c.ring.data(), count_of(c.ring), &p);
      ASSERT_EQ(prepared.Contain(p), plain) << c.name << " at " << p.x << "," << p.y;
      ASSERT_EQ(batch[i], plain) << c.name << " batch at " << p.x << "," << p.y;
      ASSERT_EQ(prepared.ContainBounded(p), polygon.Contain(p))
          << c.name << " bounded at " << p.x << "," << p.y;
      ASSERT_EQ(bounded[i], polygon.Contain(p)) << c.name << " bounded batch";
    }
  }
}

TEST(PreparedPolygon, ExactRuleAnswersAsTheExactModel) {
  std::mt19937 rng(2u);
  for (const NamedRing& c : corpus()) {
    const kelvor::PreparedPolygon exact(c.ring.data(), count_of(c.ring), kelvor::Rule::Exact);
    const bool wraps = kelvor::RingCanWrap(c.ring.data(), count_of(c.ring));
    for (const tagPOINT& p : probes(c.ring, rng)) {
      const int want = exact_model(c.ring, p);
      ASSERT_EQ(exact.Contain(p), want) << c.name << " at " << p.x << "," << p.y;
      if (c.ring.size() >= 3) {
        ASSERT_EQ(exact.ContainBounded(p), want) << c.name << " bounded at " << p.x << "," << p.y;
      }
      if (!wraps) {
        ASSERT_EQ(want, Polygon_Contain_Point(c.ring.data(), count_of(c.ring), &p))
            << c.name << ": a ring that cannot wrap answers alike by both rules";
      }
    }
  }
}

TEST(PreparedPolygon, WrappingRingsAreMisclassifiedOnlyByTheCompatibleRule) {
  // The diamond of radius 46,341: its centre is outside by the wrapping rule.
  const Ring diamond{{0, -46341}, {46341, 0}, {0, 46341}, {-46341, 0}};
  const tagPOINT centre{0, 0};
  EXPECT_TRUE(kelvor::RingCanWrap(diamond.data(), 4));
  EXPECT_EQ(kelvor::PreparedPolygon(diamond.data(), 4).Contain(centre), 0);
  EXPECT_EQ(kelvor::PreparedPolygon(diamond.data(), 4, kelvor::Rule::Exact).Contain(centre), 1);
  const Ring smaller{{0, -46340}, {46340, 0}, {0, 46340}, {-46340, 0}};
  EXPECT_FALSE(kelvor::RingCanWrap(smaller.data(), 4));
}

TEST(PreparedPolygon, OwnsItsPointsAndCopiesAnswerAlike) {
  Ring r{{0, 0}, {100, 0}, {100, 100}, {0, 100}};
  kelvor::PreparedPolygon original(r.data(), 4, kelvor::Rule::Exact);
  r[2] = {1, 1};  // the caller's array changes after the build
  const tagPOINT inside{50, 50};
  EXPECT_EQ(original.Contain(inside), 1) << "built from a copy";
  const kelvor::PreparedPolygon copy = original;
  kelvor::PreparedPolygon moved = std::move(original);
  EXPECT_EQ(original.Contain(inside), 0) << "moved from: the polygon of no points";
  EXPECT_EQ(kelvor::PreparedPolygon(original).points().size(), 0u) << "copy of a moved-from one";
  original = copy;  // a moved-from polygon can be assigned again
  const kelvor::PreparedPolygon* const all[] = {&copy, &moved, &original};
  for (const kelvor::PreparedPolygon* p : all) {
    EXPECT_EQ(p->Contain(inside), 1);
    EXPECT_EQ(p->Contain(tagPOINT{100, 50}), 0) << "right side is outside";
    EXPECT_EQ(p->rule(), kelvor::Rule::Exact);
    EXPECT_EQ(p->points().size(), 4u);
  }
  const KRECT b = copy.bound();
  EXPECT_EQ(b.ptMax.x, 100);
  EXPECT_EQ(kelvor::PreparedPolygon().Contain(inside), 0) << "no points";
  EXPECT_EQ(kelvor::PreparedPolygon(nullptr, 5).Contain(inside), 0) << "null array";
  EXPECT_EQ(kelvor::PreparedPolygon(r.data(), -3).Contain(inside), 0) << "negative count";
  EXPECT_EQ(kelvor::PreparedPolygon().bound().IsEmpty(), 1);
}

TEST(ZoneIndex, AnswersAsALinearScanInIdOrder) {
  std::mt19937 rng(3u);
  for (const kelvor::Rule rule : {kelvor::Rule::Compatible, kelvor::Rule::Exact}) {
    for (int round = 0; round < 30; ++round) {
      const std::int32_t range = round % 3 == 0 ? 200 : round % 3 == 1 ? 2000000 : 1000000000;
      std::vector<Ring> zone_rings;
      std::vector<kelvor::Zone> zones;
      const int count = 1 + round * 3;
      for (int z = 0; z < count; ++z) {
        const std::int32_t radius = 1 + static_cast<std::int32_t>(rng() % (range / 3 + 1));
        const std::int32_t cx = static_cast<std::int32_t>(rng() % (range + 1u)) - range / 2;
        const std::int32_t cy = static_cast<std::int32_t>(rng() % (range + 1u)) - range / 2;
        const int n = static_cast<int>(rng() % 14);
        zone_rings.push_back(
            z % 2 ? rings::offset(rings::star(rng, n, radius / 2 + 1, radius), cx, cy)
                  : rings::offset(rings::random_ring(rng, n, radius), cx, cy));
      }
      for (int z = 0; z < count; ++z) {
        std::int32_t id = static_cast<std::int32_t>(rng() % 25) - 8;  // duplicates too
        if (z % 11 == 5) id = kelvor::ZoneIndex::kNoZone;             // skipped
        zones.push_back({zone_rings[z].data(), count_of(zone_rings[z]), id});
      }
      const kelvor::ZoneIndex index(zones.data(), zones.size(), rule);
      std::vector<kelvor::PreparedPolygon> plain;
      for (const kelvor::Zone& z : zones) plain.emplace_back(z.points, z.count, rule);
      std::vector<tagPOINT> points;
      std::uniform_int_distribution<std::int32_t> any(-range, range);
      for (int k = 0; k < 1500; ++k) points.push_back({any(rng), any(rng)});
      for (const Ring& r : zone_rings) {
        for (const tagPOINT& v : r) points.push_back(v);
      }
      std::vector<std::int32_t> batch(points.size());
      index.Locate(points.data(), points.size(), batch.data());
      for (std::size_t i = 0; i < points.size(); ++i) {
        std::int32_t want = kelvor::ZoneIndex::kNoZone;
        for (std::size_t z = 0; z < zones.size(); ++z) {
          if (zones[z].id == kelvor::ZoneIndex::kNoZone || plain[z].Contain(points[i]) == 0) {
            continue;
          }
          if (want == kelvor::ZoneIndex::kNoZone || zones[z].id < want) want = zones[z].id;
        }
        ASSERT_EQ(index.Locate(points[i]), want)
            << "round " << round << " rule " << static_cast<int>(rule) << " point " << points[i].x
            << "," << points[i].y;
        ASSERT_EQ(batch[i], want) << "batch, round " << round;
      }
    }
  }
  EXPECT_EQ(kelvor::ZoneIndex().Locate(tagPOINT{0, 0}), kelvor::ZoneIndex::kNoZone);
  const Ring square{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  const kelvor::Zone one{square.data(), 4, 5};
  kelvor::ZoneIndex from(&one, 1);
  const kelvor::ZoneIndex to = std::move(from);
  EXPECT_EQ(to.Locate(tagPOINT{5, 5}), 5);
  EXPECT_EQ(from.Locate(tagPOINT{5, 5}), kelvor::ZoneIndex::kNoZone) << "moved from: no zones";
  EXPECT_EQ(kelvor::ZoneIndex(from).size(), 0u) << "copy of a moved-from index";
  EXPECT_EQ(kelvor::ZoneIndex(nullptr, 0).size(), 0u);
}

TEST(DensifyRing, PiecesNeverWrapAndStayWithinHalfAUnitOfTheEdge) {
  std::mt19937 rng(4u);
  for (const NamedRing& c : corpus()) {
    const Ring dense = kelvor::DensifyRing(c.ring.data(), count_of(c.ring));
    EXPECT_FALSE(kelvor::RingCanWrap(dense.data(), count_of(dense))) << c.name;
    if (!kelvor::RingCanWrap(c.ring.data(), count_of(c.ring))) {
      ASSERT_EQ(dense.size(), c.ring.size()) << c.name << ": nothing to split";
      continue;
    }
    // The given points survive in order; what lies between lies on the edge,
    // rounded to the nearest unit in each axis.
    std::size_t j = 0;
    for (std::size_t i = 0; i < c.ring.size(); ++i) {
      ASSERT_EQ(dense[j].x, c.ring[i].x) << c.name << " point " << i;
      ASSERT_EQ(dense[j].y, c.ring[i].y) << c.name << " point " << i;
      const tagPOINT& a = c.ring[i];
      const tagPOINT& b = c.ring[(i + 1) % c.ring.size()];
      for (++j;
           j < dense.size() && (i + 1 == c.ring.size() || dense[j].x != b.x || dense[j].y != b.y);
           ++j) {
        // Distance from the line, in units: |cross| / length <= sqrt(0.5).
        const long double ex = static_cast<long double>(b.x) - a.x;
        const long double ey = static_cast<long double>(b.y) - a.y;
        const long double px = static_cast<long double>(dense[j].x) - a.x;
        const long double py = static_cast<long double>(dense[j].y) - a.y;
        const long double off = std::fabs(px * ey - py * ex) / std::sqrt(ex * ex + ey * ey);
        ASSERT_LE(off, 0.7072L) << c.name << " inserted point " << j;
      }
    }
    // Away from the boundary the densified ring answers by the compatible
    // rule what the original answers by the exact one.
    const kelvor::PreparedPolygon before(c.ring.data(), count_of(c.ring), kelvor::Rule::Exact);
    const kelvor::PreparedPolygon after(dense.data(), count_of(dense));
    for (const tagPOINT& p : probes(c.ring, rng)) {
      bool near = false;
      for (std::size_t i = 0; i < c.ring.size() && !near; ++i) {
        const tagPOINT& a = c.ring[i];
        const tagPOINT& b = c.ring[(i + 1) % c.ring.size()];
        const long double ex = static_cast<long double>(b.x) - a.x;
        const long double ey = static_cast<long double>(b.y) - a.y;
        const long double px = static_cast<long double>(p.x) - a.x;
        const long double py = static_cast<long double>(p.y) - a.y;
        const long double len2 = ex * ex + ey * ey;
        const long double t =
            len2 == 0 ? 0 : std::fmax(0, std::fmin(1, (px * ex + py * ey) / len2));
        near = std::hypot(px - t * ex, py - t * ey) <= 2.0L;
      }
      if (near) continue;
      ASSERT_EQ(after.Contain(p), before.Contain(p)) << c.name << " at " << p.x << "," << p.y;
    }
  }
  EXPECT_TRUE(kelvor::DensifyRing(nullptr, 3).empty());
}

TEST(InscribedRect, CompatibleIsGetMcrAndExactIsRightOnWrappingRings) {
  std::mt19937 rng(5u);
  for (const NamedRing& c : corpus()) {
    if (c.ring.size() > 100 || c.ring.empty()) continue;
    const std::int32_t step = 1 + static_cast<std::int32_t>(rng() % 4);
    Ring copy = c.ring;
    KRECT want;
    // The scan passes visit every row and column crossed: keep to rings of
    // small extent.
    KRECT extent;
    GetMBR(extent, count_of(c.ring), c.ring.data());
    if (std::int64_t{extent.ptMax.x} - extent.ptMin.x > 200000 ||
        std::int64_t{extent.ptMax.y} - extent.ptMin.y > 200000) {
      continue;
    }
    GetMCR(want, count_of(copy), copy.data(), step);
    const KRECT got = kelvor::InscribedRect(c.ring.data(), count_of(c.ring), step);
    EXPECT_EQ(got == want, 1) << c.name;
    const KRECT exact =
        kelvor::InscribedRect(c.ring.data(), count_of(c.ring), step, kelvor::Rule::Exact);
    if (!kelvor::RingCanWrap(c.ring.data(), count_of(c.ring))) {
      EXPECT_EQ(exact == want, 1) << c.name << ": both rules agree when nothing wraps";
    }
    if (exact.IsEmpty()) continue;
    const kelvor::PreparedPolygon ring(c.ring.data(), count_of(c.ring), kelvor::Rule::Exact);
    for (const tagPOINT& corner : {exact.ptMin, exact.ptMax, tagPOINT{exact.ptMin.x, exact.ptMax.y},
                                   tagPOINT{exact.ptMax.x, exact.ptMin.y}}) {
      EXPECT_EQ(ring.ContainBounded(corner), 1)
          << c.name << " corner " << corner.x << "," << corner.y;
    }
  }
  // The wrapping diamond: GetMCR's seed lies outside by the wrapping rule.
  const Ring diamond{{0, -46341}, {46341, 0}, {0, 46341}, {-46341, 0}};
  EXPECT_EQ(kelvor::InscribedRect(diamond.data(), 4, 1000).IsEmpty(), 1);
  EXPECT_EQ(kelvor::InscribedRect(diamond.data(), 4, 1000, kelvor::Rule::Exact).IsEmpty(), 0);
}

}  // namespace
