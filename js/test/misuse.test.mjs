// Misuse throws a TypeError or RangeError naming the argument, before
// anything reaches the module: afterwards the module's memory holds what it
// held before and every answer is still right.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';

import * as k from '../lib/kelvor.js';

const square = [[0, 0], [1000, 0], [1000, 800], [0, 800]];
const expectedDigest = readFileSync(new URL('../../tests/determinism/expected-digest-portable.txt', import.meta.url), 'utf8');

// [what, call, error class, pattern the message must match (the argument's name)]
const cases = [
  ['ring of float64', () => new k.Polygon(new Float64Array(8)), TypeError, /^coords: expected/],
  ['ring of uint32', () => new k.Polygon(new Uint32Array(8)), TypeError, /^coords: .*Uint32Array/],
  ['ring of odd length', () => new k.Polygon(new Int32Array(7)), RangeError, /^coords: .*odd length 7/],
  ['flat ring of odd length', () => new k.Polygon([0, 0, 5, 5, 9]), RangeError, /^coords: .*odd length 5/],
  ['point of three values', () => new k.Polygon([[0, 0], [1, 2, 3]]), RangeError, /^coords\[1\]: expected an \[x, y\] pair/],
  ['fractional coordinate', () => new k.Polygon([[0, 0], [1.5, 2], [3, 3]]), RangeError, /^coords\[1\]\[0\]: expected an int32 integer, got 1.5/],
  ['coordinate past int32', () => new k.Polygon([[0, 0], [2 ** 31, 0], [3, 3]]), RangeError, /^coords\[1\]\[0\]/],
  ['string coordinate', () => new k.Polygon([[0, '0'], [1, 1], [2, 0]]), TypeError, /^coords\[0\]\[1\]/],
  ['hole given as a string', () => new k.Polygon([square, 'lake']), TypeError, /^coords\[1\]: expected an Int32Array/],
  ['nesting too deep', () => new k.Polygon([[[[[[0, 0]]]]]]), RangeError, /^coords: nested too deeply/],
  ['rule unknown', () => new k.Polygon(square, { rule: 'fast' }), RangeError, /^rule: expected 'compatible' or 'exact', got 'fast'/],
  ['rule not a string', () => new k.Polygon(square, { rule: 1 }), TypeError, /^rule: /],
  ['option misspelt', () => new k.Polygon(square, { rules: 'exact' }), TypeError, /^options: unknown option 'rules'/],
  ['options not an object', () => new k.Polygon(square, 'exact'), TypeError, /^options: expected an object/],
  ['points of float32', () => withPolygon((pg) => pg.contains(new Float32Array(4))), TypeError, /^points: .*Float32Array/],
  ['points of odd length', () => withPolygon((pg) => pg.containsBounded(new Int32Array(3))), RangeError, /^points: .*odd length 3/],
  ['points as a string', () => withPolygon((pg) => pg.contains('1,2')), TypeError, /^points: .*string/],
  ['zones not an array', () => new k.ZoneIndex({ 0: square }), TypeError, /^zones: expected an array/],
  ['zone of float64', () => new k.ZoneIndex([square, new Float64Array(6)]), TypeError, /^zones\[1\]: expected/],
  ['ids of the wrong count', () => new k.ZoneIndex([square], { ids: [1, 2] }), RangeError, /^ids: expected 1 ids/],
  ['ids of float64', () => new k.ZoneIndex([square], { ids: new Float64Array(1) }), TypeError, /^ids: /],
  ['zone rule unknown', () => new k.ZoneIndex([square], { rule: 'Exact' }), RangeError, /^rule: /],
  ['locate points of float64', () => withIndex((z) => z.locate(new Float64Array(2))), TypeError, /^points: /],
  ['locate points of odd length', () => withIndex((z) => z.locate([1, 2, 3])), RangeError, /^points: .*odd length 3/],
  ['features not GeoJSON', () => k.ZoneIndex.fromGeometries({ type: 'Feature' }), TypeError, /^features: expected a FeatureCollection/],
  ['a LineString feature', () => k.ZoneIndex.fromGeometries(collection({ type: 'LineString', coordinates: [[0, 0], [1, 1]] })),
    TypeError, /^features\.features\[1\]\.geometry: expected a Polygon or MultiPolygon, got LineString/],
  ['a Point geometry', () => k.ZoneIndex.fromGeometries([geo(0), { type: 'Point', coordinates: [0, 0] }]), TypeError, /^features\[1\]: .*got Point/],
  ['a GeometryCollection', () => k.ZoneIndex.fromGeometries([{ type: 'GeometryCollection', geometries: [] }]), TypeError, /^features\[0\]: .*GeometryCollection/],
  ['a string feature', () => k.ZoneIndex.fromGeometries([geo(0), 'Polygon']), TypeError, /^features\[1\]: .*string/],
  ['a Polygon without coordinates', () => k.ZoneIndex.fromGeometries([{ type: 'Polygon' }]), TypeError, /^features\[0\]: a Polygon needs an array of coordinates/],
  ['a position of one number', () => k.ZoneIndex.fromGeometries([{ type: 'Polygon', coordinates: [[[0, 0], [1], [1, 1]]] }]), TypeError, /^features\[0\]\.coordinates\[0\]\[1\]/],
  ['NaN degrees', () => k.ZoneIndex.fromGeometries([{ type: 'Polygon', coordinates: [[[0, 0], [NaN, 1], [1, 1]]] }]), RangeError, /^features\[0\]: NaN or infinite/],
  ['degrees past int32 units', () => k.ZoneIndex.fromGeometries([{ type: 'Polygon', coordinates: [[[0, 0], [30000, 1], [1, 1]]] }]), RangeError, /^features\[0\]: 30000 .*beyond the int32 range/],
  ['id property missing', () => k.ZoneIndex.fromGeometries(collection(null), { idProperty: 'iso' }), TypeError, /^features\.features\[0\]\.properties\.iso: expected an int32 number, got undefined/],
  ['id property fractional', () => k.ZoneIndex.fromGeometries([{ type: 'Feature', properties: { iso: 1.5 }, geometry: null }], { idProperty: 'iso' }), RangeError, /^features\[0\]\.properties\.iso/],
  ['idProperty not a string', () => k.ZoneIndex.fromGeometries([], { idProperty: 3 }), TypeError, /^idProperty: /],
  ['scale negative', () => k.ZoneIndex.fromGeometries([], { scale: -1 }), RangeError, /^scale: /],
  ['scale a string', () => k.Polygon.fromGeometry(geo(0), { scale: '1e5' }), TypeError, /^scale: /],
  ['geometry a LineString', () => k.Polygon.fromGeometry({ type: 'LineString', coordinates: [] }), TypeError, /^geometry: .*LineString/],
  ['ring for the wrap check of float64', () => k.ringCanWrap(new Float64Array(6)), TypeError, /^ring: /],
  ['ring to densify of odd length', () => k.densifyRing(new Int32Array(5)), RangeError, /^ring: /],
  ['step fractional', () => k.inscribedRect(square, 1.5), RangeError, /^step: /],
  ['step missing', () => k.getMcr(square), TypeError, /^step: /],
  ['empty ring for a bounding rectangle', () => k.boundingRect([]), RangeError, /^ring: expected at least one point/],
  ['degrees as an Int32Array', () => k.segmentLength(new Int32Array(2), [0, 0]), TypeError, /^a: .*Float64Array/],
  ['units as a Float64Array', () => k.segmentLengthBin(new Float64Array(2), [0, 0]), TypeError, /^a: /],
  ['row counts differ', () => k.segmentLength(new Float64Array(4), new Float64Array(6)), RangeError, /^a and b: row counts differ \(2 and 3\)/],
  ['track of odd length', () => k.lineLength(new Float64Array(3)), RangeError, /^track: /],
  ['turn points of the wrong kind', () => k.turnAngle([0, 0], [1, 1], 'east'), TypeError, /^c: /],
  ['half a string', () => k.rectCenterPt([0, 0], '5'), TypeError, /^half: /],
  ['16.16 value fractional', () => k.mulFix(1.5, 2), RangeError, /^a: expected an int32 integer/],
  ['16.16 value a string', () => k.sin('90'), TypeError, /^angle: /],
  ['16.16 values of different lengths', () => k.mulDiv([1, 2], [3, 4, 5], 1), RangeError, /^a and b: row counts differ/],
  ['matrix of three values', () => k.vectorTransform([1, 1], [1, 0, 0]), RangeError, /^m: /],
  ['span ends of float64', () => k.polygonClipHorizon(square, new Float64Array(1), 5, 5), TypeError, /^from: /],
  ['clip rectangle of odd length', () => k.rectClipSegment([0, 0, 1], [5, 5], [1, 1], [2, 2]), RangeError, /^rectMin: /],
  ['degrees NaN', () => k.toUnits(NaN), RangeError, /^degrees: NaN has no unit value/],
  ['degrees past int32 units', () => k.toUnits([0, 1e5]), RangeError, /^degrees\[1\]: 100000 is beyond/],
  ['degrees as an Int32Array', () => k.toUnits(new Int32Array(2)), TypeError, /^degrees: /],
  ['units fractional', () => k.toDegrees(0.5), RangeError, /^units: /],
];

function withPolygon(f) {
  const pg = new k.Polygon(square);
  try { return f(pg); } finally { pg.free(); }
}
function withIndex(f) {
  const z = new k.ZoneIndex([square]);
  try { return f(z); } finally { z.free(); }
}
function geo(lon) {
  return { type: 'Polygon', coordinates: [[[lon, 0], [lon + 1, 0], [lon + 1, 1], [lon, 0]]] };
}
function collection(second) {
  return { type: 'FeatureCollection', features: [{ type: 'Feature', properties: {}, geometry: geo(0) }, { type: 'Feature', properties: {}, geometry: second }] };
}

test('every misuse throws the right error naming its argument, and leaves the module as it was', () => {
  const before = k.memoryStats().heapInUse;
  for (const [what, call, Type, pattern] of cases) {
    let thrown = null;
    try {
      call();
    } catch (e) {
      thrown = e;
    }
    assert.ok(thrown !== null, `${what}: nothing thrown`);
    assert.ok(thrown instanceof Type, `${what}: expected a ${Type.name}, got ${thrown.constructor.name}: ${thrown.message}`);
    assert.match(thrown.message, pattern, `${what}: message`);
  }
  assert.equal(k.memoryStats().heapInUse, before, 'heap in use after the failed calls');
  assert.equal(k.digest(), expectedDigest, 'digest after the failed calls');
});

test('a freed Polygon or ZoneIndex throws a TypeError naming it on every use', () => {
  const pg = new k.Polygon(square);
  const index = new k.ZoneIndex([square]);
  pg.free();
  index.free();
  pg.free();  // a second free does nothing
  assert.equal(pg.freed, true);
  const uses = [
    ['Polygon', () => pg.contains([1, 1])], ['Polygon', () => pg.containsBounded([1, 1])],
    ['Polygon', () => pg.bound], ['Polygon', () => pg.canWrap], ['Polygon', () => pg.rule],
    ['Polygon', () => pg.rings], ['Polygon', () => pg.holes], ['Polygon', () => pg.memoryBytes],
    ['ZoneIndex', () => index.locate([1, 1])], ['ZoneIndex', () => index.size],
    ['ZoneIndex', () => index.ids], ['ZoneIndex', () => index.rule], ['ZoneIndex', () => index.memoryBytes],
  ];
  uses.forEach(([name, use], i) => {
    assert.throws(use, (e) => e instanceof TypeError && e.message === `${name}: used after free()`, `use ${i} of ${name}`);
  });
});

test('Symbol.dispose frees, where the runtime has it', { skip: typeof Symbol.dispose !== 'symbol' && 'no Symbol.dispose' }, () => {
  const pg = new k.Polygon(square);
  const index = new k.ZoneIndex([square]);
  pg[Symbol.dispose]();
  index[Symbol.dispose]();
  assert.equal(pg.freed, true);
  assert.equal(index.freed, true);
  assert.throws(() => pg.contains([1, 1]), TypeError);
});
