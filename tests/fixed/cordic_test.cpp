// The internal trigonometric tables, and the CORDIC engine against a plain
// step-by-step model with branches and loops (the engine itself is branch-free).
#include "cordic.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>

#include "kelvor/types.h"
#include "support/answers.h"
#include "trig_tables.h"

namespace {

using kelvor::detail::g_cordic_angle_table;
using kelvor::detail::g_cos_table;
using kelvor::detail::g_sin_table;
using kelvor::detail::g_tan_table;
using kelvor::detail::to_i32;
namespace cordic = kelvor::detail::cordic;

constexpr std::int64_t kDeg = 65536;

// entry == 65536 f(x) truncated toward zero: same side of zero, at most one unit nearer
// to it (the slack absorbs the generator's double rounding).
::testing::AssertionResult IsTruncated(std::int32_t entry, long double exact) {
  const long double slack = 1e-6L + std::fabs(exact) * 1e-11L, e = std::fabs(entry + 0.0L);
  if (entry != 0 && (entry > 0) != (exact > 0)) {
    return ::testing::AssertionFailure() << entry << " has the wrong sign for " << exact;
  }
  if (e > std::fabs(exact) + slack) {
    return ::testing::AssertionFailure() << entry << " is farther from zero than " << exact;
  }
  if (e <= std::fabs(exact) - 1 - slack) {
    return ::testing::AssertionFailure() << entry << " is over a unit nearer zero than " << exact;
  }
  return ::testing::AssertionSuccess();
}

TEST(TrigTables, LandmarksTruncatedSamplesAndCordicAngles) {
  ExpectAnswers({
      {"sin 90", g_sin_table[16384], 65536},
      {"sin of the last entry", g_sin_table[65535], -6},
      {"cos 90", g_cos_table[16384], 0},
      {"tan 45", g_tan_table[8192], 65536},
      // Built with pi to ten digits: with the exact pi this would be off by over a thousand.
      {"tan of the last entry", g_tan_table[16383], 683566735},
  });
  for (int i = 0; i < 65536; ++i) {
    const long double x = 2 * 3.141592654L * i / 65536;
    ASSERT_TRUE(IsTruncated(g_sin_table[i], 65536 * std::sin(x))) << "sin entry " << i;
    ASSERT_TRUE(IsTruncated(g_cos_table[i], 65536 * std::cos(x))) << "cos entry " << i;
    if (i < 16384) {
      ASSERT_TRUE(IsTruncated(g_tan_table[i], 65536 * std::tan(x))) << "tan entry " << i;
    }
  }
  for (int k = 0; k < 24; ++k) {  // atan(2), then atan(2^-i)
    const long double t = k == 0 ? std::atan(2.0L) : std::atan(std::ldexp(1.0L, 1 - k));
    const long double exact = t * 180 / 3.14159265358979323846L * 65536;
    EXPECT_LE(std::fabs(g_cordic_angle_table[k] - exact), 0.5L) << "CORDIC step angle " << k;
  }
}

std::int64_t Floor2(std::int64_t v, int s) { return v >= 0 ? v >> s : ~(~v >> s); }

// The 24 micro-rotations: the first by atan(2) (factor 2), then by atan(2^-i).
// Vectorizing steers by the sign of y, rotating by the sign of the residual angle.
void ModelSteps(std::int64_t& x, std::int64_t& y, std::int64_t& t, bool vectorize) {
  for (int k = 0; k < 24; ++k) {
    const std::int64_t xs = k ? Floor2(x, k - 1) : 2 * x, ys = k ? Floor2(y, k - 1) : 2 * y;
    const int cw = (vectorize ? y >= 0 : t < 0) ? 1 : -1;
    x += cw * ys;
    y -= cw * xs;
    t += cw * g_cordic_angle_table[k];
  }
}

// Components of every magnitude and sign, with the extremes mixed in, normalised.
KMF_Vector RandomNormalised(std::mt19937& rng) {
  KMF_Vector v{0, 0};
  while (v.x == 0 && v.y == 0) {
    for (std::int32_t* c : {&v.x, &v.y}) {
      *c = static_cast<std::int32_t>((rng() >> 1) >> (rng() % 32)) * ((rng() & 1) ? 1 : -1);
      if (rng() % 64 == 0) *c = (rng() & 1) ? INT32_MIN : INT32_MAX;
    }
  }
  std::uint32_t x = cordic::bits(v.x), y = cordic::bits(v.y);
  cordic::normalize(x, y);
  return {to_i32(x), to_i32(y)};
}

TEST(CordicRotate, AgreesWithTheModelForAnyAngle) {
  std::mt19937 rng(1202);
  const std::int32_t special[] = {0,          -1,        90 * kDeg, 90 * kDeg + 1,
                                  -90 * kDeg, INT32_MIN, INT32_MAX};
  for (int n = 0; n < 4000; ++n) {
    const KMF_Vector v = RandomNormalised(rng);
    const std::int32_t theta = n < 7 ? special[n] : static_cast<std::int32_t>(rng());
    std::int64_t t = theta, sign = 1;
    for (; t <= -90 * kDeg; t += 180 * kDeg) sign = -sign;  // half turns negate
    for (; t > 90 * kDeg; t -= 180 * kDeg) sign = -sign;
    std::int64_t x = sign * v.x, y = sign * v.y;
    ModelSteps(x, y, t, false);
    std::uint32_t wx = cordic::bits(v.x), wy = cordic::bits(v.y);
    cordic::rotate(wx, wy, theta);
    ASSERT_EQ(to_i32(wx), x) << v.x << "," << v.y << " by " << theta;
    ASSERT_EQ(to_i32(wy), y) << v.x << "," << v.y << " by " << theta;
  }
}

TEST(CordicVectorize, AgreesWithTheModelAndStaysInRange) {
  for (const std::int32_t y : {-1, 0, 1}) {  // the negative axis: -180 only just below it
    std::uint32_t vx = cordic::bits(-(1 << 27));
    EXPECT_EQ(to_i32(cordic::vectorize(vx, cordic::bits(y))), y < 0 ? -11796480 : 11796480)
        << "-2^27, " << y;
  }
  std::mt19937 rng(1204);
  for (int n = 0; n < 4000; ++n) {
    KMF_Vector v = RandomNormalised(rng);
    std::int64_t x = v.x, y = v.y, t = 0;
    if (x < 0) {
      x = -x;
      y = -y;
      t = 180 * kDeg;
    }
    if (y > 0) t = -t;
    ModelSteps(x, y, t, true);
    t = t >= 0 ? (t + 16) & ~31LL : -((16 - t) & ~31LL);  // nearest multiple of 32
    std::uint32_t vx = cordic::bits(v.x);
    const std::int32_t angle = to_i32(cordic::vectorize(vx, cordic::bits(v.y)));
    ASSERT_EQ(to_i32(vx), x) << v.x << "," << v.y;
    ASSERT_EQ(angle, t) << v.x << "," << v.y;
  }
}

TEST(CordicCompensate, ScalesByTheInverseGainTowardZero) {
  const struct {
    const char* name;
    std::int32_t in, out;
  } cases[] = {
      {"positive", 200000000, 54314350},         {"negative, toward zero", -123456789, -33527376},
      {"small positive to zero", 3, 0},          {"small negative to zero", -3, 0},
      {"magnitude 2^31", INT32_MIN, -583195892},
  };
  for (const auto& c : cases) EXPECT_EQ(cordic::compensate(c.in), c.out) << c.name;
}

}  // namespace
