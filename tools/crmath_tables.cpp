// The constants of crmath (the correctly rounded sin, cos and acos), from
// exact integer arithmetic only: pi by Machin's formula, sines by their
// Taylor series, and the acos coefficients by re-expanding the power series
// of asin(sqrt t)/sqrt t. Every double is the correctly rounded value (ties
// to even) of the number it stands for. tests/crmath/gen_tables.py computes
// the same file independently with Python's exact fractions; CTest compares
// the two, and tests/crmath/tables_test.cpp checks every entry against MPFR.
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "bignum.h"

namespace tablegen {

namespace {

constexpr std::size_t kPrec = 2400;  // bits of every fixed-point intermediate

// A signed fixed-point number: magnitude / 2^scale.
struct Fixed {
  bool negative = false;
  Big magnitude;
  std::size_t scale = 0;
};

// atan(1/n) * 2^prec, truncated at every term as the alternating sum goes.
Big arctan_inv(std::uint32_t n, std::size_t prec) {
  Big plus, minus;
  Big power = (Big(1) << prec) / n;
  for (std::uint32_t k = 0; !power.zero(); ++k) {
    const Big term = power / (2 * k + 1);
    if (k % 2 == 0) {
      plus = plus + term;
    } else {
      minus = minus + term;
    }
    power = power / (n * n);
  }
  return plus - minus;
}

Big pi_fixed() {
  constexpr std::size_t kGuard = 64;
  const Big v = arctan_inv(5, kPrec + kGuard) * 16 - arctan_inv(239, kPrec + kGuard) * 4;
  return v >> kGuard;
}

// The double nearest to x (ties to even); `inexact_below` says that x is
// slightly more than its magnitude shows (a truncated quotient).
double nearest(const Fixed& x, bool inexact_below = false) {
  const std::size_t n = x.magnitude.bits();
  if (n == 0) return 0.0;
  std::uint64_t m;
  long exponent;  // of m's lowest bit
  if (n <= 53) {
    m = x.magnitude.word(0);
    exponent = -static_cast<long>(x.scale);
  } else {
    const std::size_t cut = n - 53;
    m = x.magnitude.word(cut);
    exponent = static_cast<long>(cut) - static_cast<long>(x.scale);
    const bool half = x.magnitude.bit(cut - 1);
    const bool sticky = x.magnitude.any_below(cut - 1) || inexact_below;
    if (half && (sticky || (m & 1u) != 0)) ++m;  // 2^53 stays exact
  }
  const double v = std::ldexp(static_cast<double>(m), static_cast<int>(exponent));
  return x.negative ? -v : v;
}

// v as a fixed-point number at the given scale (exact: v's lowest bit is
// not below 2^-scale).
Fixed fixed_of(double v, std::size_t scale) {
  int e = 0;
  const double m = std::frexp(std::fabs(v), &e);  // |v| = m 2^e, 1/2 <= m < 1
  const auto mantissa = static_cast<std::uint64_t>(std::ldexp(m, 53));
  Fixed r{v < 0, Big(mantissa), scale};
  const long shift = static_cast<long>(scale) + e - 53;
  r.magnitude = shift >= 0 ? r.magnitude << static_cast<std::size_t>(shift)
                           : r.magnitude >> static_cast<std::size_t>(-shift);
  return r;
}

Fixed subtract(const Fixed& a, const Fixed& b) {  // same scale
  Fixed r{false, Big(), a.scale};
  if (a.negative != b.negative) {
    r.negative = a.negative;
    r.magnitude = a.magnitude + b.magnitude;
  } else if (compare(a.magnitude, b.magnitude) >= 0) {
    r.negative = a.negative;
    r.magnitude = a.magnitude - b.magnitude;
  } else {
    r.negative = !a.negative;
    r.magnitude = b.magnitude - a.magnitude;
  }
  if (r.magnitude.zero()) r.negative = false;
  return r;
}

struct DoubleDouble {
  double hi, lo;
};
DoubleDouble dd(const Fixed& x) {
  const double hi = nearest(x);
  return {hi, nearest(subtract(x, fixed_of(hi, x.scale)))};
}

// Python's float.hex(), with 0 written 0x0p+0.
std::string hex(double v) {
  if (v == 0.0) return "0x0p+0";
  int e = 0;
  const double m = std::frexp(std::fabs(v), &e);
  const auto bits = static_cast<std::uint64_t>(std::ldexp(m, 53)) & ((std::uint64_t{1} << 52) - 1);
  char buf[64];
  std::snprintf(buf, sizeof buf, "%s0x1.%013" PRIx64 "p%+d", v < 0 ? "-" : "", bits, e - 1);
  return buf;
}

// The largest part of x below 2^-bits (x truncated to `bits` fraction bits).
Fixed truncated(const Fixed& x, std::size_t bits) {
  return {false, (x.magnitude >> (x.scale - bits)) << (x.scale - bits), x.scale};
}

std::string wide(const Big& v_fixed) {
  const Big v = v_fixed >> (kPrec - 256);
  std::string s;
  for (int i = 0; i < 5; ++i) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%s0x%016" PRIx64 "ULL", i == 0 ? "" : ", ",
                  v.word(64 * static_cast<std::size_t>(4 - i)));
    s += buf;
  }
  return s;
}

// sin(a) * 2^prec for a fixed-point a (0 <= a <= 2), truncating each term.
Big sin_fixed(const Big& a) {
  Big plus, minus, term = a;
  for (std::uint32_t k = 1; !term.zero(); k += 2) {
    if (k % 4 == 1) {
      plus = plus + term;
    } else {
      minus = minus + term;
    }
    term = ((((term * a) >> kPrec) * a) >> kPrec) / ((k + 1) * (k + 2));
  }
  return plus - minus;
}

// C(n, k) for k <= 8 and n < 400 fits 64 bits.
std::uint64_t choose(std::uint64_t n, std::uint64_t k) {
  std::uint64_t c = 1;
  for (std::uint64_t j = 1; j <= k; ++j) c = c * (n - k + j) / j;
  return c;
}

}  // namespace

int emit_crmath(std::FILE* f) {
  auto line = [f](const std::string& s) { std::fprintf(f, "%s\n", s.c_str()); };
  const Big pi = pi_fixed();
  line("// The constants of crmath, from exact integer arithmetic (tools/crmath_tables.cpp).");
  line("// clang-format off");
  line("#include \"tables.h\"");
  line("");
  line("namespace kelvor::detail::crmath {");
  line("");

  // Bits of 2/pi: kTwoOverPi[k] holds bits 64k+1 .. 64k+64 after the point.
  constexpr std::size_t kWords = 24;
  bool inexact = false;
  const Big two_over_pi = Big::divide(Big(2) << (64 * kWords + kPrec), pi, &inexact);
  line("// 2/pi = sum of kTwoOverPi[k] * 2^(-64 (k + 1)), truncated after 1536 bits.");
  line("const std::uint64_t kTwoOverPi[kTwoOverPiWords] = {");
  for (std::size_t k = 0; k < kWords; ++k) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "    0x%016" PRIx64 "ULL,",
                  two_over_pi.word(64 * (kWords - 1 - k)));
    line(buf);
  }
  line("};");
  line("");

  line("// pi and pi/2 truncated to 256 fraction bits (integer word first).");
  line("const Wide kPiWide = {{" + wide(pi) + "}};");
  line("const Wide kHalfPiWide = {{" + wide(pi >> 1) + "}};");
  line("");

  // Cody-Waite parts of pi/2048: three of at most 26 bits, then a double;
  // or two of at most 37 bits and a double.
  const Fixed q{false, pi, kPrec + 11};
  auto rest_text = [](const Fixed& rest) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2e", std::fabs(nearest(rest)));
    return std::string(buf);
  };
  const Fixed p1 = truncated(q, 35);
  const Fixed p2 = truncated(subtract(q, p1), 61);
  const Fixed p3 = truncated(subtract(subtract(q, p1), p2), 87);
  const Fixed tail = subtract(subtract(subtract(q, p1), p2), p3);
  const double p4 = nearest(tail);
  line("// pi/2048 = kPi2048Long1 + kPi2048Long2 + kPi2048Long3 + kPi2048Long4 + eta;");
  line("// the first three have at most 26 significant bits, |eta| < " +
       rest_text(subtract(tail, fixed_of(p4, q.scale))) + ".");
  line("const double kPi2048Long1 = " + hex(nearest(p1)) + ";");
  line("const double kPi2048Long2 = " + hex(nearest(p2)) + ";");
  line("const double kPi2048Long3 = " + hex(nearest(p3)) + ";");
  line("const double kPi2048Long4 = " + hex(p4) + ";");
  const Fixed s1 = truncated(q, 46);
  const Fixed s2 = truncated(subtract(q, s1), 83);
  const Fixed tail2 = subtract(subtract(q, s1), s2);
  const double s3 = nearest(tail2);
  line("// pi/2048 = kPi2048Short1 + kPi2048Short2 + kPi2048Short3 + eta; the first two");
  line("// have at most 37 significant bits, |eta| < " +
       rest_text(subtract(tail2, fixed_of(s3, q.scale))) + ".");
  line("const double kPi2048Short1 = " + hex(nearest(s1)) + ";");
  line("const double kPi2048Short2 = " + hex(nearest(s2)) + ";");
  line("const double kPi2048Short3 = " + hex(s3) + ";");
  constexpr std::size_t kQuotientBits = 128;
  const Big over = Big::divide(Big(2048) << (kPrec + kQuotientBits), pi, &inexact);
  line("const double k2048OverPi = " + hex(nearest({false, over, kQuotientBits}, inexact)) + ";");
  const std::pair<const char*, Fixed> named[] = {
      {"kPi2048", q}, {"kHalfPi", {false, pi, kPrec + 1}}, {"kPi", {false, pi, kPrec}}};
  for (const auto& [name, value] : named) {
    const DoubleDouble v = dd(value);
    line(std::string("const DD ") + name + " = {" + hex(v.hi) + ", " + hex(v.lo) + "};");
  }
  line("");

  line("// sin(j pi / 2048) for j = 0 .. 1024: hi is the nearest double, lo the");
  line("// nearest double to the rest.");
  line("const DD kSinTable[1025] = {");
  for (std::uint32_t j = 0; j <= 1024; ++j) {
    const DoubleDouble v = dd({false, sin_fixed((pi * j) >> 11), kPrec});
    line("    {" + hex(v.hi) + ", " + hex(v.lo) + "},");
  }
  line("};");
  line("");

  // Taylor coefficients of F(t) = asin(sqrt t)/sqrt t at c = i/256:
  //   F(t) = sum_n a_n t^n, a_n = C(2n, n) / (4^n (2n + 1)),
  //   d_k(c) = sum_{n >= k} a_n C(n, k) c^(n - k),
  // each term truncated at 2^-1200, the series cut after 400 terms.
  constexpr std::size_t kTerms = 400, kScale = 1200, kDegree = 8;
  std::vector<Big> a(kTerms);
  Big central(1);  // C(2n, n)
  for (std::uint32_t n = 0; n < kTerms; ++n) {
    a[n] = ((central << kScale) >> (2 * n)) / (2 * n + 1);
    central = central * ((2 * n + 1) * (2 * n + 2)) / ((n + 1) * (n + 1));
  }
  line("// Taylor coefficients of F(t) = asin(sqrt t) / sqrt t about t = i/256,");
  line("// i = 0 .. 64: F(i/256 + h) = d0 + d1 h + ... + d8 h^8 + O(h^9). d0 and d1");
  line("// are double-doubles (hi, lo), d1's hi also split in two halves of at most");
  line("// 26 bits (Veltkamp, as crmath's split()); d2 .. d8 are the nearest doubles.");
  line("const AcosNode kAcosNodes[65] = {");
  for (std::uint32_t i = 0; i <= 64; ++i) {
    std::vector<Big> powers(kTerms);  // i^m
    powers[0] = Big(1);
    for (std::size_t m = 1; m < kTerms; ++m) powers[m] = powers[m - 1] * i;
    std::vector<Fixed> d;
    for (std::size_t k = 0; k <= kDegree; ++k) {
      Big acc;
      for (std::size_t n = k; n < kTerms; ++n) {
        acc = acc + ((a[n] * choose(n, k) * powers[n - k]) >> (8 * (n - k)));
      }
      d.push_back({false, acc, kScale});
    }
    const DoubleDouble d0 = dd(d[0]), d1 = dd(d[1]);
    const double c = 134217729.0 * d1.hi;  // IEEE double arithmetic, as crmath's split()
    const double d1a = c - (c - d1.hi);
    const double d1b = d1.hi - d1a;
    std::string rest;
    for (std::size_t k = 2; k <= kDegree; ++k) rest += (k > 2 ? ", " : "") + hex(nearest(d[k]));
    line("    {" + hex(d0.hi) + ", " + hex(d0.lo) + ", " + hex(d1.hi) + ", " + hex(d1.lo) + ", " +
         hex(d1a) + ", " + hex(d1b) + ", {" + rest + "}},");
  }
  line("};");
  line("");
  line("}  // namespace kelvor::detail::crmath");
  return 0;
}

}  // namespace tablegen
