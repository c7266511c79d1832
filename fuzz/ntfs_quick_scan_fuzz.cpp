// Quick Scan of an NTFS volume of arbitrary bytes: whatever its boot sector, MFT map, records, attribute lists
// and runs say, the scan ends with running 0 and stop 1, reads nothing past its buffers, and its MFT map stays
// inside the volume; then a user's save weighs what each deleted file's runs claim against the other records no
// longer in use. The input is a sparse image file (image_fuzz_file.h), read as a logical drive, so that a volume of
// megabytes (a base record whose attribute list names thousands of extension records) is a small input. A tight
// time limit makes work that grows faster than the volume a fault.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/host/scan_page_fakes.h"
#include "engine/image/source_values.h"
#include "engine/ntfs/data_runs.h"
#include "engine/ntfs/mft_map.h"
#include "engine/ntfs/mft_record.h"
#include "engine/records/scan_parameters.h"
#include "engine/records/scan_records.h"
#include "engine/save/ntfs_claims.h"
#include "engine/save/save_state.h"
#include "engine/scan/quick_scan.h"
#include "fuzz/drive_fuzz.h"
#include "fuzz/fuzz_flags.h"
#include "fuzz/image_fuzz_file.h"
#include "platform/os/os.h"

DORVANE_FUZZ_FLAGS("-timeout=5")

namespace {

// The scan opens the drive the page names: the input's.
void NameTheDrive() {
  static host::RecordingScanPage page;
  page.logicalDrives[0] = u"F:";
  host::Current().scanPage = &page;
}

// Each deleted file listed, its runs decoded from its record as the saver decodes them, asked whether it gives way:
// the questions stay short however the records' runs overlap.
void WeighClaims() {
  RecoveryMode = records::kQuickScan;
  BeginSave();
  for (const NtfsEntryRecord& entry : NtfsEntryList) {
    uint8_t record[ntfs::kMaxMftRecordSize] = {};
    ntfs::Attribute data;
    if (entry.deleted == 0 || ReadMftRecordAtSector(ntfs::CurrentDevicePath(), entry.id, record) != 1 ||
        !ntfs::FindAttribute(record, ntfs::kDataAttribute, "", &data) || !data.nonResident ||
        DecodeDataRuns(data.End(), record, data.offset) != 1) {
      continue;
    }
    save::NtfsFileGivesWay(entry.id, entry.size, save::AttributeClusterSectors(record, data, false));
  }
  DataRunList.Free();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!fuzz_drive::OpenInput(data, size)) return 0;
  NameTheDrive();
  const uint32_t sectors = fuzz_image::Le32(data) % (64u << 20) / 512;
  ScanRange = ScanRangeRecord{};
  ScanRange.fileSystemCode = records::kNtfs;
  ScanRange.sectorCount = sectors;
  ScanRange.endSector = sectors == 0 ? 0 : sectors - 1;
  ScanThreadControl.stopFlag = 0;
  ScanThreadControl.runningFlag = 1;
  QuickScanThread();
  if (ScanThreadControl.runningFlag != 0 || ScanThreadControl.stopFlag != 1) std::abort();
  if (MftMapSectorCount() > sectors) std::abort();
  WeighClaims();
  FreeScanRecordLists();
  MftMap.clear();
  VolumeHandle.Close();
  fuzz_drive::Messages().shown.clear();
  return 0;
}
