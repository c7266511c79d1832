#include "app/pages/page_tool_buttons.h"

#include "res/resource.h"

void CreatePageToolButton(CWnd* page, ui::CToolButton& button, UINT id, UINT normalBitmap, UINT hoverBitmap,
                          LPCTSTR tip) {
  button.Create(_T(""), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, CRect(0, 0, 10, 10), page, id);
  button.LoadBitmaps(normalBitmap, hoverBitmap);
  button.SetTooltipText(tip);
}

void PageToolButtons::Create(CWnd* page) {
  CreatePageToolButton(page, next, IDC_NEXT, IDB_NEXT, IDB_NEXT_HOT, _T("Next"));
  CreatePageToolButton(page, back, IDC_BACK, IDB_BACK, IDB_BACK_HOT, _T("Back"));
  CreatePageToolButton(page, stop, IDC_STOP, IDB_STOP, IDB_STOP_HOT, _T("Stop"));
  CreatePageToolButton(page, home, IDC_HOME, IDB_HOME, IDB_HOME_HOT, _T("Home"));
  Show(stop, false);
}

CWnd& PageToolButtons::Button(UINT id) {
  switch (id) {
    case IDC_NEXT:
      return next;
    case IDC_BACK:
      return back;
    case IDC_STOP:
      return stop;
    default:
      return home;
  }
}

void PageToolButtons::Show(CWnd& button, bool shown) {
  button.ShowWindow(shown ? SW_SHOW : SW_HIDE);
  button.EnableWindow(shown ? TRUE : FALSE);
}
