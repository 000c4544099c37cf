// Halvek scan conversion against brute-force crossings of small rings.
#include "halvek.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

namespace {

__extension__ typedef __int128 wide;  // exact reference products
using Ring = std::vector<tagPOINT>;
using Lines = std::vector<std::vector<std::int32_t>>;  // each line: its coordinate, then its crossings

// Every line produced, read through state fields 3, 4 and 7; records past `capacity` hold sentinels.
Lines scan(const Ring& ring, std::int32_t lo, std::int32_t hi, char dir, std::int32_t capacity = -1) {
  const auto n = static_cast<std::int32_t>(ring.size());
  capacity = capacity < 0 ? n : capacity;
  std::vector<_crossing_> work(static_cast<std::size_t>(capacity) + 3, _crossing_{77, 77, 77, 77, 77, 77});
  _scanner_ s{work.data(), capacity, 0, 0, 0, 0, 0, 0, nullptr, 0};
  init_scan(ring.data(), n, &s, lo, hi, 0, dir);
  Lines out;
  while (out.size() < 100000 && edge_scan(&s) == 0) {
    out.push_back({s.line});
    for (std::int32_t i = 0; i < s.count; ++i) out.back().push_back(work[s.active + i].at);
  }
  EXPECT_EQ(s.count, 0);
  EXPECT_NE(edge_scan(&s), 0);  // stays finished
  EXPECT_TRUE(s.work == work.data() && s.capacity == capacity);  // the caller's fields survive
  for (std::size_t i = capacity; i < work.size(); ++i) EXPECT_TRUE(work[i].first == 77 && work[i].dir == 77) << i;
  return out;
}

// The straddle rule and the truncating formula from the start point, exact, on every line of [lo, hi].
Lines brute(const Ring& ring, std::int64_t lo, std::int64_t hi, bool cols) {
  Lines out;
  for (std::int64_t h = lo; h <= hi; ++h) {
    std::vector<std::int32_t> xs{static_cast<std::int32_t>(h)};
    for (std::size_t i = 0; i < ring.size(); ++i) {
      const tagPOINT &a = ring[i], &b = ring[(i + 1) % ring.size()];
      const std::int64_t a1 = cols ? a.x : a.y, b1 = cols ? b.x : b.y, a2 = cols ? a.y : a.x, b2 = cols ? b.y : b.x;
      if ((a1 <= h && h < b1) || (b1 <= h && h < a1))
        xs.push_back(static_cast<std::int32_t>(a2 + static_cast<std::int64_t>(wide{b2 - a2} * (h - a1) / (b1 - a1))));
    }
    std::sort(xs.begin() + 1, xs.end());
    if (xs.size() > 1) out.push_back(xs);
  }
  return out;
}

const Ring kSquare = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};

TEST(HalvekLayout, RecordsKeepTheirFieldPositions) {
  const std::size_t p = sizeof(void*);
  EXPECT_TRUE(sizeof(_crossing_) == 24 && offsetof(_crossing_, at) == 8 && offsetof(_scanner_, work) == 0);
  EXPECT_EQ((std::vector<std::size_t>{offsetof(_scanner_, capacity), offsetof(_scanner_, active),
                                      offsetof(_scanner_, count), offsetof(_scanner_, line)}),
            (std::vector<std::size_t>{p, p + 4, p + 8, p + 20}));
}

TEST(HalvekScan, FixedDegenerateAndExtremeRings) {
  const Lines rows = scan(kSquare, INT32_MIN, INT32_MAX, 0);
  ASSERT_EQ(rows.size(), 10u);  // y = 10 is the upper end of both sides
  EXPECT_EQ(rows.back(), (std::vector<std::int32_t>{9, 0, 10}));
  // Edge (10,0)->(0,3) at y = 1: 10 + (-10 * 1) / 3 = 7, not 6.67 truncated to 6.
  EXPECT_EQ(scan({{0, 0}, {10, 0}, {0, 3}}, 1, 1, 0), (Lines{{1, 0, 7}}));
  const Ring closed = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}};
  EXPECT_EQ(scan(closed, INT32_MIN, INT32_MAX, 1), scan(kSquare, INT32_MIN, INT32_MAX, 1));
  // Too small a capacity gives no line (columns cross two edges); rows 0..9 need only the two sides.
  EXPECT_EQ(scan(kSquare, INT32_MIN, INT32_MAX, 1, 1), Lines{});
  EXPECT_EQ(scan(kSquare, 0, 9, 0, 2).size(), 10u);
  EXPECT_EQ(scan({{0, 0}}, INT32_MIN, INT32_MAX, 0), Lines{});
  _crossing_ work[4];
  _scanner_ s{work, 4, 0, 0, 0, 0, 0, 0, nullptr, 0};
  init_scan(nullptr, 4, &s, INT32_MIN, INT32_MAX, 0, 0);
  EXPECT_NE(edge_scan(&s), 0);
  EXPECT_NE(edge_scan(nullptr), 0);
  init_scan(kSquare.data(), 4, nullptr, 0, 1, 0, 0);  // ignored
  init_scan(kSquare.data(), 4, &s, 0, 9, 0, 0);
  ASSERT_TRUE(edge_scan(&s) == 0 && edge_scan(&s) == 0 && s.line == 1);
  init_scan(kSquare.data(), 4, &s, 7, 9, 0, 1);  // a new init starts afresh
  ASSERT_TRUE(edge_scan(&s) == 0 && s.line == 7);
  // Extreme coordinates neither overflow nor loop.
  const std::int32_t M = INT32_MAX, m = INT32_MIN;
  const Ring flat = {{m, M - 3}, {M, M - 3}, {M, M}, {m, M}}, steep = {{m, m}, {M, M}, {m, M}};
  EXPECT_EQ(scan(flat, m, M, 0), (Lines{{M - 3, m, M}, {M - 2, m, M}, {M - 1, m, M}}));
  EXPECT_EQ(scan(steep, -2, 2, 0), brute(steep, -2, 2, false));  // the product needs 64 bits
  EXPECT_EQ(scan(steep, -2, 2, 1), brute(steep, -2, 2, true));
  EXPECT_EQ(scan(steep, M - 2, M, 1), brute(steep, M - 2, M, true));
}

TEST(HalvekProperty, MatchesBruteForceOnRandomRings) {
  std::mt19937 rng(20261205u);
  std::uniform_int_distribution<std::int32_t> count(2, 12), coord(-40, 40);
  for (int iter = 0; iter < 1500; ++iter) {
    Ring ring(static_cast<std::size_t>(count(rng)));
    for (auto& p : ring) p = tagPOINT{coord(rng), coord(rng)};
    std::int32_t lo = coord(rng), hi = coord(rng);
    if (iter % 3 == 0) std::swap(lo, hi);  // some empty ranges too
    const Lines got = scan(ring, lo, hi, static_cast<char>(iter & 1));
    ASSERT_EQ(got, brute(ring, lo, hi, iter & 1)) << "iteration " << iter;
    for (const auto& l : got) ASSERT_EQ(l.size() % 2, 1u);  // a closed ring crosses each line evenly often
  }
}

}  // namespace
