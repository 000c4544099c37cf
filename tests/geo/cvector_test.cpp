// The internal two-component vector of the projection.
#include <gtest/gtest.h>

#include "geo/cvector.h"

namespace {

using kelvor::detail::CVector;

TEST(CVector, DifferenceDotScaleAndAdd) {
  using Vec2 = CVector<double, 2>;
  Vec2 d = Vec2::Difference(Vec2(4, 7), Vec2(1, 3));  // to minus from
  EXPECT_TRUE(d[0] == 3 && d[1] == 4 && d.SumOfSquares() == 25 && d.Dot(Vec2(2, -1)) == 2);
  d *= 0.5;
  d += Vec2(10, 20);
  EXPECT_TRUE(d[0] == 11.5 && d[1] == 22);
  // Dot adds from zero in index order: (1e16 - 1e16) + 1 is 1, 1e16 + 1 would lose the 1.
  CVector<double, 3> a, ones;
  a[0] = 1e16, a[1] = -1e16, a[2] = 1;
  ones[0] = ones[1] = ones[2] = 1;
  EXPECT_EQ(a.Dot(ones), 1.0);
}

}  // namespace
