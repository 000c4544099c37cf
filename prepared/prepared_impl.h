// The inside of a PreparedPolygon, shared with the zone index, which asks
// the area index of each zone directly.
#ifndef KELVOR_PREPARED_PREPARED_IMPL_H
#define KELVOR_PREPARED_PREPARED_IMPL_H

#include "kelvor/prepared.h"
#include "region/area_index.h"

namespace kelvor {

struct PreparedPolygon::Impl {
  detail::AreaIndex index;
  bool can_wrap = false;
};

}  // namespace kelvor

#endif  // KELVOR_PREPARED_PREPARED_IMPL_H
