// Compressed rows: the items listed in each cell of a grid, built in two
// passes over the same enumeration (count, then fill), so that no list of
// pairs is ever held. Shared by the ring and zone indexes.
#ifndef KELVOR_REGION_CELL_LISTS_H
#define KELVOR_REGION_CELL_LISTS_H

#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

namespace kelvor::detail {

struct CellLists {
  std::vector<std::uint32_t> offsets;  // cells + 1
  std::vector<std::uint32_t> items;    // each cell's items in the order enumerated

  std::uint32_t begin(std::size_t cell) const { return offsets[cell]; }
  std::uint32_t end(std::size_t cell) const { return offsets[cell + 1]; }
};

// enumerate(emit) must call emit(cell, item) for every pair, the same pairs
// in the same order each time it is called. Throws std::bad_alloc when the
// lists would not fit 32-bit offsets.
template <class Enumerate>
CellLists build_cell_lists(std::size_t cells, Enumerate&& enumerate) {
  CellLists lists;
  lists.offsets.assign(cells + 1, 0);
  std::uint64_t total = 0;
  enumerate([&](std::size_t cell, std::uint32_t) {
    ++lists.offsets[cell + 1];
    ++total;
  });
  if (total > 0xFFFFFFFFu) throw std::bad_alloc();
  for (std::size_t c = 0; c < cells; ++c) lists.offsets[c + 1] += lists.offsets[c];
  lists.items.resize(static_cast<std::size_t>(total));
  // Fill with a cursor per cell, kept in the offsets themselves and shifted
  // back afterwards.
  enumerate([&](std::size_t cell, std::uint32_t item) { lists.items[lists.offsets[cell]++] = item; });
  for (std::size_t c = cells; c > 0; --c) lists.offsets[c] = lists.offsets[c - 1];
  lists.offsets[0] = 0;
  return lists;
}

}  // namespace kelvor::detail

#endif  // KELVOR_REGION_CELL_LISTS_H
