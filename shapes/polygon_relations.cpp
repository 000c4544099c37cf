// KPGON relations other than polygon-meets-polygon: the cached bounding
// rectangle screens first (through its own virtual Contain / Intersect),
// then the planar predicates decide.
#include <cstdint>

#include "common/half_open.h"
#include "kelvor/planar.h"
#include "kelvor/shapes.h"

std::int32_t KPGON::Contain(const KPGON& pg) const {
  if (rcBound.Contain(pg) == 0) return 0;
  if (Contain(pg.rcBound) != 0) return 1;
  // Sampled on purpose: every third vertex, starting with the first.
  for (std::int64_t i = 0; i < pg.nCount; i += 3) {
    if (Contain(pg.pPoints[i]) == 0) return 0;
  }
  return 1;
}

std::int32_t KPGON::Contain(const KPLINE& pl) const {
  if (rcBound.Contain(pl) == 0) return 0;
  return Polygon_Contain_Polyline(pPoints, nCount, pl.pPoints, pl.nCount);
}

std::int32_t KPGON::Contain(const KRECT& rc) const {
  if (rcBound.Contain(rc) == 0) return 0;
  return Polygon_Contain_Rect(pPoints, nCount, &rc.ptMin, &rc.ptMax);
}

std::int32_t KPGON::Contain(const tagPOINT& a, const tagPOINT& b) const {
  if (rcBound.Contain(a, b) == 0) return 0;
  return Polygon_Contain_Segment(pPoints, nCount, &a, &b);
}

std::int32_t KPGON::Contain(const tagPOINT& q) const {
  // rcBound is always a KRECT, so its Contain is exactly the inline half-open
  // rule; testing it here keeps the common miss to a few instructions.
  if (!kelvor::detail::half_open_holds(rcBound.ptMin, rcBound.ptMax, q)) return 0;
  return Polygon_Contain_Point(pPoints, nCount, &q);
}

std::int32_t KPGON::Intersect(const KPLINE& pl) const {
  if (rcBound.IsEmpty()) return 0;
  if (pl.rcBound.IsEmpty()) return 0;
  KRECT c(pl.rcBound);
  if (Rect_Clip_Rect(&rcBound.ptMin, &rcBound.ptMax, &c.ptMin, &c.ptMax) == 0) return 0;
  return Polyline_Polygon_Intersect(pl.pPoints, pl.nCount, pPoints, nCount);
}

std::int32_t KPGON::Intersect(const KRECT& rc) const {
  if (rcBound.Intersect(rc) == 0) return 0;
  if (Contain(rc) != 0) return 1;
  return Rect_Polygon_Intersect(&rc.ptMin, &rc.ptMax, pPoints, nCount);
}

std::int32_t KPGON::Intersect(const tagPOINT& a, const tagPOINT& b) const {
  if (rcBound.Intersect(a, b) == 0) return 0;
  return Segment_Polygon_Intersect(&a, &b, pPoints, nCount);
}
