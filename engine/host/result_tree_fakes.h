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
  void SelectNode(TreeKey node) override {
    selectedNode = node;
    currentNode = node;
  }
  void SetFocus() override { ++focusCount; }
  TreeKey GetRootItem() override;
  TreeKey GetChildItem(TreeKey node) override;
  TreeKey GetNextSiblingItem(TreeKey node) override;
  std::u16string GetItemText(TreeKey node) override;
  void ClearChecks(TreeKey node) override { clearedChecks.push_back(node); }
  void RestoreListChecks(TreeKey node) override { restoredChecks.push_back(node); }

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
  TreeKey selectedNode = kNoTreeKey;
  // The nodes ClearChecks and RestoreListChecks were called with, in order.
  std::vector<TreeKey> clearedChecks;
  std::vector<TreeKey> restoredChecks;
};

class RecordingResultList : public ResultListHost {
 public:
  struct Row {
    std::vector<std::u16string> texts;  // by column; columns never set are missing or empty
    int32_t icon = 0;
    bool checked = false;
    bool parent = false;  // the lister's "Parent..." row
  };
  void SetReportView() override { ++reportViewCount; }
  void DeleteAllItems() override;
  void BeginRows() override { ++openRows; }
  void EndRows() override { --openRows; }
  int32_t InsertItem(uint32_t row, const std::u16string& text, int32_t icon) override;
  void SetItemText(uint32_t row, uint32_t column, const std::u16string& text) override;
  void SetParentRow(uint32_t row) override;
  void CheckItem(uint32_t row) override;
  uint32_t GetItemCount() override { return static_cast<uint32_t>(rows.size()); }
  std::u16string GetItemText(uint32_t row, uint32_t column) override;
  std::vector<std::u16string> PreviewTempFiles() override { return previewTempFiles; }
  void KeepPreviewTempFiles(const std::vector<std::u16string>& paths) override { previewTempFiles = paths; }
  std::vector<TreeKey> SaveFolderSet() override { return saveFolderSet; }
  std::vector<uint32_t> SaveFileSet() override { return saveFileSet; }
  void EmptyCheckSets() override;

  // The row's texts of columns 0 to columns - 1, joined with tabs.
  std::u16string RowLine(uint32_t row, uint32_t columns);

  std::vector<Row> rows;
  std::vector<std::u16string> previewTempFiles;
  // The check sets as a test or the driver ticks them.
  std::vector<TreeKey> saveFolderSet;
  std::vector<uint32_t> saveFileSet;
  uint32_t emptyCheckSetsCount = 0;
  uint32_t reportViewCount = 0;
  uint32_t deleteAllCount = 0;
  // BeginRows less EndRows; and the rows inserted while it was 0 (drawn one by one).
  int32_t openRows = 0;
  uint32_t rowsInsertedUnheld = 0;
};

}  // namespace host
