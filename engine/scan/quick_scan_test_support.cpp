#include "engine/scan/quick_scan_test_support.h"

#include <cstring>
#include <thread>

#include "engine/fat/save_abort.h"
#include "engine/image/source_values.h"
#include "engine/records/scan_records.h"
#include "engine/scan/quick_scan.h"
#include "engine/scan/scan_end.h"
#include "engine/scan/scan_test_support.h"
#include "platform/os/os.h"

namespace quick_test {

namespace {

const std::u16string kDrivePath = u"\\\\.\\F:";

host::Hosts Fakes(host::MessageHost* messages, host::SecondDisplayHost* panel, host::ScanPageHost* page,
                  host::ResultTreeHost* tree, host::ResultListHost* list) {
  host::Hosts hosts;
  hosts.messages = messages;
  hosts.secondDisplay = panel;
  hosts.scanPage = page;
  hosts.resultTree = tree;
  hosts.resultList = list;
  return hosts;
}

}  // namespace

void HookedPanel::SetStatusText(const std::u16string& text) {
  RecordingSecondDisplay::SetStatusText(text);
  if (onStatus) onStatus(text);
}

void HookedPanel::SetRowValue(host::SecondDisplayRow row, const std::u16string& text) {
  RecordingSecondDisplay::SetRowValue(row, text);
  if (onRow) onRow(row, text);
}

QuickScanTest::QuickScanTest() {
  ResetScanState();
  SourceKind = kSourceNothing;
  CurrentDriveIndex = 0;
  installed_ = std::make_unique<host::ScopedHosts>(Fakes(&messages, &panel, &page, &tree, &list));
}

QuickScanTest::~QuickScanTest() {
  installed_.reset();
  ResetScanState();
  SourceKind = kSourceNothing;
}

void QuickScanTest::ResetScanState() {
  FreeScanRecordLists();
  ClusterList.Free();
  CurrentFileSystem = FileSystemRecord{};
  ScanRange = ScanRangeRecord{};
  RecoveryMode = records::kQuickScan;
  ScanThreadControl.stopFlag = 0;
  ScanThreadControl.runningFlag = 0;
  PartitionParametersFailed = 0;
  SaveAbortFlag = 0;
  ShowScanProgress = 1;
}

void QuickScanTest::SetRange(uint16_t code, uint32_t start, uint32_t count) {
  ScanRange.fileSystemCode = code;
  ScanRange.startSector = start;
  ScanRange.sectorCount = count;
  ScanRange.endSector = start + count - 1;
}

uint32_t QuickScanTest::RunWorker() {
  ScanThreadControl.stopFlag = 0;
  ScanThreadControl.runningFlag = 1;
  uint32_t result = 2;
  std::thread worker([&] { result = QuickScanThread(); });
  worker.join();
  return result;
}

SharedDisk::SharedDisk(const std::string& name) {
  const bool vhd = name.size() > 4 && name.compare(name.size() - 4, 4, ".vhd") == 0;
  image_.CreateReader(vhd ? kImageVhd : kImageVhdx);
  opened_ = image_.Open(scan_test::SharedImage(name)) == 1;
  EXPECT_TRUE(opened_) << name;
  ImageFormat = vhd ? 0 : 1;
  SourceKind = kSourceDisk;
  SetCurrentDiskImage(&image_);
}

SharedDisk::~SharedDisk() {
  SetCurrentDiskImage(nullptr);
  SourceKind = kSourceNothing;
}

MappedDrive::MappedDrive(const std::u16string& path, host::RecordingScanPage& page) : path_(path) { Map(page); }

MappedDrive::MappedDrive(const Bytes& bytes, host::RecordingScanPage& page)
    : path_(scan_test::TempFile(u"quick_drive.bin")), scratch_(true) {
  EXPECT_TRUE(scan_test::WriteFileBytes(path_, bytes));
  Map(page);
}

void MappedDrive::Map(host::RecordingScanPage& page) {
  os::MapVolumeForTesting(kDrivePath, path_);
  page.logicalDrives[0] = u"F:\\";
  SourceKind = kSourceLogicalDrive;
}

MappedDrive::~MappedDrive() {
  VolumeHandle.Close();
  os::MapVolumeForTesting(kDrivePath, u"");
  SourceKind = kSourceNothing;
  if (scratch_) os::RemoveFile(path_);
}

void PutLe16(Bytes& bytes, size_t at, uint16_t value) {
  bytes[at] = static_cast<uint8_t>(value);
  bytes[at + 1] = static_cast<uint8_t>(value >> 8);
}

void PutLe32(Bytes& bytes, size_t at, uint32_t value) {
  PutLe16(bytes, at, static_cast<uint16_t>(value));
  PutLe16(bytes, at + 2, static_cast<uint16_t>(value >> 16));
}

void PutLe64(Bytes& bytes, size_t at, uint64_t value) {
  PutLe32(bytes, at, static_cast<uint32_t>(value));
  PutLe32(bytes, at + 4, static_cast<uint32_t>(value >> 32));
}

void PutFatBoot(Bytes& volume, size_t at, const FatLayout& layout) {
  const size_t b = at * 512;
  PutLe16(volume, b + 11, 512);
  volume[b + 13] = layout.sectorsPerCluster;
  PutLe16(volume, b + 14, layout.reserved);
  volume[b + 16] = layout.tables;
  volume[b + 21] = 0xF8;  // a fixed disk's media byte
  if (layout.code == 200) {
    PutLe32(volume, b + 32, layout.totalSectors);
    PutLe32(volume, b + 36, layout.sectorsPerFat);
    PutLe32(volume, b + 44, 2);
  } else {
    PutLe16(volume, b + 17, layout.rootEntries);
    PutLe16(volume, b + 19, layout.totalSectors < 0x10000 ? static_cast<uint16_t>(layout.totalSectors) : 0);
    PutLe32(volume, b + 32, layout.totalSectors < 0x10000 ? 0 : layout.totalSectors);
    PutLe16(volume, b + 22, static_cast<uint16_t>(layout.sectorsPerFat));
  }
  volume[b + 510] = 0x55;
  volume[b + 511] = 0xAA;
}

Bytes FatVolume(const FatLayout& layout) {
  Bytes volume(size_t{layout.sectors} * 512);
  PutFatBoot(volume, 0, layout);
  // Each copy begins with the media byte and the two reserved entries: F8 FF FF FF, FAT32 F8 FF FF 0F FF FF FF 0F.
  static const uint8_t kFat16Start[] = {0xF8, 0xFF, 0xFF, 0xFF};
  static const uint8_t kFat32Start[] = {0xF8, 0xFF, 0xFF, 0x0F, 0xFF, 0xFF, 0xFF, 0x0F};
  for (uint32_t table = 0; table < 2; ++table) {
    const size_t at = (size_t{layout.reserved} + size_t{table} * layout.sectorsPerFat) * 512;
    if (layout.code == 200) {
      std::memcpy(&volume[at], kFat32Start, sizeof kFat32Start);
    } else {
      std::memcpy(&volume[at], kFat16Start, sizeof kFat16Start);
    }
  }
  return volume;
}

void PutNtfsBoot(Bytes& volume, size_t at, const NtfsLayout& layout) {
  const size_t b = at * 512;
  std::memcpy(&volume[b + 3], "NTFS    ", 8);
  PutLe16(volume, b + 11, 512);
  volume[b + 13] = layout.sectorsPerCluster;
  PutLe64(volume, b + 40, layout.totalSectors);
  PutLe64(volume, b + 48, layout.mftCluster);
  PutLe64(volume, b + 56, layout.mirrorCluster);
  volume[b + 64] = layout.recordSize;
  PutLe32(volume, b + 68, layout.indexSize);
  volume[b + 510] = 0x55;
  volume[b + 511] = 0xAA;
}

Bytes NtfsVolume(const NtfsLayout& layout) {
  Bytes volume(size_t{layout.sectors} * 512);
  PutNtfsBoot(volume, 0, layout);
  PutNtfsBoot(volume, layout.sectors - 1, layout);
  for (uint64_t cluster : {layout.mftCluster, layout.mirrorCluster}) {
    const size_t at = static_cast<size_t>(cluster * layout.sectorsPerCluster * 512);
    if (at + 4 <= volume.size()) std::memcpy(&volume[at], "FILE", 4);
  }
  return volume;
}

}  // namespace quick_test
