// The Extensive Scan's search and analysis over arbitrary disk bytes, as a FAT search and as an NTFS
// search: whatever boot sectors, folder sectors, file records and index records (their entry and name
// lengths above all) say, the scan ends with both analysis-done flags set and running 0 with stop 1,
// reads nothing past its buffers, and every file system it records has a valid cluster size. Each file
// system found (the first few) is then read as page 3 reads it: a FAT one's folders, tables and the clusters of
// entries no chain reaches, an NTFS one's found records again through its MFT's map. The input is written to the temporary folder, one file per process, and read as a logical
// drive.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/host/fakes.h"
#include "engine/image/source_values.h"
#include "engine/ntfs/mft_map.h"
#include "engine/records/extensive_lists.h"
#include "engine/records/recovery_settings.h"
#include "engine/records/scan_records.h"
#include "engine/scan/boot_parameters.h"
#include "engine/scan/chosen_fs.h"
#include "engine/scan/extensive_scan.h"
#include "platform/os/os.h"

namespace {

const std::u16string kDrivePath = u"\\\\.\\F:";

const std::u16string& DrivePath() {
  static const std::u16string path =
      os::TempFolderPath() + u"dorvane_fuzz_extensive_" + os::FromAscii(std::to_string(getpid())) + u".bin";
  return path;
}

void ScanAs(uint16_t code, uint32_t sectors, uint32_t sectorsPerRead) {
  FreeExtensiveScanLists();
  ScanRange = ScanRangeRecord{};
  ScanRange.fileSystemCode = code;
  ScanRange.sectorCount = sectors;
  ScanRange.endSector = sectors;
  RecoverySettings.sectorsPerRead = sectorsPerRead;
  ScanThreadControl.stopFlag = 0;
  ScanThreadControl.runningFlag = 1;
  ExtensiveScanThread();
  if (BootSectorPassDone != 1 || WithoutBootPassDone != 1) std::abort();
  if (ScanThreadControl.runningFlag != 0 || ScanThreadControl.stopFlag != 1) std::abort();
  for (const FileSystemRecord& fs : FoundFileSystemList) {
    if (!IsValidSectorsPerCluster(fs.sectorsPerCluster)) std::abort();
  }
}

// Page 3's reading of each file system found (the first few), as ScanThreadProc starts it.
void ReadFound() {
  constexpr size_t kRead = 3;
  RecoveryMode = records::kExtensiveScan;
  for (size_t i = 0; i < FoundFileSystemList.size() && i < kRead; ++i) {
    CurrentFileSystem = FoundFileSystemList[i];
    CurrentFileSystem.id = static_cast<uint32_t>(i + 1);
    ScanThreadControl.stopFlag = 0;
    ScanThreadControl.runningFlag = 1;
    ScanThreadProc();
    if (ScanThreadControl.runningFlag != 0 || ScanThreadControl.stopFlag != 1) std::abort();
  }
  MftMap.clear();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static host::RecordingMessages messages;
  static const bool installed = (host::Current().messages = &messages, true);
  (void)installed;
  {
    os::File file;
    if (!file.OpenWrite(DrivePath())) return 0;
    if (size > 0 && !file.Write(data, static_cast<uint32_t>(size))) return 0;
    if (!file.Close()) return 0;
  }
  os::MapVolumeForTesting(kDrivePath, DrivePath());
  if (OpenVolumeHandle(u"F:") != 1) return 0;
  SourceKind = kSourceLogicalDrive;
  // One sector more than the input: the last block reads past the end.
  const uint32_t sectors = static_cast<uint32_t>(size / 512 + 1);
  const uint32_t perRead = size > 0 ? data[0] : 60;
  for (uint16_t code : {records::kFat16, records::kNtfs}) {
    ScanAs(code, sectors, perRead);
    ReadFound();
  }
  VolumeHandle.Close();
  messages.shown.clear();
  return 0;
}
