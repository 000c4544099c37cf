// Great-circle distances on a sphere by the spherical law of cosines. Every
// overload funnels into one expression so all four agree to the last bit.
#include <cmath>

#include "earth.h"
#include "kelvor/geo.h"
#include "trig.h"

namespace {

using kelvor::detail::geo_acos;
using kelvor::detail::geo_cos;
using kelvor::detail::geo_sin;
using kelvor::detail::kDegToRad;
using kelvor::detail::kEarthRadius;
using kelvor::detail::kPi;
using kelvor::detail::kUnitsPerDegree;

// Coordinates already in radians.
inline double central_distance(double lam1, double phi1, double lam2, double phi2) {
  const double x =
      geo_sin(phi1) * geo_sin(phi2) + geo_cos(phi1) * geo_cos(phi2) * geo_cos(lam1 - lam2);
  if (x >= 1.0) return 0.0;
  if (x <= -1.0) return kPi * kEarthRadius;
  return geo_acos(x) * kEarthRadius;  // a NaN x lands here and stays NaN
}

inline double units_to_radians(std::int32_t v) {
  return static_cast<double>(v) / kUnitsPerDegree * kDegToRad;
}

// Sum of the great-circle lengths of the open polyline, first edge first.
template <class Point>
double polyline_length(std::uint16_t count, const Point* pts) {
  if (pts == nullptr || count < 2) return 0.0;
  double sum = 0.0;
  for (unsigned i = 0; i + 1 < count; ++i) sum += SegmentLength(pts[i], pts[i + 1]);
  return sum;
}

}  // namespace

double SegmentLength(double lon1, double lat1, double lon2, double lat2) {
  return central_distance(lon1 * kDegToRad, lat1 * kDegToRad, lon2 * kDegToRad, lat2 * kDegToRad);
}

double SegmentLength(std::int32_t lon1, std::int32_t lat1, std::int32_t lon2, std::int32_t lat2) {
  return central_distance(units_to_radians(lon1), units_to_radians(lat1), units_to_radians(lon2),
                          units_to_radians(lat2));
}

double SegmentLength(const tagLonLat& a, const tagLonLat& b) {
  return SegmentLength(a.lon, a.lat, b.lon, b.lat);
}

double SegmentLength(const _Bin_LonLat& a, const _Bin_LonLat& b) {
  return SegmentLength(a.lon, a.lat, b.lon, b.lat);
}

double LineLength(std::uint16_t count, tagLonLat* pts) { return polyline_length(count, pts); }

double LineLength(std::uint16_t count, _Bin_LonLat* pts) { return polyline_length(count, pts); }
