// How the page reader's work grows with the page. For every tag of the reader's known-tag table and every
// other construct its cleaner, parse pass and layout treat specially, builds pages of that construct
// repeated to two sizes (closed, nested, left open and without its ">"; bare and with every attribute the
// reader reads; alone and after an aligned div, inside a table, inside a form), loads and lays out each and
// prints the processor seconds and their ratio. Linear work gives about 4; a page that takes longer than the limit
// is stopped and shown as ">". Then the slowest construct is loaded at the preview's 5 MiB limit.
//   html_growth_bench [FILTER]     only the rows whose label contains FILTER
// Environment: GROWTH_ALL=1 prints every row (else the worst row of each construct and every row over
// the bound), GROWTH_LIMIT=SECONDS the time one page may take (default 20).
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "preview/html/html_entities.h"
#include "preview/html/html_layout_pass.h"
#include "preview/html/html_page_load.h"

namespace {

using namespace htmlview;

constexpr size_t kSmall = 64 * 1024, kLarge = 256 * 1024, kLimitSize = 5 * 1024 * 1024;
constexpr double kBound = 6;

// Every attribute the reader reads, on one tag.
const char kAllAttributes[] =
    " align=right valign=middle bgcolor=red background=b.gif href=l.html face=Arial color=blue size=1000"
    " src=p.gif width=50% height=40 border=2 clear=all value=v name=n maxlength=5 cols=1000 rows=1000 selected"
    " action=a.html method=post colspan=3 rowspan=2 nowrap nobreak cellpadding=9 cellspacing=9 bordercolor=green";

struct Construct {
  std::string label;
  std::string open;    // what opens it, before its attributes
  std::string close;   // what closes it ("" when nothing does)
  std::string extra;   // attributes that make it what it is (an input's type)
  bool text = false;   // a run of text, not a tag: repeated as it is
};

std::string Ascii(const char16_t* s) {
  std::string out;
  for (; *s; ++s) out += static_cast<char>(*s);
  return out;
}

std::vector<Construct> Constructs() {
  std::vector<Construct> list;
  for (size_t i = 0; i < kKnownTagCount; ++i) {
    const std::string tag = Ascii(kKnownTags[i]);
    std::string close;
    if (tag.compare(0, 2, "</") != 0) {
      const std::string closer = "</" + tag.substr(1);
      for (size_t j = 0; j < kKnownTagCount; ++j)
        if (Ascii(kKnownTags[j]) == closer) close = closer + ">";
    }
    list.push_back({tag, tag, close, ""});
  }
  for (const char* type : {"text", "password", "button", "submit", "radio", "checkbox", "hidden", "image"})
    list.push_back({std::string("<input type=") + type, "<input", "", std::string(" type=") + type});
  list.push_back({"<img align=left", "<img", "", " align=left"});
  list.push_back({"<div align=center", "<div", "</div>", " align=center"});
  list.push_back({"<p align=justify", "<p", "</p>", " align=justify"});
  list.push_back({"<td colspan", "<td", "</td>", " colspan=300 rowspan=300"});
  // What the cleaner takes out or rewrites.
  for (const char* tag : {"<script", "<title", "<style", "<body", "<span"})
    list.push_back({tag, tag, std::string("</") + (tag + 1) + ">", ""});
  list.push_back({"</title >", "<title", "</title >", ""});
  list.push_back({"<!--", "<!--", "-->", ""});
  for (const char* text : {"&amp;x ", "&#65;x ", "&#x41; ", "&nbsp;&euro; ", "\xC3\xA9 ", "\t", " \r\n ", "word "})
    list.push_back({std::string("text ") + (text[0] == '\t' ? "tab" : text[0] == ' ' ? "spaces" : text), text, "", "",
                    true});
  return list;
}

struct Shape {
  const char* name;
  // The repeated unit, and what follows the repeats (for nesting, the closes); open is tag + attributes.
  std::string (*unit)(const std::string& open, const std::string& close);
  bool nested;
};

const Shape kShapes[] = {
    {"closed", [](const std::string& o, const std::string& c) { return o + ">x " + c; }, false},
    {"nested", [](const std::string& o, const std::string&) { return o + ">x "; }, true},
    {"open", [](const std::string& o, const std::string&) { return o + ">x "; }, false},
    {"no >", [](const std::string& o, const std::string&) { return o + " x "; }, false},
};

struct Mix {
  const char* name;
  const char* before;  // once before the repeats
  const char* each;    // before every unit
};

const Mix kMixes[] = {
    {"", "", ""},
    {"after div", "<div align=right>a ", ""},
    {"in table", "<table border=1><tr><td>", ""},
    {"in form", "<form action=f.html>", ""},
    {"each div", "", "<div align=center>"},
    {"each cell", "<table><tr>", "<td>"},
};

std::string Page(const Construct& c, const Shape& shape, bool attributes, const Mix& mix, size_t size) {
  std::string page = mix.before;
  if (c.text) {
    while (page.size() < size) page += mix.each + c.open;
    return page;
  }
  const std::string open = c.open + c.extra + (attributes ? kAllAttributes : "");
  const std::string unit = std::string(mix.each) + shape.unit(open, c.close);
  const size_t closeSize = shape.nested ? c.close.size() : 0;
  size_t count = 0;
  while (page.size() + count * closeSize < size) {
    page += unit;
    ++count;
  }
  if (shape.nested)
    for (size_t i = 0; i < count; ++i) page += c.close;
  return page;
}

// The processor time of this thread: other work on a shared machine adds far less to it than to the clock.
double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double LoadSeconds(const std::string& page) {
  const std::u16string text(page.begin(), page.end());
  HtmlDocument doc(nullptr, 0);
  FixedAdvanceMeasurer measurer(8);
  const double start = ThreadSeconds();
  LoadPage(doc, measurer, text, u"Arial", 15, u"file://C:\\temp\\page.html");
  HtmlLayoutPass layout(doc, nullptr);
  HtmlRect rect{0, 0, 800, 600};
  layout.Layout(doc.elements, rect);
  return ThreadSeconds() - start;
}

// The seconds of one load in a child process, or -1 when it took longer than limit (it is then stopped).
double TimedLoad(const std::string& page, int limit) {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  const pid_t child = fork();
  if (child == 0) {
    close(fds[0]);
    alarm(static_cast<unsigned>(limit));
    // The best of up to three loads: other work on the machine only ever adds time.
    double seconds = LoadSeconds(page);
    for (int round = 1; round < 3 && seconds < 0.5; ++round) seconds = std::min(seconds, LoadSeconds(page));
    if (write(fds[1], &seconds, sizeof seconds) != sizeof seconds) _exit(1);
    _exit(0);
  }
  close(fds[1]);
  double seconds = -1;
  if (read(fds[0], &seconds, sizeof seconds) != sizeof seconds) seconds = -1;
  close(fds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  return seconds;
}

struct Row {
  std::string label;
  double small = 0, large = 0;  // -1: over the limit
  double Ratio() const { return small > 0 && large > 0 ? large / small : -1; }
  bool Over() const { return large < 0 || Ratio() > kBound; }
};

std::string Seconds(double s, int limit) {
  char buffer[32];
  if (s < 0) std::snprintf(buffer, sizeof buffer, ">%d", limit);
  else std::snprintf(buffer, sizeof buffer, "%.4f", s);
  return buffer;
}

void Print(const Row& r, int limit) {
  char ratio[32];
  if (r.Ratio() >= 0) std::snprintf(ratio, sizeof ratio, "%.1f", r.Ratio());
  else if (r.small < 0) std::snprintf(ratio, sizeof ratio, "-");
  else std::snprintf(ratio, sizeof ratio, ">%.0f", limit / std::max(r.small, 1e-4));
  std::printf("%-58s %9s %9s %7s%s\n", r.label.c_str(), Seconds(r.small, limit).c_str(),
              Seconds(r.large, limit).c_str(), ratio, r.Over() ? "  OVER" : "");
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  const char* filter = argc > 1 ? argv[1] : "";
  const bool all = std::getenv("GROWTH_ALL") != nullptr;
  const int limit = std::getenv("GROWTH_LIMIT") ? std::max(1, std::atoi(std::getenv("GROWTH_LIMIT"))) : 20;
  std::printf("%-58s %9s %9s %7s\n", "construct (shape, attributes, mix)", "64 KB", "256 KB", "ratio");
  int over = 0, rows = 0;
  Row slowest;
  struct Worst {
    Construct c;
    const Shape* shape;
    bool attributes;
    const Mix* mix;
  } worst{};
  for (const Construct& c : Constructs()) {
    Row constructWorst;
    for (const Shape& shape : kShapes) {
      if (c.text && &shape != &kShapes[0]) continue;
      for (int attributes = 0; attributes < (c.text ? 1 : 2); ++attributes) {
        for (const Mix& mix : kMixes) {
          Row r;
          r.label = c.label;
          if (!c.text) r.label += std::string(" ") + shape.name + (attributes ? " attrs" : "");
          if (*mix.name) r.label += std::string(", ") + mix.name;
          if (!std::strstr(r.label.c_str(), filter)) continue;
          r.small = TimedLoad(Page(c, shape, attributes, mix, kSmall), limit);
          r.large = r.small < 0 ? -1 : TimedLoad(Page(c, shape, attributes, mix, kLarge), limit);
          // A ratio over the bound is measured again, so that one slow moment of the machine is not it.
          for (int retry = 0; retry < 2 && r.large > 0 && r.Ratio() > kBound; ++retry) {
            const double again = TimedLoad(Page(c, shape, attributes, mix, kLarge), limit);
            if (again >= 0) r.large = std::min(r.large, again);
          }
          ++rows;
          if (r.Over()) ++over;
          if (all || r.Over()) Print(r, limit);
          const auto key = [](const Row& x) { return x.large < 0 ? 1e9 : x.large; };
          if (constructWorst.label.empty() || key(r) > key(constructWorst)) constructWorst = r;
          if (slowest.label.empty() || key(r) > key(slowest)) {
            slowest = r;
            worst = {c, &shape, attributes != 0, &mix};
          }
        }
      }
    }
    if (!all && !constructWorst.label.empty() && !constructWorst.Over()) Print(constructWorst, limit);
  }
  std::printf("%d pages, %d over a ratio of %.0f or the limit\n", rows, over, kBound);
  if (worst.shape) {
    const double s = TimedLoad(Page(worst.c, *worst.shape, worst.attributes, *worst.mix, kLimitSize), limit);
    std::printf("5 MiB of the slowest (%s): %s s\n", slowest.label.c_str(), Seconds(s, limit).c_str());
  }
  return over == 0 ? 0 : 1;
}
