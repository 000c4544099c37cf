// Queries of an area index: a point, a rectangle's coverage, and the
// wrapping rule's answer beyond the grid's columns.
#include <algorithm>

#include "area_words.h"
#include "common/crossing.h"
#include "common/prefetch.h"
#include "region/area_index.h"

namespace kelvor::detail {

std::int32_t AreaIndex::leaf_answer(std::uint32_t at, std::int32_t x, std::int32_t y) const {
  const std::uint32_t* w = words_.data() + at;
  const tagPOINT* pts = points_.data();
  if ((w[0] & kGeneralBit) == 0) {
    return static_cast<std::int32_t>(
        (w[0] >> 31) ^ block_parity(pts, w + 2, w[0] & kCountMask, w[1], x, y, rule_));
  }
  // Groups of blocks, outer ring first: some group whose outer block is odd
  // and whose hole blocks are even holds the point.
  const std::uint32_t blocks = w[0] & kCountMask;
  w += 2;
  bool in_group = false, ok = false;
  for (std::uint32_t k = 0; k < blocks; ++k) {
    const std::uint32_t edges = w[0] & kCountMask, toggles = w[1] & kCountMask;
    if ((w[1] & kNewGroupBit) != 0) {
      if (in_group && ok) return 1;
      in_group = ok = true;
    }
    const std::uint32_t parity = (w[0] >> 31) ^ block_parity(pts, w + 2, edges, w[1], x, y, rule_);
    ok = ok && parity == ((w[0] & kHoleBit) != 0 ? 0u : 1u);
    w += 2 + edges + toggles;
  }
  return in_group && ok ? 1 : 0;
}

// Beyond the grid's columns only wild edges can cross right of a point (to
// its left every other crossing lies right of it, and each ring crosses a
// row evenly): a ring's parity is that of its wild crossings on the far side.
std::int32_t AreaIndex::outside_answer(std::int32_t x, std::int32_t y) const {
  const bool left = x < grid_.x0;
  const std::size_t band = static_cast<std::size_t>(std::int64_t{y} - min_.y) >> wild_sy_;
  std::int32_t group = -1;
  bool outer_in = false, hole_in = false, held = false;
  std::uint32_t ring = 0xFFFFFFFFu, parity = 0;
  auto close_ring = [&] {
    if (ring == 0xFFFFFFFFu) return;
    const AreaRing& r = rings_[ring];
    if (r.group != group) {
      held = held || (group >= 0 && outer_in && !hole_in);
      group = r.group;
      outer_in = hole_in = false;
    }
    if (r.hole) {
      hole_in = hole_in || parity != 0;
    } else {
      outer_in = parity != 0;
    }
  };
  for (std::uint32_t k = wild_offsets_[band]; k < wild_offsets_[band + 1]; k += 2) {
    if (wild_edges_[k + 1] != ring) {
      close_ring();
      ring = wild_edges_[k + 1];
      parity = 0;
    }
    const std::uint32_t e = wild_edges_[k];
    const AreaRing& r = rings_[ring];
    const tagPOINT& a = points_[e];
    const tagPOINT& b =
        points_[e + 1 < r.first + static_cast<std::uint32_t>(r.count) ? e + 1 : r.first];
    if (!straddles(a.y, b.y, y)) continue;
    const std::int32_t t = wrapping_crossing_at<Row>(a, b, y);
    parity ^= static_cast<std::uint32_t>(left ? x >= t : x < t);
  }
  close_ring();
  held = held || (group >= 0 && outer_in && !hole_in);
  return held ? 1 : 0;
}

std::int32_t AreaIndex::contain(std::int32_t x, std::int32_t y) const {
  if (blank_ || y < min_.y || y >= max_.y) return 0;  // no edge straddles the row
  const std::int64_t rx = std::int64_t{x} - grid_.x0;
  const auto ry = static_cast<std::uint64_t>(std::int64_t{y} - grid_.y0);
  const auto ux = static_cast<std::uint64_t>(rx);
  if (rx < 0 || (ux >> grid_.sx) >= grid_.cols) return has_wild_ ? outside_answer(x, y) : 0;
  std::uint32_t w = words_[static_cast<std::size_t>(ry >> grid_.sy) * grid_.cols +
                           static_cast<std::size_t>(ux >> grid_.sx)];
  std::uint32_t a = grid_.sx, b = grid_.sy;
  while ((w & kTagMask) == kSplit) {
    // A finer grid of 2^ka by 2^kb cells, aligned within the cell.
    std::uint32_t ka, kb;
    split_shifts(a, b, &ka, &kb);
    a -= ka;
    b -= kb;
    const std::uint32_t cx = static_cast<std::uint32_t>(ux >> a) & ((1u << ka) - 1);
    const std::uint32_t cy = static_cast<std::uint32_t>(ry >> b) & ((1u << kb) - 1);
    w = words_[(w & kOffsetMask) + (cy << ka) + cx];
  }
  if ((w & kTagMask) == kConst) return static_cast<std::int32_t>(w & 1u);
  return leaf_answer(w & kOffsetMask, x, y);
}

std::int32_t AreaIndex::probe_start(Probe& p, std::int32_t x, std::int32_t y) const {
  if (blank_ || y < min_.y || y >= max_.y) return 0;
  const std::int64_t rx = std::int64_t{x} - grid_.x0;
  p.ux = static_cast<std::uint64_t>(rx);
  p.ry = static_cast<std::uint64_t>(std::int64_t{y} - grid_.y0);
  if (rx < 0 || (p.ux >> grid_.sx) >= grid_.cols) return has_wild_ ? outside_answer(x, y) : 0;
  p.x = x;
  p.y = y;
  p.at = static_cast<std::uint32_t>((p.ry >> grid_.sy) * grid_.cols + (p.ux >> grid_.sx));
  p.a = grid_.sx;
  p.b = grid_.sy;
  p.stage = 0;
  prefetch(words_.data() + p.at);
  return -1;
}

std::int32_t AreaIndex::probe_step(Probe& p) const {
  if (p.stage == 0) {
    const std::uint32_t w = words_[p.at];
    switch (w & kTagMask) {
      case kConst: return static_cast<std::int32_t>(w & 1u);
      case kSplit: {
        std::uint32_t ka, kb;
        split_shifts(p.a, p.b, &ka, &kb);
        p.a -= ka;
        p.b -= kb;
        const std::uint32_t cx = static_cast<std::uint32_t>(p.ux >> p.a) & ((1u << ka) - 1);
        const std::uint32_t cy = static_cast<std::uint32_t>(p.ry >> p.b) & ((1u << kb) - 1);
        p.at = (w & kOffsetMask) + (cy << ka) + cx;
        prefetch(words_.data() + p.at);
        return -1;
      }
      default:
        // A leaf: its first lines (an in-line leaf takes up to some 40
        // words).
        p.at = w & kOffsetMask;
        p.stage = 1;
        prefetch(words_.data() + p.at);
        prefetch(words_.data() + p.at + 16);
        prefetch(words_.data() + p.at + 32);
        return -1;
    }
  }
  const std::uint32_t* w = words_.data() + p.at;
  if (p.stage == 1 && (w[0] & kGeneralBit) == 0 && (w[1] & kInlineBit) == 0) {
    // Ask for each referenced edge's points before reading them.
    const std::uint32_t* e = w + 2;
    const std::uint32_t* end = e + (w[0] & kCountMask);
    for (; e < end; ++e) prefetch(points_.data() + (*e & kPointMask));
    p.stage = 2;
    return -1;
  }
  return leaf_answer(p.at, p.x, p.y);
}

// A few dozen queries in flight: each advances one read at a time while the
// others' reads are under way.
void AreaIndex::contain_many(const tagPOINT* pts, std::size_t count, std::uint8_t* out,
                             bool bounded) const {
  if (memory_bytes() < kInterleaveBytes) {
    for (std::size_t i = 0; i < count; ++i) {
      out[i] = static_cast<std::uint8_t>(bounded ? contain_bounded(pts[i].x, pts[i].y)
                                                 : contain(pts[i].x, pts[i].y));
    }
    return;
  }
  constexpr std::size_t kLanes = 32;
  Probe lanes[kLanes];
  std::size_t owner[kLanes];
  std::size_t live = 0, next = 0;
  tagPOINT lo{0, 0}, hi{0, 0};
  const bool any = !bounded || bound(&lo, &hi);
  auto start = [&](std::size_t lane) {
    while (next < count) {
      const tagPOINT& q = pts[next];
      const bool in = !bounded || (any && q.x >= lo.x && q.x < hi.x && q.y >= lo.y && q.y < hi.y);
      const std::int32_t r = in ? probe_start(lanes[lane], q.x, q.y) : 0;
      if (r < 0) {
        owner[lane] = next++;
        return true;
      }
      out[next++] = static_cast<std::uint8_t>(r);
    }
    return false;
  };
  while (live < kLanes && start(live)) ++live;
  while (live > 0) {
    for (std::size_t k = 0; k < live;) {
      const std::int32_t r = probe_step(lanes[k]);
      if (r < 0) {
        ++k;
        continue;
      }
      out[owner[k]] = static_cast<std::uint8_t>(r);
      if (!start(k)) {
        --live;
        lanes[k] = lanes[live];
        owner[k] = owner[live];
      } else {
        ++k;
      }
    }
  }
}

std::int32_t AreaIndex::contain_bounded(std::int32_t x, std::int32_t y) const {
  if (!has_bound_ || x < bound_min_.x || x >= bound_max_.x || y < bound_min_.y ||
      y >= bound_max_.y) {
    return 0;
  }
  return contain(x, y);
}

bool AreaIndex::cover_mixed(std::uint32_t word, std::int64_t cx, std::int64_t cy, std::uint32_t a,
                            std::uint32_t b, std::int64_t x0, std::int64_t y0, std::int64_t x1,
                            std::int64_t y1, bool* any_in, bool* any_out) const {
  if (cx >= x1 || cy >= y1 || cx + (std::int64_t{1} << a) <= x0 ||
      cy + (std::int64_t{1} << b) <= y0)
    return false;
  switch (word & kTagMask) {
    case kConst: *((word & 1u) != 0 ? any_in : any_out) = true; return *any_in && *any_out;
    case kSplit: {
      const std::uint32_t at = word & kOffsetMask;
      std::uint32_t ka, kb;
      split_shifts(a, b, &ka, &kb);
      const std::uint32_t sa = a - ka, sb = b - kb;
      for (std::uint32_t qy = 0; qy < (1u << kb); ++qy) {
        for (std::uint32_t qx = 0; qx < (1u << ka); ++qx) {
          if (cover_mixed(words_[at + (qy << ka) + qx], cx + (static_cast<std::int64_t>(qx) << sa),
                          cy + (static_cast<std::int64_t>(qy) << sb), sa, sb, x0, y0, x1, y1,
                          any_in, any_out)) {
            return true;
          }
        }
      }
      return false;
    }
    default: return true;  // a leaf: its answer varies
  }
}

AreaIndex::Coverage AreaIndex::coverage(std::int64_t x0, std::int64_t y0, std::int64_t x1,
                                        std::int64_t y1) const {
  if (x0 >= x1 || y0 >= y1 || blank_) return Coverage::kOutside;
  if (has_wild_ && wild_may_land(x0, y0, x1, y1)) return Coverage::kMixed;
  // Beyond the grid every point is outside (wild crossings land elsewhere).
  const std::int64_t gx1 = grid_.cell_x(grid_.cols);
  const std::int64_t cx0 = std::max(x0, grid_.x0), cx1 = std::min(x1, gx1);
  const std::int64_t cy0 = std::max<std::int64_t>(y0, min_.y),
                     cy1 = std::min<std::int64_t>(y1, max_.y);
  if (cx0 >= cx1 || cy0 >= cy1) return Coverage::kOutside;
  bool any_in = false, any_out = cx0 != x0 || cx1 != x1 || cy0 != y0 || cy1 != y1;
  const auto k0 = static_cast<std::uint64_t>(cx0 - grid_.x0) >> grid_.sx;
  const auto k1 = static_cast<std::uint64_t>(cx1 - 1 - grid_.x0) >> grid_.sx;
  const auto r0 = static_cast<std::uint64_t>(cy0 - grid_.y0) >> grid_.sy;
  const auto r1 = static_cast<std::uint64_t>(cy1 - 1 - grid_.y0) >> grid_.sy;
  for (std::uint64_t r = r0; r <= r1; ++r) {
    for (std::uint64_t k = k0; k <= k1; ++k) {
      const std::uint32_t w = words_[static_cast<std::size_t>(r) * grid_.cols + k];
      if (cover_mixed(w, grid_.cell_x(k), grid_.cell_y(r), grid_.sx, grid_.sy, cx0, cy0, cx1, cy1,
                      &any_in, &any_out)) {
        return Coverage::kMixed;
      }
    }
  }
  if (any_in && any_out) return Coverage::kMixed;
  return any_in ? Coverage::kInside : Coverage::kOutside;
}

// Whether a wild edge's wrapped crossing, or the exact one it replaces, can
// lie in the rectangle on one of its rows: elsewhere both rules agree.
bool AreaIndex::wild_may_land(std::int64_t x0, std::int64_t y0, std::int64_t x1,
                              std::int64_t y1) const {
  const std::int64_t r0 = std::max<std::int64_t>(y0, min_.y);
  const std::int64_t r1 = std::min<std::int64_t>(y1 - 1, std::int64_t{max_.y} - 1);
  if (r0 > r1) return false;
  const auto b0 = static_cast<std::uint64_t>(r0 - min_.y) >> wild_sy_;
  const auto b1 = static_cast<std::uint64_t>(r1 - min_.y) >> wild_sy_;
  for (std::uint64_t band = b0; band <= b1; ++band) {
    for (std::uint32_t k = wild_offsets_[band]; k < wild_offsets_[band + 1]; k += 2) {
      const AreaRing& r = rings_[wild_edges_[k + 1]];
      const std::uint32_t e = wild_edges_[k];
      const tagPOINT& a = points_[e];
      const tagPOINT& b =
          points_[e + 1 < r.first + static_cast<std::uint32_t>(r.count) ? e + 1 : r.first];
      const std::int64_t top = std::int64_t{std::max(a.y, b.y)} - 1, bottom = std::min(a.y, b.y);
      const Columns c = wild_columns(a, b);
      if (bottom <= r1 && top >= r0 && c.lo < x1 && c.hi >= x0) return true;
    }
  }
  return false;
}

std::size_t AreaIndex::memory_bytes() const {
  return sizeof(*this) + points_.capacity() * sizeof(tagPOINT) +
         rings_.capacity() * sizeof(AreaRing) +
         (words_.capacity() + wild_offsets_.capacity() + wild_edges_.capacity()) *
             sizeof(std::uint32_t);
}

AreaIndex::Stats AreaIndex::stats() const {
  Stats s;
  s.cells = grid_.cells();
  s.words = words_.size();
  // Walk every node from the grid's cells, with each node's size.
  struct Node {
    std::uint32_t word, a, b;
  };
  std::vector<Node> stack;
  for (std::size_t c = 0; c < s.cells; ++c) stack.push_back({words_[c], grid_.sx, grid_.sy});
  while (!stack.empty()) {
    const Node n = stack.back();
    stack.pop_back();
    const std::uint32_t at = n.word & kOffsetMask;
    if ((n.word & kTagMask) == kSplit) {
      ++s.nodes;
      std::uint32_t ka, kb;
      split_shifts(n.a, n.b, &ka, &kb);
      for (std::uint32_t q = 0; q < (1u << (ka + kb)); ++q) {
        stack.push_back({words_[at + q], n.a - ka, n.b - kb});
      }
    } else if ((n.word & kTagMask) == kLeaf) {
      ++s.leaves;
      std::size_t size = 2;
      if ((words_[at] & kGeneralBit) == 0) {
        size += (words_[at] & kCountMask) + (words_[at + 1] & kCountMask);
      } else {
        std::size_t p = at + 2;
        for (std::uint32_t k = 0; k < (words_[at] & kCountMask); ++k) {
          const std::size_t block = 2 + (words_[p] & kCountMask) + (words_[p + 1] & kCountMask);
          size += block;
          p += block;
        }
      }
      s.max_leaf_words = std::max(s.max_leaf_words, size);
    }
  }
  return s;
}

}  // namespace kelvor::detail
