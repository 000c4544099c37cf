"""Polygons of many rings, packed for one call into the compiled core.

Every area (a polygon with holes or a multipolygon) becomes rings in GeoJSON
order, each outer ring followed by its holes, and a list of areas becomes four
flat arrays: every ring's points one after the other ((N, 2) int32), each
ring's point count (int64), each ring's hole flag (bool) and each area's ring
count (int64). Building the index from these takes one call, whatever the
number of rings.

Two sources:

* nested integer coordinates (``nested_rings``): a ring ((N, 2) points), a
  polygon (list of rings, the first outer) or a multipolygon (list of
  polygons), told apart by how deep the lists go;
* geometries in degrees (``geometry_areas``): shapely Polygon/MultiPolygon,
  ``__geo_interface__`` objects and GeoJSON mappings, scaled and rounded to
  int32 units with whole-array numpy operations.
"""

from __future__ import annotations

import ctypes
import math
import numbers
import sys
import threading
from typing import Any, Callable, List, NamedTuple, Optional, Sequence, Tuple

import numpy as np

from . import _kelvor

INT32_MIN, INT32_MAX = -(2**31), 2**31 - 1

_EMPTY_RING = np.zeros((0, 2), np.int32)
_EMPTY_RING.setflags(write=False)

#: Nesting depth of each form: a ring holds positions, a polygon rings, a
#: multipolygon polygons.
RING, POLYGON, MULTIPOLYGON = 2, 3, 4

_NESTED_FORMS = ("a ring ((N, 2) points), a polygon (list of rings, the first outer) "
                 "or a multipolygon (list of polygons)")


class Packed(NamedTuple):
    """Areas as the compiled core takes them (see the module docstring)."""
    points: np.ndarray            # (N, 2) int32
    ring_counts: np.ndarray       # (R,) int64
    holes: np.ndarray             # (R,) bool
    area_ring_counts: np.ndarray  # (A,) int64


# ---- nested integer coordinates --------------------------------------------------

def _is_sequence(x: Any) -> bool:
    return isinstance(x, (list, tuple)) or (isinstance(x, np.ndarray) and x.dtype == object
                                            and x.ndim >= 1)


def _depth(x: Any, name: str, limit: int = MULTIPOLYGON + 1) -> Optional[int]:
    """How deep the lists go down to a number: 0 for a number, 1 for a position,
    2 for a ring, ...; None when every branch ends in an empty list.

    Only the first non-empty branch at each level is looked at, so this costs
    a few steps however many points there are; the conversion of each ring
    checks the rest.
    """
    if not isinstance(x, (list, tuple, np.ndarray)) and hasattr(x, "__array__"):
        x = np.asarray(x)  # pandas frames and other array-likes
    if isinstance(x, np.ndarray) and x.dtype != object:
        return None if x.ndim == 1 and x.size == 0 else x.ndim
    if isinstance(x, (numbers.Number, np.generic)) and not isinstance(x, (str, bytes)):
        return 0
    if not _is_sequence(x):
        raise TypeError(f"{name}: expected {_NESTED_FORMS}, got {type(x).__name__}")
    if limit == 0:
        raise ValueError(f"{name}: nested too deeply; expected {_NESTED_FORMS}")
    for item in x:
        d = _depth(item, name, limit - 1)
        if d is not None:
            return d + 1
    return None


def _items(x: Any, name: str, what: str) -> Sequence[Any]:
    if isinstance(x, np.ndarray) or _is_sequence(x):
        return x
    raise ValueError(f"{name}: expected {what}, got {type(x).__name__}")


def ring_array(x: Any, name: str) -> np.ndarray:
    """A ring as an (N, 2) int32 array, by the compiled core's argument rules."""
    return _kelvor.column(x, name, "int32", "n,2")


def _ring(x: Any, name: str) -> np.ndarray:
    if isinstance(x, np.ndarray) and x.size == 0 and x.ndim == 1:
        return _EMPTY_RING
    return ring_array(x, name)


def nested_rings(x: Any, name: str) -> Tuple[List[np.ndarray], List[bool]]:
    """A ring, polygon or multipolygon of int32 coordinates as rings and hole flags.

    Returns the (N, 2) int32 rings (the caller's arrays where no conversion
    was needed) and, per ring, whether it is a hole. Only empty lists all the
    way down give no rings.
    """
    depth = _depth(x, name)
    if depth is None:
        return [], []
    if depth == RING:
        return [ring_array(x, name)], [False]
    if depth == POLYGON:
        rings = [_ring(r, f"{name}[{i}]") for i, r in enumerate(_items(x, name, "a list of rings"))]
        return rings, [i > 0 for i in range(len(rings))]
    if depth == MULTIPOLYGON:
        rings, holes = [], []
        for j, polygon in enumerate(_items(x, name, "a list of polygons")):
            where = f"{name}[{j}]"
            for i, r in enumerate(_items(polygon, where, "a list of rings")):
                rings.append(_ring(r, f"{where}[{i}]"))
                holes.append(i > 0)
        return rings, holes
    raise ValueError(f"{name}: expected {_NESTED_FORMS}, got {depth} levels of nesting")


def pack(areas: Sequence[Tuple[List[np.ndarray], List[bool]]]) -> Packed:
    """Rings and hole flags of each area into the four flat arrays."""
    rings = [r for area_rings, _ in areas for r in area_rings]
    holes = np.fromiter((h for _, area_holes in areas for h in area_holes), bool, len(rings))
    counts = np.fromiter((len(r) for r in rings), np.int64, len(rings))
    points = np.concatenate(rings) if rings else _EMPTY_RING.copy()  # always a fresh copy
    per_area = np.fromiter((len(r) for r, _ in areas), np.int64, len(areas))
    return Packed(np.ascontiguousarray(points), counts, holes, per_area)


# ---- geometries in degrees ----------------------------------------------------------

def geometry_list(geoms: Any, name: str) -> List[Any]:
    """The geometries of a GeoSeries, GeoDataFrame (its geometry column) or sequence."""
    frame_geometry = getattr(geoms, "_geometry_column_name", None)
    if frame_geometry is not None and hasattr(geoms, "geometry"):  # GeoDataFrame
        geoms = geoms.geometry
    if hasattr(geoms, "values") and hasattr(geoms, "iloc"):  # (Geo)Series: positions, not labels
        return list(geoms.values)
    if isinstance(geoms, (str, bytes, dict)) or hasattr(geoms, "__geo_interface__") \
            or _shapely_geometry(geoms):
        raise TypeError(f"{name}: expected a sequence of geometries, a GeoSeries or a "
                        f"GeoDataFrame, got one {type(geoms).__name__}; use Polygon.from_geometry "
                        "for a single one")
    try:
        return list(geoms)
    except TypeError:
        raise TypeError(f"{name}: expected a sequence of geometries, a GeoSeries or a "
                        f"GeoDataFrame, got {type(geoms).__name__}") from None


def check_scale(scale: Any) -> float:
    if isinstance(scale, (bool, np.bool_)) or not isinstance(scale, (numbers.Real, np.number)):
        raise TypeError(f"scale: expected a number, got {type(scale).__name__}")
    value = float(scale)
    if not (math.isfinite(value) and value > 0):
        raise ValueError(f"scale: expected a positive finite number, got {scale!r}")
    return value


def _shapely_geometry(g: Any) -> bool:
    base = sys.modules.get("shapely.geometry.base")  # no shapely object without the module
    return base is not None and isinstance(g, base.BaseGeometry)


class _Geos:
    """Direct reads of shapely 1.x geometries through the GEOS library shapely
    loaded: a handful of C calls per ring and one buffer copy of its
    coordinates, where ``ring.coords`` costs some 30 microseconds per ring in
    Python objects (50,000 island rings would take seconds). Unavailable
    (None) with other shapely versions; the public ``coords`` path is then
    used."""

    def __init__(self) -> None:
        from shapely.geos import lgeos  # shapely 1.x only
        lib, self.handle = lgeos._lgeos, lgeos.geos_handle
        vp, ci = ctypes.c_void_p, ctypes.c_int

        def fn(name, restype, *argtypes):
            f = getattr(lib, name)
            f.restype, f.argtypes = restype, [vp, *argtypes]
            return f

        self.type_id = fn("GEOSGeomTypeId_r", ci, vp)
        self.num_geometries = fn("GEOSGetNumGeometries_r", ci, vp)
        self.geometry_n = fn("GEOSGetGeometryN_r", vp, vp, ci)
        self.exterior = fn("GEOSGetExteriorRing_r", vp, vp)
        self.num_interiors = fn("GEOSGetNumInteriorRings_r", ci, vp)
        self.interior_n = fn("GEOSGetInteriorRingN_r", vp, vp, ci)
        self.sequence = fn("GEOSGeom_getCoordSeq_r", vp, vp)
        self.size = fn("GEOSCoordSeq_getSize_r", ci, vp, ctypes.POINTER(ctypes.c_uint))
        self.copy = fn("GEOSCoordSeq_copyToBuffer_r", ci, vp, vp, ci, ci)  # GEOS 3.10
        # ctypes lets go of the GIL in every call: one reader at a time on
        # shapely's shared GEOS handle.
        self.lock = threading.Lock()

    POLYGON_ID, MULTIPOLYGON_ID = 3, 6

    def rings(self, geom: Any) -> Optional[Tuple[List[int], List[int], List[bool]]]:
        """Coordinate sequences, their sizes and hole flags of a non-empty
        Polygon or MultiPolygon; None for any other geometry."""
        with self.lock:
            return self._rings(geom._geom)

    def _rings(self, g: int) -> Optional[Tuple[List[int], List[int], List[bool]]]:
        h, count = self.handle, ctypes.c_uint()
        if not g:
            return None
        kind = self.type_id(h, g)
        if kind == self.POLYGON_ID:
            parts = [g]
        elif kind == self.MULTIPOLYGON_ID:
            parts = [self.geometry_n(h, g, k) for k in range(self.num_geometries(h, g))]
        else:
            return None
        seqs, sizes, holes = [], [], []
        for p in parts:
            for k in range(self.num_interiors(h, p) + 1):
                ring = self.exterior(h, p) if k == 0 else self.interior_n(h, p, k - 1)
                if not ring:
                    return None
                seq = self.sequence(h, ring)
                if not seq or not self.size(h, seq, ctypes.byref(count)):
                    return None
                seqs.append(seq)
                sizes.append(count.value)
                holes.append(k > 0)
        return seqs, sizes, holes

    def fill(self, seqs: List[int], sizes: List[int], out: np.ndarray) -> None:
        """Copies the x, y of each sequence into consecutive rows of out (float64 (N, 2))."""
        if out.shape != (sum(sizes), 2) or out.dtype != np.float64 or not out.flags.c_contiguous:
            raise AssertionError("GEOS reads: the buffer does not fit the rings")
        h, address, row = self.handle, out.ctypes.data, 0
        with self.lock:
            for seq, n in zip(seqs, sizes):
                if n:
                    self.copy(h, seq, address + 16 * row, 0, 0)
                    row += n


_GEOS_STATE: List[Any] = []  # [] untried, [None] unavailable, [_Geos] ready
#: False skips the direct GEOS reads (the tests compare both ways).
USE_GEOS = True


def _geos() -> Optional[_Geos]:
    if not USE_GEOS:
        return None
    if not _GEOS_STATE:
        try:
            import shapely
            geos = _Geos() if shapely.__version__.startswith("1.") else None
        except (ImportError, AttributeError, OSError):
            geos = None
        _GEOS_STATE.append(geos)
    return _GEOS_STATE[0]


def _coords(ring: Any) -> np.ndarray:
    """A shapely ring's coordinates through numpy's array interface."""
    if ring.is_empty:
        return np.zeros((0, 2))
    return np.asarray(ring.coords, dtype=np.float64)


def _position_array(ring: Any, where: str) -> np.ndarray:
    """A GeoJSON ring (list of [x, y] or [x, y, z] positions) as float64 (n, >=2)."""
    try:
        a = np.asarray(ring, dtype=np.float64)
    except (TypeError, ValueError) as e:
        raise ValueError(f"{where}: a ring must be a list of [x, y] positions ({e})") from None
    if a.size == 0 and a.ndim <= 2:
        return np.zeros((0, 2))
    if a.ndim != 2 or a.shape[1] < 2:
        raise ValueError(f"{where}: a ring must be a list of [x, y] positions, got shape "
                         f"{tuple(a.shape)}")
    return a


class _Area:
    """One area read from its source: float64 rings (or GEOS sequences still
    to copy, with the geometry that owns them), their sizes and hole flags."""
    __slots__ = ("arrays", "seqs", "owner", "sizes", "holes")

    def __init__(self, arrays=None, seqs=None, owner=None, sizes=(), holes=()):
        self.arrays, self.seqs, self.owner = arrays, seqs, owner
        self.sizes, self.holes = list(sizes), list(holes)


def _type_name(g: Any) -> str:
    if isinstance(g, dict):
        return repr(g.get("type")) if not isinstance(g.get("type"), str) else g["type"]
    return getattr(g, "geom_type", None) or type(g).__name__


def _read_mapping(m: Any, where: str) -> _Area:
    if not hasattr(m, "get"):
        raise TypeError(f"{where}: expected a Polygon or MultiPolygon, got {type(m).__name__}")
    kind = m.get("type")
    if kind not in ("Polygon", "MultiPolygon"):
        raise TypeError(f"{where}: expected a Polygon or MultiPolygon, got {_type_name(m)}")
    coords = m.get("coordinates")
    if coords is None:
        raise ValueError(f"{where}: a {kind} mapping without 'coordinates'")
    polygons = [coords] if kind == "Polygon" else coords
    arrays, holes = [], []
    if not isinstance(polygons, (list, tuple)):
        raise ValueError(f"{where}: {kind} coordinates must be nested lists")
    for j, polygon in enumerate(polygons):
        if not isinstance(polygon, (list, tuple)):
            raise ValueError(f"{where}: {kind} coordinates must be nested lists")
        for k, ring in enumerate(polygon):
            arrays.append(_position_array(ring, where))
            holes.append(k > 0)
    return _Area(arrays=arrays, sizes=[len(a) for a in arrays], holes=holes)


def _read_shapely(g: Any, where: str) -> _Area:
    kind = g.geom_type
    # shapely 1.x represents every empty geometry (Polygon() included) as an
    # empty GeometryCollection, so that one counts as an empty polygon too.
    if g.is_empty and kind in ("Polygon", "MultiPolygon", "GeometryCollection"):
        return _Area(arrays=[])
    if kind not in ("Polygon", "MultiPolygon"):
        raise TypeError(f"{where}: expected a Polygon or MultiPolygon, got {kind}")
    geos = _geos()
    if geos is not None:
        found = geos.rings(g)
        if found is not None:
            seqs, sizes, holes = found
            return _Area(seqs=seqs, owner=g, sizes=sizes, holes=holes)
    arrays, holes = [], []
    for polygon in (g.geoms if kind == "MultiPolygon" else [g]):
        if polygon.is_empty:
            continue
        for k, ring in enumerate([polygon.exterior, *polygon.interiors]):
            arrays.append(_coords(ring))
            holes.append(k > 0)
    return _Area(arrays=arrays, sizes=[len(a) for a in arrays], holes=holes)


def _read(g: Any, where: str) -> _Area:
    if g is None:
        return _Area(arrays=[])
    if _shapely_geometry(g):
        return _read_shapely(g, where)
    if isinstance(g, dict):
        return _read_mapping(g, where)
    interface = getattr(g, "__geo_interface__", None)
    if interface is not None:
        return _read_mapping(interface, where)
    raise TypeError(f"{where}: expected a Polygon or MultiPolygon, got {type(g).__name__}")


def geometry_areas(geoms: Sequence[Any], where: Callable[[int], str], scale: float) -> Packed:
    """Areas of geometries in degrees as int32 units: each coordinate times
    scale, rounded to the nearest unit with halves away from zero
    (``sign(v) * floor(abs(v) * scale + 0.5)`` in float64, as ``to_units``).

    None and empty geometries are areas of no rings. Raises TypeError for a
    geometry of another type and ValueError for non-finite coordinates or
    units beyond int32, naming the geometry by ``where(i)``.
    """
    areas = [_read(g, where(i)) for i, g in enumerate(geoms)]
    total = sum(sum(a.sizes) for a in areas)
    points = np.empty((total, 2), np.int32)
    largest = max((sum(a.sizes) for a in areas), default=0)
    # Scratch of the largest area, reused: the whole-array operations run on
    # memory that stays in cache instead of on fresh gigabyte temporaries.
    degrees = np.empty((largest, 2))
    units = np.empty((largest, 2))
    geos = _geos()
    row = 0
    for i, area in enumerate(areas):
        n = sum(area.sizes)
        if n == 0:
            continue
        d, u = degrees[:n], units[:n]
        if area.seqs is not None:
            geos.fill(area.seqs, area.sizes, d)
        else:
            np.concatenate([a[:, :2] for a in area.arrays if len(a)], out=d)
        np.abs(d, out=u)
        u *= scale
        u += 0.5
        np.floor(u, out=u)
        np.copysign(u, d, out=u)
        if not np.isfinite(u).all():
            raise ValueError(f"{where(i)}: NaN or infinite coordinates")
        if u.min() < INT32_MIN or u.max() > INT32_MAX:
            raise ValueError(f"{where(i)}: coordinates beyond the int32 range once scaled by "
                             f"{scale:g}")
        points[row:row + n] = u
        row += n
    counts = np.fromiter((s for a in areas for s in a.sizes), np.int64)
    holes = np.fromiter((h for a in areas for h in a.holes), bool, len(counts))
    per_area = np.fromiter((len(a.sizes) for a in areas), np.int64, len(areas))
    return Packed(points, counts, holes, per_area)
