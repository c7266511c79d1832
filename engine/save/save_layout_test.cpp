// Where SaveSelected puts folders ticked whole and files ticked one by one: below the deepest folder that holds
// them all, made under its own name, each in its place in the tree; two folders of one name never merge.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "engine/records/fat_records.h"
#include "engine/records/scan_records.h"
#include "engine/save/folder_plan.h"
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
// (c.txt); Photos (p1.jpg, p2.jpg) / Holiday (h1.jpg, h2.jpg); Pictures, folders only: 2019, 2020, 2021 (one
// picture each); Users / Alice / Documents and Users / Bob / Documents (Resume.docx, cv.txt each); two
// folders Old in Docs, the live one first; a deleted and then a live folder Mail in the root (m.txt each), and
// in Work (w.txt) a deleted and then a live folder Docs (d.txt each), as an NTFS tree often lists them; the
// root's root.txt. Every file one cluster. Folders and files by their paths ("Old ", "Mail ", "Docs ": the
// deleted folders).
class SaveLayoutTest : public SaveTest {
 protected:
  SaveLayoutTest() {
    const host::TreeKey top = tree.AddItem(u"C:", host::kNoTreeKey, host::TreeImage::kDrive, false);
    const char16_t* const folders[] = {u"A", u"A/Sub", u"B", u"Docs", u"Docs/Reports", u"Docs/Reports/2019",
                                       u"Photos", u"Photos/Holiday", u"Pictures", u"Pictures/2019",
                                       u"Pictures/2020", u"Pictures/2021", u"Users", u"Users/Alice",
                                       u"Users/Alice/Documents", u"Users/Bob", u"Users/Bob/Documents",
                                       u"Docs/Old", u"Docs/Old ", u"Mail ", u"Mail", u"Work", u"Work/Docs ",
                                       u"Work/Docs"};
    uint32_t cluster = 100;
    for (const std::u16string path : folders) {
      const size_t slash = path.rfind(u'/');
      const std::u16string parent = slash == std::u16string::npos ? u"" : path.substr(0, slash);
      // "Old " is a deleted folder of the name Old.
      std::u16string name = path.substr(slash + 1);
      const bool second = name.back() == u' ';
      if (second) name.pop_back();
      const host::TreeKey node = tree.AddItem(name, parent.empty() ? top : nodes_.at(parent), host::TreeImage::kFolder, second);
      AppendFatFolder(name, cluster, parent.empty() ? 0 : ids_.at(parent), 0, 0, node, second ? 1 : 0);
      ids_[path] = cluster++;
      nodes_[path] = node;
    }
    const char16_t* const files[] = {
        u"A/notes.txt", u"A/a1.txt", u"A/Sub/s.txt", u"B/notes.txt", u"B/b1.txt", u"Docs/d.txt",
        u"Docs/Reports/r.txt", u"Docs/Reports/2019/c.txt", u"Photos/p1.jpg", u"Photos/p2.jpg",
        u"Photos/Holiday/h1.jpg", u"Photos/Holiday/h2.jpg", u"Pictures/2019/a.jpg", u"Pictures/2020/b.jpg",
        u"Pictures/2021/c.jpg", u"Users/Alice/Documents/Resume.docx", u"Users/Alice/Documents/cv.txt",
        u"Users/Bob/Documents/Resume.docx", u"Users/Bob/Documents/cv.txt", u"Docs/Old/o.txt",
        u"Docs/Old /o.txt", u"Mail /m.txt", u"Mail/m.txt", u"Work/w.txt", u"Work/Docs /d.txt", u"Work/Docs/d.txt",
        u"root.txt"};
    uint32_t data = 2;
    for (const std::u16string path : files) {
      const size_t slash = path.rfind(u'/');
      const std::u16string parent = slash == std::u16string::npos ? u"" : path.substr(0, slash);
      volume_.PutChained({data}, Pattern(100, static_cast<uint8_t>(data)));
      const uint32_t id =
          AppendFatEntry(path.substr(slash + 1), data++, parent.empty() ? 0 : ids_.at(parent), 0, 0, 100, 0).id;
      ++ScanCounters.entryCount;
      fileIds_[path] = id;
      bytes_[path] = Pattern(100, static_cast<uint8_t>(data - 1));
    }
    mounted_ = volume_.Mount();
  }

  // Saves the folders ticked whole and the files ticked one by one, by their paths; each file saved as its
  // path below the chosen folder.
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
    for (std::string& path : saved) {
      const Bytes held = ReadAll(folder.path() + u"\\" + os::FromUtf8(path));
      // A file saved where its own path does not end is named by the path it came from.
      for (const auto& [source, bytes] : bytes_) {
        const std::string from = "/" + os::ToUtf8(source), tail = "/" + path;
        const bool own = from.size() >= tail.size() && from.compare(from.size() - tail.size(), tail.size(), tail) == 0;
        if (bytes == held && !own) path += " <- " + from.substr(1);
      }
    }
    std::sort(saved.begin(), saved.end());
    return saved;
  }

  FatVolume volume_{1, 64, 1};
  std::unique_ptr<MountedBytes> mounted_;
  std::map<std::u16string, uint32_t> ids_;
  std::map<std::u16string, host::TreeKey> nodes_;
  std::map<std::u16string, uint32_t> fileIds_;
  std::map<std::u16string, Bytes> bytes_;
};

// The deepest folder that holds everything ticked is made under its own name, with every level below it.
TEST_F(SaveLayoutTest, EverythingTickedLandsBelowTheDeepestFolderHoldingItAll) {
  struct Case {
    const char* what;
    std::vector<std::u16string> whole, files;
    std::vector<std::string> saved;
  };
  const Case cases[] = {
      {"A and B ticked, one file unticked in each: two notes.txt, each in its folder",
       {u"A/Sub"}, {u"A/notes.txt", u"B/notes.txt"}, {"A/Sub/s.txt", "A/notes.txt", "B/notes.txt"}},
      {"Photos ticked, one picture unticked: Holiday stays in Photos",
       {u"Photos/Holiday"}, {u"Photos/p1.jpg"}, {"Photos/Holiday/h1.jpg", "Photos/Holiday/h2.jpg", "Photos/p1.jpg"}},
      {"Pictures (folders only) ticked, 2019 unticked: 2020 and 2021 stay in Pictures",
       {u"Pictures/2020", u"Pictures/2021"}, {}, {"Pictures/2020/b.jpg", "Pictures/2021/c.jpg"}},
      {"one folder of Pictures ticked: saved as itself", {u"Pictures/2020"}, {}, {"2020/b.jpg"}},
      {"Users ticked, a file unticked in each Documents: Alice's and Bob's apart",
       {}, {u"Users/Alice/Documents/Resume.docx", u"Users/Bob/Documents/Resume.docx"},
       {"Users/Alice/Documents/Resume.docx", "Users/Bob/Documents/Resume.docx"}},
      {"one file deep down: its folder, as if ticked whole", {}, {u"Docs/Reports/2019/c.txt"}, {"2019/c.txt"}},
      {"a folder deep down ticked whole", {u"Docs/Reports"}, {}, {"Reports/2019/c.txt", "Reports/r.txt"}},
      {"files of a folder and of its subfolder", {}, {u"Docs/Reports/r.txt", u"Docs/Reports/2019/c.txt"},
       {"Reports/2019/c.txt", "Reports/r.txt"}},
      {"a folder between two holding ticked files is made", {}, {u"Docs/d.txt", u"Docs/Reports/2019/c.txt"},
       {"Docs/Reports/2019/c.txt", "Docs/d.txt"}},
      {"a folder ticked whole below one holding a ticked file", {u"Docs/Reports/2019"}, {u"Docs/d.txt"},
       {"Docs/Reports/2019/c.txt", "Docs/d.txt"}},
      {"folders apart keep their paths from the root", {u"Photos/Holiday"}, {u"Docs/Reports/2019/c.txt", u"root.txt"},
       {"Docs/Reports/2019/c.txt", "Photos/Holiday/h1.jpg", "Photos/Holiday/h2.jpg", "root.txt"}},
      {"two folders of one name ticked whole are made as two", {u"Docs/Old", u"Docs/Old "}, {},
       {"Docs/Copy (1 ) of Old/o.txt <- Docs/Old /o.txt", "Docs/Old/o.txt"}},
      {"and when each holds a file ticked on its own", {}, {u"Docs/Old /o.txt", u"Docs/Old/o.txt"},
       {"Docs/Copy (1 ) of Old/o.txt <- Docs/Old /o.txt", "Docs/Old/o.txt"}},
      // Of a live and a deleted folder of one name the live one keeps it, whichever the tree lists first and
      // however the ticks came.
      {"the top ticked (both Mail saved whole)", {u"Mail ", u"Mail"}, {u"root.txt"},
       {"Copy (1 ) of Mail/m.txt <- Mail /m.txt", "Mail/m.txt", "root.txt"}},
      {"Work ticked, w.txt unticked: both Docs saved whole", {u"Work/Docs ", u"Work/Docs"}, {},
       {"Work/Copy (1 ) of Docs/d.txt <- Work/Docs /d.txt", "Work/Docs/d.txt"}},
      {"Work ticked whole", {u"Work"}, {},
       {"Work/Copy (1 ) of Docs/d.txt <- Work/Docs /d.txt", "Work/Docs/d.txt", "Work/w.txt"}},
      {"a file ticked in each Docs", {}, {u"Work/Docs /d.txt", u"Work/Docs/d.txt"},
       {"Work/Copy (1 ) of Docs/d.txt <- Work/Docs /d.txt", "Work/Docs/d.txt"}},
      {"the deleted Docs ticked whole, a file in the live one", {u"Work/Docs "}, {u"Work/Docs/d.txt"},
       {"Work/Copy (1 ) of Docs/d.txt <- Work/Docs /d.txt", "Work/Docs/d.txt"}},
      {"the deleted Mail's file and the root's", {}, {u"Mail /m.txt", u"root.txt"},
       {"Mail/m.txt <- Mail /m.txt", "root.txt"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Save(c.whole, c.files), c.saved);
    EXPECT_TRUE(Questions().empty());
  }
}

// Parents read off an image may loop; a chain that loops or leaves the records ends where it does.
TEST_F(SaveLayoutTest, AChainOfParentsThatLoopsEnds) {
  const std::map<uint32_t, save::SaveLayout::Folder> folders = {
      {10, {11, u"x"}}, {11, {10, u"y"}}, {12, {99, u"z"}}, {13, {0, u"top"}}, {14, {13, u"in"}}};
  save::SaveLayout layout(0, [&](uint32_t id) -> std::optional<save::SaveLayout::Folder> {
    const auto found = folders.find(id);
    return found == folders.end() ? std::nullopt : std::optional<save::SaveLayout::Folder>(found->second);
  });
  save::FolderPlan plan;
  for (uint32_t id : {10u, 12u, 14u}) layout.Include(id);
  for (uint32_t id : {10u, 12u, 14u, 0u}) layout.Plan(plan, id);
  plan.Make(out);
  EXPECT_EQ(plan.PathOf(10), Out(u"y\\x"));
  EXPECT_EQ(plan.PathOf(12), Out(u"z"));
  EXPECT_EQ(plan.PathOf(14), Out(u"top\\in"));
  EXPECT_EQ(plan.PathOf(13), Out(u"top"));
  EXPECT_EQ(plan.PathOf(0), out);
  EXPECT_TRUE(os::IsFolder(Out(u"top\\in")));
}

}  // namespace
}  // namespace save_test
