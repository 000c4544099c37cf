"""Prepared rings, the zone index and rectangles of rings: against the plain
engine functions, and the exact rule against an integer model."""

import pickle

import numpy as np
import pytest

import kelvor
from kelvor._kelvor import scalar
from conftest import INT32_MAX, INT32_MIN, points_around, star_ring

SQUARE = np.array([[0, 0], [10, 0], [10, 10], [0, 10]], np.int32)
# A triangle whose hypotenuse spans 200,000 units in both axes: the wrapping
# 32-bit crossing product misplaces crossings of that edge.
LONG_EDGED = np.array([[0, 0], [200000, 0], [0, 200000]], np.int32)


def exact_inside(ring, x, y):
    """Even-odd rule with exact crossings truncated toward each edge's start,
    within the half-open bounding rectangle."""
    xs, ys = ring[:, 0].tolist(), ring[:, 1].tolist()
    if not (min(xs) <= x < max(xs) and min(ys) <= y < max(ys)):
        return False
    inside = False
    n = len(xs)
    for i in range(n):
        ax, ay, bx, by = xs[i], ys[i], xs[(i + 1) % n], ys[(i + 1) % n]
        if (ay <= y < by) or (by <= y < ay):
            num = (bx - ax) * (y - ay)
            q = abs(num) // abs(by - ay)
            cross = ax + (q if (num >= 0) == (by - ay > 0) else -q)
            if cross > x:
                inside = not inside
    return inside


def named_rings(rng):
    return {
        "square": SQUARE,
        "star": star_ring(rng, 80, 3000),
        "star_closed": np.concatenate([r := star_ring(rng, 50, 900), r[:1]]),
        "bow_tie": np.array([[0, 0], [10, 10], [10, 0], [0, 10]], np.int32),
        "two_points": np.array([[0, 0], [7, 9]], np.int32),
        "one_point": np.array([[3, 3]], np.int32),
        "empty": np.zeros((0, 2), np.int32),
        "long_edged": LONG_EDGED,
        "star_wrapping": star_ring(rng, 30, 300000),
    }


RING_NAMES = ["square", "star", "star_closed", "bow_tie", "two_points", "one_point", "empty",
              "long_edged", "star_wrapping"]


def query_points(rng, ring, n=2000):
    if ring.size == 0:
        return rng.integers(-5, 5, (20, 2), dtype=np.int32)
    return points_around(rng, ring, n)


@pytest.mark.parametrize("ring_name", RING_NAMES)
def test_compatible_polygon_is_the_plain_function(ring_name, rng):
    ring = named_rings(rng)[ring_name]
    pts = query_points(rng, ring)
    pg = kelvor.Polygon(ring)
    got = pg.contains(pts)
    want = kelvor.polygon_contain_point(ring, pts)
    bad = np.flatnonzero(got != want)
    assert bad.size == 0, f"{ring_name}: first differing point {pts[bad[:3]].tolist()}"
    bounded = pg.contains_bounded(pts)
    for i, (x, y) in enumerate(pts.tolist()):
        assert bounded[i] == scalar.kpgon_contain(ring, x, y), (ring_name, x, y)


@pytest.mark.parametrize("ring_name", RING_NAMES)
def test_exact_rule(ring_name, rng):
    ring = named_rings(rng)[ring_name]
    pts = query_points(rng, ring, 800)
    exact = kelvor.Polygon(ring, rule="exact")
    got = exact.contains(pts)
    if len(ring) >= 3:  # two-point rings: see the named case below
        assert np.array_equal(exact.contains_bounded(pts), got), ring_name
    if not kelvor.ring_can_wrap(ring) and len(ring) >= 3:
        assert np.array_equal(got, kelvor.Polygon(ring).contains_bounded(pts)), ring_name
    if len(ring) >= 3:
        for i, (x, y) in enumerate(pts.tolist()):
            assert got[i] == exact_inside(ring, x, y), (ring_name, x, y)


def test_exact_two_point_ring_holds_points_that_bounded_query_refuses():
    # Each crossing is truncated from its own edge's start, so the two edges of
    # a two-point ring can straddle a point; the bounded query keeps KPGON's
    # empty bound for rings under 3 points and holds nothing.
    ring = np.array([[0, 0], [1, 2]], np.int32)
    pg = kelvor.Polygon(ring, "exact")
    pts = np.array([[0, 1]], np.int32)
    assert pg.contains(pts).tolist() == [True]
    assert pg.contains_bounded(pts).tolist() == [False]


def test_long_edged_outline_misclassified_by_compatible_rule_only():
    assert kelvor.ring_can_wrap(LONG_EDGED)
    pts = np.array([[50000, 50000], [150000, 150000], [1000, 190000]], np.int32)
    truth = [exact_inside(LONG_EDGED, x, y) for x, y in pts.tolist()]
    assert truth == [True, False, True]
    assert kelvor.Polygon(LONG_EDGED, "exact").contains(pts).tolist() == truth
    compat = kelvor.Polygon(LONG_EDGED).contains(pts)
    assert compat.tolist() != truth  # the wrapped product moves crossings
    assert np.array_equal(compat, kelvor.polygon_contain_point(LONG_EDGED, pts))


@pytest.mark.parametrize("ring_name", ["long_edged", "star_wrapping", "star", "square"])
def test_densify_ring(ring_name, rng):
    ring = named_rings(rng)[ring_name]
    dense = kelvor.densify_ring(ring)
    assert not kelvor.ring_can_wrap(dense)
    # every original point kept, in order
    idx = [int(np.flatnonzero((dense == p).all(axis=1))[0]) for p in ring]
    assert idx == sorted(idx), ring_name
    if not kelvor.ring_can_wrap(ring):
        assert np.array_equal(dense, ring)
    closed = np.concatenate([ring, ring[:1]])
    dense_closed = kelvor.densify_ring(closed)
    assert (dense_closed[0] == dense_closed[-1]).all()


def test_densified_outline_agrees_with_exact_rule_away_from_the_boundary(rng):
    dense = kelvor.densify_ring(LONG_EDGED)
    pts = rng.integers(0, 200000, (3000, 2), dtype=np.int32)
    far = np.abs(pts[:, 0].astype(np.int64) + pts[:, 1] - 200000) > 4
    got = kelvor.Polygon(dense).contains(pts[far])
    want = kelvor.Polygon(LONG_EDGED, "exact").contains(pts[far])
    assert np.array_equal(got, want)


def test_ring_can_wrap_of_empty_and_axis_parallel():
    assert not kelvor.ring_can_wrap(np.zeros((0, 2), np.int32))
    assert not kelvor.ring_can_wrap(SQUARE * 100000)  # long but axis-parallel edges
    assert kelvor.ring_can_wrap([[INT32_MIN, INT32_MIN], [INT32_MAX, INT32_MAX], [0, 5]])


def zones(rng, k=12):
    rings = [star_ring(rng, int(rng.integers(5, 60)), int(rng.integers(50, 3000)),
                       centre=tuple(rng.integers(-5000, 5000, 2))) for _ in range(k)]
    rings.append(LONG_EDGED)  # can wrap: reaches every x of its rows
    rings.append(np.zeros((0, 2), np.int32))
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
        if zid == kelvor.NO_ZONE:
            continue
        inside = kelvor.Polygon(ring, rule).contains(pts)
        cur = want[inside]
        want[inside] = np.where(cur == kelvor.NO_ZONE, zid, np.minimum(cur, zid))
    assert np.array_equal(got, want), np.flatnonzero(got != want)[:5]
    assert index.size == len(rings) - 1


def test_zone_index_of_no_zones_and_no_points():
    index = kelvor.ZoneIndex([], np.zeros(0, np.int32))
    assert index.locate([[0, 0]]).tolist() == [kelvor.NO_ZONE]
    assert index.locate(np.zeros((0, 2), np.int32)).shape == (0,)
    assert kelvor.Polygon(SQUARE).contains(np.zeros((0, 2), np.int32)).shape == (0,)


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
    assert not pg.ring_can_wrap and kelvor.Polygon(LONG_EDGED).ring_can_wrap
    assert pg.memory_bytes > 0
    with pytest.raises(ValueError, match="rule"):
        kelvor.Polygon(SQUARE, rule="fast")


# ---- rectangles of a ring ----------------------------------------------------------

@pytest.mark.parametrize("ring_name", RING_NAMES)
@pytest.mark.parametrize("step", [1, 3, 0, -2])
def test_inscribed_rect_compatible_is_getmcr(ring_name, step, rng):
    ring = named_rings(rng)[ring_name]
    if ring_name == "star":
        ring = star_ring(rng, 30, 300)  # GetMCR is slow on big outlines
    assert kelvor.inscribed_rect(ring, step) == kelvor.get_mcr(ring, step), ring_name


def test_inscribed_rect_exact_corners_are_inside(rng):
    ring = named_rings(rng)["star_wrapping"]
    x0, y0, x1, y1 = kelvor.inscribed_rect(ring, 16, rule="exact")
    assert x0 <= x1 and y0 <= y1
    for x, y in [(x0, y0), (x1, y0), (x0, y1), (x1, y1)]:
        assert exact_inside(ring, x, y), (x, y)
    ring = named_rings(rng)["star"]
    assert kelvor.inscribed_rect(ring, 4, "exact") == kelvor.inscribed_rect(ring, 4)
    assert kelvor.inscribed_rect(SQUARE[:2], 1) == kelvor.EMPTY_RECT


@pytest.mark.parametrize("ring_name", RING_NAMES)
def test_bounding_rect_is_min_and_max(ring_name, rng):
    ring = named_rings(rng)[ring_name]
    if ring.size == 0:
        with pytest.raises(ValueError):
            kelvor.bounding_rect(ring)
        return
    lo, hi = ring.min(axis=0).tolist(), ring.max(axis=0).tolist()
    assert kelvor.bounding_rect(ring) == (lo[0], lo[1], hi[0], hi[1])
