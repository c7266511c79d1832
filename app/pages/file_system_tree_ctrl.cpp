#include "app/pages/file_system_tree_ctrl.h"

#include <string>

#include "res/resource.h"

static_assert(sizeof(HTREEITEM) == sizeof(host::TreeKey), "tree keys are the tree's item handles");
static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 text");

namespace {

// The seven icons, in the image list's order.
constexpr UINT kIcons[] = {IDI_TREE_COMPUTER, IDI_TREE_DEVICES,     IDI_TREE_FIXED_DISK, IDI_TREE_REMOVABLE,
                           IDI_TREE_CDROM,    IDI_TREE_FOLDER,      IDI_TREE_VIRTUAL_DISK};
constexpr int kFixedDiskImage = 2;
constexpr int kRemovableImage = 3;
constexpr int kCdromImage = 4;
constexpr int kVirtualDiskImage = 6;

// A top-level item's icon by the drive type its label names; the found file systems' top item is a disk.
int ImageOfLabel(const std::wstring& label) {
  if (label.find(L"Removable") != std::wstring::npos) return kRemovableImage;
  if (label.find(L"CD") != std::wstring::npos) return kCdromImage;
  if (label.find(L"Virtual") != std::wstring::npos) return kVirtualDiskImage;
  return kFixedDiskImage;
}

std::wstring Wide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

}  // namespace

IMPLEMENT_DYNAMIC(FileSystemTreeCtrl, CTreeCtrl)

BEGIN_MESSAGE_MAP(FileSystemTreeCtrl, CTreeCtrl)
  ON_WM_LBUTTONDOWN()
  ON_WM_KEYUP()
  ON_WM_SETCURSOR()
END_MESSAGE_MAP()

FileSystemTreeCtrl::~FileSystemTreeCtrl() = default;

void FileSystemTreeCtrl::LoadImages() {
  HINSTANCE instance = AfxGetResourceHandle();
  if (m_images.GetSafeHandle() == nullptr) {
    m_images.Create(16, 16, ILC_COLOR8 | ILC_MASK, 7, 1);
    for (UINT id : kIcons) {
      HICON icon = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, 16, 16, 0));
      m_images.Add(icon);
      if (icon != nullptr) ::DestroyIcon(icon);
    }
    m_stateImages.Create(IDB_TREE_STATE_IMAGES, 16, 1, RGB(255, 255, 255));
  }
  SetImageList(&m_images, TVSIL_NORMAL);
  SetImageList(&m_stateImages, TVSIL_STATE);
  m_expandCursor = ::LoadCursorW(instance, MAKEINTRESOURCEW(IDC_EXPAND_CURSOR));
  m_handCursor = ::LoadCursorW(instance, MAKEINTRESOURCEW(IDC_HAND_CURSOR));
  m_pressedCursor = ::LoadCursorW(instance, MAKEINTRESOURCEW(IDC_PRESSED_HAND_CURSOR));
}

HTREEITEM FileSystemTreeCtrl::AddItem(LPCTSTR text, HTREEITEM parent, int image, int selectedImage,
                                      HTREEITEM insertAfter, DWORD_PTR dataFlag) {
  if (image < 0) image = selectedImage = ImageOfLabel(text);
  HTREEITEM item = CTreeCtrl::InsertItem(text, image, selectedImage, parent, insertAfter);
  if (item != nullptr) SetItemData(item, dataFlag);
  return item;
}

HTREEITEM FileSystemTreeCtrl::AddFileSystem(LPCTSTR label, HTREEITEM parent) {
  return AddItem(label, parent, kFixedDiskImage, kFixedDiskImage, TVI_LAST, 0);
}

host::TreeKey FileSystemTreeCtrl::AddItem(const std::u16string& text, host::TreeKey parent) {
  const std::wstring label = Wide(text);
  HTREEITEM under = parent == host::kNoTreeKey ? TVI_ROOT : ItemOfKey(parent);
  const int image = parent == host::kNoTreeKey ? -1 : kFixedDiskImage;
  return KeyOfItem(AddItem(label.c_str(), under, image, image, TVI_LAST, 0));
}

host::TreeKey FileSystemTreeCtrl::AddFileSystem(const std::u16string& label, host::TreeKey parent) {
  const std::wstring text = Wide(label);
  return KeyOfItem(AddFileSystem(text.c_str(), parent == host::kNoTreeKey ? TVI_ROOT : ItemOfKey(parent)));
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
  if (item != nullptr && (where & (TVHT_ONITEMLABEL | TVHT_ONITEMICON | TVHT_ONITEMRIGHT)) != 0) {
    if (m_pressedCursor != nullptr) ::SetCursor(m_pressedCursor);
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
  POINT cursor{};
  ::GetCursorPos(&cursor);
  ::ScreenToClient(m_hWnd, &cursor);
  const CPoint point(cursor.x, cursor.y);
  UINT where = 0;
  if (HitTest(point, &where) != nullptr) {
    HCURSOR cursor = (where & TVHT_ONITEMBUTTON) != 0 ? m_expandCursor
                     : (where & (TVHT_ONITEMLABEL | TVHT_ONITEMICON | TVHT_ONITEMRIGHT)) != 0
                         ? (::GetKeyState(VK_LBUTTON) < 0 ? m_pressedCursor : m_handCursor)
                         : nullptr;
    if (cursor != nullptr) {
      ::SetCursor(cursor);
      return TRUE;
    }
  }
  return CTreeCtrl::OnSetCursor(window, hitTest, message);
}
