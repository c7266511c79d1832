// CTKHeaderCtrl: a list's header that shows which column the list is sorted by, and in which direction.
#pragma once

#include "platform/classlib/win/cheaderctrl.h"

class CTKHeaderCtrl : public CHeaderCtrl {
  DECLARE_DYNAMIC(CTKHeaderCtrl)

 public:
  CTKHeaderCtrl() = default;

  // Draws the arrow on one column (ascending: pointing up) and clears it from the others; column -1 clears all.
  void SetSortImage(int nColumn, BOOL bAscending);
  int GetSortColumn() const { return m_nSortColumn; }
  BOOL IsAscending() const { return m_bAscending; }

  // The direction a newly clicked column is sorted in first.
  BOOL m_bDefaultAscending = TRUE;

 private:
  int m_nSortColumn = -1;
  BOOL m_bAscending = TRUE;
};
