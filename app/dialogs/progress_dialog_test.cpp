// The progress dialog in a real window under Wine: its owner disabled while it is up and given back
// only when the dialog took it, the percent text, a position sent from another thread, Cancel.
#include "app/dialogs/progress_dialog.h"

#include <gtest/gtest.h>

#include <thread>

#include "platform/harness/driver.h"
#include "platform/harness/seam_test.h"
#include "res/resource.h"

namespace {

class ProgressDialogTest : public harness::SeamTest {
 protected:
  void SetUp() override {
    harness::SeamTest::SetUp();
    const wchar_t* frameClass = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW));
    ASSERT_TRUE(owner_.CreateEx(0, frameClass, L"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 30, 30, 500, 300, nullptr,
                                nullptr));
    ASSERT_TRUE(child_.CreateEx(0, frameClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, owner_.GetSafeHwnd(),
                                nullptr));
  }
  void TearDown() override {
    owner_.DestroyWindow();
    harness::PumpMessages();
    harness::SeamTest::TearDown();
  }
  std::wstring Percent(ProgressDialog& dialog) {
    return harness::Text(harness::Control(dialog.GetSafeHwnd(), IDC_PROGRESS_PERCENT));
  }
  CWnd owner_, child_;
};

TEST_F(ProgressDialogTest, TheOwnerIsDisabledWhileItRunsAndThePercentFollowsThePosition) {
  ProgressDialog dialog;
  ASSERT_TRUE(dialog.Create(&child_));  // the owner is the child's top-level window
  EXPECT_EQ(dialog.Owner(), owner_.GetSafeHwnd());
  EXPECT_FALSE(owner_.IsWindowEnabled());
  dialog.ShowWindow(SW_SHOW);
  EXPECT_EQ(harness::Text(dialog.GetSafeHwnd()), L"Progress...");
  EXPECT_FALSE(harness::StateOf(harness::Control(dialog.GetSafeHwnd(), IDCANCEL)).enabled);
  dialog.SetRange(0, 100);
  for (const auto& [position, text] : {std::pair<int, const wchar_t*>{0, L"0%"}, {37, L"37%"}, {100, L"100%"},
                                       {150, L"50%"}}) {
    dialog.SetPos(position);
    EXPECT_EQ(Percent(dialog), text) << position;
  }
  // Another thread moves the bar with the window message.
  std::thread mover([&dialog] { ::SendMessageW(dialog.GetSafeHwnd(), ProgressDialog::kSetPosMessage, 64, 0); });
  while (!harness::WaitUntil([&] { return Percent(dialog) == L"64%"; }, 50)) {
  }
  mover.join();
  EXPECT_EQ(::SendDlgItemMessageW(dialog.GetSafeHwnd(), IDC_PROGRESS, PBM_GETPOS, 0, 0), 64);
  harness::PumpFor(100);
  harness::CaptureWindow(dialog.GetSafeHwnd(), "progress_dialog");

  // Cancel only raises the flag.
  dialog.SendMessage(WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(dialog.CancelRequested());
  EXPECT_TRUE(dialog.IsWindowVisible());
  dialog.DestroyWindow();
  EXPECT_TRUE(owner_.IsWindowEnabled());
}

TEST_F(ProgressDialogTest, AnOwnerThatWasDisabledStaysDisabled) {
  owner_.EnableWindow(FALSE);
  {
    ProgressDialog dialog;
    ASSERT_TRUE(dialog.Create(&owner_));
  }  // the destructor destroys the window
  EXPECT_FALSE(owner_.IsWindowEnabled());
  owner_.EnableWindow(TRUE);
}

}  // namespace
