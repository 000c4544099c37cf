// Columns: how each argument and result of a binding lies in numpy, and the
// one loop that every element-wise binding runs.
//
// A column is a C++ element type, a dtype and a shape pattern: "..." one
// value per element, "...,2" a pair per element (also "...,2,2", "...,4"),
// "n,2" a whole (N, 2) array, "2" exactly one pair, "" exactly one value.
// The "..." dimensions of all arguments broadcast together by numpy's rules;
// each result has the broadcast shape followed by its own fixed dimensions,
// and a result of no dimension at all is a numpy scalar. Arguments are
// converted by convert() (columns.cpp) and nowhere else.
#ifndef KELVOR_PY_COLUMNS_H
#define KELVOR_PY_COLUMNS_H

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <array>
#include <cstdint>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "kelvor/rule.h"
#include "kelvor/types.h"

namespace kelvor_py {

namespace py = pybind11;
using I32 = std::int32_t;
using Shape = std::vector<py::ssize_t>;

// dtype 'i' int32, 'f' float64, 'b' bool; 'r' a rule name ("compatible" or "exact").
template <typename E, char D, const char* S>
struct Col {
  using Elem = E;
  static constexpr char dtype = D;
  static constexpr const char* shape = S;
};
inline constexpr char kEach[] = "...", kPair[] = "...,2", kMatrix[] = "...,2,2", kRect[] = "...,4",
                      kRows[] = "n,2", kOnePair[] = "2", kOne[] = "";
using Int = Col<I32, 'i', kEach>;
using Real = Col<double, 'f', kEach>;
using Flag = Col<bool, 'b', kEach>;
using Point = Col<tagPOINT, 'i', kPair>;
using Vector = Col<KMF_Vector, 'i', kPair>;
using Units = Col<_Bin_LonLat, 'i', kPair>;  // 1/100000 degree
using Degrees = Col<tagLonLat, 'f', kPair>;
using Matrix = Col<KMF_Matrix, 'i', kMatrix>;
using Rect = Col<std::array<I32, 4>, 'i', kRect>;  // xmin, ymin, xmax, ymax
using Ring = Col<tagPOINT, 'i', kRows>;
using Step = Col<I32, 'i', kOne>;
using RuleName = Col<kelvor::Rule, 'r', kOne>;
template <typename C>
using Rows = Col<typename C::Elem, C::dtype, kRows>;  // a whole array of C's pairs
template <typename C>
using Corner = Col<typename C::Elem, C::dtype, kOnePair>;  // one of C's pairs

template <typename E>
struct Span {  // a whole column, as each call sees it
  const E* p;
  I32 n;
};
struct Layout {  // how one argument or result lies: its name, dtype and shape pattern
  const char* name;
  char dtype;
  const char* shape;
};
struct Arg {  // an argument once converted: its data from the first element on
  py::object keep;
  const char* data = nullptr;
  py::ssize_t stride = 0;  // bytes from element to element; 0: one value for all
  I32 rows = 0;            // of a whole column
  kelvor::Rule rule = kelvor::Rule::Compatible;
};

// The argument as an aligned C-ordered array of the column's dtype and shape,
// or TypeError (dtype, kind of object) / ValueError (shape, range) naming it.
py::array convert(py::handle obj, const char* name, char dtype, const char* shape);
kelvor::Rule parse_rule(py::handle obj);
// Converts the arguments and broadcasts the "..." ones; returns the loop shape.
Shape prepare(Arg* args, const Layout* layouts, const py::object* objs, std::size_t count);
py::array new_result(char dtype, const char* shape, Shape loop);
py::object result(const py::array& out);  // 0-d arrays as numpy scalars
// Appends (name, ((argument, dtype, shape), ...), ((dtype, shape), ...)) to the module's TABLE.
void describe(py::module_& m, const std::string& name, const std::vector<Layout>& args,
              const std::vector<Layout>& results);

template <typename C>
decltype(auto) element(const Arg& a, py::ssize_t i) {
  using E = typename C::Elem;
  if constexpr (C::dtype == 'r')
    return a.rule;
  else if constexpr (C::shape[0] == 'n')
    return Span<E>{reinterpret_cast<const E*>(a.data), a.rows};
  else
    return *reinterpret_cast<const E*>(a.data + i * a.stride);
}
template <typename C>
auto argument(const char* name) {
  if constexpr (C::dtype == 'r')
    return py::arg(name) = "compatible";
  else
    return py::arg(name);
}

template <std::size_t>
using Object = py::object;
template <typename... C>
struct In {};
template <typename... C>
struct Out {
  static constexpr std::size_t size = sizeof...(C);
};

// F takes each argument's element (const E&, a Span for a whole column, the
// Rule) and either returns the one result or, after them, takes every
// result's element by reference. The loop runs without the GIL.
template <typename... I, typename... O, typename F, std::size_t... k, std::size_t... j>
void def_loop(py::module_& m, const std::string& name, const char* const* names, F f, In<I...>,
              Out<O...>, std::index_sequence<k...>, std::index_sequence<j...>) {
  const std::array<Layout, sizeof...(I)> layouts{Layout{names[k], I::dtype, I::shape}...};
  describe(m, name, {layouts.begin(), layouts.end()}, {Layout{"", O::dtype, O::shape}...});
  const auto loop = [f, layouts](Object<k>... objs) -> py::object {
    Arg args[sizeof...(I)];
    const py::object given[] = {objs...};
    const Shape shape = prepare(args, layouts.data(), given, sizeof...(I));
    py::array outs[] = {new_result(O::dtype, O::shape, shape)...};
    char* const to[] = {static_cast<char*>(outs[j].mutable_data())...};
    py::ssize_t n = 1;
    for (py::ssize_t d : shape) n *= d;
    {
      py::gil_scoped_release release;
      for (py::ssize_t i = 0; i < n; ++i) {
        if constexpr (std::is_invocable_v<const F&, decltype(element<I>(args[k], i))...>) {
          static_assert(sizeof...(O) == 1, "a function that returns its answer has one result");
          ((reinterpret_cast<typename O::Elem*>(to[j])[i] = f(element<I>(args[k], i)...)), ...);
        } else {
          f(element<I>(args[k], i)..., reinterpret_cast<typename O::Elem*>(to[j])[i]...);
        }
      }
    }
    if constexpr (sizeof...(O) == 1)
      return result(outs[0]);
    else
      return py::make_tuple(result(outs[j])...);
  };
  m.def(name.c_str(), loop, argument<I>(names[k])...);
}

// One line of the table: def<In<columns...>, Out<columns...>>(m, name, {argument names}, f).
template <typename Ins, typename Outs, std::size_t N, typename F>
void def(py::module_& m, const std::string& name, const char* const (&names)[N], F f) {
  def_loop(m, name, names, f, Ins{}, Outs{}, std::make_index_sequence<N>{},
           std::make_index_sequence<Outs::size>{});
}

}  // namespace kelvor_py

#endif  // KELVOR_PY_COLUMNS_H
