// CMyListCtrl: the preview's view of an archive (".zip", ".cab", ".rar"). In its creation it lists the
// archive named by the document's preview path, once, into its ArchiveListCtrl: one row per member with
// name, folder, size, times and attributes. Nothing is ever extracted. Whether the listing worked goes
// to the frame's preview flag; the pane shows its no-preview view when it did not.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/classlib/cstring.h"
#include "platform/classlib/win/cimagelist.h"
#include "platform/classlib/win/clistctrl.h"
#include "platform/classlib/win/cview.h"
#include "ui/controls/shell_file_info.h"

class ArchiveListCtrl : public CListCtrl {
  DECLARE_DYNAMIC(ArchiveListCtrl)

 public:
  // Loads the seven header icons.
  ArchiveListCtrl();

  // The columns for the extension of the path (".zip" seven, ".gz", ".cab", ".rar" five, others none).
  void InsertArchiveColumns(const CString& path);
  // Header item i shows icon i.
  void SetHeaderImages();
  // A row at the end: the texts in column order, the first with the system icon.
  void AddRow(const std::vector<std::u16string>& texts, int icon);

 protected:
  afx_msg void OnClick(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void IgnoreNotify(NMHDR* pNMHDR, LRESULT* pResult);
  DECLARE_MESSAGE_MAP()

 private:
  CImageList m_headerImages;
};

class CMyListCtrl : public CView {
  DECLARE_DYNCREATE(CMyListCtrl)

 public:
  CMyListCtrl();
  ~CMyListCtrl() override;

  static constexpr UINT kListId = 165;

  ArchiveListCtrl* GetListCtrl() const { return m_pList; }
  // Fill the rows; 1 on success, 0 when the archive (or its library) cannot be read.
  int ListZipArchive(const CString& path);
  int CabArchiveLister();
  int ListRarArchive(const CString& path);

 protected:
  void OnDraw(CDC* pDC) override;
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg LRESULT OnShowNote(WPARAM, LPARAM);
  DECLARE_MESSAGE_MAP()

 private:
  // The system icon of the name's type; folders show the folder icon.
  int IconOf(const std::u16string& name, bool folder);
  // What the list lacks of the archive ("" when nothing), told once the list is drawn.
  void ShowNote(const std::u16string& note);

  CString m_note;  // what the list lacks of the archive, told once the list is drawn; empty when whole
  ui::TypeIcons m_icons;
  CString m_currentFolder;
  ArchiveListCtrl* m_pList = nullptr;
  CImageList m_viewImages;
  ui::ShellFileInfo m_shell;
};
