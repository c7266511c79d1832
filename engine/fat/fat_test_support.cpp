#include "engine/fat/fat_test_support.h"

#include <array>
#include <memory>
#include <sstream>

#include "engine/fat/fat_chain.h"
#include "engine/fat/fat_directory.h"
#include "engine/fat/save_abort.h"
#include "engine/host/scan_host.h"
#include "engine/image/byte_order.h"
#include "engine/image/read_sectors.h"
#include "engine/records/scan_records.h"
#include "platform/os/os.h"

namespace fat_test {
namespace {

const std::u16string kVolumePath = u"\\\\.\\F:";

std::vector<uint8_t> ReadWholeFile(const std::u16string& path) {
  os::File file;
  uint64_t size = 0;
  if (!file.OpenRead(path) || !file.Size(&size)) {
    ADD_FAILURE() << "cannot open " << os::ToUtf8(path);
    return {};
  }
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  uint32_t got = 0;
  if (size > 0 && (!file.Read(bytes.data(), static_cast<uint32_t>(size), &got) || got != size)) {
    ADD_FAILURE() << "cannot read " << os::ToUtf8(path);
  }
  return bytes;
}

std::array<uint8_t, kSectorSize> Sector(uint64_t lba) {
  std::array<uint8_t, kSectorSize> sector{};
  EXPECT_EQ(ReadSectors(DevicePathTable[0], static_cast<uint32_t>(lba), static_cast<uint32_t>(lba >> 32), 1,
                        sector.data()),
            1u)
      << "sector " << lba;
  return sector;
}

// Hands the sectors to ParseFatDirectory as the folder's, skipping "." and ".." on the first of a subfolder;
// with joined, each with the folder's sectors before it.
void ParseSectors(const std::vector<uint64_t>& sectors, uint32_t folderId, uint32_t deleted, bool subfolder,
                  bool joined) {
  uint32_t ended = 0;
  FatSectorHistory history;
  for (size_t i = 0; i < sectors.size() && ended == 0; ++i) {
    const auto sector = Sector(sectors[i]);
    ParseFatDirectory(sector.data(), folderId, &ended, static_cast<uint32_t>(sectors[i]), deleted,
                      subfolder && i == 0 ? 2 : 0, joined ? history.Before() : FatSectorsBefore{});
    history.Keep(sector.data(), 1);
  }
}

uint32_t Number(const std::u16string& text) { return static_cast<uint32_t>(std::stoul(os::ToUtf8(text))); }

std::vector<std::pair<uint64_t, uint64_t>> Runs(const std::u16string& text) {
  std::vector<std::pair<uint64_t, uint64_t>> runs;
  if (text == u"-") return runs;
  for (const std::u16string& run : Split(text, u',')) {
    const std::vector<std::u16string> parts = Split(run, u'+');
    runs.emplace_back(Number(parts[0]), Number(parts[1]));
  }
  return runs;
}

}  // namespace

std::vector<std::u16string> Split(const std::u16string& text, char16_t separator) {
  std::vector<std::u16string> parts(1);
  for (char16_t c : text) {
    if (c == separator) {
      parts.emplace_back();
    } else {
      parts.back().push_back(c);
    }
  }
  return parts;
}

std::u16string ReadTextFile(const std::u16string& path) {
  const std::vector<uint8_t> bytes = ReadWholeFile(path);
  return os::FromUtf8(std::string(bytes.begin(), bytes.end()));
}

std::u16string SharedImage(const std::string& name) {
  return os::FromUtf8(DORVANE_SHARED_IMAGES) + u"\\" + os::FromUtf8(name);
}

MappedVolume::MappedVolume(const std::u16string& path) {
  os::MapVolumeForTesting(kVolumePath, path);
  SourceKind = kSourceLogicalDrive;
  CurrentDriveIndex = 0;
  opened_ = OpenVolumeHandle(u"F:") == 1;
}

MappedVolume::~MappedVolume() {
  VolumeHandle.Close();
  os::MapVolumeForTesting(kVolumePath, u"");
  SourceKind = kSourceNothing;
}

ScratchVolume::ScratchVolume(const std::vector<uint8_t>& bytes) : path_(os::ProcessTempPath(u"dorvane_fat_test") + u".bin") {
  os::File file;
  EXPECT_TRUE(file.OpenWrite(path_) && file.Write(bytes.data(), static_cast<uint32_t>(bytes.size())) && file.Close());
  volume_ = std::make_unique<MappedVolume>(path_);
}

ScratchVolume::~ScratchVolume() {
  volume_.reset();
  os::RemoveFile(path_);
}

void CleanScanState::Reset() {
  FreeScanRecordLists();
  ClusterList.Free();
  CurrentFileSystem = FileSystemRecord{};
  ScanRange = ScanRangeRecord{};
  ScanThreadControl.stopFlag = 0;
  ScanThreadControl.runningFlag = 0;
  SaveAbortFlag = 0;
  ShowScanProgress = 1;
}

bool LoadBootParameters() {
  const auto boot = Sector(0);
  if (boot[510] != 0x55 || boot[511] != 0xAA) return false;
  FileSystemRecord& fs = CurrentFileSystem;
  const uint32_t fat16Sectors = LoadLe16(&boot[22]);
  fs.type = fat16Sectors != 0 ? records::kFat16 : records::kFat32;
  fs.sectorsPerCluster = boot[13];
  fs.reservedSectors = LoadLe16(&boot[14]);
  fs.sectorsPerFat = fat16Sectors != 0 ? fat16Sectors : LoadLe32(&boot[36]);
  fs.firstFatSector = fs.reservedSectors;
  fs.secondFatSector = fs.firstFatSector + fs.sectorsPerFat;
  const uint32_t dataOrRoot = fs.secondFatSector + fs.sectorsPerFat;
  if (fs.type == records::kFat16) {
    fs.rootDirectorySectors = LoadLe16(&boot[17]) / 16u;
    fs.rootDirectory = dataOrRoot;
    fs.clusterBase = dataOrRoot + fs.rootDirectorySectors - 2 * fs.sectorsPerCluster;
  } else {
    fs.rootDirectory = LoadLe32(&boot[44]);
    fs.clusterBase = dataOrRoot - 2 * fs.sectorsPerCluster;
  }
  const uint32_t total16 = LoadLe16(&boot[19]);
  ScanRange.fileSystemCode = fs.type;
  ScanRange.sectorCount = total16 != 0 ? total16 : LoadLe32(&boot[32]);
  ScanRange.endSector = ScanRange.sectorCount - 1;
  return fs.sectorsPerCluster != 0;
}

std::vector<uint64_t> ChainSectors() {
  std::vector<uint64_t> sectors;
  const FileSystemRecord& fs = CurrentFileSystem;
  for (const ClusterNode& node : ClusterList) {
    for (uint32_t j = 0; j < fs.sectorsPerCluster; ++j) {
      sectors.push_back(fs.clusterBase + uint64_t{node.cluster} * fs.sectorsPerCluster + j);
    }
  }
  return sectors;
}

void ReadFolderTree(bool joined) {
  const FileSystemRecord& fs = CurrentFileSystem;
  if (fs.type == records::kFat16) {
    std::vector<uint64_t> root;
    for (uint32_t i = 0; i < fs.rootDirectorySectors; ++i) root.push_back(fs.rootDirectory + i);
    ParseSectors(root, records::kFatRootId, 0, false, joined);
  } else {
    ReadClusterChain(fs.rootDirectory, 0xFFFFFFFF, 1);
    ParseSectors(ChainSectors(), records::kFatRootId, 0, false, joined);
  }
  // ParseFatDirectory appends to the list while it is walked: by index, each folder once.
  for (size_t i = 0; i < FatFolderList.size(); ++i) {
    const uint32_t cluster = FatFolderList[i].firstCluster;
    const uint32_t deleted = FatFolderList[i].deleted;
    ReadClusterChain(cluster, 0xFFFFFFFF, 1);
    ParseSectors(ChainSectors(), cluster, deleted, true, joined);
  }
}

std::vector<ExpectedEntry> ExpectedEntries(const std::string& image) {
  std::vector<ExpectedEntry> out;
  for (const std::u16string& line : Split(ReadTextFile(os::FromUtf8(DORVANE_FAT_EXPECTED)), u'\n')) {
    const std::vector<std::u16string> fields = Split(line, u'\t');
    if (fields.size() != 6 || os::ToUtf8(fields[0]) != image) continue;
    ExpectedEntry entry;
    entry.folder = fields[1] == u"D";
    entry.deleted = Number(fields[2]);
    entry.size = Number(fields[3]);
    entry.runs = Runs(fields[4]);
    for (const std::u16string& part : Split(fields[5], u'/')) {
      entry.path.emplace_back(static_cast<char>(part.at(0)), part.substr(1));
    }
    out.push_back(std::move(entry));
  }
  EXPECT_FALSE(out.empty()) << "nothing expected of " << image;
  return out;
}

}  // namespace fat_test
