// The compiled core of the kelvor package. Every engine function that works
// element by element is one line of the table at the end: its argument and
// result columns (columns.h), its Python name and argument names, and the
// C++ function, or an adaptor above that says what an output holds where the
// engine leaves it unwritten.
#include "columns.h"
#include "kelvor/kelvor.h"

namespace kelvor_py {

namespace {

using Rect4 = std::array<I32, 4>;
Rect4 corners(const KRECT& rc) { return {rc.ptMin.x, rc.ptMin.y, rc.ptMax.x, rc.ptMax.y}; }
template <typename Signature>  // one overload of an engine function, chosen by its signature
Signature* pick(Signature* f) {
  return f;
}

I32 mulfix(I32 a, I32 b) { return KMF_MulFix(a, b); }
I32 length(const KMF_Vector& v) { return KMF_Vector_Length(&v); }
// The vector functions write their answer over their first argument.
KMF_Vector rotate(KMF_Vector v, I32 angle) {
  KMF_Vector_Rotate(&v, angle);
  return v;
}
KMF_Vector transform(KMF_Vector v, const KMF_Matrix& m) {
  KMF_Vector_Transform(&v, &m);
  return v;
}
KMF_Vector unit(I32 angle) {
  KMF_Vector v{};
  KMF_Vector_Unit(&v, angle);
  return v;
}
KMF_Vector polar(I32 length, I32 angle) {
  KMF_Vector v{};
  KMF_Vector_From_Polar(&v, length, angle);
  return v;
}
// The zero vector writes neither output: both read 0.
void polarize(const KMF_Vector& v, I32& length, I32& angle) {
  length = angle = 0;
  KMF_Vector_Polarize(&v, &length, &angle);
}

bool contain(Span<tagPOINT> r, const tagPOINT& p) {
  return Polygon_Contain_Point(r.p, r.n, &p) != 0;
}
// Pairs that do not cross keep INT32_MIN in both axes of their crossing.
void crossing(const tagPOINT& a, const tagPOINT& b, const tagPOINT& c, const tagPOINT& d, bool& hit,
              tagPOINT& at) {
  at = tagPOINT{INT32_MIN, INT32_MIN};
  hit = Segment_Segment_Intersect(&a, &b, &c, &d, &at) != 0;
}
// Segments and spans that are not kept come back unchanged, as the engine leaves them.
void clip(const tagPOINT& lo, const tagPOINT& hi, tagPOINT p, tagPOINT q, bool& kept,
          tagPOINT& p_out, tagPOINT& q_out) {
  kept = Rect_Clip_Segment(&lo, &hi, &p, &q) != 0;
  p_out = p;
  q_out = q;
}
template <I32 (*F)(const tagPOINT*, I32, I32, I32, I32)>
bool span(Span<tagPOINT> r, I32 from, I32 to, I32 at) {
  return F(r.p, r.n, from, to, at) != 0;
}
template <I32 (*F)(const tagPOINT*, I32, I32*, I32*, I32)>
void span_clip(Span<tagPOINT> r, I32 from, I32 to, I32 at, bool& kept, I32& from_out, I32& to_out) {
  kept = F(r.p, r.n, &from, &to, at) != 0;
  from_out = from;
  to_out = to;
}

// GetMBR reads a first point whatever the count: an empty ring is refused instead.
Rect4 bounding_rect(Span<tagPOINT> r) {
  if (r.n == 0) throw py::value_error("ring: the bounding rectangle needs at least one point");
  KRECT rc;
  GetMBR(rc, r.n, r.p);
  return corners(rc);
}
Rect4 mcr(Span<tagPOINT> r, I32 step) {
  KRECT rc;
  GetMCR(rc, r.n, r.p, step);
  return corners(rc);
}
Rect4 inscribed(Span<tagPOINT> r, I32 step, kelvor::Rule rule) {
  return corners(kelvor::InscribedRect(r.p, r.n, step, rule));
}
bool can_wrap(Span<tagPOINT> r) { return kelvor::RingCanWrap(r.p, r.n); }

// The foot starts as A: the engine writes A for code 0 and leaves the foot
// unwritten for a degenerate segment (code 0 too), so code 0 always means A.
template <typename P>
void project(const P& p, const P& a, const P& b, I32& code, P& foot) {
  foot = a;
  code = GetProjectBase(p, a, b, foot);
}
// LineLength takes a 16-bit count; longer tracks are summed segment by
// segment in the same order from 0.0, which is what LineLength computes.
template <typename P>
double line_length(Span<P> t) {
  P* p = const_cast<P*>(t.p);  // LineLength and IsPtsInRect only read
  if (t.n <= 0xFFFF) return LineLength(static_cast<std::uint16_t>(t.n), p);
  double sum = 0.0;
  for (I32 i = 0; i + 1 < t.n; ++i) sum += SegmentLength(p[i], p[i + 1]);
  return sum;
}
template <typename P>
bool pts_in_rect(Span<P> pts, const P& lower, const P& upper) {
  return IsPtsInRect(const_cast<P*>(pts.p), pts.n, lower, upper) != 0;
}
template <typename P>
bool point_in_rect(P p, const P& lower, const P& upper) {
  return IsPtsInRect(&p, 1, lower, upper) != 0;
}
double bearing(const tagLonLat& a, const tagLonLat& b) {
  return GetAbsoluteAngle(tagLonLat{b.lon - a.lon, b.lat - a.lat});
}

// Degrees (tagLonLat, float64) and 1/100000-degree units (_Bin_LonLat, int32: the *_bin names).
template <typename C, typename P = typename C::Elem>
void geo(py::module_& m, const std::string& bin) {
  using Three = In<C, C, C>;
  using Angle3 = double(const P&, const P&, const P&);
  const char* const points[] = {"points", "lower", "upper"};
  def<In<C, C>, Out<Real>>(m, "segment_length" + bin, {"a", "b"},
                           pick<double(const P&, const P&)>(SegmentLength));
  def<In<Rows<C>>, Out<Real>>(m, "line_length" + bin, {"track"}, line_length<P>);
  def<In<C>, Out<Real>>(m, "absolute_angle" + bin, {"v"}, pick<double(const P&)>(GetAbsoluteAngle));
  def<Three, Out<Real>>(m, "sharp_angle" + bin, {"a", "b", "c"}, pick<Angle3>(GetSharpAngle));
  def<Three, Out<Real>>(m, "turn_angle" + bin, {"a", "b", "c"}, pick<Angle3>(GetTurnAngle));
  def<Three, Out<Int, C>>(m, "project_base" + bin, {"p", "a", "b"}, project<P>);
  def<In<C, Real>, Out<C, C>>(m, "rect_center_pt" + bin, {"center", "half"},
                              pick<void(const P&, double, P&, P&)>(GetRectCenterPt));
  def<In<Rows<C>, Corner<C>, Corner<C>>, Out<Flag>>(m, "pts_in_rect" + bin, points, pts_in_rect<P>);
  def<Three, Out<Flag>>(m, "point_in_rect" + bin, points, point_in_rect<P>);
}

}  // namespace

void init_objects(py::module_& m);

void init_functions(py::module_& m) {
  using Pairs4 = In<Point, Point, Point, Point>;
  using Spans = In<Ring, Int, Int, Int>;
  using Answer = Out<Flag>;
  using Clipped = Out<Flag, Int, Int>;
  const char* const spans[] = {"ring", "from_", "to", "at"};
  const char* const lines[] = {"line", "from_", "to", "at"};
  // clang-format off
  def<In<Int>, Out<Int>>(m, "round_fix", {"a"}, KMF_RoundFix);
  def<In<Int>, Out<Int>>(m, "ceil_fix", {"a"}, KMF_CeilFix);
  def<In<Int>, Out<Int>>(m, "floor_fix", {"a"}, KMF_FloorFix);
  def<In<Int>, Out<Int>>(m, "sqrt32", {"a"}, KMF_Sqrt32);
  def<In<Int>, Out<Int>>(m, "sqrt_fixed", {"a"}, KMF_SqrtFixed);
  def<In<Int>, Out<Int>>(m, "sin", {"angle"}, KMF_Sin);
  def<In<Int>, Out<Int>>(m, "cos", {"angle"}, KMF_Cos);
  def<In<Int>, Out<Int>>(m, "tan", {"angle"}, KMF_Tan);
  def<In<Int, Int>, Out<Int>>(m, "mulfix", {"a", "b"}, mulfix);
  def<In<Int, Int>, Out<Int>>(m, "divfix", {"a", "b"}, KMF_DivFix);
  def<In<Int, Int>, Out<Int>>(m, "atan2", {"x", "y"}, KMF_Atan2);
  def<In<Int, Int>, Out<Int>>(m, "angle_diff", {"angle1", "angle2"}, KMF_Angle_Diff);
  def<In<Int, Int, Int>, Out<Int>>(m, "muldiv", {"a", "b", "c"}, KMF_MulDiv);
  def<In<Int, Int, Int>, Out<Int>>(m, "muldiv_no_round", {"a", "b", "c"}, KMF_MulDiv_No_Round);
  def<In<Vector, Int>, Out<Vector>>(m, "vector_rotate", {"v", "angle"}, rotate);
  def<In<Vector>, Out<Int>>(m, "vector_length", {"v"}, length);
  def<In<Vector>, Out<Int, Int>>(m, "vector_polarize", {"v"}, polarize);
  def<In<Int, Int>, Out<Vector>>(m, "vector_from_polar", {"length", "angle"}, polar);
  def<In<Int>, Out<Vector>>(m, "vector_unit", {"angle"}, unit);
  def<In<Vector, Matrix>, Out<Vector>>(m, "vector_transform", {"v", "m"}, transform);
  def<In<Ring, Point>, Out<Flag>>(m, "polygon_contain_point", {"ring", "points"}, contain);
  def<Pairs4, Out<Flag, Point>>(m, "segment_segment_intersect", {"a", "b", "c", "d"}, crossing);
  def<Pairs4, Out<Flag, Point, Point>>(m, "rect_clip_segment", {"rect_min", "rect_max", "p", "q"},
                                       clip);
  def<Spans, Answer>(m, "polygon_horizon_intersect", spans, span<Polygon_Horizon_Intersect>);
  def<Spans, Answer>(m, "polygon_vertical_intersect", spans, span<Polygon_Vertical_Intersect>);
  def<Spans, Answer>(m, "polygon_contain_horizon", spans, span<Polygon_Contain_Horizon>);
  def<Spans, Answer>(m, "polygon_contain_vertical", spans, span<Polygon_Contain_Vertical>);
  def<Spans, Answer>(m, "polyline_horizon_intersect", lines, span<Polyline_Horizon_Intersect>);
  def<Spans, Answer>(m, "polyline_vertical_intersect", lines, span<Polyline_Vertical_Intersect>);
  def<Spans, Clipped>(m, "polygon_clip_horizon", spans, span_clip<Polygon_Clip_Horizon>);
  def<Spans, Clipped>(m, "polygon_clip_vertical", spans, span_clip<Polygon_Clip_Vertical>);
  def<In<Ring>, Out<Rect>>(m, "bounding_rect", {"ring"}, bounding_rect);
  def<In<Ring, Step>, Out<Rect>>(m, "get_mcr", {"ring", "step"}, mcr);
  def<In<Ring, Step, RuleName>, Out<Rect>>(m, "inscribed_rect", {"ring", "step", "rule"},
                                           inscribed);
  def<In<Ring>, Out<Flag>>(m, "ring_can_wrap", {"ring"}, can_wrap);
  def<In<Degrees>, Out<Real, Real>>(m, "unit_length", {"points"}, GetUnitLength);
  def<In<Degrees>, Out<Real, Real>>(m, "unit_degree", {"points"}, GetUnitDegree);
  def<In<Degrees, Degrees>, Out<Real>>(m, "bearing", {"a", "b"}, bearing);
  // clang-format on
  geo<Degrees>(m, "");
  geo<Units>(m, "_bin");
}

}  // namespace kelvor_py

PYBIND11_MODULE(_kelvor, m) {
  m.doc() = "Compiled bindings of libkelvor; use the kelvor package instead.";
  kelvor_py::init_functions(m);
  kelvor_py::init_objects(m);
}
