// Every constant of crmath against MPFR at 2400 bits, independently of the
// generators (tools/crmath_tables.cpp, tests/crmath/gen_tables.py): the
// bits of 2/pi and pi, the Cody-Waite parts, the sine table and the acos
// Taylor coefficients (here from MPFR's asin and the differential equation
// of F, not the generators' series).
#include "tables.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>

#include "crmath/mpfr_ref.h"

namespace {

namespace cm = kelvor::detail::crmath;
using crmath_test::bits;
using crmath_test::hex;

constexpr mpfr_prec_t kPrec = 2400;

struct Mp {
  mpfr_t v;
  Mp() { mpfr_init2(v, kPrec); }
  Mp(const Mp&) = delete;
  Mp& operator=(const Mp&) = delete;
  ~Mp() { mpfr_clear(v); }
};

void set_pi(Mp& m) { mpfr_const_pi(m.v, MPFR_RNDN); }

// 64 bits of floor(v * 2^(64 (k + 1))) mod 2^64, for 0 <= v.
std::uint64_t word(const Mp& v, int k) {
  Mp t;
  mpfr_mul_2si(t.v, v.v, 64 * (k + 1), MPFR_RNDN);
  mpfr_floor(t.v, t.v);
  Mp q;
  mpfr_div_2si(q.v, t.v, 64, MPFR_RNDN);
  mpfr_floor(q.v, q.v);
  mpfr_mul_2si(q.v, q.v, 64, MPFR_RNDN);
  mpfr_sub(t.v, t.v, q.v, MPFR_RNDN);  // exact: below 2^64
  Mp h;
  mpfr_div_2si(h.v, t.v, 32, MPFR_RNDN);
  mpfr_floor(h.v, h.v);
  const auto upper = static_cast<std::uint64_t>(mpfr_get_ui(h.v, MPFR_RNDN));
  mpfr_mul_2si(h.v, h.v, 32, MPFR_RNDN);
  mpfr_sub(t.v, t.v, h.v, MPFR_RNDN);
  const auto lower = static_cast<std::uint64_t>(mpfr_get_ui(t.v, MPFR_RNDN));
  return (upper << 32) | lower;
}

double nearest(const Mp& v) { return mpfr_get_d(v.v, MPFR_RNDN); }

// hi = nearest(v), lo = nearest(v - hi).
void expect_dd(const Mp& v, cm::DD got, const std::string& what) {
  const double hi = nearest(v);
  Mp rest;
  mpfr_sub_d(rest.v, v.v, hi, MPFR_RNDN);
  const double lo = nearest(rest);
  EXPECT_EQ(bits(got.hi), bits(hi)) << what << " hi: got " << hex(got.hi) << ", want " << hex(hi);
  EXPECT_EQ(bits(got.lo), bits(lo)) << what << " lo: got " << hex(got.lo) << ", want " << hex(lo);
}

// Significant bits of a double (0 for zero).
int significant_bits(double x) {
  std::uint64_t m = bits(x) & 0x000fffffffffffffULL;
  if (x == 0) return 0;
  m |= 1ULL << 52;
  int n = 53;
  while ((m & 1) == 0) {
    m >>= 1;
    --n;
  }
  return n;
}

TEST(CrmathTables, TwoOverPiBits) {
  Mp two_over_pi;
  set_pi(two_over_pi);
  mpfr_ui_div(two_over_pi.v, 2, two_over_pi.v, MPFR_RNDN);
  for (int k = 0; k < cm::kTwoOverPiWords; ++k) {
    const std::uint64_t want = word(two_over_pi, k);
    EXPECT_EQ(cm::kTwoOverPi[k], want) << "kTwoOverPi[" << k << "]: got 0x" << std::hex
                                       << cm::kTwoOverPi[k] << ", want 0x" << want;
  }
}

TEST(CrmathTables, PiAndHalfPiWords) {
  Mp pi;
  set_pi(pi);
  Mp half;
  mpfr_div_2ui(half.v, pi.v, 1, MPFR_RNDN);
  for (const auto& [name, value, table] :
       {std::tuple<const char*, const Mp*, const cm::Wide*>{"pi", &pi, &cm::kPiWide},
        std::tuple<const char*, const Mp*, const cm::Wide*>{"pi/2", &half, &cm::kHalfPiWide}}) {
    Mp ip;
    mpfr_floor(ip.v, value->v);
    EXPECT_EQ(table->w[0], static_cast<std::uint64_t>(mpfr_get_ui(ip.v, MPFR_RNDN))) << name;
    for (int k = 0; k < 4; ++k) {
      const std::uint64_t want = word(*value, k);
      EXPECT_EQ(table->w[k + 1], want) << name << " word " << k + 1 << ": got 0x" << std::hex
                                       << table->w[k + 1] << ", want 0x" << want;
    }
  }
}

TEST(CrmathTables, DoubleDoubleConstants) {
  Mp pi;
  set_pi(pi);
  Mp v;
  mpfr_div_ui(v.v, pi.v, 2048, MPFR_RNDN);
  expect_dd(v, cm::kPi2048, "pi/2048");
  mpfr_div_ui(v.v, pi.v, 2, MPFR_RNDN);
  expect_dd(v, cm::kHalfPi, "pi/2");
  expect_dd(pi, cm::kPi, "pi");
  mpfr_ui_div(v.v, 2048, pi.v, MPFR_RNDN);
  EXPECT_EQ(bits(cm::k2048OverPi), bits(nearest(v))) << "2048/pi: got " << hex(cm::k2048OverPi);
}

// The reductions rely on each part having few enough bits that K times it is
// exact, and on what the parts leave out of pi/2048.
TEST(CrmathTables, CodyWaiteParts) {
  struct Split {
    const char* name;
    double parts[4];
    int count;
    int max_bits;  // of all but the last part
    double bound;  // on |pi/2048 - sum|
  };
  const Split splits[] = {
      {"Long",
       {cm::kPi2048Long1, cm::kPi2048Long2, cm::kPi2048Long3, cm::kPi2048Long4},
       4,
       26,
       2.1e-43},
      {"Short", {cm::kPi2048Short1, cm::kPi2048Short2, cm::kPi2048Short3, 0.0}, 3, 37, 5.2e-43},
  };
  Mp pi;
  set_pi(pi);
  for (const Split& s : splits) {
    Mp rest;
    mpfr_div_ui(rest.v, pi.v, 2048, MPFR_RNDN);
    for (int i = 0; i < s.count; ++i) {
      if (i + 1 < s.count) {
        EXPECT_LE(significant_bits(s.parts[i]), s.max_bits)
            << s.name << (i + 1) << " = " << hex(s.parts[i]);
      }
      mpfr_sub_d(rest.v, rest.v, s.parts[i], MPFR_RNDN);
      if (i == 0) {
        EXPECT_GE(mpfr_cmp_d(rest.v, 0.0), 0) << s.name << "1 must not exceed pi/2048";
      }
    }
    mpfr_abs(rest.v, rest.v, MPFR_RNDN);
    EXPECT_LT(mpfr_get_d(rest.v, MPFR_RNDU), s.bound)
        << s.name << " parts leave too much of pi/2048";
    // The leading part is within one of its own units of pi/2048 (truncated).
    EXPECT_LT(mpfr_get_d(rest.v, MPFR_RNDU), s.parts[0]) << s.name;
  }
}

TEST(CrmathTables, SineTable) {
  Mp pi;
  set_pi(pi);
  for (int j = 0; j <= cm::kSinSteps; ++j) {
    Mp v;
    mpfr_mul_ui(v.v, pi.v, static_cast<unsigned long>(j), MPFR_RNDN);
    mpfr_div_ui(v.v, v.v, 2 * cm::kSinSteps, MPFR_RNDN);
    mpfr_sin(v.v, v.v, MPFR_RNDN);
    expect_dd(v, cm::kSinTable[j], "sin(" + std::to_string(j) + " pi/2048)");
  }
}

// Taylor coefficients of F(t) = asin(sqrt t)/sqrt t about c = i/256, from
// 4 t (1 - t) F'' + (6 - 8t) F' - F = 0:
//   4c(1-c)(k+2)(k+1) d_(k+2) = (2k+1)^2 d_k - (k+1)(4k + 6 - 8c(k+1)) d_(k+1)
// with d0 = F(c), d1 = ((1-c)^(-1/2) - F(c)) / (2c); at c = 0 the power
// series C(2k, k) / (4^k (2k + 1)).
TEST(CrmathTables, AcosCoefficients) {
  const double bound[9] = {1.0472, 0.2151, 0.1252, 0.0980, 0.1030, 0.1030, 0.1030, 0.1030, 0.1030};
  for (int i = 0; i <= 64; ++i) {
    Mp d[9];
    if (i == 0) {
      for (int k = 0; k <= 8; ++k) {
        Mp num;
        mpfr_set_ui(num.v, 1, MPFR_RNDN);
        for (int m = 1; m <= k; ++m) {  // C(2k, k) / 4^k = prod (2m - 1) / (2m)
          mpfr_mul_ui(num.v, num.v, static_cast<unsigned long>(2 * m - 1), MPFR_RNDN);
          mpfr_div_ui(num.v, num.v, static_cast<unsigned long>(2 * m), MPFR_RNDN);
        }
        mpfr_div_ui(d[k].v, num.v, static_cast<unsigned long>(2 * k + 1), MPFR_RNDN);
      }
    } else {
      Mp c, s, one_minus;
      mpfr_set_ui(c.v, static_cast<unsigned long>(i), MPFR_RNDN);
      mpfr_div_ui(c.v, c.v, 256, MPFR_RNDN);
      mpfr_sqrt(s.v, c.v, MPFR_RNDN);
      mpfr_asin(d[0].v, s.v, MPFR_RNDN);
      mpfr_div(d[0].v, d[0].v, s.v, MPFR_RNDN);
      mpfr_ui_sub(one_minus.v, 1, c.v, MPFR_RNDN);
      mpfr_rec_sqrt(d[1].v, one_minus.v, MPFR_RNDN);
      mpfr_sub(d[1].v, d[1].v, d[0].v, MPFR_RNDN);
      mpfr_div(d[1].v, d[1].v, c.v, MPFR_RNDN);
      mpfr_div_2ui(d[1].v, d[1].v, 1, MPFR_RNDN);
      for (int k = 0; k + 2 <= 8; ++k) {
        Mp a, b, den;
        mpfr_mul_ui(a.v, d[k].v, static_cast<unsigned long>((2 * k + 1) * (2 * k + 1)), MPFR_RNDN);
        mpfr_mul_ui(b.v, c.v, static_cast<unsigned long>(8 * (k + 1)), MPFR_RNDN);
        mpfr_ui_sub(b.v, static_cast<unsigned long>(4 * k + 6), b.v, MPFR_RNDN);
        mpfr_mul_ui(b.v, b.v, static_cast<unsigned long>(k + 1), MPFR_RNDN);
        mpfr_mul(b.v, b.v, d[k + 1].v, MPFR_RNDN);
        mpfr_sub(a.v, a.v, b.v, MPFR_RNDN);
        mpfr_mul(den.v, c.v, one_minus.v, MPFR_RNDN);
        mpfr_mul_ui(den.v, den.v, static_cast<unsigned long>(4 * (k + 2) * (k + 1)), MPFR_RNDN);
        mpfr_div(d[k + 2].v, a.v, den.v, MPFR_RNDN);
      }
    }
    const cm::AcosNode& n = cm::kAcosNodes[i];
    const std::string at = "node " + std::to_string(i) + " d";
    expect_dd(d[0], {n.d0h, n.d0l}, at + "0");
    expect_dd(d[1], {n.d1h, n.d1l}, at + "1");
    for (int k = 2; k <= 8; ++k) {
      const double want = nearest(d[k]);
      EXPECT_EQ(bits(n.d[k - 2]), bits(want))
          << at << k << ": got " << hex(n.d[k - 2]) << ", want " << hex(want);
    }
    // d1's halves, and the coefficient bounds the error analysis uses.
    EXPECT_EQ(n.d1a + n.d1b, n.d1h) << at << "1 halves";
    EXPECT_LE(significant_bits(n.d1a), 26) << at << "1a " << hex(n.d1a);
    EXPECT_LE(significant_bits(n.d1b), 26) << at << "1b " << hex(n.d1b);
    for (int k = 0; k <= 8; ++k) {
      EXPECT_LE(nearest(d[k]), bound[k]) << at << k << " above the bound used in acos.cpp";
      EXPECT_GT(nearest(d[k]), 0.0) << at << k;
    }
  }
}

}  // namespace
