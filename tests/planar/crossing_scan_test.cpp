// Internal scan-line pieces: wrapping crossing arithmetic and the sorted,
// truncated crossing list gathered block by block.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "planar/crossing_scan.h"
#include "planar/polygon_model.h"

namespace {

namespace kd = kelvor::detail;

TEST(CrossingCoordinate, TruncatesTowardZeroFromStartAndWraps) {
  EXPECT_EQ(kd::crossing_coordinate(0, 0, 3, 10, 5), 1);   // 15 / 10
  EXPECT_EQ(kd::crossing_coordinate(3, 10, 0, 0, 5), 2);   // 3 + 15 / -10
  EXPECT_EQ(kd::crossing_coordinate(0, 0, -3, 10, 5), -1);
  EXPECT_EQ(kd::crossing_coordinate(0, 0, 65536, 131072, 65536), 0) << "product wraps";
  EXPECT_EQ(kd::crossing_coordinate(0, 1, INT32_MIN, 0, 0), INT32_MIN) << "INT32_MIN / -1 wraps";
  EXPECT_EQ(kd::crossing_coordinate(7, INT32_MIN, 7, INT32_MAX, 0), 7) << "extent wraps";
  EXPECT_EQ(kd::crossing_coordinate(5, 3, 9, 3, 3), 5) << "zero divisor stays defined";
  std::mt19937 rng(1u);
  std::uniform_int_distribution<std::int32_t> any(INT32_MIN, INT32_MAX);
  for (int k = 0; k < 5000; ++k) {
    const tagPOINT a{any(rng), any(rng)}, b{any(rng), any(rng)};
    const std::int32_t h = any(rng);
    if (a.y != b.y) {
      EXPECT_EQ(kd::crossing_coordinate(a.x, a.y, b.x, b.y, h), polytest::model_crossing(a, b, h, true));
    }
  }
}

TEST(CrossingScan, ListMatchesTruncatingModelAndIsEven) {
  std::mt19937 rng(4u);
  for (int trial = 0; trial < 400; ++trial) {
    const int n = trial % 40 == 0 ? 250 + trial / 20 : 1 + trial % 90;  // some span several blocks
    const polytest::Ring r = polytest::random_ring(rng, n, 15);
    for (std::int32_t h = -16; h <= 16; h += 2) {
      for (bool row : {true, false}) {
        std::int32_t list[kd::kCrossingListSize];
        const std::int32_t count = row ? kd::scan_row_crossings(r.data(), n, h, list)
                                       : kd::scan_column_crossings(r.data(), n, h, list);
        ASSERT_EQ(std::vector<std::int32_t>(list, list + count), polytest::model_scan(r, h, row))
            << "n=" << n << " h=" << h;
        ASSERT_EQ(count % 2, 0) << "a ring closed from where the scan stopped crosses evenly";
      }
    }
  }
  std::int32_t list[kd::kCrossingListSize];
  EXPECT_EQ(kd::scan_row_crossings(nullptr, 0, 0, list), 0) << "empty ring is never read";
  EXPECT_EQ(kd::scan_column_crossings(nullptr, -1, 0, list), 0);
  EXPECT_EQ(kd::even_odd_inside(nullptr, 0, tagPOINT{0, 0}), 0);
}

}  // namespace
