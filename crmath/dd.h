// Double-double building blocks: error-free sums and products of binary64
// numbers, and bit access without <cmath>.
//
// Everything here relies on each operation being rounded once, to nearest:
// the library is compiled with -ffp-contract=off so that a*b+c is never fused,
// and never with -ffast-math, which would let the compiler cancel the error
// terms algebraically.
#ifndef KELVOR_CRMATH_DD_H
#define KELVOR_CRMATH_DD_H

#include <cfloat>
#include <cstdint>
#include <cstring>

#if defined(FLT_EVAL_METHOD) && FLT_EVAL_METHOD != 0
#error "crmath needs double expressions evaluated in double precision (SSE2, not x87)"
#endif

// The fast paths are a few dozen operations: a call per stage would cost
// more than some stages.
#if defined(__GNUC__) || defined(__clang__)
#define KELVOR_CRMATH_INLINE inline __attribute__((always_inline))
#else
#define KELVOR_CRMATH_INLINE inline
#endif

namespace kelvor::detail::crmath {

// An unevaluated sum hi + lo, usually with |lo| <= ulp(hi)/2.
struct DD {
  double hi;
  double lo;
};

inline std::uint64_t bits_of(double x) {
  std::uint64_t u;
  std::memcpy(&u, &x, sizeof u);
  return u;
}

inline double from_bits(std::uint64_t u) {
  double x;
  std::memcpy(&x, &u, sizeof x);
  return x;
}

// 2^k for -1022 <= k <= 1023, exactly.
inline double pow2(int k) { return from_bits(static_cast<std::uint64_t>(k + 1023) << 52); }

inline double abs_of(double x) { return from_bits(bits_of(x) & 0x7fffffffffffffffULL); }

// s + e = a + b exactly (Knuth), for any finite a, b without overflow.
inline DD two_sum(double a, double b) {
  const double s = a + b;
  const double bb = s - a;
  const double e = (a - (s - bb)) + (b - bb);
  return {s, e};
}

// s + e = a + b exactly when a == 0 or exponent(a) >= exponent(b) (Dekker).
inline DD fast_two_sum(double a, double b) {
  const double s = a + b;
  const double e = b - (s - a);
  return {s, e};
}

// a = hi + lo with hi holding the top 26 bits and lo the rest (Veltkamp),
// for |a| < 2^995.
inline DD split(double a) {
  const double c = 134217729.0 * a;  // 2^27 + 1
  const double hi = c - (c - a);
  return {hi, a - hi};
}

// p + e = a * b exactly (Dekker), barring underflow of e and overflow.
inline DD two_prod(double a, double b) {
  const double p = a * b;
  const DD as = split(a);
  const DD bs = split(b);
  const double e = ((as.hi * bs.hi - p) + as.hi * bs.lo + as.lo * bs.hi) + as.lo * bs.lo;
  return {p, e};
}

// The result of a fast evaluation: hi + lo approximates f(x) within err
// (absolute, rigorous).
struct Approx {
  double hi;
  double lo;
  double err;
};

// The nearest double to f(x), if every value in [hi + lo - err, hi + lo + err]
// rounds to the same double. Rounding to nearest is monotonic, and hi + z is
// rounded exactly once, so comparing the two ends decides it. err must exceed
// the true bound by at least 2^-104 |hi| to cover the rounding of lo +- err.
inline bool round_if_certain(const Approx& a, double& out) {
  const double up = a.hi + (a.lo + a.err);
  const double down = a.hi + (a.lo - a.err);
  if (up != down) return false;
  out = up;
  return true;
}

}  // namespace kelvor::detail::crmath

#endif  // KELVOR_CRMATH_DD_H
