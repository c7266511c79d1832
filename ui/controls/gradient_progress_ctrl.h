// GradientProgressCtrl: a progress bar that fills its done part with a gradient laid out over the whole
// bar (so the colour shows how far it has come) and writes the percentage or position across it in
// two colours, split exactly at the bar's end. It paints off-screen; the standard control never paints.
#pragma once

#include "platform/classlib/win/classlib_win.h"

class GradientProgressCtrl : public CProgressCtrl {
  DECLARE_DYNAMIC(GradientProgressCtrl)

 public:
  static constexpr DWORD kShowPercent = 0x100;
  static constexpr DWORD kShowPosition = 0x200;

  GradientProgressCtrl();

  // "%d%%" with kShowPercent shows the percentage; an empty format or a zero mode shows no text.
  void SetTextFormat(LPCTSTR lpszFormat, DWORD dwMode);
  void SetBarTextColor(COLORREF colour) { m_barTextColour = colour; }
  void SetBackgroundTextColor(COLORREF colour) { m_backgroundTextColour = colour; }
  // Gradient colours from left to right (at least one).
  void SetGradientColors(const CDWordArray& colours);

 protected:
  // Fills the done part of the inner rectangle (up to doneRight) with the gradient.
  virtual void DrawGradient(CDC* pDC, const CRect& inner, int doneRight);
  // One segment of the ramp, laid over the whole segment and painted only inside clip.
  virtual void DrawGradientSegment(CDC* pDC, const CRect& segment, const CRect& clip, COLORREF from, COLORREF to);
  virtual void DrawBarText(CDC* pDC, const CRect& inner, int doneRight);
  virtual void DrawClippedText(CDC* pDC, const CRect& clip, const CString& text, CPoint origin, COLORREF colour);
  // The moving-block style is never selected: FALSE leaves the position to the standard control.
  virtual BOOL SetSnakePos(int nPos);

  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg LRESULT OnSetBarColor(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetBkColor(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetStep(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetPos(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  CDWordArray m_colours;
  COLORREF m_background;
  COLORREF m_barTextColour;
  COLORREF m_backgroundTextColour;
  int m_step = 10;
  CRect m_insets{0, 0, 0, 0};
};
