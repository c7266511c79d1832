// Random sessions of a user on the results page, judged by a model of what the user meant, not of what the
// boxes show. The model knows only the user's actions: ticking a file means it, unticking a file does not,
// ticking a folder means every file beneath it (and every empty folder), unticking a folder none of them;
// filters, Find, listings and the boxes' own states mean nothing. A save must write exactly the files meant,
// less what the file filters and the deleted-file policy keep from it, each where the model places it: the
// root's files in the chosen folder; the files of a folder in that folder, made under the chosen folder as it
// would be if it were ticked whole, beneath the top-most folder above it that is ticked whole or holds files
// meant.
//
// The program's side is the real one: the check model (ResultChecks over the engine's records), the engine's
// tree builders, listers, Find search, snapshot writer and loader, and SaveSelected writing files read from a
// volume put together for the session; the windows are the engine's recording fakes. What the window classes
// add between a click and the check model is done here as they do it (a row's box shown from the marks, a
// click that flips it, the button-up rule of a tree box).
//
// Sessions are seeded: a failure names its seed and the actions that led to it. Each shard prints its tally:
// the sessions, the saves and searches judged, and the sessions that went wrong, by how.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "app/logic/find_files_search.h"
#include "app/results/mark_sets.h"
#include "app/results/result_checks.h"
#include "app/results/result_records.h"
#include "app/results/result_rows.h"
#include "app/results/result_test_tree.h"
#include "engine/fat/save_abort.h"
#include "engine/host/save_fakes.h"
#include "engine/host/snapshot_fakes.h"
#include "engine/listing/file_filter_table.h"
#include "engine/listing/results_listing.h"
#include "engine/ntfs/ntfs_test_support.h"
#include "engine/records/extensive_lists.h"
#include "engine/records/fat_records.h"
#include "engine/records/file_trace_hits.h"
#include "engine/records/ntfs_records.h"
#include "engine/records/recovery_settings.h"
#include "engine/records/result_tree_builders.h"
#include "engine/records/scan_control.h"
#include "engine/records/scan_parameters.h"
#include "engine/records/scan_records.h"
#include "engine/save/save_state.h"
#include "engine/save/save_test_support.h"
#include "engine/save/savers.h"
#include "engine/snapshot/snapshot.h"
#include "platform/os/os.h"

namespace {

using app::CheckState;
using results::Item;
using save_test::Bytes;

enum class Kind { kFat, kNtfs, kTrace };

// ---- the volume of a session ------------------------------------------------------------------------------

struct Folder {
  uint32_t id = 0;
  uint32_t parent = 0;
  std::u16string name;
  bool deleted = false;
};

// key: what stays a file's own through a snapshot (FAT first cluster, NTFS record sector, File Trace hit id).
struct File {
  uint32_t key = 0;
  uint32_t parent = 0;
  std::u16string name;
  bool deleted = false;
  Bytes data;
  std::u16string group, extension;  // File Trace
};

struct Volume {
  uint32_t root = 0;
  std::vector<Folder> folders;
  std::vector<File> files;

  const Folder* FolderOf(uint32_t id) const {
    for (const Folder& f : folders) {
      if (f.id == id) return &f;
    }
    return nullptr;
  }
  std::vector<uint32_t> Children(uint32_t id) const {
    std::vector<uint32_t> ids;
    for (const Folder& f : folders) {
      if (f.parent == id) ids.push_back(f.id);
    }
    return ids;
  }
  // The folder and every folder beneath it.
  std::vector<uint32_t> Subtree(uint32_t id) const {
    std::vector<uint32_t> all{id};
    for (size_t i = 0; i < all.size(); ++i) {
      for (uint32_t child : Children(all[i])) all.push_back(child);
    }
    return all;
  }
  bool IsEmptyLeaf(uint32_t id) const {
    if (id == root || !Children(id).empty()) return false;
    for (const File& f : files) {
      if (f.parent == id) return false;
    }
    return true;
  }
};

const char16_t* const kFolderNames[] = {u"Documents", u"Reports", u"2019", u"Photos", u"Old", u"Backup"};
const char16_t* const kFileNames[] = {u"notes.txt", u"a.txt", u"IMG_0001.JPG", u"report.doc",
                                      u"data.bin", u"README.TXT", u"Reports"};

template <typename T, size_t N>
const T& Pick(std::mt19937& rng, const T (&items)[N]) {
  return items[std::uniform_int_distribution<size_t>(0, N - 1)(rng)];
}

uint32_t Below(std::mt19937& rng, uint32_t n) { return std::uniform_int_distribution<uint32_t>(0, n - 1)(rng); }

Bytes Content(std::mt19937& rng, uint32_t key, size_t limit) {
  const size_t size = Below(rng, 6) == 0 ? 0 : 8 + Below(rng, static_cast<uint32_t>(limit - 8));
  Bytes data(size);
  for (size_t i = 0; i < size; ++i) data[i] = static_cast<uint8_t>(rng());
  // The key in the first bytes: every file with data has bytes of its own.
  for (size_t i = 0; i < 4 && i < size; ++i) data[i] = static_cast<uint8_t>(key >> (8 * i));
  return data;
}

// Folders nested up to three deep under the root, names repeating among them (two Old folders in different
// places), empty folders, files of the same names in several folders, a file named as a folder beside it.
Volume MakeTreeVolume(std::mt19937& rng, uint32_t root, uint32_t firstFolderId, Kind kind) {
  Volume v;
  v.root = root;
  std::map<uint32_t, int> depth{{root, 0}};
  const uint32_t folders = 2 + Below(rng, 8);
  for (uint32_t i = 0; i < folders; ++i) {
    std::vector<uint32_t> parents{root};
    for (const Folder& f : v.folders) {
      if (depth[f.id] < 3) parents.push_back(f.id);
    }
    Folder f;
    f.id = firstFolderId + i;
    f.parent = parents[Below(rng, static_cast<uint32_t>(parents.size()))];
    f.name = Pick(rng, kFolderNames);
    f.deleted = Below(rng, 8) == 0;
    depth[f.id] = depth[f.parent] + 1;
    v.folders.push_back(f);
  }
  uint32_t next = 0;
  std::vector<uint32_t> all{root};
  for (const Folder& f : v.folders) all.push_back(f.id);
  for (uint32_t folder : all) {
    for (uint32_t n = Below(rng, 5); n > 0; --n) {
      File file;
      file.key = kind == Kind::kFat ? 2 + next : 8 + 2 * next;  // a cluster, or a record's sector
      ++next;
      file.parent = folder;
      file.name = Pick(rng, kFileNames);
      file.deleted = Below(rng, 5) == 0;
      file.data = Content(rng, file.key, kind == Kind::kFat ? 512 : 300);
      v.files.push_back(file);
    }
  }
  return v;
}

struct TraceType {
  const char16_t* group;
  const char16_t* extension;
};
const TraceType kTraceTypes[] = {{u"JPEG Image", u".jpg"}, {u"Office Document", u".doc"},
                                 {u"Office Document", u".xls"}, {u"Archive", u".zip"}, {u"Archive", u".rar"}};

// File Trace's hits: 2 to 12 of five types in three groups, in sector order.
Volume MakeTraceVolume(std::mt19937& rng) {
  Volume v;
  const uint32_t hits = 2 + Below(rng, 11);
  for (uint32_t id = 1; id <= hits; ++id) {
    const TraceType& type = Pick(rng, kTraceTypes);
    File hit;
    hit.key = id;
    hit.group = type.group;
    hit.extension = type.extension;
    hit.name = os::Decimal(id) + type.extension;
    hit.data = Content(rng, id, 64);
    if (hit.data.size() < 8) hit.data = Bytes{static_cast<uint8_t>(id), 0, 0, 0, 1, 2, 3, 4};
    v.files.push_back(hit);
  }
  return v;
}

// ---- the model of what the user meant ---------------------------------------------------------------------

struct SavedFile {
  std::u16string folder;  // below the chosen folder, "/" between names; empty for the chosen folder itself
  std::u16string name;
  Bytes data;
  bool operator<(const SavedFile& o) const { return std::tie(folder, name, data) < std::tie(o.folder, o.name, o.data); }
  bool operator==(const SavedFile& o) const { return folder == o.folder && name == o.name && data == o.data; }
};

class Intent {
 public:
  explicit Intent(const Volume& volume) : v_(volume) {}

  void Forget() {
    files_.clear();
    emptyFolders_.clear();
  }
  void MeanFile(uint32_t key, bool meant) { meant ? (void)files_.insert(key) : (void)files_.erase(key); }
  // A folder (the root: everything) ticked or unticked.
  void MeanFolder(uint32_t id, bool meant) {
    for (uint32_t f : v_.Subtree(id)) {
      for (const File& file : v_.files) {
        if (file.parent == f) MeanFile(file.key, meant);
      }
      if (v_.IsEmptyLeaf(f)) meant ? (void)emptyFolders_.insert(f) : (void)emptyFolders_.erase(f);
    }
  }
  // File Trace: the hits of a group or a type, or all (empty label).
  void MeanHits(const std::u16string& group, const std::u16string& extension, bool meant) {
    for (const File& hit : v_.files) {
      if ((group.empty() || hit.group == group) && (extension.empty() || hit.extension == extension)) {
        MeanFile(hit.key, meant);
      }
    }
  }
  bool Meant(uint32_t key) const { return files_.count(key) != 0; }
  bool Nothing() const { return files_.empty() && emptyFolders_.empty(); }

  // What a save writes: the files meant, less those the filters and the deleted-file policy keep back.
  // File Trace's files are compared by their first bytes (each is LargeFileSize long).
  std::vector<SavedFile> Saved(const std::vector<std::u16string>& filters, uint16_t deletedPolicy, size_t head) const {
    std::vector<SavedFile> saved;
    for (const File& f : v_.files) {
      if (!Meant(f.key) || !Passes(f, filters, deletedPolicy)) continue;
      saved.push_back({PlaceOf(f.parent), f.name, Bytes(f.data.begin(), f.data.begin() + std::min(head, f.data.size()))});
    }
    std::sort(saved.begin(), saved.end());
    return saved;
  }

  static bool Passes(const File& f, const std::vector<std::u16string>& filters, uint16_t deletedPolicy) {
    if (deletedPolicy == 2 && !f.deleted) return false;
    if (deletedPolicy == 3 && f.deleted) return false;
    if (filters.empty()) return true;
    for (const std::u16string& pattern : filters) {
      if (Matches(f.name, pattern)) return true;
    }
    return false;
  }

  // The patterns the sessions use, by their plain meaning: "*.EXT" a name ending so after at least one
  // character, "PRE*" a name beginning so and longer; letters in any case.
  static bool Matches(const std::u16string& name, const std::u16string& pattern) {
    const std::u16string n = Upper(name), p = Upper(pattern);
    if (p == u"*") return true;
    if (p.front() == u'*') {
      const std::u16string tail = p.substr(1);
      return n.size() > tail.size() && n.compare(n.size() - tail.size(), tail.size(), tail) == 0;
    }
    const std::u16string head = p.substr(0, p.size() - 1);
    return n.size() > head.size() && n.compare(0, head.size(), head) == 0;
  }

 private:
  static std::u16string Upper(std::u16string s) {
    for (char16_t& c : s) c = c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c;
    return s;
  }
  // Every file beneath it meant, and every empty folder beneath it (or itself, when it is one).
  bool Whole(uint32_t id) const {
    for (uint32_t f : v_.Subtree(id)) {
      for (const File& file : v_.files) {
        if (file.parent == f && !Meant(file.key)) return false;
      }
      if (v_.IsEmptyLeaf(f) && emptyFolders_.count(f) == 0) return false;
    }
    return true;
  }
  bool HoldsMeant(uint32_t id) const {
    for (const File& file : v_.files) {
      if (file.parent == id && Meant(file.key)) return true;
    }
    return false;
  }
  // The root: the chosen folder. Otherwise the names from the top-most folder above (or the folder itself)
  // that is meant whole or holds files meant.
  std::u16string PlaceOf(uint32_t id) const {
    std::vector<uint32_t> chain;
    for (uint32_t at = id; at != v_.root; at = v_.FolderOf(at)->parent) chain.push_back(at);
    if (chain.empty()) return {};
    size_t top = 0;
    for (size_t i = 0; i < chain.size(); ++i) {
      if (Whole(chain[i]) || HoldsMeant(chain[i])) top = i;
    }
    std::u16string place;
    for (size_t i = top + 1; i-- > 0;) place += (place.empty() ? u"" : u"/") + v_.FolderOf(chain[i])->name;
    return place;
  }

  const Volume& v_;
  std::set<uint32_t> files_;
  std::set<uint32_t> emptyFolders_;
};

// ---- what a save wrote --------------------------------------------------------------------------------------

std::u16string WithoutCopyPrefix(const std::u16string& name) {
  // "Copy (n ) of name": the duplicate-name policy's rename of a second file of the same name.
  if (name.rfind(u"Copy (", 0) != 0) return name;
  const size_t of = name.find(u" ) of ");
  return of == std::u16string::npos ? name : name.substr(of + 6);
}

void Walk(const std::u16string& folder, const std::u16string& place, size_t head, std::vector<SavedFile>& out) {
  for (const std::u16string& name : save_test::FolderNames(folder)) {
    const std::u16string path = folder + u"\\" + name;
    if (os::IsFolder(path)) {
      Walk(path, place.empty() ? name : place + u"/" + name, head, out);
    } else {
      Bytes data = save_test::ReadAll(path);
      if (data.size() > head) data.resize(head);
      out.push_back({place, WithoutCopyPrefix(name), data});
    }
  }
}

std::vector<SavedFile> WrittenUnder(const std::u16string& folder, size_t head) {
  std::vector<SavedFile> written;
  Walk(folder, u"", head, written);
  std::sort(written.begin(), written.end());
  return written;
}

std::string Describe(const std::vector<SavedFile>& files) {
  std::string text;
  for (const SavedFile& f : files) {
    text += " " + os::ToUtf8(f.folder.empty() ? f.name : f.folder + u"/" + f.name) + "(" +
            std::to_string(f.data.size()) + ")";
  }
  return text.empty() ? " nothing" : text;
}

// How a save differed from the model: the files themselves, or only the folders they went into.
enum class Mismatch { kNone, kFiles, kLayout, kDriver };

Mismatch Compare(const std::vector<SavedFile>& expected, const std::vector<SavedFile>& written) {
  if (expected == written) return Mismatch::kNone;
  auto loose = [](std::vector<SavedFile> files) {
    for (SavedFile& f : files) f.folder.clear();
    std::sort(files.begin(), files.end());
    return files;
  };
  return loose(expected) == loose(written) ? Mismatch::kLayout : Mismatch::kFiles;
}

// ---- a session ------------------------------------------------------------------------------------------------

struct Tally {
  uint32_t sessions = 0, saves = 0, finds = 0;
  std::map<Mismatch, uint32_t> sessionsWith;
};

class Session {
 public:
  Session(Kind kind, uint32_t seed) : kind_(kind), seed_(seed), rng_(seed), list_(sets_) {
    host::Hosts hosts = host::Current();
    hosts.messages = &messages_;
    hosts.saveProgress = &saveDialog_;
    hosts.resultTree = &tree_;
    hosts.resultList = &list_;
    hosts.progressDialog = &progress_;
    hosts.snapshotFrame = &frame_;
    hosts.scanPage = &scanPage_;
    installed_ = std::make_unique<host::ScopedHosts>(hosts);
    tree_.onClearChecks = [this](host::TreeKey node) { Checks().ClearChecks(node); };
    ResetEngine();
    volume_ = kind == Kind::kTrace ? MakeTraceVolume(rng_)
                                   : MakeTreeVolume(rng_, kind == Kind::kFat ? records::kFatRootId : records::kNtfsRootRecord,
                                                    kind == Kind::kFat ? 1000 : 100, kind);
    intent_ = std::make_unique<Intent>(volume_);
    Mount();
    FillRecords();
    BuildTree();
  }
  ~Session() { ResetEngine(); }

  // Runs the session: steps actions, each save compared with the model. The first mismatch ends it.
  Mismatch Run(Tally& tally) {
    const uint32_t steps = 5 + Below(rng_, 30);
    for (uint32_t step = 0; step < steps && result_ == Mismatch::kNone; ++step) Act(tally);
    if (result_ == Mismatch::kNone) Save(tally);
    return result_;
  }
  const std::string& Log() const { return log_; }

 private:
  static void ResetEngine() {
    BeginSave();
    RecoverySettings = RecoverySettingsRecord{};
    FileFilterTable = FileFilterTableRecord{};
    FreeScanRecordLists();
    FreeNtfsRecordLists();
    FreeFileTraceResultList();
    CurrentFileSystem = FileSystemRecord{};
    RecoveryMode = records::kQuickScan;
    SaveDestination.clear();
    LargeFileSize = 0;
    ScanThreadControl.stopFlag = 0;
  }

  results::ResultChecks Checks() { return results::ResultChecks(tree_, *records_, sets_); }
  uint32_t Root() const { return volume_.root; }

  void Note(const std::string& what) { log_ += "  " + what + "\n"; }

  // The volume's bytes as the source, and the current file system its parameters.
  void Mount() {
    mounted_.reset();
    if (kind_ == Kind::kFat) {
      save_test::FatVolume fat(1, 2 + static_cast<uint32_t>(volume_.files.size()) + 2, 1);
      for (const File& f : volume_.files) fat.PutChained({f.key}, f.data);
      mounted_ = fat.Mount();
    } else if (kind_ == Kind::kNtfs) {
      save_test::NtfsVolume ntfs(32);
      for (const File& f : volume_.files) {
        ntfs_test::RecordBuilder record;
        record.AddFileName(f.parent, f.name, 1);
        record.AddResident(0x80, u"", f.data);
        ntfs.PutRecord((f.key - 8) / 2, record.Protected());
      }
      mounted_ = ntfs.Mount();
    } else {
      Bytes bytes(64 * 512, 0);
      for (const File& hit : volume_.files) {
        std::copy(hit.data.begin(), hit.data.end(), bytes.begin() + static_cast<std::ptrdiff_t>(Sector(hit) * 512));
      }
      mounted_ = std::make_unique<save_test::MountedBytes>(bytes);
      CurrentFileSystem = FileSystemRecord{};
      CurrentFileSystem.type = records::kFat16;
    }
  }
  static uint32_t Sector(const File& hit) { return 2 * hit.key + 1; }

  void FillRecords() {
    if (kind_ == Kind::kFat) {
      RecoveryMode = records::kQuickScan;
      for (const Folder& f : volume_.folders) {
        AppendFatFolder(f.name, f.id, f.parent, 0, 0, host::kNoTreeKey, f.deleted ? 1 : 0);
      }
      for (const File& f : volume_.files) {
        AppendFatEntry(f.name, f.key, f.parent, 0, 0, static_cast<uint32_t>(f.data.size()), f.deleted ? 1 : 0);
        ++ScanCounters.entryCount;
      }
    } else if (kind_ == Kind::kNtfs) {
      RecoveryMode = records::kQuickScan;
      for (const Folder& f : volume_.folders) {
        AppendNtfsFolder(f.name, f.id, f.parent, 0, 0, host::kNoTreeKey, f.deleted ? 1 : 0);
      }
      for (const File& f : volume_.files) {
        AppendNtfsEntry(f.key, f.name, (f.key - 8) / 2, f.parent, 0, 0, f.deleted ? 1 : 0, f.data.size());
        ++ScanCounters.entryCount;
      }
    } else {
      RecoveryMode = records::kFileTrace;
      LargeFileSize = 1;
      for (const File& hit : volume_.files) AppendFileTraceHit(hit.name, hit.extension, hit.group, hit.key, Sector(hit));
    }
    records_ = results::EngineRecords();
  }

  // As a scan ends: the tree built from the records, the root listed.
  void BuildTree() {
    tree_.DeleteAllItems();
    if (kind_ == Kind::kTrace) {
      top_ = tree_.AddItem(u"Root", host::kNoTreeKey, host::TreeImage::kDrive, false);
      AddFileTraceGroups(top_);
    } else {
      top_ = tree_.AddItem(u"Disk", host::kNoTreeKey, host::TreeImage::kDrive, false);
      kind_ == Kind::kFat ? AddFatFolders(top_, Root()) : AddNtfsFolders(top_, Root());
    }
    List(top_);
  }

  // ---- the windows' part ----

  host::TreeKey NodeOfFolder(uint32_t id) const {
    if (id == Root()) return top_;
    if (kind_ == Kind::kFat) return FindFatFolder(id)->treeKey;
    return FindNtfsFolder(id)->treeKey;
  }
  std::vector<host::TreeKey> Nodes() const {
    std::vector<host::TreeKey> nodes;
    for (size_t i = 1; i <= tree_.nodes.size(); ++i) nodes.push_back(static_cast<host::TreeKey>(i));
    return nodes;
  }

  // A click on the node's label (ResultTreeCtrl::ListNode); File Filters' Close lists the root without the
  // NTFS step.
  void List(host::TreeKey node, bool ownFilesFollow = true) {
    listed_ = node;
    if (kind_ == Kind::kTrace) {
      const host::TreeKey parent = tree_.At(node).parent;
      const bool group = parent != host::kNoTreeKey && tree_.At(parent).parent == host::kNoTreeKey;
      ListFileTraceFolder(parent == host::kNoTreeKey ? u"Root" : tree_.At(node).text, group ? 1 : 0);
      return;
    }
    const uint32_t folder = records_->FolderOfNode(node).value_or(Root());
    kind_ == Kind::kFat ? ListFatFolder(folder) : ListNtfsFolder(folder);
    if (ownFilesFollow) Checks().OwnFilesFollowNode(node);
  }

  uint32_t IdColumn() const { return kind_ == Kind::kTrace ? 2 : 5; }
  results::RowKind RowKindOf(size_t row) const {
    const auto& r = list_.rows[row];
    return results::ClassifyRow(r.parent, r.texts.size() > 1 ? r.texts[1] : u"");
  }
  std::optional<uint32_t> RowId(size_t row) const {
    const auto& texts = list_.rows[row].texts;
    return texts.size() > IdColumn() ? results::ParseId(texts[IdColumn()]) : std::nullopt;
  }
  host::TreeKey GroupNode(const std::u16string& text) {
    for (host::TreeKey child : tree_.Children(top_)) {
      if (tree_.At(child).text == text) return child;
    }
    return host::kNoTreeKey;
  }
  // What the row's box shows (ResultListCtrl::RestoreChecks).
  bool Shown(size_t row) {
    const std::optional<uint32_t> id = RowId(row);
    if (kind_ == Kind::kTrace) {
      if (id) return Checks().FileRowChecked(*id);
      const host::TreeKey group = GroupNode(list_.rows[row].texts[0]);
      return sets_.checkedNodes.Contains(group);
    }
    if (!id) return false;
    return RowKindOf(row) == results::RowKind::kFolder ? Checks().FolderRowChecked(*id) : Checks().FileRowChecked(*id);
  }
  std::vector<bool> ShownRows() {
    std::vector<bool> shown;
    for (size_t row = 0; row < list_.rows.size(); ++row) {
      if (RowKindOf(row) != results::RowKind::kParent) shown.push_back(Shown(row));
    }
    return shown;
  }
  // The hits a File Trace node stands for (the top node: every group's).
  std::vector<uint32_t> HitsOf(host::TreeKey node) {
    if (node == top_) {
      std::vector<uint32_t> hits;
      for (host::TreeKey group : tree_.Children(top_)) {
        const std::vector<uint32_t> more = records_->HitsOf(tree_.At(group).text);
        hits.insert(hits.end(), more.begin(), more.end());
      }
      return hits;
    }
    return records_->HitsOf(tree_.At(node).text);
  }
  // A click on the row's box (ResultListCtrl::ToggleRowBox).
  void ClickRow(size_t row) {
    const bool checked = !Shown(row);
    const std::optional<uint32_t> id = RowId(row);
    if (kind_ == Kind::kTrace) {
      if (!id) {
        const host::TreeKey group = GroupNode(list_.rows[row].texts[0]);
        Checks().FileTraceNodeToggled(group, records_->HitsOf(tree_.At(group).text), checked);
        return;
      }
      Checks().FileRowToggled(*id, checked);
      // The group or type listed follows its hits (ResultTreeCtrl::TypeNodesFollowHits).
      if (listed_ == top_) return;
      const bool group = tree_.At(listed_).parent == top_;
      for (host::TreeKey type : group ? tree_.Children(listed_) : std::vector<host::TreeKey>{listed_}) {
        Checks().TypeNodeFollowsHits(type, records_->HitsOf(tree_.At(type).text));
      }
      return;
    }
    if (RowKindOf(row) == results::RowKind::kFolder) {
      Checks().FolderRowClicked(*id, checked);
    } else {
      Checks().FileRowClicked(*id, checked);
    }
  }
  // A click on the node's box, down and up (ResultTreeCtrl::ToggleBox, BoxReleased).
  void ClickBox(host::TreeKey node) {
    if (kind_ == Kind::kTrace) {
      Checks().FileTraceNodeToggled(node, HitsOf(node), Checks().FileTraceClickTicks(node));
      return;
    }
    Checks().ClickTreeBox(node);
    Checks().AncestorsFollowRows(node, listed_, results::SummarizeRows(ShownRows()));
  }

  // ---- the user's actions ----

  // A file row of the folder listed, to the state wanted.
  void FileRow(bool tick) {
    std::vector<size_t> rows;
    for (size_t row = 0; row < list_.rows.size(); ++row) {
      if (RowKindOf(row) == results::RowKind::kFile && RowId(row)) rows.push_back(row);
    }
    if (rows.empty()) return;
    const size_t row = rows[Below(rng_, static_cast<uint32_t>(rows.size()))];
    const File& file = FileOfId(*RowId(row));
    Note((tick ? "tick file " : "untick file ") + Path(file));
    if (Shown(row) != tick) ClickRow(row);
    intent_->MeanFile(file.key, tick);
  }

  // A folder row (File Trace: a group row) to the state wanted. Its box shows ticked only when all of it is;
  // one that shows unticked is clicked twice to untick all of it, ticked then unticked.
  void FolderRow(bool tick) {
    std::vector<size_t> rows;
    for (size_t row = 0; row < list_.rows.size(); ++row) {
      const bool group = kind_ == Kind::kTrace && !RowId(row) && GroupNode(list_.rows[row].texts[0]) != 0;
      if (group || (kind_ != Kind::kTrace && RowKindOf(row) == results::RowKind::kFolder)) rows.push_back(row);
    }
    if (rows.empty()) return;
    const size_t row = rows[Below(rng_, static_cast<uint32_t>(rows.size()))];
    const std::u16string name = list_.rows[row].texts[0];
    Note((tick ? "tick folder row " : "untick folder row ") + os::ToUtf8(name));
    const bool shown = Shown(row);
    if (shown != tick) ClickRow(row);
    if (!tick && !shown) {
      ClickRow(row);
      ClickRow(row);
    }
    if (kind_ == Kind::kTrace) {
      intent_->MeanHits(name, u"", tick);
    } else {
      intent_->MeanFolder(*records_->FolderOfNode(*RowId(row)), tick);
    }
  }

  // A node's box in the tree, clicked until it shows the state wanted, as a user clicks a half-ticked box.
  void TreeBox(bool tick) {
    const std::vector<host::TreeKey> nodes = Nodes();
    const host::TreeKey node = nodes[Below(rng_, static_cast<uint32_t>(nodes.size()))];
    Note((tick ? "tick box " : "untick box ") + os::ToUtf8(tree_.Path(node)));
    const CheckState wanted = tick ? CheckState::kChecked : CheckState::kUnchecked;
    for (int clicks = 0; clicks < 3 && tree_.GetState(node) != wanted; ++clicks) ClickBox(node);
    if (tree_.GetState(node) != wanted) {
      Fail(Mismatch::kDriver, "the box does not show what three clicks asked");
      return;
    }
    if (kind_ == Kind::kTrace) {
      const host::TreeKey parent = tree_.At(node).parent;
      if (node == top_) {
        intent_->MeanHits(u"", u"", tick);
      } else if (parent == top_) {
        intent_->MeanHits(tree_.At(node).text, u"", tick);
      } else {
        intent_->MeanHits(u"", tree_.At(node).text, tick);
      }
    } else {
      intent_->MeanFolder(records_->FolderOfNode(node).value_or(Root()), tick);
    }
  }

  void ListSomething() {
    const std::vector<host::TreeKey> nodes = Nodes();
    const host::TreeKey node = nodes[Below(rng_, static_cast<uint32_t>(nodes.size()))];
    Note("list " + os::ToUtf8(tree_.Path(node)));
    List(node);
  }

  // File Filters closed: the table replaced, the root listed again.
  void Filters() {
    static const std::vector<std::vector<std::u16string>> kChoices = {
        {}, {u"*.TXT"}, {u"IMG*"}, {u"*.DOC", u"*.BIN"}, {u"*.jpg"}, {u"1*", u"*.zip"}, {u"R*"}};
    filters_ = kChoices[Below(rng_, static_cast<uint32_t>(kChoices.size()))];
    std::string text;
    for (const std::u16string& p : filters_) text += " " + os::ToUtf8(p);
    Note("filters" + text);
    SetFileFilters(filters_);
    List(top_, false);
  }

  void DeletedPolicy() {
    RecoverySettings.deletedPolicy = static_cast<uint16_t>(1 + Below(rng_, 3));
    Note("deleted policy " + std::to_string(RecoverySettings.deletedPolicy));
  }

  // Back from page 4 and a scan of the same volume again: nothing stays ticked.
  void BackAndAgain() {
    Note("back and scan again");
    sets_.Clear();
    intent_->Forget();
    BuildTree();
  }

  // A snapshot saved and loaded again (the frame drops the ticks before the loader lists the root). It is
  // loaded with no source open, as from the shell, and the volume opened after: a loader checks the source
  // against real directories and signatures, which these volumes do not have.
  void Snapshot() {
    Note("snapshot saved and loaded");
    const std::u16string path = scratch_.path() + u"\\s" + os::Decimal(++saves_) + u".vsnp";
    frame_.savePath = path;
    frame_.savePathChosen = true;
    const uint32_t written = kind_ == Kind::kTrace ? SaveRecoverySnapshot() : SaveFileSystemSnapshot();
    sets_.Clear();
    intent_->Forget();
    mounted_.reset();
    const uint32_t loaded = written == 1 ? (kind_ == Kind::kTrace ? LoadSnapshotFlat(path) : LoadSnapshotTree(path)) : 0;
    if (loaded != 1) {
      std::string said;
      for (const auto& shown : messages_.shown) said += " \"" + os::ToUtf8(shown.text) + "\"";
      for (const auto& text : frame_.plainMessages) said += " \"" + os::ToUtf8(text) + "\"";
      Fail(Mismatch::kDriver, "the snapshot was not " + std::string(written == 1 ? "loaded:" : "saved:") + said);
      return;
    }
    Mount();
    if (kind_ == Kind::kTrace) {
      RecoveryMode = records::kFileTrace;
      LargeFileSize = 1;
    }
    records_ = results::EngineRecords();
    top_ = tree_.GetRootItem();
    List(top_);
  }

  // Find Files: a pattern searched, some matches ticked and saved into a folder of their own. Find lists what
  // the filters show, and its save writes every match ticked; the page's ticks stay as they were.
  void Find(Tally& tally) {
    static const char16_t* const kPatterns[] = {u"*.TXT", u"*", u"R*", u"*.JPG", u"I*"};
    const std::u16string pattern = Pick(rng_, kPatterns);
    Note("find " + os::ToUtf8(pattern));
    struct Collect : app::FindSink {
      void AddMatch(const app::FindMatch& match) override { ids.push_back(match.id); }
      std::vector<uint32_t> ids;
    } found;
    app::SearchFileRecords(app::CurrentFindSource(), pattern, [] { return false; }, found);
    std::set<uint32_t> listed, expectedListed;
    for (uint32_t id : found.ids) listed.insert(FileOfId(id).key);
    for (const File& f : volume_.files) {
      if (Intent::Matches(f.name, pattern) && Intent::Passes(f, filters_, 1)) expectedListed.insert(f.key);
    }
    ++tally.finds;
    if (listed != expectedListed) {
      Fail(Mismatch::kFiles, "Find lists other files than the filters show");
      return;
    }
    std::vector<uint32_t> ticked;
    std::vector<SavedFile> expected;
    for (uint32_t id : found.ids) {
      if (Below(rng_, 2) != 0) continue;
      ticked.push_back(id);
      const File& f = FileOfId(id);
      if (Intent::Passes(f, filters_, RecoverySettings.deletedPolicy)) expected.push_back({u"", f.name, f.data});
    }
    std::sort(expected.begin(), expected.end());
    const std::u16string out = Fresh();
    SaveFileIds(ticked);
    Judge(expected, WrittenUnder(out, SIZE_MAX), "Find's save");
  }

  // Recover Selected: the save sets from the tree's walk; nothing to save asks the user to tick instead.
  void Save(Tally& tally) {
    ++tally.saves;
    Note("recover selected");
    Checks().CollectSaveFolders();
    const size_t head = kind_ == Kind::kTrace ? 8 : SIZE_MAX;
    // File Trace's saver has no deleted-file policy: its hits are not deleted or live.
    const uint16_t policy = kind_ == Kind::kTrace ? 1 : RecoverySettings.deletedPolicy;
    const std::vector<SavedFile> expected = intent_->Saved(filters_, policy, head);
    if (sets_.saveFolders.empty() && sets_.saveFiles.empty()) {
      if (!intent_->Nothing()) Fail(expected.empty() ? Mismatch::kNone : Mismatch::kFiles, "nothing to save, the user meant" + Describe(expected));
      return;
    }
    const std::u16string out = Fresh();
    SaveSelected();
    Judge(expected, WrittenUnder(out, head), "the save");
    // A save leaves nothing ticked.
    intent_->Forget();
  }

  std::u16string Fresh() {
    BeginSave();
    SaveAbortFlag = 0;
    const std::u16string out = scratch_.path() + u"\\out" + os::Decimal(++saves_);
    EXPECT_TRUE(os::CreateFolder(out));
    SaveDestination = out;
    return out;
  }

  void Judge(const std::vector<SavedFile>& expected, const std::vector<SavedFile>& written, const std::string& what) {
    const Mismatch m = Compare(expected, written);
    if (m != Mismatch::kNone) Fail(m, what + " wrote" + Describe(written) + "\n    the user meant" + Describe(expected));
  }

  void Fail(Mismatch m, const std::string& why) {
    if (m == Mismatch::kNone || result_ != Mismatch::kNone) return;
    result_ = m;
    Note("MISMATCH: " + why);
  }

  void Act(Tally& tally) {
    switch (Below(rng_, 20)) {
      case 0: case 1: case 2: case 3: FileRow(true); break;
      case 4: case 5: FileRow(false); break;
      case 6: case 7: FolderRow(true); break;
      case 8: FolderRow(false); break;
      case 9: case 10: TreeBox(true); break;
      case 11: case 12: TreeBox(false); break;
      case 13: case 14: case 15: ListSomething(); break;
      case 16: Filters(); break;
      case 17: Below(rng_, 2) == 0 ? DeletedPolicy() : BackAndAgain(); break;
      case 18:
        if (kind_ == Kind::kTrace || Below(rng_, 2) == 0) {
          if (kind_ != Kind::kNtfs) Snapshot();
        } else {
          Find(tally);
        }
        break;
      default: Save(tally); break;
    }
  }

  const File& FileOfId(uint32_t id) const {
    uint32_t key = id;
    if (kind_ == Kind::kFat) key = FindFatEntry(id)->firstCluster;
    for (const File& f : volume_.files) {
      if (f.key == key) return f;
    }
    ADD_FAILURE() << "no file of id " << id;
    return volume_.files.front();
  }
  std::string Path(const File& f) const {
    std::u16string path = f.name;
    for (uint32_t at = f.parent; at != Root() && kind_ != Kind::kTrace; at = volume_.FolderOf(at)->parent) {
      path = volume_.FolderOf(at)->name + u"/" + path;
    }
    return os::ToUtf8(path);
  }

  Kind kind_;
  uint32_t seed_;
  std::mt19937 rng_;
  host::RecordingMessages messages_;
  host::RecordingSaveProgress saveDialog_;
  host::RecordingProgressDialog progress_;
  host::ScriptedSnapshotFrame frame_;
  host::RecordingScanPage scanPage_;
  results::MarkSets sets_;
  results_test::CheckingTree tree_;
  results_test::CheckingList list_;
  std::unique_ptr<host::ScopedHosts> installed_;
  save_test::ScratchFolder scratch_;
  Volume volume_;
  std::unique_ptr<Intent> intent_;
  std::unique_ptr<save_test::MountedBytes> mounted_;
  std::unique_ptr<results::ResultRecords> records_;
  host::TreeKey top_ = host::kNoTreeKey;
  host::TreeKey listed_ = host::kNoTreeKey;
  std::vector<std::u16string> filters_;
  uint32_t saves_ = 0;
  Mismatch result_ = Mismatch::kNone;
  std::string log_;
};

// Runs count sessions from the first seed; prints the tally; each failing session with its actions.
Tally RunSessions(Kind kind, uint32_t first, uint32_t count) {
  Tally tally;
  uint32_t shown = 0;
  for (uint32_t seed = first; seed < first + count; ++seed) {
    Session session(kind, seed);
    const Mismatch m = session.Run(tally);
    ++tally.sessions;
    if (m == Mismatch::kNone) continue;
    ++tally.sessionsWith[m];
    if (shown++ < 3) ADD_FAILURE() << "session " << seed << ":\n" << session.Log();
  }
  std::printf("%u sessions, %u saves, %u searches; mismatched sessions: %u files, %u layout, %u driver\n",
              tally.sessions, tally.saves, tally.finds, tally.sessionsWith[Mismatch::kFiles],
              tally.sessionsWith[Mismatch::kLayout], tally.sessionsWith[Mismatch::kDriver]);
  return tally;
}

// 3,300 sessions in shards of a few hundred, which run side by side: FAT and NTFS of Quick Scan, and File Trace
// (whose every hit is saved a megabyte long).
struct Shard {
  Kind kind;
  uint32_t firstSeed, count;
};

class TickSessions : public ::testing::TestWithParam<Shard> {};

TEST_P(TickSessions, SaveWhatTheUserMeant) {
  const Shard shard = GetParam();
  const Tally tally = RunSessions(shard.kind, shard.firstSeed, shard.count);
  EXPECT_EQ(tally.sessions, shard.count);
  EXPECT_GT(tally.saves, shard.count);
}

std::string ShardName(const ::testing::TestParamInfo<Shard>& info) {
  return "Seeds" + std::to_string(info.param.firstSeed) + "To" + std::to_string(info.param.firstSeed + info.param.count - 1);
}

INSTANTIATE_TEST_SUITE_P(Fat, TickSessions,
                         ::testing::Values(Shard{Kind::kFat, 1, 500}, Shard{Kind::kFat, 501, 500},
                                           Shard{Kind::kFat, 1001, 500}),
                         ShardName);
INSTANTIATE_TEST_SUITE_P(Ntfs, TickSessions,
                         ::testing::Values(Shard{Kind::kNtfs, 100001, 500}, Shard{Kind::kNtfs, 100501, 500},
                                           Shard{Kind::kNtfs, 101001, 500}),
                         ShardName);
INSTANTIATE_TEST_SUITE_P(FileTrace, TickSessions,
                         ::testing::Values(Shard{Kind::kTrace, 200001, 150}, Shard{Kind::kTrace, 200151, 150}),
                         ShardName);

// The sessions make and remove some hundred thousand small files and folders: in memory where the system
// offers a folder there.
class InMemoryScratch : public ::testing::Environment {
 public:
  void SetUp() override {
    if (std::getenv("TMPDIR") == nullptr && os::IsFolder(u"/dev/shm")) setenv("TMPDIR", "/dev/shm", 1);
  }
};
const auto* const kScratch = ::testing::AddGlobalTestEnvironment(new InMemoryScratch);

}  // namespace
