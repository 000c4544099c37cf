// Building an area index, part two: grids. The grid over the rings'
// rectangle and the finer grid that splits each crowded cell are built alike:
// their lists (compressed rows), then a sweep along each band's first row
// from the right that gives every cell the parity of each ring at its corner,
// then each cell folded into a constant, a leaf, or another grid.
#include <algorithm>
#include <cstdint>
#include <new>
#include <utility>
#include <vector>

#include "area_builder.h"
#include "common/crossing.h"

namespace kelvor::detail {

namespace {

constexpr std::size_t kMaxCells = std::size_t{1} << 26;
// A cell listing this many times a leaf's words in edges is split twice at
// once (its 4 by 4 cells would hardly ever make leaves).
constexpr std::size_t kNestLeaves = 4;

}  // namespace

// Every (cell, item) of a grid: each edge in the cells of its columns over
// each band's rows, then each run in the cells it meets on its row (runs on
// a band's first row toggle nothing there). Rows above the rings' last row
// hold no point and are left out.
template <class Emit>
void AreaBuilder::enumerate(const GridShape& g, Span edges, Span runs, Emit&& emit) const {
  const std::int64_t x_end = g.cell_x(g.cols) - 1;
  const std::int64_t y_end = std::min(g.cell_y(g.rows) - 1, last_row_);
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
  for (const std::uint32_t e : edges) {
    const tagPOINT &a = start(e), &b = finish(e);
    const std::int32_t y_lo = std::min(a.y, b.y), y_hi = std::max(a.y, b.y);
    const std::int64_t lo = std::max<std::int64_t>(y_lo, g.y0);
    const std::int64_t hi = std::min<std::int64_t>(y_hi, y_end);
    if (lo > hi) continue;
    const std::uint64_t b0 = static_cast<std::uint64_t>(lo - g.y0) >> g.sy;
    const std::uint64_t b1 = static_cast<std::uint64_t>(hi - g.y0) >> g.sy;
    // Most edges of an outline lie within one band: their own columns, as
    // range() would give them, without the call.
    if (b0 == b1 && lo == y_lo && hi == y_hi && (flags_[e] & kWild) == 0) {
      cells(b0, std::min(a.x, b.x), std::max(a.x, b.x), e);
      continue;
    }
    for (std::uint64_t band = b0; band <= b1; ++band) {
      const Range r = range(e, std::max(lo, g.cell_y(band)), std::min(hi, g.cell_y(band + 1) - 1));
      cells(band, r.lo, r.hi, e);
    }
  }
  for (const std::uint32_t j : runs) {
    const std::int64_t h = start(j).y;
    if (h < g.y0 || h > y_end) continue;
    const std::uint64_t band = static_cast<std::uint64_t>(h - g.y0) >> g.sy;
    if (g.cell_y(band) == h) continue;
    const std::size_t k = static_cast<std::size_t>(
        std::lower_bound(junctions_.begin(), junctions_.end(), j) - junctions_.begin());
    cells(band, run_lo_[k], run_hi_[k], j | kRunItem);
  }
}

void AreaBuilder::top_grid() {
  const std::size_t n = indexed_.size();
  // About a cell per two vertices; small areas get up to 1024 cells (at most
  // 64 a vertex): their few long edges then cross few cells each, and a zone
  // index finds more of its cells wholly inside them.
  const std::size_t floor_cells = std::min<std::size_t>(1024, 64 * n);
  std::size_t target = std::min(std::max<std::size_t>({16, floor_cells, n / 2}), kMaxCells / 2);
  const std::size_t limit = 16 * n + 4096;  // list entries before coarsening
  const std::uint64_t span_x = static_cast<std::uint64_t>(std::int64_t{ix_.max_.x} - ix_.min_.x);
  const std::uint64_t span_y = static_cast<std::uint64_t>(last_row_ - ix_.min_.y);
  // The top grid's lists are large: count per cell, then fill (no pairs
  // held). Long edges cross many cells: coarsen until the lists stay near a
  // few entries per vertex.
  CellLists& lists = st_.top_lists_;
  std::size_t count = 0;
  for (;;) {
    ix_.grid_ = choose_grid(ix_.min_.x, ix_.min_.y, span_x, span_y, target);
    if (ix_.grid_.cells() <= kMaxCells) {
      lists.offsets.assign(ix_.grid_.cells() + 1, 0);
      count = 0;
      // Each edge's cell, kept so that the fill need not enumerate it again;
      // kNone for an edge that meets several cells or none.
      std::uint32_t last = kNone;
      top_cell_.assign(ix_.points_.size(), kNone);
      enumerate(ix_.grid_, indexed_, junctions_, [&](std::size_t cell, std::uint32_t item) {
        ++lists.offsets[cell + 1];
        ++count;
        if ((item & kRunItem) != 0) return;
        top_cell_[item] = item != last ? static_cast<std::uint32_t>(cell) : kNone;
        last = item;
      });
      if (count <= limit || target <= 16) break;
    } else if (target <= 16) {
      throw std::bad_alloc();
    }
    target /= 4;
  }
  if (count > 0xFFFFFFFFu) throw std::bad_alloc();
  for (std::size_t c = 0; c < ix_.grid_.cells(); ++c) lists.offsets[c + 1] += lists.offsets[c];
  lists.items.resize(count);
  {
    std::vector<std::uint32_t> cursor(lists.offsets.begin(), lists.offsets.end() - 1);
    auto put = [&](std::size_t cell, std::uint32_t item) { lists.items[cursor[cell]++] = item; };
    for (const std::uint32_t& e : indexed_) {
      if (top_cell_[e] != kNone) {
        put(top_cell_[e], e);
      } else {
        enumerate(ix_.grid_, {&e, 1}, {}, put);
      }
    }
    enumerate(ix_.grid_, {}, junctions_, put);
  }
  budget_ = ix_.grid_.cells() + 24 * n + 4096;
  // Outlines need some 2 to 4 words a vertex beyond the cells; reserving more
  // saves copying the words as they grow, at the price of one copy to shrink.
  ix_.words_.reserve(ix_.grid_.cells() + 7 * n + 1024);
  ix_.words_.assign(ix_.grid_.cells(), kConst);
  ring_par_.assign(ix_.rings_.size(), 0);
  group_outer_.assign(group_outer_ring_.size(), 0);
  group_holes_in_.assign(group_outer_ring_.size(), 0);
  build_grid({ix_.grid_, 0, nullptr, nullptr}, lists, 0);
  if (ix_.words_.capacity() > ix_.words_.size() + ix_.words_.size() / 4) ix_.words_.shrink_to_fit();
}

// ---------------------------------------------------------------------------
// The sweep

void AreaBuilder::flip(std::uint32_t ring) {
  const std::int32_t g = ix_.rings_[ring].group;
  const bool was = satisfied(g);
  touched_rings_.push_back(ring);
  touched_groups_.push_back(g);
  ring_par_[ring] ^= 1;
  if (ix_.rings_[ring].hole) {
    group_holes_in_[g] += ring_par_[ring] != 0 ? 1u : 0u - 1u;
  } else {
    group_outer_[g] ^= 1;
  }
  satisfied_ = satisfied_ + (satisfied(g) ? 1 : 0) - (was ? 1 : 0);
}

void AreaBuilder::reset_row() {
  for (const std::uint32_t r : touched_rings_) ring_par_[r] = 0;
  for (const std::int32_t g : touched_groups_) {
    group_outer_[g] = 0;
    group_holes_in_[g] = 0;
  }
  touched_rings_.clear();
  touched_groups_.clear();
  satisfied_ = 0;
}

// Each ring's parity on the row right of every crossing, and the crossings
// beyond the grid's last column (which count in every cell of it).
void AreaBuilder::start_row(const GridJob& job, std::int32_t row) {
  const std::int64_t x_end = job.g.cell_x(job.g.cols);
  if (job.parent == nullptr) {
    // Only wrapped crossings land beyond the rings' rectangle.
    if (!ix_.has_wild_) return;
    const std::size_t wb = static_cast<std::size_t>(std::int64_t{row} - ix_.min_.y) >> ix_.wild_sy_;
    for (std::uint32_t k = ix_.wild_offsets_[wb]; k < ix_.wild_offsets_[wb + 1]; k += 2) {
      const std::uint32_t e = ix_.wild_edges_[k];
      if (straddles(start(e).y, finish(e).y, row) && crossing(e, row) >= x_end) flip(ring_of_[e]);
    }
    return;
  }
  // Within a split cell: its base and toggles for the rings that vary in
  // it; an outer ring that does not vary holds all of it (else its group
  // would have dropped out) and a hole that does not vary holds none of it.
  const CellBuild& p = *job.parent;
  auto slot = [&](std::uint32_t ring) {
    return static_cast<std::size_t>(
        std::lower_bound(p.active.begin(), p.active.end(), ring,
                         [](const CellBuild::Active& s, std::uint32_t r) { return s.ring < r; }) -
        p.active.begin());
  };
  std::vector<std::uint32_t>& par = par_scratch_;
  par.resize(p.active.size());
  for (std::size_t k = 0; k < p.active.size(); ++k) par[k] = p.active[k].base;
  for (const std::uint32_t j : p.toggles) par[slot(ring_of_[j])] ^= row >= start(j).y ? 1u : 0u;
  std::int32_t last_group = -1;
  for (std::size_t k = 0; k < p.active.size(); ++k) {
    const std::int32_t g = ix_.rings_[p.active[k].ring].group;
    if (g != last_group && group_outer_ring_[g] != p.active[k].ring) {
      touched_groups_.push_back(g);
      group_outer_[g] = 1;
      satisfied_ += satisfied(g) ? 1 : 0;
    }
    last_group = g;
    if (par[k] != 0) flip(p.active[k].ring);
  }
  for (const std::uint32_t e : *job.beyond) {
    if (straddles(start(e).y, finish(e).y, row) && crossing(e, row) >= x_end) flip(ring_of_[e]);
  }
}

Level& AreaBuilder::level(std::size_t depth) {
  while (levels_.size() <= depth) levels_.push_back(std::make_unique<Level>());
  return *levels_[depth];
}

// The grid's cells from its lists, at job.word_of() (a nested grid's placed
// when its sweep is done); the cells to split wait in this depth's Level until
// then, and each becomes a grid one level deeper. Returns where the grid's
// words start.
std::size_t AreaBuilder::build_grid(const GridJob& job, const CellLists& lists, std::size_t depth) {
  Level& here = level(depth);
  here.used = 0;
  const GridShape& g = job.g;
  if (job.nested) here.nested.assign(g.cells(), kConst);
  std::vector<std::uint32_t>& out = job.nested ? here.nested : ix_.words_;
  for (std::uint32_t band = 0; band < g.rows; ++band) {
    const std::int64_t y0 = g.cell_y(band);
    if (y0 > last_row_) break;  // no point above the rings' last row: cells stay 0
    const auto row = static_cast<std::int32_t>(y0);
    start_row(job, row);
    for (std::uint32_t col = g.cols; col-- > 0;) {
      const std::size_t cell = static_cast<std::size_t>(band) * g.cols + col;
      const std::size_t pos = job.word_of(band, col);
      if (lists.begin(cell) == lists.end(cell)) {
        out[pos] = kConst | (satisfied_ > 0 ? 1u : 0u);  // nothing varies here
        continue;
      }
      const std::int64_t x0 = g.cell_x(col), x1 = g.cell_x(col + 1);
      CellBuild& c = scratch_;
      c.edges.clear();
      c.runs.clear();
      c.toggles.clear();
      c.active.clear();
      c.x0 = x0;
      c.y0 = y0;
      c.a = g.sx;
      c.b = g.sy;
      // Crossings of the band's first row that lie in this cell: those right
      // of x0 count for its corner, those on x0 for the cells to its left.
      at_x0_.clear();
      for (std::uint32_t k = lists.begin(cell); k < lists.end(cell); ++k) {
        const std::uint32_t item = lists.items[k];
        if ((item & kRunItem) != 0) {
          c.runs.push_back(item & ~kRunItem);
          continue;
        }
        c.edges.push_back(item);
        if (!straddles(start(item).y, finish(item).y, row)) continue;
        const std::int64_t t = crossing(item, row);
        if (t > x0 && t < x1) flip(ring_of_[item]);
        if (t == x0) at_x0_.push_back(ring_of_[item]);
      }
      const std::uint32_t word = fold_cell(c, row);
      out[pos] = word;
      if (word == kSplit) {
        if (here.used == here.deferred.size()) here.deferred.emplace_back();
        here.deferred[here.used].first = pos;
        here.deferred[here.used].second = c;  // reuses the stored vectors' storage
        ++here.used;
      }
      for (const std::uint32_t r : at_x0_) flip(r);
    }
    reset_row();
  }
  const std::size_t at = job.nested ? place_nested(here) : job.at;
  // Split in order while the budget lasts; the rest stay leaves.
  for (std::size_t k = 0; k < here.used; ++k) {
    const CellBuild& d = here.deferred[k].second;
    const std::uint32_t word = ix_.words_.size() < budget_ ? split(d, depth + 1) : write_leaf(d);
    ix_.words_[here.deferred[k].first] = word;
  }
  return at;
}

// A nested grid's words: its 4 by 4 outer cells, then the blocks of those
// that vary. A block whose cells all hold one answer becomes that answer.
// The cells waiting to be split are given their words' places.
std::size_t AreaBuilder::place_nested(Level& here) {
  std::vector<std::uint32_t>& w = ix_.words_;
  const std::size_t at = w.size();
  if (at + kBlock > kOffsetMask) throw std::bad_alloc();
  std::size_t place[kBlock] = {};
  w.resize(at + kBlock);
  for (std::size_t k = 0; k < kBlock; ++k) {
    const std::uint32_t* block = here.nested.data() + k * kBlock;
    const bool uniform =
        (block[0] & kTagMask) == kConst &&
        std::all_of(block, block + kBlock, [&](std::uint32_t v) { return v == block[0]; });
    if (uniform) {
      w[at + k] = block[0];
      continue;
    }
    place[k] = w.size();
    if (place[k] + kBlock > kOffsetMask) throw std::bad_alloc();
    w[at + k] = kSplit | static_cast<std::uint32_t>(place[k]);
    w.insert(w.end(), block, block + kBlock);
  }
  for (std::size_t k = 0; k < here.used; ++k) {
    std::size_t& pos = here.deferred[k].first;
    pos = place[pos / kBlock] + pos % kBlock;
  }
  return at;
}

// ---------------------------------------------------------------------------
// Cells

// Rings with listed edges or toggles in c, ascending.
void AreaBuilder::varying_rings(const CellBuild& c, std::vector<std::uint32_t>& rings) const {
  rings.clear();
  if (ix_.rings_.size() == 1) {
    if (!c.edges.empty() || !c.toggles.empty()) rings.push_back(0);
    return;
  }
  for (const std::uint32_t e : c.edges) {
    if (rings.empty() || rings.back() != ring_of_[e]) rings.push_back(ring_of_[e]);
  }
  for (const std::uint32_t j : c.toggles) rings.push_back(ring_of_[j]);
  std::sort(rings.begin(), rings.end());
  rings.erase(std::unique(rings.begin(), rings.end()), rings.end());
}

// Keeps only the edges, runs and toggles of the given rings (ascending).
void AreaBuilder::keep_rings(CellBuild& c, const std::vector<std::uint32_t>& rings) const {
  auto dropped = [&](std::uint32_t e) {
    return !std::binary_search(rings.begin(), rings.end(), ring_of_[e]);
  };
  for (std::vector<std::uint32_t>* v : {&c.edges, &c.runs, &c.toggles}) {
    v->erase(std::remove_if(v->begin(), v->end(), dropped), v->end());
  }
}

// The toggle junctions of c (see region/area_index.h). A junction is
// visited from its listed edge when exactly one of its two edges is listed,
// and from its run when neither is; it toggles when exactly one of its two
// edges lies right of c.
void AreaBuilder::find_toggles(CellBuild& c) {
  // c.edges ascend, and the edges between an edge and its neighbour in index
  // order are horizontal and never listed: a neighbour that does not wrap
  // around its ring is listed exactly when it is the adjacent list entry.
  const std::vector<std::uint32_t>& edges = c.edges;
  auto listed = [&](std::uint32_t e) { return std::binary_search(edges.begin(), edges.end(), e); };
  auto in_rows = [&](std::uint32_t j) {
    const std::int64_t h = start(j).y;
    return h > c.y0 && h < c.y1();
  };
  c.toggles.clear();
  const std::size_t n = edges.size();
  for (std::size_t k = 0; k < n; ++k) {
    const std::uint32_t e = edges[k], pv = prev_[e], nx = next_[e];
    const bool pv_listed = pv < e ? k > 0 && edges[k - 1] == pv : listed(pv);
    if (!pv_listed && in_rows(e) && side(pv, c) == Side::kRight) c.toggles.push_back(e);
    const bool nx_listed = nx > e ? k + 1 < n && edges[k + 1] == nx : listed(nx);
    if (!nx_listed && in_rows(nx) && side(nx, c) == Side::kRight) c.toggles.push_back(nx);
  }
  for (const std::uint32_t j : c.runs) {
    if (!in_rows(j) || listed(j) || listed(prev_[j])) continue;
    if ((side(prev_[j], c) == Side::kRight) != (side(j, c) == Side::kRight)) {
      c.toggles.push_back(j);
    }
  }
  std::sort(c.toggles.begin(), c.toggles.end());
}

// Folds a cell whose corner parities the sweep holds: kConst | answer when
// no ring varies in it (or a constant group fills it), kSplit when it is to
// be split (its rings then kept in c), else its leaf.
std::uint32_t AreaBuilder::fold_cell(CellBuild& c, std::int32_t row) {
  find_toggles(c);
  std::vector<std::uint32_t>& rings = rings_scratch_;
  std::vector<std::int32_t>& groups = groups_scratch_;
  std::vector<std::uint32_t>& kept = kept_scratch_;
  varying_rings(c, rings);
  groups.clear();
  kept.clear();
  // Groups whose rings are all constant here: one satisfied fills the cell.
  std::size_t varying_satisfied = 0;
  for (const std::uint32_t r : rings) {
    const std::int32_t g = ix_.rings_[r].group;
    if (groups.empty() || groups.back() != g) {
      groups.push_back(g);
      varying_satisfied += satisfied(g) ? 1 : 0;
    }
  }
  if (satisfied_ > varying_satisfied) return kConst | 1u;
  // Groups that vary: a constant outside outer ring or a constant inside
  // hole drops the group; the rest keep their varying rings.
  std::size_t first = 0;
  for (const std::int32_t g : groups) {
    std::size_t last = first;
    while (last < rings.size() && ix_.rings_[rings[last]].group == g) ++last;
    const bool outer_varies = rings[first] == group_outer_ring_[g];
    std::uint32_t varying_holes_in = 0;
    for (std::size_t k = outer_varies ? first + 1 : first; k < last; ++k) {
      varying_holes_in += ring_par_[rings[k]];
    }
    const bool drop =
        (!outer_varies && group_outer_[g] == 0) || group_holes_in_[g] > varying_holes_in;
    if (!drop) kept.insert(kept.end(), rings.begin() + first, rings.begin() + last);
    first = last;
  }
  if (kept.empty()) return kConst;
  if (kept.size() != rings.size()) keep_rings(c, kept);
  // Bases: the sweep's parity at the corner without what c lists (toggle
  // rows lie above the corner's row and add nothing).
  for (const std::uint32_t r : kept) c.active.push_back({r, ring_par_[r]});
  std::size_t k = 0;
  for (const std::uint32_t e : c.edges) {
    while (c.active[k].ring != ring_of_[e]) ++k;
    // Most listed edges lie above the corner's row and cross nothing there.
    if (straddles(start(e).y, finish(e).y, row)) c.active[k].base ^= crosses(e, c.x0, row);
  }
  if (should_split(c)) return kSplit;
  return write_leaf(c);
}

// What a query of the leaf would test: a word per edge (two for a closing
// one), a toggle row each, the headers. Past leaf_words_ the cell is split.
std::size_t AreaBuilder::leaf_load(const CellBuild& c) const {
  std::size_t words = 2 + c.toggles.size() + (c.active.size() > 1 ? 2 * c.active.size() : 0);
  for (const std::uint32_t e : c.edges) words += end_of(e) == e + 1 ? 1 : 2;
  return words;
}

bool AreaBuilder::should_split(const CellBuild& c) const {
  if ((c.a == 0 && c.b == 0) || ix_.words_.size() >= budget_) return false;
  // A word an edge at least: crowded cells need no count.
  return c.edges.size() + 2 > leaf_words_ || leaf_load(c) > leaf_words_;
}

// A finer grid over c: 4 by 4 cells (fewer where c is under 4 units wide
// or tall), as split_shifts() gives it. A crowded cell is split twice at
// once: its 4 by 4 cells would nearly all be split again, and building the
// 16 by 16 grid in one sweep saves folding the cells between.
std::uint32_t AreaBuilder::split(const CellBuild& c, std::size_t depth) {
  std::uint32_t ka = 0, kb = 0;
  split_shifts(c.a, c.b, &ka, &kb);
  const bool nested = c.a >= 2 * kSplitShift && c.b >= 2 * kSplitShift &&
                      c.edges.size() >= kNestLeaves * leaf_words_;
  if (nested) ka = kb = 2 * kSplitShift;
  GridShape g;
  g.x0 = c.x0;
  g.y0 = c.y0;
  g.sx = c.a - ka;
  g.sy = c.b - kb;
  g.cols = 1u << ka;
  g.rows = 1u << kb;
  const std::size_t at = ix_.words_.size();
  if (!nested) {
    if (at + g.cells() > kOffsetMask) throw std::bad_alloc();
    ix_.words_.resize(at + g.cells(), kConst);
  }
  Level& next = level(depth);
  std::vector<CellItem>& pairs = pairs_scratch_;
  pairs.clear();
  enumerate(g, c.edges, c.runs, [&](std::size_t cell, std::uint32_t item) {
    pairs.push_back({static_cast<std::uint32_t>(cell), item});
  });
  build_cell_lists(g.cells(), pairs, next.lists);
  // Edges that may cross right of the grid on some row: their crossings
  // count in every cell of that row.
  next.beyond.clear();
  for (const std::uint32_t e : c.edges) {
    if ((flags_[e] & kWild) != 0 || std::max(start(e).x, finish(e).x) >= c.x1()) {
      next.beyond.push_back(e);
    }
  }
  const std::size_t placed = build_grid({g, at, &c, &next.beyond, nested}, next.lists, depth);
  return kSplit | static_cast<std::uint32_t>(placed);
}

// ---------------------------------------------------------------------------
// Leaves

// The ring's listed edges, in line when their chains take at most two words
// an edge and two more, else by reference; then its toggle rows.
void AreaBuilder::write_block(const CellBuild& c, std::size_t k) {
  std::vector<std::uint32_t>& w = ix_.words_;
  const std::uint32_t ring = c.active[k].ring;
  const std::size_t header = w.size() - 2;
  // Its chain word's flags: slow, and short when the step to its end fits
  // 16 bits each way.
  auto kind_of = [&](std::uint32_t e) {
    const std::int64_t dx = std::int64_t{finish(e).x} - start(e).x;
    const std::int64_t dy = std::int64_t{finish(e).y} - start(e).y;
    const bool near = dx >= INT16_MIN && dx <= INT16_MAX && dy >= INT16_MIN && dy <= INT16_MAX;
    return ((flags_[e] & kSlowEdge) != 0 ? kSlowBit : 0u) | (near ? kShortBit : 0u);
  };
  // An edge that starts where the last one ended, of the same kind, extends
  // the last one's chain.
  std::uint32_t last = kNone, last_kind = 0;
  auto chained = [&](std::uint32_t e, std::uint32_t kind) {
    const bool extends = e == last && kind == last_kind;
    last = end_of(e);
    last_kind = kind;
    return extends;
  };
  std::size_t edges = 0, closing = 0, in_line_words = 0;
  for (const std::uint32_t e : c.edges) {
    if (ring_of_[e] != ring) continue;
    const std::uint32_t kind = kind_of(e);
    ++edges;
    closing += end_of(e) != e + 1 ? 1 : 0;
    in_line_words += (chained(e, kind) ? 0 : 3) + ((kind & kShortBit) != 0 ? 1 : 2);
  }
  const bool in_line = in_line_words <= 2 * edges + 2;
  // Sized once, then written in place.
  const std::size_t first = w.size();
  w.resize(first + (in_line ? in_line_words : edges + closing));
  std::uint32_t* out = w.data() + first;
  last = kNone;
  std::uint32_t* chain = nullptr;  // the open chain's word
  for (const std::uint32_t e : c.edges) {
    if (ring_of_[e] != ring) continue;
    const std::uint32_t end = end_of(e), kind = kind_of(e);
    if (!in_line) {
      *out++ = e | (kind & kSlowBit) | (end != e + 1 ? kCloseBit : 0u);
      if (end != e + 1) *out++ = end;
      continue;
    }
    const tagPOINT &a = start(e), &b = finish(e);
    if (!chained(e, kind)) {
      chain = out;
      *out++ = kind;
      *out++ = static_cast<std::uint32_t>(a.x);
      *out++ = static_cast<std::uint32_t>(a.y);
    }
    if ((kind & kShortBit) != 0) {
      const auto dx = static_cast<std::uint32_t>(b.x - a.x);
      const auto dy = static_cast<std::uint32_t>(b.y - a.y);
      *out++ = dx << 16 | (dy & 0xFFFFu);
    } else {
      *out++ = static_cast<std::uint32_t>(b.x);
      *out++ = static_cast<std::uint32_t>(b.y);
    }
    ++*chain;
  }
  const std::size_t edge_words = w.size() - header - 2;
  std::uint32_t toggles = 0;
  for (const std::uint32_t j : c.toggles) {
    if (ring_of_[j] != ring) continue;
    w.push_back(static_cast<std::uint32_t>(start(j).y));
    ++toggles;
  }
  if (edge_words > kCountMask) throw std::bad_alloc();
  w[header] |= static_cast<std::uint32_t>(edge_words);
  w[header + 1] |= toggles | (in_line ? kInlineBit : 0u);
}

std::uint32_t AreaBuilder::write_leaf(const CellBuild& c) {
  const std::size_t at = ix_.words_.size();
  if (at > kOffsetMask) throw std::bad_alloc();
  if (c.active.size() == 1) {
    // One ring: an outer ring answers its parity, a hole (whose outer ring
    // holds all of c) the opposite.
    const std::uint32_t ring = c.active[0].ring;
    const std::uint32_t base = c.active[0].base ^ (ix_.rings_[ring].hole ? 1u : 0u);
    ix_.words_.push_back(base << 31);
    ix_.words_.push_back(0);
    write_block(c, 0);
  } else {
    ix_.words_.push_back(kGeneralBit | static_cast<std::uint32_t>(c.active.size()));
    ix_.words_.push_back(0);
    std::int32_t group = -1;
    for (std::size_t k = 0; k < c.active.size(); ++k) {
      const AreaRing& ring = ix_.rings_[c.active[k].ring];
      ix_.words_.push_back(c.active[k].base << 31 | (ring.hole ? kHoleBit : 0u));
      ix_.words_.push_back(ring.group != group ? kNewGroupBit : 0u);
      group = ring.group;
      write_block(c, k);
    }
  }
  return kLeaf | static_cast<std::uint32_t>(at);
}

}  // namespace kelvor::detail
