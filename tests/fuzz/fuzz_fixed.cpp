// Fixed-point scalars, trigonometry and vectors against exact models: the
// sign-magnitude products and quotients, the square roots, the angle
// reduction of the table lookups, the CORDIC direction and length against
// double precision, and the documented no-op cases of the vector operations.
#include <kelvor/fixed.h>

#include <cmath>
#include <cstdint>

#include "fuzz_input.h"

namespace fuzz {
namespace {
constexpr double kPi = 3.141592653589793;  // M_PI is not standard C++

constexpr I32 kDeg = 65536;
constexpr I32 k90 = 90 * kDeg, k180 = 180 * kDeg, k270 = 270 * kDeg, k360 = 360 * kDeg;
constexpr I32 kHuge = 0x7FFFFFFF;

// Magnitude by 32-bit negation; callers keep -2^31 away (no magnitude).
U64 mag(I32 v) { return v < 0 ? static_cast<U64>(-static_cast<I64>(v)) : static_cast<U64>(v); }
bool negative_product(I32 a, I32 b) { return (a < 0) != (b < 0); }

void scalars(Input& in) {
  const I32 a = in.varied(), b = in.varied(), c = in.varied();
  const U32 ua = static_cast<U32>(a);

  // Whole-number rounding on the 32-bit pattern, wrapping like the library.
  const U32 mask = 0xFFFF0000u, nega = 0u - ua;
  const I32 round = a >= 0 ? low32((ua + 0x8000u) & mask) : low32(0u - ((nega + 0x8000u) & mask));
  const I32 ceil = a >= 0 ? low32((ua + 0xFFFFu) & mask) : low32(0u - (nega & mask));
  const I32 floor = a >= 0 ? low32(ua & mask) : low32(0u - ((nega + 0xFFFFu) & mask));
  FUZZ_CHECK(KMF_RoundFix(a) == round, "a=%d got=%d", a, KMF_RoundFix(a));
  FUZZ_CHECK(KMF_CeilFix(a) == ceil, "a=%d got=%d", a, KMF_CeilFix(a));
  FUZZ_CHECK(KMF_FloorFix(a) == floor, "a=%d got=%d", a, KMF_FloorFix(a));

  // MulDiv: exact signed product, plus c >> 1, truncating signed division.
  I32 muldiv;
  if (c != 0) {
    const I64 num = static_cast<I64>(a) * b + (c >> 1);
    muldiv = low32(static_cast<U64>(num / c));
  } else if (a == 0 || b == 0) {
    muldiv = 1;
  } else {
    muldiv = negative_product(a, b) ? -kHuge : kHuge;
  }
  FUZZ_CHECK(KMF_MulDiv(a, b, c) == muldiv, "a=%d b=%d c=%d got=%d want=%d", a, b, c,
             KMF_MulDiv(a, b, c), muldiv);

  // The sign-magnitude operations leave operands of -2^31 to the implementer
  // (only the divisor case of MulDiv_No_Round is defined); no crash is all
  // that is asked there, and the calls below still run under the sanitizers.
  const bool ab_ok = a != kMin && b != kMin;
  const I32 mulfix = KMF_MulFix(a, b);
  const I32 divfix = KMF_DivFix(a, b);
  const I32 noround = KMF_MulDiv_No_Round(a, b, c);
  if (!ab_ok) return;

  const bool neg_ab = negative_product(a, b);
  const I32 q_mul = low32((mag(a) * mag(b) + 0x8000u) >> 16);
  FUZZ_CHECK(mulfix == (neg_ab ? wrap_neg(q_mul) : q_mul), "a=%d b=%d got=%d", a, b, mulfix);

  I32 q_div = kHuge;
  if (b != 0) q_div = low32(((mag(a) << 16) + (mag(b) >> 1)) / mag(b));
  FUZZ_CHECK(divfix == (neg_ab ? wrap_neg(q_div) : q_div), "a=%d b=%d got=%d", a, b, divfix);

  const bool neg_abc = neg_ab != (c < 0);
  I32 q_nr = kHuge;
  if (c != 0 && c != kMin) q_nr = low32(mag(a) * mag(b) / mag(c));
  FUZZ_CHECK(noround == (neg_abc ? wrap_neg(q_nr) : q_nr), "a=%d b=%d c=%d got=%d", a, b, c,
             noround);
}

void roots(Input& in) {
  const I32 n = in.varied();
  const U64 un = static_cast<U32>(n);
  const I32 r = KMF_Sqrt32(n);
  FUZZ_CHECK(r >= 0 && r <= 65535, "n=%d r=%d", n, r);
  const U64 ur = static_cast<U64>(r);
  FUZZ_CHECK(ur * ur <= un && (ur + 1) * (ur + 1) > un, "n=%d r=%d", n, r);

  const I32 f = KMF_SqrtFixed(n);
  if (n <= 0) {
    FUZZ_CHECK(f == 0, "x=%d r=%d", n, f);
  } else {
    const U64 x = un << 16, uf = static_cast<U64>(f);
    FUZZ_CHECK(f >= 0 && uf * uf <= x && (uf + 1) * (uf + 1) > x, "x=%d r=%d", n, f);
  }
}

// Angle reduction into [0, 360 degrees), exact for every 32-bit input.
I32 reduce(I32 a) {
  if (a < 0) {
    const I64 q = (-1 - static_cast<I64>(a)) / k360;
    return static_cast<I32>(a + (q + 1) * k360);
  }
  return a >= k360 ? a % k360 : a;
}

void sine_cosine_tangent(Input& in) {
  const I32 a = in.i32();
  const I32 r = reduce(a);
  const I32 step_start = r / 360 * 360;  // the table entry's own angle
  const I32 s = KMF_Sin(a), c = KMF_Cos(a);
  FUZZ_CHECK(s == KMF_Sin(step_start) && c == KMF_Cos(step_start), "a=%d", a);
  FUZZ_CHECK(s >= -65536 && s <= 65536 && c >= -65536 && c <= 65536, "a=%d s=%d c=%d", a, s, c);
  // A full turn selects the same entry wherever the addition does not wrap.
  if (a <= kMax - k360) {
    FUZZ_CHECK(KMF_Sin(a + k360) == s && KMF_Cos(a + k360) == c, "a=%d", a);
    FUZZ_CHECK(KMF_Tan(a + k360) == KMF_Tan(a), "a=%d", a);
  }
  if (a >= kMin + k360) {
    FUZZ_CHECK(KMF_Sin(a - k360) == s && KMF_Tan(a - k360) == KMF_Tan(a), "a=%d", a);
  }
  // Sine rises over the first quarter turn, entry by entry.
  const I32 b = in.in(0, k90);
  if (r <= k90) {
    const I32 lo = r < b ? r : b, hi = r < b ? b : r;
    FUZZ_CHECK(KMF_Sin(lo) <= KMF_Sin(hi), "lo=%d hi=%d", lo, hi);
  }

  // Tangent: poles, then the fold into the first quadrant with a sign.
  const I32 t = KMF_Tan(a);
  if (r == k90) {
    FUZZ_CHECK(t == kHuge, "a=%d t=%d", a, t);
    return;
  }
  if (r == k270) {
    FUZZ_CHECK(t == -kHuge, "a=%d t=%d", a, t);
    return;
  }
  I32 folded = r;
  bool flip = false;
  if (r > k90 && r <= k180) folded = k180 - r, flip = true;
  if (r > k180 && r < k270) folded = r - k180;
  if (r > k270) folded = k360 - r, flip = true;
  const I32 first = KMF_Tan(folded / 360 * 360);
  FUZZ_CHECK(first >= 0 && t == (flip ? -first : first), "a=%d t=%d first=%d", a, t, first);
  const I32 folded2 = in.in(0, k90 - 1);
  const I32 lo = folded < folded2 ? folded : folded2, hi = folded < folded2 ? folded2 : folded;
  FUZZ_CHECK(KMF_Tan(lo) <= KMF_Tan(hi), "lo=%d hi=%d", lo, hi);
}

// Angular distance between two 16.16 angles, around the circle.
double circular_gap(double deg_a, double deg_b) {
  double d = std::fmod(std::fabs(deg_a - deg_b), 360.0);
  return d > 180.0 ? 360.0 - d : d;
}

double exact_direction(I32 x, I32 y) {
  double d = std::atan2(static_cast<double>(y), static_cast<double>(x)) * 180.0 / kPi;
  return d < 0 ? d + 360.0 : d;
}

void arctangent(Input& in) {
  const I32 x = in.varied(), y = in.varied();
  const I32 a = KMF_Atan2(x, y);
  FUZZ_CHECK(a >= 0 && a < k360 && a % 32 == 0, "x=%d y=%d a=%d", x, y, a);
  if (x == 0 && y == 0) {
    FUZZ_CHECK(a == 0, "a=%d", a);
    return;
  }
  // -2^31 is read as -(2^31 - 1).
  if (x == kMin || y == kMin) {
    FUZZ_CHECK(a == KMF_Atan2(x == kMin ? -kMax : x, y == kMin ? -kMax : y), "x=%d y=%d", x, y);
    return;
  }
  // Rounding to the 1/2048-degree grid plus the CORDIC error stay within 32
  // units; tiny vectors are exact only on their own grid.
  const double tolerance = std::abs(I64{x}) + std::abs(I64{y}) < 1000 ? 0.01 : 32 / 65536.0;
  FUZZ_CHECK(circular_gap(a / 65536.0, exact_direction(x, y)) <= tolerance,
             "x=%d y=%d a=%d want=%f", x, y, a, exact_direction(x, y));
  // Scale invariance wherever both scaled components still fit.
  const int k = in.in(1, 12);
  const I64 sx = static_cast<I64>(x) * (I64{1} << k), sy = static_cast<I64>(y) * (I64{1} << k);
  if (sx > kMin && sx <= kMax && sy > kMin && sy <= kMax) {
    const I32 scaled = KMF_Atan2(static_cast<I32>(sx), static_cast<I32>(sy));
    FUZZ_CHECK(scaled == a, "x=%d y=%d k=%d a=%d scaled=%d", x, y, k, a, scaled);
  }
}

void vectors(Input& in) {
  const I32 x = in.varied(), y = in.varied(), angle = in.i32();
  const KMF_Matrix m{in.varied(), in.varied(), in.varied(), in.varied()};

  // Transform: each product is KMF_MulFix, sums wrap; null pointers: no-op.
  KMF_Vector v{x, y};
  KMF_Vector_Transform(&v, &m);
  FUZZ_CHECK(v.x == wrap_add(KMF_MulFix(x, m.m11), KMF_MulFix(y, m.m12)) &&
                 v.y == wrap_add(KMF_MulFix(x, m.m21), KMF_MulFix(y, m.m22)),
             "x=%d y=%d", x, y);
  v = {x, y};
  KMF_Vector_Transform(&v, nullptr);
  FUZZ_CHECK(v.x == x && v.y == y, "null matrix changed the vector");
  KMF_Vector_Transform(nullptr, &m);

  // Angle difference: wrapping difference, remainder of a truncated quotient.
  const I32 a1 = in.i32(), a2 = in.i32();
  I32 d = wrap_sub(a2, a1);
  d -= d / k360 * k360;
  if (d < 0) d += k360;
  FUZZ_CHECK(KMF_Angle_Diff(a1, a2) == d, "a1=%d a2=%d got=%d want=%d", a1, a2,
             KMF_Angle_Diff(a1, a2), d);

  // Unit vector: within a few units of (cos, sin) times 65536.
  KMF_Vector_Unit(&v, angle);
  const double rad = std::fmod(angle / 65536.0, 360.0) * kPi / 180.0;
  FUZZ_CHECK(std::fabs(v.x - 65536.0 * std::cos(rad)) <= 4 &&
                 std::fabs(v.y - 65536.0 * std::sin(rad)) <= 4,
             "angle=%d got=(%d,%d)", angle, v.x, v.y);

  // Polarize leaves both outputs untouched for the zero vector.
  std::int32_t length = 0x5EED, direction = 0x5EED;
  const KMF_Vector zero{0, 0};
  KMF_Vector_Polarize(&zero, &length, &direction);
  FUZZ_CHECK(length == 0x5EED && direction == 0x5EED, "zero vector wrote an output");
  v = {0, 0};
  KMF_Vector_Rotate(&v, angle);
  FUZZ_CHECK(v.x == 0 && v.y == 0, "zero vector rotated to (%d,%d)", v.x, v.y);
  v = {x, y};
  KMF_Vector_Rotate(&v, 0);
  FUZZ_CHECK(v.x == x && v.y == y, "rotation by 0 changed (%d,%d)", x, y);
  KMF_Vector_From_Polar(&v, x, 0);
  FUZZ_CHECK(v.x == x && v.y == 0, "from polar at angle 0 gave (%d,%d)", v.x, v.y);
  KMF_Vector_From_Polar(&v, 0, angle);
  FUZZ_CHECK(v.x == 0 && v.y == 0, "length 0 gave (%d,%d)", v.x, v.y);

  // The CORDIC operations leave components of -2^31 to the implementer:
  // call them (for the sanitizers) but check nothing.
  v = {x, y};
  const I32 len = KMF_Vector_Length(&v);
  KMF_Vector_Polarize(&v, &length, &direction);
  KMF_Vector_Rotate(&v, angle);
  KMF_Vector_From_Polar(&v, x, angle);
  if (x == kMin || y == kMin || (x == 0 && y == 0)) return;

  // Length: exact on an axis, close to the true length otherwise (wrapping
  // at 2^32), and at most one unit above the truncated length of Polarize.
  const double exact = std::hypot(static_cast<double>(x), static_cast<double>(y));
  if (x == 0 || y == 0) {
    FUZZ_CHECK(len == (x == 0 ? (y < 0 ? -y : y) : (x < 0 ? -x : x)), "x=%d y=%d len=%d", x, y,
               len);
  } else {
    // Within one unit below 2^22, short by up to one part in 10^7 beyond.
    const double err =
        wrap_sub(len, low32(static_cast<U64>(std::llround(exact)))) + (std::llround(exact) - exact);
    const bool small = std::abs(x) < (1 << 22) && std::abs(y) < (1 << 22);
    FUZZ_CHECK(err <= 1.0 && err >= -1.0 - (small ? 0.0 : exact * 1.1e-7), "x=%d y=%d len=%d", x, y,
               len);
    const I32 gap = wrap_sub(len, length);
    FUZZ_CHECK(gap == 0 || gap == 1, "x=%d y=%d len=%d polar=%d", x, y, len, length);
  }
  // Direction: [-180, 180], a multiple of 32, and KMF_Atan2 once moved into
  // [0, 360).
  FUZZ_CHECK(direction >= -k180 && direction <= k180 && direction % 32 == 0, "dir=%d", direction);
  FUZZ_CHECK((direction < 0 ? direction + k360 : direction) == KMF_Atan2(x, y),
             "x=%d y=%d dir=%d atan2=%d", x, y, direction, KMF_Atan2(x, y));

  // Rotation keeps the vector close to the exactly rotated one while the
  // result fits comfortably in 32 bits. The step angles are whole 16.16
  // units, so the turn itself is off by up to a few millionths of a radian.
  if (exact < 1073741824.0) {
    v = {x, y};
    KMF_Vector_Rotate(&v, angle);
    const double cs = std::cos(rad), sn = std::sin(rad);
    const double wx = x * cs - y * sn, wy = x * sn + y * cs, tol = 40 + exact * 5e-6;
    FUZZ_CHECK(std::fabs(v.x - wx) <= tol && std::fabs(v.y - wy) <= tol,
               "x=%d y=%d angle=%d got=(%d,%d) want=(%f,%f)", x, y, angle, v.x, v.y, wx, wy);
    // Turning back lands near the start: each turn is good to about 1.3e-6
    // radian in direction, plus the length drift of large vectors.
    if (angle != kMin && std::abs(x) < (1 << 28) && std::abs(y) < (1 << 28)) {
      KMF_Vector_Rotate(&v, -angle);
      const double back = 4.0 + exact * 3e-6;
      FUZZ_CHECK(std::fabs(v.x - x) <= back && std::fabs(v.y - y) <= back,
                 "x=%d y=%d angle=%d came back as (%d,%d)", x, y, angle, v.x, v.y);
    }
    KMF_Vector p;
    KMF_Vector_From_Polar(&p, x, angle);
    KMF_Vector q{x, 0};
    KMF_Vector_Rotate(&q, angle);
    FUZZ_CHECK(p.x == q.x && p.y == q.y, "from polar differs from rotate, len=%d angle=%d", x,
               angle);
  }
}

}  // namespace
}  // namespace fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fuzz;  // the target's checks, in this function only
  Input in(data, size);
  scalars(in);
  roots(in);
  sine_cosine_tangent(in);
  arctangent(in);
  vectors(in);
  return 0;
}
