"""Fixed-point functions: each vectorised call against one engine call per
element, and against small integer models where the contract is arithmetic."""

import math

import numpy as np
import pytest

import kelvor
from kelvor._kelvor import scalar
from conftest import DEG, EDGE_INT32, INT32_MAX, INT32_MIN, int32_values


def wrap32(v):
    return (v + 2**31) % 2**32 - 2**31


def trunc_div(a, b):
    q = abs(a) // abs(b)
    return q if (a >= 0) == (b >= 0) else -q


def model_muldiv(a, b, c):
    if c == 0:
        if a == 0 or b == 0:
            return 1
        return 0x7FFFFFFF if (a > 0) == (b > 0) else -0x7FFFFFFF
    return wrap32(trunc_div(a * b + (c >> 1), c))


def model_mulfix(a, b):
    p = a * b
    m = (abs(p) + 0x8000) >> 16
    return wrap32(m if p >= 0 else -m)


def model_sqrt32(n):
    return math.isqrt(n & 0xFFFFFFFF)


def model_sqrt_fixed(x):
    return math.isqrt(x * 65536) if x > 0 else 0


def model_angle_diff(a1, a2):
    return wrap32(a2 - a1) % (360 * DEG)


UNARY = ["round_fix", "ceil_fix", "floor_fix", "sqrt32", "sqrt_fixed", "sin", "cos", "tan"]
BINARY = ["mulfix", "divfix", "atan2", "angle_diff"]
TERNARY = ["muldiv", "muldiv_no_round"]


@pytest.mark.parametrize("name", UNARY)
def test_unary_matches_engine_per_element(name, rng):
    a = int32_values(rng, 3000)
    got = getattr(kelvor, name)(a)
    ref = getattr(scalar, name)
    assert got.dtype == np.int32
    for i, v in enumerate(a.tolist()):
        assert got[i] == ref(v), f"{name}({v})"


@pytest.mark.parametrize("name", BINARY)
def test_binary_matches_engine_per_element(name, rng):
    a = np.concatenate([np.repeat(EDGE_INT32, EDGE_INT32.size), int32_values(rng, 3000)])
    b = np.concatenate([np.tile(EDGE_INT32, EDGE_INT32.size), rng.permutation(int32_values(rng, 3000))])
    got = getattr(kelvor, name)(a, b)
    ref = getattr(scalar, name)
    for i, (x, y) in enumerate(zip(a.tolist(), b.tolist())):
        assert got[i] == ref(x, y), f"{name}({x}, {y})"


@pytest.mark.parametrize("name", TERNARY)
def test_ternary_matches_engine_per_element(name, rng):
    n = 4000
    a = rng.choice(int32_values(rng, n), n)
    b = rng.choice(int32_values(rng, n), n)
    c = np.concatenate([np.zeros(50, np.int32), np.full(50, INT32_MIN, np.int32),
                        rng.choice(int32_values(rng, n), n - 100)])
    got = getattr(kelvor, name)(a, b, c)
    ref = getattr(scalar, name)
    for i, (x, y, z) in enumerate(zip(a.tolist(), b.tolist(), c.tolist())):
        assert got[i] == ref(x, y, z), f"{name}({x}, {y}, {z})"


@pytest.mark.parametrize("name, model, arity", [
    ("muldiv", model_muldiv, 3),
    ("mulfix", model_mulfix, 2),
    ("sqrt32", model_sqrt32, 1),
    ("sqrt_fixed", model_sqrt_fixed, 1),
    ("angle_diff", model_angle_diff, 2),
])
def test_against_integer_model(name, model, arity, rng):
    args = [rng.choice(int32_values(rng, 2000), 2000) for _ in range(arity)]
    got = getattr(kelvor, name)(*args)
    for i in range(got.size):
        xs = [int(a[i]) for a in args]
        assert got[i] == model(*xs), f"{name}{tuple(xs)}"


@pytest.mark.parametrize("name, args, want", [
    ("mulfix", (300 * DEG, 300 * DEG), 1603272704),          # wraps
    ("muldiv", (7, 1, 2), 4), ("muldiv", (-7, 1, 2), -3), ("muldiv", (-5, 1, 4), 0),
    ("muldiv", (0, 5, 0), 1), ("muldiv", (-3, 5, 0), -0x7FFFFFFF),
    ("muldiv_no_round", (0, -1, 0), -0x7FFFFFFF),
    ("divfix", (0, 0), 0x7FFFFFFF), ("divfix", (-1, 0), -0x7FFFFFFF),
    ("sqrt32", (-1,), 65535),
    ("sin", (90 * DEG,), 65536), ("sin", (30 * DEG,), 32766), ("sin", (-1,), -6),
    ("tan", (90 * DEG,), 0x7FFFFFFF), ("tan", (270 * DEG,), -0x7FFFFFFF),
    ("angle_diff", (10 * DEG, 350 * DEG), 340 * DEG),
    ("atan2", (0, 0), 0),
])
def test_documented_values(name, args, want):
    assert getattr(kelvor, name)(*args) == want


def test_broadcasting_shapes_and_scalars():
    a = np.arange(12, dtype=np.int32).reshape(3, 4) * DEG
    got = kelvor.mulfix(a, np.array([DEG, 2 * DEG, 3 * DEG, 4 * DEG], np.int32))
    assert got.shape == (3, 4)
    assert got[2, 3] == scalar.mulfix(11 * DEG, 4 * DEG)
    assert isinstance(kelvor.sin(90 * DEG), np.int32)
    assert kelvor.muldiv([[1], [2]], [10, 20, 30], 3).shape == (2, 3)
    with pytest.raises(ValueError, match="broadcast"):
        kelvor.mulfix(np.zeros(3, np.int32), np.zeros(4, np.int32))


def vectors(rng, n):
    comps = int32_values(rng, 2 * n)
    return rng.permutation(comps)[: 2 * n].reshape(n, 2)


def test_vector_rotate_and_transform_match_engine(rng):
    v = vectors(rng, 1500)
    v[:40] = 0  # zero vectors are left unchanged
    ang = rng.choice(int32_values(rng, 1500), 1500)
    got = kelvor.vector_rotate(v, ang)
    for i in range(len(v)):
        assert tuple(got[i]) == scalar.vector_rotate(int(v[i, 0]), int(v[i, 1]), int(ang[i])), i
    m = rng.choice(int32_values(rng, 6000), (1500, 2, 2))
    got = kelvor.vector_transform(v, m)
    for i in range(len(v)):
        args = [int(t) for t in (v[i, 0], v[i, 1], m[i, 0, 0], m[i, 0, 1], m[i, 1, 0], m[i, 1, 1])]
        assert tuple(got[i]) == scalar.vector_transform(*args), i


def test_vector_length_polarize_unit_from_polar_match_engine(rng):
    v = vectors(rng, 1500)
    v[:5] = 0
    v[5] = (INT32_MIN, INT32_MIN)
    length = kelvor.vector_length(v)
    plen, pang = kelvor.vector_polarize(v)
    for i in range(len(v)):
        x, y = int(v[i, 0]), int(v[i, 1])
        assert length[i] == scalar.vector_length(x, y), (x, y)
        assert (plen[i], pang[i]) == scalar.vector_polarize(x, y), (x, y)
    ang = int32_values(rng, 1500)
    unit = kelvor.vector_unit(ang)
    lens = rng.choice(int32_values(rng, 1500), ang.size)
    polar = kelvor.vector_from_polar(lens, ang)
    for i, (a, n) in enumerate(zip(ang.tolist(), lens.tolist())):
        assert tuple(unit[i]) == scalar.vector_unit(a), a
        assert tuple(polar[i]) == scalar.vector_from_polar(n, a), (n, a)


def test_polarize_of_zero_vector_is_zero_length_zero_angle():
    length, angle = kelvor.vector_polarize(np.zeros((3, 2), np.int32))
    assert length.tolist() == [0, 0, 0]
    assert angle.tolist() == [0, 0, 0]


def test_vector_broadcasting():
    v = np.array([[65536, 0]], np.int32)
    rot = kelvor.vector_rotate(v, np.array([0, 90 * DEG, 180 * DEG], np.int32))
    assert rot.shape == (3, 2)
    assert tuple(rot[0]) == (65536, 0)  # angle 0 leaves v unchanged
    ident = np.array([[65536, 0], [0, 65536]], np.int32)
    out = kelvor.vector_transform(np.arange(8, dtype=np.int32).reshape(4, 2), ident)
    assert out.tolist() == np.arange(8).reshape(4, 2).tolist()
    assert kelvor.vector_unit(np.zeros((2, 3), np.int32)).shape == (2, 3, 2)
