// CTKPDockContext: where a toolbar was last docked and floated, and the modal loop that drags it
// between the dock bars and a floating window, or resizes it while it floats.
#pragma once

#include <windows.h>

#include "platform/classlib/crect.h"

class CTKPToolBar;

class CTKPDockContext {
 public:
  explicit CTKPDockContext(CTKPToolBar* pBar);
  virtual ~CTKPDockContext() = default;

  // The drag that moves the bar (from a press at the screen point).
  void StartDrag(CPoint ptScreen);
  // The drag that resizes a floating bar by its edge (HTLEFT to HTBOTTOMRIGHT).
  void StartResize(int nHitTest, CPoint ptScreen);
  // A docked bar floats (with "DblClickFloat"), a floating one goes back to where it was docked;
  // FALSE when nothing changed.
  BOOL ToggleDocking();
  // The modal loop: the bar holds the mouse until the button goes up, Escape is pressed or the capture
  // is lost. Nothing when another window holds the capture.
  virtual void Track();

  // One step of a drag to the screen point (the loop calls it for every move).
  void Move(CPoint pt);
  virtual void Resize(CPoint pt);

  int m_nTrackMode = 0;  // 1 moving; HTLEFT to HTBOTTOMRIGHT resizing by that edge
  CPoint m_ptLast;
  int m_nMRUDockID = 0;     // the dock bar's position (0 top, 1 bottom, 2 left, 3 right)
  CRect m_rectMRUDock;      // in that dock bar's client coordinates; empty: a new row at the end
  CPoint m_ptMRUFloatPos;   // (0, 0): never floated
  CRect m_rectDragHorz;     // the bar while it moves (screen)
  CRect m_rectFrameDrag;    // the floating window while it moves or resizes (screen)

 protected:
  // Floats the docked bar at the float rectangle, sized by its most recent width.
  void FloatAt(CPoint pt);

  CTKPToolBar* m_pBar;
};
