// GEOS (C API, thread-safe handles) as a point-in-polygon baseline: owning
// wrappers for a context, polygons built from Kelvor rings, their prepared
// forms and pre-built query points.
#ifndef KELVOR_BENCH_GEOS_H
#define KELVOR_BENCH_GEOS_H

#if KELVOR_HAVE_GEOS

#define GEOS_USE_ONLY_R_API
#include <geos_c.h>
#include <kelvor/types.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace kelvor_bench {

// One GEOS context. Objects made with it must be destroyed before it is:
// declare it before (so it outlives) whatever holds them.
class GeosContext {
 public:
  GeosContext() : ctx_(GEOS_init_r()) {}
  ~GeosContext() { GEOS_finish_r(ctx_); }
  GeosContext(const GeosContext&) = delete;
  GeosContext& operator=(const GeosContext&) = delete;
  GEOSContextHandle_t get() const { return ctx_; }

 private:
  GEOSContextHandle_t ctx_;
};

// The polygon of a ring (closed by repeating its first point), or abort:
// the benchmarks cannot go on without it.
inline GEOSGeometry* geos_polygon(GEOSContextHandle_t ctx, const std::vector<tagPOINT>& ring) {
  const auto n = static_cast<unsigned>(ring.size());
  GEOSCoordSequence* seq = GEOSCoordSeq_create_r(ctx, n + 1, 2);
  for (unsigned i = 0; i <= n; ++i) {
    const tagPOINT& p = ring[i == n ? 0 : i];
    GEOSCoordSeq_setXY_r(ctx, seq, i, p.x, p.y);
  }
  GEOSGeometry* shell = GEOSGeom_createLinearRing_r(ctx, seq);
  GEOSGeometry* poly = shell ? GEOSGeom_createPolygon_r(ctx, shell, nullptr, 0) : nullptr;
  if (!poly) {
    std::fprintf(stderr, "GEOS refused a ring of %u points\n", n);
    std::abort();
  }
  return poly;
}

// A polygon with its prepared form.
class GeosPrepared {
 public:
  GeosPrepared(GEOSContextHandle_t ctx, const std::vector<tagPOINT>& ring)
      : ctx_(ctx), poly_(geos_polygon(ctx, ring)), prepared_(GEOSPrepare_r(ctx, poly_)) {}
  ~GeosPrepared() {
    GEOSPreparedGeom_destroy_r(ctx_, prepared_);
    GEOSGeom_destroy_r(ctx_, poly_);
  }
  GeosPrepared(const GeosPrepared&) = delete;
  GeosPrepared& operator=(const GeosPrepared&) = delete;

  const GEOSGeometry* polygon() const { return poly_; }
  // 1 inside, 0 outside or on the boundary, 2 on a GEOS error.
  char contains(const GEOSGeometry* point) const {
    return GEOSPreparedContains_r(ctx_, prepared_, point);
  }

 private:
  GEOSContextHandle_t ctx_;
  GEOSGeometry* poly_;
  const GEOSPreparedGeometry* prepared_;
};

// Query points as GEOS geometries, made once outside the timed loops.
class GeosPoints {
 public:
  GeosPoints(GEOSContextHandle_t ctx, const std::vector<tagPOINT>& pts) : ctx_(ctx) {
    for (const tagPOINT& p : pts) points_.push_back(GEOSGeom_createPointFromXY_r(ctx, p.x, p.y));
  }
  ~GeosPoints() {
    for (GEOSGeometry* g : points_) GEOSGeom_destroy_r(ctx_, g);
  }
  GeosPoints(const GeosPoints&) = delete;
  GeosPoints& operator=(const GeosPoints&) = delete;

  const GEOSGeometry* operator[](std::size_t i) const { return points_[i]; }

 private:
  GEOSContextHandle_t ctx_;
  std::vector<GEOSGeometry*> points_;
};

}  // namespace kelvor_bench

#endif  // KELVOR_HAVE_GEOS
#endif  // KELVOR_BENCH_GEOS_H
