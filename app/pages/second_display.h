// CSecondDisplay: the panel on the right of the scan page. Before a scan it shows the partition or sector
// range chosen on the source page and, for an Extensive Scan, the file system and range inputs; during a
// scan its five rows carry the worker's counters, with a gradient progress bar, a status line and the
// "Hide Progress" button. The workers reach it through host::SecondDisplayHost and never touch a control
// themselves: the progress, status and row values wait in PanelUpdates for one posted message; showing,
// hiding and relabelling are sent, after whatever values wait.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>

#include "app/pages/colon_label.h"
#include "app/pages/panel_updates.h"
#include "app/pages/scan_panel_texts.h"
#include "engine/host/scan_host.h"
#include "platform/classlib/win/classlib_win.h"
#include "ui/controls/disk_space_pie_ctrl.h"
#include "ui/controls/flat_combo_box.h"
#include "ui/controls/gradient_progress_ctrl.h"
#include "ui/controls/icon_button.h"
#include "ui/controls/xp_group_box.h"

class CSecondDisplay : public CView, public host::SecondDisplayHost {
  DECLARE_DYNAMIC(CSecondDisplay)

 public:
  static constexpr UINT kSetterMessage = WM_APP + 0x22;
  static constexpr UINT kUpdatesMessage = WM_APP + 0x23;
  static constexpr int kRows = scanpage::kPanelRows;

  CSecondDisplay() = default;

  BOOL CreatePanel(CWnd* parent, UINT id, const CRect& rect);
  void OnDraw(CDC* dc) override;
  // A member of the scan page: it does not delete itself with its window.
  void PostNcDestroy() override {}

  // host::SecondDisplayHost: from the workers, or this thread (at once).
  void SetProgressPos(uint32_t position) override;
  void SetStatusText(const std::u16string& text) override;
  void SetCounterLabels() override;
  void ShowProgressBar() override;
  void HideProgressBar() override;
  void ShowStatusText() override;
  void HideStatusText() override;
  void SetRowValue(host::SecondDisplayRow row, const std::u16string& text) override;

  // What the pages prepare (their own thread).
  void ShowPartitionInfo(int index);
  void ShowScanRangeInfo();
  void ShowLogicalDriveInfo();
  void ShowLogicalDriveSummary();
  void ClearPartitionInfo();
  void ClearValues();
  void SetFatSearchLabels();
  void SetNtfsSearchLabels();
  void ShowRangeInput();
  void ShowFileSystemChoice();
  void ShowInputGroupCaption();
  void HideInputGroup();
  void SetTitle(const CString& text);
  void SetInfoBoxCaption(const CString& text);
  // The "Hide Progress" button with its note, shown and enabled or hidden and disabled.
  void ShowHideProgress(bool shown);
  // The button reads "Hide Progress" again and the workers report again.
  void ResetHideProgress();
  void ToggleHideProgress();

  // Reads of what the panel shows.
  CString Title() const;
  CString StartField() const;
  CString EndField() const;
  int FileSystemItem() const;
  CString RowCaption(int row) const;
  CString RowValue(int row) const;
  CString StatusText() const;
  GradientProgressCtrl& ProgressBar() { return m_progress; }
  CStatic& StatusLine() { return m_status; }
  ui::IconButton& HideProgressButton() { return m_hideProgress; }
  CEdit& StartEdit() { return m_startField; }
  CEdit& EndEdit() { return m_endField; }
  CComboBox& FileSystemList() { return m_fileSystems; }
  CWnd& FileSystemCaption() { return m_inputCaptions[0]; }

  // Called when the panel is clicked or its button pressed: the scan page becomes the frame's active view.
  std::function<void()> onActivatePage;

 protected:
  afx_msg void OnSize(UINT type, int cx, int cy);
  afx_msg HBRUSH OnCtlColor(CDC* dc, CWnd* window, UINT colourType);
  afx_msg BOOL OnEraseBkgnd(CDC* dc);
  afx_msg void OnShowWindow(BOOL show, UINT status);
  afx_msg void OnLButtonDown(UINT flags, CPoint point);
  afx_msg void OnHideProgressClicked();
  afx_msg LRESULT OnSetter(WPARAM, LPARAM call);
  afx_msg LRESULT OnUpdates(WPARAM, LPARAM);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  enum class Op { kPos, kStatus, kCounters, kShowBar, kHideBar, kShowStatus, kHideStatus, kRow };
  struct SetterCall {
    Op op;
    uint32_t number;
    const std::u16string* text;
  };
  void Send(Op op, uint32_t number = 0, const std::u16string* text = nullptr);
  // From a worker: a value that only its latest report matters for; false on this thread (send instead).
  bool Queue(Op op, uint32_t number, const std::u16string* text);
  void ApplyUpdates();
  void Layout();
  void SetCaptions(scanpage::PanelCaptions kind);
  void ShowRange(const scanpage::PanelRange& shown);
  void ShowWindows(std::initializer_list<CWnd*> windows, bool shown);
  void HideDrivePie();

  CFont m_panelFont;
  CFont m_textFont;
  CFont m_titleFont;
  CBrush m_white;
  CStatic m_title;
  ColonLabel m_captions[kRows];
  CStatic m_values[kRows];
  ColonLabel m_inputCaptions[3];
  CEdit m_startField;
  CEdit m_endField;
  ui::FlatComboBox m_fileSystems;
  ui::CXPGroupBox m_driveBox;
  ui::CXPGroupBox m_infoBox;
  DiskSpacePieCtrl m_pie;
  ui::IconButton m_hideProgress;
  CStatic m_note;
  GradientProgressCtrl m_progress;
  CStatic m_status;
  PanelUpdates m_updates;
};
