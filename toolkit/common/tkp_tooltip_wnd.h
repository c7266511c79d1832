// CTKPToolTipWnd: a drawn tooltip window that understands the tooltip control's tool messages the
// toolkit uses (add, delete, update text, title, activate, relay, window from point). A tool shows after
// 500 ms, or at once when a tip changed less than 200 ms ago; it hides when the cursor leaves it.
// CTKPToolTipGradientWnd paints the tip with a gradient.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/classlib/win/cwnd.h"
#include "toolkit/common/tip_scheduler.h"

class CTKPToolTipContext;

// What the drawn tip reads from its context when it measures and draws: margin, widest text and colours
// (-1: the toolkit's). A tip without a context uses these defaults.
struct TKPToolTipLook {
  RECT margin{0, 0, 0, 0};
  int maxTipWidth = 300;
  COLORREF background = static_cast<COLORREF>(-1);
  COLORREF text = static_cast<COLORREF>(-1);
};

struct TKPToolTipTool {
  std::wstring text;
  bool callback = false;
  UINT flags = 0;
  RECT rect{};
  HINSTANCE hinst = nullptr;
  HWND hwnd = nullptr;
  UINT_PTR id = 0;
  int key = -1;  // stable while the record lives
};

class CTKPToolTipWnd : public CWnd {
 public:
  CTKPToolTipWnd();
  ~CTKPToolTipWnd() override;

  // A popup owned by pParent with the tooltip styles given (TTS_...), with or without a drop shadow.
  BOOL Create(CWnd* pParent, DWORD dwStyle, BOOL bDropShadow = TRUE);
  void SetContext(const CTKPToolTipContext* pContext) { m_pContext = pContext; }
  // Tests give a clock of their own.
  void SetClock(std::function<uint32_t()> clock) { m_clock = std::move(clock); }

  virtual CSize CalcToolSize(TKPToolTipTool* pTool);
  virtual void DrawToolText(CDC* pDC, TKPToolTipTool* pTool, CRect rc);
  virtual void DrawBackground(CDC* pDC, CRect rc);

  const TKPToolTipTool* GetShownTool() const;
  int GetToolCount() const { return static_cast<int>(m_tools.size()); }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void PostNcDestroy() override;

  TKPToolTipLook Look() const;
  COLORREF BackColor() const;
  COLORREF TextColor() const;
  HWND WindowFromPoint(POINT screen) const;
  TKPToolTipTool* Find(HWND hwnd, UINT_PTR id);
  TKPToolTipTool* FindKey(int key);
  TKPToolTipTool* ToolUnderCursor(bool buttonDown);
  std::wstring GetToolText(TKPToolTipTool* pTool);
  void ShowTool(TKPToolTipTool* pTool);
  void Apply(const tk::TipScheduler::Step& step);
  void Relay(const MSG* pMsg);
  void OnPaintTip();
  void InstallMouseHook();
  void RemoveMouseHook();
  static LRESULT CALLBACK MouseHook(int code, WPARAM wParam, LPARAM lParam);

  std::vector<std::unique_ptr<TKPToolTipTool>> m_tools;
  BOOL m_bActive = FALSE;
  tk::TipScheduler m_schedule;
  HFONT m_hFont = nullptr;
  UINT_PTR m_nTimer = 0;
  std::wstring m_title;
  int m_nextKey = 0;
  const CTKPToolTipContext* m_pContext = nullptr;
  std::function<uint32_t()> m_clock;
};

class CTKPToolTipGradientWnd : public CTKPToolTipWnd {
 public:
  void DrawBackground(CDC* pDC, CRect rc) override;
};
