// What the Extensive Scan's analysis needs of the found-file-systems tree (FileSystemTreeCtrl) on page 3:
// a top node "File System" and one node per file system it rebuilt. The tree implements this on the
// user-interface thread; the worker calls it from its own thread.
#pragma once

#include <string>

#include "engine/host/host.h"

namespace host {

class FileSystemTreeHost {
 public:
  virtual ~FileSystemTreeHost() = default;
  // Inserts an item with text last under parent (kNoTreeKey: at the top level; a top-level item takes its
  // icon from the drive type its label names) and returns it.
  virtual TreeKey AddItem(const std::u16string& text, TreeKey parent) = 0;
  // Inserts the item of one found file system, labelled label, last under parent, and returns it.
  virtual TreeKey AddFileSystem(const std::u16string& label, TreeKey parent) = 0;
  virtual void Expand(TreeKey node) = 0;
};

}  // namespace host
