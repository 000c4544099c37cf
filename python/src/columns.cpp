// The argument rules of every binding, in one place:
//  * anything numpy.asarray takes is accepted (lists, scalars, pandas columns
//    and frames, strided or Fortran-ordered arrays); data is copied only
//    when its dtype or layout must change;
//  * int32 columns take any integer dtype whose values all fit int32 (never
//    wrapped); float64 columns take floating dtypes of up to 64 bits and
//    integers of magnitude up to 2**53; bool columns take bool. Another dtype
//    is a TypeError, a wrong shape or value a ValueError, each naming the
//    argument. An empty list fits every column.
#include "columns.h"

#include <pybind11/stl.h>

#include <limits>

namespace kelvor_py {

namespace {

std::string text(py::handle obj) { return py::str(obj); }
std::string type_name(py::handle obj) { return text(py::type::handle_of(obj).attr("__name__")); }
std::string shape_text(const py::array& a) { return text(py::tuple(a.attr("shape"))); }
py::dtype dtype_of(char d) {
  return d == 'i'   ? py::dtype::of<I32>()
         : d == 'f' ? py::dtype::of<double>()
                    : py::dtype::of<bool>();
}

// A shape pattern: its fixed dimensions, and whether it starts with "..." or "n".
struct Pattern {
  bool each, whole;
  Shape core;
  explicit Pattern(const std::string& s) : each(!s.rfind("...", 0)), whole(!s.rfind('n', 0)) {
    for (std::size_t i = each ? 3 : whole, used = 0; i < s.size(); i += used) {
      core.push_back(std::stoi(s.substr(i + (s[i] == ',')), &used));
      used += s[i] == ',';
    }
  }
  std::string text() const {
    std::string s = each ? "..." : whole ? "N" : "";
    for (py::ssize_t d : core) s += (s.empty() ? "" : ", ") + std::to_string(d);
    return "(" + s + (core.size() + whole == 1 && !each ? ",)" : ")");
  }
};

void check_range(const py::array& a, const std::string& name, long long lo, long long hi,
                 const char* why) {
  const py::object least = a.attr("min")().attr("item")(), most = a.attr("max")().attr("item")();
  if (least < py::int_(lo) || most > py::int_(hi)) {
    throw py::value_error(name + ": values from " + text(least) + " to " + text(most) + why);
  }
}

}  // namespace

py::array convert(py::handle obj, const char* name_c, char dtype, const char* shape) {
  const std::string name = name_c;
  const py::module_ np = py::module_::import("numpy");
  if (py::isinstance<py::str>(obj) || py::isinstance<py::bytes>(obj)) {
    throw py::type_error(name + ": expected numbers, got " + type_name(obj));
  }
  const bool given = py::isinstance<py::array>(obj);
  py::array a;
  try {  // pandas' nullable columns go to their numpy dtype (and refuse NA)
    const py::object nullable =
        py::getattr(py::getattr(obj, "dtype", py::none()), "numpy_dtype", py::none());
    a = !given && !nullable.is_none() ? obj.attr("to_numpy")(nullable) : np.attr("asarray")(obj);
  } catch (py::error_already_set& e) {
    if (!e.matches(PyExc_ValueError) && !e.matches(PyExc_TypeError)) throw;
    throw py::value_error(name + ": cannot make an array of it (" + text(e.value()) + ")");
  }
  const char kind = a.dtype().kind();
  const std::string got = ", got dtype " + text(a.dtype());
  if (!given && a.size() == 0) {
    // [] converts to any dtype
  } else if (dtype == 'i' && !py::isinstance<py::array_t<I32>>(a)) {
    if (kind != 'i' && kind != 'u')
      throw py::type_error(name + ": expected an integer (int32) array" + got);
    if (a.itemsize() >= 4 && a.size())
      check_range(a, name, INT32_MIN, INT32_MAX, " do not fit int32 (never wrapped)");
  } else if (dtype == 'f' && !py::isinstance<py::array_t<double>>(a)) {
    if ((kind == 'i' || kind == 'u') && a.size()) {
      check_range(a, name, -(1LL << 53), 1LL << 53,
                  " are integers beyond 2**53, not exact as float64");
    } else if (kind != 'i' && kind != 'u' && (kind != 'f' || a.itemsize() > 8)) {
      throw py::type_error(name + ": expected a floating (float64) array" + got);
    }
  } else if (dtype == 'b' && kind != 'b') {
    throw py::type_error(name + ": expected bool flags" + got);
  }
  const Pattern p(shape);
  if (!given && a.size() == 0 && (p.whole || p.each)) {  // [] is no rows of anything
    Shape none{0};
    none.insert(none.end(), p.core.begin(), p.core.end());
    a = py::array(dtype_of(dtype), none);
  }
  const auto core = static_cast<py::ssize_t>(p.core.size());
  bool fits = p.each ? a.ndim() >= core : a.ndim() == core + p.whole;
  for (py::ssize_t d = 0; fits && d < core; ++d) fits = a.shape(a.ndim() - core + d) == p.core[d];
  if (!fits)
    throw py::value_error(name + ": expected shape " + p.text() + ", got " + shape_text(a));
  if (p.whole && a.shape(0) > std::numeric_limits<I32>::max()) {
    throw py::value_error(name + ": more rows than the engine's 32-bit count");
  }
  return np.attr("require")(a, dtype_of(dtype), "CA");  // native order, aligned, C order
}

kelvor::Rule parse_rule(py::handle obj) {
  const bool named = py::isinstance<py::str>(obj);
  const std::string given = named ? "'" + text(obj) + "'" : type_name(obj);
  if (given == "'compatible'" || given == "'exact'") {
    return given == "'exact'" ? kelvor::Rule::Exact : kelvor::Rule::Compatible;
  }
  const std::string message = "rule: expected 'compatible' or 'exact', got " + given;
  if (named) throw py::value_error(message);
  throw py::type_error(message);
}

Shape prepare(Arg* args, const Layout* layouts, const py::object* objs, std::size_t count) {
  const py::module_ np = py::module_::import("numpy");
  std::vector<py::array> arrays(count);
  std::vector<Pattern> patterns;
  py::list leads;
  std::string shapes;
  for (std::size_t k = 0; k < count; ++k) {
    patterns.emplace_back(layouts[k].dtype == 'r' ? "" : layouts[k].shape);
    if (layouts[k].dtype == 'r') {
      args[k].rule = parse_rule(objs[k]);
    } else {
      arrays[k] = convert(objs[k], layouts[k].name, layouts[k].dtype, layouts[k].shape);
    }
    if (patterns[k].each) {
      const auto lead = arrays[k].ndim() - static_cast<py::ssize_t>(patterns[k].core.size());
      leads.append(arrays[k].attr("shape")[py::slice(0, lead, 1)]);
      shapes +=
          (shapes.empty() ? "" : ", ") + std::string(layouts[k].name) + " " + shape_text(arrays[k]);
    }
  }
  Shape loop;
  try {
    loop = np.attr("broadcast_shapes")(*leads).cast<Shape>();
  } catch (py::error_already_set& e) {
    if (!e.matches(PyExc_ValueError)) throw;
    throw py::value_error("shapes do not broadcast: " + shapes);
  }
  py::ssize_t total = 1;
  for (py::ssize_t d : loop) total *= d;
  for (std::size_t k = 0; k < count; ++k) {
    const Pattern& p = patterns[k];
    if (layouts[k].dtype == 'r') continue;
    py::ssize_t elem = arrays[k].itemsize();
    for (py::ssize_t d : p.core) elem *= d;
    const py::ssize_t size = arrays[k].nbytes() / elem;
    if (p.each && size != 1 && size != total) {  // stretched along some axis: copied out
      Shape full = loop;
      full.insert(full.end(), p.core.begin(), p.core.end());
      arrays[k] = np.attr("ascontiguousarray")(np.attr("broadcast_to")(arrays[k], py::cast(full)));
    }
    args[k].keep = arrays[k];
    args[k].data = static_cast<const char*>(arrays[k].data());
    args[k].stride = p.each && size != 1 ? elem : 0;
    args[k].rows = p.whole ? static_cast<I32>(arrays[k].shape(0)) : 0;
  }
  return loop;
}

py::array new_result(char dtype, const char* shape, Shape loop) {
  const Pattern p(shape);
  loop.insert(loop.end(), p.core.begin(), p.core.end());
  return py::array(dtype_of(dtype), loop);
}

py::object result(const py::array& out) {
  return out.ndim() == 0 ? out.attr("__getitem__")(py::tuple()) : py::object(out);
}

void describe(py::module_& m, const std::string& name, const std::vector<Layout>& args,
              const std::vector<Layout>& results) {
  const auto dtype = [](char d) {
    return d == 'i' ? "int32" : d == 'f' ? "float64" : d == 'b' ? "bool" : "rule";
  };
  py::list in, out;
  for (const Layout& s : args) in.append(py::make_tuple(s.name, dtype(s.dtype), s.shape));
  for (const Layout& s : results) out.append(py::make_tuple(dtype(s.dtype), s.shape));
  if (!py::hasattr(m, "TABLE")) m.attr("TABLE") = py::list();
  m.attr("TABLE").attr("append")(py::make_tuple(name, py::tuple(in), py::tuple(out)));
}

}  // namespace kelvor_py
