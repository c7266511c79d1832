// The Windows side of the page viewer's core: the GDI measurer and the scroll manager on a real window.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "preview/html/gdi_text_measurer_win32.h"
#include "preview/html/html_document_win32.h"
#include "preview/html/scroll_manager.h"
#include "preview/html/scroll_manager_win32.h"

namespace htmlview {
namespace {

using namespace scrollmsg;

TEST(GdiTextMeasurerTest, MeasuresTheGivenLength) {
  GdiTextMeasurer m;
  const HtmlTextSize all = m.MeasureText(u"Arial", 16, 0, 0, u"abcdef", 0, -1);
  const HtmlTextSize half = m.MeasureText(u"Arial", 16, 0, 0, u"abcdef", 0, 3);
  const HtmlTextSize bold = m.MeasureText(u"Arial", 16, 1, 0, u"abcdef", 0, -1);
  EXPECT_GT(all.cx, half.cx);
  EXPECT_GT(half.cx, 0);
  EXPECT_GT(all.cy, 0);
  EXPECT_GE(bold.cx, all.cx);
  // No characters: no width, but the font's full height, as a line of text has.
  const HtmlTextSize empty = m.MeasureText(u"Arial", 16, 0, 0, u"", 0, -1);
  EXPECT_EQ(empty.cx, 0);
  EXPECT_EQ(empty.cy, all.cy);
  EXPECT_EQ(m.MeasureText(u"Wingdings", 16, 0, 0, nullptr, 0, -1).cx, 0);
}

TEST(GdiTextMeasurerTest, TheKeptFontFollowsEveryChangeOfFaceHeightWeightAndSlant) {
  struct Font {
    const char16_t* face;
    int height, bold, italic;
  };
  const Font fonts[] = {{u"Arial", 16, 0, 0}, {u"Arial", 30, 0, 0}, {u"Arial", 16, 1, 0}, {u"Courier New", 16, 0, 1},
                        {u"Courier New", 16, 0, 0}, {u"Arial", 16, 0, 0}};
  GdiTextMeasurer kept;
  for (const Font& f : fonts) {
    GdiTextMeasurer fresh;
    const HtmlTextSize want = fresh.MeasureText(f.face, f.height, f.bold, f.italic, u"Wide iii MMM", 0, -1);
    const HtmlTextSize got = kept.MeasureText(f.face, f.height, f.bold, f.italic, u"Wide iii MMM", 0, -1);
    EXPECT_EQ(got.cx, want.cx) << f.height << f.bold << f.italic;
    EXPECT_EQ(got.cy, want.cy) << f.height << f.bold << f.italic;
  }
  // The sizes differ between the fonts, so a font left over from the measure before would show.
  EXPECT_NE(kept.MeasureText(u"Arial", 30, 0, 0, u"Wide", 0, -1).cx, kept.MeasureText(u"Arial", 16, 0, 0, u"Wide", 0, -1).cx);
}

TEST(HtmlDocumentWin32Test, BeepsWhenElementsCannotGrow) {
  HtmlDocument doc(nullptr, 0);
  EXPECT_FALSE(doc.allocationFailed);
  BeepWhenElementsCannotGrow(doc);
  EXPECT_TRUE(doc.allocationFailed);
}

std::vector<std::pair<int, int>> g_moved;

LRESULT CALLBACK ScrollingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kScrollMoved:
      g_moved.push_back({static_cast<int>(wParam), static_cast<int>(lParam)});
      return 0;
    case WM_CREATE:
    case WM_SIZE:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_MOUSEWHEEL:
    case kSetContentSize:
    case kSetHPos:
    case kSetVPos:
    case kGetHPos:
    case kGetVPos:
    case kGetHMax:
    case kGetVMax:
      return HandleScrollMessage(hwnd, message, wParam, lParam);
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

TEST(ScrollManagerWin32Test, ShowsBarsAndScrollsARealWindow) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = ScrollingProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"HtmlScrollTest";
  RegisterClassW(&wc);
  HWND hwnd = CreateWindowExW(0, L"HtmlScrollTest", L"", WS_OVERLAPPEDWINDOW | WS_HSCROLL | WS_VSCROLL, 0, 0, 500,
                              400, nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(hwnd, nullptr);
  ShowScrollBar(hwnd, SB_BOTH, FALSE);
  SendMessageW(hwnd, kSetContentSize, 3000, 2000);
  RECT client;
  GetClientRect(hwnd, &client);
  EXPECT_GT(SendMessageW(hwnd, kGetHMax, 0, 0), 0);
  EXPECT_GT(SendMessageW(hwnd, kGetVMax, 0, 0), 0);
  EXPECT_NE(GetWindowLongW(hwnd, GWL_STYLE) & WS_VSCROLL, 0);
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_PAGE | SIF_RANGE;
  GetScrollInfo(hwnd, SB_VERT, &info);
  EXPECT_EQ(info.nMax, 100);
  EXPECT_GE(info.nPage, 1u);
  EXPECT_LE(info.nPage, 99u);

  g_moved.clear();
  SendMessageW(hwnd, WM_VSCROLL, SB_LINEDOWN, 0);
  SendMessageW(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
  EXPECT_EQ(SendMessageW(hwnd, kGetVPos, 0, 0), 40);
  ASSERT_EQ(g_moved.size(), 4u);
  EXPECT_EQ(g_moved[0], std::make_pair(0, -10));
  EXPECT_GT(GetScrollPos(hwnd, SB_VERT), 0);

  SendMessageW(hwnd, kSetContentSize, 100, 100);
  EXPECT_EQ(SendMessageW(hwnd, kGetVMax, 0, 0), 0);
  EXPECT_EQ(SendMessageW(hwnd, kGetVPos, 0, 0), 0);
  EXPECT_EQ(GetWindowLongW(hwnd, GWL_STYLE) & WS_VSCROLL, 0);
  DestroyWindow(hwnd);
  HandleScrollMessage(nullptr, 0, 0, 0);
}

}  // namespace
}  // namespace htmlview
