// Great-circle distances, polyline lengths, boxes, scales and the box test.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>

#include <kelvor/geo.h>

namespace {

constexpr double kHalfCircumference = 3.141592653589793 * 6378137.0;
constexpr double kMetresPerDegree = 111319.49079327;

TEST(SegmentLength, LandmarksAndFourSymmetricOverloadsAgree) {
  EXPECT_EQ(SegmentLength(0.0, 0.0, 180.0, 0.0), kHalfCircumference);  // clamped, not acos(-1)
  EXPECT_NEAR(SegmentLength(0.0, 0.0, 1.0, 0.0), 111319.49079326, 1e-4);
  std::mt19937 rng(17);
  std::uniform_int_distribution<std::int32_t> lon(-18000000, 18000000), lat(-9000000, 9000000);
  for (int i = 0; i < 5000; ++i) {
    const _Bin_LonLat a{lon(rng), lat(rng)}, b{lon(rng), lat(rng)};
    const tagLonLat fa{a.lon / 100000.0, a.lat / 100000.0}, fb{b.lon / 100000.0, b.lat / 100000.0};
    const double d = SegmentLength(fa, fb);
    ASSERT_TRUE(d == SegmentLength(fb, fa) && d == SegmentLength(fa.lon, fa.lat, fb.lon, fb.lat));
    // The integer overloads divide by 100000 first, exactly as built above.
    ASSERT_TRUE(d == SegmentLength(a, b) && d == SegmentLength(b, a)) << i;
    ASSERT_EQ(d, SegmentLength(a.lon, a.lat, b.lon, b.lat)) << i;
    ASSERT_TRUE(d >= 0.0 && d <= kHalfCircumference) << d;
  }
}

TEST(LineLength, OpenPolylineAndDegenerateInputs) {
  tagLonLat pts[3] = {{0, 0}, {1, 0}, {1, 1}};
  _Bin_LonLat ipts[3] = {{0, 0}, {100000, 0}, {100000, 100000}};
  EXPECT_TRUE(LineLength(3, static_cast<tagLonLat*>(nullptr)) == 0 && LineLength(0, pts) == 0 &&
              LineLength(3, static_cast<_Bin_LonLat*>(nullptr)) == 0 && LineLength(1, ipts) == 0);
  // Two legs, no closing leg back to the start.
  EXPECT_EQ(LineLength(3, pts), SegmentLength(pts[0], pts[1]) + SegmentLength(pts[1], pts[2]));
  EXPECT_EQ(LineLength(3, ipts), SegmentLength(ipts[0], ipts[1]) + SegmentLength(ipts[1], ipts[2]));
}

TEST(IsPtsInRect, HalfOpenBoxAndCounts) {
  const tagLonLat lo{0.0, 0.0}, hi{1.0, 1.0};
  tagLonLat pts[] = {{0.0, 0.5}, {0.5, 0.0}, {1.0, 0.5}, {0.5, 1.0}};
  EXPECT_EQ(IsPtsInRect(pts, -3, lo, hi), 1) << "count <= 0 reads nothing";
  EXPECT_EQ(IsPtsInRect(static_cast<tagLonLat*>(nullptr), 0, lo, hi), 1);
  EXPECT_EQ(IsPtsInRect(pts, 2, lo, hi), 1) << "lower bounds are inclusive";
  EXPECT_EQ(IsPtsInRect(&pts[2], 1, lo, hi), 0) << "upper longitude is exclusive";
  EXPECT_EQ(IsPtsInRect(&pts[3], 1, lo, hi), 0) << "upper latitude is exclusive";
  const _Bin_LonLat ilo{-100, -100}, ihi{100, 100};
  _Bin_LonLat ipts[] = {{-100, -100}, {99, 99}, {100, 0}};
  EXPECT_TRUE(IsPtsInRect(ipts, 2, ilo, ihi) == 1 && IsPtsInRect(ipts, 3, ilo, ihi) == 0);
}

TEST(GetRectCenterPt, BoxesTruncatedExtentsAndUnitScales) {
  tagLonLat lo{}, hi{};
  GetRectCenterPt(tagLonLat{5.0, 60.0}, 1000.0, lo, hi);  // half as long a longitude degree at 60
  EXPECT_TRUE(std::fabs(hi.lat - lo.lat - 2000.0 / kMetresPerDegree) < 1e-12 &&
              std::fabs(hi.lon - lo.lon - 4000.0 / kMetresPerDegree) < 1e-9);
  const _Bin_LonLat ic{500000, 0};
  _Bin_LonLat ilo{}, ihi{};
  GetRectCenterPt(ic, 1.1, ilo, ihi);  // 0.988 units truncate to 0
  EXPECT_TRUE(ilo.lat == 0 && ihi.lat == 0);
  GetRectCenterPt(ic, 1.12, ilo, ihi);  // 1.006 units
  EXPECT_TRUE(ilo.lat == -1 && ihi.lat == 1);
  double a = 0, b = 0, c = 0, d = 0;
  GetUnitLength({123.0, 60.0}, a, b);
  GetUnitDegree({-7.0, 60.0}, c, d);
  EXPECT_TRUE(std::fabs(a - kMetresPerDegree / 2) < 1e-6 && b == kMetresPerDegree && c == 1.0 / a);
}

}  // namespace
