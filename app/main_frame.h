// CMainFrame: the one top-level window. It carries the menu bar, the "Standard" toolbar under the banner,
// the status bar with its support link and the docking-pane manager; it owns the engine's DiskImage, holds
// the stage flags that decide which commands are enabled, carries every menu and toolbar command, hands
// a selected file to the preview and runs the exit sequence. The five wizard pages are its child views.
#pragma once

#include <cstdint>
#include <string>

#include "app/command_rules.h"
#include "app/wizard_stages.h"
#include "preview/preview_host.h"
#include "platform/classlib/win/cimagelist.h"
#include "toolkit/commandbars/frame/tkp_frame_wnd.h"
#include "toolkit/common/tk_window_pos.h"
#include "toolkit/controls/tk_caption.h"
#include "toolkit/controls/tk_hyperlink.h"
#include "toolkit/dockingpane/tkp_docking_pane_manager.h"
#include "toolkit/taskpanel/tkp_task_panel.h"
#include "ui/controls/link_status_bar.h"

class CCmdUI;
class CView;
class CTKPToolBar;
class CTKPCommandBars;
class DiskImage;

// As the preview's host it holds the preview pane and the outcome of the last preview (PreviewHost).
class CMainFrame : public CTKPFrameWnd, public PreviewHost {
  DECLARE_DYNCREATE(CMainFrame)

 public:
  CMainFrame();
  ~CMainFrame() override;

  bool HasDiskImage() const { return DiskImagePtr != nullptr; }
  // Creates the DiskImage when missing; the existing or new one.
  DiskImage* EnsureDiskImage();
  void SetOpenEnabled(int enabled) { OpenEnabled = enabled != 0 ? 1 : 0; }
  // Makes the preview view active (without notifying), closes its viewers and shows the file.
  void ShowPreview(CString path, CString extension);
  // Restores the saved placement and shows the window.
  void ShowSavedPosition(int unused = 0);
  // 1 when the program may close: the user said Yes, the workers have stopped and the lists are freed.
  int ConfirmExit();

  // The state the update rules read.
  app::CommandFlags CommandState() const;
  // The stage's flag set, the other three cleared.
  void SelectStage(app::Stage stage);
  // Whether the command shows enabled: as the toolbar draws it where the toolbar carries it, else as its
  // update rule gives it to the menu.
  bool CommandShownEnabled(UINT id);

  ui::LinkStatusBar& StatusBar() { return m_wndStatusBar; }
  CTKPToolBar* StandardToolBar() const { return m_pToolBar; }
  CTKHyperLink& HyperLink() { return m_wndHyperLink; }
  CTKCaption& Caption() { return m_wndCaption; }

  // The profile section of the command bars' options, layout and shortcuts.
  static constexpr const TCHAR* kBarsSection = _T("CommandBars");

  // ---- members the pages read and write --------------------------------------------------------------
  DiskImage* DiskImagePtr = nullptr;  // owned
  HCURSOR HandCursor = nullptr;
  int32_t SelectedPartition = -1;
  CView* PreviewView = nullptr;
  CView* Page0View = nullptr;
  CWnd* ScanPanel = nullptr;
  uint32_t AtSourceStage = 0;
  uint32_t AtScanStage = 0;
  uint32_t ResultsReady = 0;
  uint32_t FileSystemResultsReady = 0;
  uint32_t ScanFinished = 1;
  uint32_t PreviewFlag1 = 0;
  // The results page's second preview flag is the pane's "no file selected" (1 at start: the pane asks
  // for a file).
  uint32_t& PreviewFlag2 = m_bNoFileSelected;
  uint32_t AtStart = 1;
  uint32_t SnapshotLoadEnabled = 0;
  uint32_t OpenEnabled = 1;
  HWND ProgressWindow = nullptr;

  // ---- commands (main_frame_commands.cpp) -----------------------------------------------------------
  afx_msg void OnOpen();
  afx_msg void OnRecoverSelected();
  afx_msg void OnSaveAll();
  afx_msg void OnSaveSnapshot();
  afx_msg void OnLoadSnapshot();
  afx_msg void OnExit();
  afx_msg void OnViewIcons();
  afx_msg void OnViewList();
  afx_msg void OnViewDetails();
  afx_msg void OnFindFiles();
  afx_msg void OnFileFilters();
  afx_msg void OnSettings();
  afx_msg void OnDriveInformation();
  afx_msg void OnHelp();
  afx_msg void OnNothing(UINT nID);
  afx_msg void OnUpdateRuledCommand(CCmdUI* pCmdUI);

  // Loads a snapshot whose first character gave the mode: the results list's columns, the loader of the
  // mode, then page 4's buttons; *stage is the stage of the results it shows. The ticks and the preview of
  // the results shown before are theirs, not the loaded results': they go, and page 3's file systems, which
  // the load frees, with them. false when the loader refused it: RecoveryMode, the columns, the rows and
  // their ticks of the results shown before are back as they were.
  bool LoadSnapshotFile(const std::u16string& path, uint32_t mode, app::Stage* stage);
  // The Load command's whole load in that mode, also for a snapshot named on the command line or by the
  // shell: the load, the stage of the results it shows, page 4 without Back. A refused load leaves the
  // stages as they were. false when the loader refused it.
  bool ShowSnapshot(const std::u16string& path, uint32_t mode);

  // After a preview the results page's item list has the keyboard again.
  void FocusResultList() override;
  std::unique_ptr<CWnd> ShowLoadProgress(CWnd* parent) override;

  BOOL PreTranslateMessage(MSG* pMsg) override;
  // The title is the product's alone, not the document's.
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
  afx_msg void OnClose();
  afx_msg void OnDestroy();
  // A scenario runner's question (kCommandStateMessage): 2 when the command shows enabled, 1 greyed.
  afx_msg LRESULT OnCommandStateQuery(WPARAM id, LPARAM);
  DECLARE_MESSAGE_MAP()

 private:
  bool CreateCommandBars();
  void WritePreviewRegistryFlags();
  // Closes the frame the ordinary way after ConfirmExit said yes.
  void CloseConfirmed();
  // The preview pane the files are shown in; null before it is made.
  CMainPreviewView* PreviewPane() const;

  ui::LinkStatusBar m_wndStatusBar;
  CTKPToolBar* m_pToolBar = nullptr;
  CTKPCommandBars* m_pCommandBars2 = nullptr;  // the same object as the frame's command bars
  CImageList m_toolIcons;
  CTKPDockingPaneManager m_paneManager;
  CTKPTaskPanel m_wndTaskPanel;  // made and destroyed with the frame; it gets no window
  CTKHyperLink m_wndHyperLink;   // likewise
  CTKCaption m_wndCaption;       // likewise
  CTKWindowPos m_windowPos;
  bool m_closing = false;
};

// The application's main frame (null before it exists or after it went).
CMainFrame* MainFrame();
