"""Shared generators, data and fixtures for the kelvor tests: edge values,
rings, an independent model of polygons with holes, and the scalar oracle."""

import numpy as np
import pytest

INT32_MIN = -(2**31)
INT32_MAX = 2**31 - 1
DEG = 65536

#: Edge values of a 16.16 argument, each a reason of its own to be here.
EDGE_INT32 = np.array(
    [0, 1, -1, 2, -2, 0x7FFF, 0x8000, -0x8000, 0xFFFF, 0x10000, -0x10000, 0x18000, -0x18000,
     90 * DEG, 180 * DEG, 270 * DEG, 360 * DEG, -90 * DEG, -360 * DEG, 720 * DEG + 5,
     46340, 46341, -46341, 1 << 24, 1 << 28, (1 << 28) + 1, 1 << 30, -(1 << 30),
     INT32_MAX, INT32_MIN, INT32_MAX - 1, INT32_MIN + 1], dtype=np.int32)

#: Float edge values for lon/lat arguments.
EDGE_FLOAT = np.array([0.0, -0.0, 1e-7, -1e-7, 3e-6, 0.5, -0.5, 45.0, 89.999999, 90.0, -90.0,
                       179.99999, 180.0, -180.0, 214.7483647, 214.7483648, 1e300, -1e300,
                       np.nan, np.inf, -np.inf, 5e-324])


@pytest.fixture
def rng():
    return np.random.default_rng(20240611)


@pytest.fixture(scope="session")
def dask_cluster():
    """A LocalCluster of two worker processes, shared by the Dask tests."""
    pytest.importorskip("pandas")
    pytest.importorskip("dask.dataframe")
    pytest.importorskip("distributed")
    from kelvor import dask as kdask
    with kdask.Cluster(workers=2) as cluster:
        yield cluster


def lonlat_star(rng, centre, radius, n, jitter=0.5):
    """A closed star ring in degrees (6 decimals), as GeoJSON lists."""
    ring = star_ring(rng, n, radius * 1e6, (centre[0] * 1e6, centre[1] * 1e6), jitter) / 1e6
    return np.concatenate([ring, ring[:1]]).tolist()


@pytest.fixture(scope="session")
def oracle():
    """The _kelvor_oracle module: one engine call per Python call, built only
    in test builds beside the package (never installed with it)."""
    return pytest.importorskip(
        "_kelvor_oracle", reason="the scalar oracle is built only with the tests "
        "(KELVOR_BUILD_TESTS), beside the package in the build tree")


def int32_values(rng, n):
    """Edge values, then small, medium and full-range random int32 values."""
    parts = [EDGE_INT32,
             rng.integers(-300, 300, n // 3, dtype=np.int32),
             rng.integers(-(1 << 20), 1 << 20, n // 3, dtype=np.int32),
             rng.integers(INT32_MIN, INT32_MAX, n // 3, endpoint=True, dtype=np.int32)]
    return np.concatenate(parts)


def star_ring(rng, n, radius, centre=(0, 0), jitter=0.6, waves=()):
    """A star-shaped, outline-like ring of n vertices (open, counterclockwise).

    Each vertex's radius is cut by up to ``jitter`` of it at random; ``waves``,
    pairs (frequency, amplitude), add sines of random phase around the ring
    (bays and capes, so that edges stay short as in real coastlines), scaled
    so that the radius stays within ``radius``.
    """
    angles = np.sort(rng.uniform(0, 2 * np.pi, n))
    r = radius * (1 - jitter * rng.uniform(0, 1, n))
    if waves:
        phases = rng.uniform(0, 2 * np.pi, len(waves))
        wave = sum(a * np.sin(f * angles + p) for (f, a), p in zip(waves, phases))
        r = r * (1 + wave) / (1 + sum(a for _, a in waves))
    x = np.round(centre[0] + r * np.cos(angles))
    y = np.round(centre[1] + r * np.sin(angles))
    return np.ascontiguousarray(np.stack([x, y], axis=1).astype(np.int32))


def points_around(rng, ring, n, margin=2):
    """Points over the ring's bounding box and a little beyond, vertices included."""
    lo = ring.min(axis=0).astype(np.int64) - margin
    hi = ring.max(axis=0).astype(np.int64) + margin
    pts = rng.integers(lo, hi, size=(n, 2), endpoint=True).astype(np.int32)
    return np.ascontiguousarray(np.concatenate([ring, ring + 1, ring - 1, pts]))


SQUARE = np.array([[0, 0], [10, 0], [10, 10], [0, 10]], np.int32)
# A triangle whose hypotenuse spans 200,000 units in both axes: the wrapping
# 32-bit crossing product misplaces crossings of that edge.
LONG_EDGED = np.array([[0, 0], [200000, 0], [0, 200000]], np.int32)
_r = np.random.default_rng(5)
#: Rings of every kind the functions on whole rings meet.
RINGS = {
    "square": SQUARE,
    "square_closed": np.concatenate([SQUARE, SQUARE[:1]]),
    "star": star_ring(_r, 60, 500),
    "star_wrapping": star_ring(_r, 40, 200000),  # long diagonal edges: the product wraps
    "two_points": np.array([[0, 0], [7, 9]], np.int32),
    "one_point": np.array([[3, 3]], np.int32),
    "empty": np.zeros((0, 2), np.int32),
    "bow_tie": np.array([[0, 0], [10, 10], [10, 0], [0, 10]], np.int32),
    "extreme": np.array([[INT32_MIN, INT32_MIN], [INT32_MAX, INT32_MIN], [INT32_MAX, INT32_MAX],
                         [INT32_MIN, INT32_MAX]], np.int32),
    "long_edged": LONG_EDGED,
}


# ---- an independent model of rings with holes and many parts ---------------------

def trunc_div(num, den):
    """num / den truncated toward zero, in Python ints."""
    q = abs(num) // abs(den)
    return q if (num < 0) == (den < 0) else -q


def ring_holds_exact(ring, x, y):
    """Even-odd rule with every crossing formed exactly: an edge a -> b (ring
    closed from the last point to the first) straddles row y when
    a.y <= y < b.y or b.y <= y < a.y and crosses it at
    a.x + trunc((b.x - a.x) * (y - a.y) / (b.y - a.y)); inside when an odd
    number of crossings lie strictly right of x."""
    pts = [(int(p[0]), int(p[1])) for p in ring]
    inside = False
    for i, (ax, ay) in enumerate(pts):
        bx, by = pts[(i + 1) % len(pts)]
        if ay <= y < by or by <= y < ay:
            if x < ax + trunc_div((bx - ax) * (y - ay), by - ay):
                inside = not inside
    return inside


def ring_answers(ring, points, rule):
    """One ring alone: the exact model, or the engine's own loop for the
    compatible rule (its wrapping product is the rule)."""
    import kelvor
    if rule == "compatible":
        return kelvor.polygon_contain_point(np.ascontiguousarray(ring, np.int32), points)
    return np.array([ring_holds_exact(ring, int(x), int(y)) for x, y in points.tolist()], bool)


def area_model(rings, holes, points, rule):
    """Inside when some outer ring holds the point and none of its holes does;
    holes before the first outer ring count for nothing."""
    result = np.zeros(len(points), bool)
    current = None  # what the latest outer ring holds, less its holes so far
    for ring, hole in zip(rings, holes):
        held = ring_answers(ring, points, rule)
        if hole:
            if current is not None:
                current &= ~held
        else:
            if current is not None:
                result |= current
            current = held.copy()
    if current is not None:
        result |= current
    return result


def bound_model(rings):
    """The bounding rectangle over the rings of 3 points or more, or None."""
    big = [np.asarray(r, np.int64) for r in rings if len(r) >= 3]
    if not big:
        return None
    allp = np.concatenate(big)
    lo, hi = allp.min(axis=0), allp.max(axis=0)
    return int(lo[0]), int(lo[1]), int(hi[0]), int(hi[1])


def probe_points(rng, rings, n=300, margin=3):
    """Vertices and their neighbours, then random points over the rings' box."""
    filled = [np.asarray(r, np.int64) for r in rings if len(r)]
    if not filled:
        return rng.integers(-50, 50, (n, 2)).astype(np.int32)
    allp = np.concatenate(filled)
    lo, hi = allp.min(axis=0) - margin, allp.max(axis=0) + margin
    lo, hi = np.maximum(lo, INT32_MIN), np.minimum(hi, INT32_MAX)
    near = np.concatenate([allp, allp + 1, allp - 1, allp + [1, -1]])
    near = near[((near >= INT32_MIN) & (near <= INT32_MAX)).all(axis=1)]
    rand = rng.integers(lo, hi, (n, 2), endpoint=True)
    return np.ascontiguousarray(np.concatenate([near, rand]).astype(np.int32))
