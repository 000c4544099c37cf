// KPGON: a borrowed ring of at least three points, closed from the last point
// to the first, with its cached bounding rectangle; shallow copies share the
// caller's array.
#include "borrowed_points.h"
#include "kelvor/shapes.h"

namespace {
constexpr std::int32_t kMinPoints = 3;
}

using kelvor::detail::borrow_points;

KPGON::KPGON() : nCount(0), pPoints(nullptr) {}
KPGON::KPGON(std::int32_t n, tagPOINT* p) : nCount(0), pPoints(nullptr) { Set(n, p); }
KPGON::KPGON(std::int32_t n, tagPOINT* p, const KRECT& rc) : nCount(0), pPoints(nullptr) {
  Set(n, p, rc);
}
KPGON::KPGON(const KPGON& other)
    : KShape(other), rcBound(other.rcBound), nCount(other.nCount), pPoints(other.pPoints) {}

KPGON& KPGON::operator=(const KPGON& other) {
  kelvor::detail::share_points(*this, other);
  return *this;
}

void KPGON::Set(std::int32_t n, tagPOINT* p) { borrow_points(*this, kMinPoints, n, p, nullptr); }
void KPGON::Set(std::int32_t n, tagPOINT* p, const KRECT& rc) {
  borrow_points(*this, kMinPoints, n, p, &rc);
}
void KPGON::Empty() { kelvor::detail::make_empty(*this); }
std::int32_t KPGON::IsEmpty() const { return nCount < kMinPoints ? 1 : 0; }
