// PreparedPolygon: a copied ring and its grid index.
#include <new>
#include <utility>

#include "kelvor/prepared.h"
#include "prepared_impl.h"
#include "region/ring_index.h"

namespace kelvor {

PreparedPolygon::PreparedPolygon() : impl_(std::make_unique<Impl>()) {}

PreparedPolygon::PreparedPolygon(const tagPOINT* points, std::int32_t count, Rule rule)
    : impl_(std::make_unique<Impl>()) {
  impl_->rule = rule;
  if (points == nullptr || count < 1) return;
  impl_->points.assign(points, points + count);
  const tagPOINT* ring = impl_->points.data();
  const detail::RingIndexPlan plan = detail::RingIndex::plan(ring, count, crossing_rule(rule));
  if (!plan.blank && plan.bytes == 0) throw std::bad_alloc();  // too large to index
  impl_->block.resize(plan.bytes / sizeof(std::uint64_t));
  impl_->index = detail::RingIndex(plan, ring, impl_->block.data());
  impl_->can_wrap = RingCanWrap(ring, count);
}

PreparedPolygon::PreparedPolygon(const PreparedPolygon& other)
    : impl_(std::make_unique<Impl>(other.get())) {}
PreparedPolygon::PreparedPolygon(PreparedPolygon&& other) noexcept = default;
PreparedPolygon& PreparedPolygon::operator=(const PreparedPolygon& other) {
  if (this != &other) impl_ = std::make_unique<Impl>(other.get());
  return *this;
}
PreparedPolygon& PreparedPolygon::operator=(PreparedPolygon&& other) noexcept = default;
PreparedPolygon::~PreparedPolygon() = default;

const PreparedPolygon::Impl& PreparedPolygon::get() const {
  static const Impl none;
  return impl_ ? *impl_ : none;
}

std::int32_t PreparedPolygon::Contain(const tagPOINT& p) const {
  return get().index.contain(p.x, p.y);
}

std::int32_t PreparedPolygon::ContainBounded(const tagPOINT& p) const {
  return get().index.contain_bounded(p.x, p.y);
}

void PreparedPolygon::Contain(const tagPOINT* points, std::size_t count, std::uint8_t* out) const {
  const detail::RingIndex& index = get().index;
  for (std::size_t i = 0; i < count; ++i) {
    out[i] = static_cast<std::uint8_t>(index.contain(points[i].x, points[i].y));
  }
}

void PreparedPolygon::ContainBounded(const tagPOINT* points, std::size_t count,
                                     std::uint8_t* out) const {
  const detail::RingIndex& index = get().index;
  for (std::size_t i = 0; i < count; ++i) {
    out[i] = static_cast<std::uint8_t>(index.contain_bounded(points[i].x, points[i].y));
  }
}

Rule PreparedPolygon::rule() const { return get().rule; }
const std::vector<tagPOINT>& PreparedPolygon::points() const { return get().points; }

KRECT PreparedPolygon::bound() const {
  const detail::RingIndexPlan& plan = get().index.layout();
  if (plan.n < 3) return KRECT();
  return KRECT(plan.min, plan.max);
}

bool PreparedPolygon::can_wrap() const { return get().can_wrap; }

std::size_t PreparedPolygon::memory_bytes() const {
  return sizeof(*this) + sizeof(Impl) + get().points.capacity() * sizeof(tagPOINT) +
         get().block.capacity() * sizeof(std::uint64_t);
}

}  // namespace kelvor
