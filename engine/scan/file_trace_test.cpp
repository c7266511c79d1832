#include "engine/scan/file_trace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <map>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "engine/image/disk_image.h"
#include "engine/image/read_sectors.h"
#include "engine/image/source_values.h"
#include "engine/records/file_trace_hits.h"
#include "engine/records/scan_control.h"
#include "engine/records/scan_parameters.h"
#include "engine/listing/results_listing.h"
#include "engine/scan/quick_scan_test_support.h"
#include "engine/scan/results_tree_build.h"
#include "engine/scan/scan_end.h"
#include "engine/scan/scan_test_support.h"
#include "engine/scan/selected_signatures.h"
#include "engine/scan/signature_database.h"
#include "engine/partitions/partition_test_support.h"
#include "platform/os/os.h"

// The allocations the test program's operator new makes while counting is on (defined at the end of the file).
namespace file_trace_allocations {
std::atomic<bool> counting{false};
std::atomic<uint64_t> made{0};
}  // namespace file_trace_allocations

namespace {

using scan_test::ReadTable;

std::u16string TraceSample(const std::string& name) { return os::FromUtf8(DORVANE_TRACE_SAMPLES "/" + name); }

// A carving sample of carving.raw and what File Trace gives at its sector with every sample type ticked
// (make_trace_samples.py).
struct CarvingSample {
  uint32_t sector = 0;
  std::string type;
  bool valid = false;
  bool photorecHit = false;
  bool hit = false;
  std::u16string extension;
  std::u16string group;
};

std::vector<CarvingSample> CarvingSamples() {
  std::vector<CarvingSample> samples;
  for (const auto& row : ReadTable(TraceSample("carving.tsv"))) {
    if (row.size() != 8) continue;
    samples.push_back({static_cast<uint32_t>(std::stoul(row[0])), row[1], row[2] == "1", row[4] == "1",
                       row[5] == "1", os::FromUtf8(row[6]), os::FromUtf8(row[7])});
  }
  return samples;
}

// The samples that File Trace finds, in sector order.
std::vector<CarvingSample> FoundCarvingSamples() {
  std::vector<CarvingSample> found;
  for (const CarvingSample& s : CarvingSamples()) {
    if (s.hit) found.push_back(s);
  }
  return found;
}

const std::vector<std::u16string> kCarvingTypes = {u".jpg", u".png", u".gif", u".bmp", u".pdf",
                                                   u".zip", u".doc", u".xls", u".ppt"};

// A sample of trace.fixed.vhd: its sector, name, and the extension its compound-file naming gives.
struct TraceDiskSample {
  uint32_t sector = 0;
  std::string name;
  std::u16string named;  // empty: none
};

std::map<std::string, TraceDiskSample> TraceDiskSamples() {
  std::map<std::string, TraceDiskSample> samples;
  for (const auto& row : ReadTable(TraceSample("trace.tsv"))) {
    if (row.size() != 3) continue;
    samples[row[1]] = {static_cast<uint32_t>(std::stoul(row[0])), row[1], row[2] == "-" ? u"" : os::FromUtf8(row[2])};
  }
  return samples;
}

// A disk of its own (trace.fixed.vhd, or another of make_trace_samples.py's) as the current source.
class TraceDisk {
 public:
  explicit TraceDisk(const std::string& name = "trace.fixed.vhd") {
    image_.CreateReader(kImageVhd);
    opened_ = image_.Open(TraceSample(name)) == 1;
    EXPECT_TRUE(opened_);
    ImageFormat = 0;
    SourceKind = kSourceDisk;
    SetCurrentDiskImage(&image_);
  }
  ~TraceDisk() {
    SetCurrentDiskImage(nullptr);
    SourceKind = kSourceNothing;
  }

 private:
  DiskImage image_;
  bool opened_ = false;
};

// The sectors of a disk the tests trace: "carving" (carving.raw and its wrappers) or "trace".
uint32_t DiskSectors(const std::string& disk) {
  for (const auto& row : ReadTable(TraceSample("disks.tsv"))) {
    if (row.size() == 2 && row[0] == disk) return static_cast<uint32_t>(std::stoul(row[1]));
  }
  ADD_FAILURE() << "no disk " << disk;
  return 0;
}

class FileTraceTest : public quick_test::QuickScanTest {
 protected:
  FileTraceTest() {
    Clean();
    ResultListers.listFileTraceGroups = ListFileTraceGroups;
  }
  ~FileTraceTest() override {
    Clean();
    ResultListers = ResultListersRecord{};
  }

  static void Clean() {
    FreeFileTraceResultList();
    FreeFileTraceSignatureList();
    RecoveryMode = records::kFileTrace;
  }

  // ScanRange for a search from start to end (FileTraceSearch alone reads no parameters).
  static void SetSearchRange(uint32_t start, uint32_t end) {
    ScanRange.fileSystemCode = records::kFat32;
    ScanRange.startSector = start;
    ScanRange.endSector = end;
    ScanRange.sectorCount = end - start + 1;
  }

  // Starts again with clean scan state, panel, tree and list, keeping the source.
  void Restart() {
    ResetScanState();
    FreeFileTraceResultList();
    panel.progress.clear();
    panel.statusTexts.clear();
    panel.rowWrites.clear();
    tree.DeleteAllItems();
    list.DeleteAllItems();
    messages.shown.clear();
  }

  // The types ticked in the file-types dialog, from the Raw.dat of the build.
  void Tick(const std::vector<std::u16string>& extensions) {
    SignatureDatabase database;
    ASSERT_TRUE(ReadSignatureDatabase(scan_test::RawDatPath(), &database));
    BuildSelectedSignatureList(TickedSignatureRecords(database.records, extensions));
    ASSERT_GT(SelectedSignatureList.size(), 0u);
  }

  // Every type of Raw.dat ticked, as the top groups' boxes tick them.
  void TickEveryType() {
    SignatureDatabase database;
    ASSERT_TRUE(ReadSignatureDatabase(scan_test::RawDatPath(), &database));
    std::vector<std::u16string> every;
    for (const SignatureGroup& group : SignatureTypeTree(database.records)) {
      every.insert(every.end(), group.types.begin(), group.types.end());
    }
    Tick(every);
  }

  // The description of the first record of extension in Raw.dat: the group of its hits.
  static std::u16string DescriptionOf(const std::u16string& extension) {
    SignatureDatabase database;
    EXPECT_TRUE(ReadSignatureDatabase(scan_test::RawDatPath(), &database));
    for (const SignatureRecord& r : database.records) {
      if (r.extension == extension) return r.description;
    }
    return u"?";
  }

  // FileTraceThread on a worker thread, started as the page starts it; its result once it has returned,
  // which must be within a minute.
  uint32_t RunTrace() {
    ScanThreadControl.stopFlag = 0;
    ScanThreadControl.runningFlag = 1;
    uint32_t result = 2;
    scan_test::RunWithinDeadline(60, "File Trace", [&] { result = FileTraceThread(); });
    return result;
  }

  void ExpectEnded() {
    EXPECT_EQ(ScanThreadControl.runningFlag.load(), 0u);
    EXPECT_EQ(ScanThreadControl.stopFlag.load(), 1u);
  }

  static std::map<uint32_t, FileTraceHit> HitsBySector() {
    std::map<uint32_t, FileTraceHit> hits;
    for (const FileTraceHit& hit : FileTraceHitList) hits[hit.startSector] = hit;
    return hits;
  }

  bool StatusShown(const std::u16string& text) const {
    return std::find(panel.statusTexts.begin(), panel.statusTexts.end(), text) != panel.statusTexts.end();
  }

  // The blocks read: the sectors the status line named, in order.
  std::vector<std::u16string> BlockStatuses() const {
    std::vector<std::u16string> blocks;
    for (const std::u16string& text : panel.statusTexts) {
      if (text.rfind(u"Reading Sector ", 0) == 0) blocks.push_back(text);
    }
    return blocks;
  }
};

std::u16string Text(uint64_t value) { return os::FromUtf8(std::to_string(value)); }

std::u16string Reading(uint64_t sector, uint64_t end) { return u"Reading Sector " + Text(sector) + u" Of " + Text(end); }

// ---- the carving samples

// Every sample whose signature begins its sector is found there with the extension and group it should
// have; the others (a PNG 100 bytes into its file, a text without signature) are not. Every hit photorec
// made is one of them: File Trace finds at least what photorec finds, and also what photorec refuses as
// damaged (the truncated JPEG).
TEST_F(FileTraceTest, CarvingSamplesAreFoundWithTheirTypeAndGroup) {
  const std::vector<CarvingSample> samples = CarvingSamples();
  ASSERT_GE(samples.size(), 12u);
  for (const char* image : {"carving.fixed.vhd", "carving.dynamic.vhd"}) {
    SCOPED_TRACE(image);
    quick_test::SharedDisk disk(image);
    Restart();
    Tick(kCarvingTypes);
    SetRange(records::kFat32, 0, DiskSectors("carving"));
    EXPECT_EQ(RunTrace(), 1u);
    ExpectEnded();
    EXPECT_TRUE(messages.shown.empty());
    const std::map<uint32_t, FileTraceHit> hits = HitsBySector();
    int valid = 0;
    for (const CarvingSample& s : samples) {
      SCOPED_TRACE(std::to_string(s.sector) + " " + s.type);
      const auto hit = hits.find(s.sector);
      ASSERT_EQ(hit != hits.end(), s.hit);
      if (!s.hit) continue;
      EXPECT_EQ(hit->second.extension, s.extension);
      EXPECT_EQ(hit->second.group, s.group);
      EXPECT_EQ(hit->second.fileName, Text(hit->second.id) + s.extension);
      valid += s.valid ? 1 : 0;
      if (s.photorecHit) {
        EXPECT_TRUE(s.valid);
      }
    }
    EXPECT_GE(valid, 9);
    for (const auto& row : ReadTable(TraceSample("photorec.tsv"))) {
      ASSERT_EQ(row.size(), 2u);
      const auto hit = hits.find(static_cast<uint32_t>(std::stoul(row[0])));
      ASSERT_NE(hit, hits.end()) << row[0];
      EXPECT_EQ(hit->second.extension, os::FromUtf8(row[1])) << row[0];
    }
    // Numbered 1, 2, 3 ... in sector order across all types; the counters follow.
    uint32_t id = 0;
    uint32_t last = 0;
    for (const FileTraceHit& hit : FileTraceHitList) {
      EXPECT_EQ(hit.id, ++id);
      EXPECT_GE(hit.startSector, last);
      last = hit.startSector;
    }
    EXPECT_EQ(ScanCounters.entryCount, id);
    EXPECT_EQ(ScanCounters.folderCount, id);
    EXPECT_EQ(panel.Row(host::kFilesFoundRow), Text(id));
    EXPECT_EQ(panel.Row(host::kLastFileFolderRow), FileTraceHitList[id - 1].fileName);
  }
}

// The results: "Root", one node per group and under it one per type; the list shows the group folders.
TEST_F(FileTraceTest, ResultsTreeHasOneFolderPerGroup) {
  quick_test::SharedDisk disk("carving.fixed.vhd");
  Tick({u".jpg", u".png", u".pdf"});
  SetRange(records::kFat32, 0, DiskSectors("carving"));
  ASSERT_EQ(RunTrace(), 1u);
  ASSERT_FALSE(tree.nodes.empty());
  EXPECT_EQ(tree.At(1).text, u"Root");
  EXPECT_TRUE(tree.At(1).expanded);
  EXPECT_EQ(tree.currentNode, 1u);
  std::vector<std::u16string> groups;
  for (host::TreeKey g : tree.Children(1)) {
    groups.push_back(tree.At(g).text);
    ASSERT_FALSE(tree.Children(g).empty());
  }
  const std::vector<std::u16string> expected = {DescriptionOf(u".jpg"), DescriptionOf(u".png"),
                                                DescriptionOf(u".pdf")};
  EXPECT_EQ(groups, expected);
  ASSERT_EQ(list.rows.size(), 3u);
  EXPECT_EQ(list.rows[0].texts[0], expected[0]);
  EXPECT_EQ(list.reportViewCount, 1u);
  EXPECT_TRUE(page.busy);
  EXPECT_FALSE(page.stopShown);
  EXPECT_TRUE(page.timerArmed);
  EXPECT_EQ(panel.counterLabelsShown, 1u);
  EXPECT_TRUE(StatusShown(u"Please wait, Searching for Data..."));
  EXPECT_TRUE(StatusShown(u"Please wait creating tree"));
}

// ---- compound files and Office Open XML

// The compound samples found through ".doc" are named after their application when that type is ticked
// too: Word, Excel and PowerPoint on carving.raw, another application (".pub") on the disk of our own. One
// that cannot be opened (a directory link past its end) keeps ".doc" even with ".pub" ticked: nothing says
// what it is.
TEST_F(FileTraceTest, CompoundFilesAreNamedAfterTheirApplication) {
  {
    quick_test::SharedDisk disk("carving.fixed.vhd");
    std::vector<CarvingSample> compound;
    for (const CarvingSample& s : CarvingSamples()) {
      if (s.type == "doc" || s.type == "xls" || s.type == "ppt") compound.push_back(s);
    }
    ASSERT_EQ(compound.size(), 3u);
    for (bool all : {true, false}) {
      SCOPED_TRACE(all ? "doc, xls, ppt" : "doc alone");
      Restart();
      Tick(all ? std::vector<std::u16string>{u".doc", u".xls", u".ppt"} : std::vector<std::u16string>{u".doc"});
      SetRange(records::kFat32, 0, DiskSectors("carving"));
      ASSERT_EQ(RunTrace(), 1u);
      const std::map<uint32_t, FileTraceHit> hits = HitsBySector();
      for (const CarvingSample& s : compound) {
        ASSERT_EQ(hits.count(s.sector), 1u) << s.sector;
        EXPECT_EQ(hits.at(s.sector).extension, all ? u"." + os::FromUtf8(s.type) : u".doc");
        EXPECT_EQ(hits.at(s.sector).group, DescriptionOf(u".doc"));
      }
    }
  }
  TraceDisk disk;
  const std::map<std::string, TraceDiskSample> samples = TraceDiskSamples();
  // Office suites other than Microsoft's name no application: their main stream names them.
  const std::vector<std::vector<std::u16string>> tickings = {
      {u".doc", u".pub"}, {u".doc"}, {u".doc", u".xls", u".ppt", u".pub"}};
  for (const std::vector<std::u16string>& ticked : tickings) {
    SCOPED_TRACE(ticked.size());
    Restart();
    Tick(ticked);
    SetRange(records::kFat16, 0, DiskSectors("trace"));
    ASSERT_EQ(RunTrace(), 1u);
    const std::map<uint32_t, FileTraceHit> hits = HitsBySector();
    int compound = 0;
    for (const auto& [name, s] : samples) {
      if (name.size() < 4 || name.compare(name.size() - 4, 4, ".cfb") != 0) continue;
      SCOPED_TRACE(name);
      ASSERT_EQ(hits.count(s.sector), 1u);
      const bool renamed = std::find(ticked.begin(), ticked.end(), s.named) != ticked.end();
      EXPECT_EQ(hits.at(s.sector).extension, renamed ? s.named : u".doc");
      ++compound;
    }
    EXPECT_EQ(compound, 5);
  }
}

// An Office Open XML document is a ZIP, never a compound file: with ".pub" ticked it keeps ".docx". With
// ".zip" ticked too, the ZIP signature (an earlier group) finds it and its members name it ".docx", in the ZIP's
// group; with ".zip" ticked alone it stays a ZIP.
TEST_F(FileTraceTest, OfficeOpenXmlIsNamedByItsMembers) {
  TraceDisk disk;
  const TraceDiskSample docx = TraceDiskSamples().at("office_open_xml.docx");
  const struct {
    std::vector<std::u16string> ticked;
    std::u16string extension, group;
  } cases[] = {{{u".docx", u".pub"}, u".docx", u".docx"},
               {{u".docx", u".xls", u".ppt", u".doc", u".pub"}, u".docx", u".docx"},
               {{u".zip", u".docx", u".pub"}, u".docx", u".zip"},
               {{u".zip"}, u".zip", u".zip"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(os::ToUtf8(c.extension + u" " + c.group));
    Restart();
    Tick(c.ticked);
    SetRange(records::kFat16, 0, DiskSectors("trace"));
    ASSERT_EQ(RunTrace(), 1u);
    const std::map<uint32_t, FileTraceHit> hits = HitsBySector();
    ASSERT_EQ(hits.count(docx.sector), 1u);
    EXPECT_EQ(hits.at(docx.sector).extension, c.extension);
    EXPECT_EQ(hits.at(docx.sector).group, DescriptionOf(c.group));
  }
}

// The same disk read as a logical drive gives the same hits.
TEST_F(FileTraceTest, LogicalDriveGivesTheSameHits) {
  Tick({u".docx", u".doc", u".pub"});
  std::vector<std::u16string> fromImage;
  {
    TraceDisk disk;
    SetRange(records::kFat16, 0, DiskSectors("trace"));
    ASSERT_EQ(RunTrace(), 1u);
    for (const FileTraceHit& hit : FileTraceHitList) fromImage.push_back(Text(hit.startSector) + u" " + hit.fileName);
  }
  ASSERT_GE(fromImage.size(), 4u);
  Restart();
  quick_test::MappedDrive drive(TraceSample("trace.fixed.vhd"), page);
  SetRange(records::kFat16, 0, DiskSectors("trace"));
  ASSERT_EQ(RunTrace(), 1u);
  std::vector<std::u16string> fromDrive;
  for (const FileTraceHit& hit : FileTraceHitList) fromDrive.push_back(Text(hit.startSector) + u" " + hit.fileName);
  EXPECT_EQ(fromDrive, fromImage);
}

// ---- signatures and the order of the list

// Two signatures that both match a sector: the first in list order names the hit, and no sector gives two.
TEST_F(FileTraceTest, FirstMatchingSignatureInListOrderWins) {
  quick_test::SharedDisk disk("carving.fixed.vhd");
  AppendSelectedSignature(u".two", u"Two Bytes", 2, "FFD8", 0);
  AppendSelectedSignature(u".jpg", u"JPEG Image", 3, "ffd8ff", 0);
  SetRange(records::kFat32, 0, DiskSectors("carving"));
  ASSERT_EQ(RunTrace(), 1u);
  int jpegs = 0;
  for (const CarvingSample& s : CarvingSamples()) {
    if (s.type != "jpg") continue;
    ++jpegs;
    const std::map<uint32_t, FileTraceHit> hits = HitsBySector();
    ASSERT_EQ(hits.count(s.sector), 1u);
    EXPECT_EQ(hits.at(s.sector).extension, u".two");
    EXPECT_EQ(hits.at(s.sector).group, u"Two Bytes");
  }
  EXPECT_EQ(jpegs, 2);
  for (const FileTraceHit& hit : FileTraceHitList) EXPECT_EQ(hit.extension, u".two");
}

// ---- the search against a plain walk of the list

// The first node, in list order, that the bytes at a sector's start match as File Trace's own description
// compares them (PlainSignatureMatches) and that accept takes.
const SelectedSignature* PlainMatch(const uint8_t* sectorStart, size_t size,
                                    const std::function<bool(const SelectedSignature&)>& accept) {
  for (const SelectedSignature* node : scan_test::PlainSignatureMatches(sectorStart, size)) {
    if (accept(*node)) return node;
  }
  return nullptr;
}

// Each hit as a line: sector, id, name, extension, group.
std::vector<std::u16string> HitLines() {
  std::vector<std::u16string> lines;
  for (const FileTraceHit& hit : FileTraceHitList) {
    lines.push_back(Text(hit.startSector) + u" " + Text(hit.id) + u" " + hit.fileName + u" " + hit.extension + u" " +
                    hit.group);
  }
  return lines;
}

// With every type ticked, the search finds the hits it finds when each sector is matched by a plain walk of the
// list: on the carving disk, the disk of our own, a FAT32 and an NTFS volume of a file of every type, and a disk
// of random bytes with every signature planted at sector starts and a run of zeros; there with each signature
// also at the end of the list under a type no format checks, so that where a format refuses the bytes after its
// signature a node further on takes them.
TEST_F(FileTraceTest, EveryTypeFindsWhatAPlainWalkOfTheListFinds) {
  TickEveryType();
  ASSERT_GT(SelectedSignatureList.size(), 150u);
  auto compare = [&](const std::string& name, uint32_t sectors, size_t atLeast) {
    SCOPED_TRACE(name);
    Restart();
    SetSearchRange(0, sectors - 1);
    FileTraceSearchWith(PlainMatch);
    const std::vector<std::u16string> expected = HitLines();
    EXPECT_GE(expected.size(), atLeast);
    Restart();
    SetSearchRange(0, sectors - 1);
    FileTraceSearch();
    EXPECT_EQ(HitLines(), expected);
  };
  {
    quick_test::SharedDisk disk("carving.fixed.vhd");
    compare("carving", DiskSectors("carving"), 10);
  }
  for (const char* name : {"trace", "written_fat32", "written_ntfs"}) {
    TraceDisk disk(std::string(name) + ".fixed.vhd");
    compare(name, DiskSectors(name), std::string(name) == "trace" ? 4 : 80);
  }
  std::mt19937 random(124);
  const uint32_t sectors = 4096;
  std::vector<uint8_t> bytes(size_t{sectors} * kSectorSize);
  for (uint8_t& b : bytes) b = static_cast<uint8_t>(random());
  std::fill(bytes.begin() + 3000 * kSectorSize, bytes.end(), 0);
  uint32_t sector = 0;
  for (const SelectedSignature& node : SelectedSignatureList) {
    std::copy(node.bytes.begin(), node.bytes.end(), bytes.begin() + (sector += 1 + random() % 15) * kSectorSize);
  }
  ASSERT_LT(sector, 3000u);
  const std::u16string path = scan_test::TempFile(u"planted.vhd");
  ASSERT_TRUE(partition_test::WriteFixedVhd(path, bytes.data(), bytes.size(), host::DiskGeometry{1, 1, 1}));
  {
    partition_test::CurrentDisk disk(path);
    ASSERT_TRUE(disk.opened());
    compare("planted", sectors, SelectedSignatureList.size() / 4);
    const size_t listed = SelectedSignatureList.size();
    for (size_t i = 0; i < listed; ++i) {
      const SelectedSignature node = SelectedSignatureList[i];
      AppendSelectedSignature(u".unchecked", u"Unchecked", node.offset, node.signature, 0);
    }
    compare("planted, then unchecked", sectors, listed);
  }
  os::RemoveFile(path);
}

// ---- memory

// What a search allocates does not grow with the sectors it reads: over sectors no signature matches, four
// times as many sectors make no more allocations (hits, and the bytes read to confirm a signature, do).
TEST_F(FileTraceTest, ASearchAllocatesNothingPerSectorRead) {
  TickEveryType();
  // Random sectors, each drawn again until no signature matches its start.
  const uint32_t sectors = 4096;
  std::mt19937 random(4096);
  std::vector<uint8_t> bytes(size_t{sectors} * kSectorSize);
  for (uint32_t s = 0; s < sectors; ++s) {
    uint8_t* sector = bytes.data() + size_t{s} * kSectorSize;
    do {
      for (size_t b = 0; b < kSectorSize; ++b) sector[b] = static_cast<uint8_t>(random());
    } while (!scan_test::PlainSignatureMatches(sector, kSectorSize).empty());
  }
  const std::u16string path = scan_test::TempFile(u"matchless.vhd");
  ASSERT_TRUE(partition_test::WriteFixedVhd(path, bytes.data(), bytes.size(), host::DiskGeometry{1, 1, 1}));
  {
    partition_test::CurrentDisk disk(path);
    ASSERT_TRUE(disk.opened());
    // The longer search first, so that the test's recording panel and tree have grown to what both need.
    uint64_t made[3] = {};
    for (int run = 0; run < 3; ++run) {
      Restart();
      ShowScanProgress = 0;  // the panel's texts are written per block read
      SetSearchRange(0, run == 1 ? 1023 : sectors - 1);
      file_trace_allocations::made = 0;
      file_trace_allocations::counting = true;
      FileTraceSearch();
      file_trace_allocations::counting = false;
      made[run] = file_trace_allocations::made;
      EXPECT_TRUE(FileTraceHitList.empty());
    }
    ShowScanProgress = 1;
    EXPECT_EQ(made[2], made[1]);
  }
  os::RemoveFile(path);
}

// ---- where the search ends

// The block in which the sectors examined pass the end sector is examined whole; the next is not read.
TEST_F(FileTraceTest, TheBlockThatPassesTheEndIsExaminedWhole) {
  quick_test::SharedDisk disk("carving.fixed.vhd");
  Tick(kCarvingTypes);
  const std::vector<CarvingSample> found = FoundCarvingSamples();
  ASSERT_GE(found.size(), 3u);
  const uint32_t start = found.front().sector;
  // (end sector, blocks read)
  const std::pair<uint32_t, uint32_t> cases[] = {
      {start, 1}, {start + 1, 1}, {start + 63, 1}, {start + 64, 2}, {start + 127, 2}, {start + 128, 3}};
  for (const auto& [end, blocks] : cases) {
    SCOPED_TRACE(end);
    Restart();
    SetSearchRange(start, end);
    FileTraceSearch();
    std::vector<std::u16string> read;
    for (uint32_t b = 0; b < blocks; ++b) read.push_back(Reading(start + 64 * b, end));
    EXPECT_EQ(BlockStatuses(), read);
    const uint64_t past = uint64_t{start} + 64 * blocks;
    const std::map<uint32_t, FileTraceHit> hits = HitsBySector();
    for (const CarvingSample& s : found) EXPECT_EQ(hits.count(s.sector), s.sector < past ? 1u : 0u) << s.sector;
    for (const auto& [sector, hit] : hits) {
      EXPECT_GE(sector, start);
      EXPECT_LT(sector, past);
    }
  }
}

// The sectors that cannot be read end the search and are not examined: a signature of zeros would match their
// zeroed buffer. The block the disk's end cuts is examined up to there (its sectors of zeros are hits). Reads
// of the dynamic VHD past its last block fail; so do those of a fixed or raw disk past its data.
TEST_F(FileTraceTest, ABlockThatCannotBeReadEndsTheSearchUnexamined) {
  for (const char* image : {"carving.dynamic.vhd", "carving.fixed.vhd"}) {
    SCOPED_TRACE(image);
    Clean();
    Restart();
    quick_test::SharedDisk disk(image);
    const uint32_t sectors = DiskSectors("carving");
    ASSERT_GT(sectors, 1000u);
    AppendSelectedSignature(u".zero", u"Zero Sectors", 4, "00000000", 0);
    const uint32_t start = sectors - 100;
    const uint32_t end = sectors + 300;
    // The first sector of the range that cannot be read, as ReadSectors reads it.
    std::vector<uint8_t> sector(kSectorSize);
    uint64_t readable = start;
    while (readable <= end && ReadSectors(DevicePathTable[0], static_cast<uint32_t>(readable), 0, 1, sector.data()) == 1) {
      ++readable;
    }
    ASSERT_LE(readable, end);  // some sector of the range fails
    ASSERT_NE((readable - start) % kFileTraceBlockSectors, 0u) << "the disk's end lies inside a block";
    SetSearchRange(start, end);
    FileTraceSearch();
    EXPECT_EQ(BlockStatuses().size(), (readable - start + kFileTraceBlockSectors - 1) / kFileTraceBlockSectors);
    ASSERT_FALSE(FileTraceHitList.empty());
    uint32_t last = 0;
    for (const FileTraceHit& hit : FileTraceHitList) {
      EXPECT_LT(hit.startSector, readable);
      last = std::max(last, hit.startSector);
    }
    EXPECT_EQ(last, readable - 1) << "the disk's last sector, of zeros, in the block its end cuts";
  }
  // The tree is still built from the hits found before.
  ASSERT_FALSE(tree.nodes.empty());
  EXPECT_EQ(tree.At(1).text, u"Root");
}

// A stop ends the search at once; the tree is still built from the hits found so far, and the worker ends
// normally.
TEST_F(FileTraceTest, AStopEndsTheSearchWithTheHitsFoundSoFar) {
  quick_test::SharedDisk disk("carving.fixed.vhd");
  Tick(kCarvingTypes);
  const std::vector<CarvingSample> found = FoundCarvingSamples();
  ASSERT_GE(found.size(), 4u);
  // Stopped when the block that starts at or after the third sample's sector is about to be examined.
  const uint32_t threshold = found[2].sector;
  const uint32_t stopBlock = (threshold + kFileTraceBlockSectors - 1) / kFileTraceBlockSectors * kFileTraceBlockSectors;
  panel.onRow = [&](host::SecondDisplayRow row, const std::u16string& text) {
    if (row == host::kCurrentSectorRow && std::stoul(os::ToUtf8(text)) >= threshold) ScanThreadControl.stopFlag = 1;
  };
  SetRange(records::kFat32, 0, DiskSectors("carving"));
  EXPECT_EQ(RunTrace(), 1u);
  ExpectEnded();
  EXPECT_TRUE(messages.shown.empty());
  const std::map<uint32_t, FileTraceHit> hits = HitsBySector();
  ASSERT_FALSE(hits.empty());
  EXPECT_LT(hits.rbegin()->first, stopBlock);
  for (const CarvingSample& s : found) EXPECT_EQ(hits.count(s.sector), s.sector < stopBlock ? 1u : 0u) << s.sector;
  ASSERT_FALSE(tree.nodes.empty());
  EXPECT_EQ(tree.At(1).text, u"Root");
  EXPECT_FALSE(tree.Children(1).empty());
  EXPECT_EQ(BlockStatuses().back(), Reading(stopBlock, DiskSectors("carving") - 1));
}

// ---- progress

// The bar shows the sectors examined out of the end sector, held at 99; an end sector of 0 divides by 1.
TEST_F(FileTraceTest, ProgressIsHeldBelowOneHundredAndNeverDividesByZero) {
  quick_test::SharedDisk disk("carving.fixed.vhd");
  Tick({u".jpg"});
  for (uint32_t end : {0u, 1u, 200u, 5000u}) {
    SCOPED_TRACE(end);
    Restart();
    SetSearchRange(0, end);
    FileTraceSearch();
    ASSERT_FALSE(panel.progress.empty());
    EXPECT_TRUE(std::is_sorted(panel.progress.begin(), panel.progress.end()));
    EXPECT_LE(panel.progress.back(), 99u);
    EXPECT_EQ(panel.progress.front(), 0u);
    if (end <= 200) {
      EXPECT_EQ(panel.progress.back(), 99u);
    }
  }
  // While the user hides the details, the panel is left alone.
  Restart();
  ShowScanProgress = 0;
  SetSearchRange(0, 200);
  FileTraceSearch();
  EXPECT_TRUE(panel.progress.empty());
  EXPECT_TRUE(BlockStatuses().empty());
  EXPECT_TRUE(panel.rowWrites.empty());
  ShowScanProgress = 1;
}

// ---- ends without a search

// No partition parameters: the message, the page idle again, no search, and still running 0 with stop 1.
TEST_F(FileTraceTest, MissingPartitionParametersEndWithTheMessage) {
  quick_test::SharedDisk disk("carving.fixed.vhd");
  Tick(kCarvingTypes);
  AppendFileTraceHit(u"1.jpg", u".jpg", u"JPEG Image", 1, 5);  // a previous search's hit stays
  SetRange(records::kNtfs, 0, DiskSectors("carving"));
  EXPECT_EQ(RunTrace(), 0u);
  ExpectEnded();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, kPartitionParametersNotFound);
  EXPECT_EQ(messages.shown[0].kind, host::kError);
  EXPECT_EQ(PartitionParametersFailed.load(), 1u);
  EXPECT_TRUE(StatusShown(u"Please wait, Calculating partition parameters..."));
  EXPECT_FALSE(page.timerArmed);
  EXPECT_TRUE(page.navigationEnabled);
  EXPECT_FALSE(page.stopShown);
  EXPECT_FALSE(panel.progressBarShown);
  EXPECT_FALSE(panel.statusTextShown);
  EXPECT_TRUE(tree.nodes.empty());
  EXPECT_TRUE(BlockStatuses().empty());
  EXPECT_EQ(FileTraceHitList.size(), 1u);
}

TEST_F(FileTraceTest, ALogicalDriveThatDoesNotOpenEndsTheWorker) {
  Tick({u".jpg"});
  SourceKind = kSourceLogicalDrive;  // the page names no drive
  SetRange(records::kFat32, 0, 1000);
  EXPECT_EQ(RunTrace(), 0u);
  ExpectEnded();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, kDriveNotOpened);
  EXPECT_FALSE(page.timerArmed);
  EXPECT_EQ(PartitionParametersFailed.load(), 0u);
  EXPECT_TRUE(tree.nodes.empty());
}

}  // namespace

// The test program's allocations, counted while file_trace_allocations::counting is on; each replaced form
// pairs malloc with free. The deletes are kept out of line: inlined where a new-expression's pointer is freed,
// gcc takes the free for a mismatched one.
void* operator new(std::size_t size) {
  if (file_trace_allocations::counting.load(std::memory_order_relaxed)) ++file_trace_allocations::made;
  if (void* p = std::malloc(size != 0 ? size : 1)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return ::operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return ::operator new(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return ::operator new(size, tag); }
[[gnu::noinline]] void operator delete(void* p) noexcept { std::free(p); }
[[gnu::noinline]] void operator delete[](void* p) noexcept { std::free(p); }
[[gnu::noinline]] void operator delete(void* p, std::size_t) noexcept { std::free(p); }
[[gnu::noinline]] void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
[[gnu::noinline]] void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
[[gnu::noinline]] void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
