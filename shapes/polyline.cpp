// KPLINE: a borrowed chain of at least two points
// with its cached bounding rectangle; shallow copies share the caller's array.
#include "borrowed_points.h"
#include "kelvor/shapes.h"

namespace {
constexpr std::int32_t kMinPoints = 2;
}

using kelvor::detail::borrow_points;

KPLINE::KPLINE() : nCount(0), pPoints(nullptr) {}
KPLINE::KPLINE(std::int32_t n, tagPOINT* p) : nCount(0), pPoints(nullptr) { Set(n, p); }
KPLINE::KPLINE(std::int32_t n, tagPOINT* p, const KRECT& rc) : nCount(0), pPoints(nullptr) {
  Set(n, p, rc);
}
KPLINE::KPLINE(const KPLINE& other)
    : KShape(other), rcBound(other.rcBound), nCount(other.nCount), pPoints(other.pPoints) {}

KPLINE& KPLINE::operator=(const KPLINE& other) {
  kelvor::detail::share_points(*this, other);
  return *this;
}

void KPLINE::Set(std::int32_t n, tagPOINT* p) { borrow_points(*this, kMinPoints, n, p, nullptr); }
void KPLINE::Set(std::int32_t n, tagPOINT* p, const KRECT& rc) {
  borrow_points(*this, kMinPoints, n, p, &rc);
}
void KPLINE::Empty() { kelvor::detail::make_empty(*this); }
std::int32_t KPLINE::IsEmpty() const { return nCount < kMinPoints ? 1 : 0; }
