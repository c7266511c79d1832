// The bar's calls on its controls. A null collection or control answers as an empty bar would.
#include "toolkit/commandbars/bars/tkp_bar_controls.h"

#include "toolkit/commandbars/controls/tkp_control.h"
#include "toolkit/commandbars/controls/tkp_control_popup.h"
#include "toolkit/commandbars/controls/tkp_controls.h"

namespace tkp_bar {

CTKPControls* NewControls(CTKPCommandBar* pBar) {
  CTKPControls* pControls = new CTKPControls;
  pControls->SetParent(pBar);
  return pControls;
}

void ReleaseControls(CTKPControls* pControls) {
  if (pControls == nullptr) return;
  pControls->RemoveAll();
  pControls->InternalRelease();
}

CTKPControls* DuplicateControls(CTKPControls* pSource, CTKPCommandBar* pBar, BOOL bRecursive) {
  if (pSource == nullptr) return NewControls(pBar);
  CTKPControls* pCopy = pSource->Duplicate(bRecursive);
  pCopy->SetParent(pBar);
  return pCopy;
}

void RemoveAll(CTKPControls* pControls) {
  if (pControls != nullptr) pControls->RemoveAll();
}

void AddRef(CTKPControl* pControl) {
  if (pControl != nullptr) pControl->InternalAddRef();
}

void Release(CTKPControl* pControl) {
  if (pControl != nullptr) pControl->InternalRelease();
}

CTKPCommandBar* Parent(const CTKPControl* pControl) { return pControl != nullptr ? pControl->GetParent() : nullptr; }

CTKPControl* AddMenuItem(CTKPControls* pControls, CMenu* pMenu, int nIndex) {
  return pControls != nullptr ? pControls->AddMenuItem(pMenu, nIndex) : nullptr;
}

int Count(const CTKPControls* pControls) { return pControls != nullptr ? pControls->GetCount() : 0; }

CTKPControl* At(const CTKPControls* pControls, int nIndex) {
  return pControls != nullptr ? pControls->GetAt(nIndex) : nullptr;
}

int HitTest(const CTKPControls* pControls, CPoint point) {
  const CTKPControl* pControl = pControls != nullptr ? pControls->HitTest(point) : nullptr;
  return pControl != nullptr ? pControl->GetIndex() : -1;
}

int NextSelectable(const CTKPControls* pControls, int nIndex, int nStep) {
  return pControls != nullptr ? pControls->GetNext(nIndex, nStep) : -1;
}

UINT Id(const CTKPControl* pControl) { return pControl != nullptr ? static_cast<UINT>(pControl->GetID()) : 0; }
int Type(const CTKPControl* pControl) { return pControl != nullptr ? pControl->GetType() : 0; }
BOOL IsVisible(const CTKPControl* pControl) { return pControl != nullptr && pControl->IsVisible(); }
BOOL IsEnabled(const CTKPControl* pControl) { return pControl != nullptr && pControl->GetEnabled(); }
BOOL BeginsGroup(const CTKPControl* pControl) { return pControl != nullptr && pControl->GetBeginGroup(); }
BOOL IsDefaultItem(const CTKPControl* pControl) { return pControl != nullptr && pControl->GetDefaultItem(); }
CTKPCommandBar* OpenedBar(CTKPControl* pControl) { return pControl != nullptr ? pControl->GetCommandBar() : nullptr; }

CString MnemonicCaption(const CTKPControl* pControl) {
  if (pControl == nullptr || !pControl->IsCaptionVisible()) return CString();
  return pControl->GetCaption();
}

CRect Rect(const CTKPControl* pControl) { return pControl != nullptr ? pControl->GetRect() : CRect(0, 0, 0, 0); }
DWORD Flags(const CTKPControl* pControl) { return pControl != nullptr ? pControl->GetFlags() : 0; }
BOOL IsFocusable(const CTKPControl* pControl) { return pControl != nullptr && pControl->IsFocusable(); }

// The control type of a toolbar's expand button.
constexpr int kToolBarExpandType = 28;

BOOL IsEnabledPopup(const CTKPControl* pControl) {
  // Only a control that opens a bar can show a popup.
  if (pControl == nullptr || !pControl->GetEnabled()) return FALSE;
  const int type = pControl->GetType();
  if (type == kToolBarExpandType) return TRUE;  // the toolbar's expand button makes its bar as it opens
  return type >= tkpControlPopup && type <= tkpControlSplitButtonPopup &&
         const_cast<CTKPControl*>(pControl)->GetCommandBar() != nullptr;
}

void SetSelected(CTKPControl* pControl, int nState) {
  if (pControl != nullptr) pControl->OnSetSelected(nState);
}
BOOL SetPopup(CTKPControl* pControl, BOOL bPopup) { return pControl != nullptr && pControl->OnSetPopup(bPopup); }
void SetFocused(CTKPControl* pControl, BOOL bFocused) {
  if (pControl != nullptr) pControl->SetFocused(bFocused);
}
void SetEnabled(CTKPControl* pControl, BOOL bEnabled) {
  if (pControl != nullptr) pControl->SetEnabled(bEnabled);
}
void SetBeginGroup(CTKPControl* pControl, BOOL bBeginGroup) {
  if (pControl != nullptr) pControl->SetBeginGroup(bBeginGroup);
}
void SetDefaultItem(CTKPControl* pControl, BOOL bDefault) {
  if (pControl != nullptr) pControl->SetDefaultItem(bDefault);
}
void SetChecked(CTKPControl* pControl, BOOL bChecked) {
  if (pControl != nullptr) pControl->SetChecked(bChecked);
}
void ExpandPopup(CTKPControl* pControl) {
  if (pControl != nullptr && pControl->IsKindOf(RUNTIME_CLASS(CTKPControlPopup))) {
    static_cast<CTKPControlPopup*>(pControl)->ExpandCommandBar();
  }
}

int OnHookKeyDown(CTKPControl* pControl, UINT nChar, LPARAM lParam) {
  return pControl != nullptr ? pControl->OnHookKeyDown(nChar, lParam) : 0;
}
void OnClick(CTKPControl* pControl, BOOL bKeyboard, CPoint point) {
  if (pControl != nullptr) pControl->OnClick(bKeyboard, point);
}
void OnUnderlineActivate(CTKPControl* pControl) {
  if (pControl != nullptr) pControl->OnUnderlineActivate();
}
void OnMouseMove(CTKPControl* pControl, CPoint point) {
  if (pControl != nullptr) pControl->OnMouseMove(point);
}
void OnMouseHover(CTKPControl* pControl) {
  if (pControl != nullptr) pControl->OnMouseHover();
}
void OnLButtonUp(CTKPControl* pControl, CPoint point) {
  if (pControl != nullptr) pControl->OnLButtonUp(point);
}
void OnLButtonDblClk(CTKPControl* pControl, CPoint point) {
  if (pControl != nullptr) pControl->OnLButtonDblClk(point);
}
void OnRButtonUp(CTKPControl* pControl, CPoint point) {
  if (pControl != nullptr) pControl->OnRButtonUp(point);
}
void Draw(CTKPControl* pControl, CDC* pDC) {
  if (pControl != nullptr) pControl->Draw(pDC);
}

}  // namespace tkp_bar
