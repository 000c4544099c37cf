"""Assign every fix of a large lon/lat table to its zone, on a Dask cluster.

Pipeline: zones from GeoJSON (:mod:`kelvor.dask._geojson`) -> one
:class:`kelvor.ZoneIndex`, built once on the client -> shipped to the workers
as a single graph node, so each worker receives it once and every partition
task reuses it -> ``locate`` per partition in parallel -> CSV
(:mod:`kelvor.dask._graph`). From a shell (:mod:`kelvor.dask.__main__`)::

    python3 -m kelvor.dask fixes.csv zones.geojson out.csv --workers 2
    python3 -m kelvor.dask fixes.csv zones.geojson out.csv --scheduler tcp://host:8786

Units. Zone coordinates and fixes are degrees (lon, lat); both become
1/100000-degree int32 units by :func:`kelvor.to_units`: rounded to the
nearest unit, halves away from zero. A fix without a position (missing,
NaN, infinite, beyond +-180 longitude or +-90 latitude) has no zone.

Cluster. :class:`Cluster` starts a ``distributed.LocalCluster`` (worker
processes, one thread each) unless given a scheduler address such as
``tcp://10.0.0.5:8786``; kelvor must then be importable on the scheduler and
every worker.

Output. CSV (Debian ships no pyarrow, so no Parquet): the input columns as
read plus ``zone``, empty for a fix in no zone; one file when the path ends
in ``.csv``, otherwise a directory of part files.
"""

from ._geojson import InputError, build_index, load_zones
from ._graph import (Cluster, InvalidCoordinates, Summary, assign_zones, locate_lonlat, run,
                     valid_lonlat)

__all__ = ["Cluster", "InputError", "InvalidCoordinates", "Summary", "assign_zones",
           "build_index", "load_zones", "locate_lonlat", "main", "run", "valid_lonlat"]


def main(argv=None) -> int:
    """The command line (``python3 -m kelvor.dask --help``); returns the exit status."""
    from .__main__ import main as command
    return command(argv)
