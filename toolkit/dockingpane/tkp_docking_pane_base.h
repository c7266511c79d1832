// CTKPDockingPaneBase: what every element of a docking arrangement has in common (its type, parent,
// docking site, rectangle and preferred docked size), and the operations through which containers treat
// their children alike. CTKPDockingPaneClientContainer stands for the frame's client area in the tree.
#pragma once

#include <windows.h>

#include <vector>

#include "platform/classlib/win/classlib_win.h"
#include "toolkit/dockingpane/dock_layout_records.h"
#include "toolkit/dockingpane/dock_sizing.h"

class CTKPDockingPaneBase;
class CTKPDockingPaneLayout;
class CTKPDockingPaneManager;
class CTKPDockingPanePaintManager;

// A button on a container's caption: a command id and a state word (bit 2: the pane is pinned, which
// turns the pin glyph); its owner says whether it shows. Its rectangle is in the owner's client
// coordinates (a floating frame's: relative to its window rectangle).
class CTKPDockingPaneCaptionButton {
 public:
  CTKPDockingPaneCaptionButton(UINT nID, CTKPDockingPaneBase* pOwner) : m_nID(nID), m_pOwner(pOwner) {}
  virtual ~CTKPDockingPaneCaptionButton() = default;
  virtual BOOL IsVisible();
  UINT GetID() const { return m_nID; }
  CTKPDockingPaneBase* GetOwner() const { return m_pOwner; }
  // A changed rectangle is told to the owner, which repositions what depends on it.
  void SetRect(const CRect& rc);
  CRect GetRect() const { return m_rcButton; }
  void Redraw();
  // Hover follows the point: TRUE when the button just became hot (a leave is then asked of Windows).
  BOOL CheckForMouseOver(CPoint pt);
  // The modal press: TRUE when the button was released over itself. Nothing while another window holds
  // the capture. Non-client buttons (bClientCoordinates FALSE) take points relative to the window.
  BOOL Click(CWnd* pWnd, CPoint pt, BOOL bClientCoordinates = TRUE);
  // The button as the tool of hWnd at rcTool (its client coordinates), its tip the string resource of
  // its id: the id, or -1 when that string is missing or empty.
  INT_PTR FillToolInfo(HWND hWnd, const CRect& rcTool, TOOLINFO* pTI) const;

  CRect m_rcButton;
  BOOL m_bPressed = FALSE;
  BOOL m_bHot = FALSE;
  DWORD m_dwState = 0;

 private:
  UINT m_nID;
  CTKPDockingPaneBase* m_pOwner;
};

class CTKPDockingPaneBase {
 public:
  CTKPDockingPaneBase(int nType, CTKPDockingPaneLayout* pLayout);
  virtual ~CTKPDockingPaneBase();
  CTKPDockingPaneBase(const CTKPDockingPaneBase&) = delete;
  CTKPDockingPaneBase& operator=(const CTKPDockingPaneBase&) = delete;

  virtual void RedrawPane();
  virtual BOOL ContainsPane(const CTKPDockingPaneBase* pPane) const { return pPane == this; }
  // Appends this object to the list when it is of that type.
  virtual void FindPane(int nType, std::vector<CTKPDockingPaneBase*>* pList);
  virtual void GetMinMaxInfo(MINMAXINFO* pMinMaxInfo) const;
  // Lays the object out in rect (the docking site's client coordinates); params is null or the frame's
  // layout record, whose hDWP is null while the frame only measures.
  virtual void OnSizeParent(CWnd* pParent, CRect rect, AFX_SIZEPARENTPARAMS* lpLayout);
  virtual void OnIdleUpdate() {}
  virtual void SetDockingSite(CWnd* pSite) { m_pDockingSite = pSite; }
  virtual void SetParentContainer(CTKPDockingPaneBase* pContainer) { m_pParentContainer = pContainer; }
  virtual void OnChildContainerChanged(CTKPDockingPaneBase* /*pContainer*/) {}
  virtual void OnPaneChanged(BOOL bRelayout);
  virtual void OnParentContainerChanged(CTKPDockingPaneBase* /*pContainer*/) {}
  // The saved form: the object's own keys into its record, and back. Children and holders are given by
  // the records' indexes, resolved through the objects of the layout being built (objects[i - 1]).
  virtual void SaveRecord(dock::ObjectRecord* pRecord) const;
  virtual void LoadRecord(const dock::ObjectRecord& record, const std::vector<CTKPDockingPaneBase*>& objects);
  virtual void RemovePane(CTKPDockingPaneBase* /*pPane*/) {}
  virtual BOOL IsEmpty() const;
  virtual BOOL IsCaptionButtonVisible(CTKPDockingPaneCaptionButton* /*pButton*/) { return TRUE; }
  virtual void OnCaptionButtonRectChanged(CTKPDockingPaneCaptionButton* /*pButton*/) {}
  virtual HWND GetPaneHwnd() const { return nullptr; }
  virtual BOOL IsHidden() const { return FALSE; }
  // Forgets the children without touching them (the layout is about to delete every object).
  virtual void ReleaseChildren() {}
  // A new object of the same kind in pLayout, made by the manager; null when none could be made. With a
  // map, a container's children are cloned too and the map records every object with its clone (keys and
  // values are CTKPDockingPaneBase pointers); without one, a container's panes move into the clone,
  // except those whose options have any of the skip bits.
  virtual CTKPDockingPaneBase* Clone(CTKPDockingPaneLayout* pLayout, CMapPtrToPtr* pMap, DWORD dwSkipOptions = 0);
  // The clone the map recorded for an object, or null.
  static CTKPDockingPaneBase* LookupClone(const CMapPtrToPtr* pMap, const CTKPDockingPaneBase* pObject);
  // The layout no longer knows the object (it deleted it from its list first).
  void DetachLayout() { m_pLayout = nullptr; }

  int GetType() const { return m_nType; }
  CTKPDockingPaneBase* GetContainer() const { return m_pParentContainer; }
  CWnd* GetDockingSite() const { return m_pDockingSite; }
  CTKPDockingPaneLayout* GetLayout() const { return m_pLayout; }
  CTKPDockingPaneManager* GetDockingPaneManager() const;
  CTKPDockingPanePaintManager* GetPaintManager() const;
  // The last rectangle of a layout pass, in the docking site's client coordinates.
  CRect GetPaneWindowRect() const { return m_rcWindow; }
  // The same in screen coordinates.
  CRect GetWindowRect() const;
  CTKPDockingPaneCaptionButton* FindCaptionButton(UINT nID) const;
  // The preferred size along a splitter's direction.
  int GetDockingLength(BOOL bHorizontal) const { return bHorizontal ? m_nDockingCX : m_nDockingCY; }
  void SetDockingLength(BOOL bHorizontal, int nLength) { (bHorizontal ? m_nDockingCX : m_nDockingCY) = nLength; }

  int m_nDockingCX = 0;
  int m_nDockingCY = 0;
  int m_nLength = 0;  // scratch of the splitter's sizing pass
  int m_nIndex = 0;   // number in a saved layout

 protected:
  // An object of that type from pLayout's manager, or null.
  static CTKPDockingPaneBase* NewObject(CTKPDockingPaneLayout* pLayout, int nType);
  static void RecordClone(CMapPtrToPtr* pMap, const CTKPDockingPaneBase* pObject, CTKPDockingPaneBase* pClone);

  CTKPDockingPaneLayout* m_pLayout;
  CTKPDockingPaneBase* m_pParentContainer = nullptr;
  CWnd* m_pDockingSite = nullptr;
  int m_nType;
  CRect m_rcWindow;
  std::vector<CTKPDockingPaneCaptionButton*> m_arrCaptionButtons;
};

// The frame's client area in the docked tree; it claims no room while the manager hides it.
class CTKPDockingPaneClientContainer : public CTKPDockingPaneBase {
 public:
  explicit CTKPDockingPaneClientContainer(CTKPDockingPaneLayout* pLayout)
      : CTKPDockingPaneBase(dock::kClientContainer, pLayout) {}
};
