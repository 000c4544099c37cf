// Fixed-point scalar arithmetic by example, and the two exported constant tables (the
// properties against exact models are checked by the fixed-point fuzz target).
#include <gtest/gtest.h>
#include <kelvor/fixed.h>

#include <cmath>
#include <cstdint>

#include "support/answers.h"

namespace {

constexpr std::int32_t kOne = 65536;
constexpr std::int32_t kMax = 0x7FFFFFFF;

TEST(Scalars, RoundingRootsAndQuotients) {
  ExpectAnswers({
      {"round -0.5 away from zero", KMF_RoundFix(-kOne / 2), -kOne},
      {"round 0.5 away from zero", KMF_RoundFix(kOne / 2), kOne},
      {"round just below a half", KMF_RoundFix(kOne / 2 - 1), 0},
      {"round wraps like the 32-bit form", KMF_RoundFix(kMax), INT32_MIN},
      {"ceil -1.25", KMF_CeilFix(-kOne - kOne / 4), -kOne},
      {"floor -1.25", KMF_FloorFix(-kOne - kOne / 4), -2 * kOne},
      {"floor of a whole number", KMF_FloorFix(-3 * kOne), -3 * kOne},
      {"1.5 * 1.5", KMF_MulFix(3 * kOne / 2, 3 * kOne / 2), 9 * kOne / 4},
      {"300 * 300 keeps the low 32 bits", KMF_MulFix(300 * kOne, 300 * kOne), 1603272704},
      {"-5 / 0", KMF_DivFix(-5, 0), -kMax},
      {"5 / 0", KMF_DivFix(5, 0), kMax},
      {"0 / 0", KMF_DivFix(0, 0), kMax},
      {"1 / 3", KMF_DivFix(kOne, 3 * kOne), 21845},
      {"one unit / 2.0 rounds half up", KMF_DivFix(1, 2 * kOne), 1},
      {"sqrt32 of -1 reads 2^32 - 1", KMF_Sqrt32(-1), 65535},
      {"sqrt32 of 2^31", KMF_Sqrt32(INT32_MIN), 46340},
      {"sqrt32 one below 65535 squared", KMF_Sqrt32(-0x20000), 65534},
      {"sqrt fixed of a negative", KMF_SqrtFixed(-kOne), 0},
      {"sqrt fixed of the most negative", KMF_SqrtFixed(INT32_MIN), 0},
      {"sqrt fixed of 2.0", KMF_SqrtFixed(2 * kOne), 92681},
      {"sqrt fixed of the largest", KMF_SqrtFixed(kMax), 11863283},
  });
}

TEST(MulDiv, RoundingSentinelsAndWrap) {
  const struct {
    const char* name;
    std::int32_t a, b, c, round, trunc;
  } cases[] = {
      {"6/4", 6, 1, 4, 2, 1},
      {"-6/4", -6, 1, 4, -1, -1},
      {"-5/4: half divisor added before truncation", -5, 1, 4, 0, -1},
      {"7/-2", 7, 1, -2, -3, -3},
      {"7*-1/-2", 7, -1, -2, 4, 3},
      // Division by zero: MulDiv gives 1 for a zero operand, else saturates by sign.
      {"0*5/0", 0, 5, 0, 1, kMax},
      {"0*-1/0", 0, -1, 0, 1, -kMax},
      {"3*-2/0", 3, -2, 0, -kMax, -kMax},
      {"-3*-2/0", -3, -2, 0, kMax, kMax},
      {"low 32 bits of 2^40", 1 << 20, 1 << 20, 1, 0, 0},
      {"-2^31 divisor acts like 0 when not rounding", 5, 5, INT32_MIN, 0, -kMax},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(KMF_MulDiv(c.a, c.b, c.c), c.round) << c.name;
    EXPECT_EQ(KMF_MulDiv_No_Round(c.a, c.b, c.c), c.trunc) << c.name;
  }
}

TEST(ExportedTables, SqrtAndElderBitFormulas) {
  for (int i = 0; i < 1024; ++i) {
    ASSERT_EQ(g_sqrt_table[i], std::lround(2048.0 * std::sqrt(i))) << i;
  }
  for (int i = 0; i < 256; ++i) {
    int highest = 0;
    while (i >> (highest + 1)) ++highest;
    ASSERT_EQ(g_elder_bit_table[i], highest) << i;
  }
}

}  // namespace
