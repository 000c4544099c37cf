// Halvek scan conversion: an active-edge table kept in the caller's work
// array, partitioned as [retired | active | pending]. Pending records are
// sorted by their first line, so a new line activates them by moving one
// boundary; retired ones are swapped out in front of the active block.
#include "halvek.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr std::int32_t kColumns = 1;  // scanning columns (lines x = h)
constexpr std::int32_t kStarted = 2;  // a line has been produced
constexpr std::int32_t kDone = 4;     // nothing left to produce

// A scan line's own coordinate is read "across" the lines (y for rows, x
// for columns); a crossing's coordinate runs "along" the line.
std::int32_t across(const halvek_point& p, bool columns) { return columns ? p.x : p.y; }
std::int32_t along(const halvek_point& p, bool columns) { return columns ? p.y : p.x; }

std::uint64_t magnitude(std::int64_t v) {
  return v < 0 ? 0u - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
}

// Crossing of edge a-b with line h, measured from a and truncated toward
// zero. The product of two magnitudes below 2^32 fits an unsigned 64-bit
// value, and the quotient never exceeds |b' - a'|, so the result lies
// between a' and b'.
std::int32_t crossing(const halvek_point& a, const halvek_point& b, std::int32_t h, bool columns) {
  const std::int64_t d_along = static_cast<std::int64_t>(along(b, columns)) - along(a, columns);
  const std::int64_t d_across = static_cast<std::int64_t>(across(b, columns)) - across(a, columns);
  const std::int64_t t = static_cast<std::int64_t>(h) - across(a, columns);
  const std::uint64_t product = magnitude(d_along) * magnitude(t);
  const std::uint64_t divisor = magnitude(d_across);
  // Most edges are short: a 32-bit division is several times cheaper.
  const std::uint64_t q =
      (product | divisor) <= 0xFFFFFFFFu
          ? static_cast<std::uint32_t>(product) / static_cast<std::uint32_t>(divisor)
          : product / divisor;
  const bool negative = ((d_along < 0) != (t < 0)) != (d_across < 0);
  const std::int64_t offset =
      negative ? -static_cast<std::int64_t>(q) : static_cast<std::int64_t>(q);
  return static_cast<std::int32_t>(along(a, columns) + offset);
}

void sort_by_crossing(_crossing_* r, std::int32_t lo, std::int32_t hi) {
  // Insertion sort: the order barely changes from one line to the next.
  for (std::int32_t i = lo + 1; i < hi; ++i) {
    const _crossing_ v = r[i];
    std::int32_t j = i;
    while (j > lo && r[j - 1].at > v.at) {
      r[j] = r[j - 1];
      --j;
    }
    r[j] = v;
  }
}

}  // namespace

extern "C" void init_scan(const halvek_point* pts, std::int32_t n, _scanner_* state,
                          std::int32_t lo, std::int32_t hi, std::int32_t /*mode*/, char direction) {
  if (state == nullptr) return;
  const bool columns = direction != 0;
  state->active = 0;
  state->count = 0;
  state->pending = 0;
  state->total = 0;
  state->line = 0;
  state->end = 0;
  state->points = pts;
  state->flags = (columns ? kColumns : 0) | kDone;
  if (pts == nullptr || n < 2 || lo > hi || state->work == nullptr) return;

  _crossing_* work = state->work;
  std::int32_t m = 0;
  std::int32_t first_line = hi;
  std::int32_t last_line = lo;
  for (std::int32_t i = 0; i < n; ++i) {
    const std::int32_t j = (i == n - 1) ? 0 : i + 1;
    const std::int32_t a = across(pts[i], columns);
    const std::int32_t b = across(pts[j], columns);
    if (a == b) continue;  // parallel to the lines: never crosses one
    const std::int32_t first = std::min(a, b);
    const std::int32_t last = std::max(a, b) - 1;  // the higher end is excluded
    if (last < lo || first > hi) continue;
    if (m >= state->capacity) return;  // would overrun the caller's array
    work[m] = _crossing_{first, last, 0, i, j, b > a ? 1 : -1};
    ++m;
    first_line = std::min(first_line, first);
    last_line = std::max(last_line, last);
  }
  if (m == 0) return;
  std::sort(work, work + m,
            [](const _crossing_& l, const _crossing_& r) { return l.first < r.first; });
  state->total = m;
  state->line = std::max(lo, first_line);
  state->end = std::min(hi, last_line);
  state->flags &= ~kDone;
}

extern "C" std::int32_t edge_scan(_scanner_* state) {
  if (state == nullptr) return 1;
  if ((state->flags & kDone) != 0) {
    state->count = 0;
    return 1;
  }
  _crossing_* work = state->work;
  // 64-bit so that stepping past a last line of INT32_MAX cannot overflow.
  std::int64_t h = state->line;
  if ((state->flags & kStarted) != 0) ++h;
  for (;;) {
    if (h > state->end) {
      state->flags |= kDone;
      state->count = 0;
      return 1;
    }
    while (state->pending < state->total && work[state->pending].first <= h) ++state->pending;
    for (std::int32_t i = state->active; i < state->pending; ++i) {
      if (work[i].last < h) std::swap(work[i], work[state->active++]);
    }
    if (state->active < state->pending) break;
    if (state->pending == state->total) {
      state->flags |= kDone;
      state->count = 0;
      return 1;
    }
    h = work[state->pending].first;  // skip lines that no edge crosses
  }
  const auto line = static_cast<std::int32_t>(h);
  const bool columns = (state->flags & kColumns) != 0;
  for (std::int32_t i = state->active; i < state->pending; ++i) {
    work[i].at = crossing(state->points[work[i].from], state->points[work[i].to], line, columns);
  }
  sort_by_crossing(work, state->active, state->pending);
  state->line = line;
  state->count = state->pending - state->active;
  state->flags |= kStarted;
  return 0;
}
