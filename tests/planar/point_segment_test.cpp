// Point, segment and rectangle meeting tests, including the touching rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>

#include <kelvor/planar.h>

namespace {

struct P {
  std::int32_t x, y;
  operator tagPOINT() const { return {x, y}; }
};

struct PointSegCase {
  P p, a, b;
  int want;
};

class PointSegmentTest : public ::testing::TestWithParam<PointSegCase> {};
TEST_P(PointSegmentTest, ClosedAndCollinear) {
  const auto& c = GetParam();
  const tagPOINT p = c.p, a = c.a, b = c.b;
  EXPECT_EQ(Point_Segment_Intersect(&p, &a, &b), c.want);
  EXPECT_EQ(Point_Segment_Intersect(&p, &b, &a), c.want) << "segment direction must not matter";
}
INSTANTIATE_TEST_SUITE_P(
    Cases, PointSegmentTest,
    ::testing::Values(PointSegCase{{0, 0}, {0, 0}, {10, 5}, 1},   // endpoint a
                      PointSegCase{{10, 5}, {0, 0}, {10, 5}, 1},  // endpoint b
                      PointSegCase{{4, 2}, {0, 0}, {10, 5}, 1},   // interior
                      PointSegCase{{5, 3}, {0, 0}, {10, 5}, 0},   // off the line
                      PointSegCase{{20, 10}, {0, 0}, {10, 5}, 0}, // on the line, beyond b
                      PointSegCase{{-2, -1}, {0, 0}, {10, 5}, 0}, // on the line, before a
                      PointSegCase{{3, 3}, {3, 3}, {3, 3}, 1},    // degenerate holds a
                      PointSegCase{{3, 4}, {3, 3}, {3, 3}, 0},
                      PointSegCase{{5, 7}, {5, 0}, {5, 10}, 1},   // vertical
                      PointSegCase{{5, 11}, {5, 0}, {5, 10}, 0}));

struct PointRectCase {
  P p;
  int want;
};
class PointRectTest : public ::testing::TestWithParam<PointRectCase> {};
TEST_P(PointRectTest, OpenOnMaxXClosedOnMaxY) {
  const tagPOINT min{0, 0}, max{10, 10}, p = GetParam().p;
  EXPECT_EQ(Point_Rect_Intersect(&p, &min, &max), GetParam().want);
}
INSTANTIATE_TEST_SUITE_P(Cases, PointRectTest,
                         ::testing::Values(PointRectCase{{0, 0}, 1}, PointRectCase{{9, 9}, 1},
                                           PointRectCase{{10, 5}, 0}, PointRectCase{{5, 10}, 1},
                                           PointRectCase{{10, 10}, 0}, PointRectCase{{-1, 5}, 0},
                                           PointRectCase{{5, -1}, 0}, PointRectCase{{5, 11}, 0}));

struct SegSegCase {
  const char* name;
  P a, b, c, d;
  int want;
  P at;  // crossing point when want == 1
};

class SegmentSegmentTest : public ::testing::TestWithParam<SegSegCase> {};
TEST_P(SegmentSegmentTest, ResultAndCrossingPoint) {
  const auto& s = GetParam();
  const tagPOINT a = s.a, b = s.b, c = s.c, d = s.d;
  tagPOINT out{-777, -777};
  ASSERT_EQ(Segment_Segment_Intersect(&a, &b, &c, &d, &out), s.want) << s.name;
  EXPECT_EQ(Segment_Segment_Intersect(&a, &b, &c, &d, nullptr), s.want) << s.name;
  if (s.want) {
    EXPECT_EQ(out.x, s.at.x) << s.name;
    EXPECT_EQ(out.y, s.at.y) << s.name;
  } else {
    EXPECT_EQ(out.x, -777) << "a rejected case must not write: " << s.name;
    EXPECT_EQ(out.y, -777) << s.name;
  }
}
INSTANTIATE_TEST_SUITE_P(
    Cases, SegmentSegmentTest,
    ::testing::Values(
        SegSegCase{"plain cross", {0, 0}, {10, 10}, {0, 10}, {10, 0}, 1, {5, 5}},
        SegSegCase{"crossing at c", {0, 0}, {10, 10}, {5, 5}, {10, 0}, 1, {5, 5}},
        SegSegCase{"horizontal overlap", {0, 0}, {10, 0}, {5, 0}, {15, 0}, 0, {}},
        SegSegCase{"vertical overlap", {0, 0}, {0, 10}, {0, 5}, {0, 15}, 0, {}},
        SegSegCase{"boxes touch at a corner", {0, 0}, {5, 5}, {5, 5}, {10, 0}, 0, {}},
        SegSegCase{"disjoint boxes", {0, 0}, {1, 1}, {5, 5}, {6, 7}, 0, {}},
        SegSegCase{"near miss", {0, 0}, {10, 10}, {6, 4}, {10, 0}, 0, {}},
        SegSegCase{"collinear: c on a-b", {0, 0}, {10, 10}, {4, 4}, {20, 20}, 1, {4, 4}},
        SegSegCase{"collinear: d on a-b", {0, 0}, {10, 10}, {20, 20}, {4, 4}, 1, {4, 4}},
        SegSegCase{"collinear: a-b strictly inside c-d", {2, 2}, {4, 4}, {0, 0}, {10, 10}, 0, {}},
        SegSegCase{"parallel apart", {0, 0}, {10, 10}, {0, 1}, {10, 11}, 0, {}},
        // 2.9 units from a is reported as 2, -2.9 as -2: truncation toward zero from a
        SegSegCase{"truncates positive", {0, 0}, {29, 10}, {0, 10}, {29, 0}, 1, {14, 5}},
        SegSegCase{"truncates from a", {10, 0}, {0, 10}, {3, 0}, {3, 10}, 1, {3, 7}},
        SegSegCase{"y offset 3.45 from a", {10, 0}, {-19, 10}, {0, 0}, {0, 30}, 1, {0, 3}}));

TEST(SegmentSegment, OffsetsTruncateTowardZeroFromA) {
  // a = (0, 0), b = (-29, 10): the crossing with the line y = 1 lies at x = -2.9.
  const tagPOINT a{0, 0}, b{-29, 10}, c{-10, 1}, d{10, 1};
  // c-d is horizontal, the box test still passes because a-b has height.
  tagPOINT out{};
  ASSERT_EQ(Segment_Segment_Intersect(&a, &b, &c, &d, &out), 1);
  EXPECT_EQ(out.x, -2);
  EXPECT_EQ(out.y, 1);
}

// Exact integer orientation, for a brute-force model of closed segments.
int orient(const tagPOINT& a, const tagPOINT& b, const tagPOINT& c) {
  const std::int64_t v = static_cast<std::int64_t>(b.x - a.x) * (c.y - a.y) -
                         static_cast<std::int64_t>(b.y - a.y) * (c.x - a.x);
  return (v > 0) - (v < 0);
}

TEST(SegmentSegmentProperty, AgreesWithExactModelAndReportsPointOnBothBoxes) {
  std::mt19937 rng(99);
  std::uniform_int_distribution<std::int32_t> coord(-12, 12);
  int crossings = 0;
  for (int i = 0; i < 40000; ++i) {
    const tagPOINT a{coord(rng), coord(rng)}, b{coord(rng), coord(rng)};
    const tagPOINT c{coord(rng), coord(rng)}, d{coord(rng), coord(rng)};
    tagPOINT out{};
    const int got = Segment_Segment_Intersect(&a, &b, &c, &d, &out);
    const bool boxes = std::min(a.x, b.x) < std::max(c.x, d.x) &&
                       std::min(a.y, b.y) < std::max(c.y, d.y) &&
                       std::min(c.x, d.x) < std::max(a.x, b.x) &&
                       std::min(c.y, d.y) < std::max(a.y, b.y);
    const int o1 = orient(a, b, c), o2 = orient(a, b, d), o3 = orient(c, d, a), o4 = orient(c, d, b);
    const bool parallel = static_cast<std::int64_t>(b.x - a.x) * (d.y - c.y) ==
                          static_cast<std::int64_t>(b.y - a.y) * (d.x - c.x);
    if (!parallel) {
      const bool exact = boxes && o1 * o2 <= 0 && o3 * o4 <= 0;
      ASSERT_EQ(got, exact ? 1 : 0);
      ASSERT_EQ(Segment_Segment_Intersect(&c, &d, &a, &b, nullptr), got) << "symmetric";
    }
    if (got) {
      ++crossings;
      // Truncated from a toward the true crossing: inside a-b's box, and
      // within one unit of c-d's box.
      ASSERT_GE(out.x, std::min(a.x, b.x));
      ASSERT_LE(out.x, std::max(a.x, b.x));
      ASSERT_GE(out.y, std::min(a.y, b.y));
      ASSERT_LE(out.y, std::max(a.y, b.y));
      ASSERT_GE(out.x, std::min(c.x, d.x) - 1);
      ASSERT_LE(out.x, std::max(c.x, d.x) + 1);
      ASSERT_GE(out.y, std::min(c.y, d.y) - 1);
      ASSERT_LE(out.y, std::max(c.y, d.y) + 1);
    }
  }
  EXPECT_GT(crossings, 1000);
}

TEST(RectRect, SharedEdgesAndCornersDoNotMeet) {
  const tagPOINT a0{0, 0}, a1{10, 10};
  struct {
    tagPOINT min, max;
    int want;
  } cases[] = {
      {{10, 0}, {20, 10}, 0},  // shares the right edge
      {{0, 10}, {10, 20}, 0},  // shares the top edge
      {{10, 10}, {20, 20}, 0}, // shares a corner
      {{9, 9}, {20, 20}, 1},   // one unit of overlap
      {{-5, -5}, {1, 1}, 1},
      {{2, 2}, {3, 3}, 1},     // inside
      {{-5, 2}, {20, 3}, 1},   // straddles
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Rect_Rect_Intersect(&a0, &a1, &c.min, &c.max), c.want);
    EXPECT_EQ(Rect_Rect_Intersect(&c.min, &c.max, &a0, &a1), c.want) << "symmetric";
  }
}

TEST(RectRectProperty, MeetsExactlyWhenSomeGridCellLiesInBoth) {
  std::mt19937 rng(11);
  std::uniform_int_distribution<std::int32_t> coord(0, 8);
  for (int i = 0; i < 5000; ++i) {
    tagPOINT r[4];
    for (int k = 0; k < 2; ++k) {
      std::int32_t x0 = coord(rng), x1 = coord(rng), y0 = coord(rng), y1 = coord(rng);
      if (x0 == x1 || y0 == y1) {
        // Zero-width rectangles hold no cell yet still "overlap" strictly.
        --k;
        continue;
      }
      r[2 * k] = {std::min(x0, x1), std::min(y0, y1)};
      r[2 * k + 1] = {std::max(x0, x1), std::max(y0, y1)};
    }
    bool shared = false;
    for (std::int32_t x = 0; x <= 8 && !shared; ++x)
      for (std::int32_t y = 0; y <= 8 && !shared; ++y) {
        auto in = [&](const tagPOINT& lo, const tagPOINT& hi) {
          return lo.x <= x && x < hi.x && lo.y <= y && y < hi.y;
        };
        shared = in(r[0], r[1]) && in(r[2], r[3]);
      }
    ASSERT_EQ(Rect_Rect_Intersect(&r[0], &r[1], &r[2], &r[3]), shared ? 1 : 0);
  }
}

TEST(PointPoint, EqualCoordinatesOnly) {
  const tagPOINT a{3, -4}, b{3, -4}, c{3, 4};
  EXPECT_EQ(Point_Point_Intersect(&a, &b), 1);
  EXPECT_EQ(Point_Point_Intersect(&a, &c), 0);
}

}  // namespace
