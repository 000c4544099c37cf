// Objects built once and asked many times: prepared polygons (one ring, or
// rings with holes and many parts) and the zone index. Also densified rings,
// the one ring function whose answer has a length of its own, and the
// argument rules for the Python layer's own arrays.
#include <cstring>

#include "columns.h"
#include "kelvor/prepared.h"

namespace kelvor_py {

namespace {

using kelvor::PreparedPolygon;
using kelvor::ZoneIndex;

const char* rule_name(kelvor::Rule rule) {
  return rule == kelvor::Rule::Exact ? "exact" : "compatible";
}
const tagPOINT* points_of(const py::array& a) { return static_cast<const tagPOINT*>(a.data()); }
py::tuple rect(const KRECT& rc) {
  return py::make_tuple(rc.ptMin.x, rc.ptMin.y, rc.ptMax.x, rc.ptMax.y);
}

py::array points_array(const std::vector<tagPOINT>& pts) {
  py::array_t<I32> out({static_cast<py::ssize_t>(pts.size()), py::ssize_t{2}});
  if (!pts.empty()) std::memcpy(out.mutable_data(), pts.data(), pts.size() * sizeof(tagPOINT));
  return out;
}

// Answers for points of any shape (..., 2) from one batch call.
template <typename T, typename R, void (T::*F)(const tagPOINT*, std::size_t, R*) const>
py::object batch(const T& self, py::handle points_obj) {
  const py::array pts = convert(points_obj, "points", 'i', kPair);
  py::array out = new_result(std::is_same_v<R, I32> ? 'i' : 'b', kEach,
                             Shape(pts.shape(), pts.shape() + pts.ndim() - 1));
  R* to = static_cast<R*>(out.mutable_data());
  {
    py::gil_scoped_release release;
    (self.*F)(points_of(pts), static_cast<std::size_t>(out.size()), to);
  }
  return result(out);
}

// Splits `total` items into consecutive runs of counts[i]; ValueError unless they add up.
std::vector<std::size_t> runs(py::handle counts_obj, const char* name, std::size_t total,
                              const std::string& items) {
  const py::array counts = convert(counts_obj, name, 'i', "n");
  std::vector<std::size_t> start{0};
  for (py::ssize_t i = 0; i < counts.shape(0); ++i) {
    const I32 n = static_cast<const I32*>(counts.data())[i];
    if (n < 0 || static_cast<std::size_t>(n) > total - start.back()) {
      throw py::value_error(std::string(name) + "[" + std::to_string(i) +
                            "]: " + std::to_string(n) + " is negative or past the " +
                            std::to_string(total) + items);
    }
    start.push_back(start.back() + n);
  }
  if (start.back() == total) return start;
  throw py::value_error(std::string(name) + ": they add up to " + std::to_string(start.back()) +
                        ", not to the " + std::to_string(total) + items);
}

// Rings in GeoJSON order as three buffers: every ring's points one after the
// other, each ring's point count and each ring's hole flag. The views point
// into `points`, which the caller keeps alive while they are used.
std::vector<kelvor::Ring> ring_views(const py::array& points, py::handle counts,
                                     py::handle holes_obj) {
  const std::vector<std::size_t> start =
      runs(counts, "ring_counts", points.shape(0), " points given");
  const py::array holes = convert(holes_obj, "holes", 'b', "n");
  if (holes.shape(0) + 1 != static_cast<py::ssize_t>(start.size())) {
    throw py::value_error("ring_counts and holes: lengths differ");
  }
  std::vector<kelvor::Ring> rings;
  for (std::size_t i = 0; i + 1 < start.size(); ++i) {
    rings.push_back({points_of(points) + start[i], static_cast<I32>(start[i + 1] - start[i]),
                     static_cast<const bool*>(holes.data())[i]});
  }
  return rings;
}

PreparedPolygon polygon(py::handle ring_obj, py::handle rule_obj) {
  const py::array ring = convert(ring_obj, "ring", 'i', kRows);
  const kelvor::Rule rule = parse_rule(rule_obj);
  py::gil_scoped_release release;
  return PreparedPolygon(points_of(ring), static_cast<I32>(ring.shape(0)), rule);
}

PreparedPolygon polygon_of_rings(py::handle points_obj, py::handle counts, py::handle holes,
                                 py::handle rule_obj) {
  const py::array points = convert(points_obj, "points", 'i', kRows);
  const std::vector<kelvor::Ring> rings = ring_views(points, counts, holes);
  const kelvor::Rule rule = parse_rule(rule_obj);
  py::gil_scoped_release release;
  if (rings.size() == 1 && !rings[0].hole) {  // the one-ring path, as for a plain ring
    return PreparedPolygon(rings[0].points, rings[0].count, rule);
  }
  return PreparedPolygon(rings.data(), rings.size(), rule);
}

// The rings as built: (points, ring_counts, holes), as polygon_of_rings takes them.
py::tuple parts(const PreparedPolygon& pg) {
  const std::vector<kelvor::Ring> rings = pg.rings();
  py::array_t<std::int64_t> counts(static_cast<py::ssize_t>(rings.size()));
  py::array_t<bool> holes(static_cast<py::ssize_t>(rings.size()));
  for (std::size_t i = 0; i < rings.size(); ++i) {
    counts.mutable_data()[i] = rings[i].count;
    holes.mutable_data()[i] = rings[i].hole;
  }
  return py::make_tuple(points_array(pg.points()), counts, holes);
}

// Areas over the ring buffers of ring_views: area i takes the next
// area_ring_counts[i] rings and answers ids[i].
ZoneIndex zone_index(py::handle points_obj, py::handle counts, py::handle holes,
                     py::handle area_counts, py::handle ids_obj, py::handle rule_obj) {
  const py::array points = convert(points_obj, "points", 'i', kRows);
  const std::vector<kelvor::Ring> rings = ring_views(points, counts, holes);
  const std::vector<std::size_t> start =
      runs(area_counts, "area_ring_counts", rings.size(), " rings given");
  const py::array ids = convert(ids_obj, "ids", 'i', "n");
  if (ids.shape(0) + 1 != static_cast<py::ssize_t>(start.size())) {
    throw py::value_error("area_ring_counts and ids: lengths differ");
  }
  const kelvor::Rule rule = parse_rule(rule_obj);
  std::vector<kelvor::Area> areas;
  for (std::size_t i = 0; i + 1 < start.size(); ++i) {
    areas.push_back(
        {rings.data() + start[i], start[i + 1] - start[i], static_cast<const I32*>(ids.data())[i]});
  }
  py::gil_scoped_release release;
  return ZoneIndex(areas.data(), areas.size(), rule);
}

// Per zone kept (those whose id is not NO_ZONE), in order: can its rings wrap?
py::array zones_can_wrap(const ZoneIndex& index) {
  py::array_t<bool> out(static_cast<py::ssize_t>(index.size()));
  for (std::size_t i = 0; i < index.size(); ++i) out.mutable_data()[i] = index.zone(i).can_wrap();
  return out;
}

py::array densify_ring(py::handle ring_obj) {
  const py::array ring = convert(ring_obj, "ring", 'i', kRows);
  std::vector<tagPOINT> out;
  {
    py::gil_scoped_release release;
    out = kelvor::DensifyRing(points_of(ring), static_cast<I32>(ring.shape(0)));
  }
  return points_array(out);
}

// column(x, name, "int32" | "float64" | "bool", shape pattern): the argument rules for
// the Python layer's own arrays.
py::array column(py::handle obj, const std::string& name, const std::string& dtype,
                 const std::string& shape) {
  if (dtype != "int32" && dtype != "float64" && dtype != "bool") {
    throw py::value_error("dtype: expected 'int32', 'float64' or 'bool', got '" + dtype + "'");
  }
  return convert(obj, name.c_str(), dtype[0] == 'i' ? 'i' : dtype[0], shape.c_str());
}

}  // namespace

void init_objects(py::module_& m) {
  const auto rule = py::arg("rule") = "compatible";
  using PP = PreparedPolygon;
  py::class_<PP>(m, "PreparedPolygon")
      .def(py::init(&polygon), py::arg("ring"), rule)
      .def_static("from_rings", &polygon_of_rings, py::arg("points"), py::arg("ring_counts"),
                  py::arg("holes"), rule)
      .def("contains", &batch<PP, std::uint8_t, &PP::Contain>, py::arg("points"))
      .def("contains_bounded", &batch<PP, std::uint8_t, &PP::ContainBounded>, py::arg("points"))
      .def_property_readonly("rule", [](const PP& pg) { return rule_name(pg.rule()); })
      .def_property_readonly("parts", &parts)
      .def_property_readonly("bound", [](const PP& pg) { return rect(pg.bound()); })
      .def_property_readonly("can_wrap", &PP::can_wrap)
      .def_property_readonly("memory_bytes", &PP::memory_bytes);
  py::class_<ZoneIndex>(m, "ZoneIndex")
      .def_static("from_areas", &zone_index, py::arg("points"), py::arg("ring_counts"),
                  py::arg("holes"), py::arg("area_ring_counts"), py::arg("ids"), rule)
      .def("locate", &batch<ZoneIndex, I32, &ZoneIndex::Locate>, py::arg("points"))
      .def_property_readonly("rule", [](const ZoneIndex& z) { return rule_name(z.rule()); })
      .def_property_readonly("size", &ZoneIndex::size)
      .def_property_readonly("can_wrap", &zones_can_wrap)
      .def_property_readonly("memory_bytes", &ZoneIndex::memory_bytes);
  m.attr("NO_ZONE") = ZoneIndex::kNoZone;
  m.def("densify_ring", &densify_ring, py::arg("ring"));
  m.def("column", &column, py::arg("x"), py::arg("name"), py::arg("dtype"), py::arg("shape"));
}

}  // namespace kelvor_py
