// Fitting a panel's figures into its plot area: one scale for both axes,
// large enough to fill the area, small enough that every dot and label,
// with its size in pixels, stays inside.
#ifndef KELVOR_EXAMPLES_PANEL_FIT_H
#define KELVOR_EXAMPLES_PANEL_FIT_H

#include <vector>

#include "svg.h"

// Something drawn at world point (x, y) that reaches left..right and
// up..down pixels around it (pixel offsets, y down: up is negative).
struct Extent {
  double x, y;
  double left, right, up, down;
};

// World to pixels with equal scales and y flipped, so that north is up.
struct Mapping {
  double s, ox, oy;  // pixels per unit; pixel position of the world origin
  SvgPoint operator()(double x, double y) const { return {ox + x * s, oy - y * s}; }
  double WorldX(double px) const { return (px - ox) / s; }
  double WorldY(double py) const { return (oy - py) / s; }
};

// The largest scale at which every extent fits the area (left, top, w, h),
// centred in it. Nothing to draw, or labels wider than the area, still give
// a usable mapping.
Mapping Fit(const std::vector<Extent>& items, double left, double top, double w, double h);

#endif  // KELVOR_EXAMPLES_PANEL_FIT_H
