// CImageList: a list of same-sized images (common-control image list). The object owns the list it
// made or was given (Attach): destroying it destroys the list unless Detach took it back. Lists that
// controls hand out (GetImageList) come back as temporary wrappers that destroy nothing.
#pragma once

#include <windows.h>
#include <commctrl.h>
// <shellapi.h> renames ExtractIcon: seen here, the member has one name wherever this header is.
#include <shellapi.h>

#include "platform/classlib/cobject.h"
#include "platform/classlib/crect.h"
#include "platform/classlib/win/handlemap.h"

class CBitmap;
class CDC;

class CImageList : public CObject {
  DECLARE_DYNCREATE(CImageList)

 public:
  CImageList() = default;
  ~CImageList() override;
  CImageList(const CImageList&) = delete;
  CImageList& operator=(const CImageList&) = delete;

  HIMAGELIST m_hImageList = nullptr;

  operator HIMAGELIST() const { return m_hImageList; }
  HIMAGELIST GetSafeHandle() const { return m_hImageList; }

  static CImageList* FromHandle(HIMAGELIST hImageList);
  BOOL Attach(HIMAGELIST hImageList);
  HIMAGELIST Detach();
  // An empty list of cx x cy images: nFlags ILC_COLORxx, with ILC_MASK for transparent images.
  BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
  // A bitmap resource cut into images cx wide, keeping its colours; crMask (CLR_NONE: none) is
  // transparent.
  BOOL Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask);
  BOOL Create(LPCTSTR lpszBitmapID, int cx, int nGrow, COLORREF crMask);
  BOOL DeleteImageList();

  static CImageList* NewTemporary(HIMAGELIST hImageList);
  static void DeleteTemporary(CImageList* pImageList);

  // ---- images: the index of the first image added, or -1 ---------------------------------------------
  int GetImageCount() const;
  BOOL SetImageCount(UINT uNewCount);
  int Add(CBitmap* pbmImage, CBitmap* pbmMask);
  int Add(CBitmap* pbmImage, COLORREF crMask);
  int Add(HICON hIcon);
  BOOL Replace(int nImage, CBitmap* pbmImage, CBitmap* pbmMask);
  // nImage -1 adds the icon.
  int Replace(int nImage, HICON hIcon);
  // nImage -1 removes every image.
  BOOL Remove(int nImage);
  BOOL Copy(int iDst, int iSrc, UINT uFlags = ILCF_MOVE);
  // A new icon of the image, which the caller destroys.
  HICON ExtractIcon(int nImage);
  BOOL GetImageInfo(int nImage, IMAGEINFO* pImageInfo) const;
  BOOL SetOverlayImage(int nImage, int nOverlay);
  COLORREF GetBkColor() const;
  COLORREF SetBkColor(COLORREF cr);

  // ---- drawing ------------------------------------------------------------------------------------------
  // nStyle ILD_NORMAL, ILD_TRANSPARENT, ILD_BLEND50, ILD_SELECTED, ILD_FOCUS, with INDEXTOOVERLAYMASK.
  BOOL Draw(CDC* pDC, int nImage, CPoint pt, UINT nStyle);
  BOOL DrawEx(CDC* pDC, int nImage, CPoint pt, CSize sz, COLORREF clrBk, COLORREF clrFg, UINT nStyle);
};

using CImageListHandleMap = CHandleMap<CImageList, HIMAGELIST>;
