// Polygon predicates against the scan-line model; clip, containment and empty-figure rules.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include <kelvor/planar.h>

#include "planar/polygon_model.h"

namespace {

using polytest::I32;
using polytest::Ring;
using polytest::same;

I32 count_of(const Ring& r) { return static_cast<I32>(r.size()); }

// Star rings (some spanning several internal blocks), self-crossing rings, some given closed.
std::vector<Ring> ring_corpus(std::uint32_t seed) {
  std::mt19937 rng(seed);
  std::vector<Ring> rings;
  for (int n : {3, 4, 8, 40, 255, 256, 257, 600}) rings.push_back(polytest::star_ring(rng, n));
  for (int n : {3, 4, 6, 9, 13}) {
    rings.push_back(polytest::random_ring(rng, n, 40));
    rings.push_back(polytest::closed(polytest::random_ring(rng, n, 40)));
  }
  return rings;
}

TEST(PolygonProperty, EvenOddMatchesModelOnGridsOpenOrClosedAndWhenProductsWrap) {
  for (const Ring& r : ring_corpus(20261205u)) {
    const Ring shut = polytest::closed(r);
    for (I32 y = -62; y <= 62; y += 3)
      for (I32 x = -62; x <= 62; x += 2) {
        const tagPOINT p{x, y};
        const int want = polytest::model_even_odd(r, p);
        ASSERT_EQ(Point_Polygon_Intersect(&p, r.data(), count_of(r)), want) << x << ',' << y;
        ASSERT_EQ(Polygon_Contain_Point(r.data(), count_of(r), &p), want) << "paired name";
        ASSERT_EQ(Point_Polygon_Intersect(&p, shut.data(), count_of(shut)), want) << "closed";
      }
  }
  // Extents around 46340, where the 32-bit product starts to wrap, and the full range.
  std::mt19937 rng(46340u);
  for (int trial = 0; trial < 400; ++trial) {
    const bool full = trial % 2 == 0;
    const I32 range = full ? INT32_MAX : 20000 + (trial % 5) * 5000;
    const int n = trial % 3 == 0 ? 40 + trial : 3 + trial % 11;
    const Ring r = polytest::random_ring(rng, n, range);
    std::uniform_int_distribution<I32> c(full ? INT32_MIN : -range - 99, full ? range : range + 99);
    for (int k = 0; k < 30; ++k) {
      const tagPOINT p{c(rng), r[static_cast<std::size_t>(k) % r.size()].y - (k & 1)};
      ASSERT_EQ(Point_Polygon_Intersect(&p, r.data(), n), polytest::model_even_odd(r, p)) << n;
    }
  }
}

TEST(PolygonProperty, SpanTestsMatchModelIncludingTruncatedLists) {
  std::mt19937 rng(99u);
  std::uniform_int_distribution<I32> c(-70, 70);
  std::vector<Ring> rings = ring_corpus(5u);
  rings.insert(rings.end(), {polytest::comb(20), polytest::comb(20)});  // 40 crossings on y = 5
  rings.back().push_back({0, 10});  // and a closing edge that would add one
  for (const Ring& r : rings) {
    const I32 n = count_of(r);
    const Ring shut = polytest::closed(r);
    for (int k = 0; k < 300; ++k) {
      const I32 at = k % 4 == 0 ? 5 : c(rng), from = k % 2 ? c(rng) * 3 : c(rng);
      const I32 to = from + c(rng) + 71;
      for (bool row : {true, false}) {
        const auto list = polytest::model_scan(r, at, row);
        const int met = polytest::model_span(list, from, to);
        const auto meet = row ? &Polygon_Horizon_Intersect : &Polygon_Vertical_Intersect;
        const auto contain = row ? &Polygon_Contain_Horizon : &Polygon_Contain_Vertical;
        const auto clip = row ? &Polygon_Clip_Horizon : &Polygon_Clip_Vertical;
        ASSERT_EQ(meet(r.data(), n, from, to, at), met >= 0 ? 1 : 0) << n << " at=" << at;
        const int contained = contain(r.data(), n, from, to, at);
        ASSERT_EQ(contained, polytest::model_span(list, from, to, true));
        I32 f = from, t = to, f2 = from, t2 = to;
        ASSERT_EQ(clip(r.data(), n, &f, &t, at), met >= 0 ? 1 : 0);
        if (n < 60) {  // open and closed alike while the list is not truncated
          ASSERT_EQ(clip(shut.data(), n + 1, &f2, &t2, at), met >= 0 ? 1 : 0);
          ASSERT_TRUE(f == f2 && t == t2);
        }
        ASSERT_TRUE(met >= 0 || (f == from && t == to)) << "a rejected clip leaves the span alone";
        if (met < 0) continue;
        const auto idx = static_cast<std::size_t>(met);  // cut to one inside span, never grown
        ASSERT_TRUE(f >= from && t <= to && f >= list[idx] && t <= list[idx + 1]);
        ASSERT_TRUE(!contained || (f == from && t == to)) << "a contained span is cut to itself";
      }
    }
  }
}

TEST(PolygonProperty, RectClipResultsLieInTheClipFigure) {
  auto within = [](const tagPOINT& e, const tagPOINT& a, const tagPOINT& b) {  // any corners
    return std::min(a.x, b.x) <= e.x && e.x <= std::max(a.x, b.x) &&
           std::min(a.y, b.y) <= e.y && e.y <= std::max(a.y, b.y);
  };
  std::mt19937 rng(31337u);
  std::uniform_int_distribution<I32> c(-40, 40), ext(0, 30);
  for (int trial = 0; trial < 4000; ++trial) {
    const tagPOINT min{c(rng), c(rng)}, max{min.x + ext(rng), min.y + ext(rng)};
    const tagPOINT was[2] = {{c(rng), c(rng)}, {c(rng), c(rng)}};
    const int inside = Rect_Contain_Segment(&min, &max, &was[0], &was[1]);
    ASSERT_EQ(inside, Rect_Contain_Rect(&min, &max, &was[0], &was[1])) << "paired name";
    tagPOINT now[2] = {was[0], was[1]};
    const I32 kept = Rect_Clip_Segment(&min, &max, &now[0], &now[1]);
    ASSERT_GE(kept, inside);
    const bool inner[2] = {Rect_Contain_Point(&min, &max, &was[0]) == 1,
                           Rect_Contain_Point(&min, &max, &was[1]) == 1};
    for (int k = 0; k < 2; ++k) {
      // Rejected or inside ends stay; an outside end moves onto an edge line within the
      // segment's box, or stays only when the other end is inside (it touches an edge).
      const bool unchanged = same(now[k], was[k]);
      const bool stays = !kept || inner[k] || (unchanged && inner[1 - k]);
      ASSERT_TRUE(stays ? unchanged : within(now[k], min, max) && within(now[k], was[0], was[1]));
    }
    const tagPOINT c1_0 = was[0], c2_0{c1_0.x + 1 + ext(rng), c1_0.y + 1 + ext(rng)};
    tagPOINT c1 = c1_0, c2 = c2_0;
    const I32 overlap = Rect_Clip_Rect(&min, &max, &c1, &c2);
    ASSERT_EQ(overlap, Rect_Rect_Intersect(&min, &max, &c1_0, &c2_0));
    ASSERT_TRUE(overlap || (same(c1, c1_0) && same(c2, c2_0))) << "rejected but written";
    if (!overlap) continue;
    ASSERT_TRUE(within(c1, min, max) && within(c2, min, max));
    ASSERT_TRUE(within(c1, c1_0, c2_0) && within(c2, c1_0, c2_0));
    ASSERT_TRUE((min.x == max.x || c1.x < c2.x) && (min.y == max.y || c1.y < c2.y)) << "empty";
  }
}

TEST(PolygonProperty, ContainmentImpliesMeetingOpenOrClosed) {
  std::mt19937 rng(2718u);
  std::uniform_int_distribution<I32> c(-70, 70), ext(0, 25);
  int contained_segments = 0, contained_rects = 0;
  for (const Ring& r : ring_corpus(8u)) {
    const I32 n = count_of(r);
    const Ring shut = polytest::closed(r);
    for (int k = 0; k < 400; ++k) {
      const tagPOINT a{c(rng), c(rng)}, b{a.x + ext(rng) - 12, a.y + ext(rng) - 12};
      const tagPOINT bmax{a.x + ext(rng), a.y + ext(rng)}, seg[2] = {a, b};
      const tagPOINT box[4] = {a, {bmax.x, a.y}, bmax, {a.x, bmax.y}};
      const int holds_seg = Polygon_Contain_Segment(r.data(), n, &a, &b);
      ASSERT_EQ(holds_seg, Polygon_Contain_Segment(shut.data(), n + 1, &a, &b)) << "closed";
      ASSERT_EQ(Segment_Polygon_Intersect(&a, &b, r.data(), n),
                Segment_Polygon_Intersect(&a, &b, shut.data(), n + 1)) << "closed";
      if (holds_seg) {
        ++contained_segments;
        ASSERT_TRUE(Segment_Polygon_Intersect(&a, &b, r.data(), n) &&
                    Polygon_Contain_Polyline(r.data(), n, seg, 2) &&
                    Polyline_Polygon_Intersect(seg, 2, r.data(), n));
      }
      if (Polygon_Contain_Rect(r.data(), n, &a, &bmax)) {
        ++contained_rects;
        ASSERT_TRUE(Rect_Polygon_Intersect(&a, &bmax, r.data(), n) &&
                    Polygon_Polygon_Intersect(r.data(), n, box, 4));
      }
      const tagPOINT rmin{a.x - 20, a.y - 20}, rmax{a.x + 20, a.y + 20};
      const int holds = Rect_Contain_Polygon(&rmin, &rmax, r.data(), n);
      ASSERT_EQ(holds, Rect_Contain_Polyline(&rmin, &rmax, r.data(), n)) << "paired name";
      ASSERT_TRUE(!holds || (Rect_Polygon_Intersect(&rmin, &rmax, r.data(), n) &&
                             Rect_Polyline_Intersect(&rmin, &rmax, r.data(), n)));
      ASSERT_TRUE(!Rect_Contain_Segment(&rmin, &rmax, &a, &b) ||
                  Segment_Rect_Intersect(&a, &b, &rmin, &rmax));
    }
  }
  EXPECT_TRUE(contained_segments > 100 && contained_rects > 50) << "exercise the implication";
}

TEST(Figures, EmptyFiguresMeetAndHoldNothingButAreHeldVacuously) {
  const tagPOINT p{3, 3}, q{5, 5}, *const z = nullptr;
  I32 from = -5, to = 5;
  const int got[] = {
      Point_Polygon_Intersect(&p, z, 0),        Polygon_Contain_Point(z, 0, &p),
      Segment_Polygon_Intersect(&p, &q, z, 0),  Rect_Polygon_Intersect(&p, &q, z, 0),
      Polygon_Horizon_Intersect(z, 0, -9, 9, 5), Polygon_Polygon_Intersect(&p, 1, z, 0),
      Polygon_Polygon_Intersect(z, 0, &p, 1),   Polygon_Contain_Horizon(z, 0, 0, 1, 0),
      Polygon_Contain_Segment(z, 0, &p, &q),    Polygon_Contain_Rect(z, 0, &p, &q),
      Polygon_Contain_Polygon(z, 0, &p, 1),     Polygon_Clip_Vertical(z, 0, &from, &to, 0)};
  for (std::size_t k = 0; k < std::size(got); ++k) EXPECT_EQ(got[k], 0) << "case " << k;
  EXPECT_TRUE(from == -5 && to == 5) << "a rejected clip leaves the span alone";
  EXPECT_TRUE(Rect_Contain_Polygon(&p, &q, z, 0) && Rect_Contain_Polyline(&p, &q, z, 0) &&
              Polygon_Contain_Polyline(z, 0, &p, 1) && Polygon_Contain_Polygon(z, 0, z, 0));
}

TEST(Clip, RectSegmentAndNotchedRingExamples) {
  const tagPOINT min{0, 0}, max{10, 10};
  const struct { tagPOINT p, q, wp, wq; } segs[] = {{{-5, 2}, {8, 15}, {0, 7}, {3, 10}},
                                                    {{15, 5}, {-5, 5}, {10, 5}, {0, 5}}};
  for (auto s : segs) {
    EXPECT_EQ(Rect_Clip_Segment(&min, &max, &s.p, &s.q), 1);
    EXPECT_TRUE(same(s.p, s.wp) && same(s.q, s.wq)) << s.p.x << ',' << s.p.y << ' ' << s.q.x;
  }
  // Two rooms joined along the bottom: inside spans 0-10 and 20-30 on y = 7.
  const Ring notched{{0, 0}, {30, 0}, {30, 10}, {20, 10}, {20, 5}, {10, 5}, {10, 10}, {0, 10}};
  const struct { I32 from, to, want, wfrom, wto; } rows[] = {
      {3, 25, 1, 3, 10}, {12, 18, 0, 12, 18}, {12, 22, 1, 20, 22}};
  for (auto c : rows) {
    EXPECT_EQ(Polygon_Clip_Horizon(notched.data(), 8, &c.from, &c.to, 7), c.want);
    EXPECT_TRUE(c.from == c.wfrom && c.to == c.wto) << c.from << '-' << c.to;
  }
}

}  // namespace
