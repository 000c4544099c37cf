"""Polygon.from_geometry and ZoneIndex.from_geometries: every accepted source
(shapely, GeoSeries, GeoDataFrame, __geo_interface__, plain GeoJSON mappings)
read to the same rings, the rounding of kelvor.to_units, the direct GEOS reads
against shapely's public coordinates, and errors naming the position."""

import pickle
import re

import numpy as np
import pytest

import kelvor
from kelvor import _areas
from conftest import area_model, star_ring

try:
    import shapely.geometry as sg
except ImportError:  # the GeoJSON paths are tested all the same
    sg = None
try:
    import geopandas
except ImportError:
    geopandas = None
needs_shapely = pytest.mark.skipif(sg is None, reason="needs shapely")
needs_geopandas = pytest.mark.skipif(geopandas is None or sg is None, reason="needs geopandas")


def lonlat_ring(rng, n, centre, radius):
    """A closed star ring in degrees whose values fall between units and on halves."""
    r = star_ring(rng, n, radius * 100000, centre=(centre[0] * 100000, centre[1] * 100000))
    ring = r / 100000.0 + rng.choice([0.0, 0.000005, -0.000005, 0.0000049, 0.0000051], r.shape)
    return np.concatenate([ring, ring[:1]])


class GeoThing:
    """Not a shapely object: only __geo_interface__."""

    def __init__(self, mapping):
        self.__geo_interface__ = mapping


# A geometry here is ("Polygon", [outer, hole, ...]) or ("MultiPolygon", [polygon, ...])
# of float64 (n, 2) rings in degrees, None, or ("Polygon", []) for an empty one;
# each source below turns it into what users pass.
def as_mapping(g, seq=list):
    if g is None:
        return None
    kind, coords = g
    depth = 2 if kind == "Polygon" else 3
    def nest(x, d):
        return seq(seq(map(float, p)) for p in x) if d == 1 else seq(nest(v, d - 1) for v in x)
    return {"type": kind, "coordinates": nest(coords, depth)}


def as_shapely(g):
    if g is None:
        return None
    kind, coords = g
    if kind == "Polygon":
        return sg.Polygon(coords[0], coords[1:]) if coords else sg.Polygon()
    return sg.MultiPolygon([sg.Polygon(p[0], p[1:]) for p in coords])


SOURCES = {
    "mapping": as_mapping,
    "mapping_of_tuples": lambda g: as_mapping(g, tuple),
    "geo_interface": lambda g: None if g is None else GeoThing(as_mapping(g)),
    "shapely": pytest.param(as_shapely, marks=needs_shapely),
}


@pytest.fixture
def shapes(rng):
    """Geometries and the nested int32 units each must give."""
    outer = lonlat_ring(rng, 40, (4.9, 52.37), 0.3)
    hole = lonlat_ring(rng, 12, (4.9, 52.37), 0.08)
    islands = [lonlat_ring(rng, 9, (5.5, 52.9), 0.05), lonlat_ring(rng, 20, (5.2, 53.1), 0.1)]
    units = kelvor.to_units
    return {
        "polygon_with_hole": (("Polygon", [outer, hole]), [units(outer), units(hole)]),
        "multipolygon": (("MultiPolygon", [[outer, hole], [islands[0]], [islands[1]]]),
                         [[units(outer), units(hole)], [units(islands[0])], [units(islands[1])]]),
        "plain_polygon": (("Polygon", [islands[1]]), [units(islands[1])]),
    }


@pytest.mark.parametrize("source", SOURCES.values(), ids=SOURCES.keys())
@pytest.mark.parametrize("kind", ["polygon_with_hole", "multipolygon", "plain_polygon"])
def test_from_geometry_reads_rings_as_to_units(shapes, kind, source, rng):
    geom, nested = shapes[kind]
    pg = kelvor.Polygon.from_geometry(source(geom))
    want = kelvor.Polygon(nested, "exact")
    assert pg.rule == "exact"
    assert len(pg.rings) == len(want.rings), kind
    for a, b in zip(pg.rings, want.rings):
        assert np.array_equal(a, b), kind
    assert pg.holes.tolist() == want.holes.tolist()
    lo, hi = np.array(pg.bound[:2]), np.array(pg.bound[2:])
    pts = np.concatenate([np.concatenate(pg.rings) + d for d in (0, 1, -1)] +
                         [rng.integers(lo, hi, (300, 2), endpoint=True)])
    pts = np.ascontiguousarray(pts, np.int32)
    assert np.array_equal(pg.contains(pts), area_model(pg.rings, pg.holes, pts, "exact"))


@pytest.mark.parametrize("scale, values, units", [
    (1, [2.5, -2.5, 2.4999999, -0.5, 0.5, -0.0, 1e-300, 3.0], [3, -3, 2, -1, 1, 0, 0, 3]),
    (10, [0.05, -0.05, 0.15, 214748364.7, -214748364.8],
     [1, -1, 2, 2147483647, -2147483648]),
    (0.5, [3.0, -3.0, 5.0, 4.0], [2, -2, 3, 2]),
])
def test_scale_rounds_halves_away_from_zero(scale, values, units):
    coords = [[v, 0.0] for v in values]
    pg = kelvor.Polygon.from_geometry({"type": "Polygon", "coordinates": [coords]}, scale=scale)
    assert pg.rings[0][:, 0].tolist() == units


def test_default_scale_equals_to_units(rng):
    lon = np.concatenate([rng.uniform(-180, 180, 3000),
                          np.round(rng.uniform(-180, 180, 3000), 5) + 0.000005,
                          np.round(rng.uniform(-180, 180, 3000), 5) - 0.000005,
                          [21474.83647, -21474.83648, 0.000005, -0.000005, 179.999995]])
    lonlat = np.stack([lon, np.roll(lon, 7) / 2], 1)
    pg = kelvor.Polygon.from_geometry({"type": "Polygon", "coordinates": [lonlat.tolist()]})
    assert np.array_equal(pg.rings[0], kelvor.to_units(lonlat))


@pytest.mark.parametrize("source", SOURCES.values(), ids=SOURCES.keys())
def test_third_coordinate_is_ignored(shapes, source):
    (kind, coords), _ = shapes["polygon_with_hole"]
    flat = kelvor.Polygon.from_geometry(source((kind, coords)))
    with_z = (kind, [np.c_[r, np.full(len(r), z)] for r, z in zip(coords, (123.0, -7.0))])
    got = kelvor.Polygon.from_geometry(source(with_z))
    assert len(got.rings) == 2
    assert all(np.array_equal(a, b) for a, b in zip(got.rings, flat.rings))


@needs_shapely
def test_geos_reads_equal_public_coordinates(shapes):
    triangle = [(0, 0), (1, 0), (1, 1)]
    geoms = [as_shapely(g) for g, _ in shapes.values()] + [
        sg.Polygon(), sg.MultiPolygon(), None,
        sg.MultiPolygon([sg.Polygon(triangle),
                         sg.Polygon(triangle, [[(0.2, 0.1), (0.5, 0.1), (0.5, 0.3)]])]),
        sg.Polygon([(0, 0, 1), (1, 0, 2), (1, 1, 3)])]
    if _areas._geos() is None:
        pytest.skip("direct GEOS reads need shapely 1.x on GEOS 3.10 or later")
    fast = _areas.geometry_areas(geoms, str, 100000.0)
    _areas.USE_GEOS = False
    try:
        slow = _areas.geometry_areas(geoms, str, 100000.0)
    finally:
        _areas.USE_GEOS = True
    for name, a, b in zip(fast._fields, fast, slow):
        assert a.dtype == b.dtype and np.array_equal(a, b), name


@pytest.fixture
def zone_geoms(shapes):
    poly, _ = shapes["polygon_with_hole"]
    multi, _ = shapes["multipolygon"]
    far = ("Polygon", [np.array([(20, 20), (21, 20), (21, 21), (20, 21)], float)])
    return [multi, None, poly, ("Polygon", []), far, ("MultiPolygon", [])]


CONTAINERS = {
    "mappings": lambda gs: [as_mapping(g) for g in gs],
    "geo_interfaces": lambda gs: [None if g is None else GeoThing(as_mapping(g)) for g in gs],
    "tuple_of_mappings": lambda gs: tuple(as_mapping(g, tuple) for g in gs),
    "generator": lambda gs: (as_mapping(g) for g in gs),
    "shapely_list": pytest.param(lambda gs: [as_shapely(g) for g in gs], marks=needs_shapely),
    "geoseries": pytest.param(lambda gs: geopandas.GeoSeries(
        [as_shapely(g) for g in gs], index=range(100, 100 + len(gs))), marks=needs_geopandas),
    "geodataframe": pytest.param(lambda gs: geopandas.GeoDataFrame(
        {"name": list("abcdef"), "shape": [as_shapely(g) for g in gs]}, geometry="shape",
        index=list("uvwxyz")), marks=needs_geopandas),
}


@pytest.mark.parametrize("container", CONTAINERS.values(), ids=CONTAINERS.keys())
def test_from_geometries_every_container_gives_the_same_index(zone_geoms, container):
    index = kelvor.ZoneIndex.from_geometries(container(zone_geoms))
    assert index.rule == "exact" and len(index) == 6
    assert index.ids.tolist() == [0, 1, 2, 3, 4, 5]
    assert index.rings_per_zone.tolist() == [4, 0, 2, 0, 1, 0]
    # Zone by zone, as Polygon.from_geometry reads each alone.
    pts = np.concatenate([np.concatenate(index.rings) + d for d in (0, 1, -1, 3)])
    probes = [[5.0, 52.37], [20.5, 20.5], [5.5, 52.9], [0.0, 0.0], [4.9, 52.37]]
    pts = np.ascontiguousarray(np.concatenate([pts, kelvor.to_units(probes)]))
    want = np.full(len(pts), kelvor.NO_ZONE, np.int32)
    for zid in reversed(range(6)):
        want[kelvor.Polygon.from_geometry(as_mapping(zone_geoms[zid])).contains(pts)] = zid
    assert np.array_equal(index.locate(pts), want)
    got = index.locate(kelvor.to_units(probes))
    # the multipolygon (id 0) hides zone 2; its hole is in neither
    assert got.tolist() == [0, 4, 0, kelvor.NO_ZONE, kelvor.NO_ZONE]


def test_from_geometries_ids_scale_rule_and_pickle(zone_geoms):
    geoms = [as_mapping(g) for g in zone_geoms]
    ids = np.array([30, 31, -5, 33, 34, kelvor.NO_ZONE], np.int64)
    index = kelvor.ZoneIndex.from_geometries(geoms, ids=ids, scale=1000, rule="compatible")
    assert index.rule == "compatible" and index.ids.dtype == np.int32
    assert index.size == 5
    pts = np.array([[5000, 52370], [20500, 20500], [5500, 52900]], np.int32)
    assert index.locate(pts).tolist() == [-5, 34, 30]
    copy = pickle.loads(pickle.dumps(index))
    assert copy.locate(pts).tolist() == [-5, 34, 30] and copy.rule == "compatible"
    assert kelvor.ZoneIndex.from_geometries([]).locate(pts).tolist() == [kelvor.NO_ZONE] * 3
    pg = kelvor.Polygon.from_geometry(geoms[0], rule="compatible")
    copy_pg = pickle.loads(pickle.dumps(pg))
    assert copy_pg.holes.tolist() == pg.holes.tolist() == [False, True, False, False]
    assert kelvor.Polygon.from_geometry(None).rings == []
    assert kelvor.Polygon.from_geometry(geoms[3]).rings == []
    if sg is not None:
        assert kelvor.Polygon.from_geometry(sg.Polygon()).rings == []


def shapely_case(make, error, message):
    return pytest.param(make, error, message, marks=needs_shapely)


# (a function making the bad geometry, the error, what its message says)
BAD_POSITION = [
    shapely_case(lambda: sg.LineString([(0, 0), (1, 1)]), TypeError,
                 "expected a Polygon or MultiPolygon, got LineString"),
    shapely_case(lambda: sg.Point(0, 0), TypeError, "got Point"),
    shapely_case(lambda: sg.GeometryCollection([sg.Polygon([(0, 0), (1, 0), (1, 1)])]), TypeError,
                 "got GeometryCollection"),
    shapely_case(lambda: sg.LinearRing([(0, 0), (1, 0), (1, 1)]), TypeError, "got LinearRing"),
    shapely_case(lambda: sg.Polygon([(0, 0), (1, 0), (1, float("inf"))]), ValueError,
                 "NaN or infinite"),
    shapely_case(lambda: sg.Polygon([(0, 0), (1, 0), (1, -21474.83649)]), ValueError,
                 "beyond the int32 range"),
    shapely_case(lambda: sg.MultiPolygon([sg.Polygon([(0, 0), (1, 0), (1, 1)]),
                                          sg.Polygon([(0, 0), (1e6, 0), (1, 1)])]), ValueError,
                 "beyond the int32"),
    (lambda: {"type": "LineString", "coordinates": [[0, 0], [1, 1]]}, TypeError,
     "expected a Polygon or MultiPolygon, got LineString"),
    (lambda: {"type": "Feature", "geometry": None}, TypeError, "got Feature"),
    (lambda: {"coordinates": [[[0, 0], [1, 0], [1, 1]]]}, TypeError, "got None"),
    (lambda: 5, TypeError, "got int"),
    (lambda: "POLYGON ((0 0, 1 0, 1 1))", TypeError, "got str"),
    (lambda: GeoThing({"type": "Point", "coordinates": [0, 0]}), TypeError, "got Point"),
    (lambda: {"type": "Polygon"}, ValueError, "without 'coordinates'"),
    (lambda: {"type": "Polygon", "coordinates": [[[0, 0], [1], [1, 1]]]}, ValueError, "positions"),
    (lambda: {"type": "Polygon", "coordinates": [[0, 0, 1]]}, ValueError, "positions"),
    (lambda: {"type": "MultiPolygon", "coordinates": [5]}, ValueError, "nested lists"),
    (lambda: {"type": "Polygon", "coordinates": [[[0, 0], [1, float("nan")], [1, 1]]]},
     ValueError, "NaN or infinite"),
    (lambda: {"type": "Polygon", "coordinates": [[[0, 0], [21474.83648, 0], [1, 1]]]},
     ValueError, "beyond the int32 range once scaled by 100000"),
]


@pytest.mark.parametrize("make, error, message", BAD_POSITION)
def test_bad_geometry_names_its_position(make, error, message):
    bad = make()
    good = {"type": "Polygon", "coordinates": [[[0, 0], [1, 0], [1, 1]]]}
    geoms = [good, None, good, bad, good]
    with pytest.raises(error, match=rf"^geoms\[3\]: .*{re.escape(message)}"):
        kelvor.ZoneIndex.from_geometries(geoms)
    if geopandas is not None and hasattr(bad, "geom_type"):  # GeoSeries: shapely only
        good = sg.Polygon([(0, 0), (1, 0), (1, 1)])
        series = geopandas.GeoSeries([good, None, good, bad, good], index=[9, 8, 7, 6, 5])
        with pytest.raises(error, match=r"^geoms\[3\]: "):  # the position, not the label
            kelvor.ZoneIndex.from_geometries(series)
    with pytest.raises(error, match=rf"^geom: .*{re.escape(message)}"):
        kelvor.Polygon.from_geometry(bad)


@pytest.mark.parametrize("call, error, match", [
    (lambda g: kelvor.ZoneIndex.from_geometries(g, ids=[1, 2]), ValueError, "lengths differ"),
    (lambda g: kelvor.ZoneIndex.from_geometries(g, ids=[1.0, 2.0, 3.0]), TypeError, "ids"),
    (lambda g: kelvor.ZoneIndex.from_geometries(g, ids=[1, 2, 2**31]), ValueError, "ids"),
    (lambda g: kelvor.ZoneIndex.from_geometries(g, scale=0), ValueError, "scale"),
    (lambda g: kelvor.ZoneIndex.from_geometries(g, scale=float("nan")), ValueError, "scale"),
    (lambda g: kelvor.ZoneIndex.from_geometries(g, scale="1"), TypeError, "scale"),
    (lambda g: kelvor.ZoneIndex.from_geometries(g, rule="fast"), ValueError, "rule"),
    (lambda g: kelvor.ZoneIndex.from_geometries(g[0]), TypeError, "geoms: expected a sequence"),
    (lambda g: kelvor.ZoneIndex.from_geometries(GeoThing(g[0])), TypeError, "geoms"),
    (lambda g: kelvor.ZoneIndex.from_geometries(7), TypeError, "geoms"),
    (lambda g: kelvor.Polygon.from_geometry(g[0], scale=-1), ValueError, "scale"),
])
def test_argument_errors(call, error, match):
    geoms = [{"type": "Polygon", "coordinates": [[[0, 0], [1, 0], [1, 1]]]}] * 3
    with pytest.raises(error, match=match):
        call(geoms)


def test_random_geometry_like_input_only_raises_type_or_value_error(rng):
    polygon = lambda coords: {"type": "Polygon", "coordinates": coords}
    pieces = [None, 3, 2.5, "x", [], [[]], {}, polygon([]), polygon([[]]),
              {"type": "MultiPolygon", "coordinates": [[]]}, polygon("abc"), polygon([["ab"]]),
              {"type": "Polygon", "coordinates": [[[1, 2], [3, 4, 5, 6]]]},
              {"type": "Polygon", "coordinates": [[[True, False], [1, 1], [0, 1]]]},
              {"type": 5, "coordinates": 1}, polygon([[[0, 0], [1, 0], [1, 1]]]), object()]
    if sg is not None:
        pieces += [sg.Polygon([(0, 0), (1, 0), (1, 1)]), sg.LineString([(0, 0), (1, 1)])]
    answered = 0
    for _ in range(300):
        k = int(rng.integers(1, 4))
        geoms = [pieces[i] for i in rng.integers(0, len(pieces), k)]
        try:
            kelvor.ZoneIndex.from_geometries(geoms).locate([[0, 0]])
            answered += 1
        except (TypeError, ValueError):
            pass
    assert answered > 10


@needs_shapely
def test_conversions_from_several_threads_agree(zone_geoms):
    from concurrent.futures import ThreadPoolExecutor

    geoms = [as_shapely(g) for g in zone_geoms] * 40
    single = kelvor.ZoneIndex.from_geometries(geoms)
    pts = np.ascontiguousarray(np.concatenate(single.rings[:8]) + 1)
    with ThreadPoolExecutor(4) as pool:
        built = list(pool.map(lambda _: kelvor.ZoneIndex.from_geometries(geoms), range(8)))
    for index in built:
        assert np.array_equal(index.rings_per_zone, single.rings_per_zone)
        assert all(np.array_equal(a, b) for a, b in zip(index.rings, single.rings))
        assert np.array_equal(index.locate(pts), single.locate(pts))
