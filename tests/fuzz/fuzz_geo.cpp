// Geographic functions on any doubles (NaN, infinities, subnormals, huge
// values) and on 32-bit extremes: no undefined behaviour, results in their
// documented ranges, and properties that hold whatever the rounding (the
// digest pins the exact bits): distances symmetric, between 0 and half the
// circumference, growing along a polyline; boxes around their centre; feet
// of perpendiculars where their position code says; turn and sharp angles of
// one path agreeing, reversed paths turning the other way, straight paths
// turning by exactly 180 degrees.
#include <kelvor/geo.h>

#include <cmath>
#include <cstdint>
#include <cstring>

#include "fuzz_input.h"

namespace fuzz {
namespace {

constexpr double kHalfCircumference = 3.141592653589793 * 6378137.0;

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
tagLonLat degrees(const _Bin_LonLat& p) { return {p.lon / 100000.0, p.lat / 100000.0}; }

void distances(Input& in) {
  const tagLonLat a{in.real(), in.real()}, b{in.real(), in.real()}, c{in.real(), in.real()};
  const double d = SegmentLength(a, b);
  FUZZ_CHECK(std::isnan(d) || (d >= 0 && d <= kHalfCircumference), "length %g", d);
  if (finite({a.lon, a.lat, b.lon, b.lat})) FUZZ_CHECK(!std::isnan(d), "NaN for finite input");
  FUZZ_CHECK(
      same_bits(d, SegmentLength(b, a)) && same_bits(d, SegmentLength(a.lon, a.lat, b.lon, b.lat)),
      "overloads or order differ at a=(%g,%g) b=(%g,%g)", a.lon, a.lat, b.lon, b.lat);
  // A point is (nearly) at no distance from itself: the law of cosines loses
  // its last bits near 0, a few centimetres on the Earth.
  if (finite({a.lon, a.lat}))
    FUZZ_CHECK(SegmentLength(a, a) < 0.5, "a=(%g,%g) is %g m from itself", a.lon, a.lat,
               SegmentLength(a, a));
  // Triangle inequality, to rounding, for points on the sphere (beyond the
  // poles the formula is no distance, and longitudes far beyond a turn lose
  // their differences to rounding).
  const double ac = SegmentLength(a, c), bc = SegmentLength(b, c);
  if (finite({d, ac, bc}) && std::fabs(a.lat) <= 90 && std::fabs(b.lat) <= 90 &&
      std::fabs(c.lat) <= 90 && std::fabs(a.lon) <= 360 && std::fabs(b.lon) <= 360 &&
      std::fabs(c.lon) <= 360)
    FUZZ_CHECK(ac <= d + bc + 1.0, "triangle %g > %g + %g", ac, d, bc);

  // Integer points are the double overload of their degrees.
  const _Bin_LonLat ia{in.varied(), in.varied()}, ib{in.varied(), in.varied()};
  const double di = SegmentLength(ia, ib);
  FUZZ_CHECK(di >= 0 && di <= kHalfCircumference, "integer length %g", di);
  FUZZ_CHECK(same_bits(di, SegmentLength(degrees(ia), degrees(ib))) &&
                 same_bits(di, SegmentLength(ia.lon, ia.lat, ib.lon, ib.lat)) &&
                 same_bits(di, SegmentLength(ib, ia)),
             "integer distance (%d,%d)-(%d,%d)", ia.lon, ia.lat, ib.lon, ib.lat);

  // Polylines: null or fewer than two points give 0, two points their
  // segment, and each further point never shortens the line.
  tagLonLat line[6];
  _Bin_LonLat iline[6];
  const int n = in.in(0, 6);
  double last = 0.0, ilast = 0.0;
  for (int i = 0; i < n; ++i) {
    line[i] = {in.real(), in.real()};
    iline[i] = {in.varied(), in.varied()};
    const auto count = static_cast<std::uint16_t>(i + 1);
    const double len = LineLength(count, line), ilen = LineLength(count, iline);
    if (i == 0) FUZZ_CHECK(len == 0.0 && ilen == 0.0, "one point has length");
    if (i == 1)
      FUZZ_CHECK(same_bits(len, SegmentLength(line[0], line[1])) &&
                     same_bits(ilen, SegmentLength(iline[0], iline[1])),
                 "two points: not their segment");
    if (!std::isnan(len)) FUZZ_CHECK(std::isnan(last) || len >= last, "line got shorter");
    FUZZ_CHECK(ilen >= ilast, "integer line got shorter: %g < %g", ilen, ilast);
    last = len, ilast = ilen;
  }
  FUZZ_CHECK(
      LineLength(static_cast<std::uint16_t>(n), static_cast<tagLonLat*>(nullptr)) == 0.0 &&
          LineLength(static_cast<std::uint16_t>(65535), static_cast<_Bin_LonLat*>(nullptr)) == 0.0,
      "null polyline");
}

void boxes(Input& in) {
  const tagLonLat c{in.real(), in.real()};
  const double half = in.real();
  tagLonLat lo{1, 2}, hi{3, 4};
  GetRectCenterPt(c, half, lo, hi);
  // A box of a non-negative half-side holds its centre, at the same
  // latitude extent on either side; longitudes widen away from the equator.
  if (finite({c.lon, c.lat, half, lo.lon, lo.lat, hi.lon, hi.lat}) && half >= 0 &&
      std::fabs(c.lat) < 89.0) {
    FUZZ_CHECK(lo.lon <= c.lon && c.lon <= hi.lon && lo.lat <= c.lat && c.lat <= hi.lat,
               "box around (%g,%g) of %g misses it", c.lon, c.lat, half);
    tagLonLat elo{0, 0}, ehi{0, 0};
    GetRectCenterPt(tagLonLat{c.lon, 0.0}, half, elo, ehi);
    FUZZ_CHECK(hi.lon - lo.lon >= (ehi.lon - elo.lon) * (1 - 1e-12),
               "narrower than at the equator at latitude %g", c.lat);
  }

  // Integer boxes: deltas truncated toward zero, the same either side.
  const _Bin_LonLat ic{in.varied(), in.varied()};
  _Bin_LonLat ilo{1, 2}, ihi{3, 4};
  GetRectCenterPt(ic, half, ilo, ihi);
  if (finite({half}) && half >= 0 && half < 1e6 && std::abs(ic.lat) < 8900000 &&
      std::abs(ic.lon) < 1800000000) {
    FUZZ_CHECK(I64{ihi.lon} - ic.lon == I64{ic.lon} - ilo.lon &&
                   I64{ihi.lat} - ic.lat == I64{ic.lat} - ilo.lat && ilo.lon <= ic.lon &&
                   ilo.lat <= ic.lat,
               "integer box around (%d,%d) of %g: (%d,%d)-(%d,%d)", ic.lon, ic.lat, half, ilo.lon,
               ilo.lat, ihi.lon, ihi.lat);
  }

  // Points in a half-open box, against the rule itself; NaN fails no test.
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

  // Scales: a degree of longitude is never longer than one of latitude, the
  // two scales are reciprocal, and they are even in latitude.
  double m1 = 0, m2 = 0, g1 = 0, g2 = 0, n1 = 0, n2 = 0;
  GetUnitLength(c, m1, m2);
  GetUnitDegree(c, g1, g2);
  GetUnitLength(tagLonLat{c.lon, -c.lat}, n1, n2);
  if (finite({c.lat})) {
    FUZZ_CHECK(std::fabs(m1) <= m2 && same_bits(m1, n1) && m2 == n2,
               "unit lengths at latitude %g: %g, %g", c.lat, m1, m2);
    if (m1 != 0.0)
      FUZZ_CHECK(std::fabs(g1 * m1 - 1.0) < 1e-15 && std::fabs(g2 * m2 - 1.0) < 1e-15,
                 "scales at latitude %g are not reciprocal", c.lat);
  }
}

// The foot F of P on the line A-B lies as its code says: on A (0), on B
// (2), strictly between them (1), before A (-1) or beyond B (3; also where
// the parameter underflows to 0), judged by the projection parameter with
// some slack for rounding.
void check_foot(double px, double py, double ax, double ay, double bx, double by, double fx,
                double fy, I32 code, const char* what) {
  const double dx = bx - ax, dy = by - ay;
  const double len2 = dx * dx + dy * dy;
  if (!finite({px, py, ax, ay, bx, by, fx, fy, len2}) || len2 == 0.0 || len2 > 1e300) return;
  const double t = ((fx - ax) * dx + (fy - ay) * dy) / len2;
  const double slack = 1e-9;
  switch (code) {
    case 0: FUZZ_CHECK(fx == ax && fy == ay, "%s: code 0 but F is not A", what); break;
    case 2: FUZZ_CHECK(fx == bx && fy == by, "%s: code 2 but F is not B", what); break;
    case 1: FUZZ_CHECK(t > -slack && t < 1 + slack, "%s: inside at t=%g", what, t); break;
    case -1: FUZZ_CHECK(t < slack, "%s: before A at t=%g", what, t); break;
    // t == 0 with a dot product that is not (t underflowed) is neither
    // before A nor strictly inside: the rule answers 3 for it too.
    case 3:
      FUZZ_CHECK(t > 1 - slack || std::fabs(t) < slack, "%s: beyond B at t=%g", what, t);
      break;
    default: break;
  }
}

void projection(Input& in) {
  const tagLonLat P{in.real(), in.real()}, A{in.real(), in.real()};
  tagLonLat B{in.real(), in.real()};
  if (in.flag()) B = {A.lon + in.in(-4, 4) * 1e-6, A.lat + in.in(-4, 4) * 1e-6};
  const tagLonLat untouched{12.5, -7.25};
  tagLonLat F = untouched;
  const I32 code = GetProjectBase(P, A, B, F);
  FUZZ_CHECK(code >= -1 && code <= 3, "code %d", code);
  if (std::fabs(A.lon - B.lon) < 3e-06 && std::fabs(A.lat - B.lat) < 3e-06) {
    FUZZ_CHECK(code == 0 && F.lon == untouched.lon && F.lat == untouched.lat,
               "degenerate segment wrote F or answered %d", code);
  } else {
    check_foot(P.lon, P.lat, A.lon, A.lat, B.lon, B.lat, F.lon, F.lat, code, "double");
  }

  const _Bin_LonLat iP{in.varied(), in.varied()}, iA{in.varied(), in.varied()};
  _Bin_LonLat iB{in.varied(), in.varied()};
  if (in.flag()) iB = {wrap_add(iA.lon, in.in(-4, 4)), wrap_add(iA.lat, in.in(-4, 4))};
  const _Bin_LonLat iuntouched{1234, -5678};
  _Bin_LonLat iF = iuntouched;
  const I32 icode = GetProjectBase(iP, iA, iB, iF);
  FUZZ_CHECK(icode >= -1 && icode <= 3, "code %d", icode);
  if (std::abs(I64{wrap_sub(iA.lon, iB.lon)}) < 3 && std::abs(I64{wrap_sub(iA.lat, iB.lat)}) < 3) {
    FUZZ_CHECK(icode == 0 && iF.lon == iuntouched.lon && iF.lat == iuntouched.lat,
               "degenerate integer segment wrote F or answered %d", icode);
  } else if (icode == 0 || icode == 2) {
    const _Bin_LonLat& end = icode == 0 ? iA : iB;
    FUZZ_CHECK(iF.lon == end.lon && iF.lat == end.lat, "integer foot is not the end point");
  } else if (std::abs(I64{iA.lon} - iB.lon) < (1 << 30) &&
             std::abs(I64{iA.lat} - iB.lat) < (1 << 30)) {
    // Truncation moves the foot by under a unit per axis: allow that much.
    const double len = std::hypot(double(iB.lon) - iA.lon, double(iB.lat) - iA.lat);
    const double unit_t = 2.0 / len;
    const double t = ((double(iF.lon) - iA.lon) * (double(iB.lon) - iA.lon) +
                      (double(iF.lat) - iA.lat) * (double(iB.lat) - iA.lat)) /
                     (len * len);
    if (icode == 1) FUZZ_CHECK(t > -unit_t && t < 1 + unit_t, "integer inside at t=%g", t);
    if (icode == -1) FUZZ_CHECK(t < unit_t, "integer before A at t=%g", t);
    if (icode == 3) FUZZ_CHECK(t > 1 - unit_t, "integer beyond B at t=%g", t);
  }
}

bool on_grid(double deg) { return deg * 2048.0 == std::floor(deg * 2048.0); }

void angles(Input& in) {
  const tagLonLat a{in.real(), in.real()}, b{in.real(), in.real()}, c{in.real(), in.real()};
  const double abs = GetAbsoluteAngle(a);
  FUZZ_CHECK(abs >= 0 && abs < 360 && on_grid(abs), "absolute angle %.17g", abs);
  // The turn from a through b to c and back again add up to a full turn (or
  // none); the sharp angle is the smaller of the turn either way.
  const double turn = GetTurnAngle(a, b, c), back = GetTurnAngle(c, b, a);
  const double sharp = GetSharpAngle(a, b, c);
  FUZZ_CHECK(turn >= 0 && turn < 360 && on_grid(turn), "turn angle %.17g", turn);
  FUZZ_CHECK(turn + back == 360.0 || (turn == 0 && back == 0), "turns %.17g and %.17g", turn, back);
  FUZZ_CHECK(sharp == (turn <= 180 ? turn : 360 - turn) && sharp == GetSharpAngle(c, b, a),
             "sharp angle %.17g for turn %.17g", sharp, turn);

  const _Bin_LonLat ia{in.varied(), in.varied()}, ib{in.varied(), in.varied()},
      ic{in.varied(), in.varied()};
  const double iabs = GetAbsoluteAngle(ia);
  FUZZ_CHECK(iabs >= 0 && iabs < 360 && on_grid(iabs), "integer absolute %.17g", iabs);
  const double iturn = GetTurnAngle(ia, ib, ic), iback = GetTurnAngle(ic, ib, ia);
  const double isharp = GetSharpAngle(ia, ib, ic);
  FUZZ_CHECK(iturn >= 0 && iturn < 360 && (iturn + iback == 360.0 || (iturn == 0 && iback == 0)),
             "integer turns %.17g and %.17g", iturn, iback);
  // The integer sharp angle is the plain difference of the two directions,
  // so it is the turn one way or the other (not folded below 180).
  FUZZ_CHECK(isharp == iturn || isharp == iback, "integer sharp %.17g, turns %.17g and %.17g",
             isharp, iturn, iback);

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
}  // namespace fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input in(data, size);
  fuzz::distances(in);
  fuzz::boxes(in);
  fuzz::projection(in);
  fuzz::angles(in);
  return 0;
}
