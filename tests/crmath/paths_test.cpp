// Each stage of crmath on its own against MPFR: the fast reductions, the
// fast evaluations (is the error bound they claim ever exceeded?) and the
// accurate paths (which the public functions reach only about once in
// 100000 calls, so they are driven directly here).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "crmath/mpfr_ref.h"
#include "crmath_internal.h"
#include "reduce.h"

namespace {

namespace cm = kelvor::detail::crmath;
using crmath_test::bits;
using crmath_test::describe;
using crmath_test::Fn;
using crmath_test::from_bits;
using crmath_test::hex;
using crmath_test::reference;

double random_binade(std::mt19937_64& rng, int lo, int hi) {
  const int e = lo + static_cast<int>(rng() % static_cast<std::uint64_t>(hi - lo + 1));
  return from_bits((static_cast<std::uint64_t>(e + 1023) << 52) | (rng() >> 12));
}

// Arguments for sin and cos: the geographic range, near multiples of
// pi/2048 and pi/2, and every binade from 2^-26 up.
std::vector<double> trig_arguments(std::uint64_t seed, int n) {
  std::mt19937_64 rng(seed);
  std::uniform_real_distribution<double> geo(-4.0, 4.0), unit(-1.0, 1.0);
  std::vector<double> v;
  for (int i = 0; i < n; ++i) {
    switch (i % 4) {
      case 0: v.push_back(geo(rng)); break;
      case 1: {
        const double k = static_cast<double>(rng() % 200000);
        v.push_back(k * 0x1.921fb54442d18p-10 +
                    unit(rng) * std::ldexp(1.0, -static_cast<int>(rng() % 50)));
        break;
      }
      case 2: v.push_back(random_binade(rng, -26, 1023)); break;
      default: v.push_back(random_binade(rng, -26, 30) * (rng() & 1 ? -1 : 1)); break;
    }
  }
  return v;
}

std::vector<double> acos_arguments(std::uint64_t seed, int n) {
  std::mt19937_64 rng(seed);
  std::uniform_real_distribution<double> unit(-1.0, 1.0), u01(0.0, 1.0);
  std::vector<double> v;
  for (int i = 0; i < n; ++i) {
    double x;
    switch (i % 4) {
      case 0: x = unit(rng); break;
      case 1: x = 1.0 - std::ldexp(u01(rng), -static_cast<int>(rng() % 54)); break;
      case 2: x = -1.0 + std::ldexp(u01(rng), -static_cast<int>(rng() % 54)); break;
      default: x = random_binade(rng, -1074, -1) * (rng() & 1 ? -1 : 1); break;
    }
    if (x > -1.0 && x < 1.0) v.push_back(x);
  }
  return v;
}

// x = K pi/2048 + r: K's residue and r within the claimed error.
TEST(CrmathPaths, FastReductionMatchesMpfr) {
  mpfr_t pi, e, k, r;
  mpfr_inits2(3000, pi, e, k, r, static_cast<mpfr_ptr>(nullptr));
  mpfr_const_pi(pi, MPFR_RNDN);
  mpfr_div_ui(pi, pi, 2048, MPFR_RNDN);
  int checked = 0;
  for (const double s : trig_arguments(21, 40000)) {
    const double x = std::fabs(s);
    const cm::Reduced red = cm::reduce_any(x);
    mpfr_set_d(e, x, MPFR_RNDN);
    mpfr_div(k, e, pi, MPFR_RNDN);
    mpfr_rint(k, k, MPFR_RNDN);
    mpfr_mul(r, k, pi, MPFR_RNDN);
    mpfr_sub(r, e, r, MPFR_RNDN);  // the exact r for the nearest K
    mpfr_fmod_ui(k, k, 4096, MPFR_RNDN);
    const auto want_k = static_cast<unsigned>(mpfr_get_ui(k, MPFR_RNDN));
    const double exact_r = mpfr_get_d(r, MPFR_RNDN);
    mpfr_sub_d(r, r, red.hi, MPFR_RNDN);
    mpfr_sub_d(r, r, red.lo, MPFR_RNDN);
    const double err = std::fabs(mpfr_get_d(r, MPFR_RNDN));
    // A K one off is allowed only where x lies on the boundary between two.
    if (red.k != want_k) {
      ASSERT_GT(std::fabs(exact_r), 0.000766)
          << "x = " << hex(x) << ": K " << red.k << " vs " << want_k;
      continue;
    }
    ASSERT_LE(err, red.err + 0x1p-103 * std::fabs(exact_r))
        << "x = " << hex(x) << ": r off by " << err;
    ASSERT_LE(std::fabs(red.hi + red.lo), 0.00076700) << "x = " << hex(x);
    ASSERT_LE(std::fabs(red.lo), 0x1p-60) << "x = " << hex(x);
    ++checked;
  }
  mpfr_clears(pi, e, k, r, static_cast<mpfr_ptr>(nullptr));
  EXPECT_GT(checked, 39000);
}

// The fast evaluations never err by more than they claim. This is what the
// error analyses in sincos_fast.cpp and acos.cpp promise; a wrong term or a
// too-optimistic constant shows here long before it shows as a misrounding.
TEST(CrmathPaths, FastErrorBoundsHold) {
  struct Stage {
    Fn fn;
    cm::Approx (*eval)(double);
    std::vector<double> args;
  };
  const Stage stages[] = {{Fn::Sin, cm::sin_fast, trig_arguments(22, 30000)},
                          {Fn::Cos, cm::cos_fast, trig_arguments(23, 30000)},
                          {Fn::Acos, cm::acos_fast, acos_arguments(24, 30000)}};
  for (const Stage& st : stages) {
    double worst = 0;
    for (const double x : st.args) {
      const cm::Approx a = st.eval(x);
      const double err = crmath_test::absolute_error(st.fn, x, a.hi, a.lo);
      ASSERT_LE(err, a.err) << crmath_test::name(st.fn) << "(" << hex(x) << "): error " << err
                            << " exceeds the bound " << a.err;
      if (err / a.err > worst) worst = err / a.err;
    }
    std::printf("%s fast path: largest error / bound = %.3f\n", crmath_test::name(st.fn), worst);
  }
}

// The kernel on its own claims 2^-72.5 relative over the whole table and
// the whole range of r, including the ends where the analysis is tightest.
TEST(CrmathPaths, NodeKernelRelativeError) {
  std::mt19937_64 rng(25);
  std::uniform_real_distribution<double> rd(-0.000767, 0.000767);
  mpfr_t a, y;
  mpfr_inits2(400, a, y, static_cast<mpfr_ptr>(nullptr));
  for (int i = 0; i < 40000; ++i) {
    const int j = i < 2050 ? i % 1025 : static_cast<int>(rng() % 1025);
    double rh = rd(rng);
    if (i % 7 == 0) rh = (rng() & 1) ? 0.000767 : -0.000767;
    if (i % 11 == 0) rh = std::ldexp(rd(rng), -static_cast<int>(rng() % 40));
    // rl as large as the reductions may leave it (2^-60), or ulp-sized.
    const double rl = i % 2 ? std::ldexp(rd(rng) / 0.000767, -60)
                            : std::ldexp(rd(rng), -53) * std::fabs(rh) / 0.000767;
    const cm::DD got = cm::sin_node(j, rh, rl);
    mpfr_const_pi(a, MPFR_RNDN);
    mpfr_mul_ui(a, a, static_cast<unsigned long>(j), MPFR_RNDN);
    mpfr_div_ui(a, a, 2048, MPFR_RNDN);
    mpfr_add_d(a, a, rh, MPFR_RNDN);
    mpfr_add_d(a, a, rl, MPFR_RNDN);
    mpfr_sin(y, a, MPFR_RNDN);
    mpfr_set_d(a, got.hi, MPFR_RNDN);
    mpfr_add_d(a, a, got.lo, MPFR_RNDN);
    mpfr_sub(a, a, y, MPFR_RNDN);
    mpfr_div(a, a, y, MPFR_RNDN);
    const double rel = std::fabs(mpfr_get_d(a, MPFR_RNDN));
    ASSERT_LE(rel, 0x1.6a09e667f3bcdp-73)  // 2^-72.5
        << "j = " << j << ", r = " << hex(rh) << " + " << hex(rl);
  }
  mpfr_clears(a, y, static_cast<mpfr_ptr>(nullptr));
}

// The accurate paths alone, on the same spread of arguments and on the
// places they are hardest (near multiples of pi/2, near +-1): correctly
// rounded, and always certain of it.
TEST(CrmathPaths, AccuratePathsAreCorrectlyRounded) {
  struct Stage {
    Fn fn;
    double (*eval)(double, bool&);
    std::vector<double> args;
  };
  const Stage stages[] = {{Fn::Sin, cm::sin_accurate, trig_arguments(26, 6000)},
                          {Fn::Cos, cm::cos_accurate, trig_arguments(27, 6000)},
                          {Fn::Acos, cm::acos_accurate, acos_arguments(28, 6000)}};
  for (const Stage& st : stages) {
    int wrong = 0, undecided = 0;
    for (const double x : st.args) {
      bool decided = false;
      const double got = st.eval(x, decided);
      const double want = reference(st.fn, x);
      if (!decided) ++undecided;
      if (bits(got) != bits(want)) {
        if (++wrong <= 10) ADD_FAILURE() << "accurate " << describe(st.fn, x, got, want);
      }
    }
    EXPECT_EQ(wrong, 0) << crmath_test::name(st.fn);
    EXPECT_EQ(undecided, 0) << crmath_test::name(st.fn);
  }
}

}  // namespace
