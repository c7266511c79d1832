#include "toolkit/commandbars/customize/tkp_customize_drop_source.h"

#include "platform/classlib/win/cwnd.h"
#include "toolkit/commandbars/bars/tkp_bar_controls.h"
#include "toolkit/commandbars/bars/tkp_command_bar.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/controls/tkp_control.h"
#include "toolkit/commandbars/controls/tkp_controls.h"
#include "toolkit/commandbars/customize/tkp_customize_logic.h"
#include "toolkit/common/resource_manager.h"

CTKPCustomizeDropSource::CTKPCustomizeDropSource(CTKPCommandBars* pCommandBars, CWnd* pCapture)
    : m_pCommandBars(pCommandBars), m_pCapture(pCapture) {
  CTKPResourceManager* resources = TKPResourceManager();
  m_hCursorNone = resources->LoadCursor(tkpcust::kCursorNone);
  m_hCursorMove = resources->LoadCursor(tkpcust::kCursorMove);
  m_hCursorCopy = resources->LoadCursor(tkpcust::kCursorCopy);
}

CTKPCustomizeDropSource::~CTKPCustomizeDropSource() = default;

namespace {

thread_local CTKPCustomizeDropSource* t_pActive = nullptr;

}  // namespace

CTKPCustomizeDropSource* CTKPCustomizeDropSource::GetActive() { return t_pActive; }

void CTKPCustomizeDropSource::RemoveBar(CTKPCommandBar* pBar) {
  if (pBar == m_pTarget) Leave();
}

// The bars are those registered with the manager at this moment, so that menus open before the drag
// and those it opens take part alike. Top-level windows (menus, floating bars) lie above the docked
// ones; among each kind the last-created is on top.
CTKPCommandBar* CTKPCustomizeDropSource::BarAt(CPoint ptScreen) const {
  if (m_pCommandBars == nullptr) return nullptr;
  const CArray<CTKPCommandBar*, CTKPCommandBar*>& bars = m_pCommandBars->GetDropTargets();
  for (bool topLevel : {true, false}) {
    for (INT_PTR i = bars.GetSize() - 1; i >= 0; --i) {
      CTKPCommandBar* bar = bars[i];
      if (bar->GetSafeHwnd() == nullptr || !bar->IsWindowVisible()) continue;
      if (((bar->GetStyle() & WS_CHILD) == 0) != topLevel) continue;
      CRect rc;
      bar->GetWindowRect(rc);
      if (rc.PtInRect(ptScreen)) return bar;
    }
  }
  return nullptr;
}

void CTKPCustomizeDropSource::UpdateCursor() const {
  const unsigned id = tkpcust::DragCursor(m_pTarget != nullptr, m_bMove != FALSE, m_bCopyOnly != FALSE);
  HCURSOR cursor = id == tkpcust::kCursorMove ? m_hCursorMove : id == tkpcust::kCursorCopy ? m_hCursorCopy
                                                                                            : m_hCursorNone;
  ::SetCursor(cursor != nullptr ? cursor : ::LoadCursor(nullptr, IDC_ARROW));
}

void CTKPCustomizeDropSource::Leave() {
  if (m_pTarget == nullptr) return;
  if (m_pTarget->GetSafeHwnd() != nullptr) m_pTarget->OnCustomizeDragLeave();
  m_pTarget = nullptr;
}

void CTKPCustomizeDropSource::OnMove(CPoint ptScreen) {
  m_bMoved = m_bMoved || ptScreen != m_ptStart;
  CTKPCommandBar* bar = BarAt(ptScreen);
  CPoint client = ptScreen;
  if (bar != nullptr) bar->ScreenToClient(client);
  if (bar != nullptr && bar == m_pTarget) {
    bar->OnCustomizeDragOver(m_pControl, client, m_bMove ? tkpcust::kDragMove : tkpcust::kDragCopy);
  } else if (m_pTarget != nullptr) {
    Leave();
  } else if (bar != nullptr && bar->OnCustomizeDragEnter(m_pControl, client) != tkpcust::kDragNone) {
    m_pTarget = bar;
  }
  UpdateCursor();
}

int CTKPCustomizeDropSource::Drop(CPoint ptScreen) {
  int result = tkpcust::DropResult(m_pTarget != nullptr, m_bMoved, m_bMove && !m_bCopyOnly);
  if (m_pTarget != nullptr && result != tkpcust::kDragCancel) {
    CPoint client = ptScreen;
    m_pTarget->ScreenToClient(client);
    CPoint start = m_ptStart;
    m_pTarget->ScreenToClient(start);
    m_pTarget->OnCustomizeDrop(m_pControl, result, client, start);
  }
  if (m_pTarget != nullptr) {
    m_pTarget->OnCustomizeDragLeave();
    m_pTarget = nullptr;
  }
  return result;
}

int CTKPCustomizeDropSource::DoDragDrop(CTKPControl* pControl, BOOL bCopyOnly, const CPoint* pStart) {
  if (pControl == nullptr || m_pCapture == nullptr || m_pCapture->GetSafeHwnd() == nullptr) {
    return tkpcust::kDragCancel;
  }
  m_pControl = pControl;
  m_bCopyOnly = bCopyOnly;
  m_bMove = TRUE;
  m_bMoved = FALSE;
  m_bToldOfMove = FALSE;
  m_pOuter = t_pActive;
  t_pActive = this;
  const HWND capture = m_pCapture->GetSafeHwnd();
  ::SetCapture(capture);
  if (pStart != nullptr) {
    m_ptStart = *pStart;
  } else {
    ::GetCursorPos(m_ptStart);
  }
  int result = tkpcust::kDragCancel;
  bool done = false;
  while (!done && ::GetCapture() == capture) {
    MSG msg;
    while (::PeekMessage(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) ::DispatchMessage(&msg);
    if (!::GetMessage(&msg, nullptr, 0, 0)) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));  // for the loop that owns the thread
      break;
    }
    if (::GetCapture() != capture) break;
    CPoint screen(static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam)));
    switch (msg.message) {
      case WM_MOUSEMOVE:
        ::ClientToScreen(msg.hwnd, screen);
        if (!m_bToldOfMove) {
          // Once, as the drag begins: the control's bar closes its popup and drops its selection.
          m_bToldOfMove = TRUE;
          if (CTKPCommandBar* parent = m_pControl->GetParent(); parent != nullptr && parent->GetSafeHwnd() != nullptr) {
            CPoint client = screen;
            parent->ScreenToClient(client);
            m_pControl->OnCustomizeDragOver(m_pControl, client);
          }
        }
        m_bMove = (msg.wParam & MK_CONTROL) == 0;
        OnMove(screen);
        if ((msg.wParam & MK_LBUTTON) == 0) {
          result = Drop(screen);
          done = true;
        }
        break;
      case WM_KEYDOWN:
        if (msg.wParam == VK_ESCAPE) {
          done = true;
        } else if (msg.wParam == VK_CONTROL) {
          m_bMove = FALSE;
          UpdateCursor();
        }
        break;
      case WM_KEYUP:
        if (msg.wParam == VK_CONTROL) {
          m_bMove = TRUE;
          UpdateCursor();
        }
        break;
      case WM_LBUTTONUP:
        ::ClientToScreen(msg.hwnd, screen);
        result = Drop(screen);
        done = true;
        break;
      case WM_RBUTTONDOWN:
        done = true;
        break;
      default:
        ::TranslateMessage(&msg);
        ::DispatchMessage(&msg);
        break;
    }
  }
  Leave();
  t_pActive = m_pOuter;
  if (::GetCapture() == capture) ::ReleaseCapture();
  ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
  m_pControl = nullptr;
  return result;
}

void CTKPCustomizeDropSource::FinishDrag(CTKPCommandBars* pCommandBars, CTKPControl* pControl, int nResult,
                                         BOOL bMove) {
  CTKPCommandBar* bar = tkp_bar::Parent(pControl);
  if (!tkpcust::RemovesOriginal(nResult, bMove != FALSE, bar != nullptr, FALSE)) return;
  CTKPControls* controls = bar->GetControls();
  if (controls == nullptr) return;
  for (int i = 0; i < controls->GetCount(); ++i) {
    if (controls->GetAt(i) != pControl) continue;
    if (pCommandBars != nullptr && pCommandBars->GetDragControl() == pControl) pCommandBars->SetDragControl(nullptr);
    // Its separator stays where it was: the next control takes it, and a new first control has none.
    if (i + 1 < controls->GetCount()) {
      CTKPControl* next = controls->GetAt(i + 1);
      if (pControl->GetBeginGroup()) next->SetBeginGroup(TRUE);
      if (i == 0) next->SetBeginGroup(FALSE);
    }
    controls->Remove(i);
    bar->OnRecalcLayout();
    bar->Invalidate();
    if (pCommandBars != nullptr) pCommandBars->RecalcFrameLayout();
    return;
  }
}
