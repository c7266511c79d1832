// Directory sectors built entry by entry: names, deleted marks, long names, skipped entries, the end of a
// directory, and what the scan panel shows.
#include "engine/fat/fat_directory.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "engine/fat/fat_entry_sector.h"
#include "engine/fat/fat_test_support.h"
#include "engine/host/fakes.h"
#include "engine/host/scan_fakes.h"
#include "engine/records/scan_records.h"
#include "platform/os/os.h"

namespace {

using Sector = std::array<uint8_t, 512>;

// Writes 32-byte entries into a directory sector.
class DirectorySector {
 public:
  // A short entry: name11 is the 8 name and 3 extension bytes as stored.
  DirectorySector& Short(uint32_t index, const char* name11, uint8_t attributes, uint32_t cluster, uint32_t size = 0,
                         uint16_t writeDate = 0, uint16_t accessDate = 0) {
    uint8_t* e = Entry(index);
    std::memcpy(e, name11, 11);
    e[11] = attributes;
    Put16(e + 18, accessDate);
    Put16(e + 20, static_cast<uint16_t>(cluster >> 16));
    Put16(e + 24, writeDate);
    Put16(e + 26, static_cast<uint16_t>(cluster));
    Put32(e + 28, size);
    return *this;
  }

  // The pieces of name in front of the short entry at index (last piece first, as stored), with the
  // checksum of the short entry's 11 bytes name11 as written before any deletion; a name that does not fill
  // its last piece gets a terminator and 0xFFFF after it. Deleted: every sequence byte 0xE5. Returns the
  // index of the first piece.
  uint32_t LongName(uint32_t shortIndex, const std::u16string& name, const char* name11, bool deleted = false) {
    const uint32_t pieces = static_cast<uint32_t>((name.size() + 12) / 13);
    for (uint32_t p = 0; p < pieces; ++p) {
      const uint32_t sequence = p + 1;
      uint8_t mark = static_cast<uint8_t>(sequence | (sequence == pieces ? 0x40 : 0));
      Piece(shortIndex - 1 - p, deleted ? 0xE5 : mark, name, p * 13, Checksum(name11));
    }
    return shortIndex - pieces;
  }

  // One piece: characters from `from` of name, then the terminator and 0xFFFF.
  DirectorySector& Piece(uint32_t index, uint8_t sequence, const std::u16string& name, size_t from,
                         uint8_t checksum) {
    static constexpr uint32_t kPlaces[13] = {1, 3, 5, 7, 9, 14, 16, 18, 20, 22, 24, 28, 30};
    uint8_t* e = Entry(index);
    e[0] = sequence;
    e[11] = kFatLongNameAttribute;
    e[13] = checksum;
    for (size_t i = 0; i < 13; ++i) {
      const size_t at = from + i;
      const char16_t c = at < name.size() ? name[at] : at == name.size() ? 0 : 0xFFFF;
      Put16(e + kPlaces[i], c);
    }
    return *this;
  }

  static uint8_t Checksum(const char* name11) { return FatShortNameChecksum(reinterpret_cast<const uint8_t*>(name11)); }

  uint8_t* Entry(uint32_t index) { return bytes.data() + index * 32; }
  const uint8_t* data() const { return bytes.data(); }

  Sector bytes{};

 private:
  static void Put16(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
  }
  static void Put32(uint8_t* p, uint32_t v) {
    Put16(p, v);
    Put16(p + 2, v >> 16);
  }
};

class FatDirectoryTest : public ::testing::Test {
 protected:
  FatDirectoryTest() {
    CurrentFileSystem.type = records::kFat16;
    CurrentFileSystem.sectorsPerCluster = 4;
    ScanRange.sectorCount = 400;  // 100 clusters: each entry is one percent
  }

  void Parse(const DirectorySector& sector, uint32_t parentId = 7, uint32_t deleted = 0, uint16_t firstIndex = 0,
             const FatSectorsBefore& before = {}) {
    ParseFatDirectory(sector.data(), parentId, &ended_, 1234, deleted, firstIndex, before);
  }

  std::u16string OnlyEntryName() {
    EXPECT_EQ(FatEntryList.size(), 1u);
    return FatEntryList.size() == 1 ? FatEntryList[0].name : u"";
  }

  fat_test::CleanScanState clean_;
  host::RecordingSecondDisplay panel_;
  host::ScopedHosts hosts_{[this] {
    host::Hosts hosts;
    hosts.secondDisplay = &panel_;
    return hosts;
  }()};
  uint32_t ended_ = 0;
};

TEST_F(FatDirectoryTest, DeletedShortNameWithoutLongNameShowsXForItsFirstCharacter) {
  DirectorySector sector;
  sector.Short(0, "\xE5ILE    TXT", 0x20, 5, 100);
  Parse(sector);
  ASSERT_EQ(OnlyEntryName(), u"xILE.TXT");
  EXPECT_EQ(FatEntryList[0].deleted, 1u);
}

TEST_F(FatDirectoryTest, ShortNamesDropBlanksAndTakeADotOnlyBeforeAnExtension) {
  const struct {
    const char* stored;
    const char16_t* shown;
  } cases[] = {
      {"FILE    TXT", u"FILE.TXT"},
      {"README     ", u"README"},      // blank extension: no dot
      {"NAME     A ", u"NAME"},        // first extension byte blank: no dot, no extension
      {"NAME    TX ", u"NAME.TX"},
      {"A B C   D E", u"ABC.DE"},      // every blank goes
      {"CAF\x90    TXT", u"CAF\u00C9.TXT"},  // a byte of the OEM code page: 0x90 is E acute in 437 and 850
  };
  for (const auto& c : cases) {
    fat_test::CleanScanState::Reset();
    DirectorySector sector;
    sector.Short(0, c.stored, 0x20, 9, 1);
    Parse(sector);
    EXPECT_EQ(OnlyEntryName(), c.shown) << c.stored;
  }
}

// Short names as Windows writes them on systems of other OEM code pages, a name alone in its entry when it fits
// 8.3: its capitals in the code page, the case flags for a name in small letters, 0x05 for a first byte 0xE5, and
// in code page 932 two bytes a character (whose second may be '\\' or '['). Each row is read with the system's
// OEM code page its own: natively the one DORVANE_OEM_CODE_PAGE names; on Windows the system's (rows of others
// are passed over).
struct CodePageName {
  uint32_t codePage;
  const char* stored;  // the 11 name bytes
  uint8_t caseFlags;
  const char16_t* shown;
};

constexpr CodePageName kCodePageNames[] = {
    {866, "\x8E\x92\x97\x85\x92   DOC", 0x18, u"\u043E\u0442\u0447\u0435\u0442.doc"},  // отчет.doc
    {866, "\x8F\x90\x88\x8A\x80\x87  TXT", 0x00, u"\u041F\u0420\u0418\u041A\u0410\u0417.TXT"},  // ПРИКАЗ.TXT
    {866, "\xE5\x8B\x80\x8C    TXT", 0x18, u"x\u043B\u0430\u043C.txt"},  // хлам.txt deleted
    {852, "ZA\xBD\xE0\x9D\x8F  TXT", 0x18, u"za\u017C\u00F3\u0142\u0107.txt"},  // zażółć.txt
    {852, "\x9D\xE0" "D\x8D    DOC", 0x00, u"\u0141\u00D3D\u0179.DOC"},  // ŁÓDŹ.DOC
    {737, "\x81\x88\x81\x8A\xED\x80  TXT", 0x18, u"\u03B2\u03B9\u03B2\u03BB\u03AF\u03B1.txt"},  // βιβλία.txt
    {737, "\xEB\x90\x82\x8E    DOC", 0x00, u"\u0388\u03A1\u0393\u039F.DOC"},  // ΈΡΓΟ.DOC
    {857, "\x9EIRKET  DOC", 0x18, u"\u015Firket.doc"},  // şirket.doc
    {857, "\x05LO     TXT", 0x18, u"\u00F5lo.txt"},  // õlo.txt: its first byte 0xE5 kept as 0x05
    {932, "\x93\xFA\x96\x7B\x8C\xEA  TXT", 0x00, u"\u65E5\u672C\u8A9E.TXT"},  // 日本語.TXT
    {932, "\x8E\x91\x97\xBF    TXT", 0x10, u"\u8CC7\u6599.txt"},  // 資料.txt
    {932, "\x83\x5C\x83\x74\x83\x67  TXT", 0x00, u"\u30BD\u30D5\u30C8.TXT"},  // ソフト.TXT: its second byte '\\'
    {932, "\x05\x4B\xE5\x4E    JPG", 0x00, u"\u8594\u8587.JPG"},  // 薔薇.JPG: a lead byte 0xE5 kept as 0x05
    // Deleted: the first character's first byte lost. ソ's second byte '\\' cannot begin a character, テ's 'e'
    // seldom does, 文's 0xB6 is a half-width letter: each was one character of two. FILE.TXT reads as ASCII.
    {932, "\xE5\x5C\x83\x74\x83\x67  TXT", 0x00, u"x\u30D5\u30C8.TXT"},  // ソフト.TXT deleted
    {932, "\xE5\x65\x83\x58\x83\x67  TXT", 0x00, u"x\u30B9\u30C8.TXT"},  // テスト.TXT deleted
    {932, "\xE5\xB6\x8F\x91    TXT", 0x00, u"x\u66F8.TXT"},  // 文書.TXT deleted
    {932, "\xE5ILE    TXT", 0x00, u"xILE.TXT"},
    {932, "\xE5\x91\x97\xBF    TXT", 0x10, u"x\u6599.txt"},  // 資料.txt deleted: 料 after 資's second byte
    {932, "\xE5\x8E\x91\x97\xBF   TXT", 0x00, u"x\u8CC7\u6599.TXT"},  // A資料.TXT deleted
};

// The OEM code page the OS layer reports while it lives (natively); ours() false where the system's own is
// another (Windows).
class SystemCodePage {
 public:
  explicit SystemCodePage(uint32_t codePage) : before_(os::OemCodePage()) {
#ifndef _WIN32
    os::UseOemCodePage(codePage);
#endif
    ours_ = os::OemCodePage() == codePage;
  }
  ~SystemCodePage() {
#ifndef _WIN32
    os::UseOemCodePage(before_);
#endif
  }
  bool ours() const { return ours_; }

 private:
  uint32_t before_;
  bool ours_ = false;
};

TEST_F(FatDirectoryTest, ShortNamesAreReadInTheSystemsOemCodePage) {
  // A run on Windows as the system of a code page (under Wine, by its locale) names it, and reads its rows.
  const char* expected = std::getenv("DORVANE_EXPECTED_OEM_CODE_PAGE");
  if (expected != nullptr) {
    ASSERT_EQ(std::to_string(os::OemCodePage()), expected);
  }
  size_t read = 0;
  for (const CodePageName& row : kCodePageNames) {
    SystemCodePage page(row.codePage);
    if (!page.ours()) continue;
    ++read;
    fat_test::CleanScanState::Reset();
    DirectorySector sector;
    sector.Short(0, row.stored, 0x20, 9, 1);
    sector.Entry(0)[12] = row.caseFlags;
    Parse(sector);
    EXPECT_EQ(OnlyEntryName(), row.shown) << row.codePage << " " << os::ToUtf8(row.shown);
  }
#ifdef _WIN32
  if (expected != nullptr) {
    EXPECT_GT(read, 0u);
  }
#else
  EXPECT_EQ(read, std::size(kCodePageNames));
#endif
}

// A name of the code page keeps its bytes' other readings for the snapshots of before (each byte a character of
// 850, with the case flags and without), and a folder's later cluster holding names of two bytes whose second is
// '\\', '[' or '|' is still known for a folder's by its entries; so is an empty file of such a name.
TEST_F(FatDirectoryTest, NamesOfTheCodePageKeepTheirFormerReadingsAndAreKnownAsEntries) {
  SystemCodePage russian(866);
  if (russian.ours()) {
    DirectorySector sector;
    sector.Short(0, "\x8E\x92\x97\x85\x92   DOC", 0x20, 9, 1);
    sector.Entry(0)[12] = 0x18;
    FatDirectoryEntry entry;
    ASSERT_EQ(DecodeFatEntry(sector.data(), 0, records::kFat16, 0, &entry), FatEntryKind::kListed);
    EXPECT_EQ(entry.name, u"\u043E\u0442\u0447\u0435\u0442.doc");
    EXPECT_EQ(entry.nameOnDisk, u"\u041E\u0422\u0427\u0415\u0422.DOC");
    const std::vector<std::u16string> former = {u"\u008E\u0092\u0097\u0085\u0092.DOC",
                                                u"\u00E4\u00E6\u00F9\u00E0\u00E6.doc",
                                                u"\u00C4\u00C6\u00F9\u00E0\u00C6.DOC"};
    EXPECT_EQ(entry.formerNames, former);
  }
  SystemCodePage japanese(932);
  if (!japanese.ours()) return;
  DirectorySector sector;
  sector.Short(0, "\x83\x5C\x83\x74\x83\x67  TXT", 0x20, 9, 100);  // ソフト.TXT
  sector.Short(1, "\x83\x7C\x81\x5B\x83\x8B  TXT", 0x20, 10, 100);  // ポール.TXT: '|' and '['
  sector.Short(2, "\x95\x5C\x83\x7C    TXT", 0x20, 0, 0);  // 表ポ.TXT, empty
  EXPECT_TRUE(HoldsFatDirectoryEntries(sector.data()));
  Parse(sector);
  ASSERT_EQ(FatEntryList.size(), 3u);
  EXPECT_EQ(FatEntryList[1].name, u"\u30DD\u30FC\u30EB.TXT");
  EXPECT_EQ(FatEntryList[2].name, u"\u8868\u30DD.TXT");
}

TEST_F(FatDirectoryTest, TwentySixCharacterNameFromTwoPiecesWithoutTerminator) {
  DirectorySector sector;
  const std::u16string name = u"Twenty six characters.text";
  ASSERT_EQ(name.size(), 26u);
  sector.Short(0, "README  TXT", 0x20, 3, 1);
  EXPECT_EQ(sector.LongName(3, name, "TWENTY~1TEX"), 1u);
  sector.Short(3, "TWENTY~1TEX", 0x20, 9, 700);
  Parse(sector);
  ASSERT_EQ(FatEntryList.size(), 2u);
  EXPECT_EQ(FatEntryList[1].name, name);
  EXPECT_EQ(FatEntryList[1].deleted, 0u);
}

TEST_F(FatDirectoryTest, DeletedEntryKeepsItsLongName) {
  DirectorySector sector;
  sector.Short(0, "README  TXT", 0x20, 3, 1);
  sector.LongName(3, u"Deleted long file name.bin", "DELETE~1BIN", true);
  sector.Short(3, "\xE5" "ELETE~1BIN", 0x20, 9, 9000);
  Parse(sector);
  ASSERT_EQ(FatEntryList.size(), 2u);
  EXPECT_EQ(FatEntryList[1].name, u"Deleted long file name.bin");
  EXPECT_EQ(FatEntryList[1].deleted, 1u);
}

TEST_F(FatDirectoryTest, NamesThatCannotBeFileNamesAreNotListedAndAnInvalidLongNameGivesWayToTheShortName) {
  DirectorySector sector;
  sector.Short(0, "BAD?    TXT", 0x20, 5, 1);
  sector.Short(1, "BAD\x01    TXT", 0x20, 6, 1);
  sector.LongName(3, u"tab\there.txt", "TABHER~1TXT");
  sector.Short(3, "TABHER~1TXT", 0x20, 7, 1);
  sector.Short(4, "GOOD    TXT", 0x20, 8, 1);
  Parse(sector);
  ASSERT_EQ(FatEntryList.size(), 2u);
  EXPECT_EQ(FatEntryList[0].name, u"TABHER~1.TXT");
  EXPECT_EQ(FatEntryList[1].name, u"GOOD.TXT");
}

TEST_F(FatDirectoryTest, AnEntryWithoutClustersIsListedOnlyAsAnEmptyFile) {
  DirectorySector sector;
  sector.Short(0, "EMPTY   TXT", 0x20, 0, 0);
  sector.Short(1, "\xE5ONE    TXT", 0x20, 0, 0);  // a deleted empty file
  sector.LongName(3, u".nomedia", "NOMEDI~1   ");
  sector.Short(3, "NOMEDI~1   ", 0x20, 0, 0);
  sector.Short(4, "VOLUME     ", 0x08, 0, 0);   // volume label
  sector.Short(5, "..         ", 0x10, 0, 0);   // a subfolder's ".." naming the root
  sector.Short(6, "FOLDER     ", 0x10, 0, 0);   // a folder has a cluster
  sector.Short(7, "SIZED   BIN", 0x20, 0, 7);   // bytes without a cluster
  sector.Short(8, "AB\0\0\0\0\0\0\0\0\0", 0x20, 0, 0);  // stray bytes: no short name
  sector.Short(9, "A B     TXT", 0x20, 0, 0);   // a blank inside a name
  sector.Short(10, "A.B     TXT", 0x20, 0, 0);  // a character short names cannot hold
  sector.Short(11, "JUNK    TXT", 0x60, 0, 0);  // reserved attribute bits
  Parse(sector);
  std::vector<std::pair<std::u16string, uint32_t>> files;
  for (const FatEntryRecord& e : FatEntryList) files.emplace_back(e.name, e.deleted);
  const std::vector<std::pair<std::u16string, uint32_t>> want = {{u"EMPTY.TXT", 0}, {u"xONE.TXT", 1}, {u".nomedia", 0}};
  EXPECT_EQ(files, want);
  EXPECT_TRUE(FatFolderList.empty());
}

TEST_F(FatDirectoryTest, FoldersAndFilesGoToTheirListsWithParentDatesAndCounts) {
  DirectorySector sector;
  sector.Short(0, "DOCS       ", 0x10, 12, 0, 0x5129, 0x512A);
  sector.Short(1, "A       BIN", 0x20, 13, 3000, 0x4E21, 0x4E22);
  sector.Short(2, "B       BIN", 0x21, 14, 500);
  Parse(sector, 44);
  ASSERT_EQ(FatFolderList.size(), 1u);
  const FatFolderRecord& folder = FatFolderList[0];
  EXPECT_EQ(folder.name, u"DOCS");
  EXPECT_EQ(folder.firstCluster, 12u);
  EXPECT_EQ(folder.parentId, 44u);
  EXPECT_EQ(folder.firstDateWord, 0x5129);
  EXPECT_EQ(folder.secondDateWord, 0x512A);
  EXPECT_EQ(folder.deleted, 0u);
  ASSERT_EQ(FatEntryList.size(), 2u);
  const FatEntryRecord& file = FatEntryList[0];
  EXPECT_EQ(file.name, u"A.BIN");
  EXPECT_EQ(file.firstCluster, 13u);
  EXPECT_EQ(file.parentId, 44u);
  EXPECT_EQ(file.firstDateWord, 0x4E21);
  EXPECT_EQ(file.secondDateWord, 0x4E22);
  EXPECT_EQ(file.size, 3000u);
  EXPECT_EQ(file.id, 0u);
  EXPECT_EQ(FatEntryList[1].id, 1u);
  EXPECT_EQ(ScanCounters.folderCount, 1u);
  EXPECT_EQ(ScanCounters.entryCount, 2u);
  EXPECT_EQ(ScanCounters.totalBytes, 3500u);
  EXPECT_EQ(ScanCounters.processedCount, 3u);
  EXPECT_EQ(ended_, 1u);  // entry 3 is blank: the end of the directory
}

TEST_F(FatDirectoryTest, Fat32TakesTheHighWordOfTheFirstCluster) {
  DirectorySector sector;
  sector.Short(0, "BIG     BIN", 0x20, 0x12345678, 1);
  sector.Short(1, "HIGH    BIN", 0x20, 0x00070000, 1);  // low word 0: a FAT32 cluster all the same
  CurrentFileSystem.type = records::kFat32;
  Parse(sector);
  ASSERT_EQ(FatEntryList.size(), 2u);
  EXPECT_EQ(FatEntryList[0].firstCluster, 0x12345678u);
  EXPECT_EQ(FatEntryList[1].firstCluster, 0x00070000u);
  EXPECT_EQ(MakeFatCluster(0x78, 0x56, 0x34, 0x12), 0x12345678u);

  fat_test::CleanScanState::Reset();
  CurrentFileSystem.type = records::kFat16;
  Parse(sector);  // FAT16 reads the low word alone: the second entry has no cluster
  ASSERT_EQ(FatEntryList.size(), 1u);
  EXPECT_EQ(FatEntryList[0].firstCluster, 0x5678u);
}

TEST_F(FatDirectoryTest, EndOfDirectoryStopsTheSectorAndSaysSo) {
  DirectorySector sector;
  sector.Short(0, "ONE     TXT", 0x20, 5, 1);
  sector.Short(2, "TWO     TXT", 0x20, 6, 1);  // after the end: never read
  Parse(sector);
  EXPECT_EQ(OnlyEntryName(), u"ONE.TXT");
  EXPECT_EQ(ended_, 1u);
}

TEST_F(FatDirectoryTest, FirstIndexSkipsTheDotEntries) {
  DirectorySector sector;
  sector.Short(0, ".          ", 0x10, 12);
  sector.Short(1, "..         ", 0x10, 3);
  sector.Short(2, "IN      TXT", 0x20, 20, 1);
  Parse(sector, 12, 0, 2);
  EXPECT_TRUE(FatFolderList.empty());
  EXPECT_EQ(OnlyEntryName(), u"IN.TXT");
}

TEST_F(FatDirectoryTest, EverythingInADeletedDirectoryIsDeleted) {
  DirectorySector sector;
  sector.Short(0, "SUB        ", 0x10, 30);
  sector.Short(1, "LIVE    TXT", 0x20, 31, 1);
  Parse(sector, 9, 1);
  ASSERT_EQ(FatFolderList.size(), 1u);
  EXPECT_EQ(FatFolderList[0].deleted, 1u);
  ASSERT_EQ(FatEntryList.size(), 1u);
  EXPECT_EQ(FatEntryList[0].deleted, 1u);
}

TEST_F(FatDirectoryTest, StopFlagEndsTheSectorAtOnce) {
  DirectorySector sector;
  sector.Short(0, "ONE     TXT", 0x20, 5, 1);
  ScanThreadControl.stopFlag = 1;
  Parse(sector);
  EXPECT_TRUE(FatEntryList.empty());
  EXPECT_EQ(ended_, 0u);
}

TEST_F(FatDirectoryTest, PanelShowsTheSectorEveryTenthCountTheLastNameAndTheProgress) {
  DirectorySector sector;
  for (uint32_t i = 0; i < 12; ++i) {
    char name[12];
    std::snprintf(name, sizeof name, "F%02u     TXT", i);
    sector.Short(i, name, 0x20, 100 + i, 1);
  }
  sector.Short(12, "DIR        ", 0x10, 200);
  Parse(sector);
  EXPECT_EQ(panel_.Row(host::kCurrentSectorRow), u"1234");
  EXPECT_EQ(panel_.Row(host::kFilesFoundRow), u"10");
  EXPECT_EQ(panel_.Row(host::kFoldersFoundRow), u"");  // one folder: not a tenth
  EXPECT_EQ(panel_.Row(host::kLastFileFolderRow), u"DIR");
  std::vector<uint32_t> progress;
  for (uint32_t i = 1; i <= 13; ++i) progress.push_back(i);
  EXPECT_EQ(panel_.progress, progress);
}

TEST_F(FatDirectoryTest, ProgressHoldsAt99AndNeverDividesByZero) {
  DirectorySector sector;
  sector.Short(0, "A       TXT", 0x20, 5, 1);
  sector.Short(1, "B       TXT", 0x20, 6, 1);
  ScanCounters.processedCount = 98;
  Parse(sector);  // 99 %, then 100 % held at 99
  const struct {
    uint32_t sectorCount;
    uint32_t sectorsPerCluster;
  } zeroClusters[] = {{3, 4}, {400, 0}, {0, 4}};
  for (const auto& c : zeroClusters) {
    ScanRange.sectorCount = c.sectorCount;
    CurrentFileSystem.sectorsPerCluster = c.sectorsPerCluster;
    ScanCounters.processedCount = 0;
    FatEntryList.Free();
    Parse(sector);
  }
  EXPECT_EQ(panel_.progress, (std::vector<uint32_t>{99, 99, 99, 99, 99, 99, 99, 99}));
}

TEST_F(FatDirectoryTest, HiddenProgressAndNoPanelLeaveThePanelAlone) {
  DirectorySector sector;
  for (uint32_t i = 0; i < 10; ++i) sector.Short(i, "SAME    TXT", 0x20, 5 + i, 1);
  ShowScanProgress = 0;
  Parse(sector);
  EXPECT_TRUE(panel_.rowWrites.empty());
  EXPECT_TRUE(panel_.progress.empty());
  ShowScanProgress = 1;
  host::ScopedHosts nobody{host::Hosts{}};
  Parse(sector);
  EXPECT_EQ(FatEntryList.size(), 20u);
  EXPECT_TRUE(panel_.rowWrites.empty());
}

// ---- AssembleLongName ----------------------------------------------------------------------------------

// Consecutive sectors of one folder; entries are addressed by their place in the folder (16 a sector).
class FolderSectors {
 public:
  explicit FolderSectors(size_t count) : sectors(count) {}

  // The short entry name11 at slot with the pieces of name before it, across sectors as they fall.
  void Named(uint32_t slot, const std::u16string& name, const char* name11, bool deleted = false) {
    const uint32_t pieces = static_cast<uint32_t>((name.size() + 12) / 13);
    for (uint32_t p = 1; p <= pieces; ++p) {
      const uint8_t sequence = deleted ? 0xE5 : static_cast<uint8_t>(p | (p == pieces ? 0x40 : 0));
      Piece(slot - p, sequence, name, (p - 1) * 13, DirectorySector::Checksum(name11));
    }
    sectors[slot / 16].Short(slot % 16, name11, 0x20, 9, 1);
    if (deleted) sectors[slot / 16].Entry(slot % 16)[0] = 0xE5;
  }

  void Piece(uint32_t slot, uint8_t sequence, const std::u16string& name, size_t from, uint8_t checksum) {
    sectors[slot / 16].Piece(slot % 16, sequence, name, from, checksum);
  }

  // AssembleLongName of the entry at slot, handed the sectors before its own that reach (0 to 2) allows.
  uint32_t Assemble(uint32_t slot, std::u16string& out, uint32_t reach = 2) const {
    const uint32_t at = slot / 16;
    FatSectorsBefore before;
    if (reach >= 1 && at >= 1) before.previous = sectors[at - 1].data();
    if (reach >= 2 && at >= 2) before.twoBack = sectors[at - 2].data();
    return AssembleLongName(sectors[at].data(), out, (slot % 16) * 32, before);
  }

  std::vector<DirectorySector> sectors;
};

std::u16string NameOf(size_t length) {
  std::u16string name;
  for (size_t i = 0; i < length; ++i) name.push_back(static_cast<char16_t>(i % 10 == 9 ? u' ' : u'a' + i % 26));
  return name;
}

TEST(FatLongNameTest, NamesWhosePiecesBeginTwoSectorsBackAreWholeWithBothSectorsBefore) {
  const struct {
    size_t length;
    uint32_t slot;  // of the short entry; the folder's first three sectors hold slots 0 to 47
  } cases[] = {
      {230, 32},  // 18 pieces from slot 14: 2 in the first sector, 16 in the second, the entry first in the third
      {234, 32},  // 18 pieces filled to the end: no terminator
      {243, 34},  // 19 pieces from slot 15
      {255, 33},  // 20 pieces from slot 13
      {255, 32},  // 20 pieces from slot 12, the entry first in its sector
  };
  for (const auto& c : cases) {
    for (bool deleted : {false, true}) {
      SCOPED_TRACE(testing::Message() << c.length << " characters at " << c.slot << (deleted ? " deleted" : ""));
      FolderSectors folder(3);
      const std::u16string name = NameOf(c.length);
      folder.Named(c.slot, name, "AAAAAA~1TXT", deleted);
      std::u16string out;
      EXPECT_EQ(folder.Assemble(c.slot, out), 0u);
      EXPECT_EQ(out, name);
      if (!deleted) {
        // Without the sector two back the run breaks off before its last piece: the short name stays.
        out = u"unchanged";
        EXPECT_EQ(folder.Assemble(c.slot, out, 1), 1u);
        EXPECT_EQ(out, u"unchanged");
      }
    }
  }
}

TEST(FatLongNameTest, PiecesReachingWhatWasHandedInMakeANameOnlyWhenMarkedAsItsLast) {
  const std::u16string name = u"A name of thirty-one characters";
  std::u16string out;
  FolderSectors folder(2);
  folder.Named(18, name, "ANAMEO~1   ");  // pieces at 15 (the last, 0x43), 16 and 17
  EXPECT_EQ(folder.Assemble(18, out, 0), 1u);
  EXPECT_EQ(folder.Assemble(18, out, 1), 0u);
  EXPECT_EQ(out, name);
  // The folder's first sector: a name whose last piece lies at its start is whole.
  FolderSectors first(1);
  first.Named(3, name, "ANAMEO~1   ");
  EXPECT_EQ(first.Assemble(3, out, 0), 0u);
  EXPECT_EQ(out, name);
  // Erased pieces have lost the mark: at the start of the folder the run is taken as it stands.
  FolderSectors erased(1);
  erased.Named(2, u"Deleted long file name.bin", "DELETE~1BIN", true);
  EXPECT_EQ(erased.Assemble(2, out), 0u);
  EXPECT_EQ(out, u"Deleted long file name.bin");
}

TEST(FatLongNameTest, OnlyARunThatBelongsToTheEntryIsTaken) {
  const std::u16string name = u"Twenty six characters.text";  // two full pieces, no terminator
  const uint8_t checksum = DirectorySector::Checksum("TWENTY~1TEX");
  const uint8_t other = static_cast<uint8_t>(checksum + 1);
  std::u16string out;
  {
    // A stale erased piece with the same checksum before a live name that fills its pieces is not glued on.
    FolderSectors folder(1);
    folder.Piece(0, 0xE5, u"stale piece..", 0, checksum);
    folder.Named(3, name, "TWENTY~1TEX");
    EXPECT_EQ(folder.Assemble(3, out), 0u);
    EXPECT_EQ(out, name);
  }
  {
    // Before a deleted name, the erased piece of another deleted name carries another checksum.
    FolderSectors folder(1);
    folder.Piece(0, 0xE5, u"another name.", 0, other);
    folder.Named(3, name, "TWENTY~1TEX", true);
    EXPECT_EQ(folder.Assemble(3, out), 0u);
    EXPECT_EQ(out, name);
  }
  const struct {
    const char* what;
    uint8_t sequences[2];  // of the pieces at slots 1 and 2 (the nearest)
    uint8_t checksums[2];
  } broken[] = {
      {"erased pieces before a live entry", {0xE5, 0xE5}, {checksum, checksum}},
      {"another checksum", {0x42, 0x01}, {other, other}},
      {"one piece of another checksum", {0x42, 0x01}, {other, checksum}},
      {"a gap in the numbers", {0x43, 0x01}, {checksum, checksum}},
      {"no piece marked as the last", {0x02, 0x01}, {checksum, checksum}},
      {"the nearest piece is not the first", {0x41, 0x02}, {checksum, checksum}},
      {"an erased piece inside a live run", {0xE5, 0x01}, {checksum, checksum}},
  };
  for (const auto& b : broken) {
    FolderSectors folder(1);
    folder.sectors[0].Short(0, "OTHER   TXT", 0x20, 4, 1);
    folder.Piece(1, b.sequences[0], name, 13, b.checksums[0]);
    folder.Piece(2, b.sequences[1], name, 0, b.checksums[1]);
    folder.sectors[0].Short(3, "TWENTY~1TEX", 0x20, 9, 1);
    out = u"unchanged";
    EXPECT_EQ(folder.Assemble(3, out), 1u) << b.what;
    EXPECT_EQ(out, u"unchanged") << b.what;
  }
}

TEST(FatLongNameTest, NamesAreCutAt255CharactersAndRunsEndAtTwentyPieces) {
  // 20 full pieces (260 characters) from slot 12 of the first sector.
  const std::u16string name = NameOf(260);
  FolderSectors folder(3);
  folder.Named(32, name, "AAAAAA~1   ");
  std::u16string out;
  EXPECT_EQ(folder.Assemble(32, out), 0u);
  EXPECT_EQ(out, name.substr(0, kFatLongNameMax));
  // A 21st piece names no FAT name.
  FolderSectors longer(3);
  longer.Named(33, NameOf(273), "AAAAAA~1   ");
  EXPECT_EQ(longer.Assemble(33, out), 1u);
}

TEST(FatLongNameTest, EntriesThatLieOutsideTheSectorOrHaveNoPiecesKeepTheShortName) {
  DirectorySector sector;
  sector.LongName(2, u"Long name.txt", "LONGNA~1TXT");
  std::u16string out = u"unchanged";
  EXPECT_EQ(AssembleLongName(sector.data(), out, 0), 1u);  // the first entry has nothing before it
  EXPECT_EQ(AssembleLongName(sector.data(), out, 65), 1u);
  EXPECT_EQ(AssembleLongName(sector.data(), out, 512), 1u);
  EXPECT_EQ(AssembleLongName(sector.data(), out, 0xFFFFFFE0u), 1u);
  sector.Short(4, "PLAIN   TXT", 0x20, 5, 1);
  EXPECT_EQ(AssembleLongName(sector.data(), out, 5 * 32), 1u);  // a short entry before it
  // A piece that begins with its terminator names nothing.
  sector.Short(10, "EMPTY   TXT", 0x20, 6, 1);
  sector.Piece(9, 0x41, u"", 0, DirectorySector::Checksum("EMPTY   TXT"));
  EXPECT_EQ(AssembleLongName(sector.data(), out, 10 * 32), 1u);
  EXPECT_EQ(out, u"unchanged");
  // The sector two back counts only behind the sector before.
  FolderSectors folder(3);
  folder.Named(32, NameOf(255), "AAAAAA~1   ");
  EXPECT_EQ(AssembleLongName(folder.sectors[2].data(), out, 0, FatSectorsBefore{nullptr, folder.sectors[0].data()}), 1u);
  EXPECT_EQ(out, u"unchanged");
}

TEST(FatLongNameTest, ChecksumOfTheElevenNameBytes) {
  EXPECT_EQ(DirectorySector::Checksum("\0\0\0\0\0\0\0\0\0\0\0"), 0u);
  EXPECT_EQ(DirectorySector::Checksum("A\0\0\0\0\0\0\0\0\0\0"), 0x50u);  // 0x41 rotated right ten times
  EXPECT_EQ(DirectorySector::Checksum("README  TXT"), 0x73u);
}

TEST_F(FatDirectoryTest, AThreeSectorNameIsListedWhenTheParserHasTheTwoSectorsBefore) {
  FolderSectors folder(3);
  const std::u16string name = NameOf(250);
  folder.Named(33, name, "AAAAAA~1TXT");
  Parse(folder.sectors[2], 7, 0, 0, FatSectorsBefore{folder.sectors[1].data(), folder.sectors[0].data()});
  EXPECT_EQ(OnlyEntryName(), name);
  fat_test::CleanScanState::Reset();
  Parse(folder.sectors[2], 7, 0, 0, FatSectorsBefore{folder.sectors[1].data()});
  EXPECT_EQ(OnlyEntryName(), u"AAAAAA~1.TXT");
}

TEST(FatSectorHistoryTest, KeepsTheLastTwoSectorsNearestFirst) {
  std::array<uint8_t, 3 * 512> sectors{};
  for (uint32_t i = 0; i < 3; ++i) sectors[i * 512] = static_cast<uint8_t>(i + 1);
  FatSectorHistory history;
  EXPECT_EQ(history.Before().previous, nullptr);
  EXPECT_EQ(history.Before().twoBack, nullptr);
  history.Keep(sectors.data(), 1);
  ASSERT_NE(history.Before().previous, nullptr);
  EXPECT_EQ(history.Before().previous[0], 1);
  EXPECT_EQ(history.Before().twoBack, nullptr);
  history.Keep(sectors.data() + 512, 2);  // a piece of two: both replace what was kept
  EXPECT_EQ(history.Before().previous[0], 3);
  EXPECT_EQ(history.Before().twoBack[0], 2);
  history.Keep(sectors.data(), 3);
  EXPECT_EQ(history.Before().previous[0], 3);
  EXPECT_EQ(history.Before().twoBack[0], 2);
  const FatSectorsBefore next = history.Before().Then(sectors.data());
  EXPECT_EQ(next.previous, sectors.data());
  EXPECT_EQ(next.twoBack[0], 3);
}

TEST(FatNameTest, ValidNamesHaveNoControlCharacterAndNoneOfTheEightForbidden) {
  const struct {
    std::u16string name;
    uint32_t valid;
  } cases[] = {
      {u"plain.txt", 1},        {u"C:stream", 1},   {u"", 1},          {u"\u00E4\u03B1\u65E5.txt", 1},
      {std::u16string(1, u'\0') + u"x", 1},           {u"a\x01", 0},       {u"a\x1F", 0},
      {u" \x20", 1},            {u"a\"b", 0},       {u"a\\b", 0},       {u"a/b", 0},
      {u"a?b", 0},              {u"a*b", 0},        {u"a<b", 0},        {u"a>b", 0},
      {u"a|b", 0},              {u"..", 1},         {u"\x7F", 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsValidFatName(c.name), c.valid) << testing::PrintToString(c.name);
  }
}

}  // namespace
