// Halvek scan conversion against brute-force crossings of small rings.
#include "halvek.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

namespace {

__extension__ typedef __int128 wide;  // exact reference products

struct Line {
  std::int32_t at;
  std::vector<std::int32_t> xs;
  bool operator==(const Line& o) const { return at == o.at && xs == o.xs; }
};

// Every line the scanner produces, read back through fields 3, 4 and 7.
std::vector<Line> scan(const std::vector<tagPOINT>& ring, std::int32_t lo, std::int32_t hi,
                       char direction, std::int32_t capacity = -1) {
  const auto n = static_cast<std::int32_t>(ring.size());
  std::vector<_crossing_> work(ring.size() + 1);
  _scanner_ s{};
  s.work = work.data();
  s.capacity = capacity < 0 ? n : capacity;
  init_scan(ring.data(), n, &s, lo, hi, 0, direction);
  std::vector<Line> out;
  while (edge_scan(&s) == 0) {
    Line l{s.line, {}};
    for (std::int32_t i = 0; i < s.count; ++i) l.xs.push_back(s.work[s.active + i].at);
    out.push_back(l);
    EXPECT_LE(out.size(), 100000u);
    if (out.size() > 100000u) break;
  }
  EXPECT_EQ(s.count, 0);
  return out;
}

// Reference: the straddle rule and the truncating formula from the start
// point, in 128 bits, on every line of [lo, hi]; lines without crossings are
// left out.
std::vector<Line> brute(const std::vector<tagPOINT>& ring, std::int64_t lo, std::int64_t hi,
                        bool columns) {
  std::vector<Line> out;
  const std::size_t n = ring.size();
  for (std::int64_t h = lo; h <= hi; ++h) {
    Line l{static_cast<std::int32_t>(h), {}};
    for (std::size_t i = 0; i < n; ++i) {
      const tagPOINT& a = ring[i];
      const tagPOINT& b = ring[(i + 1) % n];
      const std::int64_t a1 = columns ? a.x : a.y, b1 = columns ? b.x : b.y;
      const std::int64_t a2 = columns ? a.y : a.x, b2 = columns ? b.y : b.x;
      if (!((a1 <= h && h < b1) || (b1 <= h && h < a1))) continue;
      const wide num = static_cast<wide>(b2 - a2) * (h - a1);
      l.xs.push_back(static_cast<std::int32_t>(a2 + static_cast<std::int64_t>(num / (b1 - a1))));
    }
    std::sort(l.xs.begin(), l.xs.end());
    if (!l.xs.empty()) out.push_back(l);
  }
  return out;
}

const std::vector<tagPOINT> kSquare = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};

TEST(HalvekLayout, RecordsKeepTheirFieldPositions) {
  EXPECT_EQ(sizeof(_crossing_), 24u);
  EXPECT_EQ(offsetof(_crossing_, at), 8u);
  const std::size_t ptr = sizeof(void*);
  EXPECT_EQ(offsetof(_scanner_, work), 0u);
  EXPECT_EQ(offsetof(_scanner_, capacity), ptr);
  EXPECT_EQ(offsetof(_scanner_, active), ptr + 4);
  EXPECT_EQ(offsetof(_scanner_, count), ptr + 8);
  EXPECT_EQ(offsetof(_scanner_, line), ptr + 20);
}

TEST(HalvekScan, SquareRowsExcludeTheTopLine) {
  const auto rows = scan(kSquare, INT32_MIN, INT32_MAX, 0);
  ASSERT_EQ(rows.size(), 10u);  // y = 0 .. 9; y = 10 is the upper end of both sides
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].at, static_cast<std::int32_t>(i));
    EXPECT_EQ(rows[i].xs, (std::vector<std::int32_t>{0, 10}));
  }
}

TEST(HalvekScan, ColumnsGiveYValuesAndHonourBounds) {
  const auto cols = scan(kSquare, 3, 5, 1);
  ASSERT_EQ(cols.size(), 3u);
  EXPECT_EQ(cols[0].at, 3);
  EXPECT_EQ(cols[2].at, 5);
  EXPECT_EQ(cols[1].xs, (std::vector<std::int32_t>{0, 10}));
}

TEST(HalvekScan, CrossingIsTruncatedFromTheStartPoint) {
  // Edge (10,0)->(0,3) at y = 1: 10 + (-10 * 1) / 3 = 10 - 3 = 7 (not 6.67 -> 6).
  const std::vector<tagPOINT> tri = {{0, 0}, {10, 0}, {0, 3}};
  const auto rows = scan(tri, 1, 1, 0);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].xs, (std::vector<std::int32_t>{0, 7}));
}

TEST(HalvekScan, ClosedRingGivesTheSameLines) {
  std::vector<tagPOINT> closed = kSquare;
  closed.push_back(kSquare[0]);
  EXPECT_EQ(scan(closed, INT32_MIN, INT32_MAX, 0), scan(kSquare, INT32_MIN, INT32_MAX, 0));
  EXPECT_EQ(scan(closed, INT32_MIN, INT32_MAX, 1), scan(kSquare, INT32_MIN, INT32_MAX, 1));
}

TEST(HalvekScan, DegenerateInputProducesNoLine) {
  _crossing_ work[4];
  _scanner_ s{};
  s.work = work;
  s.capacity = 4;
  init_scan(kSquare.data(), 1, &s, INT32_MIN, INT32_MAX, 0, 0);
  EXPECT_NE(edge_scan(&s), 0);
  init_scan(nullptr, 4, &s, INT32_MIN, INT32_MAX, 0, 0);
  EXPECT_NE(edge_scan(&s), 0);
  init_scan(kSquare.data(), 4, &s, 5, 4, 0, 0);  // lo > hi
  EXPECT_NE(edge_scan(&s), 0);
  init_scan(kSquare.data(), 4, &s, 20, 30, 0, 0);  // range misses the ring
  EXPECT_NE(edge_scan(&s), 0);
  EXPECT_NE(edge_scan(&s), 0);  // stays finished
  EXPECT_NE(edge_scan(nullptr), 0);
  init_scan(kSquare.data(), 4, nullptr, 0, 1, 0, 0);  // ignored, no crash
  EXPECT_EQ(s.work, work);  // the caller's fields survive every init_scan
  EXPECT_EQ(s.capacity, 4);
}

TEST(HalvekScan, NeverWritesPastCapacity) {
  std::vector<_crossing_> work(6);
  for (auto& r : work) r = _crossing_{77, 77, 77, 77, 77, 77};
  _scanner_ s{};
  s.work = work.data();
  s.capacity = 1;  // the square's columns cross two edges (bottom and top)
  init_scan(kSquare.data(), 4, &s, INT32_MIN, INT32_MAX, 0, 1);
  EXPECT_NE(edge_scan(&s), 0);
  for (std::size_t i = 1; i < work.size(); ++i) EXPECT_EQ(work[i].first, 77);
  // Only edges meeting the range are entered: rows 0..9 of the square need
  // just its two vertical sides.
  s.capacity = 2;
  init_scan(kSquare.data(), 4, &s, 0, 9, 0, 0);
  EXPECT_EQ(edge_scan(&s), 0);
  EXPECT_EQ(s.count, 2);
}

TEST(HalvekScan, RestartsAfterANewInit) {
  std::vector<_crossing_> work(4);
  _scanner_ s{};
  s.work = work.data();
  s.capacity = 4;
  init_scan(kSquare.data(), 4, &s, 0, 9, 0, 0);
  ASSERT_EQ(edge_scan(&s), 0);
  ASSERT_EQ(edge_scan(&s), 0);
  EXPECT_EQ(s.line, 1);
  init_scan(kSquare.data(), 4, &s, 7, 9, 0, 1);
  ASSERT_EQ(edge_scan(&s), 0);
  EXPECT_EQ(s.line, 7);
}

TEST(HalvekScan, ExtremeCoordinatesNeitherOverflowNorLoop) {
  const std::vector<tagPOINT> ring = {
      {INT32_MIN, INT32_MAX - 3}, {INT32_MAX, INT32_MAX - 3}, {INT32_MAX, INT32_MAX}, {INT32_MIN, INT32_MAX}};
  const auto rows = scan(ring, INT32_MIN, INT32_MAX, 0);
  EXPECT_EQ(rows, brute(ring, INT32_MAX - 3, INT32_MAX - 1, false));
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].xs, (std::vector<std::int32_t>{INT32_MIN, INT32_MAX}));
  // A steep edge spanning the whole range: the product needs 64 bits.
  const std::vector<tagPOINT> steep = {{INT32_MIN, INT32_MIN}, {INT32_MAX, INT32_MAX}, {INT32_MIN, INT32_MAX}};
  const std::int32_t lo = -2, hi = 2;
  EXPECT_EQ(scan(steep, lo, hi, 0), brute(steep, lo, hi, false));
  EXPECT_EQ(scan(steep, lo, hi, 1), brute(steep, lo, hi, true));
  EXPECT_EQ(scan(steep, INT32_MAX - 2, INT32_MAX, 1), brute(steep, INT32_MAX - 2, INT32_MAX, true));
}

TEST(HalvekProperty, MatchesBruteForceOnRandomRings) {
  std::mt19937 rng(20261205u);
  std::uniform_int_distribution<int> count(2, 12);
  std::uniform_int_distribution<std::int32_t> coord(-40, 40);
  for (int iter = 0; iter < 1500; ++iter) {
    std::vector<tagPOINT> ring(static_cast<std::size_t>(count(rng)));
    for (auto& p : ring) p = tagPOINT{coord(rng), coord(rng)};
    std::int32_t lo = coord(rng), hi = coord(rng);
    if (iter % 3 == 0) std::swap(lo, hi);  // some empty ranges too
    const bool columns = (iter & 1) != 0;
    const auto got = scan(ring, lo, hi, columns ? 1 : 0);
    ASSERT_EQ(got, brute(ring, lo, hi, columns)) << "iteration " << iter;
    for (const Line& l : got) {
      EXPECT_TRUE(std::is_sorted(l.xs.begin(), l.xs.end()));
      EXPECT_EQ(l.xs.size() % 2, 0u);  // a closed ring crosses each line an even number of times
    }
  }
}

}  // namespace
