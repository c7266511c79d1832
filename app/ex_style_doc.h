// CEx_StyleDoc: the one document of the program. The recovery data lives in the engine's records; the
// document serves the preview pane: the picture files of a folder shown as thumbnails, the picture
// shown, the path being previewed, and the open Access database with the two views that show it.
#pragma once

#include <cstdint>

#include "platform/classlib/carray.h"
#include "platform/classlib/cstring.h"
#include "platform/classlib/win/cdocument.h"
#include "preview/preview_host.h"

class CDaoDatabase;
class CxImage;

// The preview path, the thumbnail folder and its picture names, and the database views, are
// PreviewDocument's, which the viewers read and call.
class CEx_StyleDoc : public CDocument, public PreviewDocument {
  DECLARE_DYNCREATE(CEx_StyleDoc)

 public:
  CEx_StyleDoc() = default;
  ~CEx_StyleDoc() override;

  BOOL OnNewDocument() override;
  // The document keeps nothing in a file.
  void Serialize(CArchive& ar) override;

  // Takes the folder's picture files (by IsSupportedImageFile) in ascending code-unit order.
  void LoadThumbnailFolder(const CString& folder) override;
  // Deletes every file of the folder, leaving its sub-folders; the thumbnail list is emptied. An empty
  // folder name deletes nothing.
  void EmptyThumbnailFolder(const CString& folder) override;
  // Shows thumbnail i: the picture is decoded again only when i changes; outside the list, none.
  void SelectThumbnail(int i);
  // Opens the database for the database views. FALSE (the user told why) when it cannot be opened;
  // the database open before stays open.
  BOOL OpenDatabase(const CString& path) override;
  // Clears the table list and fills the database tree when a database is open.
  void RefreshDatabaseViews();

  int CurrentThumbnail = -1;
  CxImage* CurrentPicture = nullptr;         // owned
  CDaoDatabase* m_pDatabase = nullptr;       // owned

 private:
  void ReleasePicture();
  void CloseDatabase();
  bool m_bComInitialised = false;
};
