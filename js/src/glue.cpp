// The C entry points of the WebAssembly module behind the `kelvor` npm package.
//
// Every bulk function takes whole arrays already copied into the module's
// memory and loops here, so a JavaScript call crosses into WebAssembly once
// whatever the number of points. The JavaScript layer (js/lib/kelvor.js)
// checks every argument before it gets here: lengths, types and rules arrive
// valid, and these functions trust them. Builders catch std::bad_alloc and
// report it by a null pointer or a status, never by unwinding into JS.
//
// Row arguments come as (pointer, step): step 1 walks an array of n records,
// step 0 repeats one record for every row (the JS layer's broadcasting).
#include <emscripten/emscripten.h>
#include <kelvor/kelvor.h>
#include <malloc.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "families.h"

namespace {

using I32 = std::int32_t;

template <typename T>
struct Rows {
  const T* p;
  I32 step;
  const T& operator[](std::size_t i) const { return p[i * static_cast<std::size_t>(step)]; }
};

template <typename T>
Rows<T> rows(const void* p, I32 step) {
  return Rows<T>{static_cast<const T*>(p), step};
}

kelvor::Rule rule_of(I32 rule) {
  return rule == 1 ? kelvor::Rule::Exact : kelvor::Rule::Compatible;
}

void put_rect(const KRECT& rc, I32* out) {
  out[0] = rc.ptMin.x, out[1] = rc.ptMin.y, out[2] = rc.ptMax.x, out[3] = rc.ptMax.y;
}

// Rings in GeoJSON order over one array of points: ring i takes the next
// counts[i] points. The views borrow `points` while an object is built.
std::vector<kelvor::Ring> ring_views(const tagPOINT* points, const I32* counts,
                                     const std::uint8_t* holes, I32 ring_count) {
  std::vector<kelvor::Ring> rings(static_cast<std::size_t>(ring_count));
  std::size_t used = 0;
  for (std::size_t i = 0; i < rings.size(); ++i) {
    rings[i] = kelvor::Ring{points + used, counts[i], holes[i] != 0};
    used += static_cast<std::size_t>(counts[i]);
  }
  return rings;
}

}  // namespace

extern "C" {

// ---- prepared polygons ---------------------------------------------------------------

// A PreparedPolygon of ring_count rings, or null when memory runs out.
// one_ring uses the one-ring constructor (a lone outer ring), as the Python
// package does, so that a plain ring takes exactly that path.
EMSCRIPTEN_KEEPALIVE void* kj_polygon_new(const tagPOINT* points, const I32* counts,
                                          const std::uint8_t* holes, I32 ring_count, I32 rule,
                                          I32 one_ring) {
  try {
    if (one_ring) return new kelvor::PreparedPolygon(points, counts[0], rule_of(rule));
    const std::vector<kelvor::Ring> rings = ring_views(points, counts, holes, ring_count);
    return new kelvor::PreparedPolygon(rings.data(), rings.size(), rule_of(rule));
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

EMSCRIPTEN_KEEPALIVE void kj_polygon_free(kelvor::PreparedPolygon* pg) { delete pg; }

EMSCRIPTEN_KEEPALIVE void kj_polygon_contains(const kelvor::PreparedPolygon* pg,
                                              const tagPOINT* points, std::size_t n,
                                              std::uint8_t* out, I32 bounded) {
  if (bounded) {
    pg->ContainBounded(points, n, out);
  } else {
    pg->Contain(points, n, out);
  }
}

EMSCRIPTEN_KEEPALIVE void kj_polygon_bound(const kelvor::PreparedPolygon* pg, I32* out) {
  put_rect(pg->bound(), out);
}

EMSCRIPTEN_KEEPALIVE I32 kj_polygon_can_wrap(const kelvor::PreparedPolygon* pg) {
  return pg->can_wrap() ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE double kj_polygon_memory_bytes(const kelvor::PreparedPolygon* pg) {
  return static_cast<double>(pg->memory_bytes());
}

// Sizes of the rings as built: out[0] rings, out[1] points. 0, or 1 when
// memory runs out (rings() builds a vector).
EMSCRIPTEN_KEEPALIVE I32 kj_polygon_sizes(const kelvor::PreparedPolygon* pg, I32* out) {
  try {
    out[0] = static_cast<I32>(pg->rings().size());
    out[1] = static_cast<I32>(pg->points().size());
    return 0;
  } catch (const std::bad_alloc&) {
    return 1;
  }
}

// The rings as built, in the layout kj_polygon_new takes (sizes from
// kj_polygon_sizes). 0, or 1 when memory runs out.
EMSCRIPTEN_KEEPALIVE I32 kj_polygon_parts(const kelvor::PreparedPolygon* pg, tagPOINT* points,
                                          I32* counts, std::uint8_t* holes) {
  try {
    const std::vector<tagPOINT>& p = pg->points();
    if (!p.empty()) std::memcpy(points, p.data(), p.size() * sizeof(tagPOINT));
    const std::vector<kelvor::Ring> rings = pg->rings();
    for (std::size_t i = 0; i < rings.size(); ++i) {
      counts[i] = rings[i].count;
      holes[i] = rings[i].hole ? 1 : 0;
    }
    return 0;
  } catch (const std::bad_alloc&) {
    return 1;
  }
}

// ---- zone index ------------------------------------------------------------------------

// A ZoneIndex of area_count areas: area i takes the next area_rings[i] rings
// and answers ids[i]. Null when memory runs out.
EMSCRIPTEN_KEEPALIVE void* kj_zones_new(const tagPOINT* points, const I32* counts,
                                        const std::uint8_t* holes, I32 ring_count,
                                        const I32* area_rings, const I32* ids, I32 area_count,
                                        I32 rule) {
  try {
    const std::vector<kelvor::Ring> rings = ring_views(points, counts, holes, ring_count);
    std::vector<kelvor::Area> areas(static_cast<std::size_t>(area_count));
    std::size_t used = 0;
    for (std::size_t i = 0; i < areas.size(); ++i) {
      areas[i] = kelvor::Area{rings.data() + used, static_cast<std::size_t>(area_rings[i]), ids[i]};
      used += static_cast<std::size_t>(area_rings[i]);
    }
    return new kelvor::ZoneIndex(areas.data(), areas.size(), rule_of(rule));
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

EMSCRIPTEN_KEEPALIVE void kj_zones_free(kelvor::ZoneIndex* index) { delete index; }

EMSCRIPTEN_KEEPALIVE void kj_zones_locate(const kelvor::ZoneIndex* index, const tagPOINT* points,
                                          std::size_t n, I32* out) {
  index->Locate(points, n, out);
}

EMSCRIPTEN_KEEPALIVE I32 kj_zones_size(const kelvor::ZoneIndex* index) {
  return static_cast<I32>(index->size());
}

EMSCRIPTEN_KEEPALIVE double kj_zones_memory_bytes(const kelvor::ZoneIndex* index) {
  return static_cast<double>(index->memory_bytes());
}

// ---- rings -------------------------------------------------------------------------------

EMSCRIPTEN_KEEPALIVE I32 kj_ring_can_wrap(const tagPOINT* ring, I32 n) {
  return kelvor::RingCanWrap(ring, n) ? 1 : 0;
}

// The densified ring in memory of its own (free() it), its point count in
// *count; null when memory runs out.
EMSCRIPTEN_KEEPALIVE tagPOINT* kj_densify_ring(const tagPOINT* ring, I32 n, I32* count) {
  try {
    const std::vector<tagPOINT> out = kelvor::DensifyRing(ring, n);
    *count = static_cast<I32>(out.size());
    auto* copy = static_cast<tagPOINT*>(std::malloc(out.size() * sizeof(tagPOINT) + 1));
    if (copy != nullptr && !out.empty())
      std::memcpy(copy, out.data(), out.size() * sizeof(tagPOINT));
    return copy;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

EMSCRIPTEN_KEEPALIVE void kj_inscribed_rect(const tagPOINT* ring, I32 n, I32 step, I32 rule,
                                            I32* out) {
  put_rect(kelvor::InscribedRect(ring, n, step, rule_of(rule)), out);
}

EMSCRIPTEN_KEEPALIVE void kj_get_mcr(const tagPOINT* ring, I32 n, I32 step, I32* out) {
  KRECT rc;
  GetMCR(rc, n, ring, step);
  put_rect(rc, out);
}

// GetMBR reads ring[0] whatever n is: the JS layer never passes an empty ring.
EMSCRIPTEN_KEEPALIVE void kj_bounding_rect(const tagPOINT* ring, I32 n, I32* out) {
  KRECT rc;
  GetMBR(rc, n, ring);
  put_rect(rc, out);
}

// ---- planar ------------------------------------------------------------------------------

EMSCRIPTEN_KEEPALIVE void kj_polygon_contain_point(const tagPOINT* ring, I32 m,
                                                   const tagPOINT* points, std::size_t n,
                                                   std::uint8_t* out) {
  for (std::size_t i = 0; i < n; ++i) out[i] = Polygon_Contain_Point(ring, m, &points[i]) ? 1 : 0;
}

// Rows without a crossing get (INT32_MIN, INT32_MIN) beside hit 0.
EMSCRIPTEN_KEEPALIVE void kj_segment_segment_intersect(const void* a, I32 sa, const void* b, I32 sb,
                                                       const void* c, I32 sc, const void* d, I32 sd,
                                                       std::size_t n, std::uint8_t* hit,
                                                       tagPOINT* at) {
  const auto ra = rows<tagPOINT>(a, sa), rb = rows<tagPOINT>(b, sb), rc = rows<tagPOINT>(c, sc),
             rd = rows<tagPOINT>(d, sd);
  for (std::size_t i = 0; i < n; ++i) {
    at[i] = tagPOINT{INT32_MIN, INT32_MIN};
    hit[i] = Segment_Segment_Intersect(&ra[i], &rb[i], &rc[i], &rd[i], &at[i]) ? 1 : 0;
  }
}

EMSCRIPTEN_KEEPALIVE void kj_point_segment_intersect(const void* p, I32 sp, const void* a, I32 sa,
                                                     const void* b, I32 sb, std::size_t n,
                                                     std::uint8_t* out) {
  const auto rp = rows<tagPOINT>(p, sp), ra = rows<tagPOINT>(a, sa), rb = rows<tagPOINT>(b, sb);
  for (std::size_t i = 0; i < n; ++i)
    out[i] = Point_Segment_Intersect(&rp[i], &ra[i], &rb[i]) ? 1 : 0;
}

// Segment p-q (op 0: Rect_Clip_Segment) or rectangle corners p, q (op 1:
// Rect_Clip_Rect) clipped to min-max; rows not kept keep their values.
EMSCRIPTEN_KEEPALIVE void kj_rect_clip(I32 op, const void* lo, I32 slo, const void* hi, I32 shi,
                                       const void* p, I32 sp, const void* q, I32 sq, std::size_t n,
                                       std::uint8_t* kept, tagPOINT* p_out, tagPOINT* q_out) {
  const auto rlo = rows<tagPOINT>(lo, slo), rhi = rows<tagPOINT>(hi, shi),
             rp = rows<tagPOINT>(p, sp), rq = rows<tagPOINT>(q, sq);
  for (std::size_t i = 0; i < n; ++i) {
    p_out[i] = rp[i];
    q_out[i] = rq[i];
    const I32 k = op == 0 ? Rect_Clip_Segment(&rlo[i], &rhi[i], &p_out[i], &q_out[i])
                          : Rect_Clip_Rect(&rlo[i], &rhi[i], &p_out[i], &q_out[i]);
    kept[i] = k ? 1 : 0;
  }
}

// Horizontal (op & 1 == 0) or vertical spans against a ring: op >> 1 picks
// Polygon_*_Intersect (0), Polygon_Contain_* (1) or Polyline_*_Intersect (2).
EMSCRIPTEN_KEEPALIVE void kj_span_test(I32 op, const tagPOINT* ring, I32 m, const I32* from, I32 sf,
                                       const I32* to, I32 st, const I32* at, I32 sa, std::size_t n,
                                       std::uint8_t* out) {
  using F = I32 (*)(const tagPOINT*, I32, I32, I32, I32);
  static const F fns[] = {Polygon_Horizon_Intersect,  Polygon_Vertical_Intersect,
                          Polygon_Contain_Horizon,    Polygon_Contain_Vertical,
                          Polyline_Horizon_Intersect, Polyline_Vertical_Intersect};
  const F f = fns[op];
  const auto rf = rows<I32>(from, sf), rt = rows<I32>(to, st), ra = rows<I32>(at, sa);
  for (std::size_t i = 0; i < n; ++i) out[i] = f(ring, m, rf[i], rt[i], ra[i]) ? 1 : 0;
}

// Spans cut by Polygon_Clip_Horizon (vertical 0) or Polygon_Clip_Vertical;
// rows not kept keep their values.
EMSCRIPTEN_KEEPALIVE void kj_span_clip(I32 vertical, const tagPOINT* ring, I32 m, const I32* from,
                                       I32 sf, const I32* to, I32 st, const I32* at, I32 sa,
                                       std::size_t n, std::uint8_t* kept, I32* from_out,
                                       I32* to_out) {
  const auto rf = rows<I32>(from, sf), rt = rows<I32>(to, st), ra = rows<I32>(at, sa);
  for (std::size_t i = 0; i < n; ++i) {
    from_out[i] = rf[i];
    to_out[i] = rt[i];
    const I32 k = vertical ? Polygon_Clip_Vertical(ring, m, &from_out[i], &to_out[i], ra[i])
                           : Polygon_Clip_Horizon(ring, m, &from_out[i], &to_out[i], ra[i]);
    kept[i] = k ? 1 : 0;
  }
}

// ---- fixed point -------------------------------------------------------------------------

// Elementwise 16.16 functions, picked by op (the order of the JS table).
EMSCRIPTEN_KEEPALIVE void kj_fixed(I32 op, const I32* a, I32 sa, const I32* b, I32 sb, const I32* c,
                                   I32 sc, std::size_t n, I32* out) {
  const auto x = rows<I32>(a, sa), y = rows<I32>(b, sb), z = rows<I32>(c, sc);
  for (std::size_t i = 0; i < n; ++i) {
    I32 r = 0;
    switch (op) {
      case 0: r = KMF_RoundFix(x[i]); break;
      case 1: r = KMF_CeilFix(x[i]); break;
      case 2: r = KMF_FloorFix(x[i]); break;
      case 3: r = KMF_Sqrt32(x[i]); break;
      case 4: r = KMF_SqrtFixed(x[i]); break;
      case 5: r = KMF_Sin(x[i]); break;
      case 6: r = KMF_Cos(x[i]); break;
      case 7: r = KMF_Tan(x[i]); break;
      case 8: r = KMF_MulFix(x[i], y[i]); break;
      case 9: r = KMF_DivFix(x[i], y[i]); break;
      case 10: r = KMF_Atan2(x[i], y[i]); break;
      case 11: r = KMF_Angle_Diff(x[i], y[i]); break;
      case 12: r = KMF_MulDiv(x[i], y[i], z[i]); break;
      case 13: r = KMF_MulDiv_No_Round(x[i], y[i], z[i]); break;
      default: break;
    }
    out[i] = r;
  }
}

// Vector functions, picked by op: 0 rotate (v, a), 1 from polar (length b,
// angle a), 2 unit (a), 3 transform (v, matrix m), 4 length (v, into
// out_len), 5 polarize (v, into out_len and out_angle; zero vector 0, 0).
EMSCRIPTEN_KEEPALIVE void kj_vector(I32 op, const void* v, I32 sv, const I32* a, I32 sa,
                                    const I32* b, I32 sb, const void* m, I32 sm, std::size_t n,
                                    KMF_Vector* out, I32* out_len, I32* out_angle) {
  const auto rv = rows<KMF_Vector>(v, sv);
  const auto rm = rows<KMF_Matrix>(m, sm);
  const auto ra = rows<I32>(a, sa), rb = rows<I32>(b, sb);
  for (std::size_t i = 0; i < n; ++i) {
    switch (op) {
      case 0: out[i] = rv[i], KMF_Vector_Rotate(&out[i], ra[i]); break;
      case 1: KMF_Vector_From_Polar(&out[i], rb[i], ra[i]); break;
      case 2: KMF_Vector_Unit(&out[i], ra[i]); break;
      case 3: out[i] = rv[i], KMF_Vector_Transform(&out[i], &rm[i]); break;
      case 4: out_len[i] = KMF_Vector_Length(&rv[i]); break;
      case 5: {
        I32 len = 0, angle = 0;
        KMF_Vector_Polarize(&rv[i], &len, &angle);
        out_len[i] = len, out_angle[i] = angle;
        break;
      }
      default: break;
    }
  }
}

// ---- geographic ----------------------------------------------------------------------------

// Two forms throughout: degrees (bin 0, tagLonLat) and 1/100000 degree units
// (bin 1, _Bin_LonLat).
EMSCRIPTEN_KEEPALIVE void kj_segment_length(I32 bin, const void* a, I32 sa, const void* b, I32 sb,
                                            std::size_t n, double* out) {
  if (bin) {
    const auto ra = rows<_Bin_LonLat>(a, sa), rb = rows<_Bin_LonLat>(b, sb);
    for (std::size_t i = 0; i < n; ++i) out[i] = SegmentLength(ra[i], rb[i]);
  } else {
    const auto ra = rows<tagLonLat>(a, sa), rb = rows<tagLonLat>(b, sb);
    for (std::size_t i = 0; i < n; ++i) out[i] = SegmentLength(ra[i], rb[i]);
  }
}

// LineLength takes a 16-bit count; longer tracks are summed here segment by
// segment from 0.0 in the same order, which is what LineLength computes.
EMSCRIPTEN_KEEPALIVE double kj_line_length(I32 bin, void* track, std::size_t n) {
  if (n <= 0xFFFFu) {
    const auto count = static_cast<std::uint16_t>(n);
    return bin ? LineLength(count, static_cast<_Bin_LonLat*>(track))
               : LineLength(count, static_cast<tagLonLat*>(track));
  }
  double sum = 0.0;
  for (std::size_t i = 0; i + 1 < n; ++i) {
    sum += bin ? SegmentLength(static_cast<_Bin_LonLat*>(track)[i],
                               static_cast<_Bin_LonLat*>(track)[i + 1])
               : SegmentLength(static_cast<tagLonLat*>(track)[i],
                               static_cast<tagLonLat*>(track)[i + 1]);
  }
  return sum;
}

// Angles, picked by op: 0 GetAbsoluteAngle(a), 1 bearing from a to b
// (GetAbsoluteAngle of b - a; degrees only), 2 GetSharpAngle(a, b, c),
// 3 GetTurnAngle(a, b, c).
EMSCRIPTEN_KEEPALIVE void kj_angle(I32 op, I32 bin, const void* a, I32 sa, const void* b, I32 sb,
                                   const void* c, I32 sc, std::size_t n, double* out) {
  if (bin) {
    const auto ra = rows<_Bin_LonLat>(a, sa), rb = rows<_Bin_LonLat>(b, sb),
               rc = rows<_Bin_LonLat>(c, sc);
    for (std::size_t i = 0; i < n; ++i) {
      out[i] = op == 0   ? GetAbsoluteAngle(ra[i])
               : op == 2 ? GetSharpAngle(ra[i], rb[i], rc[i])
                         : GetTurnAngle(ra[i], rb[i], rc[i]);
    }
  } else {
    const auto ra = rows<tagLonLat>(a, sa), rb = rows<tagLonLat>(b, sb),
               rc = rows<tagLonLat>(c, sc);
    for (std::size_t i = 0; i < n; ++i) {
      out[i] = op == 0   ? GetAbsoluteAngle(ra[i])
               : op == 1 ? GetAbsoluteAngle(tagLonLat{rb[i].lon - ra[i].lon, rb[i].lat - ra[i].lat})
               : op == 2 ? GetSharpAngle(ra[i], rb[i], rc[i])
                         : GetTurnAngle(ra[i], rb[i], rc[i]);
    }
  }
}

// GetUnitLength (op 0) or GetUnitDegree (op 1) at each point.
EMSCRIPTEN_KEEPALIVE void kj_unit_scale(I32 op, const tagLonLat* points, std::size_t n, double* lon,
                                        double* lat) {
  for (std::size_t i = 0; i < n; ++i) {
    if (op == 0) {
      GetUnitLength(points[i], lon[i], lat[i]);
    } else {
      GetUnitDegree(points[i], lon[i], lat[i]);
    }
  }
}

EMSCRIPTEN_KEEPALIVE void kj_rect_center_pt(I32 bin, const void* center, I32 sc, const double* half,
                                            I32 sh, std::size_t n, void* lower, void* upper) {
  const auto rh = rows<double>(half, sh);
  if (bin) {
    const auto rc = rows<_Bin_LonLat>(center, sc);
    auto* lo = static_cast<_Bin_LonLat*>(lower);
    auto* up = static_cast<_Bin_LonLat*>(upper);
    for (std::size_t i = 0; i < n; ++i) GetRectCenterPt(rc[i], rh[i], lo[i], up[i]);
  } else {
    const auto rc = rows<tagLonLat>(center, sc);
    auto* lo = static_cast<tagLonLat*>(lower);
    auto* up = static_cast<tagLonLat*>(upper);
    for (std::size_t i = 0; i < n; ++i) GetRectCenterPt(rc[i], rh[i], lo[i], up[i]);
  }
}

// The foot starts as a, so code 0 always comes with foot a (GetProjectBase
// leaves it unwritten on a degenerate segment).
EMSCRIPTEN_KEEPALIVE void kj_project_base(I32 bin, const void* p, I32 sp, const void* a, I32 sa,
                                          const void* b, I32 sb, std::size_t n, I32* code,
                                          void* foot) {
  if (bin) {
    const auto rp = rows<_Bin_LonLat>(p, sp), ra = rows<_Bin_LonLat>(a, sa),
               rb = rows<_Bin_LonLat>(b, sb);
    auto* f = static_cast<_Bin_LonLat*>(foot);
    for (std::size_t i = 0; i < n; ++i)
      f[i] = ra[i], code[i] = GetProjectBase(rp[i], ra[i], rb[i], f[i]);
  } else {
    const auto rp = rows<tagLonLat>(p, sp), ra = rows<tagLonLat>(a, sa),
               rb = rows<tagLonLat>(b, sb);
    auto* f = static_cast<tagLonLat*>(foot);
    for (std::size_t i = 0; i < n; ++i)
      f[i] = ra[i], code[i] = GetProjectBase(rp[i], ra[i], rb[i], f[i]);
  }
}

// ---- self checks ---------------------------------------------------------------------------

// The determinism digest, line for line as tests/determinism/digest.cpp
// prints it: every build of the library with portable maths prints the same.
EMSCRIPTEN_KEEPALIVE const char* kj_digest() {
  using namespace families;
  static char text[512];
  SplitMix r{kSeed};
  std::size_t used = 0;
  for (const Family& f : kFamilies) {
    used += static_cast<std::size_t>(
        std::snprintf(text + used, sizeof text - used, "%-10s %016llx\n", f.name,
                      static_cast<unsigned long long>(f.run(r, kRounds).h)));
  }
  return text;
}

// Bytes the allocator has handed out and not taken back.
EMSCRIPTEN_KEEPALIVE double kj_heap_in_use() { return static_cast<double>(mallinfo().uordblks); }

}  // extern "C"
