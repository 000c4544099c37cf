// Shape classes: layout, emptiness, construction, copying, clipping, bounds, the plain shape.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>

#include "shapes/samples.h"
#include "support/answers.h"

namespace {

using samples::Q;
using samples::q;

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

TEST(KRectClipping, RectangleFormLeavesTheArgumentWhenNothingRemains) {
  const KRECT w(0, 0, 10, 10);
  const struct {
    const char* name;
    KRECT window, r;
    std::int32_t want;
    Q after;
  } cases[] = {
      {"overlap", w, KRECT(5, 5, 20, 20), 1, {5, 5, 10, 10}},
      {"a shared side only", w, KRECT(10, 0, 20, 10), 0, {10, 0, 20, 10}},
      {"empty argument", w, KRECT(8, 8, 2, 2), 0, {8, 8, 2, 2}},
      {"empty window", KRECT(0, 5, 10, 0), KRECT(2, -5, 8, 10), 0, {2, -5, 8, 10}},
  };
  for (auto c : cases) {
    EXPECT_EQ(c.window.Clipping(c.r), c.want) << c.name;
    EXPECT_EQ(q(c.r), c.after) << c.name;
  }
}

TEST(KRectClipping, SegmentFormLeavesTheEndsWhenNothingRemains) {
  const KRECT w(0, 0, 10, 10);
  const struct {
    const char* name;
    KRECT window;
    tagPOINT a, b;
    std::int32_t want;
    Q after;  // (a.x, a.y, b.x, b.y)
  } cases[] = {
      {"crosses both sides", w, {-5, 5}, {15, 5}, 1, {0, 5, 10, 5}},
      {"misses", w, {20, 20}, {30, 5}, 0, {20, 20, 30, 5}},
      // The inverted corners alone would cut this segment at (5, 5).
      {"empty window", KRECT(5, 5, 0, 0), {1, 1}, {6, 6}, 0, {1, 1, 6, 6}},
  };
  for (auto c : cases) {
    EXPECT_EQ(c.window.Clipping(c.a, c.b), c.want) << c.name;
    EXPECT_EQ((Q{c.a.x, c.a.y, c.b.x, c.b.y}), c.after) << c.name;
  }
}

TEST(Overrides, PlainShapeAnswersZeroToEveryRelation) {
  tagPOINT sq[4] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  const KPGON g(4, sq);
  const KPLINE l(4, sq);
  const KRECT r(0, 0, 10, 10);
  const KShape s;
  const tagPOINT a{1, 1}, b{2, 2};
  ExpectAnswers({
      {"Contain(KPGON)", s.Contain(g), 0},
      {"Contain(KPLINE)", s.Contain(l), 0},
      {"Contain(KRECT)", s.Contain(r), 0},
      {"Contain(a, b)", s.Contain(a, b), 0},
      {"Contain(point)", s.Contain(a), 0},
      {"Intersect(KPGON)", s.Intersect(g), 0},
      {"Intersect(KPLINE)", s.Intersect(l), 0},
      {"Intersect(KRECT)", s.Intersect(r), 0},
      {"Intersect(a, b)", s.Intersect(a, b), 0},
      {"Intersect(point)", s.Intersect(a), 0},
  });
}

}  // namespace
