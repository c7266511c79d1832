// CTKListCtrl: a report-style list control with a sortable header (the base of the results list).
#pragma once

#include "platform/classlib/win/clistctrl.h"

class CTKListCtrl : public CListCtrl {
  DECLARE_DYNAMIC(CTKListCtrl)

 public:
  CTKListCtrl() = default;
  ~CTKListCtrl() override = default;

  // Keeps the sort column and direction (ascending: 1) and, when the header is a CTKHeaderCtrl, shows the
  // arrow there. Returns the previous sort column.
  int SetSortArrow(int nColumn, BOOL bAscending);
  int GetSortColumn() const { return m_nSortColumn; }
  BOOL IsSortAscending() const { return m_bAscending; }

 private:
  int m_nSortColumn = -1;
  BOOL m_bAscending = TRUE;
};
