#include "app/pages/page_tool_buttons.h"

#include "res/resource.h"

void PageToolButtons::Create(CWnd* page) {
  struct Spec {
    ui::CToolButton& button;
    UINT id, normal, hover;
    LPCTSTR tip;
  };
  const CRect none(0, 0, 10, 10);
  for (const Spec& spec : {Spec{next, IDC_NEXT, IDB_NEXT, IDB_NEXT_HOT, _T("Next")},
                           Spec{back, IDC_BACK, IDB_BACK, IDB_BACK_HOT, _T("Back")},
                           Spec{stop, IDC_STOP, IDB_STOP, IDB_STOP_HOT, _T("Stop")},
                           Spec{home, IDC_HOME, IDB_HOME, IDB_HOME_HOT, _T("Home")}}) {
    spec.button.Create(_T(""), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, none, page, spec.id);
    spec.button.LoadBitmaps(spec.normal, spec.hover);
    spec.button.SetTooltipText(spec.tip);
  }
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
