// Whole-number rounding of 16.16 values. A negative input is rounded on its
// magnitude and negated back, so KMF_RoundFix is symmetric about zero; the
// arithmetic wraps in 32 bits exactly as the signed forms would.
#include "common/wrap.h"
#include "kelvor/fixed.h"

namespace {

using kelvor::detail::to_i32;

constexpr std::uint32_t kWholeMask = 0xFFFF0000u;

constexpr std::uint32_t down(std::uint32_t m) { return m & kWholeMask; }
constexpr std::uint32_t half_up(std::uint32_t m) { return (m + 0x8000u) & kWholeMask; }
constexpr std::uint32_t up(std::uint32_t m) { return (m + 0xFFFFu) & kWholeMask; }

}  // namespace

std::int32_t KMF_RoundFix(std::int32_t a) {
  const std::uint32_t ua = static_cast<std::uint32_t>(a);
  return a >= 0 ? to_i32(half_up(ua)) : to_i32(0u - half_up(0u - ua));
}

std::int32_t KMF_CeilFix(std::int32_t a) {
  const std::uint32_t ua = static_cast<std::uint32_t>(a);
  return a >= 0 ? to_i32(up(ua)) : to_i32(0u - down(0u - ua));
}

std::int32_t KMF_FloorFix(std::int32_t a) {
  const std::uint32_t ua = static_cast<std::uint32_t>(a);
  return a >= 0 ? to_i32(down(ua)) : to_i32(0u - up(0u - ua));
}
