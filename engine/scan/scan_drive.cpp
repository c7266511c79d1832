#include "engine/scan/scan_drive.h"

#include <string>

#include "engine/host/host.h"
#include "engine/image/source_values.h"
#include "engine/records/scan_parameters.h"

bool OpenScanLogicalDrive() {
  host::ScanPageHost* page = host::Current().scanPage;
  const std::u16string drive = page != nullptr ? page->LogicalDriveName(ScanRange.driveField) : std::u16string();
  return drive.size() >= 2 && OpenVolumeHandle(drive) == 1;
}
