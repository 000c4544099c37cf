// GetMCR: seeds, growth, steps and degenerate input.
#include <kelvor/kelvor.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

namespace {

void expect_rect(const KRECT& r, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
  EXPECT_EQ(r.ptMin.x, x1);
  EXPECT_EQ(r.ptMin.y, y1);
  EXPECT_EQ(r.ptMax.x, x2);
  EXPECT_EQ(r.ptMax.y, y2);
}

const tagPOINT kSquare[4] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};

TEST(GetMcr, FewerThanThreeVerticesGiveTheCanonicalEmpty) {
  KRECT r(3, 3, 4, 4);
  GetMCR(r, 2, kSquare, 1);
  expect_rect(r, 1, 1, 0, 0);
  r = KRECT(3, 3, 4, 4);
  GetMCR(r, 0, nullptr, 1);
  expect_rect(r, 1, 1, 0, 0);
  r = KRECT(3, 3, 4, 4);
  GetMCR(r, -5, nullptr, 1);  // negative counts never reach the allocator
  expect_rect(r, 1, 1, 0, 0);
  GetMCR(r, INT32_MIN, nullptr, 1);
  expect_rect(r, 1, 1, 0, 0);
}

TEST(GetMcr, SquareGrowsUpToButExcludingItsMaximumSides) {
  KRECT r;
  GetMCR(r, 4, kSquare, 1);
  expect_rect(r, 0, 0, 9, 9);  // seed (0, 0): first widest row, first tallest column
  GetMCR(r, 4, kSquare, 4);
  expect_rect(r, 0, 0, 8, 8);
  KRECT zero, negative;
  GetMCR(zero, 4, kSquare, 0);
  GetMCR(negative, 4, kSquare, -5);
  expect_rect(zero, 0, 0, 9, 9);
  expect_rect(negative, 0, 0, 9, 9);
  GetMCR(r, 4, kSquare, INT32_MAX);  // nothing fits: the seed alone
  expect_rect(r, 0, 0, 0, 0);
  EXPECT_EQ(r.IsEmpty(), 0);
}

TEST(GetMcr, SidesGrowInTheirFixedOrder) {
  // Right triangle: the ptMax.x side moves before the ptMax.y side in each
  // cycle, so it wins the last unit along the hypotenuse.
  const tagPOINT tri[3] = {{0, 0}, {10, 0}, {0, 10}};
  KRECT r;
  GetMCR(r, 3, tri, 1);
  expect_rect(r, 0, 0, 5, 4);
  // Mirrored so that the minimum sides grow: ptMin.x before ptMin.y.
  const tagPOINT mirrored[3] = {{10, 10}, {0, 10}, {10, 0}};
  GetMCR(r, 3, mirrored, 1);
  expect_rect(r, 5, 5, 9, 9);
}

TEST(GetMcr, ClosedRingGivesTheSameResult) {
  const tagPOINT closed[5] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}};
  KRECT a, b;
  GetMCR(a, 4, kSquare, 1);
  GetMCR(b, 5, closed, 1);
  EXPECT_EQ(a == b, 1);
}

TEST(GetMcr, NoGrowthLeavesTheZeroSizeSeed) {
  const tagPOINT tri[3] = {{0, 0}, {1, 0}, {0, 1}};
  KRECT r;
  GetMCR(r, 3, tri, 1);
  expect_rect(r, 0, 0, 0, 0);
  EXPECT_EQ(r.IsEmpty(), 0);
}

TEST(GetMcr, SeedOutsideThePolygonGivesEmpty) {
  // Widest row: y = 0, x in [0, 10). Tallest column: x = -1 (the tower at
  // the left), one unit beyond that row's span; (-1, 0) is outside.
  const tagPOINT ring[7] = {{0, 0}, {10, 0}, {10, 1}, {0, 1}, {0, 100}, {-1, 100}, {-1, 1}};
  KRECT r;
  GetMCR(r, 7, ring, 1);
  expect_rect(r, 1, 1, 0, 0);
}

TEST(GetMcr, FlatPolygonHasNoSpanOfPositiveLength) {
  const tagPOINT flat[3] = {{0, 5}, {10, 5}, {20, 5}};
  KRECT r(0, 0, 1, 1);
  GetMCR(r, 3, flat, 1);
  expect_rect(r, 1, 1, 0, 0);
  const tagPOINT tall[3] = {{3, 0}, {3, 10}, {3, 20}};
  GetMCR(r, 3, tall, 1);
  expect_rect(r, 1, 1, 0, 0);
}

TEST(GetMcr, OnlyCornersAreTestedSoANotchMayBeCovered) {
  // A square with a narrow V-shaped notch cut from the top down to (5, 12),
  // off the diagonal along which the far corner grows.
  const tagPOINT notched[7] = {{0, 0}, {20, 0}, {20, 20}, {6, 20}, {5, 12}, {4, 20}, {0, 20}};
  KRECT r;
  GetMCR(r, 7, notched, 1);
  expect_rect(r, 0, 0, 19, 19);
  const tagPOINT in_notch{5, 16};
  EXPECT_EQ(r.Contain(in_notch), 1);
  EXPECT_EQ(Polygon_Contain_Point(notched, 7, &in_notch), 0);
  // A U-shaped ring: the base rows are widest, and growth stops below the arms' gap.
  const tagPOINT u[8] = {{0, 0}, {30, 0}, {30, 30}, {20, 30}, {20, 10}, {10, 10}, {10, 30}, {0, 30}};
  GetMCR(r, 8, u, 1);
  expect_rect(r, 0, 0, 29, 9);
}

TEST(GetMcr, ExtremeCoordinatesStayDefined) {
  const std::int32_t M = INT32_MAX, m = INT32_MIN;
  const tagPOINT top[4] = {{M - 10, M - 10}, {M, M - 10}, {M, M}, {M - 10, M}};
  KRECT r;
  GetMCR(r, 4, top, 1);
  expect_rect(r, M - 10, M - 10, M - 1, M - 1);
  GetMCR(r, 4, top, M);
  expect_rect(r, M - 10, M - 10, M - 10, M - 10);
  const tagPOINT bottom[4] = {{m, m}, {m + 10, m}, {m + 10, m + 10}, {m, m + 10}};
  // The row pass starts at -2147483647, so the row INT32_MIN never seeds;
  // the seed is (m, m + 1) and the ptMin.y side cannot step below INT32_MIN.
  GetMCR(r, 4, bottom, 3);
  expect_rect(r, m, m + 1, m + 9, m + 7);
  GetMCR(r, 4, bottom, M);
  expect_rect(r, m, m + 1, m, m + 1);
}

}  // namespace
