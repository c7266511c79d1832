// CImageList: thin calls of the common controls' image list functions.
#include "platform/classlib/win/cimagelist.h"

#include "platform/classlib/resource_win32.h"
#include "platform/classlib/win/cdc.h"
#include "platform/classlib/win/cgdiobject.h"

IMPLEMENT_DYNCREATE(CImageList, CObject)

namespace {
HBITMAP BitmapOf(CBitmap* pBitmap) { return pBitmap != nullptr ? HBITMAP(*pBitmap) : nullptr; }
HDC DCOf(CDC* pDC) { return pDC != nullptr ? pDC->m_hDC : nullptr; }

// Takes a list just made; one the object cannot take (it holds one already) is destroyed again.
BOOL AttachMade(CImageList* pList, HIMAGELIST hImageList) {
  if (pList->Attach(hImageList)) return TRUE;
  if (hImageList != nullptr) ::ImageList_Destroy(hImageList);
  return FALSE;
}
}  // namespace

CImageList::~CImageList() { DeleteImageList(); }

CImageList* CImageList::FromHandle(HIMAGELIST hImageList) { return CImageListHandleMap::FromHandle(hImageList); }
BOOL CImageList::Attach(HIMAGELIST hImageList) {
  return CImageListHandleMap::Attach(this, &CImageList::m_hImageList, hImageList);
}
HIMAGELIST CImageList::Detach() { return CImageListHandleMap::Detach(this, &CImageList::m_hImageList); }

BOOL CImageList::Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow) {
  return AttachMade(this, ::ImageList_Create(cx, cy, nFlags, nInitial, nGrow));
}
BOOL CImageList::Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask) {
  return Create(MAKEINTRESOURCEW(nBitmapID), cx, nGrow, crMask);
}
BOOL CImageList::Create(LPCTSTR lpszBitmapID, int cx, int nGrow, COLORREF crMask) {
  return AttachMade(this, ::ImageList_LoadImageW(AfxGetResourceHandle(), lpszBitmapID, cx, nGrow, crMask, IMAGE_BITMAP,
                                                 LR_CREATEDIBSECTION));
}
BOOL CImageList::DeleteImageList() {
  HIMAGELIST hImageList = Detach();
  return hImageList != nullptr ? ::ImageList_Destroy(hImageList) : FALSE;
}

CImageList* CImageList::NewTemporary(HIMAGELIST hImageList) {
  return AfxNewTemporaryWrapper(&CImageList::m_hImageList, hImageList);
}
void CImageList::DeleteTemporary(CImageList* pImageList) {
  AfxDeleteTemporaryWrapper(pImageList, &CImageList::m_hImageList);
}

int CImageList::GetImageCount() const { return ::ImageList_GetImageCount(m_hImageList); }
BOOL CImageList::SetImageCount(UINT uNewCount) { return ::ImageList_SetImageCount(m_hImageList, uNewCount); }
int CImageList::Add(CBitmap* pbmImage, CBitmap* pbmMask) {
  return ::ImageList_Add(m_hImageList, BitmapOf(pbmImage), BitmapOf(pbmMask));
}
int CImageList::Add(CBitmap* pbmImage, COLORREF crMask) {
  return ::ImageList_AddMasked(m_hImageList, BitmapOf(pbmImage), crMask);
}
int CImageList::Add(HICON hIcon) { return ::ImageList_ReplaceIcon(m_hImageList, -1, hIcon); }
BOOL CImageList::Replace(int nImage, CBitmap* pbmImage, CBitmap* pbmMask) {
  return ::ImageList_Replace(m_hImageList, nImage, BitmapOf(pbmImage), BitmapOf(pbmMask));
}
int CImageList::Replace(int nImage, HICON hIcon) { return ::ImageList_ReplaceIcon(m_hImageList, nImage, hIcon); }
BOOL CImageList::Remove(int nImage) { return ::ImageList_Remove(m_hImageList, nImage); }
BOOL CImageList::Copy(int iDst, int iSrc, UINT uFlags) {
  return ::ImageList_Copy(m_hImageList, iDst, m_hImageList, iSrc, uFlags);
}
HICON CImageList::ExtractIcon(int nImage) { return ::ImageList_GetIcon(m_hImageList, nImage, ILD_NORMAL); }
BOOL CImageList::GetImageInfo(int nImage, IMAGEINFO* pImageInfo) const {
  return ::ImageList_GetImageInfo(m_hImageList, nImage, pImageInfo);
}
BOOL CImageList::SetOverlayImage(int nImage, int nOverlay) {
  return ::ImageList_SetOverlayImage(m_hImageList, nImage, nOverlay);
}
COLORREF CImageList::GetBkColor() const { return ::ImageList_GetBkColor(m_hImageList); }
COLORREF CImageList::SetBkColor(COLORREF cr) { return ::ImageList_SetBkColor(m_hImageList, cr); }

BOOL CImageList::Draw(CDC* pDC, int nImage, CPoint pt, UINT nStyle) {
  return ::ImageList_Draw(m_hImageList, nImage, DCOf(pDC), pt.x, pt.y, nStyle);
}
BOOL CImageList::DrawEx(CDC* pDC, int nImage, CPoint pt, CSize sz, COLORREF clrBk, COLORREF clrFg, UINT nStyle) {
  return ::ImageList_DrawEx(m_hImageList, nImage, DCOf(pDC), pt.x, pt.y, sz.cx, sz.cy, clrBk, clrFg, nStyle);
}
