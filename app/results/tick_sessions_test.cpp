// Random sessions of a user on the results page, judged by a model of what the user meant, not of what the
// boxes show. The model knows only the user's actions: ticking a file means it, unticking a file does not,
// ticking a folder means every file beneath it (and every empty folder), unticking a folder none of them;
// filters, Find, listings, sorting, renames and the boxes' own states mean nothing. A save must write exactly
// the files meant, less what the file filters and the deleted-file policy keep from it, with their names
// whole ("Copy (n ) of" for files of one save that meet on one name, under every duplicate-name setting),
// where a placement judge of its own allows (saved_layout_judge.h: one common level, no folders merged, a
// folder ticked whole saved as itself); and the same ticks reached again file by file must save the same.
//
// The program's side is the real one: the check model (ResultChecks over the engine's records), the engine's
// tree builders, listers, Find search, snapshot writer and loader (an NTFS snapshot over its volume's MFT),
// the renaming of records, the lists' sort comparison and regrouping, and SaveSelected writing files read from
// a volume put together for the session; the windows are the engine's recording fakes. What the window
// classes add between a click and the check model is done here as they do it (a row's box shown from the
// marks, a click that flips it, the button-up rule of a tree box).
//
// Sessions are seeded: a failure names its seed and the actions that led to it. Each shard prints its tally:
// the sessions, the saves, searches, snapshots, renames and sorts, and the sessions that went wrong, by how.
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
#include "app/results/regroup_rows.h"
#include "app/results/result_checks.h"
#include "app/results/result_records.h"
#include "app/results/result_rows.h"
#include "app/results/result_test_tree.h"
#include "app/results/saved_layout_judge.h"
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
#include "ui/controls/sort_compare.h"

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
  uint64_t created = 0, modified = 0;  // FAT: two date words; NTFS: file times
  std::u16string onDisk;               // the name it was made with, before any rename
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

// A day of 1990 to 2029, as a FAT date word or, at a second of that day, as a file time.
uint64_t RandomTime(std::mt19937& rng, Kind kind) {
  const uint32_t year = 1990 + Below(rng, 40), month = 1 + Below(rng, 12), day = 1 + Below(rng, 28);
  if (kind == Kind::kFat) return ((year - 1980) << 9) | (month << 5) | day;
  os::SystemTime time;
  time.year = static_cast<uint16_t>(year);
  time.month = static_cast<uint16_t>(month);
  time.day = static_cast<uint16_t>(day);
  time.hour = static_cast<uint16_t>(Below(rng, 24));
  time.minute = static_cast<uint16_t>(Below(rng, 60));
  time.second = static_cast<uint16_t>(Below(rng, 60));
  os::FileTime at = 0;
  os::SystemTimeToFileTime(time, &at);
  return at;
}

// Folders nested up to three deep under the root, names repeating among them (two Old folders in different
// places), a live and a deleted folder of one name side by side at any level (a folder deleted and made again),
// either first in the records and the tree, empty folders, files of the same names in several folders, a file
// named as a folder beside it.
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
    if (!v.folders.empty() && Below(rng, 4) == 0) {
      const Folder& other = v.folders[Below(rng, static_cast<uint32_t>(v.folders.size()))];
      f.parent = other.parent;
      f.name = other.name;
      f.deleted = !other.deleted;
    } else {
      f.parent = parents[Below(rng, static_cast<uint32_t>(parents.size()))];
      f.name = Pick(rng, kFolderNames);
      f.deleted = Below(rng, 8) == 0;
    }
    depth[f.id] = depth[f.parent] + 1;
    v.folders.push_back(f);
  }
  uint32_t next = 0;
  std::vector<uint32_t> all{root};
  for (const Folder& f : v.folders) all.push_back(f.id);
  for (uint32_t folder : all) {
    for (uint32_t n = Below(rng, 5); n > 0; --n) {
      File file;
      // A cluster, or a record's sector (record 0 is the MFT's own).
      file.key = kind == Kind::kFat ? 2 + next : 8 + 2 * (next + 1);
      ++next;
      file.parent = folder;
      file.name = file.onDisk = Pick(rng, kFileNames);
      file.deleted = Below(rng, 5) == 0;
      file.data = Content(rng, file.key, kind == Kind::kFat ? 512 : 300);
      file.created = RandomTime(rng, kind);
      file.modified = RandomTime(rng, kind);
      v.files.push_back(file);
    }
  }
  // NTFS: some files have a second name (a hard link), listed under each: in their own folder or any other (the root
  // among them), half of them under the name they have in the first (one name in two folders, as Windows' system
  // folders share files).
  const size_t made = v.files.size();
  for (size_t i = 0; kind == Kind::kNtfs && i < made; ++i) {
    if (Below(rng, 5) != 0) continue;
    File link = v.files[i];
    link.parent = all[Below(rng, static_cast<uint32_t>(all.size()))];
    link.name = link.onDisk = Below(rng, 2) == 0 ? v.files[i].name : Pick(rng, kFileNames);
    if (link.parent == v.files[i].parent && link.name == v.files[i].name) continue;
    v.files.push_back(link);
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
  bool EmptyFolderMeant(uint32_t id) const { return emptyFolders_.count(id) != 0; }

  // What a save writes: the files meant, less those the filters and the deleted-file policy keep back, each
  // with the folders above it. File Trace's files are compared by their first bytes (each is LargeFileSize
  // long).
  std::vector<judge::Meant> Saved(const std::vector<std::u16string>& filters, uint16_t deletedPolicy, size_t head) const {
    std::vector<judge::Meant> saved;
    for (const File& f : v_.files) {
      if (!Meant(f.key) || !Passes(f, filters, deletedPolicy)) continue;
      judge::Meant m;
      for (uint32_t at = f.parent; at != v_.root && v_.FolderOf(at) != nullptr; at = v_.FolderOf(at)->parent) {
        m.folders.insert(m.folders.begin(), at);
        m.folderNames.insert(m.folderNames.begin(), v_.FolderOf(at)->name);
        m.folderDeleted.insert(m.folderDeleted.begin(), v_.FolderOf(at)->deleted);
      }
      m.name = f.name;
      m.deleted = f.deleted;
      m.data.assign(f.data.begin(), f.data.begin() + static_cast<std::ptrdiff_t>(std::min(head, f.data.size())));
      saved.push_back(std::move(m));
    }
    return saved;
  }
  // Each folder from under the root down to id.
  std::vector<uint32_t> Chain(uint32_t id) const {
    std::vector<uint32_t> chain;
    for (uint32_t at = id; at != v_.root && v_.FolderOf(at) != nullptr; at = v_.FolderOf(at)->parent) {
      chain.insert(chain.begin(), at);
    }
    return chain;
  }
  // The chains of the folders ticked: each file's meant and each top-most folder meant whole.
  std::vector<std::vector<uint32_t>> Ticked() const {
    std::vector<std::vector<uint32_t>> chains;
    for (const File& f : v_.files) {
      if (Meant(f.key)) chains.push_back(Chain(f.parent));
    }
    for (uint32_t top : WholeTops()) chains.push_back(Chain(top));
    return chains;
  }
  // The top-most folders meant whole.
  std::vector<uint32_t> WholeTops() const {
    std::vector<uint32_t> tops;
    for (const Folder& f : v_.folders) {
      if (Whole(f.id) && (f.parent == v_.root || !Whole(f.parent))) tops.push_back(f.id);
    }
    return tops;
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
  const Volume& v_;
  std::set<uint32_t> files_;
  std::set<uint32_t> emptyFolders_;
};

// How a save differed from the model: the files themselves, or only the folders they went into.
enum class Mismatch { kNone, kFiles, kLayout, kDriver };

// ---- a session ------------------------------------------------------------------------------------------------

struct Tally {
  uint32_t sessions = 0, saves = 0, finds = 0, replays = 0, snapshots = 0, renames = 0, sorts = 0;
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

  // The volume's bytes as the source, and the current file system its parameters. An NTFS volume's record 0
  // maps its MFT (from cluster 1), as a snapshot's loader reads it; its files keep the names they were made
  // with, whatever the user renamed them to.
  void Mount() {
    mounted_.reset();
    if (kind_ == Kind::kFat) {
      save_test::FatVolume fat(1, 2 + static_cast<uint32_t>(volume_.files.size()) + 2, 1);
      for (const File& f : volume_.files) fat.PutChained({f.key}, f.data);
      mounted_ = fat.Mount();
    } else if (kind_ == Kind::kNtfs) {
      save_test::NtfsVolume ntfs(32);
      ntfs_test::RecordBuilder mft;
      mft.AddFileName(records::kNtfsRootRecord, u"$MFT", 3);
      mft.AddNonResident(0x80, u"", save_test::RunList({{31, 1}}), 31 * 4096);
      ntfs.PutRecord(0, mft.Protected());
      // A file's record holds each of its names.
      std::map<uint32_t, std::vector<const File*>> names;
      for (const File& f : volume_.files) names[f.key].push_back(&f);
      for (const auto& [key, named] : names) {
        ntfs_test::RecordBuilder record;
        for (const File* f : named) record.AddFileName(f->parent, f->onDisk, 1);
        record.AddResident(0x80, u"", named.front()->data);
        ntfs.PutRecord((key - 8) / 2, record.Protected());
      }
      mounted_ = ntfs.Mount();
      CurrentFileSystem.mftSector = save_test::NtfsVolume::kSectorsPerCluster;
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
        AppendFatEntry(f.name, f.key, f.parent, static_cast<uint16_t>(f.created), static_cast<uint16_t>(f.modified),
                       static_cast<uint32_t>(f.data.size()), f.deleted ? 1 : 0);
        ++ScanCounters.entryCount;
      }
    } else if (kind_ == Kind::kNtfs) {
      RecoveryMode = records::kQuickScan;
      for (const Folder& f : volume_.folders) {
        AppendNtfsFolder(f.name, f.id, f.parent, 0, 0, host::kNoTreeKey, f.deleted ? 1 : 0);
      }
      std::map<uint32_t, int> names;
      for (const File& f : volume_.files) ++names[f.key];
      for (const File& f : volume_.files) {
        AppendNtfsEntry(f.key, f.name, (f.key - 8) / 2, f.parent, f.created, f.modified, f.deleted ? 1 : 0,
                        f.data.size()).linked = names[f.key] > 1;
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

  // The duplicate-name setting: it speaks of what the chosen folder held before the save, and every save here
  // goes to a new folder; files of one save that meet on one name are all saved whatever it says.
  void DuplicatePolicy() {
    RecoverySettings.duplicatePolicy = static_cast<uint16_t>(1 + Below(rng_, 3));
    Note("duplicate policy " + std::to_string(RecoverySettings.duplicatePolicy));
  }

  // A row of the folder listed renamed as the list's label edit does: a file (File Trace: a hit) or a folder,
  // to a name other files or folders may have too.
  void Rename(Tally& tally) {
    std::vector<size_t> rows;
    for (size_t row = 0; row < list_.rows.size(); ++row) {
      const results::RowKind kind = RowKindOf(row);
      if (RowId(row) && (kind == results::RowKind::kFile || (kind_ != Kind::kTrace && kind == results::RowKind::kFolder))) {
        rows.push_back(row);
      }
    }
    if (rows.empty()) return;
    ++tally.renames;
    const size_t row = rows[Below(rng_, static_cast<uint32_t>(rows.size()))];
    const uint32_t id = *RowId(row);
    const bool folder = RowKindOf(row) == results::RowKind::kFolder;
    std::u16string name = folder ? Pick(rng_, kFolderNames) : Pick(rng_, kFileNames);
    if (kind_ == Kind::kTrace) name = os::Decimal(Below(rng_, 4) + 1) + FileOfId(id).extension;
    Note("rename " + os::ToUtf8(list_.rows[row].texts[0]) + " to " + os::ToUtf8(name));
    // Of a file's several names, the one the row shows.
    const std::u16string shown = list_.rows[row].texts[0];
    list_.rows[row].texts[0] = name;
    if (folder) {
      tree_.nodes[id - 1].text = name;
      results::RenameFolderRecord(id, name);
      for (Folder& f : volume_.folders) {
        if (f.id == *records_->FolderOfNode(id)) f.name = name;
      }
      return;
    }
    const uint32_t listedFolder = kind_ == Kind::kTrace ? 0 : records_->FolderOfNode(listed_).value_or(Root());
    results::RenameFileRecord(id, name, shown, listedFolder);
    const uint32_t key = FileOfId(id).key;
    for (File& f : volume_.files) {
      if (f.key == key && (kind_ != Kind::kNtfs || (f.parent == listedFolder && f.name == shown))) f.name = name;
    }
  }

  // A column header clicked: the rows sorted by the column as the page sorts them (its comparison, the lists'
  // own dates), folders regrouped above files and "Parent..." first. The rows must then stand in the order of
  // what the records hold (names, sizes, times, ids), and clicks go on by row.
  void Sort(Tally& tally) {
    const int columns = kind_ == Kind::kTrace ? 3 : 6;
    const int column = static_cast<int>(Below(rng_, static_cast<uint32_t>(columns)));
    const bool ascending = Below(rng_, 2) == 0;
    const int type = results::ColumnSortType(column);
    Note("sort by column " + std::to_string(column) + (ascending ? " ascending" : " descending"));
    ++tally.sorts;
    auto& rows = list_.rows;
    const auto text = [column](const host::RecordingResultList::Row& r) {
      return static_cast<size_t>(column) < r.texts.size() ? r.texts[static_cast<size_t>(column)] : std::u16string();
    };
    std::stable_sort(rows.begin(), rows.end(), [&](const auto& a, const auto& b) {
      return ui::CompareSortTexts(text(a), text(b), ascending ? type : -type, ui::ParseListDate) < 0;
    });
    std::vector<results::RowNameType> kinds;
    for (const auto& r : rows) kinds.push_back({r.texts[0], r.texts.size() > 1 ? r.texts[1] : u"", r.parent});
    std::vector<host::RecordingResultList::Row> regrouped;
    for (size_t at : results::RegroupOrder(kinds)) regrouped.push_back(rows[at]);
    rows = regrouped;
    if (kind_ != Kind::kTrace && (column == 2 || column == 3 || column == 4)) CheckFileOrder(column, ascending);
  }

  // The file rows (after the folders) in the order of the records' sizes or times.
  void CheckFileOrder(int column, bool ascending) {
    std::vector<uint64_t> values;
    for (size_t row = 0; row < list_.rows.size(); ++row) {
      if (RowKindOf(row) != results::RowKind::kFile || !RowId(row)) continue;
      const File& f = FileOfId(*RowId(row));
      values.push_back(column == 2 ? f.data.size() : column == 3 ? f.created : f.modified);
    }
    if (!ascending) std::reverse(values.begin(), values.end());
    if (!std::is_sorted(values.begin(), values.end())) Fail(Mismatch::kDriver, "the rows are not in the order of the records");
  }

  // Back from page 4 and a scan of the same volume again: nothing stays ticked.
  void BackAndAgain() {
    Note("back and scan again");
    sets_.Clear();
    intent_->Forget();
    BuildTree();
  }

  // A snapshot saved and loaded again (the frame drops the ticks before the loader lists the root). A FAT or
  // File Trace snapshot is loaded with no source open, as from the shell, and the volume opened after: a
  // loader checks the source against real directories and signatures, which these volumes do not have. An
  // NTFS snapshot is loaded over its volume, whose MFT it maps and whose records it checks.
  void Snapshot(Tally& tally) {
    Note("snapshot saved and loaded");
    ++tally.snapshots;
    const std::u16string path = scratch_.path() + u"\\s" + os::Decimal(++saves_) + u".vsnp";
    frame_.savePath = path;
    frame_.savePathChosen = true;
    const uint32_t written = kind_ == Kind::kTrace ? SaveRecoverySnapshot() : SaveFileSystemSnapshot();
    sets_.Clear();
    intent_->Forget();
    if (kind_ != Kind::kNtfs) mounted_.reset();
    const uint32_t loaded = written == 1 ? (kind_ == Kind::kTrace ? LoadSnapshotFlat(path) : LoadSnapshotTree(path)) : 0;
    if (loaded != 1) {
      std::string said;
      for (const auto& shown : messages_.shown) said += " \"" + os::ToUtf8(shown.text) + "\"";
      for (const auto& text : frame_.plainMessages) said += " \"" + os::ToUtf8(text) + "\"";
      Fail(Mismatch::kDriver, "the snapshot was not " + std::string(written == 1 ? "loaded:" : "saved:") + said);
      return;
    }
    // The loader leaves the file system it read (an NTFS one with its MFT's map) and reopens the source.
    const FileSystemRecord loadedFileSystem = CurrentFileSystem;
    Mount();
    if (kind_ == Kind::kNtfs) CurrentFileSystem = loadedFileSystem;
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
    for (uint32_t id : found.ids) {
      if (Below(rng_, 2) == 0) ticked.push_back(id);
    }
    // What Find's save writes: the files ticked that the settings let through, in the chosen folder itself.
    Intent ticks(volume_);
    for (uint32_t id : ticked) ticks.MeanFile(FileOfId(id).key, true);
    const std::vector<judge::Meant> expected = ticks.Saved(filters_, RecoverySettings.deletedPolicy, SIZE_MAX);
    const std::u16string out = Fresh();
    SaveFileIds(ticked);
    const std::vector<judge::Written> written = judge::ReadWritten(out, SIZE_MAX);
    Judge(expected, written, std::nullopt, "Find's save");
    CheckTotalFiles(written, "Find's save");
    if (std::any_of(written.begin(), written.end(), [](const judge::Written& w) { return !w.folder.empty() || w.isFolder; })) {
      Fail(Mismatch::kLayout, "Find's save made a folder:" + judge::Describe(written));
    }
  }

  // Recover Selected: the save sets from the tree's walk; nothing to save asks the user to tick instead. A
  // save of folders and files is made again from the same ticks reached file by file, which must write the
  // same, name for name.
  void Save(Tally& tally) {
    ++tally.saves;
    Note("recover selected");
    Checks().CollectSaveFolders();
    const size_t head = kind_ == Kind::kTrace ? 8 : SIZE_MAX;
    // File Trace's saver has no deleted-file policy: its hits are not deleted or live.
    const uint16_t policy = kind_ == Kind::kTrace ? 1 : RecoverySettings.deletedPolicy;
    const std::vector<judge::Meant> expected = intent_->Saved(filters_, policy, head);
    if (sets_.saveFolders.empty() && sets_.saveFiles.empty()) {
      if (!intent_->Nothing() && !expected.empty()) Fail(Mismatch::kFiles, "nothing to save, the user meant some files");
      return;
    }
    const std::u16string out = Fresh();
    SaveSelected();
    const std::vector<judge::Written> written = judge::ReadWritten(out, head);
    Judge(expected, written, kind_ == Kind::kTrace ? std::nullopt : std::optional(intent_->WholeTops()), "the save");
    CheckTotalFiles(written, "the save");
    if (kind_ == Kind::kTrace) {
      if (std::any_of(written.begin(), written.end(), [](const judge::Written& w) { return !w.folder.empty(); })) {
        Fail(Mismatch::kLayout, "File Trace's save made a folder:" + judge::Describe(written));
      }
    } else if (result_ == Mismatch::kNone) {
      SaveAgainFileByFile(tally, written);
    }
    // A save leaves nothing ticked.
    intent_->Forget();
  }

  // The ticks the save just took, reached again by ticking each file meant on its folder's list and each empty
  // folder meant in the tree, with no filter hiding a row; then saved with the filters the user left on.
  void SaveAgainFileByFile(Tally& tally, const std::vector<judge::Written>& first) {
    ++tally.replays;
    const std::vector<std::u16string> filters = filters_;
    SetFileFilters({});
    for (uint32_t folder : AllFolders()) {
      List(NodeOfFolder(folder));
      for (size_t row = 0; row < list_.rows.size(); ++row) {
        const std::optional<uint32_t> id = RowId(row);
        if (RowKindOf(row) == results::RowKind::kFile && id && intent_->Meant(FileOfId(*id).key) && !Shown(row)) {
          ClickRow(row);
        }
      }
      if (volume_.IsEmptyLeaf(folder) && intent_->EmptyFolderMeant(folder)) {
        const host::TreeKey node = NodeOfFolder(folder);
        for (int clicks = 0; clicks < 3 && tree_.GetState(node) != CheckState::kChecked; ++clicks) ClickBox(node);
      }
    }
    SetFileFilters(filters);
    List(top_, false);
    Checks().CollectSaveFolders();
    const std::u16string again = Fresh();
    SaveSelected();
    const std::vector<judge::Written> second = judge::ReadWritten(again, SIZE_MAX);
    if (second != first) {
      Fail(Mismatch::kLayout, "the same ticks reached file by file saved" + judge::Describe(second) +
                                  "\n    where the user's clicks saved" + judge::Describe(first));
    }
  }

  std::vector<uint32_t> AllFolders() const {
    std::vector<uint32_t> all{Root()};
    for (const Folder& f : volume_.folders) all.push_back(f.id);
    return all;
  }

  std::u16string Fresh() {
    BeginSave();
    SaveAbortFlag = 0;
    const std::u16string out = scratch_.path() + u"\\out" + os::Decimal(++saves_);
    EXPECT_TRUE(os::CreateFolder(out));
    SaveDestination = out;
    return out;
  }

  // "Total Files" at the end of a save that wrote files: as many of as many as it wrote, each name of a file once.
  void CheckTotalFiles(const std::vector<judge::Written>& written, const std::string& what) {
    const auto files = std::count_if(written.begin(), written.end(), [](const judge::Written& w) { return !w.isFolder; });
    const std::u16string n = os::Decimal(static_cast<uint64_t>(files));
    if (files > 0 && saveDialog_.totalFiles != n + u" of " + n) {
      Fail(Mismatch::kFiles, what + ": \"Total Files\" shows " + os::ToUtf8(saveDialog_.totalFiles) + " after writing " +
                                 os::ToUtf8(n) + " files");
    }
  }

  // The files themselves first, then their names and, in a save of the tree (wholeTops given), their places.
  void Judge(const std::vector<judge::Meant>& expected, const std::vector<judge::Written>& written,
             const std::optional<std::vector<uint32_t>>& wholeTops, const std::string& what) {
    std::string problem = judge::Files(expected, written);
    if (!problem.empty()) {
      Fail(Mismatch::kFiles, what + ": " + problem + "\n    it wrote" + judge::Describe(written));
      return;
    }
    problem = judge::Names(expected, written);
    if (problem.empty() && wholeTops) problem = judge::Placement(expected, written, *wholeTops, intent_->Ticked());
    if (!problem.empty()) Fail(Mismatch::kLayout, what + ": " + problem + "\n    it wrote" + judge::Describe(written));
  }

  void Fail(Mismatch m, const std::string& why) {
    if (m == Mismatch::kNone || result_ != Mismatch::kNone) return;
    result_ = m;
    Note("MISMATCH: " + why);
  }

  void Act(Tally& tally) {
    switch (Below(rng_, 24)) {
      case 0: case 1: case 2: case 3: FileRow(true); break;
      case 4: case 5: FileRow(false); break;
      case 6: case 7: FolderRow(true); break;
      case 8: FolderRow(false); break;
      case 9: case 10: TreeBox(true); break;
      case 11: case 12: TreeBox(false); break;
      case 13: case 14: case 15: ListSomething(); break;
      case 16: Filters(); break;
      case 17: Below(rng_, 2) == 0 ? DeletedPolicy() : BackAndAgain(); break;
      case 18: kind_ == Kind::kTrace || Below(rng_, 2) == 0 ? Snapshot(tally) : Find(tally); break;
      case 19: Rename(tally); break;
      case 20: Sort(tally); break;
      case 21: DuplicatePolicy(); break;
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
  std::printf("%u sessions, %u saves (%u made again file by file), %u searches, %u snapshots, %u renames, %u sorts; "
              "mismatched sessions: %u files, %u layout, %u driver\n",
              tally.sessions, tally.saves, tally.replays, tally.finds, tally.snapshots, tally.renames, tally.sorts,
              tally.sessionsWith[Mismatch::kFiles], tally.sessionsWith[Mismatch::kLayout],
              tally.sessionsWith[Mismatch::kDriver]);
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
