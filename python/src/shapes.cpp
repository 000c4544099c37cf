// Bounding and inscribed rectangles of a ring.
#include "kelvor/shapes.h"

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include "arrays.h"

namespace kelvor_py {

py::tuple rect_tuple(const KRECT& rc) {
  return py::make_tuple(rc.ptMin.x, rc.ptMin.y, rc.ptMax.x, rc.ptMax.y);
}

namespace {

// GetMBR reads the first point whatever the count, so an empty ring is
// refused here rather than read.
py::tuple bounding_rect(const py::object& ring_obj) {
  const py::array ring = require_array(ring_obj, "ring");
  const std::int32_t n = int32_count(pairs_of<std::int32_t>(ring, "ring"), "ring");
  if (n == 0) throw py::value_error("ring: the bounding rectangle needs at least one point");
  KRECT rc;
  {
    py::gil_scoped_release release;
    GetMBR(rc, n, points_of(ring));
  }
  return rect_tuple(rc);
}

py::tuple get_mcr(const py::object& ring_obj, std::int32_t step) {
  const py::array ring = require_array(ring_obj, "ring");
  const std::int32_t n = int32_count(pairs_of<std::int32_t>(ring, "ring"), "ring");
  KRECT rc;
  {
    py::gil_scoped_release release;
    GetMCR(rc, n, points_of(ring), step);
  }
  return rect_tuple(rc);
}

}  // namespace

void init_shapes(py::module_& m) {
  m.def("bounding_rect", &bounding_rect, py::arg("ring"));
  m.def("get_mcr", &get_mcr, py::arg("ring"), py::arg("step"));
}

}  // namespace kelvor_py
