// The DXF view in the real pane over our DXF.dll: a drawing loads and paints (probed by pixel), the files
// it refuses fall back to the no-preview view, the wheel zooms about the centre, dragging pans, a resize
// fits again; drawings written by ezdxf paint on the points of ezdxf's own flattening (of a mesh, on its faces'
// edges) and nothing of their hidden layers; one saved with a UTF-8 mark is shown. Screenshots preview_dxf.png of a
// small floor plan, preview/dxf_plan.png of ezdxf's, and preview/dxf_polyface.png and preview/dxf_polymesh.png of
// its 3D meshes seen from above.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "engine/records/scan_parameters.h"
#include "platform/harness/driver.h"
#include "preview/dxf/dxf_gdi_painter.h"
#include "preview/dxf/dxf_paint_budget.h"
#include "preview/dxf/dxf_sample_oracle.h"
#include "preview/dxf/dxf_hostile_drawings.h"
#include "preview/dxf/dxf_test_drawings.h"
#include "preview/dxf/dxf_view.h"
#include "preview/preview_test_support.h"
#include "res/resource.h"

namespace {

using previewtest::PaneWindow;
using previewtest::TempFile;

// Entities written as a drawing program writes them.
class Entities {
 public:
  Entities& Line(double x1, double y1, double x2, double y2, int colour = 256) {
    return Add("LINE", colour) << 10 << x1 << 20 << y1 << 11 << x2 << 21 << y2;
  }
  Entities& Circle(double x, double y, double r, int colour = 256) {
    return Add("CIRCLE", colour) << 10 << x << 20 << y << 40 << r;
  }
  Entities& Arc(double x, double y, double r, double from, double to, int colour = 256) {
    return Add("ARC", colour) << 10 << x << 20 << y << 40 << r << 50 << from << 51 << to;
  }
  Entities& Rectangle(double x1, double y1, double x2, double y2, int colour = 256) {
    return Add("LWPOLYLINE", colour) << 90 << 4 << 70 << 1 << 10 << x1 << 20 << y1 << 10 << x2 << 20 << y1 << 10
                                     << x2 << 20 << y2 << 10 << x1 << 20 << y2;
  }
  Entities& Text(double x, double y, double height, const std::string& text, int colour = 256) {
    Add("TEXT", colour) << 10 << x << 20 << y << 40 << height;
    text_ += "1\n" + text + "\n";
    return *this;
  }
  Entities& Point(double x, double y, int colour = 256) { return Add("POINT", colour) << 10 << x << 20 << y; }
  Entities& Insert(const std::string& block, double x, double y, double angle) {
    text_ += "0\nINSERT\n2\n" + block + "\n";
    return *this << 10 << x << 20 << y << 50 << angle;
  }
  Entities& Raw(const std::string& groups) {
    text_ += groups;
    return *this;
  }
  Entities& operator<<(double value) {
    char number[32];
    std::snprintf(number, sizeof number, "%g\n", value);
    text_ += number;
    return *this;
  }
  const std::string& Text() const { return text_; }

 private:
  Entities& Add(const char* type, int colour) {
    text_ += std::string("0\n") + type + "\n8\n0\n";
    if (colour != 256) *this << 62 << colour;
    return *this;
  }
  std::string text_;
};

// The library's painter over the drawing, into a bitmap of the window's size; pixels: what it painted.
DxfPaintReport PaintIntoBitmap(const dxf::Drawing& d, const dxf::ViewProperties& view, DxfFontCache& fonts,
                               previewtest::Pixels* pixels = nullptr) {
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, view.right, view.bottom);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  const DxfPaintReport report = PaintDxfDrawing(memory, d, view, fonts);
  ::SelectObject(memory, old);
  if (pixels != nullptr) *pixels = previewtest::ReadBitmap(bitmap, RECT{0, 0, view.right, view.bottom});
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  return report;
}

// A white line along the bottom and a red circle above it.
std::string LineAndCircle() {
  return dxf_test::Drawing(Entities().Line(0, 0, 10, 0).Circle(5, 5, 3, 1).Text());
}

class DxfViewTest : public ::testing::Test {
 protected:
  void SetUp() override { RecoveryMode = records::kQuickScan; }
  void TearDown() override { RecoveryMode = records::kQuickScan; }

  CDFXView* Show(PaneWindow& window, const CString& path) {
    window.Preview(path, _T(".dxf"));
    return dynamic_cast<CDFXView*>(window.pane->m_pDxfView);
  }

  static dxf::ViewProperties View(CDFXView* view) {
    dxf::ViewProperties record;
    EXPECT_NE(view->Drawing().GetViewProperties(record), 0);
    return record;
  }

  // The colour shows within a pixel of where the record puts the drawing point.
  static bool Lit(HWND canvas, const dxf::ViewProperties& record, dxf::Point at, COLORREF colour) {
    const previewtest::Grab grab = previewtest::GrabClient(canvas);
    const dxf::PixelPoint p = dxf::ToPixels(record, at);
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx)
        if (grab.At(static_cast<int>(p.x) + dx, static_cast<int>(p.y) + dy) == colour) return true;
    return false;
  }
};

TEST_F(DxfViewTest, ADrawingLoadsFitsAndPaints) {
  TempFile file(L"plan.dxf", LineAndCircle());
  PaneWindow window;
  CDFXView* view = Show(window, file.Path());
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(window.frame->m_bPreviewOk, 1u);
  EXPECT_EQ(window.FilledSlots(), std::vector<std::string>{"dxf"});
  HWND canvas = view->Canvas().m_hWnd;
  ASSERT_EQ(canvas, harness::Control(view->m_hWnd, CDFXView::kCanvasId));
  RECT client{}, canvasRect{};
  ::GetClientRect(view->m_hWnd, &client);
  ::GetClientRect(canvas, &canvasRect);
  EXPECT_EQ(canvasRect.right, client.right);  // the canvas fills the view
  EXPECT_EQ(canvasRect.bottom, client.bottom);
  const dxf::ViewProperties record = View(view);
  EXPECT_EQ(record.right, client.right);
  EXPECT_DOUBLE_EQ(record.zoom, 1);
  // Fitted: the extents' centre (5, 4) in the window's centre.
  const dxf::PixelPoint centre = dxf::ToPixels(record, {5, 4});
  EXPECT_NEAR(centre.x, client.right / 2.0, 1);
  EXPECT_NEAR(centre.y, client.bottom / 2.0, 1);
  EXPECT_TRUE(Lit(canvas, record, {2, 0}, RGB(255, 255, 255)));  // on the line
  EXPECT_TRUE(Lit(canvas, record, {8, 5}, RGB(255, 0, 0)));     // on the circle, right
  EXPECT_TRUE(Lit(canvas, record, {5, 8}, RGB(255, 0, 0)));     // and top
  EXPECT_EQ(previewtest::GrabClient(canvas).At(static_cast<int>(centre.x), static_cast<int>(centre.y)), RGB(0, 0, 0));
}

// A drawing of a few hundred bytes whose blocks make a million circles, one inside the other: each paint,
// the first and the ones after a resize, draws its budget's worth of them, ends, and says in the pane that
// the view is simplified.
TEST_F(DxfViewTest, AMillionCirclesFromAFewBlocksArePaintedWithinOnePaintsBudget) {
  TempFile file(L"rings.dxf", dxf_test::NestedCircles(1500));
  PaneWindow window;
  CDFXView* view = Show(window, file.Path());
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(window.frame->m_bPreviewOk, 1u);
  HWND canvas = view->Canvas().m_hWnd;
  for (int width : {500, 420, 360}) {
    ::SetWindowPos(view->m_hWnd, nullptr, 0, 0, width, 300, SWP_NOZORDER | SWP_NOMOVE);
    harness::PumpMessages();
    const dxf::ViewProperties record = View(view);
    EXPECT_TRUE(Lit(canvas, record, {100, 0}, RGB(255, 255, 255))) << width;  // the first block's largest
    EXPECT_TRUE(Lit(canvas, record, {0, 10}, RGB(255, 255, 255))) << width;   // and smallest circle
    EXPECT_TRUE(view->Canvas().Simplified());
    const previewtest::Grab grab = previewtest::GrabClient(canvas);
    int note = 0;  // the note's grey behind its words, in the lower left corner
    for (int y = grab.height - 20; y < grab.height; ++y)
      for (int x = 0; x < 200; ++x) note += grab.At(x, y) == RGB(64, 64, 64) ? 1 : 0;
    EXPECT_GT(note, 500) << width;
  }
  TempFile small(L"plan.dxf", LineAndCircle());
  PaneWindow other;
  EXPECT_FALSE(Show(other, small.Path())->Canvas().Simplified());
}

// What the library's painter does with texts, into a bitmap of the window's size: a million texts from a
// few blocks are drawn as far as one paint's budget goes, in one font per size (ten sizes), and they show;
// two hundred texts of one size side by side take one font. A second paint makes no font: they are kept.
TEST_F(DxfViewTest, TextsArePaintedInOneFontPerSizeAndAngle) {
  struct Case {
    std::string drawing;
    size_t fonts;
  };
  std::string row;
  for (int i = 0; i < 200; ++i) row += "0\nTEXT\n10\n" + std::to_string(i % 20) + "\n20\n" + std::to_string(i / 20) + "\n40\n0.5\n1\nA" + std::to_string(i) + "\n";
  for (const Case& c : {Case{dxf_test::Nested(dxf_test::TextOf, 1500), 10}, Case{dxf_test::Drawing(row), 1}}) {
    const dxf::Drawing d = dxf::ReadDrawing(c.drawing.data(), c.drawing.size());
    dxf::ViewProperties view;
    view.right = 640;
    view.bottom = 480;
    dxf::ZoomToExtents(view, d.extents);
    DxfFontCache fonts;
    previewtest::Pixels pixels;
    const DxfPaintReport report = PaintIntoBitmap(d, view, fonts, &pixels);
    EXPECT_EQ(PaintIntoBitmap(d, view, fonts).fontsMade, 0u);
    EXPECT_EQ(report.fontsMade, c.fonts);
    EXPECT_LE(report.budgetUsed, dxf::kMaxPaintPoints + 10 * dxf::GlyphCost(2000) + dxf::kFontCost);
    const size_t lit = static_cast<size_t>(std::count(pixels.bgr.begin(), pixels.bgr.end(), 0xFFFFFFu));
    EXPECT_GT(lit, 500u);  // white text on black
  }
}

TEST_F(DxfViewTest, FilesItRefusesGetTheNoPreviewView) {
  const std::string late = "999\n" + std::string(600, 'x') + "\n" + LineAndCircle();  // HEADER after 511 bytes
  const std::string damaged = dxf_test::Drawing("0\nLINE\n10\nwall\n");
  const std::string words = "A note that names a SECTION and a HEADER, nothing more.\n";
  for (const std::string& bytes : {late, damaged, words, std::string()}) {
    TempFile file(L"refused.dxf", bytes);
    PaneWindow window;
    Show(window, file.Path());
    EXPECT_EQ(window.frame->m_bPreviewOk, 0u);
    EXPECT_EQ(window.FilledSlots(), (std::vector<std::string>{"nopreview", "dxf"}));
  }
  {
    PaneWindow window;
    Show(window, _T("C:\\no such folder\\gone.dxf"));
    EXPECT_EQ(window.frame->m_bPreviewOk, 0u);
  }
  RecoveryMode = records::kFileTrace;
  TempFile file(L"traced.dxf", LineAndCircle());
  PaneWindow window;
  Show(window, file.Path());
  EXPECT_EQ(window.frame->m_bPreviewOk, 0u);
}

// The library takes narrow paths: a name the code page can only approximate ("a" for "\u0101") must not
// load the file whose name the approximation happens to be; the file is named by its short name instead.
TEST_F(DxfViewTest, APathTheCodePageCannotNameLoadsItsOwnFileByItsShortName) {
  TempFile other(L"plan a.dxf", "not a drawing");
  TempFile named(L"plan \u0101.dxf", LineAndCircle());
  PaneWindow window;
  Show(window, named.Path());
  EXPECT_EQ(window.frame->m_bPreviewOk, 1u);
  EXPECT_EQ(window.FilledSlots(), (std::vector<std::string>{"dxf"}));
}

TEST_F(DxfViewTest, WithoutTheLibraryNothingIsLoaded) {
  wchar_t exe[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring folder(exe);
  folder.resize(folder.rfind(L'\\') + 1);
  const std::wstring dll = folder + L"DXF.dll", aside = folder + L"DXF.dll.aside";
  ASSERT_TRUE(::MoveFileW(dll.c_str(), aside.c_str()));
  TempFile file(L"plan.dxf", LineAndCircle());
  {
    PaneWindow window;
    window.frame->m_bNoFileSelected = 0;
    CDFXView* view = Show(window, file.Path());
    ASSERT_NE(view, nullptr);
    EXPECT_FALSE(view->Drawing().IsLoaded());
    EXPECT_EQ(view->Drawing().SetZoomLevel(2), 0);
    // The drawing was never looked at: the pane says the type cannot be previewed here.
    EXPECT_EQ(window.frame->m_bComponentMissing, 1u);
    ASSERT_NE(window.pane->m_pNoPreviewView, nullptr);
    EXPECT_TRUE(previewtest::ShowsPicture(window.pane->m_pNoPreviewView->m_hWnd, IDB_PREVIEW_NO_VIEWER));
  }
  ASSERT_TRUE(::MoveFileW(aside.c_str(), dll.c_str()));
}

TEST_F(DxfViewTest, TheWheelZoomsAboutTheCentreAndAResizeFitsAgain) {
  TempFile file(L"plan.dxf", LineAndCircle());
  PaneWindow window;
  CDFXView* view = Show(window, file.Path());
  ASSERT_NE(view, nullptr);
  const dxf::ViewProperties before = View(view);
  const int cx = (before.right - before.left) / 2, cy = (before.bottom - before.top) / 2;
  auto centre = [&](const dxf::ViewProperties& r) {
    const double s = 1 / dxf::ScreenScale(r);
    return dxf::Point{cx * s + r.originX, cy * s + r.originY};
  };
  ::SendMessageW(view->m_hWnd, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  harness::PumpMessages();
  // One step: the circle's top lies above the window now; its side shows where the record says.
  const dxf::ViewProperties step = View(view);
  EXPECT_DOUBLE_EQ(step.zoom, 1.5);
  EXPECT_LT(dxf::ToPixels(step, {5, 8}).y, 0);
  EXPECT_TRUE(Lit(view->Canvas().m_hWnd, step, {8, 5}, RGB(255, 0, 0)));
  for (int i = 0; i < 2; ++i) ::SendMessageW(view->m_hWnd, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  const dxf::ViewProperties zoomed = View(view);
  EXPECT_DOUBLE_EQ(zoomed.zoom, 3.375);
  EXPECT_NEAR(centre(zoomed).x, centre(before).x, 1e-9);
  EXPECT_NEAR(centre(zoomed).y, centre(before).y, 1e-9);
  for (int i = 0; i < 3; ++i) ::SendMessageW(view->m_hWnd, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
  EXPECT_NEAR(View(view).zoom, 1, 1e-12);
  // The library keeps no record it could not divide by.
  dxf::ViewProperties flat = View(view);
  flat.pixelsPerUnit = 0;
  EXPECT_EQ(view->Drawing().SetViewProperties(flat), 0);
  flat = View(view);
  flat.zoom = -1;
  EXPECT_EQ(view->Drawing().SetViewProperties(flat), 0);
  EXPECT_EQ(view->Drawing().SetZoomLevel(0), 0);
  EXPECT_EQ(view->Drawing().SetZoomLevel(-1.5), 0);
  EXPECT_NEAR(View(view).zoom, 1, 1e-12);

  ::SendMessageW(view->m_hWnd, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  ::SetWindowPos(view->m_hWnd, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
  harness::PumpMessages();
  const dxf::ViewProperties resized = View(view);
  EXPECT_DOUBLE_EQ(resized.zoom, 1);  // the resize fitted the drawing again
  RECT client{};
  ::GetClientRect(view->m_hWnd, &client);
  EXPECT_EQ(resized.right, client.right);
  EXPECT_EQ(resized.bottom, client.bottom);
  EXPECT_LT(client.right, 300);
}

TEST_F(DxfViewTest, DraggingWithEitherButtonPans) {
  TempFile file(L"plan.dxf", LineAndCircle());
  PaneWindow window;
  CDFXView* view = Show(window, file.Path());
  ASSERT_NE(view, nullptr);
  HWND canvas = view->Canvas().m_hWnd;
  const dxf::ViewProperties before = View(view);
  const double s = 1 / dxf::ScreenScale(before);
  ::SendMessageW(canvas, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
  EXPECT_TRUE(view->Canvas().IsDragging());
  ::SendMessageW(canvas, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(130, 90));
  ::SendMessageW(canvas, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5000, 90));  // outside: ignored
  ::SendMessageW(canvas, WM_LBUTTONUP, 0, MAKELPARAM(130, 90));
  EXPECT_FALSE(view->Canvas().IsDragging());
  const dxf::ViewProperties moved = View(view);
  EXPECT_NEAR(moved.originX, before.originX - 30 * s, 1e-9);
  EXPECT_NEAR(moved.originY, before.originY - 10 * s, 1e-9);
  EXPECT_NEAR(dxf::ToPixels(moved, {2, 0}).x, dxf::ToPixels(before, {2, 0}).x + 30, 1e-6);
  EXPECT_TRUE(Lit(canvas, moved, {8, 5}, RGB(255, 0, 0)));

  ::SendMessageW(canvas, WM_MOUSEMOVE, 0, MAKELPARAM(50, 50));  // no button: nothing moves
  ::SendMessageW(canvas, WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(50, 50));
  ::SendMessageW(canvas, WM_MOUSEMOVE, MK_MBUTTON, MAKELPARAM(40, 70));
  ::SendMessageW(canvas, WM_MBUTTONUP, 0, MAKELPARAM(40, 70));
  const dxf::ViewProperties middle = View(view);
  EXPECT_NEAR(middle.originX, moved.originX + 10 * s, 1e-9);
  EXPECT_NEAR(middle.originY, moved.originY + 20 * s, 1e-9);
}

// A flat with a living room, a kitchen and a bedroom: walls, doors from one block, furniture, windows,
// lights, labels and a dimension.
std::string FloorPlan() {
  const std::string door = "0\nBLOCK\n2\nDOOR\n10\n0\n20\n0\n" +
                           Entities().Line(0, 0, 0.9, 0, 2).Arc(0, 0, 0.9, 0, 90, 2).Text() + "0\nENDBLK\n";
  Entities plan;
  plan.Rectangle(0, 0, 12, 8)
      .Rectangle(-0.2, -0.2, 12.2, 8.2)
      .Line(7, 0, 7, 3)
      .Line(7, 4, 7, 8)
      .Line(7, 5, 9, 5)
      .Line(10, 5, 12, 5)
      .Insert("DOOR", 7, 3, 0)
      .Insert("DOOR", 10, 5, 90)
      .Circle(3.5, 4.6, 1.0, 4)
      .Circle(2.1, 4.6, 0.3, 4)
      .Circle(4.9, 4.6, 0.3, 4)
      .Circle(3.5, 3.2, 0.3, 4)
      .Circle(3.5, 6.0, 0.3, 4)
      .Rectangle(0.4, 0.4, 3.2, 1.4, 4)
      .Rectangle(10.2, 5.6, 11.8, 7.8, 4)
      .Line(10.2, 7.2, 11.8, 7.2, 4)
      .Rectangle(7.2, 0.2, 11.8, 0.9, 4)
      .Circle(10.8, 0.55, 0.25, 4)
      .Raw("0\nPOLYLINE\n8\n0\n62\n5\n66\n1\n70\n1\n")
      .Raw("0\nVERTEX\n10\n2\n20\n7.9\n0\nVERTEX\n10\n5\n20\n7.9\n0\nVERTEX\n10\n5\n20\n8.1\n0\nVERTEX\n10\n2\n20\n8.1\n0\nSEQEND\n")
      .Point(9.5, 2.6, 1)
      .Point(9.5, 6.6, 1)
      .Point(3.5, 4.6, 1)
      .Text(0.6, 2.2, 0.45, "Living room", 3)
      .Text(8.0, 2.0, 0.45, "Kitchen", 3)
      .Text(7.4, 6.2, 0.45, "Bedroom", 3)
      .Line(0, -0.8, 12, -0.8, 8)
      .Line(0, -0.6, 0, -1.0, 8)
      .Line(12, -0.6, 12, -1.0, 8)
      .Text(5.3, -1.4, 0.35, "12.00 m", 8);
  return dxf_test::Drawing(plan.Text(), door);
}

TEST_F(DxfViewTest, Screenshot) {
  TempFile file(L"flat.dxf", FloorPlan());
  PaneWindow window(640, 460);
  CDFXView* view = Show(window, file.Path());
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(window.frame->m_bPreviewOk, 1u);
  const dxf::ViewProperties record = View(view);
  EXPECT_TRUE(Lit(view->Canvas().m_hWnd, record, {7, 1.5}, RGB(255, 255, 255)));  // the inner wall
  EXPECT_TRUE(Lit(view->Canvas().m_hWnd, record, {7.5, 3}, RGB(255, 255, 0)));    // a door's leaf
  EXPECT_TRUE(Lit(view->Canvas().m_hWnd, record, {10, 5.5}, RGB(255, 255, 0)));  // the other, turned
  EXPECT_FALSE(harness::CaptureWindow(window.frame->m_hWnd, "preview_dxf").empty());
}

// A town map of 1,500 streets each named at its own angle and a survey of 105,738 trees (written without a
// header section, as ezdxf's fast writer does), written by ezdxf, shown in the pane: fitted and after each of three wheel steps in, every paint draws every entity in view
// (counted by the library's painter over the view's record) and is not simplified. The screenshots
// preview/dxf_streets.png and preview/dxf_streets_two_steps_in.png show the map.
TEST_F(DxfViewTest, EzdxfMapsArePaintedWholeAtFitAndAfterWheelSteps) {
  for (const char* name : {"streets", "circles"}) {
    SCOPED_TRACE(name);
    const std::string base = std::string(DORVANE_DXF_SAMPLES) + "\\" + name;
    const dxf_test::Oracle oracle = dxf_test::ReadOracle(base + ".points");
    ASSERT_TRUE(oracle.read);
    std::ifstream in(base + ".dxf", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const dxf::Drawing d = dxf::ReadDrawing(bytes.data(), bytes.size());
    PaneWindow window(800, 560);
    CDFXView* view = Show(window, CString((base + ".dxf").c_str()));
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(window.frame->m_bPreviewOk, 1u);
    for (int step = 0; step <= 3; ++step) {
      const dxf::ViewProperties record = View(view);
      EXPECT_FALSE(view->Canvas().Simplified()) << step;
      DxfFontCache fonts;
      const DxfPaintReport report = PaintIntoBitmap(d, record, fonts);
      EXPECT_FALSE(report.simplified) << step;
      EXPECT_GE(report.drawn, dxf_test::InView(oracle, record).size()) << step;
      if ((step == 0 || step == 2) && std::string(name) == "streets") {
        ::CreateDirectoryW(L"screenshots", nullptr);
        ::CreateDirectoryW(L"screenshots\\preview", nullptr);
        const char* shot = step == 0 ? "preview\\dxf_streets" : "preview\\dxf_streets_two_steps_in";
        EXPECT_FALSE(harness::CaptureWindow(window.frame->m_hWnd, shot).empty());
      }
      ::SendMessageW(view->m_hWnd, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
      harness::PumpMessages();
    }
  }
}

// Drawings written by ezdxf: a pixel of the entity's colour lies within two pixels of every point of
// ezdxf's flattening of a shown entity, mapped through the view's record; no pixel is lit within one of a
// hidden entity's points.
TEST_F(DxfViewTest, EzdxfDrawingsPaintOnEzdxfsPoints) {
  for (const char* name : {"bulges", "ellipses", "splines", "paragraphs", "dimensions", "hatches", "solids",
                           "attributes", "references", "mirrored", "layers", "plan", "layouts", "codepage",
                           "polyface", "polymesh", "marked"}) {
    SCOPED_TRACE(name);
    const std::string base = std::string(DORVANE_DXF_SAMPLES) + "\\" + name;
    const dxf_test::Oracle oracle = dxf_test::ReadOracle(base + ".points");
    ASSERT_TRUE(oracle.read);
    PaneWindow window(640, 480);
    CDFXView* view = Show(window, CString((base + ".dxf").c_str()));
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(window.frame->m_bPreviewOk, 1u);
    const dxf::ViewProperties record = View(view);
    const previewtest::Grab grab = previewtest::GrabClient(view->Canvas().m_hWnd);
    auto around = [&](dxf::Point p, int reach, auto match) {
      const dxf::PixelPoint at = dxf::ToPixels(record, p);
      for (int dy = -reach; dy <= reach; ++dy)
        for (int dx = -reach; dx <= reach; ++dx)
          if (match(grab.At(static_cast<int>(std::lround(at.x)) + dx, static_cast<int>(std::lround(at.y)) + dy)))
            return true;
      return false;
    };
    const auto lit = [](COLORREF c) { return c != RGB(0, 0, 0); };
    int shown = 0, missed = 0, wrongColour = 0, hiddenLit = 0;
    for (const auto& curve : oracle.curves) {
      const COLORREF colour = curve.colour < 0 ? 0 : dxf::IndexColour(curve.colour);
      for (dxf::Point p : curve.points) {
        if (!curve.shown) {
          hiddenLit += around(p, 1, lit) ? 1 : 0;
          continue;
        }
        ++shown;
        if (!around(p, 2, lit)) ++missed;
        else if (curve.colour >= 0 && !around(p, 2, [&](COLORREF c) { return c == colour; })) ++wrongColour;
      }
    }
    EXPECT_GE(shown, 5);  // straight entities flatten to their corners only
    EXPECT_EQ(missed, 0);
    EXPECT_EQ(wrongColour, 0);
    EXPECT_EQ(hiddenLit, 0);
    // Text shows about its point, each line below the one before.
    for (const auto& text : oracle.texts) {
      if (!text.shown) continue;
      const double h = text.height * dxf::ScreenScale(record);
      EXPECT_TRUE(around(text.at, static_cast<int>(h * 2) + 2, lit)) << text.lines[0];
    }
    for (const char* shot : {"plan", "polyface", "polymesh"}) {
      if (std::string(name) != shot) continue;
      ::CreateDirectoryW(L"screenshots", nullptr);
      ::CreateDirectoryW(L"screenshots\\preview", nullptr);
      EXPECT_FALSE(harness::CaptureWindow(window.frame->m_hWnd, "preview\\dxf_" + std::string(name)).empty());
    }
  }
}

}  // namespace
