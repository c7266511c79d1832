#include "engine/host/save_fakes.h"

namespace host {

void RecordingSaveProgress::SetProgressPos(uint32_t position) {
  positions.push_back(position);
  if (onProgress) onProgress(position);
}

}  // namespace host
