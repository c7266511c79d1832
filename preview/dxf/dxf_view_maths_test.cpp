#include "preview/dxf/dxf_view_maths.h"
#include "preview/dxf/dxf_paint_budget.h"
#include "preview/dxf/dxf_hostile_drawings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>
#include <string>

namespace {

dxf::ViewProperties Window(int w, int h) {
  dxf::ViewProperties view;
  view.right = w;
  view.bottom = h;
  return view;
}

TEST(DxfViewMaths, FittingCentresTheExtentsWithAMargin) {
  auto view = Window(200, 100);
  dxf::ZoomToExtents(view, dxf::Extents{0, 0, 10, 10, false});
  EXPECT_DOUBLE_EQ(view.pixelsPerUnit, 9.5);
  EXPECT_DOUBLE_EQ(view.zoom, 1);
  const auto centre = dxf::ToPixels(view, {5, 5});
  EXPECT_NEAR(centre.x, 100, 1e-9);
  EXPECT_NEAR(centre.y, 50, 1e-9);
  const auto corner = dxf::ToPixels(view, {0, 0});  // y grows upwards in the drawing, downwards on screen
  EXPECT_NEAR(corner.y, 97.5, 1e-9);

  auto flat = Window(100, 100);
  dxf::ZoomToExtents(flat, dxf::Extents{0, 3, 10, 3, false});  // one horizontal line
  EXPECT_TRUE(dxf::IsUsableView(flat));
  auto empty = Window(0, 0);
  dxf::ZoomToExtents(empty, dxf::Extents{});
  EXPECT_TRUE(dxf::IsUsableView(empty));
}

TEST(DxfViewMaths, ZoomKeepsTheCentreWhereItIs) {
  auto view = Window(300, 200);
  dxf::ZoomToExtents(view, dxf::Extents{-4, -2, 8, 6, false});
  const auto before = dxf::ToPixels(view, {2, 2});
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(dxf::ZoomAboutCentre(view, view.zoom * 1.5));
  EXPECT_DOUBLE_EQ(view.zoom, 3.375);
  // The drawing point at the centre stays at the centre.
  const double s = 1 / dxf::ScreenScale(view);
  EXPECT_NEAR(150 * s + view.originX, 2, 1e-9);
  EXPECT_NEAR(100 * s + view.originY, 2, 1e-9);
  EXPECT_NEAR(dxf::ToPixels(view, {2, 2}).x, before.x, 1e-9);
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(dxf::ZoomAboutCentre(view, view.zoom * 0.6666666666666666));
  EXPECT_NEAR(view.zoom, 1, 1e-12);
}

TEST(DxfViewMaths, ZeroNegativeAndNonFiniteZoomsAreRefused) {
  auto view = Window(100, 100);
  dxf::ZoomToExtents(view, dxf::Extents{0, 0, 1, 1, false});
  const auto kept = view;
  for (double bad : {0.0, -2.0, std::numeric_limits<double>::infinity(), std::nan("")}) {
    EXPECT_FALSE(dxf::ZoomAboutCentre(view, bad));
    EXPECT_DOUBLE_EQ(view.zoom, kept.zoom);
  }
  view.pixelsPerUnit = 0;
  EXPECT_FALSE(dxf::ZoomAboutCentre(view, 2));
  EXPECT_FALSE(dxf::Pan(view, 5, 5));
  EXPECT_DOUBLE_EQ(view.originX, kept.originX);
  view.pixelsPerUnit = 1e-300;
  view.zoom = 1e-300;  // each usable, their product not
  EXPECT_FALSE(dxf::IsUsableView(view));
}

TEST(DxfViewMaths, PanFollowsThePointer) {
  auto view = Window(100, 100);
  view.pixelsPerUnit = 2;
  view.zoom = 2;
  const auto before = dxf::ToPixels(view, {1, 1});
  ASSERT_TRUE(dxf::Pan(view, 8, -12));
  EXPECT_DOUBLE_EQ(view.originX, -2);
  EXPECT_DOUBLE_EQ(view.originY, -3);
  const auto after = dxf::ToPixels(view, {1, 1});
  EXPECT_DOUBLE_EQ(after.x - before.x, 8);
  EXPECT_DOUBLE_EQ(after.y - before.y, -12);
}

TEST(DxfViewMaths, SegmentsAreCutToTheWindow) {
  dxf::PixelPoint a{-100, 50}, b{300, 50};
  ASSERT_TRUE(dxf::ClipSegment(a, b, 0, 0, 200, 100));
  EXPECT_DOUBLE_EQ(a.x, 0);
  EXPECT_DOUBLE_EQ(b.x, 200);
  dxf::PixelPoint c{-1e15, -1e15}, d{1e15, 1e15};
  ASSERT_TRUE(dxf::ClipSegment(c, d, 0, 0, 100, 100));
  EXPECT_NEAR(c.x, 0, 0.5);  // within a pixel, though the ends lay far beyond doubles' exactness
  EXPECT_NEAR(d.y, 100, 0.5);
  dxf::PixelPoint e{-10, -10}, f{-5, 500};
  EXPECT_FALSE(dxf::ClipSegment(e, f, 0, 0, 100, 100));
}

TEST(DxfViewMaths, ArcsRunCounterClockwiseFromStartToEnd) {
  const auto quarter = dxf::ArcPoints({0, 0}, 2, 350, 80, false, 100);
  EXPECT_NEAR(quarter.front().x, 2 * std::cos(350 * M_PI / 180), 1e-9);
  EXPECT_NEAR(quarter.back().y, 2 * std::sin(80 * M_PI / 180), 1e-9);
  const auto circle = dxf::ArcPoints({1, 1}, 1, 0, 0, true, 1e300);
  EXPECT_EQ(circle.size(), 721u);  // capped
  EXPECT_NEAR(circle.back().x, 2, 1e-9);
  EXPECT_EQ(dxf::ArcPoints({0, 0}, 1, 0, 90, false, 0.5).size(), 2u);  // half a pixel: one chord
}

// Flattened to the pixel: no chord of a circle strays half a pixel from it, yet a circle of a few pixels takes
// a handful of segments and a large one some tens, not one every few pixels.
TEST(DxfViewMaths, CirclesAreFlattenedToThePixel) {
  for (double radius : {0.6, 1.0, 3.0, 13.0, 40.0, 300.0, 5000.0}) {
    const auto points = dxf::ArcPoints({0, 0}, radius, 0, 0, true, radius);
    double stray = 0;
    for (size_t i = 1; i < points.size(); ++i)
      stray = std::max(stray, radius - std::hypot((points[i - 1].x + points[i].x) / 2, (points[i - 1].y + points[i].y) / 2));
    EXPECT_LE(stray, 0.5 + 1e-9) << radius;
    EXPECT_GE(points.size(), 4u) << radius;
    EXPECT_LE(points.size(), 1 + 4 * std::sqrt(radius) + 4) << radius;
  }
}

}  // namespace

namespace {

// A paint of tens of thousands of circles, one over the other and each about as large as the window, draws
// its budget's worth of outline points and stops there, saying that it was simplified; the texts after the
// circles in the file are not reached.
TEST(DxfPaintBudget, APaintStopsAtItsBudgetAfterTheGeometry) {
  const std::string text = dxf_test::NestedCircles(1500) + dxf_test::TextOf(3);
  const dxf::Drawing d = dxf::ReadDrawing(text.data(), text.size());
  ASSERT_GE(d.entities.size(), 200000u);
  auto view = Window(800, 600);
  dxf::ZoomToExtents(view, d.extents);
  struct Count : dxf::PaintSink {
    void Mark(const dxf::Entity&) override { ++marks; }
    void Dot(const dxf::Entity&, dxf::PixelPoint) override { ++marks; }
    void Outline(const dxf::Entity&, const std::vector<dxf::Point>& p) override {
      points += p.size();
      ++outlines;
    }
    size_t marks = 0, points = 0, outlines = 0;
  } count;
  const dxf::PaintTally tally = dxf::PaintWithinBudget(d.entities, view, 2, count);
  EXPECT_EQ(count.marks, 0u);  // every circle is about as large as the window, and no text is drawn
  EXPECT_LE(count.points, dxf::kMaxPaintPoints + 720);
  EXPECT_EQ(tally.used, count.points);
  EXPECT_EQ(tally.drawn, count.outlines);
  EXPECT_LT(count.outlines, d.entities.size());
  EXPECT_TRUE(tally.simplified);
}

// At half a pixel per unit, a circle of radius 0.4 at (100, 100) is the dot at pixel (50, 450) of a window
// 500 high; one across the window's edge is drawn; one beyond it is not; a long thin line is drawn.
TEST(DxfPaintBudget, ACurveSmallerThanAPixelIsADot) {
  auto view = Window(500, 500);
  view.pixelsPerUnit = 0.5;
  auto circle = [](double x, double y, double r) {
    dxf::Entity e;
    e.kind = dxf::EntityKind::kCircle;
    e.points = {{x, y}};
    e.radius = r;
    return e;
  };
  dxf::Entity line;
  line.points = {{0, 10}, {900, 10.5}};
  dxf::PaintBudget budget(view, 2);
  dxf::PixelPoint dot;
  ASSERT_EQ(budget.Shape(circle(100, 100, 0.4), &dot), dxf::PaintShape::kDot);
  EXPECT_NEAR(dot.x, 50, 1e-9);
  EXPECT_NEAR(dot.y, 450, 1e-9);
  EXPECT_EQ(budget.Shape(circle(1000, 100, 10), &dot), dxf::PaintShape::kOutline);
  EXPECT_EQ(budget.Shape(circle(1050, 100, 10), &dot), dxf::PaintShape::kHidden);
  EXPECT_EQ(budget.Shape(circle(100, -20, 10), &dot), dxf::PaintShape::kHidden);
  EXPECT_EQ(budget.Shape(line, &dot), dxf::PaintShape::kOutline);
  EXPECT_EQ(budget.Used(), 0u);  // looking costs nothing of the budget; drawing does
  EXPECT_EQ(budget.Outline(line).size(), 2u);
  EXPECT_EQ(budget.Used(), 2u);
}

}  // namespace

namespace {

struct Marks : dxf::PaintSink {
  void Mark(const dxf::Entity& e) override { order += e.kind == dxf::EntityKind::kText ? e.text + " " : "point "; }
  void Dot(const dxf::Entity&, dxf::PixelPoint) override { order += "dot "; }
  void Outline(const dxf::Entity&, const std::vector<dxf::Point>&) override { order += "line "; }
  bool FontKept(const dxf::TextFont& font) const override { return kept.count(font) != 0; }
  std::string order;
  std::set<dxf::TextFont> kept;
};

// The geometry is drawn first, then the texts, larger ones first, font by font. Each text costs its
// characters' glyphs; each font (pixel height and whole degree) a paint has not used yet, and no earlier
// paint kept, costs the making of it; a text drawn over its twin, out of the window, or too small or large
// to draw costs nothing and is not drawn again.
TEST(DxfPaintBudget, TextsComeLastFontByFontEachCostingItsGlyphsAndNewFonts) {
  auto view = Window(500, 500);
  view.pixelsPerUnit = 10;
  auto text = [](double x, double y, double height, double rotation, const char* words) {
    dxf::Entity e;
    e.kind = dxf::EntityKind::kText;
    e.points = {{x, y}};
    e.height = height;
    e.rotation = rotation;
    e.text = words;
    return e;
  };
  dxf::Entity line;
  line.points = {{0, 0}, {10, 10}};
  const std::vector<dxf::Entity> texts = {
      text(10, 10, 2, 0, "Kitchen"),        // 20 pixels, a new font
      text(20, 30, 2, 90.4, "Stairs"),      // turned: another font
      line,
      text(20, 20, 2, 0, "Hall"),           // the first font
      text(20, 25, 2, 449.6, "Door"),       // turned the same way as the stairs, to the whole degree
      text(10, 40, 2, 0, "\xC3\xA9t\xC3\xA9"),  // three characters in five bytes
      text(10, 10, 3, 0, "Flat 4"),         // larger: first
      text(10.02, 10, 2, 0, "Kitchen"),     // the first one's twin, on its pixel
      text(900, 10, 2, 0, "Far away"),      // out of the window
      text(10, 10, 0.2, 0, "Tiny"),         // 2 pixels
      text(10, 10, 300, 0, "Huge")};        // 3000 pixels
  Marks marks;
  dxf::PaintTally tally = dxf::PaintWithinBudget(texts, view, 2, marks);
  EXPECT_EQ(marks.order, "line Flat 4 \xC3\xA9t\xC3\xA9 Kitchen Hall Stairs Door ");
  EXPECT_EQ(tally.drawn, 8u);
  EXPECT_FALSE(tally.simplified);
  const size_t glyphs = 6 * dxf::GlyphCost(30) + (7 + 6 + 4 + 4 + 3) * dxf::GlyphCost(20);
  EXPECT_EQ(tally.used, 2 + glyphs + 3 * dxf::kFontCost);
  marks.kept = {dxf::TextFont{20, 90}};
  EXPECT_EQ(dxf::PaintWithinBudget(texts, view, 2, marks).used, 2 + glyphs + 2 * dxf::kFontCost);
}

}  // namespace
