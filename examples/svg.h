// A tiny SVG 1.1 writer for the tour's picture: it collects elements in
// drawing order, in pixel coordinates (y down, as SVG has it), and writes one
// well-formed document. Styling is by class names and one style sheet.
#ifndef KELVOR_EXAMPLES_SVG_H
#define KELVOR_EXAMPLES_SVG_H

#include <string>
#include <string_view>
#include <vector>

struct SvgPoint {
  double x, y;
};

// Escapes text for XML character data and attribute values: & < > " ' become
// entities, and control characters that XML 1.0 forbids (all below 0x20 but
// tab, newline and carriage return) are dropped. Other bytes, UTF-8
// included, pass unchanged.
std::string XmlEscape(std::string_view text);

// Formats a coordinate with at most one decimal ("12", "12.5", "-0.3");
// NaN and infinities, which SVG cannot hold, become "0".
std::string SvgNumber(double v);

class SvgDocument {
 public:
  // A document of width x height pixels; title is shown by viewers as the
  // picture's name and read by screen readers.
  SvgDocument(double width, double height, std::string title);

  // The style sheet, written into the document as given (escaped).
  void SetStyle(std::string css) { css_ = std::move(css); }

  // Each element takes a space-separated class list; an empty list writes no
  // class attribute.
  void Rect(double x, double y, double w, double h, std::string_view cls);
  void Circle(double cx, double cy, double r, std::string_view cls);
  void Line(SvgPoint a, SvgPoint b, std::string_view cls);
  void Polyline(const std::vector<SvgPoint>& pts, std::string_view cls);
  void Polygon(const std::vector<SvgPoint>& pts, std::string_view cls);
  void Text(double x, double y, std::string_view text, std::string_view cls);

  // Groups nest; Close without an open group does nothing, and groups still
  // open when the document is written are closed then.
  void OpenGroup(std::string_view id, std::string_view cls);
  void CloseGroup();

  // The whole document, starting with the XML declaration.
  std::string Str() const;
  // Writes Str() to path; false when the file cannot be written.
  bool Save(const std::string& path) const;

 private:
  void Element(std::string_view name, const std::string& attrs, std::string_view cls);
  static std::string Points(const std::vector<SvgPoint>& pts);

  double width_, height_;
  std::string title_, css_, body_;
  int open_groups_ = 0;
};

#endif  // KELVOR_EXAMPLES_SVG_H
