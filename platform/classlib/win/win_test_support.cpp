#include "platform/classlib/win/win_test_support.h"

#include <cstdarg>
#include <cstdio>

namespace cltest {

std::vector<std::string> calls;

void Record(const char* format, ...) {
  char buffer[256];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  calls.emplace_back(buffer);
}

BEGIN_MESSAGE_MAP(TestApp, CWinApp)
  ON_COMMAND(kAppCommand, OnAppCommand)
END_MESSAGE_MAP()

TestApp::TestApp() : CWinApp(_T("ClassLibTest")) {}

void TestApp::OnAppCommand() {
  ++appCommands;
  Record("app");
}

namespace {
TestApp theApp;
}  // namespace

TestApp& App() { return theApp; }

bool CreateTopLevel(CWnd& wnd, LPCTSTR title, DWORD style) {
  return wnd.CreateEx(0, nullptr, title, style, 40, 40, 320, 240, nullptr, nullptr) != FALSE;
}

bool CreateChild(CWnd& wnd, CWnd& parent, UINT id, const RECT& rect) {
  return wnd.Create(nullptr, nullptr, WS_VISIBLE, rect, &parent, id) != FALSE;
}

}  // namespace cltest
