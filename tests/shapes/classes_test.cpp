// Shape classes: layout, emptiness, construction, copying, clipping, the plain shape.
#include <gtest/gtest.h>

#include "shapes/samples.h"

namespace {

using samples::Q;
using samples::q;
using Offsets = std::array<std::ptrdiff_t, 3>;

std::ptrdiff_t off(const void* obj, const void* member) {
  return static_cast<const char*>(member) - static_cast<const char*>(obj);
}

TEST(ShapeLayout, FieldsFollowTheVirtualTablePointerInOrder) {
  const std::ptrdiff_t vp = sizeof(void*), rc = sizeof(KRECT);
  const KRECT r;
  const KPLINE l;
  const KPGON g;
  auto arr = [](const auto& s) {
    return Offsets{off(&s, &s.rcBound), off(&s, &s.nCount), off(&s, &s.pPoints)};
  };
  EXPECT_TRUE(off(&r, &r.ptMin) == vp && off(&r, &r.ptMax) == vp + 8 && rc == vp + 16);
  EXPECT_EQ(arr(l), (Offsets{vp, vp + rc, 2 * vp + rc}));
  EXPECT_EQ(arr(g), arr(l));
}

TEST(KRectBasics, CanonicalEmptyAndEquality) {
  const KRECT def, other(5, 5, 0, 0);
  EXPECT_EQ(q(def), (Q{1, 1, 0, 0}));
  EXPECT_EQ(other.IsEmpty() + KRECT(0, 1, 0, 0).IsEmpty() + KRECT(1, 0, 0, 0).IsEmpty(), 3);
  EXPECT_EQ(def.IsEmpty() * 2 + KRECT(0, 0, 0, 0).IsEmpty(), 2);  // zero size is not empty
  EXPECT_EQ((other == def) * 2 + (other != def), 1);  // both empty, still different
  KRECT r(tagPOINT{10, 10}, tagPOINT{0, 0});  // corners are never sorted
  EXPECT_EQ(q(r), (Q{10, 10, 0, 0}));
  r.Empty();
  EXPECT_EQ(q(r), (Q{1, 1, 0, 0}));
}

TEST(PointArrayShapes, TooFewPointsGiveTheEmptyShapeWithoutThePointer) {
  tagPOINT pts[3] = {{0, 0}, {5, 5}, {9, 1}};
  auto empty = [](const auto& s) {
    return s.nCount == 0 && !s.pPoints && q(s.rcBound) == Q{1, 1, 0, 0} && s.IsEmpty() == 1;
  };
  KPLINE l(3, pts);
  l.Set(1, pts, KRECT(0, 0, 1, 1));
  KPGON g(3, pts);
  g.Empty();
  EXPECT_TRUE(empty(KPLINE(1, pts)) && empty(l) && empty(g) && empty(KPGON(-7, pts)));
  EXPECT_TRUE(empty(KPGON(2, pts, KRECT(0, 0, 5, 5))));  // the trusted rectangle is ignored too
  EXPECT_EQ(KPLINE(2, pts).IsEmpty() + KPGON(3, pts).IsEmpty(), 0);
}

TEST(PointArrayShapes, BoundIsComputedOrTrustedAndCopiesShareTheArray) {
  tagPOINT pts[3] = {{3, 7}, {-2, 9}, {5, -1}};
  const KPGON g(3, pts), trusted(3, pts, KRECT(100, 100, 200, 200)), copy(g);
  KPLINE l, c;
  KPGON h;
  h = trusted;
  l.Set(3, pts, KRECT(0, 0, 1, 1));
  EXPECT_EQ(&(c = l), &c);
  l.Set(2, pts);
  EXPECT_EQ(q(l.rcBound), (Q{-2, 7, 3, 9}));
  pts[1].x = 40;  // shows through every copy; no bound is refreshed
  EXPECT_TRUE(copy.pPoints == pts && c.pPoints == pts && h.pPoints == pts && c.nCount == 3);
  EXPECT_EQ((std::array<Q, 4>{q(copy.rcBound), q(g.rcBound), q(h.rcBound), q(c.rcBound)}),
            (std::array<Q, 4>{{{-2, -1, 5, 9}, {-2, -1, 5, 9}, {100, 100, 200, 200},
                               {0, 0, 1, 1}}}));
}

TEST(KRectClipping, BothFormsLeaveArgumentsUntouchedWhenNothingRemains) {
  const KRECT w(0, 0, 10, 10);
  KRECT r(5, 5, 20, 20), edge(10, 0, 20, 10), inverted(8, 8, 2, 2), inside(2, 2, 3, 3);
  EXPECT_EQ(w.Clipping(r), 1);
  EXPECT_EQ(q(r), (Q{5, 5, 10, 10}));
  // A shared side only, an empty argument, an empty window.
  EXPECT_EQ(w.Clipping(edge) + w.Clipping(inverted) + KRECT().Clipping(inside), 0);
  EXPECT_EQ((std::array<Q, 3>{q(edge), q(inverted), q(inside)}),
            (std::array<Q, 3>{{{10, 0, 20, 10}, {8, 8, 2, 2}, {2, 2, 3, 3}}}));
  tagPOINT a{-5, 5}, b{15, 5}, c{20, 20}, d{30, 5}, e{2, 2}, f{3, 3};
  EXPECT_EQ(w.Clipping(a, b), 1);
  EXPECT_EQ(w.Clipping(c, d) + KRECT(5, 5, 0, 0).Clipping(e, f), 0);  // a miss; an empty window
  EXPECT_EQ((std::array<Q, 3>{{{a.x, a.y, b.x, b.y}, {c.x, c.y, d.x, d.y}, {e.x, e.y, f.x, f.y}}}),
            (std::array<Q, 3>{{{0, 5, 10, 5}, {20, 20, 30, 5}, {2, 2, 3, 3}}}));
}

TEST(Overrides, PlainShapeAnswersZeroToEveryRelation) {
  tagPOINT sq[4] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  const KPGON g(4, sq);
  const KPLINE l(4, sq);
  const KRECT r(0, 0, 10, 10);
  const KShape s;
  const tagPOINT a{1, 1}, b{2, 2};
  EXPECT_EQ((std::array<std::int32_t, 10>{s.Contain(g), s.Contain(l), s.Contain(r), s.Contain(a, b),
                                          s.Contain(a), s.Intersect(g), s.Intersect(l),
                                          s.Intersect(r), s.Intersect(a, b), s.Intersect(a)}),
            (std::array<std::int32_t, 10>{}));
}

}  // namespace

namespace {

TEST(GetMBRTest, InclusiveBoundAndOnePoint) {
  const tagPOINT pts[] = {{3, 7}, {-2, 9}, {5, -1}};
  KRECT r;
  GetMBR(r, 3, pts);
  EXPECT_TRUE(r == KRECT(-2, -1, 5, 9));
  GetMBR(r, 1, pts);
  EXPECT_TRUE(r == KRECT(3, 7, 3, 7)) << "zero-size rectangle at the one point";
}

}  // namespace
