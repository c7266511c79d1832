#include "preview/viewers/image_view.h"

#include "preview/image_file_type.h"
#include "platform/classlib/win/cdc.h"
#include "platform/standins/cximage.h"
#include "preview/preview_host.h"
#include "preview/viewers/picture_placement.h"

IMPLEMENT_DYNCREATE(CImage_View, CView)

BEGIN_MESSAGE_MAP(CImage_View, CView)
  ON_WM_CREATE()
END_MESSAGE_MAP()

namespace {

void ReportNotShown() {
  if (PreviewHost* host = CurrentPreviewHost()) host->m_bPreviewOk = 0;
}

}  // namespace

CImage_View::CImage_View() = default;
CImage_View::~CImage_View() = default;

int CImage_View::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CView::OnCreate(lpCreateStruct) == -1) return -1;
  PreviewDocument* document = CurrentPreviewDocument();
  if (CurrentPreviewHost() == nullptr || document == nullptr) return 0;
  const CString path = document->m_previewPath;
  const uint32_t type = IsSupportedImageFile(path.ToUtf16());
  // A name that is no picture is left alone: the view shows nothing and the flag stays.
  if (type == 0) return 0;
  try {
    m_picture = std::make_unique<CxImage>(path, type);
  } catch (...) {
    m_picture.reset();
  }
  if (m_picture == nullptr || m_picture->GetWidth() == 0 || m_picture->GetHeight() == 0) {
    m_picture.reset();
    ReportNotShown();
  }
  return 0;
}

void CImage_View::OnUpdate(CView*, LPARAM, CObject*) {}

void CImage_View::OnDraw(CDC*) {
  if (m_picture == nullptr) return;
  CRect client;
  GetClientRect(client);
  const preview::Placement at =
      preview::FitPicture(client.Width(), client.Height(), m_picture->GetWidth(), m_picture->GetHeight());
  CClientDC dc(this);
  m_picture->Stretch(dc.m_hDC, at.x, at.y, at.width, at.height, SRCCOPY);
}
