// Length and polar form of a vector by CORDIC vectoring. The two differ on
// purpose in how they undo the normalising shift (rounded vs truncated).
#include "common/wrap.h"
#include "cordic.h"
#include "kelvor/fixed.h"

using kelvor::detail::asr_bits;
using kelvor::detail::magnitude;
using kelvor::detail::to_i32;
namespace cordic = kelvor::detail::cordic;

std::int32_t KMF_Vector_Length(const KMF_Vector* v) {
  // On an axis the length is exact; a magnitude of 2^31 wraps like any
  // other length beyond 2^31 - 1.
  if (v->x == 0) return to_i32(magnitude(v->y));
  if (v->y == 0) return to_i32(magnitude(v->x));
  std::uint32_t x = cordic::bits(v->x), y = cordic::bits(v->y);
  const int shift = cordic::normalize(x, y);
  cordic::vectorize(x, y);
  const std::uint32_t r = cordic::bits(cordic::compensate(to_i32(x)));  // never negative
  // Nearest, halves up, after a left shift; a plain left shift otherwise.
  const unsigned right = static_cast<unsigned>(shift > 0 ? shift : 0);
  const unsigned left = static_cast<unsigned>(shift < 0 ? -shift : 0);
  return to_i32(((r + ((1u << right) >> 1)) >> right) << left);
}

void KMF_Vector_Polarize(const KMF_Vector* v, std::int32_t* length, KMF_Angle* angle) {
  if (v->x == 0 && v->y == 0) return;
  std::uint32_t x = cordic::bits(v->x), y = cordic::bits(v->y);
  const int shift = cordic::normalize(x, y);
  const std::uint32_t theta = cordic::vectorize(x, y);
  const std::uint32_t r = cordic::bits(cordic::compensate(to_i32(x)));
  // Truncating shift back: no rounding term here.
  const unsigned right = static_cast<unsigned>(shift > 0 ? shift : 0);
  const unsigned left = static_cast<unsigned>(shift < 0 ? -shift : 0);
  *length = to_i32(asr_bits(r, right) << left);
  *angle = to_i32(theta);
}
