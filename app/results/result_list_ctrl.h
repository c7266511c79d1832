// ResultListCtrl: the item list of the results page. The listers fill it through host::ResultListHost (from
// any thread, each call one sent message); the user ticks, opens, renames and inspects rows. It keeps the
// mark sets that the tree and Save share; the check rules are results::ResultChecks.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/results/item_properties.h"
#include "app/results/mark_sets.h"
#include "app/results/preview_temp.h"
#include "app/results/result_rows.h"
#include "app/results/row_icon_list.h"
#include "engine/host/result_tree_host.h"
#include "platform/classlib/win/classlib_win.h"
#include "toolkit/controls/tk_list_ctrl.h"

class ResultTreeCtrl;

class ResultListCtrl : public CTKListCtrl, public host::ResultListHost {
  DECLARE_DYNAMIC(ResultListCtrl)

 public:
  ResultListCtrl();
  ~ResultListCtrl() override;

  // After Create: the state images (bitmap 201), the header images, the bold font and the cursor.
  void SetUp();
  void SetTree(ResultTreeCtrl* tree) { m_tree = tree; }
  // The small-icon list whose cells the rows show (not owned); the listers' system icon indexes become
  // its cells. Without one, the indexes are taken as they come.
  void SetRowIcons(RowIconList* icons);
  results::MarkSets& Sets() { return m_sets; }
  // What Recover Selected and Save All run once a folder is chosen (the saving dialog); SaveSelected when
  // unset.
  void SetSaveRunner(std::function<void()> runner) { m_saveRunner = std::move(runner); }
  // What clears the preview (the page's); a request made while the list is hidden is carried out when the
  // list is next painted.
  void SetPreviewClearer(std::function<void()> clearer) { m_previewClearer = std::move(clearer); }
  void RequestPreviewClear();
  bool PreviewClearPending() const { return m_previewClearPending; }
  // Replaces every column with the columns of the recovery mode's results.
  void SetResultColumns(uint32_t mode);

  // host::ResultListHost (any thread).
  void SetReportView() override;
  void DeleteAllItems() override;
  void BeginRows() override;
  void EndRows() override;
  int32_t InsertItem(uint32_t row, const std::u16string& text, int32_t icon) override;
  void SetItemText(uint32_t row, uint32_t column, const std::u16string& text) override;
  void SetParentRow(uint32_t row) override;
  void CheckItem(uint32_t row) override;
  uint32_t GetItemCount() override;
  std::u16string GetItemText(uint32_t row, uint32_t column) override;
  std::vector<std::u16string> PreviewTempFiles() override { return PreviewTempPaths(); }
  void KeepPreviewTempFiles(const std::vector<std::u16string>& paths) override { SetPreviewTempPaths(paths); }
  std::vector<host::TreeKey> SaveFolderSet() override;
  std::vector<uint32_t> SaveFileSet() override;
  void EmptyCheckSets() override;

  // The rows' boxes, "Parent..." left out: true for a ticked row.
  std::vector<bool> RowChecks() const;
  // Row check states: 1 checked, 0 unchecked, -1 no box.
  int RowCheck(int row) const;
  // The row's kind: the lister's "Parent..." row, a folder row or a file row.
  results::RowKind Kind(int row) const;
  void UncheckRow(int row) { SetRowState(row, 1); }
  void ClearRowBox(int row) { SetRowState(row, 0); }
  // Every row's box from the mark sets (RestoreListChecks).
  void RestoreChecks();

  // What the user does, as the handlers do it (tests call them too).
  void ToggleRowBox(int row);
  // A double-click's listing; answers whether the double-click then counts as a click too
  // ("Parent..." and File Trace's group rows).
  bool OpenRow(int row);
  void GoToParentFolder(uint32_t folderId);
  void RecoverSelected();
  // Save All: the ticked folders and files saved into the folder asked for, without asking for marks.
  void SaveAll();
  void SwitchView(UINT command);
  results::ItemProperties RowProperties(int row) const;
  void ShowItemProperties();
  // The row's context menu (File Trace leaves out Find Files, Settings and Properties).
  void BuildContextMenu(CMenu& menu) const;
  void RunMenuCommand(UINT command);

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnDblClk(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void OnBeginLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void OnEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult);
  BOOL PreTranslateMessage(MSG* pMsg) override;
  DECLARE_MESSAGE_MAP()

 private:
  void SaveIntoChosenFolder();
  std::u16string Text(int row, int column) const;
  void SetRowState(int row, int image);
  // Drawing held while rows change in bulk: the list is drawn once, when the last hold ends.
  void HoldRedraw();
  void ReleaseRedraw();
  void Select(int row);
  bool FileTrace() const;
  // The id of the folder listed (its node is the tree's current one); none before any listing.
  std::optional<uint32_t> ListedFolder() const;
  void ListFolderOfNode(HTREEITEM node);
  HTREEITEM GroupNodeOfRow(int row) const;
  // The text of a group's node: the group name its hits carry.
  std::u16string GroupText(HTREEITEM group) const;
  void ShowContextMenu(CPoint screen);

  ResultTreeCtrl* m_tree = nullptr;
  RowIconList* m_rowIcons = nullptr;
  results::MarkSets m_sets;
  CImageList m_stateImages;
  CImageList m_headerImages;
  CFont m_boldFont;
  HCURSOR m_checkCursor = nullptr;
  std::u16string m_oldName;
  bool m_renaming = false;
  std::function<void()> m_saveRunner;
  std::function<void()> m_previewClearer;
  bool m_previewClearPending = false;
  int m_redrawHolds = 0;
  bool m_hiddenWhenHeld = false;
};
