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

TEST(KmfSinCosTan, ExactReductionAndTangentPoles) {
  EXPECT_TRUE(KMF_Sin(30 * kDeg) == 32766 && KMF_Cos(30 * kDeg) == 56756);
  EXPECT_TRUE(KMF_Sin(359) == 0 && KMF_Sin(360) == 6);  // below one table step is dropped
  const std::int32_t tan_cases[][2] = {
      {90 * kDeg, 0x7FFFFFFF}, {270 * kDeg, -0x7FFFFFFF}, {-90 * kDeg, -0x7FFFFFFF},  // poles
      {90 * kDeg - 1, 683566735}, {90 * kDeg + 1, -683566735}, {135 * kDeg, -65536}};
  for (const auto& c : tan_cases) EXPECT_EQ(KMF_Tan(c[0]), c[1]) << c[0];
  std::mt19937 rng(1301);
  const std::int32_t special[] = {INT32_MIN, INT32_MAX, -23592960, -23592961};
  for (int n = 0; n < 20000; ++n) {
    const std::int32_t a = n < 4 ? special[n] : static_cast<std::int32_t>(rng());
    const std::int32_t r = static_cast<std::int32_t>(((a % kTurn) + kTurn) % kTurn);
    ASSERT_TRUE(KMF_Sin(a) == KMF_Sin(r) && KMF_Cos(a) == KMF_Cos(r)) << a;
  }
}

TEST(KmfAtan2, GridRangeScaleInvarianceAndExtremes) {
  const std::int32_t cases[][3] = {{0, 1, 5898240}, {3 * kDeg, 4 * kDeg, 3481920}, {0, 0, 0},
                                   {INT32_MIN, 0, 11796480}, {0, INT32_MIN, 17694720}};
  for (const auto& c : cases) EXPECT_EQ(KMF_Atan2(c[0], c[1]), c[2]) << c[0] << "," << c[1];
  EXPECT_EQ(KMF_Atan2(INT32_MIN, 123456789), KMF_Atan2(-INT32_MAX, 123456789));
  std::mt19937 rng(1304);
  for (int n = 0; n < 10000; ++n) {
    const std::int32_t x = RandomComponent(rng, 30), y = RandomComponent(rng, 30);
    const std::int32_t a = KMF_Atan2(x, y);
    ASSERT_TRUE(a % 32 == 0 && a >= 0 && a < 360 * kDeg) << x << "," << y << " -> " << a;
    ASSERT_EQ(KMF_Atan2(2 * x, 2 * y), a) << x << "," << y;
    if (std::abs(x) + std::abs(y) < 1000) continue;  // tiny vectors are exact only on their grid
    const double err = std::fabs(a - std::fmod(std::atan2(y, x) / kRadPerUnit + kTurn, kTurn));
    ASSERT_LE(std::fmin(err, kTurn - err), 32.0) << x << "," << y;  // rounding plus CORDIC error
  }
}

TEST(KmfVectorRotate, RotatingBackReturnsNearTheStart) {
  KMF_Vector u{3, 0};
  KMF_Vector_Rotate(&u, 180 * kDeg);  // small results round halves away from zero, not floor
  EXPECT_TRUE(u.x == -3 && u.y == 0);
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

TEST(KmfVectorLengthPolarize, NearExactLengthAndZeroVector) {
  const KMF_Vector zero{0, 0}, v345{3 * kOne, 4 * kOne};
  EXPECT_EQ(KMF_Vector_Length(&v345), 327680);
  std::int32_t len = 1234, angle = 5678;
  KMF_Vector_Polarize(&zero, &len, &angle);
  EXPECT_TRUE(len == 1234 && angle == 5678) << "the zero vector writes nothing";
  std::mt19937 rng(1403);
  for (int n = 0; n < 5000; ++n) {
    const KMF_Vector v{RandomComponent(rng, 30), RandomComponent(rng, 30)};
    const double exact = std::hypot(v.x, v.y);
    ASSERT_NEAR(KMF_Vector_Length(&v), exact, 2.0 + exact * 1e-7) << v.x << "," << v.y;
  }
}

TEST(KmfAngleDiff, CounterclockwiseTurnInRange) {
  EXPECT_EQ(KMF_Angle_Diff(0, -1), 23592959);
  EXPECT_EQ(KMF_Angle_Diff(INT32_MIN, INT32_MAX), 23592959);  // -1 after wrapping
  std::mt19937 rng(1405);
  for (int n = 0; n < 5000; ++n) {
    const std::int32_t a = static_cast<std::int32_t>(rng()), b = static_cast<std::int32_t>(rng());
    const std::int32_t d = KMF_Angle_Diff(a, b);
    ASSERT_TRUE(d >= 0 && d < 360 * kDeg) << a << " " << b;
    // The wrapped 32-bit difference and d agree modulo a full turn.
    const auto w = static_cast<std::int32_t>(static_cast<std::uint32_t>(b) - std::uint32_t(a));
    ASSERT_EQ((w - d) % kTurn, 0) << a << " " << b;
  }
}

}  // namespace

namespace {

TEST(KmfVector, TransformAndUnit) {
  const KMF_Matrix identity{65536, 0, 0, 65536}, swap_half{0, 32768, 32768, 0};
  KMF_Vector v{-123457, 98765};
  KMF_Vector_Transform(&v, &identity);
  EXPECT_TRUE(v.x == -123457 && v.y == 98765);
  KMF_Vector_Transform(&v, nullptr);  // null matrix: no-op
  KMF_Vector_Transform(&v, &swap_half);
  EXPECT_TRUE(v.x == 49383 && v.y == -61729) << v.x << "," << v.y;  // halves away from zero
  // Unit vectors keep the rotation's bias: 90 degrees is (-1, 65535), not (0, 65536).
  const struct { std::int32_t deg, x, y; } unit[] = {
      {0, 65536, 0}, {30, 56755, 32767}, {90, -1, 65535}, {180, -65536, -1}, {-90, 0, -65537}};
  for (const auto& u : unit) {
    KMF_Vector_Unit(&v, u.deg * 65536);
    EXPECT_TRUE(v.x == u.x && v.y == u.y) << u.deg << ": " << v.x << "," << v.y;
  }
}

}  // namespace
