// Portable two's-complement helpers: signed 32-bit arithmetic that wraps is
// done in unsigned and converted back, so no input is undefined behaviour.
#ifndef KELVOR_COMMON_WRAP_H
#define KELVOR_COMMON_WRAP_H

#include <cstdint>

namespace kelvor::detail {

// Low 32 bits of v as a signed value (well defined since C++20, and what
// every C++17 compiler we support does).
constexpr std::int32_t to_i32(std::uint32_t v) {
  return v <= 0x7FFFFFFFu ? static_cast<std::int32_t>(v)
                          : static_cast<std::int32_t>(v - 0x80000000u) - 0x7FFFFFFF - 1;
}
constexpr std::int32_t low32(std::uint64_t v) { return to_i32(static_cast<std::uint32_t>(v)); }
constexpr std::int32_t low32(std::int64_t v) { return low32(static_cast<std::uint64_t>(v)); }

constexpr std::int32_t wrap_add(std::int32_t a, std::int32_t b) {
  return to_i32(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
constexpr std::int32_t wrap_sub(std::int32_t a, std::int32_t b) {
  return to_i32(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}
constexpr std::int32_t wrap_mul(std::int32_t a, std::int32_t b) {
  return to_i32(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}
constexpr std::int32_t wrap_neg(std::int32_t a) {
  return to_i32(0u - static_cast<std::uint32_t>(a));
}

// Branch-free forms on raw 32-bit patterns, for inner loops whose direction
// depends on the data (a branch there is mispredicted half the time).
// Arithmetic shift right (s <= 31) of the signed value held in u. Only
// non-negative values are shifted, so nothing is implementation-defined, and
// GCC and Clang both compile the whole expression to one sar.
constexpr std::uint32_t asr_bits(std::uint32_t u, unsigned s) {
  const std::int32_t v = to_i32(u);
  return static_cast<std::uint32_t>(v < 0 ? ~(~v >> s) : v >> s);
}
// All ones when the signed value held in u is negative, else zero.
constexpr std::uint32_t sign_mask(std::uint32_t u) { return 0u - (u >> 31); }
// v negated (mod 2^32) when m is all ones, unchanged when m is zero.
constexpr std::uint32_t cond_neg(std::uint32_t v, std::uint32_t m) { return (v ^ m) - m; }
// Magnitude by 32-bit negation, as an unsigned value: |-2^31| is 2^31.
constexpr std::uint32_t abs_bits(std::uint32_t u) { return cond_neg(u, sign_mask(u)); }
constexpr std::uint32_t magnitude(std::int32_t a) {
  return abs_bits(static_cast<std::uint32_t>(a));
}
// |v| of a 64-bit value as unsigned; only used on values well inside the range.
constexpr std::uint64_t magnitude64(std::int64_t v) {
  return v < 0 ? 0u - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
}

}  // namespace kelvor::detail

#endif  // KELVOR_COMMON_WRAP_H
