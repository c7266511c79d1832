// CFileDialogEx: the small open/save dialog class of page 0 and the snapshot commands. The dialog runs
// through the program's file dialog seam (explorer style always added); a multiple selection is walked
// with GetStartPosition and GetNextPathName.
#pragma once

#include <string>
#include <vector>

#include "platform/classlib/win/classlib_win.h"

class CFileDialogEx {
 public:
  CFileDialogEx(BOOL openFileDialog, LPCTSTR defaultExtension, LPCTSTR fileName, DWORD flags, LPCTSTR filter,
                CWnd* parent);

  void SetTitle(LPCTSTR title) { m_title = title; }
  // IDOK (1) on OK, IDCANCEL (2) on cancel.
  INT_PTR DoModal();
  CString GetPathName() const;
  POSITION GetStartPosition() const;
  CString GetNextPathName(POSITION& position) const;

  DWORD Flags() const { return m_flags; }

 private:
  BOOL m_open;
  CString m_defaultExtension;
  CString m_initialName;
  CString m_filter;
  CString m_title;
  DWORD m_flags;
  HWND m_owner;
  std::vector<std::u16string> m_paths;
};
