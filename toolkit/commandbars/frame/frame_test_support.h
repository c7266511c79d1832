// What the command-bar tests' frames share: the manager a test frame makes for itself.
#pragma once

#include "platform/classlib/win/classlib_win.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"

namespace tkptest {

// A command-bars manager sited on `site` (one reference, for the frame to release), with the docking bars
// made where asked: a frame that puts no bars on its edges leaves them out.
inline CTKPCommandBars* MakeCommandBars(CWnd* site, bool docking = true) {
  auto* bars = static_cast<CTKPCommandBars*>(RUNTIME_CLASS(CTKPCommandBars)->CreateObject());
  bars->SetSite(site);
  if (docking) bars->EnableDocking();
  return bars;
}

}  // namespace tkptest
