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
using Ring = std::vector<halvek_point>;
using Lines = std::vector<std::vector<std::int32_t>>;  // each line: its coordinate, then crossings

// Every line produced, read through state fields 3, 4 and 7; records past `cap` hold sentinels.
Lines scan(const Ring& ring, std::int32_t lo, std::int32_t hi, char dir, std::int32_t cap = -1) {
  const auto n = static_cast<std::int32_t>(ring.size());
  cap = cap < 0 ? n : cap;
  std::vector<_crossing_> w(std::size_t(cap) + 3, _crossing_{77, 77, 77, 77, 77, 77});
  _scanner_ s{w.data(), cap, 0, 0, 0, 0, 0, 0, nullptr, 0};
  init_scan(ring.data(), n, &s, lo, hi, 0, dir);
  Lines out;
  while (out.size() < 100000 && edge_scan(&s) == 0) {
    EXPECT_TRUE(s.active >= 0 && s.active + s.count <= cap) << s.line;
    out.push_back({s.line});
    for (std::int32_t i = 0; i < s.count; ++i) out.back().push_back(w.at(s.active + i).at);
  }
  EXPECT_TRUE(s.count == 0 && edge_scan(&s) != 0);       // and stays finished
  EXPECT_TRUE(s.work == w.data() && s.capacity == cap);  // the caller's fields survive
  for (std::size_t i = cap; i < w.size(); ++i) EXPECT_TRUE(w[i].first == 77 && w[i].dir == 77);
  return out;
}

// The straddle rule and the truncating formula from the start point, exact, on every line.
Lines brute(Ring ring, std::int64_t lo, std::int64_t hi, bool cols) {
  if (cols)
    for (auto& p : ring) std::swap(p.x, p.y);
  Lines out;
  for (std::int64_t h = lo; h <= hi; ++h) {
    std::vector<std::int32_t> xs{static_cast<std::int32_t>(h)};
    for (std::size_t i = 0; i < ring.size(); ++i) {
      const halvek_point &a = ring[i], &b = ring[(i + 1) % ring.size()];
      if ((a.y <= h && h < b.y) || (b.y <= h && h < a.y))
        xs.push_back(std::int32_t(a.x + (wide{b.x} - a.x) * (h - a.y) / (wide{b.y} - a.y)));
    }
    std::sort(xs.begin() + 1, xs.end());
    if (xs.size() > 1) out.push_back(xs);
  }
  return out;
}

TEST(HalvekScan, LayoutCapacityAndExtremeRings) {
  const std::size_t p = sizeof(void*);
  EXPECT_TRUE(sizeof(_crossing_) == 24 && offsetof(_crossing_, at) == 8);
  EXPECT_TRUE(offsetof(_scanner_, work) == 0 && offsetof(_scanner_, capacity) == p &&
              offsetof(_scanner_, active) == p + 4 && offsetof(_scanner_, count) == p + 8 &&
              offsetof(_scanner_, line) == p + 20);
  const Ring square = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  // Too small a capacity gives no line (columns cross two edges); rows 0..9 need only the sides.
  EXPECT_EQ(scan(square, INT32_MIN, INT32_MAX, 1, 1), Lines{});
  EXPECT_EQ(scan(square, INT32_MIN, INT32_MAX, 0, 2).size(), 10u);  // y = 10 ends both sides
  const std::int32_t M = INT32_MAX, m = INT32_MIN;
  const Ring flat = {{m, M - 3}, {M, M - 3}, {M, M}, {m, M}}, steep = {{m, m}, {M, M}, {m, M}};
  EXPECT_EQ(scan(flat, m, M, 0), (Lines{{M - 3, m, M}, {M - 2, m, M}, {M - 1, m, M}}));
  EXPECT_EQ(scan(steep, -2, 2, 0), brute(steep, -2, 2, false));  // the product needs 64 bits
  EXPECT_EQ(scan(steep, M - 2, M, 1), brute(steep, M - 2, M, true));
}

TEST(HalvekProperty, MatchesBruteForceOnRandomRings) {
  std::mt19937 rng(20261205u);
  std::uniform_int_distribution<std::int32_t> count(2, 12), coord(-40, 40);
  for (int iter = 0; iter < 1500; ++iter) {
    Ring ring(static_cast<std::size_t>(count(rng)));
    for (auto& p : ring) p = halvek_point{coord(rng), coord(rng)};
    std::int32_t lo = coord(rng), hi = coord(rng);
    if (iter % 3 == 0) std::swap(lo, hi);  // some empty ranges too
    const Lines got = scan(ring, lo, hi, static_cast<char>(iter & 1));
    ASSERT_EQ(got, brute(ring, lo, hi, iter & 1)) << "iteration " << iter;
  }
}

}  // namespace
