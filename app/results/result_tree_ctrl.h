// ResultTreeCtrl: the folder tree of the results page. The scan workers and the snapshot loaders build it
// through host::ResultTreeHost (each call one sent message); the user ticks folders in it and lists them in
// the results list. The check rules are results::ResultChecks; this class draws and routes.
#pragma once

#include <functional>
#include <map>
#include <memory>

#include "app/logic/check_tree.h"
#include "app/results/result_checks.h"
#include "engine/host/result_tree_host.h"
#include "platform/classlib/win/classlib_win.h"

class ResultListCtrl;

class ResultTreeCtrl : public CTreeCtrl, public host::ResultTreeHost, public app::CheckTree {
  DECLARE_DYNAMIC(ResultTreeCtrl)

 public:
  ResultTreeCtrl();
  ~ResultTreeCtrl() override;

  // After Create: the state images (bitmap 200), the icons (a drive for the top nodes, the shell's folder
  // for the folders) and the cursors.
  void SetUp();
  void SetList(ResultListCtrl* list) { m_list = list; }
  // Where the selected-size summary goes (the results page's static 61488).
  void SetSelectedSizeSink(std::function<void(const std::u16string&)> sink) { m_selectedSizeSink = std::move(sink); }
  // "Selected Size : N MB" of the files ticked, handed to the sink.
  void UpdateSelectedSize();

  // host::ResultTreeHost (any thread).
  void DeleteAllItems() override;
  host::TreeKey AddItem(const std::u16string& text, host::TreeKey parent, host::TreeImage image, bool deleted) override;
  host::TreeKey AddTreeItemOnce(const std::u16string& text, host::TreeKey parent, bool hasChildren) override;
  void Expand(host::TreeKey node) override;
  void SetCurrentNode(host::TreeKey node) override;
  void SelectNode(host::TreeKey node) override;
  void SetFocus() override;
  host::TreeKey GetRootItem() override;
  host::TreeKey GetChildItem(host::TreeKey node) override;
  host::TreeKey GetNextSiblingItem(host::TreeKey node) override;
  std::u16string GetItemText(host::TreeKey node) override;
  void ClearChecks(host::TreeKey node) override;
  void RestoreListChecks(host::TreeKey node) override;

  // app::CheckTree over the control's nodes (item 0 above the top nodes).
  Item Parent(Item item) const override;
  Item FirstChild(Item item) const override;
  Item NextSibling(Item item) const override;
  app::CheckState GetState(Item item) const override;
  void SetState(Item item, app::CheckState state) override;

  // The check model over this tree, the list's mark sets and the engine's records.
  results::ResultChecks Checks();
  // Lists the node's folder in the list, makes it the current node and restores the list's marks.
  void ListNode(HTREEITEM node);
  // The texts from the node up to the top node (not included), joined with "\".
  CString GetTreePath(HTREEITEM node) const;
  // The node whose folder the list shows (a click on another node's box or button leaves it).
  HTREEITEM CurrentNode() const { return m_current; }
  // File Trace, after a hit's box changed on the listing of a group or type node: every type node of that
  // listing follows its hits, and the group and the top node follow them.
  void TypeNodesFollowHits(HTREEITEM listed);
  // The parent's child whose text, trimmed, is text (any case); null when none.
  HTREEITEM FindChild(HTREEITEM parent, const std::u16string& text) const;
  // Whether the node is drawn red (a deleted folder).
  bool IsDrawnDeleted(HTREEITEM node) const;
  // Runs a command of the context menu on the node.
  void RunMenuCommand(UINT command, HTREEITEM node);
  // The menu the node's context menu shows (File Trace leaves out Find Files, Settings and Properties).
  void BuildContextMenu(CMenu& menu) const;

  static HTREEITEM Handle(host::TreeKey key) { return reinterpret_cast<HTREEITEM>(static_cast<uintptr_t>(key)); }
  static host::TreeKey Key(HTREEITEM node) { return static_cast<host::TreeKey>(reinterpret_cast<uintptr_t>(node)); }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void OnKeyDownNotify(NMHDR* pNMHDR, LRESULT* pResult);
  DECLARE_MESSAGE_MAP()

 private:
  HTREEITEM Insert(const std::u16string& text, HTREEITEM parent, int image, bool deleted, bool hasChildren);
  void ShowContextMenu(HTREEITEM node, CPoint screen);
  void OwnFilesFollowNode(HTREEITEM node);
  void ToggleBox(HTREEITEM node);
  void BoxReleased(HTREEITEM node);
  bool SpaceToggles(UINT message, WPARAM key);
  std::vector<uint32_t> FileTraceHitsOf(HTREEITEM node) const;

  ResultListCtrl* m_list = nullptr;
  std::function<void(const std::u16string&)> m_selectedSizeSink;
  std::unique_ptr<results::ResultRecords> m_records;
  results::MarkSets m_ownSets;  // while no list is attached
  CImageList m_stateImages;
  CImageList m_icons;
  std::map<HTREEITEM, COLORREF> m_textColours;
  HTREEITEM m_current = nullptr;
  HCURSOR m_cursors[4] = {};
  int m_driveIcon = 0;
  int m_folderIcon = 0;
};
