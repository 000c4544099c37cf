// Allowed: a geographic file uses the fixed-point header and the helpers.
#include "common/wrap.h"
#include "kelvor/fixed.h"

int probe() { return KMF_Atan2(1, 0) + kelvor::detail::wrap_add(1, 2); }
