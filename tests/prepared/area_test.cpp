// Prepared polygons and zone indexes against the ring-by-ring model, on rings
// large enough that the index splits its cells many times: dense stars,
// spiky and self-crossing rings, axis-parallel runs, wrapping edges, rings
// near the ends of the range, and areas of many parts with nested holes.
// Queries sit where the answers change: one unit either side of edge
// crossings, around vertices, on the rows of horizontal runs, and uniform.
#include <gtest/gtest.h>
#include <kelvor/planar.h>
#include <kelvor/prepared.h>

#include <cctype>
#include <cstdint>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "support/models.h"
#include "support/rings.h"

namespace {

using kelvor::Rule;
using rings::Ring;

// Probe points for a set of rings: around vertices, one unit either side of
// the exact crossing of random rows of random edges, and uniform over the
// rings' box widened by a tenth.
std::vector<tagPOINT> probes(std::mt19937& rng, const std::vector<Ring>& parts, int count) {
  std::vector<tagPOINT> q;
  std::int64_t lo_x = INT32_MAX, lo_y = INT32_MAX, hi_x = INT32_MIN, hi_y = INT32_MIN;
  std::vector<const tagPOINT*> all;
  std::vector<std::pair<tagPOINT, tagPOINT>> edges;
  for (const Ring& r : parts) {
    for (std::size_t i = 0; i < r.size(); ++i) {
      lo_x = std::min<std::int64_t>(lo_x, r[i].x), hi_x = std::max<std::int64_t>(hi_x, r[i].x);
      lo_y = std::min<std::int64_t>(lo_y, r[i].y), hi_y = std::max<std::int64_t>(hi_y, r[i].y);
      all.push_back(&r[i]);
      edges.emplace_back(r[i], r[(i + 1) % r.size()]);
    }
  }
  if (all.empty()) return q;
  auto clamp = [](std::int64_t v) {
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(INT32_MAX, std::max<std::int64_t>(INT32_MIN, v)));
  };
  const std::int64_t mx = (hi_x - lo_x) / 10 + 2, my = (hi_y - lo_y) / 10 + 2;
  for (int k = 0; k < count; ++k) {
    switch (k % 3) {
      case 0: {
        const tagPOINT& v = *all[rng() % all.size()];
        q.push_back({clamp(std::int64_t{v.x} + static_cast<int>(rng() % 7) - 3),
                     clamp(std::int64_t{v.y} + static_cast<int>(rng() % 7) - 3)});
        break;
      }
      case 1: {
        const auto& e = edges[rng() % edges.size()];
        if (e.first.y == e.second.y) break;
        const std::int64_t y0 = std::min(e.first.y, e.second.y),
                           y1 = std::max(e.first.y, e.second.y);
        const auto y = static_cast<std::int32_t>(
            y0 + static_cast<std::int64_t>(rng() % static_cast<std::uint64_t>(y1 - y0)));
        const std::int64_t t =
            static_cast<std::int64_t>(model::exact_crossing(e.first, e.second, y, true));
        for (int d = -1; d <= 1; ++d) q.push_back({clamp(t + d), y});
        break;
      }
      default:
        q.push_back({clamp(lo_x - mx +
                           static_cast<std::int64_t>(
                               rng() % static_cast<std::uint64_t>(hi_x - lo_x + 2 * mx + 1))),
                     clamp(lo_y - my +
                           static_cast<std::int64_t>(
                               rng() % static_cast<std::uint64_t>(hi_y - lo_y + 2 * my + 1)))});
    }
  }
  return q;
}

struct RingCase {
  const char* name;
  Ring (*make)(std::mt19937&);
};

Ring dense_star(std::mt19937& rng) { return rings::star(rng, 6000, 30000, 90000); }
Ring spiky(std::mt19937& rng) { return rings::star(rng, 3000, 2000, 100000); }
Ring tangled(std::mt19937& rng) { return rings::random_ring(rng, 400, 50000); }
Ring runs(std::mt19937& rng) { return rings::horizontal_runs(rng, 3000, 4000); }
Ring fine_runs(std::mt19937& rng) {
  // Runs on many rows a unit apart: toggles on nearly every row of a cell.
  Ring r;
  for (int i = 0; i < 1500; ++i) {
    const std::int32_t y = static_cast<std::int32_t>(rng() % 64);
    r.push_back({static_cast<std::int32_t>(rng() % 20000) - 10000, y});
    r.push_back({static_cast<std::int32_t>(rng() % 20000) - 10000, y});
  }
  return r;
}
Ring wrapping(std::mt19937& rng) { return rings::star(rng, 500, 200000, 2000000000); }
Ring at_the_ends(std::mt19937& rng) {
  return rings::offset(rings::star(rng, 3000, 100, 40000), INT32_MAX - 40000, INT32_MIN + 40000);
}
Ring closed_star(std::mt19937& rng) { return rings::closed(rings::star(rng, 2000, 500, 5000)); }
Ring steps_at_16_bits(std::mt19937& rng) {
  // A walk whose steps sit on either side of the 16-bit limits, each way.
  const std::int32_t dx[] = {32767, 32768, -32768, -32769, 32767, 1};
  const std::int32_t dy[] = {-32768, 32767, 32768, -32769, 0, -1};
  Ring r{{0, 0}};
  for (int i = 0; i < 3000; ++i) {
    const tagPOINT p = r.back();
    r.push_back({p.x + dx[rng() % 6], p.y + dy[rng() % 6]});
  }
  return r;
}

const RingCase kRings[] = {
    {"dense star", dense_star},
    {"spiky", spiky},
    {"self-crossing", tangled},
    {"runs", runs},
    {"runs on close rows", fine_runs},
    {"wrapping", wrapping},
    {"near the range ends", at_the_ends},
    {"closed", closed_star},
    {"steps at 16 bits", steps_at_16_bits},
};

void PrintTo(const RingCase& c, std::ostream* os) { *os << c.name; }

std::string test_name(const ::testing::TestParamInfo<RingCase>& param) {
  std::string s = param.param.name;
  for (char& c : s) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return s;
}

class LargeRings : public ::testing::TestWithParam<RingCase> {};

TEST_P(LargeRings, AnswerAsTheEvenOddRuleOfEachRule) {
  std::mt19937 rng(20261206u);
  const Ring r = GetParam().make(rng);
  const auto n = rings::count(r);
  const std::vector<tagPOINT> q = probes(rng, {r}, 4000);
  const kelvor::PreparedPolygon compatible(r.data(), n), exact(r.data(), n, Rule::Exact);
  for (const tagPOINT& p : q) {
    ASSERT_EQ(compatible.Contain(p), Polygon_Contain_Point(r.data(), n, &p))
        << "compatible at " << p;
    ASSERT_EQ(exact.Contain(p), model::even_odd(r.data(), n, p, true)) << "exact at " << p;
  }
}

// A zone index splits its areas' cells finer than a polygon alone does: the
// ring as one zone must still answer as the polygon.
TEST_P(LargeRings, AsAZoneAnswerAsThePolygon) {
  std::mt19937 rng(20261207u);
  const Ring r = GetParam().make(rng);
  const auto n = rings::count(r);
  const std::vector<tagPOINT> q = probes(rng, {r}, 3000);
  const kelvor::Ring whole{r.data(), n, false};
  const kelvor::Area area{&whole, 1, 5};
  for (const Rule rule : {Rule::Compatible, Rule::Exact}) {
    const kelvor::PreparedPolygon polygon(r.data(), n, rule);
    const kelvor::ZoneIndex zones(&area, 1, rule);
    for (const tagPOINT& p : q) {
      ASSERT_EQ(zones.Locate(p), polygon.Contain(p) != 0 ? 5 : kelvor::ZoneIndex::kNoZone)
          << (rule == Rule::Exact ? "exact" : "compatible") << " at " << p;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Shapes, LargeRings, ::testing::ValuesIn(kRings), test_name);

// A wide rectangle whose top edge is a horizontal run, with a comb of 120
// edges rising from it: the comb crowds the cell around it, which is then
// split into many small cells at once, as a polygon and as a zone. Where the
// run crosses a small cell's first row, the cells below it are inside and
// those above outside although none of them lists anything. Tops at several
// rows inside and between the small cells' rows.
TEST(CrowdedCells, KeepEachEmptyCellsOwnAnswer) {
  for (const std::int32_t top : {5152, 5184, 5200, 5216, 5280, 5376}) {
    Ring r = {{0, 0}, {32767, 0}, {32767, top}, {11100, top}};
    for (std::int32_t i = 0; i < 120; ++i) r.push_back({11100 - 40 * (i % 2), top + 10 + 3 * i});
    r.push_back({11050, top + 370});
    r.push_back({11050, top});
    r.push_back({0, top});
    const auto n = rings::count(r);
    const kelvor::PreparedPolygon compatible(r.data(), n), exact(r.data(), n, Rule::Exact);
    const kelvor::Zone zone{r.data(), n, 1};
    const kelvor::ZoneIndex zones(&zone, 1);
    for (std::int32_t y = top - 40; y <= top + 40; y += 3) {
      for (std::int32_t x = 9000; x < 13000; x += 7) {
        const tagPOINT p{x, y};
        const std::int32_t want = Polygon_Contain_Point(r.data(), n, &p);
        ASSERT_EQ(compatible.Contain(p), want) << "top " << top << " at " << p;
        ASSERT_EQ(exact.Contain(p), want) << "top " << top << " at " << p;
        ASSERT_EQ(zones.Locate(p), want != 0 ? 1 : kelvor::ZoneIndex::kNoZone)
            << "top " << top << " at " << p;
      }
    }
  }
}

// Islands on a grid, some with a lake, one lake with an island of its own
// (a second part inside the hole), parts overlapping their neighbours, and a
// hole drawn before any outer ring.
struct Parts {
  std::vector<Ring> rings;
  std::vector<bool> hole;
};

Parts archipelago(std::mt19937& rng, std::int32_t scale) {
  Parts a;
  auto add = [&](Ring r, bool hole) {
    a.rings.push_back(std::move(r));
    a.hole.push_back(hole);
  };
  add(rings::offset(rings::star(rng, 40, scale / 4, scale), 0, 0), true);  // no effect
  for (int i = 0; i < 10; ++i) {
    for (int j = 0; j < 10; ++j) {
      const std::int64_t cx = std::int64_t{i} * scale * 2, cy = std::int64_t{j} * scale * 2;
      add(rings::offset(rings::star(rng, 60, scale / 2, scale * 13 / 10), cx, cy), false);
      if ((i + j) % 3 == 0)
        add(rings::offset(rings::star(rng, 30, scale / 8, scale / 3), cx, cy), true);
      if ((i + j) % 3 == 0 && i % 2 == 0) {
        add(rings::offset(rings::star(rng, 20, scale / 20, scale / 6), cx, cy), false);
      }
      if (i == 4 && j == 4) add(Ring{}, true);  // an empty hole
    }
  }
  return a;
}

class Archipelago : public ::testing::TestWithParam<std::int32_t> {};

TEST_P(Archipelago, HoldsAPointWhenAPartDoesAndNoneOfItsHoles) {
  std::mt19937 rng(static_cast<std::uint32_t>(GetParam()));
  const Parts a = archipelago(rng, GetParam());
  std::vector<kelvor::Ring> given;
  std::vector<model::AreaRing> modelled;
  for (std::size_t k = 0; k < a.rings.size(); ++k) {
    const auto n = rings::count(a.rings[k]);
    given.push_back({a.rings[k].data(), n, a.hole[k]});
    modelled.push_back({a.rings[k].data(), n, a.hole[k]});
  }
  const std::vector<tagPOINT> q = probes(rng, a.rings, 6000);
  for (const Rule rule : {Rule::Compatible, Rule::Exact}) {
    const kelvor::PreparedPolygon area(given.data(), given.size(), rule);
    const kelvor::Area zone{given.data(), given.size(), 9};
    const kelvor::Area other{given.data() + 1, 1, 3};  // the first island alone, lower id
    const kelvor::Area both[] = {zone, other};
    const kelvor::ZoneIndex index(both, 2, rule);
    int inside = 0;
    for (const tagPOINT& p : q) {
      const int want = model::area_contains(modelled, p, rule == Rule::Exact);
      inside += want;
      ASSERT_EQ(area.Contain(p), want) << "at " << p;
      const int first = model::even_odd(given[1].points, given[1].count, p, rule == Rule::Exact);
      ASSERT_EQ(index.Locate(p), first ? 3 : want ? 9 : kelvor::ZoneIndex::kNoZone) << "at " << p;
    }
    EXPECT_GT(inside, 500) << "the probes reach inside";
  }
}

// Scales from a few units (every vertex shared with others) to wrapping.
INSTANTIATE_TEST_SUITE_P(Scales, Archipelago, ::testing::Values(20, 3000, 400000, 60000000));

// An index too large for the caches answers a batch with many queries in
// flight, a path of its own: it must answer as one point at a time and as a
// scan of the zones in id order. Overlapping spiky areas with holes, so that
// grid cells list several zones and some hold whole cells.
TEST(LargeZoneIndex, BatchAnswersAsOnePointAtATimeAndAsAScan) {
  std::mt19937 rng(41);
  std::vector<Ring> all;
  std::vector<std::vector<kelvor::Ring>> parts;
  for (int z = 0; z < 8; ++z) {
    const std::int64_t cx = (z % 4) * 600000, cy = (z / 4) * 500000;
    all.push_back(rings::offset(rings::star(rng, 6000, 200000, 1000000), cx, cy));
    all.push_back(rings::offset(rings::star(rng, 2000, 20000, 80000), cx, cy));
  }
  std::vector<kelvor::Area> areas;
  const std::int32_t ids[] = {7, 3, 12, 3, -4, 9, 0, 5};  // a tie, a negative id
  for (int z = 0; z < 8; ++z) {
    parts.push_back({{all[2 * z].data(), rings::count(all[2 * z]), false},
                     {all[2 * z + 1].data(), rings::count(all[2 * z + 1]), true}});
  }
  for (int z = 0; z < 8; ++z) areas.push_back({parts[z].data(), parts[z].size(), ids[z]});
  for (const Rule rule : {Rule::Compatible, Rule::Exact}) {
    const kelvor::ZoneIndex index(areas.data(), areas.size(), rule);
    ASSERT_GT(index.memory_bytes(), std::size_t{4} << 20) << "large enough to interleave";
    std::vector<tagPOINT> q = probes(rng, all, 30000);
    std::vector<std::int32_t> batch(q.size());
    index.Locate(q.data(), q.size(), batch.data());
    for (std::size_t i = 0; i < q.size(); ++i) {
      std::int32_t want = kelvor::ZoneIndex::kNoZone;
      for (std::size_t z = 0; z < index.size(); ++z) {
        if (index.zone(z).Contain(q[i]) != 0 &&
            (want == kelvor::ZoneIndex::kNoZone || index.id(z) < want)) {
          want = index.id(z);
        }
      }
      ASSERT_EQ(index.Locate(q[i]), want) << "at " << q[i];
      ASSERT_EQ(batch[i], want) << "batch, at " << q[i] << " (point " << i << ")";
    }
    // A batch of more than 2^20 points goes in two chunks: the same points
    // over and over answer as above wherever they fall.
    std::vector<tagPOINT> many((std::size_t{1} << 20) + 4097);
    for (std::size_t i = 0; i < many.size(); ++i) many[i] = q[i % q.size()];
    std::vector<std::int32_t> got(many.size());
    index.Locate(many.data(), many.size(), got.data());
    for (std::size_t i = 0; i < many.size(); ++i) {
      ASSERT_EQ(got[i], batch[i % q.size()])
          << "two chunks, at " << many[i] << " (point " << i << ")";
    }
  }
}

}  // namespace
