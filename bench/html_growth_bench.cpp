// How the page reader's work grows with the page. For every tag of the reader's known-tag table and every
// other construct its cleaner, parse pass and layout treat specially, builds pages of that construct
// repeated to two sizes (closed, nested, left open, without its ">", and left open but for one close at
// the end; bare and with every attribute the reader reads; alone, after an aligned div, inside a table,
// inside tables nested five deep, inside preformatted text, inside a form, each in an aligned div and each
// in a cell), loads and lays out each and prints the processor seconds and their ratio. Linear work gives
// about 4; a page that takes longer than the limit is stopped and shown as ">". Then the slowest rows are
// loaded at the preview's 5 MiB limit, with the peak memory of each load.
//   html_growth_bench [FILTER]     only the rows whose label contains FILTER
// Then pages of whole shapes: ordinary pages of nested tables, tables nested to the cap, spans, blocks of
// alternating alignment nested to the cap, form controls (made by a host that counts them), and mouse
// moves over pages of one link repeated and of links each its own (the moves alone timed, the host
// repainting as the viewer does what the page asks when the mouse enters or leaves a link).
// Environment: GROWTH_ALL=1 prints every row (else every row over the bound and the slowest row of each
// construct), GROWTH_LIMIT=SECONDS the processor time one load may take (default 20), GROWTH_JOBS=N rows
// measured at a time (default 1; each in its own process, timed by its own processor time).
#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/growth_measure.h"
#include "preview/html/html_browser_callbacks.h"
#include "preview/html/html_entities.h"
#include "preview/html/html_large_pages.h"
#include "preview/html/html_layout_pass.h"
#include "preview/html/html_page_load.h"
#include "preview/html/html_page_text.h"

namespace {

using namespace htmlview;

constexpr size_t kSmall = 64 * 1024, kLarge = 256 * 1024, kCheck = 1024 * 1024, kLimitSize = 5 * 1024 * 1024;
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
  std::string trailer{};  // once at the page's end
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
  // Titles each closed by a close the title's text does not end at, and the one that it does at the end.
  list.push_back({"</title > and a far </title>", "<title", "</title >", "", false, "</title>"});
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
    {"one close", [](const std::string& o, const std::string&) { return o + ">x "; }, false},
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
    // Every level measures its cells again: the most layout work a page can ask for its size.
    {"in 5 tables", "<table><tr><td><table><tr><td><table><tr><td><table><tr><td><table><tr><td>", ""},
    // White space kept: a line feed is a space and a break.
    {"in pre", "<pre>", ""},
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
  // Left open, then closed once at the very end: every opener's search for its close runs to the end.
  const bool closedOnce = std::strcmp(shape.name, "one close") == 0;
  const size_t closeSize = shape.nested ? c.close.size() : 0;
  size_t count = 0;
  while (page.size() + count * closeSize < size) {
    page += unit;
    ++count;
  }
  if (shape.nested)
    for (size_t i = 0; i < count; ++i) page += c.close;
  if (closedOnce) page += c.close;
  return page + c.trailer;
}

using growth::StopAfter;
using growth::ThreadSeconds;

std::string Narrow(const std::u16string& text) { return std::string(text.begin(), text.end()); }

// Repeats unit (after head, before tail) until the page has size bytes.
std::string Repeat(const std::string& head, const std::string& unit, const std::string& tail, size_t size) {
  std::string page = head;
  while (page.size() + tail.size() < size) page += unit;
  return page + tail;
}

// Tables nested to the parse pass's cap, each level a cell of words beside the next level.
std::string DeepTables(size_t size) {
  std::string open, close;
  for (int i = 0; i < 50; ++i) {
    open += "<table border=1><tr><td width=40>x</td><td>";
    close += "</td></tr></table>";
  }
  return Repeat(open, "word and more words ", close, size);
}

// Blocks of alternating alignment nested to the cap, and again.
std::string AlternatingBlocks(size_t size) {
  std::string unit;
  for (int i = 0; i < 60; ++i) unit += i % 2 ? "<div align=right>words " : "<div align=center>more ";
  for (int i = 0; i < 60; ++i) unit += "</div>";
  return Repeat("", unit, "", size);
}

// Links each to a page of its own, between words.
std::string DistinctLinks(size_t size) {
  std::string page;
  for (size_t i = 0; page.size() < size; ++i) page += "<a href=l" + std::to_string(i) + ".html>a link</a> and words ";
  return page;
}

struct Generated {
  const char* label;
  std::string (*page)(size_t size);
  bool moves = false;  // time mouse moves over the laid-out page rather than its load
  bool bytes = false;  // the page's bytes read as the viewer reads a file (its charset looked for) first
};

const Generated kGenerated[] = {
    {"forum pages (tables nested 6 deep)", [](size_t size) { return Narrow(ForumPage(static_cast<int>(size / 570))); }},
    {"widths nested 8 deep", [](size_t size) { return Narrow(NestedWidthTables(8, static_cast<int>(size / 1800), 16)); }},
    {"tables nested to the cap", DeepTables},
    {"rowspans of 1000, a row each",
     [](size_t size) { return Repeat("<table border=1>", "<tr><td rowspan=1000>a</td><td>b</td></tr>", "</table>", size); }},
    {"colspans of 255 and rowspans of 1000",
     [](size_t size) { return Repeat("<table><tr><td colspan=255 rowspan=1000>a</td></tr>", "<tr><td>b</td></tr>", "</table>", size); }},
    {"cells with rowspans, many a row",
     [](size_t size) { return Repeat("<table>", "<tr><td rowspan=50>a<td rowspan=50>b<td rowspan=50>c", "</table>", size); }},
    {"alternating alignment nested to the cap", AlternatingBlocks},
    {"selects", [](size_t size) { return Repeat("<form action=f>", "<select name=s>", "", size); }},
    {"wide inputs", [](size_t size) { return Repeat("<form action=f>", "<input size=1000>", "", size); }},
    {"selects in 5 tables",
     [](size_t size) { return Repeat("<table><tr><td><table><tr><td><table><tr><td><table><tr><td><table><tr><td>",
                                     "<select name=s><option>one<option>two</select> ", "", size); }},
    {"mouse moves over one link repeated",
     [](size_t size) { return Repeat("", "<a href=l.html>a link</a> and words ", "", size); }, true},
    {"mouse moves over distinct links", DistinctLinks, true},
    {"a head of metas naming no charset, read from its bytes",
     [](size_t size) {
       return Repeat("<html><head>", "<meta http-equiv=content-type content=\"text/html\">", "</head>x", size);
     }, false, true},
    {"comments in a head, read from its bytes",
     [](size_t size) { return Repeat("<html><head>", "<!-- <meta name=a> -->", "</head>x", size); }, false, true},
};

// A host that makes every control it is asked for (as a window would be) and counts them, and repaints
// what a mouse over a link asks as the viewer does.
class CountingHost : public NullHtmlCallbacks {
 public:
  explicit CountingHost(HtmlDocument*& doc) : doc_(doc) {}
  void OnLinkHover(int over, const char16_t* url) override { hover_.Report(*doc_, over, url); }
  void InvalidateDocumentRect(const HtmlRect&) override { ++repaints; }
  int AddForm(const char16_t*, const char16_t*) override { return 0; }
  HtmlWindowHandle CreateEdit(int, int, int, int, const char16_t*, int, const char16_t*, int, int) override { return Made(); }
  HtmlWindowHandle CreatePushButton(int, int, const char16_t*, const char16_t*, int) override { return Made(); }
  HtmlWindowHandle CreateRadioButton(int, int, const char16_t*, const char16_t*, int) override { return Made(); }
  HtmlWindowHandle CreateCheckBox(int, int, const char16_t*, const char16_t*, int) override { return Made(); }
  HtmlWindowHandle CreateDropDownList(int, int, const StringTable&, int, const char16_t*, int) override { return Made(); }
  HtmlWindowHandle Made() { return static_cast<HtmlWindowHandle>(++controls); }
  int controls = 0;
  long long repaints = 0;

 private:
  HtmlDocument*& doc_;
  HtmlLinkHover hover_;
};

constexpr int kMoves = 2000;

// The mouse moves over a laid-out page, spread over its width and height.
void MoveOver(HtmlDocument& doc, int bottom, int moves) {
  for (int i = 0; i < moves; ++i) doc.OnMouseMove((i * 37) % 800, static_cast<int>((i * 7919LL) % bottom));
}

// The seconds of loading and laying out the page (with bytes, read from its bytes first); with moves, of
// kMoves mouse moves over it afterwards. repaints (when given) receives the repaint requests a move asks
// for, on average.
double LoadSeconds(const std::string& page, bool moves = false, double* repaints = nullptr, bool bytes = false) {
  HtmlDocument* shown = nullptr;
  CountingHost host(shown);
  HtmlDocument doc(&host, 0);
  shown = &doc;
  FixedAdvanceMeasurer measurer(8);
  double start = ThreadSeconds();
  const CodePageReader widen = [](std::string_view b, uint32_t) { return std::u16string(b.begin(), b.end()); };
  const auto* data = reinterpret_cast<const uint8_t*>(page.data());
  const std::u16string text =
      bytes ? PageTextFromBytes(data, page.size(), widen, true) : std::u16string(page.begin(), page.end());
  LoadPage(doc, measurer, text, u"Arial", 15, u"file://C:\\temp\\page.html");
  HtmlLayoutPass layout(doc, nullptr);
  HtmlRect rect{0, 0, 800, 600};
  layout.Layout(doc.elements, rect);
  if (!moves) return ThreadSeconds() - start;
  int bottom = 1;
  for (const auto& e : doc.elements) bottom = std::max(bottom, e ? e->y + e->height : 0);
  doc.OnMouseMove(0, 0);  // whatever the first move prepares is part of the page's load
  if (repaints) {
    host.repaints = 0;
    MoveOver(doc, bottom, 20);
    *repaints = static_cast<double>(host.repaints) / 20;
    return 0;
  }
  start = ThreadSeconds();
  MoveOver(doc, bottom, kMoves);
  return ThreadSeconds() - start;
}

// The best of several loads (at least three, and `spend` seconds in all for a quick page): other work on
// the machine only ever adds time, and a page of a millisecond needs many tries to show its own.
double BestSeconds(const std::string& page, double spend = 0.05, bool moves = false, bool bytes = false) {
  double seconds = LoadSeconds(page, moves, nullptr, bytes), spent = seconds;
  for (int round = 1; round < 2000 && seconds < 0.5 && (round < 3 || spent < spend); ++round) {
    const double again = LoadSeconds(page, moves, nullptr, bytes);
    spent += again;
    seconds = std::min(seconds, again);
  }
  return seconds;
}

struct Row {
  std::string label;
  const Construct* construct = nullptr;
  const Shape* shape = nullptr;
  bool attributes = false;
  const Mix* mix = nullptr;
  const Generated* generated = nullptr;
  double small = -1, large = -1;  // -1: over the limit
  bool limitPage = false;         // measure only the page at the preview's size limit, once, into small
  double peak = -1;               // then the peak memory of its process, in MiB
  double repaints = -1;           // and for mouse moves, the repaint requests a move asks
  double Ratio() const { return small > 0 && large > 0 ? large / small : -1; }
  // A quick page whose ratio is over the bound at 256 KB is loaded at 1 MiB too: work that only crossed a
  // cache's size on the way is linear from there on, growth goes on.
  double check = -1;  // the ratio of 1 MiB to 256 KB, when measured
  bool Over() const { return large < 0 || (Ratio() > kBound && !(check > 0 && check <= kBound)); }
  std::string PageOf(size_t size) const {
    return generated ? generated->page(size) : Page(*construct, *shape, attributes, *mix, size);
  }
  bool Moves() const { return generated && generated->moves; }
  bool Bytes() const { return generated && generated->bytes; }
};

// Measures one row in a child process, each load stopped after limit seconds of processor time: the small page, then the
// large one (again when the ratio is over the bound, so that one slow moment of the machine is not it).
struct Child {
  pid_t pid = -1;
  int pipe = -1;
  size_t row = 0;
};

Child Start(const Row& r, size_t index, int limit) {
  int fds[2];
  if (pipe(fds) != 0) std::abort();
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    // Freed memory is kept for the next load rather than handed back and faulted in again, so that the
    // best load shows the reader's work rather than the kernel's first touch of a large page's buffers.
    mallopt(M_MMAP_THRESHOLD, 1 << 30);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    StopAfter(limit);
    if (r.limitPage) {
      // The repaints a move asks first: a page too slow to move over in time still shows them.
      const std::string page = r.PageOf(kLimitSize);
      double repaints = -1;
      if (r.Moves()) LoadSeconds(page, true, &repaints);
      if (write(fds[1], &repaints, sizeof repaints) != sizeof repaints) _exit(1);
      double got[2] = {LoadSeconds(page, r.Moves(), nullptr, r.Bytes()), 0};
      rusage used{};
      getrusage(RUSAGE_SELF, &used);
      got[1] = static_cast<double>(used.ru_maxrss) / 1024;
      if (write(fds[1], got, sizeof got) != sizeof got) _exit(1);
      _exit(0);
    }
    const double small = BestSeconds(r.PageOf(kSmall), 0.05, r.Moves(), r.Bytes());
    if (write(fds[1], &small, sizeof small) != sizeof small) _exit(1);
    const std::string page = r.PageOf(kLarge);
    StopAfter(limit);
    double large = BestSeconds(page, 0.05, r.Moves(), r.Bytes());
    if (write(fds[1], &large, sizeof large) != sizeof large) _exit(1);
    // A ratio over the bound is measured again, both pages for longer, so that a slow moment of a shared
    // machine is not taken for growth.
    if (large / small > kBound) {
      StopAfter(limit);
      double again[3] = {BestSeconds(r.PageOf(kSmall), 0.5, r.Moves(), r.Bytes()),
                         BestSeconds(page, 0.5, r.Moves(), r.Bytes()), -1};
      again[0] = std::min(again[0], small);
      again[1] = std::min(again[1], large);
      if (again[1] / again[0] > kBound) again[2] = BestSeconds(r.PageOf(kCheck), 0.5, r.Moves(), r.Bytes()) / again[1];
      if (write(fds[1], again, sizeof again) != sizeof again) _exit(1);
    }
    _exit(0);
  }
  close(fds[1]);
  return {pid, fds[0], index};
}

void Finish(const Child& c, Row& r) {
  double got[5] = {-1, -1, -1, -1, -1};
  size_t have = 0;
  char* into = reinterpret_cast<char*>(got);
  for (ssize_t n; have < sizeof got && (n = read(c.pipe, into + have, sizeof got - have)) > 0;)
    have += static_cast<size_t>(n);
  close(c.pipe);
  if (r.limitPage) {
    r.repaints = have >= sizeof(double) ? got[0] : -1;
    r.small = have >= 2 * sizeof(double) ? got[1] : -1;
    r.peak = have >= 3 * sizeof(double) ? got[2] : -1;
    return;
  }
  r.small = have >= sizeof(double) ? got[0] : -1;
  r.large = have >= 2 * sizeof(double) ? got[1] : -1;
  if (have == sizeof got) {  // measured again
    r.small = got[2];
    r.large = got[3];
    r.check = got[4];
  }
}

// Measures every row, jobs at a time.
void MeasureAll(std::vector<Row>& rows, int jobs, int limit) {
  std::vector<Child> running;
  size_t next = 0;
  while (next < rows.size() || !running.empty()) {
    while (next < rows.size() && static_cast<int>(running.size()) < jobs) {
      running.push_back(Start(rows[next], next, limit));
      ++next;
    }
    const pid_t done = waitpid(-1, nullptr, 0);
    for (size_t i = 0; i < running.size(); ++i) {
      if (running[i].pid != done) continue;
      Finish(running[i], rows[running[i].row]);
      running.erase(running.begin() + static_cast<long>(i));
      break;
    }
  }
}

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
  if (r.check > 0) std::printf("%-58s 1 MiB / 256 KB: %.1f\n", "", r.check);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  const char* filter = argc > 1 ? argv[1] : "";
  const bool all = std::getenv("GROWTH_ALL") != nullptr;
  const int limit = std::getenv("GROWTH_LIMIT") ? std::max(1, std::atoi(std::getenv("GROWTH_LIMIT"))) : 20;
  const int jobs = std::getenv("GROWTH_JOBS") ? std::max(1, std::atoi(std::getenv("GROWTH_JOBS"))) : 1;
  const std::vector<Construct> constructs = Constructs();
  std::vector<Row> rows;
  for (const Construct& c : constructs)
    for (const Shape& shape : kShapes) {
      if (c.text && &shape != &kShapes[0]) continue;
      for (int attributes = 0; attributes < (c.text ? 1 : 2); ++attributes)
        for (const Mix& mix : kMixes) {
          Row r{c.label, &c, &shape, attributes != 0, &mix};
          if (!c.text) r.label += std::string(" ") + shape.name + (attributes ? " attrs" : "");
          if (*mix.name) r.label += std::string(", ") + mix.name;
          if (std::strstr(r.label.c_str(), filter)) rows.push_back(r);
        }
    }
  const size_t constructRows = rows.size();
  for (const Generated& g : kGenerated) {
    Row r{g.label};
    r.generated = &g;
    if (std::strstr(r.label.c_str(), filter)) rows.push_back(r);
  }
  MeasureAll(rows, jobs, limit);

  std::printf("%-58s %9s %9s %7s\n", "construct (shape, attributes, mix)", "64 KB", "256 KB", "ratio");
  const auto key = [](const Row& x) { return x.large < 0 ? 1e9 + x.small : x.large; };
  int over = 0;
  for (size_t i = 0; i < rows.size();) {
    // The rows of one construct: every row over the bound, or else its slowest.
    size_t end = i;
    const Row* worst = nullptr;
    for (; end < rows.size() && rows[end].construct == rows[i].construct && (end == i || i < constructRows); ++end) {
      const Row& r = rows[end];
      if (r.Over()) ++over;
      if (all || r.Over() || r.check > 0) Print(r, limit);
      if (!worst || key(r) > key(*worst)) worst = &r;
    }
    if (!all && !worst->Over()) Print(*worst, limit);
    i = end;
  }
  std::printf("%zu pages, %d over a ratio of %.0f or the limit\n", rows.size(), over, kBound);
  // The preview's size limit: the eight slowest rows at 256 KB and the heaviest pages loaded at 5 MiB (the
  // slowest at one size need not be the slowest at another), each in a child stopped after limit seconds.
  std::vector<Row> largest(rows);
  std::sort(largest.begin(), largest.end(), [&](const Row& a, const Row& b) { return key(a) > key(b); });
  largest.resize(std::min<size_t>(largest.size(), 8));
  // The pages that make the most elements and layout work for their size: their layout is sized from the
  // room it has only past a size, so the slowest at 256 KB need not be them.
  for (const char* label : {"<p open, in table", "<h3 open, in table", "<br open, in pre", "<p nested, in 5 tables",
                            "<p open, in 5 tables", "alternating alignment nested to the cap",
                            "mouse moves over one link repeated", "mouse moves over distinct links", "selects"})
    for (const Row& r : rows)
      if (r.label == label &&
          std::none_of(largest.begin(), largest.end(), [&](const Row& x) { return x.label == label; }))
        largest.push_back(r);
  for (Row& r : largest) r.limitPage = true;
  MeasureAll(largest, 1, limit);  // one at a time: a page of 5 MiB may take 2 GB
  double worst = 0;
  for (const Row& r : largest) {
    char peak[32] = "-";
    if (r.peak >= 0) std::snprintf(peak, sizeof peak, "%.0f", r.peak);
    std::printf("5 MiB: %-51s %9s s %6s MiB", r.label.c_str(), Seconds(r.small, limit).c_str(), peak);
    if (r.repaints >= 0) std::printf(", repaints a move: %.0f", r.repaints);
    std::printf("\n");
    worst = r.small < 0 ? 1e9 : std::max(worst, r.small);
  }
  if (!largest.empty()) std::printf("5 MiB, the slowest: %s s\n", Seconds(worst >= 1e9 ? -1 : worst, limit).c_str());
  return over == 0 ? 0 : 1;
}
