// Fixed-point answers that surprise a user, one named case each, as listed in
// docs/behaviours.md. Every expectation is the library's actual answer.
#include <gtest/gtest.h>
#include <kelvor/fixed.h>

#include <cstdint>

#include "support/answers.h"

namespace {

constexpr std::int32_t kDeg = 65536;

KMF_Vector Unit(std::int32_t degrees) {
  KMF_Vector v{0, 0};
  KMF_Vector_Unit(&v, degrees * kDeg);
  return v;
}
KMF_Vector Rotated(KMF_Vector v, std::int32_t degrees) {
  KMF_Vector_Rotate(&v, degrees * kDeg);
  return v;
}
// Polarize's length and angle packed as a vector, for the same table.
KMF_Vector Polar(KMF_Vector v) {
  std::int32_t length = -1;
  KMF_Angle angle = -1;
  KMF_Vector_Polarize(&v, &length, &angle);
  return {length, angle};
}
std::int32_t Length(KMF_Vector v) { return KMF_Vector_Length(&v); }

TEST(FixedBehaviours, NamedAnswers) {
  const struct {
    const char* name;
    KMF_Vector got, want;
  } vectors[] = {
      {"unit_90_not_renormalised", Unit(90), {-1, 65535}},
      {"unit_180_not_renormalised", Unit(180), {-65536, -1}},
      {"unit_270_longer_than_one", Unit(270), {0, -65537}},
      {"rotate_360_is_not_identity", Rotated({5179338, 8782844}, 360), {5179332, 8782847}},
      {"rotate_large_vector_quarter_turn", Rotated({1 << 30, 0}, 90), {-712, 1073741752}},
      // {length, angle}: on an axis Polarize runs CORDIC where Length is exact.
      {"polarize_axis_gap_1_below_14766384", Polar({14766383, 0}), {14766382, 0}},
      {"polarize_axis_gap_2_from_14766384", Polar({14766384, 0}), {14766382, 0}},
      {"polarize_axis_gap_144", Polar({2147450880, 0}), {2147450736, 0}},
      {"polarize_axis_gap_159_largest", Polar({2123263159, 0}), {2123263000, 0}},
      {"polarize_y_axis_gap_144", Polar({0, 2147450880}), {2147450736, 90 * kDeg}},
  };
  for (const auto& c : vectors)
    ExpectAnswers({{c.name, c.got.x, c.want.x}, {c.name, c.got.y, c.want.y}});
  ExpectAnswers({
      {"length_exact_on_axis", Length({2147450880, 0}), 2147450880},
      {"length_144_short_one_unit_off_axis", Length({2147450880, 1}), 2147450736},
      {"sin_30_from_table_without_interpolation", KMF_Sin(30 * kDeg), 32766},
      {"muldiv_half_up_positive", KMF_MulDiv(7, 1, 2), 4},
      {"muldiv_half_toward_zero_negative", KMF_MulDiv(-7, 1, 2), -3},
      {"angle_diff_not_folded", KMF_Angle_Diff(10 * kDeg, 350 * kDeg), 340 * kDeg},
  });
}

}  // namespace
