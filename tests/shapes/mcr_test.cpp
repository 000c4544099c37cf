// GetMCR: degenerate input, steps, the seed alone, and results inside generated polygons.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <random>

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
  const std::int32_t M = INT32_MAX, m = INT32_MIN;
  const tagPOINT top[4] = {{M - 10, M - 10}, {M, M - 10}, {M, M}, {M - 10, M}};
  const tagPOINT bottom[4] = {{m, m}, {m + 10, m}, {m + 10, m + 10}, {m, m + 10}};
  const Q empty{1, 1, 0, 0};
  const struct {
    const char* name;
    const tagPOINT* p;
    std::int32_t n, step;
    Q want;
  } cases[] = {
      {"two points", square, 2, 1, empty},
      {"no points", nullptr, 0, 1, empty},
      // Negative counts never reach the allocator.
      {"count -5", nullptr, -5, 1, empty},
      {"count INT32_MIN", nullptr, m, 1, empty},
      {"step 1", square, 4, 1, {0, 0, 9, 9}},
      {"step 0 counts as 1", square, 4, 0, {0, 0, 9, 9}},
      {"step -5 counts as 1", square, 4, -5, {0, 0, 9, 9}},
      {"step 4", square, 4, 4, {0, 0, 8, 8}},
      {"nothing fits: the seed alone", square, 4, M, {0, 0, 0, 0}},
      {"zero size, which is not empty", tiny, 3, 1, {0, 0, 0, 0}},
      {"square at the top limit", top, 4, 1, {M - 10, M - 10, M - 1, M - 1}},
      // Rows are scanned from -2147483647, so the seed row is m + 1.
      {"square at the bottom limit", bottom, 4, 3, {m, m + 1, m + 9, m + 7}},
  };
  for (const auto& c : cases) EXPECT_EQ(mcr(c.p, c.n, c.step), c.want) << c.name;
}

TEST(GetMcr, ResultIsEmptyOrHasAllFourCornersInside) {
  std::mt19937 rng(7004u);
  int non_empty = 0;
  for (int iter = 0; iter < 1500; ++iter) {
    const int n = rings::uniform(rng, 3, 20);
    const rings::Ring ring =
        iter % 3 != 0 ? rings::star(rng, n, 2, 81) : rings::random_ring(rng, n, 50);
    const std::int32_t step = rings::uniform(rng, -2, 6);
    const Q r = mcr(ring.data(), n, step);
    if (step <= 0) {
      ASSERT_EQ(r, mcr(ring.data(), n, 1)) << "step " << step << ", iteration " << iter;
    }
    if (r == Q{1, 1, 0, 0}) continue;
    ++non_empty;
    ASSERT_LE(r[0], r[2]) << "iteration " << iter;
    ASSERT_LE(r[1], r[3]) << "iteration " << iter;
    KRECT b;
    GetMBR(b, n, ring.data());
    for (const tagPOINT& c : {tagPOINT{r[0], r[1]}, {r[2], r[3]}, {r[0], r[3]}, {r[2], r[1]}}) {
      // Half-open in the bound, so never at its largest x or y; and inside by even-odd.
      ASSERT_GE(c.x, b.ptMin.x) << "corner " << c << ", iteration " << iter;
      ASSERT_LT(c.x, b.ptMax.x) << "corner " << c << ", iteration " << iter;
      ASSERT_GE(c.y, b.ptMin.y) << "corner " << c << ", iteration " << iter;
      ASSERT_LT(c.y, b.ptMax.y) << "corner " << c << ", iteration " << iter;
      ASSERT_EQ(Polygon_Contain_Point(ring.data(), n, &c), 1)
          << "corner " << c << ", iteration " << iter;
    }
  }
  EXPECT_GT(non_empty, 1000);
}

}  // namespace
