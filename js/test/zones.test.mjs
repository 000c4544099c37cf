// The zone index against a linear scan of Polygons, polygons against the
// plain engine loop, and what the rules, holes and wrap checks promise.
import { test } from 'node:test';
import assert from 'node:assert/strict';

import {
  NO_ZONE, Polygon, ZoneIndex, densifyRing, polygonContainPoint, ringCanWrap, toDegrees, toUnits,
} from '../lib/kelvor.js';

// A small seeded generator (xorshift32), so a failure repeats.
function generator(seed) {
  let s = seed >>> 0 || 1;
  const next = () => {
    s ^= s << 13; s >>>= 0;
    s ^= s >>> 17;
    s ^= s << 5; s >>>= 0;
    return s;
  };
  return {
    next,
    int: (lo, hi) => lo + Math.floor((next() / 4294967296) * (hi - lo + 1)),
  };
}

// A star-shaped ring around (cx, cy): radii between r0 and r1.
function star(r, n, cx, cy, r0, r1) {
  const ring = new Int32Array(2 * n);
  for (let i = 0; i < n; ++i) {
    const a = (2 * Math.PI * i) / n;
    const rad = r0 + (r.next() / 4294967296) * (r1 - r0);
    ring[2 * i] = Math.trunc(cx + rad * Math.cos(a));
    ring[2 * i + 1] = Math.trunc(cy + rad * Math.sin(a));
  }
  return ring;
}

// A shrunk copy of a ring toward a point: a hole inside its outline.
function shrunk(ring, cx, cy, f) {
  return ring.map((v, i) => Math.trunc((i % 2 === 0 ? cx : cy) + (v - (i % 2 === 0 ? cx : cy)) * f));
}

// Zones of every form: plain rings, polygons with holes, multipolygons,
// spans from a few units to far past the wrapping limit.
function zoneSet(r, span) {
  const zones = [];
  for (let z = 0; z < 7; ++z) {
    const cx = r.int(-span, span);
    const cy = r.int(-span, span);
    const rad = span / 2;
    const outer = star(r, r.int(3, 40), cx, cy, rad / 4, rad);
    const kind = z % 3;
    if (kind === 0) zones.push(outer);
    else if (kind === 1) zones.push([outer, shrunk(outer, cx, cy, 0.4)]);
    else zones.push([[outer, shrunk(outer, cx, cy, 0.5)], [star(r, r.int(3, 12), cx + rad, cy - rad, rad / 8, rad / 3)]]);
  }
  return zones;
}

function queries(r, span, zones, n) {
  const pts = new Int32Array(2 * n);
  const verts = zones.flat(3).filter((x) => x instanceof Int32Array && x.length > 0);
  for (let i = 0; i < n; ++i) {
    if (i % 3 === 0 && verts.length > 0) {  // beside a vertex, where the rules and truncations matter
      const ring = verts[r.int(0, verts.length - 1)];
      const k = r.int(0, ring.length / 2 - 1);
      pts[2 * i] = ring[2 * k] + r.int(-2, 2);
      pts[2 * i + 1] = ring[2 * k + 1] + r.int(-2, 2);
    } else {
      pts[2 * i] = r.int(-2 * span, 2 * span);
      pts[2 * i + 1] = r.int(-2 * span, 2 * span);
    }
  }
  return pts;
}

test('ZoneIndex.locate equals the lowest id of a linear scan over Polygons', () => {
  const r = generator(20240611);
  let differing = 0;  // points where the two rules answer differently
  for (const span of [40, 5000, 300000, 50000000]) {
    for (let round = 0; round < 4; ++round) {
      const zones = zoneSet(r, span);
      const ids = Int32Array.from(zones, () => r.int(-3, 3));
      ids[round % zones.length] = NO_ZONE;  // a zone whose id skips it
      const pts = queries(r, span, zones, 3000);
      const byRule = {};
      for (const rule of ['compatible', 'exact']) {
        const index = new ZoneIndex(zones, { ids, rule });
        const polygons = zones.map((z) => new Polygon(z, { rule }));
        try {
          const got = index.locate(pts);
          const inside = polygons.map((pg) => pg.contains(pts));
          for (let i = 0; i < got.length; ++i) {
            let want = NO_ZONE;
            for (let z = 0; z < zones.length; ++z) {
              if (ids[z] !== NO_ZONE && inside[z][i] && (want === NO_ZONE || ids[z] < want)) want = ids[z];
            }
            if (got[i] !== want) {
              assert.fail(`span ${span} round ${round} ${rule}: point ${i} (${pts[2 * i]}, ${pts[2 * i + 1]}) located in ${got[i]}, the scan says ${want}`);
            }
          }
          assert.equal(index.size, zones.length - 1, `span ${span} round ${round}: zones kept`);
          byRule[rule] = got;
        } finally {
          index.free();
          polygons.forEach((pg) => pg.free());
        }
      }
      differing += byRule.compatible.filter((v, i) => v !== byRule.exact[i]).length;
    }
  }
  // The wide spans have wrapping edges: the scan above covered both rules
  // where they part.
  assert.ok(differing > 0, 'no point where the compatible and the exact rule differ');
});

test('a one-ring Polygon under the compatible rule answers as Polygon_Contain_Point', () => {
  const r = generator(77);
  for (const span of [30, 46341, 2000000]) {
    for (let k = 0; k < 20; ++k) {
      const ring = k % 2 ? star(r, r.int(3, 60), 0, 0, span / 5, span) : queries(r, span, [], r.int(0, 25));
      const pts = queries(r, span, ring.length ? [ring] : [], 2000);
      const pg = new Polygon(ring);
      try {
        const got = pg.contains(pts);
        const want = polygonContainPoint(ring, pts);
        const i = got.findIndex((v, j) => v !== want[j]);
        assert.equal(i, -1, `span ${span} ring ${k}: point ${i} (${pts[2 * i]}, ${pts[2 * i + 1]}): ${got[i]} against ${want[i]}`);
      } finally {
        pg.free();
      }
    }
  }
});

test('holes are outside, parts are inside, a hole of the first part does not cut the second', () => {
  const outer = [[0, 0], [100, 0], [100, 100], [0, 100]];
  const lake = [[40, 40], [60, 40], [60, 60], [40, 60]];
  const island = [[45, 45], [55, 45], [55, 55], [45, 55]];
  const land = new Polygon([[outer, lake], [island]], { rule: 'exact' });
  try {
    assert.deepEqual([...land.contains([[10, 10], [50, 42], [50, 50], [150, 50]])], [1, 0, 1, 0]);
    assert.deepEqual(land.holes, [false, true, false]);
    assert.equal(land.rings.length, 3);
    assert.deepEqual([...land.rings[1]], lake.flat());
    assert.deepEqual(land.bound, [0, 0, 100, 100]);
  } finally {
    land.free();
  }
});

test('the diamond of radius 46,341 wraps: its centre is outside under the compatible rule only', () => {
  const diamond = (r) => [[r, 0], [0, r], [-r, 0], [0, -r]];
  assert.equal(ringCanWrap(diamond(46341)), true, 'radius 46341');
  assert.equal(ringCanWrap(diamond(46340)), false, 'radius 46340');
  const compatible = new Polygon(diamond(46341));
  const exact = new Polygon(diamond(46341), { rule: 'exact' });
  try {
    assert.equal(compatible.canWrap, true);
    assert.equal(compatible.contains([0, 0])[0], 0, 'compatible: centre');
    assert.equal(exact.contains([0, 0])[0], 1, 'exact: centre');
  } finally {
    compatible.free();
    exact.free();
  }
});

test('densifyRing keeps every point in order, never wraps and agrees with the exact rule', () => {
  const r = generator(5);
  for (let k = 0; k < 12; ++k) {
    const ring = star(r, r.int(3, 30), r.int(-1e6, 1e6), r.int(-1e6, 1e6), 30000, 3000000);
    const dense = densifyRing(ring);
    assert.equal(ringCanWrap(dense), false, `ring ${k}: densified ring wraps`);
    // The original points appear in the densified ring in their order.
    let at = 0;
    for (let i = 0; i < ring.length; i += 2) {
      while (at < dense.length && (dense[at] !== ring[i] || dense[at + 1] !== ring[i + 1])) at += 2;
      assert.ok(at < dense.length, `ring ${k}: point ${i / 2} missing or out of order`);
      at += 2;
    }
    // Away from the boundary (moved by a unit at most) the densified ring
    // under the compatible rule answers as the original under the exact one.
    const pts = queries(r, 3000000, [ring], 4000);
    const a = new Polygon(dense);
    const b = new Polygon(ring, { rule: 'exact' });
    const c = new Polygon(ring, { rule: 'exact' });
    try {
      const got = a.contains(pts);
      const want = b.contains(pts);
      for (let i = 0; i < got.length; ++i) {
        if (got[i] === want[i]) continue;
        // A disagreement must sit within a unit of the boundary: some
        // neighbour of the point is answered the other way.
        const x = pts[2 * i];
        const y = pts[2 * i + 1];
        const around = c.contains([[x - 1, y], [x + 1, y], [x, y - 1], [x, y + 1], [x - 1, y - 1], [x + 1, y + 1], [x - 1, y + 1], [x + 1, y - 1]]);
        assert.ok(around.some((v) => v !== want[i]), `ring ${k}: (${x}, ${y}) differs far from the boundary`);
      }
    } finally {
      a.free();
      b.free();
      c.free();
    }
  }
});

test('fromGeometries: features in degrees, ids from a property, null geometries keep their place', () => {
  const square = (lon, lat, d) => [[lon, lat], [lon + d, lat], [lon + d, lat + d], [lon, lat + d], [lon, lat]];
  const features = {
    type: 'FeatureCollection',
    features: [
      { type: 'Feature', properties: { code: 528 }, geometry: { type: 'Polygon', coordinates: [square(4, 52, 1), square(4.4, 52.4, 0.2)] } },
      { type: 'Feature', properties: { code: 56 }, geometry: null },
      { type: 'Feature', properties: { code: 276 }, geometry: { type: 'MultiPolygon', coordinates: [[square(6, 50, 2)], [square(10, 50, 1)]] } },
    ],
  };
  const index = ZoneIndex.fromGeometries(features, { idProperty: 'code' });
  const byPosition = ZoneIndex.fromGeometries(features.features);
  try {
    const fixes = toUnits([[4.2, 52.1], [4.5, 52.5], [7, 51], [10.5, 50.5], [9, 50.5], [-3, 40]]);
    assert.deepEqual([...index.locate(fixes)], [528, NO_ZONE, 276, 276, NO_ZONE, NO_ZONE]);
    assert.deepEqual([...byPosition.locate(fixes)], [0, NO_ZONE, 2, 2, NO_ZONE, NO_ZONE]);
    assert.equal(index.rule, 'exact');
    assert.deepEqual([...index.ids], [528, 56, 276]);
  } finally {
    index.free();
    byPosition.free();
  }
});

test('toUnits rounds halves away from zero and toDegrees divides back', () => {
  assert.equal(toUnits(4.895125), 489513);  // 489512.5 in double: away from zero
  assert.equal(toUnits(-4.895125), -489513);
  assert.equal(toUnits(0.000004), 0);
  assert.deepEqual([...toUnits([[4.8952, 52.3702]])], [489520, 5237020]);
  assert.equal(toDegrees(489520), 4.8952);
  assert.deepEqual([...toDegrees(new Int32Array([-18000000, 9000000]))], [-180, 90]);
});
