#include "app/logic/recovery_settings_choice.h"

namespace app {

namespace {

// The item of value in a list of 1 to most; -1 when it lies outside.
int ItemOf(uint32_t value, uint32_t most) {
  return value >= 1 && value <= most ? static_cast<int>(value - 1) : -1;
}

int RadioOf(uint16_t policy) { return policy >= 1 && policy <= 3 ? policy - 1 : -1; }

}  // namespace

SettingsChoice ChoiceOfSettings(const RecoverySettingsRecord& settings) {
  SettingsChoice choice;
  choice.sectorsItem = ItemOf(settings.sectorsPerRead, kMostSectorsPerRead);
  choice.retriesItem = ItemOf(settings.badSectorRetries, kMostRetries);
  choice.duplicateRadio = RadioOf(settings.duplicatePolicy);
  choice.deletedRadio = RadioOf(settings.deletedPolicy);
  return choice;
}

RecoverySettingsRecord ApplySettingsChoice(const RecoverySettingsRecord& settings, const SettingsChoice& choice) {
  RecoverySettingsRecord result = settings;
  if (choice.sectorsItem >= 0 && choice.sectorsItem < static_cast<int>(kMostSectorsPerRead)) {
    result.sectorsPerRead = static_cast<uint32_t>(choice.sectorsItem) + 1;
  }
  if (choice.retriesItem >= 0 && choice.retriesItem < static_cast<int>(kMostRetries)) {
    result.badSectorRetries = static_cast<uint16_t>(choice.retriesItem + 1);
  }
  if (choice.duplicateRadio >= 0 && choice.duplicateRadio < 3) {
    result.duplicatePolicy = static_cast<uint16_t>(choice.duplicateRadio + 1);
  }
  if (choice.deletedRadio >= 0 && choice.deletedRadio < 3) {
    result.deletedPolicy = static_cast<uint16_t>(choice.deletedRadio + 1);
  }
  return result;
}

}  // namespace app
