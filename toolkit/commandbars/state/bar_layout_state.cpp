#include "toolkit/commandbars/state/bar_layout_state.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <set>

namespace tkpstate {
namespace {

// Coordinates of a real desktop fit in 16 bits; anything beyond was not written by us.
constexpr int kFarthest = 32767;
constexpr int kLargestScreen = 65535;
constexpr int kLargestBarId = 0xFFFF;

std::u16string Number(int n) {
  std::u16string digits;
  unsigned u = n < 0 ? 0u - static_cast<unsigned>(n) : static_cast<unsigned>(n);
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + u % 10));
    u /= 10;
  } while (u != 0);
  return n < 0 ? u"-" + digits : digits;
}

bool InRange(int v, int lo, int hi) { return v >= lo && v <= hi; }

class RecordReader {
 public:
  RecordReader(const ProfileReader& profile, std::u16string section) : m_profile(profile), m_section(std::move(section)) {}
  int Get(const char16_t* name, int fallback) const {
    int value = fallback;
    return m_profile.GetInt(m_section, name, value) ? value : fallback;
  }
  // A value outside its range reads as the fallback.
  int Checked(const char16_t* name, int fallback, int lo, int hi) const {
    const int value = Get(name, fallback);
    return InRange(value, lo, hi) ? value : fallback;
  }

 private:
  const ProfileReader& m_profile;
  std::u16string m_section;
};

// False when the record cannot be one of ours (its bar id is out of range).
bool ReadRecord(const RecordReader& in, const LayoutScale& scale, BarRecord& r) {
  r.barId = in.Get(u"BarID", 0);
  if (!InRange(r.barId, 0, kLargestBarId)) return false;
  r.visible = in.Get(u"Visible", 1) != 0;
  r.floating = in.Get(u"Floating", 0) != 0;
  r.x = in.Checked(u"XPos", kNoPosition, -kFarthest, kFarthest);
  r.y = in.Checked(u"YPos", kNoPosition, -kFarthest, kFarthest);
  // "No position" stays none; a real one follows the screen.
  if (r.x != kNoPosition || r.y != kNoPosition) scale.ScalePoint(r.x, r.y);
  r.mruWidth = in.Checked(u"MRUWidth", kNoMruWidth, 1, kNoMruWidth);
  r.mruDockId = in.Checked(u"MRUDockID", 0, 0, kDockBars - 1);
  r.mruDock = {in.Checked(u"MRUDockLeftPos", 0, -kFarthest, kFarthest), in.Checked(u"MRUDockTopPos", 0, -kFarthest, kFarthest),
               in.Checked(u"MRUDockRightPos", 0, -kFarthest, kFarthest),
               in.Checked(u"MRUDockBottomPos", 0, -kFarthest, kFarthest)};
  if (r.mruDock.right < r.mruDock.left || r.mruDock.bottom < r.mruDock.top) r.mruDock = Rect{};
  scale.ScaleRectPos(r.mruDock);
  r.mruFloat = {in.Checked(u"MRUFloatXPos", 0, -kFarthest, kFarthest), in.Checked(u"MRUFloatYPos", 0, -kFarthest, kFarthest)};
  scale.ScalePoint(r.mruFloat.x, r.mruFloat.y);
  r.dialogBar = in.Get(u"DialogBar", 0) != 0;
  if (r.dialogBar) {
    r.dockingCx = in.Checked(u"DialogBarDockingClientCx", kDialogClientSize, 0, kFarthest);
    r.dockingCy = in.Checked(u"DialogBarDockingClientCy", kDialogClientSize, 0, kFarthest);
    r.floatingCx = in.Checked(u"DialogBarFloatingClientCx", kDialogClientSize, 0, kFarthest);
    r.floatingCy = in.Checked(u"DialogBarFloatingClientCy", kDialogClientSize, 0, kFarthest);
  }
  return true;
}

// False when the row's count cannot be ours.
bool ReadRow(const RecordReader& in, std::set<int>& placed, std::vector<int>& row) {
  const int count = in.Get(u"Bars", 0);
  if (!InRange(count, 0, kMostRowEntries)) return false;
  if (count < 2) return true;
  for (int i = 0; i < count; ++i) {
    const std::u16string name = u"Bar#" + Number(i);
    int id = in.Checked(name.c_str(), 0, 0, kLargestBarId);
    // A bar sits in one place only; a second mention of it is dropped.
    if (id != 0 && !placed.insert(id).second) continue;
    row.push_back(id);
  }
  return true;
}

}  // namespace

int MulDivRound(int value, int numerator, int denominator) {
  if (denominator == 0) return -1;
  const int64_t product = static_cast<int64_t>(value) * numerator;
  const bool negative = (product < 0) != (denominator < 0);
  const int64_t magnitude = (std::llabs(product) + std::llabs(static_cast<int64_t>(denominator)) / 2) /
                            std::llabs(static_cast<int64_t>(denominator));
  const int64_t result = negative ? -magnitude : magnitude;
  return result < INT32_MIN || result > INT32_MAX ? -1 : static_cast<int>(result);
}

LayoutScale::LayoutScale(int savedCx, int savedCy, const Screen& now)
    : m_savedCx(savedCx), m_savedCy(savedCy), m_now(now), m_maxX(now.cx - now.iconCx), m_maxY(now.cy - now.iconCy) {
  // A saved size of nothing (or nonsense) cannot be scaled from: the positions are taken as they are.
  const bool savedKnown = InRange(savedCx, 1, kLargestScreen) && InRange(savedCy, 1, kLargestScreen);
  m_rescale = savedKnown && (savedCx != now.cx || savedCy != now.cy);
}

void LayoutScale::ScalePoint(int& x, int& y) const {
  if (m_rescale) {
    x = MulDivRound(x, m_now.cx, m_savedCx);
    y = MulDivRound(y, m_now.cy, m_savedCy);
  }
  x = std::min(x, m_maxX);
  y = std::min(y, m_maxY);
}

void LayoutScale::ScaleRectPos(Rect& rect) const {
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (m_rescale) {
    rect.left = MulDivRound(rect.left, m_now.cx, m_savedCx);
    rect.top = MulDivRound(rect.top, m_now.cy, m_savedCy);
  }
  if (rect.left > m_maxX) rect.left = m_maxX;
  if (rect.top > m_maxY) rect.top = m_maxY;
  rect.right = rect.left + width;
  rect.bottom = rect.top + height;
}

std::u16string SummarySection(const std::u16string& p) { return p + u"-Summary"; }
std::u16string BarSection(const std::u16string& p, int n) { return p + u"-Bar" + Number(n); }
std::u16string DockBarSection(const std::u16string& p, int d) { return p + u"-DockBar" + Number(d); }

SavedLayout ReadLayout(const ProfileReader& profile, const std::u16string& p, const Screen& now) {
  SavedLayout layout;
  const RecordReader summary(profile, SummarySection(p));
  const int count = summary.Get(u"Bars", 0);
  const LayoutScale scale(summary.Get(u"ScreenCX", 0), summary.Get(u"ScreenCY", 0), now);
  bool damaged = !InRange(count, 0, kMostBars);
  std::set<int> seen;
  for (int n = 0; !damaged && n < count; ++n) {
    BarRecord record;
    damaged = !ReadRecord(RecordReader(profile, BarSection(p, n)), scale, record);
    if (!damaged && record.barId != 0 && seen.insert(record.barId).second) layout.bars.push_back(record);
  }
  std::set<int> placed;
  for (int d = 0; !damaged && d < kDockBars; ++d) {
    damaged = !ReadRow(RecordReader(profile, DockBarSection(p, d)), placed, layout.rows[d]);
  }
  if (damaged) {
    SavedLayout fallback;
    fallback.damaged = true;
    return fallback;
  }
  layout.statusBarHidden = RecordReader(profile, p).Get(u"StatusBar", 1) == 0;
  return layout;
}

std::vector<int> DockRowValues(const std::vector<unsigned>& slots) {
  std::vector<int> values;
  if (slots.size() <= 1) return values;
  for (size_t i = 0; i < slots.size(); ++i) {
    const int value = static_cast<int>(slots[i]);
    if (i == 0 || value != 0 || values.back() != 0) values.push_back(value);
  }
  return values;
}

void WriteLayout(ProfileWriter& profile, const std::u16string& p, const std::vector<BarRecord>& bars,
                 const std::vector<unsigned> (&dockSlots)[kDockBars], const Screen& now, int statusBar) {
  for (size_t n = 0; n < bars.size(); ++n) {
    const BarRecord& r = bars[n];
    const std::u16string section = BarSection(p, static_cast<int>(n));
    profile.DeleteSection(section);
    const auto put = [&](const char16_t* name, int value) { profile.WriteInt(section, name, value); };
    put(u"BarID", r.barId);
    if (!r.visible) put(u"Visible", 0);
    if (r.floating) put(u"Floating", 1);
    if (r.x != kNoPosition) put(u"XPos", r.x);
    if (r.y != kNoPosition) put(u"YPos", r.y);
    if (r.mruWidth != kNoMruWidth) put(u"MRUWidth", r.mruWidth);
    put(u"MRUDockID", r.mruDockId);
    put(u"MRUDockLeftPos", r.mruDock.left);
    put(u"MRUDockTopPos", r.mruDock.top);
    put(u"MRUDockRightPos", r.mruDock.right);
    put(u"MRUDockBottomPos", r.mruDock.bottom);
    put(u"MRUFloatXPos", r.mruFloat.x);
    put(u"MRUFloatYPos", r.mruFloat.y);
    put(u"DialogBar", r.dialogBar ? 1 : 0);
    if (r.dialogBar) {
      put(u"DialogBarDockingClientCx", r.dockingCx);
      put(u"DialogBarDockingClientCy", r.dockingCy);
      put(u"DialogBarFloatingClientCx", r.floatingCx);
      put(u"DialogBarFloatingClientCy", r.floatingCy);
    }
  }
  const std::u16string summary = SummarySection(p);
  profile.WriteInt(summary, u"Bars", static_cast<int>(bars.size()));
  profile.WriteInt(summary, u"ScreenCX", now.cx);
  profile.WriteInt(summary, u"ScreenCY", now.cy);
  for (int d = 0; d < kDockBars; ++d) {
    const std::u16string section = DockBarSection(p, d);
    profile.DeleteSection(section);
    const std::vector<int> values = DockRowValues(dockSlots[d]);
    for (size_t i = 0; i < values.size(); ++i) {
      profile.WriteInt(section, u"Bar#" + Number(static_cast<int>(i)), values[i]);
    }
    if (!values.empty()) profile.WriteInt(section, u"Bars", static_cast<int>(values.size()));
  }
  if (statusBar == 0) {
    profile.WriteInt(p, u"StatusBar", 0);
  } else {
    profile.DeleteValue(p, u"StatusBar");
  }
}

}  // namespace tkpstate
