"""Geographic helpers over arrays of lon/lat pairs.

Two forms, as in the engine:

* degrees: float64 pairs ``(..., 2)`` of (lon, lat) - functions without suffix;
* units: int32 pairs of 1/100000 degree - the ``*_bin`` functions.

The Earth is a sphere of radius 6378137.0 m. Nothing checks or wraps
coordinate ranges; NaN and inf go into the formulas as the engine takes them.
Per-element arguments broadcast together by numpy's rules; tracks and the
points of :func:`pts_in_rect` are whole ``(N, 2)`` arrays.
"""

from __future__ import annotations

from typing import Tuple

import numpy as np
from numpy.typing import ArrayLike, NDArray

from . import _kelvor

#: Metres per degree of latitude (and of longitude on the equator).
METRES_PER_DEGREE = 111319.49079327

F64 = NDArray[np.float64]
I32 = NDArray[np.int32]
Flags = NDArray[np.bool_]


# ---- distances -----------------------------------------------------------------

def segment_length(a: ArrayLike, b: ArrayLike) -> F64:
    """``SegmentLength`` in metres between lon/lat degree pairs a and b."""
    return _kelvor.segment_length(a, b)


def segment_length_bin(a: ArrayLike, b: ArrayLike) -> F64:
    """``SegmentLength`` in metres between 1/100000-degree int32 pairs."""
    return _kelvor.segment_length_bin(a, b)


def line_length(track: ArrayLike) -> float:
    """``LineLength`` of an open track (N, 2) of degrees, in metres.

    The engine's count is 16-bit: up to 65535 points this is LineLength
    itself; longer tracks are summed segment by segment from 0.0 in the
    same order, which is the same computation (so the same double). Fewer
    than 2 points give 0.0.
    """
    return float(_kelvor.line_length(track))


def line_length_bin(track: ArrayLike) -> float:
    """``LineLength`` of a 1/100000-degree int32 track; see :func:`line_length`."""
    return float(_kelvor.line_length_bin(track))


# ---- scales and boxes --------------------------------------------------------------

def unit_length(points: ArrayLike) -> Tuple[F64, F64]:
    """``GetUnitLength``: metres per degree of (longitude, latitude) at each point's latitude."""
    return _kelvor.unit_length(points)


def unit_degree(points: ArrayLike) -> Tuple[F64, F64]:
    """``GetUnitDegree``: degrees per metre of (longitude, latitude) at each point's latitude."""
    return _kelvor.unit_degree(points)


def rect_center_pt(center: ArrayLike, half: ArrayLike) -> Tuple[F64, F64]:
    """``GetRectCenterPt``: boxes of half-side ``half`` metres around degree centres.

    ``center`` (..., 2) and ``half`` (...) broadcast; returns ``(lower, upper)``,
    each float64 (..., 2).
    """
    return _kelvor.rect_center_pt(center, half)


def rect_center_pt_bin(center: ArrayLike, half: ArrayLike) -> Tuple[I32, I32]:
    """``GetRectCenterPt`` on 1/100000-degree centres; deltas truncated toward zero."""
    return _kelvor.rect_center_pt_bin(center, half)


def pts_in_rect(points: ArrayLike, lower: ArrayLike, upper: ArrayLike) -> bool:
    """``IsPtsInRect``: every point in the half-open box lower <= p < upper.

    points (N, 2) degrees, lower and upper one pair each (2,). No points
    gives True; NaN coordinates count as inside.
    """
    return bool(_kelvor.pts_in_rect(points, lower, upper))


def pts_in_rect_bin(points: ArrayLike, lower: ArrayLike, upper: ArrayLike) -> bool:
    """``IsPtsInRect`` on 1/100000-degree int32 points and corners."""
    return bool(_kelvor.pts_in_rect_bin(points, lower, upper))


def point_in_rect(points: ArrayLike, lower: ArrayLike, upper: ArrayLike) -> Flags:
    """``IsPtsInRect`` of each point (..., 2) alone, against its box: bool (...)."""
    return _kelvor.point_in_rect(points, lower, upper)


def point_in_rect_bin(points: ArrayLike, lower: ArrayLike, upper: ArrayLike) -> Flags:
    """``IsPtsInRect`` of each 1/100000-degree point alone: bool (...)."""
    return _kelvor.point_in_rect_bin(points, lower, upper)


# ---- projection ----------------------------------------------------------------------

def project_base(p: ArrayLike, a: ArrayLike, b: ArrayLike) -> Tuple[I32, F64]:
    """``GetProjectBase``: foot of the perpendicular from p onto line a-b (raw lon/lat plane).

    Returns ``(code, foot)``: int32 (...) with -1 before a, 0 at a, 1 inside,
    2 at b, 3 beyond b; and the foot, float64 (..., 2). For a segment shorter
    than 3e-06 degree in both axes the engine returns 0 without writing a
    foot; the foot is then a, so code 0 always comes with foot == a.
    """
    return _kelvor.project_base(p, a, b)


def project_base_bin(p: ArrayLike, a: ArrayLike, b: ArrayLike) -> Tuple[I32, I32]:
    """``GetProjectBase`` on 1/100000-degree int32 points (degenerate: under 3 units).

    The foot is truncated toward zero and saturates beyond int32; code 0
    always comes with foot == a, as in :func:`project_base`.
    """
    return _kelvor.project_base_bin(p, a, b)


# ---- bearings and turns ----------------------------------------------------------------

def absolute_angle(v: ArrayLike) -> F64:
    """``GetAbsoluteAngle``: direction of each (dlon, dlat) vector in degrees, [0, 360).

    Counterclockwise from east on a grid of 1/2048 degree; zero vector 0.
    """
    return _kelvor.absolute_angle(v)


def absolute_angle_bin(v: ArrayLike) -> F64:
    """``GetAbsoluteAngle`` of 1/100000-degree int32 vectors."""
    return _kelvor.absolute_angle_bin(v)


def bearing(a: ArrayLike, b: ArrayLike) -> F64:
    """Direction from a to b: ``GetAbsoluteAngle(b - a)`` in degrees, [0, 360).

    The difference is taken in float64 before the call, as a caller of the
    engine would (inf - inf is NaN).
    """
    return _kelvor.bearing(a, b)


def sharp_angle(a: ArrayLike, b: ArrayLike, c: ArrayLike) -> F64:
    """``GetSharpAngle``: inner angle at b between rays to a and c, folded into [0, 180]."""
    return _kelvor.sharp_angle(a, b, c)


def sharp_angle_bin(a: ArrayLike, b: ArrayLike, c: ArrayLike) -> F64:
    """``GetSharpAngle`` on 1/100000-degree points: unfolded difference, [0, 360)."""
    return _kelvor.sharp_angle_bin(a, b, c)


def turn_angle(a: ArrayLike, b: ArrayLike, c: ArrayLike) -> F64:
    """``GetTurnAngle``: counterclockwise angle at b from ray b->a to ray b->c, [0, 360).

    180 is straight on, below 180 a right turn, above 180 a left turn.
    """
    return _kelvor.turn_angle(a, b, c)


def turn_angle_bin(a: ArrayLike, b: ArrayLike, c: ArrayLike) -> F64:
    """``GetTurnAngle`` on 1/100000-degree points."""
    return _kelvor.turn_angle_bin(a, b, c)


def _track(track: ArrayLike, dtype: str) -> NDArray:
    return _kelvor.column(track, "track", dtype, "n,2")


def track_turn_angles(track: ArrayLike) -> F64:
    """Turn angle at every inner point of a degree track (N, 2): (N - 2,) float64."""
    t = _track(track, "float64")
    return _kelvor.turn_angle(t[:-2], t[1:-1], t[2:])


def track_turn_angles_bin(track: ArrayLike) -> F64:
    """Turn angle at every inner point of a 1/100000-degree track."""
    t = _track(track, "int32")
    return _kelvor.turn_angle_bin(t[:-2], t[1:-1], t[2:])


def track_sharp_angles(track: ArrayLike) -> F64:
    """Sharp angle at every inner point of a degree track: (N - 2,) float64."""
    t = _track(track, "float64")
    return _kelvor.sharp_angle(t[:-2], t[1:-1], t[2:])


def track_sharp_angles_bin(track: ArrayLike) -> F64:
    """Sharp angle at every inner point of a 1/100000-degree track."""
    t = _track(track, "int32")
    return _kelvor.sharp_angle_bin(t[:-2], t[1:-1], t[2:])


# ---- unit conversion -----------------------------------------------------------------------

def to_units(lonlat: ArrayLike) -> I32:
    """Degrees (float64, any shape) to 1/100000-degree int32 units.

    Rounds to the nearest unit, halves away from zero:
    ``sign(v) * floor(abs(v) * 100000.0 + 0.5)``, the product in float64.
    NaN, inf and results beyond int32 raise ValueError.
    """
    a = _kelvor.column(lonlat, "lonlat", "float64", "...")
    with np.errstate(over="ignore", invalid="ignore"):
        units = np.copysign(np.floor(np.abs(a) * 100000.0 + 0.5), a)
    if a.size and not np.isfinite(units).all():
        raise ValueError("lonlat: NaN or infinite coordinates have no unit value")
    if a.size and (units.min() < -(2**31) or units.max() > 2**31 - 1):
        raise ValueError("lonlat: values beyond the int32 range of 1/100000 degree units")
    return units.astype(np.int32)
