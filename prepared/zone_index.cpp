// ZoneIndex: many prepared rings; the lowest id whose ring holds the point.
#include <utility>

#include "kelvor/prepared.h"

namespace kelvor {

struct ZoneIndex::Impl {
  Rule rule = Rule::Compatible;
  std::vector<PreparedPolygon> zones;
  std::vector<std::int32_t> ids;
};

ZoneIndex::ZoneIndex() : impl_(std::make_unique<Impl>()) {}

ZoneIndex::ZoneIndex(const Zone* zones, std::size_t count, Rule rule)
    : impl_(std::make_unique<Impl>()) {
  impl_->rule = rule;
  if (zones == nullptr) return;
  for (std::size_t i = 0; i < count; ++i) {
    if (zones[i].id == kNoZone) continue;
    impl_->zones.emplace_back(zones[i].points, zones[i].count, rule);
    impl_->ids.push_back(zones[i].id);
  }
}

ZoneIndex::ZoneIndex(const ZoneIndex& other) : impl_(std::make_unique<Impl>(*other.impl_)) {}
ZoneIndex::ZoneIndex(ZoneIndex&& other) noexcept = default;
ZoneIndex& ZoneIndex::operator=(const ZoneIndex& other) {
  if (this != &other) impl_ = std::make_unique<Impl>(*other.impl_);
  return *this;
}
ZoneIndex& ZoneIndex::operator=(ZoneIndex&& other) noexcept = default;
ZoneIndex::~ZoneIndex() = default;

std::int32_t ZoneIndex::Locate(const tagPOINT& p) const {
  std::int32_t best = kNoZone;
  for (std::size_t i = 0; i < impl_->zones.size(); ++i) {
    const std::int32_t id = impl_->ids[i];
    if ((best == kNoZone || id < best) && impl_->zones[i].Contain(p) != 0) best = id;
  }
  return best;
}

void ZoneIndex::Locate(const tagPOINT* points, std::size_t count, std::int32_t* out) const {
  for (std::size_t i = 0; i < count; ++i) out[i] = Locate(points[i]);
}

Rule ZoneIndex::rule() const { return impl_->rule; }
std::size_t ZoneIndex::size() const { return impl_->zones.size(); }
const PreparedPolygon& ZoneIndex::zone(std::size_t i) const { return impl_->zones[i]; }
std::int32_t ZoneIndex::id(std::size_t i) const { return impl_->ids[i]; }
std::size_t ZoneIndex::memory_bytes() const {
  std::size_t bytes = sizeof(*this) + sizeof(Impl) + impl_->ids.capacity() * sizeof(std::int32_t);
  for (const PreparedPolygon& z : impl_->zones) bytes += z.memory_bytes();
  return bytes;
}

}  // namespace kelvor
