// Tour section: bulk queries. Service zones around Dutch cities in the
// library's 1/100000-degree unit (Amsterdam's with a park cut out and an
// island as a second part), a few thousand generated GPS fixes, and which
// zone each fix falls in, by the compatible rule (the exported functions'
// answers) and by the exact rule. The panel shows the zones and every fix in
// the colour of its zone by the exact rule, ringed where the two rules
// disagree.
#include <kelvor/kelvor.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "tour.h"

namespace {

struct NamedZone {
  const char* name;
  std::int32_t id;
  std::vector<tagPOINT> ring;  // longitude, latitude in 1/100000 degree
  // Further rings in GeoJSON order after the first: holes and parts.
  std::vector<std::pair<std::vector<tagPOINT>, bool>> more = {};
};

// Three city zones of a few kilometres, and the whole Randstad as one coarse
// quadrilateral: its edges span up to 1.7 degrees, so the 32-bit crossing
// product of the compatible rule wraps on them.
std::vector<NamedZone> zones() {
  return {
      {"Amsterdam centre",
       1,
       {{484000, 5234500},
        {494000, 5233000},
        {497500, 5237500},
        {493000, 5241500},
        {485500, 5240000}},
       // A park cut out of the zone, and an island beyond the water as a
       // second part of the same zone.
       {{{{486500, 5235400}, {489500, 5235000}, {489800, 5236200}, {486800, 5236500}}, true},
        {{{501000, 5235500}, {505000, 5235000}, {505500, 5237800}, {501500, 5238000}}, false}}},
      {"Utrecht centre",
       2,
       {{508000, 5206000}, {516500, 5206500}, {517000, 5212500}, {509000, 5213000}}},
      {"Rotterdam centre",
       3,
       {{442000, 5189000},
        {452500, 5189500},
        {454000, 5195000},
        {446500, 5197500},
        {441500, 5194000}}},
      {"Randstad", 9, {{390000, 5150000}, {560000, 5175000}, {520000, 5290000}, {420000, 5260000}}},
  };
}

// Small self-contained generator, so the fixes are the same everywhere.
struct Fixes {
  std::uint64_t s = 20261206;
  std::int32_t in(std::int32_t lo, std::int32_t hi) {
    s = s * 6364136223846793005ull + 1442695040888963407ull;
    return lo + static_cast<std::int32_t>((s >> 33) % static_cast<std::uint64_t>(hi - lo + 1));
  }
};

Pt At(const tagPOINT& p) { return {static_cast<double>(p.x), static_cast<double>(p.y)}; }

// The figure kind of a fix located in zone id ("fix z1"; "fix none").
std::string FixKind(std::int32_t id) {
  return id == kelvor::ZoneIndex::kNoZone ? "fix none" : "fix z" + std::to_string(id);
}

}  // namespace

void tour_bulk(Panel& panel) {
  std::printf("\n-- Bulk queries: GPS fixes to service zones --\n");
  const std::vector<NamedZone> named = zones();
  // Each zone as rings (kelvor::Ring), then as an area (kelvor::Area).
  std::vector<std::vector<kelvor::Ring>> rings(named.size());
  std::vector<kelvor::Area> list;
  for (std::size_t k = 0; k < named.size(); ++k) {
    const NamedZone& z = named[k];
    rings[k].push_back({z.ring.data(), static_cast<std::int32_t>(z.ring.size()), false});
    for (const auto& extra : z.more) {
      rings[k].push_back(
          {extra.first.data(), static_cast<std::int32_t>(extra.first.size()), extra.second});
    }
    list.push_back({rings[k].data(), rings[k].size(), z.id});
    const kelvor::PreparedPolygon area(rings[k].data(), rings[k].size());
    std::printf("  zone %d %-17s %zu ring(s), %zu corners, compatible rule can wrap: %s\n", z.id,
                z.name, rings[k].size(), area.points().size(), area.can_wrap() ? "yes" : "no");
    std::vector<Pt> ring;
    for (const tagPOINT& p : z.ring) ring.push_back(At(p));
    panel.Area(ring, "zone z" + std::to_string(z.id));
    panel.Label(At(z.ring.back()), z.name, "label", 4, 6);
    for (const auto& extra : z.more) {
      std::vector<Pt> part;
      for (const tagPOINT& p : extra.first) part.push_back(At(p));
      panel.Area(part, extra.second ? "hole" : "zone z" + std::to_string(z.id));
    }
  }
  const kelvor::ZoneIndex compatible(list.data(), list.size());
  const kelvor::ZoneIndex exact(list.data(), list.size(), kelvor::Rule::Exact);
  // The park is no part of Amsterdam's zone, the island is.
  const kelvor::PreparedPolygon amsterdam(rings[0].data(), rings[0].size(), kelvor::Rule::Exact);
  const tagPOINT in_park{488000, 5235800}, on_island{503000, 5236500};
  std::printf("  Amsterdam's zone holds a fix in the park: %d, on the island: %d\n",
              amsterdam.Contain(in_park), amsterdam.Contain(on_island));

  // Fixes over the region, a third of them clustered on the city centres.
  Fixes gen;
  std::vector<tagPOINT> fixes;
  for (int i = 0; i < 6000; ++i) {
    if (i % 3 == 0) {
      const NamedZone& z = named[static_cast<std::size_t>(i / 3) % 3];
      fixes.push_back({z.ring[0].x + gen.in(-2000, 9000), z.ring[0].y + gen.in(-2000, 6000)});
    } else {
      fixes.push_back({gen.in(400000, 550000), gen.in(5160000, 5270000)});
    }
  }
  std::vector<std::int32_t> by_compatible(fixes.size()), by_exact(fixes.size());
  const auto start = std::chrono::steady_clock::now();
  compatible.Locate(fixes.data(), fixes.size(), by_compatible.data());
  exact.Locate(fixes.data(), fixes.size(), by_exact.data());
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  for (std::size_t i = 0; i < fixes.size(); ++i) {
    panel.Dot(At(fixes[i]), FixKind(by_exact[i]), 1.3);
  }
  for (std::size_t i = 0; i < fixes.size(); ++i) {
    if (by_compatible[i] != by_exact[i]) panel.Dot(At(fixes[i]), "differ", 2.6);
  }
  for (const NamedZone& z : named) panel.Legend(FixKind(z.id), std::to_string(z.id));
  panel.Legend(FixKind(kelvor::ZoneIndex::kNoZone), "no zone");
  panel.Legend("differ", "rules disagree");
  panel.Legend("hole", "hole of a zone");

  std::printf("  %zu fixes; lowest zone id wins where zones overlap\n", fixes.size());
  std::printf("  %-22s %10s %10s\n", "zone", "compatible", "exact");
  for (const NamedZone& z : named) {
    int c = 0, e = 0;
    for (std::size_t i = 0; i < fixes.size(); ++i) {
      c += by_compatible[i] == z.id;
      e += by_exact[i] == z.id;
    }
    std::printf("  %d %-20s %10d %10d\n", z.id, z.name, c, e);
  }
  int none_c = 0, none_e = 0, differ = 0;
  for (std::size_t i = 0; i < fixes.size(); ++i) {
    none_c += by_compatible[i] == kelvor::ZoneIndex::kNoZone;
    none_e += by_exact[i] == kelvor::ZoneIndex::kNoZone;
    differ += by_compatible[i] != by_exact[i];
  }
  std::printf("  %-22s %10d %10d\n", "  no zone", none_c, none_e);
  std::printf("  %d fixes change zone between the rules: the Randstad's long edges wrap\n", differ);
  std::printf(
      "  (kelvor::DensifyRing splits such edges for engines that use the compatible\n"
      "  rule); located at about %.1f million fixes per second per rule\n",
      seconds > 0 ? 2.0 * static_cast<double>(fixes.size()) / seconds / 1e6 : 0.0);
}
