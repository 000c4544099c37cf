// Replays the native library's answers (written by js/native/answers.cpp,
// built for the host with portable maths) through the package, bit for bit:
// every call once with typed arrays and once with the same values as plain
// arrays, which take the package's other conversion path.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { existsSync, readFileSync } from 'node:fs';
import { fileURLToPath } from 'node:url';

import * as kelvor from '../lib/kelvor.js';

const answersPath = process.env.KELVOR_JS_ANSWERS
  ?? fileURLToPath(new URL('../../build/js-native/answers.json', import.meta.url));
const required = process.env.KELVOR_JS_REQUIRE_ANSWERS === '1';
const present = existsSync(answersPath);
const skip = present ? false
  : `no native answers at ${answersPath}: build and run js/native first (js/README.md, "Tests")`;
if (!present && required) throw new Error(skip);

const calls = present ? JSON.parse(readFileSync(answersPath, 'utf8')).calls : [];

// Functions the table need not cover: pure JavaScript, or the module's own
// self checks (tested in their own files).
const NOT_REPLAYED = new Set(['digest', 'memoryStats', 'toDegrees']);

function special(v) {
  if (v === 'NaN') return NaN;
  if (v === 'Infinity') return Infinity;
  if (v === '-Infinity') return -Infinity;
  return v;
}

// Tagged JSON into arguments; plain turns typed arrays into plain arrays:
// flat at the top, [[x, y], ...] for the rings of a polygon or multipolygon
// (where a flat list would read as one more level of nesting).
function decode(v, plain, nested = false) {
  if (v === null) return null;
  if ('i32' in v) {
    if (!plain) return Int32Array.from(v.i32);
    if (!nested) return v.i32.slice();
    return Array.from({ length: v.i32.length / 2 }, (_, i) => [v.i32[2 * i], v.i32[2 * i + 1]]);
  }
  if ('f64' in v) return plain ? v.f64.map(special) : Float64Array.from(v.f64, special);
  if ('num' in v) return special(v.num);
  if ('str' in v) return v.str;
  if ('bool' in v) return v.bool;
  if ('json' in v) return v.json;
  if ('list' in v) return v.list.map((x) => decode(x, plain, true));
  if ('obj' in v) return Object.fromEntries(Object.entries(v.obj).map(([k, x]) => [k, decode(x, plain)]));
  throw new Error(`unknown tag in ${JSON.stringify(v).slice(0, 80)}`);
}

function same(a, b) {
  return Object.is(a, b);
}

function describe(v) {
  return Object.is(v, -0) ? '-0' : String(v);
}

// Expected (tagged) against what the package returned.
function check(expected, actual, where) {
  const elements = (Type, values) => {
    assert.ok(actual instanceof Type, `${where}: expected a ${Type.name}, got ${actual?.constructor?.name ?? typeof actual}`);
    assert.equal(actual.length, values.length, `${where}: length`);
    for (let i = 0; i < values.length; ++i) {
      const e = special(values[i]);
      if (!same(actual[i], e)) assert.fail(`${where}[${i}]: expected ${describe(e)}, got ${describe(actual[i])}`);
    }
  };
  if ('i32' in expected) return elements(Int32Array, expected.i32);
  if ('u8' in expected) return elements(Uint8Array, expected.u8);
  if ('f64' in expected) return elements(Float64Array, expected.f64);
  if ('rect' in expected) {
    assert.ok(Array.isArray(actual), `${where}: expected a plain array`);
    return assert.deepEqual(actual, expected.rect, `${where}: rectangle`);
  }
  if ('num' in expected) {
    const e = special(expected.num);
    if (!same(actual, e)) assert.fail(`${where}: expected ${describe(e)}, got ${describe(actual)}`);
    return undefined;
  }
  if ('bool' in expected) return assert.equal(actual, expected.bool, `${where}: boolean`);
  if ('obj' in expected) {
    assert.deepEqual(Object.keys(actual).sort(), Object.keys(expected.obj).sort(), `${where}: fields`);
    for (const [k, v] of Object.entries(expected.obj)) check(v, actual[k], `${where}.${k}`);
    return undefined;
  }
  throw new Error(`${where}: unknown expected tag`);
}

function run(call, plain) {
  const args = call.args.map((a) => decode(a, plain));
  switch (call.fn) {
    case 'Polygon': {
      const [coords, opts, points] = args;
      const pg = new kelvor.Polygon(coords, opts);
      try {
        return { contains: pg.contains(points), containsBounded: pg.containsBounded(points), bound: pg.bound, canWrap: pg.canWrap };
      } finally {
        pg.free();
      }
    }
    case 'ZoneIndex': {
      const [zones, ids, opts, points] = args;
      const index = new kelvor.ZoneIndex(zones, { ...opts, ids });
      try {
        return { locate: index.locate(points), size: index.size };
      } finally {
        index.free();
      }
    }
    case 'ZoneIndex.fromGeometries': {
      const [features, opts, points] = args;
      const index = kelvor.ZoneIndex.fromGeometries(features, opts);
      try {
        return { locate: index.locate(points), size: index.size };
      } finally {
        index.free();
      }
    }
    default:
      return kelvor[call.fn](...args);
  }
}

const byFunction = new Map();
calls.forEach((call, i) => {
  if (!byFunction.has(call.fn)) byFunction.set(call.fn, []);
  byFunction.get(call.fn).push([i, call]);
});

test('every exported function has native answers to replay', { skip }, () => {
  const covered = new Set([...byFunction.keys()].map((fn) => fn.split('.')[0]));
  const missing = Object.entries(kelvor)
    .filter(([name, v]) => typeof v === 'function' && !covered.has(name) && !NOT_REPLAYED.has(name))
    .map(([name]) => name);
  assert.deepEqual(missing, [], `exported without native answers: ${missing.join(', ')}`);
});

for (const [fn, list] of byFunction) {
  test(`${fn} answers as the native library (${list.length} calls)`, { skip }, () => {
    for (const [i, call] of list) {
      for (const plain of [false, true]) {
        const where = `calls[${i}] ${fn} (${plain ? 'plain arrays' : 'typed arrays'})`;
        check(call.out, run(call, plain), where);
      }
    }
  });
}
