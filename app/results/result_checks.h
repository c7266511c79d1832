// The check model of the results tree and list: tri-state boxes on the folder nodes, kept in step with the
// marks of the files (MarkSets) and with what Save takes. The tree is any app::CheckTree (the window's
// tree control, or a plain tree in the tests) that answers FirstChild(0) with its first top-level node; the
// files come from ResultRecords.
//
// The top node stands for the root folder: its own files are the files whose parent is the root id. When
// the top node is ticked as a whole, the root's files enter the save set one by one, since the save walk
// never returns the top node itself (it returns the top-most checked folders below it); so ticking the top
// node saves the root's files once and every folder below once.
#pragma once

#include <cstdint>
#include <optional>
#include <unordered_set>
#include <vector>

#include "app/logic/check_tree.h"
#include "app/results/mark_sets.h"
#include "app/results/result_records.h"
#include "app/results/result_rows.h"

namespace results {

using Item = app::CheckTree::Item;
using app::CheckState;

class ResultChecks {
 public:
  ResultChecks(app::CheckTree& tree, const ResultRecords& records, MarkSets& sets)
      : tree_(tree), records_(records), sets_(sets) {}

  // One node's box (the node joins or leaves the checked-node sets with it).
  void SetTreeCheck(Item node) { Show(node, CheckState::kChecked); }
  void ClearTreeCheck(Item node) { Show(node, CheckState::kUnchecked); }
  void SetTreePartial(Item node) { Show(node, CheckState::kPartly); }

  // The node and every node beneath it, then each ancestor recomputed from its children and its files.
  void SetTreeCheckDeep(Item node, bool on);
  // An unchecked node is checked deeply; a checked or partly checked one unchecked deeply.
  void ToggleTreeCheck(Item node);
  // The node and every node beneath it unchecked (ancestors untouched).
  void ClearChecks(Item node);

  // The node and every node beneath it enter the checked folders, and the files of all those folders the
  // file marks (the top node's root files also the save set). Unmark reverses it and also takes the files
  // out of the save set.
  void MarkFolderFiles(Item node);
  void UnmarkFolderFiles(Item node);
  // Only the node's own files enter or leave the file marks.
  void MarkFolderOwnFiles(Item node);
  void UnmarkFolderOwnFiles(Item node);

  // A click on a node's box in the tree; answers whether anything changed.
  bool ClickTreeBox(Item node);
  // FAT, once the button is up after a click on the node's box, by the rows of the folder listed (listed:
  // its node), which speak for the node only when they list it or its parent: rows neither all checked nor
  // all unchecked make every ancestor from the node's parent up to the top node show partly checked (none
  // when the parent is the top node); otherwise the node's own box is shown again from its state.
  void AncestorsFollowRows(Item node, Item listed, RowsState rows);

  // A file row's box toggled to checked: the id enters (else leaves) the file marks and the save set.
  void FileRowToggled(uint32_t fileId, bool checked);
  // A folder row's box toggled to checked: its node is checked (else unchecked) deeply with its files.
  void FolderRowToggled(Item node, bool checked);
  // A file row's box (FAT, NTFS) clicked to checked or not: the file's marks, then the folder listed.
  void FileRowClicked(uint32_t fileId, bool checked);
  // A folder row's box clicked to checked or not: the folder deeply, then the folder listed.
  void FolderRowClicked(Item node, bool checked);
  // NTFS, when the node is listed or its button clicked: a ticked folder's own files show ticked, an unticked
  // one's unticked; a half-ticked one keeps them.
  void OwnFilesFollowNode(Item node);
  // After a row's box changed in the listing of folderId (the top node when no record has that id): the
  // folder's node shows what its files and subfolders hold, and so do its ancestors.
  void UpdateFolderFromRows(uint32_t folderId);
  // File Trace: a type node follows its hits (all of them, whether a filter shows them or not): checked
  // when all are ticked, unchecked when none is, partly checked otherwise; its group and the top node
  // then follow their children.
  void TypeNodeFollowsHits(Item node, const std::vector<uint32_t>& hits);
  // File Trace: a group or type node ticked or unticked deeply with its hits.
  void FileTraceNodeToggled(Item node, const std::vector<uint32_t>& hits, bool checked);
  // File Trace: whether a click on the node's box ticks it: an unticked node, or a ticked or half-ticked one
  // with a child not ticked; a node whose children are all ticked is unticked.
  bool FileTraceClickTicks(Item node) const;

  // Save's walk: the save folders are refilled with the top-most checked folders below the top node, the
  // files of every folder saved whole leave the save set, and the files shown ticked in the folders walked
  // through (the top node's and those partly ticked) join it. Answers the folders in tree order.
  std::vector<Item> CollectSaveFolders();

  // Whether a listed row shows checked: a folder row by its node, a file row by its record id.
  bool FolderRowChecked(Item node) const { return sets_.checkedFolders.Contains(Key(node)); }
  bool FileRowChecked(uint32_t id) const { return sets_.fileMarks.Contains(id); }

  bool IsTop(Item node) const { return node != 0 && tree_.Parent(node) == 0; }
  Item Top() const;

 private:
  static uint32_t Key(Item node) { return static_cast<uint32_t>(node); }
  void Show(Item node, CheckState state);
  // The folder id whose files are the node's own: its record's, or the root's for the top node.
  std::optional<uint32_t> FolderIdOf(Item node) const;
  std::vector<Item> Subtree(Item node) const;
  bool AllChildren(Item node, CheckState state) const;
  // Of the folder's own files: whether all are ticked (so for a folder without files) and whether any is.
  struct OwnMarks {
    bool all = true;
    bool any = false;
  };
  OwnMarks OwnFileMarks(Item node) const;
  // Checked when all its files are ticked and all its children checked, unchecked when none of its files is
  // ticked and all its children are unchecked, else partly.
  CheckState StateFromContents(Item node) const;
  void RecomputeAncestors(Item node);
  void MarkFiles(const std::vector<Item>& nodes, bool on, bool ownOnly);
  // After the marks of files changed: the folders holding their other names, outside done (folder ids).
  void FollowOtherNames(const std::vector<uint32_t>& files, const std::unordered_set<uint32_t>& done);
  void FollowFolders(const std::unordered_set<uint32_t>& folderIds);
  void MarkFilesSavedWhole(Item node);

  app::CheckTree& tree_;
  const ResultRecords& records_;
  MarkSets& sets_;
};

}  // namespace results
