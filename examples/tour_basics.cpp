// Tour section: distances, boxes and scales on a short drive, a few 16.16
// results, and two road segments crossing on a local metre grid. The drive
// and the roads are drawn in two panels.
#include <kelvor/kelvor.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tour.h"

namespace {

struct City {
  const char* name;
  tagLonLat where;
};

// A drive across the Netherlands, city centres in degrees (lon, lat).
const City kDrive[] = {
    {"Amsterdam", {4.8952, 52.3702}},
    {"Utrecht", {5.1214, 52.0907}},
    {"Arnhem", {5.8987, 51.9851}},
    {"Nijmegen", {5.8528, 51.8126}},
};
constexpr int kStops = sizeof(kDrive) / sizeof(kDrive[0]);

double fix_to_double(std::int32_t v) { return v / 65536.0; }

Pt At(const tagLonLat& p) { return {p.lon, p.lat}; }
Pt At(const tagPOINT& p) { return {static_cast<double>(p.x), static_cast<double>(p.y)}; }

}  // namespace

void tour_basics(Panel& drive, Panel& roads) {
  std::printf("\n-- A drive: distances, boxes, scales --\n");
  tagLonLat route[kStops];
  for (int i = 0; i < kStops; ++i) route[i] = kDrive[i].where;
  for (int i = 0; i + 1 < kStops; ++i) {
    std::printf("  %-9s -> %-9s %8.1f m\n", kDrive[i].name, kDrive[i + 1].name,
                SegmentLength(route[i], route[i + 1]));
  }
  std::printf("  route length            %8.1f m\n", LineLength(kStops, route));

  // The same leg in integer 1/100000-degree units agrees to the decimetre.
  const _Bin_LonLat ams{489520, 5237020}, utr{512140, 5209070};
  std::printf("  Amsterdam -> Utrecht in integer units: %.1f m\n", SegmentLength(ams, utr));

  // A 40 km box (20 km half-side) around Utrecht: which stops fall inside?
  tagLonLat lower{}, upper{};
  GetRectCenterPt(kDrive[1].where, 20000.0, lower, upper);
  std::printf("  40 km box around Utrecht: lon %.5f..%.5f, lat %.5f..%.5f\n", lower.lon, upper.lon,
              lower.lat, upper.lat);
  drive.Box(At(lower), At(upper), "view");
  drive.Path(std::vector<Pt>{At(route[0]), At(route[1]), At(route[2]), At(route[3])}, "route");
  for (int i = 0; i < kStops; ++i) {
    const bool inside = IsPtsInRect(&route[i], 1, lower, upper) != 0;
    std::printf("    %-9s %s\n", kDrive[i].name, inside ? "inside" : "outside");
    drive.Dot(At(route[i]), inside ? "stop inside" : "stop outside", 4.5);
    drive.Label(At(route[i]), kDrive[i].name, "label");
  }
  drive.Legend("view", "40 km box around Utrecht");
  drive.Legend("stop inside", "inside");
  drive.Legend("stop outside", "outside");
  std::printf("  whole route inside? %s\n",
              IsPtsInRect(route, kStops, lower, upper) ? "yes" : "no");

  double m_lon = 0, m_lat = 0, d_lon = 0, d_lat = 0;
  GetUnitLength(kDrive[1].where, m_lon, m_lat);
  GetUnitDegree(kDrive[1].where, d_lon, d_lat);
  std::printf(
      "  at Utrecht: 1 deg lon = %.2f m, 1 deg lat = %.2f m; 1 m = %.3e deg lon, %.3e deg lat\n",
      m_lon, m_lat, d_lon, d_lat);

  std::printf("\n-- 16.16 fixed point --\n");
  const std::int32_t speed = 13 * 65536 + 32768;  // 13.5 m/s
  const std::int32_t secs = 40 * 65536;
  std::printf("  13.5 m/s * 40 s        = %.4f m\n", fix_to_double(KMF_MulFix(speed, secs)));
  std::printf("  1.0 / 3.0              = %.6f (raw %d)\n",
              fix_to_double(KMF_DivFix(65536, 3 * 65536)), KMF_DivFix(65536, 3 * 65536));
  std::printf("  sqrt(2.0)              = %.6f\n", fix_to_double(KMF_SqrtFixed(2 * 65536)));
  std::printf("  round(-2.5), floor(-1.25), ceil(1.25) = %.1f, %.1f, %.1f\n",
              fix_to_double(KMF_RoundFix(-163840)), fix_to_double(KMF_FloorFix(-81920)),
              fix_to_double(KMF_CeilFix(81920)));
  std::printf("  300.0 * 300.0 wraps to = %d\n", KMF_MulFix(300 * 65536, 300 * 65536));
  std::printf("  5.0 / 0                = 0x%X (saturated)\n",
              static_cast<unsigned>(KMF_DivFix(5 * 65536, 0)));

  std::printf("\n-- Two roads on a metre grid --\n");
  const tagPOINT a{0, 0}, b{1200, 900};     // a ring road leg
  const tagPOINT c{100, 800}, d{1000, 50};  // a radial street
  tagPOINT x{};
  const tagPOINT view_min{500, 300}, view_max{900, 700};
  roads.Box(At(view_min), At(view_max), "view");
  roads.Segment(At(a), At(b), "road");
  roads.Segment(At(c), At(d), "road");
  roads.Label(At(b), "ring road", "label", -6, -14, Panel::Anchor::kEnd);
  roads.Label(At(c), "radial street", "label", 6, 6);
  if (Segment_Segment_Intersect(&a, &b, &c, &d, &x)) {
    std::printf("  roads cross at (%d, %d)\n", x.x, x.y);
    roads.Dot(At(x), "crossing", 5);
    roads.Label(At(x), "(" + std::to_string(x.x) + ", " + std::to_string(x.y) + ")", "label", 8,
                -14);
  }
  roads.Legend("road", "roads");
  roads.Legend("view", "view");
  roads.Legend("crossing", "crossing");
  std::printf("  ring road meets view (500,300)-(900,700)? %s\n",
              Segment_Rect_Intersect(&a, &b, &view_min, &view_max) ? "yes" : "no");
  std::printf("  crossing inside the view? %s\n",
              Point_Rect_Intersect(&x, &view_min, &view_max) ? "yes" : "no");
}
