// The shape classes: every Contain and Intersect overload of KPOINT, KRECT,
// KPLINE and KPGON, called through KShape references, against its
// definition in rectangle pre-tests and planar predicates (the sampled
// polygon-meets-polygon test included); emptiness, comparison and
// clipping; GetMBR bounds and attains every extreme.
#include <kelvor/planar.h>
#include <kelvor/shapes.h>

#include <algorithm>
#include <cstdint>

#include "fuzz_input.h"

namespace fuzz {
namespace {

bool empty(const KRECT& r) { return r.ptMin.x > r.ptMax.x || r.ptMin.y > r.ptMax.y; }
bool half_open(const KRECT& r, const tagPOINT& q) {
  return r.ptMin.x <= q.x && q.x < r.ptMax.x && r.ptMin.y <= q.y && q.y < r.ptMax.y;
}
bool point_meets(const KRECT& r, const tagPOINT& q) {
  return r.ptMin.x <= q.x && q.x < r.ptMax.x && r.ptMin.y <= q.y && q.y <= r.ptMax.y;
}
bool overlap(const KRECT& a, const KRECT& b) {
  return a.ptMin.x < b.ptMax.x && a.ptMin.y < b.ptMax.y && a.ptMax.x > b.ptMin.x &&
         a.ptMax.y > b.ptMin.y;
}

// ---- the relations, from their definitions ----------------------------------

bool rect_contain_point(const KRECT& r, const tagPOINT& q) { return !empty(r) && half_open(r, q); }
bool rect_contain_rect(const KRECT& r, const KRECT& rc) {
  if (empty(r)) return false;
  if (empty(rc)) return true;
  return Rect_Contain_Rect(&r.ptMin, &r.ptMax, &rc.ptMin, &rc.ptMax) != 0;
}
bool rect_contain_segment(const KRECT& r, const tagPOINT& a, const tagPOINT& b) {
  return !empty(r) && half_open(r, a) && half_open(r, b);
}
bool rect_intersect_rect(const KRECT& r, const KRECT& rc) {
  return !empty(r) && !empty(rc) && overlap(r, rc);
}
bool rect_intersect_segment(const KRECT& r, const tagPOINT& a, const tagPOINT& b) {
  return !empty(r) && Segment_Rect_Intersect(&a, &b, &r.ptMin, &r.ptMax) != 0;
}
bool rect_intersect_polygon(const KRECT& r, const KPGON& pg) {
  if (empty(r) || pg.nCount < 3 || !rect_intersect_rect(r, pg.rcBound)) return false;
  if (rect_contain_rect(r, pg.rcBound)) return true;
  return Rect_Polygon_Intersect(&r.ptMin, &r.ptMax, pg.pPoints, pg.nCount) != 0;
}
bool rect_intersect_polyline(const KRECT& r, const KPLINE& pl) {
  if (!rect_intersect_rect(r, pl.rcBound)) return false;
  if (rect_contain_rect(r, pl.rcBound)) return true;
  return Rect_Polyline_Intersect(&r.ptMin, &r.ptMax, pl.pPoints, pl.nCount) != 0;
}

bool gon_contain_point(const KPGON& g, const tagPOINT& q) {
  return rect_contain_point(g.rcBound, q) && Polygon_Contain_Point(g.pPoints, g.nCount, &q);
}
bool gon_contain_rect(const KPGON& g, const KRECT& rc) {
  return rect_contain_rect(g.rcBound, rc) &&
         Polygon_Contain_Rect(g.pPoints, g.nCount, &rc.ptMin, &rc.ptMax);
}
bool gon_contain_segment(const KPGON& g, const tagPOINT& a, const tagPOINT& b) {
  return rect_contain_segment(g.rcBound, a, b) &&
         Polygon_Contain_Segment(g.pPoints, g.nCount, &a, &b);
}
bool gon_contain_polyline(const KPGON& g, const KPLINE& pl) {
  return rect_contain_rect(g.rcBound, pl.rcBound) &&
         Polygon_Contain_Polyline(g.pPoints, g.nCount, pl.pPoints, pl.nCount);
}
bool gon_contain_polygon(const KPGON& g, const KPGON& pg) {
  if (!rect_contain_rect(g.rcBound, pg.rcBound)) return false;
  if (gon_contain_rect(g, pg.rcBound)) return true;
  for (I32 i = 0; i < pg.nCount; i += 3)
    if (!gon_contain_point(g, pg.pPoints[i])) return false;
  return true;
}
bool gon_intersect_polyline(const KPGON& g, const KPLINE& pl) {
  if (empty(g.rcBound) || empty(pl.rcBound)) return false;
  KRECT c = pl.rcBound;
  if (!Rect_Clip_Rect(&g.rcBound.ptMin, &g.rcBound.ptMax, &c.ptMin, &c.ptMax)) return false;
  return Polyline_Polygon_Intersect(pl.pPoints, pl.nCount, g.pPoints, g.nCount) != 0;
}
bool gon_intersect_rect(const KPGON& g, const KRECT& rc) {
  if (!rect_intersect_rect(g.rcBound, rc)) return false;
  if (gon_contain_rect(g, rc)) return true;
  return Rect_Polygon_Intersect(&rc.ptMin, &rc.ptMax, g.pPoints, g.nCount) != 0;
}
bool gon_intersect_segment(const KPGON& g, const tagPOINT& a, const tagPOINT& b) {
  return rect_intersect_segment(g.rcBound, a, b) &&
         Segment_Polygon_Intersect(&a, &b, g.pPoints, g.nCount);
}

// The sampled test. *decided is false where the probe loop would step past
// the 32-bit range or the overlap is wider than 2^31 - 1, whose handling is
// the implementer's choice.
bool gon_intersect_polygon(const KPGON& g, const KPGON& pg, bool* decided) {
  *decided = true;
  KRECT c = pg.rcBound;
  if (empty(g.rcBound) || empty(c)) return false;
  if (!Rect_Clip_Rect(&g.rcBound.ptMin, &g.rcBound.ptMax, &c.ptMin, &c.ptMax)) return false;
  if (gon_contain_rect(g, pg.rcBound)) return true;
  if (gon_contain_rect(pg, g.rcBound)) return true;
  if (!Rect_Polygon_Intersect(&c.ptMin, &c.ptMax, g.pPoints, g.nCount)) return false;
  const I64 h = I64{c.ptMax.y} - c.ptMin.y, w = I64{c.ptMax.x} - c.ptMin.x;
  const I64 sy = std::max<I64>(h >> 2, 1), sx = std::max<I64>(w >> 2, 1);
  if (h > kMax || w > kMax || c.ptMax.y + sy > kMax || c.ptMax.x + sx > kMax) {
    *decided = false;
    return false;
  }
  for (I64 y = c.ptMin.y + sy; y <= c.ptMax.y; y += sy) {
    I32 x1 = c.ptMin.x, x2 = c.ptMax.x;
    if (Polygon_Clip_Horizon(g.pPoints, g.nCount, &x1, &x2, static_cast<I32>(y)) &&
        Polygon_Horizon_Intersect(pg.pPoints, pg.nCount, x1, x2, static_cast<I32>(y)))
      return true;
  }
  for (I64 x = c.ptMin.x + sx; x <= c.ptMax.x; x += sx) {
    I32 y1 = c.ptMin.y, y2 = c.ptMax.y;
    if (Polygon_Clip_Vertical(g.pPoints, g.nCount, &y1, &y2, static_cast<I32>(x)) &&
        Polygon_Vertical_Intersect(pg.pPoints, pg.nCount, y1, y2, static_cast<I32>(x)))
      return true;
  }
  return false;
}

bool line_intersect_polygon(const KPLINE& l, const KPGON& pg) {
  return l.nCount >= 2 && pg.nCount >= 3 && overlap(l.rcBound, pg.rcBound) &&
         Polyline_Polygon_Intersect(l.pPoints, l.nCount, pg.pPoints, pg.nCount);
}
bool line_intersect_polyline(const KPLINE& l, const KPLINE& pl) {
  return l.nCount >= 2 && pl.nCount >= 2 && overlap(l.rcBound, pl.rcBound) &&
         Polyline_Polyline_Intersect(l.pPoints, l.nCount, pl.pPoints, pl.nCount);
}
bool line_intersect_rect(const KPLINE& l, const KRECT& rc) {
  return l.nCount >= 2 && !empty(rc) && overlap(l.rcBound, rc) &&
         Rect_Polyline_Intersect(&rc.ptMin, &rc.ptMax, l.pPoints, l.nCount);
}
bool line_intersect_segment(const KPLINE& l, const tagPOINT& a, const tagPOINT& b) {
  return l.nCount >= 2 && Segment_Rect_Intersect(&a, &b, &l.rcBound.ptMin, &l.rcBound.ptMax) &&
         Segment_Polyline_Intersect(&a, &b, l.pPoints, l.nCount);
}
bool line_intersect_point(const KPLINE& l, const tagPOINT& q) {
  return l.nCount >= 2 && rect_contain_point(l.rcBound, q) &&
         Point_Polyline_Intersect(&q, l.pPoints, l.nCount);
}

// ---- building shapes from the input -------------------------------------------

KRECT make_rect(Input& in, std::uint8_t scale) {
  switch (in.byte() % 8) {
    case 0: return KRECT();
    case 1: {  // inverted: empty, but not canonical
      const tagPOINT a = in.point(scale), b = in.point(scale);
      return KRECT(std::max(a.x, b.x), a.y, std::min(a.x, b.x), b.y);
    }
    default: {
      tagPOINT a = in.point(scale), b = in.point(scale);
      if (a.x > b.x) std::swap(a.x, b.x);
      if (a.y > b.y) std::swap(a.y, b.y);
      return KRECT(a, b);
    }
  }
}

// Shapes over a ring: the count as given, sometimes fewer points than held,
// sometimes with a trusted bounding rectangle that need not bound them.
template <class Shape>
Shape make_array_shape(Input& in, Ring& r, std::uint8_t scale) {
  I32 n = static_cast<I32>(r.size());
  if (in.byte() % 8 == 0) n = in.in(-2, n);
  tagPOINT* p = r.empty() ? nullptr : r.data();
  if (n > 0 && p == nullptr) n = 0;
  if (in.byte() % 8 == 0) return Shape(n, p, make_rect(in, scale));
  return Shape(n, p);
}

// GetMBR bounds every point and attains each side; the shapes cache it.
void check_bounds(Ring& r) {
  const I32 n = static_cast<I32>(r.size());
  if (n < 1) return;
  KRECT b;
  GetMBR(b, n, r.data());
  bool lx = false, ly = false, hx = false, hy = false;
  for (const tagPOINT& q : r) {
    FUZZ_CHECK(b.ptMin.x <= q.x && q.x <= b.ptMax.x && b.ptMin.y <= q.y && q.y <= b.ptMax.y,
               "GetMBR misses (%d,%d)", q.x, q.y);
    lx |= q.x == b.ptMin.x, ly |= q.y == b.ptMin.y, hx |= q.x == b.ptMax.x, hy |= q.y == b.ptMax.y;
  }
  FUZZ_CHECK(lx && ly && hx && hy, "GetMBR side not attained");
  if (n >= 2) FUZZ_CHECK(KPLINE(n, r.data()).rcBound == b, "polyline bound");
  if (n >= 3) FUZZ_CHECK(KPGON(n, r.data()).rcBound == b, "polygon bound");
}

void check_rect_members(const KRECT& r, const KRECT& rc, const tagPOINT& a, const tagPOINT& b) {
  FUZZ_CHECK(r.IsEmpty() == (empty(r) ? 1 : 0), "IsEmpty");
  FUZZ_CHECK((r == rc) == (r.ptMin.x == rc.ptMin.x && r.ptMin.y == rc.ptMin.y &&
                           r.ptMax.x == rc.ptMax.x && r.ptMax.y == rc.ptMax.y) &&
                 (r != rc) == !(r == rc),
             "rectangle comparison");
  KRECT cut = rc;
  const int clipped = r.Clipping(cut);
  KRECT want = rc;
  int want_clipped = 0;
  if (!empty(r) && !empty(rc))
    want_clipped = Rect_Clip_Rect(&r.ptMin, &r.ptMax, &want.ptMin, &want.ptMax);
  FUZZ_CHECK(clipped == want_clipped && cut == want, "Clipping of a rectangle");
  tagPOINT ca = a, cb = b, wa = a, wb = b;
  const int seg = r.Clipping(ca, cb);
  const int want_seg = empty(r) ? 0 : Rect_Clip_Segment(&r.ptMin, &r.ptMax, &wa, &wb);
  FUZZ_CHECK(seg == want_seg && same(ca, wa) && same(cb, wb), "Clipping of a segment");
}

#define RELATION(got, want, what) \
  FUZZ_CHECK(((got) != 0) == static_cast<bool>(want), "%s: got %d", what, static_cast<int>(got))

void relations(const KPOINT& p, const KRECT& r, const KPLINE& l, const KPGON& g, const KPLINE& l2,
               const KPGON& g2, const KRECT& r2, const tagPOINT& a, const tagPOINT& b,
               const tagPOINT& q) {
  const KShape base;
  const KShape* all[] = {&base, &p, &r, &l, &g};
  // Operations a class does not override answer 0.
  for (const KShape* s : {all[0], all[1], all[3]}) {
    FUZZ_CHECK(!s->Contain(g2) && !s->Contain(l2) && !s->Contain(r2) && !s->Contain(a, b) &&
                   !s->Contain(q),
               "a point, polyline or plain shape contains something");
  }
  FUZZ_CHECK(!base.Intersect(g2) && !base.Intersect(l2) && !base.Intersect(r2) &&
                 !base.Intersect(a, b) && !base.Intersect(q),
             "a plain shape meets something");
  const KShape& rs = r;
  const KShape& gs = g;
  FUZZ_CHECK(!rs.Intersect(q) && !gs.Intersect(q), "rectangle or polygon meets a point");

  const KShape& ps = p;
  RELATION(ps.Intersect(g2),
           point_meets(g2.rcBound, p.pt) && Point_Polygon_Intersect(&p.pt, g2.pPoints, g2.nCount),
           "point meets polygon");
  RELATION(ps.Intersect(l2),
           point_meets(l2.rcBound, p.pt) && Point_Polyline_Intersect(&p.pt, l2.pPoints, l2.nCount),
           "point meets polyline");
  RELATION(ps.Intersect(r2), point_meets(r2, p.pt), "point meets rectangle");
  RELATION(ps.Intersect(a, b), Point_Segment_Intersect(&p.pt, &a, &b), "point on segment");
  RELATION(ps.Intersect(q), same(p.pt, q), "point meets point");
  RELATION(p == q, same(p.pt, q), "point ==");

  RELATION(rs.Contain(g2), rect_contain_rect(r, g2.rcBound), "rect holds polygon");
  RELATION(rs.Contain(l2), rect_contain_rect(r, l2.rcBound), "rect holds polyline");
  RELATION(rs.Contain(r2), rect_contain_rect(r, r2), "rect holds rect");
  RELATION(rs.Contain(a, b), rect_contain_segment(r, a, b), "rect holds segment");
  RELATION(rs.Contain(q), rect_contain_point(r, q), "rect holds point");
  RELATION(rs.Intersect(g2), rect_intersect_polygon(r, g2), "rect meets polygon");
  RELATION(rs.Intersect(l2), rect_intersect_polyline(r, l2), "rect meets polyline");
  RELATION(rs.Intersect(r2), rect_intersect_rect(r, r2), "rect meets rect");
  RELATION(rs.Intersect(a, b), rect_intersect_segment(r, a, b), "rect meets segment");

  const KShape& ls = l;
  RELATION(ls.Intersect(g2), line_intersect_polygon(l, g2), "polyline meets polygon");
  RELATION(ls.Intersect(l2), line_intersect_polyline(l, l2), "polyline meets polyline");
  RELATION(ls.Intersect(r2), line_intersect_rect(l, r2), "polyline meets rect");
  RELATION(ls.Intersect(a, b), line_intersect_segment(l, a, b), "polyline meets segment");
  RELATION(ls.Intersect(q), line_intersect_point(l, q), "polyline meets point");

  RELATION(gs.Contain(g2), gon_contain_polygon(g, g2), "polygon holds polygon");
  RELATION(gs.Contain(l2), gon_contain_polyline(g, l2), "polygon holds polyline");
  RELATION(gs.Contain(r2), gon_contain_rect(g, r2), "polygon holds rect");
  RELATION(gs.Contain(a, b), gon_contain_segment(g, a, b), "polygon holds segment");
  RELATION(gs.Contain(q), gon_contain_point(g, q), "polygon holds point");
  bool decided = true;
  const bool meets = gon_intersect_polygon(g, g2, &decided);
  const std::int32_t got = gs.Intersect(g2);
  if (decided) RELATION(got, meets, "polygon meets polygon");
  RELATION(gs.Intersect(l2), gon_intersect_polyline(g, l2), "polygon meets polyline");
  RELATION(gs.Intersect(r2), gon_intersect_rect(g, r2), "polygon meets rect");
  RELATION(gs.Intersect(a, b), gon_intersect_segment(g, a, b), "polygon meets segment");
}

void shapes(Input& in) {
  const std::uint8_t scale = in.byte() % 6;
  Ring ra = in.ring(30), rb = in.ring(30);
  const KPOINT p(in.point(scale));
  const KRECT r = make_rect(in, scale), r2 = make_rect(in, scale);
  const KPLINE l = make_array_shape<KPLINE>(in, ra, scale);
  const KPGON g = make_array_shape<KPGON>(in, ra, scale);
  const KPLINE l2 = make_array_shape<KPLINE>(in, rb, scale);
  const KPGON g2 = in.flag() ? make_array_shape<KPGON>(in, rb, scale) : g;
  tagPOINT a = in.point(scale), b = in.point(scale), q = in.point(scale);
  if (!ra.empty() && in.flag()) q = ra[in.u32() % ra.size()];
  if (!rb.empty() && in.flag()) a = rb[in.u32() % rb.size()];

  check_bounds(ra);
  check_rect_members(r, r2, a, b);
  relations(p, r, l, g, l2, g2, r2, a, b, q);
  relations(p, r2, l2, g2, l, g, r, b, a, q);
  const KPGON& self = g;
  RELATION(self.Contain(KRECT(g.rcBound)), gon_contain_rect(g, g.rcBound), "own bound");
  if (!rb.empty() && in.byte() % 2 == 0) {  // a rectangle hugging the second ring's bound
    KRECT hug;
    GetMBR(hug, static_cast<I32>(rb.size()), rb.data());
    hug = KRECT(wrap_sub(hug.ptMin.x, in.in(-1, 2)), wrap_sub(hug.ptMin.y, in.in(-1, 2)),
                wrap_add(hug.ptMax.x, in.in(-1, 2)), wrap_add(hug.ptMax.y, in.in(-1, 2)));
    relations(p, hug, l, g, l2, g2, hug, a, b, q);
  }
}

}  // namespace
}  // namespace fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fuzz;  // the target's checks, in this function only
  Input in(data, size);
  shapes(in);
  return 0;
}
