// Geographic functions on any doubles (NaN, infinities, subnormals, huge
// values) and on 32-bit extremes: no undefined behaviour, results in their
// documented ranges, each function equal to its formula evaluated in the
// same order (so bit for bit, NaN matching NaN), and straight paths turning
// by exactly 180 degrees.
#include <kelvor/fixed.h>
#include <kelvor/geo.h>

#include <cmath>
#include <cstdint>
#include <cstring>

#include "fuzz_input.h"

namespace {

using namespace fuzz;

constexpr double kRadius = 6378137.0, kPi = 3.141592653589793;
constexpr double kDegToRad = 0.017453292519943295, kUnit = 100000.0;
constexpr double kMetresPerDegree = 111319.49079327, kDegreesPerMetre = 8.983152841195502e-06;
constexpr double kFixedToDegrees = 1.52587890625e-05;

bool same_bits(double a, double b) {
  if (std::isnan(a) && std::isnan(b)) return true;
  std::uint64_t x, y;
  std::memcpy(&x, &a, sizeof x);
  std::memcpy(&y, &b, sizeof y);
  return x == y;
}
bool finite(std::initializer_list<double> v) {
  for (double d : v)
    if (!std::isfinite(d)) return false;
  return true;
}

double distance(double lon1, double lat1, double lon2, double lat2) {
  const double l1 = lon1 * kDegToRad, p1 = lat1 * kDegToRad;
  const double l2 = lon2 * kDegToRad, p2 = lat2 * kDegToRad;
  const double x = std::sin(p1) * std::sin(p2) + std::cos(p1) * std::cos(p2) * std::cos(l1 - l2);
  if (x >= 1) return 0.0;
  if (x <= -1) return kPi * kRadius;
  return std::acos(x) * kRadius;
}

void distances(Input& in) {
  const tagLonLat a{in.real(), in.real()}, b{in.real(), in.real()};
  const double d = SegmentLength(a, b);
  FUZZ_CHECK(std::isnan(d) || (d >= 0 && d <= kPi * kRadius), "length %g", d);
  if (finite({a.lon, a.lat, b.lon, b.lat})) FUZZ_CHECK(!std::isnan(d), "NaN for finite input");
  FUZZ_CHECK(same_bits(d, distance(a.lon, a.lat, b.lon, b.lat)), "a=(%g,%g) b=(%g,%g) got %.17g",
             a.lon, a.lat, b.lon, b.lat, d);
  FUZZ_CHECK(
      same_bits(d, SegmentLength(b, a)) && same_bits(d, SegmentLength(a.lon, a.lat, b.lon, b.lat)),
      "overloads or order differ");

  const _Bin_LonLat ia{in.varied(), in.varied()}, ib{in.varied(), in.varied()};
  const double di = SegmentLength(ia, ib);
  FUZZ_CHECK(di >= 0 && di <= kPi * kRadius, "integer length %g", di);
  FUZZ_CHECK(
      same_bits(di, distance(ia.lon / kUnit, ia.lat / kUnit, ib.lon / kUnit, ib.lat / kUnit)) &&
          same_bits(di, SegmentLength(ia.lon, ia.lat, ib.lon, ib.lat)) &&
          same_bits(di, SegmentLength(ib, ia)),
      "integer distance");

  // Polylines: open, summed in order; null or fewer than two points give 0.
  tagLonLat line[6];
  _Bin_LonLat iline[6];
  const int n = in.in(0, 6);
  double sum = 0.0, isum = 0.0;
  for (int i = 0; i < n; ++i) {
    line[i] = {in.real(), in.real()};
    iline[i] = {in.varied(), in.varied()};
    if (i > 0) {
      sum += SegmentLength(line[i - 1], line[i]);
      isum += SegmentLength(iline[i - 1], iline[i]);
    }
  }
  const auto count = static_cast<std::uint16_t>(n);
  FUZZ_CHECK(same_bits(LineLength(count, line), n < 2 ? 0.0 : sum) &&
                 same_bits(LineLength(count, iline), n < 2 ? 0.0 : isum),
             "polyline length of %d points", n);
  FUZZ_CHECK(
      LineLength(count, static_cast<tagLonLat*>(nullptr)) == 0.0 &&
          LineLength(static_cast<std::uint16_t>(65535), static_cast<_Bin_LonLat*>(nullptr)) == 0.0,
      "null polyline");
}

void boxes(Input& in) {
  const tagLonLat c{in.real(), in.real()};
  const double half = in.real();
  tagLonLat lo{1, 2}, hi{3, 4};
  GetRectCenterPt(c, half, lo, hi);
  const double s = std::cos(c.lat * kDegToRad) * kMetresPerDegree;
  const double dlon = half / s, dlat = half / kMetresPerDegree;
  FUZZ_CHECK(same_bits(lo.lon, c.lon - dlon) && same_bits(lo.lat, c.lat - dlat) &&
                 same_bits(hi.lon, c.lon + dlon) && same_bits(hi.lat, c.lat + dlat),
             "box around (%g,%g) of %g", c.lon, c.lat, half);

  // Integer centre: deltas truncated toward zero; beyond 32 bits the answer
  // is not fixed, but it must come without undefined behaviour.
  const _Bin_LonLat ic{in.varied(), in.varied()};
  _Bin_LonLat ilo{1, 2}, ihi{3, 4};
  GetRectCenterPt(ic, half, ilo, ihi);
  const double is = std::cos(ic.lat / kUnit * kDegToRad) * kMetresPerDegree;
  const double ilon = half / is * kUnit, ilat = half / kMetresPerDegree * kUnit;
  if (std::fabs(ilon) < 2147483647.0 && std::fabs(ilat) < 2147483647.0) {
    const I32 tl = static_cast<I32>(std::trunc(ilon)), ta = static_cast<I32>(std::trunc(ilat));
    FUZZ_CHECK(ilo.lon == wrap_sub(ic.lon, tl) && ilo.lat == wrap_sub(ic.lat, ta) &&
                   ihi.lon == wrap_add(ic.lon, tl) && ihi.lat == wrap_add(ic.lat, ta),
               "integer box around (%d,%d) of %g", ic.lon, ic.lat, half);
  }

  // Points in a half-open box; NaN fails no comparison.
  tagLonLat pts[4];
  _Bin_LonLat ipts[4];
  const int n = in.in(-2, 4);
  int want = 1, iwant = 1;
  for (int i = 0; i < n; ++i) {
    pts[i] = {in.flag() ? lo.lon : in.real(), in.real()};
    ipts[i] = {in.flag() ? ilo.lon : in.varied(), in.varied()};
    if (pts[i].lon < lo.lon || pts[i].lat < lo.lat || pts[i].lon >= hi.lon || pts[i].lat >= hi.lat)
      want = 0;
    if (ipts[i].lon < ilo.lon || ipts[i].lat < ilo.lat || ipts[i].lon >= ihi.lon ||
        ipts[i].lat >= ihi.lat)
      iwant = 0;
  }
  FUZZ_CHECK(IsPtsInRect(pts, n, lo, hi) == want && IsPtsInRect(ipts, n, ilo, ihi) == iwant,
             "points in box, n=%d", n);

  double m1 = 0, m2 = 0, g1 = 0, g2 = 0;
  GetUnitLength(c, m1, m2);
  GetUnitDegree(c, g1, g2);
  const double m = std::cos(c.lat * kDegToRad) * kMetresPerDegree;
  FUZZ_CHECK(
      same_bits(m1, m) && m2 == kMetresPerDegree && same_bits(g1, 1 / m) && g2 == kDegreesPerMetre,
      "unit scales at latitude %g", c.lat);
}

// The projection in doubles; F is written only when *written.
I32 project(double px, double py, double ax, double ay, double bx, double by, double* fx,
            double* fy, bool* written) {
  const double dx = bx - ax, dy = by - ay, wx = px - ax, wy = py - ay;
  double dot = 0.0;
  dot += wx * dx;
  dot += wy * dy;
  *written = true;
  if (dot == 0.0) return *fx = ax, *fy = ay, 0;
  double len2 = 0.0;
  len2 += dx * dx;
  len2 += dy * dy;
  if (dot == len2) return *fx = bx, *fy = by, 2;
  const double t = dot / len2;
  *fx = ax + t * dx;
  *fy = ay + t * dy;
  if (t < 0) return -1;
  if (0 < t && t < 1) return 1;
  return 3;
}

I32 saturate(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return kMax;
  if (v <= -2147483648.0) return kMin;
  return static_cast<I32>(std::trunc(v));
}

void projection(Input& in) {
  const tagLonLat P{in.real(), in.real()}, A{in.real(), in.real()};
  tagLonLat B{in.real(), in.real()};
  if (in.flag()) B = {A.lon + in.in(-4, 4) * 1e-6, A.lat + in.in(-4, 4) * 1e-6};
  const tagLonLat untouched{12.5, -7.25};
  tagLonLat F = untouched;
  const I32 code = GetProjectBase(P, A, B, F);
  FUZZ_CHECK(code >= -1 && code <= 3, "code %d", code);
  const double dx = A.lon - B.lon, dy = A.lat - B.lat;
  if (std::fabs(dx) < 3e-06 && std::fabs(dy) < 3e-06) {
    FUZZ_CHECK(code == 0 && F.lon == untouched.lon && F.lat == untouched.lat,
               "degenerate segment wrote F or answered %d", code);
  } else {
    double fx = 0, fy = 0;
    bool written = false;
    const I32 want = project(P.lon, P.lat, A.lon, A.lat, B.lon, B.lat, &fx, &fy, &written);
    FUZZ_CHECK(code == want && same_bits(F.lon, fx) && same_bits(F.lat, fy),
               "P=(%g,%g) A=(%g,%g) B=(%g,%g): got %d (%g,%g) want %d (%g,%g)", P.lon, P.lat, A.lon,
               A.lat, B.lon, B.lat, code, F.lon, F.lat, want, fx, fy);
  }

  const _Bin_LonLat iP{in.varied(), in.varied()}, iA{in.varied(), in.varied()};
  _Bin_LonLat iB{in.varied(), in.varied()};
  if (in.flag()) iB = {wrap_add(iA.lon, in.in(-4, 4)), wrap_add(iA.lat, in.in(-4, 4))};
  const _Bin_LonLat iuntouched{1234, -5678};
  _Bin_LonLat iF = iuntouched;
  const I32 icode = GetProjectBase(iP, iA, iB, iF);
  FUZZ_CHECK(icode >= -1 && icode <= 3, "code %d", icode);
  const I64 idx = wrap_sub(iA.lon, iB.lon), idy = wrap_sub(iA.lat, iB.lat);
  if (std::abs(idx) < 3 && std::abs(idy) < 3) {
    FUZZ_CHECK(icode == 0 && iF.lon == iuntouched.lon && iF.lat == iuntouched.lat,
               "degenerate integer segment wrote F or answered %d", icode);
  } else {
    double fx = 0, fy = 0;
    bool written = false;
    const I32 want = project(iP.lon, iP.lat, iA.lon, iA.lat, iB.lon, iB.lat, &fx, &fy, &written);
    FUZZ_CHECK(icode == want, "integer code %d want %d", icode, want);
    if (want == 0 || want == 2) {
      const _Bin_LonLat& end = want == 0 ? iA : iB;
      FUZZ_CHECK(iF.lon == end.lon && iF.lat == end.lat, "integer foot is not the end point");
    } else {
      FUZZ_CHECK(iF.lon == saturate(fx) && iF.lat == saturate(fy),
                 "P=(%d,%d) A=(%d,%d) B=(%d,%d): foot (%d,%d), want (%.3f,%.3f)", iP.lon, iP.lat,
                 iA.lon, iA.lat, iB.lon, iB.lat, iF.lon, iF.lat, fx, fy);
    }
  }
}

// Direction of a double or an integer difference, as the angle functions
// form it: scale to 1/10000000 degree, KMF_Atan2, back to degrees.
double direction(double dx, double dy) {
  return KMF_Atan2(saturate(dx * 10000000.0), saturate(dy * 10000000.0)) * kFixedToDegrees;
}
double direction(I32 dx, I32 dy) {
  return KMF_Atan2(wrap_mul(dx, 100), wrap_mul(dy, 100)) * kFixedToDegrees;
}
bool on_grid(double deg) { return deg * 2048.0 == std::floor(deg * 2048.0); }

void angles(Input& in) {
  const tagLonLat a{in.real(), in.real()}, b{in.real(), in.real()}, c{in.real(), in.real()};
  const double abs = GetAbsoluteAngle(a);
  FUZZ_CHECK(abs >= 0 && abs < 360 && on_grid(abs), "absolute angle %.17g", abs);
  FUZZ_CHECK(abs == direction(a.lon, a.lat), "absolute angle of (%g,%g): %.17g", a.lon, a.lat, abs);
  const double a1 = direction(a.lon - b.lon, a.lat - b.lat);
  const double a2 = direction(c.lon - b.lon, c.lat - b.lat);
  double d = a1 - a2;
  while (d >= 360.0) d -= 360.0;
  while (d < 0) d += 360.0;
  if (d >= 180.0) d = 360.0 - d;
  const double sharp = GetSharpAngle(a, b, c);
  FUZZ_CHECK(sharp >= 0 && sharp <= 180 && sharp == d, "sharp angle %.17g want %.17g", sharp, d);
  double t = a2 - a1;
  if (t < 0) t += 360.0;
  const double turn = GetTurnAngle(a, b, c);
  FUZZ_CHECK(turn >= 0 && turn < 360 && turn == t, "turn angle %.17g want %.17g", turn, t);

  const _Bin_LonLat ia{in.varied(), in.varied()}, ib{in.varied(), in.varied()},
      ic{in.varied(), in.varied()};
  const double iabs = GetAbsoluteAngle(ia);
  FUZZ_CHECK(iabs >= 0 && iabs < 360 && iabs == direction(ia.lon, ia.lat), "integer absolute");
  const double i1 = direction(wrap_sub(ia.lon, ib.lon), wrap_sub(ia.lat, ib.lat));
  const double i2 = direction(wrap_sub(ic.lon, ib.lon), wrap_sub(ic.lat, ib.lat));
  const double isharp = GetSharpAngle(ia, ib, ic);
  FUZZ_CHECK(isharp >= 0 && isharp < 360 && isharp == (i2 >= i1 ? i2 - i1 : i1 - i2),
             "integer sharp angle %.17g", isharp);
  double it = i2 - i1;
  if (it < 0) it += 360.0;
  const double iturn = GetTurnAngle(ia, ib, ic);
  FUZZ_CHECK(iturn >= 0 && iturn < 360 && iturn == it, "integer turn angle %.17g", iturn);

  // A straight path turns by exactly 180 degrees: c - b is -(a - b), in
  // integers and in dyadic degrees alike, while the steps stay within 2^21.
  const I32 dx = in.in(-(1 << 21), 1 << 21), dy = in.in(-(1 << 21), 1 << 21);
  const _Bin_LonLat sb{in.in(-(1 << 24), 1 << 24), in.in(-(1 << 23), 1 << 23)};
  const _Bin_LonLat sa{sb.lon - dx, sb.lat - dy}, sc{sb.lon + dx, sb.lat + dy};
  auto dyadic = [](const _Bin_LonLat& v) {
    return tagLonLat{std::ldexp(v.lon, -17), std::ldexp(v.lat, -17)};
  };
  if (dx != 0 || dy != 0) {
    FUZZ_CHECK(GetTurnAngle(sa, sb, sc) == 180, "integer straight path, step (%d,%d)", dx, dy);
    FUZZ_CHECK(GetTurnAngle(dyadic(sa), dyadic(sb), dyadic(sc)) == 180,
               "straight path in degrees, step (%d,%d)", dx, dy);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in(data, size);
  distances(in);
  boxes(in);
  projection(in);
  angles(in);
  return 0;
}
