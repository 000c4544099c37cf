#include "arrays.h"

namespace kelvor_py {

py::array require_array(const py::handle& obj, const char* name) {
  if (!py::isinstance<py::array>(obj)) {
    throw py::type_error(std::string(name) + ": expected a numpy.ndarray, got " +
                         std::string(py::str(py::type::handle_of(obj).attr("__name__"))));
  }
  return py::reinterpret_borrow<py::array>(obj);
}

void require_same_length(std::size_t n, std::size_t m, const char* what) {
  if (n != m) {
    throw py::value_error(std::string(what) + ": lengths differ (" + std::to_string(n) + " and " +
                          std::to_string(m) + ")");
  }
}

std::int32_t int32_count(std::size_t n, const char* name) {
  if (n > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    throw py::value_error(std::string(name) + ": " + std::to_string(n) +
                          " points exceed the 32-bit count the engine takes");
  }
  return static_cast<std::int32_t>(n);
}

}  // namespace kelvor_py
