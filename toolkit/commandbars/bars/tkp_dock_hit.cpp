#include "toolkit/commandbars/bars/tkp_dock_hit.h"

bool TKPDockAccepts(const CRect& rcDockBar, CPoint ptScreen) {
  return rcDockBar.top - TKP_DOCK_SNAP < ptScreen.y && ptScreen.y < rcDockBar.bottom + TKP_DOCK_SNAP &&
         rcDockBar.left - TKP_DOCK_SNAP < ptScreen.x && ptScreen.x < rcDockBar.right + TKP_DOCK_SNAP;
}

int TKPChooseDock(const CRect* pDockRects, const bool* pExists, int nCount, int nCurrent, CPoint ptScreen) {
  if (nCurrent >= 0 && nCurrent < nCount && pExists[nCurrent] && TKPDockAccepts(pDockRects[nCurrent], ptScreen)) {
    return nCurrent;
  }
  for (int i = 0; i < nCount; ++i) {
    if (pExists[i] && TKPDockAccepts(pDockRects[i], ptScreen)) return i;
  }
  return -1;
}
