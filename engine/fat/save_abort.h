// The flag that stops a save. The saving dialog's stop command and the answer No to "Continue Recovery ?"
// set it; every saver and every cluster-chain walk made for one tests it.
#pragma once

#include <atomic>
#include <cstdint>

extern std::atomic<uint32_t> SaveAbortFlag;

// The savers' test of the flag: waits first while the saving dialog asks whether to stop (SavePauseGate),
// then true when the save is to stop.
bool SaveStopRequested();
