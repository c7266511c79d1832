#include "engine/host/partition_fakes.h"

namespace host {

void RecordingFirstDisplay::SetStatusText(const std::u16string& text) { statusTexts.push_back(text); }
void RecordingFirstDisplay::SetProgressPos(uint32_t position) { progress.push_back(position); }
void RecordingFirstDisplay::SetButtonText(const std::u16string& text) { buttonTexts.push_back(text); }

void RecordingSourceTree::AddFoundPartition(const std::u16string& groupLabel, const std::u16string& partitionLabel) {
  added.push_back({groupLabel, partitionLabel});
}
void RecordingSourceTree::ExpandRoot() { ++expandCount; }

PartitionChoice FixedPartitionChoice::PartitionChoiceDialog() {
  ++asked;
  return answer;
}

DiskGeometry FixedDiskTable::GetDiskGeometry(uint32_t diskIndex) {
  askedDisks.push_back(diskIndex);
  return geometry;
}

}  // namespace host
