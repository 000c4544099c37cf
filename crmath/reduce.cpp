// Payne-Hanek argument reduction: x 2/pi modulo 4 from a window of the bits
// of 2/pi, exact enough for the largest doubles (see reduce.h for the
// Cody-Waite reduction of smaller arguments).
#include "reduce.h"

#include <cstdint>

#include "tables.h"

namespace kelvor::detail::crmath {
namespace {

int leading_zeros(std::uint64_t v) {
  int n = 0;
  while ((v >> 63) == 0) {
    v <<= 1;
    ++n;
  }
  return n;
}

}  // namespace

// From 192 bits of 2/pi: u = x 2/pi mod 4 within 2^-137. In units of
// pi/2048, u * 1024 = K + rho; rho's next 128 bits become a double-double
// (truncated: relative error 2^-105 plus 2^-128 absolute) and are multiplied
// by pi/2048 (relative error below 2^-104). Absolute part of the error:
// (1024 2^-137 + 2^-128) pi/2048 < 2^-135.
Reduced reduce_payne_hanek(double x) {
  const Wide u = reduce_quarter_turns(x, 3);
  unsigned k = static_cast<unsigned>((u.w[0] << 10) | (u.w[1] >> 54)) & 4095u;
  std::uint64_t fh = (u.w[1] << 10) | (u.w[2] >> 54);
  std::uint64_t fl = (u.w[2] << 10) | (u.w[3] >> 54);
  const bool negative = (fh >> 63) != 0;
  if (negative) {  // rho = f - 1: round K up, keep |rho| = 2^128 - f
    k = (k + 1) & 4095u;
    fl = ~fl + 1;
    fh = ~fh + (fl == 0 ? 1 : 0);
  }
  if ((fh | fl) == 0) return {k, 0.0, 0.0, 0x1p-135};
  int lz = 0;
  if (fh == 0) {
    fh = fl;
    fl = 0;
    lz = 64;
  }
  const int z = leading_zeros(fh);
  if (z != 0) {
    fh = (fh << z) | (fl >> (64 - z));
    fl <<= z;
  }
  lz += z;
  const double rho_hi = static_cast<double>(fh >> 11) * pow2(-53 - lz);
  const double rho_lo = static_cast<double>(((fh & 0x7ff) << 42) | (fl >> 22)) * pow2(-106 - lz);
  const DD p = two_prod(rho_hi, kPi2048.hi);
  const double pl = p.lo + (rho_hi * kPi2048.lo + rho_lo * kPi2048.hi);
  DD r = fast_two_sum(p.hi, pl);
  if (negative) r = {-r.hi, -r.lo};
  return {k, r.hi, r.lo, 0x1p-135};
}

// x = m 2^e with an integer m < 2^53. Bit i of 2/pi (weight 2^-i) adds
// m 2^(e - i), a multiple of 4 when i <= e - 2: the window starts at bit
// i0 = max(1, e - 1) and its 64 words bits give P = m * window, so that
// x 2/pi = P 2^(s - 64 words) (mod 4) with s = e - i0 + 1 <= 2, less the bits
// past the window: below m 2^(e - i0 + 1 - 64 words) < 2^(55 - 64 words).
Wide reduce_quarter_turns(double x, int words) {
  const std::uint64_t bits = bits_of(x);
  const int biased = static_cast<int>((bits >> 52) & 0x7ff);
  std::uint64_t m = bits & 0x000fffffffffffffULL;
  int e = -1074;
  if (biased != 0) {
    m |= 1ULL << 52;
    e = biased - 1075;
  }
  const int i0 = e - 1 > 1 ? e - 1 : 1;
  const int k0 = (i0 - 1) / 64, b = (i0 - 1) % 64;  // k0 + words < kTwoOverPiWords
  std::uint64_t window[5];
  for (int l = 0; l < words; ++l) {
    window[l] = kTwoOverPi[k0 + l] << b;
    if (b != 0) window[l] |= kTwoOverPi[k0 + l + 1] >> (64 - b);
  }
  std::uint64_t product[6];  // product[0] most significant
  std::uint64_t carry = 0;
  for (int l = words - 1; l >= 0; --l) {
    std::uint64_t hi, lo;
    mul64(m, window[l], hi, lo);
    lo += carry;
    carry = hi + (lo < carry ? 1 : 0);
    product[l + 1] = lo;
  }
  product[0] = carry;
  const int s = e - i0 + 1;
  const int shift = s - 64 * words + 256;  // P's bit 0 lands at this bit of u
  Wide u = wide_zero();
  for (int l = 0; l <= words; ++l) wide_deposit(u, product[l], 64 * (words - l) + shift);
  u.w[0] &= 3;
  return u;
}

}  // namespace kelvor::detail::crmath
