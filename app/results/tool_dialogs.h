// The Tools dialogs that the results context menus open as the main frame's commands do.
#pragma once

#include <windows.h>

class CWnd;

namespace results {

// Runs the find-files dialog (ID_FIND_FILES) or the recovery settings dialog (ID_SETTINGS) modally over
// owner; false, and nothing shown, for any other command.
bool RunToolDialog(CWnd* owner, UINT command);

}  // namespace results
