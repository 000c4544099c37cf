// Searches for hard cases: arguments whose exact sin, cos or acos lies
// closest to a midpoint between two doubles, where a correctly rounded
// function needs the most precision. The fast path's double-double
// (accurate to about 2^-71) estimates each result's distance from the
// nearest midpoint; the closest candidates are measured again with MPFR, and
// the worst of each function are printed as rows for the table kHardCases
// in crmath_test.cpp.
//
//   build/<dir>/tests/crmath/kelvor_crmath_hard_search [millions] [seed]
//
// millions: arguments scanned per function (default 100).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "crmath/mpfr_ref.h"
#include "crmath_internal.h"

namespace {

namespace cm = kelvor::detail::crmath;
using crmath_test::Fn;

// Distance of hi + lo from the nearest midpoint, in ulps (estimate).
double estimated_distance(const cm::Approx& a) {
  const double n = a.hi + a.lo;
  const double d = (a.hi - n) + a.lo;  // position relative to the nearest double
  const int e = static_cast<int>((crmath_test::bits(n) >> 52) & 0x7ff) - 1075;
  const double ulp = std::ldexp(1.0, e);
  return 0.5 - std::fabs(d) / ulp;
}

double argument(Fn fn, std::mt19937_64& rng, std::uint64_t i) {
  std::uniform_real_distribution<double> u(0.0, 1.0);
  if (fn == Fn::Acos) {
    switch (i % 3) {
      case 0: return 2 * u(rng) - 1;
      case 1: return 1 - std::ldexp(u(rng), -static_cast<int>(rng() % 54));
      default: return -1 + std::ldexp(u(rng), -static_cast<int>(rng() % 54));
    }
  }
  switch (i % 3) {
    case 0: return 8 * u(rng) - 4;
    case 1: {
      const int e = -26 + static_cast<int>(rng() % 1050);
      return crmath_test::from_bits((static_cast<std::uint64_t>(e + 1023) << 52) | (rng() >> 12));
    }
    default: return std::ldexp(1.0 + u(rng), -26 + static_cast<int>(rng() % 30));
  }
}

}  // namespace

int main(int argc, char** argv) {
  const double millions = argc > 1 ? std::atof(argv[1]) : 100;
  const std::uint64_t seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1;
  const auto count = static_cast<std::uint64_t>(millions * 1e6);
  for (const Fn fn : {Fn::Sin, Fn::Cos, Fn::Acos}) {
    std::mt19937_64 rng(seed * 3 + static_cast<std::uint64_t>(fn));
    std::vector<std::pair<double, double>> found;  // (MPFR distance, x)
    for (std::uint64_t i = 0; i < count; ++i) {
      const double x = argument(fn, rng, i);
      if (fn == Fn::Acos ? !(x > -1 && x < 1) : std::fabs(x) < 0x1p-26) continue;
      const cm::Approx a = fn == Fn::Sin   ? cm::sin_fast(x)
                           : fn == Fn::Cos ? cm::cos_fast(x)
                                           : cm::acos_fast(x);
      if (estimated_distance(a) > 0x1p-16) continue;
      found.emplace_back(crmath_test::midpoint_distance(fn, x), x);
    }
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());  // drawn twice
    std::printf("// %s: %llu arguments, %zu candidates\n", crmath_test::name(fn),
                static_cast<unsigned long long>(count), found.size());
    for (std::size_t k = 0; k < found.size() && k < 24; ++k) {
      std::printf("    {Fn::%s, 0x%016llxULL},  // %a, 2^%.1f ulp from a midpoint\n",
                  fn == Fn::Sin   ? "Sin"
                  : fn == Fn::Cos ? "Cos"
                                  : "Acos",
                  static_cast<unsigned long long>(crmath_test::bits(found[k].second)),
                  found[k].second, std::log2(found[k].first));
    }
  }
  return 0;
}
