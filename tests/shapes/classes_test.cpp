// Shape classes: layout, virtual table order, construction, copying,
// emptiness, clipping and GetMBR.
#include <kelvor/kelvor.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#if defined(__linux__)
#include <dlfcn.h>
#endif

namespace {

std::ptrdiff_t offset(const void* obj, const void* member) {
  return static_cast<const char*>(member) - static_cast<const char*>(obj);
}

void expect_rect(const KRECT& r, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
  EXPECT_EQ(r.ptMin.x, x1);
  EXPECT_EQ(r.ptMin.y, y1);
  EXPECT_EQ(r.ptMax.x, x2);
  EXPECT_EQ(r.ptMax.y, y2);
}

TEST(ShapeLayout, FieldsFollowTheVirtualTablePointerInOrder) {
  const std::ptrdiff_t vp = sizeof(void*);
  EXPECT_EQ(sizeof(KShape), sizeof(void*));
  KPOINT p(1, 2);
  EXPECT_EQ(offset(&p, &p.pt), vp);
  EXPECT_EQ(sizeof(KPOINT), sizeof(void*) + 8);
  KRECT r;
  EXPECT_EQ(offset(&r, &r.ptMin), vp);
  EXPECT_EQ(offset(&r, &r.ptMax), vp + 8);  // adjacent: the pair passes as two corners
  EXPECT_EQ(sizeof(KRECT), sizeof(void*) + 16);
  KPLINE l;
  KPGON g;
  EXPECT_EQ(offset(&l, &l.rcBound), vp);
  EXPECT_EQ(offset(&l, &l.nCount), vp + static_cast<std::ptrdiff_t>(sizeof(KRECT)));
  EXPECT_EQ(offset(&l, &l.pPoints), vp + static_cast<std::ptrdiff_t>(sizeof(KRECT) + sizeof(void*)));
  EXPECT_EQ(offset(&g, &g.rcBound), offset(&l, &l.rcBound));
  EXPECT_EQ(offset(&g, &g.nCount), offset(&l, &l.nCount));
  EXPECT_EQ(offset(&g, &g.pPoints), offset(&l, &l.pPoints));
  EXPECT_EQ(sizeof(KPGON), sizeof(KPLINE));
  EXPECT_EQ(sizeof(KPGON), sizeof(void*) + sizeof(KRECT) + 2 * sizeof(void*));
}

#if defined(__x86_64__) || defined(__i386__)
// Itanium C++ ABI on x86: a pointer to a virtual member holds 1 + its byte
// offset in the virtual table, which pins the slot order.
template <typename M>
std::size_t slot(M m) {
  std::uintptr_t raw[2];
  static_assert(sizeof(m) == sizeof(raw), "Itanium member pointer");
  std::memcpy(raw, &m, sizeof(raw));
  return (raw[0] - 1) / sizeof(void*);
}

TEST(ShapeLayout, VirtualTableSlotsFollowTheDeclaredOrder) {
  using C = KShape;
  EXPECT_EQ(slot(static_cast<std::int32_t (C::*)(const KPGON&) const>(&C::Contain)), 0u);
  EXPECT_EQ(slot(static_cast<std::int32_t (C::*)(const KPLINE&) const>(&C::Contain)), 1u);
  EXPECT_EQ(slot(static_cast<std::int32_t (C::*)(const KRECT&) const>(&C::Contain)), 2u);
  EXPECT_EQ(slot(static_cast<std::int32_t (C::*)(const tagPOINT&, const tagPOINT&) const>(&C::Contain)), 3u);
  EXPECT_EQ(slot(static_cast<std::int32_t (C::*)(const tagPOINT&) const>(&C::Contain)), 4u);
  EXPECT_EQ(slot(static_cast<std::int32_t (C::*)(const KPGON&) const>(&C::Intersect)), 5u);
  EXPECT_EQ(slot(static_cast<std::int32_t (C::*)(const KPLINE&) const>(&C::Intersect)), 6u);
  EXPECT_EQ(slot(static_cast<std::int32_t (C::*)(const KRECT&) const>(&C::Intersect)), 7u);
  EXPECT_EQ(slot(static_cast<std::int32_t (C::*)(const tagPOINT&, const tagPOINT&) const>(&C::Intersect)), 8u);
  EXPECT_EQ(slot(static_cast<std::int32_t (C::*)(const tagPOINT&) const>(&C::Intersect)), 9u);
  // A derived override lands in the root's slot, not a new one.
  EXPECT_EQ(slot(static_cast<std::int32_t (KPGON::*)(const tagPOINT&) const>(&KPGON::Contain)), 4u);
}
#endif

#if defined(__linux__)
TEST(ShapeLayout, ScannerStaysPrivateToTheLibrary) {
  // GetMCR is exported; the scan-conversion functions it uses are not.
  EXPECT_NE(dlsym(RTLD_DEFAULT, "_Z6GetMCRR5KRECTiPK8tagPOINTi"), nullptr);
  EXPECT_EQ(dlsym(RTLD_DEFAULT, "init_scan"), nullptr);
  EXPECT_EQ(dlsym(RTLD_DEFAULT, "edge_scan"), nullptr);
}
#endif

TEST(KRectBasics, CanonicalEmptyAndEquality) {
  KRECT def;
  EXPECT_EQ(def.IsEmpty(), 1);
  expect_rect(def, 1, 1, 0, 0);
  EXPECT_EQ(def == KRECT(1, 1, 0, 0), 1);
  EXPECT_EQ(KRECT(0, 0, 0, 0).IsEmpty(), 0);  // zero size is not empty
  EXPECT_EQ(KRECT(0, 1, 0, 0).IsEmpty(), 1);  // inverted in y only
  EXPECT_EQ(KRECT(1, 0, 0, 0).IsEmpty(), 1);  // inverted in x only
  const KRECT other_empty(5, 5, 0, 0);
  EXPECT_EQ(other_empty.IsEmpty(), 1);
  EXPECT_EQ(other_empty == def, 0);
  EXPECT_EQ(other_empty != def, 1);
  // Each coordinate takes part in the comparison.
  const KRECT base(1, 2, 3, 4);
  EXPECT_EQ(base != KRECT(9, 2, 3, 4), 1);
  EXPECT_EQ(base != KRECT(1, 9, 3, 4), 1);
  EXPECT_EQ(base != KRECT(1, 2, 9, 4), 1);
  EXPECT_EQ(base != KRECT(1, 2, 3, 9), 1);
  EXPECT_EQ(base != KRECT(1, 2, 3, 4), 0);
}

TEST(KRectBasics, CornersAreNeverSorted) {
  const KRECT r(tagPOINT{10, 10}, tagPOINT{0, 0});
  expect_rect(r, 10, 10, 0, 0);
  EXPECT_EQ(r.IsEmpty(), 1);
  KRECT copy(r);
  expect_rect(copy, 10, 10, 0, 0);
  KRECT assigned;
  EXPECT_EQ(&(assigned = KRECT(-3, -4, 5, 6)), &assigned);
  expect_rect(assigned, -3, -4, 5, 6);
  assigned.Empty();
  expect_rect(assigned, 1, 1, 0, 0);
}

TEST(KPointBasics, ComparisonAndConversion) {
  KPOINT p(3, -4);
  EXPECT_EQ((p == tagPOINT{3, -4}), 1);
  EXPECT_EQ((p == tagPOINT{3, 4}), 0);
  EXPECT_EQ((p != tagPOINT{3, 4}), 1);
  EXPECT_EQ((p != tagPOINT{3, -4}), 0);
  tagPOINT& ref = p;  // modifiable view of pt
  ref.x = 7;
  EXPECT_EQ(p.pt.x, 7);
  KPOINT q(tagPOINT{7, -4});
  EXPECT_EQ(p == q, 1);  // compares through the conversion
  q = tagPOINT{0, 0};
  EXPECT_EQ(p != q, 1);
  KPOINT r(p);
  EXPECT_EQ(&(r = q), &r);
  EXPECT_EQ(r.pt.x, 0);
  EXPECT_EQ(r.pt.y, 0);
}

TEST(PointArrayShapes, TooFewPointsGiveTheEmptyShape) {
  tagPOINT pts[3] = {{0, 0}, {5, 5}, {9, 1}};
  const KPLINE l(1, pts);
  EXPECT_EQ(l.nCount, 0);
  EXPECT_EQ(l.pPoints, nullptr);
  expect_rect(l.rcBound, 1, 1, 0, 0);
  EXPECT_EQ(l.IsEmpty(), 1);
  const KPGON g(2, pts, KRECT(0, 0, 5, 5));  // the rectangle is ignored too
  EXPECT_EQ(g.nCount, 0);
  EXPECT_EQ(g.pPoints, nullptr);
  expect_rect(g.rcBound, 1, 1, 0, 0);
  EXPECT_EQ(g.IsEmpty(), 1);
  const KPGON neg(-7, pts);
  EXPECT_EQ(neg.nCount, 0);
  EXPECT_EQ(KPLINE(2, pts).IsEmpty(), 0);
  EXPECT_EQ(KPGON(3, pts).IsEmpty(), 0);
  const KPGON def;
  EXPECT_EQ(def.nCount, 0);
  EXPECT_EQ(def.pPoints, nullptr);
  expect_rect(def.rcBound, 1, 1, 0, 0);
}

TEST(PointArrayShapes, BoundIsComputedOrTrusted) {
  tagPOINT pts[3] = {{3, 7}, {-2, 9}, {5, -1}};
  const KPGON g(3, pts);
  EXPECT_EQ(g.pPoints, pts);
  EXPECT_EQ(g.nCount, 3);
  expect_rect(g.rcBound, -2, -1, 5, 9);
  const KPGON trusted(3, pts, KRECT(100, 100, 200, 200));
  expect_rect(trusted.rcBound, 100, 100, 200, 200);
  KPLINE l;
  l.Set(3, pts, KRECT(0, 0, 1, 1));
  expect_rect(l.rcBound, 0, 0, 1, 1);
  l.Set(2, pts);
  expect_rect(l.rcBound, -2, 7, 3, 9);
  EXPECT_EQ(l.nCount, 2);
  l.Set(1, pts, KRECT(0, 0, 1, 1));
  EXPECT_EQ(l.nCount, 0);
  EXPECT_EQ(l.pPoints, nullptr);
  expect_rect(l.rcBound, 1, 1, 0, 0);
  KPGON h(3, pts);
  h.Empty();
  EXPECT_EQ(h.nCount, 0);
  EXPECT_EQ(h.pPoints, nullptr);
  expect_rect(h.rcBound, 1, 1, 0, 0);
}

TEST(PointArrayShapes, CopiesShareTheCallersArray) {
  tagPOINT pts[3] = {{0, 0}, {4, 0}, {0, 4}};
  const KPLINE a(3, pts);
  const KPLINE b(a);
  KPLINE c;
  EXPECT_EQ(&(c = a), &c);
  EXPECT_EQ(b.pPoints, pts);
  EXPECT_EQ(c.pPoints, pts);
  EXPECT_EQ(c.nCount, 3);
  pts[1].x = 40;  // shows through every copy; no bound is refreshed
  EXPECT_EQ(a.pPoints[1].x, 40);
  EXPECT_EQ(b.pPoints[1].x, 40);
  expect_rect(b.rcBound, 0, 0, 4, 4);
  expect_rect(c.rcBound, 0, 0, 4, 4);
  const KPGON g(3, pts, KRECT(1, 2, 3, 4));
  KPGON h;
  h = g;
  expect_rect(h.rcBound, 1, 2, 3, 4);
  EXPECT_EQ(KPGON(g).pPoints, pts);
}

TEST(GetMbr, InclusiveBoundWritesOnlyCoordinates) {
  const tagPOINT pts[3] = {{3, 7}, {-2, 9}, {5, -1}};
  KRECT r;
  GetMBR(r, 3, pts);
  expect_rect(r, -2, -1, 5, 9);
  GetMBR(r, 1, pts);
  expect_rect(r, 3, 7, 3, 7);
  EXPECT_EQ(r.IsEmpty(), 0);
  GetMBR(r, 0, pts + 2);  // the first point is read whatever the count
  expect_rect(r, 5, -1, 5, -1);
  const tagPOINT extremes[2] = {{INT32_MAX, INT32_MIN}, {INT32_MIN, INT32_MAX}};
  GetMBR(r, 2, extremes);
  expect_rect(r, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
  // Still the same object afterwards: its virtual table is intact.
  const KShape& s = r;
  EXPECT_EQ(s.Contain(tagPOINT{0, 0}), 1);
}

TEST(KRectClipping, RectangleForm) {
  const KRECT window(0, 0, 10, 10);
  KRECT r(5, 5, 20, 20);
  EXPECT_EQ(window.Clipping(r), 1);
  expect_rect(r, 5, 5, 10, 10);
  KRECT edge(10, 0, 20, 10);  // shares only an edge
  EXPECT_EQ(window.Clipping(edge), 0);
  expect_rect(edge, 10, 0, 20, 10);
  KRECT empty_arg(8, 8, 2, 2);
  EXPECT_EQ(window.Clipping(empty_arg), 0);
  expect_rect(empty_arg, 8, 8, 2, 2);
  KRECT inside(2, 2, 3, 3);
  EXPECT_EQ(KRECT().Clipping(inside), 0);
  expect_rect(inside, 2, 2, 3, 3);
}

TEST(KRectClipping, SegmentForm) {
  const KRECT window(0, 0, 10, 10);
  tagPOINT a{-5, 5}, b{15, 5};
  EXPECT_EQ(window.Clipping(a, b), 1);
  EXPECT_EQ(a.x, 0);
  EXPECT_EQ(b.x, 10);
  tagPOINT c{20, 20}, d{30, 5};
  EXPECT_EQ(window.Clipping(c, d), 0);
  EXPECT_EQ(c.x, 20);
  tagPOINT e{2, 2}, f{3, 3};
  EXPECT_EQ(KRECT(5, 5, 0, 0).Clipping(e, f), 0);  // empty window: untouched
  EXPECT_EQ(e.x, 2);
  EXPECT_EQ(f.y, 3);
}

TEST(Overrides, UnoverriddenRelationsAnswerZero) {
  tagPOINT sq[4] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  const KPGON g(4, sq);
  const KPLINE l(4, sq);
  const KRECT r(0, 0, 10, 10);
  const tagPOINT q{5, 5}, a{1, 1}, b{2, 2};
  const KShape plain;
  const KPOINT p(5, 5);
  const KShape* shapes[] = {&plain, &p, &l};
  for (const KShape* s : shapes) {  // nothing contains anything here
    EXPECT_EQ(s->Contain(g), 0);
    EXPECT_EQ(s->Contain(l), 0);
    EXPECT_EQ(s->Contain(r), 0);
    EXPECT_EQ(s->Contain(a, b), 0);
    EXPECT_EQ(s->Contain(q), 0);
  }
  EXPECT_EQ(plain.Intersect(g), 0);
  EXPECT_EQ(plain.Intersect(l), 0);
  EXPECT_EQ(plain.Intersect(r), 0);
  EXPECT_EQ(plain.Intersect(a, b), 0);
  EXPECT_EQ(plain.Intersect(q), 0);
  // Rectangles and polygons are asked Contain for points, never Intersect.
  EXPECT_EQ(r.Contain(q), 1);
  EXPECT_EQ(r.Intersect(q), 0);
  EXPECT_EQ(static_cast<const KShape&>(r).Intersect(q), 0);
  EXPECT_EQ(g.Contain(q), 1);
  EXPECT_EQ(g.Intersect(q), 0);
  KShape assigned;
  EXPECT_EQ(&(assigned = plain), &assigned);
}

}  // namespace
