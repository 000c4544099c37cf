// The test suite's reference: one engine call per Python call, with plain
// Python numbers in and out, written without the bindings' columns and loop.
// Built only with the tests (the _kelvor_oracle module beside the package)
// and never installed.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <string>
#include <vector>

#include "kelvor/kelvor.h"

namespace py = pybind11;

namespace {

using I32 = std::int32_t;
using Ring = py::array_t<I32, py::array::c_style | py::array::forcecast>;

const tagPOINT* pts(const Ring& ring) { return reinterpret_cast<const tagPOINT*>(ring.data()); }
I32 count(const Ring& ring) { return static_cast<I32>(ring.size() / 2); }
kelvor::Rule rule_of(const std::string& rule) {
  return rule == "exact" ? kelvor::Rule::Exact : kelvor::Rule::Compatible;
}
py::tuple rect(const KRECT& rc) {
  return py::make_tuple(rc.ptMin.x, rc.ptMin.y, rc.ptMax.x, rc.ptMax.y);
}

template <typename Rec, typename S>
void def_geo(py::module_& s, const std::string& suffix) {
  using Track = py::array_t<S, py::array::c_style | py::array::forcecast>;
  s.def(("segment_length" + suffix).c_str(),
        [](S lon1, S lat1, S lon2, S lat2) { return SegmentLength(lon1, lat1, lon2, lat2); });
  s.def(("line_length" + suffix).c_str(), [](const Track& t) {
    if (t.size() / 2 > 0xFFFF)
      throw py::value_error("track: LineLength takes at most 65535 points");
    return LineLength(static_cast<std::uint16_t>(t.size() / 2),
                      reinterpret_cast<Rec*>(const_cast<S*>(t.data())));
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
  s.def(("pts_in_rect" + suffix).c_str(), [](const Track& t, S llon, S llat, S ulon, S ulat) {
    return IsPtsInRect(reinterpret_cast<Rec*>(const_cast<S*>(t.data())),
                       static_cast<I32>(t.size() / 2), Rec{llon, llat}, Rec{ulon, ulat}) != 0;
  });
}

}  // namespace

PYBIND11_MODULE(_kelvor_oracle, s) {
  s.doc() = "One engine call per call: the reference of the kelvor tests";
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

  s.def("polygon_contain_point", [](const Ring& ring, I32 x, I32 y) {
    const tagPOINT p{x, y};
    return Polygon_Contain_Point(pts(ring), count(ring), &p) != 0;
  });
  s.def("kpgon_contain", [](const Ring& ring, I32 x, I32 y) {
    const KPGON pg(count(ring), const_cast<tagPOINT*>(pts(ring)));  // KPGON only reads
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
    s.def(t.first, [f](const Ring& ring, I32 from, I32 to, I32 at) {
      return f(pts(ring), count(ring), from, to, at) != 0;
    });
  }
  using Clip = I32 (*)(const tagPOINT*, I32, I32*, I32*, I32);
  const std::pair<const char*, Clip> span_clips[] = {
      {"polygon_clip_horizon", &Polygon_Clip_Horizon},
      {"polygon_clip_vertical", &Polygon_Clip_Vertical}};
  for (const auto& t : span_clips) {
    const Clip f = t.second;
    s.def(t.first, [f](const Ring& ring, I32 from, I32 to, I32 at) {
      const bool kept = f(pts(ring), count(ring), &from, &to, at) != 0;
      return py::make_tuple(kept, from, to);
    });
  }

  s.def("bounding_rect", [](const Ring& ring) {
    KRECT rc;
    GetMBR(rc, count(ring), pts(ring));
    return rect(rc);
  });
  s.def("get_mcr", [](const Ring& ring, I32 step) {
    KRECT rc;
    GetMCR(rc, count(ring), pts(ring), step);
    return rect(rc);
  });
  s.def("inscribed_rect", [](const Ring& ring, I32 step, const std::string& rule) {
    return rect(kelvor::InscribedRect(pts(ring), count(ring), step, rule_of(rule)));
  });
  s.def("ring_can_wrap",
        [](const Ring& ring) { return kelvor::RingCanWrap(pts(ring), count(ring)); });
  s.def("densify_ring", [](const Ring& ring) {
    std::vector<std::pair<I32, I32>> out;
    for (const tagPOINT& p : kelvor::DensifyRing(pts(ring), count(ring)))
      out.emplace_back(p.x, p.y);
    return out;
  });
  // The one-point queries of a prepared polygon and of a zone index of one-ring zones.
  s.def("prepared_contain", [](const Ring& ring, I32 x, I32 y, const std::string& rule) {
    const kelvor::PreparedPolygon pg(pts(ring), count(ring), rule_of(rule));
    return py::make_tuple(pg.Contain(tagPOINT{x, y}) != 0, pg.ContainBounded(tagPOINT{x, y}) != 0);
  });
  py::class_<kelvor::ZoneIndex>(s, "ZoneIndex", py::module_local())
      .def(py::init(
          [](const std::vector<Ring>& rings, const std::vector<I32>& ids, const std::string& rule) {
            std::vector<kelvor::Zone> zones;
            for (std::size_t i = 0; i < rings.size(); ++i)
              zones.push_back({pts(rings[i]), count(rings[i]), ids[i]});
            return kelvor::ZoneIndex(zones.data(), zones.size(), rule_of(rule));
          }))
      .def("locate", [](const kelvor::ZoneIndex& z, I32 x, I32 y) {
        return z.Locate(tagPOINT{x, y});
      });

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
