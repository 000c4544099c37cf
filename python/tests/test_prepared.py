"""Prepared rings, the zone index and rectangles of rings: the rules, the
zone order, pickling and the ring helpers (the element-wise answers are in
test_vectorised.py)."""

import pickle

import numpy as np
import pytest

import kelvor
from conftest import INT32_MAX, INT32_MIN, LONG_EDGED, RINGS, SQUARE, star_ring


@pytest.mark.parametrize("ring_name", RINGS)
def test_exact_rule_agrees_where_nothing_wraps(ring_name, rng):
    ring = RINGS[ring_name]
    pts = rng.integers(-300, 300, (3000, 2), dtype=np.int32)
    if ring.size:
        pts = np.concatenate([pts, ring, ring + 1, ring - 1])
    exact = kelvor.Polygon(ring, rule="exact")
    if len(ring) >= 3:  # two-point rings: see the named case below
        assert np.array_equal(exact.contains_bounded(pts), exact.contains(pts)), ring_name
    if not kelvor.ring_can_wrap(ring):
        assert np.array_equal(exact.contains_bounded(pts),
                              kelvor.Polygon(ring).contains_bounded(pts)), ring_name


def test_exact_two_point_ring_holds_points_that_bounded_query_refuses():
    # Each crossing is truncated from its own edge's start, so the two edges of
    # a two-point ring can straddle a point; the bounded query keeps KPGON's
    # empty bound for rings under 3 points and holds nothing.
    pg = kelvor.Polygon(np.array([[0, 0], [1, 2]], np.int32), "exact")
    assert pg.contains([[0, 1]]).tolist() == [True]
    assert pg.contains_bounded([[0, 1]]).tolist() == [False]


def test_long_edged_outline_misclassified_by_compatible_rule_only():
    assert kelvor.ring_can_wrap(LONG_EDGED)
    pts = np.array([[50000, 50000], [150000, 150000], [1000, 190000]], np.int32)
    assert kelvor.Polygon(LONG_EDGED, "exact").contains(pts).tolist() == [True, False, True]
    compat = kelvor.Polygon(LONG_EDGED).contains(pts)
    assert compat.tolist() != [True, False, True]  # the wrapped product moves crossings
    assert np.array_equal(compat, kelvor.polygon_contain_point(LONG_EDGED, pts))


@pytest.mark.parametrize("ring_name", ["long_edged", "star_wrapping", "star", "square"])
def test_densify_ring(ring_name, rng):
    ring = RINGS[ring_name]
    dense = kelvor.densify_ring(ring)
    assert not kelvor.ring_can_wrap(dense)
    idx = [int(np.flatnonzero((dense == p).all(axis=1))[0]) for p in ring]
    assert idx == sorted(idx), "every original point kept, in order"
    if not kelvor.ring_can_wrap(ring):
        assert np.array_equal(dense, ring)
    dense_closed = kelvor.densify_ring(np.concatenate([ring, ring[:1]]))
    assert (dense_closed[0] == dense_closed[-1]).all()
    # Away from the boundary the densified ring answers, by the compatible
    # rule, what the original answers by the exact one.
    pts = rng.integers(0, 200000, (3000, 2), dtype=np.int32)
    far = np.abs(pts[:, 0].astype(np.int64) + pts[:, 1] - 200000) > 4
    if ring_name == "long_edged":
        assert np.array_equal(kelvor.Polygon(dense).contains(pts[far]),
                              kelvor.Polygon(ring, "exact").contains(pts[far]))


def test_ring_can_wrap_of_empty_and_axis_parallel():
    assert not kelvor.ring_can_wrap(np.zeros((0, 2), np.int32))
    assert not kelvor.ring_can_wrap(SQUARE * 100000)  # long but axis-parallel edges
    assert kelvor.ring_can_wrap([[INT32_MIN, INT32_MIN], [INT32_MAX, INT32_MAX], [0, 5]])


def zones(rng, k=12):
    rings = [star_ring(rng, int(rng.integers(5, 60)), int(rng.integers(50, 3000)),
                       centre=tuple(rng.integers(-5000, 5000, 2))) for _ in range(k)]
    rings += [LONG_EDGED, np.zeros((0, 2), np.int32)]  # wraps: reaches every x of its rows
    ids = rng.integers(-5, 8, len(rings)).astype(np.int32)
    ids[3] = kelvor.NO_ZONE  # skipped
    return rings, ids


@pytest.mark.parametrize("rule", ["compatible", "exact"])
def test_zone_index_is_lowest_id_of_containing_zones(rule, rng):
    rings, ids = zones(rng)
    index = kelvor.ZoneIndex(rings, ids, rule=rule)
    pts = np.concatenate([rng.integers(-8000, 8000, (4000, 2), dtype=np.int32),
                          rng.integers(-1000, 250000, (1000, 2), dtype=np.int32),
                          np.concatenate([r for r in rings if len(r)])])
    got = index.locate(pts)
    assert got.dtype == np.int32
    want = np.full(len(pts), kelvor.NO_ZONE, np.int32)
    for ring, zid in zip(rings, ids.tolist()):
        if zid != kelvor.NO_ZONE:
            inside = kelvor.Polygon(ring, rule).contains(pts)
            cur = want[inside]
            want[inside] = np.where(cur == kelvor.NO_ZONE, zid, np.minimum(cur, zid))
    assert np.array_equal(got, want), np.flatnonzero(got != want)[:5]
    assert index.size == len(rings) - 1
    empty = kelvor.ZoneIndex([], np.zeros(0, np.int32))
    assert empty.locate([[0, 0]]).tolist() == [kelvor.NO_ZONE]
    assert empty.locate(np.zeros((0, 2), np.int32)).shape == (0,)


def test_pickle_round_trip_rebuilds_identical_objects(rng):
    rings, ids = zones(rng, 5)
    pts = rng.integers(-6000, 6000, (2000, 2), dtype=np.int32)
    for rule in ("compatible", "exact"):
        index = kelvor.ZoneIndex(rings, ids, rule)
        copy = pickle.loads(pickle.dumps(index))
        assert copy.rule == rule and len(copy) == len(index)
        assert np.array_equal(copy.locate(pts), index.locate(pts))
        pg = kelvor.Polygon(rings[0], rule)
        pg2 = pickle.loads(pickle.dumps(pg))
        assert pg2.rule == rule and np.array_equal(pg2.ring, rings[0])
        assert np.array_equal(pg2.contains(pts), pg.contains(pts))
        assert pg2.bound == pg.bound


def test_polygon_properties():
    pg = kelvor.Polygon(SQUARE)
    assert pg.bound == (0, 0, 10, 10)
    assert kelvor.Polygon(SQUARE[:2]).bound == kelvor.EMPTY_RECT
    assert not pg.can_wrap and kelvor.Polygon(LONG_EDGED).can_wrap
    assert kelvor.Polygon(SQUARE).contains(np.zeros((0, 2), np.int32)).shape == (0,)
    with pytest.raises(ValueError, match="rule"):
        kelvor.Polygon(SQUARE, rule="fast")


@pytest.mark.parametrize("kind, sizes", [("polygon", (10, 100, 1000, 10000)),
                                         ("zones", (1, 10, 100, 1000))])
def test_memory_grows_with_what_is_held(kind, sizes, rng):
    # Bytes held grow with the vertices of a polygon and with the zones of an index.
    ring = star_ring(rng, 10000, 100000)
    if kind == "polygon":
        held = [kelvor.Polygon(ring[::len(ring) // k]).memory_bytes for k in sizes]
    else:
        held = [kelvor.ZoneIndex([ring[::100] + 300000 * i for i in range(k)],
                                 np.arange(k)).memory_bytes for k in sizes]
    assert held == sorted(held) and len(set(held)) == len(held), held


@pytest.mark.parametrize("ring_name", [r for r in RINGS if r != "extreme"])  # scans 2**32 rows
def test_rectangles_of_a_ring(ring_name, rng):
    ring = RINGS[ring_name]
    for step in (1, 3, 0, -2):
        assert kelvor.inscribed_rect(ring, step) == kelvor.get_mcr(ring, step), step
    if ring.size == 0:
        with pytest.raises(ValueError):
            kelvor.bounding_rect(ring)
        return
    lo, hi = ring.min(axis=0).tolist(), ring.max(axis=0).tolist()
    assert kelvor.bounding_rect(ring) == (lo[0], lo[1], hi[0], hi[1])


def test_inscribed_rect_exact_corners_are_inside():
    ring = RINGS["star_wrapping"]
    x0, y0, x1, y1 = kelvor.inscribed_rect(ring, 16, rule="exact")
    assert x0 <= x1 and y0 <= y1
    corners = [(x0, y0), (x1, y0), (x0, y1), (x1, y1)]
    assert kelvor.Polygon(ring, "exact").contains_bounded(corners).all()
    star = RINGS["star"]
    assert kelvor.inscribed_rect(star, 4, "exact") == kelvor.inscribed_rect(star, 4)
    assert kelvor.inscribed_rect(SQUARE[:2], 1) == kelvor.EMPTY_RECT
