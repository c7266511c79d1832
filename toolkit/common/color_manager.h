// CTKPColorManager: the toolkit's one colour table (TKColorTable) filled from the system: its colours,
// the screen's depth and the visual style's colour scheme.
#pragma once

#include <windows.h>

#include "platform/classlib/win/ccmdtarget.h"
#include "toolkit/common/color_table.h"

class CTKPColorManager : public CCmdTarget {
 public:
  CTKPColorManager();
  ~CTKPColorManager() override = default;

  COLORREF GetColor(UINT nIndex) const { return m_table.GetColor(nIndex); }
  COLORREF GetLunaColor(UINT nIndex) const { return m_table.GetLunaColor(nIndex); }
  int GetSystemTheme() const { return m_table.GetSystemTheme(); }
  int GetCurrentSystemTheme() const { return m_table.GetCurrentSystemTheme(); }
  BOOL IsLunaColorsDisabled() const { return m_table.IsLunaColorsDisabled(); }
  const CTKPColorGradient& GetGradient(int i) const { return m_table.Gradient(i); }
  void RefreshColors();
  // Recomputes from the given system instead of the real one (tests).
  void RefreshColors(const TKSystemColorSource& system) { m_table.Refresh(system); }
  TKColorTable& Table() { return m_table; }

  static COLORREF BlendColors(COLORREF c1, COLORREF c2, int p) { return tkcolor::BlendPercent(c1, c2, p); }

 private:
  TKColorTable m_table;
};

// The system as the colour manager reads it.
class CTKPSystemColors : public TKSystemColorSource {
 public:
  tkcolor::Color SysColor(int index) const override;
  int ScreenBitsPerPixel() const override;
  int DetectScheme() const override;
  bool TreeViewBorderColor(tkcolor::Color* color) const override;
};

CTKPColorManager* TKPColorManager();
// Entry n of the toolkit's colour table.
inline COLORREF TKPColor(UINT nIndex) { return TKPColorManager()->GetColor(nIndex); }
// The scheme of the current visual style: 0 without a ready theme, else from its file and colour names.
int TKPDetectSystemTheme();
int TKPCurrentSystemTheme();
// Recomputes the table when more than 500 ms passed since the last time it was stamped; the time is
// stamped only once the thread has a main window, so that start-up always sees fresh colours.
void RefreshToolkitColors();
// The milliseconds clock RefreshToolkitColors reads (nullptr: the system's tick count again).
void TKPSetColorRefreshClockForTesting(DWORD (*clock)());

// A colour of the button themes.
class CTKPColorRefValue {
 public:
  CTKPColorRefValue(COLORREF c = 0) : m_color(c) {}
  operator COLORREF() const { return m_color; }
  CTKPColorRefValue& BlendIn(COLORREF other, int p) {
    m_color = tkcolor::BlendIn(m_color, other, p);
    return *this;
  }
  CTKPColorRefValue& Subtract(COLORREF other) {
    m_color = tkcolor::Subtract(m_color, other);
    return *this;
  }

 private:
  COLORREF m_color;
};
