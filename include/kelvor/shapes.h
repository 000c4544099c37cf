// Shape objects: KShape and its derived classes.
#ifndef KELVOR_SHAPES_H
#define KELVOR_SHAPES_H

#include "kelvor/export.h"
#include "kelvor/types.h"

#endif  // KELVOR_SHAPES_H
