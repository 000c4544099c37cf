/// @file
/// Shape objects: a point, a half-open rectangle, a polyline and a polygon, all
/// derived from KShape, with virtual Contain / Intersect relations.
///
/// Layout and virtual table are part of the interface: KShape holds only its
/// virtual table pointer; the ten virtual operations appear in the order they
/// are declared below; no class declares a destructor (none owns anything).
/// KPLINE and KPGON borrow the caller's point array: they never copy or free
/// it, copies share it, and editing the points does not refresh rcBound.
///
/// Relation results: 0 is false, any non-zero value true (some answers are
/// passed through from the planar predicates of <kelvor/planar.h>).
#ifndef KELVOR_SHAPES_H
#define KELVOR_SHAPES_H

// Inside the library each folder may include only the headers of what it
// uses (see its CMakeLists.txt); clients include anything.
#if defined(KELVOR_BUILDING) && !defined(KELVOR_USES_SHAPES)
#error "this part of Kelvor does not use <kelvor/shapes.h>"
#endif

#include <cstdint>

#include "kelvor/export.h"
#include "kelvor/types.h"

class KPOINT;
class KRECT;
class KPLINE;
class KPGON;

/// Root of the shape tree. A plain KShape answers 0 to every relation, and so
/// does every derived class for the relations it does not override.
class KELVOR_API KShape {
 public:
  /// A shape without data.
  KShape();
  /// Copies nothing (there is no data).
  KShape(const KShape& other);
  /// Copies nothing (there is no data) and returns *this.
  KShape& operator=(const KShape& other);

  /// @name Does this shape hold the argument? (virtual table slots 1-5)
  /// @{

  /// The polygon pg.
  virtual std::int32_t Contain(const KPGON& pg) const;
  /// The polyline pl.
  virtual std::int32_t Contain(const KPLINE& pl) const;
  /// The rectangle rc.
  virtual std::int32_t Contain(const KRECT& rc) const;
  /// The segment a-b, both ends included.
  virtual std::int32_t Contain(const tagPOINT& a, const tagPOINT& b) const;
  /// The point q.
  virtual std::int32_t Contain(const tagPOINT& q) const;
  /// @}

  /// @name Do the two figures meet? (virtual table slots 6-10)
  /// @{

  /// The polygon pg.
  virtual std::int32_t Intersect(const KPGON& pg) const;
  /// The polyline pl.
  virtual std::int32_t Intersect(const KPLINE& pl) const;
  /// The rectangle rc.
  virtual std::int32_t Intersect(const KRECT& rc) const;
  /// The segment a-b.
  virtual std::int32_t Intersect(const tagPOINT& a, const tagPOINT& b) const;
  /// The point q.
  virtual std::int32_t Intersect(const tagPOINT& q) const;
  /// @}
};

/// A plane point. Contains nothing; meets a rectangle when
/// min.x <= x < max.x and min.y <= y <= max.y (the top edge counts).
class KELVOR_API KPOINT : public KShape {
 public:
  /// Sets (0, 0); callers are expected to assign the point before reading it.
  KPOINT();
  /// The point (x, y).
  KPOINT(std::int32_t x, std::int32_t y);
  /// The point p.
  KPOINT(const tagPOINT& p);
  /// Copies the point.
  KPOINT(const KPOINT& other);
  /// Copies the point and returns *this.
  KPOINT& operator=(const KPOINT& other);
  /// Sets the point to p and returns *this.
  KPOINT& operator=(const tagPOINT& p);
  /// 1 when both coordinates are equal, else 0.
  std::int32_t operator==(const tagPOINT& p) const;
  /// 1 when either coordinate differs, else 0.
  std::int32_t operator!=(const tagPOINT& p) const;
  /// Modifiable reference to pt, so a KPOINT passes wherever a tagPOINT is taken.
  operator tagPOINT&();

  using KShape::Contain;
  using KShape::Intersect;
  /// Point inside pg by the even-odd rule, after the pg.rcBound pre-test.
  std::int32_t Intersect(const KPGON& pg) const override;
  /// Point on some edge of pl, after pl.rcBound meets the point by the rule
  /// above (so a vertical polyline is never met).
  std::int32_t Intersect(const KPLINE& pl) const override;
  /// The point-meets-rectangle rule above (an empty rectangle meets nothing).
  std::int32_t Intersect(const KRECT& rc) const override;
  /// Point_Segment_Intersect: within the box of a-b and collinear, exact while
  /// coordinate differences are at most 94,906,265.
  std::int32_t Intersect(const tagPOINT& a, const tagPOINT& b) const override;
  /// Same test as operator==.
  std::int32_t Intersect(const tagPOINT& q) const override;

  /// The point.
  tagPOINT pt;
};

/// Axis-aligned rectangle with corners ptMin (smaller x and y) and ptMax,
/// half-open: it holds (x, y) when ptMin.x <= x < ptMax.x and
/// ptMin.y <= y < ptMax.y. Empty when ptMin.x > ptMax.x or ptMin.y > ptMax.y;
/// the canonical empty value is ptMin (1, 1), ptMax (0, 0). Equal corners make
/// a zero-size rectangle, which is not empty (but holds no point).
class KELVOR_API KRECT : public KShape {
 public:
  /// The canonical empty rectangle.
  KRECT();
  /// Corners taken as given, never sorted: an inverted pair is simply empty.
  KRECT(const tagPOINT& p1, const tagPOINT& p2);
  /// Corners (x1, y1) and (x2, y2), taken as given in the same way.
  KRECT(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);
  /// Copies both corners.
  KRECT(const KRECT& other);
  /// Copies both corners and returns *this.
  KRECT& operator=(const KRECT& other);
  /// Coordinate-wise comparison: two empty rectangles may be unequal.
  std::int32_t operator==(const KRECT& rc) const;
  /// 1 when operator== gives 0, else 0.
  std::int32_t operator!=(const KRECT& rc) const;
  /// Resets to the canonical empty value.
  void Empty();
  /// 1 when ptMin.x > ptMax.x or ptMin.y > ptMax.y.
  std::int32_t IsEmpty() const;
  /// Cuts r to this rectangle in place (strict overlap required). 0, with r
  /// untouched, when either rectangle is empty or they do not overlap.
  std::int32_t Clipping(KRECT& r) const;
  /// Cuts the segment a-b to this rectangle in place by region codes; moved
  /// ends lie on the edge lines. 0 when this rectangle is empty or nothing is
  /// left, with a and b untouched.
  std::int32_t Clipping(tagPOINT& a, tagPOINT& b) const;

  using KShape::Contain;
  using KShape::Intersect;
  /// A polygon or polyline is held when its bounding rectangle is (see below);
  /// an empty one is held by any non-empty rectangle.
  std::int32_t Contain(const KPGON& pg) const override;
  /// As for a polygon: held when its bounding rectangle is; an empty one is
  /// held by any non-empty rectangle.
  std::int32_t Contain(const KPLINE& pl) const override;
  /// Both corners of rc inside by the half-open rule, so a rectangle does not
  /// hold itself. An empty rc is held by any non-empty rectangle.
  std::int32_t Contain(const KRECT& rc) const override;
  /// Both ends inside by the half-open rule.
  std::int32_t Contain(const tagPOINT& a, const tagPOINT& b) const override;
  /// The half-open rule; an empty rectangle holds nothing.
  std::int32_t Contain(const tagPOINT& q) const override;
  /// Polygon meets rectangle: bounding-rectangle pre-tests, then a corner
  /// inside the polygon or an edge meeting the rectangle.
  std::int32_t Intersect(const KPGON& pg) const override;
  /// pl.rcBound must overlap this rectangle strictly; then 1 when rcBound is
  /// held, else Rect_Polyline_Intersect. So a polyline lying on the bottom or
  /// left edge line ((2,0)-(8,0) for (0,0,10,10)) is held by Contain but does
  /// not meet the rectangle.
  std::int32_t Intersect(const KPLINE& pl) const override;
  /// Strict overlap: rectangles sharing only an edge or a corner do not meet.
  std::int32_t Intersect(const KRECT& rc) const override;
  /// Segment_Rect_Intersect(a, b, ptMin, ptMax); 0 for an empty rectangle. That
  /// test depends on the segment's direction (see <kelvor/planar.h>).
  std::int32_t Intersect(const tagPOINT& a, const tagPOINT& b) const override;

  /// Minimum corner (smaller x and y).
  tagPOINT ptMin;
  /// Maximum corner, outside the half-open rectangle.
  tagPOINT ptMax;
};

/// Open chain of nCount >= 2 points borrowed from the caller, with its cached
/// inclusive bounding rectangle. Empty state: nCount 0, pPoints null, rcBound
/// canonical empty. Contains nothing.
class KELVOR_API KPLINE : public KShape {
 public:
  /// The empty polyline.
  KPLINE();
  /// n >= 2: keeps n and p, rcBound = GetMBR of the points; else empty.
  KPLINE(std::int32_t n, tagPOINT* p);
  /// n >= 2: keeps n, p and rc, trusted (not checked against the points);
  /// else empty and rc is ignored.
  KPLINE(std::int32_t n, tagPOINT* p, const KRECT& rc);
  /// Shallow copy: shares the caller's array.
  KPLINE(const KPLINE& other);
  /// Shallow copy, as the copy constructor; returns *this.
  KPLINE& operator=(const KPLINE& other);
  /// As the constructors, on an existing object; the old array is forgotten.
  void Set(std::int32_t n, tagPOINT* p);
  /// @overload
  void Set(std::int32_t n, tagPOINT* p, const KRECT& rc);
  /// Back to the empty state; the array is forgotten.
  void Empty();
  /// 1 when nCount < 2.
  std::int32_t IsEmpty() const;

  using KShape::Contain;
  using KShape::Intersect;
  /// Polyline meets polygon: an edge crosses it or has an end inside it.
  std::int32_t Intersect(const KPGON& pg) const override;
  /// Some edge of pl crosses an edge of this polyline (bounding rectangles
  /// must overlap strictly, so chains on one common line never meet).
  std::int32_t Intersect(const KPLINE& pl) const override;
  /// rcBound and rc must overlap strictly; then some edge meets the half-open
  /// rectangle rc (Rect_Polyline_Intersect). A polyline lying on rc's bottom or
  /// left edge line does not meet it.
  std::int32_t Intersect(const KRECT& rc) const override;
  /// Segment_Rect_Intersect of a-b with rcBound must answer 1; then the segment
  /// meets an edge (Segment_Polyline_Intersect). The pre-test misses segments
  /// that reach rcBound only on its largest-x or largest-y line: (10,0)-(0,10)
  /// does not meet the polyline (0,0)-(10,10), though they cross at (5,5).
  std::int32_t Intersect(const tagPOINT& a, const tagPOINT& b) const override;
  /// q lies on an edge and inside rcBound by the half-open rule.
  std::int32_t Intersect(const tagPOINT& q) const override;

  /// Cached inclusive bounding rectangle: GetMBR of the points or the rc
  /// given; canonical empty when empty.
  KRECT rcBound;
  /// Number of points; 0 when empty.
  std::int32_t nCount;
  /// The caller's array, borrowed; null when empty.
  tagPOINT* pPoints;
};

/// Ring of nCount >= 3 points borrowed from the caller, closed from the last
/// point back to the first; inside by the even-odd rule (left and bottom sides
/// of an axis-parallel ring inside, right and top sides outside). Layout and
/// empty state as KPLINE.
class KELVOR_API KPGON : public KShape {
 public:
  /// The empty polygon.
  KPGON();
  /// n >= 3: keeps n and p, rcBound = GetMBR of the points; else empty.
  KPGON(std::int32_t n, tagPOINT* p);
  /// n >= 3: keeps n, p and rc, trusted; else empty and rc is ignored.
  KPGON(std::int32_t n, tagPOINT* p, const KRECT& rc);
  /// Shallow copy: shares the caller's array.
  KPGON(const KPGON& other);
  /// Shallow copy, as the copy constructor; returns *this.
  KPGON& operator=(const KPGON& other);
  /// As the constructors, on an existing object; the old array is forgotten.
  void Set(std::int32_t n, tagPOINT* p);
  /// @overload
  void Set(std::int32_t n, tagPOINT* p, const KRECT& rc);
  /// Back to the empty state; the array is forgotten.
  void Empty();
  /// 1 when nCount < 3.
  std::int32_t IsEmpty() const;

  using KShape::Contain;
  using KShape::Intersect;
  /// Sampled: after the rectangle tests only vertices 0, 3, 6, ... of pg are
  /// tested. An empty pg is held by any non-empty polygon.
  std::int32_t Contain(const KPGON& pg) const override;
  /// Every edge of pl inside (see Polygon_Contain_Polyline).
  std::int32_t Contain(const KPLINE& pl) const override;
  /// The four sides of rc, as spans, inside; the interior is not examined.
  std::int32_t Contain(const KRECT& rc) const override;
  /// Its bounding rectangle's sides inside, or both ends inside and no edge
  /// crossed (see Polygon_Contain_Segment).
  std::int32_t Contain(const tagPOINT& a, const tagPOINT& b) const override;
  /// Even-odd rule, after the half-open rcBound pre-test.
  std::int32_t Contain(const tagPOINT& q) const override;
  /// Sampled: after rectangle pre-tests, at most seven rows and seven columns
  /// of the overlap of the two bounding rectangles are probed, so a thin
  /// common sliver between the probes is missed.
  std::int32_t Intersect(const KPGON& pg) const override;
  /// Some polyline edge crosses the ring or has an end inside it.
  std::int32_t Intersect(const KPLINE& pl) const override;
  /// rc held by the polygon, a corner of rc inside it, or an edge meeting rc;
  /// bounding rectangles must overlap strictly first.
  std::int32_t Intersect(const KRECT& rc) const override;
  /// Segment_Rect_Intersect of a-b with rcBound must answer 1; then an end
  /// inside, or the segment crossing an edge (closing edge included). The
  /// square (0,0),(10,0),(10,10),(0,10) does not meet its anti-diagonal
  /// (10,0)-(0,10).
  std::int32_t Intersect(const tagPOINT& a, const tagPOINT& b) const override;

  /// Cached inclusive bounding rectangle: GetMBR of the points or the rc
  /// given; canonical empty when empty.
  KRECT rcBound;
  /// Number of points; 0 when empty.
  std::int32_t nCount;
  /// The caller's array, borrowed; null when empty.
  tagPOINT* pPoints;
};

/// Writes into rc (already constructed; only its four coordinates change) the
/// inclusive bounding rectangle of p[0..n-1]: the extreme points lie on its
/// edges. p[0] is read whatever n is; n < 2 gives the zero-size rectangle at
/// p[0].
KELVOR_API void GetMBR(KRECT& rc, std::int32_t n, const tagPOINT* p);

/// Writes into rc an axis-aligned rectangle grown inside the polygon p[0..n-1]:
/// seeded where the column of the tallest column span (taken across the
/// widest row span) meets the row of that widest span, then grown one side at
/// a time by step (values below 1 count as 1) while the new corners stay
/// inside (half-open rcBound test, then the even-odd rule). Only corners are
/// tested, so an edge of the result may cross a notch of a non-convex ring.
/// The result never reaches the polygon's largest x or y. rc is the canonical
/// empty rectangle when n < 3, when no span of positive length or no inside
/// seed is found, or when the per-call work array (24 bytes per vertex)
/// cannot be allocated; otherwise ptMin <= ptMax, possibly of zero size.
KELVOR_API void GetMCR(KRECT& rc, std::int32_t n, const tagPOINT* p, std::int32_t step);

#endif  // KELVOR_SHAPES_H
