// Points, segments and rectangles: every predicate against a literal model
// wherever coordinate differences fit in 32 bits, the rectangle and segment
// clips against their models and against geometric invariants (a clipped
// figure lies in the clip rectangle, a rejected one is untouched, a short
// segment through the inside meets it), and symmetries that hold exactly
// while products stay exact in double.
#include <kelvor/planar.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "fuzz_input.h"

namespace fuzz {
namespace {

bool fits(I64 v) { return v >= kMin && v <= kMax; }
// True when no difference between any two of the points wraps.
bool no_wrap(std::initializer_list<tagPOINT> pts) {
  for (const tagPOINT& a : pts)
    for (const tagPOINT& b : pts)
      if (!fits(I64{a.x} - b.x) || !fits(I64{a.y} - b.y)) return false;
  return true;
}
// True when every coordinate is at most 2^bits in magnitude.
bool small(std::initializer_list<tagPOINT> pts, int bits) {
  for (const tagPOINT& a : pts)
    if (std::abs(I64{a.x}) > (I64{1} << bits) || std::abs(I64{a.y}) > (I64{1} << bits))
      return false;
  return true;
}
double dsub(I32 a, I32 b) { return static_cast<double>(wrap_sub(a, b)); }

int model_point_segment(const tagPOINT& p, const tagPOINT& a, const tagPOINT& b) {
  if ((p.x < a.x && p.x < b.x) || (p.x > a.x && p.x > b.x)) return 0;
  if ((p.y < a.y && p.y < b.y) || (p.y > a.y && p.y > b.y)) return 0;
  return dsub(p.x, a.x) * dsub(b.y, a.y) == dsub(p.y, a.y) * dsub(b.x, a.x) ? 1 : 0;
}

// The crossing test with its crossing point; only called where the
// differences fit, so every conversion below is in range.
int model_segments(const tagPOINT& a, const tagPOINT& b, const tagPOINT& c, const tagPOINT& d,
                   tagPOINT* out) {
  using std::max;
  using std::min;
  if (!(min(a.x, b.x) < max(c.x, d.x) && min(a.y, b.y) < max(c.y, d.y) &&
        min(c.x, d.x) < max(a.x, b.x) && min(c.y, d.y) < max(a.y, b.y)))
    return 0;
  const double d1x = dsub(b.x, a.x), d1y = dsub(b.y, a.y);
  const double d2x = dsub(d.x, c.x), d2y = dsub(d.y, c.y);
  const double den = d1x * d2y - d1y * d2x;
  if (den == 0) {
    const tagPOINT* hit =
        model_point_segment(c, a, b) ? &c : (model_point_segment(d, a, b) ? &d : nullptr);
    if (hit == nullptr) return 0;
    if (out) *out = *hit;
    return 1;
  }
  const double ex = dsub(c.x, a.x), ey = dsub(c.y, a.y);
  const double u = ex * d1y - ey * d1x, t = ex * d2y - ey * d2x;
  const bool inside = den > 0 ? (0 <= u && u <= den && 0 <= t && t <= den)
                              : (den <= u && u <= 0 && den <= t && t <= 0);
  if (!inside) return 0;
  if (out) {
    out->x = a.x + static_cast<I32>(std::trunc(d1x * t / den));
    out->y = a.y + static_cast<I32>(std::trunc(t * d1y / den));
  }
  return 1;
}

int code(const tagPOINT& p, const tagPOINT& mn, const tagPOINT& mx) {
  int c = p.x < mn.x ? 1 : (p.x >= mx.x ? 2 : 0);
  return c | (p.y < mn.y ? 4 : (p.y >= mx.y ? 8 : 0));
}

struct Edges {
  tagPOINT left[2], top[2], right[2], bottom[2];
  explicit Edges(const tagPOINT& mn, const tagPOINT& mx)
      : left{{mn.x, mn.y}, {mn.x, mx.y}},
        top{{mx.x, mx.y}, {mn.x, mx.y}},
        right{{mx.x, mx.y}, {mx.x, mn.y}},
        bottom{{mn.x, mn.y}, {mx.x, mn.y}} {}
};

int model_segment_rect(const tagPOINT& p, const tagPOINT& q, const tagPOINT& mn,
                       const tagPOINT& mx) {
  const int cp = code(p, mn, mx), cq = code(q, mn, mx);
  if (cp == 0 || cq == 0) return 1;
  if (cp & cq) return 0;
  if ((cp | cq) == 3 || (cp | cq) == 12) return 1;
  const Edges e(mn, mx);
  auto hit = [&](const tagPOINT* edge) {
    return Segment_Segment_Intersect(&p, &q, &edge[0], &edge[1], nullptr) != 0;
  };
  switch (cp) {
    case 1: return hit(e.left);
    case 2: return hit(e.right);
    case 4: return hit(e.bottom);
    case 8: return hit(e.top);
    case 9: return hit(e.top) || hit(e.left);
    case 10: return hit(e.top) || hit(e.right);
    case 6: return hit(e.right) || hit(e.bottom);
    case 5: return hit(e.left) || hit(e.bottom);
  }
  return 0;
}

// Where the segment p-q meets an edge line that the crossing test misses
// because the boxes only touch: an end on that line, or the segment lying
// along the perpendicular side; both give whole coordinates.
tagPOINT on_line(const tagPOINT& p, const tagPOINT& q, const tagPOINT* edge) {
  if (edge[0].x == edge[1].x) {  // vertical edge line x = X
    const I32 X = edge[0].x;
    if (p.x == X) return p;
    if (q.x == X) return q;
    return {X, p.y};
  }
  const I32 Y = edge[0].y;
  if (p.y == Y) return p;
  if (q.y == Y) return q;
  return {p.x, Y};
}

// The region-code clip, step by step; p and q in, clipped p and q out.
int model_clip_segment(const tagPOINT& mn, const tagPOINT& mx, tagPOINT& p, tagPOINT& q) {
  const int cp = code(p, mn, mx), cq = code(q, mn, mx);
  if (cp & cq) return 0;
  if (cp == 0 && cq == 0) return 1;
  const Edges e(mn, mx);
  const tagPOINT p0 = p, q0 = q;
  auto cross = [&](const tagPOINT* edge, tagPOINT* out) {
    return Segment_Segment_Intersect(&p0, &q0, &edge[0], &edge[1], out) != 0;
  };
  auto cross_or_line = [&](const tagPOINT* edge) {
    tagPOINT out;
    return cross(edge, &out) ? out : on_line(p0, q0, edge);
  };
  if (cp == 0 || cq == 0) {
    tagPOINT& E = cp == 0 ? q : p;
    const int c = cp == 0 ? cq : cp;
    const tagPOINT* order[2] = {nullptr, nullptr};
    switch (c) {
      case 1: order[0] = e.left; break;
      case 2: order[0] = e.right; break;
      case 4: order[0] = e.bottom; break;
      case 8: order[0] = e.top; break;
      case 9: order[0] = e.left, order[1] = e.top; break;
      case 10: order[0] = e.top, order[1] = e.right; break;
      case 6: order[0] = e.bottom, order[1] = e.right; break;
      case 5: order[0] = e.left, order[1] = e.bottom; break;
    }
    for (const tagPOINT* edge : order) {
      tagPOINT out;
      if (edge && cross(edge, &out)) {
        E = out;
        break;
      }
    }
    return 1;
  }
  if ((cp | cq) == 3) {
    const tagPOINT l = cross_or_line(e.left), r = cross_or_line(e.right);
    p = cp == 1 ? l : r;
    q = cp == 1 ? r : l;
    return 1;
  }
  if ((cp | cq) == 12) {
    const tagPOINT t = cross_or_line(e.top), b = cross_or_line(e.bottom);
    p = cp == 8 ? t : b;
    q = cp == 8 ? b : t;
    return 1;
  }
  tagPOINT found[2];
  int count = 0;
  for (const tagPOINT* edge : {e.left, e.top, e.right, e.bottom}) {
    if (count < 2 && cross(edge, &found[count])) ++count;
  }
  if (count < 2) return 0;
  const I64 given = q0.x != p0.x ? I64{q0.x} - p0.x : I64{q0.y} - p0.y;
  const I64 got = q0.x != p0.x ? I64{found[1].x} - found[0].x : I64{found[1].y} - found[0].y;
  const bool keep = (given > 0 && got > 0) || (given < 0 && got < 0);
  p = keep ? found[0] : found[1];
  q = keep ? found[1] : found[0];
  return 1;
}

bool in_closed(const tagPOINT& p, const tagPOINT& mn, const tagPOINT& mx) {
  return mn.x <= p.x && p.x <= mx.x && mn.y <= p.y && p.y <= mx.y;
}
bool in_half_open(const tagPOINT& p, const tagPOINT& mn, const tagPOINT& mx) {
  return mn.x <= p.x && p.x < mx.x && mn.y <= p.y && p.y < mx.y;
}

void segments(Input& in) {
  const std::uint8_t scale = in.byte() % 6;
  const tagPOINT a = in.point(scale), b = in.point(scale), c = in.point(scale), d = in.point(scale);
  const tagPOINT sentinel{0x5EED, -0x5EED};

  FUZZ_CHECK(Point_Point_Intersect(&a, &b) == (same(a, b) ? 1 : 0), "a=(%d,%d)", a.x, a.y);
  FUZZ_CHECK(Point_Segment_Intersect(&a, &a, &b) == 1 && Point_Segment_Intersect(&b, &a, &b) == 1,
             "an end of a segment is on it");
  const int ps = Point_Segment_Intersect(&c, &a, &b);
  FUZZ_CHECK(ps == model_point_segment(c, a, b), "p=(%d,%d) a=(%d,%d) b=(%d,%d) got=%d", c.x, c.y,
             a.x, a.y, b.x, b.y, ps);

  tagPOINT out = sentinel;
  const int ss = Segment_Segment_Intersect(&a, &b, &c, &d, &out);
  FUZZ_CHECK(ss == 0 || ss == 1, "result %d", ss);
  FUZZ_CHECK(ss == Segment_Segment_Intersect(&a, &b, &c, &d, nullptr), "out changes the answer");
  if (ss == 0) FUZZ_CHECK(same(out, sentinel), "rejected case wrote out");
  if (!no_wrap({a, b, c, d})) return;

  tagPOINT want = sentinel;
  const int ms = model_segments(a, b, c, d, &want);
  FUZZ_CHECK(ss == ms && same(out, want),
             "a=(%d,%d) b=(%d,%d) c=(%d,%d) d=(%d,%d) got=%d (%d,%d) want=%d (%d,%d)", a.x, a.y,
             b.x, b.y, c.x, c.y, d.x, d.y, ss, out.x, out.y, ms, want.x, want.y);
  if (ss) {
    // The crossing point lies on a-b's closed box (it is measured from a),
    // and while products are exact within a unit of c-d's.
    FUZZ_CHECK(std::min(a.x, b.x) <= out.x && out.x <= std::max(a.x, b.x) &&
                   std::min(a.y, b.y) <= out.y && out.y <= std::max(a.y, b.y),
               "crossing (%d,%d) off the segment", out.x, out.y);
    if (small({a, b, c, d}, 16))
      FUZZ_CHECK(std::min(c.x, d.x) - 1 <= out.x && out.x <= std::max(c.x, d.x) + 1 &&
                     std::min(c.y, d.y) - 1 <= out.y && out.y <= std::max(c.y, d.y) + 1,
                 "crossing (%d,%d) off the second segment", out.x, out.y);
  }
  // Products (of two differences) exact in double: crossing is a symmetric, orientation-free
  // question whenever the segments are not parallel.
  const double den = dsub(b.x, a.x) * dsub(d.y, c.y) - dsub(b.y, a.y) * dsub(d.x, c.x);
  if (small({a, b, c, d}, 20) && den != 0) {
    FUZZ_CHECK(Segment_Segment_Intersect(&c, &d, &a, &b, nullptr) == ss &&
                   Segment_Segment_Intersect(&b, &a, &d, &c, nullptr) == ss,
               "asymmetric answer for a=(%d,%d) b=(%d,%d) c=(%d,%d) d=(%d,%d)", a.x, a.y, b.x, b.y,
               c.x, c.y, d.x, d.y);
  }
}

void rectangles(Input& in) {
  const std::uint8_t scale = in.byte() % 6;
  tagPOINT mn = in.point(scale), mx = in.point(scale);
  if (!in.flag()) {  // mostly well-formed: min <= max in both axes
    if (mn.x > mx.x) std::swap(mn.x, mx.x);
    if (mn.y > mx.y) std::swap(mn.y, mx.y);
  }
  const bool well_formed = mn.x <= mx.x && mn.y <= mx.y;
  tagPOINT p = in.point(scale), q = in.point(scale);
  if (in.byte() % 4 == 0) p = {mn.x, p.y};  // on edge lines now and then
  if (in.byte() % 4 == 0) q = {q.x, mx.y};
  if (in.byte() % 8 == 0) q.y = p.y;
  if (in.byte() % 8 == 0) q.x = p.x;

  FUZZ_CHECK(Point_Rect_Intersect(&p, &mn, &mx) ==
                 (mn.x <= p.x && p.x < mx.x && mn.y <= p.y && p.y <= mx.y ? 1 : 0),
             "p=(%d,%d)", p.x, p.y);
  const int cp = Rect_Contain_Point(&mn, &mx, &p);
  FUZZ_CHECK(cp == (in_half_open(p, mn, mx) ? 1 : 0), "p=(%d,%d)", p.x, p.y);
  const int cr = Rect_Contain_Rect(&mn, &mx, &p, &q);
  FUZZ_CHECK(cr == Rect_Contain_Segment(&mn, &mx, &p, &q), "contain segment != contain rect");
  FUZZ_CHECK(cr == (in_half_open(p, mn, mx) && in_half_open(q, mn, mx) ? 1 : 0), "contain rect");
  const tagPOINT pair[2] = {p, q};
  FUZZ_CHECK(Rect_Contain_Polygon(&mn, &mx, pair, 2) == cr &&
                 Rect_Contain_Polyline(&mn, &mx, pair, 2) == cr &&
                 Rect_Contain_Polygon(&mn, &mx, nullptr, 0) == 1 &&
                 Rect_Contain_Polyline(&mn, &mx, nullptr, -3) == 1,
             "contain polygon/polyline");

  // Rectangle against rectangle: strict overlap, symmetric; the clip cuts to
  // the overlap or leaves everything untouched.
  tagPOINT lo = p, hi = q;
  if (lo.x > hi.x) std::swap(lo.x, hi.x);
  if (lo.y > hi.y) std::swap(lo.y, hi.y);
  const int rr = Rect_Rect_Intersect(&mn, &mx, &lo, &hi);
  FUZZ_CHECK(rr == (mn.x < hi.x && mn.y < hi.y && mx.x > lo.x && mx.y > lo.y ? 1 : 0), "overlap");
  FUZZ_CHECK(rr == Rect_Rect_Intersect(&lo, &hi, &mn, &mx), "overlap is symmetric");
  tagPOINT c1 = lo, c2 = hi;
  const int clipped = Rect_Clip_Rect(&mn, &mx, &c1, &c2);
  FUZZ_CHECK(clipped == rr, "clip answer %d, overlap %d", clipped, rr);
  if (clipped) {
    FUZZ_CHECK(c1.x == std::max(lo.x, mn.x) && c1.y == std::max(lo.y, mn.y) &&
                   c2.x == std::min(hi.x, mx.x) && c2.y == std::min(hi.y, mx.y),
               "clipped rectangle");
    if (well_formed)
      FUZZ_CHECK(in_closed(c1, mn, mx) && in_closed(c2, mn, mx) && c1.x <= c2.x && c1.y <= c2.y,
                 "clip (%d,%d)-(%d,%d) cut (%d,%d)-(%d,%d) to (%d,%d)-(%d,%d)", mn.x, mn.y, mx.x,
                 mx.y, lo.x, lo.y, hi.x, hi.y, c1.x, c1.y, c2.x, c2.y);
  } else {
    FUZZ_CHECK(same(c1, lo) && same(c2, hi), "rejected rectangle changed");
  }

  // Segment against rectangle.
  const int sr = Segment_Rect_Intersect(&p, &q, &mn, &mx);
  FUZZ_CHECK(sr == 0 || sr == 1, "result %d", sr);
  if (well_formed && no_wrap({p, q, mn, mx})) {
    FUZZ_CHECK(sr == model_segment_rect(p, q, mn, mx), "p=(%d,%d) q=(%d,%d) got=%d", p.x, p.y, q.x,
               q.y, sr);
  }
  // Geometry brackets the answer on short segments: samples at most half a
  // unit apart find any pass through the inside (an end on an excluded max
  // line aside: only that side's edge is tried) and any touch of the closed
  // rectangle comes within a quarter unit of one.
  if (well_formed && small({p, q, mn, mx}, 20) && std::abs(I64{q.x} - p.x) <= 22 &&
      std::abs(I64{q.y} - p.y) <= 22) {
    bool inside = false, near = false;
    for (int k = 0; k <= 64; ++k) {
      const double x = p.x + (q.x - p.x) * (k / 64.0), y = p.y + (q.y - p.y) * (k / 64.0);
      inside = inside || (mn.x <= x && x < mx.x && mn.y <= y && y < mx.y);
      near = near || (mn.x - .5 <= x && x <= mx.x + .5 && mn.y - .5 <= y && y <= mx.y + .5);
    }
    if (inside && p.x != mx.x && p.y != mx.y && q.x != mx.x && q.y != mx.y)
      FUZZ_CHECK(sr == 1, "segment through the inside missed");
    if (!near) FUZZ_CHECK(sr == 0, "segment clear of the rectangle met it");
  }
  tagPOINT cp1 = p, cq1 = q;
  const int cs = Rect_Clip_Segment(&mn, &mx, &cp1, &cq1);
  FUZZ_CHECK(cs == 0 || cs == 1, "result %d", cs);
  if (cs == 0) FUZZ_CHECK(same(cp1, p) && same(cq1, q), "rejected segment changed");
  if (!well_formed || !no_wrap({p, q, mn, mx})) return;
  if (in_half_open(p, mn, mx) && in_half_open(q, mn, mx))
    FUZZ_CHECK(cs == 1 && same(cp1, p) && same(cq1, q), "inside segment changed");
  // Each end is in the closed clip rectangle (on the edge lines at worst),
  // or an end that no selected edge crossing moved. The crossing point
  // divides a product of three differences, exact in double only below
  // 2^53; beyond, it may land a unit outside.
  if (cs && small({p, q, mn, mx}, 16)) {
    FUZZ_CHECK(in_closed(cp1, mn, mx) || same(cp1, p),
               "min=(%d,%d) max=(%d,%d) p=(%d,%d) q=(%d,%d) -> p=(%d,%d)", mn.x, mn.y, mx.x, mx.y,
               p.x, p.y, q.x, q.y, cp1.x, cp1.y);
    FUZZ_CHECK(in_closed(cq1, mn, mx) || same(cq1, q), "p=(%d,%d) q=(%d,%d) -> q=(%d,%d)", p.x, p.y,
               q.x, q.y, cq1.x, cq1.y);
  }
  tagPOINT mp = p, mq = q;
  const int ms = model_clip_segment(mn, mx, mp, mq);
  FUZZ_CHECK(cs == ms && same(cp1, mp) && same(cq1, mq),
             "min=(%d,%d) max=(%d,%d) p=(%d,%d) q=(%d,%d): got %d (%d,%d)-(%d,%d) want %d "
             "(%d,%d)-(%d,%d)",
             mn.x, mn.y, mx.x, mx.y, p.x, p.y, q.x, q.y, cs, cp1.x, cp1.y, cq1.x, cq1.y, ms, mp.x,
             mp.y, mq.x, mq.y);
}

}  // namespace
}  // namespace fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fuzz;  // the target's checks, in this function only
  Input in(data, size);
  segments(in);
  rectangles(in);
  return 0;
}
