// Integer and 16.16 square roots by the bit-pair (digit-by-digit) method.
// Each step chooses "subtract or not" with a mask instead of a branch: the
// outcome is data-dependent and would otherwise mispredict about half the time.
#include "common/wrap.h"
#include "kelvor/fixed.h"

std::int32_t KMF_Sqrt32(std::int32_t n) {
  std::uint32_t rem = static_cast<std::uint32_t>(n);
  std::uint32_t root = 0;
  for (std::uint32_t bit = 0x40000000u; bit != 0; bit >>= 2) {
    const std::uint32_t t = root + bit;
    const std::uint32_t take = 0u - static_cast<std::uint32_t>(t <= rem);
    rem -= t & take;
    root = ((t + bit) & take) | (root & ~take);
    root >>= 1;
  }
  return static_cast<std::int32_t>(root);
}

std::int32_t KMF_SqrtFixed(std::int32_t x) {
  if (x <= 0) return 0;
  std::uint32_t rem_hi = 0;
  std::uint32_t rem_lo = static_cast<std::uint32_t>(x);
  std::uint32_t root = 0;
  for (int i = 0; i < 24; ++i) {
    rem_hi = (rem_hi << 2) | (rem_lo >> 30);
    rem_lo <<= 2;
    root <<= 1;
    const std::uint32_t test = 2u * root + 1u;
    const std::uint32_t take = 0u - static_cast<std::uint32_t>(rem_hi >= test);
    rem_hi -= test & take;
    root += take & 1u;
  }
  return static_cast<std::int32_t>(root);
}
