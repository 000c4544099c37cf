// Halvek scan conversion against brute-force crossings of small rings.
#include "halvek.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

namespace {

__extension__ typedef __int128 wide;  // exact reference products
using Ring = std::vector<halvek_point>;
using Lines = std::vector<std::vector<std::int32_t>>;  // each line: its coordinate, then crossings

std::array<std::int32_t, 6> Fields(const _crossing_& c) {
  return {c.first, c.last, c.at, c.from, c.to, c.dir};
}

// Every line produced, read through state fields 3, 4 and 7; records past `cap` hold sentinels.
Lines scan(const Ring& ring, std::int32_t lo, std::int32_t hi, char dir, std::int32_t cap = -1) {
  const auto n = static_cast<std::int32_t>(ring.size());
  cap = cap < 0 ? n : cap;
  std::vector<_crossing_> w(std::size_t(cap) + 3, _crossing_{77, 77, 77, 77, 77, 77});
  _scanner_ s{w.data(), cap, 0, 0, 0, 0, 0, 0, nullptr, 0};
  init_scan(ring.data(), n, &s, lo, hi, 0, dir);
  Lines out;
  while (out.size() < 100000 && edge_scan(&s) == 0) {
    EXPECT_GE(s.active, 0) << "line " << s.line;
    EXPECT_LE(s.active + s.count, cap) << "line " << s.line;
    out.push_back({s.line});
    for (std::int32_t i = 0; i < s.count; ++i) out.back().push_back(w.at(s.active + i).at);
  }
  EXPECT_EQ(s.count, 0) << "finished";
  EXPECT_NE(edge_scan(&s), 0) << "stays finished";
  EXPECT_EQ(s.work, w.data()) << "the caller's work array survives";
  EXPECT_EQ(s.capacity, cap) << "the caller's capacity survives";
  for (std::size_t i = cap; i < w.size(); ++i) {
    EXPECT_EQ(Fields(w[i]), Fields(_crossing_{77, 77, 77, 77, 77, 77})) << "record " << i;
  }
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
  const struct {
    const char* name;
    std::size_t got, want;
  } layout[] = {
      {"sizeof(_crossing_)", sizeof(_crossing_), 24},
      {"_crossing_::at", offsetof(_crossing_, at), 8},
      {"_scanner_::work", offsetof(_scanner_, work), 0},
      {"_scanner_::capacity", offsetof(_scanner_, capacity), p},
      {"_scanner_::active", offsetof(_scanner_, active), p + 4},
      {"_scanner_::count", offsetof(_scanner_, count), p + 8},
      {"_scanner_::line", offsetof(_scanner_, line), p + 20},
  };
  for (const auto& f : layout) EXPECT_EQ(f.got, f.want) << f.name;
  const Ring square = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  // Too small a capacity gives no line (columns cross two edges); rows 0..9 need only the sides.
  EXPECT_EQ(scan(square, INT32_MIN, INT32_MAX, 1, 1), Lines{}) << "columns, capacity 1";
  EXPECT_EQ(scan(square, INT32_MIN, INT32_MAX, 0, 2).size(), 10u) << "rows, capacity 2";
  const std::int32_t M = INT32_MAX, m = INT32_MIN;
  const Ring flat = {{m, M - 3}, {M, M - 3}, {M, M}, {m, M}}, steep = {{m, m}, {M, M}, {m, M}};
  EXPECT_EQ(scan(flat, m, M, 0), (Lines{{M - 3, m, M}, {M - 2, m, M}, {M - 1, m, M}}))
      << "flat ring at the top";
  EXPECT_EQ(scan(steep, -2, 2, 0), brute(steep, -2, 2, false)) << "the product needs 64 bits";
  EXPECT_EQ(scan(steep, M - 2, M, 1), brute(steep, M - 2, M, true)) << "columns at the top";
}

TEST(HalvekProperty, MatchesBruteForceOnRandomRings) {
  std::mt19937 rng(20261205u);
  std::uniform_int_distribution<std::int32_t> count(2, 12), coord(-40, 40);
  for (int iter = 0; iter < 1500; ++iter) {
    SCOPED_TRACE(testing::Message() << "iteration " << iter);
    Ring ring(static_cast<std::size_t>(count(rng)));
    for (auto& p : ring) p = halvek_point{coord(rng), coord(rng)};
    std::int32_t lo = coord(rng), hi = coord(rng);
    if (iter % 3 == 0) std::swap(lo, hi);  // some empty ranges too
    const Lines got = scan(ring, lo, hi, static_cast<char>(iter & 1));
    ASSERT_EQ(got, brute(ring, lo, hi, iter & 1));
  }
}

}  // namespace
