// The internal sine, cosine, tangent and CORDIC angle tables.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "fixed/trig_tables.h"

namespace {

using kelvor::detail::g_cordic_angle_table;
using kelvor::detail::g_cos_table;
using kelvor::detail::g_sin_table;
using kelvor::detail::g_tan_table;

// The tables are defined with pi to ten digits, not the exact pi.
constexpr long double kTablePi = 3.141592654L;

// Entry must be 65536 f(x) truncated toward zero: same side of zero and at
// most one unit nearer to it. The slack absorbs the double rounding of the
// generator against this long double reference.
void ExpectTruncated(std::int32_t entry, long double exact, int i) {
  const long double slack = 1e-6L + std::fabs(exact) * 1e-11L;
  const long double mag = std::fabs(exact);
  const long double e = std::fabs(static_cast<long double>(entry));
  ASSERT_TRUE(entry == 0 || (entry > 0) == (exact > 0)) << i << " " << entry;
  ASSERT_LE(e, mag + slack) << "rounded away from zero at " << i << ": " << entry;
  ASSERT_GT(e, mag - 1 - slack) << "more than one unit short at " << i << ": " << entry;
}

long double TableAngle(int i) { return 2 * kTablePi * i / 65536; }

TEST(TrigTables, Landmarks) {
  EXPECT_EQ(g_sin_table[0], 0);
  EXPECT_EQ(g_sin_table[16384], 65536);
  EXPECT_EQ(g_sin_table[32768], 0);
  EXPECT_EQ(g_sin_table[49152], -65536);
  EXPECT_EQ(g_sin_table[65535], -6);
  EXPECT_EQ(g_cos_table[0], 65536);
  EXPECT_EQ(g_cos_table[16384], 0);
  EXPECT_EQ(g_tan_table[0], 0);
  EXPECT_EQ(g_tan_table[8192], 65536);
  // With the exact pi this entry would be off by more than a thousand.
  EXPECT_EQ(g_tan_table[16383], 683566735);
}

TEST(TrigTables, SineEntriesAreTruncatedSamples) {
  for (int i = 0; i < 65536; ++i) ExpectTruncated(g_sin_table[i], 65536 * std::sin(TableAngle(i)), i);
}

TEST(TrigTables, CosineEntriesAreTruncatedSamples) {
  for (int i = 0; i < 65536; ++i) ExpectTruncated(g_cos_table[i], 65536 * std::cos(TableAngle(i)), i);
}

TEST(TrigTables, TangentEntriesAreTruncatedSamples) {
  for (int i = 0; i < 16384; ++i) ExpectTruncated(g_tan_table[i], 65536 * std::tan(TableAngle(i)), i);
}

TEST(TrigTables, CordicAnglesMatchTheirListAndAreNearest) {
  const std::int32_t expected[24] = {4157273, 2949120, 1740967, 919879, 466945, 234379,
                                     117304,  58666,   29335,   14668,  7334,   3667,
                                     1833,    917,     458,     229,    115,    57,
                                     29,      14,      7,       4,      2,      1};
  const long double pi = 3.14159265358979323846L;
  for (int k = 0; k < 24; ++k) {
    EXPECT_EQ(g_cordic_angle_table[k], expected[k]) << k;
    const long double t = k == 0 ? std::atan(2.0L) : std::atan(std::ldexp(1.0L, -(k - 1)));
    EXPECT_LE(std::fabs(g_cordic_angle_table[k] - t * 180 / pi * 65536), 0.5L) << k;
  }
}

}  // namespace
