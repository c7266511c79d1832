#include "engine/snapshot/snapshot_test_support.h"


#include <cctype>
#include <fstream>
#include <sstream>

#include "engine/image/disk_image.h"
#include "engine/image/source_values.h"
#include "engine/ntfs/mft_map.h"
#include "engine/records/extensive_candidates.h"
#include "engine/records/file_trace_hits.h"
#include "engine/records/scan_records.h"
#include "engine/scan/selected_signatures.h"
#include "engine/snapshot/snapshot.h"
#include "platform/os/os.h"

namespace snapshot_test {

namespace {

std::string Utf8(const std::u16string& text) { return os::ToUtf8(text); }

template <typename... Fields>
std::string Line(const char* kind, const Fields&... fields) {
  std::ostringstream line;
  line << kind;
  ((line << '|' << fields), ...);
  return line.str();
}

}  // namespace

void SnapshotTest::SetUp() {
  ResetEngine();
  host::Hosts hosts;
  windows_.InstallIn(hosts);
  hosts_ = std::make_unique<host::ScopedHosts>(hosts);
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  folder_ = os::ProcessTempPath(u"dorvane_snapshot") + u"_" +
            os::FromAscii(info->name()) + u"\\";
  os::CreateFolder(folder_);
}

void SnapshotTest::TearDown() {
  hosts_.reset();
  ResetEngine();
  for (const std::u16string& file : files_) os::RemoveFile(file);
  os::RemoveFolder(folder_);
}

void SnapshotTest::ResetEngine() {
  FreeScanRecordLists();
  NtfsFoundEntryList.Free();
  NtfsFolderCandidateList.Free();
  IndexRecordCandidateList.Free();
  ClusterList.Free();
  FoundFileSystemList.Free();
  FreeFileTraceResultList();
  FreeFileTraceSignatureList();
  ScanCounters = ScanCountersRecord{};
  RecoveryMode = records::kQuickScan;
  ScanRange = ScanRangeRecord{};
  CurrentFileSystem = FileSystemRecord{};
  CurrentDriveIndex = 0;
  SourceKind = kSourceNothing;
  SnapshotLoading = 0;
  LargeFileSize = 0;
  ScanThreadControl.stopFlag = 0;
  ScanThreadControl.runningFlag = 0;
  SetCurrentDiskImage(nullptr);
  DeviceHandle.Close();
  VolumeHandle.Close();
  MftMap.clear();
}

std::u16string SnapshotTest::TempPath(const std::string& name) {
  std::u16string path = folder_ + os::FromAscii(name);
  files_.push_back(path);
  return path;
}

uint32_t SnapshotTest::SaveAs(const std::u16string& path, bool fileTrace) {
  frame_.savePathChosen = true;
  frame_.savePath = path;
  return fileTrace ? SaveRecoverySnapshot() : SaveFileSystemSnapshot();
}

uint32_t SnapshotTest::Load(const std::u16string& path, bool fileTrace) {
  return fileTrace ? LoadSnapshotFlat(path) : LoadSnapshotTree(path);
}

std::vector<std::u16string> SnapshotTest::TakeErrors() {
  std::vector<std::u16string> errors;
  for (const auto& shown : messages_.shown) {
    if (!shown.question) errors.push_back(shown.text);
  }
  messages_.shown.clear();
  return errors;
}

Bytes ReadFileBytes(const std::u16string& path) {
  os::File file;
  uint64_t size = 0;
  if (!file.OpenRead(path) || !file.Size(&size)) return {};
  Bytes bytes(size);
  uint32_t got = 0;
  if (!bytes.empty() && !file.Read(bytes.data(), static_cast<uint32_t>(size), &got)) return {};
  bytes.resize(got);
  return bytes;
}

void WriteFileBytes(const std::u16string& path, const Bytes& bytes) {
  os::File file;
  ASSERT_TRUE(file.OpenWrite(path));
  ASSERT_TRUE(bytes.empty() || file.Write(bytes.data(), static_cast<uint32_t>(bytes.size())));
  ASSERT_TRUE(file.Close());
}

Bytes HexFixture(const std::string& name) {
  std::ifstream in(std::string(DORVANE_SNAPSHOT_TESTDATA) + "/" + name);
  EXPECT_TRUE(in) << name;
  Bytes bytes;
  std::string line;
  while (std::getline(in, line)) {
    line = line.substr(0, line.find('#'));
    std::istringstream words(line);
    std::string word;
    while (words >> word) bytes.push_back(static_cast<uint8_t>(std::stoul(word, nullptr, 16)));
  }
  return bytes;
}

std::u16string SharedImage(const std::string& name) {
  return os::FromUtf8(std::string(DORVANE_SHARED_IMAGES) + "/" + name);
}

std::vector<std::string> DescribeState() {
  std::vector<std::string> lines;
  const ScanRangeRecord& r = ScanRange;
  lines.push_back(Line("range", r.fileSystemCode, r.startSector, r.sectorCount, r.endSector, r.driveField));
  const FileSystemRecord& fs = CurrentFileSystem;
  lines.push_back(Line("fs", fs.type, fs.sectorsPerFat, fs.sectorsPerCluster, fs.rootDirectorySectors,
                       fs.reservedSectors, fs.clusterBase, fs.firstFatSector, fs.secondFatSector, fs.mftSector,
                       fs.mftMirrorSector, fs.sectorsPerMftRecord, fs.sectorsPerIndexRecord, fs.lastSector, fs.id));
  lines.push_back(Line("counts", ScanCounters.folderCount, ScanCounters.entryCount, SelectedSignatureCount.load()));
  lines.push_back(Line("source", CurrentDriveIndex.load(), SourceKind.load()));
  for (const FatFolderRecord& f : FatFolderList) {
    lines.push_back(Line("fat folder", Utf8(f.name), f.firstCluster, f.parentId, f.firstDateWord, f.secondDateWord,
                         f.deleted));
  }
  for (const FatEntryRecord& e : FatEntryList) {
    lines.push_back(Line("fat entry", Utf8(e.name), Utf8(e.foundName), e.firstCluster, e.parentId, e.firstDateWord,
                         e.secondDateWord, e.size, e.deleted, e.id, e.times.writeTime, e.times.creationDate,
                         e.times.creationTime, unsigned{e.times.creationHundredths}));
  }
  for (const NtfsFolderRecord& f : NtfsFolderList) {
    lines.push_back(Line("ntfs folder", Utf8(f.name), f.recordNumber, f.parentId, f.creationTime,
                         f.modificationTime, f.deleted));
  }
  for (const NtfsEntryRecord& e : NtfsEntryList) {
    lines.push_back(Line("ntfs entry", Utf8(e.name), Utf8(e.foundName), e.recordNumber, e.parentId, e.creationTime,
                         e.modificationTime, e.size, e.deleted, e.id));
  }
  for (const NtfsFoundEntryRecord& e : NtfsFoundEntryList) {
    lines.push_back(Line("found entry", Utf8(e.name), Utf8(e.foundName), e.id));
  }
  for (const SelectedSignature& s : SelectedSignatureList) {
    lines.push_back(Line("signature", Utf8(s.extension), Utf8(s.description), s.offset, s.signature,
                         s.secondValue, s.bytes.size()));
  }
  for (const FileTraceHit& h : FileTraceHitList) {
    lines.push_back(Line("hit", Utf8(h.fileName), Utf8(h.extension), Utf8(h.group), h.startSector, h.id));
  }
  return lines;
}

}  // namespace snapshot_test
