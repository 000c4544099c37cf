// Shape relations: the half-open boundary rules, the sampled polygon tests, and properties over
// generated figures (every Contain that answers 1 is backed by its planar function; symmetric
// relations agree with the reverse call).
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <random>

#include "shapes/samples.h"
#include "support/answers.h"

namespace {

using rings::count;
using rings::random_point;
using rings::uniform;

TEST(RectRelations, HalfOpenContainmentAndTheMeetingPoint) {
  const KRECT r(0, 0, 10, 10);
  ExpectAnswers({
      {"min corner", r.Contain(tagPOINT{0, 0}), 1},
      {"inner corner", r.Contain(tagPOINT{9, 9}), 1},
      {"right side", r.Contain(tagPOINT{10, 5}), 0},
      {"top side", r.Contain(tagPOINT{5, 10}), 0},
      {"smaller rectangle at the min corner", r.Contain(KRECT(0, 0, 9, 9)), 1},
      {"point on the right side meets nothing", KPOINT(10, 5).Intersect(r), 0},
      {"point on the top side meets it", KPOINT(5, 10).Intersect(r), 1},
      // Empty figures lie in every non-empty rectangle and in no empty one.
      {"empty rectangle", r.Contain(KRECT(50, 50, 40, 40)), 1},
      {"empty polyline", r.Contain(KPLINE()), 1},
      {"empty polygon", r.Contain(KPGON()), 1},
      {"empty rectangle in an empty one", KRECT().Contain(KRECT()), 0},
      {"empty polygon in an empty rectangle", KRECT().Contain(KPGON()), 0},
  });
}

TEST(PolygonRelations, ContainSamplesVerticesAndProbesMissASliver) {
  // A U-shaped ring: two arms x in [0,10) and [20,30) above y = 10.
  tagPOINT u[8] = {{0, 0}, {30, 0}, {30, 30}, {20, 30}, {20, 10}, {10, 10}, {10, 30}, {0, 30}};
  // Vertices 0, 3, 6... are sampled (a quad with only 1 and 2 outside is held: see the
  // behaviour tests); here vertex 3 lies in the notch.
  tagPOINT bridge[4] = {{5, 20}, {15, 25}, {25, 20}, {15, 20}};
  // The triangle reaches into the square only along x in [99, 100): no probe sees it.
  tagPOINT big[4] = {{0, 0}, {100, 0}, {100, 100}, {0, 100}};
  tagPOINT sliver[3] = {{99, 50}, {150, 50}, {150, 40}};
  ExpectAnswers({
      {"vertex 3 in the notch", KPGON(8, u).Contain(KPGON(4, bridge)), 0},
      {"the planar test finds the sliver", Polygon_Polygon_Intersect(big, 4, sliver, 3), 1},
      {"no probe finds the sliver", KPGON(4, big).Intersect(KPGON(3, sliver)), 0},
  });
}

TEST(PolygonMeetsPolygon, ExtremeCoordinatesNeitherOverflowNorLoop) {
  const std::int32_t M = INT32_MAX, m = INT32_MIN;
  tagPOINT c[3] = {{M - 1, M - 1}, {M, M - 1}, {M, M}}, d[3] = {{M - 1, M}, {M - 1, M - 1}, {M, M}};
  tagPOINT huge[4] = {{m, m}, {M, m}, {M, M}, {m, M}}, other[3] = {{m + 1, 0}, {M, 0}, {0, M}};
  KPGON(3, c).Intersect(KPGON(3, d));         // any answer, but it must end
  KPGON(4, huge).Intersect(KPGON(3, other));  // extents beyond 2^31 - 1
  std::mt19937 rng(2147483u);
  for (int k = 0; k < 200; ++k) {  // the probe rows and columns step up to the limits
    rings::Ring a = rings::near_limits(rng, 3 + k % 5, 16), b = rings::near_limits(rng, 3, 16);
    const KPGON ga(count(a), a.data()), gb(count(b), b.data());
    ga.Intersect(gb);
    ga.Contain(gb);
  }
}

TEST(ShapeProperties, ContainIsBackedAndSymmetricRelationsAgree) {
  std::mt19937 rng(7001u);
  auto rect = [&rng] {
    const tagPOINT a = random_point(rng, -50, 50);
    return KRECT(a.x, a.y, a.x + uniform(rng, 0, 50), a.y + uniform(rng, 0, 50));
  };
  for (int iter = 0; iter < 3000; ++iter) {
    auto ring = iter & 1 ? rings::star(rng, uniform(rng, 3, 12), 2, 61)
                         : rings::random_ring(rng, uniform(rng, 3, 12), 60);
    auto chain = rings::random_ring(rng, uniform(rng, 3, 5), 15 + iter % 20);
    tagPOINT *v = ring.data(), *w = chain.data();
    const std::int32_t n = count(ring), m = count(chain);
    const KPGON g(n, v), cg(m, w);
    const KPLINE pl(m, w);
    KRECT r = rect(), rc = rect();
    if (iter % 2 == 0) {  // hug the chain's bound to within a unit or two
      GetMBR(r, m, w);
      for (std::int32_t* e : {&r.ptMin.x, &r.ptMin.y}) *e -= uniform(rng, -1, 2);
      for (std::int32_t* e : {&r.ptMax.x, &r.ptMax.y}) *e += uniform(rng, -1, 2);
    }
    const tagPOINT c = random_point(rng, -70, 70), a = random_point(rng, -50, 50),
                   b = random_point(rng, -50, 50);
    auto yes = [](std::int32_t answer) { return answer != 0; };
    auto implies = [](std::int32_t premise, bool conclusion) { return !premise || conclusion; };
    const struct {
      const char* name;
      bool holds;
    } checks[] = {
        {"KPGON::Contain(point) is Polygon_Contain_Point",
         yes(g.Contain(c)) == yes(Polygon_Contain_Point(v, n, &c))},
        {"KPOINT::Intersect(KPGON) is Point_Polygon_Intersect",
         yes(KPOINT(c).Intersect(g)) == yes(Point_Polygon_Intersect(&c, v, n))},
        {"KRECT::Contain(point) is Rect_Contain_Point",
         yes(r.Contain(c)) == yes(Rect_Contain_Point(&r.ptMin, &r.ptMax, &c))},
        {"KRECT::Contain(a, b) is Rect_Contain_Segment",
         yes(r.Contain(a, b)) == yes(Rect_Contain_Segment(&r.ptMin, &r.ptMax, &a, &b))},
        {"KRECT holds a polygon as it holds the polyline", r.Contain(cg) == r.Contain(pl)},
        {"KPGON::Contain(KRECT) is backed",
         implies(g.Contain(rc), Polygon_Contain_Rect(v, n, &rc.ptMin, &rc.ptMax) == 1)},
        {"KPGON::Contain(KRECT) implies Intersect", implies(g.Contain(rc), yes(g.Intersect(rc)))},
        {"KPGON::Contain(a, b) is backed",
         implies(g.Contain(a, b), Polygon_Contain_Segment(v, n, &a, &b) == 1)},
        {"KPGON::Contain(a, b) implies Intersect",
         implies(g.Contain(a, b), yes(g.Intersect(a, b)))},
        {"KPGON::Contain(KPLINE) is backed",
         implies(g.Contain(pl), Polygon_Contain_Polyline(v, n, w, m) == 1)},
        {"KPGON::Contain(KPLINE) implies Intersect", implies(g.Contain(pl), yes(g.Intersect(pl)))},
        {"KRECT::Contain(KRECT) is backed",
         implies(r.Contain(rc), Rect_Contain_Rect(&r.ptMin, &r.ptMax, &rc.ptMin, &rc.ptMax) == 1)},
        {"KRECT::Contain(KPGON) is backed",
         implies(r.Contain(cg), Rect_Contain_Polygon(&r.ptMin, &r.ptMax, w, m) == 1)},
        {"KRECT::Contain(KPGON) implies Intersect", implies(r.Contain(cg), yes(r.Intersect(cg)))},
        {"KRECT::Contain(KPLINE) is backed",
         implies(r.Contain(pl), Rect_Contain_Polyline(&r.ptMin, &r.ptMax, w, m) == 1)},
        {"KRECT meets KRECT both ways", yes(r.Intersect(rc)) == yes(rc.Intersect(r))},
        {"KPLINE meets KPGON both ways", yes(pl.Intersect(g)) == yes(g.Intersect(pl))},
        {"KRECT meets KPLINE both ways", yes(r.Intersect(pl)) == yes(pl.Intersect(r))},
        {"KRECT meets KPGON both ways", yes(r.Intersect(g)) == yes(g.Intersect(r))},
        {"KPOINT meets KPOINT both ways", KPOINT(c).Intersect(a) == KPOINT(a).Intersect(c)},
        {"KPOINT meets itself", KPOINT(c).Intersect(c) == 1},
    };
    for (const auto& check : checks)
      ASSERT_TRUE(check.holds) << check.name << ", iteration " << iter;
  }
}

}  // namespace
