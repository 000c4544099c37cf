// Argument checks shared by every binding. The C++ boundary accepts only
// numpy arrays of the exact dtype, C-contiguous and of the stated shape; it
// never copies or casts (the Python layer converts lists and narrows integer
// dtypes before calling). Everything else raises TypeError or ValueError.
#ifndef KELVOR_PY_ARRAYS_H
#define KELVOR_PY_ARRAYS_H

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <cstdint>
#include <limits>
#include <string>

#include "kelvor/types.h"

namespace kelvor_py {

namespace py = pybind11;

// The array behind an argument, or TypeError when it is not an ndarray.
py::array require_array(const py::handle& obj, const char* name);

// TypeError unless the array's dtype is exactly T; ValueError unless it is
// C-contiguous.
template <typename T>
void require_dtype(const py::array& a, const char* name) {
  if (!py::isinstance<py::array_t<T>>(a)) {  // equivalent dtype, native byte order
    throw py::type_error(std::string(name) + ": expected dtype " +
                         std::string(py::str(py::dtype::of<T>())) + ", got " +
                         std::string(py::str(a.dtype())));
  }
  if (!(a.flags() & py::array::c_style)) {
    throw py::value_error(std::string(name) +
                          ": array is not C-contiguous (use numpy.ascontiguousarray)");
  }
}

// A 1-d array of T; returns its length.
template <typename T>
std::size_t vector_of(const py::array& a, const char* name) {
  require_dtype<T>(a, name);
  if (a.ndim() != 1) {
    throw py::value_error(std::string(name) + ": expected a 1-d array, got " +
                          std::to_string(a.ndim()) + " dimensions");
  }
  return static_cast<std::size_t>(a.shape(0));
}

// An (N, 2) array of T; returns N.
template <typename T>
std::size_t pairs_of(const py::array& a, const char* name) {
  require_dtype<T>(a, name);
  if (a.ndim() != 2 || a.shape(1) != 2) {
    std::string shape = "(";
    for (py::ssize_t i = 0; i < a.ndim(); ++i)
      shape += (i ? ", " : "") + std::to_string(a.shape(i));
    throw py::value_error(std::string(name) + ": expected shape (N, 2), got " + shape + ")");
  }
  return static_cast<std::size_t>(a.shape(0));
}

// ValueError unless every length equals the first.
void require_same_length(std::size_t n, std::size_t m, const char* what);

// ValueError when a count does not fit the signed 32-bit count of the C++ call.
std::int32_t int32_count(std::size_t n, const char* name);

template <typename T>
const T* data_of(const py::array& a) {
  return static_cast<const T*>(a.data());
}

inline const tagPOINT* points_of(const py::array& a) {
  static_assert(sizeof(tagPOINT) == 2 * sizeof(std::int32_t), "tagPOINT is two int32");
  return reinterpret_cast<const tagPOINT*>(a.data());
}
inline const tagLonLat* lonlats_of(const py::array& a) {
  static_assert(sizeof(tagLonLat) == 2 * sizeof(double), "tagLonLat is two doubles");
  return reinterpret_cast<const tagLonLat*>(a.data());
}
inline const _Bin_LonLat* bin_lonlats_of(const py::array& a) {
  static_assert(sizeof(_Bin_LonLat) == 2 * sizeof(std::int32_t), "_Bin_LonLat is two int32");
  return reinterpret_cast<const _Bin_LonLat*>(a.data());
}

// Fresh C-contiguous outputs.
template <typename T>
py::array_t<T> new_vector(std::size_t n) {
  return py::array_t<T>(static_cast<py::ssize_t>(n));
}
template <typename T>
py::array_t<T> new_pairs(std::size_t n) {
  return py::array_t<T>({static_cast<py::ssize_t>(n), static_cast<py::ssize_t>(2)});
}
inline py::array_t<bool> new_flags(std::size_t n) {
  return py::array_t<bool>(static_cast<py::ssize_t>(n));
}

}  // namespace kelvor_py

#endif  // KELVOR_PY_ARRAYS_H
