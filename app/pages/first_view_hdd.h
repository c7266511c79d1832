// CFirstView_HDD: page 1 of the wizard. Its left pane is the source tree with the opened image as a disk
// under "My Computer" and "Physical Devices"; its right pane the disk panel. Next reads the disk's
// partition table and runs the partition search on a worker, watched by a 1000 ms timer that moves on to
// page 2 when the worker has ended. Stop asks first, while the worker waits at its pause gate.
#pragma once

#include <thread>

#include "app/pages/first_display.h"
#include "app/pages/page_tool_buttons.h"
#include "app/pages/source_tree_ctrl.h"
#include "engine/host/partition_host.h"
#include "platform/classlib/win/classlib_win.h"
#include "ui/controls/hover_button.h"
#include "ui/controls/splitter_ctrl.h"

class CFirstView_HDD : public CView, public host::PartitionChoiceHost, public host::DiskTableHost {
  DECLARE_DYNCREATE(CFirstView_HDD)

 public:
  static constexpr UINT_PTR kTimerId = 1;

  CFirstView_HDD();
  ~CFirstView_HDD() override;

  // Registers the opened image in a fresh disk table and lists it: the disk is selected at once.
  void EnumeratePhysicalDisks();
  // Carries out what a selection in a source tree decided (page 2's tree hands its decisions here too).
  void ApplySelection(const source::SelectionActions& actions);

  // Back from page 2: the page as before its search (its note, the bar at 0 and hidden, the tree and its
  // buttons ready).
  void RestoreBeforeSearch();

  afx_msg void OnNext();
  afx_msg void OnBack();
  afx_msg void OnStop();

  SourceTreeCtrl& Tree() { return m_tree; }
  CFirstDisplay& Panel() { return m_panel; }
  CWnd& Button(UINT id) { return m_buttons.Button(id); }
  bool WorkerRunning() const { return m_worker.joinable(); }

  // host::PartitionChoiceHost and host::DiskTableHost, for the search worker.
  host::PartitionChoice PartitionChoiceDialog() override;
  host::DiskGeometry GetDiskGeometry(uint32_t diskIndex) override;

  BOOL PreTranslateMessage(MSG* msg) override;

 protected:
  void OnDraw(CDC* dc) override;
  afx_msg int OnCreate(LPCREATESTRUCT create);
  afx_msg void OnSize(UINT type, int cx, int cy);
  afx_msg BOOL OnEraseBkgnd(CDC* dc);
  afx_msg void OnTimer(UINT_PTR id);
  afx_msg void OnDestroy();
  afx_msg void OnShowWindow(BOOL show, UINT status);
  afx_msg LRESULT OnAskChoice(WPARAM, LPARAM);
  DECLARE_MESSAGE_MAP()

 private:
  void Layout(int cx, int cy);
  void StartSearch();
  void EndSearch();
  void ShowIdleControls();
  void JoinWorker();
  void StepFocus();
  // Highlights Next (0) or Back (1), or gives the tree the focus (2).
  void FocusStep(int step);

  SourceTreeCtrl m_tree;
  CFirstDisplay m_panel;
  SplitterCtrl m_splitter;
  PageToolButtons m_buttons;
  uint32_t m_focusStep[4] = {1, 0, 0, 0};
  CFont m_font;
  CFont m_treeFont;
  std::thread m_worker;
};
