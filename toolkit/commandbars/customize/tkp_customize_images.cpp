#include "toolkit/commandbars/customize/tkp_customize_images.h"

#include <commctrl.h>

#include "platform/classlib/win/cdc.h"
#include "platform/classlib/win/cwnd.h"
#include "toolkit/commandbars/controls/tkp_control.h"
#include "toolkit/commandbars/customize/tkp_image_editor_dialog.h"
#include "toolkit/common/tkp_image_manager.h"

namespace {

constexpr int kImage = 16;

// The clipboard open for the scope.
class ClipboardScope {
 public:
  explicit ClipboardScope(CWnd* owner) : m_bOpen(::OpenClipboard(owner != nullptr ? owner->GetSafeHwnd() : nullptr)) {}
  ~ClipboardScope() {
    if (m_bOpen) ::CloseClipboard();
  }
  ClipboardScope(const ClipboardScope&) = delete;
  ClipboardScope& operator=(const ClipboardScope&) = delete;
  BOOL IsOpen() const { return m_bOpen; }

 private:
  BOOL m_bOpen;
};

// The image drawn on the button face into a new bitmap of the screen's format.
HBITMAP DrawImage(CTKPImageManagerIcon* icon) {
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, kImage, kImage);
  ::ReleaseDC(nullptr, screen);
  if (memory == nullptr || bitmap == nullptr) {
    if (memory != nullptr) ::DeleteDC(memory);
    if (bitmap != nullptr) ::DeleteObject(bitmap);
    return nullptr;
  }
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  CDC* dc = CDC::FromHandle(memory);
  dc->FillSolidRect(0, 0, kImage, kImage, ::GetSysColor(COLOR_BTNFACE));
  icon->Draw(dc, CPoint(0, 0), icon->GetIcon(), CSize(kImage, kImage));
  ::SelectObject(memory, old);
  ::DeleteDC(memory);
  return bitmap;
}

// A bitmap from the clipboard turned into an icon, its button-face pixels transparent.
HICON IconFromBitmap(HBITMAP bitmap) {
  HIMAGELIST list = ::ImageList_Create(kImage, kImage, ILC_COLOR24 | ILC_MASK, 1, 0);
  if (list == nullptr) return nullptr;
  HICON icon = nullptr;
  if (::ImageList_AddMasked(list, bitmap, ::GetSysColor(COLOR_BTNFACE)) >= 0) icon = ::ImageList_GetIcon(list, 0, ILD_NORMAL);
  ::ImageList_Destroy(list);
  return icon;
}

}  // namespace

UINT TKPControlImageId(const CTKPControl* pControl) {
  if (pControl->GetCustomIconId() != 0) return static_cast<UINT>(pControl->GetCustomIconId());
  return static_cast<UINT>(pControl->GetIconId() > 0 ? pControl->GetIconId() : pControl->GetID());
}

BOOL TKPCopyButtonImage(CWnd* pOwner, CTKPControl* pControl) {
  CTKPImageManagerIcon* icon = pControl != nullptr ? pControl->GetImage(kImage) : nullptr;
  if (icon == nullptr) return FALSE;
  ClipboardScope clipboard(pOwner);
  if (!clipboard.IsOpen() || !::EmptyClipboard()) return FALSE;
  HBITMAP bitmap = DrawImage(icon);
  if (bitmap == nullptr) return FALSE;
  if (::SetClipboardData(CF_BITMAP, bitmap) == nullptr) ::DeleteObject(bitmap);  // else the clipboard's
  pControl->GetImageManager()->CopyImage(TKPControlImageId(pControl));
  return TRUE;
}

BOOL TKPCanPasteButtonImage() { return ::IsClipboardFormatAvailable(CF_BITMAP); }

BOOL TKPPasteButtonImage(CWnd* pOwner, CTKPControl* pControl) {
  if (pControl == nullptr) return FALSE;
  ClipboardScope clipboard(pOwner);
  if (!clipboard.IsOpen()) return FALSE;
  CTKPImageManager* images = pControl->GetImageManager();
  UINT id = 0;
  if (::IsClipboardFormatAvailable(TKPToolBarImageFormat())) {
    id = images->PasteCustomImage(::GetClipboardData(TKPToolBarImageFormat()));
  }
  if (id == 0) {
    HBITMAP bitmap = static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP));
    HICON icon = bitmap != nullptr ? IconFromBitmap(bitmap) : nullptr;
    if (icon == nullptr) return FALSE;
    CTKPImageManagerIconHandle handle;
    handle.SetIcon(icon);  // owned by the handle, which the image manager copies
    id = images->AddCustomIcon(handle);
  }
  if (id == 0) return FALSE;
  pControl->SetCustomIconId(static_cast<int>(id));
  return TRUE;
}

BOOL TKPEditButtonImage(CWnd* pOwner, CTKPControl* pControl) {
  CTKPImageManagerIcon* icon = pControl != nullptr ? pControl->GetImage(kImage) : nullptr;
  if (icon == nullptr) return FALSE;
  CTKPButtonEditorDialog editor(pOwner);
  // The image at its own size (toolbar strips are often 16 x 15).
  const CSize size = icon->GetWidth() > 0 && icon->GetHeight() > 0 ? CSize(icon->GetWidth(), icon->GetHeight())
                                                                   : CSize(kImage, kImage);
  editor.SetIconSize(size);
  editor.SetIcon(icon->GetIcon());
  if (editor.DoModal() != IDOK) return FALSE;
  CTKPImageManagerIconHandle edited;
  editor.GetIcon(edited);
  const UINT id = edited.IsEmpty() ? 0 : pControl->GetImageManager()->AddCustomIcon(edited);
  if (id == 0) return FALSE;
  pControl->SetCustomIconId(static_cast<int>(id));
  return TRUE;
}
