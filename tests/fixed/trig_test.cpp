// KMF_Sin, KMF_Cos, KMF_Tan and KMF_Atan2 through the public interface.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>

#include <kelvor/fixed.h>

namespace {

constexpr std::int32_t kDeg = 65536;
constexpr std::int64_t kTurn = 360LL * kDeg;

// The exact mathematical reduction, for checking the library's one.
std::int32_t Reduced(std::int64_t a) { return static_cast<std::int32_t>(((a % kTurn) + kTurn) % kTurn); }

struct AngleCase { std::int32_t angle; std::int32_t expect; };

TEST(KmfSin, Landmarks) {
  const AngleCase cases[] = {{90 * kDeg, 65536}, {30 * kDeg, 32766}, {45 * kDeg, 46340},
                             {-1, -6},           {-90 * kDeg, -65536}, {360 * kDeg, 0},
                             {720 * kDeg, 0},    {0, 0},               {180 * kDeg, 0},
                             {359, 0},           {360, 6}};  // below one table step is dropped
  for (const AngleCase& c : cases) EXPECT_EQ(KMF_Sin(c.angle), c.expect) << c.angle;
}

TEST(KmfCos, Landmarks) {
  const AngleCase cases[] = {{60 * kDeg, 32771}, {90 * kDeg, 0}, {45 * kDeg, 46340},
                             {0, 65536},         {-360 * kDeg, 65536}, {180 * kDeg, -65536}};
  for (const AngleCase& c : cases) EXPECT_EQ(KMF_Cos(c.angle), c.expect) << c.angle;
}

TEST(KmfSinCos, ReductionIsExactForEveryInput) {
  // Equal to the lookup of the mathematically reduced angle, including the
  // extremes whose whole-turn count does not fit beside them in 32 bits.
  std::mt19937 rng(1301);
  for (int n = 0; n < 20000; ++n) {
    std::int32_t a = static_cast<std::int32_t>(rng());
    if (n == 0) a = INT32_MIN;
    if (n == 1) a = INT32_MAX;
    if (n == 2) a = -23592960;
    if (n == 3) a = -23592961;
    const std::int32_t r = Reduced(a);
    ASSERT_EQ(KMF_Sin(a), KMF_Sin(r)) << a;
    ASSERT_EQ(KMF_Cos(a), KMF_Cos(r)) << a;
  }
  EXPECT_EQ(KMF_Sin(INT32_MIN), KMF_Sin(23068672));
}

TEST(KmfSinCos, CloseToTheRealFunctions) {
  std::mt19937 rng(1302);
  for (int n = 0; n < 5000; ++n) {
    const std::int32_t a = static_cast<std::int32_t>(rng());
    const double rad = Reduced(a) / 65536.0 * 3.141592653589793 / 180.0;
    // One table step is 0.0055 degree: at most about 6.3 units of slope.
    ASSERT_NEAR(KMF_Sin(a), 65536 * std::sin(rad), 8) << a;
    ASSERT_NEAR(KMF_Cos(a), 65536 * std::cos(rad), 8) << a;
  }
}

TEST(KmfTan, LandmarksAndPoles) {
  const AngleCase cases[] = {
      {45 * kDeg, 65536},        {90 * kDeg, 0x7FFFFFFF},      {450 * kDeg, 0x7FFFFFFF},
      {270 * kDeg, -0x7FFFFFFF}, {-90 * kDeg, -0x7FFFFFFF},    {90 * kDeg + 1, -683566735},
      {90 * kDeg - 1, 683566735}, {135 * kDeg, -65536},        {180 * kDeg, 0},
      {60 * kDeg, 113494},       {300 * kDeg, -113494},        {240 * kDeg, 113494},
      {0, 0},                    {270 * kDeg + 1, -683566735}, {270 * kDeg - 1, 683566735},
  };
  for (const AngleCase& c : cases) EXPECT_EQ(KMF_Tan(c.angle), c.expect) << c.angle;
}

TEST(KmfTan, FoldedQuadrantsMirrorTheFirst) {
  // tan(180 - a) == -tan(a) and tan(180 + a) == tan(a) exactly, because the
  // fold measures the second and fourth quadrants back from 180 and 360.
  std::mt19937 rng(1303);
  for (int n = 0; n < 5000; ++n) {
    const std::int32_t a = static_cast<std::int32_t>(rng() % (90u * kDeg - 1)) + 1;
    ASSERT_EQ(KMF_Tan(180 * kDeg - a), -KMF_Tan(a)) << a;
    ASSERT_EQ(KMF_Tan(180 * kDeg + a), KMF_Tan(a)) << a;
    ASSERT_EQ(KMF_Tan(-a), -KMF_Tan(a)) << a;
  }
}

struct Atan2Case { std::int32_t x, y, expect; };

TEST(KmfAtan2, Landmarks) {
  const Atan2Case cases[] = {
      {1, 0, 0},           {0, 1, 5898240},           {-1, 0, 11796480},
      {0, -1, 17694720},   {1, 1, 2949120},           {3 * kDeg, 4 * kDeg, 3481920},
      {-65536, -1, 11796544}, {65536, -1, 23592896},  {0, 0, 0},
      {INT32_MAX, 0, 0},   {0, INT32_MAX, 5898240},   {-INT32_MAX, -INT32_MAX, 14745600},
  };
  for (const Atan2Case& c : cases) EXPECT_EQ(KMF_Atan2(c.x, c.y), c.expect) << c.x << "," << c.y;
}

TEST(KmfAtan2, MinusTwoToThe31IsReadAsItsNeighbour) {
  EXPECT_EQ(KMF_Atan2(INT32_MIN, 0), 11796480);
  EXPECT_EQ(KMF_Atan2(0, INT32_MIN), 17694720);
  EXPECT_EQ(KMF_Atan2(INT32_MIN, INT32_MIN), KMF_Atan2(-INT32_MAX, -INT32_MAX));
  EXPECT_EQ(KMF_Atan2(INT32_MIN, 123456789), KMF_Atan2(-INT32_MAX, 123456789));
}

std::int32_t RandomComponent(std::mt19937& rng, int max_bits) {
  const int bits = static_cast<int>(rng() % (max_bits + 1));
  const std::int32_t v = bits == 0 ? 0 : static_cast<std::int32_t>(rng() >> (32 - bits));
  return (rng() & 1) ? -v : v;
}

TEST(KmfAtan2, GridRangeAndScaleInvariance) {
  std::mt19937 rng(1304);
  for (int n = 0; n < 5000; ++n) {
    const std::int32_t x = RandomComponent(rng, 30), y = RandomComponent(rng, 30);
    const std::int32_t a = KMF_Atan2(x, y);
    ASSERT_EQ(a % 32, 0) << x << "," << y;
    ASSERT_GE(a, 0) << x << "," << y;
    ASSERT_LT(a, 360 * kDeg) << x << "," << y;
    ASSERT_EQ(KMF_Atan2(2 * x, 2 * y), a) << x << "," << y;
  }
}

TEST(KmfAtan2, CloseToTheRealDirection) {
  std::mt19937 rng(1305);
  for (int n = 0; n < 5000; ++n) {
    const std::int32_t x = RandomComponent(rng, 31), y = RandomComponent(rng, 31);
    if (std::abs(static_cast<std::int64_t>(x)) + std::abs(static_cast<std::int64_t>(y)) < 1000)
      continue;  // tiny vectors are exact only on the grid of their integers
    double exact = std::atan2(static_cast<double>(y), static_cast<double>(x)) * 180.0 /
                   3.141592653589793 * 65536.0;
    if (exact < 0) exact += 360.0 * kDeg;
    double err = std::fabs(KMF_Atan2(x, y) - exact);
    if (err > 180.0 * kDeg) err = 360.0 * kDeg - err;  // across 0/360
    ASSERT_LE(err, 32.0) << x << "," << y;  // rounding (16) plus a few CORDIC units
  }
}

}  // namespace
