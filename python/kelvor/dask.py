"""Assign every fix of a large lon/lat table to its zone, on a Dask cluster.

Pipeline: zones from GeoJSON -> one :class:`kelvor.ZoneIndex` (built once on
the client) -> shipped to the workers as a single graph node
(``dask.delayed``), so each worker receives it once and every partition
task reuses it -> ``locate`` per partition in parallel -> CSV.

Units. Zone coordinates and fixes are degrees (lon, lat); both are turned
into 1/100000-degree int32 units by :func:`kelvor.to_units`: rounded to the
nearest unit, halves away from zero. A fix with NaN or infinite coordinates,
or one beyond the int32 unit range, cannot be located: it gets
:data:`kelvor.NO_ZONE`.

Zones. Each feature of type Polygon or MultiPolygon is one zone, built by
:meth:`kelvor.ZoneIndex.from_geometries`: holes count (a fix in a hole is
not in the zone) and all polygons of a MultiPolygon answer the feature's one
id. Null geometries and other geometry types are skipped. The id is the
integer value of the property named by ``id_property`` or, without one, the
feature's position in the collection (0, 1, ...). A fix in several zones
gets the lowest id.

Cluster. :func:`run` starts a ``distributed.LocalCluster`` (worker
processes, one thread each) unless given a scheduler address such as
``tcp://10.0.0.5:8786``, in which case it connects to that cluster; kelvor
must then be importable on the scheduler and every worker. From a shell::

    python3 -m kelvor.dask fixes.csv zones.geojson out.csv --workers 2
    python3 -m kelvor.dask fixes.csv zones.geojson out.csv --scheduler tcp://host:8786

Output. CSV (Debian ships no pyarrow, so no Parquet): the input columns
plus an int32 column ``zone``; one file when the path ends in ``.csv``,
otherwise a directory of part files.
"""

from __future__ import annotations

import argparse
import json
import os
import sys
from typing import Any, List, Optional, Tuple, Union

import numpy as np

from ._areas import geometry_areas
from ._convert import INT32_MAX, INT32_MIN, rule_name
from .geo import to_units
from .prepared import NO_ZONE, ZoneIndex, _zone_index

PathOrDict = Union[str, "os.PathLike[str]", dict]


def _feature_collection(geojson: PathOrDict) -> dict:
    if isinstance(geojson, dict):
        return geojson
    if isinstance(geojson, (str, os.PathLike)):
        with open(geojson, encoding="utf-8") as f:
            return json.load(f)
    if hasattr(geojson, "read"):
        return json.load(geojson)
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
    if not (INT32_MIN < value <= INT32_MAX):
        raise ValueError(f"feature {index}: id {value} is outside int32 (or is NO_ZONE)")
    return value


def _zones(geojson: PathOrDict,
           id_property: Optional[str]) -> Tuple[List[dict], np.ndarray, List[int]]:
    doc = _feature_collection(geojson)
    features = doc.get("features") if doc.get("type") == "FeatureCollection" else [doc]
    if not isinstance(features, list):
        raise ValueError("geojson: expected a FeatureCollection")
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


def load_zones(geojson: PathOrDict,
               id_property: Optional[str] = None) -> Tuple[List[dict], np.ndarray]:
    """The zones of a GeoJSON document: their geometries and int32 ids.

    ``geojson`` is a path, an open file or an already decoded
    FeatureCollection (a single Feature is accepted too). Returns one
    GeoJSON geometry mapping (Polygon or MultiPolygon, in degrees, holes
    included) per zone and the ids, ready for
    ``ZoneIndex.from_geometries(geometries, ids)``.
    """
    geometries, ids, _ = _zones(geojson, id_property)
    return geometries, ids


def build_index(geojson: PathOrDict, id_property: Optional[str] = None,
                rule: str = "compatible") -> ZoneIndex:
    """A ZoneIndex of the GeoJSON's zones (see :func:`load_zones`) in
    1/100000-degree units; bad coordinates raise ValueError naming the
    feature."""
    rule = rule_name(rule)
    geometries, ids, positions = _zones(geojson, id_property)
    packed = geometry_areas(geometries, lambda k: f"feature {positions[k]}", 100000.0)
    return _zone_index(*packed, ids, rule)


def locate_lonlat(index: ZoneIndex, lon: Any, lat: Any) -> np.ndarray:
    """Zone of each fix given in degrees, in this process: int32 array.

    Fixes that have no unit value (NaN, inf, beyond int32 units) get NO_ZONE.
    This is the function every partition runs; calling it on the whole
    table gives the single-process answer.
    """
    lon = np.asarray(lon, dtype=np.float64)
    lat = np.asarray(lat, dtype=np.float64)
    if lon.shape != lat.shape or lon.ndim != 1:
        raise ValueError("lon and lat: expected two 1-d arrays of one length")
    limit = (INT32_MAX + 0.5) / 100000.0
    ok = np.isfinite(lon) & np.isfinite(lat) & (np.abs(lon) < limit) & (np.abs(lat) < limit)
    pts = np.zeros((lon.size, 2), dtype=np.float64)
    pts[ok, 0] = lon[ok]
    pts[ok, 1] = lat[ok]
    zones = index.locate(to_units(pts))
    zones[~ok] = NO_ZONE
    return zones


def _locate_frame(frame, index: ZoneIndex, lon: str, lat: str, zone: str):
    out = frame.copy()
    out[zone] = locate_lonlat(index, frame[lon].to_numpy(), frame[lat].to_numpy())
    return out


def _locate_block(block: np.ndarray, index: ZoneIndex) -> np.ndarray:
    return locate_lonlat(index, block[:, 0], block[:, 1])


def assign_zones(points: Any, index: ZoneIndex, lon: str = "lon", lat: str = "lat",
                 zone: str = "zone"):
    """Lazily add each fix's zone.

    ``points`` is a Dask DataFrame with columns ``lon`` and ``lat`` (degrees;
    the result is the frame with an int32 column ``zone`` added) or a Dask
    array of shape (N, 2) (the result is an int32 Dask array of N zones).
    The index enters the graph once, as one delayed object.
    """
    import dask
    import dask.array as da
    import dask.dataframe as dd

    shipped = dask.delayed(index, pure=True)
    if isinstance(points, dd.DataFrame):
        meta = points._meta.copy()
        meta[zone] = np.array([], dtype=np.int32)
        return points.map_partitions(_locate_frame, shipped, lon, lat, zone, meta=meta)
    if isinstance(points, da.Array):
        if points.ndim != 2 or points.shape[1] != 2:
            raise ValueError("points: expected a Dask array of shape (N, 2)")
        points = points.rechunk({1: 2})
        blocks = points.to_delayed().ravel()
        parts = [da.from_delayed(dask.delayed(_locate_block)(b, shipped), shape=(n,),
                                 dtype=np.int32)
                 for b, n in zip(blocks, points.chunks[0])]
        return da.concatenate(parts) if parts else da.zeros((0,), dtype=np.int32)
    raise TypeError("points: expected a dask DataFrame or a dask array")


def connect(scheduler: Optional[str] = None, workers: int = 2):
    """A distributed Client: to ``scheduler`` if given, else on a new LocalCluster
    of ``workers`` processes with one thread each (closed with the client)."""
    from distributed import Client, LocalCluster

    if scheduler:
        return Client(scheduler)
    cluster = LocalCluster(n_workers=workers, threads_per_worker=1, processes=True,
                           dashboard_address=None)
    client = Client(cluster)
    client._kelvor_cluster = cluster  # closed by close()
    return client


def close(client) -> None:
    cluster = getattr(client, "_kelvor_cluster", None)
    client.close()
    if cluster is not None:
        cluster.close()


def run(points_csv: str, zones_geojson: PathOrDict, out: str, scheduler: Optional[str] = None,
        workers: int = 2, id_property: Optional[str] = None, rule: str = "compatible",
        lon: str = "lon", lat: str = "lat", blocksize: Union[str, int] = "16MB",
        client=None) -> int:
    """Read fixes from CSV, assign zones on the cluster, write CSV; returns the row count.

    Without ``client`` a client is made by :func:`connect` (``scheduler`` or a
    LocalCluster of ``workers`` processes) and closed at the end.
    """
    import dask
    import dask.dataframe as dd

    index = build_index(zones_geojson, id_property, rule)
    own = client is None
    if own:
        client = connect(scheduler, workers)
    try:
        frame = dd.read_csv(points_csv, blocksize=blocksize)
        located = assign_zones(frame, index, lon=lon, lat=lat)
        single = str(out).endswith(".csv")
        write = located.to_csv(out, single_file=single, index=False, compute=False)
        # one pass: writing and counting share the read and locate tasks
        _, counts = dask.compute(write, located.map_partitions(len))
        return int(sum(counts))
    finally:
        if own:
            close(client)


def main(argv: Optional[List[str]] = None) -> int:
    parser = argparse.ArgumentParser(prog="python3 -m kelvor.dask",
                                     description="Assign lon/lat fixes to GeoJSON zones on Dask.")
    parser.add_argument("points_csv")
    parser.add_argument("zones_geojson")
    parser.add_argument("out", help="output CSV file (*.csv) or directory of parts")
    parser.add_argument("--scheduler", help="address of a running scheduler, e.g. tcp://host:8786")
    parser.add_argument("--workers", type=int, default=2, help="LocalCluster worker processes")
    parser.add_argument("--id-property", help="feature property holding the zone id")
    parser.add_argument("--rule", default="compatible", choices=["compatible", "exact"])
    parser.add_argument("--lon", default="lon")
    parser.add_argument("--lat", default="lat")
    parser.add_argument("--blocksize", default="16MB")
    args = parser.parse_args(argv)
    rows = run(args.points_csv, args.zones_geojson, args.out, scheduler=args.scheduler,
               workers=args.workers, id_property=args.id_property, rule=args.rule,
               lon=args.lon, lat=args.lat, blocksize=args.blocksize)
    print(f"{rows} fixes assigned -> {args.out}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
