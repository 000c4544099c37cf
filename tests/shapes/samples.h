// Rectangles as comparable, printable values for the shape tests; generated
// rings and point helpers come from support/rings.h.
#ifndef KELVOR_TESTS_SHAPES_SAMPLES_H
#define KELVOR_TESTS_SHAPES_SAMPLES_H

#include <kelvor/kelvor.h>

#include <array>
#include <cstdint>

#include "support/rings.h"

namespace samples {

using Q = std::array<std::int32_t, 4>;  // a rectangle as (ptMin.x, ptMin.y, ptMax.x, ptMax.y)
inline Q q(const KRECT& r) { return {r.ptMin.x, r.ptMin.y, r.ptMax.x, r.ptMax.y}; }

}  // namespace samples

#endif  // KELVOR_TESTS_SHAPES_SAMPLES_H
