// CORDIC engine shared by the arctangent and the vector operations: scaling
// into the working range, rotation mode, vectoring mode and gain removal.
#ifndef KELVOR_FIXED_CORDIC_H
#define KELVOR_FIXED_CORDIC_H

#include <cstdint>

#include "kelvor/types.h"

namespace kelvor::detail {

// Angle landmarks in 16.16 degrees.
constexpr std::int32_t kDeg90 = 5898240;
constexpr std::int32_t kDeg180 = 11796480;
constexpr std::int32_t kDeg270 = 17694720;
constexpr std::int32_t kDeg360 = 23592960;

// 2^32 / K for the 24-step gain K (about 3.6822679), and 2^28 / K truncated:
// a start length that comes out of a rotation at about 2^28.
constexpr std::uint32_t kCordicGainInverse = 1166391785u;  // 0x4585B9E9
constexpr std::int32_t kCordicUnitStart = 72899491;

// Scales v by a power of two so that |x| | |y| lies in [2^27, 2^28] and
// returns the exponent (> 0: shifted left, < 0: shifted right, low bits
// lost). v must not be (0, 0). Components of -2^31 are handled (magnitude
// 2^31) without overflow.
int Cordic_Normalize(KMF_Vector* v);

// Turns the normalised v counterclockwise by theta (any value), leaving it
// lengthened by the gain K.
void Cordic_Rotate(KMF_Vector* v, std::int32_t theta);

// Vectoring mode on the normalised v: x becomes length * K (>= 0) and y the
// direction in [-180, +180] degrees, a multiple of 32 (halves away from 0).
void Cordic_Vectorize(KMF_Vector* v);

// v * 1166391785 / 2^32 on the magnitude, truncated, sign restored.
std::int32_t Cordic_Compensate(std::int32_t v);

}  // namespace kelvor::detail

#endif  // KELVOR_FIXED_CORDIC_H
