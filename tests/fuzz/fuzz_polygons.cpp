// Polylines, polygons and spans on rings of 0 to a few hundred points with
// coordinates across the whole 32-bit range: the even-odd rule (at the given
// point and beside every vertex) and every span test against the scan-line
// model, a ring given closed against the same ring given open, and the
// composed meeting and containment tests against their definitions.
#include <kelvor/planar.h>

#include <algorithm>
#include <cstdint>

#include "fuzz_input.h"

namespace fuzz {
namespace {

I32 size_of(const Ring& r) { return static_cast<I32>(r.size()); }
const tagPOINT* data_of(const Ring& r) { return r.empty() ? nullptr : r.data(); }

// A scan-line coordinate near the ring (where crossings happen) or anywhere.
I32 line_near(Input& in, const Ring& r, bool row) {
  if (r.empty() || in.byte() % 4 == 0) return in.varied();
  const tagPOINT& v = r[in.u32() % r.size()];
  return wrap_add(row ? v.y : v.x, in.in(-3, 3));
}

// The composed tests, written out from their definitions on top of the
// elementary predicates.
int seg_polygon(const tagPOINT& a, const tagPOINT& b, const tagPOINT* pts, I32 n) {
  if (n <= 0) return 0;
  if (Point_Polygon_Intersect(&a, pts, n) || Point_Polygon_Intersect(&b, pts, n)) return 1;
  for (I32 i = 0; i + 1 < n; ++i)
    if (Segment_Segment_Intersect(&a, &b, &pts[i], &pts[i + 1], nullptr)) return 1;
  return Segment_Segment_Intersect(&a, &b, &pts[0], &pts[n - 1], nullptr);
}
int polyline_polygon(const tagPOINT* pl, I32 n, const tagPOINT* pg, I32 m) {
  for (I32 i = 0; i + 1 < n; ++i)
    if (seg_polygon(pl[i], pl[i + 1], pg, m)) return 1;
  return 0;
}
int contain_rect(const tagPOINT* pts, I32 n, const tagPOINT& mn, const tagPOINT& mx) {
  return Polygon_Contain_Horizon(pts, n, mn.x, mx.x, mn.y) &&
         Polygon_Contain_Horizon(pts, n, mn.x, mx.x, mx.y) &&
         Polygon_Contain_Vertical(pts, n, mn.y, mx.y, mn.x) &&
         Polygon_Contain_Vertical(pts, n, mn.y, mx.y, mx.x);
}
int contain_segment(const tagPOINT* pts, I32 n, const tagPOINT& a, const tagPOINT& b) {
  if (n <= 0) return 0;
  const tagPOINT mn{std::min(a.x, b.x), std::min(a.y, b.y)};
  const tagPOINT mx{std::max(a.x, b.x), std::max(a.y, b.y)};
  if (contain_rect(pts, n, mn, mx)) return 1;
  if (!Polygon_Contain_Point(pts, n, &a) || !Polygon_Contain_Point(pts, n, &b)) return 0;
  if (Segment_Polyline_Intersect(&a, &b, pts, n)) return 0;
  return Segment_Segment_Intersect(&a, &b, &pts[0], &pts[n - 1], nullptr) ? 0 : 1;
}

void spans(Input& in, const Ring& r, const Ring& closed, bool row) {
  const I32 n = size_of(r);
  const tagPOINT* pts = data_of(r);
  const I32 at = line_near(in, r, row);
  I32 from = line_near(in, r, !row), to = line_near(in, r, !row);
  if (in.flag() && from > to) std::swap(from, to);
  bool full = true;
  const std::vector<I32> list = scan(pts, n, at, row, &full);

  const int meets =
      (row ? Polygon_Horizon_Intersect : Polygon_Vertical_Intersect)(pts, n, from, to, at);
  const int holds =
      (row ? Polygon_Contain_Horizon : Polygon_Contain_Vertical)(pts, n, from, to, at);
  const int k = first_met(list, from, to);
  FUZZ_CHECK(meets == (k >= 0 ? 1 : 0), "row=%d at=%d from=%d to=%d n=%d got=%d", row, at, from, to,
             n, meets);
  FUZZ_CHECK(holds == span_contained(list, from, to), "row=%d at=%d from=%d to=%d n=%d got=%d", row,
             at, from, to, n, holds);

  I32 cf = from, ct = to;
  const int clipped = (row ? Polygon_Clip_Horizon : Polygon_Clip_Vertical)(pts, n, &cf, &ct, at);
  FUZZ_CHECK(clipped == meets, "clip answered %d, meet test %d", clipped, meets);
  if (!clipped) {
    FUZZ_CHECK(cf == from && ct == to, "rejected span changed");
  } else {
    const I32 lo = list[k], hi = list[k + 1];
    const I32 want_from = from > lo && from < hi ? from : lo;
    FUZZ_CHECK(cf == want_from && ct == std::min(to, hi),
               "row=%d at=%d span [%d,%d) cut to [%d,%d), inside span [%d,%d)", row, at, from, to,
               cf, ct, lo, hi);
    // Within the span and within the inside span.
    FUZZ_CHECK(cf >= from && ct <= to && cf >= lo && ct <= hi, "clip result out of bounds");
  }

  // Polyline crossings: any straddling edge, crossing from its start point.
  int pl = 0;
  for (I32 i = 0; i + 1 < n && !pl; ++i) {
    if (!straddles(r[i], r[i + 1], at, row)) continue;
    const I32 c = wrapping_crossing(r[i], r[i + 1], at, row);
    pl = from <= c && c < to;
  }
  FUZZ_CHECK(
      (row ? Polyline_Horizon_Intersect : Polyline_Vertical_Intersect)(pts, n, from, to, at) == pl,
      "polyline span test, row=%d at=%d", row, at);

  // The same ring given closed answers alike while nothing is truncated.
  if (n > 0 && full && list.size() < 30) {
    const I32 m = size_of(closed);
    FUZZ_CHECK((row ? Polygon_Horizon_Intersect : Polygon_Vertical_Intersect)(
                   closed.data(), m, from, to, at) == meets &&
                   (row ? Polygon_Contain_Horizon : Polygon_Contain_Vertical)(
                       closed.data(), m, from, to, at) == holds,
               "closed ring differs, row=%d at=%d from=%d to=%d", row, at, from, to);
  }
}

void rings(Input& in) {
  const Ring r = in.ring(300);
  const I32 n = size_of(r);
  const tagPOINT* pts = data_of(r);
  Ring closed = r;
  if (!r.empty()) closed.push_back(r.front());
  const std::uint8_t scale = in.byte() % 6;
  tagPOINT p = in.point(scale), q = in.point(scale);
  if (!r.empty() && in.flag()) p = r[in.u32() % r.size()];  // vertices and edges matter

  // Even-odd rule: both names, the model, and the ring given closed, at p and
  // on and beside (the first 64) vertices, where truncation decides.
  Ring probes{p};
  for (std::size_t i = 0; i < r.size() && i < 64; ++i)
    for (const tagPOINT d : {tagPOINT{0, 0}, {-1, 0}, {1, 0}, {0, -1}, {1, 1}})
      probes.push_back({wrap_add(r[i].x, d.x), wrap_add(r[i].y, d.y)});
  for (const tagPOINT& t : probes) {
    const int inside = Point_Polygon_Intersect(&t, pts, n);
    FUZZ_CHECK(inside == Polygon_Contain_Point(pts, n, &t), "the two names differ");
    FUZZ_CHECK(inside == even_odd(pts, n, t), "p=(%d,%d) n=%d got=%d", t.x, t.y, n, inside);
    if (n > 0)
      FUZZ_CHECK(Point_Polygon_Intersect(&t, closed.data(), n + 1) == inside, "closed ring");
  }
  for (int line = 0; line < 4; ++line) {
    spans(in, r, closed, true);
    spans(in, r, closed, false);
  }

  // Point and segment against the polyline and the polygon.
  int on_line = 0;
  for (I32 i = 0; i + 1 < n && !on_line; ++i)
    on_line = Point_Segment_Intersect(&p, &r[i], &r[i + 1]);
  FUZZ_CHECK(Point_Polyline_Intersect(&p, pts, n) == on_line, "point on polyline");
  int seg_line = 0;
  for (I32 i = 0; i + 1 < n && !seg_line; ++i)
    seg_line = Segment_Segment_Intersect(&p, &q, &r[i], &r[i + 1], nullptr);
  FUZZ_CHECK(Segment_Polyline_Intersect(&p, &q, pts, n) == seg_line, "segment meets polyline");
  FUZZ_CHECK(Segment_Polygon_Intersect(&p, &q, pts, n) == seg_polygon(p, q, pts, n),
             "segment meets polygon");
  FUZZ_CHECK(Polygon_Contain_Segment(pts, n, &p, &q) == contain_segment(pts, n, p, q),
             "polygon holds segment");

  // Rectangle against the polyline and the polygon.
  tagPOINT mn = p, mx = q;
  if (mn.x > mx.x) std::swap(mn.x, mx.x);
  if (mn.y > mx.y) std::swap(mn.y, mx.y);
  int rect_line = 0;
  for (I32 i = 0; i + 1 < n && !rect_line; ++i)
    rect_line = Segment_Rect_Intersect(&r[i], &r[i + 1], &mn, &mx);
  FUZZ_CHECK(Rect_Polyline_Intersect(&mn, &mx, pts, n) == rect_line, "rect meets polyline");
  int rect_gon = 0;
  if (n > 0) {
    const tagPOINT corners[4] = {mn, mx, {mn.x, mx.y}, {mx.x, mn.y}};
    for (const tagPOINT& c : corners) rect_gon = rect_gon || Point_Polygon_Intersect(&c, pts, n);
    rect_gon = rect_gon || rect_line || Segment_Rect_Intersect(&r[0], &r[n - 1], &mn, &mx);
  }
  FUZZ_CHECK(Rect_Polygon_Intersect(&mn, &mx, pts, n) == rect_gon, "rect meets polygon");
  FUZZ_CHECK(Polygon_Contain_Rect(pts, n, &mn, &mx) == contain_rect(pts, n, mn, mx),
             "polygon holds rect");

  // A second, shorter figure against the ring, both ways round.
  const Ring s = in.ring(24);
  const I32 m = size_of(s);
  const tagPOINT* sp = data_of(s);
  int ll = 0;
  for (I32 i = 0; i + 1 < m && !ll; ++i) ll = Segment_Polyline_Intersect(&s[i], &s[i + 1], pts, n);
  FUZZ_CHECK(Polyline_Polyline_Intersect(pts, n, sp, m) == ll, "polyline meets polyline");
  FUZZ_CHECK(Polyline_Polygon_Intersect(sp, m, pts, n) == polyline_polygon(sp, m, pts, n),
             "polyline meets polygon");
  int gg = 0;
  if (n > 0 && m > 0)
    gg = polyline_polygon(sp, m, pts, n) || seg_polygon(s[0], s[m - 1], pts, n) ||
         polyline_polygon(pts, n, sp, m) || seg_polygon(r[0], r[n - 1], sp, m);
  FUZZ_CHECK(Polygon_Polygon_Intersect(pts, n, sp, m) == gg, "polygon meets polygon");
  int holds_line = 1;
  for (I32 i = 0; i + 1 < m && holds_line; ++i)
    holds_line = contain_segment(pts, n, s[i], s[i + 1]);
  FUZZ_CHECK(Polygon_Contain_Polyline(pts, n, sp, m) == holds_line, "polygon holds polyline");
  int holds_gon = holds_line;
  if (m > 0 && holds_gon) holds_gon = contain_segment(pts, n, s[0], s[m - 1]);
  FUZZ_CHECK(Polygon_Contain_Polygon(pts, n, sp, m) == holds_gon, "polygon holds polygon");
  int all_in = 1;
  for (I32 i = 0; i < m && all_in; ++i) all_in = Rect_Contain_Point(&mn, &mx, &s[i]);
  FUZZ_CHECK(Rect_Contain_Polygon(&mn, &mx, sp, m) == all_in &&
                 Rect_Contain_Polyline(&mn, &mx, sp, m) == all_in,
             "rect holds points");
}

}  // namespace
}  // namespace fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fuzz;  // the target's checks, in this function only
  Input in(data, size);
  rings(in);
  return 0;
}
