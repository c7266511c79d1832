#include "ui/controls/xp_group_box.h"

#include "platform/classlib/win/cdc.h"

namespace ui {
namespace {
constexpr DWORD kGroupStyleBit = 0x40;  // the group box's own bit, kept on creation and subclassing
constexpr int kCaptionInset = 10;
constexpr int kCorner = 10;
}  // namespace

IMPLEMENT_DYNAMIC(CXPGroupBox, CButton)

BEGIN_MESSAGE_MAP(CXPGroupBox, CButton)
  ON_WM_PAINT()
END_MESSAGE_MAP()

CXPGroupBox::CXPGroupBox()
    : m_border(::GetSysColor(COLOR_BTNSHADOW)),
      m_captionBack(::GetSysColor(COLOR_BTNFACE)),
      m_bodyBack(::GetSysColor(COLOR_BTNFACE)) {
  ::GetObjectW(::GetStockObject(SYSTEM_FONT), sizeof m_fontRecord, &m_fontRecord);
}

BOOL CXPGroupBox::PreCreateWindow(CREATESTRUCT& create) {
  create.style |= kGroupStyleBit;
  return CButton::PreCreateWindow(create);
}

void CXPGroupBox::PreSubclassWindow() {
  ModifyStyle(0, kGroupStyleBit);
  HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
  if (!font) font = static_cast<HFONT>(::GetStockObject(SYSTEM_FONT));
  ::GetObjectW(font, sizeof m_fontRecord, &m_fontRecord);
  RebuildFont();
  CString text;
  GetWindowText(text);
  m_caption = L" " + text + L" ";
  CButton::PreSubclassWindow();
}

void CXPGroupBox::RebuildFont() {
  m_font.DeleteObject();
  m_font.CreateFontIndirect(&m_fontRecord);
}

void CXPGroupBox::Redraw() {
  if (!m_hWnd) return;
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
  CWnd* parent = GetParent();
  if (parent == nullptr) return;
  CRect area;
  GetWindowRect(area);
  parent->ScreenToClient(area);
  parent->InvalidateRect(area, TRUE);
}

CXPGroupBox& CXPGroupBox::SetBoxStyle(DWORD style) {
  m_style = style;
  Redraw();
  return *this;
}

CXPGroupBox& CXPGroupBox::SetFont(const LOGFONT& font) {
  m_fontRecord = font;
  RebuildFont();
  Redraw();
  return *this;
}

CXPGroupBox& CXPGroupBox::SetFontBold(BOOL bold) {
  m_fontRecord.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  return SetFont(m_fontRecord);
}

CXPGroupBox& CXPGroupBox::SetFontName(const CString& name, BYTE charSet) {
  m_fontRecord.lfCharSet = charSet;
  lstrcpynW(m_fontRecord.lfFaceName, name, LF_FACESIZE);
  return SetFont(m_fontRecord);
}

CXPGroupBox& CXPGroupBox::SetFontUnderline(BOOL on) {
  m_fontRecord.lfUnderline = static_cast<BYTE>(on ? TRUE : FALSE);
  return SetFont(m_fontRecord);
}

CXPGroupBox& CXPGroupBox::SetFontItalic(BOOL on) {
  m_fontRecord.lfItalic = static_cast<BYTE>(on ? TRUE : FALSE);
  return SetFont(m_fontRecord);
}

CXPGroupBox& CXPGroupBox::SetFontSize(int points) {
  CFont point;
  point.CreatePointFont(points * 10, m_fontRecord.lfFaceName);
  LOGFONT measured{};
  point.GetLogFont(&measured);
  m_fontRecord.lfHeight = measured.lfHeight;
  m_fontRecord.lfWidth = measured.lfWidth;
  return SetFont(m_fontRecord);
}

CXPGroupBox& CXPGroupBox::SetBorderColor(COLORREF colour) {
  m_border = colour;
  Redraw();
  return *this;
}

CXPGroupBox& CXPGroupBox::SetCaptionTextColor(COLORREF colour) {
  m_captionText = colour;
  Redraw();
  return *this;
}

CXPGroupBox& CXPGroupBox::SetBackgroundColor(COLORREF colour) { return SetBackgroundColor(colour, colour); }

CXPGroupBox& CXPGroupBox::SetBackgroundColor(COLORREF caption, COLORREF body) {
  m_captionBack = caption;
  m_bodyBack = body;
  Redraw();
  return *this;
}

CXPGroupBox& CXPGroupBox::SetText(const CString& caption) {
  if (!m_hWnd) return *this;
  m_caption = L" " + caption + L" ";
  Redraw();
  return *this;
}

CXPGroupBox& CXPGroupBox::SetAlignment(int align) {
  m_align = align == kCentre || align == kRight ? align : kLeft;
  Redraw();
  return *this;
}

int CXPGroupBox::CaptionLeft(const CRect& box, int captionWidth) const {
  if (m_align == kCentre) return box.left + (box.Width() - captionWidth) / 2;
  if (m_align == kRight) return box.right - kCaptionInset - captionWidth;
  return box.left + kCaptionInset;
}

void CXPGroupBox::OnPaint() {
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(m_hWnd, &paint);
  CRect box;
  GetClientRect(box);
  HGDIOBJ oldFont = ::SelectObject(dc, m_font.GetSafeHandle());
  SIZE text{};
  ::GetTextExtentPoint32W(dc, m_caption, m_caption.GetLength(), &text);
  HPEN pen = ::CreatePen(PS_SOLID, 1, m_border);
  HGDIOBJ oldPen = ::SelectObject(dc, pen);
  const int left = CaptionLeft(box, text.cx);

  if (m_style == kFrame) {
    HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
    ::RoundRect(dc, box.left, box.top + text.cy / 2, box.right, box.bottom, kCorner, kCorner);
    ::SelectObject(dc, oldBrush);
    ::SetBkMode(dc, OPAQUE);
    ::SetBkColor(dc, m_captionBack);
  } else {
    // Body first, then the caption bar over its top, both framed in the border colour.
    HBRUSH body = ::CreateSolidBrush(m_bodyBack);
    HBRUSH bar = ::CreateSolidBrush(m_captionBack);
    HGDIOBJ oldBrush = ::SelectObject(dc, body);
    ::RoundRect(dc, box.left, box.top, box.right, box.bottom, kCorner, kCorner);
    ::SelectObject(dc, bar);
    ::RoundRect(dc, box.left, box.top, box.right, box.top + text.cy + 4, kCorner, kCorner);
    ::SelectObject(dc, oldBrush);
    ::DeleteObject(body);
    ::DeleteObject(bar);
    ::SetBkMode(dc, TRANSPARENT);
  }
  ::SetTextColor(dc, m_captionText);
  ::TextOutW(dc, left, box.top + (m_style == kFrame ? 0 : 2), m_caption, m_caption.GetLength());
  ::SelectObject(dc, oldPen);
  ::DeleteObject(pen);
  ::SelectObject(dc, oldFont);
  ::EndPaint(m_hWnd, &paint);
}

}  // namespace ui
