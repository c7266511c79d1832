// A rounded group frame with its caption on the top line, or a window-style box with a filled caption
// bar; colours, caption font and alignment settable.
#pragma once

#include "platform/classlib/win/cbutton.h"
#include "platform/classlib/win/msgmap.h"

namespace ui {

class CXPGroupBox : public CButton {
  DECLARE_DYNAMIC(CXPGroupBox)

 public:
  enum Style : DWORD { kFrame = 0, kWindow = 1 };
  enum Align { kLeft = 0, kCentre = 1, kRight = 2 };

  CXPGroupBox();

  virtual CXPGroupBox& SetBoxStyle(DWORD style);
  virtual CXPGroupBox& SetFont(const LOGFONT& font);
  virtual CXPGroupBox& SetFontBold(BOOL bold);
  virtual CXPGroupBox& SetFontName(const CString& name, BYTE charSet = ANSI_CHARSET);
  virtual CXPGroupBox& SetFontUnderline(BOOL on);
  virtual CXPGroupBox& SetFontItalic(BOOL on);
  virtual CXPGroupBox& SetFontSize(int points);
  virtual CXPGroupBox& SetBorderColor(COLORREF colour);
  virtual CXPGroupBox& SetCaptionTextColor(COLORREF colour);
  virtual CXPGroupBox& SetBackgroundColor(COLORREF colour);
  virtual CXPGroupBox& SetBackgroundColor(COLORREF caption, COLORREF body);
  virtual CXPGroupBox& SetText(const CString& caption);
  virtual CXPGroupBox& SetAlignment(int align);

  int GetAlignment() const { return m_align; }
  CString GetCaption() const { return m_caption; }

  BOOL PreCreateWindow(CREATESTRUCT& create) override;
  void PreSubclassWindow() override;

 protected:
  void OnPaint();
  DECLARE_MESSAGE_MAP()

 private:
  void RebuildFont();
  void Redraw();
  int CaptionLeft(const CRect& box, int captionWidth) const;

  CString m_caption;
  COLORREF m_border;
  COLORREF m_captionBack;
  COLORREF m_bodyBack;
  COLORREF m_captionText = 0xFF0000;
  DWORD m_style = kFrame;
  int m_align = kLeft;
  LOGFONT m_fontRecord{};
  CFont m_font;
};

}  // namespace ui
