"""16.16 fixed-point arithmetic, trigonometry and vectors over int32 arrays.

Every function returns exactly what the engine's ``KMF_`` function returns
for each element. Arguments broadcast together by numpy's rules (vectors
``(..., 2)`` and matrices ``(..., 2, 2)`` broadcast over their leading
dimensions); a result of no dimension is a numpy scalar. Values are int32
read as value / 65536; angles are 16.16 degrees (65536 == 1 degree),
counterclockwise from +x. Results wrap to 32 bits where the engine wraps.
"""

from __future__ import annotations

from typing import Tuple

import numpy as np
from numpy.typing import ArrayLike, NDArray

from . import _kelvor

ONE = 65536
DEGREE = 65536

I32 = NDArray[np.int32]


def round_fix(a: ArrayLike) -> I32:
    """``KMF_RoundFix``: nearest whole 16.16 value, halves away from zero."""
    return _kelvor.round_fix(a)


def ceil_fix(a: ArrayLike) -> I32:
    """``KMF_CeilFix``: smallest whole 16.16 value >= a (wraps near INT32_MAX)."""
    return _kelvor.ceil_fix(a)


def floor_fix(a: ArrayLike) -> I32:
    """``KMF_FloorFix``: largest whole 16.16 value <= a."""
    return _kelvor.floor_fix(a)


def muldiv(a: ArrayLike, b: ArrayLike, c: ArrayLike) -> I32:
    """``KMF_MulDiv``: a * b / c, 64-bit product, rounded, low 32 bits.

    c == 0 gives 1 when a or b is 0, else +-0x7FFFFFFF by the product's sign.
    """
    return _kelvor.muldiv(a, b, c)


def muldiv_no_round(a: ArrayLike, b: ArrayLike, c: ArrayLike) -> I32:
    """``KMF_MulDiv_No_Round``: a * b / c on magnitudes, truncated, sign last."""
    return _kelvor.muldiv_no_round(a, b, c)


def mulfix(a: ArrayLike, b: ArrayLike) -> I32:
    """``KMF_MulFix``: 16.16 product rounded half away from zero; wraps."""
    return _kelvor.mulfix(a, b)


def divfix(a: ArrayLike, b: ArrayLike) -> I32:
    """``KMF_DivFix``: 16.16 quotient; b == 0 gives +-0x7FFFFFFF by a's sign."""
    return _kelvor.divfix(a, b)


def sqrt32(a: ArrayLike) -> I32:
    """``KMF_Sqrt32``: floor(sqrt(n)) with n read as unsigned 32-bit."""
    return _kelvor.sqrt32(a)


def sqrt_fixed(a: ArrayLike) -> I32:
    """``KMF_SqrtFixed``: 16.16 square root, truncated; 0 for a <= 0."""
    return _kelvor.sqrt_fixed(a)


def sin(angle: ArrayLike) -> I32:
    """``KMF_Sin`` of a 16.16-degree angle, 16.16 result (table, no interpolation)."""
    return _kelvor.sin(angle)


def cos(angle: ArrayLike) -> I32:
    """``KMF_Cos`` of a 16.16-degree angle."""
    return _kelvor.cos(angle)


def tan(angle: ArrayLike) -> I32:
    """``KMF_Tan``; exactly 90 / 270 degrees give +0x7FFFFFFF / -0x7FFFFFFF."""
    return _kelvor.tan(angle)


def atan2(x: ArrayLike, y: ArrayLike) -> I32:
    """``KMF_Atan2(x, y)`` - note x first - direction in [0, 360) degrees, 16.16."""
    return _kelvor.atan2(x, y)


def angle_diff(angle1: ArrayLike, angle2: ArrayLike) -> I32:
    """``KMF_Angle_Diff``: counterclockwise turn from angle1 to angle2, [0, 360)."""
    return _kelvor.angle_diff(angle1, angle2)


def vector_rotate(v: ArrayLike, angle: ArrayLike) -> I32:
    """``KMF_Vector_Rotate``: vectors (..., 2) turned counterclockwise by angle (...)."""
    return _kelvor.vector_rotate(v, angle)


def vector_length(v: ArrayLike) -> I32:
    """``KMF_Vector_Length`` of vectors (..., 2): rounded length, wraps beyond 2**31."""
    return _kelvor.vector_length(v)


def vector_polarize(v: ArrayLike) -> Tuple[I32, I32]:
    """``KMF_Vector_Polarize`` of vectors (..., 2) -> (length, angle).

    Length is truncated; the angle is in [-180, +180] degrees (16.16). The
    engine writes neither output for the zero vector; both are 0 here.
    """
    return _kelvor.vector_polarize(v)


def vector_from_polar(length: ArrayLike, angle: ArrayLike) -> I32:
    """``KMF_Vector_From_Polar``: vectors (..., 2) of the given length and angle."""
    return _kelvor.vector_from_polar(length, angle)


def vector_unit(angle: ArrayLike) -> I32:
    """``KMF_Vector_Unit``: 16.16 unit vectors (..., 2) of the angles."""
    return _kelvor.vector_unit(angle)


def vector_transform(v: ArrayLike, m: ArrayLike) -> I32:
    """``KMF_Vector_Transform``: v (..., 2) times 16.16 matrices m (..., 2, 2).

    ``m[..., 0, :]`` is (m11, m12) and ``m[..., 1, :]`` is (m21, m22): new
    x = m11*x + m12*y, new y = m21*x + m22*y, each product by KMF_MulFix.
    """
    return _kelvor.vector_transform(v, m)
