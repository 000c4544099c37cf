// Building an area index: the grid's lists, one sweep along each band's
// first row for the cells' bases, and the halving of crowded cells. The
// argument is at the top of region/area_index.h; the words in area_words.h.
#include <algorithm>
#include <new>
#include <utility>
#include <vector>

#include "area_words.h"
#include "common/crossing.h"
#include "region/area_index.h"
#include "region/cell_lists.h"
#include "region/grid_shape.h"

namespace kelvor::detail {

namespace {

constexpr std::uint32_t kRunItem = 1u << 31;  // list item: the junction after a horizontal run
constexpr std::uint32_t kNone = 0xFFFFFFFFu;
constexpr std::uint32_t kMaxWildBands = 64;
// A leaf longer than this many words is split while the budget lasts.
constexpr std::size_t kLeafWords = 12;
constexpr std::size_t kMaxPoints = std::size_t{1} << 29;
constexpr std::size_t kMaxCells = std::size_t{1} << 26;

constexpr std::uint8_t kNonHorizontal = 1, kWild = 2, kSlowEdge = 4;

enum class Side { kLeft, kMeets, kRight };

struct Range {
  std::int64_t lo, hi;  // inclusive; lo > hi: empty
};

// A cell during the build: [x0, x0 + 2^a) x [y0, y0 + 2^b), the edges it
// lists, the horizontal runs that meet it, its toggle junctions, and the
// rings that vary in it with their parity at (x0, y0) of what it does not
// list.
struct CellBuild {
  std::int64_t x0 = 0, y0 = 0;
  std::uint32_t a = 0, b = 0;
  std::vector<std::uint32_t> edges, runs, toggles;  // ascending
  struct Active {
    std::uint32_t ring;
    std::uint32_t base;
  };
  std::vector<Active> active;  // ascending ring

  std::int64_t x1() const { return x0 + (std::int64_t{1} << a); }
  std::int64_t y1() const { return y0 + (std::int64_t{1} << b); }
};

}  // namespace

class AreaBuilder {
 public:
  explicit AreaBuilder(AreaIndex& ix) : ix_(ix) {}
  void build();

 private:
  // --- Geometry of one edge (index of its start point) ---
  std::uint32_t end_of(std::uint32_t i) const {
    const AreaRing& r = ix_.rings_[ring_of_[i]];
    return i + 1 < r.first + static_cast<std::uint32_t>(r.count) ? i + 1 : r.first;
  }
  const tagPOINT& start(std::uint32_t i) const { return ix_.points_[i]; }
  const tagPOINT& finish(std::uint32_t i) const { return ix_.points_[end_of(i)]; }
  std::int32_t crossing(std::uint32_t e, std::int32_t y) const {
    return rule_crossing(start(e), finish(e), y, ix_.rule_);
  }
  std::uint32_t crosses(std::uint32_t e, std::int64_t x, std::int32_t y) const {
    return crosses_slow(start(e), finish(e), x, y, ix_.rule_);
  }
  Range wild_range(std::uint32_t e) const;
  Range range(std::uint32_t e, std::int64_t r0, std::int64_t r1) const;
  Side side(std::uint32_t e, const CellBuild& c) const;
  bool run_meets(std::uint32_t j, const CellBuild& c) const;

  // --- Setting up ---
  void assign_groups();
  bool bounds();
  void edge_tables();
  template <class Emit>
  void enumerate(const GridShape& g, Emit&& emit) const;
  void grid_and_lists();
  void wild_bands();

  // --- Cells ---
  void sweep_band(std::uint32_t band);
  void flip(std::uint32_t ring);
  bool satisfied(std::int32_t group) const {
    return group_outer_[group] != 0 && group_holes_in_[group] == 0;
  }
  void find_toggles(CellBuild& c) const;
  void keep_rings(CellBuild& c, const std::vector<std::uint32_t>& rings) const;
  std::vector<std::uint32_t> varying_rings(const CellBuild& c) const;
  std::vector<std::uint32_t> parities_at(const CellBuild& c, std::int64_t x, std::int32_t y) const;
  std::uint32_t top_cell(CellBuild&& c);
  std::uint32_t emit(CellBuild&& c);
  std::uint32_t split(const CellBuild& c);
  CellBuild half(const CellBuild& c, std::uint32_t qx, std::uint32_t qy, bool* full) const;
  std::size_t leaf_words(const CellBuild& c) const;
  std::uint32_t write_leaf(const CellBuild& c);
  void write_block(const CellBuild& c, std::size_t k);
  std::uint32_t edge_words(const CellBuild& c, std::uint32_t ring) const;
  std::uint32_t toggle_count(const CellBuild& c, std::uint32_t ring) const;

  AreaIndex& ix_;
  std::int64_t last_row_ = 0;
  std::vector<std::uint32_t> ring_of_;  // per point; kNone for rings not indexed
  std::vector<std::uint32_t> prev_, next_;  // non-horizontal neighbours of a non-horizontal edge
  std::vector<std::int32_t> run_lo_, run_hi_;  // run before each junction (lo > hi: none)
  std::vector<std::uint8_t> flags_;
  std::vector<std::uint32_t> group_outer_ring_;
  std::vector<std::uint32_t> indexed_;  // non-horizontal edges of indexed rings, ascending
  std::vector<std::uint32_t> junctions_;  // junctions with a run, ascending
  CellLists lists_;
  std::size_t budget_ = 0;
  // Sweep state along one row: each ring's parity, each group's outer
  // parity and count of odd holes, and the number of groups satisfied.
  std::vector<std::uint8_t> ring_par_, group_outer_;
  std::vector<std::uint32_t> group_holes_in_;
  std::vector<std::uint32_t> touched_;
  std::size_t satisfied_ = 0;
};

// ---------------------------------------------------------------------------
// Geometry

Range AreaBuilder::wild_range(std::uint32_t e) const {
  const Columns c = wild_columns(start(e), finish(e));
  return {c.lo, c.hi};
}

// Columns of the edge's crossings over rows [r0, r1] (clipped to the rows it
// straddles and its end rows); t_e is monotone in y and is the end point on
// an end row.
Range AreaBuilder::range(std::uint32_t e, std::int64_t r0, std::int64_t r1) const {
  const tagPOINT &a = start(e), &b = finish(e);
  r0 = std::max<std::int64_t>(r0, std::min(a.y, b.y));
  r1 = std::min<std::int64_t>(r1, std::max(a.y, b.y));
  if (r0 > r1) return {1, 0};
  if ((flags_[e] & kWild) != 0) return wild_range(e);
  const std::int64_t t0 = exact_crossing_at<Row>(a, b, static_cast<std::int32_t>(r0));
  const std::int64_t t1 = exact_crossing_at<Row>(a, b, static_cast<std::int32_t>(r1));
  return {std::min(t0, t1), std::max(t0, t1)};
}

Side AreaBuilder::side(std::uint32_t e, const CellBuild& c) const {
  const Range r = range(e, c.y0, c.y1() - 1);
  if (r.lo > r.hi || r.hi < c.x0) return Side::kLeft;  // no row of c: I_e is 0 there
  if (r.lo >= c.x1()) return Side::kRight;
  return Side::kMeets;
}

bool AreaBuilder::run_meets(std::uint32_t j, const CellBuild& c) const {
  const std::int32_t h = start(j).y;
  return h > c.y0 && h < c.y1() && run_hi_[j] >= c.x0 && run_lo_[j] < c.x1();
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
  bool any = false;
  for (std::size_t r = 0; r < ix_.rings_.size(); ++r) {
    const AreaRing& ring = ix_.rings_[r];
    if (ring.group < 0) continue;
    for (std::uint32_t i = ring.first; i < ring.first + static_cast<std::uint32_t>(ring.count);
         ++i) {
      ring_of_[i] = static_cast<std::uint32_t>(r);
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
  run_lo_.assign(n, 1);
  run_hi_.assign(n, 0);
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
        run_lo_[i] = lo;
        run_hi_[i] = hi;
        junctions_.push_back(i);
      }
      prev = i;
    }
  }
  std::sort(junctions_.begin(), junctions_.end());
  ix_.reach_x0_ = ix_.min_.x;
  ix_.reach_x1_ = std::int64_t{ix_.max_.x} + 1;
  for (const std::uint32_t e : indexed_) {
    if ((flags_[e] & kWild) == 0) continue;
    ix_.has_wild_ = true;
    const Range r = wild_range(e);
    ix_.reach_x0_ = std::min(ix_.reach_x0_, r.lo);
    ix_.reach_x1_ = std::max(ix_.reach_x1_, r.hi + 1);
  }
}

// Every (cell, item) of the grid: each non-horizontal edge in the cells of
// its range over each band's rows (one band: its whole column range, a
// superset), then each run in the cells it meets on its row.
template <class Emit>
void AreaBuilder::enumerate(const GridShape& g, Emit&& emit) const {
  const std::int64_t x_end = g.cell_x(g.cols) - 1;
  auto cells = [&](std::uint64_t band, std::int64_t lo, std::int64_t hi, std::uint32_t item) {
    lo = std::max(lo, g.x0);
    hi = std::min(hi, x_end);
    if (lo > hi) return;
    const std::size_t base = static_cast<std::size_t>(band) * g.cols;
    const std::uint64_t c1 = static_cast<std::uint64_t>(hi - g.x0) >> g.sx;
    for (std::uint64_t c = static_cast<std::uint64_t>(lo - g.x0) >> g.sx; c <= c1; ++c) {
      emit(base + static_cast<std::size_t>(c), item);
    }
  };
  for (const std::uint32_t e : indexed_) {
    const tagPOINT &a = start(e), &b = finish(e);
    const std::int64_t lo = std::min(a.y, b.y), hi = std::min<std::int64_t>(std::max(a.y, b.y), last_row_);
    const std::uint64_t b0 = static_cast<std::uint64_t>(lo - g.y0) >> g.sy;
    const std::uint64_t b1 = static_cast<std::uint64_t>(hi - g.y0) >> g.sy;
    if ((flags_[e] & kWild) != 0) {
      const Range r = wild_range(e);
      for (std::uint64_t band = b0; band <= b1; ++band) cells(band, r.lo, r.hi, e);
    } else if (b0 == b1) {
      cells(b0, std::min(a.x, b.x), std::max(a.x, b.x), e);
    } else {
      for (std::uint64_t band = b0; band <= b1; ++band) {
        const Range r = range(e, std::max<std::int64_t>(lo, g.cell_y(band)),
                              std::min<std::int64_t>(hi, g.cell_y(band + 1) - 1));
        cells(band, r.lo, r.hi, e);
      }
    }
  }
  for (const std::uint32_t j : junctions_) {
    const std::int64_t h = start(j).y;
    if (h < g.y0 || h > last_row_) continue;
    const std::uint64_t band = static_cast<std::uint64_t>(h - g.y0) >> g.sy;
    if (g.cell_y(band) == h) continue;  // a band's first row toggles nothing
    cells(band, run_lo_[j], run_hi_[j], j | kRunItem);
  }
}

void AreaBuilder::grid_and_lists() {
  const std::size_t n = indexed_.size();
  std::size_t target = std::max<std::size_t>(16, n / 2);
  target = std::min(target, kMaxCells / 2);
  const std::size_t limit = 16 * n + 4096;  // list entries before coarsening
  const std::uint64_t span_x = static_cast<std::uint64_t>(std::int64_t{ix_.max_.x} - ix_.min_.x);
  const std::uint64_t span_y = static_cast<std::uint64_t>(last_row_ - ix_.min_.y);
  for (;;) {
    ix_.grid_ = choose_grid(ix_.min_.x, ix_.min_.y, span_x, span_y, target);
    std::size_t count = 0;
    enumerate(ix_.grid_, [&](std::size_t, std::uint32_t) { ++count; });
    if ((count <= limit && ix_.grid_.cells() <= kMaxCells) || target <= 16) break;
    target /= 4;
  }
  if (ix_.grid_.cells() > kMaxCells) throw std::bad_alloc();
  lists_ = build_cell_lists(ix_.grid_.cells(),
                            [&](auto&& emit) { enumerate(ix_.grid_, emit); });
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
  for (std::size_t k = 0; k < ix_.wild_bands_; ++k) ix_.wild_offsets_[k + 1] += ix_.wild_offsets_[k];
  ix_.wild_edges_.resize(ix_.wild_offsets_.back());
  std::vector<std::uint32_t> cursor(ix_.wild_offsets_.begin(), ix_.wild_offsets_.end() - 1);
  each([&](std::size_t band, std::uint32_t e) {
    ix_.wild_edges_[cursor[band]++] = e;
    ix_.wild_edges_[cursor[band]++] = ring_of_[e];
  });
}

void AreaBuilder::build() {
  if (ix_.points_.size() > kMaxPoints) throw std::bad_alloc();
  assign_groups();
  // The bound KPGON keeps for each ring of 3 points or more.
  const bool found = bounds();
  if (!found) return;
  ix_.blank_ = false;
  edge_tables();
  grid_and_lists();
  wild_bands();
  const GridShape& g = ix_.grid_;
  budget_ = g.cells() + 24 * indexed_.size() + 4096;
  ix_.words_.assign(g.cells(), kConst);
  ring_par_.assign(ix_.rings_.size(), 0);
  group_outer_.assign(group_outer_ring_.size(), 0);
  group_holes_in_.assign(group_outer_ring_.size(), 0);
  for (std::uint32_t band = 0; band < g.rows; ++band) sweep_band(band);
  lists_ = CellLists();
}

// ---------------------------------------------------------------------------
// The sweep: along a band's first row from the right, each ring's parity at
// the corner of every cell, from the crossings of that row (each listed in
// the cell that holds it).

void AreaBuilder::flip(std::uint32_t ring) {
  const std::int32_t g = ix_.rings_[ring].group;
  const bool was = satisfied(g);
  if (ring_par_[ring] == 0) touched_.push_back(ring);
  ring_par_[ring] ^= 1;
  if (ix_.rings_[ring].hole) {
    group_holes_in_[g] += ring_par_[ring] != 0 ? 1u : 0u - 1u;
  } else {
    group_outer_[g] ^= 1;
  }
  satisfied_ = satisfied_ + (satisfied(g) ? 1 : 0) - (was ? 1 : 0);
}

void AreaBuilder::sweep_band(std::uint32_t band) {
  const GridShape& g = ix_.grid_;
  for (const std::uint32_t r : touched_) {
    ring_par_[r] = 0;
    const std::int32_t grp = ix_.rings_[r].group;
    group_outer_[grp] = 0;
    group_holes_in_[grp] = 0;
  }
  touched_.clear();
  satisfied_ = 0;
  const std::int64_t y0 = g.cell_y(band);
  if (y0 > last_row_) return;
  const auto row = static_cast<std::int32_t>(y0);
  // Wrapped crossings beyond the grid's last column count for every cell.
  if (ix_.has_wild_) {
    const std::int64_t x_end = g.cell_x(g.cols);
    const std::size_t wb = static_cast<std::size_t>(y0 - ix_.min_.y) >> ix_.wild_sy_;
    for (std::uint32_t k = ix_.wild_offsets_[wb]; k < ix_.wild_offsets_[wb + 1]; k += 2) {
      const std::uint32_t e = ix_.wild_edges_[k];
      if (straddles(start(e).y, finish(e).y, row) && crossing(e, row) >= x_end) flip(ring_of_[e]);
    }
  }
  for (std::uint32_t col = g.cols; col-- > 0;) {
    const std::size_t cell = static_cast<std::size_t>(band) * g.cols + col;
    const std::int64_t x0 = g.cell_x(col), x1 = g.cell_x(col + 1);
    CellBuild c;
    c.x0 = x0;
    c.y0 = y0;
    c.a = g.sx;
    c.b = g.sy;
    for (std::uint32_t k = lists_.begin(cell); k < lists_.end(cell); ++k) {
      const std::uint32_t item = lists_.items[k];
      if ((item & kRunItem) != 0) {
        c.runs.push_back(item & ~kRunItem);
        continue;
      }
      c.edges.push_back(item);
      if (!straddles(start(item).y, finish(item).y, row)) continue;
      const std::int64_t t = crossing(item, row);
      if (t > x0 && t < x1) flip(ring_of_[item]);
    }
    const std::uint32_t word = top_cell(std::move(c));
    for (std::uint32_t k = lists_.begin(cell); k < lists_.end(cell); ++k) {
      const std::uint32_t e = lists_.items[k];
      if ((e & kRunItem) == 0 && straddles(start(e).y, finish(e).y, row) &&
          crossing(e, row) == x0) {
        flip(ring_of_[e]);
      }
    }
    ix_.words_[cell] = word;
  }
}

// Rings with listed edges or toggles in c, ascending.
std::vector<std::uint32_t> AreaBuilder::varying_rings(const CellBuild& c) const {
  std::vector<std::uint32_t> rings;
  for (const std::uint32_t e : c.edges) {
    if (rings.empty() || rings.back() != ring_of_[e]) rings.push_back(ring_of_[e]);
  }
  for (const std::uint32_t j : c.toggles) rings.push_back(ring_of_[j]);
  std::sort(rings.begin(), rings.end());
  rings.erase(std::unique(rings.begin(), rings.end()), rings.end());
  return rings;
}

// Keeps only the edges, runs and toggles of the given rings (ascending).
void AreaBuilder::keep_rings(CellBuild& c, const std::vector<std::uint32_t>& rings) const {
  auto kept = [&](std::uint32_t e) {
    return std::binary_search(rings.begin(), rings.end(), ring_of_[e]);
  };
  auto filter = [&](std::vector<std::uint32_t>& v) {
    v.erase(std::remove_if(v.begin(), v.end(), [&](std::uint32_t e) { return !kept(e); }),
            v.end());
  };
  filter(c.edges);
  filter(c.runs);
  filter(c.toggles);
}

// The toggle junctions of c (see region/area_index.h). A junction is
// visited from its listed edge when exactly one of its two edges is listed,
// and from its run when neither is; it toggles when exactly one of its two
// edges lies right of c.
void AreaBuilder::find_toggles(CellBuild& c) const {
  c.toggles.clear();
  auto listed = [&](std::uint32_t e) {
    return std::binary_search(c.edges.begin(), c.edges.end(), e);
  };
  auto in_rows = [&](std::uint32_t j) {
    const std::int64_t h = start(j).y;
    return h > c.y0 && h < c.y1();
  };
  for (const std::uint32_t e : c.edges) {
    if (in_rows(e) && !listed(prev_[e]) && side(prev_[e], c) == Side::kRight) {
      c.toggles.push_back(e);
    }
    const std::uint32_t nx = next_[e];
    if (in_rows(nx) && !listed(nx) && side(nx, c) == Side::kRight) c.toggles.push_back(nx);
  }
  for (const std::uint32_t j : c.runs) {
    if (!in_rows(j) || listed(j) || listed(prev_[j])) continue;
    if ((side(prev_[j], c) == Side::kRight) != (side(j, c) == Side::kRight)) {
      c.toggles.push_back(j);
    }
  }
  std::sort(c.toggles.begin(), c.toggles.end());
}

// Parity at (x, y) of each ring of c.active, from c's lists.
std::vector<std::uint32_t> AreaBuilder::parities_at(const CellBuild& c, std::int64_t x,
                                                    std::int32_t y) const {
  std::vector<std::uint32_t> par(c.active.size());
  auto slot = [&](std::uint32_t ring) {
    const auto it = std::lower_bound(
        c.active.begin(), c.active.end(), ring,
        [](const CellBuild::Active& s, std::uint32_t r) { return s.ring < r; });
    return static_cast<std::size_t>(it - c.active.begin());
  };
  for (std::size_t k = 0; k < c.active.size(); ++k) par[k] = c.active[k].base;
  for (const std::uint32_t e : c.edges) par[slot(ring_of_[e])] ^= crosses(e, x, y);
  for (const std::uint32_t j : c.toggles) {
    par[slot(ring_of_[j])] ^= static_cast<std::uint32_t>(y >= start(j).y);
  }
  return par;
}

// A cell of the grid, with the sweep's parities at its corner.
std::uint32_t AreaBuilder::top_cell(CellBuild&& c) {
  find_toggles(c);
  const std::vector<std::uint32_t> rings = varying_rings(c);
  const auto row = static_cast<std::int32_t>(c.y0);
  // Groups whose rings are all constant here: one satisfied fills the cell.
  std::size_t varying_satisfied = 0;
  std::vector<std::int32_t> groups;
  for (const std::uint32_t r : rings) {
    const std::int32_t g = ix_.rings_[r].group;
    if (groups.empty() || groups.back() != g) {
      groups.push_back(g);
      varying_satisfied += satisfied(g) ? 1 : 0;
    }
  }
  if (satisfied_ > varying_satisfied) return kConst | 1u;
  // Groups that vary: a constant outside outer ring or a constant inside hole
  // drops the group; the rest keep their varying rings.
  std::vector<std::uint32_t> kept;
  std::size_t first = 0;
  for (const std::int32_t g : groups) {
    std::size_t last = first;
    while (last < rings.size() && ix_.rings_[rings[last]].group == g) ++last;
    const std::uint32_t outer = group_outer_ring_[g];
    const bool outer_varies = rings[first] == outer;
    std::uint32_t varying_holes_in = 0;
    for (std::size_t k = outer_varies ? first + 1 : first; k < last; ++k) {
      varying_holes_in += ring_par_[rings[k]];
    }
    const bool drop = (!outer_varies && group_outer_[g] == 0) ||
                      group_holes_in_[g] > varying_holes_in;
    if (!drop) kept.insert(kept.end(), rings.begin() + first, rings.begin() + last);
    first = last;
  }
  if (kept.empty()) return kConst;
  keep_rings(c, kept);
  // Bases: the sweep's parity at the corner without what c lists (toggle
  // rows lie above the corner's row and add nothing).
  for (const std::uint32_t r : kept) c.active.push_back({r, ring_par_[r]});
  std::size_t k = 0;
  for (const std::uint32_t e : c.edges) {
    while (c.active[k].ring != ring_of_[e]) ++k;
    c.active[k].base ^= crosses(e, c.x0, row);
  }
  return emit(std::move(c));
}

// ---------------------------------------------------------------------------
// Leaves and halves

std::uint32_t AreaBuilder::edge_words(const CellBuild& c, std::uint32_t ring) const {
  std::uint32_t words = 0;
  for (const std::uint32_t e : c.edges) {
    if (ring_of_[e] == ring) words += end_of(e) == e + 1 ? 1 : 2;
  }
  return words;
}

std::uint32_t AreaBuilder::toggle_count(const CellBuild& c, std::uint32_t ring) const {
  std::uint32_t count = 0;
  for (const std::uint32_t j : c.toggles) count += ring_of_[j] == ring ? 1 : 0;
  return count;
}

std::size_t AreaBuilder::leaf_words(const CellBuild& c) const {
  std::size_t words = 2 + c.toggles.size() + (c.active.size() > 1 ? 2 * c.active.size() : 0);
  for (const std::uint32_t e : c.edges) words += end_of(e) == e + 1 ? 1 : 2;
  return words;
}

void AreaBuilder::write_block(const CellBuild& c, std::size_t k) {
  const std::uint32_t ring = c.active[k].ring;
  for (const std::uint32_t e : c.edges) {
    if (ring_of_[e] != ring) continue;
    const std::uint32_t end = end_of(e);
    std::uint32_t word = e;
    if ((flags_[e] & kSlowEdge) != 0) word |= kSlowBit;
    if (end != e + 1) word |= kCloseBit;
    ix_.words_.push_back(word);
    if (end != e + 1) ix_.words_.push_back(end);
  }
  for (const std::uint32_t j : c.toggles) {
    if (ring_of_[j] == ring) ix_.words_.push_back(static_cast<std::uint32_t>(start(j).y));
  }
}

std::uint32_t AreaBuilder::write_leaf(const CellBuild& c) {
  const std::size_t at = ix_.words_.size();
  if (at > kOffsetMask) throw std::bad_alloc();
  if (c.active.size() == 1) {
    // One ring: an outer ring answers its parity, a hole (whose outer ring
    // holds all of c) the opposite.
    const std::uint32_t ring = c.active[0].ring;
    const std::uint32_t base = c.active[0].base ^ (ix_.rings_[ring].hole ? 1u : 0u);
    ix_.words_.push_back(base << 31 | edge_words(c, ring));
    ix_.words_.push_back(toggle_count(c, ring));
    write_block(c, 0);
  } else {
    ix_.words_.push_back(kGeneralBit | static_cast<std::uint32_t>(c.active.size()));
    ix_.words_.push_back(0);
    std::int32_t group = -1;
    for (std::size_t k = 0; k < c.active.size(); ++k) {
      const AreaRing& ring = ix_.rings_[c.active[k].ring];
      ix_.words_.push_back(c.active[k].base << 31 | (ring.hole ? kHoleBit : 0u) |
                           edge_words(c, c.active[k].ring));
      ix_.words_.push_back((ring.group != group ? kNewGroupBit : 0u) |
                           toggle_count(c, c.active[k].ring));
      group = ring.group;
      write_block(c, k);
    }
  }
  return kLeaf | static_cast<std::uint32_t>(at);
}

std::uint32_t AreaBuilder::emit(CellBuild&& c) {
  if (leaf_words(c) > kLeafWords && (c.a > 0 || c.b > 0) && ix_.words_.size() < budget_) {
    return split(c);
  }
  return write_leaf(c);
}

// One half (quarter) of c: qx, qy select the upper half in x, y. *full is
// set when some group holds all of it.
CellBuild AreaBuilder::half(const CellBuild& c, std::uint32_t qx, std::uint32_t qy,
                            bool* full) const {
  CellBuild h;
  h.a = c.a > 0 ? c.a - 1 : 0;
  h.b = c.b > 0 ? c.b - 1 : 0;
  h.x0 = c.x0 + (static_cast<std::int64_t>(qx) << h.a);
  h.y0 = c.y0 + (static_cast<std::int64_t>(qy) << h.b);
  *full = false;
  for (const std::uint32_t e : c.edges) {
    if (side(e, h) == Side::kMeets) h.edges.push_back(e);
  }
  for (const std::uint32_t j : c.runs) {
    if (run_meets(j, h)) h.runs.push_back(j);
  }
  find_toggles(h);
  // Rows beyond the rings' last row hold nothing; their corner is then
  // outside every ring, which the parities below compute anyway.
  const auto row = static_cast<std::int32_t>(std::min<std::int64_t>(h.y0, last_row_ + 1));
  const std::vector<std::uint32_t> par = parities_at(c, h.x0, row);
  const std::vector<std::uint32_t> varies = varying_rings(h);
  // Group by group over c's varying rings: those that no longer vary take
  // their constant parity; an outer ring that did not vary in c holds all
  // of it, and holes that did not vary hold none of it.
  std::vector<std::uint32_t> kept;
  std::size_t first = 0;
  while (first < c.active.size()) {
    const std::int32_t g = ix_.rings_[c.active[first].ring].group;
    std::size_t last = first;
    while (last < c.active.size() && ix_.rings_[c.active[last].ring].group == g) ++last;
    bool drop = false, any_varies = false;
    for (std::size_t k = first; k < last; ++k) {
      const std::uint32_t r = c.active[k].ring;
      if (std::binary_search(varies.begin(), varies.end(), r)) {
        any_varies = true;
        continue;
      }
      const bool hole = ix_.rings_[r].hole;
      if (hole ? par[k] != 0 : par[k] == 0) drop = true;
    }
    if (!drop) {
      if (!any_varies) {
        *full = true;
        return h;
      }
      for (std::size_t k = first; k < last; ++k) {
        const std::uint32_t r = c.active[k].ring;
        if (std::binary_search(varies.begin(), varies.end(), r)) kept.push_back(r);
      }
    }
    first = last;
  }
  if (kept.size() != varies.size()) keep_rings(h, kept);
  for (const std::uint32_t r : kept) {
    const auto it = std::lower_bound(
        c.active.begin(), c.active.end(), r,
        [](const CellBuild::Active& s, std::uint32_t ring) { return s.ring < ring; });
    std::uint32_t base = par[static_cast<std::size_t>(it - c.active.begin())];
    for (const std::uint32_t e : h.edges) {
      if (ring_of_[e] == r) base ^= crosses(e, h.x0, row);
    }
    h.active.push_back({r, base});
  }
  return h;
}

std::uint32_t AreaBuilder::split(const CellBuild& c) {
  const std::size_t at = ix_.words_.size();
  if (at + 4 > kOffsetMask) throw std::bad_alloc();
  ix_.words_.resize(at + 4, kConst);
  for (std::uint32_t qy = 0; qy < (c.b > 0 ? 2u : 1u); ++qy) {
    for (std::uint32_t qx = 0; qx < (c.a > 0 ? 2u : 1u); ++qx) {
      bool full = false;
      CellBuild h = half(c, qx, qy, &full);
      std::uint32_t word = kConst;
      if (full) {
        word = kConst | 1u;
      } else if (!h.active.empty()) {
        word = emit(std::move(h));
      }
      ix_.words_[at + 2 * qy + qx] = word;
    }
  }
  return kSplit | static_cast<std::uint32_t>(at);
}

AreaIndex::AreaIndex(std::vector<tagPOINT> points, std::vector<AreaRing> rings, Rule rule)
    : rule_(rule), points_(std::move(points)), rings_(std::move(rings)) {
  AreaBuilder(*this).build();
}

}  // namespace kelvor::detail
