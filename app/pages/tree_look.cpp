#include "app/pages/tree_look.h"

#include "platform/classlib/resource_win32.h"
#include "res/resource.h"

namespace {

// In the order of TreeLook::Icon.
constexpr UINT kIcons[] = {IDI_TREE_COMPUTER, IDI_TREE_DEVICES, IDI_TREE_FIXED_DISK,  IDI_TREE_REMOVABLE,
                           IDI_TREE_CDROM,    IDI_TREE_FOLDER,  IDI_TREE_VIRTUAL_DISK};

}  // namespace

void TreeLook::Apply(CTreeCtrl& tree) {
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
  tree.SetImageList(&m_images, TVSIL_NORMAL);
  tree.SetImageList(&m_stateImages, TVSIL_STATE);
  m_expandCursor = ::LoadCursorW(instance, MAKEINTRESOURCEW(IDC_EXPAND_CURSOR));
  m_handCursor = ::LoadCursorW(instance, MAKEINTRESOURCEW(IDC_HAND_CURSOR));
  m_pressedCursor = ::LoadCursorW(instance, MAKEINTRESOURCEW(IDC_PRESSED_HAND_CURSOR));
}

bool TreeLook::SetCursorOver(const CTreeCtrl& tree, UINT itemHits) const {
  POINT cursor{};
  ::GetCursorPos(&cursor);
  ::ScreenToClient(tree.GetSafeHwnd(), &cursor);
  UINT where = 0;
  if (tree.HitTest(CPoint(cursor.x, cursor.y), &where) == nullptr) return false;
  const HCURSOR shown = (where & TVHT_ONITEMBUTTON) != 0 ? m_expandCursor
                        : (where & itemHits) != 0 ? (::GetKeyState(VK_LBUTTON) < 0 ? m_pressedCursor : m_handCursor)
                                                  : nullptr;
  if (shown == nullptr) return false;
  ::SetCursor(shown);
  return true;
}
