#include "toolkit/dockingpane/tkp_docking_pane_manager.h"

BOOL CTKPDockingPaneManager::InstallOnFrame(CFrameWnd* pFrame) {
  if (m_pSite != nullptr || pFrame == nullptr) return FALSE;
  m_pSite = pFrame;
  return TRUE;
}

CTKPDockingPane* CTKPDockingPaneManager::FindPane(int) const { return nullptr; }

void CTKPDockingPaneManager::ClosePane(CTKPDockingPane*) {}
