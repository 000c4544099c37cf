// A short tour of Kelvor: one typical navigation request per subsystem, on
// built-in sample data, printed as it goes and drawn into an SVG picture
// (kelvor-tour.svg in the current directory, or the path given as the first
// argument).
#include "tour.h"

#include <cstdio>
#include <filesystem>
#include <string>

#include "panel.h"
#include "svg.h"

int main(int argc, char** argv) {
  const std::string path = argc > 1 ? argv[1] : "kelvor-tour.svg";

  std::printf("Kelvor tour\n===========\n");
  Panel drive("drive", "A drive across the Netherlands", "longitude, degrees", "latitude, degrees");
  Panel roads("roads", "Two roads on a metre grid", "east, m", "north, m");
  Panel district("district", "A district with a notch: places & a route", "east, m", "north, m");
  Panel shapes("shapes", "Shapes: district, route, view, GetMCR", "east, m", "north, m");
  Panel bearings("bearings", "Bearings and turns: Paris to Strasbourg", "longitude, degrees",
                 "latitude, degrees");
  Panel bulk("bulk", "GPS fixes to zones by the exact rule", "longitude, 1/100000 degree",
             "latitude, 1/100000 degree");
  tour_basics(drive, roads);
  tour_polygons(district);
  tour_shapes(shapes);
  tour_bearings(bearings);
  tour_bulk(bulk);

  // Two columns, one row per pair of panels, in the order printed above.
  constexpr double kW = 460, kH = 400, kGap = 10;
  const Panel* panels[] = {&drive, &roads, &district, &shapes, &bearings, &bulk};
  SvgDocument svg(2 * kW + 3 * kGap, 3 * kH + 4 * kGap, "Kelvor tour");
  svg.SetStyle(PanelStyle());
  std::size_t figures = 0;
  for (int i = 0; i < 6; ++i) {
    panels[i]->Render(svg, kGap + (i % 2) * (kW + kGap), kGap + (i / 2) * (kH + kGap), kW, kH);
    figures += panels[i]->figures();
  }
  std::error_code ec;
  const std::filesystem::path shown = std::filesystem::absolute(path, ec);
  const std::string where = ec ? path : shown.string();
  if (!svg.Save(path)) {
    std::printf("\ncould not write the picture to %s\n", where.c_str());
    return 1;
  }
  std::printf("\npicture: %s (%zu figures)\n", where.c_str(), figures);
  return 0;
}
