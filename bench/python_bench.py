#!/usr/bin/env python3
"""Kelvor for Python against shapely and geopandas, and the Dask path against
one process. Prints one small table; all ratios come from this one run.

    PYTHONPATH=build/release/python /usr/bin/python3 bench/python_bench.py

(or with the package installed, no PYTHONPATH). --points scales every case;
--quick runs 100,000 points and a small world for a smoke test. Nothing here
asserts a time.

Cases:
  * Polygon.contains (compatible and exact rule) over uniform points in the
    ring's bounding box, rings of 1,000 and 50,000 vertices (star-shaped
    outlines), against shapely.vectorized.contains on the same ring/points;
  * ZoneIndex.locate over about 200 country-sized zones (1/100000-degree
    units, ~5 degrees across) against geopandas.sjoin(predicate="within");
  * kelvor.dask.assign_zones on a LocalCluster of 2 worker processes against
    the single-process call (cluster start-up excluded);
  * a fractal world of about 250 country areas in degrees (10 million
    vertices, 50,000 rings: coastlines, lakes as holes, islands, one shapely
    MultiPolygon per area): ZoneIndex.from_geometries over the GeoSeries
    (conversion included), then ZoneIndex.locate over points uniform over the
    world and near borders against geopandas.sjoin(predicate="within").
The "agree" column is the share of points where both sides answer alike
(boundary rules differ: kelvor is half-open even-odd, shapely is closed).
"""

import argparse
import os
import sys
import time
from pathlib import Path

import numpy as np

import kelvor

# The rings are the test suite's (python/tests/conftest.py), so that both
# measure and check the same outlines.
sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "python" / "tests"))
import conftest  # noqa: E402

COAST = ((3, 0.25), (11, 0.1), (37, 0.04))  # bays and capes; edges stay short as in outlines


def star_ring(rng, n, radius, centre=(0, 0)):
    """A star-shaped outline: a smoothly wavy radius with a little vertex noise."""
    return conftest.star_ring(rng, n, radius, centre, jitter=0.01, waves=COAST)


def uniform_points(rng, lo, hi, n):
    return np.ascontiguousarray(rng.integers(lo, hi, (n, 2), endpoint=True).astype(np.int32))


BUDGET = 10.0  # seconds per measured call; set by --budget


def best_of(fn, repeat):
    """Best of up to `repeat` calls, repeating only while the total stays in the budget."""
    best, result, spent = float("inf"), None, 0.0
    for _ in range(repeat):
        t = time.perf_counter()
        result = fn()
        took = time.perf_counter() - t
        best, spent = min(best, took), spent + took
        if spent + took > BUDGET:
            break
    return best, result


def sample_size(fn, n):
    """How many of the n points one call may take within the budget: all of
    them when a 10,000-point probe says so, else a prefix (the rate per point
    is what the table compares)."""
    probe = min(n, 10_000)
    t = time.perf_counter()
    fn(probe)
    per_point = (time.perf_counter() - t) / probe
    return n if per_point * n <= BUDGET else max(probe, int(BUDGET / per_point))


ROWS = []
WRAPS = []


def row(case, ours, base, base_name, counts, agree=None):
    """ours and base are seconds per point; counts the points each side measured."""
    ROWS.append((case, ours, base, base_name, counts, agree))
    print(f"  measured {case}", file=sys.stderr)


def polygon_cases(rng, n):
    import shapely.geometry
    import shapely.vectorized

    for vertices in (1_000, 50_000):
        ring = star_ring(rng, vertices, 1_000_000)
        lo, hi = ring.min(axis=0), ring.max(axis=0)
        pts = uniform_points(rng, lo, hi, n)
        if kelvor.ring_can_wrap(ring):
            WRAPS.append(f"{vertices}-vertex ring")
        xs, ys = pts[:, 0].astype(np.float64), pts[:, 1].astype(np.float64)
        shape = shapely.geometry.Polygon(ring.astype(np.float64))
        m_base = sample_size(lambda k: shapely.vectorized.contains(shape, xs[:k], ys[:k]), n)
        t_base, want = best_of(lambda: shapely.vectorized.contains(shape, xs[:m_base],
                                                                   ys[:m_base]), 1)
        for rule in ("compatible", "exact"):
            t_build = time.perf_counter()
            pg = kelvor.Polygon(ring, rule=rule)
            t_build = time.perf_counter() - t_build
            m = sample_size(lambda k: pg.contains(pts[:k]), n)
            t, got = best_of(lambda: pg.contains(pts[:m]), 3)
            k = min(m, m_base)
            row(f"Polygon.contains {vertices} v, {rule} (build {t_build * 1e3:.1f} ms)", t / m,
                t_base / m_base, "shapely.vectorized.contains", (m, m_base),
                float(np.mean(got[:k] == want[:k])))


def zone_case(rng, n):
    import geopandas
    import shapely.geometry

    rings, ids = [], []
    for i in range(20):
        for j in range(10):
            centre = (-10_000_000 + i * 1_000_000 + 500_000, -5_000_000 + j * 1_000_000 + 500_000)
            rings.append(star_ring(rng, int(rng.integers(200, 1500)), 700_000, centre))
            ids.append(len(ids))
    ids = np.array(ids, np.int32)
    wrapping = sum(kelvor.ring_can_wrap(r) for r in rings)
    if wrapping:
        WRAPS.append(f"{wrapping} of {len(rings)} zones")
    pts = uniform_points(rng, (-10_000_000, -5_000_000), (10_000_000, 5_000_000), n)
    for rule in ("compatible", "exact"):
        t_build = time.perf_counter()
        index = kelvor.ZoneIndex(rings, ids, rule=rule)
        t_build = time.perf_counter() - t_build
        m = sample_size(lambda k: index.locate(pts[:k]), n)
        t, got = best_of(lambda: index.locate(pts[:m]), 3)
        if rule == "compatible":
            ours_compatible = (t, got, t_build, m)
    zones = geopandas.GeoDataFrame(
        {"zone": ids}, geometry=[shapely.geometry.Polygon(r.astype(np.float64)) for r in rings])

    def sjoin(k):
        points = geopandas.GeoDataFrame(geometry=geopandas.points_from_xy(
            pts[:k, 0].astype(np.float64), pts[:k, 1].astype(np.float64)))
        joined = geopandas.sjoin(points, zones, how="left", predicate="within")
        # overlapping zones: the lowest id, as ZoneIndex answers
        zone = joined["zone"].fillna(kelvor.NO_ZONE).groupby(level=0).min()
        return zone.sort_index().to_numpy().astype(np.int64)

    m_base = sample_size(sjoin, n)
    t_base, want = best_of(lambda: sjoin(m_base), 1)
    for rule, (t, got, t_build, m) in (("compatible", ours_compatible),
                                       ("exact", (t, got, t_build, m))):
        k = min(m, m_base)
        row(f"ZoneIndex.locate 200 zones, {rule} (build {t_build * 1e3:.0f} ms)", t / m,
            t_base / m_base, "geopandas.sjoin within (points GeoDataFrame included)", (m, m_base),
            float(np.mean(got[:k] == want[:k])))
    return rings, ids


def dask_case(rng, n, rings, ids, workers):
    import dask.array as da
    from distributed import wait

    from kelvor import dask as kdask

    index = kelvor.ZoneIndex(rings, ids)
    probe = np.stack([rng.uniform(-100, 100, 10_000), rng.uniform(-50, 50, 10_000)], axis=1)
    rate = best_of(lambda: kdask.locate_lonlat(index, probe[:, 0], probe[:, 1]), 1)[0] / 1e4
    n = n if rate * n <= BUDGET else max(10_000, int(BUDGET / rate))
    with kdask.Cluster(workers=workers):
        # The fixes live on the workers, as when each reads its own part of a
        # table; the same fixes are then fetched for the single-process call.
        chunk = max(1, n // (4 * workers))
        state = da.random.RandomState(5)
        pts = da.stack([state.uniform(-100, 100, size=n, chunks=chunk),
                        state.uniform(-50, 50, size=n, chunks=chunk)], axis=1).persist()
        wait(pts)
        lonlat = np.ascontiguousarray(pts.compute())
        t_single, want = best_of(lambda: kdask.locate_lonlat(index, lonlat[:, 0], lonlat[:, 1]), 3)
        kdask.assign_zones(pts[:1000], index).compute()  # workers import kelvor
        t_dask, got = best_of(lambda: kdask.assign_zones(pts, index).compute(), 3)
    row(f"kelvor.dask on {workers} workers vs one process", t_dask / n, t_single / n,
        "kelvor.dask.locate_lonlat, one process", (n, n), float(np.mean(got == want)))

# ---- the fractal world --------------------------------------------------------------

def fractal_rings(rng, centres, radii, corners, levels, roughness=0.25):
    """len(centres) coastline-like rings of corners * 2**levels vertices, (k, n, 2):
    a coarse ring of `corners` points at 0.7 to 1.3 times the radius, each edge
    then split `levels` times at its midpoint, moved across the edge by up to
    `roughness` times its length either way (all rings of one call at once)."""
    k = len(centres)
    angle = 2 * np.pi * (np.arange(corners) + 0.4 * rng.uniform(0, 1, (k, corners))) / corners
    r = radii[:, None] * (0.7 + 0.6 * rng.uniform(0, 1, (k, corners)))
    x = centres[:, :1] + r * np.cos(angle)
    y = centres[:, 1:] + r * np.sin(angle)
    for _ in range(levels):
        dx = np.roll(x, -1, axis=1) - x
        dy = np.roll(y, -1, axis=1) - y
        shift = roughness * rng.uniform(-1, 1, x.shape)
        mx, my = x + dx / 2 - dy * shift, y + dy / 2 + dx * shift
        x = np.stack([x, mx], axis=2).reshape(k, -1)
        y = np.stack([y, my], axis=2).reshape(k, -1)
    # on the 1/100000-degree grid, so that kelvor and GEOS see the same outlines
    return np.round(np.stack([x, y], axis=2), 5)


def world_geometries(rng, quick):
    """One shapely MultiPolygon per cell of a grid over lon -180..180, lat -90..90:
    a coastline (16 * 2**L vertices, L in 9..12) with two lakes as holes, and
    100 to 300 islands of 16 to 128 vertices at 1.4 to 1.9 coastline radii."""
    import shapely.geometry as sg

    cols, rows, levels, islands = (5, 4, (6, 8), (10, 30)) if quick else (25, 10, (9, 12),
                                                                          (100, 300))
    cell_w, cell_h = 360.0 / cols, 180.0 / rows
    radius = 0.22 * min(cell_w, cell_h)
    geoms, vertices = [], []
    for row in range(rows):
        for col in range(cols):
            c = np.array([[-180 + (col + 0.5 + 0.05 * rng.uniform(-1, 1)) * cell_w,
                           -90 + (row + 0.5 + 0.05 * rng.uniform(-1, 1)) * cell_h]])
            coast = fractal_rings(rng, c, np.array([radius]), 16,
                                  int(rng.integers(levels[0], levels[1], endpoint=True)))[0]
            lakes = fractal_rings(rng, c + 0.3 * radius * rng.uniform(-1, 1, (2, 2)),
                                  np.full(2, 0.08 * radius), 16, 6)
            parts = [sg.Polygon(coast, list(lakes))]
            vertices += [coast, *lakes]
            k = int(rng.integers(islands[0], islands[1], endpoint=True))
            angle = rng.uniform(0, 2 * np.pi, k)
            dist = radius * rng.uniform(1.4, 1.9, k)
            centres = c + np.stack([dist * np.cos(angle), dist * np.sin(angle)], axis=1)
            sizes, level = rng.uniform(0.02, 0.2, k), rng.integers(0, 3, k, endpoint=True)
            for lv in range(4):
                pick = np.flatnonzero(level == lv)
                if pick.size:
                    rings = fractal_rings(rng, centres[pick], sizes[pick], 16, lv)
                    parts += [sg.Polygon(r) for r in rings]
                    vertices += list(rings)
            geoms.append(sg.MultiPolygon(parts))
    return geoms, vertices


WORLD = []  # lines printed above the table


def world_case(rng, n, quick):
    import geopandas

    t = time.perf_counter()
    geoms, vertices = world_geometries(rng, quick)
    t_make = time.perf_counter() - t
    zones = geopandas.GeoDataFrame({"zone": np.arange(len(geoms), dtype=np.int32)},
                                   geometry=geopandas.GeoSeries(geoms))
    n_vertices = sum(len(v) for v in vertices)
    t = time.perf_counter()
    index = kelvor.ZoneIndex.from_geometries(zones.geometry)
    t_build = time.perf_counter() - t
    rebuild, parts = index.__reduce__()  # the packed rings: the index build alone
    t = time.perf_counter()
    rebuild(*parts)
    t_core = time.perf_counter() - t
    WORLD.append(f"world: {len(geoms)} areas, {n_vertices:,} vertices, {len(vertices):,} rings "
                 f"(made in {t_make:.1f} s); ZoneIndex.from_geometries {t_build:.2f} s "
                 f"(the index build alone {t_core:.2f} s{'' if quick else '; target < 3 s'}), "
                 f"{index.memory_bytes / 1e6:.0f} MB")

    uniform = np.round(np.stack([rng.uniform(-180, 180, n), rng.uniform(-90, 90, n)], 1), 5)
    ends = np.cumsum([len(v) for v in vertices])
    pick = rng.integers(0, n_vertices, n)
    ring = np.searchsorted(ends, pick, side="right")
    near = np.stack([vertices[r][k - (ends[r] - len(vertices[r]))]
                     for r, k in zip(ring.tolist(), pick.tolist())])
    near = np.round(near + rng.uniform(-0.02, 0.02, near.shape), 5)

    for label, lonlat in (("uniform", uniform), ("near borders", near)):
        units = kelvor.to_units(lonlat)
        t, got = best_of(lambda: index.locate(units), 3)

        def sjoin(k):
            points = geopandas.GeoDataFrame(geometry=geopandas.points_from_xy(
                lonlat[:k, 0], lonlat[:k, 1]))
            joined = geopandas.sjoin(points, zones, how="left", predicate="within")
            zone = joined["zone"].fillna(kelvor.NO_ZONE).groupby(level=0).min()
            return zone.sort_index().to_numpy().astype(np.int64)

        m_base = min(20_000, sample_size(sjoin, n))
        t_base, want = best_of(lambda: sjoin(m_base), 1)
        row(f"world locate, {label}", t / n, t_base / m_base,
            "geopandas.sjoin within (points GeoDataFrame included)", (n, m_base),
            float(np.mean(got[:m_base] == want)))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--points", type=int, default=1_000_000)
    parser.add_argument("--quick", action="store_true", help="100,000 points")
    parser.add_argument("--workers", type=int, default=2)
    parser.add_argument("--budget", type=float, default=10.0,
                        help="seconds one measured call may take before it is sampled")
    parser.add_argument("--skip", nargs="*", default=[],
                        choices=["polygon", "zones", "dask", "world"])
    args = parser.parse_args()
    global BUDGET
    BUDGET = args.budget
    n = 100_000 if args.quick else args.points
    rng = np.random.default_rng(11)
    t0 = time.perf_counter()
    if "polygon" not in args.skip:
        polygon_cases(rng, n)
    rings = ids = None
    if "zones" not in args.skip or "dask" not in args.skip:
        rings, ids = zone_case(rng, n) if "zones" not in args.skip else (None, None)
    if "dask" not in args.skip:
        if rings is None:
            rings = [star_ring(rng, 500, 520_000, (i * 1_000_000, 0)) for i in range(20)]
            ids = np.arange(20, dtype=np.int32)
        dask_case(rng, n, rings, ids, args.workers)
    if "world" not in args.skip:
        world_case(rng, n, args.quick)

    wraps = "" if not WRAPS else (" compatible rule can wrap (misclassify) on: "
                                  + ", ".join(WRAPS) + ";")
    print(f"\n{n:,} points per case;{wraps} kelvor {kelvor.__version__}, {os.cpu_count()} cores; "
          f"total {time.perf_counter() - t0:.0f} s\n")
    for line in WORLD:
        print(line + "\n")
    head = (f"{'case':58} {'kelvor':>9} {'ns/pt':>8} {'baseline':>8} {'ns/pt':>9} "
            f"{'speed-up':>8} {'agree':>8}")
    print(head)
    print("-" * len(head))
    for case, ours, base, base_name, (m, m_base), agree in ROWS:
        a = f"{agree * 100:.3f}%" if agree is not None else "-"
        print(f"{case:58} {m:9,d} {ours * 1e9:8.1f} {m_base:8,d} {base * 1e9:9.1f} "
              f"{base / ours:7.1f}x {a:>8}")
    print("\nkelvor / baseline: points measured (fewer than asked when one call would "
          f"exceed {args.budget:.0f} s),\nns/pt: nanoseconds per point; speed-up: baseline "
          "time per point / kelvor time per point.")
    print("\nbaselines: " + "; ".join(sorted({r[3] for r in ROWS})))


if __name__ == "__main__":
    main()
