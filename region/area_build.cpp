// Building an area index, part one: groups, the rings' rectangle, each
// edge's flags and neighbours and the wild edges' bands; then the grids
// (area_grid.cpp).
#include <algorithm>
#include <new>
#include <utility>
#include <vector>

#include "area_builder.h"
#include "common/crossing.h"

namespace kelvor::detail {

namespace {

constexpr std::uint32_t kMaxWildBands = 64;
constexpr std::size_t kMaxPoints = std::size_t{1} << 29;

}  // namespace

// ---------------------------------------------------------------------------
// Geometry

std::uint32_t AreaBuilder::crosses(std::uint32_t e, std::int64_t x, std::int32_t y) const {
  if ((flags_[e] & kSlowEdge) != 0) return crosses_slow(start(e), finish(e), x, y, ix_.rule_);
  // Corners beyond the last column lie right of every crossing.
  if (x > INT32_MAX) return 0;
  return crosses_fast(start(e), finish(e), static_cast<std::int32_t>(x), y);
}

// ---------------------------------------------------------------------------
// Geometry

// Columns of the edge's crossings over rows [r0, r1] (clipped to the rows it
// straddles and its end rows); t_e is monotone in y and is the end point on
// an end row.
Range AreaBuilder::range(std::uint32_t e, std::int64_t r0, std::int64_t r1) const {
  const tagPOINT &a = start(e), &b = finish(e);
  const std::int64_t lo = std::min(a.y, b.y), hi = std::max(a.y, b.y);
  if ((flags_[e] & kWild) != 0) {
    if (std::max(r0, lo) > std::min(r1, hi)) return {1, 0};
    const Columns c = wild_columns(a, b);
    return {c.lo, c.hi};
  }
  // All of the edge's rows: its own columns, no division needed.
  if (r0 <= lo && r1 >= hi) return {std::min(a.x, b.x), std::max(a.x, b.x)};
  r0 = std::max(r0, lo);
  r1 = std::min(r1, hi);
  if (r0 > r1) return {1, 0};
  const std::int64_t t0 = exact_crossing_at<Row>(a, b, static_cast<std::int32_t>(r0));
  const std::int64_t t1 = exact_crossing_at<Row>(a, b, static_cast<std::int32_t>(r1));
  return {std::min(t0, t1), std::max(t0, t1)};
}

// Which side of c the edge lies on over c's rows (up to the rings' last row,
// as the grids list them).
Side AreaBuilder::side(std::uint32_t e, const CellBuild& c) const {
  const tagPOINT &a = start(e), &b = finish(e);
  const std::int64_t r0 = c.y0, r1 = std::min(c.y1() - 1, last_row_);
  if (std::max<std::int64_t>(r0, std::min(a.y, b.y)) >
      std::min<std::int64_t>(r1, std::max(a.y, b.y))) {
    return Side::kLeft;  // no row of c: I_e is 0 there
  }
  // The edge's own columns bound its range: decide without crossings when
  // they lie on one side, or when the cell's columns hold them all.
  if ((flags_[e] & kWild) == 0) {
    const std::int64_t x_lo = std::min(a.x, b.x), x_hi = std::max(a.x, b.x);
    if (x_hi < c.x0) return Side::kLeft;
    if (x_lo >= c.x1()) return Side::kRight;
    if (x_lo >= c.x0 && x_hi < c.x1()) return Side::kMeets;
  }
  const Range r = range(e, r0, r1);
  if (r.hi < c.x0) return Side::kLeft;
  if (r.lo >= c.x1()) return Side::kRight;
  return Side::kMeets;
}

// ---------------------------------------------------------------------------
// Setting up

// Each outer ring starts a group and holes join the latest; a hole before
// any outer ring, and every ring of a group whose outer ring is empty, has
// no effect and is not indexed.
void AreaBuilder::assign_groups() {
  std::int32_t group = -1;
  bool live = false;
  for (AreaRing& r : ix_.rings_) {
    if (!r.hole) {
      live = r.count > 0;
      if (live) {
        group = static_cast<std::int32_t>(group_outer_ring_.size());
        group_outer_ring_.push_back(static_cast<std::uint32_t>(&r - ix_.rings_.data()));
      }
    }
    r.group = live && r.count > 0 ? group : -1;
  }
}

// The rectangle of the indexed rings; false when no point can be inside:
// no row that an edge straddles, or no column (every edge upright, every
// crossing on the rectangle's one column, where no point lies left of it).
bool AreaBuilder::bounds() {
  const std::size_t n = ix_.points_.size();
  ring_of_.assign(n, kNone);
  end_.assign(n, kNone);
  bool any = false;
  for (std::size_t r = 0; r < ix_.rings_.size(); ++r) {
    const AreaRing& ring = ix_.rings_[r];
    if (ring.group < 0) continue;
    for (std::uint32_t i = ring.first; i < ring.first + static_cast<std::uint32_t>(ring.count);
         ++i) {
      ring_of_[i] = static_cast<std::uint32_t>(r);
      end_[i] = i + 1 < ring.first + static_cast<std::uint32_t>(ring.count) ? i + 1 : ring.first;
      const tagPOINT& p = ix_.points_[i];
      if (!any) ix_.min_ = ix_.max_ = p;
      any = true;
      ix_.min_ = {std::min(ix_.min_.x, p.x), std::min(ix_.min_.y, p.y)};
      ix_.max_ = {std::max(ix_.max_.x, p.x), std::max(ix_.max_.y, p.y)};
    }
  }
  if (!any || ix_.min_.x == ix_.max_.x || ix_.min_.y == ix_.max_.y) return false;
  last_row_ = std::int64_t{ix_.max_.y} - 1;
  return true;
}

void AreaBuilder::edge_tables() {
  const std::size_t n = ix_.points_.size();
  flags_.assign(n, 0);
  prev_.assign(n, kNone);
  next_.assign(n, kNone);
  for (const AreaRing& ring : ix_.rings_) {
    if (ring.group < 0) continue;
    const std::uint32_t first = ring.first, count = static_cast<std::uint32_t>(ring.count);
    std::uint32_t last_nh = kNone;
    for (std::uint32_t i = first; i < first + count; ++i) {
      const tagPOINT &a = start(i), &b = finish(i);
      if (a.y == b.y) continue;
      std::uint8_t f = kNonHorizontal;
      if (ix_.rule_ == Rule::Compatible && crossing_can_wrap_at<Row>(a, b)) f |= kWild;
      const std::int64_t dx = std::int64_t{b.x} - a.x, dy = std::int64_t{b.y} - a.y;
      if ((f & kWild) != 0 || dx > INT32_MAX || dx < -INT32_MAX || dy > INT32_MAX ||
          dy < -INT32_MAX) {
        f |= kSlowEdge;
      }
      flags_[i] = f;
      indexed_.push_back(i);
      last_nh = i;
    }
    if (last_nh == kNone) continue;
    // Neighbours around the ring, and the horizontal run (if any) between
    // each junction's two edges: points end(prev) .. e, all on e's row.
    std::uint32_t prev = last_nh;
    for (std::uint32_t i = first; i < first + count; ++i) {
      if ((flags_[i] & kNonHorizontal) == 0) continue;
      prev_[i] = prev;
      next_[prev] = i;
      std::uint32_t k = end_of(prev);
      if (k != i) {
        std::int32_t lo = start(i).x, hi = lo;
        for (; k != i; k = end_of(k)) {
          lo = std::min(lo, start(k).x);
          hi = std::max(hi, start(k).x);
        }
        junctions_.push_back(i);  // ascending: rings and their points come in order
        run_lo_.push_back(lo);
        run_hi_.push_back(hi);
      }
      prev = i;
    }
  }
  ix_.reach_x0_ = ix_.min_.x;
  ix_.reach_x1_ = std::int64_t{ix_.max_.x} + 1;
  for (const std::uint32_t e : indexed_) {
    if ((flags_[e] & kWild) == 0) continue;
    ix_.has_wild_ = true;
    const Columns r = wild_columns(start(e), finish(e));
    ix_.reach_x0_ = std::min(ix_.reach_x0_, r.lo);
    ix_.reach_x1_ = std::max(ix_.reach_x1_, r.hi + 1);
  }
}

// Wild edges by coarse band (at most 64), for the sweep and for points
// beyond the grid's columns.
void AreaBuilder::wild_bands() {
  if (!ix_.has_wild_) return;
  const std::uint64_t span = static_cast<std::uint64_t>(last_row_ - ix_.min_.y);
  ix_.wild_sy_ = 0;
  while ((span >> ix_.wild_sy_) + 1 > kMaxWildBands) ++ix_.wild_sy_;
  ix_.wild_bands_ = static_cast<std::uint32_t>((span >> ix_.wild_sy_) + 1);
  ix_.wild_offsets_.assign(ix_.wild_bands_ + 1, 0);
  auto each = [&](auto&& visit) {
    for (const std::uint32_t e : indexed_) {
      if ((flags_[e] & kWild) == 0) continue;
      const tagPOINT &a = start(e), &b = finish(e);
      const std::int64_t lo = std::int64_t{std::min(a.y, b.y)} - ix_.min_.y;
      const std::int64_t hi = std::int64_t{std::max(a.y, b.y)} - 1 - ix_.min_.y;
      for (std::int64_t band = lo >> ix_.wild_sy_; band <= (hi >> ix_.wild_sy_); ++band) {
        visit(static_cast<std::size_t>(band), e);
      }
    }
  };
  each([&](std::size_t band, std::uint32_t) { ix_.wild_offsets_[band + 1] += 2; });
  for (std::size_t k = 0; k < ix_.wild_bands_; ++k)
    ix_.wild_offsets_[k + 1] += ix_.wild_offsets_[k];
  ix_.wild_edges_.resize(ix_.wild_offsets_.back());
  std::vector<std::uint32_t> cursor(ix_.wild_offsets_.begin(), ix_.wild_offsets_.end() - 1);
  each([&](std::size_t band, std::uint32_t e) {
    ix_.wild_edges_[cursor[band]++] = e;
    ix_.wild_edges_[cursor[band]++] = ring_of_[e];
  });
}

void AreaBuilder::build() {
  if (ix_.points_.size() > kMaxPoints) throw std::bad_alloc();
  clear_lists();
  // The bound KPGON keeps for each ring of 3 points or more, joined.
  for (const AreaRing& r : ix_.rings_) {
    if (r.count < 3) continue;
    for (std::uint32_t i = r.first; i < r.first + static_cast<std::uint32_t>(r.count); ++i) {
      const tagPOINT& p = ix_.points_[i];
      if (!ix_.has_bound_) ix_.bound_min_ = ix_.bound_max_ = p;
      ix_.has_bound_ = true;
      ix_.bound_min_ = {std::min(ix_.bound_min_.x, p.x), std::min(ix_.bound_min_.y, p.y)};
      ix_.bound_max_ = {std::max(ix_.bound_max_.x, p.x), std::max(ix_.bound_max_.y, p.y)};
    }
  }
  assign_groups();
  if (!bounds()) return;
  ix_.blank_ = false;
  edge_tables();
  wild_bands();
  top_grid();
}

// Lists the build fills by appending start empty (the scratch may come from
// an earlier build).
void AreaBuilder::clear_lists() {
  junctions_.clear();
  run_lo_.clear();
  run_hi_.clear();
  group_outer_ring_.clear();
  indexed_.clear();
  touched_rings_.clear();
  touched_groups_.clear();
}

AreaScratch::AreaScratch() : state_(std::make_unique<State>()) {}
AreaScratch::~AreaScratch() = default;

AreaIndex::AreaIndex(std::vector<tagPOINT> points, std::vector<AreaRing> rings, Rule rule,
                     std::size_t leaf_words, AreaScratch* scratch)
    : rule_(rule), points_(std::move(points)), rings_(std::move(rings)) {
  if (scratch == nullptr) {
    AreaScratch own;
    AreaBuilder(*this, *own.state_, leaf_words).build();
  } else {
    AreaBuilder(*this, *scratch->state_, leaf_words).build();
  }
}

}  // namespace kelvor::detail
