// WebAssembly memory does not grow over create/free cycles, and objects
// forgotten without free() give theirs back when collected.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import v8 from 'node:v8';
import vm from 'node:vm';

import { Polygon, ZoneIndex, densifyRing, memoryStats, segmentLength } from '../lib/kelvor.js';

const outer = [[0, 0], [100000, 0], [100000, 90000], [0, 90000]];
const lake = [[40000, 40000], [60000, 40000], [60000, 60000], [40000, 60000]];
const fixes = Int32Array.from({ length: 2000 }, (_, i) => (i * 7919) % 120000);

function cycle(i) {
  const pg = new Polygon([outer, lake], { rule: i % 2 ? 'exact' : 'compatible' });
  const index = new ZoneIndex([[outer, lake], [[-500, -500], [-10, -500], [-10, -10]]], { ids: [i, i + 1] });
  pg.contains(fixes);
  index.locate(fixes);
  densifyRing(outer);
  segmentLength([[4.9, 52.4]], [[5.1, 52.1]]);
  pg.free();
  index.free();
}

test('10,000 create/query/free cycles leave the heap and the memory as they were', () => {
  for (let i = 0; i < 100; ++i) cycle(i);  // the allocator settles first
  const before = memoryStats();
  for (let i = 0; i < 10000; ++i) cycle(i);
  const after = memoryStats();
  assert.equal(after.heapInUse, before.heapInUse, 'bytes in use by the allocator');
  assert.equal(after.memoryBytes, before.memoryBytes, 'WebAssembly memory size');
});

test('the heap statistics see objects that are not freed', () => {
  const before = memoryStats().heapInUse;
  const kept = Array.from({ length: 50 }, () => new Polygon([outer, lake]));
  const held = memoryStats().heapInUse;
  kept.forEach((pg) => pg.free());
  assert.ok(held > before + 50 * 100, `50 polygons held ${held - before} bytes`);
  assert.equal(memoryStats().heapInUse, before, 'after freeing them');
});

test('a forgotten Polygon is freed once collected', async () => {
  v8.setFlagsFromString('--expose-gc');
  const gc = vm.runInNewContext('gc');
  const before = memoryStats().heapInUse;
  (() => {
    for (let i = 0; i < 20; ++i) new Polygon([outer, lake]);  // eslint-disable-line no-new
  })();
  assert.ok(memoryStats().heapInUse > before, 'the polygons hold memory until collected');
  // Finalizers run after a collection, on a later turn of the event loop.
  for (let round = 0; round < 50 && memoryStats().heapInUse !== before; ++round) {
    gc();
    await new Promise((resolve) => setTimeout(resolve, 20));
  }
  assert.equal(memoryStats().heapInUse, before, 'heap in use after collection');
});
