// The inside of a PreparedPolygon, shared with the zone index, which reads
// the ring index of each zone directly.
#ifndef KELVOR_PREPARED_PREPARED_IMPL_H
#define KELVOR_PREPARED_PREPARED_IMPL_H

#include <cstdint>
#include <vector>

#include "kelvor/prepared.h"
#include "region/ring_index.h"

namespace kelvor {

// The index's name for a rule.
inline detail::CrossingRule crossing_rule(Rule rule) {
  return rule == Rule::Exact ? detail::CrossingRule::kExact : detail::CrossingRule::kWrapping;
}

struct PreparedPolygon::Impl {
  Rule rule = Rule::Compatible;
  std::vector<tagPOINT> points;
  std::vector<std::uint64_t> block;  // the index's arrays, 8-byte aligned
  detail::RingIndex index;
  bool can_wrap = false;

  Impl() = default;
  Impl(const Impl& other)
      : rule(other.rule),
        points(other.points),
        block(other.block),
        index(other.index.rebased(points.data(), block.data())),
        can_wrap(other.can_wrap) {}
  Impl& operator=(const Impl&) = delete;
};

}  // namespace kelvor

#endif  // KELVOR_PREPARED_PREPARED_IMPL_H
