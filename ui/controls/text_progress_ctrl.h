// TextProgressCtrl: a flat two-colour progress bar with the percentage, or a caption, centred across
// it; the text is white-on-bar over the done part and bar-coloured over the rest. It keeps its own
// range, position and caption and answers every progress message itself.
#pragma once

#include "platform/classlib/win/classlib_win.h"

class TextProgressCtrl : public CProgressCtrl {
  DECLARE_DYNAMIC(TextProgressCtrl)

 public:
  static constexpr UINT kSetTextColour = WM_USER + 100;  // lParam: the colour, CLR_DEFAULT for the default
  static constexpr UINT kShowText = WM_USER + 101;       // wParam: non-zero shows the text
  static constexpr COLORREF kBarColour = 0x900000;

  TextProgressCtrl() = default;

 protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg LRESULT OnSetRange(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetRange32(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetRange(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetPos(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnDeltaPos(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnStepIt(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetStep(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetPos(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetBarColor(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetBkColor(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetText(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetTextLength(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetTextColour(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnShowText(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  int MovePos(int position);
  void Repaint();

  int m_position = 0;
  int m_step = 1;
  int m_upper = 100;
  int m_lower = 0;
  bool m_showText = true;
  CString m_caption;
  int m_barWidth = -1;  // the done part's width last drawn; -1 when not yet known
  COLORREF m_textColour = CLR_DEFAULT;
  COLORREF m_barColour = CLR_DEFAULT;
  COLORREF m_backgroundColour = CLR_DEFAULT;
};
