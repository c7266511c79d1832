#include "toolkit/controls/tk_button.h"

#include <commctrl.h>

CTKButton::~CTKButton() {
  if (m_images != nullptr) ImageList_Destroy(m_images);
}

void CTKButton::SetIcon(HICON icon) {
  if (m_images != nullptr) ImageList_Destroy(m_images);
  m_images = nullptr;
  ICONINFO info{};
  BITMAP size{};
  if (icon != nullptr && ::GetIconInfo(icon, &info)) {
    ::GetObjectW(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof size, &size);
    if (info.hbmColor == nullptr) size.bmHeight /= 2;  // a monochrome icon's mask holds AND and XOR halves
    if (info.hbmColor != nullptr) ::DeleteObject(info.hbmColor);
    if (info.hbmMask != nullptr) ::DeleteObject(info.hbmMask);
    m_images = ImageList_Create(size.bmWidth, size.bmHeight, ILC_COLOR32 | ILC_MASK, 1, 0);
  }
  // The button's image list carries a margin; the image set by BM_SETIMAGE is drawn against the caption.
  if (m_images != nullptr && ImageList_AddIcon(m_images, icon) == 0) {
    BUTTON_IMAGELIST list{};
    list.himl = m_images;
    list.margin.right = kIconGap;
    list.uAlign = BUTTON_IMAGELIST_ALIGN_LEFT;
    if (SendMessage(BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&list)) != 0) return;
  }
  // Without the themed button (no image lists there) the plain icon is all it can show.
  CButton::SetIcon(icon);
}
