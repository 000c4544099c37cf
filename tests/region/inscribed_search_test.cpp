// GetMCR's search answered through the ring index against the same search
// asking KPGON::Contain for every corner, on rings of every kind.
#include "region/inscribed_search.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "kelvor/shapes.h"
#include "support/rings.h"

namespace {

namespace kd = kelvor::detail;

bool kpgon_contains(const void* context, std::int32_t x, std::int32_t y) {
  return static_cast<const KPGON*>(context)->Contain(tagPOINT{x, y}) != 0;
}

// The search without the index: KPGON::Contain for every corner.
KRECT without_index(rings::Ring r, std::int32_t step) {
  KRECT rc;
  const auto n = static_cast<std::int32_t>(r.size());
  if (n < 3) return rc;
  const KPGON g(n, r.data());
  std::vector<std::uint64_t> work(r.size() * kd::kScanBytesPerVertex / 8 + 1);
  const kd::SearchResult s =
      kd::search_inscribed_rect(n, r.data(), step, work.data(), kpgon_contains, &g);
  if (s.found) rc = KRECT(s.min, s.max);
  return rc;
}

TEST(InscribedSearch, IndexedCornerTestsGiveTheSameRectangles) {
  std::mt19937 rng(77u);
  int found = 0;
  for (int round = 0; round < 600; ++round) {
    const int n = 3 + static_cast<int>(rng() % 40);
    rings::Ring r;
    std::string kind;
    switch (round % 5) {
      case 0: r = rings::star(rng, n, 20, 300), kind = "star"; break;
      case 1: r = rings::random(rng, n, 200), kind = "self-crossing"; break;
      case 2: r = rings::with_horizontal_runs(rings::star(rng, n, 50, 500)), kind = "runs"; break;
      case 3:  // long edges: the wrapping product decides corners
        r = rings::star(rng, n, 40000, 90000), kind = "wrapping star";
        break;
      default:
        r = rings::offset(rings::star(rng, n, 10, 200), INT32_MAX - 300, INT32_MIN + 300);
        kind = "near the range ends";
    }
    if (round % 7 == 0) r = rings::closed(r);
    const std::int32_t step = round % 3 == 2 ? 1 + static_cast<std::int32_t>(rng() % 1500)
                                             : static_cast<std::int32_t>(rng() % 4) - 1;
    const KRECT want = without_index(r, step);
    KRECT got;
    GetMCR(got, static_cast<std::int32_t>(r.size()), r.data(), step);
    ASSERT_EQ(got == want, 1) << kind << " round " << round << ": (" << got.ptMin.x << ","
                              << got.ptMin.y << ")-(" << got.ptMax.x << "," << got.ptMax.y
                              << ") instead of (" << want.ptMin.x << "," << want.ptMin.y << ")-("
                              << want.ptMax.x << "," << want.ptMax.y << ")";
    found += want.IsEmpty() == 0;
  }
  EXPECT_GT(found, 300) << "most rings have an inscribed rectangle";
}

}  // namespace
