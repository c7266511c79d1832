// What the Windows tests of the class library share: the test program's application object, a log
// of the calls that handlers saw, and a top-level window made through CWnd.
#pragma once

#include <string>
#include <vector>

#include "platform/classlib/win/classlib_win.h"

namespace cltest {

// Handlers write what they saw here, in order; tests clear it and compare.
extern std::vector<std::string> calls;
void Record(const char* format, ...);

constexpr UINT kAppCommand = 40001;  // handled by the application only

// The application of the test programs: it ends the command route.
class TestApp : public CWinApp {
 public:
  TestApp();
  int appCommands = 0;

 protected:
  afx_msg void OnAppCommand();
  DECLARE_MESSAGE_MAP()
};

TestApp& App();

// A window of the library's plain class; visible unless the style says otherwise.
bool CreateTopLevel(CWnd& wnd, LPCTSTR title, DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE);
// A child window of the plain class.
bool CreateChild(CWnd& wnd, CWnd& parent, UINT id, const RECT& rect = RECT{0, 0, 50, 20});

}  // namespace cltest
