// The kelvor npm package against Turf in Node, one run, ratios printed
// (times are never asserted):
//  1. ZoneIndex.locate over the Natural Earth countries (177 zones, 10,643
//     vertices, naturalearth-countries.geojson) against Turf's
//     booleanPointInPolygon over the countries whose bounding box a flatbush
//     index returns, on 1,000,000 points uniform over the world's box and
//     1,000,000 mixed ones (half of them inside country boxes); with the
//     agreement rate, per rule, and where the answers part;
//  2. Polygon.contains on a 16,384-vertex country-like outline against
//     booleanPointInPolygon.
// Both sides are timed in steady state, after a second of warm-up calls
// (steady()): the first calls run code that V8 has not optimised yet.
// Points are drawn as whole 1/100000-degree units, and Turf gets exactly
// those points in degrees, so the two differ only where the engines do.
//
// Needs the module built (js/README.md) and `npm ci` here:
//   node bench/js/bench.mjs [--points N]
import { readFileSync } from 'node:fs';
import { performance } from 'node:perf_hooks';

import { booleanPointInPolygon } from '@turf/boolean-point-in-polygon';
import Flatbush from 'flatbush';

import { NO_ZONE, Polygon, ZoneIndex, ringCanWrap, toDegrees } from '../../js/lib/kelvor.js';

const argIndex = process.argv.indexOf('--points');
const N = argIndex > 0 ? Number(process.argv[argIndex + 1]) : 1_000_000;

// xorshift32: the same points on every run.
function generator(seed) {
  let s = seed >>> 0;
  return () => {
    s ^= s << 13; s >>>= 0;
    s ^= s >>> 17;
    s ^= s << 5; s >>>= 0;
    return s / 4294967296;
  };
}

function time(f) {
  const t0 = performance.now();
  const result = f();
  return [result, performance.now() - t0];
}

// Steady state: calls f for at least warmMs first (V8 compiles WebAssembly
// and JavaScript in tiers, the optimised code arriving after some calls),
// then times `runs` calls and keeps the fastest.
function steady(f, { warmMs = 1000, runs = 3 } = {}) {
  const t0 = performance.now();
  do f(); while (performance.now() - t0 < warmMs);
  let best = [undefined, Infinity];
  for (let k = 0; k < runs; ++k) {
    const r = time(f);
    if (r[1] < best[1]) best = r;
  }
  return best;
}

const countries = JSON.parse(readFileSync(new URL('./naturalearth-countries.geojson', import.meta.url), 'utf8'));
const features = countries.features;

// ---- the prefilter: one box per country ----------------------------------------------------

function boxOf(geometry) {
  const box = [Infinity, Infinity, -Infinity, -Infinity];
  const polygons = geometry.type === 'Polygon' ? [geometry.coordinates] : geometry.coordinates;
  for (const polygon of polygons) {
    for (const [x, y] of polygon[0]) {
      box[0] = Math.min(box[0], x); box[1] = Math.min(box[1], y);
      box[2] = Math.max(box[2], x); box[3] = Math.max(box[3], y);
    }
  }
  return box;
}
const boxes = features.map((f) => boxOf(f.geometry));
const [flatbush, flatbushMs] = time(() => {
  const index = new Flatbush(features.length);
  for (const b of boxes) index.add(...b);
  index.finish();
  return index;
});

// Turf's answer: the lowest id among the countries holding the point (ids
// are the feature positions, as flatbush numbers the boxes).
function turfLocate(lonlat, n) {
  const out = new Int32Array(n);
  const point = [0, 0];
  for (let i = 0; i < n; ++i) {
    const x = lonlat[2 * i];
    const y = lonlat[2 * i + 1];
    point[0] = x;
    point[1] = y;
    const candidates = flatbush.search(x, y, x, y).sort((a, b) => a - b);
    let id = NO_ZONE;
    for (const c of candidates) {
      if (booleanPointInPolygon(point, features[c])) {
        id = c;
        break;
      }
    }
    out[i] = id;
  }
  return out;
}

// ---- the points -------------------------------------------------------------------------------

function uniformUnits(n, random) {
  const units = new Int32Array(2 * n);
  for (let i = 0; i < n; ++i) {
    units[2 * i] = Math.floor(-18000000 + random() * 36000001);
    units[2 * i + 1] = Math.floor(-9000000 + random() * 18000001);
  }
  return units;
}

// Half uniform, half inside a country's box chosen at random.
function mixedUnits(n, random) {
  const units = uniformUnits(n, random);
  for (let i = 0; i < n; i += 2) {
    const b = boxes[Math.floor(random() * boxes.length)];
    units[2 * i] = Math.round((b[0] + random() * (b[2] - b[0])) * 100000);
    units[2 * i + 1] = Math.round((b[1] + random() * (b[3] - b[1])) * 100000);
  }
  return units;
}

// ---- 1. zones ---------------------------------------------------------------------------------------

const vertexCount = features.reduce((n, f) => {
  const polygons = f.geometry.type === 'Polygon' ? [f.geometry.coordinates] : f.geometry.coordinates;
  return n + polygons.reduce((m, p) => m + p.reduce((k, ring) => k + ring.length, 0), 0);
}, 0);
console.log(`kelvor (WebAssembly, portable maths) against @turf/boolean-point-in-polygon + flatbush, Node ${process.version}, ${N} points`);
console.log(`zones: ${features.length} Natural Earth countries, ${vertexCount} vertices`);

const indexes = {};
for (const rule of ['exact', 'compatible']) {
  const [index, ms] = time(() => ZoneIndex.fromGeometries(countries, { idProperty: 'id', rule }));
  indexes[rule] = index;
  console.log(`ZoneIndex.fromGeometries (${rule}): ${ms.toFixed(1)} ms, ${(index.memoryBytes / 1048576).toFixed(1)} MiB`);
}
console.log(`flatbush over the country boxes: ${flatbushMs.toFixed(1)} ms`);
const wrapping = features.filter((f) => {
  const polygons = f.geometry.type === 'Polygon' ? [f.geometry.coordinates] : f.geometry.coordinates;
  return polygons.some((p) => p.some((ring) => ringCanWrap(ring.map(([x, y]) => [Math.round(x * 1e5), Math.round(y * 1e5)]))));
}).length;
console.log(`countries with a ring that can wrap under the compatible rule: ${wrapping}`);

const rows = [];
for (const [label, make] of [['uniform', uniformUnits], ['mixed', mixedUnits]]) {
  const units = make(N, generator(label === 'uniform' ? 20240611 : 7));
  const degrees = toDegrees(units);
  const timings = {};
  const answers = {};
  for (const rule of ['exact', 'compatible']) {
    const [got, ms] = steady(() => indexes[rule].locate(units));
    answers[rule] = got;
    timings[rule] = ms;
  }
  const [turf, turfMs] = steady(() => turfLocate(degrees, N), { runs: 2 });
  for (const rule of ['exact', 'compatible']) {
    const got = answers[rule];
    let differ = 0;
    let nearBoundary = 0;
    let checked = 0;
    for (let i = 0; i < N; ++i) {
      if (got[i] === turf[i]) continue;
      differ += 1;
      // Within one unit of a boundary: the same index answers some
      // neighbour otherwise (a wrapped crossing lands far from its edge).
      if (checked < 2000) {
        checked += 1;
        const x = units[2 * i];
        const y = units[2 * i + 1];
        const around = indexes[rule].locate([x - 1, y, x + 1, y, x, y - 1, x, y + 1]);
        if (around.some((v) => v !== got[i])) nearBoundary += 1;
      }
    }
    rows.push({
      points: label,
      rule,
      'kelvor ns/point': (timings[rule] * 1e6 / N).toFixed(1),
      'turf+flatbush ns/point': (turfMs * 1e6 / N).toFixed(1),
      ratio: `${(turfMs / timings[rule]).toFixed(1)}x`,
      agreement: `${(100 * (1 - differ / N)).toFixed(4)} %`,
      differing: differ,
      'near a boundary': checked ? `${nearBoundary} of ${checked}` : '-',
    });
  }
}
console.log('\nZoneIndex.locate, 1 call per rule over all points (steady state: the fastest of 3 calls after 1 s of calls), against Turf per point (the faster of 2 runs):');
console.table(rows);
for (const index of Object.values(indexes)) index.free();

// ---- 2. one large ring ------------------------------------------------------------------------------

// A country-like outline, as the native benchmarks draw it: a star whose
// radius is a sum of sinusoids (lobes, bays, wiggles) plus noise about the
// vertex spacing; 10 degrees across, edges short against the box, so that
// neither rule wraps.
const VERTICES = 16384;
const random = generator(99);
const star = [];
{
  const freq = [2, 5, 11, 23, 53];
  const amp = [0.12, 0.08, 0.05, 0.03, 0.015];
  const phase = freq.map(() => 2 * Math.PI * random());
  const radius = 1000000 / 2.2;
  const sector = (2 * Math.PI) / VERTICES;
  for (let i = 0; i < VERTICES; ++i) {
    const a = sector * (i + 0.2 + 0.6 * random());
    let r = 1;
    for (let k = 0; k < freq.length; ++k) r += amp[k] * Math.sin(freq[k] * a + phase[k]);
    r = r * radius + radius * sector * (random() - 0.5) * 0.5;
    star.push([Math.round(1000000 + r * Math.cos(a)), Math.round(4500000 + r * Math.sin(a))]);
  }
}
const starDegrees = { type: 'Polygon', coordinates: [[...star, star[0]].map(([x, y]) => [x / 1e5, y / 1e5])] };
const ringPoints = new Int32Array(2 * N);
for (let i = 0; i < N; ++i) {
  ringPoints[2 * i] = Math.round(1000000 + (random() - 0.5) * 1300000);
  ringPoints[2 * i + 1] = Math.round(4500000 + (random() - 0.5) * 1300000);
}
const turfN = Math.min(N, 20000);  // Turf walks every vertex per point
const ringDegrees = toDegrees(ringPoints.subarray(0, 2 * turfN));
const starRows = [];
for (const rule of ['exact', 'compatible']) {
  const [pg, buildMs] = time(() => new Polygon(star, { rule }));
  const [inside, ms] = steady(() => pg.contains(ringPoints));
  const [turfInside, turfMs] = steady(() => {
    const out = new Uint8Array(turfN);
    for (let i = 0; i < turfN; ++i) out[i] = booleanPointInPolygon([ringDegrees[2 * i], ringDegrees[2 * i + 1]], starDegrees) ? 1 : 0;
    return out;
  });
  let differ = 0;
  for (let i = 0; i < turfN; ++i) differ += inside[i] !== turfInside[i];
  starRows.push({
    rule,
    'build ms': buildMs.toFixed(1),
    'kelvor ns/point': (ms * 1e6 / N).toFixed(1),
    'turf ns/point': (turfMs * 1e6 / turfN).toFixed(0),
    ratio: `${((turfMs / turfN) / (ms / N)).toFixed(0)}x`,
    agreement: `${(100 * (1 - differ / turfN)).toFixed(3)} % of ${turfN}`,
  });
  pg.free();
}
console.log(`\nPolygon.contains on a ${VERTICES}-vertex outline (wraps: ${ringCanWrap(star)}) (${N} points; Turf on the first ${turfN}):`);
console.table(starRows);
