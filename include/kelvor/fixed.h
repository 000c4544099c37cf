/// @file
/// Fixed-point arithmetic and trigonometry on 16.16 values.
///
/// Every value is a signed 32-bit integer read as value / 65536. Results that
/// do not fit in 32 bits wrap to their low 32 bits (two's complement); nothing
/// saturates except the documented division-by-zero and pole sentinels. All
/// functions are pure, allocation-free and safe to call from any thread.
#ifndef KELVOR_FIXED_H
#define KELVOR_FIXED_H

// Inside the library each folder may include only the headers of what it
// uses (see its CMakeLists.txt); clients include anything.
#if defined(KELVOR_BUILDING) && !defined(KELVOR_USES_FIXED)
#error "this part of Kelvor does not use <kelvor/fixed.h>"
#endif

#include <cstdint>

#include "kelvor/export.h"
#include "kelvor/types.h"

/// @name Scalar arithmetic
/// @{

/// a rounded to the nearest whole value, halves away from zero (-0.5 -> -1.0).
/// The result is 16.16 (low 16 bits zero), not an integer.
KELVOR_API std::int32_t KMF_RoundFix(std::int32_t a);
/// Smallest whole 16.16 value >= a (ceil(-1.25) == -1.0).
KELVOR_API std::int32_t KMF_CeilFix(std::int32_t a);
/// Largest whole 16.16 value <= a (floor(-1.25) == -2.0).
KELVOR_API std::int32_t KMF_FloorFix(std::int32_t a);

/// a * b / c with an exact signed 64-bit product, c >> 1 (arithmetic) added
/// before a signed division truncating toward zero; low 32 bits returned.
/// So 7/2 -> 4 but -7/2 -> -3 and -5/4 -> 0.
/// c == 0: 1 when a or b is 0, else 0x7FFFFFFF for equal signs and
/// -0x7FFFFFFF for differing signs.
KELVOR_API std::int32_t KMF_MulDiv(std::int32_t a, std::int32_t b, std::int32_t c);
/// a * b / c on magnitudes, truncated toward zero, sign applied last
/// (sign is the product of the operand signs, 0 counting as positive).
/// c == 0 or c == -2^31: +-0x7FFFFFFF by that sign (0 * -1 / 0 == -0x7FFFFFFF).
KELVOR_API std::int32_t KMF_MulDiv_No_Round(std::int32_t a, std::int32_t b, std::int32_t c);
// The declaration below keeps its published form on one line.
// clang-format off
/// 16.16 product, rounded half away from zero on the magnitude; wraps
/// (300.0 * 300.0 == 1603272704).
/// Defined here so that client loops pay no call for a one-nanosecond
/// operation; the library still exports this same definition.
KELVOR_INLINE_API KELVOR_EMIT_INLINE inline std::int32_t KMF_MulFix(std::int32_t a, std::int32_t b) {
  // clang-format on
  // Rounding the magnitude half up and restoring the sign is the same as
  // adding 0x8000 to a non-negative product and 0x7FFF to a negative one
  // before an arithmetic shift; the low 32 bits of that shift are those of a
  // logical one, so everything stays in unsigned arithmetic (no overflow, no
  // implementation-defined shift), and the product of two int32 fits int64.
  const std::int64_t p = static_cast<std::int64_t>(a) * b;
  const std::uint64_t u =
      static_cast<std::uint64_t>(p) + 0x8000u - (static_cast<std::uint64_t>(p) >> 63);
  const std::uint32_t r = static_cast<std::uint32_t>(u >> 16);
  return r <= 0x7FFFFFFFu ? static_cast<std::int32_t>(r)
                          : static_cast<std::int32_t>(r - 0x80000000u) - 0x7FFFFFFF - 1;
}
/// 16.16 quotient, rounded half away from zero on the magnitude.
/// b == 0: 0x7FFFFFFF for a >= 0 (0/0 included), -0x7FFFFFFF for a < 0.
KELVOR_API std::int32_t KMF_DivFix(std::int32_t a, std::int32_t b);
/// floor(sqrt(n)) with n read as unsigned 32-bit (so -1 means 2^32 - 1 and
/// gives 65535). Result 0..65535.
KELVOR_API std::int32_t KMF_Sqrt32(std::int32_t n);
/// sqrt(x) in 16.16, truncated: floor(sqrt(x * 65536)). 0 for x <= 0.
KELVOR_API std::int32_t KMF_SqrtFixed(std::int32_t x);

/// Entry i == round(2048 * sqrt(i)): sqrt(i / 1024) as a 16-bit fraction.
KELVOR_API extern const std::uint16_t g_sqrt_table[1024];
/// Entry i == index of the highest set bit of i (0 for both 0 and 1).
KELVOR_API extern const std::uint8_t g_elder_bit_table[256];

/// @}

/// @name Trigonometry (angles are KMF_Angle: 16.16 degrees)
/// @{

/// Sine of any angle, 16.16. The angle is reduced exactly into [0, 360) and
/// selects table entry floor(angle / 360); the remainder is dropped (no
/// interpolation). sin(90) == 65536, sin(30) == 32766, sin(-1 unit) == -6.
KELVOR_API std::int32_t KMF_Sin(KMF_Angle a);
/// Cosine of any angle, 16.16, by the same reduction and lookup as KMF_Sin.
KELVOR_API std::int32_t KMF_Cos(KMF_Angle a);
/// Tangent of any angle, 16.16. Exactly 90 degrees (mod 360) gives 0x7FFFFFFF
/// and exactly 270 degrees gives -0x7FFFFFFF; elsewhere the angle is folded
/// into the first quadrant before the lookup (tan(300) == -tan(60)).
KELVOR_API std::int32_t KMF_Tan(KMF_Angle a);
/// Direction of the vector (x, y) -- note x first, the reverse of atan2(y, x)
/// -- counterclockwise from +x, as a KMF_Angle in [0, 360 degrees), always a
/// multiple of 32 (1/2048 degree), by 24 CORDIC steps. (0, 0) gives 0.
/// Scale-invariant: (x, y) and (x * 2^k, y * 2^k) give the same angle.
/// Components of -2^31 are taken as -(2^31 - 1).
KELVOR_API KMF_Angle KMF_Atan2(std::int32_t x, std::int32_t y);

/// @}

/// @name Vectors
/// @{

/// v <- m * v, each product by KMF_MulFix, sums wrapping. Null v or m: no-op.
KELVOR_API void KMF_Vector_Transform(KMF_Vector* v, const KMF_Matrix* m);
/// v <- unit vector of the angle in 16.16, by CORDIC rotation of a pre-scaled
/// start vector, rounded toward minus infinity and not renormalised
/// (0 -> (65536, 0); 90 -> (-1, 65535); 270 -> (0, -65537)).
KELVOR_API void KMF_Vector_Unit(KMF_Vector* v, KMF_Angle angle);
/// Turns v counterclockwise by angle by CORDIC. Apart from rounding to whole
/// units the direction is good to about 1.3e-6 radian; the length to one unit
/// while the components are below 2^20, drifting beyond (about 2 units at 2^24,
/// 7 at 2^26, 28 at 2^28, 114 at 2^30; vectors beyond 2^28 also lose their low
/// bits to a normalising shift): (2^30, 0) by 90 degrees gives
/// (-712, 1073741752).
/// angle == 0 or the zero vector leaves v unchanged; any other angle, 360
/// degrees included, may change the last bits.
KELVOR_API void KMF_Vector_Rotate(KMF_Vector* v, KMF_Angle angle);
/// Length of v in v's unit. Exact when a component is 0; otherwise the CORDIC
/// estimate rounded half up, within one unit of the true length while the
/// components are below 2^22 and short by up to about one part in 10^7
/// beyond: (2147450880, 1) gives 2147450736, 144 under (2147450880, 0).
/// A length of 2^31 or more wraps to its low 32 bits.
KELVOR_API std::int32_t KMF_Vector_Length(const KMF_Vector* v);
/// Length by CORDIC, truncated: off the axes KMF_Vector_Length or one unit
/// less; on an axis, where KMF_Vector_Length is exact, one unit under below
/// a magnitude of 14,766,384 and more from there (2 at (14766384, 0), 144 at
/// (2147450880, 0), at most 159). Direction in [-180, +180] degrees, a
/// multiple of 32 -- not moved into [0, 360) as KMF_Atan2 does. The zero vector writes neither
/// output. Unlike KMF_Vector_Transform, no pointer is checked.
KELVOR_API void KMF_Vector_Polarize(const KMF_Vector* v, std::int32_t* length, KMF_Angle* angle);
/// v <- (length, 0) turned by angle (via KMF_Vector_Rotate): angle 0 gives
/// exactly (length, 0), length 0 gives (0, 0).
KELVOR_API void KMF_Vector_From_Polar(KMF_Vector* v, std::int32_t length, KMF_Angle angle);
/// Counterclockwise turn from angle1 to angle2, in [0, 360 degrees); the
/// difference wraps in 32 bits first. Not folded: (10, 350) gives 340.
KELVOR_API KMF_Angle KMF_Angle_Diff(KMF_Angle angle1, KMF_Angle angle2);
/// @}

#endif  // KELVOR_FIXED_H
