// What the results tree and list ask of the engine's record lists, behind a small interface so that the
// check model is tested over hand-made records. EngineRecords() answers from the lists of the current
// result (FAT, NTFS Quick Scan, NTFS Extensive Scan or File Trace).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "engine/host/host.h"

namespace results {

enum class ResultKind { kNone, kFat, kNtfs, kFileTrace };

class ResultRecords {
 public:
  virtual ~ResultRecords() = default;
  virtual ResultKind Kind() const = 0;
  // The id the root's files carry as parent: 0 (FAT) or 5 (NTFS).
  virtual uint32_t RootFolderId() const = 0;
  // The id of the folder record that holds node; none when no record holds it.
  virtual std::optional<uint32_t> FolderOfNode(host::TreeKey node) const = 0;
  // The node of the folder record with that id (kNoTreeKey when none).
  virtual host::TreeKey NodeOfFolder(uint32_t folderId) const = 0;
  // The parent id of the folder record with that id.
  virtual std::optional<uint32_t> ParentOfFolder(uint32_t folderId) const = 0;
  // The parent ids of the file record with that id: none, one, or for an NTFS file with several names (hard
  // links) the folder of each, in list order.
  virtual std::vector<uint32_t> ParentsOfFile(uint32_t fileId) const = 0;
  // The ids of the file records whose parent is one of folderIds, in record-list order.
  virtual std::vector<uint32_t> FilesOf(const std::unordered_set<uint32_t>& folderIds) const = 0;
  // File Trace: the ids of the hits of a group or type node's text (any case).
  virtual std::vector<uint32_t> HitsOf(std::u16string_view label) const = 0;
};

std::unique_ptr<ResultRecords> EngineRecords();

// Gives the engine record behind a row its new name (a fresh copy): a file row by its record id (of an NTFS
// file's several names, the one the row showed: shown, in the folder listed), a folder row by its node. False
// when no record is found.
bool RenameFileRecord(uint32_t id, const std::u16string& name, const std::u16string& shown = {},
                      std::optional<uint32_t> folder = std::nullopt);
bool RenameFolderRecord(host::TreeKey node, const std::u16string& name);

// The bytes of the current result's file records whose id marked answers true for, added up in 64 bits.
uint64_t MarkedFilesSize(const std::function<bool(uint32_t id)>& marked);

// The creation and modification texts of the folder record behind a node (FAT: its two dates).
void FolderTimes(host::TreeKey node, std::u16string& created, std::u16string& modified);

}  // namespace results
