// Planar predicates over arrays: points in a ring, segment pairs, segments
// against rectangles, and spans against a ring.
#include "kelvor/planar.h"

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include "arrays.h"

namespace kelvor_py {

namespace {

using I32 = std::int32_t;

py::array_t<bool> polygon_contain_point(const py::object& ring_obj, const py::object& pts_obj) {
  const py::array ring = require_array(ring_obj, "ring"), pts = require_array(pts_obj, "points");
  const I32 m = int32_count(pairs_of<I32>(ring, "ring"), "ring");
  const std::size_t n = pairs_of<I32>(pts, "points");
  auto out = new_flags(n);
  const tagPOINT* r = points_of(ring);
  const tagPOINT* p = points_of(pts);
  bool* o = out.mutable_data();
  {
    py::gil_scoped_release release;
    for (std::size_t i = 0; i < n; ++i) o[i] = Polygon_Contain_Point(r, m, &p[i]) != 0;
  }
  return out;
}

// Four (N, 2) point arrays of one length.
std::size_t four_pairs(const py::array& a, const py::array& b, const py::array& c,
                       const py::array& d, const char* na, const char* nb, const char* nc,
                       const char* nd) {
  const std::size_t n = pairs_of<I32>(a, na);
  require_same_length(n, pairs_of<I32>(b, nb), "point arrays");
  require_same_length(n, pairs_of<I32>(c, nc), "point arrays");
  require_same_length(n, pairs_of<I32>(d, nd), "point arrays");
  return n;
}

// Crossing points of rows without a crossing stay at INT32_MIN in both axes.
py::tuple segment_segment_intersect(const py::object& a_obj, const py::object& b_obj,
                                    const py::object& c_obj, const py::object& d_obj) {
  const py::array a = require_array(a_obj, "a"), b = require_array(b_obj, "b"),
                  c = require_array(c_obj, "c"), d = require_array(d_obj, "d");
  const std::size_t n = four_pairs(a, b, c, d, "a", "b", "c", "d");
  auto hit = new_flags(n);
  auto at = new_pairs<I32>(n);
  const tagPOINT *pa = points_of(a), *pb = points_of(b), *pc = points_of(c), *pd = points_of(d);
  bool* h = hit.mutable_data();
  tagPOINT* x = reinterpret_cast<tagPOINT*>(at.mutable_data());
  {
    py::gil_scoped_release release;
    for (std::size_t i = 0; i < n; ++i) {
      x[i] = tagPOINT{INT32_MIN, INT32_MIN};
      h[i] = Segment_Segment_Intersect(&pa[i], &pb[i], &pc[i], &pd[i], &x[i]) != 0;
    }
  }
  return py::make_tuple(hit, at);
}

// Rows that are not kept return their endpoints unchanged, as the engine
// leaves them.
py::tuple rect_clip_segment(const py::object& lo_obj, const py::object& hi_obj,
                            const py::object& p_obj, const py::object& q_obj) {
  const py::array lo = require_array(lo_obj, "rect_min"), hi = require_array(hi_obj, "rect_max"),
                  p = require_array(p_obj, "p"), q = require_array(q_obj, "q");
  const std::size_t n = four_pairs(lo, hi, p, q, "rect_min", "rect_max", "p", "q");
  auto kept = new_flags(n);
  auto p_out = new_pairs<I32>(n);
  auto q_out = new_pairs<I32>(n);
  const tagPOINT *l = points_of(lo), *h = points_of(hi), *pi = points_of(p), *qi = points_of(q);
  bool* k = kept.mutable_data();
  tagPOINT* po = reinterpret_cast<tagPOINT*>(p_out.mutable_data());
  tagPOINT* qo = reinterpret_cast<tagPOINT*>(q_out.mutable_data());
  {
    py::gil_scoped_release release;
    for (std::size_t i = 0; i < n; ++i) {
      po[i] = pi[i];
      qo[i] = qi[i];
      k[i] = Rect_Clip_Segment(&l[i], &h[i], &po[i], &qo[i]) != 0;
    }
  }
  return py::make_tuple(kept, p_out, q_out);
}

// Three equal-length 1-d int32 span arrays.
std::size_t spans(const py::array& from, const py::array& to, const py::array& at) {
  const std::size_t n = vector_of<I32>(from, "span_from");
  require_same_length(n, vector_of<I32>(to, "span_to"), "span arrays");
  require_same_length(n, vector_of<I32>(at, "span_at"), "span arrays");
  return n;
}

template <I32 (*F)(const tagPOINT*, I32, I32, I32, I32)>
py::array_t<bool> span_test(const py::object& ring_obj, const py::object& from_obj,
                            const py::object& to_obj, const py::object& at_obj) {
  const py::array ring = require_array(ring_obj, "ring"), from = require_array(from_obj, "from"),
                  to = require_array(to_obj, "to"), at = require_array(at_obj, "at");
  const I32 m = int32_count(pairs_of<I32>(ring, "ring"), "ring");
  const std::size_t n = spans(from, to, at);
  auto out = new_flags(n);
  const tagPOINT* r = points_of(ring);
  const I32 *f = data_of<I32>(from), *t = data_of<I32>(to), *y = data_of<I32>(at);
  bool* o = out.mutable_data();
  {
    py::gil_scoped_release release;
    for (std::size_t i = 0; i < n; ++i) o[i] = F(r, m, f[i], t[i], y[i]) != 0;
  }
  return out;
}

// Spans that are not kept come back unchanged.
template <I32 (*F)(const tagPOINT*, I32, I32*, I32*, I32)>
py::tuple span_clip(const py::object& ring_obj, const py::object& from_obj,
                    const py::object& to_obj, const py::object& at_obj) {
  const py::array ring = require_array(ring_obj, "ring"), from = require_array(from_obj, "from"),
                  to = require_array(to_obj, "to"), at = require_array(at_obj, "at");
  const I32 m = int32_count(pairs_of<I32>(ring, "ring"), "ring");
  const std::size_t n = spans(from, to, at);
  auto kept = new_flags(n);
  auto from_out = new_vector<I32>(n);
  auto to_out = new_vector<I32>(n);
  const tagPOINT* r = points_of(ring);
  const I32 *f = data_of<I32>(from), *t = data_of<I32>(to), *y = data_of<I32>(at);
  bool* k = kept.mutable_data();
  I32* fo = from_out.mutable_data();
  I32* to_ = to_out.mutable_data();
  {
    py::gil_scoped_release release;
    for (std::size_t i = 0; i < n; ++i) {
      fo[i] = f[i];
      to_[i] = t[i];
      k[i] = F(r, m, &fo[i], &to_[i], y[i]) != 0;
    }
  }
  return py::make_tuple(kept, from_out, to_out);
}

}  // namespace

void init_planar(py::module_& m) {
  m.def("polygon_contain_point", &polygon_contain_point, py::arg("ring"), py::arg("points"));
  m.def("segment_segment_intersect", &segment_segment_intersect, py::arg("a"), py::arg("b"),
        py::arg("c"), py::arg("d"));
  m.def("rect_clip_segment", &rect_clip_segment, py::arg("rect_min"), py::arg("rect_max"),
        py::arg("p"), py::arg("q"));
  m.def("polygon_horizon_intersect", &span_test<Polygon_Horizon_Intersect>, py::arg("ring"),
        py::arg("from"), py::arg("to"), py::arg("at"));
  m.def("polygon_vertical_intersect", &span_test<Polygon_Vertical_Intersect>, py::arg("ring"),
        py::arg("from"), py::arg("to"), py::arg("at"));
  m.def("polygon_contain_horizon", &span_test<Polygon_Contain_Horizon>, py::arg("ring"),
        py::arg("from"), py::arg("to"), py::arg("at"));
  m.def("polygon_contain_vertical", &span_test<Polygon_Contain_Vertical>, py::arg("ring"),
        py::arg("from"), py::arg("to"), py::arg("at"));
  m.def("polyline_horizon_intersect", &span_test<Polyline_Horizon_Intersect>, py::arg("line"),
        py::arg("from"), py::arg("to"), py::arg("at"));
  m.def("polyline_vertical_intersect", &span_test<Polyline_Vertical_Intersect>, py::arg("line"),
        py::arg("from"), py::arg("to"), py::arg("at"));
  m.def("polygon_clip_horizon", &span_clip<Polygon_Clip_Horizon>, py::arg("ring"), py::arg("from"),
        py::arg("to"), py::arg("at"));
  m.def("polygon_clip_vertical", &span_clip<Polygon_Clip_Vertical>, py::arg("ring"),
        py::arg("from"), py::arg("to"), py::arg("at"));
}

}  // namespace kelvor_py
