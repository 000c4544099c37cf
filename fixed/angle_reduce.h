// Exact reduction of any 16.16 degree angle into [0, 360 degrees).
#ifndef KELVOR_FIXED_ANGLE_REDUCE_H
#define KELVOR_FIXED_ANGLE_REDUCE_H

#include <cstdint>

#include "common/wrap.h"
#include "cordic.h"

namespace kelvor::detail {

// The floor remainder by a full turn, for every 32-bit input (-2^31
// included): the truncating remainder, plus one turn when it is negative.
// Equal to adding floor((-1 - a) / 360) + 1 turns to a negative a; computed
// without branches because angles arrive with random signs.
inline std::int32_t reduce_angle(std::int32_t a) {
  const std::int32_t r = a % kDeg360;  // in (-360, 360), sign of a
  return r + (kDeg360 & to_i32(sign_mask(static_cast<std::uint32_t>(r))));
}

// Table entry of any angle, floor(reduce_angle(a) / 360). A full turn is
// exactly 65536 steps of 360 units, so this is floor(a / 360) mod 65536; a
// bias of 92 turns makes the dividend positive for every 32-bit a.
inline std::uint32_t turn_step(std::int32_t a) {
  const std::uint64_t biased = static_cast<std::uint64_t>(a + 92LL * kDeg360);
  return static_cast<std::uint32_t>(biased / 360u) & 0xFFFFu;
}

}  // namespace kelvor::detail

#endif  // KELVOR_FIXED_ANGLE_REDUCE_H
