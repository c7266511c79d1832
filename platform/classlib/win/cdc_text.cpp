// CDC: text output and measuring.
#include "platform/classlib/win/cdc.h"

BOOL CDC::TextOut(int x, int y, LPCTSTR lpszString, int nCount) { return ::TextOutW(m_hDC, x, y, lpszString, nCount); }
BOOL CDC::ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, LPCTSTR lpszString, UINT nCount, LPINT lpDxWidths) {
  return ::ExtTextOutW(m_hDC, x, y, nOptions, lpRect, lpszString, nCount, lpDxWidths);
}
BOOL CDC::ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, const CString& str, LPINT lpDxWidths) {
  return ExtTextOut(x, y, nOptions, lpRect, str, static_cast<UINT>(str.GetLength()), lpDxWidths);
}

int CDC::DrawText(LPCTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat) {
  return ::DrawTextW(m_hDC, lpszString, nCount, lpRect, nFormat);
}
int CDC::DrawText(const CString& str, LPRECT lpRect, UINT nFormat) {
  return DrawText(str, str.GetLength(), lpRect, nFormat);
}
int CDC::DrawTextEx(LPTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat, LPDRAWTEXTPARAMS lpDTParams) {
  return ::DrawTextExW(m_hDC, lpszString, nCount, lpRect, nFormat, lpDTParams);
}
int CDC::DrawTextEx(const CString& str, LPRECT lpRect, UINT nFormat, LPDRAWTEXTPARAMS lpDTParams) {
  // DT_MODIFYSTRING writes into the text: the system gets a copy with room for the ellipsis.
  CString copy = str;
  int length = copy.GetLength();
  LPTSTR buffer = copy.GetBuffer(length + 4);
  int height = DrawTextEx(buffer, length, lpRect, nFormat, lpDTParams);
  copy.ReleaseBuffer();
  return height;
}

CSize CDC::GetTextExtent(LPCTSTR lpszString, int nCount) const {
  SIZE size{};
  ::GetTextExtentPoint32W(m_hAttribDC, lpszString, nCount, &size);
  return size;
}
BOOL CDC::GetTextMetrics(LPTEXTMETRIC lpMetrics) const { return ::GetTextMetricsW(m_hAttribDC, lpMetrics); }
int CDC::GetTextFace(int nCount, LPTSTR lpszFacename) const {
  return ::GetTextFaceW(m_hAttribDC, nCount, lpszFacename);
}
int CDC::GetTextFace(CString& rString) const {
  int length = ::GetTextFaceW(m_hAttribDC, 0, nullptr);
  if (length <= 0) {
    rString.Empty();
    return 0;
  }
  int copied = ::GetTextFaceW(m_hAttribDC, length, rString.GetBuffer(length));
  rString.ReleaseBuffer();
  return copied;
}
