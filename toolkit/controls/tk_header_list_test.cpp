// The toolkit's header and list in real windows: header clicks sort and show the arrow, the header's
// menu sorts and aligns, widths come back after the list is made again (profile file), rows keep their
// colours, and cells are found in display order. The gallery with the caption bars is the screenshot
// toolkit_header_list_caption.png (tk_caption_test.cpp).
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/classlib/win/classlib_win.h"
#include "platform/harness/driver.h"
#include "res/toolkit_resource.h"
#include "toolkit/common/color_manager.h"
#include "toolkit/common/registry_manager.h"
#include "toolkit/controls/tk_gallery_test_support.h"
#include "toolkit/controls/tk_list_ctrl.h"

namespace {

class TestApp : public CWinApp {
 public:
  TestApp() : CWinApp(_T("ToolkitHeaderList")) {}
};
TestApp theApp;

struct SortKey {
  HWND list;
  int column;
  BOOL ascending;
};

int CALLBACK CompareRows(LPARAM a, LPARAM b, LPARAM k) {
  const SortKey* key = reinterpret_cast<const SortKey*>(k);
  wchar_t ta[64] = {}, tb[64] = {};
  ListView_GetItemText(key->list, static_cast<int>(a), key->column, ta, 64);
  ListView_GetItemText(key->list, static_cast<int>(b), key->column, tb, 64);
  const int order = lstrcmpW(ta, tb);
  return key->ascending ? order : -order;
}

// A list that sorts its rows by a column's text and counts the sorts it was asked for.
class SortingList : public CTKListCtrl {
 public:
  std::vector<std::pair<int, BOOL>> sorts;
  BOOL SortList(int nColumn, BOOL bAscending) override {
    sorts.emplace_back(nColumn, bAscending);
    SortKey key{m_hWnd, nColumn, bAscending};
    return SortItemsEx(CompareRows,
        reinterpret_cast<DWORD_PTR>(&key));
  }
};

class HeaderListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_host.CreateEx(0, nullptr, _T("Lists"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 480, 320, nullptr,
                                nullptr));
  }
  void TearDown() override { m_host.DestroyWindow(); }

  // A report list of three named columns and rows, its header ours.
  void MakeList(SortingList& list, bool subclassHeader = true) {
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT, CRect(10, 10, 450, 280), &m_host, 21));
    list.InsertColumn(0, _T("Name"), LVCFMT_LEFT, 120);
    list.InsertColumn(1, _T("Size"), LVCFMT_LEFT, 80);
    list.InsertColumn(2, _T("Type"), LVCFMT_LEFT, 100);
    const wchar_t* rows[][3] = {
        {L"beta.txt", L"20", L"Text"}, {L"alpha.doc", L"30", L"Word"}, {L"gamma.bin", L"10", L"Data"}};
    for (int r = 0; r < 3; ++r) {
      list.InsertItem(r, rows[r][0]);
      list.SetItemText(r, 1, rows[r][1]);
      list.SetItemText(r, 2, rows[r][2]);
    }
    if (subclassHeader) {
      ASSERT_TRUE(list.SubclassHeader());
    }
  }

  static std::vector<std::wstring> Column(CListCtrl& list, int column) {
    std::vector<std::wstring> texts;
    for (int r = 0; r < list.GetItemCount(); ++r) texts.push_back(std::wstring(list.GetItemText(r, column)));
    return texts;
  }

  static void ClickHeader(CTKListBase& base, int column) {
    HWND header = base.FlatHeader().m_hWnd;
    RECT rect{};
    Header_GetItemRect(header, column, &rect);
    harness::Click(header, POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
    harness::PumpFor(50);
  }

  // Pixels of the arrow colours right of the column's text, as the theme draws the header.
  static int ArrowPixels(CTKHeaderCtrl& header, int column) {
    CRect client, item;
    header.GetClientRect(client);
    header.GetItemRect(column, item);
    tkgallery::Canvas canvas(client.Width(), client.Height());
    header.GetTheme()->DrawHeader(CDC::FromHandle(canvas.DC()), &header);
    const COLORREF shadow = header.GetTheme()->m_clrShadow;
    int count = 0;
    // Inside the item's frame and left of its divider only the arrow uses the shadow colour.
    for (int x = item.left + 1; x < item.right - 3; ++x) {
      for (int y = 1; y < client.bottom - 1; ++y) count += ::GetPixel(canvas.DC(), x, y) == shadow ? 1 : 0;
    }
    return count;
  }

  CWnd m_host;
};

TEST_F(HeaderListTest, ClickingAHeaderSortsAndShowsTheArrow) {
  SortingList list;
  MakeList(list);
  CTKHeaderCtrl& header = list.FlatHeader();
  EXPECT_TRUE(header.IsKindOf(RUNTIME_CLASS(CTKFlatHeaderCtrl)));
  EXPECT_EQ(header.GetTheme()->m_nTheme, 1);
  EXPECT_EQ(ArrowPixels(header, 0), 0);

  ClickHeader(list, 0);
  ASSERT_EQ(list.sorts.size(), 1u);
  EXPECT_EQ(list.sorts[0], std::make_pair(0, TRUE));
  EXPECT_EQ(Column(list, 0), (std::vector<std::wstring>{L"alpha.doc", L"beta.txt", L"gamma.bin"}));
  BOOL ascending = FALSE;
  EXPECT_EQ(header.GetSortImage(&ascending), 0);
  EXPECT_TRUE(ascending);
  EXPECT_GT(ArrowPixels(header, 0), 0);

  // The same column again turns the order; another column starts ascending and takes the arrow.
  ClickHeader(list, 0);
  EXPECT_EQ(list.sorts.back(), std::make_pair(0, FALSE));
  EXPECT_EQ(Column(list, 0), (std::vector<std::wstring>{L"gamma.bin", L"beta.txt", L"alpha.doc"}));
  ClickHeader(list, 1);
  EXPECT_EQ(list.sorts.back(), std::make_pair(1, TRUE));
  EXPECT_EQ(Column(list, 1), (std::vector<std::wstring>{L"10", L"20", L"30"}));
  EXPECT_EQ(list.GetSortColumn(), 1);
  EXPECT_EQ(ArrowPixels(header, 0), 0);
  EXPECT_GT(ArrowPixels(header, 1), 0);

  // Without arrows the sorted column's text still leaves the room, but nothing is drawn there.
  header.ShowSortArrow(FALSE);
  EXPECT_FALSE(header.HasSortArrow());
  EXPECT_EQ(ArrowPixels(header, 1), 0);
  header.ShowSortArrow(TRUE);
}

TEST_F(HeaderListTest, TheProgramsArrowSetterIsTheToolkits) {
  SortingList list;
  MakeList(list);
  EXPECT_EQ(list.SetSortArrow(2, FALSE), -1);
  EXPECT_EQ(list.SetSortImage(1, TRUE), 2);
  BOOL ascending = FALSE;
  EXPECT_EQ(list.FlatHeader().GetSortImage(&ascending), 1);
  EXPECT_TRUE(ascending);
  EXPECT_TRUE(list.sorts.empty());  // setting the arrow sorts nothing
}

// ---- the header's menu ----

struct MenuSeen {
  bool opened = false;
  std::map<UINT, bool> checked;
};
MenuSeen* g_seen = nullptr;

void CALLBACK ReadOpenMenu(HWND, UINT, UINT_PTR id, DWORD) {
  HWND menuWindow = tkgallery::FindOpenMenu();
  if (menuWindow == nullptr || g_seen == nullptr) return;
  ::KillTimer(nullptr, id);
  HMENU menu = reinterpret_cast<HMENU>(::SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
  for (UINT cmd :
       {ID_TK_SORT_ASCENDING, ID_TK_SORT_DESCENDING, ID_TK_ALIGN_LEFT, ID_TK_ALIGN_CENTER, ID_TK_ALIGN_RIGHT})
    g_seen->checked[cmd] = (::GetMenuState(menu, cmd, MF_BYCOMMAND) & MF_CHECKED) != 0;
  g_seen->opened = true;
  ::EndMenu();
}

MenuSeen RightClick(CTKHeaderCtrl& header, CPoint point) {
  MenuSeen seen;
  g_seen = &seen;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, ReadOpenMenu);
  header.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(point.x, point.y));
  ::KillTimer(nullptr, timer);
  g_seen = nullptr;
  return seen;
}

CPoint Centre(CTKHeaderCtrl& header, int column) {
  CRect item;
  header.GetItemRect(column, item);
  return item.CenterPoint();
}

TEST_F(HeaderListTest, TheHeadersMenuSortsAndAligns) {
  SortingList list;
  MakeList(list);
  CTKHeaderCtrl& header = list.FlatHeader();
  list.SetSortImage(1, TRUE);
  list.SetColumn(1, [] {
    static LVCOLUMNW c{};
    c.mask = LVCF_FMT;
    c.fmt = LVCFMT_CENTER;
    return &c;
  }());

  MenuSeen onSorted = RightClick(header, Centre(header, 1));
  ASSERT_TRUE(onSorted.opened);
  EXPECT_TRUE(onSorted.checked[ID_TK_SORT_ASCENDING]);
  EXPECT_FALSE(onSorted.checked[ID_TK_SORT_DESCENDING]);
  EXPECT_TRUE(onSorted.checked[ID_TK_ALIGN_CENTER]);
  EXPECT_FALSE(onSorted.checked[ID_TK_ALIGN_LEFT]);

  // Sort Ascending on the column already sorted so sends nothing; Sort Descending sorts it.
  header.SendMessage(WM_COMMAND, ID_TK_SORT_ASCENDING);
  EXPECT_TRUE(list.sorts.empty());
  header.SendMessage(WM_COMMAND, ID_TK_SORT_DESCENDING);
  ASSERT_EQ(list.sorts.size(), 1u);
  EXPECT_EQ(list.sorts[0], std::make_pair(1, FALSE));
  EXPECT_EQ(Column(list, 1), (std::vector<std::wstring>{L"30", L"20", L"10"}));
  BOOL ascending = TRUE;
  EXPECT_EQ(header.GetSortImage(&ascending), 1);
  EXPECT_FALSE(ascending);

  // The alignment commands set the clicked column's format, and the menu shows it next time.
  header.SendMessage(WM_COMMAND, ID_TK_ALIGN_RIGHT);
  LVCOLUMNW format{};
  format.mask = LVCF_FMT;
  ASSERT_TRUE(list.GetColumn(1, &format));
  EXPECT_EQ(format.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_RIGHT);
  MenuSeen again = RightClick(header, Centre(header, 1));
  EXPECT_TRUE(again.checked[ID_TK_ALIGN_RIGHT]);
  EXPECT_TRUE(again.checked[ID_TK_SORT_DESCENDING]);

  // Sort Ascending from another column's menu starts that column ascending.
  RightClick(header, Centre(header, 2));
  header.SendMessage(WM_COMMAND, ID_TK_SORT_ASCENDING);
  EXPECT_EQ(list.sorts.back(), std::make_pair(2, TRUE));
  EXPECT_EQ(Column(list, 2), (std::vector<std::wstring>{L"Data", L"Text", L"Word"}));

  // Right of every column there is no menu, and no command does anything.
  CRect client;
  header.GetClientRect(client);
  EXPECT_FALSE(RightClick(header, CPoint(client.right - 3, client.CenterPoint().y)).opened);
  const size_t sorts = list.sorts.size();
  header.SendMessage(WM_COMMAND, ID_TK_SORT_DESCENDING);
  EXPECT_EQ(list.sorts.size(), sorts);
}

TEST_F(HeaderListTest, AlignmentOnAHeaderOutsideAListChangesNothing) {
  CTKHeaderCtrl header;
  ASSERT_TRUE(header.Create(WS_CHILD | WS_VISIBLE | HDS_BUTTONS, CRect(10, 10, 300, 34), &m_host, 5));
  HDITEMW item{};
  item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
  item.pszText = const_cast<LPWSTR>(L"Alone");
  item.cxy = 100;
  item.fmt = HDF_LEFT | HDF_STRING;
  ASSERT_EQ(header.InsertItem(0, &item), 0);
  EXPECT_FALSE(header.IsParentList());
  EXPECT_TRUE(RightClick(header, Centre(header, 0)).opened);
  header.SendMessage(WM_COMMAND, ID_TK_ALIGN_RIGHT);
  HDITEMW after{};
  after.mask = HDI_FORMAT;
  ASSERT_TRUE(header.GetItem(0, &after));
  EXPECT_EQ(after.fmt & HDF_JUSTIFYMASK, HDF_LEFT);
  // Nothing to share among, and a share for each column.
  header.DistributeWidth(0);
  header.GetItem(0, &item);
  EXPECT_EQ(item.cxy, 100);
}

TEST_F(HeaderListTest, ColumnImagesStayBesideTheItems) {
  SortingList list;
  MakeList(list);
  CTKHeaderCtrl& header = list.FlatHeader();
  HDITEMW before{};
  before.mask = HDI_FORMAT | HDI_BITMAP;
  ASSERT_TRUE(header.GetItem(1, &before));
  ASSERT_TRUE(header.SetBitmap(1, IDB_TK_CAPTION_BUTTONS));
  EXPECT_NE(header.GetColumnImages(1), nullptr);
  // The item itself keeps its format and holds no bitmap handle the control would paint.
  HDITEMW after{};
  after.mask = HDI_FORMAT | HDI_BITMAP;
  ASSERT_TRUE(header.GetItem(1, &after));
  EXPECT_EQ(after.fmt, before.fmt);
  EXPECT_EQ(after.hbm, nullptr);
  // Drawn left of the text: the text moves right by the image's width and a margin.
  CRect client;
  header.GetClientRect(client);
  tkgallery::Canvas canvas(client.Width(), client.Height());
  header.GetTheme()->DrawHeader(CDC::FromHandle(canvas.DC()), &header);
  EXPECT_FALSE(header.SetBitmap(1, 0, TRUE));  // removed
  EXPECT_EQ(header.GetColumnImages(1), nullptr);
  EXPECT_FALSE(header.SetBitmap(1, 65000));  // no such bitmap
  EXPECT_EQ(header.GetColumnImages(1), nullptr);
}

// The images go with their columns when columns go in or out before them (they stayed at their index,
// beside another column).
TEST_F(HeaderListTest, ColumnImagesMoveWithTheirColumns) {
  SortingList list;
  MakeList(list);
  CTKHeaderCtrl& header = list.FlatHeader();
  ASSERT_TRUE(header.SetBitmap(1, IDB_TK_CAPTION_BUTTONS));
  ASSERT_TRUE(header.SetBitmap(2, IDB_TK_CAPTION_BUTTONS));
  HIMAGELIST size = header.GetColumnImages(1), type = header.GetColumnImages(2);
  list.InsertColumn(0, _T("Checked"), LVCFMT_LEFT, 40);  // Name, Size and Type move on by one
  EXPECT_EQ(header.GetColumnImages(1), nullptr);
  EXPECT_EQ(header.GetColumnImages(2), size);
  EXPECT_EQ(header.GetColumnImages(3), type);
  list.InsertColumn(4, _T("Last"), LVCFMT_LEFT, 40);  // after them all: nothing moves
  EXPECT_EQ(header.GetColumnImages(3), type);
  EXPECT_EQ(header.GetColumnImages(4), nullptr);
  EXPECT_TRUE(list.DeleteColumn(2));  // Size goes, and its image with it
  EXPECT_EQ(header.GetColumnImages(2), type);
  EXPECT_EQ(header.GetColumnImages(3), nullptr);
  EXPECT_TRUE(list.DeleteColumn(0));
  EXPECT_EQ(header.GetColumnImages(1), type);
  EXPECT_EQ(header.GetColumnImages(2), nullptr);
}

TEST_F(HeaderListTest, WidthsAreSharedAndTheShadedThemeFollowsTheFont) {
  SortingList list;
  MakeList(list);
  CTKHeaderCtrl& header = list.FlatHeader();
  header.DistributeWidth(300);
  for (int c = 0; c < 3; ++c) EXPECT_EQ(list.GetColumnWidth(c), 100);

  auto* shaded = new CTKHeaderThemeShaded;
  shaded->m_nTheme = 2;
  header.ThemeHost().SetTheme(shaded);
  CClientDC dc(&header);
  CFont* old = dc.SelectObject(header.GetFont());
  TEXTMETRICW tm{};
  dc.GetTextMetrics(&tm);
  dc.SelectObject(old);
  CRect rect;
  header.GetWindowRect(rect);
  EXPECT_EQ(rect.Height(), tm.tmHeight + 10);
}

// ---- widths kept over a restart ----

class StoredWidths : public HeaderListTest {
 protected:
  void SetUp() override {
    HeaderListTest::SetUp();
    wchar_t folder[MAX_PATH];
    ::GetTempPathW(MAX_PATH, folder);
    m_ini = std::wstring(folder) + L"toolkit_header_list_test.ini";
    ::DeleteFileW(m_ini.c_str());
    CTKRegistryManager::SetINIFileName(m_ini.c_str());
  }
  void TearDown() override {
    CTKRegistryManager::SetINIFileName(nullptr);
    ::DeleteFileW(m_ini.c_str());
    HeaderListTest::TearDown();
  }
  std::wstring Stored() {
    wchar_t raw[128] = {};
    ::GetPrivateProfileStringW(L"Settings", L"Column Info", L"", raw, 128, m_ini.c_str());
    return raw;
  }
  std::wstring m_ini;
};

TEST_F(StoredWidths, ComeBackByDisplayPositionAfterARestart) {
  int order[] = {2, 0, 1};
  {
    SortingList list;
    MakeList(list);
    list.AutoSaveColumns();  // nothing stored yet: the widths stay as made
    EXPECT_EQ(list.GetColumnWidth(0), 120);
    EXPECT_EQ(list.GetColumnWidth(2), 100);
    list.SetColumnWidth(0, 150);
    list.SetColumnWidth(1, 60);
    list.SetColumnWidth(2, 90);
    list.SetColumnOrderArray(3, order);
    list.DestroyWindow();
  }
  EXPECT_EQ(Stored(), L"90,150,60,");
  SortingList list;
  MakeList(list);
  list.SetColumnOrderArray(3, order);
  list.AutoSaveColumns();
  EXPECT_EQ(list.GetColumnWidth(0), 150);
  EXPECT_EQ(list.GetColumnWidth(1), 60);
  EXPECT_EQ(list.GetColumnWidth(2), 90);
}

TEST_F(StoredWidths, AbsentOrDamagedFieldsLeaveTheirColumnsAlone) {
  ::WritePrivateProfileStringW(L"Settings", L"Column Info", L"70,x9,", m_ini.c_str());
  SortingList list;
  MakeList(list);
  list.AutoSaveColumns(nullptr, nullptr, _T("1,2,3,"));
  EXPECT_EQ(list.GetColumnWidth(0), 70);
  EXPECT_EQ(list.GetColumnWidth(1), 80);
  EXPECT_EQ(list.GetColumnWidth(2), 100);
  EXPECT_EQ(list.GetStoredColumnWidth(0), 70);
  EXPECT_EQ(list.GetStoredColumnWidth(1), 0);
  EXPECT_EQ(list.GetStoredColumnWidth(5), 0);
  list.LoadColumnWidth(2);  // no stored width: the column keeps its own
  EXPECT_EQ(list.GetColumnWidth(2), 100);
}

// A list that keeps its widths elsewhere: loading all widths goes through its own per-column loading and
// its own stored width of each position.
class OwnWidthsList : public SortingList {
 public:
  std::vector<int> loaded;  // the columns LoadColumnWidth was asked for
  int GetStoredColumnWidth(int nIndex) override { return 40 + 10 * nIndex; }
  void LoadColumnWidth(int nColumn) override {
    loaded.push_back(nColumn);
    SortingList::LoadColumnWidth(nColumn);
  }
};

TEST_F(StoredWidths, LoadingGoesThroughTheListsOwnWidths) {
  OwnWidthsList list;
  MakeList(list);
  int order[] = {2, 0, 1};
  list.SetColumnOrderArray(3, order);
  list.LoadColumnWidths();  // nothing in the profile: the list's own widths, by display position
  EXPECT_EQ(list.loaded, (std::vector<int>{2, 0, 1}));
  EXPECT_EQ(list.GetColumnWidth(2), 40);
  EXPECT_EQ(list.GetColumnWidth(0), 50);
  EXPECT_EQ(list.GetColumnWidth(1), 60);
  list.SetColumnWidth(1, 99);
  list.LoadColumnWidth(1);
  EXPECT_EQ(list.GetColumnWidth(1), 60);
}

// A list of its own widths that answers 0 has its column set to 0 whether or not the profile happens to
// hold a field at that position (it was applied with a field and ignored without).
class ZeroWidthsList : public SortingList {
 public:
  int GetStoredColumnWidth(int) override { return 0; }
};

TEST_F(StoredWidths, AListsOwnAnswerOfZeroIsAppliedWhateverTheProfileHolds) {
  for (const wchar_t* profile : {L"", L"70,", L"70,80,90,"}) {
    ::WritePrivateProfileStringW(L"Settings", L"Column Info", *profile != 0 ? profile : nullptr, m_ini.c_str());
    ZeroWidthsList list;
    MakeList(list);
    list.AutoSaveColumns();
    for (int column = 0; column < 3; ++column) EXPECT_EQ(list.GetColumnWidth(column), 0) << profile << " " << column;
    list.DestroyWindow();
  }
}

// ---- rows, colours and cells ----

TEST_F(HeaderListTest, RowColoursCellsAndRowMoves) {
  SortingList list;
  MakeList(list);
  list.m_bRowColors = TRUE;
  list.SetRowColor(1, TKTextColor(0x0000FF), TKBackColor(0xE0FFFF));
  TKRowColor* row = list.FindRowColor(1);
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(row->crText, 0x0000FFu);
  EXPECT_EQ(row->crBack, 0xE0FFFFu);
  list.SetRowColor(row, TKBackColor(0x00FF00), TKTextColor(0x000080));
  EXPECT_EQ(list.FindRowColor(1)->crBack, 0x00FF00u);
  EXPECT_EQ(list.FindRowColor(0), nullptr);

  // What the list is told to draw: the row's colours, but not for a selected row.
  NMLVCUSTOMDRAW draw{};
  draw.nmcd.hdr.hwndFrom = list.m_hWnd;
  draw.nmcd.hdr.code = NM_CUSTOMDRAW;
  draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT | CDDS_SUBITEM;
  draw.nmcd.dwItemSpec = 1;
  m_host.SendMessage(WM_NOTIFY, 21, reinterpret_cast<LPARAM>(&draw));
  EXPECT_EQ(draw.clrText, 0x000080u);
  EXPECT_EQ(draw.clrTextBk, 0x00FF00u);
  list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
  draw.clrText = draw.clrTextBk = CLR_DEFAULT;
  m_host.SendMessage(WM_NOTIFY, 21, reinterpret_cast<LPARAM>(&draw));
  EXPECT_EQ(draw.clrText, CLR_DEFAULT);
  EXPECT_EQ(draw.clrTextBk, CLR_DEFAULT);
  // Rows without colours of their own take the list's.
  list.SetItemState(1, 0, LVIS_SELECTED);
  draw.nmcd.dwItemSpec = 0;
  m_host.SendMessage(WM_NOTIFY, 21, reinterpret_cast<LPARAM>(&draw));
  EXPECT_EQ(draw.clrTextBk, ::GetSysColor(COLOR_WINDOW));
  list.SetListColors(TKTextColor(0x101010), TKBackColor(0xF0FFFF));
  m_host.SendMessage(WM_NOTIFY, 21, reinterpret_cast<LPARAM>(&draw));
  EXPECT_EQ(draw.clrText, 0x101010u);
  EXPECT_EQ(draw.clrTextBk, 0xF0FFFFu);
  draw.nmcd.dwItemSpec = 1;
  list.ClearRowColors();
  EXPECT_EQ(list.FindRowColor(1), nullptr);

  // Cells in display order; right of the last column there is none.
  int order[] = {2, 0, 1};
  list.SetColumnOrderArray(3, order);
  CRect bounds;
  ASSERT_TRUE(list.GetItemRect(0, bounds, LVIR_BOUNDS));
  int column = -1;
  EXPECT_EQ(list.HitTestEx(CPoint(bounds.left + 10, bounds.CenterPoint().y), &column), 0);
  EXPECT_EQ(column, 2);
  EXPECT_EQ(list.HitTestEx(CPoint(bounds.left + 110, bounds.CenterPoint().y), &column), 0);
  EXPECT_EQ(column, 0);
  EXPECT_EQ(list.HitTestEx(CPoint(bounds.left + 301, bounds.CenterPoint().y), &column), -1);

  // A copy of row 2 goes in at 0; the source is then row 3, and a move deletes it.
  EXPECT_EQ(list.CopyRow(2, 0), 3);
  EXPECT_EQ(list.GetItemText(0, 0), CString(_T("gamma.bin")));
  EXPECT_EQ(list.GetItemText(0, 2), CString(_T("Data")));
  EXPECT_EQ(list.CopyRow(1, 1), -1);
  EXPECT_TRUE(list.MoveRow(3, 1));
  EXPECT_EQ(list.GetItemCount(), 4);
  EXPECT_FALSE(list.MoveRow(9, 0));
}

// A moved row takes all it has: texts past 255 characters whole, its check box, selection, focus and
// colour; the rows it passes keep their own colours. A copy has the same but the focus.
TEST_F(HeaderListTest, ARowMovesAndCopiesWithEverythingItHas) {
  SortingList list;
  MakeList(list);
  list.SetExtendedStyle(LVS_EX_CHECKBOXES);
  list.m_bRowColors = TRUE;
  const CString longName(_T('n'), 300), longType(_T('t'), 1000);
  list.SetItemText(2, 0, longName);
  list.SetItemText(2, 2, longType);
  list.SetCheck(2, TRUE);
  list.SetItemState(2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  list.SetRowColor(2, TKTextColor(0x0000FF), TKBackColor(0xE0FFFF));
  list.SetRowColor(0, TKTextColor(0x00FF00), TKBackColor(0xF0F0F0));
  ASSERT_TRUE(list.MoveRow(2, 0));  // beta, alpha, gamma -> gamma, beta, alpha
  ASSERT_EQ(list.GetItemCount(), 3);
  EXPECT_EQ(list.GetItemText(0, 0), longName);
  EXPECT_EQ(list.GetItemText(0, 2), longType);
  EXPECT_TRUE(list.GetCheck(0));
  EXPECT_FALSE(list.GetCheck(1));
  EXPECT_EQ(list.GetItemState(0, LVIS_SELECTED | LVIS_FOCUSED), static_cast<UINT>(LVIS_SELECTED | LVIS_FOCUSED));
  ASSERT_NE(list.FindRowColor(0), nullptr);
  EXPECT_EQ(list.FindRowColor(0)->crBack, 0xE0FFFFu);
  ASSERT_NE(list.FindRowColor(1), nullptr);  // beta kept its colour one row down
  EXPECT_EQ(list.FindRowColor(1)->crBack, 0xF0F0F0u);
  EXPECT_EQ(list.FindRowColor(2), nullptr);
  EXPECT_EQ(list.GetItemText(1, 0), CString(_T("beta.txt")));
  // Copied to the end: the same texts, box, colour and selection; the focus stays on the source.
  ASSERT_EQ(list.CopyRow(0, 3), 0);
  EXPECT_EQ(list.GetItemText(3, 0), longName);
  EXPECT_EQ(list.GetItemText(3, 2), longType);
  EXPECT_TRUE(list.GetCheck(3));
  EXPECT_EQ(list.GetItemState(3, LVIS_SELECTED | LVIS_FOCUSED), static_cast<UINT>(LVIS_SELECTED));
  EXPECT_EQ(list.GetItemState(0, LVIS_FOCUSED), static_cast<UINT>(LVIS_FOCUSED));
  ASSERT_NE(list.FindRowColor(3), nullptr);
  EXPECT_EQ(list.FindRowColor(3)->crBack, 0xE0FFFFu);
}

// A sorted list puts a copy in its order, beside its source: each row keeps its own cells.
TEST_F(HeaderListTest, ASortedListKeepsEachRowsCellsWhenRowsAreCopiedAndMoved) {
  SortingList list;
  MakeList(list);
  ASSERT_TRUE(list.SortList(0, TRUE));  // alpha, beta, gamma
  list.ModifyStyle(0, LVS_SORTASCENDING);
  const int source = list.CopyRow(2, 0);
  EXPECT_EQ(Column(list, 0), (std::vector<std::wstring>{L"alpha.doc", L"beta.txt", L"gamma.bin", L"gamma.bin"}));
  EXPECT_EQ(Column(list, 2), (std::vector<std::wstring>{L"Word", L"Text", L"Data", L"Data"}));
  EXPECT_EQ(list.GetItemText(source, 0), CString(_T("gamma.bin")));
  ASSERT_TRUE(list.MoveRow(0, 3));
  EXPECT_EQ(Column(list, 0), (std::vector<std::wstring>{L"alpha.doc", L"beta.txt", L"gamma.bin", L"gamma.bin"}));
  EXPECT_EQ(Column(list, 2), (std::vector<std::wstring>{L"Word", L"Text", L"Data", L"Data"}));
}

TEST_F(HeaderListTest, LockedColumnsRefuseDraggingAndDoubleClicksAndWidthsKeepTheirLeast) {
  SortingList list;
  MakeList(list);
  list.SetColumnsLocked(TRUE);
  NMHEADERW notify{};
  notify.hdr.hwndFrom = list.FlatHeader().m_hWnd;
  notify.hdr.idFrom = 0;
  for (UINT code : {HDN_BEGINTRACKW, HDN_DIVIDERDBLCLICKW}) {
    notify.hdr.code = code;
    EXPECT_EQ(list.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notify)), 1);
  }
  list.SetColumnsLocked(FALSE);
  notify.hdr.code = HDN_BEGINTRACKW;
  EXPECT_EQ(list.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notify)), 0);
  // A width below the least is raised to it while it changes.
  list.m_nMinColWidth = 30;
  HDITEMW item{};
  item.mask = HDI_WIDTH;
  item.cxy = 10;
  notify.pitem = &item;
  notify.hdr.code = HDN_ITEMCHANGINGW;
  list.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notify));
  EXPECT_EQ(item.cxy, 30);
}

TEST_F(HeaderListTest, TheListViewSortsByItsHeaderAndSizesItsColumns) {
  // A view deletes itself with its window.
  auto* view = static_cast<CTKListView*>(RUNTIME_CLASS(CTKListView)->CreateObject());
  ASSERT_NE(view, nullptr);
  ASSERT_TRUE(view->Create(nullptr, _T(""), LVS_REPORT, CRect(10, 10, 450, 280), &m_host, 22, nullptr));
  const DWORD kChild = WS_CHILD | WS_VISIBLE | WS_BORDER;
  EXPECT_EQ(view->GetStyle() & kChild, kChild);
  const int widths[] = {60, 40};
  const UINT headings[] = {IDS_TK_PUSH_PIN_TIP, IDS_TK_PUSH_PIN_TIP};
  ASSERT_TRUE(view->BuildColumns(2, widths, headings));
  EXPECT_EQ(view->GetColumnCount(), 2);
  EXPECT_EQ(view->AddColumn(_T("Third")), 2);
  EXPECT_EQ(view->GetListCtrl().GetColumnWidth(2), 40);  // the last column's width
  ASSERT_TRUE(view->SubclassHeader());
  EXPECT_FALSE(view->SubclassHeader());  // only once
  ClickHeader(*view, 1);
  EXPECT_EQ(view->GetSortColumn(), 1);
  EXPECT_TRUE(view->IsSortAscending());
  // The heading ("Click push pin to keep open") is wider than 40: the sized column shows it and its arrow.
  view->AutoSizeColumn(1);
  CClientDC dc(&view->FlatHeader());
  CFont* old = dc.SelectObject(view->FlatHeader().GetFont());
  const int heading = dc.GetTextExtent(CString(_T("Click push pin to keep open"))).cx;
  dc.SelectObject(old);
  EXPECT_EQ(view->GetListCtrl().GetColumnWidth(1), heading + 12 + 24);
  view->DestroyWindow();
}

}  // namespace
