"""Zones from GeoJSON: each Polygon or MultiPolygon feature is one zone.

Holes count (a fix in a hole is not in the zone) and all polygons of a
MultiPolygon answer the feature's one id. Null geometries and other geometry
types are skipped. The id is the integer value of the property named by
``id_property`` or, without one, the feature's position in the collection
(0, 1, ...). Coordinates become 1/100000-degree units as
:func:`kelvor.to_units` rounds them.
"""

from __future__ import annotations

import json
import os
from typing import Any, List, Optional, Tuple, Union

import numpy as np

from .._areas import geometry_areas
from ..prepared import NO_ZONE, ZoneIndex, _zone_index

PathOrDict = Union[str, "os.PathLike[str]", dict]


class InputError(ValueError):
    """An input that cannot be used; the message names the file and, where
    there is one, the feature or the data row and column."""


def _name(source: Any) -> str:
    if isinstance(source, (str, os.PathLike)):
        return os.fspath(source)
    return getattr(source, "name", None) or "geojson"


def _feature_collection(geojson: PathOrDict) -> dict:
    if isinstance(geojson, dict):
        return geojson
    try:
        if isinstance(geojson, (str, os.PathLike)):
            with open(geojson, encoding="utf-8") as f:
                return json.load(f)
        if hasattr(geojson, "read"):
            return json.load(geojson)
    except json.JSONDecodeError as e:
        raise InputError(f"{_name(geojson)}: line {e.lineno}, column {e.colno}: not JSON "
                         f"({e.msg})") from None
    except (OSError, UnicodeDecodeError) as e:
        raise InputError(f"{_name(geojson)}: cannot be read ({e})") from None
    raise TypeError("geojson: expected a path, a file object or a decoded dict")


def _feature_id(feature: dict, index: int, id_property: Optional[str]) -> int:
    if id_property is None:
        value: Any = index
    else:
        props = feature.get("properties") or {}
        if id_property not in props:
            raise ValueError(f"feature {index}: no property {id_property!r}")
        value = props[id_property]
        if isinstance(value, str) and value.strip().lstrip("-").isdigit():
            value = int(value)
        if isinstance(value, float) and value.is_integer():
            value = int(value)
        if isinstance(value, bool) or not isinstance(value, int):
            raise ValueError(f"feature {index}: id {value!r} is not an integer")
    if not (NO_ZONE < value <= 2**31 - 1):
        raise ValueError(f"feature {index}: id {value} is outside int32 (or is NO_ZONE)")
    return value


def _zones(geojson: PathOrDict,
           id_property: Optional[str]) -> Tuple[List[dict], np.ndarray, List[int]]:
    doc = _feature_collection(geojson)
    features = doc.get("features") if doc.get("type") == "FeatureCollection" else [doc]
    if not isinstance(features, list):
        raise ValueError("expected a FeatureCollection")
    geometries: List[dict] = []
    ids: List[int] = []
    positions: List[int] = []
    for i, feature in enumerate(features):
        geometry = feature.get("geometry") if isinstance(feature, dict) else None
        if not isinstance(geometry, dict) or geometry.get("type") not in ("Polygon",
                                                                           "MultiPolygon"):
            continue
        ids.append(_feature_id(feature, i, id_property))
        geometries.append(geometry)
        positions.append(i)
    return geometries, np.array(ids, dtype=np.int32), positions


def _named(geojson: PathOrDict, error: Exception) -> InputError:
    return InputError(f"{_name(geojson)}: {error}")


def load_zones(geojson: PathOrDict,
               id_property: Optional[str] = None) -> Tuple[List[dict], np.ndarray]:
    """The zones of a GeoJSON document: their geometries and int32 ids.

    ``geojson`` is a path, an open file or an already decoded
    FeatureCollection (a single Feature is accepted too). Returns one
    GeoJSON geometry mapping (Polygon or MultiPolygon, in degrees, holes
    included) per zone and the ids, ready for
    ``ZoneIndex.from_geometries(geometries, ids)``. A bad document raises
    :class:`InputError` naming the source and the feature.
    """
    try:
        geometries, ids, _ = _zones(geojson, id_property)
    except InputError:
        raise
    except ValueError as e:
        raise _named(geojson, e) from None
    return geometries, ids


def build_index(geojson: PathOrDict, id_property: Optional[str] = None,
                rule: str = "exact") -> ZoneIndex:
    """A ZoneIndex of the GeoJSON's zones (see :func:`load_zones`) in
    1/100000-degree units; bad ids or coordinates raise :class:`InputError`
    naming the source and the feature."""
    try:
        geometries, ids, positions = _zones(geojson, id_property)
        packed = geometry_areas(geometries, lambda k: f"feature {positions[k]}", 100000.0)
    except InputError:
        raise
    except ValueError as e:
        raise _named(geojson, e) from None
    return _zone_index(*packed, ids, rule)
