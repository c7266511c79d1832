// The tool buttons the wizard's pages share: Next, Back, Stop and Home with their pictures and tips.
// Stop starts hidden and disabled.
#pragma once

#include "ui/controls/hover_button.h"

// One tool button as a child of the page, with its normal and hover pictures and its tip.
void CreatePageToolButton(CWnd* page, ui::CToolButton& button, UINT id, UINT normalBitmap, UINT hoverBitmap,
                          LPCTSTR tip);

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
