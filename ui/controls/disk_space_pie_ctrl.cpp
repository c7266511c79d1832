#include "ui/controls/disk_space_pie_ctrl.h"

#include "ui/controls/offscreen_paint.h"

IMPLEMENT_DYNAMIC(DiskSpacePieCtrl, CStatic)

BEGIN_MESSAGE_MAP(DiskSpacePieCtrl, CStatic)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace {

constexpr COLORREF kOutline = 0x505050;
constexpr int kLegendLeft = 10;
constexpr int kLegendTop = 12;
constexpr int kLineHeight = 22;
constexpr int kBoxSize = 10;

// Fills with a solid brush and outlines with the outline pen for as long as it lives.
class Paint {
 public:
  Paint(CDC* pDC, COLORREF fill) : m_dc(pDC) {
    m_brush.CreateSolidBrush(fill);
    m_pen.CreatePen(PS_SOLID, 1, kOutline);
    m_oldBrush = pDC->SelectObject(&m_brush);
    m_oldPen = pDC->SelectObject(&m_pen);
  }
  ~Paint() {
    m_dc->SelectObject(m_oldBrush);
    m_dc->SelectObject(m_oldPen);
  }
  Paint(const Paint&) = delete;
  Paint& operator=(const Paint&) = delete;

 private:
  CDC* m_dc;
  CBrush m_brush;
  CPen m_pen;
  CBrush* m_oldBrush;
  CPen* m_oldPen;
};

}  // namespace

void DiskSpacePieCtrl::SetDrive(const char* lpszPath) {
  CString path(lpszPath != nullptr ? lpszPath : "");
  ULARGE_INTEGER available{}, total{}, free{};
  if (path.IsEmpty() || !::GetDiskFreeSpaceExW(path, &available, &total, &free)) {
    total.QuadPart = free.QuadPart = 0;
  }
  SetSpace(path, total.QuadPart, free.QuadPart);
}

void DiskSpacePieCtrl::SetSpace(LPCTSTR lpszPath, ULONGLONG total, ULONGLONG free) {
  m_drivePath = lpszPath;
  m_total = total;
  m_free = free;
  m_used = free <= total ? total - free : 0;
  m_usedPercent = pie::UsedPercent(m_used, m_total);
  Invalidate();
}

BOOL DiskSpacePieCtrl::OnEraseBkgnd(CDC*) { return TRUE; }

void DiskSpacePieCtrl::OnPaint() {
  OffscreenPaint buffer(this);
  CDC* pDC = buffer.dc();
  if (pDC == nullptr) return;
  const CRect& client = buffer.area();
  // The background the parent gives its static controls.
  CWnd* parent = GetParent();
  auto brush = parent != nullptr ? reinterpret_cast<HBRUSH>(parent->SendMessage(
                                       WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(pDC->GetSafeHdc()),
                                       reinterpret_cast<LPARAM>(GetSafeHwnd())))
                                 : nullptr;
  ::FillRect(pDC->GetSafeHdc(), client, brush != nullptr ? brush : ::GetSysColorBrush(COLOR_BTNFACE));
  // Nothing is known of a drive without a path or whose size could not be read: no legend, no pie.
  if (!m_drivePath.IsEmpty() && m_total != 0) {
    DrawLegend(pDC, client);
    m_layout = pie::LayoutPie(client);
    if (m_usedPercent >= m_lower && m_usedPercent <= m_upper) DrawPie(pDC);
  }
  buffer.Show();
}

void DiskSpacePieCtrl::DrawLegend(CDC* pDC, const CRect& client) {
  m_usedPercent = pie::UsedPercent(m_used, m_total);
  CFont font;
  font.CreateFont(15, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, _T("Arial"));
  CFont* oldFont = pDC->SelectObject(&font);
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
  struct Line {
    LPCTSTR label;
    ULONGLONG bytes;
    bool box;
    COLORREF colour;
  };
  const Line lines[] = {{_T("Capacity"), m_total, false, 0},
                        {_T("Used"), m_used, true, kUsedColour},
                        {_T("Free"), m_free, true, kFreeColour}};
  int textLeft = client.left + kLegendLeft + kBoxSize + 6;
  for (int i = 0; i < 3; ++i) {
    int top = client.top + kLegendTop + i * kLineHeight;
    if (lines[i].box) {
      Paint paint(pDC, lines[i].colour);
      pDC->Rectangle(client.left + kLegendLeft, top + 3, client.left + kLegendLeft + kBoxSize, top + 3 + kBoxSize);
    }
    pDC->TextOut(textLeft, top, pie::SpaceLine(lines[i].label, lines[i].bytes));
  }
  pDC->SelectObject(oldFont);
}

void DiskSpacePieCtrl::DrawPie(CDC* pDC) {
  const pie::PieLayout& l = m_layout;
  CRect upper(l.cx - l.rx, l.cy - l.ry, l.cx + l.rx, l.cy + l.ry);
  CRect lower = upper;
  lower.OffsetRect(0, pie::kRimDepth);
  if (upper.Width() < 2 || upper.Height() < 2) return;

  // The lower ellipse and the rim between the two, column by column in the colour of the share that
  // faces the viewer there.
  for (const pie::RimRun& run : pie::RimRuns(m_usedPercent, l.cx, l.rx)) {
    Paint paint(pDC, run.used ? kUsedColour : kFreeColour);
    int saved = pDC->SaveDC();
    pDC->IntersectClipRect(run.left, l.cy, run.right, lower.bottom + 1);
    pDC->Ellipse(lower);
    pDC->RestoreDC(saved);
    pDC->FillSolidRect(run.left, l.cy, run.right - run.left, pie::kRimDepth, run.used ? kUsedColour : kFreeColour);
  }
  {
    Paint outline(pDC, kOutline);
    pDC->MoveTo(upper.left, l.cy);
    pDC->LineTo(upper.left, l.cy + pie::kRimDepth);
    pDC->MoveTo(upper.right - 1, l.cy);
    pDC->LineTo(upper.right - 1, l.cy + pie::kRimDepth);
  }

  // The upper ellipse: used whole, then the free share from its boundary point round to the bottom.
  {
    Paint used(pDC, kUsedColour);
    pDC->Ellipse(upper);
  }
  if (m_usedPercent < 100) {
    Paint free(pDC, kFreeColour);
    pDC->Pie(upper, pie::BoundaryPoint(0, l.cx, l.cy, l.rx, l.ry),
             pie::BoundaryPoint(m_usedPercent, l.cx, l.cy, l.rx, l.ry));
  }
}
