// Planar predicates by example: points and segments, empty figures, clips and polyline
// meetings (the properties against the models are checked by the segments and polygons
// fuzz targets).
#include <gtest/gtest.h>
#include <kelvor/planar.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "support/answers.h"
#include "support/rings.h"

namespace {

using I32 = std::int32_t;
using rings::count;
using rings::Ring;
using rings::xy;

TEST(PointTests, SegmentClosedRectHalfOpen) {
  const tagPOINT a{0, 0}, b{10, 5}, on{4, 2}, off{5, 3}, beyond{20, 10};
  const tagPOINT max{10, 10}, above{4, 3};
  ExpectAnswers({
      {"segment holds its end point", Point_Segment_Intersect(&b, &a, &b), 1},
      {"segment holds an inner point, either direction", Point_Segment_Intersect(&on, &b, &a), 1},
      {"point off the line", Point_Segment_Intersect(&off, &a, &b), 0},
      {"on the line beyond the end", Point_Segment_Intersect(&beyond, &a, &b), 0},
      {"degenerate segment holds its point", Point_Segment_Intersect(&on, &on, &on), 1},
      {"degenerate segment holds nothing else", Point_Segment_Intersect(&off, &on, &on), 0},
      {"rect holds its min corner", Point_Rect_Intersect(&a, &a, &max), 1},
      {"equal points", Point_Point_Intersect(&on, &on), 1},
      {"points differing in y", Point_Point_Intersect(&on, &above), 0},
  });
}

TEST(Figures, EmptyFiguresMeetAndHoldNothingButAreHeldVacuously) {
  const tagPOINT p{3, 3}, q{5, 5}, *const z = nullptr;
  for (const I32 n : {0, -1, INT32_MIN}) {  // counts of zero or below: nothing is read
    SCOPED_TRACE(testing::Message() << "count " << n);
    I32 from = -5, to = 5;
    ExpectAnswers({
        {"point in empty polygon", Point_Polygon_Intersect(&p, z, n), 0},
        {"empty polygon contains point", Polygon_Contain_Point(z, n, &p), 0},
        {"point on empty polyline", Point_Polyline_Intersect(&p, z, n), 0},
        {"segment meets empty polyline", Segment_Polyline_Intersect(&p, &q, z, n), 0},
        {"segment meets empty polygon", Segment_Polygon_Intersect(&p, &q, z, n), 0},
        {"rect meets empty polyline", Rect_Polyline_Intersect(&p, &q, z, n), 0},
        {"rect meets empty polygon", Rect_Polygon_Intersect(&p, &q, z, n), 0},
        {"empty polyline meets row span", Polyline_Horizon_Intersect(z, n, -9, 9, 5), 0},
        {"empty polyline meets column span", Polyline_Vertical_Intersect(z, n, -9, 9, 5), 0},
        {"empty polygon meets row span", Polygon_Horizon_Intersect(z, n, -9, 9, 5), 0},
        {"empty polygon meets column span", Polygon_Vertical_Intersect(z, n, -9, 9, 5), 0},
        {"polygon meets empty polygon", Polygon_Polygon_Intersect(&p, 1, z, n), 0},
        {"empty polygon meets polygon", Polygon_Polygon_Intersect(z, n, &p, 1), 0},
        {"empty polygon contains row span", Polygon_Contain_Horizon(z, n, 0, 1, 0), 0},
        {"empty polygon contains column span", Polygon_Contain_Vertical(z, n, 0, 1, 0), 0},
        {"empty polygon contains segment", Polygon_Contain_Segment(z, n, &p, &q), 0},
        {"empty polygon contains rect", Polygon_Contain_Rect(z, n, &p, &q), 0},
        {"empty polygon contains one-point polygon", Polygon_Contain_Polygon(z, n, &p, 1), 0},
        {"empty polygon clips row span", Polygon_Clip_Horizon(z, n, &from, &to, 0), 0},
        {"empty polygon clips column span", Polygon_Clip_Vertical(z, n, &from, &to, 0), 0},
        {"rect contains empty polygon", Rect_Contain_Polygon(&p, &q, z, n), 1},
        {"rect contains empty polyline", Rect_Contain_Polyline(&p, &q, z, n), 1},
        {"empty polygon contains one-point polyline", Polygon_Contain_Polyline(z, n, &p, 1), 1},
        {"empty polygon contains empty polygon", Polygon_Contain_Polygon(z, n, z, 0), 1},
    });
    EXPECT_EQ(std::make_pair(from, to), std::make_pair(-5, 5)) << "a rejected clip keeps the span";
  }
}

TEST(Clip, RectSegmentExamples) {
  const tagPOINT min{0, 0}, max{10, 10};
  const struct {
    const char* name;
    tagPOINT p, q;
    I32 want;
    tagPOINT wp, wq;
  } cases[] = {
      {"one end inside", {5, 5}, {20, 5}, 1, {5, 5}, {10, 5}},
      {"left to right", {-5, 5}, {15, 5}, 1, {0, 5}, {10, 5}},
      {"right to left", {15, 5}, {-5, 5}, 1, {10, 5}, {0, 5}},
      {"left and above", {-5, 2}, {8, 15}, 1, {0, 7}, {3, 10}},
      {"both beyond the right side", {20, 20}, {30, 5}, 0, {20, 20}, {30, 5}},
  };
  for (auto c : cases) {
    EXPECT_EQ(Rect_Clip_Segment(&min, &max, &c.p, &c.q), c.want) << c.name;
    EXPECT_EQ(xy(c.p), xy(c.wp)) << c.name;
    EXPECT_EQ(xy(c.q), xy(c.wq)) << c.name;
  }
}

TEST(Clip, SpanExamples) {
  // Two rooms joined along the bottom: inside spans 0-10 and 20-30 on y = 7.
  const Ring notched{{0, 0}, {30, 0}, {30, 10}, {20, 10}, {20, 5}, {10, 5}, {10, 10}, {0, 10}};
  const Ring square{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  const struct {
    const char* name;
    const Ring& ring;
    bool row;
    I32 at, from, to, want, wfrom, wto;
  } cases[] = {
      {"cut to the first room", notched, true, 7, -5, 40, 1, 0, 10},
      {"starts inside the first room", notched, true, 7, 3, 25, 1, 3, 10},
      {"between the rooms", notched, true, 7, 12, 18, 0, 12, 18},
      {"reaches into the second room", notched, true, 7, 12, 22, 1, 20, 22},
      {"starts inside the second room", notched, true, 7, 22, 40, 1, 22, 30},
      {"column through the square", square, false, 5, -5, 20, 1, 0, 10},
  };
  for (auto c : cases) {
    const auto clip = c.row ? &Polygon_Clip_Horizon : &Polygon_Clip_Vertical;
    EXPECT_EQ(clip(c.ring.data(), count(c.ring), &c.from, &c.to, c.at), c.want) << c.name;
    EXPECT_EQ(std::make_pair(c.from, c.to), std::make_pair(c.wfrom, c.wto)) << c.name;
  }
}

TEST(Polyline, PointSegmentAndSpanMeetings) {
  const tagPOINT zig[] = {{0, 0}, {10, 10}, {20, 0}}, on{15, 5}, off{15, 6};
  const tagPOINT bar[] = {{0, 5}, {20, 5}}, high[] = {{0, 12}, {20, 12}};
  const tagPOINT pole[] = {{0, 0}, {0, 10}};  // edge (0,0)-(0,10)
  ExpectAnswers({
      {"point on the second edge", Point_Polyline_Intersect(&on, zig, 3), 1},
      {"point beside it", Point_Polyline_Intersect(&off, zig, 3), 0},
      {"no edges below two points", Point_Polyline_Intersect(&zig[0], zig, 1), 0},
      {"bar crosses the zigzag", Polyline_Polyline_Intersect(zig, 3, bar, 2), 1},
      {"bar above the zigzag", Polyline_Polyline_Intersect(zig, 3, high, 2), 0},
      {"first polyline of one point", Polyline_Polyline_Intersect(zig, 1, bar, 2), 0},
      {"upper end outside the straddle", Polyline_Horizon_Intersect(pole, 2, 0, 1, 10), 0},
      {"lower end inside the straddle", Polyline_Horizon_Intersect(pole, 2, 0, 1, 0), 1},
      {"row span end is exclusive", Polyline_Horizon_Intersect(pole, 2, -5, 0, 5), 0},
      {"column span holds the crossing", Polyline_Vertical_Intersect(bar, 2, 5, 6, 10), 1},
      {"column span above the crossing", Polyline_Vertical_Intersect(bar, 2, 6, 9, 10), 0},
  });
}

}  // namespace
