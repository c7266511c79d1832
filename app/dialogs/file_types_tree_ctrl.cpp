#include "app/dialogs/file_types_tree_ctrl.h"

#include "engine/scan/selected_signatures.h"
#include "res/resource.h"
#include "ui/controls/shell_file_info.h"

namespace {

constexpr COLORREF kStateMask = RGB(255, 255, 255);

}  // namespace

// The tree control seen as the check model's tree.
class FileTypesTreeCtrl::Model : public app::CheckTree {
 public:
  explicit Model(FileTypesTreeCtrl& tree) : tree_(tree) {}

  Item Parent(Item item) const override { return ToItem(tree_.GetParentItem(ToHandle(item))); }
  Item FirstChild(Item item) const override { return ToItem(tree_.GetChildItem(ToHandle(item))); }
  Item NextSibling(Item item) const override { return ToItem(tree_.GetNextSiblingItem(ToHandle(item))); }
  app::CheckState GetState(Item item) const override { return tree_.GetCheckState(ToHandle(item)); }
  void SetState(Item item, app::CheckState state) override {
    const UINT bold = state == app::CheckState::kChecked ? TVIS_BOLD : 0;
    tree_.SetItemState(ToHandle(item), INDEXTOSTATEIMAGEMASK(static_cast<int>(state) + 1) | bold,
                       TVIS_STATEIMAGEMASK | TVIS_BOLD);
  }

  static Item ToItem(HTREEITEM item) { return reinterpret_cast<Item>(item); }
  static HTREEITEM ToHandle(Item item) { return reinterpret_cast<HTREEITEM>(item); }

 private:
  FileTypesTreeCtrl& tree_;
};

BEGIN_MESSAGE_MAP(FileTypesTreeCtrl, CTreeCtrl)
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_KEYDOWN()
  ON_WM_CHAR()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

FileTypesTreeCtrl::FileTypesTreeCtrl() = default;
FileTypesTreeCtrl::~FileTypesTreeCtrl() = default;

HTREEITEM FileTypesTreeCtrl::Initialise() {
  ui::ShellFileInfo shell;
  // The shell's list is shared by the whole process: the tree shows it and never destroys it.
  ::SendMessageW(m_hWnd, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(shell.GetSystemImageList(true)));
  m_stateImages.Create(IDB_TREE_STATE_IMAGES, 16, 0, kStateMask);
  // The control's own check boxes would toggle by themselves and cannot show "partly": ours replace
  // them, and the list the control made for them goes.
  HIMAGELIST own = reinterpret_cast<HIMAGELIST>(
      ::SendMessageW(m_hWnd, TVM_SETIMAGELIST, TVSIL_STATE, reinterpret_cast<LPARAM>(m_stateImages.GetSafeHandle())));
  if ((GetStyle() & TVS_CHECKBOXES) != 0) {
    ModifyStyle(TVS_CHECKBOXES, 0);
    if (own != nullptr && own != m_stateImages.GetSafeHandle()) ImageList_Destroy(own);
  }
  DeleteAllItems();
  const int folder = shell.GetFolderIconIndex(true);
  HTREEITEM root = InsertItem(_T("File Types"), folder, folder);
  Model(*this).SetState(Model::ToItem(root), app::CheckState::kUnchecked);
  return root;
}

HTREEITEM FileTypesTreeCtrl::EnsureChild(HTREEITEM parent, const CString& text, int icon) {
  for (HTREEITEM child = GetChildItem(parent); child != nullptr; child = GetNextSiblingItem(child)) {
    if (GetItemText(child) == text) return child;
  }
  HTREEITEM item = InsertItem(text, icon, icon, parent);
  Model(*this).SetState(Model::ToItem(item), app::CheckState::kUnchecked);
  return item;
}

bool FileTypesTreeCtrl::LoadSignatureDatabase(const CString& path) {
  SignatureDatabase database;
  const bool read = ReadSignatureDatabase(path.ToUtf16(), &database);
  m_records = std::move(database.records);
  HTREEITEM root = GetRootItem();
  if (root == nullptr) return read;
  ui::ShellFileInfo shell;
  const int folder = shell.GetFolderIconIndex(true);
  for (const SignatureGroup& group : SignatureTypeTree(m_records)) {
    HTREEITEM groupItem = EnsureChild(root, CString::FromUtf16(group.text), folder);
    for (const std::u16string& type : group.types) {
      const CString name = CString::FromUtf16(type);
      EnsureChild(groupItem, name, shell.GetIconIndex(name, true));
    }
  }
  return read;
}

app::CheckState FileTypesTreeCtrl::GetCheckState(HTREEITEM item) const {
  const UINT image = (GetItemState(item, TVIS_STATEIMAGEMASK) & TVIS_STATEIMAGEMASK) >> 12;
  if (image == 2) return app::CheckState::kChecked;
  if (image == 3) return app::CheckState::kPartly;
  return app::CheckState::kUnchecked;
}

void FileTypesTreeCtrl::CheckItem(HTREEITEM item) {
  Model model(*this);
  app::CheckItem(model, Model::ToItem(item));
}

void FileTypesTreeCtrl::UncheckItem(HTREEITEM item) {
  Model model(*this);
  app::UncheckItem(model, Model::ToItem(item));
}

void FileTypesTreeCtrl::ToggleItem(HTREEITEM item) {
  Model model(*this);
  app::ToggleItem(model, Model::ToItem(item));
}

bool FileTypesTreeCtrl::NothingTicked() {
  return app::AllChildrenUnchecked(Model(*this), Model::ToItem(GetRootItem()));
}

uint32_t FileTypesTreeCtrl::BuildSelectedSignatureList(HTREEITEM start) {
  // The ticked items below start, depth first, each a type within its group (the item above it).
  std::vector<TickedType> ticked;
  std::vector<HTREEITEM> pending;
  auto pushChildren = [&](HTREEITEM parent) {
    std::vector<HTREEITEM> children;
    for (HTREEITEM child = GetChildItem(parent); child != nullptr; child = GetNextSiblingItem(child)) {
      children.push_back(child);
    }
    pending.insert(pending.end(), children.rbegin(), children.rend());
  };
  pushChildren(start);
  while (!pending.empty()) {
    HTREEITEM item = pending.back();
    pending.pop_back();
    if (GetCheckState(item) != app::CheckState::kUnchecked) {
      HTREEITEM group = GetParentItem(item);
      ticked.push_back({group != nullptr ? GetItemText(group).ToUtf16() : std::u16string(), GetItemText(item).ToUtf16()});
    }
    pushChildren(item);
  }
  return ::BuildSelectedSignatureList(TickedSignatureRecords(m_records, ticked));
}

bool FileTypesTreeCtrl::ClickAt(CPoint point) {
  UINT where = 0;
  HTREEITEM item = HitTest(point, &where);
  if (item == nullptr) return false;
  if (where & TVHT_ONITEMSTATEICON) {
    ToggleItem(item);
  } else if (where & (TVHT_ONITEMLABEL | TVHT_ONITEMICON | TVHT_ONITEMRIGHT)) {
    SelectItem(item);
    SetFocus();
  } else {
    Expand(item, TVE_TOGGLE);
  }
  return true;
}

void FileTypesTreeCtrl::OnLButtonDown(UINT, CPoint point) {
  if (!ClickAt(point)) SetFocus();
}

void FileTypesTreeCtrl::OnLButtonDblClk(UINT, CPoint point) {
  // The second click of a double click on a check box toggles again; elsewhere the control's own
  // double click (expanding) applies.
  UINT where = 0;
  HTREEITEM item = HitTest(point, &where);
  if (item != nullptr && (where & TVHT_ONITEMSTATEICON)) {
    ToggleItem(item);
    return;
  }
  Default();
}

void FileTypesTreeCtrl::OnKeyDown(UINT nChar, UINT, UINT) {
  // Space ticks through the model like a click, instead of the control's own two-state toggle.
  if (nChar == VK_SPACE) {
    if (HTREEITEM item = GetSelectedItem()) ToggleItem(item);
    return;
  }
  Default();
}

void FileTypesTreeCtrl::OnChar(UINT nChar, UINT, UINT) {
  if (nChar == ' ') return;
  Default();
}

void FileTypesTreeCtrl::OnDestroy() {
  // The state images are this object's: a control that still counts itself a check-box tree would
  // destroy them with itself.
  ::SendMessageW(m_hWnd, TVM_SETIMAGELIST, TVSIL_STATE, 0);
  Default();
}
