// A colour with a standard and a custom layer, and a two-colour gradient made of two of them.
#pragma once

#include "toolkit/common/color_math.h"

constexpr tkcolor::Color kTKPNoColor = 0xFFFFFFFF;  // an unset layer

class CTKPColorValue {
 public:
  CTKPColorValue() = default;
  // The custom colour when set, else the standard one.
  operator tkcolor::Color() const { return m_custom != kTKPNoColor ? m_custom : m_standard; }
  void SetStandardValue(tkcolor::Color c) { m_standard = c; }
  void SetCustomValue(tkcolor::Color c) { m_custom = c; }
  tkcolor::Color GetStandardColor() const { return m_standard; }
  tkcolor::Color GetCustomColor() const { return m_custom; }

 private:
  tkcolor::Color m_standard = kTKPNoColor;
  tkcolor::Color m_custom = kTKPNoColor;
};

class CTKPColorGradient {
 public:
  CTKPColorGradient() = default;
  explicit CTKPColorGradient(tkcolor::Color c) { SetSolidColor(c); }
  void SetSolidColor(tkcolor::Color c) { SetStandardValue(c, c, 0.5f); }
  // The standard layers and the factor; the custom layers stay.
  void SetStandardValue(tkcolor::Color light, tkcolor::Color dark, float factor = 0.5f) {
    clrLight.SetStandardValue(light);
    clrDark.SetStandardValue(dark);
    fGradientFactor = factor;
  }
  // The other's effective colours become this one's standard layers.
  void CopyFrom(const CTKPColorGradient& other) {
    SetStandardValue(other.clrLight, other.clrDark, other.fGradientFactor);
  }
  bool IsEmpty() const {
    return clrLight.GetStandardColor() == kTKPNoColor && clrDark.GetStandardColor() == kTKPNoColor;
  }

  CTKPColorValue clrLight;
  CTKPColorValue clrDark;
  float fGradientFactor = 0.5f;  // where the middle colour of a two-part gradient lies
};
