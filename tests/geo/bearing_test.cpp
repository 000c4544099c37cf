// GetProjectBase, GetAbsoluteAngle, GetSharpAngle and GetTurnAngle in both record types.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>

#include <kelvor/geo.h>

namespace {

TEST(GetProjectBase, PositionCodesAndFeet) {
  struct Case { tagLonLat p; std::int32_t code; double foot_lon; };
  const tagLonLat a{1, 1}, b{3, 1};
  const Case cases[] = {{{1, 9}, 0, 1},      // above A exactly: code 0 with a foot
                        {{2.5, 7}, 1, 2.5},  {{-1, 5}, -1, -1}, {{3, -9}, 2, 3}, {{4, -5}, 3, 4}};
  for (const Case& c : cases) {
    tagLonLat f{-99, -99};
    EXPECT_EQ(GetProjectBase(c.p, a, b, f), c.code) << c.p.lon;
    EXPECT_TRUE(f.lon == c.foot_lon && f.lat == 1) << c.p.lon << ": " << f.lon << "," << f.lat;
  }
  // A segment shorter than 3e-6 in both coordinates is also code 0, but writes no foot.
  tagLonLat f{-99, -99};
  _Bin_LonLat g{-99, -99};
  EXPECT_EQ(GetProjectBase({5, 5}, {1, 1}, {1 + 2.9e-06, 1 - 2.9e-06}, f), 0);
  EXPECT_EQ(GetProjectBase(_Bin_LonLat{500, 500}, _Bin_LonLat{10, 10}, _Bin_LonLat{12, 8}, g), 0);
  EXPECT_TRUE(f.lon == -99 && f.lat == -99 && g.lon == -99 && g.lat == -99);
  EXPECT_EQ(GetProjectBase({1.5e-06, 1}, {0, 0}, {3e-06, 0}, f), 1);  // exactly 3e-6 is a segment
}

TEST(GetProjectBase, FeetLieOnTheLineAndCodesFollowTheParameter) {
  std::mt19937_64 rng(2201);
  std::uniform_real_distribution<double> coord(-180.0, 180.0), offset(-1.0, 1.0);
  for (int n = 0; n < 4000; ++n) {
    const double s = std::ldexp(1.0, -static_cast<int>(rng() % 20));  // 1 down to 2e-6 degree
    const tagLonLat a{coord(rng), coord(rng) / 2}, b{a.lon + offset(rng) * s, a.lat + offset(rng) * s},
        p{a.lon + 3 * offset(rng) * s, a.lat + 3 * offset(rng) * s};
    tagLonLat f{1e300, 1e300};
    const std::int32_t code = GetProjectBase(p, a, b, f);
    if (std::fabs(a.lon - b.lon) < 3e-06 && std::fabs(a.lat - b.lat) < 3e-06) {
      ASSERT_TRUE(code == 0 && f.lon == 1e300) << n;
      continue;
    }
    const double dx = b.lon - a.lon, dy = b.lat - a.lat, len = std::hypot(dx, dy);
    const double t = ((p.lon - a.lon) * dx + (p.lat - a.lat) * dy) / (len * len);
    const double eps = 1e-12 * (std::fabs(a.lon) + std::fabs(a.lat) + 1);
    ASSERT_NEAR(((f.lon - a.lon) * dy - (f.lat - a.lat) * dx) / len, 0.0, eps) << "on the line " << n;
    ASSERT_NEAR(((p.lon - f.lon) * dx + (p.lat - f.lat) * dy) / len, 0.0, eps) << "perpendicular " << n;
    const std::int32_t want = t < -1e-9 ? -1 : t > 1 + 1e-9 ? 3 : (t > 1e-9 && t < 1 - 1e-9) ? 1 : code;
    ASSERT_EQ(code, want) << n;
  }
}

TEST(GetProjectBase, IntegerFeetAreTheTruncatedFloatingFeet) {
  _Bin_LonLat g{};
  for (const int s : {1, -1}) {  // the foot (12.6, -4.2) and its mirror truncate toward zero
    EXPECT_EQ(GetProjectBase(_Bin_LonLat{13 * s, -3 * s}, _Bin_LonLat{-30, 10}, _Bin_LonLat{30, -10}, g), 1);
    EXPECT_TRUE(g.lon == 12 * s && g.lat == -4 * s) << g.lon << "," << g.lat;
  }
  // A foot far outside the 32-bit range saturates instead of overflowing.
  EXPECT_EQ(GetProjectBase({INT32_MIN, 5}, {INT32_MAX, 0}, {INT32_MAX - 10, 0}, g), 3);
  EXPECT_TRUE(g.lon == INT32_MIN && g.lat == 0);
  std::mt19937 rng(2202);
  auto r = [&rng] { return static_cast<std::int32_t>(rng() % 36000001u) - 18000000; };
  auto d = [](const _Bin_LonLat& v) { return tagLonLat{double(v.lon), double(v.lat)}; };
  for (int n = 0; n < 4000; ++n) {
    const _Bin_LonLat a{r(), r() / 2}, b{r(), r() / 2}, p{r(), r() / 2};
    _Bin_LonLat f{};
    tagLonLat ff{};
    ASSERT_EQ(GetProjectBase(p, a, b, f), GetProjectBase(d(p), d(a), d(b), ff)) << n;
    ASSERT_TRUE(f.lon == std::int32_t(ff.lon) && f.lat == std::int32_t(ff.lat)) << n;
  }
}

bool OnGrid(double deg) { return std::floor(deg * 2048) == deg * 2048; }  // 1/2048 degree steps

TEST(GetAbsoluteAngle, AxesRoundingAndExtremes) {
  struct Case { double lon, lat, expect; };
  const Case cases[] = {{0, -1, 270}, {3, 4, 53.1298828125}, {0, 0, 0},
                        {5e-08, -1e-7, 270},  // below 1e-7 degree a component truncates to zero
                        {-1, -1e-7, 180},     // just below the axis: -180, moved to +180
                        {-300, 0, 180}};      // saturates to 1e-7 degree units, keeping its sign
  for (const Case& c : cases) {
    EXPECT_EQ(GetAbsoluteAngle(tagLonLat{c.lon, c.lat}), c.expect) << c.lon << "," << c.lat;
  }
  EXPECT_EQ(GetAbsoluteAngle(tagLonLat{std::nan(""), 1}), 90);  // NaN counts as zero
  EXPECT_EQ(GetAbsoluteAngle(_Bin_LonLat{300000, 400000}), 53.1298828125);
  EXPECT_TRUE(OnGrid(GetAbsoluteAngle(_Bin_LonLat{INT32_MAX, INT32_MIN})));  // wraps, but defined
}

TEST(GetTurnAngle, TurnsAndStraightPathsAtManyScales) {
  const _Bin_LonLat w{-100000, 0}, o{0, 0};
  EXPECT_EQ(GetTurnAngle(w, o, _Bin_LonLat{0, -100000}), 90);  // right turn
  EXPECT_EQ(GetTurnAngle(w, o, _Bin_LonLat{0, 100000}), 270);  // left turn
  EXPECT_EQ(GetTurnAngle(w, o, w), 0);                         // back the same way
  EXPECT_EQ(GetTurnAngle(tagLonLat{0, 1}, tagLonLat{0, 0}, tagLonLat{0, 0}), 270);  // c == b: east
  // Straight on: c - b is exactly -(a - b), in integers and in dyadic degrees alike.
  std::mt19937 rng(2302);
  auto r = [&rng](int bits) { return std::int32_t(rng() >> (32 - bits)) * ((rng() & 1) ? 1 : -1); };
  for (int n = 0; n < 4000; ++n) {
    const int bits = 1 + static_cast<int>(rng() % 21);  // up to 2^21 units (~21 degrees)
    const std::int32_t dx = r(bits), dy = r(bits);
    if (dx == 0 && dy == 0) continue;
    const _Bin_LonLat b{r(24), r(23)};
    ASSERT_EQ(GetTurnAngle(_Bin_LonLat{b.lon - dx, b.lat - dy}, b, _Bin_LonLat{b.lon + dx, b.lat + dy}), 180)
        << dx << "," << dy;
    const tagLonLat fb{std::ldexp(b.lon, -17), std::ldexp(b.lat, -17)};
    const double fx = std::ldexp(dx, -17), fy = std::ldexp(dy, -17);
    ASSERT_EQ(GetTurnAngle(tagLonLat{fb.lon - fx, fb.lat - fy}, fb, tagLonLat{fb.lon + fx, fb.lat + fy}), 180)
        << fx << "," << fy;
  }
}

TEST(GetSharpAngle, FoldedAndUnfoldedDifferencesOfDirections) {
  // Every angle sits on the 1/2048 degree grid, so the arithmetic is exact.
  std::mt19937 rng(2304);
  auto r = [&rng] { return static_cast<std::int32_t>(rng() % 2000001u) - 1000000; };
  for (int n = 0; n < 3000; ++n) {
    const _Bin_LonLat a{r(), r()}, b{r(), r()}, c{r(), r()};
    const double ia = GetAbsoluteAngle(_Bin_LonLat{a.lon - b.lon, a.lat - b.lat});
    const double ic = GetAbsoluteAngle(_Bin_LonLat{c.lon - b.lon, c.lat - b.lat});
    ASSERT_TRUE(ia >= 0 && ia < 360 && OnGrid(ia)) << ia;
    ASSERT_EQ(GetSharpAngle(a, b, c), std::fabs(ia - ic)) << "integer overload is not folded";
    const tagLonLat fa{a.lon / 1e5, a.lat / 1e5}, fb{b.lon / 1e5, b.lat / 1e5}, fc{c.lon / 1e5, c.lat / 1e5};
    const double raw = std::fabs(GetAbsoluteAngle(tagLonLat{fa.lon - fb.lon, fa.lat - fb.lat}) -
                                 GetAbsoluteAngle(tagLonLat{fc.lon - fb.lon, fc.lat - fb.lat}));
    ASSERT_EQ(GetSharpAngle(fa, fb, fc), raw <= 180.0 ? raw : 360.0 - raw);
    // Walking the path backwards swaps the rays: the turn angles add to a full turn.
    const double t = GetTurnAngle(fa, fb, fc), back = GetTurnAngle(fc, fb, fa);
    ASSERT_TRUE(t >= 0 && t < 360 && OnGrid(t)) << t;
    ASSERT_TRUE(t + back == 360.0 || (t == 0 && back == 0)) << t << " " << back;
  }
}

}  // namespace
