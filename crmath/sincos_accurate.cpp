// The accurate path of sin and cos, for the arguments whose fast result lies
// too close to a rounding boundary: the whole computation in 320-bit fixed
// point (Wide), about 2^-244 absolute.
//
// Why that always decides. The fixed-point result is within 2^12 units
// (2^-244) of the exact value, and |sin x|, |cos x| >= 2^-62 for every
// double x >= 2^-27: either x < 1 (|sin x| >= x/2), or x is a double at
// least 2^-62 away from every multiple of pi/2 (the closest, found by the
// continued-fraction searches for worst cases of argument reduction, is
// 6381956970095103 * 2^797, 2^-60.9 away; the tests check it). So the
// relative error is below 2^-182. The published exhaustive searches for the
// worst cases of binary64 sin and cos (Lefevre and Muller, and later work)
// found no argument whose image lies closer to a midpoint between doubles
// than about 2^-(53+70) relative, far outside that error. The rounding is
// still checked against the bound (decided), and the tests count undecided
// cases, expecting none.
#include "crmath_internal.h"
#include "tables.h"

namespace kelvor::detail::crmath {
namespace {

constexpr std::uint64_t kResultError = 1ULL << 12;  // units, see wide_sincos
constexpr int kMaxTerms = 80;                       // a^n/n! < 2^-300 before this

double accurate(double x, bool cosine, bool& decided) {
  const bool negative_x = (bits_of(x) >> 63) != 0;
  Wide f = reduce_quarter_turns(abs_of(x), 5);  // within 2^-255 below
  unsigned q = static_cast<unsigned>(f.w[0]);
  f.w[0] = 0;
  bool negative_theta = false;
  if ((f.w[1] >> 63) != 0) {  // f >= 1/2: the next quadrant, minus 1 - f
    q = (q + 1) & 3u;
    f = wide_sub(wide_one(), f);
    negative_theta = true;
  }
  if (cosine) q = (q + 1) & 3u;
  // theta = f pi/2 <= pi/4: from f (2^-255 pi/2), pi/2 (2^-256 f) and the
  // product (8 units), within 12 units; sin and cos move less than theta.
  const Wide theta = wide_mul(f, kHalfPiWide);
  Wide s, c;
  wide_sincos(theta, s, c);
  // sin(q pi/2 +- theta): q = 0 -> +-s, 1 -> c, 2 -> -+s, 3 -> -c.
  const bool odd = (q & 1u) != 0;
  bool negative = (q & 2u) != 0;
  if (!odd && negative_theta) negative = !negative;
  if (!cosine && negative_x) negative = !negative;
  const double y = wide_round(odd ? c : s, kResultError, decided);
  return negative ? -y : y;
}

}  // namespace

// Taylor series, term by term: t_n = t_(n-1) a / n. Each term is rounded down
// by the product (< 8 units) and the division (< 1 unit); an error E in
// t_(n-1) becomes at most (1.1 E + 8)/n + 1 in t_n, so no term is more than
// 10 units off. The loop ends at the first term that rounds to zero (its
// exact value, and the whole tail after it, below 20 units) and by n = 80 in
// any case. 80 terms of 10 units plus the tail: below 2^10 units in s and c.
void wide_sincos(const Wide& a, Wide& s, Wide& c) {
  Wide pos_s = wide_zero(), neg_s = wide_zero();
  Wide pos_c = wide_one(), neg_c = wide_zero();
  Wide term = wide_one();
  for (int n = 1; n <= kMaxTerms; ++n) {
    term = wide_div_small(wide_mul(term, a), static_cast<std::uint32_t>(n));
    if (wide_is_zero(term)) break;
    switch (n & 3) {
      case 1: pos_s = wide_add(pos_s, term); break;
      case 2: neg_c = wide_add(neg_c, term); break;
      case 3: neg_s = wide_add(neg_s, term); break;
      default: pos_c = wide_add(pos_c, term); break;
    }
  }
  s = wide_sub(pos_s, neg_s);
  c = wide_sub(pos_c, neg_c);
}

double sin_accurate(double x, bool& decided) { return accurate(x, false, decided); }
double cos_accurate(double x, bool& decided) { return accurate(x, true, decided); }

}  // namespace kelvor::detail::crmath
