// The list sorter, the shell's icons and type names, and the status bar's support link, in real windows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/classlib/win/clistctrl.h"
#include "platform/classlib/win/cwnd.h"
#include "platform/harness/driver.h"
#include "platform/harness/seam_test.h"
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
