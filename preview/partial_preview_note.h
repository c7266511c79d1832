// A viewer that can show only part of its file says how much: on the main frame's status bar and, where
// the user must not miss it, in a box over the view (through the message-box seam).
#pragma once

#include "platform/classlib/win/cframewnd.h"
#include "platform/classlib/win/cwinapp.h"
#include "platform/seams/seams.h"

inline void ReportPartialPreview(HWND owner, const CString& message, bool box) {
  if (box) {
    CWinApp* app = AfxGetApp();
    seams::MessageBoxRequest request;
    request.owner = owner;
    request.text = message.ToUtf16();
    request.caption = app != nullptr ? CString(app->m_pszAppName).ToUtf16() : std::u16string();
    request.style = seams::kButtonsOk;
    seams::MessageBoxes().Show(request);
  }
  if (auto* frame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd())) frame->SetMessageText(message);
}
