// An index over the rings of one area (a polygon with holes, or many
// polygons) that answers the even-odd test of each ring by either crossing
// rule, and the area's answer from them, in a bounded number of edge tests.
//
// Meaning. Each ring alone is the even-odd rule of Polygon_Contain_Point:
// (x, y) is inside ring R when an odd number of R's edges straddle the row
// y (a.y <= y < b.y or b.y <= y < a.y) with their crossing t_e(y), measured
// from the edge's start and truncated toward zero, right of x (x < t_e(y)).
// Rings come in groups, an outer ring followed by its holes; the area holds
// a point when some group's outer ring holds it and none of its holes does.
//
// The grid. The rings' bounding rectangle is cut into cells of 2^sx by 2^sy
// units; a crowded cell is split into 4 by 4 cells (16 by 16 at once when
// very crowded) again and again until its lists are short. Write I_e(q) for
// "e straddles q's row and x < t_e(y)"; a ring's parity is the XOR of I_e
// over its edges. For one cell C with columns [X0, X1) and rows [Y0, Y1), an
// edge's crossings over C's rows (taken at the rows it straddles and at its
// end rows, where t_e is the end point) span a range of columns, as t_e is
// monotone in y. The edge is
//   listed  when that range meets [X0, X1);
//   left    when it lies below X0: I_e is 0 on all of C;
//   right   when it lies at or beyond X1: I_e is "straddles y" on C.
// So on C a ring's parity is the XOR of I_e over its listed edges and of
// "straddles y" over its right edges; the latter changes from row to row only
// where a right edge ends on a row of C above Y0. Pair the edges at each
// junction of the ring (two consecutive edges that are not horizontal, with
// the horizontal run between them, if any, all on one row h): the right
// edges' parity flips at row h exactly when one of the pair is right and the
// other is not. Such a junction lies right of C, or a horizontal run crosses
// C's columns, so one of the pair is listed or the run meets C: the cell
// finds every such "toggle" row from its own lists. A cell therefore keeps,
// per ring that has listed edges or toggles there, the parity at its corner
// (X0, Y0) of everything it does not list, and answers
//   parity(q) = base XOR (XOR of I_e(q) over listed edges)
//                    XOR (number of toggle rows h <= y) mod 2.
// Rings with neither are constant on C, and fold into the cell: a group that
// such rings satisfy fills it, a group with a constant outside outer ring or
// a constant inside hole drops out. The bases of the grid's cells come from
// one sweep along each band's first row; those of a split cell's halves from
// the cell itself.
//
// The wrapping rule differs from the exact one only on edges whose 32-bit
// product can wrap ("wild" edges); their crossing may land anywhere within
// 2^31 / |dy| of the edge's start, so their range is that reach, they are
// evaluated with the wrapping formula, and outside the grid's columns a
// separate list by band answers.
#ifndef KELVOR_REGION_AREA_INDEX_H
#define KELVOR_REGION_AREA_INDEX_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "kelvor/rule.h"
#include "kelvor/types.h"
#include "region/grid_shape.h"

namespace kelvor::detail {

// One ring as kept: points [first, first + count) of the area's points.
struct AreaRing {
  std::uint32_t first = 0;
  std::int32_t count = 0;  // 0: an empty ring
  bool hole = false;
  std::int32_t group = -1;  // its outer ring's group; -1: a hole with no outer ring (no effect)
};

// Indexes of this many bytes or more are read from memory rather than the
// caches: their batch queries interleave (contain_many, the zone index).
constexpr std::size_t kInterleaveBytes = std::size_t{4} << 20;

// A leaf whose query would read more words than this is split (while the
// build's budget lasts). Smaller leaves answer near the boundary sooner and
// take longer to build: a polygon alone answers such points in some 10 to 25
// ns with 24, while a zone index, which may test several areas at a point,
// keeps 16.
constexpr std::size_t kPolygonLeafWords = 24;
constexpr std::size_t kZoneLeafWords = 16;

// Working storage of the build, reusable from one build to the next (a zone
// index builds one area after another): memory already in use is cheaper
// than new memory, whose every page the system must first map.
class AreaScratch {
 public:
  AreaScratch();
  ~AreaScratch();
  AreaScratch(const AreaScratch&) = delete;
  AreaScratch& operator=(const AreaScratch&) = delete;
  struct State;

 private:
  friend class AreaIndex;
  std::unique_ptr<State> state_;
};

class AreaIndex {
 public:
  // An area of no rings: holds nothing.
  AreaIndex() = default;
  // Indexes rings over points (each ring's points consecutive, in order).
  // Groups are assigned here: each outer ring starts one, holes join the
  // latest. Throws std::bad_alloc when memory runs out or the area is too
  // large for 32-bit counts (about 2^29 points).
  AreaIndex(std::vector<tagPOINT> points, std::vector<AreaRing> rings, Rule rule,
            std::size_t leaf_words = kPolygonLeafWords, AreaScratch* scratch = nullptr);

  // 1 when the area holds (x, y) by the rule, else 0.
  std::int32_t contain(std::int32_t x, std::int32_t y) const;
  // 1 when (x, y) lies in the half-open bound() and contain(x, y).
  std::int32_t contain_bounded(std::int32_t x, std::int32_t y) const;
  // out[i] = contain(p[i]) (bounded: contain_bounded), many queries
  // interleaved so that their memory reads overlap.
  void contain_many(const tagPOINT* p, std::size_t count, std::uint8_t* out, bool bounded) const;

  // contain() in steps, one memory read each, for interleaving queries:
  // probe_start and probe_step answer 0 or 1, or -1 with the word to read
  // next already asked for (prefetched).
  struct Probe {
    std::int32_t x, y;
    std::uint64_t ux, ry;  // the point relative to the grid's corner
    std::uint32_t at;      // word to read next
    std::uint32_t a, b;    // size of the cell at `at` (2^a by 2^b)
    std::uint32_t stage;   // 0: a cell's word, 1: a leaf's header, 2: its edges
  };
  std::int32_t probe_start(Probe& p, std::int32_t x, std::int32_t y) const;
  std::int32_t probe_step(Probe& p) const;

  // What contain() answers over [x0, x1) x [y0, y1): 0 everywhere, 1
  // everywhere, or not known to be either.
  enum class Coverage { kOutside, kInside, kMixed };
  Coverage coverage(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1) const;

  Rule rule() const { return rule_; }
  const std::vector<tagPOINT>& points() const { return points_; }
  const std::vector<AreaRing>& rings() const { return rings_; }
  // The bound KPGON keeps for each ring of 3 points or more, joined:
  // false when there is none.
  bool bound(tagPOINT* min, tagPOINT* max) const {
    *min = bound_min_;
    *max = bound_max_;
    return has_bound_;
  }
  // No point is inside anywhere.
  bool blank() const { return blank_; }
  // Columns [reach_x0, reach_x1) and rows [min.y, max.y) outside which no
  // point is inside (wild edges widen the columns).
  std::int64_t reach_x0() const { return reach_x0_; }
  std::int64_t reach_x1() const { return reach_x1_; }
  std::int32_t min_y() const { return min_.y; }
  std::int32_t max_y() const { return max_.y; }
  std::size_t memory_bytes() const;

  // Bookkeeping of the build, for tests and benchmarks.
  struct Stats {
    std::size_t cells = 0, nodes = 0, leaves = 0, words = 0, max_leaf_words = 0;
  };
  Stats stats() const;

 private:
  friend class AreaBuilder;
  std::int32_t leaf_answer(std::uint32_t at, std::int32_t x, std::int32_t y) const;
  std::int32_t outside_answer(std::int32_t x, std::int32_t y) const;
  bool cover_mixed(std::uint32_t word, std::int64_t cx, std::int64_t cy, std::uint32_t a,
                   std::uint32_t b, std::int64_t x0, std::int64_t y0, std::int64_t x1,
                   std::int64_t y1, bool* any_in, bool* any_out) const;
  bool wild_may_land(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1) const;

  Rule rule_ = Rule::Compatible;
  std::vector<tagPOINT> points_;
  std::vector<AreaRing> rings_;
  bool blank_ = true;
  tagPOINT min_{0, 0}, max_{0, 0};  // rectangle of the indexed rings, corners inclusive
  // bound(): the rings of 3 points or more, joined (has_bound_ false: none).
  bool has_bound_ = false;
  tagPOINT bound_min_{0, 0}, bound_max_{0, 0};
  GridShape grid_;
  // Cells of the grid first, then split cells' halves and leaves; see the
  // word layout in area_words.h.
  std::vector<std::uint32_t> words_;
  // Wrapping rule: wild edges by coarse band, as (edge, ring) pairs.
  bool has_wild_ = false;
  std::uint32_t wild_sy_ = 0, wild_bands_ = 0;
  std::vector<std::uint32_t> wild_offsets_, wild_edges_;
  std::int64_t reach_x0_ = 0, reach_x1_ = 0;
};

}  // namespace kelvor::detail

#endif  // KELVOR_REGION_AREA_INDEX_H
