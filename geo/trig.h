// The sine, cosine and arc cosine of the geographic functions: by default
// the C library's (whose last bit differs between platforms), with
// KELVOR_PORTABLE_MATH Kelvor's own, correctly rounded and so the same
// everywhere.
#ifndef KELVOR_GEO_TRIG_H
#define KELVOR_GEO_TRIG_H

#if KELVOR_PORTABLE_MATH
#include "crmath/crmath.h"
#else
#include <cmath>
#endif

namespace kelvor::detail {

#if KELVOR_PORTABLE_MATH
inline double geo_sin(double x) { return cr_sin(x); }
inline double geo_cos(double x) { return cr_cos(x); }
inline double geo_acos(double x) { return cr_acos(x); }
#else
inline double geo_sin(double x) { return std::sin(x); }
inline double geo_cos(double x) { return std::cos(x); }
inline double geo_acos(double x) { return std::acos(x); }
#endif

}  // namespace kelvor::detail

#endif  // KELVOR_GEO_TRIG_H
