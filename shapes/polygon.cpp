// KPGON: a borrowed ring of at least three points, closed from the last
// point to the first, with its cached bounding rectangle; shallow copies
// share the caller's array.
#include "kelvor/shapes.h"

namespace {
constexpr std::int32_t kMinPoints = 3;
}

KPGON::KPGON() : nCount(0), pPoints(nullptr) {}
KPGON::KPGON(std::int32_t n, tagPOINT* p) : nCount(0), pPoints(nullptr) { Set(n, p); }
KPGON::KPGON(std::int32_t n, tagPOINT* p, const KRECT& rc) : nCount(0), pPoints(nullptr) {
  Set(n, p, rc);
}
KPGON::KPGON(const KPGON& other)
    : KShape(other), rcBound(other.rcBound), nCount(other.nCount), pPoints(other.pPoints) {}

KPGON& KPGON::operator=(const KPGON& other) {
  rcBound = other.rcBound;
  nCount = other.nCount;
  pPoints = other.pPoints;
  return *this;
}

void KPGON::Set(std::int32_t n, tagPOINT* p) {
  if (n < kMinPoints) {
    Empty();
    return;
  }
  nCount = n;
  pPoints = p;
  GetMBR(rcBound, n, p);
}

void KPGON::Set(std::int32_t n, tagPOINT* p, const KRECT& rc) {
  if (n < kMinPoints) {
    Empty();
    return;
  }
  nCount = n;
  pPoints = p;
  rcBound = rc;
}

void KPGON::Empty() {
  nCount = 0;
  pPoints = nullptr;
  rcBound.Empty();
}

std::int32_t KPGON::IsEmpty() const { return nCount < kMinPoints ? 1 : 0; }
