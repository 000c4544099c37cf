// Generated-input checks: polygon predicates against the literal scan-line
// model, functions that must agree, clip results inside their clip figures,
// and containment implying meeting.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include <kelvor/planar.h>

#include "planar/polygon_model.h"

namespace {

using polytest::Ring;

std::int32_t count_of(const Ring& r) { return static_cast<std::int32_t>(r.size()); }

// Star rings (some spanning several internal blocks) and self-crossing rings, some given closed.
std::vector<Ring> ring_corpus(std::uint32_t seed) {
  std::mt19937 rng(seed);
  std::vector<Ring> rings;
  for (int n : {3, 4, 8, 40, 255, 256, 257, 600}) rings.push_back(polytest::star_ring(rng, n, 10.0, 60.0));
  for (int n : {3, 4, 6, 9, 13}) {
    rings.push_back(polytest::random_ring(rng, n, 40));
    rings.push_back(polytest::closed(polytest::random_ring(rng, n, 40)));
  }
  return rings;
}

TEST(PolygonProperty, PointTestsMatchEvenOddModelOnAGridGivenOpenOrClosed) {
  for (const Ring& r : ring_corpus(20261205u)) {
    const Ring shut = polytest::closed(r);
    for (std::int32_t y = -62; y <= 62; y += 3) {
      for (std::int32_t x = -62; x <= 62; x += 2) {
        const tagPOINT p{x, y};
        const int want = polytest::model_even_odd(r, p);
        ASSERT_EQ(Point_Polygon_Intersect(&p, r.data(), count_of(r)), want) << r.size() << " at " << x << ',' << y;
        ASSERT_EQ(Polygon_Contain_Point(r.data(), count_of(r), &p), want) << "two names, one test";
        ASSERT_EQ(Point_Polygon_Intersect(&p, shut.data(), count_of(shut)), want) << "closed";
      }
    }
  }
}

TEST(PolygonProperty, EvenOddMatchesModelWhenCrossingProductsWrap) {
  // Extents around 46340 (where the 32-bit product starts to overflow) and
  // anywhere in the 32-bit range; small rings and multi-block rings.
  std::mt19937 rng(46340u);
  for (int trial = 0; trial < 400; ++trial) {
    const bool full = trial % 2 == 0;
    const std::int32_t range = full ? INT32_MAX : 20000 + (trial % 5) * 5000;
    const int n = trial % 3 == 0 ? 40 + trial : 3 + trial % 11;
    const Ring r = polytest::random_ring(rng, n, range);
    std::uniform_int_distribution<std::int32_t> c(full ? INT32_MIN : -range - 100, full ? INT32_MAX : range + 100);
    for (int k = 0; k < 30; ++k) {
      const tagPOINT p{c(rng), r[static_cast<std::size_t>(k) % r.size()].y - (k & 1)};
      ASSERT_EQ(Point_Polygon_Intersect(&p, r.data(), n), polytest::model_even_odd(r, p)) << "n=" << n;
    }
  }
}

TEST(PolygonProperty, OpenAndClosedRingsAnswerAlike) {
  std::mt19937 rng(4242u);
  std::uniform_int_distribution<std::int32_t> c(-70, 70);
  for (const Ring& open : ring_corpus(4242u)) {
    const Ring shut = polytest::closed(open);
    const std::int32_t n = count_of(open), m = count_of(shut);
    for (int k = 0; k < 400; ++k) {
      const tagPOINT a{c(rng), c(rng)}, b{c(rng), c(rng)};
      const std::int32_t from = c(rng), to = from + c(rng) + 70, at = c(rng);
      std::int32_t f1 = from, t1 = to, f2 = from, t2 = to;
      const int clipped = Polygon_Clip_Vertical(open.data(), n, &f1, &t1, at);
      ASSERT_EQ(clipped, Polygon_Clip_Vertical(shut.data(), m, &f2, &t2, at));
      ASSERT_TRUE(f1 == f2 && t1 == t2);
      ASSERT_EQ(Polygon_Contain_Segment(open.data(), n, &a, &b), Polygon_Contain_Segment(shut.data(), m, &a, &b));
      ASSERT_EQ(Segment_Polygon_Intersect(&a, &b, open.data(), n), Segment_Polygon_Intersect(&a, &b, shut.data(), m));
    }
  }
}

TEST(PolygonProperty, SpanTestsMatchModelIncludingTruncatedLists) {
  std::mt19937 rng(99u);
  std::uniform_int_distribution<std::int32_t> c(-70, 70);
  std::vector<Ring> rings = ring_corpus(5u);
  rings.push_back(polytest::comb(20));  // 40 crossings on y = 5: truncated
  rings.push_back(polytest::comb(20));
  rings.back().push_back({0, 10});  // the closing edge would add a crossing
  for (const Ring& r : rings) {
    const std::int32_t n = count_of(r);
    for (int k = 0; k < 300; ++k) {
      const std::int32_t at = k % 4 == 0 ? 5 : c(rng), from = k % 2 ? c(rng) * 3 : c(rng), to = from + c(rng) + 71;
      for (bool row : {true, false}) {
        const auto list = polytest::model_scan(r, at, row);
        const int met = polytest::model_span_met(list, from, to);
        const auto intersect = row ? &Polygon_Horizon_Intersect : &Polygon_Vertical_Intersect;
        const auto contain = row ? &Polygon_Contain_Horizon : &Polygon_Contain_Vertical;
        const auto clip = row ? &Polygon_Clip_Horizon : &Polygon_Clip_Vertical;
        ASSERT_EQ(intersect(r.data(), n, from, to, at), met >= 0 ? 1 : 0) << "n=" << n << " at=" << at;
        const int contained = contain(r.data(), n, from, to, at);
        ASSERT_EQ(contained, polytest::model_span_contained(list, from, to));
        std::int32_t f = from, t = to;
        ASSERT_EQ(clip(r.data(), n, &f, &t, at), met >= 0 ? 1 : 0);
        if (met < 0) {
          ASSERT_TRUE(f == from && t == to) << "a rejected clip leaves the span alone";
          continue;
        }
        const auto idx = static_cast<std::size_t>(met);  // cut to one inside span, never grown
        ASSERT_TRUE(f >= from && t <= to && f >= list[idx] && t <= list[idx + 1]);
        if (contained) {
          ASSERT_TRUE(f == from && t == to) << "a contained span is cut to itself";
        }
      }
    }
  }
}

TEST(PolygonProperty, TruncatedCombJudgedOnFirstThirtyCrossings) {
  Ring r = polytest::comb(20);  // inside spans [10t + 1, 10t + 10) on y = 5, t = 0..19
  const std::int32_t n = count_of(r);
  const tagPOINT in_tooth0{5, 5};
  EXPECT_EQ(Point_Polygon_Intersect(&in_tooth0, r.data(), n), 1) << "the point rule has no limit";
  // The scan keeps the 30 rightmost crossings: teeth 5..19.
  EXPECT_EQ(Polygon_Contain_Horizon(r.data(), n, 52, 58, 5), 1);
  EXPECT_EQ(Polygon_Contain_Horizon(r.data(), n, 42, 48, 5), 0);
  EXPECT_EQ(Polygon_Horizon_Intersect(r.data(), n, 2, 8, 5), 0);
  r.push_back({0, 10});  // adds crossings at x = 0, never reached once the list is full
  for (std::int32_t m : {n, n + 1}) {
    std::int32_t from = 0, to = 1000;
    EXPECT_EQ(Polygon_Clip_Horizon(r.data(), m, &from, &to, 5), 1);
    EXPECT_TRUE(from == 51 && to == 60) << m << ": " << from << '-' << to;
  }
}

bool in_closed(const tagPOINT& e, const tagPOINT& lo, const tagPOINT& hi) {
  return e.x >= lo.x && e.x <= hi.x && e.y >= lo.y && e.y <= hi.y;
}

TEST(PolygonProperty, RectClipResultsLieInTheClipFigure) {
  std::mt19937 rng(31337u);
  std::uniform_int_distribution<std::int32_t> c(-40, 40), ext(0, 30);
  for (int trial = 0; trial < 4000; ++trial) {
    const tagPOINT min{c(rng), c(rng)}, max{min.x + ext(rng), min.y + ext(rng)}, in{c(rng), c(rng)}, iq{c(rng), c(rng)};
    const tagPOINT lo{std::min(in.x, iq.x), std::min(in.y, iq.y)}, hi{std::max(in.x, iq.x), std::max(in.y, iq.y)};
    const int inside = Rect_Contain_Segment(&min, &max, &in, &iq);
    ASSERT_EQ(inside, Rect_Contain_Rect(&min, &max, &in, &iq)) << "two names, one test";
    const tagPOINT was[2] = {in, iq};
    tagPOINT now[2] = {in, iq};
    const std::int32_t kept = Rect_Clip_Segment(&min, &max, &now[0], &now[1]);
    ASSERT_GE(kept, inside);
    const bool inner[2] = {Rect_Contain_Point(&min, &max, &in) == 1, Rect_Contain_Point(&min, &max, &iq) == 1};
    for (int k = 0; k < 2; ++k) {
      // Rejected or inside ends stay; an outside end moves onto an edge line within the
      // segment's box, or stays only when the other end is inside (it merely touches an edge).
      const bool unchanged = polytest::same(now[k], was[k]);
      if (!kept || inner[k] || (unchanged && inner[1 - k])) {
        ASSERT_TRUE(unchanged) << "kept=" << kept;
      } else {
        ASSERT_TRUE(in_closed(now[k], min, max) && in_closed(now[k], lo, hi)) << in.x << ',' << in.y << ' ' << iq.x;
      }
    }
    tagPOINT c1 = in, c2{in.x + 1 + ext(rng), in.y + 1 + ext(rng)};
    const tagPOINT c1_0 = c1, c2_0 = c2;
    const std::int32_t overlap = Rect_Clip_Rect(&min, &max, &c1, &c2);
    ASSERT_EQ(overlap, Rect_Rect_Intersect(&min, &max, &c1_0, &c2_0));
    if (!overlap) {
      ASSERT_TRUE(polytest::same(c1, c1_0) && polytest::same(c2, c2_0)) << "rejected but written";
      continue;
    }
    ASSERT_TRUE(in_closed(c1, min, max) && in_closed(c2, min, max));
    ASSERT_TRUE(in_closed(c1, c1_0, c2_0) && in_closed(c2, c1_0, c2_0));
    ASSERT_TRUE((min.x == max.x || c1.x < c2.x) && (min.y == max.y || c1.y < c2.y)) << "never empty";
  }
}

TEST(PolygonProperty, ContainmentImpliesMeeting) {
  std::mt19937 rng(2718u);
  std::uniform_int_distribution<std::int32_t> c(-70, 70), ext(0, 25);
  int contained_segments = 0, contained_rects = 0;
  for (const Ring& r : ring_corpus(8u)) {
    const std::int32_t n = count_of(r);
    for (int k = 0; k < 400; ++k) {
      const tagPOINT a{c(rng), c(rng)}, b{a.x + ext(rng) - 12, a.y + ext(rng) - 12};
      const tagPOINT bmax{a.x + ext(rng), a.y + ext(rng)}, seg[2] = {a, b};
      const tagPOINT box[4] = {a, {bmax.x, a.y}, bmax, {a.x, bmax.y}};
      if (Polygon_Contain_Segment(r.data(), n, &a, &b)) {
        ++contained_segments;
        ASSERT_TRUE(Segment_Polygon_Intersect(&a, &b, r.data(), n) && Polygon_Contain_Polyline(r.data(), n, seg, 2) &&
                    Polyline_Polygon_Intersect(seg, 2, r.data(), n));
      }
      if (Polygon_Contain_Rect(r.data(), n, &a, &bmax)) {
        ++contained_rects;
        ASSERT_TRUE(Rect_Polygon_Intersect(&a, &bmax, r.data(), n) && Polygon_Polygon_Intersect(r.data(), n, box, 4));
      }
      const tagPOINT rmin{a.x - 20, a.y - 20}, rmax{a.x + 20, a.y + 20};
      const int holds = Rect_Contain_Polygon(&rmin, &rmax, r.data(), n);
      ASSERT_EQ(holds, Rect_Contain_Polyline(&rmin, &rmax, r.data(), n)) << "two names, one test";
      ASSERT_TRUE(!holds || (Rect_Polygon_Intersect(&rmin, &rmax, r.data(), n) &&
                             Rect_Polyline_Intersect(&rmin, &rmax, r.data(), n)));
      ASSERT_TRUE(!Rect_Contain_Segment(&rmin, &rmax, &a, &b) || Segment_Rect_Intersect(&a, &b, &rmin, &rmax));
    }
  }
  EXPECT_GT(contained_segments, 100) << "the generator must exercise the implication";
  EXPECT_GT(contained_rects, 50);
}

}  // namespace
