// Message maps: the table of each command target that says which member handles which message,
// command or notification. A class declares its table with DECLARE_MESSAGE_MAP() and fills it with
// BEGIN_MESSAGE_MAP(class, base) ... END_MESSAGE_MAP(); a lookup searches the class's table, then its
// base's, up to CCmdTarget.
//
// Every ON_ macro converts the named member to the one member-pointer type its message is cracked
// into, so a handler with another signature does not compile (ON_WM_PAINT() needs void OnPaint()).
// The table keeps the handler type-erased together with a signature number (AfxSig) that the
// dispatcher uses to call it back with exactly that type.
#pragma once

#include <windows.h>

#include <cstring>

#include "platform/classlib/crect.h"
#include "platform/classlib/win/messages.h"

class CCmdTarget;
class CCmdUI;
class CWnd;
class CDC;
class CMenu;
class CScrollBar;

#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019  // the one entry of a parent that takes all WM_CTLCOLORxxx messages
#endif

#define afx_msg  // marks message handlers in class declarations

// Storage for any handler: a member pointer of CCmdTarget whose real type the signature number gives.
typedef void (CCmdTarget::*AFX_PMSG)();

// One row of a message map. The map ends with a row whose nSig is AfxSig_end.
struct AFX_MSGMAP_ENTRY {
  UINT nMessage;  // window message; WM_COMMAND / WM_NOTIFY for command and notification rows, plus
                  // WM_REFLECT_BASE for rows that a child takes back from its parent
  UINT nCode;     // notification code: CN_COMMAND, CN_UPDATE_COMMAND_UI, BN_CLICKED, NM_CLICK, ...
  UINT nID;       // first command or control id
  UINT nLastID;   // last id of a range (nID for a single id)
  UINT nSig;      // AfxSig: how the message is cracked into the handler's arguments
  AFX_PMSG pfn;   // the handler
  const UINT* pnMessage;  // ON_REGISTERED_MESSAGE: where the registered message number is kept
};

struct AFX_MSGMAP {
  const AFX_MSGMAP* (*pfnGetBaseMap)();  // null for CCmdTarget, the root
  const AFX_MSGMAP_ENTRY* lpEntries;
};

inline bool AfxIsCtlColorMessage(UINT message) {
  return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
}

// The reflected WM_CTLCOLORxxx a child receives: lParam points to this.
struct AFX_CTLCOLOR {
  HWND hWnd;
  HDC hDC;
  UINT nCtlType;  // CTLCOLOR_EDIT, CTLCOLOR_STATIC, ...
};

// The handler signatures: name, then the handler's function type.
#define CLASSLIB_SIGNATURES(X)                                       \
  /* commands and notifications (OnCmdMsg) */                        \
  X(cmd_v, void())                                                   \
  X(cmd_b, BOOL())                                                   \
  X(cmd_ex, BOOL(UINT))                                              \
  X(cmd_range, void(UINT))                                           \
  X(cmd_ui, void(CCmdUI*))                                           \
  X(notify, void(NMHDR*, LRESULT*))                                  \
  X(notify_b, BOOL(NMHDR*, LRESULT*))                                \
  X(notify_range, void(UINT, NMHDR*, LRESULT*))                      \
  X(notify_ex, BOOL(UINT, NMHDR*, LRESULT*))                         \
  /* window messages (OnWndMsg) */                                   \
  X(l_wl, LRESULT(WPARAM, LPARAM))                                   \
  X(v_v, void())                                                     \
  X(i_create, int(LPCREATESTRUCT))                                   \
  X(b_create, BOOL(LPCREATESTRUCT))                                  \
  X(v_size, void(UINT, int, int))                                    \
  X(v_mouse, void(UINT, CPoint))                                     \
  X(b_wheel, BOOL(UINT, short, CPoint))                              \
  X(b_dc, BOOL(CDC*))                                                \
  X(v_key, void(UINT, UINT, UINT))                                   \
  X(v_timer, void(UINT_PTR))                                         \
  X(b_setcursor, BOOL(CWnd*, UINT, UINT))                            \
  X(i_mouseactivate, int(CWnd*, UINT, UINT))                         \
  X(v_focus, void(CWnd*))                                            \
  X(v_capture, void(CWnd*))                                          \
  X(v_scroll, void(UINT, UINT, CScrollBar*))                         \
  X(l_hittest, LRESULT(CPoint))                                      \
  X(u_v, UINT())                                                     \
  X(v_nccalcsize, void(BOOL, NCCALCSIZE_PARAMS*))                    \
  X(v_windowpos, void(WINDOWPOS*))                                   \
  X(v_syscommand, void(UINT, LPARAM))                                \
  X(v_setting, void(UINT, LPCTSTR))                                  \
  X(b_b, BOOL(BOOL))                                                 \
  X(v_showwindow, void(BOOL, UINT))                                  \
  X(v_minmax, void(MINMAXINFO*))                                     \
  X(v_b, void(BOOL))                                                 \
  X(v_activateapp, void(BOOL, DWORD))                                \
  X(v_activate, void(UINT, CWnd*, BOOL))                             \
  X(v_initmenupopup, void(CMenu*, UINT, BOOL))                       \
  X(v_contextmenu, void(CWnd*, CPoint))                              \
  X(br_ctlcolor, HBRUSH(CDC*, CWnd*, UINT))                          \
  X(v_drawitem, void(int, LPDRAWITEMSTRUCT))                         \
  X(v_measureitem, void(int, LPMEASUREITEMSTRUCT))                   \
  X(i_compareitem, int(int, LPCOMPAREITEMSTRUCT))                    \
  X(v_deleteitem, void(int, LPDELETEITEMSTRUCT))                     \
  /* what a child takes back from its parent */                      \
  X(br_ctlcolor_reflect, HBRUSH(CDC*, UINT))                         \
  X(v_drawitem_reflect, void(LPDRAWITEMSTRUCT))                      \
  X(v_measureitem_reflect, void(LPMEASUREITEMSTRUCT))                \
  X(i_compareitem_reflect, int(LPCOMPAREITEMSTRUCT))                 \
  X(v_deleteitem_reflect, void(LPDELETEITEMSTRUCT))                  \
  X(v_scroll_reflect, void(UINT, UINT))

#define CLASSLIB_SIG_ENUM(name, ...) AfxSig_##name,
enum AfxSig : UINT { AfxSig_end = 0, CLASSLIB_SIGNATURES(CLASSLIB_SIG_ENUM) };
#undef CLASSLIB_SIG_ENUM

namespace afxsig {
#define CLASSLIB_SIG_TYPE(name, ...) using name = __VA_ARGS__;
CLASSLIB_SIGNATURES(CLASSLIB_SIG_TYPE)
#undef CLASSLIB_SIG_TYPE
}  // namespace afxsig

// Erases a handler to AFX_PMSG and calls it back. Member pointers all have one size, so the bytes of
// the typed pointer are kept as they are and copied back into the same type before the call.
template <class F>
struct AfxHandler;
template <class R, class... A>
struct AfxHandler<R(A...)> {
  template <class T>
  using In = R (T::*)(A...);

  template <class T>
  static AFX_PMSG Erase(In<T> pfn) {
    In<CCmdTarget> base = static_cast<In<CCmdTarget>>(pfn);
    AFX_PMSG stored;
    static_assert(sizeof base == sizeof stored, "member pointers of one size");
    std::memcpy(&stored, &base, sizeof stored);
    return stored;
  }

  template <class... P>
  static R Call(CCmdTarget* target, AFX_PMSG stored, P... args) {
    In<CCmdTarget> pfn;
    std::memcpy(&pfn, &stored, sizeof pfn);
    return (target->*pfn)(args...);
  }
};

#define DECLARE_MESSAGE_MAP()                        \
 public:                                             \
  static const AFX_MSGMAP* GetThisMessageMap();      \
                                                     \
 protected:                                          \
  const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                         \
  const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }    \
  const AFX_MSGMAP* theClass::GetThisMessageMap() {                                    \
    using ThisClass [[maybe_unused]] = theClass;                                       \
    using TheBaseClass = baseClass;                                                    \
    static const AFX_MSGMAP_ENTRY entries[] = {
#define END_MESSAGE_MAP()                                                              \
  {0, 0, 0, 0, AfxSig_end, nullptr, nullptr}};                                         \
    static const AFX_MSGMAP map = {&TheBaseClass::GetThisMessageMap, entries};        \
    return &map;                                                                       \
  }

#define CLASSLIB_ENTRY(message, code, id, lastId, sig, memberFn)                                 \
  {static_cast<UINT>(message), static_cast<UINT>(code), static_cast<UINT>(id),                  \
   static_cast<UINT>(lastId), AfxSig_##sig,                                                     \
   AfxHandler<afxsig::sig>::Erase<ThisClass>(&ThisClass::memberFn), nullptr},
#define CLASSLIB_WM(message, sig, memberFn) CLASSLIB_ENTRY(message, 0, 0, 0, sig, memberFn)

// ---- commands and their state ----------------------------------------------------------------------
#define ON_COMMAND(id, memberFn) CLASSLIB_ENTRY(WM_COMMAND, CN_COMMAND, id, id, cmd_v, memberFn)
#define ON_COMMAND_EX(id, memberFn) CLASSLIB_ENTRY(WM_COMMAND, CN_COMMAND, id, id, cmd_ex, memberFn)
#define ON_COMMAND_RANGE(id, idLast, memberFn) \
  CLASSLIB_ENTRY(WM_COMMAND, CN_COMMAND, id, idLast, cmd_range, memberFn)
#define ON_COMMAND_EX_RANGE(id, idLast, memberFn) \
  CLASSLIB_ENTRY(WM_COMMAND, CN_COMMAND, id, idLast, cmd_ex, memberFn)
#define ON_UPDATE_COMMAND_UI(id, memberFn) \
  CLASSLIB_ENTRY(WM_COMMAND, CN_UPDATE_COMMAND_UI, id, id, cmd_ui, memberFn)
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFn) \
  CLASSLIB_ENTRY(WM_COMMAND, CN_UPDATE_COMMAND_UI, id, idLast, cmd_ui, memberFn)
// A control answers the state request for its own id before its parent is asked.
#define ON_UPDATE_COMMAND_UI_REFLECT(memberFn) \
  CLASSLIB_ENTRY(WM_REFLECT_BASE + WM_COMMAND, CN_UPDATE_COMMAND_UI, 0, 0, cmd_ui, memberFn)

// ---- control notifications (WM_COMMAND) ------------------------------------------------------------
#define ON_CONTROL(code, id, memberFn) CLASSLIB_ENTRY(WM_COMMAND, code, id, id, cmd_v, memberFn)
#define ON_CONTROL_RANGE(code, id, idLast, memberFn) \
  CLASSLIB_ENTRY(WM_COMMAND, code, id, idLast, cmd_range, memberFn)
#define ON_CONTROL_REFLECT(code, memberFn) \
  CLASSLIB_ENTRY(WM_REFLECT_BASE + WM_COMMAND, code, 0, 0, cmd_v, memberFn)
// The handler answers FALSE to let the parent handle the notification too.
#define ON_CONTROL_REFLECT_EX(code, memberFn) \
  CLASSLIB_ENTRY(WM_REFLECT_BASE + WM_COMMAND, code, 0, 0, cmd_b, memberFn)

#define ON_BN_CLICKED(id, memberFn) ON_CONTROL(BN_CLICKED, id, memberFn)
#define ON_BN_DOUBLECLICKED(id, memberFn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFn)
#define ON_EN_CHANGE(id, memberFn) ON_CONTROL(EN_CHANGE, id, memberFn)
#define ON_EN_UPDATE(id, memberFn) ON_CONTROL(EN_UPDATE, id, memberFn)
#define ON_EN_SETFOCUS(id, memberFn) ON_CONTROL(EN_SETFOCUS, id, memberFn)
#define ON_EN_KILLFOCUS(id, memberFn) ON_CONTROL(EN_KILLFOCUS, id, memberFn)
#define ON_CBN_SELCHANGE(id, memberFn) ON_CONTROL(CBN_SELCHANGE, id, memberFn)
#define ON_CBN_SELENDOK(id, memberFn) ON_CONTROL(CBN_SELENDOK, id, memberFn)
#define ON_CBN_EDITCHANGE(id, memberFn) ON_CONTROL(CBN_EDITCHANGE, id, memberFn)
#define ON_CBN_DROPDOWN(id, memberFn) ON_CONTROL(CBN_DROPDOWN, id, memberFn)
#define ON_CBN_CLOSEUP(id, memberFn) ON_CONTROL(CBN_CLOSEUP, id, memberFn)
#define ON_LBN_SELCHANGE(id, memberFn) ON_CONTROL(LBN_SELCHANGE, id, memberFn)
#define ON_LBN_DBLCLK(id, memberFn) ON_CONTROL(LBN_DBLCLK, id, memberFn)
#define ON_STN_CLICKED(id, memberFn) ON_CONTROL(STN_CLICKED, id, memberFn)

// ---- notifications (WM_NOTIFY) ---------------------------------------------------------------------
#define ON_NOTIFY(code, id, memberFn) CLASSLIB_ENTRY(WM_NOTIFY, code, id, id, notify, memberFn)
#define ON_NOTIFY_RANGE(code, id, idLast, memberFn) \
  CLASSLIB_ENTRY(WM_NOTIFY, code, id, idLast, notify_range, memberFn)
#define ON_NOTIFY_EX(code, id, memberFn) CLASSLIB_ENTRY(WM_NOTIFY, code, id, id, notify_ex, memberFn)
#define ON_NOTIFY_EX_RANGE(code, id, idLast, memberFn) \
  CLASSLIB_ENTRY(WM_NOTIFY, code, id, idLast, notify_ex, memberFn)
#define ON_NOTIFY_REFLECT(code, memberFn) \
  CLASSLIB_ENTRY(WM_REFLECT_BASE + WM_NOTIFY, code, 0, 0, notify, memberFn)
#define ON_NOTIFY_REFLECT_EX(code, memberFn) \
  CLASSLIB_ENTRY(WM_REFLECT_BASE + WM_NOTIFY, code, 0, 0, notify_b, memberFn)

// ---- any message, cracked by the handler itself ----------------------------------------------------
#define ON_MESSAGE(message, memberFn) CLASSLIB_WM(message, l_wl, memberFn)
// The variable holds a number from RegisterWindowMessage; it is read at each lookup.
#define ON_REGISTERED_MESSAGE(messageVariable, memberFn)                       \
  {0xC000, 0, 0, 0, AfxSig_l_wl,                                              \
   AfxHandler<afxsig::l_wl>::Erase<ThisClass>(&ThisClass::memberFn), &(messageVariable)},

// ---- reflected to the child that sent them ---------------------------------------------------------
#define ON_WM_CTLCOLOR_REFLECT() CLASSLIB_WM(WM_REFLECT_BASE + WM_CTLCOLOR, br_ctlcolor_reflect, CtlColor)
#define ON_WM_DRAWITEM_REFLECT() CLASSLIB_WM(WM_REFLECT_BASE + WM_DRAWITEM, v_drawitem_reflect, DrawItem)
#define ON_WM_MEASUREITEM_REFLECT() \
  CLASSLIB_WM(WM_REFLECT_BASE + WM_MEASUREITEM, v_measureitem_reflect, MeasureItem)
#define ON_WM_COMPAREITEM_REFLECT() \
  CLASSLIB_WM(WM_REFLECT_BASE + WM_COMPAREITEM, i_compareitem_reflect, CompareItem)
#define ON_WM_DELETEITEM_REFLECT() \
  CLASSLIB_WM(WM_REFLECT_BASE + WM_DELETEITEM, v_deleteitem_reflect, DeleteItem)
#define ON_WM_HSCROLL_REFLECT() CLASSLIB_WM(WM_REFLECT_BASE + WM_HSCROLL, v_scroll_reflect, HScroll)
#define ON_WM_VSCROLL_REFLECT() CLASSLIB_WM(WM_REFLECT_BASE + WM_VSCROLL, v_scroll_reflect, VScroll)

// ---- window messages: each names its handler and signature -----------------------------------------
#define ON_WM_CREATE() CLASSLIB_WM(WM_CREATE, i_create, OnCreate)
#define ON_WM_NCCREATE() CLASSLIB_WM(WM_NCCREATE, b_create, OnNcCreate)
#define ON_WM_DESTROY() CLASSLIB_WM(WM_DESTROY, v_v, OnDestroy)
#define ON_WM_NCDESTROY() CLASSLIB_WM(WM_NCDESTROY, v_v, OnNcDestroy)
#define ON_WM_CLOSE() CLASSLIB_WM(WM_CLOSE, v_v, OnClose)
#define ON_WM_PAINT() CLASSLIB_WM(WM_PAINT, v_v, OnPaint)
#define ON_WM_NCPAINT() CLASSLIB_WM(WM_NCPAINT, v_v, OnNcPaint)
#define ON_WM_ERASEBKGND() CLASSLIB_WM(WM_ERASEBKGND, b_dc, OnEraseBkgnd)
#define ON_WM_SIZE() CLASSLIB_WM(WM_SIZE, v_size, OnSize)
#define ON_WM_TIMER() CLASSLIB_WM(WM_TIMER, v_timer, OnTimer)
#define ON_WM_SYSCOLORCHANGE() CLASSLIB_WM(WM_SYSCOLORCHANGE, v_v, OnSysColorChange)
#define ON_WM_SETTINGCHANGE() CLASSLIB_WM(WM_SETTINGCHANGE, v_setting, OnSettingChange)
#define ON_WM_CANCELMODE() CLASSLIB_WM(WM_CANCELMODE, v_v, OnCancelMode)
#define ON_WM_MOUSELEAVE() CLASSLIB_WM(WM_MOUSELEAVE, v_v, OnMouseLeave)
#define ON_WM_MOUSEHOVER() CLASSLIB_WM(WM_MOUSEHOVER, v_mouse, OnMouseHover)
#define ON_WM_MOUSEMOVE() CLASSLIB_WM(WM_MOUSEMOVE, v_mouse, OnMouseMove)
#define ON_WM_LBUTTONDOWN() CLASSLIB_WM(WM_LBUTTONDOWN, v_mouse, OnLButtonDown)
#define ON_WM_LBUTTONUP() CLASSLIB_WM(WM_LBUTTONUP, v_mouse, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() CLASSLIB_WM(WM_LBUTTONDBLCLK, v_mouse, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() CLASSLIB_WM(WM_RBUTTONDOWN, v_mouse, OnRButtonDown)
#define ON_WM_RBUTTONUP() CLASSLIB_WM(WM_RBUTTONUP, v_mouse, OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() CLASSLIB_WM(WM_RBUTTONDBLCLK, v_mouse, OnRButtonDblClk)
#define ON_WM_MBUTTONDOWN() CLASSLIB_WM(WM_MBUTTONDOWN, v_mouse, OnMButtonDown)
#define ON_WM_MBUTTONUP() CLASSLIB_WM(WM_MBUTTONUP, v_mouse, OnMButtonUp)
#define ON_WM_MBUTTONDBLCLK() CLASSLIB_WM(WM_MBUTTONDBLCLK, v_mouse, OnMButtonDblClk)
#define ON_WM_MOUSEWHEEL() CLASSLIB_WM(WM_MOUSEWHEEL, b_wheel, OnMouseWheel)
#define ON_WM_NCMOUSEMOVE() CLASSLIB_WM(WM_NCMOUSEMOVE, v_mouse, OnNcMouseMove)
#define ON_WM_NCLBUTTONDOWN() CLASSLIB_WM(WM_NCLBUTTONDOWN, v_mouse, OnNcLButtonDown)
#define ON_WM_NCLBUTTONUP() CLASSLIB_WM(WM_NCLBUTTONUP, v_mouse, OnNcLButtonUp)
#define ON_WM_NCLBUTTONDBLCLK() CLASSLIB_WM(WM_NCLBUTTONDBLCLK, v_mouse, OnNcLButtonDblClk)
#define ON_WM_NCRBUTTONDOWN() CLASSLIB_WM(WM_NCRBUTTONDOWN, v_mouse, OnNcRButtonDown)
#define ON_WM_NCMBUTTONDBLCLK() CLASSLIB_WM(WM_NCMBUTTONDBLCLK, v_mouse, OnNcMButtonDblClk)
#define ON_WM_NCHITTEST() CLASSLIB_WM(WM_NCHITTEST, l_hittest, OnNcHitTest)
#define ON_WM_NCCALCSIZE() CLASSLIB_WM(WM_NCCALCSIZE, v_nccalcsize, OnNcCalcSize)
#define ON_WM_NCACTIVATE() CLASSLIB_WM(WM_NCACTIVATE, b_b, OnNcActivate)
#define ON_WM_KEYDOWN() CLASSLIB_WM(WM_KEYDOWN, v_key, OnKeyDown)
#define ON_WM_KEYUP() CLASSLIB_WM(WM_KEYUP, v_key, OnKeyUp)
#define ON_WM_CHAR() CLASSLIB_WM(WM_CHAR, v_key, OnChar)
#define ON_WM_SYSKEYDOWN() CLASSLIB_WM(WM_SYSKEYDOWN, v_key, OnSysKeyDown)
#define ON_WM_SYSKEYUP() CLASSLIB_WM(WM_SYSKEYUP, v_key, OnSysKeyUp)
#define ON_WM_SETCURSOR() CLASSLIB_WM(WM_SETCURSOR, b_setcursor, OnSetCursor)
#define ON_WM_MOUSEACTIVATE() CLASSLIB_WM(WM_MOUSEACTIVATE, i_mouseactivate, OnMouseActivate)
#define ON_WM_SETFOCUS() CLASSLIB_WM(WM_SETFOCUS, v_focus, OnSetFocus)
#define ON_WM_KILLFOCUS() CLASSLIB_WM(WM_KILLFOCUS, v_focus, OnKillFocus)
#define ON_WM_CAPTURECHANGED() CLASSLIB_WM(WM_CAPTURECHANGED, v_capture, OnCaptureChanged)
#define ON_WM_HSCROLL() CLASSLIB_WM(WM_HSCROLL, v_scroll, OnHScroll)
#define ON_WM_VSCROLL() CLASSLIB_WM(WM_VSCROLL, v_scroll, OnVScroll)
#define ON_WM_GETDLGCODE() CLASSLIB_WM(WM_GETDLGCODE, u_v, OnGetDlgCode)
#define ON_WM_WINDOWPOSCHANGING() CLASSLIB_WM(WM_WINDOWPOSCHANGING, v_windowpos, OnWindowPosChanging)
#define ON_WM_WINDOWPOSCHANGED() CLASSLIB_WM(WM_WINDOWPOSCHANGED, v_windowpos, OnWindowPosChanged)
#define ON_WM_SYSCOMMAND() CLASSLIB_WM(WM_SYSCOMMAND, v_syscommand, OnSysCommand)
#define ON_WM_SHOWWINDOW() CLASSLIB_WM(WM_SHOWWINDOW, v_showwindow, OnShowWindow)
#define ON_WM_GETMINMAXINFO() CLASSLIB_WM(WM_GETMINMAXINFO, v_minmax, OnGetMinMaxInfo)
#define ON_WM_ENABLE() CLASSLIB_WM(WM_ENABLE, v_b, OnEnable)
#define ON_WM_ACTIVATEAPP() CLASSLIB_WM(WM_ACTIVATEAPP, v_activateapp, OnActivateApp)
#define ON_WM_ACTIVATE() CLASSLIB_WM(WM_ACTIVATE, v_activate, OnActivate)
#define ON_WM_INITMENUPOPUP() CLASSLIB_WM(WM_INITMENUPOPUP, v_initmenupopup, OnInitMenuPopup)
#define ON_WM_CONTEXTMENU() CLASSLIB_WM(WM_CONTEXTMENU, v_contextmenu, OnContextMenu)
// One entry for WM_CTLCOLORMSGBOX ... WM_CTLCOLORSTATIC; the handler gets CTLCOLOR_xxx.
#define ON_WM_CTLCOLOR() CLASSLIB_WM(WM_CTLCOLOR, br_ctlcolor, OnCtlColor)
#define ON_WM_DRAWITEM() CLASSLIB_WM(WM_DRAWITEM, v_drawitem, OnDrawItem)
#define ON_WM_MEASUREITEM() CLASSLIB_WM(WM_MEASUREITEM, v_measureitem, OnMeasureItem)
#define ON_WM_COMPAREITEM() CLASSLIB_WM(WM_COMPAREITEM, i_compareitem, OnCompareItem)
#define ON_WM_DELETEITEM() CLASSLIB_WM(WM_DELETEITEM, v_deleteitem, OnDeleteItem)
