#include "ui/msgbox/message_dialogs.h"

#include "ui/msgbox/html_message_box.h"

MessageDialog::MessageDialog(CWnd* pParentWnd) { m_pParentWnd = pParentWnd; }

INT_PTR MessageDialog::DoModal() {
  const msgbox::MessageSnapshot message = msgbox::TakeMessage();
  return msgbox::ShowProtocolBox(message.text, message.kind, false);
}

ConfirmDialog::ConfirmDialog(CWnd* pParentWnd) { m_pParentWnd = pParentWnd; }

INT_PTR ConfirmDialog::DoModal() {
  const msgbox::MessageSnapshot message = msgbox::TakeMessage();
  return msgbox::ShowProtocolBox(message.text, message.kind, true);
}

namespace msgbox {

int ShowProtocolBox(const std::u16string& text, uint32_t kind, bool confirm) {
  const MessageBoxParams params = ProtocolParams();
  const int answer = HtmlMessageBox(nullptr, text, ProductTitle, ProtocolStyle(kind, confirm), &params);
  return confirm ? ConfirmResult(answer) : answer;
}

}  // namespace msgbox
