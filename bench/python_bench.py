#!/usr/bin/env python3
"""Kelvor for Python against shapely and geopandas, and the Dask path against
one process. Prints one small table; all ratios come from this one run.

    PYTHONPATH=build/release/python /usr/bin/python3 bench/python_bench.py

(or with the package installed, no PYTHONPATH). --points scales every case;
--quick runs 100,000 points for a smoke test. Nothing here asserts a time.

Cases:
  * Polygon.contains (compatible and exact rule) over uniform points in the
    ring's bounding box, rings of 1,000 and 50,000 vertices (star-shaped
    outlines), against shapely.vectorized.contains on the same ring/points;
  * ZoneIndex.locate over about 200 country-sized zones (1/100000-degree
    units, ~5 degrees across) against geopandas.sjoin(predicate="within");
  * kelvor.dask.assign_zones on a LocalCluster of 2 worker processes against
    the single-process call (cluster start-up excluded).
The "agree" column is the share of points where both sides answer alike
(boundary rules differ: kelvor is half-open even-odd, shapely is closed).
"""

import argparse
import os
import sys
import time

import numpy as np

import kelvor


def star_ring(rng, n, radius, centre=(0, 0), jitter=0.01):
    """A star-shaped outline: a smoothly wavy radius (coast-like bays and
    capes) with a little vertex noise, so that edges stay short as in real
    outlines."""
    angles = np.sort(rng.uniform(0, 2 * np.pi, n))
    phase = rng.uniform(0, 2 * np.pi, 3)
    wave = (1 + 0.25 * np.sin(3 * angles + phase[0]) + 0.1 * np.sin(11 * angles + phase[1])
            + 0.04 * np.sin(37 * angles + phase[2]))
    r = radius * wave / 1.4 * (1 - jitter * rng.uniform(0, 1, n))
    ring = np.stack([centre[0] + r * np.cos(angles), centre[1] + r * np.sin(angles)], axis=1)
    return np.ascontiguousarray(np.round(ring).astype(np.int32))


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
    client = kdask.connect(workers=workers)
    try:
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
    finally:
        kdask.close(client)
    row(f"kelvor.dask on {workers} workers vs one process", t_dask / n, t_single / n,
        "kelvor.dask.locate_lonlat, one process", (n, n), float(np.mean(got == want)))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--points", type=int, default=1_000_000)
    parser.add_argument("--quick", action="store_true", help="100,000 points")
    parser.add_argument("--workers", type=int, default=2)
    parser.add_argument("--budget", type=float, default=10.0,
                        help="seconds one measured call may take before it is sampled")
    parser.add_argument("--skip", nargs="*", default=[], choices=["polygon", "zones", "dask"])
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

    wraps = "" if not WRAPS else (" compatible rule can wrap (misclassify) on: "
                                  + ", ".join(WRAPS) + ";")
    print(f"\n{n:,} points per case;{wraps} kelvor {kelvor.__version__}, {os.cpu_count()} cores; "
          f"total {time.perf_counter() - t0:.0f} s\n")
    head = (f"{'case':58} {'kelvor':>8} {'Mpt/s':>8} {'baseline':>8} {'Mpt/s':>8} "
            f"{'speed-up':>8} {'agree':>8}")
    print(head)
    print("-" * len(head))
    for case, ours, base, base_name, (m, m_base), agree in ROWS:
        a = f"{agree * 100:.3f}%" if agree is not None else "-"
        print(f"{case:58} {m:8,d} {1e-6 / ours:8.2f} {m_base:8,d} {1e-6 / base:8.2f} "
              f"{base / ours:7.1f}x {a:>8}")
    print("\nkelvor / baseline: points measured (fewer than asked when one call would "
          f"exceed {args.budget:.0f} s),\nMpt/s: million points per second; speed-up: baseline "
          "time per point / kelvor time per point.")
    print("\nbaselines: " + "; ".join(sorted({r[3] for r in ROWS})))


if __name__ == "__main__":
    main()
