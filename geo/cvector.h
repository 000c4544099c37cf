// A point or vector of the projection plane (longitude as x, latitude as y).
// Each operation evaluates in one fixed order, so double results never vary.
#ifndef KELVOR_GEO_CVECTOR_H
#define KELVOR_GEO_CVECTOR_H

namespace kelvor::detail {

struct Vec2 {
  double x;
  double y;
};

inline Vec2 operator-(const Vec2& to, const Vec2& from) { return {to.x - from.x, to.y - from.y}; }

// Sum of the component products, accumulated from zero: x first, then y.
inline double dot(const Vec2& a, const Vec2& b) {
  double s = 0.0;
  s += a.x * b.x;
  s += a.y * b.y;
  return s;
}

// a * t + b, component by component (never fused: built without contraction).
inline Vec2 scaled_plus(const Vec2& a, double t, const Vec2& b) {
  return {a.x * t + b.x, a.y * t + b.y};
}

}  // namespace kelvor::detail

#endif  // KELVOR_GEO_CVECTOR_H
