// Sections of the example tour, one per subsystem.
#ifndef KELVOR_EXAMPLES_TOUR_H
#define KELVOR_EXAMPLES_TOUR_H

void tour_basics();
void tour_polygons();
void tour_bearings();
void tour_shapes();
void tour_bulk();

#endif
