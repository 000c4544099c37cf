"""Argument normalisation shared by every public function.

Rules (the same for every argument of every function):

* A ``numpy.ndarray`` is never copied implicitly except to change its dtype
  as described below. It must be C-contiguous; a strided view (``a[::2]``,
  ``a.T``, a column of a Fortran array) raises ``ValueError`` - pass
  ``numpy.ascontiguousarray(a)``.
* Anything else (lists, tuples, Python or numpy scalars) goes through
  ``numpy.asarray`` first; that makes a fresh contiguous array.
* Integer arguments (points, rings, 16.16 values, angles, 1/100000 degree
  units) are int32. Other integer dtypes (int8..int64, uint8..uint64) are
  converted when every value fits int32, else ``ValueError``; they are never
  wrapped. bool, floating, complex, object and string dtypes raise
  ``TypeError``.
* Floating arguments (degrees, metres) are float64. float16 and float32 are
  widened exactly; integer dtypes are accepted when every value is exactly a
  float64 (magnitude at most 2**53), else ``ValueError``. Other dtypes raise
  ``TypeError``.
* Shapes are checked before any work: wrong shapes and mismatched lengths
  raise ``ValueError``. Empty arrays give empty results.
"""

from __future__ import annotations

from typing import Any, Tuple

import numpy as np

INT32_MIN = -(2**31)
INT32_MAX = 2**31 - 1
_FLOAT_EXACT = 2**53


def as_array(x: Any, name: str) -> np.ndarray:
    if isinstance(x, np.ndarray):
        if not x.flags.c_contiguous:
            raise ValueError(
                f"{name}: array is not C-contiguous; pass numpy.ascontiguousarray({name})")
        return x
    if isinstance(x, (str, bytes)):
        raise TypeError(f"{name}: expected numbers, got {type(x).__name__}")
    try:
        return np.asarray(x)
    except (ValueError, TypeError, OverflowError) as e:
        raise ValueError(f"{name}: cannot make an array of it ({e})") from None


def _min_max(a: np.ndarray) -> Tuple[int, int]:
    return int(a.min()), int(a.max())


def int32_array(x: Any, name: str) -> np.ndarray:
    """Any-shape int32 array per the module rules."""
    a = as_array(x, name)
    if a.dtype.kind not in "iu":
        raise TypeError(f"{name}: expected an integer (int32) array, got dtype {a.dtype}")
    if a.dtype == np.dtype(np.int32):
        return a
    if a.size and (a.dtype.itemsize >= 4):
        lo, hi = _min_max(a)
        if lo < INT32_MIN or hi > INT32_MAX:
            raise ValueError(
                f"{name}: values from {lo} to {hi} do not fit int32 (never wrapped)")
    return a.astype(np.int32)


def float64_array(x: Any, name: str) -> np.ndarray:
    """Any-shape float64 array per the module rules."""
    a = as_array(x, name)
    kind = a.dtype.kind
    if kind == "f" and a.dtype.itemsize <= 8:
        return a if a.dtype == np.dtype(np.float64) else a.astype(np.float64)
    if kind in "iu":
        if a.size:
            lo, hi = _min_max(a)
            if lo < -_FLOAT_EXACT or hi > _FLOAT_EXACT:
                raise ValueError(f"{name}: integers beyond 2**53 are not exact as float64")
        return a.astype(np.float64)
    raise TypeError(f"{name}: expected a floating (float64) array, got dtype {a.dtype}")


def _shape_text(a: np.ndarray) -> str:
    return str(tuple(a.shape))


def pairs(a: np.ndarray, name: str) -> np.ndarray:
    """Require shape (N, 2)."""
    if a.ndim != 2 or a.shape[1] != 2:
        raise ValueError(f"{name}: expected shape (N, 2), got {_shape_text(a)}")
    return a


def int_pairs(x: Any, name: str) -> np.ndarray:
    return pairs(int32_array(x, name), name)


def float_pairs(x: Any, name: str) -> np.ndarray:
    return pairs(float64_array(x, name), name)


def broadcast_rows(arrays: Tuple[np.ndarray, ...], names: Tuple[str, ...]) -> Tuple[np.ndarray, ...]:
    """Arrays of shape (2,) or (N, 2) broadcast to one (N, 2), contiguous.

    A single pair (shape (2,)) stands for every row; (1, 2) likewise.
    """
    for a, name in zip(arrays, names):
        if a.ndim not in (1, 2) or a.shape[-1] != 2:
            raise ValueError(f"{name}: expected shape (2,) or (N, 2), got {_shape_text(a)}")
    try:
        shape = np.broadcast_shapes(*(a.shape for a in arrays))
    except ValueError:
        shapes = ", ".join(f"{n} {_shape_text(a)}" for a, n in zip(arrays, names))
        raise ValueError(f"row counts differ: {shapes}") from None
    if len(shape) == 1:
        shape = (1, 2)
    return tuple(a if a.shape == shape else np.ascontiguousarray(np.broadcast_to(a, shape))
                 for a in arrays)


def broadcast_flat(arrays: Tuple[np.ndarray, ...], names: Tuple[str, ...]):
    """Broadcast any-shape arrays together; return (shape, flat contiguous arrays)."""
    try:
        shape = np.broadcast_shapes(*(a.shape for a in arrays))
    except ValueError:
        shapes = ", ".join(f"{n} {_shape_text(a)}" for a, n in zip(arrays, names))
        raise ValueError(f"shapes do not broadcast: {shapes}") from None
    flat = tuple(np.ascontiguousarray(np.broadcast_to(a, shape)).reshape(-1) for a in arrays)
    return shape, flat


def vector_rows(v: np.ndarray, name: str) -> np.ndarray:
    if v.ndim < 1 or v.shape[-1] != 2:
        raise ValueError(f"{name}: expected shape (..., 2), got {_shape_text(v)}")
    return v


def int32_scalar(x: Any, name: str) -> int:
    """A Python int in int32 range (bool rejected)."""
    if isinstance(x, (bool, np.bool_)) or not isinstance(x, (int, np.integer)):
        raise TypeError(f"{name}: expected an int, got {type(x).__name__}")
    v = int(x)
    if v < INT32_MIN or v > INT32_MAX:
        raise ValueError(f"{name}: {v} does not fit int32")
    return v


RULES = ("compatible", "exact")


def rule_name(rule: Any) -> str:
    if not isinstance(rule, str):
        raise TypeError(f"rule: expected 'compatible' or 'exact', got {type(rule).__name__}")
    if rule not in RULES:
        raise ValueError(f"rule: expected 'compatible' or 'exact', got {rule!r}")
    return rule
