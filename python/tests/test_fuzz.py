"""Random dtypes, shapes and values into every public function: each call
returns or raises TypeError / ValueError - never a crash, never another
exception type."""

import inspect

import numpy as np
import pytest

import kelvor

DTYPES = [np.int8, np.int16, np.int32, np.int64, np.uint8, np.uint16, np.uint32, np.uint64,
          np.float16, np.float32, np.float64, np.bool_, object, "U3", np.complex128, ">i4"]
SHAPES = [(), (0,), (1,), (2,), (5,), (0, 2), (1, 2), (5, 2), (5, 3), (5, 1), (2, 2, 2),
          (3, 5, 2), (4, 2, 2)]
ODD_OBJECTS = [None, "abc", b"xy", 3.5, 7, True, [1, 2], [[1, 2], [3, 4]], [[1], [1, 2]],
               {"a": 1}, [[np.nan, 1.0]], [[2**70, 0]], object()]
SPECIAL = {"rule": ["compatible", "exact", "Exact", "", 3, None],
           "step": [1, 0, -3, 7, 2**31, -(2**31), 2.5, "1", None, np.int64(4), True]}
# Growing an inscribed rectangle takes time in proportion to the ring's extent:
# those get small coordinates so that the fuzz stays quick.
SMALL_VALUES = {"inscribed_rect", "get_mcr", "Polygon", "ZoneIndex"}
PAIR_PARAMS = {"ring", "coords", "points", "a", "b", "c", "d", "p", "q", "rect_min", "rect_max", "v",
               "track", "lower", "upper", "center", "lonlat", "line"}
PUBLIC = sorted(name for name in kelvor.__all__ if callable(getattr(kelvor, name)))


def values(rng, dtype, shape, small):
    dt, n = np.dtype(dtype), int(np.prod(shape))
    if dt.kind in "iu":
        info = np.iinfo(dt)
        lo, hi = (max(info.min, -40), min(info.max, 40)) if small else (info.min, info.max)
        flat = rng.integers(lo, hi, n, endpoint=True, dtype=dt.newbyteorder("="))
        if not small:
            flat[: n // 4] = rng.choice(np.array([lo, hi, 0], dtype=flat.dtype), n // 4)
    elif dt.kind == "f":
        flat = rng.normal(0, 40 if small else 1e6, n)
        if not small:
            flat[: n // 3] = rng.choice([np.nan, np.inf, -np.inf, 0.0, -0.0, 1e308], n // 3)
    else:
        flat = {"b": lambda: rng.integers(0, 2, n) > 0, "c": lambda: rng.normal(size=n) + 1j,
                "U": lambda: np.array(["ab"] * n),
                "O": lambda: np.array([int(v) for v in rng.integers(-5, 5, n)], object)}[dt.kind]()
    with np.errstate(all="ignore"):
        return np.asarray(flat).astype(dt).reshape(shape)


def random_argument(rng, small):
    r = rng.random()
    if r < 0.08:
        return ODD_OBJECTS[rng.integers(len(ODD_OBJECTS))]
    dtype = DTYPES[rng.integers(len(DTYPES))] if rng.random() < 0.5 else \
        [np.int32, np.float64][rng.integers(2)]
    shape = SHAPES[rng.integers(len(SHAPES))] if rng.random() < 0.6 else \
        [(5, 2), (2,), (5,)][rng.integers(3)]
    a = values(rng, dtype, shape, small)
    if r < 0.2 and a.ndim >= 1 and a.shape[0] > 1:  # strided view
        return np.repeat(a, 2, axis=0)[::2]
    return np.asfortranarray(a) if r < 0.26 and a.ndim == 2 else a


def coherent_argument(rng, fn, pname, n, dtype, small):
    """An argument of the shape the parameter wants, so that calls reach the engine."""
    if pname == "coords" and rng.random() < 0.3:  # a polygon or multipolygon of rings
        ring = lambda: values(rng, dtype, (int(rng.integers(0, 6)), 2), small)
        polygon = lambda: [ring() for _ in range(int(rng.integers(1, 4)))]
        return polygon() if rng.random() < 0.5 else [polygon() for _ in range(2)]
    if pname == "m":
        shape = (n, 2, 2)
    elif pname in PAIR_PARAMS and (pname == "v" or fn.__module__ != "kelvor.fixed"):
        shape = (n, 2) if rng.random() < 0.85 or pname in ("ring", "track") else (2,)
        if pname in ("lower", "upper") and fn.__name__.startswith("pts_in_rect"):
            shape = (2,)
    else:
        shape = (n,)
    if pname == "half":
        dtype = np.float64
    elif dtype == np.float64 and fn.__name__.endswith("_bin"):
        dtype = np.int32
    return values(rng, dtype, shape, small)


def make_call(rng, name):
    fn = getattr(kelvor, name)
    params = [p for p in inspect.signature(fn).parameters.values() if p.name != "self"]
    small, args = name in SMALL_VALUES, []
    coherent = rng.random() < 0.6
    n = int(rng.choice([0, 1, 5, 40]))
    dtype = [np.int32, np.float64, np.int64, np.float32][rng.integers(4)]
    for p in params:
        if not coherent and p.default is not inspect.Parameter.empty and rng.random() < 0.3:
            break
        if p.name in SPECIAL:
            args.append(SPECIAL[p.name][rng.integers(len(SPECIAL[p.name]))])
        elif p.name == "zones" and coherent:
            args.append([coherent_argument(rng, fn, "coords", int(rng.integers(0, 6)), dtype,
                                           small) for _ in range(n)])
        elif p.name == "zones":
            args.append([random_argument(rng, True) for _ in range(int(rng.integers(0, 4)))]
                        if rng.random() < 0.85 else random_argument(rng, True))
        else:
            args.append(coherent_argument(rng, fn, p.name, n, dtype, small) if coherent
                        else random_argument(rng, small))
    if coherent and args and rng.random() < 0.3:
        args[rng.integers(len(args))] = random_argument(rng, small)
    return fn, args


@pytest.mark.parametrize("name", PUBLIC)
def test_public_function_survives_random_input(name):
    rng = np.random.default_rng(sum(map(ord, name)))
    answered = 0
    for trial in range(150):
        fn, args = make_call(rng, name)
        try:
            result = fn(*args)
        except (TypeError, ValueError):
            continue
        except Exception as e:  # pragma: no cover - the failure report
            pytest.fail(f"{name}{tuple(type(a).__name__ + str(getattr(a, 'shape', '')) for a in args)}"
                        f" raised {type(e).__name__}: {e}")
        probe = np.array([[0, 0], [1, 1]], np.int32)
        if isinstance(result, kelvor.Polygon):
            result.contains(probe), result.contains_bounded(probe)
        elif isinstance(result, kelvor.ZoneIndex):
            result.locate(probe)
        answered += 1
    assert answered >= 5, f"{name}: the fuzz reached the engine only {answered} times"


@pytest.mark.parametrize("method", ["contains", "contains_bounded", "locate"])
def test_methods_survive_random_input(method):
    rng = np.random.default_rng(sum(map(ord, method)))
    square = np.array([[0, 0], [10, 0], [10, 10], [0, 10]], np.int32)
    obj = kelvor.ZoneIndex([square], [1]) if method == "locate" else kelvor.Polygon(square)
    for _ in range(300):
        try:
            getattr(obj, method)(random_argument(rng, False))
        except (TypeError, ValueError):
            pass
