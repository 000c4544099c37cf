// Clipping in place: which outputs get written in which order, direction
// kept, edge lines as the clip boundary, rejected cases untouched.
#include <gtest/gtest.h>

#include <cstdint>

#include <kelvor/planar.h>

#include "planar/polygon_model.h"

namespace {

using polytest::Ring;

const tagPOINT kMin{0, 0};
const tagPOINT kMax{10, 10};

bool same(const tagPOINT& a, const tagPOINT& b) { return a.x == b.x && a.y == b.y; }

struct RectCase {
  const char* name;
  tagPOINT c1, c2;
  int want;
  tagPOINT w1, w2;  // expected afterwards (the input again when rejected)
};
class RectClipRectTest : public ::testing::TestWithParam<RectCase> {};
TEST_P(RectClipRectTest, OverlapOrUntouched) {
  const auto& c = GetParam();
  tagPOINT c1 = c.c1, c2 = c.c2;
  EXPECT_EQ(Rect_Clip_Rect(&kMin, &kMax, &c1, &c2), c.want) << c.name;
  EXPECT_TRUE(same(c1, c.w1) && same(c2, c.w2))
      << c.name << ": got (" << c1.x << "," << c1.y << ")-(" << c2.x << "," << c2.y << ")";
}
INSTANTIATE_TEST_SUITE_P(
    Cases, RectClipRectTest,
    ::testing::Values(RectCase{"overlap", {5, 5}, {20, 20}, 1, {5, 5}, {10, 10}},
                      RectCase{"shares the right edge", {10, 0}, {20, 10}, 0, {10, 0}, {20, 10}},
                      RectCase{"shares the top edge", {0, 10}, {10, 20}, 0, {0, 10}, {10, 20}},
                      RectCase{"ends at the left edge", {-5, 0}, {0, 10}, 0, {-5, 0}, {0, 10}},
                      RectCase{"covers", {-5, -5}, {15, 15}, 1, {0, 0}, {10, 10}},
                      RectCase{"inside", {2, 3}, {4, 5}, 1, {2, 3}, {4, 5}},
                      RectCase{"one unit", {9, 9}, {20, 20}, 1, {9, 9}, {10, 10}}));

struct SegCase {
  const char* name;
  tagPOINT p, q;
  int want;
  tagPOINT wp, wq;
};
class RectClipSegmentTest : public ::testing::TestWithParam<SegCase> {};
TEST_P(RectClipSegmentTest, RegionCodeClipping) {
  const auto& c = GetParam();
  tagPOINT p = c.p, q = c.q;
  EXPECT_EQ(Rect_Clip_Segment(&kMin, &kMax, &p, &q), c.want) << c.name;
  EXPECT_TRUE(same(p, c.wp) && same(q, c.wq))
      << c.name << ": got (" << p.x << "," << p.y << ")-(" << q.x << "," << q.y << ")";
}
INSTANTIATE_TEST_SUITE_P(
    Cases, RectClipSegmentTest,
    ::testing::Values(
        SegCase{"inside", {1, 1}, {9, 8}, 1, {1, 1}, {9, 8}},
        SegCase{"q out right", {5, 5}, {20, 5}, 1, {5, 5}, {10, 5}},
        SegCase{"p out right", {20, 5}, {5, 5}, 1, {10, 5}, {5, 5}},
        SegCase{"q out on the right line", {5, 5}, {10, 5}, 1, {5, 5}, {10, 5}},
        SegCase{"q out above", {4, 4}, {6, 14}, 1, {4, 4}, {5, 10}},
        SegCase{"q out below, truncated toward zero", {3, 3}, {4, -4}, 1, {3, 3}, {3, 0}},
        SegCase{"q out left", {4, 2}, {-4, 6}, 1, {4, 2}, {0, 4}},
        // Corner code 9 tries left first, then top: here the left edge is met.
        SegCase{"q out left-above via left", {2, 8}, {-2, 12}, 1, {2, 8}, {0, 10}},
        SegCase{"q out left-above via top", {4, 8}, {-2, 14}, 1, {4, 8}, {2, 10}},
        // Code 10 tries top first; this segment leaves through the right edge.
        SegCase{"q out right-above", {8, 8}, {14, 12}, 1, {8, 8}, {10, 9}},
        SegCase{"q out right-below", {8, 2}, {14, -4}, 1, {8, 2}, {10, 0}},
        // p on the bottom line, q below: the boxes only touch, no edge is
        // met, and q keeps its value although the result is 1.
        SegCase{"touches at the bottom line only", {5, 0}, {8, -5}, 1, {5, 0}, {8, -5}},
        SegCase{"left to right", {-5, 5}, {15, 5}, 1, {0, 5}, {10, 5}},
        SegCase{"right to left", {15, 5}, {-5, 5}, 1, {10, 5}, {0, 5}},
        SegCase{"bottom to top", {3, -5}, {3, 15}, 1, {3, 0}, {3, 10}},
        SegCase{"top to bottom", {3, 15}, {3, -5}, 1, {3, 10}, {3, 0}},
        SegCase{"left to right on the right line", {-5, 5}, {10, 5}, 1, {0, 5}, {10, 5}},
        SegCase{"right line to left", {10, 5}, {-5, 5}, 1, {10, 5}, {0, 5}},
        SegCase{"along the bottom line", {-5, 0}, {15, 0}, 1, {0, 0}, {10, 0}},
        SegCase{"up to the top line", {3, -5}, {3, 10}, 1, {3, 0}, {3, 10}},
        SegCase{"up the left line", {0, -5}, {0, 15}, 1, {0, 0}, {0, 10}},
        SegCase{"codes 1 and 8", {-5, 2}, {8, 15}, 1, {0, 7}, {3, 10}},
        SegCase{"codes 8 and 1", {8, 15}, {-5, 2}, 1, {3, 10}, {0, 7}},
        SegCase{"corner to corner", {-5, -5}, {15, 15}, 1, {0, 0}, {10, 10}},
        SegCase{"corner to corner reversed", {15, 15}, {-5, -5}, 1, {10, 10}, {0, 0}},
        SegCase{"misses the corner", {-5, 6}, {6, 17}, 0, {-5, 6}, {6, 17}},
        SegCase{"both beyond the right side", {20, 20}, {30, 5}, 0, {20, 20}, {30, 5}},
        SegCase{"both below", {-5, -1}, {15, -3}, 0, {-5, -1}, {15, -3}}));

TEST(RectClipSegment, OneEndOutsideWithoutCrossingKeepsIt) {
  // q on the top line: code 8, but the segment's box only touches the top
  // edge's box, so no crossing is found; the result is still 1.
  tagPOINT p{5, 5}, q{5, 10};
  EXPECT_EQ(Rect_Clip_Segment(&kMin, &kMax, &p, &q), 1);
  EXPECT_TRUE(same(p, {5, 5}) && same(q, {5, 10}));
}

TEST(RectClipSegment, SamePointForBothArguments) {
  tagPOINT p{15, 5};
  EXPECT_EQ(Rect_Clip_Segment(&kMin, &kMax, &p, &p), 0);
  EXPECT_TRUE(same(p, {15, 5}));
}

const Ring kNotched{{0, 0}, {30, 0}, {30, 10}, {20, 10}, {20, 5}, {10, 5}, {10, 10}, {0, 10}};

struct SpanCase {
  const char* name;
  std::int32_t from, to;
  int want;
  std::int32_t wfrom, wto;
};
class PolygonClipHorizonTest : public ::testing::TestWithParam<SpanCase> {};
TEST_P(PolygonClipHorizonTest, NotchedRingAtSeven) {
  const auto& c = GetParam();
  std::int32_t from = c.from, to = c.to;
  EXPECT_EQ(Polygon_Clip_Horizon(kNotched.data(), 8, &from, &to, 7), c.want) << c.name;
  EXPECT_EQ(from, c.wfrom) << c.name;
  EXPECT_EQ(to, c.wto) << c.name;
}
INSTANTIATE_TEST_SUITE_P(Cases, PolygonClipHorizonTest,
                         ::testing::Values(SpanCase{"covers both: leftmost kept", -5, 40, 1, 0, 10},
                                           SpanCase{"starts inside", 3, 25, 1, 3, 10},
                                           SpanCase{"in the notch", 12, 18, 0, 12, 18},
                                           SpanCase{"second room", 22, 40, 1, 22, 30},
                                           SpanCase{"starts on lo", 20, 25, 1, 20, 25},
                                           SpanCase{"ends on lo", 15, 20, 0, 15, 20},
                                           SpanCase{"starts on hi", 10, 15, 0, 10, 15},
                                           SpanCase{"into the second room", 12, 22, 1, 20, 22}));

TEST(PolygonClipVertical, SquareColumn) {
  const Ring sq = polytest::square10();
  std::int32_t from = -5, to = 20;
  EXPECT_EQ(Polygon_Clip_Vertical(sq.data(), 4, &from, &to, 5), 1);
  EXPECT_EQ(from, 0);
  EXPECT_EQ(to, 10);
  // The notched ring's column x = 15 is inside only below the notch.
  from = 2;
  to = 9;
  EXPECT_EQ(Polygon_Clip_Vertical(kNotched.data(), 8, &from, &to, 15), 1);
  EXPECT_EQ(from, 2);
  EXPECT_EQ(to, 5);
  from = 6;
  to = 9;
  EXPECT_EQ(Polygon_Clip_Vertical(kNotched.data(), 8, &from, &to, 15), 0);
  EXPECT_EQ(from, 6);
  EXPECT_EQ(to, 9);
}

TEST(PolygonClip, EmptyAndPointRingsLeaveSpanAlone) {
  std::int32_t from = -5, to = 5;
  EXPECT_EQ(Polygon_Clip_Horizon(nullptr, 0, &from, &to, 0), 0);
  EXPECT_EQ(Polygon_Clip_Vertical(nullptr, 0, &from, &to, 0), 0);
  const Ring one{{0, 0}};
  EXPECT_EQ(Polygon_Clip_Horizon(one.data(), 1, &from, &to, 0), 0);
  EXPECT_EQ(from, -5);
  EXPECT_EQ(to, 5);
}

}  // namespace
