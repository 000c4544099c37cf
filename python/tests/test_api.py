"""The compiled core's table (kelvor._kelvor.TABLE: every element-wise
function with its argument names, dtypes and shapes) against the stub
_kelvor.pyi, the public functions' signatures and type hints, and __all__;
the package version against the project's; the test oracle kept out of the
package."""

import ast
import inspect
import re
import subprocess
import sys
import typing
from pathlib import Path
from typing import Tuple

import numpy as np
import pytest
from numpy.typing import ArrayLike, NDArray

import kelvor
from kelvor import _kelvor

TABLE = {name: (args, results) for name, args, results in _kelvor.TABLE}
STUB = Path(kelvor.__file__).with_name("_kelvor.pyi")
CHECKOUT = Path(__file__).resolve().parents[2]
# Public names that are not table functions: constants, classes and the
# functions written in Python over the core.
NOT_IN_TABLE = {"ONE", "DEGREE", "NO_POINT", "EMPTY_RECT", "METRES_PER_DEGREE", "NO_ZONE",
                "Polygon", "ZoneIndex", "densify_ring", "to_units", "track_turn_angles",
                "track_turn_angles_bin", "track_sharp_angles", "track_sharp_angles_bin"}
STUB_NAMES = {"I32": np.int32, "F64": np.float64, "Flags": np.bool_}
DTYPES = {"int32": np.int32, "float64": np.float64, "bool": np.bool_}


def stub_functions():
    tree = ast.parse(STUB.read_text())
    functions = {n.name: n for n in tree.body if isinstance(n, ast.FunctionDef)}
    classes = {n.name: n for n in tree.body if isinstance(n, ast.ClassDef)}
    return functions, classes


def stub_argument(dtype, shape):
    return "str" if dtype == "rule" else "int" if shape == "" else "ArrayLike"


def stub_result(results):
    names = [{np.int32: "I32", np.float64: "F64", np.bool_: "Flags"}[DTYPES[d]]
             for d, _ in results]
    return names[0] if len(names) == 1 else f"Tuple[{', '.join(names)}]"


def public_result(args, results):
    """What the public function promises: arrays when some argument is per
    element, else the answer as Python values."""
    if any(shape.startswith("...") for _, _, shape in args):
        arrays = [NDArray[DTYPES[d]] for d, _ in results]
        return arrays[0] if len(arrays) == 1 else Tuple[tuple(arrays)]
    (dtype, shape), = results
    if shape == "...,4":
        return Tuple[int, int, int, int]
    return {"bool": bool, "float64": float}[dtype]


@pytest.mark.parametrize("name", TABLE)
def test_stub_matches_the_table(name):
    functions, _ = stub_functions()
    args, results = TABLE[name]
    assert name in functions, f"_kelvor.pyi lacks {name}"
    stub = functions[name]
    assert [a.arg for a in stub.args.args] == [a for a, _, _ in args], name
    assert [ast.unparse(a.annotation) for a in stub.args.args] == \
        [stub_argument(d, s) for _, d, s in args], name
    assert ast.unparse(stub.returns) == stub_result(results), name
    assert len(stub.args.defaults) == sum(d == "rule" for _, d, _ in args), name


def test_stub_holds_nothing_the_core_lacks():
    functions, classes = stub_functions()
    assert set(functions) - set(TABLE) == {"densify_ring", "column"}
    for name in functions:
        assert callable(getattr(_kelvor, name)), name
    for name, node in classes.items():
        declared = {n.name for n in node.body if isinstance(n, ast.FunctionDef)}
        bound = {a for a in dir(getattr(_kelvor, name)) if not a.startswith("_")} | {"__init__"}
        if not any(n.name == "__init__" for n in node.body):
            bound.discard("__init__")
        assert declared == bound, (name, declared ^ bound)


@pytest.mark.parametrize("name", TABLE)
def test_public_function_matches_the_table(name):
    args, results = TABLE[name]
    assert name in kelvor.__all__, name
    fn = getattr(kelvor, name)
    params = inspect.signature(fn).parameters
    assert list(params) == [a for a, _, _ in args], name
    hints = typing.get_type_hints(fn)
    for arg, dtype, shape in args:
        want = {"rule": str, "": int}.get("rule" if dtype == "rule" else shape, ArrayLike)
        assert hints[arg] == want, (name, arg)
        if dtype == "rule":
            assert params[arg].default == "compatible", name
    assert hints["return"] == public_result(args, results), name


def test_all_is_the_table_and_the_python_layer():
    assert len(kelvor.__all__) == len(set(kelvor.__all__))
    assert set(kelvor.__all__) == set(TABLE) | NOT_IN_TABLE
    for name in kelvor.__all__:
        value = getattr(kelvor, name)
        if inspect.isfunction(value):
            hints = typing.get_type_hints(value)
            assert set(hints) == set(inspect.signature(value).parameters) | {"return"}, name


@pytest.mark.parametrize("name", sorted(n for n in NOT_IN_TABLE
                                         if inspect.isfunction(getattr(kelvor, n))))
def test_python_functions_take_array_likes(name):
    hints = typing.get_type_hints(getattr(kelvor, name))
    assert all(hints[p] == ArrayLike for p in inspect.signature(getattr(kelvor, name)).parameters)
    assert typing.get_origin(hints["return"]) is np.ndarray, name


def test_version_is_the_projects():
    cmake = CHECKOUT / "CMakeLists.txt"
    if not cmake.exists():
        pytest.skip("not run from a checkout")
    version = re.search(r"project\(\s*Kelvor\s+VERSION\s+([0-9.]+)", cmake.read_text()).group(1)
    assert kelvor.__version__ == version
    pyproject = (CHECKOUT / "python" / "pyproject.toml").read_text()
    assert re.search(r'dynamic\s*=\s*\["version"\]', pyproject)
    assert not re.search(r"^version\s*=", pyproject, re.MULTILINE)  # written once, in CMake
    pytest.importorskip("setuptools")
    told = subprocess.run([sys.executable, "setup.py", "--version"], cwd=CHECKOUT / "python",
                          capture_output=True, text=True, timeout=120)
    assert told.stdout.strip().splitlines()[-1] == version, told.stderr


def test_oracle_is_not_in_the_package():
    package = Path(kelvor.__file__).parent
    assert not [p.name for p in package.rglob("*") if "oracle" in p.name]
    assert not hasattr(_kelvor, "scalar")
