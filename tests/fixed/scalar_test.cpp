// Fixed-point scalar arithmetic and the two exported constant tables.
#include <gtest/gtest.h>
#include <kelvor/fixed.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <random>

#include "support/answers.h"

namespace {

constexpr std::int32_t kOne = 65536;
constexpr std::int32_t kMax = 0x7FFFFFFF;

// Random magnitudes spread over all scales, with the sign bit set at times.
std::int32_t AnyScale(std::mt19937& rng) {
  return static_cast<std::int32_t>(rng() >> (rng() % 32));
}

TEST(Rounding, MatchesWholeNumbersOfTheExactValue) {
  EXPECT_EQ(KMF_RoundFix(kMax), INT32_MIN) << "wraps like the 32-bit form";
  std::mt19937 rng(1234);
  for (int i = 0; i < 20000; ++i) {
    std::int32_t a = static_cast<std::int32_t>(rng() % (1u << 31)) - (1 << 30);
    // Every fourth value sits on a half or next to a whole number, where the rules differ.
    if (i % 4 == 0) a = static_cast<std::int32_t>(a & ~0xFFFF) + (i % 16 == 0 ? 0x8000 : i % 3 - 1);
    const double v = a / 65536.0;  // exact
    ASSERT_EQ(KMF_FloorFix(a), std::floor(v) * kOne) << a;
    ASSERT_EQ(KMF_CeilFix(a), std::ceil(v) * kOne) << a;
    ASSERT_EQ(KMF_RoundFix(a), std::round(v) * kOne) << a;  // halves away from zero
  }
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

TEST(MulFix, AgreesWithExactProduct) {
  EXPECT_EQ(KMF_MulFix(3 * kOne / 2, 3 * kOne / 2), 9 * kOne / 4) << "1.5 * 1.5";
  EXPECT_EQ(KMF_MulFix(300 * kOne, 300 * kOne), 1603272704) << "keeps the low 32 bits";
  std::mt19937 rng(42);
  for (int i = 0; i < 50000; ++i) {
    const std::int32_t a = AnyScale(rng), b = AnyScale(rng);
    const std::int64_t p = static_cast<std::int64_t>(a) * b;
    const std::int64_t want = p >= 0 ? (p + 32768) / 65536 : -((-p + 32768) / 65536);
    ASSERT_EQ(static_cast<std::uint32_t>(KMF_MulFix(a, b)), static_cast<std::uint32_t>(want))
        << a << " * " << b;
  }
}

TEST(DivFix, SentinelsAndExactRounding) {
  ExpectAnswers({
      {"-5 / 0", KMF_DivFix(-5, 0), -kMax},
      {"5 / 0", KMF_DivFix(5, 0), kMax},
      {"0 / 0", KMF_DivFix(0, 0), kMax},
      {"1 / 3", KMF_DivFix(kOne, 3 * kOne), 21845},
      {"one unit / 2.0 rounds half up", KMF_DivFix(1, 2 * kOne), 1},
  });
  std::mt19937 rng(7);
  for (int i = 0; i < 50000; ++i) {
    const std::int32_t a = AnyScale(rng), b = AnyScale(rng);
    if (b == 0 || a == INT32_MIN || b == INT32_MIN) continue;
    const std::int64_t mn = std::abs(std::int64_t{a} * 65536), mb = std::abs(std::int64_t{b});
    const std::int64_t want = ((a < 0) != (b < 0) ? -1 : 1) * ((mn + mb / 2) / mb);
    if (want < INT32_MIN || want > INT32_MAX) continue;
    ASSERT_EQ(KMF_DivFix(a, b), want) << a << " / " << b;
  }
}

::testing::AssertionResult IsFloorRoot(std::uint64_t r, std::uint64_t n) {
  if (r * r <= n && (r + 1) * (r + 1) > n) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << r << " is not floor(sqrt(" << n << "))";
}

TEST(Sqrt32, IsFloorOfSquareRoot) {
  auto check = [](std::uint32_t n) {  // the argument is read as unsigned
    return IsFloorRoot(static_cast<std::uint32_t>(KMF_Sqrt32(static_cast<std::int32_t>(n))), n);
  };
  EXPECT_TRUE(check(0));
  EXPECT_TRUE(check(0xFFFFFFFFu));
  EXPECT_TRUE(check(0x80000000u));
  for (std::uint32_t k = 1; k < 65536; k += 97) {
    ASSERT_TRUE(check(k * k - 1));
    ASSERT_TRUE(check(k * k));
  }
  std::mt19937 rng(3);
  for (int i = 0; i < 20000; ++i) ASSERT_TRUE(check(rng()));
}

TEST(SqrtFixed, IsTruncatedRootOfScaledInput) {
  EXPECT_EQ(KMF_SqrtFixed(-kOne), 0) << "negative";
  EXPECT_EQ(KMF_SqrtFixed(INT32_MIN), 0) << "most negative";
  EXPECT_EQ(KMF_SqrtFixed(0), 0) << "zero";
  std::mt19937 rng(5);
  for (int i = 0; i < 30000; ++i) {
    const std::int32_t x = i == 0 ? kMax : AnyScale(rng);
    if (x <= 0) continue;
    ASSERT_TRUE(IsFloorRoot(static_cast<std::uint32_t>(KMF_SqrtFixed(x)), std::uint64_t(x) << 16));
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
