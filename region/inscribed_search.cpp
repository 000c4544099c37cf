// The inscribed-rectangle search: two scan-conversion passes pick a seed,
// then the rectangle grows one side at a time by step while the two new
// corners of the side pass the caller's inside test.
#include "region/inscribed_search.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <new>
#include <type_traits>
#include <vector>

#include "halvek.h"

namespace kelvor::detail {

namespace {

// The scanner declares its own vertex record; the ring is handed over as is.
static_assert(sizeof(_crossing_) == kScanBytesPerVertex && alignof(_crossing_) <= 8,
              "work space per vertex");
static_assert(sizeof(halvek_point) == sizeof(tagPOINT) &&
                  offsetof(halvek_point, x) == offsetof(tagPOINT, x) &&
                  offsetof(halvek_point, y) == offsetof(tagPOINT, y) &&
                  std::is_same<decltype(halvek_point::x), decltype(tagPOINT::x)>::value &&
                  std::is_same<decltype(halvek_point::y), decltype(tagPOINT::y)>::value,
              "the scanner's vertex record must match tagPOINT");

constexpr std::int64_t kI32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kI32Max = std::numeric_limits<std::int32_t>::max();

std::int32_t clamp32(std::int64_t v) {
  return static_cast<std::int32_t>(v < kI32Min ? kI32Min : (v > kI32Max ? kI32Max : v));
}

// A corner pushed beyond the 32-bit range cannot be inside any polygon.
struct Corners {
  InsideTest test;
  const void* context;
  bool operator()(std::int64_t x, std::int64_t y) const {
    if (x < kI32Min || x > kI32Max || y < kI32Min || y > kI32Max) return false;
    return test(context, static_cast<std::int32_t>(x), static_cast<std::int32_t>(y));
  }
};

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

// The seed: where the column of the tallest column span across the widest
// row span meets that row. found is false when a pass finds no span or the
// work array cannot be had.
struct Seed {
  bool found;
  std::int32_t x;
  std::int32_t y;
};

Seed find_seed(std::int32_t n, const tagPOINT* p, _crossing_* work) {
  const auto* ring = reinterpret_cast<const halvek_point*>(p);
  _scanner_ s{};
  s.work = work;
  s.capacity = n;
  init_scan(ring, n, &s, -2147483647, 2147483647, 0, 0);
  const BestSpan row = widest_span(s);
  BestSpan column;
  if (row.length > 0) {
    init_scan(ring, n, &s, clamp32(static_cast<std::int64_t>(row.lo) - 1),
              clamp32(static_cast<std::int64_t>(row.hi) + 1), 0, 1);
    column = widest_span(s);
  }
  if (column.length == 0) return {false, 0, 0};
  return {true, column.line, row.line};
}

}  // namespace

SearchResult search_inscribed_rect(std::int32_t n, const tagPOINT* p, std::int32_t step, void* work,
                                   InsideTest test, const void* context) {
  const SearchResult none{false, {1, 1}, {0, 0}};
  if (n < 3) return none;
  if (step < 1) step = 1;
  const Seed seed = find_seed(n, p, static_cast<_crossing_*>(work));
  const Corners inside{test, context};
  if (!seed.found || !inside(seed.x, seed.y)) return none;

  // One side at a time, each seeing the sides grown before it in the cycle;
  // only the two corners of each new edge are tested. A side whose corners
  // fail stops for good.
  bool grow_min_x = true, grow_min_y = true, grow_max_x = true, grow_max_y = true;
  std::int64_t x0 = seed.x, y0 = seed.y, x1 = seed.x, y1 = seed.y;
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
  return {true,
          {static_cast<std::int32_t>(x0), static_cast<std::int32_t>(y0)},
          {static_cast<std::int32_t>(x1), static_cast<std::int32_t>(y1)}};
}

namespace {

bool indexed_contains(const void* context, std::int32_t x, std::int32_t y) {
  return static_cast<const AreaIndex*>(context)->contain_bounded(x, y) != 0;
}

// Bytes of n work records, or 0 when they do not fit the address range.
std::size_t work_bytes(std::int32_t n) {
  const std::uint64_t bytes = static_cast<std::uint64_t>(n) * kScanBytesPerVertex;
  if (bytes > static_cast<std::uint64_t>(std::numeric_limits<std::ptrdiff_t>::max() / 2)) return 0;
  return static_cast<std::size_t>(bytes);
}

}  // namespace

SearchResult inscribed_rect(std::int32_t n, const tagPOINT* p, std::int32_t step, Rule rule,
                            InsideTest fallback, const void* context) {
  const SearchResult none{false, {1, 1}, {0, 0}};
  // A ring of fewer than three points is empty: no seed could pass the
  // inside test, so skip the scan (and its allocation) altogether.
  if (n < 3) return none;
  const std::size_t work = work_bytes(n);
  if (work == 0) return none;
  void* block = std::malloc(work);
  if (block == nullptr) return none;
  SearchResult r = none;
  bool indexed = false;
  try {
    const AreaIndex index(std::vector<tagPOINT>(p, p + n), {AreaRing{0, n, false, -1}}, rule);
    indexed = true;
    r = search_inscribed_rect(n, p, step, block, indexed_contains, &index);
  } catch (const std::bad_alloc&) {
    // The index could not be had: the caller's own test answers alike.
  }
  if (!indexed && fallback != nullptr)
    r = search_inscribed_rect(n, p, step, block, fallback, context);
  std::free(block);
  return r;
}

}  // namespace kelvor::detail
