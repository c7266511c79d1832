// The tool buttons the wizard's pages share: Next, Back, Stop and Home with their pictures and tips.
// Stop starts hidden and disabled.
#pragma once

#include "ui/controls/hover_button.h"

class PageToolButtons {
 public:
  // Creates the four as children of the page (moved into place by the page's layout).
  void Create(CWnd* page);
  // The button of a control id (IDC_NEXT, IDC_BACK, IDC_STOP; any other: Home).
  CWnd& Button(UINT id);
  // Shown and enabled, or hidden and disabled.
  static void Show(CWnd& button, bool shown);

  ui::CToolButton next, back, stop, home;
};
