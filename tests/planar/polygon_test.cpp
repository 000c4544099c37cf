// Polygon predicates against the scan-line model; clip, containment and empty-figure rules.
#include <gtest/gtest.h>
#include <kelvor/planar.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "planar/polygon_model.h"
#include "support/answers.h"
#include "support/rings.h"

namespace {

using polytest::I32;
using rings::count;
using rings::Ring;
using rings::xy;

// Star rings (some spanning several internal blocks of 256 edges), self-crossing rings,
// axis-parallel rings with long horizontal runs on the probed rows, some given closed.
std::vector<Ring> ring_corpus(std::uint32_t seed) {
  std::mt19937 rng(seed);
  std::vector<Ring> corpus;
  for (int n : {3, 4, 8, 40, 255, 256, 257, 600}) corpus.push_back(rings::star(rng, n, 10, 60));
  for (int n : {3, 4, 6, 9, 13}) {
    corpus.push_back(rings::random_ring(rng, n, 40));
    corpus.push_back(rings::closed(rings::random_ring(rng, n, 40)));
  }
  for (int n : {4, 8, 16}) corpus.push_back(rings::horizontal_runs(rng, n, 50));
  return corpus;
}

std::string Describe(std::size_t k, const Ring& r) {
  return "ring " + std::to_string(k) + " of " + std::to_string(r.size()) + " points";
}

TEST(PolygonProperty, EvenOddMatchesModelOnGridsOpenOrClosed) {
  const std::vector<Ring> corpus = ring_corpus(20261205u);
  for (std::size_t k = 0; k < corpus.size(); ++k) {
    SCOPED_TRACE(Describe(k, corpus[k]));
    const Ring &r = corpus[k], shut = rings::closed(r);
    for (I32 y = -62; y <= 62; y += 3) {
      for (I32 x = -62; x <= 62; x += 2) {
        const tagPOINT p{x, y};
        const int want = polytest::model_even_odd(r, p);
        ASSERT_EQ(Point_Polygon_Intersect(&p, r.data(), count(r)), want) << p;
        ASSERT_EQ(Polygon_Contain_Point(r.data(), count(r), &p), want) << "paired name, " << p;
        ASSERT_EQ(Point_Polygon_Intersect(&p, shut.data(), count(shut)), want) << "closed, " << p;
      }
    }
  }
}

TEST(PolygonProperty, EvenOddMatchesModelWhereProductsWrap) {
  // Extents around 46340, where the 32-bit product starts to wrap, and coordinates near +-2^31.
  std::mt19937 rng(46340u);
  for (int trial = 0; trial < 400; ++trial) {
    const bool extreme = trial % 2 == 0;
    const I32 range = extreme ? INT32_MAX : 20000 + (trial % 5) * 5000;
    const int n = trial % 3 == 0 ? 40 + trial : 3 + trial % 11;
    const Ring r = extreme ? rings::near_limits(rng, n, 1000) : rings::random_ring(rng, n, range);
    for (int k = 0; k < 30; ++k) {  // on a vertex's row and the row below it
      const I32 vy = r[static_cast<std::size_t>(k) % r.size()].y;
      const tagPOINT p{
          rings::uniform(rng, extreme ? INT32_MIN : -range - 99, extreme ? INT32_MAX : range + 99),
          (k & 1) && vy > INT32_MIN ? vy - 1 : vy};
      ASSERT_EQ(Point_Polygon_Intersect(&p, r.data(), n), polytest::model_even_odd(r, p))
          << "trial " << trial << ", " << p;
    }
  }
}

TEST(PolygonProperty, SpanTestsMatchModelIncludingTruncatedLists) {
  std::mt19937 rng(99u);
  std::uniform_int_distribution<I32> c(-70, 70);
  std::vector<Ring> corpus = ring_corpus(5u);
  corpus.insert(corpus.end(), {rings::comb(20), rings::comb(20)});  // 40 crossings on y = 5
  corpus.back().push_back({0, 10});  // and a closing edge that would add one
  for (std::size_t k = 0; k < corpus.size(); ++k) {
    SCOPED_TRACE(Describe(k, corpus[k]));
    const Ring &r = corpus[k], shut = rings::closed(r);
    const I32 n = count(r);
    for (int probe = 0; probe < 300; ++probe) {
      const I32 at = probe % 4 == 0 ? 5 : c(rng), from = probe % 2 ? c(rng) * 3 : c(rng);
      const I32 to = from + c(rng) + 71;
      for (bool row : {true, false}) {
        SCOPED_TRACE(testing::Message()
                     << (row ? "row " : "column ") << at << ", span " << from << ".." << to);
        const auto list = polytest::model_scan(r, at, row);
        const int met = polytest::model_span(list, from, to);
        const auto meet = row ? &Polygon_Horizon_Intersect : &Polygon_Vertical_Intersect;
        const auto contain = row ? &Polygon_Contain_Horizon : &Polygon_Contain_Vertical;
        const auto clip = row ? &Polygon_Clip_Horizon : &Polygon_Clip_Vertical;
        ASSERT_EQ(meet(r.data(), n, from, to, at), met >= 0 ? 1 : 0) << "meet";
        ASSERT_EQ(contain(r.data(), n, from, to, at), polytest::model_span(list, from, to, true))
            << "contain";
        I32 f = from, t = to;
        ASSERT_EQ(clip(r.data(), n, &f, &t, at), met >= 0 ? 1 : 0) << "clip";
        if (n < 60) {  // open and closed alike while the list is not truncated
          I32 f2 = from, t2 = to;
          ASSERT_EQ(clip(shut.data(), n + 1, &f2, &t2, at), met >= 0 ? 1 : 0) << "clip closed";
          ASSERT_EQ(std::make_pair(f2, t2), std::make_pair(f, t)) << "clip closed";
        }
        // Cut to the first inside span met, never grown; a rejected clip leaves the span alone.
        const auto idx = static_cast<std::size_t>(met);
        ASSERT_EQ(std::make_pair(f, t),
                  met < 0 ? std::make_pair(from, to)
                          : std::make_pair(std::max(from, list[idx]), std::min(to, list[idx + 1])))
            << "clip";
      }
    }
  }
}

TEST(PolygonProperty, RectClipsMatchTheirDefinition) {
  auto within = [](const tagPOINT& e, const tagPOINT& a, const tagPOINT& b) {  // any corners
    return std::min(a.x, b.x) <= e.x && e.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= e.y &&
           e.y <= std::max(a.y, b.y);
  };
  std::mt19937 rng(31337u);
  std::uniform_int_distribution<I32> c(-40, 40), ext(0, 30);
  for (int trial = 0; trial < 4000; ++trial) {
    const tagPOINT min{c(rng), c(rng)}, max{min.x + ext(rng), min.y + ext(rng)};
    const tagPOINT was[2] = {{c(rng), c(rng)}, {c(rng), c(rng)}};
    SCOPED_TRACE(testing::Message() << "trial " << trial << ": " << was[0] << "-" << was[1]
                                    << " in " << min << "-" << max);
    const int inside = Rect_Contain_Segment(&min, &max, &was[0], &was[1]);
    ASSERT_EQ(inside, Rect_Contain_Rect(&min, &max, &was[0], &was[1])) << "paired name";
    tagPOINT now[2] = {was[0], was[1]};
    const I32 kept = Rect_Clip_Segment(&min, &max, &now[0], &now[1]);
    ASSERT_GE(kept, inside) << "a contained segment is kept";
    const bool inner[2] = {Rect_Contain_Point(&min, &max, &was[0]) == 1,
                           Rect_Contain_Point(&min, &max, &was[1]) == 1};
    for (int k = 0; k < 2; ++k) {
      // Rejected or inside ends stay; an outside end moves onto an edge line within the
      // segment's box, or stays only when the other end is inside (it touches an edge).
      const bool unchanged = rings::same(now[k], was[k]);
      if (!kept || inner[k] || (unchanged && inner[1 - k])) {
        ASSERT_EQ(xy(now[k]), xy(was[k])) << "end " << k << " stays";
      } else {
        ASSERT_TRUE(within(now[k], min, max)) << "end " << k << " moved to " << now[k];
        ASSERT_TRUE(within(now[k], was[0], was[1])) << "end " << k << " moved to " << now[k];
      }
    }
    // The rectangle clip: corners pulled in to the clip rectangle, or left alone.
    const tagPOINT c1_0 = was[0], c2_0{c1_0.x + 1 + ext(rng), c1_0.y + 1 + ext(rng)};
    tagPOINT c1 = c1_0, c2 = c2_0;
    const I32 overlap = Rect_Clip_Rect(&min, &max, &c1, &c2);
    ASSERT_EQ(overlap, Rect_Rect_Intersect(&min, &max, &c1_0, &c2_0)) << "rect " << c2_0;
    const tagPOINT want1 =
        overlap ? tagPOINT{std::max(c1_0.x, min.x), std::max(c1_0.y, min.y)} : c1_0;
    const tagPOINT want2 =
        overlap ? tagPOINT{std::min(c2_0.x, max.x), std::min(c2_0.y, max.y)} : c2_0;
    ASSERT_EQ(xy(c1), xy(want1)) << "rect " << c1_0 << "-" << c2_0;
    ASSERT_EQ(xy(c2), xy(want2)) << "rect " << c1_0 << "-" << c2_0;
  }
}

TEST(PolygonProperty, ContainmentImpliesMeetingOpenOrClosed) {
  std::mt19937 rng(2718u);
  std::uniform_int_distribution<I32> c(-70, 70), ext(0, 25);
  int contained_segments = 0, contained_rects = 0;
  const std::vector<Ring> corpus = ring_corpus(8u);
  for (std::size_t k = 0; k < corpus.size(); ++k) {
    SCOPED_TRACE(Describe(k, corpus[k]));
    const Ring &r = corpus[k], shut = rings::closed(r);
    const I32 n = count(r);
    for (int probe = 0; probe < 400; ++probe) {
      const tagPOINT a{c(rng), c(rng)}, b{a.x + ext(rng) - 12, a.y + ext(rng) - 12};
      const tagPOINT bmax{a.x + ext(rng), a.y + ext(rng)}, seg[2] = {a, b};
      const tagPOINT box[4] = {a, {bmax.x, a.y}, bmax, {a.x, bmax.y}};
      const int holds_seg = Polygon_Contain_Segment(r.data(), n, &a, &b);
      ASSERT_EQ(holds_seg, Polygon_Contain_Segment(shut.data(), n + 1, &a, &b))
          << "closed, segment " << a << "-" << b;
      ASSERT_EQ(Segment_Polygon_Intersect(&a, &b, r.data(), n),
                Segment_Polygon_Intersect(&a, &b, shut.data(), n + 1))
          << "closed, segment " << a << "-" << b;
      if (holds_seg) {
        ++contained_segments;
        ASSERT_EQ(Segment_Polygon_Intersect(&a, &b, r.data(), n), 1) << a << "-" << b;
        ASSERT_EQ(Polygon_Contain_Polyline(r.data(), n, seg, 2), 1) << a << "-" << b;
        ASSERT_EQ(Polyline_Polygon_Intersect(seg, 2, r.data(), n), 1) << a << "-" << b;
      }
      if (Polygon_Contain_Rect(r.data(), n, &a, &bmax)) {
        ++contained_rects;
        ASSERT_EQ(Rect_Polygon_Intersect(&a, &bmax, r.data(), n), 1) << a << "-" << bmax;
        ASSERT_EQ(Polygon_Polygon_Intersect(r.data(), n, box, 4), 1) << a << "-" << bmax;
      }
      const tagPOINT rmin{a.x - 20, a.y - 20}, rmax{a.x + 20, a.y + 20};
      const int holds = Rect_Contain_Polygon(&rmin, &rmax, r.data(), n);
      ASSERT_EQ(holds, Rect_Contain_Polyline(&rmin, &rmax, r.data(), n)) << "paired name";
      if (holds) {
        ASSERT_EQ(Rect_Polygon_Intersect(&rmin, &rmax, r.data(), n), 1) << rmin;
        ASSERT_EQ(Rect_Polyline_Intersect(&rmin, &rmax, r.data(), n), 1) << rmin;
      }
      if (Rect_Contain_Segment(&rmin, &rmax, &a, &b)) {
        ASSERT_EQ(Segment_Rect_Intersect(&a, &b, &rmin, &rmax), 1) << a << "-" << b;
      }
    }
  }
  EXPECT_GT(contained_segments, 100) << "exercise the implication";
  EXPECT_GT(contained_rects, 50) << "exercise the implication";
}

TEST(Figures, EmptyFiguresMeetAndHoldNothingButAreHeldVacuously) {
  const tagPOINT p{3, 3}, q{5, 5}, *const z = nullptr;
  I32 from = -5, to = 5;
  ExpectAnswers({
      {"point in empty polygon", Point_Polygon_Intersect(&p, z, 0), 0},
      {"empty polygon contains point", Polygon_Contain_Point(z, 0, &p), 0},
      {"segment meets empty polygon", Segment_Polygon_Intersect(&p, &q, z, 0), 0},
      {"rect meets empty polygon", Rect_Polygon_Intersect(&p, &q, z, 0), 0},
      {"empty polygon meets row span", Polygon_Horizon_Intersect(z, 0, -9, 9, 5), 0},
      {"polygon meets empty polygon", Polygon_Polygon_Intersect(&p, 1, z, 0), 0},
      {"empty polygon meets polygon", Polygon_Polygon_Intersect(z, 0, &p, 1), 0},
      {"empty polygon contains row span", Polygon_Contain_Horizon(z, 0, 0, 1, 0), 0},
      {"empty polygon contains segment", Polygon_Contain_Segment(z, 0, &p, &q), 0},
      {"empty polygon contains rect", Polygon_Contain_Rect(z, 0, &p, &q), 0},
      {"empty polygon contains one-point polygon", Polygon_Contain_Polygon(z, 0, &p, 1), 0},
      {"empty polygon clips column span", Polygon_Clip_Vertical(z, 0, &from, &to, 0), 0},
      {"rect contains empty polygon", Rect_Contain_Polygon(&p, &q, z, 0), 1},
      {"rect contains empty polyline", Rect_Contain_Polyline(&p, &q, z, 0), 1},
      {"empty polygon contains one-point polyline", Polygon_Contain_Polyline(z, 0, &p, 1), 1},
      {"empty polygon contains empty polygon", Polygon_Contain_Polygon(z, 0, z, 0), 1},
  });
  EXPECT_EQ(std::make_pair(from, to), std::make_pair(-5, 5)) << "a rejected clip leaves the span";
}

TEST(Clip, RectSegmentExamples) {
  const tagPOINT min{0, 0}, max{10, 10};
  const struct {
    const char* name;
    tagPOINT p, q;
    I32 want;
    tagPOINT wp, wq;
  } cases[] = {
      {"one end inside", {5, 5}, {20, 5}, 1, {5, 5}, {10, 5}},
      {"left to right", {-5, 5}, {15, 5}, 1, {0, 5}, {10, 5}},
      {"right to left", {15, 5}, {-5, 5}, 1, {10, 5}, {0, 5}},
      {"left and above", {-5, 2}, {8, 15}, 1, {0, 7}, {3, 10}},
      {"both beyond the right side", {20, 20}, {30, 5}, 0, {20, 20}, {30, 5}},
  };
  for (auto c : cases) {
    EXPECT_EQ(Rect_Clip_Segment(&min, &max, &c.p, &c.q), c.want) << c.name;
    EXPECT_EQ(xy(c.p), xy(c.wp)) << c.name;
    EXPECT_EQ(xy(c.q), xy(c.wq)) << c.name;
  }
}

TEST(Clip, SpanExamples) {
  // Two rooms joined along the bottom: inside spans 0-10 and 20-30 on y = 7.
  const Ring notched{{0, 0}, {30, 0}, {30, 10}, {20, 10}, {20, 5}, {10, 5}, {10, 10}, {0, 10}};
  const Ring square{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  const struct {
    const char* name;
    const Ring& ring;
    bool row;
    I32 at, from, to, want, wfrom, wto;
  } cases[] = {
      {"cut to the first room", notched, true, 7, -5, 40, 1, 0, 10},
      {"starts inside the first room", notched, true, 7, 3, 25, 1, 3, 10},
      {"between the rooms", notched, true, 7, 12, 18, 0, 12, 18},
      {"reaches into the second room", notched, true, 7, 12, 22, 1, 20, 22},
      {"starts inside the second room", notched, true, 7, 22, 40, 1, 22, 30},
      {"column through the square", square, false, 5, -5, 20, 1, 0, 10},
  };
  for (auto c : cases) {
    const auto clip = c.row ? &Polygon_Clip_Horizon : &Polygon_Clip_Vertical;
    EXPECT_EQ(clip(c.ring.data(), count(c.ring), &c.from, &c.to, c.at), c.want) << c.name;
    EXPECT_EQ(std::make_pair(c.from, c.to), std::make_pair(c.wfrom, c.wto)) << c.name;
  }
}

TEST(Polyline, PointSegmentAndSpanMeetings) {
  const tagPOINT zig[] = {{0, 0}, {10, 10}, {20, 0}}, on{15, 5}, off{15, 6};
  const tagPOINT bar[] = {{0, 5}, {20, 5}}, high[] = {{0, 12}, {20, 12}};
  const tagPOINT pole[] = {{0, 0}, {0, 10}};  // edge (0,0)-(0,10)
  ExpectAnswers({
      {"point on the second edge", Point_Polyline_Intersect(&on, zig, 3), 1},
      {"point beside it", Point_Polyline_Intersect(&off, zig, 3), 0},
      {"no edges below two points", Point_Polyline_Intersect(&zig[0], zig, 1), 0},
      {"bar crosses the zigzag", Polyline_Polyline_Intersect(zig, 3, bar, 2), 1},
      {"bar above the zigzag", Polyline_Polyline_Intersect(zig, 3, high, 2), 0},
      {"first polyline of one point", Polyline_Polyline_Intersect(zig, 1, bar, 2), 0},
      {"upper end outside the straddle", Polyline_Horizon_Intersect(pole, 2, 0, 1, 10), 0},
      {"lower end inside the straddle", Polyline_Horizon_Intersect(pole, 2, 0, 1, 0), 1},
      {"row span end is exclusive", Polyline_Horizon_Intersect(pole, 2, -5, 0, 5), 0},
      {"column span holds the crossing", Polyline_Vertical_Intersect(bar, 2, 5, 6, 10), 1},
      {"column span above the crossing", Polyline_Vertical_Intersect(bar, 2, 6, 9, 10), 0},
  });
}

}  // namespace
