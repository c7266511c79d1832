// Where the tabs of a strip stand: rectangles turned by the strip's side, compression of a row that is
// too short, the single-row and multi-row arrangements, the navigate buttons' places and the scroll
// offset that brings a tab into view. Lengths come from a measurer, so the arithmetic is tested without
// a device context.
#pragma once

#include <array>
#include <vector>

#include "platform/classlib/crect.h"

namespace tktab {

enum Position { kTop = 0, kLeft = 1, kBottom = 2, kRight = 3 };
enum Layout { kSizeToFit = 0, kCompressed = 1, kFixedSize = 2, kIconTabs = 3, kMultiRow = 4, kRotated = 5 };
enum ButtonId { kButtonBack = 0, kButtonForward = 1, kButtonClose = 2 };
enum ShowMode { kShowNever = 0, kShowWhenNeeded = 1, kShowAlways = 2 };

constexpr int kButtonWidth = 14;
constexpr int kButtonHeight = 15;

inline bool IsHorizontal(int position) { return position == kTop || position == kBottom; }

// Grows the rectangle by a margin given in strip terms: top acts on the strip's side, bottom on the
// client's side, left where a row starts and right where it ends. Positions outside 0-3 change nothing.
void InflateRectByPosition(CRect& rect, int left, int top, int right, int bottom, int position);
void DeflateRectByPosition(CRect& rect, int left, int top, int right, int bottom, int position);
inline void DeflateRectByPosition(CRect& rect, const CRect& margin, int position) {
  DeflateRectByPosition(rect, margin.left, margin.top, margin.right, margin.bottom, position);
}

// The strip of the given depth on the position's side of the rectangle.
CRect HeaderRectAt(const CRect& rect, int position, int depth);
// The rest of the rectangle, overlapping the strip by one pixel.
CRect ClientRectOutside(const CRect& rect, const CRect& header, int position);

// Shortens the longest lengths first until their sum fits the row; a single tab takes the row.
void CompressLengths(std::vector<int>& lengths, int rowLength);

// Splits the lengths into rows no longer than rowLength (a tab longer than a row stands alone); returns
// the index of each tab's row.
std::vector<int> BreakRows(const std::vector<int>& lengths, int rowLength);
// Spreads the tabs over `rows` rows so that, with fillRows, each row is close to the average; without,
// each row is filled up to rowLength. Returns each tab's row. The search remembers the starts that
// failed, so it ends after at most rows x count x count steps.
std::vector<int> BalanceRows(const std::vector<int>& lengths, int rows, int rowLength, bool fillRows);

// What a layout pass is given besides the tabs.
struct TabStripParams {
  int position = kTop;
  int layout = kSizeToFit;
  CRect rect;            // the control's area, already without the client frame and the client margin
  CRect headerMargin;    // strip-relative margin round the tabs
  int buttonHeight = 18; // depth of one row of tabs
  int rowSpacing = -2;   // between two rows of a multi-row strip
  bool fillRows = true;
  bool keepRowOrder = false;
  int selected = -1;     // index of the selected tab, -1 none
};

// The tabs as the owner knows them: how many, which are shown and how long each one is.
class TabMeasurer {
 public:
  virtual ~TabMeasurer() = default;
  virtual int Count() const = 0;
  virtual bool IsVisible(int index) const = 0;
  virtual int Measure(int index) = 0;
};

struct TabSlot {
  int length = 0;
  int fullLength = 0;
  int row = 0;
  CRect rect;
};

struct NavButton {
  int id = kButtonBack;
  int showMode = kShowWhenNeeded;
  bool wanted = false;  // the owner's answer: the close button is wanted while the selected tab may close
  bool enabled = true;
  CRect rect;
};

inline NavButton MakeButton(int id, int showMode) {
  NavButton b;
  b.id = id;
  b.showMode = showMode;
  b.wanted = id != kButtonClose;
  return b;
}

struct RowRange {
  int first = 0;
  int last = -1;
};

// What a layout pass writes. scrollOffset and the buttons' ids, show modes and wishes are read too.
struct TabStripState {
  int scrollOffset = 0;  // 0 or negative
  CRect header;
  std::vector<TabSlot> slots;
  std::vector<RowRange> rows;
  std::array<NavButton, 3> buttons{MakeButton(kButtonBack, kShowWhenNeeded),
                                   MakeButton(kButtonForward, kShowWhenNeeded), MakeButton(kButtonClose, kShowNever)};

  // The rotated layout counts a row height per tab; the others the sum of the lengths.
  int ItemsLength(int layout, int buttonHeight) const;
};

// The depth of a strip of `rows` rows, with the margins; the rotated layout is at least as deep as its
// longest tab.
int HeaderDepth(const TabStripParams& params, int rows, int longestLength);

// One layout pass: single row (with compression and scrolling) or multi-row.
void LayoutTabStrip(const TabStripParams& params, TabMeasurer& measurer, TabStripState& state);

// The scroll offset after bringing the tab at `rect` into view of the header (top and bottom strips
// along x, the others along y).
int ScrollToShow(const CRect& header, const CRect& rect, int leadingMargin, int position, int scrollOffset);

}  // namespace tktab
