// The preview of DXF drawings: CDFXView has our drawing library load the file, fit it to the window and
// paint it on its canvas; the wheel zooms about the centre, dragging with the left or middle button pans.
#pragma once

#include <cstdint>

#include "platform/classlib/win/cstatic.h"
#include "platform/classlib/win/cview.h"
#include "preview/dxf/dxf_drawing.h"

class PreviewHost;

// The black canvas the drawing is painted on; it pans the drawing while a button drags over it. When the
// drawing holds more in view than one paint may draw, it says so in its lower left corner.
class DxfCanvas : public CStatic {
 public:
  static constexpr const wchar_t* kSimplifiedNote = L"Simplified view: zoom in to see every entity";
  void SetDrawing(DxfDrawing* drawing) { m_pDrawing = drawing; }
  bool IsDragging() const { return m_bDragging != 0; }
  // Whether the last paint was simplified, and said so.
  bool Simplified() const { return m_bSimplified; }

 protected:
  afx_msg void OnPaint();
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnMButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnMButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  DECLARE_MESSAGE_MAP()

 private:
  void OnButtonDown(CPoint point);
  void OnButtonUp();
  void DrawSimplifiedNote(HDC dc);

  DxfDrawing* m_pDrawing = nullptr;
  bool m_bSimplified = false;
  int32_t m_lastX = 0;
  int32_t m_lastY = 0;
  uint8_t m_bDragging = 0;
};

class CDFXView : public CView {
  DECLARE_DYNCREATE(CDFXView)

 public:
  CDFXView();
  ~CDFXView() override;
  static constexpr UINT kCanvasId = 0xF018;
  static constexpr UINT kRedrawAll = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW;

  DxfDrawing& Drawing() { return m_drawing; }
  DxfCanvas& Canvas() { return m_canvas; }

 protected:
  void OnDraw(CDC* pDC) override;
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
  DECLARE_MESSAGE_MAP()

 private:
  // Whether the file is taken as a drawing and loaded; the host's progress window shows meanwhile. A
  // file that File Trace found (recoveryMode) is not taken.
  bool LoadDrawing(const CString& path, PreviewHost& host, uint32_t recoveryMode);
  void FitToCanvas();

  DxfDrawing m_drawing;
  DxfCanvas m_canvas;
};
