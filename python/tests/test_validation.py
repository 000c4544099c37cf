"""The documented argument rules, one case each: any layout is accepted and
copied when needed, dtypes and shapes are checked, and every error names
the argument."""

import numpy as np
import pytest

import kelvor
from conftest import SQUARE

PTS = np.array([[5, 5], [20, 20], [0, 0], [9, 10], [-1, 3], [10, 10]], np.int32)
LONLAT = np.array([[4.9, 52.4], [5.1, 52.1], [-0.1, 51.5], [2.35, 48.86], [13.4, 52.5],
                   [0.0, 0.0]])


def layouts(layout):
    """Ways of handing over the same (N, 2) values; each must answer as the plain array."""
    pd = pytest.importorskip("pandas") if layout.startswith("frame") else None
    return {
        "strided": lambda a: np.repeat(a, 3, axis=0)[::3],
        "fortran": np.asfortranarray,
        "reversed": lambda a: a[::-1][::-1],
        "column_slice": lambda a: np.concatenate([a[:, :1], a, a[:, :1]], axis=1)[:, 1:3],
        "big_endian": lambda a: a.astype(a.dtype.newbyteorder(">")),
        "list": lambda a: a.tolist(),
        "frame": lambda a: pd.DataFrame({"lon": a[:, 0], "lat": a[:, 1]}),
        "frame_columns": lambda a: pd.DataFrame({"lon": a[:, 0], "x": 0,
                                                 "lat": a[:, 1]})[["lon", "lat"]].to_numpy(),
    }[layout]


CALLS = {
    "polygon_contain_point": lambda given: kelvor.polygon_contain_point(given(SQUARE),
                                                                        given(PTS)),
    "Polygon.contains": lambda given: kelvor.Polygon(given(SQUARE)).contains(given(PTS)),
    "ZoneIndex.locate": lambda given: kelvor.ZoneIndex([given(SQUARE)], [4]).locate(given(PTS)),
    "segment_length": lambda given: kelvor.segment_length(given(LONLAT), given(LONLAT[::-1])),
    "vector_length": lambda given: kelvor.vector_length(given(PTS)),
    "line_length": lambda given: kelvor.line_length(given(LONLAT)),
    "track_turn_angles": lambda given: kelvor.track_turn_angles(given(LONLAT)),
    "densify_ring": lambda given: kelvor.densify_ring(given(SQUARE * 100000)),
}


@pytest.mark.parametrize("call", CALLS)
@pytest.mark.parametrize("layout", ["strided", "fortran", "reversed", "column_slice",
                                    "big_endian", "list", "frame", "frame_columns"])
def test_any_layout_answers_as_the_plain_array(call, layout):
    given = layouts(layout)
    want = CALLS[call](lambda a: a)
    assert np.array_equal(CALLS[call](given), want), (call, layout)


def test_pandas_series_and_nullable_columns():
    pd = pytest.importorskip("pandas")
    angles = pd.Series([0, 90 * 65536, 180 * 65536], index=[7, 8, 9])
    assert kelvor.sin(angles).tolist() == kelvor.sin(angles.to_numpy()).tolist()
    assert kelvor.sin(angles.astype("Int32")).tolist() == kelvor.sin(angles.to_numpy()).tolist()
    with pytest.raises(ValueError, match="^angle: .*missing values"):
        kelvor.sin(pd.Series([1, None], dtype="Int32"))


@pytest.mark.parametrize("dtype", [np.int8, np.int16, np.int64, np.uint8, np.uint16, np.uint32,
                                   np.uint64, ">i4"])
def test_other_integer_dtypes_that_fit_are_converted(dtype):
    pts = np.abs(PTS)  # unsigned dtypes too
    got = kelvor.polygon_contain_point(SQUARE.astype(dtype), pts.astype(dtype))
    assert got.tolist() == kelvor.polygon_contain_point(SQUARE, pts).tolist()


@pytest.mark.parametrize("values", [[2**31], [-(2**31) - 1], [2**40], [2**63 + 5]])
@pytest.mark.parametrize("call, name", [
    (lambda v: kelvor.sin(np.array(v, np.uint64 if v[0] > 2**62 else np.int64)), "angle"),
    (lambda v: kelvor.polygon_contain_point(SQUARE, np.array([v * 2], np.uint64 if v[0] > 2**62
                                                             else np.int64)), "points"),
    (lambda v: kelvor.ZoneIndex([SQUARE], np.array(v, np.uint64 if v[0] > 2**62
                                                   else np.int64)), "ids"),
], ids=["sin", "polygon_contain_point", "ZoneIndex"])
def test_integers_beyond_int32_are_refused_never_wrapped(call, name, values):
    with pytest.raises(ValueError, match=f"^{name}: .*do not fit int32"):
        call(values)


@pytest.mark.parametrize("bad", [np.array([[1.5, 2.0]]), np.array([[True, False]]),
                                 np.array([["a", "b"]]), np.array([[1, 2]], dtype=object),
                                 np.array([[1 + 2j, 0]]), "12", None],
                         ids=["float", "bool", "str", "object", "complex", "text", "none"])
def test_non_integer_dtypes_raise_type_error_naming_the_argument(bad):
    with pytest.raises(TypeError, match="^points: "):
        kelvor.polygon_contain_point(SQUARE, bad)


def test_float_arguments():
    a = np.array([[0, 0]], np.float32)
    b = np.array([[1, 0]], np.int32)  # integers are exact as float64
    assert kelvor.segment_length(a, b)[0] == kelvor.segment_length([[0.0, 0.0]], [[1.0, 0.0]])[0]
    with pytest.raises(ValueError, match="^a: .*2\\*\\*53"):
        kelvor.segment_length(np.array([[2**60, 0]]), b)
    with pytest.raises(TypeError, match="^a: .*float64"):
        kelvor.segment_length(np.array([[True, False]]), b)


@pytest.mark.parametrize("call, message", [
    (lambda: kelvor.polygon_contain_point(SQUARE, np.zeros((4, 3), np.int32)),
     "^points: expected shape \\(\\.\\.\\., 2\\), got \\(4, 3\\)"),
    (lambda: kelvor.polygon_contain_point(SQUARE.reshape(-1), PTS),
     "^ring: expected shape \\(N, 2\\), got \\(8,\\)"),
    (lambda: kelvor.segment_segment_intersect(PTS, PTS, PTS, np.zeros((3, 2), np.int32)),
     "^shapes do not broadcast: a \\(6, 2\\), b \\(6, 2\\), c \\(6, 2\\), d \\(3, 2\\)"),
    (lambda: kelvor.segment_length(np.zeros((2, 2)), np.zeros((3, 2))), "^shapes do not broadcast"),
    (lambda: kelvor.ZoneIndex([SQUARE], [1, 2]), "^zones and ids: lengths differ"),
    (lambda: kelvor.vector_rotate(np.zeros((3, 2), np.int32), np.zeros(4, np.int32)),
     "^shapes do not broadcast: v \\(3, 2\\), angle \\(4,\\)"),
    (lambda: kelvor.vector_transform(np.zeros((3, 2), np.int32), np.zeros((3, 4), np.int32)),
     "^m: expected shape \\(\\.\\.\\., 2, 2\\)"),
    (lambda: kelvor.pts_in_rect(np.zeros((3, 2)), [0.0, 0.0, 1.0], [1.0, 1.0]),
     "^lower: expected shape \\(2,\\), got \\(3,\\)"),
    (lambda: kelvor.inscribed_rect(SQUARE, [1, 2]), "^step: expected shape \\(\\), got \\(2,\\)"),
    (lambda: kelvor.sin([[1], [1, 2]]), "^angle: cannot make an array of it"),
    (lambda: kelvor.Polygon.from_rings([SQUARE], [False, True]), "^holes: expected shape"),
], ids=["point_shape", "ring_shape", "four_lengths", "two_lengths", "ids", "vector_angle",
        "matrix", "corner", "step", "ragged", "hole_flags"])
def test_wrong_shapes_and_lengths_raise_value_error_naming_the_argument(call, message):
    with pytest.raises(ValueError, match=message):
        call()


def test_broadcasting_follows_numpy():
    # Points broadcast over their leading dimensions; one pair stands for all.
    grid = np.stack(np.meshgrid(np.arange(-1, 12), np.arange(-1, 12)), axis=-1)
    inside = kelvor.polygon_contain_point(SQUARE, grid)
    assert inside.shape == (13, 13)
    assert inside.sum() == 100  # the half-open 10 x 10 square
    assert np.array_equal(kelvor.Polygon(SQUARE).contains(grid), inside)
    assert isinstance(kelvor.polygon_contain_point(SQUARE, [5, 5]), np.bool_)
    hit, at = kelvor.segment_segment_intersect([0, 0], [10, 10], [0, 10], [10, 0])
    assert hit and at.tolist() == [5, 5]
    lower, upper = kelvor.rect_center_pt([[0.0, 0.0], [10.0, 50.0]], [[1000.0], [2000.0]])
    assert lower.shape == upper.shape == (2, 2, 2)


def test_lists_and_empty_arrays():
    e = np.zeros((0, 2), np.int32)
    assert kelvor.polygon_contain_point(SQUARE.tolist(), [[5, 5]]).tolist() == [True]
    assert kelvor.polygon_contain_point(SQUARE, e).shape == (0,)
    assert kelvor.polygon_contain_point(e, PTS).tolist() == [False] * len(PTS)
    assert kelvor.polygon_contain_point([], PTS).tolist() == [False] * len(PTS)
    assert kelvor.sin(np.zeros(0, np.int32)).shape == (0,) and kelvor.sin([]).shape == (0,)
    hit, at = kelvor.segment_segment_intersect(e, e, e, e)
    assert hit.shape == (0,) and at.shape == (0, 2)
    assert kelvor.segment_length(np.zeros((0, 2)), np.zeros((0, 2))).shape == (0,)
    assert kelvor.line_length(np.zeros((0, 2))) == 0.0
    assert kelvor.ZoneIndex([e], [1]).locate(PTS).tolist() == [kelvor.NO_ZONE] * len(PTS)
    assert kelvor.densify_ring(e).shape == (0, 2)


@pytest.mark.parametrize("call, error, message", [
    (lambda: kelvor.Polygon(SQUARE, rule=1), TypeError, "^rule: "),
    (lambda: kelvor.ZoneIndex([SQUARE], [1], rule="Exact"), ValueError, "^rule: .*'Exact'"),
    (lambda: kelvor.inscribed_rect(SQUARE, 1, rule=None), TypeError, "^rule: "),
    (lambda: kelvor.inscribed_rect(SQUARE, 1.5), TypeError, "^step: "),
    (lambda: kelvor.inscribed_rect(SQUARE, True), TypeError, "^step: "),
    (lambda: kelvor.inscribed_rect(SQUARE, 2**31), ValueError, "^step: "),
], ids=["rule_type", "rule_name", "rule_none", "step_float", "step_bool", "step_range"])
def test_rule_and_step_arguments(call, error, message):
    with pytest.raises(error, match=message):
        call()
