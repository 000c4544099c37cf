#!/usr/bin/env python3
"""Writes the structured seed inputs of the fuzz targets, tests/fuzz/corpus/<target>/seed-*.

Each seed is encoded for the reads its target makes (fuzz_input.h: u32 big-endian,
in(lo, hi) as lo + u32 % span, varied() byte 7 then a raw i32), so that the replay
tests run the landmark figures of the properties: stars of 3 to 300 points (across
the index's 256-edge blocks), self-crossing rings open and closed, axis-parallel runs
on the probed rows, combs that overflow the 30-entry crossing list, wrapping diamonds
and long flat edges, rings at the ends of the 32-bit range, rounding halves, root
and angle boundaries, and straight paths. Rerun after changing what a target reads:
    python3 tests/fuzz/make_seeds.py
CTest runs it with --check, which writes nothing and fails when a committed seed
differs from what this script writes, or when a committed seed-* file is no
longer written by it.
"""
import math
import os
import random
import sys

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")
MIN, MAX = -2**31, 2**31 - 1


class Seed:
    def __init__(self):
        self.b = bytearray()

    def byte(self, v):
        self.b.append(v & 0xFF)

    def u32(self, v):
        self.b += (v & 0xFFFFFFFF).to_bytes(4, "big")

    def u64(self, v):
        self.b += (v & 0xFFFFFFFFFFFFFFFF).to_bytes(8, "big")

    def flag(self, f):
        self.byte(1 if f else 0)

    def in_(self, lo, hi, v):
        assert lo <= v <= hi, (lo, hi, v)
        self.u32(v - lo)

    def varied(self, v):
        self.byte(7)
        self.u32(v)

    def point(self, scale, p):
        for v in p:
            if scale == 3:
                self.varied(v)
            else:
                r = (20, 3000, 100000)[scale]
                self.in_(-r, r, v)

    def ring(self, max_points, pts):
        scale = scale_of(pts)
        self.in_(0, max_points, len(pts))
        self.byte(scale)
        for p in pts:
            self.byte(1)  # a new point, not a repeat
            self.point(scale, p)
        return scale


def scale_of(pts):
    m = max([abs(v) for p in pts for v in p] + [0])
    return 0 if m <= 20 else 1 if m <= 3000 else 2 if m <= 100000 else 3


def star(rng, n, r0, r1, cx=0, cy=0):
    out = []
    for i in range(n):
        a, d = (i + rng.uniform(0, 0.9)) * 2 * math.pi / n, rng.uniform(r0, r1)
        out.append((int(cx + d * math.cos(a)), int(cy + d * math.sin(a))))
    return out


def random_ring(rng, n, lo, hi=None):
    hi = -lo if hi is None else hi
    return [(rng.randint(lo, hi), rng.randint(lo, hi)) for _ in range(n)]


def runs(rng, n, rng_):
    x0 = x = rng.randint(-rng_, rng_)
    out = []
    for i in range(n // 2):
        y, nxt = 4 * rng.randint(-3, 3), x0 if i + 1 == n // 2 else rng.randint(-rng_, rng_)
        out += [(x, y), (nxt, y)]
        x = nxt
    return out


def comb(teeth):
    out = [(0, 0), (10 * teeth, 0)]
    for t in range(teeth - 1, -1, -1):
        out += [(10 * t + 8, 10), (10 * t + 2, 10), (10 * t, 1)]
    return out


def near_limits(rng, n, margin):
    c = lambda: rng.choice([rng.randint(MIN, MIN + margin), rng.randint(MAX - margin, MAX),
                            rng.randint(MIN, MAX)])
    return [(c(), c()) for _ in range(n)]


def shift(pts, dx, dy):
    return [(max(MIN, min(MAX, x + dx)), max(MIN, min(MAX, y + dy))) for x, y in pts]


def closed(pts):
    return pts + pts[:1]


def named_rings(rng):
    rings = {"empty": [], "one-point": [(5, 5)], "two-points": [(0, 0), (1, 2)],
             "flat": [(0, 0), (10, 0), (20, 0)], "upright": [(0, 0), (0, 10), (0, 20)],
             "square": [(0, 0), (10, 0), (10, 10), (0, 10)],
             "repeated": [(0, 0), (0, 0), (10, 0), (10, 10), (10, 10), (0, 10)],
             "diamond-46341": [(0, -46341), (46341, 0), (0, 46341), (-46341, 0)],
             "flat-wrapping": [(0, 0), (10000000, 0), (0, 300)],
             "comb-20": comb(20), "comb-20-closing": comb(20) + [(0, 10)], "comb-25": comb(25)}
    for n in (3, 4, 8, 40, 64, 255, 256, 257, 300):
        rings["star-%d" % n] = star(rng, n, 10, 60)
    for n in (3, 4, 6, 9, 13, 30):
        rings["crossing-%d" % n] = random_ring(rng, n, -40)
    for n in (4, 8, 16, 60):
        rings["runs-%d" % n] = runs(rng, n, 50 if n < 60 else 1000)
    for n in (3, 5, 12):
        rings["wrap-%d" % n] = random_ring(rng, n, -(20000 + 5000 * n))
        rings["full-%d" % n] = random_ring(rng, n, MIN, MAX)
        rings["near-limits-%d" % n] = near_limits(rng, n, 1000)
        rings["near-max-%d" % n] = shift(random_ring(rng, n, -200000), MAX - 200000, MAX - 200000)
        rings["near-min-%d" % n] = shift(random_ring(rng, n, -200000), MIN + 200000, MIN + 200000)
    rings["wide-star"] = star(rng, 200, 100000, 3000000)
    return rings


WRITTEN = {}  # path -> bytes, every seed this run produces


def write(target, name, seed):
    WRITTEN[os.path.join(ROOT, target, "seed-" + name)] = bytes(seed.b)


def line(s, v):  # line_near / from / to of the polygons target: any value
    s.byte(0)
    s.varied(v)


def polygons(rng):
    for name, r in named_rings(rng).items():
        for shut in (False, True):
            pts = closed(r) if shut else r
            if (shut and not r) or len(pts) > 300:
                continue
            s = Seed()
            scale = s.ring(300, pts)
            s.byte(scale)
            ys = sorted({y for _, y in pts}) or [0]
            s.point(scale, (0, 0))
            s.point(scale, pts[0] if pts else (0, 0))
            s.flag(False)
            for k in range(4):  # rows and columns through vertices, the comb's row 5
                at = 5 if name.startswith("comb") and k == 0 else ys[k * len(ys) // 4] + k % 2
                for v in (at, -70 if scale < 2 else MIN, 70 * (k + 1)):
                    line(s, v)
                s.flag(False)
                for v in (at, -70, 75):
                    line(s, v)
                s.flag(False)
            s.ring(24, random_ring(rng, 5, -20))
            write("polygons", name + ("-closed" if shut else ""), s)


def prepared(rng):
    for name, r in named_rings(rng).items():
        for shut in (False, True):
            pts = closed(r) if shut else r
            if (shut and not r) or len(pts) > 200:
                continue
            s = Seed()
            s.byte(3)
            s.flag(False)
            s.ring(200, pts)
            s.in_(1, 16, 16)
            for i in range(16):  # on and beside vertices
                if pts:
                    s.flag(True)
                    s.u32(rng.randrange(len(pts)))
                    s.in_(-2, 2, rng.randint(-2, 2))
                    s.in_(-2, 2, rng.randint(-2, 2))
                else:
                    s.point(3, (rng.randint(-50, 50), rng.randint(-50, 50)))
            s.in_(0, 6, 0)  # no zones
            s.flag(False)
            mcr(s, rng)
            s.b += bytes(rng.randrange(256) for _ in range(8 * 16))  # crossings to probe
            write("prepared", name + ("-closed" if shut else ""), s)
    for k, scale in enumerate((200, 2000000, 1000000000)):  # overlapping zones, skipped ids
        for rule in (False, True):
            s = Seed()
            s.byte(3)
            s.flag(True)
            s.ring(12, [])
            s.in_(1, 16, 16)
            for _ in range(16):
                s.point(3, (rng.randint(-scale, scale), rng.randint(-scale, scale)))
            s.in_(0, 6, 6)
            for z in range(6):
                rad, cx, cy = rng.randint(1, scale // 3), rng.randint(-scale, scale) // 2, \
                    rng.randint(-scale, scale) // 2
                ring = shift(star(rng, rng.randint(3, 13), rad // 2 + 1, rad) if z % 2 else
                             random_ring(rng, rng.randint(3, 13), -rad), cx, cy)
                s.ring(24, ring)
                s.byte(5 if z == 4 else 1)  # kind 5: the no-zone id, skipped
                if z != 4:
                    s.in_(-3, 3, z % 3 - 1)
            s.flag(rule)
            mcr(s, rng)
            write("prepared", "zones-%d-%s" % (scale, "exact" if rule else "compatible"), s)


def mcr(s, rng):
    """The inscribed-rectangle part of the prepared target: a small star, self-crossing
    ring or run of GetMCR's kinds within 64 units, any step; no long-edged ring."""
    n = rng.randint(3, 20)
    ring = [star(rng, n, 2, 30), random_ring(rng, n, -30), runs(rng, 2 * (n // 2), 30)][n % 3]
    s.flag(True)
    s.in_(1, 64, 64)
    s.in_(MIN, MAX - 64, -32)
    s.flag(True)  # the same origin for y
    s.in_(0, 30, len(ring))
    for x, y in ring:
        s.in_(0, 64, x + 32)
        s.in_(0, 64, y + 32)
    s.flag(True)
    s.in_(-2, 6, rng.randint(-2, 6))
    s.byte(1)


def shapes(rng):
    for k in range(24):
        s = Seed()
        s.byte(0 if k % 2 else 1)
        scale = k % 2 == 0 and 1 or 0
        ra = star(rng, rng.randint(3, 12), 2, 15 if scale == 0 else 61) if k % 3 else \
            random_ring(rng, rng.randint(3, 12), -15 if scale == 0 else -60)
        rb = random_ring(rng, rng.randint(3, 5), -15)
        for r in (ra, rb):  # both at the scale of the first byte
            s.in_(0, 30, len(r))
            s.byte(scale)
            for p in r:
                s.byte(1)
                s.point(scale, p)
        s.point(scale, (rng.randint(-15, 15), rng.randint(-15, 15)))
        for _ in range(2):  # rectangles
            s.byte(2)
            s.point(scale, (rng.randint(-15, 0), rng.randint(-15, 0)))
            s.point(scale, (rng.randint(0, 15), rng.randint(0, 15)))
        for _ in range(3):  # shapes over the rings as given
            s.byte(1)
            s.byte(1)
        s.flag(True)
        s.byte(1)
        s.byte(1)
        for _ in range(3):
            s.point(scale, (rng.randint(-15, 15), rng.randint(-15, 15)))
        s.flag(k % 4 == 0)
        if k % 4 == 0:
            s.u32(rng.randrange(len(ra)))
        s.flag(False)
        s.byte(0)  # a rectangle hugging the second ring's bound
        for _ in range(4):
            s.in_(-1, 2, rng.randint(-1, 2))
        write("shapes", "relations-%d" % k, s)


def fixed(rng):
    halves = [0x8000, -0x8000, 0x18000, -0x18000, 0x7FFF, -0x7FFF, 0x8001, -0x8001, 0xFFFF,
              -0xFFFF, 0x10000, -0x10000, 0x17FFF, 3 * 65536 + 0x8000, MAX, MIN, MIN + 1]
    roots = [k * k + d for k in (1, 255, 256, 4095, 46340, 46341, 65535) for d in (-1, 0)]
    angles = [MIN, MAX, -23592960, -23592961, 90 * 65536, 270 * 65536, 90 * 65536 - 1,
              90 * 65536 + 1, 180 * 65536, -90 * 65536, 359, 360, -1]
    for k in range(max(len(halves), len(roots), len(angles))):
        s = Seed()
        a = halves[k % len(halves)]
        for v in (a, a if k % 2 else -a, 2 * 65536 if k % 3 else MIN):
            s.varied(v)
        s.varied(roots[k % len(roots)] - (1 << 32 if roots[k % len(roots)] > MAX else 0))
        angle = angles[k % len(angles)]
        s.u32(angle)
        s.in_(0, 90 * 65536, rng.randint(0, 90 * 65536))
        if angle % (360 * 65536) not in (90 * 65536, 270 * 65536):  # poles return first
            s.in_(0, 90 * 65536 - 1, rng.randint(0, 90 * 65536 - 1))
        x = (rng.randint(-(1 << 30), 1 << 30) >> (k % 30)) or 1
        y = rng.randint(-(1 << 30), 1 << 30) >> (29 - k % 30)
        s.varied(x)
        s.varied(y)
        s.in_(1, 12, 1 + k % 12)
        s.varied(x >> 2)  # vectors, every scale to 2^28
        s.varied(-(y >> (k % 28)))
        s.u32(angles[(k + 3) % len(angles)] if k % 2 else rng.randint(MIN, MAX))
        for _ in range(4):
            s.varied(rng.randint(-(1 << 17), 1 << 17))
        s.u32(rng.randint(MIN, MAX))
        s.u32(angles[k % len(angles)])
        write("fixed", "landmarks-%d" % k, s)


def geo(rng):
    for k in range(12):  # realistic and wild values everywhere, straight paths at the end
        s = Seed()
        s.b += bytes(rng.randrange(256) for _ in range(800))
        write("geo", "random-%d" % k, s)


def segments(rng):
    cases = {"parallel": [(0, 0), (10, 0), (5, 0), (15, 0)],
             "collinear-inside": [(0, 0), (10, 10), (-5, -5), (15, 15)],
             "collinear-outside": [(-5, -5), (15, 15), (0, 0), (10, 10)],
             "shared-end": [(0, 0), (5, 5), (5, 5), (10, 0)],
             "crossing": [(0, 0), (10, 10), (0, 10), (10, 0)],
             "degenerate": [(3, 3), (3, 3), (0, 0), (6, 6)]}
    for k in range(20):
        cases["small-%d" % k] = random_ring(rng, 4, -12)
    for name, (a, b, c, d) in cases.items():
        s = Seed()
        s.byte(0)
        for p in (a, b, c, d):
            s.point(0, p)
        s.byte(0)  # rectangles: a small clip window and a short segment, on edge lines now and then
        mn = (rng.randint(-6, 8), rng.randint(-6, 8))
        s.point(0, mn)
        s.point(0, (mn[0] + rng.randint(0, 4), mn[1] + rng.randint(0, 4)))
        s.flag(False)
        s.point(0, (rng.randint(-6, 16), rng.randint(-6, 16)))
        s.point(0, (rng.randint(-6, 16), rng.randint(-6, 16)))
        for _ in range(4):
            s.byte(rng.randrange(8))
        write("segments", name, s)


def main(argv):
    for target in (polygons, prepared, shapes, fixed, geo, segments):
        target(random.Random(20261205))
    if argv[1:] == ["--check"]:
        committed = {os.path.join(ROOT, t, f) for t in os.listdir(ROOT)
                     for f in os.listdir(os.path.join(ROOT, t)) if f.startswith("seed-")}
        stale = sorted(committed - set(WRITTEN))
        differ = sorted(p for p, b in WRITTEN.items()
                        if not os.path.exists(p) or open(p, "rb").read() != b)
        for p in differ:
            print("differs from what make_seeds.py writes:", os.path.relpath(p, ROOT))
        for p in stale:
            print("no longer written by make_seeds.py:", os.path.relpath(p, ROOT))
        print(f"{len(WRITTEN)} seeds checked")
        return 1 if differ or stale else 0
    for path, data in WRITTEN.items():
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
