#include "preview/main_preview_view.h"

#include "platform/classlib/win/cdc.h"
#include "preview/preview_extensions.h"

IMPLEMENT_DYNCREATE(CMainPreviewView, CView)

void CMainPreviewView::ClosePreviewViews() {
  // Viewers are child windows of the pane; none is made yet, but any that is goes.
  for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != nullptr;) {
    HWND next = ::GetWindow(child, GW_HWNDNEXT);
    ::SendMessageW(child, WM_CLOSE, 0, 0);
    child = next;
  }
}

void CMainPreviewView::ShowPreviewForFile(CString path, CString extension) {
  m_path = path;
  m_extension = extension;
  if (m_hWnd != nullptr) Invalidate();
}

void CMainPreviewView::OnDraw(CDC* pDC) {
  CRect client;
  GetClientRect(client);
  pDC->FillSolidRect(client, ::GetSysColor(COLOR_WINDOW));
  if (m_path.IsEmpty()) return;
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
  CString text;
  if (m_path == _T("largefile")) {
    text = _T("This file is too large to preview.");
  } else {
    const CString where = CString::FromUtf16(ResultsItemPathText);
    text = (where.IsEmpty() ? m_path : where) + _T("\r\n") + m_extension;
  }
  CRect area = client;
  area.DeflateRect(8, 8);
  pDC->DrawText(text, area, DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
}
