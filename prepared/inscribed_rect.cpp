// InscribedRect: GetMCR's search with the inside test of either rule.
#include "kelvor/prepared.h"
#include "prepared_impl.h"
#include "region/inscribed_search.h"

namespace kelvor {

KRECT InscribedRect(const tagPOINT* points, std::int32_t count, std::int32_t step, Rule rule) {
  KRECT rc;
  if (points == nullptr || count < 3) return rc;
  const detail::SearchResult r =
      detail::inscribed_rect(count, points, step, rule, nullptr, nullptr);
  if (r.found) rc = KRECT(r.min, r.max);
  return rc;
}

}  // namespace kelvor
