#include "engine/host/fakes.h"

namespace host {

void RecordingMessages::MessageDialog(const std::u16string& text, uint32_t kind) {
  shown.push_back({text, kind, false});
}

uint32_t RecordingMessages::ConfirmDialog(const std::u16string& text, uint32_t kind) {
  shown.push_back({text, kind, true});
  return answer;
}

}  // namespace host
