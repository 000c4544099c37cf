// Shape classes and relations by example: layout, emptiness, construction, copying,
// bounds, the half-open rules, the sampled polygon test and GetMCR's landmarks (every
// relation and clip against its definition, the plain shape's zeros and GetMCR's corners
// are checked by the shapes fuzz target).
#include <gtest/gtest.h>
#include <kelvor/kelvor.h>

#include <array>
#include <climits>
#include <cstddef>
#include <cstdint>

#include "support/answers.h"

namespace {

using Q = std::array<std::int32_t, 4>;  // a rectangle as (ptMin.x, ptMin.y, ptMax.x, ptMax.y)
Q q(const KRECT& r) { return {r.ptMin.x, r.ptMin.y, r.ptMax.x, r.ptMax.y}; }

std::ptrdiff_t off(const void* obj, const void* member) {
  return static_cast<const char*>(member) - static_cast<const char*>(obj);
}

TEST(ShapeLayout, FieldsFollowTheVirtualTablePointerInOrder) {
  const std::ptrdiff_t vp = sizeof(void*), rc = sizeof(KRECT);
  const KPOINT p;
  const KRECT r;
  const KPLINE l;
  const KPGON g;
  ExpectAnswers({
      {"KPOINT::pt", off(&p, &p.pt), vp},
      {"KRECT::ptMin", off(&r, &r.ptMin), vp},
      {"KRECT::ptMax", off(&r, &r.ptMax), vp + 8},
      {"sizeof(KRECT)", rc, vp + 16},
      {"KPLINE::rcBound", off(&l, &l.rcBound), vp},
      {"KPLINE::nCount", off(&l, &l.nCount), vp + rc},
      {"KPLINE::pPoints", off(&l, &l.pPoints), 2 * vp + rc},
      {"KPGON::rcBound", off(&g, &g.rcBound), vp},
      {"KPGON::nCount", off(&g, &g.nCount), vp + rc},
      {"KPGON::pPoints", off(&g, &g.pPoints), 2 * vp + rc},
      // The plain records are the same on every platform (LP64, LLP64, wasm32).
      {"sizeof(tagPOINT)", sizeof(tagPOINT), 8},
      {"sizeof(KMF_Vector)", sizeof(KMF_Vector), 8},
      {"sizeof(KMF_Matrix)", sizeof(KMF_Matrix), 16},
      {"sizeof(tagLonLat)", sizeof(tagLonLat), 16},
      {"sizeof(_Bin_LonLat)", sizeof(_Bin_LonLat), 8},
  });
}

TEST(KRectBasics, CanonicalEmptyAndEquality) {
  const KRECT def, other(5, 5, 0, 0);
  ExpectAnswers({
      {"default is empty", def.IsEmpty(), 1},
      {"both axes inverted is empty", other.IsEmpty(), 1},
      {"x inverted is empty", KRECT(1, 0, 0, 0).IsEmpty(), 1},
      {"y inverted is empty", KRECT(0, 1, 0, 0).IsEmpty(), 1},
      {"zero size is not empty", KRECT(0, 0, 0, 0).IsEmpty(), 0},
      {"two empty rectangles: ==", other == def, 0},
      {"two empty rectangles: !=", other != def, 1},
  });
  EXPECT_EQ(q(def), (Q{1, 1, 0, 0})) << "canonical empty";
  KRECT r(tagPOINT{10, 10}, tagPOINT{0, 0});
  EXPECT_EQ(q(r), (Q{10, 10, 0, 0})) << "corners are never sorted";
  r.Empty();
  EXPECT_EQ(q(r), (Q{1, 1, 0, 0}));
}

template <class Shape>
void ExpectEmptyShape(const char* name, const Shape& s) {
  EXPECT_EQ(s.nCount, 0) << name;
  EXPECT_EQ(s.pPoints, nullptr) << name;
  EXPECT_EQ(q(s.rcBound), (Q{1, 1, 0, 0})) << name;
  EXPECT_EQ(s.IsEmpty(), 1) << name;
}

TEST(PointArrayShapes, TooFewPointsGiveTheEmptyShapeWithoutThePointer) {
  tagPOINT pts[3] = {{0, 0}, {5, 5}, {9, 1}};
  KPLINE l(3, pts);
  l.Set(1, pts, KRECT(0, 0, 1, 1));
  KPGON g(3, pts);
  g.Empty();
  ExpectEmptyShape("polyline of one point", KPLINE(1, pts));
  ExpectEmptyShape("polyline Set to one point", l);
  ExpectEmptyShape("polygon emptied", g);
  ExpectEmptyShape("polygon of -7 points", KPGON(-7, pts));
  ExpectEmptyShape("polygon of two points, bound ignored", KPGON(2, pts, KRECT(0, 0, 5, 5)));
  ExpectAnswers({{"polyline of two points", KPLINE(2, pts).IsEmpty(), 0},
                 {"polygon of three points", KPGON(3, pts).IsEmpty(), 0}});
}

TEST(PointArrayShapes, BoundIsComputedOrTrustedAndCopiesShareTheArray) {
  tagPOINT pts[3] = {{3, 7}, {-2, 9}, {5, -1}};
  const KPGON g(3, pts), trusted(3, pts, KRECT(100, 100, 200, 200)), copy(g);
  KPLINE l, c;
  KPGON h;
  h = trusted;
  l.Set(3, pts, KRECT(0, 0, 1, 1));
  EXPECT_EQ(&(c = l), &c) << "operator= returns the object";
  l.Set(2, pts);
  EXPECT_EQ(q(l.rcBound), (Q{-2, 7, 3, 9})) << "Set computes the bound of its points";
  pts[1].x = 40;  // shows through every copy; no bound is refreshed
  EXPECT_EQ(copy.pPoints, pts) << "copy-constructed polygon";
  EXPECT_EQ(h.pPoints, pts) << "assigned polygon";
  EXPECT_EQ(c.pPoints, pts) << "assigned polyline";
  EXPECT_EQ(c.nCount, 3) << "assigned polyline";
  const struct {
    const char* name;
    Q got, want;
  } bounds[] = {
      {"computed", q(g.rcBound), {-2, -1, 5, 9}},
      {"copied", q(copy.rcBound), {-2, -1, 5, 9}},
      {"trusted, then assigned", q(h.rcBound), {100, 100, 200, 200}},
      {"trusted by Set, then assigned", q(c.rcBound), {0, 0, 1, 1}},
  };
  for (const auto& b : bounds) EXPECT_EQ(b.got, b.want) << b.name;
}

TEST(GetMBR, InclusiveBoundAndOnePoint) {
  const tagPOINT pts[] = {{3, 7}, {-2, 9}, {5, -1}};
  KRECT r;
  GetMBR(r, 3, pts);
  EXPECT_EQ(q(r), (Q{-2, -1, 5, 9})) << "three points";
  GetMBR(r, 1, pts);
  EXPECT_EQ(q(r), (Q{3, 7, 3, 7})) << "zero-size rectangle at the one point";
}

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

Q mcr(const tagPOINT* p, std::int32_t n, std::int32_t step) {
  KRECT r(3, 3, 4, 4);
  GetMCR(r, n, p, step);
  return q(r);
}

TEST(GetMcr, DegenerateInputStepsAndTheSeedAlone) {
  const tagPOINT square[4] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  const tagPOINT tiny[3] = {{0, 0}, {1, 0}, {0, 1}};
  const std::int32_t M = INT32_MAX, m = INT32_MIN;
  const tagPOINT top[4] = {{M - 10, M - 10}, {M, M - 10}, {M, M}, {M - 10, M}};
  const tagPOINT bottom[4] = {{m, m}, {m + 10, m}, {m + 10, m + 10}, {m, m + 10}};
  const Q empty{1, 1, 0, 0};
  const struct {
    const char* name;
    const tagPOINT* p;
    std::int32_t n, step;
    Q want;
  } cases[] = {
      {"two points", square, 2, 1, empty},
      {"no points", nullptr, 0, 1, empty},
      // Negative counts never reach the allocator.
      {"count -5", nullptr, -5, 1, empty},
      {"count INT32_MIN", nullptr, m, 1, empty},
      {"step 1", square, 4, 1, {0, 0, 9, 9}},
      {"step 0 counts as 1", square, 4, 0, {0, 0, 9, 9}},
      {"step -5 counts as 1", square, 4, -5, {0, 0, 9, 9}},
      {"step 4", square, 4, 4, {0, 0, 8, 8}},
      {"nothing fits: the seed alone", square, 4, M, {0, 0, 0, 0}},
      {"zero size, which is not empty", tiny, 3, 1, {0, 0, 0, 0}},
      {"square at the top limit", top, 4, 1, {M - 10, M - 10, M - 1, M - 1}},
      // Rows are scanned from -2147483647, so the seed row is m + 1.
      {"square at the bottom limit", bottom, 4, 3, {m, m + 1, m + 9, m + 7}},
  };
  for (const auto& c : cases) EXPECT_EQ(mcr(c.p, c.n, c.step), c.want) << c.name;
}

}  // namespace
