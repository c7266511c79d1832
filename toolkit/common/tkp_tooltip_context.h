// CTKPToolTipContext: the tooltips of a toolkit window. The owner forwards its mouse and keyboard
// messages to FilterToolTipMessage, and its OnToolHitTest describes the tool under a point with
// FillInToolInfo. The context makes a tip window of its style (0 the system's control, 1 its balloon,
// 2 drawn, 3 rich text, 4 drawn with a gradient), feeds it the tool, and shows or hides it.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "platform/classlib/win/ccmdtarget.h"
#include "platform/classlib/win/ctooltipctrl.h"
#include "platform/classlib/win/cwnd.h"

// The toolkit asks a window under the pointer whether it belongs to its bar (stands for its parent): an
// edit answers TRUE.
constexpr UINT TKP_WM_ISBARCHILD = 0x2A48;

// The system control, whose window-from-point answer treats a child that stands for its parent as the
// parent (the command bars' windows).
class CTKPToolTipCtrlEx : public CToolTipCtrl {
 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class CTKPToolTipContext : public CCmdTarget {
 public:
  // A tool with a title carries this record behind its lParam: [0] the description, [1] the title.
  enum { kDescription = 0, kTitle = 1 };

  CTKPToolTipContext();
  ~CTKPToolTipContext() override;

  // Nothing without tool information; the text (and, for the larger record with both given, the title
  // and description) are copied for the context, which frees them.
  static void FillInToolInfo(TOOLINFO* pToolInfo, HWND hWnd, CRect rect, INT_PTR nHit, const CString& strToolTip,
                             const CString& strTitle = CString(), const CString& strDescription = CString());
  void FilterToolTipMessage(CWnd* pOwner, UINT message, WPARAM wParam, LPARAM lParam);
  void CancelToolTips();
  void ModifyToolTipStyle(DWORD dwRemove, DWORD dwAdd);
  virtual CWnd* CreateToolTip(CWnd* pParent);

  CWnd* GetToolTip() const { return m_pToolTip; }

  // Set directly by the owners.
  BOOL m_bShowTitle = FALSE;
  int m_nStyle = 0;
  DWORD m_dwComCtlVersion = 0;
  int m_nTitleIcon = TTI_INFO;
  int m_nMaxTipWidth = 0;
  DWORD m_dwControlStyle = TTS_NOPREFIX;
  CRect m_rcMargin{0, 0, 0, 0};
  int m_nInitialDelay = -1;
  int m_nReshowDelay = -1;
  int m_nAutoPopDelay = -1;
  COLORREF m_clrBack = static_cast<COLORREF>(-1);
  COLORREF m_clrText = static_cast<COLORREF>(-1);

 private:
  void DeleteToolTip();
  void SetUpNewTip();
  // The owner's mouse message (with the cursor's screen position) against the tool under it.
  void FilterToolTipMessageCore(CWnd* pOwner, const MSG& msg);
  void RelayToolTipMessage(const MSG& msg);
  static void FreeStrings(TOOLINFO& ti);

  CWnd* m_pToolTip = nullptr;
  TOOLINFO m_lastTool{};
  INT_PTR m_nLastHit = -1;  // what the owner's hit test answered last time (-1 a miss)
};
