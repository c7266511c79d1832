#include "app/worker_shutdown.h"

#include "engine/fat/save_abort.h"
#include "engine/records/scan_control.h"

namespace app {

bool AnyWorkerRunning() { return ScanThreadControl.runningFlag.load() != 0; }

void StopWorkersAndWait(const std::function<void()>& pump) {
  // Every worker tests its flag before each sector, record, folder or file, and its last act is running 0.
  SaveAbortFlag = 1;
  if (AnyWorkerRunning()) ScanThreadControl.stopFlag = 1;
  while (AnyWorkerRunning()) pump();
}

}  // namespace app
