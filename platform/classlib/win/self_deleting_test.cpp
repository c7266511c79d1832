// Views, frames and documents delete themselves at their end only when they were made by new: a view
// that is a member of a page, a frame on the stack and a document that is a member of its test's host
// outlive their windows and views and are destroyed once, by their owners. Made by new they go as before.
#include <gtest/gtest.h>

#include "platform/classlib/win/classlib_win.h"
#include "platform/harness/driver.h"

namespace {

int g_destroyed = 0;

class CountedView : public CView {
 public:
  ~CountedView() override { ++g_destroyed; }

 protected:
  void OnDraw(CDC*) override {}
};

class CountedFrame : public CFrameWnd {
 public:
  ~CountedFrame() override { ++g_destroyed; }
};

class CountedDocument : public CDocument {
 public:
  ~CountedDocument() override { ++g_destroyed; }
};

// A page that holds a view as a member, as the wizard's pages hold their forms.
class PageWithMemberView : public CView {
 public:
  CountedView member;

 protected:
  int OnCreate(LPCREATESTRUCT create) {
    if (CView::OnCreate(create) == -1) return -1;
    return member.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, RECT{0, 0, 50, 50}, this, 1) ? 0 : -1;
  }
  void OnDraw(CDC*) override {}
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(PageWithMemberView, CView)
  ON_WM_CREATE()
END_MESSAGE_MAP()

HWND MakeParent() {
  const wchar_t* cls = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW));
  return ::CreateWindowExW(0, cls, L"Owner", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr, nullptr, nullptr);
}

class SelfDeleting : public ::testing::Test {
 protected:
  void SetUp() override {
    g_destroyed = 0;
    parent_ = MakeParent();
    ASSERT_NE(parent_, nullptr);
  }
  void TearDown() override {
    if (::IsWindow(parent_)) ::DestroyWindow(parent_);
    harness::PumpMessages();
  }
  CWnd* Parent() { return CWnd::FromHandle(parent_); }
  HWND parent_ = nullptr;
};

TEST_F(SelfDeleting, AViewMadeByNewGoesWithItsWindow) {
  auto* view = new CountedView;
  ASSERT_TRUE(view->Create(nullptr, nullptr, WS_CHILD, RECT{0, 0, 50, 50}, Parent(), 1));
  EXPECT_TRUE(view->IsSelfDeletable());
  view->DestroyWindow();
  EXPECT_EQ(g_destroyed, 1);
}

TEST_F(SelfDeleting, AViewOnTheStackOrAMemberOutlivesItsWindowAndIsDestroyedOnce) {
  {
    CountedView view;
    ASSERT_TRUE(view.Create(nullptr, nullptr, WS_CHILD, RECT{0, 0, 50, 50}, Parent(), 1));
    EXPECT_FALSE(view.IsSelfDeletable());
    view.DestroyWindow();
    EXPECT_EQ(g_destroyed, 0);
    EXPECT_EQ(view.GetSafeHwnd(), nullptr);
  }
  EXPECT_EQ(g_destroyed, 1);

  // The member's window goes with its page's; the member goes with the page, once.
  g_destroyed = 0;
  auto* page = new PageWithMemberView;
  ASSERT_TRUE(page->Create(nullptr, nullptr, WS_CHILD, RECT{0, 0, 100, 100}, Parent(), 2));
  ASSERT_NE(page->member.GetSafeHwnd(), nullptr);
  EXPECT_FALSE(page->member.IsSelfDeletable());
  page->DestroyWindow();
  EXPECT_EQ(g_destroyed, 1);
}

TEST_F(SelfDeleting, AFrameOnTheStackOutlivesItsWindow) {
  {
    CountedFrame frame;
    ASSERT_TRUE(frame.Create(nullptr, L"Frame", WS_OVERLAPPEDWINDOW, RECT{0, 0, 200, 150}));
    frame.DestroyWindow();
    harness::PumpMessages();
    EXPECT_EQ(g_destroyed, 0);
  }
  EXPECT_EQ(g_destroyed, 1);
  auto* frame = new CountedFrame;
  ASSERT_TRUE(frame->Create(nullptr, L"Frame", WS_OVERLAPPEDWINDOW, RECT{0, 0, 200, 150}));
  frame->DestroyWindow();
  EXPECT_EQ(g_destroyed, 2);
}

TEST_F(SelfDeleting, ADocumentThatIsAMemberOutlivesItsLastView) {
  {
    CountedDocument document;  // m_bAutoDelete left on, as a test host's document often is
    CCreateContext context;
    context.m_pCurrentDoc = &document;
    auto* view = new CountedView;
    ASSERT_TRUE(view->Create(nullptr, nullptr, WS_CHILD, RECT{0, 0, 50, 50}, Parent(), 1, &context));
    ASSERT_EQ(view->GetDocument(), &document);
    view->DestroyWindow();
    EXPECT_EQ(g_destroyed, 1);  // the view only
  }
  EXPECT_EQ(g_destroyed, 2);

  g_destroyed = 0;
  auto* document = new CountedDocument;
  CCreateContext context;
  context.m_pCurrentDoc = document;
  auto* view = new CountedView;
  ASSERT_TRUE(view->Create(nullptr, nullptr, WS_CHILD, RECT{0, 0, 50, 50}, Parent(), 1, &context));
  view->DestroyWindow();
  EXPECT_EQ(g_destroyed, 2);  // the view, then its document with it
}

}  // namespace
