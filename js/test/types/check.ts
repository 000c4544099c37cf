// Compiled by `tsc --noEmit -p js/test/types` (types.test.mjs): uses every
// part of the declarations as a client would, and marks misuse the
// declarations must reject.
import * as k from '../../lib/kelvor.js';
import { NO_ZONE, Polygon, ZoneIndex } from '../../lib/kelvor.js';

const ring: [number, number][] = [[0, 0], [1000, 0], [1000, 800], [0, 800]];
const pg = new Polygon(ring, { rule: 'exact' });
const inside: Uint8Array = pg.contains(new Int32Array([10, 10, 2000, 5]));
const bounded: Uint8Array = pg.containsBounded([[1, 1]]);
const bound: [number, number, number, number] = pg.bound;
const wraps: boolean = pg.canWrap;
const rings: Int32Array[] = pg.rings;
pg.free();

const holed = new Polygon([ring, [[400, 400], [600, 400], [600, 600]]]);
const multi = new Polygon([[ring], [new Int32Array([2000, 0, 3000, 0, 3000, 900])]]);
holed[Symbol.dispose]();
multi.free();

const index = ZoneIndex.fromGeometries(
  { type: 'FeatureCollection', features: [{ type: 'Feature', properties: { iso: 528 }, geometry: null }] },
  { idProperty: 'iso', rule: 'compatible', scale: 1e5 },
);
const zones: Int32Array = index.locate(k.toUnits([[4.9, 52.4]]));
const none: boolean = zones[0] === NO_ZONE;
const byIds = new ZoneIndex([ring], { ids: [7] });
byIds.free();
index.free();

const metres: Float64Array = k.segmentLength([[4.8952, 52.3702]], new Float64Array([5.1214, 52.0907]));
const track: number = k.lineLength([[0, 0], [1, 1]]);
const headings: Float64Array = k.bearing([0, 0], [[1, 1], [2, 0]]);
const units: number = k.toUnits(4.895125);
const degrees: number = k.toDegrees(489513);
const product: number = k.mulFix(3 << 16, 1 << 15);
const sines: Int32Array = k.sin(new Int32Array([0, 90 * k.DEGREE]));
const crossing: { hit: Uint8Array; point: Int32Array } = k.segmentSegmentIntersect([0, 0], [10, 10], [0, 10], [10, 0]);
const rect: [number, number, number, number] = k.inscribedRect(ring, 1, { rule: 'exact' });
const dense: Int32Array = k.densifyRing(ring);
const text: string = k.digest();

// @ts-expect-error: not a rule
new Polygon(ring, { rule: 'fast' });
// @ts-expect-error: locate takes points, not a number
index.locate(5);
// @ts-expect-error: the degree functions take no strings
k.segmentLength('4.9,52.4', [0, 0]);
// @ts-expect-error: options are an object
ZoneIndex.fromGeometries([], 'exact');

export const used = [inside, bounded, bound, wraps, rings, none, metres, track, headings, units, degrees, product, sines,
  crossing, rect, dense, text];
