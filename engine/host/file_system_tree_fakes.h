// Recording fake of the found-file-systems tree, for tests and the headless driver.
#pragma once

#include <string>
#include <vector>

#include "engine/host/file_system_tree_host.h"

namespace host {

class RecordingFileSystemTree : public FileSystemTreeHost {
 public:
  struct Node {
    std::u16string text;
    TreeKey parent = kNoTreeKey;
    bool fileSystem = false;  // inserted with AddFileSystem
    bool expanded = false;
  };
  TreeKey AddItem(const std::u16string& text, TreeKey parent) override;
  TreeKey AddFileSystem(const std::u16string& label, TreeKey parent) override;
  void Expand(TreeKey node) override;

  // The node of key (keys run 1, 2, ... in insertion order); null for a key the tree never issued.
  const Node* Find(TreeKey key) const;

  std::vector<Node> nodes;
};

}  // namespace host
