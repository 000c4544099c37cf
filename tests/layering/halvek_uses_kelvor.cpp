// Not allowed: the scanner is a separate library that knows nothing of Kelvor.
#include "kelvor/types.h"

int probe() { return 0; }
