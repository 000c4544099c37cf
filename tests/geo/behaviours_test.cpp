// Geographic answers that surprise a user, one named case each, as listed in
// docs/behaviours.md. Every expectation is the library's actual answer.
#include <gtest/gtest.h>
#include <kelvor/geo.h>

#include <cstdint>
#include <limits>

#include "support/answers.h"

namespace {

using L = tagLonLat;
using B = _Bin_LonLat;

// Height of the integer box of half-side `half` metres around the origin.
std::int32_t BoxHeight(double half) {
  B lo{9, 9}, hi{9, 9};
  GetRectCenterPt(B{0, 0}, half, lo, hi);
  return hi.lat - lo.lat;
}

TEST(GeoBehaviours, NamedAnswers) {
  const struct {
    const char* name;
    double got, want, tolerance;
  } doubles[] = {
      // Law of cosines: the cosine rounds to 1 for short distances, and steps above it.
      {"six_centimetres_come_back_as_zero", SegmentLength(0.0, 0.0, 0.0000006, 0.0), 0.0, 0.0},
      {"eleven_centimetres_come_back_as_9_5", SegmentLength(0.0, 0.0, 0.000001, 0.0), 0.0950416,
       1e-6},
      {"eleven_centimetres_north_come_back_as_13_4", SegmentLength(10.0, 50.0, 10.0, 50.000001),
       0.1344092, 1e-6},
      // The integer overload is the absolute difference of two directions, unfolded.
      {"sharp_angle_integer_not_folded", GetSharpAngle(B{100000, 1746}, B{0, 0}, B{100000, -1746}),
       357.9990234375, 0.0},
      {"sharp_angle_double_folded", GetSharpAngle(L{1.0, 0.01746}, L{0, 0}, L{1.0, -0.01746}),
       2.0009765625, 0.0},
      // No wrap of longitude differences: a straight path across 180 degrees turns back.
      {"straight_path_across_antimeridian_turns_back",
       GetTurnAngle(L{179.9, 0}, L{-179.9, 0}, L{-179.8, 0}), 0.0, 0.0},
      {"same_path_at_greenwich_is_straight", GetTurnAngle(L{-0.1, 0}, L{0.1, 0}, L{0.2, 0}), 180.0,
       0.0},
  };
  for (const auto& c : doubles) EXPECT_NEAR(c.got, c.want, c.tolerance) << c.name;
  L nan_point[1] = {{std::numeric_limits<double>::quiet_NaN(), 5.0}};
  // A segment under 3 units is degenerate: code 0, as for a foot at A, but F unwritten.
  B foot{7, 7};
  ExpectAnswers({
      {"nan_point_counts_as_inside_box", IsPtsInRect(nan_point, 1, L{0, 0}, L{10, 10}), 1},
      {"integer_box_of_1_1_metres_is_a_point", BoxHeight(1.11), 0},
      {"integer_box_of_1_12_metres_has_height", BoxHeight(1.12), 2},
      {"degenerate_projection_returns_code_0", GetProjectBase(B{5, 5}, B{0, 0}, B{2, 2}, foot), 0},
      {"degenerate_projection_leaves_foot_unwritten", foot.lon, 7},
  });
}

}  // namespace
