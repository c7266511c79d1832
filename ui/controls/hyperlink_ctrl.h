// A static text that looks and acts like a web link: link, visited and hover colours, underline while
// hovered (or always, or never), sized to its text, and opened through the shell (or the registered
// browser) when clicked.
#pragma once

#include "platform/classlib/win/cgdiobject.h"
#include "platform/classlib/win/cstatic.h"
#include "platform/classlib/win/ctooltipctrl.h"
#include "platform/classlib/win/msgmap.h"

namespace ui {

class HyperLinkCtrl : public CStatic {
 public:
  enum Underline { kUnderlineHover = -1, kUnderlineNever = 0, kUnderlineAlways = 1 };

  HyperLinkCtrl() = default;
  ~HyperLinkCtrl() override;

  void SetURL(const CString& target);
  CString GetURL() const { return m_target; }
  void SetUnderline(int mode);
  void SetVisited(BOOL on, BOOL repaint = TRUE);
  BOOL GetVisited() const { return m_visited; }
  bool IsOver() const { return m_over; }

  // Opens the target; above 32 is success.
  static intptr_t GotoURL(HWND owner, const CString& target, int show);

  void PreSubclassWindow() override;
  BOOL PreTranslateMessage(MSG* msg) override;

  COLORREF m_linkColour = 0xEE0000;
  COLORREF m_visitedColour = 0x8B1A55;
  COLORREF m_hoverColour = 0x0000FF;

 protected:
  HBRUSH CtlColor(CDC* dc, UINT colourType);
  BOOL OnSetCursor(CWnd* window, UINT hitTest, UINT message);
  void OnMouseMove(UINT flags, CPoint point);
  void OnTimer(UINT_PTR id);
  void OnClicked();
  BOOL OnEraseBkgnd(CDC* dc);
  void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  void AdjustSize();
  void SelectFont(bool underlined);
  void LoadLinkCursor();
  void ReportError(intptr_t result);

  bool m_over = false;
  BOOL m_visited = FALSE;
  int m_underline = kUnderlineHover;
  bool m_adjustToFit = true;
  CString m_target;
  CFont m_underlinedFont;
  CFont m_plainFont;
  HCURSOR m_linkCursor = nullptr;
  CToolTipCtrl m_tooltip;
};

}  // namespace ui
