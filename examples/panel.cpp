// Panel: keeps figures in world units and draws them, with a grid, ticks,
// axis captions and a legend, into its box of the picture.
#include "panel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include "panel_fit.h"

namespace {

constexpr double kHead = 42;  // title line and the y axis caption
constexpr double kLeft = 62, kRight = 14, kBottom = 54;
constexpr double kPad = 8;          // space kept free inside the plot area
constexpr double kCharWidth = 6.4;  // average width of 11 px text

double TextWidth(const std::string& s) {
  double n = 0;
  for (const char c : s) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;  // UTF-8 lead bytes
  return n * kCharWidth;
}

// Round numbers 1, 2 or 5 times a power of ten, about five over a range.
double TickStep(double range) {
  const double raw = range / 5;
  const double mag = std::pow(10.0, std::floor(std::log10(raw)));
  const double f = raw / mag;
  return (f < 1.5 ? 1 : f < 3.5 ? 2 : f < 7.5 ? 5 : 10) * mag;
}

std::string TickText(double v, double step) {
  const int decimals = std::max(0, static_cast<int>(-std::floor(std::log10(step) + 1e-9)));
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, std::fabs(v) < step / 1e6 ? 0.0 : v);
  return buf;
}

const char* AnchorClass(Panel::Anchor a) {
  return a == Panel::Anchor::kEnd ? " end" : a == Panel::Anchor::kMiddle ? " mid" : "";
}

}  // namespace

Panel::Panel(std::string id, std::string title, std::string x_axis, std::string y_axis)
    : id_(std::move(id)),
      title_(std::move(title)),
      x_axis_(std::move(x_axis)),
      y_axis_(std::move(y_axis)) {}

void Panel::Area(std::vector<Pt> ring, std::string kind) {
  figures_.push_back({Shape::kArea, std::move(kind), std::move(ring), {}});
}
void Panel::Path(std::vector<Pt> pts, std::string kind) {
  figures_.push_back({Shape::kPath, std::move(kind), std::move(pts), {}});
}
void Panel::Segment(Pt a, Pt b, std::string kind) { Path({a, b}, std::move(kind)); }
void Panel::Box(Pt min, Pt max, std::string kind) {
  figures_.push_back({Shape::kBox, std::move(kind), {min, max}, {}});
}
void Panel::Dot(Pt at, std::string kind, double radius_px) {
  figures_.push_back({Shape::kDot, std::move(kind), {at}, {}, radius_px});
}
void Panel::Label(Pt at, std::string text, std::string kind, double dx, double dy, Anchor anchor) {
  figures_.push_back({Shape::kLabel, std::move(kind), {at}, std::move(text), dx, dy, anchor});
}
void Panel::Legend(std::string kind, std::string text) {
  legend_.push_back({std::move(kind), std::move(text)});
}

void Panel::Render(SvgDocument& svg, double x, double y, double w, double h) const {
  svg.OpenGroup(id_, "panel");
  svg.Rect(x, y, w, h, "frame");
  svg.Text(x + 8, y + 18, title_, "title");
  svg.Text(x + 8, y + 34, "\u2191 " + y_axis_, "axis");
  const double left = x + kLeft, top = y + kHead;
  const double pw = w - kLeft - kRight, ph = h - kHead - kBottom;
  svg.Rect(left, top, pw, ph, "plot");

  // What each figure covers around its points, in pixels.
  std::vector<Extent> extents;
  for (const Figure& f : figures_) {
    if (f.shape == Shape::kLabel) {
      const double tw = TextWidth(f.text);
      const double start = f.anchor == Anchor::kStart ? 0
                           : f.anchor == Anchor::kEnd ? -tw
                                                      : -tw / 2;
      extents.push_back(
          {f.pts[0].x, f.pts[0].y, f.a + start, f.a + start + tw, -f.b - 10, -f.b + 3});
    } else {
      const double r = f.shape == Shape::kDot ? f.a : 2;
      for (const Pt& p : f.pts) extents.push_back({p.x, p.y, -r, r, -r, r});
    }
  }
  const Mapping map = Fit(extents, left + kPad, top + kPad, pw - 2 * kPad, ph - 2 * kPad);

  // Grid and ticks over what the plot area shows; the same step on both
  // axes, as the scales are equal.
  const double x0 = map.WorldX(left), x1 = map.WorldX(left + pw);
  const double y0 = map.WorldY(top + ph), y1 = map.WorldY(top);
  const double step = TickStep(std::max(x1 - x0, y1 - y0));
  for (int i = 0; i <= 20 && step > 0; ++i) {
    const double t = (std::ceil(x0 / step) + i) * step;
    if (t > x1) break;
    const double px = map(t, 0).x;
    svg.Line({px, top}, {px, top + ph}, "grid");
    svg.Text(px, top + ph + 14, TickText(t, step), "tick mid");
  }
  for (int i = 0; i <= 20 && step > 0; ++i) {
    const double t = (std::ceil(y0 / step) + i) * step;
    if (t > y1) break;
    const double py = map(0, t).y;
    svg.Line({left, py}, {left + pw, py}, "grid");
    svg.Text(left - 4, py + 4, TickText(t, step), "tick end");
  }
  svg.Text(left + pw, top + ph + 30, x_axis_ + " \u2192", "axis end");

  // Areas and boxes under lines, lines under dots, text on top.
  const auto layer = [](Shape s) {
    return s == Shape::kArea || s == Shape::kBox ? 0
           : s == Shape::kPath                   ? 1
           : s == Shape::kDot                    ? 2
                                                 : 3;
  };
  std::vector<const Figure*> order;
  for (const Figure& f : figures_) order.push_back(&f);
  std::stable_sort(order.begin(), order.end(), [&](const Figure* a, const Figure* b) {
    return layer(a->shape) < layer(b->shape);
  });
  for (const Figure* f : order) {
    const std::string cls = "fig " + f->kind;
    std::vector<SvgPoint> px;
    for (const Pt& p : f->pts) px.push_back(map(p.x, p.y));
    switch (f->shape) {
      case Shape::kArea: svg.Polygon(px, cls); break;
      case Shape::kPath: svg.Polyline(px, cls); break;
      case Shape::kBox:
        svg.Rect(std::min(px[0].x, px[1].x), std::min(px[0].y, px[1].y),
                 std::fabs(px[1].x - px[0].x), std::fabs(px[1].y - px[0].y), cls);
        break;
      case Shape::kDot: svg.Circle(px[0].x, px[0].y, f->a, cls); break;
      case Shape::kLabel:
        svg.Text(px[0].x + f->a, px[0].y - f->b, f->text, cls + AnchorClass(f->anchor));
        break;
    }
  }

  double lx = left;
  const double ly = top + ph + 46;
  for (const LegendEntry& e : legend_) {
    const auto it = std::find_if(figures_.begin(), figures_.end(),
                                 [&](const Figure& f) { return f.kind == e.kind; });
    const std::string cls = "key " + e.kind;
    if (it != figures_.end() && it->shape == Shape::kDot) {
      svg.Circle(lx + 5, ly - 4, std::min(std::max(it->a, 2.5), 4.5), cls);
    } else if (it != figures_.end() && it->shape == Shape::kPath) {
      svg.Line({lx - 2, ly - 4}, {lx + 12, ly - 4}, cls);
    } else {
      svg.Rect(lx, ly - 9, 10, 10, cls);
    }
    svg.Text(lx + 16, ly, e.text, "legend");
    lx += 16 + TextWidth(e.text) + 14;
  }
  svg.CloseGroup();
}
