#include "ui/msgbox/button_row.h"

#include <gtest/gtest.h>

#include "ui/msgbox/message_box_style.h"

namespace msgbox {
namespace {

using Row = std::vector<int>;

TEST(ButtonRow, EverySetInRowOrderWithItsCancel) {
  struct Case {
    uint32_t set;
    Row buttons;
    bool cancel;
  };
  const Case cases[] = {
      {0, {1}, true},           {1, {1, 2}, true},         {2, {3, 4, 5}, false},   {3, {6, 7, 2}, true},
      {4, {6, 7}, false},       {5, {4, 2}, true},         {6, {2, 4, 11}, true},   {7, {11, 3}, false},
      {8, {14, 15, 2}, true},   {9, {5, 16, 2}, true},     {10, {}, false},         {15, {}, false},
  };
  for (const Case& c : cases) {
    const ButtonRow row = BuildButtonRow({c.set, u"", false, false});
    EXPECT_EQ(row.numbers, c.buttons) << "set " << c.set;
    EXPECT_EQ(row.cancelAllowed, c.cancel) << "set " << c.set;
  }
}

TEST(ButtonRow, YesToAllAndNoToAllFollowTheirButtons) {
  const uint32_t all = kYesToAll | kNoToAll;
  EXPECT_EQ(BuildButtonRow({4 | all, u"", false, false}).numbers, (Row{6, 19, 7, 20}));
  EXPECT_FALSE(BuildButtonRow({4 | all, u"", false, false}).cancelAllowed);
  EXPECT_EQ(BuildButtonRow({3 | kNoToAll, u"", false, false}).numbers, (Row{6, 7, 20, 2}));
  // Other sets ignore the bits.
  EXPECT_EQ(BuildButtonRow({1 | all, u"", false, false}).numbers, (Row{1, 2}));
}

TEST(ButtonRow, CustomButtonsReplaceTheSetAndHaveNoCancel) {
  const ButtonRow row = BuildButtonRow({1, u"Keep\r\n\nReplace\nRename\nSkip\nFifth", false, false});
  EXPECT_EQ(row.numbers, (Row{23, 24, 25, 26}));
  EXPECT_EQ(row.customTexts, (std::vector<std::u16string>{u"Keep", u"Replace", u"Rename", u"Skip"}));
  EXPECT_FALSE(row.cancelAllowed);
  // A text that yields no button leaves the set.
  EXPECT_EQ(BuildButtonRow({1, u"\r\n\n", false, false}).numbers, (Row{1, 2}));
}

TEST(ButtonRow, HelpReportAndMoreComeLastInThatOrder) {
  const ButtonRow row = BuildButtonRow({kHelpButton | 1, u"", true, true});
  EXPECT_EQ(row.numbers, (Row{1, 2, 9, 21, 31}));
  // A set without buttons still gets them.
  EXPECT_EQ(BuildButtonRow({12, u"", false, true}).numbers, (Row{31}));
}

TEST(ButtonRow, DefaultIndexPastTheLastButtonMeansTheFirst) {
  EXPECT_EQ(BuildButtonRow({3 | 0x200, u"", false, false}).defaultIndex, 2);
  EXPECT_EQ(BuildButtonRow({3 | 0x300, u"", false, false}).defaultIndex, 0);
  EXPECT_EQ(BuildButtonRow({0 | 0xF00, u"", false, false}).defaultIndex, 0);
  // Help counts as a button of the row.
  EXPECT_EQ(BuildButtonRow({0 | 0x100 | kHelpButton, u"", false, false}).defaultIndex, 1);
  EXPECT_EQ(BuildButtonRow({10 | 0x100, u"", false, false}).defaultIndex, 0);
}

}  // namespace
}  // namespace msgbox
