// Prepared rings and the zone index by example: the wrapping rule's landmark, owned
// points, copies and moves, and empty input (their answers against the plain functions
// and the exact model are checked by the prepared fuzz target).
#include <gtest/gtest.h>
#include <kelvor/kelvor.h>

#include <cstdint>
#include <utility>
#include <vector>

namespace {

using Ring = std::vector<tagPOINT>;

TEST(PreparedPolygon, WrappingRingsAreMisclassifiedOnlyByTheCompatibleRule) {
  // The diamond of radius 46,341: its centre is outside by the wrapping rule.
  const Ring diamond{{0, -46341}, {46341, 0}, {0, 46341}, {-46341, 0}};
  const tagPOINT centre{0, 0};
  EXPECT_TRUE(kelvor::RingCanWrap(diamond.data(), 4));
  EXPECT_EQ(kelvor::PreparedPolygon(diamond.data(), 4).Contain(centre), 0);
  EXPECT_EQ(kelvor::PreparedPolygon(diamond.data(), 4, kelvor::Rule::Exact).Contain(centre), 1);
  const Ring smaller{{0, -46340}, {46340, 0}, {0, 46340}, {-46340, 0}};
  EXPECT_FALSE(kelvor::RingCanWrap(smaller.data(), 4));
}

TEST(PreparedPolygon, OwnsItsPointsAndCopiesAnswerAlike) {
  Ring r{{0, 0}, {100, 0}, {100, 100}, {0, 100}};
  kelvor::PreparedPolygon original(r.data(), 4, kelvor::Rule::Exact);
  r[2] = {1, 1};  // the caller's array changes after the build
  const tagPOINT inside{50, 50};
  EXPECT_EQ(original.Contain(inside), 1) << "built from a copy";
  const kelvor::PreparedPolygon copy = original;
  kelvor::PreparedPolygon moved = std::move(original);
  EXPECT_EQ(original.Contain(inside), 0) << "moved from: the polygon of no points";
  EXPECT_EQ(kelvor::PreparedPolygon(original).points().size(), 0u) << "copy of a moved-from one";
  original = copy;  // a moved-from polygon can be assigned again
  const kelvor::PreparedPolygon* const all[] = {&copy, &moved, &original};
  for (const kelvor::PreparedPolygon* p : all) {
    EXPECT_EQ(p->Contain(inside), 1);
    EXPECT_EQ(p->Contain(tagPOINT{100, 50}), 0) << "right side is outside";
    EXPECT_EQ(p->rule(), kelvor::Rule::Exact);
    EXPECT_EQ(p->points().size(), 4u);
  }
  const KRECT b = copy.bound();
  EXPECT_EQ(b.ptMax.x, 100);
  EXPECT_EQ(kelvor::PreparedPolygon().Contain(inside), 0) << "no points";
  EXPECT_EQ(kelvor::PreparedPolygon(nullptr, 5).Contain(inside), 0) << "null array";
  EXPECT_EQ(kelvor::PreparedPolygon(r.data(), -3).Contain(inside), 0) << "negative count";
  EXPECT_EQ(kelvor::PreparedPolygon().bound().IsEmpty(), 1);
}

TEST(EmptyInput, NoZonesNoPointsNoRectangle) {
  const Ring diamond{{0, -46341}, {46341, 0}, {0, 46341}, {-46341, 0}};
  EXPECT_EQ(kelvor::ZoneIndex().Locate(tagPOINT{0, 0}), kelvor::ZoneIndex::kNoZone);
  const Ring square{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  const kelvor::Zone one{square.data(), 4, 5};
  kelvor::ZoneIndex from(&one, 1);
  const kelvor::ZoneIndex to = std::move(from);
  EXPECT_EQ(to.Locate(tagPOINT{5, 5}), 5);
  EXPECT_EQ(from.Locate(tagPOINT{5, 5}), kelvor::ZoneIndex::kNoZone) << "moved from: no zones";
  EXPECT_EQ(kelvor::ZoneIndex(from).size(), 0u) << "copy of a moved-from index";
  EXPECT_EQ(kelvor::ZoneIndex(nullptr, 0).size(), 0u);
  EXPECT_TRUE(kelvor::DensifyRing(nullptr, 3).empty());
  // The wrapping diamond: GetMCR's seed lies outside by the wrapping rule.
  EXPECT_EQ(kelvor::InscribedRect(diamond.data(), 4, 1000).IsEmpty(), 1);
  EXPECT_EQ(kelvor::InscribedRect(diamond.data(), 4, 1000, kelvor::Rule::Exact).IsEmpty(), 0);
}

}  // namespace
