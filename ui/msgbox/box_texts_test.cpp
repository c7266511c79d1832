#include "ui/msgbox/box_texts.h"

#include <gtest/gtest.h>

#include <map>

#include "ui/msgbox/message_box_style.h"

namespace msgbox {
namespace {

class TableStrings : public StringSource {
 public:
  std::optional<std::u16string> Load(uint32_t id, size_t maxLength) override {
    ++loads;
    auto found = table.find(id);
    if (found == table.end()) return std::nullopt;
    return found->second.substr(0, maxLength);
  }
  std::map<uint32_t, std::u16string> table;
  int loads = 0;
};

TEST(BoxTexts, BuiltInTextsWhenNothingElseGivesOne) {
  TableStrings strings;
  MessageBoxParams params;
  const std::pair<int, const char16_t*> expected[] = {
      {1, u"OK"}, {2, u"Cancel"}, {3, u"Abort"}, {4, u"Retry"}, {5, u"Ignore"}, {6, u"Yes"}, {7, u"No"},
      {9, u"Help"}, {10, u"Try again"}, {11, u"Continue"}, {14, u"Skip"}, {15, u"Skip all"},
      {16, u"Ignore all"}, {19, u"Yes to all"}, {20, u"No to all"}, {21, u"Report"}, {30, u"<< More"},
      {31, u"More >>"}, {kCheckboxText, u"Do not show again"}, {kCountdownText, u"%s (%d seconds remaining)"},
  };
  for (const auto& [number, text] : expected) EXPECT_EQ(ButtonText(number, params, 0, strings), text) << number;
  EXPECT_EQ(ButtonText(8, params, 0, strings), u"");
}

TEST(BoxTexts, CaptionTableThenResourceThenBuiltIn) {
  TableStrings strings;
  strings.table = {{9007, u"Ja"}, {9008, u"Nein"}, {500, u"Replace it"}};
  MessageBoxCaptionTable captions{{6, u"Go ahead"}, {2, MessageBoxText::Resource(500)}};
  MessageBoxParams params;
  params.captionTable = &captions;
  EXPECT_EQ(ButtonText(6, params, 0, strings), u"Go ahead");
  EXPECT_EQ(ButtonText(2, params, 0, strings), u"Replace it");
  EXPECT_EQ(ButtonText(7, params, 0, strings), u"Nein");
  EXPECT_EQ(ButtonText(1, params, 0, strings), u"OK");
  // The style that forbids resources skips them, also for the table's resource entries.
  EXPECT_EQ(ButtonText(7, params, kNoStringResources, strings), u"No");
  EXPECT_EQ(ButtonText(2, params, kNoStringResources, strings), u"");
}

TEST(BoxTexts, CheckboxCaptionIsTheLastFallback) {
  TableStrings strings;
  MessageBoxParams params;
  params.checkboxCaption = u"Never ask again";
  EXPECT_EQ(ButtonText(kCheckboxText, params, 0, strings), u"Never ask again");
  strings.table[9012] = u"Don't ask";
  EXPECT_EQ(ButtonText(kCheckboxText, params, 0, strings), u"Don't ask");
  EXPECT_EQ(ButtonText(kCheckboxText, params, kNoStringResources, strings), u"Never ask again");
}

TEST(BoxTexts, ResourceTextsAreLoadedUpTo260Characters) {
  TableStrings strings;
  strings.table[77] = std::u16string(300, u'x');
  EXPECT_EQ(ResolveText(MessageBoxText::Resource(77), 0, strings).size(), 260u);
  EXPECT_EQ(ResolveText(MessageBoxText::Resource(78), 0, strings), u"");
  EXPECT_EQ(ResolveText(MessageBoxText::Resource(77), kNoStringResources, strings), u"");
  EXPECT_EQ(ResolveText(MessageBoxText::Resource(70000), 0, strings), u"");
  EXPECT_EQ(ResolveText(u"plain", 0, strings), u"plain");
}

TEST(BoxTexts, CountdownTexts) {
  EXPECT_EQ(FillCountdown(u"%s (%d seconds remaining)", u"Dorvane", 5), u"Dorvane (5 seconds remaining)");
  // A caption holding %d is not filled in again.
  EXPECT_EQ(FillCountdown(u"%s (%d)", u"100%d", 3), u"100%d (3)");
  EXPECT_EQ(CountingCaption(u"OK", 12), u"OK = 12");
}

}  // namespace
}  // namespace msgbox
