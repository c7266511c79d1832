// The caption bar in real windows: the close button's click reaches the owner, the text button opens the
// child in a popup, the push pin puts it back and losing the focus closes it; user colours outlive a
// colour change. The gallery of headers, lists and captions is the screenshot
// toolkit_header_list_caption.png.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <vector>

#include "platform/classlib/win/classlib_win.h"
#include "platform/harness/driver.h"
#include "res/toolkit_resource.h"
#include "toolkit/controls/tk_caption.h"
#include "toolkit/controls/tk_caption_popup.h"
#include "toolkit/controls/tk_list_ctrl.h"

namespace {

// A top-level window that keeps the commands and caption notices it is sent.
class RecordingHost : public CWnd {
 public:
  std::vector<std::pair<UINT, WPARAM>> heard;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_COMMAND || message == kTKCaptionChildBack || message == kTKCaptionPopupClosed)
      heard.emplace_back(message, wParam);
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

bool Heard(const RecordingHost& host, UINT message) {
  for (const auto& entry : host.heard) {
    if (entry.first == message) return true;
  }
  return false;
}

class CaptionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_host.CreateEx(0, nullptr, _T("Captions"), WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 60, 60,
                                420, 320, nullptr, nullptr));
  }
  void TearDown() override { m_host.DestroyWindow(); }
  RecordingHost m_host;
};

TEST_F(CaptionTest, CloseButtonSendsTheCaptionsIdToItsOwner) {
  CTKCaption caption;
  ASSERT_TRUE(
      caption.Create(&m_host, _T("Preview"), kTKCaptionCloseButton, WS_CHILD | WS_VISIBLE, CRect(10, 10, 310, 34), 77));
  CRect button;
  caption.Button().GetWindowRect(button);
  caption.ScreenToClient(button);
  EXPECT_EQ(button, CRect(282, 4, 298, 19));
  EXPECT_TRUE(caption.Button().IsWindowVisible());
  EXPECT_FALSE(caption.m_bTextButton);

  harness::ClickCentre(caption.Button().m_hWnd);
  harness::PumpFor(50);
  ASSERT_TRUE(Heard(m_host, WM_COMMAND));
  EXPECT_EQ(m_host.heard.back().second, 77u);
  EXPECT_EQ(caption.Popup(), nullptr);
}

TEST_F(CaptionTest, LongTextEndsInsideTheCaptionAndLeavesRoomForTheIcon) {
  CTKCaption caption;
  ASSERT_TRUE(caption.Create(&m_host, _T("A caption text far too long for the narrow bar it sits in"), 0,
                             WS_CHILD | WS_VISIBLE, CRect(10, 10, 130, 34), 78));
  EXPECT_EQ(caption.GetTextRect().right, 120);
  caption.ModifyCaptionStyle(0, nullptr, nullptr, ::LoadIconW(nullptr, MAKEINTRESOURCEW(32512)));
  EXPECT_EQ(caption.GetTextRect().right, 120 - 18);
  caption.ModifyCaptionStyle(0, nullptr, nullptr);
  EXPECT_FALSE(caption.GetTextRect().IsRectEmpty());  // no text given: the text stays
  caption.ModifyCaptionStyle(0, nullptr, _T(""));
  EXPECT_TRUE(caption.GetTextRect().IsRectEmpty());
}

TEST_F(CaptionTest, UserColoursOutliveASystemColourChange) {
  CTKCaption plain, coloured;
  ASSERT_TRUE(plain.Create(&m_host, _T("Plain"), kTKCaptionSunken, WS_CHILD | WS_VISIBLE, CRect(10, 10, 200, 34), 1));
  ASSERT_TRUE(coloured.Create(&m_host, _T("Mine"), kTKCaptionSunken, WS_CHILD | WS_VISIBLE, CRect(10, 40, 200, 64), 2));
  coloured.SetCaptionColors(0x202020, 0x804000, 0xFFFFFF);
  plain.m_crText = 0x123456;
  for (CTKCaption* caption : {&plain, &coloured}) caption->SendMessage(WM_SYSCOLORCHANGE);
  EXPECT_EQ(plain.m_crText, ::GetSysColor(COLOR_BTNTEXT));
  EXPECT_EQ(coloured.m_crBack, 0x804000u);
  EXPECT_EQ(coloured.m_crText, 0xFFFFFFu);
}

// A pane with a list in it, the caption above the pane as its owner's bar.
class PopupTest : public CaptionTest {
 protected:
  void SetUp() override {
    CaptionTest::SetUp();
    ASSERT_TRUE(m_pane.CreateEx(0, nullptr, _T(""), WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 10, 40, 200, 220,
                                m_host.m_hWnd, nullptr));
    ASSERT_TRUE(m_child.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 20, 200, 220), &m_pane, 31));
    m_child.InsertColumn(0, _T("Folder"), LVCFMT_LEFT, 150);
    m_child.InsertItem(0, _T("Documents"));
    ASSERT_TRUE(
        m_caption.Create(&m_host, _T("Folders"), kTKCaptionRaised, WS_CHILD | WS_VISIBLE, CRect(10, 10, 210, 34), 9));
    EXPECT_FALSE(m_caption.Button().IsWindowVisible());
    m_caption.SetChildWindow(&m_child, &m_host);
    EXPECT_TRUE(m_caption.Button().IsWindowVisible());
    EXPECT_EQ(m_caption.m_nChildOffset, 20);
  }
  void TearDown() override {
    m_caption.DestroyWindow();
    CaptionTest::TearDown();
  }
  void OpenPopup() {
    harness::ClickCentre(m_caption.Button().m_hWnd);
    harness::PumpFor(30);
    ASSERT_NE(m_caption.Popup(), nullptr);
  }
  CWnd m_pane;
  CTKListCtrl m_child;
  CTKCaption m_caption;
};

TEST_F(PopupTest, TheButtonShowsTheChildInAPopupAndThePushPinPutsItBack) {
  OpenPopup();
  CTKCaptionPopupWnd* popup = m_caption.Popup();
  EXPECT_TRUE(popup->IsWindowVisible());
  EXPECT_EQ(::GetParent(m_child.m_hWnd), popup->m_hWnd);
  EXPECT_EQ(popup->Caption().GetCaptionText(), CString(_T("Click push pin to keep open")));
  EXPECT_FALSE(popup->Caption().m_bTextButton);
  EXPECT_NE(m_caption.Button().SendMessage(BM_GETSTATE) & BST_PUSHED, 0);
  // The popup covers the pane, with its own caption strip above the child.
  CRect pane, shown, strip;
  m_pane.GetWindowRect(pane);
  popup->GetWindowRect(shown);
  EXPECT_EQ(shown.TopLeft(), pane.TopLeft());
  popup->Caption().GetWindowRect(strip);
  EXPECT_EQ(strip.Height(), 19);
  CRect child;
  m_child.GetWindowRect(child);
  EXPECT_EQ(child.top, strip.bottom);

  harness::ClickCentre(popup->PushPin().m_hWnd);
  harness::PumpFor(50);
  EXPECT_EQ(m_caption.Popup(), nullptr);
  EXPECT_EQ(::GetParent(m_child.m_hWnd), m_pane.m_hWnd);
  m_child.GetWindowRect(child);
  m_pane.ScreenToClient(child);
  EXPECT_EQ(child.top, 20);
  EXPECT_TRUE(Heard(m_host, kTKCaptionChildBack));
  EXPECT_FALSE(Heard(m_host, kTKCaptionPopupClosed));
  EXPECT_FALSE(m_caption.Button().IsWindowVisible());
}

TEST_F(PopupTest, LosingTheFocusClosesThePopupOnce) {
  CEdit elsewhere;
  ASSERT_TRUE(elsewhere.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(220, 10, 400, 34), &m_host, 40));
  OpenPopup();
  m_child.SetFocus();
  harness::PumpFor(60);
  ASSERT_NE(m_caption.Popup(), nullptr);  // the child has the focus: the popup stays
  m_host.SetActiveWindow();
  elsewhere.SetFocus();
  EXPECT_TRUE(harness::WaitUntil([&] { return m_caption.Popup() == nullptr; }, 2000));
  harness::PumpFor(60);
  int closed = 0;
  for (const auto& entry : m_host.heard) closed += entry.first == kTKCaptionPopupClosed ? 1 : 0;
  EXPECT_EQ(closed, 1);
  EXPECT_EQ(::GetParent(m_child.m_hWnd), m_pane.m_hWnd);
  EXPECT_TRUE(m_caption.Button().IsWindowVisible());
  EXPECT_EQ(m_caption.Button().SendMessage(BM_GETSTATE) & BST_PUSHED, 0u);
}

// ---- the gallery ----

class GalleryList : public CTKListCtrl {
 public:
  void Fill(const wchar_t* const (*rows)[3], int count) {
    InsertColumn(0, _T("Name"), LVCFMT_LEFT, 150);
    InsertColumn(1, _T("Size"), LVCFMT_RIGHT, 80);
    InsertColumn(2, _T("Type"), LVCFMT_LEFT, 110);
    for (int r = 0; r < count; ++r) {
      InsertItem(r, rows[r][0]);
      SetItemText(r, 1, rows[r][1]);
      SetItemText(r, 2, rows[r][2]);
    }
  }
};

TEST_F(CaptionTest, GalleryOfHeadersListsAndCaptions) {
  m_host.ShowWindow(SW_HIDE);
  CWnd host;
  LPCTSTR face = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW), ::GetSysColorBrush(COLOR_3DFACE));
  ASSERT_TRUE(host.CreateEx(0, face, _T("Toolkit header, lists and captions"),
                            WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 20, 20, 760, 560, nullptr, nullptr));
  static const wchar_t* const rows[][3] = {{L"holiday.jpg", L"2,304 KB", L"JPEG image"},
                                           {L"notes.txt", L"4 KB", L"Text Document"},
                                           {L"report.docx", L"88 KB", L"Word Document"},
                                           {L"setup.log", L"12 KB", L"Text Document"}};
  // The captions: sunken with an icon, with a close button, flat, and gradient.
  CTKCaption sunken, closing, flat, gradient;
  ASSERT_TRUE(sunken.Create(&host, _T("Recovered files"), kTKCaptionSunken, WS_CHILD | WS_VISIBLE,
                            CRect(10, 10, 360, 34), 1));
  sunken.ModifyCaptionStyle(0, nullptr, nullptr, ::LoadIconW(nullptr, MAKEINTRESOURCEW(32516)));
  ASSERT_TRUE(closing.Create(&host, _T("Preview"), kTKCaptionRaised | kTKCaptionCloseButton, WS_CHILD | WS_VISIBLE,
                             CRect(380, 10, 730, 34), 2));
  ASSERT_TRUE(flat.Create(&host, _T("Folders"), kTKCaptionRaised, WS_CHILD | WS_VISIBLE, CRect(10, 290, 360, 314), 3));
  auto* flatTheme = new CTKCaptionThemeFlat;
  flatTheme->m_nTheme = 1;
  flat.ThemeHost().SetTheme(flatTheme);
  ASSERT_TRUE(gradient.Create(&host, _T("Deleted files"), 0, WS_CHILD | WS_VISIBLE, CRect(380, 290, 730, 314), 4));
  auto* gradientTheme = new CTKCaptionThemeGradient;
  gradientTheme->m_nTheme = 2;
  gradient.ThemeHost().SetTheme(gradientTheme);

  // Left: the flat header, sorted by name with a tinted column and coloured rows.
  GalleryList sorted;
  ASSERT_TRUE(sorted.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT, CRect(10, 40, 360, 280), &host, 11));
  sorted.Fill(rows, 4);
  ASSERT_TRUE(sorted.SubclassHeader());
  sorted.m_bTintSortColumn = TRUE;
  sorted.m_bRowColors = TRUE;
  sorted.SetRowColor(1, TKTextColor(0x0000C0), TKBackColor(0xE8F0FF));
  sorted.SetSortImage(0, TRUE);

  // Right: the 3-D header, sorted by size descending; below, the shaded header with a bold font.
  GalleryList raised;
  ASSERT_TRUE(raised.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT, CRect(380, 40, 730, 280), &host, 12));
  raised.Fill(rows, 4);
  CTKHeaderCtrl raisedHeader;
  ASSERT_TRUE(raisedHeader.SubclassWindow(ListView_GetHeader(raised.m_hWnd)));
  raised.SetSortImage(1, FALSE);

  GalleryList shaded;
  const DWORD listStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS;
  ASSERT_TRUE(shaded.Create(listStyle, CRect(10, 320, 730, 510), &host, 13));
  shaded.Fill(rows, 4);
  ASSERT_TRUE(shaded.SubclassHeader(TRUE));
  auto* shadedTheme = new CTKHeaderThemeShaded;
  shadedTheme->m_nTheme = 2;
  shaded.FlatHeader().ThemeHost().SetTheme(shadedTheme);
  shaded.SetSortImage(2, TRUE);
  shaded.SetExtendedStyle(LVS_EX_FULLROWSELECT);
  shaded.SetItemState(2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  shaded.SetFocus();

  host.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  harness::PumpFor(200);
  EXPECT_FALSE(harness::CaptureWindow(host.m_hWnd, "toolkit_header_list_caption").empty());
  raisedHeader.UnsubclassWindow();
  host.DestroyWindow();
}

}  // namespace
