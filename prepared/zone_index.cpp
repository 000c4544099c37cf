// ZoneIndex: many prepared zones behind a grid. Each cell lists, in
// ascending id order, the zones that hold some point of it, marking those
// that hold all of it; a query stops at the first zone that is marked or
// holds the point. A cell that no zone reaches, or whose first zone holds
// all of it, keeps its answer in its own word: in the open sea and inside a
// country a query reads one word of the grid.
#include <algorithm>
#include <memory>
#include <new>
#include <numeric>
#include <utility>
#include <vector>

#include "common/prefetch.h"
#include "kelvor/prepared.h"
#include "prepared_impl.h"
#include "region/area_index.h"
#include "region/cell_lists.h"
#include "region/grid_shape.h"

namespace kelvor {

namespace {

constexpr std::uint32_t kWhole = 0x80000000u;
constexpr std::uint32_t kZoneMask = 0x7FFFFFFFu;
constexpr std::uint32_t kNoCell = 0xFFFFFFFFu;  // a cell no zone reaches; also ends a list

}  // namespace

struct ZoneIndex::Impl {
  std::vector<PreparedPolygon> zones;  // in the order given
  std::vector<std::int32_t> ids;
  Rule rule = Rule::Compatible;
  detail::GridShape grid;
  // Per cell: kNoCell, kWhole | z (z, first in id order, holds all of it),
  // or where its list starts in `lists`: zone positions, kWhole marking
  // those that hold the whole cell, ended by kNoCell.
  std::vector<std::uint32_t> cells, lists;
  // Zones whose wrapped crossings can land anywhere on their rows: asked for
  // every point, ascending id.
  std::vector<std::uint32_t> row_zones;
  std::size_t bytes = 0;  // the zones' indexes and the grid

  const detail::AreaIndex& index(std::uint32_t z) const { return zones[z].impl_->index; }
  // Where p's cell's list starts in `lists`, or kNoCell with *answer set
  // when the cell alone decides (no zone reaches it, or its first zone fills
  // it); *cell is the cell. Every query starts here.
  std::uint32_t first_entry(const tagPOINT& p, std::size_t* cell, std::int32_t* answer) const {
    if (cells.empty() || !grid.locate(p.x, p.y, cell)) {
      *answer = row_locate(p, kNoZone);
      return kNoCell;
    }
    const std::uint32_t head = cells[*cell];
    if (head == kNoCell || (head & kWhole) != 0) {
      *answer = row_locate(p, head == kNoCell ? kNoZone : ids[head & kZoneMask]);
      return kNoCell;
    }
    return head;
  }
  std::int32_t locate(const tagPOINT& p) const;
  std::int32_t row_locate(const tagPOINT& p, std::int32_t best) const;
  void locate_many(const tagPOINT* pts, std::size_t count, std::int32_t* out) const;
  // A point to answer in a batch, and its position there.
  struct Slot {
    tagPOINT p;
    std::uint32_t owner;
  };
  template <class At, class Put>
  void locate_lanes(std::size_t count, At at, Put put) const;
  bool locate_ordered(const tagPOINT* pts, std::size_t count, std::int32_t* out) const;
  void build();
};

std::int32_t ZoneIndex::Impl::locate(const tagPOINT& p) const {
  std::size_t cell = 0;
  std::int32_t answer = kNoZone;
  std::uint32_t j = first_entry(p, &cell, &answer);
  if (j == kNoCell) return answer;
  for (; lists[j] != kNoCell; ++j) {
    const std::uint32_t z = lists[j] & kZoneMask;
    if ((lists[j] & kWhole) != 0 || index(z).contain(p.x, p.y) != 0) return row_locate(p, ids[z]);
  }
  return row_locate(p, kNoZone);
}

// The zones tested by rows alone can still hold p with a lower id.
std::int32_t ZoneIndex::Impl::row_locate(const tagPOINT& p, std::int32_t best) const {
  for (const std::uint32_t z : row_zones) {
    if (best != kNoZone && ids[z] >= best) break;
    if (index(z).contain(p.x, p.y) != 0) return ids[z];
  }
  return best;
}

void ZoneIndex::Impl::locate_many(const tagPOINT* pts, std::size_t count, std::int32_t* out) const {
  // An index that the caches hold answers faster one point at a time.
  if (cells.empty() || bytes < detail::kInterleaveBytes) {
    for (std::size_t i = 0; i < count; ++i) out[i] = locate(pts[i]);
    return;
  }
  // Large batches go block by block of the grid, in equal chunks of at most
  // 2^20 points (the working memory stays below 16 MiB).
  constexpr std::size_t kOrderMin = std::size_t{1} << 14, kChunk = std::size_t{1} << 20;
  if (count >= kOrderMin) {
    const std::size_t chunks = (count - 1) / kChunk + 1;
    std::size_t done = 0;
    for (std::size_t k = 0; k < chunks; ++k) {
      const std::size_t n = count / chunks + (k < count % chunks ? 1 : 0);
      if (!locate_ordered(pts + done, n, out + done)) break;
      done += n;
    }
    pts += done;
    out += done;
    count -= done;
  }
  locate_lanes(
      count, [pts](std::size_t i) -> const tagPOINT& { return pts[i]; },
      [out](std::size_t i, std::int32_t z) { out[i] = z; });
}

// Answers first the points whose cell holds the answer; the rest go in the
// order of the grid's blocks (square groups of cells, some 256 points of the
// chunk a block), so that the queries in flight together read nearby parts
// of the index and the caches serve most of their reads. Needs 16 bytes a
// point and a word a block of working memory: false, nothing answered, when
// there is none.
bool ZoneIndex::Impl::locate_ordered(const tagPOINT* pts, std::size_t count,
                                     std::int32_t* out) const {
  constexpr std::size_t kPerBlock = 256;
  constexpr std::uint32_t kDone = 0xFFFFFFFFu;
  std::uint32_t shift = 0;
  auto blocks_at = [&](std::uint32_t s) {
    return static_cast<std::size_t>(((grid.cols - 1) >> s) + 1) * (((grid.rows - 1) >> s) + 1);
  };
  while (blocks_at(shift) > std::max<std::size_t>(count / kPerBlock, 1)) ++shift;
  const std::uint32_t block_cols = ((grid.cols - 1) >> shift) + 1;
  const std::size_t blocks = blocks_at(shift);
  // key[i]: point i's block, kDone once answered; start: where each block's
  // points begin in `slots`.
  std::unique_ptr<std::uint32_t[]> keys(new (std::nothrow) std::uint32_t[count + blocks + 1]);
  std::unique_ptr<Slot[]> slots(new (std::nothrow) Slot[count]);
  if (!keys || !slots) return false;
  std::uint32_t* key = keys.get();
  std::uint32_t* start = key + count;
  std::fill(start, start + blocks + 1, 0u);
  for (std::size_t i = 0; i < count; ++i) {
    std::size_t cell = 0;
    key[i] = kDone;
    if (first_entry(pts[i], &cell, &out[i]) == kNoCell) continue;
    const std::size_t c = cell % grid.cols, r = cell / grid.cols;
    key[i] = static_cast<std::uint32_t>((r >> shift) * block_cols + (c >> shift));
    ++start[key[i] + 1];
  }
  for (std::size_t b = 0; b < blocks; ++b) start[b + 1] += start[b];
  const std::size_t pending = start[blocks];
  for (std::size_t i = 0; i < count; ++i) {
    if (key[i] != kDone) slots[start[key[i]]++] = {pts[i], static_cast<std::uint32_t>(i)};
  }
  const Slot* s = slots.get();
  locate_lanes(
      pending, [s](std::size_t k) -> const tagPOINT& { return s[k].p; },
      [s, out](std::size_t k, std::int32_t z) { out[s[k].owner] = z; });
  return true;
}

// locate() for many points, a few dozen in flight: each advances one read
// at a time (the cell's list, then each listed zone's index) while the
// others' reads are under way.
template <class At, class Put>
void ZoneIndex::Impl::locate_lanes(std::size_t count, At at, Put put) const {
  struct Lane {
    std::size_t owner;
    std::uint32_t j;  // the next entry of the cell's list to try
    bool in_zone;     // a zone's probe is under way
    detail::AreaIndex::Probe probe;
  };
  constexpr std::size_t kLanes = 32;
  Lane lanes[kLanes];
  std::size_t live = 0, next = 0;
  // Tries the listed entries of lane l from its j on: an answer (>= 0 done),
  // or -1 with a probe under way.
  auto advance = [&](Lane& l) -> bool {
    const tagPOINT& p = at(l.owner);
    for (; lists[l.j] != kNoCell; ++l.j) {
      const std::uint32_t item = lists[l.j];
      const std::uint32_t z = item & kZoneMask;
      const std::int32_t r = (item & kWhole) != 0 ? 1 : index(z).probe_start(l.probe, p.x, p.y);
      if (r < 0) {
        l.in_zone = true;
        return false;
      }
      if (r == 1) {
        put(l.owner, row_locate(p, ids[z]));
        return true;
      }
    }
    put(l.owner, row_locate(p, kNoZone));
    return true;
  };
  auto start = [&](Lane& l) {
    while (next < count) {
      l.owner = next++;
      std::size_t cell = 0;
      std::int32_t answer = kNoZone;
      l.j = first_entry(at(l.owner), &cell, &answer);
      if (l.j == kNoCell) {
        put(l.owner, answer);
        continue;
      }
      l.in_zone = false;
      detail::prefetch(lists.data() + l.j);
      return true;
    }
    return false;
  };
  while (live < kLanes && start(lanes[live])) ++live;
  while (live > 0) {
    for (std::size_t k = 0; k < live;) {
      Lane& l = lanes[k];
      bool done = false;
      if (!l.in_zone) {
        done = advance(l);
      } else {
        const std::uint32_t z = lists[l.j] & kZoneMask;
        const std::int32_t r = index(z).probe_step(l.probe);
        if (r == 1) {
          put(l.owner, row_locate(at(l.owner), ids[z]));
          done = true;
        } else if (r == 0) {
          l.in_zone = false;
          ++l.j;
          done = advance(l);
        }
      }
      if (!done) {
        ++k;
      } else if (!start(l)) {
        lanes[k] = lanes[--live];
      } else {
        ++k;
      }
    }
  }
}

// The grid over the zones' reach (each zone's rectangle, widened where a
// wrapping edge's crossing can land), about 4096 cells per zone (up to 2^22;
// the finer it is, the more points their cell alone answers), and in each
// cell the zones that hold some point of it.
void ZoneIndex::Impl::build() {
  // Ascending id (ties in the order given): the first hit is the answer.
  std::vector<std::uint32_t> order(zones.size());
  std::iota(order.begin(), order.end(), 0u);
  std::stable_sort(order.begin(), order.end(),
                   [&](std::uint32_t a, std::uint32_t b) { return ids[a] < ids[b]; });
  std::vector<std::uint32_t> gridded;
  std::int64_t lo_x = INT64_MAX, lo_y = INT64_MAX, hi_x = INT64_MIN, hi_y = INT64_MIN;
  for (const std::uint32_t z : order) {
    const detail::AreaIndex& a = index(z);
    if (a.blank()) continue;  // holds no point
    if (a.reach_x0() == INT32_MIN && a.reach_x1() > INT32_MAX) {
      row_zones.push_back(z);
      continue;
    }
    gridded.push_back(z);
    lo_x = std::min(lo_x, a.reach_x0());
    hi_x = std::max(hi_x, a.reach_x1());
    lo_y = std::min<std::int64_t>(lo_y, a.min_y());
    hi_y = std::max<std::int64_t>(hi_y, a.max_y());
  }
  if (gridded.empty()) return;
  if (gridded.size() >= kZoneMask) throw std::bad_alloc();  // positions must leave kNoCell free
  const std::size_t target = std::min<std::size_t>(4096 * gridded.size(), std::size_t{1} << 22);
  grid = detail::choose_grid(lo_x, lo_y, static_cast<std::uint64_t>(hi_x - 1 - lo_x),
                             static_cast<std::uint64_t>(hi_y - 1 - lo_y), target);
  // A zone holds points only in its reach: look at the cells covering it and
  // list the zone where it holds some point, marked where it holds all.
  std::vector<detail::CellItem> pairs;
  for (const std::uint32_t z : gridded) {
    const detail::AreaIndex& a = index(z);
    const auto c0 = static_cast<std::uint64_t>(a.reach_x0() - grid.x0) >> grid.sx;
    const auto c1 = static_cast<std::uint64_t>(a.reach_x1() - 1 - grid.x0) >> grid.sx;
    const auto r0 = static_cast<std::uint64_t>(a.min_y() - grid.y0) >> grid.sy;
    const auto r1 = static_cast<std::uint64_t>(a.max_y() - 1 - grid.y0) >> grid.sy;
    for (std::uint64_t r = r0; r <= r1; ++r) {
      for (std::uint64_t c = c0; c <= c1; ++c) {
        const std::int64_t x = grid.cell_x(c), y = grid.cell_y(r);
        const auto cover = a.coverage(x, y, grid.cell_x(c + 1), grid.cell_y(r + 1));
        if (cover == detail::AreaIndex::Coverage::kOutside) continue;
        const std::uint32_t whole = cover == detail::AreaIndex::Coverage::kInside ? kWhole : 0u;
        pairs.push_back({static_cast<std::uint32_t>(r * grid.cols + c), z | whole});
      }
    }
  }
  // The pairs come zone by zone in ascending id, so each cell's list does too.
  const detail::CellLists listed = detail::build_cell_lists(grid.cells(), pairs);
  if (listed.items.size() + grid.cells() >= kWhole) throw std::bad_alloc();
  cells.assign(grid.cells(), kNoCell);
  std::size_t listed_words = 0;
  for (std::size_t c = 0; c < grid.cells(); ++c) {
    const std::uint32_t b = listed.begin(c), e = listed.end(c);
    if (b != e && (listed.items[b] & kWhole) == 0) listed_words += e - b + 1;
  }
  lists.reserve(listed_words);
  for (std::size_t c = 0; c < grid.cells(); ++c) {
    const std::uint32_t b = listed.begin(c), e = listed.end(c);
    if (b == e) continue;
    if ((listed.items[b] & kWhole) != 0) {
      cells[c] = listed.items[b];
      continue;
    }
    cells[c] = static_cast<std::uint32_t>(lists.size());
    lists.insert(lists.end(), listed.items.begin() + b, listed.items.begin() + e);
    lists.push_back(kNoCell);
  }
  bytes = (cells.size() + lists.size()) * sizeof(std::uint32_t);
  for (const PreparedPolygon& z : zones) bytes += z.memory_bytes();
}

ZoneIndex::ZoneIndex() : impl_(std::make_unique<Impl>()) {}

ZoneIndex::ZoneIndex(const Area* areas, std::size_t count, Rule rule)
    : impl_(std::make_unique<Impl>()) {
  Impl& m = *impl_;
  m.rule = rule;
  if (areas == nullptr) count = 0;
  detail::AreaScratch scratch;  // one working storage for every zone's build
  for (std::size_t i = 0; i < count; ++i) {
    if (areas[i].id == kNoZone) continue;
    m.zones.emplace_back();
    PreparedPolygon::prepare(*m.zones.back().impl_, areas[i].rings,
                             areas[i].rings == nullptr ? 0 : areas[i].ring_count, rule,
                             detail::kZoneLeafWords, &scratch);
    m.ids.push_back(areas[i].id);
  }
  m.build();
}

ZoneIndex::ZoneIndex(const Zone* zones, std::size_t count, Rule rule)
    : impl_(std::make_unique<Impl>()) {
  Impl& m = *impl_;
  m.rule = rule;
  if (zones == nullptr) count = 0;
  for (std::size_t i = 0; i < count; ++i) {
    if (zones[i].id == kNoZone) continue;
    m.zones.emplace_back();
    PreparedPolygon::prepare_ring(*m.zones.back().impl_, zones[i].points, zones[i].count, rule,
                                  detail::kZoneLeafWords);
    m.ids.push_back(zones[i].id);
  }
  m.build();
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
  get().locate_many(points, count, out);
}

Rule ZoneIndex::rule() const { return get().rule; }
std::size_t ZoneIndex::size() const { return get().zones.size(); }
const PreparedPolygon& ZoneIndex::zone(std::size_t i) const { return get().zones[i]; }
std::int32_t ZoneIndex::id(std::size_t i) const { return get().ids[i]; }

std::size_t ZoneIndex::memory_bytes() const {
  const Impl& m = get();
  std::size_t bytes =
      sizeof(*this) + sizeof(Impl) + m.zones.capacity() * sizeof(PreparedPolygon) +
      m.ids.capacity() * sizeof(std::int32_t) +
      (m.cells.capacity() + m.lists.capacity() + m.row_zones.capacity()) * sizeof(std::uint32_t);
  for (const PreparedPolygon& z : m.zones) bytes += z.memory_bytes();
  return bytes;
}

}  // namespace kelvor
