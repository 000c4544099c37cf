// One panel of the tour's picture: the figures a tour section computed, in
// that section's own units, drawn into a box of the SVG with equal scales on
// both axes and the y axis pointing up.
#ifndef KELVOR_EXAMPLES_PANEL_H
#define KELVOR_EXAMPLES_PANEL_H

#include <cstddef>
#include <string>
#include <vector>

#include "svg.h"

// A point in the panel's own units (metres, degrees, 1/100000 degree).
struct Pt {
  double x, y;
};

class Panel {
 public:
  enum class Anchor { kStart, kMiddle, kEnd };

  // id names the panel's SVG group; x_axis and y_axis say what the units are.
  Panel(std::string id, std::string title, std::string x_axis, std::string y_axis);

  // Figures. kind is the figure's class list in the SVG: the style sheet
  // styles it and the tour's test counts figures by it. Areas and boxes are
  // drawn first, then lines, dots and text, each in the order added.
  void Area(std::vector<Pt> ring, std::string kind);  // closed, filled
  void Path(std::vector<Pt> pts, std::string kind);   // open polyline
  void Segment(Pt a, Pt b, std::string kind);
  void Box(Pt min, Pt max, std::string kind);
  void Dot(Pt at, std::string kind, double radius_px);
  // Text placed dx pixels right of and dy pixels above the point.
  void Label(Pt at, std::string text, std::string kind, double dx = 6, double dy = 4,
             Anchor anchor = Anchor::kStart);

  // A legend entry under the plot: a swatch shaped like the first figure of
  // that kind, and its text.
  void Legend(std::string kind, std::string text);

  std::size_t figures() const { return figures_.size(); }

  // Draws the panel into the box (x, y, w, h) of the document, scaled so that
  // every figure, dot and label fits.
  void Render(SvgDocument& svg, double x, double y, double w, double h) const;

 private:
  enum class Shape { kArea, kPath, kBox, kDot, kLabel };
  struct Figure {
    Shape shape;
    std::string kind;
    std::vector<Pt> pts;
    std::string text;
    double a = 0, b = 0;  // dot radius, or label offset
    Anchor anchor = Anchor::kStart;
  };
  struct LegendEntry {
    std::string kind, text;
  };

  std::string id_, title_, x_axis_, y_axis_;
  std::vector<Figure> figures_;
  std::vector<LegendEntry> legend_;
};

// The style sheet every panel's classes refer to.
const char* PanelStyle();

#endif  // KELVOR_EXAMPLES_PANEL_H
