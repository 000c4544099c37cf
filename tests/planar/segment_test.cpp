// Point, segment and rectangle meeting tests against exact / brute-force models.
#include <gtest/gtest.h>
#include <kelvor/planar.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <sstream>
#include <string>
#include <utility>

#include "support/answers.h"
#include "support/rings.h"

namespace {

using I64 = std::int64_t;
using rings::xy;

TEST(PointTests, SegmentClosedRectHalfOpen) {
  const tagPOINT a{0, 0}, b{10, 5}, on{4, 2}, off{5, 3}, beyond{20, 10};
  const tagPOINT max{10, 10}, above{4, 3};
  ExpectAnswers({
      {"segment holds its end point", Point_Segment_Intersect(&b, &a, &b), 1},
      {"segment holds an inner point, either direction", Point_Segment_Intersect(&on, &b, &a), 1},
      {"point off the line", Point_Segment_Intersect(&off, &a, &b), 0},
      {"on the line beyond the end", Point_Segment_Intersect(&beyond, &a, &b), 0},
      {"degenerate segment holds its point", Point_Segment_Intersect(&on, &on, &on), 1},
      {"degenerate segment holds nothing else", Point_Segment_Intersect(&off, &on, &on), 0},
      {"rect holds its min corner", Point_Rect_Intersect(&a, &a, &max), 1},
      {"equal points", Point_Point_Intersect(&on, &on), 1},
      {"points differing in y", Point_Point_Intersect(&on, &above), 0},
  });
}

int orient(const tagPOINT& a, const tagPOINT& b, const tagPOINT& c) {
  const I64 v = I64{b.x - a.x} * (c.y - a.y) - I64{b.y - a.y} * (c.x - a.x);
  return (v > 0) - (v < 0);
}

bool in_box(const tagPOINT& p, const tagPOINT& a, const tagPOINT& b, std::int32_t s) {
  return p.x >= std::min(a.x, b.x) - s && p.x <= std::max(a.x, b.x) + s &&
         p.y >= std::min(a.y, b.y) - s && p.y <= std::max(a.y, b.y) + s;
}

bool on_segment(const tagPOINT& p, const tagPOINT& a, const tagPOINT& b) {
  return orient(a, b, p) == 0 && in_box(p, a, b, 0);
}

TEST(SegmentSegment, AgreesWithExactModelAndTruncatesFromA) {
  std::mt19937 rng(99);
  std::uniform_int_distribution<std::int32_t> coord(-12, 12);
  int crossings = 0;
  for (int i = 0; i < 40000; ++i) {
    const tagPOINT a{coord(rng), coord(rng)}, b{coord(rng), coord(rng)};
    const tagPOINT c{coord(rng), coord(rng)}, d{coord(rng), coord(rng)};
    const auto where = [&] {
      std::ostringstream s;
      s << a << "-" << b << " against " << c << "-" << d;
      return s.str();
    };
    ASSERT_EQ(Point_Segment_Intersect(&c, &a, &b), on_segment(c, a, b) ? 1 : 0)
        << c << " on " << a << "-" << b;
    tagPOINT out{-99, -99};
    const int got = Segment_Segment_Intersect(&a, &b, &c, &d, &out);
    const bool boxes =
        std::min(a.x, b.x) < std::max(c.x, d.x) && std::min(a.y, b.y) < std::max(c.y, d.y) &&
        std::min(c.x, d.x) < std::max(a.x, b.x) && std::min(c.y, d.y) < std::max(a.y, b.y);
    const I64 den = I64{b.x - a.x} * (d.y - c.y) - I64{b.y - a.y} * (d.x - c.x);
    if (den != 0) {
      const bool exact =
          boxes && orient(a, b, c) * orient(a, b, d) <= 0 && orient(c, d, a) * orient(c, d, b) <= 0;
      ASSERT_EQ(got, exact ? 1 : 0) << where();
      ASSERT_EQ(Segment_Segment_Intersect(&c, &d, &a, &b, nullptr), got) << "reversed, " << where();
      const I64 t = I64{c.x - a.x} * (d.y - c.y) - I64{c.y - a.y} * (d.x - c.x);
      if (got) {
        ASSERT_EQ(xy(out), std::make_pair(static_cast<std::int32_t>(a.x + (b.x - a.x) * t / den),
                                          static_cast<std::int32_t>(a.y + (b.y - a.y) * t / den)))
            << "truncated from a, " << where();
      }
    } else {  // parallel: c, else d, when it lies on a-b
      const bool on_c = on_segment(c, a, b), on_d = on_segment(d, a, b);
      ASSERT_EQ(got, boxes && (on_c || on_d) ? 1 : 0) << "parallel, " << where();
      if (got) {
        ASSERT_EQ(xy(out), xy(on_c ? c : d)) << "parallel, " << where();
      }
    }
    if (got) {
      ++crossings;
      ASSERT_TRUE(in_box(out, a, b, 0)) << out << ", " << where();
      ASSERT_TRUE(in_box(out, c, d, 1)) << out << ", " << where();
    } else {
      ASSERT_EQ(xy(out), std::make_pair(-99, -99)) << "rejected but written, " << where();
    }
  }
  EXPECT_GT(crossings, 1000);
}

TEST(RectRect, MeetExactlyWhenSomeGridCellLiesInBoth) {
  std::mt19937 rng(11);
  std::uniform_int_distribution<std::int32_t> coord(0, 7), ext(0, 4);
  auto in = [](std::int32_t x, std::int32_t y, const tagPOINT& lo, const tagPOINT& hi) {
    return lo.x <= x && x < hi.x && lo.y <= y && y < hi.y;
  };
  for (int i = 0; i < 5000; ++i) {
    tagPOINT r[4];
    for (int k = 0; k < 4; k += 2) {  // non-empty, often sharing only an edge or a corner
      r[k] = {coord(rng), coord(rng)};
      r[k + 1] = {r[k].x + 1 + ext(rng), r[k].y + 1 + ext(rng)};
    }
    bool shared = false;
    for (std::int32_t x = 0; x <= 12; ++x)
      for (std::int32_t y = 0; y <= 12; ++y)
        shared = shared || (in(x, y, r[0], r[1]) && in(x, y, r[2], r[3]));
    ASSERT_EQ(Rect_Rect_Intersect(&r[0], &r[1], &r[2], &r[3]), shared ? 1 : 0)
        << r[0] << "-" << r[1] << " and " << r[2] << "-" << r[3];
    ASSERT_EQ(Rect_Rect_Intersect(&r[2], &r[3], &r[0], &r[1]), shared ? 1 : 0)
        << "reversed, " << r[0] << "-" << r[1] << " and " << r[2] << "-" << r[3];
  }
}

TEST(SegmentRect, BracketedByHalfOpenSamplesAndClosedRectangle) {
  std::mt19937 rng(2024);
  std::uniform_int_distribution<std::int32_t> coord(-6, 16), corner(0, 8), ext(0, 4);
  int hits = 0;
  for (int i = 0; i < 20000; ++i) {
    const tagPOINT min{corner(rng), corner(rng)}, max{min.x + ext(rng), min.y + ext(rng)};
    const tagPOINT p{coord(rng), coord(rng)}, q{coord(rng), coord(rng)};
    const int got = Segment_Rect_Intersect(&p, &q, &min, &max);
    // Samples <= 0.5 apart: one lands within 0.25 of any touch of the closed rectangle.
    bool inside = false, near = false;
    for (int k = 0; k <= 64; ++k) {
      const double x = p.x + (q.x - p.x) * (k / 64.0), y = p.y + (q.y - p.y) * (k / 64.0);
      inside = inside || (min.x <= x && x < max.x && min.y <= y && y < max.y);
      near = near || (min.x - .5 <= x && x <= max.x + .5 && min.y - .5 <= y && y <= max.y + .5);
    }
    // An endpoint on an excluded max line counts as beyond it: only that side's edge is tried.
    const bool on_max_line = p.x == max.x || p.y == max.y || q.x == max.x || q.y == max.y;
    if (inside && !on_max_line) {
      ASSERT_EQ(got, 1) << "passes through, " << p << "-" << q << " in " << min << "-" << max;
    }
    if (!near) {
      ASSERT_EQ(got, 0) << "stays clear, " << p << "-" << q << " in " << min << "-" << max;
    }
    hits += got;
  }
  EXPECT_GT(hits, 1000);
}

}  // namespace
