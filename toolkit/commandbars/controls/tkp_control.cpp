#include "toolkit/commandbars/controls/tkp_control.h"

#include "platform/classlib/win/cdc.h"
#include "platform/classlib/win/cwnd.h"
#include "toolkit/commandbars/bars/tkp_command_bar.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/controls/tkp_controls.h"
#include "toolkit/commandbars/paint/tkp_paint_manager.h"
#include "toolkit/common/resource_manager.h"
#include "toolkit/common/tkp_image_manager.h"
#include "toolkit/common/tkp_prop_exchange.h"
#include "toolkit/common/tkp_sound_manager.h"

IMPLEMENT_SERIAL(CTKPControl, CCmdTarget, 1)

namespace {

// Keeps a control alive while it runs code that may remove it from its bar.
class HoldControl {
 public:
  explicit HoldControl(CTKPControl* pControl) : m_pControl(pControl) { m_pControl->InternalAddRef(); }
  ~HoldControl() { m_pControl->InternalRelease(); }
  HoldControl(const HoldControl&) = delete;
  HoldControl& operator=(const HoldControl&) = delete;

 private:
  CTKPControl* m_pControl;
};

}  // namespace

CTKPControl::CTKPControl() {
  m_mapDocTemplatesAssigned.InitHashTable(17, FALSE);
  m_mapDocTemplatesExcluded.InitHashTable(17, FALSE);
}

CTKPControl::~CTKPControl() {
  m_mapDocTemplatesAssigned.RemoveAll();
  m_mapDocTemplatesExcluded.RemoveAll();
}

// ---- texts ---------------------------------------------------------------------------------------

void CTKPControl::SetID(int nId) {
  if (nId != m_nId && nId > 0) {
    CString prompt;
    if (TKPResourceManager()->LoadString(&prompt, static_cast<UINT>(nId))) SetPrompt(prompt);
  }
  m_nId = nId;
}

void CTKPControl::SetPrompt(const CString& strPrompt) {
  if (strPrompt.IsEmpty()) return;
  const int newline = strPrompt.Find(_T('\n'));
  if (newline >= 0) {
    m_strDescriptionText = strPrompt.Left(newline);
    m_strTooltipText = strPrompt.Mid(newline + 1);
  } else {
    m_strDescriptionText = m_strTooltipText = strPrompt;
  }
  if (m_strCaption.IsEmpty()) m_strCaption = m_strTooltipText;
}

void CTKPControl::SetCaption(const CString& strCaption) {
  CString caption = strCaption;
  const int tab = caption.Find(_T('\t'));
  if (tab >= 0) {
    m_strShortcutTextAuto = caption.Mid(tab + 1);
    caption = caption.Left(tab);
  }
  if (caption == m_strCaption) return;
  m_strCaption = caption;
  DelayLayoutParent();
}

// ---- state ---------------------------------------------------------------------------------------

void CTKPControl::SetBeginGroup(BOOL bBeginGroup) {
  m_bBeginGroup = bBeginGroup;
  DelayLayoutParent();
}

void CTKPControl::SetEnabled(BOOL bEnabled) {
  if (bEnabled == m_bEnabled) return;
  m_bEnabled = bEnabled;
  RedrawParent();
}

void CTKPControl::SetChecked(BOOL bChecked) {
  if (bChecked == m_bChecked) return;
  m_bChecked = bChecked;
  RedrawParent();
}

void CTKPControl::SetVisible(BOOL bVisible) {
  const DWORD flags = bVisible ? (m_dwHideFlags & ~static_cast<DWORD>(tkpHideGeneric)) : (m_dwHideFlags | tkpHideGeneric);
  if (flags == m_dwHideFlags) return;
  SetHideFlags(flags);
  DelayLayoutParent();
}

void CTKPControl::SetDefaultItem(BOOL bDefault) {
  if (bDefault == m_bDefaultItem) return;
  m_bDefaultItem = bDefault;
  DelayLayoutParent();
}

int CTKPControl::GetEffectiveIconId() const {
  if (m_nCustomIconId != 0) return m_nCustomIconId;
  return m_nIconId >= 1 ? m_nIconId : m_nId;
}

CTKPImageManagerIcon* CTKPControl::GetImage(int nWidth) const {
  const int icon = GetEffectiveIconId();
  if (icon == 0) return nullptr;
  CTKPImageManager* pImages = GetImageManager();
  return pImages != nullptr ? pImages->GetImage(static_cast<UINT>(icon), nWidth) : nullptr;
}

BOOL CTKPControl::IsCaptionVisible() const {
  if (m_pParent != nullptr && m_pParent->GetType() == tkpBarTypePopup) return TRUE;
  if (GetCaption().IsEmpty()) return FALSE;
  const int style = GetStyle();
  if (style == tkpButtonCaption || style == tkpButtonIconAndCaption) return TRUE;
  if (style == tkpButtonIcon) return FALSE;
  switch (m_controlType) {
    case tkpControlButton:
    case tkpControlButtonPopup:
    case tkpControlSplitButtonPopup:
      return GetImage(0) == nullptr;
    case tkpControlPopup:
    case tkpControlLabel:
      return TRUE;
    default:
      return FALSE;
  }
}

BOOL CTKPControl::Compare(CTKPControl* pOther) {
  if (pOther == nullptr) return FALSE;
  return GetStyle() == pOther->GetStyle() && m_controlType == pOther->m_controlType && m_nId == pOther->m_nId &&
         m_dwFlags == pOther->m_dwFlags && m_bBeginGroup == pOther->m_bBeginGroup &&
         GetEffectiveIconId() == pOther->GetEffectiveIconId() && m_strCaption == pOther->m_strCaption &&
         m_strTooltipText == pOther->m_strTooltipText && m_strDescriptionText == pOther->m_strDescriptionText &&
         m_strCustomCaption == pOther->m_strCustomCaption && m_nCustomStyle == pOther->m_nCustomStyle &&
         m_strParameter == pOther->m_strParameter &&
         (m_dwHideFlags & tkpHideCustomize) == (pOther->m_dwHideFlags & tkpHideCustomize);
}

namespace {

void CopyMap(CTKPDocTemplateMap& target, CTKPDocTemplateMap& source) {
  target.RemoveAll();
  POSITION pos = source.GetStartPosition();
  while (pos != nullptr) {
    UINT key = 0;
    BOOL value = FALSE;
    source.GetNextAssoc(pos, key, value);
    target.SetAt(key, value);
  }
}

}  // namespace

void CTKPControl::Copy(CTKPControl* pSource, BOOL /*bRecursive*/) {
  if (pSource == nullptr || pSource == this) return;
  m_nId = pSource->m_nId;
  m_nTag = pSource->m_nTag;
  m_dwFlags = pSource->m_dwFlags;
  m_controlType = pSource->m_controlType;
  m_strCaption = pSource->m_strCaption;
  m_strCustomCaption = pSource->m_strCustomCaption;
  m_strShortcutText = pSource->m_strShortcutText;
  m_strShortcutTextAuto = pSource->m_strShortcutTextAuto;
  m_strTooltipText = pSource->m_strTooltipText;
  m_strDescriptionText = pSource->m_strDescriptionText;
  m_strParameter = pSource->m_strParameter;
  m_nCustomIconId = pSource->m_nCustomIconId;
  m_nIconId = pSource->m_nIconId;
  m_bTemporary = pSource->m_bTemporary;
  m_strCategory = pSource->m_strCategory;
  m_dwHideFlags = pSource->m_dwHideFlags;
  m_bDefaultItem = pSource->m_bDefaultItem;
  m_bEnabled = pSource->m_bEnabled;
  m_bChecked = pSource->m_bChecked;
  m_nCustomStyle = pSource->m_nCustomStyle;
  m_nStyle = pSource->m_nStyle;
  m_bBeginGroup = pSource->m_bBeginGroup;
  m_bCloseSubMenuOnClick = pSource->m_bCloseSubMenuOnClick;
  CopyMap(m_mapDocTemplatesAssigned, pSource->m_mapDocTemplatesAssigned);
  CopyMap(m_mapDocTemplatesExcluded, pSource->m_mapDocTemplatesExcluded);
}

CTKPControl* CTKPControl::Clone(BOOL bRecursive) {
  CTKPControl* pClone = static_cast<CTKPControl*>(GetRuntimeClass()->CreateObject());
  if (pClone == nullptr) return nullptr;
  pClone->Copy(this, bRecursive);
  return pClone;
}

// ---- managers and the parent ---------------------------------------------------------------------

CTKPPaintManager* CTKPControl::GetPaintManager() const {
  if (m_pParent != nullptr) return m_pParent->GetPaintManager();
  CTKPCommandBars* pCommandBars = m_pControls != nullptr ? m_pControls->GetCommandBars() : nullptr;
  if (pCommandBars != nullptr) return pCommandBars->GetPaintManager();
  return CTKPPaintManager::GetCurrentOrDefault();
}

CTKPImageManager* CTKPControl::GetImageManager() const {
  if (m_pParent != nullptr) return m_pParent->GetImageManager();
  CTKPCommandBars* pCommandBars = m_pControls != nullptr ? m_pControls->GetCommandBars() : nullptr;
  if (pCommandBars != nullptr) return pCommandBars->GetImageManager();
  return TKPImageManager();
}

BOOL CTKPControl::IsCustomizeMode() const { return m_pParent != nullptr && m_pParent->IsCustomizeMode(); }

void CTKPControl::RedrawParent() {
  if (m_pParent != nullptr && m_pParent->GetSafeHwnd() != nullptr) m_pParent->Redraw();
}

void CTKPControl::DelayLayoutParent() {
  if (m_pParent != nullptr) m_pParent->m_dwState |= CTKPCommandBar::stateLayoutPending;
}

void CTKPControl::InvalidateParent() {
  if (m_pParent != nullptr && m_pParent->GetSafeHwnd() != nullptr) m_pParent->Invalidate(FALSE);
}

BOOL CTKPControl::IsCursorOver() const {
  if (m_pParent == nullptr || m_pParent->GetSafeHwnd() == nullptr) return FALSE;
  POINT cursor = {};
  ::GetCursorPos(&cursor);
  ::ScreenToClient(m_pParent->GetSafeHwnd(), &cursor);
  return m_rcControl.PtInRect(CPoint(cursor.x, cursor.y));
}

LRESULT CTKPControl::NotifySite(UINT nCode) {
  CWnd* pSite = m_pParent != nullptr ? m_pParent->GetSite() : nullptr;
  if (pSite == nullptr || pSite->GetSafeHwnd() == nullptr) return 0;
  NMTKPCONTROL record = {nullptr, static_cast<UINT_PTR>(m_nId), nCode, this};
  return pSite->SendMessage(TKP_WM_CONTROL_NOTIFY, static_cast<WPARAM>(m_nId), reinterpret_cast<LPARAM>(&record));
}

// ---- drawing -------------------------------------------------------------------------------------

CSize CTKPControl::GetSize(CDC* pDC) {
  CTKPPaintManager* pPaint = GetPaintManager();
  return pPaint != nullptr ? pPaint->DrawControl(pDC, this, FALSE) : CSize();
}

void CTKPControl::Draw(CDC* pDC) {
  CTKPPaintManager* pPaint = GetPaintManager();
  if (pPaint != nullptr) pPaint->DrawControl(pDC, this, TRUE);
}

// ---- mouse and selection -------------------------------------------------------------------------

BOOL CTKPControl::OnLButtonDblClk(CPoint point) {
  OnClick(FALSE, point);
  return TRUE;
}

BOOL CTKPControl::OnSetSelected(int bSelected) {
  if (bSelected == m_bSelected) return FALSE;
  if (bSelected == 2 && m_pParent != nullptr) m_pParent->PopupControl(-1);
  m_bSelected = bSelected;
  if (m_pParent != nullptr) m_pParent->OnControlSelected(bSelected, this);
  RedrawParent();
  return TRUE;
}

void CTKPControl::OnMouseHover() {
  if (m_pParent == nullptr) return;
  const BOOL closed = m_pParent->PopupControl(-1);
  if (closed && m_pParent->GetTrackingMode() == 2 && m_pParent->GetType() != tkpBarTypePopup) {
    m_pParent->SetTrackingMode(0, TRUE);
  }
}
