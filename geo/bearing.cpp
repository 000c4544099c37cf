// Directions, inner angles and turn angles of geographic points. Components
// go to 1/10000000 degree integers for the fixed-point arctangent, whose
// 16.16 result comes back as double degrees on a 1/2048 degree grid.
#include "common/truncate.h"
#include "common/wrap.h"
#include "earth.h"
#include "kelvor/fixed.h"
#include "kelvor/geo.h"

namespace {

constexpr double kFloatScale = 10000000.0;             // degrees -> 1e-7 degree
constexpr std::int32_t kIntScale = 100;                // 1e-5 degree -> 1e-7 degree
constexpr double kFixedToDegrees = 1.52587890625e-05;  // 1 / 65536
constexpr double kFullTurn = 360.0;
constexpr double kHalfTurn = 180.0;

double direction(std::int32_t ix, std::int32_t iy) { return KMF_Atan2(ix, iy) * kFixedToDegrees; }

// Truncation toward zero; a component beyond 214.7483647 degrees saturates
// (and so keeps its sign), NaN counts as 0.
double direction(double dx, double dy) {
  return direction(kelvor::detail::trunc_to_i32(dx * kFloatScale),
                   kelvor::detail::trunc_to_i32(dy * kFloatScale));
}

// Integer components scale with 32-bit wrap-around.
double direction_bin(std::int32_t dx, std::int32_t dy) {
  return direction(kelvor::detail::wrap_mul(dx, kIntScale),
                   kelvor::detail::wrap_mul(dy, kIntScale));
}

double direction_bin(const _Bin_LonLat& to, const _Bin_LonLat& from) {
  return direction_bin(kelvor::detail::wrap_sub(to.lon, from.lon),
                       kelvor::detail::wrap_sub(to.lat, from.lat));
}

double direction(const tagLonLat& to, const tagLonLat& from) {
  return direction(to.lon - from.lon, to.lat - from.lat);
}

double turn(double a_out, double a_back) {
  double t = a_out - a_back;
  if (t < 0) t += kFullTurn;
  return t;
}

}  // namespace

double GetAbsoluteAngle(const tagLonLat& v) { return direction(v.lon, v.lat); }

double GetAbsoluteAngle(const _Bin_LonLat& v) { return direction_bin(v.lon, v.lat); }

double GetSharpAngle(const tagLonLat& a, const tagLonLat& b, const tagLonLat& c) {
  const double a1 = direction(a, b);
  const double a2 = direction(c, b);
  double d = a1 - a2;
  while (d >= kFullTurn) d -= kFullTurn;
  while (d < 0) d += kFullTurn;
  if (d >= kHalfTurn) d = kFullTurn - d;
  return d;
}

double GetSharpAngle(const _Bin_LonLat& a, const _Bin_LonLat& b, const _Bin_LonLat& c) {
  // Deliberately not folded into [0, 180]: callers of the integer form
  // rely on the plain absolute difference.
  const double a1 = direction_bin(a, b);
  const double a2 = direction_bin(c, b);
  return a2 >= a1 ? a2 - a1 : a1 - a2;
}

double GetTurnAngle(const tagLonLat& a, const tagLonLat& b, const tagLonLat& c) {
  const double a_out = direction(c, b);
  const double a_back = direction(a, b);
  return turn(a_out, a_back);
}

double GetTurnAngle(const _Bin_LonLat& a, const _Bin_LonLat& b, const _Bin_LonLat& c) {
  const double a_out = direction_bin(c, b);
  const double a_back = direction_bin(a, b);
  return turn(a_out, a_back);
}
