// HtmlMessageBox: the program's own message box. It takes the platform box's arguments plus a parameter
// block, and shows the text as markup (escape inserted names and paths with msgbox::EscapeMarkup). Called
// from any thread: a worker's box is shown on the user-interface thread while the worker waits.
#pragma once

#include <windows.h>

#include <string>

#include "ui/msgbox/message_box_params.h"

// Answers the number of the pressed button (with 0x02000000 added when the "Do not show again" box was
// ticked and the style holds that bit), a stored "Do not show again" answer, or 2 when the dialog could
// not be made. params: null for every default; its owner, message text, caption and style are replaced
// by the arguments.
int HtmlMessageBox(HWND owner, const std::u16string& text, const std::u16string& caption, UINT style,
                   const MessageBoxParams* params = nullptr);

namespace msgbox {

// The message a drawer sends the box when it needs a repaint (its hovered link changed).
constexpr UINT kDrawerRepaintMessage = WM_APP + 100;

// Boxes asked for on another thread are shown on the thread of this window (the main window) and owned
// by it; before it is attached, and after it is detached, every box is shown on its caller's thread.
// Attach and detach on the main window's thread; a worker waiting for an answer holds that thread's
// attention, so the main window's thread never waits for a worker while one can ask.
void AttachToMainWindow(HWND mainWindow);
void DetachFromMainWindow();

}  // namespace msgbox
