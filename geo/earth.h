// Constants of the spherical Earth model.
#ifndef KELVOR_GEO_EARTH_H
#define KELVOR_GEO_EARTH_H

namespace kelvor::detail {

constexpr double kEarthRadius = 6378137.0;  // metres
constexpr double kPi = 3.141592653589793;
constexpr double kDegToRad = 0.017453292519943295;  // pi / 180
constexpr double kUnitsPerDegree = 100000.0;        // _Bin_LonLat units
// Stored, not derived from the radius: the distance and the scale functions
// deliberately use different models and must keep doing so.
constexpr double kMetresPerDegree = 111319.49079327;
constexpr double kDegreesPerMetre = 8.983152841195502e-06;

}  // namespace kelvor::detail

#endif  // KELVOR_GEO_EARTH_H
