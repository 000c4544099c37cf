// The long check of cr_sin, cr_cos and cr_acos against MPFR: 10 million
// arguments per function by default (a few minutes), spread like the CTest
// sweeps (geographic angles, near multiples of pi/2, every binade; acos over
// [-1, 1], near +-1 and small). Prints how many were checked, how many took
// the accurate path, and every misrounding; exits non-zero on any.
//
// Not part of the default CTest run. Run it directly:
//   build/<dir>/tests/crmath/kelvor_crmath_long_run [millions per function] [seed]
// or register it (label "long") with -DKELVOR_CRMATH_LONG_TEST=ON and run
//   ctest -L long
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "crmath/crmath.h"
#include "crmath/mpfr_ref.h"
#include "crmath_internal.h"

namespace {

namespace kd = kelvor::detail;
namespace cm = kelvor::detail::crmath;
using crmath_test::Fn;

double binade(std::mt19937_64& rng, int lo, int hi) {
  const int e = lo + static_cast<int>(rng() % static_cast<std::uint64_t>(hi - lo + 1));
  if (e < -1022) return crmath_test::from_bits(rng() >> 12);
  return crmath_test::from_bits((static_cast<std::uint64_t>(e + 1023) << 52) | (rng() >> 12));
}

double argument(Fn fn, std::mt19937_64& rng, std::uint64_t i) {
  std::uniform_real_distribution<double> u(0.0, 1.0);
  const double sign = (rng() & 1) ? -1.0 : 1.0;
  if (fn == Fn::Acos) {
    switch (i % 4) {
      case 0: return 2 * u(rng) - 1;
      case 1: return 1 - std::ldexp(u(rng), -static_cast<int>(rng() % 54));
      case 2: return -1 + std::ldexp(u(rng), -static_cast<int>(rng() % 54));
      default: return sign * binade(rng, -1074, -2);
    }
  }
  switch (i % 4) {
    case 0: return 8 * u(rng) - 4;
    case 1: {
      const double k = static_cast<double>(rng() % 2000) - 1000.0;
      return k * 0x1.921fb54442d18p+0 + sign * std::ldexp(u(rng), -static_cast<int>(rng() % 45));
    }
    case 2: return sign * binade(rng, -1074, 1023);
    default: return sign * binade(rng, -26, 30);
  }
}

// Whether the fast path settles x (mirrors the public functions' order).
bool fast_decides(Fn fn, double x) {
  double y;
  switch (fn) {
    case Fn::Sin: return std::fabs(x) < 0x1p-26 || cm::round_if_certain(cm::sin_fast(x), y);
    case Fn::Cos: return std::fabs(x) < 0x1p-27 || cm::round_if_certain(cm::cos_fast(x), y);
    default: return !(x > -1 && x < 1) || cm::round_if_certain(cm::acos_fast(x), y);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const double millions = argc > 1 ? std::atof(argv[1]) : 10;
  const std::uint64_t seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 2024;
  const auto count = static_cast<std::uint64_t>(millions * 1e6);
  std::uint64_t total_checked = 0, total_slow = 0, total_wrong = 0;
  for (const Fn fn : {Fn::Sin, Fn::Cos, Fn::Acos}) {
    std::mt19937_64 rng(seed * 7 + static_cast<std::uint64_t>(fn));
    std::uint64_t slow = 0, wrong = 0;
    for (std::uint64_t i = 0; i < count; ++i) {
      const double x = argument(fn, rng, i);
      const double got = fn == Fn::Sin   ? kd::cr_sin(x)
                         : fn == Fn::Cos ? kd::cr_cos(x)
                                         : kd::cr_acos(x);
      const double want = crmath_test::reference(fn, x);
      if (!fast_decides(fn, x)) ++slow;
      if (crmath_test::bits(got) != crmath_test::bits(want)) {
        ++wrong;
        std::printf("MISROUNDED %s\n", crmath_test::describe(fn, x, got, want).c_str());
      }
    }
    std::printf("%-4s checked %llu, accurate path %llu, misrounded %llu\n", crmath_test::name(fn),
                static_cast<unsigned long long>(count), static_cast<unsigned long long>(slow),
                static_cast<unsigned long long>(wrong));
    total_checked += count;
    total_slow += slow;
    total_wrong += wrong;
  }
  std::printf("total checked %llu, accurate path %llu, misrounded %llu\n",
              static_cast<unsigned long long>(total_checked),
              static_cast<unsigned long long>(total_slow),
              static_cast<unsigned long long>(total_wrong));
  return total_wrong == 0 ? 0 : 1;
}
