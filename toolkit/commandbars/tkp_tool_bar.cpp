#include "toolkit/commandbars/tkp_tool_bar.h"

#include <algorithm>

#include "platform/classlib/resource_win32.h"
#include "platform/classlib/win/ccmdui.h"
#include "platform/classlib/win/cdc.h"
#include "platform/classlib/win/layout.h"
#include "toolkit/commandbars/tkp_command_bars.h"
#include "toolkit/commandbars/tkp_paint_manager.h"
#include "toolkit/common/tkp_image_manager.h"

IMPLEMENT_DYNCREATE(CTKPToolBar, CTKPCommandBar)

BEGIN_MESSAGE_MAP(CTKPToolBar, CTKPCommandBar)
  ON_WM_MOUSEMOVE()
  ON_WM_MOUSELEAVE()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

namespace {

constexpr int kMargin = 4;          // around the row of buttons
constexpr int kSeparatorWidth = 9;
constexpr int kIconOnlyHeight = 40;
constexpr int kTextBelowHeight = 76;  // room for the banner a theme may draw at y 20 and its 51 pixels
constexpr int kIconSize = 32;
constexpr int kFadedAlpha = 80;     // how much of a disabled icon shows through
constexpr COLORREF kTextColor = RGB(0x1E, 0x2A, 0x3C);
constexpr COLORREF kDisabledTextColor = RGB(0x9A, 0xA2, 0xAE);

// The short name of a command: the second line of its string, trimmed.
CString ShortName(UINT id) {
  CString text;
  if (!text.LoadString(id)) return CString();
  const int feed = text.Find(_T('\n'));
  CString name = feed >= 0 ? text.Mid(feed + 1) : text;
  name.TrimLeft();
  name.TrimRight();
  return name;
}

class BarCmdUI : public CCmdUI {
 public:
  CTKPToolBar* bar = nullptr;
  void Enable(BOOL bOn) override {
    bar->EnableItem(static_cast<int>(m_nIndex), bOn);
    m_bEnableChanged = TRUE;
  }
  void SetCheck(int) override {}
  void SetText(LPCTSTR) override {}
};

}  // namespace

CTKPToolBar::CTKPToolBar() {
  m_dwFlags = TKP_DOCK_TOP | TKP_DOCK_BOTTOM | TKP_DOCK_LEFT | TKP_DOCK_RIGHT | TKP_DOCK_FLOAT | TKP_DOCK_HIDEWRAP;
  m_bCloseable = TRUE;
}

BOOL CTKPToolBar::Create(CWnd* pParentWnd, int nPosition) {
  m_barPosition = nPosition;
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  m_font.CreateFontIndirect(&metrics.lfMenuFont);
  LPCTSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW));
  const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (m_bVisible ? WS_VISIBLE : 0);
  if (!CWnd::Create(cls, m_strTitle, style, RECT{0, 0, 0, 0}, pParentWnd, 0)) return FALSE;
  Relayout();
  return TRUE;
}

void CTKPToolBar::SetVisible(BOOL bVisible) {
  if (!m_bVisible == !bVisible) return;
  m_bVisible = bVisible;
  if (m_hWnd != nullptr) ShowWindow(bVisible ? SW_SHOWNA : SW_HIDE);
  if (CTKPCommandBars* bars = GetCommandBars()) bars->RecalcFrameLayout(TRUE);
}

BOOL CTKPToolBar::IsVisible() const { return m_bVisible && m_hWnd != nullptr; }

BOOL CTKPToolBar::SetPosition(int nPosition) {
  m_barPosition = nPosition;
  return TRUE;
}

void CTKPToolBar::SetButtons(const UINT* ids, int nCount) {
  m_items.clear();
  for (int i = 0; i < nCount; ++i) {
    Item item;
    item.id = ids[i];
    if (item.id != 0) item.text = ShortName(item.id);
    m_items.push_back(item);
  }
  Relayout();
}

UINT CTKPToolBar::GetItemID(int nIndex) const {
  return nIndex >= 0 && nIndex < GetCount() ? m_items[static_cast<size_t>(nIndex)].id : 0;
}

BOOL CTKPToolBar::IsItemEnabled(int nIndex) const {
  return nIndex >= 0 && nIndex < GetCount() && m_items[static_cast<size_t>(nIndex)].enabled;
}

CString CTKPToolBar::GetItemText(int nIndex) const {
  return nIndex >= 0 && nIndex < GetCount() ? m_items[static_cast<size_t>(nIndex)].text : CString();
}

CRect CTKPToolBar::GetItemRect(int nIndex) const {
  return nIndex >= 0 && nIndex < GetCount() ? m_items[static_cast<size_t>(nIndex)].rect : CRect(0, 0, 0, 0);
}

void CTKPToolBar::EnableItem(int nIndex, BOOL bEnable) {
  if (nIndex < 0 || nIndex >= GetCount()) return;
  Item& item = m_items[static_cast<size_t>(nIndex)];
  if (!item.enabled == !bEnable) return;
  item.enabled = bEnable;
  if (m_hWnd != nullptr) InvalidateRect(item.rect, FALSE);
}

CSize CTKPToolBar::CalcDynamicLayout(int, DWORD dwMode) {
  if ((m_dwState & stateLayoutPending) != 0) Relayout();
  const int thickness = IsTextBelowIcons() ? kTextBelowHeight : kIconOnlyHeight;
  int length = kMargin;
  for (const Item& item : m_items) length = std::max<int>(length, item.rect.right);
  length += kMargin;
  if ((dwMode & LM_STRETCH) != 0) length = 32767;
  return (dwMode & LM_VERTDOCK) != 0 ? CSize(thickness, length) : CSize(length, thickness);
}

void CTKPToolBar::Relayout() {
  m_dwState &= ~stateLayoutPending;
  const BOOL textBelow = IsTextBelowIcons();
  CClientDC dc(m_hWnd != nullptr ? this : nullptr);
  CFont* old = dc.SelectObject(&m_font);
  const int height = (textBelow ? kTextBelowHeight : kIconOnlyHeight) - 2 * kMargin;
  int x = kMargin;
  for (Item& item : m_items) {
    int width = kSeparatorWidth;
    if (item.id != 0) {
      width = kIconSize + 12;
      if (textBelow && !item.text.IsEmpty()) width = std::max<int>(width, dc.GetTextExtent(item.text).cx + 14);
    }
    item.rect = CRect(x, kMargin, x + width, kMargin + (textBelow ? std::min(height, 62) : height));
    x += width;
  }
  dc.SelectObject(old);
  if (m_hWnd != nullptr) Invalidate();
  if (CTKPCommandBars* bars = GetCommandBars()) bars->RecalcFrameLayout(TRUE);
}

int CTKPToolBar::HitTest(CPoint point) const {
  for (int i = 0; i < GetCount(); ++i) {
    const Item& item = m_items[static_cast<size_t>(i)];
    if (item.id != 0 && item.rect.PtInRect(point)) return i;
  }
  return -1;
}

void CTKPToolBar::DrawItem(CDC* pDC, CTKPPaintManager* pTheme, int nIndex) {
  const Item& item = m_items[static_cast<size_t>(nIndex)];
  const CRect& r = item.rect;
  if (item.id == 0) {
    const int x = r.left + r.Width() / 2;
    pDC->FillSolidRect(x, r.top + 6, 1, r.Height() - 12, RGB(0xB4, 0xC0, 0xD0));
    pDC->FillSolidRect(x + 1, r.top + 6, 1, r.Height() - 12, RGB(0xFF, 0xFF, 0xFF));
    return;
  }
  if (item.enabled && nIndex == m_nHot && pTheme != nullptr) {
    pTheme->DrawRectangle(pDC, r, TRUE, nIndex == m_nPressed, TRUE, FALSE, FALSE, TRUE, m_barPosition);
  }
  const BOOL textBelow = IsTextBelowIcons();
  const int iconX = r.left + (r.Width() - kIconSize) / 2;
  const int iconY = r.top + (textBelow ? 5 : (r.Height() - kIconSize) / 2);
  CTKPImageManagerIcon* icon = GetImageManager()->GetImage(item.id, kIconSize);
  if (icon != nullptr) {
    const CSize size(kIconSize, kIconSize);
    if (item.enabled) {
      icon->Draw(pDC, CPoint(iconX, iconY), icon->GetIcon(), size);
    } else {
      // A disabled icon is a faint copy over the background.
      CDC copy;
      copy.CreateCompatibleDC(pDC);
      CBitmap bitmap;
      bitmap.CreateCompatibleBitmap(pDC, kIconSize, kIconSize);
      CBitmap* oldBitmap = copy.SelectObject(&bitmap);
      copy.BitBlt(0, 0, kIconSize, kIconSize, pDC, iconX, iconY, SRCCOPY);
      icon->Draw(&copy, CPoint(0, 0), icon->GetIcon(), size);
      BLENDFUNCTION blend{AC_SRC_OVER, 0, kFadedAlpha, 0};
      pDC->AlphaBlend(iconX, iconY, kIconSize, kIconSize, &copy, 0, 0, kIconSize, kIconSize, blend);
      copy.SelectObject(oldBitmap);
    }
  }
  if (textBelow && !item.text.IsEmpty()) {
    CRect text(r.left, iconY + kIconSize + 3, r.right, r.bottom);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(item.enabled ? kTextColor : kDisabledTextColor);
    pDC->DrawText(item.text, text, DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
  }
}

void CTKPToolBar::DrawCommandBar(CDC* pDC, CRect rcClipBox) {
  CTKPCommandBar::DrawCommandBar(pDC, rcClipBox);
  CFont* oldFont = pDC->SelectObject(&m_font);
  CTKPPaintManager* theme = GetPaintManager();
  for (int i = 0; i < GetCount(); ++i) DrawItem(pDC, theme, i);
  pDC->SelectObject(oldFont);
}

void CTKPToolBar::OnMouseMove(UINT, CPoint point) {
  if (!m_bLeaveTracked) {
    TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, m_hWnd, 0};
    m_bLeaveTracked = ::TrackMouseEvent(&track);
  }
  const int hot = HitTest(point);
  if (hot == m_nHot) return;
  if (m_nHot >= 0) InvalidateRect(m_items[static_cast<size_t>(m_nHot)].rect, FALSE);
  m_nHot = hot;
  if (m_nHot >= 0) InvalidateRect(m_items[static_cast<size_t>(m_nHot)].rect, FALSE);
}

void CTKPToolBar::OnMouseLeave() {
  m_bLeaveTracked = FALSE;
  if (m_nHot >= 0 && m_nPressed < 0) {
    InvalidateRect(m_items[static_cast<size_t>(m_nHot)].rect, FALSE);
    m_nHot = -1;
  }
}

void CTKPToolBar::OnLButtonDown(UINT, CPoint point) {
  m_nPressed = HitTest(point);
  if (m_nPressed < 0 || !m_items[static_cast<size_t>(m_nPressed)].enabled) {
    m_nPressed = -1;
    return;
  }
  m_nHot = m_nPressed;
  SetCapture();
  InvalidateRect(m_items[static_cast<size_t>(m_nPressed)].rect, FALSE);
}

void CTKPToolBar::OnLButtonUp(UINT, CPoint point) {
  if (m_nPressed < 0) return;
  const int pressed = m_nPressed;
  m_nPressed = -1;
  ::ReleaseCapture();
  InvalidateRect(m_items[static_cast<size_t>(pressed)].rect, FALSE);
  if (HitTest(point) != pressed || !m_items[static_cast<size_t>(pressed)].enabled) return;
  // Posted: the command may open a modal loop, which should not run inside this click.
  CWnd* owner = GetOwnerSite();
  if (owner != nullptr) owner->PostMessage(WM_COMMAND, MAKEWPARAM(m_items[static_cast<size_t>(pressed)].id, 0), 0);
}

void CTKPToolBar::OnUpdateCmdUI(CCmdTarget* pTarget, BOOL bDisableIfNoHandler) {
  BarCmdUI state;
  state.bar = this;
  state.m_pOther = this;
  state.m_nIndexMax = static_cast<UINT>(GetCount());
  for (int i = 0; i < GetCount(); ++i) {
    const UINT id = m_items[static_cast<size_t>(i)].id;
    if (id == 0) continue;
    state.m_nID = id;
    state.m_nIndex = static_cast<UINT>(i);
    state.DoUpdate(pTarget, bDisableIfNoHandler);
  }
}

BOOL CTKPToolBar::LoadToolBar(UINT nIDResource, BOOL) {
  HINSTANCE module = AfxGetResourceHandle();
  HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(nIDResource), MAKEINTRESOURCEW(241));
  if (found == nullptr) return FALSE;
  const DWORD bytes = ::SizeofResource(module, found);
  HGLOBAL loaded = ::LoadResource(module, found);
  const WORD* words = loaded != nullptr ? static_cast<const WORD*>(::LockResource(loaded)) : nullptr;
  // version, width, height, count, then count commands: all inside the resource.
  if (words == nullptr || bytes < 4 * sizeof(WORD) || words[0] != 1) return FALSE;
  const WORD count = words[3];
  if (bytes < (4u + count) * sizeof(WORD)) return FALSE;
  std::vector<UINT> ids(words + 4, words + 4 + count);
  SetButtons(ids.data(), static_cast<int>(ids.size()));
  return TRUE;
}
