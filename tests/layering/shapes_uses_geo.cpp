// Not allowed: the shape classes use no geographic function.
#include "kelvor/geo.h"

int probe() { return 0; }
