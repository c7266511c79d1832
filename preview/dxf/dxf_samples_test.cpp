// Drawings written by ezdxf, one per kind of entity and a floor plan that mixes them: what our reader and
// flattening make of each entity lies on the points ezdxf's own flattening gives (of a mesh, on the edges of
// its faces), mapped through the fit of a 640 x 480 window, and nothing more is drawn; entities on layers that are off or frozen are left out;
// texts read as ezdxf reads them without their formatting; the extents are the box of ezdxf's points.
#include <gtest/gtest.h>
#include <iconv.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "preview/dxf/dxf_curves.h"
#include "preview/dxf/dxf_paint_budget.h"
#include "preview/dxf/dxf_reader.h"
#include "preview/dxf/dxf_sample_oracle.h"
#include "preview/dxf/dxf_view_maths.h"

namespace {

using dxf::PixelPoint;
using Polylines = std::vector<std::vector<PixelPoint>>;

// Within a pixel: the chords of both flattenings are finer than that.
constexpr double kTolerance = 1.0;

std::string Sample(const std::string& name) { return std::string(DORVANE_DXF_SAMPLES) + "/" + name; }

// The library decodes a drawing's code page through the system; here the C library's iconv does.
bool Iconv(std::string_view bytes, unsigned page, std::string& utf8) {
  iconv_t cd = iconv_open("UTF-8", ("CP" + std::to_string(page)).c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  std::string in(bytes);
  utf8.assign(4 * in.size() + 4, '\0');
  char *from = in.data(), *to = utf8.data();
  size_t left = in.size(), room = utf8.size();
  const bool ok = iconv(cd, &from, &left, &to, &room) != static_cast<size_t>(-1);
  iconv_close(cd);
  utf8.resize(utf8.size() - room);
  return ok;
}

struct Drawn {
  dxf::ViewProperties view;
  Polylines lines;  // every entity drawn as lines, in pixels
  std::vector<std::string> texts;
};

Drawn Draw(const dxf::Drawing& drawing) {
  Drawn drawn;
  drawn.view.right = 640;
  drawn.view.bottom = 480;
  dxf::ZoomToExtents(drawn.view, drawing.extents);
  for (const dxf::Entity& e : drawing.entities) {
    if (e.kind == dxf::EntityKind::kText) {
      drawn.texts.push_back(e.text);
      continue;
    }
    std::vector<PixelPoint> line;
    const std::vector<dxf::Point> outline =
        e.kind == dxf::EntityKind::kPoint ? e.points : dxf::Outline(e, dxf::ScreenScale(drawn.view));
    for (dxf::Point p : outline) line.push_back(dxf::ToPixels(drawn.view, p));
    drawn.lines.push_back(line);
  }
  return drawn;
}

// The farthest that the points of some polylines, their corners and every few pixels between, lie from others.
double FarthestAlong(const Polylines& lines, const Polylines& others) {
  constexpr double kStep = 3;
  double farthest = 0;
  for (const auto& line : lines) {
    for (size_t i = 0; i < line.size(); ++i) {
      farthest = std::max(farthest, dxf_test::PolylinesDistance(line[i], others));
      if (i == 0) continue;
      const PixelPoint a = line[i - 1], b = line[i];
      const int steps = static_cast<int>(std::hypot(b.x - a.x, b.y - a.y) / kStep);
      for (int k = 1; k < steps; ++k) {
        const double t = static_cast<double>(k) / steps;
        farthest = std::max(farthest, dxf_test::PolylinesDistance({a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)}, others));
      }
    }
  }
  return farthest;
}

class DxfSamples : public ::testing::TestWithParam<const char*> {};

TEST_P(DxfSamples, DrawWhatEzdxfDraws) {
  const std::string name = GetParam();
  std::ifstream in(Sample(name + ".dxf"), std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_FALSE(bytes.empty()) << name;
  const dxf::Drawing drawing = dxf::ReadDrawing(bytes.data(), bytes.size(), {}, Iconv);
  ASSERT_EQ(drawing.status, dxf::ReadStatus::kOk) << drawing.message;
  const dxf_test::Oracle oracle = dxf_test::ReadOracle(Sample(name + ".points"));
  ASSERT_TRUE(oracle.read) << name;
  const Drawn drawn = Draw(drawing);

  // Every point ezdxf puts on a shown entity is on what we draw; none of a hidden one is.
  Polylines expected;
  double worst = 0;
  for (const auto& curve : oracle.curves) {
    std::vector<PixelPoint> line;
    for (dxf::Point p : curve.points) {
      const PixelPoint at = dxf::ToPixels(drawn.view, p);
      const double d = dxf_test::PolylinesDistance(at, drawn.lines);
      if (curve.shown) {
        worst = std::max(worst, d);
        line.push_back(at);
      } else {
        EXPECT_GT(d, 2 * kTolerance) << name << ": a hidden entity's point (" << p.x << ", " << p.y << ") is drawn";
      }
    }
    if (curve.shown) expected.push_back(line);
  }
  for (const auto& point : oracle.points) {
    expected.push_back({dxf::ToPixels(drawn.view, point.points[0])});
    worst = std::max(worst, dxf_test::PolylinesDistance(expected.back()[0], drawn.lines));
  }
  EXPECT_LE(worst, kTolerance) << name << ": the farthest point of ezdxf's from ours, pixels";

  // Along every segment, every few pixels: a segment ezdxf draws that we leave out, and one we draw that ezdxf
  // does not (between two points that are both on the drawing, as a mesh's corners are), shows between its ends.
  EXPECT_LE(FarthestAlong(expected, drawn.lines), kTolerance) << name << ": ezdxf's segments from ours, pixels";
  EXPECT_LE(FarthestAlong(drawn.lines, expected), kTolerance) << name << ": our segments from ezdxf's, pixels";

  // The extents hold every point ezdxf puts on a shown entity; without texts (whose width is estimated) they
  // are the box of those points. ezdxf draws curves as Bezier pieces flattened within a 4000th of the
  // drawing's size: so near to the curves lie its points.
  dxf::Extents box;
  for (const auto& curve : oracle.curves)
    if (curve.shown)
      for (dxf::Point p : curve.points) box.Add(p);
  for (const auto& point : oracle.points) box.Add(point.points[0]);
  const double slack = std::max(box.maxX - box.minX, box.maxY - box.minY) / 4000;
  const dxf::Extents& ours = drawing.extents;
  EXPECT_LE(ours.minX, box.minX + slack) << name;
  EXPECT_LE(ours.minY, box.minY + slack) << name;
  EXPECT_GE(ours.maxX, box.maxX - slack) << name;
  EXPECT_GE(ours.maxY, box.maxY - slack) << name;
  if (oracle.texts.empty()) {
    EXPECT_NEAR(ours.minX, box.minX, slack) << name;
    EXPECT_NEAR(ours.minY, box.minY, slack) << name;
    EXPECT_NEAR(ours.maxX, box.maxX, slack) << name;
    EXPECT_NEAR(ours.maxY, box.maxY, slack) << name;
  }

  std::vector<std::string> want;
  for (const auto& text : oracle.texts)
    for (const std::string& line : text.lines)
      if (text.shown && !line.empty()) want.push_back(line);
  std::vector<std::string> got = drawn.texts;
  std::sort(want.begin(), want.end());
  std::sort(got.begin(), got.end());
  EXPECT_EQ(got, want) << name;
}

// ---- drawings of ordinary size ----------------------------------------------------------------------------

// What one paint drew, through the painter's own seam.
struct Tally : dxf::PaintSink {
  std::multiset<std::string> drawn;
  void Mark(const dxf::Entity& e) override { drawn.insert(dxf_test::Key(e)); }
  void Dot(const dxf::Entity& e, dxf::PixelPoint) override { drawn.insert(dxf_test::Key(e)); }
  void Outline(const dxf::Entity& e, const std::vector<dxf::Point>& points) override {
    if (!points.empty()) drawn.insert(dxf_test::Key(e));
  }
};

// A town map of 1,500 streets each named at its own angle, and a plate of 105,738 holes, written by ezdxf:
// every entity in view is drawn by one paint, fitted to windows of two sizes and after each of three wheel
// steps in.
TEST(DxfLargeSamples, EveryEntityInViewIsDrawn) {
  for (const char* name : {"streets", "circles"}) {
    std::ifstream in(Sample(std::string(name) + ".dxf"), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const dxf::Drawing drawing = dxf::ReadDrawing(bytes.data(), bytes.size());
    ASSERT_EQ(drawing.status, dxf::ReadStatus::kOk) << name;
    const dxf_test::Oracle oracle = dxf_test::ReadOracle(Sample(std::string(name) + ".points"));
    ASSERT_TRUE(oracle.read) << name;
    for (const auto& [width, height] : {std::pair(640, 480), std::pair(1024, 700)}) {
      dxf::ViewProperties view;
      view.right = width;
      view.bottom = height;
      dxf::ZoomToExtents(view, drawing.extents);
      for (int step = 0; step <= 3; ++step) {
        SCOPED_TRACE(::testing::Message() << name << " in " << width << " x " << height << ", wheel step " << step);
        Tally tally;
        const dxf::PaintTally painted = dxf::PaintWithinBudget(drawing.entities, view, 2, tally);
        const std::vector<std::string> wanted = dxf_test::InView(oracle, view);
        size_t missing = 0;
        for (const std::string& key : wanted) missing += tally.drawn.count(key) == 0 ? 1 : 0;
        EXPECT_EQ(missing, 0u) << "of " << wanted.size() << " in view";
        EXPECT_GT(wanted.size(), 400u);
        EXPECT_FALSE(painted.simplified);
        ASSERT_TRUE(dxf::ZoomAboutCentre(view, view.zoom * 1.5));
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Ezdxf, DxfSamples,
                         ::testing::Values("bulges", "ellipses", "splines", "paragraphs", "dimensions", "hatches",
                                           "solids", "attributes", "references", "mirrored", "layers", "plan",
                                           "layouts", "codepage", "polyface", "polymesh", "marked"));

}  // namespace
