// The table views in the real preview pane: a dBASE table's rows read back from the list, a damaged one
// that falls back to the no-preview view; an Access database over the in-memory engine (the tree, a
// table's records, the record limit's message, delete answered through the message-box seam); and a
// database without the engine. Screenshots preview_dbase.png and preview_access.png.
#include <windows.h>
#include <commctrl.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/classlib/win/cwinapp.h"
#include "platform/harness/driver.h"
#include "platform/harness/scripted_seams.h"
#include "platform/seams/seams.h"
#include "platform/standins/dao_memory_engine.h"
#include "preview/preview_test_support.h"
#include "preview/viewers/database_views.h"
#include "preview/viewers/dbf_table.h"
#include "preview/viewers/dbf_test_writer.h"
#include "res/resource.h"
#include "ui/controls/splitter_layout.h"
#include "ui/controls/status_list_ctrl.h"

namespace {

using previewtest::PaneWindow;
using previewtest::TempFile;
using Rows = std::vector<std::vector<std::wstring>>;

std::vector<std::string> With(std::vector<std::string> slots) { return slots; }

std::string PeopleTable() {
  return DbfWriter()
      .Field("NAME", 'C', 10)
      .Field("AGE", 'N', 3)
      .Field("BORN", 'D', 8)
      .Field("MEMBER", 'L', 1)
      .Field("NOTES", 'M', 10)
      .Field("PAID", 'Y', 8)
      .Record("Alice     " "042" "19990304" "y" "         1" + LittleEndianBytes<int64_t>(5000))
      .Record("Bob       " "007" "20011231" "N" "         2" + LittleEndianBytes<int64_t>(2500000000), '*')
      .Record("Carol     " "100" "19750101" "T" "          " + LittleEndianBytes<int64_t>(-12500))
      .Bytes();
}

TEST(DatabaseViews, DbaseRowsAndScreenshot) {
  TempFile file(L"people.dbf", PeopleTable());
  PaneWindow window;
  window.Preview(file.Path(), _T(".dbf"));
  EXPECT_EQ(window.frame->m_bPreviewOk, 1u);
  EXPECT_EQ(window.FilledSlots(), With({"dbf"}));
  auto* view = dynamic_cast<CDBF_View*>(window.pane->m_pDbfView);
  ASSERT_NE(view, nullptr);
  const Rows rows = harness::ListViewRows(view->GetListCtrl()->m_hWnd);
  ASSERT_EQ(rows.size(), 3u);
  // Currencies (0.50, 250,000.00, -1.25) in the user's format, here United States English.
  EXPECT_EQ(rows[0],
            (std::vector<std::wstring>{L"1", L"Alice     ", L"42.000000", L"1999/03/04", L"TRUE", L"Memo", L"$0.50"}));
  EXPECT_EQ(rows[1],
            (std::vector<std::wstring>{L"2", L"Bob       ", L"7.000000", L"2001/12/31", L"FALSE", L"Memo",
                                       L"$250,000.00"}));
  EXPECT_EQ(rows[2][0], L"3");
  EXPECT_EQ(rows[2][4], L"TRUE");
  EXPECT_EQ(rows[2][6], L"($1.25)");
  HWND header = ListView_GetHeader(view->GetListCtrl()->m_hWnd);
  EXPECT_EQ(Header_GetItemCount(header), 7);
  EXPECT_FALSE(harness::CaptureWindow(window.frame->m_hWnd, "preview_dbase").empty());
}

TEST(DatabaseViews, DamagedDbaseTablesGetTheNoPreviewView) {
  DbfWriter tooWide;
  for (int i = 0; i < 201; ++i) tooWide.Field("F" + std::to_string(i), 'C', 1);
  const std::string good = PeopleTable();
  for (const std::string& bytes : {tooWide.Bytes(), good.substr(0, 32 + 32 + 10), std::string(40, '\0')}) {
    TempFile file(L"damaged.dbf", bytes);
    PaneWindow window;
    window.Preview(file.Path(), _T(".dbf"));
    EXPECT_EQ(window.frame->m_bPreviewOk, 0u);
    EXPECT_EQ(window.FilledSlots(), With({"dbf", "nopreview"}));
  }
}

TEST(DatabaseViews, ADbaseTableOfManyShortRecordsStopsAtTheRecordLimit) {
  // One zero-length field: 12,000 records of a flag byte each, over the 10,000 rows a table list shows.
  harness::ScriptedMessageBoxes boxes;
  seams::InstallMessageBoxes(&boxes);
  boxes.Answer(seams::kOk);
  TempFile file(L"short records.dbf", DbfWriter().Field("EMPTY", 'C', 0).Bytes(false) + std::string(12001, ' '));
  PaneWindow window;
  window.Preview(file.Path(), _T(".dbf"));
  seams::InstallMessageBoxes(nullptr);
  EXPECT_EQ(window.frame->m_bPreviewOk, 1u);
  auto* view = dynamic_cast<CDBF_View*>(window.pane->m_pDbfView);
  ASSERT_NE(view, nullptr);
  CListCtrl* list = view->GetListCtrl();
  ASSERT_EQ(list->GetItemCount(), 10000);
  EXPECT_EQ(list->GetItemText(9999, 0).ToUtf16(), u"10000");
  ASSERT_EQ(boxes.Log().size(), 1u);
  EXPECT_EQ(boxes.Log()[0].text, u"Loaded 10000 of 12000 total records");
}

TEST(DatabaseViews, ADbaseTableKeepsItsRowsInPlaceAndItsCellsBounded) {
  // The first record deleted, a blank in its first field: every row in its place.
  TempFile deleted(L"deleted first.dbf", DbfWriter()
                                             .Field("NAME", 'C', 10)
                                             .Field("AGE", 'N', 3)
                                             .Record("Bob Smith " "007", '*')
                                             .Record("Alice     " "042")
                                             .Bytes());
  PaneWindow window;
  window.Preview(deleted.Path(), _T(".dbf"));
  auto* view = dynamic_cast<CDBF_View*>(window.pane->m_pDbfView);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(harness::ListViewRows(view->GetListCtrl()->m_hWnd),
            (Rows{{L"1", L"Bob Smith ", L"7.000000"}, {L"2", L"Alice     ", L"42.000000"}}));

  // 200 zero-length fields and 5,000 records, under the row limit: the rows stop at the values' bound,
  // and a box says so.
  harness::ScriptedMessageBoxes boxes;
  seams::InstallMessageBoxes(&boxes);
  boxes.Answer(seams::kOk);
  DbfWriter wide;
  for (int i = 0; i < 200; ++i) wide.Field("F" + std::to_string(i), 'C', 0);
  TempFile file(L"wide.dbf", wide.Bytes(false) + std::string(5001, ' '));
  window.Preview(file.Path(), _T(".dbf"));
  seams::InstallMessageBoxes(nullptr);
  EXPECT_EQ(window.frame->m_bPreviewOk, 1u);
  view = dynamic_cast<CDBF_View*>(window.pane->m_pDbfView);
  ASSERT_NE(view, nullptr);
  const int rows = static_cast<int>(dbf::kMaxCells / 200);
  EXPECT_EQ(view->GetListCtrl()->GetItemCount(), rows);
  ASSERT_EQ(boxes.Log().size(), 1u);
  const std::string shown = std::to_string(rows);
  EXPECT_EQ(boxes.Log()[0].text, u"Loaded " + std::u16string(shown.begin(), shown.end()) + u" of 5000 total records");
}

VARIANT Date(int year, int month, int day) {
  SYSTEMTIME time{};
  time.wYear = static_cast<WORD>(year);
  time.wMonth = static_cast<WORD>(month);
  time.wDay = static_cast<WORD>(day);
  VARIANT value;
  ::VariantInit(&value);
  value.vt = VT_DATE;
  ::SystemTimeToVariantTime(&time, &value.date);
  return value;
}

COleVariant Variant(const VARIANT& value) {
  COleVariant copy;
  ::VariantCopy(&copy, const_cast<VARIANT*>(&value));
  return copy;
}

COleVariant Bool(bool flag) {
  VARIANT value;
  ::VariantInit(&value);
  value.vt = VT_BOOL;
  value.boolVal = flag ? VARIANT_TRUE : VARIANT_FALSE;
  return Variant(value);
}

COleVariant Null() {
  VARIANT value;
  ::VariantInit(&value);
  value.vt = VT_NULL;
  return Variant(value);
}

// An Access database in the in-memory engine, shown by the pane.
class AccessViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    before_ = InstallDaoEngine(&engine_);
    seams::InstallMessageBoxes(&boxes_);
    MemoryDatabase& db = engine_.Database(file_.Path());
    MemoryTable customers{_T("Customers"), 0, {_T("Name"), _T("Active"), _T("Joined"), _T("Visits")}, {}};
    customers.rows.push_back({COleVariant(_T("Ada")), Bool(true), Variant(Date(1999, 3, 4)), COleVariant(12L)});
    customers.rows.push_back({COleVariant(_T("Ben")), Bool(false), Null(), COleVariant(short(3), VT_I2)});
    db.tables.push_back(customers);
    db.tables.push_back({_T("Orders"), 0, {_T("Id")}, {{COleVariant(1L)}, {COleVariant(2L)}, {COleVariant(3L)}}});
    db.tables.push_back({_T("MSysObjects"), static_cast<long>(0x80000002), {_T("Id")}, {}});
    db.queries.push_back({_T("Big orders"), 0});
    db.queries.push_back({_T("~sq_hidden"), 5});
    db.relations.push_back({_T("CustomersOrders"), 0});
    db.refuseDelete.insert(_T("Orders"));
    window_.Preview(file_.Path(), _T(".mdb"));
    view_ = dynamic_cast<CMDB_View*>(window_.pane->m_pMdbView);
  }
  void TearDown() override {
    DatabaseSettings() = DatabaseViewSettings();
    seams::InstallMessageBoxes(nullptr);
    InstallDaoEngine(before_);
  }
  HWND Tree() const { return view_->m_pTreeView->GetTreeCtrl().m_hWnd; }
  HWND List() const { return view_->m_pListView->GetListCtrl()->m_hWnd; }
  std::vector<std::wstring> TreeTexts() const {
    std::vector<std::wstring> texts;
    for (const harness::TreeNode& node : harness::TreeNodes(Tree())) texts.push_back(std::wstring(node.depth, L' ') + node.text);
    return texts;
  }
  // Selects the tree item with the text, as a click does (only the root is expanded: every item is searched).
  void Select(const wchar_t* text) {
    CTreeCtrl& tree = view_->m_pTreeView->GetTreeCtrl();
    if (HTREEITEM item = Find(tree, tree.GetRootItem(), text)) {
      tree.SelectItem(item);
      harness::PumpMessages();
      return;
    }
    ADD_FAILURE() << "no item " << std::string(text, text + wcslen(text));
  }
  static HTREEITEM Find(CTreeCtrl& tree, HTREEITEM item, const wchar_t* text) {
    for (; item != nullptr; item = tree.GetNextSiblingItem(item)) {
      if (tree.GetItemText(item) == text) return item;
      if (HTREEITEM found = Find(tree, tree.GetChildItem(item), text)) return found;
    }
    return nullptr;
  }
  void PressDelete() {
    ::SetFocus(Tree());
    ::SendMessageW(Tree(), WM_KEYDOWN, VK_DELETE, 0);
    harness::PumpMessages();
  }

  TempFile file_{L"shop.mdb", "not read: the in-memory engine holds the database"};
  DaoMemoryEngine engine_;
  DaoEngine* before_ = nullptr;
  harness::ScriptedMessageBoxes boxes_;
  PaneWindow window_{640, 380};
  CMDB_View* view_ = nullptr;
};

TEST_F(AccessViewTest, TreeOfTablesRelationsAndQueries) {
  ASSERT_NE(view_, nullptr);
  EXPECT_EQ(window_.frame->m_bPreviewOk, 1u);
  EXPECT_EQ(TreeTexts(), (std::vector<std::wstring>{L"Access DataBase", L" QueryDefs", L"  Big orders", L" Relations",
                                                    L"  CustomersOrders", L" Tables", L"  Customers", L"  Orders"}));
  EXPECT_TRUE(harness::ListViewRows(List()).empty());
  EXPECT_NE(dynamic_cast<ui::StatusListCtrl*>(view_->m_pListView->GetListCtrl()), nullptr);
}

// The right edge of a splitter's left pane, in the splitter's client area (the panes are its children).
int LeftPaneRight(HWND pane) {
  RECT r{};
  ::GetWindowRect(pane, &r);
  ::MapWindowPoints(nullptr, ::GetParent(pane), reinterpret_cast<POINT*>(&r), 2);
  return static_cast<int>(r.right);
}

// The application's profile in a registry key of the test's own for the life of the object.
class TestProfile {
 public:
  TestProfile() : app_(AfxGetApp()) {
    Clean();
    app_->SetRegistryKey(L"Dorvane Database Views Test");
  }
  ~TestProfile() {
    Clean();
    app_->m_pszRegistryKey = nullptr;
  }
  TestProfile(const TestProfile&) = delete;
  TestProfile& operator=(const TestProfile&) = delete;

 private:
  static void Clean() { ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Dorvane Database Views Test"); }
  CWinApp* app_;
};

TEST_F(AccessViewTest, ItsSplitIsKeptApartFromTheSourcePagesSplit) {
  const TestProfile profile;
  CWinApp* app = AfxGetApp();
  const CString database = splitter::VerticalSection(IDC_DATABASE_SPLITTER);
  const CString source = splitter::VerticalSection(IDC_SOURCE_SPLITTER);
  app->WriteProfileInt(database, splitter::kVerticalValue, 180);
  app->WriteProfileInt(source, splitter::kVerticalValue, 123);
  const auto tree = [](PaneWindow& pane) {
    auto* view = dynamic_cast<CMDB_View*>(pane.pane->m_pMdbView);
    return view != nullptr ? view->m_pTreeView->m_hWnd : nullptr;
  };
  int start = 0;
  {
    // The bar of a database's view dragged 40 pixels to the right is stored when the view closes.
    PaneWindow pane{640, 380};
    pane.Preview(file_.Path(), _T(".mdb"));
    HWND left = tree(pane);
    ASSERT_NE(left, nullptr);
    start = LeftPaneRight(left);
    HWND split = ::GetParent(left);
    ::SendMessageW(split, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(start + 2, 60));
    ::SendMessageW(split, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(start + 42, 60));
    ::SendMessageW(split, WM_LBUTTONUP, 0, MAKELPARAM(start + 42, 60));
    ASSERT_EQ(LeftPaneRight(left), start + 40);
  }
  // It started at its own stored split, and the source page's stays.
  EXPECT_EQ(static_cast<int>(app->GetProfileInt(database, splitter::kVerticalValue, -1)), 220);
  EXPECT_EQ(static_cast<int>(app->GetProfileInt(source, splitter::kVerticalValue, -1)), 123);
  // The next database starts where this one ended.
  PaneWindow pane{640, 380};
  pane.Preview(file_.Path(), _T(".mdb"));
  ASSERT_NE(tree(pane), nullptr);
  EXPECT_EQ(LeftPaneRight(tree(pane)), start + 40);
}

TEST_F(AccessViewTest, RecordsOfTheChosenTableAndScreenshot) {
  ASSERT_NE(view_, nullptr);
  Select(L"Customers");
  const Rows rows = harness::ListViewRows(List());
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0], (std::vector<std::wstring>{L"0", L"Ada", L"TRUE", L"03 04 99", L"12"}));
  EXPECT_EQ(rows[1], (std::vector<std::wstring>{L"1", L"Ben", L"FALSE", L"NULL", L"3"}));
  EXPECT_TRUE(boxes_.Log().empty());  // under the limit: no box
  Select(L"Relations");  // not a table: the list stays
  EXPECT_EQ(harness::ListViewRows(List()).size(), 2u);
  Select(L"Customers");
  EXPECT_FALSE(harness::CaptureWindow(window_.frame->m_hWnd, "preview_access").empty());
}

TEST_F(AccessViewTest, TheRecordLimitAndItsMessage) {
  ASSERT_NE(view_, nullptr);
  DatabaseSettings().m_nMaxRecords = 2;
  boxes_.Answer(seams::kOk);
  Select(L"Orders");
  const Rows rows = harness::ListViewRows(List());
  ASSERT_EQ(rows.size(), 2u);  // the third record is counted, not shown
  EXPECT_EQ(rows[1][1], L"2");
  ASSERT_EQ(boxes_.Log().size(), 1u);
  EXPECT_EQ(boxes_.Log()[0].text, u"Loaded 2 of 3 total records");
  EXPECT_EQ(boxes_.Log()[0].buttons(), seams::kButtonsOk);
  // At the limit exactly the box shows too.
  DatabaseSettings().m_nMaxRecords = 3;
  boxes_.Answer(seams::kOk);
  Select(L"Customers");
  Select(L"Orders");
  EXPECT_EQ(harness::ListViewRows(List()).size(), 3u);
  ASSERT_EQ(boxes_.Log().size(), 2u);
  EXPECT_EQ(boxes_.Log()[1].text, u"Loaded 3 of 3 total records");
}

// A table of 12,000 records beside the fixture's, over the 10,000 rows a table list shows.
class AccessLargeTableTest : public AccessViewTest {
 protected:
  void SetUp() override {
    MemoryTable visits{_T("Visits"), 0, {_T("Visitor"), _T("Day"), _T("Minutes"), _T("Paid")}, {}};
    for (long i = 0; i < 12000; ++i) {
      CString name;
      name.Format(_T("Visitor %05ld"), i);
      visits.rows.push_back({COleVariant(name), Variant(Date(2020, 1 + i % 12, 1 + i % 28)), COleVariant(i % 90),
                             Bool(i % 2 == 0)});
    }
    engine_.Database(file_.Path()).tables.push_back(visits);
    AccessViewTest::SetUp();
  }
};

TEST_F(AccessLargeTableTest, TheFirstTenThousandRecordsAreShownAndDrawn) {
  ASSERT_NE(view_, nullptr);
  boxes_.Answer(seams::kOk);
  Select(L"Visits");
  CListCtrl* list = view_->m_pListView->GetListCtrl();
  ASSERT_EQ(list->GetItemCount(), 10000);
  EXPECT_EQ(list->GetItemText(0, 1).ToUtf16(), u"Visitor 00000");
  EXPECT_EQ(list->GetItemText(9999, 0).ToUtf16(), u"9999");
  EXPECT_EQ(list->GetItemText(9999, 1).ToUtf16(), u"Visitor 09999");
  EXPECT_EQ(list->GetItemText(9999, 4).ToUtf16(), u"FALSE");
  ASSERT_EQ(boxes_.Log().size(), 1u);
  EXPECT_EQ(boxes_.Log()[0].text, u"Loaded 10000 of 12000 total records");
  // The list draws again once filled: its first rows are on the screen.
  EXPECT_TRUE(::IsWindowVisible(list->m_hWnd));
  RECT first{};
  ASSERT_TRUE(ListView_GetItemRect(list->m_hWnd, 0, &first, LVIR_BOUNDS));
  EXPECT_GT(first.bottom, first.top);
  EXPECT_EQ(ListView_GetTopIndex(list->m_hWnd), 0);
}

TEST_F(AccessViewTest, DeleteAnsweredThroughTheSeam) {
  ASSERT_NE(view_, nullptr);
  MemoryDatabase& db = engine_.Database(file_.Path());
  Select(L"Big orders");
  boxes_.Answer(seams::kNo);
  PressDelete();
  EXPECT_EQ(db.queries.size(), 2u);
  boxes_.Answer(seams::kYes);
  PressDelete();
  EXPECT_EQ(db.queries.size(), 1u);
  EXPECT_EQ(TreeTexts().size(), 7u);
  // The engine refuses: its reason in a warning box, the item stays.
  Select(L"Orders");
  boxes_.Answer(seams::kYes);
  boxes_.Answer(seams::kOk);
  PressDelete();
  EXPECT_EQ(db.tables.size(), 3u);
  const auto log = boxes_.Log();
  ASSERT_EQ(log.size(), 4u);
  EXPECT_EQ(log[0].text, u"Are you sure you want to delete this item ?");
  EXPECT_EQ(log[0].caption, u"RedEvuz - Warning");
  EXPECT_EQ(log[0].buttons(), seams::kButtonsYesNo);
  EXPECT_EQ(log[3].text, u"The object is in use and cannot be deleted.");
  EXPECT_EQ(log[3].caption, u"RedEvuz - Warning");
  // A branch is not deleted, confirmed or not; without confirmation no box is asked.
  DatabaseSettings().m_bConfirmDelete = 0;
  Select(L"Tables");
  PressDelete();
  EXPECT_EQ(boxes_.Log().size(), 4u);
  EXPECT_EQ(TreeTexts().size(), 7u);
  Select(L"Customers");
  PressDelete();
  EXPECT_EQ(db.tables.size(), 2u);
}

TEST_F(AccessViewTest, ARefusalWithoutAReasonStillKeepsTheItem) {
  ASSERT_NE(view_, nullptr);
  MemoryDatabase& db = engine_.Database(file_.Path());
  db.refusal = _T("");
  DatabaseSettings().m_bConfirmDelete = 0;
  Select(L"Orders");
  boxes_.Answer(seams::kOk);
  PressDelete();
  EXPECT_EQ(db.tables.size(), 3u);
  EXPECT_EQ(TreeTexts().size(), 8u);  // the table is still listed: it was not deleted
  ASSERT_EQ(boxes_.Log().size(), 1u);
  EXPECT_EQ(boxes_.Log()[0].caption, u"RedEvuz - Warning");
}

// Data of one clipboard format, as a drag offers it.
class OneFormatData : public IDataObject {
 public:
  explicit OneFormatData(UINT format) : format_(format) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
    return format->cfFormat == format_ && (format->tymed & TYMED_HGLOBAL) != 0 ? S_OK : DV_E_FORMATETC;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

 private:
  UINT format_;
};

TEST_F(AccessViewTest, DragsOfOurOwnFormatAreAnsweredCopy) {
  ASSERT_NE(view_, nullptr);
  CDaoTreeView* tree = view_->m_pTreeView;
  EXPECT_EQ(tree->GetClipboardFormat(), ::RegisterClipboardFormatW(L"RedEvuz"));
  OneFormatData ours(tree->GetClipboardFormat());
  OneFormatData text(CF_UNICODETEXT);
  EXPECT_EQ(tree->OnDragEnter(&ours, 0, CPoint(5, 5)), static_cast<DWORD>(DROPEFFECT_COPY));
  EXPECT_EQ(tree->OnDragOver(&ours, 0, CPoint(5, 5)), static_cast<DWORD>(DROPEFFECT_COPY));
  EXPECT_EQ(tree->OnDragOver(&text, 0, CPoint(5, 5)), static_cast<DWORD>(DROPEFFECT_NONE));
  tree->m_pDatabase = nullptr;  // no database open: nothing is taken
  EXPECT_EQ(tree->OnDragOver(&ours, 0, CPoint(5, 5)), static_cast<DWORD>(DROPEFFECT_NONE));
}

TEST(DatabaseViews, WithoutTheEngineTheDatabaseIsNotAvailableWithoutABox) {
  harness::ScriptedMessageBoxes boxes;
  seams::InstallMessageBoxes(&boxes);
  TempFile file(L"plain.mdb", std::string(4096, '\0'));
  {
    PaneWindow window;
    window.frame->m_bNoFileSelected = 0;
    window.Preview(file.Path(), _T(".mdb"));
    EXPECT_EQ(window.frame->m_bComponentMissing, 1u);
    ASSERT_NE(window.pane->m_pNoPreviewView, nullptr);
    EXPECT_TRUE(previewtest::ShowsPicture(window.pane->m_pNoPreviewView->m_hWnd, IDB_PREVIEW_NO_VIEWER));
  }
  seams::InstallMessageBoxes(nullptr);
  EXPECT_TRUE(boxes.Log().empty());
}

TEST(DatabaseViews, ADatabaseThePresentEngineRefusesIsReportedAndShownCorrupted) {
  harness::ScriptedMessageBoxes boxes;
  seams::InstallMessageBoxes(&boxes);
  boxes.Answer(seams::kOk);
  DaoMemoryEngine engine;  // holds no database: every file is refused
  DaoEngine* before = InstallDaoEngine(&engine);
  TempFile file(L"plain.mdb", std::string(4096, '\0'));
  {
    PaneWindow window;
    window.frame->m_bNoFileSelected = 0;
    window.Preview(file.Path(), _T(".mdb"));
    EXPECT_EQ(window.frame->m_bPreviewOk, 0u);
    EXPECT_EQ(window.frame->m_bComponentMissing, 0u);
    ASSERT_NE(window.pane->m_pNoPreviewView, nullptr);
    EXPECT_TRUE(previewtest::ShowsPicture(window.pane->m_pNoPreviewView->m_hWnd, IDB_PREVIEW_CORRUPTED));
  }
  InstallDaoEngine(before);
  seams::InstallMessageBoxes(nullptr);
  ASSERT_EQ(boxes.Log().size(), 1u);
  EXPECT_NE(boxes.Log()[0].text.find(u"The database could not be opened"), std::u16string::npos);
  EXPECT_NE(boxes.Log()[0].text.find(u"Could not find file."), std::u16string::npos);
  EXPECT_EQ(boxes.Log()[0].kind(), 2u);
}

TEST(DatabaseViews, ValuesToText) {
  EXPECT_EQ(VariantToText(COleVariant(short(-5), VT_I2)), _T("-5"));
  VARIANT value;
  ::VariantInit(&value);
  value.vt = VT_R8;
  value.dblVal = 1.5;
  EXPECT_EQ(VariantToText(value), _T("1.500000e+00"));
  value.vt = VT_UI1;
  value.bVal = 0x0A;
  EXPECT_EQ(VariantToText(value), _T("0x0A"));
  value.vt = VT_I8;
  EXPECT_EQ(VariantToText(value), _T("VT_I8"));
  value.vt = VT_ARRAY | VT_I4;
  EXPECT_EQ(VariantToText(value), _T("Array of VT_I4"));
  value.vt = VT_BYREF | VT_BSTR;
  EXPECT_EQ(VariantToText(value), _T("Pointer to VT_BSTR"));
  value.vt = VT_RECORD;
  EXPECT_EQ(VariantToText(value), _T("Fish"));
  EXPECT_EQ(BoolToText(FALSE), _T("FALSE"));
}

}  // namespace
