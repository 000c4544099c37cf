"""The Dask path against the single-process call, on a LocalCluster of two
worker processes, and the GeoJSON reader (the command line is in
test_dask_cli.py)."""

import json

import numpy as np
import pytest

import kelvor
from conftest import lonlat_star

pd = pytest.importorskip("pandas")
dd = pytest.importorskip("dask.dataframe")
da = pytest.importorskip("dask.array")
pytest.importorskip("distributed")
from kelvor import dask as kdask  # noqa: E402  (after the skips: it needs nothing, its tests do)


def zones_geojson(rng):
    features = [{"type": "Feature", "properties": {"code": 5},
                 "geometry": {"type": "Point", "coordinates": [0, 0]}}]
    for k in range(24):
        centre = (rng.uniform(-10, 30), rng.uniform(35, 60))
        rings = [lonlat_star(rng, centre, rng.uniform(0.5, 4), 40)]
        geometry = {"type": "Polygon", "coordinates": rings}
        if k % 6 == 0:
            other = [lonlat_star(rng, (centre[0] + 5, centre[1] - 3), 1.0, 12)]
            geometry = {"type": "MultiPolygon", "coordinates": [rings, other]}
        features.insert(-1, {"type": "Feature", "properties": {"code": 1000 + 7 * k},
                             "geometry": geometry})
    return {"type": "FeatureCollection", "features": features}


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
    frame.loc[:9, "lat"] = np.nan  # fixes without a position: written as empty fields
    csv = tmp / "fixes.csv"
    frame.to_csv(csv, index=False)
    return tmp, zones_path, csv


def degrees(texts):
    """Coordinates as Python's float() reads them (correctly rounded); NaN for none."""
    return np.array([float(t) if t else np.nan for t in texts])


def test_csv_pipeline_on_two_workers_equals_single_process(dask_cluster, table):
    tmp, zones_path, csv = table
    out = tmp / "out.csv"
    summary = kdask.run(str(csv), str(zones_path), str(out), id_property="code",
                        blocksize="1MB", keep_invalid=True, client=dask_cluster)
    result = pd.read_csv(out, dtype={"zone": "Int32", "lon": str, "lat": str},
                         keep_default_na=False, na_values={"zone": [""]})
    source = pd.read_csv(csv, dtype=str, keep_default_na=False)
    index = kdask.build_index(str(zones_path), "code")
    want = kdask.locate_lonlat(index, degrees(source["lon"]), degrees(source["lat"]))
    assert summary.fixes == len(source) == len(result)
    assert summary.invalid == 10 and summary.assigned == len(source) - 10
    assert summary.in_zone == (want != kelvor.NO_ZONE).sum() > 10_000  # the zones are hit
    assert result["fix"].tolist() == source["fix"].astype(int).tolist()
    assert result["lat"].tolist() == source["lat"].tolist()  # text written back as read
    assert np.array_equal(result["zone"].fillna(kelvor.NO_ZONE).to_numpy(np.int32), want)
    assert result["zone"][:10].isna().all()


def test_array_path_equals_single_process(dask_cluster, table):
    _, zones_path, csv = table
    source = pd.read_csv(csv)
    pts = source[["lon", "lat"]].to_numpy()
    index = kdask.build_index(str(zones_path))
    got = kdask.assign_zones(da.from_array(pts, chunks=(70_000, 2)), index).compute(
        scheduler=dask_cluster.client)
    assert got.dtype == np.int32
    assert np.array_equal(got, kdask.locate_lonlat(index, pts[:, 0], pts[:, 1]))


def test_frame_path_has_a_nullable_zone_column(dask_cluster, table):
    _, zones_path, csv = table
    index = kdask.build_index(str(zones_path))
    frame = dd.read_csv(csv, blocksize="2MB")
    got = kdask.assign_zones(frame, index).compute(scheduler=dask_cluster.client)
    source = pd.read_csv(csv)
    want = kdask.locate_lonlat(index, source["lon"], source["lat"])
    assert str(got["zone"].dtype) == "Int32"
    assert np.array_equal(got["zone"].isna().to_numpy(), want == kelvor.NO_ZONE)
    assert np.array_equal(got["zone"].fillna(kelvor.NO_ZONE).to_numpy(np.int32), want)


@pytest.mark.parametrize("lon, lat, valid", [
    (180.0, 90.0, True), (-180.0, -90.0, True), (180.000001, 0.0, False), (0.0, -90.5, False),
    (500.0, 0.0, False), (np.nan, 0.0, False), (0.0, np.inf, False), (-np.inf, 0.0, False),
])
def test_fixes_without_a_position_are_in_no_zone(lon, lat, valid):
    world = kelvor.ZoneIndex([[[-18000000, -9000000], [18000001, -9000000], [18000001, 9000001],
                               [-18000000, 9000001]]], [1], rule="exact")
    assert kdask.valid_lonlat(np.array([lon]), np.array([lat])).tolist() == [valid]
    assert kdask.locate_lonlat(world, [lon], [lat]).tolist() == [1 if valid else kelvor.NO_ZONE]


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
    compatible = kdask.build_index(LOAD_DOC, "id", rule="compatible")
    assert kdask.locate_lonlat(compatible, [2.9], [2.1]).tolist() == [kelvor.NO_ZONE]


def test_bad_coordinates_name_the_feature():
    doc = {"type": "FeatureCollection", "features": [
        {"type": "Feature", "geometry": None},
        {"type": "Feature", "geometry": {"type": "Polygon", "coordinates": [
            [[0, 0], [1, 0], [1e9, 1]]]}}]}
    with pytest.raises(kdask.InputError, match="^geojson: feature 1: .*int32"):
        kdask.build_index(doc)


def test_cluster_join_counts_holes_and_multipolygon_parts(dask_cluster, tmp_path):
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
    summary = kdask.run(str(csv), str(zones_path), str(out), id_property="code", rule="exact",
                        blocksize=64, client=dask_cluster)
    zones = out.read_text().splitlines()
    assert summary == kdask.Summary(fixes=7, assigned=7, in_zone=4, invalid=0, zones=2,
                                    wrapping_zones=0)
    #                    land   lake   lake  part 1  part 2 between land
    assert [line.rsplit(",", 1)[1] for line in zones[1:]] == ["70", "", "", "80", "80", "", "70"]


@pytest.mark.parametrize("bad", [{"id": "x"}, {"id": 2**31}, {"id": kelvor.NO_ZONE}, {}])
def test_load_zones_refuses_bad_ids(bad):
    doc = {"type": "FeatureCollection", "features": [{"type": "Feature", "properties": bad,
           "geometry": {"type": "Polygon", "coordinates": [[[0, 0], [1, 0], [1, 1], [0, 0]]]}}]}
    with pytest.raises(kdask.InputError, match="^geojson: feature 0: "):
        kdask.load_zones(doc, "id")
