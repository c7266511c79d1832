#include "preview/viewers/viewer_standins.h"

#include <windows.h>

#include "platform/classlib/win/cdc.h"
#include "preview/preview_host.h"
#include "preview/viewers/centred_bitmap.h"
#include "res/resource.h"

IMPLEMENT_DYNAMIC(CPreviewStandInView, CView)
IMPLEMENT_DYNCREATE(CPendingViewerView, CPreviewStandInView)

BEGIN_MESSAGE_MAP(CPreviewStandInView, CView)
  ON_WM_CREATE()
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace {

// A file that opens for reading and holds at least one byte.
bool ReadableWithBytes(const CString& path) {
  HANDLE file = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  const bool ok = ::GetFileSizeEx(file, &size) && size.QuadPart > 0;
  ::CloseHandle(file);
  return ok;
}

}  // namespace

int CPreviewStandInView::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CView::OnCreate(lpCreateStruct) == -1) return -1;
  PreviewDocument* document = CurrentPreviewDocument();
  const CString path = document != nullptr ? document->m_previewPath : CString();
  if (!LoadPreviewFile(path)) {
    if (PreviewHost* host = CurrentPreviewHost()) host->m_bPreviewOk = 0;
  }
  return 0;
}

bool CPreviewStandInView::LoadPreviewFile(const CString& path) { return ReadableWithBytes(path); }

BOOL CPreviewStandInView::OnEraseBkgnd(CDC* pDC) {
  CRect client;
  GetClientRect(client);
  pDC->FillSolidRect(client, RGB(255, 255, 255));
  return TRUE;
}

void CPreviewStandInView::OnDraw(CDC* pDC) { DrawCentredBitmap(pDC, this, IDB_PREVIEW_NO_VIEWER); }
