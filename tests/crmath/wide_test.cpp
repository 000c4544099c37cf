// The 320-bit fixed-point arithmetic of the accurate paths, and the
// Payne-Hanek reduction built on it, against exact MPFR arithmetic: each
// operation within the error its callers' bounds assume, and no further.
#include "wide.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "crmath/mpfr_ref.h"
#include "crmath_internal.h"

namespace {

namespace cm = kelvor::detail::crmath;
using crmath_test::bits;
using crmath_test::from_bits;
using crmath_test::hex;

struct Mp {
  mpfr_t v;
  explicit Mp(mpfr_prec_t p = 2400) { mpfr_init2(v, p); }
  Mp(const Mp&) = delete;
  Mp& operator=(const Mp&) = delete;
  ~Mp() { mpfr_clear(v); }
};

// Exact value of a Wide.
void set_wide(Mp& m, const cm::Wide& a) {
  mpfr_set_ui(m.v, 0, MPFR_RNDN);
  for (int i = 0; i < 5; ++i) {
    Mp t;
    mpfr_set_ui(t.v, static_cast<unsigned long>(a.w[i] >> 32), MPFR_RNDN);
    mpfr_mul_2ui(t.v, t.v, 32, MPFR_RNDN);
    mpfr_add_ui(t.v, t.v, static_cast<unsigned long>(a.w[i] & 0xffffffffULL), MPFR_RNDN);
    mpfr_mul_2si(t.v, t.v, -64 * i, MPFR_RNDN);
    mpfr_add(m.v, m.v, t.v, MPFR_RNDN);
  }
}

// (exact - got) in units of 2^-256.
double units_below(const Mp& exact, const cm::Wide& got) {
  Mp g, d;
  set_wide(g, got);
  mpfr_sub(d.v, exact.v, g.v, MPFR_RNDN);
  mpfr_mul_2ui(d.v, d.v, 256, MPFR_RNDN);
  return mpfr_get_d(d.v, MPFR_RNDN);
}

std::string words(const cm::Wide& a) {
  char buf[128];
  std::snprintf(buf, sizeof buf, "%016llx.%016llx %016llx %016llx %016llx",
                static_cast<unsigned long long>(a.w[0]), static_cast<unsigned long long>(a.w[1]),
                static_cast<unsigned long long>(a.w[2]), static_cast<unsigned long long>(a.w[3]),
                static_cast<unsigned long long>(a.w[4]));
  return buf;
}

cm::Wide random_wide(std::mt19937_64& rng, std::uint64_t int_limit) {
  cm::Wide a{{rng() % int_limit, rng(), rng(), rng(), rng()}};
  // Sparse and extreme words too: carries and zeros are where it breaks.
  for (auto& w : a.w) {
    const auto pick = rng() % 8;
    if (pick == 0) w = 0;
    if (pick == 1) w = ~0ULL;
  }
  a.w[0] %= int_limit;
  return a;
}

TEST(CrmathWide, PortableProductMatchesKnownProducts) {
  struct Case {
    std::uint64_t a, b, hi, lo;
  };
  const Case cases[] = {
      {0, 0, 0, 0},
      {1, 1, 0, 1},
      {~0ULL, ~0ULL, 0xfffffffffffffffeULL, 1},
      {0x100000000ULL, 0x100000000ULL, 1, 0},
      {0xffffffffULL, 0xffffffffULL, 0, 0xfffffffe00000001ULL},
      {0x8000000000000000ULL, 2, 1, 0},
      {0x123456789abcdef0ULL, 0x0fedcba987654321ULL, 0x0121fa00ad77d742ULL, 0x2236d88fe5618cf0ULL},
  };
  for (const Case& c : cases) {
    std::uint64_t hi, lo;
    cm::mul64_portable(c.a, c.b, hi, lo);
    EXPECT_EQ(hi, c.hi) << std::hex << c.a << " * " << c.b;
    EXPECT_EQ(lo, c.lo) << std::hex << c.a << " * " << c.b;
  }
}

TEST(CrmathWide, PortableProductMatchesNative) {
  std::mt19937_64 rng(11);
  for (int i = 0; i < 200000; ++i) {
    const std::uint64_t a = rng() >> (rng() % 64), b = rng() >> (rng() % 64);
    std::uint64_t h1, l1, h2, l2;
    cm::mul64_portable(a, b, h1, l1);
    cm::mul64(a, b, h2, l2);
    ASSERT_TRUE(h1 == h2 && l1 == l2) << std::hex << a << " * " << b;
  }
}

TEST(CrmathWide, ProductIsWithinEightUnitsBelow) {
  std::mt19937_64 rng(12);
  for (int i = 0; i < 20000; ++i) {
    const cm::Wide a = random_wide(rng, 1ULL << 20), b = random_wide(rng, 1ULL << 20);
    Mp ea, eb;
    set_wide(ea, a);
    set_wide(eb, b);
    mpfr_mul(ea.v, ea.v, eb.v, MPFR_RNDN);  // exact at 2400 bits
    const double below = units_below(ea, cm::wide_mul(a, b));
    ASSERT_TRUE(below >= 0 && below < 8) << words(a) << " * " << words(b) << ": " << below;
  }
}

TEST(CrmathWide, QuotientIsWithinOneUnitBelow) {
  std::mt19937_64 rng(13);
  for (int i = 0; i < 20000; ++i) {
    const cm::Wide a = random_wide(rng, ~0ULL);
    const auto d = static_cast<std::uint32_t>(1 + rng() % (i % 2 ? 100 : 0xffffffffULL));
    Mp e;
    set_wide(e, a);
    mpfr_div_ui(e.v, e.v, d, MPFR_RNDN);
    const double below = units_below(e, cm::wide_div_small(a, d));
    ASSERT_TRUE(below >= 0 && below < 1) << words(a) << " / " << d << ": " << below;
  }
}

TEST(CrmathWide, SumsAndDifferencesAreExact) {
  std::mt19937_64 rng(14);
  for (int i = 0; i < 20000; ++i) {
    cm::Wide a = random_wide(rng, 1ULL << 62), b = random_wide(rng, 1ULL << 62);
    if (cm::wide_cmp(a, b) < 0) std::swap(a, b);
    Mp ea, eb, s;
    set_wide(ea, a);
    set_wide(eb, b);
    mpfr_add(s.v, ea.v, eb.v, MPFR_RNDN);
    ASSERT_EQ(units_below(s, cm::wide_add(a, b)), 0.0) << words(a) << " + " << words(b);
    mpfr_sub(s.v, ea.v, eb.v, MPFR_RNDN);
    ASSERT_EQ(units_below(s, cm::wide_sub(a, b)), 0.0) << words(a) << " - " << words(b);
    ASSERT_EQ(mpfr_cmp(ea.v, eb.v) > 0, cm::wide_cmp(a, b) > 0) << words(a) << " <=> " << words(b);
  }
}

// Rounding to a double: random values, values a hair from midpoints, and
// exact midpoints (ties to even).
TEST(CrmathWide, NearestDoubleMatchesMpfr) {
  std::mt19937_64 rng(15);
  for (int i = 0; i < 30000; ++i) {
    cm::Wide a = random_wide(rng, i % 3 == 0 ? 4 : 1);
    if (i % 5 == 1) {  // an exact midpoint: 54 significant bits
      a = cm::wide_zero();
      cm::wide_deposit(a, (rng() >> 10) | (1ULL << 53) | 1, static_cast<int>(rng() % 200));
    }
    if (cm::wide_is_zero(a)) continue;
    Mp e;
    set_wide(e, a);
    const double want = mpfr_get_d(e.v, MPFR_RNDN);
    const double got = cm::wide_nearest(a);
    ASSERT_EQ(bits(got), bits(want)) << words(a) << ": got " << hex(got) << ", want " << hex(want);
  }
}

TEST(CrmathWide, RoundingReportsWhenTheBoundStraddlesAMidpoint) {
  // 1 + 2^-53 is the midpoint between 1 and its successor.
  cm::Wide mid = cm::wide_one();
  cm::wide_deposit(mid, 1, 256 - 53);
  bool decided = true;
  cm::wide_round(mid, 5, decided);
  EXPECT_FALSE(decided) << "an exact midpoint cannot be decided";
  cm::Wide near = mid;
  near.w[4] = 100;  // 100 units above the midpoint
  EXPECT_EQ(cm::wide_round(near, 99, decided), 1.0000000000000002);
  EXPECT_TRUE(decided);
  cm::wide_round(near, 100, decided);
  EXPECT_FALSE(decided) << "the bound reaches the midpoint";
}

// x 2/pi mod 4 for x spread over every binade, with the window sizes the
// two callers use: below the exact value by at most 2^(55 - 64 words) +
// 2^-256.
TEST(CrmathWide, QuarterTurnReductionMatchesMpfr) {
  std::mt19937_64 rng(16);
  Mp two_over_pi(3000);
  mpfr_const_pi(two_over_pi.v, MPFR_RNDN);
  mpfr_ui_div(two_over_pi.v, 2, two_over_pi.v, MPFR_RNDN);
  for (int i = 0; i < 20000; ++i) {
    const int biased = static_cast<int>(rng() % 2047);  // every exponent, subnormals too
    double x = from_bits((static_cast<std::uint64_t>(biased) << 52) | (rng() >> 12));
    if (i == 0) x = 0x1.fffffffffffffp+1023;
    if (i == 1) x = 0x1.6ac5b262ca1ffp+849;  // 6381956970095103 * 2^797
    if (x == 0) continue;
    for (const int words : {3, 5}) {
      Mp e(3000);
      mpfr_mul_d(e.v, two_over_pi.v, x, MPFR_RNDN);
      Mp four(3000);
      mpfr_set_ui(four.v, 4, MPFR_RNDN);
      mpfr_fmod(e.v, e.v, four.v, MPFR_RNDN);
      const cm::Wide u = cm::reduce_quarter_turns(x, words);
      double below = units_below(e, u);
      if (below < -1e70) below += 4 * 0x1p256;  // the exact value wrapped past 4
      const double limit = (words == 3 ? 0x1p-137 : 0x1p-265) * 0x1p256 + 1;
      ASSERT_TRUE(below >= 0 && below < limit)
          << "x = " << hex(x) << ", " << words << " words: " << below << " units below";
    }
  }
}

// 6381956970095103 * 2^797 lies 2^-60.9 from a multiple of pi/2, the closest
// any double comes: the accurate path's relative precision rests on it.
TEST(CrmathWide, ClosestApproachToAQuarterTurn) {
  const cm::Wide u = cm::reduce_quarter_turns(0x1.6ac5b262ca1ffp+849, 5);
  const std::uint64_t f = u.w[1];  // leading fraction bits of x 2/pi
  const std::uint64_t distance = (f >> 63) != 0 ? ~f : f;
  EXPECT_EQ(distance >> 3, 0u) << words(u);  // within 2^-61 of an integer
  EXPECT_NE(distance, 0u) << words(u);       // but not within 2^-64
}

TEST(CrmathWide, SineAndCosineWithinTheirBound) {
  std::mt19937_64 rng(17);
  for (int i = 0; i < 3000; ++i) {
    cm::Wide a = random_wide(rng, 2);
    if (cm::wide_nearest(a) > 1.1) a.w[0] = 0;
    if (i == 0) a = cm::wide_zero();
    Mp ea, s, c;
    set_wide(ea, a);
    mpfr_sin_cos(s.v, c.v, ea.v, MPFR_RNDN);
    cm::Wide ws, wc;
    cm::wide_sincos(a, ws, wc);
    const double ds = units_below(s, ws), dc = units_below(c, wc);
    ASSERT_TRUE(ds > -1024 && ds < 1024 && dc > -1024 && dc < 1024)
        << "a = " << words(a) << ": sin off by " << ds << ", cos by " << dc << " units";
  }
}

}  // namespace
