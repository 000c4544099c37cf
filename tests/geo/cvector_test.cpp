#include <gtest/gtest.h>

#include "geo/cvector.h"

namespace {

TEST(CVector, DifferenceAndDotOrder) {
  using V2 = kelvor::detail::CVector<double, 2>;
  V2 d = V2::Difference(V2(4, 7), V2(1, 3));  // to minus from
  EXPECT_TRUE(d[0] == 3 && d[1] == 4 && d.SumOfSquares() == 25 && d.Dot(V2(2, -1)) == 2);
  // Dot adds from zero in index order: (1e16 - 1e16) + 1 is 1, 1e16 + 1 would lose the 1.
  kelvor::detail::CVector<double, 3> a, ones;
  a[0] = 1e16, a[1] = -1e16, a[2] = 1, ones[0] = ones[1] = ones[2] = 1;
  EXPECT_EQ(a.Dot(ones), 1.0);
}

}  // namespace
