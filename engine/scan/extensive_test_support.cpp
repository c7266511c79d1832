#include "engine/scan/extensive_test_support.h"

#include <algorithm>
#include <sstream>
#include <thread>

#include "engine/host/file_system_tree_fakes.h"
#include "engine/image/source_values.h"
#include "engine/records/extensive_lists.h"
#include "engine/records/recovery_settings.h"
#include "engine/records/scan_records.h"
#include "engine/scan/extensive_scan.h"
#include "platform/os/os.h"

namespace extensive_test {

namespace {

const std::u16string kDrivePath = u"\\\\.\\F:";

std::string Folder(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::u16string InFolder(const std::string& folder, const std::string& name) { return os::FromUtf8(folder + "/" + name); }

std::string RawName(const std::string& image) {
  const std::string suffix = ".fixed.vhd";
  return image.size() > suffix.size() ? image.substr(0, image.size() - suffix.size()) + ".raw" : image;
}

bool ReadWhole(os::File& file, uint8_t* out, uint32_t length) {
  uint32_t got = 0;
  return file.Read(out, length, &got) && got == length;
}

}  // namespace

std::ostream& operator<<(std::ostream& out, const Found& f) {
  return out << f.number << " " << f.type << " '" << f.label << "' " << f.first << " " << f.last;
}

std::u16string Case::ImagePath() const {
  return own ? OwnDisk(image) : InFolder(DORVANE_SHARED_IMAGES, image);
}

std::u16string Case::RawPath() const {
  return own ? OwnDisk(RawName(image)) : InFolder(DORVANE_SHARED_IMAGES, RawName(image));
}

std::u16string OwnDisk(const std::string& name) { return InFolder(Folder(DORVANE_EXTENSIVE_EXPECTED), name); }

std::vector<Case> ReadCases() {
  os::File file;
  uint64_t size = 0;
  std::string text;
  if (file.OpenRead(os::FromUtf8(DORVANE_EXTENSIVE_EXPECTED)) && file.Size(&size) && size < (1u << 20)) {
    text.resize(static_cast<size_t>(size));
    if (!ReadWhole(file, reinterpret_cast<uint8_t*>(text.data()), static_cast<uint32_t>(size))) text.clear();
  }
  std::vector<Case> cases;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    std::vector<std::string> cells;
    std::istringstream cellText(line);
    for (std::string cell; std::getline(cellText, cell, '\t');) cells.push_back(cell);
    if (cells.size() == 5 && cells[0] == "#case") {
      Case c;
      c.image = cells[1];
      c.code = static_cast<uint16_t>(std::stoul(cells[2]));
      c.sectors = static_cast<uint32_t>(std::stoul(cells[3]));
      c.own = cells[4] == "own";
      cases.push_back(c);
    } else if (cells.size() == 7 && !cases.empty()) {
      cases.back().found.push_back({static_cast<uint32_t>(std::stoul(cells[2])),
                                    static_cast<uint16_t>(std::stoul(cells[3])), cells[4],
                                    static_cast<uint32_t>(std::stoul(cells[5])),
                                    static_cast<uint32_t>(std::stoul(cells[6]))});
    }
  }
  EXPECT_FALSE(cases.empty()) << "no cases in " << DORVANE_EXTENSIVE_EXPECTED;
  return cases;
}

Case FindCase(const std::string& image, uint16_t code) {
  for (const Case& c : ReadCases()) {
    if (c.image == image && c.code == code) return c;
  }
  ADD_FAILURE() << "no case " << image << " " << code;
  return Case{};
}

void HookedPanel::SetRowValue(host::SecondDisplayRow row, const std::u16string& text) {
  RecordingSecondDisplay::SetRowValue(row, text);
  if (onRow) onRow(row, text);
}

void HookedPage::ShowStopButton() {
  RecordingScanPage::ShowStopButton();
  if (onShowStop) onShowStop();
}

ExtensiveTest::ExtensiveTest() {
  ResetScanState();
  SourceKind = kSourceNothing;
  CurrentDriveIndex = 0;
  host::Hosts hosts;
  hosts.messages = &messages;
  hosts.secondDisplay = &panel;
  hosts.scanPage = &page;
  hosts.fileSystemTree = &tree;
  installed_ = std::make_unique<host::ScopedHosts>(hosts);
}

ExtensiveTest::~ExtensiveTest() {
  installed_.reset();
  ResetScanState();
  SourceKind = kSourceNothing;
}

void ExtensiveTest::ResetScanState() {
  FreeExtensiveScanLists();
  FreeScanRecordLists();
  ScanCounters = ScanCountersRecord{};
  ExtensiveCounters = ExtensiveCountersRecord{};
  ScanRange = ScanRangeRecord{};
  RecoverySettings = RecoverySettingsRecord{};
  RecoveryMode = records::kExtensiveScan;
  ScanThreadControl.stopFlag = 0;
  ScanThreadControl.runningFlag = 0;
  BootSectorPassDone = 0;
  WithoutBootPassDone = 0;
  ShowScanProgress = 1;
}

void ExtensiveTest::SetRange(uint16_t code, uint32_t start, uint32_t count, uint32_t sectorsPerRead) {
  ScanRange.fileSystemCode = code;
  ScanRange.startSector = start;
  ScanRange.sectorCount = count;
  ScanRange.endSector = start + count;
  RecoverySettings.sectorsPerRead = sectorsPerRead;
}

void ExtensiveTest::RunWorker() {
  ScanThreadControl.stopFlag = 0;
  ScanThreadControl.runningFlag = 1;
  FreeExtensiveScanLists();
  std::thread worker([] { ExtensiveScanThread(); });
  worker.join();
}

void ExtensiveTest::ExpectEnded() {
  EXPECT_EQ(ScanThreadControl.runningFlag.load(), 0u);
  EXPECT_EQ(ScanThreadControl.stopFlag.load(), 1u);
  EXPECT_EQ(BootSectorPassDone.load(), 1u);
  EXPECT_EQ(WithoutBootPassDone.load(), 1u);
}

std::vector<Found> ExtensiveTest::FoundNow() const {
  std::vector<Found> found;
  for (size_t i = 0; i < FoundFileSystemList.size(); ++i) {
    const FileSystemRecord& fs = FoundFileSystemList[i];
    const host::RecordingFileSystemTree::Node* node = tree.Find(fs.id);
    found.push_back({static_cast<uint32_t>(i + 1), fs.type, node ? os::ToUtf8(node->text) : std::string(),
                     fs.clusterBase, fs.lastSector});
  }
  return found;
}

OpenedDisk::OpenedDisk(const std::u16string& path) {
  image_.CreateReader(kImageVhd);
  opened_ = image_.Open(path) == 1;
  EXPECT_TRUE(opened_) << os::ToUtf8(path);
  ImageFormat = 0;
  SourceKind = kSourceDisk;
  SetCurrentDiskImage(&image_);
}

OpenedDisk::~OpenedDisk() {
  SetCurrentDiskImage(nullptr);
  SourceKind = kSourceNothing;
}

MappedDrive::MappedDrive(const Bytes& bytes) : path_(os::ProcessTempPath(u"dorvane_extensive_drive") + u".bin") {
  os::File file;
  EXPECT_TRUE(file.OpenWrite(path_) && file.Write(bytes.data(), static_cast<uint32_t>(bytes.size())) && file.Close());
  os::MapVolumeForTesting(kDrivePath, path_);
  EXPECT_EQ(OpenVolumeHandle(u"F:"), 1u);
  SourceKind = kSourceLogicalDrive;
}

MappedDrive::~MappedDrive() {
  VolumeHandle.Close();
  os::MapVolumeForTesting(kDrivePath, u"");
  SourceKind = kSourceNothing;
  os::RemoveFile(path_);
}

bool ForEachRawSector(const std::u16string& path, const std::function<void(uint32_t, const uint8_t*)>& visit) {
  constexpr uint32_t kChunk = 1 << 20;
  os::File file;
  uint64_t size = 0;
  if (!file.OpenRead(path) || !file.Size(&size) || size % 512 != 0) return false;
  Bytes chunk(kChunk);
  for (uint64_t at = 0; at < size; at += kChunk) {
    const uint32_t length = static_cast<uint32_t>(std::min<uint64_t>(kChunk, size - at));
    if (!ReadWhole(file, chunk.data(), length)) return false;
    for (uint32_t s = 0; s < length / 512; ++s) visit(static_cast<uint32_t>(at / 512 + s), chunk.data() + s * 512u);
  }
  return true;
}

void PutLe16(Bytes& bytes, size_t at, uint16_t value) {
  bytes[at] = static_cast<uint8_t>(value);
  bytes[at + 1] = static_cast<uint8_t>(value >> 8);
}

void PutLe32(Bytes& bytes, size_t at, uint32_t value) {
  PutLe16(bytes, at, static_cast<uint16_t>(value));
  PutLe16(bytes, at + 2, static_cast<uint16_t>(value >> 16));
}

}  // namespace extensive_test
