// What the "Recovery Settings" dialog shows of RecoverySettings and what OK writes back: the two lists
// by item (value - 1) and the radio groups by policy (1 to 3).
#pragma once

#include <cstdint>

#include "engine/records/recovery_settings.h"

namespace app {

constexpr uint32_t kMostSectorsPerRead = 100;
constexpr uint32_t kMostRetries = 10;

struct SettingsChoice {
  int sectorsItem = -1;     // item of "1" to "100"; -1 for none
  int retriesItem = -1;     // item of "1" to "10"; -1 for none
  int duplicateRadio = -1;  // 0 to 2 (policy - 1); -1: no radio checked
  int deletedRadio = -1;
};

// The choice the dialog opens with. A value outside its list selects no item and checks no radio.
SettingsChoice ChoiceOfSettings(const RecoverySettingsRecord& settings);

// OK: each list gives its value (item + 1) and each radio group its policy (radio + 1); a list without a
// selection or a group without a checked radio leaves that value as it was.
RecoverySettingsRecord ApplySettingsChoice(const RecoverySettingsRecord& settings, const SettingsChoice& choice);

}  // namespace app
