// Shape relations: the half-open boundary rules, the sampled polygon tests, and properties over
// generated figures (every Contain that answers 1 is backed by its planar function; symmetric
// relations agree with the reverse call).
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include "shapes/samples.h"

namespace {

using samples::point;
using samples::size;
using samples::uniform;

TEST(RectRelations, HalfOpenContainmentAndTheMeetingPoint) {
  const KRECT r(0, 0, 10, 10);
  EXPECT_EQ(r.Contain(tagPOINT{0, 0}) + r.Contain(tagPOINT{9, 9}), 2);
  EXPECT_EQ(r.Contain(KRECT(0, 0, 9, 9)), 1);
  EXPECT_EQ(r.Contain(tagPOINT{10, 5}) + r.Contain(tagPOINT{5, 10}), 0);
  EXPECT_EQ(r.Contain(r), 0);  // its own ptMax is outside
  EXPECT_EQ(KPOINT(10, 5).Intersect(r), 0);
  EXPECT_EQ(KPOINT(5, 10).Intersect(r), 1);  // unlike r.Contain({5, 10})
  // Empty figures lie in every non-empty rectangle and in no empty one.
  EXPECT_EQ(r.Contain(KRECT(50, 50, 40, 40)) + r.Contain(KPLINE()) + r.Contain(KPGON()), 3);
  EXPECT_EQ(KRECT().Contain(KRECT()) + KRECT().Contain(KPGON()), 0);
}

TEST(PolygonRelations, ContainSamplesVerticesAndProbesMissASliver) {
  // A U-shaped ring: two arms x in [0,10) and [20,30) above y = 10.
  tagPOINT u[8] = {{0, 0}, {30, 0}, {30, 30}, {20, 30}, {20, 10}, {10, 10}, {10, 30}, {0, 30}};
  // Vertices 0, 3, 6... are sampled: 0 and 3 sit in the arms of the U, 1 and 2 in the notch.
  tagPOINT bridge[4] = {{5, 20}, {15, 25}, {15, 20}, {25, 20}};
  tagPOINT bridge2[4] = {{5, 20}, {15, 25}, {25, 20}, {15, 20}};  // vertex 3 in the notch
  EXPECT_EQ(KPGON(8, u).Contain(KPGON(4, bridge)), 1);
  EXPECT_EQ(Polygon_Contain_Polygon(u, 8, bridge, 4), 0);
  EXPECT_EQ(KPGON(8, u).Contain(KPGON(4, bridge2)), 0);
  // The triangle reaches into the square only along x in [99, 100): no probe sees it.
  tagPOINT big[4] = {{0, 0}, {100, 0}, {100, 100}, {0, 100}};
  tagPOINT sliver[3] = {{99, 50}, {150, 50}, {150, 40}};
  EXPECT_EQ(Polygon_Polygon_Intersect(big, 4, sliver, 3), 1);
  EXPECT_EQ(KPGON(4, big).Intersect(KPGON(3, sliver)), 0);
}

TEST(PolygonMeetsPolygon, ExtremeCoordinatesNeitherOverflowNorLoop) {
  const std::int32_t M = INT32_MAX, m = INT32_MIN;
  tagPOINT c[3] = {{M - 1, M - 1}, {M, M - 1}, {M, M}}, d[3] = {{M - 1, M}, {M - 1, M - 1}, {M, M}};
  tagPOINT huge[4] = {{m, m}, {M, m}, {M, M}, {m, M}}, other[3] = {{m + 1, 0}, {M, 0}, {0, M}};
  KPGON(3, c).Intersect(KPGON(3, d));  // any answer, but it must end
  KPGON(4, huge).Intersect(KPGON(3, other));  // extents beyond 2^31 - 1
}

TEST(ShapeProperties, ContainIsBackedAndSymmetricRelationsAgree) {
  std::mt19937 rng(7001u);
  auto rect = [&rng] {
    const tagPOINT a = point(rng, -50, 50);
    return KRECT(a.x, a.y, a.x + uniform(rng, 0, 50), a.y + uniform(rng, 0, 50));
  };
  for (int iter = 0; iter < 3000; ++iter) {
    auto ring = samples::ring(rng, iter & 1, uniform(rng, 3, 12), 60);
    auto chain = samples::ring(rng, false, uniform(rng, 3, 5), 15 + iter % 20);
    tagPOINT *v = ring.data(), *w = chain.data();
    const std::int32_t n = size(ring), m = size(chain);
    const KPGON g(n, v), cg(m, w);
    const KPLINE pl(m, w);
    KRECT r = rect(), rc = rect();
    if (iter % 2 == 0) {  // hug the chain's bound to within a unit or two
      GetMBR(r, m, w);
      for (std::int32_t* e : {&r.ptMin.x, &r.ptMin.y}) *e -= uniform(rng, -1, 2);
      for (std::int32_t* e : {&r.ptMax.x, &r.ptMax.y}) *e += uniform(rng, -1, 2);
    }
    const tagPOINT c = point(rng, -70, 70), a = point(rng, -50, 50), b = point(rng, -50, 50);
    const bool backed[] = {
        (g.Contain(c) != 0) == (Polygon_Contain_Point(v, n, &c) != 0),
        (KPOINT(c).Intersect(g) != 0) == (Point_Polygon_Intersect(&c, v, n) != 0),
        (r.Contain(c) != 0) == (Rect_Contain_Point(&r.ptMin, &r.ptMax, &c) != 0),
        (r.Contain(a, b) != 0) == (Rect_Contain_Segment(&r.ptMin, &r.ptMax, &a, &b) != 0),
        r.Contain(cg) == r.Contain(pl),
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
    for (std::size_t k = 0; k < 16; ++k) ASSERT_TRUE(backed[k]) << iter << ", " << k;
  }
}

}  // namespace
