// A scenario runner (tools/ui_scenario) answers the program's dialogs: when DORVANE_SCENARIO_RUNNER names
// its window, every message box, file dialog, folder browser and shell request is handed to that window
// instead of being shown, and the runner answers as its user would. Without the variable nothing changes.
#pragma once

// Installs the runner's seams when DORVANE_SCENARIO_RUNNER holds a window handle (and
// DORVANE_SCENARIO_REPLY the file the runner writes its chosen paths to). Returns whether it did.
bool InstallScenarioSeamsFromEnvironment();

// The registered message with which a runner asks the main window whether a command (its id in wParam)
// shows enabled, as a user finds it before clicking: 2 enabled, 1 greyed.
inline constexpr wchar_t kCommandStateMessage[] = L"Dorvane.CommandState";
