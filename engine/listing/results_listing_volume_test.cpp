// The listers over the record lists a Quick Scan fills from real volumes, against what TSK (and ntfs-3g for
// sizes TSK cannot read) lists in each folder: make_listing_volume.py writes that, and the sparse NTFS
// volume whose files are 4 GiB and larger.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "engine/image/disk_image.h"
#include "engine/image/read_sectors.h"
#include "engine/image/source_values.h"
#include "engine/records/fat_records.h"
#include "engine/records/ntfs_records.h"
#include "engine/records/scan_control.h"
#include "engine/records/scan_parameters.h"
#include "engine/listing/file_filter_table.h"
#include "engine/listing/file_name_case.h"
#include "engine/listing/listing_test_support.h"
#include "engine/listing/results_listing.h"
#include "engine/scan/quick_scan.h"
#include "engine/scan/results_tree_build.h"
#include "platform/os/os.h"

namespace {

struct ExpectedEntry {
  std::u16string folder;  // "" for the root
  std::u16string name;
  bool dir = false;
  bool deleted = false;
  uint64_t size = 0;
  std::u16string created, modified;  // "-": TSK gives none, or the volume never set it: the list shows none
};

struct ExpectedVolume {
  std::string image;
  uint16_t code = 0;
  uint32_t sectors = 0;
  std::vector<ExpectedEntry> entries;
  bool fat() const { return code != records::kNtfs; }
};

std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1) {
    fields.push_back(line.substr(start, tab - start));
  }
  fields.push_back(line.substr(start));
  return fields;
}

std::vector<ExpectedVolume> ExpectedVolumes() {
  std::ifstream in(DORVANE_LISTING_EXPECTED);
  EXPECT_TRUE(in.good()) << "missing " << DORVANE_LISTING_EXPECTED;
  std::vector<ExpectedVolume> volumes;
  for (std::string line; std::getline(in, line);) {
    const std::vector<std::string> f = Split(line);
    if (f.size() == 4 && f[0] == "#volume") {
      volumes.push_back({f[1], static_cast<uint16_t>(std::stoul(f[2])), static_cast<uint32_t>(std::stoul(f[3])), {}});
    } else if (f.size() == 8 && !volumes.empty()) {
      volumes.back().entries.push_back({os::FromUtf8(f[1]), os::FromUtf8(f[2]), f[3] == "D", f[4] == "1",
                                        std::stoull(f[5]), os::FromUtf8(f[6]), os::FromUtf8(f[7])});
    }
  }
  return volumes;
}

// The listing volume lies beside the expectations; the others are shared images.
std::u16string ImagePath(const std::string& image) {
  std::string own = DORVANE_LISTING_EXPECTED;
  own = own.substr(0, own.find_last_of("/\\") + 1) + image;
  if (os::FileExists(os::FromUtf8(own))) return os::FromUtf8(own);
  return os::FromUtf8(std::string(DORVANE_SHARED_IMAGES) + "/" + image);
}

bool IsShortName(const std::u16string& name) {
  const size_t dot = name.find(u'.');
  const size_t stem = dot == std::u16string::npos ? name.size() : dot;
  if (stem < 1 || stem > 8) return false;
  if (dot == std::u16string::npos) return true;
  const size_t extension = name.size() - dot - 1;
  return extension >= 1 && extension <= 3 && name.find(u'.', dot + 1) == std::u16string::npos;
}

// TSK writes a deleted FAT short name with "_" first, and an 8.3 name in the case its NT flags give.
bool NamesMatch(const std::u16string& tsk, const std::u16string& shown, bool deleted, bool fat) {
  if (tsk == shown) return true;
  if (!fat || !IsShortName(tsk)) return false;
  const std::u16string a = file_name::UpperCase(tsk), b = file_name::UpperCase(shown);
  if (deleted && tsk[0] == u'_' && a.size() == b.size()) return a.compare(1, a.npos, b, 1, b.npos) == 0;
  return a == b;
}

std::string Utf8(const std::u16string& text) { return os::ToUtf8(text); }

class VolumeListing : public listing_test::ListingTest {
 protected:
  ~VolumeListing() override { SetCurrentDiskImage(nullptr); }

  // A Quick Scan of the volume, as the scan page runs it.
  bool Scan(const ExpectedVolume& volume) {
    image_.CreateReader(kImageVhd);
    if (!image_.Open(ImagePath(volume.image))) return false;
    ImageFormat = 0;
    CurrentDriveIndex = 0;
    SourceKind = kSourceDisk;
    SetCurrentDiskImage(&image_);
    RecoveryMode = records::kQuickScan;
    ScanRange = ScanRangeRecord{volume.code, 0, volume.sectors, volume.sectors - 1, 0};
    ScanThreadControl.stopFlag = 0;
    ScanThreadControl.runningFlag = 1;
    // The scan lists the root when it ends, through the listers the program installs.
    ResultListers = ResultListersRecord{ListFatFolder, ListNtfsFolder};
    const uint32_t scanned = QuickScanThread();
    ResultListers = ResultListersRecord{};
    return scanned == 1;
  }

  // The id of the folder record at path, found component by component from the root as the tree shows
  // them; false when one is missing.
  bool FolderId(const ExpectedVolume& volume, const std::u16string& path, uint32_t* id) {
    *id = volume.fat() ? records::kFatRootId : records::kNtfsRootRecord;
    size_t start = 0;
    while (start < path.size()) {
      size_t end = path.find(u'/', start);
      if (end == std::u16string::npos) end = path.size();
      const std::u16string part = path.substr(start, end - start);
      const std::u16string sofar = path.substr(0, end);
      const bool deleted = std::any_of(volume.entries.begin(), volume.entries.end(), [&](const ExpectedEntry& e) {
        return e.dir && e.deleted && (e.folder.empty() ? e.name : e.folder + u"/" + e.name) == sofar;
      });
      bool found = false;
      if (volume.fat()) {
        for (const FatFolderRecord& f : FatFolderList) {
          if (f.parentId == *id && NamesMatch(part, f.name, deleted, true)) {
            *id = f.firstCluster;
            found = true;
            break;
          }
        }
      } else {
        for (const NtfsFolderRecord& f : NtfsFolderList) {
          if (f.parentId == *id && f.name == part) {
            *id = f.recordNumber;
            found = true;
            break;
          }
        }
      }
      if (!found) return false;
      start = end + 1;
    }
    return true;
  }

  void List(const ExpectedVolume& volume, uint32_t id) {
    if (volume.fat()) {
      ListFatFolder(id);
    } else {
      ListNtfsFolder(id);
    }
  }

  // What differs between the rows listed for a folder and what TSK lists there; row 0 is "Parent..."
  // below the root.
  std::vector<std::string> Differences(const ExpectedVolume& volume, const std::u16string& folder) {
    std::vector<std::string> problems;
    const bool root = folder.empty();
    std::vector<bool> used(list.GetItemCount(), false);
    if (!root) {
      if (list.GetItemCount() == 0 || list.GetItemText(0, 0) != u"Parent...") {
        return {"no Parent... row"};
      }
      if (list.rows[0].checked != volume.fat()) problems.push_back("Parent... row checked wrongly");
      used[0] = true;
    } else if (list.GetItemCount() > 0 && list.GetItemText(0, 0) == u"Parent...") {
      problems.push_back("Parent... row in the root");
    }
    for (const ExpectedEntry& e : volume.entries) {
      if (e.folder != folder) continue;
      uint32_t row = 0;
      for (; row < list.GetItemCount(); ++row) {
        const bool dirRow = list.GetItemText(row, 1).find(u"Folder") != std::u16string::npos;
        if (!used[row] && dirRow == e.dir && NamesMatch(e.name, list.GetItemText(row, 0), e.deleted, volume.fat())) break;
      }
      if (row == list.GetItemCount()) {
        problems.push_back("missing " + Utf8(e.name));
        continue;
      }
      used[row] = true;
      const std::u16string shown = list.GetItemText(row, 0);
      std::u16string type = e.dir ? (e.deleted ? u"Deleted Folder" : u"Folder")
                                  : (e.deleted ? u"Deleted " : u"") + shell.GetFileTypeName(shown);
      std::vector<std::u16string> want = {shown, type, e.dir ? u"0" : os::FromAscii(std::to_string(e.size)),
                                          e.created, e.modified};
      for (uint32_t column = 1; column < 5; ++column) {
        if (want[column] == u"-") want[column].clear();
        if (list.GetItemText(row, column) != want[column]) {
          problems.push_back(Utf8(e.name) + " column " + std::to_string(column) + ": " +
                             Utf8(list.GetItemText(row, column)) + " instead of " + Utf8(want[column]));
        }
      }
      CheckId(volume, row, e.dir, problems);
    }
    for (uint32_t row = 0; row < list.GetItemCount(); ++row) {
      const std::u16string name = list.GetItemText(row, 0);
      // The NTFS root also shows the metafiles and the folder "Lost Dir" the scan adds.
      const bool ntfsRootExtra = !volume.fat() && root && (name[0] == u'$' || name == u"Lost Dir");
      if (!used[row] && !ntfsRootExtra) problems.push_back("extra " + Utf8(name));
      // No volume holds times of the folder the scan adds: it shows none.
      if (!used[row] && name == u"Lost Dir" && (!list.GetItemText(row, 3).empty() || !list.GetItemText(row, 4).empty())) {
        problems.push_back("Lost Dir shows times");
      }
    }
    return problems;
  }

  // A folder row's id is its node in the results tree; a file row's the id of its record.
  void CheckId(const ExpectedVolume& volume, uint32_t row, bool dir, std::vector<std::string>& problems) {
    const std::u16string name = list.GetItemText(row, 0);
    const uint32_t id = static_cast<uint32_t>(std::stoul(Utf8(list.GetItemText(row, 5))));
    bool ok = false;
    if (dir) {
      ok = id >= 1 && id <= tree.nodes.size() && tree.At(id).text == name;
    } else if (volume.fat()) {
      const FatEntryRecord* entry = FindFatEntry(id);
      ok = entry != nullptr && entry->name == name;
    } else {
      // The names of a file with hard links share its id.
      for (const NtfsEntryRecord* entry : FindNtfsEntries(id)) ok = ok || entry->name == name;
    }
    if (!ok) problems.push_back(Utf8(name) + ": id " + std::to_string(id) + " names another item");
  }

  DiskImage image_;
};

TEST_F(VolumeListing, EveryFolderListsWhatTskListsThere) {
  const std::vector<ExpectedVolume> volumes = ExpectedVolumes();
  ASSERT_EQ(volumes.size(), 4u);
  uint64_t largest = 0;
  for (const ExpectedVolume& volume : volumes) {
    SCOPED_TRACE(volume.image);
    ResetState();
    tree.DeleteAllItems();
    ASSERT_TRUE(Scan(volume));
    EXPECT_EQ(Differences(volume, u""), std::vector<std::string>{}) << "the root as the scan listed it";
    std::set<std::u16string> folders = {u""};
    for (const ExpectedEntry& e : volume.entries) {
      if (e.dir) folders.insert(e.folder.empty() ? e.name : e.folder + u"/" + e.name);
      if (!e.dir) largest = std::max(largest, e.size);
    }
    for (const std::u16string& folder : folders) {
      SCOPED_TRACE("/" + Utf8(folder));
      uint32_t id = 0;
      ASSERT_TRUE(FolderId(volume, folder, &id));
      List(volume, id);
      EXPECT_EQ(Differences(volume, folder), std::vector<std::string>{});
    }
  }
  EXPECT_GT(largest, 0xFFFFFFFFull);  // a size above 32 bits was compared
}

TEST_F(VolumeListing, TheTxtFilterKeepsEveryFolderAndOnlyTextFiles) {
  size_t hidden = 0;
  for (const ExpectedVolume& volume : ExpectedVolumes()) {
    SCOPED_TRACE(volume.image);
    ResetState();
    tree.DeleteAllItems();
    ASSERT_TRUE(Scan(volume));
    for (const std::u16string folder : {u"", u"Documents", u"Nested"}) {
      uint32_t id = 0;
      if (!FolderId(volume, folder, &id)) continue;
      FileFilterTable = FileFilterTableRecord{};
      List(volume, id);
      std::vector<std::u16string> kept;
      for (uint32_t row = 0; row < list.GetItemCount(); ++row) {
        const std::u16string name = list.GetItemText(row, 0);
        const std::u16string upper = file_name::UpperCase(name);
        const bool folderRow = list.GetItemText(row, 1).find(u"Folder") != std::u16string::npos;
        const bool parentRow = row == 0 && !folder.empty();
        const bool text = upper.size() > 4 && upper.compare(upper.size() - 4, 4, u".TXT") == 0;
        if (folderRow || parentRow || text) kept.push_back(name);
      }
      hidden += list.GetItemCount() - kept.size();
      ASSERT_TRUE(SetFileFilters({u"*.TXT"}));
      List(volume, id);
      EXPECT_EQ(Column(0), kept) << Utf8(folder);
    }
  }
  EXPECT_GT(hidden, 0u);
}

}  // namespace
