// PreparedPolygon: a copied ring and its grid index.
#include <new>
#include <utility>

#include "kelvor/prepared.h"
#include "region/ring_index.h"

namespace kelvor {

namespace {

detail::CrossingRule crossing_rule(Rule rule) {
  return rule == Rule::Exact ? detail::CrossingRule::kExact : detail::CrossingRule::kWrapping;
}

}  // namespace

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
    : impl_(std::make_unique<Impl>(*other.impl_)) {}
PreparedPolygon::PreparedPolygon(PreparedPolygon&& other) noexcept = default;
PreparedPolygon& PreparedPolygon::operator=(const PreparedPolygon& other) {
  if (this != &other) impl_ = std::make_unique<Impl>(*other.impl_);
  return *this;
}
PreparedPolygon& PreparedPolygon::operator=(PreparedPolygon&& other) noexcept = default;
PreparedPolygon::~PreparedPolygon() = default;

std::int32_t PreparedPolygon::Contain(const tagPOINT& p) const {
  return impl_->index.contain(p.x, p.y);
}

std::int32_t PreparedPolygon::ContainBounded(const tagPOINT& p) const {
  return impl_->index.contain_bounded(p.x, p.y);
}

void PreparedPolygon::Contain(const tagPOINT* points, std::size_t count, std::uint8_t* out) const {
  const detail::RingIndex& index = impl_->index;
  for (std::size_t i = 0; i < count; ++i) {
    out[i] = static_cast<std::uint8_t>(index.contain(points[i].x, points[i].y));
  }
}

void PreparedPolygon::ContainBounded(const tagPOINT* points, std::size_t count,
                                     std::uint8_t* out) const {
  const detail::RingIndex& index = impl_->index;
  for (std::size_t i = 0; i < count; ++i) {
    out[i] = static_cast<std::uint8_t>(index.contain_bounded(points[i].x, points[i].y));
  }
}

Rule PreparedPolygon::rule() const { return impl_->rule; }
const std::vector<tagPOINT>& PreparedPolygon::points() const { return impl_->points; }

KRECT PreparedPolygon::bound() const {
  const detail::RingIndexPlan& plan = impl_->index.layout();
  if (plan.n < 3) return KRECT();
  return KRECT(plan.min, plan.max);
}

bool PreparedPolygon::can_wrap() const { return impl_->can_wrap; }

std::size_t PreparedPolygon::memory_bytes() const {
  return sizeof(*this) + sizeof(Impl) + impl_->points.capacity() * sizeof(tagPOINT) +
         impl_->block.capacity() * sizeof(std::uint64_t);
}

}  // namespace kelvor
