// The inscribed-rectangle search behind GetMCR, with the inside test left to
// the caller: the seed from two scan-conversion passes, then growth one side
// at a time while the new corners pass the test.
#ifndef KELVOR_SHAPES_MCR_SEARCH_H
#define KELVOR_SHAPES_MCR_SEARCH_H

#include <cstdint>

#include "kelvor/shapes.h"

namespace kelvor::detail {

// Corner test of the search: true when (x, y), which always fits 32 bits,
// is inside the polygon.
using InsideTest = bool (*)(const void* context, std::int32_t x, std::int32_t y);

// Runs the search on p[0..n-1] and writes the result into rc (the canonical
// empty rectangle on every failure, allocation failure included).
void search_inscribed_rect(KRECT& rc, std::int32_t n, const tagPOINT* p, std::int32_t step,
                           InsideTest inside, const void* context);

}  // namespace kelvor::detail

#endif  // KELVOR_SHAPES_MCR_SEARCH_H
