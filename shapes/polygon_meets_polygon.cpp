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

using SpanClip = std::int32_t (*)(const tagPOINT*, std::int32_t, std::int32_t*, std::int32_t*,
                                  std::int32_t);
using SpanMeet = std::int32_t (*)(const tagPOINT*, std::int32_t, std::int32_t, std::int32_t,
                                  std::int32_t);

// Probes the lines lo + s, lo + 2s, ... up to hi: on each, cut [from, to) to
// the first inside stretch of g and ask whether pg meets that stretch. The
// line coordinate is 64-bit so the loop ends cleanly next to INT32_MAX.
bool probe_lines(const KPGON& g, const KPGON& pg, std::int32_t lo, std::int32_t hi,
                 std::int32_t from, std::int32_t to, SpanClip clip, SpanMeet meet) {
  const std::int64_t step = probe_step(lo, hi);
  for (std::int64_t at = static_cast<std::int64_t>(lo) + step; at <= hi; at += step) {
    const auto line = static_cast<std::int32_t>(at);
    std::int32_t a = from;
    std::int32_t b = to;
    if (clip(g.pPoints, g.nCount, &a, &b, line) != 0 &&
        meet(pg.pPoints, pg.nCount, a, b, line) != 0) {
      return true;
    }
  }
  return false;
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

  // Rows first, then columns.
  if (probe_lines(*this, pg, c.ptMin.y, c.ptMax.y, c.ptMin.x, c.ptMax.x, Polygon_Clip_Horizon,
                  Polygon_Horizon_Intersect)) {
    return 1;
  }
  if (probe_lines(*this, pg, c.ptMin.x, c.ptMax.x, c.ptMin.y, c.ptMax.y, Polygon_Clip_Vertical,
                  Polygon_Vertical_Intersect)) {
    return 1;
  }
  return 0;
}
