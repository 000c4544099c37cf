// Fixed-point vector operations through the public interface.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>

#include <kelvor/fixed.h>

namespace {

constexpr std::int32_t kDeg = 65536;
constexpr std::int32_t kOne = 65536;

::testing::AssertionResult Is(const KMF_Vector& v, std::int32_t x, std::int32_t y) {
  if (v.x == x && v.y == y) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "(" << v.x << ", " << v.y << ") != (" << x << ", " << y << ")";
}

std::int32_t RandomComponent(std::mt19937& rng, int max_bits) {
  const int bits = static_cast<int>(rng() % (max_bits + 1));
  const std::int32_t v = bits == 0 ? 0 : static_cast<std::int32_t>(rng() >> (32 - bits));
  return (rng() & 1) ? -v : v;
}

TEST(KmfVectorTransform, AppliesTheMatrixWithRoundedProducts) {
  const KMF_Matrix identity{kOne, 0, 0, kOne};
  KMF_Vector v{123456789, -987654321};
  KMF_Vector_Transform(&v, &identity);
  EXPECT_TRUE(Is(v, 123456789, -987654321));

  const KMF_Matrix swap_half{0, kOne / 2, kOne / 2, 0};  // x' = y/2, y' = x/2
  v = {3, -3};
  KMF_Vector_Transform(&v, &swap_half);
  EXPECT_TRUE(Is(v, -2, 2));  // halves go away from zero

  const KMF_Matrix rot90{0, -kOne, kOne, 0};
  v = {5 * kOne, 7 * kOne};
  KMF_Vector_Transform(&v, &rot90);
  EXPECT_TRUE(Is(v, -7 * kOne, 5 * kOne));

  const KMF_Matrix sum{kOne, kOne, 0, 0};  // the sum wraps in 32 bits
  v = {INT32_MAX, 1};
  KMF_Vector_Transform(&v, &sum);
  EXPECT_TRUE(Is(v, INT32_MIN, 0));
}

TEST(KmfVectorTransform, NullPointersDoNothing) {
  KMF_Vector v{1, 2};
  KMF_Vector_Transform(&v, nullptr);
  EXPECT_TRUE(Is(v, 1, 2));
  const KMF_Matrix m{kOne, 0, 0, kOne};
  KMF_Vector_Transform(nullptr, &m);  // must not crash
}

TEST(KmfVectorUnit, Landmarks) {
  struct Case { std::int32_t angle, x, y; };
  const Case cases[] = {{0, 65536, 0},           {30 * kDeg, 56755, 32767},
                        {45 * kDeg, 46340, 46341}, {90 * kDeg, -1, 65535},
                        {135 * kDeg, -46342, 46340}, {180 * kDeg, -65536, -1},
                        {270 * kDeg, 0, -65537},  {-90 * kDeg, 0, -65537},
                        {360 * kDeg, 65536, 0},   {720 * kDeg, 65536, 0}};
  for (const Case& c : cases) {
    KMF_Vector v{7, 7};
    KMF_Vector_Unit(&v, c.angle);
    EXPECT_TRUE(Is(v, c.x, c.y)) << c.angle;
  }
}

TEST(KmfVectorRotate, Landmarks) {
  struct Case { KMF_Vector in; std::int32_t angle; KMF_Vector out; };
  const Case cases[] = {
      {{kOne, 0}, 90 * kDeg, {0, 65536}},     {{kOne, 0}, 45 * kDeg, {46341, 46341}},
      {{kOne, 0}, 180 * kDeg, {-65536, 0}},   {{kOne, 0}, -90 * kDeg, {0, -65536}},
      {{kOne, 0}, 360 * kDeg, {65536, 0}},    {{3 * kOne, 4 * kOne}, 30 * kDeg, {39196, 325327}},
      {{1, 0}, 90 * kDeg, {0, 1}},            {{1 << 30, 0}, 90 * kDeg, {-712, 1073741752}},
      {{5179338, 8782844}, 360 * kDeg, {5179332, 8782847}},  // a full turn is not the identity
      {{5179338, 8782844}, 0, {5179338, 8782844}},            // but angle 0 is
      {{0, 0}, 77 * kDeg, {0, 0}},
  };
  for (const Case& c : cases) {
    KMF_Vector v = c.in;
    KMF_Vector_Rotate(&v, c.angle);
    EXPECT_TRUE(Is(v, c.out.x, c.out.y)) << c.in.x << "," << c.in.y << " by " << c.angle;
  }
}

TEST(KmfVectorRotate, SmallVectorsRoundHalvesAwayFromZero) {
  // (3, 0) by 180 is (-3, 0) within the compensation error; the shift back
  // must round it to -3, not floor it to -4 or truncate toward -2.
  KMF_Vector v{3, 0};
  KMF_Vector_Rotate(&v, 180 * kDeg);
  EXPECT_TRUE(Is(v, -3, 0));
  v = {0, -5};
  KMF_Vector_Rotate(&v, 180 * kDeg);
  EXPECT_TRUE(Is(v, 0, 5));
}

TEST(KmfVectorRotate, RotatingBackReturnsNearTheStart) {
  std::mt19937 rng(1401);
  for (int n = 0; n < 4000; ++n) {
    const KMF_Vector v{RandomComponent(rng, 28), RandomComponent(rng, 28)};
    const std::int32_t angle = static_cast<std::int32_t>(rng());
    KMF_Vector w = v;
    KMF_Vector_Rotate(&w, angle);
    KMF_Vector_Rotate(&w, -angle);
    const double len = std::hypot(v.x, v.y);
    // The last step angle is one unit (2.7e-7 rad) and the steps keep ~27 bits.
    const double tol = 4.0 + len * 2e-6;
    ASSERT_LE(std::fabs(static_cast<double>(w.x) - v.x), tol) << v.x << "," << v.y << " by " << angle;
    ASSERT_LE(std::fabs(static_cast<double>(w.y) - v.y), tol) << v.x << "," << v.y << " by " << angle;
  }
}

TEST(KmfVectorRotate, KeepsTheLengthAndTurnsByTheAngle) {
  std::mt19937 rng(1402);
  for (int n = 0; n < 3000; ++n) {
    const KMF_Vector v{RandomComponent(rng, 26) | 4096, RandomComponent(rng, 26)};
    const std::int32_t angle = static_cast<std::int32_t>(rng() % (360u * kDeg));
    KMF_Vector w = v;
    KMF_Vector_Rotate(&w, angle);
    const double a = angle / 65536.0 * 3.141592653589793 / 180.0;
    const double ex = v.x * std::cos(a) - v.y * std::sin(a);
    const double ey = v.x * std::sin(a) + v.y * std::cos(a);
    // Each step angle is rounded to 1/65536 degree: the turn is good to a few
    // such units (2.7e-7 rad each).
    const double tol = 3.0 + std::hypot(v.x, v.y) * 2e-6;
    ASSERT_NEAR(w.x, ex, tol) << v.x << "," << v.y << " by " << angle;
    ASSERT_NEAR(w.y, ey, tol) << v.x << "," << v.y << " by " << angle;
  }
}

TEST(KmfVectorLength, Landmarks) {
  struct Case { KMF_Vector v; std::int32_t expect; };
  const Case cases[] = {{{3 * kOne, 4 * kOne}, 327680}, {{kOne, kOne}, 92682}, {{2, 3}, 4},
                        {{1, 1}, 1},  {{-7, 0}, 7},  {{0, -9}, 9},  {{0, 0}, 0},
                        {{INT32_MIN, 0}, INT32_MIN}};  // 2^31 wraps like any too-long length
  for (const Case& c : cases) EXPECT_EQ(KMF_Vector_Length(&c.v), c.expect) << c.v.x << "," << c.v.y;
}

TEST(KmfVectorLength, WithinAFewUnitsOfTheExactLength) {
  std::mt19937 rng(1403);
  for (int n = 0; n < 5000; ++n) {
    const KMF_Vector v{RandomComponent(rng, 30), RandomComponent(rng, 30)};
    const double exact = std::hypot(static_cast<double>(v.x), static_cast<double>(v.y));
    ASSERT_NEAR(KMF_Vector_Length(&v), exact, 2.0 + exact * 1e-7) << v.x << "," << v.y;
  }
}

TEST(KmfVectorPolarize, Landmarks) {
  struct Case { KMF_Vector v; std::int32_t length, angle; };
  const Case cases[] = {
      {{3 * kOne, 4 * kOne}, 327679, 3481920},   {{-3 * kOne, -4 * kOne}, 327679, -8314560},
      {{kOne, 0}, 65535, 0},                     {{-kOne, 0}, 65535, 11796480},
      {{0, -kOne}, 65535, -5898240},             {{3, 4}, 4, 3481920},
  };
  for (const Case& c : cases) {
    std::int32_t len = -1, angle = -1;
    KMF_Vector_Polarize(&c.v, &len, &angle);
    EXPECT_EQ(len, c.length) << c.v.x << "," << c.v.y;
    EXPECT_EQ(angle, c.angle) << c.v.x << "," << c.v.y;
  }
  std::int32_t len = 0, angle = 0;
  const KMF_Vector below{-(1 << 30), -1}, on{-(1 << 30), 0};
  KMF_Vector_Polarize(&below, &len, &angle);
  EXPECT_EQ(angle, -11796480);
  KMF_Vector_Polarize(&on, &len, &angle);
  EXPECT_EQ(angle, 11796480);
}

TEST(KmfVectorPolarize, ZeroVectorWritesNothing) {
  const KMF_Vector zero{0, 0};
  std::int32_t len = 1234, angle = 5678;
  KMF_Vector_Polarize(&zero, &len, &angle);
  EXPECT_EQ(len, 1234);
  EXPECT_EQ(angle, 5678);
}

TEST(KmfVectorPolarize, AgreesWithAtan2AndLength) {
  // Same vectoring as KMF_Atan2, only not moved into [0, 360); the length
  // differs from KMF_Vector_Length only by its missing rounding term.
  std::mt19937 rng(1404);
  for (int n = 0; n < 5000; ++n) {
    const KMF_Vector v{RandomComponent(rng, 30), RandomComponent(rng, 30)};
    if (v.x == 0 || v.y == 0) continue;  // Length is exact there, Polarize is not
    std::int32_t len = 0, angle = 0;
    KMF_Vector_Polarize(&v, &len, &angle);
    ASSERT_GE(angle, -180 * kDeg);
    ASSERT_LE(angle, 180 * kDeg);
    ASSERT_EQ(angle < 0 ? angle + 360 * kDeg : angle, KMF_Atan2(v.x, v.y)) << v.x << "," << v.y;
    const std::int32_t rounded = KMF_Vector_Length(&v);
    ASSERT_TRUE(len == rounded || len + 1 == rounded) << v.x << "," << v.y;
  }
}

TEST(KmfVectorFromPolar, BuildsThroughRotation) {
  KMF_Vector v{9, 9};
  KMF_Vector_From_Polar(&v, 5 * kOne, 0);
  EXPECT_TRUE(Is(v, 327680, 0));
  KMF_Vector_From_Polar(&v, kOne, 90 * kDeg);
  EXPECT_TRUE(Is(v, 0, 65536));
  KMF_Vector_From_Polar(&v, 0, 33 * kDeg);
  EXPECT_TRUE(Is(v, 0, 0));
  KMF_Vector_From_Polar(&v, -7, 0);
  EXPECT_TRUE(Is(v, -7, 0));
}

TEST(KmfAngleDiff, CounterclockwiseTurnNotFolded) {
  struct Case { std::int32_t a1, a2, expect; };
  const Case cases[] = {{0, 720 * kDeg, 0},           {0, -1, 23592959},
                        {10 * kDeg, 350 * kDeg, 340 * kDeg}, {350 * kDeg, 10 * kDeg, 20 * kDeg},
                        {0, 180 * kDeg, 180 * kDeg},  {180 * kDeg, 0, 180 * kDeg},
                        {INT32_MIN, INT32_MAX, 23592959},  // -1 after wrapping
                        {INT32_MAX, INT32_MIN, 1}};
  for (const Case& c : cases) EXPECT_EQ(KMF_Angle_Diff(c.a1, c.a2), c.expect) << c.a1 << " " << c.a2;
}

TEST(KmfAngleDiff, InRangeAndComplementary) {
  std::mt19937 rng(1405);
  for (int n = 0; n < 5000; ++n) {
    const std::int32_t a = static_cast<std::int32_t>(rng()), b = static_cast<std::int32_t>(rng());
    const std::int32_t d = KMF_Angle_Diff(a, b);
    ASSERT_GE(d, 0);
    ASSERT_LT(d, 360 * kDeg);
    // The wrapped 32-bit difference and d agree modulo a full turn.
    const std::int64_t w = static_cast<std::int32_t>(static_cast<std::uint32_t>(b) - static_cast<std::uint32_t>(a));
    ASSERT_EQ(((w - d) % (360LL * kDeg)), 0) << a << " " << b;
  }
}

}  // namespace
