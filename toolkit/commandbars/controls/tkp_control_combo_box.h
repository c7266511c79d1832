// CTKPControlComboBox: a combo box on a command bar, in the drop-down-list style (no field: the selected
// item is drawn) or editable (a field window of its own over the edit area). Its list drops down in a
// popup bar whose window is a LISTBOX (CTKPControlComboBoxList). The site hears CBN_SELCHANGE, CBN_SETFOCUS,
// CBN_KILLFOCUS, CBN_EDITCHANGE, CBN_DROPDOWN, CBN_CLOSEUP, CBN_SELENDOK and CBN_SELENDCANCEL through the
// control notification. It completes typed text from the list, shows a hint, an icon and the shell's
// suggestions. The list belongs to its combo alone and is kept with the combo's own state, not as a bar
// of the saved stream.
#pragma once

#include "toolkit/commandbars/controls/tkp_control_edit.h"
#include "toolkit/commandbars/controls/tkp_control_popup.h"
#include "toolkit/commandbars/bars/tkp_popup_bar.h"

class CTKPControlComboBox;

// A list holds at most this many items, however many a stored list claims.
constexpr int TKP_COMBO_MAX_ITEMS = 32767;

// The dropped-down list: a popup bar whose window is a LISTBOX. While dropped down it tracks as any popup
// does (a click elsewhere closes it, keys come through the keyboard hook, the wheel scrolls it), lights
// the item under the pointer and hands a released button to its combo. It only hides when it closes:
// its window keeps the items.
class CTKPControlComboBoxList : public CTKPPopupBar {
  DECLARE_SERIAL(CTKPControlComboBoxList)

 public:
  CTKPControlComboBoxList();

  BOOL CreateListWindow();
  // Drops down under the combo's rectangle; FALSE when the list has no window or the combo no bar.
  BOOL Popup(CTKPControlComboBox* pOwner);
  void Close() { SetTrackingMode(0); }
  BOOL IsDroppedFor(const CTKPControlComboBox* pCombo) const {
    return pCombo != nullptr && m_pOwner == pCombo && IsTrackingMode();
  }
  int GetListWidth() const { return m_nWidth; }
  void SetListWidth(int nWidth) { m_nWidth = nWidth; }
  int GetItemCount() const;
  // The item's text; empty out of range.
  CString GetItemText(int nIndex) const;
  // The new item's index, -1 when the list has no window or is full.
  int AddItem(const CString& strItem);
  // Appends the items of another list (its window made first when missing).
  void AddItemsOf(CTKPControlComboBoxList* pSource);
  // The "Items" section: the count and each item's text.
  void ExchangeItems(CTKPPropExchange* pPX);

  // ---- the popup bar's behaviour, for a list ----------------------------------------------------------
  // Only its combo drops it down.
  BOOL Popup(CTKPControlPopup* /*pControl*/, BOOL /*bSelectFirst*/) override { return FALSE; }
  BOOL SetTrackingMode(int nMode, BOOL bSelectFirst = TRUE, BOOL bKeyboard = FALSE) override;
  CTKPCommandBar* GetParentCommandBar() const override;
  int OnHookKeyDown(UINT nChar, LPARAM lParam) override;
  int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;
  void DrawCommandBar(CDC* pDC, CRect rcClipBox) override;
  void DelayLayout() override { CTKPCommandBar::DelayLayout(); }
  // The list's items are kept with its combo's state, not as a bar of the saved stream.
  void CollectBarsToSave(UINT&, CTKPCommandBarRefList&, const TKPCommandBarsExchangeParam&) override {}
  void Copy(CTKPCommandBar* pSource, BOOL bRecursive = FALSE) override;
  void DoPropExchange(CTKPPropExchange* pPX) override;

 protected:
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnNcPaint();
  DECLARE_MESSAGE_MAP()

  int m_nWidth = 0;
  CTKPControlComboBox* m_pOwner = nullptr;  // while dropped down
};

// A popup control whose popup bar is its list: GetCommandBar answers the list. Its drop-down is its own,
// so the popup control's mouse and customize behaviour is not taken over.
class CTKPControlComboBox : public CTKPControlPopup, public CTKPEditOwner {
  DECLARE_SERIAL(CTKPControlComboBox)

 public:
  CTKPControlComboBox();
  ~CTKPControlComboBox() override;

  // ---- the list --------------------------------------------------------------------------------------
  CTKPControlComboBoxList* GetListWnd() const { return m_pList; }
  int AddString(const CString& strItem);
  int GetCount() const;
  void ResetContent();
  CString GetLBText(int nIndex) const;
  int GetCurSel() const;
  void SetCurSel(int nIndex);
  BOOL IsDroppedDown() const;
  void SetDropDownItemCount(int nCount) { m_nDropDownItemCount = nCount; }
  int GetDropDownItemCount() const { return m_nDropDownItemCount; }
  // Opens or closes the list.
  void ShowDropDown(BOOL bShow);

  // ---- the field --------------------------------------------------------------------------------------
  // TRUE: editable (a field window); FALSE: a drop-down list.
  void SetDropDownListStyle(BOOL bEditable);
  BOOL GetDropDownListStyle() const { return m_bDropDown; }
  CTKPEdit* GetEditCtrl() const { return m_field.m_pWnd; }
  CString GetEditText();
  void SetEditText(const CString& strText);
  CString GetEditHint() const { return m_field.m_state.GetHint(); }
  CTKPEditShellAutoComplete* GetAutoComplete() const { return m_field.m_pAutoComplete; }
  void SetEditHint(const CString& strHint);
  BOOL IsHintShown() const { return m_field.m_state.IsHintShown(); }
  void EnableAutoComplete(BOOL bEnable) { m_bAutoComplete = bEnable; }
  void SetShellAutoComplete(DWORD dwFlags);
  void SetEditIconId(int nId) { m_nEditIconId = nId; }
  void SetComboStyle(int nStyle) { m_nComboStyle = nStyle; DelayLayoutParent(); }
  int GetWidth() const override { return m_nWidth; }
  int GetLabelWidth() const { return m_nLabelWidth; }
  int GetButtonWidth() const { return m_nButtonWidth; }
  // The theme's layout: new widths move the window at the next placing.
  void SetLabelWidth(int nLabel, int nButton) {
    if (nLabel == m_nLabelWidth && nButton == m_nButtonWidth) return;
    m_nLabelWidth = nLabel;
    m_nButtonWidth = nButton;
    m_bReposition = TRUE;
  }

  // ---- overrides of the control -------------------------------------------------------------------
  void SetEnabled(BOOL bEnabled) override;
  void SetFocused(BOOL bFocused) override;
  BOOL IsFocused() const override { return m_bFocused; }
  void SetRect(CRect rc) override;
  BOOL IsCaptionVisible() const override { return m_nComboStyle == 1 && !GetCaption().IsEmpty(); }
  BOOL Compare(CTKPControl* pOther) override;
  void SetHideFlags(DWORD dwFlags) override;
  CSize GetSize(CDC* pDC) override;
  void Draw(CDC* pDC) override;
  void OnCalcDynamicSize(DWORD dwMode) override;
  void OnExecute() override;
  void DoPropExchange(CTKPPropExchange* pPX) override;
  BOOL IsFocusable() const override { return TRUE; }
  void OnUnderlineActivate() override { SetFocused(TRUE); }
  int OnHookKeyDown(UINT nChar, LPARAM lParam) override;
  void SetParent(CTKPCommandBar* pParent) override;
  void Copy(CTKPControl* pSource, BOOL bRecursive) override;
  BOOL OnSetPopup(BOOL bPopup) override;
  void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint()) override;
  BOOL OnSetSelected(int bSelected) override;
  void OnLButtonUp(CPoint point) override { CTKPControl::OnLButtonUp(point); }
  BOOL OnLButtonDblClk(CPoint point) override { return CTKPControl::OnLButtonDblClk(point); }
  void OnMouseHover() override { CTKPControl::OnMouseHover(); }
  void OnCustomizeDragOver(CTKPControl* pDragged, CPoint point) override {
    CTKPControl::OnCustomizeDragOver(pDragged, point);
  }
  void UpdateShadow() override {}
  int GetCustomizeMinWidth() const override { return m_nLabelWidth + m_nButtonWidth + 5; }
  void SetWidth(int nWidth) override;

  // ---- the field window's reports ---------------------------------------------------------------------
  CTKPControl* GetEditControl() override { return this; }
  void OnEditSetFocus(CWnd* pOldWnd) override;
  void OnEditKillFocus() override;
  void OnEditWindowChanged() override;
  void OnEditDestroy() override { m_field.OnWindowDestroy(); }
  void OnEditRButtonDown(CPoint point) override;
  // The shell's suggestions came up: the list makes way for them.
  void OnEditSuggestionShown() override;

  // ---- what the list reports -------------------------------------------------------------------------------
  // The list dropped down (TRUE) or closed (FALSE).
  void OnListTracking(BOOL bTracking);
  // The item under a released button was taken.
  void OnListItemTaken();

  // The list's handling of a key while it is dropped down or the combo is focused; 1 handled, 0 not.
  int ListKeyDown(UINT nChar, LPARAM lParam);

  // The selected item's text, or empty.
  virtual CString GetListText() const;
  virtual void OnSelChanged();
  virtual void OnEditChanged();
  CHARFORMAT2W GetCharFormat() override { return m_field.DefaultCharFormat(m_bEnabled); }
  // The text the combo shows: the field's with an edit window, else the selected item's.
  virtual CString GetText() { return m_field.m_pWnd != nullptr ? m_field.GetText() : GetListText(); }

 protected:
  virtual void DrawEditArea(CDC* pDC, CRect rcArea);
  // The edit window object of the editable style.
  virtual CTKPEdit* CreateEditWnd() { return new CTKPEdit; }
  // The edit window's rectangle made room in: the edit icon's width + 2 at the left when it has one.
  virtual void AdjustEditRect(CRect& rc) const;
  CRect EditArea() const;

  TKPEditField m_field;
  CTKPControlComboBoxList* m_pList = nullptr;
  BOOL m_bDropDown = FALSE;
  int m_nComboStyle = 0;
  int m_nWidth = 100;
  int m_nCurSelSaved = -1;
  int m_nLabelWidth = 0;
  int m_nButtonWidth = 14;
  BOOL m_bAutoComplete = FALSE;
  BOOL m_bNoComplete = FALSE;
  BOOL m_bFocused = FALSE;
  int m_nEditIconId = 0;
  BOOL m_bSelAccepted = FALSE;
  BOOL m_bMakingWayForSuggestions = FALSE;  // the list closes and the suggestions stay
  int m_nDropDownItemCount = 12;
  int m_nSelNoList = -1;
  BOOL m_bReposition = FALSE;
  HWND m_hwndPrevFocus = nullptr;
};
