// The SVG writer: escaping, number formatting and the document text.
#include "svg.h"

#include <cmath>
#include <cstdio>
#include <fstream>

std::string XmlEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&apos;"; break;
      default:
        if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n' || c == '\r') out += c;
    }
  }
  return out;
}

std::string SvgNumber(double v) {
  if (!std::isfinite(v)) return "0";
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.1f", v);
  std::string s = buf;
  if (s.size() >= 2 && s.compare(s.size() - 2, 2, ".0") == 0) s.resize(s.size() - 2);
  if (s == "-0") s = "0";
  return s;
}

SvgDocument::SvgDocument(double width, double height, std::string title)
    : width_(width), height_(height), title_(std::move(title)) {}

void SvgDocument::Element(std::string_view name, const std::string& attrs, std::string_view cls) {
  body_ += '<';
  body_ += name;
  if (!cls.empty()) body_ += " class=\"" + XmlEscape(cls) + '"';
  body_ += attrs;
  body_ += "/>\n";
}

std::string SvgDocument::Points(const std::vector<SvgPoint>& pts) {
  std::string s;
  for (const SvgPoint& p : pts) {
    if (!s.empty()) s += ' ';
    s += SvgNumber(p.x) + ',' + SvgNumber(p.y);
  }
  return s;
}

void SvgDocument::Rect(double x, double y, double w, double h, std::string_view cls) {
  Element("rect",
          " x=\"" + SvgNumber(x) + "\" y=\"" + SvgNumber(y) + "\" width=\"" +
              SvgNumber(std::fmax(w, 0.0)) + "\" height=\"" + SvgNumber(std::fmax(h, 0.0)) + '"',
          cls);
}

void SvgDocument::Circle(double cx, double cy, double r, std::string_view cls) {
  Element("circle",
          " cx=\"" + SvgNumber(cx) + "\" cy=\"" + SvgNumber(cy) + "\" r=\"" +
              SvgNumber(std::fmax(r, 0.0)) + '"',
          cls);
}

void SvgDocument::Line(SvgPoint a, SvgPoint b, std::string_view cls) {
  Element("line",
          " x1=\"" + SvgNumber(a.x) + "\" y1=\"" + SvgNumber(a.y) + "\" x2=\"" + SvgNumber(b.x) +
              "\" y2=\"" + SvgNumber(b.y) + '"',
          cls);
}

void SvgDocument::Polyline(const std::vector<SvgPoint>& pts, std::string_view cls) {
  Element("polyline", " points=\"" + Points(pts) + '"', cls);
}

void SvgDocument::Polygon(const std::vector<SvgPoint>& pts, std::string_view cls) {
  Element("polygon", " points=\"" + Points(pts) + '"', cls);
}

void SvgDocument::Text(double x, double y, std::string_view text, std::string_view cls) {
  body_ += "<text";
  if (!cls.empty()) body_ += " class=\"" + XmlEscape(cls) + '"';
  body_ +=
      " x=\"" + SvgNumber(x) + "\" y=\"" + SvgNumber(y) + "\">" + XmlEscape(text) + "</text>\n";
}

void SvgDocument::OpenGroup(std::string_view id, std::string_view cls) {
  body_ += "<g";
  if (!id.empty()) body_ += " id=\"" + XmlEscape(id) + '"';
  if (!cls.empty()) body_ += " class=\"" + XmlEscape(cls) + '"';
  body_ += ">\n";
  ++open_groups_;
}

void SvgDocument::CloseGroup() {
  if (open_groups_ == 0) return;
  body_ += "</g>\n";
  --open_groups_;
}

std::string SvgDocument::Str() const {
  const std::string w = SvgNumber(width_), h = SvgNumber(height_);
  std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  out += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" + w + "\" height=\"" +
         h + "\" viewBox=\"0 0 " + w + ' ' + h + "\">\n";
  out += "<title>" + XmlEscape(title_) + "</title>\n";
  if (!css_.empty()) out += "<style type=\"text/css\">\n" + XmlEscape(css_) + "\n</style>\n";
  out += body_;
  for (int i = 0; i < open_groups_; ++i) out += "</g>\n";
  out += "</svg>\n";
  return out;
}

bool SvgDocument::Save(const std::string& path) const {
  std::ofstream file(path, std::ios::binary);
  file << Str();
  file.close();
  return static_cast<bool>(file);
}
