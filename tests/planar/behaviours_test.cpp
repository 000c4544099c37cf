// Planar answers that surprise a geometry user, one named case each, as listed in
// docs/behaviours.md. Every expectation is the library's actual answer: a case fails
// as soon as that answer changes, whichever way.
#include <gtest/gtest.h>
#include <kelvor/planar.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace {

struct Answer {
  const char* name;
  std::function<std::int32_t()> got;
  std::int32_t want;
};

// A comb of 16 teeth x in [4k, 4k + 2], y in [10, 20], on a base y in [0, 10]. The ring
// walks the teeth from right to left, so the row y = 15 crosses 32 edges and the
// crossing list (30 open-edge entries) loses the leftmost tooth.
std::vector<tagPOINT> Comb() {
  std::vector<tagPOINT> r{{0, 0}, {62, 0}};
  for (std::int32_t k = 15; k >= 0; --k) {
    r.push_back({4 * k + 2, 20});
    r.push_back({4 * k, 20});
    if (k > 0) {
      r.push_back({4 * k, 10});
      r.push_back({4 * k - 2, 10});
    }
  }
  return r;
}

std::vector<tagPOINT> Diamond(std::int32_t r) { return {{0, -r}, {r, 0}, {0, r}, {-r, 0}}; }

std::int32_t InRing(const std::vector<tagPOINT>& ring, tagPOINT p) {
  return Polygon_Contain_Point(ring.data(), static_cast<std::int32_t>(ring.size()), &p);
}

std::int32_t Meets(tagPOINT a, tagPOINT b, tagPOINT c, tagPOINT d) {
  return Segment_Segment_Intersect(&a, &b, &c, &d, nullptr);
}

std::int32_t OnSegment(tagPOINT p, tagPOINT a, tagPOINT b) {
  return Point_Segment_Intersect(&p, &a, &b);
}

std::int32_t SegmentMeetsRect(tagPOINT p, tagPOINT q, tagPOINT min, tagPOINT max) {
  return Segment_Rect_Intersect(&p, &q, &min, &max);
}

TEST(PlanarBehaviours, NamedAnswers) {
  const tagPOINT o{0, 0}, ten{10, 10};
  const std::vector<tagPOINT> square{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  const std::vector<tagPOINT> comb = Comb();
  const std::int32_t nc = static_cast<std::int32_t>(comb.size());
  const Answer cases[] = {
      // Half-open rectangles; Point_Rect_Intersect alone takes the top edge in.
      {"rect_max_x_side_excluded",
       [&] {
         tagPOINT p{10, 5};
         return Rect_Contain_Point(&o, &ten, &p);
       },
       0},
      {"rect_max_y_side_excluded",
       [&] {
         tagPOINT p{5, 10};
         return Rect_Contain_Point(&o, &ten, &p);
       },
       0},
      {"rect_does_not_contain_itself", [&] { return Rect_Contain_Rect(&o, &ten, &o, &ten); }, 0},
      {"rects_sharing_an_edge_do_not_meet",
       [&] {
         tagPOINT a{10, 0}, b{20, 10};
         return Rect_Rect_Intersect(&o, &ten, &a, &b);
       },
       0},
      {"point_rect_intersect_takes_top_edge",
       [&] {
         tagPOINT p{5, 10};
         return Point_Rect_Intersect(&p, &o, &ten);
       },
       1},
      {"point_rect_intersect_leaves_right_edge",
       [&] {
         tagPOINT p{10, 5};
         return Point_Rect_Intersect(&p, &o, &ten);
       },
       0},
      // Strict bounding-box pre-test of the segment test.
      {"overlapping_horizontal_segments_do_not_meet",
       [] {
         return Meets({0, 0}, {10, 0}, {5, 0}, {15, 0});
       },
       0},
      {"overlapping_vertical_segments_do_not_meet",
       [] {
         return Meets({0, 0}, {0, 10}, {0, 5}, {0, 15});
       },
       0},
      {"shared_endpoint_at_box_corner_does_not_meet",
       [] {
         return Meets({0, 0}, {5, 5}, {5, 5}, {10, 0});
       },
       0},
      {"collinear_inner_segment_first_is_not_found",
       [] {
         return Meets({0, 0}, {10, 10}, {-5, -5}, {15, 15});
       },
       0},
      {"collinear_inner_segment_second_is_found",
       [] {
         return Meets({-5, -5}, {15, 15}, {0, 0}, {10, 10});
       },
       1},
      // Products in double: exact only below 2^53.
      {"point_segment_exact_below_2p26_5",
       [] {
         return OnSegment({94906264, 94906265}, {0, 0}, {94906265, 94906266});
       },
       0},
      {"point_segment_false_positive_from_94906266",
       [] {
         return OnSegment({94906265, 94906266}, {0, 0}, {94906266, 94906267});
       },
       1},
      {"segments_sharing_end_point_missed_beyond_2p26",
       [] {
         const tagPOINT b{80000001, -40000001};
         return Meets({0, 0}, b, {40000001, 80000000}, b);
       },
       0},
      {"segments_sharing_end_point_missed_either_order",
       [] {
         const tagPOINT b{80000001, -40000001};
         return Meets({40000001, 80000000}, b, {0, 0}, b);
       },
       0},
      // Segment against rectangle: only the edges chosen by p's region code are tried.
      {"segment_rect_from_top_line_misses",
       [] {
         return SegmentMeetsRect({5, 10}, {15, 0}, {0, 0}, {10, 10});
       },
       0},
      {"segment_rect_same_segment_reversed_meets",
       [] {
         return SegmentMeetsRect({15, 0}, {5, 10}, {0, 0}, {10, 10});
       },
       1},
      {"segment_rect_anti_diagonal_misses",
       [] {
         return SegmentMeetsRect({10, 0}, {0, 10}, {0, 0}, {10, 10});
       },
       0},
      {"segment_rect_anti_diagonal_reversed_misses",
       [] {
         return SegmentMeetsRect({0, 10}, {10, 0}, {0, 0}, {10, 10});
       },
       0},
      {"segment_polygon_anti_diagonal_of_square_misses",
       [&] {
         tagPOINT a{10, 0}, b{0, 10};
         return Segment_Polygon_Intersect(&a, &b, square.data(), 4);
       },
       0},
      // Even-odd rule, crossings truncated from each edge's start point.
      {"two_point_ring_holds_a_point",
       [] {
         return InRing({{0, 0}, {1, 2}}, {0, 1});
       },
       1},
      {"two_point_ring_reversed_holds_it_too",
       [] {
         return InRing({{1, 2}, {0, 0}}, {0, 1});
       },
       1},
      {"near_edge_point_inside_in_one_ring_order",
       [] {
         return InRing({{0, 0}, {10, 3}, {20, 0}}, {3, 1});
       },
       1},
      {"near_edge_point_outside_in_the_other_order",
       [] {
         return InRing({{20, 0}, {10, 3}, {0, 0}}, {3, 1});
       },
       0},
      {"polygon_does_not_contain_its_bounding_rect",
       [&] { return Polygon_Contain_Rect(square.data(), 4, &o, &ten); }, 0},
      {"polygon_does_not_contain_itself",
       [&] { return Polygon_Contain_Polygon(square.data(), 4, square.data(), 4); }, 0},
      // Wrapping 32-bit crossing product.
      {"diamond_46340_centre_inside",
       [] {
         return InRing(Diamond(46340), {0, 0});
       },
       1},
      {"diamond_46341_centre_outside",
       [] {
         return InRing(Diamond(46341), {0, 0});
       },
       0},
      {"diamond_46341_centre_row_span_not_contained",
       [] {
         const std::vector<tagPOINT> d = Diamond(46341);
         return Polygon_Contain_Horizon(d.data(), 4, -10, 10, 0);
       },
       0},
      {"triangle_100000_centroid_outside",
       [] {
         return InRing({{0, 0}, {100000, 0}, {50000, 100000}}, {50000, 33333});
       },
       0},
      {"flat_edge_outside_point_inside",
       [] {
         return InRing({{0, 0}, {10000000, 0}, {0, 300}}, {1700000, 250});
       },
       1},
      {"flat_edge_below_wrap_row_correct",
       [] {
         return InRing({{0, 0}, {10000000, 0}, {0, 300}}, {1700000, 214});
       },
       1},
      {"flat_edge_outside_point_at_row_214_outside",
       [] {
         return InRing({{0, 0}, {10000000, 0}, {0, 300}}, {2900000, 214});
       },
       0},
      // Span tests see at most 30 open-edge crossings per line.
      {"comb_leftmost_tooth_points_inside",
       [&] {
         return InRing(comb, {0, 15});
       },
       1},
      {"comb_leftmost_tooth_span_not_contained",
       [&] { return Polygon_Contain_Horizon(comb.data(), nc, 0, 1, 15); }, 0},
      {"comb_leftmost_tooth_span_does_not_meet",
       [&] { return Polygon_Horizon_Intersect(comb.data(), nc, 0, 1, 15); }, 0},
      {"comb_rightmost_tooth_span_contained",
       [&] { return Polygon_Contain_Horizon(comb.data(), nc, 60, 61, 15); }, 1},
      {"comb_leftmost_tooth_rect_not_contained",
       [&] {
         tagPOINT a{0, 12}, b{1, 18};
         return Polygon_Contain_Rect(comb.data(), nc, &a, &b);
       },
       0},
  };
  for (const Answer& c : cases) EXPECT_EQ(c.got(), c.want) << c.name;
}

TEST(PlanarBehaviours, ClippedSegmentsAndTheirResults) {
  struct Clip {
    const char* name;
    tagPOINT min, max, p, q;
    std::int32_t want;
    tagPOINT want_p, want_q;
  };
  const Clip cases[] = {
      {"direction_reversed_when_crossings_share_x",
       {0, -7},
       {6, -3},
       {-4, -8},
       {8, 5},
       1,
       {0, -3},
       {0, -4}},
      {"same_segment_given_backwards_is_another_piece",
       {0, -7},
       {6, -3},
       {8, 5},
       {-4, -8},
       1,
       {1, -3},
       {0, -3}},
      {"diagonal_cut_to_its_first_point", {0, 0}, {10, 10}, {-5, -5}, {10, 10}, 1, {0, 0}, {0, 0}},
      {"through_interior_from_top_line_gives_0",
       {0, 0},
       {10, 10},
       {-5, 10},
       {10, 0},
       0,
       {-5, 10},
       {10, 0}},
      {"along_bottom_line_not_shortened", {0, 0}, {10, 10}, {5, 0}, {15, 0}, 1, {5, 0}, {15, 0}},
      {"along_left_line_not_shortened", {0, 0}, {10, 10}, {0, 5}, {0, 15}, 1, {0, 5}, {0, 15}},
  };
  for (const Clip& c : cases) {
    tagPOINT p = c.p, q = c.q;
    EXPECT_EQ(Rect_Clip_Segment(&c.min, &c.max, &p, &q), c.want) << c.name;
    EXPECT_EQ(p.x, c.want_p.x) << c.name;
    EXPECT_EQ(p.y, c.want_p.y) << c.name;
    EXPECT_EQ(q.x, c.want_q.x) << c.name;
    EXPECT_EQ(q.y, c.want_q.y) << c.name;
  }
  // The segment that clips to nothing above does pass through the rectangle.
  const tagPOINT min{0, 0}, max{10, 10}, p{-5, 10}, q{10, 0}, inner{1, 6};
  EXPECT_EQ(Point_Segment_Intersect(&inner, &p, &q), 1) << "through_interior_from_top_line";
  EXPECT_EQ(Rect_Contain_Point(&min, &max, &inner), 1) << "through_interior_from_top_line";
  EXPECT_EQ(Segment_Rect_Intersect(&p, &q, &min, &max), 1) << "through_interior_from_top_line";
}

TEST(PlanarBehaviours, CrossingPointAgainstExactTruncation) {
  // a-b runs along y = 0 to (n, 0); c-d is steep and passes exactly through b, so the
  // exact truncated crossing is b. The double product n * t exceeds 2^53 from n = 208065.
  struct Crossing {
    const char* name;
    std::int32_t n;
    tagPOINT want;
  };
  const Crossing cases[] = {
      {"exact_at_165140", 165140, {165140, 0}},
      {"one_unit_short_at_208065", 208065, {208064, 0}},
  };
  for (const Crossing& c : cases) {
    const tagPOINT a{0, 0}, b{c.n, 0}, p{c.n - 1, c.n}, q{c.n + 1, -c.n};
    tagPOINT out{-1, -1};
    EXPECT_EQ(Segment_Segment_Intersect(&a, &b, &p, &q, &out), 1) << c.name;
    EXPECT_EQ(out.x, c.want.x) << c.name;
    EXPECT_EQ(out.y, c.want.y) << c.name;
  }
}

TEST(PlanarBehaviours, SpanClipKeepsTheFirstListedSpan) {
  // With the leftmost tooth of the comb dropped from the crossing list, the span is cut
  // to the second tooth.
  const std::vector<tagPOINT> comb = Comb();
  std::int32_t from = -5, to = 100;
  EXPECT_EQ(
      Polygon_Clip_Horizon(comb.data(), static_cast<std::int32_t>(comb.size()), &from, &to, 15), 1);
  EXPECT_EQ(from, 4) << "comb_clip_skips_leftmost_tooth";
  EXPECT_EQ(to, 6) << "comb_clip_skips_leftmost_tooth";
}

}  // namespace
