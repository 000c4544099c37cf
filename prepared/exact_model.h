// Plain per-edge forms of the two crossing rules, used while the grid index
// is not in place: every query walks every edge.
#ifndef KELVOR_PREPARED_EXACT_MODEL_H
#define KELVOR_PREPARED_EXACT_MODEL_H

#include <cstdint>

#include "kelvor/types.h"

namespace kelvor::detail {

// Crossing of the straddling edge a-b with the row y == h, measured from a
// and truncated toward zero, without overflow: magnitudes below 2^32 give a
// product below 2^64, and the quotient never exceeds |b.x - a.x|, so the
// result lies between a.x and b.x.
inline std::int32_t exact_row_crossing(const tagPOINT& a, const tagPOINT& b, std::int32_t h) {
  const std::int64_t dx = static_cast<std::int64_t>(b.x) - a.x;
  const std::int64_t dy = static_cast<std::int64_t>(b.y) - a.y;
  const std::int64_t dh = static_cast<std::int64_t>(h) - a.y;
  auto mag = [](std::int64_t v) {
    return v < 0 ? 0u - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
  };
  const std::uint64_t q = mag(dx) * mag(dh) / mag(dy);
  const bool negative = ((dx < 0) != (dh < 0)) != (dy < 0);
  const std::int64_t x =
      a.x + (negative ? -static_cast<std::int64_t>(q) : static_cast<std::int64_t>(q));
  return static_cast<std::int32_t>(x);
}

// Even-odd rule with exact crossings, closing edge from the last point to
// the first (equal points never straddle, so it needs no special case).
inline std::int32_t exact_even_odd(const tagPOINT* pts, std::int32_t n, const tagPOINT& p) {
  if (n < 1) return 0;
  std::int32_t inside = 0;
  const tagPOINT* a = &pts[n - 1];
  for (std::int32_t i = 0; i < n; ++i) {
    const tagPOINT& b = pts[i];
    if ((a->y <= p.y) != (b.y <= p.y) && p.x < exact_row_crossing(*a, b, p.y)) inside ^= 1;
    a = &b;
  }
  return inside;
}

}  // namespace kelvor::detail

#endif  // KELVOR_PREPARED_EXACT_MODEL_H
