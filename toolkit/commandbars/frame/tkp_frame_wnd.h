// CTKPFrameWnd and CTKPMDIFrameWnd: the frames that hold command bars. Each owns one command-bars manager
// (made by the derived frame in its creation handler, released when the frame goes) and lets it see
// messages first: every pre-translated message and every window message, so that mnemonics, the shortcut
// manager's accelerators, system colour changes and the toolkit's control notifications work in every
// frame. Both are one template over their class-library frame.
#pragma once

#include "platform/classlib/win/cframewnd.h"
#include "platform/classlib/win/cmdiframewnd.h"
#include "platform/classlib/win/messages.h"

class CTKPCommandBars;

// The manager's parts of the frame, out of line so that this header needs only its name.
namespace tkp_frame {
void Release(CTKPCommandBars*& pCommandBars);
// With a shortcut manager that holds a table, or took the resource's and had them all removed, the
// frame's own accelerators go: only the manager translates.
void DropOwnAccelerators(CTKPCommandBars* pCommandBars, HACCEL& hAccelTable);
// TRUE: a key for a focused command-bar edit that the frame must not translate.
BOOL KeyForFocusedEdit(const MSG* pMsg);
BOOL PreTranslate(CTKPCommandBars* pCommandBars, MSG* pMsg);
BOOL OnWndMsg(CTKPCommandBars* pCommandBars, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
void SetPreviewMode(CTKPCommandBars* pCommandBars, BOOL bPreview);
}  // namespace tkp_frame

template <class BASE>
class CTKPFrameBase : public BASE {
 public:
  // Releases the command bars: they outlive every bar window of the frame.
  ~CTKPFrameBase() override { tkp_frame::Release(m_pCommandBars); }

  CTKPCommandBars* GetCommandBars() const { return m_pCommandBars; }

  BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                 CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override {
    // The frame may end inside the base LoadFrame (a failed creation deletes it): nothing of it is
    // touched then.
    const BOOL loaded = BASE::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext);
    if (loaded) tkp_frame::DropOwnAccelerators(m_pCommandBars, this->m_hAccelTable);
    return loaded;
  }
  BOOL PreTranslateMessage(MSG* pMsg) override {
    if (tkp_frame::KeyForFocusedEdit(pMsg)) return FALSE;
    if (BASE::PreTranslateMessage(pMsg)) return TRUE;
    return tkp_frame::PreTranslate(m_pCommandBars, pMsg);
  }
  void OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState) override {
    tkp_frame::SetPreviewMode(m_pCommandBars, bPreview);
    BASE::OnSetPreviewMode(bPreview, pState);
  }

 protected:
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override {
    if (tkp_frame::OnWndMsg(m_pCommandBars, message, wParam, lParam, pResult)) return TRUE;
    if (message == TKP_WM_CONTROLNOTIFY_FRAME) {
      // The toolkit's control notification reaches the frame's, view's and document's notify handlers.
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header == nullptr) return FALSE;
      LRESULT result = 0;
      AFX_NOTIFY notify{&result, header};
      if (!this->OnCmdMsg(static_cast<UINT>(header->idFrom), MAKELONG(header->code, WM_NOTIFY), &notify, nullptr)) {
        return FALSE;
      }
      if (pResult != nullptr) *pResult = result;
      return TRUE;
    }
    return BASE::OnWndMsg(message, wParam, lParam, pResult);
  }

  CTKPCommandBars* m_pCommandBars = nullptr;  // one reference

 public:
  // The control notification (0x2862), as the manager's header names it.
  static constexpr UINT TKP_WM_CONTROLNOTIFY_FRAME = 0x2862;
};

class CTKPFrameWnd : public CTKPFrameBase<CFrameWnd> {
  DECLARE_DYNCREATE(CTKPFrameWnd)

 public:
  CTKPFrameWnd() = default;
};

class CTKPMDIFrameWnd : public CTKPFrameBase<CMDIFrameWnd> {
  DECLARE_DYNCREATE(CTKPMDIFrameWnd)

 public:
  CTKPMDIFrameWnd() = default;
  // A main frame's style by default: a child style without a parent is refused by the system.
  BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                 CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override {
    return CTKPFrameBase<CMDIFrameWnd>::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext);
  }
};
