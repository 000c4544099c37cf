// Fit: bisection on the scale. The span of all extents at scale s is convex
// in s, so the scales that fit form an interval starting at zero.
#include "panel_fit.h"

#include <algorithm>
#include <cmath>

namespace {

struct Span {
  double lo, hi;
};

Span SpanX(const std::vector<Extent>& items, double s) {
  Span r{HUGE_VAL, -HUGE_VAL};
  for (const Extent& e : items) {
    r.lo = std::min(r.lo, e.x * s + e.left);
    r.hi = std::max(r.hi, e.x * s + e.right);
  }
  return r;
}

// Pixel y grows downwards while world y grows upwards.
Span SpanY(const std::vector<Extent>& items, double s) {
  Span r{HUGE_VAL, -HUGE_VAL};
  for (const Extent& e : items) {
    r.lo = std::min(r.lo, -e.y * s + e.up);
    r.hi = std::max(r.hi, -e.y * s + e.down);
  }
  return r;
}

bool Fits(const std::vector<Extent>& items, double s, double w, double h) {
  const Span x = SpanX(items, s), y = SpanY(items, s);
  return x.hi - x.lo <= w && y.hi - y.lo <= h;
}

}  // namespace

Mapping Fit(const std::vector<Extent>& items, double left, double top, double w, double h) {
  if (items.empty()) return {1, left + w / 2, top + h / 2};
  double x0 = HUGE_VAL, x1 = -HUGE_VAL, y0 = HUGE_VAL, y1 = -HUGE_VAL;
  for (const Extent& e : items) {
    x0 = std::min(x0, e.x), x1 = std::max(x1, e.x);
    y0 = std::min(y0, e.y), y1 = std::max(y1, e.y);
  }
  // At the upper bound the points alone fill the area.
  double lo = 0, hi = std::min(w / std::max(x1 - x0, 1e-9), h / std::max(y1 - y0, 1e-9));
  if (!Fits(items, lo, w, h)) {
    lo = hi / 2;  // labels too wide for the area: draw the points at half size
  } else {
    for (int i = 0; i < 60; ++i) {
      const double mid = (lo + hi) / 2;
      (Fits(items, mid, w, h) ? lo : hi) = mid;
    }
  }
  if (lo <= 0) lo = hi / 2;
  const Span x = SpanX(items, lo), y = SpanY(items, lo);
  return {lo, left + (w - (x.hi - x.lo)) / 2 - x.lo, top + (h - (y.hi - y.lo)) / 2 - y.lo};
}
