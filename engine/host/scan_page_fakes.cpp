#include "engine/host/scan_page_fakes.h"

namespace host {

std::u16string RecordingScanPage::LogicalDriveName(uint16_t driveField) {
  auto it = logicalDrives.find(driveField);
  return it == logicalDrives.end() ? std::u16string() : it->second;
}

}  // namespace host
