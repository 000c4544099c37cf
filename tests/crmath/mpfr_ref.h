// MPFR references for the crmath tests: the correctly rounded binary64
// values of sin, cos and acos (with binary64's exponent range, subnormals
// included), exact values at high precision, and the failure text that
// names a case by its bits.
#ifndef KELVOR_TESTS_CRMATH_MPFR_REF_H
#define KELVOR_TESTS_CRMATH_MPFR_REF_H

#include <mpfr.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "dd.h"

namespace crmath_test {

enum class Fn { Sin, Cos, Acos };

inline const char* name(Fn f) { return f == Fn::Sin ? "sin" : f == Fn::Cos ? "cos" : "acos"; }

inline std::uint64_t bits(double x) { return kelvor::detail::crmath::bits_of(x); }
using kelvor::detail::crmath::from_bits;

inline std::string hex(double x) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%a [0x%016llx]", x, static_cast<unsigned long long>(bits(x)));
  return buf;
}

// "sin(0x1.8p+1 [0x4008000000000000]): got ... want ...", for failures.
inline std::string describe(Fn f, double x, double got, double want) {
  return std::string(name(f)) + "(" + hex(x) + "): got " + hex(got) + ", want " + hex(want);
}

// One MPFR evaluation of f at x, at `prec` bits, into out (initialised by the
// caller at prec bits); returns MPFR's ternary value.
inline int eval(Fn f, mpfr_t out, double x, mpfr_rnd_t rnd) {
  mpfr_t mx;
  mpfr_init2(mx, 53);
  mpfr_set_d(mx, x, MPFR_RNDN);
  int inex = 0;
  switch (f) {
    case Fn::Sin: inex = mpfr_sin(out, mx, rnd); break;
    case Fn::Cos: inex = mpfr_cos(out, mx, rnd); break;
    case Fn::Acos: inex = mpfr_acos(out, mx, rnd); break;
  }
  mpfr_clear(mx);
  return inex;
}

// The correctly rounded binary64 value of f(x) (NaN where f is undefined).
inline double reference(Fn f, double x) {
  const mpfr_exp_t emin = mpfr_get_emin(), emax = mpfr_get_emax();
  mpfr_set_emin(-1073);
  mpfr_set_emax(1024);
  mpfr_t y;
  mpfr_init2(y, 53);
  int inex = eval(f, y, x, MPFR_RNDN);
  inex = mpfr_subnormalize(y, inex, MPFR_RNDN);
  const double d = mpfr_get_d(y, MPFR_RNDN);
  mpfr_clear(y);
  mpfr_set_emin(emin);
  mpfr_set_emax(emax);
  return d;
}

// How far f(x) lies from the nearest midpoint between doubles, in units of
// the result's ulp (0 = on a midpoint, 0.5 = on a double). Finite f(x) with
// a normal result only.
inline double midpoint_distance(Fn f, double x) {
  mpfr_t y, r;
  mpfr_init2(y, 400);
  mpfr_init2(r, 400);
  eval(f, y, x, MPFR_RNDN);
  // Scale so that one ulp is 1: y * 2^(52 - exponent), exponent of the
  // leading bit (MPFR exponents put the value in [0.5, 1) * 2^exp).
  const mpfr_exp_t e = mpfr_get_exp(y);
  mpfr_abs(y, y, MPFR_RNDN);
  mpfr_mul_2si(y, y, 53 - e, MPFR_RNDN);
  mpfr_frac(r, y, MPFR_RNDN);        // position inside the ulp
  mpfr_sub_d(r, r, 0.5, MPFR_RNDN);  // midpoint at 0
  mpfr_abs(r, r, MPFR_RNDN);
  const double d = mpfr_get_d(r, MPFR_RNDN);
  mpfr_clear(y);
  mpfr_clear(r);
  return d;
}

// |a - f(x)| for a = hi + lo, absolute.
inline double absolute_error(Fn f, double x, double hi, double lo) {
  mpfr_t y, a;
  mpfr_init2(y, 400);
  mpfr_init2(a, 400);
  eval(f, y, x, MPFR_RNDN);
  mpfr_set_d(a, hi, MPFR_RNDN);
  mpfr_add_d(a, a, lo, MPFR_RNDN);
  mpfr_sub(a, a, y, MPFR_RNDN);
  mpfr_abs(a, a, MPFR_RNDN);
  const double d = mpfr_get_d(a, MPFR_RNDN);
  mpfr_clear(y);
  mpfr_clear(a);
  return d;
}

}  // namespace crmath_test

#endif  // KELVOR_TESTS_CRMATH_MPFR_REF_H
