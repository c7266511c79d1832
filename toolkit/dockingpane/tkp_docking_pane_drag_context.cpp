#include "toolkit/dockingpane/tkp_docking_pane_drag_context.h"

#include <algorithm>

#include "res/toolkit_resource.h"
#include "toolkit/common/color_manager.h"
#include "toolkit/common/draw_helpers.h"
#include "toolkit/dockingpane/tkp_docking_pane.h"
#include "toolkit/dockingpane/tkp_docking_pane_manager.h"
#include "toolkit/dockingpane/tkp_docking_pane_place.h"
#include "toolkit/dockingpane/tkp_docking_pane_splitter.h"
#include "toolkit/dockingpane/tkp_docking_pane_tabbed.h"
#include "toolkit/tabmanager/tkp_tab_paint_manager.h"

namespace {

constexpr COLORREF kGuideKey = RGB(0, 255, 0);

dock::Box ToBox(const CRect& rc) { return dock::Box{rc.left, rc.top, rc.right, rc.bottom}; }
CRect ToRect(const dock::Box& b) { return CRect(b.left, b.top, b.right, b.bottom); }

LPCTSTR PopupClass() { return AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW)); }

// A top-down 32-bit DIB of that size.
BITMAPINFO TopDown32(int width, int height) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  return bi;
}

// The pixels of a bitmap resource, top-down; empty when the resource is missing.
std::vector<COLORREF> ReadBitmap(UINT nID, int* pWidth, int* pHeight) {
  std::vector<COLORREF> pixels;
  HBITMAP bitmap = static_cast<HBITMAP>(
      ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(nID), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (bitmap == nullptr) return pixels;
  BITMAP info{};
  ::GetObjectW(bitmap, sizeof(info), &info);
  if (info.bmWidth > 0 && info.bmHeight > 0 && info.bmWidth <= 1024 && info.bmHeight <= 1024) {
    BITMAPINFO bi = TopDown32(info.bmWidth, info.bmHeight);
    std::vector<DWORD> bgra(static_cast<size_t>(info.bmWidth) * info.bmHeight);
    HDC dc = ::GetDC(nullptr);
    if (::GetDIBits(dc, bitmap, 0, info.bmHeight, bgra.data(), &bi, DIB_RGB_COLORS) == info.bmHeight) {
      pixels.reserve(bgra.size());
      for (DWORD v : bgra) pixels.push_back(RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF));
      *pWidth = info.bmWidth;
      *pHeight = info.bmHeight;
    }
    ::ReleaseDC(nullptr, dc);
  }
  ::DeleteObject(bitmap);
  return pixels;
}

}  // namespace

void OffsetRectToContainPoint(CRect& rc, CPoint pt) { rc = ToRect(dock::OffsetToContain(ToBox(rc), pt.x, pt.y)); }

// ---- guide and preview windows ---------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CTKPDockingPaneGuideWnd, CWnd)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

void CTKPDockingPaneGuideWnd::OnPaint() {
  CPaintDC dc(this);
  m_pContext->DrawGuide(&dc, m_nCode, m_nHighlighted);
}

BEGIN_MESSAGE_MAP(CTKPDockingPaneAlphaWnd, CWnd)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

void CTKPDockingPaneAlphaWnd::OnPaint() {
  CPaintDC dc(this);
  CRect rc;
  GetClientRect(rc);
  dc.FillSolidRect(rc, ::GetSysColor(COLOR_HIGHLIGHT));
}

// ---- the drag ----------------------------------------------------------------------------------------------

CTKPDockingPaneDragContext::CTKPDockingPaneDragContext(CTKPDockingPaneManager* pManager) : m_pManager(pManager) {
  if (HMODULE user = ::GetModuleHandleW(L"USER32")) {
    m_pfnSetLayeredWindowAttributes =
        reinterpret_cast<SetLayeredProc>(reinterpret_cast<void*>(::GetProcAddress(user, "SetLayeredWindowAttributes")));
  }
}

CTKPDockingPaneDragContext::~CTKPDockingPaneDragContext() {
  DestroyGuides();
  for (auto& entry : m_mapRegions) ::DeleteObject(entry.second);
}

std::vector<CTKPDockingPaneBase*> CTKPDockingPaneDragContext::DraggedPanes() const {
  std::vector<CTKPDockingPaneBase*> panes;
  if (m_pPane == nullptr) return panes;
  if (m_pPane->GetType() == dock::kPane) {
    panes.push_back(m_pPane);
  } else {
    m_pPane->FindPane(dock::kPane, &panes);
  }
  return panes;
}

BOOL CTKPDockingPaneDragContext::IsDragged(CTKPDockingPaneBase* pContainer) const {
  return m_pPane != nullptr && (m_pPane->ContainsPane(pContainer) ||
                                (m_pPane->GetType() == dock::kPane && m_pPane->GetContainer() == pContainer &&
                                 static_cast<CTKPDockingPaneTabbedContainer*>(pContainer)->GetPanes().size() == 1));
}

HWND CTKPDockingPaneDragContext::CaptureWindow() const {
  for (CTKPDockingPaneBase* p = m_pPane; p != nullptr; p = p->GetContainer()) {
    if (p->GetType() != dock::kPane && p->GetPaneHwnd() != nullptr) return p->GetPaneHwnd();
  }
  return m_pManager->GetSite() != nullptr ? m_pManager->GetSite()->GetSafeHwnd() : nullptr;
}

void CTKPDockingPaneDragContext::Drag(CTKPDockingPaneBase* pPane, CPoint pt) {
  if (pPane == nullptr) return;
  m_pPane = pPane;
  m_rcFloat = pPane->GetWindowRect();
  CTKPDockingPaneBase* holder = pPane->GetContainer();
  if (pPane->GetType() == dock::kPane && holder != nullptr) {
    m_rcFloat = holder->GetWindowRect();
  } else if (pPane->GetType() == dock::kSplitterContainer && holder != nullptr && holder->GetType() == dock::kMiniFrame &&
             holder->GetPaneHwnd() != nullptr) {
    // A floating frame's content drags its whole frame: caption and borders included, so that a drop
    // where nothing docks leaves the frame its size.
    RECT frame{};
    ::GetWindowRect(holder->GetPaneHwnd(), &frame);
    m_rcFloat = CRect(frame.left, frame.top, frame.right, frame.bottom);
  }
  OffsetRectToContainPoint(m_rcFloat, pt);
  m_ptLast = m_ptPress = pt;
  m_pTarget = nullptr;
  m_bAttach = m_bAttachLast = FALSE;
  m_bFloatable = TRUE;
  m_bUseAlphaContext = m_pManager->IsAlphaDockingContext() && m_pfnSetLayeredWindowAttributes != nullptr;
  m_bUseDockingGuides = m_bUseAlphaContext && m_pManager->IsShowDockingGuides();
  for (CTKPDockingPaneBase* pane : DraggedPanes()) {
    if (m_pManager->NotifyOwner(tkpPaneActionFloating, pane) != 0 ||
        (static_cast<CTKPDockingPane*>(pane)->GetOptions() & tkpPaneNoFloatable) != 0) {
      m_bFloatable = FALSE;
    }
  }
  InitLoop();
  if (Track()) Finish();
  m_pPane = nullptr;
}

void CTKPDockingPaneDragContext::InitLoop() {
  m_rcLast.SetRectEmpty();
  m_rcHoverContainer.SetRectEmpty();
  m_pHoverContainer = nullptr;
  m_pGuidesContainer = nullptr;
  m_bAttachDrawn = FALSE;
  if (m_bUseAlphaContext) return;
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) ::DispatchMessageW(&msg);
  HWND desktop = ::GetDesktopWindow();
  m_bLocked = ::LockWindowUpdate(desktop);
  m_hDesktopDC = ::GetDCEx(desktop, nullptr, DCX_WINDOW | DCX_CACHE | (m_bLocked ? DCX_LOCKWINDOWUPDATE : 0));
}

BOOL CTKPDockingPaneDragContext::Track() {
  HWND wnd = CaptureWindow();
  BOOL accepted = FALSE;
  if (::GetCapture() != nullptr || wnd == nullptr) {
    EndLoop();
    return FALSE;
  }
  ::SetCapture(wnd);
  MSG msg;
  while (::GetCapture() == wnd) {
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (got < 0) break;
    if (msg.message == WM_LBUTTONUP) {
      accepted = TRUE;
      break;
    }
    if (msg.message == WM_MOUSEMOVE) {
      POINT pt{static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
      ::ClientToScreen(msg.hwnd, &pt);
      if (std::abs(pt.x - m_ptPress.x) < 5 && std::abs(pt.y - m_ptPress.y) < 5) continue;
      Move(pt);
      m_ptPress = CPoint(0, 0);
      continue;
    }
    if ((msg.message == WM_KEYDOWN || msg.message == WM_KEYUP) && msg.wParam == VK_CONTROL) {
      Move(m_ptLast);
      m_ptPress = CPoint(0, 0);
      continue;
    }
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) break;
    ::DispatchMessageW(&msg);
  }
  EndLoop();
  return accepted && m_ptPress == CPoint(0, 0);
}

void CTKPDockingPaneDragContext::Finish() {
  const std::vector<CTKPDockingPaneBase*> panes = DraggedPanes();
  if (panes.empty()) return;
  // The manager refuses silently: the site hears of a move only when the panes went where it says.
  CTKPDockingPaneBase* first = panes.front();
  const std::vector<const CTKPDockingPaneBase*> before = dockplace::Containers(first);
  int action = -1;
  bool done = false;
  if (m_bAttach && m_pTarget != nullptr) {
    CTKPDockingPaneBase* group = m_pTarget->GetType() == dock::kPane ? m_pTarget->GetContainer() : m_pTarget;
    m_pManager->AttachPane(m_pPane, m_pTarget);
    action = tkpPaneActionAttached;
    done = first->GetContainer() == group && dockplace::Containers(first) != before;
  } else if (m_pTarget != nullptr) {
    m_pManager->DockPane(m_pPane, m_pManager->IsLayoutRTL() && m_nDirection < 2 ? m_nDirection ^ 1 : m_nDirection,
                         m_pTarget);
    action = tkpPaneActionDocked;
    done = dockplace::Containers(first) != before && !dockplace::IsFloating(first) && !first->IsHidden();
  } else if (m_bFloatable) {
    if (m_rcFloat.top < 0) m_rcFloat.OffsetRect(0, -m_rcFloat.top);
    CTKPDockingPaneBase* frame = m_pPane->GetContainer();
    if (m_pPane->GetType() == dock::kSplitterContainer && frame != nullptr && frame->GetType() == dock::kMiniFrame) {
      ::SetWindowPos(frame->GetPaneHwnd(), nullptr, m_rcFloat.left, m_rcFloat.top, m_rcFloat.Width(),
                     m_rcFloat.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
      done = true;  // the frame moved
    } else {
      m_pManager->FloatPane(m_pPane, m_rcFloat);
      done = dockplace::Containers(first) != before && dockplace::IsFloating(first);
    }
    action = tkpPaneActionFloated;
  }
  if (action < 0 || !done) return;
  for (CTKPDockingPaneBase* pane : panes) m_pManager->NotifyOwner(action, pane);
}

void CTKPDockingPaneDragContext::Move(CPoint pt) {
  CRect moved = m_rcFloat;
  moved.OffsetRect(pt - m_ptLast);
  CRect work = CTKPDrawHelpers::GetWorkAreaFromRect(moved);
  CRect common;
  if (common.IntersectRect(moved, work)) m_rcFloat = moved;
  m_pTarget = nullptr;
  m_bAttach = FALSE;
  m_rcDock.SetRectEmpty();
  m_pHoverContainer = nullptr;
  if (::GetKeyState(VK_CONTROL) >= 0) FindTarget(pt);
  m_ptLast = pt;
  if (!m_bUseDockingGuides) {
    DrawPreview(FALSE);
    return;
  }
  UpdateGuides();
  CTKPDockingPaneGuideWnd* hit = nullptr;
  int part = 0;
  for (CTKPDockingPaneGuideWnd* guide : m_lstGuides) {
    part = HitTestGuide(guide, pt);
    if (part != 0) {
      hit = guide;
      break;
    }
  }
  if (hit != nullptr) {
    const BOOL cross = (hit->GetCode() & dock::kGuideCross) != 0;
    m_pTarget = cross ? m_pHoverContainer : m_pManager->GetTopPane();
    if (m_pTarget == nullptr) m_pTarget = m_pManager->GetTopPane();
    m_rcDock = cross ? m_rcHoverContainer : m_pManager->GetTopPane()->GetWindowRect();
    if (part == dock::kGuideCentre) {
      m_bAttach = TRUE;
      if (!CanAttach(m_pTarget)) {
        m_pTarget = nullptr;
        m_bAttach = FALSE;
      }
    } else {
      m_nDirection = dock::PartDirection(part);
      m_rcDock = ToRect(dock::DockHalf(ToBox(m_rcDock), part));
      if (!CanDockAt(m_pTarget, m_nDirection)) {
        m_pTarget = nullptr;
      } else {
        m_rcDock = m_pManager->CalcDockingRect(m_pPane, m_nDirection, m_pTarget);
      }
    }
  }
  for (CTKPDockingPaneGuideWnd* guide : m_lstGuides) {
    const int lit = guide == hit ? part : 0;
    if (guide->m_nHighlighted == lit) continue;
    guide->m_nHighlighted = lit;
    guide->Invalidate(FALSE);
    guide->UpdateWindow();
  }
  DrawPreview(FALSE);
}

void CTKPDockingPaneDragContext::FindTarget(CPoint pt) {
  CTKPDockingPaneLayout* layout = m_pManager->GetLayout();
  if (layout == nullptr) return;
  for (CTKPDockingPaneBase* object : layout->GetObjects()) {
    if (object->GetType() != dock::kTabbedContainer) continue;
    auto* tabbed = static_cast<CTKPDockingPaneTabbedContainer*>(object);
    CTKPDockingPaneBase* parent = tabbed->GetContainer();
    if (parent == nullptr || parent->GetType() != dock::kSplitterContainer || tabbed->GetSafeHwnd() == nullptr ||
        !tabbed->IsWindowVisible() || IsDragged(tabbed)) {
      continue;
    }
    // Docked in the frame, not inside a floating frame of its own.
    const CRect rc = tabbed->CTKPDockingPaneBase::GetWindowRect();
    CRect band = rc;
    if (tabbed->IsCaptionOrTabsHit(band, pt) && CanAttach(tabbed)) {
      m_pTarget = tabbed;
      m_bAttach = TRUE;
      m_rcDock = rc;
      return;
    }
    if (!m_bUseDockingGuides) {
      if (CanDock(rc, pt, tabbed, TRUE)) return;
    } else if (rc.PtInRect(pt)) {
      m_pHoverContainer = tabbed;
      m_rcHoverContainer = rc;
      return;
    }
  }
  CTKPDockingPaneBase* client = m_pManager->GetClientPane();
  CTKPDockingPaneBase* top = m_pManager->GetTopPane();
  if (!m_bUseDockingGuides) {
    if (client != nullptr && CanDock(client->GetWindowRect(), pt, client, TRUE)) return;
    if (top != nullptr) CanDock(top->GetWindowRect(), pt, top, FALSE);
    return;
  }
  if (m_pHoverContainer != nullptr) return;
  if (client != nullptr && client->GetWindowRect().PtInRect(pt)) {
    m_pHoverContainer = client;
    m_rcHoverContainer = client->GetWindowRect();
  } else if (top != nullptr && top->GetWindowRect().PtInRect(pt)) {
    m_rcHoverContainer = top->GetWindowRect();
  } else {
    m_rcHoverContainer.SetRectEmpty();
  }
}

BOOL CTKPDockingPaneDragContext::CanDock(CRect rc, CPoint pt, CTKPDockingPaneBase* pContainer, BOOL bInside) {
  const int direction = dock::NearestDockSide(ToBox(rc), pt.x, pt.y, bInside != FALSE, m_bFloatable != FALSE);
  if (direction < 0 || !CanDockAt(pContainer, direction)) return FALSE;
  m_rcDock = m_pManager->CalcDockingRect(m_pPane, direction, pContainer);
  m_pTarget = pContainer;
  m_nDirection = direction;
  return TRUE;
}

BOOL CTKPDockingPaneDragContext::CanDockAt(CTKPDockingPaneBase* pContainer, int nDirection) {
  const auto target = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(pContainer));
  for (CTKPDockingPaneBase* pane : DraggedPanes()) {
    if (m_pManager->NotifyOwner(tkpPaneActionDocking, pane, target, static_cast<DWORD>(nDirection)) != 0) return FALSE;
  }
  return TRUE;
}

BOOL CTKPDockingPaneDragContext::CanAttach(CTKPDockingPaneBase* pContainer) {
  const auto target = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(pContainer));
  for (CTKPDockingPaneBase* pane : DraggedPanes()) {
    if (m_pManager->NotifyOwner(tkpPaneActionAttaching, pane, target) != 0) return FALSE;
  }
  return TRUE;
}

// ---- guides -------------------------------------------------------------------------------------------------

int CTKPDockingPaneDragContext::GetGuideStyle() const { return m_pManager->GetDockingGuideStyle() == 1 ? 1 : 0; }

void CTKPDockingPaneDragContext::UpdateGuides() {
  if (m_rcHoverContainer.IsRectEmpty()) {
    DestroyGuides();
    m_pGuidesContainer = nullptr;
    return;
  }
  const int style = GetGuideStyle();
  if (m_pHoverContainer == m_pGuidesContainer && !m_lstGuides.empty()) return;
  DestroyGuides();
  if (m_pHoverContainer != nullptr) {
    int code = dock::kGuideCross;
    const int bits[] = {dock::kGuideLeft, dock::kGuideRight, dock::kGuideTop, dock::kGuideBottom};
    for (int direction = 0; direction < 4; ++direction) {
      if (CanDockAt(m_pHoverContainer, direction)) code |= bits[direction];
    }
    if (m_pHoverContainer != m_pManager->GetClientPane() && CanAttach(m_pHoverContainer)) code |= dock::kGuideCentre;
    CreateGuide(ToRect(dock::CentreGuideRect(ToBox(m_rcHoverContainer), style)), code);
  }
  if (CTKPDockingPaneBase* top = m_pManager->GetTopPane()) {
    int sides = 0;
    const int bits[] = {dock::kGuideLeft, dock::kGuideRight, dock::kGuideTop, dock::kGuideBottom};
    for (int direction = 0; direction < 4; ++direction) {
      if (CanDockAt(top, direction)) sides |= bits[direction];
    }
    for (const dock::PlacedGuide& guide : dock::OuterGuides(ToBox(top->GetWindowRect()), style, sides)) {
      CreateGuide(ToRect(guide.rect), guide.code);
    }
  }
  m_pGuidesContainer = m_pHoverContainer;
}

void CTKPDockingPaneDragContext::CreateGuide(CRect rc, int nCode) {
  if (nCode == 0 || nCode == dock::kGuideCross) return;
  auto* guide = new CTKPDockingPaneGuideWnd(this, nCode);
  CWnd* site = m_pManager->GetSite();
  if (!guide->CreateEx(WS_EX_TOOLWINDOW, PopupClass(), _T(""), WS_POPUP, rc.left, rc.top, rc.Width(), rc.Height(),
                       site != nullptr ? site->GetSafeHwnd() : nullptr, nullptr)) {
    delete guide;
    return;
  }
  m_lstGuides.push_back(guide);
  HRGN& region = m_mapRegions[nCode];
  if (region == nullptr) {
    LoadArtwork();
    region = ::CreateRectRgn(0, 0, 0, 0);
    const auto ink = [this](int bitmap, int x, int y) { return Ink(bitmap, x, y); };
    for (const dock::Box& run : dock::GuideOutline(nCode, GetGuideStyle(), ink)) {
      HRGN piece = ::CreateRectRgn(run.left, run.top, run.right, run.bottom);
      ::CombineRgn(region, region, piece, RGN_OR);
      ::DeleteObject(piece);
    }
  }
  // The window owns the region it is given: it gets a copy.
  HRGN copy = ::CreateRectRgn(0, 0, 0, 0);
  ::CombineRgn(copy, region, nullptr, RGN_COPY);
  ::SetWindowRgn(guide->GetSafeHwnd(), copy, FALSE);
  guide->SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), rc.Height(),
                      SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void CTKPDockingPaneDragContext::DestroyGuides() {
  for (CTKPDockingPaneGuideWnd* guide : m_lstGuides) {
    guide->DestroyWindow();
    delete guide;
  }
  m_lstGuides.clear();
}

int CTKPDockingPaneDragContext::HitTestGuide(CTKPDockingPaneGuideWnd* pGuide, CPoint pt) {
  POINT local{pt.x, pt.y};
  ::ScreenToClient(pGuide->GetSafeHwnd(), &local);
  LoadArtwork();
  return dock::HitTestGuide(pGuide->GetCode(), GetGuideStyle(), local.x, local.y,
                            [this](int bitmap, int x, int y) { return Ink(bitmap, x, y, true); });
}

void CTKPDockingPaneDragContext::LoadArtwork() {
  const int style = GetGuideStyle();
  const UINT strip = static_cast<UINT>(dock::GuideStripBitmap(style, TKPColorManager()->GetCurrentSystemTheme(), false));
  if (m_nArtStrip == static_cast<int>(strip)) return;
  m_nArtStrip = static_cast<int>(strip);
  m_art[0].pixels = ReadBitmap(strip, &m_art[0].width, &m_art[0].height);
  m_art[1].pixels = ReadBitmap(IDB_TK_GUIDE_CENTRE, &m_art[1].width, &m_art[1].height);
  const UINT hit = static_cast<UINT>(dock::GuideStripBitmap(style, 0, true));
  m_art[2] = hit == strip ? m_art[0] : Artwork{};
  if (hit != strip) m_art[2].pixels = ReadBitmap(hit, &m_art[2].width, &m_art[2].height);
}

bool CTKPDockingPaneDragContext::Ink(int nBitmap, int x, int y, bool bHitTest) {
  const Artwork& art = m_art[nBitmap == 1 ? 1 : bHitTest ? 2 : 0];
  if (x < 0 || y < 0 || x >= art.width || y >= art.height || art.pixels.empty()) return false;
  return art.pixels[static_cast<size_t>(y) * art.width + x] != kGuideKey;
}

void CTKPDockingPaneDragContext::DrawGuide(CDC* pDC, int nCode, int nHighlighted) {
  LoadArtwork();
  const dock::GuideSize size = dock::GetGuideSize(nCode, GetGuideStyle());
  // Composed off screen in 32-bit pixels, then copied at once: no piece flickers over another.
  std::vector<DWORD> canvas(static_cast<size_t>(size.cx) * size.cy, 0);
  for (const dock::GuidePiece& piece : dock::GuidePieces(nCode, GetGuideStyle(), nHighlighted)) {
    const dock::Sprite& s = piece.sprite;
    const Artwork& art = m_art[s.bitmap == 1 ? 1 : 0];
    for (int sy = s.source.top; sy < s.source.bottom; ++sy) {
      for (int sx = s.source.left; sx < s.source.right; ++sx) {
        const int x = s.x + sx - s.source.left, y = s.y + sy - s.source.top;
        if (x < 0 || y < 0 || x >= size.cx || y >= size.cy || !Ink(s.bitmap, sx, sy)) continue;
        const COLORREF c = art.pixels[static_cast<size_t>(sy) * art.width + sx];
        canvas[static_cast<size_t>(y) * size.cx + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
      }
    }
  }
  BITMAPINFO bi = TopDown32(size.cx, size.cy);
  ::SetDIBitsToDevice(pDC->GetSafeHdc(), 0, 0, size.cx, size.cy, 0, 0, 0, size.cy, canvas.data(), &bi,
                      DIB_RGB_COLORS);
}

// ---- preview ----------------------------------------------------------------------------------------------

void CTKPDockingPaneDragContext::ShowAlpha(CTKPDockingPaneAlphaWnd& wnd, CRect rc) {
  if (wnd.GetSafeHwnd() != nullptr) {
    CRect now;
    wnd.GetWindowRect(now);
    if (now.Size() != rc.Size()) wnd.DestroyWindow();
  }
  if (wnd.GetSafeHwnd() == nullptr) {
    CWnd* site = m_pManager->GetSite();
    if (!wnd.CreateEx(WS_EX_LAYERED | WS_EX_TOPMOST | WS_EX_TOOLWINDOW, PopupClass(), _T(""), WS_POPUP, rc.left,
                      rc.top, rc.Width(), rc.Height(), site != nullptr ? site->GetSafeHwnd() : nullptr, nullptr)) {
      return;
    }
    m_pfnSetLayeredWindowAttributes(wnd.GetSafeHwnd(), 0, 100, LWA_ALPHA);
  }
  wnd.SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), rc.Height(), SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  wnd.Invalidate(FALSE);
  wnd.UpdateWindow();
}

void CTKPDockingPaneDragContext::DrawPreview(BOOL bRemove) {
  if (!m_bUseAlphaContext) {
    DrawClassicFrame(bRemove);
    return;
  }
  CRect rc = m_pTarget != nullptr ? m_rcDock : m_rcFloat;
  if (m_pTarget == nullptr && !m_bFloatable) rc.SetRectEmpty();
  if (m_bAttach != m_bAttachLast) {
    if (!m_bAttach && m_wndAlphaTab.GetSafeHwnd() != nullptr) m_wndAlphaTab.DestroyWindow();
    m_bAttachLast = m_bAttach;
  }
  if (m_bAttach && !rc.IsRectEmpty()) {
    const int tabHeight = std::min<int>(20, rc.Height() / 2);
    const int tabWidth = std::min<int>(50, rc.Width() - 5);
    CTKPDockingPanePaintManager* paint = m_pManager->GetPaintManager();
    CRect tab;
    if (paint->GetTabPaintManager() != nullptr && paint->GetTabPaintManager()->GetPosition() == 0) {
      int top = rc.top;
      if (auto* tabbed = dynamic_cast<CTKPDockingPaneTabbedContainer*>(m_pTarget)) {
        if (tabbed->IsCaptionVisible()) top += 3 + paint->m_nTitleHeight;
      }
      tab = CRect(rc.left + 5, top, rc.left + 5 + tabWidth, top + tabHeight);
      rc.top = tab.bottom;
    } else {
      tab = CRect(rc.left + 5, rc.bottom - tabHeight, rc.left + 5 + tabWidth, rc.bottom);
      rc.bottom = tab.top;
    }
    ShowAlpha(m_wndAlphaTab, tab);
  }
  if (rc.IsRectEmpty()) {
    if (m_wndAlpha.GetSafeHwnd() != nullptr) m_wndAlpha.ShowWindow(SW_HIDE);
    return;
  }
  ShowAlpha(m_wndAlpha, rc);
  // The guides stay above the preview: they are what the user drops on.
  for (CTKPDockingPaneGuideWnd* guide : m_lstGuides) {
    guide->SetWindowPos(&CWnd::wndTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

// The classic preview: a 4-pixel frame (with a tab below it when the pane would join a group) inverted on
// the locked desktop, only the pixels that changed flipped.
void CTKPDockingPaneDragContext::DrawClassicFrame(BOOL bRemove) {
  if (m_hDesktopDC == nullptr) return;
  CRect rc = m_pTarget != nullptr ? m_rcDock : m_rcFloat;
  if ((m_pTarget == nullptr && !m_bFloatable) || bRemove) rc.SetRectEmpty();
  const BOOL attach = bRemove ? FALSE : m_bAttach;
  auto frameOf = [](CRect r, BOOL tabbed) {
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    if (r.IsRectEmpty()) return region;
    auto addFrame = [region](CRect box) {
      HRGN outer = ::CreateRectRgn(box.left, box.top, box.right, box.bottom);
      box.DeflateRect(4, 4);
      HRGN inner = ::CreateRectRgn(box.left, box.top, box.right, box.bottom);
      if (!box.IsRectEmpty()) ::CombineRgn(outer, outer, inner, RGN_DIFF);
      ::CombineRgn(region, region, outer, RGN_OR);
      ::DeleteObject(outer);
      ::DeleteObject(inner);
    };
    if (tabbed) {
      const int tabHeight = std::min<int>(20, r.Height() / 2);
      const int tabWidth = std::min<int>(50, r.Width() - 5);
      CRect body = r;
      body.bottom -= tabHeight;
      addFrame(body);
      addFrame(CRect(r.left + 5, body.bottom - 4, r.left + 5 + tabWidth, r.bottom));
      // The seam between the body and its tab stays open.
      HRGN seam = ::CreateRectRgn(r.left + 9, body.bottom - 4, r.left + 1 + tabWidth, body.bottom);
      ::CombineRgn(region, region, seam, RGN_DIFF);
      ::DeleteObject(seam);
    } else {
      addFrame(r);
    }
    return region;
  };
  HRGN last = frameOf(m_rcLast, m_bAttachDrawn);
  HRGN next = frameOf(rc, attach);
  ::CombineRgn(last, last, next, RGN_XOR);
  ::SelectClipRgn(m_hDesktopDC, last);
  RECT clip{};
  ::GetClipBox(m_hDesktopDC, &clip);
  const CRect box(clip);
  static const WORD kHalftone[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
  HBITMAP pattern = ::CreateBitmap(8, 8, 1, 1, kHalftone);
  HBRUSH brush = ::CreatePatternBrush(pattern);
  HGDIOBJ old = ::SelectObject(m_hDesktopDC, brush);
  ::PatBlt(m_hDesktopDC, box.left, box.top, box.Width(), box.Height(), PATINVERT);
  ::SelectObject(m_hDesktopDC, old);
  ::DeleteObject(brush);
  ::DeleteObject(pattern);
  ::SelectClipRgn(m_hDesktopDC, nullptr);
  ::DeleteObject(last);
  ::DeleteObject(next);
  m_rcLast = rc;
  m_bAttachDrawn = attach;
}

void CTKPDockingPaneDragContext::EndLoop() {
  if (::GetCapture() != nullptr && ::GetCapture() == CaptureWindow()) ::ReleaseCapture();
  if (!m_bUseAlphaContext) {
    DrawPreview(TRUE);
    if (m_bLocked) ::LockWindowUpdate(nullptr);
    m_bLocked = FALSE;
    if (m_hDesktopDC != nullptr) ::ReleaseDC(::GetDesktopWindow(), m_hDesktopDC);
    m_hDesktopDC = nullptr;
    return;
  }
  if (m_wndAlpha.GetSafeHwnd() != nullptr) m_wndAlpha.DestroyWindow();
  if (m_wndAlphaTab.GetSafeHwnd() != nullptr) m_wndAlphaTab.DestroyWindow();
  DestroyGuides();
  for (auto& entry : m_mapRegions) ::DeleteObject(entry.second);
  m_mapRegions.clear();
}
