"""Polygons of many rings (holes, several parts) and zones made of them: the
engine against an independent model (conftest.area_model), the nested input
forms, the packing into one call, and pickling."""

import pickle
import re

import numpy as np
import pytest

import kelvor
from conftest import INT32_MAX, INT32_MIN, area_model, bound_model, probe_points, star_ring

RULES = ["compatible", "exact"]


def square(x0, y0, side):
    return np.array([[x0, y0], [x0 + side, y0], [x0 + side, y0 + side], [x0, y0 + side]],
                    np.int32)


def diamond(cx, cy, r):
    return np.array([[cx - r, cy], [cx, cy - r], [cx + r, cy], [cx, cy + r]], np.int32)


_r = np.random.default_rng(99)
EMPTY = np.zeros((0, 2), np.int32)
# name -> (rings, hole flags): GeoJSON order, each outer ring followed by its holes.
AREAS = {
    "square_with_hole": ([square(0, 0, 40), square(10, 10, 10)], [False, True]),
    "hole_in_hole_and_island_in_hole": (
        [square(0, 0, 60), square(10, 10, 40), square(20, 20, 10),  # a hole's hole stays out
         square(15, 15, 30), square(25, 25, 5)],                   # an island: outer again
        [False, True, True, False, True]),
    "overlapping_parts": ([square(0, 0, 30), square(20, 20, 30), diamond(25, 25, 12)],
                          [False, False, False]),  # union, not even-odd, of the parts
    "holes_crossing_each_other_and_the_outline": (
        [square(0, 0, 40), square(5, 5, 20), square(15, 15, 20), square(30, -10, 20)],
        [False, True, True, True]),
    "hole_before_first_outer_ring": ([square(0, 0, 20), square(5, 5, 40)], [True, False]),
    "empty_rings": ([EMPTY, square(0, 0, 10), square(20, 0, 10), EMPTY, square(22, 2, 3),
                     EMPTY], [False, True, False, True, True, False]),
    "holes_of_an_empty_outer_ring": ([square(0, 0, 30), EMPTY, square(5, 5, 5)],
                                     [False, False, True]),
    "short_rings_as_parts_and_holes": (
        [np.array([[0, 0], [7, 9]], np.int32), square(0, 0, 12), np.array([[3, 3]], np.int32),
         np.array([[2, 1], [9, 11]], np.int32)],
        [False, False, True, True]),
    "bow_tie_with_hole": ([np.array([[0, 0], [40, 40], [40, 0], [0, 40]], np.int32),
                           diamond(30, 20, 6)], [False, True]),
    "stars_with_star_holes": ([star_ring(_r, 40, 500), star_ring(_r, 25, 200),
                               star_ring(_r, 30, 300, centre=(600, 100)),
                               star_ring(_r, 12, 120, centre=(600, 100))],
                              [False, True, False, True]),
    "wrapping_long_edges": ([star_ring(_r, 20, 200000), star_ring(_r, 10, 90000),
                             np.array([[0, 0], [200000, 0], [0, 200000]], np.int32)],
                            [False, True, False]),
    "extreme_coordinates": ([np.array([[INT32_MIN, INT32_MIN], [INT32_MAX, INT32_MIN],
                                       [INT32_MAX, INT32_MAX], [INT32_MIN, INT32_MAX]], np.int32),
                             square(-5, -5, 10)], [False, True]),
}


@pytest.mark.parametrize("rule", RULES)
@pytest.mark.parametrize("name", AREAS)
def test_polygon_of_rings_matches_model(name, rule, rng):
    rings, holes = AREAS[name]
    pts = probe_points(rng, rings)
    pg = kelvor.Polygon.from_rings(rings, holes, rule)
    want = area_model(rings, holes, pts, rule)
    got = pg.contains(pts)
    bad = np.flatnonzero(got != want)
    assert bad.size == 0, f"{name}/{rule}: points {pts[bad[:5]].tolist()} got {got[bad[:5]]}"
    box = bound_model(rings)
    assert pg.bound == (box if box is not None else kelvor.EMPTY_RECT), name
    if box is not None:
        in_box = ((pts[:, 0] >= box[0]) & (pts[:, 0] < box[2]) &
                  (pts[:, 1] >= box[1]) & (pts[:, 1] < box[3]))
        want_bounded = want & in_box
    else:
        want_bounded = np.zeros(len(pts), bool)
    if rule == "compatible" or all(len(r) >= 3 for r in rings):
        # (exact two-point rings hold points a bounded query refuses: see test_prepared)
        assert np.array_equal(pg.contains_bounded(pts), want_bounded), name
    assert pg.can_wrap == any(kelvor.ring_can_wrap(r) for r in rings), name


# Hand-worked points, independent of the model, where the way rings combine
# decides the answer.
HAND_CASES = [
    ("overlapping_parts", (35, 25), True, "in the second square and the diamond: union"),
    ("overlapping_parts", (5, 5), True, "first square only"),
    ("hole_in_hole_and_island_in_hole", (22, 22), True,
     "in the first ring's two holes but also in the island after them"),
    ("hole_in_hole_and_island_in_hole", (12, 12), False, "in the first hole, not the island"),
    ("hole_in_hole_and_island_in_hole", (27, 27), False, "in the island's own hole"),
    ("holes_crossing_each_other_and_the_outline", (20, 20), False, "in both crossing holes"),
    ("holes_crossing_each_other_and_the_outline", (35, -5), False, "in a hole outside the outline"),
    ("hole_before_first_outer_ring", (10, 10), True, "the leading hole counts for nothing"),
    ("empty_rings", (5, 5), False, "a hole after an empty outer ring"),
    ("empty_rings", (23, 3), False, "hole of the second square"),
    ("empty_rings", (21, 1), True, "second square outside its hole"),
    ("holes_of_an_empty_outer_ring", (7, 7), True, "the hole belongs to the empty ring"),
]


@pytest.mark.parametrize("name, point, inside, why", HAND_CASES)
def test_hand_worked_points(name, point, inside, why):
    rings, holes = AREAS[name]
    for rule in RULES:
        got = kelvor.Polygon.from_rings(rings, holes, rule).contains([point]).tolist()
        assert got == [inside], f"{name} {point} ({why}), {rule}"


@pytest.mark.parametrize("name", ["square_with_hole", "stars_with_star_holes",
                                  "hole_in_hole_and_island_in_hole"])
def test_one_outer_ring_answers_as_the_plain_ring(name, rng):
    ring = AREAS[name][0][0]
    pts = probe_points(rng, [ring])
    plain = kelvor.Polygon(ring)
    for alone in (kelvor.Polygon([ring]), kelvor.Polygon([[ring]]),
                  kelvor.Polygon.from_rings([ring], [False])):
        assert np.array_equal(alone.contains(pts), plain.contains(pts)), name
        assert np.array_equal(alone.contains_bounded(pts), plain.contains_bounded(pts)), name
        assert np.array_equal(alone.ring, ring) and alone.bound == plain.bound


SQ = square(0, 0, 10).tolist()
HOLE = square(2, 2, 3).tolist()
FAR = square(20, 0, 4).tolist()
# input -> (ring lengths, hole flags) it must be read as
NESTED_FORMS = {
    "ring_as_list": (SQ, [4], [False]),
    "ring_as_tuple_of_tuples": (tuple(map(tuple, SQ)), [4], [False]),
    "ring_as_array": (np.array(SQ, np.int64), [4], [False]),
    "polygon_of_lists": ([SQ, HOLE], [4, 4], [False, True]),
    "polygon_of_arrays": ([np.array(SQ, np.int32), np.array(HOLE, np.uint8)], [4, 4],
                          [False, True]),
    "polygon_as_3d_array": (np.array([SQ, HOLE], np.int32), [4, 4], [False, True]),
    "polygon_of_one_ring": ([SQ], [4], [False]),
    "multipolygon": ([[SQ, HOLE], [FAR]], [4, 4, 4], [False, True, False]),
    "multipolygon_as_4d_array": (np.array([[SQ, HOLE], [FAR, FAR]], np.int32), [4, 4, 4, 4],
                                 [False, True, False, True]),
    "multipolygon_with_empty_parts": ([[], [SQ, HOLE], [[], HOLE]], [4, 4, 0, 4],
                                      [False, True, False, True]),
    "polygon_with_empty_outer_ring": ([[], HOLE], [0, 4], [False, True]),
    "empty_list": ([], [], []),
    "empty_polygon": ([[]], [], []),
    "empty_multipolygon": ([[], [[]]], [], []),
    "empty_array": (np.zeros((0, 2), np.int32), [], []),
}


@pytest.mark.parametrize("name", NESTED_FORMS)
def test_nesting_depth_decides_ring_polygon_or_multipolygon(name, rng):
    coords, lengths, holes = NESTED_FORMS[name]
    pg = kelvor.Polygon(coords, "exact")
    assert [len(r) for r in pg.rings] == lengths, name
    assert pg.holes.tolist() == holes, name
    assert all(r.dtype == np.int32 for r in pg.rings)
    pts = probe_points(rng, pg.rings, 200)
    assert np.array_equal(pg.contains(pts), area_model(pg.rings, holes, pts, "exact")), name


@pytest.mark.parametrize("coords, where, error", [
    ([SQ, [[1, 2], [3]]], "coords[1]", ValueError),                # ragged ring
    ([SQ, [[1.5, 2.0], [3, 4], [5, 6]]], "coords[1]", TypeError),  # float coordinates
    ([[SQ], [SQ, 7]], "coords[1][1]", ValueError),                  # a number where a ring goes
    ([SQ, [[2**31, 0], [0, 0], [1, 1]]], "coords[1]", ValueError),  # beyond int32
    ([[[SQ]]], "coords", ValueError),                                # five levels
    ([1, 2], "coords", ValueError),                                  # one position
    (5, "coords", ValueError),
    ("abc", "coords", TypeError),
    ({"type": "Polygon"}, "coords", TypeError),
    (None, "coords", TypeError),
])
def test_bad_nested_input_names_the_position(coords, where, error):
    with pytest.raises(error, match=rf"^{re.escape(where)}: "):
        kelvor.Polygon(coords)


@pytest.mark.parametrize("layout", ["strided", "fortran", "frame"])
def test_any_array_layout_gives_the_same_polygon(layout, rng):
    pd = pytest.importorskip("pandas") if layout == "frame" else None
    rings = [star_ring(rng, 30, 500), star_ring(rng, 12, 100)]
    given = {"strided": lambda r: np.repeat(r, 2, axis=0)[::2],
             "fortran": np.asfortranarray,
             "frame": lambda r: pd.DataFrame({"x": r[:, 0], "y": r[:, 1]})}[layout]
    pts = probe_points(rng, rings)
    want = kelvor.Polygon([rings[0], rings[1]], "exact").contains(pts)
    got = kelvor.Polygon([given(rings[0]), given(rings[1])], "exact").contains(pts)
    assert np.array_equal(got, want), layout
    if layout != "frame":
        stacked = given(np.stack([rings[1], rings[1] + 1000]))
        assert np.array_equal(kelvor.ZoneIndex(stacked, [1, 2]).locate(pts),
                              kelvor.ZoneIndex([rings[1], rings[1] + 1000], [1, 2]).locate(pts))


def test_ring_accessor_refuses_several_rings():
    pg = kelvor.Polygon([SQ, HOLE])
    with pytest.raises(ValueError, match="2 rings.*rings and .holes"):
        pg.ring
    with pytest.raises(ValueError, match="1 holes"):
        kelvor.Polygon.from_rings([SQ], [True]).ring
    assert kelvor.Polygon([]).ring.shape == (0, 2)
    assert kelvor.Polygon.from_rings([], []).contains([[0, 0]]).tolist() == [False]
    assert "2 rings, 1 holes" in repr(pg)


@pytest.mark.parametrize("rings, holes, error, match", [
    ([SQ, HOLE], [False], ValueError, "holes: expected shape \\(2,\\)"),
    ([SQ], [0], TypeError, "holes: expected bool"),
    ([SQ, "x"], [False, True], TypeError, "rings\\[1\\]"),
    (5, [], TypeError, "rings"),
])
def test_from_rings_checks_its_arguments(rings, holes, error, match):
    with pytest.raises(error, match=match):
        kelvor.Polygon.from_rings(rings, holes)


@pytest.mark.parametrize("rule", RULES)
def test_pickle_round_trips_polygons_of_rings(rule, rng):
    for name in ("hole_in_hole_and_island_in_hole", "empty_rings", "hole_before_first_outer_ring",
                 "wrapping_long_edges"):
        rings, holes = AREAS[name]
        pg = kelvor.Polygon.from_rings(rings, holes, rule)
        copy = pickle.loads(pickle.dumps(pg))
        assert copy.rule == rule and copy.holes.tolist() == list(holes), name
        assert all(np.array_equal(a, np.asarray(b)) for a, b in zip(copy.rings, rings)), name
        pts = probe_points(rng, rings)
        assert np.array_equal(copy.contains(pts), pg.contains(pts)), name
        assert np.array_equal(copy.contains_bounded(pts), pg.contains_bounded(pts)), name


# ---- zones made of rings -------------------------------------------------------------

def area_zones(rng):
    """Zones in every form Polygon takes, overlapping, with empty and skipped ones."""
    zones = [[r.tolist() for r in AREAS["stars_with_star_holes"][0][:2]],    # polygon
             [[AREAS["square_with_hole"][0][0] * 10, square(100, 100, 100)],
              [square(300, 300, 200)]],                                      # multipolygon
             star_ring(rng, 30, 400, centre=(150, 150)),                     # plain ring
             [],                                                             # empty
             [square(-100, -100, 900), square(-50, -50, 800)],               # frame: only a rim
             [AREAS["hole_in_hole_and_island_in_hole"][0][0] * 8,
              AREAS["hole_in_hole_and_island_in_hole"][0][1] * 8],
             [AREAS["wrapping_long_edges"][0][2]],                           # wraps
             square(0, 0, 300)]                                              # skipped
    ids = np.array([7, 3, -2, 1, 9, 3, 12, kelvor.NO_ZONE], np.int32)
    return zones, ids


def linear_scan(zones, ids, pts, rule):
    want = np.full(len(pts), kelvor.NO_ZONE, np.int32)
    for zone, zid in zip(zones, ids.tolist()):
        if zid == kelvor.NO_ZONE:
            continue
        inside = kelvor.Polygon(zone, rule).contains(pts)
        cur = want[inside]
        want[inside] = np.where(cur == kelvor.NO_ZONE, zid, np.minimum(cur, zid))
    return want


@pytest.mark.parametrize("rule", RULES)
def test_zone_index_of_nested_zones_matches_a_linear_scan(rule, rng):
    zones, ids = area_zones(rng)
    index = kelvor.ZoneIndex(zones, ids, rule)
    pts = np.concatenate([rng.integers(-200, 900, (6000, 2)),
                          rng.integers(-1000, 210000, (2000, 2))]).astype(np.int32)
    got = index.locate(pts)
    want = linear_scan(zones, ids, pts, rule)
    bad = np.flatnonzero(got != want)
    assert bad.size == 0, f"{rule}: {pts[bad[:5]].tolist()} got {got[bad[:5]]} want {want[bad[:5]]}"
    assert len(set(want.tolist())) >= 5, "the probe reaches most zones"
    assert index.size == len(zones) - 1 and len(index) == len(zones)
    assert index.rings_per_zone.tolist() == [2, 3, 1, 0, 2, 2, 1, 1]
    assert index.holes.tolist() == [False, True, False, True, False, False, False, True,
                                    False, True, False, False]
    for i in (0, 1, 3, 5, -1):
        z = index.zone(i)
        assert z.rule == rule
        assert np.array_equal(z.contains(pts), kelvor.Polygon(zones[i], rule).contains(pts)), i
    with pytest.raises(IndexError):
        index.zone(len(zones))
    copy = pickle.loads(pickle.dumps(index))
    assert copy.rule == rule and len(copy) == len(index) and copy.size == index.size
    assert np.array_equal(copy.locate(pts), got)
    assert np.array_equal(copy.ids, ids)


def test_zone_index_keeps_the_one_ring_forms():
    rings = [square(0, 0, 10), square(20, 0, 10)]
    for zones in (rings, np.stack(rings), [r.tolist() for r in rings], tuple(rings)):
        index = kelvor.ZoneIndex(zones, [4, 5])
        assert index.locate([[5, 5], [25, 5], [15, 5]]).tolist() == [4, 5, kelvor.NO_ZONE]
        assert all(np.array_equal(a, b) for a, b in zip(index.rings, rings))
        assert index.rings_per_zone.tolist() == [1, 1]


@pytest.mark.parametrize("zones, ids, error, match", [
    ([SQ, [SQ, [[1, 2], [3]]]], [1, 2], ValueError, "zones\\[1\\]\\[1\\]"),
    ([SQ, [[SQ, 7]]], [1, 2], ValueError, "zones\\[1\\]\\[0\\]\\[1\\]"),
    ([SQ, "x"], [1, 2], TypeError, "zones\\[1\\]"),
    ([SQ], [1, 2], ValueError, "lengths differ"),
    ([SQ], [[1]], ValueError, "ids"),
    ([SQ], [1.5], TypeError, "ids"),
    ([SQ], [2**31], ValueError, "ids"),
    (np.zeros((4, 2), np.int32), [1], ValueError, "zones: expected"),
    (5, [1], TypeError, "zones"),
])
def test_zone_index_errors_name_the_zone(zones, ids, error, match):
    with pytest.raises(error, match=match):
        kelvor.ZoneIndex(zones, ids)


_PTS = np.zeros((4, 2), np.int32)
_ONE = np.array([4], np.int64)


# The package always passes consistent buffers; the core still refuses
# counts that do not add up rather than reading past them.
@pytest.mark.parametrize("build, error, match", [
    (lambda core: core.PreparedPolygon.from_rings(_PTS, [4], [1]), TypeError, "holes"),
    (lambda core: core.PreparedPolygon.from_rings(_PTS, [5], [False]), ValueError,
     "past the 4 points"),
    (lambda core: core.PreparedPolygon.from_rings(_PTS, [2, 1], [False, True]), ValueError,
     "add up to 3"),
    (lambda core: core.PreparedPolygon.from_rings(_PTS, [-1, 5], [False, True]), ValueError,
     "ring_counts\\[0\\]"),
    (lambda core: core.PreparedPolygon.from_rings(_PTS, _ONE, [False, True]), ValueError,
     "ring_counts and holes"),
    (lambda core: core.PreparedPolygon.from_rings(_PTS, [2**40], [False]), ValueError,
     "ring_counts: .*int32"),
    (lambda core: core.ZoneIndex.from_areas(_PTS, _ONE, [False], [2], [1]), ValueError,
     "past the 1 rings"),
    (lambda core: core.ZoneIndex.from_areas(_PTS, _ONE, [False], [0, 0], [1, 2]), ValueError,
     "add up to 0"),
    (lambda core: core.ZoneIndex.from_areas(_PTS, _ONE, [False], [1], [1, 2]), ValueError,
     "area_ring_counts and ids"),
], ids=["hole_flags_not_bool", "past_the_points", "points_left_over", "negative_count",
        "flags_per_ring", "count_beyond_int32", "past_the_rings", "rings_left_over",
        "ids_per_area"])
def test_compiled_core_checks_the_packed_buffers(build, error, match):
    with pytest.raises(error, match=match):
        build(kelvor._kelvor)
