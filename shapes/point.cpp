// KPOINT: a plane point; it meets figures but contains nothing.
#include "common/half_open.h"
#include "kelvor/planar.h"
#include "kelvor/shapes.h"

using kelvor::detail::point_meets_rect;

KPOINT::KPOINT() : pt{0, 0} {}
KPOINT::KPOINT(std::int32_t x, std::int32_t y) : pt{x, y} {}
KPOINT::KPOINT(const tagPOINT& p) : pt(p) {}
KPOINT::KPOINT(const KPOINT& other) : KShape(other), pt(other.pt) {}

KPOINT& KPOINT::operator=(const KPOINT& other) {
  pt = other.pt;
  return *this;
}

KPOINT& KPOINT::operator=(const tagPOINT& p) {
  pt = p;
  return *this;
}

std::int32_t KPOINT::operator==(const tagPOINT& p) const {
  return pt.x == p.x && pt.y == p.y ? 1 : 0;
}
std::int32_t KPOINT::operator!=(const tagPOINT& p) const {
  return pt.x != p.x || pt.y != p.y ? 1 : 0;
}
KPOINT::operator tagPOINT&() { return pt; }

std::int32_t KPOINT::Intersect(const KPGON& pg) const {
  if (!point_meets_rect(pg.rcBound.ptMin, pg.rcBound.ptMax, pt)) return 0;
  return Point_Polygon_Intersect(&pt, pg.pPoints, pg.nCount);
}

std::int32_t KPOINT::Intersect(const KPLINE& pl) const {
  if (!point_meets_rect(pl.rcBound.ptMin, pl.rcBound.ptMax, pt)) return 0;
  return Point_Polyline_Intersect(&pt, pl.pPoints, pl.nCount);
}

std::int32_t KPOINT::Intersect(const KRECT& rc) const {
  return point_meets_rect(rc.ptMin, rc.ptMax, pt) ? 1 : 0;
}

std::int32_t KPOINT::Intersect(const tagPOINT& a, const tagPOINT& b) const {
  return Point_Segment_Intersect(&pt, &a, &b);
}

std::int32_t KPOINT::Intersect(const tagPOINT& q) const { return *this == q; }
