#include "engine/listing/results_listing.h"

#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "engine/fat/fat_time.h"
#include "engine/host/result_tree_host.h"
#include "engine/host/shell_file_info_host.h"
#include "engine/records/fat_records.h"
#include "engine/records/file_trace_hits.h"
#include "engine/records/ntfs_records.h"
#include "engine/records/scan_parameters.h"
#include "engine/listing/file_filter_table.h"
#include "engine/listing/file_name_case.h"
#include "engine/listing/result_list_rows.h"
#include "platform/os/os.h"

void (*NtfsFoundFolderLister)(uint32_t folderId) = nullptr;

namespace {

constexpr char16_t kNoValue[] = u"-";

using os::Decimal;

std::u16string_view Trimmed(std::u16string_view text) {
  constexpr std::u16string_view kSpace = u" \t\n\v\f\r";
  const size_t first = text.find_first_not_of(kSpace);
  if (first == std::u16string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kSpace) - first + 1);
}

void FocusTree() {
  if (host::ResultTreeHost* tree = host::Current().resultTree) tree->SetFocus();
}

using DateTexts = std::pair<std::u16string, std::u16string>;

// Columns 3 and 4 of a FAT record: its two date words.
struct FatDates {
  template <typename Record>
  DateTexts operator()(const Record& r) const {
    return {FatDateText(r.firstDateWord), FatDateText(r.secondDateWord)};
  }
};

// Columns 3 and 4 of an NTFS record: its creation and modification times.
struct NtfsTimes {
  template <typename Record>
  DateTexts operator()(const Record& r) const {
    return {FileTimeText(r.creationTime), FileTimeText(r.modificationTime)};
  }
};

// The rows of one FAT or NTFS folder after its "Parent..." row: its folders, then its files. The size
// column holds the whole size, 64 bits for NTFS.
template <typename Folder, typename Entry, typename Dates>
void AddFolderContents(ResultListRows& rows, uint32_t folderId, const records::RecordList<Folder>& folders,
                       const records::RecordList<Entry>& entries, Dates dates) {
  for (const Folder& folder : folders) {
    if (folder.parentId != folderId) continue;
    auto [first, second] = dates(folder);
    rows.AddFolder(folder.name, {folder.deleted != 0 ? u"Deleted Folder" : u"Folder", u"0", std::move(first),
                                 std::move(second), Decimal(folder.treeKey)});
  }
  for (const Entry& entry : entries) {
    if (entry.parentId != folderId || !PassesFileFilters(entry.name)) continue;
    auto [first, second] = dates(entry);
    rows.AddFile(entry.name, {rows.FileType(entry.name, entry.deleted == 1), Decimal(entry.size), std::move(first),
                              std::move(second), Decimal(entry.id)});
  }
}

// Case-insensitive keys, as the results tree compares group and type texts.
std::u16string CaseKey(std::u16string_view text) { return file_name::UpperCase(text); }

void AddHitRow(ResultListRows& rows, const FileTraceHit& hit) {
  rows.AddFile(hit.fileName, {rows.FileType(hit.fileName, false), Decimal(hit.id)});
}

// One folder row per group, in the order the groups first appear; key decides which texts are the same
// group. The list was emptied first, so the groups already added are exactly the rows it holds.
template <typename Key>
void AddGroupRows(ResultListRows& rows, Key key) {
  std::unordered_set<std::u16string> added;
  records::GuardAllocation([&] {
    for (const FileTraceHit& hit : FileTraceHitList) {
      if (added.insert(key(hit.group)).second) rows.AddFolder(hit.group, {kNoValue, kNoValue});
    }
  });
}

}  // namespace

void ListFatFolder(uint32_t folderId) {
  ResultListRows rows;
  if (folderId != records::kFatRootId) rows.AddParentRow();
  AddFolderContents(rows, folderId, FatFolderList, FatEntryList, FatDates());
  if (folderId != records::kFatRootId) rows.CheckFirstRow();
  FocusTree();
}

void ListNtfsFolder(uint32_t folderId) {
  ResultListRows rows;
  if (RecoveryMode == records::kExtensiveScan && CurrentFileSystem.type == records::kNtfs) {
    if (NtfsFoundFolderLister != nullptr) NtfsFoundFolderLister(folderId);
    return;
  }
  if (folderId != records::kNtfsRootRecord) rows.AddParentRow();
  AddFolderContents(rows, folderId, NtfsFolderList, NtfsEntryList, NtfsTimes());
  FocusTree();
}

void ListFileTraceFolder(std::u16string_view label, uint32_t byGroup) {
  ResultListRows rows;
  if (byGroup == 0 && CaseKey(label) == CaseKey(u"Root")) {
    AddGroupRows(rows, [](const std::u16string& group) { return std::u16string(Trimmed(group)); });
  } else if (byGroup == 0) {
    const std::u16string extension = CaseKey(label);
    for (const FileTraceHit& hit : FileTraceHitList) {
      if (CaseKey(hit.extension) == extension && PassesFileFilters(hit.fileName)) AddHitRow(rows, hit);
    }
  } else {
    for (const FileTraceHit& hit : FileTraceHitList) {
      if (Trimmed(hit.group) == label && PassesFileFilters(hit.fileName)) AddHitRow(rows, hit);
    }
  }
  FocusTree();
}

void ListFileTraceGroups() {
  ResultListRows rows;
  AddGroupRows(rows, [](const std::u16string& group) { return CaseKey(group); });
}
