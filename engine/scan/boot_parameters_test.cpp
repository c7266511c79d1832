#include "engine/scan/boot_parameters.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "engine/image/source_values.h"
#include "engine/records/scan_records.h"
#include "engine/scan/quick_scan_test_support.h"

namespace {

using quick_test::Bytes;
using quick_test::FatLayout;
using quick_test::NtfsLayout;

class BootParametersTest : public quick_test::QuickScanTest {
 protected:
  // ReadBootParameters on bytes read as a logical drive, over the whole of them.
  uint32_t Read(const Bytes& volume, uint16_t code) {
    quick_test::MappedDrive drive(volume, page);
    SetRange(code, 0, static_cast<uint32_t>(volume.size() / 512));
    OpenVolumeHandle(u"F:");
    return ReadBootParameters();
  }
};

struct FatCase {
  const char* what;
  FatLayout layout;
  std::function<void(Bytes&)> damage;
  bool usable;
};

TEST_F(BootParametersTest, FatBootSectorsAreTakenOnlyWhenSane) {
  FatLayout fat32;
  fat32.code = 200;
  fat32.reserved = 32;
  fat32.sectorsPerFat = 40;
  fat32.sectorsPerCluster = 1;
  const FatCase cases[] = {
      {"FAT16", {}, nullptr, true},
      {"FAT32", fat32, nullptr, true},
      {"FAT32 primary cleared, backup at +6",
       fat32,
       [&](Bytes& v) {
         quick_test::PutFatBoot(v, 6, fat32);
         std::memset(v.data(), 0, 512);
       },
       true},
      {"FAT32 primary with 0 sectors per cluster, backup sane",
       fat32,
       [&](Bytes& v) {
         quick_test::PutFatBoot(v, 6, fat32);
         v[13] = 0;
       },
       true},
      {"FAT16 without 55 AA", {}, [](Bytes& v) { v[510] = 0; }, false},
      {"FAT16 3 sectors per cluster", {}, [](Bytes& v) { v[13] = 3; }, false},
      {"FAT16 256 sectors per cluster (0)", {}, [](Bytes& v) { v[13] = 0; }, false},
      {"FAT16 1024-byte sectors", {}, [](Bytes& v) { v[12] = 4; }, false},
      {"FAT16 no reserved sectors", {}, [](Bytes& v) { v[14] = 0; }, false},
      {"FAT16 one table", {}, [](Bytes& v) { v[16] = 1; }, false},
      {"FAT16 no sectors per FAT", {}, [](Bytes& v) { v[22] = 0; }, false},
      {"FAT16 no root entries", {}, [](Bytes& v) { v[17] = 0, v[18] = 0; }, false},
      {"FAT16 larger than the range", {}, [](Bytes& v) { quick_test::PutLe16(v, 19, 4097); }, false},
      {"FAT16 second table's first sector lost", {}, [](Bytes& v) { v[(4 + 16) * 512] = 0; }, true},
      {"FAT16 first table's first sector lost", {}, [](Bytes& v) { v[4 * 512] = 0; }, true},
      {"FAT16 neither table begins with the media byte", {},
       [](Bytes& v) { v[4 * 512] = 0xF0, v[(4 + 16) * 512] = 0xF0; }, false},
      {"FAT32 root cluster 1", fat32, [](Bytes& v) { quick_test::PutLe32(v, 44, 1); }, false},
      {"FAT32 tables reaching past the volume", fat32, [](Bytes& v) { quick_test::PutLe32(v, 36, 5000); }, false},
  };
  for (const FatCase& c : cases) {
    SCOPED_TRACE(c.what);
    Bytes volume = quick_test::FatVolume(c.layout);
    if (c.damage) c.damage(volume);
    ASSERT_EQ(Read(volume, c.layout.code), c.usable ? 1u : 0u);
    if (!c.usable) continue;
    const FileSystemRecord& fs = CurrentFileSystem;
    const FatLayout& l = c.layout;
    const bool is32 = l.code == 200;
    const uint32_t rootSectors = is32 ? 0 : l.rootEntries / 16u;
    EXPECT_EQ(fs.type, l.code);
    EXPECT_EQ(fs.sectorsPerCluster, l.sectorsPerCluster);
    EXPECT_EQ(fs.sectorsPerFat, l.sectorsPerFat);
    EXPECT_EQ(fs.reservedSectors, l.reserved);
    EXPECT_EQ(fs.rootDirectorySectors, rootSectors);
    EXPECT_EQ(fs.firstFatSector, l.reserved);
    EXPECT_EQ(fs.secondFatSector, l.reserved + l.sectorsPerFat);
    EXPECT_EQ(fs.rootDirectory, is32 ? 2u : l.reserved + 2 * l.sectorsPerFat);
    EXPECT_EQ(fs.clusterBase, l.reserved + 2 * l.sectorsPerFat + rootSectors - 2u * l.sectorsPerCluster);
  }
}

struct NtfsCase {
  const char* what;
  NtfsLayout layout;
  std::function<void(Bytes&)> damage;
  uint32_t mftSector;  // 0: no usable parameters expected (unless mirrorSector)
  uint32_t mirrorSector;
  uint32_t indexSectors;
};

TEST_F(BootParametersTest, NtfsBootSectorsAreTakenOnlyWhenSane) {
  const NtfsLayout plain;
  NtfsLayout indexInClusters;
  indexInClusters.indexSize = 1;
  NtfsLayout index8k;
  index8k.indexSize = 0xF3;
  NtfsLayout bigRecords;
  bigRecords.recordSize = 0xF4;
  NtfsLayout hugeRecords;
  hugeRecords.recordSize = 0xF3;
  NtfsLayout mftOutside;
  mftOutside.mftCluster = 256;
  NtfsLayout largerThanRange;
  largerThanRange.totalSectors = 2049;
  NtfsLayout noIndexSize;
  noIndexSize.indexSize = 0;
  const NtfsCase cases[] = {
      {"plain", plain, nullptr, 32, 16, 8},
      {"index record of one cluster", indexInClusters, nullptr, 32, 16, 8},
      {"index record of 8 KiB", index8k, nullptr, 32, 16, 16},
      {"first boot sector cleared: the backup at the end", plain, [](Bytes& v) { std::memset(v.data(), 0, 512); },
       32, 16, 8},
      {"first boot sector with 6 sectors per cluster: the backup", plain, [](Bytes& v) { v[13] = 6; }, 32, 16, 8},
      {"MFT without FILE, its mirror with it", plain, [](Bytes& v) { v[32 * 512] = 0; }, 0, 16, 8},
      {"neither with FILE", plain, [](Bytes& v) { v[32 * 512] = 0, v[16 * 512] = 0; }, 0, 0, 0},
      {"4096-byte file records", bigRecords, nullptr, 32, 16, 8},
      {"8192-byte file records", hugeRecords, nullptr, 0, 0, 0},
      {"no index record size", noIndexSize, nullptr, 0, 0, 0},
      {"MFT past the volume", mftOutside, nullptr, 0, 0, 0},
      {"volume larger than the range", largerThanRange, nullptr, 0, 0, 0},
  };
  for (const NtfsCase& c : cases) {
    SCOPED_TRACE(c.what);
    Bytes volume = quick_test::NtfsVolume(c.layout);
    if (c.damage) c.damage(volume);
    const bool usable = c.mftSector != 0 || c.mirrorSector != 0;
    ASSERT_EQ(Read(volume, 300), usable ? 1u : 0u);
    if (!usable) continue;
    EXPECT_EQ(CurrentFileSystem.type, 300);
    EXPECT_EQ(CurrentFileSystem.sectorsPerCluster, c.layout.sectorsPerCluster);
    EXPECT_EQ(CurrentFileSystem.clusterBase, 0u);
    EXPECT_EQ(CurrentFileSystem.mftSector, c.mftSector);
    EXPECT_EQ(CurrentFileSystem.mftMirrorSector, c.mirrorSector);
    EXPECT_EQ(CurrentFileSystem.sectorsPerMftRecord, c.layout.recordSize == 0xF4 ? 8u : 2u);
    EXPECT_EQ(CurrentFileSystem.sectorsPerIndexRecord, c.indexSectors);
  }
}

TEST_F(BootParametersTest, OtherCodesNeedNothingAndAStopEndsAtOnce) {
  const Bytes volume = quick_test::FatVolume({});
  EXPECT_EQ(Read(volume, 0), 1u);
  EXPECT_EQ(CurrentFileSystem.sectorsPerCluster, 0u);
  ScanThreadControl.stopFlag = 1;
  EXPECT_EQ(Read(volume, 100), 0u);
}

TEST_F(BootParametersTest, LogicalDriveStartsAtSectorZero) {
  quick_test::MappedDrive drive(quick_test::FatVolume({}), page);
  OpenVolumeHandle(u"F:");
  SetRange(100, 2048, 4096);
  EXPECT_EQ(ReadBootParameters(), 1u);
  EXPECT_EQ(ScanRange.startSector, 0u);
  EXPECT_EQ(CurrentFileSystem.firstFatSector, 4u);
}

// The search must find on a volume whose boot sector it ignores what the intact boot sector says.
struct SearchCase {
  const char* intact;   // image whose boot sector is intact, volume at sector 0
  const char* searched; // image searched
  uint32_t start;       // of the volume in the searched image
  uint16_t code;
  uint32_t sectors;
};

TEST_F(BootParametersTest, ParameterSearchAgreesWithTheBootSector) {
  const SearchCase cases[] = {
      {"fat16.fixed.vhd", "fat16.fixed.vhd", 0, 100, 65536},
      {"fat16.fixed.vhd", "dmg_fat16_boot.fixed.vhd", 2048, 100, 65536},
      {"fat32.fixed.vhd", "fat32.fixed.vhd", 0, 200, 147456},
      {"fat32_512.fixed.vhd", "fat32_512.fixed.vhd", 0, 200, 81920},
  };
  for (const SearchCase& c : cases) {
    SCOPED_TRACE(c.searched);
    FileSystemRecord intact;
    {
      quick_test::SharedDisk disk(c.intact);
      SetRange(c.code, 0, c.sectors);
      ASSERT_EQ(ReadBootParameters(), 1u);
      intact = CurrentFileSystem;
    }
    quick_test::SharedDisk disk(c.searched);
    SetRange(c.code, c.start, c.sectors);
    CurrentFileSystem = FileSystemRecord{};
    CurrentFileSystem.type = c.code;
    ASSERT_EQ(SearchFatParameters(), 1u);
    const FileSystemRecord& found = CurrentFileSystem;
    EXPECT_EQ(found.sectorsPerCluster, intact.sectorsPerCluster);
    EXPECT_EQ(found.reservedSectors, intact.reservedSectors);
    EXPECT_EQ(found.sectorsPerFat, intact.sectorsPerFat);
    EXPECT_EQ(found.rootDirectorySectors, intact.rootDirectorySectors);
    EXPECT_EQ(found.clusterBase, intact.clusterBase + c.start);
    EXPECT_EQ(found.firstFatSector, intact.firstFatSector + c.start);
    EXPECT_EQ(found.secondFatSector, intact.secondFatSector + c.start);
    EXPECT_EQ(found.rootDirectory, c.code == 200 ? 2u : intact.rootDirectory + c.start);
    EXPECT_EQ(ScanThreadControl.stopFlag.load(), 0u);
  }
}

TEST_F(BootParametersTest, ParameterSearchGivesUpOnBlankSectorsAndOtherCodes) {
  quick_test::SharedDisk disk("mbr_primary.fixed.vhd");
  // The blank Linux partition.
  SetRange(100, 247808, 2048);
  ScanThreadControl.runningFlag = 1;
  EXPECT_EQ(SearchFatParameters(), 0u);
  SetRange(300, 215040, 32768);
  EXPECT_EQ(SearchFatParameters(), 0u);
  // Giving up leaves the flags to the worker.
  EXPECT_EQ(ScanThreadControl.stopFlag.load(), 0u);
  EXPECT_EQ(ScanThreadControl.runningFlag.load(), 1u);
}

}  // namespace
