"""Bounding and inscribed rectangles of a ring, as (xmin, ymin, xmax, ymax).

The canonical empty rectangle is (1, 1, 0, 0).
"""

from __future__ import annotations

from typing import Any, Tuple

from . import _kelvor
from ._convert import int32_scalar, int_pairs, rule_name

Rect = Tuple[int, int, int, int]

#: The engine's canonical empty rectangle.
EMPTY_RECT: Rect = (1, 1, 0, 0)


def bounding_rect(ring: Any) -> Rect:
    """``GetMBR``: inclusive bounding rectangle of the points.

    One point gives the zero-size rectangle at it. An empty array raises
    ``ValueError`` (the engine would read a first point that is not there).
    """
    return _kelvor.bounding_rect(int_pairs(ring, "ring"))


def inscribed_rect(ring: Any, step: int, rule: str = "compatible") -> Rect:
    """Rectangle grown inside the ring (``kelvor::InscribedRect``).

    With ``rule="compatible"`` this is exactly ``GetMCR(ring, step)``; with
    ``rule="exact"`` the same search with inside tests that do not wrap on
    long-edged outlines. step < 1 counts as 1. Degenerate rings give
    :data:`EMPTY_RECT`.
    """
    r = int_pairs(ring, "ring")
    s = int32_scalar(step, "step")
    name = rule_name(rule)
    if getattr(_kelvor, "HAVE_PREPARED", False):
        return _kelvor.inscribed_rect(r, s, name)
    if name != "compatible":
        raise NotImplementedError("this build of libkelvor has no exact inscribed rectangle")
    return _kelvor.get_mcr(r, s)


def get_mcr(ring: Any, step: int) -> Rect:
    """``GetMCR`` itself (quadratic in the ring size; prefer inscribed_rect)."""
    return _kelvor.get_mcr(int_pairs(ring, "ring"), int32_scalar(step, "step"))
