// What the control tests share: a visible top-level window to put controls in, whose temporary
// wrappers are cleaned up after each test, and a worker thread that runs while this thread pumps.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/classlib/win/classlib_win.h"

namespace cltest {

class ControlHost : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  CWnd host;
};

// Runs work on a new thread and pumps this thread's messages until it ends (its SendMessage calls to
// this thread's windows are carried out meanwhile). Answers the worker's thread id.
DWORD RunOnWorker(const std::function<void()>& work);

std::wstring TextOf(const CString& text);

}  // namespace cltest
