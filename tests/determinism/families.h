// Every function family's answers over a fixed set of generated inputs, hashed
// per family: the digest program prints them (CI requires identical output from
// every compiler and optimisation level, and the committed expected file pins
// them over time), and the concurrency test compares them across threads.
#ifndef KELVOR_TESTS_DETERMINISM_FAMILIES_H
#define KELVOR_TESTS_DETERMINISM_FAMILIES_H

#include <kelvor/kelvor.h>

#include <cstdint>
#include <cstring>

namespace families {

// Small self-contained generator so the inputs never depend on the C++ library.
struct SplitMix {
  std::uint64_t s;
  std::uint64_t next() {
    std::uint64_t z = (s += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  std::int32_t i32() { return static_cast<std::int32_t>(static_cast<std::uint32_t>(next())); }
  // Any magnitude: shifts a random word right by a random amount.
  std::int32_t varied() {
    const std::uint64_t w = static_cast<std::uint32_t>(next());
    const std::int32_t m = static_cast<std::int32_t>(w >> (next() % 32 + 1));
    return (next() & 1) ? -m : m;
  }
  std::int32_t in(std::int32_t lo, std::int32_t hi) {
    const std::uint64_t width = static_cast<std::uint64_t>(std::int64_t{hi} - lo + 1);
    return static_cast<std::int32_t>(lo + static_cast<std::int64_t>(next() % width));
  }
  double real(double lo, double hi) { return lo + (hi - lo) * ((next() >> 11) * 0x1.0p-53); }
};

struct Digest {
  std::uint64_t h = 1469598103934665603ull;
  void add(const void* p, std::size_t n) {
    const unsigned char* b = static_cast<const unsigned char*>(p);
    for (std::size_t i = 0; i < n; ++i) h = (h ^ b[i]) * 1099511628211ull;
  }
  void i(std::int32_t v) { add(&v, sizeof v); }
  void d(double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    add(&bits, sizeof bits);
  }
  void p(const tagPOINT& v) { i(v.x), i(v.y); }
};

constexpr int kRounds = 20000;

inline Digest scalar(SplitMix& r, int rounds = kRounds) {
  Digest d;
  for (int k = 0; k < rounds; ++k) {
    const std::int32_t a = r.varied(), b = r.varied(), c = r.varied();
    d.i(KMF_RoundFix(a)), d.i(KMF_CeilFix(a)), d.i(KMF_FloorFix(a));
    d.i(KMF_MulDiv(a, b, c)), d.i(KMF_MulDiv_No_Round(a, b, c));
    d.i(KMF_MulFix(a, b)), d.i(KMF_DivFix(a, b)), d.i(KMF_Sqrt32(a)), d.i(KMF_SqrtFixed(a));
  }
  return d;
}

inline Digest trig(SplitMix& r, int rounds = kRounds) {
  Digest d;
  for (int k = 0; k < rounds; ++k) {
    const std::int32_t a = r.i32(), x = r.varied(), y = r.varied();
    d.i(KMF_Sin(a)), d.i(KMF_Cos(a)), d.i(KMF_Tan(a)), d.i(KMF_Atan2(x, y));
    KMF_Vector v{x, y};
    KMF_Vector_Rotate(&v, a);
    d.i(v.x), d.i(v.y);
    v = {x, y};
    d.i(KMF_Vector_Length(&v));
    std::int32_t len = 0, ang = 0;
    KMF_Vector_Polarize(&v, &len, &ang);
    d.i(len), d.i(ang);
    KMF_Vector_Unit(&v, a);
    d.i(v.x), d.i(v.y);
    KMF_Vector_From_Polar(&v, x, a);
    d.i(v.x), d.i(v.y);
    const KMF_Matrix m{r.varied(), r.varied(), r.varied(), r.varied()};
    v = {x, y};
    KMF_Vector_Transform(&v, &m);
    d.i(v.x), d.i(v.y), d.i(KMF_Angle_Diff(x, y));
  }
  return d;
}

inline Digest planar(SplitMix& r, int rounds = kRounds) {
  Digest d;
  tagPOINT ring[24], line[8];
  for (int k = 0; k < rounds / 10; ++k) {
    const std::int32_t span = (k % 3 == 0) ? 40 : 100000;
    for (auto& p : ring) p = {r.in(-span, span), r.in(-span, span)};
    for (auto& p : line) p = {r.in(-span, span), r.in(-span, span)};
    const int n = 3 + static_cast<int>(r.next() % 22), m = 2 + static_cast<int>(r.next() % 7);
    const tagPOINT a{r.in(-span, span), r.in(-span, span)}, b{r.in(-span, span), r.in(-span, span)};
    tagPOINT lo{r.in(-span, 0), r.in(-span, 0)}, hi{r.in(0, span), r.in(0, span)};
    tagPOINT out{0, 0};
    d.i(Segment_Segment_Intersect(&a, &b, &line[0], &line[1], &out)), d.p(out);
    d.i(Segment_Rect_Intersect(&a, &b, &lo, &hi)),
        d.i(Point_Segment_Intersect(&a, &line[0], &line[1]));
    d.i(Point_Polygon_Intersect(&a, ring, n)), d.i(Segment_Polygon_Intersect(&a, &b, ring, n));
    d.i(Rect_Polygon_Intersect(&lo, &hi, ring, n)),
        d.i(Polygon_Polygon_Intersect(ring, n, line, m));
    d.i(Polyline_Polyline_Intersect(line, m, ring, n)),
        d.i(Rect_Polyline_Intersect(&lo, &hi, line, m));
    d.i(Polygon_Horizon_Intersect(ring, n, lo.x, hi.x, a.y));
    d.i(Polygon_Vertical_Intersect(ring, n, lo.y, hi.y, a.x));
    d.i(Polygon_Contain_Segment(ring, n, &a, &b)), d.i(Polygon_Contain_Rect(ring, n, &lo, &hi));
    d.i(Polygon_Contain_Polygon(ring, n, line, m)), d.i(Polygon_Contain_Polyline(ring, n, line, m));
    tagPOINT p = a, q = b;
    d.i(Rect_Clip_Segment(&lo, &hi, &p, &q)), d.p(p), d.p(q);
    std::int32_t from = lo.x, to = hi.x;
    d.i(Polygon_Clip_Horizon(ring, n, &from, &to, a.y)), d.i(from), d.i(to);
    from = lo.y, to = hi.y;
    d.i(Polygon_Clip_Vertical(ring, n, &from, &to, a.x)), d.i(from), d.i(to);
    KPGON g(n, ring), h(m < 3 ? 3 : m, line);
    KRECT rc;
    // The scan visits every row of the ring, so keep the inscribed rectangle to small rings.
    if (span < 1000) GetMCR(rc, n, ring, 1 + static_cast<std::int32_t>(r.next() % 3));
    d.p(rc.ptMin), d.p(rc.ptMax), d.i(g.Intersect(h)), d.i(g.Contain(h)), d.i(g.Contain(a));
  }
  return d;
}

inline Digest geo(SplitMix& r, int rounds = kRounds) {
  Digest d;
  for (int k = 0; k < rounds; ++k) {
    const tagLonLat a{r.real(-180, 180), r.real(-90, 90)}, b{r.real(-180, 180), r.real(-90, 90)};
    const tagLonLat c{a.lon + r.real(-1, 1), a.lat + r.real(-1, 1)};
    const _Bin_LonLat ia{r.in(-18000000, 18000000), r.in(-9000000, 9000000)};
    const _Bin_LonLat ib{ia.lon + r.in(-100000, 100000), ia.lat + r.in(-100000, 100000)};
    const _Bin_LonLat ic{ia.lon + r.in(-100000, 100000), ia.lat + r.in(-100000, 100000)};
    d.d(SegmentLength(a, b)), d.d(SegmentLength(ia, ib));
    tagLonLat lo{}, hi{}, f{};
    GetRectCenterPt(a, r.real(0, 50000), lo, hi);
    d.d(lo.lon), d.d(hi.lat);
    _Bin_LonLat ilo{}, ihi{}, iff{0, 0};
    GetRectCenterPt(ia, r.real(0, 50000), ilo, ihi);
    d.i(ilo.lon), d.i(ihi.lat);
    double u = 0, v = 0;
    GetUnitLength(a, u, v);
    d.d(u);
    GetUnitDegree(a, u, v);
    d.d(u);
    d.i(GetProjectBase(c, a, b, f)), d.d(f.lon), d.d(f.lat);
    d.i(GetProjectBase(ic, ia, ib, iff)), d.i(iff.lon), d.i(iff.lat);
    d.d(GetAbsoluteAngle(tagLonLat{c.lon - a.lon, c.lat - a.lat})), d.d(GetAbsoluteAngle(ib));
    d.d(GetSharpAngle(a, c, b)), d.d(GetSharpAngle(ib, ia, ic));
    d.d(GetTurnAngle(c, a, tagLonLat{a.lon + 0.5, a.lat - 0.25})), d.d(GetTurnAngle(ib, ia, ic));
  }
  return d;
}

inline Digest bulk(SplitMix& r, int rounds = kRounds) {
  Digest d;
  for (int k = 0; k < rounds / 100; ++k) {
    // Spans from a few units to well past the wrapping limit of the 32-bit
    // crossing product.
    const std::int32_t span = (k % 4 == 0)   ? 30
                              : (k % 4 == 1) ? 5000
                              : (k % 4 == 2) ? 300000
                                             : 2000000000;
    tagPOINT ring[5][16];
    kelvor::Zone zones[5];
    for (int z = 0; z < 5; ++z) {
      const int n = static_cast<int>(r.next() % 17);
      for (int i = 0; i < n; ++i) ring[z][i] = {r.in(-span, span), r.in(-span, span)};
      zones[z] = {ring[z], n, r.in(-3, 3)};
    }
    const kelvor::ZoneIndex compatible(zones, 5), exact(zones, 5, kelvor::Rule::Exact);
    const kelvor::PreparedPolygon pc(ring[0], zones[0].count);
    const kelvor::PreparedPolygon pe(ring[0], zones[0].count, kelvor::Rule::Exact);
    for (int q = 0; q < 40; ++q) {
      const tagPOINT p{r.in(-span, span), r.in(-span, span)};
      d.i(pc.Contain(p)), d.i(pc.ContainBounded(p)), d.i(pe.Contain(p)), d.i(pe.ContainBounded(p));
      d.i(compatible.Locate(p)), d.i(exact.Locate(p));
    }
    d.i(kelvor::RingCanWrap(ring[0], zones[0].count));
    for (const tagPOINT& p : kelvor::DensifyRing(ring[0], zones[0].count)) d.p(p);
    if (span < 1000) {
      const std::int32_t step = 1 + static_cast<std::int32_t>(r.next() % 3);
      for (const kelvor::Rule rule : {kelvor::Rule::Compatible, kelvor::Rule::Exact}) {
        const KRECT rc = kelvor::InscribedRect(ring[0], zones[0].count, step, rule);
        d.p(rc.ptMin), d.p(rc.ptMax);
      }
    }
  }
  return d;
}

// Polygons with holes and many parts, alone and in zone indexes: rings drawn
// anew or shrunk from the first toward its first point (holes inside parts),
// some empty, spans from a few units to wrapping.
inline Digest area(SplitMix& r, int rounds = kRounds) {
  Digest d;
  for (int k = 0; k < rounds / 100; ++k) {
    const std::int32_t span = (k % 4 == 0)   ? 30
                              : (k % 4 == 1) ? 5000
                              : (k % 4 == 2) ? 300000
                                             : 2000000000;
    tagPOINT pts[6][24];
    kelvor::Ring rings[6];
    const int ring_count = 1 + static_cast<int>(r.next() % 6);
    for (int g = 0; g < ring_count; ++g) {
      const int n = static_cast<int>(r.next() % 25);
      const int shrink = g > 0 && r.next() % 2 ? 1 + static_cast<int>(r.next() % 3) : 0;
      for (int i = 0; i < n; ++i) {
        if (shrink != 0 && i < rings[0].count) {
          const tagPOINT a = pts[0][0], v = pts[0][i];
          pts[g][i] = {static_cast<std::int32_t>(a.x + (std::int64_t{v.x} - a.x) / (1 << shrink)),
                       static_cast<std::int32_t>(a.y + (std::int64_t{v.y} - a.y) / (1 << shrink))};
        } else {
          pts[g][i] = {r.in(-span, span), r.in(-span, span)};
        }
      }
      rings[g] = {pts[g], n, g > 0 && r.next() % 3 != 0};
    }
    const kelvor::Area areas[] = {
        {rings, static_cast<std::size_t>(ring_count), r.in(-3, 3)},
        {rings + 1, static_cast<std::size_t>(ring_count - 1), r.in(-3, 3)}};
    const kelvor::ZoneIndex compatible(areas, 2), exact(areas, 2, kelvor::Rule::Exact);
    const kelvor::PreparedPolygon pc(rings, static_cast<std::size_t>(ring_count));
    const kelvor::PreparedPolygon pe(rings, static_cast<std::size_t>(ring_count),
                                     kelvor::Rule::Exact);
    const KRECT b = pc.bound();
    d.p(b.ptMin), d.p(b.ptMax), d.i(pc.can_wrap());
    for (int q = 0; q < 60; ++q) {
      tagPOINT p{r.in(-span, span), r.in(-span, span)};
      if (q % 3 == 0 && rings[0].count > 0) {
        const tagPOINT v = pts[0][r.next() % static_cast<std::uint64_t>(rings[0].count)];
        p = {static_cast<std::int32_t>(v.x + r.in(-2, 2)),
             static_cast<std::int32_t>(v.y + r.in(-2, 2))};
      }
      d.i(pc.Contain(p)), d.i(pc.ContainBounded(p)), d.i(pe.Contain(p)), d.i(pe.ContainBounded(p));
      d.i(compatible.Locate(p)), d.i(exact.Locate(p));
    }
  }
  return d;
}

// The digest's lines in order; each family draws its inputs from the one
// generator stream that starts at kSeed, so the order is part of the digest.
struct Family {
  const char* name;
  Digest (*run)(SplitMix&, int);
};
inline constexpr std::uint64_t kSeed = 20261205;
inline constexpr Family kFamilies[] = {{"scalar", scalar}, {"trig", trig}, {"planar", planar},
                                       {"geo", geo},       {"bulk", bulk}, {"area", area}};

}  // namespace families

#endif  // KELVOR_TESTS_DETERMINISM_FAMILIES_H
