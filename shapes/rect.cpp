// KRECT: construction, comparison, emptiness and clipping of a half-open
// axis-aligned rectangle.
#include "kelvor/planar.h"
#include "kelvor/shapes.h"

KRECT::KRECT() : ptMin{1, 1}, ptMax{0, 0} {}
KRECT::KRECT(const tagPOINT& p1, const tagPOINT& p2) : ptMin(p1), ptMax(p2) {}
KRECT::KRECT(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2)
    : ptMin{x1, y1}, ptMax{x2, y2} {}
KRECT::KRECT(const KRECT& other) : KShape(other), ptMin(other.ptMin), ptMax(other.ptMax) {}

KRECT& KRECT::operator=(const KRECT& other) {
  ptMin = other.ptMin;
  ptMax = other.ptMax;
  return *this;
}

std::int32_t KRECT::operator==(const KRECT& rc) const {
  return ptMin.x == rc.ptMin.x && ptMin.y == rc.ptMin.y && ptMax.x == rc.ptMax.x &&
                 ptMax.y == rc.ptMax.y
             ? 1
             : 0;
}

std::int32_t KRECT::operator!=(const KRECT& rc) const { return (*this == rc) ? 0 : 1; }

void KRECT::Empty() {
  ptMin = tagPOINT{1, 1};
  ptMax = tagPOINT{0, 0};
}

std::int32_t KRECT::IsEmpty() const { return ptMin.x > ptMax.x || ptMin.y > ptMax.y ? 1 : 0; }

std::int32_t KRECT::Clipping(KRECT& r) const {
  if (IsEmpty()) return 0;
  if (r.IsEmpty()) return 0;
  return Rect_Clip_Rect(&ptMin, &ptMax, &r.ptMin, &r.ptMax);
}

std::int32_t KRECT::Clipping(tagPOINT& a, tagPOINT& b) const {
  if (IsEmpty()) return 0;
  return Rect_Clip_Segment(&ptMin, &ptMax, &a, &b);
}
