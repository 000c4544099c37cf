// Allocation failure. GetMCR takes its work array from malloc: this program
// interposes malloc (libkelvor.so's calls resolve to the executable's
// definition) with a switch that fails the next N calls, and checks the
// defined answer, the canonical empty rectangle. The bulk builders allocate
// with operator new: a replacement counts live blocks and fails the k-th
// allocation from a given point, for every k until the call completes, and
// checks std::bad_alloc (InscribedRect: the empty rectangle; a large batch
// Locate: the same answers) with every successful allocation freed. Under
// ASan or TSan, whose runtimes own malloc, the malloc cases are skipped; the
// operator new cases still run.
#include <gtest/gtest.h>
#include <kelvor/kelvor.h>
#include <kelvor/prepared.h>

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "support/rings.h"

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define KELVOR_TEST_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define KELVOR_TEST_SANITIZED 1
#endif
#endif
// malloc is interposed through glibc's own entry point; elsewhere (Windows,
// WebAssembly) the malloc cases are skipped like under a sanitizer.
#if !defined(__GLIBC__) && !defined(KELVOR_TEST_SANITIZED)
#define KELVOR_TEST_SANITIZED 1
#define KELVOR_TEST_NO_INTERPOSITION 1
#endif

namespace {

[[maybe_unused]] std::atomic<long> g_malloc_calls{0};
[[maybe_unused]] std::atomic<long> g_malloc_fail_next{0};

// operator new bookkeeping: blocks handed out and not yet deleted, calls
// since the last arming, and the call number that fails (-1: none).
std::atomic<long> g_live{0};
std::atomic<long> g_new_calls{0};
std::atomic<long> g_new_fail_at{-1};

void* counted_new(std::size_t size) {
  const long call = g_new_calls.fetch_add(1);
  if (call == g_new_fail_at.load()) return nullptr;
  void* p = std::malloc(size == 0 ? 1 : size);
  if (p != nullptr) g_live.fetch_add(1);
  return p;
}
// Out of line, so the compiler sees no new-expression paired with free.
[[gnu::noinline]] void counted_delete(void* p) {
  if (p == nullptr) return;
  g_live.fetch_sub(1);
  std::free(p);
}

}  // namespace

#ifndef KELVOR_TEST_SANITIZED
extern "C" void* __libc_malloc(std::size_t size);
extern "C" void* malloc(std::size_t size) {
  g_malloc_calls.fetch_add(1);
  long pending = g_malloc_fail_next.load();
  while (pending > 0) {
    if (g_malloc_fail_next.compare_exchange_weak(pending, pending - 1)) {
      errno = ENOMEM;
      return nullptr;
    }
  }
  return __libc_malloc(size);
}
#endif

void* operator new(std::size_t size) {
  if (void* p = counted_new(size)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
  if (void* p = counted_new(size)) return p;
  throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return counted_new(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return counted_new(size); }
void operator delete(void* p) noexcept { counted_delete(p); }
void operator delete[](void* p) noexcept { counted_delete(p); }
void operator delete(void* p, std::size_t) noexcept { counted_delete(p); }
void operator delete[](void* p, std::size_t) noexcept { counted_delete(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { counted_delete(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { counted_delete(p); }

namespace {

using Ring = std::vector<tagPOINT>;
using Q = std::vector<std::int32_t>;
[[maybe_unused]] Q q(const KRECT& r) { return {r.ptMin.x, r.ptMin.y, r.ptMax.x, r.ptMax.y}; }
const Q kEmpty{1, 1, 0, 0};
// Allocation-free, for use while operator new is set to fail.
bool canonical_empty(const KRECT& r) {
  return r.ptMin.x == 1 && r.ptMin.y == 1 && r.ptMax.x == 0 && r.ptMax.y == 0;
}

// A comb: enough rows, columns and edges for the scans and the grid index.
Ring comb() {
  Ring r{{0, 0}, {60, 0}};
  for (int t = 5; t >= 0; --t) r.insert(r.end(), {{10 * t + 8, 30}, {10 * t + 2, 30}, {10 * t, 1}});
  return r;
}
// One long-edged ring, so the densifier and the exact rule have work.
const Ring kLong{{-2000000000, -1900000000}, {2100000000, -50000}, {30000, 2000000000}};

#ifndef KELVOR_TEST_SANITIZED
KRECT mcr_failing_malloc(const Ring& r, long failures, long* calls) {
  KRECT rc(5, 5, 6, 6);
  const long before = g_malloc_calls.load();
  g_malloc_fail_next = failures;
  GetMCR(rc, static_cast<std::int32_t>(r.size()), r.data(), 1);
  g_malloc_fail_next = 0;
  *calls = g_malloc_calls.load() - before;
  return rc;
}
#endif

TEST(GetMcrAllocation, FailedWorkArrayGivesTheCanonicalEmptyRectangle) {
#ifdef KELVOR_TEST_SANITIZED
#ifdef KELVOR_TEST_NO_INTERPOSITION
  GTEST_SKIP() << "malloc is interposed through glibc only";
#else
  GTEST_SKIP() << "the sanitizer runtime owns malloc; interposing it would conflict";
#endif
#else
  const Ring ring = comb();
  long calls = 0;
  const Q normal = q(mcr_failing_malloc(ring, 0, &calls));
  ASSERT_NE(normal, kEmpty) << "the ring must have an inscribed rectangle";
  ASSERT_GE(calls, 1) << "GetMCR's allocation did not reach the interposed malloc";
  // Every allocation failing: the work array cannot be had.
  EXPECT_EQ(q(mcr_failing_malloc(ring, 1000, &calls)), kEmpty);
  EXPECT_GE(calls, 1);
  // Only the first failing: a call that can retry with a smaller block may
  // still answer, but only the right answer or the empty one.
  for (long failures : {1L, 2L}) {
    const Q got = q(mcr_failing_malloc(ring, failures, &calls));
    EXPECT_TRUE(got == kEmpty || got == normal) << failures << " failures";
  }
  EXPECT_EQ(q(mcr_failing_malloc(ring, 0, &calls)), normal) << "after the failures";
  // InscribedRect under the same failure: the empty rectangle too.
  for (kelvor::Rule rule : {kelvor::Rule::Compatible, kelvor::Rule::Exact}) {
    g_malloc_fail_next = 1000;
    const KRECT bulk =
        kelvor::InscribedRect(ring.data(), static_cast<std::int32_t>(ring.size()), 1, rule);
    g_malloc_fail_next = 0;
    EXPECT_EQ(q(bulk), kEmpty) << (rule == kelvor::Rule::Exact ? "exact" : "compatible");
  }
#endif
}

// What a call may do when an allocation fails: a builder throws
// std::bad_alloc or (where it can do without the block) completes with a
// correct result; InscribedRect never throws and answers the empty rectangle
// or, where it can do without the block, the correct one; a query never
// throws and answers correctly. `call` answers
// kCorrect, kEmptyRect or kWrong; every_failure_point runs it with the k-th
// operator new failing, for k = 0, 1, 2, ... until a run completes without
// reaching the failure, and no run may leave a block allocated.
enum class Report { kThrowsBadAlloc, kNeverThrows };
enum class Result { kCorrect, kEmptyRect, kWrong };

void every_failure_point(const std::string& what, Report report,
                         const std::function<Result()>& call) {
  for (long k = 0; k < 100000; ++k) {
    const long live = g_live.load();
    g_new_calls = 0;
    g_new_fail_at = k;
    Result result = Result::kWrong;
    bool threw = false;
    try {
      result = call();
    } catch (const std::bad_alloc&) {
      threw = true;
    }
    const bool reached = g_new_calls.load() > k;
    g_new_fail_at = -1;
    EXPECT_EQ(g_live.load(), live) << what << ": leaked with allocation " << k << " failing";
    if (!reached) {
      EXPECT_FALSE(threw) << what << ": threw without a failure";
      EXPECT_EQ(result, Result::kCorrect) << what << ": wrong answer without a failure";
      if (report == Report::kThrowsBadAlloc) {
        EXPECT_GT(k, 0) << what << ": allocates nothing";
      }
      return;
    }
    if (report == Report::kThrowsBadAlloc) {
      EXPECT_TRUE(threw || result == Result::kCorrect)
          << what << ": allocation " << k << " failing gave neither std::bad_alloc nor a result";
    } else {
      EXPECT_FALSE(threw) << what << ": allocation " << k << " failing escaped as an exception";
      EXPECT_NE(result, Result::kWrong) << what << ": allocation " << k << " failing, wrong answer";
    }
  }
  ADD_FAILURE() << what << ": still allocating after 100000 allocations";
}

Result judge(bool correct) { return correct ? Result::kCorrect : Result::kWrong; }

TEST(BulkBuilderAllocation, EveryFailurePointIsReportedAndLeaksNothing) {
#if defined(_WIN32) && !defined(KELVOR_STATIC)
  GTEST_SKIP() << "a DLL allocates with its own operator new, which a program cannot replace";
#endif
  const Ring ring = comb();
  const auto n = static_cast<std::int32_t>(ring.size());
  const tagPOINT probes[] = {{5, 5}, {1, 1}, {15, 20}, {0, 0}, {30, 1}, {-1, 5}};
  const std::size_t probe_count = sizeof probes / sizeof probes[0];
  for (kelvor::Rule rule : {kelvor::Rule::Compatible, kelvor::Rule::Exact}) {
    const std::string name = rule == kelvor::Rule::Exact ? " (exact)" : " (compatible)";
    const Report throws = Report::kThrowsBadAlloc;
    // The answers with allocation working, fixed before any failure.
    const kelvor::PreparedPolygon ref_ring(ring.data(), n, rule), ref_long(kLong.data(), 3, rule);
    const kelvor::Zone zones[] = {{ring.data(), n, 3}, {kLong.data(), 3, 1}, {nullptr, 0, 2}};
    const kelvor::ZoneIndex ref_index(zones, 3, rule);
    // A comb with a hole, the long-edged ring as a second part, an empty ring.
    const Ring hole{{1, 1}, {20, 1}, {20, 20}, {1, 20}};
    const kelvor::Ring parts[] = {{ring.data(), n, false},
                                  {hole.data(), 4, true},
                                  {kLong.data(), 3, false},
                                  {nullptr, 0, true}};
    const kelvor::PreparedPolygon ref_area(parts, 4, rule);
    const kelvor::Area areas[] = {{parts, 4, 2}, {parts + 2, 1, 1}, {nullptr, 3, 0}};
    const kelvor::ZoneIndex ref_areas(areas, 3, rule);
    std::int32_t want_ring[8], want_long[8], want_zone[8], want_area[8], want_areas[8];
    for (std::size_t i = 0; i < probe_count; ++i) {
      want_ring[i] = ref_ring.Contain(probes[i]);
      want_long[i] = ref_long.Contain(probes[i]);
      want_zone[i] = ref_index.Locate(probes[i]);
      want_area[i] = ref_area.Contain(probes[i]);
      want_areas[i] = ref_areas.Locate(probes[i]);
    }
    auto same_answers = [&](auto&& answer, const std::int32_t* want) {
      for (std::size_t i = 0; i < probe_count; ++i)
        if (answer(probes[i]) != want[i]) return false;
      return true;
    };
    every_failure_point("PreparedPolygon" + name, throws, [&] {
      const kelvor::PreparedPolygon p(ring.data(), n, rule);
      return judge(same_answers([&](const tagPOINT& x) { return p.Contain(x); }, want_ring));
    });
    every_failure_point("PreparedPolygon copy" + name, throws, [&] {
      const kelvor::PreparedPolygon p(kLong.data(), 3, rule);
      const kelvor::PreparedPolygon copy(p);
      return judge(same_answers([&](const tagPOINT& x) { return copy.Contain(x); }, want_long));
    });
    every_failure_point("ZoneIndex" + name, throws, [&] {
      const kelvor::ZoneIndex index(zones, 3, rule);
      return judge(same_answers([&](const tagPOINT& x) { return index.Locate(x); }, want_zone));
    });
    every_failure_point("PreparedPolygon of rings" + name, throws, [&] {
      const kelvor::PreparedPolygon p(parts, 4, rule);
      const kelvor::PreparedPolygon copy(p);
      return judge(same_answers([&](const tagPOINT& x) { return copy.Contain(x); }, want_area));
    });
    every_failure_point("ZoneIndex of areas" + name, throws, [&] {
      const kelvor::ZoneIndex index(areas, 3, rule);
      const kelvor::ZoneIndex copy(index);
      return judge(same_answers([&](const tagPOINT& x) { return copy.Locate(x); }, want_areas));
    });
    const KRECT want_rect = kelvor::InscribedRect(ring.data(), n, 1, rule);
    every_failure_point("InscribedRect" + name, Report::kNeverThrows, [&] {
      const KRECT r = kelvor::InscribedRect(ring.data(), n, 1, rule);
      return canonical_empty(r) ? Result::kEmptyRect : judge(r == want_rect);
    });
  }
  const std::size_t dense = kelvor::DensifyRing(kLong.data(), 3).size();
  every_failure_point("DensifyRing", Report::kThrowsBadAlloc,
                      [&] { return judge(kelvor::DensifyRing(kLong.data(), 3).size() == dense); });
}

// A batch over an index too large for the caches borrows working memory to
// answer its points in the grid's order; without it, it answers in the
// order given.
TEST(BatchLocateAllocation, FailedWorkingMemoryGivesTheSameAnswers) {
#if defined(_WIN32) && !defined(KELVOR_STATIC)
  GTEST_SKIP() << "a DLL allocates with its own operator new, which a program cannot replace";
#endif
  std::mt19937 rng(5);
  std::vector<Ring> stars;
  std::vector<kelvor::Zone> zones;
  for (int z = 0; z < 8; ++z) {
    stars.push_back(rings::offset(rings::star(rng, 8000, 200000, 1000000), z * 900000, 0));
  }
  for (int z = 0; z < 8; ++z) zones.push_back({stars[z].data(), rings::count(stars[z]), 8 - z});
  const kelvor::ZoneIndex index(zones.data(), zones.size(), kelvor::Rule::Exact);
  ASSERT_GT(index.memory_bytes(), std::size_t{4} << 20) << "large enough to borrow memory";
  std::vector<tagPOINT> points;
  std::uniform_int_distribution<std::int32_t> x(-1100000, 7400000), y(-1100000, 1100000);
  for (int i = 0; i < 20000; ++i) points.push_back({x(rng), y(rng)});
  std::vector<std::int32_t> want(points.size()), got(points.size());
  for (std::size_t i = 0; i < points.size(); ++i) want[i] = index.Locate(points[i]);
  g_new_calls = 0;
  index.Locate(points.data(), points.size(), got.data());
  ASSERT_GT(g_new_calls.load(), 0) << "the batch did not borrow memory: nothing tested here";
  every_failure_point("ZoneIndex::Locate of a batch", Report::kNeverThrows, [&] {
    std::fill(got.begin(), got.end(), -7);
    index.Locate(points.data(), points.size(), got.data());
    return judge(got == want);
  });
}

}  // namespace
