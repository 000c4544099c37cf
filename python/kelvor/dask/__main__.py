"""python3 -m kelvor.dask FIXES.csv ZONES.geojson OUT.csv: each fix's zone, on Dask.

Exit status 0 when the output is written, 1 when an input cannot be used
(one line on stderr names the file and, where there is one, the data row
and column; no output is written), 2 for a wrong command line.
"""

from __future__ import annotations

import argparse
import sys
from typing import List, Optional

from ._geojson import InputError
from ._graph import InvalidCoordinates, run

PROG = "python3 -m kelvor.dask"


def count(text: str) -> int:  # argparse names the type in its message: "invalid count value"
    value = int(text)
    if value < 1:
        raise ValueError(text)
    return value


def size(text: str) -> int:
    from dask.utils import parse_bytes
    return parse_bytes(text)


def parser() -> argparse.ArgumentParser:
    p = argparse.ArgumentParser(
        prog=PROG, description="Assign lon/lat fixes (CSV) to GeoJSON zones on a Dask cluster.")
    p.add_argument("points_csv", help="fixes: a CSV file with a header line")
    p.add_argument("zones_geojson", help="zones: a GeoJSON FeatureCollection")
    p.add_argument("out", help="output CSV file (*.csv) or directory of part files")
    p.add_argument("--scheduler", help="address of a running scheduler, e.g. tcp://host:8786 "
                   "(default: a LocalCluster on this machine)")
    p.add_argument("--workers", type=count, default=2, help="LocalCluster worker processes")
    p.add_argument("--id-property", help="feature property holding the zone id "
                   "(default: the feature's position)")
    p.add_argument("--rule", default="exact", choices=["exact", "compatible"],
                   help="crossing rule (default exact; compatible answers as the engine's "
                   "32-bit functions, and reports the zones that can wrap)")
    p.add_argument("--lon", default="lon", help="longitude column (degrees)")
    p.add_argument("--lat", default="lat", help="latitude column (degrees)")
    p.add_argument("--zone-column", default="zone", help="name of the column added")
    p.add_argument("--keep-invalid", action="store_true",
                   help="write fixes with a missing or out-of-range coordinate with an empty "
                   "zone instead of stopping")
    p.add_argument("--blocksize", type=size, default="16MB",
                   help="bytes of CSV per partition (16MB, 64kB, ...)")
    return p


def main(argv: Optional[List[str]] = None) -> int:
    args = parser().parse_args(argv)
    try:
        summary = run(args.points_csv, args.zones_geojson, args.out, scheduler=args.scheduler,
                      workers=args.workers, id_property=args.id_property, rule=args.rule,
                      lon=args.lon, lat=args.lat, zone=args.zone_column,
                      blocksize=args.blocksize, keep_invalid=args.keep_invalid)
    except InvalidCoordinates as e:
        print(f"{PROG}: {e} (--keep-invalid writes such fixes with an empty zone)",
              file=sys.stderr)
        return 1
    except InputError as e:
        print(f"{PROG}: {e}", file=sys.stderr)
        return 1
    if args.rule == "compatible":
        print(f"rule compatible: {summary.wrapping_zones} of {summary.zones} zones can wrap "
              "(long edges: points near them may be misplaced; --rule exact never wraps)")
    print(f"{summary.assigned} fixes assigned, {summary.invalid} without valid coordinates; "
          f"{summary.in_zone} in a zone -> {args.out}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
