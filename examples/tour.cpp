// A short tour of Kelvor: one typical navigation request per subsystem, on
// built-in sample data, printed as it goes.
#include "tour.h"

#include <cstdio>

int main() {
  std::printf("Kelvor tour\n===========\n");
  tour_basics();
  tour_polygons();
  tour_shapes();
  tour_bearings();
  tour_bulk();
  return 0;
}
