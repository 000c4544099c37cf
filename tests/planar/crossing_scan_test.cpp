// Internal scan-line pieces: crossing coordinate arithmetic at the edges of
// the 32-bit range, the exchange sort, the block-wise straddle visitor, and
// the truncated crossing list with its closing edge.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "planar/crossing_scan.h"
#include "planar/polygon_model.h"

namespace {

using kelvor::detail::crossing_coordinate;

TEST(CrossingCoordinate, TruncatesTowardZeroFromTheStart) {
  // (0,0)-(3,10) at y = 5: 15 / 10 = 1; (3,10)-(0,0): 3 + 15 / -10 = 2.
  EXPECT_EQ(crossing_coordinate(0, 0, 3, 10, 5), 1);
  EXPECT_EQ(crossing_coordinate(3, 10, 0, 0, 5), 2);
  EXPECT_EQ(crossing_coordinate(0, 0, -3, 10, 5), -1);
}

TEST(CrossingCoordinate, WrapsWithoutTrapping) {
  // Product wraps: 65536 * 65536 is 0 in 32 bits.
  EXPECT_EQ(crossing_coordinate(0, 0, 65536, 131072, 65536), 0);
  // Divisor -1 with a numerator of INT32_MIN: the quotient wraps to INT32_MIN.
  EXPECT_EQ(crossing_coordinate(0, 1, INT32_MIN, 0, 0), INT32_MIN);
  // Extent wider than 31 bits: b - a wraps to -1.
  EXPECT_EQ(crossing_coordinate(7, INT32_MIN, 7, INT32_MAX, 0), 7);
  // Zero divisor cannot straddle; it stays defined.
  EXPECT_EQ(crossing_coordinate(5, 3, 9, 3, 3), 5);
}

TEST(CrossingCoordinate, MatchesSixtyFourBitModel) {
  std::mt19937 rng(1u);
  std::uniform_int_distribution<std::int32_t> any(INT32_MIN, INT32_MAX);
  for (int k = 0; k < 5000; ++k) {
    const tagPOINT a{any(rng), any(rng)}, b{any(rng), any(rng)};
    if (a.y == b.y) continue;
    const std::int32_t h = any(rng);
    EXPECT_EQ(crossing_coordinate(a.x, a.y, b.x, b.y, h), polytest::model_crossing(a, b, h, true));
  }
}

TEST(SortCrossings, AscendingSigned) {
  std::mt19937 rng(2u);
  std::uniform_int_distribution<std::int32_t> any(INT32_MIN, INT32_MAX);
  for (int count = 0; count <= 31; ++count) {
    std::vector<std::int32_t> v(static_cast<std::size_t>(count));
    for (auto& e : v) e = (count % 3 == 0) ? any(rng) % 5 : any(rng);
    std::vector<std::int32_t> want = v;
    std::sort(want.begin(), want.end());
    kelvor::detail::Sort_Crossings(v.data(), count);
    EXPECT_EQ(v, want);
  }
}

TEST(StraddleVisitor, MatchesPlainLoopAcrossBlocksAndStopsWhereAsked) {
  std::mt19937 rng(3u);
  for (int n : {0, 1, 2, 3, 9, 255, 256, 257, 258, 511, 1000}) {
    const polytest::Ring r = polytest::random_ring(rng, n, 20);
    for (std::int32_t h = -21; h <= 21; h += 3) {
      std::vector<std::int32_t> want;
      for (int i = 0; i + 1 < n; ++i)
        if (polytest::model_straddles(r[i], r[i + 1], h, true)) want.push_back(i);
      std::vector<std::int32_t> got;
      const std::int32_t end = kelvor::detail::for_each_straddling_edge<kelvor::detail::Row>(
          r.data(), n, h, [&](std::int32_t i) {
            got.push_back(i);
            return true;
          });
      EXPECT_EQ(got, want) << "n=" << n << " h=" << h;
      EXPECT_EQ(end, n < 1 ? 0 : n - 1);
      if (want.size() >= 3) {
        std::int32_t seen = 0;
        const std::int32_t stop = kelvor::detail::for_each_straddling_edge<kelvor::detail::Row>(
            r.data(), n, h, [&](std::int32_t) { return ++seen < 3; });
        EXPECT_EQ(seen, 3);
        EXPECT_EQ(stop, want[2] + 1) << "ends at the stopping edge's end point";
      }
    }
  }
}

TEST(CrossingScan, ListMatchesModelAndIsEven) {
  std::mt19937 rng(4u);
  for (int trial = 0; trial < 400; ++trial) {
    const int n = 1 + trial % 90;
    const polytest::Ring r = polytest::random_ring(rng, n, 15);
    for (std::int32_t h = -16; h <= 16; h += 2) {
      for (bool row : {true, false}) {
        std::int32_t list[kelvor::detail::kCrossingListSize];
        const std::int32_t count = row ? kelvor::detail::scan_row_crossings(r.data(), n, h, list)
                                       : kelvor::detail::scan_column_crossings(r.data(), n, h, list);
        const auto want = polytest::model_scan(r, h, row);
        ASSERT_EQ(std::vector<std::int32_t>(list, list + count), want) << "n=" << n << " h=" << h;
        ASSERT_LE(count, 30) << "a truncated ring is closed from where the scan stopped";
        ASSERT_EQ(count % 2, 0) << "every ring crosses a line an even number of times";
      }
    }
  }
}

TEST(CrossingScan, EmptyRingIsNeverRead) {
  std::int32_t list[kelvor::detail::kCrossingListSize];
  EXPECT_EQ(kelvor::detail::scan_row_crossings(nullptr, 0, 0, list), 0);
  EXPECT_EQ(kelvor::detail::scan_column_crossings(nullptr, -1, 0, list), 0);
  EXPECT_EQ(kelvor::detail::even_odd_inside(nullptr, 0, tagPOINT{0, 0}), 0);
}

TEST(FirstSpanMet, RuleAndOddTail) {
  const std::int32_t list[] = {0, 10, 20, 30, 40};
  EXPECT_EQ(kelvor::detail::first_span_met(list, 5, 12, 18), -1);
  EXPECT_EQ(kelvor::detail::first_span_met(list, 5, -5, 40), 0);
  EXPECT_EQ(kelvor::detail::first_span_met(list, 5, 15, 25), 2);
  EXPECT_EQ(kelvor::detail::first_span_met(list, 5, 35, 50), -1) << "odd last entry is no span";
  EXPECT_EQ(kelvor::detail::first_span_met(list, 5, 40, 50), -1);
}

}  // namespace
