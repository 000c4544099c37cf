#!/usr/bin/python3
"""Plots Kelvor's benchmarks against peer libraries from Google Benchmark JSON.

    plot_bench.py measure BENCH_PROGRAM OUT.json [--min-time SECONDS]
        Runs kelvor_bench on the benchmarks below and writes its JSON, with the
        machine (CPU model from /proc/cpuinfo, core count) added to "context".
    plot_bench.py plot IN.json OUT.png|OUT.svg
        Draws the picture from such a file (or any --benchmark_format=json run).

Series are found by benchmark name; a series with no matching benchmark (a
baseline library that was not installed, a benchmark not written yet) is
left out with a note on stderr, and a panel with no series at all is dropped.

Point in polygon, one panel per ring kind, time per vertex (the time of one
query point divided by the ring's vertex count) against the vertex count:

    BM_<ring>_Plain/<n>           Kelvor Polygon_Contain_Point, one point a call
    BM_<ring>_PreparedSingle/<n>  Kelvor PreparedPolygon::Contain, one point a call
    BM_<ring>_Prepared/<n>        Kelvor PreparedPolygon::Contain over 4096 points
    BM_<ring>_PreparedExact/<n>   the same with Rule::Exact
    BM_<ring>_GeosPrepared/<n>    GEOS GEOSPreparedContains_r
    BM_<ring>_BoostWithin/<n>     Boost.Geometry within
    BM_<ring>_Clipper<any>/<n>    Clipper's point-in-polygon, when benchmarked

where <ring> is Outline (border-like rings) or Spiky (random star rings). The
time per point is the benchmark's per_point counter (seconds), else
1 / items_per_second, else its CPU time.

Fixed point, time per call, Kelvor against libfixmath:

    BM_KMF_MulFix / BM_fix16_mul       BM_KMF_DivFix / BM_fix16_div
    BM_KMF_SqrtFixed / BM_fix16_sqrt   BM_KMF_Sin / BM_fix16_sin
    BM_KMF_Atan2 / BM_fix16_atan2

An operation is shown when either side of it was measured.
"""
import argparse
import json
import os
import re
import subprocess
import sys

RING_KINDS = [("Outline", "border-like rings"), ("Spiky", "random star rings")]

# (name pattern with {ring}, label, colour, line style, marker)
PIP_SERIES = [
    (r"BM_{ring}_Plain/(\d+)", "Kelvor Polygon_Contain_Point", "#555555", "-", "o"),
    (r"BM_{ring}_PreparedSingle/(\d+)", "Kelvor PreparedPolygon, one point a call", "#1b9e77",
     "-", "s"),
    (r"BM_{ring}_Prepared/(\d+)", "Kelvor PreparedPolygon, 4096 points a call", "#1b9e77", "--",
     "s"),
    (r"BM_{ring}_PreparedExact/(\d+)", "Kelvor PreparedPolygon, exact rule, batch", "#66a61e",
     ":", "^"),
    (r"BM_{ring}_GeosPrepared/(\d+)", "GEOS prepared contains", "#d95f02", "-", "D"),
    (r"BM_{ring}_BoostWithin/(\d+)", "Boost.Geometry within", "#7570b3", "-", "v"),
    (r"BM_{ring}_Clipper\w*/(\d+)", "Clipper point in polygon", "#e7298a", "-", "P"),
]

# (operation shown, Kelvor benchmark, libfixmath benchmark)
FIXED_PAIRS = [
    ("multiply", "BM_KMF_MulFix", "BM_fix16_mul"),
    ("divide", "BM_KMF_DivFix", "BM_fix16_div"),
    ("square root", "BM_KMF_SqrtFixed", "BM_fix16_sqrt"),
    ("sine", "BM_KMF_Sin", "BM_fix16_sin"),
    ("atan2", "BM_KMF_Atan2", "BM_fix16_atan2"),
]

# What `measure` runs: every benchmark the patterns above can match (POSIX
# extended syntax, as Google Benchmark reads it).
MEASURE_FILTER = (r"^BM_(Outline|Spiky)_(Plain|PreparedSingle|Prepared|PreparedExact|"
                  r"GeosPrepared|BoostWithin|Clipper[A-Za-z0-9_]*)/"
                  r"|^BM_KMF_(MulFix|DivFix|SqrtFixed|Sin|Atan2)$"
                  r"|^BM_fix16_(mul|div|sqrt|sin|atan2)$")

UNIT_SECONDS = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}


def cpu_model():
    try:
        with open("/proc/cpuinfo", encoding="utf-8") as f:
            for line in f:
                if line.startswith("model name"):
                    return line.split(":", 1)[1].strip()
    except OSError:
        pass
    return "unknown CPU"


def measure(args):
    cmd = [args.program, "--benchmark_filter=" + MEASURE_FILTER,
           "--benchmark_min_time=%g" % args.min_time, "--benchmark_format=json"]
    print("running:", " ".join(cmd), file=sys.stderr)
    run = subprocess.run(cmd, stdout=subprocess.PIPE, check=True, text=True)
    if not run.stdout.strip():
        sys.exit("%s wrote no JSON (see its message above)" % args.program)
    data = json.loads(run.stdout)
    ctx = data.setdefault("context", {})
    ctx["cpu_model"] = cpu_model()
    ctx["cores"] = os.cpu_count()
    ctx["min_time_seconds"] = args.min_time
    with open(args.json, "w", encoding="utf-8") as f:
        json.dump(data, f, indent=1)
        f.write("\n")
    print("wrote %s (%d benchmarks)" % (args.json, len(data.get("benchmarks", []))),
          file=sys.stderr)


def seconds_per_call(b):
    """Time of one item (query point, operation): the best figure the run has."""
    if "per_point" in b:
        return float(b["per_point"])
    if b.get("items_per_second"):
        return 1.0 / float(b["items_per_second"])
    return float(b["cpu_time"]) * UNIT_SECONDS.get(b.get("time_unit", "ns"), 1e-9)


def load(path):
    with open(path, encoding="utf-8") as f:
        data = json.load(f)
    runs = {}
    for b in data.get("benchmarks", []):
        # Plain iterations only; with repetitions, the mean stands for the name.
        if b.get("run_type", "iteration") == "aggregate" and b.get("aggregate_name") != "mean":
            continue
        name = b.get("run_name", b["name"]) if b.get("run_type") == "aggregate" else b["name"]
        if b.get("error_occurred"):
            continue
        runs[name] = b
    return data.get("context", {}), runs


def pip_panels(runs):
    panels = []
    for ring, about in RING_KINDS:
        series = []
        for pattern, label, colour, style, marker in PIP_SERIES:
            rx = re.compile("^" + pattern.format(ring=ring) + "$")
            pts = sorted((int(m.group(1)), seconds_per_call(b)) for name, b in runs.items()
                         for m in [rx.match(name)] if m)
            if not pts:
                print("skipped: %s on %s (no benchmark matches %s)" %
                      (label, about, rx.pattern), file=sys.stderr)
                continue
            series.append((label, colour, style, marker, pts))
        if series:
            panels.append((ring, about, series))
    return panels


def fixed_rows(runs):
    rows = []
    for op, kelvor, fixmath in FIXED_PAIRS:
        k = seconds_per_call(runs[kelvor]) if kelvor in runs else None
        f = seconds_per_call(runs[fixmath]) if fixmath in runs else None
        if k is None and f is None:
            print("skipped: fixed-point %s (neither %s nor %s)" % (op, kelvor, fixmath),
                  file=sys.stderr)
            continue
        rows.append((op, k, f))
    return rows


def plot(args):
    import matplotlib
    matplotlib.use("Agg")
    import matplotlib.pyplot as plt

    ctx, runs = load(args.json)
    panels, rows = pip_panels(runs), fixed_rows(runs)
    count = len(panels) + (1 if rows else 0)
    if count == 0:
        sys.exit("no benchmark in %s matches any series" % args.json)
    fig, axes = plt.subplots(1, count, figsize=(5.2 * count, 6.2), squeeze=False)
    axes = list(axes[0])

    from matplotlib.ticker import FuncFormatter, LogLocator, NullFormatter, NullLocator

    def count_text(n, _=None):
        return "%gk" % (n / 1024) if n >= 1024 else "%g" % n

    handles = {}
    for ax, (ring, about, series) in zip(axes, panels):
        sizes = sorted({n for *_, pts in series for n, _ in pts})
        for label, colour, style, marker, pts in series:
            line, = ax.plot([n for n, _ in pts], [t / n * 1e9 for n, t in pts], linestyle=style,
                            marker=marker, color=colour, label=label, markersize=5)
            handles.setdefault(label, line)
        ax.set_xscale("log")
        ax.set_yscale("log")
        ax.set_xticks(sizes)
        ax.xaxis.set_major_formatter(FuncFormatter(count_text))
        ax.xaxis.set_minor_locator(NullLocator())
        ax.xaxis.set_minor_formatter(NullFormatter())
        ax.yaxis.set_major_locator(LogLocator(subs=(1.0, 3.0)))
        ax.yaxis.set_major_formatter(FuncFormatter(lambda v, _: "%g" % v))
        ax.yaxis.set_minor_formatter(NullFormatter())
        ax.set_xlabel("vertices in the ring")
        ax.set_ylabel("ns per vertex (time per query point / vertices)")
        ax.set_title("Point in polygon, %s" % about)
        ax.grid(True, which="major", color="#dddddd")

    if rows:
        ax = axes[len(panels)]
        ys = range(len(rows))
        h = 0.38
        for offset, idx, label, colour in ((-h / 2, 1, "Kelvor", "#1b9e77"),
                                           (h / 2, 2, "libfixmath", "#d95f02")):
            vals = [r[idx] * 1e9 if r[idx] is not None else 0 for r in rows]
            bars = ax.barh([y + offset for y in ys], vals, height=h, color=colour, label=label)
            for bar, r in zip(bars, rows):
                text = "%.1f" % (r[idx] * 1e9) if r[idx] is not None else "not measured"
                ax.text(bar.get_width(), bar.get_y() + bar.get_height() / 2, " " + text,
                        va="center", fontsize=8)
        ax.set_yticks(list(ys))
        ax.set_yticklabels([r[0] for r in rows])
        ax.invert_yaxis()
        ax.set_xlabel("ns per call")
        ax.set_title("16.16 fixed point, Kelvor and libfixmath")
        ax.set_xlim(0, ax.get_xlim()[1] * 1.15)
        ax.grid(True, axis="x", color="#dddddd")
        ax.legend(fontsize=8, loc="lower right")

    date = str(ctx.get("date", "unknown date"))[:10]
    machine = "%s, %s cores" % (ctx.get("cpu_model", "unknown CPU"),
                                ctx.get("cores", ctx.get("num_cpus", "?")))
    if ctx.get("load_avg"):
        machine += " (load average %.1f when started)" % float(ctx["load_avg"][0])
    note = ("Measured %s on %s; Google Benchmark, one run of at least %s s per measurement. "
            "Lower is better." % (date, machine, ctx.get("min_time_seconds", "?")))
    bottom = 0.04
    if handles:
        fig.legend(list(handles.values()), list(handles), loc="lower center", ncol=3,
                   fontsize=8.5, frameon=False, bbox_to_anchor=(0.5, 0.035))
        bottom = 0.14
    fig.text(0.5, 0.01, note, ha="center", fontsize=8.5, color="#444444")
    fig.tight_layout(rect=(0, bottom, 1, 1))
    fig.savefig(args.image, dpi=args.dpi)
    print("wrote %s" % args.image, file=sys.stderr)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    sub = parser.add_subparsers(dest="command", required=True)
    m = sub.add_parser("measure", help="run the benchmarks into a JSON file")
    m.add_argument("program")
    m.add_argument("json")
    m.add_argument("--min-time", type=float, default=0.05)
    p = sub.add_parser("plot", help="draw the picture from a JSON file")
    p.add_argument("json")
    p.add_argument("image")
    p.add_argument("--dpi", type=int, default=100)
    args = parser.parse_args()
    (measure if args.command == "measure" else plot)(args)


if __name__ == "__main__":
    main()
