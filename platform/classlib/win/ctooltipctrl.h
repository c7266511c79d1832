// CToolTipCtrl: a tooltip window and its tools. A tool is a rectangle of a window with an id, or, with
// id 0, the window itself (then its parent holds the tool). The owner hands its mouse messages to the
// tooltip with RelayEvent, usually from PreTranslateMessage.
#pragma once

#include "platform/classlib/cstring.h"
#include "platform/classlib/win/controlsupport.h"
#include "platform/classlib/win/cwnd.h"

class CToolTipCtrl : public CWnd {
  DECLARE_DYNAMIC(CToolTipCtrl)
  CLASSLIB_CONTROL_HANDLE(CToolTipCtrl)

 public:
  CToolTipCtrl() = default;
  // A pop-up owned by pParentWnd; TTS_ALWAYSTIP is always added.
  virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);

  // ---- tools --------------------------------------------------------------------------------------
  // A null rectangle with a non-zero id covers the window's client area.
  BOOL AddTool(CWnd* pWnd, LPCTSTR lpszText = LPSTR_TEXTCALLBACKW, LPCRECT lpRectTool = nullptr, UINT_PTR nIDTool = 0);
  BOOL AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool = nullptr, UINT_PTR nIDTool = 0);
  void DelTool(CWnd* pWnd, UINT_PTR nIDTool = 0);
  int GetToolCount() const;
  BOOL GetToolInfo(TOOLINFO& toolInfo, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
  void SetToolInfo(LPTOOLINFO lpToolInfo);
  void SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect);
  void GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
  void UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool = 0);
  void UpdateTipText(UINT nIDText, CWnd* pWnd, UINT_PTR nIDTool = 0);
  // The tool under a point of pWnd's client area; FALSE when there is none.
  BOOL HitTest(CWnd* pWnd, CPoint pt, LPTOOLINFO lpToolInfo) const;
  // The record that names a tool: the window and id as AddTool takes them, the size the control takes.
  void FillInToolInfo(TOOLINFO& ti, CWnd* pWnd, UINT_PTR nIDTool) const;

  // ---- showing ------------------------------------------------------------------------------------
  void Activate(BOOL bActivate);
  void RelayEvent(LPMSG lpMsg);
  void Pop();
  void Update();
  void SetDelayTime(UINT nDelay);
  void SetDelayTime(DWORD dwDuration, int iTime);
  int GetDelayTime(DWORD dwDuration) const;
  int SetMaxTipWidth(int iWidth);
  int GetMaxTipWidth() const;
  void SetTipBkColor(COLORREF clr);
  COLORREF GetTipBkColor() const;
  void SetTipTextColor(COLORREF clr);
  COLORREF GetTipTextColor() const;
  void SetMargin(LPRECT lprc);
  void GetMargin(LPRECT lprc) const;
  BOOL SetTitle(UINT uIcon, LPCTSTR lpstrTitle);
  void TrackActivate(BOOL bActivate, LPTOOLINFO lpToolInfo);
  void TrackPosition(int xPos, int yPos);
};
