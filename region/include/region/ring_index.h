// A grid index over one ring that answers the even-odd point-in-ring test by
// either crossing rule in a few cell reads instead of a pass over every edge.
//
// The ring's bounding rectangle is cut into bands of 2^sy rows and columns of
// 2^sx units. Each cell lists the edges whose path across the cell's rows
// comes within the cell's columns (horizontal edges included). A cell that
// lists no edge is "clean": the exact-rule answer is the same at every point
// of it, and the index stores that answer. Elsewhere the answer is found by
// walking right along the band to the next clean cell and counting the
// crossings met on the point's row on the way.
//
// Why clean cells are constant: along a row, the answer changes only where a
// crossing lies, and every crossing on a row of the band lies in the list of
// the cell holding it. Between two rows of the band, it changes only through
// an edge whose crossing jumps across x (listed, as the edge's x-range over
// the band's rows covers the jump) or through edges ending on the upper row.
// Those come in pairs at each vertex or horizontal run of the closed ring,
// and a pair can differ in side only if the vertex, the run or one of the two
// edges comes within the cell's columns, which lists it.
//
// The exact rule computes crossings without overflow. The wrapping rule of
// the exported functions differs only on edges whose 32-bit product can
// wrap ("wild" edges); for those the index keeps a separate list by band and
// corrects the exact answer by the difference the wrapped crossing makes.
//
// The index lives in one caller-provided block (so GetMCR can keep to one
// allocation) and reads the ring through a pointer: the ring must outlive it.
#ifndef KELVOR_REGION_RING_INDEX_H
#define KELVOR_REGION_RING_INDEX_H

#include <cstddef>
#include <cstdint>

#include "kelvor/types.h"

namespace kelvor::detail {

// Wrapping: the crossings of Polygon_Contain_Point. Exact: without overflow.
enum class CrossingRule : std::uint8_t { kWrapping, kExact };

// Sizes of an index, computed before its block is allocated.
struct RingIndexPlan {
  std::int32_t n = 0;
  CrossingRule rule = CrossingRule::kWrapping;
  bool blank = true;  // no row or no column inside: the exact answer is 0 everywhere
  bool has_wild = false;
  tagPOINT min{0, 0};  // bounding rectangle, both corners inclusive (GetMBR's)
  tagPOINT max{0, 0};
  std::uint32_t sx = 0, sy = 0;  // cell width 2^sx, band height 2^sy
  std::uint32_t cols = 0, bands = 0;
  std::uint32_t wild_sy = 0, wild_bands = 0;
  // Columns [reach_x0, reach_x1) outside which no point is inside: the
  // bounding rectangle's, widened by where wild edges' crossings can land.
  std::int64_t reach_x0 = 0, reach_x1 = 0;
  std::size_t cells = 0;
  std::size_t entries = 0;
  std::size_t wild_entries = 0;
  std::size_t bytes = 0;  // block size; 0 when the sizes do not fit
};

class RingIndex {
 public:
  // Plans the index of p[0..n-1] (n < 1: an index that holds nothing).
  static RingIndexPlan plan(const tagPOINT* p, std::int32_t n, CrossingRule rule);

  RingIndex() = default;
  // Builds the planned index into block (plan.bytes bytes, 8-byte aligned).
  RingIndex(const RingIndexPlan& plan, const tagPOINT* p, void* block);
  // The same index over a copy of its block and ring (both byte for byte).
  RingIndex rebased(const tagPOINT* p, const void* block) const;

  // 1 when (x, y) is inside by the rule (Polygon_Contain_Point's answer
  // under the wrapping rule), else 0.
  std::int32_t contain(std::int32_t x, std::int32_t y) const;
  // As KPGON::Contain: 0 for fewer than 3 points or outside the half-open
  // bounding rectangle, else contain(x, y).
  std::int32_t contain_bounded(std::int32_t x, std::int32_t y) const;

  // What contain() answers over the half-open rectangle [x0, x1) x [y0, y1):
  // 0 at every point, 1 at every point, or not known to be either (the
  // rectangle meets a listed cell, or where a wild edge's crossing may land).
  enum class Coverage { kOutside, kInside, kMixed };
  Coverage coverage(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1) const;

  const RingIndexPlan& layout() const { return plan_; }

 private:
  void attach(const void* block);
  std::int32_t exact_parity(std::uint32_t rx, std::uint32_t ry, std::int32_t y) const;
  std::int32_t wild_correction(std::int32_t x, std::int32_t y) const;
  bool wild_may_land(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1) const;

  RingIndexPlan plan_;
  const tagPOINT* points_ = nullptr;
  const std::uint32_t* offsets_ = nullptr;     // cells + 1: CSR into entries_
  const std::uint64_t* clean_bits_ = nullptr;  // answer of each clean cell
  const std::uint32_t* entries_ = nullptr;     // edge index, top bit: 64-bit crossing
  const std::uint32_t* wild_offsets_ = nullptr;
  const std::uint32_t* wild_entries_ = nullptr;
};

}  // namespace kelvor::detail

#endif  // KELVOR_REGION_RING_INDEX_H
