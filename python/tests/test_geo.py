"""Geographic functions over arrays against one engine call per element,
compared bit for bit (NaN and signed zeros included)."""

import struct

import numpy as np
import pytest

import kelvor
from kelvor._kelvor import scalar
from conftest import EDGE_FLOAT, INT32_MAX, INT32_MIN, bits


def fbits(x):
    return struct.unpack("<Q", struct.pack("<d", x))[0]


def lonlat(rng, n):
    """Edge values in every slot, then realistic and wild random coordinates."""
    e = EDGE_FLOAT
    edge = np.stack([np.repeat(e, e.size), np.tile(e, e.size)], axis=1)
    real = np.stack([rng.uniform(-180, 180, n), rng.uniform(-90, 90, n)], axis=1)
    near = real + rng.normal(0, 1e-5, (n, 2))  # sub-metre steps round to 0 m
    return np.ascontiguousarray(np.concatenate([edge, real, near]))


def units(rng, n):
    edge_vals = np.array([0, 1, -1, 2, 3, -3, 100000, 18000000, -18000000, 9000000, 21474836,
                          21474837, INT32_MAX, INT32_MIN], np.int32)
    edge = np.stack([np.repeat(edge_vals, edge_vals.size), np.tile(edge_vals, edge_vals.size)], 1)
    real = np.stack([rng.integers(-18000000, 18000000, n), rng.integers(-9000000, 9000000, n)],
                    axis=1).astype(np.int32)
    return np.ascontiguousarray(np.concatenate([edge, real, real + rng.integers(-4, 5, (n, 2))
                                                .astype(np.int32)]))


def shuffled(rng, a):
    return np.ascontiguousarray(a[rng.permutation(len(a))])


@pytest.mark.parametrize("form", ["", "_bin"])
def test_segment_length_matches_engine(form, rng):
    a = lonlat(rng, 1000) if not form else units(rng, 1000)
    b = shuffled(rng, a)
    got = getattr(kelvor, "segment_length" + form)(a, b)
    ref = getattr(scalar, "segment_length" + form)
    for i in range(len(a)):
        want = ref(a[i, 0].item(), a[i, 1].item(), b[i, 0].item(), b[i, 1].item())
        assert bits(got[i:i + 1])[0] == fbits(want), (a[i], b[i])


@pytest.mark.parametrize("form", ["", "_bin"])
def test_line_length_is_linelength_and_the_ordered_sum(form, rng):
    track = (lonlat(rng, 3000) if not form else units(rng, 3000))[-4000:]
    fn = getattr(kelvor, "line_length" + form)
    seg = getattr(kelvor, "segment_length" + form)
    assert fbits(fn(track)) == fbits(getattr(scalar, "line_length" + form)(track))
    total = 0.0
    for d in seg(track[:-1].copy(), track[1:].copy()).tolist():
        total += d
    assert fbits(fn(track)) == fbits(total)
    assert fn(track[:1]) == 0.0 and fn(track[:0]) == 0.0


@pytest.mark.parametrize("form", ["", "_bin"])
def test_line_length_beyond_the_16_bit_count(form, rng):
    n = 70000  # LineLength's count is 16-bit: summed here in the same order
    if form:
        track = np.cumsum(rng.integers(-50, 51, (n, 2)), axis=0).astype(np.int32) + 5000000
    else:
        track = np.cumsum(rng.normal(0, 1e-3, (n, 2)), axis=0) + (5.0, 50.0)
    got = getattr(kelvor, "line_length" + form)(track)
    total = 0.0
    for d in getattr(kelvor, "segment_length" + form)(track[:-1].copy(), track[1:].copy()).tolist():
        total += d
    assert fbits(got) == fbits(total)


@pytest.mark.parametrize("form", ["", "_bin"])
def test_bearings_and_turns_match_engine(form, rng):
    a = lonlat(rng, 600) if not form else units(rng, 600)
    b, c = shuffled(rng, a), shuffled(rng, a)
    absolute = getattr(kelvor, "absolute_angle" + form)(a)
    turn = getattr(kelvor, "turn_angle" + form)(a, b, c)
    sharp = getattr(kelvor, "sharp_angle" + form)(a, b, c)
    for i in range(len(a)):
        args = [v.item() for p in (a, b, c) for v in p[i]]
        assert bits(absolute[i:i + 1])[0] == fbits(
            getattr(scalar, "absolute_angle" + form)(*args[:2])), args[:2]
        assert bits(turn[i:i + 1])[0] == fbits(getattr(scalar, "turn_angle" + form)(*args)), args
        assert bits(sharp[i:i + 1])[0] == fbits(getattr(scalar, "sharp_angle" + form)(*args)), args


@pytest.mark.parametrize("form", ["", "_bin"])
def test_track_angles_are_the_angles_of_consecutive_triples(form, rng):
    track = (lonlat(rng, 300) if not form else units(rng, 300))[-300:]
    turns = getattr(kelvor, "track_turn_angles" + form)(track)
    sharps = getattr(kelvor, "track_sharp_angles" + form)(track)
    assert turns.shape == (len(track) - 2,)
    for i in range(len(track) - 2):
        args = [v.item() for p in (track[i], track[i + 1], track[i + 2]) for v in p]
        assert bits(turns[i:i + 1])[0] == fbits(getattr(scalar, "turn_angle" + form)(*args))
        assert bits(sharps[i:i + 1])[0] == fbits(getattr(scalar, "sharp_angle" + form)(*args))
    assert getattr(kelvor, "track_turn_angles" + form)(track[:2]).shape == (0,)


def test_bearing_is_absolute_angle_of_the_difference():
    got = kelvor.bearing([0.0, 0.0], [[1.0, 0.0], [0.0, 1.0], [-1.0, 0.0], [0.0, 0.0]])
    assert got.tolist() == [0.0, 90.0, 180.0, 0.0]


@pytest.mark.parametrize("form", ["", "_bin"])
def test_project_base_matches_engine(form, rng):
    p = lonlat(rng, 600) if not form else units(rng, 600)
    a = shuffled(rng, p)
    b = shuffled(rng, p)
    b[:100] = a[:100]  # degenerate segments: code 0, foot unwritten by the engine
    b[100:200] = a[100:200] + (1 if form else 1e-6)
    code, foot = getattr(kelvor, "project_base" + form)(p, a, b)
    for i in range(len(p)):
        args = [v.item() for q in (p, a, b) for v in q[i]]
        want = getattr(scalar, "project_base" + form)(*args)
        got = (int(code[i]), foot[i, 0].item(), foot[i, 1].item())
        if form:
            assert got == want, args
        else:
            assert got[0] == want[0] and [fbits(v) for v in got[1:]] == \
                [fbits(v) for v in want[1:]], args
    zero = code == 0
    assert np.array_equal(bits(foot[zero]) if not form else foot[zero],
                          bits(a[zero]) if not form else a[zero])


def test_unit_scales_and_boxes_match_engine(rng):
    pts = lonlat(rng, 500)
    lon_m, lat_m = kelvor.unit_length(pts)
    lon_d, lat_d = kelvor.unit_degree(pts)
    half = rng.choice(np.array([0.0, -5.0, 1.0, 1.11, 1000.0, np.nan, np.inf]), len(pts))
    lower, upper = kelvor.rect_center_pt(pts, half)
    for i in range(len(pts)):
        lon, lat = pts[i].tolist()
        assert [fbits(v) for v in (lon_m[i], lat_m[i])] == [fbits(v) for v in scalar.unit_length(lon, lat)]
        assert [fbits(v) for v in (lon_d[i], lat_d[i])] == [fbits(v) for v in scalar.unit_degree(lon, lat)]
        got = [fbits(v) for v in (*lower[i].tolist(), *upper[i].tolist())]
        assert got == [fbits(v) for v in scalar.rect_center_pt(lon, lat, half[i].item())], (lon, lat)
    assert kelvor.unit_degree([[0.0, 0.0]])[1][0] == 8.983152841195502e-06


def test_rect_center_pt_bin_matches_engine(rng):
    c = units(rng, 500)
    c = c[np.abs(c[:, 1].astype(np.int64)) <= 9000000]  # huge deltas near the poles are cast
    half = rng.choice(np.array([0.0, -5.0, 1.0, 1.11, 1.12, 1000.0, 25000.0]), len(c))
    lower, upper = kelvor.rect_center_pt_bin(c, half)
    for i in range(len(c)):
        want = scalar.rect_center_pt_bin(int(c[i, 0]), int(c[i, 1]), half[i].item())
        assert (*lower[i].tolist(), *upper[i].tolist()) == want, (c[i], half[i])


@pytest.mark.parametrize("form", ["", "_bin"])
def test_points_in_rect_match_engine(form, rng):
    pts = lonlat(rng, 500) if not form else units(rng, 500)
    lower = shuffled(rng, pts)
    upper = lower + (rng.uniform(-1, 50, pts.shape) if not form else
                     rng.integers(-1, 5000000, pts.shape)).astype(pts.dtype)
    upper[:50] = lower[:50]
    pts[50:100] = lower[50:100]  # on the lower bound: inside
    got = getattr(kelvor, "points_in_rect" + form)(pts, lower, upper)
    for i in range(len(pts)):
        args = [v.item() for q in (pts, lower, upper) for v in q[i]]
        assert got[i] == getattr(scalar, "point_in_rect" + form)(*args), args


def test_pts_in_rect_is_all_points():
    box = ([0.0, 0.0], [10.0, 10.0])
    assert kelvor.pts_in_rect([[1.0, 1.0], [9.0, 9.0]], *box)
    assert not kelvor.pts_in_rect([[1.0, 1.0], [10.0, 9.0]], *box)  # upper bound excluded
    assert kelvor.pts_in_rect(np.zeros((0, 2)), *box)
    assert kelvor.pts_in_rect([[np.nan, np.nan]], *box)  # NaN fails no comparison
    assert kelvor.pts_in_rect_bin([[0, 0]], [0, 0], [1, 1])
    assert not kelvor.pts_in_rect_bin([[1, 0]], [0, 0], [1, 1])


def test_to_units_rounds_half_away_from_zero():
    got = kelvor.to_units([[0.000005, -0.000005], [4.8952, 52.3702], [-0.0000049, 179.99999]])
    assert got.tolist() == [[1, -1], [489520, 5237020], [0, 17999999]]
    with pytest.raises(ValueError):
        kelvor.to_units([[np.nan, 0.0]])
    with pytest.raises(ValueError):
        kelvor.to_units([[30000.0, 0.0]])
