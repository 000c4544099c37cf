// Polyline and polygon meeting tests: the even-odd rule's boundary sides,
// touching rules of the span tests, closing-edge forms and empty figures.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include <kelvor/planar.h>

#include "planar/polygon_model.h"

namespace {

using polytest::Ring;

const Ring kSquare = polytest::square10();
// Two rooms joined along the bottom: inside spans 0-10 and 20-30 on y = 7.
const Ring kNotched{{0, 0}, {30, 0}, {30, 10}, {20, 10}, {20, 5}, {10, 5}, {10, 10}, {0, 10}};

struct PointCase {
  tagPOINT p;
  int want;
};

class SquarePointTest : public ::testing::TestWithParam<PointCase> {};
TEST_P(SquarePointTest, LeftAndBottomSidesInsideRightAndTopOutside) {
  const auto& c = GetParam();
  const Ring closed = polytest::closed(kSquare);
  EXPECT_EQ(Point_Polygon_Intersect(&c.p, kSquare.data(), 4), c.want);
  EXPECT_EQ(Point_Polygon_Intersect(&c.p, closed.data(), 5), c.want) << "closed ring";
  EXPECT_EQ(Polygon_Contain_Point(kSquare.data(), 4, &c.p), c.want);
}
INSTANTIATE_TEST_SUITE_P(
    Cases, SquarePointTest,
    ::testing::Values(PointCase{{0, 5}, 1}, PointCase{{5, 0}, 1}, PointCase{{0, 0}, 1},
                      PointCase{{5, 5}, 1}, PointCase{{9, 9}, 1}, PointCase{{10, 5}, 0},
                      PointCase{{5, 10}, 0}, PointCase{{10, 10}, 0}, PointCase{{10, 0}, 0},
                      PointCase{{-1, 5}, 0}, PointCase{{5, -1}, 0}, PointCase{{0, 10}, 0}));

TEST(PointPolygon, DegenerateRings) {
  const tagPOINT p{3, 3};
  const Ring one{{3, 3}};
  EXPECT_EQ(Point_Polygon_Intersect(&p, one.data(), 1), 0) << "one point holds not even itself";
  EXPECT_EQ(Point_Polygon_Intersect(&p, nullptr, 0), 0) << "empty ring is never read";
  EXPECT_EQ(Point_Polygon_Intersect(&p, nullptr, -4), 0);
  const Ring two{{0, 0}, {0, 10}};  // edge there and back: even count
  const tagPOINT left{-1, 5};
  EXPECT_EQ(Point_Polygon_Intersect(&left, two.data(), 2), 0);
}

TEST(PointPolygon, CrossingTruncatesTowardZeroFromStartPoint) {
  // Edge (0,0)-(3,10) meets y = 5 at x = 1.5, truncated to 1 measured from
  // (0,0); the triangle's left side is that edge.
  const Ring tri{{0, 0}, {3, 10}, {20, 0}};
  const tagPOINT at1{1, 5}, at0{0, 5};
  EXPECT_EQ(Point_Polygon_Intersect(&at1, tri.data(), 3), 1);
  EXPECT_EQ(Point_Polygon_Intersect(&at0, tri.data(), 3), 0) << "left of the crossing at 1";
  // Traversed the other way the edge starts at (3,10): 3 + (-3*-5)/-10 =
  // 3 + (-1) = 2, so x = 1 is now outside and x = 2 on the inside boundary.
  const Ring rev{{20, 0}, {3, 10}, {0, 0}};
  const tagPOINT at2{2, 5};
  EXPECT_EQ(Point_Polygon_Intersect(&at1, rev.data(), 3), 0);
  EXPECT_EQ(Point_Polygon_Intersect(&at2, rev.data(), 3), 1);
}

TEST(PointPolyline, OnEdgesOnly) {
  const Ring line{{0, 0}, {10, 0}, {10, 10}};
  const tagPOINT on{10, 4}, off{5, 5}, end{10, 10};
  EXPECT_EQ(Point_Polyline_Intersect(&on, line.data(), 3), 1);
  EXPECT_EQ(Point_Polyline_Intersect(&end, line.data(), 3), 1);
  EXPECT_EQ(Point_Polyline_Intersect(&off, line.data(), 3), 0);
  const tagPOINT closing{5, 5};  // would lie on a closing edge (10,10)-(0,0)
  EXPECT_EQ(Point_Polyline_Intersect(&closing, line.data(), 3), 0) << "polylines do not close";
  EXPECT_EQ(Point_Polyline_Intersect(&line[0], line.data(), 1), 0);
  EXPECT_EQ(Point_Polyline_Intersect(&on, nullptr, 0), 0);
}

TEST(SegmentPolyline, CrossingsAndCounts) {
  const Ring line{{0, 0}, {10, 0}, {10, 10}};
  const tagPOINT a{5, -5}, b{5, 5}, c{12, 5}, d{20, 5};
  EXPECT_EQ(Segment_Polyline_Intersect(&a, &b, line.data(), 3), 1);
  EXPECT_EQ(Segment_Polyline_Intersect(&c, &d, line.data(), 3), 0);
  EXPECT_EQ(Segment_Polyline_Intersect(&a, &b, line.data(), 1), 0);
  EXPECT_EQ(Segment_Polyline_Intersect(&a, &b, nullptr, 0), 0);
}

TEST(SegmentPolygon, InsideEndpointsEdgesAndClosingEdge) {
  const tagPOINT in1{2, 2}, in2{3, 3}, out1{-5, 5}, out2{-1, 5}, far1{20, 20}, far2{30, 30};
  EXPECT_EQ(Segment_Polygon_Intersect(&in1, &in2, kSquare.data(), 4), 1) << "wholly inside";
  EXPECT_EQ(Segment_Polygon_Intersect(&far1, &far2, kSquare.data(), 4), 0);
  EXPECT_EQ(Segment_Polygon_Intersect(&out1, &out2, kSquare.data(), 4), 0);
  // A closed ring's closing edge is the degenerate pts[0]-pts[n-1].
  const Ring closed = polytest::closed(kSquare);
  const tagPOINT c1{-5, 5}, c2{5, 5}, c3{-5, -5}, c4{-1, 20};
  EXPECT_EQ(Segment_Polygon_Intersect(&c1, &c2, closed.data(), 5), 1);
  EXPECT_EQ(Segment_Polygon_Intersect(&c3, &c4, closed.data(), 5), 0);
  // One point: only the degenerate edge pts[0]-pts[0] is tested; it meets a
  // segment through the point when the point lies strictly within its box.
  const Ring one{{0, 0}};
  const tagPOINT s1{-5, -5}, s2{5, 5}, s3{5, 4}, s4{0, 5};
  EXPECT_EQ(Segment_Polygon_Intersect(&s1, &s2, one.data(), 1), 1);
  EXPECT_EQ(Segment_Polygon_Intersect(&s1, &s3, one.data(), 1), 0) << "passes beside the point";
  EXPECT_EQ(Segment_Polygon_Intersect(&one[0], &s4, one.data(), 1), 0) << "boxes only touch";
  EXPECT_EQ(Segment_Polygon_Intersect(&s1, &s2, nullptr, 0), 0);
}

TEST(RectPolygon, CornerEdgeAndSinglePointForms) {
  const tagPOINT min{2, 2}, max{8, 8};
  EXPECT_EQ(Rect_Polygon_Intersect(&min, &max, kSquare.data(), 4), 1) << "rectangle inside polygon";
  const Ring small{{4, 4}, {6, 4}, {5, 6}};
  EXPECT_EQ(Rect_Polygon_Intersect(&min, &max, small.data(), 3), 1) << "polygon inside rectangle";
  const tagPOINT fmin{20, 20}, fmax{30, 30};
  EXPECT_EQ(Rect_Polygon_Intersect(&fmin, &fmax, kSquare.data(), 4), 0);
  const Ring in_pt{{5, 5}}, max_pt{{8, 5}};
  EXPECT_EQ(Rect_Polygon_Intersect(&min, &max, in_pt.data(), 1), 1);
  EXPECT_EQ(Rect_Polygon_Intersect(&min, &max, max_pt.data(), 1), 0) << "max side is outside";
  EXPECT_EQ(Rect_Polygon_Intersect(&min, &max, nullptr, 0), 0);
}

TEST(RectPolyline, EdgesOnly) {
  const tagPOINT min{0, 0}, max{10, 10};
  const Ring around{{-5, -5}, {15, -5}, {15, 15}, {-5, 15}};  // surrounds, never enters
  EXPECT_EQ(Rect_Polyline_Intersect(&min, &max, around.data(), 4), 0);
  const Ring through{{-5, 5}, {15, 5}};
  EXPECT_EQ(Rect_Polyline_Intersect(&min, &max, through.data(), 2), 1);
  EXPECT_EQ(Rect_Polyline_Intersect(&min, &max, through.data(), 1), 0);
}

struct SpanCase {
  const char* name;
  std::int32_t from, to, at;
  int want;
};

class PolylineHorizonTest : public ::testing::TestWithParam<SpanCase> {};
TEST_P(PolylineHorizonTest, SingleVerticalEdge) {
  const Ring edge{{0, 0}, {0, 10}};
  const auto& c = GetParam();
  EXPECT_EQ(Polyline_Horizon_Intersect(edge.data(), 2, c.from, c.to, c.at), c.want) << c.name;
  // The same question with the axes exchanged.
  const Ring swapped{{0, 0}, {10, 0}};
  EXPECT_EQ(Polyline_Vertical_Intersect(swapped.data(), 2, c.from, c.to, c.at), c.want) << c.name;
}
INSTANTIATE_TEST_SUITE_P(
    Cases, PolylineHorizonTest,
    ::testing::Values(SpanCase{"upper end excluded", 0, 1, 10, 0}, SpanCase{"lower end counts", 0, 1, 0, 1},
                      SpanCase{"to is exclusive", -5, 0, 5, 0}, SpanCase{"from is inclusive", 0, 5, 5, 1},
                      SpanCase{"beyond the line", 0, 1, 11, 0}, SpanCase{"below the line", 0, 1, -1, 0}));

TEST(PolylineHorizon, CrossingFromEachEdgeStart) {
  // (0,0)-(3,10) crosses y = 5 at 1 (from (0,0)); reversed, at 2 (from (3,10)).
  const Ring fwd{{0, 0}, {3, 10}}, rev{{3, 10}, {0, 0}};
  EXPECT_EQ(Polyline_Horizon_Intersect(fwd.data(), 2, 1, 2, 5), 1);
  EXPECT_EQ(Polyline_Horizon_Intersect(fwd.data(), 2, 2, 3, 5), 0);
  EXPECT_EQ(Polyline_Horizon_Intersect(rev.data(), 2, 1, 2, 5), 0);
  EXPECT_EQ(Polyline_Horizon_Intersect(rev.data(), 2, 2, 3, 5), 1);
  EXPECT_EQ(Polyline_Horizon_Intersect(fwd.data(), 1, -100, 100, 5), 0);
  EXPECT_EQ(Polyline_Horizon_Intersect(nullptr, 0, -100, 100, 5), 0);
}

class PolygonHorizonTest : public ::testing::TestWithParam<SpanCase> {};
TEST_P(PolygonHorizonTest, SquareInsideSpanZeroToTen) {
  const auto& c = GetParam();
  EXPECT_EQ(Polygon_Horizon_Intersect(kSquare.data(), 4, c.from, c.to, c.at), c.want) << c.name;
  // Transposed square, transposed question.
  EXPECT_EQ(Polygon_Vertical_Intersect(kSquare.data(), 4, c.from, c.to, c.at), c.want) << c.name;
}
INSTANTIATE_TEST_SUITE_P(
    Cases, PolygonHorizonTest,
    ::testing::Values(SpanCase{"starts at the far crossing", 10, 20, 5, 0},
                      SpanCase{"ends at the near crossing", -5, 0, 5, 0},
                      SpanCase{"one unit in", -5, 1, 5, 1}, SpanCase{"starts inside", 9, 20, 5, 1},
                      SpanCase{"starts on lo", 0, 1, 5, 1}, SpanCase{"covers all", -50, 50, 5, 1},
                      SpanCase{"bottom row counts", -5, 1, 0, 1}, SpanCase{"top row misses", -5, 20, 10, 0}));

TEST(PolygonHorizon, SecondInsideSpan) {
  EXPECT_EQ(Polygon_Horizon_Intersect(kNotched.data(), 8, 12, 18, 7), 0) << "in the notch";
  EXPECT_EQ(Polygon_Horizon_Intersect(kNotched.data(), 8, 12, 21, 7), 1);
  EXPECT_EQ(Polygon_Horizon_Intersect(kNotched.data(), 8, 12, 18, 3), 1) << "below the notch";
  EXPECT_EQ(Polygon_Horizon_Intersect(nullptr, 0, -50, 50, 3), 0);
  const Ring one{{0, 0}};
  EXPECT_EQ(Polygon_Horizon_Intersect(one.data(), 1, -50, 50, 0), 0);
}

TEST(PolylinePolyline, SecondDrivesAndShortFirstGivesZero) {
  const Ring p{{0, 0}, {10, 10}}, q{{0, 10}, {10, 0}}, far{{20, 0}, {30, 0}};
  EXPECT_EQ(Polyline_Polyline_Intersect(p.data(), 2, q.data(), 2), 1);
  EXPECT_EQ(Polyline_Polyline_Intersect(p.data(), 2, far.data(), 2), 0);
  EXPECT_EQ(Polyline_Polyline_Intersect(p.data(), 1, q.data(), 2), 0);
  EXPECT_EQ(Polyline_Polyline_Intersect(p.data(), 2, q.data(), 1), 0);
}

TEST(PolylinePolygon, InsideOrCrossing) {
  const Ring inside{{2, 2}, {3, 3}, {4, 2}}, outside{{20, 2}, {30, 3}}, crossing{{-5, 5}, {5, 5}};
  EXPECT_EQ(Polyline_Polygon_Intersect(inside.data(), 3, kSquare.data(), 4), 1);
  EXPECT_EQ(Polyline_Polygon_Intersect(outside.data(), 2, kSquare.data(), 4), 0);
  EXPECT_EQ(Polyline_Polygon_Intersect(crossing.data(), 2, kSquare.data(), 4), 1);
  EXPECT_EQ(Polyline_Polygon_Intersect(inside.data(), 1, kSquare.data(), 4), 0);
  EXPECT_EQ(Polyline_Polygon_Intersect(inside.data(), 3, nullptr, 0), 0);
}

TEST(PolygonPolygon, NestedEitherOrderAndEmpty) {
  const Ring inner{{3, 3}, {6, 3}, {6, 6}, {3, 6}}, far{{20, 20}, {30, 20}, {25, 30}};
  EXPECT_EQ(Polygon_Polygon_Intersect(kSquare.data(), 4, inner.data(), 4), 1);
  EXPECT_EQ(Polygon_Polygon_Intersect(inner.data(), 4, kSquare.data(), 4), 1);
  EXPECT_EQ(Polygon_Polygon_Intersect(kSquare.data(), 4, far.data(), 3), 0);
  EXPECT_EQ(Polygon_Polygon_Intersect(kSquare.data(), 4, nullptr, 0), 0);
  EXPECT_EQ(Polygon_Polygon_Intersect(nullptr, 0, kSquare.data(), 4), 0);
  // A plus sign: no corner of either bar lies in the other; only edges cross.
  const Ring bar_h{{-20, -2}, {20, -2}, {20, 2}, {-20, 2}};
  const Ring bar_v{{-2, -20}, {2, -20}, {2, 20}, {-2, 20}};
  EXPECT_EQ(Polygon_Polygon_Intersect(bar_h.data(), 4, bar_v.data(), 4), 1);
  EXPECT_EQ(Polygon_Polygon_Intersect(bar_v.data(), 4, bar_h.data(), 4), 1);
}

}  // namespace
