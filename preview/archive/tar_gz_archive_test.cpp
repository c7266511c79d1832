#include "preview/archive/tar_gz_archive.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "preview/archive/archive_test_support.h"
#include "preview/archive/tar_walk.h"

using archive_test::Fixture;

namespace {

constexpr char kNoGzipData[] = "Could not read data from gzip archive !";

std::string Bytes(const ArchiveMember& member) {
  return std::string(reinterpret_cast<const char*>(member.data), static_cast<size_t>(member.size));
}

}  // namespace

TEST(TarGzArchive, PlainGzipIsOneMemberNamedUnknown) {
  TarGzArchive archive;
  EXPECT_EQ(archive.GetFileCount(), -1);
  EXPECT_EQ(archive.GetLastErrorText(), "Archive not opened");
  ASSERT_EQ(archive.Open(Fixture("text.gz")), 1);
  EXPECT_EQ(archive.GetKind(), TarGzArchive::kGzip);
  EXPECT_EQ(archive.GetFileCount(), 1);
  ArchiveMember member;
  ASSERT_EQ(archive.GetFileAt(0, &member), 1);
  EXPECT_EQ(member.name, u"unknown");
  EXPECT_TRUE(member.isFile);
  EXPECT_EQ(Bytes(member), "A plain gzip stream of text.\nLine two.\n");

  TarGzArchive other;
  std::u16string text;
  ASSERT_TRUE(LoadGzipText(other, Fixture("text.gz"), &text));
  EXPECT_EQ(text, u"A plain gzip stream of text.\nLine two.\n");
}

TEST(TarGzArchive, TarInsideGzipCountsAndHandsOutMembers) {
  TarGzArchive archive;
  ASSERT_EQ(archive.Open(Fixture("three.tar.gz")), 1);
  EXPECT_EQ(archive.GetKind(), TarGzArchive::kTar);
  EXPECT_EQ(archive.GetFileCount(), 3);
  ArchiveMember member;
  ASSERT_EQ(archive.GetFileAt(1, &member), 1);
  EXPECT_EQ(member.name, u"second.txt");
  EXPECT_EQ(member.size, 31u * 30u);
  EXPECT_EQ(Bytes(member).substr(0, 31), "second member, a little longer\n");
  EXPECT_TRUE(member.isFile);
  EXPECT_EQ(member.typeText, "regular file");
  EXPECT_EQ(member.modificationSeconds, 1600000000u);
  EXPECT_EQ(archive.GetFileAt(5, &member), 0);
  EXPECT_EQ(archive.GetLastErrorText(), "Invalid file position !");

  ASSERT_EQ(archive.Open(Fixture("folder.tar.gz")), 1);
  ASSERT_EQ(archive.GetFileAt(0, &member), 1);
  EXPECT_FALSE(member.isFile);
  EXPECT_EQ(member.typeText, "directory");
}

TEST(TarGzArchive, MembersEndAtABadChecksumOrDataOutsideTheArchive) {
  TarGzArchive archive;
  ASSERT_EQ(archive.Open(Fixture("badsum.tar.gz")), 1);
  EXPECT_EQ(archive.GetFileCount(), 1);
  ASSERT_EQ(archive.Open(Fixture("outside.tar.gz")), 1);
  EXPECT_EQ(archive.GetFileCount(), 1);
  ArchiveMember member;
  EXPECT_EQ(archive.GetFileAt(1, &member), 0);
  EXPECT_EQ(member.data, nullptr);
}

TEST(TarGzArchive, AGzipBombIsRefusedWithoutHoldingIt) {
  TarGzArchive archive;
  EXPECT_EQ(archive.Open(Fixture("bomb.gz")), 0);
  EXPECT_EQ(archive.GetLastErrorText(), kNoGzipData);
  EXPECT_EQ(archive.GetKind(), TarGzArchive::kNotOpened);
  // A ZIP member announcing more than the limit is refused before anything is allocated for it.
  ASSERT_EQ(archive.Open(Fixture("bigmember.zip")), 1);
  ArchiveMember member;
  EXPECT_EQ(archive.GetFileAt(0, &member), 0);
  EXPECT_EQ(archive.GetLastErrorText(), "Could not unzip file at the specified position from the archive !");
}

TEST(TarGzArchive, TruncatedDamagedAndEmptyStreamsGiveNoData) {
  for (const char* name : {"truncated.gz", "crc.gz", "empty.gz"}) {
    TarGzArchive archive;
    EXPECT_EQ(archive.Open(Fixture(name)), 0) << name;
    EXPECT_EQ(archive.GetLastErrorText(), kNoGzipData) << name;
  }
  TarGzArchive archive;
  EXPECT_EQ(archive.Open(Fixture("missing.gz")), 0);
  EXPECT_EQ(archive.GetLastErrorText(), "Could not determine archive type !");
  std::u16string text = u"old";
  EXPECT_FALSE(LoadGzipText(archive, Fixture("crc.gz"), &text));
  EXPECT_TRUE(text.empty());
}

TEST(TarGzArchive, ZipMembersComeWholeAndCrcChecked) {
  TarGzArchive archive;
  ASSERT_EQ(archive.Open(Fixture("plain.zip")), 1);
  EXPECT_EQ(archive.GetKind(), TarGzArchive::kZip);
  EXPECT_EQ(archive.GetFileCount(), 7);
  ArchiveMember member;
  ASSERT_EQ(archive.GetFileAt(0, &member), 1);
  EXPECT_EQ(Bytes(member), "Dorvane archive test\r\nsecond line\r\n");
  EXPECT_EQ(member.data[member.size], 0);
  EXPECT_EQ(member.typeText, "FILE_ATTRIBUTE_NORMAL");
  ASSERT_EQ(archive.GetFileAt(1, &member), 1);
  EXPECT_FALSE(member.isFile);
  EXPECT_EQ(member.typeText, "FILE_ATTRIBUTE_DIRECTORY");

  ASSERT_EQ(archive.Open(Fixture("crc.zip")), 1);
  EXPECT_EQ(archive.GetFileAt(0, &member), 1);
  EXPECT_EQ(archive.GetFileAt(1, &member), 0);
  EXPECT_EQ(archive.GetLastErrorText(), "Could not unzip file at the specified position from the archive !");
}

TEST(TarGzArchive, WritesAStreamAndReadsItBackThroughAWidePath) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("gz-wide-" + std::to_string(os::ProcessId()));
  std::filesystem::create_directories(folder);
  const std::u16string path = os::FromUtf8(folder.string()) + u"/t\u00EBxt-\u4E2D.gz";
  {
    TarGzArchive writer;
    ASSERT_TRUE(writer.OpenGzip(path, ArchiveReader::kWriting));
    EXPECT_TRUE(writer.WriteString(u"AB"));
    EXPECT_TRUE(writer.Close());
  }
  TarGzArchive reader;
  ASSERT_EQ(reader.Open(path), 1);
  ArchiveMember member;
  ASSERT_EQ(reader.GetFileAt(0, &member), 1);
  EXPECT_EQ(Bytes(member), std::string("A\0B\0", 4));
  reader.Close();
  std::filesystem::remove_all(folder);
}

TEST(TarWalk, OctalFieldsAndChecksums) {
  const uint8_t field[] = {' ', ' ', '1', '7', '7', ' ', 0, '5'};
  EXPECT_EQ(archive::ParseOctalField(field, sizeof field), 0177u);
  const uint8_t junk[] = {'9', '1'};
  EXPECT_EQ(archive::ParseOctalField(junk, sizeof junk), 0u);
  // Every white space the C library skips, and a sign.
  const uint8_t spaced[] = {'\r', '\v', '\f', '\t', '\n', ' ', '6', '4', 0};
  EXPECT_EQ(archive::ParseOctalField(spaced, sizeof spaced), 064u);
  const uint8_t plus[] = {' ', '+', '1', '0'};
  EXPECT_EQ(archive::ParseOctalField(plus, sizeof plus), 010u);
  const uint8_t minus[] = {'-', '1', ' '};
  EXPECT_EQ(archive::ParseOctalField(minus, sizeof minus), UINT64_MAX);
  const uint8_t spaceAfterSign[] = {'+', ' ', '1'};
  EXPECT_EQ(archive::ParseOctalField(spaceAfterSign, sizeof spaceAfterSign), 0u);
  uint8_t header[512] = {};
  EXPECT_FALSE(archive::TarHeaderValid(header));  // the zero block that ends an archive
  std::snprintf(reinterpret_cast<char*>(header + 148), 8, "%06o", 8 * 32);
  EXPECT_TRUE(archive::TarHeaderValid(header));
  // A header alone with a size of 1: its data byte lies outside.
  std::snprintf(reinterpret_cast<char*>(header + 124), 12, "%011o", 1);
  unsigned sum = 0;
  for (int i = 0; i < 512; ++i) sum += (i >= 148 && i < 156) ? 32 : header[i];
  std::snprintf(reinterpret_cast<char*>(header + 148), 8, "%06o", sum);
  archive::TarMember member;
  EXPECT_FALSE(archive::ReadTarMember(header, sizeof header, 0, &member));
  EXPECT_EQ(archive::CountTarMembers(header, sizeof header), 0);
}
