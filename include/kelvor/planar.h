/// @file
/// Planar predicates on integer plane points (tagPOINT).
///
/// Conventions shared by every function here:
///  * Rectangle: a minimum corner and a maximum corner, min <= max in both
///    axes (never sorted or repaired). Half-open: holds (x, y) when
///    min.x <= x < max.x and min.y <= y < max.y; the maximum corner is outside.
///    Edges as segments: left (min.x,min.y)-(min.x,max.y), top
///    (max.x,max.y)-(min.x,max.y), right (max.x,max.y)-(max.x,min.y), bottom
///    (min.x,min.y)-(max.x,min.y).
///  * Segment: closed, both endpoints belong to it; equal endpoints are a point.
///  * Polyline: pts[0..n-1], edges i -> i+1; fewer than two points: no edges.
///  * Polygon: like a polyline plus a closing edge between the last and the
///    first point; the ring may be given open or closed.
///  * Horizontal span (from, to, at): from <= x < to on y = at. Vertical span:
///    from <= y < to on x = at.
///  * Results are exactly 1 (yes) or 0 (no). Nothing allocates, keeps a
///    pointer, or writes an input. Coordinate differences are 32-bit; inputs
///    whose differences exceed the 32-bit range give unspecified (but defined)
///    answers.
/// Whether figures that only touch meet is decided per function, as stated.
#ifndef KELVOR_PLANAR_H
#define KELVOR_PLANAR_H

// Inside the library each folder may include only the headers of what it
// uses (see its CMakeLists.txt); clients include anything.
#if defined(KELVOR_BUILDING) && !defined(KELVOR_USES_PLANAR)
#error "this part of Kelvor does not use <kelvor/planar.h>"
#endif

#include <cstdint>

#include "kelvor/export.h"
#include "kelvor/types.h"

/// @name Points and segments
/// @{

/// 1 when a and b are the same point.
KELVOR_API std::int32_t Point_Point_Intersect(const tagPOINT* a, const tagPOINT* b);
/// 1 when p lies inside the closed bounding box of a-b and px * dy == py * dx,
/// the products of 32-bit differences from a formed in double. Exact while
/// every coordinate difference among p, a and b is at most 94,906,265
/// (products below 2^53); beyond that a point just off the line can be
/// reported on it, never the reverse: p (94906265, 94906266) on
/// a (0, 0) - b (94906266, 94906267) gives 1. A degenerate segment (a == b)
/// holds only a.
KELVOR_API std::int32_t Point_Segment_Intersect(const tagPOINT* p, const tagPOINT* a,
                                                const tagPOINT* b);
/// 1 when min.x <= p.x < max.x and min.y <= p.y <= max.y. Note the top edge
/// (y == max.y) counts, unlike the half-open containment tests.
KELVOR_API std::int32_t Point_Rect_Intersect(const tagPOINT* p, const tagPOINT* min,
                                             const tagPOINT* max);
/// 1 when segments a-b and c-d cross. Their bounding boxes must overlap
/// strictly (boxes touching along a line or at a corner give 0), so two
/// horizontal or two vertical segments never meet. Parallel segments meet only
/// at c, else d, when that endpoint lies on a-b (so a-b lying strictly inside
/// c-d gives 0, the reverse order 1). If out is non-null it receives
/// a + trunc(d1 * t / den), measured from a and truncated toward zero; a
/// rejected case never writes out. Products are formed in double: the answer
/// is exact while every coordinate difference among the four points is at
/// most 2^26 (67,108,864), and out equals the exactly computed truncated point
/// while every difference is at most 165,140. Beyond, out can be one unit off
/// (a (0,0)-b (208065,0) against (208064,208065)-(208066,-208065) gives
/// (208064, 0) for the crossing at b), and beyond 2^26 segments sharing an
/// endpoint can be reported apart (a (0,0)-b (80000001,-40000001) against
/// (40000001,80000000)-b gives 0).
KELVOR_API std::int32_t Segment_Segment_Intersect(const tagPOINT* a, const tagPOINT* b,
                                                  const tagPOINT* c, const tagPOINT* d,
                                                  tagPOINT* out);
/// 1 when an endpoint lies in the half-open rectangle min-max, when the ends
/// lie left and right of it (or below and above) within its other range, or
/// when p-q meets an edge chosen by p's region code by
/// Segment_Segment_Intersect (strict boxes); otherwise 0. Not a complete
/// meeting test: a segment that reaches the chosen edges only on the excluded
/// top or right line is missed, so the answer can depend on direction. Against
/// (0,0)-(10,10), (5,10)-(15,0) gives 0 but (15,0)-(5,10) gives 1, and
/// (10,0)-(0,10) gives 0 either way, though both pass through the inside.
KELVOR_API std::int32_t Segment_Rect_Intersect(const tagPOINT* p, const tagPOINT* q,
                                               const tagPOINT* min, const tagPOINT* max);
/// 1 when the rectangles overlap strictly; sharing only an edge or a corner
/// gives 0.
KELVOR_API std::int32_t Rect_Rect_Intersect(const tagPOINT* min1, const tagPOINT* max1,
                                            const tagPOINT* min2, const tagPOINT* max2);

/// @}

/// @name Polylines and polygons
/// Polygon tests use the even-odd rule: a point is inside when an odd number of
/// edges straddling its row (a.y <= y < b.y or b.y <= y < a.y) cross strictly
/// to its right. A crossing is a.x + (dx * (y - a.y)) / dy, measured from the
/// edge's start point a in traversal order, with a wrapping 32-bit product and
/// a quotient truncated toward zero. The product wraps on a row exactly when
/// dx * (y - a.y) lies outside [-2^31, 2^31 - 1], which needs |dx| * |dy| above
/// 2^31 - 1 (both extents above 46,340, or a long flat edge such as 10,000,000
/// by 300); the crossing then lands far from the edge and points anywhere on
/// that row can be misclassified (the diamond of radius 46,341 puts its centre
/// outside). kelvor::RingCanWrap tells; kelvor::DensifyRing and
/// kelvor::Rule::Exact avoid it (<kelvor/prepared.h>). Near a slanted edge the
/// truncation decides points within a unit, so the ring's order can change the
/// answer, and a ring of two points can hold points ((0,0),(1,2) holds (0,1)).
/// For axis-parallel rings the left and
/// bottom sides are inside, the right and top sides outside. A polygon of
/// n <= 0 points meets nothing and is never read; one point contains nothing,
/// not even itself. Rings may be given open or closed.
/// Span tests use the crossing list of the scan line: at most 30 crossings
/// from the open edges, then the closing edge taken from the vertex where that
/// scan stopped; a ring crossing a scan line more often is judged on that
/// truncated list. Its sorted pairs (lo, hi) are the inside spans.
/// Segment-based tests take the closing edge from the first point to the last
/// and never skip it; the even-odd rule and the span tests take it from the
/// last point to the first.
/// @{

/// 1 when p lies on some edge of the polyline (n < 2: 0).
KELVOR_API std::int32_t Point_Polyline_Intersect(const tagPOINT* p, const tagPOINT* pts,
                                                 std::int32_t n);
/// 1 when p is inside the polygon by the even-odd rule (n <= 1: 0).
KELVOR_API std::int32_t Point_Polygon_Intersect(const tagPOINT* p, const tagPOINT* pts,
                                                std::int32_t n);
/// 1 when segment a-b meets an edge of the polyline (n < 2: 0).
KELVOR_API std::int32_t Segment_Polyline_Intersect(const tagPOINT* a, const tagPOINT* b,
                                                   const tagPOINT* pts, std::int32_t n);
/// 1 when a, then b, is inside the polygon, or a-b meets one of its edges (the
/// closing edge taken first-to-last point). n == 1: only the degenerate edge
/// pts[0]-pts[0] is tested.
KELVOR_API std::int32_t Segment_Polygon_Intersect(const tagPOINT* a, const tagPOINT* b,
                                                  const tagPOINT* pts, std::int32_t n);
/// 1 when some polyline edge meets the half-open rectangle (n < 2: 0).
KELVOR_API std::int32_t Rect_Polyline_Intersect(const tagPOINT* min, const tagPOINT* max,
                                                const tagPOINT* pts, std::int32_t n);
/// 1 when a rectangle corner (min, max, then the other two) is inside the
/// polygon or a polygon edge meets the rectangle, so either figure lying inside
/// the other counts. n == 1: whether that point lies in the half-open rectangle.
KELVOR_API std::int32_t Rect_Polygon_Intersect(const tagPOINT* min, const tagPOINT* max,
                                               const tagPOINT* pts, std::int32_t n);
/// 1 when some polyline edge crosses y == at (straddle rule) at an x with
/// from <= x < to (n < 2: 0).
KELVOR_API std::int32_t Polyline_Horizon_Intersect(const tagPOINT* pts, std::int32_t n,
                                                   std::int32_t from, std::int32_t to,
                                                   std::int32_t at);
/// As Polyline_Horizon_Intersect with the axes exchanged (x == at, y span).
KELVOR_API std::int32_t Polyline_Vertical_Intersect(const tagPOINT* pts, std::int32_t n,
                                                    std::int32_t from, std::int32_t to,
                                                    std::int32_t at);
/// 1 when an edge of Q meets an edge of P (m < 2 or n < 2: 0). Q drives the
/// outer loop.
KELVOR_API std::int32_t Polyline_Polyline_Intersect(const tagPOINT* P, std::int32_t n,
                                                    const tagPOINT* Q, std::int32_t m);
/// 1 when some polyline edge meets the polygon, a polyline lying inside it
/// included (n < 2: 0).
KELVOR_API std::int32_t Polyline_Polygon_Intersect(const tagPOINT* pts, std::int32_t n,
                                                   const tagPOINT* pg, std::int32_t m);
/// 1 when the horizontal span meets an inside span of the polygon on y == at:
/// for an inside span (lo, hi), from > lo && from < hi, or from <= lo && to > lo.
KELVOR_API std::int32_t Polygon_Horizon_Intersect(const tagPOINT* pts, std::int32_t n,
                                                  std::int32_t from, std::int32_t to,
                                                  std::int32_t at);
/// As Polygon_Horizon_Intersect on the column x == at, span in y.
KELVOR_API std::int32_t Polygon_Vertical_Intersect(const tagPOINT* pts, std::int32_t n,
                                                   std::int32_t from, std::int32_t to,
                                                   std::int32_t at);
/// 1 when the polygons meet: edges crossing, or one lying inside the other,
/// whichever is passed first. Either count <= 0: 0.
KELVOR_API std::int32_t Polygon_Polygon_Intersect(const tagPOINT* G, std::int32_t n,
                                                  const tagPOINT* H, std::int32_t m);

/// @}

/// @name Containment
/// @{

/// 1 when p lies in the half-open rectangle (max sides excluded).
KELVOR_API std::int32_t Rect_Contain_Point(const tagPOINT* min, const tagPOINT* max,
                                           const tagPOINT* p);
/// 1 when both c1 and c2 lie in the half-open rectangle; so a rectangle does
/// not contain itself. Rect_Contain_Segment is the same test.
KELVOR_API std::int32_t Rect_Contain_Rect(const tagPOINT* min, const tagPOINT* max,
                                          const tagPOINT* c1, const tagPOINT* c2);
/// Same test as Rect_Contain_Rect, with c1-c2 read as a segment.
KELVOR_API std::int32_t Rect_Contain_Segment(const tagPOINT* min, const tagPOINT* max,
                                             const tagPOINT* c1, const tagPOINT* c2);
/// 1 when every point lies in the half-open rectangle; no edge is tested.
/// n < 1 gives 1 without reading. Rect_Contain_Polyline is the same test.
KELVOR_API std::int32_t Rect_Contain_Polygon(const tagPOINT* min, const tagPOINT* max,
                                             const tagPOINT* pts, std::int32_t n);
/// Same test as Rect_Contain_Polygon: every point in the half-open rectangle.
KELVOR_API std::int32_t Rect_Contain_Polyline(const tagPOINT* min, const tagPOINT* max,
                                              const tagPOINT* pts, std::int32_t n);
/// Same test as Point_Polygon_Intersect, arguments in container-first order.
KELVOR_API std::int32_t Polygon_Contain_Point(const tagPOINT* pts, std::int32_t n,
                                              const tagPOINT* p);
/// 1 when some inside span (lo, hi) on y == at has lo <= from and to < hi
/// (strict: a span ending exactly at a crossing is not contained). A container
/// of n <= 0 points holds nothing here and in every Polygon_Contain_ test
/// below, except that inner figures without edges are held vacuously.
KELVOR_API std::int32_t Polygon_Contain_Horizon(const tagPOINT* pts, std::int32_t n,
                                                std::int32_t from, std::int32_t to,
                                                std::int32_t at);
/// As Polygon_Contain_Horizon on the column x == at, span in y.
KELVOR_API std::int32_t Polygon_Contain_Vertical(const tagPOINT* pts, std::int32_t n,
                                                 std::int32_t from, std::int32_t to,
                                                 std::int32_t at);
/// 1 when the segment's bounding rectangle is contained (Polygon_Contain_Rect),
/// or else both ends are inside and the segment meets no edge (the closing
/// edge taken first-to-last point). So a segment along a left or bottom side
/// is contained, one along a right or top side is not.
KELVOR_API std::int32_t Polygon_Contain_Segment(const tagPOINT* pts, std::int32_t n,
                                                const tagPOINT* a, const tagPOINT* b);
/// 1 when all four sides of the rectangle, as spans, are contained. The
/// interior is not examined; a polygon does not contain its own bounding box.
KELVOR_API std::int32_t Polygon_Contain_Rect(const tagPOINT* pts, std::int32_t n,
                                             const tagPOINT* min, const tagPOINT* max);
/// 1 when every polyline edge is contained (m < 2 gives 1 without reading).
KELVOR_API std::int32_t Polygon_Contain_Polyline(const tagPOINT* pts, std::int32_t n,
                                                 const tagPOINT* pl, std::int32_t m);
/// 1 when every edge of pg (closing edge first-to-last) is contained; m == 0
/// gives 1, m == 1 tests the degenerate segment.
KELVOR_API std::int32_t Polygon_Contain_Polygon(const tagPOINT* pts, std::int32_t n,
                                                const tagPOINT* pg, std::int32_t m);

/// @}

/// @name Clipping (in place; a 0 result leaves every in/out value untouched)
/// @{

/// Cuts rectangle c1-c2 to the clip rectangle min-max: c1 becomes the larger,
/// c2 the smaller corner coordinates. 0 when they do not overlap strictly
/// (sharing only an edge is no overlap).
KELVOR_API std::int32_t Rect_Clip_Rect(const tagPOINT* min, const tagPOINT* max, tagPOINT* c1,
                                       tagPOINT* c2);
/// Cuts segment p-q to the rectangle by region codes. With both ends outside
/// (not on opposite sides) the first two crossings found on the left, top,
/// right and bottom edges are ordered by comparing x differences (y only when
/// p.x == q.x), so crossings truncated to one x can come back reversed
/// ((-4,-8)-(8,5) in (0,-7)-(6,-3) gives (0,-3)-(0,-4)) or as one point
/// ((-5,-5)-(10,10) in (0,0)-(10,10) gives (0,0)-(0,0)). 0 when both ends lie
/// beyond one side or fewer than two crossings are found; the latter can hold
/// for a segment through the inside whose other crossings lie on the excluded
/// top or right line ((-5,10)-(10,0) in (0,0)-(10,10) gives 0, although
/// Segment_Rect_Intersect answers 1).
/// Moved endpoints lie on the edge lines, so one moved onto the right or top
/// edge is on the excluded side of the half-open rectangle. Crossings come from
/// Segment_Segment_Intersect on the segment as given, so truncated toward zero
/// from p. With one end inside, the other moves onto the first edge its region
/// code selects that the segment crosses; if the segment only touches that
/// edge (boxes touching) it keeps its value and the result is still 1. A
/// segment running left-to-right or bottom-to-top through the rectangle gets
/// both ends on the two edge lines; an end already on the far edge line keeps
/// its value, and a segment lying on the bottom (left) line is cut at the
/// left and right (bottom and top) edge lines.
KELVOR_API std::int32_t Rect_Clip_Segment(const tagPOINT* min, const tagPOINT* max, tagPOINT* p,
                                          tagPOINT* q);
/// Cuts the span *from <= x < *to on y == at to the first (leftmost) inside
/// span (lo, hi) that it meets by the rule of Polygon_Horizon_Intersect: a
/// span starting inside keeps *from, one starting at or before lo gets
/// *from = lo; *to becomes the smaller of *to and hi. n <= 0: 0, never read.
KELVOR_API std::int32_t Polygon_Clip_Horizon(const tagPOINT* pts, std::int32_t n,
                                             std::int32_t* from, std::int32_t* to, std::int32_t at);
/// As Polygon_Clip_Horizon on the column x == at (bottommost inside span met).
KELVOR_API std::int32_t Polygon_Clip_Vertical(const tagPOINT* pts, std::int32_t n,
                                              std::int32_t* from, std::int32_t* to,
                                              std::int32_t at);
/// @}

#endif  // KELVOR_PLANAR_H
