// Internal scan-line pieces: wrapping crossing arithmetic and the truncated crossing list.
#include "crossing_scan.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "support/models.h"
#include "support/rings.h"

namespace {

namespace kd = kelvor::detail;
using model::I32;

TEST(CrossingCoordinate, TruncatesTowardZeroFromStartAndWraps) {
  EXPECT_EQ(kd::wrapping_crossing(0, 0, 65536, 131072, 65536), 0) << "product wraps";
  EXPECT_EQ(kd::wrapping_crossing(0, 1, INT32_MIN, 0, 0), INT32_MIN) << "INT32_MIN / -1";
  std::mt19937 rng(1u);
  std::uniform_int_distribution<I32> any(INT32_MIN, INT32_MAX);
  for (int k = 0; k < 5000; ++k) {
    const tagPOINT a{any(rng), any(rng)}, b{any(rng), any(rng)};
    const I32 h = any(rng);
    if (a.y == b.y) continue;
    ASSERT_EQ(kd::wrapping_crossing(a.x, a.y, b.x, b.y, h), model::wrapping_crossing(a, b, h, true))
        << a << "-" << b << " on row " << h;
  }
}

TEST(CrossingScan, ListMatchesTruncatingModelAndIsEven) {
  std::mt19937 rng(4u);
  I32 list[kd::kCrossingListSize];
  for (int trial = 0; trial < 400; ++trial) {
    const int n = trial % 40 == 0 ? 250 + trial / 20 : 1 + trial % 90;  // some span several blocks
    const rings::Ring r = rings::random_ring(rng, n, 15);
    for (I32 h = -16; h <= 16; h += 2) {
      for (bool row : {true, false}) {
        const I32 count = row ? kd::scan_crossings<kd::Row>(r.data(), n, h, list)
                              : kd::scan_crossings<kd::Column>(r.data(), n, h, list);
        ASSERT_EQ(std::vector<I32>(list, list + count), model::scan(r.data(), n, h, row))
            << "trial " << trial << (row ? ", row " : ", column ") << h;
        ASSERT_EQ(count % 2, 0) << "a ring closed from where the scan stopped crosses evenly; "
                                << "trial " << trial << (row ? ", row " : ", column ") << h;
      }
    }
  }
  EXPECT_EQ(kd::scan_crossings<kd::Row>(nullptr, 0, 0, list), 0) << "empty ring is never read";
  EXPECT_EQ(kd::scan_crossings<kd::Column>(nullptr, -1, 0, list), 0) << "negative count";
}

}  // namespace
