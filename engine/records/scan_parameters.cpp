#include "engine/records/scan_parameters.h"

// Like every process-wide value, zero until page 0 or a snapshot load sets it.
uint32_t RecoveryMode = 0;
ScanRangeRecord ScanRange;
records::RecordList<FileSystemRecord> FoundFileSystemList;
FileSystemRecord CurrentFileSystem;
VolumeAroundRecord FatVolumeAroundChosen;
std::atomic<uint32_t> LargeFileSize{0};
