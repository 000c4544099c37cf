// Foot of the perpendicular from a point onto the line through a segment,
// in the plane of raw coordinates (longitude as x, latitude as y).
#include <cmath>

#include "common/truncate.h"
#include "common/wrap.h"
#include "cvector.h"
#include "earth.h"
#include "kelvor/geo.h"

namespace {

using kelvor::detail::Vec2;

// Position codes along the line from A to B.
constexpr std::int32_t kBeforeA = -1;
constexpr std::int32_t kAtA = 0;  // also the answer for a degenerate segment
constexpr std::int32_t kInside = 1;
constexpr std::int32_t kAtB = 2;
constexpr std::int32_t kBeyondB = 3;

// Shared steps after the degeneracy test. Writes the foot in the plane
// through *foot and returns the code, or returns kAtA / kAtB with *foot
// untouched when the caller must copy A or B exactly.
std::int32_t project(const Vec2& p, const Vec2& a, const Vec2& b, Vec2* foot) {
  const Vec2 d = b - a;
  const Vec2 w = p - a;
  const double dot = kelvor::detail::dot(w, d);
  if (dot == 0.0) return kAtA;
  const double len2 = kelvor::detail::dot(d, d);
  if (dot == len2) return kAtB;
  const double t = dot / len2;
  *foot = kelvor::detail::scaled_plus(d, t, a);
  if (t < 0) return kBeforeA;
  if (t > 0 && t < 1) return kInside;
  return kBeyondB;  // t >= 1, and NaN
}

}  // namespace

std::int32_t GetProjectBase(const tagLonLat& P, const tagLonLat& A, const tagLonLat& B,
                            tagLonLat& F) {
  const double dx = A.lon - B.lon;
  const double dy = A.lat - B.lat;
  if (std::fabs(dx) < 3e-06 && std::fabs(dy) < 3e-06) return kAtA;
  Vec2 foot{0.0, 0.0};
  const std::int32_t code =
      project(Vec2{P.lon, P.lat}, Vec2{A.lon, A.lat}, Vec2{B.lon, B.lat}, &foot);
  if (code == kAtA) {
    F = A;
  } else if (code == kAtB) {
    F = B;
  } else {
    F.lon = foot.x;
    F.lat = foot.y;
  }
  return code;
}

std::int32_t GetProjectBase(const _Bin_LonLat& P, const _Bin_LonLat& A, const _Bin_LonLat& B,
                            _Bin_LonLat& F) {
  using kelvor::detail::magnitude;
  using kelvor::detail::wrap_sub;
  // The differences wrap in 32 bits, as integer coordinates do everywhere.
  if (magnitude(wrap_sub(A.lon, B.lon)) < 3u && magnitude(wrap_sub(A.lat, B.lat)) < 3u) return kAtA;
  auto plane = [](const _Bin_LonLat& q) {
    return Vec2{static_cast<double>(q.lon), static_cast<double>(q.lat)};
  };
  Vec2 foot{0.0, 0.0};
  const std::int32_t code = project(plane(P), plane(A), plane(B), &foot);
  if (code == kAtA) {
    F = A;
  } else if (code == kAtB) {
    F = B;
  } else {
    // Truncated toward zero; a foot beyond the 32-bit range saturates.
    F.lon = kelvor::detail::trunc_to_i32(foot.x);
    F.lat = kelvor::detail::trunc_to_i32(foot.y);
  }
  return code;
}
