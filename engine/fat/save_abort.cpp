#include "engine/fat/save_abort.h"

#include "engine/records/pause_gate.h"

std::atomic<uint32_t> SaveAbortFlag{0};

bool SaveStopRequested() {
  SavePauseGate.Pass();
  return SaveAbortFlag.load() == 1;
}
