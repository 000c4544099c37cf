// GetProjectBase, GetAbsoluteAngle, GetSharpAngle and GetTurnAngle in both record types.
#include <gtest/gtest.h>
#include <kelvor/geo.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <utility>

namespace {

TEST(GetProjectBase, PositionCodesAndFeet) {
  const tagLonLat a{1, 1}, b{3, 1};
  const struct {
    const char* name;
    tagLonLat p, a, b;
    std::int32_t code;
    tagLonLat foot;  // (-99, -99): not written
  } cases[] = {
      {"foot at A: code 0 with a foot", {1, 9}, a, b, 0, {1, 1}},
      {"foot at B: code 2", {3, -9}, a, b, 2, {3, 1}},
      {"foot inside: code 1", {2, 5}, a, b, 1, {2, 1}},
      {"foot before A: code -1", {0, 5}, a, b, -1, {0, 1}},
      {"foot beyond B: code 3", {5, -5}, a, b, 3, {5, 1}},
      {"segment under 3e-6 in both: code 0, no foot",
       {5, 5},
       {1, 1},
       {1 + 2.9e-06, 1 - 2.9e-06},
       0,
       {-99, -99}},
      {"segment of exactly 3e-6 is a segment", {1.5e-06, 1}, {0, 0}, {3e-06, 0}, 1, {1.5e-06, 0}},
  };
  for (const auto& c : cases) {
    tagLonLat f{-99, -99};
    EXPECT_EQ(GetProjectBase(c.p, c.a, c.b, f), c.code) << c.name;
    EXPECT_DOUBLE_EQ(f.lon, c.foot.lon) << c.name;
    EXPECT_DOUBLE_EQ(f.lat, c.foot.lat) << c.name;
  }
}

TEST(GetProjectBase, IntegerFeetTruncateTowardZero) {
  const std::int32_t M = INT32_MAX, m = INT32_MIN;
  const struct {
    const char* name;
    _Bin_LonLat p, a, b;
    std::int32_t code;
    _Bin_LonLat foot;
  } cases[] = {
      {"foot (12.6, -4.2) truncates", {13, -3}, {-30, 10}, {30, -10}, 1, {12, -4}},
      {"foot (-12.6, 4.2) truncates", {-13, 3}, {-30, 10}, {30, -10}, 1, {-12, 4}},
      {"P at A", {-30, 10}, {-30, 10}, {30, -10}, 0, {-30, 10}},
      {"foot far outside 32 bits saturates", {m, 5}, {M, 0}, {M - 10, 0}, 3, {m, 0}},
  };
  for (const auto& c : cases) {
    _Bin_LonLat f{-99, -99};
    EXPECT_EQ(GetProjectBase(c.p, c.a, c.b, f), c.code) << c.name;
    EXPECT_EQ(std::make_pair(f.lon, f.lat), std::make_pair(c.foot.lon, c.foot.lat)) << c.name;
  }
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
      ASSERT_EQ(code, 0) << "degenerate, case " << n;
      ASSERT_EQ(f.lon, 1e300) << "degenerate, case " << n;
      continue;
    }
    const double dx = b.lon - a.lon, dy = b.lat - a.lat, len = std::hypot(dx, dy);
    const double t = ((p.lon - a.lon) * dx + (p.lat - a.lat) * dy) / (len * len);
    const double eps = 1e-12 * (std::fabs(a.lon) + std::fabs(a.lat) + 1);
    ASSERT_NEAR(((f.lon - a.lon) * dy - (f.lat - a.lat) * dx) / len, 0.0, eps) << "on, case " << n;
    ASSERT_NEAR(((p.lon - f.lon) * dx + (p.lat - f.lat) * dy) / len, 0.0, eps)
        << "foot, case " << n;
    const int want = t < -1e-9 ? -1 : t > 1 + 1e-9 ? 3 : (t > 1e-9 && t < 1 - 1e-9) ? 1 : code;
    ASSERT_EQ(code, want) << "t = " << t << ", case " << n;
  }
}

bool OnGrid(double deg) { return std::floor(deg * 2048) == deg * 2048; }  // 1/2048 degree steps
tagLonLat Dyadic(const _Bin_LonLat& v) { return {std::ldexp(v.lon, -17), std::ldexp(v.lat, -17)}; }

struct Angle {
  const char* name;
  double got, want;
};

TEST(Angles, NamedCases) {
  using F = tagLonLat;
  using I = _Bin_LonLat;
  const F w{-1, 0}, o{0, 0};
  const I iw{-100000, 0}, io{0, 0};
  const Angle cases[] = {
      {"east", GetAbsoluteAngle(F{1, 0}), 0},
      {"north", GetAbsoluteAngle(F{0, 1}), 90},
      {"west", GetAbsoluteAngle(F{-1, 0}), 180},
      {"south", GetAbsoluteAngle(F{0, -1}), 270},
      {"north-east", GetAbsoluteAngle(F{1, 1}), 45},
      {"zero vector", GetAbsoluteAngle(F{0, 0}), 0},
      {"integer north", GetAbsoluteAngle(I{0, 100000}), 90},
      {"integer south", GetAbsoluteAngle(I{0, -100000}), 270},
      {"3, 4 on the grid", GetAbsoluteAngle(F{3, 4}), 53.1298828125},
      {"integer 3, 4 on the grid", GetAbsoluteAngle(I{300000, 400000}), 53.1298828125},
      {"just below west: -180 becomes +180", GetAbsoluteAngle(F{-1, -1e-7}), 180},
      {"5e-8 degree truncates to 0", GetAbsoluteAngle(F{5e-08, -1e-7}), 270},
      {"straight on", GetTurnAngle(w, o, F{1, 0}), 180},
      {"right turn", GetTurnAngle(w, o, F{0, -1}), 90},
      {"left turn", GetTurnAngle(w, o, F{0, 1}), 270},
      {"back the same way", GetTurnAngle(w, o, w), 0},
      {"integer right turn", GetTurnAngle(iw, io, I{0, -100000}), 90},
      {"integer back the same way", GetTurnAngle(iw, io, iw), 0},
      {"right angle", GetSharpAngle(F{1, 0}, o, F{0, 1}), 90},
      {"straight angle", GetSharpAngle(w, o, F{1, 0}), 180},
      {"integer right angle", GetSharpAngle(I{100000, 0}, io, I{0, 100000}), 90},
      {"integer straight angle", GetSharpAngle(iw, io, I{100000, 0}), 180},
  };
  for (const Angle& c : cases) EXPECT_EQ(c.got, c.want) << c.name;
  // Components beyond 32 bits wrap, but the answer stays on the grid.
  EXPECT_TRUE(OnGrid(GetAbsoluteAngle(_Bin_LonLat{INT32_MAX, INT32_MIN}))) << "wrapped components";
}

TEST(GetTurnAngle, StraightPathsAtManyScales) {
  // Straight on: c - b is exactly -(a - b), in integers and in dyadic degrees alike.
  std::mt19937 rng(2302);
  auto r = [&rng](int bits) { return std::int32_t(rng() >> (32 - bits)) * ((rng() & 1) ? 1 : -1); };
  for (int n = 0; n < 4000; ++n) {
    const int bits = 1 + static_cast<int>(rng() % 21);  // up to 2^21 units (~21 degrees)
    const std::int32_t dx = r(bits), dy = r(bits);
    if (dx == 0 && dy == 0) continue;
    const _Bin_LonLat b{r(24), r(23)}, a{b.lon - dx, b.lat - dy}, c{b.lon + dx, b.lat + dy};
    ASSERT_EQ(GetTurnAngle(a, b, c), 180) << "integer, step " << dx << "," << dy;
    ASSERT_EQ(GetTurnAngle(Dyadic(a), Dyadic(b), Dyadic(c)), 180)
        << "double, step " << dx << "," << dy;
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
    ASSERT_GE(ia, 0) << "case " << n;
    ASSERT_LT(ia, 360) << "case " << n;
    ASSERT_TRUE(OnGrid(ia)) << ia << ", case " << n;
    ASSERT_EQ(GetSharpAngle(a, b, c), std::fabs(ia - ic)) << "integer, not folded, case " << n;
    const tagLonLat fa = deg(a), fb = deg(b), fc = deg(c);
    const double raw = std::fabs(GetAbsoluteAngle(tagLonLat{fa.lon - fb.lon, fa.lat - fb.lat}) -
                                 GetAbsoluteAngle(tagLonLat{fc.lon - fb.lon, fc.lat - fb.lat}));
    ASSERT_EQ(GetSharpAngle(fa, fb, fc), raw <= 180.0 ? raw : 360.0 - raw)
        << "double, folded, case " << n;
  }
}

}  // namespace
