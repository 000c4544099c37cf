// Local metre/degree scales and boxes around a point. Only the latitude of the
// point enters: one degree of longitude shrinks with cos(latitude).
#include <cmath>

#include "common/truncate.h"
#include "common/wrap.h"
#include "earth.h"
#include "kelvor/geo.h"
#include "trig.h"

using kelvor::detail::geo_cos;
using kelvor::detail::kDegreesPerMetre;
using kelvor::detail::kDegToRad;
using kelvor::detail::kMetresPerDegree;
using kelvor::detail::kUnitsPerDegree;
using kelvor::detail::trunc_to_i32;
using kelvor::detail::wrap_add;
using kelvor::detail::wrap_sub;

void GetUnitLength(const tagLonLat& pt, double& lon_metres, double& lat_metres) {
  lon_metres = geo_cos(pt.lat * kDegToRad) * kMetresPerDegree;
  lat_metres = kMetresPerDegree;
}

void GetUnitDegree(const tagLonLat& pt, double& lon_degrees, double& lat_degrees) {
  lon_degrees = 1.0 / (geo_cos(pt.lat * kDegToRad) * kMetresPerDegree);
  lat_degrees = kDegreesPerMetre;
}

void GetRectCenterPt(const tagLonLat& center, double half, tagLonLat& lower, tagLonLat& upper) {
  const double s = geo_cos(center.lat * kDegToRad) * kMetresPerDegree;
  const double dlon = half / s;
  const double dlat = half / kMetresPerDegree;
  lower.lon = center.lon - dlon;
  lower.lat = center.lat - dlat;
  upper.lon = center.lon + dlon;
  upper.lat = center.lat + dlat;
}

void GetRectCenterPt(const _Bin_LonLat& center, double half, _Bin_LonLat& lower,
                     _Bin_LonLat& upper) {
  const double s =
      geo_cos(static_cast<double>(center.lat) / kUnitsPerDegree * kDegToRad) * kMetresPerDegree;
  const double dlon = half / s;
  const double dlat = half / kMetresPerDegree;
  // Half-extents truncate toward zero (a 1 m half-side gives 0 latitude units);
  // near the poles they saturate instead of overflowing.
  const std::int32_t ilon = trunc_to_i32(dlon * kUnitsPerDegree);
  const std::int32_t ilat = trunc_to_i32(dlat * kUnitsPerDegree);
  lower.lon = wrap_sub(center.lon, ilon);
  lower.lat = wrap_sub(center.lat, ilat);
  upper.lon = wrap_add(center.lon, ilon);
  upper.lat = wrap_add(center.lat, ilat);
}
