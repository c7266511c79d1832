// What a user's FAT save asks of each listed file before it writes it (save::FatFileGivesWay: whether another listed
// file claims a cluster it reads), for every file of a listing of n and of 4 n files, in three shapes: files each
// in clusters of their own with half as many deleted ones over them (a volume written again after deletes), n
// deleted files over one run of clusters beside n live ones beginning in it (a hostile listing), and one file
// listed n times under folders read along one chain. The processor time of all the questions, per file, at both
// sizes: the questions grow with a file's rivals, not with the files listed.
//   fat_claims_bench [N]      (default 20000)
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/growth_measure.h"
#include "engine/records/fat_records.h"
#include "engine/records/scan_parameters.h"
#include "engine/records/scan_records.h"
#include "engine/save/fat_claims.h"
#include "engine/save/save_state.h"

namespace {

constexpr uint64_t kClusterBytes = 512;
constexpr uint16_t kDay = (40 << 9) | (1 << 5) | 1;

void Add(const std::u16string& name, uint32_t first, uint32_t parent, uint32_t size, uint32_t deleted) {
  AppendFatEntry(name, first, parent, kDay, kDay, size, deleted);
  ++ScanCounters.entryCount;
}

void Ordinary(uint32_t n) {
  for (uint32_t i = 0; i < n; ++i) Add(u"f", 2 + 8 * i, i % 100 + 1, 8 * 512, 0);
  for (uint32_t i = 0; i < n / 2; ++i) Add(u"d", 2 + 16 * i + 4, i % 100 + 1, 8 * 512, 1);
}

void Hostile(uint32_t n) {
  for (uint32_t i = 0; i < n; ++i) Add(u"d", 100, 1, (i + 1) * 512, 1);
  for (uint32_t i = 0; i < n; ++i) Add(u"l", 100 + i % 1000, 1, 512, 0);
}

void Repeated(uint32_t n) {
  for (uint32_t i = 0; i < n; ++i) Add(u"same", 100, i + 1, 4096, 0);
}

// Seconds of processor time per question over the listing the shape makes of n files; *files: how many it lists.
double PerFile(void (*shape)(uint32_t), uint32_t n, size_t* files) {
  FreeScanRecordLists();
  shape(n);
  *files = FatEntryList.size();
  BeginSave();
  const double start = growth::ThreadSeconds();
  for (const FatEntryRecord& entry : FatEntryList) {
    save::FatFileRead read;
    read.first = entry.firstCluster;
    read.size = entry.size;
    read.clusters = static_cast<uint32_t>((entry.size + kClusterBytes - 1) / kClusterBytes);
    read.deleted = entry.deleted != 0;
    read.date = entry.firstDateWord;
    read.name = &entry.name;
    save::FatFileGivesWay(read, uint64_t{1} << 20);
  }
  return (growth::ThreadSeconds() - start) / static_cast<double>(FatEntryList.size());
}

}  // namespace

int main(int argc, char** argv) {
  const uint32_t n = argc > 1 ? static_cast<uint32_t>(std::strtoul(argv[1], nullptr, 10)) : 20000;
  growth::StopAfter(600);
  CurrentFileSystem = FileSystemRecord{};
  CurrentFileSystem.type = records::kFat16;
  CurrentFileSystem.sectorsPerCluster = 1;
  CurrentFileSystem.clusterBase = 100;
  const struct {
    const char* name;
    void (*shape)(uint32_t);
  } shapes[] = {{"ordinary", Ordinary}, {"hostile", Hostile}, {"repeated", Repeated}};
  for (const auto& s : shapes) {
    size_t few = 0, many = 0;
    const double small = PerFile(s.shape, n, &few), large = PerFile(s.shape, 4 * n, &many);
    std::printf("%-9s %7zu files %8.2f us a file   %7zu files %8.2f us a file   ratio %.2f\n", s.name, few,
                small * 1e6, many, large * 1e6, large / small);
  }
  return 0;
}
