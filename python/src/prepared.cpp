// Prepared rings and polygons of many rings, the zone index, ring checks and
// the scalable inscribed rectangle.
#include "kelvor/prepared.h"

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <cstring>
#include <limits>
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

// Rings in GeoJSON order as three buffers: every ring's points one after the
// other, each ring's point count and each ring's hole flag. The views point
// into the points array, which the caller keeps alive while they are used.
std::vector<kelvor::Ring> ring_views(const py::array& points, const py::array& counts,
                                     const py::array& holes) {
  const std::size_t n = pairs_of<I32>(points, "points");
  const std::size_t r = vector_of<std::int64_t>(counts, "ring_counts");
  require_same_length(r, vector_of<bool>(holes, "holes"), "ring_counts and holes");
  const std::int64_t* count = data_of<std::int64_t>(counts);
  const bool* hole = data_of<bool>(holes);
  const tagPOINT* p = points_of(points);
  std::vector<kelvor::Ring> rings(r);
  std::size_t used = 0;
  for (std::size_t i = 0; i < r; ++i) {
    if (count[i] < 0 || count[i] > std::numeric_limits<I32>::max() ||
        static_cast<std::size_t>(count[i]) > n - used) {
      throw py::value_error("ring_counts[" + std::to_string(i) + "]: " + std::to_string(count[i]) +
                            " is negative, beyond int32 or past the " + std::to_string(n) +
                            " points given");
    }
    rings[i] = kelvor::Ring{p + used, static_cast<I32>(count[i]), hole[i]};
    used += static_cast<std::size_t>(count[i]);
  }
  if (used != n) {
    throw py::value_error("ring_counts: they add up to " + std::to_string(used) + ", not to the " +
                          std::to_string(n) + " points given");
  }
  return rings;
}

kelvor::PreparedPolygon polygon_from_rings(const py::object& points_obj,
                                           const py::object& counts_obj,
                                           const py::object& holes_obj, const std::string& rule) {
  const py::array points = require_array(points_obj, "points");
  const py::array counts = require_array(counts_obj, "ring_counts");
  const py::array holes = require_array(holes_obj, "holes");
  const std::vector<kelvor::Ring> rings = ring_views(points, counts, holes);
  const kelvor::Rule r = parse_rule(rule);
  py::gil_scoped_release release;
  if (rings.size() == 1 && !rings[0].hole) {  // the one-ring path, as for a plain ring
    return kelvor::PreparedPolygon(rings[0].points, rings[0].count, r);
  }
  return kelvor::PreparedPolygon(rings.data(), rings.size(), r);
}

// The rings as built: (points, ring_counts, holes), as polygon_from_rings takes them.
py::tuple polygon_parts(const kelvor::PreparedPolygon& pg) {
  const std::vector<kelvor::Ring> rings = pg.rings();
  auto counts = new_vector<std::int64_t>(rings.size());
  auto holes = new_flags(rings.size());
  for (std::size_t i = 0; i < rings.size(); ++i) {
    counts.mutable_data()[i] = rings[i].count;
    holes.mutable_data()[i] = rings[i].hole;
  }
  return py::make_tuple(points_array(pg.points()), counts, holes);
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

// Areas over the ring buffers of ring_views: area i takes the next
// area_counts[i] rings and answers ids[i].
kelvor::ZoneIndex index_from_areas(const py::object& points_obj, const py::object& counts_obj,
                                   const py::object& holes_obj, const py::object& area_counts_obj,
                                   const py::object& ids_obj, const std::string& rule) {
  const py::array points = require_array(points_obj, "points");
  const py::array counts = require_array(counts_obj, "ring_counts");
  const py::array holes = require_array(holes_obj, "holes");
  const py::array area_counts = require_array(area_counts_obj, "area_ring_counts");
  const py::array ids = require_array(ids_obj, "ids");
  const std::vector<kelvor::Ring> rings = ring_views(points, counts, holes);
  const std::size_t n = vector_of<std::int64_t>(area_counts, "area_ring_counts");
  require_same_length(n, vector_of<I32>(ids, "ids"), "area_ring_counts and ids");
  const kelvor::Rule r = parse_rule(rule);
  const std::int64_t* per_area = data_of<std::int64_t>(area_counts);
  const I32* id = data_of<I32>(ids);
  std::vector<kelvor::Area> areas(n);
  std::size_t used = 0;
  for (std::size_t i = 0; i < n; ++i) {
    if (per_area[i] < 0 || static_cast<std::uint64_t>(per_area[i]) > rings.size() - used) {
      throw py::value_error("area_ring_counts[" + std::to_string(i) +
                            "]: " + std::to_string(per_area[i]) + " is negative or past the " +
                            std::to_string(rings.size()) + " rings given");
    }
    areas[i] = kelvor::Area{rings.data() + used, static_cast<std::size_t>(per_area[i]), id[i]};
    used += static_cast<std::size_t>(per_area[i]);
  }
  if (used != rings.size()) {
    throw py::value_error("area_ring_counts: they add up to " + std::to_string(used) +
                          ", not to the " + std::to_string(rings.size()) + " rings given");
  }
  py::gil_scoped_release release;
  return kelvor::ZoneIndex(areas.data(), areas.size(), r);
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
      .def_static("from_rings", &polygon_from_rings, py::arg("points"), py::arg("ring_counts"),
                  py::arg("holes"), py::arg("rule") = "compatible")
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
      .def_property_readonly("points",
                             [](const PreparedPolygon& pg) { return points_array(pg.points()); })
      .def_property_readonly("parts", &polygon_parts)
      .def_property_readonly("bound",
                             [](const PreparedPolygon& pg) { return rect_tuple(pg.bound()); })
      .def_property_readonly("can_wrap", &PreparedPolygon::can_wrap)
      .def_property_readonly("memory_bytes", &PreparedPolygon::memory_bytes);

  py::class_<ZoneIndex>(m, "ZoneIndex")
      .def_static("from_areas", &index_from_areas, py::arg("points"), py::arg("ring_counts"),
                  py::arg("holes"), py::arg("area_ring_counts"), py::arg("ids"),
                  py::arg("rule") = "compatible")
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
