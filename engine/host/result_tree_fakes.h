// Recording fakes of the results tree and item list, for tests and the headless driver.
#pragma once

#include <string>
#include <vector>

#include "engine/host/result_tree_host.h"

namespace host {

class RecordingResultTree : public ResultTreeHost {
 public:
  struct Node {
    std::u16string text;
    TreeKey parent = kNoTreeKey;
    TreeImage image = TreeImage::kFolder;
    bool deleted = false;
    bool hasChildren = false;
    bool expanded = false;
  };
  void DeleteAllItems() override;
  TreeKey AddItem(const std::u16string& text, TreeKey parent, TreeImage image, bool deleted) override;
  TreeKey AddTreeItemOnce(const std::u16string& text, TreeKey parent, bool hasChildren) override;
  void Expand(TreeKey node) override;
  void SetCurrentNode(TreeKey node) override { currentNode = node; }
  void SetFocus() override { ++focusCount; }

  // The node of key (keys run 1, 2, ... in insertion order since the last DeleteAllItems).
  const Node& At(TreeKey key) const { return nodes[key - 1]; }
  // The children of parent in insertion order.
  std::vector<TreeKey> Children(TreeKey parent) const;
  // The texts from the top node down to key, joined with "/".
  std::u16string Path(TreeKey key) const;

  std::vector<Node> nodes;
  uint32_t deleteAllCount = 0;
  TreeKey currentNode = kNoTreeKey;
  uint32_t focusCount = 0;
};

class RecordingResultList : public ResultListHost {
 public:
  void SetReportView() override { ++reportViewCount; }
  uint32_t reportViewCount = 0;
};

}  // namespace host
