"""The Dask path against the single-process call, on a LocalCluster of two
worker processes."""

import json

import numpy as np
import pytest

import kelvor
from kelvor import dask as kdask

pd = pytest.importorskip("pandas")
dd = pytest.importorskip("dask.dataframe")
da = pytest.importorskip("dask.array")
distributed = pytest.importorskip("distributed")


def star_lonlat(rng, centre, radius, n):
    angles = np.sort(rng.uniform(0, 2 * np.pi, n))
    r = radius * (1 - 0.5 * rng.uniform(0, 1, n))
    ring = np.round(np.stack([centre[0] + r * np.cos(angles), centre[1] + r * np.sin(angles)], 1), 6)
    return np.concatenate([ring, ring[:1]]).tolist()  # GeoJSON rings are closed


def zones_geojson(rng):
    features = [{"type": "Feature", "properties": {"code": 5},
                 "geometry": {"type": "Point", "coordinates": [0, 0]}}]
    for k in range(24):
        centre = (rng.uniform(-10, 30), rng.uniform(35, 60))
        rings = [star_lonlat(rng, centre, rng.uniform(0.5, 4), 40)]
        geometry = {"type": "Polygon", "coordinates": rings}
        if k % 6 == 0:
            other = [star_lonlat(rng, (centre[0] + 5, centre[1] - 3), 1.0, 12)]
            geometry = {"type": "MultiPolygon", "coordinates": [rings, other]}
        features.insert(-1, {"type": "Feature", "properties": {"code": 1000 + 7 * k},
                             "geometry": geometry})
    return {"type": "FeatureCollection", "features": features}


@pytest.fixture(scope="module")
def client():
    c = kdask.connect(workers=2)
    yield c
    kdask.close(c)


@pytest.fixture(scope="module")
def table(tmp_path_factory):
    rng = np.random.default_rng(7)
    tmp = tmp_path_factory.mktemp("dask")
    zones = zones_geojson(rng)
    zones_path = tmp / "zones.geojson"
    zones_path.write_text(json.dumps(zones))
    n = 300_000
    frame = pd.DataFrame({"fix": np.arange(n),
                          "lon": np.round(rng.uniform(-15, 40, n), 6),
                          "lat": np.round(rng.uniform(30, 65, n), 6)})
    frame.loc[:9, "lat"] = np.nan  # fixes without a position: no zone
    csv = tmp / "fixes.csv"
    frame.to_csv(csv, index=False)
    return tmp, zones_path, csv


def test_csv_pipeline_on_two_workers_equals_single_process(client, table):
    tmp, zones_path, csv = table
    out = tmp / "out.csv"
    rows = kdask.run(str(csv), str(zones_path), str(out), id_property="code",
                     blocksize="1MB", client=client)
    result = pd.read_csv(out)
    source = pd.read_csv(csv)  # the same parser the workers used
    index = kdask.build_index(str(zones_path), "code")
    want = kdask.locate_lonlat(index, source["lon"].to_numpy(), source["lat"].to_numpy())
    assert rows == len(source) == len(result)
    assert result["fix"].tolist() == source["fix"].tolist()
    assert np.array_equal(result["zone"].to_numpy(), want)
    assert (want[:10] == kelvor.NO_ZONE).all()
    assert (want != kelvor.NO_ZONE).sum() > 10_000  # the zones are actually hit


def test_array_path_equals_single_process(client, table):
    _, zones_path, csv = table
    source = pd.read_csv(csv)
    pts = np.ascontiguousarray(source[["lon", "lat"]].to_numpy())
    index = kdask.build_index(str(zones_path))
    got = kdask.assign_zones(da.from_array(pts, chunks=(70_000, 2)), index).compute()
    assert got.dtype == np.int32
    assert np.array_equal(got, kdask.locate_lonlat(index, pts[:, 0], pts[:, 1]))


LOAD_DOC = {"type": "FeatureCollection", "features": [
    {"type": "Feature", "properties": {"id": "12"}, "geometry": {
        "type": "Polygon", "coordinates": [
            [[0.000005, 0.0], [1.0, 0.0], [1.0, 1.0], [0.0, 1.0], [0.000005, 0.0]],
            [[0.2, 0.2], [0.4, 0.2], [0.4, 0.4], [0.2, 0.2]]]}},  # a hole
    {"type": "Feature", "properties": {"id": 3}, "geometry": None},
    {"type": "Feature", "properties": {"id": 4}, "geometry": {
        "type": "MultiPolygon", "coordinates": [
            [[[2, 2], [3, 2], [3, 3], [2, 2]]], [[[5, 5], [6, 5], [6, 6], [5, 5]]]]}},
    {"type": "Feature", "properties": {"id": 5}, "geometry": {
        "type": "LineString", "coordinates": [[0, 0], [9, 9]]}},
]}


def test_load_zones_geometries_and_ids():
    geometries, ids = kdask.load_zones(LOAD_DOC, "id")
    assert ids.dtype == np.int32 and ids.tolist() == [12, 4]  # one id per feature
    assert [g["type"] for g in geometries] == ["Polygon", "MultiPolygon"]
    _, order_ids = kdask.load_zones(LOAD_DOC)
    assert order_ids.tolist() == [0, 2]  # feature positions
    index = kdask.build_index(LOAD_DOC, "id", rule="exact")
    assert index.rings_per_zone.tolist() == [2, 2] and index.holes.tolist() == [False, True,
                                                                                   False, False]
    assert index.rings[0][0].tolist() == [1, 0]  # half a unit rounds away from zero
    assert index.rings[3][1].tolist() == [600000, 500000]
    got = kdask.locate_lonlat(index, [0.3, 0.7, 2.9, 5.9, 7.0, np.nan, 0.35],
                              [0.25, 0.3, 2.1, 5.1, 7.0, 0.0, 0.22])
    assert got.tolist() == [kelvor.NO_ZONE, 12, 4, 4, kelvor.NO_ZONE, kelvor.NO_ZONE,
                            kelvor.NO_ZONE]
    # The triangle's one-degree diagonal (100,000 units in both axes) wraps
    # the compatible crossing product: (2.9, 2.1) is misplaced by that rule.
    assert kelvor.ring_can_wrap(index.rings[2])
    compatible = kdask.build_index(LOAD_DOC, "id")
    assert kdask.locate_lonlat(compatible, [2.9], [2.1]).tolist() == [kelvor.NO_ZONE]


def test_bad_coordinates_name_the_feature():
    doc = {"type": "FeatureCollection", "features": [
        {"type": "Feature", "geometry": None},
        {"type": "Feature", "geometry": {"type": "Polygon", "coordinates": [
            [[0, 0], [1, 0], [1e9, 1]]]}}]}
    with pytest.raises(ValueError, match="^feature 1: .*int32"):
        kdask.build_index(doc)


def test_cluster_join_counts_holes_and_multipolygon_parts(client, tmp_path):
    lake = [[0.4, 0.4], [0.6, 0.4], [0.6, 0.6], [0.4, 0.6], [0.4, 0.4]]
    doc = {"type": "FeatureCollection", "features": [
        {"type": "Feature", "properties": {"code": 70}, "geometry": {"type": "Polygon",
         "coordinates": [[[0, 0], [1, 0], [1, 1], [0, 1], [0, 0]], lake]}},
        {"type": "Feature", "properties": {"code": 80}, "geometry": {"type": "MultiPolygon",
         "coordinates": [[[[2, 0], [3, 0], [3, 1], [2, 1], [2, 0]]],
                         [[[5, 0], [6, 0], [6, 1], [5, 1], [5, 0]]]]}},
    ]}
    zones_path = tmp_path / "zones.geojson"
    zones_path.write_text(json.dumps(doc))
    fixes = pd.DataFrame({"lon": [0.1, 0.5, 0.45, 2.5, 5.5, 4.0, 0.9],
                          "lat": [0.1, 0.5, 0.55, 0.5, 0.5, 0.5, 0.9]})
    csv = tmp_path / "fixes.csv"
    fixes.to_csv(csv, index=False)
    out = tmp_path / "out.csv"
    rows = kdask.run(str(csv), str(zones_path), str(out), id_property="code", rule="exact",
                     blocksize=64, client=client)
    zones = pd.read_csv(out)["zone"].tolist()
    assert rows == 7
    #            land  lake       lake       part 1  part 2  between        land
    assert zones == [70, kelvor.NO_ZONE, kelvor.NO_ZONE, 80, 80, kelvor.NO_ZONE, 70]


@pytest.mark.parametrize("bad", [{"id": "x"}, {"id": 2**31}, {"id": kelvor.NO_ZONE}, {}])
def test_load_zones_refuses_bad_ids(bad):
    doc = {"type": "FeatureCollection", "features": [{"type": "Feature", "properties": bad,
           "geometry": {"type": "Polygon", "coordinates": [[[0, 0], [1, 0], [1, 1], [0, 0]]]}}]}
    with pytest.raises(ValueError):
        kdask.load_zones(doc, "id")
