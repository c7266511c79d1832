// RowIconList: the results list's small-icon list, 20 x 20 cells of 32-bit colour with a mask (room for 4,
// growing by 1). The listers name the shell's small system icons; each one is copied, centred, into a cell
// of its own the first time a row asks for it, and the rows carry the cell's index.
#pragma once

#include <map>

#include "platform/classlib/win/classlib_win.h"

class RowIconList {
 public:
  // The icons come from system, the shell's small-icon list (not owned).
  bool Create(HIMAGELIST system);
  CImageList& Images() { return m_images; }
  // The cell holding the system icon systemIndex; -1 when there is no such icon.
  int CellOf(int systemIndex);

 private:
  int AddCell(int systemIndex);

  HIMAGELIST m_system = nullptr;
  CImageList m_images;
  std::map<int, int> m_cells;  // system index to cell
};
