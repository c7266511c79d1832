#include "engine/partitions/partition_test_fixture.h"

#include <algorithm>
#include <sstream>

#include "engine/records/scan_control.h"
#include "platform/os/os.h"

namespace partition_test {

std::string TableText(bool sorted) {
  std::vector<PartitionEntry> entries(PartitionTable, PartitionTable + PartitionsInUse());
  if (sorted) {
    std::sort(entries.begin(), entries.end(),
              [](const PartitionEntry& a, const PartitionEntry& b) { return a.firstSector < b.firstSector; });
  }
  std::string text;
  for (const PartitionEntry& e : entries) {
    if (!text.empty()) text += ' ';
    text += std::to_string(e.firstSector) + ":" + std::to_string(e.sectorCount) + ":" +
            std::to_string(e.fileSystemCode);
  }
  return text;
}

std::u16string SharedImage(const std::string& name) {
  return os::FromUtf8(DORVANE_SHARED_IMAGES) + u"\\" + os::FromUtf8(name);
}

std::vector<OracleLine> OracleLines(const std::string& kind, const std::string& path) {
  os::File file;
  uint64_t size = 0;
  uint32_t got = 0;
  std::string text;
  if (file.OpenRead(os::FromUtf8(path)) && file.Size(&size)) {
    text.resize(size);
    if (!file.Read(text.data(), static_cast<uint32_t>(size), &got)) text.clear();
  }
  std::vector<OracleLine> out;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream words(line);
    std::string what;
    OracleLine entry;
    words >> what >> entry.image;
    if (what != kind) continue;
    if (kind == "search") words >> entry.geometry.cylinders >> entry.geometry.heads >> entry.geometry.sectorsPerTrack;
    std::string item;
    while (words >> item) entry.expected += (entry.expected.empty() ? "" : " ") + item;
    out.push_back(entry);
  }
  EXPECT_FALSE(out.empty()) << "no " << kind << " lines in " << path;
  return out;
}

PartitionTest::PartitionTest() {
  for (PartitionEntry& entry : PartitionTable) entry = {};
  PartitionCount = 0;
  PartitionSearchWanted = 0;
  ScanThreadControl.stopFlag = 0;
  ScanThreadControl.runningFlag = 1;
  hosts.firstDisplay = &panel;
  hosts.sourceTree = &tree;
  hosts.partitionChoice = &choice;
  hosts.diskTable = &diskTable;
  installed = std::make_unique<host::ScopedHosts>(hosts);
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  tempPath = os::TempFolderPath() + u"dorvane_partitions_" + os::FromUtf8(info->test_suite_name()) + u"_" +
             os::FromUtf8(info->name()) + u".vhd";
}

PartitionTest::~PartitionTest() {
  current.reset();
  if (os::FileExists(tempPath)) os::RemoveFile(tempPath);
}

void PartitionTest::UseDisk(const DiskBytes& disk, const host::DiskGeometry& geometry) {
  current.reset();
  ASSERT_TRUE(WriteFixedVhd(tempPath, disk.bytes().data(), disk.bytes().size(), geometry));
  diskTable.geometry = geometry;
  UseImage(tempPath);
}

void PartitionTest::UseImage(const std::u16string& path) {
  current.reset();
  current = std::make_unique<CurrentDisk>(path);
  ASSERT_TRUE(current->opened()) << os::ToUtf8(path);
}

}  // namespace partition_test
