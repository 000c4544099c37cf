// The internal CORDIC engine, against a plain step-by-step model with
// branches and loops (the engine itself is branch-free and uses one division).
#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "fixed/cordic.h"
#include "fixed/trig_tables.h"

namespace {

using kelvor::detail::Cordic_Compensate;
using kelvor::detail::Cordic_Normalize;
using kelvor::detail::Cordic_Rotate;
using kelvor::detail::Cordic_Vectorize;
using kelvor::detail::g_cordic_angle_table;

constexpr std::int64_t kDeg = 65536;

bool operator==(const KMF_Vector& a, const KMF_Vector& b) { return a.x == b.x && a.y == b.y; }

// --- Reference model: 64-bit values, loops, one branch per decision. ---
std::int64_t Floor2(std::int64_t v, int s) { return v >= 0 ? v >> s : -((-v + (1LL << s) - 1) >> s); }

int ModelNormalize(std::int64_t& x, std::int64_t& y) {
  std::int64_t z = (x < 0 ? -x : x) | (y < 0 ? -y : y);
  int n = 0;
  if (z < (1 << 27)) {
    while (z < (1 << 27)) { z *= 2; ++n; }
    x *= (1LL << n);
    y *= (1LL << n);
    return n;
  }
  if (z <= (1 << 28)) return 0;
  while (z > (1 << 28)) { z /= 2; ++n; }
  x = Floor2(x, n);
  y = Floor2(y, n);
  return -n;
}

void ModelRotate(std::int64_t& x, std::int64_t& y, std::int64_t t) {
  while (t <= -90 * kDeg) { t += 180 * kDeg; x = -x; y = -y; }
  while (t > 90 * kDeg) { t -= 180 * kDeg; x = -x; y = -y; }
  if (t < 0) {
    const std::int64_t nx = x + 2 * y, ny = y - 2 * x;
    x = nx; y = ny; t += g_cordic_angle_table[0];
  } else {
    const std::int64_t nx = x - 2 * y, ny = y + 2 * x;
    x = nx; y = ny; t -= g_cordic_angle_table[0];
  }
  for (int i = 0; i < 23; ++i) {
    const std::int64_t xs = Floor2(x, i), ys = Floor2(y, i);
    if (t < 0) { x += ys; y -= xs; t += g_cordic_angle_table[i + 1]; }
    else { x -= ys; y += xs; t -= g_cordic_angle_table[i + 1]; }
  }
}

std::int64_t ModelVectorize(std::int64_t& x, std::int64_t y) {
  std::int64_t t = 0;
  if (x < 0) { x = -x; y = -y; t = 180 * kDeg; }
  if (y > 0) t = -t;
  if (y < 0) {
    const std::int64_t nx = x - 2 * y, ny = y + 2 * x;
    x = nx; y = ny; t -= g_cordic_angle_table[0];
  } else {
    const std::int64_t nx = x + 2 * y, ny = y - 2 * x;
    x = nx; y = ny; t += g_cordic_angle_table[0];
  }
  for (int i = 0; i < 23; ++i) {
    const std::int64_t xs = Floor2(x, i), ys = Floor2(y, i);
    if (y < 0) { x -= ys; y += xs; t -= g_cordic_angle_table[i + 1]; }
    else { x += ys; y -= xs; t += g_cordic_angle_table[i + 1]; }
  }
  return t >= 0 ? (t + 16) & ~31LL : -((16 - t) & ~31LL);
}

// Random components of every magnitude and sign, with the extremes mixed in.
std::int32_t RandomComponent(std::mt19937& rng) {
  const int bits = static_cast<int>(rng() % 33);
  std::int64_t v = bits == 0 ? 0 : static_cast<std::int64_t>(rng() >> (32 - bits));
  if (rng() & 1) v = -v;
  if (v > INT32_MAX) v = INT32_MAX;
  if (rng() % 64 == 0) v = (rng() & 1) ? INT32_MIN : INT32_MAX;
  return static_cast<std::int32_t>(v);
}

KMF_Vector RandomNormalised(std::mt19937& rng) {
  KMF_Vector v{0, 0};
  while (v.x == 0 && v.y == 0) v = {RandomComponent(rng), RandomComponent(rng)};
  Cordic_Normalize(&v);
  return v;
}

TEST(CordicNormalize, BringsTheLargerMagnitudeIntoRange) {
  struct Case { KMF_Vector in; int shift; KMF_Vector out; };
  const Case cases[] = {
      {{1, 0}, 27, {1 << 27, 0}},
      {{0, -3}, 26, {0, -3 * (1 << 26)}},
      {{1 << 27, 5}, 0, {1 << 27, 5}},
      {{-(1 << 28), 0}, 0, {-(1 << 28), 0}},            // exactly 2^28 stays
      {{-(1 << 28), 7}, -1, {-(1 << 27), 3}},           // OR of magnitudes counts
      {{(1 << 28) + 1, 0}, -1, {(1 << 27), 0}},        // just above halves once
      {{-(1 << 30), -1}, -2, {-(1 << 28), -1}},        // arithmetic shift floors
      {{INT32_MAX, 3}, -3, {(1 << 28) - 1, 0}},
      {{INT32_MIN, 0}, -3, {-(1 << 28), 0}},           // magnitude 2^31, no overflow
      {{INT32_MIN, 1000}, -4, {-(1 << 27), 62}},       // OR of magnitudes above 2^31+7
  };
  for (const Case& c : cases) {
    KMF_Vector v = c.in;
    EXPECT_EQ(Cordic_Normalize(&v), c.shift) << c.in.x << "," << c.in.y;
    EXPECT_TRUE(v == c.out) << c.in.x << "," << c.in.y << " -> " << v.x << "," << v.y;
  }
}

TEST(CordicNormalize, AgreesWithDoublingAndHalvingLoops) {
  std::mt19937 rng(1201);
  for (int n = 0; n < 5000; ++n) {
    KMF_Vector v{RandomComponent(rng), RandomComponent(rng)};
    if (v.x == 0 && v.y == 0) continue;
    std::int64_t x = v.x, y = v.y;
    const int expect = ModelNormalize(x, y);
    const KMF_Vector in = v;
    ASSERT_EQ(Cordic_Normalize(&v), expect) << in.x << "," << in.y;
    ASSERT_EQ(v.x, x) << in.x << "," << in.y;
    ASSERT_EQ(v.y, y) << in.x << "," << in.y;
  }
}

TEST(CordicRotate, AgreesWithTheLoopModelForAnyAngle) {
  std::mt19937 rng(1202);
  const std::int32_t special[] = {0, 1, -1, 90 * 65536, 90 * 65536 + 1, -90 * 65536,
                                  -90 * 65536 + 1, 270 * 65536, INT32_MIN, INT32_MAX};
  for (int n = 0; n < 4000; ++n) {
    const KMF_Vector v = RandomNormalised(rng);
    const std::int32_t theta = n < 10 ? special[n] : static_cast<std::int32_t>(rng());
    std::int64_t x = v.x, y = v.y;
    ModelRotate(x, y, theta);
    KMF_Vector w = v;
    Cordic_Rotate(&w, theta);
    ASSERT_EQ(w.x, x) << v.x << "," << v.y << " by " << theta;
    ASSERT_EQ(w.y, y) << v.x << "," << v.y << " by " << theta;
  }
}

TEST(CordicRotate, WholeTurnsOnlyChangeTheCountOfNegations) {
  // theta and theta + 360 reduce to the same residual with an even number of
  // extra half turns, so the results are identical.
  std::mt19937 rng(1203);
  for (int n = 0; n < 1000; ++n) {
    const KMF_Vector v = RandomNormalised(rng);
    const std::int32_t theta = static_cast<std::int32_t>(rng() % 2000000000u) - 1000000000;
    KMF_Vector a = v, b = v;
    Cordic_Rotate(&a, theta);
    Cordic_Rotate(&b, theta + 360 * 65536);
    ASSERT_TRUE(a == b) << theta;
  }
}

TEST(CordicVectorize, NegativeAxisGivesPlusOrMinus180ByTheSignOfY) {
  KMF_Vector v{-(1 << 27), -1};
  Cordic_Vectorize(&v);
  EXPECT_EQ(v.y, -11796480);
  v = {-(1 << 27), 0};
  Cordic_Vectorize(&v);
  EXPECT_EQ(v.y, 11796480);
  v = {-(1 << 27), 1};
  Cordic_Vectorize(&v);
  EXPECT_EQ(v.y, 11796480);
}

TEST(CordicVectorize, AgreesWithTheModelAndStaysInRange) {
  std::mt19937 rng(1204);
  for (int n = 0; n < 4000; ++n) {
    const KMF_Vector v = RandomNormalised(rng);
    std::int64_t x = v.x;
    const std::int64_t theta = ModelVectorize(x, v.y);
    KMF_Vector w = v;
    Cordic_Vectorize(&w);
    ASSERT_EQ(w.x, x) << v.x << "," << v.y;
    ASSERT_EQ(w.y, theta) << v.x << "," << v.y;
    ASSERT_GE(w.x, 0);
    ASSERT_EQ(w.y % 32, 0);
    ASSERT_GE(w.y, -180 * 65536);
    ASSERT_LE(w.y, 180 * 65536);
  }
}

TEST(CordicVectorize, LengthCarriesTheGain) {
  KMF_Vector v{3 << 25, 4 << 25};  // length 5 * 2^25
  Cordic_Vectorize(&v);
  const double gain = 3.6822679;
  EXPECT_NEAR(v.x, 5.0 * (1 << 25) * gain, 5.0 * (1 << 25) * 1e-6);
}

TEST(CordicCompensate, ScalesByTheInverseGainTowardZero) {
  EXPECT_EQ(Cordic_Compensate(200000000), 54314350);
  EXPECT_EQ(Cordic_Compensate(-123456789), -33527376);
  EXPECT_EQ(Cordic_Compensate(0), 0);
  EXPECT_EQ(Cordic_Compensate(3), 0);   // 0.81 truncates
  EXPECT_EQ(Cordic_Compensate(-3), 0);  // toward zero, not down
  EXPECT_EQ(Cordic_Compensate(INT32_MIN), -583195892);
}

TEST(CordicCompensate, AgreesWithSixteenBitPartialProducts) {
  std::mt19937 rng(1205);
  for (int n = 0; n < 5000; ++n) {
    const std::int32_t v = RandomComponent(rng);
    const std::uint64_t m = v < 0 ? 0 - static_cast<std::uint64_t>(static_cast<std::int64_t>(v))
                                  : static_cast<std::uint64_t>(v);
    const std::uint64_t mh = m >> 16, ml = m & 0xFFFF, ch = 17797, cl = 47593;
    const std::uint64_t r = ((mh * ch << 32) + ((mh * cl + ml * ch) << 16) + ml * cl) >> 32;
    const std::int64_t expect = v < 0 ? -static_cast<std::int64_t>(r) : static_cast<std::int64_t>(r);
    ASSERT_EQ(Cordic_Compensate(v), expect) << v;
    ASSERT_EQ(Cordic_Compensate(v == INT32_MIN ? v : -v), v == INT32_MIN ? expect : -expect);
  }
}

}  // namespace
