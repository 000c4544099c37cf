// The stages behind cr_sin, cr_cos and cr_acos, declared for one another and
// for the tests, which check each stage on its own (the accurate paths are
// otherwise reached too rarely to test through the public functions).
#ifndef KELVOR_CRMATH_CRMATH_INTERNAL_H
#define KELVOR_CRMATH_CRMATH_INTERNAL_H

#include "dd.h"
#include "wide.h"

namespace kelvor::detail::crmath {

// x = K pi/2048 + r with K taken modulo 4096, |r| <= 0.00076700 and
// |lo| <= 2^-60: |hi + lo - r| <= err + 2^-103 |r|.
struct Reduced {
  unsigned k;
  double hi;
  double lo;
  double err;
};

// x * 2/pi modulo 4 for finite x > 0, from a window of `words` (3 to 5)
// 64-bit words of 2/pi: the result is below the exact value by less than
// 2^(55 - 64 words) + 2^-256.
Wide reduce_quarter_turns(double x, int words);

// sin(j pi/2048 + r), 0 <= j <= 1024, for r = rh + rl (|r| <= 0.00076700,
// |rl| <= 2^-60), with relative error below 2^-72.5; hi + lo with |lo| below
// 2^-22 |hi| (not renormalised).
DD sin_node(int j, double rh, double rl);

// Fast double-double evaluations with a rigorous error bound, for finite x
// with |x| >= 2^-27 (sin, cos) or -1 < x < 1 (acos).
Approx sin_fast(double x);
Approx cos_fast(double x);
Approx acos_fast(double x);

// The accurate paths, on the same arguments: results within 2^-180
// (relative) before rounding. decided reports whether that was enough to
// round with certainty (it always is for binary64 arguments, see
// sincos_accurate.cpp); the nearest double to the approximation is returned
// either way.
double sin_accurate(double x, bool& decided);
double cos_accurate(double x, bool& decided);
double acos_accurate(double x, bool& decided);

// sin a and cos a for 0 <= a <= 1.1, each within 2^10 units of the exact
// values (a taken as exact).
void wide_sincos(const Wide& a, Wide& s, Wide& c);

}  // namespace kelvor::detail::crmath

#endif  // KELVOR_CRMATH_CRMATH_INTERNAL_H
