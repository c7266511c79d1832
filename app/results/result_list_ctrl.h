// ResultListCtrl: the results item list of page 4, and what the engine reaches of it (rows, the preview's
// temporary files, the sets Save takes). So far a report list with the mode's columns; the list's issue
// grows it here (icons, check boxes, sorting, the preview hand-off).
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/host/result_tree_host.h"
#include "toolkit/controls/tk_list_ctrl.h"

class ResultListCtrl : public CTKListCtrl, public host::ResultListHost {
  DECLARE_DYNAMIC(ResultListCtrl)

 public:
  ResultListCtrl() = default;

  // Removes every column and inserts those of the recovery mode.
  void SetColumnsFor(uint32_t mode);
  // Empties PreviewTempFiles (the files are deleted by DeletePreviewTempFiles) and forgets the last
  // preview, so that the next file shown is written again.
  void ForgetPreviewTempFiles();

  // host::ResultListHost
  void SetReportView() override;
  void DeleteAllItems() override;
  int32_t InsertItem(uint32_t row, const std::u16string& text, int32_t icon) override;
  void SetItemText(uint32_t row, uint32_t column, const std::u16string& text) override;
  void CheckItem(uint32_t row) override;
  uint32_t GetItemCount() override;
  std::u16string GetItemText(uint32_t row, uint32_t column) override;
  std::vector<std::u16string> PreviewTempFiles() override;
  std::vector<host::TreeKey> SaveFolderSet() override;
  std::vector<uint32_t> SaveFileSet() override;
  void EmptyCheckSets() override;

  std::map<uint32_t, std::u16string> m_previewTempFiles;  // counter value -> full temporary path
  std::set<host::TreeKey> m_saveFolderSet;
  std::set<uint32_t> m_saveFileSet;
  std::u16string m_lastPreviewPath = u"PAth";
  uint32_t m_lastPreviewId = 0;
};
