// One engine call per Python call: the reference the tests compare every
// vectorised loop against, element by element.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include "arrays.h"
#include "kelvor/kelvor.h"

namespace kelvor_py {

namespace {

using I32 = std::int32_t;

const tagPOINT* ring_points(const py::object& ring_obj, I32* n) {
  const py::array ring = require_array(ring_obj, "ring");
  *n = int32_count(pairs_of<I32>(ring, "ring"), "ring");
  return points_of(ring);
}

template <typename Rec, typename S>
void def_geo(py::module_& s, const std::string& suffix) {
  s.def(("segment_length" + suffix).c_str(),
        [](S lon1, S lat1, S lon2, S lat2) { return SegmentLength(lon1, lat1, lon2, lat2); });
  s.def(("line_length" + suffix).c_str(), [](const py::object& track_obj) {
    const py::array t = require_array(track_obj, "track");
    const std::size_t n = pairs_of<S>(t, "track");
    if (n > 0xFFFFu) throw py::value_error("track: LineLength takes at most 65535 points");
    return LineLength(static_cast<std::uint16_t>(n),
                      reinterpret_cast<Rec*>(const_cast<void*>(t.data())));
  });
  s.def(("absolute_angle" + suffix).c_str(), [](S lon, S lat) {
    return GetAbsoluteAngle(Rec{lon, lat});
  });
  s.def(("sharp_angle" + suffix).c_str(), [](S ax, S ay, S bx, S by, S cx, S cy) {
    return GetSharpAngle(Rec{ax, ay}, Rec{bx, by}, Rec{cx, cy});
  });
  s.def(("turn_angle" + suffix).c_str(), [](S ax, S ay, S bx, S by, S cx, S cy) {
    return GetTurnAngle(Rec{ax, ay}, Rec{bx, by}, Rec{cx, cy});
  });
  s.def(("project_base" + suffix).c_str(), [](S px, S py_, S ax, S ay, S bx, S by) {
    Rec f{ax, ay};
    const I32 code = GetProjectBase(Rec{px, py_}, Rec{ax, ay}, Rec{bx, by}, f);
    return py::make_tuple(code, f.lon, f.lat);
  });
  s.def(("rect_center_pt" + suffix).c_str(), [](S lon, S lat, double half) {
    Rec lo{}, up{};
    GetRectCenterPt(Rec{lon, lat}, half, lo, up);
    return py::make_tuple(lo.lon, lo.lat, up.lon, up.lat);
  });
  s.def(("point_in_rect" + suffix).c_str(), [](S lon, S lat, S llon, S llat, S ulon, S ulat) {
    Rec p{lon, lat};
    return IsPtsInRect(&p, 1, Rec{llon, llat}, Rec{ulon, ulat}) != 0;
  });
}

}  // namespace

void init_scalar(py::module_& m) {
  py::module_ s = m.def_submodule("scalar", "One engine call per call, for comparisons");
  s.def("round_fix", &KMF_RoundFix);
  s.def("ceil_fix", &KMF_CeilFix);
  s.def("floor_fix", &KMF_FloorFix);
  s.def("muldiv", &KMF_MulDiv);
  s.def("muldiv_no_round", &KMF_MulDiv_No_Round);
  s.def("mulfix", [](I32 a, I32 b) { return KMF_MulFix(a, b); });
  s.def("divfix", &KMF_DivFix);
  s.def("sqrt32", &KMF_Sqrt32);
  s.def("sqrt_fixed", &KMF_SqrtFixed);
  s.def("sin", &KMF_Sin);
  s.def("cos", &KMF_Cos);
  s.def("tan", &KMF_Tan);
  s.def("atan2", &KMF_Atan2);
  s.def("angle_diff", &KMF_Angle_Diff);
  s.def("vector_rotate", [](I32 x, I32 y, I32 a) {
    KMF_Vector v{x, y};
    KMF_Vector_Rotate(&v, a);
    return py::make_tuple(v.x, v.y);
  });
  s.def("vector_length", [](I32 x, I32 y) {
    const KMF_Vector v{x, y};
    return KMF_Vector_Length(&v);
  });
  s.def("vector_polarize", [](I32 x, I32 y) {
    const KMF_Vector v{x, y};
    I32 len = 0, ang = 0;
    KMF_Vector_Polarize(&v, &len, &ang);
    return py::make_tuple(len, ang);
  });
  s.def("vector_from_polar", [](I32 len, I32 a) {
    KMF_Vector v{};
    KMF_Vector_From_Polar(&v, len, a);
    return py::make_tuple(v.x, v.y);
  });
  s.def("vector_unit", [](I32 a) {
    KMF_Vector v{};
    KMF_Vector_Unit(&v, a);
    return py::make_tuple(v.x, v.y);
  });
  s.def("vector_transform", [](I32 x, I32 y, I32 m11, I32 m12, I32 m21, I32 m22) {
    KMF_Vector v{x, y};
    const KMF_Matrix mat{m11, m12, m21, m22};
    KMF_Vector_Transform(&v, &mat);
    return py::make_tuple(v.x, v.y);
  });

  s.def("polygon_contain_point", [](const py::object& ring, I32 x, I32 y) {
    I32 n = 0;
    const tagPOINT* r = ring_points(ring, &n);
    const tagPOINT p{x, y};
    return Polygon_Contain_Point(r, n, &p) != 0;
  });
  s.def("kpgon_contain", [](const py::object& ring, I32 x, I32 y) {
    I32 n = 0;
    tagPOINT* r = const_cast<tagPOINT*>(ring_points(ring, &n));  // KPGON only reads
    const KPGON pg(n, r);
    return pg.Contain(tagPOINT{x, y}) != 0;
  });
  s.def("segment_segment_intersect",
        [](I32 ax, I32 ay, I32 bx, I32 by, I32 cx, I32 cy, I32 dx, I32 dy) {
          const tagPOINT a{ax, ay}, b{bx, by}, c{cx, cy}, d{dx, dy};
          tagPOINT x{INT32_MIN, INT32_MIN};
          const bool hit = Segment_Segment_Intersect(&a, &b, &c, &d, &x) != 0;
          return py::make_tuple(hit, x.x, x.y);
        });
  s.def("rect_clip_segment", [](I32 lx, I32 ly, I32 hx, I32 hy, I32 px, I32 py_, I32 qx, I32 qy) {
    const tagPOINT lo{lx, ly}, hi{hx, hy};
    tagPOINT p{px, py_}, q{qx, qy};
    const bool kept = Rect_Clip_Segment(&lo, &hi, &p, &q) != 0;
    return py::make_tuple(kept, p.x, p.y, q.x, q.y);
  });
  using Span = I32 (*)(const tagPOINT*, I32, I32, I32, I32);
  const std::pair<const char*, Span> span_tests[] = {
      {"polygon_horizon_intersect", &Polygon_Horizon_Intersect},
      {"polygon_vertical_intersect", &Polygon_Vertical_Intersect},
      {"polygon_contain_horizon", &Polygon_Contain_Horizon},
      {"polygon_contain_vertical", &Polygon_Contain_Vertical},
      {"polyline_horizon_intersect", &Polyline_Horizon_Intersect},
      {"polyline_vertical_intersect", &Polyline_Vertical_Intersect}};
  for (const auto& t : span_tests) {
    const Span f = t.second;
    s.def(t.first, [f](const py::object& ring, I32 from, I32 to, I32 at) {
      I32 n = 0;
      const tagPOINT* r = ring_points(ring, &n);
      return f(r, n, from, to, at) != 0;
    });
  }
  using Clip = I32 (*)(const tagPOINT*, I32, I32*, I32*, I32);
  const std::pair<const char*, Clip> span_clips[] = {
      {"polygon_clip_horizon", &Polygon_Clip_Horizon},
      {"polygon_clip_vertical", &Polygon_Clip_Vertical}};
  for (const auto& t : span_clips) {
    const Clip f = t.second;
    s.def(t.first, [f](const py::object& ring, I32 from, I32 to, I32 at) {
      I32 n = 0;
      const tagPOINT* r = ring_points(ring, &n);
      const bool kept = f(r, n, &from, &to, at) != 0;
      return py::make_tuple(kept, from, to);
    });
  }

  def_geo<tagLonLat, double>(s, "");
  def_geo<_Bin_LonLat, I32>(s, "_bin");
  s.def("unit_length", [](double lon, double lat) {
    double a = 0, b = 0;
    GetUnitLength(tagLonLat{lon, lat}, a, b);
    return py::make_tuple(a, b);
  });
  s.def("unit_degree", [](double lon, double lat) {
    double a = 0, b = 0;
    GetUnitDegree(tagLonLat{lon, lat}, a, b);
    return py::make_tuple(a, b);
  });
}

}  // namespace kelvor_py
