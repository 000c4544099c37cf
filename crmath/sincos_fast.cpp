// cr_sin and cr_cos, and their fast path: after x = K pi/2048 + r, a table of
// sin(j pi/2048) in double-double and short polynomials in r. About one call
// in 100000 falls through to the accurate path (sincos_accurate.cpp).
#include "crmath/crmath.h"
#include "crmath_internal.h"
#include "reduce.h"
#include "tables.h"

namespace kelvor::detail::crmath {
namespace {

// Taylor coefficients (nearest doubles) of sin r - r and cos r - 1 + r^2/2.
constexpr double kS3 = -1.0 / 6, kS5 = 1.0 / 120, kS7 = -1.0 / 5040;
constexpr double kC4 = 1.0 / 24, kC6 = -1.0 / 720;

constexpr double kKernelError = 0x1p-71;  // relative, see node_sin

// sin(a + r) = s cos r + c sin r with s = sin a, c = cos a from the table:
//   = s + r (c - s r/2) + c (sin r - r) + s (cos r - 1 + r^2/2).
// The first two terms carry the result and are formed in double-double
// (one two_prod, two two_sums); the others need only double precision.
//
// Error bound, relative to sin(a + r), r = rh + rl exactly, |r| <= R =
// 0.00076700 < 2^-10.34, |rl| <= 2^-60. The result is at least max(s/2, 0.99 |r|): for
// j >= 1 by concavity of sin (a + r >= a/2) and since it is at least
// sin(pi/4096 - 2^-35) >= 0.99 R; for j = 0 it is sin r. So it bounds
// M = s + |r| / 3.02, s / 2 and |r| / 1.01.
//  - table entries, each to 2^-106 relative:              2^-106 M
//  - m = s.hi rh rounded: w r is off by |s r^2|/2 2^-53,
//    against a result of at least s/2:                     2^-73.7
//  - w = c - m/2 (exact: c = 0 or |c| >= sin(pi/2048) > 2 |m/2|, plus
//    s.lo rh/2 and c.lo) and w r (two_prod plus the rl and wl terms):
//    what is left out or rounded is below 2^-100 M
//  - c (sin r - r), at most r^2/6 |r| <= 2^-23.3 |r|: Taylor remainder
//    after r^7 (< 2^-96 |r|); r^2, r^3, the coefficients, the Horner step,
//    the product by c.hi and c.lo left out: 6 roundings; rh for r
//    corrected by -c rh^2 rl/2 to first order (the rest, and rl^2 terms,
//    below 2^-110);
//    the additions of the tails and into lo: 2 more roundings;
//    8 roundings of 2^-23.3 |r|:                           2^-73.3 |r|
//  - s (cos r - 1 + r^2/2) <= 2^-46 s, to 8 roundings:     2^-96 s
//  - the small terms of lo (below 2^-50 M), added first:   2^-102 M
//  - s + a (fast_two_sum: s = 0, or s >= sin(pi/2048) > |a|): exact
// In all below 2^-73.7 + 1.01 2^-73.3 + 2^-94 < 2^-72.5 relative. The result
// is left as h.hi + lo with |lo| < 2^-22 |h.hi|. kKernelError (2^-71) leaves
// room for 2^-103 |r| from the large-argument reduction, the 2^-75 |hi| that
// round_if_certain needs for that lo, and the rounding of the bound itself. The first-order effect
// of rl on the whole, (c - s r - c r^2/2) rl, is split between (w.hi - m/2) rl and the tail.
KELVOR_CRMATH_INLINE DD node_sin(int j, double rh, double rl) {
  const DD s = kSinTable[j];
  const DD c = kSinTable[kSinSteps - j];
  const double half_m = 0.5 * (s.hi * rh);
  const DD w = fast_two_sum(c.hi, -half_m);
  const double wl = w.lo + (c.lo - 0.5 * (s.lo * rh));
  const DD a = two_prod(w.hi, rh);
  const double r2 = rh * rh;
  const double al = a.lo + ((w.hi - half_m) * rl + wl * rh);
  const double sin_tail = (rh * r2) * (kS3 + r2 * (kS5 + r2 * kS7)) - 0.5 * (r2 * rl);
  const double cos_tail = (r2 * r2) * (kC4 + r2 * kC6);
  const DD h = fast_two_sum(s.hi, a.hi);
  return {h.hi, (h.lo + (s.lo + al)) + (c.hi * sin_tail + s.hi * cos_tail)};
}

// sin(K pi/2048 + r) (or its cosine, a quarter turn on), negated on request.
// The quadrant picks the entry and the signs without branches: random
// arguments would make any branch here a coin toss.
KELVOR_CRMATH_INLINE Approx finish(const Reduced& red, bool cosine, std::uint64_t negate) {
  const unsigned k = red.k + (cosine ? unsigned{kSinSteps} : 0u);
  const unsigned q = (k / kSinSteps) & 3u;
  const unsigned odd = q & 1u;
  const int j0 = static_cast<int>(k % kSinSteps);
  const int j = odd != 0 ? kSinSteps - j0 : j0;  // sin(pi/2 + a + r) = sin(pi/2 - a - r)
  const std::uint64_t flip_r = static_cast<std::uint64_t>(odd) << 63;
  const double rh = from_bits(bits_of(red.hi) ^ flip_r);
  const double rl = from_bits(bits_of(red.lo) ^ flip_r);
  const DD y = node_sin(j, rh, rl);
  const std::uint64_t flip_y = (static_cast<std::uint64_t>(q >> 1) ^ negate) << 63;
  return {from_bits(bits_of(y.hi) ^ flip_y), from_bits(bits_of(y.lo) ^ flip_y),
          kKernelError * abs_of(y.hi) + red.err};
}

constexpr std::uint64_t kAbsMask = 0x7fffffffffffffffULL;
constexpr std::uint64_t kInfBits = 0x7ff0000000000000ULL;

// inf -> the default quiet NaN; NaN -> itself, quieted. Bit operations, so
// that no platform's own NaN conventions show through.
double invalid(std::uint64_t bits) {
  return from_bits((bits & kAbsMask) == kInfBits ? 0x7ff8000000000000ULL
                                                 : bits | 0x0008000000000000ULL);
}

}  // namespace

DD sin_node(int j, double rh, double rl) { return node_sin(j, rh, rl); }

Approx sin_fast(double x) { return finish(reduce_any(abs_of(x)), false, bits_of(x) >> 63); }

Approx cos_fast(double x) { return finish(reduce_any(abs_of(x)), true, 0); }

}  // namespace kelvor::detail::crmath

namespace kelvor::detail {

namespace cm = crmath;

double cr_sin(double x) {
  const std::uint64_t bits = cm::bits_of(x);
  const std::uint64_t abs_bits = bits & cm::kAbsMask;
  if (abs_bits >= cm::kInfBits) return cm::invalid(bits);
  // |x| < 2^-26: x^3/6 is below a quarter ulp of x, and sin x lies between
  // x - x^3/6 and x, so x is the nearest double (zeros and subnormals too).
  if (abs_bits < 0x3e50000000000000ULL) return x;
  double y;
  if (cm::round_if_certain(cm::finish(cm::reduce_any(cm::from_bits(abs_bits)), false, bits >> 63),
                           y))
    return y;
  bool decided;
  return cm::sin_accurate(x, decided);
}

double cr_cos(double x) {
  const std::uint64_t bits = cm::bits_of(x);
  const std::uint64_t abs_bits = bits & cm::kAbsMask;
  if (abs_bits >= cm::kInfBits) return cm::invalid(bits);
  // |x| < 2^-27: 1 - cos x < x^2/2 < 2^-55, less than half the gap below 1.
  if (abs_bits < 0x3e40000000000000ULL) return 1.0;
  double y;
  if (cm::round_if_certain(cm::finish(cm::reduce_any(cm::from_bits(abs_bits)), true, 0), y))
    return y;
  bool decided;
  return cm::cos_accurate(x, decided);
}

}  // namespace kelvor::detail
