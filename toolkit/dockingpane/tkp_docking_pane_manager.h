// CTKPDockingPaneManager: the docking panes of a frame, and CTKPDockingPaneLayout, a snapshot of where
// they lie. The frame has no panes yet: the manager finds none and a layout records nothing.
#pragma once

#include "platform/classlib/win/ccmdtarget.h"

class CFrameWnd;
class CTKPDockingPaneManager;

class CTKPDockingPane {
 public:
  int GetID() const { return m_nID; }

 private:
  int m_nID = 0;
};

class CTKPDockingPaneLayout {
 public:
  explicit CTKPDockingPaneLayout(CTKPDockingPaneManager* pManager) : m_pManager(pManager) {}
  CTKPDockingPaneManager* GetManager() const { return m_pManager; }

 private:
  CTKPDockingPaneManager* m_pManager;
};

class CTKPDockingPaneManager : public CCmdTarget {
 public:
  CTKPDockingPaneManager() = default;

  // Attaches the manager to the frame; once (FALSE when already installed).
  BOOL InstallOnFrame(CFrameWnd* pFrame);
  void SetTheme(int nTheme) { m_nTheme = nTheme; }
  int GetTheme() const { return m_nTheme; }
  // The pane of that id, or null.
  CTKPDockingPane* FindPane(int nID) const;
  void ClosePane(CTKPDockingPane* pPane);
  // A layout of the panes as they lie now; the caller deletes it.
  CTKPDockingPaneLayout* CreateLayout() { return new CTKPDockingPaneLayout(this); }
  CFrameWnd* GetSite() const { return m_pSite; }

 private:
  CFrameWnd* m_pSite = nullptr;
  int m_nTheme = 0;
};
