#include "toolkit/commandbars/frame/tkp_frame_wnd.h"

#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/state/tkp_shortcut_manager.h"

IMPLEMENT_DYNCREATE(CTKPFrameWnd, CFrameWnd)

CTKPFrameWnd::~CTKPFrameWnd() {
  if (m_pCommandBars != nullptr) m_pCommandBars->InternalRelease();
  m_pCommandBars = nullptr;
}

BOOL CTKPFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext) {
  // The frame may end inside CFrameWnd::LoadFrame (a failed creation deletes it): nothing of it is
  // touched then.
  const BOOL loaded = CFrameWnd::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext);
  if (loaded && m_pCommandBars != nullptr && m_pCommandBars->GetShortcutManager()->GetAcceleratorTable() != nullptr) {
    m_hAccelTable = nullptr;
  }
  return loaded;
}

BOOL CTKPFrameWnd::PreTranslateMessage(MSG* pMsg) {
  if (TKPIsKeyMessage(pMsg->message) && pMsg->wParam != VK_RETURN &&
      pMsg->wParam != VK_TAB && pMsg->wParam != VK_ESCAPE && TKPCommandBarEditWithFocus() != nullptr) {
    return FALSE;
  }
  if (CFrameWnd::PreTranslateMessage(pMsg)) return TRUE;
  return m_pCommandBars != nullptr && m_pCommandBars->PreTranslateFrameMessage(pMsg);
}

BOOL CTKPFrameWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (m_pCommandBars != nullptr && m_pCommandBars->OnFrameWndMsg(message, wParam, lParam, pResult)) return TRUE;
  if (message == TKP_WM_CONTROLNOTIFY) {
    // The toolkit's control notification reaches the frame's, view's and document's notify handlers.
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header == nullptr) return FALSE;
    LRESULT result = 0;
    AFX_NOTIFY notify{&result, header};
    if (!OnCmdMsg(static_cast<UINT>(header->idFrom), MAKELONG(header->code, WM_NOTIFY), &notify, nullptr)) {
      return FALSE;
    }
    if (pResult != nullptr) *pResult = result;
    return TRUE;
  }
  return CFrameWnd::OnWndMsg(message, wParam, lParam, pResult);
}

void CTKPFrameWnd::OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState) {
  if (m_pCommandBars != nullptr) m_pCommandBars->SetPreviewMode(bPreview);
  CFrameWnd::OnSetPreviewMode(bPreview, pState);
}
