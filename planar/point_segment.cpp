// Point, segment and rectangle meeting tests. Orientation products are taken
// in double: 32-bit differences convert exactly and their products need up to
// 64 bits, which a double holds exactly for all but extreme extents.
#include <algorithm>

#include "common/half_open.h"
#include "common/truncate.h"
#include "common/wrap.h"
#include "kelvor/planar.h"

namespace {

using kelvor::detail::wrap_add;
using kelvor::detail::wrap_sub;

inline double diff(std::int32_t a, std::int32_t b) { return static_cast<double>(wrap_sub(a, b)); }

// Parallel (or degenerate) segments meet only at c, else d, lying on a-b.
// Kept out of line: it is rare, and inlining it costs the common path
// several saved registers.
[[gnu::noinline, gnu::cold]] std::int32_t parallel_meet(const tagPOINT* a, const tagPOINT* b,
                                                        const tagPOINT* c, const tagPOINT* d,
                                                        tagPOINT* out) {
  const tagPOINT* hit = nullptr;
  if (Point_Segment_Intersect(c, a, b))
    hit = c;
  else if (Point_Segment_Intersect(d, a, b))
    hit = d;
  if (hit == nullptr) return 0;
  if (out != nullptr) *out = *hit;
  return 1;
}

}  // namespace

std::int32_t Point_Point_Intersect(const tagPOINT* a, const tagPOINT* b) {
  return a->x == b->x && a->y == b->y;
}

std::int32_t Point_Segment_Intersect(const tagPOINT* p, const tagPOINT* a, const tagPOINT* b) {
  if ((p->x < a->x && p->x < b->x) || (p->x > a->x && p->x > b->x)) return 0;
  if ((p->y < a->y && p->y < b->y) || (p->y > a->y && p->y > b->y)) return 0;
  const double dx = diff(b->x, a->x);
  const double dy = diff(b->y, a->y);
  const double px = diff(p->x, a->x);
  const double py = diff(p->y, a->y);
  return px * dy == py * dx;
}

std::int32_t Point_Rect_Intersect(const tagPOINT* p, const tagPOINT* min, const tagPOINT* max) {
  return kelvor::detail::point_meets_rect(*min, *max, *p);
}

std::int32_t Segment_Segment_Intersect(const tagPOINT* a, const tagPOINT* b, const tagPOINT* c,
                                       const tagPOINT* d, tagPOINT* out) {
  // Integer box rejection first, strict on every side: boxes that only touch
  // along a line (two horizontal segments, say) do not pass.
  // The four comparisons are combined without short-circuiting: one
  // well-predicted branch instead of four data-dependent ones.
  const int boxes_overlap = static_cast<int>(std::min(a->x, b->x) < std::max(c->x, d->x)) &
                            static_cast<int>(std::min(a->y, b->y) < std::max(c->y, d->y)) &
                            static_cast<int>(std::min(c->x, d->x) < std::max(a->x, b->x)) &
                            static_cast<int>(std::min(c->y, d->y) < std::max(a->y, b->y));
  if (!boxes_overlap) return 0;

  const double d1x = diff(b->x, a->x);
  const double d1y = diff(b->y, a->y);
  const double d2x = diff(d->x, c->x);
  const double d2y = diff(d->y, c->y);
  const double den = d1x * d2y - d1y * d2x;

  if (den == 0.0) return parallel_meet(a, b, c, d, out);

  const double ex = diff(c->x, a->x);
  const double ey = diff(c->y, a->y);
  const double u = ex * d1y - ey * d1x;  // position along c-d, scaled by den
  const double t = ex * d2y - ey * d2x;  // position along a-b, scaled by den
  if (den > 0.0) {
    if (u < 0.0 || u > den || t < 0.0 || t > den) return 0;
  } else {
    if (u > 0.0 || u < den || t > 0.0 || t < den) return 0;
  }
  if (out != nullptr) {
    // Measured from a and truncated toward zero, never rounded to nearest.
    // The offset d * t / den lies within [-|d|, |d|] and so fits 32 bits; the
    // saturating conversion keeps a rounding excess defined.
    const std::int32_t ox = wrap_add(a->x, kelvor::detail::trunc_to_i32(d1x * t / den));
    const std::int32_t oy = wrap_add(a->y, kelvor::detail::trunc_to_i32(t * d1y / den));
    out->x = ox;
    out->y = oy;
  }
  return 1;
}

std::int32_t Rect_Rect_Intersect(const tagPOINT* min1, const tagPOINT* max1, const tagPOINT* min2,
                                 const tagPOINT* max2) {
  return kelvor::detail::rects_overlap(*min1, *max1, *min2, *max2);
}
