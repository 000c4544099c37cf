"""Planar predicates over arrays against one engine call per element."""

import numpy as np
import pytest

import kelvor
from kelvor._kelvor import scalar
from conftest import INT32_MAX, INT32_MIN, points_around, star_ring

SQUARE = np.array([[0, 0], [10, 0], [10, 10], [0, 10]], np.int32)


def rings(rng):
    """Named rings: each exercises a different crossing situation."""
    big = star_ring(rng, 40, 200000)  # long diagonal edges: the 32-bit product wraps
    return {
        "square": SQUARE,
        "square_closed": np.concatenate([SQUARE, SQUARE[:1]]),
        "star": star_ring(rng, 60, 500),
        "star_wrapping": big,
        "two_points": np.array([[0, 0], [7, 9]], np.int32),
        "one_point": np.array([[3, 3]], np.int32),
        "empty": np.zeros((0, 2), np.int32),
        "bow_tie": np.array([[0, 0], [10, 10], [10, 0], [0, 10]], np.int32),
        "extreme": np.array([[INT32_MIN, INT32_MIN], [INT32_MAX, INT32_MIN],
                             [INT32_MAX, INT32_MAX], [INT32_MIN, INT32_MAX]], np.int32),
    }


@pytest.mark.parametrize("ring_name", ["square", "square_closed", "star", "star_wrapping",
                                       "two_points", "one_point", "empty", "bow_tie", "extreme"])
def test_polygon_contain_point_matches_engine(ring_name, rng):
    ring = rings(rng)[ring_name]
    if ring.size:
        pts = points_around(rng, ring, 1500) if ring_name != "extreme" else \
            rng.integers(INT32_MIN, INT32_MAX, (1500, 2), dtype=np.int32, endpoint=True)
    else:
        pts = rng.integers(-5, 5, (50, 2), dtype=np.int32)
    got = kelvor.polygon_contain_point(ring, pts)
    assert got.dtype == np.bool_
    for i, (x, y) in enumerate(pts.tolist()):
        assert got[i] == scalar.polygon_contain_point(ring, x, y), (ring_name, x, y)


@pytest.mark.parametrize("point, inside", [
    ((0, 0), True), ((0, 5), True), ((5, 0), True),        # left and bottom sides inside
    ((10, 5), False), ((5, 10), False), ((10, 10), False),  # right and top sides outside
    ((5, 5), True), ((-1, 5), False),
])
def test_square_boundary_rule(point, inside):
    assert kelvor.polygon_contain_point(SQUARE, np.array([point], np.int32))[0] == inside


def segment_arrays(rng, n, span):
    pts = rng.integers(-span, span, (4, n, 2), dtype=np.int32, endpoint=True)
    # shared endpoints, parallel and degenerate segments, full-range values
    pts[2, : n // 10] = pts[0, : n // 10]
    pts[1, n // 10: n // 5] = pts[0, n // 10: n // 5]
    pts[3, n // 5: n // 4] = pts[2, n // 5: n // 4] + (pts[1, n // 5: n // 4] - pts[0, n // 5: n // 4]) // 2
    pts[:, -50:] = rng.integers(INT32_MIN, INT32_MAX, (4, 50, 2), dtype=np.int32, endpoint=True)
    return [np.ascontiguousarray(p) for p in pts]


@pytest.mark.parametrize("span", [4, 1000, 2**30])
def test_segment_segment_intersect_matches_engine(span, rng):
    a, b, c, d = segment_arrays(rng, 3000, span)
    hit, at = kelvor.segment_segment_intersect(a, b, c, d)
    assert hit.any() and not hit.all()
    for i in range(len(a)):
        args = [int(v) for p in (a, b, c, d) for v in p[i]]
        want = scalar.segment_segment_intersect(*args)
        assert (bool(hit[i]), int(at[i, 0]), int(at[i, 1])) == want, args
    assert (at[~hit] == kelvor.NO_POINT).all()


def test_segment_crossing_documented_case():
    hit, at = kelvor.segment_segment_intersect([0, 0], [10, 10], [[0, 10], [20, 20]],
                                               [[10, 0], [30, 20]])
    assert hit.tolist() == [True, False]
    assert at.tolist() == [[5, 5], [kelvor.NO_POINT, kelvor.NO_POINT]]


@pytest.mark.parametrize("span", [20, 1000, 2**30])
def test_rect_clip_segment_matches_engine(span, rng):
    n = 3000
    lo = rng.integers(-span // 2, span // 4, (n, 2), dtype=np.int32)
    hi = lo + rng.integers(0, span // 2, (n, 2), dtype=np.int32)
    p, q = (rng.integers(-span, span, (n, 2), dtype=np.int32) for _ in range(2))
    p[:100] = lo[:100]  # ends on the corners and edges
    q[100:200] = hi[100:200]
    q[200:300, 1] = p[200:300, 1]  # horizontal
    kept, p2, q2 = kelvor.rect_clip_segment(lo, hi, p, q)
    for i in range(n):
        args = [int(v) for arr in (lo, hi, p, q) for v in arr[i]]
        want = scalar.rect_clip_segment(*args)
        got = (bool(kept[i]), int(p2[i, 0]), int(p2[i, 1]), int(q2[i, 0]), int(q2[i, 1]))
        assert got == want, args
    assert (p2[~kept] == p[~kept]).all() and (q2[~kept] == q[~kept]).all()


SPAN_TESTS = ["polygon_horizon_intersect", "polygon_vertical_intersect",
              "polygon_contain_horizon", "polygon_contain_vertical",
              "polyline_horizon_intersect", "polyline_vertical_intersect"]


def span_arrays(rng, ring, n):
    lo, hi = int(ring.min()) - 3, int(ring.max()) + 3
    start = rng.integers(lo, hi, n, dtype=np.int32)
    end = start + rng.integers(-2, (hi - lo) // 2, n, dtype=np.int32)
    at = rng.integers(lo, hi, n, dtype=np.int32)
    at[:len(ring)] = ring[:n, 1]  # rows through vertices
    return start, end, at


@pytest.mark.parametrize("name", SPAN_TESTS)
@pytest.mark.parametrize("ring_name", ["square", "star", "bow_tie", "one_point", "empty"])
def test_span_tests_match_engine(name, ring_name, rng):
    ring = rings(rng)[ring_name]
    start, end, at = span_arrays(rng, ring if ring.size else SQUARE, 1500)
    got = getattr(kelvor, name)(ring, start, end, at)
    ref = getattr(scalar, name)
    for i, (s, e, y) in enumerate(zip(start.tolist(), end.tolist(), at.tolist())):
        assert got[i] == ref(ring, s, e, y), (name, ring_name, s, e, y)


@pytest.mark.parametrize("name", ["polygon_clip_horizon", "polygon_clip_vertical"])
@pytest.mark.parametrize("ring_name", ["square", "star", "bow_tie", "empty"])
def test_span_clips_match_engine(name, ring_name, rng):
    ring = rings(rng)[ring_name]
    start, end, at = span_arrays(rng, ring if ring.size else SQUARE, 1500)
    kept, s2, e2 = getattr(kelvor, name)(ring, start, end, at)
    ref = getattr(scalar, name)
    for i, (s, e, y) in enumerate(zip(start.tolist(), end.tolist(), at.tolist())):
        assert (bool(kept[i]), int(s2[i]), int(e2[i])) == ref(ring, s, e, y), (name, s, e, y)


def test_span_arguments_broadcast():
    got = kelvor.polygon_horizon_intersect(SQUARE, 0, [5, 20], [[3], [11]])
    assert got.shape == (2, 2)
    assert got.tolist() == [[True, True], [False, False]]
