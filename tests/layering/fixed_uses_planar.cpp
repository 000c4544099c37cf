// Not allowed: the fixed-point folder uses no planar predicate.
#include "kelvor/planar.h"

int probe() { return 0; }
