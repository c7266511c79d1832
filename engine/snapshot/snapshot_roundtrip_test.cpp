// Snapshots of hand-filled record lists for every mode letter and file system, loaded back: the lists,
// the scan parameters and the source values are those that were saved, and the results tree is rebuilt.
#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "engine/image/byte_order.h"
#include "engine/image/disk_image.h"
#include "engine/image/read_sectors.h"
#include "engine/image/source_values.h"
#include "engine/ntfs/file_name_attribute.h"
#include "engine/ntfs/mft_map.h"
#include "engine/ntfs/mft_record.h"
#include "engine/records/file_names.h"
#include "engine/records/file_trace_hits.h"
#include "engine/records/scan_records.h"
#include "engine/scan/boot_parameters.h"
#include "engine/scan/chosen_fs.h"
#include "engine/scan/quick_scan.h"
#include "engine/save/save_test_support.h"
#include "engine/scan/selected_signatures.h"
#include "engine/snapshot/snapshot.h"
#include "engine/snapshot/snapshot_test_support.h"

namespace {

using snapshot_test::DescribeState;
using snapshot_test::SnapshotTest;

constexpr uint64_t kTime1 = 0x01D9A1B2C3D4E5F6;
constexpr uint64_t kTime2 = 0x01DA000000000001;

// The image opened as the source, as the image page opens it.
class OpenedImage {
 public:
  explicit OpenedImage(const std::string& name) {
    image_.CreateReader(kImageVhd);
    opened_ = image_.Open(snapshot_test::SharedImage(name)) == 1;
    SetCurrentDiskImage(&image_);
    SourceKind = kSourceDisk;
  }
  ~OpenedImage() { SetCurrentDiskImage(nullptr); }
  bool opened() const { return opened_; }

 private:
  DiskImage image_;
  bool opened_ = false;
};

void FillFat(uint16_t code) {
  ScanRange = {code, 2048, 65536, 67583, 0};
  CurrentFileSystem = {code, 256, 8, code == records::kFat16 ? 32u : 0u, 2, 32, 2560, 2080, 2336, 0, 0, 0, 0, 67584, 1};
  AppendFatFolder(u"DOCS", 3, 0, 0x5A21, 0x5A22, 0, 0);
  AppendFatFolder(u"R\u00e9sum\u00e9 \u2713 \u00fcn\u00ef", 4, 3, 0x4821, 0, 0, 1);
  AppendFatFolder(std::u16string(255, u'L'), 5, 0, 0, 0, 0, 0);
  AppendFatFolder(u"Lost Dir", records::kLostDirId, 0, 0, 0, 0, 0);
  AppendFatFolder(u"Dir1", 6, records::kLostDirId, 0, 0, 0, 1);
  const struct {
    const char16_t* name;
    uint32_t cluster, parent, size, deleted;
  } entries[] = {{u"A.TXT", 7, 3, 12, 0}, {u"_B.BIN", 8, 0, 0xFFFFFFFF, 1}, {u"", 0, 4, 0, 0}, {u"c d.e", 9, 6, 1, 0}};
  for (const auto& e : entries) {
    AppendFatEntry(e.name, e.cluster, e.parent, 0x5A21, 0x5A30, e.size, e.deleted);
    ++ScanCounters.entryCount;
  }
  CurrentDriveIndex = 2;
  SourceKind = kSourceDisk;
}

// The NTFS volume of ntfs_4k as CurrentFileSystem, from its boot sector (the MFT map is re-read from it
// when the snapshot loads).
bool ReadNtfsParameters() {
  uint8_t boot[512] = {};
  if (ReadSectors(DevicePathTable[0], 0, 0, 1, boot) != 1) return false;
  const uint32_t perCluster = boot[13];
  const uint32_t total = static_cast<uint32_t>(LoadLe64(boot + 0x28));
  ScanRange = {records::kNtfs, 0, total + 1, total, 0};
  CurrentFileSystem = {records::kNtfs, 0, perCluster, 0, 0, 0, 0, 0, 0,
                       static_cast<uint32_t>(LoadLe64(boot + 0x30)) * perCluster,
                       static_cast<uint32_t>(LoadLe64(boot + 0x38)) * perCluster, 2, 8, total, 1};
  return true;
}

void FillNtfsFolders() {
  AppendNtfsFolder(u"docs", 64, 5, kTime1, kTime2, 0, 0);
  AppendNtfsFolder(u"\u540d\u524d", 71, 64, kTime2, kTime1, 0, 1);
  AppendNtfsFolder(u"Lost Dir", records::kLostDirId, 5, 0, 0, 0, 0);
  AppendNtfsFolder(u"Dir1", 70, records::kLostDirId, 0, 0, 0, 1);
}

// A file record of ntfs_4k past its metafiles: where it lies and what the scans read of it.
struct UserFile {
  uint32_t sector;
  uint32_t number;
  FileNameInfo name;
};

// The first count files of ntfs_4k past its metafiles, in record order (the MFT mapped from
// CurrentFileSystem). A snapshot is loaded over the image only when its files are there.
std::vector<UserFile> UserFiles(size_t count) {
  std::vector<UserFile> files;
  const FileSystemRecord& fs = CurrentFileSystem;
  if (LoadMftMap(fs.clusterBase, DevicePathTable[0], fs.mftSector, fs.sectorsPerCluster, UINT64_MAX) != 1) return files;
  for (uint32_t number = 24; number < 1000 && files.size() < count; ++number) {
    UserFile file{0, number, {}};
    uint8_t record[ntfs::kMaxMftRecordSize];
    if (MftRecordToSector(number, file.sector) != 1 || !ntfs::ReadMftRecord(DevicePathTable[0], file.sector, record) ||
        !ntfs::IsFileRecord(record) || ntfs::RecordFlags(record) != ntfs::kFileInUse ||
        ReadPreferredFileName(record, file.name) != 1) {
      continue;
    }
    files.push_back(file);
  }
  EXPECT_EQ(files.size(), count);
  return files;
}

// Files at the image's records under their own names, with other values of every kind.
void FillNtfsQuick() {
  FillNtfsFolders();
  const std::vector<UserFile> files = UserFiles(3);
  const struct {
    uint32_t parent, deleted;
    uint64_t size;
  } values[] = {{64, 0, 5ull << 30}, {5, 1, 0}, {70, 0, 7}};
  for (size_t i = 0; i < files.size(); ++i) {
    AppendNtfsEntry(files[i].sector, files[i].name.name, 80 + static_cast<uint32_t>(i), values[i].parent,
                    i == 1 ? kTime2 : kTime1, i == 1 ? kTime1 : kTime2, values[i].deleted, values[i].size);
  }
  ScanCounters.entryCount = static_cast<uint32_t>(files.size());
}

// A file system rebuilt without its boot sector (its files tell where its MFT is) that begins at the first
// file's record and ends at the third's: files at both ends, one inside and one past the end.
void FillNtfsExtensive() {
  RecoveryMode = records::kExtensiveScan;
  FillNtfsFolders();
  const std::vector<UserFile> files = UserFiles(3);
  if (files.size() != 3) return;
  CurrentFileSystem.clusterBase = files[0].sector;
  CurrentFileSystem.lastSector = files[2].sector;
  CurrentFileSystem.mftSector = CurrentFileSystem.mftMirrorSector = 0;
  AppendNtfsFoundEntry(files[0].name.name, files[0].sector, 5, 0, kTime1, kTime2, 1, 1, 0);
  AppendNtfsFoundEntry(files[1].name.name, files[1].sector, 64, 0, kTime1, kTime2, 6ull << 30, 1, 0);
  AppendNtfsFoundEntry(u"past.txt", files[2].sector + 2, 5, 0, kTime1, kTime2, 3, 1, 0);
  AppendNtfsFoundEntry(files[2].name.name, files[2].sector, 5, 0, kTime2, kTime1, 4, 1, 1);
}

// The names of the files FillNtfsExtensive puts at the root, after its folders: those at both ends.
std::vector<std::u16string> ExtensiveRootRows() {
  const std::vector<UserFile> files = UserFiles(3);
  std::vector<std::u16string> rows = {u"docs", u"Lost Dir"};
  if (files.size() == 3) {
    rows.push_back(files[0].name.name);
    rows.push_back(files[2].name.name);
  }
  return rows;
}

// What an Extensive Scan snapshot of NTFS loads as: a Quick Scan of the found entries inside the file
// system, from its first sector to its last (both ends included), in list order.
std::vector<std::string> AsQuickScanOfFoundEntries() {
  std::vector<NtfsFoundEntryRecord> found(NtfsFoundEntryList.begin(), NtfsFoundEntryList.end());
  NtfsFoundEntryList.Free();
  NtfsEntryList.Free();
  uint32_t stored = 0;
  for (const NtfsFoundEntryRecord& e : found) {
    if (e.id < CurrentFileSystem.clusterBase || e.id > CurrentFileSystem.lastSector) continue;
    AppendNtfsEntry(e.id, e.name, e.recordNumber, e.parentId, e.creationTime, e.modificationTime, e.deleted, e.size)
        .foundName = e.foundName;
    ++stored;
  }
  EXPECT_EQ(stored, 3u);  // "past.txt" alone lies outside
  EXPECT_EQ(ScanCounters.entryCount, stored);  // the writer keeps the stored count
  return DescribeState();
}

void FillFileTrace() {
  RecoveryMode = records::kFileTrace;
  ScanRange = {records::kFat16, 63, 32768, 32830, 0};
  CurrentFileSystem = {records::kFat16, 32, 4, 32, 0, 4, 127, 67, 99, 0, 0, 0, 0, 32831, 0};
  AppendSelectedSignature(u".jpg", u"Graphics Files", 3, "FFD8FF", 0);
  AppendSelectedSignature(u".doc", u"Document Files", 8, "D0CF11E0A1B11AE1", 12);
  AppendSelectedSignature(u".x", u"Other Files", 0, "", -1);
  const struct {
    const char16_t *name, *extension, *group;
    uint32_t id, sector;
  } hits[] = {{u"1.jpg", u".jpg", u"Graphics Files", 1, 4096},
              {u"1.doc", u".doc", u"Document Files", 2, 9000},
              {u"2.jpg", u".jpg", u"Graphics Files", 3, 0xFFFFFFFF}};
  for (const auto& h : hits) {
    AppendFileTraceHit(h.name, h.extension, h.group, h.id, h.sector);
    ++ScanCounters.entryCount;
  }
  CurrentDriveIndex = 1;
  SourceKind = kSourceDisk;
}

// Something of every list and other source values, which a load must replace.
void Scramble() {
  AppendFatFolder(u"stale", 99, 0, 0, 0, 0, 0);
  AppendNtfsFoundEntry(u"stale", 1, 5, 0, 0, 0, 0, 0, 0);
  AppendFileTraceHit(u"stale", u".x", u"x", 1, 1);
  AppendSelectedSignature(u".x", u"x", 1, "00", 0);
  ScanRange = {};
  CurrentFileSystem = {};
  CurrentFileSystem.rootDirectory = 77;  // not in a snapshot: a load keeps it
  CurrentDriveIndex = 9;
  SourceKind = kSourceNothing;  // a disk source is read from the image all the same
}

// Every file renamed as page 4's Rename renames it: its new name shown, the one it was found under kept.
template <typename List>
void RenameEach(List& files) {
  for (auto& file : files) records::RenameFile(file, u"Renamed \u00e9 " + file.name);
}

// fill, then every file renamed.
std::function<void()> Renamed(std::function<void()> fill) {
  return [fill] {
    fill();
    RenameEach(FatEntryList);
    RenameEach(NtfsEntryList);
    RenameEach(NtfsFoundEntryList);
  };
}

struct RoundTrip {
  const char* name;
  uint32_t mode;             // RecoveryMode when saving
  const char* image;         // the source opened while saving and loading (nullptr: none)
  std::function<void()> fill;
  bool fileTrace;
  char16_t letter;
  uint32_t modeAfter;        // RecoveryMode after loading
  std::function<std::vector<std::string>()> expected;  // the state a load gives (default: as saved)
};

class SnapshotRoundTrip : public SnapshotTest {
 protected:
  // Saves the records filled, then loads them over the source mounted: they load back as saved (loads 1), or the
  // load refuses the source (loads 0).
  void ExpectLoadOverSource(uint32_t loads) {
    const std::vector<std::string> saved = DescribeState();
    const std::u16string path = TempPath("source.vsnp");
    ASSERT_EQ(SaveAs(path, false), 1u);
    ASSERT_EQ(Load(path, false), loads);
    if (loads == 1) {
      EXPECT_EQ(DescribeState(), saved);
    } else {
      EXPECT_EQ(frame_.plainMessages,
                (std::vector<std::u16string>{u"Source file and load recovery snapshot mismatch"}));
    }
  }
};

TEST_F(SnapshotRoundTrip, EveryModeLetterAndFileSystemLoadsWhatWasSaved) {
  const RoundTrip trips[] = {
      {"D FAT16", records::kQuickScan, nullptr, [] { FillFat(records::kFat16); }, false, u'D', records::kQuickScan, nullptr},
      {"D FAT32", records::kQuickScan, nullptr, [] { FillFat(records::kFat32); }, false, u'D', records::kQuickScan, nullptr},
      {"A FAT32", records::kExtensiveScan, nullptr, [] { FillFat(records::kFat32); }, false, u'A', records::kExtensiveScan,
       nullptr},
      {"D NTFS", records::kQuickScan, "ntfs_4k.fixed.vhd", FillNtfsQuick, false, u'D', records::kQuickScan, nullptr},
      {"A NTFS", records::kExtensiveScan, "ntfs_4k.fixed.vhd", FillNtfsExtensive, false, u'A', records::kQuickScan,
       AsQuickScanOfFoundEntries},
      {"R", records::kFileTrace, nullptr, FillFileTrace, true, u'R', records::kFileTrace, nullptr},
      // Renamed files load over their own source: the check compares the names they were found under.
      {"D FAT16 renamed", records::kQuickScan, nullptr, Renamed([] { FillFat(records::kFat16); }), false, u'D',
       records::kQuickScan, nullptr},
      {"D NTFS renamed", records::kQuickScan, "ntfs_4k.fixed.vhd", Renamed(FillNtfsQuick), false, u'D',
       records::kQuickScan, nullptr},
      {"A NTFS renamed", records::kExtensiveScan, "ntfs_4k.fixed.vhd", Renamed(FillNtfsExtensive), false, u'A',
       records::kQuickScan, AsQuickScanOfFoundEntries},
  };
  for (const RoundTrip& trip : trips) {
    SCOPED_TRACE(trip.name);
    ResetEngine();
    std::unique_ptr<OpenedImage> image;
    if (trip.image != nullptr) {
      image = std::make_unique<OpenedImage>(trip.image);
      ASSERT_TRUE(image->opened());
      ASSERT_TRUE(ReadNtfsParameters());
    }
    RecoveryMode = trip.mode;
    trip.fill();
    std::string file = trip.name;  // saving lower-cases the file name
    for (char& c : file) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const std::u16string path = TempPath(file + ".vsnp");
    ASSERT_EQ(SaveAs(path, trip.fileTrace), 1u);
    EXPECT_TRUE(TakeErrors().empty());
    const snapshot_test::Bytes bytes = snapshot_test::ReadFileBytes(path);
    ASSERT_GE(bytes.size(), 12u);
    EXPECT_EQ(bytes[0], trip.letter);
    const std::vector<std::string> expected = trip.expected ? trip.expected() : DescribeState();

    Scramble();
    dialog_ = host::RecordingProgressDialog{};
    tree_ = host::RecordingResultTree{};
    ASSERT_EQ(Load(path, trip.fileTrace), 1u);
    EXPECT_TRUE(TakeErrors().empty());
    EXPECT_EQ(DescribeState(), expected);
    EXPECT_EQ(RecoveryMode, trip.modeAfter);
    EXPECT_EQ(CurrentFileSystem.rootDirectory, 77u);
    EXPECT_TRUE(NtfsFoundEntryList.empty());

    // The progress dialog ran from 0 to 100 and is closed; the tree was rebuilt under "Root".
    EXPECT_EQ(dialog_.createCount, 1u);
    EXPECT_FALSE(dialog_.created);
    ASSERT_FALSE(dialog_.positions.empty());
    EXPECT_EQ(dialog_.positions.front(), 0u);
    EXPECT_EQ(dialog_.positions.back(), 100u);
    ASSERT_FALSE(tree_.nodes.empty());
    EXPECT_EQ(tree_.At(1).text, u"Root");
    EXPECT_EQ(tree_.At(1).image, host::TreeImage::kDrive);
    EXPECT_TRUE(tree_.At(1).expanded);
    EXPECT_EQ(tree_.currentNode, 1u);
    EXPECT_EQ(SnapshotLoading.load(), trip.fileTrace ? 0u : 1u);
    EXPECT_EQ(ScanThreadControl.stopFlag.load(), 0u);
    EXPECT_EQ(ScanThreadControl.runningFlag.load(), 0u);  // nothing runs after a load
  }
  EXPECT_EQ(frame_.resultsPageShown, std::size(trips));
  EXPECT_FALSE(scanPage_.stopShown);
  EXPECT_EQ(list_.reportViewCount, std::size(trips));
}

TEST_F(SnapshotRoundTrip, TheTreeShowsTheFoldersReachedFromTheRootWithDeletedOnesRed) {
  FillFat(records::kFat32);
  const std::u16string path = TempPath("tree.vsnp");
  ASSERT_EQ(SaveAs(path, false), 1u);
  ASSERT_EQ(Load(path, false), 1u);
  std::vector<std::u16string> paths;
  for (host::TreeKey key = 1; key <= tree_.nodes.size(); ++key) {
    paths.push_back(tree_.Path(key) + (tree_.At(key).deleted ? u" (red)" : u""));
  }
  EXPECT_EQ(paths, (std::vector<std::u16string>{u"Root", u"Root/DOCS", u"Root/DOCS/R\u00e9sum\u00e9 \u2713 \u00fcn\u00ef (red)",
                                                u"Root/" + std::u16string(255, u'L'), u"Root/Lost Dir",
                                                u"Root/Lost Dir/Dir1 (red)"}));
  EXPECT_EQ(FatFolderList[0].treeKey, 2u);
}

TEST_F(SnapshotRoundTrip, AFileTraceSnapshotBuildsItsGroupsAndTypes) {
  FillFileTrace();
  const std::u16string path = TempPath("trace.vsnp");
  ASSERT_EQ(SaveAs(path, true), 1u);
  ASSERT_EQ(Load(path, true), 1u);
  std::vector<std::u16string> paths;
  for (host::TreeKey key = 1; key <= tree_.nodes.size(); ++key) paths.push_back(tree_.Path(key));
  EXPECT_EQ(paths, (std::vector<std::u16string>{u"Root", u"Root/Graphics Files", u"Root/Graphics Files/.jpg",
                                                u"Root/Document Files", u"Root/Document Files/.doc"}));
}

TEST_F(SnapshotRoundTrip, AFileTraceSnapshotSavesItsHitsAtTheSizeChosenBeforeIt) {
  FillFileTrace();
  LargeFileSize = 7;
  const std::u16string sized = TempPath("sized.vsnp");
  ASSERT_EQ(SaveAs(sized, true), 1u);
  LargeFileSize = 0;  // a fresh start, or Back and Home
  ASSERT_EQ(Load(sized, true), 1u);
  EXPECT_EQ(LargeFileSize.load(), 7u);

  // Written before the size was kept (its bytes were 0), or a size no one can choose: the dialog's
  // first size, whatever was chosen last.
  snapshot_test::Bytes bytes = snapshot_test::ReadFileBytes(sized);
  // Header, parameters, the signature count and the three signature records (".jpg", ".doc", ".x"), the
  // hit count, the first hit's length field, ".jpg" and its terminator.
  const size_t tail = 12 + 68 + 4 + (2 + 10 + 2 + 30 + 2 + 14 + 8) + (2 + 10 + 2 + 30 + 2 + 34 + 8) +
                      (2 + 6 + 2 + 24 + 2 + 2 + 8) + 4 + 2 + 10;
  ASSERT_LT(tail + 1, bytes.size());
  ASSERT_EQ(LoadLe16(&bytes[tail]), 7u);
  for (const uint16_t stored : {0, 21, 0xFFFF}) {
    SCOPED_TRACE(stored);
    bytes[tail] = static_cast<uint8_t>(stored);
    bytes[tail + 1] = static_cast<uint8_t>(stored >> 8);
    snapshot_test::WriteFileBytes(sized, bytes);
    LargeFileSize = 9;
    ASSERT_EQ(Load(sized, true), 1u);
    EXPECT_EQ(LargeFileSize.load(), 2u);
  }
}

TEST_F(SnapshotRoundTrip, OneFolderAndEmptyListsAreStoredWithTheirCounts) {
  ScanRange.fileSystemCode = CurrentFileSystem.type = records::kFat16;
  AppendFatFolder(u"ONLY", 3, 0, 0, 0, 0, 0);
  const std::u16string fat = TempPath("one.vsnp");
  ASSERT_EQ(SaveAs(fat, false), 1u);
  const snapshot_test::Bytes bytes = snapshot_test::ReadFileBytes(fat);
  ASSERT_GE(bytes.size(), 84u);
  EXPECT_EQ(LoadLe32(&bytes[80]), 1u);                // folder count
  EXPECT_EQ(LoadLe32(&bytes[bytes.size() - 8]), 0u);  // entry count
  ASSERT_EQ(Load(fat, false), 1u);
  ASSERT_EQ(FatFolderList.size(), 1u);
  EXPECT_EQ(FatFolderList[0].name, u"ONLY");
  EXPECT_TRUE(FatEntryList.empty());

  ResetEngine();
  const std::u16string trace = TempPath("empty.vsnp");
  ASSERT_EQ(SaveAs(trace, true), 1u);
  EXPECT_EQ(snapshot_test::ReadFileBytes(trace).size(), 12u + 68u + 4u + 4u + 4u);
  tree_ = host::RecordingResultTree{};
  ASSERT_EQ(Load(trace, true), 1u);
  ASSERT_EQ(tree_.nodes.size(), 1u);  // only "Root"
  EXPECT_EQ(tree_.At(1).text, u"Root");
}

// The names of the list's rows.
std::vector<std::u16string> RowNames(host::RecordingResultList& list) {
  std::vector<std::u16string> names;
  for (uint32_t row = 0; row < list.GetItemCount(); ++row) names.push_back(list.GetItemText(row, 0));
  return names;
}

TEST_F(SnapshotRoundTrip, AfterALoadTheRootFolderIsListed) {
  FillFat(records::kFat16);
  const std::u16string fat = TempPath("fat.vsnp");
  ASSERT_EQ(SaveAs(fat, false), 1u);
  ASSERT_EQ(Load(fat, false), 1u);
  EXPECT_EQ(RowNames(list_), (std::vector<std::u16string>{u"DOCS", std::u16string(255, u'L'), u"Lost Dir", u"_B.BIN"}));

  ResetEngine();
  {
    OpenedImage image("ntfs_4k.fixed.vhd");
    ASSERT_TRUE(image.opened());
    ASSERT_TRUE(ReadNtfsParameters());
    RecoveryMode = records::kExtensiveScan;
    const std::vector<std::u16string> rows = ExtensiveRootRows();
    FillNtfsExtensive();
    const std::u16string ntfs = TempPath("ntfs.vsnp");
    ASSERT_EQ(SaveAs(ntfs, false), 1u);
    ASSERT_EQ(Load(ntfs, false), 1u);
    // Listed as a Quick Scan: the entries at the root are those stored from the found ones.
    EXPECT_EQ(RowNames(list_), rows);
  }

  ResetEngine();
  FillFileTrace();
  const std::u16string trace = TempPath("trace.vsnp");
  ASSERT_EQ(SaveAs(trace, true), 1u);
  ASSERT_EQ(Load(trace, true), 1u);
  EXPECT_EQ(RowNames(list_), (std::vector<std::u16string>{u"Graphics Files", u"Document Files"}));
}

TEST_F(SnapshotRoundTrip, AnExtensiveScanSnapshotListsTheFilesTheScanListedAtBothEndsOfTheFileSystem) {
  OpenedImage image("ntfs_4k.fixed.vhd");
  ASSERT_TRUE(image.opened());
  ASSERT_TRUE(ReadNtfsParameters());
  RecoveryMode = records::kExtensiveScan;
  const std::vector<std::u16string> rows = ExtensiveRootRows();
  FillNtfsExtensive();
  // The scan's own list of the root, with a file at the cluster base and one at the last sector.
  ListNtfsFoundFolder(records::kNtfsRootRecord);
  const std::vector<std::u16string> scanned = RowNames(list_);
  EXPECT_EQ(scanned, rows);
  const std::u16string path = TempPath("ends.vsnp");
  ASSERT_EQ(SaveAs(path, false), 1u);
  EXPECT_EQ(ScanCounters.entryCount, 3u);
  ASSERT_EQ(Load(path, false), 1u);
  EXPECT_EQ(RowNames(list_), scanned);
}

// The first file of ntfs_4k past its metafiles, appended as the Quick Scan lists it.
bool AppendFirstUserFile() {
  const std::vector<UserFile> files = UserFiles(1);
  if (files.empty()) return false;
  const UserFile& f = files[0];
  AppendNtfsEntry(f.sector, f.name.name, f.number, f.name.parent, f.name.creation, f.name.change, 0, 1);
  ScanCounters.entryCount = 1;
  return true;
}

std::vector<std::pair<uint64_t, uint64_t>> MapExtents() {
  std::vector<std::pair<uint64_t, uint64_t>> extents;
  for (const MftExtent& e : MftMap) extents.emplace_back(e.startSector, e.sectorCount);
  return extents;
}

TEST_F(SnapshotRoundTrip, AnNtfsSnapshotWithoutItsMftSectorMapsTheMftWhereItsFilesLie) {
  OpenedImage image("ntfs_4k.fixed.vhd");
  ASSERT_TRUE(image.opened());
  ASSERT_TRUE(ReadNtfsParameters());
  const FileSystemRecord& fs = CurrentFileSystem;
  ASSERT_EQ(LoadMftMap(fs.clusterBase, DevicePathTable[0], fs.mftSector, fs.sectorsPerCluster, UINT64_MAX), 1u);
  const auto map = MapExtents();
  ASSERT_TRUE(AppendFirstUserFile());

  const struct {
    const char* file;
    bool mft, mirror;  // which of the two sectors the snapshot keeps
  } cases[] = {{"mirror.vsnp", false, true}, {"rebuilt.vsnp", false, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    CurrentFileSystem.mftSector = c.mft ? fs.mftSector : 0;
    CurrentFileSystem.mftMirrorSector = c.mirror ? fs.mftMirrorSector : 0;
    const std::u16string path = TempPath(c.file);
    ASSERT_EQ(SaveAs(path, false), 1u);
    const std::vector<std::string> saved = DescribeState();
    MftMap.clear();
    ASSERT_EQ(Load(path, false), 1u);
    EXPECT_TRUE(frame_.plainMessages.empty());
    EXPECT_EQ(DescribeState(), saved);
    EXPECT_EQ(MapExtents(), map);
  }

  // Where the file's record holds another file, the snapshot is of another source.
  NtfsEntryList[0].name += u"~";
  const std::u16string other = TempPath("other.vsnp");
  ASSERT_EQ(SaveAs(other, false), 1u);
  EXPECT_EQ(Load(other, false), 0u);
  EXPECT_EQ(frame_.plainMessages, (std::vector<std::u16string>{u"Source file and load recovery snapshot mismatch"}));
  EXPECT_EQ(MapExtents(), map);  // the map of the results still shown
}

TEST_F(SnapshotRoundTrip, AfterALoadSectorsAreReadFromTheImageWhateverThePhysicalDriveGate) {
  OpenedImage image("ntfs_4k.fixed.vhd");
  ASSERT_TRUE(image.opened());
  ASSERT_TRUE(ReadNtfsParameters());
  FillNtfsQuick();
  SourceKind = kSourceDisk;
  const std::u16string path = TempPath("gate.vsnp");
  ASSERT_EQ(SaveAs(path, false), 1u);
  ASSERT_EQ(Load(path, false), 1u);
  EXPECT_EQ(SourceKind.load(), kSourceDisk);
  EXPECT_FALSE(DeviceHandle.IsZero());  // the load opened (or tried to open) the physical drive
  uint8_t boot[512] = {};
  EXPECT_EQ(ReadSectors(DevicePathTable[CurrentDriveIndex], 0, 0, 1, boot), 1u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(boot + 3), 4), "NTFS");
}

TEST_F(SnapshotRoundTrip, ALogicalDriveSourceIsReopenedFromItsRowOfDriveNames) {
  FillFat(records::kFat32);
  ScanRange.driveField = 3;
  SourceKind = kSourceLogicalDrive;
  const std::u16string path = TempPath("volume.vsnp");
  ASSERT_EQ(SaveAs(path, false), 1u);

  // The volume "E:" reads the snapshot file itself, whose first sector begins with "D".
  scanPage_.logicalDrives[3] = u"E:\\";
  os::MapVolumeForTesting(u"\\\\.\\E:", path);
  ASSERT_EQ(Load(path, false), 1u);
  EXPECT_EQ(ScanRange.driveField, 3u);
  ASSERT_TRUE(VolumeHandle.IsOpen());
  uint8_t sector[512] = {};
  EXPECT_EQ(ReadSectors(DevicePathTable[0], 0, 0, 1, sector), 1u);
  EXPECT_EQ(sector[0], 'D');

  // Without a name in that row the volume cannot be opened. (The volume open now is not the snapshot's
  // source: with nothing open, there is nothing to check it against.)
  scanPage_.logicalDrives.clear();
  VolumeHandle.Close();
  ASSERT_EQ(Load(path, false), 1u);
  EXPECT_TRUE(VolumeHandle.IsInvalid());
  os::MapVolumeForTesting(u"\\\\.\\E:", u"");
}

// A short name that its case flags put in small letters (notes.txt of the shared FAT16 volume) is listed so and
// stored with the name its bytes hold as the name it was found under: the snapshot loads over its volume in this
// build and in the builds before it, which compare that name; a snapshot those builds wrote (the name as its bytes
// hold it, nothing after) loads too. Only that file is kept, so that the check samples it.
TEST_F(SnapshotRoundTrip, ShortNamesInSmallLettersLoadOverTheirVolumeWhicheverBuildWroteTheSnapshot) {
  OpenedImage image("fat16.fixed.vhd");
  ASSERT_TRUE(image.opened());
  RecoveryMode = records::kQuickScan;
  ScanRange = {records::kFat16, 0, 65536, 65535, 0};
  CurrentDriveIndex = 0;
  ASSERT_EQ(ReadBootParameters(), 1u);
  ASSERT_EQ(QuickScanFat(), 1u);
  FatEntryRecord notes;
  for (const FatEntryRecord& e : FatEntryList) {
    if (e.name == u"notes.txt") notes = e;
  }
  ASSERT_EQ(notes.name, u"notes.txt");
  EXPECT_EQ(notes.foundName, u"NOTES.TXT");
  const FileSystemRecord fs = CurrentFileSystem;
  const struct {
    const char* what;
    const char16_t* name;
    const char16_t* foundName;
    uint32_t loads;
  } cases[] = {
      {"written now", u"notes.txt", u"NOTES.TXT", 1},
      {"written before the case flags were read", u"NOTES.TXT", u"", 1},
      {"another volume's file", u"OTHER.TXT", u"", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    FreeScanRecordLists();
    CurrentFileSystem = fs;
    FatEntryRecord& file = AppendFatEntry(c.name, notes.firstCluster, 0, notes.firstDateWord, notes.secondDateWord,
                                          notes.size, 0);
    file.foundName = c.foundName;
    ++ScanCounters.entryCount;
    const std::u16string path = TempPath("notes.vsnp");
    ASSERT_EQ(SaveAs(path, false), 1u);
    ASSERT_EQ(Load(path, false), c.loads);
    if (c.loads == 1) {
      ASSERT_EQ(FatEntryList.size(), 1u);
      EXPECT_EQ(FatEntryList[0].name, c.name);
      EXPECT_EQ(records::NameOnDisk(FatEntryList[0]), u"NOTES.TXT");
    }
  }
}

// A directory entry of a short name (8 + 3 characters, blank-padded) at entry index of bytes.
void PutShortEntry(save_test::Bytes& bytes, size_t index, const char* name11, uint8_t attributes, uint16_t cluster,
                   uint32_t size) {
  uint8_t* entry = &bytes[index * 32];
  std::copy(name11, name11 + 11, entry);
  entry[11] = attributes;
  entry[26] = static_cast<uint8_t>(cluster);
  entry[27] = static_cast<uint8_t>(cluster >> 8);
  for (int i = 0; i < 4; ++i) entry[28 + i] = static_cast<uint8_t>(size >> (8 * i));
}

// A folder's first sector: "." and ".." naming it and its parent, then files (one cluster each from firstFile on)
// up to the end of the sector when full.
save_test::Bytes FolderSector(uint16_t self, uint16_t parent, size_t files, uint16_t firstFile) {
  save_test::Bytes sector(512, 0);
  PutShortEntry(sector, 0, ".          ", 0x10, self, 0);
  PutShortEntry(sector, 1, "..         ", 0x10, parent, 0);
  for (size_t i = 0; i < files; ++i) {
    const std::string name = "FILE" + std::to_string(10 + i) + "  TXT";
    PutShortEntry(sector, 2 + i, name.c_str(), 0x20, static_cast<uint16_t>(firstFile + i), 1);
  }
  return sector;
}

// The first table runs the chain of LETTERS (its one cluster full of entries) on into the second cluster of NOTES,
// where NOTES lists its folder CROWDED: a scan reading LETTERS through that table meets CROWDED there first and keeps
// it under LETTERS, though its ".." names NOTES. The snapshot of that scan loads over the volume; one that puts
// CROWDED where no directory of the volume lists it is of another source.
TEST_F(SnapshotRoundTrip, AFolderMetThroughAnotherFoldersCrossedChainLoadsUnderTheFolderItWasMetIn) {
  constexpr uint16_t kLetters = 40, kNotes = 44, kCrowded = 48;
  save_test::FatVolume volume(1, 64);
  save_test::Bytes root(512, 0);
  PutShortEntry(root, 0, "LETTERS    ", 0x10, kLetters, 0);
  PutShortEntry(root, 1, "NOTES      ", 0x10, kNotes, 0);
  volume.Put(2, root);  // the FAT16 root follows the second table
  const save_test::Bytes letters = FolderSector(kLetters, 0, 14, 20);
  volume.PutChained({kLetters, kNotes + 1}, letters, 1);
  volume.PutChained({kLetters}, letters, 2);
  save_test::Bytes notes = FolderSector(kNotes, 0, 14, 5);
  notes.resize(1024, 0);
  PutShortEntry(notes, 16, "CROWDED    ", 0x10, kCrowded, 0);
  volume.PutChained({kNotes, kNotes + 1}, notes, 3);
  volume.PutChained({kCrowded}, FolderSector(kCrowded, kNotes, 1, 60), 3);

  const struct {
    const char* what;
    uint32_t parent;
    uint32_t loads;
  } cases[] = {
      {"met in LETTERS", kLetters, 1},
      {"under NOTES, which its \"..\" names", kNotes, 1},
      {"at the root, which does not list it", records::kFatRootId, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ResetEngine();
    frame_.plainMessages.clear();
    const auto mounted = volume.Mount();
    RecoveryMode = records::kQuickScan;
    ScanRange = {records::kFat16, 0, CurrentFileSystem.lastSector, CurrentFileSystem.lastSector - 1, 0};
    AppendFatFolder(u"LETTERS", kLetters, records::kFatRootId, 0, 0, 0, 0);
    AppendFatFolder(u"NOTES", kNotes, records::kFatRootId, 0, 0, 0, 0);
    AppendFatFolder(u"CROWDED", kCrowded, c.parent, 0, 0, 0, 0);
    AppendFatEntry(u"FILE10.TXT", 60, kCrowded, 0, 0, 1, 0);
    ScanCounters.entryCount = 1;
    ExpectLoadOverSource(c.loads);
  }
}

// A FAT16 volume whose second table lost its first sector, the rest of both tables blank: the scans take the first
// table's first sector as both copies and read the root right before the data area, which the snapshot does not
// store but places by its cluster base and root size. The snapshot loads over the volume whichever copy the lone
// sector was; one naming a file the root does not list is of another source.
TEST_F(SnapshotRoundTrip, ASnapshotOfAVolumeReadThroughOneTableCopyLoadsOverItWhicheverCopyThatWas) {
  constexpr uint32_t kRootSectors = 4, kFirstTable = 2, kSecondTable = 18;
  save_test::FatVolume volume(1, 64);  // tables at sectors 2 and 18, 16 sectors each, then the root
  save_test::Bytes root(512, 0);
  PutShortEntry(root, 0, "ROOT    TXT", 0x20, 20, 100);
  PutShortEntry(root, 1, "NOTES   TXT", 0x20, 21, 7);
  volume.Put(2, root);  // the sector right after the second table
  const struct {
    const char* what;
    uint32_t loneTable, size, loads;
  } cases[] = {
      {"the first copy's sector", kFirstTable, 100, 1},
      {"the second copy's sector", kSecondTable, 100, 1},
      {"a file the root lists at another size", kFirstTable, 101, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ResetEngine();
    frame_.plainMessages.clear();
    const auto mounted = volume.Mount();
    CurrentFileSystem.firstFatSector = CurrentFileSystem.secondFatSector = c.loneTable;
    CurrentFileSystem.rootDirectorySectors = kRootSectors;
    CurrentFileSystem.clusterBase += kRootSectors;  // the data area begins after the root
    RecoveryMode = records::kQuickScan;
    ScanRange = {records::kFat16, 0, CurrentFileSystem.lastSector, CurrentFileSystem.lastSector - 1, 0};
    AppendFatEntry(u"ROOT.TXT", 20, records::kFatRootId, 0, 0, c.size, 0);
    ++ScanCounters.entryCount;
    AppendFatEntry(u"NOTES.TXT", 21, records::kFatRootId, 0, 0, 7, 0);
    ++ScanCounters.entryCount;
    ExpectLoadOverSource(c.loads);
  }
}

TEST(SnapshotPaths, TheChosenNameIsLowerCasedAndGetsTheExtensionOnce) {
  const struct {
    const char16_t *chosen, *path;
  } cases[] = {
      {u"Results", u"results.vsnp"},
      {u"old.VSNP", u"old.vsnp"},
      {u"C:\\Saved Scans\\Disk \u00c9T\u00c9.Vsnp", u"C:\\Saved Scans\\disk \u00e9t\u00e9.vsnp"},
      {u"/tmp/Mixed/A.vsnp.bak", u"/tmp/Mixed/a.vsnp.bak.vsnp"},
      {u"x.vsnp", u"x.vsnp"},
      {u".vsnp", u".vsnp"},
  };
  for (const auto& c : cases) EXPECT_EQ(snapshot::SavePathFor(c.chosen), c.path);
  EXPECT_EQ(snapshot::LoadPathFor(u"\"C:\\My Scans\\Old.vsnp\""), u"C:\\My Scans\\Old.vsnp");
}

}  // namespace
