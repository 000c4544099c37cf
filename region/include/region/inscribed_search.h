// The inscribed-rectangle search behind GetMCR and kelvor::InscribedRect: a
// seed from two scan-conversion passes (the widest row span, then the
// tallest column span across it), then growth one side at a time while the
// two new corners of the side pass the inside test.
#ifndef KELVOR_REGION_INSCRIBED_SEARCH_H
#define KELVOR_REGION_INSCRIBED_SEARCH_H

#include <cstddef>
#include <cstdint>

#include "kelvor/rule.h"
#include "kelvor/types.h"
#include "region/area_index.h"

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

// Bytes of scanner work space per ring vertex.
constexpr std::size_t kScanBytesPerVertex = 24;

// The search on p[0..n-1] with step (values below 1 count as 1), the
// caller's corner test and work space (n * kScanBytesPerVertex bytes,
// 8-byte aligned).
SearchResult search_inscribed_rect(std::int32_t n, const tagPOINT* p, std::int32_t step, void* work,
                                   InsideTest inside, const void* context);

// The search with KPGON::Contain's corner test by the given rule (the
// half-open bounding rectangle, then the even-odd rule), answered by an area
// index of the ring. The scanner's work space is one block from the general
// allocator, released before returning; the index comes from operator new.
// If the index cannot be had, `fallback` (when given) answers the corner
// tests instead, so the answer does not depend on the memory left for it;
// without one the search fails.
SearchResult inscribed_rect(std::int32_t n, const tagPOINT* p, std::int32_t step, Rule rule,
                            InsideTest fallback, const void* context);

}  // namespace kelvor::detail

#endif  // KELVOR_REGION_INSCRIBED_SEARCH_H
