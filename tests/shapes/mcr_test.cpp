// GetMCR: degenerate input, steps, the seed alone, and results inside generated polygons.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include "shapes/samples.h"

namespace {

using samples::Q;

Q mcr(const tagPOINT* p, std::int32_t n, std::int32_t step) {
  KRECT r(3, 3, 4, 4);
  GetMCR(r, n, p, step);
  return samples::q(r);
}

TEST(GetMcr, DegenerateInputStepsAndTheSeedAlone) {
  const tagPOINT square[4] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  const tagPOINT tiny[3] = {{0, 0}, {1, 0}, {0, 1}};
  for (std::int32_t n : {2, 0, -5, INT32_MIN})  // negative counts never reach the allocator
    EXPECT_EQ(mcr(n == 2 ? square : nullptr, n, 1), (Q{1, 1, 0, 0})) << n;
  for (std::int32_t step : {1, 0, -5}) EXPECT_EQ(mcr(square, 4, step), (Q{0, 0, 9, 9})) << step;
  EXPECT_EQ(mcr(square, 4, 4), (Q{0, 0, 8, 8}));
  EXPECT_EQ(mcr(square, 4, INT32_MAX), (Q{0, 0, 0, 0}));  // nothing fits: the seed alone
  EXPECT_EQ(mcr(tiny, 3, 1), (Q{0, 0, 0, 0}));  // zero size, which is not empty
  const std::int32_t M = INT32_MAX, m = INT32_MIN;
  const tagPOINT top[4] = {{M - 10, M - 10}, {M, M - 10}, {M, M}, {M - 10, M}};
  const tagPOINT bottom[4] = {{m, m}, {m + 10, m}, {m + 10, m + 10}, {m, m + 10}};
  EXPECT_EQ(mcr(top, 4, 1), (Q{M - 10, M - 10, M - 1, M - 1}));
  EXPECT_EQ(mcr(bottom, 4, 3), (Q{m, m + 1, m + 9, m + 7}));  // rows start at -2147483647
}

TEST(GetMcr, ResultIsEmptyOrHasAllFourCornersInside) {
  std::mt19937 rng(7004u);
  int non_empty = 0;
  for (int iter = 0; iter < 1500; ++iter) {
    auto ring = samples::ring(rng, iter % 3 != 0, samples::uniform(rng, 3, 20), iter % 3 ? 80 : 50);
    const std::int32_t n = samples::size(ring), step = samples::uniform(rng, -2, 6);
    const Q r = mcr(ring.data(), n, step);
    if (step <= 0) {
      ASSERT_EQ(r, mcr(ring.data(), n, 1)) << iter;
    }
    KRECT b;
    GetMBR(b, n, ring.data());
    if (r == Q{1, 1, 0, 0}) continue;
    ++non_empty;
    ASSERT_TRUE(r[0] <= r[2] && r[1] <= r[3]) << iter;
    for (const tagPOINT& c : {tagPOINT{r[0], r[1]}, {r[2], r[3]}, {r[0], r[3]}, {r[2], r[1]}}) {
      // Half-open in the bound, so never at its largest x or y; and inside by even-odd.
      ASSERT_TRUE(b.ptMin.x <= c.x && c.x < b.ptMax.x && b.ptMin.y <= c.y && c.y < b.ptMax.y)
          << iter;
      ASSERT_NE(Polygon_Contain_Point(ring.data(), n, &c), 0) << iter;
    }
  }
  EXPECT_GT(non_empty, 1000);
}

}  // namespace
