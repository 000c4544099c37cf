// Constants of the spherical Earth model and shared conversion helpers.
#ifndef KELVOR_GEO_EARTH_H
#define KELVOR_GEO_EARTH_H

#include <cstdint>

namespace kelvor::detail {

constexpr double kEarthRadius = 6378137.0;  // metres
constexpr double kPi = 3.141592653589793;
constexpr double kDegToRad = 0.017453292519943295;  // pi / 180
constexpr double kUnitsPerDegree = 100000.0;        // _Bin_LonLat units
// Stored, not derived from the radius: the distance and the scale functions
// deliberately use different models and must keep doing so.
constexpr double kMetresPerDegree = 111319.49079327;
constexpr double kDegreesPerMetre = 8.983152841195502e-06;

// Truncation toward zero into 32 bits. Out-of-range values saturate and NaN
// gives 0, so no input makes the conversion undefined.
inline std::int32_t trunc_i32(double v) {
  if (v != v) return 0;
  if (v <= -2147483648.0) return INT32_MIN;
  if (v >= 2147483647.0) return INT32_MAX;
  return static_cast<std::int32_t>(v);
}

}  // namespace kelvor::detail

#endif  // KELVOR_GEO_EARTH_H
