// Properties over generated figures: every Contain that answers yes is backed
// by its planar predicate, symmetric relations agree with the reverse call,
// and GetMCR results lie inside their polygons.
#include <kelvor/kelvor.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "shapes/samples.h"

namespace {

using samples::size;

TEST(ShapeProperties, PolygonContainIsBackedByThePlanarPredicates) {
  std::mt19937 rng(7001u);
  for (int iter = 0; iter < 600; ++iter) {
    auto ring = (iter & 1) ? samples::star(rng, samples::uniform(rng, 3, 14), 0, 0, 5, 60)
                           : samples::scribble(rng, samples::uniform(rng, 3, 10), -60, 60);
    const KPGON g(size(ring), ring.data());
    for (int k = 0; k < 8; ++k) {
      const tagPOINT q = samples::point(rng, -70, 70);
      // The half-open bound never hides an inside point of a closed ring.
      ASSERT_EQ(g.Contain(q) != 0, Polygon_Contain_Point(ring.data(), size(ring), &q) != 0);
      ASSERT_EQ(KPOINT(q).Intersect(g) != 0, Point_Polygon_Intersect(&q, ring.data(), size(ring)) != 0);
      const KRECT rc = samples::rect(rng, -50, 50);
      if (g.Contain(rc)) {
        ASSERT_NE(Polygon_Contain_Rect(ring.data(), size(ring), &rc.ptMin, &rc.ptMax), 0);
        ASSERT_NE(g.Intersect(rc), 0);
      }
      const tagPOINT a = samples::point(rng, -50, 50), b = samples::point(rng, -50, 50);
      if (g.Contain(a, b)) {
        ASSERT_NE(Polygon_Contain_Segment(ring.data(), size(ring), &a, &b), 0);
        ASSERT_NE(g.Intersect(a, b), 0);
      }
      std::vector<tagPOINT> chain = samples::scribble(rng, 3, -15, 15);
      const KPLINE pl(size(chain), chain.data());
      if (g.Contain(pl)) {
        ASSERT_NE(Polygon_Contain_Polyline(ring.data(), size(ring), chain.data(), size(chain)), 0);
        ASSERT_NE(g.Intersect(pl), 0);
      }
    }
  }
}

TEST(ShapeProperties, RectangleContainIsBackedByThePlanarPredicates) {
  std::mt19937 rng(7002u);
  for (int iter = 0; iter < 3000; ++iter) {
    const KRECT r = samples::rect(rng, -40, 40);
    const tagPOINT q = samples::point(rng, -45, 45);
    ASSERT_EQ(r.Contain(q) != 0, Rect_Contain_Point(&r.ptMin, &r.ptMax, &q) != 0);
    const tagPOINT a = samples::point(rng, -45, 45), b = samples::point(rng, -45, 45);
    ASSERT_EQ(r.Contain(a, b) != 0, Rect_Contain_Segment(&r.ptMin, &r.ptMax, &a, &b) != 0);
    const KRECT inner = samples::rect(rng, -40, 40);
    if (r.Contain(inner)) {
      ASSERT_NE(Rect_Contain_Rect(&r.ptMin, &r.ptMax, &inner.ptMin, &inner.ptMax), 0);
    }
    auto pts = samples::scribble(rng, samples::uniform(rng, 3, 6), -40, 40);
    const KPGON pg(size(pts), pts.data());
    const KPLINE pl(size(pts), pts.data());
    if (r.Contain(pg)) {
      ASSERT_NE(Rect_Contain_Polygon(&r.ptMin, &r.ptMax, pts.data(), size(pts)), 0);
      ASSERT_NE(r.Intersect(pg), 0);
    }
    ASSERT_EQ(r.Contain(pg), r.Contain(pl));
    if (r.Contain(pl)) {
      ASSERT_NE(Rect_Contain_Polyline(&r.ptMin, &r.ptMax, pts.data(), size(pts)), 0);
    }
  }
}

TEST(ShapeProperties, SymmetricRelationsAgreeWithTheReverseCall) {
  std::mt19937 rng(7003u);
  for (int iter = 0; iter < 2000; ++iter) {
    const KRECT r1 = samples::rect(rng, -30, 30), r2 = samples::rect(rng, -30, 30);
    ASSERT_EQ(r1.Intersect(r2) != 0, r2.Intersect(r1) != 0);
    auto ring = (iter & 1) ? samples::star(rng, samples::uniform(rng, 3, 12), 0, 0, 3, 30)
                           : samples::scribble(rng, samples::uniform(rng, 3, 8), -30, 30);
    auto chain = samples::scribble(rng, samples::uniform(rng, 2, 5), -35, 35);
    const KPGON g(size(ring), ring.data());
    const KPLINE l(size(chain), chain.data());
    ASSERT_EQ(l.Intersect(g) != 0, g.Intersect(l) != 0) << iter;
    ASSERT_EQ(r1.Intersect(l) != 0, l.Intersect(r1) != 0) << iter;
    ASSERT_EQ(r1.Intersect(g) != 0, g.Intersect(r1) != 0) << iter;
    ASSERT_EQ(KPOINT(ring[0]).Intersect(chain[0]), KPOINT(chain[0]).Intersect(ring[0]));
  }
}

TEST(ShapeProperties, InscribedRectangleLiesInsideItsPolygon) {
  std::mt19937 rng(7004u);
  int non_empty = 0;
  for (int iter = 0; iter < 1500; ++iter) {
    auto ring = (iter % 3 != 0) ? samples::star(rng, samples::uniform(rng, 3, 20), 0, 0, 2, 80)
                                : samples::scribble(rng, samples::uniform(rng, 3, 9), -50, 50);
    const std::int32_t step = samples::uniform(rng, -2, 6);
    KRECT r;
    GetMCR(r, size(ring), ring.data(), step);
    if (r.IsEmpty()) {
      ASSERT_EQ(r == KRECT(1, 1, 0, 0), 1) << iter;
      continue;
    }
    ++non_empty;
    KRECT mbr;
    GetMBR(mbr, size(ring), ring.data());
    ASSERT_LE(r.ptMin.x, r.ptMax.x);
    ASSERT_LE(r.ptMin.y, r.ptMax.y);
    ASSERT_GE(r.ptMin.x, mbr.ptMin.x);
    ASSERT_GE(r.ptMin.y, mbr.ptMin.y);
    ASSERT_LT(r.ptMax.x, mbr.ptMax.x);  // never reaches the largest x or y
    ASSERT_LT(r.ptMax.y, mbr.ptMax.y);
    const tagPOINT corners[4] = {r.ptMin, r.ptMax, {r.ptMin.x, r.ptMax.y}, {r.ptMax.x, r.ptMin.y}};
    for (const tagPOINT& c : corners) {
      ASSERT_NE(Polygon_Contain_Point(ring.data(), size(ring), &c), 0) << iter;
    }
  }
  EXPECT_GT(non_empty, 1000);
}

}  // namespace
