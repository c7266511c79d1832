// The list control and its header driven through CListCtrl and CHeaderCtrl and read back through the
// window: columns, rows and their texts, item data, selection and check states, finding, hit testing,
// sorting, and rows added from a worker thread.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include "platform/classlib/win/controls_test_support.h"
#include "platform/harness/driver.h"
#include "res/resource.h"

namespace {

using cltest::TextOf;
using Rows = std::vector<std::vector<std::wstring>>;

class ListTest : public cltest::ControlHost {
 protected:
  void SetUp() override {
    ControlHost::SetUp();
    ASSERT_TRUE(list.Create(WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS, RECT{0, 0, 400, 250}, &host, 165));
    ASSERT_EQ(list.InsertColumn(0, _T("Name"), LVCFMT_LEFT, 120), 0);
    ASSERT_EQ(list.InsertColumn(1, _T("Size"), LVCFMT_RIGHT, 80), 1);
    ASSERT_EQ(list.InsertColumn(2, _T("Id")), 2);
  }
  void AddRow(int row, LPCTSTR name, LPCTSTR size, DWORD_PTR data) {
    ASSERT_EQ(list.InsertItem(row, name), row);
    list.SetItemText(row, 1, size);
    list.SetItemData(row, data);
  }
  CListCtrl list;
};

TEST_F(ListTest, ColumnsAreTheHeadersItems) {
  CHeaderCtrl* header = list.GetHeaderCtrl();
  ASSERT_NE(header, nullptr);
  EXPECT_TRUE(header->IsKindOf(RUNTIME_CLASS(CHeaderCtrl)));
  EXPECT_EQ(header->GetItemCount(), 3);
  wchar_t text[32] = {};
  HDITEMW item{};
  item.mask = HDI_TEXT | HDI_FORMAT;
  item.pszText = text;
  item.cchTextMax = 32;
  ASSERT_TRUE(header->GetItem(1, &item));
  EXPECT_STREQ(text, L"Size");
  EXPECT_EQ(item.fmt & HDF_JUSTIFYMASK, HDF_RIGHT);

  EXPECT_EQ(list.GetColumnWidth(0), 120);
  ASSERT_TRUE(list.SetColumnWidth(2, 55));
  EXPECT_EQ(list.GetColumnWidth(2), 55);
  LVCOLUMNW column{};
  column.mask = LVCF_FMT;
  column.fmt = LVCFMT_CENTER;
  ASSERT_TRUE(list.SetColumn(0, &column));
  column.fmt = 0;
  ASSERT_TRUE(list.GetColumn(0, &column));
  EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_CENTER);

  int order[3] = {2, 0, 1};
  ASSERT_TRUE(list.SetColumnOrderArray(3, order));
  int back[3] = {};
  ASSERT_TRUE(list.GetColumnOrderArray(back));
  EXPECT_EQ(std::vector<int>(back, back + 3), std::vector<int>(order, order + 3));
  EXPECT_EQ(header->OrderToIndex(0), 2);
  ASSERT_TRUE(list.DeleteColumn(2));
  EXPECT_EQ(header->GetItemCount(), 2);
}

TEST_F(ListTest, RowsTextsAndDataAreWhatTheListShows) {
  AddRow(0, _T("b.txt"), _T("10"), 2);
  AddRow(1, _T("a.txt"), _T("9"), 1);
  ASSERT_EQ(list.InsertItem(LVIF_TEXT | LVIF_PARAM, 2, _T("c.txt"), 0, 0, 0, 3), 2);
  EXPECT_EQ(list.GetItemCount(), 3);
  EXPECT_EQ(harness::ListViewRows(list.m_hWnd),
            (Rows{{L"b.txt", L"10", L""}, {L"a.txt", L"9", L""}, {L"c.txt", L"", L""}}));
  EXPECT_EQ(TextOf(list.GetItemText(1, 1)), L"9");
  EXPECT_EQ(list.GetItemData(2), 3u);
  wchar_t buffer[4] = {};
  EXPECT_EQ(list.GetItemText(0, 0, buffer, 4), 3);  // cut to the buffer
  EXPECT_STREQ(buffer, L"b.t");
  CString longText(_T('y'), 600);
  list.SetItemText(2, 2, longText);
  EXPECT_EQ(list.GetItemText(2, 2), longText);

  LVFINDINFOW find{};
  find.flags = LVFI_STRING;
  find.psz = L"a.txt";
  EXPECT_EQ(list.FindItem(&find), 1);
  find.flags = LVFI_PARAM;
  find.lParam = 3;
  EXPECT_EQ(list.FindItem(&find), 2);

  ASSERT_TRUE(list.DeleteItem(0));
  EXPECT_EQ(harness::ListViewRows(list.m_hWnd).size(), 2u);
  ASSERT_TRUE(list.DeleteAllItems());
  EXPECT_EQ(list.GetItemCount(), 0);
}

TEST_F(ListTest, SelectionIsWalkedInOrderAndChecksAreStateImages) {
  for (int row = 0; row < 5; ++row) AddRow(row, _T("row"), _T(""), static_cast<DWORD_PTR>(row));
  list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
  list.SetItemState(3, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  EXPECT_EQ(list.GetSelectedCount(), 2u);
  std::vector<int> selected;
  for (POSITION pos = list.GetFirstSelectedItemPosition(); pos != nullptr;)
    selected.push_back(list.GetNextSelectedItem(pos));
  EXPECT_EQ(selected, (std::vector<int>{1, 3}));
  EXPECT_EQ(list.GetNextItem(-1, LVNI_FOCUSED), 3);
  EXPECT_EQ(list.GetItemState(3, LVIS_FOCUSED), static_cast<UINT>(LVIS_FOCUSED));
  list.SetItemState(-1, 0, LVIS_SELECTED);  // every row
  EXPECT_EQ(list.GetSelectedCount(), 0u);
  EXPECT_EQ(list.GetFirstSelectedItemPosition(), nullptr);

  list.SetExtendedStyle(list.GetExtendedStyle() | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  EXPECT_NE(list.GetExtendedStyle() & LVS_EX_CHECKBOXES, 0u);
  ASSERT_TRUE(list.SetCheck(2));
  EXPECT_TRUE(list.GetCheck(2));
  EXPECT_FALSE(list.GetCheck(1));
  EXPECT_EQ(list.GetItemState(2, LVIS_STATEIMAGEMASK), static_cast<UINT>(INDEXTOSTATEIMAGEMASK(2)));
  list.SetCheck(2, FALSE);
  EXPECT_FALSE(list.GetCheck(2));
}

TEST_F(ListTest, TheProgramsStateImagesAndHitTestingOfRowsAndCells) {
  CImageList states;
  ASSERT_TRUE(states.Create(IDB_LIST_STATE_IMAGES, 16, 1, RGB(255, 255, 255)));
  list.SetImageList(&states, LVSIL_STATE);
  EXPECT_EQ(list.GetImageList(LVSIL_STATE), &states);
  AddRow(0, _T("first"), _T("1"), 0);
  AddRow(1, _T("second"), _T("2"), 0);
  list.SetItemState(1, INDEXTOSTATEIMAGEMASK(2), LVIS_STATEIMAGEMASK);
  EXPECT_TRUE(list.GetCheck(1));
  list.UpdateWindow();

  CRect row;
  ASSERT_TRUE(list.GetItemRect(1, row, LVIR_BOUNDS));
  UINT flags = 0;
  EXPECT_EQ(list.HitTest(CPoint(row.left + 60, row.CenterPoint().y), &flags), 1);
  CRect cell;
  ASSERT_TRUE(list.GetSubItemRect(1, 1, LVIR_BOUNDS, cell));
  EXPECT_EQ(cell.left, list.GetColumnWidth(0));
  LVHITTESTINFO hit{};
  hit.pt = POINT{cell.left + 5, cell.top + 2};
  EXPECT_EQ(list.SubItemHitTest(&hit), 1);
  EXPECT_EQ(hit.iSubItem, 1);
  EXPECT_EQ(list.GetTopIndex(), 0);
  EXPECT_GT(list.GetCountPerPage(), 2);
  EXPECT_GT(list.GetStringWidth(_T("second")), list.GetStringWidth(_T("s")));
  // The list owns a state image list it is given only with LVS_SHAREIMAGELISTS: take it back.
  list.SetImageList(nullptr, LVSIL_STATE);
}

int CALLBACK ByData(LPARAM first, LPARAM second, LPARAM descending) {
  int order = first < second ? -1 : first > second ? 1 : 0;
  return descending ? -order : order;
}

TEST_F(ListTest, SortingOrdersTheRowsByTheComparison) {
  AddRow(0, _T("ten"), _T("10"), 10);
  AddRow(1, _T("nine"), _T("9"), 9);
  AddRow(2, _T("hundred"), _T("100"), 100);
  ASSERT_TRUE(list.SortItems(ByData, 0));
  std::vector<std::wstring> names;
  for (const auto& r : harness::ListViewRows(list.m_hWnd)) names.push_back(r[0]);
  EXPECT_EQ(names, (std::vector<std::wstring>{L"nine", L"ten", L"hundred"}));
  ASSERT_TRUE(list.SortItems(ByData, 1));
  EXPECT_EQ(TextOf(list.GetItemText(0, 0)), L"hundred");
}

TEST_F(ListTest, RowsAddedFromAWorkerThreadAreThere) {
  cltest::RunOnWorker([&] {
    for (int row = 0; row < 3; ++row) {
      CString name;
      name.Format(_T("found %d"), row);
      list.InsertItem(row, name);
      list.SetItemText(row, 2, _T("id"));
    }
    list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
  });
  EXPECT_EQ(harness::ListViewRows(list.m_hWnd),
            (Rows{{L"found 0", L"", L"id"}, {L"found 1", L"", L"id"}, {L"found 2", L"", L"id"}}));
  EXPECT_EQ(harness::Selection(list.m_hWnd), 1);
}

}  // namespace
