// The builder of an area index (region/area_index.h has the argument,
// area_words.h the words it writes). Setting up (groups, the rings'
// rectangle, each edge's flags and neighbours) is in area_build.cpp; the
// grids and their cells in area_grid.cpp.
#ifndef KELVOR_REGION_AREA_BUILDER_H
#define KELVOR_REGION_AREA_BUILDER_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "area_words.h"
#include "region/area_index.h"
#include "region/cell_lists.h"
#include "region/grid_shape.h"

namespace kelvor::detail {

constexpr std::uint32_t kRunItem = 1u << 31;  // list item: the junction after a horizontal run
constexpr std::uint32_t kNone = 0xFFFFFFFFu;
constexpr std::uint8_t kNonHorizontal = 1, kWild = 2, kSlowEdge = 4;

struct Range {
  std::int64_t lo, hi;  // inclusive; lo > hi: empty
};

enum class Side { kLeft, kMeets, kRight };

// A cell during the build: [x0, x0 + 2^a) x [y0, y0 + 2^b), the edges it
// lists, the horizontal runs that cross its rows (above its first) within
// its columns, its toggle junctions, and the rings that vary in it with their
// parity at (x0, y0) of everything it does not list.
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

// What a grid being built holds, kept per depth of splitting so that the
// storage of one grid serves the next at the same depth.
struct Level {
  CellLists lists;
  std::vector<std::uint32_t> beyond;
  std::vector<std::pair<std::size_t, CellBuild>> deferred;  // the first `used` are live
  std::size_t used = 0;
  std::vector<std::uint32_t> nested;  // a nested grid's words before they are placed
};

// The working storage of a build (see AreaScratch in region/area_index.h).
struct AreaScratch::State {
  std::vector<std::uint32_t> ring_of_;         // per point; kNone for rings not indexed
  std::vector<std::uint32_t> end_;             // per point of an indexed ring: its edge's end
  std::vector<std::uint32_t> prev_, next_;     // non-horizontal neighbours of a non-horizontal edge
  std::vector<std::uint32_t> junctions_;       // junctions with a run, ascending
  std::vector<std::int32_t> run_lo_, run_hi_;  // columns of each such junction's run
  std::vector<std::uint8_t> flags_;
  std::vector<std::uint32_t> group_outer_ring_;
  std::vector<std::uint32_t> indexed_;  // non-horizontal edges of indexed rings, ascending
  // Sweep state along one row: each ring's parity, each group's outer
  // parity and count of odd holes.
  std::vector<std::uint8_t> ring_par_, group_outer_;
  std::vector<std::uint32_t> group_holes_in_;
  std::vector<std::uint32_t> touched_rings_;
  std::vector<std::int32_t> touched_groups_;
  // Scratch lists of fold_cell and start_row, kept to save allocations.
  std::vector<std::uint32_t> rings_scratch_, kept_scratch_, par_scratch_;
  std::vector<std::int32_t> groups_scratch_;
  std::vector<CellItem> pairs_scratch_;
  // Storage of the grids under construction, one per depth (stable
  // addresses: deeper levels are added while shallower ones are in use).
  std::vector<std::unique_ptr<Level>> levels_;
  // The cell being folded, reused from cell to cell.
  CellBuild scratch_;
  std::vector<std::uint32_t> at_x0_;
  // Per edge, the one top cell it meets, or kNone.
  std::vector<std::uint32_t> top_cell_;
  // The top grid's lists.
  CellLists top_lists_;
};

class AreaBuilder {
 public:
  AreaBuilder(AreaIndex& ix, AreaScratch::State& state, std::size_t leaf_words)
      : ix_(ix), st_(state), leaf_words_(leaf_words) {}
  void build();

 private:
  // A grid to fill: its shape, where its cells' words start, and the cell it
  // splits (null for the grid over the whole area). A nested grid is 16 by
  // 16 cells stored as two levels of 4 by 4 (see split()); its words are
  // gathered in its Level first, each block of 4 by 4 together.
  struct GridJob {
    GridShape g;
    std::size_t at;
    const CellBuild* parent;
    const std::vector<std::uint32_t>* beyond;  // the parent's edges that may cross right of it
    bool nested = false;

    std::size_t word_of(std::uint32_t band, std::uint32_t col) const {
      if (!nested) return at + static_cast<std::size_t>(band) * g.cols + col;
      constexpr std::uint32_t kLow = (1u << kSplitShift) - 1;
      const std::size_t outer = ((band >> kSplitShift) << kSplitShift) + (col >> kSplitShift);
      const std::size_t inner = ((band & kLow) << kSplitShift) + (col & kLow);
      return outer * kBlock + inner;
    }
  };
  // Cells of a split: 4 by 4.
  static constexpr std::size_t kBlock = std::size_t{1} << (2 * kSplitShift);

  // --- Geometry of one edge (the index of its start point) ---
  std::uint32_t end_of(std::uint32_t i) const { return end_[i]; }
  const tagPOINT& start(std::uint32_t i) const { return ix_.points_[i]; }
  const tagPOINT& finish(std::uint32_t i) const { return ix_.points_[end_of(i)]; }
  std::int32_t crossing(std::uint32_t e, std::int32_t y) const {
    return rule_crossing(start(e), finish(e), y, ix_.rule_);
  }
  std::uint32_t crosses(std::uint32_t e, std::int64_t x, std::int32_t y) const;
  Range range(std::uint32_t e, std::int64_t r0, std::int64_t r1) const;
  Side side(std::uint32_t e, const CellBuild& c) const;

  // --- Setting up (area_build.cpp) ---
  void assign_groups();
  bool bounds();
  void edge_tables();
  void wild_bands();

  // --- Grids and cells (area_grid.cpp) ---
  void top_grid();
  std::size_t build_grid(const GridJob& job, const CellLists& lists, std::size_t depth);
  std::size_t place_nested(Level& here);
  Level& level(std::size_t depth);
  void clear_lists();
  // A run of edges or junctions.
  struct Span {
    Span() = default;
    Span(const std::uint32_t* p, std::size_t count) : first(p), last(p + count) {}
    Span(const std::vector<std::uint32_t>& v) : first(v.data()), last(v.data() + v.size()) {}
    const std::uint32_t* begin() const { return first; }
    const std::uint32_t* end() const { return last; }
    const std::uint32_t* first = nullptr;
    const std::uint32_t* last = nullptr;
  };
  template <class Emit>
  void enumerate(const GridShape& g, Span edges, Span runs, Emit&& emit) const;
  void start_row(const GridJob& job, std::int32_t row);
  void flip(std::uint32_t ring);
  void reset_row();
  bool satisfied(std::int32_t group) const {
    return group_outer_[group] != 0 && group_holes_in_[group] == 0;
  }
  std::uint32_t fold_cell(CellBuild& c, std::int32_t row);
  void find_toggles(CellBuild& c);
  void keep_rings(CellBuild& c, const std::vector<std::uint32_t>& rings) const;
  void varying_rings(const CellBuild& c, std::vector<std::uint32_t>& rings) const;
  bool should_split(const CellBuild& c) const;
  std::uint32_t split(const CellBuild& c, std::size_t depth);
  std::size_t leaf_load(const CellBuild& c) const;
  std::uint32_t write_leaf(const CellBuild& c);
  void write_block(const CellBuild& c, std::size_t k);

  AreaIndex& ix_;
  AreaScratch::State& st_;
  std::size_t leaf_words_;  // a longer leaf is split while the budget lasts
  std::int64_t last_row_ = 0;
  std::size_t budget_ = 0;     // words of the index before splitting stops
  std::size_t satisfied_ = 0;  // groups satisfied on the sweep's row
  // The working storage, by name (see AreaScratch::State).
  std::vector<std::uint32_t>& ring_of_ = st_.ring_of_;
  std::vector<std::uint32_t>& end_ = st_.end_;
  std::vector<std::uint32_t>& prev_ = st_.prev_;
  std::vector<std::uint32_t>& next_ = st_.next_;
  std::vector<std::uint32_t>& junctions_ = st_.junctions_;
  std::vector<std::int32_t>& run_lo_ = st_.run_lo_;
  std::vector<std::int32_t>& run_hi_ = st_.run_hi_;
  std::vector<std::uint8_t>& flags_ = st_.flags_;
  std::vector<std::uint32_t>& group_outer_ring_ = st_.group_outer_ring_;
  std::vector<std::uint32_t>& indexed_ = st_.indexed_;
  std::vector<std::uint8_t>& ring_par_ = st_.ring_par_;
  std::vector<std::uint8_t>& group_outer_ = st_.group_outer_;
  std::vector<std::uint32_t>& group_holes_in_ = st_.group_holes_in_;
  std::vector<std::uint32_t>& touched_rings_ = st_.touched_rings_;
  std::vector<std::int32_t>& touched_groups_ = st_.touched_groups_;
  std::vector<std::uint32_t>& rings_scratch_ = st_.rings_scratch_;
  std::vector<std::uint32_t>& kept_scratch_ = st_.kept_scratch_;
  std::vector<std::uint32_t>& par_scratch_ = st_.par_scratch_;
  std::vector<std::int32_t>& groups_scratch_ = st_.groups_scratch_;
  std::vector<CellItem>& pairs_scratch_ = st_.pairs_scratch_;
  std::vector<std::unique_ptr<Level>>& levels_ = st_.levels_;
  CellBuild& scratch_ = st_.scratch_;
  std::vector<std::uint32_t>& at_x0_ = st_.at_x0_;
  std::vector<std::uint32_t>& top_cell_ = st_.top_cell_;
};

}  // namespace kelvor::detail

#endif  // KELVOR_REGION_AREA_BUILDER_H
