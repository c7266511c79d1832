// CTKPCustomizeDropSource: the modal loop that drags a control in customize mode, from a bar or from the
// customize dialog's commands list, over the manager's bars. It captures the mouse, tells the bar under
// the pointer that the control enters, moves over or leaves it, shows the move, copy or no-target cursor,
// and hands the control to the bar it is dropped on. The caller acts on the result (tkpcust::DragResult).
#pragma once

#include <windows.h>

#include "platform/classlib/carray.h"
#include "platform/classlib/crect.h"

class CTKPCommandBar;
class CTKPCommandBars;
class CTKPControl;
class CWnd;

class CTKPCustomizeDropSource {
 public:
  // pCapture: the window that holds the mouse while dragging (the bar or list the drag starts from).
  CTKPCustomizeDropSource(CTKPCommandBars* pCommandBars, CWnd* pCapture);
  ~CTKPCustomizeDropSource();
  CTKPCustomizeDropSource(const CTKPCustomizeDropSource&) = delete;
  CTKPCustomizeDropSource& operator=(const CTKPCustomizeDropSource&) = delete;

  // Runs the drag; copyOnly: the control comes from outside the bars and is never moved. ptStart: the
  // screen point of the press that started it (the cursor position when not given).
  int DoDragDrop(CTKPControl* pControl, BOOL bCopyOnly, const CPoint* pStart = nullptr);
  // A control that sat on a bar leaves it when the drag moved it elsewhere or dragged it off every bar.
  static void FinishDrag(CTKPCommandBars* pCommandBars, CTKPControl* pControl, int nResult, BOOL bMove);

  BOOL IsMove() const { return m_bMove; }
  CTKPCommandBar* GetTarget() const { return m_pTarget; }

  // The drag running on this thread, or null. A bar whose window goes stops being its target.
  static CTKPCustomizeDropSource* GetActive();
  void RemoveBar(CTKPCommandBar* pBar);

 private:
  CTKPCommandBar* BarAt(CPoint ptScreen) const;
  void OnMove(CPoint ptScreen);
  void UpdateCursor() const;
  int Drop(CPoint ptScreen);
  void Leave();

  CTKPCommandBars* m_pCommandBars;
  CWnd* m_pCapture;
  CTKPCustomizeDropSource* m_pOuter = nullptr;  // the drag that was active before this one
  CTKPControl* m_pControl = nullptr;
  BOOL m_bMove = TRUE;
  BOOL m_bCopyOnly = FALSE;
  BOOL m_bMoved = FALSE;
  BOOL m_bToldOfMove = FALSE;  // the dragged control heard of the first move
  CTKPCommandBar* m_pTarget = nullptr;
  CPoint m_ptStart;
  HCURSOR m_hCursorNone = nullptr;
  HCURSOR m_hCursorMove = nullptr;
  HCURSOR m_hCursorCopy = nullptr;
};
