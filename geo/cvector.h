// Small fixed-dimension vector of the planar projection. Operations keep a
// fixed left-to-right evaluation order so double results never vary.
#ifndef KELVOR_GEO_CVECTOR_H
#define KELVOR_GEO_CVECTOR_H

#include <cstddef>

namespace kelvor::detail {

template <typename T, std::size_t N>
class CVector {
 public:
  CVector() : m_v{} {}
  CVector(T x, T y) : m_v{x, y} { static_assert(N == 2, "two components for (x, y)"); }
  CVector(const CVector&) = default;
  CVector& operator=(const CVector&) = default;
  virtual ~CVector() = default;

  // The vector from `from` to `to`, component by component.
  static CVector difference(const CVector& to, const CVector& from) {
    CVector d;
    for (std::size_t i = 0; i < N; ++i) d.m_v[i] = to.m_v[i] - from.m_v[i];
    return d;
  }

  T& operator[](std::size_t i) { return m_v[i]; }
  const T& operator[](std::size_t i) const { return m_v[i]; }

  // Sum of the component products, accumulated from zero in index order.
  T dot(const CVector& o) const {
    T s = T(0);
    for (std::size_t i = 0; i < N; ++i) s += m_v[i] * o.m_v[i];
    return s;
  }
  T sum_of_squares() const { return dot(*this); }

  CVector& operator*=(T k) {
    for (std::size_t i = 0; i < N; ++i) m_v[i] *= k;
    return *this;
  }
  CVector& operator+=(const CVector& o) {
    for (std::size_t i = 0; i < N; ++i) m_v[i] += o.m_v[i];
    return *this;
  }

 private:
  T m_v[N];
};

}  // namespace kelvor::detail

#endif  // KELVOR_GEO_CVECTOR_H
