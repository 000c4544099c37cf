// KPGON meets KPGON: a sampled scan-line test. After the rectangle pre-tests
// it probes at most seven rows and seven columns of the overlap of the two
// bounding rectangles; a thin common sliver between the probes is missed.
#include <cstdint>

#include "kelvor/planar.h"
#include "kelvor/shapes.h"

namespace {

// A quarter of the extent, at least 1. The extent is taken in 64 bits so a
// rectangle wider than 2^31 - 1 still gets a positive step.
std::int64_t probe_step(std::int32_t lo, std::int32_t hi) {
  const std::int64_t s = (static_cast<std::int64_t>(hi) - lo) >> 2;
  return s == 0 ? 1 : s;
}

}  // namespace

std::int32_t KPGON::Intersect(const KPGON& pg) const {
  KRECT c(pg.rcBound);
  if (rcBound.IsEmpty()) return 0;
  if (c.IsEmpty()) return 0;
  if (Rect_Clip_Rect(&rcBound.ptMin, &rcBound.ptMax, &c.ptMin, &c.ptMax) == 0) return 0;
  if (Contain(pg.rcBound) != 0) return 1;
  if (pg.Contain(rcBound) != 0) return 1;
  if (Rect_Polygon_Intersect(&c.ptMin, &c.ptMax, pPoints, nCount) == 0) return 0;

  // Probe coordinates are 64-bit so the loop ends cleanly next to INT32_MAX.
  const std::int64_t sy = probe_step(c.ptMin.y, c.ptMax.y);
  for (std::int64_t y = static_cast<std::int64_t>(c.ptMin.y) + sy; y <= c.ptMax.y; y += sy) {
    const auto row = static_cast<std::int32_t>(y);
    std::int32_t x1 = c.ptMin.x;
    std::int32_t x2 = c.ptMax.x;
    if (Polygon_Clip_Horizon(pPoints, nCount, &x1, &x2, row) != 0 &&
        Polygon_Horizon_Intersect(pg.pPoints, pg.nCount, x1, x2, row) != 0) {
      return 1;
    }
  }
  const std::int64_t sx = probe_step(c.ptMin.x, c.ptMax.x);
  for (std::int64_t x = static_cast<std::int64_t>(c.ptMin.x) + sx; x <= c.ptMax.x; x += sx) {
    const auto col = static_cast<std::int32_t>(x);
    std::int32_t y1 = c.ptMin.y;
    std::int32_t y2 = c.ptMax.y;
    if (Polygon_Clip_Vertical(pPoints, nCount, &y1, &y2, col) != 0 &&
        Polygon_Vertical_Intersect(pg.pPoints, pg.nCount, y1, y2, col) != 0) {
      return 1;
    }
  }
  return 0;
}
