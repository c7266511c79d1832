// CTKPDockingPaneDragContext: the modal drag of a pane, a group or a floating frame's content. On every
// move it decides whether the dragged object would float, dock at a side of a container or of the whole
// arrangement, or join a group as a tab, and shows that: as an inverted frame on the desktop, or as a
// translucent window over the target, with docking guides (shaped windows with arrows) to drop on. On
// release the manager carries the decision out.
#pragma once

#include <map>
#include <vector>

#include "platform/classlib/win/classlib_win.h"
#include "toolkit/dockingpane/dock_drag_geometry.h"

class CTKPDockingPaneBase;
class CTKPDockingPaneManager;
class CTKPDockingPaneDragContext;

// One docking guide on screen: a cross over a container, or a single arrow at the frame's edge.
class CTKPDockingPaneGuideWnd : public CWnd {
 public:
  CTKPDockingPaneGuideWnd(CTKPDockingPaneDragContext* pContext, int nCode) : m_pContext(pContext), m_nCode(nCode) {}
  int GetCode() const { return m_nCode; }
  int m_nHighlighted = 0;

 protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
  DECLARE_MESSAGE_MAP()

 private:
  CTKPDockingPaneDragContext* m_pContext;
  int m_nCode;
};

// The translucent preview: its whole client area in the highlight colour.
class CTKPDockingPaneAlphaWnd : public CWnd {
 protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
  DECLARE_MESSAGE_MAP()
};

class CTKPDockingPaneDragContext {
 public:
  explicit CTKPDockingPaneDragContext(CTKPDockingPaneManager* pManager);
  virtual ~CTKPDockingPaneDragContext();
  CTKPDockingPaneDragContext(const CTKPDockingPaneDragContext&) = delete;
  CTKPDockingPaneDragContext& operator=(const CTKPDockingPaneDragContext&) = delete;

  virtual void Drag(CTKPDockingPaneBase* pPane, CPoint pt);
  // The modal loop; TRUE when the drag was accepted.
  virtual BOOL Track();
  virtual void Move(CPoint pt);
  virtual void InitLoop();
  virtual void EndLoop();
  virtual void DrawPreview(BOOL bRemove);
  virtual void FindTarget(CPoint pt);

  BOOL CanDock(CRect rc, CPoint pt, CTKPDockingPaneBase* pContainer, BOOL bInside);
  BOOL CanDockAt(CTKPDockingPaneBase* pContainer, int nDirection);
  BOOL CanAttach(CTKPDockingPaneBase* pContainer);
  void UpdateGuides();
  void CreateGuide(CRect rc, int nCode);
  void DestroyGuides();
  // The part of the guide under the screen point (a dock::GuidePart bit), or 0.
  int HitTestGuide(CTKPDockingPaneGuideWnd* pGuide, CPoint pt);
  int GetGuideStyle() const;
  // Paints a guide with one part highlighted, at the DC's origin.
  void DrawGuide(CDC* pDC, int nCode, int nHighlighted);

  // What the drag would do now.
  CTKPDockingPaneBase* GetTarget() const { return m_pTarget; }
  BOOL IsAttach() const { return m_bAttach; }
  int GetDirection() const { return m_nDirection; }
  CRect GetDockRect() const { return m_rcDock; }
  CRect GetFloatRect() const { return m_rcFloat; }
  const std::vector<CTKPDockingPaneGuideWnd*>& GetGuides() const { return m_lstGuides; }
  BOOL IsAlphaPreview() const { return m_bUseAlphaContext; }

 private:
  struct Artwork {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;  // top-down, 0x00BBGGRR
  };
  // Ink of the drawn artwork (bitmap 0 the arrows' strip, 1 the centre background), or with bHitTest of
  // the strip hit-testing reads.
  bool Ink(int nBitmap, int x, int y, bool bHitTest = false);
  void LoadArtwork();
  std::vector<CTKPDockingPaneBase*> DraggedPanes() const;
  HWND CaptureWindow() const;
  BOOL IsDragged(CTKPDockingPaneBase* pContainer) const;
  void Finish();
  void DrawClassicFrame(BOOL bRemove);
  void ShowAlpha(CTKPDockingPaneAlphaWnd& wnd, CRect rc);

  CTKPDockingPaneAlphaWnd m_wndAlpha;
  CTKPDockingPaneAlphaWnd m_wndAlphaTab;
  using SetLayeredProc = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
  SetLayeredProc m_pfnSetLayeredWindowAttributes = nullptr;
  BOOL m_bUseDockingGuides = FALSE;
  BOOL m_bUseAlphaContext = FALSE;
  CRect m_rcHoverContainer;
  CTKPDockingPaneBase* m_pHoverContainer = nullptr;
  CTKPDockingPaneBase* m_pGuidesContainer = nullptr;
  std::vector<CTKPDockingPaneGuideWnd*> m_lstGuides;
  CPoint m_ptLast;
  CPoint m_ptPress;
  CRect m_rcFloat;
  CTKPDockingPaneManager* m_pManager;
  CTKPDockingPaneBase* m_pPane = nullptr;
  CTKPDockingPaneBase* m_pTarget = nullptr;
  CRect m_rcDock;
  BOOL m_bAttachLast = FALSE;
  BOOL m_bAttach = FALSE;
  BOOL m_bFloatable = TRUE;
  CRect m_rcLast;
  BOOL m_bAttachDrawn = FALSE;
  std::map<int, HRGN> m_mapRegions;
  int m_nDirection = 0;
  HDC m_hDesktopDC = nullptr;
  BOOL m_bLocked = FALSE;
  Artwork m_art[3];  // the drawn strip, the centre background, the hit-tested strip
  int m_nArtStrip = -1;
};

// Moves the rectangle by the least offset that puts the point inside it.
void OffsetRectToContainPoint(CRect& rc, CPoint pt);
