"""Bounding and inscribed rectangles of a ring, as (xmin, ymin, xmax, ymax).

The canonical empty rectangle is (1, 1, 0, 0).
"""

from __future__ import annotations

from typing import Tuple

from numpy.typing import ArrayLike

from . import _kelvor

Rect = Tuple[int, int, int, int]

#: The engine's canonical empty rectangle.
EMPTY_RECT: Rect = (1, 1, 0, 0)


def _rect(corners) -> Rect:
    xmin, ymin, xmax, ymax = corners.tolist()
    return xmin, ymin, xmax, ymax


def bounding_rect(ring: ArrayLike) -> Rect:
    """``GetMBR``: inclusive bounding rectangle of the points.

    One point gives the zero-size rectangle at it. An empty array raises
    ``ValueError`` (the engine would read a first point that is not there).
    """
    return _rect(_kelvor.bounding_rect(ring))


def inscribed_rect(ring: ArrayLike, step: int, rule: str = "compatible") -> Rect:
    """Rectangle grown inside the ring (``kelvor::InscribedRect``).

    With ``rule="compatible"`` this is exactly ``GetMCR(ring, step)``; with
    ``rule="exact"`` the same search with inside tests that do not wrap on
    long-edged outlines. step < 1 counts as 1. Degenerate rings give
    :data:`EMPTY_RECT`.
    """
    return _rect(_kelvor.inscribed_rect(ring, step, rule))


def get_mcr(ring: ArrayLike, step: int) -> Rect:
    """``GetMCR`` itself: :func:`inscribed_rect` with the compatible rule."""
    return _rect(_kelvor.get_mcr(ring, step))
