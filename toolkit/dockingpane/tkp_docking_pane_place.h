// Where an element of a docking arrangement sits: the chain of containers above it, and whether one of
// them is a floating frame. The manager's moves refuse silently (a factory that makes no object, a frame
// without a window), so what the site is told a move did follows from where the panes are after it.
#pragma once

#include <vector>

#include "toolkit/dockingpane/tkp_docking_pane_base.h"

namespace dockplace {

inline std::vector<const CTKPDockingPaneBase*> Containers(const CTKPDockingPaneBase* pPane) {
  std::vector<const CTKPDockingPaneBase*> chain;
  for (const CTKPDockingPaneBase* p = pPane != nullptr ? pPane->GetContainer() : nullptr; p != nullptr;
       p = p->GetContainer()) {
    chain.push_back(p);
  }
  return chain;
}

inline bool IsFloating(const CTKPDockingPaneBase* pPane) {
  for (const CTKPDockingPaneBase* p : Containers(pPane)) {
    if (p->GetType() == dock::kMiniFrame) return true;
  }
  return false;
}

}  // namespace dockplace
