// GetProjectBase, GetAbsoluteAngle, GetSharpAngle and GetTurnAngle in both record types.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>

#include <kelvor/geo.h>

namespace {

TEST(GetProjectBase, PositionCodesAndFeet) {
  tagLonLat f{}, e{-99, -99};
  // Above A exactly: code 0 with a foot; below B exactly: code 2.
  EXPECT_TRUE(GetProjectBase({1, 9}, {1, 1}, {3, 1}, f) == 0 && f.lon == 1 && f.lat == 1);
  EXPECT_TRUE(GetProjectBase({3, -9}, {1, 1}, {3, 1}, f) == 2 && f.lon == 3 && f.lat == 1);
  // A segment shorter than 3e-6 in both coordinates is also code 0, but writes no foot.
  _Bin_LonLat g{-99, -99};
  EXPECT_EQ(GetProjectBase({5, 5}, {1, 1}, {1 + 2.9e-06, 1 - 2.9e-06}, e), 0);
  EXPECT_EQ(GetProjectBase(_Bin_LonLat{500, 500}, _Bin_LonLat{10, 10}, _Bin_LonLat{12, 8}, g), 0);
  EXPECT_TRUE(e.lon == -99 && e.lat == -99 && g.lon == -99 && g.lat == -99);
  EXPECT_EQ(GetProjectBase({1.5e-06, 1}, {0, 0}, {3e-06, 0}, f), 1);  // exactly 3e-6 is a segment
  for (const int s : {1, -1}) {  // the foot (12.6, -4.2) and its mirror truncate toward zero
    EXPECT_EQ(GetProjectBase(_Bin_LonLat{13 * s, -3 * s}, {-30, 10}, {30, -10}, g), 1);
    EXPECT_TRUE(g.lon == 12 * s && g.lat == -4 * s) << g.lon << "," << g.lat;
  }
  // A foot far outside the 32-bit range saturates instead of overflowing.
  EXPECT_EQ(GetProjectBase({INT32_MIN, 5}, {INT32_MAX, 0}, {INT32_MAX - 10, 0}, g), 3);
  EXPECT_TRUE(g.lon == INT32_MIN && g.lat == 0);
}

TEST(GetProjectBase, FeetLieOnTheLineAndCodesFollowTheParameter) {
  std::mt19937_64 rng(2201);
  std::uniform_real_distribution<double> coord(-180.0, 180.0), offset(-1.0, 1.0);
  for (int n = 0; n < 4000; ++n) {
    const double s = std::ldexp(1.0, -static_cast<int>(rng() % 20));  // 1 down to 2e-6 degree
    const tagLonLat a{coord(rng), coord(rng) / 2};
    const tagLonLat b{a.lon + offset(rng) * s, a.lat + offset(rng) * s};
    const tagLonLat p{a.lon + 3 * offset(rng) * s, a.lat + 3 * offset(rng) * s};
    tagLonLat f{1e300, 1e300};
    const std::int32_t code = GetProjectBase(p, a, b, f);
    if (std::fabs(a.lon - b.lon) < 3e-06 && std::fabs(a.lat - b.lat) < 3e-06) {
      ASSERT_TRUE(code == 0 && f.lon == 1e300) << n;
      continue;
    }
    const double dx = b.lon - a.lon, dy = b.lat - a.lat, len = std::hypot(dx, dy);
    const double t = ((p.lon - a.lon) * dx + (p.lat - a.lat) * dy) / (len * len);
    const double eps = 1e-12 * (std::fabs(a.lon) + std::fabs(a.lat) + 1);
    ASSERT_NEAR(((f.lon - a.lon) * dy - (f.lat - a.lat) * dx) / len, 0.0, eps) << n;
    ASSERT_NEAR(((p.lon - f.lon) * dx + (p.lat - f.lat) * dy) / len, 0.0, eps) << n;
    const int want = t < -1e-9 ? -1 : t > 1 + 1e-9 ? 3 : (t > 1e-9 && t < 1 - 1e-9) ? 1 : code;
    ASSERT_EQ(code, want) << n;
  }
}

bool OnGrid(double deg) { return std::floor(deg * 2048) == deg * 2048; }  // 1/2048 degree steps
tagLonLat Dyadic(const _Bin_LonLat& v) { return {std::ldexp(v.lon, -17), std::ldexp(v.lat, -17)}; }

TEST(GetAbsoluteAngle, AxesRoundingAndExtremes) {
  EXPECT_TRUE(GetAbsoluteAngle(tagLonLat{3, 4}) == 53.1298828125 &&
              GetAbsoluteAngle(_Bin_LonLat{300000, 400000}) == 53.1298828125);
  EXPECT_EQ(GetAbsoluteAngle(tagLonLat{-1, -1e-7}), 180);  // just below the axis: -180 -> +180
  EXPECT_EQ(GetAbsoluteAngle(tagLonLat{5e-08, -1e-7}), 270);  // below 1e-7 degree truncates to 0
  EXPECT_TRUE(OnGrid(GetAbsoluteAngle(_Bin_LonLat{INT32_MAX, INT32_MIN})));  // wraps, but defined
}

TEST(GetTurnAngle, TurnsAndStraightPathsAtManyScales) {
  const _Bin_LonLat w{-100000, 0}, o{0, 0};
  EXPECT_EQ(GetTurnAngle(w, o, _Bin_LonLat{0, -100000}), 90);  // right turn
  EXPECT_EQ(GetTurnAngle(w, o, w), 0);                         // back the same way
  // Straight on: c - b is exactly -(a - b), in integers and in dyadic degrees alike.
  std::mt19937 rng(2302);
  auto r = [&rng](int bits) {
    return std::int32_t(rng() >> (32 - bits)) * ((rng() & 1) ? 1 : -1);
  };
  for (int n = 0; n < 4000; ++n) {
    const int bits = 1 + static_cast<int>(rng() % 21);  // up to 2^21 units (~21 degrees)
    const std::int32_t dx = r(bits), dy = r(bits);
    if (dx == 0 && dy == 0) continue;
    const _Bin_LonLat b{r(24), r(23)}, a{b.lon - dx, b.lat - dy}, c{b.lon + dx, b.lat + dy};
    ASSERT_EQ(GetTurnAngle(a, b, c), 180) << dx << "," << dy;
    ASSERT_EQ(GetTurnAngle(Dyadic(a), Dyadic(b), Dyadic(c)), 180) << dx << "," << dy;
  }
}

TEST(GetSharpAngle, IntegerOverloadIsNotFolded) {
  // Every angle sits on the 1/2048 degree grid, so the arithmetic is exact.
  std::mt19937 rng(2304);
  auto r = [&rng] { return static_cast<std::int32_t>(rng() % 2000001u) - 1000000; };
  auto deg = [](const _Bin_LonLat& v) { return tagLonLat{v.lon / 1e5, v.lat / 1e5}; };
  for (int n = 0; n < 3000; ++n) {
    const _Bin_LonLat a{r(), r()}, b{r(), r()}, c{r(), r()};
    const double ia = GetAbsoluteAngle(_Bin_LonLat{a.lon - b.lon, a.lat - b.lat});
    const double ic = GetAbsoluteAngle(_Bin_LonLat{c.lon - b.lon, c.lat - b.lat});
    ASSERT_TRUE(ia >= 0 && ia < 360 && OnGrid(ia)) << ia;
    ASSERT_EQ(GetSharpAngle(a, b, c), std::fabs(ia - ic)) << "integer overload is not folded";
    const tagLonLat fa = deg(a), fb = deg(b), fc = deg(c);
    const double raw = std::fabs(GetAbsoluteAngle(tagLonLat{fa.lon - fb.lon, fa.lat - fb.lat}) -
                                 GetAbsoluteAngle(tagLonLat{fc.lon - fb.lon, fc.lat - fb.lat}));
    ASSERT_EQ(GetSharpAngle(fa, fb, fc), raw <= 180.0 ? raw : 360.0 - raw);
  }
}

}  // namespace
