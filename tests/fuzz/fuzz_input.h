// Shared helpers of the fuzz targets: a reader that turns the fuzzer's bytes
// into integers, doubles and rings (reading zeros once the bytes run out, so
// every input is valid), and the check that stops the run on a violated
// property with a message naming the target and the property.
#ifndef KELVOR_TESTS_FUZZ_FUZZ_INPUT_H
#define KELVOR_TESTS_FUZZ_FUZZ_INPUT_H

#include <kelvor/types.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

#include "support/models.h"

// Every target defines this; libFuzzer calls it, and so does the replay
// driver of normal builds.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace fuzz {

// The models the targets check against, by name.
using model::across;
using model::along;
using model::can_wrap;
using model::edge_can_wrap;
using model::even_odd;
using model::exact_crossing;
using model::first_met;
using model::I128;
using model::I32;
using model::I64;
using model::kMax;
using model::kMin;
using model::low32;
using model::same;
using model::scan;
using model::span_contained;
using model::straddles;
using model::U32;
using model::U64;
using model::wrap_add;
using model::wrap_mul;
using model::wrap_neg;
using model::wrap_sub;
using model::wrapping_crossing;
using Ring = std::vector<tagPOINT>;

[[noreturn]] inline void fail(const char* file, int line, const char* what) {
  std::fprintf(stderr, "PROPERTY VIOLATED at %s:%d: %s\n", file, line, what);
  std::fflush(stderr);
  std::abort();
}

// Checks a property; on violation prints it and the formatted context, then
// aborts (libFuzzer keeps the input as a crash).
#define FUZZ_CHECK(cond, ...)                        \
  do {                                               \
    if (!(cond)) {                                   \
      std::fprintf(stderr, "context: " __VA_ARGS__); \
      std::fprintf(stderr, "\n");                    \
      ::fuzz::fail(__FILE__, __LINE__, #cond);       \
    }                                                \
  } while (0)

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : p_(data), n_(size) {}

  std::size_t left() const { return n_; }
  std::uint8_t byte() {
    if (n_ == 0) return 0;
    --n_;
    return *p_++;
  }
  U32 u32() {
    U32 v = 0;
    for (int i = 0; i < 4; ++i) v = (v << 8) | byte();
    return v;
  }
  U64 u64() { return (static_cast<U64>(u32()) << 32) | u32(); }
  I32 i32() { return low32(u32()); }
  bool flag() { return byte() & 1; }
  // Uniform-ish in [lo, hi] (hi >= lo).
  I32 in(I32 lo, I32 hi) {
    const U64 span = static_cast<U64>(static_cast<I64>(hi) - lo) + 1;
    return static_cast<I32>(lo + static_cast<I64>(u32() % span));
  }
  // A 32-bit value of any magnitude, often near zero or the extremes, where
  // the interesting boundaries are.
  I32 varied() {
    switch (byte() % 8) {
      case 0: return in(-16, 16);
      case 1: return in(-70000, 70000);
      case 2: return kMax - in(0, 16);
      case 3: return kMin + in(0, 16);
      case 4: return low32(static_cast<U64>(u32()) >> (byte() % 32));
      case 5: return wrap_neg(low32(static_cast<U64>(u32()) >> (byte() % 32)));
      default: return i32();
    }
  }
  // Any double: raw bit patterns (NaN, infinities, subnormals, huge values)
  // or ordinary coordinates.
  double real() {
    switch (byte() % 6) {
      case 0: {
        const U64 bits = u64();
        double d;
        std::memcpy(&d, &bits, sizeof d);
        return d;
      }
      case 1: {
        using D = std::numeric_limits<double>;
        const double nan = D::quiet_NaN(), inf = D::infinity(), tiny = D::denorm_min();
        const double big = D::max(), least = D::min();
        const double special[] = {0.0,   -0.0,   nan,   inf,         -inf,        tiny,
                                  -tiny, big,    -big,  least,       90.0,        -90.0,
                                  180.0, -180.0, 360.0, 214.7483647, 214.7483648, -214.7483649,
                                  3e-06, 1e-07,  5e-08};
        return special[byte() % (sizeof special / sizeof special[0])];
      }
      case 2: return static_cast<double>(i32()) / 1e7;
      default: return static_cast<double>(in(-360000000, 360000000)) / 1e6;
    }
  }

  // A point set: a count, a coordinate scale and points at that scale
  // (small grids, medium, the whole 32-bit range, near the extremes), with
  // repeats of earlier points now and then so rings touch themselves.
  Ring ring(int max_points) {
    Ring r;
    const int n = in(0, max_points);
    const std::uint8_t scale = byte() % 6;
    const I32 base_x = scale == 4 ? kMax - 200 : (scale == 5 ? kMin + 200 : 0);
    const I32 base_y = scale == 4 ? kMax - 200 : (scale == 5 ? kMin + 200 : 0);
    for (int i = 0; i < n && left() > 0; ++i) {
      const std::uint8_t k = byte();
      if (!r.empty() && k % 16 == 0) {
        r.push_back(r[u32() % r.size()]);
        continue;
      }
      r.push_back(coord_pair(scale, base_x, base_y));
    }
    return r;
  }
  tagPOINT point(std::uint8_t scale) {
    return coord_pair(scale, scale == 4 ? kMax - 200 : (scale == 5 ? kMin + 200 : 0),
                      scale == 4 ? kMax - 200 : (scale == 5 ? kMin + 200 : 0));
  }

 private:
  tagPOINT coord_pair(std::uint8_t scale, I32 bx, I32 by) {
    switch (scale) {
      case 0: return {in(-20, 20), in(-20, 20)};
      case 1: return {in(-3000, 3000), in(-3000, 3000)};
      case 2: return {in(-100000, 100000), in(-100000, 100000)};
      case 3: return {varied(), varied()};
      default: return {wrap_add(bx, in(-200, 200)), wrap_add(by, in(-200, 200))};
    }
  }

  const std::uint8_t* p_;
  std::size_t n_;
};

}  // namespace fuzz

#endif  // KELVOR_TESTS_FUZZ_FUZZ_INPUT_H
