// Kelvor for JavaScript: the library's exact answers over typed arrays, from
// a WebAssembly build with portable maths (bit for bit what every portable
// native build answers).
//
// Every call checks its arguments here, copies them into the module's memory,
// makes one call into WebAssembly that loops over all rows, and copies the
// answers out into fresh typed arrays. Misuse throws a TypeError or
// RangeError naming the argument before anything reaches the module, so a
// bad argument can never write where it should not.
import createKelvorModule from '../dist/kelvor-wasm.mjs';

const WASM_URL = new URL('../dist/kelvor-wasm.wasm', import.meta.url);

// Node reads the file; browsers fetch it relative to this module. The loader
// is given the bytes either way (its own file loading does not work in Node's
// ES modules).
async function wasmBytes() {
  const inNode = typeof process === 'object' && typeof process.versions?.node === 'string';
  if (inNode && WASM_URL.protocol === 'file:') {
    const { readFile } = await import(/* webpackIgnore: true */ /* @vite-ignore */ 'node:fs/promises');
    return readFile(WASM_URL);
  }
  const response = await fetch(WASM_URL);
  if (!response.ok) throw new Error(`kelvor: cannot load ${WASM_URL}: HTTP ${response.status}`);
  return new Uint8Array(await response.arrayBuffer());
}

const M = await createKelvorModule({ wasmBinary: await wasmBytes() });

// ---- constants ---------------------------------------------------------------------------

/** ZoneIndex.locate's answer for a point in no zone (and the id that skips a zone). */
export const NO_ZONE = -2147483648;
/** Crossing reported by segmentSegmentIntersect where segments do not cross. */
export const NO_POINT = -2147483648;
/** 1.0 in 16.16 fixed point. */
export const ONE = 65536;
/** One degree as a 16.16 angle. */
export const DEGREE = 65536;
/** The library's canonical empty rectangle [xmin, ymin, xmax, ymax]. */
export const EMPTY_RECT = Object.freeze([1, 1, 0, 0]);
/** Metres per degree of latitude (and of longitude on the equator). */
export const METRES_PER_DEGREE = 111319.49079327;
/** Units per degree of toUnits and of ZoneIndex.fromGeometries by default. */
export const UNITS_PER_DEGREE = 100000;

const INT32_MIN = -2147483648;
const INT32_MAX = 2147483647;
const RULES = ['compatible', 'exact'];

// ---- argument checks -----------------------------------------------------------------------

function kindOf(x) {
  if (x === null) return 'null';
  if (Array.isArray(x)) return 'Array';
  if (ArrayBuffer.isView(x)) return x.constructor.name;
  if (typeof x === 'object') return x.constructor?.name ?? 'object';
  return typeof x;
}

function int32Of(v, name) {
  if (typeof v !== 'number') throw new TypeError(`${name}: expected an int32 number, got ${kindOf(v)}`);
  if (!Number.isInteger(v) || v < INT32_MIN || v > INT32_MAX) {
    throw new RangeError(`${name}: expected an int32 integer, got ${v}`);
  }
  return v;
}

function numberOf(v, name) {
  if (typeof v !== 'number') throw new TypeError(`${name}: expected a number, got ${kindOf(v)}`);
  return v;
}

// Flat or nested plain arrays into a typed array of pairs.
function pairsFromArray(x, name, Type, check) {
  if (x.length === 0) return new Type(0);
  if (typeof x[0] === 'number' || x[0] === undefined) {
    if (x.length % 2 !== 0) {
      throw new RangeError(`${name}: expected x,y pairs, got an odd length ${x.length}`);
    }
    const out = new Type(x.length);
    for (let i = 0; i < x.length; ++i) out[i] = check(x[i], `${name}[${i}]`);
    return out;
  }
  const out = new Type(2 * x.length);
  for (let i = 0; i < x.length; ++i) {
    const p = x[i];
    if (!(Array.isArray(p) || ArrayBuffer.isView(p))) {
      throw new TypeError(`${name}[${i}]: expected an [x, y] pair, got ${kindOf(p)}`);
    }
    if (p.length !== 2) throw new RangeError(`${name}[${i}]: expected an [x, y] pair, got ${p.length} values`);
    out[2 * i] = check(p[0], `${name}[${i}][0]`);
    out[2 * i + 1] = check(p[1], `${name}[${i}][1]`);
  }
  return out;
}

/** Points: an Int32Array of x,y pairs, or plain arrays [[x, y], ...] or [x0, y0, x1, y1, ...]. */
function intPairs(x, name) {
  if (x instanceof Int32Array) {
    if (x.length % 2 !== 0) throw new RangeError(`${name}: expected x,y pairs, got an odd length ${x.length}`);
    return x;
  }
  if (Array.isArray(x)) return pairsFromArray(x, name, Int32Array, int32Of);
  throw new TypeError(`${name}: expected an Int32Array of x,y pairs or an array of [x, y], got ${kindOf(x)}`);
}

/** Lon/lat degrees: a Float64Array of lon,lat pairs, or plain arrays of numbers. */
function floatPairs(x, name) {
  if (x instanceof Float64Array) {
    if (x.length % 2 !== 0) throw new RangeError(`${name}: expected lon,lat pairs, got an odd length ${x.length}`);
    return x;
  }
  if (Array.isArray(x)) return pairsFromArray(x, name, Float64Array, numberOf);
  throw new TypeError(`${name}: expected a Float64Array of lon,lat pairs or an array of [lon, lat], got ${kindOf(x)}`);
}

/** int32 values: a number (then the answer is a number), an Int32Array or an array of integers. */
function intValues(x, name) {
  if (typeof x === 'number') return { data: Int32Array.of(int32Of(x, name)), scalar: true };
  if (x instanceof Int32Array) return { data: x, scalar: false };
  if (Array.isArray(x)) return { data: Int32Array.from(x, (v, i) => int32Of(v, `${name}[${i}]`)), scalar: false };
  throw new TypeError(`${name}: expected an int32 number, an Int32Array or an array of integers, got ${kindOf(x)}`);
}

function floatValues(x, name) {
  if (typeof x === 'number') return { data: Float64Array.of(x), scalar: true };
  if (x instanceof Float64Array) return { data: x, scalar: false };
  if (Array.isArray(x)) return { data: Float64Array.from(x, (v, i) => numberOf(v, `${name}[${i}]`)), scalar: false };
  throw new TypeError(`${name}: expected a number, a Float64Array or an array of numbers, got ${kindOf(x)}`);
}

// Rows of several arguments broadcast together: each has the common count
// or 1 (one record standing for every row, step 0 in the module).
function broadcast(args) {
  let n = 1;
  let from = null;
  for (const a of args) {
    if (a.count === 1) continue;
    if (from !== null && a.count !== n) {
      throw new RangeError(`${from.name} and ${a.name}: row counts differ (${n} and ${a.count})`);
    }
    n = a.count;
    from = a;
  }
  for (const a of args) a.step = a.count === 1 ? 0 : 1;
  return n;
}

function ruleCode(rule, name = 'rule', fallback = 'compatible') {
  if (rule === undefined) rule = fallback;
  if (typeof rule !== 'string') throw new TypeError(`${name}: expected 'compatible' or 'exact', got ${kindOf(rule)}`);
  const code = RULES.indexOf(rule);
  if (code < 0) throw new RangeError(`${name}: expected 'compatible' or 'exact', got '${rule}'`);
  return code;
}

function options(opts, allowed, name = 'options') {
  if (opts === undefined) return {};
  if (opts === null || typeof opts !== 'object' || Array.isArray(opts)) {
    throw new TypeError(`${name}: expected an object, got ${kindOf(opts)}`);
  }
  for (const key of Object.keys(opts)) {
    if (!allowed.includes(key)) {
      throw new TypeError(`${name}: unknown option '${key}' (known: ${allowed.join(', ')})`);
    }
  }
  return opts;
}

// ---- crossings into the module ---------------------------------------------------------------

// Runs body with an allocator whose blocks are all freed afterwards, also
// when body throws.
function withMemory(body) {
  const blocks = [];
  const alloc = (bytes) => {
    const p = M._malloc(Math.max(bytes, 8));
    if (p === 0) throw new RangeError(`kelvor: out of WebAssembly memory for ${bytes} bytes`);
    blocks.push(p);
    return p;
  };
  try {
    return body(alloc);
  } finally {
    for (const p of blocks) M._free(p);
  }
}

// A copy of a typed array in module memory. Growth of the memory keeps the
// contents, so each copy is made as soon as its block exists.
function put(alloc, typed) {
  const p = alloc(typed.byteLength);
  M.HEAPU8.set(new Uint8Array(typed.buffer, typed.byteOffset, typed.byteLength), p);
  return p;
}

// A fresh typed array of n elements read from module memory (the view is
// taken after the call, whatever the call did to the memory).
function take(Type, p, n) {
  const out = new Type(n);
  out.set(new Type(M.HEAPU8.buffer, p, n));
  return out;
}

function rect4(p) {
  return Array.from(new Int32Array(M.HEAPU8.buffer, p, 4));
}

// ---- owned objects -------------------------------------------------------------------------------

// Objects forgotten without free() give their memory back when collected.
const registry = typeof FinalizationRegistry === 'function'
  ? new FinalizationRegistry(({ release, ptr }) => release(ptr))
  : null;
// Marks the constructor calls of the static builders, which pass what they built.
const BUILT = Symbol('built');
const dispose = typeof Symbol.dispose === 'symbol' ? Symbol.dispose : null;

// ---- rings, polygons and areas ---------------------------------------------------------------------

// How deep plain arrays go down to a number: an Int32Array is a ring (2), a
// number 0, [x, y] 1, a ring of [x, y] 2, a polygon 3, a multipolygon 4;
// null when every branch ends in an empty array.
function depthOf(x, name, limit = 5) {
  if (x instanceof Int32Array) return 2;
  if (typeof x === 'number') return 0;
  if (!Array.isArray(x)) {
    throw new TypeError(`${name}: expected a ring, a polygon (array of rings) or a multipolygon (array of polygons), got ${kindOf(x)}`);
  }
  if (limit === 0) throw new RangeError(`${name}: nested too deeply for a ring, polygon or multipolygon`);
  for (const item of x) {
    const d = depthOf(item, name, limit - 1);
    if (d !== null) return d + 1;
  }
  return null;
}

function ringOf(x, name) {
  if (Array.isArray(x) && x.length === 0) return new Int32Array(0);
  return intPairs(x, name);
}

function listOf(x, name, what) {
  if (!Array.isArray(x)) throw new TypeError(`${name}: expected ${what}, got ${kindOf(x)}`);
  return x;
}

/** A ring, polygon or multipolygon of int32 coordinates as rings and hole flags. */
function nestedRings(x, name) {
  const depth = depthOf(x, name);
  if (depth === null) return { rings: [], holes: [] };
  if (depth === 1 || depth === 2) return { rings: [intPairs(x, name)], holes: [false] };
  if (depth === 3) {
    const rings = listOf(x, name, 'an array of rings').map((r, i) => ringOf(r, `${name}[${i}]`));
    return { rings, holes: rings.map((_, i) => i > 0) };
  }
  if (depth === 4) {
    const rings = [];
    const holes = [];
    listOf(x, name, 'an array of polygons').forEach((polygon, j) => {
      listOf(polygon, `${name}[${j}]`, 'an array of rings').forEach((r, i) => {
        rings.push(ringOf(r, `${name}[${j}][${i}]`));
        holes.push(i > 0);
      });
    });
    return { rings, holes };
  }
  throw new RangeError(`${name}: expected a ring, a polygon or a multipolygon, got ${depth} levels of nesting`);
}

// Areas (each { rings, holes }) as the module takes them: every ring's
// points one after the other, each ring's count and hole flag, each area's
// ring count.
function pack(areas) {
  let points = 0;
  let ringCount = 0;
  for (const a of areas) {
    ringCount += a.rings.length;
    for (const r of a.rings) points += r.length;
  }
  if (points / 2 > INT32_MAX) throw new RangeError('kelvor: more than 2^31 - 1 points');
  const flat = new Int32Array(points);
  const counts = new Int32Array(ringCount);
  const holes = new Uint8Array(ringCount);
  const perArea = new Int32Array(areas.length);
  let at = 0;
  let k = 0;
  areas.forEach((a, i) => {
    perArea[i] = a.rings.length;
    a.rings.forEach((r, j) => {
      flat.set(r, at);
      at += r.length;
      counts[k] = r.length / 2;
      holes[k++] = a.holes[j] ? 1 : 0;
    });
  });
  return { flat, counts, holes, perArea };
}

// Degrees to units, as toUnits rounds: to the nearest unit, halves away
// from zero, the product in double.
function scaled(v, scale) {
  const u = Math.floor(Math.abs(v) * scale + 0.5);
  return v < 0 ? -u : u;
}

function geometryRings(g, name, scale) {
  if (g === null || g === undefined) return { rings: [], holes: [] };
  if (typeof g !== 'object' || Array.isArray(g)) {
    throw new TypeError(`${name}: expected a Polygon or MultiPolygon, got ${kindOf(g)}`);
  }
  if (g.type !== 'Polygon' && g.type !== 'MultiPolygon') {
    throw new TypeError(`${name}: expected a Polygon or MultiPolygon, got ${typeof g.type === 'string' ? g.type : kindOf(g.type)}`);
  }
  if (!Array.isArray(g.coordinates)) {
    throw new TypeError(`${name}: a ${g.type} needs an array of coordinates, got ${kindOf(g.coordinates)}`);
  }
  const polygons = g.type === 'Polygon' ? [g.coordinates] : g.coordinates;
  const rings = [];
  const holes = [];
  polygons.forEach((polygon, j) => {
    const where = g.type === 'Polygon' ? `${name}.coordinates` : `${name}.coordinates[${j}]`;
    listOf(polygon, where, 'an array of rings').forEach((ring, i) => {
      listOf(ring, `${where}[${i}]`, 'an array of [lon, lat] positions');
      const out = new Int32Array(2 * ring.length);
      for (let k = 0; k < ring.length; ++k) {
        const p = ring[k];
        if (!Array.isArray(p) || p.length < 2 || typeof p[0] !== 'number' || typeof p[1] !== 'number') {
          throw new TypeError(`${where}[${i}][${k}]: expected a [lon, lat] position, got ${kindOf(p)}`);
        }
        for (let c = 0; c < 2; ++c) {
          const u = scaled(p[c], scale);
          if (!Number.isFinite(u)) throw new RangeError(`${name}: NaN or infinite coordinates at ${where}[${i}][${k}]`);
          if (u < INT32_MIN || u > INT32_MAX) {
            throw new RangeError(`${name}: ${p[c]} at ${where}[${i}][${k}] is beyond the int32 range once scaled by ${scale}`);
          }
          out[2 * k + c] = u;
        }
      }
      rings.push(out);
      holes.push(i > 0);
    });
  });
  return { rings, holes };
}

function scaleOf(scale) {
  if (scale === undefined) return UNITS_PER_DEGREE;
  if (typeof scale !== 'number') throw new TypeError(`scale: expected a number, got ${kindOf(scale)}`);
  if (!(scale > 0) || !Number.isFinite(scale)) throw new RangeError(`scale: expected a positive finite number, got ${scale}`);
  return scale;
}

// ---- Polygon ---------------------------------------------------------------------------------------

function newPolygon(area, rule) {
  const { flat, counts, holes } = pack([area]);
  const oneRing = area.rings.length === 1 && !area.holes[0] ? 1 : 0;
  const ptr = withMemory((alloc) => M._kj_polygon_new(
    put(alloc, flat), put(alloc, counts.length ? counts : new Int32Array(1)), put(alloc, holes),
    counts.length, rule, oneRing));
  if (ptr === 0) throw new RangeError('Polygon: out of WebAssembly memory');
  return ptr;
}

/**
 * A polygon (one ring, or rings with holes and many parts in GeoJSON order)
 * prepared once for many point-in-polygon queries.
 */
export class Polygon {
  #ptr = 0;
  #rule = 0;

  constructor(coords, opts) {
    if (coords === BUILT) {  // from fromGeometry: opts is { ptr, rule }
      this.#ptr = opts.ptr;
      this.#rule = opts.rule;
    } else {
      const { rule } = options(opts, ['rule']);
      this.#rule = ruleCode(rule);
      this.#ptr = newPolygon(nestedRings(coords, 'coords'), this.#rule);
    }
    registry?.register(this, { release: M._kj_polygon_free, ptr: this.#ptr }, this);
  }

  /** A polygon of a GeoJSON Polygon or MultiPolygon (or a Feature of one) in degrees. */
  static fromGeometry(geometry, opts) {
    const { scale, rule } = options(opts, ['scale', 'rule']);
    const s = scaleOf(scale);
    const code = ruleCode(rule, 'rule', 'exact');
    const feature = geometry?.type === 'Feature';
    const area = geometryRings(feature ? geometry.geometry : geometry, feature ? 'geometry.geometry' : 'geometry', s);
    return new Polygon(BUILT, { ptr: newPolygon(area, code), rule: code });
  }

  #live() {
    if (this.#ptr === 0) throw new TypeError('Polygon: used after free()');
    return this.#ptr;
  }

  #query(points, bounded) {
    const ptr = this.#live();
    const pts = intPairs(points, 'points');
    const n = pts.length / 2;
    return withMemory((alloc) => {
      const p = put(alloc, pts);
      const out = alloc(n);
      M._kj_polygon_contains(ptr, p, n, out, bounded);
      return take(Uint8Array, out, n);
    });
  }

  /** 1 where the point is inside by the polygon's rule, else 0. */
  contains(points) { return this.#query(points, 0); }

  /** As contains, after the half-open bounding-rectangle test (KPGON::Contain for one ring). */
  containsBounded(points) { return this.#query(points, 1); }

  /** [xmin, ymin, xmax, ymax] over the rings of 3 points or more; EMPTY_RECT when none. */
  get bound() {
    const ptr = this.#live();
    return withMemory((alloc) => {
      const out = alloc(16);
      M._kj_polygon_bound(ptr, out);
      return rect4(out);
    });
  }

  /** Whether some ring can wrap: only then can the two rules answer differently. */
  get canWrap() { return M._kj_polygon_can_wrap(this.#live()) !== 0; }

  get rule() { this.#live(); return RULES[this.#rule]; }

  /** Bytes of WebAssembly memory this polygon holds. */
  get memoryBytes() { return M._kj_polygon_memory_bytes(this.#live()); }

  #parts() {
    const ptr = this.#live();
    return withMemory((alloc) => {
      const sizes = alloc(8);
      if (M._kj_polygon_sizes(ptr, sizes) !== 0) throw new RangeError('Polygon: out of WebAssembly memory');
      const [rings, points] = new Int32Array(M.HEAPU8.buffer, sizes, 2);
      const p = alloc(8 * points);
      const c = alloc(4 * rings);
      const h = alloc(rings);
      if (M._kj_polygon_parts(ptr, p, c, h) !== 0) throw new RangeError('Polygon: out of WebAssembly memory');
      return { points: take(Int32Array, p, 2 * points), counts: take(Int32Array, c, rings), holes: take(Uint8Array, h, rings) };
    });
  }

  /** Copies of the rings as built, in GeoJSON order (Int32Array of x,y pairs each). */
  get rings() {
    const { points, counts } = this.#parts();
    const out = [];
    let at = 0;
    for (const n of counts) {
      out.push(points.slice(at, at + 2 * n));
      at += 2 * n;
    }
    return out;
  }

  /** Per ring of rings: true for a hole. */
  get holes() { return Array.from(this.#parts().holes, (h) => h !== 0); }

  /** True once free() has been called. */
  get freed() { return this.#ptr === 0; }

  /** Gives the WebAssembly memory back; any later use throws a TypeError. A second call does nothing. */
  free() {
    if (this.#ptr === 0) return;
    registry?.unregister(this);
    M._kj_polygon_free(this.#ptr);
    this.#ptr = 0;
  }
}
if (dispose) Polygon.prototype[dispose] = function () { this.free(); };

// ---- ZoneIndex --------------------------------------------------------------------------------------

function idsOf(ids, n) {
  if (ids === undefined) return Int32Array.from({ length: n }, (_, i) => i);
  const { data, scalar } = intValues(ids, 'ids');
  if (scalar) throw new TypeError('ids: expected an Int32Array or an array of ids, got number');
  if (data.length !== n) throw new RangeError(`ids: expected ${n} ids, one per zone, got ${data.length}`);
  return Int32Array.from(data);
}

function newIndex(areas, ids, rule) {
  const { flat, counts, holes, perArea } = pack(areas);
  const ptr = withMemory((alloc) => M._kj_zones_new(
    put(alloc, flat), put(alloc, counts), put(alloc, holes), counts.length,
    put(alloc, perArea), put(alloc, ids), areas.length, rule));
  if (ptr === 0) throw new RangeError('ZoneIndex: out of WebAssembly memory');
  return ptr;
}

/** Many zones with int32 ids: locate answers each point's lowest zone id, or NO_ZONE. */
export class ZoneIndex {
  #ptr = 0;
  #rule = 0;
  #ids = new Int32Array(0);

  constructor(zones, opts) {
    if (zones === BUILT) {  // from fromGeometries: opts is { areas, ids, rule }
      this.#build(opts.areas, opts.ids, opts.rule);
      return;
    }
    const { ids, rule } = options(opts, ['ids', 'rule']);
    const code = ruleCode(rule);
    const list = listOf(zones, 'zones', 'an array of zones (rings, polygons or multipolygons)');
    const areas = list.map((z, i) => nestedRings(z, `zones[${i}]`));
    this.#build(areas, idsOf(ids, areas.length), code);
  }

  #build(areas, ids, rule) {
    this.#ptr = newIndex(areas, ids, rule);
    this.#rule = rule;
    this.#ids = ids;
    registry?.register(this, { release: M._kj_zones_free, ptr: this.#ptr }, this);
  }

  /**
   * An index of GeoJSON zones in degrees: a FeatureCollection, or an array of
   * Features or geometries, each a Polygon or MultiPolygon (one zone each) or
   * null (no zone, its place kept).
   */
  static fromGeometries(features, opts) {
    const { scale, rule, idProperty, ids } = options(opts, ['scale', 'rule', 'idProperty', 'ids']);
    const s = scaleOf(scale);
    const code = ruleCode(rule, 'rule', 'exact');
    if (idProperty !== undefined && typeof idProperty !== 'string') {
      throw new TypeError(`idProperty: expected a property name, got ${kindOf(idProperty)}`);
    }
    if (idProperty !== undefined && ids !== undefined) throw new TypeError('ids and idProperty: give one or the other');
    let items;
    let name = 'features';
    if (Array.isArray(features)) {
      items = features;
    } else if (features?.type === 'FeatureCollection' && Array.isArray(features.features)) {
      items = features.features;
      name = 'features.features';
    } else {
      throw new TypeError(`features: expected a FeatureCollection or an array of Features or geometries, got ${kindOf(features)}`);
    }
    const areas = [];
    const idList = new Int32Array(items.length);
    items.forEach((item, i) => {
      const where = `${name}[${i}]`;
      const feature = item?.type === 'Feature';
      areas.push(geometryRings(feature ? item.geometry : item, feature ? `${where}.geometry` : where, s));
      if (idProperty !== undefined) {
        const id = feature ? item.properties?.[idProperty] : undefined;
        idList[i] = int32Of(id, `${where}.properties.${idProperty}`);
      }
    });
    const idArray = idProperty !== undefined ? idList : idsOf(ids, items.length);
    return new ZoneIndex(BUILT, { areas, ids: idArray, rule: code });
  }

  #live() {
    if (this.#ptr === 0) throw new TypeError('ZoneIndex: used after free()');
    return this.#ptr;
  }

  /** The zone id of each point (Int32Array), NO_ZONE where none holds it. */
  locate(points) {
    const ptr = this.#live();
    const pts = intPairs(points, 'points');
    const n = pts.length / 2;
    return withMemory((alloc) => {
      const p = put(alloc, pts);
      const out = alloc(4 * n);
      M._kj_zones_locate(ptr, p, n, out);
      return take(Int32Array, out, n);
    });
  }

  /** Number of zones kept (zones with id NO_ZONE are not). */
  get size() { return M._kj_zones_size(this.#live()); }

  get rule() { this.#live(); return RULES[this.#rule]; }

  /** A copy of the ids given, one per zone. */
  get ids() { this.#live(); return this.#ids.slice(); }

  /** Bytes of WebAssembly memory this index holds. */
  get memoryBytes() { return M._kj_zones_memory_bytes(this.#live()); }

  get freed() { return this.#ptr === 0; }

  /** Gives the WebAssembly memory back; any later use throws a TypeError. A second call does nothing. */
  free() {
    if (this.#ptr === 0) return;
    registry?.unregister(this);
    M._kj_zones_free(this.#ptr);
    this.#ptr = 0;
  }
}
if (dispose) ZoneIndex.prototype[dispose] = function () { this.free(); };

// ---- rings --------------------------------------------------------------------------------------------

function ringArg(ring, name = 'ring') {
  const r = intPairs(ring, name);
  if (r.length / 2 > INT32_MAX) throw new RangeError(`${name}: more than 2^31 - 1 points`);
  return r;
}

/** Whether some edge can make a compatible-rule crossing wrap (|dx| * |dy| above 2^31 - 1). */
export function ringCanWrap(ring) {
  const r = ringArg(ring);
  return withMemory((alloc) => M._kj_ring_can_wrap(put(alloc, r), r.length / 2) !== 0);
}

/** The ring with every edge that can wrap split (boundary moved by at most one unit). */
export function densifyRing(ring) {
  const r = ringArg(ring);
  return withMemory((alloc) => {
    const count = alloc(4);
    const p = M._kj_densify_ring(put(alloc, r), r.length / 2, count);
    if (p === 0) throw new RangeError('densifyRing: out of WebAssembly memory');
    const n = new Int32Array(M.HEAPU8.buffer, count, 1)[0];
    try {
      return take(Int32Array, p, 2 * n);
    } finally {
      M._free(p);
    }
  });
}

/** The rectangle GetMCR grows inside the ring, its inside tests by the rule. */
export function inscribedRect(ring, step, opts) {
  const r = ringArg(ring);
  const s = int32Of(step, 'step');
  const { rule } = options(opts, ['rule']);
  const code = ruleCode(rule);
  return withMemory((alloc) => {
    const out = alloc(16);
    M._kj_inscribed_rect(put(alloc, r), r.length / 2, s, code, out);
    return rect4(out);
  });
}

/** GetMCR itself: inscribedRect with the compatible rule. */
export function getMcr(ring, step) {
  const r = ringArg(ring);
  const s = int32Of(step, 'step');
  return withMemory((alloc) => {
    const out = alloc(16);
    M._kj_get_mcr(put(alloc, r), r.length / 2, s, out);
    return rect4(out);
  });
}

/** GetMBR: the inclusive bounding rectangle [xmin, ymin, xmax, ymax] of at least one point. */
export function boundingRect(ring) {
  const r = ringArg(ring);
  if (r.length === 0) throw new RangeError('ring: expected at least one point');
  return withMemory((alloc) => {
    const out = alloc(16);
    M._kj_bounding_rect(put(alloc, r), r.length / 2, out);
    return rect4(out);
  });
}

// ---- planar --------------------------------------------------------------------------------------------

/** Polygon_Contain_Point of each point: 1 inside by the even-odd rule (compatible crossings). */
export function polygonContainPoint(ring, points) {
  const r = ringArg(ring);
  const pts = intPairs(points, 'points');
  const n = pts.length / 2;
  return withMemory((alloc) => {
    const out = alloc(n);
    M._kj_polygon_contain_point(put(alloc, r), r.length / 2, put(alloc, pts), n, out);
    return take(Uint8Array, out, n);
  });
}

function pointRows(values) {
  return Object.entries(values).map(([name, v]) => {
    const data = intPairs(v, name);
    return { name, data, count: data.length / 2, step: 1 };
  });
}

function valueRows(values, floats = false) {
  return Object.entries(values).map(([name, v]) => {
    const { data, scalar } = floats ? floatValues(v, name) : intValues(v, name);
    return { name, data, count: data.length, step: 1, scalar };
  });
}

/** Segment_Segment_Intersect of segments a-b and c-d: { hit, point } (NO_POINT where no hit). */
export function segmentSegmentIntersect(a, b, c, d) {
  const rows = pointRows({ a, b, c, d });
  const n = broadcast(rows);
  return withMemory((alloc) => {
    const ptrs = rows.flatMap((r) => [put(alloc, r.data), r.step]);
    const hit = alloc(n);
    const at = alloc(8 * n);
    M._kj_segment_segment_intersect(...ptrs, n, hit, at);
    return { hit: take(Uint8Array, hit, n), point: take(Int32Array, at, 2 * n) };
  });
}

/** Point_Segment_Intersect: 1 where p lies on the closed segment a-b. */
export function pointSegmentIntersect(p, a, b) {
  const rows = pointRows({ p, a, b });
  const n = broadcast(rows);
  return withMemory((alloc) => {
    const ptrs = rows.flatMap((r) => [put(alloc, r.data), r.step]);
    const out = alloc(n);
    M._kj_point_segment_intersect(...ptrs, n, out);
    return take(Uint8Array, out, n);
  });
}

function rectClip(op, names, values) {
  const rows = pointRows(values);
  const n = broadcast(rows);
  return withMemory((alloc) => {
    const ptrs = rows.flatMap((r) => [put(alloc, r.data), r.step]);
    const kept = alloc(n);
    const p = alloc(8 * n);
    const q = alloc(8 * n);
    M._kj_rect_clip(op, ...ptrs, n, kept, p, q);
    return { kept: take(Uint8Array, kept, n), [names[0]]: take(Int32Array, p, 2 * n), [names[1]]: take(Int32Array, q, 2 * n) };
  });
}

/** Rect_Clip_Segment of segments p-q against half-open rectangles rectMin-rectMax: { kept, p, q }. */
export function rectClipSegment(rectMin, rectMax, p, q) {
  return rectClip(0, ['p', 'q'], { rectMin, rectMax, p, q });
}

/** Rect_Clip_Rect of rectangles c1-c2 to rectMin-rectMax: { kept, c1, c2 } (c1 the larger corner). */
export function rectClipRect(rectMin, rectMax, c1, c2) {
  return rectClip(1, ['c1', 'c2'], { rectMin, rectMax, c1, c2 });
}

function spanTest(op, ring, from, to, at, ringName = 'ring') {
  const r = ringArg(ring, ringName);
  const rows = valueRows({ from, to, at });
  const n = broadcast(rows);
  return withMemory((alloc) => {
    const ptrs = rows.flatMap((v) => [put(alloc, v.data), v.step]);
    const out = alloc(n);
    M._kj_span_test(op, put(alloc, r), r.length / 2, ...ptrs, n, out);
    return take(Uint8Array, out, n);
  });
}

/** Polygon_Horizon_Intersect of spans from <= x < to on y == at. */
export const polygonHorizonIntersect = (ring, from, to, at) => spanTest(0, ring, from, to, at);
/** Polygon_Vertical_Intersect of spans from <= y < to on x == at. */
export const polygonVerticalIntersect = (ring, from, to, at) => spanTest(1, ring, from, to, at);
/** Polygon_Contain_Horizon: the span lies inside one inside span. */
export const polygonContainHorizon = (ring, from, to, at) => spanTest(2, ring, from, to, at);
/** Polygon_Contain_Vertical: as polygonContainHorizon on columns. */
export const polygonContainVertical = (ring, from, to, at) => spanTest(3, ring, from, to, at);
/** Polyline_Horizon_Intersect: some edge of the line crosses y == at within the span. */
export const polylineHorizonIntersect = (line, from, to, at) => spanTest(4, line, from, to, at, 'line');
/** Polyline_Vertical_Intersect: as polylineHorizonIntersect on columns. */
export const polylineVerticalIntersect = (line, from, to, at) => spanTest(5, line, from, to, at, 'line');

function spanClip(vertical, ring, from, to, at) {
  const r = ringArg(ring);
  const rows = valueRows({ from, to, at });
  const n = broadcast(rows);
  return withMemory((alloc) => {
    const ptrs = rows.flatMap((v) => [put(alloc, v.data), v.step]);
    const kept = alloc(n);
    const s = alloc(4 * n);
    const e = alloc(4 * n);
    M._kj_span_clip(vertical, put(alloc, r), r.length / 2, ...ptrs, n, kept, s, e);
    return { kept: take(Uint8Array, kept, n), from: take(Int32Array, s, n), to: take(Int32Array, e, n) };
  });
}

/** Polygon_Clip_Horizon: spans cut to the first inside span they meet: { kept, from, to }. */
export const polygonClipHorizon = (ring, from, to, at) => spanClip(0, ring, from, to, at);
/** Polygon_Clip_Vertical: as polygonClipHorizon on columns. */
export const polygonClipVertical = (ring, from, to, at) => spanClip(1, ring, from, to, at);

// ---- fixed point -----------------------------------------------------------------------------------------

// Elementwise 16.16 functions: numbers in, a number out; any array in, an
// Int32Array out (numbers and one-element arrays stand for every row).
function fixedOp(op, values) {
  const rows = valueRows(values);
  const n = broadcast(rows);
  const scalar = rows.every((r) => r.scalar);
  const out = withMemory((alloc) => {
    const ptrs = [];
    for (let i = 0; i < 3; ++i) {
      const r = rows[i] ?? rows[0];
      ptrs.push(put(alloc, r.data), r.step);
    }
    const o = alloc(4 * n);
    M._kj_fixed(op, ...ptrs, n, o);
    return take(Int32Array, o, n);
  });
  return scalar ? out[0] : out;
}

/** KMF_RoundFix: nearest whole 16.16 value, halves away from zero. */
export const roundFix = (a) => fixedOp(0, { a });
/** KMF_CeilFix: smallest whole 16.16 value >= a. */
export const ceilFix = (a) => fixedOp(1, { a });
/** KMF_FloorFix: largest whole 16.16 value <= a. */
export const floorFix = (a) => fixedOp(2, { a });
/** KMF_Sqrt32: floor(sqrt(n)), n read as unsigned 32-bit. */
export const sqrt32 = (a) => fixedOp(3, { a });
/** KMF_SqrtFixed: 16.16 square root, truncated; 0 for a <= 0. */
export const sqrtFixed = (a) => fixedOp(4, { a });
/** KMF_Sin of a 16.16-degree angle (table lookup, no interpolation). */
export const sin = (angle) => fixedOp(5, { angle });
/** KMF_Cos of a 16.16-degree angle. */
export const cos = (angle) => fixedOp(6, { angle });
/** KMF_Tan; exactly 90 / 270 degrees give +-0x7FFFFFFF. */
export const tan = (angle) => fixedOp(7, { angle });
/** KMF_MulFix: 16.16 product rounded half away from zero; wraps. */
export const mulFix = (a, b) => fixedOp(8, { a, b });
/** KMF_DivFix: 16.16 quotient; b == 0 gives +-0x7FFFFFFF by a's sign. */
export const divFix = (a, b) => fixedOp(9, { a, b });
/** KMF_Atan2(x, y), x first: direction in [0, 360) degrees as a 16.16 angle. */
export const atan2 = (x, y) => fixedOp(10, { x, y });
/** KMF_Angle_Diff: counterclockwise turn from angle1 to angle2, [0, 360). */
export const angleDiff = (angle1, angle2) => fixedOp(11, { angle1, angle2 });
/** KMF_MulDiv: a * b / c with a 64-bit product, rounded. */
export const mulDiv = (a, b, c) => fixedOp(12, { a, b, c });
/** KMF_MulDiv_No_Round: a * b / c on magnitudes, truncated, sign last. */
export const mulDivNoRound = (a, b, c) => fixedOp(13, { a, b, c });

// Vectors are x,y pairs as points are; angles and lengths int32 values.
function vectorOp(op, { v, angle, length, m }, outputs) {
  const rows = [];
  const vr = v !== undefined ? pointRows({ v })[0] : null;
  if (vr) rows.push(vr);
  const ar = angle !== undefined ? valueRows({ angle })[0] : null;
  if (ar) rows.push(ar);
  const lr = length !== undefined ? valueRows({ length })[0] : null;
  if (lr) rows.push(lr);
  let mr = null;
  if (m !== undefined) {
    const { data } = intValues(m, 'm');
    if (data.length % 4 !== 0) throw new RangeError(`m: expected m11,m12,m21,m22 quadruples, got a length ${data.length}`);
    mr = { name: 'm', data, count: data.length / 4, step: 1 };
    rows.push(mr);
  }
  const n = broadcast(rows);
  const none = { data: new Int32Array(4), step: 0 };
  return withMemory((alloc) => {
    const arg = (r) => [put(alloc, (r ?? none).data), (r ?? none).step];
    const vec = alloc(8 * n);
    const len = alloc(4 * n);
    const ang = alloc(4 * n);
    M._kj_vector(op, ...arg(vr), ...arg(ar), ...arg(lr), ...arg(mr), n, vec, len, ang);
    if (outputs === 'vector') return take(Int32Array, vec, 2 * n);
    if (outputs === 'length') return take(Int32Array, len, n);
    return { length: take(Int32Array, len, n), angle: take(Int32Array, ang, n) };
  });
}

/** KMF_Vector_Rotate: vectors (x,y pairs) turned counterclockwise by angle. */
export const vectorRotate = (v, angle) => vectorOp(0, { v, angle }, 'vector');
/** KMF_Vector_From_Polar: vectors of the given length and angle. */
export const vectorFromPolar = (length, angle) => vectorOp(1, { length, angle }, 'vector');
/** KMF_Vector_Unit: 16.16 unit vectors of the angles. */
export const vectorUnit = (angle) => vectorOp(2, { angle }, 'vector');
/** KMF_Vector_Transform: v times 16.16 matrices m (m11, m12, m21, m22 per row). */
export const vectorTransform = (v, m) => vectorOp(3, { v, m }, 'vector');
/** KMF_Vector_Length of each vector (Int32Array). */
export const vectorLength = (v) => vectorOp(4, { v }, 'length');
/** KMF_Vector_Polarize: { length, angle } of each vector; the zero vector gives 0, 0. */
export const vectorPolarize = (v) => vectorOp(5, { v }, 'polar');

// ---- geographic -----------------------------------------------------------------------------------------

function lonLatRows(bin, values) {
  return Object.entries(values).map(([name, v]) => {
    const data = bin ? intPairs(v, name) : floatPairs(v, name);
    return { name, data, count: data.length / 2, step: 1 };
  });
}

function lengths(bin, a, b) {
  const rows = lonLatRows(bin, { a, b });
  const n = broadcast(rows);
  return withMemory((alloc) => {
    const ptrs = rows.flatMap((r) => [put(alloc, r.data), r.step]);
    const out = alloc(8 * n);
    M._kj_segment_length(bin, ...ptrs, n, out);
    return take(Float64Array, out, n);
  });
}

/** SegmentLength in metres between lon/lat degree pairs a[i] and b[i] (Float64Array). */
export const segmentLength = (a, b) => lengths(0, a, b);
/** SegmentLength between 1/100000-degree pairs (Int32Array). */
export const segmentLengthBin = (a, b) => lengths(1, a, b);

function trackLength(bin, track) {
  const t = bin ? intPairs(track, 'track') : floatPairs(track, 'track');
  return withMemory((alloc) => M._kj_line_length(bin, put(alloc, t), t.length / 2));
}

/** LineLength of an open track of degree pairs, in metres (fewer than 2 points: 0). */
export const lineLength = (track) => trackLength(0, track);
/** LineLength of a 1/100000-degree track. */
export const lineLengthBin = (track) => trackLength(1, track);

function angles(op, bin, values) {
  const rows = lonLatRows(bin, values);
  const n = broadcast(rows);
  return withMemory((alloc) => {
    const ptrs = rows.flatMap((r) => [put(alloc, r.data), r.step]);
    while (ptrs.length < 6) ptrs.push(ptrs[0], 0);
    const out = alloc(8 * n);
    M._kj_angle(op, bin, ...ptrs, n, out);
    return take(Float64Array, out, n);
  });
}

/** GetAbsoluteAngle: direction of each (dlon, dlat) degree vector, [0, 360) counterclockwise from east. */
export const absoluteAngle = (v) => angles(0, 0, { v });
/** GetAbsoluteAngle of 1/100000-degree vectors. */
export const absoluteAngleBin = (v) => angles(0, 1, { v });
/** Direction from a to b: GetAbsoluteAngle(b - a), the difference taken in double. */
export const bearing = (a, b) => angles(1, 0, { a, b });
/** GetSharpAngle: inner angle at b between the rays to a and c, folded into [0, 180]. */
export const sharpAngle = (a, b, c) => angles(2, 0, { a, b, c });
/** GetSharpAngle on 1/100000-degree points: the unfolded difference, [0, 360). */
export const sharpAngleBin = (a, b, c) => angles(2, 1, { a, b, c });
/** GetTurnAngle: counterclockwise angle at b from the ray to a to the ray to c, [0, 360). */
export const turnAngle = (a, b, c) => angles(3, 0, { a, b, c });
/** GetTurnAngle on 1/100000-degree points. */
export const turnAngleBin = (a, b, c) => angles(3, 1, { a, b, c });

function unitScale(op, points) {
  const p = floatPairs(points, 'points');
  const n = p.length / 2;
  return withMemory((alloc) => {
    const lon = alloc(8 * n);
    const lat = alloc(8 * n);
    M._kj_unit_scale(op, put(alloc, p), n, lon, lat);
    return { lon: take(Float64Array, lon, n), lat: take(Float64Array, lat, n) };
  });
}

/** GetUnitLength: metres per degree of longitude and of latitude at each point. */
export const unitLength = (points) => unitScale(0, points);
/** GetUnitDegree: degrees per metre of longitude and of latitude at each point. */
export const unitDegree = (points) => unitScale(1, points);

function centerBoxes(bin, center, half) {
  const rows = [...lonLatRows(bin, { center }), ...valueRows({ half }, true)];
  const n = broadcast(rows);
  const Type = bin ? Int32Array : Float64Array;
  return withMemory((alloc) => {
    const ptrs = rows.flatMap((r) => [put(alloc, r.data), r.step]);
    const lower = alloc(2 * Type.BYTES_PER_ELEMENT * n);
    const upper = alloc(2 * Type.BYTES_PER_ELEMENT * n);
    M._kj_rect_center_pt(bin, ...ptrs, n, lower, upper);
    return { lower: take(Type, lower, 2 * n), upper: take(Type, upper, 2 * n) };
  });
}

/** GetRectCenterPt: boxes of half-side `half` metres around degree centres: { lower, upper }. */
export const rectCenterPt = (center, half) => centerBoxes(0, center, half);
/** GetRectCenterPt on 1/100000-degree centres (deltas truncated toward zero). */
export const rectCenterPtBin = (center, half) => centerBoxes(1, center, half);

function project(bin, p, a, b) {
  const rows = lonLatRows(bin, { p, a, b });
  const n = broadcast(rows);
  const Type = bin ? Int32Array : Float64Array;
  return withMemory((alloc) => {
    const ptrs = rows.flatMap((r) => [put(alloc, r.data), r.step]);
    const code = alloc(4 * n);
    const foot = alloc(2 * Type.BYTES_PER_ELEMENT * n);
    M._kj_project_base(bin, ...ptrs, n, code, foot);
    return { code: take(Int32Array, code, n), foot: take(Type, foot, 2 * n) };
  });
}

/** GetProjectBase: foot of the perpendicular from p onto line a-b: { code, foot } (code 0 comes with foot a). */
export const projectBase = (p, a, b) => project(0, p, a, b);
/** GetProjectBase on 1/100000-degree points. */
export const projectBaseBin = (p, a, b) => project(1, p, a, b);

/**
 * Degrees to 1/100000-degree units, to the nearest unit with halves away
 * from zero. A number gives a number; a Float64Array or an array (flat or of
 * pairs) gives a flat Int32Array.
 */
export function toUnits(degrees) {
  const convert = (v, name) => {
    const u = scaled(numberOf(v, name), UNITS_PER_DEGREE);
    if (!Number.isFinite(u)) throw new RangeError(`${name}: ${v} has no unit value`);
    if (u < INT32_MIN || u > INT32_MAX) throw new RangeError(`${name}: ${v} is beyond the int32 range of units`);
    return u;
  };
  if (typeof degrees === 'number') return convert(degrees, 'degrees');
  let flat = degrees;
  if (Array.isArray(degrees) && degrees.length > 0 && typeof degrees[0] !== 'number') flat = floatPairs(degrees, 'degrees');
  if (!(flat instanceof Float64Array || Array.isArray(flat))) {
    throw new TypeError(`degrees: expected a number, a Float64Array or an array of numbers, got ${kindOf(degrees)}`);
  }
  return Int32Array.from(flat, (v, i) => convert(v, `degrees[${i}]`));
}

/** 1/100000-degree units to degrees (units / 100000): a number or a Float64Array. */
export function toDegrees(units) {
  if (typeof units === 'number') return int32Of(units, 'units') / UNITS_PER_DEGREE;
  const data = Array.isArray(units) && units.length > 0 && typeof units[0] !== 'number'
    ? intPairs(units, 'units')
    : intValues(units, 'units').data;
  return Float64Array.from(data, (u) => u / UNITS_PER_DEGREE);
}

// ---- the module itself ---------------------------------------------------------------------------------------

/**
 * The determinism digest of this build: one line per function family, as
 * tests/determinism/digest.cpp prints it. Equal to the library's committed
 * portable digest on every runtime.
 */
export function digest() {
  return M.UTF8ToString(M._kj_digest());
}

/** Bytes the module's allocator holds, and the size of its WebAssembly memory. */
export function memoryStats() {
  return { heapInUse: M._kj_heap_in_use(), memoryBytes: M.HEAPU8.buffer.byteLength };
}
