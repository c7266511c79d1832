// CImage_View: a raster picture (PNG, JPEG, BMP, TGA, TIFF, PCX, PNM, JPEG 2000) shown whole in the view,
// its proportions kept, centred, shrunk to fit and never enlarged. The picture is decoded once, when the
// view is created; a file that does not decode clears the frame's preview flag and the view stays blank.
#pragma once

#include <memory>

#include "platform/classlib/win/cview.h"

class CxImage;

class CImage_View : public CView {
  DECLARE_DYNCREATE(CImage_View)

 public:
  CImage_View();
  ~CImage_View() override;
  // The decoded picture; null before creation and when the file is not a picture by its name.
  const CxImage* GetPicture() const { return m_picture.get(); }

 protected:
  void OnDraw(CDC* pDC) override;
  void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  DECLARE_MESSAGE_MAP()

 private:
  std::unique_ptr<CxImage> m_picture;  // kept between paints: decoding again would draw the same
};
