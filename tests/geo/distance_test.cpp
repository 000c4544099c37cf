// Great-circle distances, polyline lengths, boxes, scales and the box test by example
// (each against its formula, bit for bit, is checked by the geographic fuzz target).
#include <gtest/gtest.h>
#include <kelvor/geo.h>

#include <cmath>
#include <cstdint>

#include "support/answers.h"

namespace {

constexpr double kHalfCircumference = 3.141592653589793 * 6378137.0;
constexpr double kMetresPerDegree = 111319.49079327;
constexpr double kOneDegreeArc = 111319.49079326;  // acos(cos 1 degree) * radius, to 1e-4

struct Near {
  const char* name;
  double got, want, tolerance;
};

TEST(SegmentLength, Landmarks) {
  const Near cases[] = {
      {"identical points", SegmentLength(12.5, 0.0, 12.5, 0.0), 0.0, 0.0},
      {"antipodes clamp to pi * R", SegmentLength(0.0, 0.0, 180.0, 0.0), kHalfCircumference, 0.0},
      {"one degree on the equator", SegmentLength(0.0, 0.0, 1.0, 0.0), kOneDegreeArc, 1e-4},
  };
  for (const Near& c : cases) EXPECT_NEAR(c.got, c.want, c.tolerance) << c.name;
}

TEST(LineLength, OpenPolylineAndDegenerateInputs) {
  tagLonLat pts[3] = {{0, 0}, {1, 0}, {1, 1}};
  _Bin_LonLat ipts[3] = {{0, 0}, {100000, 0}, {100000, 100000}};
  // Two legs of one degree of arc each; closing the ring would add another 157 km.
  const Near cases[] = {
      {"null array", LineLength(3, static_cast<tagLonLat*>(nullptr)), 0.0, 0.0},
      {"no points", LineLength(0, pts), 0.0, 0.0},
      {"null integer array", LineLength(3, static_cast<_Bin_LonLat*>(nullptr)), 0.0, 0.0},
      {"one integer point", LineLength(1, ipts), 0.0, 0.0},
      {"two legs, not closed", LineLength(3, pts), 2 * kOneDegreeArc, 1e-3},
      {"two integer legs, not closed", LineLength(3, ipts), 2 * kOneDegreeArc, 1e-3},
  };
  for (const Near& c : cases) EXPECT_NEAR(c.got, c.want, c.tolerance) << c.name;
}

TEST(IsPtsInRect, HalfOpenBoxAndCounts) {
  const tagLonLat lo{0.0, 0.0}, hi{1.0, 1.0};
  tagLonLat pts[] = {{0.0, 0.5}, {0.5, 0.0}, {1.0, 0.5}, {0.5, 1.0}};
  const _Bin_LonLat ilo{-100, -100}, ihi{100, 100};
  _Bin_LonLat ipts[] = {{-100, -100}, {99, 99}, {100, 0}};
  ExpectAnswers({
      {"negative count reads nothing", IsPtsInRect(pts, -3, lo, hi), 1},
      {"no points", IsPtsInRect(static_cast<tagLonLat*>(nullptr), 0, lo, hi), 1},
      {"lower bounds are inclusive", IsPtsInRect(pts, 2, lo, hi), 1},
      {"upper longitude is exclusive", IsPtsInRect(&pts[2], 1, lo, hi), 0},
      {"upper latitude is exclusive", IsPtsInRect(&pts[3], 1, lo, hi), 0},
      {"corners swapped", IsPtsInRect(pts, 1, hi, lo), 0},
      {"integer: lower corner and inner point", IsPtsInRect(ipts, 2, ilo, ihi), 1},
      {"integer: one point on the upper longitude", IsPtsInRect(ipts, 3, ilo, ihi), 0},
  });
}

TEST(GetRectCenterPt, BoxesAndUnitScales) {
  tagLonLat lo{}, hi{}, lo0{}, hi0{};
  GetRectCenterPt(tagLonLat{5.0, 60.0}, 1000.0, lo, hi);  // a longitude degree is half as long
  GetRectCenterPt(tagLonLat{5.0, 60.0}, 0.0, lo0, hi0);
  double lon_m = 0, lat_m = 0, lon_deg = 0, lat_deg = 0;
  GetUnitLength({123.0, 60.0}, lon_m, lat_m);
  GetUnitDegree({-7.0, 60.0}, lon_deg, lat_deg);
  const Near cases[] = {
      {"latitude extent at 60", hi.lat - lo.lat, 2000.0 / kMetresPerDegree, 1e-12},
      {"longitude extent at 60", hi.lon - lo.lon, 4000.0 / kMetresPerDegree, 1e-9},
      {"half-side 0: lower longitude", lo0.lon, 5.0, 0.0},
      {"half-side 0: lower latitude", lo0.lat, 60.0, 0.0},
      {"half-side 0: upper longitude", hi0.lon, 5.0, 0.0},
      {"half-side 0: upper latitude", hi0.lat, 60.0, 0.0},
      {"metres per longitude degree at 60", lon_m, kMetresPerDegree / 2, 1e-6},
      {"metres per latitude degree", lat_m, kMetresPerDegree, 0.0},
      {"longitude degrees per metre at 60", lon_deg, 1.0 / lon_m, 0.0},
      {"latitude degrees per metre", lat_deg, 8.983152841195502e-06, 0.0},
  };
  for (const Near& c : cases) EXPECT_NEAR(c.got, c.want, c.tolerance) << c.name;
}

}  // namespace
