// The class library's own window messages, command codes and the few standard ids that its
// application class uses. The values are the ones the program and the toolkit send and expect.
#pragma once

#include <windows.h>

// Messages between the library's windows (all below WM_USER, so no control uses them).
constexpr UINT WM_SIZEPARENT = 0x0361;        // a frame lays out its children (lParam: the layout record)
constexpr UINT WM_SETMESSAGESTRING = 0x0362;  // status text: wParam a string id, or lParam the text
constexpr UINT WM_IDLEUPDATECMDUI = 0x0363;   // idle update of command states (wParam: disable if no handler)
constexpr UINT WM_INITIALUPDATE = 0x0364;     // a view's first update
constexpr UINT WM_HELPHITTEST = 0x0366;       // context help id under a point
constexpr UINT WM_KICKIDLE = 0x036A;          // a modal loop's idle turn
constexpr UINT WM_FLOATSTATUS = 0x036D;       // a floating window follows its frame's activation
constexpr UINT WM_POPMESSAGESTRING = 0x0375;  // status text back to the idle prompt

// WM_FLOATSTATUS (wParam): what a frame tells the floating windows it owns. A window with
// MFS_SYNCACTIVE answers TRUE to FS_SYNCACTIVE: its frame then keeps looking active while it is.
constexpr WPARAM FS_SHOW = 0x01;
constexpr WPARAM FS_HIDE = 0x02;
constexpr WPARAM FS_ACTIVATE = 0x04;
constexpr WPARAM FS_DEACTIVATE = 0x08;
constexpr WPARAM FS_ENABLE = 0x10;
constexpr WPARAM FS_DISABLE = 0x20;
constexpr WPARAM FS_SYNCACTIVE = 0x40;

// A parent hands a child's notification back to the child as WM_REFLECT_BASE + the message.
constexpr UINT WM_REFLECT_BASE = 0xBC00;

// The command code of OnCmdMsg: CN_COMMAND runs a command, CN_UPDATE_COMMAND_UI asks for its state;
// otherwise MAKELONG(notification code, WM_COMMAND or WM_NOTIFY, plus WM_REFLECT_BASE when reflected).
constexpr int CN_COMMAND = 0;
constexpr int CN_UPDATE_COMMAND_UI = -1;

// The extra argument of OnCmdMsg for WM_NOTIFY codes.
struct AFX_NOTIFY {
  LRESULT* pResult;
  NMHDR* pNMHDR;
};

// The standard ids (ID_FILE_NEW, AFX_IDS_APP_TITLE, AFX_IDW_PANE_FIRST ...).
#include "platform/classlib/win/stdids.h"
