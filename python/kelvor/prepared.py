"""Rings prepared for many point queries, and an index of many zones.

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
answer, may be shared by threads, and pickle as their ring(s), ids and rule
(rebuilt on unpickling), so they travel to worker processes.
"""

from __future__ import annotations

from typing import Any, Iterable, List, Sequence, Tuple

import numpy as np

from . import _kelvor
from ._convert import INT32_MIN, int32_array, int_pairs, rule_name

#: ZoneIndex.locate answer for a point in no zone (and the id that marks a
#: zone to be skipped).
NO_ZONE = INT32_MIN


def _require_prepared() -> None:
    if not getattr(_kelvor, "HAVE_PREPARED", False):
        raise NotImplementedError("this build of libkelvor has no prepared rings")


def ring_can_wrap(ring: Any) -> bool:
    """``kelvor::RingCanWrap``: can some edge make a compatible-rule crossing wrap?

    False means the compatible and the exact rule agree on every point, row
    and column. An empty ring gives False.
    """
    _require_prepared()
    return _kelvor.ring_can_wrap(int_pairs(ring, "ring"))


def densify_ring(ring: Any) -> np.ndarray:
    """``kelvor::DensifyRing``: the ring with edges that can wrap split into short pieces.

    Inserted points are rounded onto the edge (boundary moves at most one
    unit); nothing else changes; a closed ring stays closed. The result never
    wraps. Returns a new (M, 2) int32 array.
    """
    _require_prepared()
    return _kelvor.densify_ring(int_pairs(ring, "ring"))


class Polygon:
    """A ring prepared for many point-in-polygon queries (``kelvor::PreparedPolygon``).

    ``ring`` is an (N, 2) int32 array (open or closed, any orientation);
    it is copied. Under the compatible rule ``contains`` equals
    :func:`kelvor.polygon_contain_point` and ``contains_bounded`` equals
    ``KPGON::Contain`` (bounding-rectangle pre-test; rings of fewer than 3
    points hold nothing).
    """

    __slots__ = ("_impl",)

    def __init__(self, ring: Any, rule: str = "compatible") -> None:
        _require_prepared()
        self._impl = _kelvor.PreparedPolygon(int_pairs(ring, "ring"), rule_name(rule))

    def contains(self, points: Any) -> np.ndarray:
        """Even-odd containment of each (N, 2) point: bool (N,)."""
        return self._impl.contains(int_pairs(points, "points"))

    def contains_bounded(self, points: Any) -> np.ndarray:
        """Containment after the half-open bounding-rectangle test: bool (N,)."""
        return self._impl.contains_bounded(int_pairs(points, "points"))

    @property
    def ring(self) -> np.ndarray:
        """A copy of the ring as built, (N, 2) int32."""
        return self._impl.ring

    @property
    def rule(self) -> str:
        return self._impl.rule

    @property
    def bound(self) -> Tuple[int, int, int, int]:
        """(xmin, ymin, xmax, ymax) as KPGON keeps it; (1, 1, 0, 0) below 3 points."""
        return self._impl.bound

    @property
    def ring_can_wrap(self) -> bool:
        """Whether the compatible rule can misclassify points of this ring."""
        return self._impl.can_wrap

    @property
    def memory_bytes(self) -> int:
        return self._impl.memory_bytes

    def __reduce__(self):
        return (Polygon, (self._impl.ring, self._impl.rule))

    def __repr__(self) -> str:
        return f"kelvor.Polygon(<{len(self._impl.ring)} points>, rule={self.rule!r})"


class ZoneIndex:
    """Many rings with int32 ids (``kelvor::ZoneIndex``).

    ``rings`` is a sequence of (Ni, 2) int32 arrays and ``ids`` an int32
    array of the same length; ids need not be distinct or sorted. ``locate``
    answers, per point, the lowest id among the zones containing it (by the
    rule), or :data:`NO_ZONE`. Zones whose id is NO_ZONE are skipped.
    """

    __slots__ = ("_impl", "_rings", "_ids")

    def __init__(self, rings: Sequence[Any], ids: Any, rule: str = "compatible") -> None:
        _require_prepared()
        if isinstance(rings, np.ndarray) and rings.dtype != object:
            if rings.ndim != 3:
                raise ValueError("rings: expected a sequence of (N, 2) arrays or one "
                                 f"(K, N, 2) array, got shape {tuple(rings.shape)}")
            rings = list(rings)
        if not isinstance(rings, (list, tuple, np.ndarray)):
            if isinstance(rings, (str, bytes)) or not isinstance(rings, Iterable):
                raise TypeError("rings: expected a sequence of (N, 2) arrays, one per zone")
            rings = list(rings)
        checked: List[np.ndarray] = [
            np.array(int_pairs(r, f"rings[{i}]"), dtype=np.int32, copy=True)
            for i, r in enumerate(rings)]
        id_array = int32_array(ids, "ids")
        if id_array.ndim != 1:
            raise ValueError(f"ids: expected shape (N,), got {tuple(id_array.shape)}")
        if len(checked) != id_array.shape[0]:
            raise ValueError(f"rings and ids: lengths differ ({len(checked)} and "
                             f"{id_array.shape[0]})")
        self._rings = checked
        self._ids = np.array(id_array, dtype=np.int32, copy=True)
        self._impl = _kelvor.ZoneIndex(self._rings, self._ids, rule_name(rule))

    def locate(self, points: Any) -> np.ndarray:
        """Zone id of each (N, 2) point: int32 (N,), NO_ZONE where none."""
        return self._impl.locate(int_pairs(points, "points"))

    @property
    def rings(self) -> List[np.ndarray]:
        return [r.copy() for r in self._rings]

    @property
    def ids(self) -> np.ndarray:
        return self._ids.copy()

    @property
    def rule(self) -> str:
        return self._impl.rule

    @property
    def size(self) -> int:
        """Number of zones kept (those with id NO_ZONE are not)."""
        return self._impl.size

    @property
    def memory_bytes(self) -> int:
        return self._impl.memory_bytes

    def __len__(self) -> int:
        return len(self._rings)

    def __reduce__(self):
        return (ZoneIndex, (self._rings, self._ids, self._impl.rule))

    def __repr__(self) -> str:
        return f"kelvor.ZoneIndex(<{len(self._rings)} zones>, rule={self.rule!r})"
