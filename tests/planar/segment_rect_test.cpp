// Segment against half-open rectangle: region-code shortcuts and edge tests.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>

#include <kelvor/planar.h>

namespace {

struct Case {
  const char* name;
  tagPOINT p, q;
  int want;
};

class SegmentRectTest : public ::testing::TestWithParam<Case> {};
TEST_P(SegmentRectTest, AgainstTenByTen) {
  const tagPOINT min{0, 0}, max{10, 10};
  const auto& c = GetParam();
  EXPECT_EQ(Segment_Rect_Intersect(&c.p, &c.q, &min, &max), c.want) << c.name;
}
INSTANTIATE_TEST_SUITE_P(
    Cases, SegmentRectTest,
    ::testing::Values(
        Case{"straight pass left to right", {-5, 5}, {15, 5}, 1},
        Case{"straight pass bottom to top", {5, -5}, {5, 15}, 1},
        Case{"entirely left", {-5, 0}, {-1, 20}, 0},
        Case{"entirely above", {-5, 10}, {20, 30}, 0},
        Case{"endpoint inside", {5, 5}, {50, 50}, 1},
        Case{"min corner is inside", {0, 0}, {-5, -5}, 1},
        Case{"max corner is outside", {10, 10}, {20, 20}, 0},
        Case{"along the excluded right edge", {10, -5}, {10, 15}, 0},
        Case{"along the excluded top edge", {-5, 10}, {15, 10}, 0},
        Case{"corner to corner diagonal through", {-5, -5}, {15, 15}, 1},
        Case{"cuts the bottom-left corner", {-2, 3}, {3, -2}, 1},
        Case{"misses the bottom-left corner", {-3, 1}, {1, -3}, 0},
        Case{"from above-left through top edge", {-2, 12}, {4, 6}, 1},
        Case{"from below-right through right edge", {14, -2}, {6, 6}, 1},
        Case{"passes above the top-left corner", {-4, 5}, {2, 14}, 0},
        Case{"enters through the left edge", {-4, 5}, {2, 11}, 1},
        Case{"passes outside top-left corner", {-4, 8}, {-1, 14}, 0}));

// Liang-Barsky against the closed rectangle, in doubles: does any point of the
// segment lie within [min, max] (edges included)?
bool meets_closed(const tagPOINT& p, const tagPOINT& q, const tagPOINT& min, const tagPOINT& max) {
  double t0 = 0.0, t1 = 1.0;
  const double dx = q.x - p.x, dy = q.y - p.y;
  const double pk[4] = {-dx, dx, -dy, dy};
  const double qk[4] = {double(p.x - min.x), double(max.x - p.x), double(p.y - min.y),
                        double(max.y - p.y)};
  for (int k = 0; k < 4; ++k) {
    if (pk[k] == 0.0) {
      if (qk[k] < 0.0) return false;
      continue;
    }
    const double r = qk[k] / pk[k];
    if (pk[k] < 0.0) t0 = std::max(t0, r);
    else t1 = std::min(t1, r);
  }
  return t0 <= t1;
}

TEST(SegmentRectProperty, BracketedByHalfOpenSamplesAndClosedRectangle) {
  std::mt19937 rng(2024);
  std::uniform_int_distribution<std::int32_t> coord(-6, 16);
  std::uniform_int_distribution<std::int32_t> corner(0, 10);
  int hits = 0;
  for (int i = 0; i < 20000; ++i) {
    std::int32_t x0 = corner(rng), x1 = corner(rng), y0 = corner(rng), y1 = corner(rng);
    const tagPOINT min{std::min(x0, x1), std::min(y0, y1)}, max{std::max(x0, x1), std::max(y0, y1)};
    const tagPOINT p{coord(rng), coord(rng)}, q{coord(rng), coord(rng)};
    const int got = Segment_Rect_Intersect(&p, &q, &min, &max);
    // Any sample strictly of the half-open rectangle forces a meeting...
    bool sample_inside = false;
    for (int k = 0; k <= 64 && !sample_inside; ++k) {
      const double x = p.x + (q.x - p.x) * (k / 64.0), y = p.y + (q.y - p.y) * (k / 64.0);
      sample_inside = min.x <= x && x < max.x && min.y <= y && y < max.y;
    }
    // An endpoint on the excluded max lines counts as beyond them, so only the
    // edge on that side is tried and an inward segment can go unnoticed.
    const bool on_max_line =
        p.x == max.x || p.y == max.y || q.x == max.x || q.y == max.y;
    if (sample_inside && !on_max_line) {
      ASSERT_EQ(got, 1) << p.x << ',' << p.y << ' ' << q.x << ',' << q.y << " in " << min.x << ',' << min.y << ' ' << max.x << ',' << max.y;
    }
    // ...and a segment clear of the closed rectangle never meets it.
    if (!meets_closed(p, q, min, max)) {
      ASSERT_EQ(got, 0);
    }
    hits += got;
  }
  EXPECT_GT(hits, 1000);
}

}  // namespace
