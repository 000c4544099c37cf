// The CORDIC engine's entry points on KMF_Vector records; the steps
// themselves live inline in fixed/cordic_core.h.
#include "fixed/cordic.h"

#include "fixed/cordic_core.h"

namespace kelvor::detail {

int Cordic_Normalize(KMF_Vector* v) {
  std::uint32_t x = cordic::bits(v->x), y = cordic::bits(v->y);
  const int shift = cordic::normalize(x, y);
  v->x = to_i32(x);
  v->y = to_i32(y);
  return shift;
}

void Cordic_Rotate(KMF_Vector* v, std::int32_t theta) {
  std::uint32_t x = cordic::bits(v->x), y = cordic::bits(v->y);
  cordic::rotate(x, y, theta);
  v->x = to_i32(x);
  v->y = to_i32(y);
}

void Cordic_Vectorize(KMF_Vector* v) {
  std::uint32_t x = cordic::bits(v->x);
  const std::uint32_t theta = cordic::vectorize(x, cordic::bits(v->y));
  v->x = to_i32(x);
  v->y = to_i32(theta);
}

std::int32_t Cordic_Compensate(std::int32_t v) { return cordic::compensate(v); }

}  // namespace kelvor::detail
