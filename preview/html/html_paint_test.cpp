// What the ".html" viewer paints, read back pixel by pixel from its canvas: body text where the layout put
// its run and nowhere else on its line, the page's background colour, a link turning red under the mouse,
// a dragged selection white on navy, a table's raised border rings in their two colours (red then grey when
// they belong to the link under the mouse), a background picture tiled from the page's corner, and a tiny
// picture tiled behind a very tall cell from the cell's corner, scrolled, and a form field past the page's
// quota of control windows drawn in its place, and a timetable whose rows all start below the cells above
// them. Screenshots preview/html_paint.png, preview/html_tiles.png, preview/html_cell_tiles.png and
// preview/html_timetable.png.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "platform/harness/driver.h"
#include "preview/html/custom_html_viewer.h"
#include "preview/html/html_browser_logic.h"
#include "preview/html/html_browser_win32.h"
#include "preview/html/html_element.h"
#include "preview/html/scroll_manager.h"
#include "preview/preview_test_support.h"

namespace {

using htmlview::HtmlElement;
using htmlview::HtmlElementList;

constexpr COLORREF kPageColour = RGB(0xD8, 0xE8, 0xF0);  // bgcolor="#D8E8F0"
constexpr COLORREF kTextColour = RGB(0x10, 0x20, 0x80);  // <font color="#102080">
constexpr COLORREF kNavy = RGB(0, 0, 0x80);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGrey = RGB(128, 128, 128);

// The first element (depth first) that matches.
const HtmlElement* Find(const HtmlElementList& list, const std::function<bool(const HtmlElement&)>& match) {
  for (const auto& e : list) {
    if (!e) continue;
    if (match(*e)) return e.get();
    if (const HtmlElement* inner = Find(e->children, match)) return inner;
  }
  return nullptr;
}

const HtmlElement* TextRun(const HtmlElementList& list, const std::u16string& word) {
  return Find(list, [&word](const HtmlElement& e) {
    return e.kind == htmlview::kTextRun && e.width > 0 && e.text.find(word) != std::u16string::npos;
  });
}

// Pixels of exactly this colour in the rectangle (clipped to the grab).
int Count(const previewtest::Grab& grab, RECT r, COLORREF colour) {
  int n = 0;
  for (int y = std::max<int>(r.top, 0); y < std::min<int>(r.bottom, grab.height); ++y)
    for (int x = std::max<int>(r.left, 0); x < std::min<int>(r.right, grab.width); ++x) n += grab.At(x, y) == colour;
  return n;
}

RECT Box(const HtmlElement& e) { return {e.x, e.y, e.x + e.width, e.y + e.height}; }

class HtmlPaintTest : public ::testing::Test {
 protected:
  void Show(const previewtest::TempFile& page) {
    w.Preview(page.Path(), _T(".html"));
    browser = CCustomHTMLViewer::Browser();
    ASSERT_NE(browser, nullptr);
    ASSERT_TRUE(harness::WaitUntil([] { return harness::Text(CCustomHTMLViewer::Status()).rfind(L"Ready", 0) == 0; }));
    Repaint();
  }
  static void Repaint() {
    HWND canvas = CCustomHTMLViewer::Canvas();
    InvalidateRect(canvas, nullptr, FALSE);
    UpdateWindow(canvas);
    harness::PumpFor(50);
  }
  static previewtest::Grab Canvas() { return previewtest::GrabClient(CCustomHTMLViewer::Canvas()); }
  static void Send(UINT message, WPARAM keys, int x, int y) {
    SendMessageW(CCustomHTMLViewer::Canvas(), message, keys, MAKELPARAM(x, y));
    harness::PumpFor(20);
  }

  previewtest::PaneWindow w{620, 480};
  htmlview::HtmlBrowser* browser = nullptr;
};

const char kPaintPage[] =
    "<html><head><title>Paint</title></head><body bgcolor=\"#D8E8F0\">\n"
    "<p><font color=\"#102080\" size=5>Painted</font></p>\n"
    "<p>Follow <a href=\"elsewhere.html\">Hovered</a></p>\n"
    "<p><font color=\"#102080\">Chosen words</font></p>\n"
    "<table border=3 cellpadding=6><tr><td>Framed</td><td>cells</td></tr></table>\n"
    "</body></html>\n";

TEST_F(HtmlPaintTest, TextBackgroundHoverSelectionAndBorders) {
  previewtest::TempFile page(L"html_paint_page.html", kPaintPage);
  Show(page);
  const HtmlElementList& elements = browser->Document().elements;
  previewtest::Grab grab = Canvas();
  ASSERT_GT(grab.width, 400);

  // The page's colour fills what no element covers.
  EXPECT_EQ(grab.At(grab.width - 5, 2), kPageColour);
  EXPECT_EQ(grab.At(grab.width - 5, grab.height - 5), kPageColour);

  // Body text: its colour inside the run's box, none of it on the rest of the line.
  const HtmlElement* painted = TextRun(elements, u"Painted");
  ASSERT_NE(painted, nullptr);
  const RECT text = Box(*painted);
  EXPECT_GT(Count(grab, text, kTextColour), 20);
  RECT after = text;
  OffsetRect(&after, painted->width + 10, 0);
  EXPECT_EQ(Count(grab, after, kTextColour), 0);
  EXPECT_EQ(Count(grab, after, kPageColour), (after.right - after.left) * (after.bottom - after.top));

  // A link turns red under the mouse and back when the mouse leaves it.
  const HtmlElement* link = TextRun(elements, u"Hovered");
  ASSERT_NE(link, nullptr);
  ASSERT_GE(link->linkIndex, 0);
  const RECT linkBox = Box(*link);
  EXPECT_EQ(Count(grab, linkBox, kRed), 0);
  Send(WM_MOUSEMOVE, 0, link->x + link->width / 2, link->y + link->height / 2);
  Repaint();
  EXPECT_GT(Count(Canvas(), linkBox, kRed), 10);
  Send(WM_MOUSEMOVE, 0, grab.width - 5, grab.height - 5);
  Repaint();
  EXPECT_EQ(Count(Canvas(), linkBox, kRed), 0);

  // A drag over a run selects it: navy behind white text, the runs outside the drag unchanged.
  const HtmlElement* chosen = TextRun(elements, u"Chosen");
  ASSERT_NE(chosen, nullptr);
  Send(WM_LBUTTONDOWN, MK_LBUTTON, chosen->x + 1, chosen->y + 1);
  Send(WM_MOUSEMOVE, MK_LBUTTON, chosen->x + chosen->width - 1, chosen->y + chosen->height - 1);
  Send(WM_LBUTTONUP, 0, chosen->x + chosen->width - 1, chosen->y + chosen->height - 1);
  Repaint();
  ASSERT_EQ(chosen->selected, 1);
  EXPECT_EQ(painted->selected, 0);
  grab = Canvas();
  const RECT chosenBox = Box(*chosen);
  const int area = (chosenBox.right - chosenBox.left) * (chosenBox.bottom - chosenBox.top);
  const int navy = Count(grab, chosenBox, kNavy), white = Count(grab, chosenBox, kWhite);
  EXPECT_GT(navy, area / 2);
  EXPECT_GT(white, 10);
  EXPECT_EQ(Count(grab, chosenBox, kTextColour), 0);
  EXPECT_EQ(Count(grab, text, kNavy), 0);
  EXPECT_FALSE(harness::CaptureWindow(w.frame->m_hWnd, "preview/html_paint").empty());

  // The table's frame stands out: three rings, white at the left and top, grey at the right and bottom.
  const HtmlElement* table = Find(elements, [](const HtmlElement& e) {
    return e.borderWidth == 3 && (e.borderFlags & 15) == 15 && e.kind != htmlview::kTextRun;
  });
  ASSERT_NE(table, nullptr);
  ASSERT_EQ(table->borderColor, htmlview::kRaisedBorder);
  const int left = table->x, top = table->y, right = table->x + table->width - 1, bottom = table->y + table->height - 1;
  const int midX = (left + right) / 2, midY = (top + bottom) / 2;
  for (int ring = 0; ring < 3; ++ring) {
    EXPECT_EQ(grab.At(left + ring, midY), kWhite) << ring;
    EXPECT_EQ(grab.At(midX, top + ring), kWhite) << ring;
    EXPECT_EQ(grab.At(right - ring, midY), kGrey) << ring;
    EXPECT_EQ(grab.At(midX, bottom - ring), kGrey) << ring;
  }
  EXPECT_EQ(grab.At(left + 3, midY), kPageColour);  // the fourth pixel inside is no ring
  EXPECT_EQ(grab.At(right + 1, midY), kPageColour);

  // A raised frame that belongs to the link under the mouse: red at the left and top, still grey at the
  // right and bottom.
  HtmlElement* frame = const_cast<HtmlElement*>(table);
  frame->linkIndex = link->linkIndex;
  Send(WM_MOUSEMOVE, 0, link->x + link->width / 2, link->y + link->height / 2);
  Repaint();
  grab = Canvas();
  for (int ring = 0; ring < 3; ++ring) {
    EXPECT_EQ(grab.At(left + ring, midY), kRed) << ring;
    EXPECT_EQ(grab.At(midX, top + ring), kRed) << ring;
    EXPECT_EQ(grab.At(right - ring, midY), kGrey) << ring;
    EXPECT_EQ(grab.At(midX, bottom - ring), kGrey) << ring;
  }
  frame->linkIndex = -1;
}

TEST_F(HtmlPaintTest, ABackgroundPictureIsTiledFromThePagesCorner) {
  // 20 x 10 tiles of four coloured quarters.
  auto quarter = [](int x, int y) -> COLORREF {
    if (y < 5) return x < 10 ? RGB(200, 30, 30) : RGB(30, 160, 40);
    return x < 10 ? RGB(40, 60, 200) : RGB(230, 200, 40);
  };
  previewtest::TempFile tile(L"paint_tile.bmp", previewtest::Bitmap24(20, 10, quarter));
  previewtest::TempFile page(L"html_tiles_page.html",
                             "<html><head><title>Tiles</title></head><body background=\"paint_tile.bmp\">"
                             "</body></html>");
  Show(page);
  ASSERT_GE(browser->Document().pageBackImage, 0);
  const previewtest::Grab grab = Canvas();
  ASSERT_GT(grab.width, 200);
  int wrong = 0, checked = 0;
  for (int y = 1; y < grab.height - 1; y += 7) {
    for (int x = 1; x < grab.width - 1; x += 9, ++checked) wrong += grab.At(x, y) != quarter(x % 20, y % 10);
  }
  EXPECT_GT(checked, 1000);
  EXPECT_EQ(wrong, 0);
  EXPECT_FALSE(harness::CaptureWindow(w.frame->m_hWnd, "preview/html_tiles").empty());
}

TEST_F(HtmlPaintTest, ATinyPictureBehindAVeryTallCellIsTiledFromTheCellsCorner) {
  // 2 x 2 pixels behind a cell 20,000 pixels high: a hundred thousand tiles on the screen at once.
  auto dot = [](int x, int y) -> COLORREF {
    if (y == 0) return x == 0 ? RGB(200, 30, 30) : RGB(30, 160, 40);
    return x == 0 ? RGB(40, 60, 200) : RGB(230, 200, 40);
  };
  previewtest::TempFile tile(L"paint_dot.bmp", previewtest::Bitmap24(2, 2, dot));
  previewtest::TempFile page(L"html_cell_tiles_page.html",
                             "<html><head><title>Cell tiles</title></head><body bgcolor=\"#D8E8F0\">"
                             "<table width=401 cellpadding=0 cellspacing=3><tr>"
                             "<td height=20000 background=\"paint_dot.bmp\">x</td></tr></table></body></html>");
  Show(page);
  const HtmlElement* cell = Find(browser->Document().elements,
                                 [](const HtmlElement& e) { return e.kind == htmlview::kContainer && e.backImageIndex >= 0; });
  ASSERT_NE(cell, nullptr);
  ASSERT_GT(cell->height, 15000);
  const HtmlElement* word = TextRun(cell->children, u"x");
  ASSERT_NE(word, nullptr);

  // Scrolled to an odd position inside the cell: the tiles keep to the cell's corner, not the window's.
  HWND canvas = CCustomHTMLViewer::Canvas();
  SendMessageW(canvas, htmlview::scrollmsg::kSetVPos, 0, 5001);
  const int scrollY = static_cast<int>(SendMessageW(canvas, htmlview::scrollmsg::kGetVPos, 0, 0));
  ASSERT_EQ(scrollY, 5001);
  Repaint();
  const previewtest::Grab grab = Canvas();
  int wrong = 0, checked = 0;
  for (int y = 0; y < grab.height; y += 3) {
    const int docY = y + scrollY;
    if (docY >= word->y - 2 && docY < word->y + word->height + 2) continue;
    for (int x = cell->x; x < std::min<int>(cell->x + cell->width, grab.width); x += 5, ++checked)
      wrong += grab.At(x, y) != dot((x - cell->x) % 2, (docY - cell->y) % 2);
  }
  EXPECT_GT(checked, 5000);
  EXPECT_EQ(wrong, 0);
  // Beside the cell the page's colour shows.
  ASSERT_LT(cell->x + cell->width + 5, grab.width);
  EXPECT_EQ(grab.At(cell->x + cell->width + 3, 10), kPageColour);
  EXPECT_FALSE(harness::CaptureWindow(w.frame->m_hWnd, "preview/html_cell_tiles").empty());
}

TEST_F(HtmlPaintTest, ATimetableDrawsEachCellBelowTheCellsAboveIt) {
  // The second hour's only cell goes on into the third, and the lecture's words set the heights of the
  // three hours it spans: the lunch row starts below the lecture, in its own colour.
  constexpr COLORREF kLecture = RGB(0xFF, 0xE0, 0xA0), kLunch = RGB(0xA0, 0xE0, 0xFF);
  previewtest::TempFile page(
      L"html_timetable.html",
      "<html><head><title>Timetable</title></head><body bgcolor=\"#D8E8F0\"><h3>First week</h3>"
      "<table border=1 cellpadding=4><tr><th>Time<th>Monday<th>Tuesday"
      "<tr><td rowspan=2>9:00<td rowspan=3 width=110 bgcolor=\"#FFE0A0\">Lecture for all of the first year students "
      "in the great hall, with questions after it<td>Lab<tr><td rowspan=2>Seminar<tr><td>11:00"
      "<tr><td>12:00<td bgcolor=\"#A0E0FF\">Lunch<td>Lunch</table><p>Rooms are shown on the board.</body></html>");
  Show(page);
  const HtmlElementList& elements = browser->Document().elements;
  const HtmlElement* lecture = Find(elements, [](const HtmlElement& e) { return e.backColor == kLecture; });
  const HtmlElement* lunch = Find(elements, [](const HtmlElement& e) { return e.backColor == kLunch; });
  ASSERT_TRUE(lecture && lunch);
  const RECT lectureBox = Box(*lecture), lunchBox = Box(*lunch);
  RECT both{};
  EXPECT_FALSE(IntersectRect(&both, &lectureBox, &lunchBox));
  const previewtest::Grab grab = Canvas();
  EXPECT_EQ(Count(grab, lectureBox, kLunch), 0);
  EXPECT_GT(Count(grab, lunchBox, kLunch), (lunchBox.right - lunchBox.left) * (lunchBox.bottom - lunchBox.top) / 2);
  // The lecture's last line of words lies inside its own cell.
  const HtmlElement* hall = TextRun(elements, u"questions");
  ASSERT_NE(hall, nullptr);
  EXPECT_LE(hall->y + hall->height, lectureBox.bottom);
  EXPECT_FALSE(harness::CaptureWindow(w.frame->m_hWnd, "preview/html_timetable").empty());
}

TEST_F(HtmlPaintTest, AFormFieldPastTheQuotaOfWindowsIsDrawnInItsPlace) {
  // The quota taken by hidden fields, then one visible field more.
  std::string text = "<html><head><title>Fields</title></head><body bgcolor=\"#D8E8F0\"><form>";
  for (int i = 0; i < htmlview::kMaxFormControls; ++i) text += "<input type=hidden name=h" + std::to_string(i) + ">";
  text += "<input name=last value=Shown></form></body></html>";
  previewtest::TempFile page(L"html_fields_page.html", text);
  Show(page);
  EXPECT_EQ(browser->Controls().RowCount(), htmlview::kMaxFormControls);
  const HtmlElement* field = TextRun(browser->Document().elements, u"Shown");
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(field->controlWindow, htmlview::kNoControl);
  // Drawn as a sunken white box holding its value: grey at its left and top, white at its right and
  // bottom, dark text inside.
  const previewtest::Grab grab = Canvas();
  const RECT box = Box(*field);
  const int midX = (box.left + box.right) / 2, midY = (box.top + box.bottom) / 2;
  EXPECT_EQ(grab.At(box.left, midY), kGrey);
  EXPECT_EQ(grab.At(midX, box.top), kGrey);
  EXPECT_EQ(grab.At(box.right - 1, midY), kWhite);
  EXPECT_EQ(grab.At(box.right + 2, midY), kPageColour);
  EXPECT_GT(Count(grab, box, RGB(0, 0, 0)), 10);
  EXPECT_FALSE(harness::CaptureWindow(w.frame->m_hWnd, "preview/html_fields").empty());
}

}  // namespace
