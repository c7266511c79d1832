// Cluster chains through small allocation tables written into a scratch volume: end marks of FAT16 and
// FAT32, loops, clusters outside the table, the limits and the abort flag.
#include "engine/fat/fat_chain.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "engine/fat/fat_folder_chain.h"
#include "engine/fat/fat_test_support.h"
#include "engine/fat/save_abort.h"
#include "engine/image/source_values.h"
#include "engine/records/scan_records.h"

namespace {

constexpr uint32_t kFatSectors = 16;  // the least a FAT16 table has (fewer sectors hold a FAT12 table)
constexpr uint32_t kFirstFat = 1;
constexpr uint32_t kSecondFat = kFirstFat + kFatSectors;

// A volume of a boot sector and two allocation tables of kFatSectors sectors each.
class FatTables {
 public:
  explicit FatTables(uint16_t code) : bytes_((1 + 2 * kFatSectors) * 512), fat32_(code == records::kFat32) {
    CurrentFileSystem.type = code;
    CurrentFileSystem.sectorsPerFat = kFatSectors;
    CurrentFileSystem.firstFatSector = kFirstFat;
    CurrentFileSystem.secondFatSector = kSecondFat;
  }

  uint32_t Entries() const { return kFatSectors * 512 / (fat32_ ? 4 : 2); }

  // Sets the entry of cluster in table copy (1 or 2).
  FatTables& Set(uint32_t cluster, uint32_t value, uint32_t copy = 1) {
    const uint32_t width = fat32_ ? 4 : 2;
    uint8_t* at = bytes_.data() + (copy == 1 ? kFirstFat : kSecondFat) * 512 + cluster * width;
    for (uint32_t i = 0; i < width; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
    return *this;
  }

  // The chain first -> first + 1 -> ... -> last, ended by end.
  FatTables& Run(uint32_t first, uint32_t last, uint32_t end, uint32_t copy = 1) {
    for (uint32_t c = first; c < last; ++c) Set(c, c + 1, copy);
    return Set(last, end, copy);
  }

  // Reads the tables as the current source.
  void Open() {
    volume_ = std::make_unique<fat_test::ScratchVolume>(bytes_);
    ASSERT_TRUE(volume_->opened());
  }

 private:
  std::vector<uint8_t> bytes_;
  bool fat32_;
  std::unique_ptr<fat_test::ScratchVolume> volume_;
};

std::vector<uint32_t> Chain() {
  std::vector<uint32_t> clusters;
  for (const ClusterNode& node : ClusterList) clusters.push_back(node.cluster);
  return clusters;
}

std::vector<uint32_t> Clusters(uint32_t first, uint32_t last) {
  std::vector<uint32_t> clusters;
  for (uint32_t c = first; c <= last; ++c) clusters.push_back(c);
  return clusters;
}

class FatChainTest : public ::testing::Test {
 protected:
  fat_test::CleanScanState clean_;
};

TEST_F(FatChainTest, Fat16ChainsEndAtEveryEndMarkAndAtFreeOrReservedValues) {
  FatTables fat(records::kFat16);
  fat.Run(2, 4, 0xFFFF).Run(10, 12, 0xFFF8).Run(20, 21, 0xFFFA).Run(30, 31, 0x0000).Run(40, 41, 0x0001);
  fat.Run(250, 260, 0xFFFF);  // across the table's two sectors
  fat.Open();
  const struct {
    uint32_t first;
    std::vector<uint32_t> chain;
  } cases[] = {
      {2, Clusters(2, 4)}, {10, Clusters(10, 12)}, {20, Clusters(20, 21)},
      {30, Clusters(30, 31)}, {40, Clusters(40, 41)}, {250, Clusters(250, 260)},
  };
  for (const auto& c : cases) {
    ReadClusterChain(c.first, 1000, 1);
    EXPECT_EQ(Chain(), c.chain) << c.first;
  }
}

TEST_F(FatChainTest, Fat32ChainsEndAtEveryEndMarkAndEntriesAreNotMasked) {
  FatTables fat(records::kFat32);
  fat.Run(2, 4, 0x0FFFFFFF).Run(10, 12, 0x0FFFFFF8).Run(20, 21, 0xF0000005);
  fat.Set(30, 0x0FFFFFF7);  // the bad-cluster mark lies outside the table
  fat.Open();
  ReadClusterChain(2, 1000, 1);
  EXPECT_EQ(Chain(), Clusters(2, 4));
  ReadClusterChain(10, 1000, 1);
  EXPECT_EQ(Chain(), Clusters(10, 12));
  ReadClusterChain(20, 1000, 1);  // the top bits make it an end mark
  EXPECT_EQ(Chain(), Clusters(20, 21));
  ReadClusterChain(30, 1000, 1);
  EXPECT_EQ(Chain(), std::vector<uint32_t>{30});
}

TEST_F(FatChainTest, LoopsEndBeforeTheFirstClusterSeenAgain) {
  FatTables fat(records::kFat16);
  fat.Run(2, 4, 2);        // back to the start
  fat.Set(5, 5);           // onto itself
  fat.Run(10, 200, 150);   // a long tail, then round the last fifty
  fat.Run(300, 302, 301);  // round the last two
  fat.Open();
  for (uint32_t wanted : {0xFFFFFFFFu, 1000u, 195u, 5u}) {
    ReadClusterChain(2, wanted, 1);
    EXPECT_EQ(Chain(), Clusters(2, static_cast<uint32_t>(std::min<uint64_t>(4, 2ull + wanted)))) << wanted;
    ReadClusterChain(5, wanted, 1);
    EXPECT_EQ(Chain(), std::vector<uint32_t>{5}) << wanted;
    ReadClusterChain(10, wanted, 1);
    EXPECT_EQ(Chain(), Clusters(10, static_cast<uint32_t>(std::min<uint64_t>(200, 10ull + wanted)))) << wanted;
    ReadClusterChain(300, wanted, 1);
    EXPECT_EQ(Chain(), Clusters(300, 302)) << wanted;
  }
  ReadLostClusterChain(2);
  EXPECT_EQ(Chain(), Clusters(2, 4));
  ReadLostClusterChain(300);
  EXPECT_EQ(Chain(), Clusters(300, 302));
}

TEST_F(FatChainTest, ClustersOutsideTheTableEndTheChain) {
  FatTables fat(records::kFat16);
  const uint32_t outside = fat.Entries();  // 512
  fat.Run(2, 3, outside).Run(10, 11, 0xFFF7);
  fat.Open();
  ReadClusterChain(2, 1000, 1);
  EXPECT_EQ(Chain(), Clusters(2, 3));
  ReadClusterChain(10, 1000, 1);
  EXPECT_EQ(Chain(), Clusters(10, 11));
  ReadClusterChain(outside + 7, 1000, 1);  // listed as asked, but not followed
  EXPECT_EQ(Chain(), std::vector<uint32_t>{outside + 7});
}

TEST_F(FatChainTest, ATableOfUnknownLengthReachesAsFarAsItsEntriesCanCount) {
  FatTables fat(records::kFat16);
  fat.Run(2, 4, 0xFFFF);
  CurrentFileSystem.sectorsPerFat = 0;
  fat.Open();
  ReadClusterChain(2, 1000, 1);
  EXPECT_EQ(Chain(), Clusters(2, 4));
}

TEST_F(FatChainTest, AtMostWantedPlusOneClusters) {
  FatTables fat(records::kFat16);
  fat.Run(2, 100, 0xFFFF);
  fat.Open();
  ReadClusterChain(2, 3, 1);
  EXPECT_EQ(Chain(), Clusters(2, 5));
  ReadClusterChain(2, 0, 1);
  EXPECT_EQ(Chain(), std::vector<uint32_t>{2});
  ReadClusterChain(2, 99, 1);  // exactly the chain
  EXPECT_EQ(Chain(), Clusters(2, 100));
}

TEST_F(FatChainTest, TheCopyDecidesTheTableAndAnUnknownCopyIsNotWalked) {
  FatTables fat(records::kFat16);
  fat.Run(2, 4, 0xFFFF, 1).Run(2, 6, 0xFFFF, 2);
  fat.Open();
  ReadClusterChain(2, 1000, 1);
  EXPECT_EQ(Chain(), Clusters(2, 4));
  ReadClusterChain(2, 1000, 2);
  EXPECT_EQ(Chain(), Clusters(2, 6));
  ReadClusterChain(2, 1000, 3);
  EXPECT_EQ(Chain(), std::vector<uint32_t>{2});
  CurrentFileSystem.secondFatSector = 0;  // a copy at sector 0 is not known
  ReadClusterChain(2, 1000, 2);
  EXPECT_EQ(Chain(), std::vector<uint32_t>{2});
}

TEST_F(FatChainTest, SaveAbortStopsTheSaversWalkButNotTheLostDataWalk) {
  FatTables fat(records::kFat16);
  fat.Run(2, 150, 0xFFFF);
  fat.Open();
  SaveAbortFlag = 1;
  ReadClusterChain(2, 1000, 1);
  EXPECT_EQ(Chain(), std::vector<uint32_t>{2});
  ReadLostClusterChain(2);
  EXPECT_EQ(Chain(), Clusters(2, 2 + kLostChainClusters - 1));
  SaveAbortFlag = 0;
  ReadClusterChain(2, 1000, 1);
  EXPECT_EQ(Chain(), Clusters(2, 150));
}

TEST_F(FatChainTest, AnUnreadableTableEndsTheChainAndTheListIsEmptiedFirst) {
  FatTables fat(records::kFat16);
  CurrentFileSystem.type = records::kFat16;
  AppendCluster(77);
  AppendCluster(78);
  SourceKind = kSourceNothing;  // no source: every read fails
  ReadClusterChain(2, 1000, 1);
  EXPECT_EQ(Chain(), std::vector<uint32_t>{2});
  ReadLostClusterChain(9);
  EXPECT_EQ(Chain(), std::vector<uint32_t>{9});
}

// A folder's walk as a scan makes it: every cluster given is taken (claimed).
std::vector<uint32_t> Walk(FatFolderChain& chain, FatClusterClaims& claims) {
  std::vector<uint32_t> clusters;
  uint32_t cluster = 0;
  while (chain.Next(&cluster)) {
    clusters.push_back(cluster);
    claims.Claim(cluster);
  }
  return clusters;
}

// A cluster two live folders' chains reach is read for both, while the clusters read twice are fewer than those
// read once; a deleted folder's walk ends before it.
TEST_F(FatChainTest, ClaimedClustersAreReadAgainForLiveFoldersWithinTheAllowance) {
  FatTables fat(records::kFat16);
  fat.Run(10, 14, 0xFFFF, 1).Run(10, 14, 0xFFFF, 2);   // B: 10 .. 14, five clusters
  for (uint32_t copy = 1; copy <= 2; ++copy) {
    for (uint32_t folder = 2; folder <= 5; ++folder) fat.Set(folder, 11, copy);  // folders 2 .. 5 run on into B
  }
  fat.Open();
  FatClusterClaims claims;
  FatFolderChain b(10, true, claims);
  EXPECT_EQ(Walk(b, claims), Clusters(10, 14));
  FatFolderChain deleted(4, false, claims);
  EXPECT_EQ(Walk(deleted, claims), std::vector<uint32_t>{4});
  FatFolderChain a(2, true, claims);  // 7 read once, then 4 again
  EXPECT_EQ(Walk(a, claims), (std::vector<uint32_t>{2, 11, 12, 13, 14}));
  FatFolderChain c(3, true, claims);  // 8 read once, 8 again
  EXPECT_EQ(Walk(c, claims), (std::vector<uint32_t>{3, 11, 12, 13, 14}));
  FatFolderChain d(5, true, claims);  // 9 read once: one more
  EXPECT_EQ(Walk(d, claims), (std::vector<uint32_t>{5, 11}));
}

}  // namespace

namespace {

// A FAT12 table (three sectors, as a volume of fewer than 4085 clusters has): entries a byte and a half each,
// cluster 341's across the first sector's end, written as the format packs them.
TEST_F(FatChainTest, Fat12TablesAreReadAByteAndAHalfAnEntry) {
  constexpr uint32_t kSectors = 3;
  std::vector<uint8_t> bytes((1 + 2 * kSectors) * 512, 0);
  const auto set = [&](uint32_t cluster, uint32_t value) {
    uint8_t* at = bytes.data() + 512 + cluster * 3 / 2;
    const uint32_t pair = at[0] | at[1] << 8;
    const uint32_t packed = cluster % 2 == 0 ? (pair & 0xF000) | value : (pair & 0x000F) | value << 4;
    at[0] = static_cast<uint8_t>(packed);
    at[1] = static_cast<uint8_t>(packed >> 8);
  };
  // 338 -> 341 -> 342 -> 700 -> 5 -> end; 6 -> 0xFF7 (bad cluster: ends it).
  for (const auto& [cluster, next] : std::vector<std::pair<uint32_t, uint32_t>>{
           {338, 341}, {341, 342}, {342, 700}, {700, 5}, {5, 0xFFF}, {6, 0xFF7}}) {
    set(cluster, next);
  }
  CurrentFileSystem.type = records::kFat16;
  CurrentFileSystem.sectorsPerFat = kSectors;
  CurrentFileSystem.firstFatSector = 1;
  CurrentFileSystem.secondFatSector = 1 + kSectors;
  EXPECT_EQ(FatEntryBits(CurrentFileSystem), 12u);
  EXPECT_EQ(FatTableEntries(CurrentFileSystem), 1024u);
  fat_test::ScratchVolume volume(bytes);
  ASSERT_TRUE(volume.opened());
  ReadClusterChain(338, 10, 1);
  EXPECT_EQ(Chain(), (std::vector<uint32_t>{338, 341, 342, 700, 5}));
  ReadClusterChain(6, 10, 1);
  EXPECT_EQ(Chain(), (std::vector<uint32_t>{6}));
  // Sixteen sectors are the least a FAT16 table has: such a table is read 16 bits an entry.
  CurrentFileSystem.sectorsPerFat = 16;
  EXPECT_EQ(FatEntryBits(CurrentFileSystem), 16u);
}

}  // namespace
