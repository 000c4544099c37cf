// Table-driven sine, cosine and tangent: one table entry per 1/65536 turn
// (360 units of 16.16 degrees); the part of the angle below a step is dropped.
#include "angle_reduce.h"
#include "cordic.h"
#include "kelvor/fixed.h"
#include "trig_tables.h"

using kelvor::detail::kDeg180;
using kelvor::detail::kDeg270;
using kelvor::detail::kDeg360;
using kelvor::detail::kDeg90;
using kelvor::detail::reduce_angle;
using kelvor::detail::turn_step;

namespace {
constexpr std::int32_t kUnitsPerEntry = 360;
}

std::int32_t KMF_Sin(KMF_Angle a) { return kelvor::detail::g_sin_table[turn_step(a)]; }

std::int32_t KMF_Cos(KMF_Angle a) { return kelvor::detail::g_cos_table[turn_step(a)]; }

std::int32_t KMF_Tan(KMF_Angle a) {
  a = reduce_angle(a);
  if (a == kDeg90) return 0x7FFFFFFF;
  if (a == kDeg270) return -0x7FFFFFFF;
  // Fold into the first quadrant; in the second and fourth the folded
  // angle is measured back from 180 or 360, so truncation runs that way.
  std::int32_t folded = a;
  bool negative = false;
  if (a > kDeg90 && a <= kDeg180) {
    folded = kDeg180 - a;
    negative = true;
  } else if (a > kDeg180 && a < kDeg270) {
    folded = a - kDeg180;
  } else if (a > kDeg270) {
    folded = kDeg360 - a;
    negative = true;
  }
  const std::int32_t t = kelvor::detail::g_tan_table[folded / kUnitsPerEntry];
  return negative ? -t : t;
}
