// The list sorter, the shell's icons and type names, and the status bar's support link, in real windows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/classlib/win/ccontrolbar.h"
#include "platform/classlib/win/cdc.h"
#include "platform/classlib/win/clistctrl.h"
#include "platform/classlib/win/cwnd.h"
#include "platform/harness/driver.h"
#include "platform/harness/seam_test.h"
#include "ui/controls/flat_combo_box.h"
#include "ui/controls/link_status_bar.h"
#include "ui/controls/list_column_sorter.h"
#include "ui/controls/shell_file_info.h"
#include "ui/controls/status_list_ctrl.h"

namespace ui {
namespace {

class SmallControlsTest : public harness::SeamTest {
 protected:
  void SetUp() override {
    harness::SeamTest::SetUp();
    ASSERT_TRUE(host_.CreateEx(0, AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)),
                               L"Small controls", WS_POPUP | WS_CAPTION | WS_VISIBLE, 100, 100, 600, 300, nullptr, nullptr));
  }
  void TearDown() override {
    host_.DestroyWindow();
    harness::PumpMessages();
    harness::SeamTest::TearDown();
  }
  CWnd host_;
};

// Name, size and the row's own data.
struct Row {
  const wchar_t* name;
  const wchar_t* size;
  DWORD_PTR data;
};

TEST_F(SmallControlsTest, SortingBySizePastFourGibAndPuttingTheItemDataBack) {
  StatusListCtrl list;
  ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, RECT{0, 0, 580, 240}, &host_, 100));
  list.InsertColumn(0, L"Name", LVCFMT_LEFT, 200);
  list.InsertColumn(1, L"Size", LVCFMT_RIGHT, 200);
  const std::vector<Row> rows = {{L"big.vhd", L"6,442,450,944", 11},  {L"notes.txt", L"10 MB", 12},
                                 {L"photo.jpg", L"9 MB", 13},          {L"past4.bin", L"4,294,967,297", 14},
                                 {L"two.iso", L"2,147,483,648", 15},   {L"small.doc", L"100 KB", 16}};
  for (size_t i = 0; i < rows.size(); ++i) {
    int item = list.InsertItem(static_cast<int>(i), rows[i].name);
    list.SetItemText(item, 1, rows[i].size);
    list.SetItemData(item, rows[i].data);
  }
  auto names = [&] {
    std::vector<std::wstring> order;
    for (int i = 0; i < list.GetItemCount(); ++i) order.push_back(static_cast<LPCTSTR>(list.GetItemText(i, 0)));
    return order;
  };
  {
    ListColumnSorter sorter(&list, 1);
    sorter.Sort(true, kSortInteger);
    EXPECT_EQ(names(), (std::vector<std::wstring>{L"photo.jpg", L"notes.txt", L"small.doc", L"two.iso", L"past4.bin",
                                                  L"big.vhd"}));
    sorter.Sort(false, kSortInteger);
    EXPECT_EQ(names().front(), L"big.vhd");
    EXPECT_EQ(names().back(), L"photo.jpg");
    sorter.Sort(true, kSortText);
    EXPECT_EQ(names().front(), L"notes.txt");  // as text "10 MB" comes before "100 KB" and "2,147,..."
  }
  // Every row has its own data back, wherever it moved.
  for (int i = 0; i < list.GetItemCount(); ++i) {
    std::wstring name = static_cast<LPCTSTR>(list.GetItemText(i, 0));
    for (const Row& row : rows) {
      if (name == row.name) {
        EXPECT_EQ(list.GetItemData(i), row.data) << row.name;
      }
    }
  }
  list.DestroyWindow();
}

TEST_F(SmallControlsTest, StatusRowsAreColouredByColumnAndStatus) {
  StatusListCtrl list;
  ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, RECT{0, 0, 580, 240}, &host_, 100));
  const wchar_t* columns[] = {L"File", L"Status", L"Size", L"Found", L"Saved", L"Path"};
  for (int c = 0; c < 6; ++c) list.InsertColumn(c, columns[c], LVCFMT_LEFT, 90);
  const wchar_t* statuses[] = {L"Pending", L"Done with errors", L"Failed", L"Progress 40%", L"In Progress"};
  for (int r = 0; r < 5; ++r) {
    list.InsertItem(r, L"file.txt");
    list.SetItemText(r, 1, statuses[r]);
    for (int c = 2; c < 6; ++c) list.SetItemText(r, c, L"x");
  }
  list.UpdateWindow();
  harness::PumpFor(50);
  // The empty right end of each cell shows its background.
  auto cell = [&](int row, int column) {
    CRect r;
    list.GetSubItemRect(row, column, LVIR_LABEL, r);
    HDC dc = ::GetDC(list.GetSafeHwnd());
    COLORREF colour = ::GetPixel(dc, r.right - 4, (r.top + r.bottom) / 2);
    ::ReleaseDC(list.GetSafeHwnd(), dc);
    return colour;
  };
  EXPECT_EQ(cell(0, 0), 0xB2F3F5u);
  EXPECT_EQ(cell(0, 1), 0xF3E9F8u);
  EXPECT_EQ(cell(0, 2), 0xE2F2DCu);
  EXPECT_EQ(cell(0, 3), 0xF3E9F8u);
  EXPECT_EQ(cell(3, 2), 0u);  // work in progress: on black
  EXPECT_EQ(cell(4, 2), 0xE2F2DCu);
  EXPECT_FALSE(harness::CaptureWindow(host_.GetSafeHwnd(), "status_list").empty());
  list.DestroyWindow();
}

TEST_F(SmallControlsTest, TheFlatComboBoxLightsUpWhileHovered) {
  FlatComboBox combo;
  ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, RECT{20, 20, 220, 44}, &host_, 101));
  EXPECT_FALSE(combo.IsHot());
  combo.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(combo.IsHot());
  HWND edit = ::GetWindow(combo.GetSafeHwnd(), GW_CHILD);
  ASSERT_NE(edit, nullptr);
  // Into its edit and out again: still hovering until the edit reports the leave.
  ::SendMessageW(edit, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  combo.SendMessage(WM_MOUSELEAVE);
  EXPECT_TRUE(combo.IsHot());
  ::SendMessageW(edit, WM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(combo.IsHot());
  RECT window;
  ::GetWindowRect(combo.GetSafeHwnd(), &window);
  EXPECT_EQ(window.bottom - window.top, 24);  // the closed height it was given
  combo.DestroyWindow();
}

// A control bar with a pale face of its own.
class PaleBar : public CControlBar {
 public:
  static constexpr COLORREF kFace = RGB(214, 226, 240);
  void OnUpdateCmdUI(CCmdTarget*, BOOL) override {}

 protected:
  BOOL OnEraseBkgnd(CDC* dc) {
    RECT rc;
    GetClientRect(&rc);
    dc->FillSolidRect(&rc, kFace);
    return TRUE;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(PaleBar, CControlBar)
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

COLORREF PixelOf(HWND window, int x, int y) {
  HDC dc = ::GetDC(window);
  const COLORREF colour = ::GetPixel(dc, x, y);
  ::ReleaseDC(window, dc);
  return colour;
}

// On a control bar the cold box shows the bar's face in its frame and drop button; hot, it lights up as
// anywhere else. On a plain panel its cold frame is the shadow colour.
TEST_F(SmallControlsTest, OnAControlBarTheFlatComboBoxTakesTheBarsFace) {
  PaleBar bar;
  ASSERT_TRUE(bar.CreateEx(0, AfxRegisterWndClass(0), L"Bar", WS_CHILD | WS_VISIBLE, 0, 180, 600, 40, host_.GetSafeHwnd(),
                           nullptr));
  FlatComboBox onBar, onPanel;
  ASSERT_TRUE(onBar.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, RECT{60, 8, 260, 32}, &bar, 102));
  ASSERT_TRUE(onPanel.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, RECT{60, 40, 260, 64}, &host_, 103));
  EXPECT_EQ(onBar.GetControlBar(), &bar);
  EXPECT_EQ(onPanel.GetControlBar(), nullptr);
  for (CWnd* wnd : {static_cast<CWnd*>(&bar), static_cast<CWnd*>(&onBar), static_cast<CWnd*>(&onPanel)}) {
    wnd->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  }
  harness::PumpFor(50);
  RECT client;
  onBar.GetClientRect(&client);
  const int middle = client.bottom / 2;
  const int button = client.right - 6;  // inside the drop button, clear of its arrow
  EXPECT_EQ(PixelOf(onBar.GetSafeHwnd(), 0, middle), PaleBar::kFace);
  EXPECT_EQ(PixelOf(onBar.GetSafeHwnd(), button, 3), PaleBar::kFace);
  EXPECT_EQ(PixelOf(onPanel.GetSafeHwnd(), 0, middle), ::GetSysColor(COLOR_BTNSHADOW));
  EXPECT_FALSE(harness::CaptureWindow(host_.GetSafeHwnd(), "flat_combo_on_bar").empty());

  onBar.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  ASSERT_TRUE(onBar.IsHot());
  onBar.UpdateWindow();
  EXPECT_EQ(PixelOf(onBar.GetSafeHwnd(), 0, middle), ::GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_NE(PixelOf(onBar.GetSafeHwnd(), button, 3), PaleBar::kFace);
  onBar.DestroyWindow();
  onPanel.DestroyWindow();
  bar.DestroyWindow();
}

TEST_F(SmallControlsTest, TheShellGivesAFolderIconAndATypeName) {
  ShellFileInfo shell;
  EXPECT_NE(shell.GetSystemImageList(true), nullptr);
  EXPECT_NE(shell.GetSystemImageList(false), nullptr);
  const int folder = shell.GetFolderIconIndex(true);
  EXPECT_GE(folder, 0);
  EXPECT_LT(folder, ::ImageList_GetImageCount(shell.GetSystemImageList(true)));
  EXPECT_GE(shell.GetIconIndex(L"never-there.txt", true), 0);
  EXPECT_FALSE(shell.GetFileTypeName(L"never-there.txt").IsEmpty());
  EXPECT_FALSE(shell.GetFileTypeName(L"x.unknownkind").IsEmpty());
}

TEST_F(SmallControlsTest, TheStatusBarsLinkOpensTheSupportPageThroughTheShell) {
  LinkStatusBar bar;
  ASSERT_TRUE(bar.Create(&host_));
  const UINT panes[] = {0, 0};
  bar.SetIndicators(panes, 2);
  bar.SetPaneWidths(200);
  UINT id = 0, style = 0;
  int width = 0;
  bar.GetPaneInfo(0, id, style, width);
  EXPECT_EQ(width, 370);
  bar.GetPaneInfo(1, id, style, width);
  EXPECT_EQ(id, 101u);
  EXPECT_TRUE(style & SBPS_STRETCH);
  RECT host;
  host_.GetClientRect(&host);
  bar.SetWindowPos(nullptr, 0, host.bottom - 24, host.right, 24, SWP_NOZORDER);
  bar.UpdateWindow();
  harness::PumpFor(50);
  RECT link{};
  bar.SendMessage(SB_GETRECT, 1, reinterpret_cast<LPARAM>(&link));
  // Outside the link pane nothing opens; inside, the program's support page.
  bar.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(link.left - 20, (link.top + link.bottom) / 2));
  EXPECT_TRUE(seams.shell.Executed().empty());
  bar.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(link.left + 10, (link.top + link.bottom) / 2));
  auto executed = seams.shell.Executed();
  ASSERT_EQ(executed.size(), 1u);
  EXPECT_EQ(executed[0].verb, u"open");
  EXPECT_EQ(executed[0].target, kSupportPage);
  EXPECT_GT(bar.LinkTextSize().cx, 0);
  bar.DestroyWindow();
}

}  // namespace
}  // namespace ui
