// The preview of Photoshop images: the composite picture decoded once, while the view is created, and
// stretched over the whole view inside a black frame.
#pragma once

#include "platform/classlib/win/cgdiobject.h"
#include "platform/classlib/win/cstatic.h"
#include "platform/classlib/win/cview.h"
#include "preview/psd/psd_decoder.h"

class CPSDViewView : public CView {
  DECLARE_DYNCREATE(CPSDViewView)

 public:
  CPSDViewView() = default;
  static constexpr UINT kFrameId = 0xF01C;

  // Decodes the file; 0 when it was read (whether a picture came out of it is HasPicture()).
  int LoadFile(const CString& path);
  bool HasPicture() const { return m_nLoadResult == kPsdOk && m_bitmap.GetSafeHandle() != nullptr; }
  int LoadResult() const { return m_nLoadResult; }
  HBITMAP GetBitmap() const { return static_cast<HBITMAP>(m_bitmap.GetSafeHandle()); }

 protected:
  void OnDraw(CDC* pDC) override;
  void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  DECLARE_MESSAGE_MAP()

 private:
  int m_nLoadResult = kPsdCannotOpen;
  bool m_bUnsupportedVariant = false;  // the file is sound, of a kind the decoder does not draw
  PsdDecoder m_decoder;
  CBitmap m_bitmap;  // the decoder's bits as a DIB section
  CStatic m_frame;
};
