#include "app/results/result_tree_ctrl.h"

#include "app/results/item_properties.h"
#include "app/results/result_list_ctrl.h"
#include "app/results/tool_dialogs.h"
#include "app/results/window_thread.h"
#include "engine/records/fat_records.h"
#include "engine/records/ntfs_records.h"
#include "engine/records/scan_parameters.h"
#include "engine/listing/file_name_case.h"
#include "engine/listing/results_listing.h"
#include "res/resource.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "ui/controls/shell_file_info.h"

static_assert(sizeof(wchar_t) == 2, "UTF-16 wchar_t");

using results::Wide;

namespace {

constexpr COLORREF kDeletedColour = 0x0000FF;

std::u16string Trimmed(const std::u16string& text) {
  constexpr std::u16string_view kSpace = u" \t\r\n";
  const size_t first = text.find_first_not_of(kSpace);
  if (first == std::u16string::npos) return {};
  return text.substr(first, text.find_last_not_of(kSpace) - first + 1);
}

enum CursorIndex { kExpandCursor, kCheckCursor, kItemCursor, kPressedCursor };

}  // namespace

IMPLEMENT_DYNAMIC(ResultTreeCtrl, CTreeCtrl)

BEGIN_MESSAGE_MAP(ResultTreeCtrl, CTreeCtrl)
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_RBUTTONDOWN()
  ON_WM_KEYUP()
  ON_WM_SETCURSOR()
  ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDraw)
  ON_NOTIFY_REFLECT(TVN_KEYDOWN, OnKeyDownNotify)
END_MESSAGE_MAP()

ResultTreeCtrl::ResultTreeCtrl() : m_records(results::EngineRecords()) {}

ResultTreeCtrl::~ResultTreeCtrl() = default;

void ResultTreeCtrl::SetUp() {
  if (m_stateImages.Create(IDB_TREE_STATE_IMAGES, 16, 0, RGB(255, 255, 255))) SetImageList(&m_stateImages, TVSIL_STATE);
  // The tree's own icons: the program's drive, as page 2 draws a partition (the shell's is a pale empty box
  // on some systems), and the shell's folder, as the list shows the folders.
  if (m_icons.Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 0)) {
    HICON drive = static_cast<HICON>(
        ::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDI_TREE_FIXED_DISK), IMAGE_ICON, 16, 16, 0));
    const ui::ShellFileInfo shell;
    HICON folder = ImageList_GetIcon(shell.GetSystemImageList(true), shell.GetFolderIconIndex(true), ILD_NORMAL);
    m_driveIcon = m_icons.Add(drive);
    m_folderIcon = m_icons.Add(folder);
    for (HICON icon : {drive, folder}) {
      if (icon != nullptr) ::DestroyIcon(icon);
    }
    SetImageList(&m_icons, TVSIL_NORMAL);
  }
  const UINT ids[] = {IDC_EXPAND_CURSOR, IDC_CHECK_BOX_CURSOR, IDC_HAND_CURSOR, IDC_PRESSED_HAND_CURSOR};
  for (int i = 0; i < 4; ++i) m_cursors[i] = LoadCursorW(AfxGetResourceHandle(), MAKEINTRESOURCEW(ids[i]));
}

LRESULT ResultTreeCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (results::RunRequested(message, lParam)) return 0;
  if ((message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR) && SpaceToggles(message, wParam)) return 0;
  return CTreeCtrl::WindowProc(message, wParam, lParam);
}

// --- building (any thread) ---

HTREEITEM ResultTreeCtrl::Insert(const std::u16string& text, HTREEITEM parent, int image, bool deleted,
                                 bool hasChildren) {
  TVINSERTSTRUCTW insert = {};
  insert.hParent = parent != nullptr ? parent : TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE | TVIF_CHILDREN;
  insert.item.pszText = const_cast<LPWSTR>(Wide(text));
  insert.item.iImage = insert.item.iSelectedImage = image;
  insert.item.state = INDEXTOSTATEIMAGEMASK(1);
  insert.item.stateMask = TVIS_STATEIMAGEMASK;
  insert.item.cChildren = hasChildren ? 1 : I_CHILDRENCALLBACK;
  if (!hasChildren) insert.item.mask &= ~TVIF_CHILDREN;
  HTREEITEM node = CTreeCtrl::InsertItem(&insert);
  if (node != nullptr && deleted) m_textColours[node] = kDeletedColour;
  return node;
}

void ResultTreeCtrl::DeleteAllItems() {
  results::RunOnWindowThread(m_hWnd, [this] {
    CTreeCtrl::DeleteAllItems();
    m_textColours.clear();
    m_current = nullptr;
  });
}

host::TreeKey ResultTreeCtrl::AddItem(const std::u16string& text, host::TreeKey parent, host::TreeImage image,
                                      bool deleted) {
  HTREEITEM node = nullptr;
  results::RunOnWindowThread(m_hWnd, [&] {
    const int icon = parent == host::kNoTreeKey && image == host::TreeImage::kDrive ? m_driveIcon : m_folderIcon;
    node = Insert(text, Handle(parent), icon, deleted, false);
  });
  return Key(node);
}

host::TreeKey ResultTreeCtrl::AddTreeItemOnce(const std::u16string& text, host::TreeKey parent, bool hasChildren) {
  HTREEITEM node = nullptr;
  results::RunOnWindowThread(m_hWnd, [&] {
    const std::u16string wanted = Trimmed(text);
    HTREEITEM first = parent == host::kNoTreeKey ? CTreeCtrl::GetRootItem() : CTreeCtrl::GetChildItem(Handle(parent));
    for (HTREEITEM child = first; child != nullptr; child = CTreeCtrl::GetNextSiblingItem(child)) {
      if (Trimmed(CTreeCtrl::GetItemText(child).ToUtf16()) == wanted) {
        node = child;
        return;
      }
    }
    node = Insert(text, Handle(parent), parent == host::kNoTreeKey ? m_driveIcon : m_folderIcon, false, hasChildren);
  });
  return Key(node);
}

void ResultTreeCtrl::Expand(host::TreeKey node) {
  results::RunOnWindowThread(m_hWnd, [&] { CTreeCtrl::Expand(Handle(node), TVE_EXPAND); });
}

void ResultTreeCtrl::SetCurrentNode(host::TreeKey node) {
  results::RunOnWindowThread(m_hWnd, [&] { m_current = Handle(node); });
}

void ResultTreeCtrl::SelectNode(host::TreeKey node) {
  results::RunOnWindowThread(m_hWnd, [&] {
    m_current = Handle(node);
    SelectItem(m_current);
  });
}

void ResultTreeCtrl::SetFocus() {
  results::RunOnWindowThread(m_hWnd, [this] { CTreeCtrl::SetFocus(); });
}

host::TreeKey ResultTreeCtrl::GetRootItem() {
  HTREEITEM node = nullptr;
  results::RunOnWindowThread(m_hWnd, [&] { node = CTreeCtrl::GetRootItem(); });
  return Key(node);
}

host::TreeKey ResultTreeCtrl::GetChildItem(host::TreeKey parent) {
  HTREEITEM node = nullptr;
  results::RunOnWindowThread(m_hWnd, [&] { node = CTreeCtrl::GetChildItem(Handle(parent)); });
  return Key(node);
}

host::TreeKey ResultTreeCtrl::GetNextSiblingItem(host::TreeKey previous) {
  HTREEITEM node = nullptr;
  results::RunOnWindowThread(m_hWnd, [&] { node = CTreeCtrl::GetNextSiblingItem(Handle(previous)); });
  return Key(node);
}

std::u16string ResultTreeCtrl::GetItemText(host::TreeKey node) {
  std::u16string text;
  results::RunOnWindowThread(m_hWnd, [&] { text = CTreeCtrl::GetItemText(Handle(node)).ToUtf16(); });
  return text;
}

void ResultTreeCtrl::ClearChecks(host::TreeKey node) {
  results::RunOnWindowThread(m_hWnd, [&] { Checks().ClearChecks(reinterpret_cast<Item>(Handle(node))); });
}

void ResultTreeCtrl::RestoreListChecks(host::TreeKey) {
  results::RunOnWindowThread(m_hWnd, [&] {
    if (m_list != nullptr) m_list->RestoreChecks();
  });
}

// --- the check model's view of the tree ---

app::CheckTree::Item ResultTreeCtrl::Parent(Item item) const {
  return reinterpret_cast<Item>(CTreeCtrl::GetParentItem(reinterpret_cast<HTREEITEM>(item)));
}

app::CheckTree::Item ResultTreeCtrl::FirstChild(Item item) const {
  HTREEITEM node = item == 0 ? CTreeCtrl::GetRootItem() : CTreeCtrl::GetChildItem(reinterpret_cast<HTREEITEM>(item));
  return reinterpret_cast<Item>(node);
}

app::CheckTree::Item ResultTreeCtrl::NextSibling(Item item) const {
  return reinterpret_cast<Item>(CTreeCtrl::GetNextSiblingItem(reinterpret_cast<HTREEITEM>(item)));
}

app::CheckState ResultTreeCtrl::GetState(Item item) const {
  const UINT image = GetItemState(reinterpret_cast<HTREEITEM>(item), TVIS_STATEIMAGEMASK) >> 12;
  if (image == 2) return app::CheckState::kChecked;
  if (image == 3) return app::CheckState::kPartly;
  return app::CheckState::kUnchecked;
}

void ResultTreeCtrl::SetState(Item item, app::CheckState state) {
  const UINT image = static_cast<UINT>(state) + 1;
  const UINT bold = state == app::CheckState::kChecked ? TVIS_BOLD : 0;
  SetItemState(reinterpret_cast<HTREEITEM>(item), INDEXTOSTATEIMAGEMASK(image) | bold,
               TVIS_STATEIMAGEMASK | TVIS_BOLD);
}

results::ResultChecks ResultTreeCtrl::Checks() {
  return results::ResultChecks(*this, *m_records, m_list != nullptr ? m_list->Sets() : m_ownSets);
}

// --- listing ---

void ResultTreeCtrl::ListNode(HTREEITEM node) {
  if (node == nullptr) return;
  m_current = node;
  const results::ResultKind kind = m_records->Kind();
  const std::optional<uint32_t> folder = m_records->FolderOfNode(Key(node));
  if (kind == results::ResultKind::kFat) {
    ListFatFolder(folder.value_or(records::kFatRootId));
  } else if (kind == results::ResultKind::kNtfs) {
    ListNtfsFolder(folder.value_or(records::kNtfsRootRecord));
    OwnFilesFollowNode(node);
  } else if (kind == results::ResultKind::kFileTrace) {
    HTREEITEM parent = CTreeCtrl::GetParentItem(node);
    const std::u16string text = parent == nullptr ? u"Root" : CTreeCtrl::GetItemText(node).ToUtf16();
    // Group nodes sit right below the top node; type nodes below their group.
    const bool group = parent != nullptr && CTreeCtrl::GetParentItem(parent) == nullptr;
    ListFileTraceFolder(text, group ? 1 : 0);
  }
  if (m_list != nullptr) m_list->RestoreChecks();
}

HTREEITEM ResultTreeCtrl::FindChild(HTREEITEM parent, const std::u16string& text) const {
  const std::u16string wanted = file_name::UpperCase(Trimmed(text));
  for (HTREEITEM child = CTreeCtrl::GetChildItem(parent); child != nullptr; child = CTreeCtrl::GetNextSiblingItem(child)) {
    if (file_name::UpperCase(Trimmed(CTreeCtrl::GetItemText(child).ToUtf16())) == wanted) return child;
  }
  return nullptr;
}

// The hits a File Trace node stands for: those of its group or type; the top node's are every group's (ticking
// it must tick what Recover saves, not only the boxes beneath it).
std::vector<uint32_t> ResultTreeCtrl::FileTraceHitsOf(HTREEITEM node) const {
  if (CTreeCtrl::GetParentItem(node) != nullptr) return m_records->HitsOf(CTreeCtrl::GetItemText(node).ToUtf16());
  std::vector<uint32_t> hits;
  for (HTREEITEM group = CTreeCtrl::GetChildItem(node); group != nullptr; group = CTreeCtrl::GetNextSiblingItem(group)) {
    const std::vector<uint32_t> more = m_records->HitsOf(CTreeCtrl::GetItemText(group).ToUtf16());
    hits.insert(hits.end(), more.begin(), more.end());
  }
  return hits;
}

void ResultTreeCtrl::TypeNodesFollowHits(HTREEITEM listed) {
  HTREEITEM parent = listed != nullptr ? CTreeCtrl::GetParentItem(listed) : nullptr;
  if (parent == nullptr) return;  // the top node lists group rows, which move their own nodes
  if (CTreeCtrl::GetParentItem(parent) != nullptr) {
    Checks().TypeNodeFollowsHits(reinterpret_cast<Item>(listed), FileTraceHitsOf(listed));
    return;
  }
  for (HTREEITEM type = CTreeCtrl::GetChildItem(listed); type != nullptr; type = CTreeCtrl::GetNextSiblingItem(type)) {
    Checks().TypeNodeFollowsHits(reinterpret_cast<Item>(type), FileTraceHitsOf(type));
  }
}

void ResultTreeCtrl::OwnFilesFollowNode(HTREEITEM node) { Checks().OwnFilesFollowNode(reinterpret_cast<Item>(node)); }

CString ResultTreeCtrl::GetTreePath(HTREEITEM node) const {
  CString path;
  for (HTREEITEM n = node; n != nullptr && CTreeCtrl::GetParentItem(n) != nullptr; n = CTreeCtrl::GetParentItem(n)) {
    CString part = CTreeCtrl::GetItemText(n);
    if (!path.IsEmpty() && (part.IsEmpty() || part[part.GetLength() - 1] != L'\\')) part += L'\\';
    path = part + path;
  }
  return path;
}

bool ResultTreeCtrl::IsDrawnDeleted(HTREEITEM node) const { return m_textColours.count(node) != 0; }

// --- mouse and keys ---

// A click on the node's box, and Space on the selected node: the check model's rule, then the list's marks.
void ResultTreeCtrl::ToggleBox(HTREEITEM node) {
  const Item item = reinterpret_cast<Item>(node);
  if (m_records->Kind() == results::ResultKind::kFileTrace) {
    // Every hit of the group or type follows its node.
    Checks().FileTraceNodeToggled(item, FileTraceHitsOf(node), Checks().FileTraceClickTicks(item));
  } else {
    Checks().ClickTreeBox(item);
    if (m_records->Kind() == results::ResultKind::kFat && CTreeCtrl::GetParentItem(node) != nullptr &&
        GetState(item) == app::CheckState::kUnchecked) {
      UpdateSelectedSize();
    }
  }
  if (m_list != nullptr) m_list->RestoreChecks();
}

// The box's button-up rule (FAT: the ancestors follow the listed rows, when they list the node or its parent).
void ResultTreeCtrl::BoxReleased(HTREEITEM node) {
  if (m_list != nullptr) {
    Checks().AncestorsFollowRows(reinterpret_cast<Item>(node), reinterpret_cast<Item>(m_current),
                                 results::SummarizeRows(m_list->RowChecks()));
  }
}

// The control's own Space toggle would flip the box past the check model: Space takes the click's way.
bool ResultTreeCtrl::SpaceToggles(UINT message, WPARAM key) {
  if (key != VK_SPACE) return false;  // the character of the key is the same code
  if (message == WM_KEYDOWN) {
    if (HTREEITEM node = GetSelectedItem()) {
      CWaitCursor wait;
      ToggleBox(node);
      BoxReleased(node);
    }
  }
  return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR;
}

void ResultTreeCtrl::OnLButtonDown(UINT, CPoint point) {
  UINT flags = 0;
  HTREEITEM node = HitTest(point, &flags);
  if (node == nullptr) return;
  CWaitCursor wait;
  if (flags & (TVHT_ONITEMLABEL | TVHT_ONITEMICON | TVHT_ONITEMRIGHT | TVHT_ONITEMSTATEICON)) {
    ::SetCursor(m_cursors[kPressedCursor]);
    SelectItem(node);
    CTreeCtrl::SetFocus();
  }
  if (flags & TVHT_ONITEMSTATEICON) {
    ToggleBox(node);
  } else if (flags & (TVHT_ONITEMLABEL | TVHT_ONITEMICON | TVHT_ONITEMRIGHT)) {
    ListNode(node);
  } else if (flags & TVHT_ONITEMBUTTON) {
    OwnFilesFollowNode(node);
    ::SetCursor(m_cursors[kExpandCursor]);
    CTreeCtrl::Expand(node, TVE_TOGGLE);
  }
}

void ResultTreeCtrl::OnLButtonUp(UINT nFlags, CPoint point) {
  UINT flags = 0;
  HTREEITEM node = HitTest(point, &flags);
  if (node != nullptr && (flags & TVHT_ONITEMSTATEICON)) BoxReleased(node);
  CTreeCtrl::OnLButtonUp(nFlags, point);
}

void ResultTreeCtrl::UpdateSelectedSize() {
  if (!m_selectedSizeSink) return;
  const results::MarkSets& sets = m_list != nullptr ? m_list->Sets() : m_ownSets;
  m_selectedSizeSink(results::SelectedSizeText(
      results::MarkedFilesSize([&sets](uint32_t id) { return sets.fileMarks.Contains(id); })));
}

// Double-clicks neither expand nor select.
void ResultTreeCtrl::OnLButtonDblClk(UINT, CPoint) {}

void ResultTreeCtrl::OnRButtonDown(UINT, CPoint point) {
  HTREEITEM node = HitTest(point);
  if (node == nullptr) return;
  SelectItem(node);
  CTreeCtrl::SetFocus();
  if (CTreeCtrl::GetParentItem(node) == nullptr) return;
  ClientToScreen(point);
  ShowContextMenu(node, point);
}

void ResultTreeCtrl::OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags) {
  switch (nChar) {
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
      ListNode(GetSelectedItem());
      return;
    default:
      CTreeCtrl::OnKeyUp(nChar, nRepCnt, nFlags);
  }
}

void ResultTreeCtrl::OnKeyDownNotify(NMHDR* pNMHDR, LRESULT* pResult) {
  const auto* key = reinterpret_cast<NMTVKEYDOWN*>(pNMHDR);
  *pResult = 0;
  HTREEITEM node = GetSelectedItem();
  if (key->wVKey == VK_TAB && m_list != nullptr) {
    m_list->SetFocus();
  } else if (key->wVKey == VK_APPS && node != nullptr) {
    CRect rect;
    GetItemRect(node, rect, TRUE);
    CPoint centre = rect.CenterPoint();
    ClientToScreen(centre);
    ShowContextMenu(node, centre);
  }
}

BOOL ResultTreeCtrl::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  CPoint point;
  ::GetCursorPos(point);
  ScreenToClient(point);
  UINT flags = 0;
  if (HitTest(point, &flags) != nullptr) {
    HCURSOR cursor = (flags & TVHT_ONITEMSTATEICON) ? m_cursors[kCheckCursor]
                     : (flags & TVHT_ONITEMBUTTON)  ? m_cursors[kExpandCursor]
                     : (flags & TVHT_ONITEM)        ? m_cursors[kItemCursor]
                                                    : nullptr;
    if (cursor != nullptr) {
      ::SetCursor(cursor);
      return TRUE;
    }
  }
  return CTreeCtrl::OnSetCursor(pWnd, nHitTest, message);
}

// Deleted folders in red; the focused selection keeps the default colours.
void ResultTreeCtrl::OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult) {
  auto* draw = reinterpret_cast<NMTVCUSTOMDRAW*>(pNMHDR);
  *pResult = CDRF_DODEFAULT;
  if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) {
    *pResult = CDRF_NOTIFYITEMDRAW;
  } else if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
    HTREEITEM node = reinterpret_cast<HTREEITEM>(draw->nmcd.dwItemSpec);
    const bool selected = (draw->nmcd.uItemState & CDIS_SELECTED) != 0 && ::GetFocus() == m_hWnd;
    const auto colour = m_textColours.find(node);
    if (colour != m_textColours.end() && !selected) {
      draw->clrText = colour->second;
      draw->clrTextBk = ::GetSysColor(COLOR_WINDOW);
    }
  }
}

// --- context menu ---

void ResultTreeCtrl::BuildContextMenu(CMenu& menu) const {
  menu.LoadMenu(IDR_TREE_CONTEXT_MENU);
  CMenu* popup = menu.GetSubMenu(0);
  if (popup != nullptr && m_records->Kind() == results::ResultKind::kFileTrace) {
    for (UINT id : {ID_FIND_FILES, ID_SETTINGS, ID_ITEM_PROPERTIES}) popup->DeleteMenu(id, MF_BYCOMMAND);
  }
}

void ResultTreeCtrl::ShowContextMenu(HTREEITEM node, CPoint screen) {
  CMenu menu;
  BuildContextMenu(menu);
  CMenu* popup = menu.GetSubMenu(0);
  if (popup == nullptr) return;
  const UINT command =
      CTKPCommandBars::TrackPopupMenu(popup, TPM_NONOTIFY | TPM_RETURNCMD, screen.x, screen.y, this);
  RunMenuCommand(command, node);
}

void ResultTreeCtrl::RunMenuCommand(UINT command, HTREEITEM node) {
  switch (command) {
    case ID_RECOVER_SELECTED:
      if (m_list != nullptr) m_list->RecoverSelected();
      break;
    case ID_VIEW_ICONS:
    case ID_VIEW_LIST:
    case ID_VIEW_DETAILS:
      if (m_list != nullptr) m_list->SwitchView(command);
      break;
    case ID_ITEM_PROPERTIES: {
      if (m_records->Kind() == results::ResultKind::kFileTrace) break;
      results::ItemProperties properties;
      properties.folder = true;
      properties.name = CTreeCtrl::GetItemText(node).ToUtf16();
      results::FolderTimes(Key(node), properties.created, properties.modified);
      properties.node = Key(node);
      results::ShowItemPropertiesDialog(this, properties);
      break;
    }
    default:
      results::RunToolDialog(this, command);
      break;
  }
}
