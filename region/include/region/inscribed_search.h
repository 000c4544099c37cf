// The inscribed-rectangle search behind GetMCR and kelvor::InscribedRect: a
// seed from two scan-conversion passes (the widest row span, then the
// tallest column span across it), then growth one side at a time while the
// two new corners of the side pass the inside test.
#ifndef KELVOR_REGION_INSCRIBED_SEARCH_H
#define KELVOR_REGION_INSCRIBED_SEARCH_H

#include <cstdint>

#include "kelvor/types.h"

namespace kelvor::detail {

// Result corners; `found` is false for every failure (fewer than 3 points,
// no span of positive length, a seed outside, the work array not obtained).
struct SearchResult {
  bool found;
  tagPOINT min;
  tagPOINT max;
};

// Corner test of the search: true when (x, y) is inside the polygon.
using InsideTest = bool (*)(const void* context, std::int32_t x, std::int32_t y);

// Runs the search on p[0..n-1] with step (values below 1 count as 1). The
// one allocation is the scanner's work array, released before returning.
SearchResult search_inscribed_rect(std::int32_t n, const tagPOINT* p, std::int32_t step,
                                   InsideTest inside, const void* context);

}  // namespace kelvor::detail

#endif  // KELVOR_REGION_INSCRIBED_SEARCH_H
