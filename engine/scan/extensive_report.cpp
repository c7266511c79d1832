#include "engine/scan/extensive_report.h"

#include <algorithm>
#include <string>

#include "engine/host/file_system_tree_host.h"
#include "engine/host/scan_host.h"
#include "engine/records/extensive_lists.h"
#include "engine/records/file_system_range.h"
#include "engine/scan/extensive_scan.h"
#include "platform/os/os.h"

std::atomic<uint32_t> BootSectorPassDone{0};
std::atomic<uint32_t> WithoutBootPassDone{0};

namespace extensive {

namespace {

host::TreeKey topNode = host::kNoTreeKey;
// Which flags this run has set (the worker's thread alone writes these).
bool bootPassSet = false;
bool withoutBootPassSet = false;

}  // namespace

using os::Decimal;

uint32_t HeldPercent(uint64_t done, uint64_t total) {
  if (total == 0) return 0;
  return static_cast<uint32_t>(std::min<uint64_t>(done * 100 / total, 99));
}

void ShowProgress(uint32_t position) {
  if (host::SecondDisplayHost* panel = host::Current().secondDisplay) panel->SetProgressPos(position);
}

void ShowStatus(const std::u16string& text) {
  if (host::SecondDisplayHost* panel = host::ScanProgressPanel()) panel->SetStatusText(text);
}

void ShowRow(host::SecondDisplayRow row, uint64_t value) {
  if (host::SecondDisplayHost* panel = host::ScanProgressPanel()) panel->SetRowValue(row, Decimal(value));
}

host::TreeKey AddTopNode() {
  host::FileSystemTreeHost* tree = host::Current().fileSystemTree;
  topNode = tree != nullptr ? tree->AddItem(u"File System", host::kNoTreeKey) : host::kNoTreeKey;
  return topNode;
}

std::u16string FileSystemLabel(uint16_t type, uint32_t firstSector) {
  const char16_t* name = type == records::kFat32 ? u"FAT32 @" : type == records::kNtfs ? u"NTFS @" : u"FAT16 @";
  return name + Decimal(firstSector);
}

bool CanNumberFileSystem() { return ExtensiveCounters.foundFileSystemCount + 1u < records::kNoFileSystemMark; }

uint16_t NextFileSystemNumber() { return static_cast<uint16_t>(ExtensiveCounters.foundFileSystemCount + 1u); }

void RecordFileSystem(FileSystemRecord record) {
  record.id = host::kNoTreeKey;
  if (host::FileSystemTreeHost* tree = host::Current().fileSystemTree) {
    record.id = tree->AddFileSystem(FileSystemLabel(record.type, FileSystemFirstSector(record)), topNode);
    tree->Expand(topNode);
  }
  AppendFileSystemRecord(FoundFileSystemList, record);
  ++ExtensiveCounters.foundFileSystemCount;
}

void CountAssigned(uint64_t total) {
  ++ExtensiveCounters.assignedCount;
  ShowProgress(HeldPercent(ExtensiveCounters.assignedCount, total));
}

void StartAnalysisRun() {
  bootPassSet = false;
  withoutBootPassSet = false;
  BootSectorPassDone = 0;
  WithoutBootPassDone = 0;
}

void FinishBootSectorPass() {
  bootPassSet = true;
  BootSectorPassDone = 1;
}

void FinishWithoutBootPass() {
  withoutBootPassSet = true;
  WithoutBootPassDone = 1;
}

void EnsureAnalysisDone() {
  if (!withoutBootPassSet) FinishWithoutBootPass();
  if (!bootPassSet) FinishBootSectorPass();
}

}  // namespace extensive
