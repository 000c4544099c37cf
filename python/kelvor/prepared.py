"""Polygons prepared for many point queries, and an index of many zones.

A polygon is one ring, or rings with holes and many parts in GeoJSON order:
each outer ring followed by its holes. A point is inside when some outer ring
holds it and none of that outer ring's holes does, each ring decided alone by
the rule below. Outer rings may overlap (their union counts) and holes may
nest or cross; the holes of an empty outer ring, and a hole before the first
outer ring, have no effect.

Two rules decide a point, both the even-odd rule of
``Polygon_Contain_Point`` (closing edge from the last point to the first):

``rule="compatible"`` (default)
    Forms each crossing with the engine's wrapping 32-bit product, so it
    answers exactly what ``Polygon_Contain_Point`` / ``KPGON`` answer. On an
    edge with |dx| * |dy| above 2**31 - 1 - longer than about 46,340 units in
    *both* axes, or long and flat such as 10,000,000 by 300 - the product
    wraps on some rows and the crossing lands far from the edge: points well
    inside or outside such a long-edged outline can be misclassified. ``ring_can_wrap(ring)`` tells
    when this can happen; ``densify_ring(ring)`` splits the long edges so it
    cannot (moving the boundary by at most one unit). In 1/100000-degree
    units 46,340 is about 0.46 degree: country outlines simplified to long
    diagonal edges are affected.
``rule="exact"``
    Forms every crossing without overflow: the same answers wherever nothing
    wraps, geometrically right elsewhere.

Both classes copy their input, are immutable, release the GIL while they
answer, may be shared by threads, and pickle as their rings, hole flags, ids
and rule (rebuilt on unpickling), so they travel to worker processes.

``Polygon.from_geometry`` and ``ZoneIndex.from_geometries`` take shapely
geometries, GeoSeries/GeoDataFrames or GeoJSON mappings in degrees and scale
them to int32 units (by default 1/100000 degree, rounded as ``to_units``
rounds); they use the exact rule unless told otherwise.
"""

from __future__ import annotations

from typing import Any, Iterable, List, Optional, Sequence, Tuple

import numpy as np
from numpy.typing import ArrayLike, NDArray

from . import _kelvor
from ._areas import (Packed, check_scale, geometry_areas, geometry_list, nested_rings, pack,
                     ring_array)

#: ZoneIndex.locate answer for a point in no zone (and the id that marks a
#: zone to be skipped).
NO_ZONE: int = _kelvor.NO_ZONE

Flags = NDArray[np.bool_]


def ring_can_wrap(ring: ArrayLike) -> bool:
    """``kelvor::RingCanWrap``: can some edge make a compatible-rule crossing wrap?

    False means the compatible and the exact rule agree on every point, row
    and column. An empty ring gives False.
    """
    return bool(_kelvor.ring_can_wrap(ring))


def densify_ring(ring: ArrayLike) -> NDArray[np.int32]:
    """``kelvor::DensifyRing``: the ring with edges that can wrap split into short pieces.

    Inserted points are rounded onto the edge (boundary moves at most one
    unit); nothing else changes; a closed ring stays closed. The result never
    wraps. Returns a new (M, 2) int32 array.
    """
    return _kelvor.densify_ring(ring)


def _split(points: np.ndarray, counts: np.ndarray) -> List[np.ndarray]:
    """Consecutive rings of points, one per count (copies)."""
    if len(counts) == 0:
        return []
    return [r.copy() for r in np.split(points, np.cumsum(counts[:-1]))]


def _polygon(points: np.ndarray, counts: np.ndarray, holes: np.ndarray, rule: str) -> "Polygon":
    pg = Polygon.__new__(Polygon)
    pg._impl = _kelvor.PreparedPolygon.from_rings(points, counts, holes, rule)
    return pg


class Polygon:
    """A polygon prepared for many point-in-polygon queries (``kelvor::PreparedPolygon``).

    ``coords`` is one ring, an (N, 2) int32 array-like (open or closed, any
    orientation), or rings nested as GeoJSON coordinates: a polygon (list of
    rings, the first outer and the rest its holes) or a multipolygon (list of
    polygons). The depth of the nesting tells which; empty lists give the
    polygon of no points. Everything is copied.

    For one ring under the compatible rule ``contains`` equals
    :func:`kelvor.polygon_contain_point` and ``contains_bounded`` equals
    ``KPGON::Contain`` (bounding-rectangle pre-test; rings of fewer than 3
    points hold nothing). With several rings each ring is decided that way
    and combined as the module docstring says.
    """

    __slots__ = ("_impl",)

    def __init__(self, coords: Any, rule: str = "compatible") -> None:
        rings, holes = nested_rings(coords, "coords")
        if len(rings) == 1:  # one plain ring: the engine's one-ring path
            self._impl = _kelvor.PreparedPolygon(rings[0], rule)
        else:
            packed = pack([(rings, holes)])
            self._impl = _kelvor.PreparedPolygon.from_rings(packed.points, packed.ring_counts,
                                                             packed.holes, rule)

    @classmethod
    def from_rings(cls, rings: Sequence[ArrayLike], holes: ArrayLike,
                   rule: str = "compatible") -> "Polygon":
        """A polygon of explicit rings: ``rings`` (N_i, 2) int32 array-likes in
        GeoJSON order and ``holes`` one flag per ring (True: a hole of the
        nearest outer ring before it; a hole with no outer ring before it has
        no effect)."""
        if isinstance(rings, (str, bytes)) or not isinstance(rings, Iterable):
            raise TypeError(f"rings: expected a sequence of (N, 2) arrays, got "
                            f"{type(rings).__name__}")
        checked = [ring_array(r, f"rings[{i}]") for i, r in enumerate(rings)]
        flags = _kelvor.column(holes, "holes", "bool", "...")
        if flags.shape != (len(checked),):
            raise ValueError(f"holes: expected shape ({len(checked)},), one flag per ring, got "
                             f"{tuple(flags.shape)}")
        packed = pack([(checked, flags.tolist())])
        return _polygon(packed.points, packed.ring_counts, packed.holes, rule)

    @classmethod
    def from_geometry(cls, geom: Any, scale: float = 100_000, rule: str = "exact") -> "Polygon":
        """A polygon of a shapely Polygon/MultiPolygon or a GeoJSON geometry
        mapping (or anything with ``__geo_interface__``) in degrees.

        Each coordinate becomes ``sign(v) * floor(abs(v) * scale + 0.5)``
        (float64; for the default scale exactly :func:`kelvor.to_units`);
        only x and y are used. None or an empty geometry gives the polygon of
        no points. Other geometry types raise TypeError; NaN, infinite or
        (once scaled) beyond-int32 coordinates raise ValueError.
        """
        packed = geometry_areas([geom], lambda i: "geom", check_scale(scale))
        return _polygon(packed.points, packed.ring_counts, packed.holes, rule)

    def contains(self, points: ArrayLike) -> Flags:
        """Containment of each point (..., 2): bool (...)."""
        return self._impl.contains(points)

    def contains_bounded(self, points: ArrayLike) -> Flags:
        """Containment after the half-open bounding-rectangle test: bool (...)."""
        return self._impl.contains_bounded(points)

    @property
    def ring(self) -> np.ndarray:
        """A copy of the one ring as built, (N, 2) int32; (0, 2) for no points.

        A polygon of several rings (or of a hole) raises ValueError: use
        :attr:`rings` and :attr:`holes`.
        """
        points, counts, holes = self._impl.parts
        if len(counts) > 1 or holes.any():
            raise ValueError(f"ring: this polygon has {len(counts)} rings "
                             f"({int(holes.sum())} holes); use .rings and .holes")
        return points

    @property
    def rings(self) -> List[np.ndarray]:
        """Copies of the rings as built, in GeoJSON order: (N_i, 2) int32 each."""
        points, counts, _ = self._impl.parts
        return _split(points, counts)

    @property
    def holes(self) -> np.ndarray:
        """Per ring of :attr:`rings`: True for a hole, bool (R,)."""
        return self._impl.parts[2]

    @property
    def rule(self) -> str:
        return self._impl.rule

    @property
    def bound(self) -> Tuple[int, int, int, int]:
        """(xmin, ymin, xmax, ymax) joined over the rings of 3 points or more (as
        KPGON keeps it for each); (1, 1, 0, 0) when there are none."""
        return self._impl.bound

    @property
    def can_wrap(self) -> bool:
        """Whether some ring can wrap (:func:`ring_can_wrap`): only then can the
        compatible rule misclassify points, and the two rules disagree."""
        return self._impl.can_wrap

    @property
    def memory_bytes(self) -> int:
        """Bytes of the compiled polygon: points, index and bookkeeping."""
        return self._impl.memory_bytes

    def __reduce__(self):
        return (_polygon, (*self._impl.parts, self._impl.rule))

    def __repr__(self) -> str:
        points, counts, holes = self._impl.parts
        if len(counts) <= 1 and not holes.any():
            return f"kelvor.Polygon(<{len(points)} points>, rule={self.rule!r})"
        return (f"kelvor.Polygon(<{len(points)} points in {len(counts)} rings, "
                f"{int(holes.sum())} holes>, rule={self.rule!r})")


def _zone_index(points: np.ndarray, counts: np.ndarray, holes: np.ndarray, per_zone: np.ndarray,
                ids: np.ndarray, rule: str) -> "ZoneIndex":
    index = ZoneIndex.__new__(ZoneIndex)
    index._build(Packed(points, counts, holes, per_zone), ids, rule)
    return index


def _ids(ids: Any, n: int) -> np.ndarray:
    id_array = _kelvor.column(ids, "ids", "int32", "n")
    if id_array.shape[0] != n:
        raise ValueError(f"zones and ids: lengths differ ({n} and {id_array.shape[0]})")
    return np.array(id_array, dtype=np.int32, copy=True)


class ZoneIndex:
    """Many zones with int32 ids (``kelvor::ZoneIndex``).

    ``zones`` is a sequence with one entry per zone, each in any form
    :class:`Polygon` takes (a ring, a polygon with holes, a multipolygon), or
    one (K, N, 2) int32 array of K one-ring zones; ``ids`` is an int32 array
    of the same length. Ids need not be distinct or sorted. ``locate``
    answers, per point, the lowest id among the zones containing it (by the
    rule), or :data:`NO_ZONE`. Zones whose id is NO_ZONE are skipped.
    """

    __slots__ = ("_impl", "_packed", "_ids")

    def __init__(self, zones: Sequence[Any], ids: ArrayLike, rule: str = "compatible") -> None:
        if isinstance(zones, np.ndarray) and zones.dtype != object:
            if zones.ndim not in (3, 4, 5):
                raise ValueError("zones: expected a sequence of zones or one (K, N, 2) array, "
                                 f"got shape {tuple(zones.shape)}")
            zones = list(zones)
        if not isinstance(zones, (list, tuple, np.ndarray)):
            if isinstance(zones, (str, bytes, dict)) or not isinstance(zones, Iterable):
                raise TypeError("zones: expected a sequence of zones (rings, polygons or "
                                f"multipolygons), got {type(zones).__name__}")
            zones = list(zones)
        parsed = [nested_rings(z, f"zones[{i}]") for i, z in enumerate(zones)]
        self._build(pack(parsed), _ids(ids, len(parsed)), rule)

    @classmethod
    def from_geometries(cls, geoms: Any, ids: Optional[ArrayLike] = None, scale: float = 100_000,
                        rule: str = "exact") -> "ZoneIndex":
        """An index of shapely Polygons/MultiPolygons, a GeoSeries, a GeoDataFrame
        (its geometry column) or GeoJSON geometry mappings (or objects with
        ``__geo_interface__``), in degrees.

        ``ids`` defaults to the positions 0, 1, ...; a MultiPolygon is one
        zone. Coordinates are scaled as in :meth:`Polygon.from_geometry`. None
        or an empty geometry keeps its id's place but holds no point. Another
        geometry type raises TypeError, bad coordinates ValueError, both
        naming the position (``geoms[17]: ...``). The coordinates are read and
        rounded as whole arrays and the index is built in one call.
        """
        scale = check_scale(scale)
        items = geometry_list(geoms, "geoms")
        id_array = np.arange(len(items), dtype=np.int32) if ids is None else _ids(ids, len(items))
        packed = geometry_areas(items, lambda i: f"geoms[{i}]", scale)
        index = cls.__new__(cls)
        index._build(packed, id_array, rule)
        return index

    def _build(self, packed: Packed, ids: np.ndarray, rule: str) -> None:
        self._packed = packed
        self._ids = ids
        self._impl = _kelvor.ZoneIndex.from_areas(*packed, ids, rule)

    def locate(self, points: ArrayLike) -> NDArray[np.int32]:
        """Zone id of each point (..., 2): int32 (...), NO_ZONE where none."""
        return self._impl.locate(points)

    def zone(self, i: int) -> Polygon:
        """Zone i (in the order given) as a :class:`Polygon` of this index's rule."""
        n = len(self._ids)
        if isinstance(i, (bool, np.bool_)) or not isinstance(i, (int, np.integer)):
            raise TypeError(f"i: expected an int, got {type(i).__name__}")
        if not -n <= i < n:
            raise IndexError(f"i: zone {i} of {n}")
        i = int(i) % n
        per_zone = self._packed.area_ring_counts
        first = int(per_zone[:i].sum())
        last = first + int(per_zone[i])
        counts = self._packed.ring_counts
        start = int(counts[:first].sum())
        stop = start + int(counts[first:last].sum())
        return _polygon(self._packed.points[start:stop], counts[first:last],
                        self._packed.holes[first:last], self.rule)

    @property
    def rings(self) -> List[np.ndarray]:
        """Copies of every zone's rings, zone after zone, each in GeoJSON order
        (for one-ring zones: one ring per zone). See :attr:`holes` and
        :attr:`rings_per_zone`."""
        return _split(self._packed.points, self._packed.ring_counts)

    @property
    def holes(self) -> np.ndarray:
        """Per ring of :attr:`rings`: True for a hole, bool (R,)."""
        return self._packed.holes.copy()

    @property
    def rings_per_zone(self) -> np.ndarray:
        """How many of :attr:`rings` each zone takes, int64 (K,)."""
        return self._packed.area_ring_counts.copy()

    @property
    def ids(self) -> np.ndarray:
        return self._ids.copy()

    @property
    def rule(self) -> str:
        return self._impl.rule

    @property
    def can_wrap(self) -> Flags:
        """Per zone, in the order given: whether some ring of it can wrap
        (:func:`ring_can_wrap`), so that the compatible rule may misplace points
        near it. Zones skipped for the id NO_ZONE read False."""
        kept = self._ids != NO_ZONE
        flags = np.zeros(len(self._ids), bool)
        flags[kept] = self._impl.can_wrap
        return flags

    @property
    def size(self) -> int:
        """Number of zones kept (those with id NO_ZONE are not)."""
        return self._impl.size

    @property
    def memory_bytes(self) -> int:
        """Bytes of the compiled index (the copy of the rings kept for pickling
        and :attr:`rings` is not counted)."""
        return self._impl.memory_bytes

    def __len__(self) -> int:
        return len(self._ids)

    def __reduce__(self):
        return (_zone_index, (*self._packed, self._ids, self._impl.rule))

    def __repr__(self) -> str:
        return (f"kelvor.ZoneIndex(<{len(self._ids)} zones, {len(self._packed.ring_counts)} "
                f"rings>, rule={self.rule!r})")
