#include "app/results/tool_dialogs.h"

#include "app/dialogs/find_files_dialog.h"
#include "app/dialogs/recovery_settings_dialog.h"
#include "res/resource.h"

namespace results {

bool RunToolDialog(CWnd* owner, UINT command) {
  if (command == ID_FIND_FILES) {
    FindFilesDialog dialog(owner);
    dialog.DoModal();
    return true;
  }
  if (command == ID_SETTINGS) {
    RecoverySettingsDialog dialog(owner);
    dialog.DoModal();
    return true;
  }
  return false;
}

}  // namespace results
