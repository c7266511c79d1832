#include "toolkit/commandbars/frame/tkp_frame_wnd.h"

#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/state/tkp_shortcut_manager.h"

IMPLEMENT_DYNCREATE(CTKPFrameWnd, CFrameWnd)
IMPLEMENT_DYNCREATE(CTKPMDIFrameWnd, CMDIFrameWnd)

static_assert(CTKPFrameBase<CFrameWnd>::TKP_WM_CONTROLNOTIFY_FRAME == TKP_WM_CONTROLNOTIFY);

namespace tkp_frame {

void Release(CTKPCommandBars*& pCommandBars) {
  if (pCommandBars != nullptr) pCommandBars->InternalRelease();
  pCommandBars = nullptr;
}

void DropOwnAccelerators(CTKPCommandBars* pCommandBars, HACCEL& hAccelTable) {
  // A manager that took the resource's shortcuts rules them even when the user removed every one: its
  // table is then empty, and the frame's own copy of the resource's must not bring them back.
  const CTKPShortcutManager* shortcuts = pCommandBars != nullptr ? pCommandBars->GetShortcutManager() : nullptr;
  if (shortcuts != nullptr && (shortcuts->GetAcceleratorTable() != nullptr || shortcuts->GetResourceTable() != nullptr)) {
    hAccelTable = nullptr;
  }
}

BOOL KeyForFocusedEdit(const MSG* pMsg) {
  return TKPIsKeyMessage(pMsg->message) && pMsg->wParam != VK_RETURN && pMsg->wParam != VK_TAB &&
         pMsg->wParam != VK_ESCAPE && TKPCommandBarEditWithFocus() != nullptr;
}

BOOL PreTranslate(CTKPCommandBars* pCommandBars, MSG* pMsg) {
  return pCommandBars != nullptr && pCommandBars->PreTranslateFrameMessage(pMsg);
}

BOOL OnWndMsg(CTKPCommandBars* pCommandBars, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  return pCommandBars != nullptr && pCommandBars->OnFrameWndMsg(message, wParam, lParam, pResult);
}

void SetPreviewMode(CTKPCommandBars* pCommandBars, BOOL bPreview) {
  if (pCommandBars != nullptr) pCommandBars->SetPreviewMode(bPreview);
}

}  // namespace tkp_frame
