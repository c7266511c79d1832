// The hyperlink in a real window: its target opens through the shell, a failure is told with its message,
// hover lasts only while the cursor is over the text, and an image static gets no link behaviour.
#include "toolkit/controls/tk_hyperlink.h"

#include <algorithm>
#include <gtest/gtest.h>

#include "platform/classlib/win/classlib_win.h"
#include "platform/harness/driver.h"
#include "platform/harness/scripted_seams.h"
#include "toolkit/common/color_manager.h"

namespace {

class TestApp : public CWinApp {
 public:
  TestApp() : CWinApp(_T("Dorvane Hyperlink Test")) {}
};
TestApp theApp;

class Hyperlink : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host.CreateEx(0, nullptr, _T("Links"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 400, 160, nullptr,
                              nullptr));
    ASSERT_TRUE(link.Create(_T("https://example.org/help"), WS_CHILD | WS_VISIBLE | SS_LEFT, CRect(10, 10, 380, 40),
                            &host, 7));
    harness::PumpMessages();
  }
  void TearDown() override { host.DestroyWindow(); }

  // A click on the control as the static reports it to its parent.
  void Click() { host.SendMessage(WM_COMMAND, MAKEWPARAM(7, STN_CLICKED), reinterpret_cast<LPARAM>(link.m_hWnd)); }
  void CursorAt(int x) {
    CRect r;
    link.GetWindowRect(r);
    ::SetCursorPos(r.left + x, r.top + r.Height() / 2);
  }

  CWnd host;
  CTKHyperLink link;
  harness::ScopedSeams seams;
};

TEST_F(Hyperlink, OpensItsOwnTextThroughTheShellAndBecomesVisited) {
  EXPECT_EQ(link.GetURL(), CString(_T("https://example.org/help")));
  ASSERT_NE(link.GetToolTip().m_hWnd, nullptr);  // made once the window existed
  EXPECT_EQ(link.GetToolTip().GetToolCount(), 1);
  LOGFONT lf{};
  ::GetObjectW(reinterpret_cast<HFONT>(link.SendMessage(WM_GETFONT)), sizeof lf, &lf);
  EXPECT_EQ(lf.lfUnderline, 1);
  CursorAt(5);
  Click();
  const auto opened = seams.shell.Executed();
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0].verb, u"open");
  EXPECT_EQ(opened[0].target, u"https://example.org/help");
  EXPECT_TRUE(link.GetVisited());
  EXPECT_TRUE(seams.boxes.Log().empty());
}

TEST_F(Hyperlink, AFailedOpenIsToldAndLeavesTheLinkUnvisited) {
  seams.shell.SetExecuteResult(31);
  CursorAt(5);
  Click();
  EXPECT_FALSE(link.GetVisited());
  seams.shell.SetExecuteResult(4);
  EXPECT_FALSE(link.GotoURL(_T("mailto:x")));
  const auto shown = seams.boxes.Log();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].text, u"There is no application associated with the given file name extension.");
  EXPECT_EQ(shown[1].text, u"An unknown error number 4 occured.");
}

TEST_F(Hyperlink, HoverOnlyWhileTheCursorIsOverTheText) {
  CursorAt(5);
  link.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 10));
  link.SendMessage(WM_TIMER, 1, 0);
  EXPECT_TRUE(link.IsHovering());
  CursorAt(360);  // inside the control, beyond the text
  EXPECT_FALSE(link.IsCursorOverText());
  link.SendMessage(WM_TIMER, 1, 0);
  EXPECT_FALSE(link.IsHovering());
  link.SendMessage(WM_TIMER, 1, 0);  // no one-step flash once it has left
  EXPECT_FALSE(link.IsHovering());
  CursorAt(360);
  Click();
  EXPECT_TRUE(seams.shell.Executed().empty());  // a click beside the text opens nothing
}

TEST_F(Hyperlink, AnImageStaticIsNoLink) {
  CTKHyperLink image;
  ASSERT_TRUE(image.Create(_T(""), WS_CHILD | WS_VISIBLE | SS_ICON, CRect(10, 60, 42, 92), &host, 8));
  EXPECT_FALSE(image.IsTextControl());
  EXPECT_FALSE(image.IsCursorOverText());
  EXPECT_EQ(image.GetToolTip().m_hWnd, nullptr);
  EXPECT_EQ(image.GetBackColor(), TKPColorManager()->GetColor(15));
}

}  // namespace

namespace {

// Pixels of one colour in a row band of the control as the screen shows it, and the longest run of them in
// any one row (an underline is one long run).
struct Ink {
  int count = 0;
  int longestRun = 0;
};

Ink InkOf(CWnd& wnd, COLORREF colour) {
  wnd.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  harness::PumpMessages();
  CRect client;
  wnd.GetClientRect(client);
  CClientDC dc(&wnd);
  Ink ink;
  for (int y = 0; y < client.Height(); ++y) {
    int run = 0;
    for (int x = 0; x < client.Width(); ++x) {
      if (::GetPixel(dc.m_hDC, x, y) == colour) {
        ++ink.count;
        ink.longestRun = std::max(ink.longestRun, ++run);
      } else {
        run = 0;
      }
    }
  }
  return ink;
}

TEST_F(Hyperlink, PaintsItsTextInTheLinkColourOnItsBackgroundAndUnderlinedWhenHot) {
  link.SetBackColor(RGB(250, 240, 200));
  CString text;
  link.GetWindowText(text);
  CClientDC measure(&link);
  CFont* font = link.GetFont();
  ASSERT_NE(font, nullptr);
  HGDIOBJ old = ::SelectObject(measure.m_hDC, font->m_hObject);
  SIZE extent{};
  ::GetTextExtentPoint32W(measure.m_hDC, text.GetString(), text.GetLength(), &extent);
  ::SelectObject(measure.m_hDC, old);

  const Ink idle = InkOf(link, link.GetLinkColor());
  EXPECT_GT(idle.count, extent.cx);                    // the text itself, in the link colour
  EXPECT_GE(idle.longestRun, extent.cx * 9 / 10);      // and its underline
  EXPECT_EQ(InkOf(link, link.GetHoverColor()).count, 0);
  const Ink back = InkOf(link, RGB(250, 240, 200));   // the rest is the background colour, not the parent's
  CRect client;
  link.GetClientRect(client);
  EXPECT_GT(back.count, client.Width() * client.Height() / 2);

  CursorAt(5);
  link.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 10));
  link.SendMessage(WM_TIMER, 1, 0);
  ASSERT_TRUE(link.IsHovering());
  const Ink hot = InkOf(link, link.GetHoverColor());
  EXPECT_GT(hot.count, extent.cx);
  EXPECT_GE(hot.longestRun, extent.cx * 9 / 10);
  EXPECT_EQ(InkOf(link, link.GetLinkColor()).count, 0);

  link.SetUnderline(FALSE);
  EXPECT_LT(InkOf(link, link.GetHoverColor()).longestRun, extent.cx / 2);
  link.KillTimer(1);
}

}  // namespace
