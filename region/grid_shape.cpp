// The grid shape shared by the ring and zone indexes.
#include "region/grid_shape.h"

#include <cmath>

namespace kelvor::detail {

GridShape choose_grid(std::int64_t x0, std::int64_t y0, std::uint64_t span_x, std::uint64_t span_y,
                      std::size_t target) {
  if (target < 1) target = 1;
  GridShape g;
  g.x0 = x0;
  g.y0 = y0;
  const double w = static_cast<double>(span_x) + 1.0, h = static_cast<double>(span_y) + 1.0;
  const double side = std::sqrt(w * h / static_cast<double>(target));
  std::uint32_t shift = 0;
  while (shift < 32 && static_cast<double>(std::uint64_t{1} << shift) < side) ++shift;
  g.sx = g.sy = shift;
  auto dims = [&] {
    g.cols = static_cast<std::uint32_t>((span_x >> g.sx) + 1);
    g.rows = static_cast<std::uint32_t>((span_y >> g.sy) + 1);
  };
  dims();
  // A thin rectangle: spend the cells along its long side.
  while (g.cells() * 2 <= target && g.sy > 0 && (span_y >> g.sy) > 0) {
    --g.sy;
    dims();
  }
  while (g.cells() * 2 <= target && g.sx > 0 && (span_x >> g.sx) > 0) {
    --g.sx;
    dims();
  }
  return g;
}

}  // namespace kelvor::detail
