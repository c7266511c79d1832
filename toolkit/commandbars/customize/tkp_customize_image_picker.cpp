#include "toolkit/commandbars/customize/tkp_customize_image_picker.h"

#include <commctrl.h>

#include "platform/classlib/win/cwnd.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/controls/tkp_controls.h"
#include "toolkit/commandbars/customize/tkp_customize_logic.h"
#include "toolkit/commandbars/bars/tkp_popup_bar.h"
#include "toolkit/common/tkp_image_manager.h"

IMPLEMENT_DYNCREATE(CTKPControlImagePicker, CTKPControlButton)
IMPLEMENT_DYNCREATE(CTKPControlChangeImagePopup, CTKPControlPopup)

namespace {

// Holds a reference on the new manager and lets go of the old one.
void Hold(CTKPImageManager*& held, CTKPImageManager* pImages) {
  if (pImages != nullptr) pImages->InternalAddRef();
  if (held != nullptr) held->InternalRelease();
  held = pImages;
}

}  // namespace

CTKPControlImagePicker::~CTKPControlImagePicker() { Hold(m_pImages, nullptr); }

void CTKPControlImagePicker::SetImages(CTKPImageManager* pImages) { Hold(m_pImages, pImages); }

int CTKPControlImagePicker::GetImageNumber() const { return _wtoi(m_strParameter.GetString()); }

CSize CTKPControlImagePicker::GetSize(CDC*) { return CSize(TKP_PICKER_CELL, TKP_PICKER_CELL); }

CTKPImageManagerIcon* CTKPControlImagePicker::GetImage(int nWidth) const {
  const int number = GetImageNumber();
  return m_pImages != nullptr && number > 0 ? m_pImages->GetImage(static_cast<UINT>(number), nWidth) : nullptr;
}

void CTKPControlImagePicker::OnExecute() {
  InternalAddRef();  // closing the menu lets go of its controls
  CWnd* owner = m_pParent != nullptr ? m_pParent->GetOwnerSite() : nullptr;
  CTKPCommandBars* bars = m_pParent != nullptr ? m_pParent->GetCommandBars() : nullptr;
  if (bars != nullptr) {
    bars->ClosePopups();
  } else if (m_pParent != nullptr) {
    m_pParent->GetRootParent()->SetTrackingMode(0);
  }
  if (owner != nullptr && owner->GetSafeHwnd() != nullptr) {
    NMTKPCONTROL record = {nullptr, static_cast<UINT_PTR>(m_nId), static_cast<UINT>(TKP_CN_EXECUTE), this};
    if (owner->SendMessage(TKP_WM_CONTROL_NOTIFY, static_cast<WPARAM>(m_nId), reinterpret_cast<LPARAM>(&record)) == 0) {
      owner->SendMessage(WM_COMMAND, static_cast<WPARAM>(m_nId), 0);
    }
  }
  InternalRelease();
}

CTKPControlChangeImagePopup::~CTKPControlChangeImagePopup() { Hold(m_pImages, nullptr); }

void CTKPControlChangeImagePopup::SetImages(CTKPImageManager* pImages, int nCount) {
  Hold(m_pImages, pImages);
  m_nCount = nCount;
}

BOOL CTKPControlChangeImagePopup::OnSetPopup(BOOL bPopup) {
  auto* grid = static_cast<CTKPPopupBar*>(m_pCommandBar);
  if (bPopup && grid != nullptr && grid->GetControlCount() == 0) {
    for (int n = 1; n <= m_nCount; ++n) {
      CString number;
      number.Format(_T("%d"), n);
      auto* picker = new CTKPControlImagePicker;
      picker->SetImages(m_pImages);
      grid->GetControls()->Add(picker, m_nId, number);
    }
    // A square grid: the width holds floor(sqrt(N)) cells between 3-pixel margins.
    grid->SetMargins(CRect(3, 3, 3, 3));
    grid->SetMRUWidth(tkpcust::PickerWidth(m_nCount) - 6);
  }
  return CTKPControlPopup::OnSetPopup(bPopup);
}
