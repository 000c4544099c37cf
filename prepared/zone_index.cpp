// ZoneIndex: many prepared rings behind a grid. Each cell lists, in
// ascending id order, the zones that hold some point of it, marking those
// that hold all of it; a query stops at the first zone that is marked or
// holds the point, so inside a country it usually reads one entry.
#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

#include "kelvor/prepared.h"
#include "prepared_impl.h"

namespace kelvor {

namespace {

constexpr std::uint32_t kWhole = 0x80000000u;
constexpr std::uint32_t kZoneMask = 0x7FFFFFFFu;

}  // namespace

struct ZoneIndex::Impl {
  Rule rule = Rule::Compatible;
  std::vector<PreparedPolygon> zones;  // in the order given
  std::vector<std::int32_t> ids;
  // Each zone's ring index, side by side so a query reaches it in one read
  // (the arrays it points to stay with the zone).
  std::vector<detail::RingIndex> indexes;
  // Grid over the rectangles of the zones listed by cell.
  std::int64_t x0 = 0, y0 = 0;  // lower corner
  std::uint32_t sx = 0, sy = 0, cols = 0, rows = 0;
  std::vector<std::uint32_t> offsets;  // cells + 1
  std::vector<std::uint32_t> listed;   // zone positions (kWhole: holds the whole cell)
  // Zones listed by rows only, ascending id, with their row ranges.
  std::vector<std::uint32_t> row_zones;

  Impl() = default;
  Impl(const Impl& other)
      : rule(other.rule),
        zones(other.zones),
        ids(other.ids),
        x0(other.x0),
        y0(other.y0),
        sx(other.sx),
        sy(other.sy),
        cols(other.cols),
        rows(other.rows),
        offsets(other.offsets),
        listed(other.listed),
        row_zones(other.row_zones) {
    attach_indexes();
  }
  Impl& operator=(const Impl&) = delete;

  void attach_indexes() {
    indexes.clear();
    for (const PreparedPolygon& z : zones) indexes.push_back(z.get().index);
  }
  std::int32_t locate(const tagPOINT& p) const;
};

std::int32_t ZoneIndex::Impl::locate(const tagPOINT& p) const {
  std::int32_t best = kNoZone;
  const std::int64_t rx = p.x - x0, ry = p.y - y0;
  if (rx >= 0 && ry >= 0 && (rx >> sx) < cols && (ry >> sy) < rows) {
    const std::size_t cell =
        static_cast<std::size_t>(ry >> sy) * cols + static_cast<std::size_t>(rx >> sx);
    for (std::uint32_t j = offsets[cell]; j < offsets[cell + 1]; ++j) {
      const std::uint32_t z = listed[j] & kZoneMask;
      if ((listed[j] & kWhole) != 0 || indexes[z].contain(p.x, p.y) != 0) {
        best = ids[z];
        break;
      }
    }
  }
  for (const std::uint32_t z : row_zones) {
    if (best != kNoZone && ids[z] >= best) break;
    if (indexes[z].contain(p.x, p.y) != 0) {
      best = ids[z];
      break;
    }
  }
  return best;
}

ZoneIndex::ZoneIndex() : impl_(std::make_unique<Impl>()) {}

ZoneIndex::ZoneIndex(const Zone* zones, std::size_t count, Rule rule)
    : impl_(std::make_unique<Impl>()) {
  Impl& m = *impl_;
  m.rule = rule;
  if (zones == nullptr) count = 0;
  for (std::size_t i = 0; i < count; ++i) {
    if (zones[i].id == kNoZone) continue;
    m.zones.emplace_back(zones[i].points, zones[i].count, rule);
    m.ids.push_back(zones[i].id);
  }
  m.attach_indexes();
  // Ascending id (ties in the order given): the first hit is the answer.
  std::vector<std::uint32_t> order(m.zones.size());
  std::iota(order.begin(), order.end(), 0u);
  std::stable_sort(order.begin(), order.end(),
                   [&](std::uint32_t a, std::uint32_t b) { return m.ids[a] < m.ids[b]; });

  // Which zones go into the grid, and the grid's rectangle: each zone's reach
  // (its bounding rectangle, widened where a wrapping edge's crossing can
  // land). A zone that holds no point is left out; one whose wrapped
  // crossings can land anywhere on their rows is tested by rows alone.
  std::vector<std::uint32_t> gridded;
  std::int64_t lo_x = INT64_MAX, lo_y = INT64_MAX, hi_x = INT64_MIN, hi_y = INT64_MIN;
  for (const std::uint32_t z : order) {
    const detail::RingIndexPlan& b = m.indexes[z].layout();
    if (b.blank) continue;
    if (b.reach_x0 == INT32_MIN && b.reach_x1 > INT32_MAX) {
      m.row_zones.push_back(z);
      continue;
    }
    gridded.push_back(z);
    lo_x = std::min<std::int64_t>(lo_x, b.reach_x0);
    lo_y = std::min<std::int64_t>(lo_y, b.min.y);
    hi_x = std::max<std::int64_t>(hi_x, b.reach_x1);
    hi_y = std::max<std::int64_t>(hi_y, b.max.y);
  }
  m.offsets.assign(1, 0);
  if (gridded.empty()) return;

  // About 256 cells per zone (at most 2^22 in all), square cells of 2^s
  // units: most cells then lie wholly inside or outside each zone that
  // reaches them.
  m.x0 = lo_x;
  m.y0 = lo_y;
  const double w = static_cast<double>(hi_x - lo_x), h = static_cast<double>(hi_y - lo_y);
  const double target = std::min(256.0 * static_cast<double>(gridded.size()), 4194304.0);
  const double side = std::sqrt(w * h / target);
  std::uint32_t s = 0;
  while (s < 32 && static_cast<double>(std::uint64_t{1} << s) < side) ++s;
  m.sx = m.sy = s;
  m.cols = static_cast<std::uint32_t>(((hi_x - lo_x) >> s) + 1);
  m.rows = static_cast<std::uint32_t>(((hi_y - lo_y) >> s) + 1);
  const std::size_t cells = static_cast<std::size_t>(m.cols) * m.rows;

  // A zone holds points only in its reach: look at the cells covering it
  // and list the zone in those where it holds some point, marked where it
  // holds all.
  std::vector<std::pair<std::size_t, std::uint32_t>> pairs;
  for (const std::uint32_t z : gridded) {
    const detail::RingIndex& index = m.zones[z].get().index;
    const detail::RingIndexPlan& b = index.layout();
    const std::int64_t c0 = (b.reach_x0 - m.x0) >> s, c1 = (b.reach_x1 - 1 - m.x0) >> s;
    const std::int64_t r0 = (b.min.y - m.y0) >> s, r1 = (b.max.y - 1 - m.y0) >> s;
    const std::int64_t side_units = std::int64_t{1} << s;
    for (std::int64_t r = r0; r <= r1; ++r) {
      for (std::int64_t c = c0; c <= c1; ++c) {
        const std::int64_t x = m.x0 + c * side_units, y = m.y0 + r * side_units;
        const auto cover = index.coverage(x, y, x + side_units, y + side_units);
        if (cover == detail::RingIndex::Coverage::kOutside) continue;
        const std::uint32_t whole = cover == detail::RingIndex::Coverage::kInside ? kWhole : 0u;
        pairs.emplace_back(static_cast<std::size_t>(r * m.cols + c), z | whole);
      }
    }
  }
  m.offsets.assign(cells + 1, 0);
  for (const auto& entry : pairs) ++m.offsets[entry.first + 1];
  for (std::size_t c = 0; c < cells; ++c) m.offsets[c + 1] += m.offsets[c];
  m.listed.resize(pairs.size());
  std::vector<std::uint32_t> cursor(m.offsets.begin(), m.offsets.end() - 1);
  // The pairs come zone by zone in ascending id, so each cell's list does too.
  for (const auto& entry : pairs) m.listed[cursor[entry.first]++] = entry.second;
}

ZoneIndex::ZoneIndex(const ZoneIndex& other) : impl_(std::make_unique<Impl>(other.get())) {}
ZoneIndex::ZoneIndex(ZoneIndex&& other) noexcept = default;
ZoneIndex& ZoneIndex::operator=(const ZoneIndex& other) {
  if (this != &other) impl_ = std::make_unique<Impl>(other.get());
  return *this;
}
ZoneIndex& ZoneIndex::operator=(ZoneIndex&& other) noexcept = default;
ZoneIndex::~ZoneIndex() = default;

const ZoneIndex::Impl& ZoneIndex::get() const {
  static const Impl none;
  return impl_ ? *impl_ : none;
}

std::int32_t ZoneIndex::Locate(const tagPOINT& p) const { return get().locate(p); }

void ZoneIndex::Locate(const tagPOINT* points, std::size_t count, std::int32_t* out) const {
  const Impl& m = get();
  for (std::size_t i = 0; i < count; ++i) out[i] = m.locate(points[i]);
}

Rule ZoneIndex::rule() const { return get().rule; }
std::size_t ZoneIndex::size() const { return get().zones.size(); }
const PreparedPolygon& ZoneIndex::zone(std::size_t i) const { return get().zones[i]; }
std::int32_t ZoneIndex::id(std::size_t i) const { return get().ids[i]; }

std::size_t ZoneIndex::memory_bytes() const {
  const Impl& m = get();
  std::size_t bytes =
      sizeof(*this) + sizeof(Impl) + m.ids.capacity() * sizeof(std::int32_t) +
      (m.offsets.capacity() + m.listed.capacity() + m.row_zones.capacity()) * sizeof(std::uint32_t);
  for (const PreparedPolygon& z : m.zones) bytes += z.memory_bytes();
  return bytes;
}

}  // namespace kelvor
