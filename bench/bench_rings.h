// Generated rings for the polygon benchmarks, the same on every run (fixed
// seeds, std::mt19937 and its uniform distributions).
//
//  * Outline rings look like a district or country border: a star whose
//    radius is a sum of a few sinusoids (long bays and peninsulas down to
//    small wiggles) plus per-vertex noise about as large as the vertex
//    spacing, so edges stay short against the bounding box as in real data.
//  * Spiky rings are the tests' star with radii from 0.2 to 1 times the
//    largest: every edge is a long spike, and a row through the middle
//    crosses about n / 8 edges. This is the hard case for any index over
//    edges.
//  * Fractal rings refine a coarse polygon by recursive midpoint
//    displacement, as coastlines look: detail at every scale, so that points
//    near the border meet many edges whatever the cell size.
//  * A world of zones: outline rings of a few hundred to a few thousand
//    vertices in 1/100000 degree, one per cell of a 36,000,000 x 18,000,000
//    world, plus enclaves nested in a zone and zones straddling a border.
//
// Only <kelvor/types.h> is used, so programs that must also run against an
// older build of the library can include this header.
#ifndef KELVOR_BENCH_RINGS_H
#define KELVOR_BENCH_RINGS_H

#include <kelvor/types.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "support/rings.h"

namespace kelvor_bench {

constexpr double kTwoPi = 6.283185307179586;

// Bounding box of a point set, min and max inclusive.
struct Box {
  tagPOINT min{INT32_MAX, INT32_MAX};
  tagPOINT max{INT32_MIN, INT32_MIN};

  void add(const tagPOINT& p) {
    min = {std::min(min.x, p.x), std::min(min.y, p.y)};
    max = {std::max(max.x, p.x), std::max(max.y, p.y)};
  }
  bool holds(const tagPOINT& p) const {
    return min.x <= p.x && p.x <= max.x && min.y <= p.y && p.y <= max.y;
  }
  std::int64_t width() const { return std::int64_t{max.x} - min.x; }
  std::int64_t height() const { return std::int64_t{max.y} - min.y; }
};

inline Box box_of(const std::vector<tagPOINT>& ring) {
  Box b;
  for (const tagPOINT& p : ring) b.add(p);
  return b;
}

// Outline ring of n >= 3 vertices, counterclockwise around (cx, cy). The mean
// radius is `radius`; the shape swings between about 0.7 and 1.3 times it, so
// the bounding box is about 2.3 to 2.6 radii across. Angles are sorted: one
// per equal sector, placed at random in the middle 60% of it, which keeps
// every edge within about twice the mean spacing (long edges are what makes
// a ring's 32-bit crossings wrap).
inline std::vector<tagPOINT> outline_ring(std::uint32_t seed, std::int32_t n, double cx, double cy,
                                          double radius) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  // Amplitudes fall off with frequency, as on a coastline: continent-scale
  // lobes, then bays, then local wiggles.
  constexpr int kWaves = 5;
  const double freq[kWaves] = {2, 5, 11, 23, 53};
  const double amp[kWaves] = {0.12, 0.08, 0.05, 0.03, 0.015};
  double phase[kWaves];
  for (double& ph : phase) ph = kTwoPi * unit(rng);

  const double sector = kTwoPi / n;
  const double spacing = radius * sector;  // mean distance between vertices
  std::vector<tagPOINT> ring;
  ring.reserve(static_cast<std::size_t>(n));
  for (std::int32_t i = 0; i < n; ++i) {
    const double a = sector * (i + 0.2 + 0.6 * unit(rng));
    double r = 1.0;
    for (int k = 0; k < kWaves; ++k) r += amp[k] * std::sin(freq[k] * a + phase[k]);
    r = r * radius + spacing * (unit(rng) - 0.5) * 0.5;
    ring.push_back({static_cast<std::int32_t>(std::lround(cx + r * std::cos(a))),
                    static_cast<std::int32_t>(std::lround(cy + r * std::sin(a)))});
  }
  return ring;
}

// Mean radius giving an outline (of outline_ring) a bounding box of about
// `extent` units across; the ring reaches at most 0.6 extents from its centre.
inline double outline_radius_for(double extent) { return extent / 2.2; }

// Box size for an n-vertex outline: 1,000,000 units (about 10 degrees in
// 1/100000 degree), or 7,800 units per vertex when that is smaller. A
// 1,000,000-unit outline of fewer than about 128 vertices has edges long
// enough that their 32-bit crossings wrap, which no real border data does.
inline double outline_extent(std::int32_t n) { return std::min(1000000.0, 7800.0 * n); }

// The spiky star of the tests (tests/support/rings.h): n vertices at
// jittered angles, radii 4000..20000 (0.2 to 1 times the largest), drawn from
// rng (the caller may go on drawing query points from it).
inline std::vector<tagPOINT> spiky_ring(std::mt19937& rng, std::int32_t n) {
  return rings::star(rng, n, 4000.0, 20000.0);
}

// A coastline-like ring of corners * 2^levels vertices around (cx, cy): a
// coarse ring of `corners` vertices at radii 0.7 to 1.3 times `radius`, each
// edge then split `levels` times at its midpoint, moved across the edge by up
// to `roughness` times the edge's length either way (self-similar, so every
// scale has bays and capes; the ring may touch or cross itself, which the
// even-odd rule takes in its stride).
inline std::vector<tagPOINT> fractal_ring(std::uint32_t seed, int corners, int levels, double cx,
                                          double cy, double radius, double roughness = 0.25) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> unit(0.0, 1.0), sym(-1.0, 1.0);
  std::vector<double> xs, ys;
  for (int i = 0; i < corners; ++i) {
    const double a = kTwoPi * (i + 0.4 * unit(rng)) / corners;
    const double r = radius * (0.7 + 0.6 * unit(rng));
    xs.push_back(cx + r * std::cos(a));
    ys.push_back(cy + r * std::sin(a));
  }
  for (int level = 0; level < levels; ++level) {
    std::vector<double> nx, ny;
    nx.reserve(2 * xs.size());
    ny.reserve(2 * ys.size());
    for (std::size_t i = 0; i < xs.size(); ++i) {
      const std::size_t j = (i + 1) % xs.size();
      const double dx = xs[j] - xs[i], dy = ys[j] - ys[i];
      const double shift = roughness * sym(rng);  // times the edge's length, across it
      nx.push_back(xs[i]);
      ny.push_back(ys[i]);
      nx.push_back((xs[i] + xs[j]) / 2 - dy * shift);
      ny.push_back((ys[i] + ys[j]) / 2 + dx * shift);
    }
    xs.swap(nx);
    ys.swap(ny);
  }
  std::vector<tagPOINT> ring(xs.size());
  for (std::size_t i = 0; i < xs.size(); ++i) {
    ring[i] = {static_cast<std::int32_t>(std::lround(xs[i])),
               static_cast<std::int32_t>(std::lround(ys[i]))};
  }
  return ring;
}

// `count` points within `reach` units of random vertices of the rings (each
// coordinate moved by up to reach either way): where a border decides.
inline std::vector<tagPOINT> points_near_vertices(
    std::mt19937& rng, const std::vector<const std::vector<tagPOINT>*>& rings, std::size_t count,
    std::int32_t reach) {
  std::vector<std::size_t> ends;  // running vertex counts
  std::size_t total = 0;
  for (const auto* r : rings) ends.push_back(total += r->size());
  std::uniform_int_distribution<std::size_t> pick(0, total - 1);
  std::uniform_int_distribution<std::int32_t> move(-reach, reach);
  std::vector<tagPOINT> pts(count);
  for (tagPOINT& p : pts) {
    const std::size_t k = pick(rng);
    const std::size_t r =
        static_cast<std::size_t>(std::upper_bound(ends.begin(), ends.end(), k) - ends.begin());
    const tagPOINT& v = (*rings[r])[k - (r == 0 ? 0 : ends[r - 1])];
    p = {v.x + move(rng), v.y + move(rng)};
  }
  return pts;
}

// `count` points uniform over the inclusive box b.
inline std::vector<tagPOINT> points_in_box(std::mt19937& rng, const Box& b, std::size_t count) {
  std::uniform_int_distribution<std::int32_t> qx(b.min.x, b.max.x), qy(b.min.y, b.max.y);
  std::vector<tagPOINT> pts(count);
  for (tagPOINT& p : pts) {
    p.x = qx(rng);
    p.y = qy(rng);
  }
  return pts;
}

struct ZoneRing {
  std::vector<tagPOINT> ring;
  std::int32_t id;
};

// About 200 zones over a 36,000,000 x 18,000,000 world (1/100000 degree,
// centred on the origin), sorted by id. One zone sits in each cell of a
// 20 x 10 grid of 1,800,000-unit cells, 300 to 3,000 vertices, at most
// 1,450,000 across and kept inside the cell, so these never overlap. Every 13th cell also holds an
// enclave around its zone's centre, and every 17th cell a zone straddling its
// right-hand border that overlaps the neighbour. Extra zones take the lowest
// ids so that they win where they overlap (an enclave is not cut out of the
// zone around it).
inline std::vector<ZoneRing> world_zones() {
  constexpr int kCols = 20, kRows = 10;
  constexpr double kCell = 1800000.0;
  std::mt19937 rng(20240611);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  std::vector<ZoneRing> base, extra;
  std::uint32_t seed = 7000;
  for (int row = 0; row < kRows; ++row) {
    for (int col = 0; col < kCols; ++col) {
      const int cell = row * kCols + col;
      const double extent = 400000.0 + 1050000.0 * unit(rng);
      const double slack = (kCell - 1.2 * extent) / 2.0;
      const double cx = -18000000.0 + (col + 0.5) * kCell + slack * (2.0 * unit(rng) - 1.0);
      const double cy = -9000000.0 + (row + 0.5) * kCell + slack * (2.0 * unit(rng) - 1.0);
      const auto n = static_cast<std::int32_t>(300.0 * std::pow(10.0, unit(rng)));
      const double radius = outline_radius_for(extent);
      base.push_back({outline_ring(seed++, n, cx, cy, radius), 0});
      if (cell % 13 == 6) {
        extra.push_back({outline_ring(seed++, n / 3 + 3, cx, cy, radius * 0.25), 0});
      }
      if (cell % 17 == 8 && col + 1 < kCols) {
        const double x = -18000000.0 + (col + 1) * kCell;
        extra.push_back({outline_ring(seed++, n / 2 + 3, x, cy, radius * 0.5), 0});
      }
    }
  }
  std::vector<ZoneRing> zones;
  for (auto& z : extra) zones.push_back(std::move(z));
  for (auto& z : base) zones.push_back(std::move(z));
  for (std::size_t i = 0; i < zones.size(); ++i) zones[i].id = static_cast<std::int32_t>(i);
  return zones;
}

// An area of the large world: rings in GeoJSON order and its id.
struct WorldArea {
  std::vector<std::vector<tagPOINT>> rings;
  std::vector<bool> hole;
  std::int32_t id;
};

// About 250 country-sized areas over a 36,000,000 x 18,000,000 world (1/100000
// degree), one per cell of a 25 x 10 grid, about 10 million vertices and
// 50,000 rings in all: a fractal coastline of 8,192 to 65,536 vertices about
// 700,000 units across, two lakes (holes) inside it, and 100 to 300 fractal
// islands of 16 to 128 vertices around its coast, all one area.
inline std::vector<WorldArea> world_areas() {
  constexpr int kCols = 25, kRows = 10;
  constexpr double kCellW = 36000000.0 / kCols, kCellH = 18000000.0 / kRows;
  std::mt19937 rng(20261206);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  std::vector<WorldArea> areas;
  std::uint32_t seed = 90000;
  for (int row = 0; row < kRows; ++row) {
    for (int col = 0; col < kCols; ++col) {
      WorldArea a;
      a.id = row * kCols + col;
      const double cx = -18000000.0 + (col + 0.5) * kCellW + 0.05 * kCellW * (2 * unit(rng) - 1);
      const double cy = -9000000.0 + (row + 0.5) * kCellH + 0.05 * kCellH * (2 * unit(rng) - 1);
      const double radius = 0.22 * std::min(kCellW, kCellH);
      const int levels = 9 + static_cast<int>(4 * unit(rng));
      a.rings.push_back(fractal_ring(seed++, 16, levels, cx, cy, radius));
      a.hole.push_back(false);
      for (int k = 0; k < 2; ++k) {
        const double lx = cx + radius * 0.3 * (2 * unit(rng) - 1);
        const double ly = cy + radius * 0.3 * (2 * unit(rng) - 1);
        a.rings.push_back(fractal_ring(seed++, 16, 6, lx, ly, radius * 0.08));
        a.hole.push_back(true);
      }
      const int islands = 100 + static_cast<int>(200 * unit(rng));
      for (int k = 0; k < islands; ++k) {
        const double angle = kTwoPi * unit(rng), dist = radius * (1.4 + 0.5 * unit(rng));
        a.rings.push_back(fractal_ring(seed++, 16, static_cast<int>(4 * unit(rng)),
                                       cx + dist * std::cos(angle), cy + dist * std::sin(angle),
                                       2000.0 + 18000.0 * unit(rng)));
        a.hole.push_back(false);
      }
      areas.push_back(std::move(a));
    }
  }
  return areas;
}

// `count` points uniform over the union of the zones' bounding boxes: drawn
// over the whole world and kept when some zone's box holds them, so that
// every query needs at least one ring test.
inline std::vector<tagPOINT> points_in_zone_boxes(std::mt19937& rng,
                                                  const std::vector<ZoneRing>& zones,
                                                  std::size_t count) {
  std::vector<Box> boxes;
  Box world;
  for (const ZoneRing& z : zones) {
    boxes.push_back(box_of(z.ring));
    world.add(boxes.back().min);
    world.add(boxes.back().max);
  }
  std::uniform_int_distribution<std::int32_t> qx(world.min.x, world.max.x),
      qy(world.min.y, world.max.y);
  std::vector<tagPOINT> pts;
  pts.reserve(count);
  while (pts.size() < count) {
    const tagPOINT p{qx(rng), qy(rng)};
    for (const Box& b : boxes) {
      if (b.holds(p)) {
        pts.push_back(p);
        break;
      }
    }
  }
  return pts;
}

}  // namespace kelvor_bench

#endif  // KELVOR_BENCH_RINGS_H
