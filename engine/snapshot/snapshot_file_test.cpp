// The bytes of a snapshot against files written by hand from the layout, and everything a loader must
// refuse: each damaged file is refused with its message and leaves the results loaded before as they were.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "engine/image/byte_order.h"
#include "engine/image/source_values.h"
#include "engine/records/file_names.h"
#include "engine/records/file_trace_hits.h"
#include "engine/records/scan_records.h"
#include "engine/scan/selected_signatures.h"
#include "engine/snapshot/snapshot.h"
#include "engine/snapshot/snapshot_format.h"
#include "engine/snapshot/snapshot_test_support.h"

namespace {

using snapshot::ReadFault;
using snapshot::ReadFaultMessage;
using snapshot_test::Bytes;
using snapshot_test::HexFixture;
using snapshot_test::SnapshotTest;

// The state each hand-written fixture was written from.
void FillQuickFat() {
  RecoveryMode = records::kQuickScan;
  ScanRange = {records::kFat32, 2048, 65536, 67583, 0};
  CurrentFileSystem = {records::kFat32, 256, 8, 0, 2, 32, 2560, 2080, 2336, 0, 0, 0, 0, 67584, 1};
  AppendFatFolder(u"DOCS", 3, 0, 0x5A21, 0x5A22, 0, 0);
  AppendFatEntry(u"A.TXT", 4, 3, 0x5A21, 0x5A21, 12, 0).times = {0x6000, 0x5A20, 0x5E00, 50};
  ++ScanCounters.entryCount;
  AppendFatEntry(u"_B.BIN", 5, 0, 0x5A21, 0x5A21, 0x1000, 1).times = {0x4B10, 0, 0, 0};
  ++ScanCounters.entryCount;
  CurrentDriveIndex = 0;
  SourceKind = kSourceDisk;
}

void FillExtensiveNtfs() {
  RecoveryMode = records::kExtensiveScan;
  ScanRange = {records::kNtfs, 63, 4096, 4158, 0};
  CurrentFileSystem = {records::kNtfs, 0, 8, 0, 0, 0, 63, 0, 0, 95, 127, 2, 8, 4159, 1};
  AppendNtfsFolder(u"dir", 64, 5, 0x01D0000000000001, 0x01D0000000000002, 0, 0);
  AppendNtfsFoundEntry(u"in.txt", 0x100, 64, 0, 0x01D0000000000003, 0x01D0000000000004, 5, 1, 0);
  AppendNtfsFoundEntry(u"out.txt", 62, 64, 0, 0, 0, 1, 1, 0);
  AppendNtfsFoundEntry(u"gone.dat", 4159, 5, 0, 0x01D0000000000005, 0x01D0000000000006, 1ull << 32, 1, 1);
  CurrentDriveIndex = 0;
  SourceKind = kSourceDisk;
}

void FillFileTraceSnapshot() {
  RecoveryMode = records::kFileTrace;
  LargeFileSize = 3;
  ScanRange = {records::kFat16, 63, 32768, 32830, 0};
  CurrentFileSystem = {records::kFat16, 32, 4, 32, 0, 4, 127, 67, 99, 0, 0, 0, 0, 32831, 0};
  AppendSelectedSignature(u".jpg", u"Graphics Files", 3, "FFD8FF", 0);
  AppendFileTraceHit(u"1.jpg", u".jpg", u"Graphics Files", 1, 0x1000);
  AppendFileTraceHit(u"2.jpg", u".jpg", u"Graphics Files", 2, 0x2345);
  CurrentDriveIndex = 0;
  SourceKind = kSourceDisk;
}

struct Fixture {
  const char* file;
  std::function<void()> fill;
  bool fileTrace;
};
const Fixture kFixtures[] = {
    {"quick_fat.vsnp.hex", FillQuickFat, false},
    {"extensive_ntfs.vsnp.hex", FillExtensiveNtfs, false},
    {"file_trace.vsnp.hex", FillFileTraceSnapshot, true},
};

// What a loaded snapshot shows: every record list and value, the results tree and the rows of the list.
struct Shown {
  std::vector<std::string> state;
  uint32_t mode;
  std::vector<std::u16string> tree;
  std::vector<std::u16string> rows;
  uint32_t pagesShown;
  uint32_t loading;
  bool operator==(const Shown& o) const {
    return std::tie(state, mode, tree, rows, pagesShown, loading) ==
           std::tie(o.state, o.mode, o.tree, o.rows, o.pagesShown, o.loading);
  }
};

class SnapshotFile : public SnapshotTest {
 protected:
  Shown Now() {
    Shown shown{snapshot_test::DescribeState(), RecoveryMode, {}, {}, frame_.resultsPageShown, SnapshotLoading.load()};
    for (const auto& node : tree_.nodes) shown.tree.push_back(node.text);
    for (uint32_t row = 0; row < list_.rows.size(); ++row) shown.rows.push_back(list_.RowLine(row, 6));
    return shown;
  }

  // A good snapshot loaded first: what it shows must survive a refused load.
  Shown LoadGood() {
    const std::u16string good = TempPath("good.vsnp");
    snapshot_test::WriteFileBytes(good, HexFixture("quick_fat.vsnp.hex"));
    EXPECT_EQ(LoadSnapshotTree(good), 1u);
    EXPECT_EQ(FatEntryList.size(), 2u);
    return Now();
  }

  // Loads bytes as a snapshot file with the loader of its kind after a good load; the load must be refused
  // with message (any of them when it is empty), close its progress dialog and leave everything the good
  // load showed as it was.
  void ExpectRefused(const Bytes& bytes, bool fileTrace, const std::vector<std::u16string>& messages) {
    const Shown before = LoadGood();
    const std::u16string path = TempPath("refused.vsnp");
    snapshot_test::WriteFileBytes(path, bytes);
    EXPECT_EQ(Load(path, fileTrace), 0u);
    const std::vector<std::u16string> errors = TakeErrors();
    ASSERT_EQ(errors.size(), 1u);
    if (!messages.empty()) {
      EXPECT_NE(std::find(messages.begin(), messages.end(), errors[0]), messages.end()) << os::ToUtf8(errors[0]);
    }
    EXPECT_TRUE(Now() == before);
    EXPECT_FALSE(dialog_.created);
  }
};

TEST_F(SnapshotFile, SavedBytesEqualTheHandWrittenFiles) {
  for (const Fixture& fixture : kFixtures) {
    SCOPED_TRACE(fixture.file);
    ResetEngine();
    fixture.fill();
    const std::u16string path = TempPath("golden.vsnp");
    ASSERT_EQ(SaveAs(path, fixture.fileTrace), 1u);
    const Bytes golden = HexFixture(fixture.file);
    const Bytes saved = snapshot_test::ReadFileBytes(path);
    EXPECT_EQ(saved, golden);
    // The 12-byte header: the mode letter, then "snp4" and "1." cut from their UTF-16 texts.
    ASSERT_GE(saved.size(), 12u);
    const Bytes header(saved.begin() + 1, saved.begin() + 12);
    EXPECT_EQ(header, (Bytes{0, 's', 0, 'n', 0, 'p', 0, '4', '1', 0, '.'}));
    if (CurrentFileSystem.type == records::kNtfs) {
      EXPECT_EQ(ScanCounters.entryCount, 2u);  // the Extensive Scan writer keeps the stored count
    }
  }
}

TEST_F(SnapshotFile, TheHandWrittenFilesReadAsTheStateTheyWereWrittenFrom) {
  const Bytes fat = HexFixture("quick_fat.vsnp.hex");
  snapshot::SnapshotInput fatIn(fat.data(), fat.size());
  snapshot::LoadedSnapshot loaded;
  ASSERT_EQ(snapshot::ReadSnapshot(fatIn, u"DA", &loaded, nullptr), ReadFault::kNone);
  EXPECT_EQ(loaded.letter, u'D');
  EXPECT_EQ(loaded.scanRange.endSector, 67583u);
  EXPECT_EQ(loaded.fileSystem.clusterBase, 2560u);
  EXPECT_EQ(loaded.fileSystem.id, 1u);
  ASSERT_EQ(loaded.fatEntries.size(), 2u);
  EXPECT_EQ(loaded.fatEntries[1].name, u"_B.BIN");
  EXPECT_EQ(loaded.fatEntries[1].deleted, 1u);
  EXPECT_EQ(loaded.fatEntries[0].times.creationTime, 0x5E00u);
  EXPECT_EQ(loaded.fatEntries[1].times.writeTime, 0x4B10u);
  // An older file keeps the entries' dates alone: the same entries, without times.
  const Bytes older = HexFixture("quick_fat_without_times.vsnp.hex");
  snapshot::SnapshotInput olderIn(older.data(), older.size());
  snapshot::LoadedSnapshot without;
  ASSERT_EQ(snapshot::ReadSnapshot(olderIn, u"DA", &without, nullptr), ReadFault::kNone);
  ASSERT_EQ(without.fatEntries.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(without.fatEntries[i].name, loaded.fatEntries[i].name);
    EXPECT_EQ(without.fatEntries[i].firstDateWord, 0x5A21u);
    EXPECT_EQ(without.fatEntries[i].times.writeTime, 0u);
    EXPECT_EQ(without.fatEntries[i].times.creationDate, 0u);
  }
  EXPECT_EQ(loaded.fatEntries[1].size, 0x1000u);

  const Bytes ntfs = HexFixture("extensive_ntfs.vsnp.hex");
  snapshot::SnapshotInput ntfsIn(ntfs.data(), ntfs.size());
  loaded = {};
  ASSERT_EQ(snapshot::ReadSnapshot(ntfsIn, u"DA", &loaded, nullptr), ReadFault::kNone);
  ASSERT_EQ(loaded.ntfsFolders.size(), 1u);
  EXPECT_EQ(loaded.ntfsFolders[0].modificationTime, 0x01D0000000000002u);
  ASSERT_EQ(loaded.ntfsEntries.size(), 2u);
  EXPECT_EQ(loaded.ntfsEntries[1].name, u"gone.dat");
  EXPECT_EQ(loaded.ntfsEntries[1].id, 4159u);
  EXPECT_EQ(loaded.ntfsEntries[1].size, 1ull << 32);

  // The File Trace file loads whole, through the loader.
  const std::u16string path = TempPath("trace.vsnp");
  snapshot_test::WriteFileBytes(path, HexFixture("file_trace.vsnp.hex"));
  ASSERT_EQ(LoadSnapshotFlat(path), 1u);
  ASSERT_EQ(SelectedSignatureList.size(), 1u);
  EXPECT_EQ(SelectedSignatureList[0].signature, "FFD8FF");
  EXPECT_EQ(SelectedSignatureList[0].bytes, (std::vector<uint8_t>{0xFF, 0xD8, 0xFF}));
  ASSERT_EQ(FileTraceHitList.size(), 2u);
  EXPECT_EQ(FileTraceHitList[1].startSector, 0x2345u);
  EXPECT_EQ(FileTraceHitList[1].fileName, u"2.jpg");
  EXPECT_EQ(LargeFileSize.load(), 3u);
}

TEST_F(SnapshotFile, EveryTruncationIsRefused) {
  const std::vector<std::u16string> truncated = {ReadFaultMessage(ReadFault::kEndsEarly),
                                                 ReadFaultMessage(ReadFault::kCountTooLarge),
                                                 ReadFaultMessage(ReadFault::kLengthTooLarge)};
  for (const Fixture& fixture : kFixtures) {
    const Bytes whole = HexFixture(fixture.file);
    for (size_t length = 0; length < whole.size(); ++length) {
      SCOPED_TRACE(std::string(fixture.file) + " cut to " + std::to_string(length));
      ExpectRefused(Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length)), fixture.fileTrace,
                    truncated);
    }
  }
}

// A change to a fixture. Offsets in the FAT one: folder count 80, first folder's length 84, its name 86,
// entry count 111, trailer 207; in the File Trace one: signature count 80, hex text 130, hit count 152.
struct Damage {
  const char* name;
  const char* fixture;
  bool fileTrace;
  std::function<void(Bytes&)> change;
  ReadFault fault;
};

void Put16(Bytes& b, size_t at, uint16_t v) {
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void Put32(Bytes& b, size_t at, uint32_t v) {
  Put16(b, at, static_cast<uint16_t>(v));
  Put16(b, at + 2, static_cast<uint16_t>(v >> 16));
}

TEST_F(SnapshotFile, DamagedFilesAreRefusedWithTheirMessage) {
  const char* fat = "quick_fat.vsnp.hex";
  const char* trace = "file_trace.vsnp.hex";
  const Damage damages[] = {
      {"unknown letter", fat, false, [](Bytes& b) { b[0] = 'X'; }, ReadFault::kWrongLetter},
      {"a File Trace file to the tree loader", trace, false, nullptr, ReadFault::kWrongLetter},
      {"a Quick Scan file to the flat loader", fat, true, nullptr, ReadFault::kWrongLetter},
      {"snp4 changed", fat, false, [](Bytes& b) { b[8] = '5'; }, ReadFault::kWrongSnapshot},
      {"first byte of snp changed", fat, false, [](Bytes& b) { b[2] = 'S'; }, ReadFault::kWrongSnapshot},
      {"version 2.0", fat, false, [](Bytes& b) { b[9] = '2'; }, ReadFault::kWrongVersion},
      {"version's full stop changed", fat, false, [](Bytes& b) { b[11] = ','; }, ReadFault::kWrongVersion},
      {"folder count too large", fat, false, [](Bytes& b) { Put32(b, 80, 0xFFFFFFFF); }, ReadFault::kCountTooLarge},
      {"folder count one more than the file holds", fat, false, [](Bytes& b) { Put32(b, 80, 7); },
       ReadFault::kCountTooLarge},
      {"entry count too large", fat, false, [](Bytes& b) { Put32(b, 111, 1000); }, ReadFault::kCountTooLarge},
      {"name longer than the file", fat, false, [](Bytes& b) { Put16(b, 84, 0xFFFF); }, ReadFault::kLengthTooLarge},
      {"name length below its fields", fat, false, [](Bytes& b) { Put16(b, 84, 3); }, ReadFault::kBadText},
      {"odd name length", fat, false, [](Bytes& b) { Put16(b, 84, 0x18); }, ReadFault::kBadText},
      {"name without terminator", fat, false, [](Bytes& b) { b[94] = 'X'; }, ReadFault::kBadText},
      {"drive index 10", fat, false, [](Bytes& b) { Put16(b, 207, 10); }, ReadFault::kBadTrailer},
      {"source kind 0", fat, false, [](Bytes& b) { Put16(b, 209, 0); }, ReadFault::kBadTrailer},
      {"source kind 4", fat, false, [](Bytes& b) { Put16(b, 209, 4); }, ReadFault::kBadTrailer},
      {"a byte after the trailer", fat, false, [](Bytes& b) { b.push_back(0); }, ReadFault::kTrailingBytes},
      {"signature count too large", trace, true, [](Bytes& b) { Put32(b, 80, 0x10000000); }, ReadFault::kCountTooLarge},
      {"hex text without its zero", trace, true,
       [](Bytes& b) {
         for (size_t i = 130; i < 144; ++i) b[i] = 'F';
       },
       ReadFault::kBadText},
      {"hit count too large", trace, true, [](Bytes& b) { Put32(b, 152, 12); }, ReadFault::kCountTooLarge},
  };
  for (const Damage& damage : damages) {
    SCOPED_TRACE(damage.name);
    Bytes bytes = HexFixture(damage.fixture);
    if (damage.change) damage.change(bytes);
    ExpectRefused(bytes, damage.fileTrace, {ReadFaultMessage(damage.fault)});
  }
}

TEST_F(SnapshotFile, ASourceThatIsNotTheSnapshotsIsReportedAndNothingIsLoaded) {
  const Shown before = LoadGood();
  const std::u16string path = TempPath("ntfs.vsnp");
  snapshot_test::WriteFileBytes(path, HexFixture("extensive_ntfs.vsnp.hex"));
  EXPECT_EQ(LoadSnapshotTree(path), 0u);  // no source at all: the MFT cannot be read, the image is asked for
  EXPECT_EQ(frame_.plainMessages, (std::vector<std::u16string>{kSnapshotImageNeededText}));
  EXPECT_TRUE(TakeErrors().empty());
  EXPECT_TRUE(Now() == before);
  EXPECT_FALSE(dialog_.created);
}

// A file the user renamed keeps the name it was found under after its new one, in place of the two bytes that
// older files hold zero there (and older readers skip); what holds no terminated name there gives none.
TEST_F(SnapshotFile, ARenamedFileStoresTheNameItWasFoundUnderAfterItsNewName) {
  FillQuickFat();
  records::RenameFile(FatEntryList[0], u"Notes.txt");
  const std::u16string path = TempPath("renamed.vsnp");
  ASSERT_EQ(SaveAs(path, false), 1u);
  const Bytes written = snapshot_test::ReadFileBytes(path);
  const size_t entry = 80 + 4 + 27 + 4;  // header, parameters, the folder count and record, the entry count
  ASSERT_GT(written.size(), entry + 2 + 40);
  EXPECT_EQ(LoadLe16(&written[entry]), 2 * (9 + 5) + 25 + 8);  // and the entry's times after the names
  const std::u16string item = u"Notes.txt\0A.TXT";
  for (size_t i = 0; i <= item.size(); ++i) {
    EXPECT_EQ(LoadLe16(&written[entry + 2 + 2 * i]), i < item.size() ? item[i] : 0) << i;
  }
  struct Case {
    const char* what;
    std::function<void(Bytes&)> change;
    const char16_t* foundName;
  };
  const Case cases[] = {
      {"as written", [](Bytes&) {}, u"A.TXT"},
      {"zeros there", [entry](Bytes& b) { std::fill(&b[entry + 2 + 20], &b[entry + 2 + 32], 0); }, u""},
      {"no terminator", [entry](Bytes& b) { b[entry + 2 + 30] = 'X'; }, u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Bytes bytes = written;
    c.change(bytes);
    snapshot_test::WriteFileBytes(path, bytes);
    ASSERT_EQ(LoadSnapshotTree(path), 1u);
    ASSERT_EQ(FatEntryList.size(), 2u);
    EXPECT_EQ(FatEntryList[0].name, u"Notes.txt");
    EXPECT_EQ(FatEntryList[0].foundName, c.foundName);
    EXPECT_EQ(FatEntryList[1].foundName, u"");
  }
  // The next file's name without its terminator is refused, the name before it not read into it.
  Bytes unterminated = written;
  const size_t next = entry + 2 + 40 + 21;  // the second entry's length field; its name "_B.BIN" follows
  ASSERT_EQ(LoadLe16(&unterminated[next]), 2 * 6 + 25 + 8);
  std::fill(&unterminated[next + 2 + 12], &unterminated[next + 2 + 24], 'X');  // to the item's end
  ExpectRefused(unterminated, false, {ReadFaultMessage(ReadFault::kBadText)});
  // Cut anywhere, it is refused.
  const std::vector<std::u16string> truncated = {ReadFaultMessage(ReadFault::kEndsEarly),
                                                 ReadFaultMessage(ReadFault::kCountTooLarge),
                                                 ReadFaultMessage(ReadFault::kLengthTooLarge)};
  for (size_t length = entry; length < written.size(); ++length) {
    SCOPED_TRACE("cut to " + std::to_string(length));
    ExpectRefused(Bytes(written.begin(), written.begin() + static_cast<std::ptrdiff_t>(length)), false, truncated);
  }
}

TEST_F(SnapshotFile, AFileThatCannotBeOpenedIsRefusedSilently) {
  const Shown before = LoadGood();
  EXPECT_EQ(LoadSnapshotTree(TempPath("missing.vsnp")), 0u);
  EXPECT_TRUE(TakeErrors().empty());
  EXPECT_TRUE(Now() == before);
  EXPECT_FALSE(dialog_.created);
}

TEST_F(SnapshotFile, AReadOnlySnapshotLoads) {
  const std::u16string path = TempPath("readonly.vsnp");
  snapshot_test::WriteFileBytes(path, HexFixture("quick_fat.vsnp.hex"));
#ifdef _WIN32
  // Another reader holds the file and lets others read it only: as with a read-only file, a loader that asked to
  // write would be refused (file attributes do not stop Wine's superuser).
  os::File holder;
  ASSERT_TRUE(holder.OpenRead(path, os::Share::Read));
  os::File writer;
  ASSERT_FALSE(writer.OpenWrite(path));
  EXPECT_EQ(LoadSnapshotTree(path), 1u);
  EXPECT_EQ(FatEntryList.size(), 2u);
#else
  // Permissions do not stop the superuser: an immutable file refuses every write even then.
  std::string native = os::ToUtf8(path);
  std::replace(native.begin(), native.end(), '\\', '/');
  const bool immutable = std::system(("chattr +i '" + native + "' 2>/dev/null").c_str()) == 0;
  if (!immutable) std::system(("chmod 0444 '" + native + "'").c_str());
  const uint32_t loaded = LoadSnapshotTree(path);
  if (immutable) std::system(("chattr -i '" + native + "'").c_str());
  EXPECT_EQ(loaded, 1u);
  EXPECT_EQ(FatEntryList.size(), 2u);
#endif
}

TEST_F(SnapshotFile, ALoadAfterALoadReplacesEverything) {
  const std::u16string trace = TempPath("trace.vsnp");
  snapshot_test::WriteFileBytes(trace, HexFixture("file_trace.vsnp.hex"));
  const std::u16string fat = TempPath("fat.vsnp");
  snapshot_test::WriteFileBytes(fat, HexFixture("quick_fat.vsnp.hex"));
  ASSERT_EQ(LoadSnapshotFlat(trace), 1u);
  ASSERT_EQ(LoadSnapshotTree(fat), 1u);
  EXPECT_TRUE(FileTraceHitList.empty() && SelectedSignatureList.empty());
  EXPECT_EQ(FatEntryList.size(), 2u);
  EXPECT_EQ(FatEntryList[1].id, 1u);
}

}  // namespace
