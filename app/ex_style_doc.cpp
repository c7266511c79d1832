#include "app/ex_style_doc.h"

#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <vector>

#include "app/logic/thumbnail_order.h"
#include "preview/image_file_type.h"
#include "platform/standins/cximage.h"
#include "platform/standins/dao_database.h"
#include "preview/main_preview_view.h"
#include "preview/preview_host.h"
#include "preview/viewers/database_views.h"
#include "preview/viewers/thumb_view.h"
#include "platform/os/markup_escape.h"
#include "ui/msgbox/message_dialogs.h"

IMPLEMENT_DYNCREATE(CEx_StyleDoc, CDocument)

namespace {

static_assert(sizeof(wchar_t) == 2, "UTF-16 text");

// The names of the plain files of a folder (no sub-folders).
std::vector<CString> FilesOf(const CString& folder) {
  std::vector<CString> names;
  WIN32_FIND_DATAW found{};
  const CString pattern = folder + _T("\\*");
  HANDLE search = ::FindFirstFileW(pattern, &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.emplace_back(found.cFileName);
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
  return names;
}

void ReportDatabaseFailure(const CString& path, const CString& why) {
  MessageText = u"The database could not be opened:\r\n" + msgbox::EscapeMarkup(path.ToUtf16()) + u"\r\n" +
                msgbox::EscapeMarkup(why.ToUtf16());
  MessageKind = msgbox::kError;
  MessageDialog dialog;
  dialog.DoModal();
}

}  // namespace

CEx_StyleDoc::~CEx_StyleDoc() {
  CloseDatabase();
  ReleasePicture();
  m_thumbFiles.RemoveAll();
  if (m_bComInitialised) ::CoUninitialize();
}

BOOL CEx_StyleDoc::OnNewDocument() { return CDocument::OnNewDocument(); }

void CEx_StyleDoc::Serialize(CArchive&) {}

void CEx_StyleDoc::ReleasePicture() {
  delete CurrentPicture;
  CurrentPicture = nullptr;
}

void CEx_StyleDoc::LoadThumbnailFolder(const CString& folder) {
  m_thumbFolder = folder;
  m_thumbFiles.RemoveAll();
  ReleasePicture();
  std::vector<CString> pictures;
  for (CString name : FilesOf(folder)) {
    if (IsSupportedImageFile(name.ToUtf16()) != 0) pictures.push_back(name.MakeLower());
  }
  std::sort(pictures.begin(), pictures.end(), [](const CString& a, const CString& b) {
    return applogic::ThumbnailNameLess(a.ToUtf16(), b.ToUtf16());
  });
  for (const CString& name : pictures) m_thumbFiles.Add(name);
  PreviewHost* host = CurrentPreviewHost();
  if (host != nullptr && host->m_pPreviewView != nullptr) {
    if (auto* thumbnails = dynamic_cast<CThumbView*>(host->m_pPreviewView->m_pThumbView)) thumbnails->LoadThumbnails();
  }
  CurrentThumbnail = -1;
}

void CEx_StyleDoc::EmptyThumbnailFolder(const CString& folder) {
  m_thumbFolder = folder;
  m_thumbFiles.RemoveAll();
  ReleasePicture();
  // An empty name would make the pattern "\*", the files at the top of the current drive.
  if (folder.IsEmpty()) return;
  for (const CString& name : FilesOf(folder)) ::DeleteFileW(folder + _T("\\") + name);
}

void CEx_StyleDoc::SelectThumbnail(int i) {
  if (i == CurrentThumbnail) return;
  CurrentThumbnail = i;
  ReleasePicture();
  if (i < 0 || i >= m_thumbFiles.GetSize()) return;
  const CString path = m_thumbFolder + _T("\\") + m_thumbFiles[i];
  const uint32_t type = IsSupportedImageFile(path.ToUtf16());
  if (type != 0) CurrentPicture = new CxImage(path, type);
}

void CEx_StyleDoc::CloseDatabase() {
  if (m_pDatabase == nullptr) return;
  if (m_pDatabase->IsOpen()) m_pDatabase->Close();
  delete m_pDatabase;
  m_pDatabase = nullptr;
}

BOOL CEx_StyleDoc::OpenDatabase(const CString& path) {
  if (!m_bComInitialised) m_bComInitialised = SUCCEEDED(::CoInitialize(nullptr));
  CDaoDatabase* database = new CDaoDatabase;
  // The database engine reports by exceptions; none may leave for the message handler that called.
  CString failure;
  BOOL engineMissing = FALSE;
  try {
    database->Open(path, FALSE, FALSE, _T(""));
  } catch (CDaoException* e) {
    failure = e->m_strError;
    engineMissing = e->m_bEngineMissing;
    e->Delete();
  } catch (CException* e) {
    failure = _T("The database engine failed.");
    e->Delete();
  }
  if (!failure.IsEmpty()) {
    delete database;
    // Without the engine the file was never looked at: no box at every click, and the pane says the
    // type cannot be previewed here.
    if (engineMissing) {
      ReportPreviewComponentMissing();
    } else {
      ReportDatabaseFailure(path, failure);
    }
    return FALSE;
  }
  CloseDatabase();
  m_pDatabase = database;
  if (m_pDaoTreeView != nullptr) m_pDaoTreeView->m_pDatabase = database;
  if (m_pTableListView != nullptr) m_pTableListView->m_pDatabase = database;
  RefreshDatabaseViews();
  return TRUE;
}

void CEx_StyleDoc::RefreshDatabaseViews() {
  if (m_pDatabase == nullptr) return;
  if (m_pTableListView != nullptr) m_pTableListView->ClearList();
  if (m_pDaoTreeView != nullptr) m_pDaoTreeView->FillDatabaseTree();
}
