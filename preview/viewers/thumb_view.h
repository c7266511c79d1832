// CThumbView: the pictures of a folder (a presentation's slides) as numbered thumbnails in a list view's
// icon mode. Each thumbnail is a 160 x 120 white tile with a black frame and the picture fitted inside;
// its label is its place in the document's sorted list, from 1. The pictures are decoded once, into the
// view's image list, so the folder's files may go as soon as LoadThumbnails returns.
#pragma once

#include "platform/classlib/win/cimagelist.h"
#include "platform/classlib/win/clistview.h"

class CBrush;

class CThumbView : public CListView {
  DECLARE_DYNCREATE(CThumbView)

 public:
  CThumbView() = default;
  BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
              UINT nID, CCreateContext* pContext = nullptr) override;
  void OnInitialUpdate() override;
  // Fills the view from the document's thumbnail folder and names: a numbered item for every name, then
  // each picture decoded and drawn into its tile (a file that does not decode keeps a blank tile).
  void LoadThumbnails();
  int GetThumbnailCount() const;

  CImageList m_imageList;

 private:
  // A new empty image list of tiles, set as the list view's normal image list.
  void ResetImageList();
  // Draws the tile of picture i (folder + "\\" + name) into image i; false when the view is gone.
  bool DrawThumbnail(int i, const CString& path, CBrush& black, CBrush& white);
};
