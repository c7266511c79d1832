#include "engine/records/recovery_settings.h"

RecoverySettingsRecord RecoverySettings;
