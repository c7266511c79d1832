// CSecondView_HDD: page 2 of the wizard, where a scan is started, watched and stopped. The partitions the
// search found are listed in the source tree on the left, the progress panel (CSecondDisplay) on the right.
// Next checks the selection and, for an Extensive Scan, the file system and sector range, then starts the
// worker of the recovery mode; a 1000 ms timer watches for its end and moves on to the results (Quick Scan,
// File Trace) or to the found file systems (Extensive Scan). Stop asks first, while the worker waits at its
// pause gate.
#pragma once

#include <atomic>
#include <functional>
#include <thread>

#include "app/pages/second_display.h"
#include "app/pages/source_tree_ctrl.h"
#include "app/wizard_stages.h"
#include "engine/host/scan_page_host.h"
#include "platform/classlib/win/classlib_win.h"
#include "ui/controls/hover_button.h"
#include "ui/controls/splitter_ctrl.h"

namespace host {
class FileSystemTreeHost;
}

// What page 2 asks of the application, its frame and the other pages. Unset links do nothing.
struct ScanPageLinks {
  // SwitchView: shows page 0 to 4.
  std::function<void(int page)> showPage;
  // The frame's page-state flags: the stage's set, the others cleared.
  std::function<void(app::Stage stage)> selectStage;
  std::function<void(bool finished)> setScanFinished;
  // The frame's flag that a mode button sets on page 0 (Load Recovery Snapshot enabled).
  std::function<void()> setModeChosen;
  // The source tree's selection (the frame's SelectedPartition): -1 the whole disk, -2 none.
  std::function<int()> selectedPartition;
  // The folder of "Raw.dat" with its trailing backslash, for the file types dialog.
  std::function<CString()> programFolder;
  // Page 4's three button-bar buttons shown and enabled once the results are there.
  std::function<void()> showResultsButtons;
  // Page 3: the tree an Extensive Scan fills; its form's captions and note for a file-system code; its
  // Next, Back and Home shown and enabled with its panes repainted; whether its tree holds its top item
  // alone; its note.
  std::function<host::FileSystemTreeHost*()> fileSystemTree;
  std::function<void(uint16_t code)> prepareFileSystemPage;
  std::function<void()> enterFileSystemPage;
  std::function<bool()> fileSystemTreeEmpty;
  std::function<void(const CString& note)> setFileSystemNote;
  // Back: the results list's reset request; page 1 as before its search; page 1's own Back (Home).
  std::function<void()> resetResultsList;
  std::function<void()> restoreSourcePage;
  std::function<void()> backFromSourcePage;
  // The process-wide summary text drawn at the bottom left.
  std::function<CString()> summaryText;
  std::function<void(const CString& text)> setSummaryText;
};

class CSecondView_HDD : public CView, public host::ScanPageHost {
  DECLARE_DYNCREATE(CSecondView_HDD)

 public:
  static constexpr UINT_PTR kTimerId = 1;
  static constexpr UINT kPageRequest = WM_APP + 0x23;
  static constexpr UINT kKillTimerRequest = WM_APP + 0x24;

  CSecondView_HDD();
  ~CSecondView_HDD() override;

  void OnDraw(CDC* dc) override;
  void SetLinks(ScanPageLinks links) { m_links = std::move(links); }

  // The tree the partition search fills with the partitions it lists.
  SourceTreeCtrl& SourceTree() { return m_tree; }
  CSecondDisplay& Panel() { return m_panel; }
  SplitterCtrl& Splitter() { return m_splitter; }
  CWnd& Button(UINT id);
  bool WorkerRunning() const { return m_worker.joinable() && !m_workerExited; }
  bool Busy() const { return m_busy != 0; }

  // The three starters: flags, worker, timer 1 at 1000 ms.
  void StartQuickScanThread();
  void StartExtensiveScanThread();
  void StartFileTraceThread();

  // Page 1's Next: the page as the search leaves it (the note, the tree pane, the panel by the mode).
  void PrepareForPartitionSearch();
  // Page 1's timer: the page shown with Next and Back, Home enabled, the panel repainted.
  void EnterAfterSearch();
  // Page 3's and page 4's Back: the page idle again before a new scan, its panel by the source kind.
  void RestoreBeforeScan();

  // host::ScanPageHost, from the workers: one message to the page's thread each.
  void DisableNavigationButtons() override;
  void ShowNavigationButtons() override;
  void ShowStopButton() override;
  void HideStopButton() override;
  void BeginBusy() override;
  void KillScanTimer() override;
  std::u16string LogicalDriveName(uint16_t driveField) override;

  afx_msg void OnNext();
  afx_msg void OnBack();
  afx_msg void OnStop();
  afx_msg void OnHome();

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT create);
  afx_msg void OnSize(UINT type, int cx, int cy);
  afx_msg BOOL OnEraseBkgnd(CDC* dc);
  afx_msg void OnTimer(UINT_PTR id);
  afx_msg void OnDestroy();
  afx_msg void OnKeyDown(UINT key, UINT repeat, UINT flags);
  afx_msg BOOL OnSetCursor(CWnd* window, UINT hitTest, UINT message);
  afx_msg LRESULT OnPageRequest(WPARAM op, LPARAM);
  afx_msg LRESULT OnKillTimerRequest(WPARAM, LPARAM);
  DECLARE_MESSAGE_MAP()

  // Where the workers report their progress: the panel.
  virtual host::SecondDisplayHost* ProgressHost() { return &m_panel; }

 private:
  enum class Request { kDisableNavigation, kShowNavigation, kShowStop, kHideStop, kBusy };

  bool NextExtensive();
  bool ReadSectorRange();
  void PrepareScan(bool extensive);
  void StartWorker(uint32_t (*scan)());
  void FinishQuickScan();
  void FinishExtensiveScan();
  void FinishFileTrace();
  void SetCommandState();
  void MarkScanEnded();
  void ShowIdleTitle();
  void EndBusy();
  void JoinWorker();
  void ShowButton(CWnd& button, bool shown);
  void ShowNavigation(bool shown);
  void SetSummary(const CString& text);
  void MoveHighlight();
  void Layout(int cx, int cy);
  UINT HeaderBitmap() const;

  SourceTreeCtrl m_tree;
  CSecondDisplay m_panel;
  SplitterCtrl m_splitter;
  ui::CToolButton m_next, m_back, m_stop, m_home;
  CFont m_font;
  ScanPageLinks m_links;
  std::thread m_worker;
  std::atomic<bool> m_workerExited{false};
  // The worker asked for the timer to go: it could not scan and has made the page idle itself.
  std::atomic<bool> m_timerKillRequested{false};
  std::atomic<uint32_t> m_busy{0};
  // Keyboard highlight: the tree, Next or Back.
  bool m_treeHighlight = true;
  bool m_nextHighlight = false;
  bool m_backHighlight = false;
};
