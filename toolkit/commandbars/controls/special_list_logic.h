// The arithmetic of the bars' special controls, apart from their windows: the numbered captions of the
// window and recent-file lists, the shortened names of recent files, the rows a combo box drops down,
// and the grid selector's cells.
#pragma once

#include "platform/classlib/cstring.h"

// "&" doubled in the name; 0 gives the name, 1 to 9 "&N name", 10 "1&0 name", above "N name".
CString TKPFormatNumberedItem(const CString& strName, int nNumber);

// A recent file as a menu shows it: relative to the base folder (ending in "\") when it lies inside it
// (case does not matter), else the whole path; empty for an empty path.
CString TKPRecentDisplayName(const CString& strPath, const CString& strBaseFolder);

// The first MDI child id after looking at the active child's id: 32768 to 32782 gives 32768, 1 to 14
// gives 1, any other id leaves the current first id.
int TKPAdjustFirstMdiChildId(int nActiveId, int nCurrentFirst);

// The height of a dropped combo list: the drop-down item count of rows, fewer when the list has fewer
// items (at least one row), plus 4 for the frame.
int TKPComboDropDownHeight(int nDropDownCount, int nItemCount, int nItemHeight);

// The grid selector's cells along one axis.
struct TKPSelectorAxis {
  int origin = 0;  // left (or top) of the grid
  int cell = 1;    // cell width (or height), at least 1
  int shown = 0;   // cells shown
  int maximum = 0; // cells the grid may grow to
};
// Cells selected with the pointer at x: the number of cell edges that lie left of x.
int TKPSelectorCellsBefore(const TKPSelectorAxis& axis, int x);
// Cells shown after the pointer at x passed the edge (farEdge: the grid's far edge): it grows to hold x, up
// to the maximum; a pointer inside leaves the shown count.
int TKPSelectorGrow(const TKPSelectorAxis& axis, int x, int farEdge);
