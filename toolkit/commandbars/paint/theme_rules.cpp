#include "toolkit/commandbars/paint/theme_rules.h"

#include <cstddef>

namespace tkptheme {

namespace {

// Hot: selected or pressed by the mouse, but not both (and not a keyboard press).
bool Hot(const ControlState& s) { return s.pressed != 2 && ((s.selected != 0) != (s.pressed != 0)); }
// Down: selected and pressed together, or pressed from the keyboard.
bool Down(const ControlState& s) { return (s.selected != 0 && s.pressed != 0) || s.pressed == 2; }

}  // namespace

BorderFill FlatHighlight(const ControlState& s, int barPosition) {
  if (!s.enabled) {
    if (s.selected == 2) {
      if (barPosition == kBarPopup) return {32, 41};
      return {32, s.checked ? 33 : 31};
    }
    if (s.checked) return {58, barPosition == kBarPopup ? -1 : 36};
    return {};
  }
  if (s.popuped) return {43, 30};
  if (Down(s)) return {50, 33};
  if (s.checked) {
    if (s.selected != 0) return {37, 33};
    return s.pressed != 0 ? BorderFill{32, 31} : BorderFill{50, 36};
  }
  if (Hot(s)) return {32, 31};
  return {};
}

int FlatEntryText(const ControlState& s, int barPosition) {
  if (!s.enabled) return 60;
  if (s.popuped) return 46;
  if (s.pressed == 2) return 47;
  if (s.selected != 0) return s.pressed != 0 || s.checked ? 47 : 45;
  if (s.pressed != 0 || s.checked) return 45;
  return barPosition == kBarPopup ? 44 : 46;
}

int FlatMenuItemText(const ControlState& s) {
  if (!s.enabled) return 35;
  return s.selected != 0 ? 45 : 44;
}

Shade ClassicShade(const ControlState& s) {
  if (!s.enabled) return s.checked || s.selected == 2 ? Shade::kSunken : Shade::kNone;
  if (s.checked && s.selected == 0 && s.pressed == 0) return Shade::kDither;
  if (!s.checked && !s.popuped && s.pressed != 2) {
    if (Hot(s)) return Shade::kRaised;
    if (s.selected == 0 && s.pressed == 0) return Shade::kNone;
  }
  return Shade::kSunken;
}

int ClassicEntryText(const ControlState& s, int barPosition, int popupTextIndex) {
  if (!s.enabled) return 17;
  return barPosition == kBarPopup ? popupTextIndex : 18;
}

int ClassicMenuItemText(const ControlState& s, int popupTextIndex) {
  if (!s.enabled) return 17;
  return s.selected != 0 ? 14 : popupTextIndex;
}

int VisualStyleButtonState(const ControlState& s) {
  if (!s.enabled) return s.checked ? 3 : 4;
  if (s.popuped) return 3;
  if (s.checked && s.pressed == 0) return s.selected != 0 ? 6 : 5;
  if (Down(s)) return 3;
  return s.selected != 0 ? 2 : 1;
}

GradientHighlight GradientBarHighlight(const ControlState& s) {
  if (s.popuped && s.enabled) return {GradientKind::kPopuped, 43};
  if (!s.enabled) {
    if (s.selected == 2) return {s.checked ? GradientKind::kPressed : GradientKind::kHot, 50};
    if (s.checked) return {GradientKind::kChecked, 58};
    return {};
  }
  if (Down(s)) return {GradientKind::kPressed, 50};
  if (Hot(s)) return {GradientKind::kHot, 32};
  if (s.checked) return {GradientKind::kChecked, 50};
  return {};
}

const std::array<std::uint8_t, kGlyphSize * kGlyphSize>& GlyphIntensities() {
  // Two chevrons, each two pixels thick with a softer edge below, centred in the square.
  static const std::array<std::uint8_t, kGlyphSize * kGlyphSize> map = [] {
    std::array<std::uint8_t, kGlyphSize * kGlyphSize> m{};
    m.fill(255);
    auto at = [&m](int x, int y) -> std::uint8_t* {
      const std::size_t i = static_cast<std::size_t>(y) * kGlyphSize + static_cast<std::size_t>(x);
      return i < m.size() ? &m[i] : nullptr;
    };
    for (int top : {3, 8}) {
      for (int i = 0; i < 5; ++i) {
        for (int x : {3 + i, 12 - i}) {
          for (int dy : {0, 1}) {
            if (std::uint8_t* p = at(x, top + i + dy)) *p = 0;
          }
          std::uint8_t* edge = at(x, top + i + 2);
          if (edge != nullptr && *edge == 255) *edge = 160;
        }
      }
    }
    return m;
  }();
  return map;
}

std::array<std::uint32_t, kGlyphSize * kGlyphSize> GlyphPixels(std::uint32_t light, std::uint32_t dark) {
  std::array<std::uint32_t, kGlyphSize * kGlyphSize> out{};
  const auto& map = GlyphIntensities();
  for (std::size_t i = 0; i < out.size(); ++i) {
    const int v = map[i];
    if (v == 255) {
      out[i] = kGlyphMask;
      continue;
    }
    std::uint32_t pixel = 0;
    for (int shift : {0, 8, 16}) {
      const int l = static_cast<int>((light >> shift) & 0xFF), d = static_cast<int>((dark >> shift) & 0xFF);
      pixel |= static_cast<std::uint32_t>(l - v * (l - d) / 255) << shift;
    }
    out[i] = pixel;
  }
  return out;
}

}  // namespace tkptheme
