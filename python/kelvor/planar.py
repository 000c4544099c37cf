"""Planar predicates on int32 plane points over arrays.

Points and rings are (N, 2) int32 arrays (x, y). Rings may be open or
closed; a ring's count must fit int32. Rectangles are half-open
(min <= x < max). Results are exactly the engine's, element by element.
"""

from __future__ import annotations

from typing import Any, Tuple

import numpy as np

from . import _kelvor
from ._convert import INT32_MIN, broadcast_flat, broadcast_rows, int32_array, int_pairs

#: Crossing point reported by :func:`segment_segment_intersect` for pairs
#: that do not cross (both coordinates). Always read the flags first: a
#: real crossing can also lie there.
NO_POINT = INT32_MIN


def polygon_contain_point(ring: Any, points: Any) -> np.ndarray:
    """``Polygon_Contain_Point`` of each point: bool (N,).

    Even-odd rule with the compatible (wrapping 32-bit) crossing; left and
    bottom sides of axis-parallel rings inside, right and top outside. A ring
    of 0 or 1 point contains nothing.
    """
    return _kelvor.polygon_contain_point(int_pairs(ring, "ring"), int_pairs(points, "points"))


def segment_segment_intersect(a: Any, b: Any, c: Any, d: Any) -> Tuple[np.ndarray, np.ndarray]:
    """``Segment_Segment_Intersect`` of segment pairs a-b and c-d.

    Each argument is (N, 2) or a single (2,) point broadcast to every row.
    Returns ``(hit, point)``: bool (N,) and int32 (N, 2), the crossing
    measured from a and truncated toward zero. Where ``hit`` is False the
    point is ``(NO_POINT, NO_POINT)``.
    """
    arrays = broadcast_rows(tuple(int32_array(x, n) for x, n in zip((a, b, c, d), "abcd")),
                            ("a", "b", "c", "d"))
    return _kelvor.segment_segment_intersect(*arrays)


def rect_clip_segment(rect_min: Any, rect_max: Any, p: Any,
                      q: Any) -> Tuple[np.ndarray, np.ndarray, np.ndarray]:
    """``Rect_Clip_Segment`` of segments p-q against rectangles rect_min-rect_max.

    Every argument is (N, 2) or (2,) (one rectangle for all segments, say).
    Returns ``(kept, p, q)``: bool (N,) and the clipped ends, int32 (N, 2).
    Rows not kept return their ends unchanged, as the engine leaves them.
    """
    names = ("rect_min", "rect_max", "p", "q")
    arrays = broadcast_rows(tuple(int32_array(x, n) for x, n in zip((rect_min, rect_max, p, q),
                                                                   names)), names)
    return _kelvor.rect_clip_segment(*arrays)


def _spans(start: Any, end: Any, at: Any):
    names = ("start", "end", "at")
    shape, flat = broadcast_flat(tuple(int32_array(x, n) for x, n in zip((start, end, at), names)),
                                 names)
    return shape, flat


def _span_test(fn, ring: Any, start: Any, end: Any, at: Any, ring_name: str = "ring") -> np.ndarray:
    r = int_pairs(ring, ring_name)
    shape, flat = _spans(start, end, at)
    return fn(r, *flat).reshape(shape)


def polygon_horizon_intersect(ring: Any, start: Any, end: Any, at: Any) -> np.ndarray:
    """``Polygon_Horizon_Intersect`` of spans start <= x < end on y == at.

    start, end and at broadcast together; the result has their shape.
    """
    return _span_test(_kelvor.polygon_horizon_intersect, ring, start, end, at)


def polygon_vertical_intersect(ring: Any, start: Any, end: Any, at: Any) -> np.ndarray:
    """``Polygon_Vertical_Intersect`` of spans start <= y < end on x == at."""
    return _span_test(_kelvor.polygon_vertical_intersect, ring, start, end, at)


def polygon_contain_horizon(ring: Any, start: Any, end: Any, at: Any) -> np.ndarray:
    """``Polygon_Contain_Horizon``: span inside one inside span (lo <= start, end < hi)."""
    return _span_test(_kelvor.polygon_contain_horizon, ring, start, end, at)


def polygon_contain_vertical(ring: Any, start: Any, end: Any, at: Any) -> np.ndarray:
    """``Polygon_Contain_Vertical``: as polygon_contain_horizon on columns."""
    return _span_test(_kelvor.polygon_contain_vertical, ring, start, end, at)


def polyline_horizon_intersect(line: Any, start: Any, end: Any, at: Any) -> np.ndarray:
    """``Polyline_Horizon_Intersect``: some edge crosses y == at within the span."""
    return _span_test(_kelvor.polyline_horizon_intersect, line, start, end, at, "line")


def polyline_vertical_intersect(line: Any, start: Any, end: Any, at: Any) -> np.ndarray:
    """``Polyline_Vertical_Intersect``: as polyline_horizon_intersect on columns."""
    return _span_test(_kelvor.polyline_vertical_intersect, line, start, end, at, "line")


def _span_clip(fn, ring: Any, start: Any, end: Any, at: Any):
    r = int_pairs(ring, "ring")
    shape, flat = _spans(start, end, at)
    kept, s, e = fn(r, *flat)
    return kept.reshape(shape), s.reshape(shape), e.reshape(shape)


def polygon_clip_horizon(ring: Any, start: Any, end: Any,
                         at: Any) -> Tuple[np.ndarray, np.ndarray, np.ndarray]:
    """``Polygon_Clip_Horizon``: spans cut to the first inside span they meet.

    Returns ``(kept, start, end)``; spans not kept come back unchanged.
    """
    return _span_clip(_kelvor.polygon_clip_horizon, ring, start, end, at)


def polygon_clip_vertical(ring: Any, start: Any, end: Any,
                          at: Any) -> Tuple[np.ndarray, np.ndarray, np.ndarray]:
    """``Polygon_Clip_Vertical``: as polygon_clip_horizon on columns."""
    return _span_clip(_kelvor.polygon_clip_vertical, ring, start, end, at)
