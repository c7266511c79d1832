// The progress bars, the disk-space pie and the splitter in real windows: pixels and drawn texts read
// back, drags posted to the splitter, and the position it leaves in the profile.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/classlib/win/classlib_win.h"
#include "platform/harness/driver.h"
#include "ui/controls/disk_space_pie_ctrl.h"
#include "ui/controls/gradient_progress_ctrl.h"
#include "ui/controls/progress_math.h"
#include "ui/controls/splitter_ctrl.h"
#include "ui/controls/splitter_layout.h"
#include "ui/controls/text_progress_ctrl.h"
#include "ui/draw/colour_ops.h"

namespace {

const wchar_t kRegistryKey[] = L"Dorvane Controls Test";
const wchar_t kAppKey[] = L"Software\\Dorvane Controls Test\\ProgressPieSplitterTest";

class TestApp : public CWinApp {
 public:
  TestApp() : CWinApp(_T("ProgressPieSplitterTest")) {}
};
TestApp theApp;

// A top-level window that gives its children the dialog font, as the pages do.
class Host : public CWnd {
 public:
  bool Open(int width, int height) {
    LPCTSTR cls = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW), ::GetSysColorBrush(COLOR_BTNFACE));
    CRect frame(0, 0, width, height);
    ::AdjustWindowRectEx(frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
    return CreateEx(0, cls, _T("Progress, pie and splitter"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20,
                    frame.Width(), frame.Height(), nullptr, nullptr) != FALSE;
  }
  static HFONT Font() { return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)); }

 protected:
  afx_msg LRESULT OnGetFont(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(Font()); }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(Host, CWnd)
  ON_MESSAGE(WM_GETFONT, OnGetFont)
END_MESSAGE_MAP()

// The gradient bar of the pages, recording each piece of text it draws.
class PagesGradient : public GradientProgressCtrl {
 public:
  struct Piece {
    std::wstring text;
    CRect clip;
    COLORREF colour;
  };
  std::vector<Piece> pieces;

  bool Make(CWnd& parent, const RECT& rect, UINT id) {
    if (!Create(WS_CHILD | WS_VISIBLE | WS_BORDER, rect, &parent, id)) return false;
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(Host::Font()));
    SetTextFormat(_T("%d%%"), kShowPercent);
    SetBarTextColor(0xFFFFFF);
    SetBackgroundTextColor(0x7F0000);
    CDWordArray colours;
    colours.Add(0xFF0000);
    colours.Add(0xA00000);
    SetGradientColors(colours);
    SetRange(0, 100);
    return true;
  }

 protected:
  void DrawClippedText(CDC* pDC, const CRect& clip, const CString& text, CPoint origin, COLORREF colour) override {
    pieces.push_back({std::wstring(static_cast<LPCTSTR>(text)), clip, colour});
    GradientProgressCtrl::DrawClippedText(pDC, clip, text, origin, colour);
  }
};

// The client pixels of a window as it shows them now (0x00BBGGRR).
struct Pixels {
  int width = 0, height = 0;
  std::vector<COLORREF> colour;
  COLORREF at(int x, int y) const { return colour[static_cast<size_t>(y) * width + x]; }
};
Pixels Read(CWnd& wnd) {
  wnd.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  CRect client;
  wnd.GetClientRect(client);
  Pixels p;
  p.width = client.Width();
  p.height = client.Height();
  HDC dc = ::GetDC(wnd.GetSafeHwnd());
  HDC memory = ::CreateCompatibleDC(dc);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), p.width, -p.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP dib = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = ::SelectObject(memory, dib);
  ::BitBlt(memory, 0, 0, p.width, p.height, dc, 0, 0, SRCCOPY);
  ::GdiFlush();
  const auto* bgra = static_cast<const uint32_t*>(bits);
  for (int i = 0; i < p.width * p.height; ++i) p.colour.push_back(draw::PixelToColour(bgra[i]));
  ::SelectObject(memory, old);
  ::DeleteObject(dib);
  ::DeleteDC(memory);
  ::ReleaseDC(wnd.GetSafeHwnd(), dc);
  return p;
}

int CountColour(const Pixels& p, const CRect& area, COLORREF colour) {
  int count = 0;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) count += p.at(x, y) == colour;
  }
  return count;
}

// Pumps as the application's loop does, so that PreTranslateMessage sees the keys.
void PumpThroughPreTranslate() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (AfxGetThread() != nullptr && AfxGetThread()->PreTranslateMessage(&msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

class ProgressBars : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(host.Open(260, 120)); }
  void TearDown() override { host.DestroyWindow(); }
  Host host;
};

TEST_F(ProgressBars, AGradientBarAtZeroShowsOnlyTheBackgroundAndTheText0Percent) {
  PagesGradient bar;
  ASSERT_TRUE(bar.Make(host, RECT{10, 10, 212, 32}, 1));  // a client area of 200 × 20
  bar.SetPos(0);
  Pixels p = Read(bar);
  ASSERT_EQ(p.width, 200);
  ASSERT_FALSE(bar.pieces.empty());
  EXPECT_EQ(bar.pieces.back().text, L"0%");
  EXPECT_EQ(bar.pieces.back().colour, 0x7F0000u);
  EXPECT_EQ(CountColour(p, CRect(0, 0, 200, 20), 0xFF0000), 0);
  EXPECT_GT(CountColour(p, CRect(0, 0, 200, 20), ::GetSysColor(COLOR_BTNFACE)), 3000);
  EXPECT_GT(CountColour(p, CRect(80, 0, 120, 20), 0x7F0000), 5);  // the digits, dark blue
}

TEST_F(ProgressBars, AGradientBarAtHalfShowsHalfTheRampAndSplitsTheTextAtTheBarsEnd) {
  PagesGradient bar;
  ASSERT_TRUE(bar.Make(host, RECT{10, 10, 212, 32}, 1));
  bar.SetPos(50);
  Pixels p = Read(bar);
  // Row 1 lies above the text: the ramp's first half, then the background.
  std::vector<progress::Band> ramp = progress::GradientBands({0xFF0000, 0xA00000}, {0, 200}, 100, false);
  for (const progress::Band& band : ramp) {
    for (int x = band.span.left; x < band.span.right; ++x) ASSERT_EQ(p.at(x, 1), band.colour) << x;
  }
  EXPECT_EQ(p.at(99, 1), 0xD00000u);  // half-way down the ramp, not its end 0xA00000
  for (int x = 100; x < 200; ++x) ASSERT_EQ(p.at(x, 1), ::GetSysColor(COLOR_BTNFACE)) << x;
  // The text "50%" is drawn twice, white over the bar and dark blue over the rest, split at x = 100.
  ASSERT_GE(bar.pieces.size(), 2u);
  const auto& over = bar.pieces[bar.pieces.size() - 2];
  const auto& rest = bar.pieces.back();
  EXPECT_EQ(over.text, L"50%");
  EXPECT_EQ(over.colour, 0xFFFFFFu);
  EXPECT_EQ(over.clip, CRect(0, 0, 100, 20));
  EXPECT_EQ(rest.colour, 0x7F0000u);
  EXPECT_EQ(rest.clip, CRect(100, 0, 200, 20));
  EXPECT_GT(CountColour(p, CRect(80, 0, 100, 20), 0xFFFFFF), 3);
  EXPECT_EQ(CountColour(p, CRect(80, 0, 100, 20), 0x7F0000), 0);
  EXPECT_GT(CountColour(p, CRect(100, 0, 120, 20), 0x7F0000), 3);
  EXPECT_EQ(CountColour(p, CRect(100, 0, 120, 20), 0xFFFFFF), 0);
  harness::CaptureWindow(bar.GetSafeHwnd(), "gradient_progress_50");
}

TEST_F(ProgressBars, TheBarColourMessageSetsTheRampFromItsSecondParameter) {
  PagesGradient bar;
  ASSERT_TRUE(bar.Make(host, RECT{10, 10, 212, 32}, 1));
  EXPECT_EQ(static_cast<COLORREF>(bar.SendMessage(PBM_SETBARCOLOR, 0x0000FF, 0x00FF00)), CLR_DEFAULT);
  bar.SetPos(100);
  Pixels p = Read(bar);
  EXPECT_EQ(p.at(0, 1), 0x00FF00u);
  EXPECT_EQ(p.at(199, 1), 0x0002FDu);  // the last of 200 steps (the width) toward red
  bar.SendMessage(PBM_SETBARCOLOR, 0, 0x00FF00);
  p = Read(bar);
  EXPECT_EQ(p.at(199, 1), 0x00FF00u);
}

TEST_F(ProgressBars, EqualBoundsDrawAnEmptyBar) {
  PagesGradient gradient;
  ASSERT_TRUE(gradient.Make(host, RECT{10, 10, 212, 32}, 1));
  gradient.SetRange32(5, 5);
  gradient.SetPos(5);
  int lower = 0, upper = 0;
  gradient.GetRange(lower, upper);
  ASSERT_EQ(lower, 5);
  ASSERT_EQ(upper, 5);
  Pixels p = Read(gradient);
  EXPECT_EQ(gradient.pieces.back().text, L"0%");
  EXPECT_EQ(CountColour(p, CRect(0, 0, 200, 20), 0xFF0000), 0);

  TextProgressCtrl text;
  ASSERT_TRUE(text.Create(WS_CHILD | WS_VISIBLE, RECT{10, 50, 210, 70}, &host, 2));
  text.SetRange32(7, 7);
  EXPECT_EQ(text.SetPos(7), 0);
  text.SetRange32(9, 3);
  text.SetPos(5);
  // Nothing to draw, but the paint request is answered: no update region is left behind.
  text.Invalidate();
  text.UpdateWindow();
  EXPECT_FALSE(::GetUpdateRect(text.GetSafeHwnd(), nullptr, FALSE));
}

TEST_F(ProgressBars, ATextBarFillsItsDonePartAndCentresThePercentage) {
  TextProgressCtrl bar;
  ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE, RECT{10, 10, 210, 30}, &host, 2));
  bar.SetRange(0, 100);
  EXPECT_EQ(bar.SetPos(37), 0);
  EXPECT_EQ(bar.GetPos(), 37);
  int lower = -1, upper = -1;
  bar.GetRange(lower, upper);
  EXPECT_EQ(lower, 0);
  EXPECT_EQ(upper, 100);
  Pixels p = Read(bar);
  for (int x = 0; x < 200; ++x) {
    ASSERT_EQ(p.at(x, 0), x < 74 ? TextProgressCtrl::kBarColour : ::GetSysColor(COLOR_WINDOW)) << x;
  }
  // The text is "37%", drawn as DrawText draws it in the parent's font, in the bar's colour.
  Pixels expected = p;
  {
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 200, 20);
    HGDIOBJ oldBitmap = ::SelectObject(memory, bitmap);
    HGDIOBJ oldFont = ::SelectObject(memory, Host::Font());
    RECT all{0, 0, 200, 20}, done{0, 0, 74, 20};
    ::SetBkColor(memory, ::GetSysColor(COLOR_WINDOW));
    ::ExtTextOutW(memory, 0, 0, ETO_OPAQUE, &all, L"", 0, nullptr);
    ::SetBkColor(memory, TextProgressCtrl::kBarColour);
    ::ExtTextOutW(memory, 0, 0, ETO_OPAQUE, &done, L"", 0, nullptr);
    ::SetBkMode(memory, TRANSPARENT);
    ::SetTextColor(memory, TextProgressCtrl::kBarColour);
    ::DrawTextW(memory, L"37%", -1, &all, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    for (int y = 0; y < 20; ++y) {
      for (int x = 74; x < 200; ++x) expected.colour[static_cast<size_t>(y) * 200 + x] = ::GetPixel(memory, x, y);
    }
    ::SelectObject(memory, oldFont);
    ::SelectObject(memory, oldBitmap);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
  }
  EXPECT_TRUE(p.colour == expected.colour);
  EXPECT_GT(CountColour(p, CRect(74, 0, 200, 20), TextProgressCtrl::kBarColour), 10);

  bar.SetPos(100);
  p = Read(bar);
  EXPECT_EQ(p.at(199, 0), TextProgressCtrl::kBarColour);
  bar.SetBarColor(0x00AA00);  // a colour sent is honoured
  EXPECT_EQ(Read(bar).at(199, 0), 0x00AA00u);
  bar.SetWindowText(_T("Saving"));
  CString caption;
  bar.GetWindowText(caption);
  EXPECT_EQ(caption, CString(_T("Saving")));
}

TEST_F(ProgressBars, ThePieShowsTheUsedShareInTheUsedColour) {
  host.MoveWindow(20, 20, 520, 260);
  DiskSpacePieCtrl pie;
  ASSERT_TRUE(pie.Create(_T(""), WS_CHILD | WS_VISIBLE, RECT{0, 0, 480, 200}, &host, 3));
  const ULONGLONG gib = 1ull << 30;
  pie.SetSpace(_T("C:\\"), 100 * gib, 63 * gib);
  Pixels p = Read(pie);
  EXPECT_EQ(pie.GetUsedPercent(), 37);
  pie::PieLayout l = pie::LayoutPie(CRect(0, 0, 480, 200));
  EXPECT_EQ(p.at(l.cx, l.cy - l.ry + 4), DiskSpacePieCtrl::kFreeColour);   // the top: 50 %
  EXPECT_EQ(p.at(l.cx - l.rx + 4, l.cy), DiskSpacePieCtrl::kUsedColour);   // the left: 25 %
  EXPECT_EQ(p.at(l.cx + l.rx - 4, l.cy), DiskSpacePieCtrl::kFreeColour);   // the right: 75 %
  EXPECT_EQ(p.at(l.cx - 10, l.cy + l.ry + 5), DiskSpacePieCtrl::kUsedColour);  // the rim, front left
  EXPECT_EQ(p.at(l.cx + 10, l.cy + l.ry + 5), DiskSpacePieCtrl::kFreeColour);  // the rim, front right
  EXPECT_GT(CountColour(p, CRect(0, 0, 170, 80), ::GetSysColor(COLOR_WINDOWTEXT)), 50);  // the legend

  pie.SetDrive("C:\\");
  EXPECT_GE(pie.GetUsedPercent(), 0);
  EXPECT_LE(pie.GetUsedPercent(), 100);
}

// ---- splitter ----------------------------------------------------------------------------------------

class Splitter : public testing::Test {
 protected:
  void SetUp() override {
    Clean();
    theApp.SetRegistryKey(kRegistryKey);
    ASSERT_TRUE(host.Open(600, 300));
  }
  void TearDown() override {
    host.DestroyWindow();
    Clean();
    theApp.m_pszRegistryKey = nullptr;
  }
  static void Clean() { ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Dorvane Controls Test"); }

  // Two panes (edit boxes, which take the focus) and the splitter over them.
  bool Make(DWORD layout, UINT id = 157, int size2 = 150) {
    for (CWnd* pane : {&left, &right}) {
      if (!pane->Create(_T("EDIT"), pane == &left ? _T("left") : _T("right"), WS_CHILD | WS_VISIBLE | WS_BORDER,
                        RECT{0, 0, 10, 10}, &host, pane == &left ? 11 : 12)) {
        return false;
      }
    }
    // A 602 × 302 window with a border: a client area of 600 × 300.
    return splitter.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | layout, &host, &left, &right, id,
                           RECT{0, 0, 602, 302}, 50, size2) != FALSE;
  }
  CRect PaneRect(CWnd& pane) {
    CRect r;
    pane.GetWindowRect(r);
    splitter.ScreenToClient(r);
    return r;
  }
  void Post(UINT message, int x, int y) {
    splitter.PostMessage(message, message == WM_LBUTTONDOWN || message == WM_MOUSEMOVE ? MK_LBUTTON : 0,
                         MAKELPARAM(x, y));
    PumpThroughPreTranslate();
  }
  static DWORD Stored(const CString& section, LPCWSTR value) {
    std::wstring path = std::wstring(kAppKey) + L"\\" + static_cast<LPCTSTR>(section);
    DWORD data = 0, size = sizeof data, type = 0;
    if (::RegGetValueW(HKEY_CURRENT_USER, path.c_str(), value, RRF_RT_ANY, &type, &data, &size) != ERROR_SUCCESS ||
        type != REG_DWORD) {
      return 0xFFFFFFFF;
    }
    return data;
  }

  Host host;
  CWnd left, right;
  SplitterCtrl splitter;
};

TEST_F(Splitter, TheVerticalLayoutStartsWithALeftPaneOf200AndADragMovesTheBar) {
  ASSERT_TRUE(Make(SplitterCtrl::kVertical));
  EXPECT_EQ(left.GetParent(), &splitter);
  EXPECT_EQ(right.GetParent(), &splitter);
  EXPECT_EQ(PaneRect(left), CRect(0, 0, 200, 300));
  EXPECT_EQ(PaneRect(right), CRect(205, 0, 600, 300));

  Post(WM_LBUTTONDOWN, 202, 100);
  EXPECT_EQ(CWnd::GetCapture(), &splitter);
  Post(WM_MOUSEMOVE, 300, 100);
  EXPECT_EQ(PaneRect(left).right, 200);  // a ghost moves, the panes wait
  Post(WM_LBUTTONUP, 352, 100);
  EXPECT_EQ(PaneRect(left), CRect(0, 0, 350, 300));
  EXPECT_EQ(PaneRect(right), CRect(355, 0, 600, 300));
  EXPECT_EQ(splitter.GetLeftPaneWidth(), 350);
  EXPECT_EQ(CWnd::GetCapture(), nullptr);

  // Dragged past the edge, the bar stops there.
  Post(WM_LBUTTONDOWN, 352, 100);
  Post(WM_MOUSEMOVE, 5000, 100);
  Post(WM_LBUTTONUP, 5000, 100);
  EXPECT_EQ(PaneRect(left), CRect(0, 0, 595, 300));
  EXPECT_EQ(PaneRect(right), CRect(600, 0, 600, 300));
  Post(WM_LBUTTONDOWN, 597, 100);
  Post(WM_LBUTTONUP, -800, 100);
  EXPECT_EQ(PaneRect(left), CRect(0, 0, 1, 300));

  // The left pane keeps its width when the window is resized.
  splitter.MoveWindow(0, 0, 402, 202);
  EXPECT_EQ(PaneRect(left), CRect(0, 0, 1, 200));
  EXPECT_EQ(PaneRect(right), CRect(6, 0, 400, 200));
}

TEST_F(Splitter, EscDuringADragLeavesThePanesAndGivesTheFocusBack) {
  ASSERT_TRUE(Make(SplitterCtrl::kVertical));
  right.SetFocus();
  ASSERT_EQ(CWnd::GetFocus(), &right);
  Post(WM_LBUTTONDOWN, 202, 100);
  EXPECT_EQ(CWnd::GetFocus(), &splitter);
  Post(WM_MOUSEMOVE, 420, 100);
  splitter.PostMessage(WM_KEYDOWN, VK_ESCAPE, 1);
  PumpThroughPreTranslate();
  EXPECT_EQ(CWnd::GetFocus(), &right);
  EXPECT_EQ(CWnd::GetCapture(), nullptr);
  Post(WM_LBUTTONUP, 420, 100);  // the drag is over: the release moves nothing
  EXPECT_EQ(PaneRect(left), CRect(0, 0, 200, 300));
  EXPECT_EQ(PaneRect(right), CRect(205, 0, 600, 300));
}

// A colour of the host's window DC at a point of the splitter's client area (where the ghost is drawn).
COLORREF GhostPixel(CWnd& host, CWnd& splitter, CPoint point) {
  splitter.ClientToScreen(point);
  CRect window;
  host.GetWindowRect(window);
  CWindowDC dc(&host);
  return dc.GetPixel(point.x - window.left, point.y - window.top);
}

TEST_F(Splitter, ADragWhoseCaptureIsTakenEndsAsEscEndsIt) {
  ASSERT_TRUE(Make(SplitterCtrl::kVertical));
  CWnd thief;
  ASSERT_TRUE(thief.Create(_T("STATIC"), _T(""), WS_CHILD | WS_VISIBLE, RECT{0, 0, 1, 1}, &host, 13));
  right.SetFocus();
  PumpThroughPreTranslate();
  const COLORREF before = GhostPixel(host, splitter, CPoint(420, 150));

  Post(WM_LBUTTONDOWN, 202, 100);
  Post(WM_MOUSEMOVE, 420, 100);
  ASSERT_TRUE(splitter.IsTracking());
  EXPECT_NE(GhostPixel(host, splitter, CPoint(420, 150)), before);  // the ghost bar is shown

  thief.SetCapture();
  EXPECT_FALSE(splitter.IsTracking());
  EXPECT_EQ(CWnd::GetCapture(), &thief);  // the new owner keeps its capture
  EXPECT_EQ(GhostPixel(host, splitter, CPoint(420, 150)), before);
  EXPECT_EQ(CWnd::GetFocus(), &right);
  ::ReleaseCapture();
  Post(WM_LBUTTONUP, 500, 100);
  EXPECT_EQ(PaneRect(left), CRect(0, 0, 200, 300));
  EXPECT_EQ(PaneRect(right), CRect(205, 0, 600, 300));

  // The system cancelling modes (a message box about to show) ends a drag the same way.
  Post(WM_LBUTTONDOWN, 202, 100);
  Post(WM_MOUSEMOVE, 420, 100);
  splitter.SendMessage(WM_CANCELMODE);
  EXPECT_FALSE(splitter.IsTracking());
  EXPECT_EQ(CWnd::GetCapture(), nullptr);
  EXPECT_EQ(CWnd::GetFocus(), &right);
  EXPECT_EQ(GhostPixel(host, splitter, CPoint(420, 150)), before);
  Post(WM_LBUTTONUP, 420, 100);
  EXPECT_EQ(PaneRect(left), CRect(0, 0, 200, 300));
}

TEST_F(Splitter, DestroyingTheSplitterWritesTheLeftPanesEdgeUnderItsSection) {
  ASSERT_TRUE(Make(SplitterCtrl::kVertical));
  Post(WM_LBUTTONDOWN, 202, 100);
  Post(WM_LBUTTONUP, 252, 100);
  ASSERT_EQ(PaneRect(left).right, 250);
  const TCHAR section[] = {0x7073, 0x746C, 0x695C, 0x696E, 0x5F74, 'v', 'H', 'o', 'r', 'i', 'z', 'S', 'p', 'l',
                           'i',    't',    'P',    'o',    's',    '1', '5', '7', 0};
  EXPECT_EQ(Stored(section, L"VertSplitPos"), 0xFFFFFFFFu);
  splitter.DestroyWindow();
  EXPECT_EQ(Stored(section, L"VertSplitPos"), 250u);
  EXPECT_EQ(Stored(splitter::HorizontalSection(157), L"HorizSplitPos"), 0xFFFFFFFFu);

  // A new splitter with the same id starts where the last one ended.
  ASSERT_TRUE(Make(SplitterCtrl::kVertical));
  EXPECT_EQ(PaneRect(left), CRect(0, 0, 250, 300));
}

TEST_F(Splitter, AHorizontalSplitterStartsWithABottomPaneOfTwiceItsSecondSize) {
  ASSERT_TRUE(Make(SplitterCtrl::kHorizontal, 158, 50));
  EXPECT_EQ(PaneRect(right), CRect(0, 200, 600, 300));
  EXPECT_EQ(PaneRect(left), CRect(0, 0, 600, 195));
  Post(WM_LBUTTONDOWN, 300, 198);
  Post(WM_LBUTTONUP, 300, 148);
  EXPECT_EQ(splitter.GetBottomPaneHeight(), 150);
  splitter.MoveWindow(0, 0, 602, 252);
  EXPECT_EQ(PaneRect(right), CRect(0, 100, 600, 250));
  splitter.DestroyWindow();
  EXPECT_EQ(Stored(splitter::HorizontalSection(158), L"HorizSplitPos"), 150u);
}

// A split stored while maximised on a large screen, read in a smaller window: the other pane keeps a third
// of the room (not 3 pixels beside an edge), the split comes back whole in a window large enough for it,
// and the stored value stays as it was.
TEST_F(Splitter, AStoredSplitWiderThanTheWindowLeavesBothPanesAShare) {
  theApp.WriteProfileInt(splitter::VerticalSection(157), splitter::kVerticalValue, 1500);
  ASSERT_TRUE(Make(SplitterCtrl::kVertical));
  EXPECT_EQ(PaneRect(left), CRect(0, 0, 397, 300));
  EXPECT_EQ(PaneRect(right), CRect(402, 0, 600, 300));  // a third of the 595 pixels beside the bar
  splitter.MoveWindow(0, 0, 1902, 302);
  EXPECT_EQ(PaneRect(left), CRect(0, 0, 1500, 300));
  EXPECT_EQ(PaneRect(right), CRect(1505, 0, 1900, 300));
  splitter.MoveWindow(0, 0, 1002, 302);
  EXPECT_EQ(PaneRect(right), CRect(1000 - 240, 0, 1000, 300));  // a usable width
  splitter.DestroyWindow();
  EXPECT_EQ(Stored(splitter::VerticalSection(157), L"VertSplitPos"), 1500u);
}

TEST_F(Splitter, AStoredBottomPaneTallerThanTheWindowLeavesTheTopPaneAShare) {
  theApp.WriteProfileInt(splitter::HorizontalSection(158), splitter::kHorizontalValue, 1000);
  ASSERT_TRUE(Make(SplitterCtrl::kHorizontal, 158, 50));
  EXPECT_EQ(PaneRect(left), CRect(0, 0, 600, 98));
  EXPECT_EQ(PaneRect(right), CRect(0, 103, 600, 300));
  splitter.MoveWindow(0, 0, 602, 1302);
  EXPECT_EQ(PaneRect(left), CRect(0, 0, 600, 295));
  EXPECT_EQ(PaneRect(right), CRect(0, 300, 600, 1300));
  splitter.DestroyWindow();
  EXPECT_EQ(Stored(splitter::HorizontalSection(158), L"HorizSplitPos"), 1000u);
}

TEST_F(Splitter, HidingTheFirstPaneGivesTheSecondTheWholeArea) {
  ASSERT_TRUE(Make(SplitterCtrl::kVertical));
  splitter.HideFirstPane();
  EXPECT_FALSE(left.IsWindowVisible());
  EXPECT_EQ(PaneRect(right), CRect(0, 0, 600, 300));
  Post(WM_LBUTTONDOWN, 202, 100);  // no bar to catch
  EXPECT_EQ(CWnd::GetCapture(), nullptr);
  splitter.ShowFirstPane();
  EXPECT_TRUE(left.IsWindowVisible());
  EXPECT_EQ(PaneRect(left), CRect(0, 0, 200, 300));
  EXPECT_EQ(PaneRect(right), CRect(205, 0, 600, 300));
}

}  // namespace

namespace {

// Every control of this file in one window, as a person sees them: progress_pie_splitter.png.
TEST(ProgressPieSplitter, Screenshot) {
  ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Dorvane Controls Test");
  theApp.SetRegistryKey(kRegistryKey);
  Host host;
  ASSERT_TRUE(host.Open(640, 500));
  std::vector<std::unique_ptr<CWnd>> owned;
  auto label = [&](LPCTSTR text, int x, int y, int width) {
    auto* wnd = new CStatic;
    owned.emplace_back(wnd);
    wnd->Create(text, WS_CHILD | WS_VISIBLE, RECT{x, y, x + width, y + 16}, &host);
    wnd->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(Host::Font()));
  };
  label(_T("Scanning sectors"), 16, 12, 280);
  label(_T("Saving files"), 336, 12, 280);
  const int positions[] = {0, 37, 100};
  for (int i = 0; i < 3; ++i) {
    int y = 32 + i * 30;
    auto* gradient = new PagesGradient;
    owned.emplace_back(gradient);
    ASSERT_TRUE(gradient->Make(host, RECT{16, y, 304, y + 20}, 100 + i));
    gradient->SetPos(positions[i]);
    auto* text = new TextProgressCtrl;
    owned.emplace_back(text);
    ASSERT_TRUE(text->Create(WS_CHILD | WS_VISIBLE | WS_BORDER, RECT{336, y, 624, y + 20}, &host, 110 + i));
    text->SetRange(0, 100);
    text->SetPos(positions[i]);
  }

  label(_T("Disk space of C:\\"), 16, 130, 280);
  DiskSpacePieCtrl pie;
  ASSERT_TRUE(pie.Create(_T(""), WS_CHILD | WS_VISIBLE, RECT{16, 148, 624, 318}, &host, 120));
  const ULONGLONG mib = 1ull << 20;
  pie.SetSpace(_T("C:\\"), 122880 * mib, 77414 * mib);  // 120 GB, 37 % used

  label(_T("Folders and files"), 16, 328, 280);
  CListBox folders;
  ASSERT_TRUE(folders.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, RECT{0, 0, 10, 10}, &host, 130));
  CListBox files;
  ASSERT_TRUE(files.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, RECT{0, 0, 10, 10}, &host, 131));
  for (CListBox* list : {&folders, &files}) list->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(Host::Font()));
  for (LPCTSTR name : {_T("Documents"), _T("Pictures"), _T("Projects"), _T("Lost Dir")}) folders.AddString(name);
  for (LPCTSTR name : {_T("budget 2026.xlsx"), _T("holiday.jpg"), _T("letter.docx"), _T("notes.txt")}) {
    files.AddString(name);
  }
  SplitterCtrl split;
  ASSERT_TRUE(split.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | SplitterCtrl::kVertical, &host, &folders, &files, 157,
                           RECT{16, 346, 624, 486}, 50, 150));
  host.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  harness::PumpFor(200);
  EXPECT_FALSE(harness::CaptureWindow(host.GetSafeHwnd(), "progress_pie_splitter").empty());
  host.DestroyWindow();
  ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Dorvane Controls Test");
  theApp.m_pszRegistryKey = nullptr;
}

}  // namespace
