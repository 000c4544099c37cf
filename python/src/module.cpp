// The compiled core of the kelvor Python package. Each family lives in its
// own file; the prepared-ring bindings are added when the library has them.
#include <pybind11/pybind11.h>

namespace py = pybind11;

namespace kelvor_py {
void init_fixed(py::module_& m);
void init_planar(py::module_& m);
void init_shapes(py::module_& m);
void init_geo(py::module_& m);
void init_scalar(py::module_& m);
#ifdef KELVOR_PY_HAVE_PREPARED
void init_prepared(py::module_& m);
#endif
}  // namespace kelvor_py

PYBIND11_MODULE(_kelvor, m) {
  m.doc() = "Compiled bindings of libkelvor; use the kelvor package instead.";
  kelvor_py::init_fixed(m);
  kelvor_py::init_planar(m);
  kelvor_py::init_shapes(m);
  kelvor_py::init_geo(m);
  kelvor_py::init_scalar(m);
#ifdef KELVOR_PY_HAVE_PREPARED
  kelvor_py::init_prepared(m);
  m.attr("HAVE_PREPARED") = true;
#else
  m.attr("HAVE_PREPARED") = false;
#endif
}
