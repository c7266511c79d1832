// CTKHyperLink: a static text shown as a link. Its text takes the link, hover or visited colour, a hand
// cursor and a tooltip with the target; a click opens the target with the shell's "open" verb and a
// failure is told to the user.
#pragma once

#include <windows.h>

#include "platform/classlib/cstring.h"
#include "platform/classlib/win/cgdiobject.h"
#include "platform/classlib/win/cstatic.h"
#include "platform/classlib/win/ctooltipctrl.h"

class CTKHyperLink : public CStatic {
  DECLARE_DYNAMIC(CTKHyperLink)

 public:
  CTKHyperLink();
  ~CTKHyperLink() override;

  virtual void SetURL(CString strURL);
  virtual CString GetURL() const { return m_strURL; }
  virtual void SetColors(COLORREF clrLink, COLORREF clrVisited, COLORREF clrHover);
  virtual COLORREF GetLinkColor() const { return m_clrLink; }
  virtual COLORREF GetVisitedColor() const { return m_clrVisited; }
  virtual COLORREF GetHoverColor() const { return m_clrHover; }
  virtual void SetVisited(BOOL bVisited = TRUE);
  virtual BOOL GetVisited() const { return m_bVisited; }
  virtual void SetLinkCursor(HCURSOR hCursor) { m_hcurLink = hCursor; }
  virtual HCURSOR GetLinkCursor() const { return m_hcurLink; }
  virtual void SetUnderline(BOOL bUnderline = TRUE);
  virtual BOOL GetUnderline() const { return m_bUnderline; }
  virtual void SetBackColor(COLORREF clrBack);
  virtual COLORREF GetBackColor() const;
  // Null opens the URL. FALSE (after telling the user) when the shell could not open it.
  virtual BOOL GotoURL(LPCTSTR lpszURL = nullptr, int nShowCmd = SW_SHOW, LPCTSTR lpszParams = nullptr,
                       LPCTSTR lpszDir = nullptr);
  // A left, centred or right-aligned text static; images and other statics get no link behaviour.
  virtual BOOL IsTextControl();
  virtual BOOL IsCursorOverText();
  virtual void ReportError(int nError);
  virtual void InitControl();
  virtual BOOL ApplyLinkFont();
  virtual BOOL CreateLinkFont(CFont& font, BOOL bUnderline);

  BOOL IsHovering() const { return m_bHover; }
  CToolTipCtrl& GetToolTip() { return m_toolTip; }

  BOOL PreTranslateMessage(MSG* pMsg) override;
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;

 protected:
  void PreSubclassWindow() override;
  void Redraw();

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnPaint();
  afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
  afx_msg BOOL OnClicked();
  DECLARE_MESSAGE_MAP()

  BOOL m_bInitOnSubclass = TRUE;
  BOOL m_bUnderline = TRUE;
  BOOL m_bHover = FALSE;
  BOOL m_bVisited = FALSE;
  CFont m_fontLink;
  CString m_strURL;
  CString m_strTipText;
  HCURSOR m_hcurLink = nullptr;
  COLORREF m_clrLink = RGB(0, 0, 255);
  COLORREF m_clrHover = RGB(255, 0, 0);
  COLORREF m_clrVisited = RGB(128, 0, 128);
  COLORREF m_clrBack = static_cast<COLORREF>(-1);
  CToolTipCtrl m_toolTip;
};
