// SourceTreeCtrl: the source tree of pages 1 and 2. Page 1 lists the opened image as a disk under
// "My Computer" and "Physical Devices"; page 2 lists the partitions the search found under
// "Virtual Hard Disk ". Items carry check boxes (state image 1 unchecked, 2 checked), checked items
// are bold. The partition search adds to it from its worker through host::SourceTreeHost: each call is
// one message sent to the tree's thread.
#pragma once

#include <functional>

#include "app/pages/source_logic.h"
#include "app/pages/tree_look.h"
#include "engine/host/partition_host.h"
#include "platform/classlib/win/classlib_win.h"

class SourceTreeCtrl : public CTreeCtrl, public host::SourceTreeHost {
  DECLARE_DYNAMIC(SourceTreeCtrl)

 public:
  SourceTreeCtrl() = default;
  ~SourceTreeCtrl() override;

  // The image list of the seven icons, the check-box state images and the three cursors.
  void LoadImages();

  // Finds each level of "a\b\c\" among the children of the one before by its text, or inserts it.
  HTREEITEM AddPath(const CString& path);
  // Finds or adds the top-level group, adds the label under it, marks the group checked and bold.
  HTREEITEM AddFoundPartition(const CString& group, const CString& label);
  // Expands the first root node.
  void ExpandRootNode();

  // host::SourceTreeHost, from the search worker.
  void AddFoundPartition(const std::u16string& groupLabel, const std::u16string& partitionLabel) override;
  void ExpandRoot() override;

  // The selection logic: the decision for the item, handed to onSelect; answers the item's text.
  CString OnSelectItem(HTREEITEM item);
  // -1 for the first root, -2 for none, else the visible rows above and including the item minus 2.
  int RowIndex(HTREEITEM item) const;
  // Checked items, each counted once without its subtree; unchecked expanded items are looked into.
  int CountCheckedFolders() const;

  bool IsChecked(HTREEITEM item) const;
  // Checks or unchecks as a click on the check box does (children, subtree, ancestors, bold).
  void SetCheck(HTREEITEM item, bool checked);
  // Receives "%d Selected Folder(s)" after each check (none by default).
  void SetStatusWindow(CWnd* status) { m_status = status; }
  // The window the decision of a selection goes to.
  std::function<void(const source::SelectionActions&)> onSelect;
  // Tab and Enter in the tree (the page of the current stage takes the focus, or runs its Next).
  std::function<void()> onTab;
  std::function<void()> onEnter;

 protected:
  afx_msg void OnLButtonDown(UINT flags, CPoint point);
  afx_msg void OnRButtonDown(UINT flags, CPoint point);
  afx_msg void OnKeyUp(UINT key, UINT repeat, UINT flags);
  afx_msg void OnKeyDown(UINT key, UINT repeat, UINT flags);
  afx_msg UINT OnGetDlgCode();
  afx_msg BOOL OnSetCursor(CWnd* window, UINT hitTest, UINT message);
  afx_msg LRESULT OnAddFound(WPARAM, LPARAM);
  afx_msg LRESULT OnExpandRoot(WPARAM, LPARAM);
  DECLARE_MESSAGE_MAP()

 private:
  HTREEITEM ChildWithText(HTREEITEM parent, const CString& text) const;
  HTREEITEM Insert(const CString& text, HTREEITEM parent);
  void SetItemCheck(HTREEITEM item, bool checked);
  void UncheckSubtree(HTREEITEM item);
  void UpdateAncestors(HTREEITEM item);
  int CountChecked(HTREEITEM first) const;
  void Select(HTREEITEM item);

  TreeLook m_look;
  HCURSOR m_pressedCursor = nullptr;
  CWnd* m_status = nullptr;
};
