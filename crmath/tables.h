// The constants of crmath, generated at build time by kelvor_tablegen
// (tools/crmath_tables.cpp) and
// checked against MPFR by tests/crmath/tables_test.cpp.
#ifndef KELVOR_CRMATH_TABLES_H
#define KELVOR_CRMATH_TABLES_H

#include <cstdint>

#include "dd.h"
#include "wide.h"

namespace kelvor::detail::crmath {

// 1536 bits of 2/pi: enough for the reduction of the largest doubles
// (exponent 1023) with 320 bits to spare.
constexpr int kTwoOverPiWords = 24;
extern const std::uint64_t kTwoOverPi[kTwoOverPiWords];

extern const Wide kPiWide;      // pi, truncated to a unit
extern const Wide kHalfPiWide;  // pi/2, truncated to a unit

// pi/2048 in parts for the Cody-Waite reductions (see reduce.h).
extern const double kPi2048Long1;
extern const double kPi2048Long2;
extern const double kPi2048Long3;
extern const double kPi2048Long4;
extern const double kPi2048Short1;  // the same in two 37-bit parts and a double
extern const double kPi2048Short2;
extern const double kPi2048Short3;
extern const double k2048OverPi;  // 2048/pi rounded

extern const DD kPi2048;  // pi/2048, pi/2 and pi as double-doubles
extern const DD kHalfPi;
extern const DD kPi;

// sin(j pi/2048), j = 0 .. 1024; cos(j pi/2048) is entry 1024 - j.
constexpr int kSinSteps = 1024;  // table steps per quarter turn
extern const DD kSinTable[kSinSteps + 1];

// Taylor coefficients of asin(sqrt t)/sqrt t about t = i/256 (see acos.cpp).
struct AcosNode {
  double d0h, d0l;  // d0 as a double-double
  double d1h, d1l;  // d1 as a double-double
  double d1a, d1b;  // d1h = d1a + d1b, each of at most 26 bits (split(d1h))
  double d[7];      // d2 .. d8
};
extern const AcosNode kAcosNodes[65];

}  // namespace kelvor::detail::crmath

#endif  // KELVOR_CRMATH_TABLES_H
