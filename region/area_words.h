// The words of an area index and the edge tests that read them.
//
// Node words (the grid's cells, and the cells of the grid that splits a
// crowded cell), tag in the top two bits:
//   kConst | v    the answer is v (0 or 1) everywhere in the cell;
//   kLeaf  | o    a leaf at words[o];
//   kSplit | o    a finer grid over the cell: words[o ...] are its 2^ka by
//                 2^kb cells' words row by row, ka and kb from split_shifts
//                 of the cell's size (cells aligned within the cell, so a
//                 point's own bits pick its cell).
// A leaf is two header words and a body:
//   simple:  [base << 31 | edge words] [in line << 30 | toggles] edges...
//            toggle rows...; the answer is the parity of the block;
//   general: [1 << 30 | blocks] [0] then per block (one ring)
//            [base << 31 | hole << 30 | edge words]
//            [new group << 31 | in line << 30 | toggles] edges... toggle
//            rows...; the answer is 1 when some group's blocks hold it
//            (outer block odd, every hole block even).
// A block's edges come one of two ways:
//   in line: chains, each edge's end the next one's start: a chain word
//            [slow << 30 | short << 29 | n], the first point's x and y as
//            bit patterns, then each edge's end: a short chain's as one word
//            [dx << 16 | dy & 0xFFFF] of 16-bit steps from the edge's start,
//            another's as x and y. A query reads no other memory;
//   by reference: an edge word [close << 31 | slow << 30 | start point]
//            each; a closing edge (from a ring's last point back to its
//            first) is followed by the first point's index.
// A block goes in line when that takes at most two words an edge and two
// more (outlines: chains of short steps); scattered or long edges stay by
// reference. A toggle row is an int32 y stored as its bit pattern.
#ifndef KELVOR_REGION_AREA_WORDS_H
#define KELVOR_REGION_AREA_WORDS_H

#include <cstdint>

#include "common/crossing.h"
#include "kelvor/rule.h"
#include "kelvor/types.h"

namespace kelvor::detail {

constexpr std::uint32_t kTagMask = 3u << 30;
constexpr std::uint32_t kConst = 0u << 30;
constexpr std::uint32_t kLeaf = 1u << 30;
constexpr std::uint32_t kSplit = 2u << 30;
constexpr std::uint32_t kOffsetMask = (1u << 30) - 1;

constexpr std::uint32_t kBaseBit = 1u << 31;
constexpr std::uint32_t kGeneralBit = 1u << 30;
constexpr std::uint32_t kHoleBit = 1u << 30;
constexpr std::uint32_t kNewGroupBit = 1u << 31;
constexpr std::uint32_t kCountMask = (1u << 30) - 1;

constexpr std::uint32_t kInlineBit = 1u << 30;
constexpr std::uint32_t kShortBit = 1u << 29;
constexpr std::uint32_t kChainMask = (1u << 29) - 1;

constexpr std::uint32_t kCloseBit = 1u << 31;
constexpr std::uint32_t kSlowBit = 1u << 30;
constexpr std::uint32_t kPointMask = (1u << 30) - 1;

// The finer grid of a split cell 2^a wide and 2^b tall: 2^ka by 2^kb cells.
// Fixed by the size alone, so that a query needs no word to find its cell.
constexpr std::uint32_t kSplitShift = 2;
inline void split_shifts(std::uint32_t a, std::uint32_t b, std::uint32_t* ka, std::uint32_t* kb) {
  *ka = a < kSplitShift ? a : kSplitShift;
  *kb = b < kSplitShift ? b : kSplitShift;
}

// The crossing of a straddling edge by the rule: the wrapping formula of the
// exported functions, or the exact one. They differ only on wild edges.
inline std::int32_t rule_crossing(const tagPOINT& a, const tagPOINT& b, std::int32_t y, Rule rule) {
  return rule == Rule::Compatible ? wrapping_crossing_at<Row>(a, b, y)
                                  : exact_crossing_at<Row>(a, b, y);
}

// Columns where a wild edge's crossing can land on any row, its end points
// included: the wrapped product has magnitude at most 2^31, so the quotient
// is within 2^31 / |dy| of a.x (dy the wrapped difference); past the 32-bit
// range the sum wraps too and it can land anywhere.
struct Columns {
  std::int64_t lo, hi;  // inclusive; lo > hi: none
};
inline Columns wild_columns(const tagPOINT& a, const tagPOINT& b) {
  const std::int64_t den = wrap_sub(b.y, a.y);
  const std::int64_t reach = (std::int64_t{1} << 31) / (den < 0 ? -den : den) + 1;
  std::int64_t lo = a.x - reach, hi = a.x + reach;
  if (lo < INT32_MIN || hi > INT32_MAX) return {INT32_MIN, INT32_MAX};
  lo = lo < a.x ? lo : a.x;
  lo = lo < b.x ? lo : b.x;
  hi = hi > a.x ? hi : a.x;
  hi = hi > b.x ? hi : b.x;
  return {lo, hi};
}

// I_e(x, y): the edge straddles row y and its crossing lies right of x.
inline std::uint32_t crosses_slow(const tagPOINT& a, const tagPOINT& b, std::int64_t x,
                                  std::int32_t y, Rule rule) {
  if (!straddles(a.y, b.y, y)) return 0;
  return static_cast<std::uint32_t>(x < rule_crossing(a, b, y, rule));
}

// The same without a division, for edges whose extents stay below 2^31 (and
// that cannot wrap, so both rules agree). With u = x - a.x, N = dx * (y - a.y)
// and D = |dy| (N taking dy's sign), x < a.x + trunc(N / D) reads
// (u + 1) * D <= N when N >= 0 and u * D < N when N < 0. Clamping u to
// [-|dx| - 1, |dx| + 1] keeps every product below 2^63 and the answer
// unchanged, as the crossing lies between a.x and b.x.
inline std::uint32_t crosses_fast(const tagPOINT& a, const tagPOINT& b, std::int32_t x,
                                  std::int32_t y) {
  const std::uint32_t s = static_cast<std::uint32_t>((a.y <= y) != (b.y <= y));
  const std::int64_t dx = std::int64_t{b.x} - a.x;
  const std::int64_t dy = std::int64_t{b.y} - a.y;
  const std::int64_t m = -static_cast<std::int64_t>(dy < 0);
  const std::int64_t d = (dy ^ m) - m;
  const std::int64_t n0 = dx * (std::int64_t{y} - a.y);
  const std::int64_t n = (n0 ^ m) - m;
  const std::int64_t adx = dx < 0 ? -dx : dx;
  std::int64_t u = std::int64_t{x} - a.x;
  u = u < -adx - 1 ? -adx - 1 : u;
  u = u > adx + 1 ? adx + 1 : u;
  const std::int64_t p = u * d;
  const bool right = n >= 0 ? p + d <= n : p < n;
  return s & static_cast<std::uint32_t>(right);
}

// The low 16 bits of v as a signed step.
inline std::int32_t low16(std::uint32_t v) {
  return static_cast<std::int32_t>(v & 0xFFFFu) - static_cast<std::int32_t>((v & 0x8000u) << 1);
}

// Parity of one block: its edges' I_e and its toggle rows at or below y.
// `w` points at the first edge word, `pts` at the area's points.
inline std::uint32_t block_parity(const tagPOINT* pts, const std::uint32_t* w,
                                  std::uint32_t edge_words, std::uint32_t toggles_word,
                                  std::int32_t x, std::int32_t y, Rule rule) {
  std::uint32_t parity = 0;
  const std::uint32_t* end = w + edge_words;
  if ((toggles_word & kInlineBit) != 0) {
    while (w < end) {
      const std::uint32_t head = *w++;
      const std::uint32_t n = head & kChainMask;
      const bool slow = (head & kSlowBit) != 0;
      tagPOINT a{to_i32(w[0]), to_i32(w[1])};
      w += 2;
      if ((head & kShortBit) != 0) {
        for (const std::uint32_t* last = w + n; w < last; ++w) {
          const tagPOINT b{a.x + low16(*w >> 16), a.y + low16(*w)};  // the stored end point
          parity ^= slow ? crosses_slow(a, b, x, y, rule) : crosses_fast(a, b, x, y);
          a = b;
        }
      } else {
        for (const std::uint32_t* last = w + 2 * n; w < last; w += 2) {
          const tagPOINT b{to_i32(w[0]), to_i32(w[1])};
          parity ^= slow ? crosses_slow(a, b, x, y, rule) : crosses_fast(a, b, x, y);
          a = b;
        }
      }
    }
  } else {
    while (w < end) {
      const std::uint32_t e = *w++;
      const tagPOINT& a = pts[e & kPointMask];
      const tagPOINT& b = (e & kCloseBit) != 0 ? pts[*w++] : pts[(e & kPointMask) + 1];
      parity ^= (e & kSlowBit) != 0 ? crosses_slow(a, b, x, y, rule) : crosses_fast(a, b, x, y);
    }
  }
  const std::uint32_t toggles = toggles_word & kCountMask;
  for (std::uint32_t k = 0; k < toggles; ++k) {
    parity ^= static_cast<std::uint32_t>(y >= to_i32(end[k]));
  }
  return parity;
}

}  // namespace kelvor::detail

#endif  // KELVOR_REGION_AREA_WORDS_H
