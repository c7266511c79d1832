// CWnd's message dispatch: the window procedure's call into the message map, and the cracking of each
// message into its handler's arguments.
#include "platform/classlib/win/cdc.h"
#include "platform/classlib/win/cmenu.h"
#include "platform/classlib/win/cwnd.h"
#include "platform/classlib/win/threadstate.h"

#define CLASSLIB_CALL(sig) AfxHandler<afxsig::sig>::Call

namespace {

CPoint PointOf(LPARAM lParam) { return CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))); }

template <class T>
T* PointerOf(LPARAM lParam) {
  return reinterpret_cast<T*>(lParam);
}

CWnd* WndOf(UINT_PTR handle) { return CWnd::FromHandle(reinterpret_cast<HWND>(handle)); }

}  // namespace

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
  return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_pfnSuper != nullptr) return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
  return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
  const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
  return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

const MSG* CWnd::GetCurrentMessage() { return &AfxGetThreadState()->m_lastSentMsg; }

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  LRESULT result = 0;
  BOOL handled = FALSE;
  if (message == WM_COMMAND) {
    handled = OnCommand(wParam, lParam);
  } else if (message == WM_NOTIFY) {
    handled = OnNotify(wParam, lParam, &result);
  } else {
    // The system tells only top-level windows; their children need it as much (colours, metrics).
    if ((message == WM_SYSCOLORCHANGE || message == WM_SETTINGCHANGE) && (GetStyle() & WS_CHILD) == 0) {
      SendMessageToDescendants(message, wParam, lParam, TRUE, FALSE);
    }
    // One row (WM_CTLCOLOR) takes every WM_CTLCOLORxxx.
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(AfxIsCtlColorMessage(message) ? WM_CTLCOLOR : message, 0, 0);
    HWND child = nullptr;
    if (entry != nullptr) {
      result = DispatchWindowMessage(*entry, message, wParam, lParam);
      // A reflected colour request answered with no brush is left to the parent.
      handled = entry->nSig != AfxSig_br_ctlcolor_reflect || result != 0;
    } else if (FindReflectTarget(m_hWnd, message, wParam, lParam, &child)) {
      handled = ReflectMessage(child, message, wParam, lParam, &result);
    }
  }
  if (pResult != nullptr) *pResult = result;
  return handled;
}

LRESULT CWnd::DispatchWindowMessage(const AFX_MSGMAP_ENTRY& entry, UINT message, WPARAM wParam,
                                    LPARAM lParam) {
  AFX_PMSG pfn = entry.pfn;
  switch (entry.nSig) {
    case AfxSig_l_wl:
      return CLASSLIB_CALL(l_wl)(this, pfn, wParam, lParam);
    case AfxSig_v_v:
      CLASSLIB_CALL(v_v)(this, pfn);
      return 0;
    case AfxSig_i_create:
      return CLASSLIB_CALL(i_create)(this, pfn, PointerOf<CREATESTRUCT>(lParam));
    case AfxSig_b_create:
      return CLASSLIB_CALL(b_create)(this, pfn, PointerOf<CREATESTRUCT>(lParam));
    case AfxSig_v_size:
      CLASSLIB_CALL(v_size)(this, pfn, static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
      return 0;
    case AfxSig_v_mouse:
      CLASSLIB_CALL(v_mouse)(this, pfn, static_cast<UINT>(wParam), PointOf(lParam));
      return 0;
    case AfxSig_b_wheel:
      return CLASSLIB_CALL(b_wheel)(this, pfn, LOWORD(wParam), static_cast<short>(HIWORD(wParam)),
                                    PointOf(lParam));
    case AfxSig_b_dc:
      return CLASSLIB_CALL(b_dc)(this, pfn, CDC::FromHandle(reinterpret_cast<HDC>(wParam)));
    case AfxSig_v_key:
      CLASSLIB_CALL(v_key)(this, pfn, static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
      return 0;
    case AfxSig_v_timer:
      CLASSLIB_CALL(v_timer)(this, pfn, static_cast<UINT_PTR>(wParam));
      return 0;
    case AfxSig_b_setcursor:
      return CLASSLIB_CALL(b_setcursor)(this, pfn, WndOf(wParam), LOWORD(lParam), HIWORD(lParam));
    case AfxSig_i_mouseactivate:
      return CLASSLIB_CALL(i_mouseactivate)(this, pfn, WndOf(wParam), LOWORD(lParam), HIWORD(lParam));
    case AfxSig_v_focus:
      CLASSLIB_CALL(v_focus)(this, pfn, WndOf(wParam));
      return 0;
    case AfxSig_v_capture:
      CLASSLIB_CALL(v_capture)(this, pfn, WndOf(static_cast<UINT_PTR>(lParam)));
      return 0;
    case AfxSig_v_scroll:
      CLASSLIB_CALL(v_scroll)(this, pfn, LOWORD(wParam), HIWORD(wParam),
                              CScrollBar::FromHandle(reinterpret_cast<HWND>(lParam)));
      return 0;
    case AfxSig_l_hittest:
      return CLASSLIB_CALL(l_hittest)(this, pfn, PointOf(lParam));
    case AfxSig_u_v:
      return CLASSLIB_CALL(u_v)(this, pfn);
    case AfxSig_v_nccalcsize:
      CLASSLIB_CALL(v_nccalcsize)(this, pfn, static_cast<BOOL>(wParam), PointerOf<NCCALCSIZE_PARAMS>(lParam));
      return 0;
    case AfxSig_v_windowpos:
      CLASSLIB_CALL(v_windowpos)(this, pfn, PointerOf<WINDOWPOS>(lParam));
      return 0;
    case AfxSig_v_syscommand:
      CLASSLIB_CALL(v_syscommand)(this, pfn, static_cast<UINT>(wParam), lParam);
      return 0;
    case AfxSig_v_setting:
      CLASSLIB_CALL(v_setting)(this, pfn, static_cast<UINT>(wParam), PointerOf<const TCHAR>(lParam));
      return 0;
    case AfxSig_b_b:
      return CLASSLIB_CALL(b_b)(this, pfn, static_cast<BOOL>(wParam));
    case AfxSig_v_showwindow:
      CLASSLIB_CALL(v_showwindow)(this, pfn, static_cast<BOOL>(wParam), static_cast<UINT>(lParam));
      return 0;
    case AfxSig_v_minmax:
      CLASSLIB_CALL(v_minmax)(this, pfn, PointerOf<MINMAXINFO>(lParam));
      return 0;
    case AfxSig_v_b:
      CLASSLIB_CALL(v_b)(this, pfn, static_cast<BOOL>(wParam));
      return 0;
    case AfxSig_v_activateapp:
      CLASSLIB_CALL(v_activateapp)(this, pfn, static_cast<BOOL>(wParam), static_cast<DWORD>(lParam));
      return 0;
    case AfxSig_v_activate:
      CLASSLIB_CALL(v_activate)(this, pfn, LOWORD(wParam), WndOf(static_cast<UINT_PTR>(lParam)), HIWORD(wParam));
      return 0;
    case AfxSig_v_initmenupopup:
      CLASSLIB_CALL(v_initmenupopup)(this, pfn, CMenu::FromHandle(reinterpret_cast<HMENU>(wParam)),
                                     LOWORD(lParam), HIWORD(lParam));
      return 0;
    case AfxSig_v_contextmenu:
      CLASSLIB_CALL(v_contextmenu)(this, pfn, WndOf(wParam), PointOf(lParam));
      return 0;
    case AfxSig_br_ctlcolor:
      return reinterpret_cast<LRESULT>(CLASSLIB_CALL(br_ctlcolor)(this, pfn, CDC::FromHandle(reinterpret_cast<HDC>(wParam)),
                                                                  WndOf(static_cast<UINT_PTR>(lParam)),
                                                                  message - WM_CTLCOLORMSGBOX));
    case AfxSig_v_drawitem:
      CLASSLIB_CALL(v_drawitem)(this, pfn, static_cast<int>(wParam), PointerOf<DRAWITEMSTRUCT>(lParam));
      return TRUE;
    case AfxSig_v_measureitem:
      CLASSLIB_CALL(v_measureitem)(this, pfn, static_cast<int>(wParam), PointerOf<MEASUREITEMSTRUCT>(lParam));
      return TRUE;
    case AfxSig_i_compareitem:
      return CLASSLIB_CALL(i_compareitem)(this, pfn, static_cast<int>(wParam), PointerOf<COMPAREITEMSTRUCT>(lParam));
    case AfxSig_v_deleteitem:
      CLASSLIB_CALL(v_deleteitem)(this, pfn, static_cast<int>(wParam), PointerOf<DELETEITEMSTRUCT>(lParam));
      return TRUE;
    case AfxSig_br_ctlcolor_reflect: {
      auto* request = PointerOf<AFX_CTLCOLOR>(lParam);
      return reinterpret_cast<LRESULT>(
          CLASSLIB_CALL(br_ctlcolor_reflect)(this, pfn, CDC::FromHandle(request->hDC), request->nCtlType));
    }
    case AfxSig_v_drawitem_reflect:
      CLASSLIB_CALL(v_drawitem_reflect)(this, pfn, PointerOf<DRAWITEMSTRUCT>(lParam));
      return TRUE;
    case AfxSig_v_measureitem_reflect:
      CLASSLIB_CALL(v_measureitem_reflect)(this, pfn, PointerOf<MEASUREITEMSTRUCT>(lParam));
      return TRUE;
    case AfxSig_i_compareitem_reflect:
      return CLASSLIB_CALL(i_compareitem_reflect)(this, pfn, PointerOf<COMPAREITEMSTRUCT>(lParam));
    case AfxSig_v_deleteitem_reflect:
      CLASSLIB_CALL(v_deleteitem_reflect)(this, pfn, PointerOf<DELETEITEMSTRUCT>(lParam));
      return TRUE;
    case AfxSig_v_scroll_reflect:
      CLASSLIB_CALL(v_scroll_reflect)(this, pfn, LOWORD(wParam), HIWORD(wParam));
      return 0;
    default:
      return 0;  // a command row never reaches here: OnWndMsg gives commands to OnCmdMsg
  }
}
