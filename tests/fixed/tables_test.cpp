// The two exported constant tables.
#include <gtest/gtest.h>

#include <cmath>

#include <kelvor/fixed.h>

namespace {

TEST(SqrtTable, EveryEntryIsNearestTo2048RootI) {
  EXPECT_EQ(g_sqrt_table[0], 0);
  EXPECT_EQ(g_sqrt_table[1], 2048);
  EXPECT_EQ(g_sqrt_table[2], 2896);
  EXPECT_EQ(g_sqrt_table[3], 3547);
  EXPECT_EQ(g_sqrt_table[4], 4096);
  EXPECT_EQ(g_sqrt_table[1023], 65504);
  for (int i = 0; i < 1024; ++i) {
    const double exact = 2048.0 * std::sqrt(static_cast<double>(i));
    ASSERT_LE(std::fabs(g_sqrt_table[i] - exact), 0.5) << i;
  }
}

TEST(ElderBitTable, EveryEntryIsIndexOfHighestSetBit) {
  EXPECT_EQ(g_elder_bit_table[0], 0);
  EXPECT_EQ(g_elder_bit_table[1], 0);
  EXPECT_EQ(g_elder_bit_table[255], 7);
  for (int i = 1; i < 256; ++i) {
    const int b = g_elder_bit_table[i];
    ASSERT_LE(1 << b, i) << i;
    ASSERT_GT(2 << b, i) << i;
  }
}

}  // namespace
