// A flat push button or check box with an icon and a caption, drawn by itself: hover highlight in flat
// mode, an "in" icon for hovered, pressed or checked and an "out" icon otherwise (a grey or darker copy
// of the in icon where asked), and a tooltip.
#pragma once

#include "platform/classlib/win/cbutton.h"
#include "platform/classlib/win/ctooltipctrl.h"
#include "platform/classlib/win/msgmap.h"

namespace ui {

class IconButton : public CButton {
 public:
  // Out icon ids with a meaning of their own.
  static constexpr int kNoOutIcon = 0;
  static constexpr int kGreyOutIcon = -2;
  static constexpr int kDarkOutIcon = -3;
  enum Align { kIconLeft = 0, kIconAbove = 1, kIconRight = 2 };

  IconButton();
  ~IconButton() override;

  // Loads the in icon and the out icon (an id, or one of the constants above); repaints.
  void SetIcon(int inId, int outId);
  void SetAlign(int align, BOOL repaint = TRUE);
  void SetFlat(BOOL on, BOOL repaint = TRUE);
  void SetDrawBorder(BOOL on, BOOL repaint = TRUE);
  void SetCheck(int on, BOOL repaint = TRUE);  // check-box mode only
  int GetCheck() const { return m_checked ? 1 : 0; }
  // 0 moves a pressed icon and caption by (1, 1), 1 by (0, 2); anything else is refused with 6.
  int SetPressedStyle(int style, BOOL repaint = TRUE);
  void SetDefaultColors(BOOL repaint = TRUE);
  // Draws over the parent's own background (a skin, a gradient) instead of filling with the button colour.
  void SetTransparent(BOOL on, BOOL repaint = TRUE);
  void SetTooltipText(LPCTSTR text);
  bool IsHovered() const { return m_hovered; }
  bool IsCheckBox() const { return m_checkBox; }

  void PreSubclassWindow() override;
  BOOL PreTranslateMessage(MSG* msg) override;
  void DrawItem(LPDRAWITEMSTRUCT item) override;

 protected:
  void OnMouseMove(UINT flags, CPoint point);
  void OnMouseLeave();
  void OnKillFocus(CWnd* newWindow);
  void OnCancelMode();
  void OnActivate(UINT state, CWnd* other, BOOL minimized);
  void OnEnable(BOOL enable);
  void OnSysColorChange();
  void OnLButtonDblClk(UINT flags, CPoint point);
  UINT OnGetDlgCode();
  HBRUSH CtlColor(CDC* dc, UINT colourType);
  LRESULT OnSetStyle(WPARAM style, LPARAM redraw);
  LRESULT OnSetCheck(WPARAM check, LPARAM);
  LRESULT OnGetCheck(WPARAM, LPARAM);
  BOOL OnClicked();
  DECLARE_MESSAGE_MAP()

 private:
  struct Icon {
    HICON handle = nullptr;
    int width = 0;
    int height = 0;
  };
  void FreeIcons();
  void LeaveHover();
  void EnsureTooltip();
  void DrawBorder(HDC dc, RECT& rect, bool pressed) const;
  void PaintParentBackground(HDC dc) const;
  void DrawIconAndCaption(HDC dc, const RECT& client, bool pressed, COLORREF text, COLORREF back);

  bool m_flat = true;
  bool m_drawBorder = true;
  bool m_drawFlatFocus = false;
  bool m_alwaysTrack = true;
  bool m_hovered = false;
  bool m_pressed = false;
  bool m_focused = false;
  bool m_disabled = false;
  bool m_default = false;
  bool m_checkBox = false;
  bool m_checked = false;
  bool m_transparent = false;
  int m_align = kIconLeft;
  int m_marginX = 3;
  int m_marginY = 3;
  POINT m_pressedOffset{1, 1};
  // In (hovered or pressed), out (normal) and focus: background and text.
  COLORREF m_backIn = 0, m_textIn = 0, m_backOut = 0, m_textOut = 0, m_backFocus = 0, m_textFocus = 0;
  Icon m_in;
  Icon m_out;
  CToolTipCtrl m_tooltip;
};

}  // namespace ui
