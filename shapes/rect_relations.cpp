// KRECT relations: inline half-open and overlap rules first, then the planar
// predicates. Calls on "this" dispatch through the virtual table on purpose.
#include "common/half_open.h"
#include "kelvor/planar.h"
#include "kelvor/shapes.h"

using kelvor::detail::half_open_holds;
using kelvor::detail::rects_overlap;

std::int32_t KRECT::Contain(const KPGON& pg) const { return Contain(pg.rcBound); }
std::int32_t KRECT::Contain(const KPLINE& pl) const { return Contain(pl.rcBound); }

std::int32_t KRECT::Contain(const KRECT& rc) const {
  if (IsEmpty()) return 0;
  if (rc.IsEmpty()) return 1;
  return Rect_Contain_Rect(&ptMin, &ptMax, &rc.ptMin, &rc.ptMax);
}

std::int32_t KRECT::Contain(const tagPOINT& a, const tagPOINT& b) const {
  if (IsEmpty()) return 0;
  return half_open_holds(ptMin, ptMax, a) && half_open_holds(ptMin, ptMax, b) ? 1 : 0;
}

std::int32_t KRECT::Contain(const tagPOINT& q) const {
  if (IsEmpty()) return 0;
  return half_open_holds(ptMin, ptMax, q) ? 1 : 0;
}

std::int32_t KRECT::Intersect(const KPGON& pg) const {
  if (IsEmpty()) return 0;
  if (pg.nCount < 3) return 0;
  if (Intersect(pg.rcBound) == 0) return 0;
  if (Contain(pg) != 0) return 1;
  return Rect_Polygon_Intersect(&ptMin, &ptMax, pg.pPoints, pg.nCount);
}

std::int32_t KRECT::Intersect(const KPLINE& pl) const {
  if (Intersect(pl.rcBound) == 0) return 0;
  if (Contain(pl.rcBound) != 0) return 1;
  return Rect_Polyline_Intersect(&ptMin, &ptMax, pl.pPoints, pl.nCount);
}

std::int32_t KRECT::Intersect(const KRECT& rc) const {
  if (IsEmpty() || rc.IsEmpty()) return 0;
  return rects_overlap(ptMin, ptMax, rc.ptMin, rc.ptMax) ? 1 : 0;
}

std::int32_t KRECT::Intersect(const tagPOINT& a, const tagPOINT& b) const {
  if (IsEmpty()) return 0;
  return Segment_Rect_Intersect(&a, &b, &ptMin, &ptMax);
}
