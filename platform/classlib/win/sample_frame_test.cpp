// Must show: a small sample frame with a view and a status bar, laid out by the frame and captured to
// screenshots/classlib_sample_frame.png.
#include <gtest/gtest.h>

#include "platform/classlib/win/frame_test_support.h"
#include "platform/harness/driver.h"

using cltest::SampleView;

namespace {

TEST(SampleFrame, IsShownAndCaptured) {
  auto* doc = new cltest::SampleDoc;
  doc->text = _T("a document shown in the frame's first pane");
  CCreateContext context;
  context.m_pNewViewClass = RUNTIME_CLASS(SampleView);
  context.m_pCurrentDoc = doc;
  auto* frame = new cltest::SampleFrame;
  ASSERT_TRUE(frame->LoadFrame(IDR_SAMPLE, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context));
  HWND hWnd = frame->m_hWnd;
  doc->SetTitle(_T("sample.smp"));
  frame->InitialUpdateFrame(doc, TRUE);
  frame->SetWindowPos(nullptr, 80, 60, 520, 340, SWP_NOZORDER);
  frame->status.SetPaneText(0, _T("Ready"));
  frame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
  frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
  harness::PumpFor(300);

  auto* view = static_cast<cltest::SampleView*>(frame->GetActiveView());
  ASSERT_NE(view, nullptr);
  EXPECT_GT(view->draws, 0);
  EXPECT_EQ(harness::Text(hWnd), L"sample.smp - Sample");
  std::u16string path = harness::CaptureWindow(hWnd, "classlib_sample_frame");
  EXPECT_FALSE(path.empty());
  frame->DestroyWindow();
  EXPECT_FALSE(::IsWindow(hWnd));
}

}  // namespace
