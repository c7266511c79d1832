#include "app/pages/file_system_tree_ctrl.h"

#include <string>

#include "platform/os/win32.h"

static_assert(sizeof(HTREEITEM) == sizeof(host::TreeKey), "tree keys are the tree's item handles");
static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 text");

namespace {

constexpr UINT kChoiceHits = TVHT_ONITEMLABEL | TVHT_ONITEMICON | TVHT_ONITEMRIGHT;

// A top-level item's icon by the drive type its label names; the found file systems' top item is a disk.
int ImageOfLabel(const std::wstring& label) {
  if (label.find(L"Removable") != std::wstring::npos) return TreeLook::kRemovable;
  if (label.find(L"CD") != std::wstring::npos) return TreeLook::kCdrom;
  if (label.find(L"Virtual") != std::wstring::npos) return TreeLook::kVirtualDisk;
  return TreeLook::kFixedDisk;
}

}  // namespace

IMPLEMENT_DYNAMIC(FileSystemTreeCtrl, CTreeCtrl)

BEGIN_MESSAGE_MAP(FileSystemTreeCtrl, CTreeCtrl)
  ON_WM_LBUTTONDOWN()
  ON_WM_KEYUP()
  ON_WM_SETCURSOR()
END_MESSAGE_MAP()

FileSystemTreeCtrl::~FileSystemTreeCtrl() = default;

void FileSystemTreeCtrl::LoadImages() { m_look.Apply(*this); }

HTREEITEM FileSystemTreeCtrl::AddItem(LPCTSTR text, HTREEITEM parent, int image, int selectedImage,
                                      HTREEITEM insertAfter, DWORD_PTR dataFlag) {
  if (image < 0) image = selectedImage = ImageOfLabel(text);
  HTREEITEM item = CTreeCtrl::InsertItem(text, image, selectedImage, parent, insertAfter);
  if (item != nullptr) SetItemData(item, dataFlag);
  return item;
}

HTREEITEM FileSystemTreeCtrl::AddFileSystem(LPCTSTR label, HTREEITEM parent) {
  return AddItem(label, parent, TreeLook::kFixedDisk, TreeLook::kFixedDisk, TVI_LAST, 0);
}

host::TreeKey FileSystemTreeCtrl::AddItem(const std::u16string& text, host::TreeKey parent) {
  HTREEITEM under = parent == host::kNoTreeKey ? TVI_ROOT : ItemOfKey(parent);
  const int image = parent == host::kNoTreeKey ? -1 : TreeLook::kFixedDisk;
  return KeyOfItem(AddItem(os::Wide(text), under, image, image, TVI_LAST, 0));
}

host::TreeKey FileSystemTreeCtrl::AddFileSystem(const std::u16string& label, host::TreeKey parent) {
  return KeyOfItem(AddFileSystem(os::Wide(label), parent == host::kNoTreeKey ? TVI_ROOT : ItemOfKey(parent)));
}

void FileSystemTreeCtrl::Expand(host::TreeKey node) { CTreeCtrl::Expand(ItemOfKey(node), TVE_EXPAND); }

int FileSystemTreeCtrl::VisiblePosition(HTREEITEM item) const {
  if (item == nullptr) return -2;
  int position = -1;
  for (HTREEITEM visible = GetRootItem(); visible != nullptr; visible = GetNextVisibleItem(visible), ++position) {
    if (visible == item) return position;
  }
  return -2;
}

void FileSystemTreeCtrl::Choose(HTREEITEM item) {
  if (item == nullptr || GetItemText(item).IsEmpty()) return;
  SelectItem(item);
  SetFocus();
  if (onChoose) onChoose(item);
}

void FileSystemTreeCtrl::OnLButtonDown(UINT flags, CPoint point) {
  UINT where = 0;
  HTREEITEM item = HitTest(point, &where);
  if (item != nullptr && (where & kChoiceHits) != 0) {
    Choose(item);
    return;
  }
  if (item != nullptr && (where & (TVHT_ONITEMINDENT | TVHT_ONITEMBUTTON)) != 0) {
    CTreeCtrl::Expand(item, TVE_TOGGLE);
    return;
  }
  CTreeCtrl::OnLButtonDown(flags, point);
}

void FileSystemTreeCtrl::OnKeyUp(UINT key, UINT repeat, UINT flags) {
  CTreeCtrl::OnKeyUp(key, repeat, flags);
  Choose(GetSelectedItem());
}

BOOL FileSystemTreeCtrl::OnSetCursor(CWnd* window, UINT hitTest, UINT message) {
  if (m_look.SetCursorOver(*this, kChoiceHits)) return TRUE;
  return CTreeCtrl::OnSetCursor(window, hitTest, message);
}
