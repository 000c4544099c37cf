// ZoneIndex: many prepared rings behind a coarse grid. Each cell lists, in
// ascending id order, the zones whose reach covers it, so a query tests only
// those and stops at the first that holds the point.
#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

#include "kelvor/prepared.h"

namespace kelvor {

namespace {

// A zone that can hold points beside its bounding rectangle (a wrapping ring
// under the compatible rule) is listed by rows only.
bool reaches_any_column(const PreparedPolygon& zone) {
  return zone.rule() == Rule::Compatible && zone.can_wrap();
}

}  // namespace

struct ZoneIndex::Impl {
  Rule rule = Rule::Compatible;
  std::vector<PreparedPolygon> zones;  // in the order given
  std::vector<std::int32_t> ids;
  // Grid over the rectangles of the zones listed by cell.
  std::int64_t x0 = 0, y0 = 0;  // lower corner
  std::uint32_t sx = 0, sy = 0, cols = 0, rows = 0;
  std::vector<std::uint32_t> offsets;  // cells + 1
  std::vector<std::uint32_t> listed;   // zone positions, ascending id within a cell
  // Zones listed by rows only, ascending id, with their row ranges.
  std::vector<std::uint32_t> row_zones;

  std::int32_t locate(const tagPOINT& p) const;
};

std::int32_t ZoneIndex::Impl::locate(const tagPOINT& p) const {
  std::int32_t best = kNoZone;
  const std::int64_t rx = p.x - x0, ry = p.y - y0;
  if (rx >= 0 && ry >= 0 && (rx >> sx) < cols && (ry >> sy) < rows) {
    const std::size_t cell =
        static_cast<std::size_t>(ry >> sy) * cols + static_cast<std::size_t>(rx >> sx);
    for (std::uint32_t j = offsets[cell]; j < offsets[cell + 1]; ++j) {
      if (zones[listed[j]].Contain(p) != 0) {
        best = ids[listed[j]];
        break;
      }
    }
  }
  for (const std::uint32_t z : row_zones) {
    if (best != kNoZone && ids[z] >= best) break;
    if (zones[z].Contain(p) != 0) {
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
  // Ascending id (ties in the order given): the first hit is the answer.
  std::vector<std::uint32_t> order(m.zones.size());
  std::iota(order.begin(), order.end(), 0u);
  std::stable_sort(order.begin(), order.end(),
                   [&](std::uint32_t a, std::uint32_t b) { return m.ids[a] < m.ids[b]; });

  // Which zones go into the grid, and the grid's rectangle. A zone that
  // cannot hold any point (fewer than two points or no area) is left out.
  std::vector<std::uint32_t> gridded;
  std::int64_t lo_x = INT64_MAX, lo_y = INT64_MAX, hi_x = INT64_MIN, hi_y = INT64_MIN;
  for (const std::uint32_t z : order) {
    const PreparedPolygon& zone = m.zones[z];
    const std::vector<tagPOINT>& pts = zone.points();
    if (pts.size() < 2) continue;
    if (reaches_any_column(zone)) {
      m.row_zones.push_back(z);
      continue;
    }
    KRECT b;
    GetMBR(b, static_cast<std::int32_t>(pts.size()), pts.data());
    if (b.ptMin.x == b.ptMax.x || b.ptMin.y == b.ptMax.y) continue;
    gridded.push_back(z);
    lo_x = std::min<std::int64_t>(lo_x, b.ptMin.x);
    lo_y = std::min<std::int64_t>(lo_y, b.ptMin.y);
    hi_x = std::max<std::int64_t>(hi_x, b.ptMax.x);
    hi_y = std::max<std::int64_t>(hi_y, b.ptMax.y);
  }
  m.offsets.assign(1, 0);
  if (gridded.empty()) return;

  // About four cells per zone, square cells of 2^s units.
  m.x0 = lo_x;
  m.y0 = lo_y;
  const double w = static_cast<double>(hi_x - lo_x), h = static_cast<double>(hi_y - lo_y);
  const double side = std::sqrt(w * h / (4.0 * static_cast<double>(gridded.size())));
  std::uint32_t s = 0;
  while (s < 32 && static_cast<double>(std::uint64_t{1} << s) < side) ++s;
  m.sx = m.sy = s;
  m.cols = static_cast<std::uint32_t>(((hi_x - lo_x) >> s) + 1);
  m.rows = static_cast<std::uint32_t>(((hi_y - lo_y) >> s) + 1);
  const std::size_t cells = static_cast<std::size_t>(m.cols) * m.rows;

  // A zone holds points only in its half-open rectangle: list it in the
  // cells covering [min.x, max.x) x [min.y, max.y).
  auto for_each_cell = [&](std::uint32_t z, auto&& visit) {
    const std::vector<tagPOINT>& pts = m.zones[z].points();
    KRECT b;
    GetMBR(b, static_cast<std::int32_t>(pts.size()), pts.data());
    const std::int64_t c0 = (b.ptMin.x - m.x0) >> s, c1 = (b.ptMax.x - 1 - m.x0) >> s;
    const std::int64_t r0 = (b.ptMin.y - m.y0) >> s, r1 = (b.ptMax.y - 1 - m.y0) >> s;
    for (std::int64_t r = r0; r <= r1; ++r) {
      for (std::int64_t c = c0; c <= c1; ++c) visit(static_cast<std::size_t>(r) * m.cols + c);
    }
  };
  m.offsets.assign(cells + 1, 0);
  for (const std::uint32_t z : gridded)
    for_each_cell(z, [&](std::size_t c) { ++m.offsets[c + 1]; });
  for (std::size_t c = 0; c < cells; ++c) m.offsets[c + 1] += m.offsets[c];
  m.listed.resize(m.offsets[cells]);
  std::vector<std::uint32_t> cursor(m.offsets.begin(), m.offsets.end() - 1);
  for (const std::uint32_t z : gridded) {
    for_each_cell(z, [&](std::size_t c) { m.listed[cursor[c]++] = z; });
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

std::int32_t ZoneIndex::Locate(const tagPOINT& p) const { return impl_->locate(p); }

void ZoneIndex::Locate(const tagPOINT* points, std::size_t count, std::int32_t* out) const {
  const Impl& m = *impl_;
  for (std::size_t i = 0; i < count; ++i) out[i] = m.locate(points[i]);
}

Rule ZoneIndex::rule() const { return impl_->rule; }
std::size_t ZoneIndex::size() const { return impl_->zones.size(); }
const PreparedPolygon& ZoneIndex::zone(std::size_t i) const { return impl_->zones[i]; }
std::int32_t ZoneIndex::id(std::size_t i) const { return impl_->ids[i]; }

std::size_t ZoneIndex::memory_bytes() const {
  const Impl& m = *impl_;
  std::size_t bytes =
      sizeof(*this) + sizeof(Impl) + m.ids.capacity() * sizeof(std::int32_t) +
      (m.offsets.capacity() + m.listed.capacity() + m.row_zones.capacity()) * sizeof(std::uint32_t);
  for (const PreparedPolygon& z : m.zones) bytes += z.memory_bytes();
  return bytes;
}

}  // namespace kelvor
