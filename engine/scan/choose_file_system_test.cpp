#include "engine/scan/choose_file_system.h"

#include <gtest/gtest.h>

#include "engine/records/file_system_range.h"
#include "engine/records/scan_parameters.h"

namespace {

FileSystemRecord Found(uint16_t type, uint32_t first, uint32_t last, uint32_t node) {
  FileSystemRecord record;
  record.type = type;
  record.sectorsPerCluster = 8;
  record.clusterBase = first;
  record.lastSector = last;
  record.mftSector = first + 32;
  record.mftMirrorSector = first + 64;
  record.firstFatSector = first + 1;
  record.id = node;
  return record;
}

class ChooseFileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FoundFileSystemList.Free();
    CurrentFileSystem = FileSystemRecord{};
    ScanRange = ScanRangeRecord{};
    FoundFileSystemList.Append(Found(records::kFat32, 37020, 0, 11));
    FoundFileSystemList.Append(Found(records::kFat16, 2048, 2048 + 65536, 12));
    FoundFileSystemList.Append(Found(records::kNtfs, 104448, 104448 + 4096 * 2048, 13));
  }
  void TearDown() override { FoundFileSystemList.Free(); }
};

TEST_F(ChooseFileSystemTest, TheThirdRecordIsNumberThreeWithTheNtfsRows) {
  const FileSystemChoice choice = ChooseFileSystem(13, u"NTFS @104448");
  ASSERT_TRUE(choice.changed);
  EXPECT_FALSE(choice.captionsOnly);
  EXPECT_EQ(choice.captions, FormCaptions::kNtfs);
  EXPECT_FALSE(choice.firstRowHidden);
  EXPECT_EQ(CurrentFileSystem.id, 3u);
  EXPECT_EQ(CurrentFileSystem.type, records::kNtfs);
  EXPECT_EQ(CurrentFileSystem.clusterBase, 104448u);
  EXPECT_EQ(CurrentFileSystem.mftSector, 104448u + 32);
  const std::array<std::u16string, 5> rows = {u"104448", u"8", u"104480", u"104512", u"4096 MB"};
  EXPECT_EQ(choice.values, rows);
  EXPECT_EQ(std::u16string(RowCaptions(choice.captions)[2]), u"MFT Start               :");
}

TEST_F(ChooseFileSystemTest, AFatRecordWithoutALastSectorShowsUnknown) {
  CurrentFileSystem.mftSector = 777;  // an NTFS field of an earlier choice stays
  const FileSystemChoice choice = ChooseFileSystem(11, u"FAT32 @37020");
  ASSERT_TRUE(choice.changed);
  EXPECT_EQ(choice.captions, FormCaptions::kFat);
  EXPECT_TRUE(choice.firstRowHidden);
  const std::array<std::u16string, 5> rows = {u"", u"37020", u"8", u"Unknown", u""};
  EXPECT_EQ(choice.values, rows);
  EXPECT_EQ(CurrentFileSystem.id, 1u);
  EXPECT_EQ(CurrentFileSystem.firstFatSector, 37021u);
  EXPECT_EQ(CurrentFileSystem.mftSector, 777u);
  EXPECT_EQ(ChooseFileSystem(12, u"FAT16 @2048").values[3], u"32 MB");
  EXPECT_EQ(CurrentFileSystem.id, 2u);
}

TEST_F(ChooseFileSystemTest, TheTopItemChangesTheCaptionsOnly) {
  ChooseFileSystem(12, u"FAT16 @2048");
  const FileSystemRecord before = CurrentFileSystem;
  ScanRange.fileSystemCode = records::kNtfs;
  FileSystemChoice choice = ChooseFileSystem(10, u"File System");
  EXPECT_TRUE(choice.changed);
  EXPECT_TRUE(choice.captionsOnly);
  EXPECT_EQ(choice.captions, FormCaptions::kNtfs);
  ScanRange.fileSystemCode = records::kFat32;
  EXPECT_EQ(ChooseFileSystem(10, u"").captions, FormCaptions::kFat);
  EXPECT_EQ(CurrentFileSystem.id, before.id);
  EXPECT_EQ(CurrentFileSystem.clusterBase, before.clusterBase);
}

TEST_F(ChooseFileSystemTest, AnItemWithoutARecordOrOfNoKnownKindChangesNothing) {
  EXPECT_FALSE(ChooseFileSystem(99, u"Something").changed);
  FoundFileSystemList[0].type = 7;
  EXPECT_FALSE(ChooseFileSystem(11, u"FAT32 @37020").changed);
  EXPECT_EQ(CurrentFileSystem.id, 0u);
}

TEST(SectorInFileSystemTest, BothEndsAreInside) {
  EXPECT_FALSE(SectorInFileSystem(99, 100, 200));
  EXPECT_TRUE(SectorInFileSystem(100, 100, 200));
  EXPECT_TRUE(SectorInFileSystem(200, 100, 200));
  EXPECT_FALSE(SectorInFileSystem(201, 100, 200));
}

}  // namespace
