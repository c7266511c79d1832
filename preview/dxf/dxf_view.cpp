#include "preview/dxf/dxf_view.h"

#include <windows.h>

#include <string>

#include "engine/records/scan_parameters.h"
#include "platform/classlib/cfile.h"
#include "platform/classlib/win/cdc.h"
#include "preview/dxf/dxf_reader.h"
#include "preview/narrow_path.h"
#include "preview/preview_host.h"

static_assert(sizeof(wchar_t) == 2, "UTF-16 paths");

IMPLEMENT_DYNCREATE(CDFXView, CView)

BEGIN_MESSAGE_MAP(CDFXView, CView)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_WM_MOUSEWHEEL()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(DxfCanvas, CStatic)
  ON_WM_PAINT()
  ON_WM_LBUTTONDOWN()
  ON_WM_MBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_MBUTTONUP()
  ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

namespace {

constexpr UINT kSniffBytes = 511;
constexpr int kNarrowPathBytes = 256;
constexpr UINT kRedrawNow = RDW_INVALIDATE | RDW_UPDATENOW;

// The first bytes of the file name both "SECTION" and "HEADER"; false when it cannot be read.
bool OpenAndSniff(const CString& path, bool& opened) {
  CFile file;
  opened = file.Open(path, CFile::modeRead | CFile::shareDenyNone) != FALSE;
  if (!opened) return false;
  char start[kSniffBytes + 1] = {};
  UINT read = 0;
  try {
    read = file.Read(start, kSniffBytes);
  } catch (...) {
    read = 0;
  }
  file.Abort();
  return dxf::LooksLikeDrawing(start, read);
}

}  // namespace

CDFXView::CDFXView() { m_canvas.SetDrawing(&m_drawing); }

CDFXView::~CDFXView() {
  m_drawing.Destroy();
  if (m_canvas.GetSafeHwnd() != nullptr) m_canvas.DestroyWindow();
  m_drawing.Unload();
}

void CDFXView::OnDraw(CDC*) {}

int CDFXView::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CView::OnCreate(lpCreateStruct) == -1) return -1;
  m_canvas.Create(_T(""), WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_BLACKRECT, CRect(100, 0, 700, 200), this, kCanvasId);
  PreviewHost* host = CurrentPreviewHost();
  PreviewDocument* document = CurrentPreviewDocument();
  if (host == nullptr || document == nullptr) return 0;
  const CString path = document->m_previewPath;
  if (m_drawing.IsCreated()) m_drawing.Destroy();
  if (m_drawing.Create() == 0) {
    // Without the drawing library the file was never looked at: the type cannot be previewed here.
    if (!m_drawing.IsLoaded()) ReportPreviewComponentMissing();
    host->m_bPreviewOk = 0;
    return 0;
  }
  host->m_bPreviewOk = LoadDrawing(path, *host, document->m_recoveryMode) ? 1 : 0;
  if (host->m_bPreviewOk != 0) {
    FitToCanvas();
    m_canvas.ShowWindow(SW_SHOW);
    m_canvas.RedrawWindow(nullptr, nullptr, kRedrawAll);
  }
  return 0;
}

bool CDFXView::LoadDrawing(const CString& path, PreviewHost& host, uint32_t recoveryMode) {
  std::unique_ptr<CWnd> progress = host.ShowLoadProgress(this);
  const HWND progressWindow = progress != nullptr ? progress->GetSafeHwnd() : nullptr;
  bool opened = false;
  bool drawing = OpenAndSniff(path, opened);
  // File Trace finds files by their contents alone: its drawings are not previewed.
  if (recoveryMode == records::kFileTrace) drawing = false;
  char narrow[kNarrowPathBytes] = {};
  // A path cut short, or one the code page can only approximate, could name another file.
  if (drawing && !NarrowPath(path, narrow, sizeof narrow)) drawing = false;
  int loaded = 0;
  if (drawing) {
    try {
      loaded = m_drawing.LoadFile(narrow, progressWindow);
    } catch (...) {
      loaded = 0;
    }
  }
  if (progressWindow != nullptr) progress->DestroyWindow();
  return opened && loaded != 0;
}

void CDFXView::FitToCanvas() {
  CRect client;
  m_canvas.GetClientRect(client);
  m_drawing.InitView(0, 0, client.Width(), client.Height());
  m_drawing.ZoomExtents();
}

void CDFXView::OnSize(UINT nType, int cx, int cy) {
  CView::OnSize(nType, cx, cy);
  CRect client;
  GetClientRect(client);
  if (m_canvas.GetSafeHwnd() == nullptr) return;
  m_canvas.MoveWindow(client, TRUE);
  // Every new size fits the whole drawing again.
  FitToCanvas();
  m_canvas.RedrawWindow(nullptr, nullptr, kRedrawAll);
}

BOOL CDFXView::OnMouseWheel(UINT nFlags, short zDelta, CPoint pt) {
  if (m_drawing.IsCreated()) {
    const double factor = zDelta > 0 ? 1.5 : 0.6666666666666666;
    m_drawing.SetZoomLevel(m_drawing.GetZoomLevel() * factor);
    if (m_canvas.GetSafeHwnd() != nullptr) m_canvas.RedrawWindow(nullptr, nullptr, kRedrawAll);
  }
  return CView::OnMouseWheel(nFlags, zDelta, pt);
}

void DxfCanvas::OnPaint() {
  CPaintDC dc(this);
  if (m_pDrawing == nullptr) return;
  if (m_pDrawing->IsCreated()) {
    m_bSimplified = m_pDrawing->Paint(dc.GetSafeHdc()) == kDxfPaintSimplified;
    if (m_bSimplified) DrawSimplifiedNote(dc.GetSafeHdc());
    return;
  }
  CRect client;
  GetClientRect(client);
  HGDIOBJ old = ::SelectObject(dc.GetSafeHdc(), ::GetStockObject(BLACK_BRUSH));
  ::Rectangle(dc.GetSafeHdc(), client.left, client.top, client.right, client.bottom);
  ::SelectObject(dc.GetSafeHdc(), old);
}

void DxfCanvas::DrawSimplifiedNote(HDC dc) {
  CRect client;
  GetClientRect(client);
  HGDIOBJ oldFont = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
  ::SetTextColor(dc, RGB(255, 255, 255));
  ::SetBkColor(dc, RGB(64, 64, 64));
  ::SetBkMode(dc, OPAQUE);
  ::SetTextAlign(dc, TA_LEFT | TA_BOTTOM | TA_NOUPDATECP);
  const std::wstring note = std::wstring(L" ") + kSimplifiedNote + L" ";
  ::TextOutW(dc, client.left + 4, client.bottom - 4, note.c_str(), static_cast<int>(note.size()));
  ::SelectObject(dc, oldFont);
}

void DxfCanvas::OnButtonDown(CPoint point) {
  SetCapture();
  m_lastX = point.x;
  m_lastY = point.y;
  m_bDragging = 1;
}

void DxfCanvas::OnButtonUp() {
  ::ReleaseCapture();
  m_bDragging = 0;
}

void DxfCanvas::OnLButtonDown(UINT nFlags, CPoint point) {
  OnButtonDown(point);
  CStatic::OnLButtonDown(nFlags, point);
}

void DxfCanvas::OnMButtonDown(UINT nFlags, CPoint point) {
  OnButtonDown(point);
  CStatic::OnMButtonDown(nFlags, point);
}

void DxfCanvas::OnLButtonUp(UINT nFlags, CPoint point) {
  OnButtonUp();
  CStatic::OnLButtonUp(nFlags, point);
}

void DxfCanvas::OnMButtonUp(UINT nFlags, CPoint point) {
  OnButtonUp();
  CStatic::OnMButtonUp(nFlags, point);
}

void DxfCanvas::OnMouseMove(UINT nFlags, CPoint point) {
  CRect client;
  GetClientRect(client);
  if (m_bDragging != 0 && client.PtInRect(point) && m_pDrawing != nullptr && m_pDrawing->IsCreated()) {
    dxf::ViewProperties view;
    if (m_pDrawing->GetViewProperties(view) != 0 && dxf::Pan(view, point.x - m_lastX, point.y - m_lastY)) {
      m_pDrawing->SetViewProperties(view);
      RedrawWindow(nullptr, nullptr, kRedrawNow);
      m_lastX = point.x;
      m_lastY = point.y;
    }
  }
  CStatic::OnMouseMove(nFlags, point);
}
