// The saved layout of the toolbars: one record per bar (shown, docked or floating, where), the rows of
// the four dock bars and whether the status bar was hidden, read from and written to the profile. The
// profile is user-writable, so every value read is checked: a bad count or a record without a bar id
// gives the default layout, a bar id seen twice is kept once, positions are scaled to the current
// screen and kept on it. The window side (tkp_bar_state.cpp) applies what this reads.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tkpstate {

constexpr int kNoPosition = -1;
constexpr int kNoMruWidth = 32767;
constexpr int kDialogClientSize = 200;
// More bars or row entries than these are not a layout we wrote.
constexpr int kMostBars = 256;
constexpr int kMostRowEntries = 512;
constexpr int kDockBars = 4;

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

// The screen now: its size and the size of an icon (a bar keeps at least that much of itself on it).
struct Screen {
  int cx = 0, cy = 0;
  int iconCx = 32, iconCy = 32;
};

// Positions saved on a screen of another size move in proportion, then stay at least an icon away from
// the right and bottom edges (there is no lower limit: a bar may hang off the left or top edge).
class LayoutScale {
 public:
  LayoutScale(int savedCx, int savedCy, const Screen& now);
  bool Rescales() const { return m_rescale; }
  void ScalePoint(int& x, int& y) const;
  void ScaleRectPos(Rect& rect) const;

 private:
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

// What a dock bar's slots (a bar id, 0 for an empty slot) write: nothing for a dock bar with at most its
// leading empty slot, the first entry always, and one 0 for a run of row breaks.
std::vector<int> DockRowValues(const std::vector<unsigned>& slots);

// statusBar: -1 no status bar, 0 hidden, 1 shown.
void WriteLayout(ProfileWriter& profile, const std::u16string& p, const std::vector<BarRecord>& bars,
                 const std::vector<unsigned> (&dockSlots)[kDockBars], const Screen& now, int statusBar);

}  // namespace tkpstate
