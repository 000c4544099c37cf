// Fixed-point scalar arithmetic: rounding, products, quotients, square roots.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>

#include <kelvor/fixed.h>

namespace {

constexpr std::int32_t kOne = 65536;
constexpr std::int32_t kMax = 0x7FFFFFFF;

struct UnaryCase {
  std::int32_t in;
  std::int32_t want;
};

class RoundFixTest : public ::testing::TestWithParam<UnaryCase> {};
TEST_P(RoundFixTest, HalvesGoAwayFromZero) {
  EXPECT_EQ(KMF_RoundFix(GetParam().in), GetParam().want);
}
INSTANTIATE_TEST_SUITE_P(Cases, RoundFixTest,
                         ::testing::Values(UnaryCase{kOne + kOne / 2, 2 * kOne},
                                           UnaryCase{-(kOne + kOne / 2), -2 * kOne},
                                           UnaryCase{kOne / 2, kOne}, UnaryCase{-kOne / 2, -kOne},
                                           UnaryCase{32767, 0}, UnaryCase{-32767, 0},
                                           UnaryCase{0, 0}, UnaryCase{-1, 0},
                                           // wraps like the 32-bit signed form
                                           UnaryCase{kMax, INT32_MIN}));

class CeilFixTest : public ::testing::TestWithParam<UnaryCase> {};
TEST_P(CeilFixTest, SmallestWholeNotBelow) { EXPECT_EQ(KMF_CeilFix(GetParam().in), GetParam().want); }
INSTANTIATE_TEST_SUITE_P(Cases, CeilFixTest,
                         ::testing::Values(UnaryCase{81920, 2 * kOne}, UnaryCase{-81920, -kOne},
                                           UnaryCase{kOne, kOne}, UnaryCase{1, kOne},
                                           UnaryCase{-1, 0}, UnaryCase{0, 0},
                                           UnaryCase{-2 * kOne, -2 * kOne}));

class FloorFixTest : public ::testing::TestWithParam<UnaryCase> {};
TEST_P(FloorFixTest, LargestWholeNotAbove) {
  EXPECT_EQ(KMF_FloorFix(GetParam().in), GetParam().want);
}
INSTANTIATE_TEST_SUITE_P(Cases, FloorFixTest,
                         ::testing::Values(UnaryCase{-81920, -2 * kOne}, UnaryCase{81920, kOne},
                                           UnaryCase{-1, -kOne}, UnaryCase{1, 0},
                                           UnaryCase{0, 0}, UnaryCase{-kOne, -kOne},
                                           UnaryCase{INT32_MIN, INT32_MIN}));

TEST(RoundingProperty, ResultsAreWholeAndBracketTheInput) {
  std::mt19937 rng(1234);
  std::uniform_int_distribution<std::int32_t> any(-(1 << 30), 1 << 30);
  for (int i = 0; i < 20000; ++i) {
    const std::int32_t a = any(rng);
    const std::int32_t f = KMF_FloorFix(a), c = KMF_CeilFix(a), r = KMF_RoundFix(a);
    ASSERT_EQ(f & 0xFFFF, 0);
    ASSERT_EQ(c & 0xFFFF, 0);
    ASSERT_EQ(r & 0xFFFF, 0);
    ASSERT_LE(f, a);
    ASSERT_GT(f + kOne, a);
    ASSERT_GE(c, a);
    ASSERT_LT(c - kOne, a);
    ASSERT_TRUE(r == f || r == c);
    ASSERT_EQ(KMF_RoundFix(-a), -r) << "rounding must be symmetric about zero";
  }
}

struct TernaryCase {
  std::int32_t a, b, c, want;
};

class MulDivTest : public ::testing::TestWithParam<TernaryCase> {};
TEST_P(MulDivTest, SignedHalfDivisorRounding) {
  const auto& t = GetParam();
  EXPECT_EQ(KMF_MulDiv(t.a, t.b, t.c), t.want) << t.a << "*" << t.b << "/" << t.c;
}
INSTANTIATE_TEST_SUITE_P(
    Cases, MulDivTest,
    ::testing::Values(TernaryCase{5, 1, 4, 1}, TernaryCase{6, 1, 4, 2}, TernaryCase{7, 1, 2, 4},
                      TernaryCase{-5, 1, 4, 0}, TernaryCase{-6, 1, 4, -1},
                      TernaryCase{-7, 1, 2, -3}, TernaryCase{5, 1, -4, 0},
                      TernaryCase{-5, 1, -4, 1},
                      // division by zero: 1 for a zero operand, else saturated by sign
                      TernaryCase{0, 5, 0, 1}, TernaryCase{5, 0, 0, 1}, TernaryCase{3, -2, 0, -kMax},
                      TernaryCase{-3, -2, 0, kMax}, TernaryCase{3, 2, 0, kMax},
                      // low 32 bits of 2^40
                      TernaryCase{1 << 20, 1 << 20, 1, 0},
                      TernaryCase{INT32_MIN, INT32_MIN, INT32_MIN, -kMax}));

class MulDivNoRoundTest : public ::testing::TestWithParam<TernaryCase> {};
TEST_P(MulDivNoRoundTest, TruncatesOnMagnitudes) {
  const auto& t = GetParam();
  EXPECT_EQ(KMF_MulDiv_No_Round(t.a, t.b, t.c), t.want) << t.a << "*" << t.b << "/" << t.c;
}
INSTANTIATE_TEST_SUITE_P(
    Cases, MulDivNoRoundTest,
    ::testing::Values(TernaryCase{7, 1, 2, 3}, TernaryCase{-7, 1, 2, -3},
                      TernaryCase{7, -1, -2, 3}, TernaryCase{7, 1, -2, -3},
                      TernaryCase{0, 1, 0, kMax}, TernaryCase{0, -1, 0, -kMax},
                      TernaryCase{5, 5, INT32_MIN, -kMax},  // -2^31 divisor acts like 0
                      TernaryCase{1 << 20, 1 << 20, 1, 0}));

TEST(MulFix, Examples) {
  EXPECT_EQ(KMF_MulFix(98304, 98304), 147456);  // 1.5 * 1.5 = 2.25
  EXPECT_EQ(KMF_MulFix(300 * kOne, 300 * kOne), 1603272704);
  EXPECT_EQ(KMF_MulFix(1, kOne / 2), 1);   // half a unit rounds away from zero
  EXPECT_EQ(KMF_MulFix(-1, kOne / 2), -1);
  EXPECT_EQ(KMF_MulFix(1, 32767), 0);
  EXPECT_EQ(KMF_MulFix(0, -5), 0);
}

// Round half away from zero of a * b / 65536, from the exact 64-bit product.
std::int64_t reference_mulfix(std::int32_t a, std::int32_t b) {
  const std::int64_t p = static_cast<std::int64_t>(a) * b;
  return p >= 0 ? (p + 32768) / 65536 : -((-p + 32768) / 65536);
}

TEST(MulFix, AgreesWithExactProductWhereItFits) {
  std::mt19937 rng(42);
  std::uniform_int_distribution<int> bits(0, 31);
  std::uniform_int_distribution<std::uint32_t> raw;
  for (int i = 0; i < 50000; ++i) {
    // Random magnitudes spread over all scales, random signs.
    const std::int32_t a = static_cast<std::int32_t>(raw(rng) >> bits(rng));
    const std::int32_t b = static_cast<std::int32_t>(raw(rng) >> bits(rng));
    const std::int64_t want = reference_mulfix(a, b);
    const std::int32_t got = KMF_MulFix(a, b);
    // Out-of-range products keep their low 32 bits.
    ASSERT_EQ(static_cast<std::uint32_t>(got), static_cast<std::uint32_t>(want)) << a << " * " << b;
    ASSERT_EQ(KMF_MulFix(a, b), KMF_MulFix(b, a));
  }
}

TEST(DivFix, Examples) {
  EXPECT_EQ(KMF_DivFix(kOne, 3 * kOne), 21845);
  EXPECT_EQ(KMF_DivFix(-5, 0), -kMax);
  EXPECT_EQ(KMF_DivFix(5, 0), kMax);
  EXPECT_EQ(KMF_DivFix(0, 0), kMax);
  EXPECT_EQ(KMF_DivFix(1, 2 * kOne), 1);  // half a unit rounds away from zero
  EXPECT_EQ(KMF_DivFix(-1, 2 * kOne), -1);
  EXPECT_EQ(KMF_DivFix(7 * kOne, -2 * kOne), -(7 * kOne / 2));
}

TEST(DivFix, AgreesWithExactQuotientWhereItFits) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> bits(0, 31);
  std::uniform_int_distribution<std::uint32_t> raw;
  for (int i = 0; i < 50000; ++i) {
    const std::int32_t a = static_cast<std::int32_t>(raw(rng) >> bits(rng));
    const std::int32_t b = static_cast<std::int32_t>(raw(rng) >> bits(rng));
    if (b == 0 || a == INT32_MIN || b == INT32_MIN) continue;
    const std::int64_t num = static_cast<std::int64_t>(a) * 65536;
    const std::int64_t mn = num < 0 ? -num : num, mb = b < 0 ? -std::int64_t{b} : b;
    std::int64_t want = (mn + mb / 2) / mb;
    if ((a < 0) != (b < 0)) want = -want;
    if (want < INT32_MIN || want > INT32_MAX) continue;
    ASSERT_EQ(KMF_DivFix(a, b), want) << a << " / " << b;
  }
}

TEST(Sqrt32, Examples) {
  EXPECT_EQ(KMF_Sqrt32(0), 0);
  EXPECT_EQ(KMF_Sqrt32(-1), 65535);  // read as 2^32 - 1
  EXPECT_EQ(KMF_Sqrt32(INT32_MIN), 46340);
  EXPECT_EQ(KMF_Sqrt32(15), 3);
  EXPECT_EQ(KMF_Sqrt32(16), 4);
}

TEST(Sqrt32, IsFloorOfSquareRootAroundEverySquare) {
  std::mt19937 rng(3);
  std::uniform_int_distribution<std::uint32_t> raw;
  auto check = [](std::uint32_t n) {
    const std::uint64_t r = static_cast<std::uint32_t>(KMF_Sqrt32(static_cast<std::int32_t>(n)));
    ASSERT_LE(r * r, n);
    ASSERT_GT((r + 1) * (r + 1), n);
  };
  for (std::uint32_t k = 1; k < 65536; k += 97) {
    check(k * k - 1);
    check(k * k);
  }
  for (int i = 0; i < 20000; ++i) check(raw(rng));
  check(0xFFFFFFFFu);
}

TEST(SqrtFixed, Examples) {
  EXPECT_EQ(KMF_SqrtFixed(kOne), kOne);
  EXPECT_EQ(KMF_SqrtFixed(4 * kOne), 2 * kOne);
  EXPECT_EQ(KMF_SqrtFixed(kMax), 11863283);
  EXPECT_EQ(KMF_SqrtFixed(-kOne), 0);
  EXPECT_EQ(KMF_SqrtFixed(0), 0);
  EXPECT_EQ(KMF_SqrtFixed(INT32_MIN), 0);
}

TEST(SqrtFixed, IsTruncatedSquareRootOfScaledInput) {
  std::mt19937 rng(5);
  std::uniform_int_distribution<int> bits(1, 31);
  std::uniform_int_distribution<std::uint32_t> raw;
  for (int i = 0; i < 30000; ++i) {
    const std::int32_t x = static_cast<std::int32_t>(raw(rng) >> bits(rng));
    if (x <= 0) continue;
    const std::uint64_t r = static_cast<std::uint32_t>(KMF_SqrtFixed(x));
    const std::uint64_t scaled = static_cast<std::uint64_t>(x) << 16;
    ASSERT_LE(r * r, scaled) << x;
    ASSERT_GT((r + 1) * (r + 1), scaled) << x;
  }
}

}  // namespace
