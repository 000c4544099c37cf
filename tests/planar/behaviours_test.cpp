// Planar answers that surprise a geometry user, one named case each, as listed in
// docs/behaviours.md. Every expectation is the library's actual answer: a case fails
// as soon as that answer changes, whichever way.
#include <gtest/gtest.h>
#include <kelvor/planar.h>

#include <cstdint>
#include <vector>

#include "support/answers.h"

namespace {

using I32 = std::int32_t;
using P = tagPOINT;
using Ring = std::vector<tagPOINT>;
const P O{0, 0}, TEN{10, 10};

// A comb of 16 teeth x in [4k, 4k + 2], y in [10, 20], on a base y in [0, 10]. The ring
// walks the teeth from right to left, so the row y = 15 crosses 32 edges and the
// crossing list (30 open-edge entries) loses the leftmost tooth.
Ring Comb() {
  Ring r{{0, 0}, {62, 0}};
  for (I32 k = 15; k >= 0; --k) {
    r.insert(r.end(), {{4 * k + 2, 20}, {4 * k, 20}});
    if (k > 0) r.insert(r.end(), {{4 * k, 10}, {4 * k - 2, 10}});
  }
  return r;
}
Ring Diamond(I32 r) { return {{0, -r}, {r, 0}, {0, r}, {-r, 0}}; }
I32 N(const Ring& r) { return static_cast<I32>(r.size()); }
I32 InRing(const Ring& r, P p) { return Polygon_Contain_Point(r.data(), N(r), &p); }
I32 Meets(P a, P b, P c, P d) { return Segment_Segment_Intersect(&a, &b, &c, &d, nullptr); }
I32 OnSegment(P p, P a, P b) { return Point_Segment_Intersect(&p, &a, &b); }
I32 SegmentMeetsRect(P p, P q) { return Segment_Rect_Intersect(&p, &q, &O, &TEN); }
I32 RectHolds(P p) { return Rect_Contain_Point(&O, &TEN, &p); }
I32 PointMeetsRect(P p) { return Point_Rect_Intersect(&p, &O, &TEN); }

TEST(PlanarBehaviours, NamedAnswers) {
  const Ring square{{0, 0}, {10, 0}, {10, 10}, {0, 10}}, comb = Comb(), d46341 = Diamond(46341);
  const Ring flat{{0, 0}, {10000000, 0}, {0, 300}};
  const P ten_zero{10, 0}, twenty_ten{20, 10}, anti_a{10, 0}, anti_b{0, 10}, tooth_a{0, 12},
      tooth_b{1, 18}, b_far{80000001, -40000001};
  ExpectAnswers({
      // Half-open rectangles; Point_Rect_Intersect alone takes the top edge in.
      {"rect_max_x_side_excluded", RectHolds({10, 5}), 0},
      {"rect_max_y_side_excluded", RectHolds({5, 10}), 0},
      {"rect_does_not_contain_itself", Rect_Contain_Rect(&O, &TEN, &O, &TEN), 0},
      {"rects_sharing_an_edge_do_not_meet", Rect_Rect_Intersect(&O, &TEN, &ten_zero, &twenty_ten),
       0},
      {"point_rect_intersect_takes_top_edge", PointMeetsRect({5, 10}), 1},
      {"point_rect_intersect_leaves_right_edge", PointMeetsRect({10, 5}), 0},
      // Strict bounding-box pre-test of the segment test.
      {"overlapping_horizontal_segments_do_not_meet", Meets({0, 0}, {10, 0}, {5, 0}, {15, 0}), 0},
      {"overlapping_vertical_segments_do_not_meet", Meets({0, 0}, {0, 10}, {0, 5}, {0, 15}), 0},
      {"shared_endpoint_at_box_corner_does_not_meet", Meets({0, 0}, {5, 5}, {5, 5}, {10, 0}), 0},
      {"collinear_inner_segment_first_is_not_found", Meets({0, 0}, TEN, {-5, -5}, {15, 15}), 0},
      {"collinear_inner_segment_second_is_found", Meets({-5, -5}, {15, 15}, {0, 0}, TEN), 1},
      // Products in double: exact only below 2^53.
      {"point_segment_exact_below_2p26_5",
       OnSegment({94906264, 94906265}, {0, 0}, {94906265, 94906266}), 0},
      {"point_segment_false_positive_from_94906266",
       OnSegment({94906265, 94906266}, {0, 0}, {94906266, 94906267}), 1},
      {"segments_sharing_end_point_missed_beyond_2p26",
       Meets({0, 0}, b_far, {40000001, 80000000}, b_far), 0},
      {"segments_sharing_end_point_missed_either_order",
       Meets({40000001, 80000000}, b_far, {0, 0}, b_far), 0},
      // Segment against rectangle: only the edges chosen by p's region code are tried.
      {"segment_rect_from_top_line_misses", SegmentMeetsRect({5, 10}, {15, 0}), 0},
      {"segment_rect_same_segment_reversed_meets", SegmentMeetsRect({15, 0}, {5, 10}), 1},
      {"segment_rect_anti_diagonal_misses", SegmentMeetsRect({10, 0}, {0, 10}), 0},
      {"segment_rect_anti_diagonal_reversed_misses", SegmentMeetsRect({0, 10}, {10, 0}), 0},
      {"segment_polygon_anti_diagonal_of_square_misses",
       Segment_Polygon_Intersect(&anti_a, &anti_b, square.data(), 4), 0},
      // Even-odd rule, crossings truncated from each edge's start point.
      {"two_point_ring_holds_a_point", InRing({{0, 0}, {1, 2}}, {0, 1}), 1},
      {"two_point_ring_reversed_holds_it_too", InRing({{1, 2}, {0, 0}}, {0, 1}), 1},
      {"near_edge_point_inside_in_one_ring_order", InRing({{0, 0}, {10, 3}, {20, 0}}, {3, 1}), 1},
      {"near_edge_point_outside_in_the_other_order", InRing({{20, 0}, {10, 3}, {0, 0}}, {3, 1}), 0},
      {"polygon_does_not_contain_its_bounding_rect",
       Polygon_Contain_Rect(square.data(), 4, &O, &TEN), 0},
      {"polygon_does_not_contain_itself",
       Polygon_Contain_Polygon(square.data(), 4, square.data(), 4), 0},
      // Wrapping 32-bit crossing product.
      {"diamond_46340_centre_inside", InRing(Diamond(46340), {0, 0}), 1},
      {"diamond_46341_centre_outside", InRing(d46341, {0, 0}), 0},
      {"diamond_46341_centre_row_span_not_contained",
       Polygon_Contain_Horizon(d46341.data(), 4, -10, 10, 0), 0},
      {"triangle_100000_centroid_outside",
       InRing({{0, 0}, {100000, 0}, {50000, 100000}}, {50000, 33333}), 0},
      {"flat_edge_outside_point_inside", InRing(flat, {1700000, 250}), 1},
      {"flat_edge_below_wrap_row_correct", InRing(flat, {1700000, 214}), 1},
      {"flat_edge_outside_point_at_row_214_outside", InRing(flat, {2900000, 214}), 0},
      // Span tests see at most 30 open-edge crossings per line.
      {"comb_leftmost_tooth_points_inside", InRing(comb, {0, 15}), 1},
      {"comb_leftmost_tooth_span_not_contained",
       Polygon_Contain_Horizon(comb.data(), N(comb), 0, 1, 15), 0},
      {"comb_leftmost_tooth_span_does_not_meet",
       Polygon_Horizon_Intersect(comb.data(), N(comb), 0, 1, 15), 0},
      {"comb_rightmost_tooth_span_contained",
       Polygon_Contain_Horizon(comb.data(), N(comb), 60, 61, 15), 1},
      {"comb_leftmost_tooth_rect_not_contained",
       Polygon_Contain_Rect(comb.data(), N(comb), &tooth_a, &tooth_b), 0},
      // The segment that clips to nothing below does pass through the rectangle.
      {"through_interior_from_top_line_passes_1_6", OnSegment({1, 6}, {-5, 10}, {10, 0}), 1},
      {"through_interior_from_top_line_1_6_inside", RectHolds({1, 6}), 1},
      {"through_interior_from_top_line_meets", SegmentMeetsRect({-5, 10}, {10, 0}), 1},
  });
}

TEST(PlanarBehaviours, ClippedSegmentsCrossingPointsAndSpans) {
  struct Clip {
    const char* name;
    P min, max, p, q;
    I32 want;
    P want_p, want_q;
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
      {"diagonal_cut_to_its_first_point", O, TEN, {-5, -5}, TEN, 1, {0, 0}, {0, 0}},
      {"through_interior_from_top_line_gives_0", O, TEN, {-5, 10}, {10, 0}, 0, {-5, 10}, {10, 0}},
      {"along_bottom_line_not_shortened", O, TEN, {5, 0}, {15, 0}, 1, {5, 0}, {15, 0}},
      {"along_left_line_not_shortened", O, TEN, {0, 5}, {0, 15}, 1, {0, 5}, {0, 15}},
  };
  for (const Clip& c : cases) {
    P p = c.p, q = c.q;
    ExpectAnswers({{c.name, Rect_Clip_Segment(&c.min, &c.max, &p, &q), c.want},
                   {c.name, p.x, c.want_p.x},
                   {c.name, p.y, c.want_p.y},
                   {c.name, q.x, c.want_q.x},
                   {c.name, q.y, c.want_q.y}});
  }
  // a-b runs along y = 0 to (n, 0); c-d is steep and passes exactly through b, so the
  // exact truncated crossing is b. The double product n * t exceeds 2^53 from n = 208065.
  const struct {
    const char* name;
    I32 n, want_x;
  } crossings[] = {{"exact_at_165140", 165140, 165140},
                   {"one_unit_short_at_208065", 208065, 208064}};
  for (const auto& c : crossings) {
    const P a{0, 0}, b{c.n, 0}, p{c.n - 1, c.n}, q{c.n + 1, -c.n};
    P out{-1, -1};
    ExpectAnswers({{c.name, Segment_Segment_Intersect(&a, &b, &p, &q, &out), 1},
                   {c.name, out.x, c.want_x},
                   {c.name, out.y, 0}});
  }
  // With the leftmost tooth of the comb dropped from the crossing list, the span is cut
  // to the second tooth.
  const Ring comb = Comb();
  I32 from = -5, to = 100;
  ExpectAnswers({{"comb_clip_skips_leftmost_tooth",
                  Polygon_Clip_Horizon(comb.data(), N(comb), &from, &to, 15), 1},
                 {"comb_clip_skips_leftmost_tooth", from, 4},
                 {"comb_clip_skips_leftmost_tooth", to, 6}});
}

}  // namespace
