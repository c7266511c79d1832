#include "app/logic/recovery_settings_choice.h"

#include <gtest/gtest.h>

namespace app {
namespace {

bool Same(const RecoverySettingsRecord& a, const RecoverySettingsRecord& b) {
  return a.sectorsPerRead == b.sectorsPerRead && a.duplicatePolicy == b.duplicatePolicy &&
         a.deletedPolicy == b.deletedPolicy && a.badSectorRetries == b.badSectorRetries;
}

TEST(RecoverySettingsChoice, OkWithoutChangeKeepsEveryValue) {
  for (const RecoverySettingsRecord& settings :
       {RecoverySettingsRecord{}, RecoverySettingsRecord{1, 3, 2, 10}, RecoverySettingsRecord{100, 2, 3, 1}}) {
    EXPECT_TRUE(Same(ApplySettingsChoice(settings, ChoiceOfSettings(settings)), settings));
  }
  const SettingsChoice defaults = ChoiceOfSettings(RecoverySettingsRecord{});
  EXPECT_EQ(defaults.sectorsItem, 59);
  EXPECT_EQ(defaults.retriesItem, 2);
  EXPECT_EQ(defaults.duplicateRadio, 0);
  EXPECT_EQ(defaults.deletedRadio, 0);
}

TEST(RecoverySettingsChoice, ValuesOutsideTheListsShowNothingAndStayOnOk) {
  const RecoverySettingsRecord odd{0, 4, 0, 11};
  const SettingsChoice choice = ChoiceOfSettings(odd);
  EXPECT_EQ(choice.sectorsItem, -1);
  EXPECT_EQ(choice.retriesItem, -1);
  EXPECT_EQ(choice.duplicateRadio, -1);
  EXPECT_EQ(choice.deletedRadio, -1);
  EXPECT_TRUE(Same(ApplySettingsChoice(odd, choice), odd));
}

TEST(RecoverySettingsChoice, OkWritesTheChosenItemsAndRadios) {
  const RecoverySettingsRecord written = ApplySettingsChoice(RecoverySettingsRecord{}, SettingsChoice{0, 9, 2, 1});
  EXPECT_EQ(written.sectorsPerRead, 1u);
  EXPECT_EQ(written.badSectorRetries, 10);
  EXPECT_EQ(written.duplicatePolicy, 3);
  EXPECT_EQ(written.deletedPolicy, 2);
}

}  // namespace
}  // namespace app
