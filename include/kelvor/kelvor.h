/// @file
/// Kelvor: 2-D geometry and 16.16 fixed-point mathematics for map and
/// navigation software. Include this one header and link Kelvor::kelvor.
#ifndef KELVOR_KELVOR_H
#define KELVOR_KELVOR_H

#if defined(KELVOR_BUILDING)
#error "inside the library include the headers of what each folder uses"
#endif

#include "kelvor/export.h"
#include "kelvor/fixed.h"
#include "kelvor/geo.h"
#include "kelvor/planar.h"
#include "kelvor/prepared.h"
#include "kelvor/shapes.h"
#include "kelvor/types.h"

#endif  // KELVOR_KELVOR_H
