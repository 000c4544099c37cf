// Geographic answers that surprise a user, one named case each, as listed in
// docs/behaviours.md. Every expectation is the library's actual answer.
#include <gtest/gtest.h>
#include <kelvor/geo.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>

namespace {

TEST(GeoBehaviours, NamedDoubles) {
  struct Case {
    const char* name;
    std::function<double()> got;
    double want;
    double tolerance;
  };
  const _Bin_LonLat a{100000, 1746}, b{0, 0}, c{100000, -1746};
  const Case cases[] = {
      // Law of cosines: the cosine rounds to 1 for short distances, and steps above it.
      {"six_centimetres_come_back_as_zero", [] { return SegmentLength(0.0, 0.0, 0.0000006, 0.0); },
       0.0, 0.0},
      {"eleven_centimetres_come_back_as_9_5", [] { return SegmentLength(0.0, 0.0, 0.000001, 0.0); },
       0.0950416, 1e-6},
      {"eleven_centimetres_north_come_back_as_13_4",
       [] { return SegmentLength(10.0, 50.0, 10.0, 50.000001); }, 0.1344092, 1e-6},
      // The integer overload is the absolute difference of two directions, unfolded.
      {"sharp_angle_integer_not_folded", [&] { return GetSharpAngle(a, b, c); }, 357.9990234375,
       0.0},
      {"sharp_angle_double_folded",
       [] {
         return GetSharpAngle(tagLonLat{1.0, 0.01746}, tagLonLat{0, 0}, {1.0, -0.01746});
       },
       2.0009765625, 0.0},
      // No wrap of longitude differences: a straight path across 180 degrees turns back.
      {"straight_path_across_antimeridian_turns_back",
       [] {
         return GetTurnAngle(tagLonLat{179.9, 0}, tagLonLat{-179.9, 0}, tagLonLat{-179.8, 0});
       },
       0.0, 0.0},
      {"same_path_at_greenwich_is_straight",
       [] {
         return GetTurnAngle(tagLonLat{-0.1, 0}, tagLonLat{0.1, 0}, tagLonLat{0.2, 0});
       },
       180.0, 0.0},
  };
  for (const Case& k : cases) EXPECT_NEAR(k.got(), k.want, k.tolerance) << k.name;
}

TEST(GeoBehaviours, NamedIntegers) {
  struct Case {
    const char* name;
    std::function<std::int32_t()> got;
    std::int32_t want;
  };
  const Case cases[] = {
      {"nan_point_counts_as_inside_box",
       [] {
         tagLonLat p[1] = {{std::numeric_limits<double>::quiet_NaN(), 5.0}};
         return IsPtsInRect(p, 1, tagLonLat{0, 0}, tagLonLat{10, 10});
       },
       1},
      {"integer_box_of_1_1_metres_is_a_point",
       [] {
         _Bin_LonLat lo{9, 9}, hi{9, 9};
         GetRectCenterPt(_Bin_LonLat{0, 0}, 1.11, lo, hi);
         return hi.lat - lo.lat;
       },
       0},
      {"integer_box_of_1_12_metres_has_height",
       [] {
         _Bin_LonLat lo{9, 9}, hi{9, 9};
         GetRectCenterPt(_Bin_LonLat{0, 0}, 1.12, lo, hi);
         return hi.lat - lo.lat;
       },
       2},
      // A segment under 3 units is degenerate: code 0, as for a foot at A, but F unwritten.
      {"degenerate_projection_returns_code_0",
       [] {
         _Bin_LonLat f{7, 7};
         return GetProjectBase(_Bin_LonLat{5, 5}, _Bin_LonLat{0, 0}, _Bin_LonLat{2, 2}, f);
       },
       0},
      {"degenerate_projection_leaves_foot_unwritten",
       [] {
         _Bin_LonLat f{7, 7};
         GetProjectBase(_Bin_LonLat{5, 5}, _Bin_LonLat{0, 0}, _Bin_LonLat{2, 2}, f);
         return f.lon;
       },
       7},
  };
  for (const Case& k : cases) EXPECT_EQ(k.got(), k.want) << k.name;
}

}  // namespace
