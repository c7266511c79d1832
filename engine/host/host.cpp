#include "engine/host/host.h"

#include "platform/os/os.h"

namespace host {

namespace {

void ReportOutOfMemory(const std::u16string& message) {
  if (MessageHost* messages = Current().messages) messages->MessageDialog(message, kError);
}

}  // namespace

Hosts& Current() {
  static Hosts hosts;
  static const bool installed = (os::SetOutOfMemoryHandler(ReportOutOfMemory), true);
  (void)installed;
  return hosts;
}

}  // namespace host
