// Shape relations: the boundary rules of the pre-tests and the sampled
// polygon tests.
#include <kelvor/kelvor.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

namespace {

tagPOINT kSquare[4] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};

TEST(RectRelations, HalfOpenContainment) {
  const KRECT r(0, 0, 10, 10);
  EXPECT_EQ(r.Contain(tagPOINT{10, 5}), 0);
  EXPECT_EQ(r.Contain(tagPOINT{5, 10}), 0);
  EXPECT_EQ(r.Contain(tagPOINT{0, 0}), 1);
  EXPECT_EQ(r.Contain(tagPOINT{9, 9}), 1);
  EXPECT_EQ(r.Contain(tagPOINT{-1, 5}), 0);
  EXPECT_EQ(r.Contain(tagPOINT{0, 0}, tagPOINT{9, 9}), 1);
  EXPECT_EQ(r.Contain(tagPOINT{0, 0}, tagPOINT{9, 10}), 0);
  EXPECT_EQ(r.Contain(r), 0);  // its own ptMax is outside
  EXPECT_EQ(r.Contain(KRECT(0, 0, 9, 9)), 1);
  EXPECT_EQ(r.Contain(KRECT(1, 1, 10, 9)), 0);
  EXPECT_EQ(KRECT(0, 0, 0, 0).Contain(tagPOINT{0, 0}), 0);  // zero size holds no point
}

TEST(RectRelations, EmptyFiguresAreContainedByNonEmptyRectangles) {
  const KRECT r(0, 0, 10, 10);
  EXPECT_EQ(r.Contain(KRECT()), 1);
  EXPECT_EQ(r.Contain(KRECT(50, 50, 40, 40)), 1);
  EXPECT_EQ(r.Contain(KPLINE()), 1);
  EXPECT_EQ(r.Contain(KPGON()), 1);
  const KRECT empty;
  EXPECT_EQ(empty.Contain(KRECT()), 0);
  EXPECT_EQ(empty.Contain(KPGON()), 0);
  EXPECT_EQ(empty.Contain(tagPOINT{1, 1}), 0);
  EXPECT_EQ(KRECT(5, 5, 0, 20).Contain(tagPOINT{2, 2}, tagPOINT{3, 3}), 0);
}

TEST(RectRelations, ContainOfArraysUsesTheirBound) {
  const KRECT r(0, 0, 10, 10);
  tagPOINT pts[3] = {{1, 1}, {9, 1}, {5, 9}};
  EXPECT_EQ(r.Contain(KPGON(3, pts)), 1);
  EXPECT_EQ(r.Contain(KPLINE(3, pts)), 1);
  // A trusted bound decides, whatever the points.
  EXPECT_EQ(r.Contain(KPGON(3, pts, KRECT(0, 0, 20, 5))), 0);
  tagPOINT wide[2] = {{1, 1}, {10, 1}};  // reaches the excluded right side
  EXPECT_EQ(r.Contain(KPLINE(2, wide)), 0);
}

TEST(RectRelations, OverlapIsStrict) {
  const KRECT a(0, 0, 10, 10);
  EXPECT_EQ(a.Intersect(KRECT(10, 0, 20, 10)), 0);
  EXPECT_EQ(a.Intersect(KRECT(0, 10, 10, 20)), 0);
  EXPECT_EQ(a.Intersect(KRECT(10, 10, 20, 20)), 0);
  EXPECT_EQ(a.Intersect(KRECT(9, 9, 20, 20)), 1);
  EXPECT_EQ(a.Intersect(KRECT(-5, -5, 1, 1)), 1);
  EXPECT_EQ(a.Intersect(KRECT(2, 2, 1, 1)), 0);   // empty argument
  EXPECT_EQ(KRECT(5, 5, -5, -5).Intersect(a), 0);  // empty receiver
}

TEST(RectRelations, SegmentAndPolygonMeeting) {
  const KRECT r(0, 0, 10, 10);
  EXPECT_EQ(r.Intersect(tagPOINT{-5, 5}, tagPOINT{15, 5}), 1);
  EXPECT_EQ(r.Intersect(tagPOINT{-5, -1}, tagPOINT{-1, 20}), 0);
  EXPECT_EQ(KRECT().Intersect(tagPOINT{-5, 5}, tagPOINT{15, 5}), 0);
  tagPOINT tri[3] = {{-20, -20}, {40, -20}, {-20, 40}};  // holds r entirely
  EXPECT_EQ(r.Intersect(KPGON(3, tri)), 1);
  tagPOINT inner[3] = {{2, 2}, {8, 2}, {2, 8}};  // lies in r
  EXPECT_EQ(r.Intersect(KPGON(3, inner)), 1);
  tagPOINT far[3] = {{30, 30}, {40, 30}, {30, 40}};
  EXPECT_EQ(r.Intersect(KPGON(3, far)), 0);
  // A trusted bound that misses r rejects even a polygon that covers it.
  EXPECT_EQ(r.Intersect(KPGON(3, tri, KRECT(50, 50, 60, 60))), 0);
  tagPOINT route[3] = {{-5, 5}, {5, 15}, {15, 15}};
  EXPECT_EQ(r.Intersect(KPLINE(3, route)), 1);  // crosses the top-left corner area
  tagPOINT miss[2] = {{-5, 12}, {15, 12}};
  EXPECT_EQ(r.Intersect(KPLINE(2, miss)), 0);
}

TEST(PointRelations, TopEdgeCountsRightEdgeDoesNot) {
  const KRECT r(0, 0, 10, 10);
  EXPECT_EQ(KPOINT(10, 5).Intersect(r), 0);
  EXPECT_EQ(KPOINT(5, 10).Intersect(r), 1);
  EXPECT_EQ(KPOINT(0, 0).Intersect(r), 1);
  EXPECT_EQ(KPOINT(5, -1).Intersect(r), 0);
  EXPECT_EQ(KPOINT(0, 0).Intersect(KRECT()), 0);
  EXPECT_EQ(KPOINT(3, 4).Intersect(tagPOINT{3, 4}), 1);
  EXPECT_EQ(KPOINT(3, 4).Intersect(tagPOINT{4, 3}), 0);
  EXPECT_EQ(KPOINT(5, 5).Intersect(tagPOINT{0, 0}, tagPOINT{10, 10}), 1);
  EXPECT_EQ(KPOINT(5, 6).Intersect(tagPOINT{0, 0}, tagPOINT{10, 10}), 0);
}

TEST(PointRelations, PolylinesAndPolygons) {
  tagPOINT vertical[2] = {{5, 0}, {5, 10}};
  EXPECT_EQ(KPOINT(5, 5).Intersect(KPLINE(2, vertical)), 0);  // zero-width bound
  tagPOINT horizontal[2] = {{0, 5}, {10, 5}};
  const KPLINE h(2, horizontal);
  EXPECT_EQ(KPOINT(3, 5).Intersect(h), 1);   // the top (= only) row counts
  EXPECT_EQ(KPOINT(10, 5).Intersect(h), 0);  // the largest-x end does not
  EXPECT_EQ(h.Intersect(tagPOINT{3, 5}), 0);  // the half-open bound holds nothing
  EXPECT_EQ(KPLINE(2, vertical).Intersect(tagPOINT{5, 5}), 0);
  tagPOINT diag[2] = {{0, 0}, {10, 10}};
  EXPECT_EQ(KPLINE(2, diag).Intersect(tagPOINT{4, 4}), 1);
  EXPECT_EQ(KPLINE(2, diag).Intersect(tagPOINT{4, 5}), 0);
  EXPECT_EQ(KPLINE().Intersect(tagPOINT{0, 0}), 0);
  const KPGON g(4, kSquare);
  EXPECT_EQ(KPOINT(0, 5).Intersect(g), 1);
  EXPECT_EQ(KPOINT(5, 5).Intersect(g), 1);
  EXPECT_EQ(KPOINT(10, 5).Intersect(g), 0);
  EXPECT_EQ(KPOINT(5, 10).Intersect(g), 0);  // passes the pre-test, fails even-odd
  EXPECT_EQ(KPOINT(5, 5).Intersect(KPGON()), 0);
}

TEST(PolylineRelations, TouchingAndCollinearChainsDoNotMeet) {
  tagPOINT a[2] = {{0, 0}, {5, 5}};
  tagPOINT b[2] = {{5, 5}, {10, 10}};
  EXPECT_EQ(KPLINE(2, a).Intersect(KPLINE(2, b)), 0);
  tagPOINT v1[2] = {{3, 0}, {3, 10}};
  tagPOINT v2[2] = {{3, 5}, {3, 20}};
  EXPECT_EQ(KPLINE(2, v1).Intersect(KPLINE(2, v2)), 0);
  tagPOINT x1[2] = {{0, 10}, {10, 0}};
  tagPOINT x2[2] = {{0, 0}, {10, 10}};
  EXPECT_EQ(KPLINE(2, x1).Intersect(KPLINE(2, x2)), 1);
  EXPECT_EQ(KPLINE().Intersect(KPLINE(2, x2)), 0);
  EXPECT_EQ(KPLINE(2, x1).Intersect(tagPOINT{0, 0}, tagPOINT{10, 10}), 1);
  EXPECT_EQ(KPLINE(2, x1).Intersect(tagPOINT{20, 0}, tagPOINT{30, 10}), 0);
  EXPECT_EQ(KPLINE(2, x1).Intersect(KRECT(4, 4, 6, 6)), 1);
  EXPECT_EQ(KPLINE(2, x1).Intersect(KRECT(10, 0, 20, 10)), 0);  // shares the bound's edge only
  EXPECT_EQ(KPLINE(2, x1).Intersect(KRECT()), 0);
  const KPGON g(4, kSquare);
  tagPOINT cross[2] = {{-5, 5}, {15, 5}};
  EXPECT_EQ(KPLINE(2, cross).Intersect(g), 1);
  EXPECT_EQ(KPLINE(2, cross).Intersect(KPGON()), 0);
}

TEST(PolygonRelations, ContainmentBoundaries) {
  const KPGON g(4, kSquare);
  EXPECT_EQ(g.Contain(tagPOINT{0, 0}), 1);
  EXPECT_EQ(g.Contain(tagPOINT{10, 5}), 0);
  EXPECT_EQ(g.Contain(KRECT(1, 1, 9, 9)), 1);
  EXPECT_EQ(g.Contain(KRECT(0, 0, 10, 10)), 0);  // not its own bounding rectangle
  EXPECT_EQ(g.Contain(g), 0);
  EXPECT_EQ(g.Contain(tagPOINT{2, 2}, tagPOINT{8, 8}), 1);
  EXPECT_EQ(g.Contain(tagPOINT{0, 2}, tagPOINT{0, 8}), 1);  // the left side is inside
  EXPECT_EQ(g.Contain(tagPOINT{10, 2}, tagPOINT{10, 8}), 0);
  tagPOINT chain[3] = {{1, 1}, {8, 2}, {2, 8}};
  EXPECT_EQ(g.Contain(KPLINE(3, chain)), 1);
  EXPECT_EQ(g.Contain(KPGON(3, chain)), 1);
  EXPECT_EQ(g.Contain(KPGON()), 1);
  EXPECT_EQ(g.Contain(KPLINE()), 1);
  EXPECT_EQ(KPGON().Contain(tagPOINT{0, 0}), 0);
  EXPECT_EQ(KPGON().Contain(KPGON()), 0);
}

// A U-shaped ring: two arms x in [0,10) and [20,30) above y = 10.
tagPOINT kU[8] = {{0, 0}, {30, 0}, {30, 30}, {20, 30}, {20, 10}, {10, 10}, {10, 30}, {0, 30}};

TEST(PolygonRelations, PolygonContainmentSamplesEveryThirdVertex) {
  const KPGON u(8, kU);
  // Vertices 0 and 3 sit in the arms, 1 and 2 in the notch between them.
  tagPOINT bridge[4] = {{5, 20}, {15, 25}, {15, 20}, {25, 20}};
  const KPGON b(4, bridge);
  EXPECT_EQ(u.Contain(b), 1);
  EXPECT_EQ(Polygon_Contain_Polygon(kU, 8, bridge, 4), 0);
  // Move vertex 3 into the notch and the sample sees it.
  tagPOINT bridge2[4] = {{5, 20}, {15, 25}, {25, 20}, {15, 20}};
  EXPECT_EQ(u.Contain(KPGON(4, bridge2)), 0);
}

TEST(PolygonRelations, MeetingARectangleOrSegment) {
  const KPGON u(8, kU);
  EXPECT_EQ(u.Intersect(KRECT(12, 15, 18, 25)), 0);  // inside the notch
  EXPECT_EQ(u.Intersect(KRECT(5, 15, 15, 25)), 1);
  EXPECT_EQ(u.Intersect(KRECT(2, 2, 4, 4)), 1);   // contained
  EXPECT_EQ(u.Intersect(KRECT(30, 0, 40, 10)), 0);  // shares the bound's edge
  EXPECT_EQ(u.Intersect(KRECT()), 0);
  EXPECT_EQ(u.Intersect(tagPOINT{12, 20}, tagPOINT{18, 20}), 0);
  EXPECT_EQ(u.Intersect(tagPOINT{5, 20}, tagPOINT{25, 20}), 1);
  EXPECT_EQ(u.Intersect(tagPOINT{-5, 40}, tagPOINT{-1, 50}), 0);
  tagPOINT notch_line[2] = {{12, 12}, {18, 28}};
  EXPECT_EQ(u.Intersect(KPLINE(2, notch_line)), 0);
  tagPOINT across[2] = {{5, 20}, {25, 20}};
  EXPECT_EQ(u.Intersect(KPLINE(2, across)), 1);
  EXPECT_EQ(KPGON().Intersect(KPLINE(2, across)), 0);
}

TEST(PolygonMeetsPolygon, ContainedBoundMeetsWithoutProbes) {
  const KPGON g(4, kSquare);
  tagPOINT small[3] = {{2, 2}, {4, 2}, {2, 4}};
  EXPECT_EQ(g.Intersect(KPGON(3, small)), 1);
  EXPECT_EQ(KPGON(3, small).Intersect(g), 1);
  // Trusted bounds decide steps 4 and 5 even when they do not fit the points.
  tagPOINT far[3] = {{50, 50}, {60, 50}, {50, 60}};
  EXPECT_EQ(g.Intersect(KPGON(3, far, KRECT(2, 2, 4, 4))), 1);
  EXPECT_EQ(g.Intersect(KPGON()), 0);
  EXPECT_EQ(KPGON().Intersect(g), 0);
  tagPOINT beside[4] = {{10, 0}, {20, 0}, {20, 10}, {10, 10}};  // shares an edge
  EXPECT_EQ(g.Intersect(KPGON(4, beside)), 0);
}

TEST(PolygonMeetsPolygon, ProbesFindAnOrdinaryOverlap) {
  const KPGON g(4, kSquare);
  tagPOINT shifted[4] = {{5, 5}, {15, 5}, {15, 15}, {5, 15}};
  EXPECT_EQ(g.Intersect(KPGON(4, shifted)), 1);
  EXPECT_EQ(KPGON(4, shifted).Intersect(g), 1);
  // The notch of the U holds a triangle: bounds overlap, shapes do not.
  tagPOINT in_notch[3] = {{12, 12}, {18, 12}, {15, 28}};
  EXPECT_EQ(KPGON(8, kU).Intersect(KPGON(3, in_notch)), 0);
}

TEST(PolygonMeetsPolygon, LastRowAndColumnLieOnTheClipRectanglesMaximum) {
  const KPGON g(4, kSquare);
  // Trusted bounds make the clip rectangle (0,0)-(10,4): rows 1..4 are
  // probed, and only the row y = 4 reaches the square above it.
  tagPOINT above[4] = {{3, 4}, {7, 4}, {7, 8}, {3, 8}};
  EXPECT_EQ(g.Intersect(KPGON(4, above, KRECT(0, 0, 10, 4))), 1);
  // Likewise (0,0)-(4,10): only the column x = 4 reaches the square.
  tagPOINT right[4] = {{4, 3}, {8, 3}, {8, 7}, {4, 7}};
  EXPECT_EQ(g.Intersect(KPGON(4, right, KRECT(0, 0, 4, 10))), 1);
  // One unit less and neither is probed.
  EXPECT_EQ(g.Intersect(KPGON(4, above, KRECT(0, 0, 10, 3))), 0);
}

TEST(PolygonMeetsPolygon, ThinSliverBetweenProbesIsMissed) {
  tagPOINT big[4] = {{0, 0}, {100, 0}, {100, 100}, {0, 100}};
  // The triangle reaches into the square only along x in [99, 100).
  tagPOINT sliver[3] = {{99, 50}, {150, 50}, {150, 40}};
  EXPECT_EQ(Polygon_Polygon_Intersect(big, 4, sliver, 3), 1);
  EXPECT_EQ(KPGON(4, big).Intersect(KPGON(3, sliver)), 0);
}

TEST(PolygonMeetsPolygon, ProbeLoopEndsNextToTheLargestCoordinate) {
  const std::int32_t M = INT32_MAX;
  tagPOINT a[4] = {{M - 9, M - 9}, {M, M - 9}, {M, M}, {M - 9, M}};
  tagPOINT b[4] = {{M - 5, M - 12}, {M - 2, M - 12}, {M - 2, M}, {M - 5, M}};
  EXPECT_EQ(KPGON(4, a).Intersect(KPGON(4, b)), 1);
  tagPOINT c[3] = {{M - 1, M - 1}, {M, M - 1}, {M, M}};
  tagPOINT d[3] = {{M - 1, M}, {M - 1, M - 1}, {M, M}};
  KPGON(3, c).Intersect(KPGON(3, d));  // any answer, but no overflow and no endless loop
  tagPOINT huge[4] = {{INT32_MIN, INT32_MIN}, {M, INT32_MIN}, {M, M}, {INT32_MIN, M}};
  tagPOINT other[3] = {{INT32_MIN + 1, 0}, {M, 0}, {0, M}};
  KPGON(4, huge).Intersect(KPGON(3, other));  // extents beyond 2^31 - 1
}

}  // namespace
