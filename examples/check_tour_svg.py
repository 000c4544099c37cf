"""Runs the tour with a scratch picture path and checks the picture.

The SVG must be well-formed XML and an SVG 1.1 document; each panel must hold
exactly the figures the tour computed, counted per kind by class (a missing
or extra figure fails); every figure must lie inside its panel's plot area;
the y axis must point up; and escaped text must read back unchanged.

usage: check_tour_svg.py TOUR_PROGRAM SCRATCH.svg
"""
import math
import os
import re
import subprocess
import sys
import xml.etree.ElementTree as ET

SVG = "{http://www.w3.org/2000/svg}"

# Figures per panel and kind (the class list after "fig"), from the tour's
# built-in data. The bulk panel's fixes come from what the tour prints.
EXPECTED = {
    "drive": {"view": 1, "route": 1, "stop inside": 1, "stop outside": 3, "label": 4},
    "roads": {"view": 1, "road": 2, "crossing": 1, "label": 3},
    "district": {"district": 1, "place inside": 4, "place outside": 3, "label": 7, "view": 1,
                 "route dashed": 1, "clipped": 1, "street": 1, "stretch": 2},
    "shapes": {"district": 1, "route": 1, "view": 1, "place inside": 1, "place outside": 1,
               "clipped": 1, "inscribed": 1, "label": 3},
    "bearings": {"route": 1, "city": 5, "label": 6, "turn": 3, "projection": 1, "foot": 1,
                 "town": 1},
    "bulk": {"zone z1": 2, "zone z2": 1, "zone z3": 1, "zone z9": 1, "hole": 1, "label": 4},
}
ANCHORS = {"mid", "end"}  # text alignment classes, not part of a kind

failures = []


def check(ok, what):
    if not ok:
        failures.append(what)


def bulk_counts(stdout):
    """Fixes per exact-rule zone and rule disagreements, as the tour prints them."""
    counts = {}
    for m in re.finditer(r"^  (\d+) .+?\s+(\d+)\s+(\d+)$", stdout, re.M):
        counts["fix z" + m.group(1)] = int(m.group(3))
    m = re.search(r"^\s+no zone\s+(\d+)\s+(\d+)$", stdout, re.M)
    check(m is not None, "tour output has no 'no zone' row")
    if m:
        counts["fix none"] = int(m.group(2))
    m = re.search(r"^  (\d+) fixes change zone between the rules", stdout, re.M)
    check(m is not None, "tour output has no line on fixes changing zone")
    if m:
        counts["differ"] = int(m.group(1))
    m = re.search(r"^  (\d+) fixes; lowest zone id wins", stdout, re.M)
    check(m is not None and sum(v for k, v in counts.items() if k.startswith("fix ")) ==
          int(m.group(1)), "fixes per zone do not add up to the fixes generated")
    return counts


def points_of(el):
    """Every pixel position an element draws at."""
    tag = el.tag[len(SVG):]
    f = lambda name: float(el.get(name))
    if tag == "circle":
        return [(f("cx"), f("cy"))]
    if tag == "text":
        return [(f("x"), f("y"))]
    if tag == "line":
        return [(f("x1"), f("y1")), (f("x2"), f("y2"))]
    if tag == "rect":
        return [(f("x"), f("y")), (f("x") + f("width"), f("y") + f("height"))]
    if tag in ("polyline", "polygon"):
        return [tuple(map(float, p.split(","))) for p in el.get("points").split()]
    raise ValueError("unexpected figure element " + tag)


def label_y(panel, text):
    found = [t for t in panel.iter(SVG + "text") if t.text == text]
    check(len(found) == 1, "panel %s: one label %r (found %d)" % (panel.get("id"), text,
                                                                  len(found)))
    return float(found[0].get("y")) if found else math.nan


def main():
    tour, out = sys.argv[1], sys.argv[2]
    if os.path.exists(out):
        os.remove(out)
    run = subprocess.run([tour, out], capture_output=True, text=True, timeout=120)
    check(run.returncode == 0, "tour exited with %d: %s" % (run.returncode, run.stderr))
    m = re.search(r"^picture: (.+) \((\d+) figures\)$", run.stdout, re.M)
    check(m is not None, "tour does not print 'picture: PATH (N figures)'")
    if failures:
        return
    check(os.path.samefile(m.group(1), out), "tour printed %s, not %s" % (m.group(1), out))
    reported = int(m.group(2))

    raw = open(out, encoding="utf-8").read()
    root = ET.fromstring(raw)  # raises on a document that is not well-formed
    check(root.tag == SVG + "svg", "root element is %s" % root.tag)
    check(root.get("version") == "1.1", "svg version is %s" % root.get("version"))
    check(root.get("viewBox") == "0 0 %s %s" % (root.get("width"), root.get("height")),
          "viewBox does not match width and height")

    panels = [g for g in root.iter(SVG + "g") if g.get("class") == "panel"]
    check([p.get("id") for p in panels] == list(EXPECTED),
          "panels are %s" % [p.get("id") for p in panels])
    expected = {k: dict(v) for k, v in EXPECTED.items()}
    expected["bulk"].update(bulk_counts(run.stdout))

    total = 0
    for panel in panels:
        pid = panel.get("id")
        plot = [r for r in panel.iter(SVG + "rect") if r.get("class") == "plot"]
        check(len(plot) == 1, "panel %s has %d plot areas" % (pid, len(plot)))
        x0, y0 = float(plot[0].get("x")), float(plot[0].get("y"))
        x1, y1 = x0 + float(plot[0].get("width")), y0 + float(plot[0].get("height"))
        counts = {}
        for el in panel.iter():
            cls = (el.get("class") or "").split()
            if "fig" not in cls:
                continue
            kind = " ".join(c for c in cls if c != "fig" and c not in ANCHORS)
            counts[kind] = counts.get(kind, 0) + 1
            for x, y in points_of(el):
                check(x0 <= x <= x1 and y0 <= y <= y1,
                      "panel %s: %s at (%g, %g) outside the plot area" % (pid, kind, x, y))
        total += sum(counts.values())
        for kind in sorted(set(counts) | set(expected.get(pid, {}))):
            want, got = expected.get(pid, {}).get(kind, 0), counts.get(kind, 0)
            check(got == want, "panel %s: %d figures of kind %r, expected %d" % (pid, got, kind,
                                                                                 want))
    check(total == reported, "%d figures drawn, the tour reports %d" % (total, reported))

    # North is up and east is right: smaller SVG y means further north.
    by_id = {p.get("id"): p for p in panels}
    if "bearings" in by_id and "drive" in by_id and "district" in by_id:
        b = by_id["bearings"]
        check(label_y(b, "Brussels") < label_y(b, "Paris"), "Brussels drawn south of Paris")
        check(label_y(b, "Frankfurt") < label_y(b, "Strasbourg"),
              "Frankfurt drawn south of Strasbourg")
        d = by_id["drive"]
        check(label_y(d, "Amsterdam") < label_y(d, "Nijmegen"), "Amsterdam drawn south of Nijmegen")
        t = by_id["district"]
        check(label_y(t, "town hall") < label_y(t, "market"), "town hall drawn south of market")

    titles = [t.text for t in root.iter(SVG + "text") if t.get("class") == "title"]
    check(len(titles) == len(EXPECTED), "%d panel titles" % len(titles))
    check("A district with a notch: places & a route" in titles,
          "the title with '&' does not read back")
    check("&amp;" in raw, "'&' is not escaped in the file")


if __name__ == "__main__":
    try:
        main()
    except (ET.ParseError, ValueError, TypeError, OSError, subprocess.SubprocessError) as e:
        failures.append("%s: %s" % (type(e).__name__, e))
    for f in failures:
        print("FAIL:", f)
    print("tour picture: %s" % ("FAILED" if failures else "ok"))
    sys.exit(1 if failures else 0)
