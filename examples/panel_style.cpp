// The picture's style sheet: one class per kind of figure, shared by the
// figures and their legend swatches.
#include "panel.h"

const char* PanelStyle() {
  return R"(text { font-family: "DejaVu Sans", Verdana, Arial, sans-serif; }
.frame { fill: #ffffff; stroke: #c8c8c8; }
.plot { fill: #fcfcfc; stroke: #dddddd; }
.grid { stroke: #ececec; }
.title { font-size: 14px; font-weight: bold; fill: #222222; }
.axis { font-size: 11px; fill: #666666; }
.tick { font-size: 10px; fill: #888888; }
.legend { font-size: 11px; fill: #444444; }
.mid { text-anchor: middle; }
.end { text-anchor: end; }
.label { font-size: 11px; fill: #222222; paint-order: stroke; stroke: #ffffff; stroke-width: 3px; stroke-linejoin: round; }
.turn { font-size: 11px; font-weight: bold; fill: #8c2d04; paint-order: stroke; stroke: #ffffff; stroke-width: 3px; stroke-linejoin: round; }
.district { fill: #dbe9f6; stroke: #3a6ea5; stroke-width: 1.5; }
.route { fill: none; stroke: #555555; stroke-width: 2; stroke-linejoin: round; }
.road { fill: none; stroke: #555555; stroke-width: 3; stroke-linecap: round; }
.dashed { stroke-width: 1.5; stroke-dasharray: 5 4; }
.clipped { fill: none; stroke: #e08214; stroke-width: 4; stroke-linecap: round; }
.view { fill: none; stroke: #7b3294; stroke-width: 1.5; stroke-dasharray: 7 3; }
.inscribed { fill: #fee08b; fill-opacity: 0.75; stroke: #b8860b; }
.street { fill: none; stroke: #999999; stroke-dasharray: 2 3; }
.stretch { fill: none; stroke: #3a6ea5; stroke-width: 4; }
.inside { fill: #1a9850; stroke: #ffffff; }
.outside { fill: #d73027; stroke: #ffffff; }
.crossing { fill: #e08214; stroke: #ffffff; }
.city { fill: #222222; stroke: #ffffff; }
.town { fill: #ffffff; stroke: #222222; stroke-width: 1.5; }
.projection { fill: none; stroke: #d73027; stroke-dasharray: 3 3; }
.foot { fill: #d73027; }
.z1 { fill: #1b9e77; stroke: #1b9e77; }
.z2 { fill: #d95f02; stroke: #d95f02; }
.z3 { fill: #7570b3; stroke: #7570b3; }
.z9 { fill: #e7298a; stroke: #e7298a; }
.none { fill: #9a9a9a; stroke: #9a9a9a; }
.zone { fill-opacity: 0.12; stroke-width: 1.5; }
.hole { fill: #ffffff; stroke: #1b9e77; stroke-width: 1; stroke-dasharray: 3 2; }
.fix { stroke: none; }
.differ { fill: none; stroke: #000000; stroke-width: 0.7; })";
}
