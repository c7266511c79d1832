#include "toolkit/commandbars/state/bar_layout_state.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <set>

namespace tkpstate {
namespace {

constexpr int kLargestScreen = 65535;

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
int Within(int v, int lo, int hi, int fallback) { return InRange(v, lo, hi) ? v : fallback; }
int Coordinate(int v, int fallback) { return Within(v, -kFarthest, kFarthest, fallback); }

class RecordReader {
 public:
  RecordReader(const ProfileReader& profile, std::u16string section) : m_profile(profile), m_section(std::move(section)) {}
  int Get(const char16_t* name, int fallback) const {
    int value = fallback;
    return m_profile.GetInt(m_section, name, value) ? value : fallback;
  }

 private:
  const ProfileReader& m_profile;
  std::u16string m_section;
};

// A bar id is whatever the program gave the bar: every int the profile holds is one.
BarRecord ReadRecord(const RecordReader& in, const LayoutScale& scale) {
  BarRecord raw;
  raw.barId = in.Get(u"BarID", 0);
  raw.visible = in.Get(u"Visible", 1) != 0;
  raw.floating = in.Get(u"Floating", 0) != 0;
  raw.x = in.Get(u"XPos", kNoPosition);
  raw.y = in.Get(u"YPos", kNoPosition);
  raw.mruWidth = in.Get(u"MRUWidth", kNoMruWidth);
  raw.mruDockId = in.Get(u"MRUDockID", 0);
  raw.mruDock = {in.Get(u"MRUDockLeftPos", 0), in.Get(u"MRUDockTopPos", 0), in.Get(u"MRUDockRightPos", 0),
                 in.Get(u"MRUDockBottomPos", 0)};
  raw.mruFloat = {in.Get(u"MRUFloatXPos", 0), in.Get(u"MRUFloatYPos", 0)};
  raw.dialogBar = in.Get(u"DialogBar", 0) != 0;
  if (raw.dialogBar) {
    raw.dockingCx = in.Get(u"DialogBarDockingClientCx", kDialogClientSize);
    raw.dockingCy = in.Get(u"DialogBarDockingClientCy", kDialogClientSize);
    raw.floatingCx = in.Get(u"DialogBarFloatingClientCx", kDialogClientSize);
    raw.floatingCy = in.Get(u"DialogBarFloatingClientCy", kDialogClientSize);
  }
  BarRecord r = Storable(raw);
  // "No position" stays none; a real one follows the screen, on a monitor when the bar floats.
  if (r.x != kNoPosition || r.y != kNoPosition) {
    if (r.floating) {
      scale.ScaleFloatingPoint(r.x, r.y);
    } else {
      scale.ScalePoint(r.x, r.y);
    }
  }
  scale.ScaleRectPos(r.mruDock);
  scale.ScaleFloatingPoint(r.mruFloat.x, r.mruFloat.y);
  return r;
}

// False when the row's count cannot be ours.
bool ReadRow(const RecordReader& in, std::set<int>& placed, std::vector<int>& row) {
  const int count = in.Get(u"Bars", 0);
  if (!InRange(count, 0, kMostRowEntries)) return false;
  if (count < 2) return true;
  for (int i = 0; i < count; ++i) {
    const std::u16string name = u"Bar#" + Number(i);
    const int id = in.Get(name.c_str(), 0);
    // A bar sits in one place only; a second mention of it is dropped.
    if (id != 0 && !placed.insert(id).second) continue;
    row.push_back(id);
  }
  return true;
}

}  // namespace

std::function<Screen()>& ScreenSource() {
  static std::function<Screen()> source;
  return source;
}

Point PlaceOnMonitors(Point corner, const Screen& now) {
  std::vector<Monitor> monitors = now.monitors;
  if (monitors.empty()) monitors.push_back(Monitor{Rect{0, 0, now.cx, now.cy}, Rect{0, 0, now.cx, now.cy}});
  // In 64 bits: a corner may be anywhere an int reaches.
  const int64_t cx = int64_t{corner.x} + now.iconCx / 2, cy = int64_t{corner.y} + now.iconCy / 2;
  const auto into = [&](const Rect& area) {
    const auto along = [](int64_t at, int low, int high, int size) {
      return static_cast<int>(std::max<int64_t>(low, std::min<int64_t>(at, int64_t{high} - size)));
    };
    return Point{along(corner.x, area.left, area.right, now.iconCx), along(corner.y, area.top, area.bottom, now.iconCy)};
  };
  const auto contains = [](const Rect& r, int64_t x, int64_t y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; };
  // The icon's centre on a monitor: the monitor is still there. Kept inside the virtual screen.
  Rect virtualScreen = monitors.front().area;
  bool onMonitor = false;
  for (const Monitor& m : monitors) {
    virtualScreen = Rect{std::min(virtualScreen.left, m.area.left), std::min(virtualScreen.top, m.area.top),
                         std::max(virtualScreen.right, m.area.right), std::max(virtualScreen.bottom, m.area.bottom)};
    onMonitor = onMonitor || contains(m.area, cx, cy);
  }
  if (onMonitor) return into(virtualScreen);
  // Its monitor is gone: the nearest one's work area.
  const Monitor* nearest = nullptr;
  int64_t best = 0;
  for (const Monitor& m : monitors) {
    const int64_t dx = cx < m.area.left ? m.area.left - cx : cx >= m.area.right ? cx - m.area.right + 1 : 0;
    const int64_t dy = cy < m.area.top ? m.area.top - cy : cy >= m.area.bottom ? cy - m.area.bottom + 1 : 0;
    const int64_t distance = dx * dx + dy * dy;
    if (nearest == nullptr || distance < best) {
      nearest = &m;
      best = distance;
    }
  }
  return into(nearest->work);
}

BarRecord Storable(const BarRecord& in) {
  BarRecord r = in;
  r.x = Coordinate(in.x, kNoPosition);
  r.y = Coordinate(in.y, kNoPosition);
  r.mruWidth = Within(in.mruWidth, 1, kNoMruWidth, kNoMruWidth);
  r.mruDockId = Within(in.mruDockId, 0, kDockBars - 1, 0);
  r.mruDock = {Coordinate(in.mruDock.left, 0), Coordinate(in.mruDock.top, 0), Coordinate(in.mruDock.right, 0),
               Coordinate(in.mruDock.bottom, 0)};
  if (r.mruDock.right < r.mruDock.left || r.mruDock.bottom < r.mruDock.top) r.mruDock = Rect{};
  r.mruFloat = {Coordinate(in.mruFloat.x, 0), Coordinate(in.mruFloat.y, 0)};
  // Only a dialog bar keeps its sizes; any other reads back the defaults.
  for (int* size : {&r.dockingCx, &r.dockingCy, &r.floatingCx, &r.floatingCy}) {
    *size = r.dialogBar ? Within(*size, 0, kFarthest, kDialogClientSize) : kDialogClientSize;
  }
  return r;
}

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

void LayoutScale::Scale(int& x, int& y) const {
  if (!m_rescale) return;
  x = MulDivRound(x, m_now.cx, m_savedCx);
  y = MulDivRound(y, m_now.cy, m_savedCy);
}

void LayoutScale::ScalePoint(int& x, int& y) const {
  Scale(x, y);
  x = std::min(x, m_maxX);
  y = std::min(y, m_maxY);
}

void LayoutScale::ScaleFloatingPoint(int& x, int& y) const {
  Scale(x, y);
  const Point placed = PlaceOnMonitors(Point{x, y}, m_now);
  x = placed.x;
  y = placed.y;
}

void LayoutScale::ScaleRectPos(Rect& rect) const {
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  Scale(rect.left, rect.top);
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
    const BarRecord record = ReadRecord(RecordReader(profile, BarSection(p, n)), scale);
    if (record.barId != 0 && seen.insert(record.barId).second) layout.bars.push_back(record);
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
  if (values.size() > static_cast<size_t>(kMostRowEntries)) values.resize(static_cast<size_t>(kMostRowEntries));
  return values;
}

void WriteLayout(ProfileWriter& profile, const std::u16string& p, const std::vector<BarRecord>& bars,
                 const std::vector<unsigned> (&dockSlots)[kDockBars], const Screen& now, int statusBar) {
  const size_t count = std::min(bars.size(), static_cast<size_t>(kMostBars));
  for (size_t n = 0; n < count; ++n) {
    const BarRecord r = Storable(bars[n]);
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
  profile.WriteInt(summary, u"Bars", static_cast<int>(count));
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
