// Where an edge crosses a horizontal or vertical scan line, by the two
// crossing rules: the wrapping 32-bit form of the exported polygon tests and
// the exact form of the bulk queries. Shared by the planar predicates and the
// ring index.
#ifndef KELVOR_COMMON_CROSSING_H
#define KELVOR_COMMON_CROSSING_H

#include <cstdint>

#include "common/wrap.h"
#include "kelvor/types.h"

namespace kelvor::detail {

// A horizontal line y == h: points are ordered across it by y, and the
// crossing coordinate runs along it in x. Column is the same with x and y
// exchanged.
struct Row {
  static std::int32_t across(const tagPOINT& p) { return p.y; }
  static std::int32_t along(const tagPOINT& p) { return p.x; }
};
struct Column {
  static std::int32_t across(const tagPOINT& p) { return p.x; }
  static std::int32_t along(const tagPOINT& p) { return p.y; }
};

// Edge a-b straddles the line at h when a <= h < b or b <= h < a. That is
// exactly "one end on or below, the other above", written without branches.
inline bool straddles(std::int32_t a, std::int32_t b, std::int32_t h) {
  return (a <= h) != (b <= h);
}

// Crossing of the straddling edge a-b with the line at h, measured from the
// start point a: a + (db * (h - a_across)) / da with a wrapping 32-bit product
// and a quotient truncated toward zero. A divisor of -1 is negated instead of
// divided (INT32_MIN / -1 would trap); a zero divisor cannot straddle and
// yields a_along.
inline std::int32_t wrapping_crossing(std::int32_t a_along, std::int32_t a_across,
                                      std::int32_t b_along, std::int32_t b_across, std::int32_t h) {
  const std::int32_t num = wrap_mul(wrap_sub(b_along, a_along), wrap_sub(h, a_across));
  const std::int32_t den = wrap_sub(b_across, a_across);
  std::int32_t q;
  if (den == -1) {
    q = wrap_neg(num);
  } else if (den == 0) {
    q = 0;
  } else {
    q = num / den;
  }
  return wrap_add(a_along, q);
}

template <class Line>
inline std::int32_t wrapping_crossing_at(const tagPOINT& a, const tagPOINT& b, std::int32_t h) {
  return wrapping_crossing(Line::along(a), Line::across(a), Line::along(b), Line::across(b), h);
}

// The same crossing without overflow: magnitudes below 2^32 give a product
// below 2^64, and the quotient never exceeds |b_along - a_along|, so the
// result lies between a_along and b_along. A zero divisor yields a_along.
inline std::int32_t exact_crossing(std::int32_t a_along, std::int32_t a_across,
                                   std::int32_t b_along, std::int32_t b_across, std::int32_t h) {
  const std::int64_t d_along = static_cast<std::int64_t>(b_along) - a_along;
  const std::int64_t d_across = static_cast<std::int64_t>(b_across) - a_across;
  const std::int64_t d_h = static_cast<std::int64_t>(h) - a_across;
  if (d_across == 0) return a_along;
  const std::uint64_t q = magnitude64(d_along) * magnitude64(d_h) / magnitude64(d_across);
  const bool negative = ((d_along < 0) != (d_h < 0)) != (d_across < 0);
  const std::uint64_t offset = negative ? 0u - q : q;
  return to_i32(static_cast<std::uint32_t>(static_cast<std::uint64_t>(a_along) + offset));
}

template <class Line>
inline std::int32_t exact_crossing_at(const tagPOINT& a, const tagPOINT& b, std::int32_t h) {
  return exact_crossing(Line::along(a), Line::across(a), Line::along(b), Line::across(b), h);
}

// True when the wrapping crossing of a-b can overflow on some line it
// straddles: a coordinate difference beyond 32 bits, or a product
// |b_along - a_along| * |h - a_across| above 2^31 - 1, whose largest |h -
// a_across| is b - a - 1 for a < b (a <= h < b) and a - b for a > b. An edge
// parallel to the lines straddles none; one perpendicular to them has a
// product of 0. Elsewhere wrapping_crossing equals exact_crossing.
inline bool crossing_can_wrap(std::int32_t a_along, std::int32_t a_across, std::int32_t b_along,
                              std::int32_t b_across) {
  const std::int64_t d_along = static_cast<std::int64_t>(b_along) - a_along;
  const std::int64_t d_across = static_cast<std::int64_t>(b_across) - a_across;
  if (d_along == 0 || d_across == 0) return false;
  if (d_along != static_cast<std::int32_t>(d_along)) return true;
  if (d_across != static_cast<std::int32_t>(d_across)) return true;
  const std::uint64_t reach = d_across > 0 ? static_cast<std::uint64_t>(d_across - 1)
                                           : static_cast<std::uint64_t>(-d_across);
  return magnitude64(d_along) * reach > 0x7FFFFFFFu;
}

template <class Line>
inline bool crossing_can_wrap_at(const tagPOINT& a, const tagPOINT& b) {
  return crossing_can_wrap(Line::along(a), Line::across(a), Line::along(b), Line::across(b));
}

// Either kind of scan line.
inline bool edge_can_wrap(const tagPOINT& a, const tagPOINT& b) {
  return crossing_can_wrap_at<Row>(a, b) || crossing_can_wrap_at<Column>(a, b);
}

}  // namespace kelvor::detail

#endif  // KELVOR_COMMON_CROSSING_H
