// How the scan workers end. Every worker's last act is EndScanWorker (running 0, stop 1), whichever way
// it leaves; a worker that cannot scan at all first reports why with ReportScanFailure, which leaves the
// scan page idle again instead of moving on to the results.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

// 1 when the last scan ended because no partition parameters were found; the scan page reads it when
// it sets the frame's commands after a scan. Cleared when a worker starts.
extern std::atomic<uint32_t> PartitionParametersFailed;

// The report when neither the boot sector nor the parameter search gives usable partition parameters.
extern const char16_t kPartitionParametersNotFound[];
// The report when the logical drive to scan cannot be opened.
extern const char16_t kDriveNotOpened[];

// The page's stop request (the user confirmed Stop), tested before each sector, record or folder. Waits
// first while the page asks whether to stop (ScanPauseGate).
bool ScanStopRequested();

// The first act of every worker: running 1, and stop 0 unless its starter had already marked it running (the
// user may have answered Stop before the thread began).
void BeginScanWorker();

// The last act of every worker: running 0, then stop 1.
void EndScanWorker();

// A worker's whole run: BeginScanWorker, PartitionParametersFailed cleared, then scan, then EndScanWorker
// whichever way scan left. Returns what scan returned.
uint32_t RunScanWorker(uint32_t (*scan)());

// A worker that cannot scan: the page stops waiting for it (its timer is killed, so the results page
// is not shown), the error is shown, the panel's progress bar, status line and Stop are hidden and Next,
// Back and Home come back. parametersFailed sets PartitionParametersFailed. The worker then ends with
// EndScanWorker.
void ReportScanFailure(const std::u16string& text, bool parametersFailed);
