// The FAT test volumes read as a scan reads them, compared with what TSK lists on them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <tuple>
#include <vector>

#include "engine/fat/fat_chain.h"
#include "engine/fat/fat_directory.h"
#include "engine/fat/fat_test_support.h"
#include "engine/image/read_sectors.h"
#include "engine/records/scan_records.h"
#include "platform/os/os.h"

namespace {

using Runs = std::vector<std::pair<uint64_t, uint64_t>>;

struct Listed {
  bool folder = false;
  uint32_t deleted = 0;
  uint32_t size = 0;
  uint32_t firstCluster = 0;
  std::vector<std::u16string> path;
  bool paired = false;
};

std::vector<std::u16string> FolderPath(uint32_t id) {
  std::vector<std::u16string> path;
  for (int depth = 0; id != records::kFatRootId && depth < 64; ++depth) {
    const FatFolderRecord* folder = FindFatFolder(id);
    if (folder == nullptr) {
      path.insert(path.begin(), u"?");
      break;
    }
    path.insert(path.begin(), folder->name);
    id = folder->parentId;
  }
  return path;
}

std::vector<Listed> Listing() {
  std::vector<Listed> out;
  for (const FatFolderRecord& f : FatFolderList) out.push_back({true, f.deleted, 0, f.firstCluster, FolderPath(f.firstCluster)});
  for (const FatEntryRecord& e : FatEntryList) {
    Listed file{false, e.deleted, e.size, e.firstCluster, FolderPath(e.parentId)};
    file.path.push_back(e.name);
    out.push_back(std::move(file));
  }
  return out;
}

// Whether a name we list is the one TSK lists, by the rule fat_oracle.py gives it; joined: the directory
// was parsed with each sector's predecessor, so long names across sectors are whole.
bool NameMatches(char rule, const std::u16string& tsk, const std::u16string& ours, bool joined) {
  switch (rule) {
    case '=':
      return ours == tsk;
    case '~':  // both read the case flags
      return ours == tsk;
    case 'x':
      return ours == u"x" + tsk.substr(1);
    case 's':  // one sector at a time: the short name, such as ENTRY0~1.TXT
      if (joined) return ours == tsk;
      return ours != tsk && ours.size() <= 12 && ours.find(u'~') != std::u16string::npos;
    default:
      return false;
  }
}

bool PathMatches(const fat_test::ExpectedEntry& expected, const Listed& ours, bool joined) {
  if (expected.folder != ours.folder || expected.path.size() != ours.path.size()) return false;
  for (size_t i = 0; i < ours.path.size(); ++i) {
    if (!NameMatches(expected.path[i].first, expected.path[i].second, ours.path[i], joined)) return false;
  }
  return true;
}

std::string Text(const std::vector<std::u16string>& path) {
  std::string text;
  for (const std::u16string& part : path) text += "/" + os::ToUtf8(part);
  return text;
}

std::string Text(const fat_test::ExpectedEntry& expected) {
  std::string text;
  for (const auto& part : expected.path) text += "/" + os::ToUtf8(part.second);
  return text;
}

Listed* Pair(std::vector<Listed>& listing, const fat_test::ExpectedEntry& expected, bool joined) {
  for (Listed& ours : listing) {
    if (!ours.paired && PathMatches(expected, ours, joined)) return &ours;
  }
  return nullptr;
}

// The sectors of ClusterList as runs, cut after `sectors` sectors.
Runs ChainRuns(uint64_t sectors) {
  Runs runs;
  for (uint64_t sector : fat_test::ChainSectors()) {
    if (sectors-- == 0) break;
    if (!runs.empty() && runs.back().first + runs.back().second == sector) {
      ++runs.back().second;
    } else {
      runs.emplace_back(sector, 1);
    }
  }
  return runs;
}

// Each volume read one directory sector at a time, and with each sector's predecessor (joined).
class FatVolumeTest : public ::testing::TestWithParam<std::tuple<std::string, bool>> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(volume_.opened()) << Image();
    ASSERT_TRUE(fat_test::LoadBootParameters());
    fat_test::ReadFolderTree(Joined());
  }

  static std::string Image() { return std::get<0>(GetParam()); }
  static bool Joined() { return std::get<1>(GetParam()); }
  uint32_t ClusterBytes() const { return CurrentFileSystem.sectorsPerCluster * 512; }
  Listed* PairWith(std::vector<Listed>& listing, const fat_test::ExpectedEntry& expected) {
    return Pair(listing, expected, Joined());
  }

  fat_test::CleanScanState clean_;
  fat_test::MappedVolume volume_{fat_test::SharedImage(Image())};
};

TEST_P(FatVolumeTest, ListsWhatTskListsWithTheDeletedMarks) {
  std::vector<Listed> listing = Listing();
  uint64_t bytes = 0;
  for (const fat_test::ExpectedEntry& expected : fat_test::ExpectedEntries(Image())) {
    Listed* ours = PairWith(listing, expected);
    if (ours == nullptr) {
      ADD_FAILURE() << "not listed: " << Text(expected);
      continue;
    }
    ours->paired = true;
    EXPECT_EQ(ours->deleted, expected.deleted) << Text(expected);
    if (!expected.folder) {
      EXPECT_EQ(ours->size, expected.size) << Text(expected);
      bytes += expected.size;
    }
  }
  for (const Listed& ours : listing) EXPECT_TRUE(ours.paired) << "TSK does not list " << Text(ours.path);
  EXPECT_EQ(ScanCounters.folderCount, FatFolderList.size());
  EXPECT_EQ(ScanCounters.entryCount, FatEntryList.size());
  EXPECT_EQ(ScanCounters.totalBytes, bytes);
}

TEST_P(FatVolumeTest, ChainsOfLiveEntriesHoldWhatTskPlacesThere) {
  std::vector<Listed> listing = Listing();
  size_t compared = 0;
  for (const fat_test::ExpectedEntry& expected : fat_test::ExpectedEntries(Image())) {
    Listed* ours = PairWith(listing, expected);
    // An empty file has no chain.
    if (ours == nullptr || expected.deleted != 0 || (!expected.folder && expected.size == 0)) continue;
    ours->paired = true;
    const uint32_t clusters = (expected.size + ClusterBytes() - 1) / ClusterBytes();
    const uint64_t sectors = expected.folder ? ~uint64_t{0} : (expected.size + 511) / 512;
    for (uint32_t copy : {1u, 2u}) {
      ReadClusterChain(ours->firstCluster, clusters, copy);
      EXPECT_EQ(ClusterList.size(), clusters) << Text(expected) << " through table " << copy;
      EXPECT_EQ(ChainRuns(sectors), expected.runs) << Text(expected) << " through table " << copy;
    }
    ++compared;
  }
  EXPECT_GT(compared, 20u);
}

TEST_P(FatVolumeTest, TakesTheTwentySixCharacterNameFromExactlyTwoPieces) {
  // The root folder's sectors, where the name lies.
  std::vector<uint64_t> root;
  if (CurrentFileSystem.type == records::kFat16) {
    for (uint32_t i = 0; i < CurrentFileSystem.rootDirectorySectors; ++i) root.push_back(CurrentFileSystem.rootDirectory + i);
  } else {
    ReadClusterChain(CurrentFileSystem.rootDirectory, 0xFFFFFFFF, 1);
    root = fat_test::ChainSectors();
  }
  const std::u16string name = u"Twenty six characters.text";
  int found = 0;
  for (uint64_t lba : root) {
    uint8_t sector[512] = {};
    ASSERT_EQ(ReadSectors(DevicePathTable[0], static_cast<uint32_t>(lba), 0, 1, sector), 1u);
    for (uint32_t offset = 64; offset < 512; offset += 32) {
      std::u16string longName;
      if (sector[offset] == 0 || sector[offset + 11] == kFatLongNameAttribute ||
          AssembleLongName(sector, longName, offset) != 0 || longName != name) {
        continue;
      }
      ++found;
      EXPECT_EQ(sector[offset - 32 + 11], kFatLongNameAttribute);
      EXPECT_EQ(sector[offset - 64 + 11], kFatLongNameAttribute);
      if (offset >= 96) {
        EXPECT_NE(sector[offset - 96 + 11], kFatLongNameAttribute) << "more than two pieces";
      }
      EXPECT_NE(sector[offset - 64 + 30] | sector[offset - 64 + 31], 0) << "the name has a terminator";
    }
  }
  EXPECT_EQ(found, 1);
  EXPECT_EQ(std::count_if(FatEntryList.begin(), FatEntryList.end(), [&](const FatEntryRecord& e) { return e.name == name; }), 1);
}

INSTANTIATE_TEST_SUITE_P(Volumes, FatVolumeTest,
                         ::testing::Combine(::testing::Values("fat16.raw", "fat32.raw", "fat32_512.raw"),
                                            ::testing::Bool()),
                         [](const auto& info) {
                           std::string name = std::get<0>(info.param);
                           for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                           return name + (std::get<1>(info.param) ? "_joined" : "_by_sector");
                         });

// A folder whose chain is longer than a hundred clusters: the lost-data reader stops at 100, the chain
// reader follows it to its end.
TEST(FatLongFolderTest, LostChainStopsAtAHundredClustersWholeChainGoesOn) {
  fat_test::CleanScanState clean;
  fat_test::MappedVolume volume(fat_test::SharedImage("fat32_512.raw"));
  ASSERT_TRUE(volume.opened());
  ASSERT_TRUE(fat_test::LoadBootParameters());
  fat_test::ReadFolderTree(false);
  const auto many = std::find_if(FatFolderList.begin(), FatFolderList.end(),
                                 [](const FatFolderRecord& f) { return f.name == u"Many entries"; });
  ASSERT_NE(many, FatFolderList.end());
  uint32_t expectedClusters = 0;
  for (const fat_test::ExpectedEntry& e : fat_test::ExpectedEntries("fat32_512.raw")) {
    if (e.folder && e.path.size() == 1 && e.path[0].second == u"Many entries") expectedClusters = e.size / 512;
  }
  ASSERT_GT(expectedClusters, kLostChainClusters);
  ReadLostClusterChain(many->firstCluster);
  EXPECT_EQ(ClusterList.size(), kLostChainClusters);
  ReadClusterChain(many->firstCluster, 0xFFFFFFFF, 1);
  EXPECT_EQ(ClusterList.size(), expectedClusters);
}

}  // namespace
