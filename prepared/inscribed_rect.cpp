// InscribedRect: GetMCR's search with the inside test of either rule.
#include <new>

#include "kelvor/prepared.h"
#include "region/inscribed_search.h"

namespace kelvor {

namespace {

// KPGON::Contain's form: the half-open bounding rectangle first.
bool prepared_contains(const void* context, std::int32_t x, std::int32_t y) {
  return static_cast<const PreparedPolygon*>(context)->ContainBounded(tagPOINT{x, y}) != 0;
}

}  // namespace

KRECT InscribedRect(const tagPOINT* points, std::int32_t count, std::int32_t step, Rule rule) {
  KRECT rc;
  if (points == nullptr || count < 3) return rc;
  try {
    const PreparedPolygon ring(points, count, rule);
    const detail::SearchResult r =
        detail::search_inscribed_rect(count, points, step, prepared_contains, &ring);
    if (r.found) rc = KRECT(r.min, r.max);
  } catch (const std::bad_alloc&) {
    // Out of memory: the empty rectangle, as GetMCR answers.
  }
  return rc;
}

}  // namespace kelvor
