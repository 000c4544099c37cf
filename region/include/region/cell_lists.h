// Compressed rows: the items listed in each cell of a grid, from the
// (cell, item) pairs of an enumeration, kept in the order enumerated within
// each cell. Shared by the ring and zone indexes.
#ifndef KELVOR_REGION_CELL_LISTS_H
#define KELVOR_REGION_CELL_LISTS_H

#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

namespace kelvor::detail {

struct CellItem {
  std::uint32_t cell;
  std::uint32_t item;
};

struct CellLists {
  std::vector<std::uint32_t> offsets;  // cells + 1
  std::vector<std::uint32_t> items;    // each cell's items in the order given

  std::uint32_t begin(std::size_t cell) const { return offsets[cell]; }
  std::uint32_t end(std::size_t cell) const { return offsets[cell + 1]; }
};

// A counting sort of the pairs by cell (cells below `cells`) into `lists`,
// whose storage is reused. Throws std::bad_alloc when the lists would not
// fit 32-bit offsets.
inline void build_cell_lists(std::size_t cells, const std::vector<CellItem>& pairs,
                             CellLists& lists) {
  if (pairs.size() > 0xFFFFFFFFu) throw std::bad_alloc();
  lists.offsets.assign(cells + 1, 0);
  for (const CellItem& p : pairs) ++lists.offsets[p.cell + 1];
  for (std::size_t c = 0; c < cells; ++c) lists.offsets[c + 1] += lists.offsets[c];
  lists.items.resize(pairs.size());
  // Fill with a cursor per cell, kept in the offsets themselves and shifted
  // back afterwards.
  for (const CellItem& p : pairs) lists.items[lists.offsets[p.cell]++] = p.item;
  for (std::size_t c = cells; c > 0; --c) lists.offsets[c] = lists.offsets[c - 1];
  lists.offsets[0] = 0;
}

inline CellLists build_cell_lists(std::size_t cells, const std::vector<CellItem>& pairs) {
  CellLists lists;
  build_cell_lists(cells, pairs, lists);
  return lists;
}

}  // namespace kelvor::detail

#endif  // KELVOR_REGION_CELL_LISTS_H
