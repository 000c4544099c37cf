// Direction of a vector by CORDIC vectoring, in [0, 360 degrees).
#include "cordic.h"
#include "kelvor/fixed.h"

namespace {
// -2^31 has no 32-bit magnitude; it is read as its neighbour -(2^31 - 1).
constexpr std::int32_t clamp_min(std::int32_t c) { return c == INT32_MIN ? -INT32_MAX : c; }
}  // namespace

KMF_Angle KMF_Atan2(std::int32_t x, std::int32_t y) {
  namespace cordic = kelvor::detail::cordic;
  if (x == 0 && y == 0) return 0;
  std::uint32_t vx = cordic::bits(clamp_min(x));
  std::uint32_t vy = cordic::bits(clamp_min(y));
  cordic::normalize(vx, vy);  // the scale does not matter for a direction
  const std::int32_t theta = kelvor::detail::to_i32(cordic::vectorize(vx, vy));  // [-180, 180]
  return theta < 0 ? theta + kelvor::detail::kDeg360 : theta;
}
