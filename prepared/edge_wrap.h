// Which edges can make the wrapping 32-bit crossing product overflow.
#ifndef KELVOR_PREPARED_EDGE_WRAP_H
#define KELVOR_PREPARED_EDGE_WRAP_H

#include <cstdint>

#include "kelvor/types.h"

namespace kelvor::detail {

// Largest |h - a| over the lines h that the edge a -> b straddles in that
// axis: a <= h < b reaches b - a - 1, b <= h < a reaches a - b.
inline std::uint64_t largest_offset(std::int64_t a, std::int64_t b) {
  return b > a ? static_cast<std::uint64_t>(b - a - 1) : static_cast<std::uint64_t>(a - b);
}

// True when the row crossing of a -> b can overflow 32 bits on some row it
// straddles: a difference that does not fit, or |dx| * max |h - a.y| above
// 2^31 - 1. Axis-parallel edges never overflow (their product is 0, or they
// straddle no row).
inline bool row_crossing_can_wrap(const tagPOINT& a, const tagPOINT& b) {
  const std::int64_t dx = static_cast<std::int64_t>(b.x) - a.x;
  const std::int64_t dy = static_cast<std::int64_t>(b.y) - a.y;
  if (dx == 0 || dy == 0) return false;
  if (dx < INT32_MIN || dx > INT32_MAX || dy < INT32_MIN || dy > INT32_MAX) return true;
  const std::uint64_t mx = static_cast<std::uint64_t>(dx < 0 ? -dx : dx);
  return mx * largest_offset(a.y, b.y) > 0x7FFFFFFFu;
}

// The same for the column crossings (x and y exchanged).
inline bool column_crossing_can_wrap(const tagPOINT& a, const tagPOINT& b) {
  return row_crossing_can_wrap(tagPOINT{a.y, a.x}, tagPOINT{b.y, b.x});
}

inline bool edge_can_wrap(const tagPOINT& a, const tagPOINT& b) {
  return row_crossing_can_wrap(a, b) || column_crossing_can_wrap(a, b);
}

}  // namespace kelvor::detail

#endif  // KELVOR_PREPARED_EDGE_WRAP_H
