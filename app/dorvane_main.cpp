// The program: the single-instance mutex, made before the application object, and the application.
#include "app/ex_style_app.h"
#include "app/instance_mutex.h"
#include "app/scenario_seams.h"
#include "platform/os/library_win32.h"

namespace {

struct InstanceGuard {
  InstanceGuard() {
    CreateInstanceMutex();
    atexit(CloseInstanceMutex);
  }
};

// Initialised in order of definition: the mutex exists before the application object is made.
InstanceGuard g_instanceGuard;

}  // namespace

CEx_StyleApp theApp;

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR commandLine, int show) {
  // The open dialogs and the command line put the current folder among the user's files.
  os::KeepCurrentFolderOutOfLibrarySearch();
  // Inert unless a scenario runner started this copy and asked to answer its dialogs.
  InstallScenarioSeamsFromEnvironment();
  return AfxWinMain(instance, previous, commandLine, show);
}
