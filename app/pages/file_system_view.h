// CFileSystemView: page 3 of the wizard. After an Extensive Scan it lists the file systems found in its
// tree; choosing one shows its parameters in the form; Next reads the chosen file system on a worker
// (ScanThreadProc) while the form shows its progress, and the page's 1000 ms timer moves on to the
// results page when the worker has ended. Stop asks first, while the worker waits at its pause gate.
#pragma once

#include <functional>
#include <thread>

#include "app/pages/file_system_form.h"
#include "app/pages/file_system_tree_ctrl.h"
#include "app/pages/page_tool_buttons.h"
#include "app/wizard_stages.h"
#include "engine/host/file_system_form_host.h"
#include "platform/classlib/win/classlib_win.h"
#include "ui/controls/splitter_ctrl.h"

// What page 3 asks of the application and its frame.
struct FileSystemPageLinks {
  // SwitchView: shows page number 0 to 4.
  std::function<void(int page)> showPage;
  // The application's last active view = the frame's active view, as Next leaves the page.
  std::function<void()> recordActiveView;
  // The frame's page-state flags: the stage's set, the others cleared.
  std::function<void(app::Stage stage)> selectStage;
  std::function<void(bool finished)> setScanFinished;
  // The frame's selected item: its text and visible position (first item below the top 0, top -1, none -2).
  std::function<void(const CString& text, int position)> setSelectedItem;
  // Page 4's three button-bar buttons shown and enabled once the results are there.
  std::function<void()> showResultsButtons;
  // Page 2 made ready again for a Back from page 3 (its title, panel and buttons by the source kind).
  std::function<void()> restoreScanPage;
  // Home after this page's Back: page 2's Back, then page 1's.
  std::function<void()> backFromScanPage;
  // The process-wide summary text drawn at the bottom left.
  std::function<CString()> summaryText;
};

class CFileSystemView : public CView, public host::FileSystemViewHost {
  DECLARE_DYNCREATE(CFileSystemView)

 public:
  static constexpr UINT_PTR kTimerId = 1;
  static constexpr UINT kHideStopMessage = WM_APP + 0x31;

  CFileSystemView();
  ~CFileSystemView() override;

  void OnDraw(CDC* dc) override;
  const FileSystemPageLinks& Links() const { return m_links; }
  void SetLinks(FileSystemPageLinks links) { m_links = std::move(links); }

  FileSystemTreeCtrl& Tree() { return m_tree; }
  CFileSystemForm& Form() { return m_form; }
  CWnd& Button(UINT id) { return m_buttons.Button(id); }
  // The chosen tree item's record becomes CurrentFileSystem and its parameters show in the form.
  void ChooseFileSystem(HTREEITEM item);
  bool WorkerRunning() const { return m_worker.joinable(); }
  // Back from the results page: the form without status or progress, Stop gone, Next, Back and Home
  // shown, as before the file system was read; the scan's stage again.
  void RestoreBeforeReading();
  // The file systems listed, the choice and the form's values gone (Back, and a snapshot load, which
  // frees what the tree lists).
  void ForgetFileSystems();

  // host::FileSystemViewHost, from the worker: one message to the page's thread.
  void HideStopButton() override;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT create);
  afx_msg void OnSize(UINT type, int cx, int cy);
  afx_msg BOOL OnEraseBkgnd(CDC* dc);
  afx_msg void OnTimer(UINT_PTR id);
  afx_msg void OnDestroy();
  afx_msg void OnNext();
  afx_msg void OnBack();
  afx_msg void OnStop();
  afx_msg void OnHome();
  afx_msg LRESULT OnHideStop(WPARAM, LPARAM);
  DECLARE_MESSAGE_MAP()

 private:
  void Layout(int cx, int cy);
  void JoinWorker();
  // Next, Back and Home together.
  void ShowNavigation(bool shown);

  FileSystemTreeCtrl m_tree;
  CFileSystemForm m_form;
  SplitterCtrl m_splitter;
  PageToolButtons m_buttons;
  CFont m_font;
  FileSystemPageLinks m_links;
  std::thread m_worker;
  int m_selectedPosition = -2;
  bool m_stopShown = false;
};
