"""Every element-wise function against one engine call per element (the
``_kelvor_oracle`` module, built with the tests), driven by one table: the
function, a generator per argument and the scalar reference. Floats compare
bit for bit (NaN and signed zeros included)."""

import struct

import numpy as np
import pytest

import kelvor
from conftest import (DEG, EDGE_FLOAT, EDGE_INT32, INT32_MAX, INT32_MIN, RINGS, SQUARE,
                      points_around)

N = 1500
EDGE_UNITS = np.array([0, 1, -1, 2, 3, -3, 100000, 18000000, -18000000, 9000000, 21474836,
                       21474837, INT32_MAX, INT32_MIN], np.int32)


def fill(rng, edge, random):
    """Edge rows first, then random rows, N in all."""
    return np.ascontiguousarray(np.concatenate([edge, random(N)])[:N])


def product(edge, k):
    """Rows of the edge values' cross product, arranged for argument k."""
    a, b = np.repeat(edge, edge.size), np.tile(edge, edge.size)
    return (a, b) if k == 0 else (b, a) if k == 1 else (np.flip(a), b)


def ints(rng, ring, k):  # 16.16 values of every scale; argument k pairs with the others
    full = lambda n: rng.integers(INT32_MIN, INT32_MAX, n, endpoint=True, dtype=np.int32) >> \
        rng.integers(0, 32, n)
    return fill(rng, product(EDGE_INT32, k)[0], full)


def vecs(rng, ring, k):
    full = lambda n: ints(rng, ring, 2)[rng.integers(0, N, (n, 2))]
    return fill(rng, np.stack(product(EDGE_INT32, k), axis=1), full)


def mats(rng, ring, k):
    return ints(rng, ring, 2)[rng.integers(0, N, (N, 2, 2))]


def plane(rng, ring, k):  # spans of 20, 1000 and the whole range
    spans = np.repeat([20, 1000, INT32_MAX], N // 3 + 1)[:N, None]
    return (rng.uniform(-1, 1, (N, 2)) * spans).astype(np.int32)


def near_ring(rng, ring, k):
    base = ring if ring.size else SQUARE
    return fill(rng, np.zeros((0, 2), np.int32), lambda n: points_around(rng, base, n)[:n])


def along(rng, ring, k):  # a span's ends (k 1, 2) or its line (k 3), near the ring
    base = ring if ring.size else SQUARE
    lo, hi = max(int(base.min()) - 3, INT32_MIN), min(int(base.max()) + 3, INT32_MAX)
    vertex_rows = base[:, 1] if k == 3 else np.zeros(0, np.int32)
    return fill(rng, vertex_rows, lambda n: rng.integers(lo, hi, n).astype(np.int32))


def lonlat(rng, ring, k):
    real = lambda n: np.stack([rng.uniform(-180, 180, n), rng.uniform(-90, 90, n)], axis=1)
    return fill(rng, np.stack(product(EDGE_FLOAT, k), axis=1), real)


def units(rng, ring, k):
    real = lambda n: np.stack([rng.integers(-18000000, 18000000, n),
                               rng.integers(-9000000, 9000000, n)], axis=1).astype(np.int32)
    return fill(rng, np.stack(product(EDGE_UNITS, k), axis=1), real)


def centres(rng, ring, k):  # huge deltas near and beyond the poles are cast in C++
    u = units(rng, ring, k)
    return np.ascontiguousarray(u[np.abs(u[:, 1].astype(np.int64)) <= 9000000][:N // 2])


def halves(values):
    return lambda rng, ring, k: rng.choice(np.array(values), N)


def tie(rng, args):
    """Later arguments of the first one's kind share its rows now and then (shared
    end points, degenerate segments) or lie within a few units of them."""
    for k in range(1, len(args)):
        a, b = args[0], args[k]
        if a.shape != b.shape or a.dtype != b.dtype:
            continue
        rows = slice(len(a) - 100 * k, len(a) - 100 * k + 50)
        b[rows] = a[rows]
        rows = slice(len(a) - 100 * k + 50, len(a) - 100 * k + 100)
        step = rng.normal(0, 1e-6, a[rows].shape) if a.dtype.kind == "f" else \
            rng.integers(-4, 5, a[rows].shape)
        b[rows] = np.clip(a[rows] + step, INT32_MIN, INT32_MAX) if a.dtype.kind != "f" else \
            a[rows] + step


def flat(value):
    """A scalar answer, or a tuple of them, as a tuple of comparable numbers."""
    items = value if isinstance(value, tuple) else (value,)
    return tuple(struct.unpack("<q", struct.pack("<d", v))[0] if isinstance(v, float) else int(v)
                 for v in items)


def rows_of(out):
    """A vectorised answer, one tuple per element (floats as their bit patterns)."""
    parts = []
    for part in out if isinstance(out, tuple) else (out,):
        part = np.asarray(part)
        part = part.reshape(len(part), -1)
        parts.append(part.view(np.int64) if part.dtype.kind == "f" else part.astype(np.int64))
    return [tuple(v) for v in np.concatenate(parts, axis=1).tolist()]


def polygon(rule, bounded=False):
    return lambda ring, p: getattr(kelvor.Polygon(ring, rule),
                                   "contains_bounded" if bounded else "contains")(p)


def prepared_ref(rule, bounded):
    return lambda o: lambda ring, x, y: o.prepared_contain(ring, x, y, rule)[bounded]


def zones(ring, p):
    return kelvor.ZoneIndex([ring, ring // 2], [5, 2]).locate(p)


def zones_ref(o):
    built = {}

    def locate(ring, x, y):
        key = ring.tobytes()
        if key not in built:
            built[key] = o.ZoneIndex([ring, ring // 2], [5, 2], "compatible")
        return built[key].locate(x, y)
    return locate


I, V = ints, vecs
# name, vectorised function (None: kelvor.<name>), argument generators, scalar reference
# (None: oracle.<name>, else a function of the oracle module), whether the first argument
# is a ring.
CASES = [(n, None, [I], None, False) for n in
         ["round_fix", "ceil_fix", "floor_fix", "sqrt32", "sqrt_fixed", "sin", "cos", "tan"]]
CASES += [(n, None, [I, I], None, False) for n in ["mulfix", "divfix", "atan2", "angle_diff"]]
CASES += [(n, None, [I, I, I], None, False) for n in ["muldiv", "muldiv_no_round"]]
CASES += [
    ("vector_rotate", None, [V, I], None, False),
    ("vector_length", None, [V], None, False),
    ("vector_polarize", None, [V], None, False),
    ("vector_unit", None, [I], None, False),
    ("vector_from_polar", None, [I, I], None, False),
    ("vector_transform", None, [V, mats], None, False),
    ("segment_segment_intersect", None, [plane] * 4, None, False),
    ("rect_clip_segment", None, [plane] * 4, None, False),
    ("polygon_contain_point", None, [near_ring], None, True),
    ("Polygon.contains", polygon("compatible"), [near_ring],
     lambda o: o.polygon_contain_point, True),
    ("Polygon.contains_bounded", polygon("compatible", True), [near_ring],
     lambda o: o.kpgon_contain, True),
    ("Polygon.contains-exact", polygon("exact"), [near_ring], prepared_ref("exact", 0), True),
    ("Polygon.contains_bounded-exact", polygon("exact", True), [near_ring],
     prepared_ref("exact", 1), True),
    ("ZoneIndex.locate", zones, [near_ring], zones_ref, True),
]
CASES += [(n, None, [along] * 3, None, True) for n in
          ["polygon_horizon_intersect", "polygon_vertical_intersect", "polygon_contain_horizon",
           "polygon_contain_vertical", "polyline_horizon_intersect",
           "polyline_vertical_intersect", "polygon_clip_horizon", "polygon_clip_vertical"]]
for form, pts in (("", lonlat), ("_bin", units)):
    CASES += [
        ("segment_length" + form, None, [pts, pts], None, False),
        ("absolute_angle" + form, None, [pts], None, False),
        ("sharp_angle" + form, None, [pts] * 3, None, False),
        ("turn_angle" + form, None, [pts] * 3, None, False),
        ("project_base" + form, None, [pts] * 3, None, False),
        ("point_in_rect" + form, None, [pts] * 3, None, False),
    ]
CASES += [
    ("unit_length", None, [lonlat], None, False),
    ("unit_degree", None, [lonlat], None, False),
    ("bearing", None, [lonlat, lonlat],
     lambda o: lambda ax, ay, bx, by: o.absolute_angle(bx - ax, by - ay), False),
    ("rect_center_pt", None, [lonlat, halves([0.0, -5.0, 1.0, 1.11, 1e3, np.nan, np.inf])],
     None, False),
    ("rect_center_pt_bin", None, [centres, halves([0.0, -5.0, 1.0, 1.11, 1.12, 1e3, 25e3])],
     None, False),
]
PARAMS = [pytest.param(case, ring, id=case[0] + ("-" + ring if ring else "")) for case in CASES
          for ring in (RINGS if case[4] else [None])]


@pytest.mark.parametrize("case, ring_name", PARAMS)
def test_vectorised_matches_scalar(case, ring_name, oracle):
    name, fn, generators, ref, takes_ring = case
    rng = np.random.default_rng(sum(map(ord, name + str(ring_name))))
    ring = RINGS[ring_name] if ring_name else None
    args = [g(rng, ring, k + takes_ring) for k, g in enumerate(generators)]
    tie(rng, args)
    if len(args) > 1 and len(args[1]) != len(args[0]):  # a short argument: cut the others
        args = [a[:min(len(b) for b in args)] for a in args]
    fixed = [ring] if takes_ring else []
    got = rows_of((fn or getattr(kelvor, name))(*fixed, *args))
    ref = ref(oracle) if ref else getattr(oracle, name)
    for i, want in enumerate(ref(*fixed, *[v for a in args for v in np.ravel(a[i]).tolist()])
                             for i in range(len(args[0]))):
        assert got[i] == flat(want), (name, ring_name, [a[i].tolist() for a in args])


# Functions of a whole ring: the binding, and the same question put to the oracle.
RING_FUNCTIONS = {
    "ring_can_wrap": (kelvor.ring_can_wrap, lambda o, r: o.ring_can_wrap(r)),
    "densify_ring": (lambda r: kelvor.densify_ring(r).tolist(),
                     lambda o, r: [list(p) for p in o.densify_ring(r)]),
    "bounding_rect": (kelvor.bounding_rect, lambda o, r: o.bounding_rect(r)),
    "get_mcr": (lambda r: [kelvor.get_mcr(r, s) for s in (1, 3, 0, -2)],
                lambda o, r: [o.get_mcr(r, s) for s in (1, 3, 0, -2)]),
    "inscribed_rect": (lambda r: [kelvor.inscribed_rect(r, s, rule) for s in (1, 7)
                                  for rule in ("compatible", "exact")],
                       lambda o, r: [o.inscribed_rect(r, s, rule) for s in (1, 7)
                                     for rule in ("compatible", "exact")]),
    "line_length_bin": (lambda r: flat(kelvor.line_length_bin(r)),
                        lambda o, r: flat(o.line_length_bin(r))),
    "line_length": (lambda r: flat(kelvor.line_length(r / 7.0)),
                    lambda o, r: flat(o.line_length(r / 7.0))),
    "pts_in_rect_bin": (lambda r: [kelvor.pts_in_rect_bin(r, lo, hi) for lo, hi in BOXES],
                        lambda o, r: [o.pts_in_rect_bin(r, *lo, *hi) for lo, hi in BOXES]),
    "pts_in_rect": (lambda r: [kelvor.pts_in_rect(r * 1e-5, np.multiply(lo, 1e-5),
                                                  np.multiply(hi, 1e-5)) for lo, hi in BOXES],
                    lambda o, r: [o.pts_in_rect(r * 1e-5, *np.multiply(lo, 1e-5),
                                                *np.multiply(hi, 1e-5)) for lo, hi in BOXES]),
}
BOXES = [((0, 0), (11, 11)), ((0, 0), (10, 10)), ((-5, -5), (5, 5)),
         ((INT32_MIN, INT32_MIN), (INT32_MAX, INT32_MAX))]


# The rectangle searches scan every row of a ring: the extreme ring's are 2**32.
RING_CASES = [pytest.param(f, r, id=f"{f}-{r}") for f in RING_FUNCTIONS for r in RINGS
              if not (f in ("get_mcr", "inscribed_rect") and r == "extreme")]


@pytest.mark.parametrize("function, ring_name", RING_CASES)
def test_ring_functions_match_scalar(function, ring_name, oracle):
    ring = RINGS[ring_name]
    ours, theirs = RING_FUNCTIONS[function]
    if function == "bounding_rect" and len(ring) == 0:  # GetMBR would read a missing point
        with pytest.raises(ValueError, match="ring"):
            ours(ring)
        return
    assert ours(ring) == theirs(oracle, ring), (function, ring_name)


def test_broadcasting_shapes_and_scalars(oracle):
    a = np.arange(12, dtype=np.int32).reshape(3, 4) * DEG
    got = kelvor.mulfix(a, np.array([DEG, 2 * DEG, 3 * DEG, 4 * DEG], np.int32))
    assert got.shape == (3, 4)
    assert got[2, 3] == oracle.mulfix(11 * DEG, 4 * DEG)
    assert isinstance(kelvor.sin(90 * DEG), np.int32)
    assert kelvor.muldiv([[1], [2]], [10, 20, 30], 3).shape == (2, 3)
    with pytest.raises(ValueError, match="broadcast"):
        kelvor.mulfix(np.zeros(3, np.int32), np.zeros(4, np.int32))
    rot = kelvor.vector_rotate(np.array([[65536, 0]], np.int32), np.array([0, 90 * DEG], np.int32))
    assert rot.shape == (2, 2) and tuple(rot[0]) == (65536, 0)  # angle 0 leaves v unchanged
    assert kelvor.vector_unit(np.zeros((2, 3), np.int32)).shape == (2, 3, 2)
    length, angle = kelvor.vector_polarize(np.zeros((3, 2), np.int32))
    assert (length.tolist(), angle.tolist()) == ([0, 0, 0], [0, 0, 0])  # zero vector: zeros
    span = kelvor.polygon_horizon_intersect(SQUARE, 0, [5, 20], [[3], [11]])
    assert span.tolist() == [[True, True], [False, False]]
    hit, at = kelvor.segment_segment_intersect([0, 0], [10, 10], [[0, 10], [20, 20]],
                                               [[10, 0], [30, 20]])
    assert hit.tolist() == [True, False]
    assert at.tolist() == [[5, 5], [kelvor.NO_POINT, kelvor.NO_POINT]]


@pytest.mark.parametrize("form", ["", "_bin"])
def test_line_length_and_track_angles(form, oracle):
    rng = np.random.default_rng(3)
    n = 70000  # LineLength's count is 16-bit: the wrapper sums in the same order
    if form:
        track = np.cumsum(rng.integers(-50, 51, (n, 2)), axis=0).astype(np.int32) + 5000000
    else:
        track = np.cumsum(rng.normal(0, 1e-3, (n, 2)), axis=0) + (5.0, 50.0)
    line_length = getattr(kelvor, "line_length" + form)
    lengths = getattr(kelvor, "segment_length" + form)(track[:-1], track[1:])

    def in_order(k):  # the lengths of the first k - 1 segments, summed in order from 0.0
        total = 0.0
        for d in lengths[:k - 1].tolist():
            total += d
        return total
    # The engine's LineLength (at most 65,535 points) is that sum; beyond,
    # kelvor carries it on in the same order.
    assert flat(getattr(oracle, "line_length" + form)(track[:65535])) == flat(in_order(65535))
    assert flat(line_length(track)) == flat(in_order(n))
    assert line_length(track[:1]) == 0.0 and line_length(track[:0]) == 0.0
    t = track[:300]
    turns = rows_of(getattr(kelvor, "track_turn_angles" + form)(t))
    sharps = rows_of(getattr(kelvor, "track_sharp_angles" + form)(t))
    assert len(turns) == len(t) - 2
    for i in range(len(t) - 2):
        args = t[i:i + 3].ravel().tolist()
        assert turns[i] == flat(getattr(oracle, "turn_angle" + form)(*args)), i
        assert sharps[i] == flat(getattr(oracle, "sharp_angle" + form)(*args)), i
    assert getattr(kelvor, "track_turn_angles" + form)(t[:2]).shape == (0,)


def test_boxes_and_units():
    box = ([0.0, 0.0], [10.0, 10.0])
    assert kelvor.pts_in_rect([[1.0, 1.0], [9.0, 9.0]], *box)
    assert not kelvor.pts_in_rect([[1.0, 1.0], [10.0, 9.0]], *box)  # upper bound excluded
    assert kelvor.pts_in_rect(np.zeros((0, 2)), *box)
    assert kelvor.pts_in_rect([[np.nan, np.nan]], *box)  # NaN fails no comparison
    got = kelvor.to_units([[0.000005, -0.000005], [4.8952, 52.3702], [-0.0000049, 179.99999]])
    assert got.tolist() == [[1, -1], [489520, 5237020], [0, 17999999]]  # half away from zero
    for bad in ([[np.nan, 0.0]], [[30000.0, 0.0]]):
        with pytest.raises(ValueError):
            kelvor.to_units(bad)


@pytest.mark.parametrize("lat", [0.0, 1e-9, 33.3, -45.0, 60.0, 89.0, -89.9])
def test_unit_scales_are_reciprocal(lat):
    lonlat = np.array([[12.5, lat]])
    metres_lon, metres_lat = kelvor.unit_length(lonlat)
    degrees_lon, degrees_lat = kelvor.unit_degree(lonlat)
    # A degree of latitude is the same length everywhere; one of longitude
    # shrinks with cos(latitude). Each scale is the other's reciprocal.
    assert metres_lat[0] == kelvor.METRES_PER_DEGREE
    assert metres_lon[0] == pytest.approx(kelvor.METRES_PER_DEGREE * np.cos(np.radians(lat)),
                                          rel=1e-12)
    assert degrees_lat[0] * metres_lat[0] == pytest.approx(1.0, rel=1e-15)
    assert degrees_lon[0] * metres_lon[0] == pytest.approx(1.0, rel=1e-15)
