// The status bar: panes from indicator ids and their strings, the parts the status window shows,
// texts kept and shown (also from a worker thread and as the window's text), disabled and owner-drawn
// panes, the idle update through a target's update handlers, and the size the bar asks for.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <vector>

#include "platform/classlib/win/controls_test_support.h"
#include "platform/harness/driver.h"
#include "res/resource.h"

namespace {

constexpr UINT kLinkPane = 101;

// What the status window shows in a part.
std::wstring PartText(const CStatusBar& bar, int part) {
  wchar_t text[128] = {};
  ::SendMessageW(bar.m_hWnd, SB_GETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text));
  return text;
}

std::vector<int> PartEdges(const CStatusBar& bar) {
  int edges[16] = {};
  auto count = static_cast<int>(::SendMessageW(bar.m_hWnd, SB_GETPARTS, 16, reinterpret_cast<LPARAM>(edges)));
  return std::vector<int>(edges, edges + count);
}

class RecordingStatusBar : public CStatusBar {
 public:
  std::vector<UINT> drawn;
  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override { drawn.push_back(lpDrawItemStruct->itemID); }
};

class StatusBarTest : public cltest::ControlHost {
 protected:
  void SetUp() override {
    ControlHost::SetUp();
    ASSERT_TRUE(bar.Create(&host));
    CRect client;
    host.GetClientRect(client);
    bar.MoveWindow(0, client.bottom - 22, client.Width(), 22);
    static const UINT indicators[] = {ID_SEPARATOR, kLinkPane, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
    ASSERT_TRUE(bar.SetIndicators(indicators, 5));
  }
  RecordingStatusBar bar;
};

TEST_F(StatusBarTest, IndicatorsBecomePanesWithTheirStrings) {
  EXPECT_EQ(bar.GetCount(), 5);
  EXPECT_EQ(bar.CommandToIndex(ID_INDICATOR_NUM), 3);
  EXPECT_EQ(bar.CommandToIndex(12345), -1);
  EXPECT_EQ(bar.GetItemID(2), static_cast<UINT>(ID_INDICATOR_CAPS));
  EXPECT_EQ(cltest::TextOf(bar.GetPaneText(2)), L"CAP");
  EXPECT_EQ(PartText(bar, 2), L"CAP");
  EXPECT_EQ(PartText(bar, 4), L"SCRL");
  UINT id = 0;
  UINT style = 0;
  int width = 0;
  bar.GetPaneInfo(0, id, style, width);
  EXPECT_EQ(style, SBPS_NOBORDERS | SBPS_STRETCH);
  bar.GetPaneInfo(3, id, style, width);
  EXPECT_EQ(id, static_cast<UINT>(ID_INDICATOR_NUM));
  EXPECT_GT(width, 5);

  // The stretch pane takes what the others leave: the last part ends at the bar's right edge less its
  // own width and padding, and the parts grow left to right.
  std::vector<int> edges = PartEdges(bar);
  ASSERT_EQ(edges.size(), 5u);
  for (size_t i = 1; i < edges.size(); ++i) EXPECT_GT(edges[i], edges[i - 1]);
  CRect client;
  bar.GetClientRect(client);
  EXPECT_NEAR(edges[4], client.right, 8);
  CRect pane;
  bar.GetItemRect(2, pane);
  EXPECT_EQ(pane.right, edges[2]);
  bar.GetItemRect(9, pane);
  EXPECT_TRUE(pane.IsRectNull());
}

TEST_F(StatusBarTest, PaneTextsAreKeptAndShown) {
  ASSERT_TRUE(bar.SetPaneText(1, _T("Contact")));
  EXPECT_EQ(PartText(bar, 1), L"Contact");
  ASSERT_TRUE(bar.SetPaneText(1, _T("Later"), FALSE));
  EXPECT_EQ(PartText(bar, 1), L"Contact");
  EXPECT_EQ(cltest::TextOf(bar.GetPaneText(1)), L"Later");
  bar.UpdateAllPanes(FALSE, TRUE);
  EXPECT_EQ(PartText(bar, 1), L"Later");
  EXPECT_FALSE(bar.SetPaneText(7, _T("nowhere")));

  // The bar's window text is the message pane's.
  bar.SetWindowText(_T("Ready"));
  EXPECT_EQ(PartText(bar, 0), L"Ready");
  EXPECT_EQ(harness::Text(bar.m_hWnd), L"Ready");
  EXPECT_EQ(bar.GetWindowTextLength(), 5);

  // A disabled pane keeps its text but shows none.
  bar.SetPaneStyle(2, SBPS_DISABLED);
  EXPECT_EQ(PartText(bar, 2), L"");
  EXPECT_EQ(cltest::TextOf(bar.GetPaneText(2)), L"CAP");
  bar.SetPaneStyle(2, SBPS_NORMAL);
  EXPECT_EQ(PartText(bar, 2), L"CAP");
}

TEST_F(StatusBarTest, PaneInfoMovesTheStretchAndOwnerDrawnPanesAreDrawnByTheBar) {
  bar.SetPaneInfo(0, ID_SEPARATOR, SBPS_NORMAL, 200);
  bar.SetPaneInfo(1, kLinkPane, SBPS_STRETCH | SBPS_OWNERDRAW, 0);
  std::vector<int> edges = PartEdges(bar);
  ASSERT_EQ(edges.size(), 5u);
  EXPECT_EQ(edges[0], 206);  // its width and the padding
  EXPECT_GT(edges[1] - edges[0], 100);

  bar.drawn.clear();
  bar.SetPaneText(1, _T("link"));
  bar.Invalidate();
  bar.UpdateWindow();
  ASSERT_FALSE(bar.drawn.empty());
  EXPECT_EQ(bar.drawn, std::vector<UINT>(bar.drawn.size(), 1));
}

// The frame's update handlers for the key indicators, as the idle update asks them.
class IndicatorTarget : public CCmdTarget {
 public:
  afx_msg void OnUpdateCaps(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
  afx_msg void OnUpdateLink(CCmdUI* pCmdUI) { pCmdUI->SetText(_T("Support")); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(IndicatorTarget, CCmdTarget)
  ON_UPDATE_COMMAND_UI(ID_INDICATOR_CAPS, OnUpdateCaps)
  ON_UPDATE_COMMAND_UI(kLinkPane, OnUpdateLink)
END_MESSAGE_MAP()

TEST_F(StatusBarTest, TheIdleUpdateSetsPanesThroughTheUpdateHandlers) {
  IndicatorTarget target;
  bar.OnUpdateCmdUI(&target, TRUE);
  EXPECT_EQ(bar.GetPaneStyle(2) & SBPS_DISABLED, SBPS_DISABLED);
  EXPECT_EQ(PartText(bar, 2), L"");
  EXPECT_EQ(PartText(bar, 1), L"Support");
  // Panes without handlers are left alone (not disabled).
  EXPECT_EQ(PartText(bar, 3), L"NUM");
  EXPECT_EQ(bar.GetPaneStyle(3) & SBPS_DISABLED, 0u);
}

TEST_F(StatusBarTest, AWorkerThreadSetsAPaneTextWithOneMessage) {
  cltest::RunOnWorker([&] { bar.SetPaneText(0, _T("Scanning...")); });
  EXPECT_EQ(PartText(bar, 0), L"Scanning...");
  EXPECT_EQ(cltest::TextOf(bar.GetPaneText(0)), L"Scanning...");
}

TEST_F(StatusBarTest, TheBarAsksForALineOfTextAndTheWholeSide) {
  CSize size = bar.CalcFixedLayout(TRUE, TRUE);
  EXPECT_EQ(size.cx, 32767);
  CClientDC dc(&bar);
  dc.SelectObject(CFont::FromHandle(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT))));
  TEXTMETRIC metrics{};
  dc.GetTextMetrics(&metrics);
  EXPECT_GT(size.cy, metrics.tmHeight);
  EXPECT_LT(size.cy, metrics.tmHeight + 16);
  EXPECT_LT(bar.CalcFixedLayout(FALSE, TRUE).cx, 1000);
  EXPECT_TRUE(bar.IsKindOf(RUNTIME_CLASS(CControlBar)));
  EXPECT_EQ(bar.GetBarStyle(), CBRS_BOTTOM);
  EXPECT_EQ(bar.GetStyle() & CBRS_ALIGN_BOTTOM, 0u);  // bar styles stay out of the window's style
}

}  // namespace
