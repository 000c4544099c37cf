// Shape-relation answers that surprise a user, one named case each, as listed in
// docs/behaviours.md. Where a planar function answers otherwise, its answer is pinned
// beside the shape's, so both sides of the contrast are held.
#include <gtest/gtest.h>
#include <kelvor/planar.h>
#include <kelvor/shapes.h>

#include <cstdint>
#include <functional>

namespace {

struct Answer {
  const char* name;
  std::function<std::int32_t()> got;
  std::int32_t want;
};

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
  const Answer cases[] = {
      {"rect_does_not_contain_itself", [&] { return r.Contain(r); }, 0},
      {"rect_intersect_point_always_0",
       [&] {
         return r.Intersect(tagPOINT{5, 5});
       },
       0},
      {"polygon_intersect_point_always_0",
       [&] {
         return sq.Intersect(tagPOINT{5, 5});
       },
       0},
      {"polygon_does_not_contain_itself", [&] { return sq.Contain(sq); }, 0},
      {"two_point_polygon_is_empty_and_holds_nothing",
       [&] {
         return KPGON(2, two).Contain(tagPOINT{0, 1});
       },
       0},
      // Polyline on the bottom or left edge line: held, but not met (strict overlap).
      {"bottom_line_polyline_contained", [&] { return r.Contain(on_bottom); }, 1},
      {"bottom_line_polyline_rect_does_not_meet", [&] { return r.Intersect(on_bottom); }, 0},
      {"bottom_line_polyline_does_not_meet_rect", [&] { return on_bottom.Intersect(r); }, 0},
      {"bottom_line_polyline_planar_function_meets",
       [&] { return Rect_Polyline_Intersect(&r.ptMin, &r.ptMax, bottom, 2); }, 1},
      {"left_line_polyline_contained", [&] { return r.Contain(on_left); }, 1},
      {"left_line_polyline_rect_does_not_meet", [&] { return r.Intersect(on_left); }, 0},
      {"left_line_polyline_does_not_meet_rect", [&] { return on_left.Intersect(r); }, 0},
      {"inner_horizontal_polyline_meets", [&] { return r.Intersect(in_middle); }, 1},
      // Points and polylines: the half-open rcBound pre-tests.
      {"point_never_meets_vertical_polyline",
       [&] { return KPOINT(0, 5).Intersect(KPLINE(2, vertical)); }, 0},
      {"horizontal_polyline_does_not_meet_point_on_it",
       [&] {
         return in_middle.Intersect(tagPOINT{5, 5});
       },
       0},
      {"point_on_horizontal_polyline_meets_it", [&] { return KPOINT(5, 5).Intersect(in_middle); },
       1},
      {"polylines_on_one_line_never_meet",
       [&] { return KPLINE(2, along).Intersect(KPLINE(2, along2)); }, 0},
      {"polylines_sharing_only_an_end_do_not_meet",
       [&] { return KPLINE(2, first).Intersect(KPLINE(2, second)); }, 0},
      // Segment pre-test on the half-open rcBound.
      {"diagonal_polyline_misses_crossing_anti_diagonal",
       [&] { return KPLINE(2, diagonal).Intersect(anti_a, anti_b); }, 0},
      {"diagonal_polyline_misses_it_reversed",
       [&] { return KPLINE(2, diagonal).Intersect(anti_b, anti_a); }, 0},
      {"diagonal_polyline_planar_function_meets",
       [&] { return Segment_Polyline_Intersect(&anti_a, &anti_b, diagonal, 2); }, 1},
      {"square_polygon_misses_its_anti_diagonal", [&] { return sq.Intersect(anti_a, anti_b); }, 0},
      // Sampled polygon relations.
      {"polygon_contain_tests_every_third_vertex", [&] { return ug.Contain(qg); }, 1},
      {"polygon_contain_planar_function_refuses",
       [&] { return Polygon_Contain_Polygon(u, 8, quad, 4); }, 0},
      {"sampled_meet_misses_corner_sliver", [&] { return bg.Intersect(cg); }, 0},
      {"sampled_meet_misses_corner_sliver_reversed", [&] { return cg.Intersect(bg); }, 0},
      {"sliver_point_lies_in_both",
       [&] {
         return bg.Contain(tagPOINT{1, 0});
       },
       1},
      {"sliver_point_lies_in_both_other",
       [&] {
         return cg.Contain(tagPOINT{1, 0});
       },
       1},
      {"polygon_meet_planar_function_finds_sliver",
       [&] { return Polygon_Polygon_Intersect(big, 4, corner, 3); }, 1},
  };
  for (const Answer& c : cases) EXPECT_EQ(c.got(), c.want) << c.name;
}

TEST(ShapeBehaviours, InscribedRectangleTestsOnlyCorners) {
  // A square with a slot cut in from the right side at y in (49, 51), x > 60. Every
  // corner of the grown rectangle is inside, but its right side crosses the slot.
  tagPOINT slot[8] = {{0, 0},   {100, 0},  {100, 49},  {60, 49},
                      {60, 51}, {100, 51}, {100, 100}, {0, 100}};
  KRECT rc;
  GetMCR(rc, 8, slot, 1);
  EXPECT_EQ(rc.ptMin.x, 0) << "mcr_crosses_slot";
  EXPECT_EQ(rc.ptMin.y, 0) << "mcr_crosses_slot";
  EXPECT_EQ(rc.ptMax.x, 99) << "mcr_crosses_slot";
  EXPECT_EQ(rc.ptMax.y, 99) << "mcr_crosses_slot";
  const KPGON g(8, slot);
  EXPECT_EQ(g.Contain(tagPOINT{80, 50}), 0) << "slot_point_outside_polygon";
  EXPECT_EQ(rc.Contain(tagPOINT{80, 50}), 1) << "slot_point_inside_result";
  EXPECT_EQ(g.Contain(rc), 0) << "polygon_does_not_hold_result";
}

}  // namespace
