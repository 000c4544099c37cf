// GetMCR: the inscribed-rectangle search with KPGON::Contain as its inside
// test (the half-open bounding rectangle, then the even-odd rule), answered
// by a ring index; KPGON itself answers when memory is short.
#include "kelvor/shapes.h"
#include "region/inscribed_search.h"

namespace {

bool kpgon_contains(const void* context, std::int32_t x, std::int32_t y) {
  const tagPOINT c{x, y};
  return static_cast<const KPGON*>(context)->Contain(c) != 0;
}

}  // namespace

void GetMCR(KRECT& rc, std::int32_t n, const tagPOINT* p, std::int32_t step) {
  rc.Empty();
  if (n < 3) return;
  const KPGON g(n, const_cast<tagPOINT*>(p));  // borrowed, only read
  const kelvor::detail::SearchResult r =
      kelvor::detail::inscribed_rect(n, p, step, kelvor::Rule::Compatible, kpgon_contains, &g);
  if (!r.found) return;
  rc.ptMin = r.min;
  rc.ptMax = r.max;
}
