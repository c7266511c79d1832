// Where SaveSelected puts folders ticked whole and files ticked one by one: each folder that holds a ticked file
// is made as it would be if it were ticked whole, under the top-most folder above it that is made too.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "engine/records/fat_records.h"
#include "engine/records/scan_records.h"
#include "engine/save/save_layout.h"
#include "engine/save/save_test_support.h"
#include "engine/save/savers.h"
#include "platform/os/os.h"

namespace save_test {
namespace {

// The files under folder, each as its path below it with "/" between names, sorted.
void FilesUnder(const std::u16string& folder, const std::u16string& place, std::vector<std::string>& out) {
  for (const std::u16string& name : FolderNames(folder)) {
    const std::u16string path = folder + u"\\" + name;
    const std::u16string below = place.empty() ? name : place + u"/" + name;
    if (os::IsFolder(path)) {
      FilesUnder(path, below, out);
    } else {
      out.push_back(os::ToUtf8(below));
    }
  }
}

// top / A (notes.txt, a1.txt) / Sub (s.txt); B (notes.txt, b1.txt); Docs (d.txt) / Reports (r.txt) / 2019
// (c.txt); Photos (p1.jpg, p2.jpg) / Holiday (h1.jpg, h2.jpg); the root's root.txt. Every file one cluster.
class SaveLayoutTest : public SaveTest {
 protected:
  SaveLayoutTest() {
    const host::TreeKey top = tree.AddItem(u"C:", host::kNoTreeKey, host::TreeImage::kDrive, false);
    const std::pair<const char16_t*, const char16_t*> folders[] = {
        {u"A", nullptr},      {u"Sub", u"A"},        {u"B", nullptr},  {u"Docs", nullptr},
        {u"Reports", u"Docs"}, {u"2019", u"Reports"}, {u"Photos", nullptr}, {u"Holiday", u"Photos"}};
    uint32_t cluster = 100;
    for (const auto& [name, parent] : folders) {
      const uint32_t parentId = parent ? ids_.at(parent) : 0;
      const host::TreeKey node = tree.AddItem(name, parent ? nodes_.at(parent) : top, host::TreeImage::kFolder, false);
      AppendFatFolder(name, cluster, parentId, 0, 0, node, 0);
      ids_[name] = cluster++;
      nodes_[name] = node;
    }
    const std::pair<const char16_t*, const char16_t*> files[] = {
        {u"notes.txt", u"A"},  {u"a1.txt", u"A"},    {u"s.txt", u"Sub"},      {u"notes.txt", u"B"},
        {u"b1.txt", u"B"},     {u"d.txt", u"Docs"},  {u"r.txt", u"Reports"},  {u"c.txt", u"2019"},
        {u"p1.jpg", u"Photos"}, {u"p2.jpg", u"Photos"}, {u"h1.jpg", u"Holiday"}, {u"h2.jpg", u"Holiday"},
        {u"root.txt", nullptr}};
    uint32_t data = 2;
    for (const auto& [name, parent] : files) {
      volume_.PutChained({data}, Pattern(100, static_cast<uint8_t>(data)));
      const uint32_t id = AppendFatEntry(name, data++, parent ? ids_.at(parent) : 0, 0, 0, 100, 0).id;
      ++ScanCounters.entryCount;
      fileIds_[std::u16string(parent ? parent : u"") + u"/" + name] = id;
    }
    mounted_ = volume_.Mount();
  }

  // Saves the folders ticked whole and the files ticked one by one ("Folder/name"; "/name" for the root).
  std::vector<std::string> Save(const std::vector<std::u16string>& whole, const std::vector<std::u16string>& files) {
    list.saveFolderSet.clear();
    list.saveFileSet.clear();
    for (const std::u16string& f : whole) list.saveFolderSet.push_back(nodes_.at(f));
    for (const std::u16string& f : files) list.saveFileSet.push_back(fileIds_.at(f));
    ScratchFolder folder;
    BeginSave();
    SaveDestination = folder.path();
    SaveSelected();
    std::vector<std::string> saved;
    FilesUnder(folder.path(), u"", saved);
    std::sort(saved.begin(), saved.end());
    return saved;
  }

  FatVolume volume_{1, 64, 1};
  std::unique_ptr<MountedBytes> mounted_;
  std::map<std::u16string, uint32_t> ids_;
  std::map<std::u16string, host::TreeKey> nodes_;
  std::map<std::u16string, uint32_t> fileIds_;
};

TEST_F(SaveLayoutTest, FoldersHoldingTickedFilesKeepTheirPlace) {
  struct Case {
    const char* what;
    std::vector<std::u16string> whole, files;
    std::vector<std::string> saved;
  };
  const Case cases[] = {
      {"A and B ticked, one file unticked in each: two notes.txt, each in its folder",
       {u"Sub"}, {u"A/notes.txt", u"B/notes.txt"}, {"A/Sub/s.txt", "A/notes.txt", "B/notes.txt"}},
      {"Photos ticked, one picture unticked: Holiday stays in Photos",
       {u"Holiday"}, {u"Photos/p1.jpg"}, {"Photos/Holiday/h1.jpg", "Photos/Holiday/h2.jpg", "Photos/p1.jpg"}},
      {"one file deep down: its folder, as if ticked whole", {}, {u"2019/c.txt"}, {"2019/c.txt"}},
      {"a folder deep down ticked whole", {u"Reports"}, {}, {"Reports/2019/c.txt", "Reports/r.txt"}},
      {"files of a folder and of its subfolder", {}, {u"Reports/r.txt", u"2019/c.txt"},
       {"Reports/2019/c.txt", "Reports/r.txt"}},
      {"a folder between two holding ticked files is made", {}, {u"Docs/d.txt", u"2019/c.txt"},
       {"Docs/Reports/2019/c.txt", "Docs/d.txt"}},
      {"a folder ticked whole below one holding a ticked file", {u"2019"}, {u"Docs/d.txt"},
       {"Docs/Reports/2019/c.txt", "Docs/d.txt"}},
      {"folders apart keep apart", {u"Holiday"}, {u"2019/c.txt", u"/root.txt"},
       {"2019/c.txt", "Holiday/h1.jpg", "Holiday/h2.jpg", "root.txt"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Save(c.whole, c.files), c.saved);
    EXPECT_TRUE(Questions().empty());
  }
}

// Parents read off an image may loop; a chain that loops or leaves the records ends where it does.
TEST(SaveLayout, AChainOfParentsThatLoopsEnds) {
  const std::map<uint32_t, save::SaveLayout::Folder> folders = {
      {10, {11, u"x"}}, {11, {10, u"y"}}, {12, {99, u"z"}}, {13, {0, u"top"}}, {14, {13, u"in"}}};
  save::SaveLayout layout(0, [&](uint32_t id) -> std::optional<save::SaveLayout::Folder> {
    const auto found = folders.find(id);
    return found == folders.end() ? std::nullopt : std::optional<save::SaveLayout::Folder>(found->second);
  });
  for (uint32_t id : {10u, 12u, 14u}) layout.Hold(id);
  layout.Hold(13);
  EXPECT_EQ(layout.PathOf(u"D", 10), u"D\\x");
  EXPECT_EQ(layout.PathOf(u"D", 12), u"D\\z");
  EXPECT_EQ(layout.PathOf(u"D", 14), u"D\\top\\in");
  EXPECT_EQ(layout.ParentPathOf(u"D", 14), u"D\\top");
  EXPECT_EQ(layout.ParentPathOf(u"D", 13), u"D");
  EXPECT_EQ(layout.PathOf(u"D", 0), u"D");
}

}  // namespace
}  // namespace save_test
