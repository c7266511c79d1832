// The saved layout of the toolbars: one record per bar (shown, docked or floating, where), the rows of
// the four dock bars and whether the status bar was hidden, read from and written to the profile. The
// profile is user-writable, so every value read is checked: a count beyond what is ever written gives
// the default layout, a bar id seen twice is kept once, a value out of its range reads as its default,
// positions are scaled to the current screen and floating bars kept on a monitor. The saver writes only
// what the reader takes back as it was written. The window side (tkp_bar_state.cpp) applies what this
// reads.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tkpstate {

constexpr int kNoPosition = -1;
constexpr int kNoMruWidth = 32767;
constexpr int kDialogClientSize = 200;
// The most toolbar records and dock-row entries a layout holds: the saver writes no more, so more than
// these is not a layout we wrote. A row holds each bar once and a break between two of them.
constexpr int kMostBars = 1024;
constexpr int kMostRowEntries = 2 * kMostBars + 1;
constexpr int kDockBars = 4;
// Positions and sizes are kept within these (a window coordinate of the system fits in 16 bits).
constexpr int kFarthest = 32767;

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const Rect& o) const { return left == o.left && top == o.top && right == o.right && bottom == o.bottom; }
};
struct Point {
  int x = 0, y = 0;
  bool operator==(const Point& o) const { return x == o.x && y == o.y; }
};

struct BarRecord {
  int barId = 0;
  bool visible = false;
  bool floating = false;
  int x = kNoPosition, y = kNoPosition;
  int mruWidth = kNoMruWidth;
  int mruDockId = 0;  // the dock bar's position, 0 top, 1 bottom, 2 left, 3 right
  Rect mruDock;
  Point mruFloat;
  bool dialogBar = false;
  int dockingCx = kDialogClientSize, dockingCy = kDialogClientSize;
  int floatingCx = kDialogClientSize, floatingCy = kDialogClientSize;
};

// One display: its whole area and its work area (without the task bar), in virtual-screen coordinates.
struct Monitor {
  Rect area;
  Rect work;
};

// The screen now: the primary monitor's size, the size of an icon (a bar keeps at least that much of
// itself on a monitor) and the monitors (none known: the primary alone, all of it work area).
struct Screen {
  int cx = 0, cy = 0;
  int iconCx = 32, iconCy = 32;
  std::vector<Monitor> monitors;
};

// The seam through which the window side learns the screen: empty for the system's own monitors; a test
// gives a layout of its own (two monitors, one gone).
std::function<Screen()>& ScreenSource();

// Where a floating bar's top-left corner goes so that an icon's worth of the bar can be reached: where it
// is when that lies on a monitor; pulled inside the virtual screen when it hangs over its outer edge;
// into the nearest monitor's work area when the monitor it was on is gone.
Point PlaceOnMonitors(Point corner, const Screen& now);

// Positions saved on a screen of another size move in proportion. A docked bar's position then stays at
// least an icon away from the right and bottom edges; a floating one's is kept on a monitor.
class LayoutScale {
 public:
  LayoutScale(int savedCx, int savedCy, const Screen& now);
  bool Rescales() const { return m_rescale; }
  void ScalePoint(int& x, int& y) const;
  void ScaleFloatingPoint(int& x, int& y) const;
  void ScaleRectPos(Rect& rect) const;

 private:
  void Scale(int& x, int& y) const;
  bool m_rescale = false;
  int m_savedCx, m_savedCy;
  Screen m_now;
  int m_maxX, m_maxY;
};

// MulDiv's rounding (half away from zero) in 64 bits; -1 for a zero divisor or a result beyond int.
int MulDivRound(int value, int numerator, int denominator);

// The profile as this code sees it: integers under a section and a value name.
class ProfileReader {
 public:
  virtual ~ProfileReader() = default;
  // False when the value is absent (or not an integer).
  virtual bool GetInt(const std::u16string& section, const std::u16string& name, int& value) const = 0;
};
class ProfileWriter {
 public:
  virtual ~ProfileWriter() = default;
  virtual void WriteInt(const std::u16string& section, const std::u16string& name, int value) = 0;
  virtual void DeleteValue(const std::u16string& section, const std::u16string& name) = 0;
  virtual void DeleteSection(const std::u16string& section) = 0;
};

struct SavedLayout {
  std::vector<BarRecord> bars;          // in saved order, checked, scaled
  std::vector<int> rows[kDockBars];     // dock bar d's slots: a bar id, 0 for a row break
  bool statusBarHidden = false;
  bool damaged = false;                 // something did not hold: the default layout is kept
};

// Section names under the profile name p.
std::u16string SummarySection(const std::u16string& p);
std::u16string BarSection(const std::u16string& p, int n);
std::u16string DockBarSection(const std::u16string& p, int d);

SavedLayout ReadLayout(const ProfileReader& profile, const std::u16string& p, const Screen& now);

// The record as the profile keeps it: a value out of its range becomes its default (no position, no
// width, the top dock bar, an empty rectangle, 200), which is what reading it back would give anyway.
BarRecord Storable(const BarRecord& record);

// What a dock bar's slots (a bar id, 0 for an empty slot) write: nothing for a dock bar with at most its
// leading empty slot, the first entry always, and one 0 for a run of row breaks; no more than
// kMostRowEntries.
std::vector<int> DockRowValues(const std::vector<unsigned>& slots);

// Writes the first kMostBars records, each as Storable makes it. statusBar: -1 no status bar, 0 hidden,
// 1 shown.
void WriteLayout(ProfileWriter& profile, const std::u16string& p, const std::vector<BarRecord>& bars,
                 const std::vector<unsigned> (&dockSlots)[kDockBars], const Screen& now, int statusBar);

}  // namespace tkpstate
