"""Shared generators for the kelvor tests: edge values and rings."""

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


def int32_values(rng, n):
    """Edge values, then small, medium and full-range random int32 values."""
    parts = [EDGE_INT32,
             rng.integers(-300, 300, n // 3, dtype=np.int32),
             rng.integers(-(1 << 20), 1 << 20, n // 3, dtype=np.int32),
             rng.integers(INT32_MIN, INT32_MAX, n // 3, endpoint=True, dtype=np.int32)]
    return np.concatenate(parts)


def star_ring(rng, n, radius, centre=(0, 0), jitter=0.6):
    """A star-shaped, outline-like ring of n vertices (open, counterclockwise)."""
    angles = np.sort(rng.uniform(0, 2 * np.pi, n))
    r = radius * (1 - jitter * rng.uniform(0, 1, n))
    x = np.round(centre[0] + r * np.cos(angles))
    y = np.round(centre[1] + r * np.sin(angles))
    return np.ascontiguousarray(np.stack([x, y], axis=1).astype(np.int32))


def points_around(rng, ring, n, margin=2):
    """Points over the ring's bounding box and a little beyond, vertices included."""
    lo = ring.min(axis=0).astype(np.int64) - margin
    hi = ring.max(axis=0).astype(np.int64) + margin
    pts = rng.integers(lo, hi, size=(n, 2), endpoint=True).astype(np.int32)
    return np.ascontiguousarray(np.concatenate([ring, ring + 1, ring - 1, pts]))
