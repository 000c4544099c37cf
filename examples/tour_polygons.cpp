// Tour section: a city district with a notch on a local metre grid — which
// places lie inside it, a route clipped to a map tile, and the district's
// inside stretches along one street, all drawn in one panel.
#include <kelvor/kelvor.h>

#include <cstdio>
#include <vector>

#include "tour.h"

namespace {

// District outline in metres east/north of a survey origin, counterclockwise;
// the notch on the north side is a park that belongs to the next district.
const tagPOINT kDistrict[] = {
    {0, 0}, {1800, 0}, {1800, 1400}, {1150, 1400}, {1150, 800}, {650, 800}, {650, 1400}, {0, 1400},
};
constexpr std::int32_t kCorners = sizeof(kDistrict) / sizeof(kDistrict[0]);

struct Place {
  const char* name;
  tagPOINT at;
};

const Place kPlaces[] = {
    {"town hall", {300, 1000}},   {"park fountain", {900, 1100}}, {"market", {900, 400}},
    {"ferry pier", {1500, 1300}}, {"west gate", {0, 700}},        {"east gate", {1800, 700}},
    {"station", {2300, 600}},
};

Pt At(const tagPOINT& p) { return {static_cast<double>(p.x), static_cast<double>(p.y)}; }

void print_point(const tagPOINT& p) {
  std::printf("(%d, %d)", static_cast<int>(p.x), static_cast<int>(p.y));
}

}  // namespace

void tour_polygons(Panel& panel) {
  std::printf("\n-- A district with a notch: containment and clipping --\n");
  std::printf("  district outline, %d corners, metres:", static_cast<int>(kCorners));
  std::vector<Pt> outline;
  for (const tagPOINT& p : kDistrict) {
    std::printf(" ");
    print_point(p);
    outline.push_back(At(p));
  }
  std::printf("\n");
  panel.Area(outline, "district");

  // West and south boundaries belong to the district, east and north do not.
  for (const Place& place : kPlaces) {
    const int inside = Polygon_Contain_Point(kDistrict, kCorners, &place.at);
    std::printf("  %-14s ", place.name);
    print_point(place.at);
    std::printf("  %s\n", inside ? "inside" : "outside");
    panel.Dot(At(place.at), inside ? "place inside" : "place outside", 4.5);
    panel.Label(At(place.at), place.name, "label");
  }

  // A bus route from the station to the town hall, clipped to the map tile
  // that is on screen (east and north tile edges lie just outside it).
  const tagPOINT tile_min{500, 200}, tile_max{1600, 1200};
  tagPOINT from{2300, 600}, to{300, 1000};
  panel.Box(At(tile_min), At(tile_max), "view");
  panel.Segment(At(from), At(to), "route dashed");
  std::printf("  route ");
  print_point(from);
  std::printf(" -> ");
  print_point(to);
  if (Rect_Clip_Segment(&tile_min, &tile_max, &from, &to)) {
    std::printf("\n    on tile ");
    print_point(tile_min);
    std::printf("-");
    print_point(tile_max);
    std::printf(": ");
    print_point(from);
    std::printf(" -> ");
    print_point(to);
    std::printf("\n");
    panel.Segment(At(from), At(to), "clipped");
  } else {
    std::printf(" misses the tile\n");
  }
  const int route_in = Polygon_Contain_Segment(kDistrict, kCorners, &from, &to);
  std::printf("    clipped route %s within the district\n", route_in ? "lies" : "does not lie");

  // Inside stretches of the street y = 1100: clip the whole street, then
  // carry on from the end of each stretch found.
  const std::int32_t street = 1100;
  std::int32_t start = -500;
  const std::int32_t end = 2500;
  std::printf("  street y = %d, inside stretches:", static_cast<int>(street));
  panel.Segment({static_cast<double>(start), street}, {static_cast<double>(end), street}, "street");
  for (;;) {
    std::int32_t lo = start, hi = end;
    if (!Polygon_Clip_Horizon(kDistrict, kCorners, &lo, &hi, street) || hi <= start) break;
    std::printf(" [%d, %d)", static_cast<int>(lo), static_cast<int>(hi));
    panel.Segment({static_cast<double>(lo), street}, {static_cast<double>(hi), street}, "stretch");
    start = hi;
  }
  std::printf("\n");
  panel.Legend("view", "map tile");
  panel.Legend("clipped", "route on the tile");
  panel.Legend("stretch", "street inside");
}
