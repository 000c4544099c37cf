"""The documented argument rules, one case each."""

import numpy as np
import pytest

import kelvor

SQUARE = np.array([[0, 0], [10, 0], [10, 10], [0, 10]], np.int32)
PTS = np.array([[5, 5], [20, 20]], np.int32)


def test_non_contiguous_arrays_are_refused_not_copied():
    strided = np.zeros((10, 2), np.int32)[::2]
    fortran = np.asfortranarray(np.zeros((5, 2), np.int32))
    for bad in (strided, fortran):
        with pytest.raises(ValueError, match="C-contiguous"):
            kelvor.polygon_contain_point(SQUARE, bad)
        with pytest.raises(ValueError, match="C-contiguous"):
            kelvor.Polygon(SQUARE).contains(bad)
    with pytest.raises(ValueError, match="C-contiguous"):
        kelvor.sin(np.arange(10, dtype=np.int32)[::3])
    with pytest.raises(ValueError, match="C-contiguous"):
        kelvor.segment_length(np.zeros((6, 2))[::2], np.zeros((3, 2)))


@pytest.mark.parametrize("dtype", [np.int8, np.int16, np.int64, np.uint8, np.uint16, np.uint32,
                                   np.uint64, ">i4"])
def test_other_integer_dtypes_that_fit_are_converted(dtype):
    got = kelvor.polygon_contain_point(SQUARE.astype(dtype), PTS.astype(dtype))
    assert got.tolist() == [True, False]


@pytest.mark.parametrize("values", [[2**31], [-(2**31) - 1], [2**40]])
def test_int64_beyond_int32_is_refused_never_wrapped(values):
    with pytest.raises(ValueError, match="do not fit int32"):
        kelvor.sin(np.array(values, np.int64))
    with pytest.raises(ValueError, match="do not fit int32"):
        kelvor.polygon_contain_point(SQUARE, np.array([values * 2], np.int64))
    with pytest.raises(ValueError, match="do not fit int32"):
        kelvor.sin(np.array([2**63 + 5], np.uint64))


@pytest.mark.parametrize("bad", [np.array([[1.5, 2.0]]), np.array([[True, False]]),
                                 np.array([["a", "b"]]), np.array([[1, 2]], dtype=object),
                                 np.array([[1 + 2j, 0]])])
def test_non_integer_dtypes_raise_type_error(bad):
    with pytest.raises(TypeError, match="int32"):
        kelvor.polygon_contain_point(SQUARE, bad)


def test_float_arguments():
    a = np.array([[0, 0]], np.float32)
    b = np.array([[1, 0]], np.int32)  # integers are exact as float64
    assert kelvor.segment_length(a, b)[0] == kelvor.segment_length([[0.0, 0.0]], [[1.0, 0.0]])[0]
    with pytest.raises(ValueError, match="2\\*\\*53"):
        kelvor.segment_length(np.array([[2**60, 0]]), b)
    with pytest.raises(TypeError, match="float64"):
        kelvor.segment_length(np.array([[True, False]]), b)


@pytest.mark.parametrize("call", [
    lambda: kelvor.polygon_contain_point(SQUARE, np.zeros((4, 3), np.int32)),
    lambda: kelvor.polygon_contain_point(SQUARE.reshape(-1), PTS),
    lambda: kelvor.segment_segment_intersect(PTS, PTS, PTS, np.zeros((3, 2), np.int32)),
    lambda: kelvor.segment_length(np.zeros((2, 2)), np.zeros((3, 2))),
    lambda: kelvor.ZoneIndex([SQUARE], [1, 2]),
    lambda: kelvor.vector_rotate(np.zeros((3, 2), np.int32), np.zeros(4, np.int32)),
    lambda: kelvor.vector_transform(np.zeros((3, 2), np.int32), np.zeros((3, 4), np.int32)),
    lambda: kelvor.pts_in_rect(np.zeros((3, 2)), [0.0, 0.0, 1.0], [1.0, 1.0]),
])
def test_wrong_shapes_and_lengths_raise_value_error(call):
    with pytest.raises(ValueError):
        call()


def test_lists_are_converted():
    assert kelvor.polygon_contain_point([[0, 0], [10, 0], [10, 10], [0, 10]],
                                        [[5, 5]]).tolist() == [True]
    assert kelvor.Polygon(SQUARE.tolist()).contains([[1, 1]]).tolist() == [True]


def test_empty_arrays_give_empty_results():
    e = np.zeros((0, 2), np.int32)
    assert kelvor.polygon_contain_point(SQUARE, e).shape == (0,)
    assert kelvor.polygon_contain_point(e, PTS).tolist() == [False, False]
    assert kelvor.sin(np.zeros(0, np.int32)).shape == (0,)
    hit, at = kelvor.segment_segment_intersect(e, e, e, e)
    assert hit.shape == (0,) and at.shape == (0, 2)
    assert kelvor.segment_length(np.zeros((0, 2)), np.zeros((0, 2))).shape == (0,)
    assert kelvor.line_length(np.zeros((0, 2))) == 0.0
    assert kelvor.ZoneIndex([e], [1]).locate(PTS).tolist() == [kelvor.NO_ZONE] * 2
    assert kelvor.densify_ring(e).shape == (0, 2)


def test_rule_and_step_arguments():
    with pytest.raises(TypeError):
        kelvor.Polygon(SQUARE, rule=1)
    with pytest.raises(ValueError):
        kelvor.ZoneIndex([SQUARE], [1], rule="Exact")
    with pytest.raises(TypeError):
        kelvor.inscribed_rect(SQUARE, 1.5)
    with pytest.raises(ValueError):
        kelvor.inscribed_rect(SQUARE, 2**31)


def test_zone_rings_as_one_three_dimensional_array():
    rings = np.stack([SQUARE, SQUARE + 20])
    assert kelvor.ZoneIndex(rings, [1, 2]).locate([[25, 25]]).tolist() == [2]
