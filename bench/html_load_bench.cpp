// Loads ".html" pages from files with the page viewer's cleaner, parse pass and layout pass (no window, no
// fetching) and prints, per page, its size, its element count and the best of three times.
//   html_load_bench FILE...
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "preview/html/html_layout_pass.h"
#include "preview/html/html_page_load.h"

namespace {

using namespace htmlview;

std::u16string ReadLatin1(const char* path) {
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::u16string text;
  text.reserve(bytes.size());
  for (unsigned char c : bytes) text += static_cast<char16_t>(c);
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::u16string text = ReadLatin1(argv[i]);
    double best = 1e9;
    size_t elements = 0;
    for (int round = 0; round < 3; ++round) {
      HtmlDocument doc(nullptr, 0);
      FixedAdvanceMeasurer measurer(8);
      const auto start = std::chrono::steady_clock::now();
      LoadPage(doc, measurer, text, u"Arial", 15, u"file://C:\\temp\\page.html");
      HtmlLayoutPass layout(doc, nullptr);
      HtmlRect rect{0, 0, 800, 600};
      layout.Layout(doc.elements, rect);
      const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
      best = std::min(best, took.count());
      elements = doc.elements.size();
    }
    std::printf("%-24s %8zu bytes %8zu elements %8.3f s\n", argv[i], text.size(), elements, best);
  }
  return 0;
}
