#include "toolkit/commandbars/controls/special_list_logic.h"

#include <algorithm>

CString TKPFormatNumberedItem(const CString& strName, int nNumber) {
  CString name = strName;
  name.Replace(_T("&"), _T("&&"));
  CString text;
  if (nNumber == 0) {
    text = name;
  } else if (nNumber >= 1 && nNumber <= 9) {
    text.Format(_T("&%i %s"), nNumber, static_cast<LPCTSTR>(name));
  } else if (nNumber == 10) {
    text.Format(_T("1&0 %s"), static_cast<LPCTSTR>(name));
  } else {
    text.Format(_T("%i %s"), nNumber, static_cast<LPCTSTR>(name));
  }
  return text;
}

CString TKPRecentDisplayName(const CString& strPath, const CString& strBaseFolder) {
  const int base = strBaseFolder.GetLength();
  if (base > 0 && strPath.GetLength() > base && strPath.Left(base).CompareNoCase(strBaseFolder) == 0) {
    return strPath.Mid(base);
  }
  return strPath;
}

int TKPAdjustFirstMdiChildId(int nActiveId, int nCurrentFirst) {
  if (nActiveId >= 32768 && nActiveId <= 32782) return 32768;
  if (nActiveId >= 1 && nActiveId <= 14) return 1;
  return nCurrentFirst;
}

int TKPComboDropDownHeight(int nDropDownCount, int nItemCount, int nItemHeight) {
  int rows = nDropDownCount;
  if (nDropDownCount >= nItemCount) rows = std::max(nItemCount, 1);
  rows = std::max(rows, 1);
  return rows * std::max(nItemHeight, 0) + 4;
}

int TKPSelectorCellsBefore(const TKPSelectorAxis& axis, int x) {
  const int cell = std::max(axis.cell, 1);
  int count = 0;
  for (int i = 0; i < axis.shown; ++i) {
    if (axis.origin + i * cell < x) ++count;
  }
  return count;
}

int TKPSelectorGrow(const TKPSelectorAxis& axis, int x, int farEdge) {
  if (x < farEdge) return axis.shown;
  const int cell = std::max(axis.cell, 1);
  const int wanted = (x - axis.origin) / cell + 1;
  return std::clamp(wanted, axis.shown, std::max(axis.maximum, axis.shown));
}
