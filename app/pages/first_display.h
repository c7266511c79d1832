// CFirstDisplay: the right-hand pane of page 1. It describes the disk selected in the source tree (model,
// capacity, geometry), draws its partitions as a pie with a legend, and carries the progress bar and
// status line through which the partition search reports from its worker.
#pragma once

#include "app/pages/colon_label.h"
#include "app/pages/source_logic.h"
#include "engine/host/partition_host.h"
#include "platform/classlib/win/classlib_win.h"
#include "ui/controls/disk_space_pie_ctrl.h"
#include "ui/controls/gradient_progress_ctrl.h"
#include "ui/controls/pie_chart.h"
#include "ui/controls/xp_group_box.h"

// The pie of the selected disk's partitions, drawn from a CPieChart, with a legend beside it.
class PartitionPieCtrl : public CStatic {
 public:
  CPieChart& Chart() { return m_chart; }

 protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* dc);
  DECLARE_MESSAGE_MAP()

 private:
  CPieChart m_chart;
};

class CFirstDisplay : public CView, public host::FirstDisplayHost {
  DECLARE_DYNAMIC(CFirstDisplay)

 public:
  static constexpr int kRows = 5;

  CFirstDisplay() = default;
  BOOL CreatePanel(CWnd* parent, UINT id, CFont* font);

  // The panel for disk index of DiskTable; a negative index resets it.
  void ShowDiskInfo(int index);
  // Empties the values, hides the pie and removes its slices.
  void Reset();
  // Rebuilds the pie from PartitionTable for disk CurrentDriveIndex.
  void ShowPartitionPie();
  void SetDiskLabels();
  void SetVolumeLabels();
  void ShowProgress();
  void HideProgress();
  void ShowStatus();
  void HideStatus();

  // host::FirstDisplayHost, from the search worker: each is one message to the control.
  void SetStatusText(const std::u16string& text) override;
  void SetProgressPos(uint32_t position) override;
  // The panel has no button of its own: nothing to write.
  void SetButtonText(const std::u16string&) override {}

  CString ValueText(int row) const;
  CString LabelText(int row) const;
  CString StatusText() const;
  bool PieShown() const { return m_pie.GetSafeHwnd() != nullptr && m_pie.IsWindowVisible(); }
  CPieChart& Pie() { return m_pie.Chart(); }
  GradientProgressCtrl& Progress() { return m_progress; }

 protected:
  void OnDraw(CDC* dc) override;
  afx_msg void OnSize(UINT type, int cx, int cy);
  afx_msg BOOL OnEraseBkgnd(CDC* dc);
  afx_msg HBRUSH OnCtlColor(CDC* dc, CWnd* window, UINT colourType);
  afx_msg int OnMouseActivate(CWnd* desktop, UINT hitTest, UINT message);
  DECLARE_MESSAGE_MAP()

 private:
  void Layout(int cx, int cy);
  void SetLabels(const char16_t* const* labels);

  ColonLabel m_labels[kRows];
  CStatic m_values[kRows];
  PartitionPieCtrl m_pie;
  ui::CXPGroupBox m_group;
  ui::CXPGroupBox m_secondGroup;
  DiskSpacePieCtrl m_volumePie;
  GradientProgressCtrl m_progress;
  CStatic m_status;
  CBrush m_background;
};
