// Type declarations of the `kelvor` package (js/lib/kelvor.js).
//
// Plane points and rings are int32 x,y pairs: an Int32Array [x0, y0, x1, y1,
// ...], or plain arrays [[x, y], ...] or [x0, y0, ...] (checked and copied).
// Lon/lat degrees are a Float64Array of lon,lat pairs or plain arrays of
// numbers; the *Bin functions take 1/100000-degree units as points. Where an
// argument has one pair (or one value) it stands for every row.

/** int32 x,y pairs. */
export type Points = Int32Array | ReadonlyArray<readonly [number, number]> | ReadonlyArray<number>;
/** Lon/lat degree pairs. */
export type LonLats = Float64Array | ReadonlyArray<readonly [number, number]> | ReadonlyArray<number>;
/** int32 values: a number (the answer is then a number) or an array of them. */
export type Int32Values = number | Int32Array | ReadonlyArray<number>;
/** A rectangle [xmin, ymin, xmax, ymax]; the canonical empty one is [1, 1, 0, 0]. */
export type Rect = [number, number, number, number];
/** How crossings are computed: the exported functions' wrapping products, or exact ones. */
export type Rule = 'compatible' | 'exact';

/** One ring, a polygon (rings, the first outer and the rest its holes) or a multipolygon. */
export type Coords =
  | Points
  | ReadonlyArray<Int32Array | ReadonlyArray<readonly [number, number]>>
  | ReadonlyArray<ReadonlyArray<Int32Array | ReadonlyArray<readonly [number, number]>>>;

/** A GeoJSON position list of one ring. */
type GeoRing = ReadonlyArray<ReadonlyArray<number>>;
export interface PolygonGeometry { type: 'Polygon'; coordinates: ReadonlyArray<GeoRing> }
export interface MultiPolygonGeometry { type: 'MultiPolygon'; coordinates: ReadonlyArray<ReadonlyArray<GeoRing>> }
export type ZoneGeometry = PolygonGeometry | MultiPolygonGeometry;
export interface ZoneFeature {
  type: 'Feature';
  geometry: ZoneGeometry | null;
  properties?: Record<string, unknown> | null;
}
export interface ZoneFeatureCollection { type: 'FeatureCollection'; features: ReadonlyArray<ZoneFeature> }

/** ZoneIndex.locate's answer for a point in no zone, -2^31. */
export declare const NO_ZONE: -2147483648;
/** segmentSegmentIntersect's point where segments do not cross, -2^31. */
export declare const NO_POINT: -2147483648;
/** 1.0 in 16.16 fixed point. */
export declare const ONE: 65536;
/** One degree as a 16.16 angle. */
export declare const DEGREE: 65536;
export declare const EMPTY_RECT: Readonly<Rect>;
/** Metres per degree of latitude. */
export declare const METRES_PER_DEGREE: number;
/** 100000: units per degree of toUnits and fromGeometries. */
export declare const UNITS_PER_DEGREE: 100000;

export interface RuleOptions { rule?: Rule }

/** A polygon prepared once for many point-in-polygon queries. Holds WebAssembly memory: free() it. */
export declare class Polygon {
  /** One ring, a polygon with holes or a multipolygon, int32 coordinates; rule 'compatible' by default. */
  constructor(coords: Coords, options?: RuleOptions);
  /** From a GeoJSON Polygon/MultiPolygon (or Feature) in degrees, times scale (100000), rule 'exact' by default. */
  static fromGeometry(geometry: ZoneGeometry | ZoneFeature | null, options?: { scale?: number; rule?: Rule }): Polygon;
  /** 1 where a point is inside by the rule, else 0. */
  contains(points: Points): Uint8Array;
  /** As contains after the half-open bounding-rectangle test. */
  containsBounded(points: Points): Uint8Array;
  readonly bound: Rect;
  readonly canWrap: boolean;
  readonly rule: Rule;
  readonly memoryBytes: number;
  /** Copies of the rings as built, in GeoJSON order. */
  readonly rings: Int32Array[];
  /** Per ring: true for a hole. */
  readonly holes: boolean[];
  readonly freed: boolean;
  /** Gives the memory back; later use throws a TypeError. */
  free(): void;
  [Symbol.dispose](): void;
}

export interface ZoneIndexOptions extends RuleOptions {
  /** One id per zone; the positions 0, 1, ... by default. */
  ids?: Int32Array | ReadonlyArray<number>;
}

/** Many zones with int32 ids. Holds WebAssembly memory: free() it. */
export declare class ZoneIndex {
  /** Zones in any form Polygon takes; rule 'compatible' by default. */
  constructor(zones: ReadonlyArray<Coords>, options?: ZoneIndexOptions);
  /**
   * Zones from GeoJSON in degrees: each Polygon or MultiPolygon is one zone, a
   * null geometry keeps its place and holds nothing; coordinates times scale
   * rounded half away from zero; rule 'exact' by default.
   */
  static fromGeometries(
    features: ZoneFeatureCollection | ReadonlyArray<ZoneFeature | ZoneGeometry | null>,
    options?: { scale?: number; rule?: Rule; idProperty?: string; ids?: Int32Array | ReadonlyArray<number> },
  ): ZoneIndex;
  /** The lowest id among the zones holding each point, NO_ZONE where none. */
  locate(points: Points): Int32Array;
  readonly size: number;
  readonly rule: Rule;
  readonly ids: Int32Array;
  readonly memoryBytes: number;
  readonly freed: boolean;
  free(): void;
  [Symbol.dispose](): void;
}

export declare function ringCanWrap(ring: Points): boolean;
export declare function densifyRing(ring: Points): Int32Array;
export declare function inscribedRect(ring: Points, step: number, options?: RuleOptions): Rect;
export declare function getMcr(ring: Points, step: number): Rect;
export declare function boundingRect(ring: Points): Rect;

// Planar predicates.
export declare function polygonContainPoint(ring: Points, points: Points): Uint8Array;
export declare function segmentSegmentIntersect(a: Points, b: Points, c: Points, d: Points): { hit: Uint8Array; point: Int32Array };
export declare function pointSegmentIntersect(p: Points, a: Points, b: Points): Uint8Array;
export declare function rectClipSegment(rectMin: Points, rectMax: Points, p: Points, q: Points): { kept: Uint8Array; p: Int32Array; q: Int32Array };
export declare function rectClipRect(rectMin: Points, rectMax: Points, c1: Points, c2: Points): { kept: Uint8Array; c1: Int32Array; c2: Int32Array };
export declare function polygonHorizonIntersect(ring: Points, from: Int32Values, to: Int32Values, at: Int32Values): Uint8Array;
export declare function polygonVerticalIntersect(ring: Points, from: Int32Values, to: Int32Values, at: Int32Values): Uint8Array;
export declare function polygonContainHorizon(ring: Points, from: Int32Values, to: Int32Values, at: Int32Values): Uint8Array;
export declare function polygonContainVertical(ring: Points, from: Int32Values, to: Int32Values, at: Int32Values): Uint8Array;
export declare function polylineHorizonIntersect(line: Points, from: Int32Values, to: Int32Values, at: Int32Values): Uint8Array;
export declare function polylineVerticalIntersect(line: Points, from: Int32Values, to: Int32Values, at: Int32Values): Uint8Array;
export declare function polygonClipHorizon(ring: Points, from: Int32Values, to: Int32Values, at: Int32Values): { kept: Uint8Array; from: Int32Array; to: Int32Array };
export declare function polygonClipVertical(ring: Points, from: Int32Values, to: Int32Values, at: Int32Values): { kept: Uint8Array; from: Int32Array; to: Int32Array };

// 16.16 fixed point: numbers give a number, arrays an Int32Array.
type Fixed1 = { (a: number): number; (a: Int32Array | ReadonlyArray<number>): Int32Array };
type Fixed2 = { (a: number, b: number): number; (a: Int32Values, b: Int32Values): number | Int32Array };
type Fixed3 = { (a: number, b: number, c: number): number; (a: Int32Values, b: Int32Values, c: Int32Values): number | Int32Array };
export declare const roundFix: Fixed1;
export declare const ceilFix: Fixed1;
export declare const floorFix: Fixed1;
export declare const sqrt32: Fixed1;
export declare const sqrtFixed: Fixed1;
export declare const sin: Fixed1;
export declare const cos: Fixed1;
export declare const tan: Fixed1;
export declare const mulFix: Fixed2;
export declare const divFix: Fixed2;
/** KMF_Atan2(x, y): x first. */
export declare const atan2: Fixed2;
export declare const angleDiff: Fixed2;
export declare const mulDiv: Fixed3;
export declare const mulDivNoRound: Fixed3;
export declare function vectorRotate(v: Points, angle: Int32Values): Int32Array;
export declare function vectorFromPolar(length: Int32Values, angle: Int32Values): Int32Array;
export declare function vectorUnit(angle: Int32Values): Int32Array;
/** m: m11, m12, m21, m22 per row. */
export declare function vectorTransform(v: Points, m: Int32Array | ReadonlyArray<number>): Int32Array;
export declare function vectorLength(v: Points): Int32Array;
export declare function vectorPolarize(v: Points): { length: Int32Array; angle: Int32Array };

// Geographic: degrees, or 1/100000-degree units for the *Bin functions.
export declare function segmentLength(a: LonLats, b: LonLats): Float64Array;
export declare function segmentLengthBin(a: Points, b: Points): Float64Array;
export declare function lineLength(track: LonLats): number;
export declare function lineLengthBin(track: Points): number;
export declare function absoluteAngle(v: LonLats): Float64Array;
export declare function absoluteAngleBin(v: Points): Float64Array;
export declare function bearing(a: LonLats, b: LonLats): Float64Array;
export declare function sharpAngle(a: LonLats, b: LonLats, c: LonLats): Float64Array;
export declare function sharpAngleBin(a: Points, b: Points, c: Points): Float64Array;
export declare function turnAngle(a: LonLats, b: LonLats, c: LonLats): Float64Array;
export declare function turnAngleBin(a: Points, b: Points, c: Points): Float64Array;
export declare function unitLength(points: LonLats): { lon: Float64Array; lat: Float64Array };
export declare function unitDegree(points: LonLats): { lon: Float64Array; lat: Float64Array };
export declare function rectCenterPt(center: LonLats, half: number | Float64Array | ReadonlyArray<number>): { lower: Float64Array; upper: Float64Array };
export declare function rectCenterPtBin(center: Points, half: number | Float64Array | ReadonlyArray<number>): { lower: Int32Array; upper: Int32Array };
export declare function projectBase(p: LonLats, a: LonLats, b: LonLats): { code: Int32Array; foot: Float64Array };
export declare function projectBaseBin(p: Points, a: Points, b: Points): { code: Int32Array; foot: Int32Array };
export declare function toUnits(degrees: number): number;
export declare function toUnits(degrees: LonLats): Int32Array;
export declare function toDegrees(units: number): number;
export declare function toDegrees(units: Int32Array | ReadonlyArray<number> | ReadonlyArray<readonly [number, number]>): Float64Array;

/** The determinism digest of this build (one line per function family). */
export declare function digest(): string;
/** Bytes the module's allocator holds and the size of its WebAssembly memory. */
export declare function memoryStats(): { heapInUse: number; memoryBytes: number };
