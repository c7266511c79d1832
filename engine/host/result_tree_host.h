// What the engine needs of the results page's folder tree (ResultTreeCtrl) and item list
// (ResultListCtrl): the scan workers and the snapshot loaders build the tree from the record lists. The
// windows implement these on the user-interface thread; a worker's call is marshalled by the window side.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/host/host.h"

namespace host {

// The image a results-tree node shows.
enum class TreeImage : uint32_t {
  kDrive = 0,   // a top node: the tree picks the image from the drive type of its label
  kFolder = 1,  // the shell's small folder icon
};

class ResultTreeHost {
 public:
  virtual ~ResultTreeHost() = default;
  // Removes every node.
  virtual void DeleteAllItems() = 0;
  // Inserts a node with text and image at the end of parent's children (kNoTreeKey: at the top level),
  // drawn red when deleted, and returns it.
  virtual TreeKey AddItem(const std::u16string& text, TreeKey parent, TreeImage image, bool deleted) = 0;
  // Returns parent's child whose text, trimmed, is text; otherwise inserts one as AddItem does with the
  // folder image (kDrive at the top level), showing a child button before it has children when
  // hasChildren is set.
  virtual TreeKey AddTreeItemOnce(const std::u16string& text, TreeKey parent, bool hasChildren) = 0;
  virtual void Expand(TreeKey node) = 0;
  // Remembers node as the node the page lists (the results root after a build).
  virtual void SetCurrentNode(TreeKey node) = 0;
  // Selects the node (the tree's highlight) and makes it the current node.
  virtual void SelectNode(TreeKey node) = 0;
  // Gives the keyboard focus to the tree.
  virtual void SetFocus() = 0;

  // Walking the tree as the savers do: the top node, a node's first child and next sibling
  // (kNoTreeKey when there is none), and a node's text.
  virtual TreeKey GetRootItem() = 0;
  virtual TreeKey GetChildItem(TreeKey node) = 0;
  virtual TreeKey GetNextSiblingItem(TreeKey node) = 0;
  virtual std::u16string GetItemText(TreeKey node) = 0;
  // ResultTreeCtrl::ClearChecks: node and every node beneath it become unchecked.
  virtual void ClearChecks(TreeKey node) = 0;
  // ResultTreeCtrl::RestoreListChecks: the list's rows take the check marks of the list's check sets.
  virtual void RestoreListChecks(TreeKey node) = 0;
};

// The results item list. Rows count from 0; columns are set up by the pages.
class ResultListHost {
 public:
  virtual ~ResultListHost() = default;
  // Switches the list to report view (removes the view style bits 0x3, adds 0x101).
  virtual void SetReportView() = 0;
  // Removes every row.
  virtual void DeleteAllItems() = 0;
  // Around the rows of one listing: the list is drawn once, after EndRows, not after every row (a list
  // drawn after each row takes time that grows with its rows). The calls come in pairs and do not nest.
  virtual void BeginRows() = 0;
  virtual void EndRows() = 0;
  // Inserts a row at row with its column-0 text and an icon of the system small image list; no item
  // data, no state. Returns the row it got, or -1 when it could not be inserted.
  virtual int32_t InsertItem(uint32_t row, const std::u16string& text, int32_t icon) = 0;
  virtual void SetItemText(uint32_t row, uint32_t column, const std::u16string& text) = 0;
  // The row is the "Parent..." row that goes up a folder (a lister writes it first when it lists any folder
  // but the root): the one row that is, whatever a file is named.
  virtual void SetParentRow(uint32_t row) = 0;
  // ResultListCtrl::CheckItem: the row shows a checked box.
  virtual void CheckItem(uint32_t row) = 0;
  virtual uint32_t GetItemCount() = 0;
  // The whole text of a cell (empty when there is none).
  virtual std::u16string GetItemText(uint32_t row, uint32_t column) = 0;
  // The full paths of the preview's temporary copies made and not yet deleted (PreviewTempFiles).
  virtual std::vector<std::u16string> PreviewTempFiles() = 0;
  // After DeletePreviewTempFiles: the copies it could not delete (a viewer still holds them). The list
  // keeps these alone, so that a name deleted once is never deleted again: another file may have it by then.
  virtual void KeepPreviewTempFiles(const std::vector<std::u16string>& paths) = 0;

  // What Save takes, in the sets' own order: the tree nodes of the folders (SaveFolderSet) and the
  // record ids of the files ticked one by one (SaveFileSet).
  virtual std::vector<TreeKey> SaveFolderSet() = 0;
  virtual std::vector<uint32_t> SaveFileSet() = 0;
  // Empties the list's check sets (CheckedFolderSet, FileMarkSet, SaveFolderSet, SaveFileSet,
  // CheckedNodeSet), as after a save.
  virtual void EmptyCheckSets() = 0;
};

}  // namespace host
