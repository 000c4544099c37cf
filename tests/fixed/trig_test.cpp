// Fixed-point trigonometry and vector operations through the public interface.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <random>

#include <kelvor/fixed.h>

namespace {

constexpr std::int32_t kDeg = 65536;
constexpr std::int64_t kTurn = 360LL * kDeg;
constexpr std::int32_t kOne = 65536;
constexpr double kRadPerUnit = 3.141592653589793 / 180.0 / 65536.0;

// Components of every magnitude up to 2^max_bits, either sign.
std::int32_t RandomComponent(std::mt19937& rng, int max_bits) {
  const std::uint32_t magnitude = static_cast<std::uint32_t>(rng() >> (32 - max_bits));
  return static_cast<std::int32_t>(magnitude >> (rng() % (max_bits + 1))) * ((rng() & 1) ? -1 : 1);
}

TEST(KmfSinCosTan, Landmarks) {
  struct Case { std::int32_t angle, sin, cos; };
  const Case cases[] = {{30 * kDeg, 32766, 56756}, {45 * kDeg, 46340, 46340}, {-1, -6, 65535},
                        {180 * kDeg, 0, -65536},   {720 * kDeg, 0, 65536},
                        {359, 0, 65536}, {360, 6, 65535}};  // below one table step is dropped
  for (const Case& c : cases) {
    EXPECT_EQ(KMF_Sin(c.angle), c.sin) << c.angle;
    EXPECT_EQ(KMF_Cos(c.angle), c.cos) << c.angle;
  }
  const std::int32_t tan_cases[][2] = {
      {45 * kDeg, 65536},         {135 * kDeg, -65536},          {60 * kDeg, 113494},
      {90 * kDeg, 0x7FFFFFFF},    {270 * kDeg, -0x7FFFFFFF},     {-90 * kDeg, -0x7FFFFFFF},  // poles
      {90 * kDeg - 1, 683566735}, {90 * kDeg + 1, -683566735},   {270 * kDeg - 1, 683566735}};
  for (const auto& c : tan_cases) EXPECT_EQ(KMF_Tan(c[0]), c[1]) << c[0];
}

TEST(KmfSinCosTan, ExactReductionAccuracyAndTangentSymmetry) {
  std::mt19937 rng(1301);
  const std::int32_t special[] = {INT32_MIN, INT32_MAX, -23592960, -23592961};
  for (int n = 0; n < 20000; ++n) {
    const std::int32_t a = n < 4 ? special[n] : static_cast<std::int32_t>(rng());
    const std::int32_t r = static_cast<std::int32_t>(((a % kTurn) + kTurn) % kTurn);
    ASSERT_TRUE(KMF_Sin(a) == KMF_Sin(r) && KMF_Cos(a) == KMF_Cos(r)) << a;
    // One table step is 0.0055 degree: at most about 6.3 units of slope.
    ASSERT_NEAR(KMF_Sin(a), 65536 * std::sin(r * kRadPerUnit), 8) << a;
    ASSERT_NEAR(KMF_Cos(a), 65536 * std::cos(r * kRadPerUnit), 8) << a;
    const std::int32_t q = static_cast<std::int32_t>(rng() % (90u * kDeg - 1)) + 1;  // inside (0, 90)
    const std::int32_t tq = KMF_Tan(q);
    ASSERT_TRUE(KMF_Tan(180 * kDeg - q) == -tq && KMF_Tan(180 * kDeg + q) == tq && KMF_Tan(-q) == -tq) << q;
  }
  EXPECT_EQ(KMF_Sin(INT32_MIN), KMF_Sin(23068672));
}

TEST(KmfAtan2, Landmarks) {
  const std::int32_t cases[][3] = {
      {0, 1, 5898240},     {-1, 0, 11796480},    {0, -1, 17694720},    {3 * kDeg, 4 * kDeg, 3481920},
      {-65536, -1, 11796544}, {65536, -1, 23592896}, {0, 0, 0},
      {INT32_MIN, 0, 11796480}, {0, INT32_MIN, 17694720}};  // -2^31 is read as -(2^31 - 1)
  for (const auto& c : cases) EXPECT_EQ(KMF_Atan2(c[0], c[1]), c[2]) << c[0] << "," << c[1];
  EXPECT_EQ(KMF_Atan2(INT32_MIN, 123456789), KMF_Atan2(-INT32_MAX, 123456789));
}

TEST(KmfAtan2, GridRangeScaleInvarianceAndAccuracy) {
  std::mt19937 rng(1304);
  for (int n = 0; n < 10000; ++n) {
    const std::int32_t x = RandomComponent(rng, 30), y = RandomComponent(rng, 30);
    const std::int32_t a = KMF_Atan2(x, y);
    ASSERT_TRUE(a % 32 == 0 && a >= 0 && a < 360 * kDeg) << x << "," << y << " -> " << a;
    ASSERT_EQ(KMF_Atan2(2 * x, 2 * y), a) << x << "," << y;
    if (std::abs(x) + std::abs(y) < 1000) continue;  // tiny vectors are exact only on their grid
    const double exact = std::fmod(std::atan2(y, x) / kRadPerUnit + kTurn, kTurn);
    const double err = std::fabs(a - exact);
    ASSERT_LE(std::fmin(err, kTurn - err), 32.0) << x << "," << y;  // rounding (16) plus a few CORDIC units
  }
}

TEST(KmfVectorTransform, RoundedProductsWrapAndNull) {
  const KMF_Matrix swap_half{0, kOne / 2, kOne / 2, 0}, sum{kOne, kOne, 0, 0};
  KMF_Vector v{3, -3}, w{INT32_MAX, 1};
  KMF_Vector_Transform(&v, &swap_half);
  EXPECT_TRUE(v.x == -2 && v.y == 2);  // halves go away from zero
  KMF_Vector_Transform(&w, &sum);  // the sum wraps in 32 bits
  KMF_Vector_Transform(&w, nullptr);
  EXPECT_TRUE(w.x == INT32_MIN && w.y == 0);
  KMF_Vector_Transform(nullptr, &sum);  // must not crash
}

TEST(KmfVectorRotate, Landmarks) {
  struct Case { KMF_Vector in; std::int32_t angle; KMF_Vector out; };
  const Case cases[] = {
      {{kOne, 0}, 45 * kDeg, {46341, 46341}},   {{3 * kOne, 4 * kOne}, 30 * kDeg, {39196, 325327}},
      {{1 << 30, 0}, 90 * kDeg, {-712, 1073741752}},
      {{5179338, 8782844}, 360 * kDeg, {5179332, 8782847}},  // a full turn is not the identity
      {{5179338, 8782844}, 0, {5179338, 8782844}},            // but angle 0 is
      {{3, 0}, 180 * kDeg, {-3, 0}},  // small results round halves away from zero, not floor
      {{0, 0}, 77 * kDeg, {0, 0}},
  };
  for (const Case& c : cases) {
    KMF_Vector v = c.in;
    KMF_Vector_Rotate(&v, c.angle);
    EXPECT_TRUE(v.x == c.out.x && v.y == c.out.y) << c.in.x << "," << c.in.y << " by " << c.angle << ": " << v.x;
  }
  KMF_Vector u{7, 7};
  KMF_Vector_Unit(&u, 270 * kDeg);
  EXPECT_TRUE(u.x == 0 && u.y == -65537);
}

TEST(KmfVectorRotate, RotatingBackReturnsNearTheStart) {
  std::mt19937 rng(1401);
  for (int n = 0; n < 4000; ++n) {
    const KMF_Vector v{RandomComponent(rng, 28), RandomComponent(rng, 28)};
    const std::int32_t angle = static_cast<std::int32_t>(rng());
    KMF_Vector w = v;
    KMF_Vector_Rotate(&w, angle);
    KMF_Vector_Rotate(&w, -angle);
    // The last step angle is one unit (2.7e-7 rad) and the steps keep ~27 bits.
    const double tol = 4.0 + std::hypot(v.x, v.y) * 2e-6;
    ASSERT_LE(std::fmax(std::fabs(w.x - v.x + 0.0), std::fabs(w.y - v.y + 0.0)), tol)
        << v.x << "," << v.y << " by " << angle;
  }
}

TEST(KmfVectorLengthPolarize, AgreeWithExactLengthAndAtan2) {
  const KMF_Vector wide{INT32_MIN, 0}, zero{0, 0}, v345{3 * kOne, 4 * kOne};
  EXPECT_EQ(KMF_Vector_Length(&v345), 327680);
  EXPECT_EQ(KMF_Vector_Length(&wide), INT32_MIN);  // 2^31 wraps like any too-long length
  std::int32_t len = 1234, angle = 5678;
  KMF_Vector_Polarize(&zero, &len, &angle);
  EXPECT_TRUE(len == 1234 && angle == 5678) << "the zero vector writes nothing";
  std::mt19937 rng(1403);
  for (int n = 0; n < 5000; ++n) {
    const KMF_Vector v{RandomComponent(rng, 30), RandomComponent(rng, 30)};
    const double exact = std::hypot(v.x, v.y);
    const std::int32_t rounded = KMF_Vector_Length(&v);
    ASSERT_NEAR(rounded, exact, 2.0 + exact * 1e-7) << v.x << "," << v.y;
    if (v.x == 0 || v.y == 0) continue;  // Length is exact on the axes, Polarize is not
    // Same vectoring as KMF_Atan2, in (-180, 180]; the length lacks only the rounding term.
    KMF_Vector_Polarize(&v, &len, &angle);
    ASSERT_TRUE(angle >= -180 * kDeg && angle <= 180 * kDeg) << angle;
    ASSERT_EQ(angle < 0 ? angle + 360 * kDeg : angle, KMF_Atan2(v.x, v.y)) << v.x << "," << v.y;
    ASSERT_TRUE(len == rounded || len + 1 == rounded) << v.x << "," << v.y;
  }
}

TEST(KmfAngleDiff, CounterclockwiseTurnInRange) {
  const std::int32_t cases[][3] = {{0, -1, 23592959}, {10 * kDeg, 350 * kDeg, 340 * kDeg},
                                   {350 * kDeg, 10 * kDeg, 20 * kDeg}, {0, 720 * kDeg, 0},
                                   {INT32_MIN, INT32_MAX, 23592959}};  // -1 after wrapping
  for (const auto& c : cases) EXPECT_EQ(KMF_Angle_Diff(c[0], c[1]), c[2]) << c[0] << " " << c[1];
  std::mt19937 rng(1405);
  for (int n = 0; n < 5000; ++n) {
    const std::int32_t a = static_cast<std::int32_t>(rng()), b = static_cast<std::int32_t>(rng());
    const std::int32_t d = KMF_Angle_Diff(a, b);
    ASSERT_TRUE(d >= 0 && d < 360 * kDeg) << a << " " << b;
    // The wrapped 32-bit difference and d agree modulo a full turn.
    const std::int32_t w = static_cast<std::int32_t>(static_cast<std::uint32_t>(b) - static_cast<std::uint32_t>(a));
    ASSERT_EQ((w - d) % kTurn, 0) << a << " " << b;
  }
}

}  // namespace
