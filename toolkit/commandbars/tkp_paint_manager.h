// The paint managers of the command bars: one theme is installed for the whole process, and a bar may
// carry a theme of its own. CTKPPaintManager paints flat; CTKPSoftGradientTheme fills bars with a soft
// vertical gradient.
#pragma once

#include <windows.h>

#include "platform/classlib/cobject.h"
#include "platform/classlib/crect.h"

class CDC;
class CTKPCommandBar;

class CTKPPaintManager : public CObject {
 public:
  CTKPPaintManager() = default;
  ~CTKPPaintManager() override = default;

  // Fills the background of a command bar (its client rectangle).
  virtual void FillCommandBarEntry(CDC* pDC, CTKPCommandBar* pBar);
  // A button under the mouse (bPressed: held down).
  virtual void DrawHotButton(CDC* pDC, const CRect& rect, BOOL bPressed);
  virtual COLORREF GetTextColor(BOOL bEnabled) const;
  // The kind of theme the class stands for: 2 gradient, 3 native visual styles, 0 flat.
  virtual int GetThemeKind() const { return 0; }

  // Installs a built-in theme for the process (0: the soft-gradient theme) in place of the current one.
  static void SetTheme(int nTheme);
  // Installs a theme object for the process; it is deleted when replaced or at Done.
  static void SetCustomTheme(CTKPPaintManager* pTheme);
  // The installed theme, or null when none is.
  static CTKPPaintManager* GetCurrent();
  // Deletes the installed theme.
  static void Done();
};

class CTKPSoftGradientTheme : public CTKPPaintManager {
 public:
  void FillCommandBarEntry(CDC* pDC, CTKPCommandBar* pBar) override;
  void DrawHotButton(CDC* pDC, const CRect& rect, BOOL bPressed) override;
  int GetThemeKind() const override { return 2; }
};
