"""Planar predicates on int32 plane points over arrays.

Points are int32 pairs ``(..., 2)`` of (x, y); rings and lines are whole
``(N, 2)`` arrays, open or closed, of at most 2**31 - 1 points. Rectangles
are half-open (min <= x < max). Spans run from ``from_`` to ``to`` along the
row or column ``at`` (the engine's from/to/at; ``from`` is a Python
keyword). Per-element arguments broadcast together by numpy's rules, and
the answers are exactly the engine's, element by element.
"""

from __future__ import annotations

from typing import Tuple

import numpy as np
from numpy.typing import ArrayLike, NDArray

from . import _kelvor

#: Crossing point reported by :func:`segment_segment_intersect` for pairs
#: that do not cross (both coordinates). Always read the flags first: a
#: real crossing can also lie there.
NO_POINT = -(2**31)

Flags = NDArray[np.bool_]
I32 = NDArray[np.int32]


def polygon_contain_point(ring: ArrayLike, points: ArrayLike) -> Flags:
    """``Polygon_Contain_Point`` of each point (..., 2): bool (...).

    Even-odd rule with the compatible (wrapping 32-bit) crossing; left and
    bottom sides of axis-parallel rings inside, right and top outside. A ring
    of 0 or 1 point contains nothing.
    """
    return _kelvor.polygon_contain_point(ring, points)


def segment_segment_intersect(a: ArrayLike, b: ArrayLike, c: ArrayLike,
                              d: ArrayLike) -> Tuple[Flags, I32]:
    """``Segment_Segment_Intersect`` of segment pairs a-b and c-d, each (..., 2).

    Returns ``(hit, point)``: bool (...) and int32 (..., 2), the crossing
    measured from a and truncated toward zero. Where ``hit`` is False the
    point is ``(NO_POINT, NO_POINT)``.
    """
    return _kelvor.segment_segment_intersect(a, b, c, d)


def rect_clip_segment(rect_min: ArrayLike, rect_max: ArrayLike, p: ArrayLike,
                      q: ArrayLike) -> Tuple[Flags, I32, I32]:
    """``Rect_Clip_Segment`` of segments p-q against rectangles rect_min-rect_max.

    Returns ``(kept, p, q)``: bool (...) and the clipped ends, int32 (..., 2).
    Segments not kept come back unchanged, as the engine leaves them.
    """
    return _kelvor.rect_clip_segment(rect_min, rect_max, p, q)


def polygon_horizon_intersect(ring: ArrayLike, from_: ArrayLike, to: ArrayLike,
                              at: ArrayLike) -> Flags:
    """``Polygon_Horizon_Intersect`` of spans from_ <= x < to on the row y == at."""
    return _kelvor.polygon_horizon_intersect(ring, from_, to, at)


def polygon_vertical_intersect(ring: ArrayLike, from_: ArrayLike, to: ArrayLike,
                               at: ArrayLike) -> Flags:
    """``Polygon_Vertical_Intersect`` of spans from_ <= y < to on the column x == at."""
    return _kelvor.polygon_vertical_intersect(ring, from_, to, at)


def polygon_contain_horizon(ring: ArrayLike, from_: ArrayLike, to: ArrayLike,
                            at: ArrayLike) -> Flags:
    """``Polygon_Contain_Horizon``: the span lies in one inside span (lo <= from_, to < hi)."""
    return _kelvor.polygon_contain_horizon(ring, from_, to, at)


def polygon_contain_vertical(ring: ArrayLike, from_: ArrayLike, to: ArrayLike,
                             at: ArrayLike) -> Flags:
    """``Polygon_Contain_Vertical``: as polygon_contain_horizon on columns."""
    return _kelvor.polygon_contain_vertical(ring, from_, to, at)


def polyline_horizon_intersect(line: ArrayLike, from_: ArrayLike, to: ArrayLike,
                               at: ArrayLike) -> Flags:
    """``Polyline_Horizon_Intersect``: some edge of the line crosses y == at within the span."""
    return _kelvor.polyline_horizon_intersect(line, from_, to, at)


def polyline_vertical_intersect(line: ArrayLike, from_: ArrayLike, to: ArrayLike,
                                at: ArrayLike) -> Flags:
    """``Polyline_Vertical_Intersect``: as polyline_horizon_intersect on columns."""
    return _kelvor.polyline_vertical_intersect(line, from_, to, at)


def polygon_clip_horizon(ring: ArrayLike, from_: ArrayLike, to: ArrayLike,
                         at: ArrayLike) -> Tuple[Flags, I32, I32]:
    """``Polygon_Clip_Horizon``: spans cut to the first inside span they meet.

    Returns ``(kept, from_, to)``; spans not kept come back unchanged.
    """
    return _kelvor.polygon_clip_horizon(ring, from_, to, at)


def polygon_clip_vertical(ring: ArrayLike, from_: ArrayLike, to: ArrayLike,
                          at: ArrayLike) -> Tuple[Flags, I32, I32]:
    """``Polygon_Clip_Vertical``: as polygon_clip_horizon on columns."""
    return _kelvor.polygon_clip_vertical(ring, from_, to, at)
