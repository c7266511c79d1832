// The protocol's two dialogs: MessageDialog (one "OK" button) and ConfirmDialog ("Yes" and "No"). Each
// shows MessageText with the icon of MessageKind and the caption ProductTitle:
//
//   MessageText = u"The image could not be opened.";
//   MessageDialog dialog;
//   MessageKind = 2;
//   dialog.DoModal();
#pragma once

#include "platform/classlib/win/cdialog.h"
#include "ui/msgbox/message_protocol.h"

class MessageDialog : public CDialog {
 public:
  // The parent is not used: the box finds its owner itself.
  explicit MessageDialog(CWnd* pParentWnd = nullptr);
  // 1 for OK, 2 when the box was closed with Esc or the close box.
  INT_PTR DoModal() override;
};

class ConfirmDialog : public CDialog {
 public:
  explicit ConfirmDialog(CWnd* pParentWnd = nullptr);
  // 1 for Yes, 2 otherwise; Esc and the close box do nothing, so the user must choose.
  INT_PTR DoModal() override;
};

namespace msgbox {

// A protocol box of the text and kind, as the two dialogs show it; confirm: Yes/No (1 for Yes, 2
// otherwise), else OK (the box's answer).
int ShowProtocolBox(const std::u16string& text, uint32_t kind, bool confirm);

}  // namespace msgbox
