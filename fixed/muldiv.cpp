// Products and quotients through 64-bit intermediates.
//
// KMF_MulDiv_No_Round and KMF_DivFix (like KMF_MulFix, defined inline in the
// public header) work in sign-magnitude form:
// magnitudes by 32-bit negation (so |-2^31| is read as 2^31), unsigned 64-bit
// arithmetic, the sign applied last. Rounding therefore acts on the
// magnitude and is symmetric about zero. The sign is applied branch-free so
// that random signs cost no mispredictions.
#include "common/wrap.h"
#include "kelvor/fixed.h"

#if defined(_WIN32) && defined(__GNUC__) && !defined(KELVOR_STATIC)
// A Windows DLL exports what its objects' directives name, and GCC names no
// inline function there; KMF_MulFix's definition (kept by KELVOR_EMIT_INLINE)
// is exported by name, as on every other platform.
__asm__(".section .drectve\n\t.ascii \" -export:\\\"_Z10KMF_MulFixii\\\"\"\n\t.text");
#endif

namespace {

using kelvor::detail::low32;
using kelvor::detail::magnitude;
using kelvor::detail::to_i32;

constexpr std::int32_t kMaxFix = 0x7FFFFFFF;

// All-ones when exactly one of a and b is negative (zero counts as positive).
inline std::uint32_t neg_mask(std::int32_t a, std::int32_t b) {
  return kelvor::detail::sign_mask(static_cast<std::uint32_t>(a) ^ static_cast<std::uint32_t>(b));
}

// q when mask is 0, -q when it is all ones.
inline std::int32_t apply_sign(std::uint32_t q, std::uint32_t mask) {
  return to_i32(kelvor::detail::cond_neg(q, mask));
}

}  // namespace

std::int32_t KMF_MulDiv(std::int32_t a, std::int32_t b, std::int32_t c) {
  if (c == 0) {
    if (a == 0 || b == 0) return 1;
    return ((a < 0) == (b < 0)) ? kMaxFix : -kMaxFix;
  }
  // |a * b| <= 2^62, so neither the product nor the added half-divisor can
  // overflow, and the quotient never meets INT64_MIN / -1.
  const std::int64_t product = static_cast<std::int64_t>(a) * b;
  const std::int64_t half = to_i32(kelvor::detail::asr_bits(static_cast<std::uint32_t>(c), 1));
  return low32((product + half) / c);
}

std::int32_t KMF_MulDiv_No_Round(std::int32_t a, std::int32_t b, std::int32_t c) {
  const std::uint32_t mask =
      neg_mask(a, b) ^ kelvor::detail::sign_mask(static_cast<std::uint32_t>(c));
  // c == -2^31 has no positive 32-bit magnitude and is treated like 0.
  if (c == 0 || c == INT32_MIN) return apply_sign(static_cast<std::uint32_t>(kMaxFix), mask);
  const std::uint64_t product = static_cast<std::uint64_t>(magnitude(a)) * magnitude(b);
  return apply_sign(static_cast<std::uint32_t>(product / magnitude(c)), mask);
}

std::int32_t KMF_DivFix(std::int32_t a, std::int32_t b) {
  const std::uint32_t mask = neg_mask(a, b);
  if (b == 0) return apply_sign(static_cast<std::uint32_t>(kMaxFix), mask);
  const std::uint64_t mb = magnitude(b);
  const std::uint64_t num = (static_cast<std::uint64_t>(magnitude(a)) << 16) + (mb >> 1);
  return apply_sign(static_cast<std::uint32_t>(num / mb), mask);
}
