// GetMCR: an axis-aligned rectangle grown inside a polygon from a seed found
// by two scan-conversion passes (widest row span, then the tallest column
// span across it).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>

#include "halvek/halvek.h"
#include "kelvor/shapes.h"
#include "shapes/mcr_search.h"

namespace {

constexpr std::int64_t kI32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kI32Max = std::numeric_limits<std::int32_t>::max();

std::int32_t clamp32(std::int64_t v) {
  return static_cast<std::int32_t>(v < kI32Min ? kI32Min : (v > kI32Max ? kI32Max : v));
}

// A corner pushed beyond the 32-bit range cannot be inside any polygon.
struct Corners {
  kelvor::detail::InsideTest test;
  const void* context;
  bool operator()(std::int64_t x, std::int64_t y) const {
    if (x < kI32Min || x > kI32Max || y < kI32Min || y > kI32Max) return false;
    return test(context, static_cast<std::int32_t>(x), static_cast<std::int32_t>(y));
  }
};

// The point form of KPGON::Contain: half-open rcBound, then even-odd.
bool kpgon_contains(const void* context, std::int32_t x, std::int32_t y) {
  const tagPOINT c{x, y};
  return static_cast<const KPGON*>(context)->Contain(c) != 0;
}

// Widest pair span over the lines of one pass; the first strict maximum in
// scan order wins. Widths are 64-bit so a span wider than 2^31 - 1 counts.
struct BestSpan {
  std::int64_t length = 0;
  std::int32_t line = 0;
  std::int32_t lo = 0;
  std::int32_t hi = 0;
};

BestSpan widest_span(_scanner_& s) {
  BestSpan best;
  while (edge_scan(&s) == 0) {
    const std::int32_t k = s.count;
    const std::int32_t f = s.active;
    for (std::int32_t j = 0; j + 1 < k; j += 2) {
      const std::int32_t lo = s.work[f + j].at;
      const std::int32_t hi = s.work[f + j + 1].at;
      const std::int64_t length = static_cast<std::int64_t>(hi) - lo;
      if (length > best.length) best = BestSpan{length, s.line, lo, hi};
    }
  }
  return best;
}

}  // namespace

namespace kelvor::detail {

void search_inscribed_rect(KRECT& rc, std::int32_t n, const tagPOINT* p, std::int32_t step,
                           InsideTest test, const void* context) {
  const Corners inside{test, context};
  bool grow_min_x = true;
  bool grow_min_y = true;
  bool grow_max_x = true;
  bool grow_max_y = true;
  rc.Empty();
  // A ring of fewer than three points is empty: no seed could pass the test
  // below, so skip the scan (and its allocation) altogether.
  if (n < 3) return;
  if (step < 1) step = 1;

  const std::uint64_t bytes = static_cast<std::uint64_t>(n) * sizeof(_crossing_);
  if (bytes > static_cast<std::uint64_t>(std::numeric_limits<std::ptrdiff_t>::max())) return;
  auto* work = static_cast<_crossing_*>(std::malloc(static_cast<std::size_t>(bytes)));
  if (work == nullptr) return;

  _scanner_ s{};
  s.work = work;
  s.capacity = n;
  init_scan(p, n, &s, -2147483647, 2147483647, 0, 0);
  const BestSpan row = widest_span(s);
  if (row.length == 0) {
    std::free(work);
    return;
  }
  init_scan(p, n, &s, clamp32(static_cast<std::int64_t>(row.lo) - 1),
            clamp32(static_cast<std::int64_t>(row.hi) + 1), 0, 1);
  const BestSpan column = widest_span(s);
  std::free(work);
  if (column.length == 0) return;

  if (!inside(column.line, row.line)) return;
  rc.ptMin = tagPOINT{column.line, row.line};
  rc.ptMax = rc.ptMin;

  // One side at a time, each seeing the sides grown before it in the cycle;
  // only the two corners of each new edge are tested. A side whose corners
  // fail stops for good.
  std::int64_t x0 = rc.ptMin.x, y0 = rc.ptMin.y, x1 = rc.ptMax.x, y1 = rc.ptMax.y;
  while (grow_min_x || grow_min_y || grow_max_x || grow_max_y) {
    if (grow_min_x) {
      grow_min_x = inside(x0 - step, y0) && inside(x0 - step, y1);
      if (grow_min_x) x0 -= step;
    }
    if (grow_min_y) {
      grow_min_y = inside(x0, y0 - step) && inside(x1, y0 - step);
      if (grow_min_y) y0 -= step;
    }
    if (grow_max_x) {
      grow_max_x = inside(x1 + step, y1) && inside(x1 + step, y0);
      if (grow_max_x) x1 += step;
    }
    if (grow_max_y) {
      grow_max_y = inside(x1, y1 + step) && inside(x0, y1 + step);
      if (grow_max_y) y1 += step;
    }
  }
  // Every accepted corner passed the inside test, so all four fit 32 bits.
  rc.ptMin = tagPOINT{static_cast<std::int32_t>(x0), static_cast<std::int32_t>(y0)};
  rc.ptMax = tagPOINT{static_cast<std::int32_t>(x1), static_cast<std::int32_t>(y1)};
}

}  // namespace kelvor::detail

void GetMCR(KRECT& rc, std::int32_t n, const tagPOINT* p, std::int32_t step) {
  if (n < 3) {
    rc.Empty();
    return;
  }
  const KPGON g(n, const_cast<tagPOINT*>(p));  // borrowed, only read
  kelvor::detail::search_inscribed_rect(rc, n, p, step, kpgon_contains, &g);
}
