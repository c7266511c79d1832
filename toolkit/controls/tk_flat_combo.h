// CTKFlatComboBox: a combo box with a flat frame that lights up under the mouse or with the focus, drawn
// by its theme, and auto-completion of typed text from its items.
#pragma once

#include "platform/classlib/win/clistbox.h"
#include "toolkit/controls/tk_flat_themes.h"

class CTKFlatComboBox : public CComboBox {
  DECLARE_DYNAMIC(CTKFlatComboBox)

 public:
  CTKFlatComboBox();

  void EnableAutoCompletion(BOOL bEnable = TRUE) { m_bAutoComplete = bEnable; }
  // -1: the window colour.
  void SetBackColor(COLORREF clr) { m_clrBack = clr; }
  COLORREF GetBackColor() const;
  BOOL IsHotShown() const { return m_bHotShown; }
  BOOL HasFocus() const { return m_bHasFocus; }
  CTKThemeManagerStyleHost& ThemeHost() { return m_themeHost; }
  // 3 with the focus or dropped down, 2 under the mouse, 0 otherwise.
  virtual int GetDrawState() const;
  virtual BOOL PointInControl() const;

  BOOL m_bFlat = TRUE;
  // The next text change is left as typed: set by Backspace and Delete in the field, so that a deleted
  // completion stays deleted, and by callers before they change the text themselves.
  BOOL m_bSuppressAutoCompleteOnce = FALSE;

  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

 private:
  // Whether Backspace or Delete would delete anything at the field's selection.
  BOOL KeyDeletes(UINT nKey) const;
  void OnTimerStep();
  void DrawFrame(HDC hDC);
  void Redraw();
  void AutoComplete();

  CTKThemeManagerStyleHost m_themeHost;
  BOOL m_bAutoComplete = TRUE;
  BOOL m_bHotShown = FALSE;
  BOOL m_bHasFocus = FALSE;
  COLORREF m_clrBack = static_cast<COLORREF>(-1);
};
