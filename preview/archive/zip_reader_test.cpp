#include "preview/archive/zip_reader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>

#include "preview/archive/archive_rows.h"
#include "preview/archive/archive_test_support.h"
#include "preview/archive/tar_gz_archive.h"

using archive_test::Fixture;

namespace {

constexpr int64_t kUtModification = 1600000000, kUtAccess = 1600000100;

os::FileTime FromUnix(int64_t seconds) { return static_cast<os::FileTime>((seconds + 11644473600) * 10000000); }

std::u16string NameOf(ZipHandle* zip, int32_t index) {
  ZipEntry entry;
  EXPECT_EQ(ZipGetItem(zip, index, &entry), kZipOk);
  return entry.name;
}

ZipEntry EntryOf(ZipHandle* zip, int32_t index) {
  ZipEntry entry;
  EXPECT_EQ(ZipGetItem(zip, index, &entry), kZipOk);
  return entry;
}

// Every test that extracts works in a folder of its own, which becomes the current folder (the root).
class ZipExtractTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    outer_ = std::filesystem::temp_directory_path() / ("zip-extract-" + std::to_string(os::ProcessId()));
    std::filesystem::remove_all(outer_);
    std::filesystem::create_directories(outer_ / "root");
    std::filesystem::current_path(outer_ / "root");
  }
  void TearDown() override {
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(outer_);
  }
  // Every path below the outer folder, relative to it.
  std::vector<std::string> Written() const {
    std::vector<std::string> names;
    for (const auto& item : std::filesystem::recursive_directory_iterator(outer_)) {
      names.push_back(std::filesystem::relative(item.path(), outer_).generic_string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  std::filesystem::path previous_, outer_;
};


TEST(ZipReader, ListsItemsWithCountNamesSizesAndTimes) {
  const std::u16string path = Fixture("plain.zip");
  ZipHandle* zip = ZipOpen(path.c_str(), 0, kZipFileNameKind);
  ASSERT_NE(zip, nullptr);
  EXPECT_TRUE(ZipIsReaderHandle(zip));
  const ZipEntry count = EntryOf(zip, -1);
  EXPECT_EQ(count.index, 7);
  EXPECT_EQ(count.name[0], u'\0');
  EXPECT_EQ(count.attributes, 0u);
  const char16_t* names[] = {u"readme.txt", u"docs/", u"docs/guide.txt", u"locked.txt", u"dos-archive.txt",
                             u"dos-readonly.txt", u"stored.bin"};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(NameOf(zip, i), names[i]);
  // Walking back to an earlier item starts again from the first.
  EXPECT_EQ(NameOf(zip, 1), u"docs/");

  const ZipEntry stored = EntryOf(zip, 6);
  EXPECT_EQ(stored.compressedSize, 1024);
  EXPECT_EQ(stored.uncompressedSize, 1024);
  const ZipEntry readme = EntryOf(zip, 0);
  os::SystemTime t;
  ASSERT_TRUE(os::FileTimeToSystemTime(readme.modificationTime, &t));
  EXPECT_EQ(t.year, 2021);
  EXPECT_EQ(t.month, 3);
  EXPECT_EQ(t.day, 4);
  EXPECT_EQ(t.hour, 5);
  EXPECT_EQ(t.minute, 6);
  EXPECT_EQ(t.second, 8);
  EXPECT_EQ(readme.accessTime, readme.modificationTime);
  EXPECT_EQ(readme.creationTime, readme.modificationTime);
  // The "UT" block with flags 3 gives modification and access times; creation keeps the DOS time.
  const ZipEntry guide = EntryOf(zip, 2);
  EXPECT_EQ(guide.modificationTime, FromUnix(kUtModification));
  EXPECT_EQ(guide.accessTime, FromUnix(kUtAccess));
  EXPECT_EQ(guide.creationTime, readme.creationTime);
  EXPECT_EQ(guide.utcTimes, kZipUtcModification | kZipUtcAccess);
  EXPECT_EQ(readme.utcTimes, 0u);
  EXPECT_EQ(ZipCloseReader(zip), kZipOk);
}

// Names beyond ASCII as each zipper wrote them (ARCHIVE.listing): code page 437 without the UTF-8 flag and
// UTF-8 with it (zipfile), UTF-8 bytes without the flag (zip).
TEST(ZipReader, NamesAreReadInTheEncodingTheirZipperWroteThem) {
  for (const char* archive : {"names.zip", "names-zip.zip"}) {
    const std::vector<uint8_t> bytes = archive_test::ReadAll(Fixture((std::string(archive) + ".listing").c_str()));
    ASSERT_FALSE(bytes.empty()) << archive;
    ZipHandle* zip = ZipOpen(Fixture(archive).c_str(), 0, kZipFileNameKind);
    ASSERT_NE(zip, nullptr) << archive;
    std::istringstream listing(std::string(bytes.begin(), bytes.end()));
    int32_t index = 0;
    for (std::string line; std::getline(listing, line);)
      EXPECT_EQ(NameOf(zip, index++), os::FromUtf8(line.substr(0, line.find('\t')))) << archive;
    EXPECT_EQ(EntryOf(zip, -1).index, index) << archive;
    ZipCloseReader(zip);
  }
}

TEST(ZipReader, AttributesFollowTheSystemThatMadeTheArchive) {
  const std::u16string path = Fixture("plain.zip");
  ZipHandle* zip = ZipOpen(path.c_str(), 0, kZipFileNameKind);
  ASSERT_NE(zip, nullptr);
  EXPECT_EQ(EntryOf(zip, 0).attributes, 0x80u);  // Unix 0644
  EXPECT_EQ(EntryOf(zip, 1).attributes, 0x90u);  // a folder
  EXPECT_EQ(EntryOf(zip, 3).attributes, 0x81u);  // Unix 0444: read-only
  EXPECT_EQ(EntryOf(zip, 4).attributes, 0xA0u);  // DOS archive bit only: not read-only
  EXPECT_EQ(EntryOf(zip, 5).attributes, 0xA1u);  // DOS read-only bit
  ZipCloseReader(zip);
  EXPECT_EQ(ZipItemAttributes(0x00000000, 0x0014), 0x80u);
  EXPECT_EQ(ZipItemAttributes(0x00000000, 0x0314), 0x81u);
  EXPECT_EQ(ZipItemAttributes(0x41ED0010, 0x0314), 0x90u);
  EXPECT_EQ(ZipItemAttributes(0x00000007, 0x0000), 0x87u);
}

TEST(ZipReader, ReadsFromMemoryAndFromAnOpenFile) {
  const std::vector<uint8_t> bytes = archive_test::ReadAll(Fixture("plain.zip"));
  ZipHandle* zip = ZipOpen(bytes.data(), static_cast<uint32_t>(bytes.size()), kZipMemoryKind);
  ASSERT_NE(zip, nullptr);
  EXPECT_EQ(NameOf(zip, 6), u"stored.bin");
  // A buffer exactly as large as the item: filled (more may follow), then the end.
  std::vector<uint8_t> data(1024);
  uint32_t got = 0;
  EXPECT_EQ(ZipUnzipItem(zip, 6, data.data(), 1024, kZipMemoryKind, &got), kZipMoreData);
  EXPECT_EQ(got, 1024u);
  for (int i = 0; i < 1024; ++i) ASSERT_EQ(data[i], i % 256);
  EXPECT_EQ(ZipUnzipItem(zip, 6, data.data(), 1024, kZipMemoryKind, &got), kZipOk);
  EXPECT_EQ(got, 0u);
  ZipCloseReader(zip);

  os::File file;
  ASSERT_TRUE(file.OpenRead(Fixture("plain.zip")));
  zip = ZipOpen(&file, 0, kZipHandleKind);
  ASSERT_NE(zip, nullptr);
  EXPECT_EQ(NameOf(zip, 0), u"readme.txt");
  ZipCloseReader(zip);
  // An open device is no archive's file: refused before anything is read from it.
  os::File device;
  ASSERT_TRUE(device.OpenRead(u"/dev/null"));
  EXPECT_EQ(ZipOpen(&device, 0, kZipHandleKind), nullptr);
  EXPECT_EQ(ZipLastError, kZipNotDiskFile);
}

TEST(ZipReader, WhatIsNoZipArchiveDoesNotOpen) {
  for (const char* name : {"truncated.zip", "notzip.zip", "missing.zip"}) {
    const std::u16string path = Fixture(name);
    EXPECT_EQ(ZipOpen(path.c_str(), 0, kZipFileNameKind), nullptr) << name;
    EXPECT_EQ(ZipLastError, std::string(name) == "missing.zip" ? kZipCreateFailed : kZipNotZip) << name;
  }
  const uint8_t empty[1] = {0};
  EXPECT_EQ(ZipOpen(empty, 0, kZipMemoryKind), nullptr);
  EXPECT_EQ(ZipOpen(empty, 1, 4), nullptr);
  EXPECT_EQ(ZipLastError, kZipBadArgument);
}

TEST(ZipReader, BadHandlesAndIndexesAreRefused) {
  ZipEntry entry;
  EXPECT_EQ(ZipGetItem(nullptr, 0, &entry), kZipBadArgument);
  EXPECT_EQ(ZipCloseReader(nullptr), kZipBadArgument);
  EXPECT_EQ(ZipLastError, kZipBadArgument);
  EXPECT_TRUE(ZipIsReaderHandle(nullptr));
  const std::u16string path = Fixture("plain.zip");
  ZipHandle* zip = ZipOpen(path.c_str(), 0, kZipFileNameKind);
  ASSERT_NE(zip, nullptr);
  EXPECT_EQ(ZipGetItem(zip, 7, &entry), kZipBadArgument);
  EXPECT_EQ(ZipGetItem(zip, -2, &entry), kZipBadArgument);
  uint8_t buffer[4];
  EXPECT_EQ(ZipUnzipItem(zip, 7, buffer, 4, kZipMemoryKind), kZipBadArgument);
  EXPECT_EQ(ZipUnzipItem(zip, 0, buffer, 4, 9), kZipBadArgument);
  EXPECT_EQ(ZipCloseReader(zip), kZipOk);
}

TEST(ZipReader, DataFailingTheirCrcAreAnError) {
  const std::vector<uint8_t> bytes = archive_test::ReadAll(Fixture("crc.zip"));
  ZipHandle* zip = ZipOpen(bytes.data(), static_cast<uint32_t>(bytes.size()), kZipMemoryKind);
  ASSERT_NE(zip, nullptr);
  std::vector<uint8_t> data(2048);
  uint32_t got = 0;
  EXPECT_EQ(ZipUnzipItem(zip, 0, data.data(), 2048, kZipMemoryKind, &got), kZipMoreData);
  EXPECT_EQ(ZipUnzipItem(zip, 0, data.data(), 2048, kZipMemoryKind, &got), kZipOk);
  EXPECT_EQ(ZipUnzipItem(zip, 1, data.data(), 2048, kZipMemoryKind, &got), kZipMoreData);
  EXPECT_EQ(ZipUnzipItem(zip, 1, data.data(), 2048, kZipMemoryKind, &got), kZipDecompressFailed);
  ZipCloseReader(zip);
}

TEST(ZipReader, AnItemWithADamagedLocalHeaderLeavesTheOthersReadable) {
  const std::vector<uint8_t> bytes = archive_test::ReadAll(Fixture("badheader.zip"));
  ZipHandle* zip = ZipOpen(bytes.data(), static_cast<uint32_t>(bytes.size()), kZipMemoryKind);
  ASSERT_NE(zip, nullptr);
  ZipEntry entry;
  EXPECT_EQ(NameOf(zip, 0), u"first.txt");
  EXPECT_EQ(ZipGetItem(zip, 1, &entry), kZipLocalHeader);
  EXPECT_EQ(NameOf(zip, 2), u"third.txt");
  ZipCloseReader(zip);
}

// What an item holds, read into memory in small pieces; empty when the read fails.
std::string ItemData(ZipHandle* zip, int32_t index) {
  std::string data;
  char piece[7];
  for (;;) {
    uint32_t got = 0;
    const uint32_t result = ZipUnzipItem(zip, index, piece, sizeof piece, kZipMemoryKind, &got);
    if (result == kZipOk) return data;
    if (result != kZipMoreData) return std::string();
    data.append(piece, got);
  }
}

TEST(ZipReader, ADirectoryWhoseChainBreaksHoldsTheItemsBeforeTheBreak) {
  // 2,000 members, the central header of member 1,000 damaged: the members after it cannot be found.
  const std::vector<uint8_t> bytes = archive_test::ReadAll(Fixture("badcentral.zip"));
  ZipHandle* zip = ZipOpen(bytes.data(), static_cast<uint32_t>(bytes.size()), kZipMemoryKind);
  ASSERT_NE(zip, nullptr);
  EXPECT_EQ(EntryOf(zip, -1).index, 1000);
  EXPECT_EQ(NameOf(zip, 999), u"member 0999.txt");
  EXPECT_EQ(NameOf(zip, 5), u"member 0005.txt");
  ZipEntry entry;
  EXPECT_EQ(ZipGetItem(zip, 1500, &entry), kZipBadArgument);
  // A failed look-up leaves no stale item behind: the member looked at before it still extracts.
  EXPECT_EQ(ItemData(zip, 5), "0000000000000005");
  EXPECT_EQ(NameOf(zip, 0), u"member 0000.txt");
  ZipCloseReader(zip);

  // An end record claiming 2^31 - 2 members in a directory of one header.
  const std::u16string claim = Fixture("zip64claim.zip");
  zip = ZipOpen(claim.c_str(), 0, kZipFileNameKind);
  ASSERT_NE(zip, nullptr);
  EXPECT_EQ(EntryOf(zip, -1).index, 1);
  EXPECT_EQ(NameOf(zip, 0), u"a.txt");
  EXPECT_EQ(ItemData(zip, 0), "hello");
  EXPECT_EQ(ZipGetItem(zip, 1, &entry), kZipBadArgument);
  ZipCloseReader(zip);
}

TEST(ZipReader, ExtendedTimesNeverReadPastTheirBlock) {
  ZipEntry entry;
  // "UT" announcing nine bytes with only five there: the flag and one time.
  const uint8_t cut[] = {'U', 'T', 9, 0, 3, 1, 0, 0, 0};
  ReadZipExtendedTimes(cut, sizeof cut, &entry);
  EXPECT_EQ(entry.modificationTime, FromUnix(1));
  EXPECT_EQ(entry.accessTime, 0u);
  // A block before it is skipped by its size; a size past the end ends the scan.
  const uint8_t two[] = {'x', 'y', 1, 0, 0, 'U', 'T', 5, 0, 4, 2, 0, 0, 0};
  ZipEntry second;
  ReadZipExtendedTimes(two, sizeof two, &second);
  EXPECT_EQ(second.creationTime, FromUnix(2));
  const uint8_t huge[] = {'x', 'y', 0xFF, 0xFF, 'U', 'T', 5, 0, 1, 2, 0, 0, 0};
  ZipEntry third;
  ReadZipExtendedTimes(huge, sizeof huge, &third);
  EXPECT_EQ(third.modificationTime, 0u);
}

TEST(ZipReader, SafeRelativePaths) {
  for (const char16_t* good : {u"a.txt", u"dir/a.txt", u"dir\\sub\\a.txt", u"a..b/c", u"...txt"}) {
    EXPECT_TRUE(IsSafeRelativePath(good)) << os::ToUtf8(good);
  }
  for (const char16_t* bad : {u"", u"../a", u"a/../../b", u"..\\a", u"/abs", u"\\abs", u"C:/a", u"C:a", u"a:b",
                              u"dir/", u"a/..", u"a\x01"}) {
    EXPECT_FALSE(IsSafeRelativePath(bad)) << os::ToUtf8(bad);
  }
}

TEST_F(ZipExtractTest, ExtractsByNameMakingFoldersUnderTheRoot) {
  const std::u16string path = Fixture("plain.zip");
  ZipHandle* zip = ZipOpen(path.c_str(), 0, kZipFileNameKind);
  ASSERT_NE(zip, nullptr);
  EXPECT_EQ(ZipUnzipItem(zip, 2, u"out/deeper/guide.txt", 0, kZipFileNameKind), kZipOk);
  EXPECT_EQ(ZipUnzipItem(zip, 1, u"ignored", 0, kZipFileNameKind), kZipOk);  // the folder item makes "docs"
  EXPECT_EQ(ZipUnzipItem(zip, 0, u"readme.txt", 0, kZipFileNameKind), kZipOk);
  ZipCloseReader(zip);
  EXPECT_EQ(Written(), (std::vector<std::string>{"root", "root/docs", "root/out", "root/out/deeper",
                                                 "root/out/deeper/guide.txt", "root/readme.txt"}));
  std::string guide;
  for (int i = 0; i < 1000; ++i) guide += "guide ";
  const std::filesystem::path extracted = outer_ / "root/out/deeper/guide.txt";
  const std::vector<uint8_t> written = archive_test::ReadAll(os::FromUtf8(extracted.string()));
  EXPECT_EQ(std::string(written.begin(), written.end()), guide);
}

TEST_F(ZipExtractTest, ZipSlipNamesAreRefusedAndNothingIsWritten) {
  const std::u16string path = Fixture("hostile.zip");
  ZipHandle* zip = ZipOpen(path.c_str(), 0, kZipFileNameKind);
  ASSERT_NE(zip, nullptr);
  ZipEntry count;
  ASSERT_EQ(ZipGetItem(zip, -1, &count), kZipOk);
  ASSERT_EQ(count.index, 7);
  int refused = 0;
  for (int32_t i = 0; i < count.index; ++i) {
    ZipEntry entry;
    ASSERT_EQ(ZipGetItem(zip, i, &entry), kZipOk);
    // Extracting each item under its own (hostile) name, as a careless caller would.
    const uint32_t result = ZipUnzipItem(zip, i, entry.name, 0, kZipFileNameKind);
    if (std::u16string(entry.name) == u"ok/inner.txt") {
      EXPECT_EQ(result, kZipOk);
    } else {
      EXPECT_EQ(result, kZipCreateFailed) << os::ToUtf8(entry.name);
      ++refused;
    }
  }
  EXPECT_EQ(refused, 6);
  // Absolute destinations given by the caller are refused too.
  EXPECT_EQ(ZipUnzipItem(zip, 5, u"/tmp/zip-slip-absolute.txt", 0, kZipFileNameKind), kZipCreateFailed);
  EXPECT_EQ(ZipUnzipItem(zip, 5, u"..\\sibling.txt", 0, kZipFileNameKind), kZipCreateFailed);
  ZipCloseReader(zip);
  EXPECT_EQ(Written(), (std::vector<std::string>{"root", "root/ok", "root/ok/inner.txt"}));
  EXPECT_FALSE(std::filesystem::exists("/tmp/zip-slip-absolute.txt"));
}

TEST_F(ZipExtractTest, AMemberFailingItsCrcLeavesNoFile) {
  const std::u16string path = Fixture("crc.zip");
  ZipHandle* zip = ZipOpen(path.c_str(), 0, kZipFileNameKind);
  ASSERT_NE(zip, nullptr);
  EXPECT_EQ(ZipUnzipItem(zip, 0, u"good.txt", 0, kZipFileNameKind), kZipOk);
  EXPECT_EQ(ZipUnzipItem(zip, 1, u"bad.txt", 0, kZipFileNameKind), kZipReadWriteFailed);
  ZipCloseReader(zip);
  EXPECT_EQ(Written(), (std::vector<std::string>{"root", "root/good.txt"}));
}

TEST_F(ZipExtractTest, EveryMethodIsListedAndOnlyStoredOrDeflatedItemsWithoutEncryptionExtract) {
  // Python's LZMA archive, and members stored under the headers of methods 9, 98, 99 (with its AES block),
  // traditional encryption and BZIP2: every one is listed, none is called damaged, and extraction names
  // what it cannot undo. The local headers are read where minizip reads them.
  struct Item {
    const char16_t* name;
    const char* refusal;  // "": extracts
  };
  const std::pair<const char*, std::vector<Item>> archives[] = {
      {"lzma.zip", {{u"readme.txt", "LZMA (method 14)"}, {u"docs/", "LZMA (method 14)"},
                    {u"docs/big.txt", "LZMA (method 14)"}}},
      {"methods.zip", {{u"stored.txt", ""}, {u"deflate64.bin", "Deflate64 (method 9)"}, {u"ppmd.txt", "PPMd (method 98)"},
                       {u"aes.txt", "AES encryption (method 99)"}, {u"crypt.txt", "encryption"},
                       {u"bzip2.txt", "BZIP2 (method 12)"}}},
      // Stored members behind a self-extractor's stub.
      {"stub.zip", {{u"first.txt", ""}, {u"second.txt", ""}}},
  };
  for (const auto& [file, items] : archives) {
    const std::u16string path = Fixture(file);
    ZipHandle* zip = ZipOpen(path.c_str(), 0, kZipFileNameKind);
    ASSERT_NE(zip, nullptr) << file;
    std::vector<std::u16string> listed;
    EXPECT_EQ(archive::ForEachZipRow(zip, [&](const ZipEntry& entry) { listed.push_back(entry.name); }), u"") << file;
    ASSERT_EQ(listed.size(), items.size()) << file;
    for (size_t i = 0; i < items.size(); ++i) {
      const int32_t index = static_cast<int32_t>(i);
      const ZipEntry entry = EntryOf(zip, index);
      EXPECT_EQ(listed[i], items[i].name);
      EXPECT_EQ(ZipMethodText(entry), items[i].refusal) << os::ToUtf8(items[i].name);
      const bool extracts = *items[i].refusal == '\0';
      uint8_t buffer[64];
      EXPECT_EQ(ZipUnzipItem(zip, index, buffer, sizeof buffer, kZipMemoryKind),
                extracts ? kZipMoreData : kZipUnsupportedMethod) << os::ToUtf8(items[i].name);
      if (entry.attributes & kZipAttrDirectory) continue;
      EXPECT_EQ(ZipUnzipItem(zip, index, u"out.bin", 0, kZipFileNameKind), extracts ? kZipOk : kZipUnsupportedMethod);
      std::filesystem::remove(outer_ / "root" / "out.bin");
    }
    ZipCloseReader(zip);
  }
  EXPECT_EQ(Written(), std::vector<std::string>{"root"});  // nothing left behind
  const std::vector<uint8_t> stub = archive_test::ReadAll(Fixture("stub.zip"));
  ZipHandle* zip = ZipOpen(stub.data(), static_cast<uint32_t>(stub.size()), kZipMemoryKind);
  ASSERT_NE(zip, nullptr);
  EXPECT_EQ(ItemData(zip, 1), "second member");
  ZipCloseReader(zip);
  // The same with each local header's offset in a ZIP64 block: listed whole (extracting it is the
  // library's own affair, and the system's copy of it reads no such block).
  const std::u16string far = Fixture("zip64offsets.zip");
  zip = ZipOpen(far.c_str(), 0, kZipFileNameKind);
  ASSERT_NE(zip, nullptr);
  std::vector<std::u16string> listed;
  EXPECT_EQ(archive::ForEachZipRow(zip, [&](const ZipEntry& entry) { listed.push_back(entry.name); }), u"");
  EXPECT_EQ(listed, (std::vector<std::u16string>{u"first.txt", u"second.txt"}));
  ZipCloseReader(zip);
  // The gzip reader's ZIP member says which method it lacks.
  TarGzArchive archive;
  ASSERT_EQ(archive.Open(Fixture("lzma.zip")), 1);
  ArchiveMember member;
  EXPECT_EQ(archive.GetFileAt(0, &member), 0);
  EXPECT_EQ(archive.GetLastErrorText(),
            "Could not unzip file at the specified position from the archive: LZMA (method 14) is not supported !");
}

TEST_F(ZipExtractTest, AnExtractedFileKeepsItsItemsReadOnlyBitAndTimes) {
  const std::u16string path = Fixture("plain.zip");
  ZipHandle* zip = ZipOpen(path.c_str(), 0, kZipFileNameKind);
  ASSERT_NE(zip, nullptr);
  // Unix 0644, Unix 0444, DOS archive, DOS read-only and archive; the guide has "UT" times.
  const struct {
    int32_t index;
    const char16_t* name;
    bool readOnly;
  } items[] = {{0, u"readme.txt", false}, {3, u"locked.txt", true}, {4, u"dos-archive.txt", false},
               {5, u"dos-readonly.txt", true}, {2, u"guide.txt", false}};
  for (const auto& item : items) {
    ASSERT_EQ(ZipUnzipItem(zip, item.index, item.name, 0, kZipFileNameKind), kZipOk) << os::ToUtf8(item.name);
    struct stat st {};
    ASSERT_EQ(::stat((outer_ / "root" / os::ToUtf8(item.name)).c_str(), &st), 0);
    EXPECT_EQ((st.st_mode & 0222) == 0, item.readOnly) << os::ToUtf8(item.name);
    EXPECT_NE(st.st_mode & 0444, 0u);
  }
  struct stat guide {};
  ASSERT_EQ(::stat((outer_ / "root/guide.txt").c_str(), &guide), 0);
  EXPECT_EQ(guide.st_mtime, kUtModification);
  EXPECT_EQ(guide.st_atime, kUtAccess);
  ZipCloseReader(zip);
}

TEST_F(ZipExtractTest, AnItemExtractedIntoAnOpenFileGetsItsTimes) {
  const std::u16string path = Fixture("plain.zip");
  ZipHandle* zip = ZipOpen(path.c_str(), 0, kZipFileNameKind);
  ASSERT_NE(zip, nullptr);
  const std::u16string target = os::FromUtf8((outer_ / "root" / "guide-copy.txt").string());
  os::File file;
  ASSERT_TRUE(file.OpenWrite(target));
  EXPECT_EQ(ZipUnzipItem(zip, 2, &file, 0, kZipHandleKind), kZipOk);
  ASSERT_TRUE(file.Close());
  ZipCloseReader(zip);
  struct stat copy {};
  ASSERT_EQ(::stat((outer_ / "root/guide-copy.txt").c_str(), &copy), 0);
  EXPECT_GT(copy.st_size, 0);
  EXPECT_EQ(copy.st_mtime, kUtModification);
  EXPECT_EQ(copy.st_atime, kUtAccess);
}

// The listing of an archive whose directory is not what its end record says, with the note the list shows.
std::u16string ListingNote(const std::vector<uint8_t>& bytes, size_t* rows, ZipDirectoryState* state) {
  ZipHandle* zip = ZipOpen(bytes.data(), static_cast<uint32_t>(bytes.size()), kZipMemoryKind);
  EXPECT_NE(zip, nullptr);
  if (zip == nullptr) return u"no archive";
  *rows = 0;
  const std::u16string note = archive::ForEachZipRow(zip, [&](const ZipEntry&) { ++*rows; });
  EXPECT_EQ(ZipGetDirectoryState(zip, state), kZipOk);
  ZipCloseReader(zip);
  return note;
}

TEST(ZipReader, AListingShortOfTheDirectorySaysHowMuchIsListed) {
  size_t rows = 0;
  ZipDirectoryState state;
  EXPECT_EQ(ListingNote(archive_test::ReadAll(Fixture("plain.zip")), &rows, &state), u"");
  EXPECT_EQ(rows, 7u);
  EXPECT_TRUE(state.whole);
  EXPECT_EQ(state.claimed, 7u);

  EXPECT_EQ(ListingNote(archive_test::ReadAll(Fixture("badcentral.zip")), &rows, &state),
            u"Loaded 1000 of 2000 total members: the archive is damaged");
  EXPECT_EQ(rows, 1000u);
  EXPECT_FALSE(state.whole);
  EXPECT_EQ(state.claimed, 2000u);
  EXPECT_EQ(ListingNote(archive_test::ReadAll(Fixture("zip64claim.zip")), &rows, &state),
            u"Loaded 1 of 2147483646 total members: the archive is damaged");
  // The directory is whole, one member's own header is not.
  EXPECT_EQ(ListingNote(archive_test::ReadAll(Fixture("badheader.zip")), &rows, &state),
            u"Loaded 2 of 3 total members: the archive is damaged");
  EXPECT_TRUE(state.whole);

  // An end record counting 3 of the 7 headers: all 7 are followed and listed, and the count is wrong.
  std::vector<uint8_t> bytes = archive_test::ReadAll(Fixture("plain.zip"));
  const uint8_t signature[] = {'P', 'K', 5, 6};
  const auto end = std::find_end(bytes.begin(), bytes.end(), signature, signature + 4);
  ASSERT_NE(end, bytes.end());
  end[8] = end[10] = 3;
  EXPECT_EQ(ListingNote(bytes, &rows, &state), u"Loaded 7 of 7 total members: the archive is damaged");
  EXPECT_EQ(rows, 7u);
  EXPECT_FALSE(state.whole);
  EXPECT_EQ(state.claimed, 3u);
}

}  // namespace
