// Great-circle distances, polyline lengths, boxes, scales and the box test.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>

#include <kelvor/geo.h>

namespace {

constexpr double kHalfCircumference = 3.141592653589793 * 6378137.0;
constexpr double kMetresPerDegree = 111319.49079327;

TEST(SegmentLength, Landmarks) {
  EXPECT_EQ(SegmentLength(0.0, 0.0, 0.0, 0.0), 0.0);
  EXPECT_EQ(SegmentLength(12.5, 0.0, 12.5, 0.0), 0.0);
  EXPECT_EQ(SegmentLength(0.0, 0.0, 180.0, 0.0), kHalfCircumference);  // clamped, not acos(-1)
  EXPECT_NEAR(SegmentLength(0.0, 0.0, 1.0, 0.0), 111319.49079326, 1e-4);
  const _Bin_LonLat a{0, 0}, b{100000, 0};
  EXPECT_NEAR(SegmentLength(a, b), 111319.49079326, 1e-4);
  // Below about 0.1 m the cosine rounds to 1 and the distance collapses to 0.
  EXPECT_EQ(SegmentLength(10.0, 50.0, 10.0, 50.0 + 1e-9), 0.0);
}

TEST(SegmentLength, NanGoesThroughArcCosine) {
  EXPECT_TRUE(std::isnan(SegmentLength(std::nan(""), 0.0, 1.0, 1.0)));
}

TEST(SegmentLengthProperty, OverloadsAgreeAreSymmetricAndBounded) {
  std::mt19937 rng(17);
  std::uniform_int_distribution<std::int32_t> lon(-18000000, 18000000), lat(-9000000, 9000000);
  for (int i = 0; i < 5000; ++i) {
    const _Bin_LonLat a{lon(rng), lat(rng)}, b{lon(rng), lat(rng)};
    const tagLonLat fa{a.lon / 100000.0, a.lat / 100000.0}, fb{b.lon / 100000.0, b.lat / 100000.0};
    const double d = SegmentLength(fa, fb);
    ASSERT_EQ(d, SegmentLength(fa.lon, fa.lat, fb.lon, fb.lat));
    ASSERT_EQ(d, SegmentLength(fb, fa)) << "symmetric";
    ASSERT_EQ(SegmentLength(a, b), SegmentLength(a.lon, a.lat, b.lon, b.lat));
    ASSERT_EQ(SegmentLength(a, b), SegmentLength(b, a));
    // The integer overload divides by 100000 before converting to radians,
    // the same arithmetic as building the double record above.
    ASSERT_EQ(SegmentLength(a, b), d);
    ASSERT_GE(d, 0.0);
    ASSERT_LE(d, kHalfCircumference);
  }
}

TEST(LineLength, DegenerateInputsGiveZero) {
  tagLonLat pts[3] = {{0, 0}, {1, 0}, {1, 1}};
  _Bin_LonLat ipts[3] = {{0, 0}, {100000, 0}, {100000, 100000}};
  EXPECT_EQ(LineLength(3, static_cast<tagLonLat*>(nullptr)), 0.0);
  EXPECT_EQ(LineLength(3, static_cast<_Bin_LonLat*>(nullptr)), 0.0);
  EXPECT_EQ(LineLength(0, pts), 0.0);
  EXPECT_EQ(LineLength(1, pts), 0.0);
  EXPECT_EQ(LineLength(1, ipts), 0.0);
  EXPECT_EQ(LineLength(2, pts), SegmentLength(pts[0], pts[1]));
  // Open polyline: two legs, no closing leg back to the start.
  EXPECT_EQ(LineLength(3, pts), SegmentLength(pts[0], pts[1]) + SegmentLength(pts[1], pts[2]));
  EXPECT_EQ(LineLength(3, ipts), SegmentLength(ipts[0], ipts[1]) + SegmentLength(ipts[1], ipts[2]));
}

TEST(IsPtsInRect, HalfOpenBoxAndCounts) {
  const tagLonLat lo{0.0, 0.0}, hi{1.0, 1.0};
  tagLonLat pts[] = {{0.0, 0.5}, {0.5, 0.0}, {0.5, 0.5}, {1.0, 0.5}, {0.5, 1.0}};
  EXPECT_EQ(IsPtsInRect(pts, 0, lo, hi), 1);
  EXPECT_EQ(IsPtsInRect(pts, -3, lo, hi), 1);
  EXPECT_EQ(IsPtsInRect(static_cast<tagLonLat*>(nullptr), 0, lo, hi), 1) << "count 0 reads nothing";
  EXPECT_EQ(IsPtsInRect(pts, 3, lo, hi), 1) << "lower bounds are inclusive";
  EXPECT_EQ(IsPtsInRect(&pts[3], 1, lo, hi), 0) << "upper longitude is exclusive";
  EXPECT_EQ(IsPtsInRect(&pts[4], 1, lo, hi), 0) << "upper latitude is exclusive";
  EXPECT_EQ(IsPtsInRect(pts, 4, lo, hi), 0) << "all points must be inside";
  EXPECT_EQ(IsPtsInRect(pts, 1, hi, lo), 0) << "swapped corners hold nothing";
  tagLonLat nan_pt{std::nan(""), std::nan("")};
  EXPECT_EQ(IsPtsInRect(&nan_pt, 1, lo, hi), 1) << "NaN fails every outside test";

  const _Bin_LonLat ilo{-100, -100}, ihi{100, 100};
  _Bin_LonLat ipts[] = {{-100, -100}, {99, 99}, {100, 0}};
  EXPECT_EQ(IsPtsInRect(ipts, 2, ilo, ihi), 1);
  EXPECT_EQ(IsPtsInRect(ipts, 3, ilo, ihi), 0);
  EXPECT_EQ(IsPtsInRect(ipts, 2, ihi, ilo), 0);
}

TEST(GetRectCenterPt, DoubleBox) {
  const tagLonLat c{5.0, 60.0};
  tagLonLat lo{}, hi{};
  GetRectCenterPt(c, 0.0, lo, hi);
  EXPECT_EQ(lo.lon, c.lon);
  EXPECT_EQ(hi.lat, c.lat);
  GetRectCenterPt(c, 1000.0, lo, hi);
  EXPECT_NEAR(hi.lat - c.lat, 1000.0 / kMetresPerDegree, 1e-15);
  // At 60 degrees a degree of longitude is half as long, so the box is twice as wide.
  EXPECT_NEAR((hi.lon - c.lon) / (hi.lat - c.lat), 2.0, 1e-9);
  EXPECT_DOUBLE_EQ(c.lon - lo.lon, hi.lon - c.lon);
  GetRectCenterPt(c, -1000.0, lo, hi);
  EXPECT_GT(lo.lon, hi.lon) << "a negative half-side inverts the box";
  EXPECT_GT(lo.lat, hi.lat);
}

TEST(GetRectCenterPt, IntegerBoxTruncatesHalfExtents) {
  const _Bin_LonLat c{500000, 0};
  _Bin_LonLat lo{}, hi{};
  GetRectCenterPt(c, 1.1, lo, hi);  // 1.1 m is 0.988 units: truncates to 0
  EXPECT_EQ(lo.lat, 0);
  EXPECT_EQ(hi.lat, 0);
  GetRectCenterPt(c, 1.12, lo, hi);  // 1.006 units
  EXPECT_EQ(lo.lat, -1);
  EXPECT_EQ(hi.lat, 1);
  GetRectCenterPt(c, 1000.0, lo, hi);  // 898.3 units at the equator
  EXPECT_EQ(hi.lon - c.lon, 898);
  EXPECT_EQ(c.lon - lo.lon, 898);
  EXPECT_EQ(hi.lat, 898);
  // At the pole the longitude extent blows up; it saturates rather than overflowing.
  const _Bin_LonLat pole{0, 9000000};
  GetRectCenterPt(pole, 1000.0, lo, hi);
  EXPECT_EQ(hi.lat - pole.lat, 898);
}

TEST(UnitScales, EquatorAndSixtyDegrees) {
  double a = 0, b = 0;
  GetUnitLength({0.0, 0.0}, a, b);
  EXPECT_EQ(a, kMetresPerDegree);
  EXPECT_EQ(b, kMetresPerDegree);
  GetUnitDegree({0.0, 0.0}, a, b);
  EXPECT_EQ(a, 8.983152841195502e-06);
  EXPECT_EQ(b, 8.983152841195502e-06);
  GetUnitLength({123.0, 60.0}, a, b);
  EXPECT_NEAR(a, kMetresPerDegree / 2, 1e-6);
  EXPECT_EQ(b, kMetresPerDegree);
  double c = 0, d = 0;
  GetUnitDegree({-7.0, 60.0}, c, d);
  EXPECT_EQ(c, 1.0 / a) << "degrees per metre is the exact reciprocal";
  GetUnitLength({0.0, 120.0}, a, b);
  EXPECT_LT(a, 0.0) << "no guard beyond the pole";
}

}  // namespace
