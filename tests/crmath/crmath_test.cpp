// cr_sin, cr_cos and cr_acos against MPFR's correctly rounded values: the
// special values, a few hundred thousand arguments spread over the ranges
// the geographic functions use and over every binade, and a table of hard
// cases (results closest to a rounding boundary, found by hard_search.cpp).
#include "crmath/crmath.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "crmath/mpfr_ref.h"
#include "crmath_internal.h"

namespace {

namespace kd = kelvor::detail;
namespace cm = kelvor::detail::crmath;
using crmath_test::bits;
using crmath_test::describe;
using crmath_test::Fn;
using crmath_test::from_bits;
using crmath_test::hex;
using crmath_test::reference;

double call(Fn fn, double x) {
  switch (fn) {
    case Fn::Sin: return kd::cr_sin(x);
    case Fn::Cos: return kd::cr_cos(x);
    default: return kd::cr_acos(x);
  }
}

// Checks every argument, reports the first ten misroundings in full and
// the number of them.
void expect_correctly_rounded(Fn fn, const std::vector<double>& args, const char* what) {
  int wrong = 0;
  for (const double x : args) {
    const double got = call(fn, x);
    const double want = reference(fn, x);
    if (bits(got) != bits(want) && ++wrong <= 10)
      ADD_FAILURE() << what << ": " << describe(fn, x, got, want);
  }
  EXPECT_EQ(wrong, 0) << what << ": " << wrong << " of " << args.size() << " misrounded";
}

double random_binade(std::mt19937_64& rng, int lo, int hi) {
  const int e = lo + static_cast<int>(rng() % static_cast<std::uint64_t>(hi - lo + 1));
  if (e < -1022) return from_bits(rng() >> 12);  // subnormal
  return from_bits((static_cast<std::uint64_t>(e + 1023) << 52) | (rng() >> 12));
}

double with_sign(std::mt19937_64& rng, double x) { return (rng() & 1) ? -x : x; }

// Results whose bits are fixed by the contract, not by rounding.
TEST(Crmath, SpecialValues) {
  struct Case {
    Fn fn;
    std::uint64_t x, want;
  };
  constexpr std::uint64_t kNaN = 0x7ff8000000000000ULL;
  const Case cases[] = {
      {Fn::Sin, 0x0000000000000000ULL, 0x0000000000000000ULL},  // +0
      {Fn::Sin, 0x8000000000000000ULL, 0x8000000000000000ULL},  // -0
      {Fn::Sin, 0x0000000000000001ULL, 0x0000000000000001ULL},  // smallest subnormal
      {Fn::Sin, 0x800fffffffffffffULL, 0x800fffffffffffffULL},  // largest subnormal, negative
      {Fn::Sin, 0x0010000000000000ULL, 0x0010000000000000ULL},  // DBL_MIN
      {Fn::Sin, 0x3e4fffffffffffffULL, 0x3e4fffffffffffffULL},  // just below 2^-26
      {Fn::Sin, 0x7ff0000000000000ULL, kNaN},                   // +inf
      {Fn::Sin, 0xfff0000000000000ULL, kNaN},                   // -inf
      {Fn::Sin, 0x7ff8000000000123ULL, 0x7ff8000000000123ULL},  // quiet NaN, payload kept
      {Fn::Sin, 0x7ff0000000000001ULL, 0x7ff8000000000001ULL},  // signalling NaN, quieted
      {Fn::Sin, 0xfff8000000000000ULL, 0xfff8000000000000ULL},  // negative NaN
      {Fn::Cos, 0x0000000000000000ULL, 0x3ff0000000000000ULL},
      {Fn::Cos, 0x8000000000000000ULL, 0x3ff0000000000000ULL},
      {Fn::Cos, 0x0000000000000001ULL, 0x3ff0000000000000ULL},
      {Fn::Cos, 0xbe3fffffffffffffULL, 0x3ff0000000000000ULL},  // just below 2^-27
      {Fn::Cos, 0x7ff0000000000000ULL, kNaN},
      {Fn::Cos, 0xfff0000000000000ULL, kNaN},
      {Fn::Cos, 0x7ff4000000000000ULL, 0x7ffc000000000000ULL},
      {Fn::Acos, 0x3ff0000000000000ULL, 0x0000000000000000ULL},  // acos(1) = +0
      {Fn::Acos, 0xbff0000000000000ULL, 0x400921fb54442d18ULL},  // acos(-1) = pi
      {Fn::Acos, 0x0000000000000000ULL, 0x3ff921fb54442d18ULL},  // acos(+0) = pi/2
      {Fn::Acos, 0x8000000000000000ULL, 0x3ff921fb54442d18ULL},  // acos(-0) = pi/2
      {Fn::Acos, 0x3ff0000000000001ULL, kNaN},                   // 1 + ulp
      {Fn::Acos, 0xbff0000000000001ULL, kNaN},                   // -1 - ulp
      {Fn::Acos, 0x7fefffffffffffffULL, kNaN},
      {Fn::Acos, 0x7ff0000000000000ULL, kNaN},
      {Fn::Acos, 0xfff0000000000000ULL, kNaN},
      {Fn::Acos, 0x7ff8000000000042ULL, 0x7ff8000000000042ULL},
      {Fn::Acos, 0xfff0000000000002ULL, 0xfff8000000000002ULL},
  };
  for (const Case& c : cases) {
    const double x = from_bits(c.x);
    const double got = call(c.fn, x);
    EXPECT_EQ(bits(got), c.want) << describe(c.fn, x, got, from_bits(c.want));
    // MPFR agrees on every finite value (its NaNs carry no payload).
    if (!std::isnan(got)) {
      EXPECT_EQ(bits(got), bits(reference(c.fn, x))) << "MPFR disagrees on " << hex(x);
    }
  }
}

// Finite arguments at the edges of each path and of the double range.
TEST(Crmath, BoundaryArguments) {
  std::vector<double> trig = {
      DBL_MAX,
      -DBL_MAX,
      0x1p1023,
      0x1p-26,
      0x1.0000000000001p-26,
      0x1p-27,
      0x1.0000000000001p-27,
      0x1p17,
      0x1.fffffffffffffp16,
      64.0,
      0x1.fffffffffffffp5,
      0x1p20,
      1e22,
      1e300,
      0x1.921fb54442d18p+0,
      0x1.921fb54442d18p+1,
      0x1.921fb54442d18p+2,
      0x1.921fb54442d18p-1,
      0x1.6ac5b262ca1ffp+849,  // 6381956970095103 * 2^797: the closest double to a multiple of pi/2
      0x1.921fb54442d18p-11,
      0x1.921fb54442d18p-12,  // pi/2048, pi/4096: table steps and their middles
  };
  for (int k = -40; k <= 40; ++k) {  // doubles nearest to k pi/2 and their neighbours
    const double v = k * 0x1.921fb54442d18p+0 + k * 0x1.1a62633145c07p-54;
    trig.push_back(v);
    trig.push_back(std::nextafter(v, 1e300));
    trig.push_back(std::nextafter(v, -1e300));
  }
  expect_correctly_rounded(Fn::Sin, trig, "sin boundaries");
  expect_correctly_rounded(Fn::Cos, trig, "cos boundaries");
  std::vector<double> acos = {std::nextafter(1.0, 0.0),
                              std::nextafter(-1.0, 0.0),
                              0.5,
                              -0.5,
                              std::nextafter(0.5, 1.0),
                              std::nextafter(-0.5, -1.0),
                              std::nextafter(0.5, 0.0),
                              0x1p-1074,
                              -0x1p-1074,
                              1e-300,
                              0x1p-54,
                              -0x1p-54,
                              0x1p-27,
                              0.75,
                              -0.75,
                              0x1.fffffffffffp-1};
  for (int k = 1; k <= 60; ++k) {
    acos.push_back(1.0 - std::ldexp(1.0, -k));
    acos.push_back(-1.0 + std::ldexp(1.0, -k));
    acos.push_back(std::ldexp(1.0, -k));
  }
  expect_correctly_rounded(Fn::Acos, acos, "acos boundaries");
}

// Angles in radians as the geographic functions make them.
TEST(Crmath, SinCosGeographicRange) {
  std::mt19937_64 rng(101);
  std::uniform_real_distribution<double> d(-4.0, 4.0);
  std::vector<double> args(80000);
  for (auto& x : args) x = d(rng);
  expect_correctly_rounded(Fn::Sin, args, "sin |x| < 4");
  expect_correctly_rounded(Fn::Cos, args, "cos |x| < 4");
}

// Near multiples of pi/2, where the result is small and the reduction
// cancels most of x.
TEST(Crmath, SinCosNearMultiplesOfHalfPi) {
  std::mt19937_64 rng(102);
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  std::vector<double> args(20000);
  for (auto& x : args) {
    const double k = static_cast<double>(rng() % 2000) - 1000.0;
    x = k * 0x1.921fb54442d18p+0 + std::ldexp(u(rng), -static_cast<int>(rng() % 45));
  }
  expect_correctly_rounded(Fn::Sin, args, "sin near k pi/2");
  expect_correctly_rounded(Fn::Cos, args, "cos near k pi/2");
}

// Every binade, subnormals to 2^1023, both signs.
TEST(Crmath, SinCosWholeBinades) {
  std::mt19937_64 rng(103);
  std::vector<double> args(40000);
  for (auto& x : args) x = with_sign(rng, random_binade(rng, -1074, 1023));
  expect_correctly_rounded(Fn::Sin, args, "sin binades");
  expect_correctly_rounded(Fn::Cos, args, "cos binades");
}

TEST(Crmath, AcosWholeRange) {
  std::mt19937_64 rng(104);
  std::uniform_real_distribution<double> d(-1.0, 1.0);
  std::vector<double> args(40000);
  for (auto& x : args) x = d(rng);
  expect_correctly_rounded(Fn::Acos, args, "acos [-1, 1]");
}

// Short great-circle distances put acos's argument within a hair of 1.
TEST(Crmath, AcosNearPlusMinusOne) {
  std::mt19937_64 rng(105);
  std::uniform_real_distribution<double> u(0.0, 1.0);
  std::vector<double> args(40000);
  for (std::size_t i = 0; i < args.size(); ++i) {
    const double gap = std::ldexp(u(rng), -static_cast<int>(rng() % 54));
    args[i] = i % 4 == 3 ? -1.0 + gap : 1.0 - gap;
    if (!(args[i] > -1.0 && args[i] < 1.0)) args[i] = 0.99;
  }
  expect_correctly_rounded(Fn::Acos, args, "acos near +-1");
  std::vector<double> hops(20000);  // cosines of central angles below 0.05 rad
  for (auto& x : hops) x = std::cos(0.05 * u(rng));
  expect_correctly_rounded(Fn::Acos, hops, "acos of short hops");
}

TEST(Crmath, AcosSmallArguments) {
  std::mt19937_64 rng(106);
  std::vector<double> args(10000);
  for (auto& x : args) x = with_sign(rng, random_binade(rng, -1074, -2));
  expect_correctly_rounded(Fn::Acos, args, "acos small");
}

// Results closest to a midpoint between doubles among 600 million arguments
// per function (tests/crmath/hard_search.cpp, seeds 7 and 11). The fast path cannot decide these:
// they go through the accurate path by way of the public functions.
struct HardCase {
  Fn fn;
  std::uint64_t x;
};
const HardCase kHardCases[] = {
    {Fn::Sin, 0x68d2a333e97813afULL},   // 0x1.2a333e97813afp+654: 2^-32.2 ulp from a midpoint
    {Fn::Sin, 0x4e0dbe3a7fe7f33cULL},   // 0x1.dbe3a7fe7f33cp+225: 2^-30.7 ulp from a midpoint
    {Fn::Sin, 0x3f2646f600e75cd0ULL},   // 0x1.646f600e75cdp-13: 2^-29.2 ulp from a midpoint
    {Fn::Sin, 0x573ff49fd8f2f698ULL},   // 0x1.ff49fd8f2f698p+372: 2^-28.3 ulp from a midpoint
    {Fn::Sin, 0x6716d4b235a6ca03ULL},   // 0x1.6d4b235a6ca03p+626: 2^-28.0 ulp from a midpoint
    {Fn::Sin, 0x3f006605f7d714aeULL},   // 0x1.06605f7d714aep-15: 2^-27.3 ulp from a midpoint
    {Fn::Sin, 0xbfd69d54d7b615f8ULL},   // -0x1.69d54d7b615f8p-2: 2^-27.3 ulp from a midpoint
    {Fn::Sin, 0x4888a8935b76e5ceULL},   // 0x1.8a8935b76e5cep+137: 2^-27.2 ulp from a midpoint
    {Fn::Sin, 0x3fda4de93f680800ULL},   // 0x1.a4de93f6808p-2: 2^-27.1 ulp from a midpoint
    {Fn::Sin, 0xc00b1bdfbad634bbULL},   // -0x1.b1bdfbad634bbp+1: 2^-27.0 ulp from a midpoint
    {Fn::Sin, 0x4a55fba83d0b94dfULL},   // 0x1.5fba83d0b94dfp+166: 2^-26.7 ulp from a midpoint
    {Fn::Sin, 0x3f693757d082013aULL},   // 0x1.93757d082013ap-9: 2^-26.5 ulp from a midpoint
    {Fn::Sin, 0xc00ab52cea5f4babULL},   // -0x1.ab52cea5f4babp+1: 2^-26.5 ulp from a midpoint
    {Fn::Sin, 0x3ef4e0ab07e3e9ffULL},   // 0x1.4e0ab07e3e9ffp-16: 2^-26.3 ulp from a midpoint
    {Fn::Sin, 0xbfa9bfff7f5f6400ULL},   // -0x1.9bfff7f5f64p-5: 2^-26.3 ulp from a midpoint
    {Fn::Sin, 0x7b12b00e66eff4fdULL},   // 0x1.2b00e66eff4fdp+946: 2^-26.2 ulp from a midpoint
    {Fn::Cos, 0x7cb19e91f72d7919ULL},   // 0x1.19e91f72d7919p+972: 2^-30.6 ulp from a midpoint
    {Fn::Cos, 0xc00aa83cad951862ULL},   // -0x1.aa83cad951862p+1: 2^-28.1 ulp from a midpoint
    {Fn::Cos, 0x3f7374cd1915f488ULL},   // 0x1.374cd1915f488p-8: 2^-27.7 ulp from a midpoint
    {Fn::Cos, 0xc00c333e1fa9c589ULL},   // -0x1.c333e1fa9c589p+1: 2^-27.7 ulp from a midpoint
    {Fn::Cos, 0x4dd43a1f7e381956ULL},   // 0x1.43a1f7e381956p+222: 2^-27.6 ulp from a midpoint
    {Fn::Cos, 0x45a683d897953e79ULL},   // 0x1.683d897953e79p+91: 2^-27.3 ulp from a midpoint
    {Fn::Cos, 0xbff3622072ad61f0ULL},   // -0x1.3622072ad61fp+0: 2^-27.0 ulp from a midpoint
    {Fn::Cos, 0x4002271f21107e88ULL},   // 0x1.2271f21107e88p+1: 2^-26.6 ulp from a midpoint
    {Fn::Cos, 0xc006829556464307ULL},   // -0x1.6829556464307p+1: 2^-26.3 ulp from a midpoint
    {Fn::Cos, 0x47b4503373fa55ecULL},   // 0x1.4503373fa55ecp+124: 2^-26.2 ulp from a midpoint
    {Fn::Cos, 0x3ecc01ada9fadfb4ULL},   // 0x1.c01ada9fadfb4p-19: 2^-26.1 ulp from a midpoint
    {Fn::Cos, 0x3f9de1c3ef796c90ULL},   // 0x1.de1c3ef796c9p-6: 2^-26.1 ulp from a midpoint
    {Fn::Cos, 0x4004d2bc5500c37aULL},   // 0x1.4d2bc5500c37ap+1: 2^-26.0 ulp from a midpoint
    {Fn::Cos, 0x6d8df2efbd753bfeULL},   // 0x1.df2efbd753bfep+729: 2^-25.8 ulp from a midpoint
    {Fn::Cos, 0x3edef01ae48ba1d0ULL},   // 0x1.ef01ae48ba1dp-18: 2^-25.7 ulp from a midpoint
    {Fn::Cos, 0x74f0092e783d8d42ULL},   // 0x1.0092e783d8d42p+848: 2^-25.6 ulp from a midpoint
    {Fn::Acos, 0x3fe93b1d7d50c520ULL},  // 0x1.93b1d7d50c52p-1: 2^-31.2 ulp from a midpoint
    {Fn::Acos, 0x3fefffffffff91c0ULL},  // 0x1.fffffffff91cp-1: 2^-29.8 ulp from a midpoint
    {Fn::Acos, 0x3fc0ac43be17b2a0ULL},  // 0x1.0ac43be17b2ap-3: 2^-29.0 ulp from a midpoint
    {Fn::Acos, 0xbfe3a8c137fa87e2ULL},  // -0x1.3a8c137fa87e2p-1: 2^-28.9 ulp from a midpoint
    {Fn::Acos, 0x3fefffffffff49c0ULL},  // 0x1.fffffffff49cp-1: 2^-28.0 ulp from a midpoint
    {Fn::Acos, 0xbfeffffffa57c4faULL},  // -0x1.ffffffa57c4fap-1: 2^-28.0 ulp from a midpoint
    {Fn::Acos, 0xbfeffffe767e7989ULL},  // -0x1.ffffe767e7989p-1: 2^-27.6 ulp from a midpoint
    {Fn::Acos, 0xbfeffff03a137a4eULL},  // -0x1.ffff03a137a4ep-1: 2^-27.4 ulp from a midpoint
    {Fn::Acos, 0x3fefff552784c9dfULL},  // 0x1.fff552784c9dfp-1: 2^-26.5 ulp from a midpoint
    {Fn::Acos, 0xbfed6277bd4760f3ULL},  // -0x1.d6277bd4760f3p-1: 2^-26.5 ulp from a midpoint
    {Fn::Acos, 0x3feef22b4184f71eULL},  // 0x1.ef22b4184f71ep-1: 2^-26.2 ulp from a midpoint
    {Fn::Acos, 0xbfc91e8c0304bbfcULL},  // -0x1.91e8c0304bbfcp-3: 2^-26.0 ulp from a midpoint
    {Fn::Acos, 0x3fe0bf955500a87eULL},  // 0x1.0bf955500a87ep-1: 2^-25.9 ulp from a midpoint
    {Fn::Acos, 0xbfec542732563005ULL},  // -0x1.c542732563005p-1: 2^-25.8 ulp from a midpoint
    {Fn::Acos, 0x3feffffcd892d99bULL},  // 0x1.ffffcd892d99bp-1: 2^-25.7 ulp from a midpoint
    {Fn::Acos, 0x3fb17da798a0b750ULL},  // 0x1.17da798a0b75p-4: 2^-25.3 ulp from a midpoint
};

TEST(Crmath, HardCases) {
  int wrong = 0;
  for (const HardCase& c : kHardCases) {
    const double x = from_bits(c.x);
    const double got = call(c.fn, x);
    const double want = reference(c.fn, x);
    if (bits(got) != bits(want)) {
      ++wrong;
      ADD_FAILURE() << "hard case " << describe(c.fn, x, got, want);
    }
    // The table must stay hard: within 2^-24 ulp of a midpoint...
    EXPECT_LT(crmath_test::midpoint_distance(c.fn, x), 0x1p-24) << "not a hard case: " << hex(x);
    // ...which no fast evaluation with a sound bound can settle.
    const cm::Approx a = c.fn == Fn::Sin   ? cm::sin_fast(x)
                         : c.fn == Fn::Cos ? cm::cos_fast(x)
                                           : cm::acos_fast(x);
    double y;
    EXPECT_FALSE(cm::round_if_certain(a, y)) << crmath_test::name(c.fn) << "(" << hex(x)
                                             << "): the fast path claims to decide a hard case";
  }
  EXPECT_EQ(wrong, 0);
}

}  // namespace
