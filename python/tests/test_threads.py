"""The long calls let go of the GIL, and shared objects answer concurrent
calls as they answer one call alone."""

import threading
import time
from concurrent.futures import ThreadPoolExecutor

import numpy as np
import pytest

import kelvor
from conftest import star_ring

LONG = 0.4  # seconds each measured call is sized to take


def longest_stall(call):
    """Runs call() while another Python thread counts milliseconds; returns the
    longest stretch of the call in which that thread could not run, and the
    call's duration. With the GIL held the whole call is one stretch."""
    stamps, done = [], threading.Event()

    def spin():
        last = time.perf_counter()
        stamps.append(last)
        while not done.is_set():
            now = time.perf_counter()
            if now - last >= 0.001:
                stamps.append(now)
                last = now

    spinner = threading.Thread(target=spin)
    spinner.start()
    while not stamps:
        time.sleep(0.001)
    start = time.perf_counter()
    call()
    end = time.perf_counter()
    done.set()
    spinner.join()
    edges = [start] + [s for s in stamps if start < s < end] + [end]
    return max(b - a for a, b in zip(edges, edges[1:])), end - start


def sized(make, n=20_000):
    """make(n) -> call, with n grown until the call takes about LONG seconds."""
    took = 0.0
    while took < LONG / 4 and n < 50_000_000:
        n *= 4
        start = time.perf_counter()
        make(n)()
        took = time.perf_counter() - start
    return make(max(1, int(n * LONG / max(took, 1e-6))))


def points(n):
    return np.random.default_rng(n).integers(-110_000, 110_000, (n, 2), dtype=np.int32)


RING = star_ring(np.random.default_rng(2), 2000, 100_000, jitter=0.01)
CALLS = {
    "element-wise loop": lambda n: lambda pts=points(n // 50):
        kelvor.polygon_contain_point(RING, pts),
    "Polygon.contains": lambda n: lambda pg=kelvor.Polygon(RING), pts=points(n): pg.contains(pts),
    "ZoneIndex.locate": lambda n: lambda z=kelvor.ZoneIndex([RING, RING // 2], [1, 2]),
                                         pts=points(n): z.locate(pts),
    "Polygon build": lambda n: lambda ring=star_ring(np.random.default_rng(3), n // 20, 10**7,
                                                     jitter=0.01): kelvor.Polygon(ring, "exact"),
}


@pytest.mark.parametrize("name", CALLS)
def test_python_threads_run_during_long_calls(name):
    stall, took = longest_stall(sized(CALLS[name]))
    assert took > LONG / 4, f"{name}: the call took only {took:.3f} s"
    assert stall < took / 2, f"{name}: no other thread ran for {stall:.3f} of {took:.3f} s"


def test_concurrent_queries_on_shared_objects_match_serial(rng):
    ring = star_ring(rng, 2000, 100000)
    pts = rng.integers(-110000, 110000, (60_000, 2), dtype=np.int32)
    pg = kelvor.Polygon(ring, "exact")
    index = kelvor.ZoneIndex([ring, ring // 2], [2, 1])
    serial = (pg.contains(pts), index.locate(pts), kelvor.polygon_contain_point(ring, pts))
    chunks = np.array_split(pts, 8)

    def work(k):
        part = chunks[k]
        return pg.contains(part), index.locate(part), kelvor.polygon_contain_point(ring, part)

    with ThreadPoolExecutor(4) as pool:
        results = list(pool.map(work, range(8)))
    for k, name in enumerate(["Polygon.contains", "ZoneIndex.locate", "polygon_contain_point"]):
        assert np.array_equal(np.concatenate([r[k] for r in results]), serial[k]), name
