// Point, segment and rectangle meeting tests: touching rules, truncation of
// the crossing point, and agreement with exact / brute-force models.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>

#include <kelvor/planar.h>

namespace {

TEST(PointTests, SegmentClosedRectHalfOpen) {
  const tagPOINT a{0, 0}, b{10, 5};
  const struct { tagPOINT p; int want; } seg[] = {{{0, 0}, 1}, {{10, 5}, 1}, {{4, 2}, 1}, {{5, 3}, 0}, {{20, 10}, 0}};
  for (const auto& c : seg) {
    EXPECT_EQ(Point_Segment_Intersect(&c.p, &a, &b), c.want) << c.p.x << ',' << c.p.y;
    EXPECT_EQ(Point_Segment_Intersect(&c.p, &b, &a), c.want) << "direction must not matter";
  }
  const tagPOINT d{3, 3}, off{3, 4};
  EXPECT_EQ(Point_Segment_Intersect(&d, &d, &d), 1) << "degenerate segment holds its point";
  EXPECT_EQ(Point_Segment_Intersect(&off, &d, &d), 0);
  const tagPOINT min{0, 0}, max{10, 10};
  const struct { tagPOINT p; int want; } rect[] = {  // max x excluded, max y included
      {{0, 0}, 1}, {{10, 5}, 0}, {{5, 10}, 1}, {{10, 10}, 0}, {{5, 11}, 0}, {{-1, 5}, 0}};
  for (const auto& c : rect) EXPECT_EQ(Point_Rect_Intersect(&c.p, &min, &max), c.want) << c.p.x << ',' << c.p.y;
  EXPECT_EQ(Point_Point_Intersect(&d, &d), 1);
  EXPECT_EQ(Point_Point_Intersect(&d, &off), 0);
}

TEST(SegmentSegment, ResultCrossingPointAndNoWriteOnReject) {
  const struct { const char* name; tagPOINT a, b, c, d; int want; tagPOINT at; } cases[] = {
      {"plain cross", {0, 0}, {10, 10}, {0, 10}, {10, 0}, 1, {5, 5}},
      {"collinear overlap", {0, 0}, {10, 0}, {5, 0}, {15, 0}, 0, {}},
      {"boxes touch at a corner", {0, 0}, {5, 5}, {5, 5}, {10, 0}, 0, {}},
      {"collinear: c on a-b", {0, 0}, {10, 10}, {4, 4}, {20, 20}, 1, {4, 4}},
      {"collinear: a-b strictly inside c-d", {2, 2}, {4, 4}, {0, 0}, {10, 10}, 0, {}},
      {"truncates 14.5", {0, 0}, {29, 10}, {0, 10}, {29, 0}, 1, {14, 5}},
      {"truncates from a", {10, 0}, {0, 10}, {3, 0}, {3, 10}, 1, {3, 7}},
      {"x offset -2.9 toward zero", {0, 0}, {-29, 10}, {-10, 1}, {10, 1}, 1, {-2, 1}},
  };
  for (const auto& s : cases) {
    tagPOINT out{-777, -777};
    ASSERT_EQ(Segment_Segment_Intersect(&s.a, &s.b, &s.c, &s.d, &out), s.want) << s.name;
    EXPECT_EQ(Segment_Segment_Intersect(&s.a, &s.b, &s.c, &s.d, nullptr), s.want) << s.name;
    const tagPOINT want = s.want ? s.at : tagPOINT{-777, -777};
    EXPECT_TRUE(out.x == want.x && out.y == want.y) << s.name << ": " << out.x << ',' << out.y;
  }
}

int orient(const tagPOINT& a, const tagPOINT& b, const tagPOINT& c) {
  const std::int64_t v = static_cast<std::int64_t>(b.x - a.x) * (c.y - a.y) -
                         static_cast<std::int64_t>(b.y - a.y) * (c.x - a.x);
  return (v > 0) - (v < 0);
}

bool in_box(const tagPOINT& p, const tagPOINT& a, const tagPOINT& b, std::int32_t slack) {
  return p.x >= std::min(a.x, b.x) - slack && p.x <= std::max(a.x, b.x) + slack &&
         p.y >= std::min(a.y, b.y) - slack && p.y <= std::max(a.y, b.y) + slack;
}

TEST(SegmentSegment, AgreesWithExactModelAndReportsPointOnBothBoxes) {
  std::mt19937 rng(99);
  std::uniform_int_distribution<std::int32_t> coord(-12, 12);
  int crossings = 0;
  for (int i = 0; i < 40000; ++i) {
    const tagPOINT a{coord(rng), coord(rng)}, b{coord(rng), coord(rng)};
    const tagPOINT c{coord(rng), coord(rng)}, d{coord(rng), coord(rng)};
    tagPOINT out{};
    const int got = Segment_Segment_Intersect(&a, &b, &c, &d, &out);
    const bool boxes = std::min(a.x, b.x) < std::max(c.x, d.x) && std::min(a.y, b.y) < std::max(c.y, d.y) &&
                       std::min(c.x, d.x) < std::max(a.x, b.x) && std::min(c.y, d.y) < std::max(a.y, b.y);
    const bool parallel = static_cast<std::int64_t>(b.x - a.x) * (d.y - c.y) ==
                          static_cast<std::int64_t>(b.y - a.y) * (d.x - c.x);
    if (!parallel) {
      const bool exact = boxes && orient(a, b, c) * orient(a, b, d) <= 0 && orient(c, d, a) * orient(c, d, b) <= 0;
      ASSERT_EQ(got, exact ? 1 : 0);
      ASSERT_EQ(Segment_Segment_Intersect(&c, &d, &a, &b, nullptr), got) << "symmetric";
    }
    if (got) {
      ++crossings;
      // Truncated from a toward the true crossing: in a-b's box, within one unit of c-d's.
      ASSERT_TRUE(in_box(out, a, b, 0) && in_box(out, c, d, 1));
    }
  }
  EXPECT_GT(crossings, 1000);
}

TEST(RectRect, MeetExactlyWhenSomeGridCellLiesInBoth) {
  // Small coordinates, so rectangles sharing only an edge or a corner are frequent.
  std::mt19937 rng(11);
  std::uniform_int_distribution<std::int32_t> coord(0, 8);
  for (int i = 0; i < 5000; ++i) {
    tagPOINT r[4];
    for (int k = 0; k < 2;) {
      const std::int32_t x0 = coord(rng), x1 = coord(rng), y0 = coord(rng), y1 = coord(rng);
      if (x0 == x1 || y0 == y1) continue;  // empty rectangles hold no cell
      r[2 * k] = {std::min(x0, x1), std::min(y0, y1)};
      r[2 * k + 1] = {std::max(x0, x1), std::max(y0, y1)};
      ++k;
    }
    auto in = [](std::int32_t x, std::int32_t y, const tagPOINT& lo, const tagPOINT& hi) {
      return lo.x <= x && x < hi.x && lo.y <= y && y < hi.y;
    };
    bool shared = false;
    for (std::int32_t x = 0; x <= 8; ++x)
      for (std::int32_t y = 0; y <= 8; ++y) shared = shared || (in(x, y, r[0], r[1]) && in(x, y, r[2], r[3]));
    ASSERT_EQ(Rect_Rect_Intersect(&r[0], &r[1], &r[2], &r[3]), shared ? 1 : 0);
    ASSERT_EQ(Rect_Rect_Intersect(&r[2], &r[3], &r[0], &r[1]), shared ? 1 : 0) << "symmetric";
  }
}

TEST(SegmentRect, HalfOpenEdgesAndCorners) {
  const tagPOINT min{0, 0}, max{10, 10};
  const struct { tagPOINT p, q; int want; } cases[] = {
      {{-5, 5}, {15, 5}, 1},   {{0, 0}, {-5, -5}, 1},   {{10, 10}, {20, 20}, 0},  // min corner in, max out
      {{10, -5}, {10, 15}, 0}, {{-5, 10}, {15, 10}, 0},                          // along excluded edges
      {{-2, 3}, {3, -2}, 1},   {{-3, 1}, {1, -3}, 0},   {{-4, 5}, {2, 14}, 0}};   // near corners
  for (const auto& c : cases) EXPECT_EQ(Segment_Rect_Intersect(&c.p, &c.q, &min, &max), c.want) << c.p.x;
}

TEST(SegmentRect, BracketedByHalfOpenSamplesAndClosedRectangle) {
  std::mt19937 rng(2024);
  std::uniform_int_distribution<std::int32_t> coord(-6, 16), corner(0, 10);
  int hits = 0;
  for (int i = 0; i < 20000; ++i) {
    const std::int32_t x0 = corner(rng), x1 = corner(rng), y0 = corner(rng), y1 = corner(rng);
    const tagPOINT min{std::min(x0, x1), std::min(y0, y1)}, max{std::max(x0, x1), std::max(y0, y1)};
    const tagPOINT p{coord(rng), coord(rng)}, q{coord(rng), coord(rng)};
    const int got = Segment_Rect_Intersect(&p, &q, &min, &max);
    // Samples at most 0.5 apart (segments are shorter than 32): one lands within
    // 0.25 of any point where the segment touches the closed rectangle.
    bool sample_inside = false, sample_near = false;
    for (int k = 0; k <= 64; ++k) {
      const double x = p.x + (q.x - p.x) * (k / 64.0), y = p.y + (q.y - p.y) * (k / 64.0);
      sample_inside = sample_inside || (min.x <= x && x < max.x && min.y <= y && y < max.y);
      sample_near = sample_near || (min.x - 0.5 <= x && x <= max.x + 0.5 && min.y - 0.5 <= y && y <= max.y + 0.5);
    }
    // An endpoint on an excluded max line counts as beyond it, so only that
    // side's edge is tried and an inward segment can go unnoticed.
    const bool on_max_line = p.x == max.x || p.y == max.y || q.x == max.x || q.y == max.y;
    if (sample_inside && !on_max_line) {
      ASSERT_EQ(got, 1) << p.x << ',' << p.y << ' ' << q.x << ',' << q.y;
    }
    if (!sample_near) {
      ASSERT_EQ(got, 0) << "clear of the closed rectangle";
    }
    hits += got;
  }
  EXPECT_GT(hits, 1000);
}

}  // namespace
