// CTKPDockingPaneLayout: one complete docking arrangement: the tree of pane objects under the top
// splitter container (which holds the client container somewhere), up to four auto-hide panels, and for
// every pane where it was docked, floated and last held. It owns its objects. Saving writes the records
// of dock_layout_records.h; loading reads and validates them completely before anything of the current
// arrangement is touched, so a refused layout leaves the current one as it was.
#pragma once

#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "platform/classlib/win/classlib_win.h"
#include "toolkit/common/tkp_prop_exchange.h"
#include "toolkit/dockingpane/tkp_docking_pane_base.h"

class CTKPDockingPane;
class CTKPDockingPaneManager;

class CTKPDockingPaneLayout : public CCmdTarget {
 public:
  // Where a pane goes back to: the tabbed containers it last occupied floating, docked, and at all.
  struct PaneRecord {
    CTKPDockingPane* pPane = nullptr;
    CTKPDockingPaneBase* pFloatingHolder = nullptr;
    CTKPDockingPaneBase* pDockingHolder = nullptr;
    CTKPDockingPaneBase* pLastHolder = nullptr;
  };

  explicit CTKPDockingPaneLayout(CTKPDockingPaneManager* pManager);
  ~CTKPDockingPaneLayout() override;

  void Clear();
  void Serialize(CArchive& ar) override;
  BOOL DoPropExchange(CTKPPropExchange* pPX);
  // FALSE, with nothing written, for a layout a load would refuse.
  BOOL Save(CTKPPropExchange* pPX);
  // FALSE, with nothing changed, for a layout that is damaged or does not describe a tree (the reason is
  // kept for GetLoadError). A live layout keeps the windows of its panes: each goes to the loaded pane
  // of the same id.
  BOOL Load(CTKPPropExchange* pPX);
  const std::string& GetLoadError() const { return m_strLoadError; }
  // Becomes a copy of pFrom: every object cloned, the panes' holders pointing at the clones. The panes
  // of a live layout keep their windows (each goes to the copied pane of the same id); the copy's
  // floating frames get windows of their own. FALSE, with nothing changed, for no layout, itself, or
  // when an object could not be made: the copy is made whole before the current arrangement goes.
  BOOL Copy(const CTKPDockingPaneLayout* pFrom);

  void OnSizeParent(CWnd* pParent, CRect rect, AFX_SIZEPARENTPARAMS* lpLayout);
  // 0 left, 1 right, 2 top, 3 bottom: where the object lies relative to the client area.
  int GetPaneDirection(const CTKPDockingPaneBase* pPane) const;
  // Moves a pane or a container into the auto-hide panel of its side (made on first use); a group whose
  // panes were docked together with an already hidden group joins that group.
  void HidePane(CTKPDockingPaneBase* pPane);
  PaneRecord* FindPaneRecord(const CTKPDockingPane* pPane);
  const std::vector<PaneRecord>& GetPaneList() const { return m_lstPanes; }
  CTKPDockingPaneBase* GetTopPane() const { return m_pTopContainer; }
  CTKPDockingPaneBase* GetClientPane() const { return m_pClient; }
  void SetTopPane(CTKPDockingPaneBase* pTop) { m_pTopContainer = pTop; }
  CTKPDockingPaneBase* GetPanel(int nSide) const { return nSide >= 0 && nSide < 4 ? m_wndPanels[nSide] : nullptr; }
  CTKPDockingPaneManager* GetManager() const { return m_pManager; }
  BOOL IsNotLive() const { return m_bNotLive; }
  void SetLive() { m_bNotLive = FALSE; }
  const std::vector<CTKPDockingPaneBase*>& GetObjects() const { return m_lstObjects; }

  // Whether the manager makes an object of every type: one of each is made and deleted again. An action
  // asks before it moves anything, so that a factory refusing a type it needs refuses the action whole.
  BOOL CanMakeObjects(std::initializer_list<int> types);

  // Kept up to date by the objects themselves.
  void AddObject(CTKPDockingPaneBase* pObject) { m_lstObjects.push_back(pObject); }
  void RemoveObject(CTKPDockingPaneBase* pObject);
  void AddPaneRecord(CTKPDockingPane* pPane);
  void RemovePaneRecord(CTKPDockingPane* pPane);

 private:
  void Prune();
  BOOL PruneOne(const std::vector<CTKPDockingPaneBase*>& referenced);
  void DeleteObject(CTKPDockingPaneBase* pObject);
  // The panes' windows, by pane id, parked hidden with the manager; and given to the panes of those ids.
  std::map<UINT, HWND> TakeWindows();
  void GiveWindows(std::map<UINT, HWND>* pWindows);
  // One new object per record, kept off the object list; FALSE, with none made, when the manager made
  // no object for a record (a derived factory may refuse a type).
  BOOL MakeObjects(const dock::LayoutRecords& records, std::vector<CTKPDockingPaneBase*>* pObjects,
                   std::vector<PaneRecord>* pPaneRecords);
  void Build(const dock::LayoutRecords& records, const std::vector<CTKPDockingPaneBase*>& objects);
  void CreateLoadedWindows();

  CTKPDockingPaneBase* m_pTopContainer = nullptr;
  CTKPDockingPaneBase* m_pClient = nullptr;
  std::vector<PaneRecord> m_lstPanes;
  std::vector<CTKPDockingPaneBase*> m_lstObjects;
  CTKPDockingPaneBase* m_wndPanels[4] = {};
  BOOL m_bNotLive = TRUE;
  BOOL m_bClearing = FALSE;
  CTKPDockingPaneManager* m_pManager;
  std::string m_strLoadError;
};
