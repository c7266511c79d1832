// How the work of the DXF and archive viewers grows with the file. For each shape whose work can outgrow
// its bytes (a block naming itself, references to a block that is not there, references at the top; every
// kind of entity the reader knows side by side and nested in blocks; references that scale, turn and
// mirror; a spline and a polyline of bulges of 250 points referenced over and over; a ZIP of many members)
// builds the file at two sizes, four times apart, and prints the processor seconds of reading it, of one
// paint at 800 by 600 pixels (the drawing library's work but for GDI's: the segments drawn, and what the
// budget charges a text), or of listing it (the rows the list shows, but for the window), and their ratio:
// linear work gives about 4, a row over 6 fails, and so does a file of 100 KB that takes over a second. A
// measurement stopped at the limit shows as ">". With DXF_ORDINARY_DRAWINGS naming the folder that
// make_dxf_samples.py --bench wrote, ordinary drawings written by ezdxf too: a town map of 375 and 1,500
// streets each named at its own angle, and a survey of 26,434 and 105,738 trees, read and painted (fitted,
// and after three wheel steps in).
//   viewer_growth_bench [FILTER]      only the rows whose label contains FILTER
// Environment: GROWTH_LIMIT=SECONDS the processor time one measurement may take (default 20).
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "bench/growth_measure.h"
#include "preview/archive/archive_rows.h"
#include "preview/archive/zip_reader.h"
#include "preview/dxf/dxf_hostile_drawings.h"
#include "preview/dxf/dxf_paint_budget.h"
#include "preview/dxf/dxf_reader.h"

namespace {

constexpr double kBound = 6;
constexpr double kMostSecondsAt100KB = 1;

// A ZIP of empty stored members "m0000000"..., up to about bytes.
std::string ManyMemberZip(size_t bytes) {
  auto put = [](std::string& out, uint64_t value, int size) {
    for (int i = 0; i < size; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  std::string local, central;
  uint32_t count = 0;
  while (local.size() + central.size() < bytes) {
    char name[16];
    std::snprintf(name, sizeof name, "m%07u", count++);
    const uint32_t at = static_cast<uint32_t>(local.size());
    put(local, 0x04034b50, 4);
    put(local, 10, 2), put(local, 0, 2), put(local, 0, 2), put(local, 0, 2), put(local, 0x5284, 2);
    put(local, 0, 4), put(local, 0, 4), put(local, 0, 4), put(local, 8, 2), put(local, 0, 2);
    local += name;
    put(central, 0x02014b50, 4);
    put(central, 20, 2), put(central, 10, 2), put(central, 0, 2), put(central, 0, 2), put(central, 0, 2);
    put(central, 0x5284, 2), put(central, 0, 4), put(central, 0, 4), put(central, 0, 4), put(central, 8, 2);
    put(central, 0, 2), put(central, 0, 2), put(central, 0, 2), put(central, 0, 2), put(central, 0x20, 4);
    put(central, at, 4);
    central += name;
  }
  std::string zip = local + central;
  put(zip, 0x06054b50, 4);
  put(zip, 0, 2), put(zip, 0, 2), put(zip, std::min<uint32_t>(count, 0xFFFF), 2);
  put(zip, std::min<uint32_t>(count, 0xFFFF), 2), put(zip, central.size(), 4), put(zip, local.size(), 4);
  put(zip, 0, 2);
  return zip;
}

enum class Work { kRead, kPaint, kPaintZoomed, kList };

struct Row {
  std::string label;
  Work work;
  std::function<std::string(size_t bytes)> make;
  size_t small;
  std::string sizes = "";  // what the two sizes are, when not bytes
  double seconds[2] = {-1, -1};  // -1: over the limit
  double items[2] = {0, 0};      // entities read, outline points painted or rows listed
  double Ratio() const { return seconds[0] > 0 && seconds[1] > 0 ? seconds[1] / seconds[0] : -1; }
  bool Slow() const { return small * 4 == (100u << 10) && seconds[1] > kMostSecondsAt100KB; }
  bool Over() const { return seconds[1] < 0 || Ratio() > kBound || Slow(); }
};

// The painter's own maths but for GDI: each outline's segments mapped to pixels and cut to the window.
struct Segments : dxf::PaintSink {
  explicit Segments(const dxf::ViewProperties& v) : view(v) {}
  void Mark(const dxf::Entity&) override { ++drawn; }  // the budget charges a text its glyphs
  void Dot(const dxf::Entity&, dxf::PixelPoint) override { ++drawn; }
  void Outline(const dxf::Entity&, const std::vector<dxf::Point>& points) override {
    for (size_t i = 1; i < points.size(); ++i) {
      dxf::PixelPoint a = dxf::ToPixels(view, points[i - 1]), b = dxf::ToPixels(view, points[i]);
      if (dxf::ClipSegment(a, b, view.left - 2, view.top - 2, view.right + 2, view.bottom + 2)) ++drawn;
    }
  }
  const dxf::ViewProperties& view;
  size_t drawn = 0;
};

// The seconds of one run of the work, repeated until the runs have taken a fiftieth of a second, per run:
// a few hundred microseconds alone are mostly the clock's noise.
template <typename Work>
double Timed(Work work) {
  double total = 0;
  int runs = 0;
  do {
    const double start = growth::ThreadSeconds();
    work();
    total += growth::ThreadSeconds() - start;
    ++runs;
  } while (total < 0.02);
  return total / runs;
}

// The seconds of one measurement and what it made.
double Measure(const Row& r, const std::string& file, double* items) {
  if (r.work == Work::kList) {
    return Timed([&] {
      ZipHandle* zip = ZipOpen(file.data(), static_cast<uint32_t>(file.size()), kZipMemoryKind);
      size_t rows = 0;
      if (zip != nullptr) {
        archive::ForEachZipRow(zip, [&](const ZipEntry& e) { rows += archive::ZipRowTexts(e).size() / 7; });
        ZipCloseReader(zip);
      }
      *items = static_cast<double>(rows);
    });
  }
  if (r.work == Work::kRead) {
    return Timed([&] { *items = static_cast<double>(dxf::ReadDrawing(file.data(), file.size()).entities.size()); });
  }
  const dxf::Drawing d = dxf::ReadDrawing(file.data(), file.size());
  dxf::ViewProperties view;
  view.right = 800;
  view.bottom = 600;
  dxf::ZoomToExtents(view, d.extents);
  if (r.work == Work::kPaintZoomed) dxf::ZoomAboutCentre(view, 3.375);
  return Timed([&] {
    Segments segments(view);
    dxf::PaintWithinBudget(d.entities, view, 2, segments);
    *items = static_cast<double>(segments.drawn);
  });
}

// The best of three, in a child stopped after limit seconds of processor time.
void MeasureInChild(Row& r, int limit) {
  int fds[2];
  if (pipe(fds) != 0) std::abort();
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    for (int size = 0; size < 2; ++size) {
      const std::string file = r.make(r.small << (2 * size));
      growth::StopAfter(limit);
      double got[2] = {1e9, 0};
      for (int round = 0; round < 3; ++round) got[0] = std::min(got[0], Measure(r, file, &got[1]));
      if (write(fds[1], got, sizeof got) != sizeof got) _exit(1);
    }
    _exit(0);
  }
  close(fds[1]);
  double got[4] = {-1, 0, -1, 0};
  size_t have = 0;
  char* into = reinterpret_cast<char*>(got);
  for (ssize_t n; have < sizeof got && (n = read(fds[0], into + have, sizeof got - have)) > 0;)
    have += static_cast<size_t>(n);
  close(fds[0]);
  waitpid(pid, nullptr, 0);
  r.seconds[0] = got[0], r.items[0] = got[1], r.seconds[1] = got[2], r.items[1] = got[3];
}

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The ordinary drawings' rows: the quarter's file for the small size, the whole one for the large.
void AddOrdinaryDrawings(std::vector<Row>& rows, const std::string& folder) {
  const struct {
    const char* name;
    const char* label;
    const char* sizes;
  } drawings[] = {{"streets", "a town map named at many angles", "375, 1,500 streets"},
                  {"circles", "a survey of trees", "26,434, 105,738 circles"}};
  for (const auto& drawing : drawings) {
    const std::string base = folder + "/" + drawing.name;
    auto make = [base](size_t size) { return FileBytes(base + (size == 1 ? "-quarter.dxf" : "-full.dxf")); };
    for (const auto& [work, verb] : {std::pair(Work::kRead, "DXF read: "), std::pair(Work::kPaint, "DXF paint: "),
                                     std::pair(Work::kPaintZoomed, "DXF paint, 3 wheel steps in: ")})
      rows.push_back({verb + std::string(drawing.label), work, make, 1, drawing.sizes});
  }
}

std::string Seconds(double s, int limit) {
  char buffer[32];
  if (s < 0) std::snprintf(buffer, sizeof buffer, ">%d", limit);
  else std::snprintf(buffer, sizeof buffer, "%.4f", s);
  return buffer;
}

}  // namespace

int main(int argc, char** argv) {
  const char* filter = argc > 1 ? argv[1] : "";
  const int limit = std::getenv("GROWTH_LIMIT") ? std::max(1, std::atoi(std::getenv("GROWTH_LIMIT"))) : 20;
  constexpr size_t kDxf = 16 << 10, kZip = 1 << 20, kKinds = 25 << 10;
  std::vector<Row> rows = {
      {"DXF read: a block naming itself", Work::kRead, dxf_test::SelfNamingBlock, kDxf},
      {"DXF read: references to a missing block", Work::kRead, dxf_test::MissingBlocks, kDxf},
      {"DXF read: references at the top", Work::kRead, dxf_test::TopInserts, kDxf},
      {"DXF read: circles nested in blocks", Work::kRead, dxf_test::NestedCircles, kDxf},
      // Ten thousand circles from 512 bytes, a million (the reader's limit) from 2 KB.
      {"DXF paint: circles nested in blocks", Work::kPaint, dxf_test::NestedCircles, 512},
      {"DXF paint: circles nested in blocks", Work::kPaint, dxf_test::NestedCircles, kDxf},
      {"DXF paint: references at the top", Work::kPaint, dxf_test::TopInserts, kDxf},
      {"DXF paint: circles side by side", Work::kPaint, dxf_test::TopCircles, kDxf},
      {"ZIP list: empty members", Work::kList, ManyMemberZip, kZip},
  };
  // Every kind of entity the reader knows, read and painted, at 25 and 100 KB.
  for (const dxf_test::EntityKindMaker& kind : dxf_test::EveryKind()) {
    const dxf_test::EntityMaker make = kind.make;
    for (Work work : {Work::kRead, Work::kPaint}) {
      const std::string verb = work == Work::kRead ? "DXF read: " : "DXF paint: ";
      rows.push_back({verb + kind.name + " side by side", work, [make](size_t b) { return dxf_test::SideBySide(make, b); }, kKinds});
      rows.push_back({verb + kind.name + " nested in blocks", work, [make](size_t b) { return dxf_test::Nested(make, b); }, kKinds});
    }
  }
  for (Work work : {Work::kRead, Work::kPaint}) {
    const std::string verb = work == Work::kRead ? "DXF read: " : "DXF paint: ";
    rows.push_back({verb + "references that scale 1:2", work, dxf_test::NestedScaled, kKinds});
    rows.push_back({verb + "references that turn", work, dxf_test::NestedTurned, kKinds});
    rows.push_back({verb + "references that mirror", work, dxf_test::NestedMirrored, kKinds});
    rows.push_back({verb + "a spline of 250 points referenced over and over", work, dxf_test::ReferencedLongSpline, kKinds});
    rows.push_back({verb + "a polyline of 250 bulges referenced over and over", work, dxf_test::ReferencedLongPolyline, kKinds});
    rows.push_back({verb + "references at the top", work, dxf_test::TopInserts, kKinds});
  }
  if (const char* folder = std::getenv("DXF_ORDINARY_DRAWINGS")) AddOrdinaryDrawings(rows, folder);
  std::printf("%-72s %9s %9s %7s %11s %11s\n", "shape (sizes)", "small s", "large s", "ratio", "small items",
              "large items");
  int over = 0;
  for (Row& r : rows) {
    if (!std::strstr(r.label.c_str(), filter)) continue;
    MeasureInChild(r, limit);
    char ratio[32] = "-";
    if (r.Ratio() >= 0) std::snprintf(ratio, sizeof ratio, "%.1f", r.Ratio());
    const auto size = [](size_t bytes) {
      return bytes >= (1u << 20) ? std::to_string(bytes >> 20) + " MiB" : bytes >= 1024 ? std::to_string(bytes >> 10) + " KB"
                                                                                       : std::to_string(bytes) + " B";
    };
    const std::string sizes = r.sizes.empty() ? size(r.small) + ", " + size(r.small * 4) : r.sizes;
    const std::string label = r.label + " (" + sizes + ")";
    std::printf("%-72s %9s %9s %7s %11.0f %11.0f%s\n", label.c_str(), Seconds(r.seconds[0], limit).c_str(),
                Seconds(r.seconds[1], limit).c_str(), ratio, r.items[0], r.items[1],
                r.Slow() ? "  SLOW" : r.Over() ? "  OVER" : "");
    std::fflush(stdout);
    if (r.Over()) ++over;
  }
  std::printf("%d over a ratio of %.0f, the limit, or a second at 100 KB\n", over, kBound);
  return over == 0 ? 0 : 1;
}
