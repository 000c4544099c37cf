// Argument reduction for sin and cos: x = K pi/2048 + r, K modulo 4096,
// |r| <= 0.00076700, r = hi + lo with |lo| <= 2^-60 (not renormalised: the
// kernel does not need |lo| <= ulp(hi)/2, and the renormalisation would sit
// on the critical path of every call).
//
// Below 64 (every angle the geographic functions meet) and below 2^17,
// Cody-Waite reductions in doubles, inline for speed; above, Payne-Hanek in
// integers (reduce.cpp), exact enough for the largest doubles.
#ifndef KELVOR_CRMATH_REDUCE_H
#define KELVOR_CRMATH_REDUCE_H

#include "crmath_internal.h"
#include "tables.h"

namespace kelvor::detail::crmath {

// For x >= 2^17.
Reduced reduce_payne_hanek(double x);

// K = round(x 2048/pi) from round-to-nearest arithmetic: adding 1.5 * 2^52
// leaves no fraction bits, and K's low bits are those of the sum. K is off
// by less than 2^-25.6 (in units of pi/2048) from x 2048/pi, which only
// widens the bound on |r| from pi/4096 to 0.00076700.
struct Quotient {
  unsigned k;  // K modulo 4096
  double kd;   // K
};

KELVOR_CRMATH_INLINE Quotient nearest_multiple(double x) {
  constexpr double kShifter = 0x1.8p52;
  const double y = x * k2048OverPi + kShifter;
  return {static_cast<unsigned>(bits_of(y)) & 4095u, y - kShifter};
}

// x < 64: K < 2^15.4, and pi/2048 split in two parts of at most 37 bits
// (kPi2048Short1, kPi2048Short2) and a double (kPi2048Short3), so that K times
// either part is exact. x - K Short1 is exact: a multiple of ulp(x) below
// 2^-10 <= 2^53 ulp(x) when K >= 1 (for K = 0 it is x). The two_sums are
// exact (and leave |lo| <= ulp(s.hi)/2 + |K Short3| <= 2^-63.9);
// left over: the truncation of pi/2048 (|eta| < 5.2e-43, times K:
// < 2^-125), the rounding of K Short3 (< 2^-124) and of lo (|lo| < 2^-63.9:
// < 2^-116.9), in all below 2^-116.
KELVOR_CRMATH_INLINE Reduced reduce_short(double x) {
  const Quotient q = nearest_multiple(x);
  const double t = x - q.kd * kPi2048Short1;
  const DD s = two_sum(t, -(q.kd * kPi2048Short2));
  const double lo = s.lo - q.kd * kPi2048Short3;
  return {q.k, s.hi, lo, 0x1p-115};
}

// 64 <= x < 2^17: K < 2^26.35 and three parts of at most 26 bits. As above
// (|lo| < 2^-60.8); left over: |eta| K < 2^-115.5, K Long4 rounded (< 2^-114.3) and the two
// additions into lo (|lo| < 2^-60.8: < 2^-112.8), in all below 2^-112.
inline Reduced reduce_medium(double x) {
  const Quotient q = nearest_multiple(x);
  const double t = x - q.kd * kPi2048Long1;
  const DD s = two_sum(t, -(q.kd * kPi2048Long2));
  const DD r0 = two_sum(s.hi, -(q.kd * kPi2048Long3));
  const double lo = (s.lo + r0.lo) - q.kd * kPi2048Long4;
  return {q.k, r0.hi, lo, 0x1p-111};
}

// For finite x > 0.
KELVOR_CRMATH_INLINE Reduced reduce_any(double x) {
  if (x < 64.0) return reduce_short(x);
  if (x < 0x1p17) return reduce_medium(x);
  return reduce_payne_hanek(x);
}

}  // namespace kelvor::detail::crmath

#endif  // KELVOR_CRMATH_REDUCE_H
