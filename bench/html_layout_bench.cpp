// Lays out generated pages of real size with the page viewer's layout pass and prints, per page, its
// size, the layout's work units, whether it had to fall back to the simple layout, and the best of three
// times. The pages: long tables alone and inside one and two layout tables, deep nesting, and ordinary
// pages of nested layout tables (forum, news, documentation, widths nested eight deep).
//   html_layout_bench
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "preview/html/html_large_pages.h"
#include "preview/html/html_layout_pass.h"
#include "preview/html/html_parse_pass.h"

namespace {

using namespace htmlview;

void Measure(const char* name, const std::u16string& text) {
  double best = 1e9;
  long long work = 0;
  bool simple = false;
  size_t elements = 0;
  for (int round = 0; round < 3; ++round) {
    HtmlDocument doc(nullptr, 0);
    FixedAdvanceMeasurer measurer(8);
    HtmlParsePass(doc, measurer).ParseRange(text, doc.elements, u"Arial", 10, 0, u"http://h/", 0, 0, 0);
    elements = CountElements(doc.elements);
    HtmlLayoutPass layout(doc, nullptr);
    HtmlRect rect{0, 0, 800, 600};
    const auto start = std::chrono::steady_clock::now();
    layout.Layout(doc.elements, rect);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    best = std::min(best, took.count());
    work = layout.Work();
    simple = layout.Simple();
  }
  std::printf("%-28s %8zu bytes %7zu elements %10lld units %-6s %.3f s\n", name, text.size(), elements, work,
              simple ? "simple" : "full", best);
}

}  // namespace

int main() {
  Measure("3000 rows in a layout table", NestedLongTable(3000, 1));
  Measure("3000 rows, nested twice", NestedLongTable(3000, 2));
  Measure("3000 rows, nested three times", NestedLongTable(3000, 3));
  Measure("10000 rows", NestedLongTable(10000, 0));
  Measure("45000 rows (5 MB)", NestedLongTable(45000, 0));
  std::u16string deep;
  for (int i = 0; i < 60; ++i) deep += u"<table><tr><td>a<td>";
  Measure("60 nested tables", deep);
  Measure("forum of 30 posts", ForumPage(30));
  Measure("forum of 110 posts", ForumPage(110));
  Measure("forum of 400 posts", ForumPage(400));
  Measure("forum of 1500 posts", ForumPage(1500));
  Measure("news of 100 stories", NewsPage(100));
  Measure("documentation of 80", DocumentationPage(80));
  Measure("widths nested 8, 20 rows", NestedWidthTables(8, 20, 16));
  Measure("widths nested 8, 80 rows", NestedWidthTables(8, 80, 16));
  return 0;
}
