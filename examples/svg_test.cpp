// The SVG writer: escaping, number formatting and document structure.
#include "svg.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

struct EscapeCase {
  const char* name;
  std::string in, out;
};

TEST(XmlEscape, Table) {
  const EscapeCase cases[] = {
      {"plain", "Paris", "Paris"},
      {"ampersand", "places & a route", "places &amp; a route"},
      {"angles", "a<b>c", "a&lt;b&gt;c"},
      {"quotes", "\"x\" 'y'", "&quot;x&quot; &apos;y&apos;"},
      {"already escaped is escaped again", "&amp;", "&amp;amp;"},
      {"utf8 passes", "137.0\u00b0 \u2191", "137.0\u00b0 \u2191"},
      {"tab newline return kept", "a\tb\nc\rd", "a\tb\nc\rd"},
      {"forbidden controls dropped",
       std::string("a\x01"
                   "b\x1f"
                   "c\0d",
                   7),
       "abcd"},
      {"empty", "", ""},
  };
  for (const EscapeCase& c : cases) EXPECT_EQ(XmlEscape(c.in), c.out) << c.name;
}

struct NumberCase {
  const char* name;
  double in;
  const char* out;
};

TEST(SvgNumber, Table) {
  const NumberCase cases[] = {
      {"integer", 12.0, "12"},
      {"one decimal", 12.5, "12.5"},
      {"rounds to one decimal", 12.34, "12.3"},
      {"negative", -3.26, "-3.3"},
      {"negative zero", -0.04, "0"},
      {"large", 5250000.0, "5250000"},
      {"nan", std::nan(""), "0"},
      {"infinity", std::numeric_limits<double>::infinity(), "0"},
  };
  for (const NumberCase& c : cases) EXPECT_EQ(SvgNumber(c.in), c.out) << c.name;
}

TEST(SvgDocument, HeaderTitleStyleElementsAndClasses) {
  SvgDocument doc(100, 50.5, "a & b");
  doc.SetStyle(".x > .y { fill: red; }");
  doc.Circle(1, 2, 3, "fig a");
  doc.Rect(0, 0, -5, 2, "");  // negative sizes are written as zero
  doc.Polyline({{0, 0}, {1.25, 2}}, "p");
  doc.Text(1, 2, "<b>", "label");
  const std::string s = doc.Str();
  EXPECT_EQ(s.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n", 0), 0u);
  EXPECT_EQ(s.substr(s.size() - 7), "</svg>\n");
  for (const char* part : {
           "version=\"1.1\" width=\"100\" height=\"50.5\" viewBox=\"0 0 100 50.5\"",
           "<title>a &amp; b</title>",
           ".x &gt; .y { fill: red; }",
           "<circle class=\"fig a\" cx=\"1\" cy=\"2\" r=\"3\"/>",
           "<rect x=\"0\" y=\"0\" width=\"0\" height=\"2\"/>",
           "<polyline class=\"p\" points=\"0,0 1.2,2\"/>",
           "<text class=\"label\" x=\"1\" y=\"2\">&lt;b&gt;</text>",
       })
    EXPECT_NE(s.find(part), std::string::npos) << part;
}

int Count(const std::string& s, const std::string& what) {
  int n = 0;
  for (auto at = s.find(what); at != std::string::npos; at = s.find(what, at + 1)) ++n;
  return n;
}

TEST(SvgDocument, GroupsAlwaysBalance) {
  SvgDocument doc(10, 10, "t");
  doc.CloseGroup();  // nothing open: ignored
  doc.OpenGroup("outer", "panel");
  doc.OpenGroup("", "");
  doc.CloseGroup();
  doc.OpenGroup("left-open", "");
  const std::string s = doc.Str();
  EXPECT_EQ(Count(s, "<g"), 3);
  EXPECT_EQ(Count(s, "</g>"), 3);
  EXPECT_NE(s.find("<g id=\"outer\" class=\"panel\">"), std::string::npos);
}

TEST(SvgDocument, SaveReportsFailure) {
  const SvgDocument doc(10, 10, "t");
  EXPECT_FALSE(doc.Save("/nonexistent-directory/picture.svg"));
}

}  // namespace
