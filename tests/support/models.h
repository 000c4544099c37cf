// Independent models of the rules the library implements, one per rule,
// shared by the unit tests and the fuzz targets: wrapping 32-bit arithmetic,
// the even-odd rule with wrapping or exact crossings, the crossing list of a
// scan line (30 crossings from the open edges at most, then the closing edge
// from the vertex where the scan stopped) with its inside spans, and which
// edges can make a wrapping crossing go wrong.
#ifndef KELVOR_TESTS_SUPPORT_MODELS_H
#define KELVOR_TESTS_SUPPORT_MODELS_H

#include <kelvor/types.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

namespace model {

using I32 = std::int32_t;
using I64 = std::int64_t;
using U32 = std::uint32_t;
using U64 = std::uint64_t;
__extension__ typedef __int128 I128;
constexpr I32 kMin = std::numeric_limits<I32>::min();
constexpr I32 kMax = std::numeric_limits<I32>::max();

// Two's-complement low 32 bits, without implementation-defined conversions.
inline I32 low32(U64 v) {
  const U32 u = static_cast<U32>(v);
  return u <= 0x7FFFFFFFu ? static_cast<I32>(u) : static_cast<I32>(u - 0x80000000u) + kMin;
}
inline I32 wrap_add(I32 a, I32 b) { return low32(U64{static_cast<U32>(a)} + static_cast<U32>(b)); }
inline I32 wrap_sub(I32 a, I32 b) { return low32(U64{static_cast<U32>(a)} - static_cast<U32>(b)); }
inline I32 wrap_mul(I32 a, I32 b) { return low32(static_cast<U64>(I64{a} * b)); }
inline I32 wrap_neg(I32 a) { return low32(0u - U64{static_cast<U32>(a)}); }
inline bool same(const tagPOINT& a, const tagPOINT& b) { return a.x == b.x && a.y == b.y; }

// Rows read y across the line and x along it; columns the other way.
inline I32 across(const tagPOINT& p, bool row) { return row ? p.y : p.x; }
inline I32 along(const tagPOINT& p, bool row) { return row ? p.x : p.y; }

inline bool straddles(const tagPOINT& a, const tagPOINT& b, I32 h, bool row) {
  const I32 ah = across(a, row), bh = across(b, row);
  return (ah <= h && h < bh) || (bh <= h && h < ah);
}

// a + (b - a) * (h - a) / (b - a) measured from the start point a, every step
// wrapping to 32 bits; the quotient is taken in 64 bits, so -2^31 / -1 wraps.
inline I32 wrapping_crossing(const tagPOINT& a, const tagPOINT& b, I32 h, bool row) {
  const I32 d_along = wrap_sub(along(b, row), along(a, row));
  const I32 num = wrap_mul(d_along, wrap_sub(h, across(a, row)));
  return wrap_add(along(a, row),
                  low32(static_cast<U64>(I64{num} / wrap_sub(across(b, row), across(a, row)))));
}
// The same crossing without overflow, truncated toward zero.
inline I128 exact_crossing(const tagPOINT& a, const tagPOINT& b, I32 h, bool row) {
  const I128 num = I128{I64{along(b, row)} - along(a, row)} * (I64{h} - across(a, row));
  return along(a, row) + num / (I64{across(b, row)} - across(a, row));
}

// The even-odd rule of (x, y) against the ring closed from its last point to
// its first, with wrapping or with exact crossings.
inline int even_odd(const tagPOINT* pts, I32 n, const tagPOINT& p, bool exact = false) {
  int count = 0;
  for (I32 i = 0; i < n; ++i) {
    const tagPOINT &a = pts[i], &b = pts[i + 1 == n ? 0 : i + 1];
    if (!straddles(a, b, p.y, true)) continue;
    count +=
        exact ? p.x < exact_crossing(a, b, p.y, true) : p.x < wrapping_crossing(a, b, p.y, true);
  }
  return count & 1;
}

// One ring of an area as the model reads it (GeoJSON order: each outer ring
// followed by its holes).
struct AreaRing {
  const tagPOINT* pts;
  I32 n;
  bool hole;
};

// An area holds p when some outer ring holds it and none of the holes that
// follow that outer ring (up to the next one) does, each ring by the even-odd
// rule alone; holes before the first outer ring count for nothing.
inline int area_contains(const std::vector<AreaRing>& rings, const tagPOINT& p,
                         bool exact = false) {
  bool have_outer = false, in_group = false;
  for (const AreaRing& r : rings) {
    const int in = r.n > 0 && r.pts != nullptr ? even_odd(r.pts, r.n, p, exact) : 0;
    if (!r.hole) {
      if (have_outer && in_group) return 1;
      have_outer = true;
      in_group = in != 0;
    } else if (have_outer && in != 0) {
      in_group = false;
    }
  }
  return have_outer && in_group ? 1 : 0;
}

// The sorted crossing list of the scan line h; `full` tells whether every
// open edge was scanned.
inline std::vector<I32> scan(const tagPOINT* pts, I32 n, I32 h, bool row, bool* full = nullptr) {
  std::vector<I32> list;
  if (full) *full = true;
  if (n <= 0) return list;
  I32 i = 0;
  for (; i + 1 < n; ++i) {
    if (list.size() == 30) {
      if (full) *full = false;
      break;
    }
    if (straddles(pts[i], pts[i + 1], h, row))
      list.push_back(wrapping_crossing(pts[i], pts[i + 1], h, row));
  }
  if (straddles(pts[i], pts[0], h, row)) list.push_back(wrapping_crossing(pts[i], pts[0], h, row));
  std::sort(list.begin(), list.end());
  return list;
}

// Index k of the first inside span (list[k], list[k+1]) that [from, to)
// meets, or -1.
inline int first_met(const std::vector<I32>& list, I32 from, I32 to) {
  for (std::size_t k = 0; k + 1 < list.size(); k += 2) {
    const I32 lo = list[k], hi = list[k + 1];
    if ((from > lo && from < hi) || (from <= lo && to > lo)) return static_cast<int>(k);
  }
  return -1;
}
// 1 when some inside span holds [from, to] with lo <= from and to < hi.
inline int span_contained(const std::vector<I32>& list, I32 from, I32 to) {
  for (std::size_t k = 0; k + 1 < list.size(); k += 2)
    if (list[k] <= from && to < list[k + 1]) return 1;
  return 0;
}

// An edge can wrap when a difference does not fit 32 bits, or a crossing's
// product |along extent| * |h - a| over the lines it straddles exceeds
// 2^31 - 1 (the farthest line is one short of b when b lies beyond a, and b
// itself otherwise). An axis-parallel edge never does: it straddles no line
// of one kind, and its crossings with the other are its own coordinate.
inline bool edge_can_wrap(const tagPOINT& a, const tagPOINT& b) {
  const I64 dx = I64{b.x} - a.x, dy = I64{b.y} - a.y;
  if (dx == 0 || dy == 0) return false;
  if (dx < kMin || dx > kMax || dy < kMin || dy > kMax) return true;
  auto product = [](I64 d_along, I64 d_across) {
    const U64 far = static_cast<U64>(d_across > 0 ? d_across - 1 : -d_across);
    return static_cast<U64>(d_along < 0 ? -d_along : d_along) * far;
  };
  return product(dx, dy) > 0x7FFFFFFFu || product(dy, dx) > 0x7FFFFFFFu;
}
inline bool can_wrap(const tagPOINT* pts, I32 n) {
  for (I32 i = 0; i < n; ++i)
    if (edge_can_wrap(pts[i], pts[i + 1 == n ? 0 : i + 1])) return true;
  return false;
}

}  // namespace model

#endif  // KELVOR_TESTS_SUPPORT_MODELS_H
