"""Geographic helpers over arrays of lon/lat pairs.

Two forms, as in the engine:

* degrees: (N, 2) float64 arrays of (lon, lat) - functions without suffix;
* units: (N, 2) int32 arrays of 1/100000 degree - the ``*_bin`` functions.

The Earth is a sphere of radius 6378137.0 m. Nothing checks or wraps
coordinate ranges; NaN and inf go into the formulas as the engine takes them.
Per-row arguments are (N, 2) or one (2,) pair broadcast to every row.
"""

from __future__ import annotations

from typing import Any, Tuple

import numpy as np

from . import _kelvor
from ._convert import (broadcast_flat, broadcast_rows, float64_array, float_pairs, int32_array,
                       int_pairs, pairs)

#: Metres per degree of latitude (and of longitude on the equator).
METRES_PER_DEGREE = 111319.49079327


def _rows(bin_: bool, args: Tuple[Any, ...], names: Tuple[str, ...]):
    conv = int32_array if bin_ else float64_array
    return broadcast_rows(tuple(conv(x, n) for x, n in zip(args, names)), names)


def _track(bin_: bool, track: Any) -> np.ndarray:
    return int_pairs(track, "track") if bin_ else float_pairs(track, "track")


# ---- distances ---------------------------------------------------------------

def segment_length(a: Any, b: Any) -> np.ndarray:
    """``SegmentLength`` in metres between lon/lat degree pairs a[i] and b[i]: float64 (N,)."""
    return _kelvor.segment_length(*_rows(False, (a, b), ("a", "b")))


def segment_length_bin(a: Any, b: Any) -> np.ndarray:
    """``SegmentLength`` in metres between 1/100000-degree int32 pairs: float64 (N,)."""
    return _kelvor.segment_length_bin(*_rows(True, (a, b), ("a", "b")))


def line_length(track: Any) -> float:
    """``LineLength`` of an open track (N, 2) of degrees, in metres.

    The engine's count is 16-bit: up to 65535 points this is LineLength
    itself; longer tracks are summed here segment by segment from 0.0 in the
    same order, which is the same computation (so the same double). Fewer
    than 2 points give 0.0.
    """
    return _kelvor.line_length(_track(False, track))


def line_length_bin(track: Any) -> float:
    """``LineLength`` of a 1/100000-degree int32 track; see :func:`line_length`."""
    return _kelvor.line_length_bin(_track(True, track))


# ---- scales and boxes ----------------------------------------------------------

def unit_length(points: Any) -> Tuple[np.ndarray, np.ndarray]:
    """``GetUnitLength``: metres per degree of (longitude, latitude) at each point's latitude."""
    return _kelvor.unit_length(float_pairs(points, "points"))


def unit_degree(points: Any) -> Tuple[np.ndarray, np.ndarray]:
    """``GetUnitDegree``: degrees per metre of (longitude, latitude) at each point's latitude."""
    return _kelvor.unit_degree(float_pairs(points, "points"))


def _center(bin_: bool, center: Any, half: Any):
    c = int32_array(center, "center") if bin_ else float64_array(center, "center")
    h = float64_array(half, "half")
    if c.ndim not in (1, 2) or c.shape[-1] != 2:
        raise ValueError(f"center: expected shape (2,) or (N, 2), got {tuple(c.shape)}")
    if h.ndim > 1:
        raise ValueError(f"half: expected a scalar or shape (N,), got {tuple(h.shape)}")
    try:
        n = np.broadcast_shapes(c.shape[:-1] or (1,), h.shape)
    except ValueError:
        raise ValueError(f"center {tuple(c.shape)} and half {tuple(h.shape)} differ in length") from None
    c = np.ascontiguousarray(np.broadcast_to(c, n + (2,)))
    h = np.ascontiguousarray(np.broadcast_to(h, n))
    return c, h


def rect_center_pt(center: Any, half: Any) -> Tuple[np.ndarray, np.ndarray]:
    """``GetRectCenterPt``: boxes of half-side ``half`` metres around degree centres.

    Returns ``(lower, upper)``, each (N, 2) float64. half is a scalar or (N,).
    """
    return _kelvor.rect_center_pt(*_center(False, center, half))


def rect_center_pt_bin(center: Any, half: Any) -> Tuple[np.ndarray, np.ndarray]:
    """``GetRectCenterPt`` on 1/100000-degree centres; deltas truncated toward zero."""
    return _kelvor.rect_center_pt_bin(*_center(True, center, half))


def _corner(bin_: bool, x: Any, name: str) -> np.ndarray:
    a = int32_array(x, name) if bin_ else float64_array(x, name)
    if a.shape != (2,):
        raise ValueError(f"{name}: expected one corner of shape (2,), got {tuple(a.shape)}")
    return a.reshape(1, 2)


def pts_in_rect(points: Any, lower: Any, upper: Any) -> bool:
    """``IsPtsInRect``: every point in the half-open box lower <= p < upper.

    points (N, 2) degrees, lower and upper (2,). No points gives True; NaN
    coordinates count as inside.
    """
    return _kelvor.pts_in_rect(float_pairs(points, "points"), _corner(False, lower, "lower"),
                               _corner(False, upper, "upper"))


def pts_in_rect_bin(points: Any, lower: Any, upper: Any) -> bool:
    """``IsPtsInRect`` on 1/100000-degree int32 points and corners."""
    return _kelvor.pts_in_rect_bin(int_pairs(points, "points"), _corner(True, lower, "lower"),
                                   _corner(True, upper, "upper"))


def points_in_rect(points: Any, lower: Any, upper: Any) -> np.ndarray:
    """``IsPtsInRect`` of each point alone: bool (N,). lower/upper (2,) or (N, 2)."""
    return _kelvor.points_in_rect(*_rows(False, (points, lower, upper),
                                         ("points", "lower", "upper")))


def points_in_rect_bin(points: Any, lower: Any, upper: Any) -> np.ndarray:
    """``IsPtsInRect`` of each 1/100000-degree point alone: bool (N,)."""
    return _kelvor.points_in_rect_bin(*_rows(True, (points, lower, upper),
                                             ("points", "lower", "upper")))


# ---- projection ------------------------------------------------------------------

def project_base(p: Any, a: Any, b: Any) -> Tuple[np.ndarray, np.ndarray]:
    """``GetProjectBase``: foot of the perpendicular from p onto line a-b (raw lon/lat plane).

    Returns ``(code, foot)``: int32 (N,) with -1 before a, 0 at a, 1 inside,
    2 at b, 3 beyond b; and the foot, float64 (N, 2). For a segment shorter
    than 3e-06 degree in both axes the engine returns 0 without writing a
    foot; the foot is then a, so code 0 always comes with foot == a.
    """
    return _kelvor.project_base(*_rows(False, (p, a, b), ("p", "a", "b")))


def project_base_bin(p: Any, a: Any, b: Any) -> Tuple[np.ndarray, np.ndarray]:
    """``GetProjectBase`` on 1/100000-degree int32 points (degenerate: under 3 units).

    The foot is truncated toward zero and saturates beyond int32; code 0
    always comes with foot == a, as in :func:`project_base`.
    """
    return _kelvor.project_base_bin(*_rows(True, (p, a, b), ("p", "a", "b")))


# ---- bearings and turns ------------------------------------------------------------

def absolute_angle(v: Any) -> np.ndarray:
    """``GetAbsoluteAngle``: direction of each (dlon, dlat) vector in degrees, [0, 360).

    Counterclockwise from east on a grid of 1/2048 degree; zero vector 0.
    """
    return _kelvor.absolute_angle(float_pairs(v, "v"))


def absolute_angle_bin(v: Any) -> np.ndarray:
    """``GetAbsoluteAngle`` of 1/100000-degree int32 vectors."""
    return _kelvor.absolute_angle_bin(int_pairs(v, "v"))


def bearing(a: Any, b: Any) -> np.ndarray:
    """Direction from a to b: ``GetAbsoluteAngle(b - a)`` in degrees, [0, 360).

    The difference is taken in float64 before the call, as a caller of the
    engine would.
    """
    a_, b_ = _rows(False, (a, b), ("a", "b"))
    with np.errstate(all="ignore"):  # inf - inf is NaN, as in C++
        diff = np.ascontiguousarray(b_ - a_)
    return _kelvor.absolute_angle(diff)


def sharp_angle(a: Any, b: Any, c: Any) -> np.ndarray:
    """``GetSharpAngle``: inner angle at b between rays to a and c, folded into [0, 180]."""
    return _kelvor.sharp_angle(*_rows(False, (a, b, c), ("a", "b", "c")))


def sharp_angle_bin(a: Any, b: Any, c: Any) -> np.ndarray:
    """``GetSharpAngle`` on 1/100000-degree points: unfolded difference, [0, 360)."""
    return _kelvor.sharp_angle_bin(*_rows(True, (a, b, c), ("a", "b", "c")))


def turn_angle(a: Any, b: Any, c: Any) -> np.ndarray:
    """``GetTurnAngle``: counterclockwise angle at b from ray b->a to ray b->c, [0, 360).

    180 is straight on, below 180 a right turn, above 180 a left turn.
    """
    return _kelvor.turn_angle(*_rows(False, (a, b, c), ("a", "b", "c")))


def turn_angle_bin(a: Any, b: Any, c: Any) -> np.ndarray:
    """``GetTurnAngle`` on 1/100000-degree points."""
    return _kelvor.turn_angle_bin(*_rows(True, (a, b, c), ("a", "b", "c")))


def _triples(track: np.ndarray):
    if track.shape[0] < 3:
        empty = track[:0]
        return empty, empty, empty
    return (np.ascontiguousarray(track[:-2]), np.ascontiguousarray(track[1:-1]),
            np.ascontiguousarray(track[2:]))


def track_turn_angles(track: Any) -> np.ndarray:
    """Turn angle at every inner point of a degree track: (N - 2,) float64 (empty for N < 3)."""
    return _kelvor.turn_angle(*_triples(_track(False, track)))


def track_turn_angles_bin(track: Any) -> np.ndarray:
    """Turn angle at every inner point of a 1/100000-degree track."""
    return _kelvor.turn_angle_bin(*_triples(_track(True, track)))


def track_sharp_angles(track: Any) -> np.ndarray:
    """Sharp angle at every inner point of a degree track: (N - 2,) float64."""
    return _kelvor.sharp_angle(*_triples(_track(False, track)))


def track_sharp_angles_bin(track: Any) -> np.ndarray:
    """Sharp angle at every inner point of a 1/100000-degree track."""
    return _kelvor.sharp_angle_bin(*_triples(_track(True, track)))


# ---- unit conversion -------------------------------------------------------------------

def to_units(lonlat: Any) -> np.ndarray:
    """Degrees (float64, any shape) to 1/100000-degree int32 units.

    Rounds to the nearest unit, halves away from zero:
    ``sign(v) * floor(abs(v) * 100000.0 + 0.5)``, the product in float64.
    NaN, inf and results beyond int32 raise ValueError.
    """
    a = float64_array(lonlat, "lonlat")
    with np.errstate(over="ignore", invalid="ignore"):
        units = np.copysign(np.floor(np.abs(a) * 100000.0 + 0.5), a)
    if a.size and not np.isfinite(units).all():
        raise ValueError("lonlat: NaN or infinite coordinates have no unit value")
    if a.size and (units.min() < -(2**31) or units.max() > 2**31 - 1):
        raise ValueError("lonlat: values beyond the int32 range of 1/100000 degree units")
    return units.astype(np.int32)
