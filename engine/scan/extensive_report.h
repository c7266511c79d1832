// What the Extensive Scan's search and analysis share: their reports to the scan page's panel, the top
// node of page 3's tree, and the recording of a file system found.
#pragma once

#include <cstdint>
#include <string>

#include "engine/host/host.h"
#include "platform/os/os.h"
#include "engine/records/scan_parameters.h"

namespace extensive {

// The value rows as the page captions them for an Extensive Scan.
constexpr host::SecondDisplayRow kBootSectorsRow = host::kFoldersFoundRow;  // FAT and NTFS
constexpr host::SecondDisplayRow kFatFoldersRow = host::kFilesFoundRow;
constexpr host::SecondDisplayRow kFatCurrentSectorRow = host::kCurrentSectorRow;
constexpr host::SecondDisplayRow kIndexRecordsRow = host::kFilesFoundRow;
constexpr host::SecondDisplayRow kFileRecordsRow = host::kCurrentSectorRow;
constexpr host::SecondDisplayRow kNtfsFoldersRow = host::kLastFileFolderRow;
constexpr host::SecondDisplayRow kNtfsCurrentSectorRow = host::kFifthRow;

using os::Decimal;

// done x 100 / total, held at 99 (0 when total is 0).
uint32_t HeldPercent(uint64_t done, uint64_t total);

// The progress bar, shown whatever ShowScanProgress says.
void ShowProgress(uint32_t position);
// The status line and the value rows, written only while the user wants the details.
void ShowStatus(const std::u16string& text);
void ShowRow(host::SecondDisplayRow row, uint64_t value);

// The top node "File System" of page 3's tree, under which the analysis inserts what it found.
host::TreeKey AddTopNode();

// The label of a found file system: "FAT16 @", "FAT32 @" or "NTFS @" followed by the sector where it begins
// (FileSystemFirstSector).
std::u16string FileSystemLabel(uint16_t type, uint32_t firstSector);

// True while another file system can be numbered: marks are 16 bits, and the last value means "none".
bool CanNumberFileSystem();
// The number the next file system found gets, which the analysis writes into the marks of its candidates.
uint16_t NextFileSystemNumber();

// A file system found: inserted under the top node with its label, the top node expanded, appended to
// FoundFileSystemList with the tree item as its id, and the found count raised.
void RecordFileSystem(FileSystemRecord record);

// One more candidate placed (or given up): the assigned count rises and the bar shows it out of total.
void CountAssigned(uint64_t total);

// The analysis-done flags as this run sets them; EnsureAnalysisDone sets those this run has not set, so
// that the page never waits for ever and a flag the page has cleared again is not set a second time.
void StartAnalysisRun();
void FinishBootSectorPass();
void FinishWithoutBootPass();
void EnsureAnalysisDone();

}  // namespace extensive
