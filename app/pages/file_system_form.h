// CFileSystemForm: the form beside page 3's tree. It shows the chosen file system's parameters in five
// rows under the FAT or NTFS captions, and, while the chosen file system is read, the worker's progress
// bar and status line (host::FileSystemFormHost: each setter is one message to the form's thread).
#pragma once

#include "app/pages/colon_label.h"
#include "engine/host/file_system_form_host.h"
#include "engine/scan/choose_file_system.h"
#include "platform/classlib/win/classlib_win.h"
#include "ui/controls/gradient_progress_ctrl.h"
#include "ui/controls/xp_group_box.h"

class CFileSystemForm : public CView, public host::FileSystemFormHost {
  DECLARE_DYNAMIC(CFileSystemForm)

 public:
  static constexpr int kRows = 5;

  CFileSystemForm() = default;

  BOOL CreateForm(CWnd* parent, UINT id, CFont* font);
  void OnDraw(CDC* dc) override;
  // The form is a member of its page, not a view of its own on the heap: its window going leaves it be.
  void PostNcDestroy() override {}

  // host::FileSystemFormHost, for the reading worker.
  void SetProgressPos(uint32_t position) override;
  void SetStatusText(const std::u16string& text) override;
  void ShowProgressBar();
  void HideProgressBar();
  void ShowStatusText();
  void HideStatusText();

  void SetFatCaptions();
  void SetNtfsCaptions();
  void ClearValues();
  // The captions and values of a choice (ChooseFileSystem).
  void ShowChoice(const FileSystemChoice& choice);
  void SetNote(LPCTSTR text);

  CString RowCaption(int row) const;
  CString RowValue(int row) const;
  BOOL RowValueVisible(int row) const;
  GradientProgressCtrl& ProgressBar() { return m_progress; }
  CStatic& StatusLine() { return m_status; }

 protected:
  afx_msg void OnSize(UINT type, int cx, int cy);
  afx_msg HBRUSH OnCtlColor(CDC* dc, CWnd* window, UINT colourType);
  afx_msg BOOL OnEraseBkgnd(CDC* dc);
  DECLARE_MESSAGE_MAP()

 private:
  void SetCaptions(FormCaptions kind);
  void Layout(int cx, int cy);
  ui::CXPGroupBox m_group;
  ColonLabel m_captions[kRows];
  CStatic m_values[kRows];
  GradientProgressCtrl m_progress;
  CStatic m_status;
  CStatic m_note;
  CBrush m_background;
};
