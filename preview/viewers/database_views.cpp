#include "preview/viewers/database_views.h"

#include <windows.h>
#include <commctrl.h>
#include <oleauto.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/classlib/win/ccreatecontext.h"
#include "platform/classlib/win/cframewnd.h"
#include "platform/classlib/win/cwinapp.h"
#include "platform/os/os.h"
#include "platform/seams/seams.h"
#include "platform/standins/dao_database.h"
#include "preview/partial_preview_note.h"
#include "preview/preview_host.h"
#include "preview/viewers/dbf_table.h"
#include "res/resource.h"
#include "ui/controls/list_fill_batch.h"
#include "ui/controls/splitter_ctrl.h"
#include "ui/controls/status_list_ctrl.h"

static_assert(sizeof(wchar_t) == 2, "UTF-16 wchar_t");

namespace {

constexpr UINT kTreeViewId = 189;
constexpr UINT kListViewId = 190;
constexpr UINT kSplitterId = IDC_DATABASE_SPLITTER;  // its own: the source page's 157 would share its stored split
constexpr DWORD kListStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS;
const wchar_t kWarningCaption[] = L"RedEvuz - Warning";

// The program's document, where the database views register themselves.
PreviewDocument* StyleDocument() { return CurrentPreviewDocument(); }

void EmptyList(CListCtrl* list) {
  if (list == nullptr) return;
  list->DeleteAllItems();
  while (list->DeleteColumn(0)) {
  }
}

int ShowBox(HWND owner, const CString& text, const wchar_t* caption, uint32_t style) {
  seams::MessageBoxRequest request;
  request.owner = owner;
  request.text = text.ToUtf16();
  request.caption = reinterpret_cast<const char16_t*>(caption);
  request.style = style;
  return seams::MessageBoxes().Show(request);
}

// The system's code pages and the user's currency format.
class SystemText : public dbf::TextServices {
 public:
  std::u16string FromCodePage(const std::string& bytes, uint32_t codePage) const override {
    return os::FromCodePage(bytes, codePage);
  }
  std::u16string FormatCurrency(int64_t tenThousandths) const override {
    CY currency{};
    currency.int64 = tenThousandths;
    return CurrencyText(currency);
  }
  static std::u16string CurrencyText(CY currency) {
    // The locale call takes a plain number: digits, an optional minus and a "." before the fraction.
    const long long units = currency.int64;
    const unsigned long long magnitude = units < 0 ? 0ULL - static_cast<unsigned long long>(units) : units;
    wchar_t number[48];
    std::swprintf(number, 48, L"%s%llu.%04llu", units < 0 ? L"-" : L"", magnitude / 10000, magnitude % 10000);
    wchar_t text[96] = {};
    if (::GetCurrencyFormatW(LOCALE_USER_DEFAULT, 0, number, nullptr, text, 96) == 0) {
      return std::u16string(number, number + wcslen(number));
    }
    return std::u16string(text, text + wcslen(text));
  }
};

const char* VariantTypeName(VARTYPE type) {
  switch (type) {
    case VT_EMPTY: return "VT_EMPTY";
    case VT_NULL: return "VT_NULL";
    case VT_I2: return "VT_I2";
    case VT_I4: return "VT_I4";
    case VT_R4: return "VT_R4";
    case VT_R8: return "VT_R8";
    case VT_CY: return "VT_CY";
    case VT_DATE: return "VT_DATE";
    case VT_BSTR: return "VT_BSTR";
    case VT_BOOL: return "VT_BOOL";
    case VT_UI1: return "VT_UI1";
    case VT_DISPATCH: return "VT_DISPATCH";
    case VT_ERROR: return "VT_ERROR";
    case VT_VARIANT: return "VT_VARIANT";
    case VT_UNKNOWN: return "VT_UNKNOWN";
    case VT_I1: return "VT_I1";
    case VT_UI2: return "VT_UI2";
    case VT_UI4: return "VT_UI4";
    case VT_UI8: return "VT_UI8";
    case VT_I8: return "VT_I8";
    case VT_INT: return "VT_INT";
    case VT_UINT: return "VT_UINT";
    case VT_VOID: return "VT_VOID";
    case VT_HRESULT: return "VT_HRESULT";
    case VT_PTR: return "VT_PTR";
    case VT_SAFEARRAY: return "VT_SAFEARRAY";
    case VT_CARRAY: return "VT_CARRAY";
    case VT_USERDEFINED: return "VT_USERDEFINED";
    case VT_LPSTR: return "VT_LPSTR";
    case VT_LPWSTR: return "VT_LPWSTR";
    case VT_FILETIME: return "VT_FILETIME";
    case VT_BLOB: return "VT_BLOB";
    case VT_STREAM: return "VT_STREAM";
    case VT_STORAGE: return "VT_STORAGE";
    case VT_STREAMED_OBJECT: return "VT_STREAMED_OBJECT";
    case VT_STORED_OBJECT: return "VT_STORED_OBJECT";
    case VT_BLOB_OBJECT: return "VT_BLOB_OBJECT";
    case VT_CF: return "VT_CF";
    case VT_CLSID: return "VT_CLSID";
    default: return nullptr;
  }
}

CString Format(const wchar_t* format, ...) {
  wchar_t text[128] = {};
  va_list args;
  va_start(args, format);
  std::vswprintf(text, 128, format, args);
  va_end(args);
  return CString(text);
}

// How many of a table's records the list shows: in a box when the row limit was reached or records were
// left out (a table of many fields stops at a number of values), and on the status bar.
void ReportLoadedRecords(HWND owner, int loaded, int counted, int limit) {
  ReportPartialPreview(owner, Format(L"Loaded %d of %d total records", loaded, counted),
                       counted >= limit || loaded < counted);
}

}  // namespace

namespace {

DatabaseViewSettings*& ApplicationSettings() {
  static DatabaseViewSettings* settings = nullptr;
  return settings;
}

}  // namespace

DatabaseViewSettings& DatabaseSettings() {
  static DatabaseViewSettings defaults;
  return ApplicationSettings() != nullptr ? *ApplicationSettings() : defaults;
}

void UseDatabaseSettings(DatabaseViewSettings* settings) { ApplicationSettings() = settings; }

CString BoolToText(BOOL flag) { return flag ? _T("TRUE") : _T("FALSE"); }

CString VariantToText(const VARIANT& value) {
  const VARTYPE flags = value.vt & (VT_ARRAY | VT_BYREF);
  const VARTYPE base = value.vt & VT_TYPEMASK;
  CString text = _T("Fish");
  if (flags == 0) {
    switch (base) {
      case VT_EMPTY:
      case VT_NULL: text = _T("NULL"); break;
      case VT_I2: text = Format(L"%hd", value.iVal); break;
      case VT_I4: text = Format(L"%d", static_cast<int>(value.lVal)); break;
      case VT_R4: text = Format(L"%e", static_cast<double>(value.fltVal)); break;
      case VT_R8: text = Format(L"%e", value.dblVal); break;
      case VT_CY: text = CString::FromUtf16(SystemText::CurrencyText(value.cyVal)); break;
      case VT_DATE: {
        SYSTEMTIME time{};
        wchar_t date[64] = {};
        if (::VariantTimeToSystemTime(value.date, &time) &&
            ::GetDateFormatW(LOCALE_USER_DEFAULT, 0, &time, L"MM dd yy", date, 64) != 0) {
          text = date;
        } else {
          text = _T("");
        }
        break;
      }
      case VT_BSTR: text = value.bstrVal != nullptr ? CString(value.bstrVal) : CString(); break;
      case VT_BOOL: return BoolToText(value.boolVal != VARIANT_FALSE);
      case VT_UI1: text = Format(L"0x%02hX", static_cast<unsigned short>(value.bVal)); break;
      default:
        if (const char* name = VariantTypeName(base)) text = name;
        break;
    }
    return text;
  }
  text = (flags & VT_ARRAY) != 0 ? _T("Array of ") : _T("");
  if ((flags & VT_BYREF) != 0) text += _T("Pointer to ");
  const char* name = VariantTypeName(base);
  if (name != nullptr) text += name;
  return text;
}

// ---- TableListView, CDBF_View ----------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(TableListView, CView)

BEGIN_MESSAGE_MAP(TableListView, CView)
  ON_WM_SIZE()
END_MESSAGE_MAP()

TableListView::~TableListView() { delete m_pList; }

bool TableListView::CreateList(CListCtrl* list) {
  m_pList = list;
  if (!m_pList->Create(kListStyle, CRect(0, 0, 0, 0), this, kListId)) {
    delete m_pList;
    m_pList = nullptr;
    return false;
  }
  m_pList->SetExtendedStyle(m_pList->GetExtendedStyle() | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  return true;
}

void TableListView::OnSize(UINT nType, int cx, int cy) {
  CView::OnSize(nType, cx, cy);
  if (m_pList != nullptr && ::IsWindow(m_pList->m_hWnd)) m_pList->MoveWindow(0, 0, cx, cy);
}

IMPLEMENT_DYNCREATE(CDBF_View, TableListView)

BEGIN_MESSAGE_MAP(CDBF_View, TableListView)
  ON_WM_CREATE()
END_MESSAGE_MAP()

int CDBF_View::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CView::OnCreate(lpCreateStruct) == -1) return -1;
  PreviewDocument* document = CurrentPreviewDocument();
  if (!CreateList(new CListCtrl) || document == nullptr || CurrentPreviewHost() == nullptr) return 0;
  EmptyList(m_pList);
  LoadDbfTable(document->m_previewPath, m_pList);
  return 0;
}

void CDBF_View::LoadDbfTable(const CString& path, CListCtrl* list) {
  PreviewHost* host = CurrentPreviewHost();
  host->m_bPreviewOk = 1;
  // The pane shows nothing over 5 MB: the whole table fits in memory.
  HANDLE file = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    host->m_bPreviewOk = 0;
    return;
  }
  LARGE_INTEGER size{};
  std::vector<uint8_t> bytes;
  DWORD read = 0;
  const bool whole = ::GetFileSizeEx(file, &size) && size.QuadPart < 0x7FFFFFFF &&
                     (bytes.resize(static_cast<size_t>(size.QuadPart)), true) &&
                     (bytes.empty() || ::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) &&
                     read == bytes.size();
  ::CloseHandle(file);
  if (!whole) {
    host->m_bPreviewOk = 0;
    return;
  }
  // Rows are bounded as an Access table's are: a damaged table of one-byte records holds millions.
  const int limit = DatabaseSettings().m_nMaxRecords > 0 ? DatabaseSettings().m_nMaxRecords : 0;
  const dbf::Table table = dbf::ReadTable(bytes.data(), bytes.size(), static_cast<size_t>(limit));
  if (table.status != dbf::Status::kOk) {
    EmptyList(list);
    host->m_bPreviewOk = 0;
    return;
  }
  const SystemText text;
  list->InsertColumn(0, _T("Index"), LVCFMT_LEFT, 100);
  for (size_t i = 0; i < table.fields.size(); ++i) {
    list->InsertColumn(static_cast<int>(i + 1), CString::FromUtf16(text.FromCodePage(table.fields[i].name, table.codePage)), LVCFMT_LEFT, 100);
  }
  {
    // The list is drawn before the record limit's box shows over it.
    const ui::ListFillBatch batch(list, table.records.size());
    for (size_t row = 0; row < table.records.size(); ++row) {
      const int item = list->InsertItem(static_cast<int>(row), Format(L"%d", static_cast<int>(row + 1)));
      for (size_t i = 0; i < table.fields.size(); ++i) {
        const std::u16string value = dbf::ValueText(table.fields[i].type, table.records[row][i], table.codePage, text);
        list->SetItemText(item, static_cast<int>(i + 1), CString::FromUtf16(value));
      }
    }
  }
  const int total = table.totalRecords < INT32_MAX ? static_cast<int>(table.totalRecords) : INT32_MAX;
  ReportLoadedRecords(m_hWnd, static_cast<int>(table.records.size()), total, limit);
}

// ---- CDaoTreeView ----------------------------------------------------------------------------------------

namespace {

// The tree's OLE drop target: it answers what a drag may do and takes no drop.
class TreeDropTarget final : public IDropTarget {
 public:
  explicit TreeDropTarget(CDaoTreeView* view) : m_view(view) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = iid == IID_IUnknown || iid == IID_IDropTarget ? static_cast<IDropTarget*>(this) : nullptr;
    if (*object == nullptr) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --m_references;
    if (left == 0) delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL at, DWORD* effect) override {
    m_data = data;
    *effect = m_view != nullptr ? m_view->OnDragEnter(data, keys, CPoint(at.x, at.y)) : DROPEFFECT_NONE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL at, DWORD* effect) override {
    *effect = m_view != nullptr ? m_view->OnDragOver(m_data, keys, CPoint(at.x, at.y)) : DROPEFFECT_NONE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DragLeave() override {
    m_data = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Drop(IDataObject*, DWORD, POINTL, DWORD* effect) override {
    m_data = nullptr;
    *effect = DROPEFFECT_NONE;
    return S_OK;
  }
  void Forget() { m_view = nullptr; }

 private:
  IDataObject* m_data = nullptr;  // the data of the drag under way (not held)
  virtual ~TreeDropTarget() = default;
  CDaoTreeView* m_view;
  ULONG m_references = 1;
};

}  // namespace

CDaoTreeView::CDaoTreeView() : m_clipboardFormat(::RegisterClipboardFormatW(L"RedEvuz")) {}

CDaoTreeView::~CDaoTreeView() {
  if (m_dropTarget != nullptr) {
    static_cast<TreeDropTarget*>(m_dropTarget)->Forget();
    m_dropTarget->Release();
  }
}

DWORD CDaoTreeView::OnDragEnter(IDataObject* data, DWORD keyState, CPoint point) {
  return OnDragOver(data, keyState, point);
}

DWORD CDaoTreeView::OnDragOver(IDataObject* data, DWORD, CPoint) {
  if (m_pDatabase == nullptr || data == nullptr) return DROPEFFECT_NONE;
  FORMATETC format{static_cast<CLIPFORMAT>(m_clipboardFormat), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  return data->QueryGetData(&format) == S_OK ? DROPEFFECT_COPY : DROPEFFECT_NONE;
}

void CDaoTreeView::OnSysColorChange() {
  CView::OnSysColorChange();
  if (m_images.GetSafeHandle() != nullptr) m_images.SetBkColor(::GetSysColor(COLOR_WINDOW));
}

void CDaoTreeView::OnDestroy() {
  if (m_dropTarget != nullptr && ::IsWindow(m_tree.m_hWnd)) ::RevokeDragDrop(m_tree.m_hWnd);
  CView::OnDestroy();
}

IMPLEMENT_DYNCREATE(CDaoTreeView, CView)

BEGIN_MESSAGE_MAP(CDaoTreeView, CView)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_NOTIFY(TVN_SELCHANGED, CDaoTreeView::kTreeId, OnSelChanged)
  ON_NOTIFY(TVN_KEYDOWN, CDaoTreeView::kTreeId, OnKeyDown)
  ON_NOTIFY(NM_RCLICK, CDaoTreeView::kTreeId, OnRClick)
  ON_WM_SYSCOLORCHANGE()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

int CDaoTreeView::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CView::OnCreate(lpCreateStruct) == -1) return -1;
  if (!m_tree.Create(WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                     CRect(0, 0, 0, 0), this, kTreeId)) {
    return -1;
  }
  if (PreviewDocument* document = StyleDocument()) document->m_pDaoTreeView = this;
  if (m_images.Create(IDB_DATABASE_TREE, 16, 0, RGB(255, 0, 255))) {
    m_images.SetBkColor(::GetSysColor(COLOR_WINDOW));
    m_tree.SetImageList(&m_images, TVSIL_NORMAL);
  }
  // Drag and drop needs OLE on this thread; without it the tree simply takes no drags.
  auto* target = new TreeDropTarget(this);
  if (SUCCEEDED(::RegisterDragDrop(m_tree.m_hWnd, target))) {
    m_dropTarget = target;
  } else {
    target->Forget();
    target->Release();
  }
  return 0;
}

void CDaoTreeView::OnSize(UINT nType, int cx, int cy) {
  CView::OnSize(nType, cx, cy);
  if (::IsWindow(m_tree.m_hWnd)) m_tree.MoveWindow(0, 0, cx, cy);
}

HTREEITEM CDaoTreeView::Insert(const CString& text, int kind, HTREEITEM parent) {
  return m_tree.InsertItem(text, kind, kind, parent, TVI_SORT);
}

void CDaoTreeView::AddSchemaItem(int kind, const CString& name) {
  if (kind == kTable) m_lastTable = Insert(name, kTable, m_tables);
}

template <typename Body>
void CDaoTreeView::ListKind(Body body) {
  try {
    body(m_pDatabase->Connection());
  } catch (CDaoException* e) {
    e->Delete();
  } catch (CException* e) {
    e->Delete();
  }
}

void CDaoTreeView::FillDatabaseTree() {
  m_bBusy = TRUE;
  m_tree.DeleteAllItems();
  m_current = nullptr;
  m_root = Insert(_T("Access DataBase"), kRoot, TVI_ROOT);
  m_tables = Insert(_T("Tables"), kTables, m_root);
  m_relations = Insert(_T("Relations"), kRelations, m_root);
  m_queries = Insert(_T("QueryDefs"), kQueries, m_root);
  if (m_pDatabase != nullptr) {
    const bool all = DatabaseSettings().m_bShowSystemObjects != 0;
    constexpr long kSystemBits = static_cast<long>(0x80000002);
    ListKind([&](DaoConnection& db) {
      for (int i = 0; i < db.GetTableDefCount(); ++i) {
        const CDaoTableDefInfo info = db.GetTableDefInfo(i);
        if (all || (info.m_lAttributes & kSystemBits) == 0) AddSchemaItem(kTable, info.m_strName);
      }
    });
    ListKind([&](DaoConnection& db) {
      for (int i = 0; i < db.GetQueryDefCount(); ++i) {
        const CDaoQueryDefInfo info = db.GetQueryDefInfo(i);
        if (all || info.m_nType != 5) Insert(info.m_strName, kQuery, m_queries);
      }
    });
    ListKind([&](DaoConnection& db) {
      for (int i = 0; i < db.GetRelationCount(); ++i) {
        const CDaoRelationInfo info = db.GetRelationInfo(i);
        if (all || (info.m_lAttributes & kSystemBits) == 0) Insert(info.m_strName, kRelation, m_relations);
      }
    });
  }
  m_tree.Expand(m_root, TVE_EXPAND);
  m_bBusy = FALSE;
  Invalidate();
}

void CDaoTreeView::DeleteSchemaItem(HTREEITEM item) {
  if (item == nullptr || m_pDatabase == nullptr) return;
  int image = -1, selected = -1;
  m_tree.GetItemImage(item, image, selected);
  if (image != kTable && image != kQuery) return;
  const CString name = m_tree.GetItemText(item);
  CString failure;
  bool refused = false;  // even without a reason given, the object is still there
  try {
    if (image == kTable) {
      m_pDatabase->Connection().DeleteTableDef(name);
    } else {
      m_pDatabase->Connection().DeleteQueryDef(name);
    }
  } catch (CDaoException* e) {
    refused = true;
    failure = e->m_strError;
    e->Delete();
  }
  if (refused) {
    ShowBox(m_hWnd, failure, kWarningCaption, seams::kButtonsOk);
    return;
  }
  if (item == m_current) m_current = nullptr;
  m_tree.DeleteItem(item);
}

void CDaoTreeView::OnSelChanged(NMHDR*, LRESULT* result) {
  *result = 0;
  if (m_bBusy) return;
  m_current = m_tree.GetSelectedItem();
  PreviewDocument* document = StyleDocument();
  CMDBListView* list = document != nullptr ? document->m_pTableListView : nullptr;
  if (list == nullptr || m_current == nullptr) return;
  list->SetRedraw(FALSE);
  int image = -1, selected = -1;
  m_tree.GetItemImage(m_current, image, selected);
  if (image == kTable) list->LoadTableRecords(m_tree.GetItemText(m_current));
  list->SetRedraw(TRUE);
  list->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void CDaoTreeView::OnKeyDown(NMHDR* header, LRESULT* result) {
  *result = 0;
  if (reinterpret_cast<NMTVKEYDOWN*>(header)->wVKey != VK_DELETE) return;
  if (m_current == nullptr) m_current = m_tree.GetSelectedItem();
  if (DatabaseSettings().m_bConfirmDelete != 0 &&
      ShowBox(m_hWnd, _T("Are you sure you want to delete this item ?"), kWarningCaption, seams::kButtonsYesNo) !=
          seams::kYes) {
    return;
  }
  DeleteSchemaItem(m_current);
}

void CDaoTreeView::OnRClick(NMHDR*, LRESULT* result) {
  *result = 0;
  POINT point{};
  ::GetCursorPos(&point);
  m_tree.ScreenToClient(&point);
  if (HTREEITEM item = m_tree.HitTest(CPoint(point.x, point.y))) m_current = item;
}

// ---- CMDBListView ----------------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CMDBListView, TableListView)

BEGIN_MESSAGE_MAP(CMDBListView, TableListView)
  ON_WM_CREATE()
END_MESSAGE_MAP()

int CMDBListView::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CView::OnCreate(lpCreateStruct) == -1 || !CreateList(new ui::StatusListCtrl)) return -1;
  if (PreviewDocument* document = StyleDocument()) document->m_pTableListView = this;
  ClearList();
  return 0;
}

void CMDBListView::ClearList() { EmptyList(m_pList); }

void CMDBListView::LoadTableRecords(const CString& table) {
  ClearList();
  if (m_pList == nullptr || m_pDatabase == nullptr) return;
  m_pList->InsertColumn(0, _T("Index"), LVCFMT_LEFT, 100);
  try {
    const std::vector<CString> fields = m_pDatabase->Connection().GetTableFieldNames(table);
    for (size_t i = 0; i < fields.size(); ++i) m_pList->InsertColumn(static_cast<int>(i + 1), fields[i], LVCFMT_LEFT, 100);
  } catch (CDaoException* e) {
    e->Delete();  // the records are still read
  }
  const int limit = DatabaseSettings().m_nMaxRecords;
  int loaded = 0, counted = 0;
  try {
    std::unique_ptr<DaoRecords> records = m_pDatabase->Connection().OpenRecordset(_T("Select * From [") + table + _T("]"));
    // The record count is not known before the records are read: room for the rows the list may show.
    const ui::ListFillBatch batch(m_pList, static_cast<size_t>(limit > 0 ? limit : 0));
    for (; !records->IsEOF(); records->MoveNext(), ++counted) {
      if (counted >= limit) continue;
      const int item = m_pList->InsertItem(loaded++, Format(L"%d", counted));
      for (int field = 0; field < records->GetFieldCount(); ++field) {
        CString value;
        try {
          value = VariantToText(records->GetFieldValue(field));
        } catch (CDaoException* e) {
          e->Delete();  // the cell stays empty
        }
        m_pList->SetItemText(item, field + 1, value);
      }
    }
  } catch (CDaoException* e) {
    e->Delete();
    return;
  }
  Invalidate();
  ReportLoadedRecords(m_hWnd, loaded, counted, limit);
}

// ---- CMDB_View -------------------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CMDB_View, CView)

BEGIN_MESSAGE_MAP(CMDB_View, CView)
  ON_WM_CREATE()
  ON_WM_SIZE()
END_MESSAGE_MAP()

CMDB_View::~CMDB_View() { delete m_pSplitter; }

int CMDB_View::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CView::OnCreate(lpCreateStruct) == -1) return -1;
  CCreateContext context;
  context.m_pCurrentDoc = GetDocument();
  m_pTreeView = new CDaoTreeView;
  m_pListView = new CMDBListView;
  // A view that fails to be made deletes itself with its window.
  if (!m_pTreeView->Create(nullptr, nullptr, WS_CHILD | WS_BORDER, CRect(0, 0, 0, 0), this, kTreeViewId, &context)) {
    m_pTreeView = nullptr;
  }
  if (!m_pListView->Create(nullptr, nullptr, WS_CHILD | WS_BORDER, CRect(0, 0, 0, 0), this, kListViewId, &context)) {
    m_pListView = nullptr;
  }
  if (m_pTreeView == nullptr || m_pListView == nullptr) return -1;
  for (CView* view : {static_cast<CView*>(m_pTreeView), static_cast<CView*>(m_pListView)}) {
    view->OnInitialUpdate();
    view->ShowWindow(SW_SHOW);
  }
  m_pSplitter = new SplitterCtrl;
  m_pSplitter->Create(WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_BORDER | SplitterCtrl::kVertical, this, m_pTreeView,
                      m_pListView, kSplitterId, CRect(0, 0, 0, 0), 170, 170);
  return 0;
}

void CMDB_View::OnSize(UINT nType, int cx, int cy) {
  CView::OnSize(nType, cx, cy);
  if (m_pSplitter != nullptr && ::IsWindow(m_pSplitter->m_hWnd)) m_pSplitter->MoveWindow(0, 0, cx, cy);
}
