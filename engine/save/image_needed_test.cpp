// Every way page 4 gets the bytes of a file (the preview's copy, Save, Find's save, a snapshot save), in each
// mode and file system, with the image open and without it, held to the table image_needed.tsv: a way
// that writes gives the image's bytes, a way that refuses writes nothing and says why.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "engine/host/snapshot_fakes.h"
#include "engine/ntfs/ntfs_test_support.h"
#include "engine/records/fat_records.h"
#include "engine/records/file_trace_hits.h"
#include "engine/records/ntfs_records.h"
#include "engine/records/scan_records.h"
#include "engine/save/preview_copy.h"
#include "engine/save/save_state.h"
#include "engine/save/save_test_support.h"
#include "engine/save/savers.h"
#include "engine/snapshot/snapshot.h"
#include "platform/os/os.h"

namespace save_test {
namespace {

struct Row {
  std::string way, mode, fs, withImage, withoutImage;
};

std::vector<Row> ReadTable() {
  std::ifstream in(DORVANE_IMAGE_NEEDED_TABLE);
  std::vector<Row> rows;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    Row row;
    std::getline(fields, row.way, '\t');
    std::getline(fields, row.mode, '\t');
    std::getline(fields, row.fs, '\t');
    std::getline(fields, row.withImage, '\t');
    std::getline(fields, row.withoutImage, '\t');
    rows.push_back(row);
  }
  return rows;
}

// What a way did: the file it wrote (empty when none) and whether it said the image is needed.
struct Outcome {
  bool written = false;
  Bytes bytes;
  bool refused = false;
};

class ImageNeededTest : public SaveTest {
 protected:
  ImageNeededTest() {
    host::Hosts hosts = host::Current();
    hosts.snapshotFrame = &frame;
    installed_ = std::make_unique<host::ScopedHosts>(hosts);
  }

  // The records of one file for the mode and file system, read from a small volume mounted as the source.
  void Prepare(const Row& row) {
    ResetState();
    messages.shown.clear();
    mounted.reset();
    RecoveryMode = row.mode == "quick" ? records::kQuickScan : row.mode == "extensive" ? records::kExtensiveScan
                                                                                        : records::kFileTrace;
    const uint16_t type = row.fs == "ntfs" ? records::kNtfs : row.fs == "fat32" ? records::kFat32 : records::kFat16;
    expected = Pattern(3000, 5);
    if (RecoveryMode == records::kFileTrace) {
      Bytes disk = Pattern(2 << 20, 7);
      expected.assign(disk.begin() + 100 * 512, disk.begin() + 100 * 512 + (1 << 20));
      mounted = std::make_unique<MountedBytes>(disk);
      CurrentFileSystem.type = type;
      LargeFileSize = 1;
      id = AppendFileTraceHit(u"1.jpg", u".jpg", u"Graphics", 1, 100).id;
      name = u"1.jpg";
    } else if (type == records::kNtfs) {
      expected.resize(300);  // held in the record itself
      ntfs_test::RecordBuilder record;
      record.AddFileName(5, u"file.txt", 1);
      record.AddResident(0x80, u"", expected);
      NtfsVolume volume;
      const uint32_t sector = volume.PutRecord(0, record.Protected());
      mounted = volume.Mount();
      if (RecoveryMode == records::kQuickScan) {
        id = AppendNtfsEntry(sector, u"file.txt", 0, records::kNtfsRootRecord, 0, 0, 0, expected.size()).id;
      } else {
        id = AppendNtfsFoundEntry(u"file.txt", sector, records::kNtfsRootRecord, 0, 0, 0, expected.size(), 0, 0).id;
      }
      name = u"file.txt";
    } else {
      // A deleted file's clusters follow one another whatever the table's entries are.
      FatVolume volume;
      volume.Put(40, expected);
      mounted = volume.Mount();
      CurrentFileSystem.type = type;
      id = AppendFatEntry(u"file.txt", 40, records::kFatRootId, 0, 0, static_cast<uint32_t>(expected.size()), 1).id;
      ++ScanCounters.entryCount;
      name = u"file.txt";
    }
  }

  Outcome Run(const std::string& way) {
    Outcome outcome;
    std::u16string written = Out(name);
    if (way == "preview") {
      const std::optional<PreviewFile> file = FindPreviewFile(id);
      EXPECT_TRUE(file.has_value());
      if (!file) return outcome;
      written = Out(u"tmp0.copy");
      outcome.refused = WritePreviewCopy(*file, out, u"tmp0.copy") == PreviewCopy::kImageNeeded;
    } else if (way == "save" || way == "find save") {
      BeginSave();
      SaveDestination = out;
      list.saveFileSet = {id};
      way == "save" ? SaveSelected() : SaveFileIds({id});
      outcome.refused = !messages.shown.empty() && messages.shown[0].text == kImageNeededText;
    } else {
      written = Out(u"s.vsnp");
      frame.savePath = written;
      (RecoveryMode == records::kFileTrace ? SaveRecoverySnapshot : SaveFileSystemSnapshot)();
      outcome.refused = !messages.shown.empty();
      expected = ReadAll(written);  // its bytes are the snapshot tests' business
    }
    outcome.bytes = ReadAll(written, &outcome.written);
    os::RemoveFile(written);
    return outcome;
  }

  host::ScriptedSnapshotFrame frame;
  std::unique_ptr<MountedBytes> mounted;
  Bytes expected;
  uint32_t id = 0;
  std::u16string name;

 private:
  std::unique_ptr<host::ScopedHosts> installed_;
};

TEST_F(ImageNeededTest, EveryWayToTheBytesWritesThemOrRefusesAsTheTableSays) {
  const std::vector<Row> rows = ReadTable();
  ASSERT_EQ(rows.size(), 4u * 3u * 3u);
  for (const Row& row : rows) {
    for (const bool image : {true, false}) {
      const std::string want = image ? row.withImage : row.withoutImage;
      SCOPED_TRACE(row.way + " " + row.mode + " " + row.fs + (image ? " with the image" : " without it"));
      if (want == "-") continue;
      Prepare(row);
      if (!image) mounted.reset();
      const Outcome outcome = Run(row.way);
      if (want == "writes") {
        EXPECT_TRUE(outcome.written);
        EXPECT_FALSE(outcome.refused);
        EXPECT_EQ(outcome.bytes, expected);
      } else {
        ASSERT_EQ(want, "refuses");
        EXPECT_FALSE(outcome.written);
        EXPECT_TRUE(outcome.refused);
        EXPECT_TRUE(FolderNames(out).empty());
      }
    }
  }
}

}  // namespace
}  // namespace save_test
