"""The Dask graph: fixes located in their zones, partition by partition.

The ZoneIndex is built once on the client and enters the graph as one
delayed object, so each worker receives it once and every partition task
reuses it. The CSV join reads the file in blocks of lines, every column as
text (written back as read), parses the coordinates itself so that a bad
value or line is reported with its row and column, and writes its output
under a temporary name that is renamed only once the whole output is
written.
"""

from __future__ import annotations

import csv
import io
import os
import re
import shutil
import tempfile
from pathlib import Path
from typing import Any, List, NamedTuple, Optional, Tuple, Union

import numpy as np

from .. import _kelvor
from ..geo import to_units
from ..prepared import NO_ZONE, ZoneIndex
from ._geojson import InputError, PathOrDict, build_index


class InvalidCoordinates(InputError):
    """A fix whose coordinate is missing or out of range."""


def valid_lonlat(lon: np.ndarray, lat: np.ndarray) -> np.ndarray:
    """Fixes with a position: |lon| <= 180 and |lat| <= 90 (so neither NaN nor infinite)."""
    return (np.abs(lon) <= 180) & (np.abs(lat) <= 90)


def locate_lonlat(index: ZoneIndex, lon: Any, lat: Any) -> np.ndarray:
    """Zone of each fix given in degrees, in this process: int32 array.

    Fixes without a position (NaN, infinite, beyond +-180 longitude or +-90
    latitude) get NO_ZONE. This is what every partition runs; calling it on
    the whole table gives the single-process answer.
    """
    lon = _kelvor.column(lon, "lon", "float64", "n")
    lat = _kelvor.column(lat, "lat", "float64", "n")
    if lon.shape != lat.shape:
        raise ValueError(f"lon and lat: lengths differ ({lon.size} and {lat.size})")
    ok = valid_lonlat(lon, lat)
    zones = np.full(lon.size, NO_ZONE, np.int32)
    zones[ok] = index.locate(to_units(np.stack([lon[ok], lat[ok]], axis=1)))
    return zones


def _zone_column(zones: np.ndarray):
    """NO_ZONE as a missing value: a nullable Int32 column, written as an empty field."""
    import pandas as pd
    return pd.arrays.IntegerArray(zones, zones == NO_ZONE)


def _locate_frame(frame, index: ZoneIndex, lon: str, lat: str, zone: str):
    out = frame.copy()
    out[zone] = _zone_column(locate_lonlat(index, frame[lon].to_numpy(), frame[lat].to_numpy()))
    return out


def _locate_block(block: np.ndarray, index: ZoneIndex) -> np.ndarray:
    return locate_lonlat(index, block[:, 0], block[:, 1])


def assign_zones(points: Any, index: ZoneIndex, lon: str = "lon", lat: str = "lat",
                 zone: str = "zone"):
    """Lazily add each fix's zone.

    ``points`` is a Dask DataFrame with numeric columns ``lon`` and ``lat``
    (degrees; the result is the frame with a nullable Int32 column ``zone``,
    missing where a fix is in no zone or has no position) or a Dask array
    of shape (N, 2) (the result is an int32 Dask array of N zones, NO_ZONE
    for none). The index enters the graph once, as one delayed object.
    """
    import dask
    import dask.array as da
    import dask.dataframe as dd
    import pandas as pd

    shipped = dask.delayed(index, pure=True)
    if isinstance(points, dd.DataFrame):
        meta = points._meta.copy()
        meta[zone] = pd.array([], dtype="Int32")
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


class Cluster:
    """A distributed client and, unless given a scheduler address, the
    LocalCluster it runs on (``workers`` processes of one thread each); closing
    it closes both::

        with Cluster(workers=2) as cluster:
            run("fixes.csv", "zones.geojson", "out.csv", client=cluster)
    """

    def __init__(self, scheduler: Optional[str] = None, workers: int = 2) -> None:
        from distributed import Client, LocalCluster

        self.local = None
        if scheduler:
            self.client = Client(scheduler)
            return
        self.local = LocalCluster(n_workers=workers, threads_per_worker=1, processes=True,
                                  dashboard_address=None)
        try:
            self.client = Client(self.local)
        except BaseException:
            self.local.close()
            raise

    def close(self) -> None:
        try:
            self.client.close()
        finally:
            if self.local is not None:
                self.local.close()

    def __enter__(self) -> "Cluster":
        return self

    def __exit__(self, *exc: Any) -> None:
        self.close()


# ---- the CSV join ------------------------------------------------------------------

OK, MISSING, OUT_OF_RANGE, NOT_A_NUMBER = 0, 1, 2, 3
_MISSING_TEXT = frozenset(["", "nan", "na", "n/a", "null", "none", "<na>", "#n/a"])
_LIMITS = (180, 90)


def _degrees(texts: np.ndarray, limit: float) -> Tuple[np.ndarray, np.ndarray]:
    """A coordinate column read as text: degrees and a problem per row.

    Numbers are read as Python's float() reads them (correctly rounded),
    except that a CSV number has no underscore.
    """
    import pandas as pd
    text = pd.Series(texts, dtype=object).str.strip()
    missing = text.str.lower().isin(_MISSING_TEXT).to_numpy()
    problem = np.where(missing, MISSING, OK).astype(np.int8)
    problem[text.str.contains("_", regex=False, na=False).to_numpy(bool)] = NOT_A_NUMBER
    values = np.full(len(text), np.nan)
    given = np.flatnonzero(problem == OK)
    try:
        values[given] = text.to_numpy()[given].astype(np.float64)
    except (ValueError, TypeError):  # find the ones that are not numbers
        for i in given:
            try:
                values[i] = float(text.iat[i])
            except ValueError:
                problem[i] = NOT_A_NUMBER
    problem[(problem == OK) & ~(np.abs(values) <= limit)] = OUT_OF_RANGE
    return values, problem


class _Block(NamedTuple):
    """What one block of the CSV file held, beside its rows: its lines, and
    the first thing in it that stops the join (a line it could not parse, or
    a row and the column, problem and text of its bad coordinate)."""
    rows: int
    lines: int
    invalid: int
    in_zone: int
    bad_line: int = 0      # 1-based within the block; 0: parsed
    bad_text: str = ""     # what is wrong there, or the bad coordinate's text
    bad_row: int = 0       # 1-based within the block; 0: none
    bad_column: int = 0    # 0 longitude, 1 latitude
    problem: int = OK


def _join_block(data: bytes, first: bool, names: List[str], index: ZoneIndex,
                columns: Tuple[str, str, str], keep_invalid: bool):
    """One block of the CSV file (the first starts with the header line): the
    rows with their zone, and what the block held (a _Block)."""
    import pandas as pd
    lines = data.count(b"\n") + (1 if data and not data.endswith(b"\n") else 0)
    lon, lat, zone = columns
    empty = pd.DataFrame({name: pd.Series([], dtype=object) for name in names})
    try:
        frame = pd.read_csv(io.BytesIO(data), header=0 if first else None, names=names,
                            dtype=str, na_filter=False)
    except pd.errors.EmptyDataError:
        frame = empty
    except pd.errors.ParserError as e:
        found = re.search(r"Expected (\d+) fields in line (\d+), saw (\d+)", str(e))
        if found:
            want, line, saw = map(int, found.groups())
            return empty.assign(**{zone: pd.array([], "Int32")}), _Block(
                0, lines, 0, 0, line, f"{saw} fields where the header has {want}")
        return empty.assign(**{zone: pd.array([], "Int32")}), _Block(
            0, lines, 0, 0, 1, f"not CSV ({str(e).strip()})")
    except UnicodeDecodeError as e:
        return empty.assign(**{zone: pd.array([], "Int32")}), _Block(
            0, lines, 0, 0, data.count(b"\n", 0, e.start) + 1, "not UTF-8 text")
    lon_v, lon_p = _degrees(frame[lon].to_numpy(), _LIMITS[0])
    lat_v, lat_p = _degrees(frame[lat].to_numpy(), _LIMITS[1])
    ok = (lon_p == OK) & (lat_p == OK)
    zones = np.full(len(frame), NO_ZONE, np.int32)
    zones[ok] = index.locate(to_units(np.stack([lon_v[ok], lat_v[ok]], axis=1)))
    frame[zone] = _zone_column(zones)
    block = _Block(len(frame), lines, int((~ok).sum()), int((zones != NO_ZONE).sum()))
    for column, problem in enumerate((lon_p, lat_p)):
        stops = problem == NOT_A_NUMBER if keep_invalid else problem != OK
        if stops.any():
            row = int(np.argmax(stops))
            if block.bad_row == 0 or row + 1 < block.bad_row:
                block = block._replace(bad_row=row + 1, bad_column=column,
                                       problem=int(problem[row]),
                                       bad_text=str(frame[columns[column]].iat[row]))
    return frame, block


class Summary(NamedTuple):
    """What a join did: fixes read, assigned (located, with or without a
    zone), in a zone, without valid coordinates (kept only when asked), and
    zones, of which some can wrap under the compatible rule."""
    fixes: int
    assigned: int
    in_zone: int
    invalid: int
    zones: int
    wrapping_zones: int


class _Output:
    """The output under a temporary name beside it (a dot file ending in
    .partial), renamed once complete: an interrupted run never leaves a file
    that looks finished."""

    def __init__(self, target: Path, single: bool) -> None:
        self.target, self.single = target, single
        if not target.parent.is_dir():
            raise InputError(f"{target}: the directory {target.parent} does not exist")
        if single and target.is_dir():
            raise InputError(f"{target}: is a directory")
        if not single and target.exists() and (not target.is_dir() or any(target.iterdir())):
            raise InputError(f"{target}: exists and is not an empty directory")
        prefix = f".{target.name}."
        if single:
            handle, self.path = tempfile.mkstemp(prefix=prefix, suffix=".partial",
                                                 dir=target.parent)
            os.close(handle)
        else:
            self.path = tempfile.mkdtemp(prefix=prefix, suffix=".partial", dir=target.parent)

    def commit(self) -> None:
        umask = os.umask(0o022)
        os.umask(umask)
        os.chmod(self.path, (0o666 if self.single else 0o777) & ~umask)  # not mkstemp's 0600
        if not self.single and self.target.is_dir():
            self.target.rmdir()  # empty, as checked
        os.replace(self.path, self.target)
        self.path = None

    def discard(self) -> None:
        if self.path is not None and os.path.isdir(self.path):
            shutil.rmtree(self.path, ignore_errors=True)
        elif self.path is not None and os.path.exists(self.path):
            os.remove(self.path)
        self.path = None


def _header(path: str, columns: Tuple[str, str, str]) -> List[str]:
    """The column names on the first line, checked for the two coordinates."""
    try:
        with open(path, "rb") as f:
            first = f.readline().decode("utf-8")
    except FileNotFoundError:
        raise InputError(f"{path}: no such file") from None
    except OSError as e:
        raise InputError(f"{path}: cannot be read ({e.strerror})") from None
    except UnicodeDecodeError:
        raise InputError(f"{path}: line 1: not UTF-8 text") from None
    if not first.strip():
        raise InputError(f"{path}: empty, no header line")
    names = next(csv.reader([first]))
    for name in names:
        if names.count(name) > 1:
            raise InputError(f"{path}: line 1: column {name!r} appears twice")
    for name in columns[:2]:
        if name not in names:
            raise InputError(f"{path}: line 1: no column {name!r}; the columns are "
                             f"{', '.join(map(repr, names))}")
    if columns[2] in names:
        raise InputError(f"{path}: line 1: already has a column {columns[2]!r}")
    return names


def _compute(client, *collections):
    import dask
    return dask.compute(*collections, scheduler=client)


def run(points_csv: str, zones_geojson: PathOrDict, out: str, scheduler: Optional[str] = None,
        workers: int = 2, id_property: Optional[str] = None, rule: str = "exact",
        lon: str = "lon", lat: str = "lat", zone: str = "zone",
        blocksize: Union[str, int] = "16MB", keep_invalid: bool = False,
        client=None) -> Summary:
    """Read fixes from CSV, assign zones on the cluster, write CSV.

    The output holds every input column as read (as text) plus ``zone``:
    the zone's id, or an empty field for a fix in no zone. A fix whose
    longitude or latitude is missing (empty, NaN) or out of range (beyond
    +-180 / +-90) raises :class:`InvalidCoordinates` naming the file, the
    data row (1-based, the header not counted) and the column, unless
    ``keep_invalid``: it is then written with an empty zone and counted.
    A coordinate that is not a number, a line that is not CSV, a missing
    column or an unreadable file raise :class:`InputError`. Nothing is
    written unless the join succeeds. ``client`` is a :class:`Cluster` or a
    distributed Client to use; without one a Cluster is made (``scheduler``
    or a LocalCluster of ``workers`` processes) and closed at the end.
    """
    import dask
    import dask.dataframe as dd
    import pandas as pd
    from dask.bytes import read_bytes

    path = str(points_csv)
    index = build_index(zones_geojson, id_property, rule)
    names = _header(path, (lon, lat, zone))
    single = str(out).endswith(".csv")
    output = _Output(Path(out), single)
    own = None
    try:
        if client is None:
            try:
                own = Cluster(scheduler, workers)
            except (OSError, TimeoutError) as e:
                raise InputError(f"scheduler {scheduler}: cannot connect ({e})") from None
        client = own.client if own is not None else \
            client.client if isinstance(client, Cluster) else client
        _, (blocks,) = read_bytes(path, delimiter=b"\n", blocksize=blocksize, sample=False)
        shipped = dask.delayed(index, pure=True)
        joined = [dask.delayed(_join_block, nout=2)(block, k == 0, names, shipped,
                                                    (lon, lat, zone), keep_invalid)
                  for k, block in enumerate(blocks)]
        meta = pd.DataFrame({name: pd.Series([], dtype=object) for name in names})
        meta[zone] = pd.array([], dtype="Int32")
        frame = dd.from_delayed([j[0] for j in joined], meta=meta, verify_meta=False)
        write = frame.to_csv(output.path, single_file=single, index=False, compute=False)
        _, held = _compute(client, write, [j[1] for j in joined])
        _stop_at_first_problem(path, held, (lon, lat))
        output.commit()
    finally:
        output.discard()
        if own is not None:
            own.close()
    fixes, invalid = sum(b.rows for b in held), sum(b.invalid for b in held)
    return Summary(fixes, fixes - invalid, sum(b.in_zone for b in held), invalid, len(index),
                   int(index.can_wrap.sum()))


def _stop_at_first_problem(path: str, held: List[_Block], columns: Tuple[str, str]) -> None:
    line, row = 0, 0
    for block in held:
        if block.bad_line:
            raise InputError(f"{path}: line {line + block.bad_line}: {block.bad_text}")
        if block.bad_row:
            where = f"{path}: data row {row + block.bad_row}, column {columns[block.bad_column]}"
            text = block.bad_text
            if block.problem == NOT_A_NUMBER:
                raise InputError(f"{where}: {text!r} is not a number")
            if block.problem == MISSING:
                raise InvalidCoordinates(f"{where}: " + (f"{text!r} marks a missing value"
                                                         if text.strip() else "empty"))
            limit = _LIMITS[block.bad_column]
            raise InvalidCoordinates(f"{where}: {text} is outside -{limit}..{limit}")
        line += block.lines
        row += block.rows
