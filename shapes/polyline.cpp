// KPLINE: a borrowed chain of at least two points with its cached bounding
// rectangle; shallow copies share the caller's array.
#include "kelvor/shapes.h"

namespace {
constexpr std::int32_t kMinPoints = 2;
}

KPLINE::KPLINE() : nCount(0), pPoints(nullptr) {}
KPLINE::KPLINE(std::int32_t n, tagPOINT* p) : nCount(0), pPoints(nullptr) { Set(n, p); }
KPLINE::KPLINE(std::int32_t n, tagPOINT* p, const KRECT& rc) : nCount(0), pPoints(nullptr) {
  Set(n, p, rc);
}
KPLINE::KPLINE(const KPLINE& other)
    : KShape(other), rcBound(other.rcBound), nCount(other.nCount), pPoints(other.pPoints) {}

KPLINE& KPLINE::operator=(const KPLINE& other) {
  rcBound = other.rcBound;
  nCount = other.nCount;
  pPoints = other.pPoints;
  return *this;
}

void KPLINE::Set(std::int32_t n, tagPOINT* p) {
  if (n < kMinPoints) {
    Empty();
    return;
  }
  nCount = n;
  pPoints = p;
  GetMBR(rcBound, n, p);
}

void KPLINE::Set(std::int32_t n, tagPOINT* p, const KRECT& rc) {
  if (n < kMinPoints) {
    Empty();
    return;
  }
  nCount = n;
  pPoints = p;
  rcBound = rc;
}

void KPLINE::Empty() {
  nCount = 0;
  pPoints = nullptr;
  rcBound.Empty();
}

std::int32_t KPLINE::IsEmpty() const { return nCount < kMinPoints ? 1 : 0; }
