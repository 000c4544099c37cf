// Writes, as JSON, calls of the npm package's functions with their inputs
// and the answers the native library gives them (built with portable maths,
// so every platform's answers are these). js/test/answers.test.mjs replays
// each call through the WebAssembly module and requires the same answers,
// bit for bit.
//
// Values are tagged so the replay knows what to build and expect:
// {"i32": [...]} an Int32Array, {"f64": [...]} a Float64Array, {"u8": [...]}
// a Uint8Array, {"rect": [...]} a plain array of four numbers, {"num": n},
// {"bool": b}, {"str": s}, {"list": [...]} an array, {"obj": {...}} an
// object, {"json": ...} a value as it stands (GeoJSON). Doubles are written with 17 significant
// digits, which read back to the same double.
//
// Usage: kelvor_js_answers [out.json]   (standard output without an argument)
#include <kelvor/kelvor.h>

#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "families.h"

namespace {

using I32 = std::int32_t;
using families::SplitMix;

// ---- JSON text ---------------------------------------------------------------------------

std::string num(double v) {
  if (std::isnan(v)) return "\"NaN\"";
  if (std::isinf(v)) return v > 0 ? "\"Infinity\"" : "\"-Infinity\"";
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.17g", v);
  return buf;
}
std::string num(I32 v) { return std::to_string(v); }

// {"<kind>":[...]}: a typed array of that kind on the JavaScript side.
template <typename T>
std::string typed(const char* kind, const std::vector<T>& v) {
  std::string s = std::string("{\"") + kind + "\":[";
  for (std::size_t i = 0; i < v.size(); ++i) s += (i ? "," : "") + num(v[i]);
  return s + "]}";
}
std::string i32(const std::vector<I32>& v) { return typed("i32", v); }
std::string pts(const std::vector<tagPOINT>& v) {
  std::vector<I32> flat;
  for (const tagPOINT& p : v) flat.push_back(p.x), flat.push_back(p.y);
  return i32(flat);
}
std::string u8(const std::vector<I32>& v) { return typed("u8", v); }
std::string f64(const std::vector<double>& v) { return typed("f64", v); }
std::string lonlats(const std::vector<tagLonLat>& v) {
  std::vector<double> flat;
  for (const tagLonLat& p : v) flat.push_back(p.lon), flat.push_back(p.lat);
  return f64(flat);
}
std::string bins(const std::vector<_Bin_LonLat>& v) {
  std::vector<I32> flat;
  for (const _Bin_LonLat& p : v) flat.push_back(p.lon), flat.push_back(p.lat);
  return i32(flat);
}
std::string scalar_num(double v) { return "{\"num\":" + num(v) + "}"; }
std::string scalar_num(I32 v) { return "{\"num\":" + num(v) + "}"; }
std::string boolean(bool v) { return std::string("{\"bool\":") + (v ? "true" : "false") + "}"; }
std::string str(const char* v) { return std::string("{\"str\":\"") + v + "\"}"; }
std::string list(const std::vector<std::string>& items) {
  std::string s = "{\"list\":[";
  for (std::size_t i = 0; i < items.size(); ++i) s += (i ? "," : "") + items[i];
  return s + "]}";
}
std::string obj(const std::vector<std::pair<const char*, std::string>>& fields) {
  std::string s = "{\"obj\":{";
  for (std::size_t i = 0; i < fields.size(); ++i) {
    s += (i ? ",\"" : "\"") + std::string(fields[i].first) + "\":" + fields[i].second;
  }
  return s + "}}";
}
// A rectangle comes back as a plain array [xmin, ymin, xmax, ymax].
std::string rect(const KRECT& rc) {
  return "{\"rect\":[" + num(rc.ptMin.x) + "," + num(rc.ptMin.y) + "," + num(rc.ptMax.x) + "," +
         num(rc.ptMax.y) + "]}";
}
std::string rule_opts(kelvor::Rule rule) {
  return obj({{"rule", str(rule == kelvor::Rule::Exact ? "exact" : "compatible")}});
}

struct Out {
  std::FILE* f;
  bool first = true;
  // One call: the function's name, its arguments and its answer.
  void call(const std::string& fn, const std::vector<std::string>& args, const std::string& out) {
    std::fprintf(f, "%s\n{\"fn\":\"%s\",\"args\":[", first ? "" : ",", fn.c_str());
    for (std::size_t i = 0; i < args.size(); ++i)
      std::fprintf(f, "%s%s", i ? "," : "", args[i].c_str());
    std::fprintf(f, "],\"out\":%s}", out.c_str());
    first = false;
  }
};

// ---- inputs -----------------------------------------------------------------------------------

constexpr I32 kMin = INT32_MIN, kMax = INT32_MAX;

// Landmarks of 16.16 arithmetic first, then values of every magnitude.
std::vector<I32> fixed_values(SplitMix& r, std::size_t n) {
  std::vector<I32> v = {0,       1,        -1,       32767,    32768,    -32768,   65535,
                        65536,   -65536,   98304,    -98304,   kMax,     kMin,     kMin + 1,
                        5898240, 11796480, 17694720, 23592960, -5898240, 300 << 16};
  while (v.size() < n) v.push_back(r.varied());
  return v;
}

std::vector<tagPOINT> points(SplitMix& r, std::size_t n, I32 span) {
  std::vector<tagPOINT> v(n);
  for (auto& p : v) p = {r.in(-span, span), r.in(-span, span)};
  return v;
}

std::vector<tagLonLat> degrees(SplitMix& r, std::size_t n) {
  std::vector<tagLonLat> v(n);
  for (auto& p : v) p = {r.real(-180, 180), r.real(-90, 90)};
  return v;
}
std::vector<_Bin_LonLat> units(SplitMix& r, std::size_t n) {
  std::vector<_Bin_LonLat> v(n);
  for (auto& p : v) p = {r.in(-18000000, 18000000), r.in(-9000000, 9000000)};
  return v;
}
double offset(SplitMix& r, double reach) { return r.real(-reach, reach); }
I32 offset(SplitMix& r, I32 reach) { return r.in(-reach, reach); }
// Positions within `reach` of each of `from` in both axes (degrees or units).
template <typename P, typename T>
std::vector<P> near(SplitMix& r, const std::vector<P>& from, T reach) {
  std::vector<P> v(from.size());
  for (std::size_t i = 0; i < v.size(); ++i) {
    v[i] = {from[i].lon + offset(r, reach), from[i].lat + offset(r, reach)};
  }
  return v;
}

// A star of n points around c with radii between r0 and r1: crowded
// outlines whose long spokes wrap under the compatible rule when large.
std::vector<tagPOINT> star(SplitMix& r, std::size_t n, tagPOINT c, double r0, double r1) {
  std::vector<tagPOINT> v(n);
  for (std::size_t i = 0; i < n; ++i) {
    const double a = 6.283185307179586 * static_cast<double>(i) / static_cast<double>(n);
    const double rad = r.real(r0, r1);
    v[i] = {static_cast<I32>(c.x + rad * std::cos(a)), static_cast<I32>(c.y + rad * std::sin(a))};
  }
  return v;
}

// Degrees to units as the package's toUnits and fromGeometries round:
// to the nearest unit, halves away from zero, the product in double.
I32 to_units(double v, double scale) {
  const double u = std::floor(std::fabs(v) * scale + 0.5);
  return static_cast<I32>(v < 0 ? -u : u);
}

// ---- the calls ---------------------------------------------------------------------------------

void fixed_calls(Out& out, SplitMix& r) {
  const std::size_t n = 120;
  const std::vector<I32> a = fixed_values(r, n), b = fixed_values(r, n), c = fixed_values(r, n);
  std::vector<I32> angles = fixed_values(r, n);
  for (std::size_t i = 0; i < 40; ++i)
    angles[n - 1 - i] = static_cast<I32>(i * 6 * 65536);  // whole degrees
  auto unary = [&](const char* fn, I32 (*f)(I32), const std::vector<I32>& x) {
    std::vector<I32> o;
    for (I32 v : x) o.push_back(f(v));
    out.call(fn, {i32(x)}, i32(o));
    out.call(fn, {scalar_num(x[n - 1])}, scalar_num(f(x[n - 1])));  // a number gives a number
  };
  unary("roundFix", KMF_RoundFix, a);
  unary("ceilFix", KMF_CeilFix, a);
  unary("floorFix", KMF_FloorFix, a);
  unary("sqrt32", KMF_Sqrt32, a);
  unary("sqrtFixed", KMF_SqrtFixed, a);
  unary("sin", KMF_Sin, angles);
  unary("cos", KMF_Cos, angles);
  unary("tan", KMF_Tan, angles);
  auto binary = [&](const char* fn, I32 (*f)(I32, I32)) {
    std::vector<I32> o, o1;
    for (std::size_t i = 0; i < n; ++i) o.push_back(f(a[i], b[i])), o1.push_back(f(a[i], b[7]));
    out.call(fn, {i32(a), i32(b)}, i32(o));
    out.call(fn, {i32(a), scalar_num(b[7])}, i32(o1));  // a number stands for every row
  };
  binary("mulFix", KMF_MulFix);
  binary("divFix", KMF_DivFix);
  binary("atan2", KMF_Atan2);
  binary("angleDiff", KMF_Angle_Diff);
  auto ternary = [&](const char* fn, I32 (*f)(I32, I32, I32)) {
    std::vector<I32> o;
    for (std::size_t i = 0; i < n; ++i) o.push_back(f(a[i], b[i], c[i]));
    out.call(fn, {i32(a), i32(b), i32(c)}, i32(o));
    out.call(fn, {scalar_num(a[3]), scalar_num(b[4]), scalar_num(c[5])},
             scalar_num(f(a[3], b[4], c[5])));
  };
  ternary("mulDiv", KMF_MulDiv);
  ternary("mulDivNoRound", KMF_MulDiv_No_Round);

  std::vector<I32> v;  // vectors: pairs of a and b
  for (std::size_t i = 0; i < n; ++i) v.push_back(a[i]), v.push_back(b[i]);
  std::vector<I32> rot, polar, unit, trans, len, plen, pang, mats;
  for (std::size_t i = 0; i < n; ++i) {
    KMF_Vector x{a[i], b[i]};
    KMF_Vector_Rotate(&x, angles[i]);
    rot.push_back(x.x), rot.push_back(x.y);
    KMF_Vector_From_Polar(&x, c[i], angles[i]);
    polar.push_back(x.x), polar.push_back(x.y);
    KMF_Vector_Unit(&x, angles[i]);
    unit.push_back(x.x), unit.push_back(x.y);
    const KMF_Matrix m{c[i], a[(i + 1) % n], b[(i + 2) % n], c[(i + 3) % n]};
    mats.push_back(m.m11), mats.push_back(m.m12), mats.push_back(m.m21), mats.push_back(m.m22);
    x = {a[i], b[i]};
    KMF_Vector_Transform(&x, &m);
    trans.push_back(x.x), trans.push_back(x.y);
    x = {a[i], b[i]};
    len.push_back(KMF_Vector_Length(&x));
    I32 l = 0, g = 0;  // the zero vector writes neither: 0, 0
    KMF_Vector_Polarize(&x, &l, &g);
    plen.push_back(l), pang.push_back(g);
  }
  out.call("vectorRotate", {i32(v), i32(angles)}, i32(rot));
  out.call("vectorFromPolar", {i32(c), i32(angles)}, i32(polar));
  out.call("vectorUnit", {i32(angles)}, i32(unit));
  out.call("vectorTransform", {i32(v), i32(mats)}, i32(trans));
  out.call("vectorLength", {i32(v)}, i32(len));
  out.call("vectorPolarize", {i32(v)}, obj({{"length", i32(plen)}, {"angle", i32(pang)}}));
}

void planar_calls(Out& out, SplitMix& r) {
  for (const I32 span : {40, 100000}) {
    const std::size_t n = 60;
    const std::vector<tagPOINT> ring = points(r, 9, span), line = points(r, 6, span);
    const std::vector<tagPOINT> p = points(r, n, span), a = points(r, n, span),
                                b = points(r, n, span), c = points(r, n, span),
                                d = points(r, n, span);
    std::vector<I32> inside, hit, at, on, kept, po, qo, rkept, r1, r2;
    std::vector<tagPOINT> lo(n), hi(n), c1s(n), c2s(n);
    for (std::size_t i = 0; i < n; ++i) {
      inside.push_back(Polygon_Contain_Point(ring.data(), 9, &p[i]));
      tagPOINT x{INT32_MIN, INT32_MIN};
      hit.push_back(Segment_Segment_Intersect(&a[i], &b[i], &c[i], &d[i], &x) ? 1 : 0);
      at.push_back(x.x), at.push_back(x.y);
      on.push_back(Point_Segment_Intersect(&p[i], &a[i], &b[i]) ? 1 : 0);
      lo[i] = {r.in(-span, 0), r.in(-span, 0)};
      hi[i] = {r.in(0, span), r.in(0, span)};
      tagPOINT pp = a[i], qq = b[i];
      kept.push_back(Rect_Clip_Segment(&lo[i], &hi[i], &pp, &qq) ? 1 : 0);
      po.push_back(pp.x), po.push_back(pp.y), qo.push_back(qq.x), qo.push_back(qq.y);
      c1s[i] = {r.in(-span, span), r.in(-span, span)};
      c2s[i] = {c1s[i].x + r.in(0, span), c1s[i].y + r.in(0, span)};
      tagPOINT c1 = c1s[i], c2 = c2s[i];
      rkept.push_back(Rect_Clip_Rect(&lo[i], &hi[i], &c1, &c2) ? 1 : 0);
      r1.push_back(c1.x), r1.push_back(c1.y), r2.push_back(c2.x), r2.push_back(c2.y);
    }
    // Segments through a point of the line (a landmark the random ones miss).
    std::vector<tagPOINT> on_p = p;
    for (std::size_t i = 0; i < n; i += 4) on_p[i] = a[i];
    std::vector<I32> on2;
    for (std::size_t i = 0; i < n; ++i)
      on2.push_back(Point_Segment_Intersect(&on_p[i], &a[i], &b[i]) ? 1 : 0);
    out.call("polygonContainPoint", {pts(ring), pts(p)}, u8(inside));
    // The ring given closed answers the same.
    std::vector<tagPOINT> closed = ring;
    closed.push_back(ring[0]);
    out.call("polygonContainPoint", {pts(closed), pts(p)}, u8(inside));
    out.call("segmentSegmentIntersect", {pts(a), pts(b), pts(c), pts(d)},
             obj({{"hit", u8(hit)}, {"point", i32(at)}}));
    out.call("pointSegmentIntersect", {pts(p), pts(a), pts(b)}, u8(on));
    out.call("pointSegmentIntersect", {pts(on_p), pts(a), pts(b)}, u8(on2));
    out.call("rectClipSegment", {pts(lo), pts(hi), pts(a), pts(b)},
             obj({{"kept", u8(kept)}, {"p", i32(po)}, {"q", i32(qo)}}));
    out.call("rectClipRect", {pts(lo), pts(hi), pts(c1s), pts(c2s)},
             obj({{"kept", u8(rkept)}, {"c1", i32(r1)}, {"c2", i32(r2)}}));
    // Spans over the ring (and over the line for the polyline tests).
    std::vector<I32> from(n), to(n), row(n);
    for (std::size_t i = 0; i < n; ++i) {
      from[i] = r.in(-span, span), to[i] = from[i] + r.in(0, span), row[i] = r.in(-span, span);
    }
    using Span = I32 (*)(const tagPOINT*, I32, I32, I32, I32);
    const struct {
      const char* fn;
      Span f;
      bool line;
    } spans[] = {{"polygonHorizonIntersect", Polygon_Horizon_Intersect, false},
                 {"polygonVerticalIntersect", Polygon_Vertical_Intersect, false},
                 {"polygonContainHorizon", Polygon_Contain_Horizon, false},
                 {"polygonContainVertical", Polygon_Contain_Vertical, false},
                 {"polylineHorizonIntersect", Polyline_Horizon_Intersect, true},
                 {"polylineVerticalIntersect", Polyline_Vertical_Intersect, true}};
    for (const auto& s : spans) {
      const std::vector<tagPOINT>& g = s.line ? line : ring;
      std::vector<I32> o;
      for (std::size_t i = 0; i < n; ++i)
        o.push_back(s.f(g.data(), static_cast<I32>(g.size()), from[i], to[i], row[i]) ? 1 : 0);
      out.call(s.fn, {pts(g), i32(from), i32(to), i32(row)}, u8(o));
    }
    for (const bool vertical : {false, true}) {
      std::vector<I32> k, f2, t2;
      for (std::size_t i = 0; i < n; ++i) {
        I32 fr = from[i], tt = to[i];
        const I32 got = vertical ? Polygon_Clip_Vertical(ring.data(), 9, &fr, &tt, row[i])
                                 : Polygon_Clip_Horizon(ring.data(), 9, &fr, &tt, row[i]);
        k.push_back(got ? 1 : 0), f2.push_back(fr), t2.push_back(tt);
      }
      out.call(vertical ? "polygonClipVertical" : "polygonClipHorizon",
               {pts(ring), i32(from), i32(to), i32(row)},
               obj({{"kept", u8(k)}, {"from", i32(f2)}, {"to", i32(t2)}}));
    }
    // Shapes: bounding and inscribed rectangles of small rings.
    if (span < 1000) {
      for (const I32 step : {1, 2, 0}) {
        KRECT mcr;
        GetMCR(mcr, 9, ring.data(), step);
        out.call("getMcr", {pts(ring), scalar_num(step)}, rect(mcr));
        for (const kelvor::Rule rule : {kelvor::Rule::Compatible, kelvor::Rule::Exact}) {
          out.call("inscribedRect", {pts(ring), scalar_num(step), rule_opts(rule)},
                   rect(kelvor::InscribedRect(ring.data(), 9, step, rule)));
        }
      }
    }
    KRECT mbr;
    GetMBR(mbr, 9, ring.data());
    out.call("boundingRect", {pts(ring)}, rect(mbr));
    GetMBR(mbr, 1, ring.data());
    out.call("boundingRect", {pts({ring[0]})}, rect(mbr));
  }
}

void geo_calls(Out& out, SplitMix& r) {
  const std::size_t n = 60;
  const std::vector<tagLonLat> a = degrees(r, n), b = degrees(r, n), c = near(r, a, 1.0),
                               d = near(r, a, 1e-5);
  const std::vector<_Bin_LonLat> ia = units(r, n), ib = near(r, ia, 100000),
                                 ic = near(r, ia, 100000), id = near(r, ia, 3);
  std::vector<double> len, lenb, near_len, abs_d, abs_b, bear, sharp, sharp_b, turn, turn_b;
  std::vector<double> ul_lon, ul_lat, ud_lon, ud_lat, half;
  std::vector<tagLonLat> lower(n), upper(n), foot(n);
  std::vector<_Bin_LonLat> ilower(n), iupper(n), ifoot(n);
  std::vector<I32> code, icode;
  for (std::size_t i = 0; i < n; ++i) {
    len.push_back(SegmentLength(a[i], b[i]));
    near_len.push_back(SegmentLength(a[i], d[i]));
    lenb.push_back(SegmentLength(ia[i], ib[i]));
    abs_d.push_back(GetAbsoluteAngle(tagLonLat{c[i].lon - a[i].lon, c[i].lat - a[i].lat}));
    abs_b.push_back(GetAbsoluteAngle(ib[i]));
    bear.push_back(GetAbsoluteAngle(tagLonLat{c[i].lon - a[i].lon, c[i].lat - a[i].lat}));
    sharp.push_back(GetSharpAngle(a[i], c[i], b[i]));
    sharp_b.push_back(GetSharpAngle(ib[i], ia[i], ic[i]));
    turn.push_back(GetTurnAngle(c[i], a[i], d[i]));
    turn_b.push_back(GetTurnAngle(ib[i], ia[i], ic[i]));
    double u = 0, v = 0;
    GetUnitLength(a[i], u, v);
    ul_lon.push_back(u), ul_lat.push_back(v);
    GetUnitDegree(a[i], u, v);
    ud_lon.push_back(u), ud_lat.push_back(v);
    half.push_back(r.real(0, 50000));
    GetRectCenterPt(a[i], half[i], lower[i], upper[i]);
    GetRectCenterPt(ia[i], half[i], ilower[i], iupper[i]);
    foot[i] = a[i];
    code.push_back(GetProjectBase(c[i], a[i], i % 10 == 0 ? d[i] : b[i], foot[i]));
    ifoot[i] = ia[i];
    icode.push_back(GetProjectBase(ic[i], ia[i], i % 10 == 0 ? id[i] : ib[i], ifoot[i]));
  }
  std::vector<tagLonLat> b_or_d = b;
  std::vector<_Bin_LonLat> ib_or_id = ib;
  for (std::size_t i = 0; i < n; i += 10) b_or_d[i] = d[i], ib_or_id[i] = id[i];
  std::vector<tagLonLat> diff(n);
  for (std::size_t i = 0; i < n; ++i) diff[i] = {c[i].lon - a[i].lon, c[i].lat - a[i].lat};

  out.call("segmentLength", {lonlats(a), lonlats(b)}, f64(len));
  out.call("segmentLength", {lonlats(a), lonlats(d)}, f64(near_len));
  out.call("segmentLengthBin", {bins(ia), bins(ib)}, f64(lenb));
  std::vector<double> one;  // one pair stands for every row
  for (std::size_t i = 0; i < n; ++i) one.push_back(SegmentLength(a[0], b[i]));
  out.call("segmentLength", {lonlats({a[0]}), lonlats(b)}, f64(one));
  out.call("absoluteAngle", {lonlats(diff)}, f64(abs_d));
  out.call("absoluteAngleBin", {bins(ib)}, f64(abs_b));
  out.call("bearing", {lonlats(a), lonlats(c)}, f64(bear));
  out.call("sharpAngle", {lonlats(a), lonlats(c), lonlats(b)}, f64(sharp));
  out.call("sharpAngleBin", {bins(ib), bins(ia), bins(ic)}, f64(sharp_b));
  out.call("turnAngle", {lonlats(c), lonlats(a), lonlats(d)}, f64(turn));
  out.call("turnAngleBin", {bins(ib), bins(ia), bins(ic)}, f64(turn_b));
  out.call("unitLength", {lonlats(a)}, obj({{"lon", f64(ul_lon)}, {"lat", f64(ul_lat)}}));
  out.call("unitDegree", {lonlats(a)}, obj({{"lon", f64(ud_lon)}, {"lat", f64(ud_lat)}}));
  out.call("rectCenterPt", {lonlats(a), f64(half)},
           obj({{"lower", lonlats(lower)}, {"upper", lonlats(upper)}}));
  out.call("rectCenterPtBin", {bins(ia), f64(half)},
           obj({{"lower", bins(ilower)}, {"upper", bins(iupper)}}));
  out.call("projectBase", {lonlats(c), lonlats(a), lonlats(b_or_d)},
           obj({{"code", i32(code)}, {"foot", lonlats(foot)}}));
  out.call("projectBaseBin", {bins(ic), bins(ia), bins(ib_or_id)},
           obj({{"code", i32(icode)}, {"foot", bins(ifoot)}}));

  // Tracks: a drive of short hops, and a ring of long ones.
  for (const std::size_t count : {0, 1, 2, 37, 60}) {
    std::vector<tagLonLat> track(c.begin(), c.begin() + static_cast<std::ptrdiff_t>(count));
    std::vector<_Bin_LonLat> itrack(ic.begin(), ic.begin() + static_cast<std::ptrdiff_t>(count));
    out.call("lineLength", {lonlats(track)},
             scalar_num(LineLength(static_cast<std::uint16_t>(count), track.data())));
    out.call("lineLengthBin", {bins(itrack)},
             scalar_num(LineLength(static_cast<std::uint16_t>(count), itrack.data())));
  }

  // Degrees to units: random values, halves of a unit either side of zero,
  // values one ulp beside a half, and the ends of the int32 range.
  std::vector<double> deg;
  for (std::size_t i = 0; i < 60; ++i) deg.push_back(r.real(-180, 180));
  for (const double v : {0.000005, -0.000005, 0.000015, -0.000015, 4.895125, -4.895125, 0.0, -0.0,
                         21474.83647, -21474.83648, 179.999995, -179.999995}) {
    deg.push_back(v), deg.push_back(std::nextafter(v, 1e9)), deg.push_back(std::nextafter(v, -1e9));
  }
  std::vector<I32> u;
  for (const double v : deg) u.push_back(to_units(v, 100000.0));
  out.call("toUnits", {f64(deg)}, i32(u));
  out.call("toUnits", {scalar_num(deg[0])}, scalar_num(u[0]));
}

// Rings of 3 to 40 points, some empty or degenerate, spans up to wrapping.
std::vector<tagPOINT> any_ring(SplitMix& r, I32 span) {
  const std::size_t n = r.next() % 5 == 0 ? r.next() % 3 : 3 + r.next() % 38;
  if (r.next() % 3 == 0 && n >= 3)
    return star(r, n, {r.in(-span / 4, span / 4), r.in(-span / 4, span / 4)}, span / 8.0,
                span / 2.0);
  return points(r, n, span);
}

void prepared_calls(Out& out, SplitMix& r) {
  // Landmarks of the wrap check: a diamond just past the limit and one just
  // within it, and a long flat edge (wraps 215 rows or more from its start).
  const std::vector<std::vector<tagPOINT>> landmarks = {
      {{46341, 0}, {0, 46341}, {-46341, 0}, {0, -46341}},
      {{46340, 0}, {0, 46340}, {-46340, 0}, {0, -46340}},
      {{0, 0}, {10000000, 300}, {10000000, 600}, {0, 600}},
      {{0, 0}, {10000000, 0}, {10000000, 214}, {0, 214}}};
  for (const auto& ring : landmarks) {
    const I32 n = static_cast<I32>(ring.size());
    out.call("ringCanWrap", {pts(ring)}, boolean(kelvor::RingCanWrap(ring.data(), n)));
    out.call("densifyRing", {pts(ring)}, pts(kelvor::DensifyRing(ring.data(), n)));
    std::vector<tagPOINT> q = points(r, 60, 50000);
    q[0] = {0, 0}, q[1] = {5000000, 400}, q[2] = {5000000, 100};
    for (const kelvor::Rule rule : {kelvor::Rule::Compatible, kelvor::Rule::Exact}) {
      const kelvor::PreparedPolygon pg(ring.data(), n, rule);
      std::vector<std::uint8_t> in(q.size()), inb(q.size());
      pg.Contain(q.data(), q.size(), in.data());
      pg.ContainBounded(q.data(), q.size(), inb.data());
      out.call("Polygon", {pts(ring), rule_opts(rule), pts(q)},
               obj({{"contains", u8(std::vector<I32>(in.begin(), in.end()))},
                    {"containsBounded", u8(std::vector<I32>(inb.begin(), inb.end()))},
                    {"bound", rect(pg.bound())},
                    {"canWrap", boolean(pg.can_wrap())}}));
    }
  }
  for (const I32 span : {30, 5000, 300000, 2000000000}) {
    for (int k = 0; k < 5; ++k) {
      const std::vector<tagPOINT> ring = any_ring(r, span);
      const I32 n = static_cast<I32>(ring.size());
      std::vector<tagPOINT> q = points(r, 60, span);
      for (std::size_t i = 0; i < q.size() && n > 0; i += 3) {
        const tagPOINT v = ring[r.next() % static_cast<std::uint64_t>(n)];
        q[i] = {static_cast<I32>(v.x + r.in(-2, 2)), static_cast<I32>(v.y + r.in(-2, 2))};
      }
      out.call("ringCanWrap", {pts(ring)}, boolean(kelvor::RingCanWrap(ring.data(), n)));
      // Densified rings of the widest outlines run to millions of points.
      if (span <= 300000)
        out.call("densifyRing", {pts(ring)}, pts(kelvor::DensifyRing(ring.data(), n)));
      for (const kelvor::Rule rule : {kelvor::Rule::Compatible, kelvor::Rule::Exact}) {
        const kelvor::PreparedPolygon pg(ring.data(), n, rule);
        std::vector<std::uint8_t> in(q.size()), inb(q.size());
        pg.Contain(q.data(), q.size(), in.data());
        pg.ContainBounded(q.data(), q.size(), inb.data());
        out.call("Polygon", {pts(ring), rule_opts(rule), pts(q)},
                 obj({{"contains", u8(std::vector<I32>(in.begin(), in.end()))},
                      {"containsBounded", u8(std::vector<I32>(inb.begin(), inb.end()))},
                      {"bound", rect(pg.bound())},
                      {"canWrap", boolean(pg.can_wrap())}}));
      }
    }
    // Polygons with holes and many parts, and zone indexes of them.
    for (int k = 0; k < 3; ++k) {
      // Per area: polygons, each an outer ring and its holes (shrunk copies
      // of the outer ring toward its first point, so that they lie inside).
      std::vector<std::vector<std::vector<tagPOINT>>> area_polys[3];
      for (auto& area : area_polys) {
        const int parts = 1 + static_cast<int>(r.next() % 3);
        for (int j = 0; j < parts; ++j) {
          std::vector<std::vector<tagPOINT>> poly{any_ring(r, span)};
          const int holes = static_cast<int>(r.next() % 3);
          for (int h = 0; h < holes; ++h) {
            std::vector<tagPOINT> hole = poly[0];
            for (tagPOINT& p : hole) {
              p = {static_cast<I32>(poly[0][0].x + (std::int64_t{p.x} - poly[0][0].x) / (2 + h)),
                   static_cast<I32>(poly[0][0].y + (std::int64_t{p.y} - poly[0][0].y) / (2 + h))};
            }
            poly.push_back(r.next() % 4 == 0 ? any_ring(r, span) : hole);
          }
          area.push_back(poly);
        }
      }
      std::vector<tagPOINT> q = points(r, 80, span);
      const auto& first = area_polys[0][0][0];
      for (std::size_t i = 0; i < q.size() && !first.empty(); i += 2) {
        const tagPOINT v = first[r.next() % first.size()];
        q[i] = {static_cast<I32>(v.x + r.in(-3, 3)), static_cast<I32>(v.y + r.in(-3, 3))};
      }
      std::vector<std::vector<kelvor::Ring>> area_rings(3);
      std::vector<std::string> area_json;
      for (int z = 0; z < 3; ++z) {
        std::vector<std::string> polys;
        for (const auto& poly : area_polys[z]) {
          std::vector<std::string> rings;
          for (std::size_t h = 0; h < poly.size(); ++h) {
            area_rings[z].push_back(
                kelvor::Ring{poly[h].data(), static_cast<I32>(poly[h].size()), h > 0});
            rings.push_back(pts(poly[h]));
          }
          polys.push_back(list(rings));
        }
        area_json.push_back(list(polys));  // a multipolygon
      }
      const std::vector<I32> ids = {r.in(-3, 3), r.in(-3, 3), r.in(-3, 3)};
      for (const kelvor::Rule rule : {kelvor::Rule::Compatible, kelvor::Rule::Exact}) {
        // Area 0 alone as a Polygon, given as a polygon (first part with its
        // holes) when it has one part, else as a multipolygon.
        const std::string coords = area_polys[0].size() == 1 ? list([&] {
          std::vector<std::string> rings;
          for (const auto& g : area_polys[0][0]) rings.push_back(pts(g));
          return rings;
        }())
                                                             : area_json[0];
        const kelvor::PreparedPolygon pg(area_rings[0].data(), area_rings[0].size(), rule);
        std::vector<std::uint8_t> in(q.size()), inb(q.size());
        pg.Contain(q.data(), q.size(), in.data());
        pg.ContainBounded(q.data(), q.size(), inb.data());
        out.call("Polygon", {coords, rule_opts(rule), pts(q)},
                 obj({{"contains", u8(std::vector<I32>(in.begin(), in.end()))},
                      {"containsBounded", u8(std::vector<I32>(inb.begin(), inb.end()))},
                      {"bound", rect(pg.bound())},
                      {"canWrap", boolean(pg.can_wrap())}}));
        const kelvor::Area areas[] = {{area_rings[0].data(), area_rings[0].size(), ids[0]},
                                      {area_rings[1].data(), area_rings[1].size(), ids[1]},
                                      {area_rings[2].data(), area_rings[2].size(), ids[2]}};
        const kelvor::ZoneIndex index(areas, 3, rule);
        std::vector<I32> located(q.size());
        index.Locate(q.data(), q.size(), located.data());
        out.call(
            "ZoneIndex", {list(area_json), i32(ids), rule_opts(rule), pts(q)},
            obj({{"locate", i32(located)}, {"size", scalar_num(static_cast<I32>(index.size()))}}));
      }
    }
  }
}

// Zones as GeoJSON in degrees, through ZoneIndex.fromGeometries: the
// package rounds each coordinate times the scale, as to_units does here.
void geometry_calls(Out& out, SplitMix& r) {
  for (const double scale : {100000.0, 1000.0}) {
    std::string features = "[";
    std::vector<std::vector<kelvor::Ring>> area_rings;
    std::vector<std::vector<tagPOINT>> storage;
    storage.reserve(64);
    std::vector<I32> ids;
    for (int z = 0; z < 5; ++z) {
      const double lon0 = r.real(-10, 10), lat0 = r.real(-10, 10);
      const int parts = z == 3 ? 2 : 1;
      std::string coords = "[";
      area_rings.emplace_back();
      for (int j = 0; j < parts; ++j) {
        std::string poly = "[";
        for (int h = 0; h < 2; ++h) {  // an outer ring and a hole in it
          const double rad = h == 0 ? r.real(1, 4) : r.real(0.1, 0.9);
          const double cx = lon0 + 9.0 * j, cy = lat0;
          std::string ring = "[";
          std::vector<tagPOINT> units_ring;
          const int n = 5 + static_cast<int>(r.next() % 20);
          for (int i = 0; i <= n; ++i) {  // closed, as GeoJSON has it
            const double a = 6.283185307179586 * (i % n) / n;
            const double lon = cx + rad * std::cos(a) * r.real(0.6, 1.0);
            const double lat = cy + rad * std::sin(a) * r.real(0.6, 1.0);
            ring += (i ? "," : "") + std::string("[") + num(lon) + "," + num(lat) + "]";
            units_ring.push_back({to_units(lon, scale), to_units(lat, scale)});
          }
          storage.push_back(units_ring);
          area_rings.back().push_back(
              kelvor::Ring{nullptr, static_cast<I32>(units_ring.size()), h > 0});
          poly += (h ? "," : "") + ring + "]";
        }
        coords += (j ? "," : "") + poly + "]";
      }
      coords += "]";
      const I32 id = 100 + z * 7;
      ids.push_back(id);
      const std::string geometry =
          parts == 1
              ? "{\"type\":\"Polygon\",\"coordinates\":" + coords.substr(1, coords.size() - 2) + "}"
              : "{\"type\":\"MultiPolygon\",\"coordinates\":" + coords + "}";
      features += (z ? "," : "") + std::string("{\"type\":\"Feature\",\"properties\":{\"code\":") +
                  num(id) + "},\"geometry\":" + geometry + "}";
    }
    // A feature without a geometry keeps its place and holds nothing.
    features += ",{\"type\":\"Feature\",\"properties\":{\"code\":999},\"geometry\":null}]";
    ids.push_back(999);
    area_rings.emplace_back();
    std::size_t s = 0;
    for (auto& rings : area_rings) {
      for (auto& ring : rings) ring.points = storage[s++].data();
    }
    std::vector<kelvor::Area> areas;
    for (std::size_t z = 0; z < area_rings.size(); ++z) {
      areas.push_back(kelvor::Area{area_rings[z].data(), area_rings[z].size(), ids[z]});
    }
    std::vector<tagPOINT> q(150);
    for (auto& p : q) p = {to_units(r.real(-14, 23), scale), to_units(r.real(-14, 14), scale)};
    for (const kelvor::Rule rule : {kelvor::Rule::Compatible, kelvor::Rule::Exact}) {
      const kelvor::ZoneIndex index(areas.data(), areas.size(), rule);
      std::vector<I32> located(q.size());
      index.Locate(q.data(), q.size(), located.data());
      const std::string opts =
          "{\"obj\":{\"scale\":" + scalar_num(scale) + ",\"idProperty\":" + str("code") +
          ",\"rule\":" + str(rule == kelvor::Rule::Exact ? "exact" : "compatible") + "}}";
      out.call(
          "ZoneIndex.fromGeometries",
          {"{\"json\":{\"type\":\"FeatureCollection\",\"features\":" + features + "}}", opts,
           pts(q)},
          obj({{"locate", i32(located)}, {"size", scalar_num(static_cast<I32>(index.size()))}}));
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::FILE* f = argc > 1 ? std::fopen(argv[1], "w") : stdout;
  if (f == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  Out out{f};
  SplitMix r{20240611};
  std::fprintf(f, "{\"calls\":[");
  fixed_calls(out, r);
  planar_calls(out, r);
  geo_calls(out, r);
  prepared_calls(out, r);
  geometry_calls(out, r);
  std::fprintf(f, "\n]}\n");
  return f == stdout || std::fclose(f) == 0 ? 0 : 1;
}
