// The engine's message host served by the message-box protocol: every report and question of the engine
// becomes a protocol box, shown on the user-interface thread.
#pragma once

#include <windows.h>

#include "engine/host/host.h"

namespace msgbox {

class ProtocolMessageHost : public host::MessageHost {
 public:
  void MessageDialog(const std::u16string& text, uint32_t kind) override;
  uint32_t ConfirmDialog(const std::u16string& text, uint32_t kind) override;
};

// The program's one instance, for host::Current().messages.
ProtocolMessageHost& ProgramMessageHost();

// At start-up, on the main window's thread: boxes are shown by that thread and the engine reports through
// the protocol. Removed again before the main window goes.
void InstallProgramMessages(HWND mainWindow);
void RemoveProgramMessages();

}  // namespace msgbox
