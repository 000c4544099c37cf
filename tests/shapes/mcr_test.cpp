// GetMCR: degenerate input, steps, growth order, seeds, and results inside generated polygons.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include "shapes/samples.h"

namespace {

using samples::Q;
using samples::q;

const tagPOINT kSquare[4] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};

Q mcr(const tagPOINT* p, std::int32_t n, std::int32_t step) {
  KRECT r(3, 3, 4, 4);
  GetMCR(r, n, p, step);
  return q(r);
}

TEST(GetMcr, DegenerateInputGivesTheCanonicalEmpty) {
  for (std::int32_t n : {2, 0, -5, INT32_MIN})  // negative counts never reach the allocator
    EXPECT_EQ(mcr(n == 2 ? kSquare : nullptr, n, 1), (Q{1, 1, 0, 0})) << n;
  const tagPOINT flat[3] = {{0, 5}, {10, 5}, {20, 5}};
  EXPECT_EQ(mcr(flat, 3, 1), (Q{1, 1, 0, 0}));  // no span of positive length
  // Widest row y = 0 spans x in [0, 10); tallest column x = -1 lies beyond it: the seed is outside.
  const tagPOINT tower[7] = {{0, 0}, {10, 0}, {10, 1}, {0, 1}, {0, 100}, {-1, 100}, {-1, 1}};
  EXPECT_EQ(mcr(tower, 7, 1), (Q{1, 1, 0, 0}));
}

TEST(GetMcr, StepsAndTheFixedGrowthOrder) {
  for (std::int32_t step : {1, 0, -5}) EXPECT_EQ(mcr(kSquare, 4, step), (Q{0, 0, 9, 9})) << step;
  EXPECT_EQ(mcr(kSquare, 4, 4), (Q{0, 0, 8, 8}));
  EXPECT_EQ(mcr(kSquare, 4, INT32_MAX), (Q{0, 0, 0, 0}));  // nothing fits: the seed alone
  const tagPOINT tiny[3] = {{0, 0}, {1, 0}, {0, 1}};
  EXPECT_EQ(mcr(tiny, 3, 1), (Q{0, 0, 0, 0}));  // zero size, which is not empty
  // Along a hypotenuse the ptMax.x side moves before ptMax.y, ptMin.x before ptMin.y.
  const tagPOINT tri[3] = {{0, 0}, {10, 0}, {0, 10}}, mirrored[3] = {{10, 10}, {0, 10}, {10, 0}};
  EXPECT_EQ(mcr(tri, 3, 1), (Q{0, 0, 5, 4}));
  EXPECT_EQ(mcr(mirrored, 3, 1), (Q{5, 5, 9, 9}));
  const std::int32_t M = INT32_MAX, m = INT32_MIN;
  const tagPOINT top[4] = {{M - 10, M - 10}, {M, M - 10}, {M, M}, {M - 10, M}};
  const tagPOINT bottom[4] = {{m, m}, {m + 10, m}, {m + 10, m + 10}, {m, m + 10}};
  EXPECT_EQ(mcr(top, 4, 1), (Q{M - 10, M - 10, M - 1, M - 1}));
  EXPECT_EQ(mcr(bottom, 4, 3), (Q{m, m + 1, m + 9, m + 7}));  // rows start at -2147483647
  // Only corners are tested, so the result may cover a notch.
  const tagPOINT notched[7] = {{0, 0}, {20, 0}, {20, 20}, {6, 20}, {5, 12}, {4, 20}, {0, 20}}, in_notch{5, 16};
  EXPECT_EQ(mcr(notched, 7, 1), (Q{0, 0, 19, 19}));
  EXPECT_EQ(Polygon_Contain_Point(notched, 7, &in_notch), 0);
}

TEST(GetMcr, ResultIsEmptyOrHasAllFourCornersInside) {
  std::mt19937 rng(7004u);
  int non_empty = 0;
  for (int iter = 0; iter < 1500; ++iter) {
    auto ring = samples::ring(rng, iter % 3 != 0, samples::uniform(rng, 3, 20), iter % 3 ? 80 : 50);
    const Q r = mcr(ring.data(), samples::size(ring), samples::uniform(rng, -2, 6));
    KRECT b;
    GetMBR(b, samples::size(ring), ring.data());
    if (r == Q{1, 1, 0, 0}) continue;
    ++non_empty;
    ASSERT_TRUE(r[0] <= r[2] && r[1] <= r[3]) << iter;
    for (const tagPOINT& c : {tagPOINT{r[0], r[1]}, tagPOINT{r[2], r[3]}, tagPOINT{r[0], r[3]}, tagPOINT{r[2], r[1]}}) {
      ASSERT_TRUE(b.ptMin.x <= c.x && c.x < b.ptMax.x && b.ptMin.y <= c.y && c.y < b.ptMax.y) << iter;  // half-open
      ASSERT_NE(Polygon_Contain_Point(ring.data(), samples::size(ring), &c), 0) << iter;
    }
  }
  EXPECT_GT(non_empty, 1000);
}

}  // namespace
