// Bitmap buttons with a hover picture: CHoverButton (the recovery-mode choices, with hand cursors and
// the process-wide hovered mode) and CToolButton (the Next, Back, Stop and Home bars, with a tooltip).
#pragma once

#include <cstdint>

#include "platform/classlib/win/cbutton.h"
#include "platform/classlib/win/ctooltipctrl.h"
#include "platform/classlib/win/msgmap.h"

namespace ui {

// 0, or the hover id of the mode button under the mouse (the first page describes that mode).
extern uint32_t HoveredModeButton;

// The normal and hover bitmaps of a button, loaded with the system's button colours mapped in.
class HoverBitmaps {
 public:
  // Loads both and sizes the window to the normal one (its position kept); FALSE when one is missing.
  BOOL Load(CWnd* button, UINT normalId, UINT hoverId);
  // The hover or normal picture at (0, 0); pressed: the hover picture one pixel down and right.
  void Draw(HDC dc, bool hovered, bool pressed) const;
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  CBitmap normal_;
  CBitmap hover_;
  int width_ = 0;
  int height_ = 0;
};

// Asks for hover (after 1 ms) and leave notifications of the window.
void TrackHoverAndLeave(HWND window);

// The text of a button's one tip (tool id 1 over its client area), the tool added when missing.
void SetButtonTip(CToolTipCtrl& tip, CWnd* button, LPCTSTR text);

// What both bitmap buttons share: the pictures, hover and leave tracking, and no erasing (the picture
// covers the button).
class HoverBitmapButton : public CBitmapButton {
  DECLARE_DYNAMIC(HoverBitmapButton)

 public:
  BOOL LoadBitmaps(UINT normalId, UINT hoverId) { return m_bitmaps.Load(this, normalId, hoverId); }
  bool IsHovered() const { return m_hovered; }

 protected:
  // The hover state changed: repaint.
  virtual void OnHoverChanged() { Invalidate(FALSE); }
  void OnMouseMove(UINT flags, CPoint point);
  void OnMouseHover(UINT flags, CPoint point);
  void OnMouseLeave();
  BOOL OnEraseBkgnd(CDC* dc);
  DECLARE_MESSAGE_MAP()

  bool m_hovered = false;
  bool m_tracking = false;
  HoverBitmaps m_bitmaps;
};

class CHoverButton : public HoverBitmapButton {
  DECLARE_DYNAMIC(CHoverButton)

 public:
  CHoverButton();
  ~CHoverButton() override;
  void SetHoverId(uint32_t id) { m_hoverId = id; }
  // Repainted with the button whenever the hover changes (may be null).
  void SetCompanion(CWnd* companion) { m_companion = companion; }
  void DrawItem(LPDRAWITEMSTRUCT item) override;

 protected:
  // Publishes the hovered mode and repaints the companion with the button.
  void OnHoverChanged() override;
  void OnMouseMove(UINT flags, CPoint point);
  void OnLButtonDown(UINT flags, CPoint point);
  DECLARE_MESSAGE_MAP()

 private:
  CWnd* m_companion = nullptr;
  uint32_t m_hoverId = 0;
  HCURSOR m_handCursor = nullptr;
  HCURSOR m_pressedCursor = nullptr;
};

class CToolButton : public HoverBitmapButton {
  DECLARE_DYNAMIC(CToolButton)

 public:
  CToolButton() = default;
  void SetTooltipText(LPCTSTR text, BOOL activate = TRUE);
  BOOL PreTranslateMessage(MSG* msg) override;
  // Hovered: the hover picture; pressed: the hover picture one pixel down and right; else the normal one.
  void DrawItem(LPDRAWITEMSTRUCT item) override;

 private:
  void EnsureTooltip();

  CToolTipCtrl m_tooltip;
};

}  // namespace ui
