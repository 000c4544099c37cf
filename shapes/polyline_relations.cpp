// KPLINE relations: count and bounding-rectangle pre-tests, then the planar
// predicates. A polyline contains nothing (KShape's answers stand).
#include "common/half_open.h"
#include "kelvor/planar.h"
#include "kelvor/shapes.h"

using kelvor::detail::rects_overlap;

std::int32_t KPLINE::Intersect(const KPGON& pg) const {
  if (nCount < 2) return 0;
  if (pg.nCount < 3) return 0;
  if (!rects_overlap(rcBound.ptMin, rcBound.ptMax, pg.rcBound.ptMin, pg.rcBound.ptMax)) return 0;
  return Polyline_Polygon_Intersect(pPoints, nCount, pg.pPoints, pg.nCount);
}

std::int32_t KPLINE::Intersect(const KPLINE& pl) const {
  if (nCount < 2) return 0;
  if (pl.nCount < 2) return 0;
  if (!rects_overlap(rcBound.ptMin, rcBound.ptMax, pl.rcBound.ptMin, pl.rcBound.ptMax)) return 0;
  return Polyline_Polyline_Intersect(pPoints, nCount, pl.pPoints, pl.nCount);
}

std::int32_t KPLINE::Intersect(const KRECT& rc) const {
  if (nCount < 2) return 0;
  if (rc.IsEmpty()) return 0;
  if (!rects_overlap(rcBound.ptMin, rcBound.ptMax, rc.ptMin, rc.ptMax)) return 0;
  return Rect_Polyline_Intersect(&rc.ptMin, &rc.ptMax, pPoints, nCount);
}

std::int32_t KPLINE::Intersect(const tagPOINT& a, const tagPOINT& b) const {
  if (nCount < 2) return 0;
  if (Segment_Rect_Intersect(&a, &b, &rcBound.ptMin, &rcBound.ptMax) == 0) return 0;
  return Segment_Polyline_Intersect(&a, &b, pPoints, nCount);
}

std::int32_t KPLINE::Intersect(const tagPOINT& q) const {
  if (nCount < 2) return 0;
  if (rcBound.Contain(q) == 0) return 0;
  return Point_Polyline_Intersect(&q, pPoints, nCount);
}
