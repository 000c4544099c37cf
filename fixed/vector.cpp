// Matrix product, unit vector, rotation and polar-to-Cartesian conversion.
#include "common/wrap.h"
#include "cordic.h"
#include "kelvor/fixed.h"

using kelvor::detail::asr_bits;
using kelvor::detail::kCordicUnitStart;
using kelvor::detail::sign_mask;
using kelvor::detail::to_i32;
using kelvor::detail::wrap_add;
namespace cordic = kelvor::detail::cordic;

void KMF_Vector_Transform(KMF_Vector* v, const KMF_Matrix* m) {
  if (v == nullptr || m == nullptr) return;
  const std::int32_t x = v->x;
  const std::int32_t y = v->y;
  v->x = wrap_add(KMF_MulFix(x, m->m11), KMF_MulFix(y, m->m12));
  v->y = wrap_add(KMF_MulFix(x, m->m21), KMF_MulFix(y, m->m22));
}

void KMF_Vector_Unit(KMF_Vector* v, KMF_Angle angle) {
  // The start length anticipates the gain, so the rotated vector is about
  // 2^28 long and a shift by 12 leaves 16.16 components of length 1.0.
  std::uint32_t x = cordic::bits(kCordicUnitStart), y = 0;
  cordic::rotate(x, y, angle);
  v->x = to_i32(asr_bits(x, 12));
  v->y = to_i32(asr_bits(y, 12));
}

namespace {

// Undo the normalising shift s (> 0: it was a left shift) of a compensated
// component: to the nearest value with halves away from zero for s > 0,
// a plain left shift otherwise. Branch-free, as the scale of the input
// varies from call to call.
inline std::uint32_t shift_back(std::uint32_t c, int s) {
  const unsigned right = static_cast<unsigned>(s > 0 ? s : 0);
  const unsigned left = static_cast<unsigned>(s < 0 ? -s : 0);
  const std::uint32_t rounding = 0u - static_cast<std::uint32_t>(s > 0);
  // half, less one for a negative c; nothing at all when s <= 0
  const std::uint32_t add = (((1u << right) >> 1) + sign_mask(c)) & rounding;
  return asr_bits(c + add, right) << left;
}

}  // namespace

void KMF_Vector_Rotate(KMF_Vector* v, KMF_Angle angle) {
  if (angle == 0 || (v->x == 0 && v->y == 0)) return;
  std::uint32_t x = cordic::bits(v->x), y = cordic::bits(v->y);
  const int shift = cordic::normalize(x, y);
  cordic::rotate(x, y, angle);
  const std::int32_t cx = cordic::compensate(to_i32(x));
  const std::int32_t cy = cordic::compensate(to_i32(y));
  v->x = to_i32(shift_back(cordic::bits(cx), shift));
  v->y = to_i32(shift_back(cordic::bits(cy), shift));
}

void KMF_Vector_From_Polar(KMF_Vector* v, std::int32_t length, KMF_Angle angle) {
  v->x = length;
  v->y = 0;
  KMF_Vector_Rotate(v, angle);
}
