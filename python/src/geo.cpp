// Geographic functions over arrays of lon/lat pairs, in both record forms:
// float64 degrees (tagLonLat) and int32 1/100000 degree (_Bin_LonLat).
#include "kelvor/geo.h"

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include "arrays.h"

namespace kelvor_py {

namespace {

using I32 = std::int32_t;

template <typename Rec>
struct Form;
template <>
struct Form<tagLonLat> {
  using Scalar = double;
};
template <>
struct Form<_Bin_LonLat> {
  using Scalar = I32;
};

template <typename Rec>
std::size_t recs(const py::array& a, const char* name) {
  static_assert(sizeof(Rec) == 2 * sizeof(typename Form<Rec>::Scalar), "record is two scalars");
  return pairs_of<typename Form<Rec>::Scalar>(a, name);
}
template <typename Rec>
const Rec* recs_data(const py::array& a) {
  return reinterpret_cast<const Rec*>(a.data());
}
template <typename Rec>
py::array_t<typename Form<Rec>::Scalar> new_recs(std::size_t n) {
  return new_pairs<typename Form<Rec>::Scalar>(n);
}
template <typename Rec>
Rec* recs_out(py::array_t<typename Form<Rec>::Scalar>& a) {
  return reinterpret_cast<Rec*>(a.mutable_data());
}

template <typename Rec>
py::array_t<double> segment_length(const py::object& a_obj, const py::object& b_obj) {
  const py::array a = require_array(a_obj, "a"), b = require_array(b_obj, "b");
  const std::size_t n = recs<Rec>(a, "a");
  require_same_length(n, recs<Rec>(b, "b"), "a and b");
  auto out = new_vector<double>(n);
  const Rec *pa = recs_data<Rec>(a), *pb = recs_data<Rec>(b);
  double* o = out.mutable_data();
  {
    py::gil_scoped_release release;
    for (std::size_t i = 0; i < n; ++i) o[i] = SegmentLength(pa[i], pb[i]);
  }
  return out;
}

// LineLength takes a 16-bit count; longer tracks are summed here segment by
// segment in the same order from 0.0, which is what LineLength computes.
template <typename Rec>
double line_length(const py::object& track_obj) {
  const py::array track = require_array(track_obj, "track");
  const std::size_t n = recs<Rec>(track, "track");
  Rec* p = const_cast<Rec*>(recs_data<Rec>(track));  // LineLength does not write
  py::gil_scoped_release release;
  if (n <= 0xFFFFu) return LineLength(static_cast<std::uint16_t>(n), p);
  double sum = 0.0;
  for (std::size_t i = 0; i + 1 < n; ++i) sum += SegmentLength(p[i], p[i + 1]);
  return sum;
}

template <typename Rec>
py::array_t<double> absolute_angle(const py::object& v_obj) {
  const py::array v = require_array(v_obj, "v");
  const std::size_t n = recs<Rec>(v, "v");
  auto out = new_vector<double>(n);
  const Rec* pv = recs_data<Rec>(v);
  double* o = out.mutable_data();
  {
    py::gil_scoped_release release;
    for (std::size_t i = 0; i < n; ++i) o[i] = GetAbsoluteAngle(pv[i]);
  }
  return out;
}

template <typename Rec, double (*F)(const Rec&, const Rec&, const Rec&)>
py::array_t<double> three_point_angle(const py::object& a_obj, const py::object& b_obj,
                                      const py::object& c_obj) {
  const py::array a = require_array(a_obj, "a"), b = require_array(b_obj, "b"),
                  c = require_array(c_obj, "c");
  const std::size_t n = recs<Rec>(a, "a");
  require_same_length(n, recs<Rec>(b, "b"), "a and b");
  require_same_length(n, recs<Rec>(c, "c"), "a and c");
  auto out = new_vector<double>(n);
  const Rec *pa = recs_data<Rec>(a), *pb = recs_data<Rec>(b), *pc = recs_data<Rec>(c);
  double* o = out.mutable_data();
  {
    py::gil_scoped_release release;
    for (std::size_t i = 0; i < n; ++i) o[i] = F(pa[i], pb[i], pc[i]);
  }
  return out;
}

// The foot starts as A: the engine writes A for code 0 and leaves the foot
// unwritten for a degenerate segment (also code 0), so code 0 always means A.
template <typename Rec>
py::tuple project_base(const py::object& p_obj, const py::object& a_obj, const py::object& b_obj) {
  const py::array p = require_array(p_obj, "p"), a = require_array(a_obj, "a"),
                  b = require_array(b_obj, "b");
  const std::size_t n = recs<Rec>(p, "p");
  require_same_length(n, recs<Rec>(a, "a"), "p and a");
  require_same_length(n, recs<Rec>(b, "b"), "p and b");
  auto code = new_vector<I32>(n);
  auto foot = new_recs<Rec>(n);
  const Rec *pp = recs_data<Rec>(p), *pa = recs_data<Rec>(a), *pb = recs_data<Rec>(b);
  I32* c = code.mutable_data();
  Rec* f = recs_out<Rec>(foot);
  {
    py::gil_scoped_release release;
    for (std::size_t i = 0; i < n; ++i) {
      f[i] = pa[i];
      c[i] = GetProjectBase(pp[i], pa[i], pb[i], f[i]);
    }
  }
  return py::make_tuple(code, foot);
}

template <void (*F)(const tagLonLat&, double&, double&)>
py::tuple unit_scale(const py::object& pts_obj) {
  const py::array pts = require_array(pts_obj, "points");
  const std::size_t n = recs<tagLonLat>(pts, "points");
  auto lon = new_vector<double>(n);
  auto lat = new_vector<double>(n);
  const tagLonLat* p = recs_data<tagLonLat>(pts);
  double* lo = lon.mutable_data();
  double* la = lat.mutable_data();
  {
    py::gil_scoped_release release;
    for (std::size_t i = 0; i < n; ++i) F(p[i], lo[i], la[i]);
  }
  return py::make_tuple(lon, lat);
}

template <typename Rec>
py::tuple rect_center_pt(const py::object& c_obj, const py::object& half_obj) {
  const py::array c = require_array(c_obj, "center"), half = require_array(half_obj, "half");
  const std::size_t n = recs<Rec>(c, "center");
  require_same_length(n, vector_of<double>(half, "half"), "center and half");
  auto lower = new_recs<Rec>(n);
  auto upper = new_recs<Rec>(n);
  const Rec* pc = recs_data<Rec>(c);
  const double* h = data_of<double>(half);
  Rec* lo = recs_out<Rec>(lower);
  Rec* up = recs_out<Rec>(upper);
  {
    py::gil_scoped_release release;
    for (std::size_t i = 0; i < n; ++i) GetRectCenterPt(pc[i], h[i], lo[i], up[i]);
  }
  return py::make_tuple(lower, upper);
}

// IsPtsInRect over the whole array (every point inside).
template <typename Rec>
bool pts_in_rect(const py::object& pts_obj, const py::object& lo_obj, const py::object& hi_obj) {
  const py::array pts = require_array(pts_obj, "points"), lo = require_array(lo_obj, "lower"),
                  hi = require_array(hi_obj, "upper");
  const I32 n = int32_count(recs<Rec>(pts, "points"), "points");
  if (recs<Rec>(lo, "lower") != 1 || recs<Rec>(hi, "upper") != 1) {
    throw py::value_error("lower and upper: expected one corner each, shape (1, 2)");
  }
  Rec* p = const_cast<Rec*>(recs_data<Rec>(pts));  // IsPtsInRect does not write
  const Rec l = recs_data<Rec>(lo)[0], u = recs_data<Rec>(hi)[0];
  py::gil_scoped_release release;
  return IsPtsInRect(p, n, l, u) != 0;
}

// IsPtsInRect of each point alone, against per-row corners.
template <typename Rec>
py::array_t<bool> points_in_rect(const py::object& pts_obj, const py::object& lo_obj,
                                 const py::object& hi_obj) {
  const py::array pts = require_array(pts_obj, "points"), lo = require_array(lo_obj, "lower"),
                  hi = require_array(hi_obj, "upper");
  const std::size_t n = recs<Rec>(pts, "points");
  require_same_length(n, recs<Rec>(lo, "lower"), "points and lower");
  require_same_length(n, recs<Rec>(hi, "upper"), "points and upper");
  auto out = new_flags(n);
  const Rec *p = recs_data<Rec>(pts), *l = recs_data<Rec>(lo), *u = recs_data<Rec>(hi);
  bool* o = out.mutable_data();
  {
    py::gil_scoped_release release;
    for (std::size_t i = 0; i < n; ++i) {
      Rec one = p[i];
      o[i] = IsPtsInRect(&one, 1, l[i], u[i]) != 0;
    }
  }
  return out;
}

template <typename Rec>
void def_form(py::module_& m, const std::string& suffix) {
  using Angle3 = double (*)(const Rec&, const Rec&, const Rec&);
  m.def(("segment_length" + suffix).c_str(), &segment_length<Rec>, py::arg("a"), py::arg("b"));
  m.def(("line_length" + suffix).c_str(), &line_length<Rec>, py::arg("track"));
  m.def(("absolute_angle" + suffix).c_str(), &absolute_angle<Rec>, py::arg("v"));
  m.def(("sharp_angle" + suffix).c_str(),
        &three_point_angle<Rec, static_cast<Angle3>(&GetSharpAngle)>, py::arg("a"), py::arg("b"),
        py::arg("c"));
  m.def(("turn_angle" + suffix).c_str(),
        &three_point_angle<Rec, static_cast<Angle3>(&GetTurnAngle)>, py::arg("a"), py::arg("b"),
        py::arg("c"));
  m.def(("project_base" + suffix).c_str(), &project_base<Rec>, py::arg("p"), py::arg("a"),
        py::arg("b"));
  m.def(("rect_center_pt" + suffix).c_str(), &rect_center_pt<Rec>, py::arg("center"),
        py::arg("half"));
  m.def(("pts_in_rect" + suffix).c_str(), &pts_in_rect<Rec>, py::arg("points"), py::arg("lower"),
        py::arg("upper"));
  m.def(("points_in_rect" + suffix).c_str(), &points_in_rect<Rec>, py::arg("points"),
        py::arg("lower"), py::arg("upper"));
}

}  // namespace

void init_geo(py::module_& m) {
  def_form<tagLonLat>(m, "");
  def_form<_Bin_LonLat>(m, "_bin");
  m.def("unit_length", &unit_scale<GetUnitLength>, py::arg("points"));
  m.def("unit_degree", &unit_scale<GetUnitDegree>, py::arg("points"));
}

}  // namespace kelvor_py
