// What the engine needs of the results page's folder tree (ResultTreeCtrl) and item list
// (ResultListCtrl): the scan workers and the snapshot loaders build the tree from the record lists. The
// windows implement these on the user-interface thread; a worker's call is marshalled by the window side.
#pragma once

#include <cstdint>
#include <string>

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
  // Gives the keyboard focus to the tree.
  virtual void SetFocus() = 0;
};

class ResultListHost {
 public:
  virtual ~ResultListHost() = default;
  // Switches the list to report view (removes the view style bits 0x3, adds 0x101).
  virtual void SetReportView() = 0;
};

}  // namespace host
