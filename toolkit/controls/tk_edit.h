// CTKEdit: the toolkit's edit control, with its own right-click menu (Undo, Cut, Copy, Paste, Delete,
// Select All) whose items follow the edit's state, and flicker-free painting. CTKFlatEdit: a CTKEdit
// whose border is flat and lights up under the mouse or with the focus, drawn by its theme.
#pragma once

#include "platform/classlib/win/cedit.h"
#include "toolkit/controls/tk_flat_themes.h"

class CMenu;

class CTKEdit : public CEdit {
  DECLARE_DYNAMIC(CTKEdit)

 public:
  CTKEdit() = default;

  virtual BOOL CanPaste();
  virtual BOOL HasSelection();
  // The toolkit's standard font; FALSE unless both windows exist.
  virtual BOOL Initialize(CWnd* pParentWnd);
  // Whether the command of the menu is available now; FALSE for commands the edit does not know, and for
  // those that change the text (Undo, Cut, Paste, Delete) when the edit is read-only.
  BOOL IsCommandEnabled(UINT nID);
  // Runs the command of the menu; FALSE for commands the edit does not know or may not run.
  BOOL RunCommand(UINT nID);
  // Enables or disables every item of the popup as the edit's state allows.
  void UpdateMenuItems(CMenu* pPopup);
  // Where the menu opens for a WM_CONTEXTMENU at that point (-1, -1: from the keyboard).
  CPoint ContextMenuPoint(CPoint point) const;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnContextMenu(CPoint point);
  void OnPaint();
  // Undo, Cut, Paste and Delete: the commands that change the text.
  static bool Changes(UINT nID);

  CWnd* m_pParentWnd = nullptr;
};

class CTKFlatEdit : public CTKEdit {
  DECLARE_DYNAMIC(CTKFlatEdit)

 public:
  CTKFlatEdit();

  BOOL IsHotShown() const { return m_bHotShown; }
  BOOL HasFocus() const { return m_bHasFocus; }
  CTKThemeManagerStyleHost& ThemeHost() { return m_themeHost; }
  // 3 with the focus, 2 under the mouse, 0 otherwise.
  virtual int GetDrawState() const;
  virtual BOOL PointInControl() const;

  BOOL m_bFlat = TRUE;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void OnTimerStep();
  void OnNcPaint();

  BOOL m_bHasFocus = FALSE;
  BOOL m_bHotShown = FALSE;
  CTKThemeManagerStyleHost m_themeHost;
};
