// PreparedPolygon: a copied ring answering point-in-polygon queries by either
// crossing rule.
#include <utility>

#include "common/crossing.h"
#include "kelvor/planar.h"
#include "kelvor/prepared.h"

namespace kelvor {

namespace {

// Even-odd rule with exact crossings, closing edge from the last point to
// the first (equal points never straddle, so it needs no special case).
std::int32_t exact_even_odd(const tagPOINT* pts, std::int32_t n, const tagPOINT& p) {
  if (n < 1) return 0;
  std::int32_t inside = 0;
  const tagPOINT* a = &pts[n - 1];
  for (std::int32_t i = 0; i < n; ++i) {
    const tagPOINT& b = pts[i];
    if (detail::straddles(a->y, b.y, p.y) &&
        p.x < detail::exact_crossing_at<detail::Row>(*a, b, p.y)) {
      inside ^= 1;
    }
    a = &b;
  }
  return inside;
}

}  // namespace

struct PreparedPolygon::Impl {
  Rule rule = Rule::Compatible;
  std::vector<tagPOINT> points;
  KRECT bound;  // as KPGON keeps it
  bool can_wrap = false;
};

PreparedPolygon::PreparedPolygon() : impl_(std::make_unique<Impl>()) {}

PreparedPolygon::PreparedPolygon(const tagPOINT* points, std::int32_t count, Rule rule)
    : impl_(std::make_unique<Impl>()) {
  impl_->rule = rule;
  if (points == nullptr || count < 1) return;
  impl_->points.assign(points, points + count);
  if (count >= 3) GetMBR(impl_->bound, count, points);
  impl_->can_wrap = RingCanWrap(points, count);
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
  const auto n = static_cast<std::int32_t>(impl_->points.size());
  if (impl_->rule == Rule::Exact) return exact_even_odd(impl_->points.data(), n, p);
  return Polygon_Contain_Point(impl_->points.data(), n, &p);
}

std::int32_t PreparedPolygon::ContainBounded(const tagPOINT& p) const {
  const KRECT& b = impl_->bound;
  if (!(b.ptMin.x <= p.x && p.x < b.ptMax.x && b.ptMin.y <= p.y && p.y < b.ptMax.y)) return 0;
  return Contain(p);
}

void PreparedPolygon::Contain(const tagPOINT* points, std::size_t count, std::uint8_t* out) const {
  for (std::size_t i = 0; i < count; ++i) out[i] = static_cast<std::uint8_t>(Contain(points[i]));
}

void PreparedPolygon::ContainBounded(const tagPOINT* points, std::size_t count,
                                     std::uint8_t* out) const {
  for (std::size_t i = 0; i < count; ++i) {
    out[i] = static_cast<std::uint8_t>(ContainBounded(points[i]));
  }
}

Rule PreparedPolygon::rule() const { return impl_->rule; }
const std::vector<tagPOINT>& PreparedPolygon::points() const { return impl_->points; }
KRECT PreparedPolygon::bound() const { return impl_->bound; }
bool PreparedPolygon::can_wrap() const { return impl_->can_wrap; }
std::size_t PreparedPolygon::memory_bytes() const {
  return sizeof(*this) + sizeof(Impl) + impl_->points.capacity() * sizeof(tagPOINT);
}

}  // namespace kelvor
