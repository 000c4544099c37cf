// GetProjectBase, GetAbsoluteAngle, GetSharpAngle and GetTurnAngle in both record types
// by example (each against its formula, and straight paths, are checked by the
// geographic fuzz target).
#include <gtest/gtest.h>
#include <kelvor/geo.h>

#include <cmath>
#include <cstdint>
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

bool OnGrid(double deg) { return std::floor(deg * 2048) == deg * 2048; }  // 1/2048 degree steps

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

}  // namespace
