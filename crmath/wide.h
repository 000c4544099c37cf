// Wide: unsigned fixed-point numbers with 64 integer bits and 256 fraction
// bits, for the accurate paths. Plain uint64_t words: exact integer work
// behaves the same on every platform, so the accurate results need no
// floating-point reasoning beyond the final conversion.
#ifndef KELVOR_CRMATH_WIDE_H
#define KELVOR_CRMATH_WIDE_H

#include <cstdint>

#include "dd.h"

namespace kelvor::detail::crmath {

// value = w[0] + w[1] 2^-64 + w[2] 2^-128 + w[3] 2^-192 + w[4] 2^-256.
// Seen as a 320-bit integer N = value * 2^256, bit p (0 .. 319) is bit p % 64
// of w[4 - p / 64]. One unit is 2^-256.
struct Wide {
  std::uint64_t w[5];
};

// The full 128-bit product of two words, from four 32-bit products: every
// compiler and target computes it, and computes it identically.
inline void mul64_portable(std::uint64_t a, std::uint64_t b, std::uint64_t& hi, std::uint64_t& lo) {
  const std::uint64_t a0 = a & 0xffffffffULL, a1 = a >> 32;
  const std::uint64_t b0 = b & 0xffffffffULL, b1 = b >> 32;
  const std::uint64_t p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
  const std::uint64_t mid = (p00 >> 32) + (p01 & 0xffffffffULL) + (p10 & 0xffffffffULL);
  lo = (mid << 32) | (p00 & 0xffffffffULL);
  hi = p11 + (p01 >> 32) + (p10 >> 32) + (mid >> 32);
}

// The same product through the compiler's 128-bit type where there is one
// (an exact integer result, so the choice cannot change any output).
inline void mul64(std::uint64_t a, std::uint64_t b, std::uint64_t& hi, std::uint64_t& lo) {
#if defined(__SIZEOF_INT128__)
  __extension__ typedef unsigned __int128 u128;
  const u128 p = static_cast<u128>(a) * b;
  hi = static_cast<std::uint64_t>(p >> 64);
  lo = static_cast<std::uint64_t>(p);
#else
  mul64_portable(a, b, hi, lo);
#endif
}

inline Wide wide_zero() { return Wide{{0, 0, 0, 0, 0}}; }
inline Wide wide_one() { return Wide{{1, 0, 0, 0, 0}}; }

bool wide_is_zero(const Wide& a);
int wide_cmp(const Wide& a, const Wide& b);   // -1, 0 or 1
Wide wide_add(const Wide& a, const Wide& b);  // no overflow past 2^64
Wide wide_sub(const Wide& a, const Wide& b);  // requires a >= b

// a * b rounded down to a unit: exact - 8 units < result <= exact. The
// integer part of the product must fit in 64 bits.
Wide wide_mul(const Wide& a, const Wide& b);

// floor(a / d) to a unit (error below one unit), 0 < d < 2^32.
Wide wide_div_small(const Wide& a, std::uint32_t d);

// OR word * 2^pos into the 320-bit integer of v; bits that fall outside
// (below bit 0 or above bit 319) are dropped.
void wide_deposit(Wide& v, std::uint64_t word, int pos);

// 0 <= d < 2^64: exact when d is a multiple of 2^-256, else rounded down.
Wide wide_from_double(double d);

// a + hi + lo for a double-double much smaller than a (any signs): each
// part is rounded toward zero to a unit.
Wide wide_add_dd(const Wide& a, double hi, double lo);

// The leading 106 bits of a nonzero a as a double-double (truncated:
// relative error below 2^-105).
DD wide_to_dd(const Wide& a);

// The double nearest to a (ties to even); a must be 0 or at least 2^-256.
double wide_nearest(const Wide& a);

// The double nearest to the exact value that a approximates within err
// units; decided is false when that interval contains a rounding boundary,
// in which case the nearest double to a itself is returned.
double wide_round(const Wide& a, std::uint64_t err, bool& decided);

}  // namespace kelvor::detail::crmath

#endif  // KELVOR_CRMATH_WIDE_H
