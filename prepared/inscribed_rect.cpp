// InscribedRect: GetMCR's search with the inside test of either rule.
#include "kelvor/prepared.h"
#include "prepared/exact_model.h"
#include "shapes/mcr_search.h"

namespace kelvor {

namespace {

struct ExactRing {
  KRECT bound;
  const tagPOINT* points;
  std::int32_t count;
};

// The half-open bounding rectangle first, as KPGON::Contain does.
bool exact_contains(const void* context, std::int32_t x, std::int32_t y) {
  const auto& r = *static_cast<const ExactRing*>(context);
  if (!(r.bound.ptMin.x <= x && x < r.bound.ptMax.x && r.bound.ptMin.y <= y &&
        y < r.bound.ptMax.y)) {
    return false;
  }
  return detail::exact_even_odd(r.points, r.count, tagPOINT{x, y}) != 0;
}

}  // namespace

KRECT InscribedRect(const tagPOINT* points, std::int32_t count, std::int32_t step, Rule rule) {
  KRECT rc;
  if (points == nullptr || count < 3) return rc;
  if (rule == Rule::Compatible || !RingCanWrap(points, count)) {
    GetMCR(rc, count, points, step);
    return rc;
  }
  ExactRing ring{KRECT(), points, count};
  GetMBR(ring.bound, count, points);
  detail::search_inscribed_rect(rc, count, points, step, exact_contains, &ring);
  return rc;
}

}  // namespace kelvor
