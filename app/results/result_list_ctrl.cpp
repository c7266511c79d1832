#include "app/results/result_list_ctrl.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <unordered_set>

#include "app/logic/find_files_search.h"
#include "app/results/result_columns.h"
#include "app/results/result_checks.h"
#include "app/results/result_records.h"
#include "app/results/result_tree_ctrl.h"
#include "app/results/tool_dialogs.h"
#include "app/results/window_thread.h"
#include "engine/records/fat_records.h"
#include "engine/records/scan_parameters.h"
#include "engine/listing/results_listing.h"
#include "engine/save/save_state.h"
#include "engine/save/savers.h"
#include "res/resource.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "ui/msgbox/message_dialogs.h"

static_assert(sizeof(wchar_t) == 2, "UTF-16 wchar_t");

using results::Wide;

namespace {

// A row's item data: the lister's "Parent..." row, or (any other value but 0) the node of a File Trace group
// row that was renamed, whose text no longer names its node. Tree nodes are addresses, never 1; sorting and
// regrouping keep every row's data.
constexpr DWORD_PTR kParentRowData = 1;

constexpr COLORREF kRed = 0x0000FF;
constexpr COLORREF kParentBack = 0x95CAFF;
constexpr char16_t kNothingTicked[] =
    u"Please mark the file(s) and folder(s) that you want to save\r\nby clicking on check box.";

HTREEITEM NodeOf(const std::u16string& idText) {
  return ResultTreeCtrl::Handle(results::ParseId(idText).value_or(host::kNoTreeKey));
}

}  // namespace

IMPLEMENT_DYNAMIC(ResultListCtrl, CTKListCtrl)

BEGIN_MESSAGE_MAP(ResultListCtrl, CTKListCtrl)
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_RBUTTONDOWN()
  ON_WM_KEYDOWN()
  ON_WM_SETCURSOR()
  ON_NOTIFY_REFLECT(NM_DBLCLK, OnDblClk)
  ON_NOTIFY_REFLECT(LVN_BEGINLABELEDITW, OnBeginLabelEdit)
  ON_NOTIFY_REFLECT(LVN_ENDLABELEDITW, OnEndLabelEdit)
  ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDraw)
END_MESSAGE_MAP()

ResultListCtrl::ResultListCtrl() = default;
ResultListCtrl::~ResultListCtrl() = default;

void ResultListCtrl::SetUp() {
  // The strip starts with the empty image of state 0; the list view shows state n with image n - 1.
  if (m_stateImages.Create(IDB_LIST_STATE_IMAGES, 16, 0, RGB(255, 255, 255)) && m_stateImages.Remove(0)) {
    SetImageList(&m_stateImages, LVSIL_STATE);
  }
  if (m_headerImages.Create(16, 16, ILC_COLOR16 | ILC_MASK, 7, 7)) {
    for (UINT id : {IDI_HEADER_NAME, IDI_HEADER_TYPE, IDI_HEADER_SIZE, IDI_HEADER_CREATED, IDI_HEADER_MODIFIED,
                    IDI_HEADER_ID, IDI_HEADER_PATH}) {
      HICON icon = static_cast<HICON>(
          LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(id), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
      if (icon != nullptr) {
        m_headerImages.Add(icon);
        DestroyIcon(icon);
      }
    }
    if (CHeaderCtrl* header = GetHeaderCtrl()) header->SetImageList(&m_headerImages);
  }
  m_boldFont.CreateFont(14, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, _T("Arial"));
  m_checkCursor = LoadCursorW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDC_CHECK_BOX_CURSOR));
}

LRESULT ResultListCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (results::RunRequested(message, lParam)) return 0;
  return CTKListCtrl::WindowProc(message, wParam, lParam);
}

bool ResultListCtrl::FileTrace() const { return RecoveryMode == records::kFileTrace; }

// --- the listers' side (any thread) ---

void ResultListCtrl::SetReportView() {
  results::RunOnWindowThread(m_hWnd, [this] { ModifyStyle(LVS_TYPEMASK, LVS_REPORT | LVS_SHOWSELALWAYS); });
}

void ResultListCtrl::DeleteAllItems() {
  results::RunOnWindowThread(m_hWnd, [this] { CTKListCtrl::DeleteAllItems(); });
}

void ResultListCtrl::BeginRows() {
  results::RunOnWindowThread(m_hWnd, [this] { HoldRedraw(); });
}

void ResultListCtrl::EndRows() {
  results::RunOnWindowThread(m_hWnd, [this] { ReleaseRedraw(); });
}

// The list view draws, scrolls and updates its scroll bars after each row it is given; with thousands of
// rows that is most of a listing's time, and more than the rows' count times a row's.
void ResultListCtrl::HoldRedraw() {
  if (m_redrawHolds++ != 0 || m_hWnd == nullptr) return;
  m_hiddenWhenHeld = (GetStyle() & WS_VISIBLE) == 0;
  SetRedraw(FALSE);
}

void ResultListCtrl::ReleaseRedraw() {
  if (m_redrawHolds == 0 || --m_redrawHolds != 0 || m_hWnd == nullptr) return;
  SetRedraw(TRUE);
  // The system's handling of the message shows the window again; a list hidden before stays hidden.
  if (m_hiddenWhenHeld) ModifyStyle(WS_VISIBLE, 0);
  Invalidate();
}

void ResultListCtrl::SetRowIcons(RowIconList* icons) {
  m_rowIcons = icons;
  if (icons != nullptr) SetImageList(&icons->Images(), LVSIL_SMALL);
}

int32_t ResultListCtrl::InsertItem(uint32_t row, const std::u16string& text, int32_t icon) {
  int32_t inserted = -1;
  results::RunOnWindowThread(m_hWnd, [&] {
    // The cell is made here, on the window's thread, which draws the list.
    const int image = m_rowIcons != nullptr ? m_rowIcons->CellOf(icon) : icon;
    // A new row shows an unticked box until the marks are restored.
    inserted = CTKListCtrl::InsertItem(LVIF_TEXT | LVIF_IMAGE | LVIF_STATE, static_cast<int>(row), Wide(text),
                                       INDEXTOSTATEIMAGEMASK(1), LVIS_STATEIMAGEMASK, image, 0);
  });
  return inserted;
}

void ResultListCtrl::SetItemText(uint32_t row, uint32_t column, const std::u16string& text) {
  results::RunOnWindowThread(m_hWnd, [&] {
    CTKListCtrl::SetItemText(static_cast<int>(row), static_cast<int>(column), Wide(text));
  });
}

void ResultListCtrl::SetParentRow(uint32_t row) {
  results::RunOnWindowThread(m_hWnd, [&] { SetItemData(static_cast<int>(row), kParentRowData); });
}

void ResultListCtrl::CheckItem(uint32_t row) {
  results::RunOnWindowThread(m_hWnd, [&] { SetRowState(static_cast<int>(row), 2); });
}

uint32_t ResultListCtrl::GetItemCount() {
  uint32_t count = 0;
  results::RunOnWindowThread(m_hWnd, [&] { count = static_cast<uint32_t>(CTKListCtrl::GetItemCount()); });
  return count;
}

std::u16string ResultListCtrl::GetItemText(uint32_t row, uint32_t column) {
  std::u16string text;
  results::RunOnWindowThread(m_hWnd, [&] { text = Text(static_cast<int>(row), static_cast<int>(column)); });
  return text;
}

std::vector<host::TreeKey> ResultListCtrl::SaveFolderSet() {
  std::vector<host::TreeKey> keys;
  results::RunOnWindowThread(m_hWnd, [&] { keys = m_sets.saveFolders.Keys(); });
  return keys;
}

std::vector<uint32_t> ResultListCtrl::SaveFileSet() {
  std::vector<uint32_t> ids;
  results::RunOnWindowThread(m_hWnd, [&] { ids = m_sets.saveFiles.Keys(); });
  return ids;
}

void ResultListCtrl::EmptyCheckSets() {
  results::RunOnWindowThread(m_hWnd, [this] { m_sets.Clear(); });
}

// --- rows ---

std::u16string ResultListCtrl::Text(int row, int column) const { return CTKListCtrl::GetItemText(row, column).ToUtf16(); }

results::RowKind ResultListCtrl::Kind(int row) const {
  return results::ClassifyRow(GetItemData(row) == kParentRowData, Text(row, 1));
}

void ResultListCtrl::Select(int row) {
  SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  SetSelectionMark(row);
}

void ResultListCtrl::SetRowState(int row, int image) {
  SetItemState(row, INDEXTOSTATEIMAGEMASK(image), LVIS_STATEIMAGEMASK);
}

int ResultListCtrl::RowCheck(int row) const {
  const int image = static_cast<int>(GetItemState(row, LVIS_STATEIMAGEMASK) >> 12);
  return image == 1 || image == 2 ? image - 1 : -1;
}

void ResultListCtrl::RestoreChecks() {
  if (m_tree == nullptr) return;
  results::ResultChecks checks = m_tree->Checks();
  const int idColumn = static_cast<int>(results::IdColumn(FileTrace()));
  // Read once: each row is then looked up, so a listing costs its rows plus the ticked nodes.
  std::unordered_set<std::u16string> tickedNodeTexts;
  if (FileTrace()) {
    for (uint32_t key : m_sets.checkedNodes.Keys()) {
      tickedNodeTexts.insert(m_tree->CTreeCtrl::GetItemText(ResultTreeCtrl::Handle(key)).ToUtf16());
    }
  }
  HoldRedraw();
  for (int row = 0, count = CTKListCtrl::GetItemCount(); row < count; ++row) {
    const results::RowKind kind = Kind(row);
    if (kind == results::RowKind::kParent) {
      SetRowState(row, 3);
      continue;
    }
    bool checked = false;
    const std::optional<uint32_t> id = results::ParseId(Text(row, idColumn));
    if (FileTrace()) {
      // Group and type rows follow their ticked nodes (a renamed group row, the node it kept).
      const HTREEITEM group = GroupNodeOfRow(row);
      checked = (id && checks.FileRowChecked(*id)) || tickedNodeTexts.count(Text(row, 0)) != 0 ||
                (group != nullptr && m_sets.checkedNodes.Contains(ResultTreeCtrl::Key(group)));
    } else if (id) {
      checked = kind == results::RowKind::kFolder ? checks.FolderRowChecked(*id) : checks.FileRowChecked(*id);
    }
    SetRowState(row, checked ? 2 : 1);
  }
  ReleaseRedraw();
}

// One click is one toggle: the box is toggled here and the control's own toggle never runs.
void ResultListCtrl::ToggleRowBox(int row) {
  if (m_tree == nullptr || row < 0 || row >= CTKListCtrl::GetItemCount()) return;
  const results::RowKind kind = Kind(row);
  if (kind == results::RowKind::kParent) return;
  const bool checked = RowCheck(row) != 1;
  SetRowState(row, checked ? 2 : 1);
  const std::optional<uint32_t> id = results::ParseId(Text(row, static_cast<int>(results::IdColumn(FileTrace()))));
  results::ResultChecks checks = m_tree->Checks();
  if (HTREEITEM group = GroupNodeOfRow(row)) {
    // A group row: its node and every hit of the group.
    checks.FileTraceNodeToggled(reinterpret_cast<results::Item>(group), results::EngineRecords()->HitsOf(GroupText(group)),
                                checked);
  } else if (FileTrace()) {
    if (id) checks.FileRowToggled(*id, checked);
  } else if (kind == results::RowKind::kFolder) {
    checks.FolderRowClicked(reinterpret_cast<results::Item>(NodeOf(Text(row, 5))), checked);
    return;
  } else if (id) {
    checks.FileRowClicked(*id, checked);
    return;
  }
  // File Trace: the group or type listed follows its hits.
  m_tree->TypeNodesFollowHits(m_tree->CurrentNode());
}

std::vector<bool> ResultListCtrl::RowChecks() const {
  std::vector<bool> states;
  for (int r = 0, count = CTKListCtrl::GetItemCount(); r < count; ++r) {
    if (Kind(r) != results::RowKind::kParent) states.push_back(RowCheck(r) == 1);
  }
  return states;
}

// File Trace lists its groups at the root as rows without a type: a row is a group's when a group node of
// the tree bears its name, or, once the row was renamed, the node it kept.
HTREEITEM ResultListCtrl::GroupNodeOfRow(int row) const {
  if (!FileTrace() || m_tree == nullptr || Kind(row) == results::RowKind::kParent) return nullptr;
  const DWORD_PTR data = GetItemData(row);
  if (data != 0 && data != kParentRowData) return reinterpret_cast<HTREEITEM>(data);
  return m_tree->FindChild(m_tree->CTreeCtrl::GetRootItem(), Text(row, 0));
}

std::u16string ResultListCtrl::GroupText(HTREEITEM group) const {
  return m_tree->CTreeCtrl::GetItemText(group).ToUtf16();
}

void ResultListCtrl::ListFolderOfNode(HTREEITEM node) {
  if (m_tree == nullptr) return;
  m_tree->ListNode(node);
  m_tree->SetCurrentNode(ResultTreeCtrl::Key(node));
  m_tree->SelectItem(node);
  m_tree->CTreeCtrl::Expand(node, TVE_EXPAND);
  m_tree->CTreeCtrl::SetFocus();
}

bool ResultListCtrl::OpenRow(int row) {
  if (m_tree == nullptr || row < 0 || row >= CTKListCtrl::GetItemCount()) return false;
  const results::RowKind kind = Kind(row);
  std::unique_ptr<results::ResultRecords> records = results::EngineRecords();
  if (kind == results::RowKind::kFolder && !FileTrace()) {
    ListFolderOfNode(NodeOf(Text(row, 5)));
  } else if (kind == results::RowKind::kParent && !FileTrace()) {
    if (CTKListCtrl::GetItemCount() == 1) {
      // No row below names the folder listed (it is empty, or the filters hide its files): its node does.
      const HTREEITEM listed = m_tree->CurrentNode();
      const std::optional<uint32_t> folder = listed != nullptr ? records->FolderOfNode(ResultTreeCtrl::Key(listed)) : std::nullopt;
      GoToParentFolder(folder.value_or(records->RootFolderId()));
    } else if (Kind(row + 1) == results::RowKind::kFolder) {
      const std::optional<uint32_t> folder = records->FolderOfNode(host::TreeKey(results::ParseId(Text(row + 1, 5)).value_or(0)));
      const std::optional<uint32_t> parent = folder ? records->ParentOfFolder(*folder) : std::nullopt;
      GoToParentFolder(parent.value_or(records->RootFolderId()));
    } else if (std::optional<uint32_t> id = results::ParseId(Text(row + 1, 5))) {
      // A file of several names (hard links) lies in several folders: the one listed is the node's.
      const std::vector<uint32_t> parents = records->ParentsOfFile(*id);
      const std::optional<uint32_t> listed = ListedFolder();
      const bool there = listed && std::find(parents.begin(), parents.end(), *listed) != parents.end();
      GoToParentFolder(there ? *listed : parents.empty() ? records->RootFolderId() : parents.front());
    }
  } else if (HTREEITEM group = GroupNodeOfRow(row)) {
    ListFileTraceFolder(GroupText(group), 1);
    // The group listed is the node that its hits' boxes recompute.
    m_tree->SetCurrentNode(ResultTreeCtrl::Key(group));
    RestoreChecks();
    return true;
  }
  return kind == results::RowKind::kParent && !FileTrace();
}

std::optional<uint32_t> ResultListCtrl::ListedFolder() const {
  const HTREEITEM listed = m_tree != nullptr ? m_tree->CurrentNode() : nullptr;
  if (listed == nullptr) return std::nullopt;
  const std::unique_ptr<results::ResultRecords> records = results::EngineRecords();
  return records->FolderOfNode(ResultTreeCtrl::Key(listed)).value_or(records->RootFolderId());
}

void ResultListCtrl::GoToParentFolder(uint32_t folderId) {
  if (m_tree == nullptr) return;
  std::unique_ptr<results::ResultRecords> records = results::EngineRecords();
  const uint32_t root = records->RootFolderId();
  const uint32_t parent = folderId == root ? root : records->ParentOfFolder(folderId).value_or(root);
  if (records->Kind() == results::ResultKind::kFat) {
    ListFatFolder(parent);
  } else if (records->Kind() == results::ResultKind::kNtfs) {
    ListNtfsFolder(parent);
  }
  HTREEITEM node = ResultTreeCtrl::Handle(records->NodeOfFolder(folderId));
  HTREEITEM target = parent == root || node == nullptr ? m_tree->CTreeCtrl::GetRootItem() : m_tree->GetParentItem(node);
  m_tree->SelectItem(target);
  m_tree->SetCurrentNode(ResultTreeCtrl::Key(target));
  if (parent != root) m_tree->CTreeCtrl::Expand(target, TVE_TOGGLE);
  RestoreChecks();
}

// --- commands ---

void ResultListCtrl::RecoverSelected() {
  if (m_tree == nullptr) return;
  m_tree->Checks().CollectSaveFolders();
  if (m_sets.saveFolders.empty() && m_sets.saveFiles.empty()) {
    msgbox::ShowProtocolBox(kNothingTicked, host::kInformation, false);
    return;
  }
  SaveIntoChosenFolder();
}

void ResultListCtrl::SaveAll() {
  // The folders ticked now, not those of the last save, and each folder's files once.
  if (m_tree != nullptr) m_tree->Checks().CollectSaveFolders();
  SaveIntoChosenFolder();
}

void ResultListCtrl::SaveIntoChosenFolder() {
  BrowseForSaveFolder(GetSafeHwnd());
  if (SaveDestination.empty()) return;
  if (m_saveRunner) {
    m_saveRunner();
  } else {
    BeginSave();
    SaveSelected();
  }
}

void ResultListCtrl::SetResultColumns(uint32_t mode) {
  while (DeleteColumn(0)) {
  }
  int index = 0;
  for (const results::ResultColumn& c : results::ResultColumnsFor(mode)) {
    InsertColumn(index++, reinterpret_cast<const wchar_t*>(c.title), LVCFMT_LEFT, c.width);
  }
}

void ResultListCtrl::RequestPreviewClear() {
  m_previewClearPending = true;
  if (m_hWnd != nullptr) Invalidate();
}

void ResultListCtrl::SwitchView(UINT command) {
  DWORD style = LVS_REPORT;
  if (command == ID_VIEW_ICONS) style = LVS_SMALLICON | LVS_AUTOARRANGE;
  if (command == ID_VIEW_LIST) style = LVS_LIST;
  // Through the list view and back, so that the layout is made anew.
  ModifyStyle(LVS_TYPEMASK | LVS_AUTOARRANGE, LVS_LIST);
  ModifyStyle(LVS_TYPEMASK | LVS_AUTOARRANGE, style);
  UpdateWindow();
}

results::ItemProperties ResultListCtrl::RowProperties(int row) const {
  results::ItemProperties p;
  p.folder = Kind(row) == results::RowKind::kFolder;
  p.id = Text(row, 5);
  p.name = Text(row, 0);
  p.size = results::PropertiesSizeText(Text(row, 2));
  p.created = Text(row, 3);
  p.modified = Text(row, 4);
  return p;
}

void ResultListCtrl::ShowItemProperties() {
  const int row = GetSelectionMark();
  if (row < 0 || row >= CTKListCtrl::GetItemCount()) return;
  results::ShowItemPropertiesDialog(this, RowProperties(row));
}

void ResultListCtrl::BuildContextMenu(CMenu& menu) const {
  menu.LoadMenu(IDR_LIST_CONTEXT_MENU);
  CMenu* popup = menu.GetSubMenu(0);
  if (popup != nullptr && FileTrace()) {
    for (UINT id : {ID_FIND_FILES, ID_SETTINGS, ID_ITEM_PROPERTIES}) popup->DeleteMenu(id, MF_BYCOMMAND);
  }
}

void ResultListCtrl::ShowContextMenu(CPoint screen) {
  if (GetSelectionMark() < 0) return;
  CMenu menu;
  BuildContextMenu(menu);
  if (CMenu* popup = menu.GetSubMenu(0)) {
    RunMenuCommand(CTKPCommandBars::TrackPopupMenu(popup, TPM_NONOTIFY | TPM_RETURNCMD, screen.x, screen.y, this));
  }
}

void ResultListCtrl::RunMenuCommand(UINT command) {
  switch (command) {
    case ID_RECOVER_SELECTED:
      RecoverSelected();
      break;
    case ID_VIEW_ICONS:
    case ID_VIEW_LIST:
    case ID_VIEW_DETAILS:
      SwitchView(command);
      break;
    case ID_RENAME_ITEM:
      EditLabel(GetSelectionMark());
      break;
    case ID_ITEM_PROPERTIES:
      ShowItemProperties();
      break;
    default:
      results::RunToolDialog(this, command);
      break;
  }
}

// --- mouse and keys ---

void ResultListCtrl::OnLButtonDown(UINT nFlags, CPoint point) {
  UINT flags = 0;
  const int row = HitTest(point, &flags);
  if (row >= 0 && (flags & LVHT_ONITEMSTATEICON) && Kind(row) != results::RowKind::kParent) {
    Select(row);
    CTKListCtrl::SetFocus();
    ToggleRowBox(row);
    return;
  }
  CTKListCtrl::OnLButtonDown(nFlags, point);
}

// The second press of a double-click on a box: the first press toggled it already, and the control's own
// handling would toggle it past the check model, or open the row.
void ResultListCtrl::OnLButtonDblClk(UINT nFlags, CPoint point) {
  UINT flags = 0;
  const int row = HitTest(point, &flags);
  if (row >= 0 && (flags & LVHT_ONITEMSTATEICON) && Kind(row) != results::RowKind::kParent) return;
  CTKListCtrl::OnLButtonDblClk(nFlags, point);
}

void ResultListCtrl::OnRButtonDown(UINT, CPoint point) {
  // The Find dialog works on the same records: no item command while it is open.
  if (FindDialogOpen != 0) return;
  UINT flags = 0;
  const int row = HitTest(point, &flags);
  if (row < 0 || (flags & LVHT_ONITEMSTATEICON)) return;
  Select(row);
  ClientToScreen(point);
  ShowContextMenu(point);
}

void ResultListCtrl::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  const int row = GetSelectionMark();
  if (nChar == VK_SPACE) {
    ToggleRowBox(row);  // the control's own toggle never runs
    return;
  }
  if (nChar == VK_RETURN && row >= 0) {
    if (Kind(row) == results::RowKind::kFolder && !FileTrace()) {
      ListFolderOfNode(NodeOf(Text(row, 5)));
    } else if (m_tree != nullptr) {
      m_tree->CTreeCtrl::SetFocus();
    }
    return;
  }
  CTKListCtrl::OnKeyDown(nChar, nRepCnt, nFlags);
}

BOOL ResultListCtrl::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_KEYDOWN && pMsg->hwnd == m_hWnd) {
    if (pMsg->wParam == VK_TAB && m_tree != nullptr) {
      m_tree->CTreeCtrl::SetFocus();
      return TRUE;
    }
    if (pMsg->wParam == VK_F2) {
      EditLabel(GetSelectionMark());
      return TRUE;
    }
    if (pMsg->wParam == VK_APPS) {
      CRect rect;
      GetItemRect(GetSelectionMark(), rect, LVIR_LABEL);
      CPoint centre = rect.CenterPoint();
      ClientToScreen(centre);
      ShowContextMenu(centre);
      return TRUE;
    }
  }
  return CTKListCtrl::PreTranslateMessage(pMsg);
}

BOOL ResultListCtrl::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  CPoint point;
  ::GetCursorPos(point);
  ScreenToClient(point);
  UINT flags = 0;
  const int row = HitTest(point, &flags);
  if (row >= 0 && (flags & LVHT_ONITEMSTATEICON) && Kind(row) != results::RowKind::kParent && m_checkCursor) {
    ::SetCursor(m_checkCursor);
    return TRUE;
  }
  return CTKListCtrl::OnSetCursor(pWnd, nHitTest, message);
}

void ResultListCtrl::OnDblClk(NMHDR* pNMHDR, LRESULT* pResult) {
  *pResult = 0;
  const auto* activate = reinterpret_cast<NMITEMACTIVATE*>(pNMHDR);
  if (!OpenRow(activate->iItem)) return;
  // The new listing is drawn, then the double-click counts as a click on it (the page previews the row).
  UpdateWindow();
  NMITEMACTIVATE click = *activate;
  click.hdr.code = static_cast<UINT>(NM_CLICK);
  if (CWnd* parent = GetParent()) parent->SendMessage(WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
}

void ResultListCtrl::OnBeginLabelEdit(NMHDR* pNMHDR, LRESULT* pResult) {
  const int row = reinterpret_cast<NMLVDISPINFOW*>(pNMHDR)->item.iItem;
  m_oldName = Text(row, 0);
  m_renaming = Kind(row) != results::RowKind::kParent;
  *pResult = m_renaming ? FALSE : TRUE;
}

// The row and the record behind it take the new name; an empty name keeps the old one.
void ResultListCtrl::OnEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult) {
  const LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(pNMHDR)->item;
  *pResult = FALSE;
  const bool renaming = m_renaming;
  m_renaming = false;
  if (!renaming || item.pszText == nullptr) return;
  const std::u16string name(reinterpret_cast<const char16_t*>(item.pszText));
  const int row = item.iItem;
  if (name.empty()) {
    CTKListCtrl::SetItemText(row, 0, Wide(m_oldName));
    return;
  }
  // A group row names its node by its text: the node is kept before the text changes.
  if (HTREEITEM group = GroupNodeOfRow(row)) SetItemData(row, reinterpret_cast<DWORD_PTR>(group));
  CTKListCtrl::SetItemText(row, 0, Wide(name));
  if (FileTrace()) {
    if (std::optional<uint32_t> id = results::ParseId(Text(row, 2))) results::RenameFileRecord(*id, name);
  } else if (Kind(row) == results::RowKind::kFolder) {
    HTREEITEM node = NodeOf(Text(row, 5));
    if (node != nullptr && m_tree != nullptr) m_tree->CTreeCtrl::SetItemText(node, Wide(name));
    results::RenameFolderRecord(ResultTreeCtrl::Key(node), name);
  } else if (std::optional<uint32_t> id = results::ParseId(Text(row, 5))) {
    results::RenameFileRecord(*id, name, m_oldName, ListedFolder());
  }
}

// Deleted items red on white, "Parent..." red on light orange without a box, checked rows bold.
void ResultListCtrl::OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult) {
  auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(pNMHDR);
  *pResult = CDRF_DODEFAULT;
  if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) {
    if (m_previewClearPending) {
      m_previewClearPending = false;
      if (m_previewClearer) m_previewClearer();
    }
    *pResult = CDRF_NOTIFYITEMDRAW;
    return;
  }
  if (draw->nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return;
  const int row = static_cast<int>(draw->nmcd.dwItemSpec);
  const std::u16string type = Text(row, 1);
  draw->clrText = 0x000000;
  draw->clrTextBk = 0xFFFFFF;
  if (Kind(row) == results::RowKind::kParent) {
    draw->clrText = kRed;
    draw->clrTextBk = kParentBack;
  } else if (type.compare(0, 7, u"Deleted") == 0) {
    draw->clrText = kRed;
  }
  if (RowCheck(row) == 1 && m_boldFont.GetSafeHandle() != nullptr) {
    ::SelectObject(draw->nmcd.hdc, m_boldFont.GetSafeHandle());
    *pResult = CDRF_NEWFONT;
  }
}
