// State changes shared by KPLINE and KPGON, whose layouts are identical and
// which differ only in their minimum number of points.
#ifndef KELVOR_SHAPES_BORROWED_POINTS_H
#define KELVOR_SHAPES_BORROWED_POINTS_H

#include "kelvor/shapes.h"

namespace kelvor::detail {

template <class Shape>
void make_empty(Shape& s) {
  s.nCount = 0;
  s.pPoints = nullptr;
  s.rcBound.Empty();
}

// Too few points give the empty shape and the pointer is not kept; otherwise
// the caller's array is borrowed and its bound either computed or, when the
// caller supplies one, taken on trust.
template <class Shape>
void borrow_points(Shape& s, std::int32_t min_points, std::int32_t n, tagPOINT* p,
                   const KRECT* trusted_bound) {
  if (n < min_points) {
    make_empty(s);
    return;
  }
  s.nCount = n;
  s.pPoints = p;
  if (trusted_bound != nullptr)
    s.rcBound = *trusted_bound;
  else
    GetMBR(s.rcBound, n, p);
}

// Shallow copy: the array is shared, never duplicated.
template <class Shape>
void share_points(Shape& dst, const Shape& src) {
  dst.rcBound = src.rcBound;
  dst.nCount = src.nCount;
  dst.pPoints = src.pPoints;
}

}  // namespace kelvor::detail

#endif  // KELVOR_SHAPES_BORROWED_POINTS_H
