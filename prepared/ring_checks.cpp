// The wrap check of a ring and the densifier that makes a ring safe for the
// compatible rule.
#include <cstdint>
#include <vector>

#include "common/crossing.h"
#include "kelvor/prepared.h"

namespace kelvor {

namespace {

// Nearest integer to num / den (den > 0), halves away from zero.
std::int64_t round_div(std::int64_t num, std::int64_t den) {
  const std::int64_t twice = 2 * (num < 0 ? -num : num) + den;
  const std::int64_t q = twice / (2 * den);
  return num < 0 ? -q : q;
}

tagPOINT piece_point(const tagPOINT& a, std::int64_t dx, std::int64_t dy, std::int64_t k,
                     std::int64_t pieces) {
  return tagPOINT{static_cast<std::int32_t>(a.x + round_div(k * dx, pieces)),
                  static_cast<std::int32_t>(a.y + round_div(k * dy, pieces))};
}

// True when k pieces of extents mx and my are certainly safe: a piece's
// extent is at most floor(m / k) + 1 in each axis (the points are rounded),
// and a product of extents up to 2^31 - 1 cannot wrap.
bool pieces_fit(std::uint64_t mx, std::uint64_t my, std::uint64_t k) {
  return (mx / k + 1) * (my / k + 1) <= 0x7FFFFFFFu;
}

// Appends the inner points of a -> b split into the fewest equal pieces that
// pieces_fit guarantees; an edge that cannot wrap is kept whole.
void append_split(std::vector<tagPOINT>& out, const tagPOINT& a, const tagPOINT& b) {
  if (!detail::edge_can_wrap(a, b)) return;
  const std::int64_t dx = static_cast<std::int64_t>(b.x) - a.x;
  const std::int64_t dy = static_cast<std::int64_t>(b.y) - a.y;
  const std::uint64_t mx = static_cast<std::uint64_t>(dx < 0 ? -dx : dx);
  const std::uint64_t my = static_cast<std::uint64_t>(dy < 0 ? -dy : dy);
  // 2^20 pieces of a full-range edge fit; the fit is monotone in k.
  std::uint64_t lo = 2, hi = std::uint64_t{1} << 20;
  while (lo < hi) {
    const std::uint64_t mid = lo + (hi - lo) / 2;
    if (pieces_fit(mx, my, mid))
      hi = mid;
    else
      lo = mid + 1;
  }
  const auto pieces = static_cast<std::int64_t>(lo);
  for (std::int64_t k = 1; k < pieces; ++k) out.push_back(piece_point(a, dx, dy, k, pieces));
}

}  // namespace

bool RingCanWrap(const tagPOINT* points, std::int32_t count) {
  if (points == nullptr || count < 1) return false;
  for (std::int32_t i = 0; i < count; ++i) {
    const tagPOINT& a = points[i];
    const tagPOINT& b = points[i + 1 < count ? i + 1 : 0];
    if (detail::edge_can_wrap(a, b)) return true;
  }
  return false;
}

std::vector<tagPOINT> DensifyRing(const tagPOINT* points, std::int32_t count) {
  std::vector<tagPOINT> out;
  if (points == nullptr || count < 1) return out;
  out.reserve(static_cast<std::size_t>(count));
  for (std::int32_t i = 0; i + 1 < count; ++i) {
    out.push_back(points[i]);
    append_split(out, points[i], points[i + 1]);
  }
  out.push_back(points[count - 1]);
  append_split(out, points[count - 1], points[0]);  // the closing edge
  return out;
}

}  // namespace kelvor
