// Even-odd point-in-polygon rule: count the edges straddling the point's row
// whose crossing, measured from the edge's start point, lies strictly right
// of the point. On larger rings the straddle test runs as a branch-free
// vectorised pass; only straddling edges (a small fraction) compute anything,
// and where the crossing cannot wrap it is compared without a division.
// Results are identical to computing every crossing coordinate.
#include "crossing_scan.h"
#include "kelvor/planar.h"

namespace kelvor::detail {

namespace {

// Rings up to this many points are scanned edge by edge.
constexpr std::int32_t kSmallRing = 16;

// |dx| and |dy| up to 46340 keep the crossing numerator dx * (h - a.y) below
// 2^31 on a straddling edge, where |h - a.y| <= |dy|.
constexpr std::uint32_t kExactExtent = 46340;

// Exact-extent test: |b - a| at most kExactExtent in both axes.
inline bool exact_extent(const tagPOINT& a, const tagPOINT& b) {
  return static_cast<std::uint64_t>(static_cast<std::int64_t>(b.x) - a.x + kExactExtent) <=
             2 * kExactExtent &&
         static_cast<std::uint64_t>(static_cast<std::int64_t>(b.y) - a.y + kExactExtent) <=
             2 * kExactExtent;
}

// For an edge a -> b that straddles y == h and passes exact_extent: 1 when
// its crossing lies strictly right of x. The crossing a.x + trunc(num / dy)
// cannot wrap then, and it is decided without dividing: with dy made
// positive, trunc(num / dy) > D holds iff num >= (D + 1) * dy (num >= 0) or
// num > D * dy (num < 0), D = x - a.x; every product stays below 2^50.
inline std::uint32_t exact_crossing_right_of(const tagPOINT& a, const tagPOINT& b, std::int32_t x,
                                             std::int32_t h) {
  const std::int64_t dx = static_cast<std::int64_t>(b.x) - a.x;
  const std::int64_t dy = static_cast<std::int64_t>(b.y) - a.y;
  const std::int64_t num = dx * (static_cast<std::int64_t>(h) - a.y);
  const std::int64_t pos_num = dy < 0 ? -num : num;
  const std::int64_t pos_dy = dy < 0 ? -dy : dy;
  const std::int64_t slack = pos_num >= 0 ? pos_dy - 1 : 0;
  return static_cast<std::uint32_t>(pos_num >
                                    (static_cast<std::int64_t>(x) - a.x) * pos_dy + slack);
}

// Any straddling edge: the exact comparison where it applies, else the
// crossing coordinate itself (which may wrap) with its division.
inline std::uint32_t crossing_right_of(const tagPOINT& a, const tagPOINT& b, std::int32_t x,
                                       std::int32_t h) {
  if (exact_extent(a, b)) return exact_crossing_right_of(a, b, x, h);
  return static_cast<std::uint32_t>(x < wrapping_crossing_at<Row>(a, b, h));
}

// Ring of few points with some long edge: every straddling edge, closing
// edge (last to first) first.
[[gnu::noinline]] std::int32_t even_odd_small_wide(const tagPOINT* pts, std::int32_t n,
                                                   std::int32_t x, std::int32_t h) {
  std::uint32_t inside = 0;
  const tagPOINT* a = &pts[n - 1];
  for (std::int32_t i = 0; i < n; ++i) {
    if ((a->y <= h) != (pts[i].y <= h)) inside ^= crossing_right_of(*a, pts[i], x, h);
    a = &pts[i];
  }
  return static_cast<std::int32_t>(inside);
}

// Larger rings: the vectorised straddle pass finds the (few) straddling
// edges; the closing edge, last to first, comes last.
[[gnu::noinline]] std::int32_t even_odd_large(const tagPOINT* pts, std::int32_t n, std::int32_t x,
                                              std::int32_t h) {
  std::uint32_t inside = 0;
  for_each_straddling_edge<Row>(pts, n, h, [&](std::int32_t i) {
    inside ^= crossing_right_of(pts[i], pts[i + 1], x, h);
    return true;
  });
  const tagPOINT& last = pts[n - 1];
  if (straddles(last.y, pts[0].y, h)) inside ^= crossing_right_of(last, pts[0], x, h);
  return static_cast<std::int32_t>(inside);
}

// Equal consecutive points (and a closed ring's repeated first point) never
// straddle, so skipping the closing edge when its ends coincide is implicit.
// Rings of up to kSmallRing points take a plain loop over the edges, closing
// edge (last to first) first; only straddling edges do any arithmetic, and a
// long edge hands the ring over to the form that can divide (the loop itself
// calls nothing, which keeps it in few registers).
inline std::int32_t even_odd(const tagPOINT* pts, std::int32_t n, std::int32_t x, std::int32_t h) {
  if (n > kSmallRing) return even_odd_large(pts, n, x, h);
  if (n < 1) return 0;
  std::uint32_t inside = 0;
  const tagPOINT* a = &pts[n - 1];
  for (std::int32_t i = 0; i < n; ++i) {
    if ((a->y <= h) != (pts[i].y <= h)) {
      if (!exact_extent(*a, pts[i])) return even_odd_small_wide(pts, n, x, h);
      inside ^= exact_crossing_right_of(*a, pts[i], x, h);
    }
    a = &pts[i];
  }
  return static_cast<std::int32_t>(inside);
}

}  // namespace

}  // namespace kelvor::detail

std::int32_t Point_Polygon_Intersect(const tagPOINT* p, const tagPOINT* pts, std::int32_t n) {
  return kelvor::detail::even_odd(pts, n, p->x, p->y);
}

std::int32_t Polygon_Contain_Point(const tagPOINT* pts, std::int32_t n, const tagPOINT* p) {
  return kelvor::detail::even_odd(pts, n, p->x, p->y);
}
