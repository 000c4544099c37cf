// Planning, building and querying the grid index of one ring.
#include "region/ring_index.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "common/crossing.h"
#include "common/half_open.h"

namespace kelvor::detail {

namespace {

// Entry flag: the edge's crossing needs 64-bit arithmetic.
constexpr std::uint32_t kWide = 0x80000000u;
constexpr std::uint32_t kEdgeMask = 0x7FFFFFFFu;
// Wild edges are listed by coarse bands, at most this many.
constexpr std::uint32_t kMaxWildBands = 64;
// Limits that keep every count in 32 bits with room to spare.
constexpr std::size_t kMaxCells = std::size_t{1} << 26;
constexpr std::size_t kMaxEntries = std::size_t{1} << 30;

struct Edge {
  tagPOINT a;
  tagPOINT b;
};

inline Edge edge_at(const tagPOINT* p, std::int32_t n, std::int32_t i) {
  return {p[i], p[i + 1 < n ? i + 1 : 0]};
}

// Exact crossing of a straddling edge with the row y. An edge whose 32-bit
// product cannot wrap takes the plain 32-bit form, which is then exact.
inline std::int32_t row_crossing(const Edge& e, std::int32_t y, bool wide) {
  if (wide) return exact_crossing_at<Row>(e.a, e.b, y);
  // An upright edge cannot wrap, but its height alone may exceed 32 bits.
  if (e.a.x == e.b.x) return e.a.x;
  const std::int32_t num = (e.b.x - e.a.x) * (y - e.a.y);
  return e.a.x + num / (e.b.y - e.a.y);
}

// Columns where the wrapped crossing of a wild edge a -> b can land: the
// wrapped product has magnitude at most 2^31, so the quotient is within
// 2^31 / |den| of a.x, den being the wrapped difference b.y - a.y. If that
// reaches past the 32-bit range the sum wraps too, and it can land anywhere.
struct Columns {
  std::int64_t lo, hi;  // inclusive
};
inline Columns wild_reach(const Edge& e) {
  const std::int64_t den = static_cast<std::int64_t>(wrap_sub(e.b.y, e.a.y));
  const std::int64_t reach = (std::int64_t{1} << 31) / (den < 0 ? -den : den) + 1;
  const std::int64_t lo = e.a.x - reach, hi = e.a.x + reach;
  if (lo < INT32_MIN || hi > INT32_MAX) return {INT32_MIN, INT32_MAX};
  return {lo, hi};
}

std::size_t align8(std::size_t bytes) { return (bytes + 7) & ~std::size_t{7}; }

// Byte offsets of the arrays in the block.
struct Layout {
  std::size_t offsets, clean_bits, entries, wild_offsets, wild_entries, end;
};

Layout layout_of(const RingIndexPlan& plan) {
  Layout l{};
  l.offsets = 0;
  l.clean_bits = align8(l.offsets + 4 * (plan.cells + 1));
  l.entries = l.clean_bits + 8 * ((plan.cells + 63) / 64);
  l.wild_offsets = align8(l.entries + 4 * plan.entries);
  l.wild_entries = l.wild_offsets + 4 * (static_cast<std::size_t>(plan.wild_bands) + 1);
  l.end = align8(l.wild_entries + 4 * plan.wild_entries);
  return l;
}

std::uint64_t width_of(const RingIndexPlan& plan) {
  return static_cast<std::uint64_t>(static_cast<std::int64_t>(plan.max.x) - plan.min.x);
}
std::uint64_t height_of(const RingIndexPlan& plan) {
  return static_cast<std::uint64_t>(static_cast<std::int64_t>(plan.max.y) - plan.min.y);
}

// Visits every (cell, entry) pair of the grid, edges in ring order. A
// horizontal edge lists the cells of its x-range on its row; any other edge,
// in each band it reaches, the cells between its x at the first and at the
// last of its rows in that band (the rows it straddles and its end row).
// Rows above the last straddled row of the ring hold no point and are left
// out.
template <class Visit>
void for_each_incidence(const RingIndexPlan& plan, const tagPOINT* p, Visit&& visit) {
  const std::uint64_t last_row = height_of(plan) - 1;
  const std::uint64_t band_rows_m1 = (std::uint64_t{1} << plan.sy) - 1;
  auto rel_x = [&](std::int32_t x) {
    return static_cast<std::uint32_t>(static_cast<std::int64_t>(x) - plan.min.x);
  };
  auto visit_cells = [&](std::uint64_t band, std::uint32_t x0, std::uint32_t x1,
                         std::uint32_t entry) {
    if (x0 > x1) {
      const std::uint32_t t = x0;
      x0 = x1;
      x1 = t;
    }
    const std::size_t base = static_cast<std::size_t>(band) * plan.cols;
    for (std::uint32_t c = x0 >> plan.sx; c <= (x1 >> plan.sx); ++c) visit(base + c, entry);
  };
  for (std::int32_t i = 0; i < plan.n; ++i) {
    const Edge e = edge_at(p, plan.n, i);
    const std::uint32_t entry =
        static_cast<std::uint32_t>(i) | (crossing_can_wrap_at<Row>(e.a, e.b) ? kWide : 0u);
    const bool up = e.a.y < e.b.y;
    const std::uint64_t lo =
        static_cast<std::uint64_t>(static_cast<std::int64_t>(up ? e.a.y : e.b.y) - plan.min.y);
    std::uint64_t hi =
        static_cast<std::uint64_t>(static_cast<std::int64_t>(up ? e.b.y : e.a.y) - plan.min.y);
    if (lo > last_row) continue;  // a horizontal edge on the top row
    if (e.a.y == e.b.y) {
      visit_cells(lo >> plan.sy, rel_x(e.a.x), rel_x(e.b.x), entry);
      continue;
    }
    if (hi > last_row) hi = last_row;
    if ((lo >> plan.sy) == (hi >> plan.sy)) {
      // Within one band the whole x-range of the edge is a safe superset.
      visit_cells(lo >> plan.sy, rel_x(e.a.x), rel_x(e.b.x), entry);
      continue;
    }
    for (std::uint64_t band = lo >> plan.sy; band <= (hi >> plan.sy); ++band) {
      const std::uint64_t r0 = band << plan.sy > lo ? band << plan.sy : lo;
      const std::uint64_t r1 =
          (band << plan.sy) + band_rows_m1 < hi ? (band << plan.sy) + band_rows_m1 : hi;
      const auto y0 = static_cast<std::int32_t>(plan.min.y + static_cast<std::int64_t>(r0));
      const auto y1 = static_cast<std::int32_t>(plan.min.y + static_cast<std::int64_t>(r1));
      visit_cells(band, rel_x(exact_crossing_at<Row>(e.a, e.b, y0)),
                  rel_x(exact_crossing_at<Row>(e.a, e.b, y1)), entry);
    }
  }
}

// Visits each wild edge (one whose 32-bit crossing product can wrap) with
// the coarse bands holding the rows it straddles, band by band.
template <class Visit>
void for_each_wild_band(const RingIndexPlan& plan, const tagPOINT* p, Visit&& visit) {
  for (std::int32_t i = 0; i < plan.n; ++i) {
    const Edge e = edge_at(p, plan.n, i);
    if (!crossing_can_wrap_at<Row>(e.a, e.b)) continue;
    const std::int64_t lo = (e.a.y < e.b.y ? e.a.y : e.b.y) - std::int64_t{plan.min.y};
    const std::int64_t hi = (e.a.y < e.b.y ? e.b.y : e.a.y) - std::int64_t{plan.min.y} - 1;
    for (std::int64_t b = lo >> plan.wild_sy; b <= (hi >> plan.wild_sy); ++b) {
      visit(e, static_cast<std::size_t>(b), static_cast<std::uint32_t>(i));
    }
  }
}

std::size_t count_entries(const RingIndexPlan& plan, const tagPOINT* p) {
  std::size_t count = 0;
  for_each_incidence(plan, p, [&](std::size_t, std::uint32_t) { ++count; });
  return count;
}

// Grid shape: about `target` cells, as square as the rectangle allows.
void choose_grid(RingIndexPlan& plan, std::size_t target) {
  const std::uint64_t w = width_of(plan), h = height_of(plan);
  const double side =
      std::sqrt(static_cast<double>(w) * static_cast<double>(h) / static_cast<double>(target));
  std::uint32_t shift = 0;
  while (shift < 31 && static_cast<double>(std::uint64_t{1} << shift) < side) ++shift;
  plan.sx = plan.sy = shift;
  auto dims = [&] {
    plan.cols = static_cast<std::uint32_t>((w >> plan.sx) + 1);
    plan.bands = static_cast<std::uint32_t>(((h - 1) >> plan.sy) + 1);
    plan.cells = static_cast<std::size_t>(plan.cols) * plan.bands;
  };
  dims();
  // A thin rectangle: spend the cells along its long side.
  while (plan.cells * 2 <= target && plan.sy > 0 && plan.bands < h) {
    --plan.sy;
    dims();
  }
  while (plan.cells * 2 <= target && plan.sx > 0 && plan.cols <= w) {
    --plan.sx;
    dims();
  }
}

}  // namespace

RingIndexPlan RingIndex::plan(const tagPOINT* p, std::int32_t n, CrossingRule rule) {
  RingIndexPlan plan;
  plan.rule = rule;
  if (p == nullptr || n < 1) return plan;
  plan.n = n;
  plan.min = plan.max = p[0];
  for (std::int32_t i = 1; i < n; ++i) {
    if (p[i].x < plan.min.x) plan.min.x = p[i].x;
    if (p[i].y < plan.min.y) plan.min.y = p[i].y;
    if (p[i].x > plan.max.x) plan.max.x = p[i].x;
    if (p[i].y > plan.max.y) plan.max.y = p[i].y;
  }
  // Without a row that some edge straddles or a column inside, every point
  // is outside by both rules (edges are then axis-parallel, so none wraps).
  if (width_of(plan) == 0 || height_of(plan) == 0) return plan;
  plan.blank = false;

  std::size_t target = static_cast<std::size_t>(n) < 16 ? 16 : 2 * static_cast<std::size_t>(n);
  if (target > kMaxCells / 2) target = kMaxCells / 2;
  // Long edges cross many cells; coarsen until the lists stay near a few
  // entries per vertex.
  const std::size_t budget = 16 * static_cast<std::size_t>(n) + 4096;
  for (;;) {
    choose_grid(plan, target);
    plan.entries = count_entries(plan, p);
    if (plan.entries <= budget || target <= 16) break;
    target /= 4;
  }

  plan.reach_x0 = plan.min.x;
  plan.reach_x1 = plan.max.x;
  if (rule == CrossingRule::kWrapping) {
    plan.wild_sy = plan.sy;
    while (((height_of(plan) - 1) >> plan.wild_sy) + 1 > kMaxWildBands) ++plan.wild_sy;
    plan.wild_bands = static_cast<std::uint32_t>(((height_of(plan) - 1) >> plan.wild_sy) + 1);
    for_each_wild_band(plan, p, [&](const Edge& e, std::size_t, std::uint32_t) {
      plan.has_wild = true;
      const Columns c = wild_reach(e);
      if (c.lo < plan.reach_x0) plan.reach_x0 = c.lo;
      if (c.hi + 1 > plan.reach_x1) plan.reach_x1 = c.hi + 1;
      ++plan.wild_entries;
    });
  }
  if (plan.cells > kMaxCells || plan.entries > kMaxEntries || plan.wild_entries > kMaxEntries) {
    plan.bytes = 0;
    return plan;
  }
  plan.bytes = layout_of(plan).end;
  return plan;
}

RingIndex::RingIndex(const RingIndexPlan& plan, const tagPOINT* p, void* block) : plan_(plan) {
  points_ = p;
  if (plan.blank) return;
  attach(block);
  auto* base = static_cast<unsigned char*>(block);
  const Layout l = layout_of(plan);
  auto* offsets = reinterpret_cast<std::uint32_t*>(base + l.offsets);
  auto* clean_bits = reinterpret_cast<std::uint64_t*>(base + l.clean_bits);
  auto* entries = reinterpret_cast<std::uint32_t*>(base + l.entries);
  auto* wild_offsets = reinterpret_cast<std::uint32_t*>(base + l.wild_offsets);
  auto* wild_entries = reinterpret_cast<std::uint32_t*>(base + l.wild_entries);

  // Lists by counting sort: counts, starts, then fill with the starts as
  // cursors (which leaves each at the next cell's start).
  std::memset(offsets, 0, 4 * (plan.cells + 1));
  for_each_incidence(plan, p, [&](std::size_t cell, std::uint32_t) { ++offsets[cell + 1]; });
  for (std::size_t c = 0; c < plan.cells; ++c) offsets[c + 1] += offsets[c];
  for_each_incidence(
      plan, p, [&](std::size_t cell, std::uint32_t entry) { entries[offsets[cell]++] = entry; });
  for (std::size_t c = plan.cells; c > 0; --c) offsets[c] = offsets[c - 1];
  offsets[0] = 0;

  // The answer of each clean cell: sweep each band from the right on its
  // first row, adding the crossings of the listed cells passed.
  std::memset(clean_bits, 0, 8 * ((plan.cells + 63) / 64));
  for (std::uint32_t band = 0; band < plan.bands; ++band) {
    const auto y =
        static_cast<std::int32_t>(plan.min.y + (static_cast<std::int64_t>(band) << plan.sy));
    std::uint32_t parity = 0;
    for (std::uint32_t k = plan.cols; k-- > 0;) {
      const std::size_t cell = static_cast<std::size_t>(band) * plan.cols + k;
      if (offsets[cell] == offsets[cell + 1]) {
        clean_bits[cell / 64] |= static_cast<std::uint64_t>(parity) << (cell % 64);
        continue;
      }
      for (std::uint32_t j = offsets[cell]; j < offsets[cell + 1]; ++j) {
        const Edge e = edge_at(p, plan.n, static_cast<std::int32_t>(entries[j] & kEdgeMask));
        if (!straddles(e.a.y, e.b.y, y)) continue;
        const std::int64_t xc =
            static_cast<std::int64_t>(row_crossing(e, y, (entries[j] & kWide) != 0)) - plan.min.x;
        parity ^= static_cast<std::uint32_t>((static_cast<std::uint64_t>(xc) >> plan.sx) == k);
      }
    }
  }

  std::memset(wild_offsets, 0, 4 * (static_cast<std::size_t>(plan.wild_bands) + 1));
  if (!plan.has_wild) return;
  for_each_wild_band(
      plan, p, [&](const Edge&, std::size_t band, std::uint32_t) { ++wild_offsets[band + 1]; });
  for (std::size_t b = 0; b < plan.wild_bands; ++b) wild_offsets[b + 1] += wild_offsets[b];
  for_each_wild_band(plan, p, [&](const Edge&, std::size_t band, std::uint32_t i) {
    wild_entries[wild_offsets[band]++] = i;
  });
  for (std::size_t b = plan.wild_bands; b > 0; --b) wild_offsets[b] = wild_offsets[b - 1];
  wild_offsets[0] = 0;
}

void RingIndex::attach(const void* block) {
  const auto* base = static_cast<const unsigned char*>(block);
  const Layout l = layout_of(plan_);
  offsets_ = reinterpret_cast<const std::uint32_t*>(base + l.offsets);
  clean_bits_ = reinterpret_cast<const std::uint64_t*>(base + l.clean_bits);
  entries_ = reinterpret_cast<const std::uint32_t*>(base + l.entries);
  wild_offsets_ = reinterpret_cast<const std::uint32_t*>(base + l.wild_offsets);
  wild_entries_ = reinterpret_cast<const std::uint32_t*>(base + l.wild_entries);
}

RingIndex RingIndex::rebased(const tagPOINT* p, const void* block) const {
  RingIndex copy;
  copy.plan_ = plan_;
  copy.points_ = p;
  if (!plan_.blank) copy.attach(block);
  return copy;
}

std::int32_t RingIndex::exact_parity(std::uint32_t rx, std::uint32_t ry, std::int32_t y) const {
  const std::uint32_t first = rx >> plan_.sx;
  std::size_t cell = static_cast<std::size_t>(ry >> plan_.sy) * plan_.cols + first;
  std::uint32_t parity = 0;
  // Walk right to the next clean cell, counting the crossings of the
  // listed cells that lie in the cell passed and right of the point.
  for (std::uint32_t k = first; k < plan_.cols; ++k, ++cell) {
    const std::uint32_t begin = offsets_[cell], end = offsets_[cell + 1];
    if (begin == end) {
      parity ^= static_cast<std::uint32_t>(clean_bits_[cell / 64] >> (cell % 64)) & 1u;
      break;
    }
    for (std::uint32_t j = begin; j < end; ++j) {
      const std::uint32_t entry = entries_[j];
      const Edge e = edge_at(points_, plan_.n, static_cast<std::int32_t>(entry & kEdgeMask));
      if (!straddles(e.a.y, e.b.y, y)) continue;
      const auto xc = static_cast<std::uint32_t>(
          static_cast<std::int64_t>(row_crossing(e, y, (entry & kWide) != 0)) - plan_.min.x);
      parity ^= static_cast<std::uint32_t>(xc > rx && (xc >> plan_.sx) == k);
    }
  }
  return static_cast<std::int32_t>(parity);
}

// On a wild edge the wrapped crossing may lie anywhere on the row; the
// answer flips wherever it and the exact crossing fall on different sides.
std::int32_t RingIndex::wild_correction(std::int32_t x, std::int32_t y) const {
  const auto ry = static_cast<std::uint64_t>(static_cast<std::int64_t>(y) - plan_.min.y);
  const std::size_t band = static_cast<std::size_t>(ry >> plan_.wild_sy);
  std::uint32_t flip = 0;
  for (std::uint32_t j = wild_offsets_[band]; j < wild_offsets_[band + 1]; ++j) {
    const Edge e = edge_at(points_, plan_.n, static_cast<std::int32_t>(wild_entries_[j]));
    if (!straddles(e.a.y, e.b.y, y)) continue;
    flip ^= static_cast<std::uint32_t>(x < wrapping_crossing_at<Row>(e.a, e.b, y)) ^
            static_cast<std::uint32_t>(x < exact_crossing_at<Row>(e.a, e.b, y));
  }
  return static_cast<std::int32_t>(flip);
}

std::int32_t RingIndex::contain(std::int32_t x, std::int32_t y) const {
  if (plan_.blank) return 0;
  const std::int64_t ry = static_cast<std::int64_t>(y) - plan_.min.y;
  if (ry < 0 || y >= plan_.max.y) return 0;  // no edge straddles the row
  // Outside the columns of the rectangle the exact answer is 0: every
  // crossing lies within them and a closed ring crosses a row evenly.
  std::int32_t inside = 0;
  if (x >= plan_.min.x && x < plan_.max.x) {
    const auto rx = static_cast<std::uint32_t>(static_cast<std::int64_t>(x) - plan_.min.x);
    inside = exact_parity(rx, static_cast<std::uint32_t>(ry), y);
  }
  if (plan_.has_wild) inside ^= wild_correction(x, y);
  return inside;
}

RingIndex::Coverage RingIndex::coverage(std::int64_t x0, std::int64_t y0, std::int64_t x1,
                                        std::int64_t y1) const {
  if (x0 >= x1 || y0 >= y1) return Coverage::kOutside;
  if (plan_.blank) return Coverage::kOutside;
  if (plan_.has_wild && wild_may_land(x0, y0, x1, y1)) return Coverage::kMixed;
  // Outside the columns [min.x, max.x) and the rows [min.y, max.y) every
  // point is outside; within them each clean cell holds one answer.
  const std::int64_t cx0 = x0 > plan_.min.x ? x0 : plan_.min.x;
  const std::int64_t cy0 = y0 > plan_.min.y ? y0 : plan_.min.y;
  const std::int64_t cx1 = x1 < plan_.max.x ? x1 : plan_.max.x;
  const std::int64_t cy1 = y1 < plan_.max.y ? y1 : plan_.max.y;
  if (cx0 >= cx1 || cy0 >= cy1) return Coverage::kOutside;
  const bool within = cx0 == x0 && cy0 == y0 && cx1 == x1 && cy1 == y1;
  const auto k0 = static_cast<std::uint64_t>(cx0 - plan_.min.x) >> plan_.sx;
  const auto k1 = static_cast<std::uint64_t>(cx1 - 1 - plan_.min.x) >> plan_.sx;
  const auto b0 = static_cast<std::uint64_t>(cy0 - plan_.min.y) >> plan_.sy;
  const auto b1 = static_cast<std::uint64_t>(cy1 - 1 - plan_.min.y) >> plan_.sy;
  bool any_in = false, any_out = !within;
  for (std::uint64_t b = b0; b <= b1; ++b) {
    for (std::uint64_t k = k0; k <= k1; ++k) {
      const std::size_t cell = static_cast<std::size_t>(b) * plan_.cols + k;
      if (offsets_[cell] != offsets_[cell + 1]) return Coverage::kMixed;
      const bool in = ((clean_bits_[cell / 64] >> (cell % 64)) & 1u) != 0;
      any_in |= in;
      any_out |= !in;
      if (any_in && any_out) return Coverage::kMixed;
    }
  }
  return any_in ? Coverage::kInside : Coverage::kOutside;
}

bool RingIndex::wild_may_land(std::int64_t x0, std::int64_t y0, std::int64_t x1,
                              std::int64_t y1) const {
  // Rows are those some edge straddles, [min.y, max.y - 1].
  const std::int64_t r0 = y0 > plan_.min.y ? y0 : plan_.min.y;
  const std::int64_t r1 = y1 - 1 < plan_.max.y - 1 ? y1 - 1 : plan_.max.y - 1;
  if (r0 > r1) return false;
  const auto b0 = static_cast<std::uint64_t>(r0 - plan_.min.y) >> plan_.wild_sy;
  const auto b1 = static_cast<std::uint64_t>(r1 - plan_.min.y) >> plan_.wild_sy;
  for (std::uint64_t b = b0; b <= b1; ++b) {
    for (std::uint32_t j = wild_offsets_[b]; j < wild_offsets_[b + 1]; ++j) {
      const Edge e = edge_at(points_, plan_.n, static_cast<std::int32_t>(wild_entries_[j]));
      const std::int64_t top = (e.a.y > e.b.y ? e.a.y : e.b.y) - std::int64_t{1};
      const std::int64_t bottom = e.a.y < e.b.y ? e.a.y : e.b.y;
      // The answer flips between the exact crossing (within the edge's
      // columns) and the wrapped one (within its reach).
      const Columns c = wild_reach(e);
      const std::int64_t lo = std::min<std::int64_t>(c.lo, std::min(e.a.x, e.b.x));
      const std::int64_t hi = std::max<std::int64_t>(c.hi, std::max(e.a.x, e.b.x));
      if (bottom <= r1 && top >= r0 && lo < x1 && hi >= x0) return true;
    }
  }
  return false;
}

std::int32_t RingIndex::contain_bounded(std::int32_t x, std::int32_t y) const {
  if (plan_.n < 3 || !half_open_holds(plan_.min, plan_.max, tagPOINT{x, y})) return 0;
  return contain(x, y);
}

}  // namespace kelvor::detail
