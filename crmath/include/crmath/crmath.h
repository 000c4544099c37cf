// Correctly rounded sin, cos and acos for the geographic functions.
//
// The C libraries disagree in the last bit of sin, cos and acos, so results
// computed from them differ between platforms. These return the exactly
// rounded value instead (round to nearest, ties to even) for every argument,
// using only IEEE-754 binary64 +, -, *, / and sqrt, which are themselves
// correctly rounded: every conforming platform produces identical bits. The
// floating-point environment must be the default one (round to nearest, no
// x87 excess precision, no flush-to-zero).
#ifndef KELVOR_CRMATH_CRMATH_H
#define KELVOR_CRMATH_CRMATH_H

namespace kelvor::detail {

// sin(x) correctly rounded for every finite x, however large.
// sin(+0) = +0 and sin(-0) = -0; a subnormal x gives x back.
// NaN argument: the same NaN with its quiet bit set (payload and sign kept).
// +-infinity: the quiet NaN 0x7ff8000000000000.
double cr_sin(double x);

// cos(x) correctly rounded for every finite x, however large; cos(+-0) = 1.
// NaN argument: the same NaN, quieted. +-infinity: 0x7ff8000000000000.
double cr_cos(double x);

// acos(x) correctly rounded, in [0, pi], for x in [-1, 1].
// acos(1) = +0, acos(-1) = pi rounded (0x1.921fb54442d18p+1), acos(+-0) is
// pi/2 rounded. NaN argument: the same NaN, quieted. |x| > 1 (including
// +-infinity): the quiet NaN 0x7ff8000000000000.
double cr_acos(double x);

}  // namespace kelvor::detail

#endif  // KELVOR_CRMATH_CRMATH_H
