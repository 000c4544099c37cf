"""The zone-join command line (python3 -m kelvor.dask) on small files: each
bad input gives one line on stderr naming the file, row and column, exit
status 1 and no output; --keep-invalid writes fixes without a position with
an empty zone; output appears only once complete."""

import json
import os
import subprocess
import sys

import numpy as np
import pytest

import kelvor

pytest.importorskip("pandas")
dask = pytest.importorskip("dask")
pytest.importorskip("dask.dataframe")
pytest.importorskip("distributed")
from kelvor import dask as kdask  # noqa: E402
from kelvor.dask import _graph  # noqa: E402

ROWS = 1000
# A square of 1 degree and a triangle whose 2-degree diagonal wraps the
# compatible rule's 32-bit crossing product.
ZONES = {"type": "FeatureCollection", "features": [
    {"type": "Feature", "properties": {"code": 70}, "geometry": {
        "type": "Polygon", "coordinates": [[[0, 0], [1, 0], [1, 1], [0, 1], [0, 0]]]}},
    {"type": "Feature", "properties": {"code": 80}, "geometry": {
        "type": "Polygon", "coordinates": [[[2, 0], [4, 0], [2, 2], [2, 0]]]}},
]}


def fixes_text(spoil=None, header="fix,lon,lat"):
    """ROWS fixes over both zones and around them; spoil = (data row, column, text)."""
    rng = np.random.default_rng(11)
    rows = [[str(i), f"{rng.uniform(-1, 5):.6f}", f"{rng.uniform(-1, 3):.6f}"]
            for i in range(ROWS)]
    if spoil:
        row, column, text = spoil
        rows[row - 1][{"lon": 1, "lat": 2}[column]] = text
    return "\n".join([header] + [",".join(r) for r in rows]) + "\n"


@pytest.fixture
def files(tmp_path):
    (tmp_path / "zones.geojson").write_text(json.dumps(ZONES))
    (tmp_path / "fixes.csv").write_text(fixes_text())
    return tmp_path


def join(dask_cluster, tmp_path, *options, out="out.csv"):
    argv = [str(tmp_path / "fixes.csv"), str(tmp_path / "zones.geojson"), str(tmp_path / out),
            "--id-property", "code", "--blocksize", "8kB",
            "--scheduler", dask_cluster.client.scheduler.address, *options]
    return kdask.main(argv)


def left_over(tmp_path):
    return sorted(p.name for p in tmp_path.iterdir()
                  if p.name not in ("fixes.csv", "zones.geojson"))


def spoiled(row, column, text):
    return lambda d: (d / "fixes.csv").write_text(fixes_text((row, column, text)))


BAD = {
    "not_a_number": (spoiled(517, "lon", "abc"), [],
                     ["fixes.csv: data row 517, column lon: 'abc' is not a number"]),
    "not_a_number_kept_invalid": (spoiled(517, "lon", "abc"), ["--keep-invalid"],
                                  ["data row 517, column lon: 'abc' is not a number"]),
    "underscore": (spoiled(2, "lat", "1_0"), [], ["data row 2, column lat: '1_0' is not"]),
    "missing_column": (lambda d: (d / "fixes.csv").write_text(fixes_text(header="fix,x,y")), [],
                       ["fixes.csv: line 1: no column 'lon'", "'x', 'y'"]),
    "zone_column_taken": (lambda d: (d / "fixes.csv").write_text(fixes_text(header="zone,lon,lat")),
                          [], ["fixes.csv: line 1: already has a column 'zone'"]),
    "empty_latitude": (spoiled(250, "lat", ""), [],
                       ["fixes.csv: data row 250, column lat: empty", "--keep-invalid"]),
    "nan_longitude": (spoiled(1000, "lon", "NaN"), [],
                      ["data row 1000, column lon: 'NaN' marks a missing value"]),
    "longitude_500": (spoiled(800, "lon", "500"), [],
                      ["fixes.csv: data row 800, column lon: 500 is outside -180..180"]),
    "latitude_minus_91": (spoiled(3, "lat", "-91"), [],
                          ["data row 3, column lat: -91 is outside -90..90"]),
    "infinite_latitude": (spoiled(4, "lat", "inf"), [], ["data row 4, column lat: inf is outside"]),
    "short_row": (lambda d: (d / "fixes.csv").write_text(fixes_text() + "1000,3.5\n"), [],
                  ["data row 1001, column lat: empty"]),
    "long_row": (lambda d: (d / "fixes.csv").write_text(fixes_text() + "1000,1,2,3\n"), [],
                 ["fixes.csv: line 1002: 4 fields where the header has 3"]),
    "long_row_after_blank_line": (
        lambda d: (d / "fixes.csv").write_text(fixes_text().replace("\n", "\n\n", 1) + "x,1,2,3\n"),
        [], ["fixes.csv: line 1003: 4 fields where the header has 3"]),
    "not_utf8": (lambda d: (d / "fixes.csv").write_bytes(
        fixes_text().encode().replace(b"\n17,", b"\n\xff7,")), [],
        ["fixes.csv: line 19: not UTF-8"]),
    "empty_file": (lambda d: (d / "fixes.csv").write_text(""), [], ["fixes.csv: empty"]),
    "no_fixes_file": (lambda d: (d / "fixes.csv").unlink(), [], ["fixes.csv: no such file"]),
    "zones_not_json": (lambda d: (d / "zones.geojson").write_text('{"type": "Feat'), [],
                       ["zones.geojson: line 1, column 10: not JSON"]),
    "zone_id_not_integer": (lambda d: (d / "zones.geojson").write_text(
        json.dumps(ZONES).replace('"code": 80', '"code": "x"')), [],
        ["zones.geojson: feature 1: id 'x' is not an integer"]),
    "zone_beyond_int32": (lambda d: (d / "zones.geojson").write_text(
        json.dumps(ZONES).replace("[4, 0]", "[40000, 0]")), [],
        ["zones.geojson: feature 1: coordinates beyond the int32 range"]),
}


@pytest.mark.parametrize("case", BAD)
def test_bad_input_is_one_line_status_1_and_no_output(case, dask_cluster, files, capsys):
    spoil, options, wanted = BAD[case]
    spoil(files)
    status = join(dask_cluster, files, *options)
    out, err = capsys.readouterr()
    assert status == 1, case
    assert len(err.splitlines()) == 1 and err.startswith("python3 -m kelvor.dask: "), err
    for part in wanted:
        assert part in err, (case, err)
    assert out == "", case
    assert left_over(files) == [], case  # no output, no partial file


@pytest.mark.parametrize("row, column, text", [(250, "lat", ""), (800, "lon", "500"),
                                               (1000, "lon", "NaN"), (3, "lat", "-91")])
def test_keep_invalid_writes_an_empty_zone_and_counts_it(row, column, text, dask_cluster, files,
                                                         capsys):
    spoiled(row, column, text)(files)
    assert join(dask_cluster, files, "--keep-invalid") == 0
    out = capsys.readouterr().out
    lines = (files / "out.csv").read_text().splitlines()
    assert lines[0] == "fix,lon,lat,zone" and len(lines) == ROWS + 1
    fix, lon, lat, zone = lines[row].split(",")
    assert (fix, {"lon": lon, "lat": lat}[column], zone) == (str(row - 1), text, "")
    assert f"{ROWS - 1} fixes assigned, 1 without valid coordinates;" in out


def test_output_matches_the_single_process_answer(dask_cluster, files, capsys):
    assert join(dask_cluster, files) == 0
    out = capsys.readouterr().out
    lines = [line.split(",") for line in (files / "out.csv").read_text().splitlines()[1:]]
    index = kdask.build_index(ZONES, "code")
    want = kdask.locate_lonlat(index, [float(r[1]) for r in lines], [float(r[2]) for r in lines])
    got = [int(r[3]) if r[3] else kelvor.NO_ZONE for r in lines]
    assert got == want.tolist()
    in_zone = int((want != kelvor.NO_ZONE).sum())
    assert 0 < in_zone < ROWS
    assert out.splitlines() == [f"{ROWS} fixes assigned, 0 without valid coordinates; "
                                f"{in_zone} in a zone -> {files / 'out.csv'}"]


@pytest.mark.parametrize("rule, report", [
    ("exact", None),
    ("compatible", "rule compatible: 1 of 2 zones can wrap"),
])
def test_compatible_rule_reports_zones_that_can_wrap(rule, report, dask_cluster, files, capsys):
    assert join(dask_cluster, files, "--rule", rule) == 0
    lines = capsys.readouterr().out.splitlines()
    if report is None:
        assert len(lines) == 1 and "can wrap" not in lines[0]
    else:
        assert len(lines) == 2 and lines[0].startswith(report), lines


def test_interrupted_run_leaves_no_output(dask_cluster, files, monkeypatch):
    written = []

    def interrupted(client, *collections):
        dask.compute(*collections, scheduler=client)  # the whole output written
        written.extend(left_over(files))
        raise KeyboardInterrupt

    monkeypatch.setattr(_graph, "_compute", interrupted)
    with pytest.raises(KeyboardInterrupt):
        join(dask_cluster, files)
    assert len(written) == 1 and written[0].startswith(".out.csv.") and \
        written[0].endswith(".partial"), written
    assert left_over(files) == []


def test_output_appears_by_one_rename_in_its_directory(dask_cluster, files, monkeypatch):
    renames = []
    replace = os.replace

    def recorded(src, dst):
        renames.append((os.path.dirname(src), os.path.basename(src), str(dst),
                        os.path.exists(dst), sum(1 for _ in open(src))))
        replace(src, dst)

    monkeypatch.setattr(_graph.os, "replace", recorded)
    assert join(dask_cluster, files) == 0
    (folder, name, target, existed, lines), = renames
    assert folder == str(files) and name.startswith(".out.csv.") and name.endswith(".partial")
    assert (target, existed, lines) == (str(files / "out.csv"), False, ROWS + 1)
    assert oct(os.stat(target).st_mode & 0o777) != oct(0o600)  # not the temporary file's mode


def test_directory_output(dask_cluster, files):
    assert join(dask_cluster, files, out="parts") == 0
    parts = sorted((files / "parts").iterdir())
    assert len(parts) > 1
    rows = [line for p in parts for line in p.read_text().splitlines()[1:]]
    assert len(rows) == ROWS
    (files / "busy").mkdir()
    (files / "busy" / "keep.txt").write_text("mine")
    assert join(dask_cluster, files, out="busy") == 1
    assert sorted(p.name for p in (files / "busy").iterdir()) == ["keep.txt"]


def run_module(files, *options):
    package_parent = os.path.dirname(os.path.dirname(kelvor.__file__))
    env = dict(os.environ, PYTHONPATH=os.pathsep.join(
        [package_parent] + [p for p in os.environ.get("PYTHONPATH", "").split(os.pathsep) if p]))
    return subprocess.run([sys.executable, "-m", "kelvor.dask", str(files / "fixes.csv"),
                           str(files / "zones.geojson"), str(files / "out.csv"), *options],
                          capture_output=True, text=True, env=env, timeout=300)


def test_module_command_line(files):
    spoiled(800, "lon", "500")(files)
    bad = run_module(files, "--lon", "longitude")
    assert bad.returncode == 1 and bad.stdout == ""
    assert bad.stderr.splitlines() == [
        "python3 -m kelvor.dask: " + str(files / "fixes.csv") + ": line 1: no column "
        "'longitude'; the columns are 'fix', 'lon', 'lat'"]
    good = run_module(files, "--workers", "1", "--keep-invalid", "--id-property", "code")
    assert good.returncode == 0, good.stderr
    assert good.stdout.startswith(f"{ROWS - 1} fixes assigned, 1 without valid coordinates;")
    assert len((files / "out.csv").read_text().splitlines()) == ROWS + 1


@pytest.mark.parametrize("options", [["--workers", "0"], ["--blocksize", "lots"],
                                     ["--rule", "fast"]], ids=["workers", "blocksize", "rule"])
def test_wrong_command_line_exits_2(options, files, capsys):
    with pytest.raises(SystemExit) as stop:
        kdask.main([str(files / "fixes.csv"), str(files / "zones.geojson"),
                    str(files / "out.csv"), *options])
    assert stop.value.code == 2
    assert options[0] in capsys.readouterr().err
    assert left_over(files) == []
