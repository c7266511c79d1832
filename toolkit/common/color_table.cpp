#include "toolkit/common/color_table.h"

#include <algorithm>
#include <iterator>

using tkcolor::Color;

namespace {

// The system index (or, for 59, black) each derived colour starts from.
struct ClassicRule {
  int index;
  int source;
};
constexpr ClassicRule kClassic[] = {
    {30, 15}, {31, 5},  {32, 13}, {33, 13}, {34, 16}, {35, 17}, {36, 5},  {37, 13}, {38, 16}, {39, 16},
    {40, 16}, {41, 5},  {42, 16}, {43, 16}, {44, 8},  {45, 7},  {46, 18}, {47, 14}, {48, 15}, {49, 18},
    {50, 13}, {51, 15}, {52, 16}, {53, 15}, {54, 16}, {55, 15}, {56, 15}, {57, 16}, {58, 17}, {60, 16}};

// target = blend of colours a and b, or (contrast rows) the colour kept apart from a by p.
struct Rule {
  int target, a, b, p;
};
constexpr Rule kBlends[] = {{30, 5, 15, 165}, {31, 13, 5, 30}, {33, 13, 5, 50}, {41, 15, 5, 143},
                            {35, 17, 5, 70},  {38, 16, 5, 75}, {39, 16, 5, 70}, {43, 46, 16, 20},
                            {40, 16, 5, 90},  {42, 15, 16, 90}};
constexpr Rule kContrasts[] = {{31, 30, 31, 50},  {32, 30, 13, 100}, {33, 30, 33, 30},  {35, 41, 35, 80},
                               {37, 33, 37, 100}, {38, 30, 38, 85},  {39, 30, 39, 50},  {43, 47, 43, 100},
                               {40, 30, 40, 80},  {44, 41, 44, 180}, {45, 31, 45, 180}, {46, 30, 46, 180},
                               {47, 33, 47, 180}};

struct SchemeGradient {
  Color light, dark;
  float factor;
};
// Gradients 0 to 6 of the blue, olive and silver schemes.
constexpr SchemeGradient kSchemeGradients[3][7] = {
    {{0xD68759, 0x962D00, 0.5f}, {0xF5BE9E, 0xFADAC4, 0.5f}, {0xD68759, 0x962D00, 0.5f},
     {0xFEECDD, 0xE2A981, 0.75f}, {0xFFEFE3, 0xE4AD87, 0.5f}, {0xF6DDCB, 0xDCA179, 0.5f},
     {0xFFEFE3, 0xE7B593, 0.5f}},
    {{0x82C0AF, 0x447A63, 0.5f}, {0xA7D9D9, 0xE4F1F2, 0.5f}, {0x6F8E78, 0x435B49, 0.5f},
     {0xDEF7F4, 0x91C6B7, 0.3f}, {0xEDFFFF, 0x92C7B8, 0.3f}, {0xD1E6E6, 0x78B4A4, 0.3f},
     {0xD5F0EC, 0x9FCEC2, 0.5f}},
    {{0xBFA7A8, 0x916F70, 0.5f}, {0xE5D7D7, 0xF7F3F3, 0.5f}, {0xBFA7A8, 0x977677, 0.5f},
     {0xFFF9F9, 0xB79B9C, 0.75f}, {0xFFF9F9, 0xB99D9F, 0.75f}, {0xE2D7D7, 0x9E7E80, 0.75f},
     {0xF1E7E9, 0xCDB9BA, 0.5f}}};
constexpr Color kSchemeCaption[3] = {0x962D00, 0x588060, 0x947C7C};  // entry 54

// The luna colours each scheme sets.
struct LunaRow {
  int index;
  Color scheme[3];
};
constexpr LunaRow kLuna[] = {
    {38, {0x764127, 0x335E51, 0x755454}}, {39, {0xCB8C6A, 0x588060, 0x8F6D6E}},
    {40, {0xD0966D, 0x7AAE9F, 0xBEA7A8}}, {41, {0xF6F6F6, 0xEEF4F4, 0xFFFAFD}},
    {43, {0x962D00, 0x5E8D75, 0x947C7C}}, {31, {0xC2EEFF, 0xC2EEFF, 0xC2EEFF}},
    {32, {0x800000, 0x385D3F, 0x6F4B4B}}, {50, {0x800000, 0x385D3F, 0x6F4B4B}},
    {37, {0x800000, 0x385D3F, 0x6F4B4B}}, {33, {0x3E80FE, 0x3E80FE, 0x3E80FE}},
    {36, {0x6FC0FF, 0x6FC0FF, 0x6FC0FF}}, {30, {0xF5BE9E, 0xA7D9D9, 0xE5D7D7}},
    {47, {0x000000, 0x000000, 0x000000}}, {59, {0x361E16, 0x19221F, 0x292024}}};

bool IsScheme(int scheme) { return scheme >= kTKPSchemeBlue && scheme <= kTKPSchemeSilver; }

// A lighter face for entry 48: the largest channel raised by up to 35, the others in proportion.
Color LighterFace(Color face) {
  const int m = std::max({tkcolor::RedOf(face), tkcolor::GreenOf(face), tkcolor::BlueOf(face)});
  if (m == 0) return 0x232323;
  const int k = m + std::min(255 - m, 35);
  return tkcolor::MakeColor(tkcolor::RedOf(face) * k / m, tkcolor::GreenOf(face) * k / m,
                            tkcolor::BlueOf(face) * k / m);
}

// A darker shadow for entry 49: the largest channel lowered by 43, the others in proportion.
Color DarkerShadow(Color face, Color shadow) {
  if (face == 0) return 0x7F7F7F;
  const int m = std::max({tkcolor::RedOf(shadow), tkcolor::GreenOf(shadow), tkcolor::BlueOf(shadow)});
  if (m == 0) return 0;
  const int k = std::max(m - 43, 0);
  return tkcolor::MakeColor(tkcolor::RedOf(shadow) * k / m, tkcolor::GreenOf(shadow) * k / m,
                            tkcolor::BlueOf(shadow) * k / m);
}

}  // namespace

TKColorTable::TKColorTable() {
  std::fill(std::begin(m_override), std::end(m_override), kTKPNoColor);
  std::fill(std::begin(m_luna), std::end(m_luna), kTKPNoColor);
}

Color TKColorTable::GetColor(unsigned index) const {
  if (index >= kCount) return index;
  return m_override[index] != kTKPNoColor ? m_override[index] : m_base[index];
}

Color TKColorTable::GetLunaColor(unsigned index) const {
  if (index >= 30 && index < kCount && m_luna[index] != kTKPNoColor) return m_luna[index];
  return GetColor(index);
}

int TKColorTable::GetCurrentSystemTheme() const {
  return m_forcedScheme == 4 || m_forcedScheme == 5 ? m_detectedScheme : m_forcedScheme;
}

void TKColorTable::SetOverrideColor(int index, Color c) {
  if (index >= 0 && index < kCount) m_override[index] = c;
}

int TKColorTable::GradientScheme() const { return m_lunaDisabled ? kTKPSchemeNone : GetCurrentSystemTheme(); }

Color TKColorTable::Blend(int a, int b, int p) const { return tkcolor::BlendPercent(GetColor(a), GetColor(b), p); }

void TKColorTable::Refresh(const TKSystemColorSource& system) {
  m_detectedScheme = system.DetectScheme();
  const int bits = system.ScreenBitsPerPixel();
  const bool lowColour = bits >= 1 && bits <= 8;
  RefreshSysColors(system);
  RefreshClassicColors();
  RefreshLunaColors();
  if (lowColour) {
    RefreshGradientColors();
    return;
  }
  RefreshBlendsAndContrasts();
  RefreshShades();
  RefreshGradientColors();
  Color border = 0;
  if (system.TreeViewBorderColor(&border)) m_base[57] = border;
}

void TKColorTable::RefreshSysColors(const TKSystemColorSource& system) {
  m_base[0] = 0;
  for (int i = 1; i <= 27; ++i) m_base[i] = m_sysColorCallback ? m_sysColorCallback(i) : system.SysColor(i);
}

void TKColorTable::RefreshClassicColors() {
  for (const ClassicRule& rule : kClassic) m_base[rule.index] = GetColor(rule.source);
  m_base[59] = 0;  // black itself, not the colour of index 0
}

void TKColorTable::RefreshLunaColors() {
  const int scheme = GradientScheme();
  if (!IsScheme(scheme)) {
    std::fill(std::begin(m_luna), std::end(m_luna), kTKPNoColor);
    return;
  }
  for (const LunaRow& row : kLuna) m_luna[row.index] = row.scheme[scheme - 1];
}

void TKColorTable::RefreshBlendsAndContrasts() {
  for (const Rule& r : kBlends) m_base[r.target] = Blend(r.a, r.b, r.p);
  if (tkcolor::IsFartherThan(GetColor(15), GetColor(30), true, 35))
    m_base[30] = tkcolor::LimitToDistance(GetColor(15), GetColor(30), 35);
  for (const Rule& r : kContrasts) {
    if (!tkcolor::IsFartherThan(GetColor(r.a), GetColor(r.b), true, r.p))
      m_base[r.target] = tkcolor::MoveToDistance(GetColor(r.a), GetColor(r.b), r.p);
  }
  if (tkcolor::IsFartherThan(GetColor(41), GetColor(35), true, 145))
    m_base[35] = tkcolor::LimitToDistance(GetColor(41), GetColor(35), 145);
}

void TKColorTable::RefreshShades() {
  const Color c30 = GetColor(30), c5 = GetColor(5), c13 = GetColor(13);
  auto mix = [](int x, int y, int z) { return x * 50 / 100 + y * 40 / 100 + z * 10 / 100; };
  m_base[36] = tkcolor::MakeColor(mix(tkcolor::RedOf(c30), tkcolor::RedOf(c5), tkcolor::RedOf(c13)),
                                  mix(tkcolor::GreenOf(c30), tkcolor::GreenOf(c5), tkcolor::GreenOf(c13)),
                                  mix(tkcolor::BlueOf(c30), tkcolor::BlueOf(c5), tkcolor::BlueOf(c13)));
  m_base[48] = LighterFace(GetColor(15));
  m_base[49] = DarkerShadow(GetColor(15), GetColor(16));
  m_base[34] = tkcolor::Scale(m_base[31], 0.75);
  const Color face = GetColor(15);
  m_base[22] = tkcolor::MakeColor(std::min(255, tkcolor::RedOf(face) + 15), std::min(255, tkcolor::GreenOf(face) + 15),
                                  std::min(255, tkcolor::BlueOf(face) + 15));
  m_base[53] = GetColor(30);
  m_base[58] = GetColor(40);
  m_base[60] = m_base[40];
}

void TKColorTable::RefreshGradientColors() {
  const int scheme = GradientScheme();
  if (IsScheme(scheme)) {
    for (int i = 0; i < 7; ++i) {
      const SchemeGradient& g = kSchemeGradients[scheme - 1][i];
      m_gradients[i].SetStandardValue(g.light, g.dark, g.factor);
    }
    m_base[54] = kSchemeCaption[scheme - 1];
    return;
  }
  m_gradients[0].SetStandardValue(GetColor(16), GetColor(16));
  m_gradients[1].SetStandardValue(GetColor(15), Blend(15, 5, 215));
  m_gradients[2].SetStandardValue(GetColor(15), GetColor(16));
  m_gradients[3].SetStandardValue(Blend(15, 5, 205), GetColor(15));
  m_gradients[4].SetStandardValue(Blend(15, 5, 145), Blend(15, 5, 93));
  m_gradients[5].SetStandardValue(Blend(15, 5, 40), Blend(15, 16, 95));
  m_gradients[6].SetStandardValue(Blend(15, 5, 165), Blend(15, 5, 42));
}

void TKColorTable::SetFixedGradients() {
  m_gradients[7].SetStandardValue(0x8CD5FF, 0x55ADFF);
  m_gradients[8].SetStandardValue(0x4B8EFE, 0x8BCFFF);
  m_gradients[9].SetStandardValue(0xC8F2FF, 0x97D4FF);
}
