#include "app/logic/find_files_search.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "app/logic/dialogs_test_fixture.h"
#include "app/results/generated_results.h"
#include "engine/listing/file_filter_table.h"
#include "engine/records/fat_records.h"
#include "engine/records/ntfs_records.h"

namespace app {
namespace {

class Collect : public FindSink {
 public:
  void AddMatch(const FindMatch& match) override {
    matches.push_back(match);
    if (++seen == stopAfter) stop->store(1);
  }
  std::vector<std::u16string> Names() const {
    std::vector<std::u16string> names;
    for (const FindMatch& m : matches) names.push_back(m.name);
    return names;
  }
  std::vector<FindMatch> matches;
  std::atomic<uint32_t>* stop = nullptr;
  uint32_t stopAfter = 0, seen = 0;
};

class FindSearchTest : public DialogsLogicTest {
 protected:
  uint32_t Search(const std::u16string& pattern, Collect& sink) {
    sink.stop = &stop;
    const FindSource source = CurrentFindSource();
    paths = BuildFolderPaths(tree, source);
    return SearchFileRecords(source, pattern, [this] { return stop.load() != 0; }, sink);
  }
  std::atomic<uint32_t> stop{0};
  FolderPaths paths;
};

TEST_F(FindSearchTest, ALowerCasePatternFindsNamesInEitherCaseWithTheirFolderPaths) {
  CurrentFileSystem.type = records::kFat32;
  const host::TreeKey root = tree.AddItem(u"Root", host::kNoTreeKey, host::TreeImage::kDrive, false);
  const host::TreeKey docs = tree.AddItem(u"Documents", root, host::TreeImage::kFolder, false);
  const host::TreeKey reports = tree.AddItem(u"Reports", docs, host::TreeImage::kFolder, false);
  AppendFatFolder(u"Documents", 5, records::kFatRootId, 0, 0, docs, 0);
  AppendFatFolder(u"Reports", 6, 5, 0, 0, reports, 0);
  AppendFatEntry(u"NOTES.TXT", 20, records::kFatRootId, (35 << 9) | (3 << 5) | 7, 0, 12, 0).id = 0;
  AppendFatEntry(u"report.txt", 21, 6, 0, 0, 4096, 1).id = 1;
  AppendFatEntry(u"photo.jpg", 22, 5, 0, 0, 1, 0).id = 2;

  Collect sink;
  EXPECT_EQ(Search(u"*.txt", sink), 2u);
  EXPECT_EQ(sink.Names(), (std::vector<std::u16string>{u"NOTES.TXT", u"report.txt"}));
  EXPECT_EQ(paths.PathOf(sink.matches[0].folder), u"");
  EXPECT_EQ(sink.matches[0].created, u"07-03-2015 ");
  EXPECT_EQ(paths.PathOf(sink.matches[1].folder), u"Documents\\Reports");
  EXPECT_EQ(paths.PathOf(sink.matches[1].folder, 11), u"Documents\\R");
  EXPECT_EQ(sink.matches[1].size, u"4096");
  EXPECT_EQ(sink.matches[1].id, 1u);
  EXPECT_TRUE(sink.matches[1].deleted);

  Collect none;
  EXPECT_EQ(Search(u"*.zip", none), 0u);
  EXPECT_EQ(FindStatusText(0), u"Search is complete. There are no results to display.");
  EXPECT_EQ(FindStatusText(2), u"There were 2 files found.");
}

// Find lists what the file filters show, as the lists do: what it lists, its save writes.
TEST_F(FindSearchTest, OnlyWhatTheFiltersShowIsFound) {
  CurrentFileSystem.type = records::kFat16;
  AppendFatEntry(u"NOTES.TXT", 20, records::kFatRootId, 0, 0, 12, 0).id = 0;
  AppendFatEntry(u"photo.jpg", 22, records::kFatRootId, 0, 0, 1, 0).id = 1;
  AppendFatEntry(u"IMG_0002.JPG", 23, records::kFatRootId, 0, 0, 1, 1).id = 2;
  ASSERT_TRUE(SetFileFilters({u"*.JPG"}));
  Collect sink;
  EXPECT_EQ(Search(u"*", sink), 2u);
  EXPECT_EQ(sink.Names(), (std::vector<std::u16string>{u"photo.jpg", u"IMG_0002.JPG"}));
  ASSERT_TRUE(SetFileFilters({}));
  Collect all;
  EXPECT_EQ(Search(u"*", all), 3u);
}

TEST_F(FindSearchTest, ExtensiveScanFindsOnlyEntriesInsideTheChosenFileSystem) {
  CurrentFileSystem.type = records::kNtfs;
  CurrentFileSystem.clusterBase = 100;
  CurrentFileSystem.lastSector = 200;
  RecoveryMode = records::kExtensiveScan;
  EXPECT_EQ(CurrentFindSource(), FindSource::kNtfsFoundEntries);
  for (uint32_t sector : {99u, 100u, 150u, 200u, 201u}) {
    AppendNtfsFoundEntry(u"F" + std::u16string(1, static_cast<char16_t>(u'0' + sector % 10)), sector, 5, 0,
                         0x01D689C921A68000ull, 0, 7, 1, 0);
  }
  Collect sink;
  EXPECT_EQ(Search(u"f", sink), 3u);
  std::vector<uint32_t> ids;
  for (const FindMatch& m : sink.matches) ids.push_back(m.id);
  EXPECT_EQ(ids, (std::vector<uint32_t>{100, 150, 200}));
  EXPECT_EQ(sink.matches[0].created, u"13-9-2020 12:26:40");
}

TEST_F(FindSearchTest, StopEndsTheWalkBetweenRecords) {
  CurrentFileSystem.type = records::kNtfs;
  EXPECT_EQ(CurrentFindSource(), FindSource::kNtfsEntries);
  for (uint32_t i = 0; i < 10; ++i) AppendNtfsEntry(i * 2, u"file.bin", 64 + i, 5, 0, 0, 0, 1);
  Collect sink;
  sink.stopAfter = 3;
  EXPECT_EQ(Search(u"*", sink), 3u);
}

TEST_F(FindSearchTest, FileTraceAndUnknownFileSystemsSearchNothing) {
  AppendFatEntry(u"A.TXT", 1, 0, 0, 0, 1, 0);
  CurrentFileSystem.type = records::kFat16;
  RecoveryMode = records::kFileTrace;
  EXPECT_EQ(CurrentFindSource(), FindSource::kNone);
  RecoveryMode = records::kQuickScan;
  CurrentFileSystem.type = 7;
  EXPECT_EQ(CurrentFindSource(), FindSource::kNone);
  Collect sink;
  EXPECT_EQ(Search(u"*", sink), 0u);
}

// Each folder's path as the whole path of its node was once built: the texts from below the top node
// down to the node, through the tree's parent links.
std::u16string PlainPath(const host::RecordingResultTree& tree, host::TreeKey node) {
  std::vector<host::TreeKey> chain;
  for (; node != host::kNoTreeKey && tree.At(node).parent != host::kNoTreeKey; node = tree.At(node).parent) {
    chain.push_back(node);
  }
  std::u16string path;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    if (!path.empty() && path.back() != u'\\') path += u'\\';
    path += tree.At(*it).text;
  }
  return path;
}

TEST_F(FindSearchTest, EveryMatchOfGeneratedResultsShowsThePathOfItsFolderNode) {
  for (results_test::Shape shape : results_test::kShapes) {
    tree.DeleteAllItems();
    results_test::GenerateResult(shape, 7, 80, 300, [this](host::TreeKey parent, const std::u16string& text) {
      return tree.AddItem(text, parent, host::TreeImage::kFolder, false);
    });
    Collect sink;
    Search(u"*.txt", sink);
    ASSERT_FALSE(sink.matches.empty());
    size_t shown = 0;
    for (const FindMatch& match : sink.matches) {
      host::TreeKey node = host::kNoTreeKey;
      if (shape == results_test::Shape::kFatQuick) {
        if (const FatFolderRecord* f = FindFatFolder(match.folder)) node = f->treeKey;
      } else if (const NtfsFolderRecord* f = FindNtfsFolder(match.folder)) {
        node = f->treeKey;
      }
      const std::u16string path = PlainPath(tree, node);
      EXPECT_EQ(paths.PathOf(match.folder), path) << match.folder;
      EXPECT_EQ(paths.PathOf(match.folder, 5), path.substr(0, 5));
      shown += path.empty() ? 0 : 1;
    }
    EXPECT_GT(shown, 0u);
  }
}

}  // namespace
}  // namespace app
