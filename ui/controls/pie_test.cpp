#include <gtest/gtest.h>

#include "platform/classlib/carchive.h"
#include "platform/classlib/cexception.h"
#include "platform/classlib/cmemfile.h"
#include "ui/controls/pie_chart.h"
#include "ui/controls/pie_geometry.h"

namespace pie {
namespace {

TEST(PieGeometry, TheBoundaryPointRunsFromTheBottomThroughLeftTopAndRight) {
  EXPECT_EQ(BoundaryPoint(0, 100, 50, 90, 45), CPoint(100, 95));
  EXPECT_EQ(BoundaryPoint(25, 100, 50, 90, 45), CPoint(10, 50));
  EXPECT_EQ(BoundaryPoint(50, 100, 50, 90, 45), CPoint(100, 5));
  EXPECT_EQ(BoundaryPoint(75, 100, 50, 90, 45), CPoint(190, 50));
  EXPECT_EQ(BoundaryPoint(100, 100, 50, 90, 45), CPoint(100, 95));
  // Linear in x within a quarter: 10 % is 40 % of the way to the left; y follows the ellipse.
  EXPECT_EQ(BoundaryPoint(10, 100, 50, 90, 45), CPoint(64, 91));
  EXPECT_EQ(BoundaryPoint(60, 100, 50, 90, 45), CPoint(136, 9));
  // Shares outside 0 to 100 and a flat ellipse stay on the ellipse or its centre.
  EXPECT_EQ(BoundaryPoint(130, 100, 50, 90, 45), CPoint(100, 95));
  EXPECT_EQ(BoundaryPoint(40, 100, 50, 0, 45), CPoint(100, 50));
}

TEST(PieGeometry, TheRimShowsTheUsedColourWhereTheUsedShareFacesTheViewer) {
  // 10 % used: the first 36 of the 90 columns left of the centre; the rest of the front is free.
  EXPECT_EQ(RimRuns(10, 100, 90), (std::vector<RimRun>{{10, 64, false}, {64, 100, true}, {100, 190, false}}));
  EXPECT_EQ(RimRuns(50, 100, 90), (std::vector<RimRun>{{10, 100, true}, {100, 190, false}}));
  EXPECT_EQ(RimRuns(90, 100, 90), (std::vector<RimRun>{{10, 100, true}, {100, 136, false}, {136, 190, true}}));
  EXPECT_EQ(RimRuns(0, 100, 90), (std::vector<RimRun>{{10, 190, false}}));
  EXPECT_EQ(RimRuns(100, 100, 90), (std::vector<RimRun>{{10, 190, true}}));
}

TEST(PieGeometry, ThePieStaysInsideTheControl) {
  PieLayout layout = LayoutPie(CRect(0, 0, 480, 200));
  EXPECT_EQ(layout.box, CRect(180, 40, 480, 190));
  EXPECT_EQ(layout.rx, 90);
  EXPECT_LE(layout.cx + layout.rx, 480);
  EXPECT_LE(layout.cy + layout.ry + kRimDepth, layout.box.bottom);
  EXPECT_GE(layout.cy - layout.ry, layout.box.top);
}

TEST(PieGeometry, UnitsChangeAboveOneMegabyteAndOneGigabyte) {
  EXPECT_EQ(SpaceLine(_T("Free"), 1048576), CString(_T("Free: 1024.00 KB")));
  EXPECT_EQ(SpaceLine(_T("Free"), 1048577), CString(_T("Free: 1.00 MB")));
  EXPECT_EQ(SpaceLine(_T("Used"), 1073741824), CString(_T("Used: 1024.00 MB")));
  EXPECT_EQ(SpaceLine(_T("Capacity"), 1073741825), CString(_T("Capacity: 1.00 GB")));
  EXPECT_EQ(SpaceLine(_T("Capacity"), 0), CString(_T("Capacity: 0.00 KB")));
  EXPECT_EQ(UsedPercent(1, 3), 33);
  EXPECT_EQ(UsedPercent(5, 0), 0);
  EXPECT_EQ(UsedPercent(UINT64_MAX - 1, UINT64_MAX), 99);
}

CPieSlice* Slice(int percent, DWORD colour, LPCTSTR description) {
  auto* slice = new CPieSlice;
  slice->m_nPercent = percent;
  slice->m_colour = colour;
  slice->m_strDescription = description;
  return slice;
}

std::vector<BYTE> Store(CPieChart& chart) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    ar << &chart;
  }
  std::vector<BYTE> bytes(static_cast<size_t>(file.GetLength()));
  file.SeekToBegin();
  file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
  return bytes;
}

CPieChart* Load(std::vector<BYTE>& bytes) {
  CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
  CArchive ar(&file, CArchive::load);
  CPieChart* chart = nullptr;
  ar >> chart;
  return chart;
}

TEST(PieChart, ARoundTripThroughAMemoryArchiveKeepsEveryField) {
  CPieChart chart;
  chart.m_bOwnsSlices = 1;
  chart.m_strTitle = _T("Disk 0");
  chart.m_colour = 0x123456;
  chart.m_nValue = -7;
  EXPECT_EQ(chart.AddSlice(Slice(60, 0x8FA7F8, _T("NTFS"))), 0);
  EXPECT_EQ(chart.AddSlice(new CPieSlice), 1);
  std::vector<BYTE> bytes = Store(chart);

  std::unique_ptr<CPieChart> copy(Load(bytes));
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy->m_bOwnsSlices, 1u);
  EXPECT_EQ(copy->m_strTitle, CString(_T("Disk 0")));
  EXPECT_EQ(copy->m_colour, 0x123456u);
  EXPECT_EQ(copy->m_nValue, -7);
  ASSERT_EQ(copy->GetSliceCount(), 2);
  EXPECT_EQ(copy->GetSlice(0)->m_nPercent, 60);
  EXPECT_EQ(copy->GetSlice(0)->m_colour, 0x8FA7F8u);
  EXPECT_EQ(copy->GetSlice(0)->m_strDescription, CString(_T("NTFS")));
  EXPECT_EQ(copy->GetSlice(1)->m_nPercent, 50);
  EXPECT_EQ(copy->GetSlice(1)->m_colour, 0x0000FFu);
  EXPECT_EQ(copy->GetSlice(1)->m_strDescription, CString(_T("<no description>")));
  EXPECT_EQ(Store(*copy), bytes);
}

TEST(PieChart, LoadedSlicesAreFreedEvenWhenTheStoredChartDidNotOwnItsOwn) {
  CPieSlice kept;  // a slice the chart does not own
  CPieChart chart;
  chart.AddSlice(&kept);
  std::vector<BYTE> bytes = Store(chart);
  std::unique_ptr<CPieChart> copy(Load(bytes));
  ASSERT_EQ(copy->GetSliceCount(), 1);
  EXPECT_EQ(copy->m_bOwnsSlices, 0u);
  // Under the leak checker: the loaded slice goes with the loaded chart.
}

// A chart's fields whose slice array holds the given object references (numbers from 1).
std::vector<BYTE> ChartFieldsReferring(std::initializer_list<WORD> references) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    ar << DWORD(1) << DWORD(1) << DWORD(0x00FF00) << 0 << CString(_T("t"));
    ar.WriteCount(static_cast<DWORD>(references.size()));
    for (WORD reference : references) ar << reference;
  }
  std::vector<BYTE> bytes(static_cast<size_t>(file.GetLength()));
  file.SeekToBegin();
  file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
  return bytes;
}

// Loads the chart's fields with the chart as object 1 and another slice as object 2; answers the cause
// of the archive exception, or -1.
int LoadReferring(std::vector<BYTE> bytes, CPieChart& chart, CPieSlice& other) {
  CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
  CArchive ar(&file, CArchive::load);
  ar.MapObject(&chart);
  ar.MapObject(&other);
  try {
    chart.Serialize(ar);
  } catch (CArchiveException* e) {
    int cause = e->m_cause;
    e->Delete();
    return cause;
  }
  return -1;
}

TEST(PieChart, AStreamNamingOneSliceTwiceOrTheChartAsASliceIsRefused) {
  CPieSlice other;
  CPieChart chart;  // owns its slices: taking one it does not hold alone would free it twice
  EXPECT_EQ(LoadReferring(ChartFieldsReferring({2, 2}), chart, other), CArchiveException::badClass);
  EXPECT_EQ(chart.GetSliceCount(), 0);
  EXPECT_EQ(LoadReferring(ChartFieldsReferring({1}), chart, other), CArchiveException::badClass);
  EXPECT_EQ(LoadReferring(ChartFieldsReferring({0}), chart, other), CArchiveException::badClass);
  EXPECT_EQ(chart.GetSliceCount(), 0);
}

TEST(PieChart, AnotherFieldVersionSkipsTheFieldsAndRemovingNothingIsFine) {
  CPieChart chart;
  chart.RemoveAllSlices();
  EXPECT_EQ(chart.GetSliceCount(), 0);
  chart.m_strTitle = _T("x");
  std::vector<BYTE> bytes = Store(chart);
  // The fields follow the class record (0xFFFF, schema, name length, "CPieChart").
  size_t fields = 2 + 2 + 2 + 9;
  ASSERT_EQ(bytes[fields], 1);
  bytes[fields] = 2;
  std::unique_ptr<CPieChart> copy(Load(bytes));
  EXPECT_EQ(copy->m_strTitle, CString());
  EXPECT_EQ(copy->m_colour, 0x00FF00u);
  EXPECT_EQ(copy->GetSliceCount(), 0);
}

}  // namespace
}  // namespace pie
