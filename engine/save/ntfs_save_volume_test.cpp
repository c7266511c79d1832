// Saving files of a real NTFS volume (mkntfs and libntfs-3g, written by make_listed_data_volume.py) against
// what icat reads of them: one file whose data goes on in extension records named by an attribute list that
// lies in clusters of its own, and an ordinary one.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "engine/image/source_values.h"
#include "engine/ntfs/mft_map.h"
#include "engine/ntfs/mft_record.h"
#include "engine/partitions/partition_test_support.h"
#include "engine/records/scan_parameters.h"
#include "engine/records/scan_records.h"
#include "engine/save/recovered_file.h"
#include "engine/save/save_state.h"
#include "engine/save/save_test_support.h"
#include "engine/save/savers.h"
#include "platform/os/os.h"

namespace save_test {
namespace {

struct ExpectedFile {
  uint32_t inode = 0;
  uint64_t size = 0;
  std::string name, expected;
};

struct ExpectedVolume {
  std::string image;
  uint32_t sectorsPerCluster = 0;
  uint32_t mftCluster = 0;
  std::vector<ExpectedFile> files;
};

// A file beside the generator's output.
std::string Beside(const std::string& name) {
  const std::string out = DORVANE_LISTED_DATA_EXPECTED;
  return out.substr(0, out.find_last_of("/\\") + 1) + name;
}

// The generator's list of a volume: listed_data.tsv, or another beside it.
ExpectedVolume ReadExpected(const std::string& tsv = DORVANE_LISTED_DATA_EXPECTED) {
  ExpectedVolume volume;
  std::ifstream in(tsv);
  EXPECT_TRUE(in.good()) << "missing " << tsv;
  for (std::string line; std::getline(in, line);) {
    std::istringstream fields(line);
    std::string kind;
    std::getline(fields, kind, '\t');
    if (kind == "#volume") {
      fields >> volume.image >> volume.sectorsPerCluster >> volume.mftCluster;
    } else if (kind == "file") {
      ExpectedFile file;
      fields >> file.inode >> file.size >> file.name >> file.expected;
      volume.files.push_back(file);
    }
  }
  return volume;
}

Bytes ReadExpectedBytes(const std::string& name) {
  std::ifstream in(Beside(name), std::ios::binary);
  EXPECT_TRUE(in.good()) << "missing " << Beside(name);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class NtfsSaveVolumeTest : public SaveTest {
 protected:
  ~NtfsSaveVolumeTest() override { MftMap.clear(); }

  // The image at path (the volume's, or a copy of it) as the source: an NTFS file system from sector 0 with
  // its MFT's map. Null when it cannot be opened or mapped.
  static std::unique_ptr<partition_test::CurrentDisk> Open(const ExpectedVolume& volume, const std::u16string& path) {
    auto disk = std::make_unique<partition_test::CurrentDisk>(path);
    CurrentFileSystem.type = records::kNtfs;
    CurrentFileSystem.sectorsPerCluster = volume.sectorsPerCluster;
    CurrentFileSystem.clusterBase = 0;
    if (!disk->opened() || LoadMftMap(0, DevicePathTable[0], volume.mftCluster * volume.sectorsPerCluster,
                                      volume.sectorsPerCluster, UINT64_MAX) != 1) {
      return nullptr;
    }
    return disk;
  }
};

TEST_F(NtfsSaveVolumeTest, FilesAreSavedAsIcatReadsThem) {
  const ExpectedVolume volume = ReadExpected();
  ASSERT_EQ(volume.files.size(), 2u);
  const auto disk = Open(volume, os::FromUtf8(Beside(volume.image)));
  ASSERT_NE(disk, nullptr) << volume.image;
  for (const ExpectedFile& file : volume.files) {
    SCOPED_TRACE(file.name);
    uint32_t sector = 0;
    ASSERT_EQ(MftRecordToSector(file.inode, sector), 1u);
    EXPECT_EQ(SaveNtfsItems(out, os::FromUtf8(file.name), file.size, sector, 1, 0), 1u);
    EXPECT_EQ(ReadAll(Out(os::FromUtf8(file.name))), ReadExpectedBytes(file.expected));
  }
  // The first file is the one the volume was made for: its attribute list lies outside its record.
  uint32_t sector = 0;
  ASSERT_EQ(MftRecordToSector(volume.files[0].inode, sector), 1u);
  uint8_t record[ntfs::kMaxMftRecordSize] = {};
  ASSERT_TRUE(ntfs::ReadMftRecord(DevicePathTable[0], sector, record));
  ntfs::Attribute list;
  ASSERT_TRUE(ntfs::FindAttribute(record, ntfs::kAttributeList, "", &list));
  EXPECT_TRUE(list.nonResident);
  EXPECT_EQ(SaveTally.saved, 2u);
  EXPECT_EQ(SaveTally.unreadable, 0u);
}

// A fragmented MFT whose extent ends after a record's first sector: the file of that record is saved from
// its two halves where the MFT's map puts them, as the scan read it.
TEST_F(NtfsSaveVolumeTest, ARecordSplitBetweenTwoExtentsIsSavedAsIcatReadsIt) {
  const ExpectedVolume volume = ReadExpected(Beside("split_record.tsv"));
  ASSERT_EQ(volume.files.size(), 1u);
  const ExpectedFile& file = volume.files[0];
  const auto disk = Open(volume, os::FromUtf8(Beside(volume.image)));
  ASSERT_NE(disk, nullptr) << volume.image;
  uint32_t first = 0;
  ASSERT_EQ(MftRecordToSector(file.inode, first), 1u);
  bool straddles = false;
  for (const MftExtent& extent : MftMap) straddles |= extent.startSector + extent.sectorCount == uint64_t{first} + 1;
  ASSERT_TRUE(straddles) << "the record's first sector ends no extent";
  EXPECT_EQ(SaveNtfsItems(out, u"split.bin", file.size, first, 1, 0), 1u);
  EXPECT_EQ(ReadAll(Out(u"split.bin")), ReadExpectedBytes(file.expected));
  EXPECT_EQ(SaveTally.unreadable, 0u);
}

// A damaged record whose $DATA real size claims 256 MiB over the 5 clusters of plain.txt: the save ends at
// once with the file's bytes and zeros up to its allocated size, no further, and the file counts as damaged.
TEST_F(NtfsSaveVolumeTest, ASizeBeyondTheAllocatedClustersIsNotPaddedToTheClaim) {
  const ExpectedVolume volume = ReadExpected();
  ASSERT_EQ(volume.files.size(), 2u);
  const ExpectedFile& plain = volume.files[1];
  const Bytes icat = ReadExpectedBytes(plain.expected);
  Bytes image = ReadAll(os::FromUtf8(Beside(volume.image)));
  ASSERT_FALSE(image.empty());
  const std::u16string copy = save::JoinPath(root.path(), u"damaged.vhd");
  ASSERT_TRUE(WriteAll(copy, image));
  constexpr uint64_t kClaimed = uint64_t{256} << 20;
  uint64_t allocated = 0;
  {
    const auto disk = Open(volume, copy);
    ASSERT_NE(disk, nullptr);
    uint32_t sector = 0;
    ASSERT_EQ(MftRecordToSector(plain.inode, sector), 1u);
    uint8_t record[ntfs::kMaxMftRecordSize] = {};
    ASSERT_TRUE(ntfs::ReadMftRecord(DevicePathTable[0], sector, record));
    ntfs::Attribute data;
    ASSERT_TRUE(ntfs::FindAttribute(record, ntfs::kDataAttribute, "", &data));
    ASSERT_TRUE(data.nonResident);
    allocated = data.allocatedSize;
    ASSERT_GE(allocated, icat.size());
    ASSERT_LT(allocated, kClaimed);
    // The real size, clear of the update sequence's places at the ends of the record's sectors.
    const size_t at = size_t{sector} * 512 + data.offset + 48;
    ASSERT_LT((data.offset + 48) % 512, 502u);
    for (int i = 0; i < 8; ++i) image[at + i] = static_cast<uint8_t>(kClaimed >> (8 * i));
  }
  ASSERT_TRUE(WriteAll(copy, image));
  const auto disk = Open(volume, copy);
  ASSERT_NE(disk, nullptr);
  uint32_t sector = 0;
  ASSERT_EQ(MftRecordToSector(plain.inode, sector), 1u);
  EXPECT_EQ(SaveNtfsItems(out, u"plain.txt", kClaimed, sector, 1, 0), 1u);
  Bytes expected = icat;
  expected.resize(allocated, 0);
  EXPECT_EQ(ReadAll(Out(u"plain.txt")), expected);
  EXPECT_EQ(SaveTally.saved, 1u);
  EXPECT_EQ(SaveTally.unreadable, 1u);
}

}  // namespace
}  // namespace save_test
