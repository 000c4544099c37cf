// Containment: half-open rectangles point by point, polygon spans with the
// strict upper end, segment tests in their fixed order, vacuous inner figures.
#include <gtest/gtest.h>

#include <cstdint>

#include <kelvor/planar.h>

#include "planar/polygon_model.h"

namespace {

using polytest::Ring;

const Ring kSquare = polytest::square10();

struct RectPointCase {
  tagPOINT p;
  int want;
};
class RectContainPointTest : public ::testing::TestWithParam<RectPointCase> {};
TEST_P(RectContainPointTest, MaxSidesExcluded) {
  const tagPOINT min{0, 0}, max{10, 10};
  const auto& c = GetParam();
  EXPECT_EQ(Rect_Contain_Point(&min, &max, &c.p), c.want);
  EXPECT_EQ(Rect_Contain_Polygon(&min, &max, &c.p, 1), c.want);
  EXPECT_EQ(Rect_Contain_Polyline(&min, &max, &c.p, 1), c.want);
}
INSTANTIATE_TEST_SUITE_P(Cases, RectContainPointTest,
                         ::testing::Values(RectPointCase{{0, 0}, 1}, RectPointCase{{9, 9}, 1},
                                           RectPointCase{{10, 10}, 0}, RectPointCase{{10, 5}, 0},
                                           RectPointCase{{5, 10}, 0}, RectPointCase{{-1, 5}, 0},
                                           RectPointCase{{5, -1}, 0}));

TEST(RectContainRect, TwoPointsJudgedAsPoints) {
  const tagPOINT min{0, 0}, max{10, 10};
  const tagPOINT in1{1, 1}, in2{9, 9}, edge{10, 9}, far{20, 20};
  for (auto fn : {&Rect_Contain_Rect, &Rect_Contain_Segment}) {
    EXPECT_EQ(fn(&min, &max, &min, &max), 0) << "not contained in itself";
    EXPECT_EQ(fn(&min, &max, &in1, &in2), 1);
    EXPECT_EQ(fn(&min, &max, &in2, &in1), 1) << "order of the points does not matter";
    EXPECT_EQ(fn(&min, &max, &in1, &edge), 0) << "shares the max-x side";
    EXPECT_EQ(fn(&min, &max, &far, &in1), 0);
  }
}

TEST(RectContainPolygon, EveryPointNoEdges) {
  const tagPOINT min{0, 0}, max{10, 10};
  const Ring in{{1, 1}, {9, 1}, {5, 9}}, one_out{{1, 1}, {9, 1}, {5, 10}, {5, 5}};
  for (auto fn : {&Rect_Contain_Polygon, &Rect_Contain_Polyline}) {
    EXPECT_EQ(fn(&min, &max, nullptr, 0), 1) << "no points: vacuously contained, never read";
    EXPECT_EQ(fn(&min, &max, nullptr, -3), 1);
    EXPECT_EQ(fn(&min, &max, in.data(), 3), 1);
    EXPECT_EQ(fn(&min, &max, one_out.data(), 4), 0);
  }
}

struct SpanCase {
  const char* name;
  std::int32_t from, to, at;
  int want;
};
class PolygonContainSpanTest : public ::testing::TestWithParam<SpanCase> {};
TEST_P(PolygonContainSpanTest, SquareStrictUpperEnd) {
  const auto& c = GetParam();
  EXPECT_EQ(Polygon_Contain_Horizon(kSquare.data(), 4, c.from, c.to, c.at), c.want) << c.name;
  EXPECT_EQ(Polygon_Contain_Vertical(kSquare.data(), 4, c.from, c.to, c.at), c.want) << c.name;
}
INSTANTIATE_TEST_SUITE_P(
    Cases, PolygonContainSpanTest,
    ::testing::Values(SpanCase{"inside", 0, 9, 5, 1}, SpanCase{"to on the crossing", 0, 10, 5, 0},
                      SpanCase{"starts outside", -1, 5, 5, 0}, SpanCase{"bottom row", 2, 8, 0, 1},
                      SpanCase{"top row", 2, 8, 10, 0}, SpanCase{"empty span inside", 5, 5, 5, 1},
                      SpanCase{"beyond", 12, 15, 5, 0}));

TEST(PolygonContainSpan, EmptyAndPointContainers) {
  EXPECT_EQ(Polygon_Contain_Horizon(nullptr, 0, 0, 1, 0), 0);
  EXPECT_EQ(Polygon_Contain_Vertical(nullptr, 0, 0, 1, 0), 0);
  const Ring one{{0, 0}};
  EXPECT_EQ(Polygon_Contain_Horizon(one.data(), 1, 0, 0, 0), 0);
}

struct RectCase {
  tagPOINT min, max;
  int want;
};
class PolygonContainRectTest : public ::testing::TestWithParam<RectCase> {};
TEST_P(PolygonContainRectTest, FourSidesAsSpans) {
  const auto& c = GetParam();
  EXPECT_EQ(Polygon_Contain_Rect(kSquare.data(), 4, &c.min, &c.max), c.want);
}
INSTANTIATE_TEST_SUITE_P(Cases, PolygonContainRectTest,
                         ::testing::Values(RectCase{{1, 1}, {9, 9}, 1}, RectCase{{0, 0}, {10, 10}, 0},
                                           RectCase{{0, 0}, {9, 9}, 1}, RectCase{{1, 1}, {10, 9}, 0},
                                           RectCase{{1, 1}, {9, 10}, 0}, RectCase{{-1, 1}, {9, 9}, 0}));

TEST(PolygonContainRect, InteriorNotExamined) {
  // A frame with a hole: all four sides of the big rectangle run inside the
  // frame, so it counts as contained although the hole lies within it.
  const Ring frame{{0, 0}, {20, 0}, {20, 20}, {0, 20}, {0, 0}, {5, 5}, {5, 15}, {15, 15}, {15, 5}, {5, 5}};
  const tagPOINT min{2, 2}, max{17, 17};
  EXPECT_EQ(Polygon_Contain_Rect(frame.data(), 10, &min, &max), 1);
  const tagPOINT hole{10, 10};
  EXPECT_EQ(Polygon_Contain_Point(frame.data(), 10, &hole), 0);
}

struct SegCase {
  const char* name;
  tagPOINT a, b;
  int want;
};
class PolygonContainSegmentTest : public ::testing::TestWithParam<SegCase> {};
TEST_P(PolygonContainSegmentTest, Square) {
  const auto& c = GetParam();
  EXPECT_EQ(Polygon_Contain_Segment(kSquare.data(), 4, &c.a, &c.b), c.want) << c.name;
  const Ring closed = polytest::closed(kSquare);
  EXPECT_EQ(Polygon_Contain_Segment(closed.data(), 5, &c.a, &c.b), c.want) << c.name << " (closed)";
}
INSTANTIATE_TEST_SUITE_P(
    Cases, PolygonContainSegmentTest,
    ::testing::Values(SegCase{"diagonal inside", {2, 2}, {8, 8}, 1},
                      SegCase{"on the left side", {0, 2}, {0, 8}, 1},
                      SegCase{"on the right side", {10, 2}, {10, 8}, 0},
                      SegCase{"on the bottom side", {2, 0}, {8, 0}, 1},
                      SegCase{"on the top side", {2, 10}, {8, 10}, 0},
                      SegCase{"leaves", {5, 5}, {15, 5}, 0}, SegCase{"outside", {-5, -5}, {-1, -1}, 0},
                      SegCase{"degenerate inside", {3, 3}, {3, 3}, 1}));

TEST(PolygonContainSegment, NotchedRingEdgeTests) {
  // Both ends inside the two rooms, but the segment passes over the notch.
  const Ring notched{{0, 0}, {30, 0}, {30, 10}, {20, 10}, {20, 5}, {10, 5}, {10, 10}, {0, 10}};
  const tagPOINT a{5, 8}, b{25, 8}, c{5, 2}, d{25, 2};
  EXPECT_EQ(Polygon_Contain_Segment(notched.data(), 8, &a, &b), 0);
  EXPECT_EQ(Polygon_Contain_Segment(notched.data(), 8, &c, &d), 1);
  // The bounding box reaches the notch's floor (y = 5), so the box test
  // fails; the segment passes below the notch and the edge tests accept it.
  const tagPOINT e{5, 2}, f{25, 5};
  EXPECT_EQ(Polygon_Contain_Segment(notched.data(), 8, &e, &f), 1);
  const tagPOINT g{5, 2}, h{25, 7};
  EXPECT_EQ(Polygon_Contain_Segment(notched.data(), 8, &g, &h), 0);
  EXPECT_EQ(Polygon_Contain_Segment(nullptr, 0, &a, &b), 0);
}

TEST(PolygonContainPolyline, VacuousAndEdgeByEdge) {
  const Ring in{{1, 1}, {8, 2}, {3, 7}}, out{{1, 1}, {8, 2}, {12, 7}};
  EXPECT_EQ(Polygon_Contain_Polyline(kSquare.data(), 4, nullptr, 0), 1);
  EXPECT_EQ(Polygon_Contain_Polyline(kSquare.data(), 4, out.data(), 1), 1) << "one point: no edges";
  EXPECT_EQ(Polygon_Contain_Polyline(nullptr, 0, in.data(), 1), 1) << "vacuous even for an empty container";
  EXPECT_EQ(Polygon_Contain_Polyline(kSquare.data(), 4, in.data(), 3), 1);
  EXPECT_EQ(Polygon_Contain_Polyline(kSquare.data(), 4, out.data(), 3), 0);
  EXPECT_EQ(Polygon_Contain_Polyline(nullptr, 0, in.data(), 3), 0);
}

TEST(PolygonContainPolygon, ClosingEdgeAndDegenerateForms) {
  EXPECT_EQ(Polygon_Contain_Polygon(kSquare.data(), 4, nullptr, 0), 1);
  EXPECT_EQ(Polygon_Contain_Polygon(nullptr, 0, nullptr, 0), 1);
  const Ring pt_in{{3, 3}}, pt_out{{10, 3}};
  EXPECT_EQ(Polygon_Contain_Polygon(kSquare.data(), 4, pt_in.data(), 1), 1);
  EXPECT_EQ(Polygon_Contain_Polygon(kSquare.data(), 4, pt_out.data(), 1), 0);
  EXPECT_EQ(Polygon_Contain_Polygon(nullptr, 0, pt_in.data(), 1), 0);
  EXPECT_EQ(Polygon_Contain_Polygon(kSquare.data(), 4, kSquare.data(), 4), 0) << "right side is outside";
  // Open edges all inside the notched ring, but the closing edge (first to
  // last point) runs over the notch.
  const Ring notched{{0, 0}, {30, 0}, {30, 10}, {20, 10}, {20, 5}, {10, 5}, {10, 10}, {0, 10}};
  const Ring hook{{5, 8}, {5, 2}, {25, 2}, {25, 8}};
  EXPECT_EQ(Polygon_Contain_Polyline(notched.data(), 8, hook.data(), 4), 1);
  EXPECT_EQ(Polygon_Contain_Polygon(notched.data(), 8, hook.data(), 4), 0);
}

}  // namespace
