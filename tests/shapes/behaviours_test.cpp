// Shape-relation answers that surprise a user, one named case each, as listed in
// docs/behaviours.md. Where a planar function answers otherwise, its answer is pinned
// beside the shape's, so both sides of the contrast are held.
#include <gtest/gtest.h>
#include <kelvor/planar.h>
#include <kelvor/shapes.h>

#include <cstdint>

#include "support/answers.h"

namespace {

TEST(ShapeBehaviours, NamedAnswers) {
  const KRECT r(0, 0, 10, 10);
  tagPOINT bottom[2] = {{2, 0}, {8, 0}};
  tagPOINT left[2] = {{0, 2}, {0, 8}};
  tagPOINT vertical[2] = {{0, 0}, {0, 10}};
  tagPOINT horizontal[2] = {{2, 5}, {8, 5}};
  tagPOINT diagonal[2] = {{0, 0}, {10, 10}};
  tagPOINT along[2] = {{0, 0}, {10, 0}}, along2[2] = {{5, 0}, {15, 0}};
  tagPOINT first[2] = {{0, 0}, {5, 5}}, second[2] = {{5, 5}, {10, 10}};
  tagPOINT square[4] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  tagPOINT two[2] = {{0, 0}, {1, 2}};
  // A U whose notch is x in (10, 20), y >= 10; the quad's vertices 1 and 2 lie in it.
  tagPOINT u[8] = {{0, 0}, {30, 0}, {30, 30}, {20, 30}, {20, 10}, {10, 10}, {10, 30}, {0, 30}};
  tagPOINT quad[4] = {{5, 5}, {15, 20}, {16, 20}, {25, 5}};
  // The triangle cuts the square's corner: they share (0, 0) and (1, 0), between probes.
  tagPOINT big[4] = {{0, 0}, {100, 0}, {100, 100}, {0, 100}};
  tagPOINT corner[3] = {{-10, -10}, {12, -10}, {-10, 12}};
  const tagPOINT anti_a{10, 0}, anti_b{0, 10};

  const KPLINE on_bottom(2, bottom), on_left(2, left), in_middle(2, horizontal);
  const KPGON sq(4, square), ug(8, u), qg(4, quad), bg(4, big), cg(3, corner);
  ExpectAnswers({
      {"rect_does_not_contain_itself", r.Contain(r), 0},
      {"rect_intersect_point_always_0", r.Intersect(tagPOINT{5, 5}), 0},
      {"polygon_intersect_point_always_0", sq.Intersect(tagPOINT{5, 5}), 0},
      {"polygon_does_not_contain_itself", sq.Contain(sq), 0},
      {"two_point_polygon_is_empty_and_holds_nothing", KPGON(2, two).Contain(tagPOINT{0, 1}), 0},
      // Polyline on the bottom or left edge line: held, but not met (strict overlap).
      {"bottom_line_polyline_contained", r.Contain(on_bottom), 1},
      {"bottom_line_polyline_rect_does_not_meet", r.Intersect(on_bottom), 0},
      {"bottom_line_polyline_does_not_meet_rect", on_bottom.Intersect(r), 0},
      {"bottom_line_polyline_planar_function_meets",
       Rect_Polyline_Intersect(&r.ptMin, &r.ptMax, bottom, 2), 1},
      {"left_line_polyline_contained", r.Contain(on_left), 1},
      {"left_line_polyline_rect_does_not_meet", r.Intersect(on_left), 0},
      {"left_line_polyline_does_not_meet_rect", on_left.Intersect(r), 0},
      {"inner_horizontal_polyline_meets", r.Intersect(in_middle), 1},
      // Points and polylines: the half-open rcBound pre-tests.
      {"point_never_meets_vertical_polyline", KPOINT(0, 5).Intersect(KPLINE(2, vertical)), 0},
      {"horizontal_polyline_does_not_meet_point_on_it", in_middle.Intersect(tagPOINT{5, 5}), 0},
      {"point_on_horizontal_polyline_meets_it", KPOINT(5, 5).Intersect(in_middle), 1},
      {"polylines_on_one_line_never_meet", KPLINE(2, along).Intersect(KPLINE(2, along2)), 0},
      {"polylines_sharing_only_an_end_do_not_meet", KPLINE(2, first).Intersect(KPLINE(2, second)),
       0},
      // Segment pre-test on the half-open rcBound.
      {"diagonal_polyline_misses_crossing_anti_diagonal",
       KPLINE(2, diagonal).Intersect(anti_a, anti_b), 0},
      {"diagonal_polyline_misses_it_reversed", KPLINE(2, diagonal).Intersect(anti_b, anti_a), 0},
      {"diagonal_polyline_planar_function_meets",
       Segment_Polyline_Intersect(&anti_a, &anti_b, diagonal, 2), 1},
      {"square_polygon_misses_its_anti_diagonal", sq.Intersect(anti_a, anti_b), 0},
      // Sampled polygon relations.
      {"polygon_contain_tests_every_third_vertex", ug.Contain(qg), 1},
      {"polygon_contain_planar_function_refuses", Polygon_Contain_Polygon(u, 8, quad, 4), 0},
      {"sampled_meet_misses_corner_sliver", bg.Intersect(cg), 0},
      {"sampled_meet_misses_corner_sliver_reversed", cg.Intersect(bg), 0},
      {"sliver_point_lies_in_both", bg.Contain(tagPOINT{1, 0}), 1},
      {"sliver_point_lies_in_both_other", cg.Contain(tagPOINT{1, 0}), 1},
      {"polygon_meet_planar_function_finds_sliver", Polygon_Polygon_Intersect(big, 4, corner, 3),
       1},
  });
}

TEST(ShapeBehaviours, InscribedRectangleTestsOnlyCorners) {
  // A square with a slot cut in from the right side at y in (49, 51), x > 60. Every
  // corner of the grown rectangle is inside, but its right side crosses the slot.
  tagPOINT slot[8] = {{0, 0},   {100, 0},  {100, 49},  {60, 49},
                      {60, 51}, {100, 51}, {100, 100}, {0, 100}};
  KRECT rc;
  GetMCR(rc, 8, slot, 1);
  const KPGON g(8, slot);
  ExpectAnswers({
      {"mcr_crosses_slot: min x", rc.ptMin.x, 0},
      {"mcr_crosses_slot: min y", rc.ptMin.y, 0},
      {"mcr_crosses_slot: max x", rc.ptMax.x, 99},
      {"mcr_crosses_slot: max y", rc.ptMax.y, 99},
      {"slot_point_outside_polygon", g.Contain(tagPOINT{80, 50}), 0},
      {"slot_point_inside_result", rc.Contain(tagPOINT{80, 50}), 1},
      {"polygon_does_not_hold_result", g.Contain(rc), 0},
  });
}

}  // namespace
