// Shape classes: layout, construction, copying, emptiness, clipping, GetMBR.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

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
  KPOINT p(1, 2);
  KRECT r;
  KPLINE l;
  KPGON g;
  auto arr = [](const auto& s) { return Offsets{off(&s, &s.rcBound), off(&s, &s.nCount), off(&s, &s.pPoints)}; };
  EXPECT_EQ(sizeof(KShape), sizeof(void*));
  EXPECT_EQ(off(&p, &p.pt), vp);
  EXPECT_EQ(off(&r, &r.ptMin), vp);
  EXPECT_EQ(off(&r, &r.ptMax), vp + 8);  // adjacent: the pair passes as two corners
  EXPECT_EQ(rc, vp + 16);
  EXPECT_EQ(arr(l), (Offsets{vp, vp + rc, 2 * vp + rc}));
  EXPECT_EQ(arr(g), arr(l));
  EXPECT_EQ(sizeof(KPGON), sizeof(KPLINE));
  EXPECT_EQ(sizeof(KPGON), 3 * sizeof(void*) + sizeof(KRECT));
}

TEST(KRectBasics, CanonicalEmptyAndEquality) {
  const KRECT def, other(5, 5, 0, 0);
  EXPECT_EQ(q(def), (Q{1, 1, 0, 0}));
  EXPECT_EQ(def.IsEmpty() + other.IsEmpty() + KRECT(0, 1, 0, 0).IsEmpty() + KRECT(1, 0, 0, 0).IsEmpty(), 4);
  EXPECT_EQ(KRECT(0, 0, 0, 0).IsEmpty(), 0);  // zero size is not empty
  EXPECT_EQ((other == def) * 2 + (other != def), 1);  // both empty, still different
  for (const Q& c : {Q{9, 2, 3, 4}, Q{1, 9, 3, 4}, Q{1, 2, 9, 4}, Q{1, 2, 3, 9}})  // every coordinate counts
    EXPECT_EQ(KRECT(1, 2, 3, 4) != KRECT(c[0], c[1], c[2], c[3]), 1) << c[0] << c[1] << c[2] << c[3];
  KRECT r(tagPOINT{10, 10}, tagPOINT{0, 0});  // corners are never sorted
  EXPECT_EQ(q(KRECT(r)), (Q{10, 10, 0, 0}));
  r.Empty();
  EXPECT_EQ(q(r), (Q{1, 1, 0, 0}));
}

TEST(PointArrayShapes, TooFewPointsGiveTheEmptyShapeWithoutThePointer) {
  tagPOINT pts[3] = {{0, 0}, {5, 5}, {9, 1}};
  auto empty = [](const auto& s) {
    return s.nCount == 0 && s.pPoints == nullptr && q(s.rcBound) == Q{1, 1, 0, 0} && s.IsEmpty() == 1;
  };
  KPLINE l(3, pts);
  l.Set(1, pts, KRECT(0, 0, 1, 1));
  KPGON g(3, pts);
  g.Empty();
  EXPECT_TRUE(empty(KPLINE(1, pts)) && empty(l) && empty(g) && empty(KPGON()) && empty(KPGON(-7, pts)));
  EXPECT_TRUE(empty(KPGON(2, pts, KRECT(0, 0, 5, 5))));  // the trusted rectangle is ignored too
  EXPECT_EQ(KPLINE(2, pts).IsEmpty() + KPGON(3, pts).IsEmpty(), 0);
}

TEST(PointArrayShapes, BoundIsComputedOrTrusted) {
  tagPOINT pts[3] = {{3, 7}, {-2, 9}, {5, -1}};
  const tagPOINT ext[2] = {{INT32_MAX, INT32_MIN}, {INT32_MIN, INT32_MAX}};
  const KPGON g(3, pts), trusted(3, pts, KRECT(100, 100, 200, 200));
  EXPECT_TRUE(g.pPoints == pts && g.nCount == 3 && trusted.pPoints == pts);
  EXPECT_EQ(q(g.rcBound), (Q{-2, -1, 5, 9}));
  EXPECT_EQ(q(trusted.rcBound), (Q{100, 100, 200, 200}));
  KPLINE l;
  l.Set(3, pts, KRECT(0, 0, 1, 1));
  EXPECT_EQ(q(l.rcBound), (Q{0, 0, 1, 1}));
  l.Set(2, pts);
  EXPECT_EQ(q(l.rcBound), (Q{-2, 7, 3, 9}));
  KRECT r;
  GetMBR(r, 0, pts + 2);  // the first point is read whatever the count
  EXPECT_EQ(q(r), (Q{5, -1, 5, -1}));
  GetMBR(r, 2, ext);
  EXPECT_EQ(q(r), (Q{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}));
}

TEST(PointArrayShapes, CopiesShareTheCallersArrayAndKeepTheirBound) {
  tagPOINT pts[3] = {{0, 0}, {4, 0}, {0, 4}};
  const KPLINE a(3, pts), b(a);
  KPLINE c;
  KPGON h;
  EXPECT_EQ(&(c = a), &c);
  h = KPGON(3, pts, KRECT(1, 2, 3, 4));
  pts[1].x = 40;  // shows through every copy; no bound is refreshed
  EXPECT_TRUE(b.pPoints == pts && c.pPoints == pts && c.nCount == 3 && KPGON(h).pPoints == pts);
  EXPECT_EQ(q(b.rcBound), (Q{0, 0, 4, 4}));
  EXPECT_EQ(q(c.rcBound), (Q{0, 0, 4, 4}));
  EXPECT_EQ(q(h.rcBound), (Q{1, 2, 3, 4}));
}

TEST(KRectClipping, BothFormsLeaveArgumentsUntouchedWhenNothingRemains) {
  const KRECT w(0, 0, 10, 10);
  KRECT r(5, 5, 20, 20), edge(10, 0, 20, 10), inverted(8, 8, 2, 2), inside(2, 2, 3, 3);
  EXPECT_EQ(w.Clipping(r), 1);
  EXPECT_EQ(q(r), (Q{5, 5, 10, 10}));
  EXPECT_EQ(w.Clipping(edge) + w.Clipping(inverted) + KRECT().Clipping(inside), 0);  // edge: shared side only
  EXPECT_EQ((std::array<Q, 3>{q(edge), q(inverted), q(inside)}),
            (std::array<Q, 3>{{{10, 0, 20, 10}, {8, 8, 2, 2}, {2, 2, 3, 3}}}));
  tagPOINT a{-5, 5}, b{15, 5}, c{20, 20}, d{30, 5}, e{2, 2}, f{3, 3};
  EXPECT_EQ(w.Clipping(a, b), 1);
  EXPECT_EQ((Q{a.x, a.y, b.x, b.y}), (Q{0, 5, 10, 5}));
  EXPECT_EQ(w.Clipping(c, d) + KRECT(5, 5, 0, 0).Clipping(e, f), 0);  // a miss; an empty window
  EXPECT_EQ((std::vector<std::int32_t>{c.x, c.y, d.x, d.y, e.x, e.y, f.x, f.y}),
            (std::vector<std::int32_t>{20, 20, 30, 5, 2, 2, 3, 3}));
}

TEST(Overrides, PlainShapeAndUnoverriddenRelationsAnswerZero) {
  tagPOINT sq[4] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  const KPGON g(4, sq);
  const KPLINE l(4, sq);
  const KRECT r(0, 0, 10, 10);
  const KShape plain;
  const KPOINT p(5, 5);
  const tagPOINT c{5, 5}, a{1, 1}, b{2, 2};
  using A5 = std::array<std::int32_t, 5>;
  for (const KShape* s : {&plain, static_cast<const KShape*>(&p), static_cast<const KShape*>(&l)})
    EXPECT_EQ((A5{s->Contain(g), s->Contain(l), s->Contain(r), s->Contain(a, b), s->Contain(c)}), A5{});
  EXPECT_EQ((A5{plain.Intersect(g), plain.Intersect(l), plain.Intersect(r), plain.Intersect(a, b), plain.Intersect(c)}),
            A5{});
  // Rectangles and polygons are asked Contain for points, never Intersect.
  EXPECT_EQ(r.Contain(c) + g.Contain(c) - r.Intersect(c) - g.Intersect(c), 2);
}

}  // namespace
