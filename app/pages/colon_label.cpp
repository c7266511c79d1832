#include "app/pages/colon_label.h"

BEGIN_MESSAGE_MAP(ColonLabel, CStatic)
  ON_WM_PAINT()
END_MESSAGE_MAP()

void ColonLabel::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(client);
  // The parent's colours and background, as a plain static control would take them.
  HBRUSH brush = reinterpret_cast<HBRUSH>(
      GetParent()->SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.m_hDC), reinterpret_cast<LPARAM>(m_hWnd)));
  if (brush != nullptr) dc.FillRect(client, CBrush::FromHandle(brush));
  HGDIOBJ oldFont = ::SelectObject(dc.m_hDC, reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT)));
  CString text;
  GetWindowText(text);
  const int colon = text.Find(_T(':'));
  CString name = colon >= 0 ? text.Left(colon) : text;
  name.TrimRight(_T(" \t"));
  dc.TextOut(0, 0, name);
  if (colon >= 0) dc.TextOut(m_colonX, 0, text.Mid(colon));
  ::SelectObject(dc.m_hDC, oldFont);
}
