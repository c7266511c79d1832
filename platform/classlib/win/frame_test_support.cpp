#include "platform/classlib/win/frame_test_support.h"

#include "platform/harness/driver.h"

namespace cltest {

BEGIN_MESSAGE_MAP(FixedBar, CControlBar)
  ON_WM_PAINT()
END_MESSAGE_MAP()

void FixedBar::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(client);
  dc.FillSolidRect(client, ::GetSysColor(COLOR_BTNFACE));
  dc.SetBkMode(TRANSPARENT);
  dc.TextOut(8, 6, CString(_T("Control bar")));
}

BOOL FixedBar::Create(CWnd* pParentWnd, DWORD dwBarStyle, UINT nID) {
  SetBarStyle(dwBarStyle);
  return CWnd::Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, RECT{0, 0, 0, 0}, pParentWnd, nID);
}

CSize FixedBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  CSize size = CControlBar::CalcFixedLayout(bStretch, bHorz);
  if (bHorz) {
    size.cy += m_thickness;
  } else {
    size.cx += m_thickness;
  }
  return size;
}

void FixedBar::OnUpdateCmdUI(CCmdTarget* pTarget, BOOL) {
  ++updates;
  lastTarget = pTarget;
}

IMPLEMENT_DYNCREATE(SampleDoc, CDocument)

BEGIN_MESSAGE_MAP(SampleDoc, CDocument)
  ON_COMMAND(ID_SAMPLE_COMMAND, OnSampleCommand)
END_MESSAGE_MAP()

BOOL SampleDoc::OnNewDocument() {
  if (!CDocument::OnNewDocument()) return FALSE;
  ++newDocuments;
  text = _T("new");
  return TRUE;
}

void SampleDoc::Serialize(CArchive& ar) {
  if (ar.IsLoading()) {
    ar >> text;
  } else {
    ar << text;
  }
}

IMPLEMENT_DYNCREATE(SampleView, CView)

void SampleView::OnInitialUpdate() {
  ++initialUpdates;
  CView::OnInitialUpdate();
}

void SampleView::OnDraw(CDC* pDC) {
  ++draws;
  CRect client;
  GetClientRect(client);
  pDC->FillSolidRect(client, RGB(255, 255, 255));
  CString line = _T("Sample view");
  if (SampleDoc* pDoc = GetSampleDoc()) line += _T(": ") + pDoc->text;
  pDC->SetTextColor(RGB(0, 0, 128));
  pDC->TextOut(12, 12, line);
}

IMPLEMENT_DYNCREATE(SampleFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(SampleFrame, CFrameWnd)
  ON_WM_CREATE()
END_MESSAGE_MAP()

int SampleFrame::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CFrameWnd::OnCreate(lpCreateStruct) == -1) return -1;
  static const UINT indicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
  if (!status.Create(this) || !status.SetIndicators(indicators, 4)) return -1;
  if (!toolbar.Create(this, CBRS_TOP, AFX_IDW_TOOLBAR)) return -1;
  return 0;
}

CRect PlaceOf(const CWnd& wnd) {
  CRect rect;
  wnd.GetWindowRect(rect);
  ::MapWindowPoints(nullptr, ::GetParent(wnd.m_hWnd), reinterpret_cast<LPPOINT>(&rect), 2);
  return rect;
}

void Pump() { harness::PumpMessages(); }

bool TakeQuit() {
  MSG msg;
  return ::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
}

}  // namespace cltest
