// A scenario runner (tools/ui_scenario) answers the program's dialogs: when DORVANE_SCENARIO_RUNNER names
// its window, every message box, file dialog, folder browser and shell request is handed to that window
// instead of being shown, and the runner answers as its user would. Without the variable nothing changes.
#pragma once

// Installs the runner's seams when DORVANE_SCENARIO_RUNNER holds a window handle (and
// DORVANE_SCENARIO_REPLY the file the runner writes its chosen paths to). Returns whether it did.
bool InstallScenarioSeamsFromEnvironment();
