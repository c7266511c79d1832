// A canvas for the galleries, and a tab strip in a real window for the tests: the window forwards
// presses, moves and keys to its tab manager, lays it out on every change and draws it on WM_PAINT.
#pragma once

#include <windows.h>

#include "platform/classlib/win/classlib_win.h"
#include "toolkit/controls/tk_gallery_test_support.h"
#include "toolkit/tabmanager/tkp_tab_manager.h"
#include "toolkit/tabmanager/tkp_tab_paint_manager.h"

namespace tabtest {

// The galleries draw into the white off-screen bitmap of the control tests.
using Canvas = tkgallery::Canvas;

class StripWnd;

class StripManager : public CTKPTabManager {
 public:
  explicit StripManager(StripWnd* pWnd) : m_pWnd(pWnd) {}
  void Reposition() override;
  CTKPTabPaintManager* GetPaintManager() const override;
  void RedrawControl() override;
  BOOL DrawIcon(CDC* /*pDC*/, CPoint /*pt*/, CTKPTabManagerItem* /*pItem*/, BOOL /*bDraw*/, CSize& /*szIcon*/) override {
    return FALSE;
  }
  void OnItemClick(CTKPTabManagerItem* pItem) override {
    ++clicks;
    CTKPTabManager::OnItemClick(pItem);
  }
  void OnNavigateButtonClick(int nId) override {
    if (nId == 2) ++closeClicks;
  }
  using CTKPTabManager::SetHotItem;

  int clicks = 0;
  int closeClicks = 0;

 private:
  StripWnd* m_pWnd;
};

class StripWnd : public CWnd {
 public:
  StripWnd() : m_pPaintManager(new CTKPTabPaintManager), m_manager(this) { m_pPaintManager->AddObserver(&m_manager); }
  ~StripWnd() override {
    if (m_hWnd) DestroyWindow();
    m_pPaintManager->InternalRelease();
  }
  BOOL Create(int cx, int cy, DWORD dwExStyle = 0) {
    CRect frame(0, 0, cx, cy);
    ::AdjustWindowRectEx(frame, WS_OVERLAPPED | WS_CAPTION, FALSE, dwExStyle);
    return CreateEx(dwExStyle, nullptr, _T("Tabs"), WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 20, 20, frame.Width(),
                    frame.Height(), nullptr, nullptr);
  }
  void Relayout() {
    if (!m_hWnd) return;
    CRect rc;
    GetClientRect(rc);
    HDC hDC = ::GetDC(m_hWnd);
    m_pPaintManager->RepositionTabControl(&m_manager, CDC::FromHandle(hDC), rc);
    ::ReleaseDC(m_hWnd, hDC);
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
  }
  StripManager& Manager() { return m_manager; }
  CTKPTabPaintManager* PaintManager() const { return m_pPaintManager; }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    const CPoint pt(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
    switch (message) {
      case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC hDC = ::BeginPaint(m_hWnd, &ps);
        CRect rc;
        GetClientRect(rc);
        m_pPaintManager->DrawTabControl(&m_manager, CDC::FromHandle(hDC), rc);
        ::EndPaint(m_hWnd, &ps);
        return 0;
      }
      case WM_LBUTTONDOWN: m_manager.PerformClick(m_hWnd, pt); return 0;
      case WM_MOUSEMOVE: m_manager.PerformMouseMove(m_hWnd, pt); return 0;
      case WM_KEYDOWN: m_manager.OnKeyDown(m_hWnd, static_cast<UINT>(wParam)); return 0;
      case WM_SIZE: Relayout(); break;
      default: break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }

 private:
  CTKPTabPaintManager* m_pPaintManager;
  StripManager m_manager;
};

inline void StripManager::Reposition() { m_pWnd->Relayout(); }
inline CTKPTabPaintManager* StripManager::GetPaintManager() const { return m_pWnd->PaintManager(); }
inline void StripManager::RedrawControl() {
  if (m_pWnd->m_hWnd) ::InvalidateRect(m_pWnd->m_hWnd, nullptr, FALSE);
}

}  // namespace tabtest
