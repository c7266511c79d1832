#include "ui/controls/gradient_progress_ctrl.h"

#include <algorithm>
#include <vector>

#include "ui/controls/offscreen_paint.h"
#include "ui/controls/progress_math.h"

IMPLEMENT_DYNAMIC(GradientProgressCtrl, CProgressCtrl)

BEGIN_MESSAGE_MAP(GradientProgressCtrl, CProgressCtrl)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_MESSAGE(PBM_SETBARCOLOR, OnSetBarColor)
  ON_MESSAGE(PBM_SETBKCOLOR, OnSetBkColor)
  ON_MESSAGE(PBM_SETSTEP, OnSetStep)
  ON_MESSAGE(PBM_SETPOS, OnSetPos)
END_MESSAGE_MAP()

namespace {

bool IsLowColour(CDC* pDC) {
  return (pDC->GetDeviceCaps(RASTERCAPS) & RC_PALETTE) == 0 &&
         pDC->GetDeviceCaps(BITSPIXEL) * pDC->GetDeviceCaps(PLANES) < 8;
}

}  // namespace

GradientProgressCtrl::GradientProgressCtrl()
    : m_background(::GetSysColor(COLOR_BTNFACE)),
      m_barTextColour(::GetSysColor(COLOR_CAPTIONTEXT)),
      m_backgroundTextColour(::GetSysColor(COLOR_BTNTEXT)) {
  BOOL gradientCaptions = FALSE;
  ::SystemParametersInfoW(SPI_GETGRADIENTCAPTIONS, 0, &gradientCaptions, 0);
  m_colours.Add(::GetSysColor(COLOR_ACTIVECAPTION));
  m_colours.Add(::GetSysColor(gradientCaptions ? COLOR_GRADIENTACTIVECAPTION : COLOR_ACTIVECAPTION));
}

void GradientProgressCtrl::SetTextFormat(LPCTSTR lpszFormat, DWORD dwMode) {
  bool show = lpszFormat != nullptr && *lpszFormat != 0 && dwMode != 0;
  ModifyStyle(kShowPercent | kShowPosition, show ? (dwMode & (kShowPercent | kShowPosition)) : 0);
  SetWindowText(show ? lpszFormat : _T(""));
}

void GradientProgressCtrl::SetGradientColors(const CDWordArray& colours) {
  if (colours.GetSize() > 0) m_colours.Copy(colours);
}

void GradientProgressCtrl::OnPaint() {
  OffscreenPaint buffer(this);
  CDC* pDC = buffer.dc();
  if (pDC == nullptr) return;
  const CRect& client = buffer.area();
  pDC->FillSolidRect(client, m_background);
  CRect inner(client.left + m_insets.left, client.top + m_insets.top, client.right - m_insets.right,
              client.bottom - m_insets.bottom);
  int lower = 0, upper = 0;
  GetRange(lower, upper);
  int position = GetPos();
  bool inRange = position >= std::min(lower, upper) && position <= std::max(lower, upper);
  if (inRange) {
    int doneRight = inner.left + progress::BarLength(lower, upper, position, inner.Width());
    DrawGradient(pDC, inner, doneRight);
    if (GetStyle() & (kShowPercent | kShowPosition)) DrawBarText(pDC, inner, doneRight);
  }
  buffer.Show();
}

BOOL GradientProgressCtrl::OnEraseBkgnd(CDC*) { return TRUE; }

void GradientProgressCtrl::DrawGradient(CDC* pDC, const CRect& inner, int doneRight) {
  if (doneRight <= inner.left || m_colours.GetSize() == 0) return;
  CRect done(inner.left, inner.top, doneRight, inner.bottom);
  if (m_colours.GetSize() == 1) {
    pDC->FillSolidRect(done, m_colours[0]);
    return;
  }
  std::vector<progress::Span> segments =
      progress::DoneSegments(m_colours.GetSize(), {inner.left, inner.right}, doneRight);
  for (size_t i = 0; i < segments.size(); ++i) {
    int index = static_cast<int>(i);
    DrawGradientSegment(pDC, CRect(segments[i].left, inner.top, segments[i].right, inner.bottom), done,
                        m_colours[index], m_colours[index + 1]);
  }
}

void GradientProgressCtrl::DrawGradientSegment(CDC* pDC, const CRect& segment, const CRect& clip, COLORREF from,
                                               COLORREF to) {
  bool palette = (pDC->GetDeviceCaps(RASTERCAPS) & RC_PALETTE) != 0;
  std::vector<progress::Band> bands =
      progress::SegmentBands({segment.left, segment.right}, clip.right, from, to, IsLowColour(pDC));
  for (const progress::Band& band : bands) {
    CRect step(std::max<int>(band.span.left, clip.left), segment.top, band.span.right, segment.bottom);
    if (step.IsRectEmpty()) continue;
    CBrush brush;
    if (!brush.CreateSolidBrush(palette ? PALETTERGB(GetRValue(band.colour), GetGValue(band.colour),
                                                    GetBValue(band.colour))
                                        : band.colour)) {
      continue;
    }
    pDC->FillRect(step, &brush);
  }
}

void GradientProgressCtrl::DrawBarText(CDC* pDC, const CRect& inner, int doneRight) {
  bool percent = (GetStyle() & kShowPercent) != 0;
  CString format;
  GetWindowText(format);
  if (format.IsEmpty()) format = percent ? _T("%d%%") : _T("%d");
  int lower = 0, upper = 0;
  GetRange(lower, upper);
  int position = GetPos();
  CString text = progress::BarText(format, percent ? progress::Percent(lower, upper, position) : position);

  CFont* font = GetFont();
  CFont* oldFont = font != nullptr ? pDC->SelectObject(font) : nullptr;
  CSize size = pDC->GetTextExtent(text);
  CPoint origin(inner.left + (inner.Width() - size.cx) / 2, inner.top + (inner.Height() - size.cy) / 2);
  if (m_barTextColour == m_backgroundTextColour) {
    DrawClippedText(pDC, inner, text, origin, m_barTextColour);
  } else {
    DrawClippedText(pDC, CRect(inner.left, inner.top, doneRight, inner.bottom), text, origin, m_barTextColour);
    DrawClippedText(pDC, CRect(doneRight, inner.top, inner.right, inner.bottom), text, origin,
                    m_backgroundTextColour);
  }
  if (oldFont != nullptr) pDC->SelectObject(oldFont);
}

void GradientProgressCtrl::DrawClippedText(CDC* pDC, const CRect& clip, const CString& text, CPoint origin,
                                           COLORREF colour) {
  if (clip.IsRectEmpty()) return;
  int saved = pDC->SaveDC();
  pDC->IntersectClipRect(clip);
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(colour);
  pDC->TextOut(origin.x, origin.y, text);
  pDC->RestoreDC(saved);
}

BOOL GradientProgressCtrl::SetSnakePos(int) { return FALSE; }

LRESULT GradientProgressCtrl::OnSetBarColor(WPARAM wParam, LPARAM lParam) {
  COLORREF second = static_cast<COLORREF>(lParam);
  m_colours.RemoveAll();
  m_colours.Add(second);
  m_colours.Add(wParam != 0 ? static_cast<COLORREF>(wParam) : second);
  Invalidate();
  return CLR_DEFAULT;
}

LRESULT GradientProgressCtrl::OnSetBkColor(WPARAM, LPARAM lParam) {
  m_background = static_cast<COLORREF>(lParam);
  Invalidate();
  return CLR_DEFAULT;
}

LRESULT GradientProgressCtrl::OnSetStep(WPARAM wParam, LPARAM) {
  m_step = static_cast<int>(wParam);
  return Default();
}

LRESULT GradientProgressCtrl::OnSetPos(WPARAM wParam, LPARAM) {
  if (SetSnakePos(static_cast<int>(wParam))) return 0;
  return Default();
}
