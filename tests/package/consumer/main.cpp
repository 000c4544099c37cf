// A minimal client of the installed library.
#include <kelvor/kelvor.h>

#include <cstdio>

int main() {
  const tagPOINT a{0, 0}, b{10, 10}, c{0, 10}, d{10, 0};
  tagPOINT x{};
  const bool ok = Segment_Segment_Intersect(&a, &b, &c, &d, &x) == 1 && x.x == 5 && x.y == 5 &&
                  KMF_MulFix(3 * 65536, 65536 / 2) == 98304 && g_sqrt_table[4] == 4096 &&
                  SegmentLength(0.0, 0.0, 0.0, 0.0) == 0.0;
  std::printf(ok ? "consumer ok\n" : "consumer FAILED\n");
  return ok ? 0 : 1;
}
