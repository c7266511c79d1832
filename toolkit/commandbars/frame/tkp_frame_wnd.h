// CTKPFrameWnd: the frame that holds command bars. It owns one command-bars manager (made by the derived
// frame in its creation handler, released when the frame goes) and lets it see messages first: every
// pre-translated message and every window message, so that mnemonics, the shortcut manager's
// accelerators, system colour changes and the toolkit's control notifications work in every frame.
#pragma once

#include "platform/classlib/win/cframewnd.h"

class CTKPCommandBars;

class CTKPFrameWnd : public CFrameWnd {
  DECLARE_DYNCREATE(CTKPFrameWnd)

 public:
  CTKPFrameWnd() = default;
  // Releases the command bars: they outlive every bar window of the frame.
  ~CTKPFrameWnd() override;

  CTKPCommandBars* GetCommandBars() const { return m_pCommandBars; }

  // With a shortcut manager that holds a table, the frame's own accelerators go: only it translates.
  BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                 CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  void OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState) override;

 protected:
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

  CTKPCommandBars* m_pCommandBars = nullptr;  // one reference
};
