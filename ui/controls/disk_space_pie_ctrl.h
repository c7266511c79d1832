// DiskSpacePieCtrl: a drive's capacity, used and free space as a legend and a three-dimensional pie
// (an ellipse with a 10-pixel rim), the used share in one colour and the free share in another.
#pragma once

#include "platform/classlib/win/classlib_win.h"
#include "ui/controls/pie_geometry.h"

class DiskSpacePieCtrl : public CStatic {
  DECLARE_DYNAMIC(DiskSpacePieCtrl)

 public:
  static constexpr COLORREF kUsedColour = 0x8FA7F8;
  static constexpr COLORREF kFreeColour = 0x77FF77;

  DiskSpacePieCtrl() = default;

  // Reads the drive's total and free bytes (all zero when they cannot be read) and repaints.
  void SetDrive(const char* lpszPath);
  // The figures SetDrive shows; used = total − free (0 when free exceeds the total).
  void SetSpace(LPCTSTR lpszPath, ULONGLONG total, ULONGLONG free);
  int GetUsedPercent() const { return m_usedPercent; }

 protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  DECLARE_MESSAGE_MAP()

 private:
  void DrawLegend(CDC* pDC, const CRect& client);
  void DrawPie(CDC* pDC);

  CString m_drivePath;
  ULONGLONG m_used = 0, m_total = 0, m_free = 0;
  int m_upper = 100, m_lower = 0, m_usedPercent = 0;
  pie::PieLayout m_layout;  // of the last drawing
};
