#include "preview/placeholder_views.h"

#include "platform/classlib/win/cdc.h"
#include "preview/placeholder_picture.h"
#include "preview/preview_host.h"
#include "preview/viewers/centred_bitmap.h"
#include "res/resource.h"

IMPLEMENT_DYNAMIC(CPlaceholderView, CView)
IMPLEMENT_DYNCREATE(CCorrupted_NoPreview_View, CPlaceholderView)
IMPLEMENT_DYNCREATE(CLargeFileView, CPlaceholderView)

BEGIN_MESSAGE_MAP(CPlaceholderView, CView)
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

BOOL CPlaceholderView::OnEraseBkgnd(CDC* pDC) {
  CRect client;
  GetClientRect(client);
  pDC->FillSolidRect(client, RGB(255, 255, 255));
  return TRUE;
}

UINT CCorrupted_NoPreview_View::CurrentPicture() {
  const PreviewHost* host = CurrentPreviewHost();
  if (host == nullptr) return IDB_PREVIEW_CORRUPTED;
  switch (ChooseNoPreviewPicture(host->m_bNoFileSelected, host->m_bPreviewSupported, host->m_bPreviewOk,
                                 host->m_bImageNeeded)) {
    case PlaceholderPicture::kSelectFile:
      return IDB_PREVIEW_SELECT_FILE;
    case PlaceholderPicture::kImageNeeded:
      return IDB_PREVIEW_IMAGE_NEEDED;
    case PlaceholderPicture::kNoViewer:
      return IDB_PREVIEW_NO_VIEWER;
    default:
      return IDB_PREVIEW_CORRUPTED;
  }
}

void CCorrupted_NoPreview_View::OnDraw(CDC* pDC) { DrawCentredBitmap(pDC, this, CurrentPicture()); }

void CLargeFileView::OnDraw(CDC* pDC) { DrawCentredBitmap(pDC, this, IDB_PREVIEW_LARGE_FILE); }
