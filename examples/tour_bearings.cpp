// Tour section: bearings and turns along a drive through western Europe, the
// nearest point of the route to a town off it, and a few fixed-point angles.
// The route, its turns and the town's projection are drawn in one panel.
#include <kelvor/kelvor.h>

#include <cstdio>
#include <vector>

#include "tour.h"

namespace {

struct Stop {
  const char* name;
  tagLonLat where;
};

// City centres in degrees (lon, lat).
const Stop kRoute[] = {
    {"Paris", {2.3522, 48.8566}},      {"Brussels", {4.3517, 50.8503}},
    {"Cologne", {6.9603, 50.9375}},    {"Frankfurt", {8.6821, 50.1109}},
    {"Strasbourg", {7.7521, 48.5734}},
};
constexpr int kStops = sizeof(kRoute) / sizeof(kRoute[0]);

Pt At(const tagLonLat& p) { return {p.lon, p.lat}; }

tagLonLat Diff(const tagLonLat& to, const tagLonLat& from) {
  return tagLonLat{to.lon - from.lon, to.lat - from.lat};
}

// Directions count counterclockwise from east; a compass counts clockwise
// from north.
double Compass(double direction) {
  const double c = 90.0 - direction;
  return c < 0 ? c + 360.0 : c;
}

const char* TurnWord(double turn) {
  if (turn == 180.0) return "straight on";
  return turn < 180.0 ? "right" : "left";
}

const char* CodeWord(int code) {
  switch (code) {
    case -1: return "before the start";
    case 0: return "at the start";
    case 1: return "inside the leg";
    case 2: return "at the end";
    default: return "beyond the end";
  }
}

}  // namespace

void tour_bearings(Panel& panel) {
  std::printf("\n-- Bearings and turns: Paris to Strasbourg --\n");
  std::vector<Pt> path;
  for (const Stop& stop : kRoute) path.push_back(At(stop.where));
  panel.Path(path, "route");
  for (const Stop& stop : kRoute) {
    panel.Dot(At(stop.where), "city", 4.5);
    panel.Label(At(stop.where), stop.name, "label");
  }
  for (int i = 0; i + 1 < kStops; ++i) {
    const double dir = GetAbsoluteAngle(Diff(kRoute[i + 1].where, kRoute[i].where));
    std::printf("  %-10s -> %-10s direction %9.4f deg  (compass %8.4f)\n", kRoute[i].name,
                kRoute[i + 1].name, dir, Compass(dir));
  }
  for (int i = 1; i + 1 < kStops; ++i) {
    const double turn = GetTurnAngle(kRoute[i - 1].where, kRoute[i].where, kRoute[i + 1].where);
    const double inner = GetSharpAngle(kRoute[i - 1].where, kRoute[i].where, kRoute[i + 1].where);
    std::printf("  at %-10s turn angle %9.4f deg (%s), inner angle %8.4f deg\n", kRoute[i].name,
                turn, TurnWord(turn), inner);
    char text[48];
    std::snprintf(text, sizeof text, "%.1f\u00b0 %s", turn, TurnWord(turn));
    panel.Label(At(kRoute[i].where), text, "turn", 6, 18);  // above the name
  }

  // Luxembourg lies off the route: drop it onto each leg, keep the nearest.
  const tagLonLat town{6.1296, 49.6116};
  int best_leg = -1;
  double best_m = 0;
  tagLonLat best_foot{}, best_nearest{};
  int best_code = 0;
  for (int i = 0; i + 1 < kStops; ++i) {
    tagLonLat foot{};
    const int code = GetProjectBase(town, kRoute[i].where, kRoute[i + 1].where, foot);
    // Outside the leg the nearest point is the leg's end on that side.
    const tagLonLat nearest = code < 0 ? kRoute[i].where : code > 2 ? kRoute[i + 1].where : foot;
    const double m = SegmentLength(town, nearest);
    if (best_leg < 0 || m < best_m) {
      best_leg = i;
      best_m = m;
      best_foot = foot;
      best_nearest = nearest;
      best_code = code;
    }
  }
  panel.Segment(At(town), At(best_nearest), "projection");
  panel.Dot(At(best_nearest), "foot", 3);
  panel.Dot(At(town), "town", 4.5);
  panel.Label(At(town), "Luxembourg", "label");
  panel.Legend("route", "route");
  panel.Legend("projection", "nearest point");
  panel.Legend("turn", "turn angle");
  std::printf("  Luxembourg: nearest leg %s -> %s, foot (%.5f, %.5f) %s, %.1f km away\n",
              kRoute[best_leg].name, kRoute[best_leg + 1].name, best_foot.lon, best_foot.lat,
              CodeWord(best_code), best_m / 1000.0);

  // The same leg in integer 1/100000-degree units: the foot truncates.
  const _Bin_LonLat p{612960, 4961160}, a{435170, 5085030}, b{696030, 5093750};
  _Bin_LonLat ifoot{};
  const int icode = GetProjectBase(p, a, b, ifoot);
  std::printf("  integer units on Brussels -> Cologne: foot (%d, %d), %s\n", ifoot.lon, ifoot.lat,
              CodeWord(icode));

  std::printf("\n-- Fixed-point angles (16.16 degrees) --\n");
  const std::int32_t deg = 65536;
  std::printf("  KMF_Sin(30 deg) = %d (%.6f)   KMF_Cos(60 deg) = %d\n", KMF_Sin(30 * deg),
              KMF_Sin(30 * deg) / 65536.0, KMF_Cos(60 * deg));
  const std::int32_t a34 = KMF_Atan2(3 * deg, 4 * deg);
  std::printf("  KMF_Atan2(3.0, 4.0) = %d (%.10f deg, on the 1/2048 degree grid)\n", a34,
              a34 / 65536.0);
  KMF_Vector v{3 * deg, 4 * deg};
  KMF_Vector_Rotate(&v, 30 * deg);
  std::printf("  (3.0, 4.0) turned by 30 deg = (%.5f, %.5f), length %.5f\n", v.x / 65536.0,
              v.y / 65536.0, KMF_Vector_Length(&v) / 65536.0);
  std::int32_t len = 0;
  KMF_Angle ang = 0;
  const KMF_Vector w{-3 * deg, -4 * deg};
  KMF_Vector_Polarize(&w, &len, &ang);
  std::printf("  polar form of (-3.0, -4.0): length %.5f, angle %.5f deg\n", len / 65536.0,
              ang / 65536.0);
}
