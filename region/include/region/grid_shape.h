// The grid shape shared by the ring and zone indexes: square-ish cells of
// 2^sx by 2^sy units over an inclusive range of columns and rows, about as
// many as asked for, spent along the long side of a thin rectangle.
#ifndef KELVOR_REGION_GRID_SHAPE_H
#define KELVOR_REGION_GRID_SHAPE_H

#include <cstddef>
#include <cstdint>

namespace kelvor::detail {

struct GridShape {
  std::int64_t x0 = 0, y0 = 0;   // lower corner (the first column and row)
  std::uint32_t sx = 0, sy = 0;  // cell width 2^sx, height 2^sy
  std::uint32_t cols = 0, rows = 0;

  std::size_t cells() const { return static_cast<std::size_t>(cols) * rows; }
  // Column and row of (x, y) relative to the corner, or false outside.
  bool locate(std::int64_t x, std::int64_t y, std::size_t* cell) const {
    const std::int64_t rx = x - x0, ry = y - y0;
    if (rx < 0 || ry < 0) return false;
    const std::uint64_t c = static_cast<std::uint64_t>(rx) >> sx;
    const std::uint64_t r = static_cast<std::uint64_t>(ry) >> sy;
    if (c >= cols || r >= rows) return false;
    *cell = static_cast<std::size_t>(r) * cols + static_cast<std::size_t>(c);
    return true;
  }
  std::int64_t cell_x(std::uint64_t col) const { return x0 + static_cast<std::int64_t>(col << sx); }
  std::int64_t cell_y(std::uint64_t row) const { return y0 + static_cast<std::int64_t>(row << sy); }
};

// A grid over columns [x0, x0 + span_x] and rows [y0, y0 + span_y] (both
// inclusive, spans below 2^32) of about `target` cells (at least 1).
GridShape choose_grid(std::int64_t x0, std::int64_t y0, std::uint64_t span_x, std::uint64_t span_y,
                      std::size_t target);

}  // namespace kelvor::detail

#endif  // KELVOR_REGION_GRID_SHAPE_H
