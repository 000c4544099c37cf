"""16.16 fixed-point arithmetic, trigonometry and vectors over int32 arrays.

Every function returns exactly what the engine's ``KMF_`` function returns
for each element. Scalar arguments broadcast with numpy rules; the result has
the broadcast shape (a 0-d input gives a numpy scalar). Values are int32 read
as value / 65536; angles are 16.16 degrees (65536 == 1 degree), counter-
clockwise from +x. Results wrap to 32 bits where the engine wraps.
"""

from __future__ import annotations

from typing import Any, Tuple

import numpy as np

from . import _kelvor
from ._convert import broadcast_flat, int32_array, vector_rows

ONE = 65536
DEGREE = 65536


def _shaped(out: np.ndarray, shape: Tuple[int, ...]) -> Any:
    out = out.reshape(shape)
    return out[()] if shape == () else out


def _unary(fn, a: Any) -> Any:
    arr = int32_array(a, "a")
    return _shaped(fn(np.ascontiguousarray(arr).reshape(-1)), arr.shape)


def _nary(fn, names: Tuple[str, ...], *args: Any) -> Any:
    arrays = tuple(int32_array(x, n) for x, n in zip(args, names))
    shape, flat = broadcast_flat(arrays, names)
    return _shaped(fn(*flat), shape)


def round_fix(a: Any) -> Any:
    """``KMF_RoundFix``: nearest whole 16.16 value, halves away from zero."""
    return _unary(_kelvor.round_fix, a)


def ceil_fix(a: Any) -> Any:
    """``KMF_CeilFix``: smallest whole 16.16 value >= a (wraps near INT32_MAX)."""
    return _unary(_kelvor.ceil_fix, a)


def floor_fix(a: Any) -> Any:
    """``KMF_FloorFix``: largest whole 16.16 value <= a."""
    return _unary(_kelvor.floor_fix, a)


def muldiv(a: Any, b: Any, c: Any) -> Any:
    """``KMF_MulDiv``: a * b / c, 64-bit product, rounded, low 32 bits.

    c == 0 gives 1 when a or b is 0, else +-0x7FFFFFFF by the product's sign.
    """
    return _nary(_kelvor.muldiv, ("a", "b", "c"), a, b, c)


def muldiv_no_round(a: Any, b: Any, c: Any) -> Any:
    """``KMF_MulDiv_No_Round``: a * b / c on magnitudes, truncated, sign last."""
    return _nary(_kelvor.muldiv_no_round, ("a", "b", "c"), a, b, c)


def mulfix(a: Any, b: Any) -> Any:
    """``KMF_MulFix``: 16.16 product rounded half away from zero; wraps."""
    return _nary(_kelvor.mulfix, ("a", "b"), a, b)


def divfix(a: Any, b: Any) -> Any:
    """``KMF_DivFix``: 16.16 quotient; b == 0 gives +-0x7FFFFFFF by a's sign."""
    return _nary(_kelvor.divfix, ("a", "b"), a, b)


def sqrt32(a: Any) -> Any:
    """``KMF_Sqrt32``: floor(sqrt(n)) with n read as unsigned 32-bit."""
    return _unary(_kelvor.sqrt32, a)


def sqrt_fixed(a: Any) -> Any:
    """``KMF_SqrtFixed``: 16.16 square root, truncated; 0 for a <= 0."""
    return _unary(_kelvor.sqrt_fixed, a)


def sin(angle: Any) -> Any:
    """``KMF_Sin`` of a 16.16-degree angle, 16.16 result (table, no interpolation)."""
    return _unary(_kelvor.sin, angle)


def cos(angle: Any) -> Any:
    """``KMF_Cos`` of a 16.16-degree angle."""
    return _unary(_kelvor.cos, angle)


def tan(angle: Any) -> Any:
    """``KMF_Tan``; exactly 90 / 270 degrees give +0x7FFFFFFF / -0x7FFFFFFF."""
    return _unary(_kelvor.tan, angle)


def atan2(x: Any, y: Any) -> Any:
    """``KMF_Atan2(x, y)`` - note x first - direction in [0, 360) degrees, 16.16."""
    return _nary(_kelvor.atan2, ("x", "y"), x, y)


def angle_diff(angle1: Any, angle2: Any) -> Any:
    """``KMF_Angle_Diff``: counterclockwise turn from angle1 to angle2, [0, 360)."""
    return _nary(_kelvor.angle_diff, ("angle1", "angle2"), angle1, angle2)


def _vectors_and(v: Any, other: Any, other_name: str):
    va = vector_rows(int32_array(v, "v"), "v")
    oa = int32_array(other, other_name)
    try:
        batch = np.broadcast_shapes(va.shape[:-1], oa.shape)
    except ValueError:
        raise ValueError(
            f"v {tuple(va.shape)} and {other_name} {tuple(oa.shape)} do not broadcast "
            "(v is (..., 2), the other has v's leading shape)") from None
    vflat = np.ascontiguousarray(np.broadcast_to(va, batch + (2,))).reshape(-1, 2)
    oflat = np.ascontiguousarray(np.broadcast_to(oa, batch)).reshape(-1)
    return batch, vflat, oflat


def vector_rotate(v: Any, angle: Any) -> np.ndarray:
    """``KMF_Vector_Rotate``: turn vectors (..., 2) counterclockwise by angle (...)."""
    batch, vflat, aflat = _vectors_and(v, angle, "angle")
    return _kelvor.vector_rotate(vflat, aflat).reshape(batch + (2,))


def vector_length(v: Any) -> Any:
    """``KMF_Vector_Length`` of vectors (..., 2): rounded length, wraps beyond 2**31."""
    va = vector_rows(int32_array(v, "v"), "v")
    return _shaped(_kelvor.vector_length(np.ascontiguousarray(va).reshape(-1, 2)), va.shape[:-1])


def vector_polarize(v: Any) -> Tuple[Any, Any]:
    """``KMF_Vector_Polarize`` of vectors (..., 2) -> (length, angle).

    Length is truncated; the angle is in [-180, +180] degrees (16.16). The
    engine writes neither output for the zero vector; both are 0 here.
    """
    va = vector_rows(int32_array(v, "v"), "v")
    length, angle = _kelvor.vector_polarize(np.ascontiguousarray(va).reshape(-1, 2))
    return _shaped(length, va.shape[:-1]), _shaped(angle, va.shape[:-1])


def vector_from_polar(length: Any, angle: Any) -> np.ndarray:
    """``KMF_Vector_From_Polar``: vectors (..., 2) of the given length and angle."""
    shape, (lf, af) = broadcast_flat(
        (int32_array(length, "length"), int32_array(angle, "angle")), ("length", "angle"))
    return _kelvor.vector_from_polar(lf, af).reshape(shape + (2,))


def vector_unit(angle: Any) -> np.ndarray:
    """``KMF_Vector_Unit``: 16.16 unit vectors (..., 2) of the angles."""
    a = int32_array(angle, "angle")
    return _kelvor.vector_unit(np.ascontiguousarray(a).reshape(-1)).reshape(a.shape + (2,))


def vector_transform(v: Any, m: Any) -> np.ndarray:
    """``KMF_Vector_Transform``: v (..., 2) times 16.16 matrices m (..., 2, 2).

    ``m[..., 0, :]`` is (m11, m12) and ``m[..., 1, :]`` is (m21, m22): new
    x = m11*x + m12*y, new y = m21*x + m22*y, each product by KMF_MulFix.
    """
    va = vector_rows(int32_array(v, "v"), "v")
    ma = int32_array(m, "m")
    if ma.ndim < 2 or ma.shape[-2:] != (2, 2):
        raise ValueError(f"m: expected shape (..., 2, 2), got {tuple(ma.shape)}")
    try:
        batch = np.broadcast_shapes(va.shape[:-1], ma.shape[:-2])
    except ValueError:
        raise ValueError(
            f"v {tuple(va.shape)} and m {tuple(ma.shape)} do not broadcast") from None
    vflat = np.ascontiguousarray(np.broadcast_to(va, batch + (2,))).reshape(-1, 2)
    mflat = np.ascontiguousarray(np.broadcast_to(ma, batch + (2, 2))).reshape(-1, 4)
    return _kelvor.vector_transform(vflat, mflat).reshape(batch + (2,))
