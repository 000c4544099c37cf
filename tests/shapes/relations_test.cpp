// Shape relations: boundary rules of the pre-tests, the sampled polygon tests,
// and properties over generated figures (every Contain that answers 1 is backed
// by its planar function; symmetric relations agree with the reverse call).
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include "shapes/samples.h"

namespace {

using samples::point;
using samples::size;
using samples::uniform;

tagPOINT kSquare[4] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
// A U-shaped ring: two arms x in [0,10) and [20,30) above y = 10.
tagPOINT kU[8] = {{0, 0}, {30, 0}, {30, 30}, {20, 30}, {20, 10}, {10, 10}, {10, 30}, {0, 30}};

TEST(RectRelations, HalfOpenContainmentAndStrictOverlap) {
  const KRECT r(0, 0, 10, 10);
  const struct { tagPOINT p; std::int32_t in; } points[] = {
      {{0, 0}, 1}, {{9, 9}, 1}, {{10, 5}, 0}, {{5, 10}, 0}, {{-1, 5}, 0}};
  for (const auto& c : points) EXPECT_EQ(r.Contain(c.p), c.in) << c.p.x << "," << c.p.y;
  EXPECT_EQ(r.Contain(r), 0);  // its own ptMax is outside
  EXPECT_EQ(r.Contain(KRECT(0, 0, 9, 9)), 1);
  EXPECT_EQ(r.Contain(tagPOINT{0, 0}, tagPOINT{9, 10}), 0);
  EXPECT_EQ(KRECT(0, 0, 0, 0).Contain(tagPOINT{0, 0}), 0);  // zero size holds no point
  // Empty figures lie in every non-empty rectangle and in no empty one.
  EXPECT_EQ(r.Contain(KRECT(50, 50, 40, 40)) + r.Contain(KPLINE()) + r.Contain(KPGON()), 3);
  EXPECT_EQ(KRECT().Contain(KRECT()) + KRECT().Contain(KPGON()), 0);
  const struct { KRECT o; std::int32_t meets; } rects[] = {
      {KRECT(10, 0, 20, 10), 0}, {KRECT(0, 10, 10, 20), 0}, {KRECT(9, 9, 20, 20), 1}, {KRECT(2, 2, 1, 1), 0}};
  for (const auto& c : rects) EXPECT_EQ(r.Intersect(c.o) * 2 + c.o.Intersect(r), c.meets * 3);
  tagPOINT cover[3] = {{-20, -20}, {40, -20}, {-20, 40}};
  EXPECT_EQ(r.Intersect(KPGON(3, cover)), 1);
  EXPECT_EQ(r.Intersect(KPGON(3, cover, KRECT(50, 50, 60, 60))), 0);  // trusted bound misses r
}

TEST(PointAndPolylineRelations, WhichTouchingCounts) {
  const KRECT r(0, 0, 10, 10);
  EXPECT_EQ(KPOINT(10, 5).Intersect(r), 0);
  EXPECT_EQ(KPOINT(5, 10).Intersect(r), 1);  // unlike r.Contain({5, 10})
  EXPECT_EQ(KPOINT(0, 0).Intersect(KRECT()), 0);
  tagPOINT horizontal[2] = {{0, 5}, {10, 5}};
  const KPLINE h(2, horizontal);
  EXPECT_EQ(KPOINT(3, 5).Intersect(h), 1);   // the top (= only) row of the bound counts
  EXPECT_EQ(KPOINT(10, 5).Intersect(h), 0);  // the largest-x end does not
  EXPECT_EQ(h.Intersect(tagPOINT{3, 5}), 0);  // the half-open bound holds nothing
  EXPECT_EQ(KPOINT(5, 10).Intersect(KPGON(4, kSquare)), 0);  // passes the pre-test, fails even-odd
  // Chains that only touch or overlap collinearly do not meet.
  tagPOINT a[2] = {{0, 0}, {5, 5}}, b[2] = {{5, 5}, {10, 10}}, v1[2] = {{3, 0}, {3, 10}}, v2[2] = {{3, 5}, {3, 20}};
  tagPOINT x1[2] = {{0, 10}, {10, 0}}, x2[2] = {{0, 0}, {10, 10}};
  EXPECT_EQ(KPLINE(2, a).Intersect(KPLINE(2, b)), 0);
  EXPECT_EQ(KPLINE(2, v1).Intersect(KPLINE(2, v2)), 0);
  EXPECT_EQ(KPLINE(2, x1).Intersect(KPLINE(2, x2)), 1);
  EXPECT_EQ(KPLINE(2, x1).Intersect(KRECT(10, 0, 20, 10)), 0);  // shares the bound's edge only
}

TEST(PolygonRelations, ContainmentBoundariesAndSampledVertices) {
  const KPGON g(4, kSquare);
  EXPECT_EQ(g.Contain(KRECT(0, 0, 10, 10)), 0);  // not its own bounding rectangle
  EXPECT_EQ(g.Contain(g), 0);
  EXPECT_EQ(g.Contain(tagPOINT{0, 2}, tagPOINT{0, 8}), 1);  // the left side is inside
  EXPECT_EQ(g.Contain(tagPOINT{10, 2}, tagPOINT{10, 8}), 0);
  EXPECT_EQ(g.Contain(KPGON()) - KPGON().Contain(KPGON()), 1);
  const KPGON u(8, kU);
  EXPECT_EQ(u.Intersect(KRECT(12, 15, 18, 25)), 0);  // inside the notch
  EXPECT_EQ(u.Intersect(tagPOINT{12, 20}, tagPOINT{18, 20}), 0);
  // A polygon's vertices 0, 3, 6... are sampled: 0 and 3 sit in the arms of the U, 1 and 2 in the notch.
  tagPOINT bridge[4] = {{5, 20}, {15, 25}, {15, 20}, {25, 20}};
  EXPECT_EQ(u.Contain(KPGON(4, bridge)), 1);
  EXPECT_EQ(Polygon_Contain_Polygon(kU, 8, bridge, 4), 0);
  tagPOINT bridge2[4] = {{5, 20}, {15, 25}, {25, 20}, {15, 20}};  // vertex 3 in the notch
  EXPECT_EQ(u.Contain(KPGON(4, bridge2)), 0);
}

TEST(PolygonMeetsPolygon, ProbesAndTheirLimits) {
  const KPGON g(4, kSquare);
  tagPOINT shifted[4] = {{5, 5}, {15, 5}, {15, 15}, {5, 15}}, far[3] = {{50, 50}, {60, 50}, {50, 60}};
  tagPOINT beside[4] = {{10, 0}, {20, 0}, {20, 10}, {10, 10}}, notch[3] = {{12, 12}, {18, 12}, {15, 28}};
  EXPECT_EQ(g.Intersect(KPGON(4, shifted)) + KPGON(4, shifted).Intersect(g), 2);
  EXPECT_EQ(g.Intersect(KPGON(3, far, KRECT(2, 2, 4, 4))), 1);  // a contained trusted bound decides
  EXPECT_EQ(g.Intersect(KPGON(4, beside)), 0);  // shares an edge
  EXPECT_EQ(KPGON(8, kU).Intersect(KPGON(3, notch)), 0);  // bounds overlap, shapes do not
  // Clip rectangle (0,0)-(10,4): the last probed row, y = 4, is its maximum.
  tagPOINT above[4] = {{3, 4}, {7, 4}, {7, 8}, {3, 8}};
  EXPECT_EQ(g.Intersect(KPGON(4, above, KRECT(0, 0, 10, 4))), 1);
  EXPECT_EQ(g.Intersect(KPGON(4, above, KRECT(0, 0, 10, 3))), 0);
  // The triangle reaches into the square only along x in [99, 100): no probe sees it.
  tagPOINT big[4] = {{0, 0}, {100, 0}, {100, 100}, {0, 100}}, sliver[3] = {{99, 50}, {150, 50}, {150, 40}};
  EXPECT_EQ(Polygon_Polygon_Intersect(big, 4, sliver, 3), 1);
  EXPECT_EQ(KPGON(4, big).Intersect(KPGON(3, sliver)), 0);
}

TEST(PolygonMeetsPolygon, ExtremeCoordinatesNeitherOverflowNorLoop) {
  const std::int32_t M = INT32_MAX, m = INT32_MIN;
  tagPOINT a[4] = {{M - 9, M - 9}, {M, M - 9}, {M, M}, {M - 9, M}};
  tagPOINT b[4] = {{M - 5, M - 12}, {M - 2, M - 12}, {M - 2, M}, {M - 5, M}};
  EXPECT_EQ(KPGON(4, a).Intersect(KPGON(4, b)), 1);
  tagPOINT c[3] = {{M - 1, M - 1}, {M, M - 1}, {M, M}}, d[3] = {{M - 1, M}, {M - 1, M - 1}, {M, M}};
  tagPOINT huge[4] = {{m, m}, {M, m}, {M, M}, {m, M}}, other[3] = {{m + 1, 0}, {M, 0}, {0, M}};
  KPGON(3, c).Intersect(KPGON(3, d));  // any answer, but it must end
  KPGON(4, huge).Intersect(KPGON(3, other));  // extents beyond 2^31 - 1
}

TEST(ShapeProperties, ContainIsBackedAndSymmetricRelationsAgree) {
  std::mt19937 rng(7001u);
  for (int iter = 0; iter < 3000; ++iter) {
    auto ring = samples::ring(rng, iter & 1, uniform(rng, 3, 12), 60);
    auto chain = samples::ring(rng, false, uniform(rng, 3, 5), 15 + iter % 20);
    tagPOINT *v = ring.data(), *w = chain.data();
    const std::int32_t n = size(ring), m = size(chain);
    const KPGON g(n, v), cg(m, w);
    const KPLINE pl(m, w);
    KRECT r = samples::rect(rng, -50, 50), rc = samples::rect(rng, -50, 50);
    if (iter % 2 == 0) {  // hug the chain's bound to within a unit or two
      GetMBR(r, m, w);
      const std::int32_t d[4] = {uniform(rng, -1, 2), uniform(rng, -1, 2), uniform(rng, -1, 2), uniform(rng, -1, 2)};
      r = KRECT(r.ptMin.x - d[0], r.ptMin.y - d[1], r.ptMax.x + d[2], r.ptMax.y + d[3]);
    }
    const tagPOINT c = point(rng, -70, 70), a = point(rng, -50, 50), b = point(rng, -50, 50);
    ASSERT_EQ(g.Contain(c) != 0, Polygon_Contain_Point(v, n, &c) != 0) << iter;
    ASSERT_EQ(KPOINT(c).Intersect(g) != 0, Point_Polygon_Intersect(&c, v, n) != 0) << iter;
    ASSERT_EQ(r.Contain(c) != 0, Rect_Contain_Point(&r.ptMin, &r.ptMax, &c) != 0) << iter;
    ASSERT_EQ(r.Contain(a, b) != 0, Rect_Contain_Segment(&r.ptMin, &r.ptMax, &a, &b) != 0) << iter;
    ASSERT_EQ(r.Contain(cg), r.Contain(pl)) << iter;
    const bool backed[] = {
        !g.Contain(rc) || (Polygon_Contain_Rect(v, n, &rc.ptMin, &rc.ptMax) && g.Intersect(rc)),
        !g.Contain(a, b) || (Polygon_Contain_Segment(v, n, &a, &b) && g.Intersect(a, b)),
        !g.Contain(pl) || (Polygon_Contain_Polyline(v, n, w, m) && g.Intersect(pl)),
        !r.Contain(rc) || Rect_Contain_Rect(&r.ptMin, &r.ptMax, &rc.ptMin, &rc.ptMax),
        !r.Contain(cg) || (Rect_Contain_Polygon(&r.ptMin, &r.ptMax, w, m) && r.Intersect(cg)),
        !r.Contain(pl) || Rect_Contain_Polyline(&r.ptMin, &r.ptMax, w, m),
        (r.Intersect(rc) != 0) == (rc.Intersect(r) != 0),
        (pl.Intersect(g) != 0) == (g.Intersect(pl) != 0),
        (r.Intersect(pl) != 0) == (pl.Intersect(r) != 0),
        (r.Intersect(g) != 0) == (g.Intersect(r) != 0),
        KPOINT(c).Intersect(a) == KPOINT(a).Intersect(c) && KPOINT(c).Intersect(c) == 1};
    for (std::size_t k = 0; k < 11; ++k) ASSERT_TRUE(backed[k]) << "iteration " << iter << ", check " << k;
  }
}

}  // namespace
