/// @file
/// Plain records shared by every Kelvor subsystem. All widths are fixed:
/// 32-bit signed integers are std::int32_t whatever the platform's long is.
#ifndef KELVOR_TYPES_H
#define KELVOR_TYPES_H

#include <cstdint>

/// Integer plane point: x then y, two signed 32-bit integers (8 bytes).
struct tagPOINT {
  std::int32_t x;  ///< Horizontal coordinate.
  std::int32_t y;  ///< Vertical coordinate.
};

/// 16.16 fixed-point value: value / 65536 (1.0 == 65536).
typedef std::int32_t KMF_Fixed;

/// Angle in 16.16 fixed-point degrees (65536 == 1 degree, 360 degrees ==
/// 23592960), counterclockwise from +x toward +y.
typedef std::int32_t KMF_Angle;

/// Two-component integer vector; components in any common unit (often 16.16).
struct KMF_Vector {
  std::int32_t x;  ///< First component.
  std::int32_t y;  ///< Second component.
};

/// 2x2 matrix of 16.16 coefficients; new x = m11*x + m12*y, new y = m21*x + m22*y.
/// The identity is {65536, 0, 0, 65536}.
struct KMF_Matrix {
  std::int32_t m11;  ///< Row 1, column 1: weight of x in the new x.
  std::int32_t m12;  ///< Row 1, column 2: weight of y in the new x.
  std::int32_t m21;  ///< Row 2, column 1: weight of x in the new y.
  std::int32_t m22;  ///< Row 2, column 2: weight of y in the new y.
};

/// Geographic point in double degrees: longitude then latitude.
struct tagLonLat {
  double lon;  ///< Longitude in degrees.
  double lat;  ///< Latitude in degrees.
};

/// Geographic point in integer units of 1/100000 degree: longitude then latitude.
struct _Bin_LonLat {
  std::int32_t lon;  ///< Longitude in 1/100000 degree.
  std::int32_t lat;  ///< Latitude in 1/100000 degree.
};

#endif  // KELVOR_TYPES_H
