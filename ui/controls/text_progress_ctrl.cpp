#include "ui/controls/text_progress_ctrl.h"

#include <algorithm>

#include "ui/controls/offscreen_paint.h"
#include "ui/controls/progress_math.h"

IMPLEMENT_DYNAMIC(TextProgressCtrl, CProgressCtrl)

BEGIN_MESSAGE_MAP(TextProgressCtrl, CProgressCtrl)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_SIZE()
  ON_MESSAGE(PBM_SETRANGE, OnSetRange)
  ON_MESSAGE(PBM_SETRANGE32, OnSetRange32)
  ON_MESSAGE(PBM_GETRANGE, OnGetRange)
  ON_MESSAGE(PBM_SETPOS, OnSetPos)
  ON_MESSAGE(PBM_DELTAPOS, OnDeltaPos)
  ON_MESSAGE(PBM_STEPIT, OnStepIt)
  ON_MESSAGE(PBM_SETSTEP, OnSetStep)
  ON_MESSAGE(PBM_GETPOS, OnGetPos)
  ON_MESSAGE(PBM_SETBARCOLOR, OnSetBarColor)
  ON_MESSAGE(PBM_SETBKCOLOR, OnSetBkColor)
  ON_MESSAGE(WM_SETTEXT, OnSetText)
  ON_MESSAGE(WM_GETTEXT, OnGetText)
  ON_MESSAGE(WM_GETTEXTLENGTH, OnGetTextLength)
  ON_MESSAGE(kSetTextColour, OnSetTextColour)
  ON_MESSAGE(kShowText, OnShowText)
END_MESSAGE_MAP()

void TextProgressCtrl::OnPaint() {
  // The paint cycle begins first, so the paint request ends even when there is nothing to draw.
  OffscreenPaint buffer(this);
  CDC* pDC = buffer.dc();
  if (m_upper <= m_lower || pDC == nullptr) return;
  const CRect& client = buffer.area();
  COLORREF background = m_backgroundColour == CLR_DEFAULT ? ::GetSysColor(COLOR_WINDOW) : m_backgroundColour;
  COLORREF bar = m_barColour == CLR_DEFAULT ? kBarColour : m_barColour;
  CWnd* parent = GetParent();
  CFont* font = parent != nullptr ? parent->GetFont() : nullptr;
  CFont* oldFont = font != nullptr ? pDC->SelectObject(font) : nullptr;

  // A position outside the range fills nothing or everything, never outside the control.
  CRect done = client, rest = client;
  if (GetStyle() & PBS_VERTICAL) {
    int height = std::clamp(progress::Share(m_lower, m_upper, m_position, client.Height()), 0, client.Height());
    done.top = client.bottom - height;
    rest.bottom = done.top;
  } else {
    int width = std::clamp(progress::Share(m_lower, m_upper, m_position, client.Width()), 0, client.Width());
    done.right = client.left + width;
    rest.left = done.right;
  }
  pDC->FillSolidRect(client, background);
  pDC->FillSolidRect(done, bar);

  if (m_showText && !(GetStyle() & PBS_VERTICAL)) {
    CString text = m_caption;
    if (text.IsEmpty()) text.Format(_T("%d%%"), progress::Share(m_lower, m_upper, m_position, 100));
    pDC->SetBkMode(TRANSPARENT);
    struct Part {
      const CRect& clip;
      COLORREF colour;
    };
    for (const Part& part : {Part{done, m_textColour == CLR_DEFAULT ? background : m_textColour},
                             Part{rest, m_textColour == CLR_DEFAULT ? bar : m_textColour}}) {
      if (part.clip.IsRectEmpty()) continue;
      int saved = pDC->SaveDC();
      pDC->IntersectClipRect(part.clip);
      pDC->SetTextColor(part.colour);
      CRect line = client;
      pDC->DrawText(text, line, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
      pDC->RestoreDC(saved);
    }
  }
  if (oldFont != nullptr) pDC->SelectObject(oldFont);
  buffer.Show();
}

BOOL TextProgressCtrl::OnEraseBkgnd(CDC*) { return TRUE; }

void TextProgressCtrl::OnSize(UINT nType, int cx, int cy) {
  CProgressCtrl::OnSize(nType, cx, cy);
  m_barWidth = -1;
}

int TextProgressCtrl::MovePos(int position) {
  int old = m_position;
  m_position = position;
  CRect client;
  GetClientRect(client);
  int width = progress::Share(m_lower, m_upper, m_position, client.Width());
  if (width != m_barWidth) {
    m_barWidth = width;
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  }
  return old;
}

void TextProgressCtrl::Repaint() { RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW); }

LRESULT TextProgressCtrl::OnSetRange(WPARAM, LPARAM lParam) {
  LRESULT old = MAKELONG(m_lower, m_upper);
  m_lower = static_cast<int>(LOWORD(lParam));
  m_upper = static_cast<int>(HIWORD(lParam));
  m_barWidth = -1;
  Repaint();
  return old;
}

LRESULT TextProgressCtrl::OnSetRange32(WPARAM wParam, LPARAM lParam) {
  LRESULT old = MAKELONG(m_lower, m_upper);
  m_lower = static_cast<int>(wParam);
  m_upper = static_cast<int>(lParam);
  m_barWidth = -1;
  Repaint();
  return old;
}

LRESULT TextProgressCtrl::OnGetRange(WPARAM wParam, LPARAM lParam) {
  if (auto* range = reinterpret_cast<PBRANGE*>(lParam)) {
    range->iLow = m_lower;
    range->iHigh = m_upper;
  }
  return wParam != 0 ? m_lower : m_upper;
}

LRESULT TextProgressCtrl::OnSetPos(WPARAM wParam, LPARAM) { return MovePos(static_cast<int>(wParam)); }
LRESULT TextProgressCtrl::OnDeltaPos(WPARAM wParam, LPARAM) {
  return MovePos(m_position + static_cast<int>(wParam));
}
LRESULT TextProgressCtrl::OnStepIt(WPARAM, LPARAM) { return MovePos(m_position + m_step); }

LRESULT TextProgressCtrl::OnSetStep(WPARAM wParam, LPARAM) {
  int old = m_step;
  m_step = static_cast<int>(wParam);
  return old;
}

LRESULT TextProgressCtrl::OnGetPos(WPARAM, LPARAM) { return m_position; }

LRESULT TextProgressCtrl::OnSetBarColor(WPARAM, LPARAM lParam) {
  COLORREF old = m_barColour;
  m_barColour = static_cast<COLORREF>(lParam);
  Repaint();
  return old;
}

LRESULT TextProgressCtrl::OnSetBkColor(WPARAM, LPARAM lParam) {
  COLORREF old = m_backgroundColour;
  m_backgroundColour = static_cast<COLORREF>(lParam);
  Repaint();
  return old;
}

LRESULT TextProgressCtrl::OnSetText(WPARAM, LPARAM lParam) {
  CString caption = lParam != 0 ? CString(reinterpret_cast<LPCTSTR>(lParam)) : CString();
  if (caption != m_caption) {
    m_caption = caption;
    Repaint();
  }
  return TRUE;
}

LRESULT TextProgressCtrl::OnGetText(WPARAM wParam, LPARAM lParam) {
  auto* buffer = reinterpret_cast<LPTSTR>(lParam);
  if (buffer == nullptr || wParam == 0) return 0;
  int count = std::min(m_caption.GetLength(), static_cast<int>(wParam) - 1);
  std::copy_n(static_cast<LPCTSTR>(m_caption), count, buffer);
  buffer[count] = 0;
  return count;
}

LRESULT TextProgressCtrl::OnGetTextLength(WPARAM, LPARAM) { return m_caption.GetLength(); }

LRESULT TextProgressCtrl::OnSetTextColour(WPARAM, LPARAM lParam) {
  m_textColour = static_cast<COLORREF>(lParam);
  Repaint();
  return 0;
}

LRESULT TextProgressCtrl::OnShowText(WPARAM wParam, LPARAM) {
  bool show = wParam != 0;
  if (show != m_showText) {
    m_showText = show;
    Repaint();
  }
  return 0;
}
