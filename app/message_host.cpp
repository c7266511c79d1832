#include "app/message_host.h"

#include "ui/msgbox/html_message_box.h"
#include "ui/msgbox/message_dialogs.h"

namespace msgbox {

// The text goes to the box as an argument, not through MessageText, so a worker's report never meets a
// text that another thread is writing.
void ProtocolMessageHost::MessageDialog(const std::u16string& text, uint32_t kind) {
  ShowProtocolBox(text, kind, false);
}

uint32_t ProtocolMessageHost::ConfirmDialog(const std::u16string& text, uint32_t kind) {
  return static_cast<uint32_t>(ShowProtocolBox(text, kind, true));
}

ProtocolMessageHost& ProgramMessageHost() {
  static ProtocolMessageHost host;
  return host;
}

void InstallProgramMessages(HWND mainWindow) {
  AttachToMainWindow(mainWindow);
  host::Current().messages = &ProgramMessageHost();
}

void RemoveProgramMessages() {
  if (host::Current().messages == &ProgramMessageHost()) host::Current().messages = nullptr;
  DetachFromMainWindow();
}

}  // namespace msgbox
