#include "app/pages/source_tree_ctrl.h"

#include <string>

#include "app/pages/source_wizard.h"
#include "engine/image/source_values.h"
#include "engine/partitions/partition_table.h"
#include "engine/records/scan_parameters.h"
#include "res/resource.h"

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 text");

namespace {

constexpr UINT kAddFoundMessage = WM_APP + 0x41;
constexpr UINT kExpandRootMessage = WM_APP + 0x42;

constexpr int kUnchecked = 1;
constexpr int kChecked = 2;

// A level's icon by what it names.
int IconOf(const CString& text) {
  if (text == _T("My Computer")) return TreeLook::kComputer;
  if (text.Find(_T("Devices")) >= 0) return TreeLook::kDevices;
  if (text.Find(_T("Virtual Hard Disk")) == 0) return TreeLook::kVirtualDisk;
  if (text.Find(_T("Partition")) == 0) return TreeLook::kFixedDisk;
  return TreeLook::kFolder;
}

struct FoundPartition {
  CString group;
  CString label;
};

}  // namespace

IMPLEMENT_DYNAMIC(SourceTreeCtrl, CTreeCtrl)

BEGIN_MESSAGE_MAP(SourceTreeCtrl, CTreeCtrl)
  ON_WM_LBUTTONDOWN()
  ON_WM_RBUTTONDOWN()
  ON_WM_KEYUP()
  ON_WM_KEYDOWN()
  ON_WM_GETDLGCODE()
  ON_WM_SETCURSOR()
  ON_MESSAGE(kAddFoundMessage, OnAddFound)
  ON_MESSAGE(kExpandRootMessage, OnExpandRoot)
END_MESSAGE_MAP()

SourceTreeCtrl::~SourceTreeCtrl() = default;

void SourceTreeCtrl::LoadImages() {
  m_look.Apply(*this);
  m_pressedCursor = ::LoadCursorW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDC_PRESSED_HAND_CURSOR));
}

HTREEITEM SourceTreeCtrl::ChildWithText(HTREEITEM parent, const CString& text) const {
  HTREEITEM child = parent == TVI_ROOT ? GetRootItem() : GetChildItem(parent);
  for (; child != nullptr; child = GetNextSiblingItem(child)) {
    if (GetItemText(child) == text) return child;
  }
  return nullptr;
}

HTREEITEM SourceTreeCtrl::Insert(const CString& text, HTREEITEM parent) {
  const int icon = IconOf(text);
  HTREEITEM item = InsertItem(text, icon, icon, parent, TVI_LAST);
  if (item != nullptr) SetItemState(item, INDEXTOSTATEIMAGEMASK(kUnchecked), TVIS_STATEIMAGEMASK);
  return item;
}

HTREEITEM SourceTreeCtrl::AddPath(const CString& path) {
  HTREEITEM parent = TVI_ROOT;
  HTREEITEM item = nullptr;
  int start = 0;
  for (int end = path.Find(_T('\\')); end >= 0; start = end + 1, end = path.Find(_T('\\'), start)) {
    const CString level = path.Mid(start, end - start);
    item = ChildWithText(parent, level);
    if (item == nullptr) item = Insert(level, parent);
    if (item == nullptr) return nullptr;
    parent = item;
  }
  return item;
}

HTREEITEM SourceTreeCtrl::AddFoundPartition(const CString& group, const CString& label) {
  HTREEITEM top = ChildWithText(TVI_ROOT, group);
  if (top == nullptr) top = Insert(group, TVI_ROOT);
  if (top == nullptr) return nullptr;
  HTREEITEM item = Insert(label, top);
  SetItemCheck(top, true);
  return item;
}

void SourceTreeCtrl::ExpandRootNode() {
  if (HTREEITEM root = GetRootItem()) Expand(root, TVE_EXPAND);
}

void SourceTreeCtrl::AddFoundPartition(const std::u16string& groupLabel, const std::u16string& partitionLabel) {
  FoundPartition found{CString::FromUtf16(groupLabel), CString::FromUtf16(partitionLabel)};
  SendMessage(kAddFoundMessage, 0, reinterpret_cast<LPARAM>(&found));
}

void SourceTreeCtrl::ExpandRoot() { SendMessage(kExpandRootMessage); }

LRESULT SourceTreeCtrl::OnAddFound(WPARAM, LPARAM lParam) {
  const auto* found = reinterpret_cast<const FoundPartition*>(lParam);
  AddFoundPartition(found->group, found->label);
  return 0;
}

LRESULT SourceTreeCtrl::OnExpandRoot(WPARAM, LPARAM) {
  ExpandRootNode();
  return 0;
}

int SourceTreeCtrl::RowIndex(HTREEITEM item) const {
  if (item == nullptr) return -2;
  int row = 1;
  for (HTREEITEM visible = GetRootItem(); visible != nullptr; visible = GetNextVisibleItem(visible), ++row) {
    if (visible == item) return row - 2;
  }
  return -2;
}

CString SourceTreeCtrl::OnSelectItem(HTREEITEM item) {
  if (item == nullptr) return CString();
  const CString text = GetItemText(item);
  HTREEITEM parent = GetParentItem(item);
  source::SelectionInput in;
  in.item = text.ToUtf16();
  in.parent = parent != nullptr ? GetItemText(parent).ToUtf16() : std::u16string();
  in.row = RowIndex(item);
  if (source::SourceWizard* wizard = source::Wizard()) {
    in.atSourceStage = wizard->AtStage(source::kSourceStage);
    in.atScanStage = wizard->AtStage(source::kScanStage);
    in.scanFinished = wizard->ScanFinished();
  }
  in.recoveryMode = RecoveryMode;
  in.sourceKind = SourceKind;
  const uint32_t drive = CurrentDriveIndex;
  if (drive < kMaxPartitions) {
    const uint16_t code = PartitionTable[drive].fileSystemCode;
    in.currentDriveEntryFat = code == records::kFat16 || code == records::kFat32;
  }
  if (onSelect) onSelect(source::DecideSelection(in));
  return text;
}

bool SourceTreeCtrl::IsChecked(HTREEITEM item) const {
  return (GetItemState(item, TVIS_STATEIMAGEMASK) >> 12) == kChecked;
}

void SourceTreeCtrl::SetItemCheck(HTREEITEM item, bool checked) {
  SetItemState(item, INDEXTOSTATEIMAGEMASK(checked ? kChecked : kUnchecked) | (checked ? TVIS_BOLD : 0),
               TVIS_STATEIMAGEMASK | TVIS_BOLD);
}

void SourceTreeCtrl::UncheckSubtree(HTREEITEM item) {
  SetItemCheck(item, false);
  for (HTREEITEM child = GetChildItem(item); child != nullptr; child = GetNextSiblingItem(child)) {
    UncheckSubtree(child);
  }
}

void SourceTreeCtrl::UpdateAncestors(HTREEITEM item) {
  for (HTREEITEM parent = GetParentItem(item); parent != nullptr; parent = GetParentItem(parent)) {
    bool all = true;
    bool anyBold = false;
    for (HTREEITEM child = GetChildItem(parent); child != nullptr; child = GetNextSiblingItem(child)) {
      all = all && IsChecked(child);
      anyBold = anyBold || (GetItemState(child, TVIS_BOLD) & TVIS_BOLD) != 0;
    }
    SetItemState(parent, INDEXTOSTATEIMAGEMASK(all ? kChecked : kUnchecked) | (anyBold ? TVIS_BOLD : 0),
                 TVIS_STATEIMAGEMASK | TVIS_BOLD);
  }
}

void SourceTreeCtrl::SetCheck(HTREEITEM item, bool checked) {
  if (item == nullptr) return;
  if (checked) {
    SetItemCheck(item, true);
    for (HTREEITEM child = GetChildItem(item); child != nullptr; child = GetNextSiblingItem(child)) {
      SetItemCheck(child, true);
      Expand(child, TVE_EXPAND);
    }
  } else {
    UncheckSubtree(item);
  }
  UpdateAncestors(item);
  if (m_status != nullptr && m_status->GetSafeHwnd() != nullptr) {
    CString text;
    text.Format(_T("%d Selected Folder(s)"), CountCheckedFolders());
    m_status->SetWindowText(text);
  }
}

int SourceTreeCtrl::CountChecked(HTREEITEM first) const {
  int count = 0;
  for (HTREEITEM item = first; item != nullptr; item = GetNextSiblingItem(item)) {
    if (IsChecked(item)) {
      ++count;
    } else if ((GetItemState(item, TVIS_EXPANDED) & TVIS_EXPANDED) != 0) {
      count += CountChecked(GetChildItem(item));
    }
  }
  return count;
}

int SourceTreeCtrl::CountCheckedFolders() const { return CountChecked(GetRootItem()); }

void SourceTreeCtrl::Select(HTREEITEM item) {
  if (item == nullptr) return;
  SelectItem(item);
  SetFocus();
  OnSelectItem(item);
}

void SourceTreeCtrl::OnLButtonDown(UINT flags, CPoint point) {
  UINT where = 0;
  HTREEITEM item = HitTest(point, &where);
  if (item != nullptr && (where & TVHT_ONITEMSTATEICON) != 0) {
    SetCheck(item, !IsChecked(item));
    return;
  }
  if (item != nullptr && (where & TVHT_ONITEMBUTTON) != 0) {
    Expand(item, TVE_TOGGLE);
    return;
  }
  if (item != nullptr && (where & (TVHT_ONITEMLABEL | TVHT_ONITEMICON | TVHT_ONITEMRIGHT)) != 0) {
    if (m_pressedCursor != nullptr) ::SetCursor(m_pressedCursor);
    Select(item);
    return;
  }
  CTreeCtrl::OnLButtonDown(flags, point);
}

void SourceTreeCtrl::OnRButtonDown(UINT, CPoint point) {
  if (HTREEITEM item = HitTest(point)) SelectItem(item);
  SetFocus();
}

void SourceTreeCtrl::OnKeyUp(UINT key, UINT repeat, UINT flags) {
  CTreeCtrl::OnKeyUp(key, repeat, flags);
  if (key != VK_TAB && key != VK_RETURN) OnSelectItem(GetSelectedItem());
}

void SourceTreeCtrl::OnKeyDown(UINT key, UINT repeat, UINT flags) {
  if (key == VK_TAB && onTab) {
    onTab();
    return;
  }
  if (key == VK_RETURN && onEnter) {
    onEnter();
    return;
  }
  CTreeCtrl::OnKeyDown(key, repeat, flags);
}

UINT SourceTreeCtrl::OnGetDlgCode() { return DLGC_WANTALLKEYS; }

BOOL SourceTreeCtrl::OnSetCursor(CWnd* window, UINT hitTest, UINT message) {
  if (m_look.SetCursorOver(*this, TVHT_ONITEMLABEL | TVHT_ONITEMICON | TVHT_ONITEMSTATEICON | TVHT_ONITEMRIGHT)) {
    return TRUE;
  }
  return CTreeCtrl::OnSetCursor(window, hitTest, message);
}
