// The CORDIC engine shared by the arctangent and the vector operations:
// scaling into the working range, rotation mode, vectoring mode and gain
// removal, inline on raw 32-bit patterns held in registers, so the vector
// never makes a round trip through memory between the stages.
//
// Every decision is a sign mask applied arithmetically ((a ^ m) - m), so no
// step branches on the data; all arithmetic wraps without undefined
// behaviour. Inputs to the rotate and vectorize stages are normalised
// (components within 2^28), so no intermediate exceeds 31 bits.
#ifndef KELVOR_FIXED_CORDIC_H
#define KELVOR_FIXED_CORDIC_H

#include <cstdint>

#include "common/wrap.h"
#include "trig_tables.h"

namespace kelvor::detail {

// Angle landmarks in 16.16 degrees.
constexpr std::int32_t kDeg90 = 5898240;
constexpr std::int32_t kDeg180 = 11796480;
constexpr std::int32_t kDeg270 = 17694720;
constexpr std::int32_t kDeg360 = 23592960;

// 2^32 / K for the 24-step gain K (about 3.6822679), and 2^28 / K truncated:
// a start length that comes out of a rotation at about 2^28.
constexpr std::uint32_t kCordicGainInverse = 1166391785u;  // 0x4585B9E9
constexpr std::int32_t kCordicUnitStart = 72899491;

}  // namespace kelvor::detail

namespace kelvor::detail::cordic {

constexpr int kSteps = 23;  // steps after the first (factor 2) one

inline std::uint32_t bits(std::int32_t v) { return static_cast<std::uint32_t>(v); }

// Number of leading zero bits of a non-zero z.
inline int leading_zeros(std::uint32_t z) {
#if defined(__GNUC__) || defined(__clang__)
  return __builtin_clz(z);
#else
  int n = 0;
  while (!(z & 0x80000000u)) {
    z <<= 1;
    ++n;
  }
  return n;
#endif
}

// Scales (x, y) by a power of two so that |x| | |y| lies in [2^27, 2^28] and
// returns the exponent (> 0: shifted left, < 0: shifted right, low bits
// lost). Components of -2^31 are handled (magnitude 2^31) without overflow.
inline int normalize(std::uint32_t& x, std::uint32_t& y) {
  const std::uint32_t z = abs_bits(x) | abs_bits(y);
  if (z == 0) return 0;  // callers never pass it; doubling would never end
  // The doublings that bring z to [2^27, 2^28) put its top bit at bit 27:
  // s = lz - 4, negative when halvings are needed. Halving stops one step
  // early when nothing but the top bit survives at bit 28 (z == 2^28 among
  // them, which is left alone).
  const int lz = leading_zeros(z);
  const int top = 31 - lz;
  const unsigned below28 = static_cast<unsigned>(top > 28 ? top - 28 : 0);
  const int only_top = ((z ^ (1u << top)) >> below28) == 0;
  const int s = lz - 4 + (top >= 28 ? only_top : 0);
  const unsigned left = static_cast<unsigned>(s > 0 ? s : 0);
  const unsigned right = static_cast<unsigned>(s < 0 ? -s : 0);
  x = asr_bits(x << left, right);
  y = asr_bits(y << left, right);
  return s;
}

// Turns the normalised (x, y) counterclockwise by theta (any value), leaving
// it lengthened by the gain K.
inline void rotate(std::uint32_t& x, std::uint32_t& y, std::int32_t theta) {
  // Into (-90, 90] by n whole half turns, each negating the vector; n takes
  // one division, of -90 - theta below the interval or of theta - 90 - 1
  // above it. Masks pick the case, as angles come in random order.
  const std::int64_t t = theta;
  const std::uint32_t below = 0u - static_cast<std::uint32_t>(t <= -kDeg90);
  const std::uint32_t outside = 0u - static_cast<std::uint32_t>(t <= -kDeg90 || t > kDeg90);
  const std::uint32_t num = (static_cast<std::uint32_t>(-kDeg90 - t) & below) |
                            (static_cast<std::uint32_t>(t - kDeg90 - 1) & ~below);
  const std::uint32_t n = (num / bits(kDeg180) + 1u) & outside;
  // n * 180 < 2^32: the sum below is exact modulo 2^32 and lands in range.
  std::uint32_t th = bits(theta) + cond_neg(n * bits(kDeg180), ~below);
  const std::uint32_t flip = 0u - (n & 1u);
  x = cond_neg(x, flip);
  y = cond_neg(y, flip);

  // A negative residual turns clockwise, anything else counterclockwise.
  std::uint32_t m = sign_mask(th);
  {
    const std::uint32_t x2 = x << 1, y2 = y << 1;
    x -= cond_neg(y2, m);
    y += cond_neg(x2, m);
    th -= cond_neg(bits(g_cordic_angle_table[0]), m);
  }
#pragma GCC unroll 23
  for (int i = 0; i < kSteps; ++i) {
    m = sign_mask(th);
    const std::uint32_t xs = asr_bits(x, static_cast<unsigned>(i));
    const std::uint32_t ys = asr_bits(y, static_cast<unsigned>(i));
    x -= cond_neg(ys, m);
    y += cond_neg(xs, m);
    th = (th + m) - (bits(g_cordic_angle_table[i + 1]) ^ m);
  }
}

// Vectoring mode on the normalised (x, y): returns the direction in
// [-180, +180] degrees, a multiple of 32 (halves away from 0), and leaves
// length * K (>= 0) in x.
inline std::uint32_t vectorize(std::uint32_t& x, std::uint32_t y) {
  // Left half-plane: turn by 180 first; the start angle takes the sign that
  // puts it on the side of the original y (+180 when y was 0).
  const std::uint32_t mx = sign_mask(x);
  x = cond_neg(x, mx);
  y = cond_neg(y, mx);
  std::uint32_t th = bits(kDeg180) & mx;
  th = cond_neg(th, sign_mask(0u - y));  // y > 0 after the turn

  // Drive y to zero: below the axis turn counterclockwise, else clockwise.
  // x is never negative here and only grows, so x >> i is the arithmetic
  // shift; and for the mask m of y, asr(y, i) ^ m == (y ^ m) >> i.
  std::uint32_t m = sign_mask(y);
  {
    const std::uint32_t x2 = x << 1, y2 = y << 1;
    x += cond_neg(y2, m);
    y -= cond_neg(x2, m);
    th += cond_neg(bits(g_cordic_angle_table[0]), m);
  }
#pragma GCC unroll 23
  for (int i = 0; i < kSteps; ++i) {
    m = sign_mask(y);
    const unsigned s = static_cast<unsigned>(i);
    const std::uint32_t ys_m = (y ^ m) >> s;  // asr(y, i) ^ m
    const std::uint32_t xs_m = (x >> s) ^ m;
    x = (x - m) + ys_m;
    y = (y + m) - xs_m;
    th = (th - m) + (bits(g_cordic_angle_table[i + 1]) ^ m);
  }
  // Nearest multiple of 32, halves away from zero.
  m = sign_mask(th);
  return cond_neg((cond_neg(th, m) + 16u) & ~31u, m);
}

// v * 1166391785 / 2^32 on the magnitude, truncated, sign restored.
inline std::int32_t compensate(std::int32_t v) {
  const std::uint64_t p = static_cast<std::uint64_t>(abs_bits(bits(v))) * kCordicGainInverse;
  const std::uint32_t r = static_cast<std::uint32_t>(p >> 32);
  return to_i32(cond_neg(r, sign_mask(bits(v))));
}

}  // namespace kelvor::detail::cordic

#endif  // KELVOR_FIXED_CORDIC_H
