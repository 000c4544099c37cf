// Counterclockwise difference of two angles, in [0, 360 degrees).
#include "common/wrap.h"
#include "cordic.h"
#include "kelvor/fixed.h"

KMF_Angle KMF_Angle_Diff(KMF_Angle angle1, KMF_Angle angle2) {
  using kelvor::detail::kDeg360;
  std::int32_t d = kelvor::detail::wrap_sub(angle2, angle1);
  d -= (d / kDeg360) * kDeg360;  // remainder with the sign of d
  if (d < 0) d += kDeg360;
  return d;
}
