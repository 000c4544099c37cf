// Fixed-point scalar, trigonometric and vector functions over equal-length
// 1-d int32 arrays (the Python layer broadcasts and flattens).
#include "kelvor/fixed.h"

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include "arrays.h"

namespace kelvor_py {

namespace {

using I32 = std::int32_t;

template <I32 (*F)(I32)>
py::array_t<I32> unary(const py::object& a_obj) {
  const py::array a = require_array(a_obj, "a");
  const std::size_t n = vector_of<I32>(a, "a");
  auto out = new_vector<I32>(n);
  const I32* in = data_of<I32>(a);
  I32* o = out.mutable_data();
  {
    py::gil_scoped_release release;
    for (std::size_t i = 0; i < n; ++i) o[i] = F(in[i]);
  }
  return out;
}

template <I32 (*F)(I32, I32)>
py::array_t<I32> binary(const py::object& a_obj, const py::object& b_obj) {
  const py::array a = require_array(a_obj, "a"), b = require_array(b_obj, "b");
  const std::size_t n = vector_of<I32>(a, "a");
  require_same_length(n, vector_of<I32>(b, "b"), "a and b");
  auto out = new_vector<I32>(n);
  const I32 *x = data_of<I32>(a), *y = data_of<I32>(b);
  I32* o = out.mutable_data();
  {
    py::gil_scoped_release release;
    for (std::size_t i = 0; i < n; ++i) o[i] = F(x[i], y[i]);
  }
  return out;
}

template <I32 (*F)(I32, I32, I32)>
py::array_t<I32> ternary(const py::object& a_obj, const py::object& b_obj,
                         const py::object& c_obj) {
  const py::array a = require_array(a_obj, "a"), b = require_array(b_obj, "b"),
                  c = require_array(c_obj, "c");
  const std::size_t n = vector_of<I32>(a, "a");
  require_same_length(n, vector_of<I32>(b, "b"), "a and b");
  require_same_length(n, vector_of<I32>(c, "c"), "a and c");
  auto out = new_vector<I32>(n);
  const I32 *x = data_of<I32>(a), *y = data_of<I32>(b), *z = data_of<I32>(c);
  I32* o = out.mutable_data();
  {
    py::gil_scoped_release release;
    for (std::size_t i = 0; i < n; ++i) o[i] = F(x[i], y[i], z[i]);
  }
  return out;
}

I32 mulfix(I32 a, I32 b) { return KMF_MulFix(a, b); }

// Vectors: (N, 2) int32, angles (N,) int32.
py::array_t<I32> vector_rotate(const py::object& v_obj, const py::object& angle_obj) {
  const py::array v = require_array(v_obj, "v"), angle = require_array(angle_obj, "angle");
  const std::size_t n = pairs_of<I32>(v, "v");
  require_same_length(n, vector_of<I32>(angle, "angle"), "v and angle");
  auto out = new_pairs<I32>(n);
  const KMF_Vector* in = reinterpret_cast<const KMF_Vector*>(v.data());
  const I32* ang = data_of<I32>(angle);
  KMF_Vector* o = reinterpret_cast<KMF_Vector*>(out.mutable_data());
  {
    py::gil_scoped_release release;
    for (std::size_t i = 0; i < n; ++i) {
      o[i] = in[i];
      KMF_Vector_Rotate(&o[i], ang[i]);
    }
  }
  return out;
}

py::array_t<I32> vector_length(const py::object& v_obj) {
  const py::array v = require_array(v_obj, "v");
  const std::size_t n = pairs_of<I32>(v, "v");
  auto out = new_vector<I32>(n);
  const KMF_Vector* in = reinterpret_cast<const KMF_Vector*>(v.data());
  I32* o = out.mutable_data();
  {
    py::gil_scoped_release release;
    for (std::size_t i = 0; i < n; ++i) o[i] = KMF_Vector_Length(&in[i]);
  }
  return out;
}

// The zero vector writes neither output; both are preset to 0 so that such
// rows read as length 0, angle 0.
py::tuple vector_polarize(const py::object& v_obj) {
  const py::array v = require_array(v_obj, "v");
  const std::size_t n = pairs_of<I32>(v, "v");
  auto len = new_vector<I32>(n);
  auto ang = new_vector<I32>(n);
  const KMF_Vector* in = reinterpret_cast<const KMF_Vector*>(v.data());
  I32* l = len.mutable_data();
  I32* a = ang.mutable_data();
  {
    py::gil_scoped_release release;
    for (std::size_t i = 0; i < n; ++i) {
      l[i] = 0;
      a[i] = 0;
      KMF_Vector_Polarize(&in[i], &l[i], &a[i]);
    }
  }
  return py::make_tuple(len, ang);
}

py::array_t<I32> vector_from_polar(const py::object& length_obj, const py::object& angle_obj) {
  const py::array length = require_array(length_obj, "length"),
                  angle = require_array(angle_obj, "angle");
  const std::size_t n = vector_of<I32>(length, "length");
  require_same_length(n, vector_of<I32>(angle, "angle"), "length and angle");
  auto out = new_pairs<I32>(n);
  const I32 *len = data_of<I32>(length), *ang = data_of<I32>(angle);
  KMF_Vector* o = reinterpret_cast<KMF_Vector*>(out.mutable_data());
  {
    py::gil_scoped_release release;
    for (std::size_t i = 0; i < n; ++i) KMF_Vector_From_Polar(&o[i], len[i], ang[i]);
  }
  return out;
}

py::array_t<I32> vector_unit(const py::object& angle_obj) {
  const py::array angle = require_array(angle_obj, "angle");
  const std::size_t n = vector_of<I32>(angle, "angle");
  auto out = new_pairs<I32>(n);
  const I32* ang = data_of<I32>(angle);
  KMF_Vector* o = reinterpret_cast<KMF_Vector*>(out.mutable_data());
  {
    py::gil_scoped_release release;
    for (std::size_t i = 0; i < n; ++i) KMF_Vector_Unit(&o[i], ang[i]);
  }
  return out;
}

// Matrices: (N, 4) int32 rows m11, m12, m21, m22.
py::array_t<I32> vector_transform(const py::object& v_obj, const py::object& m_obj) {
  const py::array v = require_array(v_obj, "v"), m = require_array(m_obj, "m");
  const std::size_t n = pairs_of<I32>(v, "v");
  require_dtype<I32>(m, "m");
  if (m.ndim() != 2 || m.shape(1) != 4) throw py::value_error("m: expected shape (N, 4)");
  require_same_length(n, static_cast<std::size_t>(m.shape(0)), "v and m");
  auto out = new_pairs<I32>(n);
  const KMF_Vector* in = reinterpret_cast<const KMF_Vector*>(v.data());
  const KMF_Matrix* mat = reinterpret_cast<const KMF_Matrix*>(m.data());
  static_assert(sizeof(KMF_Matrix) == 4 * sizeof(I32), "KMF_Matrix is four int32");
  KMF_Vector* o = reinterpret_cast<KMF_Vector*>(out.mutable_data());
  {
    py::gil_scoped_release release;
    for (std::size_t i = 0; i < n; ++i) {
      o[i] = in[i];
      KMF_Vector_Transform(&o[i], &mat[i]);
    }
  }
  return out;
}

}  // namespace

void init_fixed(py::module_& m) {
  m.def("round_fix", &unary<KMF_RoundFix>, py::arg("a"));
  m.def("ceil_fix", &unary<KMF_CeilFix>, py::arg("a"));
  m.def("floor_fix", &unary<KMF_FloorFix>, py::arg("a"));
  m.def("sqrt32", &unary<KMF_Sqrt32>, py::arg("a"));
  m.def("sqrt_fixed", &unary<KMF_SqrtFixed>, py::arg("a"));
  m.def("sin", &unary<KMF_Sin>, py::arg("a"));
  m.def("cos", &unary<KMF_Cos>, py::arg("a"));
  m.def("tan", &unary<KMF_Tan>, py::arg("a"));
  m.def("mulfix", &binary<mulfix>, py::arg("a"), py::arg("b"));
  m.def("divfix", &binary<KMF_DivFix>, py::arg("a"), py::arg("b"));
  m.def("atan2", &binary<KMF_Atan2>, py::arg("a"), py::arg("b"));
  m.def("angle_diff", &binary<KMF_Angle_Diff>, py::arg("a"), py::arg("b"));
  m.def("muldiv", &ternary<KMF_MulDiv>, py::arg("a"), py::arg("b"), py::arg("c"));
  m.def("muldiv_no_round", &ternary<KMF_MulDiv_No_Round>, py::arg("a"), py::arg("b"), py::arg("c"));
  m.def("vector_rotate", &vector_rotate, py::arg("v"), py::arg("angle"));
  m.def("vector_length", &vector_length, py::arg("v"));
  m.def("vector_polarize", &vector_polarize, py::arg("v"));
  m.def("vector_from_polar", &vector_from_polar, py::arg("length"), py::arg("angle"));
  m.def("vector_unit", &vector_unit, py::arg("angle"));
  m.def("vector_transform", &vector_transform, py::arg("v"), py::arg("m"));
}

}  // namespace kelvor_py
