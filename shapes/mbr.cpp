// GetMBR: inclusive bounding rectangle of a point set.
#include "kelvor/shapes.h"

void GetMBR(KRECT& rc, std::int32_t n, const tagPOINT* p) {
  rc.ptMin = p[0];
  rc.ptMax = p[0];
  for (std::int32_t i = 1; i < n; ++i) {
    if (p[i].x < rc.ptMin.x) rc.ptMin.x = p[i].x;
    if (p[i].y < rc.ptMin.y) rc.ptMin.y = p[i].y;
    if (p[i].x > rc.ptMax.x) rc.ptMax.x = p[i].x;
    if (p[i].y > rc.ptMax.y) rc.ptMax.y = p[i].y;
  }
}
