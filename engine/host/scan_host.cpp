#include "engine/host/scan_host.h"

#include "engine/host/host.h"

std::atomic<uint32_t> ShowScanProgress{1};

namespace host {

SecondDisplayHost* ScanProgressPanel() {
  return ShowScanProgress.load() == 1 ? Current().secondDisplay : nullptr;
}

}  // namespace host
