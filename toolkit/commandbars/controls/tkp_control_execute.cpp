// How a control runs its command, the modal click of a toolbar button, and the control's stored keys.
#include <memory>

#include "platform/classlib/win/cwnd.h"
#include "toolkit/commandbars/bars/tkp_command_bar.h"
#include "toolkit/commandbars/bars/tkp_popup_bar.h"
#include "toolkit/commandbars/state/tkp_command_bar_list.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/controls/tkp_control.h"
#include "toolkit/commandbars/controls/tkp_control_popup.h"
#include "toolkit/commandbars/controls/tkp_controls.h"
#include "toolkit/common/tkp_image_manager.h"
#include "toolkit/common/tkp_prop_exchange.h"
#include "toolkit/common/tkp_sound_manager.h"

namespace {

// Ends the popup tracking that a command closes: only the root's own tracking when it runs nested.
void EndTracking(CTKPCommandBar* pRoot, CTKPCommandBars* pCommandBars) {
  if (pRoot != nullptr && (pRoot->m_bRecursePopup || pCommandBars == nullptr)) {
    pRoot->SetTrackingMode(0);
  } else if (pCommandBars != nullptr) {
    pCommandBars->ClosePopups();
  }
}

}  // namespace

// The command and the menu it was chosen from count as used for the personalized menus.
void CTKPControl::MarkUsed(CTKPCommandBars* pCommandBars) const {
  if (m_nId != 0) pCommandBars->SetCommandUsed(static_cast<UINT>(m_nId));
  const auto* popup = dynamic_cast<const CTKPPopupBar*>(m_pParent);
  const CTKPControl* opener = popup != nullptr ? popup->GetControlPopup() : nullptr;
  if (opener != nullptr && opener->GetID() != 0) pCommandBars->SetCommandUsed(static_cast<UINT>(opener->GetID()));
}

void CTKPControl::OnExecute() {
  // The command may close the bar that holds this control.
  InternalAddRef();
  TKPSoundManager()->PlaySystemSound(1);
  m_bPressed = 2;
  CTKPCommandBar* pRoot = m_pParent != nullptr ? m_pParent->GetRootParent() : nullptr;
  CTKPCommandBars* pCommandBars = m_pParent != nullptr ? m_pParent->GetCommandBars()
                                  : m_pControls != nullptr ? m_pControls->GetCommandBars() : nullptr;
  CWnd* pSite = m_pParent != nullptr ? m_pParent->GetOwnerSite()
                : pCommandBars != nullptr ? pCommandBars->GetSite() : nullptr;

  if (pRoot != nullptr && pRoot->m_pReturnCmd != nullptr) {
    *pRoot->m_pReturnCmd = m_nId;
    EndTracking(pRoot, pCommandBars);
    InternalRelease();
    return;
  }
  if (pCommandBars != nullptr) MarkUsed(pCommandBars);
  if (m_bCloseSubMenuOnClick) EndTracking(pRoot, pCommandBars);
  if (m_nId != 0 && pSite != nullptr && pSite->GetSafeHwnd() != nullptr) {
    if (NotifySite(TKP_CN_EXECUTE) == 0) pSite->SendMessage(WM_COMMAND, static_cast<WPARAM>(m_nId), 0);
    if (!m_bCloseSubMenuOnClick && m_pParent != nullptr && m_pParent->GetSafeHwnd() != nullptr) {
      m_pParent->OnUpdateCmdUI(pSite, TRUE);
      m_pParent->Invalidate(FALSE);
    }
  }
  InternalRelease();
}

void CTKPControl::ClickToolBarButton(CRect rc) {
  CTKPCommandBar* pBar = m_pParent;
  if (pBar == nullptr || pBar->GetSafeHwnd() == nullptr) return;
  if (rc.IsRectEmpty()) rc = m_rcControl;
  InternalAddRef();
  pBar->SetSelected(m_nIndex, FALSE);
  m_bPressed = 1;
  pBar->Invalidate(FALSE);
  pBar->SetCapture();

  BOOL bClick = FALSE, bMoved = FALSE;
  CPoint last;
  for (;;) {
    MSG msg;
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      // The program is ending: the quit message goes back for the main loop.
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (got == -1) break;
    if (msg.message == WM_LBUTTONUP) {
      bClick = m_bSelected == 0 ? FALSE : !bMoved ? TRUE : rc.PtInRect(last);
      break;
    }
    if (msg.message == WM_MOUSEMOVE && msg.hwnd == pBar->GetSafeHwnd()) {
      last = CPoint(static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam)));
      bMoved = TRUE;
      if (OnSetSelected(m_rcControl.PtInRect(last) ? 1 : 0)) pBar->Invalidate(FALSE);
      continue;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
    if (::GetCapture() != pBar->GetSafeHwnd()) break;
  }
  if (::GetCapture() == pBar->GetSafeHwnd()) ::ReleaseCapture();
  if (pBar->GetSafeHwnd() != nullptr && m_pParent == pBar) {
    if (m_bSelected != 0) {
      pBar->SetSelected(-1);
      pBar->m_nStatusControl = m_nId;  // an id, as the bar compares it with controls' ids
    }
    m_bSelected = 0;
    m_bPressed = 0;
    RedrawParent();
    if (bClick) OnExecute();
  }
  InternalRelease();
}

// ---- stored keys ---------------------------------------------------------------------------------

namespace {

// A set of document-template ids as its serialized map; an empty set is left out where defaults are.
void ExchangeDocTemplates(CTKPPropExchange* pPX, LPCTSTR pszPropName, CTKPDocTemplateMap& map) {
  if (!pPX->IsLoading()) {
    if (!map.IsEmpty() || !pPX->OmitsDefaultValues()) PX_Serialize(pPX, pszPropName, &map);
    return;
  }
  map.RemoveAll();
  // In a stream nothing is optional: a set that does not read leaves the reader lost.
  if (!PX_Serialize(pPX, pszPropName, &map) && !pPX->OmitsDefaultValues()) {
    AfxThrowArchiveException(CArchiveException::endOfFile);
  }
}

}  // namespace

void CTKPControl::DoPropExchange(CTKPPropExchange* pPX) {
  const int schema = pPX->GetSchema();
  PX_Int(pPX, _T("Type"), m_controlType, tkpControlButton);
  PX_Int(pPX, _T("Id"), m_nId, -1);
  PX_Int(pPX, _T("IconId"), m_nIconId, 0);
  PX_Bool(pPX, _T("BeginGroup"), m_bBeginGroup, FALSE);
  LONG tag = static_cast<LONG>(m_nTag);
  PX_Long(pPX, _T("Tag"), tag, 0);
  m_nTag = static_cast<DWORD_PTR>(static_cast<ULONG>(tag));
  LONG flags = static_cast<LONG>(m_dwFlags), hide = static_cast<LONG>(m_dwHideFlags);
  PX_Long(pPX, _T("Flags"), flags, 0);
  PX_Long(pPX, _T("HideFlags"), hide, 0);
  m_dwFlags = static_cast<DWORD>(flags);
  m_dwHideFlags = static_cast<DWORD>(hide);
  PX_String(pPX, _T("Caption"), m_strCaption, _T(""));
  PX_String(pPX, _T("ShortcutText"), m_strShortcutText, _T(""));
  PX_String(pPX, _T("TooltipText"), m_strTooltipText, _T(""));
  PX_String(pPX, _T("DescriptionText"), m_strDescriptionText, _T(""));
  PX_String(pPX, _T("Parameter"), m_strParameter, _T(""));
  PX_Int(pPX, _T("CustomIconId"), m_nCustomIconId, 0);
  PX_String(pPX, _T("CustomCaption"), m_strCustomCaption, _T(""));
  if (schema > 1) PX_String(pPX, _T("Category"), m_strCategory, _T(""));
  if (m_nCustomIconId > 0) {
    const TKPCommandBarsExchangeParam* param = TKPGetExchangeParam(pPX);
    CTKPImageManager* pImages = param != nullptr && param->pImageManager != nullptr ? param->pImageManager : GetImageManager();
    // Freed also when a damaged stream throws part way.
    std::unique_ptr<CTKPPropExchange> section(pPX->GetSection(_T("CustomIcon")));
    if (pImages != nullptr && section != nullptr) pImages->DoPropExchangeIcon(section.get(), static_cast<UINT>(m_nCustomIconId));
  }
  if (schema > 3) {
    ExchangeDocTemplates(pPX, _T("DocTemplatesExcluded"), m_mapDocTemplatesExcluded);
    ExchangeDocTemplates(pPX, _T("DocTemplatesAssigned"), m_mapDocTemplatesAssigned);
    PX_Bool(pPX, _T("DefaultItem"), m_bDefaultItem, FALSE);
  }
  if (schema > 6) PX_Bool(pPX, _T("CloseSubMenuOnClick"), m_bCloseSubMenuOnClick, TRUE);
  if (schema > 7) PX_Int(pPX, _T("CustomStyle"), m_nCustomStyle, 0);
}
