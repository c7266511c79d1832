#include "app/pages/page_progress_bar.h"

#include "ui/controls/gradient_progress_ctrl.h"

void StylePageProgressBar(GradientProgressCtrl& bar) {
  bar.SetTextFormat(_T("%d%%"), GradientProgressCtrl::kShowPercent);
  bar.SetBarTextColor(0xFFFFFF);
  bar.SetBackgroundTextColor(0x7F0000);
  CDWordArray ramp;
  ramp.Add(0xFF0000);
  ramp.Add(0xA00000);
  bar.SetGradientColors(ramp);
}
