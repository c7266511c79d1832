// CTextView: an icon or an enhanced metafile (".ico", ".emf") loaded as an OLE picture, fitted whole into the
// view in its own proportions, as the image view fits its pictures. Pictures with transparent parts (icons
// and metafiles are) are drawn over white first.
#pragma once

#include <ocidl.h>
#include <olectl.h>

#include "platform/classlib/cstring.h"
#include "platform/classlib/win/cview.h"

class CTextView : public CView {
  DECLARE_DYNCREATE(CTextView)

 public:
  CTextView() = default;
  ~CTextView() override;
  // 1 when the picture was loaded, else 0.
  int LoadPicture(const CString& path);

  LONG m_cxPicture = 0;  // the picture's size in screen pixels
  LONG m_cyPicture = 0;
  OLE_XSIZE_HIMETRIC m_hmWidth = 0;  // and as the picture reports it (0.01 mm)
  OLE_YSIZE_HIMETRIC m_hmHeight = 0;
  IPicture* m_pPicture = nullptr;  // owned
  // The picture's icon when the picture reported no size of its own (an icon of 256 pixels, whose directory
  // writes that size as 0): its size was taken from its bitmaps, and it is drawn as an icon. The picture's.
  HICON m_sizedIcon = nullptr;

 protected:
  void OnDraw(CDC* pDC) override;
  void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr) override;
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  DECLARE_MESSAGE_MAP()

 private:
  void RenderThroughBitmap(CDC* pDC, const RECT& box);
};
