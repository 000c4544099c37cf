// GetProjectBase: foot of the perpendicular and its position code.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>

#include <kelvor/geo.h>

namespace {

struct FloatCase {
  const char* name;
  tagLonLat p, a, b;
  std::int32_t code;
  tagLonLat foot;
};

TEST(GetProjectBaseFloat, PositionCodesAndFeet) {
  const FloatCase cases[] = {
      {"P at A", {1, 1}, {1, 1}, {3, 1}, 0, {1, 1}},
      {"P at B", {3, 1}, {1, 1}, {3, 1}, 2, {3, 1}},
      {"P on the segment", {2, 1}, {1, 1}, {3, 1}, 1, {2, 1}},
      {"off the segment, foot inside", {2.5, 7}, {1, 1}, {3, 1}, 1, {2.5, 1}},
      {"foot before A", {-1, 5}, {1, 1}, {3, 1}, -1, {-1, 1}},
      {"foot beyond B", {4, -5}, {1, 1}, {3, 1}, 3, {4, 1}},
      {"above A exactly: dot 0", {1, 9}, {1, 1}, {3, 1}, 0, {1, 1}},
      {"above B exactly: dot == len2", {3, -9}, {1, 1}, {3, 1}, 2, {3, 1}},
      {"diagonal", {0, 2}, {0, 0}, {2, 2}, 1, {1, 1}},
      {"vertical", {5, 0.5}, {0, 0}, {0, 2}, 1, {0, 0.5}},
  };
  for (const FloatCase& c : cases) {
    tagLonLat f{-99, -99};
    EXPECT_EQ(GetProjectBase(c.p, c.a, c.b, f), c.code) << c.name;
    EXPECT_DOUBLE_EQ(f.lon, c.foot.lon) << c.name;
    EXPECT_DOUBLE_EQ(f.lat, c.foot.lat) << c.name;
  }
}

TEST(GetProjectBaseFloat, DegenerateSegmentLeavesTheFootAlone) {
  tagLonLat f{-99, -99};
  EXPECT_EQ(GetProjectBase({5, 5}, {1, 1}, {1 + 2.9e-06, 1 - 2.9e-06}, f), 0);
  EXPECT_EQ(f.lon, -99);
  EXPECT_EQ(f.lat, -99);
  // An extent of exactly the tolerance in one coordinate is a segment.
  const tagLonLat a{0, 0}, b{3e-06, 0};
  EXPECT_EQ(GetProjectBase({1.5e-06, 1}, a, b, f), 1);
  EXPECT_DOUBLE_EQ(f.lon, 1.5e-06);
  EXPECT_EQ(f.lat, 0);
}

TEST(GetProjectBaseFloat, PlaneIsNotCorrectedForLatitude) {
  // North-east segment at 60 degrees north: the foot is the raw-plane one.
  const tagLonLat a{10, 60}, b{11, 61}, p{11, 60};
  tagLonLat f{};
  EXPECT_EQ(GetProjectBase(p, a, b, f), 1);
  EXPECT_DOUBLE_EQ(f.lon, 10.5);
  EXPECT_DOUBLE_EQ(f.lat, 60.5);
}

TEST(GetProjectBaseFloat, FeetLieOnTheLineAndCodesFollowTheParameter) {
  std::mt19937_64 rng(2201);
  std::uniform_real_distribution<double> coord(-180.0, 180.0);
  std::uniform_real_distribution<double> offset(-1.0, 1.0);
  for (int n = 0; n < 4000; ++n) {
    const double scale = std::ldexp(1.0, -static_cast<int>(rng() % 20));  // 1 down to 2e-6 degree
    const tagLonLat a{coord(rng), coord(rng) / 2};
    const tagLonLat b{a.lon + offset(rng) * scale, a.lat + offset(rng) * scale};
    const tagLonLat p{a.lon + 3 * offset(rng) * scale, a.lat + 3 * offset(rng) * scale};
    tagLonLat f{1e300, 1e300};
    const std::int32_t code = GetProjectBase(p, a, b, f);
    if (std::fabs(a.lon - b.lon) < 3e-06 && std::fabs(a.lat - b.lat) < 3e-06) {
      ASSERT_EQ(code, 0);
      ASSERT_EQ(f.lon, 1e300);
      continue;
    }
    const double dx = b.lon - a.lon, dy = b.lat - a.lat;
    const double len = std::hypot(dx, dy);
    const double t = ((p.lon - a.lon) * dx + (p.lat - a.lat) * dy) / (len * len);
    const double eps = 1e-12 * (std::fabs(a.lon) + std::fabs(a.lat) + 1);
    // On the line: cross product with the direction vanishes.
    ASSERT_NEAR(((f.lon - a.lon) * dy - (f.lat - a.lat) * dx) / len, 0.0, eps) << n;
    // Perpendicular: P - F is orthogonal to the segment.
    ASSERT_NEAR(((p.lon - f.lon) * dx + (p.lat - f.lat) * dy) / len, 0.0, eps) << n;
    if (t < -1e-9) {
      ASSERT_EQ(code, -1) << n;
    } else if (t > 1e-9 && t < 1 - 1e-9) {
      ASSERT_EQ(code, 1) << n;
    } else if (t > 1 + 1e-9) {
      ASSERT_EQ(code, 3) << n;
    }
  }
}

TEST(GetProjectBaseBin, PositionCodesAndTruncatedFeet) {
  struct Case { const char* name; _Bin_LonLat p, a, b; std::int32_t code; _Bin_LonLat foot; };
  const Case cases[] = {
      {"P at A", {100, 100}, {100, 100}, {300, 100}, 0, {100, 100}},
      {"P at B", {300, 100}, {100, 100}, {300, 100}, 2, {300, 100}},
      {"inside", {250, 700}, {100, 100}, {300, 100}, 1, {250, 100}},
      {"before A", {-100, 5}, {100, 100}, {300, 100}, -1, {-100, 100}},
      {"beyond B", {400, -5}, {100, 100}, {300, 100}, 3, {400, 100}},
      // Foot (12.6, -4.2) truncates toward zero in both signs, not downward.
      {"toward zero", {13, -3}, {-30, 10}, {30, -10}, 1, {12, -4}},
      {"toward zero, mirrored", {-13, 3}, {-30, 10}, {30, -10}, 1, {-12, 4}},
      {"extent of 3 counts", {1, 9}, {0, 0}, {3, 0}, 1, {1, 0}},
  };
  for (const Case& c : cases) {
    _Bin_LonLat f{-99, -99};
    EXPECT_EQ(GetProjectBase(c.p, c.a, c.b, f), c.code) << c.name;
    EXPECT_EQ(f.lon, c.foot.lon) << c.name;
    EXPECT_EQ(f.lat, c.foot.lat) << c.name;
  }
}

TEST(GetProjectBaseBin, DegenerateSegmentLeavesTheFootAlone) {
  _Bin_LonLat f{-99, -99};
  EXPECT_EQ(GetProjectBase({500, 500}, {10, 10}, {12, 8}, f), 0);
  EXPECT_EQ(f.lon, -99);
  EXPECT_EQ(f.lat, -99);
  EXPECT_EQ(GetProjectBase({500, 500}, {10, 10}, {10, 10}, f), 0);
  EXPECT_EQ(f.lon, -99);
}

TEST(GetProjectBaseBin, ExtremeCoordinatesStayDefined) {
  // A foot far outside the 32-bit range saturates instead of overflowing.
  _Bin_LonLat f{};
  const _Bin_LonLat a{INT32_MAX - 10, 0}, b{INT32_MAX, 0}, p{INT32_MAX, 0};
  EXPECT_EQ(GetProjectBase(p, a, b, f), 2);
  EXPECT_EQ(GetProjectBase({INT32_MIN, 5}, {INT32_MAX, 0}, {INT32_MAX - 10, 0}, f), 3);
  EXPECT_EQ(f.lon, INT32_MIN);
  EXPECT_EQ(f.lat, 0);
}

TEST(GetProjectBaseBin, FeetAreTheTruncatedFloatingFeet) {
  std::mt19937 rng(2202);
  for (int n = 0; n < 4000; ++n) {
    auto r = [&] { return static_cast<std::int32_t>(rng() % 36000001u) - 18000000; };
    const _Bin_LonLat a{r(), r() / 2}, b{r(), r() / 2}, p{r(), r() / 2};
    const tagLonLat fa{static_cast<double>(a.lon), static_cast<double>(a.lat)};
    const tagLonLat fb{static_cast<double>(b.lon), static_cast<double>(b.lat)};
    const tagLonLat fp{static_cast<double>(p.lon), static_cast<double>(p.lat)};
    _Bin_LonLat f{};
    tagLonLat ff{};
    const std::int32_t code = GetProjectBase(p, a, b, f);
    ASSERT_EQ(GetProjectBase(fp, fa, fb, ff), code) << n;
    ASSERT_EQ(f.lon, static_cast<std::int32_t>(ff.lon)) << n;
    ASSERT_EQ(f.lat, static_cast<std::int32_t>(ff.lat)) << n;
  }
}

}  // namespace
