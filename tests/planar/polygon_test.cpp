// Polyline / polygon meeting, containment and clipping on hand-checked
// figures: boundary sides of the even-odd rule, half-open spans, closing
// edges, empty figures (never read) and which outputs a clip writes.
#include <gtest/gtest.h>

#include <cstdint>

#include <kelvor/planar.h>

#include "planar/polygon_model.h"

namespace {

using polytest::Ring;

const Ring kSq = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
const Ring kSqClosed = polytest::closed(kSq);
// Two rooms joined along the bottom: inside spans 0-10 and 20-30 on y = 7.
const Ring kNotched{{0, 0}, {30, 0}, {30, 10}, {20, 10}, {20, 5}, {10, 5}, {10, 10}, {0, 10}};

TEST(PointPolygon, LeftAndBottomSidesInsideRightAndTopOutside) {
  const struct { tagPOINT p; int want; } cases[] = {{{0, 5}, 1}, {{5, 0}, 1}, {{9, 9}, 1}, {{10, 5}, 0}, {{5, 10}, 0}};
  for (const auto& c : cases) EXPECT_EQ(Point_Polygon_Intersect(&c.p, kSq.data(), 4), c.want) << c.p.x << ',' << c.p.y;
  const tagPOINT p{3, 3}, left{-1, 5};
  const Ring there_and_back{{0, 0}, {0, 10}};
  EXPECT_EQ(Point_Polygon_Intersect(&p, &p, 1), 0) << "one point holds not even itself";
  EXPECT_EQ(Point_Polygon_Intersect(&left, there_and_back.data(), 2), 0);
  // (0,0)-(3,10) meets y = 5 at 1.5 -> 1; walked from (3,10): 3 + 15 / -10 = 2.
  const Ring fwd{{0, 0}, {3, 10}, {20, 0}}, rev{{20, 0}, {3, 10}, {0, 0}};
  const tagPOINT at0{0, 5}, at1{1, 5}, at2{2, 5};
  EXPECT_EQ(Point_Polygon_Intersect(&at0, fwd.data(), 3), 0);
  EXPECT_EQ(Point_Polygon_Intersect(&at1, fwd.data(), 3), 1);
  EXPECT_EQ(Point_Polygon_Intersect(&at1, rev.data(), 3), 0);
  EXPECT_EQ(Point_Polygon_Intersect(&at2, rev.data(), 3), 1);
}

TEST(Figures, EmptyFiguresMeetAndHoldNothingAndAreNeverRead) {
  const tagPOINT p{3, 3}, q{5, 5}, min{0, 0}, max{10, 10};
  std::int32_t from = -5, to = 5;
  const int got[] = {Point_Polygon_Intersect(&p, nullptr, 0), Point_Polygon_Intersect(&p, nullptr, -4),
                     Polygon_Contain_Point(nullptr, 0, &p), Point_Polyline_Intersect(&p, nullptr, 0),
                     Segment_Polyline_Intersect(&p, &q, nullptr, 0), Segment_Polygon_Intersect(&p, &q, nullptr, 0),
                     Rect_Polygon_Intersect(&min, &max, nullptr, 0), Polyline_Horizon_Intersect(nullptr, 0, -9, 9, 5),
                     Polygon_Horizon_Intersect(nullptr, 0, -9, 9, 5), Polyline_Polygon_Intersect(&p, 1, nullptr, 0),
                     Polygon_Polygon_Intersect(&p, 1, nullptr, 0), Polygon_Polygon_Intersect(nullptr, 0, &p, 1),
                     Polygon_Contain_Horizon(nullptr, 0, 0, 1, 0), Polygon_Contain_Vertical(nullptr, -1, 0, 1, 0),
                     Polygon_Contain_Segment(nullptr, 0, &p, &q), Polygon_Contain_Rect(nullptr, 0, &p, &q),
                     Polygon_Contain_Polyline(nullptr, 0, kSq.data(), 3), Polygon_Contain_Polygon(nullptr, 0, &p, 1),
                     Polygon_Clip_Horizon(nullptr, 0, &from, &to, 0), Polygon_Clip_Vertical(nullptr, 0, &from, &to, 0),
                     Polygon_Clip_Horizon(kSq.data(), 1, &from, &to, 0)};
  for (std::size_t k = 0; k < sizeof got / sizeof got[0]; ++k) EXPECT_EQ(got[k], 0) << "case " << k;
  EXPECT_TRUE(from == -5 && to == 5) << "a rejected clip leaves the span alone";
  // Inner figures without edges are held vacuously, even by an empty container.
  EXPECT_EQ(Rect_Contain_Polygon(&min, &max, nullptr, 0), 1);
  EXPECT_EQ(Rect_Contain_Polyline(&min, &max, nullptr, -3), 1);
  EXPECT_EQ(Polygon_Contain_Polyline(nullptr, 0, &p, 1), 1);
  EXPECT_EQ(Polygon_Contain_Polygon(nullptr, 0, nullptr, 0), 1);
}

TEST(PolylineAndPolygon, MeetingRules) {
  const Ring line{{0, 0}, {10, 0}, {10, 10}}, through{{-5, 5}, {15, 5}};
  const tagPOINT on{10, 4}, mid{5, 5}, out{-5, 5}, c3{-5, -5}, c4{-1, 20}, min{2, 2}, max{8, 8};
  EXPECT_EQ(Point_Polyline_Intersect(&on, line.data(), 3), 1);
  EXPECT_EQ(Point_Polyline_Intersect(&mid, line.data(), 3), 0) << "polylines do not close";
  EXPECT_EQ(Point_Polyline_Intersect(&line[0], line.data(), 1), 0);
  const Ring around{{-5, -5}, {15, -5}, {15, 15}, {-5, 15}};
  EXPECT_EQ(Rect_Polyline_Intersect(&min, &max, around.data(), 4), 0) << "surrounds, never enters";
  EXPECT_EQ(Rect_Polyline_Intersect(&min, &max, through.data(), 2), 1);
  EXPECT_EQ(Polyline_Polyline_Intersect(through.data(), 2, line.data(), 3), 1);
  EXPECT_EQ(Polyline_Polyline_Intersect(through.data(), 1, line.data(), 3), 0);
  // Span on the vertical edge (0,0)-(0,10): from inclusive, to exclusive, upper end excluded.
  const Ring edge{{0, 0}, {0, 10}}, swapped{{0, 0}, {10, 0}};
  const struct { std::int32_t from, to, at; int want; } spans[] = {
      {0, 1, 10, 0}, {0, 1, 0, 1}, {-5, 0, 5, 0}, {0, 5, 5, 1}};
  for (const auto& s : spans) {
    EXPECT_EQ(Polyline_Horizon_Intersect(edge.data(), 2, s.from, s.to, s.at), s.want) << s.from << ' ' << s.at;
    EXPECT_EQ(Polyline_Vertical_Intersect(swapped.data(), 2, s.from, s.to, s.at), s.want);
  }
  EXPECT_EQ(Segment_Polygon_Intersect(&out, &mid, kSqClosed.data(), 5), 1);
  EXPECT_EQ(Segment_Polygon_Intersect(&c3, &c4, kSqClosed.data(), 5), 0);
  const Ring small{{4, 4}, {6, 4}, {5, 6}}, pt_max{{8, 5}};
  EXPECT_EQ(Rect_Polygon_Intersect(&min, &max, small.data(), 3), 1) << "polygon inside rectangle";
  EXPECT_EQ(Rect_Polygon_Intersect(&min, &max, pt_max.data(), 1), 0) << "max side is outside";
  // A plus sign: no corner of either bar lies in the other; only edges cross.
  const Ring bar_h{{-20, -2}, {20, -2}, {20, 2}, {-20, 2}}, bar_v{{-2, -20}, {2, -20}, {2, 20}, {-2, 20}};
  EXPECT_EQ(Polygon_Polygon_Intersect(bar_h.data(), 4, bar_v.data(), 4), 1);
  EXPECT_EQ(Polygon_Polygon_Intersect(bar_v.data(), 4, bar_h.data(), 4), 1);
  EXPECT_EQ(Polygon_Polygon_Intersect(small.data(), 3, kSq.data(), 4), 1) << "nested";
}

TEST(PolygonSpans, MeetContainAndClipOnSquareAndNotchedRing) {
  const struct { std::int32_t from, to, at; int meets, contains; } sq[] = {
      {10, 20, 5, 0, 0}, {-5, 0, 5, 0, 0}, {-5, 1, 5, 1, 0}, {0, 9, 5, 1, 1},
      {0, 10, 5, 1, 0},  {2, 8, 0, 1, 1},  {2, 8, 10, 0, 0}};
  for (const auto& c : sq) {
    EXPECT_EQ(Polygon_Horizon_Intersect(kSq.data(), 4, c.from, c.to, c.at), c.meets) << c.from << '-' << c.to;
    EXPECT_EQ(Polygon_Vertical_Intersect(kSq.data(), 4, c.from, c.to, c.at), c.meets);
    EXPECT_EQ(Polygon_Contain_Horizon(kSq.data(), 4, c.from, c.to, c.at), c.contains) << c.from << '-' << c.to;
    EXPECT_EQ(Polygon_Contain_Vertical(kSq.data(), 4, c.from, c.to, c.at), c.contains);
  }
  const struct { std::int32_t from, to; int want; std::int32_t wfrom, wto; } notched[] = {
      {-5, 40, 1, 0, 10}, {3, 25, 1, 3, 10}, {12, 18, 0, 12, 18}, {22, 40, 1, 22, 30},
      {15, 20, 0, 15, 20}, {10, 15, 0, 10, 15}, {12, 22, 1, 20, 22}};
  for (const auto& c : notched) {
    std::int32_t from = c.from, to = c.to;
    EXPECT_EQ(Polygon_Clip_Horizon(kNotched.data(), 8, &from, &to, 7), c.want) << c.from << '-' << c.to;
    EXPECT_TRUE(from == c.wfrom && to == c.wto) << c.from << '-' << c.to << " -> " << from << '-' << to;
  }
  std::int32_t from = 2, to = 9;  // column x = 15 is inside only below the notch
  EXPECT_EQ(Polygon_Clip_Vertical(kNotched.data(), 8, &from, &to, 15), 1);
  EXPECT_TRUE(from == 2 && to == 5);
}

TEST(RectContain, HalfOpenAndSharedNamesAlike) {
  const tagPOINT min{0, 0}, max{10, 10}, in1{1, 1}, in2{9, 9}, edge{10, 9}, top{5, 10}, far{20, 20};
  const struct { tagPOINT p; int want; } pts[] = {{{0, 0}, 1}, {{9, 9}, 1}, {{10, 5}, 0}, {{5, 10}, 0}, {{-1, 5}, 0}};
  for (const auto& c : pts) {
    EXPECT_EQ(Rect_Contain_Point(&min, &max, &c.p), c.want);
    EXPECT_EQ(Rect_Contain_Polygon(&min, &max, &c.p, 1), c.want);
    EXPECT_EQ(Rect_Contain_Polyline(&min, &max, &c.p, 1), c.want);
  }
  for (auto fn : {&Rect_Contain_Rect, &Rect_Contain_Segment}) {
    EXPECT_EQ(fn(&min, &max, &min, &max), 0) << "not contained in itself";
    EXPECT_EQ(fn(&min, &max, &in2, &in1), 1) << "order of the points does not matter";
    EXPECT_EQ(fn(&min, &max, &in1, &edge), 0) << "shares the max-x side";
    EXPECT_EQ(fn(&min, &max, &far, &in1), 0);
  }
  const Ring in{{1, 1}, {9, 1}, {5, 9}}, one_out{{1, 1}, {9, 1}, top, {5, 5}};
  for (auto fn : {&Rect_Contain_Polygon, &Rect_Contain_Polyline}) {
    EXPECT_EQ(fn(&min, &max, in.data(), 3), 1);
    EXPECT_EQ(fn(&min, &max, one_out.data(), 4), 0);
  }
}

TEST(PolygonContain, RectSegmentPolylinePolygon) {
  const struct { tagPOINT a, b; int rect, seg; } cases[] = {
      {{1, 1}, {9, 9}, 1, 1}, {{0, 0}, {10, 10}, 0, 0}, {{0, 0}, {9, 9}, 1, 1}, {{1, 1}, {10, 9}, 0, 0},
      {{2, 10}, {8, 10}, 0, 0}, {{-1, 1}, {9, 9}, 0, 0}, {{0, 2}, {0, 8}, 1, 1}, {{3, 3}, {3, 3}, 1, 1}};
  for (const auto& c : cases) {
    EXPECT_EQ(Polygon_Contain_Rect(kSq.data(), 4, &c.a, &c.b), c.rect) << c.a.x << ',' << c.a.y;
    EXPECT_EQ(Polygon_Contain_Segment(kSq.data(), 4, &c.a, &c.b), c.seg) << c.a.x << ',' << c.a.y;
    EXPECT_EQ(Polygon_Contain_Segment(kSqClosed.data(), 5, &c.a, &c.b), c.seg) << "closed";
  }
  // A frame: all four sides of (2,2)-(17,17) run inside it, the hole is not examined.
  const Ring frame{{0, 0}, {20, 0}, {20, 20}, {0, 20}, {0, 0}, {5, 5}, {5, 15}, {15, 15}, {15, 5}, {5, 5}};
  const tagPOINT fmin{2, 2}, fmax{17, 17};
  EXPECT_EQ(Polygon_Contain_Rect(frame.data(), 10, &fmin, &fmax), 1);
  // Notched ring: ends in both rooms; box test fails at the notch floor, edge tests decide.
  const tagPOINT a{5, 8}, b{25, 8}, e{5, 2}, f{25, 5}, h{25, 7};
  EXPECT_EQ(Polygon_Contain_Segment(kNotched.data(), 8, &a, &b), 0);
  EXPECT_EQ(Polygon_Contain_Segment(kNotched.data(), 8, &e, &f), 1);
  EXPECT_EQ(Polygon_Contain_Segment(kNotched.data(), 8, &e, &h), 0);
  // Open edges of the hook lie inside; its closing edge runs over the notch.
  const Ring hook{{5, 8}, {5, 2}, {25, 2}, {25, 8}};
  EXPECT_EQ(Polygon_Contain_Polyline(kNotched.data(), 8, hook.data(), 4), 1);
  EXPECT_EQ(Polygon_Contain_Polygon(kNotched.data(), 8, hook.data(), 4), 0);
  EXPECT_EQ(Polygon_Contain_Polygon(kSq.data(), 4, kSq.data(), 4), 0) << "right side is outside";
}

TEST(RectClip, DocumentedExamplesDirectionAndUntouchedOnReject) {
  const tagPOINT min{0, 0}, max{10, 10};
  const struct { tagPOINT p, q; int want; tagPOINT wp, wq; } segs[] = {
      {{-5, 2}, {8, 15}, 1, {0, 7}, {3, 10}},     // codes 1 and 8
      {{8, 15}, {-5, 2}, 1, {3, 10}, {0, 7}},
      {{15, 5}, {-5, 5}, 1, {10, 5}, {0, 5}},     // direction kept
      {{1, 1}, {9, 8}, 1, {1, 1}, {9, 8}},        // inside: untouched
      {{3, 3}, {4, -4}, 1, {3, 3}, {3, 0}},       // truncated toward zero
      {{2, 8}, {-2, 12}, 1, {2, 8}, {0, 10}},     // corner code: left tried first
      {{8, 8}, {14, 12}, 1, {8, 8}, {10, 9}},     // corner code: top first, right met
      {{5, 0}, {8, -5}, 1, {5, 0}, {8, -5}},      // boxes only touch: q keeps its value
      {{-5, 6}, {6, 17}, 0, {-5, 6}, {6, 17}},    // misses the corner
      {{20, 20}, {30, 5}, 0, {20, 20}, {30, 5}}};  // both beyond the right side
  for (const auto& c : segs) {
    tagPOINT p = c.p, q = c.q;
    EXPECT_EQ(Rect_Clip_Segment(&min, &max, &p, &q), c.want) << c.p.x << ',' << c.p.y;
    EXPECT_TRUE(polytest::same(p, c.wp) && polytest::same(q, c.wq))
        << c.p.x << ',' << c.p.y << " -> (" << p.x << ',' << p.y << ")-(" << q.x << ',' << q.y << ')';
  }
  const struct { tagPOINT c1, c2; int want; tagPOINT w1, w2; } rects[] = {
      {{5, 5}, {20, 20}, 1, {5, 5}, {10, 10}}, {{10, 0}, {20, 10}, 0, {10, 0}, {20, 10}},
      {{-5, 0}, {0, 10}, 0, {-5, 0}, {0, 10}}, {{-5, -5}, {15, 15}, 1, {0, 0}, {10, 10}}};
  for (const auto& c : rects) {
    tagPOINT c1 = c.c1, c2 = c.c2;
    EXPECT_EQ(Rect_Clip_Rect(&min, &max, &c1, &c2), c.want);
    EXPECT_TRUE(polytest::same(c1, c.w1) && polytest::same(c2, c.w2)) << c.c1.x << ',' << c.c1.y;
  }
}

}  // namespace
