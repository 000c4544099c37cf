"""Kelvor for Python: the engine's exact answers over numpy arrays.

Every vectorised function loops in C++ (with the GIL released) and returns,
element for element, bit for bit, what the C++ function returns.

Array conventions (python/README.md has them in full):

* plane points: int32 pairs ``(..., 2)`` of (x, y); rings, lines and tracks
  are whole ``(N, 2)`` arrays;
* lon/lat pairs: float64 degrees, or int32 1/100000 degree for the ``*_bin``
  functions;
* anything ``numpy.asarray`` takes is accepted (lists, strided or Fortran
  arrays, pandas columns), copied only when needed; integer arguments take
  any integer dtype whose values fit int32 (never wrapped), float arguments
  floats and exact integers. Another dtype raises TypeError, a wrong shape
  or value ValueError, naming the argument;
* per-element arguments broadcast together by numpy's rules.

Families: :mod:`kelvor.fixed` (16.16 fixed point), :mod:`kelvor.planar`,
:mod:`kelvor.shapes`, :mod:`kelvor.geo`, :mod:`kelvor.prepared` (Polygon,
ZoneIndex: rings, polygons with holes and multipolygons, also from shapely,
geopandas or GeoJSON geometries); :mod:`kelvor.dask` assigns large point
tables to zones on a Dask cluster.
"""

from . import _kelvor
from ._version import __version__
from .fixed import (DEGREE, ONE, angle_diff, atan2, ceil_fix, cos, divfix, floor_fix, muldiv,
                    muldiv_no_round, mulfix, round_fix, sin, sqrt32, sqrt_fixed, tan,
                    vector_from_polar, vector_length, vector_polarize, vector_rotate,
                    vector_transform, vector_unit)
from .geo import (METRES_PER_DEGREE, absolute_angle, absolute_angle_bin, bearing, line_length,
                  line_length_bin, point_in_rect, point_in_rect_bin, project_base,
                  project_base_bin, pts_in_rect, pts_in_rect_bin, rect_center_pt,
                  rect_center_pt_bin, segment_length, segment_length_bin, sharp_angle,
                  sharp_angle_bin, to_units, track_sharp_angles, track_sharp_angles_bin,
                  track_turn_angles, track_turn_angles_bin, turn_angle, turn_angle_bin,
                  unit_degree, unit_length)
from .planar import (NO_POINT, polygon_clip_horizon, polygon_clip_vertical,
                     polygon_contain_horizon, polygon_contain_point, polygon_contain_vertical,
                     polygon_horizon_intersect, polygon_vertical_intersect,
                     polyline_horizon_intersect, polyline_vertical_intersect, rect_clip_segment,
                     segment_segment_intersect)
from .prepared import NO_ZONE, Polygon, ZoneIndex, densify_ring, ring_can_wrap
from .shapes import EMPTY_RECT, bounding_rect, get_mcr, inscribed_rect

__all__ = [
    # fixed point
    "ONE", "DEGREE", "round_fix", "ceil_fix", "floor_fix", "muldiv", "muldiv_no_round", "mulfix",
    "divfix", "sqrt32", "sqrt_fixed", "sin", "cos", "tan", "atan2", "angle_diff",
    "vector_rotate", "vector_length", "vector_polarize", "vector_from_polar", "vector_unit",
    "vector_transform",
    # planar
    "NO_POINT", "polygon_contain_point", "segment_segment_intersect", "rect_clip_segment",
    "polygon_horizon_intersect", "polygon_vertical_intersect", "polygon_contain_horizon",
    "polygon_contain_vertical", "polyline_horizon_intersect", "polyline_vertical_intersect",
    "polygon_clip_horizon", "polygon_clip_vertical",
    # shapes
    "EMPTY_RECT", "bounding_rect", "inscribed_rect", "get_mcr",
    # geographic
    "METRES_PER_DEGREE", "segment_length", "segment_length_bin", "line_length",
    "line_length_bin", "unit_length", "unit_degree", "rect_center_pt", "rect_center_pt_bin",
    "pts_in_rect", "pts_in_rect_bin", "point_in_rect", "point_in_rect_bin", "project_base",
    "project_base_bin", "absolute_angle", "absolute_angle_bin", "bearing", "sharp_angle",
    "sharp_angle_bin", "turn_angle", "turn_angle_bin", "track_turn_angles",
    "track_turn_angles_bin", "track_sharp_angles", "track_sharp_angles_bin", "to_units",
    # prepared
    "NO_ZONE", "Polygon", "ZoneIndex", "ring_can_wrap", "densify_ring",
]
