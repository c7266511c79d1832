// What the command-bar tests draw with: a plain theme that paints flat colours and records the entries
// it draws, a white 32-bit canvas to read pixels from, and a bar whose open popup a test can set.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/classlib/win/cdc.h"
#include "toolkit/commandbars/bars/tkp_command_bar.h"
#include "toolkit/commandbars/controls/tkp_control.h"
#include "toolkit/commandbars/paint/tkp_paint_manager.h"

namespace tkptest {

class PlainTheme : public CTKPPaintManager {
 public:
  static constexpr COLORREF kHot = RGB(255, 220, 120);
  static constexpr COLORREF kPressed = RGB(200, 150, 40);
  static constexpr COLORREF kText = RGB(0, 0, 0);
  static constexpr COLORREF kDisabledText = RGB(128, 128, 128);
  static constexpr COLORREF kBar = RGB(230, 235, 245);

  struct Entry {
    CRect rc;
    BOOL enabled, selected, pressed, checked, popuped;
  };
  std::vector<Entry> entries;

  CFont* RegularFont() { return &m_fontRegular; }
  CFont* VerticalFont() { return &m_fontVert; }

  CSize DrawControlPopupParent(CDC* pDC, CTKPControl* pControl, BOOL bDraw) override {
    return DrawControlToolBarParent(pDC, pControl, bDraw);
  }
  CSize DrawControlComboBox(CDC*, CTKPControl*, BOOL) override { return CSize(); }
  CSize DrawControlEdit(CDC*, CTKPControl*, BOOL) override { return CSize(); }
  CSize DrawListBoxControl(CDC*, CTKPControl*, CRect, BOOL, BOOL, CTKPCommandBars*) override { return CSize(); }
  void FillCommandBar(CDC* pDC, CTKPCommandBar* pBar) override {
    CRect rc;
    pBar->GetClientRect(rc);
    pDC->FillSolidRect(rc, kBar);
  }
  using CTKPPaintManager::DrawControlEntry;
  void DrawControlEntry(CDC* pDC, CRect rc, BOOL bEnabled, BOOL bSelected, BOOL bPressed, BOOL bChecked,
                        BOOL bPopuped, int barPosition) override {
    entries.push_back({rc, bEnabled, bSelected, bPressed, bChecked, bPopuped});
    DrawRectangle(pDC, rc, bSelected, bPressed, bEnabled, bChecked, bPopuped, TRUE, barPosition);
    pDC->SetTextColor(bEnabled ? kText : kDisabledText);
    pDC->SetBkMode(TRANSPARENT);
  }
  void DrawRectangle(CDC* pDC, CRect rc, BOOL bSelected, BOOL bPressed, BOOL, BOOL bChecked, BOOL bPopuped, BOOL,
                     int) override {
    if (bPressed || bPopuped || bChecked) {
      pDC->FillSolidRect(rc, kPressed);
    } else if (bSelected) {
      pDC->FillSolidRect(rc, kHot);
    }
  }
  CSize DrawCommandBarGripper(CDC*, CTKPCommandBar*, BOOL) override { return CSize(); }
  CSize DrawCommandBarSeparator(CDC* pDC, CTKPCommandBar*, CTKPControl* pControl, BOOL bDraw) override {
    if (bDraw && pControl != nullptr) {
      const CRect rc = pControl->GetRect();
      pDC->FillSolidRect(rc.left - 4, rc.top + 3, 1, rc.Height() - 6, RGB(150, 160, 180));
    }
    return CSize(6, 6);
  }
  void AdjustControlRect(CRect&, CTKPControl*, BOOL) override {}
  CSize DrawTearOffGripper(CDC*, CRect, BOOL, BOOL) override { return CSize(0, 9); }
  void DrawImage(CDC* pDC, CPoint pt, CSize sz, CTKPImageManagerIcon* pImage, BOOL, BOOL, BOOL bEnabled, BOOL,
                 BOOL, BOOL) override;
  CSize DrawDialogBarGripper(CDC*, CTKPCommandBar*, BOOL) override { return CSize(); }
  int BaseTheme() const override { return tkpThemeFlat; }
};

// A white canvas of 32-bit pixels.
class Canvas {
 public:
  Canvas(int width, int height);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  COLORREF Pixel(int x, int y) const;
  std::vector<std::uint8_t> Pixels() const;
  void Clear();

  CDC dc;

 private:
  int m_width, m_height;
  HBITMAP m_bitmap = nullptr;
  HGDIOBJ m_old = nullptr;
  void* m_bits = nullptr;
};

class TestBar : public CTKPCommandBar {
 public:
  void SetPopuped(int nIndex) { m_nPopuped = nIndex; }
  void SetPositionForTest(int nPosition) { m_barPosition = nPosition; }
  void SetTypeForTest(int nType) { m_barType = nType; }
};

// A window that stands for the dock bar behind the bars of a gallery; it paints with `paint`.
class Backdrop : public CWnd {
 public:
  std::function<void(CDC*, CRect)> paint;

 protected:
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()
};

// A bar of the given type and position in `paint`, its icons the main toolbar's seven at 16 x 16, no text
// below them. `extraStyle` is added to WS_CHILD | WS_VISIBLE.
TestBar* MakeBar(CWnd* parent, CRect rect, int type, int position, CTKPPaintManager* paint, DWORD extraStyle = 0);

// A gallery column at `rect` in `frame`: the dock bar's face of `paint` (its gradient for the gradient themes)
// with `title` in its top left corner.
Backdrop* MakeThemeColumn(CWnd* frame, CRect rect, CTKPPaintManager* paint, const TCHAR* title);

}  // namespace tkptest
