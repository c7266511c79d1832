// CThirdView_HDD: page 4, the results. The folder tree on the left; on the right the item list above the
// preview pane, split by two splitters; Save and Back below. A header click sorts the list with folders
// kept on top; a click on a file row writes the file to a temporary file and hands it to the preview;
// Back and Home empty the results and go back through the wizard.
#pragma once

#include <cstdint>
#include <functional>

#include "app/results/regroup_rows.h"
#include "app/results/result_list_ctrl.h"
#include "app/results/result_tree_ctrl.h"
#include "engine/host/shell_file_info_host.h"
#include "platform/classlib/win/classlib_win.h"
#include "toolkit/controls/tk_header_ctrl.h"
#include "ui/controls/hover_button.h"
#include "ui/controls/shell_file_info.h"
#include "ui/controls/splitter_ctrl.h"

class CMainPreviewView;

// What page 4 asks of the application, its frame and the other pages. Unset links do nothing (the
// preview then goes straight to the page's own pane).
struct ResultsPageLinks {
  // SwitchView: shows page 0 to 4.
  std::function<void(int page)> showPage;
  // The frame's active view becomes the application's last view.
  std::function<void()> recordActiveView;
  // The frame's ShowPreview: the pane shows the file (path, extension with its ".").
  std::function<void(const CString& path, const CString& extension)> showPreview;
  // The frame's two preview flags; -1 leaves a flag as it is.
  std::function<void(int flag1, int flag2)> setPreviewFlags;
  // Page 2 as before a scan (Quick Scan or File Trace, by RecoveryMode): its panel's toggle reads "Hide
  // Progress" again, its bar and status text start over, its buttons are back.
  std::function<void()> restoreScanPage;
  // Page 3 as before reading a file system (Extensive Scan).
  std::function<void()> restoreFileSystemPage;
  // Home after this page's Back: page 3's Back (Extensive Scan), page 2's and page 1's.
  std::function<void()> backThroughEarlierPages;
  // The selected-mode line drawn at the bottom left.
  std::function<CString()> summaryText;
};

class CThirdView_HDD : public CView {
  DECLARE_DYNCREATE(CThirdView_HDD)

 public:
  static constexpr UINT kPreviewSelectionMessage = WM_APP + 0x41;

  CThirdView_HDD();
  ~CThirdView_HDD() override;

  void SetLinks(ResultsPageLinks links) { m_links = std::move(links); }
  ResultListCtrl& ResultList() { return m_list; }
  ResultTreeCtrl& ResultTree() { return m_tree; }
  CMainPreviewView* PreviewPane() const { return m_preview; }
  host::ShellFileInfoHost& ShellInfo() { return m_shellHost; }
  CWnd& Button(UINT id);
  // Save (159) and Home (61481) shown and enabled after a snapshot was loaded.
  void ShowSaveAndHome();
  // Back (160) disabled and hidden after a snapshot was loaded.
  void HideBack();
  // The preview emptied and its temporary files deleted, as Back leaves them: the next file previewed is
  // written again.
  void ForgetPreview();
  // The keys' ring back at the tree, neither button highlighted: where new results start.
  void ResetFocusRing();

  // The wait cursor while the list or the preview works.
  void BeginResultsBusy();
  void EndResultsBusy();

  // A click on a header: the sort of Algorithms of the page (same column twice turns the direction).
  void SortByColumn(int column);
  results::SortOrder CurrentSort() const { return m_sort; }
  // Folders above files, "Parent..." first; every row keeps its box, icon and data.
  void RegroupRows();

  // What a click on a row (off its check box) does with the preview.
  void PreviewRow(int row);
  // The preview emptied (a folder, "Parent..." or a File Trace row without data).
  void ClearPreview(bool folderRow, const std::u16string& rowName);

  afx_msg void OnSave();
  afx_msg void OnBack();
  afx_msg void OnHome();

 protected:
  void OnDraw(CDC* pDC) override;
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  BOOL PreTranslateMessage(MSG* msg) override;
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  afx_msg LRESULT OnPreviewSelection(WPARAM, LPARAM);
  DECLARE_MESSAGE_MAP()

 private:
  // The shell's icons and type names for the listers.
  class ShellHost : public host::ShellFileInfoHost {
   public:
    int32_t GetFolderIconIndex(bool small) override;
    int32_t GetIconIndex(const std::u16string& name, bool small) override;
    std::u16string GetFileTypeName(const std::u16string& name) override;
    ui::ShellFileInfo shell;
  };

  bool CreateList();
  bool CreatePreviewPane();
  void CreateButtons();
  // 1 when the pane takes the path's extension; otherwise the pane is emptied (IsPreviewable).
  uint32_t IsPreviewable(const std::u16string& path);
  // Hands the path to the pane with its extension, under the wait cursor (PreviewListFile).
  void PreviewListFile(const std::u16string& path, uint32_t show);
  // PreviewItemPath: "\" + the folder's tree path + "\" + name.
  void BuildItemPath(uint32_t folderId, const std::u16string& name);
  void SetPreviewFlags(int flag1, int flag2);
  void ResetResults();

  CFont m_viewFont;
  CFont* m_staticFont = nullptr;
  CStatic m_statics[3];
  ResultTreeCtrl m_tree;
  SplitterCtrl m_outerSplitter;
  SplitterCtrl m_innerSplitter;
  ShellHost m_shellHost;
  // The list's 20 x 20 small icons, copied from the shell's as rows need them.
  RowIconList m_rowIcons;
  ResultListCtrl m_list;
  CString m_startFolder;
  uint32_t m_focusRing = 0;  // 0 tree, 1 Save, 2 Back
  CBrush m_whiteBrush;
  ui::CToolButton m_save, m_back, m_home;
  uint32_t m_busy = 0;
  CMainPreviewView* m_preview = nullptr;  // deletes itself with its window
  results::SortOrder m_sort;
  results::SortOrder m_shownSort{-1, true};  // the arrow the page put on the header last
  CTKHeaderCtrl m_header;
  ResultsPageLinks m_links;
};
