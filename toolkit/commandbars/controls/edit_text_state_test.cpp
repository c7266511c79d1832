// The text field's value, its hint and the special controls' arithmetic.
#include <gtest/gtest.h>

#include "toolkit/commandbars/controls/edit_text_state.h"
#include "toolkit/commandbars/controls/special_list_logic.h"

namespace {

TEST(EditTextState, AnEmptyFieldShowsTheHintAndReportsNoText) {
  TKPEditTextState state;
  EXPECT_EQ(state.SetHint(_T("Search")), CString(_T("Search")));
  EXPECT_TRUE(state.IsHintShown());
  EXPECT_EQ(state.GetText(), CString());
  // Focus takes the hint away; leaving the field empty brings it back.
  EXPECT_EQ(state.OnFocus(), CString());
  EXPECT_FALSE(state.IsHintShown());
  EXPECT_EQ(state.OnKillFocus(), CString(_T("Search")));
  // A value replaces the hint; clearing the value shows it again.
  EXPECT_EQ(state.SetText(_T("disk.vhd")), CString(_T("disk.vhd")));
  EXPECT_EQ(state.GetText(), CString(_T("disk.vhd")));
  EXPECT_EQ(state.SetText(CString()), CString(_T("Search")));
  EXPECT_EQ(state.GetText(), CString());
}

TEST(EditTextState, ATextEqualToTheHintIsKept) {
  TKPEditTextState state;
  state.SetHint(_T("Search"));
  state.OnFocus();
  state.MarkStale();
  state.Refresh(_T("Search"));  // the user typed the hint's very words
  EXPECT_EQ(state.GetText(), CString(_T("Search")));
  EXPECT_EQ(state.OnKillFocus(), CString(_T("Search")));
  EXPECT_FALSE(state.IsHintShown());
  EXPECT_EQ(state.GetText(), CString(_T("Search")));
  // Set by the program, too.
  state.SetText(_T("Search"));
  EXPECT_EQ(state.GetText(), CString(_T("Search")));
}

TEST(EditTextState, TheHintInTheWindowIsNeverReadBackAsAValue) {
  TKPEditTextState state;
  state.SetHint(_T("Type a path"));
  state.MarkStale();
  state.Refresh(_T("Type a path"));  // the window holds the hint
  EXPECT_FALSE(state.IsStale());
  EXPECT_EQ(state.GetText(), CString());
}

TEST(EditTextState, ANewHintReplacesAShownOneAndLeavesAValueAlone) {
  TKPEditTextState state;
  state.SetHint(_T("Old"));
  EXPECT_EQ(state.SetHint(_T("New")), CString(_T("New")));
  EXPECT_EQ(state.SetHint(CString()), CString());
  EXPECT_FALSE(state.IsHintShown());
  state.SetText(_T("value"));
  EXPECT_EQ(state.SetHint(_T("Hint")), CString(_T("value")));
  EXPECT_FALSE(state.IsHintShown());
}

TEST(NumberedItems, NumbersAccessKeysAndAmpersands) {
  EXPECT_EQ(TKPFormatNumberedItem(_T("Tom & Jerry"), 0), CString(_T("Tom && Jerry")));
  EXPECT_EQ(TKPFormatNumberedItem(_T("a.txt"), 1), CString(_T("&1 a.txt")));
  EXPECT_EQ(TKPFormatNumberedItem(_T("R&D"), 9), CString(_T("&9 R&&D")));
  EXPECT_EQ(TKPFormatNumberedItem(_T("x"), 10), CString(_T("1&0 x")));
  EXPECT_EQ(TKPFormatNumberedItem(_T("x"), 11), CString(_T("11 x")));
}

TEST(RecentNames, InsideTheBaseFolderTheNameIsRelative) {
  EXPECT_EQ(TKPRecentDisplayName(_T("C:\\Work\\disk.vhd"), _T("c:\\work\\")), CString(_T("disk.vhd")));
  EXPECT_EQ(TKPRecentDisplayName(_T("D:\\Images\\disk.vhd"), _T("C:\\Work\\")), CString(_T("D:\\Images\\disk.vhd")));
  EXPECT_EQ(TKPRecentDisplayName(_T("C:\\Work\\"), _T("C:\\Work\\")), CString(_T("C:\\Work\\")));
  EXPECT_EQ(TKPRecentDisplayName(CString(), _T("C:\\")), CString());
}

TEST(MdiChildIds, TheActiveChildDecidesTheFirstId) {
  EXPECT_EQ(TKPAdjustFirstMdiChildId(32770, 65280), 32768);
  EXPECT_EQ(TKPAdjustFirstMdiChildId(3, 65280), 1);
  EXPECT_EQ(TKPAdjustFirstMdiChildId(65281, 65280), 65280);
  EXPECT_EQ(TKPAdjustFirstMdiChildId(32783, 1), 1);
}

TEST(ComboDropDown, RowsFollowTheItemsUpToTheDropDownCount) {
  EXPECT_EQ(TKPComboDropDownHeight(12, 3, 16), 3 * 16 + 4);
  EXPECT_EQ(TKPComboDropDownHeight(12, 0, 16), 16 + 4);
  EXPECT_EQ(TKPComboDropDownHeight(12, 40, 16), 12 * 16 + 4);
  EXPECT_EQ(TKPComboDropDownHeight(12, 12, 16), 12 * 16 + 4);
  EXPECT_EQ(TKPComboDropDownHeight(0, 5, 16), 16 + 4);
}

TEST(GridSelector, CellsBeforeThePointerAndGrowthUpToTheMaximum) {
  const TKPSelectorAxis axis{10, 28, 5, 12};
  EXPECT_EQ(TKPSelectorCellsBefore(axis, 10), 0);
  EXPECT_EQ(TKPSelectorCellsBefore(axis, 11), 1);
  EXPECT_EQ(TKPSelectorCellsBefore(axis, 10 + 2 * 28 + 1), 3);
  EXPECT_EQ(TKPSelectorCellsBefore(axis, 1000), 5);
  const int far = 10 + 5 * 28;
  EXPECT_EQ(TKPSelectorGrow(axis, far - 1, far), 5);
  EXPECT_EQ(TKPSelectorGrow(axis, far, far), 6);
  EXPECT_EQ(TKPSelectorGrow(axis, 100000, far), 12);  // never beyond the maximum
  EXPECT_EQ(TKPSelectorCellsBefore(TKPSelectorAxis{0, 0, 3, 3}, 2), 2);  // a zero cell counts as one pixel
}

}  // namespace
