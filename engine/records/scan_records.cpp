#include "engine/records/scan_records.h"

void FreeScanRecordLists() {
  ScanCounters.folderCount = 0;
  ScanCounters.entryCount = 0;
  ScanCounters.processedCount = 0;
  ScanCounters.totalBytes = 0;
  FatEntryList.Free();
  FatFolderList.Free();
  OtherFatFolderEntryList.Free();
  NtfsFolderList.Free();
  NtfsEntryList.Free();
}
