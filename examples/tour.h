// Sections of the example tour, one per subsystem. Each prints what it
// computes and hands the geometry to the panels of the tour's picture.
#ifndef KELVOR_EXAMPLES_TOUR_H
#define KELVOR_EXAMPLES_TOUR_H

#include "panel.h"

void tour_basics(Panel& drive, Panel& roads);
void tour_polygons(Panel& panel);
void tour_bearings(Panel& panel);
void tour_shapes(Panel& panel);
void tour_bulk(Panel& panel);

#endif
