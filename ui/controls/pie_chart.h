// A pie chart as data: slices with a share in percent, a colour and a description, which the disk
// information panel collects for its own drawing. Both classes are serialisable through CArchive.
#pragma once

#include "platform/classlib/carray.h"
#include "platform/classlib/cobject.h"
#include "platform/classlib/cstring.h"

class CPieSlice : public CObject {
  DECLARE_SERIAL(CPieSlice)

 public:
  CPieSlice() = default;
  // The word 1, the percent, the colour, then the description.
  void Serialize(CArchive& ar) override;

  int m_nPercent = 50;
  DWORD m_colour = 0x0000FF;
  CString m_strDescription = _T("<no description>");
};

class CPieChart : public CObject {
  DECLARE_SERIAL(CPieChart)

 public:
  CPieChart() = default;
  CPieChart(const CPieChart&) = delete;
  CPieChart& operator=(const CPieChart&) = delete;
  ~CPieChart() override;

  // Appends the slice and answers its index.
  int AddSlice(CPieSlice* pSlice);
  // Deletes every slice and empties the array.
  void RemoveAllSlices();
  int GetSliceCount() const { return static_cast<int>(m_slices.GetSize()); }
  CPieSlice* GetSlice(int nIndex) const { return static_cast<CPieSlice*>(m_slices.GetAt(nIndex)); }

  // The word 1, the owns-slices flag, the colour, the value, the title, then the slice array. Loading
  // deletes the slices first; a stream whose slices are not distinct slices is refused (badClass).
  void Serialize(CArchive& ar) override;

  DWORD m_bOwnsSlices = 0;  // 1: the chart deletes its slices when destroyed
  CString m_strTitle;
  DWORD m_colour = 0x00FF00;
  int m_nValue = 0;

 private:
  CObArray m_slices;
  bool m_loadedSlices = false;  // slices read from an archive belong to no one else
};
