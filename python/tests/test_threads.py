"""Calls release the GIL and share prepared objects between threads: the
answers of concurrent calls are those of one call alone."""

from concurrent.futures import ThreadPoolExecutor

import numpy as np

import kelvor
from conftest import star_ring


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
    assert np.array_equal(np.concatenate([r[0] for r in results]), serial[0])
    assert np.array_equal(np.concatenate([r[1] for r in results]), serial[1])
    assert np.array_equal(np.concatenate([r[2] for r in results]), serial[2])
