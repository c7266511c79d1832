#include "preview/viewers/thumb_view.h"

#include <memory>

#include "preview/image_file_type.h"
#include "platform/classlib/win/cdc.h"
#include "platform/classlib/win/cgdiobject.h"
#include "platform/standins/cximage.h"
#include "preview/preview_host.h"
#include "preview/viewers/picture_placement.h"

IMPLEMENT_DYNCREATE(CThumbView, CListView)

using preview::kThumbHeight;
using preview::kThumbWidth;

BOOL CThumbView::Create(LPCTSTR lpszClassName, LPCTSTR, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                        CCreateContext* pContext) {
  // The view's own member owns the image list (shared), so the control does not destroy it a second time.
  dwStyle |= LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_AUTOARRANGE | LVS_SHAREIMAGELISTS;
  return CListView::Create(lpszClassName, _T("ListView"), dwStyle, rect, pParentWnd, nID, pContext);
}

void CThumbView::OnInitialUpdate() {
  CListView::OnInitialUpdate();
  ResetImageList();
}

void CThumbView::ResetImageList() {
  const HIMAGELIST old = m_imageList.Detach();
  m_imageList.Create(kThumbWidth, kThumbHeight, ILC_COLOR24, 0, 1);
  GetListCtrl().SetImageList(&m_imageList, LVSIL_NORMAL);
  if (old != nullptr) ::ImageList_Destroy(old);
}

int CThumbView::GetThumbnailCount() const { return GetListCtrl().GetItemCount(); }

void CThumbView::LoadThumbnails() {
  PreviewDocument* document = CurrentPreviewDocument();
  if (document == nullptr || m_hWnd == nullptr) return;
  CListCtrl& list = GetListCtrl();
  ResetImageList();
  list.DeleteAllItems();
  const int n = static_cast<int>(document->m_thumbFiles.GetSize());
  m_imageList.SetImageCount(static_cast<UINT>(n));
  SetRedraw(FALSE);
  for (int i = 0; i < n; ++i) {
    CString label;
    label.Format(_T("%d"), i + 1);
    list.InsertItem(i, label, i);
  }
  SetRedraw(TRUE);
  Invalidate();

  CBrush black(RGB(0, 0, 0));
  CBrush white(RGB(255, 255, 255));
  // Every tile starts blank: one that does not decode stays so.
  for (int i = 0; i < n; ++i) {
    if (!DrawThumbnail(i, CString(), black, white)) return;
  }
  for (int i = 0; i < n; ++i) {
    CString path;
    path.Format(_T("%s\\%s"), document->m_thumbFolder.GetString(), document->m_thumbFiles[i].GetString());
    if (!DrawThumbnail(i, path, black, white)) return;
  }
  Invalidate();
}

bool CThumbView::DrawThumbnail(int i, const CString& path, CBrush& black, CBrush& white) {
  std::unique_ptr<CxImage> picture;
  if (!path.IsEmpty()) {
    const uint32_t type = IsSupportedImageFile(path.ToUtf16());
    if (type == 0) return true;
    try {
      picture = std::make_unique<CxImage>(path, type);
    } catch (...) {
      return true;
    }
    if (!picture->IsValid()) return true;
  }
  if (m_hWnd == nullptr || !::IsWindow(m_hWnd)) return false;
  CClientDC client(this);
  CDC memory;
  CBitmap tile;
  if (!memory.CreateCompatibleDC(&client) || !tile.CreateCompatibleBitmap(&client, kThumbWidth, kThumbHeight)) {
    return true;
  }
  CBitmap* old = memory.SelectObject(&tile);
  const CRect whole(0, 0, kThumbWidth, kThumbHeight);
  memory.FillRect(whole, &white);
  if (picture != nullptr) {
    const preview::Placement at = preview::FitThumbnail(picture->GetWidth(), picture->GetHeight());
    picture->Stretch(memory.m_hDC, at.x, at.y, at.width, at.height, SRCCOPY);
    memory.FrameRect(whole, &black);
  }
  memory.SelectObject(old);
  m_imageList.Replace(i, &tile, nullptr);
  GetListCtrl().RedrawItems(i, i);
  return true;
}
