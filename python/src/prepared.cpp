// Prepared rings, the zone index, ring checks and the scalable inscribed
// rectangle. Built only when the library provides them.
#include "kelvor/prepared.h"

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <cstring>
#include <string>
#include <vector>

#include "arrays.h"

namespace kelvor_py {

py::tuple rect_tuple(const KRECT& rc);

namespace {

using I32 = std::int32_t;

kelvor::Rule parse_rule(const std::string& rule) {
  if (rule == "compatible") return kelvor::Rule::Compatible;
  if (rule == "exact") return kelvor::Rule::Exact;
  throw py::value_error("rule: expected 'compatible' or 'exact', got '" + rule + "'");
}

const char* rule_name(kelvor::Rule rule) {
  return rule == kelvor::Rule::Exact ? "exact" : "compatible";
}

py::array_t<I32> points_array(const std::vector<tagPOINT>& pts) {
  auto out = new_pairs<I32>(pts.size());
  if (!pts.empty()) std::memcpy(out.mutable_data(), pts.data(), pts.size() * sizeof(tagPOINT));
  return out;
}

kelvor::PreparedPolygon make_polygon(const py::object& ring_obj, const std::string& rule) {
  const py::array ring = require_array(ring_obj, "ring");
  const I32 n = int32_count(pairs_of<I32>(ring, "ring"), "ring");
  const kelvor::Rule r = parse_rule(rule);
  const tagPOINT* p = points_of(ring);
  py::gil_scoped_release release;
  return kelvor::PreparedPolygon(p, n, r);
}

template <void (kelvor::PreparedPolygon::*F)(const tagPOINT*, std::size_t, std::uint8_t*) const>
py::array_t<bool> polygon_query(const kelvor::PreparedPolygon& pg, const py::object& pts_obj) {
  const py::array pts = require_array(pts_obj, "points");
  const std::size_t n = pairs_of<I32>(pts, "points");
  auto out = new_flags(n);
  static_assert(sizeof(bool) == sizeof(std::uint8_t), "numpy bool is one byte");
  const tagPOINT* p = points_of(pts);
  std::uint8_t* o = reinterpret_cast<std::uint8_t*>(out.mutable_data());
  {
    py::gil_scoped_release release;
    (pg.*F)(p, n, o);
  }
  return out;
}

kelvor::ZoneIndex make_index(const py::sequence& rings, const py::object& ids_obj,
                             const std::string& rule) {
  const py::array ids = require_array(ids_obj, "ids");
  const std::size_t n = vector_of<I32>(ids, "ids");
  require_same_length(static_cast<std::size_t>(py::len(rings)), n, "rings and ids");
  const kelvor::Rule r = parse_rule(rule);
  std::vector<py::array> keep;  // holds every ring until the index is built
  std::vector<kelvor::Zone> zones;
  keep.reserve(n);
  zones.reserve(n);
  const I32* id = data_of<I32>(ids);
  for (std::size_t i = 0; i < n; ++i) {
    const std::string name = "rings[" + std::to_string(i) + "]";
    keep.push_back(require_array(rings[i], name.c_str()));
    const I32 count = int32_count(pairs_of<I32>(keep.back(), name.c_str()), name.c_str());
    zones.push_back(kelvor::Zone{points_of(keep.back()), count, id[i]});
  }
  py::gil_scoped_release release;
  return kelvor::ZoneIndex(zones.data(), zones.size(), r);
}

py::array_t<I32> locate(const kelvor::ZoneIndex& index, const py::object& pts_obj) {
  const py::array pts = require_array(pts_obj, "points");
  const std::size_t n = pairs_of<I32>(pts, "points");
  auto out = new_vector<I32>(n);
  const tagPOINT* p = points_of(pts);
  I32* o = out.mutable_data();
  {
    py::gil_scoped_release release;
    index.Locate(p, n, o);
  }
  return out;
}

bool ring_can_wrap(const py::object& ring_obj) {
  const py::array ring = require_array(ring_obj, "ring");
  const I32 n = int32_count(pairs_of<I32>(ring, "ring"), "ring");
  return kelvor::RingCanWrap(points_of(ring), n);
}

py::array_t<I32> densify_ring(const py::object& ring_obj) {
  const py::array ring = require_array(ring_obj, "ring");
  const I32 n = int32_count(pairs_of<I32>(ring, "ring"), "ring");
  std::vector<tagPOINT> out;
  {
    py::gil_scoped_release release;
    out = kelvor::DensifyRing(points_of(ring), n);
  }
  return points_array(out);
}

py::tuple inscribed_rect(const py::object& ring_obj, I32 step, const std::string& rule) {
  const py::array ring = require_array(ring_obj, "ring");
  const I32 n = int32_count(pairs_of<I32>(ring, "ring"), "ring");
  const kelvor::Rule r = parse_rule(rule);
  KRECT rc;
  {
    py::gil_scoped_release release;
    rc = kelvor::InscribedRect(points_of(ring), n, step, r);
  }
  return rect_tuple(rc);
}

}  // namespace

void init_prepared(py::module_& m) {
  using kelvor::PreparedPolygon;
  using kelvor::ZoneIndex;
  py::class_<PreparedPolygon>(m, "PreparedPolygon")
      .def(py::init(&make_polygon), py::arg("ring"), py::arg("rule") = "compatible")
      .def("contains", &polygon_query<&PreparedPolygon::Contain>, py::arg("points"))
      .def("contains_bounded", &polygon_query<&PreparedPolygon::ContainBounded>, py::arg("points"))
      .def("contain_one",
           [](const PreparedPolygon& pg, I32 x, I32 y) {
             return pg.Contain(tagPOINT{x, y}) != 0;
           })
      .def("contain_bounded_one",
           [](const PreparedPolygon& pg, I32 x, I32 y) {
             return pg.ContainBounded(tagPOINT{x, y}) != 0;
           })
      .def_property_readonly("rule", [](const PreparedPolygon& pg) { return rule_name(pg.rule()); })
      .def_property_readonly("ring",
                             [](const PreparedPolygon& pg) { return points_array(pg.points()); })
      .def_property_readonly("bound",
                             [](const PreparedPolygon& pg) { return rect_tuple(pg.bound()); })
      .def_property_readonly("can_wrap", &PreparedPolygon::can_wrap)
      .def_property_readonly("memory_bytes", &PreparedPolygon::memory_bytes);

  py::class_<ZoneIndex>(m, "ZoneIndex")
      .def(py::init(&make_index), py::arg("rings"), py::arg("ids"), py::arg("rule") = "compatible")
      .def("locate", &locate, py::arg("points"))
      .def("locate_one",
           [](const ZoneIndex& index, I32 x, I32 y) {
             return index.Locate(tagPOINT{x, y});
           })
      .def_property_readonly("rule", [](const ZoneIndex& index) { return rule_name(index.rule()); })
      .def_property_readonly("size", &ZoneIndex::size)
      .def_property_readonly("memory_bytes", &ZoneIndex::memory_bytes);

  m.attr("NO_ZONE") = ZoneIndex::kNoZone;
  m.def("ring_can_wrap", &ring_can_wrap, py::arg("ring"));
  m.def("densify_ring", &densify_ring, py::arg("ring"));
  m.def("inscribed_rect", &inscribed_rect, py::arg("ring"), py::arg("step"),
        py::arg("rule") = "compatible");
}

}  // namespace kelvor_py
