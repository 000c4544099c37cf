// GetAbsoluteAngle, GetSharpAngle and GetTurnAngle in both record types.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>

#include <kelvor/geo.h>

namespace {

constexpr double kGrid = 1.0 / 2048.0;  // degrees per arctangent step

bool OnGrid(double deg) { return std::floor(deg / kGrid) * kGrid == deg; }

TEST(GetAbsoluteAngle, AxesDiagonalsAndOrigin) {
  struct Case { double lon, lat, expect; };
  const Case cases[] = {{1, 0, 0},   {0, 1, 90},  {-1, 0, 180}, {0, -1, 270},
                        {1, 1, 45},  {0, 0, 0},   {3, 4, 53.1298828125},
                        {5e-08, 0, 0},           // below 1e-7 degree: truncated to zero
                        {5e-08, -1e-7, 270},     // only the latitude survives
                        {-1, -1e-7, 180}};  // just below the axis: -180, moved to +180
  for (const Case& c : cases) {
    EXPECT_EQ(GetAbsoluteAngle(tagLonLat{c.lon, c.lat}), c.expect) << c.lon << "," << c.lat;
  }
}

TEST(GetAbsoluteAngle, IntegerOverloadMatches) {
  struct Case { std::int32_t lon, lat; double expect; };
  const Case cases[] = {{100000, 0, 0},        {0, 100000, 90}, {-100000, 0, 180},
                        {0, -100000, 270},     {100000, 100000, 45}, {0, 0, 0},
                        {300000, 400000, 53.1298828125}, {1, 0, 0}, {0, -1, 270}};
  for (const Case& c : cases) {
    EXPECT_EQ(GetAbsoluteAngle(_Bin_LonLat{c.lon, c.lat}), c.expect) << c.lon << "," << c.lat;
  }
}

TEST(GetAbsoluteAngle, OutOfRangeComponentsStayDefined) {
  // 300 degrees of longitude does not fit in 1e-7 degree units: it saturates
  // and keeps its sign, and a NaN component counts as zero.
  EXPECT_EQ(GetAbsoluteAngle(tagLonLat{300, 0}), 0);
  EXPECT_EQ(GetAbsoluteAngle(tagLonLat{-300, 0}), 180);
  EXPECT_EQ(GetAbsoluteAngle(tagLonLat{std::nan(""), 1}), 90);
  const double big = GetAbsoluteAngle(_Bin_LonLat{INT32_MAX, INT32_MIN});  // wraps, defined
  EXPECT_GE(big, 0);
  EXPECT_LT(big, 360);
}

TEST(GetAbsoluteAngle, ResultsOnTheGridAndInRange) {
  std::mt19937_64 rng(2301);
  std::uniform_real_distribution<double> comp(-200.0, 200.0);
  for (int n = 0; n < 3000; ++n) {
    const tagLonLat v{comp(rng), comp(rng)};
    const double a = GetAbsoluteAngle(v);
    ASSERT_GE(a, 0.0);
    ASSERT_LT(a, 360.0);
    ASSERT_TRUE(OnGrid(a)) << a;
    double exact = std::atan2(v.lat, v.lon) * 180.0 / 3.141592653589793;
    if (exact < 0) exact += 360;
    double err = std::fabs(a - exact);
    if (err > 180) err = 360 - err;
    ASSERT_LE(err, 2 * kGrid) << v.lon << "," << v.lat;
  }
}

TEST(GetTurnAngle, Landmarks) {
  const tagLonLat a{-1, 0}, b{0, 0};
  EXPECT_EQ(GetTurnAngle(a, b, tagLonLat{1, 0}), 180);   // straight on
  EXPECT_EQ(GetTurnAngle(a, b, tagLonLat{0, -1}), 90);   // right turn
  EXPECT_EQ(GetTurnAngle(a, b, tagLonLat{0, 1}), 270);   // left turn
  EXPECT_EQ(GetTurnAngle(a, b, a), 0);                   // back the same way
  const _Bin_LonLat ia{-100000, 0}, ib{0, 0};
  EXPECT_EQ(GetTurnAngle(ia, ib, _Bin_LonLat{100000, 0}), 180);
  EXPECT_EQ(GetTurnAngle(ia, ib, _Bin_LonLat{0, -100000}), 90);
  EXPECT_EQ(GetTurnAngle(ia, ib, _Bin_LonLat{0, 100000}), 270);
  EXPECT_EQ(GetTurnAngle(ia, ib, ia), 0);
  // c equal to b has direction 0: the turn is measured to east.
  EXPECT_EQ(GetTurnAngle(tagLonLat{0, 1}, b, b), 270);
}

TEST(GetTurnAngle, StraightPathsGive180AtManyScales) {
  // c - b is exactly -(a - b) here, so both legs scale to opposite integers.
  std::mt19937 rng(2302);
  for (int n = 0; n < 4000; ++n) {
    const int bits = 1 + static_cast<int>(rng() % 21);  // up to 2^21 units (~21 degrees)
    const std::int32_t dx = static_cast<std::int32_t>(rng() >> (32 - bits)) * ((rng() & 1) ? 1 : -1);
    const std::int32_t dy = static_cast<std::int32_t>(rng() >> (32 - bits)) * ((rng() & 1) ? 1 : -1);
    if (dx == 0 && dy == 0) continue;
    const _Bin_LonLat b{static_cast<std::int32_t>(rng() % 36000000u) - 18000000,
                        static_cast<std::int32_t>(rng() % 18000000u) - 9000000};
    ASSERT_EQ(GetTurnAngle(_Bin_LonLat{b.lon - dx, b.lat - dy}, b, _Bin_LonLat{b.lon + dx, b.lat + dy}),
              180.0) << dx << "," << dy;
    // The same path in degrees, built from dyadic values so the differences
    // are exact in double.
    const tagLonLat fb{std::ldexp(static_cast<double>(b.lon), -17), std::ldexp(static_cast<double>(b.lat), -17)};
    const double fx = std::ldexp(static_cast<double>(dx), -17), fy = std::ldexp(static_cast<double>(dy), -17);
    ASSERT_EQ(GetTurnAngle(tagLonLat{fb.lon - fx, fb.lat - fy}, fb, tagLonLat{fb.lon + fx, fb.lat + fy}),
              180.0) << fx << "," << fy;
  }
}

TEST(GetTurnAngle, InRangeAndComplementsTheReversePath) {
  std::mt19937_64 rng(2303);
  std::uniform_real_distribution<double> coord(-60.0, 60.0);
  for (int n = 0; n < 3000; ++n) {
    const tagLonLat a{coord(rng), coord(rng)}, b{coord(rng), coord(rng)}, c{coord(rng), coord(rng)};
    const double t = GetTurnAngle(a, b, c);
    ASSERT_GE(t, 0.0);
    ASSERT_LT(t, 360.0);
    ASSERT_TRUE(OnGrid(t));
    // Walking the path backwards swaps the rays: the angles add to a turn.
    const double back = GetTurnAngle(c, b, a);
    ASSERT_TRUE(t + back == 360.0 || (t == 0 && back == 0)) << t << " " << back;
  }
}

TEST(GetSharpAngle, RightAndStraightAnglesInBothOverloads) {
  const tagLonLat o{0, 0};
  EXPECT_EQ(GetSharpAngle(tagLonLat{1, 0}, o, tagLonLat{0, 1}), 90);
  EXPECT_EQ(GetSharpAngle(tagLonLat{-1, 0}, o, tagLonLat{1, 0}), 180);
  EXPECT_EQ(GetSharpAngle(tagLonLat{1, 0}, o, tagLonLat{1, 0}), 0);
  const _Bin_LonLat io{0, 0};
  EXPECT_EQ(GetSharpAngle(_Bin_LonLat{1, 0}, io, _Bin_LonLat{0, 1}), 90);
  EXPECT_EQ(GetSharpAngle(_Bin_LonLat{-1, 0}, io, _Bin_LonLat{1, 0}), 180);
}

TEST(GetSharpAngle, IntegerOverloadIsNotFolded) {
  // Rays at about +1 and -1 degree: 2 degrees apart folded, 358 unfolded.
  const double s = std::sin(1.0 * 3.141592653589793 / 180), c = std::cos(1.0 * 3.141592653589793 / 180);
  const double folded = GetSharpAngle(tagLonLat{c, s}, tagLonLat{0, 0}, tagLonLat{c, -s});
  EXPECT_NEAR(folded, 2.0, 2 * kGrid);
  const _Bin_LonLat ia{static_cast<std::int32_t>(c * 100000), static_cast<std::int32_t>(s * 100000)};
  const _Bin_LonLat ic{ia.lon, -ia.lat};
  const double unfolded = GetSharpAngle(ia, _Bin_LonLat{0, 0}, ic);
  EXPECT_NEAR(unfolded, 358.0, 2 * kGrid);
  // Argument order does not matter in either overload.
  EXPECT_EQ(GetSharpAngle(ic, _Bin_LonLat{0, 0}, ia), unfolded);
  EXPECT_EQ(GetSharpAngle(tagLonLat{c, -s}, tagLonLat{0, 0}, tagLonLat{c, s}), folded);
}

TEST(GetSharpAngle, FoldedAndUnfoldedDifferencesOfTheTwoDirections) {
  // All values sit on the 1/2048 degree grid, so the arithmetic is exact.
  std::mt19937 rng(2304);
  for (int n = 0; n < 3000; ++n) {
    auto r = [&] { return static_cast<std::int32_t>(rng() % 2000001u) - 1000000; };
    const _Bin_LonLat a{r(), r()}, b{r(), r()}, c{r(), r()};
    const double ia = GetAbsoluteAngle(_Bin_LonLat{a.lon - b.lon, a.lat - b.lat});
    const double ic = GetAbsoluteAngle(_Bin_LonLat{c.lon - b.lon, c.lat - b.lat});
    ASSERT_EQ(GetSharpAngle(a, b, c), std::fabs(ia - ic));

    const tagLonLat fa{a.lon / 1e5, a.lat / 1e5}, fb{b.lon / 1e5, b.lat / 1e5}, fc{c.lon / 1e5, c.lat / 1e5};
    const double da = GetAbsoluteAngle(tagLonLat{fa.lon - fb.lon, fa.lat - fb.lat});
    const double dc = GetAbsoluteAngle(tagLonLat{fc.lon - fb.lon, fc.lat - fb.lat});
    const double raw = std::fabs(da - dc);
    const double folded = GetSharpAngle(fa, fb, fc);
    ASSERT_EQ(folded, raw <= 180.0 ? raw : 360.0 - raw);
    ASSERT_LE(folded, 180.0);
  }
}

}  // namespace
