// Counterclockwise difference of two angles, in [0, 360 degrees).
#include "angle_reduce.h"
#include "common/wrap.h"
#include "kelvor/fixed.h"

KMF_Angle KMF_Angle_Diff(KMF_Angle angle1, KMF_Angle angle2) {
  return kelvor::detail::reduce_angle(kelvor::detail::wrap_sub(angle2, angle1));
}
