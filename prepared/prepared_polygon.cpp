// PreparedPolygon: copied rings and their area index.
#include <new>
#include <utility>
#include <vector>

#include "kelvor/prepared.h"
#include "prepared_impl.h"
#include "region/area_index.h"

namespace kelvor {

PreparedPolygon::PreparedPolygon() : impl_(std::make_unique<Impl>()) {}

PreparedPolygon::PreparedPolygon(const tagPOINT* points, std::int32_t count, Rule rule)
    : impl_(std::make_unique<Impl>()) {
  prepare_ring(*impl_, points, count, rule, detail::kPolygonLeafWords);
}

void PreparedPolygon::prepare_ring(Impl& impl, const tagPOINT* points, std::int32_t count,
                                   Rule rule, std::size_t leaf_words) {
  const bool empty = points == nullptr || count < 1;
  impl.index = detail::AreaIndex(
      empty ? std::vector<tagPOINT>() : std::vector<tagPOINT>(points, points + count),
      empty ? std::vector<detail::AreaRing>()
            : std::vector<detail::AreaRing>{{0, count, false, -1}},
      rule, leaf_words);
  impl.can_wrap = !empty && RingCanWrap(points, count);
}

PreparedPolygon::PreparedPolygon(const Ring* rings, std::size_t ring_count, Rule rule)
    : impl_(std::make_unique<Impl>()) {
  prepare(*impl_, rings, ring_count, rule, detail::kPolygonLeafWords, nullptr);
}

void PreparedPolygon::prepare(Impl& impl, const Ring* rings, std::size_t ring_count, Rule rule,
                              std::size_t leaf_words, detail::AreaScratch* scratch) {
  if (rings == nullptr) ring_count = 0;
  std::size_t total = 0;
  for (std::size_t r = 0; r < ring_count; ++r) {
    if (rings[r].points != nullptr && rings[r].count > 0) {
      total += static_cast<std::size_t>(rings[r].count);
    }
  }
  if (total > (std::size_t{1} << 29)) throw std::bad_alloc();  // beyond the index's counts
  std::vector<tagPOINT> points;
  std::vector<detail::AreaRing> kept;
  points.reserve(total);
  kept.reserve(ring_count);
  bool wraps = false;
  for (std::size_t r = 0; r < ring_count; ++r) {
    const Ring& ring = rings[r];
    const bool empty = ring.points == nullptr || ring.count < 1;
    kept.push_back(
        {static_cast<std::uint32_t>(points.size()), empty ? 0 : ring.count, ring.hole, -1});
    if (empty) continue;
    points.insert(points.end(), ring.points, ring.points + ring.count);
    wraps = wraps || RingCanWrap(ring.points, ring.count);
  }
  impl.index = detail::AreaIndex(std::move(points), std::move(kept), rule, leaf_words, scratch);
  impl.can_wrap = wraps;
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
  get().index.contain_many(points, count, out, false);
}

void PreparedPolygon::ContainBounded(const tagPOINT* points, std::size_t count,
                                     std::uint8_t* out) const {
  get().index.contain_many(points, count, out, true);
}

Rule PreparedPolygon::rule() const { return get().index.rule(); }
const std::vector<tagPOINT>& PreparedPolygon::points() const { return get().index.points(); }

std::vector<Ring> PreparedPolygon::rings() const {
  const detail::AreaIndex& index = get().index;
  std::vector<Ring> out;
  out.reserve(index.rings().size());
  for (const detail::AreaRing& r : index.rings()) {
    out.push_back({r.count > 0 ? index.points().data() + r.first : nullptr, r.count, r.hole});
  }
  return out;
}

KRECT PreparedPolygon::bound() const {
  tagPOINT lo{0, 0}, hi{0, 0};
  if (!get().index.bound(&lo, &hi)) return KRECT();
  return KRECT(lo, hi);
}

bool PreparedPolygon::can_wrap() const { return get().can_wrap; }

std::size_t PreparedPolygon::memory_bytes() const {
  return sizeof(*this) + sizeof(Impl) - sizeof(detail::AreaIndex) + get().index.memory_bytes();
}

}  // namespace kelvor
