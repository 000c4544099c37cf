// All-points-in-box test on the half-open box lower <= p < upper.
#include "kelvor/geo.h"

namespace {

template <typename Point>
std::int32_t all_inside(const Point* pts, std::int32_t count, const Point& lower,
                        const Point& upper) {
  for (std::int32_t i = 0; i < count; ++i) {
    const Point& p = pts[i];
    // Written as four "outside" tests so that a NaN coordinate fails none.
    if (p.lon < lower.lon || p.lat < lower.lat || p.lon >= upper.lon || p.lat >= upper.lat)
      return 0;
  }
  return 1;
}

}  // namespace

std::int32_t IsPtsInRect(tagLonLat* pts, std::int32_t count, const tagLonLat& lower,
                         const tagLonLat& upper) {
  return all_inside(pts, count, lower, upper);
}

std::int32_t IsPtsInRect(_Bin_LonLat* pts, std::int32_t count, const _Bin_LonLat& lower,
                         const _Bin_LonLat& upper) {
  return all_inside(pts, count, lower, upper);
}
