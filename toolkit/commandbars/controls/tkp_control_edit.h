// CTKPControlEdit: a text field on a command bar. Its window (a CTKPEdit) lies over the control's
// rectangle; while it has the focus the bar tracks and routes keys to it. The text lives in the control,
// so it survives the window; an empty field can show a grey hint; the shell's auto-complete can be
// attached. The site hears EN_SETFOCUS, EN_KILLFOCUS and EN_CHANGE through the control notification.
#pragma once

#include "toolkit/commandbars/controls/tkp_control.h"
#include "toolkit/commandbars/controls/tkp_edit_window.h"

// Hidden while the bar is docked vertically.
constexpr DWORD TKP_HIDE_VERTICAL_DOCK = 4;
// The layout-mode bit of vertical docking.
constexpr DWORD TKP_LAYOUT_VERTICAL_DOCK = 16;

// The label and frame of a bar's text field: measured and drawn by the field controls themselves when
// the theme leaves them out.
namespace tkp_field {
// Width of the caption shown as a label (0 without one).
int LabelWidth(CDC* pDC, CTKPControl* pControl, BOOL bShowLabel);
// Height of a field on its bar.
int FieldHeight(CDC* pDC, CTKPControl* pControl);
// The label, and the field's frame filled white (grey when disabled), highlighted when hot or focused.
void DrawFrame(CDC* pDC, CTKPControl* pControl, int nLabelWidth, BOOL bFocused);
// The window's rectangle: the control's, less the label + 4 on the left, 3 on the other sides and
// nRightExtra more on the right.
CRect WindowRect(CRect rc, int nLabelWidth, int nRightExtra);
// The bar tracks with the control selected; the focused-field counter rises.
void EnterFocus(CTKPControl* pControl);
// The focus goes back to the window that had it (else the site), the counter falls and the bar stops
// tracking when this control was its selection.
void LeaveFocus(CTKPControl* pControl, TKPEditField& field, HWND& hwndPrev);
// Remembers the window that had the focus before the field (the site when none), once.
void RecordPrevFocus(CTKPControl* pControl, CWnd* pOldWnd, HWND& hwndPrev);
// Creates the field's window on the control's bar when it has none (text, enabled state, auto-complete),
// then gives it the bar's font and the field's format and moves it over rcWindow, shown unless the
// control is hidden.
void PlaceWindow(CTKPControl* pControl, TKPEditField& field, CRect rcWindow);
// A window that is mirrored or not on the control's bar goes (it is made again at the next placing).
void DropStrayWindow(CTKPControl* pControl, TKPEditField& field);
// The field's window shown or hidden with its control.
void ShowWindow(TKPEditField& field, BOOL bShow);
// The hide flags for a layout mode: hidden while the bar is docked vertically.
DWORD HideFlagsForMode(DWORD dwHideFlags, DWORD dwMode);
// The right button on the field: the clipboard menu, else the window's own handling.
void ShowContextMenu(CTKPControl* pControl, TKPEditField& field, CPoint point);
// The object as a T when it is one, else null.
template <typename T, typename From>
T* KindOf(From* pObject) {
  return pObject != nullptr && pObject->IsKindOf(T::GetThisClass()) ? static_cast<T*>(pObject) : nullptr;
}
}  // namespace tkp_field

class CTKPControlEdit : public CTKPControl, public CTKPEditOwner {
  DECLARE_SERIAL(CTKPControlEdit)

 public:
  CTKPControlEdit();
  ~CTKPControlEdit() override;

  CTKPEdit* GetEditCtrl() const { return m_field.m_pWnd; }
  // The value; empty while the hint is shown, the user's text as typed otherwise.
  CString GetEditText() { return m_field.GetText(); }
  void SetEditText(const CString& strText) { m_field.SetText(strText); }
  CString GetEditHint() const { return m_field.m_state.GetHint(); }
  void SetEditHint(const CString& strHint) { m_field.SetHint(strHint); }
  BOOL IsHintShown() const { return m_field.m_state.IsHintShown(); }
  BOOL GetReadOnly() const { return m_field.m_bReadOnly; }
  void SetReadOnly(BOOL bReadOnly);
  void SetShellAutoComplete(DWORD dwFlags);
  DWORD GetShellAutoComplete() const { return m_field.m_dwShellFlags; }
  CTKPEditShellAutoComplete* GetAutoComplete() const { return m_field.m_pAutoComplete; }
  int GetWidth() const override { return m_nWidth; }
  void ShowLabel(BOOL bShow) { m_bLabel = bShow; DelayLayoutParent(); }
  int GetLabelWidth() const { return m_nLabelWidth; }
  // The theme's layout: a new label width moves the window at the next placing.
  void SetLabelWidth(int nWidth) {
    if (nWidth == m_nLabelWidth) return;
    m_nLabelWidth = nWidth;
    m_bReposition = TRUE;
  }

  // ---- overrides of the control -------------------------------------------------------------------
  void SetEnabled(BOOL bEnabled) override;
  void SetFocused(BOOL bFocused) override;
  BOOL IsFocused() const override { return m_bFocused; }
  void SetRect(CRect rc) override;
  BOOL IsCaptionVisible() const override;
  BOOL Compare(CTKPControl* pOther) override;
  void SetHideFlags(DWORD dwFlags) override;
  CSize GetSize(CDC* pDC) override;
  void Draw(CDC* pDC) override;
  void OnCalcDynamicSize(DWORD dwMode) override;
  void DoPropExchange(CTKPPropExchange* pPX) override;
  BOOL IsFocusable() const override { return TRUE; }
  int OnHookKeyDown(UINT nChar, LPARAM lParam) override;
  void SetParent(CTKPCommandBar* pParent) override;
  void Copy(CTKPControl* pSource, BOOL bRecursive) override;
  void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint()) override;
  BOOL OnSetSelected(int bSelected) override;
  BOOL IsCustomizeResizeAllow() const override { return m_field.HasWindow(); }
  int GetCustomizeMinWidth() const override { return m_bLabel ? m_nLabelWidth + 10 : 10; }
  void SetWidth(int nWidth) override;

  // ---- what the field's window reports ------------------------------------------------------------
  CTKPControl* GetEditControl() override { return this; }
  void OnEditSetFocus(CWnd* pOldWnd) override;
  void OnEditKillFocus() override;
  void OnEditWindowChanged() override;
  void OnEditDestroy() override { m_field.OnWindowDestroy(); }
  void OnEditRButtonDown(CPoint point) override;
  CHARFORMAT2W GetCharFormat() override { return m_field.DefaultCharFormat(m_bEnabled); }

 protected:
  virtual CTKPEdit* CreateEditWnd() { return new CTKPEdit; }
  virtual void OnEditChanged() { NotifySite(EN_CHANGE); }

  TKPEditField m_field;
  int m_nWidth = 100;
  BOOL m_bLabel = TRUE;
  int m_nLabelWidth = 0;
  BOOL m_bReposition = FALSE;
  BOOL m_bFocused = FALSE;
  HWND m_hwndPrevFocus = nullptr;
};
