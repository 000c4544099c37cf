// Tour section: shape objects on a local metre grid: a district polygon over
// the caller's own array, a route, a map view, their relations, and the
// largest rectangle grown inside the district (e.g. to place a label), all
// drawn in one panel.
#include <kelvor/kelvor.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tour.h"

namespace {

const char* yes_no(std::int32_t v) { return v != 0 ? "yes" : "no"; }

Pt At(const tagPOINT& p) { return {static_cast<double>(p.x), static_cast<double>(p.y)}; }

void print_rect(const char* label, const KRECT& r) {
  if (r.IsEmpty()) {
    std::printf("  %-22s (empty)\n", label);
    return;
  }
  std::printf("  %-22s (%d, %d) .. (%d, %d), %d x %d m\n", label, r.ptMin.x, r.ptMin.y, r.ptMax.x,
              r.ptMax.y, r.ptMax.x - r.ptMin.x, r.ptMax.y - r.ptMin.y);
}

}  // namespace

void tour_shapes(Panel& panel) {
  std::printf("\n-- Shapes: a district, a route and a map view --\n");

  // An L-shaped district (metres); the polygon borrows this array.
  tagPOINT district_pts[] = {{0, 0}, {1200, 0}, {1200, 500}, {500, 500}, {500, 1400}, {0, 1400}};
  const KPGON district(6, district_pts);
  print_rect("district bounds", district.rcBound);
  std::vector<Pt> outline;
  for (const tagPOINT& p : district_pts) outline.push_back(At(p));
  panel.Area(outline, "district");

  // A route entering from the west, crossing the district's foot.
  tagPOINT route_pts[] = {{-300, 200}, {400, 250}, {900, 300}, {1500, 900}};
  const KPLINE route(4, route_pts);
  print_rect("route bounds", route.rcBound);
  std::vector<Pt> route_line;
  for (const tagPOINT& p : route_pts) route_line.push_back(At(p));
  panel.Path(route_line, "route");

  // The map view currently on screen (half-open: its right and top edges
  // belong to the next tile).
  const KRECT view(600, 600, 1600, 1600);
  print_rect("view", view);
  panel.Box(At(view.ptMin), At(view.ptMax), "view");

  const KPOINT depot(250, 1000), cafe(800, 800);
  std::printf("  depot (250, 1000) in district:      %s\n", yes_no(district.Contain(depot.pt)));
  std::printf("  cafe (800, 800) in district:        %s (in the notch of the L)\n",
              yes_no(district.Contain(cafe.pt)));
  panel.Dot(At(depot.pt), district.Contain(depot.pt) ? "place inside" : "place outside", 4.5);
  panel.Label(At(depot.pt), "depot", "label");
  panel.Dot(At(cafe.pt), district.Contain(cafe.pt) ? "place inside" : "place outside", 4.5);
  panel.Label(At(cafe.pt), "cafe", "label");
  std::printf("  route meets district:               %s\n", yes_no(route.Intersect(district)));
  std::printf("  route meets view:                   %s\n", yes_no(view.Intersect(route)));
  std::printf("  district meets view:                %s (bounds overlap, shapes do not)\n",
              yes_no(district.Intersect(view)));
  std::printf("  view holds the cafe:                %s\n", yes_no(view.Contain(cafe.pt)));

  // Clip the route's last leg to the view.
  tagPOINT a = route_pts[2], b = route_pts[3];
  if (view.Clipping(a, b) != 0) {
    std::printf("  last leg clipped to view:           (%d, %d) -> (%d, %d)\n", a.x, a.y, b.x, b.y);
    panel.Segment(At(a), At(b), "clipped");
  }

  // Copies share the caller's array: moving a vertex shows through both,
  // but the cached bounds stay until Set is called again.
  KPGON copy(district);
  district_pts[1].x = 1300;
  std::printf("  after moving a vertex: copy sees x = %d, bound still %d\n", copy.pPoints[1].x,
              copy.rcBound.ptMax.x);
  copy.Set(copy.nCount, copy.pPoints);
  std::printf("  after Set:             bound now %d\n", copy.rcBound.ptMax.x);
  district_pts[1].x = 1200;

  // The largest rectangle grown inside the district, 10 m at a time.
  KRECT label;
  GetMCR(label, 6, district_pts, 10);
  print_rect("inscribed (step 10 m)", label);
  GetMCR(label, 6, district_pts, 1);
  print_rect("inscribed (step 1 m)", label);
  if (!label.IsEmpty()) {
    panel.Box(At(label.ptMin), At(label.ptMax), "inscribed");
    panel.Label({(label.ptMin.x + label.ptMax.x) / 2.0,
                 label.ptMin.y + (label.ptMax.y - label.ptMin.y) / 4.0},
                "inscribed " + std::to_string(label.ptMax.x - label.ptMin.x) + " \u00d7 " +
                    std::to_string(label.ptMax.y - label.ptMin.y) + " m",
                "label", 0, -4, Panel::Anchor::kMiddle);
  }
  panel.Legend("view", "map view");
  panel.Legend("clipped", "last leg in the view");
  panel.Legend("inscribed", "GetMCR");
}
