// The toolkit's indexed colour table: the system colours under their own numbers (1 to 27), the
// toolkit's derived colours (30 to 60) computed from them and from the visual style's colour scheme,
// the luna colours of the schemes and ten gradients. Portable: the system is read through
// TKSystemColorSource, which the Windows build fills from the system and tests fix.
#pragma once

#include "toolkit/common/color_gradient.h"
#include "toolkit/common/color_math.h"

// Colour schemes of the visual style: 0 classic, 1 blue, 2 olive, 3 silver; 4 and 5 as a forced
// scheme mean "the detected one".
enum TKPColorScheme { kTKPSchemeNone = 0, kTKPSchemeBlue = 1, kTKPSchemeOlive = 2, kTKPSchemeSilver = 3,
                      kTKPSchemeAuto = 4 };

class TKSystemColorSource {
 public:
  virtual ~TKSystemColorSource() = default;
  virtual tkcolor::Color SysColor(int index) const = 0;
  virtual int ScreenBitsPerPixel() const = 0;
  virtual int DetectScheme() const = 0;
  // The border colour of the themed tree view; false when the application is not themed.
  virtual bool TreeViewBorderColor(tkcolor::Color* color) const = 0;
};

class TKColorTable {
 public:
  static constexpr int kCount = 62;
  static constexpr int kGradients = 10;
  typedef tkcolor::Color (*SysColorCallback)(int index);

  TKColorTable();

  // Above 61: the value itself; else the override when set, else the computed colour.
  tkcolor::Color GetColor(unsigned index) const;
  // 30 to 61: the luna colour when the scheme sets one; otherwise GetColor.
  tkcolor::Color GetLunaColor(unsigned index) const;
  int GetSystemTheme() const { return m_detectedScheme; }
  int GetCurrentSystemTheme() const;
  bool IsLunaColorsDisabled() const { return m_lunaDisabled; }
  const CTKPColorGradient& Gradient(int i) const { return m_gradients[i]; }

  void Refresh(const TKSystemColorSource& system);
  // The three fixed gradients (7 to 9), set once after the first refresh.
  void SetFixedGradients();

  // Never changed by the program; the table honours them.
  void SetOverrideColor(int index, tkcolor::Color c);
  void SetForcedScheme(int scheme) { m_forcedScheme = scheme; }
  void SetLunaColorsDisabled(bool disabled) { m_lunaDisabled = disabled; }
  void SetSysColorCallback(SysColorCallback callback) { m_sysColorCallback = callback; }

 private:
  int GradientScheme() const;
  tkcolor::Color Blend(int a, int b, int p) const;
  void RefreshSysColors(const TKSystemColorSource& system);
  void RefreshClassicColors();
  void RefreshLunaColors();
  void RefreshGradientColors();
  void RefreshBlendsAndContrasts();
  void RefreshShades();

  CTKPColorGradient m_gradients[kGradients];
  bool m_lunaDisabled = false;
  tkcolor::Color m_base[kCount] = {};
  tkcolor::Color m_override[kCount];
  tkcolor::Color m_luna[kCount];
  SysColorCallback m_sysColorCallback = nullptr;
  int m_forcedScheme = kTKPSchemeAuto;
  int m_detectedScheme = kTKPSchemeNone;
};
