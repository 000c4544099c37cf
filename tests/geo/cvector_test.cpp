// The internal two-component vector of the projection.
#include <gtest/gtest.h>

#include <cmath>
#include <type_traits>

#include "geo/cvector.h"

namespace {

using Vec2 = kelvor::detail::CVector<double, 2>;

static_assert(std::has_virtual_destructor<Vec2>::value, "destructor is its one virtual member");
static_assert(std::is_polymorphic<Vec2>::value, "");

TEST(CVector, DifferenceDotAndSquares) {
  const Vec2 d = Vec2::Difference(Vec2(4, 7), Vec2(1, 3));  // to minus from
  EXPECT_EQ(d[0], 3);
  EXPECT_EQ(d[1], 4);
  EXPECT_EQ(d.SumOfSquares(), 25);
  EXPECT_EQ(d.Dot(Vec2(2, -1)), 2);
}

TEST(CVector, DotAccumulatesFromZeroInIndexOrder) {
  // Starting from +0.0, products of -0.0 leave +0.0.
  EXPECT_FALSE(std::signbit(Vec2(-1, -1).Dot(Vec2(0, 0))));
  // In three dimensions the order shows: (1e16 - 1e16) + 1 is 1, while
  // adding 1 to 1e16 first would lose it.
  kelvor::detail::CVector<double, 3> a, ones;
  a[0] = 1e16; a[1] = -1e16; a[2] = 1;
  ones[0] = ones[1] = ones[2] = 1;
  EXPECT_EQ(a.Dot(ones), 1.0);
}

TEST(CVector, ScaleThenAddInPlace) {
  Vec2 f(2, -4);
  f *= 0.5;
  f += Vec2(10, 20);
  EXPECT_EQ(f[0], 11);
  EXPECT_EQ(f[1], 18);
}

}  // namespace
