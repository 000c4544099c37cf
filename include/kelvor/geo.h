/// @file
/// Geographic helpers on longitude/latitude points.
///
/// tagLonLat holds double degrees; _Bin_LonLat holds integers in 1/100000
/// degree. The Earth is a sphere of radius 6378137.0 m; one degree of latitude
/// is 111319.49079327 m. No function checks, wraps or clamps coordinate
/// ranges: whatever the fields hold goes into the formulas. Double expressions
/// are evaluated in a fixed order without contraction into fused multiply-adds,
/// so results are identical across compilers and optimisation levels. The
/// distances, unit scales and boxes also need sin, cos and acos:
///  * by default they call the C library's. With glibc the results are
///    identical on x86-64 and aarch64 (checked in CI); another C maths library
///    (musl, the Windows runtime, Apple's, Android's) may differ in the last
///    bit of a double on a few percent of arguments;
///  * built with KELVOR_PORTABLE_MATH (CMake option) they use Kelvor's own,
///    correctly rounded for every argument (round to nearest) and computed
///    with IEEE-754 +, -, *, / and sqrt alone, so the results are identical on
///    every platform with IEEE-754 doubles in the default rounding mode
///    (checked in CI on x86-64 and aarch64 Linux, x86-64 Windows and wasm32);
///    where the C library rounds wrongly, they differ from the default build.
/// The projection and the angle functions use no C maths and are identical
/// everywhere in both modes.
#ifndef KELVOR_GEO_H
#define KELVOR_GEO_H

// Inside the library each folder may include only the headers of what it
// uses (see its CMakeLists.txt); clients include anything.
#if defined(KELVOR_BUILDING) && !defined(KELVOR_USES_GEO)
#error "this part of Kelvor does not use <kelvor/geo.h>"
#endif

#include <cstdint>

#include "kelvor/export.h"
#include "kelvor/types.h"

/// @name Distances and unit scales
/// @{

/// Great-circle distance in metres by the spherical law of cosines, symmetric
/// in its points, in [0, pi * 6378137]. Short results are quantised as the cosine
/// rounds near 1: the smallest non-zero result is 0.0950 m, then 0.1344,
/// 0.1646 m and so on. Distances under about 0.15 m may give 0.0 depending on
/// position (0.067 m at the equator does), and results near 1 m can be off by
/// about 1 cm. Integer overloads take 1/100000 degree units.
KELVOR_API double SegmentLength(const tagLonLat& a, const tagLonLat& b);
/// @overload
KELVOR_API double SegmentLength(const _Bin_LonLat& a, const _Bin_LonLat& b);
/// @overload
KELVOR_API double SegmentLength(double lon1, double lat1, double lon2, double lat2);
/// @overload
KELVOR_API double SegmentLength(std::int32_t lon1, std::int32_t lat1, std::int32_t lon2,
                                std::int32_t lat2);

/// Length in metres of the open polyline pts[0..count-1] (no closing segment).
/// A null array or a count below 2 gives 0.0.
KELVOR_API double LineLength(std::uint16_t count, tagLonLat* pts);
/// @overload
KELVOR_API double LineLength(std::uint16_t count, _Bin_LonLat* pts);

/// Box of half-side `half` metres around `center`: lower = center - delta,
/// upper = center + delta, with the longitude delta scaled by cos(latitude).
/// The sign of `half` is not tested. The integer overload truncates the
/// deltas toward zero in 1/100000 degree units.
KELVOR_API void GetRectCenterPt(const tagLonLat& center, double half, tagLonLat& lower,
                                tagLonLat& upper);
/// @overload
KELVOR_API void GetRectCenterPt(const _Bin_LonLat& center, double half, _Bin_LonLat& lower,
                                _Bin_LonLat& upper);

/// 1 when every point lies in the half-open box lower <= p < upper in both
/// coordinates (stops at the first point outside); a count <= 0 gives 1.
/// A NaN coordinate fails no comparison and counts as inside.
KELVOR_API std::int32_t IsPtsInRect(tagLonLat* pts, std::int32_t count, const tagLonLat& lower,
                                    const tagLonLat& upper);
/// @overload
KELVOR_API std::int32_t IsPtsInRect(_Bin_LonLat* pts, std::int32_t count, const _Bin_LonLat& lower,
                                    const _Bin_LonLat& upper);

/// Metres per degree at pt's latitude: of longitude (cos(lat) * 111319.49079327)
/// and of latitude (111319.49079327). Not guarded at the poles.
KELVOR_API void GetUnitLength(const tagLonLat& pt, double& lon_metres, double& lat_metres);
/// Degrees per metre at pt's latitude: of longitude (1 / metres per degree of
/// longitude) and of latitude (8.983152841195502e-06).
KELVOR_API void GetUnitDegree(const tagLonLat& pt, double& lon_degrees, double& lat_degrees);

/// @}

/// @name Projection onto a segment
/// @{

/// Foot F of the perpendicular from P onto the line A-B, in the plane of raw
/// coordinates (longitude as x, latitude as y, no cos(latitude) scaling).
/// Returns -1 before A, 0 at A (F = A), 1 strictly inside, 2 at B (F = B),
/// 3 at or beyond B (and any case not listed). A segment shorter than 3e-06
/// degree (3 units for _Bin_LonLat) in both coordinates also returns 0 but
/// leaves F unwritten. The integer overload truncates the foot toward zero;
/// a foot beyond the 32-bit range saturates.
KELVOR_API std::int32_t GetProjectBase(const tagLonLat& P, const tagLonLat& A, const tagLonLat& B,
                                       tagLonLat& F);
/// @overload
KELVOR_API std::int32_t GetProjectBase(const _Bin_LonLat& P, const _Bin_LonLat& A,
                                       const _Bin_LonLat& B, _Bin_LonLat& F);

/// @}

/// @name Bearings and turn angles
/// Directions are degrees counterclockwise from east (increasing longitude)
/// toward north, in the plane of raw coordinates, on a grid of 1/2048 degree.
/// Components are scaled to 1/10000000 degree (truncated toward zero) before the
/// fixed-point arctangent; they fit in 32 bits up to 214.7483647 degrees, or
/// 21474836 units. Beyond that a double component saturates (keeping its
/// sign, NaN counting as 0) and an integer one wraps. A zero vector has
/// direction 0; a double component under 1e-7 degree counts as 0.
/// Longitude differences are not wrapped at +-180: a straight path across the
/// antimeridian ((179.9,0), (-179.9,0), (-179.8,0)) gives a turn of 0.
/// @{

/// Direction of v read as a vector from the origin, in [0, 360).
KELVOR_API double GetAbsoluteAngle(const tagLonLat& v);
/// @overload
KELVOR_API double GetAbsoluteAngle(const _Bin_LonLat& v);
/// Inner angle at b between the rays to a and to c. The double overload folds
/// it into [0, 180]; the integer overload returns the unfolded absolute
/// difference of the two directions, in [0, 360).
KELVOR_API double GetSharpAngle(const tagLonLat& a, const tagLonLat& b, const tagLonLat& c);
/// @overload
KELVOR_API double GetSharpAngle(const _Bin_LonLat& a, const _Bin_LonLat& b, const _Bin_LonLat& c);
/// Counterclockwise angle at b from the ray toward a to the ray toward c, in
/// [0, 360): 180 for a straight path, below 180 for a right (clockwise) turn,
/// above 180 for a left turn, 0 when c lies in the direction of a.
KELVOR_API double GetTurnAngle(const tagLonLat& a, const tagLonLat& b, const tagLonLat& c);
/// @overload
KELVOR_API double GetTurnAngle(const _Bin_LonLat& a, const _Bin_LonLat& b, const _Bin_LonLat& c);
/// @}

#endif  // KELVOR_GEO_H
