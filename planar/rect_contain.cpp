// Containment in a half-open rectangle, point by point; no edge is tested.
#include "common/half_open.h"
#include "kelvor/planar.h"

namespace {

using kelvor::detail::half_open_holds;

// One test behind two exported names: the two points are judged as points,
// whether they are a rectangle's corners or a segment's ends.
std::int32_t rect_holds_both(const tagPOINT* min, const tagPOINT* max, const tagPOINT* c1,
                             const tagPOINT* c2) {
  return static_cast<std::int32_t>(half_open_holds(*min, *max, *c1) &&
                                   half_open_holds(*min, *max, *c2));
}

std::int32_t rect_holds_all(const tagPOINT* min, const tagPOINT* max, const tagPOINT* pts,
                            std::int32_t n) {
  for (std::int32_t i = 0; i < n; ++i) {
    if (!half_open_holds(*min, *max, pts[i])) return 0;
  }
  return 1;
}

}  // namespace

std::int32_t Rect_Contain_Point(const tagPOINT* min, const tagPOINT* max, const tagPOINT* p) {
  return static_cast<std::int32_t>(half_open_holds(*min, *max, *p));
}

std::int32_t Rect_Contain_Rect(const tagPOINT* min, const tagPOINT* max, const tagPOINT* c1,
                               const tagPOINT* c2) {
  return rect_holds_both(min, max, c1, c2);
}

std::int32_t Rect_Contain_Segment(const tagPOINT* min, const tagPOINT* max, const tagPOINT* c1,
                                  const tagPOINT* c2) {
  return rect_holds_both(min, max, c1, c2);
}

std::int32_t Rect_Contain_Polygon(const tagPOINT* min, const tagPOINT* max, const tagPOINT* pts,
                                  std::int32_t n) {
  return rect_holds_all(min, max, pts, n);
}

std::int32_t Rect_Contain_Polyline(const tagPOINT* min, const tagPOINT* max, const tagPOINT* pts,
                                   std::int32_t n) {
  return rect_holds_all(min, max, pts, n);
}
