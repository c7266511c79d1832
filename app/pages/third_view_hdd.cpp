#include "app/pages/third_view_hdd.h"

#include <commctrl.h>

#include <vector>

#include "app/dialogs/save_progress_dialog.h"
#include "app/pages/page_background.h"
#include "app/pages/page_tool_buttons.h"
#include "app/results/preview_temp.h"
#include "app/results/result_rows.h"
#include "engine/host/scan_host.h"
#include "engine/host/snapshot_host.h"
#include "engine/records/extensive_lists.h"
#include "engine/records/file_trace_hits.h"
#include "engine/records/scan_parameters.h"
#include "engine/records/scan_records.h"
#include "engine/save/preview_temp_files.h"
#include "engine/scan/selected_signatures.h"
#include "platform/classlib/resource_win32.h"
#include "preview/main_preview_view.h"
#include "res/resource.h"
#include "ui/controls/list_column_sorter.h"

static_assert(sizeof(wchar_t) == 2, "UTF-16 wchar_t");

IMPLEMENT_DYNCREATE(CThirdView_HDD, CView)

BEGIN_MESSAGE_MAP(CThirdView_HDD, CView)
  ON_WM_CREATE()
  ON_WM_ERASEBKGND()
  ON_WM_SIZE()
  ON_WM_KEYDOWN()
  ON_WM_SETCURSOR()
  ON_WM_CTLCOLOR()
  ON_BN_CLICKED(IDC_NEXT, OnSave)
  ON_BN_CLICKED(IDC_BACK, OnBack)
  ON_BN_CLICKED(IDC_HOME, OnHome)
  ON_MESSAGE(kPreviewSelectionMessage, OnPreviewSelection)
END_MESSAGE_MAP()

namespace {

constexpr UINT kPreviewPaneId = 0xE901;
constexpr UINT kStaticIds[3] = {IDC_PAGE_STATIC_1, IDC_PAGE_STATIC_2, IDC_SELECTED_SIZE};
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kRed = 0x0000FF;

bool CreateArialFont(CFont& font) {
  return font.CreateFont(16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, _T("Arial")) != FALSE;
}

void ShowControl(CWnd& control, bool shown) {
  if (control.m_hWnd != nullptr) PageToolButtons::Show(control, shown);
}


}  // namespace

// ---- the shell's icons and names for the listers ----------------------------------------------------

int32_t CThirdView_HDD::ShellHost::GetFolderIconIndex(bool small) { return shell.GetFolderIconIndex(small); }

int32_t CThirdView_HDD::ShellHost::GetIconIndex(const std::u16string& name, bool small) {
  return shell.GetIconIndex(CString::FromUtf16(name), small);
}

std::u16string CThirdView_HDD::ShellHost::GetFileTypeName(const std::u16string& name) {
  return shell.GetFileTypeName(CString::FromUtf16(name)).ToUtf16();
}

// ---- creation ----------------------------------------------------------------------------------------

CThirdView_HDD::CThirdView_HDD() { CreateArialFont(m_viewFont); }

CThirdView_HDD::~CThirdView_HDD() { delete m_staticFont; }

BOOL CThirdView_HDD::PreCreateWindow(CREATESTRUCT& cs) {
  cs.style |= WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  return CView::PreCreateWindow(cs);
}

int CThirdView_HDD::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CView::OnCreate(lpCreateStruct) == -1) return -1;
  m_whiteBrush.CreateSolidBrush(kWhite);
  m_sort = results::SortOrder{};
  m_shownSort = results::SortOrder{-1, true};
  if (!m_tree.Create(WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS | TVS_CHECKBOXES,
                     CRect(0, 0, 600, 300), this, IDC_RESULT_TREE)) {
    return -1;
  }
  m_tree.SetUp();
  CreateButtons();
  for (int i = 0; i < 3; ++i) m_statics[i].Create(_T(""), WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, kStaticIds[i]);
  if (!CreateList()) return -1;
  wchar_t folder[MAX_PATH] = {};
  ::GetCurrentDirectoryW(MAX_PATH, folder);
  m_startFolder = folder;
  if (HANDLE background = ::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDB_RESULTS_LIST_BACKGROUND),
                                       IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)) {
    m_list.SetBkImage(static_cast<HBITMAP>(background), TRUE);
  }

  m_staticFont = new CFont;
  CreateArialFont(*m_staticFont);
  for (CStatic& label : m_statics) label.SetFont(m_staticFont);

  if (!CreatePreviewPane()) return -1;
  CRect client;
  GetClientRect(client);
  // The list above the preview, and the tree beside both.
  m_innerSplitter.Create(WS_CHILD | WS_VISIBLE | SplitterCtrl::kHorizontal, this, &m_list, m_preview, IDC_INNER_SPLITTER,
                         client, 90, 110);
  m_outerSplitter.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | SplitterCtrl::kVertical, this, &m_tree, &m_innerSplitter,
                         IDC_SCAN_SPLITTER, client, 90, 110);
  if (HWND header = ListView_GetHeader(m_list.m_hWnd)) m_header.SubclassWindow(header);
  for (CWnd* button : {static_cast<CWnd*>(&m_save), static_cast<CWnd*>(&m_back), static_cast<CWnd*>(&m_home)}) {
    ShowControl(*button, false);
  }
  m_busy = 0;
  return 0;
}

void CThirdView_HDD::CreateButtons() {
  CreatePageToolButton(this, m_save, IDC_NEXT, IDB_RECOVER, IDB_RECOVER_HOT, _T("Recover selected files and folders"));
  CreatePageToolButton(this, m_back, IDC_BACK, IDB_BACK, IDB_BACK_HOT, _T("Back"));
  CreatePageToolButton(this, m_home, IDC_HOME, IDB_HOME, IDB_HOME_HOT, _T("Home"));
}

bool CThirdView_HDD::CreateList() {
  // The rows' icons belong to the page: the list must not destroy them.
  if (!m_list.Create(WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_EDITLABELS | LVS_SHAREIMAGELISTS,
                     CRect(0, 0, 0, 0), this, IDC_RESULT_LIST)) {
    return false;
  }
  m_list.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  if (m_rowIcons.Create(m_shellHost.shell.GetSystemImageList(true))) m_list.SetRowIcons(&m_rowIcons);
  m_list.SetUp();
  m_tree.SetList(&m_list);
  m_list.SetTree(&m_tree);
  m_tree.SetSelectedSizeSink([this](const std::u16string& text) {
    m_statics[2].SetWindowText(CString::FromUtf16(text));
  });
  m_list.SetSaveRunner([this] {
    SaveProgressDialog saving(this);
    saving.DoModal();
  });
  m_list.SetPreviewClearer([this] { ClearPreview(false, u""); });
  return true;
}

bool CThirdView_HDD::CreatePreviewPane() {
  CRect client;
  GetClientRect(client);
  client.DeflateRect(20, 20);
  CCreateContext context;
  context.m_pCurrentDoc = GetDocument();
  m_preview = new CMainPreviewView;
  if (!m_preview->Create(nullptr, nullptr, WS_CHILD | WS_BORDER, client, this, kPreviewPaneId, &context)) {
    m_preview = nullptr;  // a view that failed deletes itself with its window
    return false;
  }
  m_preview->OnInitialUpdate();
  m_preview->ShowWindow(SW_SHOW);
  return true;
}

CWnd& CThirdView_HDD::Button(UINT id) {
  if (id == IDC_NEXT) return m_save;
  if (id == IDC_BACK) return m_back;
  return m_home;
}

void CThirdView_HDD::ShowSaveAndHome() {
  ShowControl(m_save, true);
  ShowControl(m_home, true);
}

void CThirdView_HDD::HideBack() { ShowControl(m_back, false); }

// ---- layout and painting -------------------------------------------------------------------------------

void CThirdView_HDD::OnSize(UINT nType, int cx, int cy) {
  CView::OnSize(nType, cx, cy);
  if (m_save.m_hWnd != nullptr) m_save.MoveWindow(cx - 125, cy - 41, 105, 35);
  if (m_back.m_hWnd != nullptr) m_back.MoveWindow(cx - 215, cy - 41, 85, 35);
  for (CStatic& label : m_statics) {
    if (label.m_hWnd != nullptr) label.MoveWindow(0, 0, 0, 0);
  }
  if (m_home.m_hWnd != nullptr) m_home.MoveWindow(0, 0, 0, 0);
  if (m_outerSplitter.m_hWnd != nullptr && cx > 10 && cy > 95) m_outerSplitter.MoveWindow(5, 45, cx - 10, cy - 95);
  Invalidate(FALSE);
}

BOOL CThirdView_HDD::OnEraseBkgnd(CDC*) { return TRUE; }

void CThirdView_HDD::OnDraw(CDC* pDC) {
  CRect client;
  GetClientRect(client);
  PaintPageBackground(pDC, client, IDB_HEADER_RESULTS);
  if (!m_links.summaryText) return;
  CFont* old = pDC->SelectObject(&m_viewFont);
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(RGB(20, 42, 82));
  CRect where(client.left + 25, client.bottom - 40, client.left + 250, client.bottom);
  pDC->DrawText(m_links.summaryText(), where, DT_LEFT | DT_TOP | DT_NOPREFIX);
  pDC->SelectObject(old);
}

HBRUSH CThirdView_HDD::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  if (nCtlColor == CTLCOLOR_STATIC && pWnd != nullptr) {
    const int id = pWnd->GetDlgCtrlID();
    if (id == IDC_PAGE_STATIC_1 || id == 61483 || id == IDC_PAGE_STATIC_2 || id == IDC_SELECTED_SIZE) {
      pDC->SetBkColor(kWhite);
      pDC->SetTextColor(id == IDC_PAGE_STATIC_1 ? 0x000000 : kRed);
      return static_cast<HBRUSH>(m_whiteBrush.GetSafeHandle());
    }
  }
  return ::GetSysColorBrush(COLOR_WINDOW);
}

// ---- busy state ----------------------------------------------------------------------------------------

void CThirdView_HDD::BeginResultsBusy() {
  m_busy = 1;
  BeginWaitCursor();
}

void CThirdView_HDD::EndResultsBusy() {
  EndWaitCursor();
  m_busy = 0;
}

BOOL CThirdView_HDD::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (m_busy == 1) {
    ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    return TRUE;
  }
  return CView::OnSetCursor(pWnd, nHitTest, message);
}

// ---- the list's notifications ----------------------------------------------------------------------------

BOOL CThirdView_HDD::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  if (header != nullptr && header->hwndFrom == m_list.m_hWnd) {
    switch (header->code) {
      case LVN_COLUMNCLICK:
        SortByColumn(reinterpret_cast<const NMLISTVIEW*>(lParam)->iSubItem);
        break;
      case NM_CLICK: {
        // A click on a check box was the list's own (it toggles the box and sends no click).
        const auto* click = reinterpret_cast<const NMITEMACTIVATE*>(lParam);
        UINT flags = 0;
        const int row = m_list.HitTest(click->ptAction, &flags);
        if (row >= 0 && (flags & LVHT_ONITEMSTATEICON) == 0) PreviewRow(row);
        break;
      }
      case LVN_KEYDOWN: {
        const WORD key = reinterpret_cast<const NMLVKEYDOWN*>(lParam)->wVKey;
        // The selection has moved once the key is handled: preview it then.
        if (key == VK_UP || key == VK_DOWN) PostMessage(kPreviewSelectionMessage);
        break;
      }
      default:
        break;
    }
  }
  return CView::OnNotify(wParam, lParam, pResult);
}

LRESULT CThirdView_HDD::OnPreviewSelection(WPARAM, LPARAM) {
  const int row = m_list.GetNextItem(-1, LVNI_FOCUSED);
  if (row >= 0) PreviewRow(row);
  return 0;
}

// ---- sorting -------------------------------------------------------------------------------------------------

void CThirdView_HDD::SortByColumn(int column) {
  BOOL headerAscending = TRUE;
  const int headerColumn = m_header.GetSortImage(&headerAscending);
  m_sort = results::SortForColumnClick(m_sort, m_shownSort, results::SortOrder{headerColumn, headerAscending != FALSE},
                                       column);
  m_list.SetSortArrow(m_sort.column, m_sort.ascending ? TRUE : FALSE);
  m_shownSort = m_sort;
  if (const int type = results::ColumnSortType(column)) {
    ui::ListColumnSorter sorter(&m_list, column);
    sorter.Sort(m_sort.ascending, type);
  }
  RegroupRows();
}

// Rows are rewritten in their new order, each with its texts, icon, box, data and highlight, so a ticked row
// stays ticked and the highlight stays on the file the preview shows; the selection mark (the row Space, F2
// and the context menu act on) moves with its row too.
void CThirdView_HDD::RegroupRows() {
  struct Row {
    std::vector<CString> texts;
    LVITEMW item{};
  };
  const int count = m_list.CTKListCtrl::GetItemCount();
  const int columns = m_list.GetHeaderCtrl() != nullptr ? m_list.GetHeaderCtrl()->GetItemCount() : 1;
  std::vector<Row> rows(static_cast<size_t>(count));
  std::vector<results::RowNameType> kinds;
  for (int r = 0; r < count; ++r) {
    Row& row = rows[static_cast<size_t>(r)];
    for (int c = 0; c < columns; ++c) row.texts.push_back(m_list.CTKListCtrl::GetItemText(r, c));
    row.item.mask = LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
    row.item.iItem = r;
    row.item.stateMask = LVIS_STATEIMAGEMASK | LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(m_list.m_hWnd, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&row.item));
    kinds.push_back({row.texts[0].ToUtf16(), columns > 1 ? row.texts[1].ToUtf16() : std::u16string(),
                     m_list.Kind(r) == results::RowKind::kParent});
  }
  const std::vector<size_t> order = results::RegroupOrder(kinds);
  const int mark = m_list.GetSelectionMark();
  int newMark = -1;
  for (int r = 0; r < count; ++r) {
    if (static_cast<int>(order[static_cast<size_t>(r)]) == mark) newMark = r;
    Row& row = rows[order[static_cast<size_t>(r)]];
    row.item.iItem = r;
    row.item.iSubItem = 0;
    ::SendMessageW(m_list.m_hWnd, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&row.item));
    for (int c = 0; c < columns; ++c) m_list.CTKListCtrl::SetItemText(r, c, row.texts[static_cast<size_t>(c)]);
  }
  m_list.SetSelectionMark(newMark);
  const int focused = m_list.GetNextItem(-1, LVNI_FOCUSED);
  if (focused >= 0) m_list.EnsureVisible(focused, FALSE);
}

// ---- keys ------------------------------------------------------------------------------------------------------

// Save and Back take the focus in the ring: their Tab and Enter are the page's.
BOOL CThirdView_HDD::PreTranslateMessage(MSG* msg) {
  if (msg->message == WM_KEYDOWN && (msg->wParam == VK_TAB || msg->wParam == VK_RETURN) &&
      (msg->hwnd == m_save.m_hWnd || msg->hwnd == m_back.m_hWnd)) {
    OnKeyDown(static_cast<UINT>(msg->wParam), LOWORD(msg->lParam), HIWORD(msg->lParam));
    return TRUE;
  }
  return CView::PreTranslateMessage(msg);
}

namespace {

// A button the keys may reach and press: one the user sees and could click.
bool Pressable(CWnd& button) { return button.m_hWnd != nullptr && button.IsWindowVisible() && button.IsWindowEnabled(); }

}  // namespace

void CThirdView_HDD::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (nChar == VK_TAB) {
    // The ring runs tree, Save, Back and passes over a button that is not shown (Back after a snapshot load).
    uint32_t next = m_focusRing;
    do {
      next = (next + 1) % 3;
    } while (next != 0 && !Pressable(next == 1 ? static_cast<CWnd&>(m_save) : m_back));
    m_save.SendMessage(BM_SETSTATE, next == 1 ? 1 : 0);
    m_back.SendMessage(BM_SETSTATE, next == 2 ? 1 : 0);
    if (next == 0) {
      m_tree.SetActiveWindow();
      m_tree.CTreeCtrl::SetFocus();
    } else if (next == 1) {
      m_save.SetFocus();
    } else if (m_focusRing == 0) {
      m_back.SetFocus();  // Save was passed over: the keys go on to Back
    }
    m_focusRing = next;
    return;
  }
  if (nChar == VK_RETURN) {
    if (m_focusRing == 1 && Pressable(m_save) && (m_save.SendMessage(BM_GETSTATE) & BST_PUSHED)) {
      OnSave();
    } else if (m_focusRing == 2 && Pressable(m_back) && (m_back.SendMessage(BM_GETSTATE) & BST_PUSHED)) {
      OnBack();
    }
    return;
  }
  CView::OnKeyDown(nChar, nRepCnt, nFlags);
}

// ---- Save, Back, Home ------------------------------------------------------------------------------------

void CThirdView_HDD::OnSave() {
  if (m_links.recordActiveView) m_links.recordActiveView();
  m_list.RecoverSelected();
}

void CThirdView_HDD::ForgetPreview() {
  // The preview is emptied, and the next file previewed is written again.
  ClearPreview(false, u"");
  DeletePreviewTempFiles();
  LastPreview.tempPath.clear();
  SetPreviewFlags(0, 1);  // as at start: no file selected
}

void CThirdView_HDD::ResetFocusRing() {
  m_save.SendMessage(BM_SETSTATE, 0);
  m_back.SendMessage(BM_SETSTATE, 0);
  m_focusRing = 0;
}

void CThirdView_HDD::ResetResults() {
  ResetFocusRing();
  LargeFileSize = 0;
  ShowScanProgress = 1;
  SnapshotLoading = 0;
  ForgetPreview();
  m_list.Sets().Clear();
  // The tree's own delete: it also forgets the deleted folders' red by node, which a later node given the
  // same handle would otherwise take.
  m_tree.DeleteAllItems();
  m_list.CTKListCtrl::DeleteAllItems();
}

// Back to page 2, where a partition is taken anew and the next scan reads its file system: until then there is
// none to tell of (Drive Information shows nothing, not the last one's values with its files gone). Page 3
// keeps the file system chosen there, which its Next reads again.
namespace {
void ForgetFileSystem() { CurrentFileSystem = FileSystemRecord{}; }
}  // namespace

void CThirdView_HDD::OnBack() {
  if (m_links.recordActiveView) m_links.recordActiveView();
  ResetResults();
  switch (RecoveryMode) {
    case records::kExtensiveScan:
      if (m_links.restoreFileSystemPage) m_links.restoreFileSystemPage();
      FreeScanRecordLists();
      FreeNtfsRecordLists();
      if (m_links.showPage) m_links.showPage(3);
      break;
    case records::kFileTrace:
      FreeFileTraceResultList();
      FreeFileTraceSignatureList();
      ForgetFileSystem();
      if (m_links.restoreScanPage) m_links.restoreScanPage();
      if (m_links.showPage) m_links.showPage(2);
      break;
    default:
      FreeScanRecordLists();
      ForgetFileSystem();
      if (m_links.restoreScanPage) m_links.restoreScanPage();
      if (m_links.showPage) m_links.showPage(2);
      break;
  }
}

void CThirdView_HDD::OnHome() {
  OnBack();
  if (m_links.backThroughEarlierPages) m_links.backThroughEarlierPages();
}
