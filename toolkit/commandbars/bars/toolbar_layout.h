// The wrapped layout of a toolbar's controls: rows that break at group starts, the squarest shape of a
// popup toolbar, the narrowest width of a floating bar, far-end and stretched controls, rows centred.
// Portable: the controls collection fills one record per control and copies the result back.
#pragma once

#include <vector>

#include "platform/classlib/crect.h"

// Mode bits of a layout request.
enum TKPLayoutMode : DWORD {
  kTKPLayoutStretch = 0x1,
  kTKPLayoutHorizontal = 0x2,
  kTKPLayoutMRUWidth = 0x4,
  kTKPLayoutHorzDock = 0x8,
  kTKPLayoutVertDock = 0x10,
  kTKPLayoutLengthIsHeight = 0x20,
  kTKPLayoutCommit = 0x40,
  kTKPLayoutNoWrap = 0x80,
  kTKPLayoutPopupWrap = 0x100,
};

// One control in the layout.
struct TKPLayoutRecord {
  CRect rect;        // out: where the control goes
  CRect rowRect;     // out: the row (column on vertical bars) it lies in
  CSize size;        // in: the control's measured size
  bool visible = true;
  bool wrap = false;    // out: a row starts here
  bool hidden = false;  // out: it does not fit (no wrapping allowed)
  bool beginGroup = false;
  bool farEnd = false;   // in: packed against the row's far end
  bool stretch = false;  // in: shares the row's free room
};

struct TKPLayoutRequest {
  int length = 0;
  DWORD mode = 0;
  CRect borders;  // widths of the bar's borders on each side
  int minLength = 0;
  int mruWidth = 32767;  // the bar's remembered width; 32767: none
  CSize separator;       // the separator's measured size
};

namespace tkplayout {

constexpr int kNoMRUWidth = 32767;
// The room a group start takes in a row while wrapping.
constexpr int kGroupGap = 6;

// Marks the row starts for rows no longer than width (heights with kTKPLayoutVertDock); returns the
// number of rows. wrapped (optional) tells whether anything broke or was hidden.
int Wrap(std::vector<TKPLayoutRecord>& records, int width, DWORD mode, bool* wrapped = nullptr);
// Places the shown records row by row from (0, 0) (columns growing to the left when vertical);
// returns the extent.
CSize CalcSize(std::vector<TKPLayoutRecord>& records, CSize separator, bool vertical);
// Wraps at the width that gives the squarest layout.
CSize SizeToolBar(std::vector<TKPLayoutRecord>& records, CSize separator, DWORD mode);
// The narrowest layout for a floating bar: with kTKPLayoutLengthIsHeight one whose height fits length,
// else one with as few rows as length gives.
CSize FitFloating(std::vector<TKPLayoutRecord>& records, int length, CSize separator, DWORD mode);
// The whole layout; returns the bar's size with its borders.
CSize CalcDynamicSize(std::vector<TKPLayoutRecord>& records, const TKPLayoutRequest& request);

}  // namespace tkplayout
