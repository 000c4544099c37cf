// Fixed-point trigonometry and vector operations by example (reduction, accuracy, scale
// invariance and round trips are checked by the fixed-point fuzz target).
#include <gtest/gtest.h>
#include <kelvor/fixed.h>

#include <cstdint>
#include <utility>

#include "support/answers.h"

namespace {

constexpr std::int32_t kDeg = 65536;
constexpr std::int32_t kOne = 65536;

std::pair<std::int32_t, std::int32_t> xy(const KMF_Vector& v) { return {v.x, v.y}; }

TEST(KmfSinCosTan, TableLandmarksAndTangentPoles) {
  ExpectAnswers({
      {"cos 30", KMF_Cos(30 * kDeg), 56756},
      {"cos 60", KMF_Cos(60 * kDeg), 32771},
      {"sin 359 units: below one table step is dropped", KMF_Sin(359), 0},
      {"sin 360 units: the next entry", KMF_Sin(360), 6},
      {"sin -1 unit reads the last entry", KMF_Sin(-1), -6},
      {"tan 90: pole", KMF_Tan(90 * kDeg), 0x7FFFFFFF},
      {"tan 450: pole", KMF_Tan(450 * kDeg), 0x7FFFFFFF},
      {"tan 270: pole", KMF_Tan(270 * kDeg), -0x7FFFFFFF},
      {"tan -90: pole", KMF_Tan(-90 * kDeg), -0x7FFFFFFF},
      {"tan one unit below 90", KMF_Tan(90 * kDeg - 1), 683566735},
      {"tan one unit above 90", KMF_Tan(90 * kDeg + 1), -683566735},
      {"tan 135", KMF_Tan(135 * kDeg), -65536},
      {"tan 180", KMF_Tan(180 * kDeg), 0},
      {"tan 225 keeps its sign", KMF_Tan(225 * kDeg), 65536},
      {"tan 60", KMF_Tan(60 * kDeg), 113494},
      {"tan 300 folds toward 360", KMF_Tan(300 * kDeg), -113494},
  });
}

TEST(KmfAtan2, CompassLandmarksAndExtremes) {
  ExpectAnswers({
      {"east", KMF_Atan2(1, 0), 0},
      {"north", KMF_Atan2(0, 1), 5898240},
      {"west", KMF_Atan2(-1, 0), 11796480},
      {"south", KMF_Atan2(0, -1), 17694720},
      {"north-east", KMF_Atan2(1, 1), 2949120},
      {"3, 4 on the 1/2048 degree grid", KMF_Atan2(3 * kOne, 4 * kOne), 3481920},
      {"just below west", KMF_Atan2(-65536, -1), 11796544},
      {"just below east", KMF_Atan2(65536, -1), 23592896},
      {"zero vector", KMF_Atan2(0, 0), 0},
      {"x of -2^31", KMF_Atan2(INT32_MIN, 0), 11796480},
      {"y of -2^31", KMF_Atan2(0, INT32_MIN), 17694720},
      {"-2^31 taken as -(2^31 - 1)", KMF_Atan2(INT32_MIN, 123456789),
       KMF_Atan2(-INT32_MAX, 123456789)},
  });
}

TEST(KmfVectorRotate, SmallResultsRound) {
  KMF_Vector u{3, 0};
  KMF_Vector_Rotate(&u, 180 * kDeg);
  EXPECT_EQ(xy(u), std::make_pair(-3, 0)) << "small results round, not floor";
}

TEST(KmfVectorLength, Landmarks) {
  auto length = [](KMF_Vector v) { return KMF_Vector_Length(&v); };
  ExpectAnswers({
      {"3, 4", length({3 * kOne, 4 * kOne}), 327680},
      {"1.0, 1.0", length({kOne, kOne}), 92682},
      {"2, 3 units", length({2, 3}), 4},
      {"1, 1 units", length({1, 1}), 1},
      {"on the x axis, exact", length({-7, 0}), 7},
  });
}

TEST(KmfVectorPolarize, TruncatedLengthUnfoldedAngleAndTheZeroVector) {
  const struct {
    const char* name;
    KMF_Vector v;
    std::int32_t length, angle;
  } cases[] = {
      {"3, 4: one unit under the rounded length", {3 * kOne, 4 * kOne}, 327679, 3481920},
      {"-3, -4: negative angle, not in [0, 360)", {-3 * kOne, -4 * kOne}, 327679, -8314560},
      {"-1, 0: +180", {-kOne, 0}, 65535, 11796480},
      {"0, -1: -90", {0, -kOne}, 65535, -5898240},
      {"3, 4 units", {3, 4}, 4, 3481920},
  };
  for (const auto& c : cases) {
    std::int32_t length = -1, angle = -1;
    KMF_Vector_Polarize(&c.v, &length, &angle);
    EXPECT_EQ(length, c.length) << c.name;
    EXPECT_EQ(angle, c.angle) << c.name;
  }
  // The normalising shift keeps a tiny negative y negative: -180 below the axis, +180 on it.
  for (const std::int32_t y : {-1, 0}) {
    const KMF_Vector v{-(1 << 30), y};
    std::int32_t length = -1, angle = -1;
    KMF_Vector_Polarize(&v, &length, &angle);
    EXPECT_EQ(angle, y < 0 ? -11796480 : 11796480) << "-2^30, " << y;
  }
  const KMF_Vector zero{0, 0};
  std::int32_t length = 1234, angle = 5678;
  KMF_Vector_Polarize(&zero, &length, &angle);
  EXPECT_EQ(length, 1234) << "the zero vector writes nothing";
  EXPECT_EQ(angle, 5678) << "the zero vector writes nothing";
}

TEST(KmfAngleDiff, CounterclockwiseTurnInRange) {
  ExpectAnswers({
      {"0 to 720", KMF_Angle_Diff(0, 720 * kDeg), 0},
      {"0 to -1 unit", KMF_Angle_Diff(0, -1), 23592959},
      {"difference wraps to -1 first", KMF_Angle_Diff(INT32_MIN, INT32_MAX), 23592959},
      {"350 to 10", KMF_Angle_Diff(350 * kDeg, 10 * kDeg), 20 * kDeg},
      {"180 stays 180", KMF_Angle_Diff(190 * kDeg, 10 * kDeg), 180 * kDeg},
  });
}

TEST(KmfVector, TransformAndUnit) {
  const KMF_Matrix identity{65536, 0, 0, 65536}, swap_half{0, 32768, 32768, 0};
  KMF_Vector v{-123457, 98765};
  KMF_Vector_Transform(&v, &identity);
  EXPECT_EQ(xy(v), std::make_pair(-123457, 98765)) << "identity";
  KMF_Vector_Transform(&v, nullptr);
  EXPECT_EQ(xy(v), std::make_pair(-123457, 98765)) << "null matrix: no-op";
  KMF_Vector_Transform(nullptr, &identity);  // null vector: no-op
  KMF_Vector_Transform(&v, &swap_half);
  EXPECT_EQ(xy(v), std::make_pair(49383, -61729)) << "products round halves away from zero";
  // Unit vectors keep the rotation's bias (90 and 180 degrees: see the behaviour tests).
  const struct {
    std::int32_t deg, x, y;
  } unit[] = {
      {0, 65536, 0}, {30, 56755, 32767}, {45, 46340, 46341}, {-90, 0, -65537}, {720, 65536, 0}};
  for (const auto& u : unit) {
    KMF_Vector_Unit(&v, u.deg * kDeg);
    EXPECT_EQ(xy(v), std::make_pair(u.x, u.y)) << "unit vector of " << u.deg << " degrees";
  }
}

}  // namespace
