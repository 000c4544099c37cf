// acos through one function of t, F(t) = asin(sqrt t)/sqrt t on [0, 1/4]:
//   |x| <= 1/2:  acos x = pi/2 - x F(x^2)
//   x > 1/2:     acos x = 2 sqrt(t) F(t),       t = (1 - x)/2
//   x < -1/2:    acos x = pi - 2 sqrt(t) F(t),  t = (1 + x)/2
// (1 -+ x)/2 is exact for |x| >= 1/2 (Sterbenz), so near +-1, where the
// geographic distances put most of their arguments, nothing cancels.
//
// F about c = i/256 is d0 + d1 h + ... with h = t - c, |h| <= 2^-9. The power
// series of F at 0 has positive coefficients and converges at t = 1 (to
// F(1) = pi/2), so every d_k is positive, d_k (1 - c)^k <= pi/2, and the
// tail after h^8 is below (pi/2) (2^-9 / (3/4))^9 < 2^-76.6. Over the nodes
// d1 <= 0.2151, d2 <= 0.1252, d3 <= 0.098 and d4 .. d8 <= 0.103 (the tests
// check these bounds on the table).
#include <cmath>

#include "crmath/crmath.h"
#include "crmath_internal.h"
#include "tables.h"

namespace kelvor::detail::crmath {
namespace {

constexpr double kAcosError = 0x1p-70;  // relative, see acos_eval

// F(th + tl) for 0 <= th <= 1/4, |tl| <= 2^-53 th (kExactT: tl = 0), as
// hi + lo with |lo| < 2^-20.5, error below 2^-71.05 (F >= 1, so also
// relative):
//  - the tail after h^8:                                   2^-76.6
//  - d2 .. d8 rounded to doubles: 2^-53 d2 h^2 and less:   2^-74
//  - q by Estrin's scheme (|q| <= 0.1252, within 2^-55) and h^2 q (two
//    more roundings): h^2 (2 2^-53 0.1252 + 2^-55):       2^-72
//  - adding h^2 q (below 2^-20.6) into lo, one rounding:   2^-73.6
//  - only with tl: tl F'(t) taken as tl (d1 + 2 h q), which leaves out
//    tl (d3 h^2 + ...), and its rounding:                  2^-74 + 2^-76.3
//  - d0, d1 double-doubles; d1 h as d1a ha (exact: 26 and 27 bits) plus
//    d1b ha, d1h hb, d1l h (below 2^-36, rounded); the sums: 2^-88.
// The node i = round(256 th) comes from the bits of th 256 + 1.5 2^52, and
// h = th - i/256 is exact: i = 0 gives h = th, and for i >= 1 th lies in
// [c/2, 2c] (Sterbenz). ha is h rounded to a multiple of 2^-36 (|ha| <=
// 2^-9: 27 bits), hb = h - ha exactly. d0h >= 1 > |d1a ha|: fast_two_sum.
// The order keeps the long Estrin chain off the critical path: hi needs only
// the table and d1a ha.
template <bool kExactT>
KELVOR_CRMATH_INLINE DD asin_ratio(double th, double tl) {
  constexpr double kShifter = 0x1.8p52;
  const double iv = th * 256.0 + kShifter;
  const AcosNode& n = kAcosNodes[bits_of(iv) & 127u];
  const double h = th - (iv - kShifter) * 0x1p-8;
  constexpr double kGrid = 0x1.8p16;  // ulp 2^-36
  const double ha = (h + kGrid) - kGrid;
  const double hb = h - ha;
  const DD f = fast_two_sum(n.d0h, n.d1a * ha);
  const double h2 = h * h;
  const double q = ((n.d[0] + h * n.d[1]) + h2 * (n.d[2] + h * n.d[3])) +
                   (h2 * h2) * ((n.d[4] + h * n.d[5]) + h2 * n.d[6]);
  double small = h2 * q;
  if (!kExactT) small = small + tl * (n.d1h + (h + h) * q);
  const double ml = n.d1b * ha + (n.d1h * hb + n.d1l * h);
  return {f.hi, (f.lo + (n.d0l + ml)) + small};
}

// The approximation, and inside it asin x (|x| <= 1/2) or acos |x| (|x| >
// 1/2), the value the accurate path refines. The products are Dekker's,
// sharing the split of x or of sqrt(t).
//
// Error, relative: x > 1/2: sqrt t as zh + zl (zh rounded, zl from the exact
// residual t - zh^2 times zh (0.5/t), three roundings: 2^-103.5) times F
// (2^-71.05): the Dekker product is exact, zl F.hi and the residual terms
// below 2^-100, and zh F.lo and its addition (|F.lo| < 2^-20.5) two
// roundings of 2^-20.5 z: 2^-72.5; in all 2^-70.6. x < -1/2: the same on
// 2 sqrt(t) F, halved by a result of at least 2pi/3 > 2 * 2 sqrt(t) F.
// |x| <= 1/2: x F <= 0.5236 within 0.5236 (2^-71.05 + 2^-72.5) against a
// result above 1.047: 2^-71.6. Every lo is below 2^-19 |hi|, so
// round_if_certain adds 2^-72 |hi|; kAcosError = 2^-70 covers the total.
KELVOR_CRMATH_INLINE Approx acos_eval(double x, DD& inner) {
  const double ax = abs_of(x);
  DD y;
  if (ax <= 0.5) {
    const DD xs = split(x);
    const double th = x * x;
    const double tl = ((xs.hi * xs.hi - th) + 2.0 * (xs.hi * xs.lo)) + xs.lo * xs.lo;
    const DD f = asin_ratio<false>(th, tl);
    const DD fs = split(f.hi);
    const double ph = x * f.hi;
    const double pe = ((xs.hi * fs.hi - ph) + xs.hi * fs.lo + xs.lo * fs.hi) + xs.lo * fs.lo;
    inner = {ph, pe + x * f.lo};
    const DD d = fast_two_sum(kHalfPi.hi, -ph);
    y = {d.hi, d.lo + (kHalfPi.lo - inner.lo)};
  } else {
    const double t = (1.0 - ax) * 0.5;
    const double zh = std::sqrt(t);  // IEEE square root: correctly rounded
    const DD zs = split(zh);
    const double z2 = zh * zh;
    const double z2e = ((zs.hi * zs.hi - z2) + 2.0 * (zs.hi * zs.lo)) + zs.lo * zs.lo;
    const double zl = ((t - z2) - z2e) * (zh * (0.5 / t));  // 0.5/t runs beside sqrt
    const DD f = asin_ratio<true>(t, 0.0);
    const DD fs = split(f.hi);
    const double ph = zh * f.hi;
    const double pe = ((zs.hi * fs.hi - ph) + zs.hi * fs.lo + zs.lo * fs.hi) + zs.lo * fs.lo;
    inner = {2.0 * ph, 2.0 * ((pe + zl * f.hi) + zh * f.lo)};
    // x > 0: inner; x < 0: pi - inner. Selected without a branch (the sign
    // of a cosine is a coin toss); fast_two_sum(0, v) is exact too.
    const bool negative = x < 0;
    const double base_hi = negative ? kPi.hi : 0.0, base_lo = negative ? kPi.lo : 0.0;
    const double sign = negative ? -1.0 : 1.0;
    const DD d = fast_two_sum(base_hi, sign * inner.hi);
    y = {d.hi, d.lo + (base_lo + sign * inner.lo)};
  }
  return {y.hi, y.lo, kAcosError * abs_of(y.hi)};
}

DD dd_div(const DD& a, const DD& b) {
  const double q1 = a.hi / b.hi;
  const DD p = two_prod(q1, b.hi);
  const double r = (((a.hi - p.hi) - p.lo) + a.lo) - q1 * b.lo;
  return fast_two_sum(q1, r / b.hi);
}

// One Newton step for g(v) = target, where g is sin (asin) or cos (acos):
// v - (sin v - target)/cos v, or v + (cos v - target)/sin v. The correction
// is tiny, so a double-double quotient (2^-100 relative) is plenty.
Wide newton_step(const Wide& v, const Wide& target, bool use_cos) {
  Wide s, c;
  wide_sincos(v, s, c);
  const Wide& g = use_cos ? c : s;
  const Wide& slope = use_cos ? s : c;
  const bool above = wide_cmp(g, target) >= 0;
  const Wide diff = above ? wide_sub(g, target) : wide_sub(target, g);
  const DD delta = dd_div(wide_to_dd(diff), wide_to_dd(slope));
  // asin: subtract when sin v is above; acos (cos decreasing): add.
  const bool add = above == use_cos;
  return add ? wide_add_dd(v, delta.hi, delta.lo) : wide_add_dd(v, -delta.hi, -delta.lo);
}

// Units (2^-256) of error left after two Newton steps, see acos_accurate.
constexpr std::uint64_t kAccurateError = 1ULL << 40;

}  // namespace

Approx acos_fast(double x) {
  DD inner;
  return acos_eval(x, inner);
}

// Newton's method from the fast approximation v0 (relative error e0 below
// 2^-69), on asin |x| in [0, pi/6] (g = sin, g'' / 2 g' <= 0.29) or on
// acos |x| in (0, pi/3] (g = cos: e1 <= e0^2 cot(v)/2 <= 0.61 e0^2 / v):
// relative errors square, 2^-69 -> 2^-137 -> below 2^-270, leaving the
// fixed-point errors: 2^10 units in sin and cos, divided by the slope (at
// least sin(2^-26.5) for acos |x|, 0.866 for asin), the double-double
// quotient (2^-100 of a correction below 2^-138 v) and the conversions
// (a few units): below 2^-219 absolute, i.e. 2^37 units. kAccurateError =
// 2^40 units; against results of at least 2^-26.5 that is 2^-189 relative,
// far inside the published worst cases for acos (about 2^-(53+65)). Two
// steps, no loop.
double acos_accurate(double x, bool& decided) {
  DD inner;
  acos_eval(x, inner);
  const double ax = abs_of(x);
  const Wide target = wide_from_double(ax);
  const bool negative = (bits_of(x) >> 63) != 0;
  Wide result;
  if (ax <= 0.5) {
    const double sign = negative ? -1.0 : 1.0;
    Wide a = wide_add_dd(wide_zero(), sign * inner.hi, sign * inner.lo);
    a = newton_step(a, target, false);
    a = newton_step(a, target, false);
    result = negative ? wide_add(kHalfPiWide, a) : wide_sub(kHalfPiWide, a);
  } else {
    Wide phi = wide_add_dd(wide_zero(), inner.hi, inner.lo);
    phi = newton_step(phi, target, true);
    phi = newton_step(phi, target, true);
    result = negative ? wide_sub(kPiWide, phi) : phi;
  }
  return wide_round(result, kAccurateError, decided);
}

}  // namespace kelvor::detail::crmath

namespace kelvor::detail {

double cr_acos(double x) {
  const std::uint64_t bits = crmath::bits_of(x);
  const std::uint64_t abs_bits = bits & 0x7fffffffffffffffULL;
  if (abs_bits > 0x7ff0000000000000ULL) return crmath::from_bits(bits | 0x0008000000000000ULL);
  if (abs_bits > 0x3ff0000000000000ULL) return crmath::from_bits(0x7ff8000000000000ULL);
  if (x == 1.0) return 0.0;
  if (x == -1.0) return crmath::kPi.hi;  // pi is far from a midpoint
  double y;
  crmath::DD inner;
  if (crmath::round_if_certain(crmath::acos_eval(x, inner), y)) return y;
  bool decided;
  return crmath::acos_accurate(x, decided);
}

}  // namespace kelvor::detail
